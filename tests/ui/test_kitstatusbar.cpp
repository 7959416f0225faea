// The typed status bar on the offscreen platform: the application's six panels, the percent gauge probed
// at its fill edge and shown at once, text, glyph and disabled panels, automatic widths, hints with the
// gap rule, clicks, assignment, and the live panels (timer intervals, the bouncing ball, key locks).
#include "ui/kitStatusBar.h"

#include "UiTestSupport.h"

#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Keyboard.h"
#include "platform/rtl/PixelMath.h"

#include <QHelpEvent>

#include <gtest/gtest.h>

namespace {

// The main window's bar: six panels as the application sets them up, with a non-antialiased font so
// pixels have exactly the two text colours.
struct TAppBar {
    THost Host{700, 60};
    TkitStatusBar Bar{nullptr};

    TAppBar()
    {
        Bar.BeginLoading();
        Bar.SetUseSystemFont(false);
        Bar.Font().SetName("Arial");
        Bar.Font().SetHeight(-11);
        Bar.Font().SetQuality(fqNonAntialiased);
        struct Panel {
            TkitStatusPanelType type;
            int width;
            bool centred, noBevel;
        };
        const Panel panels[] = {{sptGlyph, 20, true, true},  {sptNormal, 180, false, false}, {sptGauge, 37, true, false},
                                {sptNormal, 50, false, false}, {sptGlyph, 18, true, true},  {sptNormal, 360, false, false}};
        for (const Panel& p : panels) {
            TkitStatusPanel* panel = Bar.Panels().Add();
            panel->SetPanelType(p.type);
            if (p.centred) panel->SetAlignment(taCenter);
            if (p.noBevel) panel->SetBevel(pbNone);
            panel->SetWidth(p.width);
            panel->SetAutoFit(false);
        }
        Bar.Loaded();
        Host.Put(Bar, 0, 41, 700, 19);
        Host.Show();
    }
    TkitStatusPanel* Panel(int i) { return Bar.Panels().Items(i); }
    // The panel's inside (its rectangle without the bevel), in the bar's pixels.
    TRect Content(int i)
    {
        const TRect r = Bar.GetPanelRect(i);
        return {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
    TCanvas& Canvas() { return Bar.Canvas(); }
    void Mark(int i)
    {
        Canvas().Brush().SetColor(clFuchsia);
        Canvas().FillRect(Content(i));
    }
    bool Marked(int i) { return CountPixels(Canvas(), Content(i), clFuchsia) > 0; }
};

} // namespace

TEST(kitStatusBar, ApplicationBarHasSixLinkedPanels)
{
    TAppBar a;
    ASSERT_EQ(a.Bar.Panels().Count(), 6);
    ASSERT_EQ(a.Bar.TStatusBar::Panels().Count(), 6);
    const int widths[] = {20, 180, 37, 50, 18, 360};
    int left = 0;
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(a.Bar.FindLinkedPanel(a.Bar.TStatusBar::Panels().Items(i)), i);
        EXPECT_EQ(a.Bar.TStatusBar::Panels().Items(i)->Style(), psOwnerDraw);
        EXPECT_EQ(a.Panel(i)->Width(), widths[i]) << "stored widths win over the types' automatic fitting";
        EXPECT_FALSE(a.Panel(i)->AutoFit());
        EXPECT_EQ(a.Bar.GetPanelRect(i).Left, left);
        left += widths[i] + 2;
    }
    EXPECT_EQ(a.Panel(2)->Alignment(), taCenter);
    EXPECT_EQ(a.Panel(0)->Bevel(), pbNone);
    EXPECT_EQ(a.Panel(1)->Bevel(), pbLowered);
    EXPECT_EQ(a.Bar.GetPanelRect(6), TRect());
    // The last panel, whatever its width, reaches the bar's right edge (700 pixels here), as the class
    // library lays it out; a bar narrower than the panels cuts it there.
    EXPECT_EQ(a.Bar.GetPanelRect(5).Right, 700);
    a.Bar.SetBounds(0, 41, 500, 19);
    EXPECT_EQ(a.Bar.GetPanelRect(5).Right, 500);
    EXPECT_EQ(a.Bar.GetPanelRect(4).Right, a.Bar.GetPanelRect(4).Left + 18);
    a.Bar.SetBounds(0, 41, 700, 19);
    // Panel texts as the main window writes them.
    a.Panel(1)->SetText("x = 12.5  z = 3");
    a.Panel(3)->SetText("Ready");
    EXPECT_EQ(a.Panel(3)->Text(), "Ready");
    EXPECT_GT(CountPixels(a.Canvas(), a.Content(3), 0), 0) << "black text drawn";
}

TEST(kitStatusBar, GaugeFillEdgeAndTwoTextColours)
{
    TAppBar a;
    TkitStatusPanel* g = a.Panel(2);
    g->SetWidth(35);   // content 33 pixels wide
    a.Bar.Repaint();
    const TRect c = a.Content(2);
    ASSERT_EQ(c.Width(), 33);
    const TColor fill = Rgb(clHighlight), onFill = Rgb(clHighlightText), face = Rgb(clBtnFace), text = 0;

    struct Case {
        int position;
        int edge;   // MulDiv(33, position, 100)
    };
    for (const Case k : {Case{30, 10}, Case{50, 17}, Case{0, 0}, Case{100, 33}, Case{1, 0}, Case{2, 1}}) {
        g->GaugeAttrs().SetPosition(k.position);
        EXPECT_EQ(k.edge, MulDiv(33, k.position, 100));
        bool onlyLeft = true, onlyRight = true;
        int leftText = 0, rightText = 0;
        ForEachPixel(a.Canvas(), c, [&](int x, int, TColor p) {
            if (x < c.Left + k.edge) {
                onlyLeft = onlyLeft && (p == fill || p == onFill);
                leftText += p == onFill;
            } else {
                onlyRight = onlyRight && (p == face || p == text);
                rightText += p == text;
            }
        });
        EXPECT_TRUE(onlyLeft) << k.position;
        EXPECT_TRUE(onlyRight) << k.position;
        if (k.position == 50) {
            EXPECT_GT(leftText, 0) << "the text changes colour at the fill edge";
            EXPECT_GT(rightText, 0);
        }
        if (k.position == 0) { EXPECT_EQ(leftText, 0); }
        if (k.position == 100) { EXPECT_EQ(rightText, 0); }
    }
}

TEST(kitStatusBar, PositionWriteShowsOnTheScreenWithoutAMessageLoopTurn)
{
    TAppBar a;
    const TRect c = a.Content(2);
    a.Panel(2)->GaugeAttrs().SetPosition(100);
    const QImage shot = a.Host.Shot();   // the bar stands at (0, 41) in the host
    EXPECT_EQ(QColor(shot.pixel(c.Left + 1, 41 + c.Top + 2)).rgb() & 0xFFFFFF, 0x000080u) << "no ProcessMessages in between";
    // The rest of the bar was not invalidated by the write.
    EXPECT_FALSE(a.Bar.PaintPending());
    // Writing the same position again does not repaint: a mark stays.
    a.Mark(2);
    a.Panel(2)->GaugeAttrs().SetPosition(100);
    EXPECT_TRUE(a.Marked(2));
    EXPECT_THROW(a.Panel(2)->GaugeAttrs().SetPosition(101), ERangeError);
    EXPECT_THROW(a.Panel(2)->GaugeAttrs().SetPosition(-1), ERangeError);
}

TEST(kitStatusBar, GaugeTextReplacesThePercentage)
{
    TAppBar a;
    TkitStatusPanel* g = a.Panel(2);
    const TRect c = a.Content(2);
    const auto pixels = [&] {
        std::vector<TColor> out;
        ForEachPixel(a.Canvas(), c, [&](int, int, TColor p) { out.push_back(p); });
        return out;
    };
    g->GaugeAttrs().SetPosition(40);
    const std::vector<TColor> automatic = pixels();
    g->SetText("40%");
    EXPECT_EQ(pixels(), automatic) << "the same text in the same place";
    g->SetText("Go");
    EXPECT_NE(pixels(), automatic);
}

TEST(kitStatusBar, DisabledPanelsAndDisabledBarShowOnlyTheBarColour)
{
    TAppBar a;
    a.Panel(3)->SetText("Ready");
    a.Panel(3)->SetEnabled(false);
    EXPECT_EQ(CountPixels(a.Canvas(), a.Content(3), Rgb(clBtnFace)), a.Content(3).Width() * a.Content(3).Height());
    a.Panel(3)->SetEnabled(true);
    EXPECT_GT(CountPixels(a.Canvas(), a.Content(3), 0), 0);
    a.Bar.SetEnabled(false);
    EXPECT_FALSE(a.Panel(3)->Enabled());
    EXPECT_TRUE(a.Panel(3)->StoredEnabled());
    a.Bar.Repaint();
    EXPECT_EQ(CountPixels(a.Canvas(), a.Content(3), 0), 0);
}

TEST(kitStatusBar, GlyphWithKeyColourAndPlacement)
{
    TAppBar a;
    TBitmap glyph(16, 12, pf24bit);
    glyph.Canvas().Brush().SetColor(clOlive);
    glyph.Canvas().FillRect({0, 0, 16, 12});
    glyph.Canvas().Brush().SetColor(clRed);
    glyph.Canvas().FillRect({4, 3, 12, 9});
    TPicture picture;
    picture.SetGraphic(&glyph);
    a.Panel(4)->SetGlyph(picture);   // 18 pixels wide: content 16
    const TRect c = a.Content(4);
    EXPECT_EQ(CountPixels(a.Canvas(), c, Rgb(clOlive)), 0) << "olive is the key colour";
    EXPECT_EQ(CountPixels(a.Canvas(), c, Rgb(clRed)), 8 * 6);
    // Centred: 16 in 16 starts at 0; vertically (15 - 12) / 2 = 1.
    EXPECT_EQ(a.Canvas().GetPixel(c.Left + 4, c.Top + 1 + 3), Rgb(clRed));
    EXPECT_EQ(a.Canvas().GetPixel(c.Left + 3, c.Top + 1 + 3), Rgb(clBtnFace));
    // A wider panel: the odd pixel goes to the right.
    a.Panel(4)->SetWidth(21);   // content 19; a width change repaints the bar later
    a.Bar.Repaint();
    const TRect w = a.Content(4);
    EXPECT_EQ(a.Canvas().GetPixel(w.Left + 1 + 4, w.Top + 4), Rgb(clRed));
    EXPECT_EQ(a.Canvas().GetPixel(w.Left + 1 + 3, w.Top + 4), Rgb(clBtnFace));
}

TEST(kitStatusBar, AutoFitWidthsFollowTheContent)
{
    TAppBar a;
    TBitmap glyph(16, 12);
    TPicture picture;
    picture.SetGraphic(&glyph);
    const int e = a.Bar.TextExtent("Status text").cx;
    ASSERT_GT(e, 0);
    struct Case {
        TkitStatusPanelType type;
        std::string text;
        int border;
        int expected;
    };
    const Case cases[] = {
        {sptGlyph, "", 0, 16 + 0 + 4},
        {sptGlyph, "", 3, 16 + 3 + 4},
        {sptGlyph, "Status text", 0, e + 2 + 0 + 16 + 4},
        {sptGlyph, "Status text", 2, e + 2 + 4 + 16 + 4},
        {sptNormal, "Status text", 0, e + 6},
        {sptNormal, "Status text", 5, e + 6 + 5},
    };
    for (const Case& k : cases) {
        TkitStatusPanel* p = a.Panel(5);
        p->SetPanelType(k.type);
        p->SetGlyph(picture);
        p->SetText(k.text);
        p->SetBorderWidth(k.border);
        p->SetAutoFit(true);
        EXPECT_EQ(p->Width(), k.expected) << k.type << " '" << k.text << "' " << k.border;
        p->SetWidth(5);
        EXPECT_EQ(p->Width(), k.expected) << "a written width is ignored while fitting";
        p->SetAutoFit(false);
        p->SetWidth(360);
    }
    // The bar's font refits the fitted panels.
    a.Panel(5)->SetPanelType(sptNormal);
    a.Panel(5)->SetText("Status text");
    a.Panel(5)->SetBorderWidth(0);
    a.Panel(5)->SetAutoFit(true);
    a.Bar.Font().SetHeight(-20);
    EXPECT_EQ(a.Panel(5)->Width(), a.Bar.TextExtent("Status text").cx + 6);
    EXPECT_GT(a.Panel(5)->Width(), e + 6);
    // Key-lock panels fit by type.
    a.Panel(3)->SetPanelType(sptCapsLock);
    EXPECT_TRUE(a.Panel(3)->AutoFit());
    EXPECT_EQ(a.Panel(3)->Text(), " CAPS ");
    EXPECT_EQ(a.Panel(3)->Width(), a.Bar.TextExtent(" CAPS ").cx + 6);
    a.Panel(3)->SetPanelType(sptNormal);
}

TEST(kitStatusBar, EllipsisPanelsShowTheirFullTextAsHint)
{
    TAppBar a;
    TkitStatusPanel* p = a.Panel(1);
    p->SetText("/home/user/surveys/a very long name of a survey.sp2");
    p->SetPanelType(sptEllipsisPath);
    EXPECT_EQ(p->StoredHint(), "...");
    EXPECT_EQ(p->Hint(), p->Text());
    p->SetPanelType(sptNormal);
    EXPECT_EQ(p->Hint(), "...") << "the marker is an ordinary hint for other types";
    p->SetHint("explicit");
    p->SetPanelType(sptEllipsisText);
    EXPECT_EQ(p->Hint(), "explicit");
    p->OnHintText = [](TkitStatusBar*, TkitStatusPanel*, std::string& h) { h += "!"; };
    EXPECT_EQ(p->Hint(), "explicit!");
    // The shortened text fits its panel.
    p->SetHint("");
    p->SetText(std::string(200, 'W'));
    const TRect c = a.Content(1);
    EXPECT_EQ(a.Canvas().GetPixel(c.Right - 1, c.Top + 8), Rgb(clBtnFace)) << "cut before the edge";
}

TEST(kitStatusBar, HintsOfPanelsAndTheGapBetweenThem)
{
    TAppBar a;
    a.Bar.SetHint("the bar");
    a.Panel(1)->SetHint("cursor position");
    a.Panel(5)->SetHint("edit mode");
    const auto hintAt = [&](int x) {
        const TPoint p = a.Bar.ClientToScreen({x, 10});
        Application->ActivateHint(p);
        return Application->LastHint();
    };
    const TRect r1 = a.Bar.GetPanelRect(1), r5 = a.Bar.GetPanelRect(5);
    THintRecord h = hintAt(r1.Left + 5);
    EXPECT_EQ(h.Text, "cursor position");
    EXPECT_EQ(h.CursorRect, r1);
    h = hintAt(r5.Left + 5);
    EXPECT_EQ(h.Text, "edit mode");
    EXPECT_EQ(h.CursorRect, r5);
    // Over panel 3, which has no hint: the bar's hint in the gap from panel 1's right to panel 5's left.
    h = hintAt(a.Bar.GetPanelRect(3).Left + 5);
    EXPECT_EQ(h.Text, "the bar");
    EXPECT_EQ(h.CursorRect.Left, r1.Right);
    EXPECT_EQ(h.CursorRect.Right, r5.Left);
    // Left of panel 1 no hinted panel bounds the gap on that side.
    h = hintAt(a.Bar.GetPanelRect(0).Left + 3);
    EXPECT_EQ(h.CursorRect.Left, 0);
    EXPECT_EQ(h.CursorRect.Right, r1.Left);
    Application->CancelHint();
}

TEST(kitStatusBar, ClickGoesToThePanelUnderTheMouse)
{
    TAppBar a;
    std::vector<std::string> log;
    a.Panel(3)->OnClick = [&](TPersistent* s) { log.push_back(s == a.Panel(3) ? "panel 3" : "?"); };
    a.Bar.OnClick = [&](TPersistent*) { log.push_back("bar"); };
    const TRect r = a.Bar.GetPanelRect(3);
    Click(a.Bar.Widget(), QPoint(r.Left + 4, 8));
    Click(a.Bar.Widget(), QPoint(a.Bar.GetPanelRect(1).Left + 4, 8));
    EXPECT_EQ(log, (std::vector<std::string>{"panel 3", "bar", "bar"}));
}

TEST(kitStatusBar, PanelsBelongToTypedCollectionsOnly)
{
    TkitStatusBar bar(nullptr);
    TStatusPanels other(nullptr);
    try {
        TkitStatusPanel wrong(&other);
        FAIL() << "created in a foreign collection";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "TkitStatusPanel owner must be TkitStatusPanesls");
    }
    EXPECT_EQ(other.Count(), 0);
    // Moving a panel moves its native panel too; freeing it frees the native one.
    TkitStatusPanel* a = bar.Panels().Add();
    TkitStatusPanel* b = bar.Panels().Add();
    b->SetIndex(0);
    EXPECT_EQ(bar.TStatusBar::Panels().Items(0), b->LinkedPanel());
    EXPECT_EQ(bar.FindLinkedPanel(a->LinkedPanel()), 1);
    a->Free();
    EXPECT_EQ(bar.TStatusBar::Panels().Count(), 1);
    EXPECT_EQ(bar.Version(), "TkitStatusBar v1.24");
}

