// How bar series share a category axis of 600 pixels: slots, widths, left edges and margins for each
// mode; stacking, stacked to 100 % and self-stacking with their origins, ends and axis extents; the
// marks' room; the shared mode, depth and draw order of related series; the gallery's "Stack".
#include "SeriesTestSupport.h"

#include "chart/control/Chart.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A panel of 700 x 400 whose chart rectangle (40, 20, 640, 320) gives the bottom axis 600 pixels.
struct TBarBench : TSeriesBench {
    TBarBench()
    {
        Chart.SetBounds(0, 0, 700, 400);
        Chart.SetChartRect({40, 20, 640, 320});
        Chart.RecalcChartRect();
    }
    // Horizontal bars of these values at categories 0, 1, 2, ...
    THorizBarSeries& AddHoriz(const std::vector<double>& Values)
    {
        std::vector<double> categories;
        for (std::size_t i = 0; i < Values.size(); ++i) categories.push_back(double(i));
        return Add<THorizBarSeries>(categories, Values);
    }
    int X(double V) { return Chart.BottomAxis().CalcXPosValue(V); }
    int Y(double V) { return Chart.LeftAxis().CalcYPosValue(V); }
};

std::vector<double> Ones(int N) { return std::vector<double>(static_cast<std::size_t>(N), 1.0); }

} // namespace

TEST(BarLayout, WidthsAndEdgesOnA600PixelAxis)
{
    struct TCase {
        const char* name;
        int series;           // related TBarSeries, each of `points` points
        int points;
        TMultiBar mode;
        std::function<void(TBarBench&, TBarSeries&)> setUp;
        int maxPointCount;
        int width;
        std::vector<int> offsets; // left edge minus the category pixel, per series
        int margin;
    };
    const TCase cases[] = {
        {"one series, side margins", 1, 10, mbSide, nullptr, 11, 38, {-19}, 38},
        {"two series side by side: 38 div 2 = 19 made even", 2, 10, mbSide, nullptr, 11, 20, {-20, 0}, 40},
        {"three series: 12 each", 3, 10, mbSide, nullptr, 11, 12, {-18, -6, 6}, 36},
        {"side margins off: room 60, width 42, half the slots as margin", 1, 10, mbSide,
         [](TBarBench&, TBarSeries& s) { s.SetSideMargins(false); }, 10, 42, {-21}, 21},
        {"custom width kept odd", 1, 10, mbSide, [](TBarBench&, TBarSeries& s) { s.SetCustomBarWidth(15); }, 11, 15,
         {-8}, 15},
        {"no points", 1, 0, mbSide, nullptr, 0, 0, {}, 0},
        {"four points a page: room 150, R(105) = 105 made even", 1, 10, mbSide,
         [](TBarBench& b, TBarSeries&) { b.Chart.SetMaxPointsPerPage(4); }, 4, 106, {-53}, 106},
        {"offset 50 % of the width", 1, 10, mbSide, [](TBarBench&, TBarSeries& s) { s.SetOffsetPercent(50); }, 11,
         38, {0}, 38},
        {"no multi-bar: centred on the point", 2, 10, mbNone, nullptr, 11, 38, {-19, -19}, 38},
        {"auto bar size on 0..9: room R(600 / 11) = 55, 0.7 x 55 just above 38.5 gives 39, made even", 1, 10,
         mbSide, [](TBarBench& b, TBarSeries& s) {
             s.SetAutoBarSize(true);
             b.Chart.BottomAxis().SetFixedRange(0, 9);
         }, 11, 40, {-20}, 40},
    };
    for (const TCase& c : cases) {
        TBarBench b;
        b.FixAxes(0, 10, 0, 10);
        std::vector<TBarSeries*> all;
        for (int k = 0; k < c.series; ++k) all.push_back(&b.Add<TBarSeries>(Ones(c.points)));
        all[0]->SetMultiBar(c.mode);
        if (c.setUp) c.setUp(b, *all[0]);
        b.PrepareAndLayout();
        ASSERT_EQ(b.Chart.BottomAxis().PixelSize, 600) << c.name;
        for (std::size_t k = 0; k < all.size(); ++k) {
            TBarSeries& s = *all[k];
            EXPECT_EQ(s.MaxPointCount(), c.maxPointCount) << c.name;
            EXPECT_EQ(s.BarPixelWidth(), c.width) << c.name;
            EXPECT_EQ(s.BarMargin(), c.margin) << c.name;
            if (k >= c.offsets.size()) continue;
            for (int x : {0, 3, 9}) EXPECT_EQ(s.ScreenXOf(x) - b.X(x), c.offsets[k]) << c.name << ", point " << x;
        }
    }
}

