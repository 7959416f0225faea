// The cursor tool: its rectangle, hit test, value and pixel positions, snapping, exclusive-or drawing and
// the mouse.
#include "chart/control/LumToolsCursor.h"

#include "chart/base/LumProCo.h"
#include "chart/control/LumToolsDraw.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEngineSeries.h"

#include <cmath>
#include <cstdlib>

const TClassInfo& TCursorTool::StaticClassInfo()
{
    using P = TProps<TCursorTool>;
    using T = TCursorTool;
    static const TClassInfo info({
        .Name = "TCursorTool",
        .Parent = &TLumCustomToolSeries::StaticClassInfo(),
        .Properties =
            {
                P::Boolean("Active", &T::Active, &T::SetActive).Default(true),
                P::Integer("ClickTolerance", [](const T& t) { return t.ClickTolerance; },
                           [](T& t, int v) { t.ClickTolerance = v; })
                    .Default(3),
                P::Boolean("FollowMouse", [](const T& t) { return t.FollowMouse; }, [](T& t, bool v) { t.FollowMouse = v; })
                    .Default(false),
                P::Object("Pen", [](const T& t) -> TPersistent* { return &t.Pen(); }),
                P::Boolean("Snap", [](const T& t) { return t.Snap; }, [](T& t, bool v) { t.Snap = v; }).Default(false),
                P::Enumeration("Style", CursorToolStyleNames, &T::Style, &T::SetStyle).Default(cssBoth),
                P::Boolean("UseSeriesZ", &T::UseSeriesZ, &T::SetUseSeriesZ).Default(false),
            },
        .Create = &CreateComponentOf<TCursorTool>,
    });
    return info;
}

TCursorTool::TCursorTool(TComponent* AOwner) : TLumCustomToolSeries(AOwner) {}

std::string TCursorTool::DescriptionText() const { return LumProCo::CursorTool; }

void TCursorTool::SetStyle(TCursorToolStyle Value)
{
    if (FStyle == Value) return;
    FStyle = Value;
    SnapToPoint();
    InvalidateChart();
}

void TCursorTool::SetSeries(TChartSeries* Value)
{
    TLumCustomToolSeries::SetSeries(Value);
    LastSnapIndex = -1;
    if (Series() && !ComponentState().Contains(csLoading)) {
        SnapToPoint();
        InvalidateChart();
    }
}

void TCursorTool::Changed(int ValueIndex)
{
    if (OnChange) OnChange(this, CursorX, CursorY, XValue, YValue, Series(), ValueIndex);
}

// ---- Geometry --------------------------------------------------------------------------------------------

TRect TCursorTool::GetCursorRect()
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return {};
    if (UseChartRect) return chart->ChartRect();
    TRect r;
    if (const TChartAxis* h = GetHorizAxis()) {
        r.Left = h->StartPixel;
        r.Right = h->EndPixel;
    }
    if (const TChartAxis* v = GetVertAxis()) {
        r.Top = v->StartPixel;
        r.Bottom = v->EndPixel;
    }
    if (OnGetCursorRect) OnGetCursorRect(this, r);
    return r;
}

int TCursorTool::CursorDepth() const { return FUseSeriesZ && Series() ? Series()->StartZ() : 0; }

void TCursorTool::Unproject(int& X, int& Y)
{
    if (FUseSeriesZ && ParentChart()) ParentChart()->ChartCanvas().UnprojectPoint(X, Y, CursorDepth());
}

bool TCursorTool::InCursorArea(int X, int Y)
{
    Unproject(X, Y);
    const TRect r = GetCursorRect();
    return X >= r.Left && X <= r.Right && Y >= r.Top && Y <= r.Bottom;
}

int TCursorTool::HitTest(int X, int Y)
{
    if (!InCursorArea(X, Y)) return 0;
    Unproject(X, Y);
    const long long dy = std::llabs(static_cast<long long>(Y) - CursorY);
    const long long dx = std::llabs(static_cast<long long>(X) - CursorX);
    const bool nearH = dy <= ClickTolerance, nearV = dx <= ClickTolerance;
    if (FStyle == cssBoth && nearH && nearV) return 3;
    if ((FStyle == cssHorizontal || FStyle == cssBoth) && nearH) return 1;
    if ((FStyle == cssVertical || FStyle == cssBoth) && nearV) return 2;
    return 0;
}

void TCursorTool::PositionFromPixels(int X, int Y)
{
    const TChartAxis* h = GetHorizAxis();
    const TChartAxis* v = GetVertAxis();
    if (DragPart != 2 && v) YValue = v->PixelToValue(Y);
    if (DragPart != 1 && h) XValue = h->PixelToValue(X);
}

