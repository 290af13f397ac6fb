// Shared fixtures of the core's tests: a session set up as the program starts it, in a
// temporary program folder with isolated settings and scripted dialogs; the user's actions
// as the window forwards them; files of given values; picture and state checks.
#pragma once

#include "app/Session.h"
#include "commands/CommandInterpreter.h"
#include "commands/CommandList.h"
#include "editing/DepthDrag.h"
#include "editing/ObjectMenus.h"
#include "editing/PointPlacement.h"
#include "files/FileCommands.h"
#include "views/GridLayout.h"
#include "views/Rendering.h"
#include "fakes/ScriptedDialogs.h"
#include "platform/SettingsStore.h"

#include <QImage>
#include <QTemporaryDir>
#include <functional>
#include <optional>

// Points Qt's per-user settings at a fresh temporary folder for the life of the object.
class IsolatedSettings {
public:
    IsolatedSettings();
    ~IsolatedSettings();
    QString folder() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

// A temporary program folder holding Objects and Workspaces folders (unless told they are
// missing), isolated settings and scripted dialogs: what a session or a window starts in.
class ProgramFolder {
public:
    enum class Folders { Made, Missing };

    ScriptedDialogs& dialogs() { return dialogs_; }
    SettingsStore& settings() { return settings_; }
    QString programFolder() const { return folder_.path(); }
    QString objectsFolder() const { return folder_.path() + QStringLiteral("/Objects"); }
    QString workspacesFolder() const { return folder_.path() + QStringLiteral("/Workspaces"); }

protected:
    // beforeStart may put files into the folders before start-up reads them.
    ProgramFolder(Folders folders, const std::function<void(const QString& programFolder)>& beforeStart);

private:
    IsolatedSettings settingsLocation_;
    QTemporaryDir folder_;
    ScriptedDialogs dialogs_;
    QtSettingsStore settings_;
};

// A session set up as the program's start-up sets it up, without a window.
class TestCore : public ProgramFolder {
public:
    explicit TestCore(Folders folders = Folders::Made);
    explicit TestCore(const std::function<void(const QString& programFolder)>& beforeStart);

    Session& core() { return session_; }
    Session* operator->() { return &session_; }
    WorkspaceState& state() { return session_.state; }

private:
    Session session_;
};

// Runs an action the user takes (a menu item's handler, say). Answers for the dialogs it
// opens are queued on dialogs() before; every one of them must have been used. False, with a
// warning that says why, when an answer is left: QVERIFY(act(...)) stops the test.
[[nodiscard]] bool act(TestCore& s, const std::function<void()>& action);
// A click of the front view at twips, as the window forwards it: the move there, the
// release and the click (left button 1, right 2).
void frontClick(TestCore& s, float x, float y, int button = 1);
// Clicks each point into the front view, as the user places an outline.
void clickPoints(TestCore& s, const QList<QPoint>& points);
// A left-button drag in the side view: pressed at the first x, moved to each further x in
// turn and released at the last (y stays).
void sideDrag(TestCore& s, const QList<float>& xs, float y);
// Executes a line as the command box's Execute Command button does.
CommandResult command(TestCore& s, const QString& line);

// Puts an object straight into the state, for values the mouse cannot place.
void setObject(WorkspaceState& state, const std::vector<PointRecord>& points, const TaggedValue& depth = TaggedValue(),
               std::int16_t dimension = 2);

// A file record holding a property bag of these values in this order.
QByteArray fileOf(const QList<std::pair<QString, TaggedValue>>& values);
void writeFileBytes(const QString& path, const QByteArray& bytes);
QByteArray fileBytes(const QString& path);

// The pixel of a view at twips, as the user sees it (grid lines included).
QColor pixelAt(ViewSurface& view, float x, float y);
inline QColor pixelAt(ViewSurface* view, float x, float y) { return pixelAt(*view, x, y); }
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
QStringList drawn(const ViewSurface& view);
inline QStringList drawn(const ViewSurface* view) { return drawn(*view); }

// Everything a refused action must leave as it was: the whole workspace state, the colours,
// the views' pen widths, the caption, the status panels and the views' pictures.
struct Snapshot {
    WorkspaceState state;
    ColorRef lines, grid, background, object3d;
    std::array<int, 4> penWidths;
    QString caption, panel3, panel7;
    QImage front, side, top, view3d;

    static Snapshot of(Session& s);
    // The names of what differs, empty when nothing does.
    QStringList differencesFrom(const Snapshot& other) const;
};
