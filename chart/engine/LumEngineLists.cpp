// Labels, data sources, series lists and groups, the series caption and the error box.
#include "chart/engine/LumEngineLists.h"

#include "chart/base/LumConst.h"
#include "chart/engine/LumEngineMarks.h"
#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEngineSeries.h"
#include "chart/engine/LumEngineSeriesSource.h"
#include "platform/controls/Prompter.h"

#include <algorithm>

// ---- TLabelsList ---------------------------------------------------------------------------------------

std::string TLabelsList::LabelText(int Index) const
{
    if (Index < 0 || Index >= Count()) return {};
    const auto& entry = FLabels[static_cast<std::size_t>(Index)];
    return entry ? *entry : std::string();
}

void TLabelsList::PadTo(int Count)
{
    if (Count > this->Count()) FLabels.resize(static_cast<std::size_t>(Count));
}

void TLabelsList::StoreLabel(int Index, const std::string& Text)
{
    if (Index < 0) throw ERangeError();
    if (Text.empty()) {
        if (Index < Count()) FLabels[static_cast<std::size_t>(Index)].reset();
    } else {
        PadTo(Index + 1);
        FLabels[static_cast<std::size_t>(Index)] = Text;
    }
    if (FSeries) FSeries->InvalidateChart();
}

void TLabelsList::InsertLabel(int Index, const std::string& Text)
{
    if (Index < 0) throw ERangeError();
    if (Text.empty() && FLabels.empty()) return;
    PadTo(Index);
    std::optional<std::string> entry;
    if (!Text.empty()) entry = Text;
    FLabels.insert(FLabels.begin() + Index, std::move(entry));
}

void TLabelsList::DeleteLabel(int Index)
{
    if (Index >= 0 && Index < Count()) FLabels.erase(FLabels.begin() + Index);
}

void TLabelsList::DeleteLabelRange(int Start, int Quantity)
{
    if (Start < 0 || Start >= Count() || Quantity <= 0) return;
    const int end = std::min(Count(), Start + Quantity);
    FLabels.erase(FLabels.begin() + Start, FLabels.begin() + end);
}

void TLabelsList::AssignLabels(const TLabelsList& Other)
{
    if (&Other == this) return;
    FLabels = Other.FLabels;
}

void TLabelsList::Swap(int I, int J)
{
    PadTo(std::max(I, J) + 1);
    std::swap(FLabels[static_cast<std::size_t>(I)], FLabels[static_cast<std::size_t>(J)]);
}

// ---- TDataSourcesList --------------------------------------------------------------------------------

