// The model view's shapes: one per sub-polygon with its identifier in the sub-polygon, the mask, the
// labels, the look going to the shape and back, identifiers that survive moves and removals, and the
// drawn chart probed at pixels through its axes.
#include "tests/views/PolygonChartFixtures.h"

#include "chart/control/LumEngineStyleStrings.h"

#include <cstdlib>
#include <map>

using namespace pctest;

namespace {

// The vertices of a shape as points.
arofcomplexM Vertices(TLumPolygon& shape)
{
    arofcomplexM points;
    TPolygonSeries& v = shape.VertexSeries();
    for (int k = 0; k < v.PointCount(); ++k) points.push_back({v.XValueAt(k), v.YValueAt(k)});
    return points;
}

arofcomplexM RingPoints(const TPolygonChart& chart, int body, int sub)
{
    arofcomplexM points;
    for (int v : chart.Model.Bodies[body][sub].ring) points.push_back(NodePoint(chart.Model.Nodes, v));
    return points;
}

std::vector<complexM> ToVector(const arofcomplexM& a) { return std::vector<complexM>(a.begin(), a.end()); }

// A frame with a body of one sub-polygon, a quartered body and a layer of the host.
std::unique_ptr<TPolygonChart> ModelWithSixShapes()
{
    auto chart = FrameChart();
    AddBody(*chart, PointList({{100, 20}, {250, 20}, {250, 60}}));
    AddQuarteredBody(*chart, 500, 20, 20);
    AddHostLayer(*chart, 80, 500, 85, 80, true);
    chart->RebuildShapes();
    return chart;
}

std::string BrushText(TBrushStyle style)
{
    TChartBrush brush;
    brush.SetStyle(style);
    return WriteBrushStyle(brush);
}

} // namespace

TEST(PolygonChartShapes, FrameOnlyHasNoShape)
{
    auto chart = FrameChart();
    chart->RebuildShapes();
    EXPECT_EQ(chart->ShapeSeries().Shapes().Count(), 0);
    EXPECT_EQ(chart->ShapeSeries().PointCount(), 0);
    EXPECT_EQ(chart->Model.Bodies[0][0].properties[psShapeIndex], Variant(std::int8_t(-1)));
    EXPECT_EQ(chart->ShapeOfSubPolygon(0, 0), -1);
}

TEST(PolygonChartShapes, OneShapePerSubPolygonWithItsIdentifierAndRing)
{
    auto chart = ModelWithSixShapes();
    TLumPolygonList& shapes = chart->ShapeSeries().Shapes();
    ASSERT_EQ(chart->Model.Bodies.Length(), 3);
    ASSERT_EQ(shapes.Count(), 6); // the layer, the body, the four quarters
    EXPECT_EQ(chart->ShapeSeries().PointCount(), 6);
    std::map<int, int> seen;
    int expectedPosition = 0;
    for (int i = 0; i < chart->Model.Bodies.Length(); ++i)
        for (int j = 0; j < chart->Model.Bodies[i].Length(); ++j) {
            if (i == 0 && j == 0) continue;
            const Variant& id = chart->Model.Bodies[i][j].properties[psShapeIndex];
            ASSERT_EQ(id.GetKind(), Variant::Kind::Integer) << i << "/" << j;
            const int position = chart->ShapeOfSubPolygon(i, j);
            EXPECT_EQ(position, expectedPosition++) << "shapes in body and sub-polygon order";
            ASSERT_NE(position, -1);
            EXPECT_EQ(shapes.GetPolygon(position)->ID(), id.AsInteger());
            EXPECT_EQ(ToVector(Vertices(*shapes.GetPolygon(position))), ToVector(RingPoints(*chart, i, j)))
                << i << "/" << j;
            ++seen[id.AsInteger()];
        }
    EXPECT_EQ(seen.size(), 6u) << "identifiers are unique";
    EXPECT_EQ(chart->Model.Bodies[0][0].properties[psShapeIndex], Variant(std::int8_t(-1)));

    // A rebuild gives new identifiers, never an old one again.
    const int oldFirst = chart->Model.Bodies[1][0].properties[psShapeIndex].AsInteger();
    chart->RebuildShapes();
    for (int i = 1; i < chart->Model.Bodies.Length(); ++i)
        for (int j = 0; j < chart->Model.Bodies[i].Length(); ++j)
            EXPECT_EQ(seen.count(chart->Model.Bodies[i][j].properties[psShapeIndex].AsInteger()), 0u) << oldFirst;
}

