// The extruded object as a solid: its outline filled by the nonzero rule and triangulated,
// the prism built on it as a closed triangle mesh, and the mesh written as STL.
#pragma once

#include "files/ObjectFile.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

// Lengths of exported files: millimetres and inches (1440 twips to the inch) or twips.
enum class LengthUnit { Millimetre, Inch, Twip };
double unitsPerTwip(LengthUnit unit);

// The depth the extruded drawing gives an object: an empty depth is the drawing's default
// of 200 twips, a number or numeric text is rounded half to even into 16 bits; nullopt when
// the depth is no such number.
std::optional<std::int16_t> extrusionDepth(const TaggedValue& depth);

// The depth of an object's prism in twips, by extrusionDepth; a flat object (last drawn in
// 2D), a depth of 0 or one that is no 16-bit number gives its reason as a phrase instead.
std::variant<std::int16_t, QString> prismDepth(const ObjectFileValues& object);

// A point of the plane in the export's axes: X to the right, Y up (the screen's Y flipped).
struct PlanePoint {
    double x = 0;
    double y = 0;
    friend bool operator==(const PlanePoint&, const PlanePoint&) = default;
};

// The region an outline fills by the nonzero winding rule, as triangles over `points`.
// Invariants: every triangle winds counter-clockwise (positive area) and no triangle has zero
// area or a repeated corner; edge k of a triangle runs from corner k to corner k + 1, and
// boundary[k] tells whether it lies on the region's boundary (a wall of the prism). An inner
// edge is run once each way by two triangles, a boundary edge by its triangle alone.
struct FilledRegion {
    struct Triangle {
        std::array<std::uint32_t, 3> corners;
        std::array<bool, 3> boundary;
    };
    std::vector<PlanePoint> points;
    std::vector<Triangle> triangles;

    double area() const;
};

// The region the object's outline (points in twips, screen axes) fills, in the unit chosen,
// triangulated by the GLU tessellator. An outline with fewer than three distinct points, or
// one that encloses no area, gives its reason as a sentence to follow "cannot be exported: ".
std::variant<FilledRegion, QString> fillOutline(const std::vector<PointRecord>& outline, LengthUnit unit);

// A closed, consistently oriented triangle mesh: every triangle winds counter-clockwise seen
// from outside (its normal points out), and every edge is run once each way by two
// triangles, except the lateral edge at a point where filled parts of the outline touch
// (a bow tie's crossing), run once each way by each part. Vertices are single precision,
// shared by index.
struct Mesh {
    std::vector<std::array<float, 3>> vertices;
    std::vector<std::array<std::uint32_t, 3>> triangles;

    // The enclosed volume, from the signed volumes of the triangles (positive when outward).
    double volume() const;
};

// The prism of an object drawn extruded: the filled outline as the front face at Z = 0, its
// copy at Z = minus the depth as the back face, and walls along the region's boundary. A
// flat object, a depth of 0 or one that is no 16-bit number, and what fillOutline refuses
// give the reason as a full sentence instead. Called by the tool's STL export.
std::variant<Mesh, QString> buildPrism(const ObjectFileValues& object, LengthUnit unit);

// The mesh as binary STL (80-byte header naming the solid, then 50 bytes a triangle) or
// ASCII STL, each triangle with its outward unit normal.
QByteArray binaryStl(const Mesh& mesh, const QString& name);
QByteArray asciiStl(const Mesh& mesh, const QString& name);
