// What the file commands, the browser and the recent-files menu touch.
#pragma once

#include "platform/FileList.h"
#include "platform/SettingsStore.h"
#include "views/ViewContext.h"

#include <array>

// Each browser tab shows at most this many buttons, one per file of its list.
inline constexpr int BrowserButtonCount = 16;
using BrowserButtons = std::array<BrowserButton, BrowserButtonCount>;

struct FilesContext {
    ViewContext& views;
    CommonDialog& cdlOpen;
    FileList& fleObj;
    FileList& fleWork;
    BrowserButtons& CmdObj;
    BrowserButtons& CmdWrk;
    std::array<MenuItem, 5>& mnuRecent;
    SettingsStore& settings;
    // The main window's caption.
    QString& caption;
};
