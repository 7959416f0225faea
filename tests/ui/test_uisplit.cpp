// The two-way splitter with the application's settings (horizontal bar, edge 1, thickness 2): percents
// rounded half to even, clamps and limits, pane bounds and edge lines, move events, keys, the three drag
// looks, resizing with the application's handler, loading, panes, and the clamp that never goes below 0.
#include "ui/uisplit.h"

#include "UiTestSupport.h"

#include "platform/controls/Screen.h"

#include <gtest/gtest.h>

namespace {

struct TSplitHost {
    THost Host;
    TuiBiSplit Split{nullptr};
    int Moves = 0;

    explicit TSplitHost(int w = 400, int h = 300, TuiBiSplitLayout layout = bslHorz)
    {
        Split.SetLayout(layout);
        Split.SetBorderWidth(0);
        Host.Put(Split, 0, 0, w, h);
        Split.OnSplitMoveV = [this](TPersistent*) { ++Moves; };
        Host.Show();
    }
    QWidget* W() { return Split.Widget(); }
    TRect Bounds(int pane)
    {
        TWinControl* p = Split.Pane(pane);
        return {p->Left(), p->Top(), p->Left() + p->Width(), p->Top() + p->Height()};
    }
};

} // namespace

TEST(uiSplit, PercentsRoundHalvesToEvenAndClampToTheEdges)
{
    struct Case {
        int height, percent, pos, readBack;
    };
    const Case cases[] = {
        {345, 50, 172, 50}, {347, 50, 174, 50}, {300, 100, 297, 99}, {300, 0, 3, 1}, {300, 25, 75, 25}, {301, 50, 150, 50},
    };
    for (const Case& c : cases) {
        TSplitHost h(400, c.height);
        h.Split.SetSplitVPercent(c.percent);
        EXPECT_EQ(h.Split.SplitVPos(), c.pos) << c.height << " " << c.percent;
        EXPECT_EQ(h.Split.SplitVPercent(), c.readBack) << c.height << " " << c.percent;
    }
    TSplitHost h;
    EXPECT_THROW(h.Split.SetSplitVPercent(101), ERangeError);
    EXPECT_THROW(h.Split.SetSplitVPos(-1), ERangeError);
}

TEST(uiSplit, PaneBoundsAndTheBarsEdgeLines)
{
    TSplitHost h(400, 300);
    h.Split.SetSplitVPos(150);
    EXPECT_EQ(h.Split.VBandLow(), 148);
    EXPECT_EQ(h.Split.VBandHigh(), 151);
    // Pane 0 covers y 1 .. p - 3, pane 1 covers p + 2 .. H - 2, both inside the 1-pixel edge.
    EXPECT_EQ(h.Bounds(0), (TRect{1, 1, 399, 148}));
    EXPECT_EQ(h.Bounds(1), (TRect{1, 152, 399, 299}));
    h.Split.Repaint();
    const TCanvas& c = h.Split.Canvas();
    EXPECT_EQ(c.GetPixel(10, 148), Rgb(clBtnHighlight)) << "edge line at p - 2";
    EXPECT_EQ(c.GetPixel(10, 151), Rgb(clBtnShadow)) << "edge line at p + 1";
    EXPECT_EQ(c.GetPixel(10, 149), Rgb(clBtnFace));
    EXPECT_EQ(c.GetPixel(10, 150), Rgb(clBtnFace));
    EXPECT_EQ(c.GetPixel(0, 10), Rgb(clBtnHighlight)) << "the raised outer bevel";
    // A bar colour fills the inside; a vertical layout puts the panes side by side.
    h.Split.SetSplitColor(clRed);
    h.Split.Repaint();
    EXPECT_EQ(c.GetPixel(10, 149), clRed);
    EXPECT_EQ(c.GetPixel(10, 150), clRed);
    h.Split.SetLayout(bslVert);
    h.Split.SetSplitHPos(200);
    EXPECT_EQ(h.Bounds(0), (TRect{1, 1, 198, 299}));
    EXPECT_EQ(h.Bounds(1), (TRect{202, 1, 399, 299}));
}

