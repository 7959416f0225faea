// TChartSeries: construction, points and their colours and labels, adds, deletes and clears, sample
// values and the series' published properties.
#include "chart/engine/LumEngineSeries.h"

#include "chart/base/LumConst.h"
#include "chart/base/RadErareUtils.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEngineFunction.h"
#include "chart/engine/LumEngineMarks.h"
#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEngineSeriesStream.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

// ---- Random numbers ------------------------------------------------------------------------------------

namespace {
// The run time's linear congruential generator: seed × 134775813 + 1, scaled into the limit.
std::uint32_t& RandomSeed()
{
    static std::uint32_t seed = 0;
    return seed;
}
} // namespace

int RandomBelow(int Limit)
{
    std::uint32_t& seed = RandomSeed();
    seed = seed * 134775813u + 1u;
    if (Limit <= 0) return 0;
    return static_cast<int>((static_cast<std::uint64_t>(seed) * static_cast<std::uint64_t>(Limit)) >> 32);
}

void RandomizeSeed(unsigned Seed) { RandomSeed() = Seed; }

// ---- Class description ---------------------------------------------------------------------------------

const TClassInfo& TChartSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TChartSeries",
                                  .Parent = &TCustomChartSeries::StaticClassInfo(),
                                  .Defined = SeriesDefinedProperties()});
    return info;
}

std::vector<TPropInfo> TChartSeries::PublishedSeriesProperties()
{
    using P = TProps<TChartSeries>;
    return {
        P::Boolean("Active", &TChartSeries::Active, &TChartSeries::SetActive).Default(true),
        P::Boolean("ColorEachPoint", &TChartSeries::ColorEachPoint, &TChartSeries::SetColorEachPoint).Default(false),
        P::Text("ColorSource", &TChartSeries::ColorSource, &TChartSeries::SetColorSource),
        P::Integer("Cursor", &TChartSeries::Cursor, &TChartSeries::SetCursor).Default(0),
        // One source by name; more go to "DataSources".
        P::Reference("DataSource", [](const TChartSeries& s) -> TPersistent* { return s.DataSource(); },
                     &TChartSeries::SetDataSource)
            .StoredWhen([](const TChartSeries& s) { return s.DataSources().Count() == 1; }),
        P::Integer("Depth", &TChartSeries::Depth, &TChartSeries::SetDepth).Default(-1),
        P::Enumeration("HorizAxis", HorizAxisNames, &TChartSeries::HorizAxis, &TChartSeries::SetHorizAxis)
            .Default(aBottomAxis),
        P::Object("Marks", [](const TChartSeries& s) -> TPersistent* { return &s.Marks(); }),
        P::Text("PercentFormat", &TChartSeries::PercentFormat, &TChartSeries::SetPercentFormat)
            .StoredWhen([](const TChartSeries& s) { return s.PercentFormat() != LumConst::PercentFormat; }),
        P::Colour("SeriesColor", &TChartSeries::SeriesColor, &TChartSeries::SetSeriesColor)
            .StoredWhen(&TChartSeries::SeriesColorStored),
        P::Boolean("ShowInLegend", &TChartSeries::ShowInLegend, &TChartSeries::SetShowInLegend).Default(true),
        P::Text("Title", &TChartSeries::Title, &TChartSeries::SetTitle),
        P::Text("ValueFormat", &TChartSeries::ValueFormat, &TChartSeries::SetValueFormat)
            .StoredWhen([](const TChartSeries& s) { return s.ValueFormat() != LumConst::DefaultValueFormat; }),
        P::Enumeration("VertAxis", VertAxisNames, &TChartSeries::VertAxis, &TChartSeries::SetVertAxis)
            .Default(aLeftAxis),
        P::Text("XLabelsSource", &TChartSeries::XLabelsSource, &TChartSeries::SetXLabelsSource),
        P::Object("XValues", [](const TChartSeries& s) -> TPersistent* { return &s.XValues(); }),
        P::Object("YValues", [](const TChartSeries& s) -> TPersistent* { return &s.YValues(); }),
    };
}

// ---- Life ----------------------------------------------------------------------------------------------

