// The line family's model: stacking sums and pixels, extents with stacking and a fixed origin, margins,
// Stacked reaching the series of ancestor classes, MultiArea both ways, copying between kinds, the marks
// of horizontal series, and the gallery sub-styles of every kind.
#include "SeriesTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

TEST(LineStacking, TwoSeriesDrawAtTheirSumsOrPercents)
{
    TSeriesBench b;
    b.FixAxes(0, 10, 0, 100);
    auto& first = b.Add<TLineSeries>({1, 2});
    auto& second = b.Add<TLineSeries>({3, 4});
    first.SetStacked(cssStack);
    EXPECT_EQ(second.Stacked(), cssStack) << "the other line series follows";
    b.Layout();
    const TChartAxis& left = b.Chart.LeftAxis();
    struct Case {
        TCustomSeriesStack mode;
        TLineSeries* series;
        int index;
        double drawnAt;
    };
    const Case cases[] = {
        {cssStack, &first, 0, 1},           {cssStack, &first, 1, 2},          {cssStack, &second, 0, 4},
        {cssStack, &second, 1, 6},          {cssStack100, &first, 0, 25},      {cssStack100, &first, 1, 100.0 * 2 / 6},
        {cssStack100, &second, 0, 100},     {cssStack100, &second, 1, 100},    {cssNone, &second, 1, 4},
        {cssOverlap, &second, 0, 3},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::to_string(k.mode) + " " + std::to_string(k.index));
        first.SetStacked(k.mode);
        EXPECT_EQ(k.series->ScreenYOf(k.index), left.CalcYPosValue(k.drawnAt));
        EXPECT_EQ(k.series->ScreenXOf(k.index), b.Chart.BottomAxis().CalcXPosValue(k.index));
    }
    // The area under a stacked point starts at the top of the stack below it.
    first.SetStacked(cssStack);
    EXPECT_EQ(second.OriginPosition(1), left.CalcYPosValue(2));
    EXPECT_EQ(first.OriginPosition(1), left.CalcYPosValue(0));
}

TEST(LineStacking, SignsStackApartAndZerosNeverCount)
{
    TSeriesBench b;
    // Values at index 0 of six series, and the base each one stacks on.
    const double values[] = {-1, 2, -3, 5, 0, 1};
    const double bases[] = {0, 0, -1, 2, 7, 7};
    std::vector<TLineSeries*> series;
    for (double v : values) series.push_back(&b.Add<TLineSeries>({v}));
    for (std::size_t i = 0; i < series.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(series[i]->StackedOrigin(0, false), bases[i]);
    }
    // The whole stack of a positive point holds the positive values only; inactive and unrelated series
    // stay out.
    EXPECT_EQ(series[1]->StackedOrigin(0, true), 2 + 5 + 1);
    EXPECT_EQ(series[0]->StackedOrigin(0, true), -1 - 3);
    series[1]->SetActive(false);
    b.Add<TFastLineSeries>({100});
    EXPECT_EQ(series[3]->StackedOrigin(0, false), 0);
    EXPECT_EQ(series[5]->StackedOrigin(0, true), 5 + 1);
    // A series without a point at the index adds nothing.
    auto& shorter = b.Add<TLineSeries>({});
    EXPECT_EQ(series[5]->StackedOrigin(0, true), 5 + 1);
    EXPECT_EQ(shorter.PointCount(), 0);
    TLineSeries alone(nullptr);
    alone.InsertPoint(0, 4);
    EXPECT_EQ(alone.StackedOrigin(0, true), 0) << "no chart, no stack";
}

