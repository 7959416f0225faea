// The recording device (what tests of the drawing code read), frame controls, clipped text, the
// resource store, pens, brushes and fonts as persistent objects, and a canvas without a device.

#include "platform/graphics/Graphics.h"

#include <gtest/gtest.h>

TEST(Recorder, KeepsCallsCoordinatesAndResolvedObjects)
{
    auto rec = std::make_shared<TRecordingBackend>(200, 100);
    TCanvas c(rec);
    c.Pen().SetColor(clBtnShadow);
    c.Pen().SetStyle(psDot);
    c.Brush().SetStyle(bsCross);
    c.Brush().SetColor(clRed);
    c.IntersectClipRect(0, 0, 50, 40);
    c.Rectangle(10, 20, 30, 40);
    c.MoveTo(1, 2);
    c.LineTo(3, 4);
    const TPoint tri[] = {{0, 0}, {5, 0}, {0, 5}};
    c.Polygon(tri, 3);
    c.FillRect({1, 1, 4, 4});
    c.SetPixel(7, 8, clBlue);
    ASSERT_EQ(rec->Records.size(), 5u);
    const auto& r = rec->Records[0];
    EXPECT_EQ(r.Kind, "Rectangle");
    EXPECT_EQ(r.Args, (std::vector<int>{10, 20, 30, 40}));
    EXPECT_EQ(r.Shape.Pen.Color, ColorToRGB(clBtnShadow));      // system colours arrive resolved
    EXPECT_EQ(r.Shape.Pen.Dashes, (std::vector<double>{3, 3}));
    EXPECT_EQ(r.Shape.Brush.Kind, TDeviceBrush::TKind::Hatch);
    EXPECT_EQ(r.Shape.Brush.Hatch, bsCross);
    EXPECT_TRUE(r.HasClip);
    EXPECT_EQ(r.ClipBox, (TRect{0, 0, 50, 40}));
    EXPECT_EQ(rec->Records[1].Kind, "LineTo");
    EXPECT_EQ(rec->Records[1].Shape.Stroke[0].Points, (std::vector<TPointF>{{1, 2}, {3, 4}}));
    EXPECT_EQ(rec->Records[2].Kind, "Polygon");
    EXPECT_EQ(rec->Records[2].Points, (std::vector<TPoint>{{0, 0}, {5, 0}, {0, 5}}));
    EXPECT_EQ(rec->Records[3].Kind, "FillRect");
    EXPECT_EQ(rec->Records[3].Shape.Rop3, PATCOPY);
    EXPECT_EQ(rec->Records[4].Kind, "SetPixel");
    EXPECT_EQ(rec->Records[4].Args, (std::vector<int>{7, 8, clBlue}));
    EXPECT_EQ(rec->OfKind("LineTo").size(), 1u);
}

TEST(Recorder, ShapesBuiltIntoAPathAreNotDrawn)
{
    auto rec = std::make_shared<TRecordingBackend>();
    TCanvas c(rec);
    c.BeginPath();
    c.Rectangle(0, 0, 10, 10);
    c.Ellipse(0, 0, 10, 10);
    c.TextOut(0, 0, "A");
    EXPECT_TRUE(c.InPath());
    c.EndPath();
    EXPECT_TRUE(rec->Records.empty());
    c.StrokePath();
    ASSERT_EQ(rec->Records.size(), 1u);
    EXPECT_EQ(rec->Records[0].Kind, "StrokePath");
    EXPECT_GE(rec->Records[0].Shape.Stroke.size(), 3u);
}