int TDataSourcesList::IndexOf(const TComponent* Source) const
{
    const auto it = std::find(FItems.begin(), FItems.end(), Source);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

int TDataSourcesList::AddSource(TComponent* Source) { return FSeries ? FSeries->AddDataSource(Source, false) : -1; }

void TDataSourcesList::Remove(const TComponent* Source)
{
    const int i = IndexOf(Source);
    if (i >= 0) FItems.erase(FItems.begin() + i);
}

void TDataSourcesList::Clear()
{
    if (FSeries) FSeries->ReleaseSourceSeries();
    FItems.clear();
    if (FSeries && !FSeries->DataLoaded()) FSeries->ClearPoints();
}

// ---- TCustomSeriesList ---------------------------------------------------------------------------------

int TCustomSeriesList::IndexOf(const TChartSeries* Series) const
{
    const auto it = std::find(FItems.begin(), FItems.end(), Series);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TCustomSeriesList::Insert(int Index, TChartSeries* Series)
{
    if (Index < 0 || Index > Count()) throw ERangeError();
    FItems.insert(FItems.begin() + Index, Series);
}

void TCustomSeriesList::Delete(int Index)
{
    if (Index < 0 || Index >= Count()) throw ERangeError();
    FItems.erase(FItems.begin() + Index);
}

int TCustomSeriesList::Remove(const TChartSeries* Series)
{
    const int i = IndexOf(Series);
    if (i >= 0) FItems.erase(FItems.begin() + i);
    return i;
}

void TCustomSeriesList::Exchange(int A, int B)
{
    if (A < 0 || A >= Count() || B < 0 || B >= Count()) throw ERangeError();
    std::swap(FItems[static_cast<std::size_t>(A)], FItems[static_cast<std::size_t>(B)]);
}

// ---- Groups --------------------------------------------------------------------------------------------

TSeriesGroups::~TSeriesGroups() = default;

TSeriesGroup& TSeriesGroups::Add()
{
    FGroups.push_back(std::make_unique<TSeriesGroup>(*this));
    return *FGroups.back();
}

void TSeriesGroups::Delete(int Index)
{
    if (Index < 0 || Index >= Count()) throw ERangeError();
    FGroups.erase(FGroups.begin() + Index);
}

int TSeriesGroups::GroupOfSeries(const TChartSeries* Series) const
{
    for (int i = 0; i < Count(); ++i)
        if (FGroups[static_cast<std::size_t>(i)]->Series().Contains(Series)) return i;
    return -1;
}

namespace {

// The names of a group's series, one a line.
std::string GroupSeriesNames(const TSeriesGroup& Group)
{
    std::string text;
    for (const TChartSeries* s : Group.Series().Items()) text += (text.empty() ? "" : "\n") + s->Name();
    return text;
}

// The named series of the group's chart join the group; unknown names add nothing.
void ReadGroupSeriesNames(TSeriesGroup& Group, const TPropValue& Value)
{
    const std::string& text = std::get<std::string>(Value);
    const TCustomAxisPanel* chart = Group.Series().Owner();
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string name = text.substr(start, end - start);
        start = end + 1;
        if (name.empty() || !chart) continue;
        for (int i = 0; i < chart->CountSeries(); ++i)
            if (chart->SeriesAt(i)->Name() == name && !Group.Series().Contains(chart->SeriesAt(i)))
                Group.Series().Add(chart->SeriesAt(i));
    }
}

} // namespace

const TClassInfo& TSeriesGroup::StaticClassInfo()
{
    using P = TProps<TSeriesGroup>;
    static const TClassInfo info({
        .Name = "TSeriesGroup",
        .Parent = &TPersistent::StaticClassInfo(),
        .Properties = {
            P::Enumeration("Active", SeriesGroupActiveNames, &TSeriesGroup::Active, &TSeriesGroup::SetActive)
                .Default(gaYes),
            P::Text("Name", &TSeriesGroup::Name, &TSeriesGroup::SetName),
        },
        .Defined = {P::DefinedValue("Series", TPropKind::Text, &ReadGroupSeriesNames,
                                    [](const TSeriesGroup& g) -> TPropValue { return GroupSeriesNames(g); },
                                    &TSeriesGroup::SeriesStored)},
    });
    return info;
}

TSeriesGroup::TSeriesGroup(TSeriesGroups& Collection) : FSeries(Collection.Owner()) {}

TSeriesGroupActive TSeriesGroup::Active() const
{
    int active = 0;
    for (TChartSeries* s : FSeries.Items())
        if (s->Active()) ++active;
    if (active == FSeries.Count()) return gaYes;
    return active == 0 ? gaNo : gaSome;
}

void TSeriesGroup::SetActive(TSeriesGroupActive Value)
{
    if (Value == gaSome || Value == Active()) return;
    for (TChartSeries* s : FSeries.Items()) s->SetActive(Value == gaYes);
}

TChartSeriesList::TChartSeriesList(TCustomAxisPanel* Owner) : TCustomSeriesList(Owner), FGroups(Owner) {}

TSeriesGroup& TChartSeriesList::NewGroup(const std::string& Name)
{
    TSeriesGroup& group = FGroups.Add();
    group.SetName(Name);
    return group;
}

void TChartSeriesList::ClearAllPoints()
{
    for (TChartSeries* s : Items()) s->ClearPoints();
}

bool TChartSeriesList::EverySeriesActive() const
{
    return std::all_of(Items().begin(), Items().end(), [](TChartSeries* s) { return s->Active(); });
}

void TChartSeriesList::SetEverySeriesActive(bool Value)
{
    for (TChartSeries* s : Items()) s->SetActive(Value);
}

// ---- Captions and the error box ----------------------------------------------------------------------

std::string SeriesCaption(const TChartSeries& Series)
{
    constexpr char TextColumnSeparator = 6;
    std::string text = Series.Title();
    std::replace(text.begin(), text.end(), TextColumnSeparator, ' ');
    if (text.empty()) text = Series.Name();
    if (text.empty() && Series.ParentChart())
        text = std::string(LumConst::Series) + std::to_string(Series.ParentChart()->SeriesList().IndexOf(&Series) + 1);
    return text;
}

void ShowErrorBox(const std::string& Text) { MessageBox(nullptr, Text, "", MB_OK | MB_ICONERROR); }

std::vector<TSeriesListEntry> ListSeriesInStrings(const TCustomSeriesList& List, bool UseCaptions)
{
    std::vector<TSeriesListEntry> entries;
    for (TChartSeries* s : List.Items()) {
        const bool designing = s->ComponentState().Contains(csDesigning);
        if (!s->ShowInEditor() && !(designing && !s->InternalUse())) continue;
        entries.push_back({UseCaptions ? SeriesCaption(*s) : s->Name(), s});
    }
    return entries;
}


// ---- Start-up and shut-down ----------------------------------------------------------------------------

namespace {
const TClassInfo* const StreamedClasses[] = {&TChartAxisTitle::StaticClassInfo(), &TChartAxis::StaticClassInfo(),
                                             &TChartDepthAxis::StaticClassInfo(), &TSeriesMarks::StaticClassInfo()};
} // namespace

void LumEngineInitialization()
{
    for (const TClassInfo* info : StreamedClasses) RegisterClass(*info);
}

void LumEngineFinalization()
{
    for (const TClassInfo* info : StreamedClasses) UnRegisterClass(*info);
    FreeSourceStyleList();
}
