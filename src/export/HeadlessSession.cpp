// A session without a window, driven line by line through its command interpreter and menu
// handlers.
#include "export/HeadlessSession.h"

#include "commands/CommandInterpreter.h"
#include "editing/ObjectMenus.h"
#include "files/FileCommands.h"
#include "views/GridLayout.h"
#include "views/Rendering.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>

namespace {
std::optional<Failure> refusedBy(const Refusal& refusal)
{
    if (!refusal)
        return std::nullopt;
    return Failure{Failure::Kind::Refused, QString(*refusal).replace(QStringLiteral("\r\n"), QStringLiteral(" "))};
}
} // namespace

QString MemorySettings::GetSetting(const QString& app, const QString& section, const QString& key)
{
    const auto found = values_.find(app + QLatin1Char('/') + section + QLatin1Char('/') + key);
    return found == values_.end() ? QString() : found->second;
}

bool MemorySettings::SaveSetting(const QString& app, const QString& section, const QString& key, const QString& value)
{
    values_[app + QLatin1Char('/') + section + QLatin1Char('/') + key] = value;
    return true;
}

HeadlessSession::HeadlessSession() : session_(dialogs_, settings_)
{
    // The tool names no folder: its session keeps no files and makes none.
    session_.setUp(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()), DataFolders{});
}

std::optional<Failure> HeadlessSession::showObject(ObjectFileValues values, const QString& name)
{
    return refusedBy(ShowObject(session_.files, std::move(values), name));
}

std::optional<Failure> HeadlessSession::showObject(ObjectFileValues values, const QString& name,
                                                   const ViewSettings& settings)
{
    Session& s = session_;
    if (settings.workspace) {
        ApplyWorkspace(s.files, *settings.workspace);
        for (ViewSurface* view : {&s.picFront, &s.picSide, &s.picTop})
            view->setBackColor(s.cdlGridBg.Color);
    }
    s.pic3dView.setDrawWidth(settings.lineWidth);
    s.state.GridState = settings.grid ? 1 : 0;
    LayoutGridLines(s.views);
    return showObject(std::move(values), name);
}

std::optional<Failure> HeadlessSession::runLine(const QString& line, QString* answer)
{
    answer->clear();
    if (line == QLatin1String("Draw 2D"))
        return refusedBy(mnuDrawPoly_Click(session_.views));
    if (line == QLatin1String("Draw 3D"))
        return refusedBy(mnuDraw3D_Click(session_.views));
    if (line == QLatin1String("Clear")) {
        mnuClear_Click(session_.editing);
        return std::nullopt;
    }
    const CommandResult result = cmdExecute_Click(session_.commands, line);
    if (result.answer && *result.answer != line)
        *answer = *result.answer;
    return refusedBy(result.refused);
}

std::optional<Failure> runScript(HeadlessSession& session, const QString& scriptName, const QString& text,
                                 const std::function<void(const QString&)>& answer)
{
    // LF, CR LF and a lone CR each end a line, as text editors take them.
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    const QStringList lines = text.split(lineEnd);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        QString said;
        if (std::optional<Failure> refused = session.runLine(line, &said)) {
            refused->message = QStringLiteral("%1:%2: %3").arg(scriptName).arg(i + 1).arg(refused->message);
            return refused;
        }
        if (!said.isEmpty())
            answer(said);
    }
    return std::nullopt;
}
