// brondelwick-tool: describes object and workspace files, runs command scripts headless and
// exports objects as STL, SVG, PNG or DXF; the command line, help texts and exit statuses.
#include "Version.h"
#include "export/Dxf.h"
#include "export/FileInfo.h"
#include "export/HeadlessSession.h"
#include "export/Mesh.h"
#include "export/ViewPictures.h"
#include "files/AtomicWrite.h"
#include "files/FileCommands.h"
#include "platform/Conversions.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <map>
#include <set>

namespace {

// Exit statuses, as --help tells them.
constexpr int Done = 0;
constexpr int Refused = 1;
constexpr int BadInput = 2;

const char* const MainHelp = R"(Usage: brondelwick-tool COMMAND [OPTIONS]

The command-line companion of Brondelwick: it reads and writes the program's object (.obj)
and workspace (.wks) files without opening a window.

Commands:
  info FILE [--json]                     what an object or workspace file holds
  run SCRIPT -o OUT.obj [--from IN.obj]  run command-box lines, save the object
  export IN.obj -o OUT.stl|.svg|.png|.dxf [OPTIONS]
                                         the object as a solid, a drawing or a picture

Run "brondelwick-tool COMMAND --help" for the options and examples of a command.

Options:
  -h, --help     this help
  --version      the version

Exit status: 0 done; 1 refused (a script line, an object that cannot be exported, an output
that cannot be written); 2 a bad command line, or an input file that is missing, unreadable,
malformed or holds nothing. Every message goes to standard error.
)";

const char* const InfoHelp = R"(Usage: brondelwick-tool info FILE [--json]

Prints what an object or workspace file holds, whichever kind it is. An object: its points
(twips, X to the right, Y down as in the front view), its depth as stored and as the
extruded drawing takes it, its dimension (2 drawn flat, 3 drawn extruded) and grid state. A
workspace: its four colours, the point radius and the grid state.

Options:
  --json       the same as one JSON object, named as in docs/file-format.md
  -h, --help   this help

Examples:
  brondelwick-tool info docs/sample.obj
  brondelwick-tool info --json Workspaces/dark.wks
)";

const char* const RunHelp = R"(Usage: brondelwick-tool run SCRIPT -o OUT.obj [--from IN.obj]

Runs the lines of SCRIPT ("-" for standard input) as if each were typed into the command
box and executed: PutPoint X,Y, ResetPoint N,X,Y, ObjectDepth D, GetPointCoords N and
ManualSet, with the window's words, checks and messages. Three more lines choose menu items:
"Draw 2D" and "Draw 3D" (Draw Polygon menu) and "Clear" (File menu). Blank lines and lines
starting with "#" are skipped. Then the object is saved to OUT.obj, byte for byte as the
window saves it after the same actions.

A line the window would answer with a message box stops the run: the message goes to
standard error as SCRIPT:LINE: message, the exit status is 1 and nothing is written.
GetPointCoords prints its answer on standard output.

Options:
  -o, --output OUT.obj   the object file to write (replaced when it exists)
  --from IN.obj          start from this object, opened as File > Open Object opens it
  -h, --help             this help

Example:
  brondelwick-tool run docs/sample-script.txt -o sample.obj
)";

const char* const ExportHelp = R"(Usage: brondelwick-tool export IN.obj -o OUT [OPTIONS]

Exports an object. The format comes from the output's extension, or from --format:

  stl  the extruded object as a closed solid (binary STL unless --ascii): the outline
       filled by the nonzero rule, its front face at Z = 0, its back face at Z = minus the
       depth, X to the right and Y up. A flat object, a depth of 0, fewer than three
       distinct points or an outline that encloses no area is refused.
  svg  the four views as vector drawings, laid out as in the window, one group per view.
  png  the same views as pixels, exactly as the window shows them.
  dxf  the outline as a closed polyline in millimetres (DXF release 12), on a layer named
       after the object; with --prism also the back face and the lateral edges as 3D lines.

Options:
  -o, --output FILE       the file to write (replaced when it exists, never half written)
  --format FORMAT         stl, svg, png or dxf
  --ascii                 STL: ASCII instead of binary
  --unit mm|in|twip       STL: the unit of the coordinates (default mm; 1440 twips an inch)
  --view front|side|top|3d
                          SVG, PNG: one view alone
  --grid                  SVG, PNG: with the grid lines
  --workspace FILE.wks    SVG, PNG: colours, point radius and view background of this
                          workspace (default: the settings the program starts with)
  --line-width N          SVG, PNG: the 3D view's pen width in pixels, 1 to 32767 (default
                          1); workspace files do not store it
  --prism                 DXF: also the back face and the lateral edges
  -h, --help              this help

