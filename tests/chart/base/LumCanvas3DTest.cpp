// Solids of the device canvas on the recorder: which faces of a box are drawn for a view and in which
// shade, ellipses and pie slices with their point counts, arrows, cones, the box clip, text and pictures
// at depth.
#include "chart/base/LumCanvasGdi.h"

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/RecordingBackend.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <numbers>

namespace {

struct T3DCanvas {
    std::shared_ptr<TRecordingBackend> Recorder = std::make_shared<TRecordingBackend>(400, 300);
    TCanvas Device{Recorder};
    TView3DOptions Options{nullptr};
    TLumCanvas3D Canvas;

    // A view over the chart rectangle (0, 0, 200, 100) with depth 40.
    void Start(bool view3D)
    {
        Canvas.ChangeBufferedDisplay(false);
        Canvas.SetupView(&Device, &Options, clWhite, view3D, {0, 0, 400, 300});
        Canvas.SetRotationCentre(40, {0, 0, 400, 300}, {0, 0, 200, 100});
        Recorder->Clear();
    }
    std::vector<const TRecordingBackend::TRecord*> Polygons() const { return Recorder->OfKind("Polygon"); }
};

std::vector<TPoint> Projected(TLumCanvas3D& c, std::initializer_list<TPoint3D> pts)
{
    std::vector<TPoint> out;
    for (TPoint3D p : pts) out.push_back(c.ProjectPoint3D(p));
    return out;
}

} // namespace

TEST(LumCanvas3D, BoxFacesDrawnForAView)
{
    const TColor c = RGB(200, 160, 120);
    struct Case {
        const char* Name;
        bool View3D;
        bool Orthogonal;
        int OrthoAngle, Elevation, Rotation;
        std::vector<std::string> Faces;
    };
    const Case cases[] = {
        {"flat", false, true, 45, 345, 345, {"front"}},
        {"oblique 45", true, true, 45, 345, 345, {"front", "right", "top"}},
        {"oblique 135", true, true, 135, 345, 345, {"front", "left", "top"}},
        {"from behind", true, false, 45, 0, 160, {"back", "left"}},
        {"from below", true, false, 45, 20, 0, {"front", "bottom"}},
    };
    const int l = 40, r = 80, t = 30, b = 70, z0 = 0, z1 = 30;
    for (const Case& k : cases) {
        T3DCanvas t3;
        t3.Options.SetOrthogonal(k.Orthogonal);
        t3.Options.SetOrthoAngle(k.OrthoAngle);
        t3.Options.SetElevation(k.Elevation);
        t3.Options.SetRotation(k.Rotation);
        t3.Options.SetPerspective(0);
        t3.Start(k.View3D);
        TLumCanvas3D& cv = t3.Canvas;
        const std::map<std::string, std::vector<TPoint>> faces = {
            {"front", Projected(cv, {{l, t, z0}, {r, t, z0}, {r, b, z0}, {l, b, z0}})},
            {"back", Projected(cv, {{l, t, z1}, {r, t, z1}, {r, b, z1}, {l, b, z1}})},
            {"right", Projected(cv, {{r, t, z0}, {r, t, z1}, {r, b, z1}, {r, b, z0}})},
            {"left", Projected(cv, {{l, t, z0}, {l, t, z1}, {l, b, z1}, {l, b, z0}})},
            {"top", Projected(cv, {{l, t, z0}, {r, t, z0}, {r, t, z1}, {l, t, z1}})},
            {"bottom", Projected(cv, {{l, b, z0}, {l, b, z1}, {r, b, z1}, {r, b, z0}})},
        };
        const std::map<std::string, TColor> shade = {
            {"front", c}, {"back", c}, {"right", DarkenColorBy(c, 128)}, {"left", DarkenColorBy(c, 128)},
            {"top", DarkenColorBy(c, 64)}, {"bottom", DarkenColorBy(c, 64)}};

        cv.Brush().SetColor(c);
        cv.DrawBoxShape(l, r, t, b, z0, z1, true);
        const auto drawn = t3.Polygons();
        ASSERT_EQ(drawn.size(), k.Faces.size()) << k.Name;
        for (std::size_t i = 0; i < drawn.size(); ++i) {
            EXPECT_EQ(drawn[i]->Points, faces.at(k.Faces[i])) << k.Name << " " << k.Faces[i];
            EXPECT_EQ(drawn[i]->Shape.Brush.Color, shade.at(k.Faces[i])) << k.Name << " " << k.Faces[i];
        }
    }
}

