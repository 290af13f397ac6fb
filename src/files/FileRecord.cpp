// Writing and reading the length-prefixed record that object and workspace files consist of.
#include "files/FileRecord.h"

#include <QtEndian>
#include <QtGlobal>

#include <cstring>

namespace filerecord {

namespace {

constexpr quint16 kTypeTag = 0x2011;
constexpr quint16 kDimensions = 1;
constexpr qint32 kLowerBound = 0;
constexpr qsizetype kHeaderSize = 12;

Decoded malformed(const QString& reason)
{
    return Decoded{Decoded::Status::Malformed, QByteArray(), reason};
}

} // namespace

QByteArray encode(const QByteArray& data)
{
    if (quint64(data.size()) > 0xFFFFFFFFull) {
        qWarning("filerecord::encode: refused %lld bytes, more than a record can hold", qlonglong(data.size()));
        return QByteArray();
    }
    QByteArray out(kHeaderSize + data.size(), Qt::Uninitialized);
    char* p = out.data();
    qToLittleEndian<quint16>(kTypeTag, p);
    qToLittleEndian<quint16>(kDimensions, p + 2);
    qToLittleEndian<quint32>(quint32(data.size()), p + 4);
    qToLittleEndian<qint32>(kLowerBound, p + 8);
    if (!data.isEmpty())
        std::memcpy(p + kHeaderSize, data.constData(), size_t(data.size()));
    return out;
}

Decoded decode(const QByteArray& fileBytes)
{
    const qsizetype size = fileBytes.size();
    if (size == 0)
        return Decoded{Decoded::Status::NothingRead, QByteArray(), QString()};
    if (size < 2)
        return malformed(QStringLiteral("file record cut short (1 byte)"));
    const char* p = fileBytes.constData();
    const quint16 typeTag = qFromLittleEndian<quint16>(p);
    if (typeTag == 0)
        return Decoded{Decoded::Status::NothingRead, QByteArray(), QString()};
    if (typeTag != kTypeTag)
        return malformed(QStringLiteral("unknown file record type 0x%1").arg(typeTag, 4, 16, QLatin1Char('0')));
    if (size < kHeaderSize)
        return malformed(QStringLiteral("file record header cut short (%1 of 12 bytes)").arg(size));
    const quint16 dimensions = qFromLittleEndian<quint16>(p + 2);
    if (dimensions != kDimensions)
        return malformed(QStringLiteral("file record has %1 dimensions, expected 1").arg(dimensions));
    const quint32 count = qFromLittleEndian<quint32>(p + 4);
    const qint32 lowerBound = qFromLittleEndian<qint32>(p + 8);
    if (lowerBound != kLowerBound)
        return malformed(QStringLiteral("file record lower bound is %1, expected 0").arg(lowerBound));
    if (quint64(count) > quint64(size - kHeaderSize))
        return malformed(QStringLiteral("file record declares %1 bytes but %2 follow the header")
                             .arg(count).arg(size - kHeaderSize));
    return Decoded{Decoded::Status::Data, fileBytes.mid(kHeaderSize, qsizetype(count)), QString()};
}

} // namespace filerecord