TEST(kitStatusBar, AssignmentCopiesTheTypeLastAndDisplayNames)
{
    TkitStatusBar bar(nullptr);
    TkitStatusPanel* src = bar.Panels().Add();
    src->SetPanelType(sptCapsLock);
    src->SetBorderWidth(4);
    src->OnClick = [](TPersistent*) {};
    TkitStatusPanel* copy = bar.Panels().Add();
    copy->Assign(*src);
    EXPECT_EQ(copy->PanelType(), sptCapsLock);
    EXPECT_EQ(copy->Text(), " CAPS ");
    EXPECT_TRUE(copy->AutoFit());
    EXPECT_EQ(copy->BorderWidth(), 0) << "not copied";
    EXPECT_FALSE(copy->OnClick);
    EXPECT_EQ(KitHookedKeyLockPanels(), 2) << "the copy tracks its key too";
    EXPECT_EQ(copy->DisplayName(), "sptCapsLock");
    TkitStatusPanel* plain = bar.Panels().Add();
    EXPECT_EQ(plain->DisplayName(), "TkitStatusPanel");
    plain->SetText("Ready");
    EXPECT_EQ(plain->DisplayName(), "Ready");
    // Gauge settings copy Position and Style only.
    TkitGaugeAttrs g(plain), h(copy);
    g.SetPosition(42);
    g.SetSpeed(9);
    g.SetColor(clRed);
    h.Assign(g);
    EXPECT_EQ(h.Position(), 42);
    EXPECT_EQ(h.Speed(), 4);
    EXPECT_EQ(h.Color(), clHighlight);
    EXPECT_EQ(h.Panel(), copy);
}

