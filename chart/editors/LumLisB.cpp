// The series list box: rows and their sections, the chart's series events, the mouse, keys and drag of
// rows, and the series operations with their gallery hooks.
#include "chart/editors/LumLisB.h"

#include "chart/base/LumCanvasHelpers.h"
#include "chart/base/LumPenDlgHelpers.h"
#include "chart/base/RadErareServices.h"
#include "chart/control/ChartControl.h"
#include "chart/control/ChartRegistry.h"
#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEngineSeries.h"
#include "platform/controls/Edit.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Prompter.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/StringList.h"

#include <algorithm>

TChartListBoxModule& ChartListBoxModule()
{
    static TChartListBoxModule module;
    return module;
}

const TClassInfo& TChartListBox::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TChartListBox", .Parent = &TListBox::StaticClassInfo()});
    return info;
}

TChartListBox::TChartListBox(TComponent* AOwner) : TListBox(AOwner)
{
    SetStyle(lbOwnerDrawFixed);
    SetItemHeight(24);
    SetSorted(false);
    SetMultiSelect(true);
}

TChartListBox::~TChartListBox()
{
    // Series events no longer reach a list being taken down.
    if (FChart) {
        FChart->Listeners().Remove(this);
        FChart->RemoveFreeNotification(this);
        FChart = nullptr;
    }
}

bool TChartListBox::Destroying() const { return ComponentState().Contains(csDestroying); }

void TChartListBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TListBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FChart) {
        FChart = nullptr;
        if (!Destroying()) Clear();
    }
}

void TChartListBox::SetChart(TCustomAxisPanel* Value)
{
    if (Value == FChart) return;
    if (FChart) {
        FChart->Listeners().Remove(this);
        FChart->RemoveFreeNotification(this);
    }
    FChart = Value;
    FShownGroup = nullptr;
    if (!FChart) {
        Clear();
        if (MirrorItems) MirrorItems->Clear();
        return;
    }
    FChart->FreeNotification(this);
    ListAddOnce(FChart->Listeners(), this);
    Refill(nullptr);
}

void TChartListBox::SetCheckStyle(TCheckBoxesStyle Value)
{
    if (Value == FCheckStyle) return;
    FCheckStyle = Value;
    if (FCheckStyle == cbsRadio) {
        bool seen = false;
        for (int i = 0; i < Count(); ++i)
            if (TChartSeries* s = SeriesOfItem(i); s && s->Active()) {
                if (seen) s->SetActive(false);
                seen = true;
            }
    }
    Invalidate();
}

void TChartListBox::SetSectionVisible(int Section, bool Value)
{
    FSections.at(static_cast<std::size_t>(Section)).Visible = Value;
    Invalidate();
}

int TChartListBox::SectionLeft(int Section) const
{
    int left = 0;
    for (int i = 0; i < Section; ++i)
        if (FSections[static_cast<std::size_t>(i)].Visible) left += FSections[static_cast<std::size_t>(i)].Width;
    return left;
}

int TChartListBox::SectionAt(int X) const
{
    for (int i = 0; i < 4; ++i) {
        if (!SectionVisible(i)) continue;
        const int left = SectionLeft(i);
        if (X > left && X < left + SectionWidth(i)) return i;
    }
    return -1;
}

void TChartListBox::SetListsNames(bool Value)
{
    if (Value == FListsNames) return;
    FListsNames = Value;
    Refill(FocusedSeries());
}

void TChartListBox::SetShownGroup(TSeriesGroup* Value)
{
    if (Value == FShownGroup) return;
    FShownGroup = Value;
    Refill(FocusedSeries());
}

// ---- Items and selection -------------------------------------------------------------------------------

TChartSeries* TChartListBox::SeriesOfItem(int Index) const
{
    if (Index < 0 || Index >= Count()) return nullptr;
    return dynamic_cast<TChartSeries*>(ItemObject(Index));
}

int TChartListBox::IndexOfSeries(const TChartSeries* Series) const
{
    for (int i = 0; i < Count(); ++i)
        if (ItemObject(i) == Series) return i;
    return -1;
}

void TChartListBox::SelectItem(int Index)
{
    if (Index < 0 || Index >= Count()) return;
    if (MultiSelect())
        SetSelected(Index, true);
    else
        SetItemIndex(Index);
}

void TChartListBox::SelectSeries(TChartSeries* Series)
{
    const int i = IndexOfSeries(Series);
    SetItemIndex(i);
    if (i >= 0) SetSelected(i, true);
}

void TChartListBox::SelectAll()
{
    if (!MultiSelect()) return;
    for (int i = 0; i < Count(); ++i) SetSelected(i, true);
    NoteObserver();
}

