// The editor link's protocol (set-up in the cell or in a pop-up, keys that leave, commit, the pop-up's
// deactivation), the rich text editor and converter with the grid's conversions of rich cell texts, and
// the input of mini-markup EDIT and COMBO controls.
#include "grid/ExtGridEditLink.h"

#include "grid/ExtGrid.h"
#include "grid/ExtGridEditors.h"
#include "platform/controls/PopupForm.h"
#include "platform/rtl/AnsiText.h"
#include "platform/rtl/StringList.h"

#include <algorithm>

// ---- TEditLink ---------------------------------------------------------------------------------------

const TClassInfo& TEditLink::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TEditLink", .Parent = &TComponent::StaticClassInfo()});
    return info;
}

TEditLink::TEditLink(TComponent* AOwner) : TComponent(AOwner) {}

TEditLink::~TEditLink()
{
    if (PopupForm) PopupForm->Free();
}

void TEditLink::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == Grid) Grid = nullptr;
}

void TEditLink::ActivateEditor(bool Focus)
{
    FHooked = true;
    TWinControl* c = EditorControl();
    if (Focus && c) c->SetFocus();
    else if (Grid) Grid->SetFocus();
}

void TEditLink::PlaceEditor(const TRect& R)
{
    if (TWinControl* c = EditorControl()) {
        const int line = Grid ? Grid->GridLineWidth() : 0;
        c->SetBounds(R.Left, R.Top, R.Width() - line, R.Height() - line);
    }
}

void TEditLink::SetEditorVisible(bool Value)
{
    if (TWinControl* c = EditorControl()) c->SetVisible(Value);
}

void TEditLink::UnhookEditor()
{
    FHooked = false;
    // The control's window closes with the edit.
    if (TWinControl* c = EditorControl()) c->SetVisible(false);
}

void TEditLink::StoreValue(const std::string& Value)
{
    if (Grid) Grid->StoreEditorText(Grid->DisplayToRealCol(Grid->Col()), Grid->Row(), Value);
}

void TEditLink::CloseEditor()
{
    StoreValue(EditorValue());
    if (Grid) Grid->HideEditorControl();
    UnhookEditor();
}

void TEditLink::LeaveEditor(TPersistent*)
{
    CloseEditor();
    if (EditStyle == esPopup && PopupForm) {
        // Hiding it may deactivate it again: the link forgets it first.
        TPopupForm* popup = PopupForm;
        PopupForm = nullptr;
        popup->Release();
    }
}

void TEditLink::PopupDeactivated(TPersistent* Sender)
{
    if (Grid && Grid->InplaceEditor()) Grid->InplaceEditor()->SetText(EditorValue());
    if (ForcedExit) StoreValue(EditorValue());
    else LeaveEditor(Sender);
}

void TEditLink::HandleEditKey(TPersistent*, std::uint16_t& Key, TShiftState Shift)
{
    const bool leaves = (Key == VK_TAB) || (Key == VK_RETURN && !WantKeyReturn) || (Key == VK_ESCAPE && !WantKeyEscape) ||
                        ((Key == VK_PRIOR || Key == VK_NEXT) && !WantKeyPriorNext) || (Key == VK_END && !WantKeyHomeEnd) ||
                        ((Key == VK_LEFT || Key == VK_RIGHT) && !WantKeyLeftRight) ||
                        ((Key == VK_UP || Key == VK_DOWN) && !WantKeyUpDown);
    if (!leaves || !Grid) return;
    TExtStringGrid& g = *Grid;
    // The grid taking the focus may commit the control and select the cell again: keep the text the cell
    // had when the edit began.
    const std::string original = g.EditOriginalText();
    ForcedExit = true;
    g.SetFocus();
    ForcedExit = false;
    if (Key == VK_ESCAPE) {
        g.SetCellValue(g.DisplayToRealCol(g.Col()), g.Row(), original);
        LoadEditorValue(original);
    }
    g.HideEditorControl();
    if (EditStyle == esPopup && PopupForm) {
        // Hiding it may deactivate it again: the link forgets it first.
        TPopupForm* popup = PopupForm;
        PopupForm = nullptr;
        popup->Release();
    }
    if (Key == VK_RETURN) {
        if (g.Navigation.AdvanceOnEnter) g.AdvanceCell(g.Col(), g.Row(), !Shift.Contains(ssShift), false, false);
        Key = 0;
    }
    if (Key == VK_TAB || Key == VK_UP || Key == VK_DOWN) {
        std::uint16_t k = Key;
        g.KeyDown(k, Shift);
        Key = 0;
    }
}

