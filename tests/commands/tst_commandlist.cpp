// Tests of the command list: selecting with the mouse and the keyboard, the help on F12, a
// double click copying a command word into the text box, and hiding and showing the box.
#include "fakes/TestSupport.h"

#include <QTest>

namespace {

const QString PutPointHelp = QStringLiteral("You must type in an X and Y coordinate after the word PutPoint\r\n"
                                            "For Example: PutPoint 1300,1400");
const QString ResetPointHelp =
    QStringLiteral("You must type in a Point Number then an X and Y coordinate after the word ResetPoint");
const QString ObjectDepthHelp = QStringLiteral(
    "You must type in number representing desired Object depth after the word ObjectDepth\r\n"
    "For Example: ObjectDepth 1000");
const QString NoHelp = QStringLiteral("Sorry there is currently no help available for the item you selected");

// The centre of a row of the list, scrolled into sight first (the list shows about two rows).
QPoint rowCentre(QListWidget* list, int row)
{
    list->scrollToItem(list->item(row));
    return list->visualItemRect(list->item(row)).center();
}

void clickRow(QListWidget* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, rowCentre(list, row));
}

// The events of a real double click: a click, then the second press (which arrives as the
// double click) and its release.
void doubleClickRow(QListWidget* list, int row)
{
    const QPoint centre = rowCentre(list, row);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
}

// Presses F12 on the list and gives the help shown.
ScriptedDialogs::Shown pressF12(TestWindow& w, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    w.dialogs().expectMessage();
    QTest::keyClick(w->lstCommand, Qt::Key_F12, modifiers);
    return w.dialogs().lastMessage();
}

} // namespace

class CommandListTest : public QObject {
    Q_OBJECT

private slots:
    void listHoldsTheFiveCommandWords();
    void f12BeforeAnySelectionShowsPutPointHelp();
    void f12ShowsTheHelpOfTheClickedCommand_data();
    void f12ShowsTheHelpOfTheClickedCommand();
    void keyboardSelectionChoosesTheHelp();
    void helpFollowsTheSelectionNotTheText();
    void otherKeysShowNoHelp_data();
    void otherKeysShowNoHelp();
    void doubleClickCopiesTheWord_data();
    void doubleClickCopiesTheWord();
    void doubleClickedWordIsCompletedAndRun();
    void hideAndShowKeepTheContents();
};

void CommandListTest::listHoldsTheFiveCommandWords()
{
    TestWindow w;
    QStringList words;
    for (int i = 0; i < w->lstCommand->count(); ++i)
        words << w->lstCommand->item(i)->text();
    QCOMPARE(words, (QStringList{"PutPoint", "ResetPoint", "ObjectDepth", "GetPointCoords", "ManualSet"}));
    QCOMPARE(w.state().SelectedCommand, std::int16_t(0));
}

void CommandListTest::f12BeforeAnySelectionShowsPutPointHelp()
{
    TestWindow w;
    const auto help = pressF12(w);
    QCOMPARE(help.text, PutPointHelp);
    QCOMPARE(help.title, QStringLiteral("Command Box"));
    QCOMPARE(w.dialogs().shown().size(), std::size_t(1));
}

void CommandListTest::f12ShowsTheHelpOfTheClickedCommand_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("help");

    QTest::newRow("PutPoint") << 0 << Qt::KeyboardModifiers() << PutPointHelp;
    QTest::newRow("ResetPoint") << 1 << Qt::KeyboardModifiers() << ResetPointHelp;
    QTest::newRow("ObjectDepth") << 2 << Qt::KeyboardModifiers() << ObjectDepthHelp;
    QTest::newRow("GetPointCoords") << 3 << Qt::KeyboardModifiers() << NoHelp;
    QTest::newRow("ManualSet") << 4 << Qt::KeyboardModifiers() << NoHelp;
    QTest::newRow("shift F12") << 1 << Qt::KeyboardModifiers(Qt::ShiftModifier) << ResetPointHelp;
    QTest::newRow("ctrl alt F12") << 2 << (Qt::ControlModifier | Qt::AltModifier) << ObjectDepthHelp;
}

void CommandListTest::f12ShowsTheHelpOfTheClickedCommand()
{
    QFETCH(int, row);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, help);
    TestWindow w;

    clickRow(w->lstCommand, row);
    QCOMPARE(w->lstCommand->currentRow(), row);
    QCOMPARE(int(w.state().SelectedCommand), row);

    const auto shown = pressF12(w, modifiers);
    QCOMPARE(shown.text, help);
    QCOMPARE(shown.title, QStringLiteral("Command Box"));
    QCOMPARE(w.dialogs().shown().size(), std::size_t(1));
}

