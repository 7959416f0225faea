// The circled series base and the pie's model: published properties, circle geometry, rotation and
// angles of screen points, the chart's 3-D view while a circled series is in it, the slice angles, the
// other slice, several pies in one chart, explode percents kept with their points, legend entries,
// sample data and gallery variants.
#include "chart/series/SeriesPie.h"

#include "chart/base/LumConst.h"
#include "chart/base/RadErareServices.h"
#include "chart/control/ChartControl.h"
#include "chart/control/ChartLegend.h"
#include "chart/series/SeriesLine.h"
#include "platform/controls/Screen.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

namespace {
constexpr double FullTurn = 2 * std::numbers::pi;
} // namespace

// ---- Published properties ------------------------------------------------------------------------------

const TClassInfo& TCircledSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TCircledSeries", .Parent = &TChartSeries::StaticClassInfo()});
    return info;
}

const TClassInfo& TPieShadow::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TPieShadow", .Parent = &TLumShadow::StaticClassInfo()});
    return info;
}

const TClassInfo& TPieOtherSlice::StaticClassInfo()
{
    using P = TProps<TPieOtherSlice>;
    using O = TPieOtherSlice;
    static const TClassInfo info({
        .Name = "TPieOtherSlice",
        .Parent = &TPersistent::StaticClassInfo(),
        .Properties = {
            P::Colour("Color", &O::Color, &O::SetColor).Default(clDefault),
            P::Object("Legend", [](const O& o) -> TPersistent* { return o.LegendIfAny(); })
                .StoredWhen([](const O& o) { return o.LegendIfAny() != nullptr; }),
            P::Enumeration("Style", PieOtherStyleNames, &O::Style, &O::SetStyle).Default(poNone),
            P::Text("Text", &O::StoredText, &O::SetText).StoredWhen([](const O& o) { return !o.StoredText().empty(); }),
            P::Real("Value", &O::Value, &O::SetValue).Default(0.0),
        },
    });
    return info;
}

const TClassInfo& TPieSeries::StaticClassInfo()
{
    using P = TProps<TPieSeries>;
    using S = TPieSeries;
    using C = TCircledSeries;
    static const TClassInfo info({
        .Name = "TPieSeries",
        .Parent = &TCircledSeries::StaticClassInfo(),
        .Properties = SeriesKindProperties(
            {
                P::Integer("AngleSize", &S::AngleSize, &S::SetAngleSize).Default(360),
                P::Boolean("AutoMarkPosition", &S::AutoMarkPosition, &S::SetAutoMarkPosition).Default(true),
                P::Colour("CircleBackColor", &C::CircleBackColor, &C::SetCircleBackColor).Default(clDefault),
                P::Boolean("Circled", &C::Circled, &C::SetCircled).Default(false),
                P::Boolean("ColorEachPoint", &TChartSeries::ColorEachPoint, &TChartSeries::SetColorEachPoint)
                    .Default(true),
                P::Integer("CustomXRadius", &C::CustomXRadius, &C::SetCustomXRadius).Default(0),
                P::Integer("CustomYRadius", &C::CustomYRadius, &C::SetCustomYRadius).Default(0),
                P::Boolean("Dark3D", &S::Dark3D, &S::SetDark3D).Default(true),
                P::Integer("DarkPen", &S::DarkPen, &S::SetDarkPen).Default(0),
                P::Integer("ExplodeBiggest", &S::ExplodeBiggest, &S::SetExplodeBiggest).Default(0),
                P::Object("Gradient", [](const S& s) -> TPersistent* { return &s.Gradient(); }),
                P::Enumeration("MultiPie", MultiPieNames, &S::MultiPie, &S::SetMultiPie).Default(mpAutomatic),
                P::Object("OtherSlice", [](const S& s) -> TPersistent* { return &s.OtherSlice(); }),
                P::Object("PiePen", [](const S& s) -> TPersistent* { return &s.PiePen(); }),
                P::Object("PieValues", [](const S& s) -> TPersistent* { return &s.PieValues(); }),
                P::Integer("RotationAngle", &C::RotationAngle, &C::SetRotationAngle).Default(0),
                P::Object("Shadow", [](const S& s) -> TPersistent* { return &s.Shadow(); }),
                P::Boolean("UsePatterns", &S::UsePatterns, &S::SetUsePatterns).Default(false),
            },
            {"ColorEachPoint", "Depth", "HorizAxis", "VertAxis", "XValues", "YValues"}),
        .Create = [](TComponent* Owner) -> TComponent* { return new TPieSeries(Owner); },
    });
    return info;
}