TEST(PolygonChartShapes, MaskWithoutAndWithRelief)
{
    auto flat = FrameChart();
    TAreaSeries& mask = flat->SurfaceMask();
    ASSERT_EQ(mask.PointCount(), 2);
    EXPECT_EQ((complexM{mask.XValueAt(0), mask.YValueAt(0)}), (complexM{0, 0}));
    EXPECT_EQ((complexM{mask.XValueAt(1), mask.YValueAt(1)}), (complexM{1000, 0}));

    auto hilly = FrameChart(SlopeRelief());
    TAreaSeries& surface = hilly->SurfaceMask();
    // The top-right corner, the relief nodes from right to left, the top-left corner.
    ASSERT_EQ(surface.PointCount(), 11);
    for (int k = 0; k < 11; ++k) {
        const double x = 1000 - 100 * k;
        EXPECT_EQ(surface.XValueAt(k), x) << k;
        EXPECT_DOUBLE_EQ(surface.YValueAt(k), x / 50) << k;
    }
}

TEST(PolygonChartShapes, LabelsByLabelMode)
{
    struct TCase {
        int Mode;
        Variant Resistivity;
        Variant Conductor;
        std::string Expected;
    };
    const TCase cases[] = {
        {0, Variant(250.0), Variant(0.0), " "},
        {1, Variant(250.0), Variant(0.0), "250"},
        {1, Variant(12.345), Variant(0.0), "12.35"},
        {2, Variant(250.0), Variant(0.0), "250 E"},
        {2, Variant(0.5), Variant(1.0), "0.50 I"},
        {2, Variant(250.0), Variant("*"), "250 I"},
        {1, Variant("*"), Variant(0.0), "*"},
        {3, Variant(250.0), Variant(0.0), "Ore body"},
        {7, Variant(250.0), Variant(0.0), "before"}, // another mode keeps the text shown
    };
    auto chart = FrameChart();
    AddBody(*chart, PointList({{100, 20}, {250, 20}, {250, 60}}));
    chart->RebuildShapes();
    TLumPolygon& shape = *chart->ShapeSeries().Shapes().GetPolygon(0);
    for (const TCase& c : cases) {
        PolygonProperties& row = chart->Model.Bodies[1][0].properties;
        row[psLabelMode] = Variant(c.Mode);
        row[psResistivity] = c.Resistivity;
        row[psConductorType] = c.Conductor;
        row[psLabelText] = Variant("Ore body");
        shape.SetText("before");
        chart->ApplyShapeStyle(1, 0, 0);
        EXPECT_EQ(shape.Text(), c.Expected) << "mode " << c.Mode << " -> " << c.Expected;
    }
}

TEST(PolygonChartShapes, LookGoesToTheShapeAndBack)
{
    auto chart = FrameChart();
    AddBody(*chart, PointList({{100, 20}, {250, 20}, {250, 60}}));
    PolygonProperties& row = chart->Model.Bodies[1][0].properties;
    TChartPen pen;
    pen.SetColor(clNavy);
    pen.SetWidth(2);
    TLumGradient gradient;
    gradient.SetVisible(true);
    gradient.SetStartColor(clAqua);
    row[psBrushText] = Variant(BrushText(bsDiagCross));
    row[psPenText] = Variant(WritePenStyle(pen));
    row[psGradientText] = Variant(WriteGradientStyle(gradient));
    row[psFillColor] = Variant(static_cast<std::int32_t>(clOlive));
    row[psLabelText] = Variant("Ore body");
    for (int slot : {5, 6, 9, 14}) row[slot] = Variant(7);
    chart->RebuildShapes();
    TLumPolygon& shape = *chart->ShapeSeries().Shapes().GetPolygon(0);
    EXPECT_FALSE(shape.ParentPen());
    EXPECT_FALSE(shape.ParentBrush());
    EXPECT_EQ(shape.Color(), clOlive);
    EXPECT_EQ(shape.Brush().Style(), bsDiagCross);
    EXPECT_EQ(shape.Pen().Color(), clNavy);
    EXPECT_EQ(shape.Pen().Width(), 2);
    EXPECT_TRUE(shape.Gradient().Visible());

    for (int mode : {3, 1, 0}) {
        PolygonProperties stored = row;
        stored[psLabelMode] = Variant(mode);
        chart->Model.Bodies[1][0].properties = stored;
        chart->ApplyShapeStyle(1, 0, 0);
        const std::string shown = shape.Text();
        chart->StoreShapeStyle(1, 0, 0);
        const PolygonProperties& back = chart->Model.Bodies[1][0].properties;
        for (int slot : {1, 2, 3, 4}) EXPECT_EQ(back[slot], stored[slot]) << "slot " << slot << " mode " << mode;
        EXPECT_EQ(back[psLabelText], Variant(shown)) << mode;
        if (mode == 3) {
            EXPECT_EQ(back[psLabelText], Variant("Ore body"));
        }
        for (int slot : {5, 6, 9, 14, 15, 16, 17, 18}) EXPECT_EQ(back[slot], Variant("*")) << slot;
        for (int slot : {0, 8, 10, 11, 12, 13, 19}) EXPECT_EQ(back[slot], stored[slot]) << slot;
    }
}

