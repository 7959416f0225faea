// The model view's model operations on small models: the relief, the box with its bounds and frame
// check, a new frame model, the pixel scales, and the hand-offs to and from the core (survey open and
// writer, boundary discretisation).
#include "tests/views/PolygonChartFixtures.h"

#include "core/BoundaryDiscretize.h"
#include "core/SurveyOpen.h"
#include "core/SurveyWriter.h"
#include "tests/platform/rtl/TempFolder.h"

#include <cmath>

using namespace pctest;

namespace {

std::vector<int> HostRing(const TPolygonChart& chart) { return ToVector(chart.Model.Bodies[0][0].ring); }

void ExpectAxesOnBox(const TPolygonChart& chart, const TModelBox& box, const std::string& what)
{
    EXPECT_EQ(chart.BottomAxis().Minimum(), box.XMin) << what;
    EXPECT_EQ(chart.BottomAxis().Maximum(), box.XMax) << what;
    EXPECT_EQ(chart.LeftAxis().Minimum(), box.ZMin) << what;
    EXPECT_EQ(chart.LeftAxis().Maximum(), box.ZMax) << what;
}

} // namespace

TEST(PolygonChartModel, SetReliefGivesDepthsBelowTheHighestPoint)
{
    struct TCase {
        arofcomplexM In;
        arofcomplexM Out;
    };
    const TCase cases[] = {
        {{}, {}},
        {PointList({{5, 42}}), PointList({{5, 42}})}, // one point stays as it is
        {PointList({{0, 10}, {50, 14}}), PointList({{0, 4}, {50, 0}})},
        {PointList({{0, 100}, {10, 97.5}, {20, 100}, {30, 90}}), PointList({{0, 0}, {10, 2.5}, {20, 0}, {30, 10}})},
        {PointList({{0, -3}, {10, -7}}), PointList({{0, 0}, {10, 4}})},
    };
    auto chart = NewChart();
    for (const TCase& c : cases) {
        chart->SetRelief(c.In);
        ASSERT_EQ(chart->Model.Relief.Length(), c.Out.Length());
        for (int k = 0; k < c.Out.Length(); ++k) EXPECT_EQ(chart->Model.Relief[k], c.Out[k]) << k;
    }
}

TEST(PolygonChartModel, SetModelBoxKeepsSidesThatWouldCutFreeNodes)
{
    struct TCase {
        double XMin, XMax, ZMin, ZMax;
        TModelBox Box;
    };
    // A body spans x 200 .. 400 and depth 20 .. 60 in the box (0, 1000) x (0, 100).
    const TCase cases[] = {
        {300, 1000, 0, 100, {0, 1000, 0, 100}},   // the left side would cut the body
        {100, 1000, 50, 100, {100, 1000, 0, 100}}, // a new top is ignored
        {0, 350, 0, 100, {0, 1000, 0, 100}},      // the right side would cut it
        {0, 900, 0, 50, {0, 900, 0, 100}},        // so would the bottom
        {150, 450, -5, 70, {150, 450, 0, 70}},
        {200, 400, -5, 60, {0, 1000, 0, 100}},    // the frame along the body's edges: refused by the check
        {-100, 1200, -5, 150, {-100, 1200, 0, 150}},
    };
    for (const TCase& c : cases) {
        auto chart = FrameChart();
        ASSERT_NE(AddBody(*chart, PointList({{200, 20}, {400, 20}, {400, 60}, {200, 60}})), -1);
        chart->RebuildShapes();
        chart->SetModelBox(false, c.XMin, c.XMax, c.ZMin, c.ZMax);
        const std::string what = std::to_string(c.XMin) + ".." + std::to_string(c.XMax) + " z " + std::to_string(c.ZMax);
        EXPECT_EQ(chart->Model.ModelBox, c.Box) << what;
        ExpectAxesOnBox(*chart, c.Box, what);
        // The frame corners sit on the box.
        const complexM corners[] = {{c.Box.XMin, 0}, {c.Box.XMin, c.Box.ZMax}, {c.Box.XMax, c.Box.ZMax}, {c.Box.XMax, 0}};
        for (int v = 0; v < 4; ++v) EXPECT_EQ(NodePoint(chart->Model.Nodes, v), corners[v]) << what << " corner " << v;
        EXPECT_EQ(chart->ShapeSeries().Shapes().Count(), 1) << what;
    }
}

