// The region a closed outline of whole-number points fills by the nonzero winding rule,
// decided exactly, as the boundaries that enclose it.
#pragma once

#include <cstdint>
#include <vector>

// A point of whole numbers, Y up.
struct Lattice {
    std::int64_t x, y;
    friend bool operator==(const Lattice&, const Lattice&) = default;
    friend auto operator<=>(const Lattice&, const Lattice&) = default;
};

// The filled region as closed boundaries, the region on the left of each (outer boundaries
// counter-clockwise, holes clockwise), on the outline's coordinates times 2^shift. Which
// parts are filled and how the boundaries meet is decided in exact arithmetic; only the
// crossings of edges are then rounded to whole units, so that they lie within 2^-50 of the
// object's size of where they are. Boundaries neither cross nor overlap; they may touch at
// points, where each is closed around its own part; no corner lies on a line with its two
// neighbours before that rounding.
struct FilledRegion {
    std::vector<std::vector<Lattice>> rings;
    int shift = 0;
};

// The outline's coordinates must lie within +-2^31.
FilledRegion fillNonzero(const std::vector<Lattice>& outline);
