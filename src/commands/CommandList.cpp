// The command list and its help, and the menu that shows and hides the command box.
#include "commands/CommandList.h"

#include "commands/CommandInterpreter.h"

#include <cstdint>

namespace {

constexpr int KeyF12 = 123;

// The help of the command at a list index; the commands without help of their own, and no
// selection, get the same apology.
QString CommandHelp(int index)
{
    switch (index) {
    case 0:
        return QStringLiteral("You must type in an X and Y coordinate after the word PutPoint\r\n"
                              "For Example: PutPoint 1300,1400");
    case 1:
        return QStringLiteral("You must type in a Point Number then an X and Y coordinate after the word ResetPoint");
    case 2:
        return QStringLiteral("You must type in number representing desired Object depth after the word ObjectDepth\r\n"
                              "For Example: ObjectDepth 1000");
    default:
        return QStringLiteral("Sorry there is currently no help available for the item you selected");
    }
}

} // namespace

QStringList CommandWords()
{
    return {QStringLiteral("PutPoint"), QStringLiteral("ResetPoint"), QStringLiteral("ObjectDepth"),
            QStringLiteral("GetPointCoords"), QStringLiteral("ManualSet")};
}

void lstCommand_Click(CommandContext& ctx, int row)
{
    // The list holds the five command words, so its row (-1 for none) fits 16 bits.
    if (row >= -1 && row < ctx.lstCommand.size())
        ctx.editing.views.state.SelectedCommand = static_cast<std::int16_t>(row);
}

std::optional<QString> lstCommand_DblClick(CommandContext& ctx, int row)
{
    if (row < 0 || row >= ctx.lstCommand.size())
        return std::nullopt;
    return ctx.lstCommand[row];
}

void lstCommand_KeyDown(CommandContext& ctx, int keyCode)
{
    if (keyCode == KeyF12)
        ctx.editing.views.dialogs.MsgBox(CommandHelp(ctx.editing.views.state.SelectedCommand), CommandBoxTitle);
}

void mnuComm_Click(CommandContext& ctx, int index)
{
    if (index == 0)
        ctx.picCommandVisible = true;
    else if (index == 1)
        ctx.picCommandVisible = false;
}
