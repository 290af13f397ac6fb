// Fuzz target over everything that reads a file: the record, the property bag, and the
// object and workspace readers. A file that reads must write back to bytes that read the same.
#include "files/FileRecord.h"
#include "files/ObjectFile.h"
#include "files/WorkspaceFile.h"
#include "platform/Crc32.h"
#include "platform/PropertyBag.h"

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

void readBoth(const QByteArray& bytes)
{
    readBag(bytes);
    const filerecord::Decoded record = filerecord::decode(bytes);
    if (record.status == filerecord::Decoded::Status::Data) {
        readBag(record.data);
        if (filerecord::decode(filerecord::encode(record.data)).data != record.data)
            std::abort();
    }

    ObjectFileValues object;
    if (readObjectFile(bytes, object) == ReadResult::Loaded) {
        WorkspaceState state;
        state.PointCount = object.PointCount;
        state.pPoints = object.points;
        state.Dimension = object.Dimension;
        state.GridState = object.GridState;
        state.Depth = object.Depth;
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
