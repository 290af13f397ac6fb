// Fuzz target over everything that reads a file: the record, the property bag, and the
// object and workspace readers. A file that reads must write back to bytes that read the same.
#include "files/FileRecord.h"
#include "files/ObjectFile.h"
#include "files/WorkspaceFile.h"
#include "platform/Crc32.h"
#include "platform/PropertyBag.h"

#include <bit>
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

// A value's kind and bits: NaN payloads and the sign of zero count.
bool sameBits(const TaggedValue& a, const TaggedValue& b)
{
    if (a.kind() != b.kind())
        return false;
    if (const float* f = a.get<float>())
        return std::bit_cast<quint32>(*f) == std::bit_cast<quint32>(*b.get<float>());
    if (const double* d = a.get<double>())
        return std::bit_cast<quint64>(*d) == std::bit_cast<quint64>(*b.get<double>());
    return a == b;
}

bool sameObject(const ObjectFileValues& a, const ObjectFileValues& b)
{
    return a.PointCount == b.PointCount && a.points == b.points && a.Dimension == b.Dimension
        && a.GridState == b.GridState && sameBits(a.Depth, b.Depth);
}

// The fast path over the written layout must give what the general reader gives; and on a
// record it takes, the general reader must load the very same values.
void readObjectBothWays(const filerecord::Decoded& record)
{
    ObjectFileValues fast;
    ObjectFileValues general;
    QString fastWhy, generalWhy;
    const ReadResult fastResult = readObjectFile(record, fast, &fastWhy);
    const ReadResult generalResult = readObjectFileInGeneral(record, general, &generalWhy);
    if (fastResult != generalResult || fastWhy != generalWhy
        || (fastResult == ReadResult::Loaded && !sameObject(fast, general)))
        std::abort();
    ObjectFileValues taken;
    if (record.status == filerecord::Decoded::Status::Data && readWrittenObjectLayout(record.data, taken)
        && (generalResult != ReadResult::Loaded || !sameObject(taken, general)))
        std::abort();
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

    readObjectBothWays(record);
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
