// SVG outlines: the elements through QXmlStreamReader, path data and transforms read here.
#include "export/SvgImport.h"

#include <QTransform>
#include <QXmlStreamReader>
#include <charconv>
#include <cmath>
#include <map>
#include <limits>
#include <numbers>

namespace {

constexpr double TwipsPerPixel = 15;

// Reads numbers, flags and command letters from path data or an attribute's list, with SVG's
// compact forms ("1.5.5" is two numbers, "-1-2" too, "10" as two arc flags).
class Scanner {
public:
    explicit Scanner(QStringView text) : text_(text) {}
    void skipSpace(bool comma = true)
    {
        while (at_ < text_.size() && (text_[at_].isSpace() || (comma && text_[at_] == QLatin1Char(','))))
            ++at_;
    }
    bool atEnd()
    {
        skipSpace();
        return at_ >= text_.size();
    }
    qsizetype position() const { return at_; }
    QChar peek()
    {
        skipSpace();
        return at_ < text_.size() ? text_[at_] : QChar();
    }
    bool nextIsNumber()
    {
        const QChar c = peek();
        return c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char('+') || c == QLatin1Char('.');
    }
    QChar take() { return text_[at_++]; }
    std::optional<double> number()
    {
        skipSpace();
        const qsizetype start = at_;
        if (at_ < text_.size() && (text_[at_] == QLatin1Char('-') || text_[at_] == QLatin1Char('+')))
            ++at_;
        qsizetype digits = 0;
        while (at_ < text_.size() && text_[at_].isDigit())
            ++at_, ++digits;
        if (at_ < text_.size() && text_[at_] == QLatin1Char('.')) {
            ++at_;
            while (at_ < text_.size() && text_[at_].isDigit())
                ++at_, ++digits;
        }
        if (digits == 0) {
            at_ = start;
            return std::nullopt;
        }
        if (at_ < text_.size() && (text_[at_] == QLatin1Char('e') || text_[at_] == QLatin1Char('E'))) {
            qsizetype e = at_ + 1;
            if (e < text_.size() && (text_[e] == QLatin1Char('-') || text_[e] == QLatin1Char('+')))
                ++e;
            if (e < text_.size() && text_[e].isDigit()) {
                at_ = e;
                while (at_ < text_.size() && text_[at_].isDigit())
                    ++at_;
            }
        }
        // The characters are ASCII digits, signs, "." and "e": read them as the C locale does.
        char buffer[64];
        const qsizetype length = at_ - start;
        double value = std::numeric_limits<double>::infinity();
        if (length < qsizetype(sizeof buffer)) {
            qsizetype i = 0;
            if (text_[start] == QLatin1Char('+'))
                ++i;
            qsizetype n = 0;
            for (; i < length; ++i)
                buffer[n++] = char(text_[start + i].toLatin1());
            const auto read = std::from_chars(buffer, buffer + n, value);
            if (read.ec != std::errc() || read.ptr != buffer + n)
                value = std::numeric_limits<double>::infinity();
        }
        if (!std::isfinite(value)) {
            at_ = start;
            return std::nullopt;
        }
        return value;
    }
    std::optional<bool> flag()
    {
        skipSpace();
        if (at_ < text_.size() && (text_[at_] == QLatin1Char('0') || text_[at_] == QLatin1Char('1')))
            return take() == QLatin1Char('1');
        return std::nullopt;
    }

private:
    QStringView text_;
    qsizetype at_ = 0;
};

double angleBetween(double ux, double uy, double vx, double vy)
{
    return std::atan2(ux * vy - uy * vx, ux * vx + uy * vy);
}

// The elliptical arc from the builder's current point, by the endpoint-to-centre
// conversion of the SVG rules, radii enlarged when they cannot reach.
void arcTo(OutlineBuilder& b, double rx, double ry, double rotationDegrees, bool large, bool sweep, QPointF end)
{
    const QPointF start = b.current();
    rx = std::abs(rx);
    ry = std::abs(ry);
    if (start == end)
        return;
    if (rx == 0 || ry == 0) {
        b.lineTo(end);
        return;
    }
    const double phi = rotationDegrees * std::numbers::pi / 180, c = std::cos(phi), s = std::sin(phi);
    const double dx = (start.x() - end.x()) / 2, dy = (start.y() - end.y()) / 2;
    const double x1 = c * dx + s * dy, y1 = -s * dx + c * dy;
    const double lambda = x1 * x1 / (rx * rx) + y1 * y1 / (ry * ry);
    if (lambda > 1) {
        rx *= std::sqrt(lambda);
        ry *= std::sqrt(lambda);
    }
    const double num = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1;
    const double den = rx * rx * y1 * y1 + ry * ry * x1 * x1;
    double k = den > 0 ? std::sqrt(std::max(0.0, num / den)) : 0;
    if (large == sweep)
        k = -k;
    const double cx1 = k * rx * y1 / ry, cy1 = -k * ry * x1 / rx;
    const double cx = c * cx1 - s * cy1 + (start.x() + end.x()) / 2, cy = s * cx1 + c * cy1 + (start.y() + end.y()) / 2;
    const double theta = angleBetween(1, 0, (x1 - cx1) / rx, (y1 - cy1) / ry);
    double delta = angleBetween((x1 - cx1) / rx, (y1 - cy1) / ry, (-x1 - cx1) / rx, (-y1 - cy1) / ry);
    if (!sweep && delta > 0)
        delta -= 2 * std::numbers::pi;
    else if (sweep && delta < 0)
        delta += 2 * std::numbers::pi;
    b.curve([=](double t) {
        if (t >= 1)
            return end;
        const double a = theta + delta * t;
        const double ex = rx * std::cos(a), ey = ry * std::sin(a);
        return QPointF(cx + c * ex - s * ey, cy + s * ex + c * ey);
    }, 0, 1);
}

std::optional<QTransform> readTransform(QStringView text, QString* why)
{
    QTransform total;
    qsizetype at = 0;
    while (true) {
        while (at < text.size() && (text[at].isSpace() || text[at] == QLatin1Char(',')))
            ++at;
        if (at >= text.size())
            return total;
        const qsizetype open = text.indexOf(QLatin1Char('('), at), close = text.indexOf(QLatin1Char(')'), at);
        if (open < 0 || close < open) {
            *why = QStringLiteral("the transform \"%1\" cannot be read").arg(text.toString().left(60));
            return std::nullopt;
        }
        const QString name = text.sliced(at, open - at).trimmed().toString();
        Scanner args(text.sliced(open + 1, close - open - 1));
        std::vector<double> v;
        while (!args.atEnd()) {
            const std::optional<double> n = args.number();
            if (!n) {
                *why = QStringLiteral("the transform \"%1\" cannot be read").arg(text.toString().left(60));
                return std::nullopt;
            }
            v.push_back(*n);
        }
        const auto count = v.size();
        QTransform t;
        const double toRadians = std::numbers::pi / 180;
        if (name == QLatin1String("matrix") && count == 6)
            t = QTransform(v[0], v[1], v[2], v[3], v[4], v[5]);
        else if (name == QLatin1String("translate") && (count == 1 || count == 2))
            t.translate(v[0], count == 2 ? v[1] : 0);
        else if (name == QLatin1String("scale") && (count == 1 || count == 2))
            t.scale(v[0], count == 2 ? v[1] : v[0]);
        else if (name == QLatin1String("rotate") && (count == 1 || count == 3)) {
            const double a = v[0] * toRadians;
            const double cx = count == 3 ? v[1] : 0, cy = count == 3 ? v[2] : 0;
            t = QTransform(1, 0, 0, 1, -cx, -cy) * QTransform(std::cos(a), std::sin(a), -std::sin(a), std::cos(a), 0, 0)
                * QTransform(1, 0, 0, 1, cx, cy);
        } else if (name == QLatin1String("skewX") && count == 1)
            t = QTransform(1, 0, std::tan(v[0] * toRadians), 1, 0, 0);
        else if (name == QLatin1String("skewY") && count == 1)
            t = QTransform(1, std::tan(v[0] * toRadians), 0, 1, 0, 0);
        else {
            *why = QStringLiteral("the transform \"%1\" cannot be read").arg(text.toString().left(60));
            return std::nullopt;
        }
        // The later transform in the list applies first to the element's points.
        total = t * total;
        at = close + 1;
    }
}

// A length of the root: a number with an optional unit, in CSS pixels; nullopt for none
// or a percentage.
std::optional<double> pixels(QStringView text)
{
    static const std::pair<QLatin1String, double> units[] = {
        {QLatin1String("mm"), 96 / 25.4}, {QLatin1String("cm"), 96 / 2.54}, {QLatin1String("in"), 96},
        {QLatin1String("pt"), 96.0 / 72}, {QLatin1String("pc"), 16},        {QLatin1String("px"), 1}};
    const QStringView t = text.trimmed();
    double factor = 1;
    QStringView number = t;
    for (const auto& [unit, f] : units)
        if (t.endsWith(unit)) {
            factor = f;
            number = t.chopped(unit.size());
        }
    bool ok = false;
    const double value = number.toString().toDouble(&ok);
    return ok && std::isfinite(value) && value > 0 ? std::optional(value * factor) : std::nullopt;
}

} // namespace

