// Geometry and colour helpers of the chart canvas: the edge cases of truncation and orientation, bounding
// rectangles, the convex hull used for box clipping, colour arithmetic and the colour dialog's memory.
#include "chart/base/LumCanvasHelpers.h"

#include "platform/controls/Prompter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

TEST(LumCanvasHelpers, RectanglesTruncateAndAcceptEitherOrientation)
{
    EXPECT_EQ(GetRectMidpoint({-3, -3, 0, 0}), (TPoint{-1, -1}));  // toward zero, not floor
    EXPECT_EQ(GetRectMidpoint({1, 1, 4, 6}), (TPoint{2, 3}));
    EXPECT_EQ(GetRectExtent({10, 5, 4, 8}), (TSize{-6, 3}));
    EXPECT_EQ(SortRectCorners({10, 8, 4, 5}), (TRect{4, 5, 10, 8}));

    const TRect reversed{10, 10, 0, 0};
    EXPECT_TRUE(RectContainsXY(reversed, 0, 5));   // on an edge
    EXPECT_TRUE(RectContainsXY(reversed, 10, 10)); // on a corner
    EXPECT_FALSE(RectContainsXY(reversed, 11, 5));
    EXPECT_TRUE(RectContainsPoint({0, 0, 10, 10}, {5, 5}));
}

TEST(LumCanvasHelpers, BoundingRectanglesOfPoints)
{
    EXPECT_EQ(PointsBoundingRect({}), (TRect{0, 0, 0, 0}));
    const TPoint one[] = {{7, -2}};
    EXPECT_EQ(PointsBoundingRect(one), (TRect{7, -2, 7, -2}));
    const TPoint pts[] = {{5, 5}, {-1, 9}, {8, 2}, {3, 3}};
    EXPECT_EQ(PointsBoundingRect(pts), (TRect{-1, 2, 8, 9}));
    EXPECT_EQ(PointsEnclosingRect(pts, 4), (TRect{-1, 2, 9, 10}));  // right and bottom one beyond
    EXPECT_EQ(PointsEnclosingRect(pts, 1), (TRect{5, 5, 6, 6}));
    EXPECT_EQ(TriangleEnclosingRect({0, 0}, {4, 1}, {2, 5}), (TRect{0, 0, 5, 6}));
}

TEST(LumCanvasHelpers, TriangleCullingFollowsWinding)
{
    // (P0.x - P1.x)(P2.y - P1.y) - (P2.x - P1.x)(P0.y - P1.y) < 0: clockwise on screen is culled.
    EXPECT_TRUE(IsTriangleCulled({0, 0}, {10, 0}, {10, 10}));
    EXPECT_FALSE(IsTriangleCulled({10, 10}, {10, 0}, {0, 0}));
    EXPECT_FALSE(IsTriangleCulled({0, 0}, {5, 5}, {10, 10}));  // degenerate: zero is not below zero
    const TPoint pts[] = {{10, 10}, {10, 0}, {0, 0}, {99, 99}};
    EXPECT_FALSE(IsTrianglePointsCulled(pts));
    // Coordinates whose products leave 32 bits.
    EXPECT_TRUE(IsTriangleCulled({0, 0}, {100000, 0}, {100000, 100000}));
    EXPECT_FALSE(IsTriangleCulled({100000, 100000}, {100000, 0}, {0, 0}));
}

namespace {

std::int64_t Turn(TPoint a, TPoint b, TPoint c)
{
    return std::int64_t(b.x - a.x) * (c.y - a.y) - std::int64_t(b.y - a.y) * (c.x - a.x);
}

// True when p lies inside or on the convex polygon (either winding).
bool InsideConvex(const TPointArray& poly, TPoint p)
{
    bool pos = false, neg = false;
    for (std::size_t i = 0; i < poly.size(); ++i) {
        const std::int64_t t = Turn(poly[i], poly[(i + 1) % poly.size()], p);
        pos |= t > 0;
        neg |= t < 0;
    }
    return !(pos && neg);
}

bool IsConvex(const TPointArray& poly)
{
    bool pos = false, neg = false;
    for (std::size_t i = 0; i < poly.size(); ++i) {
        const std::int64_t t = Turn(poly[i], poly[(i + 1) % poly.size()], poly[(i + 2) % poly.size()]);
        pos |= t > 0;
        neg |= t < 0;
    }
    return !(pos && neg);
}

} // namespace

