// The draw-line tool on a real chart window driven by Qt mouse events: drawing a line with a rubber line
// that leaves no trace, selecting, dragging a line whole or by a handle, the hit tolerances, the parallel
// styles, refused selections, other buttons, deleting the selected line, and lines that follow a zoom.
#include "ToolTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct TDrawLineChart : TToolChart {
    TDrawLineTool* Tool = nullptr;
    int NewLines = 0, Selects = 0, Drags = 0, Dragged = 0;

    TDrawLineChart()
    {
        Series->SetActive(false);
        Tool = AddTool<TDrawLineTool>();
        Tool->Pen().SetColor(clBlue);
        Tool->OnNewLine = [this](TPersistent*) { ++NewLines; };
        Tool->OnSelect = [this](TPersistent*) { ++Selects; };
        Tool->OnDragLine = [this](TPersistent*) { ++Drags; };
        Tool->OnDraggedLine = [this](TPersistent*) { ++Dragged; };
        Paint();
    }
    TDrawLine& AddLine(double x0, double y0, double x1, double y1, TDrawLineStyle style = dlLine)
    {
        auto* line = static_cast<TDrawLine*>(Tool->Lines().Add());
        line->SetStyle(style);
        line->PlaceSilently(x0, y0, x1, y1);
        Paint();
        return *line;
    }
    void Click(QPoint p)
    {
        Press(p);
        Release(p);
    }
};

} // namespace

TEST(DrawLineTool, DrawingALineLeavesNoRubberTraceAndAddsItInValues)
{
    TDrawLineChart t;
    const TPicturePixels before = t.Buffer();
    t.Press(t.At(2, 2));
    EXPECT_TRUE(t.Tool->Drawing);
    EXPECT_EQ(CountDifferences(before, t.Buffer()), 0) << "a rubber line of no length draws nothing";
    t.Move(t.At(5, 7), Qt::LeftButton);
    EXPECT_GT(CountDifferences(before, t.Buffer()), 10) << "the rubber line is drawn in place";
    EXPECT_FALSE(t.Chart.PaintPending());
    t.Move(t.At(8, 8), Qt::LeftButton);
    // The rubber line of this step taken away again gives back the picture from before.
    t.Tool->DrawRubberLine();
    EXPECT_EQ(CountDifferences(before, t.Buffer()), 0) << "drawn twice, the rubber line leaves the picture whole";
    t.Tool->DrawRubberLine();
    t.Release(t.At(8, 8));
    EXPECT_EQ(t.NewLines, 1);
    ASSERT_EQ(t.Tool->Lines().Count(), 1);
    const TDrawLine& line = *t.Tool->Lines().Line(0);
    EXPECT_NEAR(line.X0(), 2, 0.05);
    EXPECT_NEAR(line.Y0(), 2, 0.05);
    EXPECT_NEAR(line.X1(), 8, 0.05);
    EXPECT_NEAR(line.Y1(), 8, 0.05);
    EXPECT_EQ(t.Tool->Selected(), &line) << "SelectNewLines";
    EXPECT_FALSE(line.HasOwnPen());
    t.Settle();
    EXPECT_EQ(CountDifferences(t.Fresh(), t.Buffer()), 0) << "after the release the buffer is the chart's picture";

    t.Click(t.At(2, 7));
    EXPECT_EQ(t.Tool->Lines().Count(), 1) << "a press and release at one pixel adds no line";
    EXPECT_EQ(t.Tool->Selected(), nullptr) << "a press in empty space deselects";
}

TEST(DrawLineTool, HitTolerancesOfTheShapesAndTheHandles)
{
    TDrawLineChart t;
    TDrawLine& line = t.AddLine(2, 5, 8, 5);
    const QPoint a = t.At(2, 5), b = t.At(8, 5), mid = t.At(5, 5);
    struct TCase {
        const char* Name;
        QPoint P;
        bool Hit;
    };
    const TCase cases[] = {{"on the segment", mid, true},
                           {"1 pixel off (tolerance 0 + 1)", mid + QPoint(0, 1), true},
                           {"2 pixels off", mid + QPoint(0, 2), false},
                           {"4 pixels past the end (beyond its handle)", b + QPoint(4, 0), false}};
    for (const TCase& c : cases) EXPECT_EQ(t.Tool->LineAt(c.P.x(), c.P.y()) == &line, c.Hit) << c.Name;
    t.Tool->ClickTolerance = 2;
    EXPECT_EQ(t.Tool->LineAt(mid.x(), mid.y() + 3), &line) << "tolerance 2 reaches 3 pixels";

    // The handles answer from 3 pixels before to 3 after an end, edges included, only on the selected line.
    t.Tool->ClickTolerance = 0;
    struct THandle {
        QPoint Offset;
        bool Hit;
    };
    const THandle handles[] = {{{3, 3}, true}, {{-3, -3}, true}, {{-3, 3}, true}, {{4, 0}, false}, {{0, -4}, false}};
    for (const THandle& h : handles) {
        const QPoint p = a + h.Offset;
        EXPECT_EQ(t.Tool->ClickedLine(line, 1, {p.x(), p.y()}), h.Hit) << h.Offset.x() << "," << h.Offset.y();
    }

    // A press on the start handle of an unselected line selects it and drags it whole.
    t.Press(a + QPoint(0, -3));
    EXPECT_EQ(t.Tool->Selected(), &line);
    EXPECT_EQ(t.Tool->DragPart, 3) << "handles of a line not selected do not count";
    t.Release(a + QPoint(0, -3));
    EXPECT_EQ(t.Selects, 1);
    t.Press(a + QPoint(0, -3));
    EXPECT_EQ(t.Tool->DragPart, 1) << "now the start handle is grabbed";
    t.Release(a + QPoint(0, -3));
    t.Press(b + QPoint(3, 3));
    EXPECT_EQ(t.Tool->DragPart, 2);
    t.Release(b + QPoint(3, 3));
}

