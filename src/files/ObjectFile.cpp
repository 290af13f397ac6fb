// Writing and strictly reading the values of an object file.
#include "files/ObjectFile.h"

#include "platform/Conversions.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>
#include <map>
#include <optional>

namespace {

// The names of the values, as the reader compares them with a file's bytes and as the bag
// stores them.
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

namespace {

// What a point's value held, by its index: nothing, a point, or a value that is not one
// (kept for the message).
struct PointValues {
    explicit PointValues(std::size_t size) : points(size), present(size, false) {}
    std::vector<PointRecord> points;
    std::vector<bool> present;
    std::map<int, TaggedValue> notPoints;
};

// The value of a point as the reader takes it: the canonical "X,Y" straight from its bytes,
// any other text decoded and read as X,Y with fields after the second ignored.
// False, with the scanner told why, for a text that is not UTF-8.
bool takePoint(PropertyBagScanner& in, const PropertyBagScanner::Value& value, int index, PointValues& found)
{
    if (value.kind == ValueKind::Text) {
        if (const std::optional<PointRecord> point = parseWrittenPoint(value.text)) {
            found.points[std::size_t(index)] = *point;
            return true;
        }
        TaggedValue text;
        if (!in.take(value, &text))
            return false;
        if (const std::optional<PointRecord> point = parsePoint(text.toText())) {
            found.points[std::size_t(index)] = *point;
            return true;
        }
        found.notPoints[index] = std::move(text);
        return true;
    }
    found.notPoints[index] = value.number;
    return true;
}

// The index of a name written as "Point<index>" below `below`, or -1 for any other name.
int pointIndex(QByteArrayView name, std::size_t below)
{
    const char* p = name.data();
    if (std::size_t(name.size()) <= kPointPrefixBytes || std::memcmp(p, kPointPrefix, kPointPrefixBytes) != 0)
        return -1;
    const std::optional<std::int32_t> index = parseWrittenInt(p + kPointPrefixBytes, p + name.size());
    return index && *index >= 0 && std::size_t(*index) < below ? *index : -1;
}

} // namespace

ReadResult readObjectFile(const filerecord::Decoded& record, ObjectFileValues& out, QString* why)
{
    using bagfile::malformed;
    using bagfile::quoted;

    if (const std::optional<ReadResult> result = bagfile::withoutData(record, why))
        return *result;
    PropertyBagScanner in(record.data, MostObjectValues);
    if (!in.valid())
        return malformed(why, in.error());

    // A point that decides the outcome has an index below the number of values: below it,
    // one of them is missing anyway. So they cost no more than the values there.
    PointValues found(std::min<std::size_t>(in.count(), std::size_t(MostPoints)));
    std::map<QString, TaggedValue> named;
    QByteArrayView nameBytes;
    PropertyBagScanner::Value value;
    while (in.nextName(&nameBytes)) {
        const int index = pointIndex(nameBytes, found.present.size());
        QString name;
        if (index >= 0) {
            if (found.present[std::size_t(index)])
                return malformed(why, (in.refuse(QStringLiteral("duplicate name \"%1\"").arg(pointName(index))), in.error()));
            found.present[std::size_t(index)] = true;
        } else {
            if (!in.takeName(nameBytes, &name))
                return malformed(why, in.error());
            if (named.count(name))
                return malformed(why, (in.refuse(QStringLiteral("duplicate name \"%1\"").arg(conv::excerpt(name))), in.error()));
        }
        if (!in.nextValue(&value))
            return malformed(why, in.error());
        if (index >= 0) {
            if (!takePoint(in, value, index, found))
                return malformed(why, in.error());
            continue;
        }
        TaggedValue stored;
        if (!in.take(value, &stored))
            return malformed(why, in.error());
        // Every name is kept for the check of duplicates; only the four values are used.
        const bool used = name == kPoints || name == kDimension || name == kGrid || name == kDepth;
        named.emplace(std::move(name), used ? std::move(stored) : TaggedValue());
    }
    if (!in.finish())
        return malformed(why, in.error());

    const auto read = [&named](const QString& name, const TaggedValue& otherwise) {
        const auto found = named.find(name);
        return found == named.end() ? otherwise : found->second;
    };
    // Without its count a file cannot be told from a damaged one, so "Points" has no default.
    const auto points = named.find(kPoints);
    if (points == named.end())
        return malformed(why, QStringLiteral("\"Points\" is missing"));
    const std::optional<std::int16_t> count = bagfile::toInt16(points->second);
    if (!count || *count < 0)
        return malformed(why, QStringLiteral("\"Points\" holds %1, not a number of points from %2").arg(quoted(points->second), conv::rangeText(0, MostPoints)));

    ObjectFileValues values;
    values.PointCount = *count;

    const TaggedValue dimension = read(kDimension, TaggedValue(std::int16_t(2)));
    const std::optional<std::int16_t> dimension16 = bagfile::toInt16(dimension);
    if (!dimension16)
        return malformed(why, QStringLiteral("\"Dimension\" holds %1, not a 16-bit number").arg(quoted(dimension)));
    values.Dimension = *dimension16;

    const TaggedValue grid = read(kGrid, TaggedValue(std::int16_t(0)));
    const std::optional<std::uint8_t> grid8 = bagfile::toUInt8(grid);
    if (!grid8)
        return malformed(why, QStringLiteral("\"Grid\" holds %1, not a number from 0 to 255").arg(quoted(grid)));
    values.GridState = *grid8;

    values.Depth = read(kDepth, TaggedValue(std::int16_t(0)));

    if (values.PointCount > 0) {
        for (int i = 0; i < values.PointCount; ++i) {
            const bool held = std::size_t(i) < found.present.size() && found.present[std::size_t(i)];
            const auto notPoint = found.notPoints.find(i);
            if (!held || notPoint != found.notPoints.end())
                return malformed(why, QStringLiteral("\"%1\" holds %2, not a text X,Y of two whole numbers in 32 bits")
                                          .arg(pointName(i), quoted(held ? notPoint->second : TaggedValue(QString()))));
        }
        found.points.resize(std::size_t(values.PointCount));
        values.points = std::move(found.points);
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
