// The Bezier series' settings, its curve drawing in each style (the device's poly-Bezier in 2-D for the
// default style, own steps otherwise), gallery preparation and registration.
#include "chart/extras/LumBezie.h"

#include "chart/base/LumConst.h"
#include "chart/base/LumProCo.h"
#include "chart/control/ChartRegistry.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/PixelMath.h"

namespace {

TComponent* MakeBezier(TComponent* Owner) { return new TBezierSeries(Owner); }

std::vector<TPropInfo> BezierProperties()
{
    using P = TProps<TBezierSeries>;
    using B = TBezierSeries;
    return SeriesKindProperties({
        P::Enumeration("BezierStyle", BezierStyleNames, &B::BezierStyle, &B::SetBezierStyle).Default(bsWindows),
        P::Object("LinePen", [](const B& s) -> TPersistent* { return &s.LinePen(); }),
        P::Integer("NumBezierPoints", &B::NumBezierPoints, &B::SetNumBezierPoints).Default(32),
        P::Object("Pointer", [](const B& s) -> TPersistent* { return &s.Pointer(); }),
    });
}

} // namespace

const TClassInfo& TBezierSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TBezierSeries",
                                  .Parent = &TCustomSeries::StaticClassInfo(),
                                  .Properties = BezierProperties(),
                                  .Create = &MakeBezier});
    return info;
}

TBezierSeries::TBezierSeries(TComponent* AOwner) : TCustomSeries(AOwner) {}

TBezierSeries::~TBezierSeries() { TChartSeries::SetParentChart(nullptr); }

void TBezierSeries::Assign(const TPersistent& Source)
{
    if (const auto* s = dynamic_cast<const TBezierSeries*>(&Source); s && s != this) {
        FBezierStyle = s->FBezierStyle;
        FNumBezierPoints = s->FNumBezierPoints;
    }
    TCustomSeries::Assign(Source);
}

void TBezierSeries::SetBezierStyle(TBezierStyle Value)
{
    if (Value == FBezierStyle) return;
    FBezierStyle = Value;
    InvalidateChart();
}

void TBezierSeries::SetNumBezierPoints(int Value)
{
    if (Value < 2) throw ChartException(LumProCo::BezierPointCount);
    SetIntegerField(FNumBezierPoints, Value);
}

void TBezierSeries::SetSeriesColor(TColor Value)
{
    TCustomSeries::SetSeriesColor(Value);
    LinePen().SetColor(Value);
}

void TBezierSeries::PrepareForGallery(bool Coloured)
{
    TCustomSeries::PrepareForGallery(Coloured);
    FillSampleValues(3);
    SetColorEachPoint(Coloured);
    Pointer().SetDraw3D(false);
}

void TBezierSeries::DrawSegment(const std::vector<TPoint>& P, int Kind, int End, bool Is3D)
{
    const int n = static_cast<int>(P.size());
    if (End >= n) return;
    TCanvas3D& canvas = ParentChart()->ChartCanvas();
    if (ColorEachLine()) canvas.SelectPenColor(LinePen(), PointColor(End));
    for (int k = 1; k <= FNumBezierPoints; ++k) {
        const double t = static_cast<double>(k) / FNumBezierPoints, u = 1 - t;
        double x, y;
        if (Kind == 3) {
            const TPoint a = P[End - 2], b = P[End - 1], c = P[End];
            x = a.x * u * u + 2.0 * b.x * u * t + c.x * t * t;
            y = a.y * u * u + 2.0 * b.y * u * t + c.y * t * t;
        } else {
            const TPoint a = P[End - 3], b = P[End - 2], c = P[End - 1], d = P[End];
            x = a.x * u * u * u + 3.0 * b.x * u * u * t + 3.0 * c.x * t * t * u + d.x * t * t * t;
            y = a.y * u * u * u + 3.0 * b.y * u * u * t + 3.0 * c.y * t * t * u + d.y * t * t * t;
        }
        if (Is3D)
            canvas.LineToAtZ(PixelFromReal(x), PixelFromReal(y), StartZ());
        else
            canvas.LineToXY(PixelFromReal(x), PixelFromReal(y));
    }
}

void TBezierSeries::PaintAllPoints()
{
    TCustomAxisPanel* chart = ParentChart();
    const int n = PointCount();
    if (!chart || n == 0) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    std::vector<TPoint> p(n);
    for (int i = 0; i < n; ++i) p[i] = {ScreenXOf(i), ScreenYOf(i)};
    const bool is3D = chart->View3D();
    canvas.SelectPen(LinePen());
    canvas.Brush().SetStyle(bsClear);
    canvas.WriteBackMode(TRANSPARENT);
    if (is3D)
        canvas.MoveToAtZ(p[0].x, p[0].y, StartZ());
    else
        canvas.MoveToXY(p[0].x, p[0].y);
    switch (FBezierStyle) {
    case bsBezier3:
        for (int e = 2; e <= n - 1; e += 2) DrawSegment(p, 3, e, is3D);
        break;
    case bsBezier4:
        for (int e = 3; e <= n - 1; e += 3) DrawSegment(p, 4, e, is3D);
        break;
    case bsWindows:
        if (is3D) {
            DrawSegment(p, 3, 2, true);
            for (int e = 5; e <= n - 1; e += 3) DrawSegment(p, 4, e, true);
        } else if (TCanvas* device = canvas.DeviceHandle()) {
            // Cubic segments from the current point 0 through P[1] .. P[3k], 3k the largest multiple of 3
            // not above n - 1: the curve never reads past the points.
            const int count = (n - 1) / 3 * 3;
            if (count > 0) device->PolyBezierTo(p.data() + 1, count);
        }
        break;
    }
    if (!Pointer().Visible()) return;
    for (int i = 0; i < n; ++i)
        if (!PointIsNull(i)) DrawPointer(p[i].x, p[i].y, i, PointColor(i));
}

void LumBezieInitialization()
{
    RegisterSeries(TBezierSeries::StaticClassInfo(), LumProCo::Bezier, LumConst::GalleryExtended, 1);
}

void LumBezieFinalization() { UnregisterSeriesClasses({&TBezierSeries::StaticClassInfo()}); }
