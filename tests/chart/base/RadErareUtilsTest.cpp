// Engine utilities: the date-step table and calendar steps both ways, the palette, hit tests at their
// edges, segment intersection (vertical segments included), number-format localisation, fields and the
// callback quicksort.
#include "chart/base/RadErareUtils.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

class RadErareUtils : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetRadErareUtilsModule();
        ResetFormatSettings();
    }
    void TearDown() override
    {
        ResetRadErareUtilsModule();
        ResetFormatSettings();
    }
};

double At(int y, int m, int d, int h = 0, int n = 0) { return EncodeDate(y, m, d) + EncodeTime(h, n, 0, 0); }

std::string DateText(double v) { return FormatDateTime("yyyy-mm-dd hh:nn", v); }

} // namespace

TEST_F(RadErareUtils, StepTableLookups)
{
    EXPECT_EQ(DateTimeStep.size(), 27u);
    EXPECT_DOUBLE_EQ(DateTimeStep[dtHalfMonth], 15.0);
    EXPECT_DOUBLE_EQ(DateTimeStep[dtOneYear], 365.0);
    EXPECT_DOUBLE_EQ(DateTimeStep[0] * SecsPerDay * 1e6, 1.0);

    EXPECT_EQ(FindDateTimeStep(1.0 / 24), 12);
    EXPECT_EQ(FindDateTimeStep(0.3), dtNoStep);
    EXPECT_EQ(FindDateTimeStep(365), 26);
    EXPECT_EQ(FindDateTimeStep(0), dtNoStep) << "zero is one microsecond away from entry 0, not less";

    struct Case {
        double x, next;
    } const cases[] = {{1.5, 2}, {400, 365}, {182, 365}, {1, 2}, {0, 365}, {6.0 / SecsPerDay, DateTimeStep[4]}};
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(NextLargerDateTimeStep(c.x), c.next) << c.x;

    EXPECT_EQ(MonthDayCount(2004, 2), 29);
    EXPECT_EQ(MonthDayCount(1900, 2), 28);
    EXPECT_EQ(MonthDayCount(2003, 12), 31);

    FormatSettings().ShortDateFormat = "dd.MM.yyyy";
    FormatSettings().ShortTimeFormat = "hh:mm";
    EXPECT_EQ(DateTimeFormatForStep(2), "dd.MM.yyyy");
    EXPECT_EQ(DateTimeFormatForStep(1), "hh:mm");
}

TEST_F(RadErareUtils, CalendarStepsBothWays)
{
    struct Case {
        double from;
        int step;
        bool forward;
        const char* to;
    } const cases[] = {
        {At(2004, 1, 31, 10), dtOneMonth, true, "2004-02-01 00:00"},
        {At(2004, 3, 20), dtHalfMonth, false, "2004-03-15 00:00"},
        {At(2004, 3, 15), dtHalfMonth, false, "2004-03-01 00:00"},
        {At(2004, 3, 1), dtHalfMonth, false, "2004-02-15 00:00"},
        {At(2004, 1, 1), dtHalfMonth, false, "2003-12-15 00:00"},
        {At(2004, 2, 10), dtTwoMonths, false, "2003-12-01 00:00"},
        {At(2004, 11, 10), dtThreeMonths, true, "2005-02-01 00:00"},
        {At(2004, 6, 10), dtSixMonths, false, "2003-12-01 00:00"},
        {At(2004, 5, 5, 12), dtOneYear, false, "2003-05-05 00:00"},
        // Forward half months reach the 15th, then the next month's 1st.
        {At(2004, 3, 1), dtHalfMonth, true, "2004-03-15 00:00"},
        {At(2004, 3, 14, 23), dtHalfMonth, true, "2004-03-15 00:00"},
        {At(2004, 3, 15), dtHalfMonth, true, "2004-04-01 00:00"},
        {At(2004, 12, 20), dtHalfMonth, true, "2005-01-01 00:00"},
        // A leap day steps onto 28 February of a common year, and from there stays on the 28th.
        {At(2004, 2, 29), dtOneYear, true, "2005-02-28 00:00"},
        {At(2004, 2, 29), dtOneYear, false, "2003-02-28 00:00"},
        {At(2003, 2, 28), dtOneYear, true, "2004-02-28 00:00"},
    };
    for (const Case& c : cases) {
        double v = c.from;
        AdvanceByDateStep(true, c.forward, v, DateTimeStep[c.step], c.step);
        EXPECT_EQ(DateText(v), c.to) << DateText(c.from) << " step " << c.step << (c.forward ? " +" : " -");
    }
}

