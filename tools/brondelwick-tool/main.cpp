// brondelwick-tool: describes object and workspace files, runs command scripts headless,
// exports objects as STL, 3MF, SVG, PNG or DXF, one or many in a run, and imports outlines
// from SVG and DXF drawings; the command line, help texts and exit statuses.
#include "Version.h"
#include "export/Dxf.h"
#include "export/DrawingImport.h"
#include "export/FileInfo.h"
#include "export/HeadlessSession.h"
#include "export/Mesh.h"
#include "export/ThreeMf.h"
#include "export/ViewPictures.h"
#include "files/AtomicWrite.h"
#include "platform/Conversions.h"

#include <QCoreApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <thread>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <limits>
#include <map>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Exit statuses, as --help tells them.
constexpr int Done = 0;
constexpr int Failed = 1;
constexpr int BadUsage = 2;

const QString Tool = QStringLiteral("brondelwick-tool");
const QString StandardStream = QStringLiteral("-");

// The first failure of a write to standard output (an errno), checked again before exit.
int standardOutputError = 0;

// Writes all of bytes to the stream. Standard output is flushed at once, so that a full
// device or a closed pipe is known; its first failure is kept for the exit status.
bool print(std::FILE* stream, const QByteArray& bytes)
{
    if (stream == stdout && standardStreamClosed(STDOUT_FILENO)) {
        standardOutputError = EBADF;
        return false;
    }
    errno = 0;
    const bool written = std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream) == std::size_t(bytes.size())
        && std::fflush(stream) == 0;
    if (!written && stream == stdout && standardOutputError == 0)
        standardOutputError = errno != 0 ? errno : EIO;
    return written;
}
bool print(std::FILE* stream, const QString& text) { return print(stream, text.toUtf8()); }

// Every message to the user: on standard error, headed by the tool's name, with file
// names and texts from files shown without their control characters.
int fail(int status, const QString& message)
{
    print(stderr, Tool + QStringLiteral(": ") + shownPlainly(message) + QLatin1Char('\n'));
    return status;
}

int fail(const QString& file, const Failure& failure)
{
    if (failure.kind == Failure::Kind::Input)
        return fail(BadUsage, failure.message);
    return fail(Failed, QStringLiteral("%1: %2").arg(inputName(file), failure.message));
}

int usage(const QString& command, const QString& problem)
{
    const QString name = command.isEmpty() ? Tool : Tool + QLatin1Char(' ') + command;
    print(stderr, QStringLiteral("%1: %2\nRun \"%1 --help\" for help.\n").arg(name, shownPlainly(problem)));
    return BadUsage;
}

// One of the tool's commands: its help text around its options, and what it does.
struct Command {
    QString name, usage, summary, description;
    QList<QCommandLineOption> options;
    QString examples;
    std::function<int(const QCommandLineParser&)> perform;
};

const QCommandLineOption HelpOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("this help"));

// The option lines of a help text: names and value, the description from column 27.
QString optionLines(const QList<QCommandLineOption>& options)
{
    constexpr qsizetype Column = 26;
    QString text;
    for (const QCommandLineOption& option : options) {
        QStringList names;
        for (const QString& name : option.names())
            names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        QString line = QStringLiteral("  ") + names.join(QStringLiteral(", "));
        if (!option.valueName().isEmpty())
            line += QLatin1Char(' ') + option.valueName();
        line = line.size() + 2 > Column ? line + QLatin1Char('\n') + QString(Column, QLatin1Char(' '))
                                        : line.leftJustified(Column);
        text += line + option.description().replace(QLatin1Char('\n'), QLatin1Char('\n') + QString(Column, QLatin1Char(' ')))
            + QLatin1Char('\n');
    }
    return text;
}

QString helpText(const Command& c)
{
    return QStringLiteral("Usage: %1 %2\n\n%3\nOptions:\n%4%5")
        .arg(Tool, c.usage, c.description, optionLines(c.options + QList<QCommandLineOption>{HelpOption}),
             c.examples.isEmpty() ? QString() : QStringLiteral("\nExamples:\n") + c.examples);
}

// The same as one section of --help-all, from which the manual page is made: headed by the
// command, each example a paragraph of its own.
QString manualSection(const Command& c)
{
    return QStringLiteral("\nThe %1 command:\n  %2 %3\n\n%4\n%5\n%6")
        .arg(c.name, Tool, c.usage, c.description, optionLines(c.options + QList<QCommandLineOption>{HelpOption}),
             QString(c.examples).replace(QLatin1Char('\n'), QStringLiteral("\n\n")));
}

// The device and inode of the file an input path names (through links, "./", or a hard
// link), standard input's for "-"; nullopt for a missing file or a closed standard input.
std::optional<std::pair<dev_t, ino_t>> fileIdentity(const QString& path)
{
    struct stat status {};
    const bool found = path == StandardStream ? !standardStreamClosed(STDIN_FILENO) && ::fstat(STDIN_FILENO, &status) == 0
                                              : ::stat(QFile::encodeName(path).constData(), &status) == 0;
    return found ? std::optional(std::pair(status.st_dev, status.st_ino)) : std::nullopt;
}

// Whether an input reads standard input's stream: "-", or a name of it (/dev/stdin,
// /dev/fd/0) while it is a pipe or a device, which give their bytes once. A regular file
// on standard input opened again by name is read from its start, apart from the stream.
bool readsStandardInput(const QString& input)
{
    struct stat status {};
    return input == StandardStream
        || (!standardStreamClosed(STDIN_FILENO) && ::fstat(STDIN_FILENO, &status) == 0 && !S_ISREG(status.st_mode)
            && fileIdentity(input) == fileIdentity(StandardStream));
}

// The refusals that come before any work: output to standard output without a format to
// name, a binary format written to a terminal, the output being one of the inputs (standard
// input's file counting for "-"). Empty when the combination is fine.
QString refusedOutput(const QString& output, bool binary, const QStringList& inputs)
{
    if (output == StandardStream && binary && ::isatty(STDOUT_FILENO))
        return QStringLiteral("standard output is a terminal: a binary file is not written there; "
                              "redirect it to a file or a pipe");
    for (const QString& input : inputs) {
        const std::optional<std::pair<dev_t, ino_t>> file = fileIdentity(input);
        if (output == StandardStream || !file || file != fileIdentity(output))
            continue;
        return input == StandardStream ? QStringLiteral("the output \"%1\" is standard input's file; write to another file").arg(output)
                                       : QStringLiteral("the output \"%1\" is the input \"%2\"; write to another file").arg(output, input);
    }
    return {};
}

