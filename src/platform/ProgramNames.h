// The program's names: the one its message boxes and settings use, and its window's caption.
#pragma once

#include <QCoreApplication>
#include <QString>

// The application name: the default message box title and the settings' application key.
inline const QString AppTitle = QStringLiteral("Brondelwick");

// The name of the program's files: its executable, its desktop entry and its per-user data
// folder (~/.local/share/brondelwick).
inline const QString ProgramName = QStringLiteral("brondelwick");

// Gives Qt the program's names as the program starts: the application name ProgramName and no
// organisation, which together name the per-user data folder.
inline void nameProgram()
{
    QCoreApplication::setOrganizationName(QString());
    QCoreApplication::setApplicationName(ProgramName);
}

// The main window's caption before start-up, and the start of every caption after it.
inline const QString WindowCaption = QStringLiteral("PLANOVEXTRIUM");
