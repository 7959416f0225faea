// The volume pipe series: its geometry and segments from running sums, their drawing and gradient, marks
// over the segments, the click test, sample values and registration.
#include "chart/extras/LumVolumePipe.h"

#include "chart/base/LumConst.h"
#include "chart/base/LumProCo.h"
#include "chart/base/RadErareUtils.h"
#include "chart/control/ChartRegistry.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEngineMarks.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cmath>

namespace {

TComponent* MakePipe(TComponent* Owner) { return new TVolumePipeSeries(Owner); }

std::vector<TPropInfo> PipeProperties()
{
    using P = TProps<TVolumePipeSeries>;
    using V = TVolumePipeSeries;
    std::vector<TPropInfo> props = TChartSeries::PublishedSeriesProperties();
    std::vector<TPropInfo> own{
        P::Object("Brush", [](const V& s) -> TPersistent* { return &s.Brush(); }),
        P::Colour("Color", &V::Color, &V::SetColor).NotStored(),
        P::Integer("ConePercent", &V::ConePercent, &V::SetConePercent).Default(30),
        P::Object("Gradient", [](const V& s) -> TPersistent* { return &s.Gradient(); }),
        P::Object("LinesPen", [](const V& s) -> TPersistent* { return &s.LinesPen(); }),
        P::Object("Pen", [](const V& s) -> TPersistent* { return &s.Pen(); }),
    };
    for (TPropInfo& p : own) props.push_back(std::move(p));
    return props;
}

const char* const SampleNames[] = {LumConst::SampleCars, LumConst::SamplePhones, LumConst::SampleTables,
                                   LumConst::SampleMonitors, LumConst::SampleLamps};

} // namespace

double PipeDistanceForArea(double L, double H0, double H1, double Area)
{
    // 2 L a / (L H0 + sqrt(disc)) is the smaller root without the cancellation of the usual form, and
    // a / H0 when the heights are equal. A discriminant below 0 from rounding counts as 0.
    // A pipe without left height has no room for any area.
    if (!(H0 > 0)) return 0;
    const double disc = std::max(0.0, L * L * H0 * H0 - 2 * (H0 - H1) * L * Area);
    const double denominator = L * H0 + std::sqrt(disc);
    if (!(denominator > 0)) return 0;
    const double x = 2 * L * Area / denominator;
    if (std::isnan(x)) return 0;
    return std::clamp(x, 0.0, L);
}

const TClassInfo& TVolumePipeSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TVolumePipeSeries",
                                  .Parent = &TChartSeries::StaticClassInfo(),
                                  .Properties = PipeProperties(),
                                  .Defaults = {{"ColorEachPoint", true}},
                                  .Create = &MakePipe});
    return info;
}

TVolumePipeSeries::TVolumePipeSeries(TComponent* AOwner) : TChartSeries(AOwner)
{
    FLinesPen = CreateChartPen();
    FGradient = std::make_unique<TCustomLumGradient>([this](TPersistent* s) { StyleChanged(s); });
    FGradient->SetVisible(true);
    FGradient->SetMidColor(clWhite);
    SetColorEachPoint(true);
}

TVolumePipeSeries::~TVolumePipeSeries() { TChartSeries::SetParentChart(nullptr); }

void TVolumePipeSeries::PrepareForDraw()
{
    TChartSeries::PrepareForDraw();
    if (Active())
        if (TChartAxis* vert = GetVertAxis()) vert->SetVisible(false);
}

