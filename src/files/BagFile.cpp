// File bytes to property bag and back, through the file record; checked value conversions.
#include "files/BagFile.h"

#include "platform/Conversions.h"

namespace bagfile {

QByteArray encode(const PropertyBag& bag)
{
    return filerecord::encode(bag.Contents());
}

ReadResult decode(const filerecord::Decoded& record, PropertyBag& bag, qsizetype mostValues, QString* why)
{
    bag.setContents(QByteArray()); // leaves the bag empty
    if (const std::optional<ReadResult> result = withoutData(record, why))
        return *result;
    if (!bag.setContents(record.data, why, mostValues))
        return ReadResult::Malformed;
    return ReadResult::Loaded;
}

std::optional<ReadResult> withoutData(const filerecord::Decoded& record, QString* why)
{
    switch (record.status) {
    case filerecord::Decoded::Status::NothingRead:
        return ReadResult::NothingRead;
    case filerecord::Decoded::Status::Malformed:
        return malformed(why, record.error);
    case filerecord::Decoded::Status::Data:
        break;
    }
    return std::nullopt;
}

std::optional<TaggedValue> readStored(const PropertyBag& bag, const QString& name)
{
    if (!bag.contains(name))
        return std::nullopt;
    return bag.ReadProperty(name, TaggedValue());
}

std::optional<std::uint8_t> toUInt8(const TaggedValue& value)
{
    const std::optional<double> n = value.toNumber();
    return n ? conv::toUInt8(*n) : std::nullopt;
}

std::optional<std::int16_t> toInt16(const TaggedValue& value)
{
    const std::optional<double> n = value.toNumber();
    return n ? conv::toInt16(*n) : std::nullopt;
}

std::optional<std::int32_t> toInt32(const TaggedValue& value)
{
    const std::optional<double> n = value.toNumber();
    return n ? conv::toInt32(*n) : std::nullopt;
}

QString quoted(const TaggedValue& value)
{
    return QLatin1Char('"') + conv::excerpt(value.toText()) + QLatin1Char('"');
}

ReadResult malformed(QString* why, const QString& reason)
{
    if (why)
        *why = reason;
    return ReadResult::Malformed;
}

} // namespace bagfile
