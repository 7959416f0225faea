// Stored settings that once made a paint hang, exhaust memory or overflow: each case is painted whole,
// in 2-D and 3-D, and may end only normally or with "Integer overflow" where a sum cannot be clamped.
// The work of every paint is bounded by the pixels, so the table needs no time limits.
#include "HostileChart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <string>
#include <vector>

TEST(HostileSettings, SettingsThatOnceRanUnboundedPaintWithinThePixels)
{
    struct Case {
        const char* name;
        std::function<void(THostileChart&)> apply;
    };
    const auto logAxis = [](double base) {
        return [base](THostileChart& c) {
            c.Chart.LeftAxis().SetLogarithmic(true);
            c.Chart.LeftAxis().SetLogarithmicBase(base);
            c.Chart.LeftAxis().SetAutomatic(false);
            c.Chart.LeftAxis().SetFixedRange(1, 1e6);
        };
    };
    const Case cases[] = {
        {"log base 1.00001", logAxis(1.00001)},
        {"log base 1.0000001", logAxis(1.0000001)},
        {"minor tick count 20,000,000", [](THostileChart& c) {
             for (TChartAxis* a : {&c.Chart.LeftAxis(), &c.Chart.BottomAxis()}) a->SetMinorTickCount(20000000);
         }},
        {"smooth panel shadow 1,000,000", [](THostileChart& c) {
             c.Chart.Shadow().SetSmooth(true);
             c.Chart.Shadow().SetUniformSize(1000000);
         }},
        {"panel bevels 1,000,000", [](THostileChart& c) {
             c.Chart.SetBevelOuter(bvRaised);
             c.Chart.SetBevelWidth(1000000);
             c.Chart.SetBorderWidth(1000000);
         }},
        {"marks smooth shadow 1,000,000", [](THostileChart& c) {
             c.Series->Marks().Shadow().SetSmooth(true);
             c.Series->Marks().Shadow().SetUniformSize(1000000);
         }},
        {"marks shadow INT_MAX", [](THostileChart& c) { c.Series->Marks().Shadow().SetUniformSize(INT_MAX); }},
        {"panel shadow INT_MIN and INT_MAX", [](THostileChart& c) {
             c.Chart.Shadow().SetHorizSize(INT_MIN);
             c.Chart.Shadow().SetVertSize(INT_MAX);
         }},
        {"depth axis of a million slots", [](THostileChart& c) {
             c.Chart.DepthAxis().SetVisible(true);
             c.Chart.DepthAxis().SetAutomatic(false);
             c.Chart.DepthAxis().SetFixedRange(-1e9, 1e9);
         }},
    };
    for (const Case& k : cases)
        for (bool view3D : {false, true}) {
            THostileChart c(view3D);
            k.apply(c);
            EXPECT_TRUE(PaintEnds(c, k.name)) << k.name << (view3D ? " in 3-D" : "");
        }
    // The stored values stay as they are.
    THostileChart c(false);
    c.Chart.LeftAxis().SetMinorTickCount(20000000);
    c.Chart.Shadow().SetUniformSize(1000000);
    c.Render();
    EXPECT_EQ(c.Chart.LeftAxis().MinorTickCount(), 20000000);
    EXPECT_EQ(c.Chart.Shadow().HorizSize(), 1000000);
}

TEST(HostileSettings, MinorTicksAtMostOnePerPixel)
{
    TRecordedChart c({50, 20, 450, 320});
    TTestSeries series;
    series.SetParentChart(&c.Chart);
    series.InsertPoint(0, 0);
    series.InsertPoint(100, 100);
    TChartAxis& axis = c.Chart.BottomAxis();
    axis.SetMinorTickCount(20000000);
    axis.MinorTicks().SetVisible(true);
    axis.Ticks().SetVisible(false);
    axis.Grid().SetVisible(false);
    axis.Axis().SetVisible(false);
    c.Scale(axis);
    axis.BindPositionCalculators();
    c.Recorder->Clear();
    axis.PaintAxis(true);
    // Every minor tick is a vertical segment on its own pixel column between the axis ends.
    std::vector<int> columns;
    for (const auto& s : c.Segments()) columns.push_back(s.x0);
    std::sort(columns.begin(), columns.end());
    EXPECT_EQ(std::adjacent_find(columns.begin(), columns.end()), columns.end()) << "two marks on one pixel";
    EXPECT_GT(columns.size(), 300u) << "the interval is filled";
    EXPECT_LT(columns.size(), 400u);
}

TEST(HostileSettings, ALogarithmicBaseBelowOneRoundsOutward)
{
    struct Case {
        double lo, hi, roundedLo, roundedHi;
    };
    // Base 0.5: the range takes the powers of 0.5 (of 2) around the data.
    const Case cases[] = {{20, 80, 16, 128}, {32, 32, 16, 64}, {0.3, 0.7, 0.25, 1}};
    for (const Case& k : cases) {
        SCOPED_TRACE(std::to_string(k.lo) + ".." + std::to_string(k.hi));
        THostileChart c(false);
        c.Series->ClearPoints();
        c.Series->InsertPoint(1, k.lo);
        c.Series->InsertPoint(2, k.hi);
        TChartAxis& axis = c.Chart.LeftAxis();
        axis.SetLogarithmic(true);
        axis.SetLogarithmicBase(0.5);
        axis.RoundedLimits = true;
        axis.MinorGrid().SetVisible(false);
        EXPECT_TRUE(PaintEnds(c, "base 0.5"));
        // The rounded ends (the pointer's margins then widen the working range a little).
        EXPECT_DOUBLE_EQ(axis.Minimum(), k.roundedLo);
        EXPECT_DOUBLE_EQ(axis.Maximum(), k.roundedHi);
        // The data points stand on the axis, within its pixels.
        for (double v : {k.lo, k.hi}) {
            const int p = axis.CalcPosValue(v);
            EXPECT_GE(p, axis.StartPixel) << v;
            EXPECT_LE(p, axis.EndPixel) << v;
        }
        EXPECT_EQ(axis.TickPositions.size(), 0u) << "the label walk keeps its base > 1";
    }
}
