// The annotation and rectangle tools: the box for the corner positions, custom pixels and percent, auto
// size and fixed size, the text's x by alignment and the callout's joint, on the recording backend's
// fixed metrics; moving, resizing and hovering a rectangle on a real chart window driven by Qt events.
#include "ToolTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Keeps the box computed while the chart draws (the canvas then holds the drawing's font).
class TProbedAnnotation : public TAnnotationTool {
public:
    using TAnnotationTool::TAnnotationTool;
    TRect Box;
    void NotifyChartStage(int Stage) override
    {
        TAnnotationTool::NotifyChartStage(Stage);
        if (Stage == 0) Box = CalcBoxBounds();
    }
};

struct TAnnotationChart : TRecordedChart {
    TProbedAnnotation* Tool = nullptr;
    TAnnotationChart()
    {
        Tool = new TProbedAnnotation(&Chart);
        Tool->SetParentChart(&Chart);
        Tool->SetText("Hello");
    }
    TSize Text(const std::string& s) { return TextSize(Tool->Shape().Font(), s); }
};

struct TRectangleChart : TToolChart {
    TRectangleTool* Tool = nullptr;
    int Dragging = 0, Dragged = 0, Resizing = 0, Resized = 0;
    TRectangleChart()
    {
        Tool = AddTool<TRectangleTool>();
        Tool->SetLeft(100);
        Tool->SetTop(80);
        Tool->OnDragging = [this](TPersistent*) { ++Dragging; };
        Tool->OnDragged = [this](TPersistent*) { ++Dragged; };
        Tool->OnResizing = [this](TPersistent*) { ++Resizing; };
        Tool->OnResized = [this](TPersistent*) { ++Resized; };
        Paint();
    }
    const TRect& R() const { return Tool->Shape().ShapeRect(); }
};

} // namespace

TEST(AnnotationTool, TheBoxAtTheFourCornersAndAtCustomPositions)
{
    TAnnotationChart t;
    const TSize s = t.Text("Hello");
    const int w = s.cx + 6, h = s.cy + 4;
    struct TCase {
        TAnnotationPosition Position;
        int X, Y;
    };
    const TCase cases[] = {{ppLeftTop, 10, 10},
                           {ppLeftBottom, 10, 400 - s.cy - 8},
                           {ppRightTop, 600 - s.cx - 8, 10},
                           {ppRightBottom, 600 - s.cx - 8, 400 - s.cy - 8}};
    for (const TCase& c : cases) {
        t.Tool->SetPosition(c.Position);
        t.Draw();
        EXPECT_EQ(t.Tool->Box, (TRect{c.X - 4, c.Y - 2, c.X + w - 4, c.Y + h - 2})) << int(c.Position);
        EXPECT_EQ(t.Find("Hello").X, c.X) << int(c.Position);
        EXPECT_EQ(t.Find("Hello").Y, c.Y) << int(c.Position);
    }

    t.Tool->SetLeft(100);
    t.Tool->SetTop(50);
    EXPECT_TRUE(t.Tool->Shape().CustomPosition());
    t.Draw();
    EXPECT_EQ(t.Tool->Box, (TRect{100, 50, 100 + w, 50 + h})) << "custom pixels";
    t.Tool->SetPositionUnits(muPercent);
    t.Tool->SetLeft(10);
    t.Tool->SetTop(20);
    t.Draw();
    EXPECT_EQ(t.Tool->Box, (TRect{60 - 4, 80 - 2, 60 + w - 4, 80 + h - 2})) << "custom percent of the chart's size";
    t.Tool->SetPosition(ppRightTop);
    EXPECT_FALSE(t.Tool->Shape().CustomPosition()) << "a new Position clears the custom position";
}

TEST(AnnotationTool, AutoSizeFixedSizeAndAnEmptyText)
{
    TAnnotationChart t;
    t.Tool->SetText("");
    t.Draw();
    const TSize blank = t.Text(" ");
    EXPECT_EQ(t.Tool->Box, (TRect{6, 8, 6 + blank.cx + 6, 8 + blank.cy + 4})) << "one blank wide";

    t.Tool->SetText("One\rTwo lines");
    t.Draw();
    const TSize two = t.Text("Two lines");
    EXPECT_EQ(t.Tool->Box.Right - t.Tool->Box.Left, two.cx + 6);
    EXPECT_EQ(t.Tool->Box.Bottom - t.Tool->Box.Top, 2 * t.CharHeight(t.Tool->Shape().Font()) + 4);
    EXPECT_EQ(t.Find("Two lines").Y, 10 + t.CharHeight(t.Tool->Shape().Font()));

    t.Tool->SetWidth(120);
    EXPECT_FALSE(t.Tool->AutoSize()) << "Width switches AutoSize off";
    t.Tool->SetHeight(40);
    t.Draw();
    EXPECT_EQ(t.Tool->Box, (TRect{6, 8, 126, 48}));
    t.Tool->SetAutoSize(true);
    t.Draw();
    EXPECT_EQ(t.Tool->Box.Right - t.Tool->Box.Left, two.cx + 6) << "auto size follows the text again";
}

