// Shared editor routines: confirmations, formats, arrows, list moves, cursors, font and picture dialogs.
#include "chart/base/LumPenDlgHelpers.h"

#include "chart/base/LumConst.h"
#include "chart/base/RadErareServices.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Prompter.h"
#include "platform/controls/Screen.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/ResourceStore.h"
#include "platform/rtl/StringList.h"

#include <vector>

namespace {

// An arrow of 7 x 4 pixels, black on white, pointing up or down.
void DrawArrow(TBitmap& b, bool up)
{
    b.SetPixelFormat(pf24bit);
    b.SetSize(7, 4);
    for (int y = 0; y < 4; ++y) {
        const int row = up ? y : 3 - y; // row 0 holds the tip
        for (int x = 0; x < 7; ++x) b.SetPixelRGB(x, y, std::abs(x - 3) <= row ? clBlack : clWhite);
    }
    b.SetTransparentColor(clWhite);
}

void RegisterArrowBitmaps()
{
    if (HasBitmapResource(ArrowUpResource) && HasBitmapResource(ArrowDownResource)) return;
    RegisterBitmapResource(ArrowUpResource, [](TBitmap& b) { DrawArrow(b, true); });
    RegisterBitmapResource(ArrowDownResource, [](TBitmap& b) { DrawArrow(b, false); });
}

std::string FormatName(const char* pattern, const std::string& name)
{
    std::string text = pattern;
    const std::size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, name);
    return text;
}

} // namespace

void SetControlsVisibility(bool Visible, std::initializer_list<TWinControl*> Controls)
{
    for (TWinControl* control : Controls)
        if (control) control->SetVisible(Visible);
}

bool ConfirmAt(const std::string& Text, TWinControl* Control)
{
    Screen->SetCursor(crDefault);
    const TMsgDlgButtons buttons{mbYes, mbNo};
    if (!Control) return MessageDlg(Text, mtConfirmation, buttons) == mrYes;
    const TPoint origin = Control->ClientToScreen({0, 0});
    return MessageDlgPos(Text, mtConfirmation, buttons, origin.x + 20, origin.y + 30) == mrYes;
}

bool AskDeleteConfirmation(const std::string& Name, TWinControl* Control)
{
    return ConfirmAt(FormatName(LumConst::ConfirmDelete, Name), Control);
}

void FillValueFormatList(TStringList& Strings)
{
    for (const char* format : {LumConst::DefaultValueFormat, "0", "0.0", "0.#", "#.#", "#,##0.00;(#,##0.00)", "00e-0",
                               LumConst::ExponentFormat, "#.# x10E-#"})
        Strings.Add(format);
}

void LoadArrowBitmaps(TBitmap& Up, TBitmap& Down)
{
    RegisterArrowBitmaps();
    LoadBitmapResource(ArrowUpResource, Up);
    LoadBitmapResource(ArrowDownResource, Down);
}

void MoveSelectedItems(TListBox& A, TListBox& B)
{
    std::vector<int> selected;
    for (int i = 0; i < A.Count(); ++i)
        if (A.Selected(i)) selected.push_back(i);
    for (int i : selected) B.AddItem(A.Item(i), A.ItemObject(i));
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) A.Delete(*it);
}

void MoveAllStrings(TStringList& A, TStringList& B)
{
    B.AddStrings(A);
    A.Clear();
}

// ---- Cursors --------------------------------------------------------------------------------------------------

bool CursorFromIdent(const std::string& Ident, TCursor& Cursor)
{
    if (Ident == VizIdurCursorIdent) {
        Cursor = crVizIdur;
        return true;
    }
    for (const TCursorIdent& c : CursorIdents()) {
        if (Ident == c.Name) {
            Cursor = c.Cursor;
            return true;
        }
    }
    return false;
}

bool CursorIdentOf(TCursor Cursor, std::string& Ident)
{
    if (Cursor == crVizIdur) {
        Ident = VizIdurCursorIdent;
        return true;
    }
    for (const TCursorIdent& c : CursorIdents()) {
        if (c.Cursor == Cursor) {
            Ident = c.Name;
            return true;
        }
    }
    return false;
}

TCursor LookupCursorByName(TCursor Default, const std::string& Name)
{
    TCursor cursor = Default;
    return CursorFromIdent("cr" + Name, cursor) ? cursor : Default;
}

void FillCursorCombo(TComboBox& Combo, TCursor Cursor)
{
    std::vector<std::string> items;
    for (const TCursorIdent& c : CursorIdents()) items.push_back(std::string(c.Name).substr(2));
    items.push_back(std::string(VizIdurCursorIdent).substr(2));
    Combo.SetItems(items);
    std::string ident;
    int index = -1;
    if (CursorIdentOf(Cursor, ident)) {
        for (int i = 0; i < static_cast<int>(items.size()); ++i)
            if (items[static_cast<std::size_t>(i)] == ident.substr(2)) index = i;
    }
    Combo.SetItemIndex(index);
}

// ---- Dialogs ----------------------------------------------------------------------------------------------------

bool RunFontDialog(TWinControl* Owner, TFont& Font) { return ExecuteFontDialog(Owner, Font); }

std::string AskPictureFileName(TWinControl* Owner)
{
    TFileDialogData data;
    data.Filter = "Pictures (*.bmp;*.png;*.jpg;*.jpeg)|*.bmp;*.png;*.jpg;*.jpeg|Bitmaps (*.bmp)|*.bmp|"
                  "PNG pictures (*.png)|*.png|JPEG pictures (*.jpg;*.jpeg)|*.jpg;*.jpeg";
    data.Options = ofFileMustExist | ofHideReadOnly;
    return ExecuteOpenDialog(Owner, data) ? data.FileName : std::string();
}

void LoadOrClearPicture(TWinControl* Owner, TPicture& Picture)
{
    if (Picture.HasGraphic()) {
        Picture.Clear();
        return;
    }
    const std::string file = AskPictureFileName(Owner);
    if (!file.empty()) Picture.LoadFromFile(file);
}
