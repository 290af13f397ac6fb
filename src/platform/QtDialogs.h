// The real dialogs of the program, built on Qt's standard dialogs.
#pragma once

#include "platform/Dialogs.h"

class QWidget;

class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    std::optional<ColorRef> showColor(ColorRef current) override;
    QString showOpen(const QString& filter, const QString& initDir) override;
    QString showSave(const QString& filter, const QString& initDir) override;
    QString inputBox(const QString& prompt, const QString& title) override;
    void messageBox(const QString& text, const QString& title) override;
    void popupMenu(QMenu& menu, const QPoint& globalPos) override;

private:
    QString showFile(const QString& filter, const QString& initDir, bool save);
    QWidget* parent_;
};
