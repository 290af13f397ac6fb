// The typed command language of the command box.
#pragma once

#include "commands/CommandContext.h"

// Runs one command line. Called by the Execute Command button.
void ExecuteCommand(CommandContext& ctx, const QString& line);
void cmdExecute_Click(CommandContext& ctx);
