// The object's depth rule and its point limit.
#include "app/ObjectRules.h"

#include "platform/Conversions.h"

TaggedValue effectiveDepth(const TaggedValue& depth)
{
    return depth.isEmpty() ? TaggedValue(DefaultDepth) : depth;
}

std::optional<std::int16_t> depthInTwips(const TaggedValue& depth)
{
    const std::optional<double> number = effectiveDepth(depth).toNumber();
    return number ? conv::toInt16(*number) : std::nullopt;
}

bool canAddPoint(const WorkspaceState& state)
{
    return state.PointCount < MostPoints;
}
