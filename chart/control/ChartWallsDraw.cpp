// The chart's passes around the engine's drawing: the room for depth and walls, the walls behind the
// series, titles and legend in their order, and the 3-D walls and axes that lie in front of the series.
#include "chart/control/ChartControl.h"

#include "chart/base/LumCanvasHelpers.h"
#include "chart/engine/LumEngineAxis.h"

#include <cstdlib>
#include <memory>

namespace {

// Suspends the canvas' rotation (titles and legend are flat) and resumes it on every exit.
class TFlatDrawing {
public:
    explicit TFlatDrawing(TCanvas3D& Canvas) : FCanvas(Canvas) { FCanvas.SuspendRotation(); }
    ~TFlatDrawing() { Resume(); }
    TFlatDrawing(const TFlatDrawing&) = delete;
    TFlatDrawing& operator=(const TFlatDrawing&) = delete;
    void Resume()
    {
        if (FSuspended) FCanvas.ResumeRotation();
        FSuspended = false;
    }

private:
    TCanvas3D& FCanvas;
    bool FSuspended = true;
};

// A translucent wall: the background under its bounds is captured first and mixed back at the end.
class TWallBlend {
public:
    TWallBlend(TCanvas3D& Canvas, const TRect& Bounds, int Percent) : FCanvas(Canvas)
    {
        if (Percent > 0) FBlend = FCanvas.BeginTransparency(Bounds, Percent);
    }
    ~TWallBlend()
    {
        if (FBlend) FCanvas.EndTransparency(std::move(FBlend));
    }
    TWallBlend(const TWallBlend&) = delete;
    TWallBlend& operator=(const TWallBlend&) = delete;

private:
    TCanvas3D& FCanvas;
    std::unique_ptr<TLumBlend> FBlend;
};

} // namespace

// ---- Layout ----------------------------------------------------------------------------------------------

void TCustomChart::FitChartRectTo3D()
{
    ComputeDepthSizes();
    if (View3D() && View3DOptions().Orthogonal() && !CustomChartRect()) {
        const int s = WallsRelevant() ? BackWall().Size() : 0;
        TRect r = ChartRect();
        const int depth = std::abs(Width3D()) + s;
        if (View3DOptions().OrthoAngle() > 90)
            r.Left += depth + (LeftWall().Visible() ? LeftWall().Size() + 1 : 0);
        else
            r.Right -= depth + (RightWall().Visible() ? RightWall().Size() + 1 : 0);
        r.Top += std::abs(Height3D()) + s;
        SetChartRect(r);
    }
    RecalcChartRect();
}

int TCustomChart::WallBottom() const { return ChartRect().Bottom + WallSizeForAxis(BottomAxis()); }

bool TCustomChart::SidePlaneCulled(int X)
{
    TCanvas3D& canvas = ChartCanvas();
    if (canvas.HasOwnRenderer()) return true;
    const int bottom = WallBottom();
    return IsTriangleCulled(canvas.ProjectXYZ(X, ChartRect().Top, 0), canvas.ProjectXYZ(X, bottom, 0),
                            canvas.ProjectXYZ(X, bottom, Width3D() + BackWall().Size()));
}

bool TCustomChart::RightWallInFront() { return !SidePlaneCulled(ChartRect().Right); }

bool TCustomChart::LeftWallInFront() { return SidePlaneCulled(ChartRect().Left); }

// ---- Titles and legend -----------------------------------------------------------------------------------

void TCustomChart::DrawTitles(bool CustomPositioned)
{
    for (TChartTitle* title : {FTitle.get(), FSubTitle.get(), static_cast<TChartTitle*>(FFoot.get()),
                               static_cast<TChartTitle*>(FSubFoot.get())})
        if (title->CustomPosition() == CustomPositioned) title->DrawTitle();
}

void TCustomChart::PaintLegendAndTitles(bool BeforeSeries)
{
    TFlatDrawing flat(ChartCanvas());
    TChartLegend& legend = *FLegend;
    if (BeforeSeries) {
        const bool withLegend = !legend.CustomPosition() && legend.ShouldDraw();
        if (!withLegend) {
            DrawTitles(false);
        } else if (legend.IsSideAligned()) {
            legend.DrawLegend();
            DrawTitles(false);
        } else {
            DrawTitles(false);
            legend.DrawLegend();
        }
        return;
    }
    if (legend.CustomPosition() && legend.ShouldDraw()) legend.DrawLegend();
    DrawTitles(true);
    flat.Resume();
    if (WallsRelevant() && View3D()) PaintFrontParts();
}

