// Numeric conversions: half-to-even rounding, checked narrowing, numeric text in the C locale.
#include "platform/Conversions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>

namespace conv {

double roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5)
        return floor + 1.0;
    if (fraction < 0.5)
        return floor;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

namespace {
template <typename T>
std::optional<T> narrow(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = roundHalfEven(value);
    if (rounded < double(std::numeric_limits<T>::min()) || rounded > double(std::numeric_limits<T>::max()))
        return std::nullopt;
    return static_cast<T>(rounded);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
} // namespace

std::optional<std::uint8_t> toUInt8(double value) { return narrow<std::uint8_t>(value); }
std::optional<std::int16_t> toInt16(double value) { return narrow<std::int16_t>(value); }
std::optional<std::int32_t> toInt32(double value) { return narrow<std::int32_t>(value); }

QString wholeNumberText(std::int16_t min)
{
    return QStringLiteral("a whole number from ") + rangeText(min, std::numeric_limits<std::int16_t>::max());
}

QString rangeText(std::int64_t lowest, std::int64_t highest, QStringView between)
{
    return QString::number(lowest) + between.toString() + QString::number(highest);
}

QString int16RangeText(QStringView between)
{
    return rangeText(std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max(), between);
}

QString int32RangeText(QStringView between)
{
    return rangeText(std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max(), between);
}

std::int16_t clampToInt16(double value)
{
    if (std::isnan(value))
        return 0;
    const double rounded = roundHalfEven(value);
    constexpr double lowest = std::numeric_limits<std::int16_t>::min(), highest = std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(std::clamp(rounded, lowest, highest));
}

namespace {
// The decimal exponent of a numeric text's leading significant digit (2 for "345.6", -3 for
// "0.00123", 9 for "1e9"), counted without overflow however long the text; the text is
// known to follow the number grammar and to hold a digit other than 0.
std::int64_t leadingExponent(std::string_view s)
{
    constexpr std::int64_t Saturated = std::int64_t(1) << 56;
    std::size_t i = s[0] == '+' || s[0] == '-' ? 1 : 0;
    const std::size_t mantissaEnd = std::min(s.find_first_of("eE", i), s.size());
    // The exponent of the digit at i: the digits before the point, less one.
    std::int64_t position = std::int64_t(std::min(s.find('.', i), mantissaEnd) - i) - 1;
    std::int64_t leading = 0;
    for (; i < mantissaEnd; ++i) {
        if (s[i] == '.')
            continue;
        if (s[i] != '0') {
            leading = position;
            break;
        }
        --position;
    }
    std::int64_t exponent = 0;
    if (mantissaEnd < s.size()) {
        std::size_t k = mantissaEnd + 1;
        const bool negative = s[k] == '-';
        k += s[k] == '+' || s[k] == '-' ? 1 : 0;
        for (; k < s.size() && exponent < Saturated; ++k)
            exponent = exponent * 10 + (s[k] - '0');
        exponent = negative ? -exponent : exponent;
    }
    return leading + exponent;
}
} // namespace

std::optional<double> parseNumber(QStringView text)
{
    text = text.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    // A short text, such as every point of a file, is copied without allocating.
    std::string chars(std::size_t(text.size()), '\0');
    for (qsizetype k = 0; k < text.size(); ++k) {
        const char16_t c = text[k].unicode();
        if (c > 0x7F)
            return std::nullopt;
        chars[std::size_t(k)] = char(c);
    }
    // Check the grammar ourselves: from_chars would accept "inf", "nan" and hex forms. The
    // scan stops at the string's terminating NUL, which no step accepts; so does a NUL typed
    // into the text, which then ends short of n and is refused.
    const char* const p = chars.c_str();
    const std::size_t n = chars.size();
    std::size_t i = p[0] == '+' || p[0] == '-' ? 1 : 0;
    const auto skipDigits = [&] {
        const std::size_t from = i;
        while (isDigit(p[i]))
            ++i;
        return i - from;
    };
    std::size_t digits = skipDigits();
    if (p[i] == '.') {
        ++i;
        digits += skipDigits();
    }
    if (digits == 0)
        return std::nullopt;
    if (p[i] == 'e' || p[i] == 'E') {
        ++i;
        if (p[i] == '+' || p[i] == '-')
            ++i;
        if (skipDigits() == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    const std::string_view s(chars);
    const std::size_t first = s[0] == '+' ? 1 : 0;
    double value = 0.0;
    const auto result = std::from_chars(s.data() + first, s.data() + n, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Out of a double's range either way: the leading digit's place says which way.
        const bool negative = s[0] == '-';
        if (leadingExponent(s) > 0)
            return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
        return negative ? -0.0 : 0.0;
    }
    if (result.ec != std::errc() || result.ptr != s.data() + n)
        return std::nullopt;
    return value;
}

QString excerpt(QStringView text)
{
    constexpr qsizetype Longest = 40;
    if (text.size() <= Longest)
        return text.toString();
    return text.left(Longest - 1).toString() + QChar(0x2026);
}

namespace {
// Plain positional notation, never an exponent, with the fewest digits that read back
// as the same value.
template <typename T>
QString plainText(T value)
{
    if (value == T(0))
        return QStringLiteral("0");
    char buffer[1100];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return QString::fromLatin1(buffer, int(result.ptr - buffer));
}
} // namespace

std::optional<std::int16_t> wholeNumberFrom(QStringView text, std::int16_t min)
{
    const std::optional<double> number = parseNumber(text);
    const std::optional<std::int16_t> value = number ? toInt16(*number) : std::nullopt;
    return value && *value >= min ? value : std::nullopt;
}

QString numberText(double value) { return plainText(value); }
QString numberText(float value) { return plainText(value); }

} // namespace conv
