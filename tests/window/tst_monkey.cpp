// A seeded monkey: thousands of random real events (clicks and drags over every view and its
// frame, menus with random dialog answers, typed lines, browser buttons), checking the
// workspace state's invariants after each. BRONDELWICK_MONKEY_SEED and _STEPS replay or lengthen it.
#include "fakes/TestSupport.h"

#include <QDir>
#include <QMenuBar>
#include <QTest>
#include <random>

namespace {
// Answers every dialog at random, garbage and cancel included, from the monkey's generator.
class MonkeyDialogs : public Dialogs, public MenuPopups {
public:
    MonkeyDialogs(std::mt19937& random, const QString& folder) : random_(random), folder_(folder) {}

    std::optional<ColorRef> showColor(ColorRef) override
    {
        return pick(0, 3) == 0 ? std::nullopt : std::optional<ColorRef>(ColorRef(pick(0, 0xFFFFFF)));
    }
    QString showOpen(const QString&, const QString&) override { return path(); }
    QString showSave(const QString&, const QString&) override { return path(); }
    QString inputBox(const QString&, const QString&) override { return oneOf({"", "3", "-1", "0", "20", "7.5", "1e9", "abc", " ", "32767", "-40000"}); }
    void messageBox(const QString&, const QString&) override { ++messages; }
    void popupMenu(QMenu& menu, const QPoint&) override
    {
        const QList<QAction*> items = menu.actions();
        if (const int i = pick(0, int(items.size())); i < items.size())
            items[i]->trigger();
    }

    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }
    QString oneOf(std::initializer_list<const char*> texts) { return QString::fromLatin1(texts.begin()[pick(0, int(texts.size()) - 1)]); }
    int messages = 0;

private:
    // Saved files, fixtures, garbage, a folder, a missing file, or a cancel.
    QString path()
    {
        const QString name = oneOf({"", "Objects/a.obj", "Objects/b.obj", "Workspaces/a.wks", "Objects/house.obj",
                                    "Workspaces/colours.wks", "Objects/garbage.obj", "Objects", "Objects/none.obj", "Gone/x.obj"});
        return name.isEmpty() ? name : folder_ + QLatin1Char('/') + name;
    }
    std::mt19937& random_;
    QString folder_;
};

QList<QAction*> menuItems(const QList<QAction*>& actions)
{
    QList<QAction*> items;
    for (QAction* a : actions)
        items += a->menu() ? menuItems(a->menu()->actions()) : QList<QAction*>{a};
    return items;
}

// A command line from the five words (and a few that are none) with numbers of every kind.
QString commandLine(MonkeyDialogs& d)
{
    const auto number = [&d] {
        const int kind = d.pick(0, 5);
        return kind == 0 ? QString::number(d.pick(-100, 5000)) : kind == 1 ? QString::number(d.pick(-40000, 40000))
             : kind == 2 ? d.oneOf({"1e400", "-0", "2.5", "x", "", "99999999999", "1,5"}) : QString::number(d.pick(0, 5));
    };
    const QString word = d.oneOf({"PutPoint", "PutPoint", "ResetPoint", "ObjectDepth", "GetPointCoords", "ManualSet", "putpoint", ""});
    QStringList items;
    for (int i = d.pick(0, 3); i > 0; --i)
        items << number();
    return word + (d.pick(0, 9) ? QStringLiteral(" ") : QStringLiteral("  ")) + items.join(QLatin1Char(','));
}
} // namespace

class TestMonkey : public QObject {
    Q_OBJECT
private slots:
    void randomSessionKeepsTheInvariants();
};

