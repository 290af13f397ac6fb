// The modal dialogs the program talks to the user through. Only implementations of this
// interface may open a dialog.
#pragma once

#include "platform/Color.h"
#include "platform/ProgramNames.h"

#include <QString>
#include <optional>

// What an action the user may be refused gives: nothing when it went ahead, else the message
// it told the user.
using Refusal = std::optional<QString>;

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

    // A message box titled with the application title unless a title is given.
    void MsgBox(const QString& text, const QString& title = AppTitle) { messageBox(text, title); }
    // Tells the user why an action was refused, as MsgBox does, and gives that refusal.
    Refusal refuse(const QString& text, const QString& title = AppTitle)
    {
        messageBox(text, title);
        return text;
    }
};
