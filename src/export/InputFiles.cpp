// Reading object and workspace files for the tool, with the window's messages.
#include "export/InputFiles.h"

#include "files/FileCommands.h"
#include "files/FileRecord.h"

#include <QFileInfo>

QString holdsNothingText(const QString& path, int Ftype)
{
    return QStringLiteral("The file \"%1\" holds no %2.").arg(path, Ftype == ObjectFileType ? QStringLiteral("object") : QStringLiteral("workspace"));
}

std::variant<InputFile, Failure> readInputFile(const QString& path)
{
    if (!QFileInfo::exists(path))
        return Failure{Failure::Kind::Input, notFoundText(path)};
    const filerecord::Decoded record = filerecord::readFile(path);
    InputFile file;
    const ReadResult asObject = readObjectFile(record, file.object);
    if (asObject == ReadResult::Loaded) {
        file.kind = InputFile::Kind::Object;
        return file;
    }
    if (asObject == ReadResult::NothingRead)
        return file;
    if (readWorkspaceFile(record, file.workspace) == ReadResult::Loaded) {
        file.kind = InputFile::Kind::Workspace;
        return file;
    }
    const bool workspace = path.endsWith(QLatin1String(".wks"), Qt::CaseInsensitive);
    return Failure{Failure::Kind::Input, formatErrorText(workspace ? WorkspaceFileType : ObjectFileType)};
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
        return Failure{Failure::Kind::Input, formatErrorText(ObjectFileType)};
    return Failure{Failure::Kind::Input, holdsNothingText(path, ObjectFileType)};
}
