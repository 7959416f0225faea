// The bar series' model: construction and copying, the shared mode of related series, slots and bar
// width, bar ends and origins with stacking, axis extents and margins, depth and draw order, gallery
// sub-styles, sample data and the published properties of both kinds.
#include "chart/series/SeriesBar.h"

#include "chart/base/LumConst.h"
#include "chart/control/ChartRegistry.h"
#include "chart/series/SeriesLine.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cstdint>

// ---- Published properties ------------------------------------------------------------------------------

namespace {

template <class T>
TComponent* Make(TComponent* Owner)
{
    return new T(Owner);
}

} // namespace

std::vector<TPropInfo> BarKindProperties(const char* WidthName, std::vector<TPropInfo> Own)
{
    using P = TProps<TCustomBarSeries>;
    using B = TCustomBarSeries;
    std::vector<TPropInfo> props{
        P::Boolean("AutoBarSize", &B::AutoBarSize, &B::SetAutoBarSize).Default(false),
        P::Boolean("AutoMarkPosition", &B::AutoMarkPosition, &B::SetAutoMarkPosition).Default(true),
        P::Object("BarBrush", [](const B& s) -> TPersistent* { return &s.BarBrush(); }),
        P::Object("BarPen", [](const B& s) -> TPersistent* { return &s.BarPen(); }),
        P::Enumeration("BarStyle", BarStyleNames, &B::BarStyle, &B::SetBarStyle).Default(bsRectangle),
        P::Integer("BarWidthPercent", &B::BarWidthPercent, &B::SetBarWidthPercent).Default(70),
        P::Integer("BevelSize", &B::BevelSize, &B::SetBevelSize).Default(1),
        P::Integer(WidthName, &B::CustomBarWidth, &B::SetCustomBarWidth).Default(0),
        P::Boolean("Dark3D", &B::Dark3D, &B::SetDark3D).Default(true),
        P::Integer("DepthPercent", &B::DepthPercent, &B::SetDepthPercent).Default(100),
        P::Object("Gradient", [](const B& s) -> TPersistent* { return &s.Gradient(); }),
        P::Enumeration("MultiBar", MultiBarNames, &B::MultiBar, &B::SetMultiBar).Default(mbSide),
        P::Integer("OffsetPercent", &B::OffsetPercent, &B::SetOffsetPercent).Default(0),
        P::Boolean("SideMargins", &B::SideMargins, &B::SetSideMargins).Default(true),
        P::Integer("StackGroup", &B::StackGroup, &B::SetStackGroup).Default(0),
        P::Object("TickLines", [](const B& s) -> TPersistent* { return &s.TickLines(); }),
        P::Boolean("UseYOrigin", &B::UseYOrigin, &B::SetUseYOrigin).Default(true),
        P::Real("YOrigin", &B::YOrigin, &B::SetYOrigin).Default(0.0),
    };
    for (TPropInfo& p : Own) props.push_back(std::move(p));
    return SeriesKindProperties(std::move(props));
}

const TClassInfo& TBarSeriesGradient::StaticClassInfo()
{
    using P = TProps<TBarSeriesGradient>;
    using G = TCustomLumGradient;
    static const TClassInfo info({
        .Name = "TBarSeriesGradient",
        .Parent = &TCustomLumGradient::StaticClassInfo(),
        .Properties = {
            P::Integer("Balance", &G::Balance, &G::SetBalance).Default(50),
            P::Enumeration("Direction", GradientDirectionNames, &G::Direction, &G::SetDirection)
                .StoredWhen([](const TBarSeriesGradient& g) { return g.Direction() != g.DefaultDirection(); }),
            P::Colour("MidColor", &G::MidColor, &G::SetMidColor).Default(clNone),
            P::Boolean("Relative", &TBarSeriesGradient::Relative, &TBarSeriesGradient::SetRelative).Default(false),
            P::Colour("StartColor", &G::StartColor, &G::SetStartColor).Default(clWhite),
            P::Boolean("Visible", &G::Visible, &G::SetVisible).Default(true),
        },
    });
    return info;
}

