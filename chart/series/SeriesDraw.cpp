// The line family's drawing: the shadow, outline and normal passes over the visible points, one point with
// the segment that leads into it (line, band or ribbon in 3-D, stairs, the area down to its origin) and
// its pointer, and the pointer symbol in a legend rectangle.
#include "chart/series/SeriesDraw.h"

#include "chart/series/SeriesColumns.h"
#include "chart/series/SeriesLine.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <typeinfo>

namespace {

// The category (u) and value (v) directions of a series: x and y of a vertical series, y and x of a
// horizontal one, so that one set of rules draws both.
struct TUV {
    bool Vertical;
    TPoint At(int u, int v) const { return Vertical ? TPoint{u, v} : TPoint{v, u}; }
    TRect Rect(int u0, int u1, int v0, int v1) const { return Vertical ? TRect{u0, v0, u1, v1} : TRect{v0, u0, v1, u1}; }
    // A plane between the depths along the category direction at value v, and along the value direction.
    void PlaneAlongU(TCanvas3D& c, int u0, int u1, int v, int z0, int z1) const
    {
        if (Vertical)
            c.DrawHorizPlane(u0, v, u1, z0, z1);
        else
            c.DrawSidePlane(v, u0, u1, z0, z1);
    }
    void PlaneAlongV(TCanvas3D& c, int u, int v0, int v1, int z0, int z1) const
    {
        if (Vertical)
            c.DrawSidePlane(u, v0, v1, z0, z1);
        else
            c.DrawHorizPlane(v0, u, v1, z0, z1);
    }
    void LineAtZ(TCanvas3D& c, TPoint a, TPoint b, int z) const { c.DrawLineAtZ(a.x, a.y, b.x, b.y, z); }
};

// The shadow pass moves the axes' pixel spans; they come back on every exit.
class TAxisShift {
public:
    TAxisShift(TChartAxis* Axis, int Offset) : FAxis(Axis), FOffset(Offset)
    {
        if (!FAxis) return;
        FAxis->StartPixel += Offset;
        FAxis->EndPixel += Offset;
    }
    ~TAxisShift()
    {
        if (!FAxis) return;
        FAxis->StartPixel -= FOffset;
        FAxis->EndPixel -= FOffset;
    }
    TAxisShift(const TAxisShift&) = delete;
    TAxisShift& operator=(const TAxisShift&) = delete;

private:
    TChartAxis* FAxis;
    int FOffset;
};

// Restores a value on every exit.
template <class T>
class TRestore {
public:
    TRestore(T& Field, T Value) : FField(Field), FOld(Field) { Field = Value; }
    ~TRestore() { FField = FOld; }
    TRestore(const TRestore&) = delete;
    TRestore& operator=(const TRestore&) = delete;

private:
    T& FField;
    T FOld;
};

} // namespace

// ---- Passes ----------------------------------------------------------------------------------------------

void TCustomSeries::PaintAllPoints()
{
    if (!ParentChart()) return;
    if (FShadow->MaxOffset() != 0) {
        const TRestore color(FPassColor, FShadow->Color());
        const TRestore hide(FPassHidesPointer, true);
        const TAxisShift horizontal(GetHorizAxis(), FShadow->HorizSize());
        const TAxisShift vertical(GetVertAxis(), FShadow->VertSize());
        PaintPass();
    }
    if (FOutLine->Visible()) {
        TChartPen outline;
        outline.Assign(*FOutLine);
        outline.SetWidth(2 * LinePen().Width() + FOutLine->Width() + 1);
        const TRestore color(FPassColor, FOutLine->Color());
        const TRestore pen(FPassPen, static_cast<const TChartPen*>(&outline));
        PaintPass();
    }
    PaintPass();
}

void TCustomSeries::PaintPass()
{
    struct TPassScope {
        TCustomSeries& S;
        explicit TPassScope(TCustomSeries& Series) : S(Series)
        {
            S.FInPass = true;
            S.FLinePenColor = clNone;
            S.FLineRun.clear();
        }
        ~TPassScope()
        {
            S.FInPass = false;
            S.FLinePenColor = clNone;
            S.FLineRun.clear();
        }
    } scope(*this);
    if (PaintThinnedLine()) return;
    TCustomLineSeries::PaintAllPoints();
    FlushLineRun();
}

