// Point placement, coordinate readout and the front view's pop-up menu.
#include "editing/PointPlacement.h"

#include "app/ObjectRules.h"
#include "platform/Conversions.h"
#include "views/Rendering.h"

namespace {
// Zeros in front up to four characters, in front of any minus sign too ("0-15").
QString padded(const QString& text) { return text.size() >= 4 ? text : QString(4 - text.size(), QLatin1Char('0')) + text; }
} // namespace

QString PositionText(float x, float y)
{
    return QStringLiteral("[") + padded(conv::numberText(x)) + QStringLiteral(" : ") + padded(conv::numberText(y))
        + QStringLiteral("]");
}

void ShowCoordinates(StatusPanels& sbStatus, float x, float y, const QString& viewName)
{
    sbStatus.setText(StatusPanel::ViewName, viewName);
    sbStatus.setText(StatusPanel::Position, PositionText(x, y));
}

// The stored Y is clamped into 16 bits (a drag far outside the view); the readout shows the
// real position.
void picFront_MouseMove(EditingContext& ctx, int, int, float x, float y)
{
    ctx.views.state.ClickX = x;
    ctx.views.state.ClickY = conv::clampToInt16(double(y));
    ShowCoordinates(ctx.views.sbStatus, x, y, QStringLiteral("FRONT VIEW"));
}

// The right button pops up the Draw Polygon menu; the surface raises the click only after
// this returns, so the menu has closed before the point is placed.
void picFront_MouseUp(EditingContext& ctx, int button, int, float x, float y)
{
    if (button == 2 && ctx.popupMenu)
        ctx.popupMenu(x, y);
}

Refusal picFront_Click(EditingContext& ctx)
{
    WorkspaceState& s = ctx.views.state;
    if (!canAddPoint(s))
        return ctx.views.dialogs.refuse(QStringLiteral("The object holds the most points it can (%1); no point was added.").arg(MostPoints));
    const std::optional<double> clickX = s.ClickX.toNumber();
    const std::optional<std::int32_t> x = clickX ? conv::toInt32(*clickX) : std::nullopt;
    if (!x)
        return ctx.views.dialogs.refuse(QStringLiteral("No point was added: its X (%1) is not a number from %2.")
                                            .arg(conv::excerpt(s.ClickX.toText()), conv::int32RangeText()));

    Refusal refused;
    if (s.PointObjectMode && s.PointCount == s.DeclaredPointCount)
        refused = DrawObject2D(ctx.views);
    ctx.views.picFront.Circle(float(*clickX), float(s.ClickY), float(s.PointRadius), MarkRed);
    s.pPoints.resize(std::size_t(s.PointCount) + 1);
    s.pPoints[std::size_t(s.PointCount)] = PointRecord{*x, s.ClickY};
    ++s.PointCount;
    return refused;
}

void picTop_MouseMove(EditingContext& ctx, int, int, float x, float y)
{
    ShowCoordinates(ctx.views.sbStatus, x, y, QStringLiteral("TOP VIEW"));
}

void pic3dView_MouseMove(EditingContext& ctx, int, int, float x, float y)
{
    ShowCoordinates(ctx.views.sbStatus, x, y, QStringLiteral("3D VIEW"));
}

void picContainer_MouseMove(EditingContext& ctx, int, int, float, float)
{
    ctx.views.sbStatus.setText(StatusPanel::ViewName, QStringLiteral("None"));
    ctx.views.sbStatus.setText(StatusPanel::Position, QStringLiteral("[0000:0000]"));
}
