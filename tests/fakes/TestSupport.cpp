// Window test fixtures: a started window in a temporary folder, its controls by name, and
// the user's actions as real events.
#include "fakes/TestSupport.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

namespace {
template <class T>
T* find(frmMain& w, const QString& name)
{
    T* found = name == w.objectName() ? nullptr : w.findChild<T*>(name);
    if (!found)
        qFatal("the window has no %s", qPrintable(name));
    return found;
}

template <class T, std::size_t N>
void findAll(frmMain& w, std::array<T*, N>& controls, const char* name)
{
    for (std::size_t i = 0; i < N; ++i)
        controls[i] = find<T>(w, QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i));
}
} // namespace

#define FIND(name) name(find<std::remove_pointer_t<decltype(name)>>(w, QStringLiteral(#name)))
WindowControls::WindowControls(frmMain& w)
    : FIND(picContainer), FIND(pic3dView), FIND(picTop), FIND(picFront), FIND(picSide), FIND(picIcon), FIND(picCommand),
      FIND(Label1), FIND(lstCommand), FIND(cmdExecute), FIND(txtCommand), FIND(txtDepth), FIND(sstMiscDrawing),
      FIND(sbStatus), FIND(mnuFile), FIND(mnuRecentHead), FIND(mnuEdit), FIND(mnuCommand), FIND(mnuDraw), FIND(mnuObj),
      FIND(mnuGrdConfig), FIND(mnuGsize), FIND(mnuLines), FIND(mnuTools), FIND(mnuRender), FIND(mnuPopUp),
      FIND(mnuOpen), FIND(mnuSave), FIND(mnuOpenWork), FIND(mnuSaveWork), FIND(mnuClear), FIND(mnuExtrude),
      FIND(mnuPointobj), FIND(mnuRadius), FIND(mnuBgColor), FIND(mnuObjColor), FIND(mnuGrdColor), FIND(mnuLneOn),
      FIND(mnuLneOff), FIND(mnuWidth), FIND(mnu3dColor), FIND(mnuDrawPoly), FIND(mnuDraw3D)
{
    findAll(w, Picture1, "Picture1");
    findAll(w, CmdObj, "CmdObj");
    findAll(w, CmdWrk, "CmdWrk");
    findAll(w, mnuRecent, "mnuRecent");
    findAll(w, mnuComm, "mnuComm");
    findAll(w, mnuStyle, "mnuStyle");
    findAll(w, mnuGridsize, "mnuGridsize");
}
#undef FIND

TestWindow::TestWindow(Folders folders) : ProgramFolder(folders, [](const QString&) {})
{
    start();
}

TestWindow::TestWindow(const std::function<void(const QString&)>& beforeStart) : ProgramFolder(Folders::Made, beforeStart)
{
    start();
}

void TestWindow::start()
{
    window_ = std::make_unique<frmMain>(dialogs(), dialogs(), settings(), programFolder());
    controls_ = std::make_unique<WindowControls>(*window_);
    window_->start();
}

void sendMouse(QWidget* widget, QEvent::Type type, QPointF pixel, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, pixel, widget->mapToGlobal(pixel), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void mouseMove(PictureBox* view, float x, float y, Qt::MouseButtons held)
{
    sendMouse(view, QEvent::MouseMove, view->toWidgetPixels(x, y), Qt::NoButton, held);
}

void mousePress(PictureBox* view, float x, float y, Qt::MouseButton button)
{
    sendMouse(view, QEvent::MouseButtonPress, view->toWidgetPixels(x, y), button, button);
}

void mouseRelease(PictureBox* view, float x, float y, Qt::MouseButton button)
{
    sendMouse(view, QEvent::MouseButtonRelease, view->toWidgetPixels(x, y), button, Qt::NoButton);
}

void mouseClick(PictureBox* view, float x, float y, Qt::MouseButton button)
{
    mouseMove(view, x, y);
    mousePress(view, x, y, button);
    mouseRelease(view, x, y, button);
}

void drag(PictureBox* view, const QList<float>& xs, float y, Qt::MouseButton button)
{
    mousePress(view, xs.first(), y, button);
    for (const float x : xs.mid(1))
        mouseMove(view, x, y, button);
    mouseRelease(view, xs.last(), y, button);
}

void clickPoints(TestWindow& w, const QList<QPoint>& points)
{
    for (const QPoint p : points)
        mouseClick(w->picFront, float(p.x()), float(p.y()));
}

bool choose(TestWindow& w, QAction* item)
{
    if (!item->isEnabled()) {
        qWarning("%s is disabled", qPrintable(item->text()));
        return false;
    }
    item->trigger();
    if (w.dialogs().pending() != 0) {
        qWarning("%d answers left after %s", w.dialogs().pending(), qPrintable(item->text()));
        return false;
    }
    return true;
}

bool runCommand(TestWindow& w, const QString& line)
{
    w->txtCommand->clear();
    if (line.size() > 100)
        w->txtCommand->insert(line);
    else
        QTest::keyClicks(w->txtCommand, line);
    if (w->txtCommand->text() != line) {
        qWarning("the command box holds \"%s\" after typing \"%s\"", qPrintable(w->txtCommand->text()), qPrintable(line));
        return false;
    }
    QTest::mouseClick(w->cmdExecute, Qt::LeftButton);
    return true;
}

QColor pixelAt(PictureBox* view, float x, float y) { return pixelAt(*view->view(), x, y); }

QStringList drawn(PictureBox* view) { return drawn(*view->view()); }

WindowSnapshot WindowSnapshot::of(TestWindow& w)
{
    return {Snapshot::of(w.core()), w.w().windowTitle(), w->txtCommand->text()};
}

QStringList WindowSnapshot::differencesFrom(const WindowSnapshot& o) const
{
    QStringList differences = core.differencesFrom(o.core);
    if (title != o.title)
        differences << QStringLiteral("window title");
    if (command != o.command)
        differences << QStringLiteral("command text");
    return differences;
}