// ---- Circled series: life and settings -------------------------------------------------------------------

TCircledSeries::TCircledSeries(TComponent* AOwner) : TChartSeries(AOwner)
{
    XValues().SetName(LumConst::ValueAngle);
    FGradient = std::make_unique<TLumGradient>([this](TPersistent* Sender) { StyleChanged(Sender); });
    // The drawn points are never cut to an axis range.
    SetOrderedRange(false);
}

TCircledSeries::~TCircledSeries() { ReleaseChart(); }

void TCircledSeries::ReleaseChart()
{
    FFreeing = true;
    SwitchChartView3D(true);
    TChartSeries::SetParentChart(nullptr);
}

void TCircledSeries::Assign(const TPersistent& Source)
{
    if (const auto* s = dynamic_cast<const TCircledSeries*>(&Source); s && s != this) {
        FCircled = s->FCircled;
        SetRotationAngle(s->FRotationAngle);
        FCustomXRadius = s->FCustomXRadius;
        FCustomYRadius = s->FCustomYRadius;
        FCircleBackColor = s->FCircleBackColor;
        FGradient->Assign(*s->FGradient);
    }
    TChartSeries::Assign(Source);
}

template <class F>
void TCircledSeries::ForEachCircledKin(F Action)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) {
        Action(*this);
        return;
    }
    for (int i = 0; i < chart->CountSeries(); ++i) {
        auto* s = dynamic_cast<TCircledSeries*>(chart->SeriesAt(i));
        if (s && ClassInfo().InheritsFrom(s->ClassInfo())) Action(*s);
    }
}

void TCircledSeries::SetCircled(bool Value)
{
    SetBooleanField(FCircled, Value);
    ForEachCircledKin([Value](TCircledSeries& s) {
        s.FCircled = Value;
        if (s.ComponentState().Contains(csLoading)) return;
        s.FCustomXRadius = 0;
        s.FCustomYRadius = 0;
    });
}

void TCircledSeries::SetCustomXRadius(int Value)
{
    SetIntegerField(FCustomXRadius, Value);
    ForEachCircledKin([Value](TCircledSeries& s) { s.FCustomXRadius = Value; });
}

void TCircledSeries::SetCustomYRadius(int Value)
{
    SetIntegerField(FCustomYRadius, Value);
    ForEachCircledKin([Value](TCircledSeries& s) { s.FCustomYRadius = Value; });
}

void TCircledSeries::SetRotationAngle(int Value)
{
    SetIntegerField(FRotationAngle, ((Value % 360) + 360) % 360);
    SetRotationRadians();
}

// ---- Circle geometry -----------------------------------------------------------------------------------

void TCircledSeries::AdjustCircleRect()
{
    TRect& r = FCircleRect;
    if ((r.Right - r.Left) % 2 != 0) --r.Right;
    if ((r.Bottom - r.Top) % 2 != 0) --r.Bottom;
    if (r.Right - r.Left < 4) r.Right = r.Left + 4;
    if (r.Bottom - r.Top < 4) r.Bottom = r.Top + 4;
    FCircleWidth = r.Right - r.Left;
    FCircleHeight = r.Bottom - r.Top;
    const TPoint centre = GetRectMidpoint(r);
    FCircleXCenter = centre.x;
    FCircleYCenter = centre.y;
}

