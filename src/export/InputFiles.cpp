// Reading object and workspace files for the tool, with the reasons its messages give.
#include "export/InputFiles.h"

#include "files/FileCommands.h"
#include "files/FileRecord.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Far more than the largest object file (32767 points, each a short text), any workspace or
// any script a user would run.
constexpr qsizetype MostInputBytes = 64 * 1024 * 1024;

QString systemReason() { return QString::fromLocal8Bit(std::strerror(errno)); }

bool closedStreams[3] = {false, false, false};

// Standard input and the other inputs that are no regular file as first read, by path: a
// run may need the same input twice (checked, then opened), and a pipe gives its bytes once.
// Guarded by readOnceLock, as the tool's batch export reads inputs on several threads.
std::map<QString, QByteArray> readOnce;
std::mutex readOnceLock;

} // namespace

QString holdsNothingText(const QString& path, int Ftype)
{
    return QStringLiteral("The file \"%1\" holds no %2.").arg(path, Ftype == ObjectFileType ? QStringLiteral("object") : QStringLiteral("workspace"));
}

QString inputName(const QString& path) { return path == QLatin1String("-") ? QStringLiteral("standard input") : path; }

Failure inputFailure(const QString& path, const QString& reason)
{
    return Failure{Failure::Kind::Input, QStringLiteral("%1: %2").arg(inputName(path), reason)};
}

void guardStandardStreams()
{
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        closedStreams[fd] = true;
        const int opened = ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
}

bool standardStreamClosed(int fd) { return fd >= STDIN_FILENO && fd <= STDERR_FILENO && closedStreams[fd]; }

std::optional<QByteArray> readWholeInput(const QString& path, QString* why, InputContents contents)
{
    const bool standardInput = path == QLatin1String("-");
    if (standardInput && standardStreamClosed(STDIN_FILENO)) {
        *why = QStringLiteral("is closed");
        return std::nullopt;
    }
    {
        const std::lock_guard lock(readOnceLock);
        if (const auto read = readOnce.find(path); read != readOnce.end())
            return read->second;
    }
    const int fd = standardInput ? STDIN_FILENO : ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    struct stat status {};
    if (fd < 0 || ::fstat(fd, &status) != 0) {
        *why = systemReason();
        return std::nullopt;
    }
    QByteArray bytes;
    QString reason;
    if (S_ISDIR(status.st_mode)) {
        reason = QStringLiteral("is a folder");
    } else {
        char chunk[65536];
        for (;;) {
            const ssize_t got = ::read(fd, chunk, sizeof chunk);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                reason = systemReason();
                break;
            }
            if (got == 0)
                break;
            if (bytes.size() + got > MostInputBytes) {
                reason = QStringLiteral("is larger than any %1 the tool takes (%2 MiB)")
                             .arg(contents == InputContents::Script    ? QStringLiteral("script")
                                  : contents == InputContents::Drawing ? QStringLiteral("drawing")
                                                                       : QStringLiteral("object or workspace file"))
                             .arg(MostInputBytes >> 20);
                break;
            }
            bytes.append(chunk, qsizetype(got));
        }
    }
    if (!standardInput)
        ::close(fd);
    if (reason.isEmpty() && (standardInput || !S_ISREG(status.st_mode))) {
        const std::lock_guard lock(readOnceLock);
        readOnce[path] = bytes;
    }
    if (reason.isEmpty())
        return bytes;
    *why = reason;
    return std::nullopt;
}

std::variant<InputFile, Failure> readInputFile(const QString& path)
{
    QString why;
    const std::optional<QByteArray> bytes = readWholeInput(path, &why);
    if (!bytes)
        return inputFailure(path, why);
    const filerecord::Decoded record = filerecord::decode(*bytes);
    InputFile file;
    QString objectWhy, workspaceWhy;
    const ReadResult asObject = readObjectFile(record, file.object, &objectWhy);
    if (asObject == ReadResult::Loaded) {
        file.kind = InputFile::Kind::Object;
        return file;
    }
    if (asObject == ReadResult::NothingRead)
        return file;
    if (readWorkspaceFile(record, file.workspace, &workspaceWhy) == ReadResult::Loaded) {
        file.kind = InputFile::Kind::Workspace;
        return file;
    }
    if (path.endsWith(WorkspaceFileExtension, Qt::CaseInsensitive))
        return inputFailure(path, QStringLiteral("not a workspace file: ") + workspaceWhy);
    return inputFailure(path, QStringLiteral("not an object file: ") + objectWhy);
}

std::variant<ObjectFileValues, Failure> readObjectInput(const QString& path)
{
    std::variant<InputFile, Failure> read = readInputFile(path);
    if (Failure* failure = std::get_if<Failure>(&read))
        return *failure;
    InputFile& file = std::get<InputFile>(read);
    if (file.kind == InputFile::Kind::Object)
        return std::move(file.object);
    if (file.kind == InputFile::Kind::Workspace)
        return inputFailure(path, QStringLiteral("is a workspace file, not an object"));
    return inputFailure(path, QStringLiteral("holds no object"));
}

std::variant<WorkspaceFileValues, Failure> readWorkspaceInput(const QString& path)
{
    std::variant<InputFile, Failure> read = readInputFile(path);
    if (const Failure* failure = std::get_if<Failure>(&read))
        return *failure;
    switch (std::get<InputFile>(read).kind) {
    case InputFile::Kind::Workspace: return std::get<InputFile>(read).workspace;
    case InputFile::Kind::Object: return inputFailure(path, QStringLiteral("is an object file, not a workspace"));
    case InputFile::Kind::Nothing: break;
    }
    return inputFailure(path, QStringLiteral("holds no workspace"));
}