TEST(BarLayout, SideAllPutsTheSeriesOneAfterAnother)
{
    TBarBench b;
    b.FixAxes(0, 10, 0, 10);
    auto& first = b.Add<TBarSeries>({1, 2, 3});
    auto& second = b.Add<TBarSeries>({4, 5});
    first.SetMultiBar(mbSideAll);
    b.PrepareAndLayout();
    EXPECT_EQ(second.MultiBar(), mbSideAll);
    EXPECT_EQ(second.PrecedingPointCount(), 3);
    const int w = second.BarPixelWidth();
    EXPECT_EQ(second.BarMargin(), w) << "one width, not one per slot";
    EXPECT_EQ(first.ScreenXOf(2), b.X(2) - w / 2);
    EXPECT_EQ(second.ScreenXOf(0), b.X(3) - w / 2) << "the second series starts after the first one's points";
    EXPECT_EQ(second.ScreenXOf(1), b.X(4) - w / 2);
    EXPECT_DOUBLE_EQ(second.HighestX(), 4);
    EXPECT_DOUBLE_EQ(first.HighestX(), 2);
}

TEST(BarLayout, StackingOriginsAndEnds)
{
    struct TCase {
        const char* name;
        TMultiBar mode;
        std::vector<std::vector<double>> values; // one list per series
        std::vector<int> groups;                 // stack group per series (empty: all 0)
        // Per series, of point 0: origin value, end pixel, origin pixel (as values on the left axis).
        std::vector<double> origins;
        std::vector<double> ends;
        std::vector<int> slot;
    };
    const TCase cases[] = {
        {"+3 and -2 stack apart: the second starts at 0", mbStacked, {{3}, {-2}}, {}, {0, 0}, {3, -2}, {1, 1}},
        {"1, 2, 3 stacked", mbStacked, {{1}, {2}, {3}}, {}, {0, 1, 3}, {1, 3, 6}, {1, 1, 1}},
        {"1, 2, 3 to 100 %", mbStacked100, {{1}, {2}, {3}}, {}, {0, 1, 3}, {100.0 / 6, 50, 100}, {1, 1, 1}},
        {"two stack groups in two slots", mbStacked, {{1}, {2}, {3}}, {0, 1, 0}, {0, 0, 1}, {1, 2, 4}, {1, 2, 1}},
    };
    for (const TCase& c : cases) {
        TBarBench b;
        b.FixAxes(0, 10, -5, 110);
        std::vector<TBarSeries*> all;
        for (std::size_t k = 0; k < c.values.size(); ++k) {
            all.push_back(&b.Add<TBarSeries>(c.values[k]));
            if (!c.groups.empty()) all.back()->SetStackGroup(c.groups[k]);
        }
        all[0]->SetMultiBar(c.mode);
        b.PrepareAndLayout();
        for (std::size_t k = 0; k < all.size(); ++k) {
            TBarSeries& s = *all[k];
            EXPECT_EQ(s.MultiBar(), c.mode) << c.name;
            EXPECT_DOUBLE_EQ(s.BarOriginValue(0, false), c.origins[k]) << c.name << ", series " << k;
            EXPECT_EQ(s.ScreenYOf(0), b.Y(c.ends[k])) << c.name << ", series " << k;
            const double total = s.BarOriginValue(0, true);
            const double origin = c.mode == mbStacked100 ? c.origins[k] * 100 / total : c.origins[k];
            EXPECT_EQ(s.BarOriginPixel(0), b.Y(origin)) << c.name << ", series " << k;
            EXPECT_EQ(s.SlotIndex(), c.slot[k]) << c.name << ", series " << k;
        }
    }
}