// The side walls and axes that face the viewer, and, when the view is turned around, the top and bottom
// grids and the back wall, drawn over the series.
void TCustomChart::PaintFrontParts()
{
    auto drawn = [this](const TCustomChartWall& wall) {
        return View3DWalls() && wall.Visible() && !wall.AutoHide();
    };
    if (RightWallInFront()) {
        if (drawn(RightWall())) PaintSideWall(RightWall(), false);
        if (IsAxisShown(RightAxis())) PaintAxisInFront(RightAxis());
    }
    if (LeftWallInFront()) {
        if (drawn(LeftWall())) PaintSideWall(LeftWall(), true);
        if (IsAxisShown(LeftAxis())) PaintAxisInFront(LeftAxis());
    }
    if (IsPlaneSeenFromBehind(Width3D())) {
        if (IsAxisShown(TopAxis())) PaintGridInFront(TopAxis());
        if (IsAxisShown(BottomAxis())) PaintGridInFront(BottomAxis());
        if (drawn(BackWall())) PaintBackWall();
    }
}

void TCustomChart::PaintAxisInFront(TChartAxis& Axis)
{
    Axis.SkipWallGrid = true;
    try {
        Axis.PaintAxis(true);
    } catch (...) {
        Axis.SkipWallGrid = false;
        throw;
    }
    Axis.SkipWallGrid = false;
}

void TCustomChart::PaintGridInFront(TChartAxis& Axis)
{
    Axis.SkipSideGrid = true;
    try {
        Axis.PaintGridLines(static_cast<int>(Axis.TickPositions.size()));
    } catch (...) {
        Axis.SkipSideGrid = false;
        throw;
    }
    Axis.SkipSideGrid = false;
}

// ---- Walls -----------------------------------------------------------------------------------------------

void TCustomChart::PaintWalls()
{
    if (!WallsRelevant()) return;
    if (View3D() && View3DWalls() && RightWall().Visible() && !RightWallInFront()) PaintSideWall(RightWall(), false);
    if (View3DWalls() && BackWall().Visible() && !IsPlaneSeenFromBehind(Width3D())) PaintBackWall();
    if (!View3D() || !View3DWalls()) return;
    if (LeftWall().Visible() && !LeftWallInFront()) PaintSideWall(LeftWall(), true);
    if (BottomWall().Visible()) PaintBottomWall();
    if (IsPlaneSeenFromBehind(0)) {
        if (IsAxisShown(TopAxis())) TopAxis().PaintAxis(true);
        if (IsAxisShown(BottomAxis())) BottomAxis().PaintAxis(true);
    }
}

void TCustomChart::SelectWallPenBrush(TCustomChartWall& Wall)
{
    TCanvas3D& canvas = ChartCanvas();
    canvas.SelectPen(Wall.Pen());
    if (Wall.Transparent())
        canvas.Brush().SetStyle(bsClear);
    else
        SelectBrushContrast(Wall.Color(), Wall.Brush(), Wall.Brush().Color());
}

namespace {

// An opaque wall's gradient fills its projected quad; the plane drawn next only outlines it.
void FillWallGradient(TCanvas3D& Canvas, TCustomChartWall& Wall, const TFourPoints& Corners)
{
    if (Wall.Transparent() || !Wall.HasGradient() || !Wall.Gradient().Visible()) return;
    Wall.Gradient().FillQuad(Canvas, Corners);
    Canvas.Brush().SetStyle(bsClear);
}

} // namespace

