// Shared test fixtures: a started main window in a temporary program folder with isolated
// settings and scripted dialogs, one helper per kind of user action (mouse in a view, menu,
// command line, file of given values), and picture and state checks.
#pragma once

#include "app/frmMain.h"
#include "fakes/ScriptedDialogs.h"

#include <QEvent>
#include <QImage>
#include <QTemporaryDir>
#include <array>
#include <functional>
#include <optional>
#include <memory>

// Points Qt's per-user settings at a fresh temporary folder for the life of the object.
class IsolatedSettings {
public:
    IsolatedSettings();
    ~IsolatedSettings();
    QString folder() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

// A main window started as the program starts it, in a temporary program folder holding
// Objects and Workspaces folders (unless told they are missing); beforeStart may put files
// into them before start-up reads them.
class TestWindow {
public:
    enum class Folders { Made, Missing };
    explicit TestWindow(Folders folders = Folders::Made);
    explicit TestWindow(const std::function<void(const QString& programFolder)>& beforeStart);

    frmMain& w() { return *window_; }
    frmMain* operator->() { return window_.get(); }
    WorkspaceState& state() { return window_->state; }
    ScriptedDialogs& dialogs() { return dialogs_; }
    QString programFolder() const { return folder_.path(); }
    QString objectsFolder() const { return folder_.path() + QStringLiteral("/Objects"); }
    QString workspacesFolder() const { return folder_.path() + QStringLiteral("/Workspaces"); }

private:
    void create(Folders folders, const std::function<void(const QString&)>& beforeStart);
    IsolatedSettings settingsLocation_;
    QTemporaryDir folder_;
    ScriptedDialogs dialogs_;
    QtSettingsStore settings_;
    std::unique_ptr<frmMain> window_;
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

// Puts an object straight into the state, for values the mouse cannot place.
void setObject(TestWindow& w, const std::vector<PointRecord>& points, const TaggedValue& depth = TaggedValue(),
               std::int16_t dimension = 2);

// A file record holding a property bag of these values in this order.
QByteArray fileOf(const QList<std::pair<QString, TaggedValue>>& values);
void writeFileBytes(const QString& path, const QByteArray& bytes);
QByteArray fileBytes(const QString& path);

// The pixel of a view at twips, as the user sees it (grid lines included).
QColor pixelAt(PictureBox* view, float x, float y);
// Writes an image into the working folder; returns its path.
QString saveTestImage(const QImage& image, const QString& name);
// Whether two pictures are equal; when not, both are written beside each other.
bool sameImage(const QImage& actual, const QImage& expected, const QString& name);
int countPixels(const QImage& image, const QColor& color);
// The pixels ("x,y") of `image` whose colour `other` has nowhere within one pixel of the same
// place, `other` starting `offset` pixels further up and left; pixels of the colour `ignored`
// are not looked for. The tolerance between two renderings of one drawing.
QStringList strayPixels(const QImage& image, const QImage& other, int offset = 0, std::optional<QRgb> ignored = std::nullopt);
// A primitive as a short text: "C 100,1000 r20 #0000ff", "L 0,0 900,1000 #ffffff", with
// " w8" after either when the pen is wider than one pixel.
QString describe(const Primitive& p);
// The primitives drawn on a view since its last clearing, described in order.
QStringList drawn(PictureBox* view);

// Everything a refused action must leave as it was: the whole workspace state, the colours,
// the views' pen widths, the caption, the status panels, the command text and the views'
// pictures.
struct WindowSnapshot {
    WorkspaceState state;
    ColorRef lines, grid, background, object3d;
    std::array<int, 4> penWidths;
    QString caption, panel3, panel7, command;
    QImage front, side, top, view3d;

    static WindowSnapshot of(TestWindow& w);
    // The names of what differs, empty when nothing does.
    QStringList differencesFrom(const WindowSnapshot& other) const;
};
