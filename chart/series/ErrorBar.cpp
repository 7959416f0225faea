// The error and error-bar series (whiskers from the "StdError" list, their extents, margins, colours,
// legend symbol, samples and gallery preparation), the high-low band with its sides, extents, click
// test, gallery and samples, and the registration of the three kinds on the gallery page "Stats".
#include "chart/series/ErrorBar.h"

#include "chart/base/LumConst.h"
#include "chart/base/LumProCo.h"
#include "chart/base/RadErareUtils.h"
#include "chart/control/ChartRegistry.h"
#include "chart/series/SeriesLine.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

// ---- Published properties ------------------------------------------------------------------------------

namespace {

template <class T>
TComponent* Make(TComponent* Owner)
{
    return new T(Owner);
}

std::vector<TPropInfo> ErrorProperties(bool WithStyle)
{
    using P = TProps<TCustomErrorSeries>;
    using E = TCustomErrorSeries;
    std::vector<TPropInfo> own{
        P::Object("ErrorPen", [](const E& s) -> TPersistent* { return &s.ErrorPen(); }),
    };
    if (WithStyle)
        own.push_back(P::Enumeration("ErrorStyle", ErrorSeriesStyleNames, &E::ErrorStyle, &E::SetErrorStyle)
                          .Default(essTopBottom));
    own.push_back(P::Object("ErrorValues", [](const E& s) -> TPersistent* { return &s.ErrorValues(); }));
    own.push_back(P::Integer("ErrorWidth", &E::ErrorWidth, &E::SetErrorWidth).Default(100));
    own.push_back(P::Enumeration("ErrorWidthUnits", ErrorWidthUnitsNames, &E::ErrorWidthUnits, &E::SetErrorWidthUnits)
                      .Default(ewuPercent));
    return BarKindProperties("CustomBarWidth", std::move(own));
}

std::vector<TPropInfo> HighLowProperties()
{
    using P = TProps<THighLowSeries>;
    using H = THighLowSeries;
    return SeriesKindProperties({
        P::Object("HighBrush", [](const H& s) -> TPersistent* { return &s.HighBrush(); }),
        P::Object("HighPen", [](const H& s) -> TPersistent* { return &s.HighPen(); }),
        P::Object("HighValues", [](const H& s) -> TPersistent* { return &s.HighValues(); }),
        P::Object("LowBrush", [](const H& s) -> TPersistent* { return &s.LowBrush(); }),
        P::Object("LowPen", [](const H& s) -> TPersistent* { return &s.LowPen(); }),
        P::Object("LowValues", [](const H& s) -> TPersistent* { return &s.LowValues(); }),
        P::Object("Pen", [](const H& s) -> TPersistent* { return &s.Pen(); }),
        P::Integer("Transparency", &H::Transparency, &H::SetTransparency).Default(0),
    });
}

} // namespace

const TClassInfo& TCustomErrorSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TCustomErrorSeries", .Parent = &TBarSeries::StaticClassInfo()});
    return info;
}

const TClassInfo& TErrorSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TErrorSeries",
                                  .Parent = &TCustomErrorSeries::StaticClassInfo(),
                                  .Properties = ErrorProperties(true),
                                  .Create = &Make<TErrorSeries>});
    return info;
}

const TClassInfo& TErrorBarSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TErrorBarSeries",
                                  .Parent = &TCustomErrorSeries::StaticClassInfo(),
                                  .Properties = ErrorProperties(false),
                                  .Create = &Make<TErrorBarSeries>});
    return info;
}

const TClassInfo& THighLowSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "THighLowSeries",
                                  .Parent = &TChartSeries::StaticClassInfo(),
                                  .Properties = HighLowProperties(),
                                  .Create = &Make<THighLowSeries>});
    return info;
}

// ---- Error series: life and settings -------------------------------------------------------------------

TCustomErrorSeries::TCustomErrorSeries(TComponent* AOwner, bool DrawBar) : TBarSeries(AOwner), FDrawBar(DrawBar)
{
    FErrorPen = CreateChartPen();
    // The value lists own themselves into the series' lists.
    FErrorValues = new TChartValueList(this, "StdError");
    Marks().SetVisible(false);
}

TCustomErrorSeries::~TCustomErrorSeries() { TChartSeries::SetParentChart(nullptr); }

TErrorBarSeries::TErrorBarSeries(TComponent* AOwner) : TCustomErrorSeries(AOwner, true) { SetErrorStyle(essTop); }