TBarSeriesGradient::TBarSeriesGradient(TNotifyEvent OnChanged, TGradientDirection DefaultDirection)
    : FDefaultDirection(DefaultDirection)
{
    SetVisible(true);
    SetDirection(DefaultDirection);
    OnChange = std::move(OnChanged);
}

void TBarSeriesGradient::Assign(const TPersistent& Source)
{
    if (const auto* g = dynamic_cast<const TBarSeriesGradient*>(&Source)) FRelative = g->FRelative;
    TCustomLumGradient::Assign(Source);
}

void TBarSeriesGradient::SetRelative(bool Value)
{
    if (Value == FRelative) return;
    FRelative = Value;
    if (OnChange) OnChange(this);
}

const TClassInfo& TCustomBarSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TCustomBarSeries", .Parent = &TChartSeries::StaticClassInfo()});
    return info;
}

const TClassInfo& TBarSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TBarSeries",
                                  .Parent = &TCustomBarSeries::StaticClassInfo(),
                                  .Properties = BarKindProperties("CustomBarWidth"),
                                  .Create = &Make<TBarSeries>});
    return info;
}

const TClassInfo& THorizBarSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "THorizBarSeries",
                                  .Parent = &TCustomBarSeries::StaticClassInfo(),
                                  .Properties = BarKindProperties("CustomBarHeight"),
                                  .Create = &Make<THorizBarSeries>});
    return info;
}

// ---- Life ----------------------------------------------------------------------------------------------

TCustomBarSeries::TCustomBarSeries(TComponent* AOwner, TGradientDirection GradientDirection) : TChartSeries(AOwner)
{
    const TNotifyEvent changed = [this](TPersistent* Sender) { StyleChanged(Sender); };
    FGradient = std::make_unique<TBarSeriesGradient>(changed, GradientDirection);
    FTickLines = std::make_unique<TChartHiddenPen>(changed);
    Marks().SetVisible(true);
    Marks().Callout().InitLength(20);
}

// Leaves the chart while the gradient and the tick pen still exist.
TCustomBarSeries::~TCustomBarSeries() { TChartSeries::SetParentChart(nullptr); }

TBarSeries::TBarSeries(TComponent* AOwner) : TCustomBarSeries(AOwner, gdTopBottom) { YValues().SetName(LumConst::ValueBar); }

THorizBarSeries::THorizBarSeries(TComponent* AOwner) : TCustomBarSeries(AOwner, gdLeftRight)
{
    MakeXMandatory();
    XValues().SetName(LumConst::ValueBar);
    XValues().SetOrder(loNone);
    YValues().SetOrder(loAscending);
}

void TCustomBarSeries::Assign(const TPersistent& Source)
{
    if (const auto* s = dynamic_cast<const TCustomBarSeries*>(&Source); s && s != this) {
        FAutoMarkPosition = s->FAutoMarkPosition;
        FBarWidthPercent = s->FBarWidthPercent;
        FBarStyle = s->FBarStyle;
        FBevelSize = s->FBevelSize;
        FCustomBarWidth = s->FCustomBarWidth;
        FDark3D = s->FDark3D;
        FDepthPercent = s->FDepthPercent;
        FGradient->Assign(*s->FGradient);
        FMultiBar = s->FMultiBar;
        FOffsetPercent = s->FOffsetPercent;
        FYOrigin = s->FYOrigin;
        FSideMargins = s->FSideMargins;
        FStackGroup = s->FStackGroup;
        FTickLines->Assign(*s->FTickLines);
        FUseYOrigin = s->FUseYOrigin;
    }
    TChartSeries::Assign(Source);
}

void TCustomBarSeries::SetBarStyle(TBarStyle Value)
{
    if (Value == FBarStyle) return;
    FBarStyle = Value;
    InvalidateChart();
}

// ---- The shared mode -------------------------------------------------------------------------------------

void TCustomBarSeries::SetMultiBar(TMultiBar Value)
{
    if (Value == FMultiBar) return;
    FMultiBar = Value;
    SyncMultiBar();
    InvalidateChart();
}

