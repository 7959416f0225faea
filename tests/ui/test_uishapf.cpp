// Bitmap regions (colour windows, no and all pixels transparent, long rows, batches) and the shape control
// that fits, cuts and drags its form.
#include "ui/uishapf.h"

#include "UiTestSupport.h"

#include "platform/controls/Forms.h"
#include "platform/controls/TopLevel.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace {

// A picture of the given size filled with a background, with pixels set by the caller.
std::unique_ptr<TBitmap> Picture(int w, int h, TColor background, TPixelFormat format = pf24bit)
{
    auto b = std::make_unique<TBitmap>(w, h, format);
    b->Canvas().Brush().SetColor(background);
    b->Canvas().FillRect({0, 0, w, h});
    return b;
}

int Sum(const std::vector<int>& v)
{
    int s = 0;
    for (int x : v) s += x;
    return s;
}

} // namespace

TEST(BitmapToRegion, ColourWindowsAroundTheTransparentColour)
{
    struct Case {
        const char* name;
        TColor key, tolerance, probe;
        bool cut;
    };
    const Case cases[] = {
        {"green key, clGreen: any green with red and blue 0", clGreen, clGreen, RGB(0, 255, 0), true},
        {"green key, clGreen: black too", clGreen, clGreen, RGB(0, 0, 0), true},
        {"green key, clGreen: a red of 1 stays", clGreen, clGreen, RGB(1, 128, 0), false},
        {"green key, clGreen: a blue of 1 stays", clGreen, clGreen, RGB(0, 128, 1), false},
        {"white, default tolerance: 239 is cut", clWhite, 0x101010, RGB(239, 250, 255), true},
        {"white, default tolerance: 238 stays", clWhite, 0x101010, RGB(238, 255, 255), false},
        {"channel 5 with 16: up to 32", RGB(5, 5, 5), 0x101010, RGB(32, 0, 32), true},
        {"channel 5 with 16: 33 stays", RGB(5, 5, 5), 0x101010, RGB(33, 0, 0), false},
        {"no tolerance: only the colour itself", RGB(10, 20, 30), 0, RGB(10, 20, 31), false},
    };
    for (const Case& c : cases) {
        auto b = Picture(4, 3, c.key);
        b->SetPixelRGB(1, 1, c.probe);
        b->SetPixelRGB(3, 0, RGB(200, 100, 50));   // one pixel that is always opaque
        const auto region = BitmapToRegion(b.get(), c.tolerance, {0, 0});
        ASSERT_NE(region, nullptr) << c.name;
        EXPECT_EQ(region->Contains(1, 1), !c.cut) << c.name;
        EXPECT_TRUE(region->Contains(3, 0)) << c.name;
        EXPECT_FALSE(region->Contains(0, 0)) << c.name;
    }
    // Every pixel of a wide picture, whose rows are tested many pixels at a time, against the windows:
    // channels scattered round the key's window edges, for a key in the middle and keys near both ends,
    // in the pixel formats read in place and in one read through a copy.
    struct Key {
        TColor key, tolerance;
        TPixelFormat format;
    };
    const Key keys[] = {{RGB(100, 150, 200), RGB(16, 3, 40), pf32bit}, {RGB(5, 250, 0), 0x101010, pf32bit},
                        {clWhite, 0, pf32bit},                          {RGB(100, 150, 200), RGB(16, 3, 40), pf24bit},
                        {RGB(5, 250, 0), 0x101010, pf24bit},            {RGB(96, 152, 200), RGB(16, 8, 40), pf16bit}};
    for (const Key& k : keys) {
        const int w = 83, h = 7;   // not a multiple of the pixels tested at a time
        auto b = Picture(w, h, k.key, k.format);
        std::uint32_t seed = 12345;
        const auto near = [&](int centre, int spread) {
            seed = seed * 1103515245u + 12345u;
            return std::clamp(centre + static_cast<int>((seed >> 16) % (2 * spread + 3)) - spread - 1, 0, 255);
        };
        const TColor tol = k.tolerance;
        for (int y = 0; y < h - 1; ++y)
            for (int x = 0; x < w; ++x)
                b->SetPixelRGB(x, y, RGB(near(GetRValue(k.key), GetRValue(tol)), near(GetGValue(k.key), GetGValue(tol)),
                                         near(GetBValue(k.key), GetBValue(tol))));
        b->SetPixelRGB(w - 1, h - 1, clBlack);
        const auto inWindow = [](int v, int key, int t) {
            const int low = std::clamp(key - t, 0, 255);
            return v >= low && v <= std::clamp(low + 2 * t, 0, 255);
        };
        const auto region = BitmapToRegion(b.get(), tol, {0, 0});
        ASSERT_NE(region, nullptr);
        const TColor key = b->PixelRGB(0, h - 1);   // as the format stores it
        int mismatches = 0, cut = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const TColor p = b->PixelRGB(x, y);
                const bool transparent = inWindow(GetRValue(p), GetRValue(key), GetRValue(tol)) &&
                                         inWindow(GetGValue(p), GetGValue(key), GetGValue(tol)) &&
                                         inWindow(GetBValue(p), GetBValue(key), GetBValue(tol));
                mismatches += region->Contains(x, y) == transparent;
                cut += transparent && y < h - 1;
            }
        EXPECT_EQ(mismatches, 0) << std::hex << k.key << " format " << k.format;
        EXPECT_GT(cut, w / 2) << "both kinds of pixel occur";
        EXPECT_LT(cut, w * (h - 1));
    }
    // A monochrome picture's transparent colour is white, whatever its bottom-left pixel.
    auto mono = Picture(3, 2, clWhite);
    mono->SetPixelRGB(0, 1, clBlack);
    mono->SetMonochrome(true);
    const auto region = BitmapToRegion(mono.get(), 0, {0, 0});
    ASSERT_NE(region, nullptr);
    EXPECT_TRUE(region->Contains(0, 1));
    EXPECT_FALSE(region->Contains(1, 1));
}

