// Opening and saving objects and workspaces, the browser buttons and the recent files.
#pragma once

#include "files/FilesContext.h"
#include "files/ObjectFile.h"
#include "files/WorkspaceFile.h"

// File kinds as OpenFile and SaveFile take them.
constexpr int ObjectFileType = 0;
constexpr int WorkspaceFileType = 1;

// What OpenFile did. Nothing: the state is as it was (cancelled, missing, empty or malformed
// file; the user has been told where there was something to tell). Loaded: the file's values
// are in the state and, for an object, drawn. LoadedNotDrawn: an object was loaded but its
// drawing refused it (the drawing has told the user).
enum class OpenOutcome { Nothing, Loaded, LoadedNotDrawn };

// Opens the file at the full path Fname as an object (Ftype 0) or workspace (Ftype 1): all
// or nothing, an object then drawn flat or extruded by its Dimension and named in the
// window caption. Called by the open menus, the browser buttons and the recent items.
OpenOutcome OpenFile(FilesContext& ctx, const QString& Fname, int Ftype);
// What opening does with an object file's values once they are read: into the state, Fname
// into the caption, then drawn flat or extruded by their Dimension; gives the drawing's
// refusal. Called by OpenFile and by the tool, which reads its files itself.
Refusal ShowObject(FilesContext& ctx, ObjectFileValues values, const QString& Fname);
// What opening does with a workspace file's values: into the colour dialogs and the state;
// nothing is redrawn. Called by OpenFile and by the tool.
void ApplyWorkspace(FilesContext& ctx, const WorkspaceFileValues& values);
// Writes the current object (Ftype 0) or workspace settings (Ftype 1) to Fname, replacing
// any file there only once the new one is complete; a saved object enters the recent list.
// False when nothing was saved; the user has then been told why. Called by the save menus.
bool SaveFile(FilesContext& ctx, const QString& Fname, int Ftype);

// Opens a file named on the program's command line as File > Open Workspace (a name ending
// in .wks, in any case) or File > Open Object (any other name) opens the file chosen in its
// dialog, with the same messages; a relative name is taken from the current folder. An
// empty name does nothing.
void OpenNamedFile(FilesContext& ctx, const QString& path);

// File > Open Object, Save Object, Open Workspace, Save Workspace.
void mnuOpen_Click(FilesContext& ctx);
void mnuSave_Click(FilesContext& ctx);
void mnuOpenWork_Click(FilesContext& ctx);
void mnuSaveWork_Click(FilesContext& ctx);

// The browser: one button per entry of the file list, at most 16; a click marks its button
// and opens its file. Filled at start-up and (objects) after a new object is saved.
void FillObjectButtons(FilesContext& ctx);
void FillWorkspaceButtons(FilesContext& ctx);
void CmdObj_Click(FilesContext& ctx, int index);
void CmdWrk_Click(FilesContext& ctx, int index);

// The recent-files list in the settings store and the File > Recent Files items.
void LoadRecentMenu(FilesContext& ctx);
bool FindRecentFile(FilesContext& ctx, const QString& path);
void AddRecentFile(FilesContext& ctx, const QString& path);
void mnuRecent_Click(FilesContext& ctx, int index);

// The texts the file commands tell the user, shared with the command-line tool so that it
// says exactly what the window says. Ftype as for OpenFile; reason as writeAtomically gives it.
QString formatErrorText(int Ftype);
QString formatErrorTitle(int Ftype);
QString notFoundText(const QString& path);
QString notSavedText(const QString& path, const QString& reason);
