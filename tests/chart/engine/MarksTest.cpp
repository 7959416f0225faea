// Series marks: the text of every style as a table, item texts and the text event; marks measured and
// placed on their points (2-D on the recorder, 3-D projected), thinning, user-placed positions, overlap
// avoidance, hit tests, the callout's lift and the symbol.
#include "EngineKit.h"

#include <gtest/gtest.h>

namespace {

// A chart whose legend gives every item the text "<title> #<index>" in two columns.
class TLegendChart : public TTestChart {
public:
    void LegendItemText(TChartSeries* Series, int Index, std::string& Text) const override
    {
        Text = Series->Title() + "\x06#" + std::to_string(Index);
    }
};

struct TMarksChart : TRecordedChart {
    TPointerSeries Series;
    explicit TMarksChart(const std::vector<double>& Ys, const std::vector<double>& Xs = {})
    {
        for (std::size_t i = 0; i < Ys.size(); ++i) Series.InsertPoint(Xs.empty() ? double(i) : Xs[i], Ys[i]);
        Series.SetParentChart(&Chart);
        Scale(Chart.BottomAxis());
        Scale(Chart.LeftAxis());
        Series.ComputeVisibleIndexRange();
        Series.Marks().SetVisible(true);
        Series.Marks().SetStyle(smsValue);
    }
    ~TMarksChart() { Series.SetParentChart(nullptr); }

    // Whether a rectangle (the box outline) was drawn at exactly this place.
    bool DrewBox(const TRect& r) const
    {
        for (const auto* rec : Recorder->OfKind("Rectangle"))
            if (rec->Args == std::vector<int>{r.Left, r.Top, r.Right, r.Bottom}) return true;
        return false;
    }
    TRect BoxOf(const TSeriesMarkPosition& p) const
    {
        return {p.LeftTop.x, p.LeftTop.y, p.LeftTop.x + p.Width, p.LeftTop.y + p.Height};
    }

    // Texts written since the last Clear with their anchor.
    std::vector<std::tuple<int, int, std::string>> Written() const
    {
        std::vector<std::tuple<int, int, std::string>> out;
        for (const auto* r : Recorder->OfKind("TextOut")) out.emplace_back(r->Args[0], r->Args[1], r->Text);
        return out;
    }
};

} // namespace

TEST(SeriesMarks, TextOfEveryStyle)
{
    struct Case {
        TSeriesMarksStyle Style;
        bool MultiLine;
        int Index;
        std::string Text;
    };
    const Case cases[] = {
        {smsValue, false, 0, "10"},
        {smsPercent, false, 0, "10 %"},
        {smsLabel, false, 0, ""},
        {smsLabel, false, 1, "B"},
        {smsLabelPercent, false, 1, "B 20 %"},
        {smsLabelValue, false, 0, " 10"},
        {smsLabelValue, true, 1, "B\r20"},
        {smsPercentTotal, false, 2, "30 % of 100"},
        {smsPercentTotal, true, 2, "30 %\rof 100"},
        {smsLabelPercentTotal, false, 1, "B 20 % of 100"},
        {smsXValue, false, 3, "4"},
        {smsXY, false, 3, "4 40"},
        {smsXY, true, 3, "4\r40"},
        {smsLegend, false, 2, "S #2"},
        {smsLegend, true, 2, "S\x06#2"},
    };
    TLegendChart chart;
    TTestSeries s;
    s.SetTitle("S");
    for (double y : {10, 20, -30, 40}) s.AppendValue(y);
    s.XValues().FillWithIndices();
    for (int i = 0; i < 4; ++i) s.ChangeXValueAt(i, i + 1);
    s.SetPointLabel(1, "B");
    s.SetParentChart(&chart);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(SeriesMarksStyleNames.NameOf(c.Style)) + (c.MultiLine ? " multi" : ""));
        s.Marks().SetStyle(c.Style);
        s.Marks().SetMultiLine(c.MultiLine);
        EXPECT_EQ(s.ComposeMarkText(c.Index), c.Text);
    }
    // A point's item text wins over any style; the text event has the last word.
    s.Marks().Items().ItemAt(3).Text().Add("one");
    s.Marks().Items().ItemAt(3).Text().Add("two");
    EXPECT_EQ(s.ComposeMarkText(3), "one\r\ntwo");
    s.OnGetMarkText = [](TChartSeries*, int index, std::string& text) { text += "!" + std::to_string(index); };
    EXPECT_EQ(s.ComposeMarkText(3), "one\r\ntwo!3");
    s.SetParentChart(nullptr);
}

