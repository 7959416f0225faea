// The self-painted scroll bar and the legend's: its parts' rectangles, grey arrows at the ends, steps by
// arrow, track and thumb, the repeat timer, paging, the legend's size hook and the order of freeing.
#include "ChartTestSupport.h"

#include "chart/control/LumLegendScrollBar.h"
#include "platform/controls/ExtCtrls.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

// A bar with a fixed range, host rectangle and page.
class TFixedBar : public TLumScrollBar {
public:
    explicit TFixedBar(TComponent* AOwner = nullptr) : TLumScrollBar(AOwner) {}
    bool GetHostRect(TRect& Rect) override
    {
        Rect = Host;
        return true;
    }
    TRect Host{100, 50, 300, 250};
};

TEST(ScrollBar, PartsAsATable)
{
    // Host (100, 50, 300, 250), Size 18 (d = 3), position 10 of 100, page 20: track 164 pixels, ratio 1.64.
    struct TCase {
        bool Horizontal;
        TRect Bar, Track, Start, End, Thumb;
        std::array<TPoint, 3> StartTri, EndTri;
    };
    const TCase cases[] = {
        {true, {100, 249, 300, 268}, {118, 249, 282, 268}, {100, 250, 118, 268}, {282, 250, 300, 268},
         {134, 250, 168, 268}, {TPoint{103, 259}, TPoint{115, 253}, TPoint{115, 265}},
         {TPoint{297, 259}, TPoint{285, 253}, TPoint{285, 265}}},
        {false, {281, 50, 300, 250}, {281, 68, 300, 232}, {281, 50, 300, 68}, {281, 232, 300, 250},
         {282, 84, 300, 118}, {TPoint{284, 62}, TPoint{290, 53}, TPoint{296, 62}},
         {TPoint{284, 238}, TPoint{290, 247}, TPoint{296, 238}}},
    };
    for (const TCase& c : cases) {
        TFixedBar bar;
        bar.MaxPosition = 100;
        bar.PageSize = 20;
        bar.Position = 10;
        bar.Horizontal = c.Horizontal;
        bar.HostRect = bar.Host;
        bar.ComputeThumb();
        bar.ComputeArrows();
        EXPECT_EQ(bar.BarRect(), c.Bar) << c.Horizontal;
        EXPECT_EQ(bar.TrackRect(), c.Track) << c.Horizontal;
        EXPECT_EQ(bar.StartArrowRect(), c.Start) << c.Horizontal;
        EXPECT_EQ(bar.EndArrowRect(), c.End) << c.Horizontal;
        // Thumb: size round(20 × 1.64) = 33, start 50|100 + round(10 × 1.64) + 18, end start + size + 1.
        EXPECT_EQ(bar.ThumbSize, 33);
        EXPECT_EQ(bar.ThumbRect(), c.Thumb) << c.Horizontal;
        EXPECT_EQ(bar.StartArrowPoints, c.StartTri) << c.Horizontal;
        EXPECT_EQ(bar.EndArrowPoints, c.EndTri) << c.Horizontal;
    }
    // Never shorter than MinThumbSize; a horizontal thumb narrower than 2 pixels gains one.
    TFixedBar bar;
    bar.MaxPosition = 100000;
    bar.PageSize = 1;
    bar.Horizontal = true;
    bar.HostRect = bar.Host;
    bar.ComputeThumb();
    EXPECT_EQ(bar.ThumbSize, 4);
    EXPECT_EQ(bar.ThumbEnd - bar.ThumbStart, 5);
    bar.SetMinThumbSize(0);
    bar.ComputeThumb();
    EXPECT_EQ(bar.ThumbRect().Right - bar.ThumbRect().Left, 2);
}

