// Shared test fixtures: a started main window in a temporary program folder with an isolated
// settings store and scripted dialogs, real mouse events in twips, and picture checks.
#pragma once

#include "app/frmMain.h"
#include "fakes/ScriptedDialogs.h"

#include <QEvent>
#include <QImage>
#include <QTemporaryDir>
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

// A main window started as the program starts it, in a temporary program folder that holds
// empty Objects and Workspaces folders (unless told otherwise).
class TestWindow {
public:
    explicit TestWindow(bool makeFolders = true);
    // Lets a test put files into the folders before start-up reads them.
    TestWindow(const std::function<void(const QString& programFolder)>& beforeStart);

    frmMain& w() { return *window_; }
    frmMain* operator->() { return window_.get(); }
    WorkspaceState& state() { return window_->state; }
    ScriptedDialogs& dialogs() { return dialogs_; }
    QString programFolder() const { return folder_.path(); }
    QString objectsFolder() const { return folder_.path() + QStringLiteral("/Objects"); }
    QString workspacesFolder() const { return folder_.path() + QStringLiteral("/Workspaces"); }

private:
    void create(const std::function<void(const QString&)>& beforeStart);
    IsolatedSettings settingsLocation_;
    QTemporaryDir folder_;
    ScriptedDialogs dialogs_;
    QtSettingsStore settings_;
    std::unique_ptr<frmMain> window_;
};

// A real mouse event at a pixel of a widget (for a view: frame included).
void sendMouse(QWidget* widget, QEvent::Type type, QPointF pixel, Qt::MouseButton button, Qt::MouseButtons buttons);
// Real mouse events on a surface, at positions in the surface's twips.
void mouseMove(PictureBox* view, float x, float y, Qt::MouseButtons held = Qt::NoButton);
void mousePress(PictureBox* view, float x, float y, Qt::MouseButton button = Qt::LeftButton);
void mouseRelease(PictureBox* view, float x, float y, Qt::MouseButton button = Qt::LeftButton);
// Move there, press and release: the surface raises its click.
void mouseClick(PictureBox* view, float x, float y, Qt::MouseButton button = Qt::LeftButton);

// The pixel of a view at a position in its twips, as the user sees it (grid lines included).
QColor pixelAt(PictureBox* view, float x, float y);
// Writes an image into the test's output folder (the working folder); returns its path.
QString saveTestImage(const QImage& image, const QString& name);
// Compares a rendered view with an expected one; on a difference writes both images beside
// each other and returns false.
bool sameImage(const QImage& actual, const QImage& expected, const QString& name);

// A primitive as a short text, so that a difference shows which one is wrong:
// "C 100,1000 r20 #0000ff" for a circle, "L 0,0 900,1000 #ffffff" for a line, with " w8"
// after either when its pen is wider than one pixel.
QString describe(const Primitive& p);
// The primitives drawn on a view since its last clearing, described in order.
QStringList drawn(PictureBox* view);
// Places the triangle (100, 1000), (900, 1000), (500, 300) with three clicks in the front view.
void placeTriangle(TestWindow& w);

// Counts the pixels of a colour in an image.
int countPixels(const QImage& image, const QColor& color);
