// The real dialogs of the program, built on Qt's standard dialogs.
#pragma once

#include "platform/Dialogs.h"

class QDialog;
class QMenu;
class QPoint;
class QWidget;

// What a window adds to the session's dialogs: a menu popped up at a place of the screen,
// shown until an item is chosen (its action triggered) or it is closed.
class MenuPopups {
public:
    virtual ~MenuPopups() = default;
    virtual void popupMenu(QMenu& menu, const QPoint& globalPos) = 0;
};

// Each dialog is set up in full and then handed to run(), the one place that waits for the
// user; a subclass may run a dialog differently (a test inspects and answers it instead).
class QtDialogs : public Dialogs, public MenuPopups {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    std::optional<ColorRef> showColor(ColorRef current) override;
    QString showOpen(const QString& filter, const QString& initDir) override;
    QString showSave(const QString& filter, const QString& initDir) override;
    QString inputBox(const QString& prompt, const QString& title) override;
    void messageBox(const QString& text, const QString& title) override;
    void popupMenu(QMenu& menu, const QPoint& globalPos) override;

protected:
    // Shows the dialog modally and returns its result (QDialog::Accepted or Rejected).
    virtual int run(QDialog& dialog);
    // Shows the pop-up menu at the screen position until an item is chosen or it is closed.
    virtual void run(QMenu& menu, const QPoint& globalPos);

private:
    QString showFile(const QString& filter, const QString& initDir, bool save);
    QWidget* parent_;
};
