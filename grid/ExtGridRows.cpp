// Typed cell access, header texts, row and column insertion, removal and clearing (keeping the cell
// properties, the hidden-row store and the disjunct row flags consistent), wide cell texts, cell graphics'
// data, and the floating footer's column calculations.
#include "grid/ExtGrid.h"

#include "grid/CellGraphic.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/NumberText.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/SysFormat.h"

#include <algorithm>
#include <charconv>

// ---- Typed access ------------------------------------------------------------------------------------

int TExtStringGrid::CellAsInteger(int ACol, int ARow)
{
    std::string t = GetCellValue(ACol, ARow);
    if (t.empty()) t = "0";
    int v = 0;
    const char* b = t.data();
    if (*b == '+') ++b;
    auto [p, ec] = std::from_chars(b, t.data() + t.size(), v);
    if (ec != std::errc() || p != t.data() + t.size()) throw EExtGridError("Cell does not contain integer value");
    return v;
}

double TExtStringGrid::CellAsFloat(int ACol, int ARow)
{
    const std::string raw = GetCellValue(ACol, ARow);
    std::string t = NormalizeNumberText(raw);
    // A text without any digit is no number (only an empty cell reads as 0).
    if (!Trim(raw).empty() && t.find_first_of("0123456789") == std::string::npos)
        throw EExtGridError("Cell does not contain a float value");
    if (t.empty()) t = "0";
    double v = 0;
    if (!TryParseNumber(t, v)) throw EExtGridError("Cell does not contain a float value");
    return v;
}

void TExtStringGrid::SetCellAsFloat(int ACol, int ARow, double Value) { SetCellValue(ACol, ARow, FormatFloatDirective(FloatFormat, Value)); }

void TExtStringGrid::SetCellAsDate(int ACol, int ARow, TDateTime Value) { SetCellValue(ACol, ARow, DateToStr(Value)); }

// ---- Headers -----------------------------------------------------------------------------------------

void TExtStringGrid::SetColumnHeaders(const std::vector<std::string>& v)
{
    FColumnHeaders = v;
    if (FixedRows() > 0)
        for (int c = 0; c < ColCount(); ++c) SetCells(c, 0, "");
    ApplyColumnHeaders();
}

void TExtStringGrid::SetRowHeaders(const std::vector<std::string>& v)
{
    FRowHeaders = v;
    if (ComponentState().Contains(csDesigning) && FixedCols() > 0)
        for (int r = 0; r < RowCount(); ++r) SetCells(0, r, "");
    ApplyRowHeaders();
}

void TExtStringGrid::ApplyColumnHeaders()
{
    if (FixedRows() <= 0) return;
    for (int i = 0; i < static_cast<int>(FColumnHeaders.size()) && i < ColCount(); ++i)
        SetCellValue(i, 0, ExpandLineBreakEscapes(FColumnHeaders[static_cast<std::size_t>(i)]));
}

void TExtStringGrid::ApplyRowHeaders()
{
    if (FixedCols() <= 0) return;
    for (int i = 0; i < static_cast<int>(FRowHeaders.size()) && i < RowCount(); ++i)
        SetCellValue(0, i, ExpandLineBreakEscapes(FRowHeaders[static_cast<std::size_t>(i)]));
}

// ---- Rows and columns --------------------------------------------------------------------------------

// Hidden rows keep real indexes: rows inserted or removed before them shift them.
void TExtStringGrid::InsertRows(int ARow, int ACount)
{
    if (ACount <= 0 || ARow < 0 || ARow > RowCount()) return;
    const int realAt = DisplayToRealRow(ARow);
    TBaseGrid::SetRowCount(RowCount() + ACount);
    SetDisplayRowLimit(RowCount());
    for (int r = RowCount() - 1; r >= ARow + ACount; --r) {
        SetRows(r, Rows(r - ACount));
        SetRowHeights(r, RowHeights(r - ACount));
    }
    for (int r = ARow; r < ARow + ACount; ++r) {
        SetRowHeights(r, DefaultRowHeight());
        ClearRowCells(r);
    }
    ShiftHiddenRows(realAt, ACount);
}

