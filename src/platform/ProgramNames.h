// The program's names: the one its message boxes and settings use, and its window's caption.
#pragma once

#include <QString>

// The application name: the default message box title, the settings' application key and
// the name the program gives Qt.
inline const QString AppTitle = QStringLiteral("Brondelwick");

// The main window's caption before start-up, and the start of every caption after it.
inline const QString WindowCaption = QStringLiteral("PLANOVEXTRIUM");
