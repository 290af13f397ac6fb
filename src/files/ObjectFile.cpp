// Writing and strictly reading the values of an object file.
#include "files/ObjectFile.h"

#include "platform/Conversions.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>
#include <optional>

namespace {

// The names of the values, as the fast path compares them with a file's bytes and as the
// bag stores them.
constexpr char kPointsName[] = "Points";
constexpr char kDimensionName[] = "Dimension";
constexpr char kGridName[] = "Grid";
constexpr char kDepthName[] = "Depth";
constexpr char kPointPrefix[] = "Point"; // then the point's index
constexpr std::size_t kPointPrefixBytes = sizeof kPointPrefix - 1;
const QString kPoints = QLatin1String(kPointsName);
const QString kDimension = QLatin1String(kDimensionName);
const QString kGrid = QLatin1String(kGridName);
const QString kDepth = QLatin1String(kDepthName);

// The most bytes of a point's name and of its text, and their room in a file.
constexpr int kMostPointNameBytes = kPointPrefixBytes + 5; // and at most 32766
constexpr int kMostPointTextBytes = 11 + 1 + 11; // two 32-bit numbers and a comma
constexpr qsizetype kMostPointBytes = 2 + kMostPointNameBytes + 1 + 4 + kMostPointTextBytes;

// "Point<index>" as bytes, composed in a small buffer: a large object has tens of thousands.
QByteArrayView pointNameBytes(int index, char (&buffer)[16])
{
    std::memcpy(buffer, kPointPrefix, kPointPrefixBytes);
    const auto end = std::to_chars(buffer + kPointPrefixBytes, buffer + sizeof buffer, index).ptr;
    return QByteArrayView(buffer, end - buffer);
}

QString pointName(int index)
{
    char buffer[16];
    const QByteArrayView name = pointNameBytes(index, buffer);
    return QString::fromLatin1(name.data(), name.size());
}

// "X,Y" as bytes, as the writer stores every point.
QByteArrayView pointTextBytes(const PointRecord& p, char (&buffer)[32])
{
    char* end = std::to_chars(buffer, buffer + 12, p.X).ptr;
    *end = ',';
    end = std::to_chars(end + 1, buffer + sizeof buffer, p.Y).ptr;
    return QByteArrayView(buffer, end - buffer);
}

// A whole number exactly as to_chars writes it: an optional minus, then 0 or digits without
// a leading zero, within 32 bits; nothing before or after it. A loop of its own: it runs for
// every coordinate and every point's name of a large file.
std::optional<std::int32_t> parseWrittenInt(const char* p, const char* end)
{
    const bool negative = p < end && *p == '-';
    p += negative ? 1 : 0;
    const std::ptrdiff_t digits = end - p;
    if (digits < 1 || digits > 10 || (*p == '0' && (digits > 1 || negative)))
        return std::nullopt;
    std::int64_t value = 0;
    for (; p < end; ++p) {
        const unsigned digit = unsigned(*p) - unsigned('0');
        if (digit > 9)
            return std::nullopt;
        value = value * 10 + digit;
    }
    value = negative ? -value : value;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return std::int32_t(value);
}

// Whether name is exactly "Point<index>", as pointNameBytes writes it.
bool isPointName(QByteArrayView name, int index)
{
    const char* p = name.data();
    return std::size_t(name.size()) > kPointPrefixBytes && std::memcmp(p, kPointPrefix, kPointPrefixBytes) == 0
        && parseWrittenInt(p + kPointPrefixBytes, p + name.size()) == index;
}

// A point's text exactly as pointTextBytes writes it.
std::optional<PointRecord> parseWrittenPoint(QByteArrayView text)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    const char* comma = std::find(begin, end, ',');
    if (comma == end)
        return std::nullopt;
    const std::optional<std::int32_t> x = parseWrittenInt(begin, comma);
    const std::optional<std::int32_t> y = x ? parseWrittenInt(comma + 1, end) : std::nullopt;
    if (!y)
        return std::nullopt;
    return PointRecord{*x, *y};
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

bool readWrittenObjectLayout(QByteArrayView bagBytes, ObjectFileValues& out)
{
    PropertyBagScanner in(bagBytes, MostObjectValues);
    PropertyBagScanner::Value value;
    const auto nextIs = [&](QByteArrayView name, ValueKind kind) {
        return in.next(&value) && value.name == name && value.kind == kind;
    };
    if (!in.valid() || !nextIs(kPointsName, ValueKind::Int16))
        return false;
    ObjectFileValues values;
    values.PointCount = *value.number.get<std::int16_t>();
    if (values.PointCount < 0 || in.count() != quint32(values.PointCount) + 4 || !nextIs(kDimensionName, ValueKind::Int16))
        return false;
    values.Dimension = *value.number.get<std::int16_t>();
    if (!nextIs(kGridName, ValueKind::UInt8))
        return false;
    values.GridState = *value.number.get<std::uint8_t>();
    if (!in.next(&value) || value.name != kDepthName || value.kind == ValueKind::Text)
        return false;
    values.Depth = value.number;
    if (values.PointCount > 0) {
        values.points.resize(std::size_t(values.PointCount));
        for (int i = 0; i < values.PointCount; ++i) {
            if (!in.next(&value) || value.kind != ValueKind::Text || !isPointName(value.name, i))
                return false;
            const std::optional<PointRecord> point = parseWrittenPoint(value.text);
            if (!point)
                return false;
            values.points[std::size_t(i)] = *point;
        }
    }
    if (!in.atEnd())
        return false;
    out = std::move(values);
    return true;
}

ReadResult readObjectFile(const filerecord::Decoded& record, ObjectFileValues& out, QString* why)
{
    if (record.status == filerecord::Decoded::Status::Data && readWrittenObjectLayout(record.data, out))
        return ReadResult::Loaded;
    return readObjectFileInGeneral(record, out, why);
}

ReadResult readObjectFileInGeneral(const filerecord::Decoded& record, ObjectFileValues& out, QString* why)
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
    PropertyBagWriter bag(quint32(count + 4), 64 + count * kMostPointBytes, filerecord::HeaderSize);
    bag.add(kPoints, TaggedValue(std::int16_t(count)));
    bag.add(kDimension, TaggedValue(state.Dimension));
    bag.add(kGrid, TaggedValue(state.GridState));
    bag.add(kDepth, state.Depth);
    for (int i = 0; i < count; ++i) {
        char name[16];
        char text[32];
        bag.addAsciiText(pointNameBytes(i, name), pointTextBytes(state.pPoints[std::size_t(i)], text));
    }
    QByteArray file = bag.finish();
    filerecord::writeHeader(file.data(), quint32(file.size() - filerecord::HeaderSize));
    return file;
}