void TCursorTool::PixelsFromPosition()
{
    if (const TChartAxis* h = GetHorizAxis()) CursorX = h->CalcPosValue(XValue);
    if (const TChartAxis* v = GetVertAxis()) CursorY = v->CalcPosValue(YValue);
    FSizeInUse = ShapeSize;
}

// ---- Snapping --------------------------------------------------------------------------------------------

int TCursorTool::NearestPoint() const
{
    const TChartSeries* s = Series();
    int first = 0, last = -1;
    if (!s || !VisibleIndexRange(*s, first, last)) return -1;
    int best = -1;
    double bestDistance = 0;
    for (int i = first; i <= last; ++i) {
        const double dx = XValue - s->XValueAt(i), dy = YValue - s->YValueAt(i);
        const double d = FStyle == cssHorizontal ? std::fabs(dy) : FStyle == cssVertical ? std::fabs(dx) : std::sqrt(dx * dx + dy * dy);
        if (best == -1 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

int TCursorTool::SnapToPoint()
{
    if (!Series() || !Snap) return -1;
    const int i = NearestPoint();
    if (i == -1) return -1;
    if (FStyle != cssVertical) YValue = Series()->YValueAt(i);
    if (FStyle != cssHorizontal) XValue = Series()->XValueAt(i);
    return i;
}

// ---- Drawing ---------------------------------------------------------------------------------------------

void TCursorTool::DrawCursor()
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    TToolRasterDrawing xorDrawing(*chart, pmXor);
    TCanvas3D& canvas = xorDrawing.Canvas();
    xorDrawing.SelectPen(Pen(), ColorToRGB(Pen().Color()) ^ ChartFaceRGB(*chart));
    canvas.Brush().SetStyle(bsClear);
    const TRect r = GetCursorRect();
    const int z = CursorDepth(), s = FSizeInUse;
    const bool view3D = chart->View3D();
    const bool shape = DrawAsSquare || DrawAsEllipse;
    if (FStyle != cssVertical) {
        if (DrawAsSquare) {
            if (view3D) canvas.RectangleAtZ(CursorX - s, CursorY - s, CursorX + s, CursorY + s, z);
            else canvas.DrawRectangleBox(CursorX - s, CursorY - s, CursorX + s, CursorY + s);
        } else if (DrawAsEllipse) {
            if (view3D) canvas.DrawEllipseAtZ(CursorX - s, CursorY - s, CursorX + s, CursorY + s, z);
            else canvas.DrawEllipseBox(CursorX - s, CursorY - s, CursorX + s, CursorY + s);
        } else if (view3D) {
            canvas.DrawHorizLineAtZ(r.Left, r.Right, CursorY, z);
        } else {
            canvas.DrawHorizLine(r.Left, r.Right, CursorY);
        }
    }
    if (FStyle != cssHorizontal && !shape) {
        if (view3D) canvas.DrawVertLineAtZ(CursorX, r.Top, r.Bottom, z);
        else canvas.DrawVertLine(CursorX, r.Top, r.Bottom);
    }
}

// ---- Chart stages and mouse ------------------------------------------------------------------------------

void TCursorTool::NotifyChartStage(int Stage)
{
    if (Stage != 0) return;
    CursorX = -1;
    CursorY = -1;
}

void TCursorTool::MouseMoved(int X, int Y)
{
    TCustomAxisPanel* chart = ParentChart();
    const bool inside = InCursorArea(X, Y);
    if ((DragPart != 0 || FollowMouse) && (inside || WasInside)) {
        if (CursorX != -1) DrawCursor();
        if (inside) {
            int x = X, y = Y;
            Unproject(x, y);
            PositionFromPixels(x, y);
            const int index = SnapToPoint();
            PixelsFromPosition();
            DrawCursor();
            Changed(index);
            if (OnSnapChange && index != LastSnapIndex) OnSnapChange(this, CursorX, CursorY, XValue, YValue, Series(), index);
            LastSnapIndex = index;
            WasInside = true;
            return;
        }
        WasInside = false;
        CursorX = -1;
    }
    const int part = HitTest(X, Y);
    static constexpr TCursor cursors[] = {crDefault, crVSplit, crHSplit, crSizeAll};
    if (part != 0) chart->SetCursor(cursors[part]);
    chart->SetCancelMouse(part != 0);
}

void TCursorTool::HandleChartMouse(TChartMouseKind Kind, TMouseButton, TShiftState, int X, int Y)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    switch (Kind) {
    case TChartMouseKind::Press:
        if (FollowMouse) return;
        DragPart = HitTest(X, Y);
        if (DragPart != 0) chart->SetCancelMouse(true);
        break;
    case TChartMouseKind::Move: MouseMoved(X, Y); break;
    case TChartMouseKind::Release: DragPart = 0; break;
    }
}