Examples:
  brondelwick-tool export docs/sample.obj -o sample.stl
  brondelwick-tool export docs/sample.obj -o sample.svg --grid
  brondelwick-tool export docs/sample.obj -o views.png --line-width 2
  brondelwick-tool export docs/sample.obj -o sample.dxf --prism
)";

void print(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    // A console that takes no more text leaves nobody to tell.
    (void)std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    (void)std::fflush(stream);
}

int fail(int status, const QString& message)
{
    print(stderr, message + QLatin1Char('\n'));
    return status;
}

int usage(const QString& command, const QString& problem)
{
    const QString name = command.isEmpty() ? QStringLiteral("brondelwick-tool") : QStringLiteral("brondelwick-tool ") + command;
    return fail(BadInput, QStringLiteral("%1: %2\nRun \"%1 --help\" for help.").arg(name, problem));
}

int fail(const Failure& failure) { return fail(failure.kind == Failure::Kind::Input ? BadInput : Refused, failure.message); }

// A command's arguments: the words that are not options, and the options given (a value,
// or empty text for a flag). Options take their value as the next word or after "=".
struct Arguments {
    QStringList positional;
    std::map<QString, QString> options;
    QString problem;

    bool has(const QString& name) const { return options.count(name) > 0; }
    QString value(const QString& name) const { return has(name) ? options.at(name) : QString(); }
};

// Reads words against the command's options (name to whether it takes a value); "-o" is
// --output, "-h" --help. The first problem ends the reading.
Arguments parse(const QStringList& words, const std::map<QString, bool>& known)
{
    Arguments a;
    for (qsizetype i = 0; i < words.size() && a.problem.isEmpty(); ++i) {
        QString word = words[i];
        if (word == QLatin1String("-") || !word.startsWith(QLatin1Char('-'))) {
            a.positional << word;
            continue;
        }
        word = word == QLatin1String("-o") ? QStringLiteral("--output") : word == QLatin1String("-h") ? QStringLiteral("--help") : word;
        QString value;
        const qsizetype equals = word.indexOf(QLatin1Char('='));
        const bool inline_ = equals > 0;
        if (inline_) {
            value = word.mid(equals + 1);
            word = word.left(equals);
        }
        const auto option = known.find(word);
        if (option == known.end() && word != QLatin1String("--help")) {
            a.problem = QStringLiteral("unknown option \"%1\"").arg(words[i]);
        } else if (option != known.end() && option->second && !inline_) {
            if (i + 1 >= words.size())
                a.problem = QStringLiteral("%1 needs a value").arg(word);
            else
                value = words[++i];
        } else if ((option == known.end() || !option->second) && inline_) {
            a.problem = QStringLiteral("%1 takes no value").arg(word);
        }
        if (a.problem.isEmpty() && a.has(word))
            a.problem = QStringLiteral("%1 is given twice").arg(word);
        a.options[word] = value;
    }
    return a;
}

bool write(const QString& path, const QByteArray& bytes, QString* message)
{
    QString why;
    if (writeAtomically(path, bytes, false, &why))
        return true;
    *message = notSavedText(path, why);
    return false;
}

int writeOrFail(const QString& path, const QByteArray& bytes)
{
    QString message;
    return write(path, bytes, &message) ? Done : fail(Refused, message);
}

int info(const QStringList& words)
{
    const Arguments a = parse(words, {{QStringLiteral("--json"), false}});
    if (a.has(QStringLiteral("--help")))
        return print(stdout, QString::fromUtf8(InfoHelp)), Done;
    if (!a.problem.isEmpty())
        return usage(QStringLiteral("info"), a.problem);
    if (a.positional.size() != 1)
        return usage(QStringLiteral("info"), QStringLiteral("give one file"));
    const QString path = a.positional.first();
    const std::variant<InputFile, Failure> read = readInputFile(path);
    if (const Failure* failure = std::get_if<Failure>(&read))
        return fail(*failure);
    const InputFile& file = std::get<InputFile>(read);
    print(stdout, QString::fromUtf8(a.has(QStringLiteral("--json")) ? describeJson(path, file) : describeText(path, file)));
    return Done;
}