TChartSeries::TChartSeries(TComponent* AOwner) : TCustomChartSeries(AOwner)
{
    // The value lists own themselves into FValueLists.
    FXValues = new TChartValueList(this, LumConst::ValueX);
    FXValues->SetOrder(loAscending);
    FYValues = new TChartValueList(this, LumConst::ValueY);
    FMandatory = FYValues;
    FOther = FXValues;
    FLabels = std::make_unique<TLabelsList>(this);
    FMarks = std::make_unique<TSeriesMarks>(this);
    FValueFormat = LumConst::DefaultValueFormat;
    FPercentFormat = LumConst::PercentFormat;
    FDataSources = std::make_unique<TDataSourcesList>(this);
    FDependents = std::make_unique<TCustomSeriesList>();
}

TChartSeries::~TChartSeries()
{
    FDestroying = true;
    LeaveChart();
    FreeFunction();
    ReleaseSourceSeries();
    for (TChartSeries* d : std::vector<TChartSeries*>(FDependents->Items())) d->DataSources().Remove(this);
    FDependents->Clear();
    ClearPoints();
}

void TChartSeries::LeaveChart()
{
    if (ParentChart()) SetParentChart(nullptr);
}

void TChartSeries::RepaintIfActive()
{
    if (Active()) InvalidateChart();
}

// ---- Value lists ---------------------------------------------------------------------------------------

void TChartSeries::ReplaceValueListSettings(TChartValueList& Own, const TChartValueList& Given)
{
    Own.Assign(Given);
    InvalidateChart();
}

void TChartSeries::MakeXMandatory()
{
    FMandatory = FXValues;
    FOther = FYValues;
    FYMandatory = false;
}

void TChartSeries::SetMarks(const TSeriesMarks& Value) { FMarks->Assign(Value); }

TChartValueList* TChartSeries::ValueListByName(const std::string& Name) const
{
    for (int p = 2; p < FValueLists.Count(); ++p)
        if (SameText(FValueLists.ListAt(p)->Name(), Name)) return FValueLists.ListAt(p);
    return FYValues;
}

// ---- Adding points -------------------------------------------------------------------------------------

void TChartSeries::CreateColorList()
{
    FColors = std::make_unique<std::vector<TColor>>(static_cast<std::size_t>(PointCount()), clDefault);
}

// Keeps the colour list aligned with the points: an insert past its end pads it first.
void TChartSeries::InsertColorAt(int Index, TColor Color)
{
    if (!FColors) {
        if (Color == clDefault) return;
        FColors = std::make_unique<std::vector<TColor>>(static_cast<std::size_t>(PointCount() - 1), clDefault);
    }
    if (static_cast<int>(FColors->size()) < Index) FColors->resize(static_cast<std::size_t>(Index), clDefault);
    FColors->insert(FColors->begin() + Index, Color);
}

int TChartSeries::InsertPoint(double X, double Y, const std::string& Label, TColor Color)
{
    FXValues->PendingValue = X;
    FYValues->PendingValue = Y;
    if (OnBeforeAdd && !OnBeforeAdd(this)) return -1;
    const int index = FXValues->AddInOrder(X);
    FYValues->InsertValueAt(index, Y);
    for (int p = 2; p < FValueLists.Count(); ++p) {
        TChartValueList* list = FValueLists.ListAt(p);
        list->InsertValueAt(index, list->PendingValue);
    }
    InsertColorAt(index, Color);
    if (!Label.empty() || FLabels->Count() > 0) FLabels->InsertLabel(index, Label);
    if (!InDataUpdate()) PointAdded(this, index);
    return index;
}

void TChartSeries::AddArrays(std::vector<double> X, std::vector<double> Y)
{
    if (X.size() != Y.size()) throw ChartException("Series AddArrays: the X and Y arrays differ in length.");
    if (X.empty()) return;
    BeginDataUpdate();
    try {
        if (OnBeforeAdd || !FXValues->AppendsInOrder(X)) {
            for (std::size_t i = 0; i < X.size(); ++i) InsertPoint(X[i], Y[i]);
        } else {
            // What InsertPoint leaves behind for each point, done once for all of them.
            FXValues->PendingValue = X.back();
            FYValues->PendingValue = Y.back();
            FXValues->AppendValues(std::move(X));
            FYValues->AppendValues(std::move(Y));
            const int count = FXValues->ValueCount();
            for (int p = 2; p < FValueLists.Count(); ++p) {
                TChartValueList* list = FValueLists.ListAt(p);
                list->AppendValues(std::vector<double>(static_cast<std::size_t>(count - list->ValueCount()), list->PendingValue));
            }
            if (FColors) FColors->resize(static_cast<std::size_t>(count), clDefault);
            if (FLabels->Count() > 0) FLabels->PadTo(count);
        }
    } catch (...) {
        EndDataUpdate();
        throw;
    }
    EndDataUpdate();
    RepaintIfActive();
}

