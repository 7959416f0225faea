// Axis scaling: automatic ranges with the signed logarithmic scale constant, rounded and fixed limits,
// nice steps and increments, the pixel clamp, pixel <-> value in every mode, the range commands and the
// series margins that widen the working range.
#include "EngineTestSupport.h"

#include "chart/base/LumConst.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr int L = 8388607;

// A chart whose one series puts values on the left axis (and their indexes on the bottom axis).
struct TScaledChart : TRecordedChart {
    TTestSeries Series;
    explicit TScaledChart(std::initializer_list<double> ys)
    {
        Series.SetParentChart(&Chart);
        for (double y : ys) Series.AppendValue(y);
    }
    TChartAxis& Left() { return Chart.LeftAxis(); }
    TChartAxis& Bottom() { return Chart.BottomAxis(); }
};
} // namespace

TEST(AxisScaleMath, NiceStepsTransformsAndTolerantRounding)
{
    struct Case { double x, nice; };
    for (const Case& c : {Case{2, 5}, Case{0.3, 0.5}, Case{70, 100}, Case{1, 2}, Case{9.99, 10}, Case{2e-7, 5e-7},
                          Case{5e12, 1e13}, Case{std::numeric_limits<double>::infinity(), 1}})
        EXPECT_DOUBLE_EQ(NiceStep(c.x), c.nice) << c.x;

    const double C = 10.0 / 9;
    EXPECT_NEAR(SymLogTransform(C, 10), 1, 1e-12);
    EXPECT_NEAR(SymLogTransform(C, -10), -1, 1e-12);
    EXPECT_NEAR(SymLogInverse(C, SymLogTransform(C, -1234.5)), -1234.5, 1e-9);
    EXPECT_EQ(SymLogStep(C, 0, 25), 10);
    EXPECT_EQ(SymLogStep(C, 0, 37), 100);
    EXPECT_EQ(SymLogStep(C, 1, 10), 100);
    EXPECT_EQ(SymLogStep(C, -1, 1000), 100);
    EXPECT_EQ(SymLogStep(C, -1, -1000), -10000);    // down the transformed scale: a larger negative
    EXPECT_EQ(SymLogStep(C, 1, -10), 0);                  // magnitudes below 6 C fold to 0
    EXPECT_EQ(SymLogStep(C, 1, 0), 10);

    EXPECT_EQ(CeilTol(4.00000000001), 4);
    EXPECT_EQ(CeilTol(4.3), 5);
    EXPECT_EQ(FloorTol(3.99999999999), 4);
    EXPECT_EQ(FloorTol(-0.6), -1);
}

TEST(AxisScale, SignedLogarithmicScaleConstant)
{
    struct Case {
        std::initializer_list<double> data;
        bool minDecOn;
        double minDec;
        double power;          // C = power / 9
        double minDecAfter;
    };
    const Case cases[] = {
        {{-500, 20000}, false, 0.01, 10, 0.01},     // DecShift 3: 10^(4 - 3)
        {{-500, 20000}, true, 0.01, 0.01, 0.01},
        {{-500, 20000}, true, 0, 100, 200},          // MinDec 0 becomes m / 100 first
        {{-500, 20000}, true, 30000, 1e4, 30000},    // above the largest magnitude: its own power of ten
        {{-2000, -30}, false, 0.01, 1e-4, 0.01},     // all negative: the maximum decides
    };
    for (const Case& c : cases) {
        TScaledChart t(c.data);
        TChartAxis& axis = t.Left();
        axis.SetLogarithmic(true);
        axis.MinDecOn = c.minDecOn;
        axis.MinDec = c.minDec;
        t.Scale(axis);
        EXPECT_TRUE(axis.SignedLogMode);
        EXPECT_NEAR(axis.SignedLogScale, c.power / 9, c.power * 1e-12);
        EXPECT_EQ(axis.MinDec, c.minDecAfter);
    }
    TScaledChart zero({0, 0});
    zero.Left().SetLogarithmic(true);
    zero.Scale(zero.Left());
    EXPECT_TRUE(zero.Left().SignedLogMode);
    EXPECT_EQ(zero.Left().SignedLogScale, 1);

    TScaledChart positive({2, 300});
    positive.Left().SetLogarithmic(true);
    positive.Scale(positive.Left());
    EXPECT_FALSE(positive.Left().SignedLogMode);
}

