// Every drawing tool on one chart in a shown window: grid bands, a colour band, a colour line, axis arrows,
// drawn lines with the handles of the selected one, an annotation with its callout, a rectangle, and the
// cursor and nearest-point marker that follow the mouse. With VSP_TOOLS_SHOT set, the window is also
// saved to that file for a person to look at.
#include "ToolTestSupport.h"

#include <QPixmap>

#include <gtest/gtest.h>

#include <cstdlib>

TEST(ToolShowcase, EveryDrawingToolOnOneChart)
{
    TToolChart t;
    t.Window->setGeometry(50, 50, 920, 620);
    t.Chart.SetBounds(0, 0, 900, 600);
    t.Chart.Title().Text().SetText("Chart tools");
    t.Series->SetSeriesColor(clNavy);

    auto* grid = t.AddTool<TGridBandTool>();
    grid->SetAxis(&t.Chart.LeftAxis());
    grid->Band1().SetColor(TColor(0xF4ECE0));
    grid->Band2().SetStyle(bsClear);

    auto* band = t.AddTool<TColorBandTool>();
    band->SetAxis(&t.Chart.BottomAxis());
    band->SetColor(TColor(0x80FFFF));
    band->SetTransparency(40);
    band->SetStartValue(6.2);
    band->SetEndValue(7.4);
    band->SetResizeStart(true);
    band->SetResizeEnd(true);

    auto* line = t.AddTool<TColorLineTool>();
    line->SetAxis(&t.Chart.LeftAxis());
    line->Pen().SetColor(clRed);
    line->Pen().SetWidth(2);
    line->SetValue(8.5);

    auto* arrows = t.AddTool<TAxisArrowTool>();
    arrows->SetAxis(&t.Chart.BottomAxis());
    arrows->Brush().SetColor(clGreen);

    auto* lines = t.AddTool<TDrawLineTool>();
    lines->Pen().SetColor(clPurple);
    lines->Pen().SetWidth(2);
    auto* first = static_cast<TDrawLine*>(lines->Lines().Add());
    first->PlaceSilently(1, 7, 4, 9);
    auto* second = static_cast<TDrawLine*>(lines->Lines().Add());
    second->SetStyle(dlHorizParallel);
    second->PlaceSilently(5, 1.5, 9, 3);
    lines->SetSelected(first);

    auto* note = t.AddTool<TAnnotationTool>();
    note->SetText("Annotation\rwith a callout");
    note->SetPosition(ppRightTop);
    note->Callout().Arrow().SetVisible(true);
    note->Callout().SetArrowHead(ahSolid);
    const QPoint target = t.At(8, 8);
    note->Callout().SetXPosition(target.x());
    note->Callout().SetYPosition(target.y());

    auto* rect = t.AddTool<TRectangleTool>();
    rect->SetText("Rectangle");
    rect->SetLeft(t.At(1, 5).x());
    rect->SetTop(t.At(1, 5).y());
    rect->SetWidth(120);
    rect->SetHeight(60);
    rect->Shape().SetColor(clAqua);

    auto* cursor = t.AddTool<TCursorTool>();
    cursor->FollowMouse = true;
    cursor->Pen().SetColor(clBlue);
    auto* nearest = t.AddTool<TNearestTool>();
    nearest->SetSeries(t.Series);
    nearest->FullRepaint = false;
    nearest->Pen().SetColor(clRed);
    nearest->Pen().SetStyle(psSolid);
    t.Paint();

    const TPicturePixels painted = t.Buffer();
    EXPECT_EQ(CountDifferences(t.Fresh(), painted), 0);
    t.Move(t.At(4.6, 4.2));
    EXPECT_GT(CountDifferences(painted, t.Buffer()), 100) << "cursor and nearest marker drawn in place";
    EXPECT_EQ(nearest->NearestIndex, 4);
    const QPoint handle = t.At(4, 9);
    EXPECT_EQ(t.BufferPixel(handle.x() - 2, handle.y() - 2), clBlack) << "the selected line's handle";
    const QPoint inBand = t.At(6.8, 0.5);
    EXPECT_NE(t.BufferPixel(inBand.x(), inBand.y()), t.Chart.BackWall().Color()) << "the band";

    if (const char* file = std::getenv("VSP_TOOLS_SHOT")) {
        EXPECT_TRUE(t.Window->grab().save(QString::fromUtf8(file)));
    }
}