void TCustomChart::PaintSideWall(TCustomChartWall& Wall, bool IsLeft)
{
    TCanvas3D& canvas = ChartCanvas();
    SelectWallPenBrush(Wall);
    const TRect& r = ChartRect();
    const int x = IsLeft ? r.Left : r.Right;
    const int bottom = WallBottom();
    const int depth = Width3D();
    const TFourPoints corners{canvas.ProjectXYZ(x, r.Top, 0), canvas.ProjectXYZ(x, r.Top, depth),
                              canvas.ProjectXYZ(x, bottom, depth), canvas.ProjectXYZ(x, bottom, 0)};
    TWallBlend blend(canvas, PointsBoundingRect(corners), Wall.Transparent() ? 0 : Wall.Transparency());
    FillWallGradient(canvas, Wall, corners);
    const int size = Wall.Size();
    if (IsLeft) {
        if (size < 1)
            canvas.DrawSidePlane(r.Left, r.Top, bottom, 0, depth);
        else
            canvas.DrawBoxShape(r.Left - size, r.Left, r.Top, bottom, 0, depth, Wall.DarkSides());
    } else {
        if (size < 1)
            canvas.DrawSidePlane(r.Right, r.Top, bottom, 0, depth + 1);
        else
            canvas.DrawBoxShape(r.Right, r.Right + size, r.Top, bottom, 0,
                                depth + (BackWall().Visible() ? BackWall().Size() : 0), Wall.DarkSides());
    }
}

void TCustomChart::PaintBottomWall()
{
    TCanvas3D& canvas = ChartCanvas();
    TCustomChartWall& wall = BottomWall();
    SelectWallPenBrush(wall);
    const TRect& r = ChartRect();
    const int y = r.Bottom;
    const int depth = Width3D();
    int x0 = r.Left;
    if (LeftWall().Visible() && LeftWall().AutoHide() && LeftWallInFront()) x0 -= WallSizeForAxis(LeftAxis());
    const TFourPoints corners{canvas.ProjectXYZ(x0, y, 0), canvas.ProjectXYZ(x0, y, depth),
                              canvas.ProjectXYZ(r.Right, y, depth), canvas.ProjectXYZ(r.Right, y, 0)};
    TWallBlend blend(canvas, PointsBoundingRect(corners), wall.Transparent() ? 0 : wall.Transparency());
    FillWallGradient(canvas, wall, corners);
    if (wall.Size() < 1)
        canvas.DrawHorizPlane(x0, y, r.Right, 0, depth);
    else
        canvas.DrawBoxShape(x0, r.Right, y, y + wall.Size(), 0, depth, wall.DarkSides());
}

void TCustomChart::PaintBackWall()
{
    TCanvas3D& canvas = ChartCanvas();
    TChartBackWall& wall = BackWall();
    SelectWallPenBrush(wall);
    const TRect& c = ChartRect();
    const bool gradient = !wall.Transparent() && wall.HasGradient() && wall.Gradient().Visible();
    const int depth = Width3D();
    if (!View3D()) {
        const TRect r{c.Left, c.Top, c.Right + 1, c.Bottom + 1};
        TWallBlend blend(canvas, r, wall.Transparency());
        if (gradient) {
            wall.Gradient().DrawRect(canvas, r);
            canvas.Brush().SetStyle(bsClear);
        }
        canvas.DrawRect(r);
        if (HasBackImage() && BackImageInside())
            DrawBackImage(wall.Pen().Visible() ? TRect{c.Left + 1, c.Top + 1, c.Right, c.Bottom} : c, 0);
        return;
    }
    const int s = depth < 0 ? -wall.Size() : wall.Size();
    const TRect r = wall.Size() < 1 ? c : TRect{c.Left - WallSizeForAxis(LeftAxis()), c.Top, c.Right, WallBottom()};
    TWallBlend blend(canvas, canvas.ProjectedRectBounds(r, depth), wall.Transparency());
    if (gradient) {
        if (View3DOptions().Orthogonal())
            wall.Gradient().DrawRect(canvas, canvas.ProjectRect(r, depth));
        else
            wall.Gradient().FillQuad(canvas, canvas.ProjectRectCorners(r, depth));
        canvas.Brush().SetStyle(bsClear);
    }
    if (wall.Size() < 1)
        canvas.DrawRectAtDepth(r, depth);
    else
        canvas.DrawBoxShape(r.Left, r.Right, r.Top, r.Bottom, depth, depth + s, wall.DarkSides());
    if (HasBackImage() && BackImageInside())
        DrawBackImage(wall.Pen().Visible() ? TRect{c.Left + 1, c.Top + 1, c.Right, c.Bottom} : c, depth);
}