bool readPathData(QStringView data, double tolerance, const std::function<QPointF(QPointF)>& map,
                  std::vector<std::pair<std::vector<QPointF>, bool>>& subpaths, QString* why, PointBudget* budget)
{
    Scanner s(data);
    OutlineBuilder path(tolerance, map, budget);
    OutlineBuilder* b = nullptr; // the path while a subpath is open
    QPointF start, lastControl;
    QChar command, previous;
    const auto finish = [&](bool closed) {
        if (b && !b->empty())
            subpaths.emplace_back(b->take(), closed);
        b = nullptr;
    };
    const auto problem = [&](const QString& what) {
        *why = QStringLiteral("the path data \"%1\" cannot be read at character %2: %3")
                   .arg(data.left(40).toString()).arg(s.position() + 1).arg(what);
        return false;
    };
    const auto begin = [&](QPointF p) {
        finish(false);
        b = &path;
        b->moveTo(p);
        start = p;
    };
    while (!s.atEnd()) {
        if (s.peek().isLetter()) {
            command = s.take();
        } else if (command.isNull() || command == QLatin1Char('z') || command == QLatin1Char('Z')) {
            return problem(QStringLiteral("a command letter is expected"));
        }
        const bool relative = command.isLower();
        const char c = char(command.toUpper().toLatin1());
        if (c != 'M' && !b) {
            if (c == 'Z')
                continue;
            // After Z a drawing command starts a new subpath at the subpath's start.
            begin(start);
        }
        const QPointF here = b ? b->current() : start;
        const QPointF origin = relative ? here : QPointF();
        const auto pair = [&]() -> std::optional<QPointF> {
            const std::optional<double> x = s.number();
            const std::optional<double> y = x ? s.number() : std::nullopt;
            return y ? std::optional(QPointF(*x, *y) + origin) : std::nullopt;
        };
        const bool smoothCubic = previous == QLatin1Char('C') || previous == QLatin1Char('S');
        const bool smoothQuad = previous == QLatin1Char('Q') || previous == QLatin1Char('T');
        switch (c) {
        case 'M': {
            const std::optional<QPointF> p = pair();
            if (!p)
                return problem(QStringLiteral("M needs x and y"));
            begin(*p);
            command = relative ? QLatin1Char('l') : QLatin1Char('L');
            previous = QLatin1Char('M');
            continue;
        }
        case 'Z':
            b->lineTo(start);
            finish(true);
            previous = QLatin1Char('Z');
            continue;
        case 'L': {
            const std::optional<QPointF> p = pair();
            if (!p)
                return problem(QStringLiteral("L needs x and y"));
            b->lineTo(*p);
            break;
        }
        case 'H': case 'V': {
            const std::optional<double> n = s.number();
            if (!n)
                return problem(QStringLiteral("%1 needs a number").arg(QChar(QLatin1Char(c))));
            b->lineTo(c == 'H' ? QPointF(*n + origin.x(), here.y()) : QPointF(here.x(), *n + origin.y()));
            break;
        }
        case 'C': case 'S': {
            const std::optional<QPointF> c1 = c == 'C' ? pair() : std::optional(smoothCubic ? 2 * here - lastControl : here);
            const std::optional<QPointF> c2 = c1 ? pair() : std::nullopt;
            const std::optional<QPointF> end = c2 ? pair() : std::nullopt;
            if (!end)
                return problem(QStringLiteral("%1 needs %2 pairs of numbers").arg(QChar(QLatin1Char(c))).arg(c == 'C' ? 3 : 2));
            b->cubicTo(*c1, *c2, *end);
            lastControl = *c2;
            break;
        }
        case 'Q': case 'T': {
            const std::optional<QPointF> c1 = c == 'Q' ? pair() : std::optional(smoothQuad ? 2 * here - lastControl : here);
            const std::optional<QPointF> end = c1 ? pair() : std::nullopt;
            if (!end)
                return problem(QStringLiteral("%1 needs %2 pairs of numbers").arg(QChar(QLatin1Char(c))).arg(c == 'Q' ? 2 : 1));
            b->quadTo(*c1, *end);
            lastControl = *c1;
            break;
        }
        case 'A': {
            const std::optional<double> rx = s.number(), ry = rx ? s.number() : std::nullopt, angle = ry ? s.number() : std::nullopt;
            const std::optional<bool> large = angle ? s.flag() : std::nullopt, sweep = large ? s.flag() : std::nullopt;
            const std::optional<QPointF> end = sweep ? pair() : std::nullopt;
            if (!end)
                return problem(QStringLiteral("A needs rx, ry, a rotation, two flags (0 or 1) and x and y"));
            arcTo(*b, *rx, *ry, *angle, *large, *sweep, *end);
            break;
        }
        default:
            return problem(QStringLiteral("\"%1\" is no path command").arg(command));
        }
        previous = QChar(QLatin1Char(c));
    }
    finish(false);
    return true;
}

