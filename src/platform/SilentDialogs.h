// Dialogs of a window nobody sees: the command-line tool's headless session, the benchmarks
// and the command fuzzer.
#pragma once

#include "platform/Dialogs.h"

#include <vector>

// Every question is answered as if cancelled and every pop-up menu closes unchosen; every
// message box is kept, in order, with its title, for the owner to report or count.
class SilentDialogs : public Dialogs {
public:
    struct Message {
        QString text, title;
    };

    std::optional<ColorRef> showColor(ColorRef) override { return std::nullopt; }
    QString showOpen(const QString&, const QString&) override { return {}; }
    QString showSave(const QString&, const QString&) override { return {}; }
    QString inputBox(const QString&, const QString&) override { return {}; }
    void messageBox(const QString& text, const QString& title) override { messages.push_back({text, title}); }
    void popupMenu(QMenu&, const QPoint&) override {}

    std::vector<Message> messages;
};
