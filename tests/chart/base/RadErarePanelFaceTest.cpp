// The panel face probed at pixels: the shadow strip, no background for clNone, the border pen and the
// bevels inside it, gradient and back-image modes; the XOR zoom band on the real control; the zoom, pan
// and back image state.
#include "chart/base/RadErarePanelExt.h"

#include "platform/controls/Application.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/Streams.h"

#include <QImage>
#include <QRegion>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// A bitmap whose left half is red and right half blue.
struct TTwoColourPicture : TBitmap {
    TTwoColourPicture(int w, int h) : TBitmap(w, h, pf24bit)
    {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) SetPixelRGB(x, y, x < w / 2 ? clRed : clBlue);
    }
};

// A small flat panel (no bevel) of the given colour.
void MakeFlat(TDraw3D& p, TColor color, int w = 60, int h = 40)
{
    p.SetBounds(0, 0, w, h);
    p.SetBevelOuter(bvNone);
    p.SetColor(color);
}

// Whether the next paint draws the chart again (instead of copying the off-screen picture).
bool NeedsRedraw(TDraw3D& p) { return dynamic_cast<TLumCanvas3D&>(p.ChartCanvas()).NeedsRedraw(); }

std::unique_ptr<TBitmap> Render(TDraw3D& p) { return p.RenderToBitmap(clWhite, p.ChartBounds(), pf24bit); }

} // namespace

