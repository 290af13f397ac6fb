// Numeric and text readings of a tagged value.
#include "platform/TaggedValue.h"

#include "platform/Conversions.h"

std::optional<double> TaggedValue::toNumber() const
{
    return std::visit([](const auto& v) -> std::optional<double> {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::monostate>)
            return 0.0;
        else if constexpr (std::is_same_v<T, QString>)
            return conv::parseNumber(v);
        else
            return double(v);
    }, value_);
}

QString TaggedValue::toText() const
{
    return std::visit([](const auto& v) -> QString {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::monostate>)
            return QString();
        else if constexpr (std::is_same_v<T, QString>)
            return v;
        else if constexpr (std::is_same_v<T, float>)
            return conv::numberText(v);
        else
            return conv::numberText(double(v));
    }, value_);
}
