// The object and workspace browser: a column of picture buttons over each file list.
#include "files/FileCommands.h"

#include <QDir>
#include <algorithm>

namespace {

constexpr ColorRef MarkedBlue = 0xC46200;

// Button i shows entry i of the list for the first buttons; the rest are hidden. The colours
// stay, so a marked button stays marked.
void fill(BrowserButtons& buttons, const FileList& list)
{
    const int shown = std::min(list.ListCount(), int(buttons.size()));
    for (int i = 0; i < int(buttons.size()); ++i) {
        BrowserButton& button = buttons[std::size_t(i)];
        if (i < shown)
            button.Caption = list.List(i);
        button.Visible = i < shown;
    }
}

// Marks button index alone among its column and opens entry index of the list.
void click(FilesContext& ctx, BrowserButtons& buttons, const FileList& list, const QString& folder, int index, int Ftype)
{
    if (index < 0 || index >= int(buttons.size()))
        return;
    for (int i = 0; i < int(buttons.size()); ++i)
        buttons[std::size_t(i)].BackColor = i == index ? MarkedBlue : BrowserButton::UnmarkedGrey;
    if (index < list.ListCount())
        OpenFile(ctx, folder + QDir::separator() + list.List(index), Ftype);
}

} // namespace

void FillObjectButtons(FilesContext& ctx)
{
    fill(ctx.CmdObj, ctx.fleObj);
}

void FillWorkspaceButtons(FilesContext& ctx)
{
    fill(ctx.CmdWrk, ctx.fleWork);
}

void CmdObj_Click(FilesContext& ctx, int index)
{
    click(ctx, ctx.CmdObj, ctx.fleObj, ctx.views.state.ObjectsFolder, index, ObjectFileType);
}

void CmdWrk_Click(FilesContext& ctx, int index)
{
    click(ctx, ctx.CmdWrk, ctx.fleWork, ctx.views.state.WorkspacesFolder, index, WorkspaceFileType);
}
