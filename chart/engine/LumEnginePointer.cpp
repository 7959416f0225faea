// Series pointer, callout and marks callout: settings, canvas preparation, the symbol shapes in 2-D and
// 3-D with their gradient fill, the connector, and the lift of marks.
#include "chart/engine/LumEnginePointer.h"

#include "chart/base/LumConst.h"
#include "chart/engine/LumEngineMarks.h"
#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEngineSeries.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

// ---- Class descriptions ----------------------------------------------------------------------------------

namespace {

// The pointer's published properties; a callout changes some defaults.
std::vector<TPropInfo> PointerProperties()
{
    using P = TProps<TSeriesPointer>;
    return {
        P::Object("Brush", [](const TSeriesPointer& p) -> TPersistent* { return &p.Brush(); }),
        P::Boolean("Dark3D", &TSeriesPointer::Dark3D, &TSeriesPointer::SetDark3D),
        P::Boolean("Draw3D", &TSeriesPointer::Draw3D, &TSeriesPointer::SetDraw3D),
        P::Object("Gradient", [](const TSeriesPointer& p) -> TPersistent* { return &p.Gradient(); }),
        P::Integer("HorizSize", &TSeriesPointer::HorizSize, &TSeriesPointer::SetHorizSize).Default(4),
        P::Boolean("InflateMargins", &TSeriesPointer::InflateMargins, &TSeriesPointer::SetInflateMargins),
        P::Object("Pen", [](const TSeriesPointer& p) -> TPersistent* { return &p.Pen(); }),
        P::Enumeration("Style", SeriesPointerStyleNames, &TSeriesPointer::Style, &TSeriesPointer::SetStyle),
        P::Integer("Transparency", &TSeriesPointer::Transparency, &TSeriesPointer::SetTransparency).Default(0),
        P::Integer("VertSize", &TSeriesPointer::VertSize, &TSeriesPointer::SetVertSize).Default(4),
        P::Boolean("Visible", &TSeriesPointer::Visible, &TSeriesPointer::SetVisible),
    };
}

} // namespace

const TClassInfo& TSeriesPointer::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TSeriesPointer",
                                  .Parent = &TLumCustomShapeBrushPen::StaticClassInfo(),
                                  .Properties = PointerProperties()});
    return info;
}

const TClassInfo& TCallout::StaticClassInfo()
{
    using P = TProps<TCallout>;
    static const TClassInfo info({
        .Name = "TCallout",
        .Parent = &TSeriesPointer::StaticClassInfo(),
        .Properties =
            {
                P::Object("Arrow", [](const TCallout& c) -> TPersistent* { return &c.Arrow(); }),
                P::Enumeration("ArrowHead", ArrowHeadStyleNames, &TCallout::ArrowHead, &TCallout::SetArrowHead)
                    .Default(ahNone),
                P::Integer("ArrowHeadSize", &TCallout::ArrowHeadSize, &TCallout::SetArrowHeadSize).Default(8),
                P::Integer("Distance", &TCallout::Distance, &TCallout::SetDistance).Default(0),
            },
        .Defaults = {{"Draw3D", false}, {"InflateMargins", true}, {"Style", psRectangle}, {"Visible", true}},
    });
    return info;
}

const TClassInfo& TMarksCallout::StaticClassInfo()
{
    using P = TProps<TMarksCallout>;
    static const TClassInfo info({
        .Name = "TMarksCallout",
        .Parent = &TCallout::StaticClassInfo(),
        .Properties = {P::Integer("Length", &TMarksCallout::Length, &TMarksCallout::SetLength)
                           .StoredWhen(&TMarksCallout::LengthStored)},
        .Defaults = {{"Visible", false}},
    });
    return info;
}

// ---- Pointer: life and settings --------------------------------------------------------------------------

TSeriesPointer::TSeriesPointer(TChartSeries* Series) : FSeries(Series)
{
    if (Series) SetParentPanel(Series->ParentChart());
    FGradient = std::make_unique<TLumGradient>([this](TPersistent*) { RepaintParent(); });
}

TSeriesPointer::~TSeriesPointer() = default;

void TSeriesPointer::Assign(const TPersistent& Source)
{
    if (auto* other = dynamic_cast<const TSeriesPointer*>(&Source)) {
        FDark3D = other->FDark3D;
        FDraw3D = other->FDraw3D;
        FGradient->Assign(*other->FGradient);
        FHorizSize = other->FHorizSize;
        FInflateMargins = other->FInflateMargins;
        FStyle = other->FStyle;
        FTransparency = other->FTransparency;
        FVertSize = other->FVertSize;
    }
    TLumCustomShapeBrushPen::Assign(Source);
}