TEST(AxisScale, RoundedLimits)
{
    struct Case {
        std::initializer_list<double> data;
        bool logarithmic;
        double increment;
        double min, max;
    };
    const Case cases[] = {
        {{3, 21.9999999999}, false, 5, 0, 25},
        {{3, 20.00000000001}, false, 5, 0, 20},
        {{3, 21.5}, false, 0, 3, 21.5},             // no increment: the ends stay
        {{20, 80}, true, 0, 10, 100},
        {{100, 100}, true, 0, 10, 1000},
        {{-350, 0.02}, true, 0, -1000, 0.1},        // signed mode rounds outward
        {{-0.5, 0}, true, 0, -1, 0},
    };
    for (const Case& c : cases) {
        TScaledChart t(c.data);
        TChartAxis& axis = t.Left();
        axis.SetLogarithmic(c.logarithmic);
        axis.SetIncrement(c.increment);
        axis.RoundedLimits = true;
        t.Scale(axis);
        EXPECT_NEAR(axis.CurrentMinimum, c.min, std::fabs(c.min) * 1e-12) << *c.data.begin();
        EXPECT_NEAR(axis.CurrentMaximum, c.max, std::fabs(c.max) * 1e-12) << *c.data.begin();
        EXPECT_EQ(axis.Minimum(), axis.CurrentMinimum);    // the computed ends are written back
        EXPECT_EQ(axis.Maximum(), axis.CurrentMaximum);
    }
}

TEST(AxisScale, FixedAndZoomedRanges)
{
    TScaledChart t({1, 2, 3});
    TChartAxis& axis = t.Left();
    axis.SetFixedRange(5, 5);
    EXPECT_EQ(axis.Minimum(), 5);
    EXPECT_EQ(axis.Maximum(), 5 + 1e-10);
    EXPECT_FALSE(axis.Automatic() || axis.AutomaticMinimum() || axis.AutomaticMaximum());
    axis.SetFixedRange(9, 1);
    EXPECT_EQ(axis.Minimum(), 1);
    EXPECT_EQ(axis.Maximum(), 9);
    t.Scale(axis);
    EXPECT_EQ(axis.CurrentMaximum, 9);

    // Both fixed automatic ends at 0 would collapse the range: they are ignored.
    axis.SetAutomatic(true);
    axis.FixedAutoLimits = true;
    t.Scale(axis);
    EXPECT_EQ(axis.CurrentMinimum, 1);
    EXPECT_EQ(axis.CurrentMaximum, 3);
    axis.FixedAutoMaximum = 50;
    t.Scale(axis);
    EXPECT_EQ(axis.CurrentMinimum, 0);
    EXPECT_EQ(axis.CurrentMaximum, 50);

    // A zoomed chart keeps the axes' ends.
    axis.FixedAutoLimits = false;
    axis.StoreMinimum(-7);
    axis.StoreMaximum(7);
    t.Chart.Zoomed = true;
    t.Scale(axis);
    EXPECT_EQ(axis.CurrentMinimum, -7);
    EXPECT_EQ(axis.CurrentMaximum, 7);
}