bool TCustomSeries::PaintThinnedLine()
{
    TCustomAxisPanel* chart = ParentChart();
    const TChartAxis* h = GetHorizAxis();
    const TChartAxis* v = GetVertAxis();
    const int first = FirstVisible(), last = LastVisible();
    if (!chart || !h || !v || first < 0 || last < first) return false;
    const bool forward = DrawsForward();
    const bool entry = forward && first > 0;
    // Only a plain line whose thinned drawing lights the full line's pixels: one unbroken run of a thin
    // solid pen in one colour, in 2-D on pixels, without stairs, stacking or pointers, with more points
    // than pixel columns. Kinds derived from the line series may draw their points their own way.
    if (!SeriesColumnsSettings().Thinning || typeid(*this) != typeid(TLineSeries) || chart->View3D() || !Vertical() ||
        !FDrawLine || FDrawArea || FStairs || FStacked != cssNone || (FPointer->Visible() && !FPassHidesPointer) ||
        ColorEachPoint() || NullFlags() || last - first + 1 <= chart->ChartWidth() || !PenAllowsThinning(LinePenInUse()) ||
        !CanvasAllowsThinning(chart->ChartCanvas()) || PassSeriesColor() == clNone ||
        StoresColorIn(clNone, entry ? first - 1 : first, last))
        return false;
    TCanvas3D& canvas = chart->ChartCanvas();
    PrepareLinePen(canvas, PassSeriesColor());
    const TPoint lead = entry ? EntryPoint(first) : TPoint{};
    const TPoint end = DrawThinnedLine(*h, *v, XValues().Values(), YValues().Values(), XValues().RunsAscending(), first,
                                       last, !forward, entry ? &lead : nullptr, FLineRun,
                                       [&canvas](std::span<const TPoint> Piece) { canvas.DrawPolylinePoints(Piece); });
    // The state the walk leaves behind: its last point.
    FOldX = end.x;
    FOldY = end.y;
    FOldColor = PassSeriesColor();
    FBottomPos = FOldBottomPos = OriginPosition(forward ? last : first);
    return true;
}

bool TCustomSeries::CanCollectLine() const
{
    const TChartPen& pen = LinePenInUse();
    return FInPass && pen.Width() <= 1 && pen.Style() == psSolid && !pen.SmallDots() && pen.Visible();
}

void TCustomSeries::FlushLineRun()
{
    // The run is only collected for a thin solid pen in 2-D; thinning keeps every pixel where the canvas
    // draws on pixels and the pen paints over what lies below.
    TCanvas3D& canvas = ParentChart()->ChartCanvas();
    if (PenAllowsThinning(LinePenInUse()) && CanvasAllowsThinning(canvas)) ReduceRunByColumns(FLineRun);
    if (FLineRun.size() >= 2) canvas.DrawPolylinePoints(FLineRun);
    FLineRun.clear();
}

TColor TCustomSeries::DrawColorOf(int Index) const
{
    if (FPassColor == clNone) return PointColor(Index);
    const TColor stored = StoredPointColor(Index);
    if (stored == clNone) return clNone;
    if (stored == clDefault && !ColorEachPoint()) return FPassColor;
    return PointColor(Index);
}

bool TCustomSeries::IsFirstDrawn(int Index) const { return Index == StartDrawIndex(); }

bool TCustomSeries::IsLastDrawn(int Index) const { return Index == (DrawsForward() ? LastVisible() : FirstVisible()); }

// ---- One point -------------------------------------------------------------------------------------------

