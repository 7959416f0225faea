// The model view on a model of about 2,000 nodes made in code (a relief of 100 points, two layers of the
// host, 130 bodies of 12 to 16 nodes): the shapes rebuilt plus a full repaint at 1200 x 600, a repaint
// alone, the hit tests at a cursor through the chart's pixel scales, and the editing: one mouse move to a
// repainted back buffer (a drag in modes 5 and 10, a hover in modes 4, 7 and 8) and the right press that
// places a dragged body of 500 nodes (mode 10). Prints the best times and the processor; targets: a repaint
// under 16 ms, a rebuild with repaint under 50 ms, each hit test under 1 ms, each move under 16 ms.
#include "bench/bench_common.h"

#include "chart/control/LumEngineStyleStrings.h"
#include "core/PolygonsCreate.h"
#include "core/PolygonsPick.h"
#include "core/PolygonsTopology.h"
#include "platform/controls/QtApplication.h"
#include "platform/graphics/Bitmap.h"
#include "views/PolygonChart.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace {

constexpr int Width = 1200, Height = 600;
constexpr double XMax = 2000, ZMax = 1000;

// A layer of the host from the left side at depth z to the right side, waving through 28 points; the
// side nodes are inserted on the host's side edges a-b (left) and c-d (right); it takes the properties row.
// Returns the new side nodes.
std::pair<int, int> AddLayer(TPolygonModel& m, int a, int b, int c, int d, double z, const PolygonProperties& row)
{
    if (!InsertNodeOnEdge(a, b, 0, 1, 1, m.Nodes, m.Bodies, {0, z})) throw std::runtime_error("left side");
    const int left = m.Nodes.High();
    if (!InsertNodeOnEdge(c, d, 0, 1, 1, m.Nodes, m.Bodies, {XMax, z})) throw std::runtime_error("right side");
    const int right = m.Nodes.High();
    for (int v : {left, right}) m.Nodes[v].FrameCode = FrameSideCode(v, m.Bodies, m.Nodes, m.ModelBox);
    arofcomplexM line;
    line.push_back({0, z});
    for (int k = 1; k <= 28; ++k) line.push_back({XMax * k / 29, z + 20 * std::sin(k * 0.7)});
    line.push_back({XMax, z});
    if (!AddSubPolygonInFrame(left, right, 0, true, m.Nodes, m.Bodies, line, m.ModelBox, row))
        throw std::runtime_error("layer");
    return {left, right};
}

struct TScene {
    TPolygonChart Chart{nullptr};
    TBitmap Target{Width, Height, pf32bit};

    // With `bigBody`, a body of 500 nodes between the bodies and the layers.
    explicit TScene(bool bigBody = false)
    {
        EnsureQtApplication();
        Chart.SetBounds(0, 0, Width, Height);
        arofcomplexM relief;
        for (int k = 0; k < 100; ++k) relief.push_back({XMax * (k + 0.5) / 100, 30 + 10 * std::sin(k * 0.2)});
        Chart.CreateFrameModel(relief, true, 0, XMax, 0, ZMax);
        TPolygonModel& m = Chart.Model;
        // Two layers below the bodies, each the host's part below its line: the deeper first, then the
        // one above it on the side edges the first left to the host.
        const PolygonProperties& newRow = Chart.NewPolygonProperties;
        const auto [l1, r1] = AddLayer(m, 0, 1, 2, 3, 850, newRow);
        AddLayer(m, 0, l1, r1, 3, 700, newRow);
        // 13 x 10 bodies, rings of 12 to 16 nodes.
        for (int row = 0; row < 10; ++row)
            for (int col = 0; col < 13; ++col) {
                const int corners = 12 + (row + col) % 5;
                const double cx = 75 + 150 * col, cz = 80 + 55 * row;
                arofcomplexM ring;
                for (int k = 0; k < corners; ++k) {
                    const double a = 2 * 3.14159265358979 * k / corners;
                    ring.push_back({cx + 50 * std::cos(a), cz + 22 * std::sin(a)});
                }
                if (!AddPolygon(ring, m.Bodies, m.Nodes, newRow)) throw std::runtime_error("body");
            }
        if (bigBody) {
            arofcomplexM ring;
            for (int k = 0; k < 500; ++k) {
                const double a = 2 * 3.14159265358979 * k / 500;
                ring.push_back({1000 + 900 * std::cos(a), 640 + 25 * std::sin(a)});
            }
            if (!AddPolygon(ring, m.Bodies, m.Nodes, newRow)) throw std::runtime_error("big body");
        }
        // Solid fills so that the repaint fills every shape.
        TChartBrush solid;
        solid.SetStyle(bsSolid);
        const std::string solidText = WriteBrushStyle(solid);
        for (int i = 1; i < m.Bodies.Length(); ++i) {
            PolygonProperties& row = m.Bodies[i][0].properties;
            row[psBrushText] = Variant(solidText);
            row[psFillColor] = Variant(static_cast<std::int32_t>(0x40A0F0 + 0x101 * (i % 64)));
            row[psLabelMode] = Variant(std::int32_t{2});
        }
        Chart.SetModelBox(true, 0, XMax, 0, ZMax);
        Chart.DrawOnCanvas(Target.Canvas(), {0, 0, Width, Height});
    }
};

