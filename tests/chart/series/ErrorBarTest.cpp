// Error whiskers (widths, zero and negative errors, whiskers of bars below the origin, extents, colours)
// and the high-low band (single points, null points, transparency, clicks); their style-string tails;
// renders probed at pixels.
#include "SpyCanvas.h"

#include "chart/control/LumEngineStyleStrings.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(ErrorSeries, WhiskerWidths)
{
    struct TCase {
        const char* name;
        int width;
        TErrorWidthUnits units;
        std::function<int(int)> expected; // of the bar width
    };
    const TCase cases[] = {
        {"0: as wide as the bar", 0, ewuPercent, [](int w) { return w / 2 * 2; }},
        {"50 %: half the bar", 50, ewuPercent,
         [](int w) { return static_cast<int>(std::nearbyint(50 * double(w) * 0.01)) / 2 * 2; }},
        {"7 pixels", 7, ewuPixels, [](int) { return 6; }},
    };
    for (const TCase& c : cases) {
        TBarDrawBench b;
        auto& s = b.Add<TErrorSeries>();
        s.AddErrorPoint(2, 5, 2);
        s.SetErrorWidth(c.width);
        s.SetErrorWidthUnits(c.units);
        b.Paint(s, 0);
        const auto cross = b.Spy->Named("HorizLine");
        ASSERT_EQ(cross.size(), 2u) << c.name;
        const int barWidth = s.BarBounds().Right - s.BarBounds().Left;
        // The cross line runs from x - w div 2 to x + w div 2.
        EXPECT_EQ(cross[0].Args[1] - cross[0].Args[0], c.expected(barWidth)) << c.name;
        const int x = (s.BarBounds().Left + s.BarBounds().Right) / 2;
        EXPECT_EQ(cross[0].Args[0] + cross[0].Args[1], 2 * x) << c.name;
    }
}

TEST(ErrorSeries, ZeroAndNegativeErrors)
{
    TBarDrawBench b;
    auto& s = b.Add<TErrorSeries>();
    s.AddErrorPoint(1, 5, 0);
    s.AddErrorPoint(2, 5, 2);
    s.AddErrorPoint(3, 5, -2);
    b.Paint(s, 0);
    EXPECT_TRUE(b.Spy->Named("VertLine").empty()) << "an error of 0 draws nothing";
    b.Paint(s, 1);
    const auto positive = b.Spy->Named("VertLine");
    b.Paint(s, 2);
    const auto negative = b.Spy->Named("VertLine");
    ASSERT_EQ(positive.size(), 2u);
    ASSERT_EQ(negative.size(), 2u);
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(negative[k].Args[1], positive[k].Args[1]);
        EXPECT_EQ(negative[k].Args[2], positive[k].Args[2]) << "a negative error draws as its absolute value";
    }
    // Top and bottom whiskers reach Y +- e/2 while the range holds Y +- e.
    EXPECT_EQ(positive[0].Args[2], PixelY(6));
    EXPECT_EQ(positive[1].Args[2], PixelY(4));
    EXPECT_DOUBLE_EQ(s.HighestY(), 7);
    EXPECT_DOUBLE_EQ(s.LowestY(), 3) << "the negative error widens the range like its absolute value";
}

TEST(ErrorSeries, BarBelowTheOriginHasItsWhiskerBeyondItsEnd)
{
    TBarDrawBench b;
    b.FixAxes(0, 10, -10, 10);
    auto& s = b.Add<TErrorBarSeries>();
    s.AddErrorPoint(2, -4, 4);
    s.AddErrorPoint(4, 4, 4);
    for (int i : {0, 1}) {
        b.Paint(s, i);
        const auto whisker = b.Spy->Named("VertLine");
        ASSERT_FALSE(whisker.empty());
        const TRect bar = SortRectCorners(s.BarBounds());
        const int end = whisker.back().Args[2];
        if (i == 0)
            EXPECT_GT(end, bar.Bottom - 1) << "below the lower end of a bar growing down";
        else
            EXPECT_LT(end, bar.Top) << "above a bar growing up";
        EXPECT_EQ(std::abs(end - s.ScreenYOf(i)), std::abs(s.VertValueToPixel(2) - s.VertValueToPixel(0)));
    }
    EXPECT_DOUBLE_EQ(s.LowestY(), -8);
    EXPECT_DOUBLE_EQ(s.HighestY(), 8);
}