TEST_F(RadErareUtils, FixedStepsAndPlainValuesMoveByTheStep)
{
    double v = At(2004, 3, 1, 10);
    AdvanceByDateStep(true, true, v, DateTimeStep[12], 12);
    EXPECT_EQ(DateText(v), "2004-03-01 11:00") << "a step outside 20..26 keeps the time of day";
    v = 10;
    AdvanceByDateStep(false, false, v, 2.5, dtOneMonth);
    EXPECT_DOUBLE_EQ(v, 7.5) << "a value axis ignores the calendar";
    v = 1e9; // past the calendar: moved by the step length
    AdvanceByDateStep(true, true, v, 30, dtOneMonth);
    EXPECT_DOUBLE_EQ(v, 1e9 + 30);
}

TEST_F(RadErareUtils, RoundDateToStepFindsTheFirstLabel)
{
    struct Case {
        int step;
        double from;
        const char* to;
    } const cases[] = {
        {dtOneYear, At(2004, 5, 5, 12), "2004-01-01 00:00"},
        {dtHalfMonth, At(2004, 5, 14, 3), "2004-05-01 00:00"},
        {dtHalfMonth, At(2004, 5, 15, 3), "2004-05-15 00:00"},
        {dtFourMonths, At(2004, 5, 31, 23), "2004-05-01 00:00"},
        {16, At(2004, 5, 31, 23), "2004-05-31 00:00"},
    };
    for (const Case& c : cases) EXPECT_EQ(DateText(RoundDateToStep(c.step, c.from)), c.to) << c.step;
    const double early = At(1900, 1, 1, 6);
    EXPECT_NE(RoundDateToStep(dtOneYear, early), early) << "only dates after 1900-01-01 00:00 are kept whole";
    EXPECT_DOUBLE_EQ(RoundDateToStep(dtOneYear, 2.0), 2.0);
    EXPECT_DOUBLE_EQ(RoundDateToStep(dtOneYear, -400.25), -400.25);
}

TEST_F(RadErareUtils, PaletteCountsRoundAndRestores)
{
    const TColorArray& d = DefaultColorPalette();
    ASSERT_EQ(d.size(), 20u);
    const TColor expected[] = {0x0000FF, 0x008000, 0x00FFFF, 0xFF0000, 0xFFFFFF, 0x808080, 0xFF00FF,
                               0x808000, 0x800000, 0x000080, 0x00FF00, 0x008080, 0x800080, 0xC0C0C0,
                               0xFFFF00, 0x000000, 0xC0DCC0, 0xF0CAA6, 0xF0FBFF, 0xA4A0A0};
    EXPECT_TRUE(std::equal(d.begin(), d.end(), std::begin(expected)));
    EXPECT_EQ(CurrentPaletteColor(21), clGreen);
    EXPECT_EQ(CurrentPaletteColor(-1), clMedGray) << "negative indexes count back from the end";

    SetColorPalette({clBlack, clWhite, clRed}, 1);
    EXPECT_EQ(RadErareUtilsModule().ColorPalette, (TColorArray{clBlack, clWhite}));
    EXPECT_EQ(CurrentPaletteColor(3), clWhite);
    SetColorPalette({clBlack, clWhite}, 9);
    EXPECT_EQ(RadErareUtilsModule().ColorPalette.size(), 2u) << "a high index past the colours is clipped";
    SetColorPalette({clBlack}, 0);
    EXPECT_EQ(RadErareUtilsModule().ColorPalette, d);

    ClearRadErareUtilsModule();
    EXPECT_EQ(CurrentPaletteColor(2), clYellow) << "after shut-down the default colours still answer";
}

