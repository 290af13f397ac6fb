// Reads a folder's matching files into the list.
#include "platform/FileList.h"

#include <QDir>

void FileList::setPath(const QString& folder)
{
    path_ = folder;
    Refresh();
}

void FileList::Refresh()
{
    const QDir dir(path_);
    entries_ = path_.isEmpty() || !dir.exists()
        ? QStringList()
        : dir.entryList({pattern_}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name | QDir::IgnoreCase);
}
