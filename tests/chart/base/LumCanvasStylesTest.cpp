// Chart pens, brush and 3-D view options: defaults and stored rules as a stream sees them, change
// notification only on real changes, copying, and the rounding of the real-valued angles.
#include "chart/base/LumCanvasStyles.h"

#include "platform/graphics/Bitmap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

// Names of the properties a stream would write for the object.
std::vector<std::string> StoredNames(const TPersistent& obj)
{
    std::vector<std::string> names;
    for (const TPropInfo& p : obj.ClassInfo().Properties())
        if (p.Kind != TPropKind::Object && IsStoredProp(obj, p)) names.push_back(p.Name);
    return names;
}

using Names = std::vector<std::string>;

struct TCountingPanel : ILumPanelRepaint {
    int Repaints = 0;
    void RepaintPanel() override { ++Repaints; }
};

} // namespace

TEST(LumCanvasStyles, PenDefaultsAreNotStoredByAnyPresetPen)
{
    TChartPen pen;
    TChartHiddenPen hidden;
    TDottedGrayPen dotted;
    TDarkGrayPen dark;
    TWhitePen white;
    for (const TPersistent* p : std::initializer_list<const TPersistent*>{&pen, &hidden, &dotted, &dark, &white})
        EXPECT_EQ(StoredNames(*p), Names{}) << p->ClassName();

    EXPECT_TRUE(pen.Visible());
    EXPECT_FALSE(hidden.Visible());
    EXPECT_EQ(dotted.Color(), clGray);
    EXPECT_EQ(dotted.Style(), psDot);
    EXPECT_EQ(dark.Color(), clGray);
    EXPECT_EQ(dark.Style(), psSolid);
    EXPECT_EQ(white.Color(), clWhite);
    EXPECT_EQ(pen.EndStyle(), esRound);
}

TEST(LumCanvasStyles, VisibilityIsStoredAgainstEachPensOwnDefault)
{
    TChartPen pen;
    pen.MakeInvisible();
    EXPECT_EQ(StoredNames(pen), Names{"Visible"});
    EXPECT_EQ(GetPropText(pen, "Visible"), "False");

    TChartHiddenPen hidden;
    hidden.MakeVisible();
    EXPECT_EQ(StoredNames(hidden), Names{"Visible"});
    EXPECT_EQ(GetPropText(hidden, "Visible"), "True");

    TDottedGrayPen dotted;
    dotted.SetColor(clBlack);  // black is the plain pen's default, not this one's
    dotted.SetEndStyle(esFlat);
    EXPECT_EQ(StoredNames(dotted), (Names{"Color", "EndStyle"}));
}

TEST(LumCanvasStyles, PenChangesNotifyOnceAndOnlyWhenTheyChange)
{
    int changes = 0;
    TChartPen pen([&](TPersistent*) { ++changes; });
    pen.SetVisible(true);
    pen.SetSmallDots(false);
    pen.SetSmallSpace(0);
    pen.SetEndStyle(esRound);
    pen.SetWidth(1);
    EXPECT_EQ(changes, 0);
    pen.SetSmallSpace(3);
    pen.SetEndStyle(esSquare);
    pen.MakeInvisible();
    EXPECT_EQ(changes, 3);

    // A copy that differs only in the chart pen's own settings still reports once.
    TChartPen source;
    source.SetSmallDots(true);
    changes = 0;
    pen.Assign(source);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(pen.SmallDots());
    EXPECT_TRUE(pen.Visible());
    EXPECT_EQ(pen.SmallSpace(), 0);
    pen.Assign(source);
    EXPECT_EQ(changes, 1);
}

TEST(LumCanvasStyles, PlainPenTakesOnlyTheClassLibraryValues)
{
    TChartPen chart;
    chart.SetColor(clRed);
    chart.SetWidth(4);
    chart.SetStyle(psDash);
    chart.SetMode(pmXor);
    chart.MakeInvisible();
    chart.SetSmallDots(true);

    TPen plain;
    plain.Assign(chart);
    EXPECT_EQ(plain.Color(), clRed);
    EXPECT_EQ(plain.Width(), 4);
    EXPECT_EQ(plain.Style(), psDash);
    EXPECT_EQ(plain.Mode(), pmXor);

    TChartPen back;
    back.SetSmallDots(true);
    back.Assign(plain);  // from a plain pen: the chart pen's own settings stay
    EXPECT_TRUE(back.SmallDots());
    EXPECT_TRUE(back.Visible());
    EXPECT_EQ(back.Width(), 4);
}