TEST(SeriesMarks, MarksSitOnTheirPointsIn2D)
{
    TMarksChart c({12, 345});
    c.Recorder->Clear();
    c.Series.PaintMarks();
    // Fixed metrics: 5 pixels a character, 11 a line; the frame adds 2, "W" 5.
    const auto texts = c.Written();
    ASSERT_EQ(texts.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const std::string text = i == 0 ? "12" : "345";
        const int w = 5 * static_cast<int>(text.size()) + 5 + 2, h = 11 + 2;
        const TSeriesMarkPosition* p = c.Series.Marks().Positions().PositionAt(i);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->ArrowTo, (TPoint{c.Series.ScreenXOf(i), c.Series.ScreenYOf(i)}));
        EXPECT_EQ(p->Width, w);
        EXPECT_EQ(p->Height, h);
        EXPECT_EQ(p->LeftTop, (TPoint{p->ArrowTo.x - w / 2, p->ArrowTo.y - h + 1}));
        // Centred, one frame pixel down, shifted right by 2.
        EXPECT_EQ(texts[i], std::make_tuple(p->LeftTop.x + 2 + w / 2, p->LeftTop.y + 1, text));
    }
    EXPECT_TRUE(c.DrewBox(c.BoxOf(*c.Series.Marks().Positions().PositionAt(0))));
}

