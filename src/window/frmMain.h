// The program's one main window: fixed layout, menus, status bar, start-up and the wiring
// of every control's events to the handlers of the subsystems.
#pragma once

#include "app/WorkspaceState.h"
#include "commands/CommandContext.h"
#include "editing/EditingContext.h"
#include "files/FilesContext.h"
#include "platform/CommonDialog.h"
#include "platform/Controls.h"
#include "platform/FileList.h"
#include "platform/PictureBox.h"
#include "platform/SettingsStore.h"
#include "views/ViewContext.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <array>
#include <memory>

// Owns every control and the one WorkspaceState for the life of the process. The controls
// carry the names the program's handlers use, and are public so that tests can drive them.
// The dialogs and the settings store are the caller's and must outlive the window.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // programFolder: the folder taken as the program's own; empty means the folder of the
    // running executable.
    frmMain(Dialogs& dialogs, SettingsStore& settings, QString programFolder = {});
    ~frmMain() override;

    // The window's load: shows the window and sets up the state, menus, browser and grid.
    // Runs once, before any other handler.
    void start();
    // The start-up state of start() without showing the window: state, menus, browser and
    // grid. Called by start() after showing, and alone by a headless session, which runs the
    // program's commands on a window nobody sees.
    void setUp();

    static QString versionedCaption(int major, int minor, int revision);
    // Sets the window's caption to exactly this text.
    void setCaption(const QString& caption);

    WorkspaceState state;

    // Views and panels.
    PictureBox* picContainer;
    PictureBox* pic3dView;
    PictureBox* picTop;
    PictureBox* picFront;
    PictureBox* picSide;
    PictureBox* picIcon;
    PictureBox* picCommand;
    GridLines grid;

    // Command box.
    QLabel* Label1;
    QListWidget* lstCommand;
    QPushButton* cmdExecute;
    QLineEdit* txtCommand;
    QLineEdit* txtDepth;

    // Browser.
    TabControl* sstMiscDrawing;
    std::array<PictureBox*, 2> Picture1{};
    std::array<PictureButton*, 16> CmdObj{};
    std::array<PictureButton*, 16> CmdWrk{};
    FileList fleObj{QStringLiteral("*.obj")};
    FileList fleWork{QStringLiteral("*.wks")};

    StatusBar* sbStatus;

    // Common dialogs; each colour dialog keeps one of the four current colours.
    CommonDialog cdlOpen;
    CommonDialog cdlDrawing;
    CommonDialog cdlColorGrid;
    CommonDialog cdlGridBg;
    CommonDialog cdl3dObject;

    // Menus.
    QMenu *mnuFile, *mnuRecentHead, *mnuEdit, *mnuCommand, *mnuDraw, *mnuObj, *mnuGrdConfig, *mnuGsize,
        *mnuLines, *mnuTools, *mnuRender, *mnuPopUp;
    QAction *mnuOpen, *mnuSave, *mnuOpenWork, *mnuSaveWork, *mnuClear, *mnuExtrude, *mnuPointobj, *mnuRadius,
        *mnuBgColor, *mnuObjColor, *mnuGrdColor, *mnuLneOn, *mnuLneOff, *mnuWidth, *mnu3dColor, *mnuDrawPoly,
        *mnuDraw3D;
    std::array<QAction*, 2> mnuSeperator{};   // index 1 is used
    std::array<QAction*, 5> mnuRecent{};
    std::array<QAction*, 2> mnuComm{};
    std::array<QAction*, 4> mnuStyle{};
    std::array<QAction*, 4> mnuGridsize{};

    // The subsystems' views of the window.
    ViewContext& views() { return *views_; }
    EditingContext& editing() { return *editing_; }
    CommandContext& commands() { return *commands_; }
    FilesContext& files() { return *files_; }
    Dialogs& dialogs() { return dialogs_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void wireEvents();

    Dialogs& dialogs_;
    SettingsStore& settings_;
    QString programFolderOverride_;
    std::unique_ptr<ViewContext> views_;
    std::unique_ptr<EditingContext> editing_;
    std::unique_ptr<CommandContext> commands_;
    std::unique_ptr<FilesContext> files_;
};
