// Outlines read from drawings (SVG, DXF): curves flattened within a tolerance, the list of
// candidates a drawing offers, and the object one of them becomes.
#pragma once

#include "files/ObjectFile.h"

#include <QPointF>
#include <QRectF>
#include <QString>
#include <functional>
#include <utility>
#include <variant>
#include <vector>

// One twip is 1/1440 inch; one CSS pixel (1/96 inch) is 15 twips.
inline constexpr double TwipsPerMillimetre = 1440.0 / 25.4;
inline constexpr double DefaultTolerance = 7.5;

// The points a whole drawing may flatten into, so that no drawing takes memory or time out of
// proportion to the largest object (16 times MostPoints, 8 MiB of points).
struct PointBudget {
    std::size_t left = 16 * std::size_t(32767);
    bool spent() const { return left == 0; }
};

// Why a drawing whose budget was spent is refused: "flattens into more points than ...".
QString budgetSpentText();

// Gathers the points of one subpath in twips (X right, Y down), flattening curves so that no
// point of a curve lies farther than tolerance twips from the outline. Points are mapped
// through map before flattening is judged, so a transformed curve is flattened where it lands.
class OutlineBuilder {
public:
    // budget, when given, is drawn on for every point and stops the builder when spent.
    OutlineBuilder(double tolerance, std::function<QPointF(QPointF)> map, PointBudget* budget = nullptr);
    void moveTo(QPointF p);
    void lineTo(QPointF p);
    void cubicTo(QPointF c1, QPointF c2, QPointF end);
    void quadTo(QPointF c, QPointF end);
    // Any curve given by f on [t0, t1] (f(t0) already added), subdivided until each piece
    // lies within tolerance of its chord.
    void curve(const std::function<QPointF(double)>& f, double t0, double t1);
    QPointF current() const { return last_; }
    // The points so far; the builder is left empty.
    std::vector<QPointF> take() { return std::exchange(points_, {}); }
    bool empty() const { return points_.empty(); }

private:
    void add(QPointF mapped);
    void subdivide(const std::function<QPointF(double)>& f, double t0, QPointF a, double t1, QPointF b, int depth);
    double tolerance_;
    std::function<QPointF(QPointF)> map_;
    PointBudget* budget_;
    std::vector<QPointF> points_;
    QPointF last_;
};

// What a drawing offers: a closed or open outline, or an element it cannot take (kind says
// which: "text", "image", "INSERT", "HATCH"), never guessed at.
// Invariant: an unusable candidate has no points.
struct OutlineCandidate {
    QString id;       // the element's id (SVG) or the entity's handle (DXF), or a name made up for it
    QString layer;    // DXF: the entity's layer
    QString kind;     // the element or entity type
    int subpath = 1;  // 1-based within the element
    bool closed = false;
    bool usable = true;
    std::vector<QPointF> points; // twips, X right, Y down
};

// A drawing's candidates, or why it is no drawing of its kind ("line 3: ..."). Produced by
// readSvgOutlines and readDxfOutlines.
using DrawingOutlines = std::variant<std::vector<OutlineCandidate>, QString>;

// The list line of a candidate: "ID:N  closed  24 points  30 x 20 mm" (with its layer for
// DXF; "open", or "not taken: text" for the others).
QString candidateLine(const OutlineCandidate& c);

// The one candidate an import takes: the one named by pick ("ID" or "ID:N"; an ID alone
// names subpath 1 when the element has several), or else the only closed one. nullptr with
// *why set when there is none, several, or the named one is open or unusable.
const OutlineCandidate* chooseOutline(const std::vector<OutlineCandidate>& candidates, const QString& pick, QString* why);

// The object's points: rounded half to even to twips, consecutive points on one twip merged
// (and the last when it falls on the first). With fit, scaled and placed to fill the area
// (left, top, width, height in twips) keeping proportions. Refused with the count and advice
// beyond MostPoints, with the size and advice when a point is beyond what an object file
// holds, and when fewer than one point is left.
std::variant<std::vector<PointRecord>, QString> outlinePoints(const std::vector<QPointF>& points, const QRectF* fitInto);
