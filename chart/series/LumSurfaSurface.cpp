// The surface and water-fall series: class descriptions, the cell draw order and its centred walk,
// cells, dots, side walls, the hand-over to a canvas with its own renderer, and the click test.
#include "chart/series/LumSurfaSurface.h"

#include "chart/base/LumConst.h"
#include "chart/base/LumProCo.h"
#include "chart/control/ChartControl.h"

#include <algorithm>

namespace {

std::vector<TPropInfo> SurfaceOwnProperties()
{
    using P = TProps<TSurfaceSeries>;
    return {
        P::Object("Brush", [](const TSurfaceSeries& s) -> TPersistent* { return &s.Brush(); }),
        P::Boolean("DotFrame", &TSurfaceSeries::DotFrame, &TSurfaceSeries::SetDotFrame).Default(false),
        P::Boolean("FastBrush", &TSurfaceSeries::FastBrush, &TSurfaceSeries::SetFastBrush).Default(false),
        P::Object("Pen", [](const TSurfaceSeries& s) -> TPersistent* { return &s.Pen(); }),
        P::Object("SideBrush", [](const TSurfaceSeries& s) -> TPersistent* { return &s.SideBrush(); }),
        P::Object("SideLines", [](const TSurfaceSeries& s) -> TPersistent* { return &s.SideLines(); }),
        P::Boolean("SmoothPalette", &TSurfaceSeries::SmoothPalette, &TSurfaceSeries::SetSmoothPalette).Default(false),
        P::Integer("Transparency", &TSurfaceSeries::Transparency, &TSurfaceSeries::SetTransparency).Default(0),
        P::Boolean("WireFrame", &TSurfaceSeries::WireFrame, &TSurfaceSeries::SetWireFrame).Default(false),
    };
}

// Added after the surface's (the value lists included).
std::vector<TPropInfo> WaterFallProperties()
{
    using P = TProps<TSurfaceSeries>;
    return {P::Boolean("WaterFall", &TSurfaceSeries::WaterFall, &TSurfaceSeries::SetWaterFall).Default(true),
            P::Object("WaterLines", [](const TSurfaceSeries& s) -> TPersistent* { return &s.WaterLines(); })};
}

// The bounding rectangle of projected points, right and bottom one beyond.
template <std::size_t N>
TRect Bounds(const std::array<TPoint, N>& Points)
{
    return PointsEnclosingRect(Points, static_cast<int>(N));
}

} // namespace

const TClassInfo& TSurfaceSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TSurfaceSeries",
                                  .Parent = &TCustom3DGridSeries::StaticClassInfo(),
                                  .Properties = TCustom3DGridSeries::GridKindProperties(SurfaceOwnProperties(), true),
                                  .Create = &CreateComponentOf<TSurfaceSeries>});
    return info;
}

const TClassInfo& TWaterFallSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TWaterFallSeries",
                                  .Parent = &TSurfaceSeries::StaticClassInfo(),
                                  .Properties = WaterFallProperties(),
                                  .Create = &CreateComponentOf<TWaterFallSeries>});
    return info;
}

TSurfaceSeries::TSurfaceSeries(TComponent* AOwner)
    : TCustom3DGridSeries(AOwner),
      FSideBrush(std::make_unique<TChartBrush>([this](TPersistent* p) { StyleChanged(p); })),
      FSideLines(std::make_unique<TChartHiddenPen>([this](TPersistent* p) { StyleChanged(p); })),
      FWaterLines(CreateChartPen())
{
    SetCellSteps(-1, -1);
    FSideBrush->SetStyle(bsClear);
}

TSurfaceSeries::~TSurfaceSeries() = default;

void TSurfaceSeries::Assign(const TPersistent& Source)
{
    if (const auto* s = dynamic_cast<const TSurfaceSeries*>(&Source); s && s != this) {
        FDotFrame = s->FDotFrame;
        FSideBrush->Assign(*s->FSideBrush);
        FSideLines->Assign(*s->FSideLines);
        FSmoothPalette = s->FSmoothPalette;
        FTransparency = s->FTransparency;
        FWaterLines->Assign(*s->FWaterLines);
        FWireFrame = s->FWireFrame;
        FWaterFall = false;
    }
    TCustom3DGridSeries::Assign(Source);
}

void TSurfaceSeries::SetDotFrame(bool Value)
{
    if (Value) {
        Pen().SetVisible(true);
        FWireFrame = false;
    }
    SetBooleanField(FDotFrame, Value);
}

void TSurfaceSeries::SetWireFrame(bool Value)
{
    if (Value) {
        Pen().SetVisible(true);
        FDotFrame = false;
    }
    SetBooleanField(FWireFrame, Value);
}