// A whole number written in digits from low to high (no fraction, however written);
// nullopt otherwise.
std::optional<qulonglong> wholeNumber(const QString& text, qulonglong low, qulonglong high)
{
    bool ok = false;
    const qulonglong value = text.toULongLong(&ok);
    return ok && value >= low && value <= high ? std::optional(value) : std::nullopt;
}

// Writes straight into an existing file that is not a regular file (a device, a pipe), as
// cp and tee do: it cannot be replaced, and must not be. False with *why set on failure.
bool writeInto(const QString& path, const QByteArray& bytes, QString* why)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    qsizetype done = 0;
    while (fd >= 0 && done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (wrote < 0 && errno != EINTR)
            break;
        done += std::max<ssize_t>(wrote, 0);
    }
    *why = done < bytes.size() ? QString::fromLocal8Bit(std::strerror(errno)) : QString();
    if (fd >= 0 && ::close(fd) != 0 && why->isEmpty())
        *why = QString::fromLocal8Bit(std::strerror(errno));
    return why->isEmpty();
}

// Puts an output where the user named it: "-" standard output; an existing device or pipe
// written into; anything else (a regular file, or a link to one: its target) replaced
// whole through a temporary file beside it.
int writeOutput(const QString& output, const QByteArray& bytes)
{
    if (output == StandardStream)
        return print(stdout, bytes) ? Done : fail(Failed, QStringLiteral("standard output: %1").arg(std::strerror(standardOutputError)));
    struct stat status {};
    const bool special = ::stat(QFile::encodeName(output).constData(), &status) == 0 && !S_ISREG(status.st_mode)
        && !S_ISDIR(status.st_mode);
    QString why;
    if (special ? writeInto(output, bytes, &why) : writeAtomically(output, bytes, false, &why))
        return Done;
    return fail(Failed, QStringLiteral("%1: cannot be written: %2").arg(output, why));
}

int info(const QCommandLineParser& p)
{
    if (p.positionalArguments().size() != 1)
        return usage(QStringLiteral("info"), QStringLiteral("give one file (or - for standard input)"));
    const QString path = p.positionalArguments().first();
    const std::variant<InputFile, Failure> read = readInputFile(path);
    if (const Failure* failure = std::get_if<Failure>(&read))
        return fail(path, *failure);
    const InputFile& file = std::get<InputFile>(read);
    print(stdout, p.isSet(QStringLiteral("json")) ? describeJson(inputName(path), file) : describeText(inputName(path), file));
    return Done;
}

int run(const QCommandLineParser& p)
{
    const QString command = QStringLiteral("run");
    if (p.positionalArguments().size() != 1)
        return usage(command, QStringLiteral("give one script (or - for standard input)"));
    const QString scriptPath = p.positionalArguments().first(), output = p.value(QStringLiteral("output"));
    const QString from = p.value(QStringLiteral("from"));
    if (output.isEmpty())
        return usage(command, QStringLiteral("give the object file to write with -o OUT.obj"));
    if (p.isSet(QStringLiteral("from")) && readsStandardInput(scriptPath) && readsStandardInput(from))
        return usage(command, QStringLiteral("standard input can be read once: give the script or the object as a file"));
    if (const QString refused = refusedOutput(output, true, {scriptPath}); !refused.isEmpty())
        return usage(command, refused);
    QString why;
    const std::optional<QByteArray> script = readWholeInput(scriptPath, &why, InputContents::Script);
    if (!script)
        return fail(scriptPath, inputFailure(scriptPath, why));

    HeadlessSession session;
    if (p.isSet(QStringLiteral("from"))) {
        std::variant<InputFile, Failure> read = readInputFile(from);
        if (const Failure* failure = std::get_if<Failure>(&read))
            return fail(from, *failure);
        InputFile& file = std::get<InputFile>(read);
        if (file.kind == InputFile::Kind::Workspace)
            return fail(from, inputFailure(from, QStringLiteral("is a workspace file, not an object")));
        if (file.kind == InputFile::Kind::Object)
            if (std::optional<Failure> failure = session.showObject(std::move(file.object), inputName(from)))
                return fail(from, *failure);
    }
    // With the object on standard output, the answers go to standard error beside it.
    std::FILE* answers = output == StandardStream ? stderr : stdout;
    if (const std::optional<Failure> failure = runScript(session, inputName(scriptPath), QString::fromUtf8(*script),
                                                         [answers](const QString& answer) { print(answers, answer + QLatin1Char('\n')); }))
        return fail(Failed, failure->message);
    if (standardOutputError != 0)
        return fail(Failed, QStringLiteral("standard output: %1; the object is not written").arg(std::strerror(standardOutputError)));
    return writeOutput(output, writeObjectFile(session.state()));
}

const QStringList Formats{QStringLiteral("stl"), QStringLiteral("3mf"), QStringLiteral("svg"), QStringLiteral("png"), QStringLiteral("dxf")};

// The export's options and the formats each applies to.
const std::map<QString, std::set<QString>> FormatOptions{
    {QStringLiteral("ascii"), {QStringLiteral("stl")}},
    {QStringLiteral("unit"), {QStringLiteral("stl"), QStringLiteral("3mf")}},
    {QStringLiteral("max-triangles"), {QStringLiteral("stl"), QStringLiteral("3mf")}},
    {QStringLiteral("view"), {QStringLiteral("svg"), QStringLiteral("png")}},
    {QStringLiteral("grid"), {QStringLiteral("svg"), QStringLiteral("png")}},
    {QStringLiteral("workspace"), {QStringLiteral("svg"), QStringLiteral("png")}},
    {QStringLiteral("line-width"), {QStringLiteral("svg"), QStringLiteral("png")}},
    {QStringLiteral("size"), {QStringLiteral("png")}},
    {QStringLiteral("prism"), {QStringLiteral("dxf")}},
};

// What an export makes of each input, as its options chose; the same for every input of a run.
struct ExportChoices {
    QString format;
    LengthUnit unit = LengthUnit::Millimetre;
    bool ascii = false;
    std::uint64_t maxTriangles = SolidLimits::DefaultMaxTriangles;
    ViewChoice view = ViewChoice::All;
    ViewSettings settings;
    QString workspace;
    bool prism = false;
    int size = 0; // PNG: the larger side in pixels, 0 as drawn
};

// The largest --size: a thumbnail or an icon is far smaller; a picture this size is 64 MiB in memory.
constexpr int MostPixels = 4096;

