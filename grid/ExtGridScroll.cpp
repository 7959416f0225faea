// Wheel, zoom, the grid timer with hovering, and cell hints; scrolling with proportional thumbs and scroll hints; column and row
// sizing with AllColumnSize, stretching, integral height; column widths kept in an ini file or the
// registry store; moving columns and rows; automatic sizing and the layout of rotated text.
#include "grid/ExtGrid.h"

#include "grid/EsgHTMLE.h"
#include "platform/controls/Application.h"
#include "platform/controls/HintWindow.h"
#include "platform/controls/Screen.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Registry.h"

#include <algorithm>
#include <cmath>

// ---- Wheel, zoom, timer ------------------------------------------------------------------------------

bool TExtStringGrid::MouseInGrid(TPoint Screen) const
{
    const TPoint p = ScreenToClient(Screen);
    return p.x >= 0 && p.y >= 0 && p.x <= Width() && p.y <= Height();
}

void TExtStringGrid::SetRowWithoutPaint(int NewRow)
{
    const int left = LeftCol();
    SetRow(NewRow);
    if (Options().Contains(goRowSelect) && Navigation.KeepHorizScroll) SetLeftCol(left);
}

bool TExtStringGrid::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (FPanning) return true;
    if (!MouseInGrid(MousePos)) return true;   // not over the grid: dropped
    if (Shift.Contains(ssCtrl) && IntelliZoom) Zoom(WheelDelta < 0 ? WheelLines : -WheelLines);
    else if (EnableWheel) {
        if (RowCount() == 1 && FixedRowAlways) return true;
        int newRow = Row() + (WheelDelta < 0 ? WheelLines : -WheelLines);
        newRow = std::clamp(newRow, FixedRows(), std::max(FixedRows(), RowCount() - FFixedFooters - 1));
        if (Col() > ColCount() - 1) SetCol(ColCount() - 1);
        if (Col() < FixedCols()) SetCol(FixedCols());
        if (newRow >= 0 && newRow < RowCount() && newRow != Row()) SetRowWithoutPaint(newRow);
    }
    return TBaseGrid::DoMouseWheel(Shift, WheelDelta, MousePos);
}

bool TExtStringGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    const int left = LeftCol();
    const bool r = TBaseGrid::DoMouseWheelDown(Shift, MousePos);
    if (Options().Contains(goRowSelect) && Navigation.KeepHorizScroll) SetLeftCol(left);
    return r;
}

bool TExtStringGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    const int left = LeftCol();
    const bool r = TBaseGrid::DoMouseWheelUp(Shift, MousePos);
    if (Options().Contains(goRowSelect) && Navigation.KeepHorizScroll) SetLeftCol(left);
    return r;
}

void TExtStringGrid::Zoom(int Delta)
{
    if (FZoomOffset + Delta < -10 || FZoomOffset + Delta > 10) return;
    FZoomOffset += Delta;
    LockRedraw();
    for (int c = 0; c < ColCount(); ++c)
        if (ColWidths(c) + Delta > 0) SetColWidths(c, ColWidths(c) + Delta);
    for (int r = 0; r < RowCount(); ++r)
        if (RowHeights(r) + Delta > 0) SetRowHeights(r, RowHeights(r) + Delta);
    UnlockRedraw();
}

void TExtStringGrid::GridTimer()
{
    if (Hovering) HoverStep(Screen->CursorPos());
    if (!EnableBlink) return;
    FBlinkPhase = !FBlinkPhase;
    for (int r = TopRow(); r <= TopRow() + VisibleRowCount() && r < RowCount(); ++r)
        for (int c = LeftCol(); c <= LeftCol() + VisibleColCount() && c < ColCount(); ++c)
            if (PosInUpperText("<BLI", RawCellText(DisplayToRealCol(c), r)) > 0) RefreshCell(c, r);
}

