// Starts the program: one main window with the real dialogs and the per-user settings store,
// opening the file named on the command line.
#include "platform/ProgramNames.h"
#include "window/QtDialogs.h"
#include "window/frmMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    nameProgram();
    QtDialogs dialogs;
    QtSettingsStore settings;
    frmMain window(dialogs, dialogs, settings);
    dialogs.setParent(&window);
    window.start();
    window.openArguments(QCoreApplication::arguments().mid(1));
    return app.exec();
}
