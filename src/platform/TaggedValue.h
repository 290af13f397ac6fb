// A value that is empty, a number of a stated type, or a text, and keeps which it holds.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <variant>

// Kinds in the order of the variant below; the file format stores these codes.
enum class ValueKind : std::uint8_t { Empty = 0, UInt8 = 1, Int16 = 2, Int32 = 3, Single = 4, Double = 5, Text = 6 };

// Invariant: kind() always names the alternative held. An empty value reads as 0 where a
// number is needed and as empty text where a text is needed.
class TaggedValue {
public:
    TaggedValue() = default;
    TaggedValue(std::uint8_t v) : value_(v) {}
    TaggedValue(std::int16_t v) : value_(v) {}
    TaggedValue(std::int32_t v) : value_(v) {}
    TaggedValue(float v) : value_(v) {}
    TaggedValue(double v) : value_(v) {}
    TaggedValue(const QString& v) : value_(v) {}
    TaggedValue(const char*) = delete; // say QStringLiteral; avoids an accidental Boolean

    ValueKind kind() const { return static_cast<ValueKind>(value_.index()); }
    bool isEmpty() const { return kind() == ValueKind::Empty; }
    bool isText() const { return kind() == ValueKind::Text; }

    // The numeric reading: 0 when empty, the number, or the text read as a number
    // (nullopt when the text is not a number).
    std::optional<double> toNumber() const;
    // The text reading: empty text, the shortest decimal text of the number, or the text.
    QString toText() const;

    template <typename T> const T* get() const { return std::get_if<T>(&value_); }

    friend bool operator==(const TaggedValue&, const TaggedValue&) = default;

private:
    std::variant<std::monostate, std::uint8_t, std::int16_t, std::int32_t, float, double, QString> value_;
};
