// The program's one main window: the widgets, their fixed layout and menus, and the wiring
// that forwards every event into the session and shows what the session then holds.
#pragma once

#include "app/Session.h"
#include "window/Controls.h"
#include "window/PictureBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <array>
#include <functional>

class MenuPopups;

// Owns the widgets and the one Session for the life of the process. Each widget carries the
// name the program's handlers know it by (its objectName). After every event the window has
// forwarded, showCore() brings the widgets in line with the session: the session is the
// truth, the widgets show it. The dialogs, pop-ups and settings store are the caller's and
// must outlive the window.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // programFolder: the folder taken as the program's own; empty means the folder of the
    // running executable.
    frmMain(Dialogs& dialogs, MenuPopups& popups, SettingsStore& settings, QString programFolder = {});
    ~frmMain() override;

    // The window's load: shows the window, then sets up the session (state, menus, browser,
    // grid). Runs once, before any other handler.
    void start();

    // The files named on the command line (without the toolkit's options), after start():
    // the first is opened as File > Open Object or Open Workspace opens the file chosen in its
    // dialog (.wks a workspace, any other name an object), with the same messages; the window
    // shows one object at a time, so any further name is left unopened with a warning on
    // standard error. None: nothing changes.
    void openArguments(const QStringList& files);

    // The session the window shows.
    Session& core() { return core_; }
    const Session& core() const { return core_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void wireEvents();
    // Runs a handler of the session, then shows what it changed.
    void forward(const std::function<void()>& handler);
    void on(QAction* action, std::function<void()> handler);
    void showCore();

    Session core_;
    MenuPopups& popups_;
    QString programFolderOverride_;
    QString shownDepth_;

    PictureBox* picContainer;
    PictureBox* pic3dView;
    PictureBox* picTop;
    PictureBox* picFront;
    PictureBox* picSide;
    PictureBox* picIcon;
    PictureBox* picCommand;

    QLabel* Label1;
    QListWidget* lstCommand;
    QPushButton* cmdExecute;
    QLineEdit* txtCommand;
    QLineEdit* txtDepth;

    TabControl* sstMiscDrawing;
    std::array<PictureBox*, 2> Picture1{};
    std::array<PictureButton*, BrowserButtonCount> CmdObj{};
    std::array<PictureButton*, BrowserButtonCount> CmdWrk{};

    StatusBar* sbStatus;

    QMenu *mnuFile, *mnuRecentHead, *mnuEdit, *mnuCommand, *mnuDraw, *mnuObj, *mnuGrdConfig, *mnuGsize,
        *mnuLines, *mnuTools, *mnuRender, *mnuPopUp;
    QAction *mnuOpen, *mnuSave, *mnuOpenWork, *mnuSaveWork, *mnuClear, *mnuExtrude, *mnuPointobj, *mnuRadius,
        *mnuBgColor, *mnuObjColor, *mnuGrdColor, *mnuLneOn, *mnuLneOff, *mnuWidth, *mnu3dColor, *mnuDrawPoly,
        *mnuDraw3D;
    std::array<QAction*, 2> mnuSeperator{};   // index 1 is used
    std::array<QAction*, RecentFileCount> mnuRecent{};
    std::array<QAction*, 2> mnuComm{};
    std::array<QAction*, 4> mnuStyle{};
    std::array<QAction*, 4> mnuGridsize{};
};