TEST(BarLayout, StackedToHundredWithAZeroTotalGivesPixelZero)
{
    TBarBench b;
    b.FixAxes(0, 10, 0, 100);
    auto& a = b.Add<TBarSeries>({0, 1});
    auto& c = b.Add<TBarSeries>({0, 3});
    a.SetMultiBar(mbStacked100);
    b.PrepareAndLayout();
    for (TBarSeries* s : {&a, &c}) {
        EXPECT_EQ(s->ScreenYOf(0), 0);
        EXPECT_EQ(s->BarOriginPixel(0), 0);
    }
    EXPECT_EQ(c.ScreenYOf(1), b.Y(100));
    EXPECT_EQ(c.BarOriginPixel(1), b.Y(25));
}

TEST(BarLayout, SelfStackedSeriesStackAtTheirListPosition)
{
    TBarBench b;
    b.FixAxes(-1, 3, -5, 10);
    b.Add<TLineSeries>({1});
    auto& s = b.Add<TBarSeries>({2, 3, 4});
    s.SetMultiBar(mbSelfStack);
    b.PrepareAndLayout();
    EXPECT_DOUBLE_EQ(s.LowestX(), 1);
    EXPECT_DOUBLE_EQ(s.HighestX(), 1);
    const int w = s.BarPixelWidth();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(s.ScreenXOf(i), b.X(1) - w / 2) << i;
    const double origins[] = {0, 2, 5};
    for (int i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(s.BarOriginValue(i, false), origins[i]);
        EXPECT_EQ(s.BarOriginPixel(i), b.Y(origins[i]));
        EXPECT_EQ(s.ScreenYOf(i), b.Y(origins[i] + s.YValues().ValueAt(i)));
    }
    EXPECT_DOUBLE_EQ(s.HighestY(), 9);
    EXPECT_EQ(s.FirstVisible(), 0);
    EXPECT_EQ(s.LastVisible(), 2);
}

// The self-stacked maximum is the largest running end: with 5 and -4 the plain total 1 would cut the first
// bar, which ends at 5.
TEST(BarLayout, SelfStackedMaximumIsTheLargestRunningEnd)
{
    TBarBench b;
    auto& s = b.Add<TBarSeries>({5, -4});
    s.SetMultiBar(mbSelfStack);
    EXPECT_DOUBLE_EQ(s.HighestY(), 5);
    EXPECT_DOUBLE_EQ(s.LowestY(), -4);
}

TEST(BarLayout, ValueExtentsWithAndWithoutTheOrigin)
{
    struct TCase {
        const char* name;
        TMultiBar mode;
        bool useOrigin;
        double origin;
        std::vector<double> values;
        double low, high;
    };
    const TCase cases[] = {
        {"side, origin 1 below the values", mbSide, true, 1, {3, 5}, 1, 5},
        {"side, origin off", mbSide, false, 1, {3, 5}, 3, 5},
        {"side, origin 8 above the values", mbSide, true, 8, {3, 5}, 3, 8},
        {"stacked alone: the running ends of one series are its values", mbStacked, true, 0, {3, -2}, -2, 3},
        {"to 100 %", mbStacked100, false, 0, {3, 5}, 0, 100},
    };
    for (const TCase& c : cases) {
        TBarBench b;
        auto& s = b.Add<TBarSeries>(c.values);
        s.SetMultiBar(c.mode);
        s.SetUseYOrigin(c.useOrigin);
        s.SetYOrigin(c.origin);
        EXPECT_DOUBLE_EQ(s.LowestY(), c.low) << c.name;
        EXPECT_DOUBLE_EQ(s.HighestY(), c.high) << c.name;
    }
    TBarBench b;
    auto& a = b.Add<TBarSeries>({3, 1});
    auto& s = b.Add<TBarSeries>({-2, 4});
    a.SetMultiBar(mbStacked);
    EXPECT_DOUBLE_EQ(s.HighestY(), 5) << "1 + 4 on top of the first series";
    EXPECT_DOUBLE_EQ(s.LowestY(), -2);
}