TEST(LumCanvas3D, ClearBrushBoxDrawsEveryFace)
{
    T3DCanvas t3;
    t3.Start(true);
    t3.Canvas.Brush().SetStyle(bsClear);
    t3.Canvas.DrawBoxFromRect({10, 10, 50, 50}, 0, 20, false);
    EXPECT_EQ(t3.Polygons().size(), 5u);
}

TEST(LumCanvas3D, EllipsesAtDepth)
{
    T3DCanvas flat;
    flat.Start(false);
    flat.Canvas.DrawEllipseAtZ(10, 20, 30, 40, 5);
    auto e = flat.Recorder->OfKind("Ellipse");
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0]->Args, (std::vector<int>{10, 20, 31, 41}));  // one pixel larger in 2-D

    T3DCanvas oblique;
    oblique.Start(true);
    oblique.Canvas.DrawCircleAtZ(50, 50, 10, 7.5);  // radius rounds to 8
    e = oblique.Recorder->OfKind("Ellipse");
    ASSERT_EQ(e.size(), 1u);
    const TPoint a = oblique.Canvas.ProjectXYZ(42, 42, 10), b = oblique.Canvas.ProjectXYZ(58, 58, 10);
    EXPECT_EQ(e[0]->Args, (std::vector<int>{a.x, a.y, b.x, b.y}));

    // Rotated: a fan of 63 triangles and the outline of 64 points.
    T3DCanvas rotated;
    rotated.Options.SetOrthogonal(false);
    rotated.Start(true);
    rotated.Canvas.DrawEllipseAtZ(10, 20, 50, 40, 5);
    EXPECT_EQ(rotated.Polygons().size(), 63u);
    const auto outline = rotated.Recorder->OfKind("Polyline");
    ASSERT_EQ(outline.size(), 1u);
    EXPECT_EQ(outline[0]->Points.size(), 64u);
    EXPECT_EQ(outline[0]->Points[0], rotated.Canvas.ProjectXYZ(30, 40, 5));
    for (const auto* tri : rotated.Polygons()) EXPECT_TRUE(tri->Shape.Pen.Null);  // fill without outline
}

TEST(LumCanvas3D, PieSliceArcPoints)
{
    for (const auto& [degrees, points] : {std::pair{360.0, 96u}, std::pair{2.0, 3u}, std::pair{90.0, 47u}}) {
        T3DCanvas t3;
        t3.Start(false);
        t3.Canvas.DrawPieSlice3D(100, 100, 50, 40, 0, 10, 0, degrees * std::numbers::pi / 180, false, false, 0, nullptr);
        const auto polys = t3.Polygons();
        ASSERT_FALSE(polys.empty());
        EXPECT_EQ(polys[0]->Points.size(), points + 1) << degrees;  // the centre, then the arc
        EXPECT_EQ(polys[0]->Points[0], (TPoint{100, 100}));
        EXPECT_EQ(polys[0]->Points[1], (TPoint{150, 100}));
    }
    // A donut's face runs out along the outer arc and back along the inner one.
    T3DCanvas donut;
    donut.Start(false);
    donut.Canvas.DrawPieSlice3D(100, 100, 50, 50, 0, 10, 0, std::numbers::pi / 2, false, false, 50, nullptr);
    const auto polys = donut.Polygons();
    ASSERT_GE(polys.size(), 2u);
    const auto& face = polys[1]->Points;  // after the inner curved surface
    EXPECT_EQ(face.front(), (TPoint{125, 100}));
    EXPECT_EQ(face.back(), (TPoint{125, 100}));
}

