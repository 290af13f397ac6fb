// A hidden main window driven line by line through its own command box and menu items.
#include "export/HeadlessSession.h"

#include "files/FileCommands.h"
#include "views/GridLayout.h"

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

HeadlessSession::HeadlessSession() : window_(std::make_unique<frmMain>(dialogs_, settings_))
{
    window_->setUp();
}

HeadlessSession::~HeadlessSession() = default;

std::optional<Failure> HeadlessSession::messagesSince(std::size_t before, Failure::Kind kind) const
{
    if (dialogs_.messages.size() == before)
        return std::nullopt;
    QStringList shown;
    for (std::size_t i = before; i < dialogs_.messages.size(); ++i)
        shown.append(dialogs_.messages[i].text);
    return Failure{kind, shown.join(QLatin1Char(' ')).replace(QStringLiteral("\r\n"), QStringLiteral(" "))};
}

std::optional<Failure> HeadlessSession::openObject(const QString& path, bool holdsNothingFails)
{
    const std::size_t before = dialogs_.messages.size();
    const OpenOutcome outcome = OpenFile(window_->files(), path, ObjectFileType);
    if (outcome == OpenOutcome::LoadedNotDrawn)
        return messagesSince(before, Failure::Kind::Refused);
    if (outcome == OpenOutcome::Nothing) {
        if (auto told = messagesSince(before, Failure::Kind::Input))
            return told;
        if (holdsNothingFails)
            return Failure{Failure::Kind::Input, holdsNothingText(path, ObjectFileType)};
    }
    return std::nullopt;
}

std::optional<Failure> HeadlessSession::showObject(const QString& objectPath, const ViewSettings& settings)
{
    frmMain& w = *window_;
    if (!settings.workspace.isEmpty()) {
        const std::size_t before = dialogs_.messages.size();
        const OpenOutcome outcome = OpenFile(w.files(), settings.workspace, WorkspaceFileType);
        if (auto told = messagesSince(before, Failure::Kind::Input))
            return told;
        if (outcome == OpenOutcome::Nothing)
            return Failure{Failure::Kind::Input, holdsNothingText(settings.workspace, WorkspaceFileType)};
        for (PictureBox* view : {w.picFront, w.picSide, w.picTop})
            view->setBackColor(w.cdlGridBg.Color);
    }
    w.pic3dView->setDrawWidth(settings.lineWidth);
    w.state.GridState = settings.grid ? 1 : 0;
    LayoutGridLines(w.views());
    return openObject(objectPath, true);
}

std::optional<Failure> HeadlessSession::runLine(const QString& line, QString* answer)
{
    frmMain& w = *window_;
    const std::size_t before = dialogs_.messages.size();
    answer->clear();
    if (line == QLatin1String("Draw 2D")) {
        w.mnuDrawPoly->trigger();
    } else if (line == QLatin1String("Draw 3D")) {
        w.mnuDraw3D->trigger();
    } else if (line == QLatin1String("Clear")) {
        w.mnuClear->trigger();
    } else {
        w.txtCommand->setText(line);
        w.cmdExecute->click();
        if (w.txtCommand->text() != line)
            *answer = w.txtCommand->text();
    }
    return messagesSince(before, Failure::Kind::Refused);
}

std::optional<Failure> runScript(HeadlessSession& session, const QString& scriptName, const QString& text,
                                 const std::function<void(const QString&)>& answer)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
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