TEST(AxisScale, PixelsAndValuesBothWays)
{
    struct Case {
        const char* name;
        bool horizontal, logarithmic, inverted;
        std::initializer_list<double> data;
        double value;
        int pixel;
    };
    // Bottom axis 50..450 (data 0..2 on X when horizontal), left axis 20..320.
    const Case cases[] = {
        {"linear x", true, false, false, {0, 0, 0}, 0.5, 150},
        {"linear x inverted", true, false, true, {0, 0, 0}, 0.5, 350},
        {"linear y", false, false, false, {0, 100}, 25, 245},
        {"linear y inverted", false, false, true, {0, 100}, 25, 95},
        {"log y", false, true, false, {1, 1000}, 10, 220},
        {"log y inverted", false, true, true, {1, 1000}, 10, 120},
        {"signed log y", false, true, false, {-1000, 1000}, 0, 170},
    };
    for (const Case& c : cases) {
        TScaledChart t(c.data);
        TChartAxis& axis = c.horizontal ? t.Bottom() : t.Left();
        axis.SetLogarithmic(c.logarithmic);
        axis.SetInverted(c.inverted);
        t.Scale(axis);
        axis.BindPositionCalculators();
        EXPECT_EQ(axis.CalcPosValue(c.value), c.pixel) << c.name;
        EXPECT_NEAR(axis.PixelToValue(c.pixel), c.value, 1e-9) << c.name;
    }

    // The ends of a logarithmic axis read back exactly.
    TScaledChart t({1, 1000});
    TChartAxis& axis = t.Left();
    axis.SetLogarithmic(true);
    t.Scale(axis);
    EXPECT_EQ(axis.PixelToValue(axis.StartPixel), axis.CurrentMaximum);
    EXPECT_EQ(axis.PixelToValue(axis.EndPixel), axis.CurrentMinimum);
    EXPECT_EQ(axis.SpanToPixels(10), 100);
    EXPECT_EQ(axis.SpanToPixels(0), 0);
    EXPECT_EQ(axis.SpanToPixels(-5), 0);
}

TEST(AxisScale, ClampsAndDegenerateValues)
{
    TScaledChart t({0, 100});
    TChartAxis& left = t.Left();
    t.Scale(left);
    EXPECT_EQ(left.CalcPosValue(1e15), -L);               // far past the maximum: up, clamped
    EXPECT_EQ(left.CalcPosValue(-1e15), L);
    EXPECT_EQ(left.CalcPosValue(NaN), -L);
    EXPECT_EQ(left.SpanToPixels(1e300), L);

    left.SetLogarithmic(true);
    left.SetFixedRange(1, 100);
    t.Scale(left);
    EXPECT_EQ(left.CalcPosValue(1e300 * 1e10), -L);       // infinity
    EXPECT_EQ(left.CalcPosValue(NaN), -L);
    EXPECT_EQ(left.CalcPosValue(0), left.EndPixel);       // 0 maps like a negative value
    EXPECT_EQ(left.CalcPosValue(-3), left.EndPixel);

    TScaledChart flat({4, 4});
    flat.Scale(flat.Left());
    EXPECT_TRUE(flat.Left().RangeIsZero);
    EXPECT_EQ(flat.Left().PixelsPerUnit, 0);
    EXPECT_EQ(flat.Left().CalcPosValue(4), flat.Left().CenterPixel);
    EXPECT_EQ(flat.Left().CenterPixel, 170);
}

TEST(AxisScale, IncrementsGrowToNiceStepsUntilTheLabelsFit)
{
    struct Case {
        std::initializer_list<double> data;
        bool logarithmic;
        double increment;
        int separation;
        int labels;
        double step;
    };
    const Case cases[] = {
        {{0, 100}, false, 0, 10, 10, 10},          // 100 / 11 grows to 10
        {{0, 100}, false, 0, 10, 3, 50},
        {{0, 100}, false, 0, 0, 3, 25},            // no separation: no rounding to nice steps
        {{0, 100}, false, 30, 10, 10, 30},         // the increment is a lower bound
        {{0, 100}, false, 30, 10, 1, 100},         // ... that still grows when the labels do not fit
        {{1, 1e6}, true, 0, 10, 3, 1e6},
        {{0, 1}, false, 0, 10, 0, 1e-12},          // no label fits: the least increment
    };
    for (const Case& c : cases) {
        TScaledChart t(c.data);
        TChartAxis& axis = t.Left();
        axis.SetLogarithmic(c.logarithmic);
        axis.SetIncrement(c.increment);
        axis.SetLabelsSeparation(c.separation);
        t.Scale(axis);
        EXPECT_NEAR(axis.CalcIncrement(c.labels), c.step, c.step * 1e-12) << c.labels << " " << c.increment;
    }

    // A logarithmic base below 1 would shrink the step forever; a NaN range takes the least increment.
    TScaledChart t({1, 1e6});
    TChartAxis& axis = t.Left();
    axis.SetLogarithmic(true);
    axis.SetLogarithmicBase(0.5);
    t.Scale(axis);
    EXPECT_GT(axis.CalcIncrement(2), 0);
    axis.CurrentRange = NaN;
    EXPECT_EQ(axis.CalcIncrement(5), 1e-12);
}