void TCustomSeries::PaintPoint(int Index)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    const int x = ScreenXOf(Index), y = ScreenYOf(Index);
    const TColor color = DrawColorOf(Index);
    if (FOldColor == clNone) {
        FOldX = x;
        FOldY = y;
    }
    FBottomPos = OriginPosition(Index);
    if (!IsFirstDrawn(Index)) {
        DrawSegment(Index, x, y, color, true);
    } else {
        const TUV uv{Vertical()};
        if (FDark3D) {
            const int w = chart->SeriesWidth3D(), h = chart->SeriesHeight3D();
            FDarkSlope = w == 0 ? 1 : std::fabs(static_cast<double>(h) / w);
        }
        if (DrawsForward() && Index > 0) {
            if (FDrawArea) {
                FOldX = ScreenXOf(Index - 1);
                FOldY = ScreenYOf(Index - 1);
                FOldBottomPos = OriginPosition(Index - 1);
            } else {
                const TPoint p = EntryPoint(Index);
                FOldX = p.x;
                FOldY = p.y;
            }
            if (!PointIsNull(Index - 1)) {
                FOldColor = DrawColorOf(Index - 1);
                DrawSegment(Index, x, y, color, false);
            }
        }
        if (IsLastDrawn(Index) || DrawsForward() || FPointer->Visible())
            DrawPointer(x, y, Index, color == clNone ? FPointer->GetBrushColor() : color);
        if (canvas.HasOwnRenderer() && FDrawArea && chart->View3D())
            uv.PlaneAlongV(canvas, Vertical() ? x : y, Vertical() ? y : x, FBottomPos, StartZ(), EndZ());
    }
    FOldX = x;
    FOldY = y;
    FOldBottomPos = FBottomPos;
    FOldColor = color;
}

TPoint TCustomSeries::EntryPoint(int Index) const
{
    // The segment enters from the chart's edge at the height the line has there.
    const TRect& r = ParentChart()->ChartRect();
    const TUV uv{Vertical()};
    int edge, level;
    if (Vertical()) {
        const bool inverted = GetHorizAxis() && GetHorizAxis()->Inverted();
        edge = inverted ? r.Right : r.Left;
        level = FStairs ? ScreenYOf(Index - 1) : EdgeValueAt(HorizPixelToValue(edge), Index - 1);
    } else {
        const bool inverted = GetVertAxis() && GetVertAxis()->Inverted();
        edge = inverted ? r.Top : r.Bottom;
        level = FStairs ? ScreenXOf(Index - 1) : EdgeValueAt(VertPixelToValue(edge), Index - 1);
    }
    return uv.At(edge, level);
}

int TCustomSeries::EdgeValueAt(double V, int J) const
{
    const double a = OtherValues().ValueAt(J), b = OtherValues().ValueAt(J + 1);
    const double ya = MandatoryValueAt(J), yb = MandatoryValueAt(J + 1);
    if (a == b) return MandatoryValueToPixel(ya);
    const double t = (V - a) / (b - a);
    const TChartAxis* axis = MandatoryAxis();
    double value;
    if (axis && axis->Logarithmic() && axis->SignedLogMode) {
        const double c = axis->SignedLogScale;
        const double ua = SymLogTransform(c, ya), ub = SymLogTransform(c, yb);
        value = SymLogInverse(c, ua + t * (ub - ua));
    } else if (axis && axis->Logarithmic() && ya > 0 && yb > 0) {
        value = std::exp(std::log(ya) + t * (std::log(yb) - std::log(ya)));
    } else {
        value = ya + t * (yb - ya);
    }
    return MandatoryValueToPixel(value);
}

// ---- The segment into a point ----------------------------------------------------------------------------

void TCustomSeries::DrawSegment(int Index, int X, int Y, TColor Color, bool WithPointer)
{
    if (X != FOldX || Y != FOldY) {
        DrawLineSegment(Index, X, Y, Color);
        // A segment into a null point takes the previous point's colour, as the line does.
        if (FDrawArea) DrawAreaSegment(Index, X, Y, Color == clNone ? FOldColor : Color);
    }
    if (WithPointer) DrawPointerAfterSegment(Index, X, Y, Color);
}

