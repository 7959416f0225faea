// A shown chart draws straight onto its control's back buffer: the picture there is the chart's own,
// pixel for pixel, without an off-screen bitmap, and it counts as still standing only until something
// else draws on the control.
#include "ToolTestSupport.h"

#include "chart/base/LumCanvasGdi.h"
#include "chart/control/LumToolsAxisLines.h"

#include <gtest/gtest.h>

TEST(ControlBuffer, ChartDrawsStraightOntoItsControl)
{
    TToolChart t;
    auto& canvas = dynamic_cast<TLumCanvas3D&>(t.Chart.ChartCanvas());
    t.Paint();
    EXPECT_EQ(canvas.Buffer(), nullptr) << "no off-screen bitmap is kept for the control";
    EXPECT_EQ(CountDifferences(t.Fresh(), t.Buffer()), 0);
    t.Paint();
    EXPECT_TRUE(canvas.RepaintFromBuffer()) << "the picture still stands on the control";

    // A drawing on the control between paints (a tool's band) leaves the chart to be drawn again.
    t.Chart.Canvas().Pen().SetColor(clBlue);
    t.Chart.Canvas().MoveTo(10, 10);
    t.Chart.Canvas().LineTo(100, 100);
    EXPECT_FALSE(canvas.RepaintFromBuffer());
    t.Paint();
    EXPECT_EQ(CountDifferences(t.Fresh(), t.Buffer()), 0);

    // A blend turns the control's memory to three bytes a pixel, as it would an off-screen bitmap, and the
    // picture stays the chart's own through a resize as well.
    auto* band = t.AddTool<TColorBandTool>();
    band->SetAxis(&t.Chart.BottomAxis());
    band->SetColor(TColor(0x80FFFF));
    band->SetTransparency(40);
    band->SetStartValue(2.5);
    band->SetEndValue(6.5);
    t.Chart.Title().Text().SetText("Transparent band");
    t.Paint();
    EXPECT_EQ(CountDifferences(t.Fresh(), t.Buffer()), 0);
    t.Chart.SetBounds(0, 0, 480, 340);
    t.Paint();
    EXPECT_EQ(CountDifferences(t.Fresh(), t.Buffer()), 0);
}
