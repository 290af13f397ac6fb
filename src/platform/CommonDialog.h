// A common dialog object: the file dialog of the File menu or one of the colour dialogs,
// each of which keeps its current colour between uses.
#pragma once

#include "platform/Dialogs.h"

// Holds the members the program sets and reads around a modal chooser shown by Dialogs.
// Invariant: Color is the dialog's current colour; a cancelled chooser leaves it unchanged.
class CommonDialog {
public:
    CommonDialog(Dialogs& dialogs, ColorRef initialColor = 0) : Color(initialColor), dialogs_(dialogs) {}

    ColorRef Color;
    QString Filter;
    QString InitDir;
    QString FileName;

    void ShowColor();
    void ShowOpen() { FileName = dialogs_.showOpen(Filter, InitDir); }
    void ShowSave() { FileName = dialogs_.showSave(Filter, InitDir); }

private:
    Dialogs& dialogs_;
};
