// The property bag: ordered named values, their binary form, and the strict reader for it.
// The layout is documented byte by byte in docs/file-format.md.
#include "platform/PropertyBag.h"

#include "platform/Conversions.h"
#include "platform/Crc32.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QtEndian>
#include <QtGlobal>

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr char kSignature[4] = {'B', 'W', 'P', 'B'};
constexpr quint16 kFormatVersion = 1;
constexpr qsizetype kHeaderSize = 4 + 2 + 4; // signature, version, value count
constexpr qsizetype kChecksumSize = 4;
constexpr qsizetype kMaxNameBytes = 0xFFFF;
constexpr qsizetype kMaxTextBytes = qsizetype(0xFFFFFFFFu);
constexpr quint8 kLastTypeCode = quint8(ValueKind::Text);

// text with every unpaired surrogate replaced by U+FFFD, so that it survives UTF-8 unchanged.
QString withoutUnpairedSurrogates(const QString& text)
{
    if (QStringView(text).isValidUtf16())
        return text;
    QString result = text;
    char16_t* p = reinterpret_cast<char16_t*>(result.data()); // ends in a NUL, no surrogate
    for (qsizetype i = 0; i < result.size(); ++i) {
        if (QChar::isHighSurrogate(p[i]) && QChar::isLowSurrogate(p[i + 1]))
            ++i;
        else if (QChar::isSurrogate(p[i]))
            p[i] = 0xFFFD;
    }
    return result;
}

// The UTF-8 length of a text without unpaired surrogates, computed only when it could
// exceed limit (a UTF-16 unit never takes more than 3 bytes).
bool utf8LengthAtMost(const QString& text, qsizetype limit)
{
    if (text.size() <= limit / 3)
        return true;
    return text.toUtf8().size() <= limit;
}

// Qt's UTF-8 converters, set for the format: stateless, so that a sequence cut short at the
// end of a name or text is an error rather than kept for more input, and with a byte order
// mark taken as text, so that EF BB BF at the start reads as U+FEFF and U+FEFF is written.
constexpr QStringConverter::Flags kUtf8Flags = QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;

// Decodes well-formed UTF-8 only: Qt's decoder reports an error for exactly what the format
// refuses (overlong forms, encoded surrogates, anything above U+10FFFF, lead bytes C0, C1 and
// F5 to FF, stray, missing or cut-off continuation bytes), as the bag's tests and the fuzzer
// check. Returns false for anything else.
bool decodeUtf8Strictly(QByteArrayView bytes, QString* out)
{
    QStringDecoder decoder(QStringConverter::Utf8, kUtf8Flags);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return false;
    *out = std::move(text);
    return true;
}

template <typename T>
char* putLittleEndian(char* at, T v)
{
    qToLittleEndian(v, at);
    return at + sizeof(T);
}

// The most bytes a text of that many UTF-16 units takes in UTF-8 with its length before it.
template <typename T>
qsizetype mostSizedUtf8(QStringView text)
{
    return qsizetype(sizeof(T)) + QStringEncoder(QStringConverter::Utf8, kUtf8Flags).requiredSpace(text.size());
}

// Writes text as UTF-8 preceded by its byte length in T at at, which has room for
// mostSizedUtf8<T>(text) bytes; gives the end of what it wrote. Precondition: text has no
// unpaired surrogate and fits T's range, which WriteProperty ensures.
template <typename T>
char* putSizedUtf8(char* at, QStringView text)
{
    char* end = QStringEncoder(QStringConverter::Utf8, kUtf8Flags).appendToBuffer(at + sizeof(T), text);
    qToLittleEndian(T(end - at - qsizetype(sizeof(T))), at);
    return end;
}

// Writes bytes preceded by their length in T; gives the end of what it wrote.
template <typename T>
char* putSizedBytes(char* at, QByteArrayView bytes)
{
    at = putLittleEndian<T>(at, T(bytes.size()));
    std::memcpy(at, bytes.data(), size_t(bytes.size()));
    return at + bytes.size();
}

// Reads forward through [pos, end) of a byte array; every read first checks that the
// bytes are there, so no length taken from the input is used before it is checked.
class Reader {
public:
    Reader(const char* data, qsizetype end) : data_(data), end_(end) {}

