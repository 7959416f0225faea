// The colour line, colour band and grid band tools on a real chart window driven by Qt mouse events: line
// values by style, the limit to the axis, dragging in not-xor mode that leaves no trace, the grab
// distance, the band's rectangle and painting stage, resizing a band by its edges, and grid bands that
// alternate and follow the axis' grid hook.
#include "ToolTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct TLineChart : TToolChart {
    TColorLineTool* Line = nullptr;
    int Drags = 0, Ends = 0, Begins = 0;

    TLineChart()
    {
        Line = AddTool<TColorLineTool>();
        Line->SetAxis(&Chart.BottomAxis());
        Line->Pen().SetColor(clRed);
        Line->SetValue(5);
        Line->OnBeginDragLine = [this](TColorLineTool*) { ++Begins; };
        Line->OnDragLine = [this](TColorLineTool*) { ++Drags; };
        Line->OnEndDragLine = [this](TColorLineTool*) { ++Ends; };
        Paint();
    }
    // A point on the line's pixel column, between two grid lines.
    QPoint OnLine(double x) const { return {Chart.BottomAxis().CalcXPosValue(x), At(0, 6.5).y()}; }
};

// A band that records the pixel at a probe point after each stage it hears.
class TStageBand : public TColorBandTool {
public:
    using TColorBandTool::TColorBandTool;
    QPoint Probe;
    std::vector<std::pair<int, TColor>> Seen;
    void NotifyChartStage(int Stage) override
    {
        TColorBandTool::NotifyChartStage(Stage);
        Seen.emplace_back(Stage, ParentChart()->ChartCanvas().ReadPixelAtZ(Probe.x(), Probe.y(), 0));
    }
    // The first stage after which the probe shows the colour.
    int StageShowing(TColor Color) const
    {
        for (const auto& [stage, pixel] : Seen)
            if (pixel == Color) return stage;
        return -1;
    }
};

} // namespace

TEST(ColorLineTool, ValueByStyleFollowsAZoomAndADragMakesItCustom)
{
    TLineChart t;
    t.Chart.BottomAxis().SetFixedRange(2, 6);
    struct TCase {
        TColorLineStyle Style;
        double Expected;
    };
    for (const TCase& c : {TCase{clMaximum, 6}, TCase{clCenter, 4}, TCase{clMinimum, 2}, TCase{clCustom, 5}}) {
        t.Line->SetStyle(c.Style);
        EXPECT_DOUBLE_EQ(t.Line->LineValue(), c.Expected) << int(c.Style);
    }
    t.Line->SetStyle(clCenter);
    t.Paint();
    t.Press(t.OnLine(4));
    EXPECT_TRUE(t.Line->Dragging);
    t.Move(t.OnLine(5), Qt::LeftButton);
    t.Release(t.OnLine(5));
    EXPECT_EQ(t.Line->Style(), clCustom);
    EXPECT_NEAR(t.Line->Value(), 5, 0.05);
    EXPECT_EQ(t.Begins, 1);
    EXPECT_EQ(t.Ends, 1);
}

TEST(ColorLineTool, LimitToAxisOnNormalAndInvertedAxesOfBothDirections)
{
    TLineChart t;
    struct TCase {
        const char* Name;
        TChartAxis* Axis;
        bool Inverted;
    };
    const TCase cases[] = {{"bottom", &t.Chart.BottomAxis(), false},
                           {"bottom inverted", &t.Chart.BottomAxis(), true},
                           {"left", &t.Chart.LeftAxis(), false},
                           {"left inverted", &t.Chart.LeftAxis(), true}};
    for (const TCase& c : cases) {
        c.Axis->SetInverted(c.Inverted);
        t.Line->SetAxis(c.Axis);
        t.Paint();
        EXPECT_NEAR(t.Line->LimitToAxis(-5), 0, 0.05) << c.Name;
        EXPECT_NEAR(t.Line->LimitToAxis(15), 10, 0.05) << c.Name;
        EXPECT_DOUBLE_EQ(t.Line->LimitToAxis(4), 4) << c.Name;
        c.Axis->SetInverted(false);
    }
}

