// Runs the benchmarks on the offscreen platform with per-user settings in a temporary folder.
#include "BenchSupport.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
QtMessageHandler passOn = nullptr;

// The offscreen platform warns for every window shown that it cannot pass on size hints;
// that says nothing about what is measured.
void dropSizeHintWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!message.contains(QLatin1String("propagateSizeHints")))
        passOn(type, context, message);
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    passOn = qInstallMessageHandler(dropSizeHintWarnings);
    QApplication app(argc, argv);
    nameProgram();
    QTemporaryDir settingsFolder;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder.path());

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    registerStartupBenchmarks();
    registerDrawingBenchmarks();
    registerFileBenchmarks();
    registerExportBenchmarks();
    registerToolBenchmarks();
    registerImportBenchmarks();
    const int missed = runAndCheckGoals();
    releaseDrawingBenchmarks();
    releaseFileBenchmarks();
    releaseExportBenchmarks();
    benchmark::Shutdown();
    return missed == 0 ? 0 : 2;
}
