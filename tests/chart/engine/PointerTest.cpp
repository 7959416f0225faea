// The series pointer, callout and marks callout: every symbol's figure on the recording device, the
// colours a symbol is drawn in, the margins it asks of the axes, size refusals, the connector and the
// lift of marks, and the repaint switch a gradient symbol leaves as it found it.
#include "EngineKit.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// The figures drawn since the last Clear, as short texts.
std::vector<std::string> Figures(const TRecordingBackend& R)
{
    std::vector<std::string> out;
    for (const auto& r : R.Records) {
        std::ostringstream s;
        if (r.Kind == "LineTo") {
            const auto& pts = r.Shape.Stroke.at(0).Points;
            s << "Line " << pts.front().x << "," << pts.front().y << "-" << pts.back().x << "," << pts.back().y;
        } else if (r.Kind == "Polygon") {
            s << "Polygon";
            for (TPoint p : r.Points) s << " " << p.x << "," << p.y;
        } else if (r.Kind == "Rectangle" || r.Kind == "Ellipse" || r.Kind == "SetPixel") {
            s << r.Kind;
            for (int a : r.Args) s << " " << a;
        } else {
            continue;
        }
        out.push_back(s.str());
    }
    return out;
}

struct TPointerChart : TRecordedChart {
    TPointerSeries Series;
    TPointerChart() { Series.SetParentChart(&Chart); }
    ~TPointerChart() { Series.SetParentChart(nullptr); }
};

} // namespace

TEST(SeriesPointer, EverySymbolsFigure)
{
    struct Case {
        TSeriesPointerStyle Style;
        std::vector<std::string> Figures;
    };
    // Half sizes 4 (across) and 3 (up and down) about (100, 50).
    const Case cases[] = {
        {psRectangle, {"Rectangle 96 47 105 54"}},
        {psCircle, {"Ellipse 96 47 104 53"}},
        {psTriangle, {"Polygon 96,53 104,53 100,47"}},
        {psDownTriangle, {"Polygon 96,47 104,47 100,53"}},
        {psCross, {"Line 100,47-100,54", "Line 96,50-105,50"}},
        {psDiagCross, {"Line 96,47-105,54", "Line 104,47-95,54"}},
        {psStar, {"Line 100,47-100,54", "Line 96,50-105,50", "Line 96,47-105,54", "Line 104,47-95,54"}},
        {psDiamond, {"Polygon 96,50 100,47 104,50 100,53"}},
        {psSmallDot, {"SetPixel 100 50 255"}},
        {psNothing, {}},
        {psLeftTriangle, {"Polygon 96,50 104,53 104,47"}},
        {psRightTriangle, {"Polygon 104,50 96,53 96,47"}},
    };
    TPointerChart c;
    for (const Case& k : cases) {
        SCOPED_TRACE(SeriesPointerStyleNames.NameOf(k.Style));
        c.Recorder->Clear();
        c.Series.Pointer.PrepareCanvas(c.Chart.ChartCanvas(), clRed);
        c.Series.Pointer.PaintSymbol(c.Chart.ChartCanvas(), false, 100, 50, 4, 3, clRed, k.Style);
        EXPECT_EQ(Figures(*c.Recorder), k.Figures);
    }
}

TEST(SeriesPointer, BrushAndPenColoursOfASymbol)
{
    struct Case {
        const char* Name;
        TColor BrushColor;
        TBrushStyle BrushStyle;
        bool EachPoint;
        TColor Expected;
    };
    const Case cases[] = {
        {"default solid takes the point colour", clDefault, bsSolid, false, clRed},
        {"default hatch is black", clDefault, bsCross, false, clBlack},
        {"own colour", clBlue, bsSolid, false, clBlue},
        {"own colour, but each point coloured", clBlue, bsSolid, true, clRed},
    };
    TPointerChart c;
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Name);
        c.Series.Pointer.SetBrushColor(k.BrushColor);
        c.Series.Pointer.Brush().SetStyle(k.BrushStyle);
        c.Series.SetColorEachPoint(k.EachPoint);
        EXPECT_EQ(c.Series.Pointer.PointBrushColor(clRed), k.Expected);
        c.Recorder->Clear();
        c.Series.Pointer.PrepareCanvas(c.Chart.ChartCanvas(), clRed);
        c.Series.Pointer.PaintSymbol(c.Chart.ChartCanvas(), false, 10, 10, 2, 2, clRed, psRectangle);
        ASSERT_EQ(c.Recorder->Records.size(), 1u);
        EXPECT_EQ(c.Recorder->Records[0].Shape.Brush.Color, k.Expected);
    }
    // A pen of the default colour draws in the point colour; a hidden pen draws nothing.
    c.Series.Pointer.Pen().SetColor(clDefault);
    c.Series.Pointer.PrepareCanvas(c.Chart.ChartCanvas(), clGreen);
    EXPECT_EQ(c.Chart.ChartCanvas().Pen().Color(), clGreen);
    c.Series.Pointer.Pen().SetVisible(false);
    c.Series.Pointer.PrepareCanvas(c.Chart.ChartCanvas(), clGreen);
    EXPECT_EQ(c.Chart.ChartCanvas().Pen().Style(), psClear);
}

