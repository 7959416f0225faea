// The axis panel's structure: construction of the axes and lists, the series list and its events, pages,
// palette colours and legend items, data sources, the 3-D sizes and the tool stages.
#include "chart/engine/LumEnginePanel.h"

#include "chart/base/LumConst.h"
#include "chart/engine/LumEngineFunction.h"
#include "chart/engine/LumEngineSeries.h"
#include "chart/engine/LumEngineSeriesSource.h"
#include "platform/graphics/Printers.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

// ---- Class description ---------------------------------------------------------------------------------

const TClassInfo& TCustomAxisPanel::StaticClassInfo()
{
    using P = TProps<TCustomAxisPanel>;
    using C = TCustomAxisPanel;
    static const TClassInfo info({
        .Name = "TCustomAxisPanel",
        .Parent = &TCustomLumPanelExtended::StaticClassInfo(),
        .Properties = {
            P::Boolean("AxisBehind", &C::AxisBehind, &C::SetAxisBehind).Default(true),
            P::Boolean("AxisVisible", &C::AxisVisible, &C::SetAxisVisible).Default(true),
            P::Object("BottomAxis", [](const C& c) -> TPersistent* { return &c.BottomAxis(); }),
            P::Integer("Chart3DPercent", &C::Chart3DPercent, &C::SetChart3DPercent).Default(15),
            P::Boolean("ClipPoints", &C::ClipPoints, &C::SetClipPoints).Default(true),
            P::ItemList("CustomAxes", [](const C& c) -> TStreamedItems* { return &const_cast<C&>(c).CustomAxes(); })
                .StoredWhen([](const C& c) { return const_cast<C&>(c).CustomAxes().Count() > 0; }),
            P::Object("DepthAxis", [](const C& c) -> TPersistent* { return &c.DepthAxis(); }),
            P::Object("DepthTopAxis", [](const C& c) -> TPersistent* { return &c.DepthTopAxis(); }),
            P::Object("LeftAxis", [](const C& c) -> TPersistent* { return &c.LeftAxis(); }),
            P::Integer("MaxPointsPerPage", &C::MaxPointsPerPage, &C::SetMaxPointsPerPage).Default(0),
            P::Integer("Page", &C::Page, &C::SetPage).Default(1),
            P::Object("RightAxis", [](const C& c) -> TPersistent* { return &c.RightAxis(); }),
            P::Boolean("ScaleLastPage", &C::ScaleLastPage, &C::SetScaleLastPage).Default(true),
            P::Object("TopAxis", [](const C& c) -> TPersistent* { return &c.TopAxis(); }),
            P::Boolean("View3DWalls", &C::View3DWalls, &C::SetView3DWalls).Default(true),
        },
    });
    return info;
}

// ---- Life ----------------------------------------------------------------------------------------------

TCustomAxisPanel::TCustomAxisPanel(TComponent* AOwner)
    : TCustomLumPanelExtended(AOwner), FAxes(this), FSeriesList(this)
{
    SetAutoRepaint(false);
    FTools = std::make_unique<TChartTools>(this);
    FCustomAxes = std::make_unique<TChartCustomAxes>(*this);

    FBottomAxis = std::make_unique<TChartAxis>(*this);
    FBottomAxis->SetHorizontal(true);

    FTopAxis = std::make_unique<TChartAxis>(*this);
    FTopAxis->SetHorizontal(true);
    FTopAxis->SetOtherSide(true);
    FTopAxis->SetZPosition(100);
    FTopAxis->Grid().InitZPosition(100);

    FLeftAxis = std::make_unique<TChartAxis>(*this);
    FLeftAxis->Title().InitAngle(90);

    FRightAxis = std::make_unique<TChartAxis>(*this);
    FRightAxis->Title().InitAngle(270);
    FRightAxis->SetOtherSide(true);
    FRightAxis->SetZPosition(100);
    FRightAxis->Grid().InitZPosition(100);

    auto makeDepthAxis = [this](bool otherSide) {
        auto axis = std::make_unique<TChartDepthAxis>(*this);
        axis->SetVisible(false);
        axis->SetIsDepthAxis(true);
        axis->BindPositionCalculators();
        axis->SetOtherSide(otherSide);
        return axis;
    };
    FDepthAxis = makeDepthAxis(true);
    FDepthTopAxis = makeDepthAxis(false);

    FPage = 1;
    FScaleLastPage = true;
    SetAutoRepaint(true);
}

