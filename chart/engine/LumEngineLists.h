// The containers around series: a series' labels and data sources, lists of series (the chart's series
// list with its named groups, a series' dependents), the series caption, and the error box of the unit.
#pragma once

#include "chart/engine/LumEngineTypes.h"
#include "platform/rtl/Classes.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// One optional label per point; may be shorter than the point count (missing entries read empty).
class TLabelsList {
public:
    explicit TLabelsList(TChartSeries* Series) : FSeries(Series) {}

    int Count() const { return static_cast<int>(FLabels.size()); }
    // The label, empty past the list or for an empty entry.
    std::string LabelText(int Index) const;
    // Stores a label (the list padded up to the index); an empty text leaves an empty entry. Repaints.
    void StoreLabel(int Index, const std::string& Text);
    // Inserts at Index (the list padded up to it); an empty text into an empty list does nothing.
    void InsertLabel(int Index, const std::string& Text);
    // Removes the entry when the index lies in the list.
    void DeleteLabel(int Index);
    // Removes Quantity entries from Start, bounded by the list's length.
    void DeleteLabelRange(int Start, int Quantity);
    void ClearLabels() { FLabels.clear(); }
    void AssignLabels(const TLabelsList& Other);
    // Pads with empty entries to Count.
    void PadTo(int Count);
    void Swap(int I, int J);

private:
    TChartSeries* FSeries;
    std::vector<std::optional<std::string>> FLabels;
};

// A series' data sources in order; the first is its DataSource.
class TDataSourcesList {
public:
    explicit TDataSourcesList(TChartSeries* Series) : FSeries(Series) {}

    int Count() const { return static_cast<int>(FItems.size()); }
    TComponent* Items(int Index) const { return FItems.at(static_cast<std::size_t>(Index)); }
    int IndexOf(const TComponent* Source) const;
    void AppendSource(TComponent* Source) { FItems.push_back(Source); }
    // A further source through the series' AddDataSource, the others kept.
    int AddSource(TComponent* Source);
    // Removes an entry without further effects.
    void Remove(const TComponent* Source);
    // Lets the source series go (the series leaves their dependents), empties the list and, unless the
    // series' data were loaded, clears its points.
    void Clear();

private:
    TChartSeries* FSeries;
    std::vector<TComponent*> FItems;
};

// A list of series, not owning them.
class TCustomSeriesList {
public:
    explicit TCustomSeriesList(TCustomAxisPanel* Owner = nullptr) : FOwner(Owner) {}

    TCustomAxisPanel* Owner() const { return FOwner; }
    int Count() const { return static_cast<int>(FItems.size()); }
    // No range check beyond the vector's own (callers pass 0..Count-1).
    TChartSeries* SeriesAt(int Index) const { return FItems[static_cast<std::size_t>(Index)]; }
    int IndexOf(const TChartSeries* Series) const;
    bool Contains(const TChartSeries* Series) const { return IndexOf(Series) >= 0; }
    void Add(TChartSeries* Series) { FItems.push_back(Series); }
    void Insert(int Index, TChartSeries* Series);
    void Delete(int Index);
    // Removes the series' first entry; its index or -1.
    int Remove(const TChartSeries* Series);
    void Exchange(int A, int B);
    void Clear() { FItems.clear(); }
    // Plain store, no notification.
    void PutSeries(int Index, TChartSeries* Series) { FItems[static_cast<std::size_t>(Index)] = Series; }
    // Copies the entries of another list.
    void AssignList(const TCustomSeriesList& Other) { FItems = Other.FItems; }
    const std::vector<TChartSeries*>& Items() const { return FItems; }

private:
    TCustomAxisPanel* FOwner;
    std::vector<TChartSeries*> FItems;
};

class TSeriesGroup;

// The chart's named groups of series.
class TSeriesGroups {
public:
    explicit TSeriesGroups(TCustomAxisPanel* Owner) : FOwner(Owner) {}
    ~TSeriesGroups();

    int Count() const { return static_cast<int>(FGroups.size()); }
    TSeriesGroup& GroupAt(int Index) const { return *FGroups.at(static_cast<std::size_t>(Index)); }
    TSeriesGroup& Add();
    void Delete(int Index);
    // Index of the first group holding the series; -1 when none.
    int GroupOfSeries(const TChartSeries* Series) const;
    TCustomAxisPanel* Owner() const { return FOwner; }

private:
    TCustomAxisPanel* FOwner;
    std::vector<std::unique_ptr<TSeriesGroup>> FGroups;
};

class TSeriesGroup : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    explicit TSeriesGroup(TSeriesGroups& Collection);

    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value) { FName = Value; }
    // gaYes with no series or all of them Active, gaNo with none Active, else gaSome.
    TSeriesGroupActive Active() const;
    // gaYes activates every series, gaNo deactivates them; gaSome and the current state change nothing.
    void SetActive(TSeriesGroupActive Value);
    TCustomSeriesList& Series() { return FSeries; }
    const TCustomSeriesList& Series() const { return FSeries; }
    // Copies the given list.
    void SetSeries(const TCustomSeriesList& Value) { FSeries.AssignList(Value); }
    bool SeriesStored() const { return FSeries.Count() > 0; }

private:
    std::string FName;
    TCustomSeriesList FSeries;
};

// The chart's series list in drawing order, with its groups.
class TChartSeriesList : public TCustomSeriesList {
public:
    explicit TChartSeriesList(TCustomAxisPanel* Owner);

    TSeriesGroups& Groups() { return FGroups; }
    const TSeriesGroups& Groups() const { return FGroups; }
    // A new group of the given name.
    TSeriesGroup& NewGroup(const std::string& Name);
    void ClearAllPoints();
    // True for an empty list.
    bool EverySeriesActive() const;
    void SetEverySeriesActive(bool Value);

private:
    TSeriesGroups FGroups;
};

// The series' Title with column separators as blanks; its Name when untitled; "Series" and its 1-based
// place in its chart when it has neither.
std::string SeriesCaption(const TChartSeries& Series);

// One entry of an editor's list of series: the text shown and the series.
struct TSeriesListEntry {
    std::string Text;
    TChartSeries* Series = nullptr;
};
// The series of a list that editors may show (ShowInEditor), each with its caption (UseCaptions) or its
// component name.
std::vector<TSeriesListEntry> ListSeriesInStrings(const TCustomSeriesList& List, bool UseCaptions);

// A task-modal error box with an empty caption.
void ShowErrorBox(const std::string& Text);

// Start-up of the unit: the axis, axis title, depth axis and marks classes become known to streams by
// name. Shut-down forgets them.
void LumEngineInitialization();
void LumEngineFinalization();