void TCustomErrorSeries::Assign(const TPersistent& Source)
{
    if (const auto* s = dynamic_cast<const TCustomErrorSeries*>(&Source); s && s != this) {
        FErrorPen->Assign(*s->FErrorPen);
        FErrorStyle = s->FErrorStyle;
        FErrorWidth = s->FErrorWidth;
        FErrorWidthUnits = s->FErrorWidthUnits;
    }
    TBarSeries::Assign(Source);
}

void TCustomErrorSeries::SetErrorPen(const TChartPen& Value)
{
    FErrorPen->Assign(Value);
    if (!FDrawBar) TBarSeries::SetSeriesColor(Value.Color());
}

void TCustomErrorSeries::SetSeriesColor(TColor Value)
{
    TBarSeries::SetSeriesColor(Value);
    if (!FDrawBar) FErrorPen->SetColor(Value);
}

void TCustomErrorSeries::SetErrorStyle(TErrorSeriesStyle Value)
{
    if (Value == FErrorStyle) return;
    FErrorStyle = Value;
    InvalidateChart();
}

void TCustomErrorSeries::SetErrorWidthUnits(TErrorWidthUnits Value)
{
    if (Value == FErrorWidthUnits) return;
    FErrorWidthUnits = Value;
    InvalidateChart();
}

int TCustomErrorSeries::AddErrorPoint(double X, double Y, double Error, const std::string& Label, TColor Color)
{
    FErrorValues->PendingValue = Error;
    return InsertPoint(X, Y, Label, Color);
}

// ---- Error series: extents and margins -----------------------------------------------------------------

namespace {
bool Sideways(TErrorSeriesStyle S) { return S == essLeft || S == essRight || S == essLeftRight; }
bool Upward(TErrorSeriesStyle S) { return S == essTop || S == essTopBottom; }
bool Downward(TErrorSeriesStyle S) { return S == essBottom || S == essTopBottom; }
} // namespace

void TCustomErrorSeries::HorizMargins(int& Left, int& Right)
{
    TBarSeries::HorizMargins(Left, Right);
    const int w = FErrorPen->Width();
    if (FErrorStyle == essLeft || FErrorStyle == essLeftRight) Left = std::max(Left, w);
    if (FErrorStyle == essRight || FErrorStyle == essLeftRight) Right = std::max(Right, w);
}

void TCustomErrorSeries::VertMargins(int& Top, int& Bottom)
{
    TBarSeries::VertMargins(Top, Bottom);
    const int w = FErrorPen->Width();
    if (Upward(FErrorStyle)) Top = std::max(Top, w);
    if (Downward(FErrorStyle)) Bottom = std::max(Bottom, w);
}

// The whisker reaches |e| whatever the sign of the stored error, and so does the range.
double TCustomErrorSeries::HighestY()
{
    if (PointCount() == 0) return TBarSeries::HighestY();
    double high = FDrawBar ? TBarSeries::HighestY() : YValues().ValueAt(0) + std::fabs(FErrorValues->ValueAt(0));
    for (int i = 0; i < PointCount(); ++i) {
        const double y = YValues().ValueAt(i), e = std::fabs(FErrorValues->ValueAt(i));
        high = std::max(high, FDrawBar ? (y >= 0 ? y + e : y - e) : y + e);
    }
    return high;
}

double TCustomErrorSeries::LowestY()
{
    if (PointCount() == 0) return TBarSeries::LowestY();
    double low = FDrawBar ? TBarSeries::LowestY() : YValues().ValueAt(0) - std::fabs(FErrorValues->ValueAt(0));
    for (int i = 0; i < PointCount(); ++i) {
        const double y = YValues().ValueAt(i), e = std::fabs(FErrorValues->ValueAt(i));
        low = std::min(low, FDrawBar ? (y >= 0 ? y + e : y - e) : y - e);
    }
    return low;
}

// ---- Error series: drawing -----------------------------------------------------------------------------

