// Grid line layout and the grid and background colour menus.
#include "views/GridLayout.h"

#include "platform/Conversions.h"
#include "views/Rendering.h"

#include <algorithm>
#include <array>

namespace {

constexpr int LinesPerArray = GridLines::LinesPerArray;

// GridCount of each item of the Grid Size menu: Small, Medium, Large, Extra Large.
constexpr std::array<std::int16_t, 4> GridCounts{60, 50, 40, 30};

// The six lines of index i, in the order the layout shows or hides them.
void setLinesVisible(GridLines& g, std::size_t i, bool visible)
{
    for (GridLines::Array* lines : {&g.sLine, &g.sLinev, &g.tLine, &g.tLinev, &g.Grid, &g.Gridv})
        (*lines)[i]->setVisible(visible);
}

void placeLine(LineObject* line, ColorRef color, float x1, float y1, float x2, float y2)
{
    line->setBorderColor(color);
    line->setEnds(x1, y1, x2, y2);
}

} // namespace

// Lines 1 to GridCount - 1 end up shown at multiples of the spacing; line GridCount (on or
// near the far edge) and all above it are hidden. GridCount is one of the four grid sizes.
void LayoutGridLines(ViewContext& ctx)
{
    GridLines& g = ctx.grid;
    if (ctx.state.GridState == 0) {
        for (std::size_t i = 1; i <= LinesPerArray; ++i)
            setLinesVisible(g, i, false);
        return;
    }

    const std::optional<std::int16_t> spacing = conv::toInt16(double(ctx.picFront.ScaleHeight()) / ctx.state.GridCount);
    if (!spacing)
        return;
    const int count = std::clamp<int>(ctx.state.GridCount, 1, LinesPerArray);
    const ColorRef color = ctx.cdlColorGrid.Color;
    std::int16_t linePos = *spacing;
    for (std::size_t i = 1; i < std::size_t(count); ++i) {
        g.sLine[i]->setVisible(true);
        g.sLinev[i]->setVisible(true);
        g.Grid[i]->setVisible(true);
        g.Gridv[i]->setVisible(true);
        g.tLine[i]->setVisible(true);
        g.tLinev[i]->setVisible(true);

        const float pos = linePos;
        placeLine(g.Grid[i], color, 0, pos, ctx.picFront.Width(), pos);
        placeLine(g.sLine[i], color, 0, pos, ctx.picSide.Width(), pos);
        placeLine(g.tLine[i], color, 0, pos, ctx.picTop.Width(), pos);
        placeLine(g.Gridv[i], color, pos, 0, pos, ctx.picFront.Height());
        placeLine(g.sLinev[i], color, pos, 0, pos, ctx.picSide.Height());
        placeLine(g.tLinev[i], color, pos, 0, pos, ctx.picTop.Height());

        linePos = conv::clampToInt16(double(linePos) + *spacing);
    }
    for (std::size_t i = std::size_t(count); i <= LinesPerArray; ++i)
        setLinesVisible(g, i, false);
}

// index: 0 Small to 3 Extra Large. Leaves the views empty until the next drawing.
void mnuGridsize_Click(ViewContext& ctx, int index)
{
    if (index < 0 || index >= int(GridCounts.size()))
        return;
    ctx.state.GridCount = GridCounts[std::size_t(index)];
    ClearViews(ctx, Placement::clamped(ctx));
    LayoutGridLines(ctx);
}

void mnuLneOn_Click(ViewContext& ctx)
{
    ctx.state.GridState = 1;
    LayoutGridLines(ctx);
}

void mnuLneOff_Click(ViewContext& ctx)
{
    ctx.state.GridState = 0;
    LayoutGridLines(ctx);
}

// A cancelled dialog keeps the colour and the rest runs as usual. A refused redraw (the
// drawing has told the user) ends the command there.
void mnuGrdColor_Click(ViewContext& ctx)
{
    ctx.cdlColorGrid.ShowColor();
    if (RedrawCurrent(ctx))
        return;
    LayoutGridLines(ctx);
}

// The three orthographic views take the dialog's colour, which erases their drawing; the
// 3D view keeps its background. A cancelled dialog still applies the colour it kept.
void mnuBgColor_Click(ViewContext& ctx)
{
    ctx.cdlGridBg.ShowColor();
    const ColorRef back = ctx.cdlGridBg.Color;
    ctx.picFront.setBackColor(back);
    ctx.picSide.setBackColor(back);
    ctx.picTop.setBackColor(back);
    RedrawCurrent(ctx);
}
