// The list of a chart's series that the chart editor works on: one owner-drawn row per series with a type
// icon, an active check, a colour symbol and the title, and the series operations (add and change type
// through the gallery, delete, clone, rename, reorder by moving or dragging rows). Qt-free.
#pragma once

#include "chart/base/RadErareEvents.h"
#include "chart/control/ChartLegend.h"
#include "platform/controls/ListBox.h"

#include <array>
#include <functional>
#include <memory>
#include <vector>

class TChartSeries;
class TCustomAxisPanel;
class TCustomChart;
class TCustomEdit;
class TSeriesGroup;
class TStringList;


// The gallery's two operations, which the gallery unit installs at start-up: a new series for the chart
// (none when the user cancels), and a series changed to another type (Series then holds the series that
// took its place) answering the class it now has. Owner is the control the dialog belongs to.
using TGalleryAddSeriesHook =
    std::function<TChartSeries*(TWinControl* Owner, TCustomAxisPanel* Chart, TChartSeries* Selected)>;
using TGalleryChangeTypeHook = std::function<const TClassInfo*(TWinControl* Owner, TChartSeries*& Series)>;

struct TChartListBoxModule {
    TGalleryAddSeriesHook GalleryAddSeriesHook;
    TGalleryChangeTypeHook GalleryChangeTypeHook;
};
TChartListBoxModule& ChartListBoxModule();

using TSeriesNotifyEvent = std::function<void(TPersistent* Sender, TChartSeries* Series)>;
using TSeriesPairEvent = std::function<void(TPersistent* Sender, TChartSeries* A, TChartSeries* B)>;
using TItemIndexEvent = std::function<void(TPersistent* Sender, int Index)>;

class TChartListBox : public TListBox, public IChartEventListener {
    VSP_PERSISTENT_CLASS
public:
    enum TSection { secIcon = 0, secCheck = 1, secColor = 2, secTitle = 3 };

    // Owner-drawn rows of 24 pixels, unsorted, several rows selectable.
    explicit TChartListBox(TComponent* AOwner);
    ~TChartListBox() override;

    bool AllowAddSeries = true;
    bool AllowDeleteSeries = true;
    bool AskDelete = true;
    bool EnableChangeColor = true;
    bool EnableDragSeries = true;
    bool EnableChangeType = true;

    TCustomAxisPanel* Chart() const { return FChart; }
    // Leaves the old chart's listeners, joins the new one's and lists its series (none focused).
    void SetChart(TCustomAxisPanel* Value);
    TCheckBoxesStyle CheckStyle() const { return FCheckStyle; }
    // Radio buttons keep only the first active series active.
    void SetCheckStyle(TCheckBoxesStyle Value);
    bool ShowSeriesIcon() const { return SectionVisible(secIcon); }
    void SetShowSeriesIcon(bool Value) { SetSectionVisible(secIcon, Value); }
    bool ShowActiveCheck() const { return SectionVisible(secCheck); }
    void SetShowActiveCheck(bool Value) { SetSectionVisible(secCheck, Value); }
    bool ShowSeriesColor() const { return SectionVisible(secColor); }
    void SetShowSeriesColor(bool Value) { SetSectionVisible(secColor, Value); }
    bool ShowSeriesTitle() const { return SectionVisible(secTitle); }
    void SetShowSeriesTitle(bool Value) { SetSectionVisible(secTitle, Value); }
    bool SectionVisible(int Section) const { return FSections.at(static_cast<std::size_t>(Section)).Visible; }
    void SetSectionVisible(int Section, bool Value);
    // The sum of the widths of the visible sections before the section.
    int SectionLeft(int Section) const;
    int SectionWidth(int Section) const { return FSections.at(static_cast<std::size_t>(Section)).Width; }
    // The visible section whose span holds X strictly inside; -1 for none.
    int SectionAt(int X) const;

    // Component names in place of captions; only the series of a group. Either refills the list.
    bool ListsNames() const { return FListsNames; }
    void SetListsNames(bool Value);
    TSeriesGroup* ShownGroup() const { return FShownGroup; }
    void SetShownGroup(TSeriesGroup* Value);
    // A string list kept equal to the items (not owned; none by default).
    TStringList* MirrorItems = nullptr;
    // The chart lent to series without a chart to draw their colour symbol.
    TCustomChart* SymbolChart = nullptr;

    TSeriesNotifyEvent OnChangeActive, OnChangeColor, OnRemovedSeries;
    TSeriesPairEvent OnChangeOrder;
    TItemIndexEvent OnDblClickSeries;
    TNotifyEvent OnOtherItemsChange, OnRefresh;

    TChartSeries* SeriesOfItem(int Index) const;
    TChartSeries* FocusedSeries() const { return SeriesOfItem(ItemIndex()); }
    int IndexOfSeries(const TChartSeries* Series) const;
    void SelectItem(int Index);
    void SelectSeries(TChartSeries* Series);
    void SelectAll();

    // The series again, the current one focused (else the first).
    void Refill(TChartSeries* Current);
    TChartSeries* AddSeriesByGallery();
    void ChangeTypeByGallery();
    bool DeleteSelectedSeries();
    void CloneSelectedSeries();
    bool RenameSelected();
    void EditTitleInPlace();
    // The in-place title editor while it exists (tests type into it).
    TCustomEdit* TitleEditor() const { return FTitleEditor; }
    void MoveSelectedUp();
    void MoveSelectedDown();
    void SwapItems(int A, int B);

    void HandleChartEvent(TLumEvent& Event) override;

protected:
    void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    void KeyUp(std::uint16_t& Key, TShiftState Shift) override;
    void Click() override;
    bool DragOver(TPersistent* Source, int X, int Y) override;
    void DragDrop(TPersistent* Source, int X, int Y) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    struct TSectionInfo {
        int Width;
        bool Visible;
    };
    bool Destroying() const;
    // Multi-select: some row selected, or the focused row becomes selected. Single: a focused row.
    bool HasSelection();
    std::vector<TChartSeries*> SelectedSeries() const;
    void NoteObserver();
    void Refresh();
    void EndTitleEdit(bool Commit);
    int ItemUnder(int X, int Y, int& Section) const;

    std::array<TSectionInfo, 4> FSections{{{26, true}, {16, true}, {26, true}, {216, true}}};
    TCustomAxisPanel* FChart = nullptr;
    TCheckBoxesStyle FCheckStyle = cbsCheck;
    bool FListsNames = false;
    TSeriesGroup* FShownGroup = nullptr;
    TCustomEdit* FTitleEditor = nullptr;
    TChartSeries* FEditedSeries = nullptr;
    bool FInDblClick = false;
    bool FSwapping = false;
    TPoint FLastDown;
};
