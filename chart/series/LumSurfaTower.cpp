// The vector and tower series: class descriptions, the arrows with their heads, the tower shapes with
// their walk and blends, and the cover-plate click test.
#include "chart/series/LumSurfaTower.h"

#include "chart/base/LumConst.h"
#include "chart/base/LumProCo.h"
#include "chart/series/SeriesLine.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

std::vector<TPropInfo> VectorProperties()
{
    using P = TProps<TVector3DSeries>;
    using V = TVector3DSeries;
    std::vector<TPropInfo> own{
        P::Integer("ArrowHeight", &V::ArrowHeight, &V::SetArrowHeight).Default(4),
        P::Integer("ArrowWidth", &V::ArrowWidth, &V::SetArrowWidth).Default(4),
        P::Object("Brush", [](const V& s) -> TPersistent* { return &s.Brush(); }),
        P::Object("EndArrow", [](const V& s) -> TPersistent* { return &s.EndArrow(); }),
        P::Object("EndXValues", [](const V& s) -> TPersistent* { return &s.EndXValues(); }),
        P::Object("EndYValues", [](const V& s) -> TPersistent* { return &s.EndYValues(); }),
        P::Object("EndZValues", [](const V& s) -> TPersistent* { return &s.EndZValues(); }),
        P::Object("Pen", [](const V& s) -> TPersistent* { return &s.Pen(); }),
        P::Object("StartArrow", [](const V& s) -> TPersistent* { return &s.StartArrow(); }),
    };
    for (TPropInfo& p : TCustom3DPaletteSeries::PaletteProperties(true))
        if (p.Name != "ZValues") own.push_back(std::move(p));
    std::vector<TPropInfo> props = SeriesKindProperties(std::move(own));
    props.push_back(P::Object("ZValues", [](const V& s) -> TPersistent* { return &s.ZValues(); }));
    return props;
}

std::vector<TPropInfo> TowerProperties()
{
    using P = TProps<TTowerSeries>;
    using T = TTowerSeries;
    std::vector<TPropInfo> own{
        P::Object("Brush", [](const T& s) -> TPersistent* { return &s.Brush(); }),
        P::Boolean("Dark3D", &T::Dark3D, &T::SetDark3D).Default(true),
        P::Real("Origin", &T::Origin, &T::SetOrigin).Default(0.0),
        P::Object("Pen", [](const T& s) -> TPersistent* { return &s.Pen(); }),
        P::Integer("PercentDepth", &T::PercentDepth, &T::SetPercentDepth).Default(100),
        P::Integer("PercentWidth", &T::PercentWidth, &T::SetPercentWidth).Default(100),
        P::Enumeration("TowerStyle", TowerStyleNames, &T::TowerStyle, &T::SetTowerStyle).Default(tsCube),
        P::Integer("Transparency", &T::Transparency, &T::SetTransparency).Default(0),
        P::Boolean("UseOrigin", &T::UseOrigin, &T::SetUseOrigin).Default(false),
    };
    return TCustom3DGridSeries::GridKindProperties(std::move(own), true);
}

} // namespace

// ---- Vector --------------------------------------------------------------------------------------------------

const TClassInfo& TVector3DSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TVector3DSeries",
                                  .Parent = &TCustom3DPaletteSeries::StaticClassInfo(),
                                  .Properties = VectorProperties(),
                                  .Create = &CreateComponentOf<TVector3DSeries>});
    return info;
}

TVector3DSeries::TVector3DSeries(TComponent* AOwner)
    : TCustom3DPaletteSeries(AOwner),
      FStartArrow(std::make_unique<TChartHiddenPen>([this](TPersistent* p) { StyleChanged(p); })),
      FEndArrow(CreateChartPen())
{
    XValues().InitDateTime(false);
    // The series' value lists own them.
    FEndXValues = new TChartValueList(this, "EndX");
    FEndYValues = new TChartValueList(this, "EndY");
    FEndZValues = new TChartValueList(this, "EndZ");
    FStartArrow->SetColor(clDefault);
    FEndArrow->SetColor(clDefault);
}

TVector3DSeries::~TVector3DSeries() = default;

void TVector3DSeries::Assign(const TPersistent& Source)
{
    if (const auto* s = dynamic_cast<const TVector3DSeries*>(&Source); s && s != this) {
        FArrowHeight = s->FArrowHeight;
        FArrowWidth = s->FArrowWidth;
        FEndArrow->Assign(*s->FEndArrow);
        FStartArrow->Assign(*s->FStartArrow);
    }
    TCustom3DPaletteSeries::Assign(Source);
}

