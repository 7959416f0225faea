// The image bar, image point and delta point series on a real chart: pictures stretched into bars, tiled
// from the bottom or (for a negative bar) from the top, one clipped tile in a short bar, a plain bar
// without a picture; an image point drawn pixel for pixel and stretched after a size change; delta
// pictures by the values' changes; the built-in pictures' names and sizes; degenerate points.
#include "chart/extras/ImaPoint.h"
#include "chart/extras/ImageBar.h"

#include "ExtrasTestSupport.h"

#include "platform/graphics/ResourceStore.h"

#include <gtest/gtest.h>

namespace {

// A picture W x H whose upper half is red and lower half blue.
void TwoBands(TPicture& P, int W, int H)
{
    TBitmap& b = P.Bitmap();
    b.SetSize(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) b.SetPixelRGB(x, y, y < H / 2 ? clRed : clBlue);
}

// One image bar of Value on axes -0.5..0.5 and Y0..Y1, without a pen; the bar's rectangle after drawing.
struct TImageBarChart : TRenderChart {
    TImageBarSeries& Bars;
    TImageBarChart(double Value, double Y0 = 0, double Y1 = 10) : TRenderChart(-0.5, 0.5, Y0, Y1), Bars(Add<TImageBarSeries>())
    {
        Bars.SetSeriesColor(clLime);
        Bars.BarPen().SetVisible(false);
        Bars.InsertPoint(0, Value);
    }
};

} // namespace

TEST(ImageBarSeries, PictureStretchedIntoTheBar)
{
    TImageBarChart c(5); // from y 320 up to 170
    TwoBands(c.Bars.Image(), 10, 10);
    const auto b = c.Render();
    KeepShot(*b, "image-bar-stretched");
    const int x = (c.Bars.BarBounds().Left + c.Bars.BarBounds().Right) / 2;
    EXPECT_EQ(b->PixelRGB(x, 180), clRed);
    EXPECT_EQ(b->PixelRGB(x, 240), clRed);
    EXPECT_EQ(b->PixelRGB(x, 250), clBlue);
    EXPECT_EQ(b->PixelRGB(x, 315), clBlue);
}

TEST(ImageBarSeries, TilesFromTheBottomOrFromTheTopOfANegativeBar)
{
    struct Case {
        double value, y0, y1;
        bool fromTop;
    };
    for (const Case k : {Case{5, 0, 10, false}, Case{-5, -10, 0, true}}) {
        TImageBarChart c(k.value, k.y0, k.y1);
        TwoBands(c.Bars.Image(), 10, 10);
        c.Bars.SetImageTiled(true);
        const auto b = c.Render();
        KeepShot(*b, k.fromTop ? "image-bar-tiled-down" : "image-bar-tiled");
        const TRect& r = c.Bars.BarBounds();
        const int x = r.Left + 3;
        // The bar spans pixels 170 .. 320 (positive) or 20 .. 170 (negative).
        const int top = k.fromTop ? 20 : 170, bottom = k.fromTop ? 170 : 320;
        if (k.fromTop) {
            EXPECT_EQ(b->PixelRGB(x, top + 2), clRed);
            EXPECT_EQ(b->PixelRGB(x, top + 7), clBlue);
            EXPECT_EQ(b->PixelRGB(x, top + 12), clRed);
        } else {
            EXPECT_EQ(b->PixelRGB(x, bottom - 2), clBlue);
            EXPECT_EQ(b->PixelRGB(x, bottom - 7), clRed);
            EXPECT_EQ(b->PixelRGB(x, bottom - 12), clBlue);
        }
        // Tiles stand side by side along a row: the next tile to the right starts again at its left edge.
        EXPECT_EQ(b->PixelRGB(x + 10, k.fromTop ? top + 2 : bottom - 7), clRed);
    }
}

TEST(ImageBarSeries, AShortBarShowsOneClippedTileAndNoPictureAPlainBar)
{
    TImageBarChart c(0.2); // 6 pixels: 314 .. 320
    TwoBands(c.Bars.Image(), 10, 10);
    c.Bars.SetImageTiled(true);
    const auto b = c.Render();
    const int x = c.Bars.BarBounds().Left + 3;
    EXPECT_EQ(b->PixelRGB(x, 314), clRed) << "row 4 of the tile";
    EXPECT_EQ(b->PixelRGB(x, 317), clBlue);
    EXPECT_NE(b->PixelRGB(x, 310), clRed) << "nothing above the bar";

    TImageBarChart plain(5);
    plain.Bars.Image().Clear();
    const auto p = plain.Render();
    const int px = (plain.Bars.BarBounds().Left + plain.Bars.BarBounds().Right) / 2;
    EXPECT_EQ(p->PixelRGB(px, 240), clLime);
}

TEST(ImageBarSeries, DefaultPictureAndSettings)
{
    TImageBarSeries s(nullptr);
    EXPECT_EQ(s.Image().Width(), 100);
    EXPECT_EQ(s.Image().Height(), 88);
    EXPECT_FALSE(s.ImageTiled());
    EXPECT_FALSE(Stored(s, "ImageTiled"));
    s.SetImageTiled(true);
    EXPECT_TRUE(Stored(s, "ImageTiled"));
    EXPECT_EQ(s.EditorFormName(), "TImageBarSeriesEditor");
    TRenderChart c;
    c.Chart.SetView3D(true);
    auto& g = c.Add<TImageBarSeries>();
    g.PrepareForGallery(true);
    EXPECT_TRUE(c.Chart.View3DOptions().Orthogonal());
    EXPECT_EQ(g.PointCount(), 2);
    const auto b = c.Render();
    KeepShot(*b, "image-bar-gallery");
}