void TCircledSeries::ComputeRadii()
{
    if (FCustomXRadius != 0) {
        FXRadius = FCustomXRadius;
        FCircleWidth = ClampedPixel(2 * std::int64_t(FXRadius));
    } else {
        FXRadius = FCircleWidth / 2;
    }
    if (FCustomYRadius != 0) {
        FYRadius = FCustomYRadius;
        FCircleHeight = ClampedPixel(2 * std::int64_t(FYRadius));
    } else {
        FYRadius = FCircleHeight / 2;
    }
    FCircleRect = {ClampedPixel(std::int64_t(FCircleXCenter) - FXRadius), ClampedPixel(std::int64_t(FCircleYCenter) - FYRadius),
                   ClampedPixel(std::int64_t(FCircleXCenter) + FXRadius), ClampedPixel(std::int64_t(FCircleYCenter) + FYRadius)};
}

void TCircledSeries::MakeRound()
{
    ComputeRadii();
    // The width of a pixel over its height: the pixel shape of the device divided by its physical shape.
    // The pixels are those of the device drawn on (a bitmap or back buffer reports its own size, not the
    // screen's), and the screen's when the device tells none.
    double r = Screen->Height() > 0 ? double(Screen->Width()) / Screen->Height() : 1.0;
    if (TCustomAxisPanel* chart = ParentChart())
        if (const TCanvas* device = chart->ChartCanvas().DeviceHandle()) {
            const int width = device->GetDeviceCaps(HORZRES), height = device->GetDeviceCaps(VERTRES);
            if (width > 0 && height > 0) r = double(width) / height;
            const double aspect = DeviceAspectRatio(*device);
            if (aspect != 0) r /= aspect;
        }
    int d = PixelFromReal(FYRadius * r);
    if (d < FXRadius) {
        FCircleRect.Left += FXRadius - d;
        FCircleRect.Right -= FXRadius - d;
    } else {
        d = PixelFromReal(FXRadius / r);
        FCircleRect.Top += FYRadius - d;
        FCircleRect.Bottom -= FYRadius - d;
    }
    AdjustCircleRect();
}

void TCircledSeries::ComputeCircleGeometry()
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    FCircleRect = chart->ChartRect();
    AdjustCircleRect();
    if (Marks().Visible()) {
        // Room for the marks around the circle.
        TCanvas3D& canvas = chart->ChartCanvas();
        const int m = Marks().Callout().Length() + (Marks().Pen().Visible() ? 2 * Marks().Pen().Width() : 0);
        canvas.SelectFont(Marks().Font());
        const int vertical = canvas.CharHeight() + m;
        const int horizontal = canvas.MeasureTextWidth("W") + chart->WidestSeriesMark() + m;
        FCircleRect.Top += vertical;
        FCircleRect.Bottom -= vertical;
        FCircleRect.Left += horizontal;
        FCircleRect.Right -= horizontal;
        AdjustCircleRect();
    } else {
        BorrowCircleRect();
    }
    if (FCircled) MakeRound();
    ComputeRadii();
}

void TCircledSeries::BorrowCircleRect()
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    bool after = false;
    for (int i = 0; i < chart->CountSeries(); ++i) {
        TChartSeries* s = chart->SeriesAt(i);
        if (s == this) {
            after = true;
            continue;
        }
        auto* lender = dynamic_cast<TCircledSeries*>(s);
        if (!lender || !lender->Active() || !ClassesRelated(*lender) || !lender->Marks().Visible()) continue;
        if (after) lender->FireBeforeDrawValues();
        FCircleRect = lender->FCircleRect;
        AdjustCircleRect();
        ComputeRadii();
        return;
    }
}

void TCircledSeries::FireBeforeDrawValues()
{
    TChartSeries::FireBeforeDrawValues();
    ComputeCircleGeometry();
}

TPoint TCircledSeries::PolarToScreen(double A, double RX, double RY) const
{
    const double a = A + FRotationRadians;
    return {ClampedPixel(FCircleXCenter + std::int64_t(PixelFromReal(std::cos(a) * RX))),
            ClampedPixel(FCircleYCenter - std::int64_t(PixelFromReal(std::sin(a) * RY)))};
}