    qsizetype position() const { return pos_; }
    qsizetype remaining() const { return end_ - pos_; }
    void seek(qsizetype pos) { pos_ = pos; }

    bool bytes(qsizetype n, const char** out)
    {
        if (n < 0 || n > remaining())
            return false;
        *out = data_ + pos_;
        pos_ += n;
        return true;
    }

    template <typename T>
    bool littleEndian(T* out)
    {
        const char* p = nullptr;
        if (!bytes(qsizetype(sizeof(T)), &p))
            return false;
        *out = qFromLittleEndian<T>(p);
        return true;
    }

private:
    const char* data_;
    qsizetype end_;
    qsizetype pos_ = 0;
};

// Reads one number payload of the given kind (any kind but Text); false when it runs past
// the end.
bool readNumber(Reader& in, ValueKind kind, TaggedValue* value)
{
    switch (kind) {
    case ValueKind::Empty:
        *value = TaggedValue();
        return true;
    case ValueKind::UInt8: {
        quint8 v = 0;
        if (!in.littleEndian(&v))
            return false;
        *value = TaggedValue(std::uint8_t(v));
        return true;
    }
    case ValueKind::Int16: {
        qint16 v = 0;
        if (!in.littleEndian(&v))
            return false;
        *value = TaggedValue(std::int16_t(v));
        return true;
    }
    case ValueKind::Int32: {
        qint32 v = 0;
        if (!in.littleEndian(&v))
            return false;
        *value = TaggedValue(std::int32_t(v));
        return true;
    }
    case ValueKind::Single: {
        quint32 bits = 0;
        if (!in.littleEndian(&bits))
            return false;
        *value = TaggedValue(std::bit_cast<float>(bits));
        return true;
    }
    case ValueKind::Double: {
        quint64 bits = 0;
        if (!in.littleEndian(&bits))
            return false;
        *value = TaggedValue(std::bit_cast<double>(bits));
        return true;
    }
    case ValueKind::Text:
        break;
    }
    return false;
}

// The bytes a value's payload takes at the most.
qsizetype mostPayload(const TaggedValue& value)
{
    const QString* text = value.get<QString>();
    return text ? mostSizedUtf8<quint32>(*text) : qsizetype(sizeof(double));
}

// Writes a value's payload at at, which has room for mostPayload(value) bytes; gives its end.
char* putPayload(char* at, const TaggedValue& value)
{
    switch (value.kind()) {
    case ValueKind::Empty:
        return at;
    case ValueKind::UInt8:
        return putLittleEndian<quint8>(at, *value.get<std::uint8_t>());
    case ValueKind::Int16:
        return putLittleEndian<qint16>(at, *value.get<std::int16_t>());
    case ValueKind::Int32:
        return putLittleEndian<qint32>(at, *value.get<std::int32_t>());
    case ValueKind::Single:
        return putLittleEndian<quint32>(at, std::bit_cast<quint32>(*value.get<float>()));
    case ValueKind::Double:
        return putLittleEndian<quint64>(at, std::bit_cast<quint64>(*value.get<double>()));
    case ValueKind::Text:
        return putSizedUtf8<quint32>(at, *value.get<QString>());
    }
    return at;
}

bool fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

} // namespace

void PropertyBag::WriteProperty(const QString& name, const TaggedValue& value)
{
    if (name.isEmpty() || !QStringView(name).isValidUtf16() || !utf8LengthAtMost(name, kMaxNameBytes)) {
        qWarning("PropertyBag: refused a property name that is empty, not valid Unicode, or over 65535 UTF-8 bytes");
        return;
    }
    TaggedValue stored = value;
    if (const QString* text = value.get<QString>()) {
        const QString clean = withoutUnpairedSurrogates(*text);
        if (!utf8LengthAtMost(clean, kMaxTextBytes)) {
            qWarning("PropertyBag: refused the text for \"%s\": over 4294967295 UTF-8 bytes", qUtf8Printable(name));
            return;
        }
        stored = TaggedValue(clean);
    }
    const auto found = index_.constFind(name);
    if (found != index_.constEnd()) {
        entries_[*found].value = std::move(stored);
        return;
    }
    index_.insert(name, entries_.size());
    entries_.append(Entry{name, std::move(stored)});
}

