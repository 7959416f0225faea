// The state of the controls that cells carry: check boxes (their own flag or the cell text), radio
// groups (an index or the caption held as the cell text), cell buttons (pressed, and where painting put
// them), comments and error ranges; the precise check-box hit and the radio click.
#include "grid/ExtGrid.h"

#include "platform/graphics/Canvas.h"
#include "platform/rtl/StringList.h"

#include <algorithm>
#include <cmath>

bool TExtStringGrid::GetCheckBoxState(int ACol, int ARow, bool& AState)
{
    const TCellGraphic* g = CellGraphicOf(ACol, ARow);
    if (!g || !IsCheckType(g->CellType)) return false;
    if (g->CellType == ctCheckBox) AState = g->CellBoolean;
    else {
        std::string yes;
        GetCheckTrue(ACol, ARow, yes);
        AState = GetCellValue(ACol, ARow) == yes;
    }
    return true;
}

bool TExtStringGrid::SetCheckBoxState(int ACol, int ARow, bool AState)
{
    TCellGraphic* g = CellGraphicOf(ACol, ARow);
    if (!g || !IsCheckType(g->CellType)) return false;
    if (g->CellType == ctCheckBox) {
        g->CellBoolean = AState;
        RefreshCell(RealToDisplayCol(ACol), ARow);
    } else {
        std::string text;
        if (AState) GetCheckTrue(ACol, ARow, text);
        else GetCheckFalse(ACol, ARow, text);
        SetCellValue(ACol, ARow, text);
    }
    return true;
}

bool TExtStringGrid::ToggleCellCheck(int ACol, int ARow, bool CheckRights)
{
    TCellGraphic* g = CellGraphicOf(ACol, ARow);
    if (!g || !IsCheckType(g->CellType)) return false;
    if (CheckRights) {
        bool can = true;
        CanEditCell(ACol, ARow, can);
        if (!can) return false;
    }
    if (g->CellType == ctCheckBox) g->CellBoolean = !g->CellBoolean;
    else {
        std::string yes, no;
        GetCheckTrue(ACol, ARow, yes);
        GetCheckFalse(ACol, ARow, no);
        SetCellValue(ACol, ARow, GetCellValue(ACol, ARow) != yes ? yes : no);
    }
    RefreshCell(RealToDisplayCol(ACol), ARow);
    return true;
}

void TExtStringGrid::StepRadio(int ACol, int ARow, bool CheckRights)
{
    TCellGraphic* g = CellGraphicOf(ACol, ARow);
    if (!g || g->CellType != ctRadio) return;
    if (CheckRights) {
        bool can = true;
        CanEditCell(ACol, ARow, can);
        if (!can) return;
    }
    const TStringList* items = g->CellObject.As<TStringList>();
    const int count = items ? items->Count() : 0;
    int next = g->CellIndex < 0 ? (items ? items->IndexOf(GetCellValue(ACol, ARow)) : -1) + 1 : g->CellIndex + 1;
    if (next >= count) next = 0;
    if (g->CellIndex >= 0) g->CellIndex = next;
    if (count > 0) SetCellValue(ACol, ARow, (*items)[next]);
    else RefreshCell(RealToDisplayCol(ACol), ARow);
}

bool TExtStringGrid::RadioIndexOf(int ACol, int ARow, int& AIndex)
{
    const TCellGraphic* g = CellGraphicOf(ACol, ARow);
    if (!g) return false;
    AIndex = g->CellIndex;
    return g->CellType == ctRadio;
}

bool TExtStringGrid::CommentOf(int ACol, int ARow, std::string& AText)
{
    const TCellGraphic* g = CellGraphicOf(ACol, ARow);
    if (!g || g->CellType != ctComment) return false;
    AText = g->CellText;
    return true;
}

void TExtStringGrid::ErrorRangeOf(int ACol, int ARow, int& AFrom, int& ALength)
{
    AFrom = ALength = 0;
    if (const TCellGraphic* g = CellGraphicOf(ACol, ARow)) {
        AFrom = g->CellErrFrom;
        ALength = g->CellErrLen;
    }
}

