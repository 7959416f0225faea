// The axis model and the chart's axis lists: the automatic switches, refused settings, angles, the depth
// position, standard and custom axes, shared depth inversion, copying, and custom axes that series use.
#include "EngineTestSupport.h"

#include "chart/base/LumConst.h"

#include <gtest/gtest.h>

#include <functional>

TEST(AxisModel, AutomaticSwitchesFollowEachOther)
{
    TTestChart chart;
    TChartAxis& axis = chart.LeftAxis();
    axis.SetAutomaticMinimum(false);
    EXPECT_FALSE(axis.Automatic());
    EXPECT_TRUE(axis.AutomaticMaximum());
    axis.SetAutomaticMinimum(true);
    EXPECT_TRUE(axis.Automatic());

    axis.SetAutomatic(false);
    EXPECT_FALSE(axis.AutomaticMinimum());
    EXPECT_FALSE(axis.AutomaticMaximum());
    chart.BeginLoading();                       // while the chart reads, only the flag itself
    axis.SetAutomatic(true);
    EXPECT_FALSE(axis.AutomaticMinimum());
    chart.Loaded();
}

TEST(AxisModel, RefusedSettingsKeepTheirValues)
{
    TTestChart chart;
    TChartAxis& axis = chart.BottomAxis();
    axis.SetMaximum(10);
    axis.SetMinimum(2);
    struct Case {
        const char* text;
        std::function<void()> set;
        std::function<bool()> unchanged;
    };
    const Case cases[] = {
        {LumConst::AxisMinimumAboveMaximum, [&] { axis.SetMinimum(11); }, [&] { return axis.Minimum() == 2; }},
        {LumConst::AxisMaximumBelowMinimum, [&] { axis.SetMaximum(1); }, [&] { return axis.Maximum() == 10; }},
        {LumConst::AxisIncrementNegative, [&] { axis.SetIncrement(-1); }, [&] { return axis.Increment() == 0; }},
        {LumConst::LabelsSeparation, [&] { axis.SetLabelsSeparation(-1); }, [&] { return axis.LabelsSeparation() == 10; }},
        {LumConst::AxisLogarithmicBase, [&] { axis.SetLogarithmicBase(1); }, [&] { return axis.LogarithmicBase() == 10; }},
        {LumConst::AxisLogarithmicBase, [&] { axis.SetLogarithmicBase(0); }, [&] { return axis.LogarithmicBase() == 10; }},
        {LumConst::AxisLogarithmicBase, [&] { axis.SetLogarithmicBase(-2); }, [&] { return axis.LogarithmicBase() == 10; }},
    };
    for (const Case& c : cases) {
        try {
            c.set();
            ADD_FAILURE() << c.text;
        } catch (const AxisException& e) {
            EXPECT_EQ(e.Message(), c.text);
        }
        EXPECT_TRUE(c.unchanged()) << c.text;
    }
    axis.SetLabelsSeparation(0);
    axis.SetLogarithmicBase(0.5);
    EXPECT_EQ(axis.LogarithmicBase(), 0.5);

    chart.BeginLoading();                       // a stored form may hold the minimum first
    axis.SetMinimum(50);
    EXPECT_EQ(axis.Minimum(), 50);
    chart.Loaded();
}

TEST(AxisModel, AnglesAndDepthPosition)
{
    TTestChart chart;
    TChartAxis& axis = chart.LeftAxis();
    axis.SetLabelsAngle(450);
    EXPECT_EQ(axis.LabelsAngle(), 90);
    axis.Title().SetAngle(-90);
    EXPECT_EQ(axis.Title().Angle(), -90);
    EXPECT_EQ(chart.LeftAxis().Title().DefaultAngle(), 90);
    EXPECT_EQ(chart.RightAxis().Title().Angle(), 270);
    axis.SetZPosition(0);
    EXPECT_EQ(axis.ZPosition(), 0.01);
}