double TCircledSeries::ScreenToAngle(int X, int Y) const
{
    double a;
    if (X == FCircleXCenter)
        a = Y <= FCircleYCenter ? std::numbers::pi / 2 : -std::numbers::pi / 2;
    else if (FXRadius == 0 || FYRadius == 0)
        a = 0;
    else
        a = std::atan2((double(FCircleYCenter) - Y) / FYRadius, (double(X) - FCircleXCenter) / FXRadius);
    if (a < 0) a += FullTurn;
    a -= FRotationRadians;
    if (a < 0) a += FullTurn;
    return a;
}

TColor TCircledSeries::EffectiveCircleBackColor() const
{
    TColor c = FCircleBackColor;
    if (c != clDefault) return c;
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return c;
    if (chart->Printing())
        c = clWhite;
    else if (auto* full = dynamic_cast<TCustomChart*>(chart); full && !full->BackWall().Transparent())
        c = full->BackWall().Color();
    return c == clDefault ? chart->Color() : c;
}

void TCircledSeries::PaintCircleGradient()
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    if (chart->View3D() && !chart->View3DOptions().Orthogonal()) return;
    TRect r{FCircleXCenter - FCircleWidth / 2 + 1, FCircleYCenter - FCircleHeight / 2 + 1, 0, 0};
    r.Right = r.Left + FCircleWidth;
    r.Bottom = r.Top + FCircleHeight;
    if (chart->View3D()) r = canvas.ProjectRect(r, EndZ());
    canvas.ClipToEllipse(r, false);
    FGradient->DrawRect(canvas, r);
    canvas.RemoveClip();
}

void TCircledSeries::LegendSymbolStyle(int, TColor& BackColor, TBrushStyle&) { BackColor = EffectiveCircleBackColor(); }

// ---- The chart's 3-D view ------------------------------------------------------------------------------

void TCircledSeries::SwitchChartView3D(bool Restore)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || chart->IsDestroying()) return;
    if (!Restore || (Active() && !FFreeing)) {
        if (FSavedView3D) return;
        FSavedView3D = std::make_unique<TView3DOptions>();
        FSavedView3D->Assign(chart->View3DOptions());
        AdjustChartView3D();
    } else if (FSavedView3D) {
        chart->SetView3DOptions(*FSavedView3D);
        FSavedView3D.reset();
    }
}

void TCircledSeries::SetActive(bool Value)
{
    TChartSeries::SetActive(Value);
    SwitchChartView3D(!Active());
}

void TCircledSeries::SetParentChart(TCustomAxisPanel* Value)
{
    if (Value == ParentChart()) return;
    // The chart left gets its own view back before the series goes.
    if (ParentChart() && FSavedView3D && !ParentChart()->IsDestroying()) ParentChart()->SetView3DOptions(*FSavedView3D);
    FSavedView3D.reset();
    TChartSeries::SetParentChart(Value);
    if (Value) SwitchChartView3D(false);
}

// ---- Explode percents ----------------------------------------------------------------------------------

int TSliceValueList::ValueAt(int Index) const
{
    return Index >= 0 && Index < Count() ? FItems[static_cast<std::size_t>(Index)] : 0;
}

void TSliceValueList::SetValue(int Index, int Value)
{
    if (Index < 0) return;
    PadTo(Index + 1);
    int& slot = FItems[static_cast<std::size_t>(Index)];
    if (slot == Value) return;
    slot = Value;
    if (FOwner) FOwner->InvalidateChart();
}

void TSliceValueList::Delete(int Index)
{
    if (Index >= 0 && Index < Count()) FItems.erase(FItems.begin() + Index);
}

void TSliceValueList::Exchange(int A, int B)
{
    if (A < 0 || B < 0 || A >= Count() || B >= Count()) return;
    std::swap(FItems[static_cast<std::size_t>(A)], FItems[static_cast<std::size_t>(B)]);
}

void TSliceValueList::PadTo(int Count)
{
    if (Count > this->Count()) FItems.resize(static_cast<std::size_t>(Count), 0);
}

// ---- Other slice and shadow ----------------------------------------------------------------------------

TPieOtherSlice::TPieOtherSlice(TPieSeries* Owner) : FOwner(Owner) {}

TPieOtherSlice::~TPieOtherSlice() = default;