bool TChartListBox::HasSelection()
{
    if (!MultiSelect()) return ItemIndex() != -1;
    for (int i = 0; i < Count(); ++i)
        if (Selected(i)) return true;
    if (ItemIndex() != -1 && Count() > 0) {
        SetSelected(ItemIndex(), true);
        return true;
    }
    return false;
}

std::vector<TChartSeries*> TChartListBox::SelectedSeries() const
{
    std::vector<TChartSeries*> result;
    if (!MultiSelect()) {
        if (TChartSeries* s = FocusedSeries()) result.push_back(s);
        return result;
    }
    for (int i = 0; i < Count(); ++i)
        if (Selected(i))
            if (TChartSeries* s = SeriesOfItem(i)) result.push_back(s);
    return result;
}

void TChartListBox::NoteObserver()
{
    if (FChart && FChart->SeriesListObserver()) FChart->SeriesListObserver()->SeriesListChanged();
}

void TChartListBox::Refresh()
{
    if (OnRefresh) OnRefresh(this);
}

void TChartListBox::Refill(TChartSeries* Current)
{
    if (Destroying()) return;
    Clear();
    if (MirrorItems) MirrorItems->Clear();
    if (FChart) {
        const TCustomSeriesList& list = FShownGroup ? FShownGroup->Series() : FChart->SeriesList();
        for (const TSeriesListEntry& e : ListSeriesInStrings(list, !FListsNames)) {
            AddItem(e.Text, e.Series);
            if (MirrorItems) MirrorItems->Add(e.Text);
        }
    }
    int at = IndexOfSeries(Current);
    if (at < 0 && Count() > 0) at = 0;
    if (at >= 0) {
        SetItemIndex(at);
        SetSelected(at, true);
    }
    if (OnOtherItemsChange) OnOtherItemsChange(this);
    Refresh();
}

// ---- Chart events --------------------------------------------------------------------------------------

void TChartListBox::HandleChartEvent(TLumEvent& Event)
{
    if (Destroying()) return;
    if (auto* e = dynamic_cast<TLumSeriesEvent*>(&Event)) {
        switch (e->Event) {
        case seAdded:
        case seSwapped:
            if (!FSwapping) Refill(FocusedSeries());
            break;
        case seRemoved: {
            const int i = IndexOfSeries(e->Series);
            if (i >= 0) {
                Delete(i);
                if (MirrorItems && i < MirrorItems->Count()) MirrorItems->Delete(i);
            }
            if (OnRemovedSeries) OnRemovedSeries(this, e->Series);
            break;
        }
        case seTitle: {
            const int i = IndexOfSeries(e->Series);
            if (i >= 0 && e->Series) {
                SetItemText(i, SeriesCaption(*e->Series));
                if (MirrorItems && i < MirrorItems->Count()) MirrorItems->Put(i, Item(i));
            }
            break;
        }
        case seColor:
        case seActive: Invalidate(); break;
        default: break;
        }
    } else if (dynamic_cast<TLumView3DEvent*>(&Event)) {
        Invalidate();
    }
}

// ---- Drawing -------------------------------------------------------------------------------------------

void TChartListBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State)
{
    TCanvas& c = Canvas();
    const bool focused = Focused();
    const bool looksSelected = State.Contains(odSelected) || (!focused && Index == ItemIndex());
    TColor back;
    if (looksSelected)
        back = focused ? clHighlight : (Index == ItemIndex() ? clInactiveCaption : clHighlight);
    else
        back = State.Contains(odFocused) ? clInactiveCaption : Color();
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(back);
    c.FillRect(Rect);
    // The three left sections stay plain whatever the row's look.
    c.Brush().SetColor(Color());
    c.FillRect({Rect.Left, Rect.Top, Rect.Left + SectionLeft(secTitle) - 2, Rect.Bottom});

    if (TChartSeries* s = SeriesOfItem(Index)) {
        if (ShowSeriesIcon()) DrawSeriesIcon(c, *s, Rect.Left + SectionLeft(secIcon), Rect.Top);
        if (ShowSeriesColor() && s->HasSeriesColor()) {
            const int left = Rect.Left + SectionLeft(secColor) - 2;
            const TRect r{left + 4, Rect.Top + 4, left + SectionWidth(secColor) - 4, Rect.Bottom - 4};
            PaintSeriesLegendSymbol(*s, c, r, SymbolChart);
        }
        if (ShowActiveCheck())
            DrawCheckOrRadio(Rect.Left + SectionLeft(secCheck) + 2, Rect.Top + (Rect.Bottom - Rect.Top - 13) / 2, c,
                             FCheckStyle == cbsCheck, s->Active());
    }
    if (ShowSeriesTitle() && Index >= 0 && Index < Count()) {
        c.Brush().SetStyle(bsClear);
        c.SetBkMode(TRANSPARENT);
        c.Font().SetColor(ColorToRGB(looksSelected ? clHighlightText : clWindowText));
        c.TextOut(Rect.Left + SectionLeft(secTitle) + 1, Rect.Top + (ItemHeight() - c.TextHeight("W")) / 2, Item(Index));
    }
}

