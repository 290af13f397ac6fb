// Colours as the program stores them: 0x00BBGGRR, red in the low byte.
#pragma once

#include <QColor>
#include <cstdint>

using ColorRef = std::uint32_t;

inline QColor toQColor(ColorRef c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

inline ColorRef fromQColor(const QColor& c)
{
    return ColorRef(c.red()) | (ColorRef(c.green()) << 8) | (ColorRef(c.blue()) << 16);
}
