// Flattening curves into points, listing a drawing's outlines and making one an object's points.
#include "export/Outline.h"

#include "platform/Conversions.h"

#include <QRectF>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The distance from p to the chord from a to b (the segment, not its line: a curve that
// runs on along its chord's line past an end and back is cut there too).
double distanceToChord(QPointF p, QPointF a, QPointF b)
{
    const QPointF d = b - a;
    const double squared = d.x() * d.x() + d.y() * d.y();
    const double along = squared > 0 ? std::clamp(((p.x() - a.x()) * d.x() + (p.y() - a.y()) * d.y()) / squared, 0.0, 1.0) : 0;
    return std::hypot(p.x() - a.x() - along * d.x(), p.y() - a.y() - along * d.y());
}

// Deep enough for any curve within a drawing of the sizes an object holds.
constexpr int DeepestSubdivision = 24;

} // namespace

namespace {
// The points the outline keeps as an object's (rounded and merged), for the list.
std::size_t pointCount(const std::vector<QPointF>& points)
{
    const auto kept = outlinePoints(points, nullptr);
    const auto* list = std::get_if<std::vector<PointRecord>>(&kept);
    return list ? list->size() : points.size();
}
} // namespace

OutlineBuilder::OutlineBuilder(double tolerance, std::function<QPointF(QPointF)> map, PointBudget* budget)
    : tolerance_(tolerance), map_(std::move(map)), budget_(budget)
{
}

void OutlineBuilder::add(QPointF mapped)
{
    if (budget_) {
        if (budget_->spent())
            return;
        --budget_->left;
    }
    points_.push_back(mapped);
}

void OutlineBuilder::moveTo(QPointF p)
{
    last_ = p;
    add(map_(p));
}

void OutlineBuilder::lineTo(QPointF p)
{
    last_ = p;
    add(map_(p));
}

void OutlineBuilder::subdivide(const std::function<QPointF(double)>& f, double t0, QPointF a, double t1, QPointF b, int depth)
{
    if (budget_ && budget_->spent())
        return;
    const double tm = (t0 + t1) / 2;
    const QPointF m = map_(f(tm));
    // The quarter points too, so that an S-shaped piece whose middle lies on its chord is cut.
    const QPointF q1 = map_(f((t0 + tm) / 2)), q3 = map_(f((tm + t1) / 2));
    const double off = std::max({distanceToChord(m, a, b), distanceToChord(q1, a, b), distanceToChord(q3, a, b)});
    if (depth < DeepestSubdivision && std::isfinite(off) && off > tolerance_) {
        subdivide(f, t0, a, tm, m, depth + 1);
        subdivide(f, tm, m, t1, b, depth + 1);
        return;
    }
    add(b);
}

void OutlineBuilder::curve(const std::function<QPointF(double)>& f, double t0, double t1)
{
    const QPointF a = points_.empty() ? map_(f(t0)) : points_.back();
    subdivide(f, t0, a, t1, map_(f(t1)), 0);
    last_ = f(t1);
}

void OutlineBuilder::cubicTo(QPointF c1, QPointF c2, QPointF end)
{
    const QPointF start = last_;
    curve([=](double t) {
        const double u = 1 - t;
        return u * u * u * start + 3 * u * u * t * c1 + 3 * u * t * t * c2 + t * t * t * end;
    }, 0, 1);
}

void OutlineBuilder::quadTo(QPointF c, QPointF end)
{
    const QPointF start = last_;
    curve([=](double t) {
        const double u = 1 - t;
        return u * u * start + 2 * u * t * c + t * t * end;
    }, 0, 1);
}

QString budgetSpentText()
{
    return QStringLiteral("flattens into more points than the tool takes from one drawing (%1); give a larger --tolerance")
        .arg(PointBudget().left);
}

