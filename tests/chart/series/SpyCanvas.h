// A chart canvas that logs its shape calls before drawing them, and a bench with it as the chart's
// canvas: fixed axes 0..10 both ways (x = 40 + 40 X, y = 320 - 30 Y), no axes drawn.
#pragma once

#include "SeriesTestSupport.h"

#include "chart/base/LumCanvasGdi.h"
#include "chart/series/ErrorBar.h"

#include <cmath>
#include <memory>
#include <span>
#include <string>
#include <vector>

// One logged drawing call: its name, its integer arguments and the pen colour and side count in force.
struct TCall {
    std::string Name;
    std::vector<int> Args;
    TColor PenColor = 0;
    TBrushStyle BrushStyle = bsSolid;
    int Sides = 0;
};

// The chart canvas with its shape calls logged before they draw.
class TSpyCanvas : public TLumCanvas3D {
public:
    std::vector<TCall> Calls;
    void Log(const std::string& Name, std::vector<int> Args)
    {
        Calls.push_back({Name, std::move(Args), Pen().Color(), Brush().Style(), LumCanvasModule().CylinderSideCount});
    }
    std::vector<TCall> Named(const std::string& Name) const
    {
        std::vector<TCall> r;
        for (const TCall& c : Calls)
            if (c.Name == Name) r.push_back(c);
        return r;
    }