// ---- Live panels --------------------------------------------------------------------------------------------

TEST(kitStatusBarLive, TimerIntervalsFollowTheRegisteredPanels)
{
    TkitStatusBar bar(nullptr);
    TkitStatusPanels& panels = bar.Panels();
    const int before = KitTimedRegistrations();
    TkitStatusPanel* date = panels.Add();
    date->SetPanelType(sptDate);
    ASSERT_NE(panels.Timer(), nullptr);
    EXPECT_EQ(panels.Timer()->Interval(), 60000);
    TkitStatusPanel* time = panels.Add();
    time->SetPanelType(sptTime);
    EXPECT_EQ(panels.Timer()->Interval(), 1000);
    TkitStatusPanel* gauge = panels.Add();
    gauge->GaugeAttrs().SetStyle(gsIndeterminate);
    gauge->SetPanelType(sptGauge);
    EXPECT_FALSE(gauge->StoredEnabled()) << "an indeterminate gauge waits to be enabled";
    EXPECT_EQ(panels.Timer()->Interval(), 1000);
    gauge->SetEnabled(true);
    EXPECT_EQ(panels.Timer()->Interval(), 50);
    EXPECT_EQ(KitTimedRegistrations(), before + 3);
    time->SetPanelType(sptNormal);
    EXPECT_EQ(panels.Timer()->Interval(), 50);
    gauge->SetEnabled(false);
    EXPECT_EQ(panels.Timer()->Interval(), 60000);
    time->SetPanelType(sptDateTime);
    EXPECT_EQ(panels.Timer()->Interval(), 1000);
    time->SetEnabled(false);
    EXPECT_EQ(panels.Timer()->Interval(), 60000);
    date->Free();
    EXPECT_EQ(panels.Timer(), nullptr) << "the timer goes with the last registered panel";
    EXPECT_EQ(KitTimedRegistrations(), before);
}