TEST(uiSplit, LimitsAndThickness)
{
    struct Case {
        const char* name;
        int min, max, thickness, write;
        int pos, keptMin, keptMax;
    };
    // Writes happen in the order min, max, thickness, position.
    const Case cases[] = {
        {"no limits", 0, 0, 2, 10, 10, 0, 0},
        {"below the near edge", 0, 0, 2, 1, 3, 0, 0},
        {"beyond the far edge", 0, 0, 2, 400, 297, 0, 0},
        {"odd thickness: one more on the far side", 0, 0, 3, 400, 296, 0, 0},
        {"odd thickness at the near side", 0, 0, 3, 0, 3, 0, 0},
        {"thickness 10", 0, 0, 10, 400, 293, 0, 0},
        {"minimum", 40, 0, 2, 20, 40, 40, 0},
        {"maximum", 0, 60, 2, 200, 60, 0, 60},
        {"maximum below the minimum is ignored", 40, 30, 2, 35, 40, 40, 0},
        {"minimum not below the size is ignored", 300, 0, 2, 10, 10, 0, 0},
        {"maximum beyond the size is the size", 0, 500, 2, 400, 297, 0, 300},
    };
    for (const Case& c : cases) {
        TSplitHost h(400, 300);
        h.Split.SetSplitVPos(150);
        h.Split.SetSplitVMin(c.min);
        h.Split.SetSplitVMax(c.max);
        h.Split.SetThickness(c.thickness);
        h.Split.SetSplitVPos(c.write);
        EXPECT_EQ(h.Split.SplitVPos(), c.pos) << c.name;
        EXPECT_EQ(h.Split.SplitVMin(), c.keptMin) << c.name;
        EXPECT_EQ(h.Split.SplitVMax(), c.keptMax) << c.name;
    }
    TSplitHost h;
    EXPECT_THROW(h.Split.SetThickness(0), ERangeError);
    EXPECT_THROW(h.Split.SetThickness(11), ERangeError);
    EXPECT_THROW(h.Split.SetBevelWidth(0), ERangeError);
    EXPECT_THROW(h.Split.SetBorderWidth(-1), ERangeError);
    // A wider edge moves the clamp: BorderWidth 4 with the bevel gives E 5.
    h.Split.SetBorderWidth(4);
    EXPECT_EQ(h.Split.EdgeWidth(), 5);
    h.Split.SetSplitVPercent(100);
    EXPECT_EQ(h.Split.SplitVPos(), 300 - 7);
}

TEST(uiSplit, MoveEvents)
{
    TSplitHost h(400, 300);
    h.Split.SetSplitVPos(150);
    h.Moves = 0;
    h.Split.SetSplitVPos(150);
    EXPECT_EQ(h.Moves, 0) << "the same value again";
    h.Split.SetSplitVPos(500);
    EXPECT_EQ(h.Moves, 1);
    EXPECT_EQ(h.Split.SplitVPos(), 297);
    h.Split.SetSplitVPos(600);
    EXPECT_EQ(h.Moves, 2) << "a value that clamps to the current one still fires";
    EXPECT_EQ(h.Split.SplitVPos(), 297);
    // With no height a percent writes 0, which changes nothing but fires.
    h.Split.SetHeight(0);
    h.Moves = 0;
    h.Split.SetSplitVPercent(50);
    EXPECT_EQ(h.Moves, 1);
    EXPECT_EQ(h.Split.SplitVPos(), 297);
}

