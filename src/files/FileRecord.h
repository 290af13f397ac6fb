// The record every object and workspace file consists of: a 12-byte header giving the
// length, then that many data bytes (a serialised PropertyBag).
#pragma once

#include <QByteArray>
#include <QString>

// Header, all little-endian: u16 type tag 0x2011, u16 dimensions 1, u32 element count n,
// i32 lower bound 0; then the n data bytes. A file may carry a stale tail after the
// record, which readers ignore. Byte layout in docs/file-format.md.
namespace filerecord {

// The size of a record's header.
constexpr qsizetype HeaderSize = 12;

// Writes the header of a record of dataSize data bytes at at (HeaderSize bytes). Called by
// encode, and by writers that build the data behind room left for the header.
void writeHeader(char* at, quint32 dataSize);

// The record holding data: header then data. Precondition: data.size() fits 32 bits
// (larger data is refused with a warning and an empty result). Called by SaveFile
// (files/FileCommands) with a PropertyBag's Contents().
QByteArray encode(const QByteArray& data);

// What reading a file found. Data: data holds the record's n bytes. NothingRead: the file
// is empty or its record's type tag is 0, so there is nothing to load (data empty, not an
// error). Malformed: error holds a short reason and data is empty.
struct Decoded {
    enum class Status { Data, NothingRead, Malformed } status = Status::NothingRead;
    QByteArray data;
    QString error;
};

// Reads the record at the start of fileBytes; bytes after it are ignored. Never allocates
// on account of the declared count before checking it against the bytes present.
Decoded decode(const QByteArray& fileBytes);

// Reads the record at the start of the file at path: the 12-byte header, then only the
// bytes it declares, which the file's size must hold. A path that is not a regular file (a
// folder, a device, a pipe, a socket), or that cannot be read, is Malformed. Called by
// OpenFile (files/FileCommands), whose readers hand Data to PropertyBag::setContents.
Decoded readFile(const QString& path);

} // namespace filerecord