TEST(LumCanvasStyles, BrushDefaultAndImage)
{
    int changes = 0;
    TChartBrush brush([&](TPersistent*) { ++changes; });
    EXPECT_EQ(brush.Color(), clDefault);
    EXPECT_EQ(StoredNames(brush), Names{});
    EXPECT_FALSE(brush.HasImage());

    TBitmap bmp(4, 3);
    brush.Image().SetGraphic(&bmp);  // editing the picture reports to the brush's owner
    EXPECT_GE(changes, 1);
    ASSERT_NE(brush.ImageBitmap(), nullptr);
    EXPECT_EQ(brush.ImageBitmap()->Width(), 4);

    // A source whose image is empty clears the destination's image.
    TChartBrush plain;
    changes = 0;
    brush.Assign(plain);
    EXPECT_FALSE(brush.HasImage());
    EXPECT_EQ(changes, 1);

    // Pattern styles keep their number; only the low seven bits count.
    brush.SetStyleNumber(8 + 128 + 2);
    EXPECT_EQ(brush.EffectiveStyle(), 10);
}

TEST(LumCanvasStyles, ViewOptionsDefaultsAndRepaints)
{
    TCountingPanel panel;
    TView3DOptions o(&panel);
    EXPECT_EQ(StoredNames(o), Names{});
    EXPECT_EQ(o.Elevation(), 345);
    EXPECT_EQ(o.Rotation(), 345);
    EXPECT_EQ(o.Perspective(), 15);
    EXPECT_EQ(o.Zoom(), 100);
    EXPECT_TRUE(o.Orthogonal());
    EXPECT_EQ(o.OrthoAngle(), 45);

    o.SetElevation(345);
    o.SetZoom(100);
    o.SetOrthogonal(true);
    EXPECT_EQ(panel.Repaints, 0);

    // Halves read to the even neighbour.
    o.SetElevationValue(345.5);
    EXPECT_EQ(panel.Repaints, 1);
    EXPECT_EQ(o.Elevation(), 346);
    o.SetElevationValue(344.5);
    EXPECT_EQ(o.Elevation(), 344);
    o.SetRotationValue(10.25);
    EXPECT_EQ(o.Rotation(), 10);
    EXPECT_EQ(StoredNames(o), (Names{"Elevation", "Rotation"}));

    o.SetTilt(5);
    o.SetHorizOffset(-3);
    o.SetFontZoom(120);
    EXPECT_EQ(panel.Repaints, 6);
}

TEST(LumCanvasStyles, ViewOptionsAssignAndOrthoTangent)
{
    TCountingPanel panel;
    TView3DOptions source(nullptr), dest(&panel);
    source.SetRotationValue(12.5);
    source.SetTilt(7);
    source.SetZoomText(false);
    source.SetOrthogonal(false);
    dest.Assign(source);
    EXPECT_EQ(panel.Repaints, 0);  // copies without repainting
    EXPECT_DOUBLE_EQ(dest.RotationValue(), 12.5);
    EXPECT_EQ(dest.Tilt(), 7);
    EXPECT_FALSE(dest.ZoomText());
    EXPECT_DOUBLE_EQ(dest.OrthoTangent(), 1.0);  // not orthogonal

    TChartPen other;
    dest.Assign(other);  // any other source is ignored
    EXPECT_EQ(dest.Tilt(), 7);

    TView3DOptions o(nullptr);
    o.SetOrthoAngle(45);
    const double t45 = o.OrthoTangent();
    o.SetOrthoAngle(135);
    EXPECT_NEAR(o.OrthoTangent(), t45, 1e-12);
    EXPECT_NEAR(t45, 1.0, 1e-12);
    o.SetOrthoAngle(30);
    EXPECT_NEAR(o.OrthoTangent(), std::tan(30 * 3.14159265358979323846 / 180), 1e-12);
}