// The choices of an export's options for format; a usage status (printed) when one is wrong.
std::variant<ExportChoices, int> exportChoices(const QCommandLineParser& p, const QString& format)
{
    const QString command = QStringLiteral("export");
    for (const auto& [option, applies] : FormatOptions)
        if (p.isSet(option) && !applies.count(format))
            return usage(command, QStringLiteral("--%1 does not apply to %2").arg(option, format.toUpper()));
    ExportChoices c;
    c.format = format;
    const std::map<QString, LengthUnit> units{{QStringLiteral("mm"), LengthUnit::Millimetre},
                                              {QStringLiteral("in"), LengthUnit::Inch},
                                              {QStringLiteral("twip"), LengthUnit::Twip}};
    const QString unitWord = p.isSet(QStringLiteral("unit")) ? p.value(QStringLiteral("unit")) : QStringLiteral("mm");
    if (!units.count(unitWord))
        return usage(command, QStringLiteral("unknown unit \"%1\": give mm, in or twip").arg(unitWord));
    c.unit = units.at(unitWord);
    if (format == QLatin1String("3mf") && !threeMfHasUnit(c.unit))
        return usage(command, QStringLiteral("3MF has no unit of twips (its units are the micron, millimetre, centimetre, "
                                             "inch, foot and metre): give --unit mm or in"));
    const std::map<QString, ViewChoice> views{{QStringLiteral("front"), ViewChoice::Front},
                                              {QStringLiteral("side"), ViewChoice::Side},
                                              {QStringLiteral("top"), ViewChoice::Top},
                                              {QStringLiteral("3d"), ViewChoice::View3D}};
    const QString view = p.value(QStringLiteral("view"));
    if (p.isSet(QStringLiteral("view")) && !views.count(view))
        return usage(command, QStringLiteral("unknown view \"%1\": give front, side, top or 3d").arg(view));
    if (p.isSet(QStringLiteral("view")))
        c.view = views.at(view);
    c.workspace = p.value(QStringLiteral("workspace"));
    c.settings.grid = p.isSet(QStringLiteral("grid"));
    if (p.isSet(QStringLiteral("line-width"))) {
        const std::optional<qulonglong> pixels = wholeNumber(p.value(QStringLiteral("line-width")), 1, 32767);
        if (!pixels)
            return usage(command, QStringLiteral("the line width must be ") + conv::wholeNumberText(1));
        c.settings.lineWidth = int(*pixels);
    }
    if (p.isSet(QStringLiteral("size"))) {
        const std::optional<qulonglong> pixels = wholeNumber(p.value(QStringLiteral("size")), 1, qulonglong(MostPixels));
        if (!pixels)
            return usage(command, QStringLiteral("the size must be a whole number of pixels from %1, not \"%2\"")
                                      .arg(conv::rangeText(1, MostPixels), p.value(QStringLiteral("size"))));
        c.size = int(*pixels);
    }
    if (p.isSet(QStringLiteral("max-triangles"))) {
        const std::optional<qulonglong> most = wholeNumber(p.value(QStringLiteral("max-triangles")), 1, std::numeric_limits<qulonglong>::max());
        if (!most)
            return usage(command, QStringLiteral("the triangle limit must be a whole number from 1 up"));
        c.maxTriangles = *most;
    }
    c.ascii = p.isSet(QStringLiteral("ascii"));
    c.prism = p.isSet(QStringLiteral("prism"));
    return c;
}

bool binaryFormat(const ExportChoices& c)
{
    return c.format == QLatin1String("png") || c.format == QLatin1String("3mf") || (c.format == QLatin1String("stl") && !c.ascii);
}

// The bytes of one input's export, or why there are none. progress: see SolidLimits. Touches
// nothing shared, so that several run at once on threads of their own.
std::variant<QByteArray, Failure> exportBytes(const QString& input, const ExportChoices& c,
                                              const std::function<void(const QString&, double)>& progress = {})
{
    const QString name = input == StandardStream ? QStringLiteral("stdin") : QFileInfo(input).completeBaseName();
    std::variant<ObjectFileValues, Failure> object = readObjectInput(input);
    if (const Failure* failure = std::get_if<Failure>(&object))
        return *failure;
    if (c.format == QLatin1String("png") || c.format == QLatin1String("svg")) {
        ViewSettings settings = c.settings;
        if (!c.workspace.isEmpty()) {
            std::variant<WorkspaceFileValues, Failure> read = readWorkspaceInput(c.workspace);
            if (const Failure* failure = std::get_if<Failure>(&read))
                return *failure;
            settings.workspace = std::get<WorkspaceFileValues>(read);
        }
        HeadlessSession session;
        if (const std::optional<Failure> failure = session.showObject(std::get<ObjectFileValues>(std::move(object)), input, settings))
            return *failure;
        if (c.format == QLatin1String("svg"))
            return viewsSvg(session.core(), c.view, name);
        QString why;
        const QImage picture = viewsImage(session.core(), c.view);
        const QByteArray png = pngBytes(c.size > 0 ? scaledToLargerSide(picture, c.size) : picture, &why);
        if (png.isEmpty())
            return Failure{Failure::Kind::Refused, QStringLiteral("the PNG encoder failed: %1").arg(why)};
        return png;
    }
    const ObjectFileValues& values = std::get<ObjectFileValues>(object);
    if (c.format == QLatin1String("dxf")) {
        std::variant<QByteArray, QString> drawing = dxfDrawing(values, name, c.prism);
        if (const QString* why = std::get_if<QString>(&drawing))
            return Failure{Failure::Kind::Refused, *why};
        return std::get<QByteArray>(std::move(drawing));
    }
    SolidLimits limits;
    limits.maxTriangles = c.maxTriangles;
    limits.progress = progress;
    const std::variant<Mesh, QString> prism = buildPrism(values, c.unit, limits);
    if (const QString* why = std::get_if<QString>(&prism))
        return Failure{Failure::Kind::Refused, *why};
    const Mesh& mesh = std::get<Mesh>(prism);
    if (c.format == QLatin1String("3mf")) {
        std::variant<QByteArray, QString> package = threeMfPackage(mesh, name, c.unit);
        if (const QString* why = std::get_if<QString>(&package))
            return Failure{Failure::Kind::Refused, *why};
        return std::get<QByteArray>(std::move(package));
    }
    return c.ascii ? asciiStl(mesh, name) : binaryStl(mesh, name);
}

int exportBatch(const QCommandLineParser& p);