TScene& Scene()
{
    static TScene scene;
    return scene;
}

TScene& BigBodyScene()
{
    static TScene scene(true);
    return scene;
}

bench::TBestTimes<std::string>& Best()
{
    static bench::TBestTimes<std::string> best;
    return best;
}

template <class F>
void Timed(benchmark::State& state, const char* key, F&& f)
{
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        Best().Record(key, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
}

void BM_Repaint(benchmark::State& state)
{
    TScene& s = Scene();
    Timed(state, "repaint", [&] { s.Chart.DrawOnCanvas(s.Target.Canvas(), {0, 0, Width, Height}); });
}

void BM_RebuildAndRepaint(benchmark::State& state)
{
    TScene& s = Scene();
    Timed(state, "rebuild", [&] {
        s.Chart.RebuildShapes();
        s.Chart.DrawOnCanvas(s.Target.Canvas(), {0, 0, Width, Height});
    });
}

// The cursor at a pixel in the middle of the bodies, turned into model units through the axes.
complexM Cursor()
{
    const TPolygonChart& c = Scene().Chart;
    return {c.BottomAxis().PixelToValue(Width / 2 + 7), c.LeftAxis().PixelToValue(Height / 3 + 5)};
}

void BM_NearestNode(benchmark::State& state)
{
    const TPolygonChart& c = Scene().Chart;
    const complexM p = Cursor();
    Timed(state, "node", [&] { benchmark::DoNotOptimize(NearestNode(p, c.Model.Nodes, c.PixelsPerX, c.PixelsPerZ)); });
}

void BM_NearestEdge(benchmark::State& state)
{
    const TPolygonChart& c = Scene().Chart;
    const complexM p = Cursor();
    Timed(state, "edge", [&] {
        EdgePick pick;
        benchmark::DoNotOptimize(NearestEdge(p, c.Model.Nodes, c.Model.Bodies, c.PixelsPerX, c.PixelsPerZ, pick));
    });
}

void BM_FindSubPolygonAt(benchmark::State& state)
{
    const TPolygonChart& c = Scene().Chart;
    const complexM p = Cursor();
    Timed(state, "sub", [&] { benchmark::DoNotOptimize(FindSubPolygonAt(c.Model.Bodies, p, c.Model.Nodes)); });
}

// ---- Editing ------------------------------------------------------------------------------------------------

// The pixel of a model point.
TPoint PixelOf(const TPolygonChart& c, complexM p) { return {c.BottomAxis().CalcPosValue(p.x), c.LeftAxis().CalcPosValue(p.z)}; }

// A mode set as the tool buttons set it, the mouse at `from`; then each timed step is one move, alternately
// to `to` and back, handled by the chart and drawn into the back buffer.
void MouseMoves(benchmark::State& state, const char* key, int mode, complexM from, complexM to, bool drag)
{
    TScene& s = Scene();
    TPolygonChart& c = s.Chart;
    c.EditMode = mode;
    c.ResetPendingEdit(mode);
    const TPoint a = PixelOf(c, from), b = PixelOf(c, to);
    c.ChartMouseMove(&c, {}, a.x, a.y);
    if (drag) c.ChartMouseDown(&c, mbLeft, {}, a.x, a.y);
    // What each move works on: the drag, the node, the edge or the shape under the cursor.
    if ((drag && !c.EditPending) || (!drag && c.PickA == -1 && c.HighlightShape == -1))
        throw std::runtime_error(std::string(key) + ": nothing picked");
    bool there = false;
    Timed(state, key, [&] {
        there = !there;
        const TPoint p = there ? b : a;
        c.ChartMouseMove(&c, {}, p.x, p.y);
        c.DrawOnCanvas(s.Target.Canvas(), {0, 0, Width, Height});
    });
    // Back to the model as it was.
    c.ResetPendingEdit(emNone);
    c.EditMode = emNone;
}

// The first body's first node (its ring's rightmost point, (125, 80)), an edge of it, and its inside.
constexpr complexM NodeOfBody{125, 80}, BesideNode{127, 81}, OnEdge{121.65, 85.5}, NearEdge{122, 86},
    InsideBody{75, 80}, InsideToo{80, 84};

void BM_MoveDragNode(benchmark::State& state) { MouseMoves(state, "drag5", emMoveNode, NodeOfBody, BesideNode, true); }
void BM_MoveDragBody(benchmark::State& state)
{
    MouseMoves(state, "drag10", emMovePolygon, InsideBody, InsideToo, true);
}
void BM_MoveHoverDeleteNode(benchmark::State& state)
{
    MouseMoves(state, "hover4", emDeleteNode, NodeOfBody, BesideNode, false);
}
void BM_MoveHoverAddNode(benchmark::State& state) { MouseMoves(state, "hover7", emAddNode, OnEdge, NearEdge, false); }
void BM_MoveHoverSubPolygon(benchmark::State& state)
{
    MouseMoves(state, "hover8", emDeleteSubPolygon, InsideBody, {225, 80}, false);
}

// The body of 500 nodes dragged a little, then placed by the right press (the move check, the snapshot,
// the end of the edit); the next drag goes the other way.
void BM_PlaceBigBody(benchmark::State& state)
{
    TScene& s = BigBodyScene();
    TPolygonChart& c = s.Chart;
    c.EditMode = emMovePolygon;
    c.ResetPendingEdit(emMovePolygon);
    const TPoint at = PixelOf(c, {1000, 640});
    int dx = 3;
    for (auto _ : state) {
        state.PauseTiming();
        c.ChartMouseMove(&c, {}, at.x, at.y);
        c.ChartMouseDown(&c, mbLeft, {}, at.x, at.y);
        c.ChartMouseMove(&c, {}, at.x + dx, at.y);
        dx = -dx;
        if (!c.EditPending) throw std::runtime_error("no drag");
        state.ResumeTiming();
        const auto t0 = std::chrono::steady_clock::now();
        c.ChartMouseDown(&c, mbRight, {}, at.x + dx, at.y);
        Best().Record("press10", std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
        if (c.EditPending) throw std::runtime_error("the body was not placed");
    }
}

BENCHMARK(BM_Repaint)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_RebuildAndRepaint)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_NearestNode)->Unit(benchmark::kMicrosecond)->MinTime(0.5);
BENCHMARK(BM_NearestEdge)->Unit(benchmark::kMicrosecond)->MinTime(0.5);
BENCHMARK(BM_FindSubPolygonAt)->Unit(benchmark::kMicrosecond)->MinTime(0.5);
BENCHMARK(BM_MoveDragNode)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_MoveDragBody)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_MoveHoverDeleteNode)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_MoveHoverAddNode)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_MoveHoverSubPolygon)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_PlaceBigBody)->Unit(benchmark::kMillisecond)->MinTime(0.5);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    const TPolygonModel& m = Scene().Chart.Model;
    benchmark::RunSpecifiedBenchmarks();
    std::printf("\nModel view, %d nodes in %d bodies, %d x %d, on %s\n", m.Nodes.Length(), m.Bodies.Length(), Width,
                Height, bench::Machine().c_str());
    std::printf("  repaint                %8.2f ms (best; target under 16)\n", Best().Get("repaint") * 1e3);
    std::printf("  rebuild and repaint    %8.2f ms (best; target under 50)\n", Best().Get("rebuild") * 1e3);
    std::printf("  NearestNode            %8.3f ms (best; target under 1)\n", Best().Get("node") * 1e3);
    std::printf("  NearestEdge            %8.3f ms (best; target under 1)\n", Best().Get("edge") * 1e3);
    std::printf("  FindSubPolygonAt       %8.3f ms (best; target under 1)\n", Best().Get("sub") * 1e3);
    const struct {
        const char* Key;
        const char* What;
    } moves[] = {{"drag5", "drag, mode 5"}, {"drag10", "drag, mode 10"}, {"hover4", "hover, mode 4"},
                 {"hover7", "hover, mode 7"}, {"hover8", "hover, mode 8"}};
    for (const auto& m : moves)
        std::printf("  move and repaint, %-14s %6.2f ms (best; target under 16)\n", m.What, Best().Get(m.Key) * 1e3);
    std::printf("  right press placing a body of 500 nodes (mode 10) %6.2f ms (best)\n", Best().Get("press10") * 1e3);
    benchmark::Shutdown();
    return 0;
}