TaggedValue PropertyBag::ReadProperty(const QString& name, const TaggedValue& defaultValue) const
{
    const auto found = index_.constFind(name);
    return found == index_.constEnd() ? defaultValue : entries_[*found].value;
}

QByteArray PropertyBag::Contents() const
{
    PropertyBagWriter writer(quint32(entries_.size()), entries_.size() * 24);
    for (const Entry& entry : entries_)
        writer.add(entry.name, entry.value);
    return writer.finish();
}

bool PropertyBag::setContents(const QByteArray& bytes, QString* error, qsizetype mostValues)
{
    entries_.clear();
    index_.clear();
    PropertyBagScanner in(bytes, mostValues);
    if (!in.valid())
        return fail(error, in.error());

    // Room for as many values as the bytes there can hold (four bytes at the least each), never
    // for an unchecked count.
    const qsizetype possible = std::min<qsizetype>(in.count(), bytes.size() / 4);
    QList<Entry> entries;
    QHash<QString, qsizetype> index;
    entries.reserve(possible);
    index.reserve(possible);
    QByteArrayView nameBytes;
    PropertyBagScanner::Value found;
    while (in.nextName(&nameBytes)) {
        QString name;
        if (!in.takeName(nameBytes, &name))
            return fail(error, in.error());
        const qsizetype known = index.size();
        index.emplace(name, entries.size());
        if (index.size() == known)
            return fail(error, (in.refuse(QStringLiteral("duplicate name \"%1\"").arg(conv::excerpt(name))), in.error()));
        if (!in.nextValue(&found))
            return fail(error, in.error());
        TaggedValue value;
        if (!in.take(found, &value))
            return fail(error, in.error());
        entries.append(Entry{std::move(name), std::move(value)});
    }
    if (!in.finish())
        return fail(error, in.error());

    entries_ = std::move(entries);
    index_ = std::move(index);
    return true;
}

void PropertyBag::reserve(qsizetype values)
{
    entries_.reserve(values);
    index_.reserve(values);
}

int PropertyBag::count() const
{
    return int(entries_.size());
}

PropertyBagWriter::PropertyBagWriter(quint32 count, qsizetype roomHint, qsizetype headroom)
    : out_(headroom + kHeaderSize + roomHint + kChecksumSize, Qt::Uninitialized), start_(headroom), used_(headroom)
{
    char* at = room(kHeaderSize);
    std::memcpy(at, kSignature, sizeof kSignature);
    at = putLittleEndian<quint16>(at + sizeof kSignature, kFormatVersion);
    putLittleEndian<quint32>(at, count);
    used_ += kHeaderSize;
}

char* PropertyBagWriter::room(qsizetype bytes)
{
    if (out_.size() - used_ < bytes)
        out_.resize(std::max(used_ + bytes, 2 * out_.size()));
    return out_.data() + used_;
}

void PropertyBagWriter::add(QStringView name, const TaggedValue& value)
{
    if (const QString* text = value.get<QString>(); text && !QStringView(*text).isValidUtf16()) {
        add(name, TaggedValue(withoutUnpairedSurrogates(*text)));
        return;
    }
    char* at = room(mostSizedUtf8<quint16>(name) + 1 + mostPayload(value));
    at = putSizedUtf8<quint16>(at, name);
    *at++ = char(value.kind());
    used_ = qsizetype(putPayload(at, value) - out_.constData());
}

void PropertyBagWriter::addAsciiText(QByteArrayView name, QByteArrayView text)
{
    char* at = room(2 + name.size() + 1 + 4 + text.size());
    at = putSizedBytes<quint16>(at, name);
    *at++ = char(ValueKind::Text);
    used_ = qsizetype(putSizedBytes<quint32>(at, text) - out_.constData());
}

QByteArray PropertyBagWriter::finish()
{
    const quint32 checksum = crc32(out_.constData() + start_, used_ - start_);
    putLittleEndian<quint32>(room(kChecksumSize), checksum);
    out_.truncate(used_ + kChecksumSize);
    return std::move(out_);
}