void TCustomErrorSeries::DrawWhiskers(int X, int Y, int CrossWidth, int CrossHeight, int H, int Up, int Down,
                                      bool In3D, int Z)
{
    TCanvas3D& canvas = ParentChart()->ChartCanvas();
    auto horiz = [&](int X0, int X1, int AtY) {
        if (In3D)
            canvas.DrawHorizLineAtZ(X0, X1, AtY, Z);
        else
            canvas.DrawHorizLine(X0, X1, AtY);
    };
    auto vert = [&](int AtX, int Y0, int Y1) {
        if (In3D)
            canvas.DrawVertLineAtZ(AtX, Y0, Y1, Z);
        else
            canvas.DrawVertLine(AtX, Y0, Y1);
    };
    auto sideways = [&](int EndX) {
        horiz(X, EndX, Y);
        vert(EndX, Y - CrossHeight / 2, Y + CrossHeight / 2);
    };
    auto upDown = [&](int EndY) {
        vert(X, Y, EndY);
        horiz(X - CrossWidth / 2, X + CrossWidth / 2, EndY);
    };
    if (FErrorStyle == essLeft || FErrorStyle == essLeftRight) sideways(ClampedPixel(std::int64_t(X) - H));
    if (FErrorStyle == essRight || FErrorStyle == essLeftRight) sideways(ClampedPixel(std::int64_t(X) + H));
    if (Upward(FErrorStyle)) upDown(ClampedPixel(std::int64_t(Y) - Up));
    if (Downward(FErrorStyle)) upDown(ClampedPixel(std::int64_t(Y) + Down));
}

void TCustomErrorSeries::PaintBar(int Index, int Upper, int Lower)
{
    if (FDrawBar) TBarSeries::PaintBar(Index, Upper, Lower);
    const double e = std::fabs(FErrorValues->ValueAt(Index));
    if (!FErrorPen->Visible() || e == 0) return;
    TCustomAxisPanel* chart = ParentChart();
    const TRect& b = BarBounds();
    const int barWidth = b.Right - b.Left;
    int w = FErrorWidth;
    if (FErrorWidth == 0)
        w = barWidth;
    else if (FErrorWidthUnits == ewuPercent)
        w = PixelFromReal(FErrorWidth * double(barWidth) * 0.01);
    const double y = YValues().ValueAt(Index);
    const int x = (b.Left + b.Right) / 2;
    const int py = VertValueToPixel(MultiBar() == mbStacked100 ? 100 : y);
    int h = 0, up = 0, down = 0;
    if (Sideways(FErrorStyle)) {
        h = GetHorizAxis() ? GetHorizAxis()->SpanToPixels(e) : 0;
    } else {
        up = py - VertValueToPixel(y + e / 2);
        down = VertValueToPixel(y - e / 2) - py;
    }
    // Under a bar below the origin the whisker points away from the origin, beyond the bar's end.
    if (FDrawBar && y < YOrigin()) {
        h = -h;
        up = -up;
    }
    TCanvas3D& canvas = chart->ChartCanvas();
    canvas.SelectPenColor(*FErrorPen, FDrawBar ? FErrorPen->Color() : PointColor(Index));
    canvas.WriteBackMode(TRANSPARENT);
    DrawWhiskers(x, py, w, w, h, up, down, chart->View3D(), MiddleZ());
}

void TCustomErrorSeries::LegendSymbolStyle(int, TColor&, TBrushStyle&)
{
    if (ParentChart()) ParentChart()->ChartCanvas().SelectPen(*FErrorPen);
}

// The whiskers from the symbol's centre to a pixel inside its edges, cross lines as wide (high) as the
// symbol: everything stays inside it.
void TCustomErrorSeries::PaintLegendShape(int Index, const TRect& Rect)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    if (FDrawBar) TBarSeries::PaintLegendShape(Index, Rect);
    const TColor color = FDrawBar ? FErrorPen->Color() : Index == -1 ? SeriesColor() : LegendColorOf(Index);
    chart->ChartCanvas().SelectPenColor(*FErrorPen, color);
    const int width = Rect.Right - Rect.Left, height = Rect.Bottom - Rect.Top;
    const int x = (Rect.Left + Rect.Right) / 2, y = (Rect.Top + Rect.Bottom) / 2;
    DrawWhiskers(x, y, width, height, std::max(0, width / 2 - 1), std::max(0, height / 2 - 1),
                 std::max(0, height / 2 - 1), false, 0);
}

// ---- Error series: samples and gallery -----------------------------------------------------------------

void TCustomErrorSeries::AddRandomSampleValues(int Count, bool)
{
    const TSampleBounds b = SampleValueBounds(Count);
    const double r = b.SpanY;
    double x = b.StartX;
    for (int i = 0; i < Count; ++i) {
        AddErrorPoint(x, RandomBelow(std::max(1, PixelFromReal(r))), r / (20 + RandomBelow(4)));
        x += b.StepX;
    }
}

void TCustomErrorSeries::PrepareForGallery(bool Coloured)
{
    TBarSeries::PrepareForGallery(Coloured);
    FErrorPen->SetColor(Coloured ? clRed : clWhite);
    SetSeriesColor(Coloured ? clBlue : static_cast<TColor>(0xC0C0C0));
}