void TSeriesPointer::CheckSize(int Value)
{
    if (Value <= 0) throw ChartException(LumConst::PointerSizeNotPositive);
}

void TSeriesPointer::SetHorizSize(int Value)
{
    CheckSize(Value);
    Change(FHorizSize, Value);
}

void TSeriesPointer::SetVertSize(int Value)
{
    CheckSize(Value);
    Change(FVertSize, Value);
}

TColor TSeriesPointer::GetBrushColor() const { return Brush().Color(); }

void TSeriesPointer::SetBrushColor(TColor Value) { Brush().SetColor(Value); }

int TSeriesPointer::StartZ() const { return FSeries ? FSeries->StartZ() : 0; }
int TSeriesPointer::MiddleZ() const { return FSeries ? FSeries->MiddleZ() : 0; }
int TSeriesPointer::EndZ() const { return FSeries ? FSeries->EndZ() : 0; }

void TSeriesPointer::WidenHorizMargins(int& Left, int& Right) const
{
    if (!Visible() || !FInflateMargins) return;
    const int margin = ClampedPixel(std::int64_t(FHorizSize) + 1);
    Left = std::max(Left, margin);
    Right = std::max(Right, margin);
}

void TSeriesPointer::WidenVertMargins(int& Top, int& Bottom) const
{
    if (!Visible() || !FInflateMargins) return;
    const int margin = ClampedPixel(std::int64_t(FVertSize) + 1);
    Top = std::max(Top, margin);
    Bottom = std::max(Bottom, margin);
}

// ---- Pointer: canvas -------------------------------------------------------------------------------------

TColor TSeriesPointer::PointBrushColor(TColor PointColor) const
{
    const TColor own = Brush().Color();
    if (own == clDefault) return Brush().Style() == bsSolid ? PointColor : TColor(0);
    if (FSeries && FSeries->ColorEachPoint()) return PointColor;
    return own;
}

void TSeriesPointer::PrepareCanvas(TLumCanvas& Canvas, TColor PointColor)
{
    const TChartPen& pen = Pen();
    if (pen.Visible()) {
        if (pen.Color() == clDefault)
            Canvas.SelectPenColor(pen, PointColor);
        else
            Canvas.SelectPen(pen);
    } else if (Canvas.Pen().Style() != psClear) {
        Canvas.Pen().SetStyle(psClear);
    }
    Canvas.SelectBrushColors(Brush(), PointBrushColor(PointColor), PointColor);
}

void TSeriesPointer::PrepareOwnCanvas()
{
    if (ParentChart()) PrepareCanvas(ParentChart()->ChartCanvas(), GetBrushColor());
}

void TSeriesPointer::PaintOnChart(int X, int Y, TColor Color, TSeriesPointerStyle Style)
{
    TCustomLumPanel* chart = ParentChart();
    if (!chart) return;
    PaintSymbol(chart->ChartCanvas(), chart->View3D(), X, Y, FHorizSize, FVertSize, Color, Style);
}

// ---- Pointer: the symbol ---------------------------------------------------------------------------------

// Rectangles and triangles become solids in a 3-D chart with Draw3D; circles only on a canvas that
// renders its own 3-D.
bool TSeriesPointer::DrawnAsSolid(bool Is3D, TSeriesPointerStyle Style) const
{
    if (!Is3D || !FDraw3D) return false;
    return Style == psRectangle || Style == psTriangle || Style == psDownTriangle;
}

void TSeriesPointer::PaintSymbol(TCanvas3D& Canvas, bool Is3D, int X, int Y, int H, int V, TColor Color,
                                 TSeriesPointerStyle Style)
{
    // A stored size of any magnitude and a point far off the chart: centre and half sizes are bounded to
    // a reach far beyond any device, so that every corner and closing-pixel sum of the shapes fits an int.
    X = WithinReach(X);
    Y = WithinReach(Y);
    H = WithinReach(H);
    V = WithinReach(V);
    const TRect box{X - H, Y - V, X + H, Y + V};
    std::unique_ptr<TLumBlend> blend;
    if (FTransparency > 0) {
        TRect region{box.Left, box.Top, box.Right + 1, box.Bottom + 1};
        if (Style == psRectangle && DrawnAsSolid(Is3D, Style) && Canvas.Orthogonal()) {
            const int depth = WithinReach(EndZ() - std::int64_t(StartZ()));
            region.Right += depth;
            region.Top -= depth;
        }
        blend = Canvas.BeginTransparency(Canvas.ProjectedRectBounds(region, StartZ()), FTransparency);
    }
    DrawStyle(Canvas, Is3D, box, {X, Y}, Style);
    if (FGradient->Visible()) FillGradient(Canvas, Is3D, box, {X, Y}, Color, Style);
    if (blend) Canvas.EndTransparency(std::move(blend));
}

