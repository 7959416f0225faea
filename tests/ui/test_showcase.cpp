// The kit's controls together in one window, as a dialog and the main window would have them: the
// six-panel status bar with the gauge at 37 %, a splitter with two panes, bordered labels, colour buttons,
// picture buttons, and the shaped splash over it. With VSP_UI_SHOTS naming a folder, the window and the
// screen are saved there as PNG pictures (run under xvfb-run to see them as a user would).
#include "ui/KITClrBn.h"
#include "ui/SplashArt.h"
#include "ui/kitStatusBar.h"
#include "ui/uibtn.h"
#include "ui/uiexctl.h"
#include "ui/uifspla.h"
#include "ui/uispla.h"
#include "ui/uisplit.h"

#include "UiTestSupport.h"

#include "platform/controls/TopLevel.h"
#include "platform/graphics/ResourceStore.h"

#include <QGuiApplication>

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

namespace {

// A small glyph: a coloured square on the olive key colour.
std::unique_ptr<TPicture> Glyph(TColor colour, int size)
{
    TBitmap b(size, size);
    b.Canvas().Brush().SetColor(clOlive);
    b.Canvas().FillRect({0, 0, size, size});
    b.Canvas().Brush().SetColor(colour);
    b.Canvas().Ellipse(2, 2, size - 2, size - 2);
    auto p = std::make_unique<TPicture>();
    p->SetGraphic(&b);
    return p;
}

} // namespace

TEST(Showcase, TheKitsControlsTogether)
{
    THost host(640, 420);
    host.Window->setWindowTitle("VornSP2Dp - UI kit");

    // The splitter with two panes above the status bar.
    TuiBiSplit split(nullptr);
    split.SetLayout(bslHorz);
    split.SetBorderWidth(0);
    host.Put(split, 0, 0, 640, 300);
    TCustomPanel top(nullptr), bottom(nullptr);
    top.SetColor(RGB(250, 250, 235));
    bottom.SetColor(RGB(230, 240, 250));
    top.SetParent(split.Pane(0));
    bottom.SetParent(split.Pane(1));
    split.SetSplitVPercent(50);

    // A setup dialog's row: labels, colour buttons and picture buttons on the lower pane.
    TuiSuperLabel label1(nullptr), label2(nullptr);
    for (auto [l, caption, y] : {std::tuple{&label1, " Start resistivity", 10}, std::tuple{&label2, " Node colour", 50}}) {
        l->SetParent(&bottom);
        l->SetBounds(10, y, 160, 33);
        l->SetBorderStyle(bsSingle);
        l->SetVerticalAlignment(vaCenter);
        l->SetTopMargin(2);
        l->SetCaption(caption);
    }
    TkitColorButton colour1(nullptr), colour2(nullptr);
    colour1.SetParent(&bottom);
    colour1.SetBounds(180, 14, 41, 24);
    colour1.SetColor(RGB(255, 0, 0));
    colour2.SetParent(&bottom);
    colour2.SetBounds(180, 54, 41, 24);
    colour2.SetColor(RGB(0, 127, 127));
    TuiPicBtn apply(nullptr), cancel(nullptr);
    for (auto [b, caption, x] : {std::tuple{&apply, "Apply", 400}, std::tuple{&cancel, "Cancel", 490}}) {
        b->SetParent(&bottom);
        b->SetBounds(x, 90, 80, 26);
        b->SetStyle(absRecessedBlackHighlight);
        b->Font().SetName("Arial");
        b->Font().SetHeight(-13);
        b->SetCaption(caption);
    }
    apply.SetPicture(*Glyph(RGB(40, 160, 60), 16));
    cancel.SetPicture(*Glyph(RGB(200, 40, 40), 16));
    cancel.SetEnabled(false);

    // The main window's status bar: six panels, the gauge at 37 %.
    TkitStatusBar bar(nullptr);
    bar.BeginLoading();
    bar.SetUseSystemFont(false);
    bar.Font().SetName("Arial");
    bar.Font().SetHeight(-11);
    const struct {
        TkitStatusPanelType type;
        int width;
    } panels[] = {{sptGlyph, 20}, {sptNormal, 180}, {sptGauge, 37}, {sptNormal, 50}, {sptGlyph, 18}, {sptNormal, 360}};
    for (const auto& p : panels) {
        TkitStatusPanel* panel = bar.Panels().Add();
        panel->SetPanelType(p.type);
        if (p.type == sptGlyph) {
            panel->SetAlignment(taCenter);
            panel->SetBevel(pbNone);
        }
        panel->SetWidth(p.width);
        panel->SetAutoFit(false);
    }
    bar.Loaded();
    host.Put(bar, 0, 401, 640, 19);
    bar.Panels().Items(0)->SetGlyph(*Glyph(RGB(40, 120, 220), 16));
    bar.Panels().Items(4)->SetGlyph(*Glyph(RGB(220, 60, 40), 14));
    bar.Panels().Items(1)->SetText("x = 125.0 m   z = 12.5 m   dU = -34.2 mV");
    bar.Panels().Items(3)->SetText("Ready");
    bar.Panels().Items(5)->SetText("Move nodes: drag a node with the left button");
    host.Show();
    bar.Panels().Items(2)->GaugeAttrs().SetPosition(37);

    const TRect gauge = bar.GetPanelRect(2);
    EXPECT_GT(CountPixels(bar.Canvas(), gauge, Rgb(clHighlight)), 0);
    EXPECT_EQ(split.SplitVPos(), 150);

    // The shaped splash over the window.
    RegisterSplashArt();
    TBitmap art;
    ASSERT_TRUE(LoadBitmapResource(SplashArtResource, art));
    TPicture picture;
    picture.SetGraphic(&art);
    TuiSplash splash(nullptr);
    splash.SetPicture(picture);
    splash.SetBevelWidth(1);
    splash.SetShapeForm(true);
    splash.SetShapeTolerance(clGreen);
    splash.SetDuration(0);
    splash.Show();
    ASSERT_NE(splash.Window(), nullptr);
    EXPECT_TRUE(WindowHasRegion(splash.Window()));
    Pump(10);

    if (const char* folder = std::getenv("VSP_UI_SHOTS")) {
        std::filesystem::create_directories(folder);
        host.Window->grab().save(QString::fromUtf8(folder) + "/window.png");
        QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromUtf8(folder) + "/screen.png");
        splash.Hide();
        Pump(5);
        // The colour button's palette dropped down.
        SendMouse(colour1.Widget(), QEvent::MouseMove, QPoint(35, 10));
        Click(colour1.Widget(), QPoint(35, 10));
        Pump(10);
        QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromUtf8(folder) + "/palette.png");
        if (colour1.Palette()) colour1.Palette()->close();
    }
    splash.Hide();
    Pump();
}
