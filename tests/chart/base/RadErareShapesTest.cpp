// Framed shapes: the default box with its shadow, transparent and clear-brush boxes, gradient with round
// corners, rotation, translucency, bevels; bounds; the older stream names; repaint rules and copying.
#include "chart/base/RadErareShapes.h"

#include "chart/base/RadErarePanelExt.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Draws a box on a flat panel of the face colour and returns the picture.
std::unique_ptr<TBitmap> DrawBox(const std::function<void(TLumShape&)>& set, const TRect& rect = {10, 10, 40, 30},
                                 double angle = 0, TColor face = clAqua)
{
    TDraw3D panel(nullptr);
    panel.SetBounds(0, 0, 60, 40);
    panel.SetBevelOuter(bvNone);
    panel.SetColor(face);
    TLumShape shape(&panel);
    set(shape);
    panel.OnAfterDraw = [&](TPersistent*) { shape.DrawShapeRect(rect, angle, 0); };
    return panel.RenderToBitmap(clWhite, panel.ChartBounds(), pf24bit);
}

} // namespace

TEST(LumShapes, DefaultBoxIsWhiteWithBlackShadowAndOutline)
{
    const auto b = DrawBox([](TLumShape&) {});
    EXPECT_EQ(b->PixelRGB(25, 20), clWhite);
    EXPECT_EQ(b->PixelRGB(10, 20), clBlack) << "rectangle outline";
    EXPECT_EQ(b->PixelRGB(39, 20), clBlack);
    EXPECT_EQ(b->PixelRGB(11, 20), clWhite) << "no bevel";
    EXPECT_EQ(b->PixelRGB(40, 20), clBlack) << "the shadow starts at the box's right";
    EXPECT_EQ(b->PixelRGB(25, 30), clBlack) << "and below it";
    EXPECT_EQ(b->PixelRGB(43, 20), clAqua) << "3 pixels wide";
    EXPECT_EQ(b->PixelRGB(41, 11), clAqua) << "offset down by its size";
}

TEST(LumShapes, TransparentOrClearBoxesCastNoShadow)
{
    const auto transparent = DrawBox([](TLumShape& s) { s.SetTransparent(true); });
    for (auto [x, y] : {std::pair{25, 20}, {10, 20}, {40, 20}, {25, 30}})
        EXPECT_EQ(transparent->PixelRGB(x, y), clAqua) << "nothing at all at " << x << "," << y;

    const auto clear = DrawBox([](TLumShape& s) { s.Brush().SetStyle(bsClear); });
    EXPECT_EQ(clear->PixelRGB(25, 20), clAqua) << "not filled";
    EXPECT_EQ(clear->PixelRGB(10, 20), clBlack) << "outlined";
    EXPECT_EQ(clear->PixelRGB(40, 20), clAqua) << "no shadow";

    const auto noShadow = DrawBox([](TLumShape& s) { s.SetShadow(nullptr); });
    EXPECT_EQ(noShadow->PixelRGB(40, 20), clAqua);
    EXPECT_EQ(noShadow->PixelRGB(25, 20), clWhite);
}

TEST(LumShapes, GradientInRoundCorners)
{
    const auto b = DrawBox([](TLumShape& s) {
        s.SetShapeStyle(fosRoundRectangle);
        s.SetShadow(nullptr);
        s.Gradient().SetVisible(true);
        s.Gradient().SetStartColor(clRed);
        s.Gradient().SetEndColor(clRed);
    });
    EXPECT_EQ(b->PixelRGB(25, 20), clRed);
    EXPECT_EQ(b->PixelRGB(11, 11), clAqua) << "the gradient is clipped to the round corner";
    EXPECT_EQ(b->PixelRGB(10, 10), clAqua);
    EXPECT_EQ(b->PixelRGB(10, 20), clBlack) << "outline along the straight part";
    EXPECT_EQ(b->PixelRGB(25, 10), clBlack);
    EXPECT_EQ(b->PixelRGB(12, 12), clBlack) << "outline through the corner's arc";
}

