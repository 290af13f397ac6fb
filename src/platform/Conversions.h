// Numeric conversions used throughout the program: rounding half to even, range-checked
// narrowing into the program's integer widths, numeric text, and the shortest decimal text.
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace conv {

// Nearest integer, an exact half going to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);

// Each rounds half to even and returns nullopt when the result does not fit the width
// (or the value is not finite); nothing ever wraps.
std::optional<std::uint8_t> toUInt8(double value);
std::optional<std::int16_t> toInt16(double value);
std::optional<std::int32_t> toInt32(double value);

// Reads a numeric text of any length: after optional surrounding white space, an optional
// sign, digits with an optional decimal point and fraction, and an optional exponent, in the
// C locale. A value too large for a double reads as infinity of its sign (which fits no
// width), one too small as 0. Anything else, the empty text included, is not a number. The
// one number reader of the program: typed lines, input boxes and file values all pass here.
std::optional<double> parseNumber(QStringView text);

// The number a text names, rounded half to even to a 16-bit whole number of at least `min`;
// nullopt for any other text. The rule of the input boxes that ask for a count or a width,
// shared with the command-line tool's options of the same meaning.
std::optional<std::int16_t> wholeNumberFrom(QStringView text, std::int16_t min);
// What wholeNumberFrom takes, as messages word it: "a whole number from 1 to 32767".
QString wholeNumberText(std::int16_t min);

// Shortest decimal text of a number in plain notation: "-15", "1245.5", "100000"; no
// exponent, padding or separators.
QString numberText(double value);
QString numberText(float value);

// Saturating narrowing to 16 bits after rounding half to even; for the places where the
// program clamps instead of refusing (a drag far outside a view).
std::int16_t clampToInt16(double value);

// A range of whole numbers as messages word it: "-32768 to 32767", or with another word
// between the ends ("-32768 and 32767").
QString rangeText(std::int64_t lowest, std::int64_t highest, QStringView between = u" to ");
// The ranges of the 16-bit and 32-bit widths, as every message about them words them.
QString int16RangeText(QStringView between = u" to ");
QString int32RangeText(QStringView between = u" to ");

// A text as a message may quote it: whole when short, otherwise its first characters and an
// ellipsis, so that a value from a file or a typed line never floods a message box.
QString excerpt(QStringView text);

} // namespace conv