void TPieOtherSlice::Assign(const TPersistent& Source)
{
    const auto* o = dynamic_cast<const TPieOtherSlice*>(&Source);
    if (!o) {
        TPersistent::Assign(Source);
        return;
    }
    if (o == this) return;
    FColor = o->FColor;
    SetLegend(o->FLegend.get());
    FStyle = o->FStyle;
    FText = o->FText;
    FValue = o->FValue;
}

void TPieOtherSlice::Changed()
{
    if (FOwner) FOwner->InvalidateChart();
}

void TPieOtherSlice::SetColor(TColor Value)
{
    if (Value == FColor) return;
    FColor = Value;
    Changed();
}

void TPieOtherSlice::SetStyle(TPieOtherStyle Value)
{
    if (Value == FStyle) return;
    FStyle = Value;
    Changed();
}

std::string TPieOtherSlice::Text() const { return FText.empty() ? std::string(LumConst::Other) : FText; }

void TPieOtherSlice::SetText(const std::string& Value)
{
    if (Value == FText) return;
    FText = Value;
    Changed();
}

void TPieOtherSlice::SetValue(double Value)
{
    if (Value == FValue) return;
    FValue = Value;
    Changed();
}

TChartLegend& TPieOtherSlice::Legend()
{
    if (!FLegend) {
        FLegend = std::make_unique<TChartLegend>(FOwner ? FOwner->ParentChart() : nullptr);
        FLegend->SetVisible(false);
        FLegend->SetSeries(FOwner);
    }
    return *FLegend;
}

void TPieOtherSlice::SetLegend(const TChartLegend* Value)
{
    if (!Value) {
        FLegend.reset();
        return;
    }
    Legend().Assign(*Value);
    FLegend->AssignSeries(FOwner);
}

void TPieOtherSlice::MoveLegend(TCustomAxisPanel* Chart)
{
    if (!FLegend || FLegend->ParentChart() == Chart) return;
    auto moved = std::make_unique<TChartLegend>(Chart);
    moved->Assign(*FLegend);
    moved->SetSeries(FOwner);
    FLegend = std::move(moved);
}

TPieShadow::TPieShadow(TNotifyEvent OnChanged)
{
    constexpr TColor grey = static_cast<TColor>(0xA0A0A0);
    SetDefaultColor(grey);
    SetColor(grey);
    OnChange = std::move(OnChanged);
}

// ---- Pie: life -----------------------------------------------------------------------------------------

TPieSeries::TPieSeries(TComponent* AOwner) : TCircledSeries(AOwner)
{
    Marks().SetVisible(true);
    Marks().Callout().InitLength(8);
    XValues().SetName("");
    YValues().SetName(LumConst::ValuePie);
    Gradient().SetStartColor(clWhite);
    Gradient().SetDirection(gdRadial);
    SetKeepsOwnValues(false);
    SetColorEachPoint(true);
    FOtherSlice = std::make_unique<TPieOtherSlice>(this);
    FShadow = std::make_unique<TPieShadow>([this](TPersistent* Sender) { StyleChanged(Sender); });
}

TPieSeries::~TPieSeries()
{
    ReleaseChart();
    FOtherSlice.reset();
}

void TPieSeries::Assign(const TPersistent& Source)
{
    if (const auto* s = dynamic_cast<const TPieSeries*>(&Source); s && s != this) {
        FAngleSize = s->FAngleSize;
        FAutoMarkPosition = s->FAutoMarkPosition;
        FDark3D = s->FDark3D;
        FDarkPen = s->FDarkPen;
        FExplodeBiggest = s->FExplodeBiggest;
        FUsePatterns = s->FUsePatterns;
        FOtherSlice->Assign(*s->FOtherSlice);
        FShadow->Assign(*s->FShadow);
    }
    TCircledSeries::Assign(Source);
    // After the points, whose copy empties the list.
    if (const auto* s = dynamic_cast<const TPieSeries*>(&Source); s && s != this) {
        FExplodePercents.Clear();
        for (int i = 0; i < s->FExplodePercents.Count(); ++i) FExplodePercents.SetValue(i, s->FExplodePercents.ValueAt(i));
    }
    SetColorEachPoint(true);
}

