// Replacing a file as a whole: the new bytes go to a temporary file beside it, which is
// renamed over it only once complete, so that the file never holds half of them.
#pragma once

#include <QByteArray>
#include <QString>

// Writes bytes to a temporary file of a short name beside path and renames it over path only
// once it is complete and flushed to disk, so that path holds either its old contents or
// exactly bytes. A symbolic link is kept and the file it points to replaced (a loop of links
// is refused); the new file keeps the old one's permissions. replaceReadOnly: a read-only
// file at path is replaced too, by one its owner may write. False with *why (a phrase to
// follow a colon: the system's reason, such as "No space left on device") set when nothing
// was written. Called by SaveFile and by the command-line tool for every output.
bool writeAtomically(const QString& path, const QByteArray& bytes, bool replaceReadOnly, QString* why);
