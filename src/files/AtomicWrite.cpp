// Replacing a file as a whole through a temporary file beside it.
#include "files/AtomicWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>

namespace {

// A file the user has marked as not to be changed: no write permission for its owner, or
// none for the user running the program.
bool isReadOnly(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && (!(info.permissions() & QFileDevice::WriteOwner) || !info.isWritable());
}

} // namespace

bool writeAtomically(const QString& path, const QByteArray& bytes, bool replaceReadOnly, QString* why)
{
    const QFileInfo info(path);
    if (!info.absoluteDir().exists()) {
        *why = QStringLiteral("the folder \"%1\" does not exist").arg(QDir::toNativeSeparators(info.absolutePath()));
        return false;
    }
    if (info.isDir()) {
        *why = QStringLiteral("a folder of that name is there");
        return false;
    }
    std::optional<QFileDevice::Permissions> lockedPermissions;
    if (isReadOnly(path)) {
        if (!replaceReadOnly) {
            *why = QStringLiteral("the file is read-only");
            return false;
        }
        // Only the owner, group and other bits: the "user" flags describe the running user's
        // access (all of it for root) and would be written back as the owner's.
        const QFileDevice::Permissions permissions = info.permissions()
            & ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
        if (QFile::setPermissions(path, permissions | QFileDevice::WriteOwner))
            lockedPermissions = permissions;
    }
    QSaveFile file(path);
    // A short write is a failure (the device took what it could and refused the rest). The
    // flush must succeed before the commit: bytes still buffered then could fail unreported.
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(bytes) == bytes.size() && file.flush() && file.commit())
        return true;
    *why = file.error() != QFileDevice::NoError ? file.errorString() : QStringLiteral("the file could not be written completely");
    if (lockedPermissions)
        QFile::setPermissions(path, *lockedPermissions);
    return false;
}

