// Opening and saving objects and workspaces, the browser buttons and the recent files.
#pragma once

#include "files/FilesContext.h"

// Ftype 0: object file; 1: workspace file.
void OpenFile(FilesContext& ctx, const QString& Fname, int Ftype);
void SaveFile(FilesContext& ctx, const QString& Fname, int Ftype);

void mnuOpen_Click(FilesContext& ctx);
void mnuSave_Click(FilesContext& ctx);
void mnuOpenWork_Click(FilesContext& ctx);
void mnuSaveWork_Click(FilesContext& ctx);

void FillObjectButtons(FilesContext& ctx);
void FillWorkspaceButtons(FilesContext& ctx);
void CmdObj_Click(FilesContext& ctx, int index);
void CmdWrk_Click(FilesContext& ctx, int index);

void LoadRecentMenu(FilesContext& ctx);
bool FindRecentFile(FilesContext& ctx, const QString& path);
void AddRecentFile(FilesContext& ctx, const QString& path);
void mnuRecent_Click(FilesContext& ctx, int index);