int exportObject(const QCommandLineParser& p)
{
    const QString command = QStringLiteral("export");
    if (p.isSet(QStringLiteral("output-dir")) || p.isSet(QStringLiteral("files-from")))
        return exportBatch(p);
    if (p.isSet(QStringLiteral("jobs")))
        return usage(command, QStringLiteral("-j applies to an export into --output-dir"));
    if (p.positionalArguments().size() != 1)
        return usage(command, QStringLiteral("give one object file (or - for standard input), or several with --output-dir DIR"));
    const QString input = p.positionalArguments().first(), output = p.value(QStringLiteral("output"));
    if (output.isEmpty())
        return usage(command, QStringLiteral("give the file to write with -o OUT (- for standard output)"));
    const QString named = output == StandardStream ? QString() : QFileInfo(output).suffix().toLower();
    const bool formatGiven = p.isSet(QStringLiteral("format"));
    const QString format = formatGiven ? p.value(QStringLiteral("format")) : named;
    if (!Formats.contains(format))
        return usage(command, formatGiven                    ? QStringLiteral("unknown format \"%1\": give stl, 3mf, svg, png or dxf").arg(format)
                              : output == StandardStream ? QStringLiteral("give the format of standard output with --format")
                                                         : QStringLiteral("cannot tell the format of \"%1\": name it .stl, .3mf, .svg, .png or .dxf, "
                                                                          "or give --format").arg(output));
    if (Formats.contains(named) && named != format && !p.isSet(QStringLiteral("force-format")))
        return usage(command, QStringLiteral("the output \"%1\" is named for %2, not %3: rename it, or give --force-format")
                                  .arg(output, named.toUpper(), format.toUpper()));
    std::variant<ExportChoices, int> chosen = exportChoices(p, format);
    if (const int* status = std::get_if<int>(&chosen))
        return *status;
    const ExportChoices& choices = std::get<ExportChoices>(chosen);
    QStringList inputs{input};
    if (!choices.workspace.isEmpty())
        inputs << choices.workspace;
    if (!choices.workspace.isEmpty() && readsStandardInput(input) && readsStandardInput(choices.workspace))
        return usage(command, QStringLiteral("standard input can be read once: give the object or the workspace as a file"));
    if (const QString refused = refusedOutput(output, binaryFormat(choices), inputs); !refused.isEmpty())
        return usage(command, refused);

    // A run over a second tells on a terminal what it is doing, on one line it rewrites.
    QElapsedTimer clock;
    clock.start();
    bool shown = false;
    std::function<void(const QString&, double)> progress;
    if (isatty(STDERR_FILENO))
        progress = [&clock, &shown](const QString& stage, double done) {
            if (clock.elapsed() < 1000)
                return;
            print(stderr, QStringLiteral("\r\x1b[KBuilding the solid: %1 (%2 %)").arg(stage).arg(int(done * 100)));
            shown = true;
        };
    const std::variant<QByteArray, Failure> bytes = exportBytes(input, choices, progress);
    if (shown)
        print(stderr, QStringLiteral("\r\x1b[K"));
    if (const Failure* failure = std::get_if<Failure>(&bytes))
        return fail(input, *failure);
    return writeOutput(output, std::get<QByteArray>(bytes));
}

// The signal that asked a batch export to stop (SIGINT, SIGTERM), 0 while none has.
std::atomic<int> stopSignal{0};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler must not take a lock");
extern "C" void askToStop(int signal) { stopSignal = signal; }

// The inputs of a batch: the command line's, then those of --files-from (one a line, LF or
// CR LF, blank lines skipped). A usage status (printed) when the list cannot be read.
std::variant<QStringList, int> batchInputs(const QCommandLineParser& p)
{
    QStringList inputs = p.positionalArguments();
    if (p.isSet(QStringLiteral("files-from"))) {
        const QString list = p.value(QStringLiteral("files-from"));
        QString why;
        const std::optional<QByteArray> bytes = readWholeInput(list, &why, InputContents::Script);
        if (!bytes)
            return fail(BadUsage, QStringLiteral("%1: %2").arg(inputName(list), why));
        for (QString line : QString::fromUtf8(*bytes).split(QLatin1Char('\n'))) {
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
            if (!line.isEmpty())
                inputs << line;
        }
    }
    return inputs;
}

// Exports every input into --output-dir as DIR/NAME.EXT, -j at once on threads of this
// process, each as a single export would be (its messages, its replaced or written-into
// output); failures do not stop the others. Two inputs for one output, an output that is
// an input, and standard input as an input are refused before any work.
int exportBatch(const QCommandLineParser& p)
{
    const QString command = QStringLiteral("export");
    const QString folder = p.value(QStringLiteral("output-dir"));
    if (folder.isEmpty())
        return usage(command, QStringLiteral("give the folder to write into with --output-dir DIR"));
    if (p.isSet(QStringLiteral("output")))
        return usage(command, QStringLiteral("give either -o OUT or --output-dir DIR, not both"));
    if (p.isSet(QStringLiteral("force-format")))
        return usage(command, QStringLiteral("--force-format does not apply to --output-dir, whose outputs are named for the format"));
    if (!p.isSet(QStringLiteral("format")))
        return usage(command, QStringLiteral("give the format of the outputs with --format"));
    const QString format = p.value(QStringLiteral("format"));
    if (!Formats.contains(format))
        return usage(command, QStringLiteral("unknown format \"%1\": give stl, 3mf, svg, png or dxf").arg(format));
    std::variant<ExportChoices, int> chosen = exportChoices(p, format);
    if (const int* status = std::get_if<int>(&chosen))
        return *status;
    const ExportChoices& choices = std::get<ExportChoices>(chosen);
    unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
    if (p.isSet(QStringLiteral("jobs"))) {
        const std::optional<qulonglong> given = wholeNumber(p.value(QStringLiteral("jobs")), 1, 1024);
        if (!given)
            return usage(command, QStringLiteral("the number of jobs must be a whole number from 1 to 1024"));
        jobs = unsigned(*given);
    }
    if (!QFileInfo(folder).isDir())
        return usage(command, QStringLiteral("the output folder \"%1\" is not a folder").arg(folder));
    std::variant<QStringList, int> listed = batchInputs(p);
    if (const int* status = std::get_if<int>(&listed))
        return *status;
    const QStringList& inputs = std::get<QStringList>(listed);
    if (inputs.isEmpty())
        return usage(command, QStringLiteral("give the object files to export into \"%1\"").arg(folder));

    std::set<std::pair<dev_t, ino_t>> inputFiles;
    for (const QString& input : inputs) {
        if (readsStandardInput(input))
            return usage(command, QStringLiteral("standard input is no input of an export into --output-dir; "
                                                 "give its names with --files-from -"));
        if (const auto file = fileIdentity(input))
            inputFiles.insert(*file);
    }
    if (!choices.workspace.isEmpty())
        if (const auto file = fileIdentity(choices.workspace))
            inputFiles.insert(*file);
    QStringList outputs;
    std::map<QString, QString> inputOf;
    for (const QString& input : inputs) {
        const QString output = QDir(folder).filePath(QFileInfo(input).completeBaseName() + QLatin1Char('.') + format);
        const auto [earlier, added] = inputOf.emplace(QDir::cleanPath(output), input);
        if (!added)
            return usage(command, QStringLiteral("the inputs \"%1\" and \"%2\" would both be written to \"%3\"; rename one")
                                      .arg(earlier->second, input, output));
        if (const auto file = fileIdentity(output); file && inputFiles.count(*file))
            return usage(command, QStringLiteral("the output \"%1\" is an input; write into another folder").arg(output));
        outputs << output;
    }

    struct sigaction stop {};
    stop.sa_handler = askToStop;
    sigemptyset(&stop.sa_mask);
    stop.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &stop, nullptr);
    ::sigaction(SIGTERM, &stop, nullptr);

    // Progress on a terminal only: rewritten by the main thread, cleared before each message.
    const bool showProgress = isatty(STDERR_FILENO);
    std::atomic<qsizetype> next{0}, finished{0}, failures{0};
    std::mutex changed;
    std::condition_variable wake;
    auto work = [&] {
        for (qsizetype i; stopSignal == 0 && (i = next++) < inputs.size();) {
            const std::variant<QByteArray, Failure> bytes = exportBytes(inputs[i], choices);
            if (showProgress)
                print(stderr, QStringLiteral("\r\x1b[K"));
            const Failure* failure = std::get_if<Failure>(&bytes);
            if ((failure ? fail(inputs[i], *failure) : writeOutput(outputs[i], std::get<QByteArray>(bytes))) != Done)
                ++failures;
            ++finished;
            std::lock_guard lock(changed);
            wake.notify_one();
        }
    };
    // Qt keeps the program's folder, which every session asks for, in a cache it fills
    // unguarded on first use: filled here, before the threads read it.
    QCoreApplication::applicationDirPath();
    std::vector<std::thread> threads;
    for (unsigned j = 0; j < std::min<qsizetype>(jobs, inputs.size()); ++j)
        threads.emplace_back(work);
    {
        std::unique_lock lock(changed);
        const auto line = [&] {
            return QStringLiteral("\r\x1b[K%1 of %2 exported, %3 failed").arg(finished - failures).arg(inputs.size()).arg(failures);
        };
        while (finished < inputs.size() && stopSignal == 0) {
            if (showProgress)
                print(stderr, line());
            wake.wait_for(lock, std::chrono::milliseconds(100));
        }
    }
    for (std::thread& thread : threads)
        thread.join();
    if (showProgress)
        print(stderr, QStringLiteral("\r\x1b[K%1 of %2 exported, %3 failed\r\x1b[K").arg(finished - failures).arg(inputs.size()).arg(failures));
    if (stopSignal != 0)
        return fail(128 + stopSignal, QStringLiteral("stopped by a signal: %1 of %2 exported, %3 failed")
                                          .arg(finished - failures).arg(inputs.size()).arg(failures));
    if (failures > 0)
        return fail(Failed, QStringLiteral("%1 of %2 failed").arg(failures).arg(inputs.size()));
    return Done;
}