TEST(AxisLists, StandardAndCustomAxes)
{
    TTestChart chart;
    ASSERT_EQ(chart.Axes().Count(), 6);
    const TChartAxis* order[] = {&chart.BottomAxis(), &chart.TopAxis(), &chart.LeftAxis(), &chart.RightAxis(),
                                 &chart.DepthAxis(), &chart.DepthTopAxis()};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(chart.Axes().AxisAt(i), order[i]);
        EXPECT_FALSE(order[i]->IsCustom());
    }
    EXPECT_TRUE(chart.BottomAxis().Horizontal());
    EXPECT_TRUE(chart.TopAxis().OtherSide());
    EXPECT_EQ(chart.TopAxis().ZPosition(), 100);
    EXPECT_TRUE(chart.DepthAxis().IsDepthAxis());
    EXPECT_FALSE(chart.DepthTopAxis().Visible());

    TChartAxis& first = TChartAxis::CreateForChart(chart);
    TChartAxis& second = TChartAxis::CreateForChart(chart);
    EXPECT_EQ(chart.Axes().Count(), 8);
    EXPECT_EQ(chart.Axes().AxisAt(6), &first);
    EXPECT_EQ(chart.Axes().AxisAt(7), &second);
    EXPECT_TRUE(first.IsCustom());
    EXPECT_EQ(&chart.CustomAxes().CustomAxisAt(1), &second);

    // A series bound to a custom axis goes back to the standard axis when it is freed.
    TTestSeries s;
    s.SetParentChart(&chart);
    s.BindCustomVertAxis(&first);
    EXPECT_EQ(s.VertAxis(), aCustomVertAxis);
    EXPECT_EQ(s.GetVertAxis(), &first);
    chart.CustomAxes().Remove(&first);
    EXPECT_EQ(s.VertAxis(), aLeftAxis);
    EXPECT_EQ(s.GetVertAxis(), &chart.LeftAxis());
    EXPECT_EQ(chart.Axes().Count(), 7);
    EXPECT_EQ(chart.Axes().AxisAt(6), &second);
    EXPECT_EQ(chart.CustomAxes().Count(), 1);
}

TEST(AxisLists, DepthAxesShareInversion)
{
    TTestChart chart;
    chart.DepthAxis().SetInverted(true);
    EXPECT_TRUE(chart.DepthTopAxis().Inverted());
    chart.DepthTopAxis().SetInverted(false);
    EXPECT_FALSE(chart.DepthAxis().Inverted());
    chart.LeftAxis().SetInverted(true);
    EXPECT_FALSE(chart.RightAxis().Inverted());
}

TEST(AxisModel, AssignCopiesThePublishedSettingsOnly)
{
    TTestChart chart;
    TChartAxis& source = chart.LeftAxis();
    TChartAxis& target = TChartAxis::CreateForChart(chart);
    source.SetAutomatic(false);
    source.SetMaximum(40);
    source.SetLabelsAngle(90);
    source.Grid().SetColor(clRed);
    source.Title().SetCaption("Depth");
    source.Items().Add(3, "three");
    source.DecShift = 1;
    source.LabelValueOffset = 5;
    target.Assign(source);
    EXPECT_FALSE(target.Automatic());
    EXPECT_EQ(target.Maximum(), 40);
    EXPECT_EQ(target.LabelsAngle(), 90);
    EXPECT_EQ(target.Grid().Color(), clRed);
    EXPECT_EQ(target.Title().Caption(), "Depth");
    ASSERT_EQ(target.Items().Count(), 1);
    EXPECT_EQ(target.Items().Item(0).Text(), "three");
    EXPECT_EQ(target.DecShift, 3);
    EXPECT_EQ(target.LabelValueOffset, 0);
}

TEST(AxisModel, DateTimeFlagComesFromTheFirstActiveSeries)
{
    TTestChart chart;
    TTestSeries a, b;
    a.SetParentChart(&chart);
    b.SetParentChart(&chart);
    b.XValues().InitDateTime(true);
    EXPECT_FALSE(chart.BottomAxis().ShowsDateTime());
    a.SetActive(false);
    EXPECT_TRUE(chart.BottomAxis().ShowsDateTime());
    b.SetHorizAxis(aTopAxis);
    EXPECT_FALSE(chart.BottomAxis().ShowsDateTime());
    EXPECT_TRUE(chart.TopAxis().ShowsDateTime());
}