void TCustomBarSeries::SetSideMargins(bool Value)
{
    SetBooleanField(FSideMargins, Value);
    SyncMultiBar();
}

void TCustomBarSeries::SyncMultiBar()
{
    SetOrderedRange(FMultiBar != mbSelfStack);
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    for (int i = 0; i < chart->CountSeries(); ++i) {
        auto* s = dynamic_cast<TCustomBarSeries*>(chart->SeriesAt(i));
        if (!s || !ClassesRelated(*s)) continue;
        s->FMultiBar = FMultiBar;
        s->FSideMargins = FSideMargins;
        s->SetOrderedRange(FMultiBar != mbSelfStack);
    }
}

void TCustomBarSeries::SetParentChart(TCustomAxisPanel* Value)
{
    TChartSeries::SetParentChart(Value);
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    for (int i = 0; i < chart->CountSeries(); ++i) {
        auto* s = dynamic_cast<TCustomBarSeries*>(chart->SeriesAt(i));
        if (!s || !ClassesRelated(*s)) continue;
        FMultiBar = s->FMultiBar;
        FSideMargins = s->FSideMargins;
        return;
    }
}

// ---- Slots and width -------------------------------------------------------------------------------------

void TCustomBarSeries::PrepareForDraw()
{
    TChartSeries::PrepareForDraw();
    FSlotIndex = 1;
    FPrecedingPointCount = 0;
    FSlotCount = 0;
    FMaxPointCount = -1;
    std::vector<int> groups;
    bool selfFound = false;
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    for (int i = 0; i < chart->CountSeries(); ++i) {
        TChartSeries* s = chart->SeriesAt(i);
        if (!s->Active() || !ClassesRelated(*s)) continue;
        if (s == this) selfFound = true;
        const int n = s->PointCount();
        if (FMaxPointCount == -1 || FMaxPointCount < n) FMaxPointCount = n + (FSideMargins && n > 0 ? 1 : 0);
        switch (FMultiBar) {
        case mbNone:
        case mbSelfStack: FSlotCount = 1; break;
        case mbStacked:
        case mbStacked100: {
            const auto* bar = dynamic_cast<const TCustomBarSeries*>(s);
            const int group = bar ? bar->FStackGroup : 0;
            if (std::find(groups.begin(), groups.end(), group) == groups.end()) {
                groups.push_back(group);
                ++FSlotCount;
                if (!selfFound) ++FSlotIndex;
            }
            break;
        }
        case mbSide:
        case mbSideAll:
            ++FSlotCount;
            if (!selfFound) ++FSlotIndex;
            break;
        }
        if (!selfFound) FPrecedingPointCount += n;
    }
    if (!groups.empty())
        FSlotIndex = 1 + static_cast<int>(std::find(groups.begin(), groups.end(), FStackGroup) - groups.begin());
    const int perPage = chart->MaxPointsPerPage();
    if (FMultiBar == mbSelfStack)
        FMaxPointCount = perPage != 0 ? perPage : FSlotCount;
    else if (perPage > 0)
        FMaxPointCount = perPage;
}

int TCustomBarSeries::RoomPerCategory() const
{
    const TChartAxis* axis = CategoryAxis();
    if (!axis) return 0;
    const int length = axis->PixelSize;
    if (FAutoBarSize) return PixelFromReal(length / (axis->Maximum() + 2.0 - axis->Minimum()));
    return length / FMaxPointCount;
}

void TCustomBarSeries::ComputeBarWidth()
{
    if (FCustomBarWidth != 0) {
        FBarPixelWidth = FCustomBarWidth;
        return;
    }
    if (FMaxPointCount < 1) {
        FBarPixelWidth = 0;
        return;
    }
    // The product first, in this order: 70 x 0.01 x 55 lies just above 38.5 and rounds up.
    const int width = PixelFromReal(FBarWidthPercent * 0.01 * RoomPerCategory()) / std::max(1, FSlotCount);
    FBarPixelWidth = width > 0 && width % 2 != 0 ? width + 1 : width;
}