TEST(BarLayout, MarksRoomGoesWhereTheBarsEnd)
{
    struct TCase {
        const char* name;
        bool horizontal;
        bool inverted;
        std::vector<double> values;
        bool lowSide, highSide; // bottom/left and top/right on screen
    };
    const TCase cases[] = {
        {"vertical, positive", false, false, {2, 3}, false, true},
        {"vertical, negative", false, false, {-2, -3}, true, false},
        {"vertical, both signs", false, false, {-2, 3}, true, true},
        {"vertical, negative, inverted axis", false, true, {-2, -3}, false, true},
        {"horizontal, positive", true, false, {2, 3}, false, true},
        {"horizontal, negative, inverted axis: right only", true, true, {-2, -3}, false, true},
    };
    for (const TCase& c : cases) {
        TBarBench b;
        TCustomBarSeries* s;
        if (c.horizontal)
            s = &b.AddHoriz(c.values);
        else
            s = &b.Add<TBarSeries>(c.values);
        (c.horizontal ? b.Chart.BottomAxis() : b.Chart.LeftAxis()).SetInverted(c.inverted);
        b.Layout();
        int left = 0, right = 0, top = 0, bottom = 0;
        if (c.horizontal)
            s->HorizMargins(left, right);
        else
            s->VertMargins(top, bottom);
        const int low = c.horizontal ? left : bottom, high = c.horizontal ? right : top;
        const int r = s->MarksRoom(c.horizontal ? -1 : 0) + 1;
        EXPECT_GT(r, 1) << c.name;
        EXPECT_EQ(low, c.lowSide ? r : 0) << c.name;
        EXPECT_EQ(high, c.highSide ? r : 0) << c.name;
    }
}

TEST(BarLayout, RelatedSeriesShareModeSideMarginsAndDepth)
{
    TBarBench b;
    auto& a = b.Add<TBarSeries>({1, 2});
    auto& c = b.Add<TBarSeries>({3, 4});
    auto& h = b.AddHoriz({1, 2});
    auto& line = b.Add<TLineSeries>({1, 2});
    c.SetMultiBar(mbStacked);
    EXPECT_EQ(a.MultiBar(), mbStacked);
    EXPECT_EQ(h.MultiBar(), mbSide) << "horizontal bars are not related to vertical ones";
    a.SetSideMargins(false);
    EXPECT_FALSE(c.SideMargins());
    EXPECT_TRUE(h.SideMargins());
    a.SetMultiBar(mbSelfStack);
    EXPECT_FALSE(c.OrderedRange()) << "self-stacked series show all their points";
    a.SetMultiBar(mbSide);
    EXPECT_TRUE(c.OrderedRange());
    // A series joining the chart takes the mode of the first related one.
    auto& late = b.Add<TBarSeries>({5});
    EXPECT_EQ(late.MultiBar(), mbSide);
    EXPECT_FALSE(late.SideMargins());
    // One depth slot for every related bar, one for each other series.
    b.Chart.SetView3D(true);
    b.Chart.AssignSeriesZOrders();
    EXPECT_EQ(a.ZOrder(), c.ZOrder());
    EXPECT_EQ(a.ZOrder(), late.ZOrder());
    EXPECT_NE(a.ZOrder(), h.ZOrder());
    EXPECT_NE(a.ZOrder(), line.ZOrder());
    a.SetMultiBar(mbNone);
    b.Chart.AssignSeriesZOrders();
    EXPECT_NE(a.ZOrder(), c.ZOrder()) << "without multi-bar each series has its own depth";
}

