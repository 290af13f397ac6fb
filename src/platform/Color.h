// Colours as the program stores them: 0x00BBGGRR, red in the low byte.
#pragma once

#include <QColor>
#include <cstdint>

using ColorRef = std::uint32_t;

// The one reading of the byte order: an opaque 0xAARRGGBB pixel value.
constexpr QRgb toRgb(ColorRef c)
{
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

inline QColor toQColor(ColorRef c) { return QColor::fromRgb(toRgb(c)); }

inline ColorRef fromQColor(const QColor& c)
{
    return ColorRef(c.red()) | (ColorRef(c.green()) << 8) | (ColorRef(c.blue()) << 16);
}
