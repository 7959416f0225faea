// The axis arrow and axis scroll tools on a real chart window driven by Qt mouse events: the arrows' hit
// band, clicks that scroll by a percentage with the chart's permission, the partner axis of a both-axes
// series, drags that pan an axis and the axes sharing its series, inverted and invisible axes, and
// logarithmic axes whose content follows the mouse.
#include "ToolTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct TArrowChart : TToolChart {
    TAxisArrowTool* Arrows = nullptr;
    std::vector<bool> Clicks;
    int Scrolls = 0;

    TArrowChart()
    {
        Arrows = AddTool<TAxisArrowTool>();
        Arrows->SetAxis(&Chart.BottomAxis());
        Arrows->OnClick = [this](TAxisArrowTool*, bool atStart) { Clicks.push_back(atStart); };
        Chart.OnScroll = [this](TPersistent*) { ++Scrolls; };
        Paint();
    }
    // A point on the axis line, Offset pixels beside it, inside the start (end) arrow.
    QPoint OnArrow(bool Start, int Offset = 0) const
    {
        const TChartAxis& a = *Arrows->Axis();
        const int along = Start ? a.StartPixel + 8 : a.EndPixel - 8;
        return a.Horizontal() ? QPoint(along, a.AxisPosition + Offset) : QPoint(a.AxisPosition + Offset, along);
    }
    void Click(QPoint p)
    {
        Press(p);
        Release(p);
        Paint();
    }
};

struct TScrollChart : TToolChart {
    TAxisScrollTool* Tool = nullptr;
    TScrollChart()
    {
        Tool = AddTool<TAxisScrollTool>();
        Paint();
    }
    // A point on the axis line at a value.
    QPoint OnAxis(const TChartAxis& a, double v) const
    {
        return a.Horizontal() ? QPoint(a.CalcXPosValue(v), a.AxisPosition + 1) : QPoint(a.AxisPosition - 1, a.CalcYPosValue(v));
    }
    void Drag(QPoint from, QPoint to)
    {
        Press(from);
        Move(to, Qt::LeftButton);
        Release(to);
        Paint();
    }
};

} // namespace

TEST(AxisArrowTool, ClicksScrollByAPercentageWithinTwoPixelsOfTheLine)
{
    TArrowChart t;
    struct TCase {
        const char* Name;
        bool Start;
        int Offset;
        bool Inverted;
        double Min;
    };
    const TCase cases[] = {{"start arrow", true, 0, false, 1},       {"end arrow", false, 0, false, -1},
                           {"2 pixels beside hits", true, 2, false, 1}, {"2 pixels on the other side", true, -2, false, 1},
                           {"3 pixels beside misses", true, 3, false, 0}, {"ScrollInverted", true, 0, true, -1}};
    for (const TCase& c : cases) {
        t.Chart.BottomAxis().SetFixedRange(0, 10);
        t.Paint();
        t.Clicks.clear();
        t.Arrows->ScrollInverted = c.Inverted;
        t.Click(t.OnArrow(c.Start, c.Offset));
        EXPECT_NEAR(t.Chart.BottomAxis().Minimum(), c.Min, 1e-9) << c.Name;
        EXPECT_NEAR(t.Chart.BottomAxis().Maximum(), c.Min + 10, 1e-9) << c.Name;
        const bool hit = c.Min != 0;
        ASSERT_EQ(t.Clicks.size(), hit ? 1u : 0u) << c.Name;
        if (hit) {
            EXPECT_EQ(t.Clicks[0], c.Start) << c.Name;
        }
    }
}

TEST(AxisArrowTool, ZeroPercentRefusedScrollsAndInvisibleAxes)
{
    TArrowChart t;
    t.Arrows->ScrollPercent = 0;
    t.Click(t.OnArrow(true));
    EXPECT_EQ(t.Chart.BottomAxis().Minimum(), 0);
    EXPECT_TRUE(t.Clicks.empty()) << "no OnClick with ScrollPercent 0";
    t.Chart.SetCursor(crDefault);
    t.Move(t.OnArrow(true));
    EXPECT_EQ(t.Chart.Cursor(), crHandPoint) << "the hover cursor still changes";

    t.Arrows->ScrollPercent = 10;
    bool asked = false;
    t.Chart.OnAllowScroll = [&](TChartAxis*, double& lo, double& hi, bool& allow) {
        asked = true;
        EXPECT_DOUBLE_EQ(lo, 1);
        EXPECT_DOUBLE_EQ(hi, 11);
        lo = 5;
        allow = false;
    };
    t.Click(t.OnArrow(true));
    EXPECT_TRUE(asked);
    EXPECT_EQ(t.Chart.BottomAxis().Minimum(), 0) << "a refused scroll keeps the range";
    EXPECT_EQ(t.Scrolls, 0) << "and fires no OnScroll";
    t.Chart.OnAllowScroll = nullptr;
    t.Click(t.OnArrow(true));
    EXPECT_EQ(t.Scrolls, 1);

    t.Chart.BottomAxis().SetVisible(false);
    t.Paint();
    t.Clicks.clear();
    t.Click(t.OnArrow(true));
    EXPECT_TRUE(t.Clicks.empty()) << "an invisible axis' arrows do not react";
}