int importDrawing(const QCommandLineParser& p)
{
    const QString command = QStringLiteral("import");
    if (p.positionalArguments().size() != 1)
        return usage(command, QStringLiteral("give one drawing (or - for standard input)"));
    const QString input = p.positionalArguments().first(), output = p.value(QStringLiteral("output"));
    const bool list = p.isSet(QStringLiteral("list"));
    const QString named = input == StandardStream ? QString() : QFileInfo(input).suffix().toLower();
    const bool formatGiven = p.isSet(QStringLiteral("format"));
    const QString format = formatGiven ? p.value(QStringLiteral("format")) : named;
    if (format != QLatin1String("svg") && format != QLatin1String("dxf"))
        return usage(command, formatGiven             ? QStringLiteral("unknown format \"%1\": give svg or dxf").arg(format)
                              : input == StandardStream ? QStringLiteral("give the format of standard input with --format")
                                                        : QStringLiteral("cannot tell the format of \"%1\": name it .svg or .dxf, or give --format").arg(input));
    if (list && (p.isSet(QStringLiteral("output")) || p.isSet(QStringLiteral("outline")) || p.isSet(QStringLiteral("depth")) || p.isSet(QStringLiteral("fit"))))
        return usage(command, QStringLiteral("--list prints the outlines and writes nothing: give it without -o, --outline, --depth and --fit"));
    if (!list && output.isEmpty())
        return usage(command, QStringLiteral("give the object file to write with -o OUT.obj (- for standard output), or --list"));
    double tolerance = DefaultTolerance;
    if (p.isSet(QStringLiteral("tolerance"))) {
        const std::optional<double> t = conv::parseNumber(p.value(QStringLiteral("tolerance")));
        if (!t || !(*t > 0) || !std::isfinite(*t))
            return usage(command, QStringLiteral("the tolerance must be a number of twips above 0, not \"%1\"").arg(p.value(QStringLiteral("tolerance"))));
        tolerance = *t;
    }
    if (!list)
        if (const QString refused = refusedOutput(output, true, {input}); !refused.isEmpty())
            return usage(command, refused);

    QString why;
    const std::optional<QByteArray> bytes = readWholeInput(input, &why, InputContents::Drawing);
    if (!bytes)
        return fail(input, inputFailure(input, why));
    DrawingOutlines read = readDrawing(*bytes, format, tolerance);
    if (const QString* problem = std::get_if<QString>(&read))
        return fail(input, inputFailure(input, *problem));
    const std::vector<OutlineCandidate>& candidates = std::get<std::vector<OutlineCandidate>>(read);
    if (list) {
        QString text;
        for (const OutlineCandidate& c : candidates)
            text += candidateLine(c) + QLatin1Char('\n');
        print(stdout, text);
        return Done;
    }
    const OutlineCandidate* chosen = chooseOutline(candidates, p.value(QStringLiteral("outline")), &why);
    if (!chosen) {
        // The candidates follow the message, one a line.
        const QStringList lines = why.split(QLatin1Char('\n'));
        fail(input, Failure{Failure::Kind::Refused, lines.first()});
        for (const QString& line : lines.mid(1))
            print(stderr, shownPlainly(line) + QLatin1Char('\n'));
        return Failed;
    }

    HeadlessSession session;
    const QString name = input == StandardStream ? QStringLiteral("stdin") : QFileInfo(input).completeBaseName();
    if (const std::optional<Failure> failure = showOutline(session, chosen->points, p.isSet(QStringLiteral("fit")), name))
        return fail(input, *failure);
    if (p.isSet(QStringLiteral("depth"))) {
        // Extruded as Draw 3D and then the depth typed as the command box takes it.
        QString answer;
        for (const QString& line : {QStringLiteral("Draw 3D"), QStringLiteral("ObjectDepth ") + p.value(QStringLiteral("depth"))})
            if (const std::optional<Failure> failure = session.runLine(line, &answer))
                return line == QLatin1String("Draw 3D") ? fail(input, *failure) : usage(command, failure->message);
    }
    return writeOutput(output, writeObjectFile(session.state()));
}

