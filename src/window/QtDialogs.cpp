// Qt's standard dialogs, configured as the program's users know them: no overwrite question,
// no existence check, no added extension, message boxes without icons.
#include "window/QtDialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>

int QtDialogs::run(QDialog& dialog) { return dialog.exec(); }

void QtDialogs::run(QMenu& menu, const QPoint& globalPos) { menu.exec(globalPos); }

std::optional<ColorRef> QtDialogs::showColor(ColorRef current)
{
    QColorDialog dialog(toQColor(current), parent_);
    if (run(dialog) != QDialog::Accepted || !dialog.selectedColor().isValid())
        return std::nullopt;
    return fromQColor(dialog.selectedColor());
}

QString QtDialogs::showFile(const QString& filter, const QString& initDir, bool save)
{
    // "Object Files (*.obj)|*.obj": the description as shown, the pattern after the bar.
    const QString description = filter.section(QLatin1Char('|'), 0, 0).section(QLatin1Char('('), 0, 0).trimmed();
    const QString pattern = filter.section(QLatin1Char('|'), 1, 1).trimmed();
    QFileDialog dialog(parent_, QString(), initDir, QStringLiteral("%1 (%2)").arg(description, pattern));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (run(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString QtDialogs::showOpen(const QString& filter, const QString& initDir) { return showFile(filter, initDir, false); }
QString QtDialogs::showSave(const QString& filter, const QString& initDir) { return showFile(filter, initDir, true); }

QString QtDialogs::inputBox(const QString& prompt, const QString& title)
{
    QInputDialog dialog(parent_);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    return run(dialog) == QDialog::Accepted ? dialog.textValue() : QString();
}

void QtDialogs::messageBox(const QString& text, const QString& title)
{
    QMessageBox box(QMessageBox::NoIcon, title, QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                    QMessageBox::Ok, parent_);
    // Messages quote paths and typed text, which must never be taken for markup.
    box.setTextFormat(Qt::PlainText);
    run(box);
}

void QtDialogs::popupMenu(QMenu& menu, const QPoint& globalPos) { run(menu, globalPos); }