void TPieSeries::SetParentChart(TCustomAxisPanel* Value)
{
    TCircledSeries::SetParentChart(Value);
    FOtherSlice->MoveLegend(ParentChart());
}

void TPieSeries::AdjustChartView3D()
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    TView3DOptions& view = chart->View3DOptions();
    view.SetOrthogonal(false);
    view.SetRotation(360);
    view.SetElevation(315);
    view.SetPerspective(0);
    view.SetTilt(0);
}

void TPieSeries::SetDefaultPieView()
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    TView3DOptions& view = chart->View3DOptions();
    view.SetOrthogonal(false);
    view.SetRotation(0);
    view.SetElevation(305);
}

void TPieSeries::SetParentView3D(bool Value)
{
    TCircledSeries::SetParentView3D(Value);
    SetDefaultPieView();
    if (TCustomAxisPanel* chart = ParentChart()) SetCircled(!chart->View3D());
}

void TPieSeries::SetAngleSize(int Value)
{
    if (Value == FAngleSize) return;
    FAngleSize = Value;
    FAngles.clear();
    InvalidateChart();
}

void TPieSeries::SetExplodeBiggest(int Value)
{
    SetIntegerField(FExplodeBiggest, Value);
    CalcExplodeBiggest();
}

void TPieSeries::SetMultiPie(TMultiPie Value)
{
    if (Value == FMultiPie) return;
    FMultiPie = Value;
    InvalidateChart();
}

// ---- Angles --------------------------------------------------------------------------------------------

void TPieSeries::EnsureAngles()
{
    if (FAngles.empty()) CalcAngles();
}

void TPieSeries::CalcAngles()
{
    const double full = FAngleSize * std::numbers::pi / 180;
    const int first = FirstVisible(), last = LastVisible();
    double total = 0;
    if (FOtherSlice->Style() != poNone || first == -1) {
        total = YValues().SumOfAbsValues();
    } else {
        for (int j = first; j <= last && j < PointCount(); ++j) total += std::fabs(YValues().ValueAt(j));
    }
    FAngles.assign(static_cast<std::size_t>(PointCount()), TPieAngle{});
    if (first < 0) return;
    const double q = total != 0 ? full / total : 0;
    double sum = 0;
    double previous = 0;
    for (int j = first; j <= last && j < PointCount(); ++j) {
        TPieAngle& a = FAngles[static_cast<std::size_t>(j)];
        a.FromAngle = j == first ? 0 : previous;
        if (total == 0) {
            a.ToAngle = full;
        } else {
            if (!IsGrouped(j)) sum += std::fabs(YValues().ValueAt(j));
            a.ToAngle = sum == total ? full : sum * q;
            if (a.ToAngle - a.FromAngle > full) a.ToAngle = a.FromAngle + full;
        }
        a.MiddleAngle = (a.FromAngle + a.ToAngle) * 0.5;
        previous = a.ToAngle;
    }
}

void TPieSeries::CalcExplodeBiggest()
{
    if (PointCount() == 0) return;
    int biggest = -1;
    const TCustomAxisPanel* chart = ParentChart();
    if (chart && chart->MaxPointsPerPage() > 0) {
        for (int i = std::max(0, FirstVisible()); i <= LastVisible() && i < PointCount(); ++i)
            if (biggest < 0 || YValues().ValueAt(i) > YValues().ValueAt(biggest)) biggest = i;
    } else {
        biggest = YValues().FindValue(YValues().HighestValue());
    }
    if (biggest >= 0) FExplodePercents.SetValue(biggest, FExplodeBiggest);
}

// ---- The other slice -----------------------------------------------------------------------------------

void TPieSeries::PrepareForDraw()
{
    TCircledSeries::PrepareForDraw();
    PrepareOtherSlice();
}

