// The program's whole workspace without widgets: the state, the four views with their grid
// lines, the dialogs' data, the file lists and what every control shows. The window shows a
// session and forwards its events into it; the tool runs one with no window at all.
#pragma once

#include "app/DataFolders.h"
#include "app/WorkspaceState.h"
#include "commands/CommandContext.h"
#include "editing/EditingContext.h"
#include "files/FilesContext.h"
#include "platform/CommonDialog.h"
#include "platform/ControlData.h"
#include "platform/FileList.h"
#include "platform/SettingsStore.h"
#include "platform/ViewSurface.h"
#include "views/ViewContext.h"

#include <QStringList>
#include <array>
#include <functional>

// Owns everything the handlers of the subsystems touch, and the four contexts through which
// they touch it. The dialogs and the settings store are the caller's and must outlive the
// session. One thread at a time; sessions share nothing, so several may run on threads of
// their own.
// Invariants: the grid's line objects belong to picFront, picSide and picTop; each colour
// dialog holds one of the four current colours.
class Session {
public:
    Session(Dialogs& dialogs, SettingsStore& settings);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The program's start-up: caption, recent-files menu, the Objects and Workspaces folders
    // (locateDataFolders: beside programFolder when it is writable, else the user's own),
    // made where missing, the browser's lists, the grid and the command list. Runs once,
    // before any handler.
    void setUp(const QString& programFolder);
    // The same start-up with the folders given, used as they are: nothing is made. The tool's
    // session, which keeps no files, gives none.
    void setUp(const QString& programFolder, const DataFolders& folders);

    // Brings the pictures of the four views up to date at once, sharing the machine's cores.
    void drawWaitingPictures();

    static QString versionedCaption(int major, int minor, int revision);

    // The panel that holds the four views, in twips of the window's client area, and the
    // colour it shows between them (the window style's panel grey).
    static constexpr TwipRect ContainerPlace{5025, 15, 10260, 10215};
    static constexpr ColorRef ContainerBack = 0xEFEFEF;

    Dialogs& dialogs;
    SettingsStore& settings;
    WorkspaceState state;

    // The views, placed in the container as the window shows them.
    ViewSurface pic3dView{{5175, 60, 5000, 5000}, 0x000000, true};
    ViewSurface picTop{{5160, 5145, 5000, 5000}, 0x808080, true};
    ViewSurface picFront{{75, 60, 5000, 4980}, 0x808080, true};
    ViewSurface picSide{{75, 5145, 5000, 5000}, 0x808080, true};
    GridLines grid;

    // Common dialogs; each colour dialog keeps one of the four current colours.
    CommonDialog cdlOpen;
    CommonDialog cdlDrawing;
    CommonDialog cdlColorGrid;
    CommonDialog cdlGridBg;
    CommonDialog cdl3dObject;

    // What the controls show.
    QString caption;
    StatusPanels sbStatus;
    TextBox txtDepth;
    std::array<MenuItem, 4> mnuStyle{};
    RecentItems mnuRecent{};
    FileList fleObj;
    FileList fleWork;
    BrowserButtons CmdObj{};
    BrowserButtons CmdWrk{};
    QStringList lstCommand;
    bool picCommandVisible = true;
    // Set by a window that shows the Draw Polygon menu as a pop-up over the front view.
    std::function<void(float x, float y)> popupMenu;

    ViewContext views;
    EditingContext editing;
    CommandContext commands;
    FilesContext files;
};