// A bar drawn by a chart, with a probe of its arrow colours.
struct TBarChart {
    TChart Chart{nullptr};
    TFixedBar* Bar = new TFixedBar(&Chart);
    TBarChart()
    {
        Chart.SetBounds(0, 0, 400, 320);
        Chart.SetView3D(false);
        Bar->SetParentChart(&Chart);
        Bar->ArrowBrush().SetColor(clBlack);
        Bar->MaxPosition = 100;
        Bar->PageSize = 20;
        Bar->HostRect = Bar->Host;  // a vertical bar inside the host's right edge, as painted
    }
    // The colour inside the start and the end triangle.
    std::pair<TColor, TColor> Arrows()
    {
        auto b = RenderChart(Chart);
        const auto centre = [](const std::array<TPoint, 3>& t) {
            return TPoint{(t[0].x + t[1].x + t[2].x) / 3, (t[0].y + t[1].y + t[2].y) / 3};
        };
        const TPoint s = centre(Bar->StartArrowPoints), e = centre(Bar->EndArrowPoints);
        return {b->PixelRGB(s.x, s.y), b->PixelRGB(e.x, e.y)};
    }
};

TEST(ScrollBar, ArrowsGreyAtBothEndsAndClicksThere)
{
    TBarChart t;
    int scrolled = 0;
    t.Bar->OnScrolled = [&](TPersistent*) { ++scrolled; };
    EXPECT_EQ(t.Arrows(), std::make_pair(TColor(0x808080), TColor(0)));
    // At 0 a click on the start arrow changes nothing: no event, no timer.
    t.Bar->MouseDownAt({290, 55});
    t.Bar->MouseRelease();
    EXPECT_EQ(t.Bar->Position, 0);
    EXPECT_EQ(scrolled, 0);
    EXPECT_EQ(t.Bar->RepeatTimer(), nullptr);

    t.Bar->Position = 80;  // the last position: max - page
    EXPECT_EQ(t.Arrows(), std::make_pair(TColor(0), TColor(0x808080)));
    t.Bar->MouseDownAt({295, 245});
    EXPECT_EQ(t.Bar->Position, 80);
    EXPECT_EQ(scrolled, 1);  // the same position again, with the event and the timer
    ASSERT_NE(t.Bar->RepeatTimer(), nullptr);
    EXPECT_TRUE(t.Bar->RepeatTimer()->Enabled());
    // Held arrows are grey too.
    t.Bar->Position = 40;
    t.Bar->MouseDownAt({295, 245});
    EXPECT_EQ(t.Arrows().second, TColor(0x808080));
    t.Bar->MouseRelease();
    EXPECT_FALSE(t.Bar->RepeatTimer()->Enabled());
}

TEST(ScrollBar, TrackStepsAQuarterPageAndTheThumbAddsUpSmallMoves)
{
    TBarChart t;
    t.Bar->Horizontal = false;
    t.Bar->HostRect = t.Bar->Host;
    t.Bar->Position = 40;
    t.Bar->ComputeThumb();
    t.Bar->MouseDownAt({290, t.Bar->ThumbEnd + 10});
    EXPECT_EQ(t.Bar->Position, 45);  // 20 div 4
    t.Bar->ComputeThumb();
    t.Bar->MouseDownAt({290, t.Bar->ThumbStart - 3});
    EXPECT_EQ(t.Bar->Position, 40);
    t.Bar->PageSize = 3;  // fewer than four shown: a track step is 0
    t.Bar->ComputeThumb();
    t.Bar->MouseDownAt({290, t.Bar->ThumbEnd + 10});
    EXPECT_EQ(t.Bar->Position, 40);

    // Dragging: 164 track pixels for 100 positions; moves of one pixel add up to whole positions.
    t.Bar->PageSize = 20;
    t.Bar->ComputeThumb();
    const int y0 = t.Bar->ThumbStart + 2;
    t.Bar->MouseDownAt({290, y0});
    ASSERT_TRUE(t.Bar->ThumbDragging);
    t.Bar->MouseMoveAt(290, y0 + 1, TShiftState{ssLeft});
    EXPECT_EQ(t.Bar->Position, 40);
    t.Bar->MouseMoveAt(290, y0 + 2, TShiftState{ssLeft});  // 2 × 100 / 164 ≥ 1
    EXPECT_EQ(t.Bar->Position, 41);
    EXPECT_EQ(t.Bar->LastMouse.y, y0 + 2);
    t.Bar->MouseMoveAt(290, y0 + 40, TShiftState{});  // without the left button: nothing
    EXPECT_EQ(t.Bar->Position, 41);
    t.Bar->MouseMoveAt(290, y0 + 2 - 33, TShiftState{ssLeft});  // back by 33 pixels: about 20 positions
    EXPECT_EQ(t.Bar->Position, 21);
}