TEST(SeriesMarks, ThinningEmptyTextsAndHiddenItems)
{
    TMarksChart c({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    c.Series.Marks().SetDrawEvery(3);
    std::vector<int> asked;
    c.Series.OnBeforeMark = [&](TChartSeries*, int i) { asked.push_back(i); };
    c.Recorder->Clear();
    c.Series.PaintMarks();
    EXPECT_EQ(asked, (std::vector<int>{0, 3, 6, 9}));
    EXPECT_EQ(c.Written().size(), 4u);

    c.Series.Marks().SetDrawEvery(0); // taken as every point rather than dividing by zero
    c.Series.Marks().Items().ItemAt(1).SetVisible(false);
    c.Series.Marks().SetStyle(smsLabel);
    c.Series.SetPointLabel(0, "a");
    c.Series.SetPointLabel(1, "b");
    c.Recorder->Clear();
    c.Series.PaintMarks();
    ASSERT_EQ(c.Written().size(), 1u);
    EXPECT_EQ(std::get<2>(c.Written()[0]), "a");
}

TEST(SeriesMarks, UserPlacedMarksStayUntilCleared)
{
    TMarksChart c({5});
    c.Series.PaintMarks();
    TSeriesMarkPosition moved = *c.Series.Marks().Positions().PositionAt(0);
    const TPoint computed = moved.LeftTop;
    moved.LeftTop = {computed.x + 30, computed.y - 40};
    c.Series.Marks().Positions().StoreCustomPosition(0, moved);
    c.Recorder->Clear();
    c.Series.PaintMarks();
    EXPECT_TRUE(c.DrewBox(c.BoxOf(moved)));
    EXPECT_EQ(c.Series.Marks().MarkAtPoint(computed.x + 31, computed.y - 39), 0);
    EXPECT_EQ(c.Series.Marks().MarkAtPoint(computed.x + 1, computed.y + 1), -1);

    c.Series.Marks().ClearCustomPositions();
    c.Recorder->Clear();
    c.Series.PaintMarks();
    moved.LeftTop = computed;
    EXPECT_TRUE(c.DrewBox(c.BoxOf(moved)));
}

TEST(SeriesMarks, HitTestsTakeTheLastBoxEdgesIncluded)
{
    TTestSeries s;
    for (int i = 0; i < 4; ++i) s.AppendValue(i);
    TSeriesMarksPositions& positions = s.Marks().Positions();
    auto place = [&](int i, int x, int y) {
        TSeriesMarkPosition& p = positions.Ensure(i);
        p.LeftTop = {x, y};
        p.Width = 20;
        p.Height = 10;
    };
    place(0, 0, 0);
    place(1, 10, 5);
    place(3, 100, 100);
    struct Case {
        int X, Y, Expected;
    };
    const Case cases[] = {{0, 0, 0}, {20, 10, 1}, {15, 7, 1}, {5, 2, 0}, {21, 3, -1}, {120, 110, 3}, {121, 110, -1}};
    for (const Case& c : cases) EXPECT_EQ(s.Marks().MarkAtPoint(c.X, c.Y), c.Expected) << c.X << "," << c.Y;
    s.Marks().SetDrawEvery(3); // only marks that are drawn are hit
    EXPECT_EQ(s.Marks().MarkAtPoint(15, 7), 0);
    EXPECT_EQ(s.Marks().MarkAtPoint(120, 110), 3);
}

TEST(SeriesMarks, OverlappingMarksMoveApart)
{
    TTestSeries s;
    for (int i = 0; i < 2; ++i) s.AppendValue(i);
    // Boxes grow by the frame (1) and the marks' shadow (1) to the right and below.
    TSeriesMarkPosition& first = s.Marks().Positions().Ensure(0);
    first.LeftTop = {0, 0};
    first.Width = 20;
    first.Height = 10;
    struct Case {
        const char* Name;
        int Top;
        int ExpectedTop;
    };
    const Case cases[] = {
        {"above, overlapping by 5", -7, -12},
        {"below, overlapping by 5", 7, 12},
        {"clear of it", 20, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TSeriesMarkPosition p;
        p.LeftTop = {5, c.Top};
        p.ArrowTo = {15, c.Top + 20};
        p.Width = 20;
        p.Height = 10;
        s.Marks().ShiftToAvoidOverlap(0, 1, p);
        EXPECT_EQ(p.LeftTop.y, c.ExpectedTop);
        EXPECT_EQ(p.ArrowTo.y, c.ExpectedTop + 20);
    }
}

TEST(SeriesMarks, CalloutLiftsAndSymbolWidensTheBox)
{
    TMarksChart c({12});
    c.Series.PaintMarks();
    const TSeriesMarkPosition plain = *c.Series.Marks().Positions().PositionAt(0);

    // The callout lifts the mark by its length; its connector runs from the point to the box.
    TSeriesMarkPosition lifted = plain;
    c.Series.Marks().DrawMarkCallout(lifted);
    EXPECT_EQ(lifted.LeftTop, plain.LeftTop); // no callout yet: nothing moves
    c.Series.Marks().Callout().SetVisible(true);
    c.Series.Marks().DrawMarkCallout(lifted);
    EXPECT_EQ(lifted.LeftTop.y, plain.LeftTop.y - 8);
    EXPECT_EQ(lifted.ArrowFrom, plain.ArrowFrom);
    c.Recorder->Clear();
    c.Series.PaintMark(0, "12", lifted);
    bool connector = false;
    for (const auto* r : c.Recorder->OfKind("LineTo")) {
        const auto& pts = r->Shape.Stroke.at(0).Points;
        connector = connector || (pts.front().y == lifted.ArrowTo.y && pts.back().y == plain.ArrowTo.y);
    }
    EXPECT_TRUE(connector);

    // A shown symbol adds its room (character height less 4) and is filled in the point colour.
    c.Series.Marks().Callout().SetVisible(false);
    c.Series.Marks().Symbol().SetVisible(true);
    c.Recorder->Clear();
    c.Series.PaintMarks();
    const TSeriesMarkPosition* withSymbol = c.Series.Marks().Positions().PositionAt(0);
    EXPECT_EQ(withSymbol->Width, plain.Width + 11 - 4);
    bool symbolFilled = false;
    for (const auto* r : c.Recorder->OfKind("Rectangle"))
        symbolFilled = symbolFilled || r->Shape.Brush.Color == c.Series.PointColor(0);
    EXPECT_TRUE(symbolFilled);
}

TEST(SeriesMarks, MarksFollowTheProjectionIn3D)
{
    TSeriesChart chart;
    chart.Chart.SetView3D(true);
    chart.Chart.View3DOptions().SetOrthogonal(true);
    chart.Chart.View3DOptions().SetOrthoAngle(45);
    TPointerSeries& s = chart.Add({3, 5, 4});
    s.Marks().SetVisible(true);
    s.Marks().SetStyle(smsValue);
    chart.Render();
    ASSERT_GT(chart.Chart.Width3D(), 0);
    const TSeriesMarkPosition* p = s.Marks().Positions().PositionAt(1);
    ASSERT_NE(p, nullptr);
    const TPoint projected = chart.Chart.ChartCanvas().ProjectXYZ(p->ArrowTo.x, p->ArrowTo.y, s.MiddleZ());
    ASSERT_NE(projected, p->ArrowTo);
    const TPoint lt = s.Marks().ProjectLeftTop(p->ArrowTo, p->LeftTop);
    EXPECT_EQ(lt, (TPoint{p->LeftTop.x + projected.x - p->ArrowTo.x, p->LeftTop.y + projected.y - p->ArrowTo.y}));
    EXPECT_EQ(s.Marks().MarkAtPoint(lt.x + 1, lt.y + 1), 1);
}
