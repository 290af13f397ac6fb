// The command interpreter: splits a typed line, checks its arguments and runs the command.
#include "commands/CommandInterpreter.h"

#include "app/ObjectRules.h"
#include "editing/PointPlacement.h"
#include "platform/Conversions.h"
#include "views/Rendering.h"

#include <cstdint>
#include <optional>

namespace {

const QString LineBreak = QStringLiteral("\r\n");

// What each command expects, told to the user with every refusal.
const QString PutPointForm = QStringLiteral(
    "PutPoint needs an X and a Y coordinate after it, separated by a comma without spaces, "
    "for example PutPoint 1300,1400.");
const QString ResetPointForm = QStringLiteral(
    "ResetPoint needs a point number, an X and a Y coordinate after it, separated by commas "
    "without spaces, for example ResetPoint 1,500,600.");
const QString ObjectDepthForm = QStringLiteral(
    "ObjectDepth needs a depth after it, separated by a single space, for example ObjectDepth 1000.");
const QString GetPointCoordsForm = QStringLiteral(
    "GetPointCoords needs a point number after it, for example GetPointCoords 1.");

enum class Width { Int16, Int32 };

// One typed item read as a whole number: the value, or what is wrong with it in a sentence
// for the user.
struct Item {
    enum class Fault { None, Missing, NotANumber, OutOfRange, NoSuchPoint };
    std::optional<std::int32_t> value;
    Fault fault = Fault::None;
    QString problem;
};

// Reads items[index] (absent or empty counts as missing) rounded half to even into `width`.
Item readNumber(const QStringList& items, qsizetype index, const QString& name, Width width)
{
    using Fault = Item::Fault;
    const QString text = index < items.size() ? items[index] : QString();
    if (text.isEmpty())
        return {std::nullopt, Fault::Missing, QStringLiteral("The %1 is missing.").arg(name)};
    const std::optional<double> number = conv::parseNumber(text);
    if (!number)
        return {std::nullopt, Fault::NotANumber, QStringLiteral("The %1 \"%2\" is not a number.").arg(name, conv::excerpt(text))};
    std::optional<std::int32_t> value;
    QString range;
    if (width == Width::Int16) {
        if (const auto narrow = conv::toInt16(*number))
            value = *narrow;
        range = conv::int16RangeText(u" and ");
    } else {
        value = conv::toInt32(*number);
        range = conv::int32RangeText(u" and ");
    }
    if (!value)
        return {std::nullopt, Fault::OutOfRange,
                QStringLiteral("The %1 %2 is out of range: it must lie between %3.").arg(name, conv::excerpt(text), range)};
    return {value, Fault::None, {}};
}

// Reads items[index] as the number of a point that pPoints holds.
Item readPointNumber(const QStringList& items, qsizetype index, const std::vector<PointRecord>& points)
{
    using Fault = Item::Fault;
    Item item = readNumber(items, index, QStringLiteral("point number"), Width::Int32);
    if (item.fault == Fault::Missing || item.fault == Fault::NotANumber)
        return item;
    if (item.value && *item.value >= 0 && std::size_t(*item.value) < points.size())
        return item;
    const QString numbers = points.size() == 1 ? QStringLiteral("the only point is number 0")
                                               : QStringLiteral("the points are numbered 0 to %1").arg(points.size() - 1);
    return {std::nullopt, Fault::NoSuchPoint, QStringLiteral("There is no point %1; %2.").arg(conv::excerpt(items[index]), numbers)};
}

// Tells the user why a line was refused. Nothing has been written when this is called.
CommandResult refuse(CommandContext& ctx, const QString& form, const QString& problem)
{
    return {std::nullopt, ctx.editing.views.dialogs.refuse(form + LineBreak + problem, CommandBoxTitle)};
}

// A command that ran, with whatever its drawing refused.
CommandResult ran(Refusal refused) { return {std::nullopt, std::move(refused)}; }

// The first unusable item of a command, if any.
const Item* firstProblem(std::initializer_list<const Item*> items)
{
    for (const Item* item : items)
        if (!item->value)
            return item;
    return nullptr;
}

// PutPoint X,Y: the typed X (kept as text) and Y become the mouse position, then the
// front view's click places the point exactly as a mouse click would.
CommandResult putPoint(CommandContext& ctx, const QStringList& sCom)
{
    const Item x = readNumber(sCom, 0, QStringLiteral("X coordinate"), Width::Int32);
    const Item y = readNumber(sCom, 1, QStringLiteral("Y coordinate"), Width::Int16);
    if (const Item* bad = firstProblem({&x, &y}))
        return refuse(ctx, PutPointForm, bad->problem);
    WorkspaceState& state = ctx.editing.views.state;
    if (!canAddPoint(state))
        return ran(ctx.editing.views.dialogs.refuse(
            QStringLiteral("PutPoint cannot add a point: the object holds the most points it can (%1).").arg(MostPoints),
            CommandBoxTitle));
    state.ClickX = TaggedValue(sCom[0]);
    state.ClickY = std::int16_t(*y.value);
    return ran(picFront_Click(ctx.editing));
}

// ResetPoint N,X,Y: moves point N with the full 32-bit range, then draws the object flat;
// a point the views cannot show is refused by the drawing, which tells the user why.
CommandResult resetPoint(CommandContext& ctx, const QStringList& sCom)
{
    WorkspaceState& state = ctx.editing.views.state;
    const Item n = readPointNumber(sCom, 0, state.pPoints);
    const Item x = readNumber(sCom, 1, QStringLiteral("X coordinate"), Width::Int32);
    const Item y = readNumber(sCom, 2, QStringLiteral("Y coordinate"), Width::Int32);
    if (const Item* bad = firstProblem({&n, &x, &y}))
        return refuse(ctx, ResetPointForm, bad->problem);
    PointRecord& point = state.pPoints[std::size_t(*n.value)];
    point.X = *x.value;
    point.Y = *y.value;
    return ran(DrawObject2D(ctx.editing.views));
}

// ObjectDepth D: only while the object is shown extruded, the second word becomes the
// depth (as text) and the object is drawn again extruded; otherwise the line is ignored.
// A depth the drawing refuses (it tells the user why) leaves the depth as it was, as the
// Draw 3D menu does.
CommandResult objectDepth(CommandContext& ctx, const QStringList& words)
{
    WorkspaceState& state = ctx.editing.views.state;
    if (state.Dimension != 3)
        return {};
    const Item depth = readNumber(words, 1, QStringLiteral("depth"), Width::Int16);
    if (!depth.value)
        return refuse(ctx, ObjectDepthForm, depth.problem);
    const TaggedValue before = state.Depth;
    state.Depth = TaggedValue(words[1]);
    Refusal refused = DrawObject3D(ctx.editing.views);
    if (refused)
        state.Depth = before;
    return ran(std::move(refused));
}

// GetPointCoords N: answers with the coordinates of point N, echoing the number as typed;
// the answer replaces the command text.
CommandResult getPointCoords(CommandContext& ctx, const QStringList& sCom)
{
    const WorkspaceState& state = ctx.editing.views.state;
    const Item n = readPointNumber(sCom, 0, state.pPoints);
    if (!n.value)
        return refuse(ctx, GetPointCoordsForm, n.problem);
    const PointRecord& point = state.pPoints[std::size_t(*n.value)];
    return {QStringLiteral("Point #") + sCom[0] + QStringLiteral("   X:") + QString::number(point.X) + QStringLiteral("  Y:")
                + QString::number(point.Y),
            std::nullopt};
}

} // namespace

