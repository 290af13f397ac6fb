// Numeric conversions: half-to-even rounding, checked narrowing, numeric text in the C locale.
#include "platform/Conversions.h"

#include <charconv>
#include <cmath>
#include <limits>
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

std::int16_t clampToInt16(double value)
{
    if (std::isnan(value))
        return 0;
    const double rounded = roundHalfEven(value);
    if (rounded < -32768.0)
        return -32768;
    if (rounded > 32767.0)
        return 32767;
    return static_cast<std::int16_t>(rounded);
}

std::optional<double> parseNumber(QStringView text)
{
    text = text.trimmed();
    // Anything longer than this is not a number a user or a file of ours would write; it keeps
    // the text on the stack.
    constexpr qsizetype Longest = 400;
    if (text.isEmpty() || text.size() > Longest)
        return std::nullopt;
    char s[Longest];
    const std::size_t n = std::size_t(text.size());
    for (std::size_t k = 0; k < n; ++k) {
        const char16_t c = text[qsizetype(k)].unicode();
        if (c > 0x7F)
            return std::nullopt;
        s[k] = char(c);
    }
    // Check the grammar ourselves: from_chars would accept "inf", "nan" and hex forms.
    std::size_t i = 0;
    if (s[i] == '+' || s[i] == '-')
        ++i;
    std::size_t digits = 0;
    while (i < n && isDigit(s[i])) { ++i; ++digits; }
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && isDigit(s[i])) { ++i; ++digits; }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-'))
            ++i;
        std::size_t expDigits = 0;
        while (i < n && isDigit(s[i])) { ++i; ++expDigits; }
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    const char* first = s + (s[0] == '+' ? 1 : 0);
    double value = 0.0;
    const auto result = std::from_chars(first, s + n, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large a magnitude reads as infinity, which fits no width; too small reads as 0.
        const std::string_view digitsAndExponent(s, n);
        const bool tiny = digitsAndExponent.find_first_of("123456789") == std::string_view::npos
            || digitsAndExponent.find("e-") != std::string_view::npos || digitsAndExponent.find("E-") != std::string_view::npos;
        const double infinity = std::numeric_limits<double>::infinity();
        return tiny ? 0.0 : (s[0] == '-' ? -infinity : infinity);
    }
    if (result.ec != std::errc() || result.ptr != s + n)
        return std::nullopt;
    return value;
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

QString numberText(double value) { return plainText(value); }
QString numberText(float value) { return plainText(value); }

} // namespace conv