void TPieSeries::PrepareOtherSlice()
{
    std::optional<TSeriesMarkPosition> kept;
    if (const int other = XValues().FindValue(PieOtherSliceX); other >= 0)
        if (const TSeriesMarkPosition* p = Marks().Positions().PositionAt(other); p && p->Custom) kept = *p;
    if (YValues().Order() != loNone) YValues().SortByOrder();
    if (const int other = XValues().FindValue(PieOtherSliceX); other >= 0) DeletePoint(other);
    XValues().FillWithIndices();
    FAngles.clear();
    if (FOtherSlice->Style() == poNone) return;
    const double total = YValues().SumOfAbsValues();
    if (!(total > 0)) return;
    double otherTotal = 0;
    bool grouped = false;
    for (int i = 0; i < PointCount(); ++i) {
        const double y = std::fabs(YValues().ValueAt(i));
        const double v = FOtherSlice->Style() == poBelowPercent ? y * 100 / total : y;
        if (v < FOtherSlice->Value()) {
            otherTotal += y;
            XValues().StoreValueAt(i, PieGroupedX);
            grouped = true;
        }
    }
    if (!grouped) return;
    const int index = InsertPoint(PieOtherSliceX, otherTotal, FOtherSlice->Text(), FOtherSlice->Color());
    if (index < 0) return;
    // Percents and angles count every value once.
    YValues().SetSumOfAbsValues(YValues().SumOfAbsValues() - otherTotal);
    if (kept) Marks().Positions().StoreCustomPosition(index, *kept);
}

void TPieSeries::WritePointData(TStream& Stream)
{
    if (const int other = XValues().FindValue(PieOtherSliceX); other >= 0) DeletePoint(other);
    TCircledSeries::WritePointData(Stream);
}

void TPieSeries::ReorderPoints()
{
    XValues().SetOrder(loAscending);
    InvalidateChart();
}

// ---- Several pies --------------------------------------------------------------------------------------

void TPieSeries::FireBeforeDrawValues()
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart && FMultiPie == mpAutomatic) {
        FSavedChartRect = chart->ChartRect();
        FChartRectSaved = true;
        int n = 0, k = 0;
        for (int i = 0; i < chart->CountSeries(); ++i) {
            const TChartSeries* s = chart->SeriesAt(i);
            if (!s->Active() || !ClassesRelated(*s)) continue;
            if (s == this) k = n;
            ++n;
        }
        if (n >= 2) {
            const TRect& r = FSavedChartRect;
            const int columns = std::max(1, PixelFromReal(std::sqrt(double(n))));
            const int rows = std::max(1, PixelFromReal(std::sqrt(double(n)) + 0.5));
            const int w = (r.Right - r.Left) / columns, h = (r.Bottom - r.Top) / rows;
            const int left = r.Left + (k % columns) * w, top = r.Top + (k / columns) * h;
            chart->SetChartRect(chart->ChartCanvas().ProjectRect({left, top, left + w, top + h}, 0));
        }
    }
    TCircledSeries::FireBeforeDrawValues();
}

void TPieSeries::FireAfterDrawValues()
{
    if (FChartRectSaved) {
        if (TCustomAxisPanel* chart = ParentChart()) chart->SetChartRect(FSavedChartRect);
        FChartRectSaved = false;
    }
    TCircledSeries::FireAfterDrawValues();
}

// ---- Model overrides -----------------------------------------------------------------------------------

void TPieSeries::ComputeVisibleIndexRange()
{
    int first = -1, last = -1;
    PageIndexRange(first, last);
    if (FOtherSlice->Style() != poNone || first == -1)
        TCircledSeries::ComputeVisibleIndexRange();
    else
        SetVisibleRange(first, last);
}

double TPieSeries::HighestX() { return GetHorizAxis() ? GetHorizAxis()->Maximum() : 0; }
double TPieSeries::LowestX() { return GetHorizAxis() ? GetHorizAxis()->Minimum() : 0; }
double TPieSeries::HighestY() { return GetVertAxis() ? GetVertAxis()->Maximum() : 0; }
double TPieSeries::LowestY() { return GetVertAxis() ? GetVertAxis()->Minimum() : 0; }

int TPieSeries::ScreenXOf(int Index) const { return IsOtherSlice(Index) ? 0 : TCircledSeries::ScreenXOf(Index); }

