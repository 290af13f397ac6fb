// CRC-32 through zlib, which Qt already loads: its checksum is the same, and faster than a
// table walk of our own on the files of large objects.
#include "platform/Crc32.h"

#include <zlib.h>

#include <algorithm>

quint32 crc32(const char* data, qsizetype size)
{
    uLong c = ::crc32(0L, Z_NULL, 0);
    // zlib takes at most a uInt of bytes per call.
    for (qsizetype done = 0; done < size;) {
        const uInt step = uInt(std::min<qsizetype>(size - done, qsizetype(1) << 30));
        c = ::crc32(c, reinterpret_cast<const Bytef*>(data + done), step);
        done += step;
    }
    return quint32(c);
}