TEST(ColorLineTool, ADragWithoutRepaintIsDrawnInPlaceAndLeavesNoTrace)
{
    TLineChart t;
    const TPicturePixels before = t.Buffer();
    t.Press(t.OnLine(5));
    ASSERT_TRUE(t.Line->Dragging);
    t.Move(t.OnLine(7.5), Qt::LeftButton);
    EXPECT_GT(CountDifferences(before, t.Buffer()), 10);
    EXPECT_FALSE(t.Chart.PaintPending()) << "drawn in place";
    // Not-xor: the pen's colour over the back wall's.
    const TColor wall = t.Chart.BackWall().Color();
    EXPECT_EQ(t.BufferPixel(t.OnLine(7.5).x(), t.OnLine(7.5).y()), TColor(~(ColorToRGB(clRed) ^ ColorToRGB(wall)) & 0xFFFFFF));
    t.Move(t.OnLine(5), Qt::LeftButton);
    EXPECT_EQ(CountDifferences(before, t.Buffer()), 0) << "back at its place the picture is as before";
    t.Move(t.OnLine(7.5), Qt::LeftButton);
    t.Release(t.OnLine(7.5));
    EXPECT_NEAR(t.Line->Value(), 7.5, 0.05);
    EXPECT_GE(t.Drags, 3);
    t.Settle();
    EXPECT_EQ(CountDifferences(t.Fresh(), t.Buffer()), 0) << "the release repaints";
}

TEST(ColorLineTool, DragLimitsAndTheGrabDistance)
{
    TLineChart t;
    const QPoint far = t.OnLine(0) - QPoint(60, 0);
    t.Press(t.OnLine(5));
    t.Move(far, Qt::LeftButton);
    t.Release(far);
    EXPECT_NEAR(t.Line->Value(), 0, 0.05) << "stops at the axis end";

    t.Line->SetValue(5);
    t.Line->NoLimitDrag = true;
    t.Paint();
    t.Press(t.OnLine(5));
    t.Move(far, Qt::LeftButton);
    t.Release(far);
    EXPECT_LT(t.Line->Value(), -0.5) << "NoLimitDrag";
    t.Paint();
    EXPECT_LT(t.Line->Value(), -0.5) << "painting leaves a NoLimitDrag value alone";

    t.Line->NoLimitDrag = false;
    t.Paint();
    EXPECT_NEAR(t.Line->Value(), 0, 0.05) << "painting pulls a value outside the axis back to its end";
    t.Line->SetValue(5);
    t.Line->LimitDrag = true;
    t.Line->DragMinValue = 3;
    t.Line->DragMaxValue = 6;
    t.Paint();
    t.Press(t.OnLine(5));
    t.Move(t.OnLine(8), Qt::LeftButton);
    t.Release(t.OnLine(8));
    EXPECT_DOUBLE_EQ(t.Line->Value(), 6) << "LimitDrag";

    const int a = t.OnLine(6).x(), y = t.OnLine(6).y();
    const TRect plot = t.Chart.ChartRect();
    struct TCase {
        int X, Y;
        bool Hit;
    };
    for (const TCase& c : {TCase{a + 2, y, true}, TCase{a - 2, y, true}, TCase{a + 3, y, false}, TCase{a, plot.Top, true},
                           TCase{a, plot.Bottom, true}, TCase{a, plot.Top - 1, false}, TCase{a, plot.Bottom + 1, false}})
        EXPECT_EQ(t.Line->ClickedLine(c.X, c.Y), c.Hit) << c.X - a << "," << c.Y;
    t.Chart.SetCursor(crDefault);
    t.Move({a + 2, y});
    EXPECT_EQ(t.Chart.Cursor(), crHSplit);
}