void TVolumePipeSeries::PaintAllPoints()
{
    TChartSeries::PaintAllPoints();
    FSegments.clear();
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    canvas.Brush().SetStyle(bsClear);
    if (FConePercent > 100) FConePercent = 100;
    TRect frame = chart->ChartRect();
    if (Marks().Visible()) {
        int tallest = 0;
        const int h = canvas.CharHeight();
        for (int i = std::max(0, FirstVisible()); i <= LastVisible() && i < PointCount(); ++i) {
            const std::string text = ComposeMarkText(i);
            tallest = std::max(tallest, (1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'))) * h);
        }
        frame.Top += tallest;
    }
    FTop = frame.Top;
    const int c = FConePercent / 2, h = frame.Bottom - frame.Top;
    FCorners = {TPoint{frame.Left + 2, frame.Top + 2}, TPoint{frame.Right - 2, frame.Top + PixelFromReal(h * c / 100.0)},
                TPoint{frame.Right - 2, frame.Bottom - PixelFromReal(h * c / 100.0)}, TPoint{frame.Left + 2, frame.Bottom - 2}};
    const TPoint p0 = FCorners[0], p1 = FCorners[1], p2 = FCorners[2], p3 = FCorners[3];
    const double h0 = p3.y - p0.y, h1 = p2.y - p1.y, l = p1.x - p0.x;
    const double area = PixelFromReal(l * (h0 + h1) * 0.5);
    const double taper = p1.y - p0.y;
    const double total = YValues().SumOfAbsValues();
    const bool is3D = chart->View3D();
    if (l != 0) {
        double sum = 0;
        int previousX = 0, previousInset = 0;
        for (int i = 0; i < PointCount(); ++i) {
            sum += YValues().ValueAt(i);
            if (PointIsNull(i)) continue;
            const int x = total == 0 ? 0 : PixelFromReal(PipeDistanceForArea(l, h0, h1, area * sum / total));
            const int inset = PixelFromReal(x / l * taper);
            TSegment segment{i, {TPoint{p0.x + x, p3.y - inset}, TPoint{p0.x + x, p0.y + inset},
                                 TPoint{p0.x + previousX, p0.y + previousInset}, TPoint{p0.x + previousX, p3.y - previousInset}}};
            if (FLinesPen->Visible())
                canvas.SelectPen(*FLinesPen);
            else
                canvas.Pen().SetStyle(psClear);
            const TColor color = PointColor(i);
            if (FGradient->Visible()) {
                FGradient->SetStartColor(color);
                FGradient->SetEndColor(color);
                FGradient->FillPolygon(canvas, segment.Polygon, is3D, StartZ());
                canvas.Brush().SetStyle(bsClear);
            } else {
                const TColor back = Brush().Color() == clDefault ? chart->Color() : Brush().Color();
                chart->SelectBrushContrast(color, Brush(), back);
            }
            canvas.DrawPolygonAtZ(segment.Polygon, StartZ());
            FSegments.push_back(segment);
            previousX = x;
            previousInset = inset;
        }
    }
    if (Pen().Visible()) {
        canvas.SelectPen(Pen());
        canvas.Brush().SetStyle(bsClear);
        canvas.DrawPolygonAtZ(FCorners, StartZ());
    }
}

void TVolumePipeSeries::PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position)
{
    for (const TSegment& s : FSegments)
        if (s.Index == Index) {
            const int centre = (s.Polygon[0].x + s.Polygon[2].x) / 2;
            Position.LeftTop = {centre - Position.Width / 2, FTop};
            break;
        }
    TChartSeries::PaintMark(Index, Text, Position);
}

int TVolumePipeSeries::PointAtPixel(int X, int Y) const
{
    const int base = TChartSeries::PointAtPixel(X, Y);
    if (base != -1) return base;
    for (const TSegment& s : FSegments)
        if (s.Index < PointCount() && PolygonContainsPoint({X, Y}, s.Polygon, 3)) return s.Index;
    return -1;
}

void TVolumePipeSeries::AddRandomSampleValues(int Count, bool)
{
    for (int i = 0; i < Count; ++i) AppendValue(1 + RandomBelow(1000), SampleNames[i % 5]);
}

void LumVolumePipeInitialization()
{
    RegisterSeries(TVolumePipeSeries::StaticClassInfo(), LumProCo::VolumePipe, LumConst::GalleryStats, 1);
}

void LumVolumePipeFinalization() { UnregisterSeriesClasses({&TVolumePipeSeries::StaticClassInfo()}); }
