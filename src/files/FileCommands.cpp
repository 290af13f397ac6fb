// Open and save, the browser and the recent files.
#include "files/FileCommands.h"

void OpenFile(FilesContext& ctx, const QString& Fname, int Ftype) { (void)ctx; (void)Fname; (void)Ftype; }
void SaveFile(FilesContext& ctx, const QString& Fname, int Ftype) { (void)ctx; (void)Fname; (void)Ftype; }
void mnuOpen_Click(FilesContext& ctx) { (void)ctx; }
void mnuSave_Click(FilesContext& ctx) { (void)ctx; }
void mnuOpenWork_Click(FilesContext& ctx) { (void)ctx; }
void mnuSaveWork_Click(FilesContext& ctx) { (void)ctx; }
void FillObjectButtons(FilesContext& ctx) { (void)ctx; }
void FillWorkspaceButtons(FilesContext& ctx) { (void)ctx; }
void CmdObj_Click(FilesContext& ctx, int index) { (void)ctx; (void)index; }
void CmdWrk_Click(FilesContext& ctx, int index) { (void)ctx; (void)index; }
void LoadRecentMenu(FilesContext& ctx) { (void)ctx; }
bool FindRecentFile(FilesContext& ctx, const QString& path) { (void)ctx; (void)path; return false; }
void AddRecentFile(FilesContext& ctx, const QString& path) { (void)ctx; (void)path; }
void mnuRecent_Click(FilesContext& ctx, int index) { (void)ctx; (void)index; }
