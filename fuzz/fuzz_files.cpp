// Fuzz target over everything that reads a file: the record, the property bag, and the
// object and workspace readers. A file that reads must write back to bytes that read the same.
#include "files/FileRecord.h"
#include "files/ObjectFile.h"
#include "files/WorkspaceFile.h"
#include "platform/Conversions.h"
#include "platform/Crc32.h"
#include "platform/PropertyBag.h"

#include <cmath>
#include <cstdlib>

namespace {
// The input wrapped into a record whose bag ends with the right checksum, so that mutations
// reach the reading of the values instead of stopping at the checksum.
QByteArray withValidChecksum(const QByteArray& bytes)
{
    const filerecord::Decoded record = filerecord::decode(bytes);
    QByteArray body = record.status == filerecord::Decoded::Status::Data ? record.data : bytes;
    if (body.size() >= 4)
        body.chop(4);
    const quint32 crc = crc32(body.constData(), body.size());
    for (int i = 0; i < 4; ++i)
        body.append(char((crc >> (8 * i)) & 0xFF));
    return filerecord::encode(body);
}

// The bag on its own: what it accepts it must serialise back to the very same bytes.
void readBag(const QByteArray& bytes)
{
    PropertyBag bag;
    if (bag.setContents(bytes) && bag.Contents() != bytes)
        std::abort();
}

// The object reader reads the bag in one pass; the bag read whole must agree with it: a bag
// it refuses is refused for the same reason, and what it loads is there in the bag.
void readObjectAgainstBag(const filerecord::Decoded& record)
{
    ObjectFileValues object;
    QString why;
    const ReadResult result = readObjectFile(record, object, &why);
    if (record.status != filerecord::Decoded::Status::Data)
        return;
    PropertyBag bag;
    QString bagWhy;
    if (!bag.setContents(record.data, &bagWhy, MostObjectValues)) {
        if (result != ReadResult::Malformed || why != bagWhy)
            std::abort();
        return;
    }
    if (result == ReadResult::Malformed) {
        // Refused for what a value holds, and worded so.
        if (!why.startsWith(QLatin1Char('"')))
            std::abort();
        return;
    }
    const std::optional<double> count = bag.ReadProperty(QStringLiteral("Points"), TaggedValue()).toNumber();
    if (result != ReadResult::Loaded || !count || std::lround(*count) != object.PointCount)
        std::abort();
    // Each point is its text's first two fields read as numbers and rounded into 32 bits.
    for (int i = 0; i < object.PointCount; ++i) {
        const TaggedValue text = bag.ReadProperty(QStringLiteral("Point%1").arg(i), TaggedValue());
        const QStringList fields = text.toText().split(QLatin1Char(','));
        const PointRecord& p = object.points[std::size_t(i)];
        const auto coordinate = [&fields](int field) {
            const std::optional<double> n = fields.size() > field ? conv::parseNumber(fields[field]) : std::nullopt;
            return n ? conv::toInt32(*n) : std::nullopt;
        };
        if (!text.isText() || coordinate(0) != p.X || coordinate(1) != p.Y)
            std::abort();
    }
}

// The object file writer goes straight to bytes; they must be those of a bag holding the
// same values written one by one.
void writeObjectBothWays(const WorkspaceState& state)
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("Points"), TaggedValue(state.PointCount));
    bag.WriteProperty(QStringLiteral("Dimension"), TaggedValue(state.Dimension));
    bag.WriteProperty(QStringLiteral("Grid"), TaggedValue(state.GridState));
    bag.WriteProperty(QStringLiteral("Depth"), state.Depth);
    for (int i = 0; i < state.PointCount; ++i) {
        const PointRecord& p = state.pPoints[std::size_t(i)];
        bag.WriteProperty(QStringLiteral("Point%1").arg(i), TaggedValue(QStringLiteral("%1,%2").arg(p.X).arg(p.Y)));
    }
    if (bagfile::encode(bag) != writeObjectFile(state))
        std::abort();
}

void readBoth(const QByteArray& bytes)
{
    readBag(bytes);
    const filerecord::Decoded record = filerecord::decode(bytes);
    if (record.status == filerecord::Decoded::Status::Data) {
        readBag(record.data);
        if (filerecord::decode(filerecord::encode(record.data)).data != record.data)
            std::abort();
    }

    readObjectAgainstBag(record);
    ObjectFileValues object;
    if (readObjectFile(bytes, object) == ReadResult::Loaded) {
        WorkspaceState state;
        state.PointCount = object.PointCount;
        state.pPoints = object.points;
        state.Dimension = object.Dimension;
        state.GridState = object.GridState;
        state.Depth = object.Depth;
        writeObjectBothWays(state);
        ObjectFileValues again;
        if (readObjectFile(writeObjectFile(state), again) != ReadResult::Loaded || again.points != object.points
            || again.PointCount != object.PointCount)
            std::abort();
    }

    WorkspaceFileValues workspace;
    if (readWorkspaceFile(bytes, workspace) == ReadResult::Loaded) {
        WorkspaceFileValues again;
        if (readWorkspaceFile(writeWorkspaceFile(workspace), again) != ReadResult::Loaded || !(again == workspace))
            std::abort();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    readBoth(bytes);
    readBoth(withValidChecksum(bytes));
    return 0;
}