void TExtStringGrid::HoverStep(TPoint Screen)
{
    if (!Hovering || !WindowAt(Screen)) return;
    const TPoint p = ScreenToClient(Screen);
    if (p.x < 0 || p.y < 0 || p.x >= ClientWidth() || p.y >= ClientHeight()) return;
    const TGridCoord c = MouseCoord(p.x, p.y);
    if (c.X < FixedCols() || c.X >= ColCount() || c.Y < FixedRows() || c.Y >= RowCount()) return;
    SetFocus();
    SetRow(c.Y);
    SetCol(c.X);
}

// ---- Cell hints --------------------------------------------------------------------------------------

void TExtStringGrid::HintShow(THintInfo& Info, bool& CanShow)
{
    TBaseGrid::HintShow(Info, CanShow);
    BuildCellHint(Info.HintStr, Info);
}

// Cell hints show in the grid's own hint window, mini-markup included.
bool TExtStringGrid::ShowOwnHint(const THintInfo& Info)
{
    FHintWindow->SetColor(Info.HintColor);
    FHintWindow->ActivateHint({Info.HintPos.x, Info.HintPos.y, Info.HintPos.x, Info.HintPos.y}, Info.HintStr);
    return true;
}

void TExtStringGrid::HideOwnHint() { FHintWindow->ReleaseHandle(); }

void TExtStringGrid::BuildCellHint(std::string& HintStr, THintInfo& Info)
{
    Info.HintColor = HintColor;
    const TGridCoord cell = MouseCoord(Info.CursorPos.x, Info.CursorPos.y);
    if (cell.X < 0 || cell.Y < 0) return;
    const int c = cell.X, r = cell.Y, rc = DisplayToRealCol(c);
    FHintCell = {c, r};
    const TRect rect = CellRect(c, r);
    Info.CursorRect = rect;
    // The anchor under the mouse in a mini-markup cell becomes the hint.
    const std::string raw = RawCellText(rc, r);
    if (AnchorHint && ClassifyCellText(raw, EnableHTML) == 1) {
        TPoint hit{0, 0};
        std::string anchor = AnchorAt(rc, r, Info.CursorPos.x, Info.CursorPos.y, hit);
        if (!anchor.empty()) {
            if (OnAnchorHint) OnAnchorHint(this, r, rc, anchor);
            HintStr = anchor;
        }
    }
    TPoint pos{rect.Left, rect.Bottom + 6};
    if (const TCellGraphic* gr = CellGraphicOf(rc, r); gr && gr->CellType == ctComment) {
        HintStr = gr->CellText;
        pos = {rect.Right, rect.Top};
    }
    const bool normal = c >= FixedCols() && c < ColCount() - FFixedRightCols && r >= FixedRows() && r < RowCount() - FFixedFooters;
    auto cellText = [&] {
        pos.y = rect.Top;
        const std::string raw = GetCellValue(rc, r);
        HintStr = HTMLHint ? raw : HTMLToPlainText(raw);
    };
    if (HintShowCells && normal) cellText();
    if (HintShowLargeText) {
        TPoint size{0, 0};
        CellTextExtent(rc, r, size, false);
        if (size.x > ColWidths(c)) cellText();
    }
    GetGridHint(c, r, HintStr);
    Info.HintPos = ClientToScreen(pos);
}

// ---- Size with the form -----------------------------------------------------------------------------

void TExtStringGrid::SetSizeWithForm(bool v)
{
    FSizeWithForm = v;
    SetFollowFormSize(v);
    FFormSizeRef = FormSize();
}

void TExtStringGrid::FormResized(int FormWidth, int FormHeight)
{
    if (!FSizeWithForm) return;
    const int w = FormWidth + Width() - FFormSizeRef.x, h = FormHeight + Height() - FFormSizeRef.y;
    if (w > 0 && h > 0) {
        SetBounds(Left(), Top(), w, h);
        FFormSizeRef = {FormWidth, FormHeight};
    }
    if (ColumnSize.Stretch()) StretchColumnTo(ColumnSize.StretchColumn);
}

// ---- Scrolling ---------------------------------------------------------------------------------------

