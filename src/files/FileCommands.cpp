// Open and save: the four File menu commands and the two procedures every opening and
// saving passes through.
#include "files/FileCommands.h"

#include "files/ObjectFile.h"
#include "files/WorkspaceFile.h"
#include "views/Rendering.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>

namespace {

const QString kWindowTitle = QStringLiteral("PLANOVEXTRIUM");
const QString kObjectFilter = QStringLiteral("Object Files (*.obj)|*.obj");

void tellFormatError(FilesContext& ctx, int Ftype)
{
    if (Ftype == ObjectFileType)
        ctx.views.dialogs.MsgBox(QStringLiteral("There was an error in the format of the Object file"),
                                 QStringLiteral("Object File Format Error").toUpper());
    else
        ctx.views.dialogs.MsgBox(QStringLiteral("There was an error in the format of the Workspace file"),
                                 QStringLiteral("Workspace File Format Error").toUpper());
}

void tellNotSaved(FilesContext& ctx, const QString& path, const QString& reason)
{
    ctx.views.dialogs.MsgBox(QStringLiteral("The file \"%1\" could not be saved: %2.").arg(path, reason));
}

// A file the user has marked as not to be changed: no write permission for its owner, or
// none for the user running the program.
bool isReadOnly(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && (!(info.permissions() & QFileDevice::WriteOwner) || !info.isWritable());
}

// Writes until every byte is taken or the device refuses more (a short write alone carries
// no error; the next attempt reports it).
bool writeAll(QSaveFile& file, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += qsizetype(written);
    }
    return true;
}

// Writes bytes to a temporary file beside path and renames it over path only once it is
// complete and flushed to disk, so that path holds either its old contents or exactly bytes.
// replaceReadOnly: a read-only file at path is replaced too (it is made writable first and
// left as it was when the save fails). False with *why set when nothing was saved.
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
        const QFileDevice::Permissions permissions = info.permissions();
        if (QFile::setPermissions(path, permissions | QFileDevice::WriteOwner))
            lockedPermissions = permissions;
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && writeAll(file, bytes) && file.commit())
        return true;
    *why = file.error() != QFileDevice::NoError ? file.errorString() : QStringLiteral("the file could not be written completely");
    if (lockedPermissions)
        QFile::setPermissions(path, *lockedPermissions);
    return false;
}

OpenOutcome openObject(FilesContext& ctx, const QString& Fname)
{
    ObjectFileValues values;
    const ReadResult result = readObjectFile(filerecord::readFile(Fname), values);
    if (result == ReadResult::NothingRead)
        return OpenOutcome::Nothing;
    if (result == ReadResult::Malformed) {
        tellFormatError(ctx, ObjectFileType);
        return OpenOutcome::Nothing;
    }
    WorkspaceState& s = ctx.views.state;
    s.PointCount = values.PointCount;
    s.pPoints = std::move(values.points);
    s.Dimension = values.Dimension;
    s.GridState = values.GridState;
    s.Depth = values.Depth;
    ctx.setCaption(kWindowTitle + QStringLiteral("  [") + Fname + QLatin1Char(']'));
    const bool drawn = s.Dimension == 3 ? DrawObject3D(ctx.views) : DrawObject2D(ctx.views);
    return drawn ? OpenOutcome::Loaded : OpenOutcome::LoadedNotDrawn;
}

// Stores the values only: nothing is redrawn and the views keep their background.
OpenOutcome openWorkspace(FilesContext& ctx, const QString& Fname)
{
    WorkspaceFileValues values;
    const ReadResult result = readWorkspaceFile(filerecord::readFile(Fname), values);
    if (result == ReadResult::NothingRead)
        return OpenOutcome::Nothing;
    if (result == ReadResult::Malformed) {
        tellFormatError(ctx, WorkspaceFileType);
        return OpenOutcome::Nothing;
    }
    ctx.views.cdlDrawing.Color = values.LinesC;
    ctx.views.cdlColorGrid.Color = values.GridLinesC;
    ctx.views.cdlGridBg.Color = values.GridBGC;
    ctx.views.cdl3dObject.Color = values.ObjColor;
    ctx.views.state.PointRadius = values.Radius;
    ctx.views.state.GridState = values.GridState;
    return OpenOutcome::Loaded;
}