void TCustomSeries::DrawLineSegment(int Index, int X, int Y, TColor Color)
{
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& canvas = chart->ChartCanvas();
    const TUV uv{Vertical()};
    const int u = Vertical() ? X : Y, v = Vertical() ? Y : X;
    const int pu = Vertical() ? FOldX : FOldY, pv = Vertical() ? FOldY : FOldX;
    const TColor own = Color == clNone ? FOldColor : Color;
    if (chart->View3D()) {
        if (!FDrawArea && !FDrawLine) return;
        const int z0 = StartZ(), z1 = EndZ();
        canvas.SelectPen(LinePenInUse());
        const TColor brush = FColorEachLine || FDrawArea ? AreaColorOf(own) : PassSeriesColor();
        canvas.SelectBrush(Brush(), brush);
        const TColor dark = FDark3D ? DarkenColorBy(brush, DarkColorAmount) : brush;
        if (FStairs) {
            if (!FInvertedStairs) {
                uv.PlaneAlongU(canvas, pu, u, pv, z0, z1);
                canvas.Brush().SetColor(dark);
                uv.PlaneAlongV(canvas, u, v, pv, z0, z1);
            } else {
                canvas.Brush().SetColor(dark);
                uv.PlaneAlongV(canvas, pu, pv, v, z0, z1);
                canvas.Brush().SetColor(brush);
                uv.PlaneAlongU(canvas, u, pu, v, z0, z1);
            }
            canvas.Brush().SetColor(brush);
            return;
        }
        const bool band = FLineHeight > 0 && !FDrawArea;
        if (band) {
            const std::array<TLumPointF, 4> front{TLumPointF{double(X), double(Y)}, TLumPointF{double(FOldX), double(FOldY)},
                                                  TLumPointF{double(FOldX), double(FOldY + FLineHeight)},
                                                  TLumPointF{double(X), double(Y + FLineHeight)}};
            canvas.DrawQuadTwoDepths(front, z0, z0);
            if (IsLastDrawn(Index)) canvas.DrawSidePlane(X, Y, Y + FLineHeight, z0, z1);
        }
        TPoint a{X, Y}, b{FOldX, FOldY};
        if (FDark3D && !canvas.HasOwnRenderer() && X != FOldX && FDarkSlope != 0 &&
            static_cast<double>(FOldY - Y) / (X - FOldX) > FDarkSlope) {
            canvas.Brush().SetColor(dark);
            if (band) {
                a.y += FLineHeight;
                b.y += FLineHeight;
            }
        }
        if (canvas.IsMonochrome()) canvas.Brush().SetColor(clWhite);
        canvas.DrawPlaneBetweenDepths(a, b, z0, z1);
        canvas.Brush().SetColor(brush);
        return;
    }
    if (FDrawArea || !FDrawLine) return;
    const TColor lineColor = ColorEachPoint() && FColorEachLine ? own : PassSeriesColor();
    if (lineColor != FLinePenColor) {
        FlushLineRun();
        PrepareLinePen(canvas, lineColor);
        FLinePenColor = FInPass ? lineColor : clNone;
    }
    if (!FStairs && FOldColor != clNone && CanCollectLine()) {
        const TPoint from{FOldX, FOldY};
        if (FLineRun.empty() || FLineRun.back() != from) {
            FlushLineRun();
            FLineRun.push_back(from);
        }
        FLineRun.push_back({X, Y});
        // Long runs go out in pieces sharing their end points, so the buffer stays bounded.
        if (FLineRun.size() >= (1u << 16)) {
            FlushLineRun();
            FLineRun.push_back({X, Y});
        }
        return;
    }
    FlushLineRun();
    if (FStairs) {
        const TPoint corner = FInvertedStairs ? uv.At(pu, v) : uv.At(u, pv);
        canvas.MoveToXY(FOldX, FOldY);
        canvas.LineToXY(corner.x, corner.y);
        canvas.LineToXY(X, Y);
    } else if (FOldColor != clNone) {
        canvas.DrawLineXY(FOldX, FOldY, X, Y);
    }
}