QCommandLineOption valueOption(const QStringList& names, const QString& valueName, const QString& description)
{
    return QCommandLineOption(names, description, valueName);
}

const QString OutputSafety = QStringLiteral(
    "An existing output is replaced whole, never half written (a read-only file is refused; a\n"
    "link to a file replaces the file it points to; a loop of links is refused); a device or a\n"
    "named pipe is written into, as cp and tee do. An output that is one of the inputs\n"
    "(standard input's file for \"-\") is refused. \"-\" is standard output. Every input may\n"
    "be a pipe; one only may read standard input (\"-\", or /dev/stdin when it is a pipe).\n");

const std::vector<Command> Commands{
    {QStringLiteral("info"), QStringLiteral("info FILE [--json]"), QStringLiteral("what an object or workspace file holds"),
     QStringLiteral("Prints what an object or workspace file (\"-\" standard input) holds, whichever kind it\n"
                    "is. An object: its points (twips, X to the right, Y down as in the front view), its\n"
                    "depth as stored and as the extruded drawing takes it, its dimension (2 drawn flat, 3\n"
                    "drawn extruded) and grid state. A workspace: its four colours, the point radius and the\n"
                    "grid state. Control characters in texts are shown as \\xHH, characters that reorder\n"
                    "text (U+202E) as \\uHHHH; --json escapes both in JSON's \\uHHHH form.\n"),
     {QCommandLineOption(QStringLiteral("json"), QStringLiteral("the same as one JSON object, named as in docs/file-format.md"))},
     QStringLiteral("  brondelwick-tool info docs/sample.obj\n"
                    "  brondelwick-tool info --json Workspaces/dark.wks\n"),
     info},
    {QStringLiteral("run"), QStringLiteral("run SCRIPT -o OUT.obj [--from IN.obj]"),
     QStringLiteral("run command-box lines, save the object"),
     QStringLiteral("Runs the lines of SCRIPT (\"-\" for standard input) as if each were typed into the command\n"
                    "box and executed: PutPoint X,Y, ResetPoint N,X,Y, ObjectDepth D, GetPointCoords N and\n"
                    "ManualSet, with the window's words, checks and messages. Three more lines choose menu\n"
                    "items: \"Draw 2D\" and \"Draw 3D\" (Draw Polygon menu) and \"Clear\" (File menu). Blank\n"
                    "lines and lines starting with \"#\" are skipped; a line ends with LF, CR LF or a lone\n"
                    "CR, and a script may hold up to 64 MiB. Then the object is saved to OUT.obj, byte for\n"
                    "byte as the window saves it after the same actions.\n\n"
                    "A line the window would answer with a message box stops the run: the message goes to\n"
                    "standard error as SCRIPT:LINE: message, the exit status is 1 and nothing is written.\n"
                    "GetPointCoords prints its answer on standard output (on standard error when the object\n"
                    "goes to standard output). --from OUT.obj edits an object in place.\n\n")
         + OutputSafety,
     {valueOption({QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("OUT.obj"), QStringLiteral("the object file to write")),
      valueOption({QStringLiteral("from")}, QStringLiteral("IN.obj"),
                  QStringLiteral("start from this object, opened as File > Open Object opens it"))},
     QStringLiteral("  brondelwick-tool run docs/sample-script.txt -o sample.obj\n"), run},
    {QStringLiteral("export"), QStringLiteral("export IN.obj -o OUT [OPTIONS]\n   or: brondelwick-tool export IN.obj... --output-dir DIR --format FORMAT [OPTIONS]"),
     QStringLiteral("the object as a solid, a drawing or a picture"),
     QStringLiteral("Exports an object (\"-\" standard input) in the format the output's extension names, or\n"
                    "in that of --format, which standard output needs.\n\n"
                    "  stl  the extruded object as a closed solid (binary STL unless --ascii): the outline\n"
                    "       filled by the nonzero rule, its front face at Z = 0, its back face at Z = minus\n"
                    "       the depth, X to the right and Y up. A flat object, a depth of 0, fewer than\n"
                    "       three distinct points, an outline that encloses no area, one over\n"
                    "       --max-triangles, one so far from the origin that single precision would move\n"
                    "       a corner by more than half a twip, and one whose corners single precision\n"
                    "       cannot keep apart in the unit are refused.\n"
                    "  3mf  the same solid as a 3MF package, as slicers read it: the unit named in the\n"
                    "       model (mm or in; 3MF has no twips), the object named after the file, each\n"
                    "       filled part with corners of its own.\n"
                    "  svg  the four views as vector drawings, laid out as in the window, one group per view.\n"
                    "  png  the same views as pixels, exactly as the window shows them (scaled: --size).\n"
                    "  dxf  the outline as a closed polyline in millimetres (DXF release 12), on a layer\n"
                    "       named after the object (\"0\" and \"DEFPOINTS\", which CAD programs keep, with\n"
                    "       \"_OBJECT\" after them); with --prism also the back face and the lateral edges.\n\n")
         + OutputSafety
         + QStringLiteral("Binary STL, 3MF and PNG are not written to a terminal.\n\n"
                          "With --output-dir, every input is exported to DIR/NAME.EXT (its name with the\n"
                          "extension of --format), -j at once on threads of one process, each as a single\n"
                          "export is; one that fails gets its message and does not stop the others, and the\n"
                          "run then ends with exit status 1 and a last line saying how many of how many\n"
                          "failed. Two inputs for one output, or an output that is an input, are refused\n"
                          "before any work. On a terminal a progress line shows how many are done. An\n"
                          "interrupt (SIGINT, SIGTERM) starts no more exports, lets the running ones finish,\n"
                          "keeps every finished output and exits with 130 or 143.\n"),
     {valueOption({QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("FILE"), QStringLiteral("the file to write")),
      valueOption({QStringLiteral("format")}, QStringLiteral("FORMAT"), QStringLiteral("stl, 3mf, svg, png or dxf")),
      valueOption({QStringLiteral("output-dir")}, QStringLiteral("DIR"),
                  QStringLiteral("export every input into this folder as NAME.EXT\n(needs --format)")),
      valueOption({QStringLiteral("j"), QStringLiteral("jobs")}, QStringLiteral("N"),
                  QStringLiteral("with --output-dir: N exports at once, 1 to 1024\n(default: the machine's cores)")),
      valueOption({QStringLiteral("files-from")}, QStringLiteral("FILE"),
                  QStringLiteral("with --output-dir: also the inputs named in FILE (\"-\"\nstandard input), one a line")),
      QCommandLineOption(QStringLiteral("force-format"),
                         QStringLiteral("write the format of --format into an output whose extension\nnames another")),
      QCommandLineOption(QStringLiteral("ascii"), QStringLiteral("STL: ASCII instead of binary")),
      valueOption({QStringLiteral("unit")}, QStringLiteral("mm|in|twip"),
                  QStringLiteral("STL, 3MF: the unit of the coordinates (default mm; 1440\ntwips an inch; 3MF: mm or in)")),
      valueOption({QStringLiteral("max-triangles")}, QStringLiteral("N"),
                  QStringLiteral("STL, 3MF: refuse an outline cut into more than N pieces to be\nfilled (its edges cut at every corner's height and where\nthey cross) or a solid of more than N triangles (a whole\nnumber from 1 up, default 1000000)")),
      valueOption({QStringLiteral("view")}, QStringLiteral("front|side|top|3d"), QStringLiteral("SVG, PNG: one view alone")),
      QCommandLineOption(QStringLiteral("grid"), QStringLiteral("SVG, PNG: with the grid lines")),
      valueOption({QStringLiteral("workspace")}, QStringLiteral("FILE.wks"),
                  QStringLiteral("SVG, PNG: colours, point radius and view background of\nthis workspace (default: the "
                                 "settings the program\nstarts with)")),
      valueOption({QStringLiteral("line-width")}, QStringLiteral("N"),
                  QStringLiteral("SVG, PNG: the 3D view's pen width, a whole number of\npixels from 1 to 32767 (default 1); workspace files\ndo "
                                 "not store it")),
      valueOption({QStringLiteral("size")}, QStringLiteral("N"),
                  QStringLiteral("PNG: the picture scaled smoothly so that its larger side\nis N pixels (1 to %1), keeping its proportions, as\n"
                                 "for a thumbnail").arg(MostPixels)),
      QCommandLineOption(QStringLiteral("prism"), QStringLiteral("DXF: also the back face and the lateral edges"))},
     QStringLiteral("  brondelwick-tool export docs/sample.obj -o sample.stl\n"
                    "  brondelwick-tool export docs/sample.obj -o sample.3mf --unit in\n"
                    "  brondelwick-tool export Objects/*.obj --output-dir prints --format 3mf -j 2\n"
                    "  find Objects -name '*.obj' | brondelwick-tool export --files-from - --output-dir prints --format stl\n"
                    "  brondelwick-tool export docs/sample.obj -o sample.svg --grid\n"
                    "  brondelwick-tool export docs/sample.obj -o views.png --line-width 2\n"
                    "  brondelwick-tool export docs/sample.obj -o thumbnail.png --view 3d --size 128\n"
                    "  brondelwick-tool export docs/sample.obj -o sample.dxf --prism\n"
                    "  brondelwick-tool export docs/sample.obj -o - --format svg | rsvg-convert -o views.png\n"),
     exportObject},
    {QStringLiteral("import"), QStringLiteral("import DRAWING -o OUT.obj [OPTIONS]"),
     QStringLiteral("an outline from an SVG or DXF drawing as an object"),
     QStringLiteral("Makes an object of one closed outline of an SVG or DXF drawing (\"-\" standard input, with\n"
                    "--format), saved byte for byte as the window saves the same points: flat, or extruded\n"
                    "with --depth. A drawing with exactly one closed outline gives that one; with several or\n"
                    "none the import is refused with the list --list prints (each element's id or entity's\n"
                    "handle and layer, its subpath, closed or open, its points and its size in mm), and\n"
                    "--outline picks one. An open path is listed as open and never closed. Text, images,\n"
                    "block inserts and hatches are listed and not taken.\n\n"
                    "Curves (Beziers, arcs, circles, ellipses, bulges, splines) become points within\n"
                    "--tolerance of the curve; consecutive points on one twip are one point; more than\n"
                    "32767 points is refused. SVG keeps its axes (X right, Y down), one CSS pixel being 15\n"
                    "twips, after the root's viewBox, width and height and every transform. DXF is read in\n"
                    "its $INSUNITS (millimetres when absent) with Y up, so that an object exported with\n"
                    "\"export --format dxf\" comes back with the same points. --fit scales and places the\n"
                    "outline to fill the front view less a margin, keeping its proportions; without it an\n"
                    "outline beyond what an object file holds is refused.\n\n")
         + OutputSafety,
     {valueOption({QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("OUT.obj"), QStringLiteral("the object file to write")),
      valueOption({QStringLiteral("format")}, QStringLiteral("FORMAT"), QStringLiteral("svg or dxf (default: the drawing's extension)")),
      QCommandLineOption(QStringLiteral("list"), QStringLiteral("print the drawing's outlines, one a line, and write nothing")),
      valueOption({QStringLiteral("outline")}, QStringLiteral("ID[:N]"), QStringLiteral("the outline to take: an id or handle, :N its subpath")),
      valueOption({QStringLiteral("depth")}, QStringLiteral("N"), QStringLiteral("extruded, this deep in twips (as ObjectDepth N takes it)")),
      valueOption({QStringLiteral("tolerance")}, QStringLiteral("T"),
                  QStringLiteral("how far in twips the points may stray from a curve\n(default 7.5, half a pixel)")),
      QCommandLineOption(QStringLiteral("fit"), QStringLiteral("scale and place the outline to fill the front view"))},
     QStringLiteral("  brondelwick-tool import --list drawing.svg\n"
                    "  brondelwick-tool import drawing.svg -o shape.obj --outline wing:2 --depth 400\n"
                    "  brondelwick-tool export docs/sample.obj -o sample.dxf && brondelwick-tool import sample.dxf -o again.obj\n"),
     importDrawing},
};

QString mainHelp()
{
    QString commands;
    for (const Command& c : Commands)
        commands += QStringLiteral("  %1%2\n").arg(c.name.leftJustified(10), c.summary);
    return QStringLiteral(
               "Usage: brondelwick-tool COMMAND [OPTIONS]\n\n"
               "The command-line companion of Brondelwick: it reads and writes the program's object (.obj)\n"
               "and workspace (.wks) files without opening a window or needing a display.\n\n"
               "Commands:\n%1\n"
               "Run \"brondelwick-tool help COMMAND\" (or --help COMMAND, or COMMAND --help) for the options\n"
               "and examples of a command; help, --help-all and --version take no other words. Options take\n"
               "their value as the next word, after \"=\" (--output=FILE) or, for one letter, joined\n"
               "(-oFILE); \"--\" ends the options.\n\n"
               "Options:\n"
               "  -h, --help [COMMAND]      this help, or that of a command\n"
               "  --help-all                this help and that of every command\n"
               "  -v, --version             the version\n\n"
               "Exit status:\n"
               "  0  done\n"
               "  1  a failure while doing the work: a script line refused, an object that cannot be\n"
               "     exported, an output that cannot be written, standard output full or closed\n"
               "  2  a wrong command line or a refused combination (an output that is an input, a\n"
               "     binary format for a terminal), or an input file that is missing, unreadable,\n"
               "     malformed or holds nothing\n"
               "  130, 143  an export into --output-dir stopped by SIGINT or SIGTERM\n\n"
               "Every message goes to standard error, headed by the tool's name.\n")
        .arg(commands);
}

// The first word that starts as no option does ("-reverse" as much as "--fast"), for a
// message that quotes the user's word; empty when there is none.
QString unknownOption(const QStringList& words, const QList<QCommandLineOption>& options)
{
    for (const QString& word : words) {
        if (word == QLatin1String("--"))
            break;
        if (!word.startsWith(QLatin1Char('-')) || word == StandardStream)
            continue;
        const QString name = word.startsWith(QLatin1String("--")) ? word.mid(2).section(QLatin1Char('='), 0, 0) : word.mid(1, 1);
        if (std::none_of(options.begin(), options.end(), [&](const QCommandLineOption& o) { return o.names().contains(name); }))
            return word;
    }
    return {};
}

// Parses a command's words and performs it; --help prints its help instead.
int perform(const Command& c, const QStringList& words)
{
    QCommandLineParser p;
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    p.addOptions(c.options);
    p.addOption(HelpOption);
    if (!p.parse(QStringList{Tool} + words)) {
        const QString unknown = unknownOption(words, c.options + QList<QCommandLineOption>{HelpOption});
        return usage(c.name, unknown.isEmpty() ? p.errorText() : QStringLiteral("unknown option \"%1\"").arg(unknown));
    }
    if (p.isSet(HelpOption)) {
        const auto other = std::find_if(words.begin(), words.end(), [](const QString& word) {
            return !HelpOption.names().contains(word.mid(word.startsWith(QLatin1String("--")) ? 2 : 1));
        });
        if (other != words.end())
            return usage(c.name, QStringLiteral("--help takes no other words, not \"%1\"").arg(*other));
        return print(stdout, helpText(c)), Done;
    }
    for (const QCommandLineOption& option : c.options) {
        const QStringList names = p.optionNames();
        const auto given = std::count_if(names.begin(), names.end(),
                                         [&](const QString& name) { return option.names().contains(name); });
        if (given > 1)
            return usage(c.name, QStringLiteral("--%1 is given twice").arg(option.names().last()));
    }
    return c.perform(p);
}

const Command* commandNamed(const QString& name)
{
    for (const Command& c : Commands)
        if (c.name == name)
            return &c;
    return nullptr;
}

// Help is asked for as "help [COMMAND]", "--help [COMMAND]", "-h [COMMAND]" ("help help" is
// the tool's own help) or "COMMAND --help"; --help-all and --version stand alone. A word more
// is a wrong command line, wherever help is asked for.
int dispatch(const QStringList& arguments)
{
    const QString first = arguments.value(0);
    if (const Command* c = commandNamed(first))
        return perform(*c, arguments.mid(1));
    if (first == QLatin1String("help") || first == QLatin1String("--help") || first == QLatin1String("-h")) {
        if (arguments.size() > 2)
            return usage({}, QStringLiteral("%1 takes one command at most, not also \"%2\"").arg(first, arguments[2]));
        if (arguments.size() == 1 || arguments[1] == QLatin1String("help"))
            return print(stdout, mainHelp()), Done;
        if (const Command* c = commandNamed(arguments[1]))
            return print(stdout, helpText(*c)), Done;
        return usage({}, QStringLiteral("unknown command \"%1\"").arg(arguments[1]));
    }
    const bool all = first == QLatin1String("--help-all");
    const bool version = first == QLatin1String("--version") || first == QLatin1String("-v");
    if ((all || version) && arguments.size() > 1)
        return usage({}, QStringLiteral("%1 takes no other words, not \"%2\"").arg(first, arguments[1]));
    if (all) {
        QString text = mainHelp();
        for (const Command& c : Commands)
            text += manualSection(c);
        return print(stdout, text), Done;
    }
    if (version)
        return print(stdout, QStringLiteral("brondelwick-tool %1\n").arg(QCoreApplication::applicationVersion())), Done;
    if (first.isEmpty())
        return usage({}, QStringLiteral("give a command: info, run, export or import"));
    return usage({}, first.startsWith(QLatin1Char('-')) ? QStringLiteral("unknown option \"%1\"").arg(first)
                                                          : QStringLiteral("unknown command \"%1\"").arg(first));
}

// The bytes of a word as text: each UTF-8 sequence as its character, each other byte as \xHH.
QString shownBytes(const QByteArray& bytes)
{
    QString shown;
    for (qsizetype i = 0; i < bytes.size();) {
        qsizetype length = 1;
        while (length <= 4 && i + length <= bytes.size()
               && QString::fromUtf8(bytes.mid(i, length)).toUtf8() != bytes.mid(i, length))
            ++length;
        if (length > 4 || i + length > bytes.size()) {
            shown += QStringLiteral("\\x%1").arg(int(std::uint8_t(bytes[i])), 2, 16, QLatin1Char('0'));
            ++i;
        } else {
            shown += QString::fromUtf8(bytes.mid(i, length));
            i += length;
        }
    }
    return shown;
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
    guardStandardStreams();
    qInstallMessageHandler(keepToolkitQuiet);
    // The toolkit sees no argument, so that none is taken from the tool.
    int toolkitArgc = 1;
    char* toolkitArgv[] = {argv[0], nullptr};
    QCoreApplication app(toolkitArgc, toolkitArgv);
    QCoreApplication::setApplicationName(Tool);
    QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2.%3").arg(appversion::Major).arg(appversion::Minor).arg(appversion::Revision));
    // Files are opened by the names' text, which is UTF-8: other bytes would name another file.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        const QByteArray bytes(argv[i]);
        arguments << QString::fromLocal8Bit(bytes);
        if (arguments.last().toLocal8Bit() != bytes)
            return fail(BadUsage, QStringLiteral("the name \"%1\" is not UTF-8, so the tool cannot keep its bytes: rename the file")
                                      .arg(shownBytes(bytes)));
    }
    const int status = dispatch(arguments);
    // Whatever is still buffered must reach standard output too, or the run failed.
    if (std::fflush(stdout) != 0 && standardOutputError == 0)
        standardOutputError = errno;
    if (standardOutputError != 0 && status == Done)
        return fail(Failed, QStringLiteral("standard output: %1").arg(std::strerror(standardOutputError)));
    return status;
}