TEST(kitStatusBarLive, ClockTextsChangeWithTheirParts)
{
    TDateTime now = EncodeDate(2024, 3, 9) + EncodeTime(23, 59, 58, 0);
    SetKitStatusBarClock([&] { return now; });
    {
        TkitStatusBar bar(nullptr);
        TkitStatusPanel* date = bar.Panels().Add();
        date->SetDateFormat("yyyy-mm-dd");
        date->SetPanelType(sptDate);
        TkitStatusPanel* time = bar.Panels().Add();
        time->SetTimeFormat("hh:nn:ss");
        time->SetPanelType(sptTime);
        EXPECT_EQ(date->Text(), "2024-03-09");
        EXPECT_EQ(time->Text(), "23:59:58");
        now += 1.0 / SecsPerDay;
        bar.Panels().TimerTick();
        EXPECT_EQ(time->Text(), "23:59:59");
        // The date panel reads the clock only when the day changes.
        date->SetDateFormat("dd.mm.yyyy");
        EXPECT_EQ(date->Text(), "09.03.2024") << "a format write refreshes at once";
        now += 2.0 / SecsPerDay;
        bar.Panels().TimerTick();
        EXPECT_EQ(date->Text(), "10.03.2024");
        EXPECT_EQ(time->Text(), "00:00:01");
        TkitStatusPanel* normal = bar.Panels().Add();
        normal->SetText("kept");
        normal->SetDateFormat("yyyy");
        EXPECT_EQ(normal->Text(), "kept");
        // Both parts, in either order.
        time->SetPanelType(sptTimeDate);
        EXPECT_EQ(time->Text(), "00:00:01 3/10/2024") << "its own date format is empty: the short date format";
    }
    SetKitStatusBarClock(nullptr);
}

