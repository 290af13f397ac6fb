// The modal dialogs the program talks to the user through, and the modal pop-up menu.
// Only implementations of this interface may open a dialog or run a menu modally.
#pragma once

#include "platform/Color.h"
#include "platform/ProgramNames.h"

#include <QPoint>
#include <QString>
#include <optional>

class QMenu;


class Dialogs {
public:
    virtual ~Dialogs() = default;

    // The colour chooser, offering `current`; the chosen colour, or nullopt after a cancel.
    virtual std::optional<ColorRef> showColor(ColorRef current) = 0;
    // The file chooser for opening or saving. `filter` is a description, a vertical bar and a
    // pattern. Neither asks before overwriting, insists that the file exists or adds an
    // extension. Gives the full path confirmed, or empty text after a cancel.
    virtual QString showOpen(const QString& filter, const QString& initDir) = 0;
    virtual QString showSave(const QString& filter, const QString& initDir) = 0;
    // An input box with an empty text field; the typed text, or empty text after Cancel.
    virtual QString inputBox(const QString& prompt, const QString& title) = 0;
    // A message box with an OK button only and no icon. The text may hold CR LF breaks.
    virtual void messageBox(const QString& text, const QString& title) = 0;
    // Shows `menu` as a modal pop-up at a global screen position; returns when it closes,
    // after any chosen item has been triggered.
    virtual void popupMenu(QMenu& menu, const QPoint& globalPos) = 0;

    // A message box titled with the application title unless a title is given.
    void MsgBox(const QString& text, const QString& title = AppTitle) { messageBox(text, title); }
};