int TCustomBarSeries::BarMargin() const
{
    std::int64_t margin = FMultiBar == mbSideAll ? FBarPixelWidth : std::int64_t(FBarPixelWidth) * FSlotCount;
    if (!FSideMargins) margin /= 2;
    return ClampedPixel(margin);
}

// ---- Bar ends ------------------------------------------------------------------------------------------

int TCustomBarSeries::CategoryPixel(double Value) const
{
    return YMandatory() ? HorizValueToPixel(Value) : VertValueToPixel(Value);
}

namespace {
// The position of a series in its chart's list (its category when it stacks itself).
int ListPosition(const TChartSeries& Series)
{
    const TCustomAxisPanel* chart = Series.ParentChart();
    return chart ? chart->SeriesList().IndexOf(&Series) : 0;
}
} // namespace

int TCustomBarSeries::CategoryEdge(int Index) const
{
    const int w = FBarPixelWidth;
    std::int64_t p;
    switch (FMultiBar) {
    case mbSideAll: p = std::int64_t(CategoryPixel(double(Index) + FPrecedingPointCount)) - w / 2; break;
    case mbSelfStack: p = std::int64_t(CategoryPixel(ListPosition(*this))) - w / 2; break;
    case mbNone: p = std::int64_t(CategoryPixel(OtherValues().ValueAt(Index))) - w / 2; break;
    default:
        p = std::int64_t(CategoryPixel(OtherValues().ValueAt(Index))) +
            PixelFromReal((FSlotIndex - FSlotCount * 0.5 - 1) * w);
        break;
    }
    if (FOffsetPercent != 0) p += PixelFromReal(double(FOffsetPercent) * w * 0.01);
    return ClampedPixel(p);
}

double TCustomBarSeries::StackedSumAt(int Index, bool IncludeSelf) const
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return 0;
    const double v = MandatoryValueAt(Index);
    double sum = 0;
    for (int i = 0; i < chart->CountSeries(); ++i) {
        const TChartSeries* s = chart->SeriesAt(i);
        if (!IncludeSelf && s == this) break;
        const auto* bar = dynamic_cast<const TCustomBarSeries*>(s);
        if (!bar || !s->Active() || !ClassesRelated(*s) || s->PointCount() <= Index || bar->FStackGroup != FStackGroup)
            continue;
        const double a = s->DisplayValueAt(Index);
        if ((v >= 0 && a > 0) || (v < 0 && a < 0)) sum += a;
    }
    return sum;
}

double TCustomBarSeries::BarOriginValue(int Index, bool IncludeSelf) const
{
    switch (FMultiBar) {
    case mbStacked:
    case mbStacked100: return StackedSumAt(Index, IncludeSelf);
    case mbSelfStack: {
        double sum = 0;
        for (int i = 0; i < Index; ++i) sum += MandatoryValueAt(i);
        return sum;
    }
    default: return FYOrigin;
    }
}

// A stacked-100 value scaled by the stack's total at Index; pixel 0 for a total of 0.
int TCustomBarSeries::StackedPixel(int Index, double Value) const
{
    if (FMultiBar != mbStacked100) return MandatoryValueToPixel(Value);
    const double total = BarOriginValue(Index, true);
    return total == 0 ? 0 : MandatoryValueToPixel(Value * 100 / total);
}

int TCustomBarSeries::ValueEnd(int Index) const
{
    if (FMultiBar == mbNone || FMultiBar == mbSide || FMultiBar == mbSideAll)
        return MandatoryValueToPixel(MandatoryValueAt(Index));
    return StackedPixel(Index, BarOriginValue(Index, false) + MandatoryValueAt(Index));
}

int TCustomBarSeries::BarOriginPixel(int Index) const
{
    if (FMultiBar == mbStacked || FMultiBar == mbSelfStack || FMultiBar == mbStacked100)
        return StackedPixel(Index, BarOriginValue(Index, false));
    // A kind whose bars start at values of their own answers them as the origin.
    if (FUseYOrigin) return MandatoryValueToPixel(BarOriginValue(Index, false));
    const TChartAxis* axis = MandatoryAxis();
    if (!axis) return 0;
    return YMandatory() ? axis->EndPixel : axis->StartPixel;
}