void TSeriesPointer::DrawStyle(TCanvas3D& Canvas, bool Is3D, const TRect& Box, TPoint Centre,
                               TSeriesPointerStyle Style)
{
    const int l = Box.Left, t = Box.Top, r = Box.Right, b = Box.Bottom, x = Centre.x, y = Centre.y;
    const int z0 = StartZ(), zm = MiddleZ(), z1 = EndZ();
    const bool solid = DrawnAsSolid(Is3D, Style);
    auto polygon = [&](std::initializer_list<TPoint> points) {
        const std::vector<TPoint> p(points);
        if (Is3D)
            Canvas.DrawPolygonAtZ(p, z0);
        else
            Canvas.DrawPolygonPoints(p);
    };
    auto line = [&](int x0, int y0, int x1, int y1) {
        if (Is3D)
            Canvas.DrawLineAtZ(x0, y0, x1, y1, z0);
        else
            Canvas.DrawLineXY(x0, y0, x1, y1);
    };
    auto cross = [&] {
        line(x, t, x, b + 1);
        line(l, y, r + 1, y);
    };
    auto diagCross = [&] {
        line(l, t, r + 1, b + 1);
        line(r, t, l - 1, b + 1);
    };
    switch (Style) {
    case psRectangle:
        if (solid)
            Canvas.DrawBoxShape(l, r, t, b, z0, z1, FDark3D);
        else if (Is3D)
            Canvas.DrawRectAtDepth({l, t, r + 1, b + 1}, z0);
        else
            Canvas.DrawRectangleBox(l, t, r + 1, b + 1);
        break;
    case psCircle:
        if (Is3D && FDraw3D && Canvas.HasOwnRenderer())
            Canvas.DrawCircleAtZ(x, y, zm, Box.Right - x);
        else if (Is3D)
            Canvas.DrawEllipseAtZ(l, t, r, b, z0);
        else
            Canvas.DrawEllipseBox(l, t, r, b);
        break;
    case psTriangle:
    case psDownTriangle: {
        const int a = Style == psTriangle ? b - y : -(b - y);
        if (solid)
            Canvas.DrawPyramidShape(true, l, y - a, r, y + a, z0, z1, FDark3D);
        else
            polygon({{l, y + a}, {r, y + a}, {x, y - a}});
        break;
    }
    case psCross: cross(); break;
    case psDiagCross: diagCross(); break;
    case psStar:
        cross();
        diagCross();
        break;
    case psDiamond: polygon({{l, y}, {x, t}, {r, y}, {x, b}}); break;
    case psSmallDot:
        if (Is3D)
            Canvas.WritePixelAtZ(x, y, zm, Canvas.Brush().Color());
        else
            Canvas.WritePixel(x, y, Canvas.Brush().Color());
        break;
    case psNothing: break;
    case psLeftTriangle: polygon({{l, y}, {r, b}, {r, t}}); break;
    case psRightTriangle: polygon({{r, y}, {l, b}, {l, t}}); break;
    }
}