TEST(ScrollBar, RepeatsAfterTheInitialDelayThenEvery50)
{
    for (int delay : {250, 40}) {
        TBarChart t;
        t.Bar->InitialDelay = delay;
        t.Bar->MouseDownAt({295, 245});  // end arrow
        EXPECT_EQ(t.Bar->Position, 1);
        TTimer* timer = t.Bar->RepeatTimer();
        ASSERT_NE(timer, nullptr);
        EXPECT_EQ(timer->Interval(), delay);
        std::vector<int> intervals;
        for (int tick = 0; tick < 3; ++tick) {
            timer->OnTimer(timer);
            intervals.push_back(timer->Interval());
        }
        EXPECT_EQ(t.Bar->Position, 4);
        EXPECT_EQ(intervals, std::vector<int>(3, std::min(delay, 50))) << delay;
        t.Bar->MouseRelease();
        EXPECT_FALSE(timer->Enabled());
    }
}

TEST(ScrollBar, SizeFiresOnlyOnAChange)
{
    TFixedBar bar;
    int changes = 0;
    bar.OnChangeSize = [&](TPersistent*) { ++changes; };
    bar.SetSize(18);
    bar.SetSize(7);
    bar.SetSize(7);
    EXPECT_EQ(changes, 1);
}

// ---- The legend's bar --------------------------------------------------------------------------------------

struct TScrollLegendChart {
    TChart Chart{nullptr};
    TLegendScrollBar* Bar = new TLegendScrollBar(nullptr);
    TScrollLegendChart(int Series, TLegendAlignment Alignment)
    {
        Chart.SetBounds(0, 0, 500, 300);
        Chart.SetView3D(false);
        Chart.Legend().SetAlignment(Alignment);
        Chart.Legend().SetLegendStyle(lsSeries);
        for (int i = 0; i < Series; ++i) AddSeries(Chart, {1, 2, 3}, "S" + std::to_string(i));
    }
};

TEST(LegendScrollBar, SizeHookWidensTheLegendByTheBar)
{
    struct TCase {
        TLegendAlignment Alignment;
        bool Horizontal;
    };
    for (const TCase c : {TCase{laRight, false}, TCase{laLeft, false}, TCase{laBottom, true}}) {
        TScrollLegendChart with(30, c.Alignment), without(30, c.Alignment);
        with.Bar->SetSize(7);
        with.Bar->SetParentChart(&with.Chart);
        RenderChart(without.Chart);
        auto b = RenderChart(with.Chart);
        if (const char* dir = std::getenv("VSP_CHART_RENDER_DIR")) {
            TPngImage png;
            png.Assign(*b);
            png.SaveToFile(std::string(dir) + "/legend-scroll-bar-" + std::string(LegendAlignmentNames.NameOf(c.Alignment)) + ".png");
        }
        const TRect a = with.Chart.Legend().ShapeRect(), o = without.Chart.Legend().ShapeRect();
        if (c.Horizontal) {
            EXPECT_EQ(a.Right - a.Left, o.Right - o.Left);
            EXPECT_EQ(o.Bottom - a.Bottom, 8);  // a bottom legend stands 8 pixels higher
        } else {
            EXPECT_EQ((a.Right - a.Left) - (o.Right - o.Left), 8) << c.Alignment;
        }
        EXPECT_EQ(with.Bar->Horizontal, c.Horizontal);
        EXPECT_EQ(with.Bar->HostRect, a);
        // The bar's outline stands inside the legend's right edge (or under its bottom edge).
        const TRect bar = with.Bar->BarRect();
        EXPECT_EQ(b->PixelRGB(bar.Left, (bar.Top + bar.Bottom) / 2), 0) << c.Alignment;
        // Without the bar the hook is gone.
        with.Bar->SetParentChart(nullptr);
        EXPECT_FALSE(bool(with.Chart.Legend().SizeHook));
        delete with.Bar;
        delete without.Bar;
    }
}

