// DXF outlines through dxflib's reader: each entity becomes a candidate in twips.
#include "export/DxfImport.h"

#include <dxflib/dl_codes.h>
#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <sstream>

namespace {

// Millimetres per drawing unit for the $INSUNITS codes CAD programs write; 0 (unitless)
// and anything unknown as millimetres.
double millimetresPerUnit(int code)
{
    switch (code) {
    case 1: return 25.4;
    case 2: return 304.8;
    case 3: return 1609344.0;
    case 5: return 10.0;
    case 6: return 1000.0;
    case 7: return 1000000.0;
    case 8: return 25.4e-6;
    case 9: return 25.4e-3;
    case 10: return 914.4;
    case 14: return 100.0;
    default: return 1.0;
    }
}

// The drawing's point (x, y) in units as twips with Y down.
QPointF twipsOf(double x, double y, double mmPerUnit)
{
    return {x * mmPerUnit * TwipsPerMillimetre + 0.0, -y * mmPerUnit * TwipsPerMillimetre + 0.0};
}

class Collector : public DL_CreationAdapter {
public:
    explicit Collector(double tolerance) : tolerance_(tolerance) {}

    void setVariableInt(const std::string& key, int value, int) override
    {
        if (key == "$INSUNITS")
            unitsCode_ = value;
    }
    void addLayer(const DL_LayerData&) override {}

    void addPolyline(const DL_PolylineData& data) override
    {
        finishPolyline();
        OutlineCandidate c = started(QStringLiteral("POLYLINE"));
        polyline_ = std::make_unique<Pending>();
        polyline_->candidate = std::move(c);
        polyline_->candidate.closed = (data.flags & 1) != 0;
        polyline_->expected = data.number;
    }
    void addVertex(const DL_VertexData& data) override
    {
        if (!polyline_)
            return;
        polyline_->vertices.push_back(data);
        if (polyline_->expected > 0 && polyline_->vertices.size() == polyline_->expected)
            finishPolyline();
    }
    void endSequence() override { finishPolyline(); }

    void addLine(const DL_LineData& d) override
    {
        OutlineCandidate c = started(QStringLiteral("LINE"));
        raw_.push_back({c, {{d.x1, d.y1}, {d.x2, d.y2}}, {}});
    }
    void addCircle(const DL_CircleData& d) override
    {
        OutlineCandidate c = started(QStringLiteral("CIRCLE"));
        c.closed = true;
        addCurve(c, [d](double t) { return QPointF(d.cx + d.radius * std::cos(t), d.cy + d.radius * std::sin(t)); }, 0,
                 2 * std::numbers::pi);
    }
    void addArc(const DL_ArcData& d) override
    {
        OutlineCandidate c = started(QStringLiteral("ARC"));
        double a1 = d.angle1 * std::numbers::pi / 180, a2 = d.angle2 * std::numbers::pi / 180;
        while (a2 <= a1)
            a2 += 2 * std::numbers::pi;
        addCurve(c, [d](double t) { return QPointF(d.cx + d.radius * std::cos(t), d.cy + d.radius * std::sin(t)); }, a1, a2);
    }
    void addEllipse(const DL_EllipseData& d) override
    {
        OutlineCandidate c = started(QStringLiteral("ELLIPSE"));
        double a1 = d.angle1, a2 = d.angle2;
        while (a2 <= a1)
            a2 += 2 * std::numbers::pi;
        c.closed = std::abs(a2 - a1 - 2 * std::numbers::pi) < 1e-9;
        const double minorX = -d.my * d.ratio, minorY = d.mx * d.ratio;
        addCurve(c, [d, minorX, minorY](double t) {
            return QPointF(d.cx + d.mx * std::cos(t) + minorX * std::sin(t), d.cy + d.my * std::cos(t) + minorY * std::sin(t));
        }, a1, a2);
    }
    void addSpline(const DL_SplineData& d) override
    {
        OutlineCandidate c = started(QStringLiteral("SPLINE"));
        spline_ = std::make_unique<Spline>();
        spline_->candidate = std::move(c);
        spline_->candidate.closed = (d.flags & 1) != 0;
        spline_->degree = int(d.degree);
    }
    void addControlPoint(const DL_ControlPointData& d) override
    {
        if (spline_)
            spline_->control.push_back({QPointF(d.x, d.y), d.w > 0 ? d.w : 1.0});
    }
    void addKnot(const DL_KnotData& d) override
    {
        if (spline_)
            spline_->knots.push_back(d.k);
    }

    void addInsert(const DL_InsertData&) override { untaken(QStringLiteral("INSERT")); }
    void addHatch(const DL_HatchData&) override { untaken(QStringLiteral("HATCH")); }
    void addText(const DL_TextData&) override { untaken(QStringLiteral("TEXT")); }
    void addMText(const DL_MTextData&) override { untaken(QStringLiteral("MTEXT")); }
    void addImage(const DL_ImageData&) override { untaken(QStringLiteral("IMAGE")); }
    void addSolid(const DL_SolidData&) override { untaken(QStringLiteral("SOLID")); }