void TPieSeries::ClearPoints()
{
    TCircledSeries::ClearPoints();
    FAngles.clear();
}

void TPieSeries::DeletePoint(int Index)
{
    TCircledSeries::DeletePoint(Index);
    FExplodePercents.Delete(Index);
    FAngles.clear();
}

void TPieSeries::SwapValueIndex(int I, int J)
{
    TCircledSeries::SwapValueIndex(I, J);
    if (FExplodePercents.Count() > 0) {
        FExplodePercents.PadTo(PointCount());
        FExplodePercents.Exchange(I, J);
    }
    FAngles.clear();
}

void TPieSeries::ResetPointStorage()
{
    TCircledSeries::ResetPointStorage();
    FExplodePercents.Clear();
    FAngles.clear();
}

// ---- Legend --------------------------------------------------------------------------------------------

int TPieSeries::LegendEntryCount() const
{
    int grouped = 0;
    for (int i = 0; i < PointCount(); ++i)
        if (IsGrouped(i)) ++grouped;
    if (FCurrentLegend && FCurrentLegend == FOtherSlice->LegendIfAny()) return grouped;
    return PointCount() - grouped;
}

int TPieSeries::LabelIndexOf(int LegendIndex) const
{
    const bool otherLegend = FCurrentLegend && FCurrentLegend == FOtherSlice->LegendIfAny();
    int k = 0;
    for (int i = 0; i < PointCount(); ++i) {
        if (IsGrouped(i) != otherLegend) continue;
        if (k == LegendIndex) return i;
        ++k;
    }
    return LegendIndex;
}

void TPieSeries::LegendSymbolStyle(int Index, TColor& BackColor, TBrushStyle& Style)
{
    TCircledSeries::LegendSymbolStyle(Index, BackColor, Style);
    SelectSlicePen(Index);
    Style = SlicePattern(Index);
}

// ---- Samples and gallery -------------------------------------------------------------------------------

void TPieSeries::AddRandomSampleValues(int Count, bool)
{
    static constexpr const char* labels[8] = {LumConst::SampleCars,     LumConst::SamplePhones, LumConst::SampleTables,
                                              LumConst::SampleMonitors, LumConst::SampleLamps,  LumConst::SampleKeyboards,
                                              LumConst::SampleBikes,    LumConst::SampleChairs};
    for (int k = 0; k < Count; ++k) AppendValue(RandomBelow(1000) + 1, labels[k % 8], clDefault);
}

void TPieSeries::ListGalleryStyles(const TGalleryStyleCallback& Callback) const
{
    TCircledSeries::ListGalleryStyles(Callback);
    if (!Callback) return;
    for (const char* name : {LumConst::Patterns, LumConst::Exploded, LumConst::Shadow, LumConst::Marks,
                             LumConst::SemiPie, LumConst::NoBorder, LumConst::DarkBorder})
        Callback(name);
}

void TPieSeries::ApplyGalleryStyle(TChartSeries* Series, int Index)
{
    auto* pie = dynamic_cast<TPieSeries*>(Series);
    if (!pie) return;
    switch (Index) {
    case 1: pie->SetUsePatterns(true); break;
    case 2: pie->SetExplodeBiggest(30); break;
    case 3: pie->Shadow().SetUniformSize(10); break;
    case 4:
        pie->Marks().SetVisible(true);
        pie->ClearPoints();
        pie->AppendValue(30, "A");
        pie->AppendValue(70, "B");
        break;
    case 5: pie->SetAngleSize(180); break;
    case 6: pie->PiePen().SetVisible(false); break;
    case 7: pie->SetDarkPen(32); break;
    default: break;
    }
}

void TPieSeries::PrepareForGallery(bool Coloured)
{
    TCircledSeries::PrepareForGallery(Coloured);
    FillSampleValues(8);
    if (TCustomAxisPanel* chart = ParentChart()) chart->SetChart3DPercent(75);
    Marks().Callout().SetLength(0);
    Marks().SetDrawEvery(1);
    Gradient().SetVisible(true);
    SetDefaultPieView();
    SetColorEachPoint(Coloured);
}
