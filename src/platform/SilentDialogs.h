// Dialogs of a session nobody sees: the command-line tool's, the benchmarks' and the fuzzers'.
#pragma once

#include "platform/Dialogs.h"

// Every question is answered as if cancelled; message boxes show nowhere (the actions that
// show them give their refusal to the caller).
class SilentDialogs : public Dialogs {
public:
    std::optional<ColorRef> showColor(ColorRef) override { return std::nullopt; }
    QString showOpen(const QString&, const QString&) override { return {}; }
    QString showSave(const QString&, const QString&) override { return {}; }
    QString inputBox(const QString&, const QString&) override { return {}; }
    void messageBox(const QString&, const QString&) override {}
};