int TVector3DSeries::AddVector(double X0, double Y0, double Z0, double X1, double Y1, double Z1, const std::string& Label,
                               TColor Color)
{
    FEndXValues->PendingValue = X1;
    FEndYValues->PendingValue = Y1;
    FEndZValues->PendingValue = Z1;
    return AppendXYZWithLabel(X0, Y0, Z0, Label, Color);
}

std::array<TPoint, 3> TVector3DSeries::ArrowHead(TPoint Tip, double Angle, int Width, int Height)
{
    const double c = std::cos(Angle), s = std::sin(Angle);
    const auto whole = [](double v) { return PixelFromReal(v); };
    return {TPoint{Tip.x + whole(-Width * c - Height * s), Tip.y + whole(Width * s - Height * c)}, Tip,
            TPoint{Tip.x + whole(-Width * c + Height * s), Tip.y + whole(Width * s + Height * c)}};
}

void TVector3DSeries::PaintPoint(int Index)
{
    TCustomAxisPanel* chart = ParentChart();
    const TChartAxis* h = GetHorizAxis();
    const TChartAxis* v = GetVertAxis();
    if (!chart || !h || !v) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    canvas.WriteBackMode(TRANSPARENT);
    const TColor colour = PointColor(Index);
    canvas.SelectPenColor(Pen(), colour);
    const TPoint s{ScreenXOf(Index), ScreenYOf(Index)};
    const int sz = ZScreenPosition(Index);
    const TPoint e{h->CalcXPosValue(FEndXValues->ValueAt(Index)), v->CalcYPosValue(FEndYValues->ValueAt(Index))};
    const int ez = chart->DepthAxis().CalcPosValue(FEndZValues->ValueAt(Index));
    canvas.MoveToAtZ(s.x, s.y, sz);
    canvas.LineToAtZ(e.x, e.y, ez);
    if (!FStartArrow->Visible() && !FEndArrow->Visible()) return;
    const TPoint S = canvas.ProjectPointAtZ(s, sz), E = canvas.ProjectPointAtZ(e, ez);
    const double angle = std::atan2(static_cast<double>(S.y - E.y), static_cast<double>(E.x - S.x));
    auto head = [&](const TChartPen& Pen, TPoint Tip, int Depth) {
        if (!Pen.Visible()) return;
        canvas.SelectPenColor(Pen, Pen.Color() == clDefault ? colour : Pen.Color());
        const std::array<TPoint, 3> p = ArrowHead(Tip, angle, FArrowWidth, FArrowHeight);
        canvas.MoveToAtZ(p[0].x, p[0].y, Depth);
        canvas.LineToAtZ(p[1].x, p[1].y, Depth);
        canvas.LineToAtZ(p[2].x, p[2].y, Depth);
    };
    head(*FStartArrow, s, sz);
    head(*FEndArrow, e, ez);
}

double TVector3DSeries::HighestX() { return std::max(XValues().HighestValue(), FEndXValues->HighestValue()); }
double TVector3DSeries::HighestY() { return std::max(YValues().HighestValue(), FEndYValues->HighestValue()); }
double TVector3DSeries::HighestZ() { return std::max(TCustom3DPaletteSeries::HighestZ(), FEndZValues->HighestValue()); }
double TVector3DSeries::LowestX() { return std::min(XValues().LowestValue(), FEndXValues->LowestValue()); }
double TVector3DSeries::LowestY() { return std::min(YValues().LowestValue(), FEndYValues->LowestValue()); }
double TVector3DSeries::LowestZ() { return std::min(TCustom3DPaletteSeries::LowestZ(), FEndZValues->LowestValue()); }

void TVector3DSeries::AddRandomSampleValues(int Count, bool)
{
    for (int k = 0; k < Count; ++k) {
        const double t = k * 8 * std::numbers::pi / Count;
        AddVector(std::sin(t) + k, k, std::cos(t), 2 * std::sin(t) + k, k + 0.6 * Count * std::sin(t) * std::cos(t),
                  (k + 1) * std::cos(t));
    }
}

bool TVector3DSeries::AcceptsSource(const TChartSeries* Series) const
{
    return Series != this && dynamic_cast<const TVector3DSeries*>(Series) != nullptr;
}

