// Regions built from the row runs of a picture scan: the same pixels as the plain union of rectangles,
// and lists out of row order fall back to that union.

#include "platform/graphics/Graphics.h"

#include <gtest/gtest.h>

TEST(RegionRuns, RowRunsGiveTheUnionOfTheirRectangles)
{
    const std::vector<std::vector<TRect>> lists = {
        {},
        {{0, 0, 4, 1}},
        {{0, 0, 4, 1}, {6, 0, 9, 1}, {0, 1, 4, 2}, {6, 1, 9, 2}, {1, 3, 2, 4}},
        {{2, 5, 3, 6}, {2, 6, 3, 7}, {0, 7, 10, 8}},
        // Out of order, touching or taller rectangles take the general road.
        {{0, 1, 4, 2}, {0, 0, 4, 1}},
        {{0, 0, 4, 1}, {4, 0, 6, 1}},
        {{0, 0, 4, 3}, {5, 0, 6, 1}},
    };
    for (const auto& runs : lists) {
        const TRegion a = TRegion::FromRowRuns(runs), b = TRegion::FromRects(runs);
        EXPECT_TRUE(a == b) << runs.size();
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 11; ++x) {
                bool inside = false;
                for (const TRect& r : runs) inside = inside || (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom);
                EXPECT_EQ(a.Contains(x, y), inside) << x << "," << y;
            }
    }
    // Rows with the same runs merge into bands.
    const TRegion band = TRegion::FromRowRuns({{0, 0, 4, 1}, {0, 1, 4, 2}, {0, 2, 4, 3}});
    EXPECT_EQ(band.Kind(), SIMPLEREGION);
    EXPECT_EQ(band.Bounds(), (TRect{0, 0, 4, 3}));
}