TEST(BitmapToRegion, RowsRunsAndBatches)
{
    // Nothing transparent: one full-width run per row.
    auto solid = Picture(30, 20, clRed);
    solid->SetPixelRGB(0, 19, clBlue);
    std::vector<int> batches;
    auto region = BitmapToRegion(solid.get(), 0x101010, {0, 0}, &batches);
    ASSERT_NE(region, nullptr);
    EXPECT_EQ(Sum(batches), 20);
    EXPECT_EQ(region->Bounds(), (TRect{0, 0, 30, 20}));
    EXPECT_FALSE(region->Contains(0, 19)) << "the key pixel itself is transparent";
    EXPECT_TRUE(region->Contains(1, 19));
    // Everything transparent: no region.
    EXPECT_EQ(BitmapToRegion(Picture(30, 20, clWhite).get(), 0x101010, {0, 0}), nullptr);
    EXPECT_EQ(BitmapToRegion(nullptr, 0, {0, 0}), nullptr);
    TBitmap empty;
    EXPECT_EQ(BitmapToRegion(&empty, 0, {0, 0}), nullptr);
    // 1000 pairs of an opaque and a transparent pixel in a row: 1000 rectangles.
    auto pairs = Picture(2000, 2, clWhite);
    for (int x = 0; x < 2000; x += 2) pairs->SetPixelRGB(x, 0, clBlack);
    batches.clear();
    region = BitmapToRegion(pairs.get(), 0x101010, {0, 0}, &batches);
    EXPECT_EQ(batches, std::vector<int>{1000});
    EXPECT_TRUE(region->Contains(1998, 0));
    EXPECT_FALSE(region->Contains(1999, 0));
    // 4500 rectangles: three batches of 2000, 2000 and 500 merged into one region.
    auto many = Picture(20, 451, clWhite);
    for (int y = 0; y < 450; ++y)
        for (int x = 0; x < 20; x += 2) many->SetPixelRGB(x, y, clBlack);
    batches.clear();
    region = BitmapToRegion(many.get(), 0x101010, {0, 0}, &batches);
    EXPECT_EQ(batches, (std::vector<int>{2000, 2000, 500}));
    for (int y : {0, 199, 200, 449})
        for (int x = 0; x < 20; ++x) EXPECT_EQ(region->Contains(x, y), x % 2 == 0) << x << "," << y;
    EXPECT_FALSE(region->Contains(0, 450));
    // The offset moves every rectangle.
    region = BitmapToRegion(solid.get(), 0x101010, {5, -2});
    EXPECT_EQ(region->Bounds(), (TRect{5, -2, 35, 18}));
}

namespace {

// A form with a picture of a green outline (key colour) and a red body.
struct TShapedForm {
    TForm Form;
    std::unique_ptr<TuiShapeForm> Shape;
    std::unique_ptr<TBitmap> Image = Picture(120, 80, clGreen);

