// The 3-D projection with known numbers, and its inverse: an exact round trip where the formulas allow
// one (2-D, oblique at zoom 1), the inverse formula itself in the rotated view, where it is approximate.
#include "chart/base/LumCanvas3D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

// A projection centred on the chart rectangle (0, 0, 200, 100) with depth 40: CX 100, CY 50, CZ 20.
TLumProjection Make(const TView3DOptions* options, bool view3D)
{
    TLumProjection p;
    p.Setup(options, view3D);
    p.SetCentre(40, {0, 0, 200, 100}, options);
    return p;
}

TView3DOptions Rotated(int elevation, int rotation, int tilt = 0, int perspective = 0)
{
    TView3DOptions o(nullptr);
    o.SetOrthogonal(false);
    o.SetElevation(elevation);
    o.SetRotation(rotation);
    o.SetTilt(tilt);
    o.SetPerspective(perspective);
    return o;
}

} // namespace

TEST(LumCanvasProjection, RotatedViewOfTheDefaults)
{
    const TView3DOptions o = Rotated(345, 345);
    const TLumProjection p = Make(&o, true);
    ASSERT_EQ(p.CX, 100);
    ASSERT_EQ(p.CZ, 20);
    // u = 100 cos 15 = 96.6, v = 100 sin^2 15 = 6.7.
    EXPECT_EQ(p.Project(p.CX + 100, p.CY, p.CZ), (TPoint{p.OX + 97, p.OY + 7}));
    EXPECT_EQ(p.Project(p.CX, p.CY, p.CZ), (TPoint{p.OX, p.OY}));
}

TEST(LumCanvasProjection, ObliqueView)
{
    TView3DOptions o(nullptr);
    struct Case {
        int Angle;
        TPoint Offset;
    };
    const Case cases[] = {{45, {10, -10}}, {135, {-10, -10}}, {90, {10, -10}}, {0, {10, 0}}};
    for (const Case& c : cases) {
        o.SetOrthoAngle(c.Angle);
        const TLumProjection p = Make(&o, true);
        EXPECT_TRUE(p.Orthogonal);
        EXPECT_EQ(p.Project(p.CX, p.CY, 10), (TPoint{p.OX + c.Offset.x, p.OY + c.Offset.y})) << c.Angle;
    }
    o.SetOrthoAngle(90);
    EXPECT_EQ(Make(&o, true).KY, 1.0);  // the tangent of 90 degrees is not used

    // Offsets move the screen centre, zoom scales around it.
    o.SetOrthoAngle(45);
    o.SetHorizOffset(7);
    o.SetVertOffset(-4);
    o.SetZoom(200);
    const TLumProjection p = Make(&o, true);
    EXPECT_EQ(p.OX, 107);
    EXPECT_EQ(p.OY, 46);
    EXPECT_EQ(p.Project(p.CX + 5, p.CY + 3, 2), (TPoint{107 + 14, 46 + 2}));
}

TEST(LumCanvasProjection, FlatViewIgnoresDepth)
{
    const TView3DOptions o = Rotated(10, 20, 30, 50);
    const TLumProjection p = Make(&o, false);
    EXPECT_EQ(p.Project(17, -4, 500), (TPoint{17, -4}));
    int x = 17, y = -4;
    p.Unproject(x, y, 500);
    EXPECT_EQ(x, 17);
    EXPECT_EQ(y, -4);
}

TEST(LumCanvasProjection, InverseRoundTripsInTheObliqueView)
{
    for (int angle : {30, 45, 60, 120, 150}) {
        TView3DOptions o(nullptr);
        o.SetOrthoAngle(angle);
        const TLumProjection p = Make(&o, true);
        for (int z : {0, 7, 25})
            for (int x = -30; x <= 230; x += 37)
                for (int y = -20; y <= 120; y += 29) {
                    const TPoint s = p.Project(x, y, z);
                    int ux = s.x, uy = s.y;
                    p.Unproject(ux, uy, z);
                    EXPECT_EQ(ux, x) << angle << " " << z;
                    EXPECT_EQ(uy, y) << angle << " " << z;
                }
    }
}

TEST(LumCanvasProjection, RotatedInverseFollowsItsFormula)
{
    const TView3DOptions o = Rotated(340, 20, 10);
    TLumProjection p = Make(&o, true);
    p.OX += 3;  // keep OX and CX apart: the formula mixes them
    const double e = -340 * std::numbers::pi / 180, r = -20 * std::numbers::pi / 180, t = 10 * std::numbers::pi / 180;
    const double sE = std::sin(e), cE = std::cos(e), sR = std::sin(r), cR = std::cos(r), sT = std::sin(t), cT = std::cos(t);
    const double a1 = cR * sT, a2 = cR * cT, a3 = sE * sR * sT + cE * cT;
    const double a4 = cT * sE * sR - cE * sT, a5 = cE * sR * sT - cT * sE, a6 = cE * cT * sR + sE * sT;
    for (const TPoint s : {TPoint{130, 40}, TPoint{80, 77}, TPoint{-10, 5}}) {
        for (int z : {0, 20, 35}) {
            const double dz = z - p.CZ;
            const int ex = static_cast<int>(std::nearbyint((s.x - p.OX - dz * a5 - (s.y - p.CY) * a1) / a3)) + p.CX;
            const int ey = static_cast<int>(std::nearbyint((s.y - p.OY - dz * a6 - (s.x - p.CX) * a4) / a2)) + p.CY;
            int x = s.x, y = s.y;
            p.Unproject(x, y, z);
            EXPECT_EQ(x, ex);
            EXPECT_EQ(y, ey);
        }
    }
}

TEST(LumCanvasProjection, PerspectiveShrinksTheFarSide)
{
    const TView3DOptions flat = Rotated(0, 0);
    const TView3DOptions deep = Rotated(0, 0, 0, 100);
    const TLumProjection p0 = Make(&flat, true), p1 = Make(&deep, true);
    EXPECT_TRUE(p1.PerspectiveOn);
    EXPECT_DOUBLE_EQ(p1.PerspectiveFactor, 100 * 1.0 / 150 / 200);
    // Seen straight on, a point behind the centre comes nearer to it, one in front moves away.
    EXPECT_EQ(p0.Project(150, 50, p0.CZ + 30).x, 150);
    EXPECT_LT(p1.Project(150, 50, p1.CZ + 30).x, 150);
    EXPECT_GT(p1.Project(150, 50, p1.CZ - 15).x, 150);
}

TEST(LumCanvasProjection, CentreDepthRoundsHalvesToEven)
{
    TLumProjection p;
    p.Setup(nullptr, true);
    for (const auto& [depth, cz] : {std::pair{5, 2}, std::pair{7, 4}, std::pair{-3, -2}, std::pair{40, 20}}) {
        p.SetCentre(depth, {0, 0, 10, 10}, nullptr);
        EXPECT_EQ(p.CZ, cz) << depth;
    }
}