TEST(ColorBandTool, BandRectangleCases)
{
    TToolChart t;
    auto* band = t.AddTool<TColorBandTool>();
    TChartAxis& bottom = t.Chart.BottomAxis();
    TChartAxis& left = t.Chart.LeftAxis();
    band->SetAxis(&bottom);
    t.Paint();
    const TRect plot = t.Chart.ChartRect();
    const int x3 = bottom.CalcXPosValue(3), x6 = bottom.CalcXPosValue(6);
    struct TCase {
        const char* Name;
        double S, E;
        bool Inverted, PenVisible;
        TRect Expected;
    };
    const TCase cases[] = {{"outside on one side", 11, 12, false, true, {0, 0, 0, 0}},
                           {"inside, pen visible", 3, 6, false, true, {x3, plot.Top, x6 + 1, plot.Bottom}},
                           {"swapped ends", 6, 3, false, true, {x3, plot.Top, x6 + 1, plot.Bottom}},
                           {"pen hidden", 3, 6, false, false, {x3, plot.Top, x6, plot.Bottom}},
                           {"straddling", -5, 15, false, true, {bottom.StartPixel, plot.Top, bottom.EndPixel + 1, plot.Bottom}}};
    for (const TCase& c : cases) {
        band->SetStartValue(c.S);
        band->SetEndValue(c.E);
        band->Pen().SetVisible(c.PenVisible);
        EXPECT_EQ(band->BandRect(), c.Expected) << c.Name;
    }
    bottom.SetInverted(true);
    t.Paint();
    band->Pen().SetVisible(true);
    band->SetStartValue(3);
    band->SetEndValue(6);
    const TRect inverted = band->BandRect();
    EXPECT_EQ(inverted.Left, bottom.CalcXPosValue(6)) << "inverted axis";
    EXPECT_EQ(inverted.Right, bottom.CalcXPosValue(3) + 1);
    band->SetStartValue(11);
    band->SetEndValue(12);
    EXPECT_EQ(band->BandRect(), TRect{}) << "inverted, outside";
    bottom.SetInverted(false);

    band->SetAxis(&left);
    t.Paint();
    band->SetStartValue(3);
    band->SetEndValue(6);
    const int y3 = left.CalcYPosValue(3), y6 = left.CalcYPosValue(6);
    EXPECT_EQ(band->BandRect(), (TRect{plot.Left + 1, y6, plot.Right, y3 + 1})) << "vertical, pen visible";
    band->Pen().SetVisible(false);
    EXPECT_EQ(band->BandRect(), (TRect{plot.Left + 1, y6, plot.Right + 1, y3 + 2})) << "vertical, pen hidden";
}

TEST(ColorBandTool, ThePaintingStageFollowsTheFlagsAndTransparencyBlends)
{
    struct TCase {
        bool Behind, BehindAxes;
        int Stage;
    };
    for (const TCase& c : {TCase{true, false, 1}, TCase{false, false, 0}, TCase{true, true, 3}, TCase{false, true, 3}}) {
        TToolChart t;
        auto* band = t.AddTool<TStageBand>();
        band->SetAxis(&t.Chart.BottomAxis());
        band->SetColor(clLime);
        band->Pen().SetVisible(false);
        band->SetDrawBehind(c.Behind);
        band->SetDrawBehindAxes(c.BehindAxes);
        band->SetStartValue(2.2);
        band->SetEndValue(3.8);
        band->Probe = t.At(3, 8);
        EXPECT_EQ(band->PaintStage(), c.Stage);
        band->Seen.clear();
        t.Paint();
        EXPECT_EQ(band->StageShowing(clLime), c.Stage) << c.Behind << c.BehindAxes;
    }
    TToolChart t;
    auto* band = t.AddTool<TColorBandTool>();
    band->SetAxis(&t.Chart.BottomAxis());
    band->SetColor(clRed);
    band->SetStartValue(2.2);
    band->SetEndValue(3.8);
    const QPoint probe = t.At(3, 8.5);
    const TColor back = t.BufferPixel(probe.x(), probe.y());
    band->SetTransparency(50);
    t.Paint();
    const TColor mixed = t.BufferPixel(probe.x(), probe.y());
    EXPECT_NE(mixed, clRed);
    EXPECT_NE(mixed, back);
    EXPECT_NEAR(GetRValue(mixed), (255 + GetRValue(back)) / 2, 3);
    EXPECT_NEAR(GetGValue(mixed), GetGValue(back) / 2, 3);
}