// ---- The grid's use of a link ------------------------------------------------------------------------

TWinControl* TExtStringGrid::SetUpEditLink(int RC, int ARow, const TRect& R, TColor Colour, const TFont& Font)
{
    TEditLink& link = *FCustomEditLink;
    FEditorOpen = true;
    link.Grid = this;
    link.EditCell = {RC, ARow};
    if (link.EditStyle == esPopup) {
        if (link.AutoPopupWidth) link.PopupWidth = R.Width();
        if (TPopupForm* old = link.PopupForm) {
            link.PopupForm = nullptr;
            old->Release();
        }
        link.PopupForm = new TPopupForm(nullptr);
        link.PopupForm->OnDeactivate = [&link](TPersistent* s) { link.PopupDeactivated(s); };
        const TPoint at = ClientToScreen({R.Left, R.Top});
        link.PopupForm->SetBounds(at.x, at.y, link.PopupWidth, link.PopupHeight);
        link.PopupForm->ShowPopup();
        link.BuildEditor(link.PopupForm);
        link.PlaceEditor({0, 0, link.PopupWidth, link.PopupHeight});
    } else {
        link.BuildEditor(this);
        link.PlaceEditor(R);
    }
    link.SetEditorVisible(true);
    link.SetEditorLook(Colour, Font);
    link.EditorReady();
    if (OnGetEditorProp) OnGetEditorProp(this, RC, ARow, &link);
    link.LoadEditorValue(GetEditText(RealToDisplayCol(RC), ARow));
    link.ActivateEditor(true);
    return link.EditorControl();
}

void TExtStringGrid::CommitEditLink(int RC, int ARow)
{
    TEditLink& link = *FCustomEditLink;
    StoreEditorText(RC, ARow, link.EditorValue());
    if (link.EditStyle != esPopup) link.SetEditorVisible(false);
    link.UnhookEditor();
    FEditorOpen = false;
}

void TExtStringGrid::SetCustomEditLink(TEditLink* v)
{
    if (FCustomEditLink) FCustomEditLink->RemoveFreeNotification(this);
    FCustomEditLink = v;
    if (v) v->FreeNotification(this);
}

// ---- Rich text ---------------------------------------------------------------------------------------

void TExtStringGrid::CellToRichEdit(int ACol, int ARow, TRichEdit& RichEdit) { RichEdit.LoadRichText(GetCellValue(ACol, ARow)); }

void TExtStringGrid::RichEditToText(TRichEdit& RichEdit, std::string& Text)
{
    Text = RichEdit.Document().Paragraphs.empty() ? std::string() : RichEdit.RichText();
}

const TClassInfo& TExtRichEdit::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TExtRichEdit", .Parent = &TRichEdit::StaticClassInfo()});
    return info;
}

TExtRichEdit::TExtRichEdit(TExtStringGrid* AGrid) : TRichEdit(AGrid), FGrid(AGrid) {}

void TExtRichEdit::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    TRichEdit::KeyDown(Key, Shift);
    if ((Key == VK_UP || Key == VK_DOWN) && !FGrid->WordWrap() && !FGrid->Multilinecells) {
        // The edit is left for the row above or below.
        std::uint16_t k = Key;
        Key = 0;
        FGrid->SetFocus();
        FGrid->KeyDown(k, Shift);
    }
}

void TExtRichEdit::WMKillFocus(TWinControl* NewFocus)
{
    if (this == FGrid->RichEditEditor() && NewFocus == FGrid) FGrid->HideEditorControl();
    TRichEdit::WMKillFocus(NewFocus);
}

