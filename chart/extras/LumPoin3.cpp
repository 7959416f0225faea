// The 3-D point and 3-D bubble series: point depths, symbols, joining and base lines, marks, legend
// symbols, the click test unprojected at each point's depth, extents, gallery styles, samples and their
// registration.
#include "chart/extras/LumPoin3.h"

#include "chart/base/LumConst.h"
#include "chart/base/LumProCo.h"
#include "chart/control/ChartRegistry.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEngineMarks.h"
#include "chart/series/SeriesDraw.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

std::vector<TPropInfo> Point3DProperties(bool Bubble)
{
    using P = TProps<TPoint3DSeries>;
    using S = TPoint3DSeries;
    std::vector<TPropInfo> own{
        P::Object("BaseLine", [](const S& s) -> TPersistent* { return &s.BaseLine(); }),
        P::Real("DepthSize", &S::DepthSize, &S::SetDepthSize).Default(0.0),
        P::Object("LinePen", [](const S& s) -> TPersistent* { return &s.LinePen(); }),
        P::Object("Pointer", [](const S& s) -> TPersistent* { return &s.Pointer(); }),
        P::Integer("TimesZOrder", &S::TimesZOrder, &S::SetTimesZOrder).Default(3),
        P::Object("ZValues", [](const S& s) -> TPersistent* { return &s.ZValues(); }),
    };
    if (Bubble)
        own.push_back(TProps<TBubble3DSeries>::Object(
            "RadiusValues", [](const TBubble3DSeries& s) -> TPersistent* { return &s.RadiusValues(); }));
    return SeriesKindProperties(std::move(own));
}

// A colour below the null colour as a signed 32-bit value: a point to draw.
bool Drawable(TColor C) { return static_cast<std::int32_t>(C) < static_cast<std::int32_t>(clNone); }

} // namespace

const TClassInfo& TPoint3DSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TPoint3DSeries",
                                  .Parent = &TCustom3DSeries::StaticClassInfo(),
                                  .Properties = Point3DProperties(false),
                                  .Create = &CreateComponentOf<TPoint3DSeries>});
    return info;
}

const TClassInfo& TBubble3DSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TBubble3DSeries",
                                  .Parent = &TPoint3DSeries::StaticClassInfo(),
                                  .Properties = Point3DProperties(true),
                                  .Defaults = {{"ColorEachPoint", true}},
                                  .Create = &CreateComponentOf<TBubble3DSeries>});
    return info;
}

// ---- 3-D point series ----------------------------------------------------------------------------------

TPoint3DSeries::TPoint3DSeries(TComponent* AOwner) : TCustom3DSeries(AOwner)
{
    FPointer = std::make_unique<TSeriesPointer>(this);
    FPointer->SetVisible(true);
    FBaseLine = std::make_unique<TChartHiddenPen>([this](TPersistent* s) { StyleChanged(s); });
}

TPoint3DSeries::~TPoint3DSeries() { TChartSeries::SetParentChart(nullptr); }

void TPoint3DSeries::Assign(const TPersistent& Source)
{
    if (const auto* s = dynamic_cast<const TPoint3DSeries*>(&Source); s && s != this) {
        FPointer->Assign(*s->FPointer);
        FDepthSize = s->FDepthSize;
        FBaseLine->Assign(*s->FBaseLine);
    }
    TCustom3DSeries::Assign(Source);
}

void TPoint3DSeries::SetParentChart(TCustomAxisPanel* Value)
{
    TCustom3DSeries::SetParentChart(Value);
    FPointer->SetParentPanel(Value);
}

int TPoint3DSeries::PointDepthHalfSize(int) const
{
    TCustomAxisPanel* chart = ParentChart();
    return chart ? chart->DepthAxis().SpanToPixels(FDepthSize) / 2 : 0;
}

void TPoint3DSeries::ComputePointDepth(int Index)
{
    const int middle = ZScreenPosition(Index);
    const int h = std::max(1, PointDepthHalfSize(Index));
    SetZExtent(ClampedPixel(std::int64_t(middle) - h), middle, ClampedPixel(std::int64_t(middle) + h));
}

void TPoint3DSeries::HorizMargins(int& Left, int& Right)
{
    TCustom3DSeries::HorizMargins(Left, Right);
    FPointer->WidenHorizMargins(Left, Right);
}

void TPoint3DSeries::VertMargins(int& Top, int& Bottom)
{
    TCustom3DSeries::VertMargins(Top, Bottom);
    FPointer->WidenVertMargins(Top, Bottom);
}

double TPoint3DSeries::HighestZ() { return TCustom3DSeries::HighestZ() + FDepthSize; }