int TChartSeries::AppendValue(double Value, const std::string& Label, TColor Color)
{
    const double count = PointCount();
    return FYMandatory ? InsertPoint(count, Value, Label, Color) : InsertPoint(Value, count, Label, Color);
}

int TChartSeries::AppendNullValue(const std::string& Label) { return AppendValue(0, Label, clNone); }

int TChartSeries::InsertNullPoint(double X, double Y, const std::string& Label)
{
    return InsertPoint(X, Y, Label, clNone);
}

int TChartSeries::AddPointFrom(TChartSeries& Source, int Index)
{
    double x = Source.XValues().ValueAt(Index);
    double y = Source.YValues().ValueAt(Index);
    if (Source.YMandatory() != FYMandatory) std::swap(x, y);
    const int index = FXValues->AddInOrder(x);
    FYValues->InsertValueAt(index, y);
    for (int p = 2; p < FValueLists.Count(); ++p) {
        const double v = p < Source.ValueLists().Count() ? Source.ValueLists().ListAt(p)->ValueAt(Index) : 0.0;
        FValueLists.ListAt(p)->InsertValueAt(index, v);
    }
    // Existing colours and labels keep their points.
    if (FColors) InsertColorAt(index, clDefault);
    if (index < FLabels->Count()) FLabels->InsertLabel(index, {});
    return index;
}

void TChartSeries::AddFullPointFrom(TChartSeries& Source, int Index)
{
    const int index = AddPointFrom(Source, Index);
    if (Source.FColors && Index < static_cast<int>(Source.FColors->size())) {
        const TColor c = (*Source.FColors)[static_cast<std::size_t>(Index)];
        if (!FColors) CreateColorList();
        (*FColors)[static_cast<std::size_t>(index)] = c;
    }
    if (Index < Source.Labels().Count()) {
        const std::string text = Source.Labels().LabelText(Index);
        if (!text.empty()) FLabels->StoreLabel(index, text);
    }
    PointAdded(this, index);
}

void TChartSeries::PointAdded(TChartSeries*, int Index)
{
    if (OnAfterAdd) OnAfterAdd(this, Index);
    NotifyDependents(dnAdded, Index);
    RepaintIfActive();
}

// ---- Removing points -----------------------------------------------------------------------------------

void TChartSeries::DeletePoint(int Index)
{
    if (Index < 0 || Index >= PointCount()) {
        char text[160];
        std::snprintf(text, sizeof text, LumConst::SeriesDeleteOutOfBounds, Index, PointCount() - 1);
        throw ChartException(text);
    }
    for (int p = 0; p < FValueLists.Count(); ++p) FValueLists.ListAt(p)->DeleteValueAt(Index);
    if (FColors && Index < static_cast<int>(FColors->size())) FColors->erase(FColors->begin() + Index);
    FLabels->DeleteLabel(Index);
    FMarks->DeletePointAt(Index);
    NotifyDependents(dnDeleted, Index);
    RepaintIfActive();
}

void TChartSeries::DeletePointRange(int Start, int Quantity, bool Renumber)
{
    if (Quantity <= 0) throw EAssertionFailed("Quantity of data points to delete must be greater than zero.");
    if (Start < 0) throw ERangeError();
    if (Start + Quantity - 1 >= PointCount()) throw EAssertionFailed("Quantity of data to delete must be less than Count.");
    for (int p = 0; p < FValueLists.Count(); ++p) FValueLists.ListAt(p)->DeleteValueRange(Start, Quantity);
    if (FColors && Start < static_cast<int>(FColors->size())) {
        const int end = std::min(static_cast<int>(FColors->size()), Start + Quantity);
        FColors->erase(FColors->begin() + Start, FColors->begin() + end);
        if (FColors->empty()) FColors.reset();
    }
    FLabels->DeleteLabelRange(Start, Quantity);
    FMarks->DeletePointRange(Start, Quantity);
    NotifyDependents(dnDeleted, -1);
    RepaintIfActive();
    if (Renumber) FOther->FillWithIndices();
}

void TChartSeries::DropPoint(TChartSeries&, int Index) { DeletePoint(Index); }

void TChartSeries::ResetPointStorage()
{
    for (int p = 0; p < FValueLists.Count(); ++p) FValueLists.ListAt(p)->ClearValues();
    FColors.reset();
    FLabels->ClearLabels();
    FMarks->ClearPositionsAndItems();
}

