// Writing and strictly reading the values of an object file.
#include "files/ObjectFile.h"

#include "platform/Conversions.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace {

const QString kPoints = QStringLiteral("Points");
const QString kDimension = QStringLiteral("Dimension");
const QString kGrid = QStringLiteral("Grid");
const QString kDepth = QStringLiteral("Depth");

// Composed in a small buffer: a large object has tens of thousands of these.
QString pointName(int index)
{
    char buffer[16] = {'P', 'o', 'i', 'n', 't'};
    const auto end = std::to_chars(buffer + 5, buffer + sizeof buffer, index).ptr;
    return QString::fromLatin1(buffer, qsizetype(end - buffer));
}

QString pointText(const PointRecord& p)
{
    char buffer[32]; // two 32-bit numbers of at most 11 characters and a comma
    char* end = std::to_chars(buffer, buffer + 12, p.X).ptr;
    *end = ',';
    end = std::to_chars(end + 1, buffer + sizeof buffer, p.Y).ptr;
    return QString::fromLatin1(buffer, qsizetype(end - buffer));
}

// "X,Y" with any further comma-separated fields ignored; each coordinate a number that
// rounds (half to even) into 32 bits.
std::optional<PointRecord> parsePoint(QStringView text)
{
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    if (comma < 0)
        return std::nullopt;
    const QStringView rest = text.mid(comma + 1);
    const std::optional<double> x = conv::parseNumber(text.left(comma));
    const std::optional<double> y = conv::parseNumber(rest.left(rest.indexOf(QLatin1Char(','))));
    const std::optional<std::int32_t> xi = x ? conv::toInt32(*x) : std::nullopt;
    const std::optional<std::int32_t> yi = y ? conv::toInt32(*y) : std::nullopt;
    if (!xi || !yi)
        return std::nullopt;
    return PointRecord{*xi, *yi};
}

} // namespace

ReadResult readObjectFile(const filerecord::Decoded& record, ObjectFileValues& out, QString* why)
{
    using bagfile::malformed;
    using bagfile::quoted;

    PropertyBag bag;
    const ReadResult outer = bagfile::decode(record, bag, MostObjectValues, why);
    if (outer != ReadResult::Loaded)
        return outer;

    // Without its count a file cannot be told from a damaged one, so "Points" has no default.
    const std::optional<TaggedValue> points = bagfile::readStored(bag, kPoints);
    if (!points)
        return malformed(why, QStringLiteral("\"Points\" is missing"));
    const std::optional<std::int16_t> count = bagfile::toInt16(*points);
    if (!count || *count < 0)
        return malformed(why, QStringLiteral("\"Points\" holds %1, not a number of points from 0 to 32767").arg(quoted(*points)));

    ObjectFileValues values;
    values.PointCount = *count;

    const TaggedValue dimension = bag.ReadProperty(kDimension, TaggedValue(std::int16_t(2)));
    const std::optional<std::int16_t> dimension16 = bagfile::toInt16(dimension);
    if (!dimension16)
        return malformed(why, QStringLiteral("\"Dimension\" holds %1, not a 16-bit number").arg(quoted(dimension)));
    values.Dimension = *dimension16;

    const TaggedValue grid = bag.ReadProperty(kGrid, TaggedValue(std::int16_t(0)));
    const std::optional<std::uint8_t> grid8 = bagfile::toUInt8(grid);
    if (!grid8)
        return malformed(why, QStringLiteral("\"Grid\" holds %1, not a number from 0 to 255").arg(quoted(grid)));
    values.GridState = *grid8;

    values.Depth = bag.ReadProperty(kDepth, TaggedValue(std::int16_t(0)));

    if (values.PointCount > 0) {
        // Grows only by points actually present, so a large count in a small file costs nothing.
        values.points.clear();
        values.points.reserve(std::size_t(std::min(int(values.PointCount), bag.count())));
        for (int i = 0; i < values.PointCount; ++i) {
            const TaggedValue text = bag.ReadProperty(pointName(i), TaggedValue(QString()));
            const std::optional<PointRecord> point = text.isText() ? parsePoint(text.toText()) : std::nullopt;
            if (!point)
                return malformed(why, QStringLiteral("\"%1\" holds %2, not a text X,Y of two whole numbers in 32 bits")
                                          .arg(pointName(i), quoted(text)));
            values.points.push_back(*point);
        }
    }

    out = std::move(values);
    return ReadResult::Loaded;
}

QByteArray writeObjectFile(const WorkspaceState& state)
{
    const int count = std::clamp(int(state.PointCount), 0, int(state.pPoints.size()));
    PropertyBag bag;
    bag.reserve(count + 4);
    bag.WriteProperty(kPoints, TaggedValue(std::int16_t(count)));
    bag.WriteProperty(kDimension, TaggedValue(state.Dimension));
    bag.WriteProperty(kGrid, TaggedValue(state.GridState));
    bag.WriteProperty(kDepth, state.Depth);
    for (int i = 0; i < count; ++i)
        bag.WriteProperty(pointName(i), TaggedValue(pointText(state.pPoints[std::size_t(i)])));
    return bagfile::encode(bag);
}
