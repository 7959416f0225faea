// The bordered label: its text rectangle read back from the recording canvas, the 3-D frame and its
// corners in the parent's colour, vertical centring and collapsed margins; and the bitmap helpers.
#include "ui/uiexctl.h"

#include "UiTestSupport.h"

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/RecordingBackend.h"

#include <gtest/gtest.h>

namespace {

// The label as the setup dialogs have it: a sunken single border, text 2 pixels down, centred vertically.
void DialogLook(TuiSuperLabel& l, int w = 120, int h = 33)
{
    l.SetBounds(0, 0, w, h);
    l.SetBorderStyle(bsSingle);
    l.SetVerticalAlignment(vaCenter);
    l.SetTopMargin(2);
    l.SetCaption(" Start resistivity");
}

struct Recorded {
    std::shared_ptr<TRecordingBackend> Backend = std::make_shared<TRecordingBackend>(400, 200);
    TCanvas Canvas{Backend};
    const TRecordingBackend::TRecord& Text() const { return *Backend->OfKind("TextOut").at(0); }
};

} // namespace

TEST(uiSuperLabel, TextRectangleInsideTheSunkenBorder)
{
    struct Case {
        const char* name;
        TBorderStyle border;
        bool ctl3d;
        int top, left, right, bottom;
        TRect expected;   // for 120 x 33
    };
    const Case cases[] = {
        {"dialog look", bsSingle, true, 2, 0, 0, 0, {2, 4, 118, 31}},
        {"flat border", bsSingle, false, 2, 0, 0, 0, {1, 3, 119, 32}},
        {"no border", bsNone, true, 2, 0, 0, 0, {0, 2, 120, 33}},
        {"all margins", bsSingle, true, 3, 4, 5, 6, {6, 5, 113, 25}},
        {"margins wider than the label", bsNone, true, 0, 100, 30, 0, {100, 0, 100, 33}},
        {"margins taller than the label", bsSingle, true, 20, 0, 0, 20, {2, 22, 118, 22}},
    };
    for (const Case& c : cases) {
        TuiSuperLabel l(nullptr);
        l.SetBounds(0, 0, 120, 33);
        l.SetBorderStyle(c.border);
        l.SetCtl3D(c.ctl3d);
        l.SetTopMargin(c.top);
        l.SetLeftMargin(c.left);
        l.SetRightMargin(c.right);
        l.SetBottomMargin(c.bottom);
        EXPECT_EQ(l.TextRectangle(), c.expected) << c.name;
    }
    TuiSuperLabel l(nullptr);
    EXPECT_THROW(l.SetTopMargin(256), ERangeError);
    EXPECT_THROW(l.SetLeftMargin(-1), ERangeError);
}

TEST(uiSuperLabel, DrawsTheTextClippedToItsRectangleAndCentred)
{
    Recorded rec;
    TuiSuperLabel l(nullptr);
    DialogLook(l, 120, 33);
    l.SetVerticalAlignment(vaTop);
    l.PaintTo(rec.Canvas);
    const auto& t = rec.Text();
    EXPECT_EQ(t.Text, " Start resistivity");
    EXPECT_TRUE(t.HasClip);
    EXPECT_EQ(t.ClipBox, (TRect{2, 4, 118, 31})) << "(2, 4, W - 2, H - 2)";
    EXPECT_EQ(t.Args[0], 2);
    EXPECT_EQ(t.Args[1], 4);
    // Centred: one 11-pixel line in 4..31 gives h = 12 and dy = (31 - (4 + 11)) / 2 = 8; the text stays
    // inside the label's text rectangle.
    Recorded centred;
    l.SetVerticalAlignment(vaCenter);
    l.PaintTo(centred.Canvas);
    EXPECT_EQ(centred.Text().Args[1], 4 + 8);
    EXPECT_EQ(centred.Text().ClipBox, (TRect{2, 12, 118, 31}));

    struct Case {
        TuiVAlignment v;
        TAlignment h;
        int x, y;
    };
    const int width = static_cast<int>(l.Caption().size()) * 5;
    for (const Case& c : {Case{vaTop, taLeftJustify, 2, 4}, Case{vaBottom, taLeftJustify, 2, 4 + 16},
                          Case{vaCenter, taRightJustify, 118 - width, 12}, Case{vaCenter, taCenter, 2 + (116 - width) / 2, 12}}) {
        Recorded r;
        l.SetVerticalAlignment(c.v);
        l.SetAlignment(c.h);
        l.PaintTo(r.Canvas);
        EXPECT_EQ(r.Text().Args[0], c.x) << c.v << c.h;
        EXPECT_EQ(r.Text().Args[1], c.y) << c.v << c.h;
    }
    // An empty caption is centred as one line; "&" stands as it is without accelerators.
    Recorded empty;
    l.SetCaption("");
    l.SetVerticalAlignment(vaCenter);
    l.PaintTo(empty.Canvas);
    EXPECT_TRUE(empty.Backend->OfKind("TextOut").empty());
    Recorded amp;
    l.SetCaption("A & B");
    l.SetShowAccelChar(false);
    l.PaintTo(amp.Canvas);
    EXPECT_EQ(amp.Text().Text, "A & B");
    EXPECT_EQ(amp.Text().Args[1], 12);
}