TEST(LumCanvas3D, Arrows)
{
    T3DCanvas t3;
    t3.Start(false);
    t3.Canvas.DrawArrowWithBody(true, {30, 30}, {30, 30}, 20, 30, 0, 50);
    EXPECT_TRUE(t3.Recorder->Records.empty());  // From = To: nothing

    t3.Canvas.DrawArrow(true, {0, 50}, {100, 50}, 20, 30, 0);
    const auto polys = t3.Polygons();
    ASSERT_EQ(polys.size(), 1u);
    EXPECT_EQ(polys[0]->Points,
              (std::vector<TPoint>{{0, 55}, {0, 45}, {70, 45}, {70, 40}, {100, 50}, {70, 60}, {70, 55}}));

    // A head longer than the arrow is cut to its length; an outline arrow is three lines.
    t3.Recorder->Clear();
    t3.Canvas.DrawArrow(false, {50, 0}, {50, 10}, 8, 30, 0);
    const auto lines = t3.Recorder->OfKind("LineTo");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1]->Args, (std::vector<int>{54, 0}));
    EXPECT_EQ(lines[2]->Args, (std::vector<int>{46, 0}));
}

TEST(LumCanvas3D, ConesAndCylinders)
{
    T3DCanvas t3;
    t3.Start(true);
    t3.Canvas.DrawConeShape(true, 20, 10, 60, 80, 0, 20, false, 0);
    const auto polys = t3.Polygons();
    ASSERT_FALSE(polys.empty());
    const TPoint apex = t3.Canvas.ProjectXYZ(40, 10, 10);
    for (std::size_t i = 0; i + 1 < polys.size(); ++i) {
        // Sides meet at the apex: each quad has its two top corners there.
        EXPECT_EQ(polys[i]->Points[0], apex);
        EXPECT_EQ(polys[i]->Points[3], apex);
    }
    const auto& cap = polys.back()->Points;
    EXPECT_EQ(cap.size(), 16u);
    for (TPoint p : cap) EXPECT_EQ(p, apex);  // a degenerate cap

    // The side count is module state.
    LumCanvasModule().CylinderSideCount = 8;
    t3.Recorder->Clear();
    t3.Canvas.DrawCylinderShape(true, 20, 10, 60, 80, 0, 20, false);
    EXPECT_EQ(t3.Polygons().back()->Points.size(), 8u);
    ResetLumCanvasModule();
}

TEST(LumCanvas3D, BoxClipAndFlatDrawing)
{
    T3DCanvas flat;
    flat.Start(false);
    flat.Canvas.ClipToBox({10, 10, 50, 40}, 0, 20);
    flat.Canvas.FillRectWithBrush({0, 0, 100, 100});
    auto fill = flat.Recorder->OfKind("FillRect");
    ASSERT_EQ(fill.size(), 1u);
    EXPECT_TRUE(fill[0]->HasClip);
    EXPECT_EQ(fill[0]->ClipBox, (TRect{11, 11, 50, 39}));

    // In 3-D the clip is the hull of the projected corners; suspending rotation draws flat.
    T3DCanvas deep;
    deep.Start(true);
    deep.Canvas.ClipToBox({10, 10, 50, 40}, 0, 20);
    deep.Canvas.FillRectWithBrush({0, 0, 400, 300});
    fill = deep.Recorder->OfKind("FillRect");
    ASSERT_EQ(fill.size(), 1u);
    std::vector<TPoint> corners;
    for (int x : {10, 50})
        for (int y : {10, 40})
            for (int z : {0, 20}) corners.push_back(deep.Canvas.ProjectXYZ(x, y, z));
    EXPECT_EQ(fill[0]->ClipBox, PointsBoundingRect(corners));  // pixels whose centres lie inside

    deep.Canvas.SuspendRotation();
    deep.Canvas.SuspendRotation();
    deep.Canvas.ResumeRotation();
    EXPECT_EQ(deep.Canvas.ProjectXYZ(5, 6, 100), (TPoint{5, 6}));
    deep.Canvas.ResumeRotation();
    EXPECT_NE(deep.Canvas.ProjectXYZ(5, 6, 100), (TPoint{5, 6}));
    deep.Canvas.ResumeRotation();  // unbalanced: ignored
    EXPECT_FALSE(deep.Canvas.IsRotationSuspended());
}