TEST(PolygonChartModel, SetModelBoxKeepsOrRebuildsTheFrameOverTheRelief)
{
    // Relief depths 0 at x 0 to 20 at x 1000; the first box (200, 800) holds its points at 300 .. 700.
    struct TCase {
        bool KeepFrame;
        int FrameNodes;     // nodes in all
        double TopLeftZ;    // depth of corner 0 at the new left side
    };
    const TCase cases[] = {
        {true, 4 + 5, 4},   // the old relief nodes only; the corner keeps its depth at x 200
        {false, 4 + 9, 0},  // relief points 100 .. 900 join the frame; the corner sits on the relief at x 0
    };
    for (const TCase& c : cases) {
        auto chart = NewChart();
        chart->CreateFrameModel(SlopeRelief(), true, 200, 800, 0, 100);
        ASSERT_EQ(chart->Model.Nodes.Length(), 4 + 5);
        chart->SetModelBox(c.KeepFrame, 0, 1000, 0, 120);
        const std::string what = c.KeepFrame ? "keep frame" : "rebuild";
        EXPECT_EQ(chart->Model.ModelBox, (TModelBox{0, 1000, 0, 120})) << what;
        EXPECT_EQ(chart->Model.Nodes.Length(), c.FrameNodes) << what;
        EXPECT_EQ(NodePoint(chart->Model.Nodes, 0), (complexM{0, c.TopLeftZ})) << what;
        EXPECT_EQ(NodePoint(chart->Model.Nodes, 1), (complexM{0, 120})) << what;
        EXPECT_EQ(NodePoint(chart->Model.Nodes, 2), (complexM{1000, 120})) << what;
        // The mask runs along the host's surface from the top-right corner to the top-left one.
        const TAreaSeries& mask = chart->SurfaceMask();
        ASSERT_EQ(mask.PointCount(), c.FrameNodes - 2) << what;
        EXPECT_EQ(mask.XValues().ValueAt(0), 1000) << what;
        EXPECT_EQ(mask.XValues().ValueAt(mask.PointCount() - 1), 0) << what;
        EXPECT_EQ(mask.YValues().ValueAt(mask.PointCount() - 1), c.TopLeftZ) << what;
    }
}

TEST(PolygonChartModel, SetModelBoxRefusedByTheFrameCheckChangesNothing)
{
    // A layer of the host hangs from the sides at depth 40 and rises to 12 in the middle. A bottom at 20
    // keeps clear of the free node but would leave the layer's side nodes below the box, crossing it.
    auto chart = FrameChart();
    const TLayer layer = AddHostLayer(*chart, 40, 500, 12, 40, true);
    ASSERT_NE(layer.right, -1);
    chart->RebuildShapes();
    chart->SetModelBox(true, 0, 1000, 0, 100);
    const TPolygonModel before = chart->Model;
    const int shapes = chart->ShapeSeries().Shapes().Count();

    for (bool keepFrame : {true, false}) {
        chart->SetModelBox(keepFrame, 0, 1000, 0, 20);
        const std::string what = keepFrame ? "keep frame" : "rebuild";
        ExpectSameModel(chart->Model, before, what);
        ExpectAxesOnBox(*chart, before.ModelBox, what);
        EXPECT_EQ(chart->ShapeSeries().Shapes().Count(), shapes);
        EXPECT_NE(chart->ShapeOfSubPolygon(0, 1), -1) << what;
    }
    // The same bottom once the layer is clear of it is taken.
    chart->SetModelBox(true, 0, 1000, 0, 50);
    EXPECT_EQ(chart->Model.ModelBox.ZMax, 50);
}

