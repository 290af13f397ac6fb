// Starts the program: one main window with the real dialogs and the per-user settings store.
#include "window/QtDialogs.h"
#include "window/frmMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(AppTitle);
    QtDialogs dialogs;
    QtSettingsStore settings;
    frmMain window(dialogs, dialogs, settings);
    dialogs.setParent(&window);
    window.start();
    return app.exec();
}