TEST(FrameControl, CheckBoxStates)
{
    auto draw = [](unsigned state) {
        auto b = std::make_unique<TBitmap>(13, 13);
        b->Canvas().Brush().SetColor(clFuchsia);
        b->Canvas().FillRect({0, 0, 13, 13});
        EXPECT_TRUE(b->Canvas().DrawFrameControl({0, 0, 13, 13}, DFC_BUTTON, state));
        return b;
    };
    const auto plain = draw(DFCS_BUTTONCHECK), checked = draw(DFCS_BUTTONCHECK | DFCS_CHECKED),
               flat = draw(DFCS_BUTTONCHECK | DFCS_FLAT), inactive = draw(DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE);
    // A sunken frame: shadow at the top left, highlight at the bottom right, window colour inside.
    EXPECT_EQ(plain->PixelRGB(0, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(plain->PixelRGB(12, 12), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(plain->PixelRGB(6, 6), ColorToRGB(clWindow));
    EXPECT_EQ(checked->PixelRGB(6, 6), ColorToRGB(clWindowText));   // the mark crosses the middle
    EXPECT_EQ(flat->PixelRGB(12, 12), ColorToRGB(clBtnShadow));
    EXPECT_EQ(inactive->PixelRGB(6, 6), ColorToRGB(clGrayText));
    EXPECT_EQ(inactive->PixelRGB(2, 10), ColorToRGB(clBtnFace));
    // The control leaves the canvas as it found it.
    TBitmap b(20, 20);
    b.Canvas().Pen().SetColor(clRed);
    b.Canvas().Brush().SetStyle(bsClear);
    b.Canvas().DrawFrameControl({0, 0, 20, 20}, DFC_BUTTON, DFCS_BUTTONCHECK);
    EXPECT_EQ(b.Canvas().Pen().Color(), clRed);
    EXPECT_EQ(b.Canvas().Brush().Style(), bsClear);
    EXPECT_FALSE(b.Canvas().DrawFrameControl({0, 0, 20, 20}, 99, 0));
}

TEST(CanvasText, TextRectClipsAndFillsItsRectangle)
{
    TBitmap b(100, 40);
    TCanvas& c = b.Canvas();
    c.Font().SetHeight(-20);
    c.Brush().SetColor(clYellow);
    c.TextRect({10, 10, 30, 30}, 12, 5, "WWWWWW");
    EXPECT_EQ(b.PixelRGB(10, 29), clYellow);
    for (int y = 0; y < 40; ++y) {
        EXPECT_EQ(b.PixelRGB(30, y), clWhite) << y;      // nothing outside the rectangle
        EXPECT_EQ(b.PixelRGB(9, y), clWhite) << y;
    }
    TRegion clip;
    EXPECT_EQ(c.GetClipRgn(clip), 0);                    // the clip is put back
}

TEST(ResourceStore, BitmapsByName)
{
    RegisterBitmapResource("BBitmapTest1", [](TBitmap& b) {
        b.SetPixelFormat(pf1bit);
        b.SetSize(8, 8);
        b.SetPixelRGB(0, 0, clBlack);
    });
    EXPECT_TRUE(HasBitmapResource("bbitmaptest1"));
    TBitmap b(3, 3);
    ASSERT_TRUE(LoadBitmapResource("BBITMAPTEST1", b));
    EXPECT_EQ(b.Width(), 8);
    EXPECT_TRUE(b.Monochrome());
    EXPECT_EQ(b.PixelRGB(0, 0), clBlack);
    UnregisterBitmapResource("BBitmapTest1");
    TBitmap c(3, 3);
    EXPECT_FALSE(LoadBitmapResource("BBitmapTest1", c));
    EXPECT_EQ(c.Width(), 3);
}

TEST(GraphicsObjects, ChangeEventsAssignAndProperties)
{
    TPen p;
    int changes = 0;
    p.OnChange = [&](TPersistent* s) {
        EXPECT_EQ(s, &p);
        ++changes;
    };
    p.SetWidth(1);                   // unchanged: no event
    p.SetColor(clRed);
    p.SetStyle(psDash);
    EXPECT_EQ(changes, 2);
    TPen q;
    q.SetWidth(3);
    q.SetGeometric(true);
    p.Assign(q);                     // many values, one event
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(p.Width(), 3);
    EXPECT_TRUE(p.Geometric());
    EXPECT_EQ(p.Color(), clBlack);
    p.Assign(q);
    EXPECT_EQ(changes, 3);
    TBrush br;
    EXPECT_THROW(p.Assign(br), EConvertError);
    // Published properties, their defaults and access by name.
    EXPECT_EQ(GetPropText(q, "Width"), "3");
    EXPECT_EQ(GetPropText(q, "Style"), "psSolid");
    SetPropText(q, "Mode", "pmNotXor");
    EXPECT_EQ(q.Mode(), pmNotXor);
    const TPropInfo* width = FindPropInfo(TPen(), "Width");
    ASSERT_NE(width, nullptr);
    EXPECT_FALSE(IsStoredProp(TPen(), *width));
    TFont f;
    EXPECT_EQ(f.Size(), 8);
    f.SetSize(12);
    EXPECT_EQ(f.Height(), -16);
    f.SetStyle({fsBold, fsItalic});
    EXPECT_EQ(GetPropText(f, "Style"), "[fsBold,fsItalic]");
    EXPECT_EQ(GetPropText(f, "Name"), "Arial");
    EXPECT_EQ(GetPropText(br, "Color"), std::to_string(clWhite));
}

TEST(Canvas, WithoutADeviceMeasuresAndDrawsNothing)
{
    TCanvas c;
    c.Font().SetHeight(-10);
    EXPECT_EQ(c.TextExtent("abc"), (TSize{15, 10}));
    c.Rectangle(0, 0, 10, 10);
    c.TextOut(0, 0, "x");
    EXPECT_EQ(c.GetPixel(0, 0), CLR_INVALID);
    EXPECT_FALSE(c.HasDevice());
}