void TExtStringGrid::TopLeftChanged()
{
    TBaseGrid::TopLeftChanged();
    if (EditorOpen() && FEditorType != edNormal) HideEditorControl();
    UpdateProportionalThumb(false);
    UpdateProportionalThumb(true);
    if (FFooterPanel && FFooterPanel->Visible()) FFooterPanel->Invalidate();
}

void TExtStringGrid::WMScroll(int Bar, int Code, int Pos)
{
    const bool vert = Bar == SB_VERT;
    const bool hints = vert ? (ScrollHints == shVertical || ScrollHints == shBoth)
                            : (ScrollHints == shHorizontal || ScrollHints == shBoth);
    const int first = vert ? FixedRows() : FixedCols();
    const int span = vert ? RowCount() - VisibleRowCount() - FixedRows() : ColCount() - VisibleColCount() - FixedCols();
    const int n = static_cast<int>(std::lround(static_cast<double>(Pos) * span / 127.0)) + first;
    if (hints) {
        if (Code == SB_ENDSCROLL) FHintWindow->ReleaseHandle();
        else if (Code == SB_THUMBTRACK) {
            std::string hint = (vert ? "Row : " : "Col : ") + std::to_string(n);
            if (OnScrollHint) OnScrollHint(this, n, hint);
            TRect r = FHintWindow->CalcHintRect(100, hint);
            const TPoint at = ClientToScreen({FLastMouse.x + 10, FLastMouse.y});
            FHintWindow->SetColor(HintColor);
            FHintWindow->ActivateHint({at.x, at.y, at.x + r.Right, at.y + r.Bottom}, hint);
        }
    }
    if (Code == SB_THUMBTRACK && ScrollSynch) {
        if (vert) SetTopRow(n);
        else SetLeftCol(n);
        return;
    }
    TBaseGrid::WMScroll(Bar, Code, Pos);
    UpdateProportionalThumb(vert);
    UpdateProportionalThumb(!vert);
}

// The thumb's page shows the visible share of the rows (columns); positions stay within 0..127 and the
// page is at least 1, also for a control smaller than its fixed area and at the end of the rows.
void TExtStringGrid::UpdateProportionalThumb(bool Vertical)
{
    if (!FScrollProportional || ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning)) return;
    const int bar = Vertical ? SB_VERT : SB_HORZ;
    if (!ScrollBarVisible(bar)) return;
    const int L = GridLineWidth();
    const int fixedCount = Vertical ? FixedRows() : FixedCols();
    const int count = Vertical ? RowCount() : ColCount();
    const int first = Vertical ? TopRow() : LeftCol();
    auto size = [&](int i) { return Vertical ? RowHeights(i) : ColWidths(i); };
    long long fw = L, tw = L, ow = L;
    for (int i = 0; i < fixedCount; ++i) fw += size(i) + L;
    for (int i = fixedCount; i < count; ++i) {
        tw += size(i) + L;
        if (i < first) ow += size(i) + L;
    }
    const int extent = Vertical ? Height() : Width();
    if (tw <= 0) return;
    const float r = static_cast<float>(extent - fw) / static_cast<float>(tw);
    if (r >= 0.9999f) return;
    TScrollInfo info = GetScrollInfo(bar);
    const float rr = std::max(0.0f, r);
    int nMax = static_cast<int>((rr + 127) / (1 - rr));
    int nPage = std::max(1, nMax - 126);
    nMax = 126 + nPage;
    int nPos = extent < tw ? static_cast<int>(static_cast<double>(ow) / static_cast<double>(tw - extent) * 128.0) : info.Pos;
    info.Min = 0;
    info.Max = nMax;
    info.Page = nPage;
    info.Pos = std::clamp(nPos, 0, 127);
    SetScrollInfo(bar, info);
}

void TExtStringGrid::ApplyScrollLook()
{
    SetScrollBarFlat(FScrollType != ssNormal);
    SetScrollBarWidth(FScrollWidth);
}