// ---- Draw order ----------------------------------------------------------------------------------------------

TSurfaceSeries::TCellOrder TSurfaceSeries::CellOrder() const
{
    TCellOrder o;
    const int w = FWaterFall ? 0 : 1;
    if (DepthAxisDrawnReversed(*this)) {
        o.ZStep = 1;
        o.FirstRow = 1;
        o.StopRow = NumZValues() - w + 1;
        o.RowStep = 1;
    } else {
        o.ZStep = -1;
        o.FirstRow = NumZValues();
        o.StopRow = w;
        o.RowStep = -1;
    }
    if (DrawsForward()) {
        o.XStep = -1;
        o.FirstColumn = 2;
        o.StopColumn = NumXValues() + 1;
        o.ColumnStep = 1;
    } else {
        o.XStep = 1;
        o.FirstColumn = NumXValues() - 1;
        o.StopColumn = 0;
        o.ColumnStep = -1;
    }
    return o;
}

TSurfaceSeries::TCellOrder TSurfaceSeries::CellDrawOrder()
{
    const TCellOrder o = CellOrder();
    SetCellSteps(o.XStep, o.ZStep);
    return o;
}

std::vector<int> TSurfaceSeries::CentredColumns(int First, int Stop, int Step)
{
    std::vector<int> columns;
    if (Step == 0 || (Stop - First) / Step <= 0) return columns;
    int lo = First, hi = Stop;
    columns.push_back(lo);
    for (bool moveHigh = true;; moveHigh = !moveHigh) {
        int& end = moveHigh ? hi : lo;
        end += moveHigh ? -Step : Step;
        if (lo == hi) break;
        columns.push_back(end);
    }
    return columns;
}

std::vector<int> TSurfaceSeries::ColumnWalk(const TCellOrder& Order) const
{
    const TCustomAxisPanel* chart = ParentChart();
    if (chart) {
        const TView3DOptions& view = chart->View3DOptions();
        const int turn = view.Rotation() % 360;
        if (!chart->ChartCanvas().HasOwnRenderer() && view.Perspective() > 0 && (turn == 0 || turn == 180))
            return CentredColumns(Order.FirstColumn, Order.StopColumn, Order.ColumnStep);
    }
    std::vector<int> columns;
    for (int x = Order.FirstColumn; Order.ColumnStep > 0 ? x < Order.StopColumn : x > Order.StopColumn; x += Order.ColumnStep)
        columns.push_back(x);
    return columns;
}

// ---- Painting ------------------------------------------------------------------------------------------------

TPoint TSurfaceSeries::CornerPoint(int Index) const
{
    return {FPaint.Horiz->CalcXPosValue(XValues().ValueAt(Index)), FPaint.Vert->CalcYPosValue(YValues().ValueAt(Index))};
}

int TSurfaceSeries::CornerDepth(int Index) const { return FPaint.Depth->CalcPosValue(ZValues().ValueAt(Index)); }

int TSurfaceSeries::ColourCorner() const
{
    if (XStep() > 0) return ZStep() > 0 ? Corner3() : Corner0();
    return ZStep() > 0 ? Corner2() : Corner1();
}

void TSurfaceSeries::PaintAllPoints()
{
    TCustomAxisPanel* chart = ParentChart();
    if (PointCount() == 0 || !chart || !GetHorizAxis() || !GetVertAxis() || IndexColumns() == 0) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    FPaint.Horiz = GetHorizAxis();
    FPaint.Vert = GetVertAxis();
    FPaint.Depth = &chart->DepthAxis();
    FPaint.SameBrush = (!UseColorRange() && !UsePalette()) || Brush().ImageBitmap() != nullptr;
    auto selectCellTools = [&] {
        if (Pen().Visible() || FWireFrame || FDotFrame)
            canvas.SelectPen(Pen());
        else
            canvas.Pen().SetStyle(psClear);
        canvas.SelectBrush(Brush(), SeriesColor());
        if (FWireFrame || FDotFrame) canvas.Brush().SetStyle(bsClear);
        canvas.WriteBackMode(TRANSPARENT);
    };
    selectCellTools();
    const bool sides = FSideBrush->Style() != bsClear || FSideLines->Visible();
    if (canvas.HasOwnRenderer()) {
        PaintOnRenderer();
    } else {
        if (sides) {
            PaintSides(false);
            selectCellTools();
        }
        if (FTransparency > 0) FPaint.Blend = canvas.BeginTransparency(TRect{}, FTransparency);
        // The fast path keeps one solid brush and changes only its colour per cell.
        FPaint.FastBrushActive = FFastBrush && !FWireFrame && Brush().Style() == bsSolid;
        const TCellOrder order = CellDrawOrder();
        for (int x : ColumnWalk(order))
            for (int z = order.FirstRow; order.RowStep > 0 ? z < order.StopRow : z > order.StopRow; z += order.RowStep)
                PaintCell(x, z);
        FPaint.Blend.reset();
    }
    if (sides) PaintSides(true);
}