TEST(LumPanelFace, ShadowStripTakesTheParentsColour)
{
    TCustomPanel parent(nullptr);
    parent.SetColor(clLime);
    TDraw3D p(nullptr);
    MakeFlat(p, clRed);
    p.SetParent(&parent);
    p.Shadow().SetColor(clBlack);
    p.Shadow().SetUniformSize(3);
    p.SetBevelOuter(bvRaised);
    const auto b = Render(p);
    EXPECT_EQ(b->PixelRGB(20, 20), clRed);
    EXPECT_EQ(b->PixelRGB(56, 36), ColorToRGB(clBtnShadow)) << "the bevel moved 3 pixels in from the right and bottom";
    EXPECT_EQ(b->PixelRGB(0, 0), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(b->PixelRGB(58, 1), clLime) << "the strip above the shadow";
    EXPECT_EQ(b->PixelRGB(1, 38), clLime);
    EXPECT_EQ(b->PixelRGB(57, 20), clBlack) << "the shadow itself";
    EXPECT_EQ(b->PixelRGB(20, 37), clBlack);

    TDraw3D orphan(nullptr);
    MakeFlat(orphan, clRed);
    orphan.Shadow().SetUniformSize(3);
    EXPECT_EQ(Render(orphan)->PixelRGB(58, 1), clRed) << "without a parent the panel's own colour";
}

TEST(LumPanelFace, NoBackgroundForClNone)
{
    TDraw3D p(nullptr);
    MakeFlat(p, clNone);
    TBitmap target(60, 40);
    target.Canvas().Brush().SetColor(clAqua);
    target.Canvas().FillRect({0, 0, 60, 40});
    p.DrawUnbuffered(target.Canvas(), p.ChartBounds());
    EXPECT_EQ(target.PixelRGB(30, 20), clAqua);
}

TEST(LumPanelFace, BorderPenAndBevelsInsideIt)
{
    TDraw3D p(nullptr);
    MakeFlat(p, clRed);
    p.SetBevelOuter(bvRaised);
    p.Border().SetVisible(true);
    p.Border().SetColor(clBlue);
    p.Border().SetWidth(2);
    const auto b = Render(p);
    // The 2-pixel pen runs along the rectangle (1, 1)-(60, 40); the bevel starts 1 pixel further in.
    EXPECT_EQ(b->PixelRGB(1, 20), clBlue);
    EXPECT_EQ(b->PixelRGB(59, 20), clBlue);
    EXPECT_EQ(b->PixelRGB(30, 39), clBlue);
    EXPECT_EQ(b->PixelRGB(2, 20), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(b->PixelRGB(30, 2), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(b->PixelRGB(58, 20), ColorToRGB(clBtnShadow));
    EXPECT_EQ(b->PixelRGB(30, 38), ColorToRGB(clBtnShadow));
    EXPECT_EQ(b->PixelRGB(3, 3), clRed);
    EXPECT_EQ(b->PixelRGB(57, 37), clRed);

    p.Border().SetWidth(1);
    p.SetBevelInner(bvLowered);
    p.SetBorderWidth(1);
    const auto c = Render(p);
    EXPECT_EQ(c->PixelRGB(0, 20), clBlue);
    EXPECT_EQ(c->PixelRGB(1, 20), ColorToRGB(clBtnHighlight)) << "outer bevel";
    EXPECT_EQ(c->PixelRGB(2, 20), clRed) << "the border width in the panel colour";
    EXPECT_EQ(c->PixelRGB(3, 20), ColorToRGB(clBtnShadow)) << "inner bevel, lowered";
    EXPECT_EQ(c->PixelRGB(56, 20), ColorToRGB(clBtnHighlight));
}

TEST(LumPanelFace, GradientFillsTheBackground)
{
    TDraw3D p(nullptr);
    MakeFlat(p, clRed);
    EXPECT_FALSE(p.HasGradient());
    p.Gradient().SetStartColor(clWhite);
    p.Gradient().SetEndColor(clBlack);
    p.Gradient().SetVisible(true);
    const auto b = Render(p);
    const int top = GetRValue(b->PixelRGB(30, 0)), bottom = GetRValue(b->PixelRGB(30, 39));
    EXPECT_GT(std::abs(top - bottom), 200) << "from one end colour to the other";
    EXPECT_EQ(GetRValue(b->PixelRGB(30, 20)), GetBValue(b->PixelRGB(30, 20))) << "grey, no red from the colour";
    p.SetGradient(nullptr);
    EXPECT_FALSE(p.HasGradient());
    EXPECT_EQ(Render(p)->PixelRGB(30, 20), clRed);
}

TEST(LumPanelFace, BackImageModes)
{
    TDraw3D p(nullptr);
    MakeFlat(p, clWhite);
    const TTwoColourPicture tile(10, 10);
    p.BackImage().SetGraphic(&tile);
    ASSERT_TRUE(p.HasBackImage());

    struct Probe {
        int x, y;
        TColor c;
    };
    struct Case {
        const char* what;
        TLumBackImageMode mode;
        std::vector<Probe> probes;
    };
    const std::vector<Case> cases = {
        {"stretch", pbmStretch, {{5, 20, clRed}, {29, 0, clRed}, {30, 39, clBlue}, {59, 39, clBlue}}},
        {"tile", pbmTile, {{4, 2, clRed}, {5, 2, clBlue}, {14, 12, clRed}, {55, 35, clBlue}, {50, 30, clRed}}},
        {"custom", pbmCustom, {{5, 7, clRed}, {4, 7, clWhite}, {14, 16, clBlue}, {15, 16, clWhite}, {5, 17, clWhite}}},
        {"centre", pbmCenter, {{25, 15, clRed}, {29, 24, clRed}, {30, 15, clBlue}, {34, 24, clBlue}, {24, 15, clWhite}, {35, 25, clWhite}}},
    };
    p.BackImage().SetLeft(5);
    p.BackImage().SetTop(7);
    for (const Case& c : cases) {
        p.SetBackImageMode(c.mode);
        const auto b = Render(p);
        for (const Probe& probe : c.probes)
            EXPECT_EQ(b->PixelRGB(probe.x, probe.y), probe.c) << c.what << " at " << probe.x << "," << probe.y;
    }

    p.SetBackImageInside(true);
    EXPECT_EQ(Render(p)->PixelRGB(30, 20), clWhite) << "an image inside the back wall is left to the walls";
}

TEST(LumPanelFace, LargerCentredPictureIsClippedToItsArea)
{
    TDraw3D p(nullptr);
    MakeFlat(p, clWhite);
    const TTwoColourPicture picture(100, 60);
    p.BackImage().SetGraphic(&picture);
    p.SetBackImageMode(pbmCenter);
    p.SetBackImageInside(true);
    p.OnAfterDraw = [&p](TPersistent*) { p.DrawBackImage({10, 10, 50, 30}, 0); };
    const auto b = Render(p);
    EXPECT_EQ(b->PixelRGB(29, 20), clRed) << "the picture's centre at the area's centre";
    EXPECT_EQ(b->PixelRGB(30, 20), clBlue);
    EXPECT_EQ(b->PixelRGB(10, 10), clRed);
    EXPECT_EQ(b->PixelRGB(49, 29), clBlue);
    EXPECT_EQ(b->PixelRGB(9, 20), clWhite) << "clipped to the area";
    EXPECT_EQ(b->PixelRGB(50, 20), clWhite);
    EXPECT_EQ(b->PixelRGB(30, 30), clWhite);
    EXPECT_EQ(p.ChartCanvas().ClipDepth(), 0) << "the clip is removed";
}

TEST(LumPanelFace, EmptyTilePictureDrawsNothing)
{
    TDraw3D p(nullptr);
    MakeFlat(p, clYellow);
    const TBitmap empty;
    p.BackImage().SetGraphic(&empty);
    p.SetBackImageMode(pbmTile);
    EXPECT_EQ(Render(p)->PixelRGB(30, 20), clYellow);
}

TEST(LumPanelFace, XorZoomBandOnTheRealControlErasesItself)
{
    QWidget window;
    window.resize(200, 150);
    TDraw3D p(nullptr);
    p.SetParentWidget(&window);
    p.SetBounds(0, 0, 200, 150);
    p.SetColor(clTeal);
    window.show();
    Application->ProcessMessages();
    ASSERT_FALSE(p.PaintPending());
    const QImage before = p.Widget()->grab().toImage();
    const TColor inside = p.Canvas().GetPixel(100, 75);
    EXPECT_EQ(inside, ColorToRGB(clTeal));

    p.Zoom().StartAt(20, 30);
    p.Zoom().X1 = 120;
    p.Zoom().Y1 = 90;
    p.DrawZoomRectangle();
    Application->ProcessMessages();
    const QImage during = p.Widget()->grab().toImage();
    EXPECT_NE(p.Canvas().GetPixel(20, 60), ColorToRGB(clTeal)) << "the band is drawn";
    EXPECT_NE(during.pixel(20, 60), before.pixel(20, 60)) << "and shown, an event-loop turn later";
    EXPECT_EQ(p.Canvas().GetPixel(70, 60), ColorToRGB(clTeal)) << "a clear brush leaves the inside";

    p.DrawZoomRectangle();
    Application->ProcessMessages();
    EXPECT_EQ(p.Widget()->grab().toImage(), before) << "drawn twice, the band is gone";
    EXPECT_EQ(p.Canvas().Pen().Mode(), pmCopy) << "the canvas pen's mode is restored";
    EXPECT_EQ(p.Zoom().Pen().Mode(), pmCopy);

    // A filled band erases itself too.
    p.Zoom().Brush().SetStyle(bsSolid);
    p.Zoom().Brush().SetColor(clRed);
    p.DrawZoomRectangle();
    Application->ProcessMessages();
    EXPECT_NE(p.Canvas().GetPixel(70, 60), ColorToRGB(clTeal));
    p.DrawZoomRectangle();
    Application->ProcessMessages();
    EXPECT_EQ(p.Widget()->grab().toImage(), before);
    p.SetParentWidget(nullptr);
}

TEST(LumZoomState, CornersAndSettings)
{
    TZoomPanning pan;
    pan.StartAt(30, 40);
    EXPECT_TRUE(pan.Active);
    EXPECT_EQ(pan.X1, 30);
    pan.X1 = 10;
    pan.Y1 = 50;
    pan.SortCorners();
    EXPECT_EQ((std::array{pan.X0, pan.Y0, pan.X1, pan.Y1}), (std::array{10, 40, 30, 50}));

    TLumZoom z;
    EXPECT_FALSE(z.HasBrush());
    EXPECT_EQ(z.Pen().Color(), clWhite);
    EXPECT_FALSE(IsStoredProp(z.Pen(), *z.Pen().ClassInfo().FindProperty("Color"))) << "white is its default";
    EXPECT_EQ(z.Brush().Color(), clWhite);
    EXPECT_EQ(z.Brush().Style(), bsClear);
    z.SetBrush(nullptr);
    EXPECT_FALSE(z.HasBrush());

    TLumZoom source;
    source.SetAllow(false);
    source.SetAnimated(true);
    source.SetAnimatedSteps(3);
    source.SetDirection(tzdVertical);
    source.SetKeyShift({ssShift});
    source.SetMouseButton(mbRight);
    source.SetMinimumPixels(40);
    source.SetUpLeftZooms(true);
    source.Pen().SetColor(clRed);
    z.Brush();
    z.Assign(source);
    EXPECT_FALSE(z.Allow());
    EXPECT_TRUE(z.Animated());
    EXPECT_EQ(z.AnimatedSteps(), 3);
    EXPECT_EQ(z.Direction(), tzdVertical);
    EXPECT_EQ(z.KeyShift(), TShiftState{ssShift});
    EXPECT_EQ(z.MouseButton(), mbRight);
    EXPECT_EQ(z.Pen().Color(), clRed);
    EXPECT_FALSE(z.HasBrush()) << "a source without brush frees the target's";
    EXPECT_EQ(z.MinimumPixels(), 16) << "not copied";
    EXPECT_FALSE(z.UpLeftZooms()) << "not copied";
}

TEST(LumZoomState, PanelZoomUndoneAndBackImageSettings)
{
    TDraw3D p(nullptr);
    int undone = 0;
    p.OnUndoZoom = [&](TPersistent* s) {
        EXPECT_EQ(s, &p);
        ++undone;
    };
    p.SetZoomed(true);
    p.DrawClientArea();
    ASSERT_FALSE(NeedsRedraw(p));
    p.ZoomUndone();
    EXPECT_EQ(undone, 1);
    EXPECT_FALSE(p.Zoomed());
    EXPECT_TRUE(NeedsRedraw(p));
    EXPECT_TRUE(p.ZoomAllowed());
    p.SetZoomAllowed(false);
    EXPECT_FALSE(p.Zoom().Allow());

    p.SetBackImageTransp(true);
    EXPECT_FALSE(p.BackImageTransp());
    EXPECT_FALSE(p.HasBackImageObject()) << "writing the transparency without a graphic changes nothing";
    EXPECT_EQ(p.BackImageMode(), pbmStretch);
    const TTwoColourPicture picture(4, 4);
    p.BackImage().SetGraphic(&picture);
    p.SetBackImageTransp(true);
    EXPECT_TRUE(p.BackImageTransp());

    // Settings of the back image repaint the panel.
    p.DrawClientArea();
    p.BackImage().SetTop(3);
    EXPECT_TRUE(NeedsRedraw(p));

    TDraw3D copy(nullptr);
    copy.Gradient().SetVisible(true);
    copy.SetAllowPanning(pmNone);
    copy.Assign(p);
    EXPECT_FALSE(copy.HasGradient()) << "a source without gradient frees the target's";
    EXPECT_EQ(copy.AllowPanning(), pmBoth);
    ASSERT_TRUE(copy.HasBackImage());
    EXPECT_EQ(copy.BackImage().Top(), 3);
    EXPECT_FALSE(copy.Zoom().Allow());
    copy.SetBackImage(nullptr);
    EXPECT_FALSE(copy.HasBackImageObject());
}

TEST(LumZoomState, OldStreamNamesAndPrintMargins)
{
    TDraw3D p(nullptr);
    const TClassInfo& info = p.ClassInfo();
    info.FindDefinedProperty("AllowZoom")->ReadValue(p, std::int64_t{0});
    info.FindDefinedProperty("AnimatedZoom")->ReadValue(p, std::int64_t{1});
    info.FindDefinedProperty("AnimatedZoomSteps")->ReadValue(p, std::int64_t{5});
    EXPECT_FALSE(p.Zoom().Allow());
    EXPECT_TRUE(p.Zoom().Animated());
    EXPECT_EQ(p.Zoom().AnimatedSteps(), 5);
    for (const char* old : {"AllowZoom", "AnimatedZoom", "AnimatedZoomSteps", "BorderStyle"})
        EXPECT_FALSE(info.FindDefinedProperty(old)->IsWritten(p)) << old << " is read, never written";

    info.FindDefinedProperty("BorderStyle")->ReadValue(p, std::string("bsSingle"));
    EXPECT_TRUE(p.Border().Visible());
    info.FindDefinedProperty("BorderStyle")->ReadValue(p, std::string("bsNone"));
    EXPECT_FALSE(p.Border().Visible());

    const TDefinedProperty& margins = *info.FindDefinedProperty("PrintMargins");
    EXPECT_FALSE(margins.IsWritten(p)) << "all 15: not written";
    p.SetPrintMargins({15, 15, 15, 10});
    ASSERT_TRUE(margins.IsWritten(p));
    TMemoryStream stream;
    margins.WriteData(p, stream);
    EXPECT_EQ(stream.Size(), 16);
    stream.SetPosition(0);
    TDraw3D q(nullptr);
    margins.ReadData(q, stream);
    EXPECT_EQ(q.PrintMargins(), (TRect{15, 15, 15, 10}));
}

TEST(LumPanelFace, RoundBorderShapesTheWindow)
{
    TDraw3D orphan(nullptr);
    orphan.SetBorderRound(20);
    EXPECT_FALSE(orphan.HasWindowRegion()) << "no region without a parent window";

    QWidget window;
    TDraw3D p(nullptr);
    p.SetParentWidget(&window);
    p.SetBorderRound(20);
    EXPECT_TRUE(p.HasWindowRegion());
    EXPECT_FALSE(p.Widget()->mask().contains(QPoint(0, 0))) << "the corner is cut off";
    EXPECT_TRUE(p.Widget()->mask().contains(QPoint(200, 125)));
    p.SetBounds(0, 0, 100, 100);
    EXPECT_TRUE(p.Widget()->mask().contains(QPoint(90, 50))) << "the region follows a resize";
    EXPECT_FALSE(p.Widget()->mask().contains(QPoint(150, 50)));
    p.SetBorderRound(0);
    EXPECT_FALSE(p.HasWindowRegion());

    // The face draws a rounded frame inside the region.
    p.SetBorderRound(20);
    p.SetBevelOuter(bvNone);
    p.SetColor(clRed);
    p.Border().SetVisible(true);
    const auto b = Render(p);
    EXPECT_EQ(b->PixelRGB(50, 0), clBlack) << "the border pen along the top";
    EXPECT_EQ(b->PixelRGB(50, 50), clRed);
    p.SetParentWidget(nullptr);
}
