// Fuzz target over everything that reads a file: the record, the property bag, and the
// object and workspace readers. A file that reads must write back to bytes that read the same.
#include "files/FileRecord.h"
#include "files/ObjectFile.h"
#include "files/WorkspaceFile.h"
#include "platform/PropertyBag.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    // The bag on its own: what it accepts it must serialise back to the very same bytes.
    PropertyBag bag;
    if (bag.setContents(bytes) && bag.Contents() != bytes)
        std::abort();

    const filerecord::Decoded record = filerecord::decode(bytes);
    if (record.status == filerecord::Decoded::Status::Data && filerecord::decode(filerecord::encode(record.data)).data != record.data)
        std::abort();

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
    return 0;
}
