// The command list of the command box, its help on F12, and showing and hiding the box.
#pragma once

#include "commands/CommandContext.h"

// The five command words in list order; their list indices are the indices of the help.
// Start-up fills lstCommand with them.
QStringList CommandWords();

// The list's current row changed (a click or the keyboard): it becomes SelectedCommand.
void lstCommand_Click(CommandContext& ctx);
// A double click on a command word puts that word into txtCommand, replacing its text;
// nothing is run.
void lstCommand_DblClick(CommandContext& ctx);
// A key pressed on the list, whatever the modifiers (keyCode 123 is F12): F12 shows the help
// of SelectedCommand in a "Command Box" message; other keys do nothing here.
void lstCommand_KeyDown(CommandContext& ctx, int keyCode);
// Edit > Command Box: index 0 shows the command box, 1 hides it (its contents stay).
void mnuComm_Click(CommandContext& ctx, int index);
