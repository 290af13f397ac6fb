// Canned answers for the program's dialogs, with a record of what was shown.
#include "fakes/ScriptedDialogs.h"

#include <QAction>
#include <QMenu>
#include <QTest>

namespace {
// By Kind, in its order.
const char* const KindNames[] = {"colour dialog", "open dialog", "save dialog", "input box", "message box", "pop-up menu"};
} // namespace

std::optional<ScriptedDialogs::Answer> ScriptedDialogs::take(Kind kind, const Shown& shown)
{
    shown_.push_back(shown);
    if (answers_.empty() || answers_.front().kind != kind) {
        const QByteArray what = QStringLiteral("unexpected %1: \"%2\" (%3)")
                                    .arg(QString::fromLatin1(KindNames[int(kind)]), shown.text, shown.title)
                                    .toUtf8();
        QTest::qFail(what.constData(), __FILE__, __LINE__);
        return std::nullopt;
    }
    Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::optional<ColorRef> ScriptedDialogs::showColor(ColorRef current)
{
    const auto answer = take(Kind::Color, {.kind = Kind::Color, .offered = current});
    return answer ? answer->color : std::nullopt;
}

QString ScriptedDialogs::showOpen(const QString& filter, const QString& initDir)
{
    const auto answer = take(Kind::Open, {.kind = Kind::Open, .filter = filter, .initDir = initDir});
    return answer ? answer->text : QString();
}

QString ScriptedDialogs::showSave(const QString& filter, const QString& initDir)
{
    const auto answer = take(Kind::Save, {.kind = Kind::Save, .filter = filter, .initDir = initDir});
    return answer ? answer->text : QString();
}

QString ScriptedDialogs::inputBox(const QString& prompt, const QString& title)
{
    const auto answer = take(Kind::Input, {.kind = Kind::Input, .text = prompt, .title = title});
    return answer ? answer->text : QString();
}

void ScriptedDialogs::messageBox(const QString& text, const QString& title)
{
    take(Kind::Message, {.kind = Kind::Message, .text = text, .title = title});
}

void ScriptedDialogs::popupMenu(QMenu& menu, const QPoint& globalPos)
{
    const auto answer = take(Kind::Popup, {.kind = Kind::Popup, .title = menu.title(), .position = globalPos});
    if (!answer || answer->text.isEmpty())
        return;
    for (QAction* action : menu.actions()) {
        if (action->text() == answer->text) {
            action->trigger();
            return;
        }
    }
    QTest::qFail(qPrintable(QStringLiteral("pop-up menu has no item \"%1\"").arg(answer->text)), __FILE__, __LINE__);
}

std::vector<ScriptedDialogs::Shown> ScriptedDialogs::shown(Kind kind) const
{
    std::vector<Shown> result;
    for (const Shown& s : shown_)
        if (s.kind == kind)
            result.push_back(s);
    return result;
}

ScriptedDialogs::Shown ScriptedDialogs::lastMessage() const
{
    const auto messages = shown(Kind::Message);
    if (messages.empty()) {
        QTest::qFail("no message box was shown", __FILE__, __LINE__);
        return {.kind = Kind::Message};
    }
    return messages.back();
}