void TExtStringGrid::SetButtonPressed(int ADisplayCol, int ARow, bool APressed)
{
    TCellGraphic* g = CellGraphicOf(DisplayToRealCol(ADisplayCol), ARow);
    if (!g) return;
    g->CellBoolean = APressed;
    RefreshCell(ADisplayCol, ARow);
}

void TExtStringGrid::ButtonRect(int ADisplayCol, int ARow, TRect& R)
{
    const TCellGraphic* g = CellGraphicOf(DisplayToRealCol(ADisplayCol), ARow);
    if (!g) return;
    const TRect a = CellSpanRect(ADisplayCol, ARow);
    const int offset = static_cast<int>(std::lround(g->CellValue));
    R.Left = a.Left + (offset & 0xFFFF);
    R.Top = a.Top + ((offset >> 16) & 0xFFFF);
    R.Right = R.Left + (g->CellIndex & 0xFFFF);
    R.Bottom = R.Top + ((g->CellIndex >> 16) & 0xFFFF);
    if (g->CellVAlign == vaFull) {
        R.Top = a.Top;
        R.Bottom = a.Bottom;
    }
    if (g->CellHAlign == haFull) {
        R.Left = a.Left;
        R.Right = a.Right;
    }
}

bool TExtStringGrid::CheckBoxHit(int ACol, int ARow, int X, int Y)
{
    const TCellGraphic* g = CellGraphicOf(ACol, ARow);
    if (!g || !IsCheckType(g->CellType)) return false;
    if (!MouseActions.PreciseCheckBoxCheck) return true;
    const int s = ControlLook.CheckSize();
    const TRect a = CellSpanRect(RealToDisplayCol(ACol), ARow);
    int top = a.Top + 2;
    switch (g->CellVAlign) {
    case vaTop:
    case vaAboveText: top = a.Top + 2; break;
    case vaBottom:
    case vaUnderText: top = a.Bottom - s - 2; break;
    case vaCenter:
    case vaFull: top = a.Top + (a.Height() - s) / 2; break;
    }
    TAlignment align = taLeftJustify;
    if (const TCellProperties* p = FindCellProps(ACol, ARow)) align = p->Alignment;
    int left = a.Left + 2;
    if (align == taRightJustify) left = a.Right - s - 2;
    else if (align == taCenter) left = a.Left + (a.Width() - s) / 2;
    return X >= left && X < left + s && Y >= top && Y < top + s;
}

void TExtStringGrid::RadioClickAt(int ACol, int ARow, int dx, int dy)
{
    const TPoint b = BaseCellOf(ACol, ARow);
    TCellGraphic* g = CellGraphicOf(b.x, b.y);
    if (!g || g->CellType != ctRadio) return;
    TCanvas& c = Canvas();
    ResolveCellLook(RealToDisplayCol(b.x), b.y, c.Brush(), c.Font());
    MoveColRow(RealToDisplayCol(b.x), b.y, true, true);
    const TStringList* items = g->CellObject.As<TStringList>();
    const int count = items ? items->Count() : 0;
    const int button = ControlLook.ControlStyle() >= csWinXP ? 16 : ControlLook.RadioSize();
    int chosen = 0, start = 0;
    for (int i = 1; i <= count && chosen == 0; ++i) {
        const int span = g->CellBoolean ? c.TextWidth((*items)[i - 1]) + button : std::max(button, c.TextHeight("gh"));
        const int d = g->CellBoolean ? dx : dy;
        if (d > start && d < start + span) chosen = i;
        start += span;
    }
    if (chosen == 0) return;
    if (g->CellIndex == -1) SetCellValue(b.x, b.y, (*items)[chosen - 1]);
    else {
        g->CellIndex = chosen - 1;
        SetCellValue(b.x, b.y, GetCellValue(b.x, b.y));
    }
    RefreshCell(RealToDisplayCol(b.x), b.y);
    if (OnRadioClick) OnRadioClick(this, RealToDisplayCol(b.x), b.y, chosen - 1);
}
