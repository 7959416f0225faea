// The cursor tool on a real chart window driven by Qt mouse events: drawing in exclusive-or mode and
// taking the cursor away again pixel for pixel, the split cursors of a hover, dragging one line or both,
// snapping to the nearest point in value units, its events, and leaving the cursor rectangle.
#include "ToolTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct TCursorChart : TToolChart {
    TCursorTool* Tool = nullptr;
    struct TChange {
        int X, Y;
        double XValue, YValue;
        TChartSeries* Series;
        int Index;
    };
    std::vector<TChange> Changes, SnapChanges;

    TCursorChart()
    {
        Tool = AddTool<TCursorTool>();
        Tool->Pen().SetColor(clRed);
        Tool->OnChange = [this](TCursorTool*, int x, int y, double xv, double yv, TChartSeries* s, int i) {
            Changes.push_back({x, y, xv, yv, s, i});
        };
        Tool->OnSnapChange = [this](TCursorTool*, int x, int y, double xv, double yv, TChartSeries* s, int i) {
            SnapChanges.push_back({x, y, xv, yv, s, i});
        };
        Paint();
    }
    // Places the cursor at a value point by a following move, then leaves it there to be grabbed.
    void PlaceAt(double x, double y)
    {
        Tool->FollowMouse = true;
        Move(At(x, y));
        Tool->FollowMouse = false;
    }
};

} // namespace

TEST(CursorTool, EveryStyleIsTakenAwayPixelForPixelWhenTheMouseLeavesItsRectangle)
{
    struct TCase {
        const char* Name;
        TCursorToolStyle Style;
        bool Square, Ellipse;
    };
    const TCase cases[] = {{"both lines", cssBoth, false, false},
                           {"horizontal line", cssHorizontal, false, false},
                           {"vertical line", cssVertical, false, false},
                           {"square", cssBoth, true, false},
                           {"circle", cssBoth, false, true}};
    for (const TCase& c : cases) {
        TCursorChart t;
        t.Tool->SetStyle(c.Style);
        t.Tool->DrawAsSquare = c.Square;
        t.Tool->DrawAsEllipse = c.Ellipse;
        t.Tool->FollowMouse = true;
        t.Paint();
        const TPicturePixels before = t.Buffer();
        t.Move(t.At(4, 6));
        const TPicturePixels drawn = t.Buffer();
        EXPECT_GT(CountDifferences(before, drawn), 10) << c.Name;
        EXPECT_FALSE(t.Chart.PaintPending()) << c.Name << ": drawn in place, no repaint";
        t.Move(t.At(6, 3));
        EXPECT_GT(CountDifferences(before, t.Buffer()), 10) << c.Name;
        const std::size_t changes = t.Changes.size();
        const TRect plot = t.Chart.ChartRect();
        t.Move({plot.Right + 20, plot.Top + 30});
        EXPECT_EQ(CountDifferences(before, t.Buffer()), 0) << c.Name << ": leaving erases the cursor";
        EXPECT_EQ(t.Tool->CursorX, -1) << c.Name;
        t.Move({plot.Right + 25, plot.Top + 40});
        EXPECT_EQ(CountDifferences(before, t.Buffer()), 0) << c.Name << ": erased once only";
        EXPECT_EQ(t.Changes.size(), changes) << c.Name << ": nothing reported outside";
        t.Move(t.At(5, 5));
        EXPECT_EQ(t.Changes.size(), changes + 1) << c.Name << ": back inside it reports again";
    }
}

TEST(CursorTool, ARepaintForgetsTheCursorAndTheNextMoveDrawsWithoutErasing)
{
    TCursorChart t;
    t.Tool->FollowMouse = true;
    t.Move(t.At(3, 7));
    ASSERT_NE(t.Tool->CursorX, -1);
    t.Paint();
    EXPECT_EQ(t.Tool->CursorX, -1) << "the end of a paint forgets the cursor";
    EXPECT_EQ(t.Tool->CursorY, -1);
    const TPicturePixels painted = t.Buffer();
    EXPECT_EQ(CountDifferences(painted, t.Fresh()), 0) << "the painted picture holds no cursor";
    t.Move(t.At(6, 2));
    // Had the move erased a cursor at its old place, taking the new one away would not restore the paint.
    t.Tool->DrawCursor();
    EXPECT_EQ(CountDifferences(painted, t.Buffer()), 0);
}