TEST(LineStacking, ExtentsFollowTheStackAndTheFixedOrigin)
{
    TSeriesBench b;
    auto& first = b.Add<TLineSeries>({1, 2});
    auto& second = b.Add<TLineSeries>({3, 4});
    struct Case {
        TCustomSeriesStack mode;
        double low, high;
    };
    for (const Case& k : {Case{cssNone, 3, 4}, Case{cssOverlap, 3, 4}, Case{cssStack, 3, 6}, Case{cssStack100, 0, 100}}) {
        first.SetStacked(k.mode);
        EXPECT_EQ(second.LowestY(), k.low) << k.mode;
        EXPECT_EQ(second.HighestY(), k.high) << k.mode;
        EXPECT_EQ(second.HighestX(), 1) << "the other direction keeps its values";
    }
    first.SetStacked(cssStack);
    EXPECT_EQ(first.HighestY(), 2);
    // A fixed origin widens the mandatory direction only.
    auto& area = b.Add<TAreaSeries>({2, 5});
    struct Origin {
        bool use;
        double origin, low, high;
    };
    for (const Origin& k : {Origin{false, -3, 2, 5}, Origin{true, -3, -3, 5}, Origin{true, 8, 2, 8}, Origin{true, 3, 2, 5}}) {
        area.SetUseYOrigin(k.use);
        area.SetYOrigin(k.origin);
        EXPECT_EQ(area.LowestY(), k.low);
        EXPECT_EQ(area.HighestY(), k.high);
        EXPECT_EQ(area.LowestX(), 0);
    }
    auto& horizontal = b.Add<THorizAreaSeries>({2, 5}, {0, 1});
    horizontal.SetUseYOrigin(true);
    horizontal.SetYOrigin(-4);
    EXPECT_EQ(horizontal.LowestX(), -4) << "X is the mandatory direction of a horizontal area";
    EXPECT_EQ(horizontal.LowestY(), 2);
}

TEST(LineStacking, StackedReachesTheSeriesOfAncestorClassesOnly)
{
    TSeriesBench b;
    auto& line1 = b.Add<TLineSeries>();
    auto& line2 = b.Add<TLineSeries>();
    auto& points = b.Add<TPointSeries>();
    auto& area = b.Add<TAreaSeries>();
    auto& horizontal = b.Add<THorizLineSeries>();
    line1.SetStacked(cssStack);
    EXPECT_EQ(line2.Stacked(), cssStack);
    EXPECT_EQ(points.Stacked(), cssNone);
    EXPECT_EQ(area.Stacked(), cssNone);
    EXPECT_EQ(horizontal.Stacked(), cssNone) << "a descendant class is not reached";
    horizontal.SetStacked(cssOverlap);
    EXPECT_EQ(line1.Stacked(), cssOverlap) << "an ancestor class is";
    EXPECT_EQ(line2.Stacked(), cssOverlap);
    EXPECT_EQ(points.Stacked(), cssNone);
    points.SetStacked(cssStack100);
    EXPECT_EQ(line1.Stacked(), cssOverlap);
}

TEST(LineStacking, MultiAreaReadsAndWritesStacked)
{
    TAreaSeries area(nullptr);
    const std::pair<TCustomSeriesStack, TMultiArea> reads[] = {
        {cssNone, maNone}, {cssOverlap, maNone}, {cssStack, maStacked}, {cssStack100, maStacked100}};
    for (const auto& [stacked, multi] : reads) {
        area.SetStacked(stacked);
        EXPECT_EQ(area.MultiArea(), multi) << stacked;
    }
    const std::pair<TMultiArea, TCustomSeriesStack> writes[] = {
        {maStacked, cssStack}, {maStacked100, cssStack100}, {maNone, cssNone}};
    for (const auto& [multi, stacked] : writes) {
        area.SetMultiArea(multi);
        EXPECT_EQ(area.Stacked(), stacked) << multi;
    }
    // maNone over cssOverlap reads the same and changes nothing.
    area.SetStacked(cssOverlap);
    area.SetMultiArea(maNone);
    EXPECT_EQ(area.Stacked(), cssOverlap);
}