TEST(ErrorSeries, SeriesColourAndErrorPenFollowEachOther)
{
    TErrorSeries alone(nullptr);
    alone.SetSeriesColor(clGreen);
    EXPECT_EQ(alone.ErrorPen().Color(), clGreen);
    TChartPen pen;
    pen.SetColor(clNavy);
    alone.SetErrorPen(pen);
    EXPECT_EQ(alone.SeriesColor(), clNavy);
    TErrorBarSeries withBar(nullptr);
    withBar.SetSeriesColor(clGreen);
    EXPECT_NE(withBar.ErrorPen().Color(), clGreen) << "the bar keeps its own colour";
    EXPECT_EQ(withBar.ErrorStyle(), essTop);
    EXPECT_FALSE(withBar.Marks().Visible());
    std::vector<std::string> names;
    withBar.ListGalleryStyles([&](const std::string& n) { names.push_back(n); });
    EXPECT_EQ(names, (std::vector<std::string>{"Normal", "Colors", "Pyramid", "Ellipse", "Inv. Pyramid", "Gradient",
                                               "Sides", "Side All"}));
}

// ---- High-low --------------------------------------------------------------------------------------------

TEST(HighLowSeries, BandsBreakAtNullPoints)
{
    TBarDrawBench b;
    auto& s = b.Add<THighLowSeries>();
    s.HighBrush().SetStyle(bsSolid);
    s.AddHighLowPoint(1, 6, 2);
    b.PrepareAndLayout();
    b.Spy->Calls.clear();
    s.PaintAllPoints();
    EXPECT_TRUE(b.Spy->Calls.empty()) << "one point draws nothing";
    s.AddHighLowPoint(2, 7, 3);
    s.AddHighLowPoint(3, 8, 4);
    s.AddHighLowPoint(4, 7, 3);
    s.StorePointColor(2, clNone);
    b.PrepareAndLayout();
    b.Spy->Calls.clear();
    s.PaintAllPoints();
    const auto bands = b.Spy->Named("Polygon");
    ASSERT_EQ(bands.size(), 1u) << "only the band 0-1: the null point 2 breaks 1-2 and 2-3";
    EXPECT_EQ(bands[0].Args[0], PixelX(1));
    EXPECT_EQ(bands[0].Args[4], PixelX(2));
}

TEST(HighLowSeries, Clicks)
{
    TBarDrawBench b;
    auto& s = b.Add<THighLowSeries>();
    for (int i = 0; i < 6; ++i) s.AddHighLowPoint(i, 6 + i % 2, 2);
    b.PrepareAndLayout();
    struct TCase {
        const char* name;
        int x, y, expected;
    };
    const TCase cases[] = {
        {"in the band between points 3 and 4", (PixelX(3) + PixelX(4)) / 2, PixelY(4), 4},
        {"in the band between points 0 and 1", PixelX(0) + 5, PixelY(3), 1},
        {"above the band", (PixelX(3) + PixelX(4)) / 2, PixelY(9), -1},
        {"below the band", PixelX(2) + 3, PixelY(1), -1},
    };
    for (const TCase& c : cases) EXPECT_EQ(s.PointAtPixel(c.x, c.y), c.expected) << c.name;
    EXPECT_DOUBLE_EQ(s.LowestY(), 2);
    EXPECT_DOUBLE_EQ(s.HighestY(), 7);
}