void TExtStringGrid::SetScrollType(TScrollType v)
{
    if (v == FScrollType) return;
    FScrollType = v;
    ApplyScrollLook();
}

void TExtStringGrid::SetScrollWidth(int v)
{
    FScrollWidth = v;
    ApplyScrollLook();
}

void TExtStringGrid::SetScrollProportional(bool v)
{
    FScrollProportional = v;
    if (!v) {
        for (int bar : {SB_HORZ, SB_VERT}) {
            TScrollInfo info = GetScrollInfo(bar);
            info.Page = 0;
            info.Max = 127;
            SetScrollInfo(bar, info);
        }
    } else {
        UpdateProportionalThumb(true);
        UpdateProportionalThumb(false);
    }
}

void TExtStringGrid::GotoCell(int ACol, int ARow)
{
    if (ACol >= ColCount() || ARow >= RowCount() || ACol < 0 || ARow < 0) return;
    int l = LeftCol(), t = TopRow();
    if (ACol < LeftCol() || ACol > LeftCol() + VisibleColCount() - 1) {
        SetCol(ACol);
        l = std::max(ACol - VisibleColCount() / 2, FixedCols());
    }
    if (ARow < TopRow() || ARow > TopRow() + VisibleRowCount() - 1) {
        SetRow(ARow);
        t = std::max(ARow - VisibleRowCount() / 2, FixedRows());
    }
    l = std::min(l, ColCount() - VisibleColCount() + 1);
    t = std::min(t, RowCount() - VisibleRowCount() + 1);
    SetLeftCol(l);
    SetTopRow(t);
}

// ---- Sizing ------------------------------------------------------------------------------------------

void TExtStringGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs)
{
    TBaseGrid::CalcSizingState(X, Y, State, Index, SizingPos, SizingOfs);
    if (State == gsColSizing) {
        bool allow = true;
        if (OnColumnSize) OnColumnSize(this, Index, allow);
        if (!allow) State = gsNormal;
        else {
            FSizingCol = Index;
            FSizingStartWidth = ColWidths(Index);
            FColSizing = true;
        }
    } else if (State == gsRowSizing) {
        bool allow = true;
        if (OnRowSize) OnRowSize(this, Index, allow);
        if (!allow) State = gsNormal;
        else {
            FSizingRow = Index;
            FSizingStartHeight = RowHeights(Index);
            FRowSizing = true;
        }
    }
}

// StretchColumn does nothing while stretching is off, whatever its index.
void TExtStringGrid::StretchColumnTo(int ACol)
{
    if (ComponentState().Contains(csLoading) || !ColumnSize.Stretch() || ColCount() == 0) return;
    if (ACol == -1) ACol = ColCount() - 1;
    if (ACol >= ColCount() || ACol < 0) throw Exception("Stretch column index out of range");
    FStretchAllowed = false;
    if (ColCount() == 1) SetColWidths(0, ClientWidth());
    else {
        int s = 0;
        for (int c = 0; c < ColCount(); ++c)
            if (c != ACol) s += ColWidths(c);
        SetColWidths(ACol, s < ClientWidth() ? ClientWidth() - s - 1 : DefaultColWidth());
    }
    FStretchAllowed = true;
}

void TExtStringGrid::ColWidthsChanged()
{
    FWidthsChanged = true;
    if (FStretchAllowed && ColumnSize.Stretch()) StretchColumnTo(ColumnSize.StretchColumn);
    TBaseGrid::ColWidthsChanged();
    if (!FColSizing || FSizingCol < 0 || FSizingCol >= ColCount()) return;
    const int col = FSizingCol;
    FColSizing = false;   // the changes below do not repeat this step
    if (MouseActions.AllColumnSize && FSizingStartWidth > 0) {
        const double f = static_cast<double>(ColWidths(col)) / FSizingStartWidth;
        for (int c = FixedCols(); c < ColCount(); ++c)
            if (c != col) SetColWidths(c, static_cast<int>(std::nearbyint(ColWidths(c) * f)));
    }
    if (OnEndColumnSize) OnEndColumnSize(this, col);
    int w = ColWidths(col);
    UpdateColumnSize(col, w);
    if (w != ColWidths(col)) SetColWidths(col, w);
    FSizingCol = FSizingRow = -1;
}

