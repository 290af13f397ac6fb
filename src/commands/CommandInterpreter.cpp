// The command interpreter.
#include "commands/CommandInterpreter.h"

void ExecuteCommand(CommandContext& ctx, const QString& line) { (void)ctx; (void)line; }
void cmdExecute_Click(CommandContext& ctx) { (void)ctx; }