// The script's text, from a file or (for "-") standard input; nullopt after telling why not.
std::optional<QString> readScript(const QString& path, int* status)
{
    QFile file;
    const bool input = path == QLatin1String("-");
    if (!input && !QFileInfo::exists(path)) {
        *status = fail(BadInput, notFoundText(path));
        return std::nullopt;
    }
    if (input ? !file.open(stdin, QIODevice::ReadOnly) : (file.setFileName(path), !file.open(QIODevice::ReadOnly))) {
        *status = fail(BadInput, QStringLiteral("The file \"%1\" cannot be read: %2.").arg(path, file.errorString()));
        return std::nullopt;
    }
    return QString::fromUtf8(file.readAll());
}

int run(const QStringList& words)
{
    const Arguments a = parse(words, {{QStringLiteral("--output"), true}, {QStringLiteral("--from"), true}});
    if (a.has(QStringLiteral("--help")))
        return print(stdout, QString::fromUtf8(RunHelp)), Done;
    if (!a.problem.isEmpty())
        return usage(QStringLiteral("run"), a.problem);
    if (a.positional.size() != 1)
        return usage(QStringLiteral("run"), QStringLiteral("give one script (or - for standard input)"));
    if (a.value(QStringLiteral("--output")).isEmpty())
        return usage(QStringLiteral("run"), QStringLiteral("give the object file to write with -o OUT.obj"));
    const QString scriptPath = a.positional.first();
    int status = Done;
    const std::optional<QString> script = readScript(scriptPath, &status);
    if (!script)
        return status;

    HeadlessSession session;
    const QString from = a.value(QStringLiteral("--from"));
    if (a.has(QStringLiteral("--from"))) {
        if (std::optional<Failure> failure = session.openObject(from, false)) {
            if (failure->kind == Failure::Kind::Refused)
                failure->message = from + QStringLiteral(": ") + failure->message;
            return fail(*failure);
        }
    }
    const QString name = scriptPath == QLatin1String("-") ? QStringLiteral("<stdin>") : scriptPath;
    if (const std::optional<Failure> failure = runScript(session, name, *script, [](const QString& answer) {
            print(stdout, answer + QLatin1Char('\n'));
        }))
        return fail(*failure);
    return writeOrFail(a.value(QStringLiteral("--output")), writeObjectFile(session.window().state));
}

// The export's options and the formats each applies to.
const std::map<QString, std::set<QString>> ExportOptions{
    {QStringLiteral("--ascii"), {QStringLiteral("stl")}},
    {QStringLiteral("--unit"), {QStringLiteral("stl")}},
    {QStringLiteral("--view"), {QStringLiteral("svg"), QStringLiteral("png")}},
    {QStringLiteral("--grid"), {QStringLiteral("svg"), QStringLiteral("png")}},
    {QStringLiteral("--workspace"), {QStringLiteral("svg"), QStringLiteral("png")}},
    {QStringLiteral("--line-width"), {QStringLiteral("svg"), QStringLiteral("png")}},
    {QStringLiteral("--prism"), {QStringLiteral("dxf")}},
};