// ---- Tower ---------------------------------------------------------------------------------------------------

const TClassInfo& TTowerSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TTowerSeries",
                                  .Parent = &TCustom3DGridSeries::StaticClassInfo(),
                                  .Properties = TowerProperties(),
                                  .Create = &CreateComponentOf<TTowerSeries>});
    return info;
}

TTowerSeries::TTowerSeries(TComponent* AOwner) : TCustom3DGridSeries(AOwner) {}

void TTowerSeries::Assign(const TPersistent& Source)
{
    if (const auto* s = dynamic_cast<const TTowerSeries*>(&Source); s && s != this) {
        FDark3D = s->FDark3D;
        FOrigin = s->FOrigin;
        FPercentDepth = s->FPercentDepth;
        FPercentWidth = s->FPercentWidth;
        FTowerStyle = s->FTowerStyle;
        FTransparency = s->FTransparency;
        FUseOrigin = s->FUseOrigin;
    }
    TCustom3DGridSeries::Assign(Source);
}

void TTowerSeries::SetTowerStyle(TTowerStyle Value)
{
    if (Value == FTowerStyle) return;
    FTowerStyle = Value;
    InvalidateChart();
}

TTowerSeries::TTowerBox TTowerSeries::TowerBox(int Index) const
{
    TTowerBox b;
    const TCustomAxisPanel* chart = ParentChart();
    const TChartAxis* h = GetHorizAxis();
    const TChartAxis* v = GetVertAxis();
    if (!chart || !h || !v) return b;
    const double halfWidth = FPercentWidth * 0.005, halfDepth = FPercentDepth * 0.005;
    const double x = XValues().ValueAt(Index), z = ZValues().ValueAt(Index);
    b.Top = ScreenYOf(Index);
    b.Base = v->CalcYPosValue(FUseOrigin ? FOrigin : YValues().LowestValue());
    b.Rect = SortRectCorners({h->CalcXPosValue(x - halfWidth), b.Top, h->CalcXPosValue(x + halfWidth), b.Base});
    b.NearZ = chart->DepthAxis().CalcPosValue(z - halfDepth);
    b.FarZ = chart->DepthAxis().CalcPosValue(z + halfDepth);
    return b;
}

void TTowerSeries::PaintAllPoints()
{
    TCustomAxisPanel* chart = ParentChart();
    if (PointCount() == 0 || !chart || !GetHorizAxis() || !GetVertAxis() || IndexColumns() == 0) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    canvas.SelectPen(Pen());
    canvas.SelectBrush(Brush(), SeriesColor());
    const bool forward = DrawsForward(), rowsUp = DepthAxisDrawnReversed(*this);
    for (int i = 0; i < NumXValues(); ++i) {
        const int x = forward ? i + 1 : NumXValues() - i;
        for (int k = 0; k < NumZValues(); ++k) {
            const int z = rowsUp ? k + 1 : NumZValues() - k;
            const int p = GridIndex(x, z);
            if (p >= 0 && PointColor(p) != clNone) PaintTower(p);
        }
    }
}