TEST(PolygonChartModel, SampleModelWhoseLayerRunsAlongTheSidesIsShownAndResized)
{
    // The sample's layer of the host hangs from the top corners down the sides, whose host edges its side
    // nodes do not split: the frame check fails on the model as it stands, so it cannot judge a change.
    const TSurveyOpenResult opened =
        OpenSurveyFile(TSurveyState(), std::string(VSP_TEST_DATA) + "/../../examples/sample.sp2", nullptr, 100);
    ASSERT_EQ(opened.Kind, ReadDataWithModel);
    auto chart = NewChart(900, 400);
    chart->LoadModelBlock(*opened.Model);
    const TModelBox box = chart->Model.ModelBox;
    chart->SetModelBox(true, box.XMin, box.XMax, box.ZMin, box.ZMax);
    ExpectSameModel(chart->Model, *opened.Model, "shown");
    EXPECT_EQ(chart->ShapeSeries().Shapes().Count(), 3) << "the layer and two bodies";
    ExpectAxesOnBox(*chart, box, "shown");

    chart->SetModelBox(true, box.XMin - 20, box.XMax + 20, 0, box.ZMax + 30);
    const TModelBox wider{box.XMin - 20, box.XMax + 20, 0, box.ZMax + 30};
    EXPECT_EQ(chart->Model.ModelBox, wider);
    ExpectAxesOnBox(*chart, wider, "wider");
    EXPECT_EQ(chart->Model.Nodes[1].x, wider.XMin);
    EXPECT_EQ(chart->Model.Nodes[1].z, wider.ZMax);
    EXPECT_EQ(chart->ShapeSeries().Shapes().Count(), 3);
}

TEST(PolygonChartModel, CreateFrameModelBuildsTheHostRing)
{
    auto chart = NewChart();
    chart->CreateFrameModel(SlopeRelief(), true, 0, 1000, 0, 100);
    ASSERT_TRUE(chart->ModelPresent());
    EXPECT_TRUE(chart->Model.HasRelief);
    // Corners 0..3, then the relief points strictly inside the box from right to left (x 900 .. 100).
    ASSERT_EQ(chart->Model.Nodes.Length(), 4 + 9);
    std::vector<int> ring = {0, 1, 2, 3};
    for (int v = 4; v < 13; ++v) ring.push_back(v);
    ring.push_back(0);
    for (int v = 12; v >= 4; --v) ring.push_back(v);
    for (int v : {3, 2, 1}) ring.push_back(v);
    EXPECT_EQ(HostRing(*chart), ring);
    for (int v = 4; v < 13; ++v) {
        const double x = 900 - 100 * (v - 4);
        EXPECT_EQ(NodePoint(chart->Model.Nodes, v), (complexM{x, x / 50})) << v;
        EXPECT_EQ(chart->Model.Nodes[v].FrameCode, fcSurface) << v;
    }
    EXPECT_EQ(chart->Model.Bodies.Length(), 1);
    EXPECT_EQ(chart->UndoStack().SnapshotCount(), 1);
    EXPECT_EQ(chart->ShapeSeries().Shapes().Count(), 0);
}

TEST(PolygonChartModel, CreateFrameModelTakesItsBoxWhateverTheOldModelHeld)
{
    auto chart = FrameChart();
    ASSERT_NE(AddBody(*chart, PointList({{800, 20}, {900, 20}, {900, 90}})), -1);
    chart->RebuildShapes();
    chart->PushUndo();
    chart->SaveWorkingCopy();

    chart->CreateFrameModel({}, false, 0, 500, 0, 50);
    const TModelBox box{0, 500, 0, 50};
    EXPECT_EQ(chart->Model.ModelBox, box);
    ExpectAxesOnBox(*chart, box, "new frame");
    EXPECT_FALSE(chart->Model.HasRelief);
    EXPECT_EQ(HostRing(*chart), (std::vector<int>{0, 1, 2, 3, 0, 3, 2, 1}));
    EXPECT_EQ(NodePoint(chart->Model.Nodes, 2), (complexM{500, 50}));
    EXPECT_EQ(chart->UndoStack().SnapshotCount(), 1);
    EXPECT_EQ(chart->WorkingNodes.Length(), 4) << "the working copy is the new model";
    EXPECT_EQ(chart->ShapeSeries().Shapes().Count(), 0);
    // So a restore keeps the new model.
    chart->RestoreWorkingCopy();
    EXPECT_EQ(chart->Model.Bodies.Length(), 1);
}

TEST(PolygonChartModel, PixelScalesFollowTheAxesOfAPaint)
{
    auto chart = FrameChart({}, 700, 350);
    chart->UpdatePixelScales();
    const double x = chart->PixelsPerX, z = chart->PixelsPerZ;
    // A paint maps the box with the same scales.
    const TDrawn picture(*chart);
    EXPECT_NEAR(x, (picture.X(1000) - picture.X(0)) / 1000.0, 1.0 / 1000);
    EXPECT_NEAR(z, (picture.Y(100) - picture.Y(0)) / 100.0, 1.0 / 100);
    EXPECT_GT(x, 0.4);
    EXPECT_GT(z, 2.0);

    // A box of zero width has no span to divide by.
    auto empty = NewChart();
    empty->SetModelBox(true, 500, 500, 0, 100);
    EXPECT_EQ(empty->PixelsPerX, 1.0);
    EXPECT_GT(empty->PixelsPerZ, 1.0);
    // Nor has a box of zero width far from 0, whose least span the axis rounds.
    empty->SetModelBox(true, 1e6, 1e6, 0, 100);
    EXPECT_EQ(empty->PixelsPerX, 1.0);
}