    void DrawBoxShape(int L, int R, int T, int B, int Z0, int Z1, bool D) override
    {
        Log("Box", {L, R, T, B, Z0, Z1});
        TLumCanvas3D::DrawBoxShape(L, R, T, B, Z0, Z1, D);
    }
    void DrawPyramidShape(bool V, int L, int T, int R, int B, int Z0, int Z1, bool D) override
    {
        Log("Pyramid", {V, L, T, R, B});
        TLumCanvas3D::DrawPyramidShape(V, L, T, R, B, Z0, Z1, D);
    }
    void DrawConeShape(bool V, int L, int T, int R, int B, int Z0, int Z1, bool D, int P) override
    {
        Log("Cone", {V, L, T, R, B, P});
        TLumCanvas3D::DrawConeShape(V, L, T, R, B, Z0, Z1, D, P);
    }
    void DrawCylinderShape(bool V, int L, int T, int R, int B, int Z0, int Z1, bool D) override
    {
        Log("Cylinder", {V, L, T, R, B});
        TLumCanvas3D::DrawCylinderShape(V, L, T, R, B, Z0, Z1, D);
    }
    void DrawEllipseAtZ(int L, int T, int R, int B, int Z) override
    {
        Log("EllipseAtZ", {L, T, R, B, Z});
        TLumCanvas3D::DrawEllipseAtZ(L, T, R, B, Z);
    }
    void DrawEllipseBox(int L, int T, int R, int B) override
    {
        Log("Ellipse", {L, T, R, B});
        TLumCanvas3D::DrawEllipseBox(L, T, R, B);
    }
    void DrawArrowWithBody(bool F, TPoint From, TPoint To, int W, int H, int Z, double P) override
    {
        Log("Arrow", {From.x, From.y, To.x, To.y, W, H});
        TLumCanvas3D::DrawArrowWithBody(F, From, To, W, H, Z, P);
    }
    void DrawPolygonAtZ(std::span<const TPoint> Points, int Z) override
    {
        Log("PolygonAtZ", Flat(Points));
        TLumCanvas3D::DrawPolygonAtZ(Points, Z);
    }
    void DrawPolygonPoints(std::span<const TPoint> Points) override
    {
        Log("Polygon", Flat(Points));
        TLumCanvas3D::DrawPolygonPoints(Points);
    }
    void DrawRectangleBox(int L, int T, int R, int B) override
    {
        Log("Rect", {L, T, R, B});
        TLumCanvas3D::DrawRectangleBox(L, T, R, B);
    }
    void DrawLineXY(int X0, int Y0, int X1, int Y1) override
    {
        Log("Line", {X0, Y0, X1, Y1});
        TLumCanvas3D::DrawLineXY(X0, Y0, X1, Y1);
    }
    void DrawHorizLine(int X0, int X1, int Y) override
    {
        Log("HorizLine", {X0, X1, Y});
        TLumCanvas3D::DrawHorizLine(X0, X1, Y);
    }
    void DrawVertLine(int X, int Y0, int Y1) override
    {
        Log("VertLine", {X, Y0, Y1});
        TLumCanvas3D::DrawVertLine(X, Y0, Y1);
    }
    void DrawHorizLineAtZ(int X0, int X1, int Y, int Z) override
    {
        Log("HorizLineAtZ", {X0, X1, Y, Z});
        TLumCanvas3D::DrawHorizLineAtZ(X0, X1, Y, Z);
    }
    void DrawVertLineAtZ(int X, int Y0, int Y1, int Z) override
    {
        Log("VertLineAtZ", {X, Y0, Y1, Z});
        TLumCanvas3D::DrawVertLineAtZ(X, Y0, Y1, Z);
    }
    void DrawDepthLine(int X, int Y, int Z0, int Z1) override
    {
        Log("DepthLine", {X, Y, Z0, Z1});
        TLumCanvas3D::DrawDepthLine(X, Y, Z0, Z1);
    }
    void DrawPieWedge(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) override
    {
        Log("Pie", {X1, Y1, X2, Y2, X3, Y3, X4, Y4});
        TLumCanvas3D::DrawPieWedge(X1, Y1, X2, Y2, X3, Y3, X4, Y4);
    }
    // Angles in thousandths of a radian.
    void DrawPieSlice3D(int CX, int CY, int XR, int YR, int Z0, int Z1, double A, double B, bool Dark, bool Sides,
                        double Donut, TCustomLumGradient* Gradient) override
    {
        Log("PieSlice3D", {CX, CY, XR, YR, Z0, Z1, int(std::lround(A * 1000)), int(std::lround(B * 1000)), Sides,
                           int(Donut)});
        TLumCanvas3D::DrawPieSlice3D(CX, CY, XR, YR, Z0, Z1, A, B, Dark, Sides, Donut, Gradient);
    }
    void DrawRingSegment(int CX, int CY, int XR, int YR, double A, double B, double Donut) override
    {
        Log("Ring", {CX, CY, XR, YR, int(std::lround(A * 1000)), int(std::lround(B * 1000)), int(Donut)});
        TLumCanvas3D::DrawRingSegment(CX, CY, XR, YR, A, B, Donut);
    }
    void DrawBevelFrame(TRect& R, TColor Top, TColor Bottom, int Width) override
    {
        Log("Bevel", {R.Left, R.Top, R.Right, R.Bottom, int(Top), int(Bottom), Width});
        TLumCanvas3D::DrawBevelFrame(R, Top, Bottom, Width);
    }

private:
    static std::vector<int> Flat(std::span<const TPoint> Points)
    {
        std::vector<int> r;
        for (TPoint p : Points) {
            r.push_back(p.x);
            r.push_back(p.y);
        }
        return r;
    }
};

// Fixed axes 0..10 both ways (x = 40 + 40 X, y = 320 - 30 Y), no axes drawn, a spy as chart canvas.
struct TBarDrawBench : TSeriesBench {
    TSpyCanvas* Spy;
    TBarDrawBench(bool In3D = false)
    {
        auto spy = std::make_unique<TSpyCanvas>();
        Spy = spy.get();
        Chart.ReplaceChartCanvas(std::move(spy));
        FixAxes(0, 10, 0, 10);
        Chart.SetAxisVisible(false);
        Chart.SetView3D(In3D);
        if (In3D) Chart.View3DOptions().SetOrthogonal(true);
    }
    THorizBarSeries& AddHoriz(const std::vector<double>& Values)
    {
        std::vector<double> categories;
        for (std::size_t i = 0; i < Values.size(); ++i) categories.push_back(double(i));
        return Add<THorizBarSeries>(categories, Values);
    }
    // Lays out, then paints point Index of the series with a fresh log.
    void Paint(TChartSeries& S, int Index)
    {
        PrepareAndLayout();
        Spy->Calls.clear();
        S.PaintPoint(Index);
    }
};