void TPoint3DSeries::PaintPoint(int Index)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    const TColor c = PointColor(Index);
    const int x = ScreenXOf(Index), y = ScreenYOf(Index);
    ComputePointDepth(Index);
    const int z = MiddleZ();
    if (Drawable(c)) {
        if (FPointer->Visible()) {
            FPointer->PrepareCanvas(canvas, c);
            const TSeriesPointerStyle style = OnGetPointerStyle ? OnGetPointerStyle(this, Index) : FPointer->Style();
            FPointer->PaintSymbol(canvas, chart->View3D(), x, y, FPointer->HorizSize(), FPointer->VertSize(), c, style);
        }
        const TChartAxis* vert = GetVertAxis();
        const int below = ClampedPixel(std::int64_t(y) + FPointer->VertSize());
        if (FBaseLine->Visible() && vert && below < vert->EndPixel) {
            canvas.SelectPen(*FBaseLine);
            canvas.DrawLineAtZ(x, below, x, vert->EndPixel, z);
        }
        if (Index != StartDrawIndex() && LinePen().Visible()) {
            canvas.SelectPen(LinePen());
            canvas.WriteBackMode(TRANSPARENT);
            const int from = DrawsForward() ? Index - 1 : Index + 1;
            if (from >= 0 && from < PointCount() && PointIsNull(from))
                canvas.MoveToAtZ(x, y, z);
            else
                canvas.MoveToAtZ(FOldX, FOldY, FOldZ);
            canvas.LineToAtZ(x, y, z);
        }
    }
    FOldX = x;
    FOldY = y;
    FOldZ = z;
}

void TPoint3DSeries::PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position)
{
    ComputePointDepth(Index);
    Marks().SetZPosition(FPointer->Visible() ? MiddleZ() : StartZ());
    Marks().DrawMarkCallout(Position);
    TChartSeries::PaintMark(Index, Text, Position);
}

void TPoint3DSeries::PaintLegendShape(int Index, const TRect& Rect)
{
    if (!FPointer->Visible()) {
        TCustom3DSeries::PaintLegendShape(Index, Rect);
        return;
    }
    DrawPointerInRect(*FPointer, Index == -1 ? SeriesColor() : PointColor(Index), Rect, LinePen().Visible());
}

int TPoint3DSeries::PointAtPixel(int X, int Y) const
{
    const int base = TCustom3DSeries::PointAtPixel(X, Y);
    if (base != -1 || !FPointer->Visible()) return base;
    TCustomAxisPanel* chart = ParentChart();
    for (int i = 0; i < PointCount(); ++i) {
        int ux = X, uy = Y;
        if (chart) chart->ChartCanvas().UnprojectPoint(ux, uy, ZScreenPosition(i));
        if (std::abs(ScreenXOf(i) - ux) < FPointer->HorizSize() && std::abs(ScreenYOf(i) - uy) < FPointer->VertSize()) {
            if (OnClickPointer) OnClickPointer(const_cast<TPoint3DSeries*>(this), i, X, Y);
            return i;
        }
    }
    return -1;
}

void TPoint3DSeries::ListGalleryStyles(const TGalleryStyleCallback& Callback) const
{
    TCustom3DSeries::ListGalleryStyles(Callback);
    for (const char* name : {LumProCo::NoPoint, LumProCo::Lines, LumProCo::NoLine, LumConst::Colors, LumConst::Marks,
                             LumConst::Hollow, LumConst::NoBorder})
        Callback(name);
    if (!OffersPointerVariants()) return;
    for (const char* name : {LumConst::Point2D, LumConst::Triangle, LumConst::Star, LumConst::Circle,
                             LumConst::DownTriangle, LumConst::Cross, LumConst::Diamond})
        Callback(name);
}

void TPoint3DSeries::ApplyGalleryStyle(TChartSeries* Series, int Index)
{
    auto* s = dynamic_cast<TPoint3DSeries*>(Series);
    if (!s) {
        TCustom3DSeries::ApplyGalleryStyle(Series, Index);
        return;
    }
    TSeriesPointer& p = s->Pointer();
    static constexpr TSeriesPointerStyle styles[] = {psTriangle, psStar, psCircle, psDownTriangle, psCross, psDiamond};
    switch (Index) {
    case 1: p.SetVisible(false); break;
    case 2: s->BaseLine().SetVisible(true); break;
    case 3: s->LinePen().SetVisible(false); break;
    case 4: s->SetColorEachPoint(true); break;
    case 5: s->Marks().SetVisible(true); break;
    case 6: p.Brush().SetStyle(bsClear); break;
    case 7: p.Pen().SetVisible(false); break;
    case 8: p.SetDraw3D(false); break;
    default:
        if (Index >= 9 && Index <= 14)
            p.SetStyle(styles[Index - 9]);
        else
            TCustom3DSeries::ApplyGalleryStyle(Series, Index);
    }
}

void TPoint3DSeries::AddRandomSampleValues(int Count, bool)
{
    for (int i = 0; i < Count; ++i) {
        const double x = RandomBelow(100), y = RandomBelow(100), z = RandomBelow(100);
        AppendXYZ(x, y, z);
    }
}

