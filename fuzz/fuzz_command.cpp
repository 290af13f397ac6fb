// Fuzz target over the command box: any typed line is run by the interpreter on a session
// set up as the program starts. A line that the interpreter refuses must leave the object
// untouched and give no answer, and the point list and count must always agree.
#include "app/Session.h"
#include "commands/CommandInterpreter.h"
#include "editing/ObjectMenus.h"
#include "platform/SilentDialogs.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdlib>

namespace {
class NoSettings : public SettingsStore {
public:
    QString GetSetting(const QString&, const QString&, const QString&) override { return {}; }
    bool SaveSetting(const QString&, const QString&, const QString&, const QString&) override { return true; }
};

// Keeps the title of every message shown: a line refused for what it says is told under the
// command box's title, a drawing refused after the line ran under the program's.
class TitleDialogs : public SilentDialogs {
public:
    void messageBox(const QString&, const QString& title) override { titles.append(title); }
    QStringList titles;
};

struct Fixture {
    Fixture() { session.setUp(folder.path()); }
    QTemporaryDir folder;
    TitleDialogs dialogs;
    NoSettings settings;
    Session session{dialogs, settings};
};

bool sameObject(const WorkspaceState& a, const WorkspaceState& b)
{
    return a.pPoints == b.pPoints && a.PointCount == b.PointCount && a.Depth.toText() == b.Depth.toText()
        && a.Depth.kind() == b.Depth.kind() && a.ClickX.toText() == b.ClickX.toText() && a.ClickY == b.ClickY
        && a.Dimension == b.Dimension;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Fixture fixture;
    Session& s = fixture.session;
    // Keep drawings small so that every input runs quickly.
    if (s.state.PointCount > 64)
        mnuClear_Click(s.editing);

    const QString line = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const WorkspaceState before = s.state;
    fixture.dialogs.titles.clear();
    const CommandResult result = ExecuteCommand(s.commands, line);
    const bool lineRefused = fixture.dialogs.titles.contains(CommandBoxTitle);

    const WorkspaceState& after = s.state;
    if (after.pPoints.empty() || after.PointCount < 0 || std::size_t(after.PointCount) > after.pPoints.size())
        std::abort();
    // Whatever was told is the refusal given, and a refused line gives no answer and changes
    // nothing.
    if (fixture.dialogs.titles.isEmpty() != !result.refused)
        std::abort();
    if (lineRefused && (result.answer || !sameObject(before, after)))
        std::abort();
    return 0;
}