// Series margins and axis offsets widen the working range so that its ends land M pixels inside.
TEST(AxisScale, MarginsWidenTheRange)
{
    TRecordedChart rc({50, 20, 250, 320});     // a bottom axis of 200 pixels
    TTestSeries s;
    s.SetParentChart(&rc.Chart);
    s.InsertPoint(0, 1);
    s.InsertPoint(100, 2);
    TChartAxis& axis = rc.Chart.BottomAxis();
    rc.Scale(axis);
    axis.SetRangeFromPixels({10, 0, 10, 0});
    EXPECT_EQ(axis.CalcPosValue(0), axis.StartPixel + 10);
    EXPECT_EQ(axis.CalcPosValue(100), axis.EndPixel - 10);
    EXPECT_EQ(axis.Minimum(), 0);              // the computed ends stay
    EXPECT_EQ(axis.Maximum(), 100);

    TChartAxis& left = rc.Chart.LeftAxis();
    rc.Scale(left);
    left.SetRangeFromPixels({0, 30, 0, 0});    // top margin only, at StartPixel
    EXPECT_EQ(left.CalcPosValue(2), left.StartPixel + 30);
    EXPECT_EQ(left.CalcPosValue(1), left.EndPixel);

    rc.Scale(left);
    left.SetRangeFromPixels({0, 150, 0, 150}); // nothing left: the range stays
    EXPECT_EQ(left.CurrentMinimum, 1);
    EXPECT_EQ(left.CurrentMaximum, 2);
}

TEST(AxisScale, LogarithmicWriterSwitchesFormatsAndRefusesDateTimes)
{
    TScaledChart t({1, 50});
    TChartAxis& axis = t.Left();
    axis.AutoLogFormat = true;
    int changes = 0;
    axis.OnRangeChange = [&](TChartAxis*) { ++changes; };
    axis.SetIncrement(3);
    axis.SetLogarithmic(true);
    EXPECT_TRUE(axis.LabelsExponent());
    EXPECT_EQ(axis.AxisValuesFormat(), "0\"0\"e-0");
    EXPECT_EQ(axis.MinorTickCount(), 8);
    EXPECT_EQ(axis.Increment(), 0);
    EXPECT_EQ(axis.CurrentMaximum, 50);                   // the range was recomputed
    EXPECT_EQ(changes, 1);
    axis.SetLogarithmic(true);
    EXPECT_EQ(changes, 1);
    axis.SetLogarithmic(false);
    EXPECT_FALSE(axis.LabelsExponent());
    EXPECT_EQ(axis.AxisValuesFormat(), "##0.###");
    EXPECT_EQ(axis.MinorTickCount(), 1);
    EXPECT_EQ(changes, 2);

    t.Series.YValues().InitDateTime(true);
    const int undoBefore = t.Chart.UndoZoomCalls;
    try {
        axis.SetLogarithmic(true);
        FAIL();
    } catch (const AxisException& e) {
        EXPECT_EQ(e.Message(), LumConst::DateTimeAxisLogarithmic);
    }
    EXPECT_FALSE(axis.Logarithmic());
    EXPECT_EQ(t.Chart.UndoZoomCalls, undoBefore + 1);    // the zoom was undone first
}

TEST(AxisScale, ScrollingWithAndWithoutLimits)
{
    TScaledChart t({0, 10});
    TChartAxis& axis = t.Left();
    axis.SetFixedRange(0, 10);
    axis.ScrollBy(true, 5);                               // nothing above the maximum: refused
    EXPECT_EQ(axis.Maximum(), 10);
    axis.ScrollBy(false, 5);
    EXPECT_EQ(axis.Minimum(), 5);
    EXPECT_EQ(axis.Maximum(), 15);
    axis.ScrollBy(true, -2);                              // the data reach below 5
    EXPECT_EQ(axis.Minimum(), 3);
}