TEST(CursorTool, HoverSetsTheSplitCursorsAndAPressDragsOneLineOrBoth)
{
    TCursorChart t;
    t.PlaceAt(5, 5);
    const int cx = t.Tool->CursorX, cy = t.Tool->CursorY;
    struct THover {
        int Dx, Dy;
        TCursor Cursor;
        int Part;
    };
    const THover hovers[] = {{40, 3, crVSplit, 1}, {-3, 40, crHSplit, 2}, {2, -3, crSizeAll, 3}, {40, 4, crDefault, 0}};
    for (const THover& h : hovers) {
        t.Chart.SetCursor(crDefault);
        t.Move({cx + h.Dx, cy + h.Dy});
        EXPECT_EQ(t.Chart.Cursor(), h.Cursor) << h.Dx << "," << h.Dy;
        EXPECT_EQ(t.Tool->HitTest(cx + h.Dx, cy + h.Dy), h.Part);
        EXPECT_EQ(t.Tool->CursorX, cx) << "a hover moves nothing";
        EXPECT_EQ(t.Tool->CursorY, cy);
    }
    EXPECT_DOUBLE_EQ(t.Tool->XValue, 5);

    // Near the horizontal line only: a drag moves YValue alone.
    const double x0 = t.Tool->XValue;
    t.Press({cx + 40, cy + 2});
    EXPECT_EQ(t.Tool->DragPart, 1);
    t.Move(t.At(8, 2), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(t.Tool->XValue, x0);
    EXPECT_NEAR(t.Tool->YValue, 2, 0.05);
    EXPECT_EQ(t.Tool->CursorX, cx);
    EXPECT_EQ(t.Tool->CursorY, t.At(8, 2).y());
    t.Release(t.At(8, 2));
    EXPECT_EQ(t.Tool->DragPart, 0);
    EXPECT_FALSE(t.Chart.PaintPending()) << "a released cursor stays drawn until the next repaint";
    EXPECT_GT(CountDifferences(t.Buffer(), t.Fresh()), 0);

    // Near the vertical line only: XValue alone.
    t.Paint();
    t.PlaceAt(5, 5);
    const double y0 = t.Tool->YValue;
    t.Press({t.Tool->CursorX - 2, t.Tool->CursorY + 60});
    t.Move(t.At(7, 9), Qt::LeftButton);
    EXPECT_NEAR(t.Tool->XValue, 7, 0.05);
    EXPECT_DOUBLE_EQ(t.Tool->YValue, y0);
    t.Release(t.At(7, 9));

    // On the crossing: both.
    t.Paint();
    t.PlaceAt(5, 5);
    t.Press({t.Tool->CursorX + 1, t.Tool->CursorY - 1});
    EXPECT_EQ(t.Tool->DragPart, 3);
    const double zoomX0 = t.Chart.BottomAxis().Minimum();
    t.Move(t.At(2, 8), Qt::LeftButton);
    t.Release(t.At(2, 8));
    EXPECT_NEAR(t.Tool->XValue, 2, 0.05);
    EXPECT_NEAR(t.Tool->YValue, 8, 0.05);
    EXPECT_DOUBLE_EQ(t.Chart.BottomAxis().Minimum(), zoomX0) << "the press was the tool's: no zoom";
}

TEST(CursorTool, SnapsInValueUnitsToTheFirstNearestVisiblePoint)
{
    TCursorChart t;
    // X spans 10 units and Y 100 over similar pixel sizes, so value units and pixels disagree.
    t.Chart.LeftAxis().SetFixedRange(0, 100);
    TLineTestSeries& s = AddSeries(t.Chart, {});
    for (const auto& [x, y] : {std::pair{3.0, 53.0}, {3.5, 50.0}, {8.0, 20.0}, {9.0, 21.0}, {9.0, 19.0}, {12.0, 20.5}})
        s.InsertPoint(x, y);
    t.Tool->SetSeries(&s);
    t.Tool->Snap = true;
    t.Paint();
    struct TCase {
        const char* Name;
        TCursorToolStyle Style;
        double X, Y;
        int Index;
        double SnappedX, SnappedY;
    };
    const TCase cases[] = {
        {"both: 0.5 in X beats 3 in Y, though nearer in pixels", cssBoth, 3, 50, 1, 3.5, 50},
        {"horizontal: Y alone", cssHorizontal, 3, 52, 0, 3, 53},
        {"vertical: X alone", cssVertical, 3.1, 50, 0, 3, 50},
        {"a tie goes to the lower index", cssHorizontal, 9, 20.5, 2, 9, 20},
        {"a tie at one X: the lower index", cssVertical, 9.0, 60, 3, 9, 60},
        {"a point beyond the axis is not in view; a tie", cssBoth, 11.9, 20, 3, 9, 21},
    };
    for (const TCase& c : cases) {
        t.Tool->SetStyle(c.Style);
        t.Tool->XValue = c.X;
        t.Tool->YValue = c.Y;
        EXPECT_EQ(t.Tool->SnapToPoint(), c.Index) << c.Name;
        EXPECT_DOUBLE_EQ(t.Tool->XValue, c.SnappedX) << c.Name;
        EXPECT_DOUBLE_EQ(t.Tool->YValue, c.SnappedY) << c.Name;
    }
    t.Tool->Snap = false;
    EXPECT_EQ(t.Tool->SnapToPoint(), -1) << "without Snap nothing moves";
}

TEST(CursorTool, ChangeAndSnapChangeCarryThePositionTheSeriesAndThePoint)
{
    TCursorChart t;
    t.Tool->SetSeries(t.Series);
    t.Tool->Snap = true;
    t.Tool->FollowMouse = true;
    const QPoint p3 = t.At(3, 3);
    t.Move({p3.x() + 4, p3.y() - 6});
    ASSERT_EQ(t.Changes.size(), 1u);
    const auto& c = t.Changes[0];
    EXPECT_EQ(c.X, p3.x());
    EXPECT_EQ(c.Y, p3.y());
    EXPECT_DOUBLE_EQ(c.XValue, 3);
    EXPECT_DOUBLE_EQ(c.YValue, 3);
    EXPECT_EQ(c.Series, t.Series);
    EXPECT_EQ(c.Index, 3);
    ASSERT_EQ(t.SnapChanges.size(), 1u);
    EXPECT_EQ(t.SnapChanges[0].Index, 3);
    t.Move({p3.x() - 5, p3.y() + 3});
    EXPECT_EQ(t.Changes.size(), 2u);
    EXPECT_EQ(t.SnapChanges.size(), 1u) << "the same point: no snap change";
    t.Move(t.At(4.1, 4));
    ASSERT_EQ(t.SnapChanges.size(), 2u);
    EXPECT_EQ(t.SnapChanges[1].Index, 4);
    EXPECT_EQ(t.Tool->LastSnapIndex, 4);
    // Without snapping the index is -1.
    t.Tool->Snap = false;
    t.Move(t.At(6.3, 2.2));
    EXPECT_EQ(t.Changes.back().Index, -1);
    EXPECT_EQ(t.SnapChanges.back().Index, -1);
    EXPECT_NEAR(t.Changes.back().XValue, 6.3, 0.05);
}

TEST(CursorTool, DefaultsTheRectangleAndTheSeriesWriter)
{
    TCursorTool tool(nullptr);
    EXPECT_EQ(tool.ClickTolerance, 3);
    EXPECT_EQ(tool.Style(), cssBoth);
    EXPECT_FALSE(tool.FollowMouse);
    EXPECT_FALSE(tool.Snap);
    EXPECT_EQ(tool.CursorX, -1);
    EXPECT_EQ(tool.ShapeSize, 10);
    EXPECT_EQ(tool.DescriptionText(), "Cursor");
    EXPECT_EQ(tool.EditorFormName(), "TCursorToolEditor");

    TCursorChart t;
    const TRect axes = t.Tool->GetCursorRect();
    EXPECT_EQ(axes.Left, t.Chart.BottomAxis().StartPixel);
    EXPECT_EQ(axes.Right, t.Chart.BottomAxis().EndPixel);
    EXPECT_EQ(axes.Top, t.Chart.LeftAxis().StartPixel);
    EXPECT_EQ(axes.Bottom, t.Chart.LeftAxis().EndPixel);
    t.Tool->OnGetCursorRect = [](TCursorTool*, TRect& r) { r.Left += 50; };
    EXPECT_EQ(t.Tool->GetCursorRect().Left, axes.Left + 50);
    EXPECT_FALSE(t.Tool->InCursorArea(axes.Left + 49, axes.Top));
    EXPECT_TRUE(t.Tool->InCursorArea(axes.Left + 50, axes.Bottom)) << "edges included";
    t.Tool->UseChartRect = true;
    EXPECT_EQ(t.Tool->GetCursorRect(), t.Chart.ChartRect()) << "the plot rectangle ignores the handler";

    // A series set outside loading snaps the cursor onto it.
    t.Tool->Snap = true;
    t.Tool->XValue = 6.2;
    t.Tool->YValue = 5.9;
    t.Tool->LastSnapIndex = 8;
    t.Tool->SetSeries(t.Series);
    EXPECT_DOUBLE_EQ(t.Tool->XValue, 6);
    EXPECT_DOUBLE_EQ(t.Tool->YValue, 6);
    EXPECT_EQ(t.Tool->LastSnapIndex, -1);
    EXPECT_TRUE(t.Chart.PaintPending());
}