TEST(PolygonChartModel, EqualScaleGivesAUnitAsManyPixelsOnBothAxes)
{
    for (auto [width, height] : {std::pair{700, 350}, std::pair{400, 600}}) {
        auto chart = FrameChart({}, width, height);
        chart->EqualScale = true;
        chart->UpdatePixelScales();
        EXPECT_NEAR(chart->PixelsPerX, chart->PixelsPerZ, 1e-9 * chart->PixelsPerX) << width << "x" << height;
        EXPECT_NE(chart->LeftAxis().Maximum(), 100) << "the depth shown follows the width";
        const TDrawn picture(*chart);
        EXPECT_NEAR(picture.X(300) - picture.X(0), picture.Y(300) - picture.Y(0), 1.0) << width << "x" << height;
    }
}

TEST(PolygonChartModel, EqualScaleLeavesTheAxesOfACollapsedChart)
{
    // Narrower than its margins (25 + 70 pixels), and a pane squeezed to nothing.
    for (auto [width, height] : {std::pair{60, 300}, std::pair{600, 12}, std::pair{0, 0}}) {
        auto chart = FrameChart({}, width, height);
        chart->EqualScale = true;
        chart->UpdatePixelScales();
        EXPECT_EQ(chart->LeftAxis().Maximum(), 100) << width << "x" << height;
        EXPECT_EQ(chart->BottomAxis().Maximum(), 1000) << width << "x" << height;
        EXPECT_GT(chart->PixelsPerX, 0) << width << "x" << height;
        EXPECT_GT(chart->PixelsPerZ, 0) << width << "x" << height;
    }
}

TEST(PolygonChartModel, FollowAxesAppliesTheAxisRangesAsBox)
{
    auto chart = FrameChart(SlopeRelief());
    ASSERT_NE(AddBody(*chart, PointList({{400, 30}, {600, 30}, {600, 60}})), -1);
    chart->RebuildShapes();
    // An axis pop-up command changed the ranges; the depth range would cut the body and is kept back.
    chart->BottomAxis().SetFixedRange(100, 900);
    chart->LeftAxis().SetFixedRange(0, 50);
    chart->OnAxisMenuClick(chart.get());
    EXPECT_EQ(chart->Model.ModelBox, (TModelBox{100, 900, 0, 100}));
    ExpectAxesOnBox(*chart, chart->Model.ModelBox, "after the axis command");
    // The frame was rebuilt over the relief: its top corners lie on it.
    EXPECT_NEAR(chart->Model.Nodes[0].z, 2, 1e-12);
    EXPECT_NEAR(chart->Model.Nodes[3].z, 18, 1e-12);
}

TEST(PolygonChartModel, TakesOverTheModelOfAnOpenedSurveyAndWritesItBack)
{
    const std::string path = std::string(VSP_TEST_DATA) + "/survey/with_model.sp2";
    const TSurveyOpenResult opened = OpenSurveyFile(TSurveyState(), path, nullptr, 100);
    ASSERT_EQ(opened.Kind, ReadDataWithModel);
    ASSERT_TRUE(opened.Model.has_value());

    auto chart = NewChart();
    chart->LoadModelBlock(*opened.Model);
    EXPECT_TRUE(chart->ModelPresent());
    EXPECT_EQ(chart->UndoStack().SnapshotCount(), 1);
    EXPECT_EQ(chart->ShapeSeries().Shapes().Count(), 0) << "the shapes wait for the box";
    const TModelBox box = chart->Model.ModelBox;
    chart->SetModelBox(true, box.XMin, box.XMax, box.ZMin, box.ZMax);
    ExpectSameModel(chart->Model, *opened.Model, "taken over");
    EXPECT_EQ(chart->Model.Rho0, 250);
    EXPECT_EQ(chart->Model.Relief.Length(), opened.Model->Relief.Length());
    EXPECT_EQ(chart->Model.HasRelief, opened.Model->HasRelief);
    ExpectAxesOnBox(*chart, box, "taken over");
    EXPECT_EQ(chart->ShapeSeries().Shapes().Count(), 1);
    EXPECT_EQ(chart->UndoStack().SnapshotCount(), 1);

    TTempFolder temp;
    const std::string written = temp.File("again.sp2");
    ASSERT_EQ(WriteDataFile(opened.Survey, written, true, &chart->Model), "");
    const TSurveyOpenResult again = OpenSurveyFile(TSurveyState(), written, nullptr, 100);
    ASSERT_EQ(again.Kind, ReadDataWithModel);
    ExpectSameModel(*again.Model, chart->Model, "written and opened again");
    EXPECT_EQ(again.Model->Rho0, chart->Model.Rho0);
    EXPECT_EQ(again.Model->Bodies[1][0].properties[psShapeIndex], chart->Model.Bodies[1][0].properties[psShapeIndex]);
}

