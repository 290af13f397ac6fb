// The program's own window, set up but never shown, running typed commands and menu items
// for the command-line tool: the same words, checks, messages and saved bytes as the window.
#pragma once

#include "app/frmMain.h"
#include "export/InputFiles.h"
#include "platform/SilentDialogs.h"

#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <optional>

// Settings kept in memory for the life of a session, so that it leaves the user's own (the
// recent-files list) as they were.
class MemorySettings : public SettingsStore {
public:
    QString GetSetting(const QString& app, const QString& section, const QString& key) override;
    bool SaveSetting(const QString& app, const QString& section, const QString& key, const QString& value) override;

private:
    std::map<QString, QString> values_;
};

// How the views are set up before an object is shown: a workspace file's colours, radius
// and background (empty: the start-up settings), the 3D view's pen width, and whether the
// grid lines show.
struct ViewSettings {
    QString workspace;
    int lineWidth = 1;
    bool grid = false;
};

// Owns a main window with SilentDialogs and MemorySettings, set up as start() sets it up
// but hidden. Needs a QApplication. Everything runs through the window's own handlers.
class HeadlessSession {
public:
    HeadlessSession();
    ~HeadlessSession();

    frmMain& window() { return *window_; }
    SilentDialogs& dialogs() { return dialogs_; }

    // Opens an object file as File > Open Object does: read, checked and drawn flat or
    // extruded. A missing or malformed file, or one that holds nothing when holdsNothingFails,
    // is an Input failure; a drawing refused is Refused.
    std::optional<Failure> openObject(const QString& path, bool holdsNothingFails);

    // Sets up the views (see ViewSettings), then opens the object. A workspace file is
    // opened as File > Open Workspace does, after which its background colour is given to
    // the front, side and top views as Grid Configuration > BackGround Color gives it.
    // Called by the tool's picture exports.
    std::optional<Failure> showObject(const QString& objectPath, const ViewSettings& settings);

    // Runs one line of a script: "Draw 2D", "Draw 3D" or "Clear" chooses that menu item;
    // any other line is typed into the command box and executed. Refused when the window
    // would have shown a message box: the message (CR LF as a space). answer: what the
    // command wrote into the command text box (GetPointCoords), else empty.
    std::optional<Failure> runLine(const QString& line, QString* answer);

private:
    std::optional<Failure> messagesSince(std::size_t before, Failure::Kind kind) const;

    SilentDialogs dialogs_;
    MemorySettings settings_;
    std::unique_ptr<frmMain> window_;
};

// Runs a script's text line by line on the session: blank lines and lines whose first
// non-blank character is "#" are skipped. Stops at the first refused line with the failure
// message "<scriptName>:<line number>: <message>". Every command's answer goes to `answer`.
std::optional<Failure> runScript(HeadlessSession& session, const QString& scriptName, const QString& text,
                                 const std::function<void(const QString&)>& answer);