TEST(HighLowSeries, TransparentBandBlends)
{
    for (int transparency : {0, 50}) {
        TSeriesBench b;
        b.FixAxes(0, 10, 0, 10);
        b.Chart.SetAxisVisible(false);
        auto& s = b.Add<THighLowSeries>();
        s.SetSeriesColor(clBlue);
        s.HighBrush().SetStyle(bsSolid);
        s.SetTransparency(transparency);
        for (int i = 0; i < 4; ++i) s.AddHighLowPoint(2 + i, 8, 3);
        const auto bitmap = b.Render();
        const TColor inside = bitmap->PixelRGB(PixelX(3) + 10, PixelY(5));
        if (transparency == 0)
            EXPECT_EQ(inside, clBlue);
        else
            EXPECT_TRUE(inside != clBlue && (inside & 0xFF) > 0x40) << std::hex << inside;
        EXPECT_NE(bitmap->PixelRGB(PixelX(3) + 10, PixelY(9)), clBlue) << "above the band";
    }
}

// ---- Style strings ---------------------------------------------------------------------------------------

TEST(ErrorSeriesStyle, ErrorBarTailIsWrittenButNotRead)
{
    TErrorBarSeries source(nullptr);
    source.ErrorPen().SetWidth(3);
    source.SetErrorWidth(40);
    source.SetErrorWidthUnits(ewuPixels);
    const std::string text = WriteSeriesStyle(&source);
    const TStyleFields fields(text, '~');
    // 48 fields and one more: the description "Error Bar" takes two.
    ASSERT_EQ(fields.Count(), 49);
    EXPECT_EQ(fields.Field(42), "Bar");
    EXPECT_EQ(fields.Field(44), "3") << "essTop";
    EXPECT_EQ(fields.Field(45), "40");
    EXPECT_EQ(fields.Field(46), "1");
    EXPECT_EQ(fields.Field(47), "0");
    TErrorBarSeries copy(nullptr);
    const std::string before = WriteSeriesStyle(&copy);
    EXPECT_FALSE(ReadSeriesStyle(&copy, text));
    EXPECT_EQ(WriteSeriesStyle(&copy), before) << "an error-bar string changes nothing";
}

TEST(ErrorSeriesStyle, HighLowTailRoundTrip)
{
    THighLowSeries source(nullptr);
    source.HighBrush().SetStyle(bsCross);
    source.HighPen().SetWidth(2);
    source.LowPen().SetColor(clRed);
    source.SetTransparency(30);
    source.Marks().SetDrawEvery(3);
    const std::string text = WriteSeriesStyle(&source);
    const TStyleFields fields(text, '~');
    ASSERT_EQ(fields.Count(), 49);
    EXPECT_EQ(fields.Field(46), "30");
    THighLowSeries copy(nullptr);
    EXPECT_TRUE(ReadSeriesStyle(&copy, text));
    EXPECT_EQ(WriteSeriesStyle(&copy), text);
    EXPECT_EQ(copy.Transparency(), 30);
    EXPECT_EQ(copy.Marks().DrawEvery(), 3);
    std::string bad = text;
    const std::size_t at = bad.find("~30~");
    ASSERT_NE(at, std::string::npos);
    bad.replace(at, 4, "~101~");
    try {
        ReadSeriesStyle(&copy, bad);
        FAIL() << "a transparency of 101 is refused";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Range check error");
    }
}

// ---- Renders -------------------------------------------------------------------------------------------

TEST(ErrorRender, WhiskersOverBars)
{
    TSeriesBench b;
    b.FixAxes(0, 10, 0, 10);
    b.Chart.SetAxisVisible(false);
    auto& s = b.Add<TErrorBarSeries>();
    s.SetSeriesColor(clSilver);
    s.ErrorPen().SetColor(clRed);
    s.SetErrorStyle(essTopBottom);
    for (int i = 0; i < 10; ++i) s.AddErrorPoint(i, 5, 4);
    const auto bitmap = b.Render();
    const int xm = s.ScreenXOf(3) + s.BarPixelWidth() / 2;
    EXPECT_EQ(bitmap->PixelRGB(xm, PixelY(6)), clRed) << "the upper whisker above the bar's end";
    EXPECT_EQ(bitmap->PixelRGB(xm, PixelY(4)), clRed) << "the lower whisker over the bar";
    EXPECT_EQ(bitmap->PixelRGB(xm + 3, PixelY(4)), clSilver);
    EXPECT_NE(bitmap->PixelRGB(xm, PixelY(7.5)), clRed) << "beyond the whisker";
}