PropertyBagScanner::PropertyBagScanner(QByteArrayView bytes, qsizetype mostValues)
{
    const qsizetype size = bytes.size();
    if (size > 0 && std::memcmp(bytes.data(), kSignature, size_t(qMin(size, qsizetype(sizeof kSignature)))) != 0) {
        fail(QStringLiteral("not a property bag (wrong signature)"));
        return;
    }
    if (size < kHeaderSize + kChecksumSize) {
        fail(QStringLiteral("property bag cut short (%1 bytes)").arg(size));
        return;
    }
    const qsizetype bodyEnd = size - kChecksumSize;
    const quint16 version = qFromLittleEndian<quint16>(bytes.data() + sizeof kSignature);
    count_ = qFromLittleEndian<quint32>(bytes.data() + sizeof kSignature + 2);
    if (version != kFormatVersion)
        fail(QStringLiteral("unsupported property bag version %1").arg(version));
    else if (qsizetype(count_) > mostValues)
        fail(QStringLiteral("%1 values, more than the %2 this kind of file holds").arg(count_).arg(mostValues));
    else if (qFromLittleEndian<quint32>(bytes.data() + bodyEnd) != crc32(bytes.data(), bodyEnd))
        fail(QStringLiteral("property bag checksum mismatch"));
    if (!error_.isEmpty())
        return;
    data_ = bytes.data();
    pos_ = kHeaderSize;
    end_ = bodyEnd;
    valid_ = true;
}

bool PropertyBagScanner::fail(const QString& reason)
{
    error_ = reason;
    valid_ = false;
    return false;
}

bool PropertyBagScanner::refuse(const QString& reason)
{
    return fail(QStringLiteral("value %1 of %2: %3").arg(named_ + 1).arg(count_).arg(reason));
}

bool PropertyBagScanner::nextName(QByteArrayView* name)
{
    if (!valid_ || read_ == count_)
        return false;
    named_ = read_;
    Reader in(data_, end_);
    in.seek(pos_);
    quint16 nameLength = 0;
    const char* bytes = nullptr;
    if (!in.littleEndian(&nameLength) || !in.bytes(nameLength, &bytes))
        return refuse(QStringLiteral("name runs past the end"));
    if (nameLength == 0)
        return refuse(QStringLiteral("empty name"));
    *name = QByteArrayView(bytes, nameLength);
    pos_ = in.position();
    return true;
}

bool PropertyBagScanner::nextValue(Value* out)
{
    if (!valid_)
        return false;
    Reader in(data_, end_);
    in.seek(pos_);
    quint8 typeCode = 0;
    if (!in.littleEndian(&typeCode))
        return refuse(QStringLiteral("type runs past the end"));
    if (typeCode > kLastTypeCode)
        return refuse(QStringLiteral("unknown type code %1").arg(typeCode));
    out->kind = ValueKind(typeCode);
    out->text = QByteArrayView();
    out->number = TaggedValue();
    if (out->kind == ValueKind::Text) {
        quint32 length = 0;
        const char* text = nullptr;
        if (!in.littleEndian(&length) || !in.bytes(qsizetype(length), &text))
            return refuse(QStringLiteral("value runs past the end"));
        out->text = QByteArrayView(text, qsizetype(length));
    } else if (!readNumber(in, out->kind, &out->number)) {
        return refuse(QStringLiteral("value runs past the end"));
    }
    pos_ = in.position();
    ++read_;
    return true;
}

bool PropertyBagScanner::finish()
{
    if (!valid_)
        return false;
    if (pos_ != end_)
        return fail(QStringLiteral("%1 unexpected bytes after the last value").arg(end_ - pos_));
    return true;
}

bool PropertyBagScanner::takeName(QByteArrayView bytes, QString* out)
{
    return decodeUtf8Strictly(bytes, out) || refuse(QStringLiteral("name is not valid UTF-8"));
}

bool PropertyBagScanner::take(const Value& value, TaggedValue* out)
{
    if (value.kind != ValueKind::Text) {
        *out = value.number;
        return true;
    }
    QString text;
    if (!decodeUtf8Strictly(value.text, &text))
        return refuse(QStringLiteral("text is not valid UTF-8"));
    *out = TaggedValue(std::move(text));
    return true;
}
