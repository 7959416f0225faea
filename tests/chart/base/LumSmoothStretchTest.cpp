// Smooth stretch: corners kept when enlarging, identity at equal sizes with both filters, the size
// errors, clamping of overshooting sums (one exactly at 256 x 1024), and filters wider than the source.
#include "chart/base/LumSmoothStretch.h"

#include "platform/graphics/Bitmap.h"

#include <gtest/gtest.h>

#include <random>

namespace {

void FillRandom(TBitmap& b, unsigned seed)
{
    const int w = b.Width(), h = b.Height();
    std::mt19937 random(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixelRGB(x, y, static_cast<TColor>(random() & 0xFFFFFF));
}

} // namespace

TEST(LumSmoothStretch, EnlargingKeepsTheCorners)
{
    TBitmap source(2, 2, pf24bit);
    source.SetPixelRGB(0, 0, 0x0000FF);
    source.SetPixelRGB(1, 0, 0x00FF00);
    source.SetPixelRGB(0, 1, 0xFF0000);
    source.SetPixelRGB(1, 1, 0x808080);
    for (bool fast : {false, true}) {
        TBitmap dest(4, 4, pf24bit);
        SmoothStretchWithQuality(&source, &dest, fast);
        EXPECT_EQ(dest.PixelRGB(0, 0), 0x0000FF) << fast;
        EXPECT_EQ(dest.PixelRGB(3, 0), 0x00FF00) << fast;
        EXPECT_EQ(dest.PixelRGB(0, 3), 0xFF0000) << fast;
        EXPECT_EQ(dest.PixelRGB(3, 3), 0x808080) << fast;
    }
    // Triangle filter a third of the way along: weights 683 and 341, so red 683 x 255 >> 10 = 170 and
    // green 341 x 255 >> 10 = 84.
    TBitmap dest(4, 4, pf24bit);
    SmoothStretchWithQuality(&source, &dest, true);
    EXPECT_EQ(dest.PixelRGB(1, 0), RGB(170, 84, 0));
}

TEST(LumSmoothStretch, EqualSizesReproduceTheSource)
{
    TBitmap source(7, 5, pf24bit);
    FillRandom(source, 3);
    for (bool fast : {false, true}) {
        TBitmap dest(7, 5, pf24bit);
        SmoothStretchWithQuality(&source, &dest, fast);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) ASSERT_EQ(dest.PixelRGB(x, y), source.PixelRGB(x, y)) << x << "," << y << " " << fast;
    }
}

TEST(LumSmoothStretch, SizeErrorsLeaveTheDestination)
{
    TBitmap wide(1, 5, pf24bit), flat(5, 1, pf24bit), good(5, 5, pf24bit);
    TBitmap dest(3, 3, pf8bit);
    dest.SetPixelRGB(0, 0, 0x000000);
    for (TBitmap* bad : {&wide, &flat}) {
        try {
            SmoothStretch(bad, &dest);
            ADD_FAILURE() << "no error";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), "SmoothStretch: Source bitmap too small");
        }
    }
    TBitmap tiny(4, 1, pf24bit);
    try {
        SmoothStretch(&good, &tiny);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "SmoothStretch: Destination bitmap too small");
    }
    EXPECT_EQ(dest.PixelFormat(), pf8bit);
    EXPECT_EQ(dest.Width(), 3);
    SmoothStretch(nullptr, &dest);
    SmoothStretch(&good, nullptr);
    EXPECT_EQ(dest.PixelFormat(), pf8bit) << "a missing bitmap does nothing";
}

TEST(LumSmoothStretch, FormatsAreMadeCompatible)
{
    TBitmap source(4, 4, pf32bit), dest(8, 8, pf8bit);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) source.SetPixelRGB(x, y, 0x336699);
    SmoothStretch(&source, &dest);
    EXPECT_EQ(source.PixelFormat(), pf24bit);
    EXPECT_EQ(dest.PixelFormat(), pf24bit);
    // The weights are not normalised, so a flat picture may lose a unit or two between the pixels.
    const TColor c = dest.PixelRGB(5, 2);
    EXPECT_NEAR(GetRValue(c), 0x99, 3);
    EXPECT_NEAR(GetGValue(c), 0x66, 3);
    EXPECT_NEAR(GetBValue(c), 0x33, 3);
}

TEST(LumSmoothStretch, OvershootIsClampedNotWrapped)
{
    // Source row 255, 217, 0 stretched to 48 columns: column 4 has the weights 971, 67 and -15, so its
    // sum is 971 x 255 + 67 x 217 = 262144 = 256 x 1024 exactly.
    TBitmap source(3, 2, pf24bit), dest(48, 2, pf24bit);
    for (int y = 0; y < 2; ++y) {
        source.SetPixelRGB(0, y, RGB(255, 255, 255));
        source.SetPixelRGB(1, y, RGB(217, 217, 217));
        source.SetPixelRGB(2, y, RGB(0, 0, 0));
    }
    SmoothStretch(&source, &dest);
    EXPECT_EQ(dest.PixelRGB(4, 0), 0xFFFFFF);
    EXPECT_EQ(dest.PixelRGB(4, 1), 0xFFFFFF);

    // A step from black to white: the negative lobe of the white side makes the sums of the black side
    // negative, which must come out black, never as a bright wrap-around.
    TBitmap step(4, 2, pf24bit), wide(40, 2, pf24bit);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) step.SetPixelRGB(x, y, x < 2 ? 0 : 0xFFFFFF);
    SmoothStretch(&step, &wide);
    for (int x = 0; x < 13; ++x) EXPECT_EQ(GetRValue(wide.PixelRGB(x, 0)), 0) << x;
    EXPECT_EQ(wide.PixelRGB(39, 1), 0xFFFFFF);
}

TEST(LumSmoothStretch, WideFiltersOnSmallSourcesStayInside)
{
    // Shrinking spreads the Lanczos filter over more source pixels than a 2-pixel side has.
    TBitmap source(2, 3, pf24bit);
    FillRandom(source, 5);
    for (auto [w, h] : {std::pair{2, 2}, std::pair{9, 2}, std::pair{2, 11}}) {
        TBitmap dest(w, h, pf24bit);
        SmoothStretch(&source, &dest);
        EXPECT_EQ(dest.Width(), w);
    }
    TBitmap large(40, 30, pf24bit), small(2, 2, pf24bit);
    FillRandom(large, 9);
    SmoothStretch(&large, &small);
    SmoothStretchWithQuality(&large, &small, true);
}