TEST(ColorBandTool, ResizingByTheStartEdgeAndClicks)
{
    TToolChart t;
    auto* band = t.AddTool<TColorBandTool>();
    band->SetAxis(&t.Chart.BottomAxis());
    band->SetStartValue(3);
    band->SetEndValue(6);
    band->SetResizeStart(true);
    int clicks = 0, ups = 0;
    band->OnClick = [&](TPersistent*, TMouseButton, TShiftState, int, int) { ++clicks; };
    band->OnBandMouseUp = [&](TPersistent*) { ++ups; };
    t.Paint();
    EXPECT_EQ(t.Chart.Tools().IndexOf(&band->StartLine()), -1) << "the edge lines are not in the chart's list";
    const int y = t.At(0, 5).y();
    t.Press({t.Chart.BottomAxis().CalcXPosValue(3), y});
    EXPECT_TRUE(band->StartLine().Dragging);
    for (double x : {2.5, 2.0, 1.5}) {
        t.Move({t.Chart.BottomAxis().CalcXPosValue(x), y}, Qt::LeftButton);
        EXPECT_NEAR(band->StartValue(), x, 0.05) << "updated at every move";
    }
    t.Release({t.Chart.BottomAxis().CalcXPosValue(1.5), y});
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(clicks, 1) << "the edge lay inside the band";
    t.Press(t.At(4, 5));
    t.Release(t.At(4, 5));
    EXPECT_EQ(clicks, 2);
    t.Press(t.At(8, 5));
    t.Release(t.At(8, 5));
    EXPECT_EQ(clicks, 2) << "outside the band";
}

TEST(GridBandTool, BandsAlternateAndTwoTicksFillOnlyTheFirst)
{
    TToolChart t;
    TChartAxis& left = t.Chart.LeftAxis();
    left.SetIncrement(2);
    auto* grid = t.AddTool<TGridBandTool>();
    grid->Band1().SetColor(clRed);
    grid->Band2().SetColor(clBlue);
    grid->SetAxis(&left);
    t.Paint();
    ASSERT_GE(left.TickPositions.size(), 5u);
    const int x = t.At(9.5, 0).x();
    std::vector<TColor> colours;
    for (double v : {1.0, 3.0, 5.0, 7.0, 9.0}) colours.push_back(t.BufferPixel(x, left.CalcYPosValue(v)));
    for (TColor c : colours) EXPECT_TRUE(c == clRed || c == clBlue) << std::hex << c;
    for (std::size_t i = 1; i < colours.size(); ++i) EXPECT_NE(colours[i], colours[i - 1]) << "band " << i;

    // Ticks at 8 and 4: the band from the axis' start to 8 only.
    left.SetIncrement(4);
    t.Paint();
    ASSERT_EQ(left.TickPositions.size(), 2u);
    EXPECT_EQ(t.BufferPixel(x, left.CalcYPosValue(9)), clRed);
    for (double v : {7.0, 5.0, 3.0, 1.0}) {
        const TColor c = t.BufferPixel(x, left.CalcYPosValue(v));
        EXPECT_TRUE(c != clRed && c != clBlue) << v;
    }
}