TEST(PolygonChartShapes, SlotsOfTheWrongKindGiveDefaultLooks)
{
    auto chart = FrameChart();
    AddBody(*chart, PointList({{100, 20}, {250, 20}, {250, 60}}));
    PolygonProperties& row = chart->Model.Bodies[1][0].properties;
    for (int slot : {1, 2, 3, 4, 7, 8}) row[slot] = Variant("*");
    row[psFillColor] = Variant(1e12); // beyond 32 bits
    row[psLabelMode] = Variant();
    EXPECT_NO_THROW(chart->RebuildShapes());
    EXPECT_EQ(chart->ShapeSeries().Shapes().Count(), 1);
    EXPECT_NO_THROW(chart->RenderToBitmap(clWhite, chart->ChartBounds(), pf24bit));
}

TEST(PolygonChartShapes, IdentifiersSurviveMovesAndRemovals)
{
    auto chart = ModelWithSixShapes();
    TMapSeries& series = chart->ShapeSeries();
    struct TSub {
        int Body, Sub;
    };
    const TSub subs[] = {{0, 1}, {1, 0}, {2, 0}, {2, 1}, {2, 2}, {2, 3}};
    auto expectShapesFollowTheirSubPolygons = [&](const std::string& what, std::initializer_list<TSub> only = {}) {
        for (const TSub& s : only.size() ? std::vector<TSub>(only) : std::vector<TSub>(std::begin(subs), std::end(subs))) {
            const int position = chart->ShapeOfSubPolygon(s.Body, s.Sub);
            if (position == -1) continue;
            EXPECT_EQ(ToVector(Vertices(*series.Shapes().GetPolygon(position))), ToVector(RingPoints(*chart, s.Body, s.Sub)))
                << what << " " << s.Body << "/" << s.Sub;
        }
    };

    arofintM positions({4, 1, 5});
    chart->MoveShapesToStart(positions);
    EXPECT_EQ(ToVector(positions), (std::vector<int>{0, 1, 2}));
    // The shapes of (2, 2), (1, 0) and (2, 3) now come first, in that order.
    EXPECT_EQ(chart->ShapeOfSubPolygon(2, 2), 0);
    EXPECT_EQ(chart->ShapeOfSubPolygon(1, 0), 1);
    EXPECT_EQ(chart->ShapeOfSubPolygon(2, 3), 2);
    expectShapesFollowTheirSubPolygons("after the move");
    EXPECT_EQ(series.PointCount(), 6);

    // Removing a shape leaves the others' identifiers; the removed one no longer resolves.
    const int removedId = chart->Model.Bodies[1][0].properties[psShapeIndex].AsInteger();
    series.DeletePoint(chart->ShapeOfSubPolygon(1, 0));
    EXPECT_EQ(chart->ShapeOfSubPolygon(1, 0), -1);
    expectShapesFollowTheirSubPolygons("after the removal");

    arofintM ids({chart->Model.Bodies[2][1].properties[psShapeIndex].AsInteger(), removedId, -1,
                  chart->Model.Bodies[0][1].properties[psShapeIndex].AsInteger()});
    arofintM bodies({2, 1, 0, 0}), subPolygons({1, 0, 0, 1});
    arofintM found;
    chart->ResolveShapeIds(ids, bodies, subPolygons, found);
    EXPECT_EQ(ToVector(bodies), (std::vector<int>{2, 0}));
    EXPECT_EQ(ToVector(subPolygons), (std::vector<int>{1, 1}));
    EXPECT_EQ(ToVector(found), (std::vector<int>{chart->ShapeOfSubPolygon(2, 1), chart->ShapeOfSubPolygon(0, 1)}));

    // A refresh redraws moved nodes into the shapes it is given.
    for (int v : chart->Model.Bodies[2][1].ring) chart->Model.Nodes[v].x += 5;
    chart->Model.Nodes[chart->Model.Bodies[0][1].ring[2]].z += 1;
    chart->RefreshShapes(bodies, subPolygons, found);
    expectShapesFollowTheirSubPolygons("after the refresh", {{2, 1}, {0, 1}});
}