void TSurfaceSeries::PaintOnRenderer()
{
    TCanvas3D& canvas = ParentChart()->ChartCanvas();
    const int mode = FWireFrame || Brush().Style() == bsClear ? 1 : FDotFrame ? 2 : 0;
    auto cell = [this](int x, int z, TPoint3D& p0, TPoint3D& p1, TColor& c0, TColor& c1) {
        const int i0 = GridIndex(x - 1, z), i1 = GridIndex(x, z);
        if (i0 < 0 || i1 < 0) return false;
        const TPoint a = CornerPoint(i0), b = CornerPoint(i1);
        p0 = {a.x, a.y, CornerDepth(i0)};
        p1 = {b.x, b.y, CornerDepth(i1)};
        if (!FPaint.SameBrush) {
            c0 = PointColor(i0);
            c1 = PointColor(i1);
        }
        return true;
    };
    std::unique_ptr<TLumBlend> blend;
    if (FTransparency > 0) blend = canvas.BeginTransparency(TRect{}, FTransparency);
    canvas.DrawSurfaceGrid(mode, FPaint.SameBrush, NumXValues(), NumZValues(), cell);
    if (blend) canvas.EndTransparency(std::move(blend));
}

void TSurfaceSeries::FillWithBlend(const std::array<TPoint, 4>& Projected, const std::function<void()>& Fill)
{
    FPaint.Blend->CaptureBackground(Bounds(Projected));
    Fill();
    FPaint.Blend->BlendOver(FTransparency);
}

void TSurfaceSeries::PaintCell(int X, int Z)
{
    TCanvas3D& canvas = ParentChart()->ChartCanvas();
    if (FWaterFall) {
        const int c0 = GridIndex(X, Z);
        if (c0 < 0) return;
        const int c1 = GridIndex(X + XStep(), Z);
        if (c1 < 0) return;
        SetCorners(c0, c1, c1, c0);
        FCellPoint[0] = FCellPoint[3] = CornerPoint(c0);
        FCellPoint[1] = FCellPoint[2] = CornerPoint(c1);
    } else {
        if (!GridCellCorners(X, Z)) return;
        FCellPoint[0] = CornerPoint(Corner0());
        FCellPoint[1] = CornerPoint(Corner1());
        FCellPoint[2] = CornerPoint(Corner2());
        FCellPoint[3] = CornerPoint(Corner3());
    }
    TColor colour = PointColor(ColourCorner());
    if (colour == clNone) return;
    const int depth0 = CornerDepth(Corner0());
    if (!FPaint.SameBrush) {
        if (FSmoothPalette) {
            const double mean = 0.25 * (YValues().ValueAt(Corner0()) + YValues().ValueAt(Corner1()) +
                                        YValues().ValueAt(Corner2()) + YValues().ValueAt(Corner3()));
            colour = ValueColor(mean);
        }
        if (FWireFrame)
            canvas.Pen().SetColor(colour);
        else if (FPaint.FastBrushActive || canvas.Brush().Style() != bsClear)
            canvas.Brush().SetColor(colour);
    }
    if (FWaterFall) {
        const int bottom = FPaint.Vert->EndPixel;
        const TPoint& p0 = FCellPoint[0];
        const TPoint& p1 = FCellPoint[1];
        if (!FDotFrame) {
            if (!FWireFrame) {
                const TPenStyle style = canvas.Pen().Style();
                canvas.Pen().SetStyle(psClear);
                const TPoint q1{p1.x, bottom}, q0{p0.x, bottom};
                if (FPaint.Blend)
                    FillWithBlend({canvas.ProjectPointAtZ(p0, depth0), canvas.ProjectPointAtZ(p1, depth0),
                                   canvas.ProjectPointAtZ(q1, depth0), canvas.ProjectPointAtZ(q0, depth0)},
                                  [&] { canvas.DrawQuadAtZ(p0, p1, q1, q0, depth0); });
                else
                    canvas.DrawQuadAtZ(p0, p1, q1, q0, depth0);
                canvas.Pen().SetStyle(style);
            }
            canvas.DrawLineAtZ(p0.x, p0.y, p1.x, p1.y, depth0);
        }
        if (FWaterLines->Visible()) {
            const TColor penColour = canvas.Pen().Color();
            const TPenStyle penStyle = canvas.Pen().Style();
            const int penWidth = canvas.Pen().Width();
            canvas.SelectPen(*FWaterLines);
            canvas.DrawLineAtZ(p0.x, p0.y, p0.x, bottom, depth0);
            canvas.DrawLineAtZ(p1.x, p1.y, p1.x, bottom, depth0);
            canvas.Pen().SetColor(penColour);
            canvas.Pen().SetStyle(penStyle);
            canvas.Pen().SetWidth(penWidth);
        }
        if (FDotFrame) PaintDots(depth0, depth0);
        return;
    }
    const int depth2 = CornerDepth(Corner2());
    if (FDotFrame) {
        PaintDots(depth0, depth2);
        return;
    }
    if (FPaint.Blend) {
        const std::array<TPoint, 4> projected{canvas.ProjectPointAtZ(FCellPoint[0], depth0), canvas.ProjectPointAtZ(FCellPoint[1], depth0),
                                              canvas.ProjectPointAtZ(FCellPoint[2], depth2), canvas.ProjectPointAtZ(FCellPoint[3], depth2)};
        FillWithBlend(projected, [&] { canvas.DrawPolygonPoints(projected); });
        return;
    }
    canvas.DrawQuadTwoDepths({TLumPointF{double(FCellPoint[0].x), double(FCellPoint[0].y)},
                              TLumPointF{double(FCellPoint[1].x), double(FCellPoint[1].y)},
                              TLumPointF{double(FCellPoint[2].x), double(FCellPoint[2].y)},
                              TLumPointF{double(FCellPoint[3].x), double(FCellPoint[3].y)}},
                             depth0, depth2);
}