TEST(DrawLineTool, ParallelStylesAreHitOnTheirSegmentsOnly)
{
    TDrawLineChart t;
    TDrawLine& h = t.AddLine(2, 2, 8, 6, dlHorizParallel);
    EXPECT_EQ(t.Tool->LineAt(t.At(5, 2).x(), t.At(5, 2).y()), &h);
    EXPECT_EQ(t.Tool->LineAt(t.At(5, 6).x(), t.At(5, 6).y()), &h);
    EXPECT_EQ(t.Tool->LineAt(t.At(5, 4).x(), t.At(5, 4).y()), nullptr) << "not between the two segments";
    h.SetStyle(dlVertParallel);
    EXPECT_EQ(t.Tool->LineAt(t.At(2, 4).x(), t.At(2, 4).y()), &h);
    EXPECT_EQ(t.Tool->LineAt(t.At(8, 4).x(), t.At(8, 4).y()), &h);
    EXPECT_EQ(t.Tool->LineAt(t.At(5, 4).x(), t.At(5, 4).y()), nullptr);
}

TEST(DrawLineTool, DraggingMovesTheSelectedLineWholeOrByAnEnd)
{
    TDrawLineChart t;
    TDrawLine& line = t.AddLine(2, 5, 6, 5);
    t.Click(t.At(4, 5));
    ASSERT_EQ(t.Tool->Selected(), &line);
    t.Settle();
    const TPicturePixels before = t.Buffer();

    // Whole: both ends by the mouse delta.
    // The first move lifts the line from its place (the rubber line over it) and draws it at the mouse;
    // back at the press, both go and the picture is whole again.
    t.Press(t.At(4, 5));
    t.Move(t.At(5, 7), Qt::LeftButton);
    EXPECT_GT(CountDifferences(before, t.Buffer()), 10);
    EXPECT_FALSE(t.Chart.PaintPending());
    t.Move(t.At(4, 5), Qt::LeftButton);
    EXPECT_EQ(CountDifferences(before, t.Buffer()), 0) << "the rubber line taken away leaves the picture whole";
    t.Move(t.At(5, 7), Qt::LeftButton);
    t.Release(t.At(5, 7));
    EXPECT_NEAR(line.X0(), 3, 0.05);
    EXPECT_NEAR(line.Y0(), 7, 0.05);
    EXPECT_NEAR(line.X1(), 7, 0.05);
    EXPECT_NEAR(line.Y1(), 7, 0.05);
    EXPECT_EQ(t.Dragged, 1);
    EXPECT_GE(t.Drags, 1);
    t.Settle();
    EXPECT_EQ(CountDifferences(t.Fresh(), t.Buffer()), 0);

    // The end handle moves the end only.
    t.Press(t.At(7, 7));
    EXPECT_EQ(t.Tool->DragPart, 2);
    t.Move(t.At(9, 1), Qt::LeftButton);
    t.Release(t.At(9, 1));
    EXPECT_NEAR(line.X0(), 3, 0.05);
    EXPECT_NEAR(line.Y0(), 7, 0.05);
    EXPECT_NEAR(line.X1(), 9, 0.05);
    EXPECT_NEAR(line.Y1(), 1, 0.05);
    EXPECT_EQ(t.Dragged, 2);
}