// ---- Drawn ------------------------------------------------------------------------------------------------

TEST(PolygonChartShapes, NodeMarksInTheirColours)
{
    auto chart = FrameChart(SlopeRelief(), 700, 420);
    AddBody(*chart, PointList({{100, 40}, {250, 40}, {250, 80}}));
    const TQuartered q = AddQuarteredBody(*chart, 500, 30, 25);
    const int fixed = chart->Model.Bodies[1][0].ring[0];
    chart->Model.Nodes[fixed].FixedFlag = 1;
    chart->RebuildShapes();
    ASSERT_EQ(chart->Model.Nodes[q.centre].NodeClass, 2);

    const TDrawn picture(*chart);
    for (int v = 4; v < chart->Model.Nodes.Length(); ++v) {
        const TNode& n = chart->Model.Nodes[v];
        const TColor expected = n.FrameCode >= 1 ? clGray : n.FixedFlag ? clBlack : n.NodeClass == 2 ? clGreen : clBlue;
        EXPECT_TRUE(picture.BlockOf(n.x, n.z, expected)) << "node " << v << " expected colour " << expected;
    }
    // One of each kind was drawn.
    EXPECT_TRUE(picture.BlockOf(chart->Model.Nodes[4].x, chart->Model.Nodes[4].z, clGray));
    EXPECT_TRUE(picture.BlockOf(chart->Model.Nodes[fixed].x, chart->Model.Nodes[fixed].z, clBlack));
    EXPECT_TRUE(picture.BlockOf(500, 30, clBlue));
    EXPECT_TRUE(picture.BlockOf(525, 55, clGreen));
    // The four frame corners get no mark.
    for (int v = 0; v < 4; ++v)
        EXPECT_FALSE(picture.BlockOf(chart->Model.Nodes[v].x, chart->Model.Nodes[v].z, clGray)) << "corner " << v;
}

// Nodes on the plot's edges (as the frame's side nodes always are) keep their whole marks, also where a
// zoomed view hides the nodes beyond them.
TEST(PolygonChartShapes, NodesOnThePlotsEdgesKeepWholeMarks)
{
    auto chart = FrameChart({}, 700, 420);
    AddBody(*chart, PointList({{250, 40}, {400, 40}, {400, 80}}));
    AddBody(*chart, PointList({{550, 50}, {500, 60}, {450, 50}}));
    chart->RebuildShapes();
    chart->BottomAxis().SetFixedRange(250, 550);
    chart->LeftAxis().SetFixedRange(30, 90);
    const TDrawn picture(*chart);
    const TRect plot = chart->ChartRect();
    ASSERT_EQ(picture.X(250), plot.Left);
    ASSERT_GE(picture.X(550), plot.Right - 1);
    for (const complexM p : {complexM{250, 40}, complexM{550, 50}, complexM{400, 80}})
        EXPECT_TRUE(picture.BlockOf(p.x, p.z, clBlue)) << p.x << ", " << p.z;
}