void TExtRichEdit::RequestSize(const TRect& Requested)
{
    if (this == FGrid->RichTextConverter()) {
        FReqWidth = Requested.Width();
        FReqHeight = Requested.Height();
    } else if (this == FGrid->RichEditEditor() && Visible() && FGrid->SizeWhileTyping.Height && !FSuspended) {
        const int h = Requested.Height();
        const int row = FGrid->Row();
        const TRect cell = FGrid->CellRect(FGrid->Col(), row);
        if (FGrid->RowHeights(row) < h && cell.Top + h <= FGrid->Height()) {
            SetHeight(h + 4);
            FGrid->SetRowHeights(row, h + 5);
            if (FGrid->OnEndRowSize) FGrid->OnEndRowSize(FGrid, row);
        }
    }
    TRichEdit::RequestSize(Requested);
}

// ---- Mini-markup controls ----------------------------------------------------------------------------

const TClassInfo& TControlEdit::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TControlEdit", .Parent = &TCustomEdit::StaticClassInfo()});
    return info;
}

TControlEdit::TControlEdit(TExtStringGrid* AGrid) : TCustomEdit(AGrid), FGrid(AGrid) {}

void TControlEdit::KeyPress(char& Key)
{
    TCustomEdit::KeyPress(Key);
    if (Key == 13) {
        Key = 0;
        if (FGrid->ControlEditing()) FGrid->ControlEditDone();
    }
}

void TControlEdit::DoExit()
{
    TCustomEdit::DoExit();
    if (FGrid->ControlEditing() && Visible()) FGrid->ControlEditDone();
}

const TClassInfo& TControlCombo::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TControlCombo", .Parent = &TESGComboBox::StaticClassInfo()});
    return info;
}

TControlCombo::TControlCombo(TExtStringGrid* AGrid) : TESGComboBox(AGrid), FGrid(AGrid) {}

void TControlCombo::KeyPress(char& Key)
{
    TESGComboBox::KeyPress(Key);
    if (Key == 13) {
        Key = 0;
        if (FGrid->ControlEditing()) FGrid->ControlEditDone();
    }
}

void TControlCombo::DoExit()
{
    TESGComboBox::DoExit();
    if (FGrid->ControlEditing() && Visible()) FGrid->ControlEditDone();
}

void TControlCombo::Select()
{
    TESGComboBox::Select();
    if (FGrid->ControlEditing()) FGrid->ControlEditDone();
}

void TExtStringGrid::OpenMarkupControl(const THTMLResult& Hit, int ACol, int ARow)
{
    const TRect& r = Hit.ControlRect;
    if (Hit.ControlType == "EDIT") {
        if (!FControlEdit) FControlEdit = new TControlEdit(this);
        TControlEdit& e = *FControlEdit;
        e.SetParent(this);
        e.SetBorderVisible(false);
        e.SetBounds(r.Left + 3, r.Top + 5, r.Width() - 4, r.Height() - 4);
        e.SetText(Hit.ControlValue);
        e.SetVisible(true);
        e.SetEnabled(true);
        e.SetFocus();
    } else if (Hit.ControlType == "COMBO") {
        if (!FControlCombo) FControlCombo = new TControlCombo(this);
        TControlCombo& c = *FControlCombo;
        c.SetParent(this);
        bool edit = true;
        int dropCount = 8;
        TStringList values;
        for (const std::string& item : c.Items()) values.Add(item);
        if (OnControlComboList)
            OnControlComboList(this, ARow, RealToDisplayCol(ACol), Hit.ControlID, Hit.ControlType, Hit.ControlValue, values, edit, dropCount);
        c.SetItems(values.Items());
        c.SetStyle(edit ? csDropDown : csDropDownList);
        c.SetItemIndex(c.FindItemExact(AnsiToWide(Hit.ControlValue)));
        c.SetText(Hit.ControlValue);
        c.SetDropDownCount(dropCount);
        c.SetBounds(r.Left + 3, r.Top + 5, r.Width() - 4, std::max(r.Height(), 18));
        c.SetVisible(true);
        c.SetEnabled(true);
        c.SetFocus();
        c.SetDroppedDown(true);
    }
}

std::string TExtStringGrid::MarkupControlText()
{
    std::string text;
    if (FControlType == "EDIT" && FControlEdit) {
        text = FControlEdit->Text();
        FControlEdit->SetVisible(false);
    } else if (FControlType == "COMBO" && FControlCombo) {
        text = FControlCombo->Text();
        FControlCombo->SetDroppedDown(false);
        FControlCombo->SetVisible(false);
    }
    return text;
}