    TShapedForm()
    {
        Image->Canvas().Brush().SetColor(clRed);
        Image->Canvas().Ellipse(0, 0, 120, 80);
        Form.setGeometry(100, 100, 300, 200);
        Shape = std::make_unique<TuiShapeForm>(&Form);
        Shape->BeginLoading();
        Shape->SetTolerance(clGreen);
        TPicture p;
        p.SetGraphic(Image.get());
        Shape->SetPicture(p);
        Shape->Loaded();
    }
};

} // namespace

TEST(uiShapeForm, FitsShapesAndRestoresItsForm)
{
    Pump(1);
    try {
        TuiShapeForm orphan(nullptr);
        FAIL();
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), "This component must be owned by a TForm");
    }
    TShapedForm f;
    EXPECT_EQ(f.Form.width(), 120);
    EXPECT_EQ(f.Form.height(), 80);
    EXPECT_EQ(f.Shape->Width(), 120);
    ASSERT_TRUE(WindowHasRegion(&f.Form));
    EXPECT_TRUE(f.Form.mask().contains(QPoint(60, 40)));
    EXPECT_FALSE(f.Form.mask().contains(QPoint(1, 1))) << "the green corner is cut out";
    // Disabled: the whole rectangle again; enabled: cut again.
    f.Shape->SetEnabled(false);
    EXPECT_FALSE(WindowHasRegion(&f.Form));
    f.Shape->SetEnabled(true);
    EXPECT_TRUE(WindowHasRegion(&f.Form));
    // A new picture re-fits and re-cuts.
    auto square = Picture(50, 40, clGreen);
    square->Canvas().Brush().SetColor(clBlue);
    square->Canvas().FillRect({10, 10, 40, 30});
    TPicture p;
    p.SetGraphic(square.get());
    f.Shape->SetPicture(p);
    EXPECT_EQ(f.Form.width(), 50);
    EXPECT_EQ(WindowRegionRects(&f.Form), (std::vector<TRect>{{10, 10, 40, 30}}));
    // While loading nothing is cut.
    TForm other;
    TuiShapeForm loading(&other);
    loading.BeginLoading();
    loading.ApplyRegion(true);
    EXPECT_FALSE(WindowHasRegion(&other));
}

TEST(uiShapeForm, DraggingByThePictureOrByAControl)
{
    TShapedForm f;
    f.Form.show();
    Pump();
    QWidget* surface = f.Shape->Widget();
    const auto drag = [&](QPoint from, QPoint to) {
        const QPoint start = f.Form.pos();
        SendMouse(surface, QEvent::MouseButtonPress, from);
        SendMouse(surface, QEvent::MouseMove, to);
        SendMouse(surface, QEvent::MouseButtonRelease, to);
        return f.Form.pos() - start;
    };
    EXPECT_TRUE(f.Shape->Hooked());
    EXPECT_EQ(drag({60, 40}, {70, 45}), QPoint(0, 0)) << "neither switch: no drag";
    f.Shape->SetDragAnywhere(true);
    EXPECT_EQ(drag({60, 40}, {70, 45}), QPoint(10, 5));
    // A drag control limits the caption to its bounds and turns DragAnywhere off.
    TCustomControl handle(nullptr);
    handle.SetBounds(0, 0, 40, 20);
    f.Shape->SetDragControl(&handle);
    EXPECT_FALSE(f.Shape->DragAnywhere());
    EXPECT_EQ(drag({10, 10}, {20, 30}), QPoint(10, 20));
    EXPECT_EQ(drag({60, 40}, {70, 45}), QPoint(0, 0));
    f.Shape->SetDragAnywhere(true);
    EXPECT_EQ(drag({60, 40}, {61, 41}), QPoint(1, 1)) << "DragAnywhere set afterwards: the whole form";
    f.Shape->SetDragControl(&handle);
    EXPECT_FALSE(f.Shape->DragAnywhere());
    // Copying takes the switches, the tolerance and the picture.
    TForm other;
    TuiShapeForm copy(&other);
    f.Shape->SetDragControl(nullptr);
    f.Shape->SetDragAnywhere(true);
    copy.Assign(*f.Shape);
    EXPECT_TRUE(copy.DragAnywhere());
    EXPECT_EQ(copy.Tolerance(), clGreen);
    EXPECT_EQ(other.width(), 120);
}