TEST(LumCanvasHelpers, ConvexHullKeepsSmallInputsAndEnclosesEveryPoint)
{
    TPointArray two = {{0, 0}, {5, 5}};
    EXPECT_FALSE(ReduceToConvexHull(two));
    EXPECT_EQ(two.size(), 2u);

    TPointArray collinear = {{0, 0}, {5, 5}, {10, 10}};
    const TPointArray copy = collinear;
    EXPECT_TRUE(ReduceToConvexHull(collinear));
    EXPECT_EQ(collinear, copy);

    TPointArray square = {{0, 0}, {5, 5}, {10, 0}, {3, 7}, {10, 10}, {0, 10}, {6, 2}};
    ASSERT_TRUE(ReduceToConvexHull(square));
    std::sort(square.begin(), square.end(), [](TPoint a, TPoint b) { return a.x != b.x ? a.x < b.x : a.y < b.y; });
    EXPECT_EQ(square, (TPointArray{{0, 0}, {0, 10}, {10, 0}, {10, 10}}));

    // Random point sets: the result is convex, made of input points, and holds every input point.
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(-500, 500);
    for (int round = 0; round < 200; ++round) {
        TPointArray pts(8 + round % 9);
        for (TPoint& p : pts) p = {coord(rng), coord(rng)};
        TPointArray hull = pts;
        ASSERT_TRUE(ReduceToConvexHull(hull));
        EXPECT_TRUE(IsConvex(hull)) << "round " << round;
        for (TPoint p : hull) EXPECT_NE(std::find(pts.begin(), pts.end(), p), pts.end());
        for (TPoint p : pts) EXPECT_TRUE(InsideConvex(hull, p)) << "round " << round;
    }
}

TEST(LumCanvasHelpers, ColourArithmeticClampsPerChannel)
{
    EXPECT_EQ(SplitColorBytes(0x112233), (TColorBytes{0x11, 0x22, 0x33}));
    EXPECT_EQ(SplitColorBytes(clBtnFace).Red, clBtnFace & 0xFF);  // no system-colour conversion

    struct Case {
        TColor In;
        int Amount;
        bool Lighten;
        TColor Out;
    };
    const Case cases[] = {
        {clWhite, 32, true, clWhite},
        {clBlack, 128, false, clBlack},
        {RGB(10, 200, 100), 50, false, RGB(0, 150, 50)},
        {RGB(10, 200, 100), 80, true, RGB(90, 255, 180)},
        {clBtnFace, 0, false, ColorToRGB(clBtnFace)},  // system colours resolved, top byte cleared
    };
    for (const Case& c : cases) {
        const TColor out = c.Lighten ? LightenColorBy(c.In, c.Amount) : DarkenColorBy(c.In, c.Amount);
        EXPECT_EQ(out, c.Out) << std::hex << c.In;
    }
}

TEST(LumCanvasHelpers, PullBackLineEndMovesTowardTheStart)
{
    struct Case {
        TPoint Start, End;
        int Distance;
        TPoint Out;
    };
    const Case cases[] = {
        {{10, 50}, {10, 10}, 5, {10, 15}},  // vertical, end above the start
        {{10, 10}, {10, 50}, 5, {10, 45}},
        {{0, 0}, {100, 0}, 10, {90, 0}},
        {{0, 0}, {30, 40}, 5, {27, 36}},
        {{30, 40}, {0, 0}, 5, {3, 4}},
    };
    for (const Case& c : cases) EXPECT_EQ(PullBackLineEnd(c.Start, c.End, c.Distance), c.Out);
    EXPECT_DOUBLE_EQ(VectorLength(3, 4), 5);
}

TEST(LumCanvasHelpers, ColourDialogRemembersCustomColoursAndResetsTheFirst)
{
    ResetLumCanvasModule();
    std::vector<std::string> seen;
    {
        TPromptScript script;
        script.Expect(TPromptKind::ColorDialog, [&](TPrompt& p) {
            seen = p.Color->CustomColors;
            p.Color->Color = 0x123456;
            p.Color->CustomColors = {CustomColorLine(0, 0x0000FF), CustomColorLine(1, 0x00FF00)};
            p.Result = mrOk;
        });
        script.Expect(TPromptKind::ColorDialog, [&](TPrompt& p) {
            seen = p.Color->CustomColors;
            p.Result = mrCancel;
        });
        EXPECT_EQ(RunColorDialog(nullptr, clRed), 0x123456);
        EXPECT_EQ(std::count(seen.begin(), seen.end(), "ColorA=00C0C0C1"), 1);

        EXPECT_EQ(RunColorDialog(nullptr, clRed), clRed);  // cancelled: the colour passed in
        EXPECT_EQ(seen, (std::vector<std::string>{"ColorA=00C0C0C1", "ColorB=0000FF00"}));
        EXPECT_TRUE(script.Failures().empty());
    }
    {
        TPromptScript script;
        script.Expect(TPromptKind::ColorDialog, [](TPrompt& p) { p.Result = mrOk; });  // keeps the colour
        script.Expect(TPromptKind::ColorDialog, [](TPrompt& p) {
            p.Color->Color = clBlue;
            p.Result = mrOk;
        });
        TColor c = clRed;
        EXPECT_FALSE(EditColorWithDialog(nullptr, c));
        EXPECT_TRUE(EditColorWithDialog(nullptr, c));
        EXPECT_EQ(c, clBlue);
    }
    ResetLumCanvasModule();
}