void TestMonkey::randomSessionKeepsTheInvariants()
{
    const unsigned seed = qEnvironmentVariableIsSet("BRONDELWICK_MONKEY_SEED") ? qEnvironmentVariableIntValue("BRONDELWICK_MONKEY_SEED") : 20261206u;
    const int steps = qEnvironmentVariableIsSet("BRONDELWICK_MONKEY_STEPS") ? qEnvironmentVariableIntValue("BRONDELWICK_MONKEY_STEPS") : 1500;
    std::mt19937 random(seed);
    IsolatedSettings settings;
    QTemporaryDir folder;
    QDir(folder.path()).mkdir(QStringLiteral("Objects"));
    QDir(folder.path()).mkdir(QStringLiteral("Workspaces"));
    for (const char* name : {"Objects/house.obj", "Workspaces/colours.wks"})
        writeFileBytes(folder.path() + QLatin1Char('/') + QLatin1String(name), fileBytes(QStringLiteral(BRONDELWICK_TEST_DATA "/") + QString::fromLatin1(name).section(QLatin1Char('/'), 1)));
    writeFileBytes(folder.path() + QStringLiteral("/Objects/garbage.obj"), "\x11\x20 not an object at all");
    MonkeyDialogs dialogs(random, folder.path());
    QtSettingsStore store;
    frmMain w(dialogs, dialogs, store, folder.path());
    const WindowControls c(w);
    w.start();
    PictureBox* surfaces[] = {c.picFront, c.picSide, c.picTop, c.pic3dView, c.picContainer};
    const QSize windowSize = w.size();
    const QList<QAction*> items = menuItems(w.menuBar()->actions());
    QStringList log;

    for (int step = 0; step < steps; ++step) {
        const int action = dialogs.pick(0, 9);
        PictureBox* view = surfaces[dialogs.pick(0, 4)];
        // A pixel anywhere on the view, its frame included, or a little beyond.
        const QPointF at(dialogs.pick(-3, view->width() + 2), dialogs.pick(-3, view->height() + 2));
        const Qt::MouseButton button = dialogs.pick(0, 3) ? Qt::LeftButton : Qt::RightButton;
        if (action <= 3) {
            log << QStringLiteral("click %1 at %2,%3").arg(view->metaObject()->className()).arg(at.x()).arg(at.y());
            sendMouse(view, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
            sendMouse(view, QEvent::MouseButtonPress, at, button, button);
            sendMouse(view, QEvent::MouseButtonRelease, at, button, Qt::NoButton);
        } else if (action == 4) {
            log << QStringLiteral("drag from %1,%2").arg(at.x()).arg(at.y());
            sendMouse(view, QEvent::MouseButtonPress, at, button, button);
            sendMouse(view, QEvent::MouseMove, at + QPointF(dialogs.pick(-400, 400), dialogs.pick(-50, 50)), Qt::NoButton, button);
            sendMouse(view, QEvent::MouseButtonRelease, at, button, Qt::NoButton);
        } else if (action <= 7) {
            QAction* item = items[dialogs.pick(0, int(items.size()) - 1)];
            if (!item->isVisible() || !item->isEnabled() || item->isSeparator())
                continue;
            log << QStringLiteral("menu %1").arg(item->text());
            item->trigger();
        } else if (action == 8) {
            const QString line = commandLine(dialogs);
            log << QStringLiteral("type \"%1\"").arg(line);
            c.txtCommand->setText(line);
            QTest::mouseClick(c.cmdExecute, Qt::LeftButton);
        } else {
            PictureButton* button = (dialogs.pick(0, 1) ? c.CmdObj : c.CmdWrk)[std::size_t(dialogs.pick(0, 2))];
            if (!button->isVisibleTo(&w))
                continue;
            log << QStringLiteral("button %1").arg(button->text());
            QTest::mouseClick(button, Qt::LeftButton);
        }

        const Session& core = w.core();
        const WorkspaceState& s = core.state;
        const bool drawn3D = !core.pic3dView.primitives().empty();
        const bool outline = std::any_of(core.picFront.primitives().begin(), core.picFront.primitives().end(),
                                         [](const Primitive& p) { return p.kind == Primitive::Kind::Line; });
        const QString where = QStringLiteral("seed %1, step %2: %3").arg(seed).arg(step).arg(log.mid(std::max<qsizetype>(0, log.size() - 8)).join(QStringLiteral("; ")));
        QVERIFY2(s.PointCount >= 0 && s.pPoints.size() == std::size_t(std::max<int>(s.PointCount, 1)), qPrintable(where));
        QVERIFY2(!drawn3D || (s.DrawMode == 3), qPrintable(where));
        QVERIFY2(drawn3D || !outline || s.DrawMode == 2, qPrintable(where));
        QVERIFY2(s.DrawMode != 1 || (!drawn3D && !outline), qPrintable(where));
        QVERIFY2(s.Dimension == 0 || s.Dimension == 2 || s.Dimension == 3, qPrintable(where));
        QVERIFY2(s.GridCount == 30 || s.GridCount == 40 || s.GridCount == 50 || s.GridCount == 60, qPrintable(where));
        QVERIFY2(w.size() == windowSize && c.picFront->size() == QSize(334, 332) && w.core().picFront.picture().size() == QSize(330, 328),
                 qPrintable(where));
    }
    qInfo("seed %u: %d steps, %d messages", seed, steps, dialogs.messages);
}

QTEST_MAIN(TestMonkey)
#include "tst_monkey.moc"
