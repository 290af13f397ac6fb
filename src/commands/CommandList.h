// The command list of the command box, its help on F12, and showing and hiding the box.
#pragma once

#include "commands/CommandContext.h"

#include <optional>

// The five command words in list order; their list indices are the indices of the help.
// Start-up fills lstCommand with them.
QStringList CommandWords();

// The list's current row changed (a click or the keyboard) to row (-1 for none): it becomes
// SelectedCommand.
void lstCommand_Click(CommandContext& ctx, int row);
// A double click on the command word at row: gives the word, which replaces the command
// box's text; nothing is run. Nothing for a row the list does not hold.
std::optional<QString> lstCommand_DblClick(CommandContext& ctx, int row);
// A key pressed on the list, whatever the modifiers (keyCode 123 is F12): F12 shows the help
// of SelectedCommand in a "Command Box" message; other keys do nothing here.
void lstCommand_KeyDown(CommandContext& ctx, int keyCode);
// Edit > Command Box: index 0 shows the command box, 1 hides it (its contents stay).
void mnuComm_Click(CommandContext& ctx, int index);