TEST_F(RadErareUtils, LineHitTestsAcceptOnePixelBeyondTheTolerance)
{
    const TPoint a{10, 10}, b{30, 10};
    struct Case {
        TPoint p;
        int tolerance;
        bool near;
    } const cases[] = {
        {{20, 11}, 0, true}, {{20, 12}, 0, false}, {{20, 13}, 2, true},  {{20, 14}, 2, false},
        {{9, 10}, 0, true},  {{8, 10}, 0, false},  {{31, 11}, 0, false}, {{10, 10}, -5, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsPointNearLinePts(c.p, a, b, c.tolerance), c.near) << c.p.x << "," << c.p.y << " tol " << c.tolerance;

    EXPECT_TRUE(IsPointOnLineXY(12, 11, 10, 10, 30, 10));
    EXPECT_TRUE(RadErareUtilsModule().NearerFirstEndPoint);
    EXPECT_TRUE(IsPointNearLine({29, 10}, a, 0, b));
    EXPECT_FALSE(RadErareUtilsModule().NearerFirstEndPoint);
    EXPECT_TRUE(IsPointOnLinePts({5, 5}, {5, 5}, {5, 5})) << "a segment of one point";
    EXPECT_DOUBLE_EQ(PointSegmentDistance({0, 4}, {3, 0}, {3, 0}), 5.0);
    EXPECT_DOUBLE_EQ(PointSegmentDistance({-3, 4}, {0, 0}, {10, 0}), 5.0);
    EXPECT_DOUBLE_EQ(PointSegmentDistance({5, 4}, {0, 0}, {10, 0}), 4.0);
}

TEST_F(RadErareUtils, PolygonEdgesFollowTheHalfOpenRule)
{
    const std::vector<TPoint> square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    struct Case {
        TPoint p;
        bool inside;
    } const cases[] = {{{0, 5}, true},  {{5, 0}, true},  {{10, 5}, false}, {{5, 10}, false},
                       {{5, 5}, true},  {{-1, 5}, false}, {{0, 0}, true},  {{10, 10}, false}};
    for (const Case& c : cases)
        EXPECT_EQ(PolygonContainsPoint(c.p, square, 3), c.inside) << c.p.x << "," << c.p.y;
    EXPECT_FALSE(PolygonContainsPoint({5, 5}, square, -1));
    EXPECT_TRUE(PolygonContainsPoint({5, 5}, square, 99)) << "a last index past the points uses them all";
    EXPECT_FALSE(PolygonContainsPoint({5, 5}, {}, 3));

    // Even-odd: the hole of a ring drawn as one outline is outside.
    const std::vector<TPoint> ring{{0, 0}, {30, 0}, {30, 30}, {0, 30}, {0, 0}, {10, 10}, {10, 20}, {20, 20}, {20, 10}, {10, 10}};
    EXPECT_FALSE(PolygonContainsPoint({15, 15}, ring, 9));
    EXPECT_TRUE(PolygonContainsPoint({5, 15}, ring, 9));

    EXPECT_TRUE(VertTriangleContainsPoint({10, 9}, 0, 21, 0, 10));
    EXPECT_FALSE(VertTriangleContainsPoint({10, 10}, 0, 21, 0, 10)) << "the base is the bottom edge";
    EXPECT_FALSE(VertTriangleContainsPoint({1, 1}, 0, 21, 0, 10));
    EXPECT_TRUE(HorizTriangleContainsPoint({9, 10}, 0, 21, 20, 0));
    EXPECT_FALSE(HorizTriangleContainsPoint({19, 1}, 0, 21, 20, 0));
}

TEST_F(RadErareUtils, EllipseHitTest)
{
    EXPECT_TRUE(EllipseContainsPoint({10, 0}, 0, 0, 20, 10)) << "the top of the ellipse";
    EXPECT_TRUE(EllipseContainsPoint({0, 5}, 0, 0, 20, 10));
    EXPECT_FALSE(EllipseContainsPoint({1, 1}, 0, 0, 20, 10));
    EXPECT_FALSE(EllipseRectContainsPoint({0, 0}, {0, 0, 1, 10})) << "half width 0";
    EXPECT_FALSE(EllipseContainsPoint({5, 5}, 5, 5, 5, 5));
    EXPECT_TRUE(EllipseContainsPoint({0, 0}, -1000000000, -1000000000, 1000000000, 1000000000));
}

TEST_F(RadErareUtils, SegmentIntersection)
{
    struct Case {
        double x1, y1, x2, y2, x3, y3, x4, y4;
        double x, y;
        bool crosses;
    } const cases[] = {
        {0, 0, 10, 10, 0, 10, 10, 0, 5, 5, true},
        {0, 0, 10, 10, 20, 0, 30, -10, 10, 10, false},   // the lines meet beyond both segments
        {5, 0, 5, 10, 0, 4, 10, 6, 5, 5, true},          // first segment vertical
        {0, 4, 10, 6, 5, 0, 5, 10, 5, 5, true},          // second segment vertical
        {0, 0, 10, 0, 0, 5, 10, 5, 10, 0, false},        // parallel: (x2, y2)
        {1, 0, 1, 10, 2, 0, 2, 10, 1, 10, false},        // both vertical
        {5, 0, 5, 10, 6, 0, 7, 10, 5, -10, false},       // vertical meeting the other line below its ends
    };
    for (const Case& c : cases) {
        double x = -1, y = -1;
        const bool crosses = IntersectSegments(x, y, c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, c.x4, c.y4);
        EXPECT_EQ(crosses, c.crosses) << c.x1 << "," << c.y1 << "-" << c.x2 << "," << c.y2;
        EXPECT_NEAR(x, c.x, 1e-9);
        EXPECT_NEAR(y, c.y, 1e-9);
        EXPECT_TRUE(std::isfinite(x) && std::isfinite(y));
    }
}

TEST_F(RadErareUtils, NumberFormatsFollowTheLocale)
{
    EXPECT_EQ(LocalizeNumberFormat("#,##0.###"), "#,##0.###");
    FormatSettings().ThousandSeparator = '.';
    FormatSettings().DecimalSeparator = ',';
    EXPECT_EQ(LocalizeNumberFormat("#,##0.###"), "#.##0,###") << "the two separators swap, not pile up";
    EXPECT_EQ(NeutralizeNumberFormat("#.##0,###"), "#,##0.###");
    FormatSettings().ThousandSeparator = ' ';
    EXPECT_EQ(LocalizeNumberFormat("#,##0.00"), "# ##0,00");
    EXPECT_EQ(NeutralizeNumberFormat("# ##0,00"), "#,##0.00");
    FormatSettings().ThousandSeparator = ',';
    EXPECT_EQ(LocalizeNumberFormat("#,##0.00"), "#,##0.00") << "equal separators change nothing";
}

TEST_F(RadErareUtils, DelimitedFields)
{
    EXPECT_EQ(CountFields(""), 0);
    EXPECT_EQ(CountFields("a"), 1);
    EXPECT_EQ(CountFields("a;;b;"), 4);
    EXPECT_EQ(ExtractField("a;b;c", 2), "b");
    EXPECT_EQ(ExtractField("a;b;c", 1), "a");
    EXPECT_EQ(ExtractField("a;b;c", 0), "");
    EXPECT_EQ(ExtractField("", 1), "");
    EXPECT_EQ(ExtractFieldWithSeparator("a|b|c", 5, "|"), "c") << "fewer separators: the rest";
    EXPECT_EQ(ExtractFieldWithSeparator("a::b::c", 2, "::"), "b");
    EXPECT_EQ(CountFieldsWithSeparator("a,b,c", ","), 3);
    EXPECT_EQ(RadErareUtilsModule().FieldSeparator, ";") << "the separator of a call is put back";

    EXPECT_EQ(ReplaceCharInText("a-b-c", '-', '+'), "a+b+c");
    EXPECT_EQ(ReplaceCharInText("a-b-c", '-', '\0'), "abc");
    EXPECT_EQ(IntegerToText(-42), "-42");
}

TEST_F(RadErareUtils, CallbackQuicksortSortsAnyOrder)
{
    std::mt19937 random(7);
    for (int n : {0, 1, 2, 3, 10, 257}) {
        for (int spread : {3, 1000}) {
            std::vector<int> data(static_cast<std::size_t>(n));
            for (int& v : data) v = static_cast<int>(random() % static_cast<unsigned>(spread));
            std::vector<int> expected = data;
            std::sort(expected.begin(), expected.end());
            const auto at = [&](int i) { return data.at(static_cast<std::size_t>(i)); };
            SortByCallbacks(
                0, n - 1, [&](int a, int b) { return at(a) < at(b) ? -1 : (at(a) > at(b) ? 1 : 0); },
                [&](int a, int b) { std::swap(data.at(static_cast<std::size_t>(a)), data.at(static_cast<std::size_t>(b))); });
            EXPECT_EQ(data, expected) << n << " values below " << spread;
        }
    }
    // A comparer that contradicts itself must not drive the scans off the range.
    std::vector<int> data(50, 0);
    SortByCallbacks(0, 49, [](int, int) { return -1; },
                    [&](int a, int b) { std::swap(data.at(static_cast<std::size_t>(a)), data.at(static_cast<std::size_t>(b))); });
}

TEST_F(RadErareUtils, UniqueComponentNames)
{
    EXPECT_EQ(UniqueComponentName(nullptr, "Series"), "Series1");
    TComponent owner(nullptr);
    auto* s1 = new TComponent(&owner);
    s1->SetName("Series1");
    auto* s2 = new TComponent(&owner);
    s2->SetName("series2");
    EXPECT_EQ(UniqueComponentName(&owner, "Series"), "Series3");
    s1->Free();
    EXPECT_EQ(UniqueComponentName(&owner, "Series"), "Series1");
}
