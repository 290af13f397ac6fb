// Fuzz target over the command box: any typed line is run by the interpreter on a real
// (offscreen) window. A line that the interpreter refuses must leave the object untouched,
// and the point list and count must always agree.
#include "app/frmMain.h"
#include "commands/CommandInterpreter.h"
#include "editing/ObjectMenus.h"
#include "platform/SilentDialogs.h"

#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>

namespace {
class NoSettings : public SettingsStore {
public:
    QString GetSetting(const QString&, const QString&, const QString&) override { return {}; }
    bool SaveSetting(const QString&, const QString&, const QString&, const QString&) override { return true; }
};

struct Session {
    Session()
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz_command";
        static char* argv[] = {name, nullptr};
        app = new QApplication(argc, argv);
        window = new frmMain(dialogs, settings, folder.path());
        window->start();
    }
    QApplication* app;
    QTemporaryDir folder;
    SilentDialogs dialogs;
    NoSettings settings;
    frmMain* window;
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
    static Session session;
    frmMain& w = *session.window;
    // Keep drawings small so that every input runs quickly.
    if (w.state.PointCount > 64)
        mnuClear_Click(w.editing());

    const QString line = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const WorkspaceState before = w.state;
    const QString textBefore = w.txtCommand->text();
    session.dialogs.messages.clear();
    ExecuteCommand(w.commands(), line);
    const bool refused = std::any_of(session.dialogs.messages.begin(), session.dialogs.messages.end(),
                                     [](const SilentDialogs::Message& m) { return m.title == CommandBoxTitle; });

    const WorkspaceState& after = w.state;
    if (after.pPoints.empty() || after.PointCount < 0 || std::size_t(after.PointCount) > after.pPoints.size())
        std::abort();
    if (refused && (!sameObject(before, after) || w.txtCommand->text() != textBefore))
        std::abort();
    return 0;
}