TEST(LineModel, MarginsTable)
{
    struct Case {
        const char* name;
        std::function<TCustomSeries&(TSeriesBench&)> make;
        int left, right, top, bottom;
    };
    const Case cases[] = {
        {"line", [](TSeriesBench& b) -> TCustomSeries& { return b.Add<TLineSeries>({1}); }, 0, 0, 0, 0},
        {"point: pointer size 4 and one", [](TSeriesBench& b) -> TCustomSeries& { return b.Add<TPointSeries>({1}); }, 5, 5, 5, 5},
        {"pointer without inflated margins",
         [](TSeriesBench& b) -> TCustomSeries& {
             auto& s = b.Add<TPointSeries>({1});
             s.Pointer().SetInflateMargins(false);
             return s;
         },
         0, 0, 0, 0},
        {"stairs: the pen width",
         [](TSeriesBench& b) -> TCustomSeries& {
             auto& s = b.Add<TLineSeries>({1});
             s.SetStairs(true);
             s.LinePen().SetWidth(3);
             return s;
         },
         3, 3, 3, 3},
        {"outline width",
         [](TSeriesBench& b) -> TCustomSeries& {
             auto& s = b.Add<TLineSeries>({1});
             s.OutLine().SetVisible(true);
             s.OutLine().SetWidth(5);
             return s;
         },
         5, 5, 5, 5},
        {"marks: top is the larger of bottom and the marks space",
         [](TSeriesBench& b) -> TCustomSeries& {
             auto& s = b.Add<TLineSeries>({1});
             s.Marks().SetVisible(true);
             s.Marks().Callout().SetDistance(3);
             return s;
         },
         0, 0, 11, 0},
        {"marks with a pointer",
         [](TSeriesBench& b) -> TCustomSeries& {
             auto& s = b.Add<TPointSeries>({1});
             s.Marks().SetVisible(true);
             s.Marks().Callout().SetLength(2);
             s.Pointer().SetVertSize(7);
             return s;
         },
         5, 5, 8, 8},
        {"line height in 3-D",
         [](TSeriesBench& b) -> TCustomSeries& {
             b.Chart.SetView3D(true);
             auto& s = b.Add<TLineSeries>({1});
             s.SetLineHeight(9);
             return s;
         },
         0, 0, 0, 9},
        {"line height in 2-D",
         [](TSeriesBench& b) -> TCustomSeries& {
             auto& s = b.Add<TLineSeries>({1});
             s.SetLineHeight(9);
             return s;
         },
         0, 0, 0, 0},
        {"line height of an area",
         [](TSeriesBench& b) -> TCustomSeries& {
             b.Chart.SetView3D(true);
             auto& s = b.Add<TAreaSeries>({1});
             s.SetLineHeight(9);
             return s;
         },
         0, 0, 0, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TSeriesBench b;
        TCustomSeries& s = k.make(b);
        int l = -1, r = -1, t = -1, bottom = -1;
        s.HorizMargins(l, r);
        s.VertMargins(t, bottom);
        EXPECT_EQ(l, k.left);
        EXPECT_EQ(r, k.right);
        EXPECT_EQ(t, k.top);
        EXPECT_EQ(bottom, k.bottom);
    }
}

TEST(LineModel, HorizontalSeriesAskMarksRoomOnTheRight)
{
    TSeriesBench b;
    auto& s = b.Add<THorizLineSeries>({1, 2}, {3, 4});
    s.Marks().SetVisible(true);
    s.Marks().SetStyle(smsValue);
    b.Layout();
    const int widest = s.WidestMarkText();
    ASSERT_GT(widest, 0);
    EXPECT_EQ(s.MarksSpace(), widest);
    int l = -1, r = -1, t = -1, bottom = -1;
    s.HorizMargins(l, r);
    s.VertMargins(t, bottom);
    EXPECT_EQ(l, 0);
    EXPECT_EQ(r, widest);
    EXPECT_EQ(t, 0) << "no marks room along the category direction";
}

TEST(LineModel, AssignBetweenKinds)
{
    TLineSeries line(nullptr);
    line.Pointer().SetVisible(true);
    line.SetStairs(true);
    line.SetLineHeight(4);
    line.SetAreaColor(clRed);
    line.InsertPoint(1, 2);

    // A line from a line keeps the pointer; an area takes the settings, stays an area and hides the
    // pointer of an unrelated class.
    TLineSeries copy(nullptr);
    copy.Assign(line);
    EXPECT_TRUE(copy.Pointer().Visible());
    EXPECT_TRUE(copy.Stairs());
    EXPECT_EQ(copy.LineHeight(), 4);
    EXPECT_EQ(copy.PointCount(), 1);
    TAreaSeries area(nullptr);
    area.Assign(line);
    EXPECT_TRUE(area.DrawArea());
    EXPECT_TRUE(area.DrawLine());
    EXPECT_FALSE(area.Pointer().Visible());
    EXPECT_EQ(area.AreaColor(), clRed);

    // Back from the area: a line without area; the pointer hidden for the other class.
    area.Pointer().SetVisible(true);
    TLineSeries fromArea(nullptr);
    fromArea.Assign(area);
    EXPECT_FALSE(fromArea.DrawArea());
    EXPECT_TRUE(fromArea.DrawLine());
    EXPECT_FALSE(fromArea.Pointer().Visible());

    // A point series keeps its own defaults.
    TPointSeries points(nullptr);
    points.Assign(line);
    EXPECT_TRUE(points.Pointer().Visible());
    EXPECT_FALSE(points.DrawLine());
    EXPECT_FALSE(points.ClickableLine());
    EXPECT_TRUE(points.Stairs());

    // Between areas the fixed origin travels; a horizontal area is related.
    area.SetUseYOrigin(true);
    area.SetYOrigin(-10000);
    THorizAreaSeries horizontal(nullptr);
    horizontal.Assign(area);
    EXPECT_TRUE(horizontal.UseYOrigin());
    EXPECT_EQ(horizontal.YOrigin(), -10000);
    EXPECT_TRUE(horizontal.Pointer().Visible());

    // A fast line keeps its own five switches from a line series and takes the base settings.
    TFastLineSeries fast(nullptr);
    fast.SetStairs(true);
    fast.SetIgnoreNulls(false);
    line.SetSeriesColor(clBlue);
    fast.Assign(line);
    EXPECT_TRUE(fast.Stairs());
    EXPECT_FALSE(fast.IgnoreNulls());
    EXPECT_EQ(fast.SeriesColor(), clBlue);
    TFastLineSeries other(nullptr);
    other.Assign(fast);
    EXPECT_TRUE(other.Stairs());
    EXPECT_FALSE(other.IgnoreNulls());
    EXPECT_TRUE(other.AutoRepaint());
}

TEST(LineModel, HorizontalSeriesMarksMoveBesideTheirPoints)
{
    TSeriesBench b;
    b.Chart.BottomAxis().SetFixedRange(-10, 10);
    b.Chart.LeftAxis().SetFixedRange(0, 10);
    // Horizontal series: the category is Y, the value X.
    auto& right = b.Add<THorizLineSeries>({4}, {5});
    auto& left = b.Add<THorizLineSeries>({4}, {-3});
    right.SetStacked(cssStack);
    auto& area = b.Add<THorizAreaSeries>({2}, {-6});
    b.Layout();
    for (TChartSeries* s : {static_cast<TChartSeries*>(&right), static_cast<TChartSeries*>(&left), static_cast<TChartSeries*>(&area)}) {
        s->Marks().Callout().SetLength(6);
        s->Marks().Callout().SetDistance(2);
    }
    auto mark = [](TCustomSeries& s) {
        TSeriesMarkPosition p;
        p.ArrowTo = p.ArrowFrom = {s.ScreenXOf(0), s.ScreenYOf(0)};
        p.Width = 30;
        p.Height = 12;
        p.LeftTop = {p.ArrowTo.x - 15, p.ArrowTo.y - 11};
        const TSeriesMarkPosition before = p;
        s.PaintMark(0, "m", p);
        return std::pair{before, p};
    };
    // Right of its origin: s = 8 to the right.
    auto [r0, r1] = mark(right);
    EXPECT_EQ(r1.LeftTop.x, r0.LeftTop.x + 8 + 15);
    EXPECT_EQ(r1.LeftTop.y, r0.LeftTop.y + 6);
    EXPECT_EQ(r1.ArrowTo.x, r0.ArrowTo.x + 8);
    EXPECT_EQ(r1.ArrowFrom.x, r0.ArrowFrom.x + 2);
    // A negative value stacked at the origin's left: s = -8 - width.
    ASSERT_LT(left.ScreenXOf(0), left.OriginPosition(0));
    auto [l0, l1] = mark(left);
    EXPECT_EQ(l1.LeftTop.x, l0.LeftTop.x - 38 + 15);
    EXPECT_EQ(l1.ArrowTo.x, l0.ArrowTo.x - 38);
    EXPECT_EQ(l1.ArrowFrom.x, l0.ArrowFrom.x - 2);
    // The horizontal area always marks to the right, centred on the point's height.
    auto [a0, a1] = mark(area);
    EXPECT_EQ(a1.LeftTop.y, a0.ArrowTo.y - 6);
    EXPECT_EQ(a1.LeftTop.x, a0.LeftTop.x + 8 + 15);
    EXPECT_EQ(a1.ArrowTo.x, a0.ArrowTo.x + 8);
    EXPECT_EQ(a1.ArrowFrom.y, a1.ArrowTo.y);
    EXPECT_EQ(a1.ArrowFrom.x, a0.ArrowFrom.x + 2);
}

namespace {
std::vector<std::string> StylesOf(const TChartSeries& s)
{
    std::vector<std::string> names;
    s.ListGalleryStyles([&](const std::string& n) { names.push_back(n); });
    return names;
}
} // namespace

TEST(LineGallery, SubStylesAndTheirEffects)
{
    TLineSeries line(nullptr);
    EXPECT_EQ(StylesOf(line), (std::vector<std::string>{"Normal", "Stairs", "Points", "Height", "Hollow", "Colors",
                                                        "Marks", "No Border", "Outline"}));
    TPointSeries point(nullptr);
    EXPECT_EQ(StylesOf(point),
              (std::vector<std::string>{"Normal", "Colors", "Marks", "Hollow", "No Border", "Gradient", "Point 2D",
                                        "Triangle", "Star", "Circle", "Down Tri.", "Cross", "Diamond"}));
    TAreaSeries area(nullptr);
    EXPECT_EQ(StylesOf(area), (std::vector<std::string>{"Normal", "Stairs", "Marks", "Colors", "Hollow", "No Lines",
                                                        "Stack", "Stack 100%", "Points", "Gradient"}));
    TFastLineSeries fast(nullptr);
    EXPECT_EQ(StylesOf(fast), (std::vector<std::string>{"Normal", "Marks", "Dotted", "Stairs"}));

    struct Case {
        const char* name;
        std::function<std::unique_ptr<TChartSeries>()> make;
        int style;
        std::function<bool(TChartSeries&)> applied;
    };
    auto lineS = [] { return std::unique_ptr<TChartSeries>(new TLineSeries(nullptr)); };
    auto pointS = [] { return std::unique_ptr<TChartSeries>(new TPointSeries(nullptr)); };
    auto areaS = [] { return std::unique_ptr<TChartSeries>(new TAreaSeries(nullptr)); };
    auto fastS = [] { return std::unique_ptr<TChartSeries>(new TFastLineSeries(nullptr)); };
    auto cs = [](TChartSeries& s) -> TCustomSeries& { return dynamic_cast<TCustomSeries&>(s); };
    auto pointer = [cs](TChartSeries& s) -> TSeriesPointer& { return cs(s).Pointer(); };
    const Case cases[] = {
        {"line stairs", lineS, 1, [cs](auto& s) { return cs(s).Stairs(); }},
        {"line points", lineS, 2, [pointer](auto& s) { return pointer(s).Visible(); }},
        {"line height", lineS, 3, [cs](auto& s) { return cs(s).LineHeight() == 5; }},
        {"line hollow", lineS, 4, [cs](auto& s) { return cs(s).LineBrush() == bsClear; }},
        {"line colors", lineS, 5, [](auto& s) { return s.ColorEachPoint(); }},
        {"line marks", lineS, 6, [](auto& s) { return s.Marks().Visible(); }},
        {"line no border", lineS, 7, [cs](auto& s) { return !cs(s).LinePen().Visible(); }},
        {"line outline", lineS, 8, [cs](auto& s) { return cs(s).OutLine().Visible(); }},
        {"point colors", pointS, 1, [](auto& s) { return s.ColorEachPoint(); }},
        {"point marks", pointS, 2, [](auto& s) { return s.Marks().Visible(); }},
        {"point hollow", pointS, 3, [pointer](auto& s) { return pointer(s).Brush().Style() == bsClear; }},
        {"point no border", pointS, 4, [pointer](auto& s) { return !pointer(s).Pen().Visible(); }},
        {"point gradient", pointS, 5, [pointer](auto& s) { return pointer(s).Gradient().Visible(); }},
        {"point 2D", pointS, 6, [pointer](auto& s) { return !pointer(s).Draw3D(); }},
        {"triangle", pointS, 7, [pointer](auto& s) { return pointer(s).Style() == psTriangle; }},
        {"star", pointS, 8, [pointer](auto& s) { return pointer(s).Style() == psStar; }},
        {"circle", pointS, 9,
         [pointer](auto& s) { return pointer(s).Style() == psCircle && pointer(s).HorizSize() == 8 && pointer(s).VertSize() == 8; }},
        {"down triangle", pointS, 10, [pointer](auto& s) { return pointer(s).Style() == psDownTriangle; }},
        {"cross", pointS, 11, [pointer](auto& s) { return pointer(s).Style() == psCross; }},
        {"diamond", pointS, 12, [pointer](auto& s) { return pointer(s).Style() == psDiamond; }},
        {"area stairs", areaS, 1, [cs](auto& s) { return cs(s).Stairs(); }},
        {"area marks", areaS, 2, [](auto& s) { return s.Marks().Visible(); }},
        {"area colors", areaS, 3, [](auto& s) { return s.ColorEachPoint(); }},
        {"area hollow", areaS, 4, [cs](auto& s) { return cs(s).AreaBrush() == bsClear; }},
        {"area no lines", areaS, 5, [cs](auto& s) { return !cs(s).AreaLinesPen().Visible(); }},
        {"area stack", areaS, 6, [](auto& s) { return dynamic_cast<TAreaSeries&>(s).MultiArea() == maStacked; }},
        {"area stack 100", areaS, 7, [](auto& s) { return dynamic_cast<TAreaSeries&>(s).MultiArea() == maStacked100; }},
        {"area points", areaS, 8, [pointer](auto& s) { return pointer(s).Visible(); }},
        {"area gradient", areaS, 9, [cs](auto& s) { return cs(s).Gradient().Visible(); }},
        {"fast marks", fastS, 1, [](auto& s) { return s.Marks().Visible(); }},
        {"fast dotted", fastS, 2, [](auto& s) { return dynamic_cast<TFastLineSeries&>(s).LinePen().SmallDots(); }},
        {"fast stairs", fastS, 3, [](auto& s) { return dynamic_cast<TFastLineSeries&>(s).Stairs(); }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        auto sample = k.make();
        auto target = k.make();
        EXPECT_FALSE(k.applied(*target));
        sample->ApplyGalleryStyle(target.get(), k.style);
        EXPECT_TRUE(k.applied(*target)) << "applied to the series passed in";
        EXPECT_FALSE(k.applied(*sample));
    }
    // Index 0 and indexes past the list change nothing.
    TFastLineSeries target(nullptr);
    fast.ApplyGalleryStyle(&target, 0);
    fast.ApplyGalleryStyle(&target, 4);
    EXPECT_FALSE(target.Stairs());
    EXPECT_FALSE(target.Marks().Visible());
    EXPECT_FALSE(target.LinePen().SmallDots());
}

TEST(LineGallery, GalleryPreparation)
{
    TSeriesBench b;
    auto& first = b.Add<TPointSeries>({1});
    auto& second = b.Add<TPointSeries>({1});
    first.PrepareForGallery(true);
    second.PrepareForGallery(true);
    EXPECT_EQ(first.Pointer().HorizSize(), 6);
    EXPECT_EQ(first.Pointer().Style(), psRectangle);
    EXPECT_EQ(second.Pointer().Style(), psTriangle);
    b.Chart.SetBounds(0, 0, 40, 40);
    first.PrepareForGallery(true);
    EXPECT_EQ(first.Pointer().VertSize(), 4);
    auto& area = b.Add<TAreaSeries>({1});
    area.PrepareForGallery(true);
    EXPECT_TRUE(area.Gradient().Visible());
    EXPECT_EQ(area.Gradient().EndColor(), area.SeriesColor());
    EXPECT_NE(area.SeriesColor(), clYellow);
    EXPECT_EQ(area.EditorFormName(), "TAreaSeriesEditor");
    EXPECT_EQ(first.EditorFormName(), "TSeriesPointerEditor");
    EXPECT_EQ(TLineSeries(nullptr).EditorFormName(), "TCustomSeriesEditor");
    EXPECT_EQ(TFastLineSeries(nullptr).EditorFormName(), "TFastLineSeriesEditor");
}