TEST(kitStatusBarLive, BallBouncesBetweenTheEnds)
{
    TAppBar a;
    TkitStatusPanel* g = a.Panel(2);
    g->GaugeAttrs().SetStyle(gsIndeterminate);
    g->SetWidth(102);   // content 100 wide
    const TRect c = a.Content(2);
    ASSERT_EQ(c.Width(), 100);
    const int diameter = c.Height() - 2 * (c.Height() / 3);
    g->SetEnabled(true);
    std::vector<int> offsets{g->GaugeOffset()};
    for (int tick = 0; tick < 60; ++tick) {
        a.Bar.Panels().TimerTick();
        offsets.push_back(g->GaugeOffset());
    }
    int highest = 0, lowest = 1000;
    for (std::size_t i = 1; i < offsets.size(); ++i) {
        EXPECT_EQ(std::abs(offsets[i] - offsets[i - 1]), 4) << i;
        highest = std::max(highest, offsets[i]);
        lowest = std::min(lowest, offsets[i]);
    }
    // Turns once the ball's right side plus one reaches the width, and at an offset of 1 or less.
    EXPECT_GE(highest + diameter + 1, 100);
    EXPECT_LT(highest - 4 + diameter + 1, 100);
    EXPECT_LE(lowest, 1);
    EXPECT_GT(lowest + 4, 1);
    // The ball shows where its offset says.
    const int x = c.Left + g->GaugeOffset() + diameter / 2;
    EXPECT_EQ(a.Canvas().GetPixel(x, c.Top + c.Height() / 2), Rgb(clHighlight));
    // Disabling stops it and puts it back at the left.
    g->SetEnabled(false);
    EXPECT_EQ(g->GaugeOffset(), 0);
    EXPECT_EQ(a.Bar.Panels().Timer(), nullptr);
    // The mended speed: a new speed above 0 is taken, 0 is refused, and the step keeps its sign.
    g->GaugeAttrs().SetSpeed(6);
    EXPECT_EQ(g->GaugeAttrs().Speed(), 6);
    g->GaugeAttrs().SetSpeed(0);
    EXPECT_EQ(g->GaugeAttrs().Speed(), 6);
    g->GaugeAttrs().SetSpeed(3);
    EXPECT_EQ(g->GaugeAttrs().Speed(), 3);
    EXPECT_EQ(g->GaugeStep(), 3);
}