void TCustomSeries::DrawAreaSegment(int Index, int X, int Y, TColor Fill)
{
    FlushLineRun();
    FLinePenColor = clNone;
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& canvas = chart->ChartCanvas();
    const TUV uv{Vertical()};
    const bool is3D = chart->View3D();
    const int z0 = StartZ(), z1 = EndZ();
    const int u = Vertical() ? X : Y, v = Vertical() ? Y : X;
    const int pu = Vertical() ? FOldX : FOldY, pv = Vertical() ? FOldY : FOldX;
    const int o = FBottomPos, po = FOldBottomPos;

    // Pen and brush of the fill.
    const TColor areaColor = AreaColorOf(Fill);
    const TChartPen& linesPen = *FAreaLinesPen;
    if (linesPen.Color() != clDefault && linesPen.Visible())
        canvas.SelectPen(linesPen);
    else
        canvas.SelectPenColor(linesPen, Fill);
    TColor back = FAreaBrush->Color() == clDefault ? PassSeriesColor() : FAreaBrush->Color();
    if (FAreaBrush->HasImage() && back == areaColor) back = clWhite;
    chart->SelectBrushContrast(areaColor, *FAreaBrush, back);

    if (is3D && IsLastDrawn(Index)) uv.PlaneAlongV(canvas, u, v, o, z0, z1);
    const bool outlineWithLinePen = LinePenInUse().Visible();
    std::unique_ptr<TLumBlend> blend;
    auto beginTransparency = [&](const TRect& r) {
        if (Transparency() > 0) blend = canvas.BeginTransparency(r, Transparency());
    };
    auto endTransparency = [&] {
        if (blend) canvas.EndTransparency(std::move(blend));
    };

    if (FStairs) {
        const TRect step = FInvertedStairs ? uv.Rect(pu, u + 1, o, v) : uv.Rect(pu, u + 1, po, pv);
        beginTransparency(is3D ? canvas.ProjectedRectBounds(step, z0) : step);
        if (is3D) {
            canvas.DrawRectAtDepth(step, z0);
            if (canvas.HasOwnRenderer()) canvas.DrawRectAtDepth(step, z1);
        } else if (Gradient().Visible()) {
            Gradient().DrawRect(canvas, step);
            if (canvas.Pen().Style() != psClear) {
                canvas.Brush().SetStyle(bsClear);
                canvas.DrawRect(step);
            }
        } else {
            canvas.DrawRect(step);
        }
        endTransparency();
        if (outlineWithLinePen && !linesPen.Visible()) {
            canvas.SelectPen(LinePenInUse());
            if (!FInvertedStairs) {
                uv.LineAtZ(canvas, uv.At(pu, pv), uv.At(u, pv), z0);
                uv.LineAtZ(canvas, uv.At(u - 1, pv), uv.At(u - 1, v), z0);
            } else {
                uv.LineAtZ(canvas, uv.At(pu, v), uv.At(u, v), z0);
                uv.LineAtZ(canvas, uv.At(pu, pv), uv.At(pu, v), z0);
            }
        }
        return;
    }

    const TFourPoints quad{uv.At(pu, po), uv.At(pu, pv), uv.At(u, v), uv.At(u, o)};
    beginTransparency(AreaBounds(quad));
    if (is3D) {
        const int rotation = chart->View3DOptions().Rotation();
        const int z = rotation < 91 || rotation > 269 ? z0 : z1;
        if (Gradient().Visible())
            Gradient().FillQuadAtZ(canvas, quad, z);
        else
            canvas.DrawQuadRecordAtZ(quad, z);
    } else if (Gradient().Visible()) {
        // One gradient over the whole value range, whichever segment shows a part of it.
        canvas.ClipToPolygon(quad);
        const int high = MandatoryValueToPixel(MandatoryValues().HighestValue());
        const int low = MandatoryValueToPixel(MandatoryValues().LowestValue());
        Gradient().DrawRect(canvas, uv.Rect(pu, u, high, low));
        canvas.RemoveClip();
        canvas.Brush().SetStyle(bsClear);
        if (canvas.Pen().Style() != psClear) {
            const TPoint a = uv.At(pu, pv), b = uv.At(pu, po);
            canvas.DrawLineXY(a.x, a.y, b.x, b.y);
        }
    } else {
        canvas.DrawPolygonPoints(quad);
    }
    endTransparency();
    if (canvas.HasOwnRenderer()) canvas.DrawQuadRecordAtZ(quad, z1);
    if (outlineWithLinePen) {
        canvas.SelectPen(LinePenInUse());
        canvas.DrawLineAtZ(FOldX, FOldY, X, Y, z0);
    }
}

TRect TCustomSeries::AreaBounds(const TFourPoints& Points)
{
    const TRect r = PointsBoundingRect(Points);
    const TRect outer{r.Left, r.Top, r.Right + 1, r.Bottom + 1};
    TCustomAxisPanel* chart = ParentChart();
    if (chart && chart->View3D()) return chart->ChartCanvas().ProjectedRectBounds(outer, StartZ());
    return outer;
}

void TCustomSeries::PrepareLinePen(TCanvas3D& Canvas, TColor Color)
{
    if (Canvas.IsMonochrome()) Color = clWhite;
    if (ParentChart() && ParentChart()->View3D()) {
        if (Brush().HasImage()) {
            Canvas.SelectBrush(Brush(), Color);
        } else {
            Canvas.Brush().SetStyle(LineBrush());
            Canvas.Brush().SetColor(Color);
        }
        Canvas.SelectPen(LinePenInUse());
    } else {
        Canvas.Brush().SetStyle(bsClear);
        Canvas.SelectPenColor(LinePenInUse(), Color);
    }
}