void TPoint3DSeries::PrepareForGallery(bool Coloured)
{
    TCustom3DSeries::PrepareForGallery(Coloured);
    LinePen().SetColor(TColor(0x00800000));
    if (TCustomAxisPanel* chart = ParentChart()) chart->View3DOptions().SetZoom(60);
}

// ---- 3-D bubble series ---------------------------------------------------------------------------------

TBubble3DSeries::TBubble3DSeries(TComponent* AOwner) : TPoint3DSeries(AOwner)
{
    // The value list owns itself into the series' lists.
    FRadiusValues = new TChartValueList(this, LumConst::ValueRadius);
    Pointer().SetStyle(psCircle);
    SetColorEachPoint(true);
    LinePen().SetVisible(false);
}

TBubble3DSeries::~TBubble3DSeries() { TChartSeries::SetParentChart(nullptr); }

int TBubble3DSeries::AddBubble(double X, double Y, double Z, double Radius, const std::string& Label, TColor Color)
{
    FRadiusValues->PendingValue = Radius;
    return AppendXYZWithLabel(X, Y, Z, Label, Color);
}

bool TBubble3DSeries::AcceptsSource(const TChartSeries* Series) const
{
    return dynamic_cast<const TBubble3DSeries*>(Series) && TPoint3DSeries::AcceptsSource(Series);
}

int TBubble3DSeries::PointDepthHalfSize(int Index) const
{
    TCustomAxisPanel* chart = ParentChart();
    return chart ? chart->DepthAxis().SpanToPixels(FRadiusValues->ValueAt(Index)) : 0;
}

void TBubble3DSeries::ComputePointDepth(int Index)
{
    TCustomAxisPanel* chart = ParentChart();
    if (Pointer().Draw3D() && chart && chart->ChartCanvas().HasOwnRenderer()) {
        TPoint3DSeries::ComputePointDepth(Index);
        return;
    }
    const int start = ZScreenPosition(Index);
    const int h = std::max(1, PointDepthHalfSize(Index));
    const int middle = ClampedPixel(std::int64_t(start) + h);
    SetZExtent(start, middle, ClampedPixel(std::int64_t(middle) + h));
}

void TBubble3DSeries::PaintPoint(int Index)
{
    const TChartAxis* vert = GetVertAxis();
    const int size = vert ? vert->SpanToPixels(FRadiusValues->ValueAt(Index)) : 0;
    Pointer().StoreHorizSize(size);
    Pointer().StoreVertSize(size);
    TPoint3DSeries::PaintPoint(Index);
}

double TBubble3DSeries::HighestY()
{
    double high = TPoint3DSeries::HighestY();
    for (int i = 0; i < PointCount(); ++i) high = std::max(high, YValues().ValueAt(i) + FRadiusValues->ValueAt(i));
    return high;
}

double TBubble3DSeries::LowestY()
{
    double low = TPoint3DSeries::LowestY();
    for (int i = 0; i < PointCount(); ++i) low = std::min(low, YValues().ValueAt(i) - FRadiusValues->ValueAt(i));
    return low;
}

double TBubble3DSeries::HighestZ()
{
    double high = TPoint3DSeries::HighestZ();
    for (int i = 0; i < PointCount(); ++i) high = std::max(high, ZValues().ValueAt(i) + FRadiusValues->ValueAt(i));
    return high;
}

double TBubble3DSeries::LowestZ()
{
    double low = TPoint3DSeries::LowestZ();
    for (int i = 0; i < PointCount(); ++i) low = std::min(low, ZValues().ValueAt(i) - FRadiusValues->ValueAt(i));
    return low;
}

void TBubble3DSeries::AddRandomSampleValues(int Count, bool)
{
    const TSampleBounds b = SampleValueBounds(Count);
    double x = b.StartX;
    for (int i = 0; i < Count; ++i) {
        const double y = RandomBelow(PixelFromReal(b.SpanY));
        const double z = RandomBelow(200);
        const double radius = PixelFromReal(b.SpanY / (10 + RandomBelow(15))) + b.SpanY / 15;
        AddBubble(x, y, z, radius);
        x += b.StepX;
    }
}

void TBubble3DSeries::PrepareForGallery(bool Coloured)
{
    TPoint3DSeries::PrepareForGallery(Coloured);
    Pointer().Gradient().SetVisible(true);
}

void LumPoin3Initialization()
{
    RegisterSeries(TPoint3DSeries::StaticClassInfo(), LumProCo::Point3D, LumProCo::Gallery3D, 1);
    RegisterSeries(TBubble3DSeries::StaticClassInfo(), LumProCo::Bubble3D, LumProCo::Gallery3D, 1);
}

void LumPoin3Finalization()
{
    UnregisterSeriesClasses({&TPoint3DSeries::StaticClassInfo(), &TBubble3DSeries::StaticClassInfo()});
}