TCustomAxisPanel::~TCustomAxisPanel()
{
    FTearingDown = true;
    SetAutoRepaint(false);
    while (CountSeries() > 0) {
        TChartSeries* series = SeriesAt(0);
        series->SetParentChart(nullptr);
        if (CountSeries() > 0 && SeriesAt(0) == series) FSeriesList.Delete(0);
        series->Free();
    }
    // Each axis lets its tools go as it is freed; the tools go last.
    FCustomAxes.reset();
    FDepthTopAxis.reset();
    FDepthAxis.reset();
    FRightAxis.reset();
    FLeftAxis.reset();
    FTopAxis.reset();
    FBottomAxis.reset();
    FTools->Clear();
    FTools.reset();
    FSeriesListObserver.reset();
}

void TCustomAxisPanel::Assign(const TPersistent& Source)
{
    if (auto* other = dynamic_cast<const TCustomAxisPanel*>(&Source)) {
        FChart3DPercent = other->FChart3DPercent;
        FAxisBehind = other->FAxisBehind;
        FAxisVisible = other->FAxisVisible;
        FBottomAxis->Assign(*other->FBottomAxis);
        FClipPoints = other->FClipPoints;
        FChartPalette = other->FChartPalette;
        FCustomAxes->Assign(*other->FCustomAxes);
        FLeftAxis->Assign(*other->FLeftAxis);
        FDepthAxis->Assign(*other->FDepthAxis);
        FDepthTopAxis->Assign(*other->FDepthTopAxis);
        FMaxPointsPerPage = other->FMaxPointsPerPage;
        FPage = other->FPage;
        FRightAxis->Assign(*other->FRightAxis);
        FScaleLastPage = other->FScaleLastPage;
        FTopAxis->Assign(*other->FTopAxis);
        FView3DWalls = other->FView3DWalls;
    }
    TCustomLumPanelExtended::Assign(Source);
}

// ---- Settings ------------------------------------------------------------------------------------------

void TCustomAxisPanel::SetChart3DPercent(int Value)
{
    if (Value < 1 || Value > 100) {
        char text[80];
        std::snprintf(text, sizeof text, LumConst::Chart3DPercentRange, 1, 100);
        throw Exception(text);
    }
    ChangeInteger(FChart3DPercent, Value);
}

void TCustomAxisPanel::SetPage(int Value)
{
    Value = std::min(Value, CountPages());
    if (Value <= 0) Value = 1;
    if (Value == FPage) return;
    ChangeInteger(FPage, Value);
    BroadcastPageChange();
    if (OnPageChange) OnPageChange(this);
}

void TCustomAxisPanel::SetMaxPointsPerPage(int Value)
{
    if (Value < 0) throw ChartException(LumConst::MaxPointsPerPageNegative);
    ChangeInteger(FMaxPointsPerPage, Value);
    if (CountPages() < FPage) SetPage(CountPages());
    BroadcastPageChange();
}

// ---- Series list ---------------------------------------------------------------------------------------

int TCustomAxisPanel::ActiveSeriesCount() const
{
    return static_cast<int>(std::count_if(FSeriesList.Items().begin(), FSeriesList.Items().end(),
                                          [](const TChartSeries* s) { return s->Active(); }));
}

int TCustomAxisPanel::LargestActivePointCount() const
{
    int largest = 0;
    for (const TChartSeries* s : FSeriesList.Items())
        if (s->Active()) largest = std::max(largest, s->PointCount());
    return largest;
}

int TCustomAxisPanel::WidestSeriesMark() const
{
    int widest = 0;
    for (TChartSeries* s : FSeriesList.Items())
        if (s->Active()) widest = std::max(widest, s->WidestMarkText());
    return widest;
}