// ---- Extents and margins -------------------------------------------------------------------------------

void TCustomBarSeries::ValueExtents(double& Low, double& High)
{
    Low = MandatoryValues().LowestValue();
    High = MandatoryValues().HighestValue();
    if (FMultiBar == mbStacked100) {
        Low = 0;
        High = 100;
    } else if (FMultiBar == mbStacked || FMultiBar == mbSelfStack) {
        // A self-stacked series too reaches its largest running end, not its plain total: with values
        // 5 and -4 the first bar ends at 5.
        for (int i = 0; i < PointCount(); ++i) {
            const double end = BarOriginValue(i, false) + MandatoryValueAt(i);
            Low = std::min(Low, end);
            High = std::max(High, end);
        }
    }
    if (FUseYOrigin) {
        High = std::max(High, FYOrigin);
        Low = std::min(Low, FYOrigin);
    }
}

void TCustomBarSeries::CategoryExtents(double& Low, double& High)
{
    Low = OtherValues().LowestValue();
    High = OtherValues().HighestValue();
    if (FMultiBar == mbSideAll) {
        High = PointCount() + FPrecedingPointCount - 1;
    } else if (FMultiBar == mbSelfStack) {
        Low = High = ListPosition(*this);
    }
}

double TBarSeries::HighestX()
{
    double low, high;
    CategoryExtents(low, high);
    return high;
}

double TBarSeries::LowestX()
{
    double low, high;
    CategoryExtents(low, high);
    return low;
}

double TBarSeries::HighestY()
{
    double low, high;
    ValueExtents(low, high);
    return high;
}

double TBarSeries::LowestY()
{
    double low, high;
    ValueExtents(low, high);
    return low;
}

double THorizBarSeries::HighestX()
{
    double low, high;
    ValueExtents(low, high);
    return high;
}

double THorizBarSeries::LowestX()
{
    double low, high;
    ValueExtents(low, high);
    return low;
}

double THorizBarSeries::HighestY()
{
    double low, high;
    CategoryExtents(low, high);
    return high;
}

double THorizBarSeries::LowestY()
{
    double low, high;
    CategoryExtents(low, high);
    return low;
}

int TCustomBarSeries::MarksRoom(int Index)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || PointCount() == 0 || !Marks().Visible()) return 0;
    TCanvas3D& canvas = chart->ChartCanvas();
    canvas.SelectFont(Marks().Font());
    std::int64_t room = std::int64_t(MarkExtent(Index)) + Marks().Callout().Length();
    if (Marks().Pen().Visible()) room += 2 * std::int64_t(Marks().Pen().Width());
    return ClampedPixel(room);
}

// Low and High are the margins at the value axis' smaller and larger values on screen (bottom and top, or
// left and right); an inverted axis exchanges them.
void TCustomBarSeries::ValueMargins(int& Low, int& High, int MarkIndex, bool Inverted)
{
    const int room = MarksRoom(MarkIndex);
    if (room <= 0) return;
    const int r = ClampedPixel(std::int64_t(room) + 1);
    if (FUseYOrigin && MandatoryValues().LowestValue() < FYOrigin) (Inverted ? High : Low) = r;
    if (!FUseYOrigin || MandatoryValues().HighestValue() > FYOrigin) (Inverted ? Low : High) = r;
}

void TBarSeries::HorizMargins(int& Left, int& Right)
{
    TCustomBarSeries::HorizMargins(Left, Right);
    ComputeBarWidth();
    const int margin = BarMargin();
    Left = ClampedPixel(std::int64_t(Left) + margin);
    Right = ClampedPixel(std::int64_t(Right) + margin);
}

void TBarSeries::VertMargins(int& Top, int& Bottom)
{
    TCustomBarSeries::VertMargins(Top, Bottom);
    const TChartAxis* axis = GetVertAxis();
    ValueMargins(Bottom, Top, 0, axis && axis->Inverted());
}