void TChartSeries::ClearPoints()
{
    FFirstVisible = -1;
    FLastVisible = -1;
    ResetPointStorage();
    if (OnClearValues) OnClearValues(this);
    NotifyDependents(dnCleared, 0);
    if (Active() && ParentChart() && !ParentChart()->IsDestroying()) InvalidateChart();
    if (FFunction) FFunction->SeriesCleared();
}

// ---- Changing points -----------------------------------------------------------------------------------

void TChartSeries::SwapValueIndex(int I, int J)
{
    for (int p = 0; p < FValueLists.Count(); ++p) FValueLists.ListAt(p)->SwapValues(I, J);
    if (FColors) {
        const std::size_t need = static_cast<std::size_t>(std::max(I, J)) + 1;
        if (FColors->size() < need) FColors->resize(need, clDefault);
        std::swap((*FColors)[static_cast<std::size_t>(I)], (*FColors)[static_cast<std::size_t>(J)]);
    }
    if (FLabels->Count() > 0) FLabels->Swap(I, J);
}

void TChartSeries::ChangeXValueAt(int Index, double Value)
{
    FXValues->StoreValueAt(Index, Value);
    InvalidateChart();
}

void TChartSeries::ChangeYValueAt(int Index, double Value)
{
    FYValues->StoreValueAt(Index, Value);
    InvalidateChart();
}

// ---- Colours and labels --------------------------------------------------------------------------------

TColor TChartSeries::StoredPointColor(int Index) const
{
    if (!FColors || Index < 0 || Index >= static_cast<int>(FColors->size())) return clDefault;
    return (*FColors)[static_cast<std::size_t>(Index)];
}

bool TChartSeries::StoresColorIn(TColor Color, int First, int Last) const
{
    if (First > Last) return false;
    const std::ptrdiff_t n = FColors ? std::ssize(*FColors) : 0;
    const std::ptrdiff_t lo = std::clamp<std::ptrdiff_t>(First, 0, n), hi = std::clamp<std::ptrdiff_t>(std::ptrdiff_t(Last) + 1, 0, n);
    if (lo < hi && std::find(FColors->begin() + lo, FColors->begin() + hi, Color) != FColors->begin() + hi) return true;
    // Points outside the list read the default colour.
    return Color == clDefault && (First < 0 || Last >= n);
}

void TChartSeries::StorePointColor(int Index, TColor Color)
{
    if (Index < 0 || Index >= PointCount()) throw ERangeError();
    if (!FColors) {
        if (Color == clDefault) return;
        CreateColorList();
    }
    if (static_cast<int>(FColors->size()) <= Index) FColors->resize(static_cast<std::size_t>(Index) + 1, clDefault);
    (*FColors)[static_cast<std::size_t>(Index)] = Color;
    InvalidateChart();
}

TColor TChartSeries::PointColor(int Index) const
{
    const TColor stored = StoredPointColor(Index);
    if (stored != clDefault) return stored;
    if (FColorEachPoint) return ParentChart() ? ParentChart()->PaletteColorAt(Index) : CurrentPaletteColor(Index);
    return SeriesColor();
}

void TChartSeries::SetSeriesColor(TColor Value)
{
    if (FColor == clDefault && Value == FPaletteColor) return;
    SetColorField(FColor, Value);
    FPaletteColor = FColor;
    AnnounceColorChange();
}

void TChartSeries::TakePaletteColor(TColor Value)
{
    FPaletteColor = Value;
    SetSeriesColor(Value);
}

void TChartSeries::AnnounceColorChange()
{
    if (ParentChart()) ParentChart()->SendSeriesEvent(this, seColor);
    NotifySeriesObserver();
}

std::string TChartSeries::PointLabel(int Index) const { return FLabels->LabelText(Index); }

void TChartSeries::SetPointLabel(int Index, const std::string& Text) { FLabels->StoreLabel(Index, Text); }

// ---- Settings ------------------------------------------------------------------------------------------

void TChartSeries::SetColorSource(const std::string& Value)
{
    if (FColorSource == Value) return;
    FColorSource = Value;
    RefreshFromSource();
}

void TChartSeries::SetXLabelsSource(const std::string& Value)
{
    if (FXLabelsSource == Value) return;
    FXLabelsSource = Value;
    RefreshFromSource();
}

void TChartSeries::StoreDefaultStyle()
{
    const auto& write = LumEngineModule().Style.WriteSeriesStyle;
    FDefaultStyle = write ? write(*this) : std::string();
}

