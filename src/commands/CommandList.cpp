// The command list and its help.
#include "commands/CommandList.h"

QStringList CommandWords()
{
    return {QStringLiteral("PutPoint"), QStringLiteral("ResetPoint"), QStringLiteral("ObjectDepth"),
            QStringLiteral("GetPointCoords"), QStringLiteral("ManualSet")};
}

void lstCommand_Click(CommandContext& ctx) { (void)ctx; }
void lstCommand_DblClick(CommandContext& ctx) { (void)ctx; }
void lstCommand_KeyDown(CommandContext& ctx, int keyCode, int shift) { (void)ctx; (void)keyCode; (void)shift; }
void mnuComm_Click(CommandContext& ctx, int index) { (void)ctx; (void)index; }