DrawingOutlines readSvgOutlines(const QByteArray& bytes, double tolerance)
{
    QXmlStreamReader xml(bytes);
    std::vector<OutlineCandidate> out;
    std::vector<QTransform> groups; // the accumulated transform of each open element
    int hidden = 0;                 // depth inside elements whose content is not drawn
    bool rootSeen = false;
    PointBudget budget;
    std::map<QString, int> kindCounts;
    const auto refused = [&](const QString& why) { return QStringLiteral("is not an SVG drawing: line %1: %2").arg(xml.lineNumber()).arg(why); };
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            groups.pop_back();
            if (hidden > 0)
                --hidden;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QStringView name = xml.name();
        const QXmlStreamAttributes a = xml.attributes();
        if (!rootSeen) {
            if (name != QLatin1String("svg"))
                return refused(QStringLiteral("the root element is <%1>, not <svg>").arg(name));
            rootSeen = true;
            // The root's viewport in pixels, and its viewBox fitted in (xMidYMid meet).
            QTransform root;
            const std::optional<double> width = pixels(a.value(QLatin1String("width"))), height = pixels(a.value(QLatin1String("height")));
            Scanner box(a.value(QLatin1String("viewBox")));
            std::vector<double> v;
            while (!box.atEnd()) {
                const std::optional<double> n = box.number();
                if (!n)
                    return refused(QStringLiteral("the viewBox \"%1\" is not four numbers").arg(a.value(QLatin1String("viewBox"))));
                v.push_back(*n);
            }
            if (!v.empty() && (v.size() != 4 || v[2] <= 0 || v[3] <= 0))
                return refused(QStringLiteral("the viewBox \"%1\" is not four numbers with a width and height above 0").arg(a.value(QLatin1String("viewBox"))));
            if (v.size() == 4) {
                const double w = width.value_or(height ? *height * v[2] / v[3] : v[2]);
                const double h = height.value_or(width ? *width * v[3] / v[2] : v[3]);
                const double scale = std::min(w / v[2], h / v[3]);
                root = QTransform(1, 0, 0, 1, -v[0], -v[1]) * QTransform::fromScale(scale, scale)
                    * QTransform::fromTranslate((w - v[2] * scale) / 2, (h - v[3] * scale) / 2);
            }
            groups.push_back(root * QTransform::fromScale(TwipsPerPixel, TwipsPerPixel));
            continue;
        }
        QTransform here = groups.back();
        if (a.hasAttribute(QLatin1String("transform"))) {
            QString why;
            const std::optional<QTransform> t = readTransform(a.value(QLatin1String("transform")), &why);
            if (!t)
                return refused(why);
            here = *t * here;
        }
        groups.push_back(here);
        static const QStringList notDrawn{QStringLiteral("defs"), QStringLiteral("symbol"), QStringLiteral("clipPath"), QStringLiteral("mask"),
                                          QStringLiteral("marker"), QStringLiteral("pattern"), QStringLiteral("metadata"), QStringLiteral("title"),
                                          QStringLiteral("desc"), QStringLiteral("style")};
        if (hidden > 0 || notDrawn.contains(name)) {
            ++hidden;
            continue;
        }
        const auto map = [here](QPointF p) { return here.map(p); };
        OutlineCandidate c;
        c.kind = name.toString();
        c.id = a.value(QLatin1String("id")).toString();
        // An element without an id is named by its kind and number among those: "rect#2".
        const int numberOfKind = ++kindCounts[c.kind];
        if (c.id.isEmpty())
            c.id = QStringLiteral("%1#%2").arg(c.kind).arg(numberOfKind);
        const auto number = [&](QLatin1String attribute, double fallback) -> std::optional<double> {
            if (!a.hasAttribute(attribute))
                return fallback;
            Scanner n(a.value(attribute));
            std::optional<double> v = n.number();
            if (n.peek() == QLatin1Char('p') || n.peek() == QLatin1Char('x'))
                return v; // "px" after the number
            return v && n.atEnd() ? v : std::nullopt;
        };
        QString badName;
        const auto need = [&](QLatin1String attribute, double fallback) {
            const std::optional<double> v = number(attribute, fallback);
            if (!v && badName.isEmpty())
                badName = attribute;
            return v.value_or(0);
        };
        if (name == QLatin1String("path")) {
            std::vector<std::pair<std::vector<QPointF>, bool>> subpaths;
            QString why;
            if (!readPathData(a.value(QLatin1String("d")), tolerance, map, subpaths, &why, &budget))
                return refused(why);
            for (std::size_t i = 0; i < subpaths.size(); ++i) {
                OutlineCandidate sub = c;
                sub.subpath = int(i) + 1;
                sub.points = std::move(subpaths[i].first);
                sub.closed = subpaths[i].second;
                out.push_back(std::move(sub));
            }
            continue;
        }
        OutlineBuilder b(tolerance, map, &budget);
        if (name == QLatin1String("rect")) {
            const double x = need(QLatin1String("x"), 0), y = need(QLatin1String("y"), 0);
            const double w = need(QLatin1String("width"), 0), h = need(QLatin1String("height"), 0);
            double rx = need(QLatin1String("rx"), -1), ry = need(QLatin1String("ry"), -1);
            if (rx < 0)
                rx = std::max(ry, 0.0);
            if (ry < 0)
                ry = rx;
            rx = std::min(rx, w / 2);
            ry = std::min(ry, h / 2);
            if (w <= 0 || h <= 0)
                continue;
            b.moveTo({x + rx, y});
            b.lineTo({x + w - rx, y});
            arcTo(b, rx, ry, 0, false, true, {x + w, y + ry});
            b.lineTo({x + w, y + h - ry});
            arcTo(b, rx, ry, 0, false, true, {x + w - rx, y + h});
            b.lineTo({x + rx, y + h});
            arcTo(b, rx, ry, 0, false, true, {x, y + h - ry});
            b.lineTo({x, y + ry});
            arcTo(b, rx, ry, 0, false, true, {x + rx, y});
            c.closed = true;
        } else if (name == QLatin1String("circle") || name == QLatin1String("ellipse")) {
            const double cx = need(QLatin1String("cx"), 0), cy = need(QLatin1String("cy"), 0);
            const bool circle = name == QLatin1String("circle");
            const double rx = need(circle ? QLatin1String("r") : QLatin1String("rx"), 0);
            const double ry = circle ? rx : need(QLatin1String("ry"), 0);
            if (rx <= 0 || ry <= 0)
                continue;
            const auto f = [=](double t) { return QPointF(cx + rx * std::cos(t), cy + ry * std::sin(t)); };
            b.moveTo(f(0));
            b.curve(f, 0, std::numbers::pi);
            b.curve(f, std::numbers::pi, 2 * std::numbers::pi);
            c.closed = true;
        } else if (name == QLatin1String("polygon") || name == QLatin1String("polyline") || name == QLatin1String("line")) {
            std::vector<double> v;
            if (name == QLatin1String("line")) {
                v = {need(QLatin1String("x1"), 0), need(QLatin1String("y1"), 0), need(QLatin1String("x2"), 0), need(QLatin1String("y2"), 0)};
            } else {
                Scanner list(a.value(QLatin1String("points")));
                while (!list.atEnd()) {
                    const std::optional<double> n = list.number();
                    if (!n)
                        return refused(QStringLiteral("the points of <%1> cannot be read at character %2").arg(name).arg(list.position() + 1));
                    v.push_back(*n);
                }
            }
            for (std::size_t i = 0; i + 1 < v.size(); i += 2)
                i == 0 ? b.moveTo({v[0], v[1]}) : b.lineTo({v[i], v[i + 1]});
            c.closed = name == QLatin1String("polygon");
            if (c.closed && !b.empty())
                b.lineTo({v[0], v[1]});
        } else if (name == QLatin1String("text") || name == QLatin1String("image") || name == QLatin1String("use")
                   || name == QLatin1String("foreignObject")) {
            c.usable = false;
            out.push_back(std::move(c));
            ++hidden; // what a text holds (tspan) is part of it
            continue;
        } else {
            continue;
        }
        if (!badName.isEmpty())
            return refused(QStringLiteral("the %1 of <%2> is not a number").arg(badName, name));
        c.points = b.take();
        if (!c.points.empty())
            out.push_back(std::move(c));
    }
    if (xml.hasError())
        return refused(xml.errorString());
    if (budget.spent())
        return budgetSpentText();
    if (!rootSeen)
        return QStringLiteral("is not an SVG drawing: line 1: no <svg> element");
    return out;
}