TEST(LegendScrollBar, AWideTitleEndsBeforeTheBar)
{
    // The legend takes the title's width first and then the bar's room, on either side.
    const std::string title = "A legend title far wider than its items";
    for (const TLegendAlignment alignment : {laRight, laLeft}) {
        SCOPED_TRACE(LegendAlignmentNames.NameOf(alignment));
        TScrollLegendChart t(30, alignment);
        std::unique_ptr<TLegendScrollBar> bar(t.Bar);
        bar->SetSize(12);
        bar->SetParentChart(&t.Chart);
        TChartLegend& legend = t.Chart.Legend();
        legend.Title().Text().Add(title);
        RenderChart(t.Chart);
        TCanvas3D& canvas = t.Chart.ChartCanvas();
        canvas.SelectFont(legend.Title().Font());
        const int textRight = legend.Title().ShapeRect().Left + canvas.MeasureTextWidth("W") / 2 +
                              canvas.MeasureTextWidth(title);
        ASSERT_GT(canvas.MeasureTextWidth(title), legend.Layout().TextWidth) << "the title is the widest part";
        EXPECT_LE(textRight, bar->BarRect().Left);
        EXPECT_EQ(bar->BarRect().Right, legend.ShapeRect().Right) << "the bar stands at the legend's right edge";
    }
}

TEST(LegendScrollBar, PagesTheLegendAndTheChart)
{
    TScrollLegendChart t(30, laRight);
    t.Bar->SetParentChart(&t.Chart);
    RenderChart(t.Chart);
    const int shown = t.Chart.Legend().Layout().LastValue + 1;
    ASSERT_GT(shown, 4);
    ASSERT_LT(shown, 30);
    EXPECT_EQ(t.Bar->GetPageSize(), shown);
    EXPECT_EQ(t.Bar->GetMaxPosition(), 30);
    t.Bar->MouseDownAt({t.Bar->EndArrowRect().Left + 2, t.Bar->EndArrowRect().Top + 2});
    EXPECT_EQ(t.Chart.Legend().FirstValue(), 1);
    EXPECT_EQ(t.Bar->Position, 0);  // the legend's position is the legend's
    t.Bar->MouseRelease();

    // Paged: positions are pages and every step is one page.
    t.Chart.SetMaxPointsPerPage(1);
    RenderChart(t.Chart);
    EXPECT_EQ(t.Bar->GetMaxPosition(), t.Chart.CountPages());
    EXPECT_EQ(t.Bar->GetPageSize(), 1);
    EXPECT_EQ(t.Bar->GetLargeStep(), 1);
    t.Bar->ScrollBy(1, false);
    EXPECT_EQ(t.Chart.Page(), 2);
    EXPECT_EQ(t.Bar->GetPosition(), 1);
}

TEST(LegendScrollBar, WhenNeededOnlyWhileItemsAreOutOfSight)
{
    TScrollLegendChart few(3, laRight), many(30, laRight);
    for (TScrollLegendChart* t : {&few, &many}) {
        t->Bar->DrawStyle = dsWhenNeeded;
        t->Bar->SetParentChart(&t->Chart);
        RenderChart(t->Chart);
    }
    TRect r;
    EXPECT_FALSE(few.Bar->GetHostRect(r));
    EXPECT_TRUE(many.Bar->GetHostRect(r));
    EXPECT_EQ(many.Bar->DescriptionText(), "Legend Scrollbar");
}

TEST(LegendScrollBar, ChartAndBarFreedInEitherOrder)
{
    {
        auto chart = std::make_unique<TChart>(nullptr);
        auto* bar = new TLegendScrollBar(nullptr);
        bar->SetParentChart(chart.get());
        delete bar;  // the bar first: the legend loses the hook
        EXPECT_FALSE(bool(chart->Legend().SizeHook));
        RenderChart(*chart);
    }
    {
        auto chart = std::make_unique<TChart>(nullptr);
        auto* bar = new TLegendScrollBar(nullptr);
        bar->SetParentChart(chart.get());
        chart.reset();  // the chart first frees its tools, the bar among them
    }
}

} // namespace