void THorizBarSeries::HorizMargins(int& Left, int& Right)
{
    TCustomBarSeries::HorizMargins(Left, Right);
    const TChartAxis* axis = GetHorizAxis();
    ValueMargins(Left, Right, -1, axis && axis->Inverted());
}

void THorizBarSeries::VertMargins(int& Top, int& Bottom)
{
    TCustomBarSeries::VertMargins(Top, Bottom);
    ComputeBarWidth();
    const int margin = BarMargin();
    Top = ClampedPixel(std::int64_t(Top) + margin);
    Bottom = ClampedPixel(std::int64_t(Bottom) + margin);
}

int TBarSeries::MarkExtent(int)
{
    return ParentChart() ? ParentChart()->ChartCanvas().CharHeight() : 0;
}

int THorizBarSeries::MarkExtent(int Index) { return Index == -1 ? WidestMarkText() : Marks().MarkTextWidth(Index); }

// ---- Depth, visible points and draw order --------------------------------------------------------------

void TCustomBarSeries::ComputeZOrder()
{
    TCustomAxisPanel* chart = ParentChart();
    if (FMultiBar != mbNone && chart) {
        // All related bars share the depth slot of the first of them.
        for (int i = 0; i < chart->CountSeries(); ++i) {
            TChartSeries* s = chart->SeriesAt(i);
            if (s == this) break;
            if (s->Active() && ClassesRelated(*s)) {
                SetZOrder(s->ZOrder());
                return;
            }
        }
    }
    TChartSeries::ComputeZOrder();
}

void TCustomBarSeries::ComputeZExtent()
{
    TChartSeries::ComputeZExtent();
    if (FDepthPercent == 0) return;
    const int d = PixelFromReal((100.0 - FDepthPercent) * (double(EndZ()) - StartZ()) * 0.005);
    SetZExtent(ClampedPixel(std::int64_t(StartZ()) + d), MiddleZ(), ClampedPixel(std::int64_t(EndZ()) - d));
}

bool TCustomBarSeries::SharesDepthWithOther() const
{
    if (YMandatory() && FMultiBar == mbSideAll) return false;
    return TChartSeries::SharesDepthWithOther();
}

void TCustomBarSeries::ComputeVisibleIndexRange()
{
    const int n = PointCount();
    TCustomAxisPanel* chart = ParentChart();
    if (FMultiBar == mbSelfStack) {
        SetVisibleRange(n > 0 ? 0 : -1, n > 0 ? n - 1 : -1);
    } else if (chart && chart->MaxPointsPerPage() == 1) {
        const int page = chart->Page() - 1;
        SetVisibleRange(page < n ? page : -1, page < n ? page : -1);
    } else {
        TChartSeries::ComputeVisibleIndexRange();
    }
}

bool TCustomBarSeries::ForwardBySign(int Index, double Origin, const TChartAxis* ValueAxis) const
{
    const bool plain = !(ValueAxis && ValueAxis->Inverted());
    if (FMultiBar == mbStacked100) return plain;
    return (MandatoryValueAt(Index) >= Origin) == plain;
}

bool TBarSeries::DrawSeriesForward(int Index) const
{
    if (MultiBar() == mbStacked || MultiBar() == mbSelfStack || MultiBar() == mbStacked100)
        return ForwardBySign(Index, YOrigin(), GetVertAxis());
    return TCustomBarSeries::DrawSeriesForward(Index);
}

bool THorizBarSeries::DrawSeriesForward(int Index) const
{
    switch (MultiBar()) {
    case mbNone: return TCustomBarSeries::DrawSeriesForward(Index);
    case mbSide:
    case mbSideAll: return false;
    default: return ForwardBySign(Index, 0, GetHorizAxis());
    }
}

// ---- Gallery, samples and legend -----------------------------------------------------------------------

