// Describing the values of object and workspace files.
#include "export/FileInfo.h"

#include "export/Mesh.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString typeName(ValueKind kind)
{
    switch (kind) {
    case ValueKind::Empty: return QStringLiteral("empty");
    case ValueKind::UInt8: return QStringLiteral("u8");
    case ValueKind::Int16: return QStringLiteral("i16");
    case ValueKind::Int32: return QStringLiteral("i32");
    case ValueKind::Single: return QStringLiteral("f32");
    case ValueKind::Double: return QStringLiteral("f64");
    case ValueKind::Text: return QStringLiteral("text");
    }
    return {};
}

QString dimensionText(std::int16_t dimension)
{
    if (dimension == 2)
        return QStringLiteral("2 (drawn flat)");
    if (dimension == 3)
        return QStringLiteral("3 (drawn extruded)");
    return QString::number(dimension);
}

QString gridText(std::uint8_t state)
{
    return QStringLiteral("%1 (grid lines %2)").arg(state).arg(state == 0 ? QStringLiteral("hidden") : QStringLiteral("shown"));
}

} // namespace

namespace {

bool isControl(char16_t u) { return u < 0x20 || (u >= 0x7F && u < 0xA0); }

// The characters that make a terminal or viewer show the text around them in another order.
bool isReordering(char16_t u)
{
    return u == 0x061C || u == 0x200E || u == 0x200F || (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069);
}

QString unicodeEscape(char16_t u) { return QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0')); }

} // namespace

QString shownPlainly(const QString& text)
{
    QString shown;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (isControl(u))
            shown += QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
        else if (isReordering(u))
            shown += unicodeEscape(u);
        else
            shown += c;
    }
    return shown;
}

namespace {

QString depthText(const TaggedValue& depth)
{
    const std::optional<std::int16_t> drawn = depthInTwips(depth);
    const QString stored = depth.isEmpty() ? QStringLiteral("empty")
        : depth.isText()                   ? QStringLiteral("\"%1\" (text)").arg(shownPlainly(depth.toText()))
                                           : QStringLiteral("%1 (%2)").arg(depth.toText(), typeName(depth.kind()));
    return stored + (drawn ? QStringLiteral(", drawn extruded %1 twips deep").arg(*drawn)
                           : QStringLiteral(", which the extruded drawing refuses"));
}

QJsonValue depthJson(const TaggedValue& depth)
{
    if (depth.isEmpty())
        return QJsonValue::Null;
    if (depth.isText())
        return depth.toText();
    return *depth.toNumber();
}

} // namespace

QString colourText(ColorRef colour) { return toQColor(colour).name(); }

QByteArray describeText(const QString& path, const InputFile& file)
{
    QString text = QStringLiteral("File: %1\n").arg(shownPlainly(path));
    if (file.kind == InputFile::Kind::Nothing)
        return (text + QStringLiteral("Kind: empty (it holds nothing to open)\n")).toUtf8();
    if (file.kind == InputFile::Kind::Workspace) {
        const WorkspaceFileValues& w = file.workspace;
        text += QStringLiteral("Kind: workspace\n"
                               "Object line colour: %1\nGrid line colour: %2\nBackground colour: %3\n3D object colour: %4\n"
                               "Point radius: %5 twips\nGrid: %6\n")
                    .arg(colourText(w.LinesC), colourText(w.GridLinesC), colourText(w.GridBGC), colourText(w.ObjColor))
                    .arg(w.Radius)
                    .arg(gridText(w.GridState));
        return text.toUtf8();
    }
    const ObjectFileValues& o = file.object;
    text += QStringLiteral("Kind: object\nPoints: %1\nDepth: %2\nDimension: %3\nGrid: %4\n")
                .arg(o.PointCount)
                .arg(depthText(o.Depth), dimensionText(o.Dimension), gridText(o.GridState));
    for (int i = 0; i < o.PointCount; ++i)
        text += QStringLiteral("  Point%1: %2, %3\n").arg(i).arg(o.points[std::size_t(i)].X).arg(o.points[std::size_t(i)].Y);
    return text.toUtf8();
}

QByteArray describeJson(const QString& path, const InputFile& file)
{
    QJsonObject json{{QStringLiteral("file"), path}};
    if (file.kind == InputFile::Kind::Nothing) {
        json[QStringLiteral("kind")] = QStringLiteral("empty");
    } else if (file.kind == InputFile::Kind::Workspace) {
        const WorkspaceFileValues& w = file.workspace;
        json[QStringLiteral("kind")] = QStringLiteral("workspace");
        json[QStringLiteral("LinesC")] = colourText(w.LinesC);
        json[QStringLiteral("GridLinesC")] = colourText(w.GridLinesC);
        json[QStringLiteral("GridBGC")] = colourText(w.GridBGC);
        json[QStringLiteral("ObjColor")] = colourText(w.ObjColor);
        json[QStringLiteral("Radius")] = w.Radius;
        json[QStringLiteral("GridState")] = w.GridState;
    } else {
        const ObjectFileValues& o = file.object;
        json[QStringLiteral("kind")] = QStringLiteral("object");
        json[QStringLiteral("Points")] = o.PointCount;
        json[QStringLiteral("Dimension")] = o.Dimension;
        json[QStringLiteral("Grid")] = o.GridState;
        json[QStringLiteral("Depth")] = depthJson(o.Depth);
        json[QStringLiteral("DepthType")] = typeName(o.Depth.kind());
        const std::optional<std::int16_t> drawn = depthInTwips(o.Depth);
        json[QStringLiteral("DrawnDepth")] = drawn ? QJsonValue(*drawn) : QJsonValue::Null;
        QJsonArray points;
        for (int i = 0; i < o.PointCount; ++i)
            points.append(QJsonArray{o.points[std::size_t(i)].X, o.points[std::size_t(i)].Y});
        json[QStringLiteral("points")] = points;
    }
    // The writer escapes C0 controls only; such characters can stand only inside strings,
    // where JSON's \uHHHH form means the same character.
    QString shown;
    for (const QChar c : QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Compact)))
        shown += isControl(c.unicode()) || isReordering(c.unicode()) ? unicodeEscape(c.unicode()) : QString(c);
    return shown.toUtf8() + '\n';
}