void TSeriesPointer::FillGradient(TCanvas3D& Canvas, bool Is3D, const TRect& Box, TPoint Centre, TColor Color,
                                  TSeriesPointerStyle Style)
{
    const int penWidth = Pen().Visible() ? std::clamp(Pen().Width(), 0, DrawingReach) : 0;
    TRect fill{Box.Left + penWidth, Box.Top + penWidth, Box.Right, Box.Bottom};
    std::optional<TRepaintPause> pause;
    if (!FOwnGradientEnd) {
        pause.emplace(ParentChart());
        FGradient->SetEndColor(Color);
    }
    const int z0 = StartZ();
    const bool rotated = Is3D && !Canvas.Orthogonal();
    if (rotated && Style == psRectangle) {
        fill.Right -= penWidth;
        fill.Bottom -= penWidth;
        FGradient->FillQuadAtZ(Canvas, Canvas.ProjectRectCorners(fill, z0), z0);
        return;
    }
    const int x = Centre.x, y = Centre.y;
    auto project = [&](TPoint p) { return Is3D ? Canvas.ProjectPointAtZ(p, z0) : p; };
    auto fillClipped = [&](auto clip) {
        clip();
        FGradient->DrawRect(Canvas, Is3D ? Canvas.ProjectRect(fill, z0) : fill);
        Canvas.RemoveClip();
    };
    auto fillTriangle = [&](TPoint a, TPoint b, TPoint c) {
        const std::array<TPoint, 3> tri{project(a), project(b), project(c)};
        Canvas.ClipToPolygon(tri);
        FGradient->DrawRect(Canvas, PointsBoundingRect(tri));
        Canvas.RemoveClip();
    };
    const TRect clipRect = Is3D ? Canvas.ProjectRect(fill, z0) : fill;
    switch (Style) {
    case psRectangle: fillClipped([&] { Canvas.ClipToRect(clipRect); }); break;
    case psCircle: fillClipped([&] { Canvas.ClipToEllipse(clipRect, false); }); break;
    case psTriangle:
    case psDownTriangle:
        if (!DrawnAsSolid(Is3D, Style)) {
            const int a = Style == psTriangle ? Box.Bottom - y : -(Box.Bottom - y);
            fillTriangle({fill.Left, y + a}, {fill.Right, y + a}, {x, y - a});
        }
        break;
    case psLeftTriangle: fillTriangle({fill.Left, y}, {fill.Right, fill.Bottom}, {fill.Right, fill.Top}); break;
    case psRightTriangle: fillTriangle({fill.Right, y}, {fill.Left, fill.Bottom}, {fill.Left, fill.Top}); break;
    case psDiamond:
        FGradient->FillQuad(Canvas, {project({fill.Left, y}), project({x, fill.Top}), project({fill.Right, y}),
                                     project({x, fill.Bottom})});
        break;
    default: break;
    }
}

// ---- Callout ---------------------------------------------------------------------------------------------

TCallout::TCallout(TChartSeries* Series) : TSeriesPointer(Series)
{
    FArrow = std::make_unique<TWhitePen>([this](TPersistent*) { RepaintParent(); });
    SetOwnGradientEnd(true);
    InitDraw3D(false);
    SetBrushColor(0);
}

TCallout::~TCallout() = default;

void TCallout::Assign(const TPersistent& Source)
{
    if (auto* other = dynamic_cast<const TCallout*>(&Source)) {
        FDistance = other->FDistance;
        FArrow->Assign(*other->FArrow);
        FArrowHead = other->FArrowHead;
        FArrowHeadSize = other->FArrowHeadSize;
    }
    TSeriesPointer::Assign(Source);
}

void TCallout::PaintConnector(TColor, TPoint ArrowStart, int Z, TPoint ArrowEnd)
{
    TCustomLumPanel* chart = ParentChart();
    if (!chart) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    const bool is3D = chart->View3D();
    if (FArrow->Visible()) {
        canvas.Brush().SetStyle(bsClear);
        PrepareOwnCanvas();
        canvas.SelectPen(*FArrow);
        if (FArrowHead == ahNone) {
            if (is3D)
                canvas.DrawLineAtZ(ArrowEnd.x, ArrowEnd.y, ArrowStart.x, ArrowStart.y, Z);
            else
                canvas.DrawLineXY(ArrowEnd.x, ArrowEnd.y, ArrowStart.x, ArrowStart.y);
        } else {
            canvas.DrawArrow(FArrowHead == ahSolid, ArrowEnd, ArrowStart, FArrowHeadSize, FArrowHeadSize, Z);
        }
    }
    if (FArrowHead == ahNone && Visible()) {
        PrepareOwnCanvas();
        const TPoint at = is3D ? canvas.ProjectPointAtZ(ArrowStart, Z) : ArrowStart;
        PaintSymbol(canvas, false, at.x, at.y, HorizSize(), VertSize(), GetBrushColor(), Style());
    }
}

// ---- Marks callout ---------------------------------------------------------------------------------------

TMarksCallout::TMarksCallout(TChartSeries* Series) : TCallout(Series)
{
    SetVisible(false);
    Arrow().SetColor(clWhite);
}

void TMarksCallout::Assign(const TPersistent& Source)
{
    if (auto* other = dynamic_cast<const TMarksCallout*>(&Source)) FLength = other->FLength;
    TCallout::Assign(Source);
}

void TMarksCallout::SetLength(int Value)
{
    if (OwnerSeries())
        OwnerSeries()->SetIntegerField(FLength, Value);
    else
        FLength = Value;
}

void TMarksCallout::ApplyToPosition(TSeriesMarkPosition& Position) const
{
    // Positions within the drawing reach, lifts bounded to it: the sums stay within an int.
    const int lift = WithinReach(std::int64_t(FLength) + Distance());
    Position.LeftTop.y -= lift;
    Position.ArrowTo.y -= lift;
    Position.ArrowFrom.y -= WithinReach(Distance());
}