void TErrorBarSeries::PrepareForGallery(bool Coloured)
{
    ErrorPen().SetWidth(2);
    TCustomErrorSeries::PrepareForGallery(Coloured);
}

// ---- High-low series -----------------------------------------------------------------------------------

THighLowSeries::THighLowSeries(TComponent* AOwner) : TChartSeries(AOwner)
{
    const TNotifyEvent changed = [this](TPersistent* Sender) { StyleChanged(Sender); };
    FHighPen = CreateChartPen();
    FLowValues = new TChartValueList(this, "Low");
    FLowPen = CreateChartPen();
    FLowBrush = std::make_unique<TChartBrush>(changed);
    FLowBrush->SetStyle(bsClear);
    Brush().SetStyle(bsClear);
    Pen().SetColor(clDefault);
    SetOrderedRange(false);
}

THighLowSeries::~THighLowSeries() { TChartSeries::SetParentChart(nullptr); }

void THighLowSeries::Assign(const TPersistent& Source)
{
    if (const auto* s = dynamic_cast<const THighLowSeries*>(&Source); s && s != this) {
        FHighPen->Assign(*s->FHighPen);
        FLowPen->Assign(*s->FLowPen);
        FLowBrush->Assign(*s->FLowBrush);
        FTransparency = s->FTransparency;
    }
    TChartSeries::Assign(Source);
}

int THighLowSeries::AddHighLowPoint(double X, double High, double Low)
{
    FLowValues->PendingValue = Low;
    return InsertPoint(X, High, {}, clDefault);
}

double THighLowSeries::HighestY() { return std::max(TChartSeries::HighestY(), FLowValues->HighestValue()); }

double THighLowSeries::LowestY() { return std::min(TChartSeries::LowestY(), FLowValues->LowestValue()); }

bool THighLowSeries::AcceptsSource(const TChartSeries* Series) const
{
    return Series != this && dynamic_cast<const THighLowSeries*>(Series) != nullptr;
}

void THighLowSeries::FillBand(TPoint P0, TPoint P1, TPoint P2, TPoint P3, TChartBrush& Brush, TColor Color)
{
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& canvas = chart->ChartCanvas();
    canvas.SelectBrush(Brush, Color);
    canvas.Pen().SetStyle(psClear);
    const bool in3D = chart->View3D();
    const TFourPoints quad{P0, P1, P2, P3};
    std::unique_ptr<TLumBlend> blend;
    if (FTransparency > 0) {
        TFourPoints projected;
        for (int k = 0; k < 4; ++k) projected[k] = canvas.ProjectXYZ(quad[k].x, quad[k].y, MiddleZ());
        blend = canvas.BeginTransparency(PointsEnclosingRect(projected, 4), FTransparency);
    }
    if (in3D)
        canvas.DrawQuadRecordAtZ(quad, MiddleZ());
    else
        canvas.DrawPolygonPoints(quad);
    if (blend) canvas.EndTransparency(std::move(blend));
}

void THighLowSeries::DrawSide(const TChartPen& Pen, TPoint From, TPoint To, TColor Color)
{
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& canvas = chart->ChartCanvas();
    canvas.SelectPenColor(Pen, Color);
    if (chart->View3D())
        canvas.DrawLineAtZ(From.x, From.y, To.x, To.y, MiddleZ());
    else
        canvas.DrawLineXY(From.x, From.y, To.x, To.y);
}

void THighLowSeries::PaintPoint(int Index)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    const int x = ScreenXOf(Index), high = ScreenYOf(Index), low = VertValueToPixel(FLowValues->ValueAt(Index));
    if (Index != StartDrawIndex()) {
        const int previous = DrawsForward() ? Index - 1 : Index + 1;
        const TColor c0 = PointColor(previous);
        const bool previousNull = c0 == clNone;
        if (!previousNull && !PointIsNull(Index)) {
            TChartBrush& brush = YValues().ValueAt(Index) > FLowValues->ValueAt(Index) ? HighBrush() : *FLowBrush;
            if (brush.Style() != bsClear) FillBand({FOldX, FOldHigh}, {FOldX, FOldLow}, {x, low}, {x, high}, brush, c0);
            if (FHighPen->Visible()) DrawSide(*FHighPen, {FOldX, FOldHigh}, {x, high}, FHighPen->Color());
            if (FLowPen->Visible()) DrawSide(*FLowPen, {FOldX, FOldLow}, {x, low}, FLowPen->Color());
        }
        if (Pen().Visible() && !previousNull) {
            TCanvas3D& canvas = chart->ChartCanvas();
            auto stick = [&](int AtX, int High, int Low, TColor Color) {
                canvas.SelectPenColor(Pen(), Pen().Color() == clDefault ? Color : Pen().Color());
                if (chart->View3D())
                    canvas.DrawVertLineAtZ(AtX, High, Low, MiddleZ());
                else
                    canvas.DrawVertLine(AtX, High, Low);
            };
            stick(FOldX, FOldHigh, FOldLow, c0);
            const int lastDrawn = DrawsForward() ? LastVisible() : FirstVisible();
            if (Index == lastDrawn) stick(x, high, low, PointColor(Index));
        }
    }
    FOldX = x;
    FOldHigh = high;
    FOldLow = low;
}