void TExtStringGrid::RemoveRows(int ARow, int ACount)
{
    if (RowCount() < ARow || ACount <= 0 || ARow < 0) return;
    ACount = std::min(ACount, RowCount() - ARow);
    FreeCellPropsRange(0, ARow, ColCount() - 1, ARow + ACount - 1);
    const int realAt = DisplayToRealRow(ARow);
    DetachRowRange(ARow, ACount);
    // Stored rows behind the removed ones move up with them.
    for (int i = 0; i < HiddenRowCount(); ++i)
        if (HiddenItem(i).Idx > realAt) HiddenItem(i).Idx -= ACount;
}

void TExtStringGrid::DeleteRowRange(int ARow, int ACount) { RemoveRows(ARow, ACount); }

void TExtStringGrid::DetachRowRange(int ARow, int ACount)
{
    if (RowCount() < ARow || ACount <= 0 || ARow < 0) return;
    ACount = std::min(ACount, RowCount() - ARow);
    LockRedraw();
    const int top = TopRow(), row = Row();
    for (int i = 0; i < ACount; ++i) {
        // The class library keeps one row past the fixed ones.
        if (RowCount() <= 1) break;
        if (RowCount() - 1 <= TBaseGrid::FixedRows()) TBaseGrid::SetFixedRows(RowCount() - 2);
        for (int c = 0; c < ColCount(); ++c) SetObjects(c, ARow, nullptr);
        DeleteRow(ARow);
        if (MouseActions.DisjunctRowSelect && ARow < static_cast<int>(FRowSelectFlags.size()))
            FRowSelectFlags.erase(FRowSelectFlags.begin() + ARow);
    }
    SetDisplayRowLimit(RowCount());
    if (row < RowCount() - FFixedFooters) {
        if (row >= FixedRows()) MoveColRow(Col(), row, true, false);
        SetTopRow(top);
    } else if (FixedRows() < RowCount() - FFixedFooters) {
        MoveColRow(Col(), RowCount() - FFixedFooters - 1, true, true);
        FSelectionHidden = false;
    } else HideSelection();
    UnlockRedraw();
    CellsChanged({0, ARow, ColCount() - 1, ARow + ACount});
    if (TopRow() >= RowCount() - 1) SetTopRow(RowCount() - 1);
}

void TExtStringGrid::DeleteSelectedRows()
{
    LockRedraw();
    if (!MouseActions.DisjunctRowSelect) SelectionToRowFlags(true);
    int r = FixedRows();
    while (r < RowCount() - FFixedFooters) {
        const int fr = MouseActions.RowSelectPersistent ? DisplayToRealRow(r) : r;
        if (fr < static_cast<int>(FRowSelectFlags.size()) && FRowSelectFlags[static_cast<std::size_t>(fr)]) {
            FRowSelectFlags.erase(FRowSelectFlags.begin() + fr);
            const bool keep = MouseActions.DisjunctRowSelect;
            MouseActions.DisjunctRowSelect = false;   // the flag is gone already
            DeleteRowRange(r, 1);
            MouseActions.DisjunctRowSelect = keep;
            if (RowCount() - FFixedFooters <= FixedRows()) break;
        } else ++r;
    }
    UnlockRedraw();
}

void TExtStringGrid::InsertCols(int ACol, int ACount)
{
    if (ACount <= 0 || ACol < 0 || ACol > ColCount()) return;
    SetColCount(ColCount() + ACount);
    for (int c = ColCount() - 1; c >= ACol + ACount; --c) {
        SetCols(c, Cols(c - ACount));
        SetColWidths(c, ColWidths(c - ACount));
    }
    for (int c = ACol; c < ACol + ACount; ++c) {
        SetColWidths(c, DefaultColWidth());
        ClearColumnCells(c);
    }
}

void TExtStringGrid::RemoveCols(int ACol, int ACount)
{
    if (ACount <= 0 || ACol < 0 || ACol >= ColCount()) return;
    ACount = std::min(ACount, ColCount() - ACol);
    ClearColRange(ACol, ACount);
    for (int c = ACol; c + ACount < ColCount(); ++c) {
        SetCols(c, Cols(c + ACount));
        SetColWidths(c, ColWidths(c + ACount));
    }
    for (int c = ColCount() - ACount; c < ColCount(); ++c)
        for (int r = 0; r < RowCount(); ++r) SetObjects(c, r, nullptr);
    SetColCount(std::max(1, ColCount() - ACount));
    CellsChanged({ACol, 0, ACol + ACount, RowCount() - 1});
}