// ---- Mouse, keys and drag ------------------------------------------------------------------------------

int TChartListBox::ItemUnder(int X, int Y, int& Section) const
{
    Section = SectionAt(X);
    return ItemAtPos({X, Y});
}

void TChartListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TListBox::MouseDown(Button, Shift, X, Y);
    FLastDown = {X, Y};
    if (FTitleEditor && FTitleEditor->Visible()) EndTitleEdit(true);
    if (ItemIndex() == -1) return;
    int section = -1;
    const int item = ItemUnder(X, Y, section);
    if (item >= 0 && section == secCheck) {
        TChartSeries* clicked = SeriesOfItem(item);
        if (clicked) {
            if (FCheckStyle == cbsRadio) {
                for (int i = 0; i < Count(); ++i)
                    if (TChartSeries* s = SeriesOfItem(i)) s->SetActive(s == clicked);
            } else {
                clicked->SetActive(!clicked->Active());
            }
            if (!clicked->ParentChart()) Invalidate();
            if (OnChangeActive) OnChangeActive(this, clicked);
        }
    } else if (EnableDragSeries && section == secTitle && Button == mbLeft && !Shift.Contains(ssShift) &&
               !Shift.Contains(ssCtrl) && !FInDblClick) {
        BeginDrag(false);
    }
    FInDblClick = false;
    if (OnOtherItemsChange) OnOtherItemsChange(this);
}

void TChartListBox::MouseMove(TShiftState Shift, int X, int Y)
{
    TListBox::MouseMove(Shift, X, Y);
    int section = -1;
    const int item = ItemUnder(X, Y, section);
    const bool hand = item >= 0 && ((section == secIcon && EnableChangeType) || (section == secColor && EnableChangeColor));
    SetCursor(hand ? crHandPoint : crDefault);
}

void TChartListBox::DblClick()
{
    FInDblClick = true;
    TListBox::DblClick();
    EndDrag();
    const TPoint p = ScreenToClient(LastMousePos());
    int section = -1;
    const int item = ItemUnder(p.x, p.y, section);
    if (item < 0 || !Selected(item)) return;
    TChartSeries* s = SeriesOfItem(item);
    if (section == secIcon && EnableChangeType) {
        ChangeTypeByGallery();
    } else if (section == secColor && EnableChangeColor && s && s->HasSeriesColor()) {
        TColor color = s->SeriesColor();
        if (EditColorWithDialog(this, color)) {
            s->SetSeriesColor(color);
            s->SetColorEachPoint(false);
            if (OnChangeColor) OnChangeColor(this, s);
        }
    } else if (section == secTitle) {
        if (OnDblClickSeries) OnDblClickSeries(this, item);
    }
}

void TChartListBox::Click()
{
    TListBox::Click();
    Refresh();
}

void TChartListBox::KeyUp(std::uint16_t& Key, TShiftState Shift)
{
    TListBox::KeyUp(Key, Shift);
    if (Key == VK_INSERT && AllowAddSeries)
        AddSeriesByGallery();
    else if (Key == VK_DELETE && AllowDeleteSeries)
        DeleteSelectedSeries();
    else if (Key == VK_F1 + 1 && FocusedSeries())
        EditTitleInPlace();
}

bool TChartListBox::DragOver(TPersistent* Source, int X, int Y)
{
    TListBox::DragOver(Source, X, Y);
    return EnableDragSeries && Source == this;
}

void TChartListBox::DragDrop(TPersistent* Source, int X, int Y)
{
    TListBox::DragDrop(Source, X, Y);
    const int target = ItemAtPos({X, Y});
    if (target >= 0 && target != ItemIndex() && ItemIndex() >= 0) SwapItems(ItemIndex(), target);
}

// ---- Operations ----------------------------------------------------------------------------------------

void TChartListBox::SwapItems(int A, int B)
{
    TChartSeries* a = SeriesOfItem(A);
    TChartSeries* b = SeriesOfItem(B);
    Exchange(A, B);
    if (MirrorItems && A < MirrorItems->Count() && B < MirrorItems->Count()) MirrorItems->Exchange(A, B);
    if (FChart && a && b) {
        // The rows are already in their new order: the chart's swap event refills nothing.
        FSwapping = true;
        try {
            FChart->SwapSeriesObjects(a, b);
        } catch (...) {
            FSwapping = false;
            throw;
        }
        FSwapping = false;
        if (OnChangeOrder) OnChangeOrder(this, a, b);
    }
    if (CanFocus()) SetFocus();
    SetItemIndex(B);
    SelectItem(B);
    Refresh();
    NoteObserver();
}