int TCustomAxisPanel::WidestSeriesLabel() const
{
    int widest = 0;
    int lines = 0;
    for (const TChartSeries* s : FSeriesList.Items())
        for (int i = 0; i < s->Labels().Count(); ++i)
            widest = std::max(widest, MeasureMultiLineText(s->Labels().LabelText(i), lines));
    return widest;
}

void TCustomAxisPanel::AddSeries(TChartSeries* Series)
{
    if (!Series || FSeriesList.Contains(Series)) return;
    Series->TCustomChartElement::SetParentChart(this);
    Series->AddedToChart();
    FSeriesList.Add(Series);
    SendSeriesEvent(Series, seAdded);
    Invalidate();
}

void TCustomAxisPanel::RemoveSeriesAt(int Index)
{
    if (Index < 0 || Index >= CountSeries()) return;
    TChartSeries* series = SeriesAt(Index);
    SendSeriesEvent(series, seRemoved);
    series->RemovedFromChart();
    FSeriesList.Delete(FSeriesList.IndexOf(series));
    Invalidate();
}

TChartSeries* TCustomAxisPanel::AttachSeries(TChartSeries* Series)
{
    if (Series) Series->SetParentChart(this);
    return Series;
}

TChartSeries* TCustomAxisPanel::CreateSeriesFromClass(const TClassInfo& Class)
{
    TComponent* component = Class.CreateComponent(Owner());
    auto* series = dynamic_cast<TChartSeries*>(component);
    if (!series) {
        if (component) component->Free();
        return nullptr;
    }
    return AttachSeries(series);
}

void TCustomAxisPanel::FreeSeriesOfClass(const std::string& ClassName)
{
    for (int i = CountSeries() - 1; i >= 0; --i) {
        if (i >= CountSeries()) continue;
        TChartSeries* s = SeriesAt(i);
        if (!ClassName.empty() && !s->InheritsFrom(ClassName)) continue;
        s->SetParentChart(nullptr);
        s->Free();
    }
}

void TCustomAxisPanel::SwapSeries(int A, int B)
{
    FSeriesList.Exchange(A, B);
    TChartSeries* atA = SeriesAt(A);
    TChartSeries* atB = SeriesAt(B);
    const int group = FSeriesList.Groups().GroupOfSeries(atA);
    if (group >= 0) {
        TCustomSeriesList& members = FSeriesList.Groups().GroupAt(group).Series();
        const int ia = members.IndexOf(atA);
        const int ib = members.IndexOf(atB);
        if (ia >= 0 && ib >= 0) members.Exchange(ia, ib);
    }
    SendSeriesEvent(nullptr, seSwapped);
    Invalidate();
}

void TCustomAxisPanel::SwapSeriesObjects(TChartSeries* A, TChartSeries* B)
{
    SwapSeries(FSeriesList.IndexOf(A), FSeriesList.IndexOf(B));
}

// ---- Events --------------------------------------------------------------------------------------------

void TCustomAxisPanel::SendSeriesEvent(TChartSeries* Series, std::uint8_t Kind)
{
    TLumSeriesEvent event;
    event.Event = Kind;
    event.Series = Series;
    BroadcastEvent(event);
}

void TCustomAxisPanel::BroadcastPageChange()
{
    TChartChangePage event;
    BroadcastEvent(event);
}

void TCustomAxisPanel::FireAfterDraw()
{
    if (OnAfterDraw) OnAfterDraw(this);
}

void TCustomAxisPanel::FireBeforeDrawAxes()
{
    if (OnBeforeDrawAxes) OnBeforeDrawAxes(this);
}

void TCustomAxisPanel::FireBeforeDrawChart()
{
    if (OnBeforeDrawChart) OnBeforeDrawChart(this);
}

void TCustomAxisPanel::FireBeforeDrawSeries()
{
    if (OnBeforeDrawSeries) OnBeforeDrawSeries(this);
}

// ---- Pages ---------------------------------------------------------------------------------------------

int TCustomAxisPanel::CountPages() const
{
    if (FMaxPointsPerPage < 1 || CountSeries() == 0) return 1;
    if (SeriesAt(0)->YMandatory()) return std::max(PageCountForAxis(*FTopAxis), PageCountForAxis(*FBottomAxis));
    return std::max(PageCountForAxis(*FLeftAxis), PageCountForAxis(*FRightAxis));
}