void TExtStringGrid::ClearCellRange(int ACol1, int ARow1, int ACol2, int ARow2)
{
    const bool destroying = ComponentState().Contains(csDestroying);
    for (int r = std::max(0, ARow1); r <= ARow2 && r < RowCount(); ++r)
        for (int c = std::max(0, ACol1); c <= ACol2 && c < ColCount(); ++c) {
            if (HasCellProps(c, r)) {
                RemoveCellGraphic(c, r);
                ReplaceCellProps(c, r, nullptr);
            }
            if (!destroying && !GetCellValue(c, r).empty()) SetCellValue(c, r, "");
        }
    if (!destroying) CellsChanged({ACol1, ARow1, ACol2, ARow2});
}

void TExtStringGrid::ClearRowRange(int ARow, int ACount)
{
    if (RowCount() <= 0 || ColCount() <= 0 || ACount <= 0) return;
    ClearCellRange(0, ARow, ColCount() + HiddenColCount() - 1, ARow + ACount - 1);
}

void TExtStringGrid::ClearColRange(int ACol, int ACount)
{
    if (RowCount() <= 0 || ColCount() <= 0 || ACount <= 0) return;
    ClearCellRange(ACol, 0, ACol + ACount - 1, RowCount() - 1);
}

void TExtStringGrid::ClearAllCells()
{
    if (RowCount() > 0 && ColCount() > 0) ClearCellRange(0, 0, ColCount() + HiddenColCount() - 1, RowCount() - 1);
    FSearchText.clear();
}

void TExtStringGrid::AppendRow() { InsertRows(FloatingFooter.Visible() ? RowCount() - 1 : RowCount(), 1); }

// ---- Merged runs of equal cells ----------------------------------------------------------------------

void TExtStringGrid::SplitColumnMerges(int ACol)
{
    int r = 0;
    while (r < RowCount() - 1 - FFixedFooters) {
        if (InMergedBlock(ACol, r)) {
            const int span = BaseSpans(ACol, r).y;
            SplitMergedCell(ACol, r);
            r += std::max(0, span) + 1;
        } else ++r;
    }
}

// Later columns (First off) merge only within the row groups that earlier columns already merged.
void TExtStringGrid::MergeColumnRuns(int ACol, bool First)
{
    int start = FixedRows(), run = 1;
    for (int r = FixedRows() + 1; r <= RowCount() - 1 - FFixedFooters; ++r) {
        const bool same = GetCellValue(ACol, r) == GetCellValue(ACol, r - 1);
        if (same && (First || RowsShareMergedBlock(r, r - 1))) {
            ++run;
            continue;
        }
        MergeCellRange(ACol, start, 1, run);
        start = r;
        run = 1;
    }
    if (run > 1) MergeCellRange(ACol, start, 1, run);
}

void TExtStringGrid::RemergeColumns()
{
    for (int c = 0; c < ColCount(); ++c) SplitColumnMerges(c);
    for (int i = 0; i < FAutoMergeColumns.Count(); ++i) MergeColumnRuns(FAutoMergeColumns.ValueAt(i), i == 0);
}

void TExtStringGrid::AutoInsertRow(int ARow)
{
    InsertRows(ARow, 1);
    if (OnAutoInsertRow) OnAutoInsertRow(this, ARow);
}

void TExtStringGrid::AutoDeleteRow(int ARow)
{
    if (RowCount() - FixedRows() - FFixedFooters == 1 && !FixedRowAlways) ClearRowRange(ARow, 1);
    else DeleteRowRange(ARow, 1);
    if (OnAutoDeleteRow) OnAutoDeleteRow(this, ARow);
}

// ---- Wide cell texts ---------------------------------------------------------------------------------

bool TExtStringGrid::IsWideCell(int ACol, int ARow) { return GetCellValue(ACol, ARow).rfind("|\\", 0) == 0; }

std::u16string TExtStringGrid::ReadWideCell(int ACol, int ARow) { return WideFromCellText(RawCellText(ACol, ARow)); }

void TExtStringGrid::WriteWideCell(int ACol, int ARow, const std::u16string& Value)
{
    SetRawCellText(ACol, ARow, CellTextFromWide(Value));
}

