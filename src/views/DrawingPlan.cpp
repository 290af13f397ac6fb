// Measuring the object for a drawing and checking each value against the width it is drawn
// in; the messages a refused drawing shows.
#include "views/DrawingPlan.h"

#include "platform/Conversions.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::int64_t Int16Min = std::numeric_limits<std::int16_t>::min();
constexpr std::int64_t Int16Max = std::numeric_limits<std::int16_t>::max();
constexpr std::int64_t Int32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t Int32Max = std::numeric_limits<std::int32_t>::max();

bool fits16(std::int64_t v) { return v >= Int16Min && v <= Int16Max; }
bool fits32(std::int64_t v) { return v >= Int32Min && v <= Int32Max; }

// The object as measured, before any value is put into its field.
struct Measured {
    std::int64_t minX, maxX, minY, maxY;
    double sideOffset;
    double topOffset; // a whole number
};

Measured measure(const ViewContext& ctx)
{
    constexpr std::int64_t Lowest = std::numeric_limits<std::int64_t>::min();
    constexpr std::int64_t Highest = std::numeric_limits<std::int64_t>::max();
    Measured m{Highest, Lowest, Highest, Lowest, 0, 0};
    for (const PointRecord& p : ctx.state.pPoints) {
        m.minX = std::min<std::int64_t>(m.minX, p.X);
        m.maxX = std::max<std::int64_t>(m.maxX, p.X);
        m.minY = std::min<std::int64_t>(m.minY, p.Y);
        m.maxY = std::max<std::int64_t>(m.maxY, p.Y);
    }
    const double width = ctx.picSide.ScaleWidth();
    const double height = ctx.picTop.ScaleHeight();
    m.sideOffset = width / 2 - width / 4;
    m.topOffset = conv::roundHalfEven(height / 2 - height / 4);
    return m;
}

QString num(std::int64_t v) { return QString::number(v); }

QString outOf16(const QString& what, std::int64_t value)
{
    return QStringLiteral("The object cannot be drawn: %1 (%2) is outside the range %3.").arg(what, num(value), conv::int16RangeText());
}

} // namespace

Placement::Placement(std::int16_t minX, std::int32_t maxX, std::int16_t minY, std::int16_t maxY, float sideOffsetX,
                     std::int16_t topOffsetY)
    : minX(minX), maxX(maxX), minY(minY), maxY(maxY), sideOffsetX(sideOffsetX), topOffsetY(topOffsetY)
{
}

std::variant<Placement, QString> Placement::check(const ViewContext& ctx)
{
    const Measured m = measure(ctx);
    if (!fits16(m.minX))
        return outOf16(QStringLiteral("the smallest X of its points"), m.minX);
    if (!fits16(m.minY))
        return outOf16(QStringLiteral("the smallest Y of its points"), m.minY);
    if (!fits16(m.maxY))
        return outOf16(QStringLiteral("the largest Y of its points"), m.maxY);
    const std::optional<std::int16_t> top = conv::toInt16(m.topOffset);
    if (!top)
        return outOf16(QStringLiteral("the place of its front face in the top view"), std::int64_t(m.topOffset));
    return Placement(std::int16_t(m.minX), std::int32_t(m.maxX), std::int16_t(m.minY), std::int16_t(m.maxY),
                     float(m.sideOffset), *top);
}

Placement Placement::clamped(const ViewContext& ctx)
{
    const Measured m = measure(ctx);
    return Placement(conv::clampToInt16(double(m.minX)), std::int32_t(m.maxX), conv::clampToInt16(double(m.minY)),
                     conv::clampToInt16(double(m.maxY)), float(m.sideOffset), conv::clampToInt16(m.topOffset));
}

Extrusion::Extrusion(std::int16_t depth, float sideBackX, float topBackY)
    : depth(depth), sideBackX(sideBackX), topBackY(topBackY)
{
}

std::variant<Extrusion, QString> Extrusion::check(const Placement& placement, const TaggedValue& depth)
{
    const std::optional<double> number = depth.toNumber();
    if (!number)
        return QStringLiteral("The object cannot be drawn: its depth \"%1\" is not a number.").arg(conv::excerpt(depth.toText()));
    const std::optional<std::int16_t> d = conv::toInt16(*number);
    if (!d)
        return QStringLiteral("The object cannot be drawn: its depth (%1) is outside the range %2.")
            .arg(conv::excerpt(depth.toText()), conv::int16RangeText());
    const std::int64_t top = placement.topOffsetY;
    if (!fits16(top + *d))
        return QStringLiteral("The object cannot be drawn: its back face in the top view would lie at %1 + %2 = %3, "
                              "outside the range %4.")
            .arg(num(top), num(*d), num(top + *d), conv::int16RangeText());
    for (const std::int64_t x : {std::int64_t(placement.minX), std::int64_t(placement.maxX)})
        if (!fits32(x + *d))
            return QStringLiteral("The object cannot be drawn: a point's X plus the depth, %1 + %2 (%3), is outside the "
                                  "range %4.")
                .arg(num(x), num(*d), num(x + *d), conv::int32RangeText());
    return Extrusion(*d, placement.sideOffsetX + float(*d), float(top + *d));
}