QString candidateLine(const OutlineCandidate& c)
{
    const QString name = QStringLiteral("%1:%2").arg(c.id).arg(c.subpath);
    QString line = name.leftJustified(16) + QLatin1Char(' ');
    if (!c.layer.isEmpty())
        line += QStringLiteral("layer %1  ").arg(c.layer);
    if (!c.usable)
        return line + QStringLiteral("not taken: %1").arg(c.kind);
    double left = std::numeric_limits<double>::infinity(), top = left, right = -left, bottom = -left;
    for (const QPointF& p : c.points) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    const double width = c.points.empty() ? 0 : (right - left) / TwipsPerMillimetre;
    const double height = c.points.empty() ? 0 : (bottom - top) / TwipsPerMillimetre;
    return line + QStringLiteral("%1 %2  %3 points  %4 x %5 mm")
                      .arg(c.kind, c.closed ? QStringLiteral("closed") : QStringLiteral("open"))
                      .arg(pointCount(c.points))
                      .arg(conv::numberText(std::round(width * 100) / 100), conv::numberText(std::round(height * 100) / 100));
}

const OutlineCandidate* chooseOutline(const std::vector<OutlineCandidate>& candidates, const QString& pick, QString* why)
{
    if (!pick.isEmpty()) {
        const qsizetype colon = pick.lastIndexOf(QLatin1Char(':'));
        bool numbered = false;
        const int number = colon > 0 ? pick.mid(colon + 1).toInt(&numbered) : 0;
        const QString id = numbered ? pick.left(colon) : pick;
        for (const OutlineCandidate& c : candidates) {
            if (c.id != id || c.subpath != (numbered ? number : 1))
                continue;
            if (!c.usable)
                *why = QStringLiteral("the outline \"%1\" is a %2, which is not taken").arg(pick, c.kind);
            else if (!c.closed)
                *why = QStringLiteral("the outline \"%1\" is open; an object's outline is closed, so close the path in the drawing").arg(pick);
            return c.usable && c.closed ? &c : nullptr;
        }
        *why = QStringLiteral("the drawing has no outline \"%1\"; see --list").arg(pick);
        return nullptr;
    }
    const OutlineCandidate* found = nullptr;
    qsizetype closed = 0;
    for (const OutlineCandidate& c : candidates)
        if (c.usable && c.closed) {
            found = &c;
            ++closed;
        }
    if (closed == 1)
        return found;
    QString list;
    for (const OutlineCandidate& c : candidates)
        list += QStringLiteral("\n  ") + candidateLine(c);
    *why = (closed == 0 ? QStringLiteral("the drawing holds no closed outline") : QStringLiteral("the drawing holds %1 closed outlines; pick one with --outline ID[:N]").arg(closed))
        + (list.isEmpty() ? QString() : QStringLiteral(":") + list);
    return nullptr;
}

std::variant<std::vector<PointRecord>, QString> outlinePoints(const std::vector<QPointF>& points, const QRectF* fitInto)
{
    std::vector<QPointF> placed = points;
    if (fitInto && !placed.empty()) {
        double left = placed.front().x(), right = left, top = placed.front().y(), bottom = top;
        for (const QPointF& p : placed) {
            left = std::min(left, p.x());
            right = std::max(right, p.x());
            top = std::min(top, p.y());
            bottom = std::max(bottom, p.y());
        }
        const double width = right - left, height = bottom - top;
        double scale = std::numeric_limits<double>::infinity();
        if (width > 0)
            scale = fitInto->width() / width;
        if (height > 0)
            scale = std::min(scale, fitInto->height() / height);
        const double s = std::isfinite(scale) ? scale : 1;
        const QPointF offset(fitInto->center().x() - (left + right) / 2 * s, fitInto->center().y() - (top + bottom) / 2 * s);
        for (QPointF& p : placed)
            p = p * s + offset;
    }
    std::vector<PointRecord> out;
    out.reserve(placed.size());
    for (const QPointF& p : placed) {
        const std::optional<std::int32_t> x = conv::toInt32(p.x()), y = conv::toInt32(p.y());
        if (!x || !y)
            return QStringLiteral("the outline reaches (%1, %2) twips, beyond the %3 an object file holds; give --fit to scale it into the front view")
                .arg(conv::numberText(std::round(p.x())), conv::numberText(std::round(p.y())), conv::int32RangeText());
        const PointRecord r{*x, *y};
        if (out.empty() || !(out.back() == r))
            out.push_back(r);
    }
    while (out.size() > 1 && out.back() == out.front())
        out.pop_back();
    if (out.empty())
        return QStringLiteral("the outline has no points");
    if (out.size() > std::size_t(MostPoints))
        return QStringLiteral("the outline has %1 points, more than the %2 an object holds; give a larger --tolerance").arg(out.size()).arg(MostPoints);
    return out;
}
