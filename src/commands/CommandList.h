// The command list, its help on F12, and showing and hiding the command box.
#pragma once

#include "commands/CommandContext.h"

// The five command words in list order.
QStringList CommandWords();

void lstCommand_Click(CommandContext& ctx);
void lstCommand_DblClick(CommandContext& ctx);
void lstCommand_KeyDown(CommandContext& ctx, int keyCode, int shift);
void mnuComm_Click(CommandContext& ctx, int index);