TEST(GridBandTool, AHatchedBandShowsTheBackWallBetweenItsLines)
{
    TToolChart t;
    t.Chart.BackWall().SetColor(clYellow);
    auto* grid = t.AddTool<TGridBandTool>();
    grid->Band1().SetStyle(bsCross);
    grid->Band1().SetColor(clRed);
    grid->Band2().SetStyle(bsCross);
    grid->Band2().SetColor(clRed);
    grid->SetAxis(&t.Chart.LeftAxis());
    EXPECT_EQ(grid->BandBackColor(grid->Band1()), clYellow);
    t.Paint();
    int red = 0, yellow = 0, other = 0;
    const QPoint p = t.At(7, 2);
    for (int dy = 0; dy < 12; ++dy)
        for (int dx = 0; dx < 12; ++dx) {
            const TColor c = t.BufferPixel(p.x() + dx, p.y() + dy);
            (c == clRed ? red : c == clYellow ? yellow : other)++;
        }
    EXPECT_GT(red, 5);
    EXPECT_GT(yellow, 5);
    grid->Band1().SetBackColor(clAqua);
    EXPECT_EQ(grid->BandBackColor(grid->Band1()), clAqua);
}

TEST(GridBandTool, TheAxisHookIsClearedWhenTheToolGoesOrChangesAxis)
{
    TToolChart t;
    auto* grid = t.AddTool<TGridBandTool>();
    grid->SetAxis(&t.Chart.LeftAxis());
    EXPECT_TRUE(bool(t.Chart.LeftAxis().OnDrawGrids));
    grid->SetAxis(&t.Chart.BottomAxis());
    EXPECT_FALSE(bool(t.Chart.LeftAxis().OnDrawGrids));
    EXPECT_TRUE(bool(t.Chart.BottomAxis().OnDrawGrids));
    delete grid;
    EXPECT_FALSE(bool(t.Chart.BottomAxis().OnDrawGrids));
    t.Paint();
}

TEST(AxisLineTools, NamesAndStoredProperties)
{
    TColorLineTool line(nullptr);
    TColorBandTool band(nullptr);
    TGridBandTool grid(nullptr);
    EXPECT_EQ(line.DescriptionText(), "Color Line");
    EXPECT_EQ(line.EditorFormName(), "TColorLineToolEditor");
    EXPECT_EQ(band.DescriptionText(), "Color Band");
    EXPECT_EQ(band.EditorFormName(), "TColorBandToolEditor");
    EXPECT_EQ(grid.DescriptionText(), "Grid Band");
    EXPECT_EQ(grid.EditorFormName(), "TGridBandToolEdit");
    EXPECT_TRUE(band.DrawBehind());
    EXPECT_EQ(band.Color(), clWhite);
    EXPECT_FALSE(band.ResizeStart());
    EXPECT_TRUE(band.StartLine().DragRepaint);
    band.SetStartValue(2);
    band.SetEndValue(4);
    EXPECT_EQ(band.StartLine().Value(), 2);
    EXPECT_EQ(band.EndLine().Value(), 4);
    band.StartLinePen().SetColor(clGreen);
    TColorLineTool copy(nullptr);
    line.SetValue(3);
    line.SetDrawBehind(true);
    copy.Assign(line);
    EXPECT_EQ(copy.Value(), 3);
    EXPECT_TRUE(copy.DrawBehind());
    struct TCase {
        TPersistent* Object;
        const char* Property;
        bool Stored;
    };
    const TCase cases[] = {{&line, "Value", true},        {&line, "DrawBehind", true},  {&line, "Draw3D", false},
                           {&band, "StartValue", true},   {&band, "Color", false},      {&band, "ResizeStart", false},
                           {&band, "DrawBehind", false},  {&grid.Band1(), "BackColor", false}};
    for (const TCase& c : cases) {
        const TPropInfo* p = FindPropInfo(*c.Object, c.Property);
        ASSERT_NE(p, nullptr) << c.Property;
        EXPECT_EQ(IsStoredProp(*c.Object, *p), c.Stored) << c.Property;
    }
}
