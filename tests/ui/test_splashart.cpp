// The program's splash picture: its size, the green key colour all round the card and nowhere on it, and
// the shaped splash cutting exactly the outside.
#include "ui/SplashArt.h"

#include "UiTestSupport.h"

#include "platform/graphics/ResourceStore.h"
#include "ui/uishapf.h"

#include <gtest/gtest.h>

TEST(SplashArt, CardWithoutKeyColoursInsideAndKeyColourRound)
{
    Pump(1);
    RegisterSplashArt();
    TBitmap art;
    ASSERT_TRUE(LoadBitmapResource(SplashArtResource, art));
    ASSERT_EQ(art.Width(), 300);
    ASSERT_EQ(art.Height(), 200);
    EXPECT_EQ(art.PixelRGB(0, 199), clGreen) << "the key colour at the bottom-left";
    const auto region = BitmapToRegion(&art, clGreen, {0, 0});
    ASSERT_NE(region, nullptr);
    int inside = 0, text = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) {
            const TColor p = art.PixelRGB(x, y);
            const bool cut = GetRValue(p) == 0 && GetBValue(p) == 0;
            EXPECT_EQ(region->Contains(x, y), !cut) << x << "," << y;
            if (!cut) {
                ++inside;
                text += p == RGB(255, 255, 255);
            }
            if (cut) { EXPECT_EQ(p, clGreen) << "only the key colour is cut, at " << x << "," << y; }
        }
    EXPECT_GT(inside, 250 * 170) << "the card fills most of the picture";
    EXPECT_GT(text, 50) << "the name is written in white";
    for (TPoint corner : {TPoint{0, 0}, TPoint{299, 0}, TPoint{0, 199}, TPoint{299, 199}, TPoint{5, 5}})
        EXPECT_FALSE(region->Contains(corner.x, corner.y)) << corner.x << "," << corner.y;
}
