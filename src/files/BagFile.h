// The outer form shared by object and workspace files: one file record holding one property
// bag. What reading such a file can find, the steps between file bytes and a bag, and the
// checked conversions the readers of both kinds use.
#pragma once

#include "files/FileRecord.h"
#include "platform/PropertyBag.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

// Loaded: every value was read and checked. NothingRead: the file holds no record (zero
// bytes, or a record of type 0); not an error. Malformed: anything else that is not a
// complete, valid file of the kind asked for.
enum class ReadResult { Loaded, NothingRead, Malformed };

namespace bagfile {

// The whole file for bag: the record header, then the bag's Contents. Called by the
// writers of object and workspace files.
QByteArray encode(const PropertyBag& bag);

// Fills bag from a file's record. Gives Loaded when the record holds a valid bag of at most
// mostValues values; NothingRead and Malformed as above, the bag then empty and *why (when
// given) holding a short reason for Malformed.
ReadResult decode(const filerecord::Decoded& record, PropertyBag& bag, qsizetype mostValues, QString* why);

// What a record that holds no data gives: NothingRead, or Malformed with *why (when given)
// set; nullopt for a record of data.
std::optional<ReadResult> withoutData(const filerecord::Decoded& record, QString* why);

// The value stored under name, or nullopt when the bag has none.
std::optional<TaggedValue> readStored(const PropertyBag& bag, const QString& name);

// A value's numeric reading rounded half to even into a width; nullopt when it is not a
// number or does not fit.
std::optional<std::uint8_t> toUInt8(const TaggedValue& value);
std::optional<std::int16_t> toInt16(const TaggedValue& value);
std::optional<std::int32_t> toInt32(const TaggedValue& value);

// A value as text in quotation marks, cut short when long: for the reasons readers give.
QString quoted(const TaggedValue& value);

// Sets *why (when given) and gives Malformed.
ReadResult malformed(QString* why, const QString& reason);

} // namespace bagfile