void TExtStringGrid::RowHeightsChanged()
{
    TBaseGrid::RowHeightsChanged();
    if (!FRowSizing || FSizingRow < 0 || FSizingRow >= RowCount()) return;
    const int row = FSizingRow;
    FRowSizing = false;
    if (MouseActions.AllRowSize && FSizingStartHeight > 0) {
        const double f = static_cast<double>(RowHeights(row)) / FSizingStartHeight;
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (r != row) SetRowHeights(r, static_cast<int>(std::nearbyint(RowHeights(r) * f)));
    }
    if (OnEndRowSize) OnEndRowSize(this, row);
    FSizingCol = FSizingRow = -1;
}

bool TExtStringGrid::OverSizingEdge(int X, int Y)
{
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (c < 0 || r < 0) return false;
    const TRect a = CellSpanRect(c, r);
    bool answer = false;
    if (r <= FixedRows() && Options().Contains(goColSizing)) answer = X - a.Left < 4 || a.Right - X < 4;
    if (c <= FixedCols() && Options().Contains(goRowSizing)) answer = Y - a.Top < 4 || a.Bottom - Y < 4;
    return answer;
}

// ---- Integral height ---------------------------------------------------------------------------------

void TExtStringGrid::SetIntegralHeight(bool v)
{
    FIntegralHeight = v;
    ApplyIntegralHeight();
}

// With a horizontal scroll bar the height ends one pixel short of a whole number of rows; without one,
// a scroll bar's height (and a pixel) short of the next whole number. A height that already keeps the
// rule stays, so applying it again (every column-count change does) never shrinks the grid row by row.
int TExtStringGrid::IntegralHeightFor(int AHeight)
{
    const int r = DefaultRowHeight();
    if (r <= 0) return AHeight;
    if (VisibleColCount() + FixedCols() < ColCount()) {
        if ((AHeight + 1) % r == 0) return AHeight;
        return AHeight - AHeight % r - 1;
    }
    const int bar = GetSystemMetrics(SM_CYHSCROLL);
    if (((AHeight + bar + 1) % r + r) % r == 0) return AHeight;
    return AHeight + r - AHeight % r - bar - 1;
}

void TExtStringGrid::ApplyIntegralHeight()
{
    if (!FIntegralHeight || FRedrawLock > 0 || FApplyingIntegral) return;
    const int h = IntegralHeightFor(Height());
    if (h == Height() || h <= 0) return;
    FApplyingIntegral = true;
    SetBounds(Left(), Top(), Width(), h);
    FApplyingIntegral = false;
    PaintControlBorder();
}

// ---- Column widths in a store ------------------------------------------------------------------------

void TExtStringGrid::SaveColumnWidths()
{
    if (ColumnSize.Key.empty() || ColumnSize.Section.empty() || ComponentState().Contains(csDesigning)) return;
    if (ColumnSize.Location == clIniFile) {
        TIniFile ini(ColumnSize.Key);
        ini.BeginUpdate();
        for (int c = 0; c < ColCount(); ++c) ini.WriteInteger(ColumnSize.Section, "Col" + std::to_string(c), ColWidths(c));
        ini.UpdateFile();
        return;
    }
    TRegistry reg;
    if (!reg.OpenKey(ColumnSize.Key + "\\" + ColumnSize.Section, true)) return;
    for (int c = 0; c < ColCount(); ++c) reg.WriteInteger("Col" + std::to_string(c), ColWidths(c));
    reg.CloseKey();
}

std::vector<int> ReadStoredColumnWidths(const TIniFile& Ini, const std::string& Section, int Count, int DefaultWidth)
{
    std::vector<int> widths(static_cast<std::size_t>(std::max(0, Count)), -1);
    for (int c = 0; c < Count; ++c) {
        const std::int32_t w = Ini.ReadInteger(Section, "Col" + std::to_string(c), DefaultWidth);
        if (w >= 0 && w <= 32767) widths[static_cast<std::size_t>(c)] = w;
    }
    return widths;
}