int exportObject(const QStringList& words)
{
    const QString command = QStringLiteral("export");
    const Arguments a = parse(words, {{QStringLiteral("--output"), true}, {QStringLiteral("--format"), true},
                                      {QStringLiteral("--ascii"), false}, {QStringLiteral("--unit"), true},
                                      {QStringLiteral("--view"), true}, {QStringLiteral("--grid"), false},
                                      {QStringLiteral("--workspace"), true}, {QStringLiteral("--line-width"), true},
                                      {QStringLiteral("--prism"), false}});
    if (a.has(QStringLiteral("--help")))
        return print(stdout, QString::fromUtf8(ExportHelp)), Done;
    if (!a.problem.isEmpty())
        return usage(command, a.problem);
    if (a.positional.size() != 1)
        return usage(command, QStringLiteral("give one object file"));
    const QString input = a.positional.first(), output = a.value(QStringLiteral("--output"));
    if (output.isEmpty())
        return usage(command, QStringLiteral("give the file to write with -o OUT"));
    const QString format = a.has(QStringLiteral("--format")) ? a.value(QStringLiteral("--format")) : QFileInfo(output).suffix().toLower();
    const QStringList formats{QStringLiteral("stl"), QStringLiteral("svg"), QStringLiteral("png"), QStringLiteral("dxf")};
    if (!formats.contains(format))
        return usage(command, a.has(QStringLiteral("--format"))
                                  ? QStringLiteral("unknown format \"%1\": give stl, svg, png or dxf").arg(format)
                                  : QStringLiteral("cannot tell the format of \"%1\": name it .stl, .svg, .png or .dxf, "
                                                   "or give --format").arg(output));
    for (const auto& [option, applies] : ExportOptions)
        if (a.has(option) && !applies.count(format))
            return usage(command, QStringLiteral("%1 does not apply to %2").arg(option, format.toUpper()));

    const std::map<QString, LengthUnit> units{{QStringLiteral("mm"), LengthUnit::Millimetre},
                                              {QStringLiteral("in"), LengthUnit::Inch},
                                              {QStringLiteral("twip"), LengthUnit::Twip}};
    const QString unitWord = a.has(QStringLiteral("--unit")) ? a.value(QStringLiteral("--unit")) : QStringLiteral("mm");
    if (!units.count(unitWord))
        return usage(command, QStringLiteral("unknown unit \"%1\": give mm, in or twip").arg(unitWord));
    const std::map<QString, ViewChoice> views{{QStringLiteral("front"), ViewChoice::Front},
                                              {QStringLiteral("side"), ViewChoice::Side},
                                              {QStringLiteral("top"), ViewChoice::Top},
                                              {QStringLiteral("3d"), ViewChoice::View3D}};
    if (a.has(QStringLiteral("--view")) && !views.count(a.value(QStringLiteral("--view"))))
        return usage(command, QStringLiteral("unknown view \"%1\": give front, side, top or 3d").arg(a.value(QStringLiteral("--view"))));
    ViewSettings settings;
    settings.workspace = a.value(QStringLiteral("--workspace"));
    settings.grid = a.has(QStringLiteral("--grid"));
    if (a.has(QStringLiteral("--line-width"))) {
        const std::optional<std::int16_t> pixels = conv::wholeNumberFrom(a.value(QStringLiteral("--line-width")), 1);
        if (!pixels)
            return usage(command, QStringLiteral("the line width must be a whole number from 1 to 32767"));
        settings.lineWidth = *pixels;
    }
    const QString name = QFileInfo(input).completeBaseName();

    if (format == QLatin1String("png") || format == QLatin1String("svg")) {
        HeadlessSession session;
        if (const std::optional<Failure> failure = session.showObject(input, settings))
            return fail(*failure);
        const ViewChoice choice = a.has(QStringLiteral("--view")) ? views.at(a.value(QStringLiteral("--view"))) : ViewChoice::All;
        return writeOrFail(output, format == QLatin1String("png") ? pngBytes(viewsImage(session.window(), choice))
                                                                  : viewsSvg(session.window(), choice, name));
    }
    std::variant<ObjectFileValues, Failure> object = readObjectInput(input);
    if (const Failure* failure = std::get_if<Failure>(&object))
        return fail(*failure);
    const ObjectFileValues& values = std::get<ObjectFileValues>(object);
    if (format == QLatin1String("dxf")) {
        const std::variant<QByteArray, QString> drawing = dxfDrawing(values, name, a.has(QStringLiteral("--prism")));
        if (const QString* why = std::get_if<QString>(&drawing))
            return fail(Refused, *why);
        return writeOrFail(output, std::get<QByteArray>(drawing));
    }
    const std::variant<Mesh, QString> prism = buildPrism(values, units.at(unitWord));
    if (const QString* why = std::get_if<QString>(&prism))
        return fail(Refused, *why);
    const Mesh& mesh = std::get<Mesh>(prism);
    return writeOrFail(output, a.has(QStringLiteral("--ascii")) ? asciiStl(mesh, name) : binaryStl(mesh, name));
}

// The toolkit's notes about its surroundings (a runtime folder not set, say) are not the
// user's concern; only its critical messages get through.
void keepToolkitQuiet(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        print(stderr, message + QLatin1Char('\n'));
}

} // namespace

int main(int argc, char* argv[])
{
    qInstallMessageHandler(keepToolkitQuiet);
    // No window is ever shown: the offscreen platform needs no display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("brondelwick-tool"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3").arg(appversion::Major).arg(appversion::Minor).arg(appversion::Revision));
    const QStringList arguments = QApplication::arguments().mid(1);
    const QString command = arguments.value(0);
    const QStringList rest = arguments.mid(1);
    if (command == QLatin1String("info"))
        return info(rest);
    if (command == QLatin1String("run"))
        return run(rest);
    if (command == QLatin1String("export"))
        return exportObject(rest);
    if (command == QLatin1String("--help") || command == QLatin1String("-h") || command == QLatin1String("help")) {
        print(stdout, QString::fromUtf8(MainHelp));
        return Done;
    }
    if (command == QLatin1String("--version")) {
        print(stdout, QStringLiteral("brondelwick-tool %1\n").arg(QApplication::applicationVersion()));
        return Done;
    }
    return usage({}, command.isEmpty() ? QStringLiteral("give a command: info, run or export")
                                       : QStringLiteral("unknown command \"%1\"").arg(command));
}