int TCustomAxisPanel::PageCountForAxis(const TChartAxis& Axis) const
{
    int n = 0;
    for (const TChartSeries* s : FSeriesList.Items())
        if (s->Active() && s->UsesAxis(&Axis)) n = std::max(n, s->PointCount());
    if (n <= 0 || FMaxPointsPerPage <= 0) return 1;
    return (n + FMaxPointsPerPage - 1) / FMaxPointsPerPage;
}

void TCustomAxisPanel::PrintPageRange(int First, int Last)
{
    TPrinter& printer = *Printer();
    if (!Name().empty()) printer.SetTitle(Name());
    printer.BeginDoc();
    if (Last == 0) Last = CountPages();
    if (First == 0) First = 1;
    const int oldPage = FPage;
    try {
        const TRect rect = PrinterPageRect();
        for (int page = First; page <= Last; ++page) {
            SetPage(page);
            PrintInRect(rect);
            if (page < Last) printer.NewPage();
        }
    } catch (...) {
        SetPage(oldPage);
        printer.Abort();
        if (printer.Printing()) printer.EndDoc();
        throw;
    }
    SetPage(oldPage);
    printer.EndDoc();
}

// ---- Colours and legend --------------------------------------------------------------------------------

TColor TCustomAxisPanel::PaletteColorAt(int Index) const
{
    if (FChartPalette.empty()) return CurrentPaletteColor(Index);
    const int n = static_cast<int>(FChartPalette.size());
    return FChartPalette[static_cast<std::size_t>(((Index % n) + n) % n)];
}

TColor TCustomAxisPanel::FreeSeriesColor(bool CheckBack, const TChartSeries* Series) const
{
    const int count = FChartPalette.empty() ? static_cast<int>(RadErareUtilsModule().ColorPalette.size())
                                            : static_cast<int>(FChartPalette.size());
    for (int i = 0; i < count; ++i) {
        const TColor c = PaletteColorAt(i);
        if (IsColorFree(c, CheckBack, Series)) return c;
    }
    return PaletteColorAt(std::max(count - 1, 0));
}

void TCustomAxisPanel::FillDefaultSeriesColors()
{
    for (TChartSeries* s : FSeriesList.Items())
        if (!s->SeriesColorStored()) s->SetSeriesColor(FreeSeriesColor(true, s));
}

bool TCustomAxisPanel::SeriesChecked(const TChartSeries& Series) const
{
    switch (FLegendCheckMode) {
    case 0:
        return Series.Active();
    case 1:
        return !Series.ExcludeFromXRange();
    case 2:
        return !Series.ExcludeFromYRange();
    default:
        return false;
    }
}

TChartSeries* TCustomAxisPanel::SeriesForLegendItem(int Index, bool OnlyChecked) const
{
    int n = 0;
    for (TChartSeries* s : FSeriesList.Items()) {
        if (!s->ShowInLegend()) continue;
        if (OnlyChecked && !SeriesChecked(*s)) continue;
        if (n++ == Index) return s;
    }
    return nullptr;
}

void TCustomAxisPanel::LegendItemSeriesTitle(int Index, bool OnlyChecked, std::string& Text) const
{
    const TChartSeries* s = SeriesForLegendItem(Index, OnlyChecked);
    Text = s ? SeriesCaption(*s) : std::string();
}

void TCustomAxisPanel::PaintLegendRectangle(const TRect& Rect)
{
    TCanvas3D& canvas = ChartCanvas();
    canvas.DrawRect(Rect);
    if (canvas.Brush().Color() != FLegendBackColor) return;
    const TColor oldPen = canvas.Pen().Color();
    const bool black = canvas.Brush().Color() == clBlack;
    canvas.Brush().SetStyle(bsClear);
    if (black) canvas.Pen().SetColor(clWhite);
    canvas.DrawRect(Rect);
    canvas.Pen().SetColor(oldPen);
}