// Stored widths are taken only within 0..32767.
void TExtStringGrid::LoadColumnWidths()
{
    if (ColumnSize.Key.empty() || ColumnSize.Section.empty() || ComponentState().Contains(csDesigning)) return;
    auto apply = [this](int c, long long w) {
        if (w < 0 || w > 32767) return;
        if (w != ColWidths(c)) SetColWidths(c, static_cast<int>(w));
    };
    if (ColumnSize.Location == clIniFile) {
        const std::vector<int> widths = ReadStoredColumnWidths(TIniFile(ColumnSize.Key), ColumnSize.Section, ColCount(), DefaultColWidth());
        for (int c = 0; c < ColCount(); ++c) apply(c, widths[static_cast<std::size_t>(c)]);
        return;
    }
    TRegistry reg;
    if (!reg.OpenKey(ColumnSize.Key + "\\" + ColumnSize.Section, false)) return;
    for (int c = 0; c < ColCount(); ++c) {
        const std::string name = "Col" + std::to_string(c);
        apply(c, reg.ValueExists(name) ? reg.ReadInteger(name) : DefaultColWidth());
    }
    reg.CloseKey();
}

// ---- Moving columns and rows -------------------------------------------------------------------------

void TExtStringGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    const int rf = DisplayToRealCol(FromIndex), rt = DisplayToRealCol(ToIndex);
    TBaseGrid::ColumnMoved(FromIndex, ToIndex);
    if (EnhRowColMove) {
        const int w = ColWidths(FromIndex);
        if (FromIndex < ToIndex)
            for (int c = FromIndex; c < ToIndex; ++c) SetColWidths(c, ColWidths(c + 1));
        else
            for (int c = FromIndex; c > ToIndex; --c) SetColWidths(c, ColWidths(c - 1));
        SetColWidths(ToIndex, w);
        FMovedFlag = true;
    }
    for (int i = 0; i < HiddenRowCount(); ++i) {
        TGridItem& h = HiddenItem(i);
        if (FromIndex >= static_cast<int>(h.Items.size()) || ToIndex >= static_cast<int>(h.Items.size())) continue;
        const TGridCell cell = h.Items[static_cast<std::size_t>(FromIndex)];
        h.Items.erase(h.Items.begin() + FromIndex);
        h.Items.insert(h.Items.begin() + ToIndex, cell);
    }
    int& sc = SortSettings.Column;
    if (sc == rf) sc = rt;
    else if (rf < sc && sc < rt) --sc;
    else if (rt <= sc && sc < rf) ++sc;
    if (Col() == FromIndex) SetCol(ToIndex);
}

void TExtStringGrid::RowMoved(int FromIndex, int ToIndex)
{
    if (FloatingFooter.Visible() && FloatingFooter.FooterStyle() == fsFixedLastRow && ToIndex == RowCount() - 1) return;
    TBaseGrid::RowMoved(FromIndex, ToIndex);
    if (EnhRowColMove) FMovedFlag = true;
}

// ---- Automatic sizing --------------------------------------------------------------------------------

void TExtStringGrid::AutoSizeColumn(int ACol, bool GrowOnly)
{
    int m = 0;
    for (int r = 0; r < RowCount(); ++r) {
        if (MergedAcross(DisplayToRealCol(ACol), r)) continue;
        TPoint size{0, 0};
        CellTextExtent(DisplayToRealCol(ACol), r, size, false);
        m = std::max(m, size.x);
    }
    int width = m + XMargin + 2 * GridLineWidth() + 2;
    if (GrowOnly && ColWidths(ACol) >= width) return;
    UpdateColumnSize(ACol, width);
    SetColWidths(ACol, ClampToLimits(width, MinColWidth, MaxColWidth));
}

