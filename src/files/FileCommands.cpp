// Open and save: the four File menu commands and the two procedures every opening and
// saving passes through.
#include "files/FileCommands.h"

#include "files/AtomicWrite.h"
#include "platform/ProgramNames.h"
#include "views/Rendering.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kObjectFilter = QStringLiteral("Object Files (*%1)|*%1").arg(ObjectFileExtension);

void tellFormatError(FilesContext& ctx, int Ftype)
{
    ctx.views.dialogs.MsgBox(formatErrorText(Ftype), formatErrorTitle(Ftype));
}

void tellNotSaved(FilesContext& ctx, const QString& path, const QString& reason)
{
    ctx.views.dialogs.MsgBox(notSavedText(path, reason));
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
    return ShowObject(ctx, std::move(values), Fname) ? OpenOutcome::LoadedNotDrawn : OpenOutcome::Loaded;
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
    ApplyWorkspace(ctx, values);
    return OpenOutcome::Loaded;
}

// Sets up the shared file dialog and shows it; the confirmed path, or empty text.
QString askForPath(FilesContext& ctx, const QString& filter, const QString& folder, bool forSaving)
{
    ctx.cdlOpen.Filter = filter;
    ctx.cdlOpen.InitDir = folder;
    if (forSaving)
        ctx.cdlOpen.ShowSave();
    else
        ctx.cdlOpen.ShowOpen();
    return ctx.cdlOpen.FileName;
}

} // namespace

QString formatErrorText(int Ftype)
{
    return Ftype == ObjectFileType ? QStringLiteral("There was an error in the format of the Object file")
                                   : QStringLiteral("There was an error in the format of the Workspace file");
}

QString formatErrorTitle(int Ftype)
{
    return (Ftype == ObjectFileType ? QStringLiteral("Object File Format Error") : QStringLiteral("Workspace File Format Error"))
        .toUpper();
}

QString notFoundText(const QString& path) { return QStringLiteral("The file \"%1\" cannot be found.").arg(path); }

QString notSavedText(const QString& path, const QString& reason)
{
    return QStringLiteral("The file \"%1\" could not be saved: %2.").arg(path, reason);
}

Refusal ShowObject(FilesContext& ctx, ObjectFileValues values, const QString& Fname)
{
    WorkspaceState& s = ctx.views.state;
    s.PointCount = values.PointCount;
    s.pPoints = std::move(values.points);
    s.Dimension = values.Dimension;
    s.GridState = values.GridState;
    s.Depth = values.Depth;
    ctx.caption = WindowCaption + QStringLiteral("  [") + Fname + QLatin1Char(']');
    return s.Dimension == 3 ? DrawObject3D(ctx.views) : DrawObject2D(ctx.views);
}

void ApplyWorkspace(FilesContext& ctx, const WorkspaceFileValues& values)
{
    ctx.views.cdlDrawing.Color = values.LinesC;
    ctx.views.cdlColorGrid.Color = values.GridLinesC;
    ctx.views.cdlGridBg.Color = values.GridBGC;
    ctx.views.cdl3dObject.Color = values.ObjColor;
    ctx.views.state.PointRadius = values.Radius;
    ctx.views.state.GridState = values.GridState;
}

OpenOutcome OpenFile(FilesContext& ctx, const QString& Fname, int Ftype)
{
    if (Ftype != ObjectFileType && Ftype != WorkspaceFileType)
        return OpenOutcome::Nothing;
    if (!QFileInfo::exists(Fname)) {
        ctx.views.dialogs.MsgBox(notFoundText(Fname));
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

namespace {
// What both open menus do with the path their dialog gave (empty: cancelled).
void openChosen(FilesContext& ctx, const QString& chosen, int Ftype)
{
    ctx.views.state.CurrentFilePath = chosen;
    if (!chosen.isEmpty())
        OpenFile(ctx, chosen, Ftype);
}
} // namespace

void OpenNamedFile(FilesContext& ctx, const QString& path)
{
    if (path.isEmpty())
        return;
    const bool workspace = path.endsWith(WorkspaceFileExtension, Qt::CaseInsensitive);
    openChosen(ctx, QFileInfo(path).absoluteFilePath(), workspace ? WorkspaceFileType : ObjectFileType);
}

void mnuOpen_Click(FilesContext& ctx)
{
    openChosen(ctx, askForPath(ctx, kObjectFilter, ctx.views.state.ObjectsFolder, false), ObjectFileType);
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
    // The description says Object Files; the pattern is that of workspaces.
    openChosen(ctx, askForPath(ctx, QStringLiteral("Object Files (*%1)|*%1").arg(WorkspaceFileExtension), ctx.views.state.WorkspacesFolder, false),
               WorkspaceFileType);
}

void mnuSaveWork_Click(FilesContext& ctx)
{
    const QString path = askForPath(ctx, QStringLiteral("Workspace Files (*%1)|*%1").arg(WorkspaceFileExtension),
                                    ctx.views.state.WorkspacesFolder, true);
    if (!path.isEmpty())
        SaveFile(ctx, path, WorkspaceFileType);
}