// A zoomed view marks only the nodes inside its plot: the relief above it and bodies beside it leave the
// axis labels and the margins untouched, on the screen and in a picture for the printer.
TEST(PolygonChartShapes, ZoomedViewMarksOnlyTheNodesInsideThePlot)
{
    for (const bool printing : {false, true}) {
        SCOPED_TRACE(printing ? "metafile mode" : "on screen");
        auto chart = FrameChart(SlopeRelief(), 700, 420);
        AddBody(*chart, PointList({{110, 40}, {140, 40}, {140, 70}}));
        AddBody(*chart, PointList({{300, 40}, {400, 40}, {400, 80}}));
        AddBody(*chart, PointList({{700, 40}, {730, 40}, {730, 70}}));
        chart->RebuildShapes();
        chart->BottomAxis().SetFixedRange(150, 680);
        chart->LeftAxis().SetFixedRange(12, 92);
        if (printing) chart->ChartCanvas().SetMetafileMode(true);
        const TDrawn picture(*chart);
        chart->ChartCanvas().SetMetafileMode(false);
        const TRect plot = chart->ChartRect();
        int inside = 0, outside = 0;
        for (int v = 4; v < chart->Model.Nodes.Length(); ++v) {
            const TNode& n = chart->Model.Nodes[v];
            const int x = picture.X(n.x), y = picture.Y(n.z);
            const TColor mark = n.FrameCode >= 1 ? clGray : clBlue;
            // Inside: the whole block within the frame lines.
            if (x >= plot.Left + 2 && x <= plot.Right - 2 && y >= plot.Top + 2 && y <= plot.Bottom - 2) {
                ++inside;
                EXPECT_TRUE(picture.BlockOf(n.x, n.z, mark)) << "node " << v << " inside the plot";
            } else if ((x < plot.Left - 1 || x > plot.Right || y < plot.Top - 1 || y > plot.Bottom + 1) && x > 0 &&
                       y > 0 && x < chart->Width() - 1 && y < chart->Height() - 1) {
                ++outside;
                EXPECT_FALSE(picture.BlockOf(n.x, n.z, mark)) << "node " << v << " at " << x << "," << y;
            }
        }
        EXPECT_GE(inside, 3);
        EXPECT_GE(outside, 6);
    }
}

TEST(PolygonChartShapes, NoNodeMarksBeforeAModel)
{
    auto chart = NewChart();
    TNode node;
    node.x = 500;
    node.z = 50;
    for (int k = 0; k < 5; ++k) chart->Model.Nodes.push_back(node);
    const TDrawn picture(*chart);
    EXPECT_TRUE(picture.BlockOf(500, 50, clWhite));
}

TEST(PolygonChartShapes, ShapesFilledOutlinedAndMaskedAboveTheRelief)
{
    auto chart = FrameChart(SlopeRelief(), 700, 420);
    // A solid olive body, a default one (clear brush, grey pen), and a solid one reaching above the
    // surface at x 700 .. 900 (surface depths 14 .. 18).
    const int solid = AddBody(*chart, PointList({{100, 40}, {300, 40}, {300, 90}, {100, 90}}));
    const int plain = AddBody(*chart, PointList({{400, 40}, {600, 40}, {600, 90}, {400, 90}}));
    const int buried = AddBody(*chart, PointList({{700, 5}, {900, 5}, {900, 60}, {700, 60}}));
    ASSERT_NE(buried, -1);
    for (int body : {solid, buried}) {
        PolygonProperties& row = chart->Model.Bodies[body][0].properties;
        row[psBrushText] = Variant(BrushText(bsSolid));
        row[psFillColor] = Variant(static_cast<std::int32_t>(clOlive));
    }
    (void)plain;
    chart->RebuildShapes();
    const TDrawn picture(*chart);

    EXPECT_EQ(picture.At(200, 60), clOlive) << "a solid brush fills with the shape's colour";
    EXPECT_EQ(picture.At(500, 60), clWhite) << "a clear brush shows the background";
    // The default shape's top edge is drawn in its grey pen.
    int grey = 0;
    for (int dy = -1; dy <= 1; ++dy) grey += picture.Pixel(picture.X(500), picture.Y(40) + dy) == clGray;
    EXPECT_GE(grey, 1);
    EXPECT_EQ(picture.At(800, 8), clWhite) << "above the surface the mask hides the shape";
    EXPECT_EQ(picture.At(800, 40), clOlive) << "below it the shape shows";
}
