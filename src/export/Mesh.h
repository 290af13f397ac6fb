// The extruded object as a solid: its outline filled by the nonzero rule on whole twips and
// triangulated, the prism built on it as a closed triangle mesh, and the mesh written as STL.
#pragma once

#include "app/ObjectRules.h"
#include "files/ObjectFile.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <variant>
#include <vector>

// Lengths of exported files: millimetres and inches (1440 twips to the inch) or twips.
enum class LengthUnit { Millimetre, Inch, Twip };
double unitsPerTwip(LengthUnit unit);

// The depth of an object's prism in twips, as the extruded drawing takes it (depthInTwips);
// a flat object (last drawn in 2D), a depth of 0 or one that is no 16-bit number gives its
// reason as a phrase instead.
std::variant<std::int16_t, QString> prismDepth(const ObjectFileValues& object);

// A closed, consistently oriented triangle mesh: every triangle winds counter-clockwise seen
// from outside (its normal points out), and every edge is run as often one way as the other:
// once each way, or, for the lateral edge at a point where filled parts of the outline touch
// (a bow tie's crossing), once each way by each part. No triangle has two corners at one
// point or its corners on one line. Vertices are single precision, shared by index.
struct Mesh {
    std::vector<std::array<float, 3>> vertices;
    std::vector<std::array<std::uint32_t, 3>> triangles;
    // Where each filled part's triangles begin, in rising order (the first at 0); empty for a
    // mesh not built part by part.
    std::vector<std::size_t> partStarts;

    // The enclosed volume, from the signed volumes of the triangles (positive when outward).
    double volume() const;
};

// What bounds the work of building a solid, and who hears of it while it runs.
// maxTriangles limits both the pieces the outline is cut into to be filled (each edge in
// every horizontal band between two corners' heights, plus two for each crossing of two
// edges, counted before anything costly) and the triangles of the solid.
// progress, when set, is called with the stage's name and how much of it is done (0 to 1).
struct SolidLimits {
    static constexpr std::uint64_t DefaultMaxTriangles = 1'000'000;
    std::uint64_t maxTriangles = DefaultMaxTriangles;
    std::function<void(const QString& stage, double done)> progress;
};

// The prism of an object drawn extruded: its outline filled by the nonzero rule (decided on
// its whole twips) as the front face at Z = 0, its copy at Z = minus the depth as the back
// face, and walls along the filled region's boundary, in the unit chosen. A flat object, a
// depth of 0 or one that is no 16-bit number, fewer than three distinct points, an outline
// that encloses no area, one over the limits, one so far from the origin that single
// precision would move a corner by more than half a twip, and one whose corners single
// precision cannot keep apart give the reason as a full sentence instead. The triangles
// come part by part (each filled part's front face, back face and walls together).
// Called by the tool's STL export.
std::variant<Mesh, QString> buildPrism(const ObjectFileValues& object, LengthUnit unit, const SolidLimits& limits = {});

// Nothing when every directed edge of the mesh, its corners taken by their single-precision
// values, is matched by its reverse as often, and no triangle has two corners at one value or
// its corners on one line; otherwise what is wrong, as a phrase. Called by buildPrism on
// every mesh before it is given out.
std::optional<QString> openOrDegenerate(const Mesh& mesh);

// The mesh as binary STL (80-byte header naming the solid, then 50 bytes a triangle) or
// ASCII STL, each triangle with its outward unit normal.
QByteArray binaryStl(const Mesh& mesh, const QString& name);
QByteArray asciiStl(const Mesh& mesh, const QString& name);