void TChartSeries::RestoreDefaultStyle()
{
    const auto& read = LumEngineModule().Style.ReadSeriesStyle;
    if (!FDefaultStyle.empty() && read) read(*this, FDefaultStyle);
}

// ---- Sample values -------------------------------------------------------------------------------------

void TChartSeries::FillSampleValues(int Count)
{
    if (Count < 0) throw ChartException(LumConst::FillSampleValuesCount);
    if (Count == 0) Count = FSampleCount > 0 ? FSampleCount : DefaultSampleCount();
    ClearPoints();
    RandomizeSeed(static_cast<unsigned>(RandomBelow(7774444)));
    BeginDataUpdate();
    try {
        AddRandomSampleValues(Count, false);
        ReorderPoints();
    } catch (...) {
        EndDataUpdate();
        throw;
    }
    EndDataUpdate();
    FDataLoaded = false;
}

namespace {
// An empty range (maximum = minimum) opens to minimum .. 2 × minimum, or to 0 .. fallback at 0.
void OpenEmptyRange(double& lo, double& hi, double fallback)
{
    if (hi != lo) return;
    if (lo == 0) {
        hi = fallback;
    } else {
        hi = 2 * lo;
        if (hi < lo) std::swap(lo, hi);
    }
}
} // namespace

TSampleBounds TChartSeries::SampleValueBounds(int Count) const
{
    double minX = 0, maxX = std::max(0, Count - 1);
    double minY = 0, maxY = 1000;
    TCustomAxisPanel* chart = ParentChart();
    bool chartHasPoints = false;
    if (chart)
        for (int i = 0; i < chart->CountSeries(); ++i)
            if (chart->SeriesAt(i)->PointCount() > 0) chartHasPoints = true;
    if (chartHasPoints && FHorizAxis && FVertAxis) {
        minY = chart->MinYValue(*FVertAxis);
        maxY = chart->MaxYValue(*FVertAxis);
        minX = chart->MinXValue(*FHorizAxis);
        maxX = chart->MaxXValue(*FHorizAxis);
        OpenEmptyRange(minY, maxY, 1000);
        OpenEmptyRange(minX, maxX, std::max(0, Count - 1));
        if (!FYMandatory) {
            std::swap(minX, minY);
            std::swap(maxX, maxY);
        }
    } else if (!chart && FXValues->DateTime()) {
        minX = std::floor(Now());
        maxX = minX + Count - 1;
    }
    TSampleBounds b;
    b.StartX = minX;
    b.StepX = Count > 1 ? (maxX - minX) / (Count - 1) : maxX - minX;
    b.MinY = minY;
    b.SpanY = std::clamp(maxY - minY, -2147483647.0, 2147483647.0);
    b.FirstY = minY + RandomBelow(100) * b.SpanY / 100;
    return b;
}

void TChartSeries::AddRandomSampleValues(int Count, bool AsValues)
{
    const TSampleBounds b = SampleValueBounds(Count);
    const double s = b.SpanY / 4;
    double x = b.StartX;
    double y = b.FirstY;
    for (int i = 0; i < Count; ++i) {
        y = std::fabs(y + RandomBelow(100) * s / 100 - s / 2);
        if (AsValues)
            AppendValue(y);
        else if (FYMandatory)
            InsertPoint(x, y);
        else
            InsertPoint(y, x);
        x += b.StepX;
    }
}

void TChartSeries::ReorderPoints()
{
    if (FMandatory->Order() != loNone) {
        FMandatory->SortByOrder();
        if (FOther->ValueSource().empty()) FOther->FillWithIndices();
    }
    InvalidateChart();
}

void TChartSeries::PrepareForGallery(bool Coloured)
{
    FillSampleValues(4);
    FMarks->SetVisible(false);
    FMarks->Font().SetSize(7);
    FMarks->SetDrawEvery(2);
    SetColorEachPoint(false);
    if (!Coloured) {
        SetSeriesColor(static_cast<TColor>(0xC0C0C0));
    } else if (ParentChart()) {
        const bool first = ParentChart()->CountSeries() > 0 && ParentChart()->SeriesAt(0) == this;
        SetSeriesColor(ParentChart()->PaletteColorAt(first ? 0 : 3));
    }
}

void TChartSeries::ListGalleryStyles(const TGalleryStyleCallback& Callback) const
{
    if (Callback) Callback(LumConst::Normal);
}
