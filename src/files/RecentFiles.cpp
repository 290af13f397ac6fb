// The recent-files list: six paths of newly saved objects in the settings store, the four
// newest of them in File > Recent Files.
#include "files/FileCommands.h"

#include "platform/ProgramNames.h"
#include "views/Rendering.h"

#include <QStringList>
#include <algorithm>

namespace {

const QString kSection = QStringLiteral("Recent Files");

// "File0" to "File6". File1 is the newest entry and File6 the oldest; File0 is read by the
// menu but never written.
QString key(int i)
{
    return QStringLiteral("File") + QString::number(i);
}

QString readKey(FilesContext& ctx, int i)
{
    return ctx.settings.GetSetting(AppTitle, kSection, key(i));
}

// The text after the last separator, "/" or "\"; all of path when it holds neither.
QString fileNamePart(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(cut + 1);
}

} // namespace

// Item n (from 1) shows the n-th non-empty value of File0 to File4; item 0 stays hidden.
void LoadRecentMenu(FilesContext& ctx)
{
    for (MenuItem& item : ctx.mnuRecent)
        item.Visible = false;
    int n = 1;
    for (int i = 0; i < RecentFileCount; ++i) {
        const QString path = readKey(ctx, i);
        if (path.isEmpty())
            continue;
        if (n < int(ctx.mnuRecent.size())) {
            MenuItem& item = ctx.mnuRecent[std::size_t(n)];
            item.Tag = path;
            item.Caption = QStringLiteral("Object #%1: ").arg(n) + fileNamePart(path);
            item.Visible = true;
        }
        ++n;
    }
}

// Whether path equals File1 to File5 exactly, letter case included.
bool FindRecentFile(FilesContext& ctx, const QString& path)
{
    for (int i = 1; i <= RecentFileCount; ++i)
        if (readKey(ctx, i) == path)
            return true;
    return false;
}

// Called by SaveFile after an object has been written to path. A path already listed changes
// nothing at all; a new one goes into File1, the others move down one key and File6 drops.
// A settings store that refuses a value is told to the user once, and the rest is not tried.
void AddRecentFile(FilesContext& ctx, const QString& path)
{
    if (FindRecentFile(ctx, path))
        return;
    QStringList former;
    for (int i = 1; i <= RecentFileCount; ++i)
        former << readKey(ctx, i);
    bool saved = ctx.settings.SaveSetting(AppTitle, kSection, key(1), path);
    for (int i = 0; saved && i < int(former.size()); ++i)
        saved = ctx.settings.SaveSetting(AppTitle, kSection, key(i + 2), former[i]);
    if (!saved)
        ctx.views.dialogs.MsgBox(QStringLiteral("The object was saved, but the recent-files list could not be "
                                                "updated: the settings file cannot be written."));
    ctx.fleObj.Refresh();
    ctx.views.sbStatus.setText(StatusPanel::SavedPath, ctx.views.state.SaveObjectPath);
    LoadRecentMenu(ctx);
    FillObjectButtons(ctx);
}

// Opens the item's object and draws the state again, flat when Dimension is 2 and extruded
// otherwise, whether the opening loaded anything or not. When the opening loaded the object
// but its drawing refused it, the user has just been told why and it is not tried again.
void mnuRecent_Click(FilesContext& ctx, int index)
{
    if (index < 0 || index >= int(ctx.mnuRecent.size()))
        return;
    WorkspaceState& s = ctx.views.state;
    s.CurrentFilePath = ctx.mnuRecent[std::size_t(index)].Tag;
    if (s.CurrentFilePath.isEmpty())
        return;
    if (OpenFile(ctx, s.CurrentFilePath, ObjectFileType) == OpenOutcome::LoadedNotDrawn)
        return;
    if (s.Dimension != 2)
        DrawObject3D(ctx.views);
    else
        DrawObject2D(ctx.views);
}