void TTowerSeries::PaintTower(int Index)
{
    TCanvas3D& canvas = ParentChart()->ChartCanvas();
    if (Brush().Style() != bsClear) canvas.Brush().SetColor(PointColor(Index));
    const TTowerBox b = TowerBox(Index);
    const TRect& r = b.Rect;
    std::unique_ptr<TLumBlend> blend;
    if (FTransparency > 0) {
        TRect bounds;
        if (FTowerStyle == tsCover) {
            const std::array<TPoint, 4> cover{canvas.ProjectXYZ(r.Left, b.Top, b.NearZ), canvas.ProjectXYZ(r.Right, b.Top, b.NearZ),
                                              canvas.ProjectXYZ(r.Right, b.Top, b.FarZ), canvas.ProjectXYZ(r.Left, b.Top, b.FarZ)};
            bounds = PointsEnclosingRect(cover, 4);
        } else {
            const TRect nearBounds = canvas.ProjectedRectBounds(r, b.NearZ), farBounds = canvas.ProjectedRectBounds(r, b.FarZ);
            bounds = {std::min(nearBounds.Left, farBounds.Left), std::min(nearBounds.Top, farBounds.Top),
                      std::max(nearBounds.Right, farBounds.Right), std::max(nearBounds.Bottom, farBounds.Bottom)};
        }
        blend = canvas.BeginTransparency(bounds, FTransparency);
    }
    const int middleX = (r.Left + r.Right) / 2, middleZ = (b.NearZ + b.FarZ) / 2;
    switch (FTowerStyle) {
    case tsCube: canvas.DrawBoxFromRect(r, b.NearZ, b.FarZ, FDark3D); break;
    case tsRectangle: canvas.DrawRectAtDepth(r, middleZ); break;
    case tsCover: canvas.DrawHorizPlane(r.Left, b.Top, r.Right, b.NearZ, b.FarZ); break;
    case tsCylinder: canvas.DrawCylinderShape(true, r.Left, r.Top, r.Right, r.Bottom, b.NearZ, b.FarZ, FDark3D); break;
    case tsArrow:
        canvas.DrawArrow(true, {middleX, b.Base}, {middleX, b.Top}, r.Right - r.Left, (r.Right - r.Left) / 2, middleZ);
        break;
    case tsCone: canvas.DrawConeShape(true, r.Left, b.Top, r.Right, b.Base, b.NearZ, b.FarZ, FDark3D, 0); break;
    case tsPyramid: canvas.DrawPyramidShape(true, r.Left, b.Top, r.Right, b.Base, b.NearZ, b.FarZ, FDark3D); break;
    case tsSlantCube: {
        int& sides = LumCanvasModule().CylinderSideCount;
        const int saved = sides;
        sides = 4;
        canvas.DrawCylinderShape(true, r.Left, r.Top, r.Right, r.Bottom, b.NearZ, b.FarZ, FDark3D);
        sides = saved;
        break;
    }
    }
    if (blend) canvas.EndTransparency(std::move(blend));
}

void TTowerSeries::PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position)
{
    Marks().DrawMarkCallout(Position);
    TCustom3DGridSeries::PaintMark(Index, Text, Position);
}

int TTowerSeries::PointAtPixel(int X, int Y) const
{
    TCustomAxisPanel* chart = ParentChart();
    if (FTowerStyle != tsCover || PointCount() == 0 || !chart || IndexColumns() == 0) return -1;
    TCanvas3D& canvas = chart->ChartCanvas();
    for (int x = 1; x <= NumXValues(); ++x)
        for (int z = 1; z <= NumZValues(); ++z) {
            const int p = GridIndex(x, z);
            if (p < 0 || PointColor(p) == clNone) continue;
            const TTowerBox b = TowerBox(p);
            const TPoint cover[4] = {canvas.ProjectXYZ(b.Rect.Left, b.Top, b.NearZ), canvas.ProjectXYZ(b.Rect.Right, b.Top, b.NearZ),
                                     canvas.ProjectXYZ(b.Rect.Right, b.Top, b.FarZ), canvas.ProjectXYZ(b.Rect.Left, b.Top, b.FarZ)};
            if (PolygonContainsPoint({X, Y}, cover, 3)) return p;
        }
    return -1;
}

void TTowerSeries::ListGalleryStyles(const TGalleryStyleCallback& Callback) const
{
    TCustom3DGridSeries::ListGalleryStyles(Callback);
    for (const char* name : {LumConst::NoBorder, LumProCo::SingleColor, LumConst::Marks, LumConst::Hollow, LumProCo::Rectangle,
                             LumProCo::Cover, LumConst::Circle, LumConst::Arrow, LumProCo::Cone, LumProCo::Pyramid})
        Callback(name);
}

void TTowerSeries::ApplyGalleryStyle(TChartSeries* Series, int Index)
{
    auto* t = dynamic_cast<TTowerSeries*>(Series);
    if (!t || Index < 2 || Index > 11) {
        TCustom3DGridSeries::ApplyGalleryStyle(Series, Index);
        return;
    }
    switch (Index) {
    case 2: t->Pen().SetVisible(false); break;
    case 3: t->SetUsePalette(false); break;
    case 4: t->Marks().SetVisible(true); break;
    case 5: t->Brush().SetStyle(bsClear); break;
    default: {
        static constexpr TTowerStyle styles[] = {tsRectangle, tsCover, tsCylinder, tsArrow, tsCone, tsPyramid};
        t->SetTowerStyle(styles[Index - 6]);
    }
    }
}

void TTowerSeries::PrepareForGallery(bool Coloured)
{
    TCustom3DGridSeries::PrepareForGallery(Coloured);
    SetSampleMode(true);
    GenerateGrid(5, 5);
}
