// CRC-32 as used by zlib and PNG (IEEE polynomial, reflected, initial and final value all ones);
// the property bag ends with one over its bytes.
#pragma once

#include <QtGlobal>

// The CRC-32 of size bytes at data; crc32("123456789") is 0xCBF43926 and of no bytes is 0.
// Precondition: data points to size readable bytes (data may be null when size is 0).
// Called by PropertyBag when it writes and checks its contents.
quint32 crc32(const char* data, qsizetype size);