CommandResult ExecuteCommand(CommandContext& ctx, const QString& line)
{
    if (line.isEmpty())
        return refuse(ctx, QStringLiteral("The command line is empty."),
                      QStringLiteral("Type a command such as PutPoint 1300,1400, then press the Execute Command button."));
    const QStringList words = line.split(QLatin1Char(' '));
    const QString& commandWord = words.first();
    // On a line of one word the argument word is the command word itself, which holds no
    // arguments; reading it as none gives the clearer message.
    const QStringList sCom = words.size() > 1 ? words.last().split(QLatin1Char(',')) : QStringList();

    Dialogs& dialogs = ctx.editing.views.dialogs;
    if (commandWord == QLatin1String("PutPoint"))
        return putPoint(ctx, sCom);
    if (commandWord == QLatin1String("ResetPoint"))
        return resetPoint(ctx, sCom);
    if (commandWord == QLatin1String("ObjectDepth"))
        return objectDepth(ctx, words);
    if (commandWord == QLatin1String("GetPointCoords"))
        return getPointCoords(ctx, sCom);
    if (commandWord == QLatin1String("ManualSet"))
        return ran(dialogs.refuse(QStringLiteral("Command line argument not currently created.")));
    return ran(dialogs.refuse(QStringLiteral("No such command, Please check spelling and try again.")));
}

CommandResult cmdExecute_Click(CommandContext& ctx, const QString& txtCommand)
{
    return ExecuteCommand(ctx, txtCommand);
}
