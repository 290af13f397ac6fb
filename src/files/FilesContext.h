// What the file commands, the browser and the recent-files menu touch.
#pragma once

#include "platform/FileList.h"
#include "platform/SettingsStore.h"
#include "views/ViewContext.h"

#include <QAction>
#include <array>
#include <functional>

struct FilesContext {
    ViewContext& views;
    CommonDialog& cdlOpen;
    FileList& fleObj;
    FileList& fleWork;
    std::array<PictureButton*, 16>& CmdObj;
    std::array<PictureButton*, 16>& CmdWrk;
    std::array<QAction*, 5>& mnuRecent;
    SettingsStore& settings;
    // Sets the main window's caption.
    std::function<void(const QString&)> setCaption;
};
