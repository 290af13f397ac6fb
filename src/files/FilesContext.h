// What the file commands, the browser and the recent-files menu touch.
#pragma once

#include "platform/FileList.h"
#include "platform/SettingsStore.h"
#include "views/ViewContext.h"

#include <array>

// Each browser tab shows at most this many buttons, one per file of its list.
inline constexpr int BrowserButtonCount = 16;
using BrowserButtons = std::array<BrowserButton, BrowserButtonCount>;

// The File menu's Recent Files list holds this many items.
inline constexpr int RecentFileCount = 5;
using RecentItems = std::array<MenuItem, RecentFileCount>;

struct FilesContext {
    ViewContext& views;
    CommonDialog& cdlOpen;
    FileList& fleObj;
    FileList& fleWork;
    BrowserButtons& CmdObj;
    BrowserButtons& CmdWrk;
    RecentItems& mnuRecent;
    SettingsStore& settings;
    // The main window's caption.
    QString& caption;
};