void TSurfaceSeries::PaintDots(int Depth0, int Depth2)
{
    TCanvas3D& canvas = ParentChart()->ChartCanvas();
    const int corners[4] = {Corner0(), Corner1(), Corner2(), Corner3()};
    for (int k = 0; k < 4; ++k)
        canvas.WritePixelAtZ(FCellPoint[k].x, FCellPoint[k].y, k < 2 ? Depth0 : Depth2, PointColor(corners[k]));
}

void TSurfaceSeries::PaintSides(bool FrontPass)
{
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& canvas = chart->ChartCanvas();
    auto* control = dynamic_cast<TCustomChart*>(chart);
    const bool leftInFront = control && control->LeftWallInFront();
    const bool rightInFront = control && control->RightWallInFront();
    const TRect& r = chart->ChartRect();
    const int wallBottom = r.Bottom + chart->WallSizeForAxis(chart->BottomAxis());
    const TPoint triangle[3] = {canvas.ProjectXYZ(r.Right, r.Top, 0), canvas.ProjectXYZ(r.Right, wallBottom, 0),
                                canvas.ProjectXYZ(r.Left, wallBottom, 0)};
    const bool frontInFront = IsTrianglePointsCulled(triangle);

    canvas.SelectBrush(*FSideBrush, FSideBrush->Color());
    canvas.SelectPen(*FSideLines);
    const double baseValue = FPaint.Vert->Inverted() ? YValues().HighestValue() : YValues().LowestValue();
    const int bottom = FPaint.Vert->CalcYPosValue(baseValue);
    // The wall between grid nodes A and B (column, row), skipped when either is missing.
    auto quad = [&](int ColumnA, int RowA, int ColumnB, int RowB) {
        const int a = GridIndex(ColumnA, RowA), b = GridIndex(ColumnB, RowB);
        if (a < 0 || b < 0) return;
        const TPoint ta = CornerPoint(a), tb = CornerPoint(b);
        canvas.DrawQuadTwoDepths({TLumPointF{double(ta.x), double(ta.y)}, TLumPointF{double(ta.x), double(bottom)},
                                  TLumPointF{double(tb.x), double(bottom)}, TLumPointF{double(tb.x), double(tb.y)}},
                                 CornerDepth(a), CornerDepth(b));
    };
    const int columns = NumXValues(), rows = NumZValues();
    const bool horizInverted = FPaint.Horiz->Inverted();
    if (leftInFront == FrontPass) {
        const int x = horizInverted ? columns : 1;
        for (int z = rows; z >= 2; --z) quad(x, z, x, z - 1);
    }
    if (rightInFront == FrontPass) {
        const int x = horizInverted ? 1 : columns;
        for (int z = rows; z >= 2; --z) quad(x, z, x, z - 1);
    }
    if (frontInFront == FrontPass) {
        const int z = FPaint.Depth->Inverted() ? rows : 1;
        for (int x = 2; x <= columns; ++x) quad(x, z, x - 1, z);
        const int corner = GridIndex(columns, z);
        if (columns >= 2 && corner >= 0) {
            canvas.Pen().SetStyle(psSolid);
            const TPoint top = CornerPoint(corner);
            canvas.DrawLineAtZ(top.x, top.y, top.x, bottom, CornerDepth(corner));
        }
    }
}