TEST(uiSplit, ArrowKeysMoveOnlyAlongTheSplittersDirection)
{
    TSplitHost h(400, 300);
    h.Split.SetSplitVPos(150);
    h.Split.SetSplitHPos(200);
    SendKey(h.W(), Qt::Key_Down);
    EXPECT_EQ(h.Split.SplitVPos(), 160);
    SendKey(h.W(), Qt::Key_Up);
    SendKey(h.W(), Qt::Key_Up);
    EXPECT_EQ(h.Split.SplitVPos(), 140);
    SendKey(h.W(), Qt::Key_Right);
    SendKey(h.W(), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(h.Split.SplitHPos(), 200) << "not this splitter's direction";
    SendKey(h.W(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(h.Split.SplitVPos(), 297) << "the lowest allowed position";
    h.Split.SetSplitVLock(true);
    SendKey(h.W(), Qt::Key_Up);
    EXPECT_EQ(h.Split.SplitVPos(), 297) << "locked";
    h.Split.SetLayout(bslVert);
    SendKey(h.W(), Qt::Key_Right);
    EXPECT_EQ(h.Split.SplitHPos(), 210);
    h.Split.SetKeyIncrement(3);
    SendKey(h.W(), Qt::Key_Left);
    EXPECT_EQ(h.Split.SplitHPos(), 207);
}

namespace {

// Press on the bar at its position, move, and report what the screen showed meanwhile.
struct TDrag {
    QImage Before, During;
    TRect PanesDuring[2];
    int PosDuring = 0;
    bool LineDuring = false;
};

TDrag DragBar(TSplitHost& h, int from, int to)
{
    TDrag d;
    d.Before = h.Host.Shot();
    SendMouse(h.W(), QEvent::MouseMove, QPoint(100, from));
    EXPECT_EQ(h.Split.CurrentCursor(), crVSplit);
    SendMouse(h.W(), QEvent::MouseButtonPress, QPoint(100, from));
    SendMouse(h.W(), QEvent::MouseMove, QPoint(100, to));
    d.During = h.Host.Shot();
    d.PanesDuring[0] = h.Bounds(0);
    d.PanesDuring[1] = h.Bounds(1);
    d.PosDuring = h.Split.SplitVPos();
    d.LineDuring = h.Split.DragLine() != nullptr;
    SendMouse(h.W(), QEvent::MouseButtonRelease, QPoint(100, to));
    return d;
}

} // namespace

TEST(uiSplit, DragShowsAnInvertedLineAndMovesThePanesOnRelease)
{
    TSplitHost h(400, 300);
    h.Split.SetSplitVPos(150);
    const TRect pane0 = h.Bounds(0), pane1 = h.Bounds(1);
    const TDrag d = DragBar(h, 150, 200);
    EXPECT_TRUE(d.LineDuring);
    EXPECT_EQ(d.PosDuring, 150);
    EXPECT_EQ(d.PanesDuring[0], pane0) << "panes unchanged until release";
    EXPECT_EQ(d.PanesDuring[1], pane1);
    // The band (y 199..200 for thickness 2 at 200, x from the edge) shows the pixels under it inverted.
    for (int y : {199, 200})
        for (int x : {1, 50, 398})
            EXPECT_EQ(d.During.pixel(x, y) & 0xFFFFFF, ~d.Before.pixel(x, y) & 0xFFFFFF) << x << "," << y;
    EXPECT_EQ(d.During.pixel(50, 198), d.Before.pixel(50, 198)) << "just outside the band";
    EXPECT_EQ(d.During.pixel(50, 201), d.Before.pixel(50, 201));
    EXPECT_EQ(d.During.pixel(0, 200), d.Before.pixel(0, 200)) << "the edge is left alone";
    // Released: the bar and the panes move; the line is gone and the cursor is the normal one again.
    EXPECT_EQ(h.Split.SplitVPos(), 200);
    EXPECT_EQ(h.Bounds(0).Bottom, 198) << "pane 0 ends at p - 3";
    EXPECT_EQ(h.Split.DragLine(), nullptr);
    EXPECT_EQ(h.Split.CurrentCursor(), crDefault);
    // The clamp holds while dragging far out.
    DragBar(h, 200, 1000);
    EXPECT_EQ(h.Split.SplitVPos(), 297);
}

TEST(uiSplit, DragLooks)
{
    {
        // A checker: only pixels whose x and y have the same parity are inverted.
        TSplitHost h(400, 300);
        h.Split.SetSplitVPos(150);
        h.Split.SetSplitMoveStyle(amsDark);
        const TDrag d = DragBar(h, 150, 100);
        EXPECT_EQ(d.During.pixel(50, 100) & 0xFFFFFF, ~d.Before.pixel(50, 100) & 0xFFFFFF);
        EXPECT_EQ(d.During.pixel(51, 100), d.Before.pixel(51, 100));
        EXPECT_EQ(h.Split.SplitVPos(), 100);
    }
    {
        TSplitHost h(400, 300);
        h.Split.SetSplitVPos(150);
        h.Split.SetSplitMoveStyle(amsNoLine);
        const TDrag d = DragBar(h, 150, 100);
        EXPECT_FALSE(d.LineDuring);
        EXPECT_EQ(d.During, d.Before) << "nothing shows until the button goes up";
        EXPECT_EQ(d.PosDuring, 150);
        EXPECT_EQ(h.Split.SplitVPos(), 100);
    }
    {
        TSplitHost h(400, 300);
        h.Split.SetSplitVPos(150);
        h.Split.SetMoveImmediate(true);
        EXPECT_EQ(h.Split.SplitMoveStyle(), amsImmediate);
        const TDrag d = DragBar(h, 150, 100);
        EXPECT_FALSE(d.LineDuring);
        EXPECT_EQ(d.PosDuring, 100) << "the panes follow the mouse";
        EXPECT_EQ(d.PanesDuring[0].Bottom, 98);
        h.Split.SetMoveImmediate(false);
        EXPECT_EQ(h.Split.SplitMoveStyle(), amsMedium);
        h.Split.SetMoveImmediate(false);
        EXPECT_EQ(h.Split.SplitMoveStyle(), amsMedium);
    }
    {
        // Away from the bar there is nothing to drag; a locked bar shows no split cursor.
        TSplitHost h(400, 300);
        h.Split.SetSplitVPos(150);
        SendMouse(h.W(), QEvent::MouseMove, QPoint(100, 30));
        EXPECT_EQ(h.Split.CurrentCursor(), crDefault);
        h.Split.SetSplitVLock(true);
        SendMouse(h.W(), QEvent::MouseMove, QPoint(100, 150));
        EXPECT_EQ(h.Split.CurrentCursor(), crDefault);
        SendMouse(h.W(), QEvent::MouseButtonPress, QPoint(100, 150));
        EXPECT_FALSE(h.Split.Dragging());
        SendMouse(h.W(), QEvent::MouseButtonRelease, QPoint(100, 150));
    }
}

TEST(uiSplit, ResizeWithTheApplicationsHandlerKeepsTheProportion)
{
    TSplitHost h(400, 300);
    h.Split.OnResize = [&](TPersistent*) { h.Split.SetSplitVPercent(h.Split.SplitVPercent()); };
    h.Split.SetSplitVPercent(50);
    EXPECT_EQ(h.Split.SplitVPos(), 150);
    h.Split.SetHeight(401);
    EXPECT_EQ(h.Split.SplitVPos(), 200) << "50 % of 401 is 200.5, to the even neighbour";
    EXPECT_EQ(h.Bounds(1).Bottom, 400) << "pane 1 ends at H - 2";
    h.Split.SetHeight(120);
    EXPECT_EQ(h.Split.SplitVPos(), 60);
    // Without the handler the pixel position stays, clamped to the new size.
    h.Split.OnResize = nullptr;
    h.Split.SetSplitVPos(100);
    h.Split.SetHeight(300);
    EXPECT_EQ(h.Split.SplitVPos(), 100);
    h.Split.SetHeight(50);
    EXPECT_EQ(h.Split.SplitVPos(), 47);
    // With the scaled flag the percent is kept.
    h.Split.SetSplitVScaled(true);
    h.Split.SetSplitVPercent(40);
    h.Split.SetHeight(200);
    EXPECT_EQ(h.Split.SplitVPos(), 80);
}

TEST(uiSplit, ASplitterSmallerThanItsMarginPutsTheBarAtZero)
{
    // With edge 1 and thickness 2 the margin is 3: a splitter of 2 pixels has no room for the bar.
    for (int height : {0, 1, 2, 3, 5}) {
        TSplitHost h(400, 300);
        h.Split.OnResize = [&](TPersistent*) { h.Split.SetSplitVPercent(h.Split.SplitVPercent()); };
        EXPECT_NO_THROW(h.Split.SetHeight(height)) << height;
        EXPECT_NO_THROW(h.Split.SetSplitVPercent(50)) << height;
        EXPECT_GE(h.Split.SplitVPos(), 0) << height;
        if (height == 2) {
            EXPECT_EQ(h.Split.ClampSplitPoint({0, 1}).y, 0);
            EXPECT_EQ(h.Split.SplitVPos(), 0);
        }
    }
}

TEST(uiSplit, LoadedPositionsAreAppliedAgainAfterTheFormIsLaidOut)
{
    THost host;
    TComponent form(nullptr);
    form.BeginLoading();
    auto* split = new TuiBiSplit(&form);
    EXPECT_EQ(split->PaneListCount(), 0) << "read from a form, the panes come from the form";
    split->BeginLoading();
    split->SetLayout(bslHorz);
    split->SetBorderWidth(0);
    split->SetSplitVPos(158);
    auto* top = new TuiSplitPane(&form);
    top->SetParent(split);
    auto* bottom = new TuiSplitPane(&form);
    bottom->SetParent(split);
    EXPECT_EQ(split->SplitVPos(), 158) << "stored only while loading";
    host.Put(*split, 0, 0, 400, 100);   // the form's alignment gives the real size
    split->Loaded();
    form.Loaded();
    EXPECT_EQ(split->SplitVPos(), 97) << "clamped to the size at the end of loading";
    host.Window->resize(400, 400);
    split->SetHeight(400);
    Pump();
    EXPECT_EQ(split->PaneListCount(), 2);
    EXPECT_EQ(split->Pane(0), top);
    EXPECT_EQ(top->Height(), split->VBandLow() - 1);
}

TEST(uiSplit, PanesAndTheirIndexes)
{
    TSplitHost h(400, 300);
    ASSERT_EQ(h.Split.PaneListCount(), 2);
    auto* first = dynamic_cast<TuiSplitPane*>(h.Split.Pane(0));
    auto* second = dynamic_cast<TuiSplitPane*>(h.Split.Pane(1));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(second->PaneIndex(), 1);
    const TRect topBounds = h.Bounds(0);
    second->SetPaneIndex(0);
    EXPECT_EQ(h.Split.Pane(0), second);
    EXPECT_EQ(h.Bounds(0), topBounds) << "the panes swap places";
    try {
        second->SetPaneIndex(2);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "2 is an invalid PaneIndex value.  PaneIndex must be between 0 and 1");
    }
    // A pane takes only a splitter as parent; other parents are refused silently.
    TCustomPanel other(nullptr);
    EXPECT_THROW(first->SetParent(&other), EAbort);
    EXPECT_EQ(first->Splitter(), &h.Split);
    // A control in a pane fills it.
    TCustomControl chart(nullptr);
    chart.SetParent(first);
    h.Split.SetSplitVPos(100);
    EXPECT_EQ(chart.Width(), first->Width());
    EXPECT_EQ(chart.Height(), first->Height());
    chart.SetParent(nullptr);
    // A freed pane leaves the list; a free pane has no index.
    first->Free();
    EXPECT_EQ(h.Split.PaneListCount(), 1);
    TuiSplitPane loose(nullptr);
    EXPECT_EQ(loose.PaneIndex(), -1);
    loose.SetPaneIndex(3);   // nothing without a splitter
    // The splitter's cursor reaches its panes.
    h.Split.SetCursor(crCross);
    EXPECT_EQ(second->Cursor(), crCross);
    EXPECT_TRUE(Screen->HasCursor(crSplitMove)) << "the two-way cursor is registered";
}

TEST(uiSplit, ScrollingPaneTellsItsSplitter)
{
    struct TTellingSplit : TuiBiSplit {
        using TuiBiSplit::TuiBiSplit;
        std::vector<int> Heard;
        void PaneScrolledV(TWinControl*, int code, int pos) override { Heard.insert(Heard.end(), {code, pos}); }
    };
    THost host;
    TTellingSplit split(nullptr);
    host.Put(split, 0, 0, 300, 200);
    split.SetLayout(bslHorz);
    auto* pane = new TuiScrollingSplitPane(nullptr);
    pane->SetParent(&split);
    EXPECT_EQ(pane->PaneIndex(), 2);
    TCustomControl tall(nullptr);
    tall.SetParent(pane);
    tall.SetBounds(0, 0, 50, 500);
    pane->SetBounds(0, 0, 100, 100);
    pane->UpdateScrollRanges();
    EXPECT_EQ(pane->ScrollRange(SB_VERT), 500);
    int seen = -1;
    pane->OnScrollV = [&](TPersistent*, int code, int& pos) {
        seen = code;
        pos = 70000;   // carried on as a 16-bit signed value
    };
    pane->Scroll(SB_VERT, SB_THUMBPOSITION, 30);
    EXPECT_EQ(seen, SB_THUMBPOSITION);
    ASSERT_EQ(split.Heard.size(), 2u);
    EXPECT_EQ(split.Heard[1], static_cast<std::int16_t>(70000));
    EXPECT_EQ(tall.Top(), -400) << "clamped to the range";
    pane->OnScrollV = nullptr;
    pane->Scroll(SB_VERT, SB_TOP, 0);
    pane->Scroll(SB_VERT, SB_LINEDOWN, 0);
    EXPECT_EQ(tall.Top(), -8);
    pane->Scroll(SB_VERT, SB_BOTTOM, 0);
    EXPECT_EQ(tall.Top(), -400);
    tall.SetParent(nullptr);
    pane->Free();
}
