// The real dialogs as the program sets them up: what each shows and what its answer or its
// cancel gives back. Each is inspected and answered in place of being shown.
#include "window/QtDialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

namespace {
// Describes each dialog it is given in `seen`, then accepts it with `answer` or rejects it
// when there is none.
class AnsweringDialogs : public QtDialogs {
public:
    QStringList seen;
    std::optional<QString> answer;

protected:
    int run(QDialog& dialog) override
    {
        if (auto* file = qobject_cast<QFileDialog*>(&dialog)) {
            seen << QStringLiteral("%1 %2 in %3 %4 overwrite %5")
                        .arg(file->acceptMode() == QFileDialog::AcceptSave ? "save" : "open", file->nameFilters().join('/'),
                             file->directory().dirName(), file->fileMode() == QFileDialog::AnyFile ? "any file" : "existing")
                        .arg(file->testOption(QFileDialog::DontConfirmOverwrite) ? "unasked" : "asked");
            if (answer)
                file->selectFile(*answer);
        } else if (auto* colour = qobject_cast<QColorDialog*>(&dialog)) {
            seen << QStringLiteral("colour %1").arg(colour->currentColor().name());
            if (answer)
                colour->setCurrentColor(QColor(*answer));
        } else if (auto* input = qobject_cast<QInputDialog*>(&dialog)) {
            seen << QStringLiteral("input \"%1\" \"%2\"").arg(input->windowTitle(), input->labelText());
            if (answer)
                input->setTextValue(*answer);
        } else if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
            seen << QStringLiteral("message \"%1\" \"%2\" icon %3 %4")
                        .arg(box->windowTitle(), box->text())
                        .arg(int(box->icon()))
                        .arg(box->textFormat() == Qt::PlainText ? "as typed" : "markup");
        }
        answer ? dialog.accept() : dialog.reject();
        return dialog.result();
    }
    void run(QMenu& menu, const QPoint& at) override { seen << QStringLiteral("menu %1 at %2,%3").arg(menu.title()).arg(at.x()).arg(at.y()); }
};
} // namespace

class TestQtDialogs : public QObject {
    Q_OBJECT
private slots:
    void answersAndCancels()
    {
        AnsweringDialogs d;
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/Objects");
        QVERIFY(QDir().mkdir(folder));
        d.answer = folder + QStringLiteral("/new.obj");
        QCOMPARE(d.showOpen(QStringLiteral("Object Files (*.obj)|*.obj"), folder), *d.answer);
        QCOMPARE(d.showSave(QStringLiteral("Workspace Files (*.wks)|*.wks"), folder), *d.answer);
        d.answer = QStringLiteral("#00ff80");
        QCOMPARE(d.showColor(0x123456), std::optional<ColorRef>(0x80FF00));
        d.answer = QStringLiteral("12");
        QCOMPARE(d.inputBox(QStringLiteral("Please Enter New Radius"), QStringLiteral("Radius Configuration")), QStringLiteral("12"));
        d.messageBox(QStringLiteral("two\r\n<b>lines</b>"), QStringLiteral("Command Box"));
        d.answer.reset();
        QCOMPARE(d.showOpen(QStringLiteral("Object Files (*.obj)|*.obj"), folder), QString());
        QCOMPARE(d.showColor(0x123456), std::nullopt);
        QCOMPARE(d.inputBox(QStringLiteral("Enter Number of Points"), QStringLiteral("Define the Points")), QString());
        QMenu menu(QStringLiteral("Draw Polygon"));
        d.popupMenu(menu, QPoint(40, 50));
        QCOMPARE(d.seen, (QStringList{"open Object Files (*.obj) in Objects any file overwrite unasked",
                                      "save Workspace Files (*.wks) in Objects any file overwrite unasked", "colour #563412",
                                      "input \"Radius Configuration\" \"Please Enter New Radius\"",
                                      "message \"Command Box\" \"two\n<b>lines</b>\" icon 0 as typed",
                                      "open Object Files (*.obj) in Objects any file overwrite unasked", "colour #563412",
                                      "input \"Define the Points\" \"Enter Number of Points\"", "menu Draw Polygon at 40,50"}));
    }
};

QTEST_MAIN(TestQtDialogs)
#include "tst_qtdialogs.moc"
