// Fuzz target over the drawing readers of brondelwick-tool import: any bytes as SVG or DXF
// (the first byte chooses, the second the tolerance) give a reason, or candidates of which
// every closed one is refused with a reason or becomes an object file the window reads back.
#include "export/DrawingImport.h"

#include <QCoreApplication>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_import";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static HeadlessSession session;
    if (size < 2)
        return 0;
    const QString format = data[0] % 2 ? QStringLiteral("svg") : QStringLiteral("dxf");
    const double tolerance = 0.5 + data[1];
    const DrawingOutlines read = readDrawing(QByteArray(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2)), format, tolerance);
    const auto* candidates = std::get_if<std::vector<OutlineCandidate>>(&read);
    if (!candidates) {
        if (std::get<QString>(read).isEmpty())
            std::abort();
        return 0;
    }
    for (const OutlineCandidate& c : *candidates) {
        if (!c.usable || !c.closed)
            continue;
        for (const bool fit : {false, true}) {
            if (const std::optional<Failure> refused = showOutline(session, c.points, fit, QStringLiteral("fuzz"))) {
                if (refused->message.isEmpty())
                    std::abort();
                continue;
            }
            ObjectFileValues back;
            if (readObjectFile(writeObjectFile(session.state()), back) != ReadResult::Loaded)
                std::abort();
        }
    }
    return 0;
}
