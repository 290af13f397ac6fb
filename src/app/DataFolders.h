// Where the program keeps its object and workspace files: beside the program when its folder
// is writable (a build folder, a portable copy), else in the user's own data folder.
#pragma once

#include <QString>

// The Objects and Workspaces folders of a session. Empty paths: a session that keeps no
// files (the tool's), whose browser lists nothing.
struct DataFolders {
    QString objects;
    QString workspaces;

    bool operator==(const DataFolders&) const = default;
};

// The rule itself: Objects and Workspaces in programFolder when it is writable, in
// userDataFolder when it is not (none when that is empty: no home folder). Paths with native
// separators.
DataFolders chooseDataFolders(const QString& programFolder, bool programFolderWritable, const QString& userDataFolder);

// The user's own data folder for the program: AppDataLocation under the application name
// nameProgram() gives (~/.local/share/brondelwick on Linux).
QString userDataFolder();

// The rule applied to programFolder as the file system finds it.
DataFolders locateDataFolders(const QString& programFolder);

// Makes both folders (and the folders above them) where they are missing. False when one
// could not be made; the session then lists what there is, as with any unreadable folder.
bool makeDataFolders(const DataFolders& folders);