TEST(LumCanvas3D, TextAndPicturesAtDepth)
{
    T3DCanvas t3;
    t3.Options.SetZoom(200);
    t3.Start(true);
    t3.Canvas.WriteTextAtZ(10, 20, 5, "z");
    const auto text = t3.Recorder->OfKind("TextOut");
    ASSERT_EQ(text.size(), 1u);
    const TPoint at = t3.Canvas.ProjectXYZ(10, 20, 5);
    EXPECT_EQ(text[0]->Args, (std::vector<int>{at.x, at.y}));
    EXPECT_EQ(text[0]->TextCmd.Font.PixelHeight, 21);  // 16 points
    EXPECT_EQ(t3.Canvas.Font().Size(), 8);             // and back

    // A 2 x 2 picture into 10 x 10 pixels: one quad per pixel in its colour.
    T3DCanvas flat;
    flat.Start(false);
    TBitmap picture(2, 2, pf24bit);
    picture.SetPixelRGB(0, 0, clRed);
    picture.SetPixelRGB(1, 1, clBlue);
    flat.Canvas.DrawPictureAtZ({0, 0, 10, 10}, &picture, 0);
    const auto quads = flat.Polygons();
    ASSERT_EQ(quads.size(), 4u);
    EXPECT_EQ(quads[0]->Points, (std::vector<TPoint>{{0, 0}, {5, 0}, {5, 5}, {0, 5}}));
    EXPECT_EQ(quads[0]->Shape.Brush.Color, clRed);
    EXPECT_EQ(quads[3]->Points, (std::vector<TPoint>{{5, 5}, {10, 5}, {10, 10}, {5, 10}}));
    EXPECT_EQ(quads[3]->Shape.Brush.Color, clBlue);
    EXPECT_TRUE(quads[0]->Shape.Pen.Null);
}

TEST(LumCanvas3D, PyramidsAndFrustumSeenObliquely)
{
    // Depth runs to the right and up: the right (or top) sides face the viewer, bases and backs do not.
    const TColor c = RGB(200, 160, 120);
    T3DCanvas t3;
    t3.Start(true);
    TLumCanvas3D& cv = t3.Canvas;
    cv.Brush().SetColor(c);
    cv.DrawPyramidShape(true, 40, 30, 80, 70, 0, 30, true);
    auto polys = t3.Polygons();
    ASSERT_EQ(polys.size(), 2u);
    const TPoint apex = cv.ProjectXYZ(60, 30, 15);
    EXPECT_EQ(polys[0]->Points, (std::vector<TPoint>{cv.ProjectXYZ(40, 70, 0), apex, cv.ProjectXYZ(80, 70, 0)}));
    EXPECT_EQ(polys[1]->Points, (std::vector<TPoint>{cv.ProjectXYZ(80, 70, 0), apex, cv.ProjectXYZ(80, 70, 30)}));
    EXPECT_EQ(polys[1]->Shape.Brush.Color, DarkenColorBy(c, 128));

    t3.Recorder->Clear();
    cv.Brush().SetColor(c);
    cv.DrawPyramidShape(false, 40, 30, 80, 70, 0, 30, true);
    polys = t3.Polygons();
    ASSERT_EQ(polys.size(), 2u);
    const TPoint tip = cv.ProjectXYZ(80, 50, 15);
    EXPECT_EQ(polys[1]->Points, (std::vector<TPoint>{cv.ProjectXYZ(40, 30, 0), tip, cv.ProjectXYZ(40, 30, 30)}));
    EXPECT_EQ(polys[1]->Shape.Brush.Color, DarkenColorBy(c, 64));

    // A frustum: the far face first, the near one last.
    t3.Recorder->Clear();
    cv.DrawFrustumShape({40, 30, 80, 70}, 0, 30, 10, 5);
    polys = t3.Polygons();
    ASSERT_GE(polys.size(), 3u);
    EXPECT_EQ(polys.front()->Points, Projected(cv, {{40, 70, 0}, {80, 70, 0}, {80, 70, 30}, {40, 70, 30}}));
    EXPECT_EQ(polys.back()->Points, Projected(cv, {{50, 30, 10}, {70, 30, 10}, {70, 30, 20}, {50, 30, 20}}));
}
