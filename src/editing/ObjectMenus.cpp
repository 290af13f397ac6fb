// The object menus: Point Object, Point Radius, Line Width, Drawing Style and Clear.
#include "editing/ObjectMenus.h"

#include "platform/Conversions.h"

#include <limits>
#include <optional>

namespace {

// What an input box answer must be: a number that rounds (half to even) to a whole number
// from `min` to 32767. The user is told "The <what> must be a whole number from ...".
struct NumberRule {
    std::int16_t min;
    QString what;
};

// Asks with an input box. Gives the rounded number, or nothing when the answer cannot be
// used: Cancel (empty text) silently, anything else after a message saying what is expected.
std::optional<std::int16_t> askNumber(EditingContext& ctx, const QString& prompt, const QString& title,
                                      const NumberRule& rule)
{
    const QString answer = ctx.views.dialogs.inputBox(prompt, title);
    if (answer.isEmpty())
        return std::nullopt;
    const std::optional<std::int16_t> value = conv::wholeNumberFrom(answer, rule.min);
    if (!value) {
        ctx.views.dialogs.MsgBox(QStringLiteral("The %1 must be %2.").arg(rule.what, conv::wholeNumberText(rule.min)));
        return std::nullopt;
    }
    return value;
}

} // namespace

// Point-object mode goes on before the box is shown and stays on whatever the answer. Any
// 16-bit count is kept; a negative one is never reached, so no click then draws the object.
void mnuPointobj_Click(EditingContext& ctx)
{
    ctx.views.state.PointObjectMode = true;
    const NumberRule rule{std::numeric_limits<std::int16_t>::min(), QStringLiteral("number of points")};
    if (const auto count = askNumber(ctx, QStringLiteral("Enter Number of Points"), QStringLiteral("Define the Points"), rule))
        ctx.views.state.DeclaredPointCount = *count;
}

// A radius of 0 marks each point with a single dot.
void mnuRadius_Click(EditingContext& ctx)
{
    const NumberRule rule{0, QStringLiteral("radius")};
    if (const auto radius = askNumber(ctx, QStringLiteral("Please Enter New Radius"), QStringLiteral("Radius Configuration"), rule))
        ctx.views.state.PointRadius = *radius;
}

// The pen width of the 3D view only. The prompt advises 1 to 5; any width from 1 up is used.
void mnuWidth_Click(EditingContext& ctx)
{
    const NumberRule rule{1, QStringLiteral("line width")};
    if (const auto width = askNumber(ctx, QStringLiteral("Enter in a Value from 1 to 5"), QStringLiteral("Drawing Line Width"), rule))
        ctx.views.pic3dView.setDrawWidth(*width);
}

// Only the check mark moves: the chosen item ends checked and the other three unchecked,
// whatever the trigger itself toggled.
void mnuStyle_Click(EditingContext& ctx, int index)
{
    for (std::size_t i = 0; i < ctx.mnuStyle.size(); ++i)
        ctx.mnuStyle[i].Checked = int(i) == index;
}

// Back to the start state of the point list, and the four views wiped to their background
// colours; nothing else changes and the grid lines stay.
void mnuClear_Click(EditingContext& ctx)
{
    WorkspaceState& s = ctx.views.state;
    s.pPoints.assign(1, PointRecord{});
    s.PointCount = 0;
    ctx.views.picFront.Cls();
    ctx.views.picSide.Cls();
    ctx.views.picTop.Cls();
    ctx.views.pic3dView.Cls();
}