// ---- Cell graphics (data) ----------------------------------------------------------------------------

TCellGraphic* TExtStringGrid::CellGraphicOf(int ACol, int ARow) { return CellGraphicRef(ACol, ARow); }

TCellType TExtStringGrid::CellTypeOf(int ACol, int ARow)
{
    const TCellGraphic* g = CellGraphicRef(ACol, ARow);
    return g ? g->CellType : ctEmpty;
}

TCellGraphic& TExtStringGrid::CreateCellGraphic(int ACol, int ARow)
{
    ++FGraphicStamp;   // the caller gives it its type
    if (TCellGraphic* g = CellGraphicRef(ACol, ARow)) return *g;
    auto* g = new TCellGraphic();
    SetCellGraphicRef(ACol, ARow, g);
    return *g;
}

bool TExtStringGrid::RemoveCellGraphic(int ACol, int ARow)
{
    TCellGraphic* g = CellGraphicRef(ACol, ARow);
    if (!g) return false;
    ++FGraphicStamp;
    if (g->CellType != ctVirtCheckBox) delete g;
    FindCellProps(ACol, ARow)->Graphic = nullptr;
    return true;
}

namespace {
bool TypeIn(TCellType t, std::initializer_list<TCellType> set) { return std::find(set.begin(), set.end(), t) != set.end(); }
} // namespace

bool TExtStringGrid::IsCheckBoxCell(int ACol, int ARow)
{
    const TPoint b = BaseCellOf(ACol, ARow);
    return TypeIn(CellTypeOf(b.x, b.y), {ctCheckBox, ctDataCheckBox, ctVirtCheckBox});
}

bool TExtStringGrid::IsRadioCell(int ACol, int ARow)
{
    const TPoint b = BaseCellOf(ACol, ARow);
    return CellTypeOf(b.x, b.y) == ctRadio;
}

bool TExtStringGrid::IsCheckOrRadioCell(int ACol, int ARow) { return IsCheckBoxCell(ACol, ARow) || IsRadioCell(ACol, ARow); }

bool TExtStringGrid::IsButtonCell(int ACol, int ARow)
{
    const TPoint b = BaseCellOf(ACol, ARow);
    return TypeIn(CellTypeOf(b.x, b.y), {ctButton, ctBitButton});
}

// ---- Footer calculations -----------------------------------------------------------------------------

// A calculation never raises into the edit, paste or load that triggered it: a column whose range holds
// a non-number keeps its footer text, and an average, minimum or maximum over no row leaves it empty.
void TExtStringGrid::CalcFooterColumns(int ACol)
{
    if (!FloatingFooter.Visible() || FloatingFooter.FooterStyle() != fsFixedLastRow) return;
    const int last = RowCount() - 1;
    const int from = ACol == -1 ? 0 : ACol, to = ACol == -1 ? AllColCount() - 1 : ACol;
    for (int c = from; c <= to && c < ColCount(); ++c) {
        const TCellProperties* p = FindCellProps(c, last);
        if (!p) continue;
        const int kind = p->FooterCalc;
        if (kind == 0) {
            SetCellValue(c, last, "");
            continue;
        }
        if (kind == 3) {
            SetCellValue(c, last, FormatFloatDirective(FloatFormat, RowCount() - FixedRows() - 1));
            continue;
        }
        if (kind < 1 || kind > 5) continue;
        double sum = 0, mn = 0, mx = 0;
        int n = 0;
        bool numbers = true;
        for (int r = FixedRows(); r <= RowCount() - 2; ++r) {
            double v = 0;
            try {
                v = CellAsFloat(c, r);
            } catch (const EExtGridError&) {
                numbers = false;
                break;
            }
            sum += v;
            mn = n == 0 ? v : std::min(mn, v);
            mx = n == 0 ? v : std::max(mx, v);
            ++n;
        }
        if (!numbers) continue;
        if (n == 0 && kind != 1) {
            SetCellValue(c, last, "");
            continue;
        }
        const double value = kind == 1 ? sum : kind == 2 ? sum / n : kind == 4 ? mn : mx;
        SetCellValue(c, last, FormatFloatDirective(FloatFormat, value));
    }
}
