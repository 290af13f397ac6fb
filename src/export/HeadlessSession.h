// The program's session without a window, for the command-line tool: its typed commands and
// menu items run as the window runs them, with the same checks, messages and saved bytes.
#pragma once

#include "app/Session.h"
#include "export/InputFiles.h"
#include "platform/SilentDialogs.h"

#include <QStringList>
#include <functional>
#include <map>
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

// How the views are set up before an object is shown: a workspace's colours, radius and
// background (none: the start-up settings), the 3D view's pen width, and whether the grid
// lines show.
struct ViewSettings {
    std::optional<WorkspaceFileValues> workspace;
    int lineWidth = 1;
    bool grid = false;
};

// Owns a Session with SilentDialogs and MemorySettings, set up as the program's start-up sets
// it up. Needs no application object of the toolkit beyond Qt Core's, and no display; one
// session to a thread.
class HeadlessSession {
public:
    HeadlessSession();

    Session& core() { return session_; }
    const WorkspaceState& state() const { return session_.state; }

    // Shows an object's values as File > Open Object shows a file's: into the state, drawn
    // flat or extruded; name goes into the caption. Refused with the drawing's message.
    std::optional<Failure> showObject(ObjectFileValues values, const QString& name);

    // Sets up the views (see ViewSettings), then shows the object. A workspace is applied as
    // File > Open Workspace applies it, after which its background colour is given to the
    // front, side and top views as Grid Configuration > BackGround Color gives it. Called by
    // the tool's picture exports.
    std::optional<Failure> showObject(ObjectFileValues values, const QString& name, const ViewSettings& settings);

    // Runs one line of a script: "Draw 2D", "Draw 3D" or "Clear" chooses that menu item; any
    // other line is executed as the command box executes it. Refused with the message the
    // window would have shown (CR LF as a space). answer: what the command answered
    // (GetPointCoords), else empty.
    std::optional<Failure> runLine(const QString& line, QString* answer);

private:
    SilentDialogs dialogs_;
    MemorySettings settings_;
    Session session_;
};

// Runs a script's text line by line on the session (LF, CR LF and a lone CR end a line): blank lines and lines whose first
// non-blank character is "#" are skipped. Stops at the first refused line with the failure
// message "<scriptName>:<line number>: <message>". Every command's answer goes to `answer`.
std::optional<Failure> runScript(HeadlessSession& session, const QString& scriptName, const QString& text,
                                 const std::function<void(const QString&)>& answer);