TEST(BarLayout, DepthPercentNarrowsTheBarAroundItsMiddle)
{
    TBarBench b;
    auto& s = b.Add<TBarSeries>({1, 2});
    b.Chart.SetView3D(true);
    b.Layout();
    const int start = s.StartZ(), end = s.EndZ(), middle = s.MiddleZ();
    s.SetDepthPercent(50);
    s.ComputeZExtent();
    const int d = static_cast<int>(std::nearbyint(50.0 * (end - start) * 0.005));
    EXPECT_EQ(s.StartZ(), start + d);
    EXPECT_EQ(s.EndZ(), end - d);
    EXPECT_EQ(s.MiddleZ(), middle);
}

TEST(BarLayout, DrawOrderOfBothKinds)
{
    struct TCase {
        const char* name;
        bool horizontal;
        TMultiBar mode;
        bool inverted;
        double value;
        bool forward;
    };
    const TCase cases[] = {
        {"vertical stacked, above the origin", false, mbStacked, false, 2, true},
        {"vertical stacked, below the origin", false, mbStacked, false, -2, false},
        {"vertical stacked, below, inverted", false, mbStacked, true, -2, true},
        {"vertical self-stacked, above, inverted", false, mbSelfStack, true, 2, false},
        {"vertical 100 %", false, mbStacked100, false, -2, true},
        {"vertical 100 %, inverted", false, mbStacked100, true, 2, false},
        {"horizontal side by side", true, mbSide, false, 2, false},
        {"horizontal side all", true, mbSideAll, false, 2, false},
        {"horizontal stacked, right of 0", true, mbStacked, false, 2, true},
        {"horizontal stacked, left of 0, inverted", true, mbStacked, true, -2, true},
        {"horizontal 100 %, inverted", true, mbStacked100, true, 2, false},
    };
    for (const TCase& c : cases) {
        TBarBench b;
        TCustomBarSeries* s;
        if (c.horizontal)
            s = &b.AddHoriz({c.value});
        else
            s = &b.Add<TBarSeries>({c.value});
        s->SetMultiBar(c.mode);
        (c.horizontal ? b.Chart.BottomAxis() : b.Chart.LeftAxis()).SetInverted(c.inverted);
        b.Layout();
        EXPECT_EQ(s->DrawSeriesForward(0), c.forward) << c.name;
    }
}

TEST(BarLayout, GalleryStackAddsASecondSeries)
{
    TChart chart(nullptr);
    auto* s = dynamic_cast<TBarSeries*>(chart.CreateSeriesFromClass(TBarSeries::StaticClassInfo()));
    ASSERT_NE(s, nullptr);
    std::vector<std::string> names;
    s->ListGalleryStyles([&](const std::string& n) { names.push_back(n); });
    const std::vector<std::string> expected{"Normal", "Colors", "Pyramid",  "Ellipse",      "Inv. Pyramid", "Gradient",
                                            "Stack",  "Stack 100%", "Self Stacked", "Sides", "Side All"};
    EXPECT_EQ(names, expected);
    s->SetBarWidthPercent(60);
    s->ApplyGalleryStyle(s, 6);
    ASSERT_EQ(chart.CountSeries(), 2);
    auto* other = dynamic_cast<TBarSeries*>(chart.SeriesAt(1));
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(s->PointCount(), 2);
    EXPECT_EQ(other->PointCount(), 2);
    EXPECT_EQ(s->MultiBar(), mbStacked);
    EXPECT_EQ(other->MultiBar(), mbStacked);
    EXPECT_EQ(other->BarWidthPercent(), 60);
    EXPECT_FALSE(s->Marks().Visible());
    EXPECT_FALSE(other->Marks().Visible());
    EXPECT_EQ(other->Title(), "");
    EXPECT_FALSE(other->Name().empty());
    chart.FreeSeriesOfClass("");
}
