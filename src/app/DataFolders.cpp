// The choice of the Objects and Workspaces folders at start-up, and their making.
#include "app/DataFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

DataFolders chooseDataFolders(const QString& programFolder, bool programFolderWritable, const QString& userDataFolder)
{
    const QString base = programFolderWritable ? programFolder : userDataFolder;
    if (base.isEmpty())
        return {};
    return {QDir::toNativeSeparators(base + QStringLiteral("/Objects")), QDir::toNativeSeparators(base + QStringLiteral("/Workspaces"))};
}

QString userDataFolder() { return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation); }

DataFolders locateDataFolders(const QString& programFolder)
{
    const QFileInfo folder(programFolder);
    return chooseDataFolders(programFolder, folder.isDir() && folder.isWritable(), userDataFolder());
}

bool makeDataFolders(const DataFolders& folders)
{
    const bool objects = QDir().mkpath(folders.objects);
    return QDir().mkpath(folders.workspaces) && objects;
}