TEST(BuiltInPictures, NamesSizesAndFormat)
{
    struct Row {
        const char* name;
        int w, h;
    };
    for (const Row r : {Row{"LumMoney", 100, 88}, Row{"LumDefaultImage", 8, 8}, Row{"LumEqualSmile", 16, 16},
                        Row{"LumGreaterSmile", 16, 16}, Row{"LumLowerSmile", 16, 16}, Row{"LumEqualHand", 16, 16},
                        Row{"LumGreaterHand", 16, 16}, Row{"LumLowerHand", 16, 16}}) {
        TBitmap b;
        ASSERT_TRUE(LoadBitmapResource(r.name, b)) << r.name;
        EXPECT_EQ(b.Width(), r.w) << r.name;
        EXPECT_EQ(b.Height(), r.h) << r.name;
        EXPECT_EQ(b.PixelFormat(), pf4bit) << r.name;
    }
}

TEST(ImagePointSeries, DrawnPixelForPixelAndStretchedAfterASizeChange)
{
    TRenderChart c;
    auto& s = c.Add<TImagePointSeries>();
    s.SetImageTransparent(false);
    TPicture p;
    TBitmap& bm = p.Bitmap();
    bm.SetSize(4, 4);
    const TColor colors[] = {clRed, clLime, clBlue, clYellow};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) bm.SetPixelRGB(x, y, colors[(x + y) % 4]);
    s.SetImagePoint(p);
    EXPECT_EQ(s.Pointer().HorizSize(), 4);
    EXPECT_EQ(s.Pointer().VertSize(), 4);
    s.InsertPoint(5, 5); // (240, 170): the picture from (238, 168)
    auto b = c.Render();
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(b->PixelRGB(238 + x, 168 + y), colors[(x + y) % 4]) << x << "," << y;
    s.Pointer().SetHorizSize(8);
    b = c.Render();
    // Stretched twice as wide from x = 236: each picture column covers two pixels.
    for (int x = 0; x < 8; ++x) EXPECT_EQ(b->PixelRGB(236 + x, 168), colors[(x / 2) % 4]) << x;

    TImagePointSeries d(nullptr);
    EXPECT_EQ(d.ImagePoint().Width(), 8);
    EXPECT_EQ(d.Pointer().HorizSize(), 8);
    EXPECT_TRUE(d.ImageTransparent());
    EXPECT_FALSE(Stored(d, "ImageTransparent"));
    TImagePointSeries withPicture(nullptr, p);
    EXPECT_EQ(withPicture.Pointer().VertSize(), 4);
    int asked = 0;
    s.OnGetImage = [&](TCustomImagePointSeries*, int, TPicture&) { ++asked; };
    c.Render();
    EXPECT_EQ(asked, 1);
}

TEST(DeltaPointSeries, PicturesByTheValuesChange)
{
    TRenderChart c;
    auto& s = c.Add<TDeltaPointSeries>();
    for (const double v : {1.0, 3.0, 3.0, 2.0}) s.AppendValue(v);
    EXPECT_EQ(&s.PictureFor(0), &s.EqualImage());
    EXPECT_EQ(&s.PictureFor(1), &s.GreaterImage());
    EXPECT_EQ(&s.PictureFor(2), &s.EqualImage());
    EXPECT_EQ(&s.PictureFor(3), &s.LowerImage());
    const auto b = c.Render();
    KeepShot(*b, "delta-points");
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(AnyNear(*b, c.X(i), c.Y(s.YValueAt(i)), clYellow, 4)) << "a smile at point " << i;
    EXPECT_FALSE(s.ImageTransparent());
    EXPECT_EQ(s.ImageStyle(), disSmiles);

    TPicture own;
    TwoBands(own, 6, 6);
    s.SetGreaterImage(own);
    EXPECT_EQ(s.GreaterImage().Width(), 6);
    s.SetImageStyle(disHands);
    EXPECT_EQ(s.GreaterImage().Width(), 16) << "the style's pictures replace the user's";
    const auto h = c.Render();
    KeepShot(*h, "delta-hands");
    EXPECT_TRUE(AnyNear(*h, c.X(1), c.Y(3), clGreen, 4));
    EXPECT_TRUE(AnyNear(*h, c.X(3), c.Y(2), clRed, 4));
}

TEST(ImageSeries, DegeneratePoints)
{
    const std::vector<std::vector<double>> sets{{}, {5}, {3, 3, 3}, {NaN, 1}, {1e300, -1e300}};
    for (const auto& values : sets)
        for (const bool is3D : {false, true}) {
            TRenderChart c;
            c.Chart.SetView3D(is3D);
            auto& ib = c.Add<TImageBarSeries>();
            ib.SetImageTiled(values.size() % 2 == 1);
            auto& ip = c.Add<TImagePointSeries>();
            auto& dp = c.Add<TDeltaPointSeries>();
            for (double v : values) {
                ib.AppendValue(v);
                ip.AppendValue(v);
                dp.AppendValue(v);
            }
            EXPECT_NO_THROW(c.Render()) << values.size();
            for (TChartSeries* s : std::initializer_list<TChartSeries*>{&ib, &ip, &dp}) EXPECT_NO_THROW(s->PointAtPixel(240, 170));
        }
}