TEST(PolygonChartModel, ClearModelLeavesNoModelToSolveOrUndo)
{
    auto chart = FrameChart(SlopeRelief());
    ASSERT_NE(AddBody(*chart, PointList({{100, 40}, {300, 40}, {300, 80}})), -1);
    chart->RebuildShapes();
    chart->SetModelBox(true, -50, 1200, 0, 150);
    chart->SaveWorkingCopy();
    chart->PushUndo();

    chart->ClearModel();
    EXPECT_FALSE(chart->ModelPresent());
    EXPECT_TRUE(chart->Model.Nodes.empty());
    EXPECT_TRUE(chart->Model.Bodies.empty());
    EXPECT_FALSE(chart->Model.HasRelief);
    EXPECT_EQ(chart->Model.ModelBox, (TModelBox{-50, 1200, 0, 150})) << "the box stays for the next model";
    EXPECT_EQ(chart->ShapeSeries().Shapes().Count(), 0);
    EXPECT_EQ(chart->SurfaceMask().PointCount(), 0);
    EXPECT_EQ(chart->UndoStack().SnapshotCount(), 0);
    chart->RestoreWorkingCopy();
    chart->PopUndo();
    EXPECT_TRUE(chart->Model.Nodes.empty()) << "neither the working copy nor undo brings the old model back";

    // A new model afterwards is a model again.
    chart->CreateFrameModel({}, false, 0, 1000, 0, 100);
    EXPECT_TRUE(chart->ModelPresent());
    EXPECT_EQ(chart->UndoStack().SnapshotCount(), 1);
}

TEST(PolygonChartModel, DiscretizeBoundaryIsTheCoresOnTheChartsModel)
{
    for (const bool relief : {false, true}) {
        auto chart = FrameChart(relief ? SlopeRelief() : arofcomplexM());
        ASSERT_NE(AddBody(*chart, PointList({{300, 30}, {500, 35}, {450, 70}})), -1);
        AddHostLayer(*chart, 60, 500, 80, 50, false);
        chart->RebuildShapes();
        const TPolygonModel before = chart->Model;
        const double scaleLength = 20;

        AllSpolygon bodies = chart->Model.Bodies;
        Tnodes nodes = chart->Model.Nodes;
        chart->DiscretizeBoundary(false, bodies, scaleLength / 2, 0.1, scaleLength / 3, 0.1, scaleLength / 10, nodes);
        AllSpolygon coreBodies = before.Bodies;
        Tnodes coreNodes = before.Nodes;
        ::DiscretizeBoundary(before, false, coreBodies, scaleLength / 2, 0.1, scaleLength / 3, 0.1, scaleLength / 10,
                             coreNodes);

        const std::string what = relief ? "with relief" : "without relief";
        EXPECT_EQ(bodies, coreBodies) << what;
        ASSERT_EQ(nodes.Length(), coreNodes.Length()) << what;
        EXPECT_GT(nodes.Length(), before.Nodes.Length()) << what;
        for (int v = 0; v < nodes.Length(); ++v) {
            EXPECT_EQ(nodes[v].x, coreNodes[v].x) << what << " " << v;
            EXPECT_EQ(nodes[v].z, coreNodes[v].z) << what << " " << v;
            EXPECT_EQ(nodes[v].WorkX, coreNodes[v].WorkX) << what << " " << v;
        }
        ExpectSameModel(chart->Model, before, what);
        EXPECT_EQ(chart->FrameOffset, 1093.5 * scaleLength) << what;
    }
}
