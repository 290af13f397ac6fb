// Starts the program: one main window with the real dialogs and the per-user settings store.
#include "app/frmMain.h"
#include "platform/QtDialogs.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(AppTitle);
    QtDialogs dialogs;
    QtSettingsStore settings;
    frmMain window(dialogs, settings);
    dialogs.setParent(&window);
    window.start();
    return app.exec();
}