TEST(DrawLineTool, RefusedSelectionOtherButtonsAndDisabledSelection)
{
    TDrawLineChart t;
    TDrawLine& first = t.AddLine(1, 1, 4, 1);
    TDrawLine& second = t.AddLine(6, 8, 9, 8);
    t.Click(t.At(2, 1));
    ASSERT_EQ(t.Tool->Selected(), &first);
    t.Tool->OnSelecting = [](TDrawLineTool*, TDrawLine*, bool& allow) { allow = false; };
    t.Press(t.At(7, 8));
    EXPECT_FALSE(t.Chart.Zoom().Active) << "the press is taken: no zoom starts";
    EXPECT_EQ(t.Tool->DragPart, 0) << "but it drags nothing";
    t.Move(t.At(7, 5), Qt::LeftButton);
    t.Release(t.At(7, 5));
    EXPECT_EQ(t.Tool->Selected(), &first);
    EXPECT_NEAR(first.Y0(), 1, 0.05) << "the selected line stays where it was";
    EXPECT_NEAR(second.Y0(), 8, 0.05);
    t.Tool->OnSelecting = nullptr;

    t.Press(t.At(2, 6), Qt::RightButton);
    t.Release(t.At(6, 6), Qt::RightButton);
    EXPECT_FALSE(t.Tool->Drawing);
    EXPECT_EQ(t.Tool->Lines().Count(), 2) << "another button is ignored";

    t.Tool->SetEnableSelect(false);
    EXPECT_EQ(t.Tool->Selected(), nullptr) << "turning selection off drops the selection";
    t.Press(t.At(2, 1));
    t.Move(t.At(3, 3), Qt::LeftButton);
    t.Release(t.At(3, 3));
    EXPECT_EQ(t.Tool->Lines().Count(), 3) << "a press over a line draws a new one";
}

TEST(DrawLineTool, DeletingTheSelectedLineAndLinesFollowingAZoom)
{
    TDrawLineChart t;
    t.AddLine(1, 1, 4, 1);
    TDrawLine& second = t.AddLine(2, 3, 5, 6);
    t.Click(t.At(3, 4));
    ASSERT_EQ(t.Tool->Selected(), &second);
    t.Tool->DeleteSelected();
    EXPECT_EQ(t.Tool->Selected(), nullptr);
    EXPECT_EQ(t.Tool->Lines().Count(), 1);
    TDrawLine& third = t.AddLine(2, 3, 5, 6);
    t.Click(t.At(3, 4));
    ASSERT_EQ(t.Tool->Selected(), &third);
    t.Tool->Lines().Delete(1);
    EXPECT_EQ(t.Tool->Selected(), nullptr) << "a selected line freed through the collection is forgotten";

    // Stored in values, the line moves with the axes.
    TDrawLine& line = t.AddLine(2, 2, 4, 4);
    const TPoint before = t.Tool->AxisPoint(line.X1(), line.Y1());
    t.Chart.BottomAxis().SetFixedRange(0, 5);
    t.Paint();
    const TPoint after = t.Tool->AxisPoint(line.X1(), line.Y1());
    EXPECT_GT(after.x, before.x + 100);
    EXPECT_EQ(CountDifferences(t.Fresh(), t.Buffer()), 0);
}

TEST(DrawLineTool, HandlesOfANewSelectionAreDrawnAtOnceAndStayUntilARepaint)
{
    TDrawLineChart t;
    TDrawLine& line = t.AddLine(2, 5, 8, 5);
    const TPicturePixels before = t.Buffer();
    const QPoint end = t.At(8, 5);
    t.Click(t.At(5, 5));
    EXPECT_EQ(t.Tool->Selected(), &line);
    EXPECT_EQ(t.BufferPixel(end.x() - 2, end.y() - 2), clBlack) << "the handle drawn at once";
    t.Click(t.At(5, 8));
    EXPECT_EQ(t.Tool->Selected(), nullptr);
    EXPECT_EQ(t.BufferPixel(end.x() - 2, end.y() - 2), clBlack) << "deselecting leaves the handles until a repaint";
    t.Paint();
    EXPECT_EQ(CountDifferences(before, t.Buffer()), 0);
}

TEST(DrawLineTool, StreamsItsLinesAndTheirOwnPens)
{
    TDrawLineTool tool(nullptr);
    EXPECT_EQ(tool.DescriptionText(), "Draw Line");
    EXPECT_EQ(tool.EditorFormName(), "TDrawLineEdit");
    auto* a = static_cast<TDrawLine*>(tool.Lines().Add());
    a->PlaceSilently(1, 2, 3, 4);
    a->SetStyle(dlVertParallel);
    a->Pen().SetColor(clRed);
    auto* b = static_cast<TDrawLine*>(tool.Lines().Add());
    b->Assign(*a);
    EXPECT_TRUE(b->HasOwnPen());
    EXPECT_EQ(b->Pen().Color(), clRed);
    EXPECT_EQ(b->Style(), dlVertParallel);
    EXPECT_EQ(b->Y1(), 4);
    auto* c = static_cast<TDrawLine*>(tool.Lines().Add());
    c->Assign(*b);
    c->SetPen(nullptr);
    EXPECT_FALSE(c->HasOwnPen());
    b->Assign(*c);
    EXPECT_FALSE(b->HasOwnPen()) << "a source without its own pen frees this line's";
    const TPropInfo* pen = FindPropInfo(*a, "Pen");
    ASSERT_NE(pen, nullptr);
    EXPECT_TRUE(IsStoredProp(*a, *pen));
    EXPECT_FALSE(IsStoredProp(*b, *pen)) << "stored only with the line's own pen";
}
