// Reads a folder's matching files into the list.
#include "platform/FileList.h"

#include <QDir>

void FileList::setPath(const QString& folder)
{
    path_ = folder;
    Refresh();
}

// Regular files only (links to them included): a pipe, socket or device named like an
// object file is nothing the program can open.
void FileList::Refresh()
{
    entries_.clear();
    const QDir dir(path_);
    if (path_.isEmpty() || !dir.exists())
        return;
    for (const QFileInfo& entry : dir.entryInfoList({pattern_}, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase))
        if (entry.isFile())
            entries_ << entry.fileName();
}
