// Twips (1440 to the inch) against the screen's pixels (15 twips each): the one conversion
// that places controls, sizes and fills the drawing surfaces, and writes the exported pictures.
#pragma once

#include <cmath>
#include <cstdint>

inline constexpr float TwipsPerPixel = 15.0f;

// How a twip value becomes whole pixels. Holding: the pixel that holds a position,
// floor(twips / 15), where primitives, line objects and the exports put their ends and a
// status panel's width is cut. Nearest: the nearest pixel, halves away from zero, where a
// control or a surface is placed. Covering: enough pixels to cover a length, a picture's size.
enum class PixelRounding : std::uint8_t { Holding, Nearest, Covering };

// Twips to whole pixels by the given rounding; infinite or NaN twips stay so (Holding).
// Holding needs no library floor call for the positions within 2^52, since the rasteriser
// calls it for every primitive. Within +-2^24 twips it equals floor(float(twips / 15)), the
// line objects' former rounding, for every float but the seven negative denormals whose
// float quotient is -0 (checked for all of them); beyond, a float quotient can round up
// across a whole pixel. Line objects lie on a view's whole twips, well inside.
inline double toPixel(float twips, PixelRounding rounding = PixelRounding::Holding)
{
    switch (rounding) {
    case PixelRounding::Nearest:
        return double(std::round(twips / TwipsPerPixel));
    case PixelRounding::Covering:
        return double(std::ceil(twips / TwipsPerPixel));
    case PixelRounding::Holding:
        break;
    }
    const double x = double(twips);
    if (!(std::abs(x) < 0x1p52))
        return std::floor(x / TwipsPerPixel);
    const double q = x / TwipsPerPixel;
    const double truncated = double(std::int64_t(q));
    return truncated > q ? truncated - 1 : truncated;
}

// Whole pixels of a widget's place or size, for the values a window's layout can hold.
inline int widgetPixels(float twips, PixelRounding rounding) { return int(toPixel(twips, rounding)); }