TEST(LumShapes, RotatedTranslucentAndBevelledBoxes)
{
    const auto corners = RotatedRectCorners({0, 0, 10, 20}, 90);
    EXPECT_EQ(corners[0], (TPoint{-5, 15}));
    EXPECT_EQ(corners[2], (TPoint{15, 5}));
    EXPECT_EQ(RotatedRectCorners({0, 0, 10, 20}, 0.5)[0], (TPoint{0, 0})) << "below 1 degree: no rotation";

    // 20 x 10 turned by 90 degrees about (30, 15) stands 10 x 20.
    const auto turned = DrawBox([](TLumShape& s) { s.SetShadow(nullptr); }, {20, 10, 40, 20}, 90);
    EXPECT_EQ(turned->PixelRGB(30, 7), clWhite);
    EXPECT_EQ(turned->PixelRGB(22, 15), clAqua);

    const auto translucent = DrawBox([](TLumShape& s) {
        s.SetShadow(nullptr);
        s.SetTransparency(50);
    }, {10, 10, 40, 30}, 0, clBlue);
    const TColor mixed = translucent->PixelRGB(25, 20);
    EXPECT_NEAR(GetRValue(mixed), 128, 3) << "half white, half the blue beneath";
    EXPECT_EQ(GetBValue(mixed), 255);

    const auto bevelled = DrawBox([](TLumShape& s) {
        s.SetShadow(nullptr);
        s.SetBevel(bvRaised);
    });
    EXPECT_EQ(bevelled->PixelRGB(10, 20), ColorToRGB(clBtnHighlight)) << "the bevel lies on the box's edge";
    EXPECT_EQ(bevelled->PixelRGB(11, 20), ColorToRGB(clBtnHighlight)) << "2 lines by default";
    EXPECT_EQ(bevelled->PixelRGB(38, 20), ColorToRGB(clBtnShadow));
    EXPECT_EQ(bevelled->PixelRGB(12, 20), clWhite);
}

TEST(LumShapes, BoundsAndOldStreamNames)
{
    TLumShape s(nullptr);
    s.SetShapeRect({10, 10, 19, 29});
    EXPECT_EQ(s.BoundsWidth(), 10);
    EXPECT_EQ(s.BoundsHeight(), 20);
    s.SetBoundsWidth(5);
    s.SetBoundsHeight(1);
    EXPECT_EQ(s.ShapeRect(), (TRect{10, 10, 14, 10}));

    const TClassInfo& info = s.ClassInfo();
    info.FindDefinedProperty("ShadowColor")->ReadValue(s, std::string("clRed"));
    EXPECT_EQ(s.Shadow().Color(), clRed);
    info.FindDefinedProperty("ShadowColor")->ReadValue(s, std::int64_t{0xFF0000});
    EXPECT_EQ(s.Shadow().Color(), clBlue);
    info.FindDefinedProperty("ShadowSize")->ReadValue(s, std::int64_t{5});
    EXPECT_EQ(s.Shadow().HorizSize(), 5);
    EXPECT_EQ(s.Shadow().VertSize(), 5);
    for (const char* old : {"ShadowColor", "ShadowSize"}) EXPECT_FALSE(info.FindDefinedProperty(old)->IsWritten(s));
}

TEST(LumShapes, RepaintRulesAndCopies)
{
    TLumShape orphan(nullptr);
    orphan.SetColor(clRed);
    orphan.SetVisible(false);
    EXPECT_EQ(orphan.Color(), clRed) << "without a panel the value is only stored";
    orphan.DrawShape(); // no panel: nothing to draw on

    TDraw3D panel(nullptr);
    TLumShape shape(&panel);
    const auto needsRedraw = [&] { return dynamic_cast<TLumCanvas3D&>(panel.ChartCanvas()).NeedsRedraw(); };
    struct Step {
        const char* what;
        std::function<void()> change;
        bool repaints;
    };
    const std::vector<Step> steps = {
        {"colour", [&] { shape.SetColor(clRed); }, true},
        {"same colour", [&] { shape.SetColor(clRed); }, false},
        {"visible", [&] { shape.SetVisible(false); }, true},
        {"bevel", [&] { shape.SetBevel(bvLowered); }, true},
        {"pen", [&] { shape.Pen().SetWidth(3); }, true},
        {"brush", [&] { shape.Brush().SetStyle(bsCross); }, true},
        {"font", [&] { shape.Font().SetSize(20); }, true},
        {"shadow", [&] { shape.Shadow().SetColor(clGray); }, true},
        {"gradient", [&] { shape.Gradient().SetVisible(true); }, true},
        {"shape rectangle", [&] { shape.SetShapeRect({1, 2, 3, 4}); }, false},
    };
    for (const Step& step : steps) {
        panel.DrawClientArea();
        ASSERT_FALSE(needsRedraw());
        step.change();
        EXPECT_EQ(needsRedraw(), step.repaints) << step.what;
    }

    TLumShape copy(nullptr);
    copy.Gradient();
    copy.Assign(orphan);
    EXPECT_FALSE(copy.HasGradient()) << "a source without gradient frees the target's";
    EXPECT_EQ(copy.Color(), clRed);
    EXPECT_FALSE(copy.Visible());
    copy.Assign(shape);
    EXPECT_TRUE(copy.HasGradient());
    EXPECT_EQ(copy.Bevel(), bvLowered);
    EXPECT_EQ(copy.Pen().Width(), 3);
    EXPECT_EQ(copy.Shadow().Color(), clGray);
    EXPECT_EQ(copy.ParentChart(), nullptr) << "the panel is not copied";
}