TEST(AnnotationTool, TextXByAlignmentAndTheCalloutsJoint)
{
    TAnnotationChart t;
    t.Tool->SetWidth(200);
    struct TCase {
        TAlignment Alignment;
        int X;
    };
    for (const TCase& c : {TCase{taLeftJustify, 10}, TCase{taCenter, (6 + 206) / 2 + 2}, TCase{taRightJustify, 206 - 2}}) {
        t.Tool->SetTextAlignment(c.Alignment);
        t.Draw();
        EXPECT_EQ(t.Find("Hello").X, c.X) << int(c.Alignment);
    }

    const TRect box{100, 50, 200, 80};
    struct TJoint {
        TPoint P, Q;
    };
    const TJoint joints[] = {{{300, 60}, {200, 65}}, {{300, 10}, {200, 50}}, {{150, 10}, {150, 50}}, {{10, 200}, {100, 80}},
                             {{150, 65}, {150, 65}}, {{50, 65}, {100, 65}}};
    for (const TJoint& j : joints) EXPECT_EQ(TAnnotationTool::ConnectionPoint(box, j.P), j.Q) << j.P.x << "," << j.P.y;

    t.Tool->Callout().Arrow().SetVisible(true);
    t.Tool->Callout().SetXPosition(400);
    t.Tool->Callout().SetYPosition(300);
    t.Draw();
    bool drawn = false;
    for (const auto* r : t.Recorder->OfKind("LineTo")) drawn |= r->Args[0] == 400 && r->Args[1] == 300;
    EXPECT_TRUE(drawn) << "the callout reaches its point";
}

TEST(RectangleTool, DragKeepsTheSizeResizingStopsAtFourPixels)
{
    TRectangleChart t;
    EXPECT_EQ(t.R(), (TRect{100, 80, 149, 129}));
    t.Press({120, 100});
    EXPECT_TRUE(t.Tool->DraggingBox);
    t.Move({150, 90}, Qt::LeftButton);
    t.Release({150, 90});
    EXPECT_EQ(t.R(), (TRect{130, 70, 179, 119})) << "moved by the mouse, size kept";
    EXPECT_GE(t.Dragging, 1);
    EXPECT_EQ(t.Dragged, 1);

    struct TGrab {
        QPoint P;
        int Edge;
    };
    const TGrab grabs[] = {{{130, 95}, 0}, {{133, 95}, 0}, {{134, 95}, -1}, {{150, 72}, 1}, {{176, 95}, 2}, {{150, 116}, 3}, {{150, 115}, -1}};
    for (const TGrab& g : grabs) EXPECT_EQ(t.Tool->EdgeAt(g.P.x(), g.P.y()), g.Edge) << g.P.x() << "," << g.P.y();

    // The right edge dragged far to the left stops 3 pixels right of the left edge.
    t.Press({179, 95});
    EXPECT_EQ(t.Tool->ResizeEdge, 2);
    t.Move({20, 95}, Qt::LeftButton);
    t.Release({20, 95});
    EXPECT_EQ(t.R(), (TRect{130, 70, 133, 119}));
    EXPECT_EQ(t.Resized, 1);
    EXPECT_GE(t.Resizing, 1);
    t.Tool->Shape().SetShapeRect({130, 70, 179, 119});
    t.Press({150, 72});
    EXPECT_EQ(t.Tool->ResizeEdge, 1);
    t.Move({150, 400}, Qt::LeftButton);
    t.Release({150, 400});
    EXPECT_EQ(t.R(), (TRect{130, 116, 179, 119})) << "the top edge stops too";
    t.Settle();
    EXPECT_EQ(CountDifferences(t.Fresh(), t.Buffer()), 0);
}

TEST(RectangleTool, HoverCursorsAndAMoveOutsideLeavesTheChartItsDrag)
{
    TRectangleChart t;
    struct TCase {
        QPoint P;
        TCursor Cursor;
    };
    for (const TCase& c : {TCase{{101, 100}, crSizeWE}, TCase{{147, 100}, crSizeWE}, TCase{{120, 81}, crSizeNS},
                           TCase{{120, 128}, crSizeNS}, TCase{{120, 100}, crHandPoint}}) {
        t.Chart.SetCursor(crDefault);
        t.Move(c.P);
        EXPECT_EQ(t.Chart.Cursor(), c.Cursor) << c.P.x() << "," << c.P.y();
    }
    // A zoom drag started outside the box goes on over the chart.
    const QPoint a = t.At(6, 8), b = t.At(9, 2);
    t.Press(a);
    ASSERT_TRUE(t.Chart.Zoom().Active);
    t.Move(b, Qt::LeftButton);
    EXPECT_TRUE(t.Chart.Zoom().Active);
    t.Release(b);
    EXPECT_NEAR(t.Chart.BottomAxis().Minimum(), 6, 0.1) << "the chart zoomed";
}

TEST(AnnotationTools, NamesDefaultsAndStoredProperties)
{
    TAnnotationTool note(nullptr);
    TRectangleTool rect(nullptr);
    EXPECT_EQ(note.DescriptionText(), "Annotation");
    EXPECT_EQ(rect.DescriptionText(), "Rectangle");
    EXPECT_EQ(note.EditorFormName(), "TAnnotationToolEdit");
    EXPECT_EQ(rect.EditorFormName(), "TAnnotationToolEdit");
    EXPECT_FALSE(note.Callout().Visible());
    EXPECT_FALSE(note.Callout().Arrow().Visible());
    EXPECT_EQ(rect.Shape().Transparency(), 75);
    EXPECT_EQ(rect.Cursor, crHandPoint);
    struct TCase {
        TPersistent* Object;
        const char* Property;
        bool Stored;
    };
    const TCase cases[] = {{&note, "Left", false},  {&note, "Top", false},  {&note, "Width", false}, {&note, "AutoSize", false},
                           {&rect, "Width", true},  {&rect, "Left", false}, {&rect, "AutoSize", false},
                           {&rect.Shape(), "Left", true}, {&note.Shape(), "Left", false}, {&note.Callout(), "Visible", false}};
    for (const TCase& c : cases) {
        const TPropInfo* p = FindPropInfo(*c.Object, c.Property);
        ASSERT_NE(p, nullptr) << c.Property;
        EXPECT_EQ(IsStoredProp(*c.Object, *p), c.Stored) << c.Property;
    }
}