namespace {
// A series that asks its axes for room beside its points.
class TWideSeries : public TTestSeries {
public:
    TWideSeries(int h, int v) : FH(h), FV(v) {}
    void HorizMargins(int& Left, int& Right) override { Left = Right = FH; }
    void VertMargins(int& Top, int& Bottom) override { Top = Bottom = FV; }

private:
    int FH, FV;
};
} // namespace

// Series ask at automatic ends only; offsets count always; an inverted axis has its ends swapped.
TEST(AxisScale, MarginsFromSeriesAndOffsets)
{
    TTestChart chart;
    TWideSeries narrow(3, 2), wide(6, 1);
    narrow.SetParentChart(&chart);
    wide.SetParentChart(&chart);
    TChartAxis& bottom = chart.BottomAxis();
    TChartAxis& left = chart.LeftAxis();
    EXPECT_EQ(chart.AxisMargins(bottom), (TRect{6, 0, 6, 0}));
    EXPECT_EQ(chart.AxisMargins(left), (TRect{0, 2, 0, 2}));

    bottom.SetMinimumOffset(10);
    bottom.SetMaximumOffset(1);
    bottom.SetAutomaticMaximum(false);
    EXPECT_EQ(chart.AxisMargins(bottom), (TRect{16, 0, 1, 0}));
    bottom.SetInverted(true);
    EXPECT_EQ(chart.AxisMargins(bottom), (TRect{1, 0, 16, 0}));

    left.SetMaximumOffset(4);
    wide.SetActive(false);
    EXPECT_EQ(chart.AxisMargins(left), (TRect{0, 6, 0, 2}));
    EXPECT_EQ(chart.AxisMargins(chart.TopAxis()), (TRect{0, 0, 0, 0}));
}

// Many values at once give what each value gives alone, through either routine of any axis mode: exact
// halves, values between pixels, values far outside, infinities and NaN, and a range of zero.
TEST(AxisScale, ManyValuesAtOnceMapAsEachAlone)
{
    std::vector<double> values{0, 0.5, 1.5, 2.5, -0.5, -2.5, 24.999999999999996, 25.000000000000004, 99.75, 100,
                               -1e15, 1e15, 1e300, -1e300, NaN, std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity(), 1e-300, 0.125, 33.3333};
    // Values at and around every half pixel of the span.
    for (int i = 0; i <= 1200; ++i) values.push_back(i / 12.0 - 0.004 + (i % 3) * 0.004);
    struct Case { const char* name; bool logarithmic, inverted; std::initializer_list<double> data; };
    const Case cases[] = {
        {"linear", false, false, {0, 100}},          {"linear inverted", false, true, {0, 100}},
        {"logarithmic", true, false, {1, 1000}},     {"signed logarithmic", true, false, {-1000, 1000}},
        {"zero range", false, false, {4, 4}},        {"odd range", false, false, {-3.3, 117.7}},
    };
    for (const Case& c : cases) {
        TScaledChart t(c.data);
        for (TChartAxis* axis : {&t.Left(), &t.Bottom()}) {
            axis->SetLogarithmic(c.logarithmic);
            axis->SetInverted(c.inverted);
            t.Scale(*axis);
            axis->BindPositionCalculators();
            for (const bool horizontal : {true, false}) {
                std::vector<int> pixels(values.size());
                axis->CalcPosValues(horizontal, values.data(), static_cast<int>(values.size()), pixels.data());
                for (std::size_t i = 0; i < values.size(); ++i) {
                    const int alone = horizontal ? axis->CalcXPosValue(values[i]) : axis->CalcYPosValue(values[i]);
                    ASSERT_EQ(pixels[i], alone) << c.name << (horizontal ? " x " : " y ") << values[i];
                }
            }
        }
    }
}