TEST(uiSuperLabel, FrameAndCornersInTheParentsColour)
{
    THost host;
    TCustomPanel parent(nullptr);
    parent.SetColor(clRed);
    host.Put(parent, 0, 0, 300, 100);
    TuiSuperLabel l(nullptr);
    l.SetParent(&parent);
    DialogLook(l, 120, 33);
    l.SetLeft(10);
    l.SetTop(10);
    host.Show();
    const TCanvas& c = l.Canvas();
    EXPECT_EQ(c.GetPixel(119, 0), clRed) << "top-right corner";
    EXPECT_EQ(c.GetPixel(0, 32), clRed) << "bottom-left corner";
    EXPECT_EQ(c.GetPixel(50, 0), Rgb(clBtnShadow));
    EXPECT_EQ(c.GetPixel(0, 16), Rgb(clBtnShadow));
    EXPECT_EQ(c.GetPixel(1, 16), Rgb(clBtnHighlight));
    EXPECT_EQ(c.GetPixel(50, 1), Rgb(clBtnHighlight));
    EXPECT_EQ(c.GetPixel(119, 16), Rgb(clBtnHighlight));
    EXPECT_EQ(c.GetPixel(50, 32), Rgb(clBtnHighlight));
    EXPECT_EQ(c.GetPixel(118, 16), Rgb(clBtnShadow));
    EXPECT_EQ(c.GetPixel(60, 6), Rgb(clBtnFace));
    // A single flat border in BorderColor, and a disabled label's grey text.
    l.SetCtl3D(false);
    l.SetBorderColor(clBlue);
    l.Repaint();
    EXPECT_EQ(c.GetPixel(119, 0), clBlue);
    EXPECT_EQ(c.GetPixel(0, 32), clBlue);
    l.Font().SetQuality(fqNonAntialiased);
    l.SetEnabled(false);
    l.Repaint();
    EXPECT_GT(CountPixels(c, l.TextRectangle(), Rgb(clGrayText)), 0);
}

TEST(uiHelpers, GrayscaleAndMask)
{
    TBitmap b(3, 1);
    b.SetPixelRGB(0, 0, RGB(200, 10, 20));
    b.SetPixelRGB(1, 0, RGB(5, 250, 250));
    b.SetPixelRGB(2, 0, clSilver);
    MakeGrayscale(b);
    EXPECT_EQ(b.PixelRGB(0, 0), RGB(200, 200, 200));
    EXPECT_EQ(b.PixelRGB(1, 0), RGB(5, 5, 5));

    TBitmap source(4, 1);
    source.SetPixelRGB(0, 0, clWhite);
    source.SetPixelRGB(1, 0, clSilver);
    source.SetPixelRGB(2, 0, clRed);
    source.SetPixelRGB(3, 0, Rgb(clBtnFace));
    const TColor colours[] = {clWhite, clBtnFace};
    TBitmap mask;
    MakeMaskBitmap(mask, source, {0, 0, 4, 1}, 1, colours, {4, 1});
    EXPECT_TRUE(mask.Monochrome());
    EXPECT_EQ(mask.PixelRGB(0, 0), clWhite);
    EXPECT_EQ(mask.PixelRGB(1, 0), clWhite) << "clBtnFace resolves to silver";
    EXPECT_EQ(mask.PixelRGB(2, 0), clBlack);
    EXPECT_EQ(mask.PixelRGB(3, 0), clWhite);
    EXPECT_EQ(IsLowColorDisplay(), ScreenBitsPerPixel() < 9);
}