// Sets up the shared file dialog and shows it; the confirmed path, or empty text.
QString askForPath(FilesContext& ctx, const QString& filter, const QString& folder, bool forSaving)
{
    ctx.cdlOpen.CancelError = false;
    ctx.cdlOpen.Filter = filter;
    ctx.cdlOpen.InitDir = folder;
    if (forSaving)
        ctx.cdlOpen.ShowSave();
    else
        ctx.cdlOpen.ShowOpen();
    return ctx.cdlOpen.FileName;
}

} // namespace

OpenOutcome OpenFile(FilesContext& ctx, const QString& Fname, int Ftype)
{
    if (Ftype != ObjectFileType && Ftype != WorkspaceFileType)
        return OpenOutcome::Nothing;
    if (!QFileInfo::exists(Fname)) {
        ctx.views.dialogs.MsgBox(QStringLiteral("The file \"%1\" cannot be found.").arg(Fname));
        return OpenOutcome::Nothing;
    }
    return Ftype == ObjectFileType ? openObject(ctx, Fname) : openWorkspace(ctx, Fname);
}

bool SaveFile(FilesContext& ctx, const QString& Fname, int Ftype)
{
    QString why;
    if (Ftype == ObjectFileType) {
        if (!writeAtomically(Fname, writeObjectFile(ctx.views.state), false, &why)) {
            tellNotSaved(ctx, Fname, why);
            return false;
        }
        AddRecentFile(ctx, Fname);
        return true;
    }
    if (Ftype == WorkspaceFileType) {
        WorkspaceFileValues values;
        values.LinesC = ctx.views.cdlDrawing.Color;
        values.GridLinesC = ctx.views.cdlColorGrid.Color;
        values.GridBGC = ctx.views.cdlGridBg.Color;
        values.ObjColor = ctx.views.cdl3dObject.Color;
        values.Radius = ctx.views.state.PointRadius;
        values.GridState = ctx.views.state.GridState;
        if (!writeAtomically(Fname, writeWorkspaceFile(values), true, &why)) {
            tellNotSaved(ctx, Fname, why);
            return false;
        }
        return true;
    }
    return false;
}

void mnuOpen_Click(FilesContext& ctx)
{
    WorkspaceState& s = ctx.views.state;
    s.CurrentFilePath = askForPath(ctx, kObjectFilter, s.ObjectsFolder, false);
    if (!s.CurrentFilePath.isEmpty())
        OpenFile(ctx, s.CurrentFilePath, ObjectFileType);
}

// A failed save leaves SaveObjectPath as it was.
void mnuSave_Click(FilesContext& ctx)
{
    WorkspaceState& s = ctx.views.state;
    const QString previous = s.SaveObjectPath;
    s.SaveObjectPath = askForPath(ctx, kObjectFilter, s.ObjectsFolder, true);
    if (!s.SaveObjectPath.isEmpty() && !SaveFile(ctx, s.SaveObjectPath, ObjectFileType))
        s.SaveObjectPath = previous;
}

void mnuOpenWork_Click(FilesContext& ctx)
{
    WorkspaceState& s = ctx.views.state;
    // The description says Object Files; the pattern is that of workspaces.
    s.CurrentFilePath = askForPath(ctx, QStringLiteral("Object Files (*.wks)|*.wks"), s.WorkspacesFolder, false);
    if (!s.CurrentFilePath.isEmpty())
        OpenFile(ctx, s.CurrentFilePath, WorkspaceFileType);
}

void mnuSaveWork_Click(FilesContext& ctx)
{
    const QString path = askForPath(ctx, QStringLiteral("Workspace Files (*.wks)|*.wks"), ctx.views.state.WorkspacesFolder, true);
    if (!path.isEmpty())
        SaveFile(ctx, path, WorkspaceFileType);
}

QString literalCaption(const QString& text)
{
    QString doubled = text;
    return doubled.replace(QLatin1Char('&'), QStringLiteral("&&"));
}
