// Replacing a file as a whole through a temporary file beside it.
#include "files/AtomicWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// As many links as the system follows in one name before it gives up with ELOOP.
constexpr int MostLinks = 40;

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// A file the user has marked as not to be changed: no write permission for its owner, or
// none for the user running the program.
bool isReadOnly(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && (!(info.permissions() & QFileDevice::WriteOwner) || !info.isWritable());
}

// The file a path stands for once its symbolic links are followed (a link to a missing file:
// that file, to be made); nullopt for a loop or a chain longer than the system follows.
std::optional<QString> linkTarget(const QString& path)
{
    QString target = path;
    for (int links = 0; QFileInfo(target).isSymLink(); ++links) {
        if (links == MostLinks)
            return std::nullopt;
        target = QFileInfo(target).symLinkTarget();
    }
    return target;
}

// Creates a new file of a short name in folder (so that it fits whatever the length of the
// name it replaces), open for writing; its name in *name. -1 with errno set on failure.
int createTemporary(const QString& folder, QString* name)
{
    static const char Letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString candidate = QStringLiteral(".brondelwick-");
        for (int i = 0; i < 8; ++i)
            candidate += QLatin1Char(Letters[QRandomGenerator::global()->bounded(int(sizeof Letters - 1))]);
        *name = QDir(folder).filePath(candidate);
        const int fd = ::open(QFile::encodeName(*name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Writes all of bytes to fd and flushes them to disk; 0 or the errno of the failure.
int writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return wrote < 0 ? errno : EIO;
        done += wrote;
    }
    return ::fsync(fd) == 0 ? 0 : errno;
}

} // namespace

bool writeAtomically(const QString& path, const QByteArray& bytes, bool replaceReadOnly, QString* why)
{
    const std::optional<QString> target = linkTarget(path);
    if (!target) {
        *why = systemReason(ELOOP);
        return false;
    }
    const QFileInfo info(*target);
    if (!info.absoluteDir().exists()) {
        *why = QStringLiteral("the folder \"%1\" does not exist").arg(QDir::toNativeSeparators(info.absolutePath()));
        return false;
    }
    if (info.isDir()) {
        *why = QStringLiteral("a folder of that name is there");
        return false;
    }
    const bool readOnly = isReadOnly(*target);
    if (readOnly && !replaceReadOnly) {
        *why = QStringLiteral("the file is read-only");
        return false;
    }
    struct stat existing {};
    const bool exists = ::stat(QFile::encodeName(*target).constData(), &existing) == 0;
    QString temporary;
    const int fd = createTemporary(info.absolutePath(), &temporary);
    if (fd < 0) {
        *why = systemReason(errno);
        return false;
    }
    // The new file takes the old one's permissions; a read-only one replaced becomes the
    // owner's to write, as the user who replaced it expects.
    int error = exists && ::fchmod(fd, (existing.st_mode & 0777) | (readOnly ? S_IWUSR : 0)) != 0 ? errno : 0;
    if (error == 0)
        error = writeAll(fd, bytes);
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(*target).constData()) != 0)
        error = errno;
    if (error == 0)
        return true;
    ::unlink(QFile::encodeName(temporary).constData());
    *why = systemReason(error);
    return false;
}
