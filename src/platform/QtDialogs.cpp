// Qt's standard dialogs, configured as the program's users know them: no overwrite question,
// no existence check, no added extension, message boxes without icons.
#include "platform/QtDialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>

std::optional<ColorRef> QtDialogs::showColor(ColorRef current)
{
    const QColor chosen = QColorDialog::getColor(toQColor(current), parent_);
    if (!chosen.isValid())
        return std::nullopt;
    return fromQColor(chosen);
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
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString QtDialogs::showOpen(const QString& filter, const QString& initDir) { return showFile(filter, initDir, false); }
QString QtDialogs::showSave(const QString& filter, const QString& initDir) { return showFile(filter, initDir, true); }

QString QtDialogs::inputBox(const QString& prompt, const QString& title)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, title, prompt, QLineEdit::Normal, QString(), &ok);
    return ok ? text : QString();
}

void QtDialogs::messageBox(const QString& text, const QString& title)
{
    QMessageBox box(QMessageBox::NoIcon, title, QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                    QMessageBox::Ok, parent_);
    box.exec();
}

void QtDialogs::popupMenu(QMenu& menu, const QPoint& globalPos)
{
    menu.exec(globalPos);
}