TEST(kitStatusBarLive, GradientGaugeKeepsItsGradientUntilItsColourChanges)
{
    TAppBar a;
    TkitStatusPanel* g = a.Panel(2);
    g->GaugeAttrs().SetStyle(gsIndeterminate2);
    g->SetWidth(102);
    g->SetEnabled(true);
    const TBitmap* gradient = g->GaugeGradientCache();
    ASSERT_NE(gradient, nullptr);
    EXPECT_EQ(gradient->Width(), 100);
    EXPECT_EQ(gradient->PixelRGB(0, 0), Rgb(clBtnFace)) << "column 0 the bar colour";
    EXPECT_EQ(gradient->PixelRGB(99, 0), Rgb(clHighlight)) << "column 99 the gauge colour";
    a.Bar.SetColor(clWhite);
    a.Bar.Panels().TimerTick();
    EXPECT_EQ(g->GaugeGradientCache(), gradient) << "the bar's colour does not rebuild it";
    g->GaugeAttrs().SetColor(clRed);
    ASSERT_NE(g->GaugeGradientCache(), nullptr) << "rebuilt at the next paint";
    EXPECT_EQ(g->GaugeGradientCache()->PixelRGB(99, 0), Rgb(clRed));
    g->SetEnabled(false);
}

TEST(kitStatusBarLive, CapsLockRedrawsOnlyCapsPanelsOncePerPress)
{
    TAppBar a;
    for (std::uint16_t k : {std::uint16_t(VK_CAPITAL), VK_NUMLOCK, VK_SCROLL}) SetKeyToggled(k, false);
    a.Panel(1)->SetPanelType(sptCapsLock);
    a.Panel(3)->SetPanelType(sptNumLock);
    a.Panel(5)->SetPanelType(sptCapsLock);
    EXPECT_TRUE(KitKeyboardHookInstalled());
    EXPECT_EQ(a.Bar.MainWindowHookCount(), 3);
    const TRect caps = a.Content(1);
    EXPECT_GT(CountPixels(a.Canvas(), caps, Rgb(clGrayText)), 0) << "off: grey text";
    for (int i : {1, 3, 5}) a.Mark(i);
    SendKey(a.Bar.Widget(), Qt::Key_CapsLock);
    EXPECT_FALSE(a.Marked(1));
    EXPECT_FALSE(a.Marked(5));
    EXPECT_TRUE(a.Marked(3)) << "the NUM panel is not redrawn";
    EXPECT_EQ(CountPixels(a.Canvas(), caps, Rgb(clGrayText)), 0);
    EXPECT_GT(CountPixels(a.Canvas(), caps, 0), 0) << "on: the font colour";
    for (int i : {1, 3, 5}) a.Mark(i);
    SendKey(a.Bar.Widget(), Qt::Key_CapsLock, {}, true);
    SendKey(a.Bar.Widget(), Qt::Key_A);
    EXPECT_TRUE(a.Marked(1) && a.Marked(3) && a.Marked(5)) << "a repeat and other keys redraw nothing";

    // Deactivation: a posted refresh of every key-lock panel, and the next key event redraws them all.
    Application->ActivationChanged(false);
    Pump();
    EXPECT_FALSE(a.Marked(1) || a.Marked(3) || a.Marked(5));
    for (int i : {1, 3, 5}) a.Mark(i);
    Application->ActivationChanged(true);
    Pump();
    for (int i : {1, 3, 5}) a.Mark(i);
    SendKey(a.Bar.Widget(), Qt::Key_A);
    EXPECT_FALSE(a.Marked(1) || a.Marked(3) || a.Marked(5));

    // The monitor library does not exist: the switch falls back and the panels stay on the hook.
    a.Bar.SetUseMonitorDLL(true);
    EXPECT_FALSE(a.Bar.UseMonitorDLL());
    EXPECT_EQ(KitHookedKeyLockPanels(), 3);
    EXPECT_EQ(a.Bar.MonitorCount(), 0);
    SetKeyToggled(VK_CAPITAL, false);
}

TEST(kitStatusBarLive, TeardownLeavesNothingRegistered)
{
    {
        TAppBar a;
        a.Panel(1)->SetPanelType(sptCapsLock);
        a.Panel(3)->SetPanelType(sptTime);
        a.Panel(2)->GaugeAttrs().SetStyle(gsIndeterminate);
        a.Panel(2)->SetEnabled(true);
    }
    EXPECT_FALSE(KitKeyboardHookInstalled());
    EXPECT_EQ(KitTimedRegistrations(), 0);
    EXPECT_TRUE(KitStatusBarConsistencyFailures().empty());
    // A bar destroyed with an application-window registration left over is reported.
    {
        TkitStatusBar bar(nullptr);
        TkitStatusPanel* p = bar.Panels().Add();
        bar.HookMainWindowFor(p);
        bar.HookMainWindowFor(p);
        p->SetPanelType(sptNormal);
        bar.UnhookMainWindowFor(p);
    }
    EXPECT_EQ(KitStatusBarConsistencyFailures(), std::vector<std::string>{"Unbalanced MainWinHook registrations"});
}