// ---- Click test ----------------------------------------------------------------------------------------------

int TSurfaceSeries::PointAtPixel(int X, int Y) const
{
    TCustomAxisPanel* chart = ParentChart();
    const TChartAxis* h = GetHorizAxis();
    const TChartAxis* v = GetVertAxis();
    if (PointCount() == 0 || !chart || !h || !v) return -1;
    TCanvas3D& canvas = chart->ChartCanvas();
    const TChartAxis& depth = chart->DepthAxis();
    const TCellOrder o = CellOrder();
    // The same cells as the paint, rows nearest first.
    const int zStep = -o.ZStep, rowStep = -o.RowStep;
    auto project = [&](int Index, int Depth) {
        return canvas.ProjectXYZ(h->CalcXPosValue(XValues().ValueAt(Index)), v->CalcYPosValue(YValues().ValueAt(Index)), Depth);
    };
    for (int z = o.StopRow; rowStep > 0 ? z < o.FirstRow : z > o.FirstRow; z += rowStep)
        for (int x = o.FirstColumn; o.ColumnStep > 0 ? x < o.StopColumn : x > o.StopColumn; x += o.ColumnStep) {
            const int c0 = GridIndex(x, z), c1 = GridIndex(x + o.XStep, z);
            const int c2 = GridIndex(x + o.XStep, z + zStep), c3 = GridIndex(x, z + zStep);
            if (c0 < 0 || c1 < 0 || c2 < 0 || c3 < 0) continue;
            const int d0 = depth.CalcPosValue(ZValues().ValueAt(c0)), d2 = depth.CalcPosValue(ZValues().ValueAt(c2));
            const TPoint quad[4] = {project(c0, d0), project(c1, d0), project(c2, d2), project(c3, d2)};
            if (PolygonContainsPoint({X, Y}, quad, 3)) return c0;
        }
    return -1;
}

// ---- Gallery -------------------------------------------------------------------------------------------------

void TSurfaceSeries::ListGalleryStyles(const TGalleryStyleCallback& Callback) const
{
    TCustom3DGridSeries::ListGalleryStyles(Callback);
    Callback(LumProCo::Wireframe);
    Callback(LumProCo::DotFrame);
    Callback(LumConst::Sides);
    Callback(LumConst::NoBorder);
}

void TSurfaceSeries::ApplyGalleryStyle(TChartSeries* Series, int Index)
{
    auto* s = dynamic_cast<TSurfaceSeries*>(Series);
    if (!s || Index < 2 || Index > 5) {
        TCustom3DGridSeries::ApplyGalleryStyle(Series, Index);
        return;
    }
    switch (Index) {
    case 2: s->SetWireFrame(true); break;
    case 3: s->SetDotFrame(true); break;
    case 4: s->SideBrush().SetStyle(bsSolid); break;
    default: s->Pen().SetVisible(false); break;
    }
}

void TSurfaceSeries::PrepareForGallery(bool Coloured)
{
    TCustom3DGridSeries::PrepareForGallery(Coloured);
    SetSampleMode(true);
    GenerateGrid(10, 10);
}

// ---- Water fall ----------------------------------------------------------------------------------------------

TWaterFallSeries::TWaterFallSeries(TComponent* AOwner) : TSurfaceSeries(AOwner) { SetWaterFall(true); }

void TWaterFallSeries::Assign(const TPersistent& Source)
{
    TSurfaceSeries::Assign(Source);
    SetWaterFall(true);
}

void TWaterFallSeries::ListGalleryStyles(const TGalleryStyleCallback& Callback) const
{
    TSurfaceSeries::ListGalleryStyles(Callback);
    Callback(LumConst::NoLines);
}

void TWaterFallSeries::ApplyGalleryStyle(TChartSeries* Series, int Index)
{
    if (auto* s = dynamic_cast<TSurfaceSeries*>(Series); s && Index == 6)
        s->WaterLines().SetVisible(false);
    else
        TSurfaceSeries::ApplyGalleryStyle(Series, Index);
}

void TWaterFallSeries::SetParentView3D(bool Value)
{
    TSurfaceSeries::SetParentView3D(Value);
    if (ParentChart()) ParentChart()->SetView3D(Value);
}