void CommandListTest::keyboardSelectionChoosesTheHelp()
{
    TestWindow w;
    clickRow(w->lstCommand, 0);
    QTest::keyClick(w->lstCommand, Qt::Key_Down);
    QTest::keyClick(w->lstCommand, Qt::Key_Down);
    QCOMPARE(w.state().SelectedCommand, std::int16_t(2));
    QCOMPARE(pressF12(w).text, ObjectDepthHelp);

    QTest::keyClick(w->lstCommand, Qt::Key_Up);
    QCOMPARE(w.state().SelectedCommand, std::int16_t(1));
    QCOMPARE(pressF12(w).text, ResetPointHelp);

    QTest::keyClick(w->lstCommand, Qt::Key_End);
    QCOMPARE(w.state().SelectedCommand, std::int16_t(4));
    QCOMPARE(pressF12(w).text, NoHelp);

    QTest::keyClick(w->lstCommand, Qt::Key_Home);
    QCOMPARE(w.state().SelectedCommand, std::int16_t(0));
    QCOMPARE(pressF12(w).text, PutPointHelp);
}

void CommandListTest::helpFollowsTheSelectionNotTheText()
{
    TestWindow w;
    clickRow(w->lstCommand, 4);
    QTest::keyClicks(w->txtCommand, QStringLiteral("ObjectDepth 1000"));
    QCOMPARE(pressF12(w).text, NoHelp);
    QCOMPARE(w->txtCommand->text(), QStringLiteral("ObjectDepth 1000"));
}

void CommandListTest::otherKeysShowNoHelp_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::newRow("F11") << Qt::Key_F11;
    QTest::newRow("F1") << Qt::Key_F1;
    QTest::newRow("F13") << Qt::Key_F13;
    QTest::newRow("Return") << Qt::Key_Return;
    QTest::newRow("Escape") << Qt::Key_Escape;
    QTest::newRow("letter") << Qt::Key_G;
    QTest::newRow("brace, whose character code is F12's key code") << Qt::Key_BraceLeft;
}

void CommandListTest::otherKeysShowNoHelp()
{
    QFETCH(Qt::Key, key);
    TestWindow w;
    clickRow(w->lstCommand, 1);
    QTest::keyClick(w->lstCommand, key);
    QVERIFY(w.dialogs().shown().empty());
    QCOMPARE(w->txtCommand->text(), QString());
}

void CommandListTest::doubleClickCopiesTheWord_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("word");
    QTest::newRow("PutPoint") << 0 << "PutPoint";
    QTest::newRow("ResetPoint") << 1 << "ResetPoint";
    QTest::newRow("ObjectDepth") << 2 << "ObjectDepth";
    QTest::newRow("GetPointCoords") << 3 << "GetPointCoords";
    QTest::newRow("ManualSet") << 4 << "ManualSet";
}

// The word replaces whatever was typed, and nothing runs: not even ManualSet's message.
void CommandListTest::doubleClickCopiesTheWord()
{
    QFETCH(int, row);
    QFETCH(QString, word);
    TestWindow w;
    QTest::keyClicks(w->txtCommand, QStringLiteral("PutPoint 1300,1400"));

    doubleClickRow(w->lstCommand, row);

    QCOMPARE(w->txtCommand->text(), word);
    QCOMPARE(int(w.state().SelectedCommand), row);
    QVERIFY(w.dialogs().shown().empty());
    QCOMPARE(w.state().PointCount, std::int16_t(0));
    QVERIFY(w->picFront->primitives().empty());
}

void CommandListTest::doubleClickedWordIsCompletedAndRun()
{
    TestWindow w;
    doubleClickRow(w->lstCommand, 0);
    QTest::keyClicks(w->txtCommand, QStringLiteral(" 1300,1400"));
    QCOMPARE(w->txtCommand->text(), QStringLiteral("PutPoint 1300,1400"));
    QTest::mouseClick(w->cmdExecute, Qt::LeftButton);
    QCOMPARE(w.state().PointCount, std::int16_t(1));

    doubleClickRow(w->lstCommand, 3);
    QTest::keyClicks(w->txtCommand, QStringLiteral(" 0"));
    QTest::mouseClick(w->cmdExecute, Qt::LeftButton);
    QCOMPARE(w->txtCommand->text(), QStringLiteral("Point #0   X:1300  Y:1400"));
}

void CommandListTest::hideAndShowKeepTheContents()
{
    TestWindow w;
    QVERIFY(w->picCommand->isVisible());
    clickRow(w->lstCommand, 3);
    QTest::keyClicks(w->txtCommand, QStringLiteral("GetPointCoords 0"));

    w->mnuComm[1]->trigger();
    QVERIFY(!w->picCommand->isVisible());
    w->mnuComm[1]->trigger();
    QVERIFY(!w->picCommand->isVisible());

    w->mnuComm[0]->trigger();
    QVERIFY(w->picCommand->isVisible());
    QCOMPARE(w->txtCommand->text(), QStringLiteral("GetPointCoords 0"));
    QCOMPARE(w->lstCommand->currentRow(), 3);
    QCOMPARE(w.state().SelectedCommand, std::int16_t(3));
    w->mnuComm[0]->trigger();
    QVERIFY(w->picCommand->isVisible());

    QTest::mouseClick(w->cmdExecute, Qt::LeftButton);
    QCOMPARE(w->txtCommand->text(), QStringLiteral("Point #0   X:0  Y:0"));
    QVERIFY(w.dialogs().shown().empty());
}

QTEST_MAIN(CommandListTest)
#include "tst_commandlist.moc"