TEST(SeriesPointer, MarginsAndSizes)
{
    TSeriesPointer p(nullptr);
    int l = 2, r = 9;
    p.WidenHorizMargins(l, r);
    EXPECT_EQ(l, 5);
    EXPECT_EQ(r, 9);
    p.SetVertSize(6);
    int t = 0, b = 0;
    p.WidenVertMargins(t, b);
    EXPECT_EQ(t, 7);
    EXPECT_EQ(b, 7);
    for (auto hide : {+[](TSeriesPointer& q) { q.SetVisible(false); },
                      +[](TSeriesPointer& q) { q.SetInflateMargins(false); }}) {
        TSeriesPointer q(nullptr);
        hide(q);
        int a = 1, z = 2;
        q.WidenHorizMargins(a, z);
        EXPECT_EQ(a, 1);
        EXPECT_EQ(z, 2);
    }
    for (int bad : {0, -3}) {
        try {
            p.SetHorizSize(bad);
            ADD_FAILURE();
        } catch (const ChartException& e) {
            EXPECT_EQ(e.Message(), "Pointer size must be greater than zero");
        }
    }
    EXPECT_EQ(p.HorizSize(), 4);
    p.StoreHorizSize(0); // unchecked, for readers of stored settings
    EXPECT_EQ(p.HorizSize(), 0);
}

TEST(SeriesPointer, CalloutConnectorAndMarksLift)
{
    TPointerChart c;
    TCallout callout(&c.Series);
    EXPECT_TRUE(callout.Visible());
    EXPECT_FALSE(callout.Draw3D());
    EXPECT_EQ(callout.GetBrushColor(), clBlack);
    callout.Arrow().SetColor(clRed);
    c.Recorder->Clear();
    callout.PaintConnector(clBlue, {10, 60}, 0, {10, 20});
    // The line from the mark to the point, then the flat symbol at the point in the brush colour.
    const std::vector<std::string> f = Figures(*c.Recorder);
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0], "Line 10,20-10,60");
    EXPECT_EQ(f[1], "Rectangle 6 56 15 65");
    EXPECT_EQ(c.Recorder->Records.back().Shape.Brush.Color, clBlack);

    callout.SetArrowHead(ahSolid);
    c.Recorder->Clear();
    callout.PaintConnector(clBlue, {10, 60}, 0, {10, 20});
    EXPECT_TRUE(c.Recorder->OfKind("Rectangle").empty()); // no symbol with an arrow head

    TMarksCallout marks(&c.Series);
    EXPECT_FALSE(marks.Visible());
    EXPECT_EQ(marks.Length(), 8);
    EXPECT_FALSE(marks.LengthStored());
    TSeriesMarkPosition p;
    p.ArrowFrom = p.ArrowTo = {50, 100};
    p.LeftTop = {40, 80};
    marks.ApplyToPosition(p);
    EXPECT_EQ(p.LeftTop.y, 72);
    EXPECT_EQ(p.ArrowTo.y, 92);
    EXPECT_EQ(p.ArrowFrom.y, 100);
    marks.SetDistance(3);
    marks.ApplyToPosition(p);
    EXPECT_EQ(p.LeftTop.y, 61);
    EXPECT_EQ(p.ArrowFrom.y, 97);
    marks.SetLength(2);
    EXPECT_TRUE(marks.LengthStored());
}

TEST(SeriesPointer, GradientSymbolEndsInThePointColourAndKeepsTheRepaintSwitch)
{
    TPointerChart c;
    TSeriesPointer& p = c.Series.Pointer;
    p.Gradient().SetVisible(true);
    p.Gradient().SetStartColor(clWhite);
    c.Chart.SetAutoRepaint(true);
    c.Recorder->Clear();
    p.PaintSymbol(c.Chart.ChartCanvas(), false, 100, 50, 4, 4, clRed, psDiamond);
    EXPECT_EQ(p.Gradient().EndColor(), clRed);
    EXPECT_TRUE(c.Chart.AutoRepaint());
    EXPECT_GT(c.Recorder->Records.size(), 1u);
    // A callout's gradient keeps its own end colour.
    TCallout callout(&c.Series);
    callout.Gradient().SetVisible(true);
    callout.Gradient().SetEndColor(clYellow);
    callout.PaintSymbol(c.Chart.ChartCanvas(), false, 100, 50, 4, 4, clRed, psRectangle);
    EXPECT_EQ(callout.Gradient().EndColor(), clYellow);
}

TEST(SeriesPointer, AssignCopiesEverySetting)
{
    TSeriesPointer a(nullptr), b(nullptr);
    a.SetStyle(psStar);
    a.SetHorizSize(7);
    a.SetVertSize(2);
    a.SetDark3D(false);
    a.SetDraw3D(false);
    a.SetInflateMargins(false);
    a.SetTransparency(40);
    a.SetVisible(false);
    a.Brush().SetColor(clLime);
    a.Gradient().SetVisible(true);
    b.Assign(a);
    EXPECT_EQ(b.Style(), psStar);
    EXPECT_EQ(b.HorizSize(), 7);
    EXPECT_EQ(b.VertSize(), 2);
    EXPECT_FALSE(b.Dark3D());
    EXPECT_FALSE(b.Draw3D());
    EXPECT_FALSE(b.InflateMargins());
    EXPECT_EQ(b.Transparency(), 40);
    EXPECT_FALSE(b.Visible());
    EXPECT_EQ(b.GetBrushColor(), clLime);
    EXPECT_TRUE(b.Gradient().Visible());

    TMarksCallout m1(nullptr), m2(nullptr);
    m1.SetLength(20);
    m1.SetDistance(4);
    m1.SetArrowHeadSize(3);
    m2.Assign(m1);
    EXPECT_EQ(m2.Length(), 20);
    EXPECT_EQ(m2.Distance(), 4);
    EXPECT_EQ(m2.ArrowHeadSize(), 3);
}