int THighLowSeries::PointAtPixel(int X, int Y) const
{
    const int first = FirstVisible(), last = std::min(LastVisible(), PointCount() - 1);
    TCustomAxisPanel* chart = ParentChart();
    if (first < 0 || last < 0 || !chart) return -1;
    TCanvas3D& canvas = chart->ChartCanvas();
    auto highAt = [&](int I) { return TPoint{ScreenXOf(I), ScreenYOf(I)}; };
    auto lowAt = [&](int I) { return TPoint{ScreenXOf(I), VertValueToPixel(FLowValues->ValueAt(I))}; };
    for (int i = first + 1; i <= last; ++i) {
        const TPoint q[4] = {highAt(i - 1), lowAt(i - 1), lowAt(i), highAt(i)};
        std::array<TPoint, 4> projected;
        for (int k = 0; k < 4; ++k) projected[k] = canvas.ProjectXYZ(q[k].x, q[k].y, MiddleZ());
        if (PolygonContainsPoint({X, Y}, projected, 3)) return i;
    }
    canvas.UnprojectPoint(X, Y, MiddleZ());
    for (int i = first; i <= last; ++i) {
        const TPoint p = highAt(i);
        if (p.x == X && p.y == Y) return i;
        if (i > first) {
            const TPoint q = highAt(i - 1);
            if (IsPointOnLineXY(X, Y, q.x, q.y, p.x, p.y)) return i - 1;
        }
    }
    return -1;
}

void THighLowSeries::ListGalleryStyles(const TGalleryStyleCallback& Callback) const
{
    TChartSeries::ListGalleryStyles(Callback);
    if (!Callback) return;
    for (const char* name : {LumConst::Filled, LumConst::NoLines, LumConst::NoHigh, LumConst::NoLow}) Callback(name);
}

void THighLowSeries::ApplyGalleryStyle(TChartSeries* Series, int Index)
{
    auto* s = dynamic_cast<THighLowSeries*>(Series);
    if (!s) return;
    switch (Index) {
    case 1: s->HighBrush().SetStyle(bsSolid); break;
    case 2: s->Pen().SetVisible(false); break;
    case 3: s->HighPen().SetVisible(false); break;
    case 4: s->LowPen().SetVisible(false); break;
    default: TChartSeries::ApplyGalleryStyle(Series, Index); break;
    }
}

void THighLowSeries::AddRandomSampleValues(int Count, bool)
{
    const TSampleBounds b = SampleValueBounds(Count);
    const double r = b.SpanY;
    const int fifth = std::max(1, PixelFromReal(r / 5));
    double x = b.StartX;
    double v = RandomBelow(std::max(1, PixelFromReal(r)));
    for (int i = 0; i < Count; ++i) {
        v += RandomBelow(fifth) - r / 10;
        AddHighLowPoint(x, v, v - RandomBelow(fifth));
        x += b.StepX;
    }
}

// ---- Registration --------------------------------------------------------------------------------------

void RegisterErrorBarUnit()
{
    RegisterSeries(TErrorBarSeries::StaticClassInfo(), LumProCo::ErrorBar, LumConst::GalleryStats, 1);
    RegisterSeries(TErrorSeries::StaticClassInfo(), LumProCo::Error, LumConst::GalleryStats, 1);
    RegisterSeries(THighLowSeries::StaticClassInfo(), LumProCo::HighLow, LumConst::GalleryStats, 1);
}

void UnregisterErrorBarUnit()
{
    UnregisterSeriesClasses(
        {&TErrorBarSeries::StaticClassInfo(), &TErrorSeries::StaticClassInfo(), &THighLowSeries::StaticClassInfo()});
}