    void addBlock(const DL_BlockData&) override { inBlock_ = true; }
    void endBlock() override { inBlock_ = false; }

    // The candidates in twips, once the whole drawing (and so $INSUNITS) is read.
    std::vector<OutlineCandidate> finish()
    {
        finishPolyline();
        finishSpline();
        const double mm = millimetresPerUnit(unitsCode_);
        PointBudget budget;
        std::vector<OutlineCandidate> out;
        out.reserve(raw_.size());
        for (Raw& r : raw_) {
            OutlineBuilder b(tolerance_, [mm](QPointF p) { return twipsOf(p.x(), p.y(), mm); }, &budget);
            if (!r.points.empty())
                b.moveTo(r.points.front());
            for (std::size_t i = 1; i < r.points.size(); ++i)
                b.lineTo(r.points[i]);
            for (const auto& piece : r.curves) {
                if (!piece.f) {
                    b.lineTo(piece.to);
                    continue;
                }
                if (b.empty())
                    b.moveTo(piece.f(piece.t0));
                b.curve(piece.f, piece.t0, piece.t1);
            }
            r.candidate.points = b.take();
            out.push_back(std::move(r.candidate));
        }
        spent_ = budget.spent();
        return out;
    }

private:
    // A straight line to `to` when f is empty, else the curve f from t0 to t1.
    struct Piece {
        std::function<QPointF(double)> f;
        double t0 = 0, t1 = 1;
        QPointF to;
    };
    // A candidate in drawing units, flattened once the units are known: straight points,
    // then curve pieces, in order (a polyline gives its pieces as curves throughout).
    struct Raw {
        OutlineCandidate candidate;
        std::vector<QPointF> points;
        std::vector<Piece> curves;
    };
    struct Pending {
        OutlineCandidate candidate;
        std::vector<DL_VertexData> vertices;
        unsigned expected = 0;
    };
    struct Spline {
        OutlineCandidate candidate;
        int degree = 3;
        std::vector<std::pair<QPointF, double>> control;
        std::vector<double> knots;
    };

    OutlineCandidate started(const QString& kind)
    {
        finishSpline();
        OutlineCandidate c;
        c.kind = kind;
        c.layer = QString::fromStdString(attributes.getLayer());
        const int handle = attributes.getHandle();
        c.id = handle >= 0 ? QString::number(handle, 16).toUpper() : QStringLiteral("#%1").arg(++unnamed_);
        return c;
    }
    void untaken(const QString& kind)
    {
        if (inBlock_)
            return;
        OutlineCandidate c = started(kind);
        c.usable = false;
        raw_.push_back({c, {}, {}});
    }
    void addCurve(OutlineCandidate c, std::function<QPointF(double)> f, double t0, double t1)
    {
        if (inBlock_)
            return;
        raw_.push_back({std::move(c), {}, {{std::move(f), t0, t1, {}}}});
    }

    // A polyline's segments: straight, or for a bulge b the arc of 4·atan(b) radians.
    void finishPolyline()
    {
        if (!polyline_)
            return;
        std::unique_ptr<Pending> p = std::move(polyline_);
        if (inBlock_)
            return;
        Raw r{p->candidate, {}, {}};
        const std::vector<DL_VertexData>& v = p->vertices;
        if (!v.empty())
            r.points.push_back({v.front().x, v.front().y});
        const std::size_t segments = v.size() < 2 ? 0 : (r.candidate.closed ? v.size() : v.size() - 1);
        for (std::size_t i = 0; i < segments; ++i) {
            const DL_VertexData& a = v[i];
            const DL_VertexData& b = v[(i + 1) % v.size()];
            const QPointF pa(a.x, a.y), pb(b.x, b.y);
            if (a.bulge == 0 || !std::isfinite(a.bulge) || pa == pb) {
                r.curves.push_back({{}, 0, 1, pb});
                continue;
            }
            const double sweep = 4 * std::atan(a.bulge);
            const QPointF mid = (pa + pb) / 2, chord = pb - pa;
            const double half = std::hypot(chord.x(), chord.y()) / 2;
            const double toCentre = half / std::tan(sweep / 2);
            const QPointF normal(-chord.y() / (2 * half), chord.x() / (2 * half));
            const QPointF centre = mid + normal * toCentre;
            const double radius = std::hypot(pa.x() - centre.x(), pa.y() - centre.y());
            const double start = std::atan2(pa.y() - centre.y(), pa.x() - centre.x());
            r.curves.push_back({[centre, radius, start, sweep, pb](double t) {
                                    if (t >= 1)
                                        return pb;
                                    return QPointF(centre.x() + radius * std::cos(start + sweep * t), centre.y() + radius * std::sin(start + sweep * t));
                                }, 0, 1, pb});
        }
        raw_.push_back(std::move(r));
    }

