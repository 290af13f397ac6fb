// Dialogs for tests: every dialog is answered from a queue of expected answers and recorded.
// A dialog that the test did not expect, or of another kind than the next answer, fails
// the running test and is answered as if cancelled.
#pragma once

#include "platform/Dialogs.h"
#include "window/QtDialogs.h"

#include <QPoint>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

class ScriptedDialogs : public Dialogs, public MenuPopups {
public:
    enum class Kind { Color, Open, Save, Input, Message, Popup };

    // What a dialog showed: prompt or message text, title, filter and folder of a file dialog,
    // the colour offered by a colour dialog.
    struct Shown {
        Kind kind{};
        QString text{};
        QString title{};
        QString filter{};
        QString initDir{};
        ColorRef offered = 0;
        QPoint position{};   // where a pop-up menu showed, in screen pixels
    };

    void answerColor(std::optional<ColorRef> chosen) { push(Kind::Color, {}, chosen); }
    void answerOpen(const QString& path) { push(Kind::Open, path); }
    void answerSave(const QString& path) { push(Kind::Save, path); }
    void answerInput(const QString& text) { push(Kind::Input, text); }
    void expectMessage() { push(Kind::Message, {}); }
    // The caption of the pop-up menu item to choose; empty text closes the menu unchosen.
    void answerPopup(const QString& caption) { push(Kind::Popup, caption); }

    std::optional<ColorRef> showColor(ColorRef current) override;
    QString showOpen(const QString& filter, const QString& initDir) override;
    QString showSave(const QString& filter, const QString& initDir) override;
    QString inputBox(const QString& prompt, const QString& title) override;
    void messageBox(const QString& text, const QString& title) override;
    void popupMenu(QMenu& menu, const QPoint& globalPos) override;

    const std::vector<Shown>& shown() const { return shown_; }
    // The shown dialogs of one kind, in order.
    std::vector<Shown> shown(Kind kind) const;
    // The last message box shown (fails the test when there was none).
    Shown lastMessage() const;
    int pending() const { return int(answers_.size()); }
    void clear() { answers_.clear(); shown_.clear(); }

private:
    struct Answer {
        Kind kind;
        QString text;
        std::optional<ColorRef> color;
    };
    void push(Kind kind, const QString& text, std::optional<ColorRef> color = std::nullopt) { answers_.push_back({kind, text, color}); }
    std::optional<Answer> take(Kind kind, const Shown& shown);

    std::deque<Answer> answers_;
    std::vector<Shown> shown_;
};
