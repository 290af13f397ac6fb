// The rules that belong to the object itself, whoever applies them: the depth an extruded
// drawing or solid uses, and how many points an object holds.
#pragma once

#include "app/WorkspaceState.h"

#include <cstdint>
#include <optional>

// The depth in twips an extruded drawing gives an object whose depth is empty (and Draw 3D
// one that is zero or negative); the solid export extrudes by the same rule.
inline constexpr std::int16_t DefaultDepth = 200;

// The most points an object holds: PointCount is 16-bit.
inline constexpr std::int16_t MostPoints = 32767;

// The depth an extruded drawing uses: the object's own, or DefaultDepth when it is empty.
TaggedValue effectiveDepth(const TaggedValue& depth);

// The effective depth in twips as the extruded drawing takes it, rounded half to even into
// 16 bits; nullopt when it is not such a number.
std::optional<std::int16_t> depthInTwips(const TaggedValue& depth);

// Whether one more point may be placed: the object holds fewer than MostPoints.
bool canAddPoint(const WorkspaceState& state);