void TCustomBarSeries::ListGalleryStyles(const TGalleryStyleCallback& Callback) const
{
    TChartSeries::ListGalleryStyles(Callback);
    if (!Callback) return;
    for (const char* name : {LumConst::Colors, LumConst::Pyramid, LumConst::Ellipse, LumConst::InvertedPyramid,
                             LumConst::Gradient})
        Callback(name);
    if (OffersStackVariants())
        for (const char* name : {LumConst::Stack, LumConst::Stack100, LumConst::SelfStacked}) Callback(name);
    Callback(LumConst::Sides);
    Callback(LumConst::SideAll);
}

void TCustomBarSeries::ApplyGalleryStyle(TChartSeries* Series, int Index)
{
    auto* bar = dynamic_cast<TCustomBarSeries*>(Series);
    if (!bar) return;
    switch (Index) {
    case 0: return;
    case 1: bar->SetColorEachPoint(true); return;
    case 2: bar->SetBarStyle(bsPyramid); return;
    case 3: bar->SetBarStyle(bsEllipse); return;
    case 4: bar->SetBarStyle(bsInvPyramid); return;
    case 5: bar->SetBarStyle(bsRectGradient); return;
    default: break;
    }
    TCustomAxisPanel* chart = bar->ParentChart();
    if (chart && chart->CountSeries() == 1) {
        // Stacking shows only with a second series: one of the same kind, two points each.
        bar->FillSampleValues(2);
        auto* other = dynamic_cast<TCustomBarSeries*>(chart->CreateSeriesFromClass(bar->ClassInfo()));
        if (other) {
            other->SetName(UniqueSeriesName(chart->Owner() ? chart->Owner() : chart));
            other->SetTitle("");
            other->FillSampleValues(2);
            other->Marks().SetVisible(false);
            other->SetBarWidthPercent(bar->BarWidthPercent());
            bar->Marks().SetVisible(false);
            ApplyGalleryStyle(other, Index);
        }
    }
    if (!OffersStackVariants()) Index += 3;
    switch (Index) {
    case 6: bar->SetMultiBar(mbStacked); break;
    case 7: bar->SetMultiBar(mbStacked100); break;
    case 8: bar->SetMultiBar(mbSelfStack); break;
    case 9: bar->SetMultiBar(mbSide); break;
    case 10: bar->SetMultiBar(mbSideAll); break;
    default: TChartSeries::ApplyGalleryStyle(Series, Index); break;
    }
}

void TCustomBarSeries::PrepareForGallery(bool Coloured)
{
    TChartSeries::PrepareForGallery(Coloured);
    SetBarWidthPercent(85);
    SetBarStyle(bsRectGradient);
    FGradient->SetVisible(true);
    SetMultiBar(mbNone);
}

int TCustomBarSeries::DefaultSampleCount() const
{
    const TCustomAxisPanel* chart = ParentChart();
    if (!chart || chart->CountSeries() <= 1) return 6;
    for (int i = 0; i < chart->CountSeries(); ++i) {
        const TChartSeries* s = chart->SeriesAt(i);
        if (s != this && dynamic_cast<const TCustomBarSeries*>(s) && s->PointCount() > 0) return s->PointCount();
    }
    return 6;
}

void TCustomBarSeries::AddRandomSampleValues(int Count, bool AsValues)
{
    // Bars of one chart share their categories unless another related series keeps X values of its own.
    bool ownValues = false;
    if (const TCustomAxisPanel* chart = ParentChart())
        for (int i = 0; i < chart->CountSeries(); ++i) {
            const TChartSeries* s = chart->SeriesAt(i);
            if (s != this && ClassesRelated(*s) && s->KeepsOwnValues()) ownValues = true;
        }
    TChartSeries::AddRandomSampleValues(Count, ownValues ? AsValues : true);
}

void TCustomBarSeries::LegendSymbolStyle(int, TColor& BackColor, TBrushStyle& Style)
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart) chart->ChartCanvas().SelectPen(BarPen());
    Style = BarBrush().Style();
    BackColor = BarBrush().Color() == clDefault && chart ? chart->Color() : BarBrush().Color();
}
