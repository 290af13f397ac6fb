// Writing and reading the length-prefixed record that object and workspace files consist of.
#include "files/FileRecord.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <QtGlobal>

#include <algorithm>
#include <cstring>

namespace filerecord {

namespace {

constexpr quint16 kTypeTag = 0x2011;
constexpr quint16 kDimensions = 1;
constexpr qint32 kLowerBound = 0;

Decoded malformed(const QString& reason)
{
    return Decoded{Decoded::Status::Malformed, QByteArray(), reason};
}

Decoded nothingRead()
{
    return Decoded{Decoded::Status::NothingRead, QByteArray(), QString()};
}

// Checks the header at the start of a file of fileSize bytes, given its first bytes
// (all 12 of them, or the whole file when it is shorter; fewer, when the file shrank or a read
// failed, is malformed). Gives Data with *count set to the
// number of data bytes that follow the header, which the file is known to hold.
Decoded checkHeader(const QByteArray& head, qint64 fileSize, quint32* count)
{
    if (fileSize == 0)
        return nothingRead();
    if (head.size() < std::min(fileSize, qint64(HeaderSize)))
        return malformed(QStringLiteral("the file ended while its header was read"));
    if (fileSize < 2)
        return malformed(QStringLiteral("file record cut short (1 byte)"));
    const char* p = head.constData();
    const quint16 typeTag = qFromLittleEndian<quint16>(p);
    if (typeTag == 0)
        return nothingRead();
    if (typeTag != kTypeTag)
        return malformed(QStringLiteral("unknown file record type 0x%1").arg(typeTag, 4, 16, QLatin1Char('0')));
    if (fileSize < HeaderSize)
        return malformed(QStringLiteral("file record header cut short (%1 of 12 bytes)").arg(fileSize));
    const quint16 dimensions = qFromLittleEndian<quint16>(p + 2);
    if (dimensions != kDimensions)
        return malformed(QStringLiteral("file record has %1 dimensions, expected 1").arg(dimensions));
    *count = qFromLittleEndian<quint32>(p + 4);
    const qint32 lowerBound = qFromLittleEndian<qint32>(p + 8);
    if (lowerBound != kLowerBound)
        return malformed(QStringLiteral("file record lower bound is %1, expected 0").arg(lowerBound));
    if (qint64(*count) > fileSize - HeaderSize)
        return malformed(QStringLiteral("file record declares %1 bytes but %2 follow the header")
                             .arg(*count).arg(fileSize - HeaderSize));
    return Decoded{Decoded::Status::Data, QByteArray(), QString()};
}

} // namespace

QByteArray encode(const QByteArray& data)
{
    if (quint64(data.size()) > 0xFFFFFFFFull) {
        qWarning("filerecord::encode: refused %lld bytes, more than a record can hold", qlonglong(data.size()));
        return QByteArray();
    }
    QByteArray out(HeaderSize + data.size(), Qt::Uninitialized);
    char* p = out.data();
    writeHeader(p, quint32(data.size()));
    if (!data.isEmpty())
        std::memcpy(p + HeaderSize, data.constData(), size_t(data.size()));
    return out;
}

void writeHeader(char* at, quint32 dataSize)
{
    qToLittleEndian<quint16>(kTypeTag, at);
    qToLittleEndian<quint16>(kDimensions, at + 2);
    qToLittleEndian<quint32>(dataSize, at + 4);
    qToLittleEndian<qint32>(kLowerBound, at + 8);
}

Decoded decode(const QByteArray& fileBytes)
{
    quint32 count = 0;
    Decoded result = checkHeader(fileBytes.left(HeaderSize), fileBytes.size(), &count);
    if (result.status == Decoded::Status::Data)
        result.data = fileBytes.mid(HeaderSize, qsizetype(count));
    return result;
}

Decoded readFile(const QString& path)
{
    // Only a regular file has a size to trust; opening a pipe or a device could block or
    // never end.
    if (!QFileInfo(path).isFile())
        return malformed(QStringLiteral("not a regular file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.isSequential())
        return malformed(QStringLiteral("the file cannot be read: %1").arg(file.errorString()));
    quint32 count = 0;
    Decoded result = checkHeader(file.read(HeaderSize), file.size(), &count);
    if (result.status != Decoded::Status::Data)
        return result;
    result.data = file.read(qint64(count));
    if (result.data.size() != qsizetype(count))
        return malformed(QStringLiteral("the file ended while its record was read"));
    return result;
}

} // namespace filerecord
