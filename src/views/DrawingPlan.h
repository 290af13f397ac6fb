// The checked plan of a drawing: where the object lies in the side and top views and, when
// extruded, where its back face lies, each value already in the width the drawing uses it in.
#pragma once

#include "views/ViewContext.h"

#include <cstdint>
#include <variant>

// The object's extents and its front face's place in the side and top views, in the widths
// of the state's fields. Made only by check (every value fitted, or the message naming the
// first that does not) or by clamped (every value forced into its field), so a drawing that
// takes a Placement cannot run on values nobody measured.
class Placement {
public:
    // The smallest and largest X and Y over every point, element 0 included.
    const std::int16_t minX;
    const std::int32_t maxX;
    const std::int16_t minY;
    const std::int16_t maxY;
    // The place of the object's front face: a column of the side view, a row of the top view.
    const float sideOffsetX;
    const std::int16_t topOffsetY;

    // Called by the drawings before anything is cleared. Checks, in this order, the smallest
    // X, the smallest Y, the largest Y and the top view's front face against 16 bits.
    static std::variant<Placement, QString> check(const ViewContext& ctx);
    // Called when the grid size menu clears the views of an object that was never checked:
    // a value that does not fit its field is clamped into it. For an object check accepts,
    // gives exactly what check gives.
    static Placement clamped(const ViewContext& ctx);

private:
    Placement(std::int16_t minX, std::int32_t maxX, std::int16_t minY, std::int16_t maxY, float sideOffsetX,
              std::int16_t topOffsetY);
};

// The extruded drawing's depth and the place of the object's back face in the side, top and
// 3D views. Made only by check, after the Placement it extends was checked.
class Extrusion {
public:
    const std::int16_t depth;
    const float sideBackX; // the back face's column in the side view
    const float topBackY;  // the back face's row in the top view, which fits 16 bits

    // Checks, in this order, that the depth is a number, that it rounds into 16 bits, that
    // the top view's back face fits 16 bits and that every X plus the depth fits 32 bits.
    // depth is the one the drawing will use (the default already put for an empty one).
    static std::variant<Extrusion, QString> check(const Placement& placement, const TaggedValue& depth);

    // A point's corner on the back face in the 3D view: right by the depth and up by it.
    // Every X plus the depth fits 32 bits (checked), as does every Y less it.
    float backX(const PointRecord& p) const { return float(std::int64_t(p.X) + depth); }
    float backY(const PointRecord& p) const { return float(std::int64_t(p.Y) - depth); }

private:
    Extrusion(std::int16_t depth, float sideBackX, float topBackY);
};