    // A NURBS curve evaluated by de Boor's rule over its knots.
    void finishSpline()
    {
        if (!spline_)
            return;
        std::unique_ptr<Spline> s = std::move(spline_);
        if (inBlock_)
            return;
        const int p = s->degree;
        const std::size_t n = s->control.size();
        if (p < 1 || n < std::size_t(p) + 1 || s->knots.size() != n + std::size_t(p) + 1) {
            Raw r{s->candidate, {}, {}};
            r.candidate.closed = false;
            for (const auto& c : s->control)
                r.points.push_back(c.first);
            raw_.push_back(std::move(r));
            return;
        }
        auto control = s->control;
        auto knots = s->knots;
        const auto f = [p, control, knots](double t) {
            std::size_t k = std::size_t(p);
            while (k + 1 < control.size() && t >= knots[k + 1])
                ++k;
            std::vector<double> x(std::size_t(p) + 1), y(std::size_t(p) + 1), w(std::size_t(p) + 1);
            for (int j = 0; j <= p; ++j) {
                const auto& c = control[k - std::size_t(p) + std::size_t(j)];
                w[std::size_t(j)] = c.second;
                x[std::size_t(j)] = c.first.x() * c.second;
                y[std::size_t(j)] = c.first.y() * c.second;
            }
            for (int r = 1; r <= p; ++r)
                for (int j = p; j >= r; --j) {
                    const std::size_t i = k - std::size_t(p) + std::size_t(j);
                    const double span = knots[i + std::size_t(p) + 1 - std::size_t(r)] - knots[i];
                    const double a = span > 0 ? (t - knots[i]) / span : 0;
                    const auto J = std::size_t(j);
                    x[J] = (1 - a) * x[J - 1] + a * x[J];
                    y[J] = (1 - a) * y[J - 1] + a * y[J];
                    w[J] = (1 - a) * w[J - 1] + a * w[J];
                }
            const auto P = std::size_t(p);
            return w[P] != 0 ? QPointF(x[P] / w[P], y[P] / w[P]) : QPointF(x[P], y[P]);
        };
        Raw r{s->candidate, {}, {}};
        const double t0 = knots[std::size_t(p)], t1 = knots[n];
        // Each knot span separately, so that no span is skipped by the subdivision.
        for (std::size_t k = std::size_t(p); k < n; ++k)
            if (knots[k + 1] > knots[k])
                r.curves.push_back({f, std::max(t0, knots[k]), std::min(t1, knots[k + 1]), {}});
        raw_.push_back(std::move(r));
    }

public:
    bool spent_ = false; // the drawing flattened into more than a PointBudget

private:
    double tolerance_;
    int unitsCode_ = 0;
    int unnamed_ = 0;
    bool inBlock_ = false;
    std::unique_ptr<Pending> polyline_;
    std::unique_ptr<Spline> spline_;
    std::vector<Raw> raw_;
};

// Nothing when the bytes are DXF's pairs (a group code, a whole number, on one line, its
// value on the next, no line longer than dxflib reads) ending with "0 EOF"; else the line
// and what is wrong.
QString pairsProblem(const QByteArray& bytes)
{
    qsizetype line = 0, at = 0;
    bool code = true, ended = false, lastWasZero = false, anyPair = false;
    while (at < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', at);
        if (end < 0)
            end = bytes.size();
        ++line;
        QByteArrayView text = QByteArrayView(bytes).sliced(at, end - at);
        const qsizetype length = text.size(); // with a CR, which dxflib reads as part of the line
        if (text.endsWith('\r'))
            text.chop(1);
        at = end + 1;
        // dxflib's reader cannot go past a longer line: it would read the same place forever.
        if (length >= DL_DXF_MAXLINE)
            return QStringLiteral("line %1: longer than the %2 characters a DXF line holds").arg(line).arg(DL_DXF_MAXLINE - 1);
        if (ended) {
            if (!text.trimmed().isEmpty())
                return QStringLiteral("line %1: text after the end of the drawing (0 EOF)").arg(line);
            continue;
        }
        if (code) {
            bool ok = false;
            const int value = text.trimmed().toInt(&ok);
            if (!ok || value < 0 || value > 1071)
                return QStringLiteral("line %1: a group code (a whole number from 0 to 1071) is expected here, not \"%2\"")
                    .arg(line).arg(QString::fromLatin1(text.first(std::min<qsizetype>(text.size(), 40))));
            lastWasZero = value == 0;
        } else {
            anyPair = true;
            ended = lastWasZero && text.trimmed() == "EOF";
        }
        code = !code;
    }
    if (!anyPair)
        return QStringLiteral("line 1: no DXF group codes");
    if (!ended)
        return QStringLiteral("line %1: the drawing ends without 0 EOF").arg(line);
    return {};
}

} // namespace

DrawingOutlines readDxfOutlines(const QByteArray& bytes, double tolerance)
{
    if (const QString problem = pairsProblem(bytes); !problem.isEmpty())
        return QStringLiteral("is not a DXF drawing: ") + problem;
    Collector collector(tolerance);
    std::istringstream stream(bytes.toStdString());
    DL_Dxf dxf;
    if (!dxf.in(stream, &collector))
        return QStringLiteral("is not a DXF drawing: the reader could not read it");
    std::vector<OutlineCandidate> candidates = collector.finish();
    if (collector.spent_)
        return budgetSpentText();
    return candidates;
}
