// Writing and strictly reading the values of a workspace file.
#include "files/WorkspaceFile.h"

#include "platform/Conversions.h"

#include <limits>
#include <utility>

namespace {

const QString kLinesC = QStringLiteral("LinesC");
const QString kGridLinesC = QStringLiteral("GridLinesC");
const QString kGridBGC = QStringLiteral("GridBGC");
const QString kObjColor = QStringLiteral("ObjColor");
const QString kRadius = QStringLiteral("Radius");
const QString kGridState = QStringLiteral("GridState");

constexpr std::int32_t kLargestColour = 0xFFFFFF;

} // namespace

ReadResult readWorkspaceFile(const filerecord::Decoded& record, WorkspaceFileValues& out, QString* why)
{
    using bagfile::malformed;
    using bagfile::quoted;

    PropertyBag bag;
    const ReadResult outer = bagfile::decode(record, bag, MostWorkspaceValues, why);
    if (outer != ReadResult::Loaded)
        return outer;

    // Every workspace value may be missing, so only this tells an object file opened by mistake.
    if (bag.contains(QStringLiteral("Points")))
        return malformed(why, QStringLiteral("an object file, not a workspace file (it holds \"Points\")"));

    WorkspaceFileValues values;
    const std::pair<const QString&, ColorRef&> colours[] = {
        {kLinesC, values.LinesC}, {kGridLinesC, values.GridLinesC}, {kGridBGC, values.GridBGC}, {kObjColor, values.ObjColor}};
    for (const auto& [name, target] : colours) {
        const TaggedValue value = bag.ReadProperty(name, TaggedValue(std::int32_t(0)));
        const std::optional<std::int32_t> colour = bagfile::toInt32(value);
        if (!colour || *colour < 0 || *colour > kLargestColour)
            return malformed(why, QStringLiteral("\"%1\" holds %2, not a colour from 0 to 16777215").arg(name, quoted(value)));
        target = ColorRef(*colour);
    }

    const TaggedValue radius = bag.ReadProperty(kRadius, TaggedValue(std::int16_t(20)));
    const std::optional<std::int16_t> radius16 = bagfile::toInt16(radius);
    if (!radius16 || *radius16 < 0)
        return malformed(why, QStringLiteral("\"Radius\" holds %1, not a radius from %2").arg(quoted(radius), conv::rangeText(0, std::numeric_limits<std::int16_t>::max())));
    values.Radius = *radius16;

    const TaggedValue grid = bag.ReadProperty(kGridState, TaggedValue(std::int16_t(1)));
    const std::optional<std::uint8_t> grid8 = bagfile::toUInt8(grid);
    if (!grid8)
        return malformed(why, QStringLiteral("\"GridState\" holds %1, not a number from 0 to 255").arg(quoted(grid)));
    values.GridState = *grid8;

    out = values;
    return ReadResult::Loaded;
}

QByteArray writeWorkspaceFile(const WorkspaceFileValues& values)
{
    PropertyBag bag;
    bag.WriteProperty(kLinesC, TaggedValue(std::int32_t(values.LinesC)));
    bag.WriteProperty(kGridLinesC, TaggedValue(std::int32_t(values.GridLinesC)));
    bag.WriteProperty(kGridBGC, TaggedValue(std::int32_t(values.GridBGC)));
    bag.WriteProperty(kObjColor, TaggedValue(std::int32_t(values.ObjColor)));
    bag.WriteProperty(kRadius, TaggedValue(values.Radius));
    bag.WriteProperty(kGridState, TaggedValue(values.GridState));
    return bagfile::encode(bag);
}
