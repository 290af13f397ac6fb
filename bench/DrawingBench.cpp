// The full extruded drawing on a session, down to the pixels of all four views, for a
// densely sampled ring and for points scattered over the front view; beside each, the same
// primitives drawn with one painter call each into fresh pictures (the baseline), and by the
// fast rasteriser alone (what the drawing costs beyond turning primitives into pixels).
#include "BenchSupport.h"
#include "views/Rendering.h"

#include <benchmark/benchmark.h>
#include <array>
#include <cmath>
#include <random>

namespace {
enum class Shape { Ring, Scattered };

constexpr int LargestObject = 32767;
constexpr std::array Sizes{50, 1000, LargestObject};

std::vector<PointRecord> makePoints(Shape shape, int count, float width, float height)
{
    std::vector<PointRecord> points;
    points.reserve(std::size_t(count));
    if (shape == Shape::Ring) {
        points = ringPoints(count, width, height);
    } else {
        std::mt19937 random(7);
        std::uniform_int_distribution<int> x(0, int(width) - 1), y(0, int(height) - 1);
        for (int i = 0; i < count; ++i)
            points.push_back({x(random), y(random)});
    }
    return points;
}

const char* shapeName(Shape shape) { return shape == Shape::Ring ? "ring" : "scattered"; }

std::unique_ptr<BenchSession>& sharedSession()
{
    static std::unique_ptr<BenchSession> session;
    return session;
}

// The session every drawing benchmark draws in, holding the object of the shape.
Session& sessionWith(Shape shape, int count)
{
    auto& shared = sharedSession();
    if (!shared)
        shared = std::make_unique<BenchSession>();
    Session& w = shared->s();
    w.state.pPoints = makePoints(shape, count, w.picFront.ScaleWidth(), w.picFront.ScaleHeight());
    w.state.PointCount = std::int16_t(count);
    w.state.Depth = TaggedValue();
    w.state.DrawMode = 1;
    return w;
}

std::array<ViewSurface*, 4> viewsOf(Session& w) { return {&w.picFront, &w.picSide, &w.picTop, &w.pic3dView}; }

std::size_t primitiveCount(Session& w)
{
    std::size_t count = 0;
    for (ViewSurface* view : viewsOf(w))
        count += view->primitives().size();
    return count;
}

void drawObject3D(benchmark::State& state, Shape shape, int count)
{
    Session& w = sessionWith(shape, count);
    Refusal refused;
    for (auto _ : state) {
        refused = DrawObject3D(w.views);
        w.drawWaitingPictures();
        for (ViewSurface* view : viewsOf(w))
            benchmark::DoNotOptimize(view->picture().constBits());
    }
    if (refused)
        state.SkipWithError(("the drawing was refused: " + refused->toStdString()).c_str());
    state.counters["primitives"] = double(primitiveCount(w));
}

// The primitives of one drawing of the object, copied from the four views, drawn into fresh
// pictures of the views' sizes and colours by `draw`.
void redrawPrimitives(benchmark::State& state, Shape shape, int count, void (*draw)(QImage&, std::span<const Primitive>))
{
    Session& w = sessionWith(shape, count);
    DrawObject3D(w.views);
    struct View {
        std::vector<Primitive> primitives;
        QSize size;
        QColor back;
    };
    std::vector<View> views;
    for (ViewSurface* view : viewsOf(w))
        views.push_back({view->primitives(), view->picture().size(), toQColor(view->BackColor())});
    for (auto _ : state) {
        for (const View& view : views) {
            QImage picture(view.size, QImage::Format_RGB32);
            picture.fill(view.back);
            draw(picture, view.primitives);
            benchmark::DoNotOptimize(picture.constBits());
        }
    }
    state.counters["primitives"] = double(primitiveCount(w));
}

void painterBaseline(benchmark::State& state, Shape shape, int count) { redrawPrimitives(state, shape, count, rasterizeWithPainter); }
void rasterizerAlone(benchmark::State& state, Shape shape, int count) { redrawPrimitives(state, shape, count, rasterize); }
} // namespace

void registerDrawingBenchmarks()
{
    for (const Shape shape : {Shape::Ring, Shape::Scattered}) {
        for (const int count : Sizes) {
            const std::string suffix = std::string("/") + shapeName(shape) + "/" + std::to_string(count);
            benchmark::RegisterBenchmark(("DrawObject3D" + suffix).c_str(), drawObject3D, shape, count)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("PainterBaseline" + suffix).c_str(), painterBaseline, shape, count)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("RasterizeAlone" + suffix).c_str(), rasterizerAlone, shape, count)
                ->Unit(benchmark::kMillisecond);
            if (count == 50)
                addGoal("DrawObject3D" + suffix, {}, 0.3e-3);
        }
        // The scattered points within one frame at 60 Hz; the ring, bound by the work per primitive, in 8 ms.
        addGoal("DrawObject3D/" + std::string(shapeName(shape)) + "/" + std::to_string(LargestObject), {},
                shape == Shape::Ring ? 8e-3 : 16.7e-3);
    }
}

void releaseDrawingBenchmarks() { sharedSession().reset(); }