void TChartListBox::MoveSelectedUp()
{
    if (ItemIndex() > 0) SwapItems(ItemIndex(), ItemIndex() - 1);
}

void TChartListBox::MoveSelectedDown()
{
    if (ItemIndex() >= 0 && ItemIndex() < Count() - 1) SwapItems(ItemIndex(), ItemIndex() + 1);
}

TChartSeries* TChartListBox::AddSeriesByGallery()
{
    const auto& hook = ChartListBoxModule().GalleryAddSeriesHook;
    if (!hook) return nullptr;
    TChartSeries* s = hook(this, FChart, FocusedSeries());
    if (!s) return nullptr;
    if (MultiSelect())
        for (int i = 0; i < Count(); ++i) SetSelected(i, false);
    SelectSeries(s);
    Refresh();
    NoteObserver();
    return s;
}

void TChartListBox::ChangeTypeByGallery()
{
    const auto& hook = ChartListBoxModule().GalleryChangeTypeHook;
    if (!FChart || !hook || !HasSelection()) return;
    std::vector<TChartSeries*> series = SelectedSeries();
    if (series.empty()) return;
    const TClassInfo* chosen = hook(this, series.front());
    for (std::size_t i = 1; i < series.size(); ++i)
        if (chosen) ChangeSeriesClass(series[i], *chosen);
    for (TChartSeries* s : series) SelectItem(IndexOfSeries(s));
    Refresh();
    NoteObserver();
}

bool TChartListBox::DeleteSelectedSeries()
{
    if (!HasSelection()) return false;
    std::vector<TChartSeries*> series = SelectedSeries();
    if (AskDelete) {
        const std::string name = MultiSelect() && series.size() != 1 ? std::string("(Selected Series)")
                                                                      : SeriesCaption(*FocusedSeries());
        if (!AskDeleteConfirmation(name, this)) return false;
    }
    for (TChartSeries* s : series) s->Free();
    if (Count() > 0) SelectItem(0);
    Refresh();
    NoteObserver();
    return !series.empty();
}

void TChartListBox::CloneSelectedSeries()
{
    if (ItemIndex() == -1) return;
    if (TChartSeries* s = FocusedSeries()) CloneSeries(*s);
    NoteObserver();
}

bool TChartListBox::RenameSelected()
{
    const int index = ItemIndex();
    TChartSeries* s = FocusedSeries();
    if (!s) return false;
    const std::string before = Item(index);
    std::string value = FListsNames ? s->Name() : SeriesCaption(*s);
    if (InputQuery("Change Series Title", "New Series Title:", value) && !value.empty()) {
        if (FListsNames) {
            s->SetName(value);
            SetItemText(index, value);
            if (FChart) FChart->Invalidate();
        } else {
            s->SetTitle(value == s->Name() ? std::string() : value);
        }
    }
    const int now = IndexOfSeries(s);
    SelectItem(now);
    return now >= 0 && Item(now) != before;
}

void TChartListBox::EditTitleInPlace()
{
    TChartSeries* s = FocusedSeries();
    if (!ShowSeriesTitle() || !s) return;
    if (!FTitleEditor) {
        FTitleEditor = new TCustomEdit(this);
        FTitleEditor->SetParent(this);
        FTitleEditor->OnKeyDown = [this](TPersistent*, std::uint16_t& Key, TShiftState) {
            if (Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_UP || Key == VK_DOWN || Key == VK_F1 + 1)
                EndTitleEdit(Key != VK_ESCAPE);
        };
        FTitleEditor->OnKeyPress = [](TPersistent*, char& Key) {
            if (Key == '\r' || Key == 27) Key = 0;
        };
    }
    FEditedSeries = s;
    FTitleEditor->SetText(SeriesCaption(*s));
    const TRect r = ItemRect(ItemIndex());
    FTitleEditor->SetBounds(SectionLeft(secTitle) - 2, r.Top, SectionWidth(secTitle), r.Bottom - r.Top + 1);
    FTitleEditor->Show();
    if (FTitleEditor->CanFocus()) FTitleEditor->SetFocus();
}

void TChartListBox::EndTitleEdit(bool Commit)
{
    if (!FTitleEditor || !FTitleEditor->Visible()) return;
    if (Commit)
        if (IndexOfSeries(FEditedSeries) >= 0) FEditedSeries->SetTitle(FTitleEditor->Text());
    FEditedSeries = nullptr;
    FTitleEditor->Hide();
    if (CanFocus()) SetFocus();
    Invalidate();
}