TEST(AxisArrowTool, TheOtherAxisOfABothAxesSeriesAndTheLogarithmicMend)
{
    TArrowChart t;
    t.Series->SetVertAxis(aBothVertAxis);
    t.Chart.RightAxis().SetFixedRange(0, 10);
    t.Arrows->SetAxis(&t.Chart.LeftAxis());
    t.Paint();
    t.Click(t.OnArrow(false));
    EXPECT_NEAR(t.Chart.LeftAxis().Minimum(), -1, 1e-9);
    EXPECT_NEAR(t.Chart.RightAxis().Minimum(), -1, 1e-9) << "the partner scrolls by the same delta";

    // On a logarithmic axis the ends move by 10 % of the span of their logarithms: the minimum stays
    // above 0 (a linear delta would drive it to -99).
    TChartAxis& left = t.Chart.LeftAxis();
    left.SetLogarithmic(true);
    left.SetFixedRange(1, 1000);
    t.Paint();
    t.Click(t.OnArrow(false));
    EXPECT_NEAR(left.Minimum(), std::pow(1000.0, -0.1), 1e-9);
    EXPECT_NEAR(left.Maximum(), std::pow(1000.0, 0.9), 1e-6);
}

TEST(AxisScrollTool, DragsPanTheAxisAndItsPartnersByTheirOwnScale)
{
    TScrollChart t;
    TChartAxis& bottom = t.Chart.BottomAxis();
    // The content follows the mouse: the value under the press comes under the release.
    t.Drag(t.OnAxis(bottom, 4), t.OnAxis(bottom, 6));
    EXPECT_NEAR(bottom.Minimum(), -2, 0.05) << "dragging right shows smaller values";
    t.Tool->ScrollInverted = true;
    bottom.SetFixedRange(0, 10);
    t.Paint();
    t.Drag(t.OnAxis(bottom, 4), t.OnAxis(bottom, 6));
    EXPECT_NEAR(bottom.Minimum(), 2, 0.05) << "ScrollInverted";
    t.Tool->ScrollInverted = false;

    bottom.SetInverted(true);
    bottom.SetFixedRange(0, 10);
    t.Paint();
    t.Drag(t.OnAxis(bottom, 4), t.OnAxis(bottom, 6));
    EXPECT_NEAR(bottom.Minimum(), -2, 0.05) << "an inverted axis follows the mouse too";
    bottom.SetInverted(false);

    // The left axis and a right axis showing the same series, each by its own scale.
    TChartAxis& left = t.Chart.LeftAxis();
    TChartAxis& right = t.Chart.RightAxis();
    t.Series->SetVertAxis(aBothVertAxis);
    right.SetFixedRange(0, 100);
    t.Paint();
    const QPoint from = t.OnAxis(left, 4), to = t.OnAxis(left, 6);
    const double rightBefore = right.PixelToValue(from.y());
    t.Drag(from, to);
    EXPECT_NEAR(left.Minimum(), -2, 0.05);
    EXPECT_NEAR(right.Minimum(), -20, 0.5);
    EXPECT_NEAR(right.PixelToValue(to.y()), rightBefore, 0.5);
}

TEST(AxisScrollTool, InvisibleAxesAreNeverFoundAndLogarithmicDragsFollowTheMouse)
{
    TScrollChart t;
    TChartAxis& bottom = t.Chart.BottomAxis();
    const QPoint p = t.OnAxis(bottom, 5);
    EXPECT_EQ(t.Tool->AxisUnderMouse(p.x(), p.y()), &bottom);
    t.Chart.SetCursor(crDefault);
    t.Move(p);
    EXPECT_EQ(t.Chart.Cursor(), crHandPoint);
    bottom.SetVisible(false);
    EXPECT_EQ(t.Tool->AxisUnderMouse(p.x(), p.y()), nullptr);
    t.Tool->SetAxis(&bottom);
    EXPECT_EQ(t.Tool->AxisUnderMouse(p.x(), p.y()), nullptr);
    bottom.SetVisible(true);
    t.Tool->SetAxis(nullptr);
    t.Tool->SetParentChart(&t.Chart);

    TChartAxis& left = t.Chart.LeftAxis();
    left.SetLogarithmic(true);
    left.SetFixedRange(1, 1000);
    t.Paint();
    const QPoint from = t.OnAxis(left, 10), to = from + QPoint(0, 60);
    t.Drag(from, to);
    EXPECT_GT(left.Minimum(), 0);
    EXPECT_NEAR(std::log(left.PixelToValue(to.y())), std::log(10.0), 0.03) << "the content follows the mouse";
}

TEST(AxisScrollTools, Names)
{
    TAxisArrowTool arrows(nullptr);
    TAxisScrollTool scroll(nullptr);
    EXPECT_EQ(arrows.DescriptionText(), "Axis Arrows");
    EXPECT_EQ(arrows.EditorFormName(), "TAxisArrowToolEditor");
    EXPECT_EQ(scroll.DescriptionText(), "Axis Scroll");
    EXPECT_EQ(scroll.EditorFormName(), "TAxisToolEditor");
    EXPECT_EQ(arrows.Position(), aaBoth);
    EXPECT_EQ(arrows.HeadWidth(), 8);
    EXPECT_EQ(arrows.Length(), 16);
    EXPECT_EQ(arrows.SizePercent(), 50);
    EXPECT_EQ(arrows.ScrollPercent, 10);
}
