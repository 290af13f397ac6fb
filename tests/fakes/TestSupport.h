// Shared fixtures of the window's tests: a started main window in a temporary program folder,
// its controls found by their names, and one helper per kind of user action (mouse in a
// view, menu, command line), acting through real events on the real widgets.
#pragma once

#include "fakes/TestCore.h"
#include "window/frmMain.h"

#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <array>
#include <memory>

// The window's controls, found by the names the program gives them, as a user finds them by
// sight: a test reaches nothing the window does not show.
struct WindowControls {
    explicit WindowControls(frmMain& w);

    PictureBox *picContainer, *pic3dView, *picTop, *picFront, *picSide, *picIcon, *picCommand;
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
    QMenu *mnuFile, *mnuRecentHead, *mnuEdit, *mnuCommand, *mnuDraw, *mnuObj, *mnuGrdConfig, *mnuGsize, *mnuLines,
        *mnuTools, *mnuRender, *mnuPopUp;
    QAction *mnuOpen, *mnuSave, *mnuOpenWork, *mnuSaveWork, *mnuClear, *mnuExtrude, *mnuPointobj, *mnuRadius,
        *mnuBgColor, *mnuObjColor, *mnuGrdColor, *mnuLneOn, *mnuLneOff, *mnuWidth, *mnu3dColor, *mnuDrawPoly,
        *mnuDraw3D;
    std::array<QAction*, RecentFileCount> mnuRecent{};
    std::array<QAction*, 2> mnuComm{};
    std::array<QAction*, 4> mnuStyle{};
    std::array<QAction*, 4> mnuGridsize{};
};

// A main window started as the program starts it (see ProgramFolder).
class TestWindow : public ProgramFolder {
public:
    explicit TestWindow(Folders folders = Folders::Made);
    explicit TestWindow(const std::function<void(const QString& programFolder)>& beforeStart);

    frmMain& w() { return *window_; }
    WindowControls* operator->() { return controls_.get(); }
    // The session the window shows.
    Session& core() { return window_->core(); }
    WorkspaceState& state() { return window_->core().state; }

private:
    void start();

    std::unique_ptr<frmMain> window_;
    std::unique_ptr<WindowControls> controls_;
};

// A real mouse event at a pixel of a widget (for a view: its frame included).
void sendMouse(QWidget* widget, QEvent::Type type, QPointF pixel, Qt::MouseButton button, Qt::MouseButtons buttons);
// Real mouse events on a view at positions in its twips.
void mouseMove(PictureBox* view, float x, float y, Qt::MouseButtons held = Qt::NoButton);
void mousePress(PictureBox* view, float x, float y, Qt::MouseButton button = Qt::LeftButton);
void mouseRelease(PictureBox* view, float x, float y, Qt::MouseButton button = Qt::LeftButton);
// Move there, press and release: the view raises its click.
void mouseClick(PictureBox* view, float x, float y, Qt::MouseButton button = Qt::LeftButton);
// Press at one x, move to each further x in turn and release at the last (y stays).
void drag(PictureBox* view, const QList<float>& xs, float y, Qt::MouseButton button = Qt::LeftButton);
// Clicks each point into the front view, as the user places an outline.
void clickPoints(TestWindow& w, const QList<QPoint>& points);
// Chooses a menu item as the user does. Answers for the dialogs it opens are queued on
// w.dialogs() before; every one of them must have been used. False, with a warning that
// says why, when the item is disabled or an answer is left: QVERIFY(choose(...)) stops the test.
[[nodiscard]] bool choose(TestWindow& w, QAction* item);
// Types a line into the command box (a long one is pasted) and presses Execute Command.
// False, with a warning, when the box does not hold the line typed.
[[nodiscard]] bool runCommand(TestWindow& w, const QString& line);

// The pixel of a view at twips, as the window shows it (grid lines included).
QColor pixelAt(PictureBox* view, float x, float y);
// The primitives drawn on the view a box shows since its last clearing, described in order.
QStringList drawn(PictureBox* view);

// What a refused action must leave as it was in the window: the session's snapshot, and the
// window's caption and command text.
struct WindowSnapshot {
    Snapshot core;
    QString title, command;

    static WindowSnapshot of(TestWindow& w);
    QStringList differencesFrom(const WindowSnapshot& other) const;
};