// ---- Pointers --------------------------------------------------------------------------------------------

void TCustomSeries::DrawPointerAfterSegment(int Index, int X, int Y, TColor Color)
{
    if (Color == clNone) {
        if (Index > 0 && !PointIsNull(Index - 1))
            Color = DrawColorOf(Index - 1);
        else if (FOldColor != clNone)
            Color = FOldColor;
        else
            Color = FPointer->GetBrushColor();
    }
    DrawPointer(X, Y, Index, Color);
}

namespace {
// Saves what a pointer-style event may change of the pointer, without the change handlers firing, and
// puts it back on every exit.
class TPointerSnapshot {
public:
    explicit TPointerSnapshot(TSeriesPointer& Pointer)
        : FPointer(Pointer), FHoriz(Pointer.HorizSize()), FVert(Pointer.VertSize()), FPenColor(Pointer.Pen().Color()),
          FPenWidth(Pointer.Pen().Width()), FBrushColor(Pointer.Brush().Color()), FBrushStyle(Pointer.Brush().Style()),
          FPenChange(std::move(Pointer.Pen().OnChange)), FBrushChange(std::move(Pointer.Brush().OnChange))
    {
        Pointer.Pen().OnChange = nullptr;
        Pointer.Brush().OnChange = nullptr;
    }
    ~TPointerSnapshot()
    {
        FPointer.StoreHorizSize(FHoriz);
        FPointer.StoreVertSize(FVert);
        FPointer.Pen().SetColor(FPenColor);
        FPointer.Pen().SetWidth(FPenWidth);
        FPointer.Brush().SetColor(FBrushColor);
        FPointer.Brush().SetStyle(FBrushStyle);
        FPointer.Pen().OnChange = std::move(FPenChange);
        FPointer.Brush().OnChange = std::move(FBrushChange);
    }
    TPointerSnapshot(const TPointerSnapshot&) = delete;
    TPointerSnapshot& operator=(const TPointerSnapshot&) = delete;

private:
    TSeriesPointer& FPointer;
    int FHoriz, FVert;
    TColor FPenColor;
    int FPenWidth;
    TColor FBrushColor;
    TBrushStyle FBrushStyle;
    TNotifyEvent FPenChange, FBrushChange;
};
} // namespace

void TCustomSeries::DrawPointer(int X, int Y, int Index, TColor Color)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || !FPointer->Visible() || FPassHidesPointer) return;
    FlushLineRun();
    FLinePenColor = clNone;
    TCanvas3D& canvas = chart->ChartCanvas();
    PreparePointer(Index);
    if (!OnGetPointerStyle) {
        FPointer->PrepareCanvas(canvas, Color);
        FPointer->PaintOnChart(X, Y, Color, FPointer->Style());
        return;
    }
    const TPointerSnapshot snapshot(*FPointer);
    const TSeriesPointerStyle style = OnGetPointerStyle(this, Index);
    FPointer->PrepareCanvas(canvas, Color);
    FPointer->PaintOnChart(X, Y, Color, style);
}

void DrawPointerInRect(TSeriesPointer& Pointer, TColor Color, const TRect& Rect, bool LineVisible)
{
    TCustomLumPanel* panel = Pointer.ParentChart();
    if (!panel) return;
    TCanvas3D& canvas = panel->ChartCanvas();
    Pointer.PrepareCanvas(canvas, Color);
    const auto* chart = dynamic_cast<const TCustomAxisPanel*>(panel);
    if (const TChartPen* pen = chart ? chart->LegendSymbolPen() : nullptr) {
        canvas.SelectPen(*pen);
        LineVisible = pen->Visible();
    }
    const int w = Rect.Right - Rect.Left, h = Rect.Bottom - Rect.Top;
    const int halfW = LineVisible ? w / 3 : w / 2 + 1;
    const int halfH = LineVisible ? h / 3 : h / 2 + 1;
    Pointer.PaintSymbol(canvas, false, (Rect.Left + Rect.Right) / 2, (Rect.Top + Rect.Bottom) / 2,
                        std::min(Pointer.HorizSize(), halfW), std::min(Pointer.VertSize(), halfH), Color, Pointer.Style());
}