void TExtStringGrid::SetAutoSize(bool v)
{
    FAutoSize = v;
    if (v) AutoSizeColumns(false, 10);
}

void TExtStringGrid::AutoSizeColumns(bool IncludeFixed, int Extra)
{
    for (int c = IncludeFixed ? 0 : FixedCols(); c < ColCount(); ++c) {
        AutoSizeCol(c);
        if (Extra != 0) SetColWidths(c, ClampToLimits(ColWidths(c) + Extra, MinColWidth, MaxColWidth));
    }
}

void TExtStringGrid::AutoSizeRowEx(int ARow, bool GrowOnly)
{
    int m = 0;
    for (int c = 0; c < ColCount(); ++c) {
        if (MergedDown(DisplayToRealCol(c), ARow)) continue;
        TPoint size{0, 0};
        if (IsBlockBase(DisplayToRealCol(c), ARow)) CellTextExtent(DisplayToRealCol(c), ARow, size, FWordWrap);
        m = std::max(m, size.y);
    }
    const int height = m + YMargin + 2 * GridLineWidth();
    if (GrowOnly && RowHeights(ARow) >= height) return;
    SetRowHeights(ARow, ClampToLimits(height, MinRowHeight, MaxRowHeight));
}

void TExtStringGrid::SetRowHeightLines(int ARow, int Lines, int Extra)
{
    const int h = Canvas().TextHeight("gh");
    const int l = h + h / 8;
    SetRowHeights(ARow, ClampToLimits(Extra + Lines * l, MinRowHeight, MaxRowHeight));
}

int TExtStringGrid::MaxLineCount(int ARow)
{
    if (ColCount() == 0 || !Multilinecells) return 1;
    int m = 1;
    for (int c = 0; c <= ColCount() - HiddenColCount() && c < ColCount(); ++c)
        m = std::max(m, CountTextLines(RawCellText(DisplayToRealCol(c), ARow), true));
    return m;
}

void TExtStringGrid::RotatedTextOrigin(TRect& R, int Angle, int HAlign, int VAlign, const std::string& Text)
{
    const TSize ext = Canvas().TextExtent(Text);
    const int L = R.Left + 2, T = R.Top + 2, Rt = R.Right - 2, B = R.Bottom - 2;
    const double a = Angle * M_PI / 180.0;
    const int wc = std::abs(static_cast<int>(std::cos(a) * ext.cx)), hs = std::abs(static_cast<int>(std::sin(a) * ext.cy));
    const int ws = std::abs(static_cast<int>(std::sin(a) * ext.cx)), hc = std::abs(static_cast<int>(std::cos(a) * ext.cy));
    const int q = Angle <= 90 ? 1 : Angle <= 180 ? 2 : Angle <= 270 ? 3 : 4;
    auto half = [](int v) { return v / 2; };
    int left = L, top = T;
    switch (q) {
    case 1:
        left = HAlign == 0 ? L : HAlign == 1 ? Rt - wc - hs : L + half(Rt - L - hs - wc);
        top = VAlign == 0 ? T + ws : VAlign == 1 ? T + half(B - T - hc - ws) + ws : B - hc;
        break;
    case 2:
        left = HAlign == 0 ? L + wc : HAlign == 1 ? Rt - hs : Rt - half(Rt - L + hs - wc);
        top = VAlign == 0 ? T + ws + hc : VAlign == 1 ? T + half(B - T - hc - ws) + ws + hc : B;
        break;
    case 3:
        left = HAlign == 0 ? L + hs + wc : HAlign == 1 ? Rt : Rt - half(Rt - L - hs - wc);
        top = VAlign == 0 ? T + hc : VAlign == 1 ? T + half(B - T - hc - ws) + hc : B - ws;
        break;
    default:
        left = HAlign == 0 ? L + hs : HAlign == 1 ? Rt - wc : L + half(Rt - L + hs - wc);
        top = VAlign == 0 ? T : VAlign == 1 ? T + half(B - T - hc - ws) : B - hc - ws;
        break;
    }
    R = {left, top, Rt, B};
}