int TCustomAxisPanel::MeasureMultiLineText(const std::string& Text, int& Lines) const
{
    Lines = 0;
    if (Text.empty()) return 0;
    int widest = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = Text.find('\r', start);
        widest = std::max(widest, ChartCanvas().MeasureTextWidth(Text.substr(start, end - start)));
        ++Lines;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return widest;
}

void TCustomAxisPanel::LegendItemText(TChartSeries*, int, std::string& Text) const { Text.clear(); }

// ---- Data sources --------------------------------------------------------------------------------------

void TCustomAxisPanel::RecomputeSeriesFromSource(TChartSeries& Series)
{
    if (Series.ComponentState().Contains(csLoading)) return;
    TComponent* source = Series.DataSource();
    if (auto* series = dynamic_cast<TChartSeries*>(source)) {
        Series.CopyPointsFrom(*series);
    } else if (auto* component = dynamic_cast<TLumSeriesSource*>(source)) {
        component->RefreshIfActive();
    } else if (!source && Series.AttachedFunction() && Series.AttachedFunction()->NoSourceNeeded()) {
        Series.BeginDataUpdate();
        try {
            Series.ClearPoints();
            Series.AttachedFunction()->CalculateFromSources(nullptr);
        } catch (...) {
            Series.EndDataUpdate();
            throw;
        }
        Series.EndDataUpdate();
    }
}

bool TCustomAxisPanel::AcceptsDataSource(const TChartSeries& Series, TComponent* Candidate) const
{
    if (auto* source = dynamic_cast<TChartSeries*>(Candidate)) return Series.AcceptsSource(source);
    auto* component = dynamic_cast<TLumSeriesSource*>(Candidate);
    return component && component->AcceptsChart(*this);
}

void TCustomAxisPanel::ReleaseSeriesSource(TChartSeries& Series, TComponent* Source)
{
    auto* component = dynamic_cast<TLumSeriesSource*>(Source);
    if (component && Series.DataSource() == Source) component->BindSeries(nullptr);
}

void TCustomAxisPanel::CheckCircularSource(TComponent* Component, const TChartSeries& Series) const
{
    std::vector<const TChartSeries*> visited;
    std::function<void(const TChartSeries&)> check = [&](const TChartSeries& s) {
        if (std::find(visited.begin(), visited.end(), &s) != visited.end()) return;
        visited.push_back(&s);
        if (s.DataSource() == Component) throw ChartException(LumConst::CircularSeriesDependence);
        if (!dynamic_cast<TChartSeries*>(s.DataSource())) return;
        for (int i = 0; i < s.DataSources().Count(); ++i)
            if (auto* next = dynamic_cast<TChartSeries*>(s.DataSources().Items(i))) check(*next);
    };
    check(Series);
}

// ---- 3-D sizes and tools -------------------------------------------------------------------------------

void TCustomAxisPanel::ComputeDepthSizes()
{
    if (!View3D()) {
        FSeriesWidth3D = FSeriesHeight3D = 0;
        SetWidth3D(0);
        SetHeight3D(0);
        return;
    }
    const TView3DOptions& view = View3DOptions();
    const double a = FChart3DPercent * 0.001;
    FSeriesWidth3D = PixelFromReal(ChartWidth() * (view.Orthogonal() ? a : 2 * a));
    const double t = view.OrthoTangent();
    if (t > 1) FSeriesWidth3D = PixelFromReal(FSeriesWidth3D / t);
    FSeriesHeight3D = PixelFromReal(FSeriesWidth3D * t);
    const int n = ApplyZOrder() ? std::max(1, FMaxZOrder + 1) : 1;
    SetHeight3D(n * FSeriesHeight3D);
    SetWidth3D(n * FSeriesWidth3D);
}

void TCustomAxisPanel::NotifyToolsStage(int Stage)
{
    for (int i = 0; i < FTools->Count(); ++i) {
        TLumCustomTool* tool = FTools->GetTool(i);
        if (tool->Active()) tool->NotifyChartStage(Stage);
    }
}

void TCustomAxisPanel::MouseLeave()
{
    TCustomLumPanelExtended::MouseLeave();
    NotifyToolsStage(5);
}
