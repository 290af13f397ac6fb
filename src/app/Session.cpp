// The session's controls' data, views and grid, and the program's start-up.
#include "app/Session.h"

#include "Version.h"
#include "commands/CommandList.h"
#include "files/FileCommands.h"
#include "files/ObjectFile.h"
#include "files/WorkspaceFile.h"
#include "platform/ProgramNames.h"
#include "views/GridLayout.h"

Session::Session(Dialogs& dialogs_, SettingsStore& settings_)
    : dialogs(dialogs_), settings(settings_), cdlOpen(dialogs_), cdlDrawing(dialogs_, 0xFFFFFF),
      cdlColorGrid(dialogs_, 0x404040), cdlGridBg(dialogs_, 0xC0C0FF), cdl3dObject(dialogs_, 0x00FFFF),
      caption(WindowCaption), fleObj(QLatin1Char('*') + ObjectFileExtension),
      fleWork(QLatin1Char('*') + WorkspaceFileExtension),
      views{state, picFront, picSide, picTop, pic3dView, grid, cdlColorGrid, cdlGridBg, cdlDrawing, cdl3dObject,
            sbStatus, dialogs_},
      editing{views, txtDepth, mnuStyle, popupMenu}, commands{editing, lstCommand, picCommandVisible},
      files{views, cdlOpen, fleObj, fleWork, CmdObj, CmdWrk, mnuRecent, settings_, caption}
{
    for (int i = 1; i <= GridLines::LinesPerArray; ++i) {
        const auto k = std::size_t(i);
        grid.Grid[k] = picFront.addLineObject();
        grid.Gridv[k] = picFront.addLineObject();
        grid.sLine[k] = picSide.addLineObject();
        grid.sLinev[k] = picSide.addLineObject();
        grid.tLine[k] = picTop.addLineObject();
        grid.tLinev[k] = picTop.addLineObject();
    }
    for (MenuItem& recent : mnuRecent)
        recent.Visible = false;
    mnuStyle[0].Checked = true;
    sbStatus.setText(StatusPanel::ViewName, QStringLiteral("Views"));
    sbStatus.setText(StatusPanel::Position, QStringLiteral("[X:    Y:    ]"));
    sbStatus.setText(StatusPanel::LastObject, QStringLiteral("Last Object:"));
}

QString Session::versionedCaption(int major, int minor, int revision)
{
    return WindowCaption + QStringLiteral("  v.%1.%2.%3").arg(major).arg(minor).arg(revision);
}

void Session::setUp(const QString& programFolder)
{
    const DataFolders folders = locateDataFolders(programFolder);
    makeDataFolders(folders);
    setUp(programFolder, folders);
}

void Session::setUp(const QString& programFolder, const DataFolders& folders)
{
    caption = versionedCaption(appversion::Major, appversion::Minor, appversion::Revision);
    LoadRecentMenu(files);
    state.ProgramFolder = programFolder;
    state.ObjectsFolder = folders.objects;
    state.WorkspacesFolder = folders.workspaces;
    state.PointRadius = 20;
    state.pPoints.assign(1, PointRecord{});
    state.DrawMode = 1;
    fleObj.setPath(state.ObjectsFolder);
    state.GridCount = 50;
    fleWork.setPath(state.WorkspacesFolder);
    sbStatus.setText(StatusPanel::ObjectPoints, QStringLiteral("Object Points:"));
    FillObjectButtons(files);
    FillWorkspaceButtons(files);
    state.GridState = 1;
    LayoutGridLines(views);
    lstCommand = CommandWords();
}

void Session::drawWaitingPictures()
{
    const std::array<ViewSurface*, 4> all{&picFront, &picSide, &picTop, &pic3dView};
    ViewSurface::drawTogether(all);
}
