// Sorting: cells compared by the column's sort style (detected from the first compared cell, or given by
// the application), rows compared on one column with ties decided to the right or on a list of columns
// each with its direction, the quick sort that exchanges whole rows with its pivot in a scratch row below
// the grid, sorting inside node groups, the header click that chooses column and direction, and the way
// back to the order the rows had before the first sort.
#include "grid/ExtGrid.h"

#include "platform/controls/Collation.h"
#include "platform/rtl/DateUtils.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>

TSortSettings::TSortRow& TSortSettings::TSortRow::operator=(int v)
{
    if (FOwner->Grid() && v > FOwner->Grid()->FixedRows()) throw Exception("Sort row should be smaller than number of fixed rows");
    FValue = v;
    return *this;
}

// ---- Comparing cells ---------------------------------------------------------------------------------

namespace {

int Sign(double a, double b) { return a > b ? 1 : a == b ? 0 : -1; }

int CompareBytes(const std::string& a, const std::string& b)
{
    const int c = a.compare(b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

std::string UpperAscii(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }

// The run time's whole-text conversion with '.' as the point: blanks, a sign, digits, a fraction and an
// exponent, nothing after. On failure Value is the whole number of the digits read before the failing
// character.
bool ReadWholeNumber(const std::string& s, double& Value)
{
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    const std::size_t start = i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < s.size() && IsDigitChar(s[i])) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigitChar(s[i])) ++i, ++digits;
    }
    bool ok = digits > 0;
    if (ok && i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        std::size_t exp = 0;
        while (j < s.size() && IsDigitChar(s[j])) ++j, ++exp;
        if (exp > 0) i = j;
        else {
            ok = false;
            i = j;
        }
    }
    if (ok && i == s.size()) {
        Value = std::strtod(s.c_str() + start, nullptr);
        if (!std::isfinite(Value)) Value = 0;
        return true;
    }
    double whole = 0;
    for (std::size_t k = 0; k < i && k < s.size(); ++k)
        if (IsDigitChar(s[k])) whole = whole * 10 + (s[k] - '0');
    Value = std::isfinite(whole) ? whole : 0;
    return false;
}

void RemoveFirst(std::string& s, const std::string& part)
{
    if (part.empty()) return;
    if (const auto p = s.find(part); p != std::string::npos) s.erase(p, part.size());
}

// The number rule of ssNumeric and ssFinancial for one text; false when it does not convert.
bool NumberValue(std::string t, const std::string& Prefix, const std::string& Suffix, bool Financial, double& Value)
{
    const bool empty = t.empty();
    RemoveFirst(t, Suffix);
    RemoveFirst(t, Prefix);
    const TFormatSettings& fs = FormatSettings();
    if (Financial) t.erase(std::remove(t.begin(), t.end(), fs.ThousandSeparator), t.end());
    if (fs.DecimalSeparator != '.')
        if (const auto p = t.find(fs.DecimalSeparator); p != std::string::npos) t[p] = '.';
    if (ReadWholeNumber(t, Value)) return true;
    if (empty) {
        Value = 0;
        return true;
    }
    return false;
}

TDateTime DateValue(const std::string& t)
{
    TDateTime d = 0;
    if (t.empty() || !TryStrToDateTime(t, d, FormatSettings())) return 0;
    return d;
}

TDateTime ShortDateValue(const std::string& t, bool US)
{
    try {
        return US ? ParseDateMDY(t) : ParseDateDMY(t);
    } catch (const EConvertError&) {
        return 0;
    }
}

// A slash at position 2 or 3 (counted from 1), not last, between two digits.
bool LooksLikeDate(const std::string& t)
{
    const auto p = t.find('/');
    if (p == std::string::npos || p < 1 || p > 2 || p + 1 >= t.size()) return false;
    return IsDigitChar(t[p - 1]) && IsDigitChar(t[p + 1]);
}

} // namespace

void TExtStringGrid::GetColumnFormat(int ACol, TSortStyle& AStyle, std::string& APrefix, std::string& ASuffix)
{
    if (OnGetFormat) OnGetFormat(this, ACol, AStyle, APrefix, ASuffix);
}

int TExtStringGrid::CompareCells(int ACol, int ARow1, int ARow2)
{
    TSortStyle style = SortSettings.AutoFormat ? ssAutomatic : ssAlphabetic;
    std::string prefix, suffix;
    GetColumnFormat(ACol, style, prefix, suffix);
    int result = 1;
    if (style == ssAutomatic) {
        if (IsCheckType(CellTypeOf(ACol, ARow1))) style = ssCheckBox;
        else {
            const std::string t = GetCellValue(ACol, ARow1);
            const int kind = ClassifyNumberText(t);
            style = kind == 0 || kind == 1 ? ssNumeric : LooksLikeDate(t) ? ssDate : ssAlphabetic;
        }
    }
    auto texts = [&] { return std::pair{GetCellValue(ACol, ARow1), GetCellValue(ACol, ARow2)}; };
    switch (style) {
    case ssAutomatic:
    case ssAlphabetic:
    case ssAlphaCase: {
        const auto [a, b] = texts();
        result = CompareBytes(a, b);
        break;
    }
    case ssAlphaNoCase: {
        const auto [a, b] = texts();
        result = CompareBytes(UpperAscii(a), UpperAscii(b));
        break;
    }
    case ssAnsiAlphaCase: {
        const auto [a, b] = texts();
        result = AnsiCompareStr(a, b);
        break;
    }
    case ssAnsiAlphaNoCase: {
        const auto [a, b] = texts();
        result = AnsiCompareText(a, b);
        break;
    }
    case ssNumeric:
    case ssFinancial: {
        const auto [a, b] = texts();
        double va = 0, vb = 0;
        const bool oka = NumberValue(a, prefix, suffix, style == ssFinancial, va);
        const bool okb = NumberValue(b, prefix, suffix, style == ssFinancial, vb);
        result = !oka && !okb ? 0 : Sign(va, vb);
        break;
    }
    case ssDate: {
        const auto [a, b] = texts();
        result = Sign(DateValue(a), DateValue(b));
        break;
    }
    case ssShortDateEU:
    case ssShortDateUS: {
        const auto [a, b] = texts();
        result = Sign(ShortDateValue(a, style == ssShortDateUS), ShortDateValue(b, style == ssShortDateUS));
        break;
    }
    case ssCustom: {
        const auto [a, b] = texts();
        int res = 0;
        if (OnCustomCompare) OnCustomCompare(this, a, b, res);
        result = res;
        break;
    }
    case ssRaw: {
        int res = 0;
        if (OnRawCompare) OnRawCompare(this, ACol, ARow1, ARow2, res);
        result = res;
        break;
    }
    case ssHTML: {
        const auto [a, b] = texts();
        result = CompareBytes(HTMLToPlainText(a), HTMLToPlainText(b));
        break;
    }
    case ssImages: {
        const std::intptr_t a = CellImageKey(ACol, ARow1), b = CellImageKey(ACol, ARow2);
        result = a > b ? 1 : a == b ? 0 : -1;
        break;
    }
    case ssCheckBox: {
        bool a = false, b = false;
        GetCheckBoxState(ACol, ARow1, a);
        GetCheckBoxState(ACol, ARow2, b);
        result = a == b ? 0 : a ? 1 : -1;
        break;
    }
    case ssUnicode:
        result = LocaleCompare(ReadWideCell(ACol, ARow1), ReadWideCell(ACol, ARow2), true);
        break;
    }
    if (SortSettings.IgnoreBlanks) {
        const auto [a, b] = texts();
        const bool e1 = a.empty(), e2 = b.empty();
        const bool first = SortSettings.BlankPos == blFirst;
        const int way = SortSettings.Direction == sdAscending ? 1 : -1;
        if (e1 && !e2) return (first ? -1 : 1) * way;
        if (e2 && !e1) return (first ? 1 : -1) * way;
    }
    return result;
}

int TExtStringGrid::CompareRows(int ACol, int ARow1, int ARow2)
{
    // Ties go on to the columns on the right; those on the left never decide.
    const int last = ColCount() - 1;
    for (int c = ACol;; ++c) {
        const int r = CompareCells(c, ARow1, ARow2);
        if (r != 0 || !SortSettings.Full || c > last - 1) return r;
    }
}

int TExtStringGrid::CompareRowsIndexed(int Depth, int ARow1, int ARow2)
{
    for (int d = Depth; d < FSortIndexes.Count(); ++d) {
        const std::uint32_t entry = static_cast<std::uint32_t>(FSortIndexes.ValueAt(d));
        const int c = CompareCells(static_cast<int>(entry & 0x7FFFFFFFu), ARow1, ARow2);
        const int signed_ = entry & 0x80000000u ? -c : c;
        if (c != 0 || !SortSettings.Full) return signed_;
    }
    return 0;
}

// ---- Moving rows -------------------------------------------------------------------------------------

void TExtStringGrid::ResetOriginalOrder()
{
    FOriginalRowOrder.resize(static_cast<std::size_t>(RowCount()));
    for (int i = 0; i < RowCount(); ++i) FOriginalRowOrder[static_cast<std::size_t>(i)] = i;
}

void TExtStringGrid::SwapRows(int ARow1, int ARow2)
{
    const int n = static_cast<int>(FOriginalRowOrder.size());
    if (ARow1 >= 0 && ARow2 >= 0 && ARow1 < n && ARow2 < n)
        std::swap(FOriginalRowOrder[static_cast<std::size_t>(ARow1)], FOriginalRowOrder[static_cast<std::size_t>(ARow2)]);
    if (SortSettings.SingleColumn) {
        const int c = SortSettings.Column;
        const std::string t1 = GetCellValue(c, ARow1), t2 = GetCellValue(c, ARow2);
        TCellProperties* p1 = RawCellProps(c, ARow1);
        TCellProperties* p2 = RawCellProps(c, ARow2);
        SetRawCellProps(c, ARow1, nullptr);
        SetRawCellProps(c, ARow2, nullptr);
        SetCellValue(c, ARow1, t2);
        SetCellValue(c, ARow2, t1);
        SetRawCellProps(c, ARow1, p2);
        SetRawCellProps(c, ARow2, p1);
        return;
    }
    ExchangeRows(ARow1, ARow2);
    const int h1 = RowHeights(ARow1), h2 = RowHeights(ARow2);
    if (h1 != h2) {
        SetRowHeights(ARow1, h2);
        SetRowHeights(ARow2, h1);
    }
    if (MouseActions.DisjunctRowSelect && Navigation.MoveRowOnSort) {
        const bool s1 = IsRowSelected(ARow1), s2 = IsRowSelected(ARow2);
        SetRowSelected(ARow1, s2);
        SetRowSelected(ARow2, s1);
    }
    if (ARow1 == FSortCurrentRow) FSortCurrentRow = ARow2;
    else if (ARow2 == FSortCurrentRow) FSortCurrentRow = ARow1;
}

// ---- The quick sorts ---------------------------------------------------------------------------------

namespace {

// The one quick sort of the grid's rows Lo..Hi. TakePivot(mid) holds the middle row's key as the pivot,
// which Compare sees as the row Pivot; Compare(a, b) is 1 when row a belongs after row b and 0 when the two
// tie, so rows step past the pivot only on a strict 1 (a comparison event may answer any number). Tied
// rows are exchanged only with SwapTies, since an exchange costs a whole row. The ranges wait on a list of
// their own in the order the recursion would take them, so rows that make the partitions lopsided cost
// time but never the call stack.
template <class TakePivotFn, class CompareFn, class SwapFn>
void QuickSortRange(int Lo, int Hi, int Pivot, bool SwapTies, TakePivotFn TakePivot, CompareFn Compare, SwapFn Swap)
{
    std::vector<std::pair<int, int>> ranges{{Lo, Hi}};
    while (!ranges.empty()) {
        const auto [lo, hi] = ranges.back();
        ranges.pop_back();
        if (lo > hi) continue;
        TakePivot(lo + (hi - lo) / 2);
        int i = lo, j = hi;
        do {
            while (Compare(Pivot, i) == 1 && i < hi) ++i;
            while (Compare(j, Pivot) == 1 && j > lo) --j;
            if (i <= j) {
                if (i != j && (SwapTies || Compare(i, j) != 0)) Swap(i, j);
                ++i;
                --j;
            }
        } while (i <= j);
        if (i < hi) ranges.push_back({i, hi});
        if (lo < j) ranges.push_back({lo, j});
    }
}

// The pivot of the row sorts is the scratch row below the grid, holding a copy of the row's cells.
int PivotRow(const TExtStringGrid& g) { return g.RowCount() - 2; }

void CopyRowToPivot(TExtStringGrid& g, int ARow)
{
    if (g.OnGetDisplText)
        for (int c = 0; c < g.ColCount(); ++c) g.SetCellValue(c, PivotRow(g), g.GetCellValue(c, ARow));
    else g.SetRows(PivotRow(g), g.Rows(ARow));
}

} // namespace

void TExtStringGrid::QuickSortRows(int ACol, int ALo, int AHi)
{
    FSortSign = SortSettings.Direction == sdAscending ? 1 : -1;
    // A row belongs after another when their comparison gives the direction's sign exactly.
    auto compare = [this, ACol](int a, int b) {
        const int r = CompareRows(ACol, a, b);
        return r == FSortSign ? 1 : r == 0 ? 0 : -1;
    };
    QuickSortRange(
        ALo, AHi, PivotRow(*this), false, [this](int mid) { CopyRowToPivot(*this, mid); }, compare,
        [this](int a, int b) { SwapRows(a, b); });
}

void TExtStringGrid::QuickSortRowsIndexed(int ADepth, int ALo, int AHi)
{
    QuickSortRange(
        ALo, AHi, PivotRow(*this), true, [this](int mid) { CopyRowToPivot(*this, mid); },
        [this, ADepth](int a, int b) { return CompareRowsIndexed(ADepth, a, b); }, [this](int a, int b) { SwapRows(a, b); });
}

// ---- The sort runs -----------------------------------------------------------------------------------

// One sort under the redraw lock with three scratch rows below the grid. Whatever way Sort ends, the
// scratch rows are emptied without freeing what they share with real rows, and the row count, hidden
// columns, display limit, last column's width, column 0 and current row are put back; an exception then
// goes on (the rows may be partly sorted).
void TExtStringGrid::RunSort(const std::function<void()>& Sort, bool RowFollowsContent)
{
    const bool keepCol0 = SortSettings.NormalCellsOnly && FixedCols() > 0;
    TGridCells col0;
    if (keepCol0) col0 = Cols(0);
    const int savedLimit = DisplayRowLimit();
    const int savedRowCount = RowCount();
    LockRedraw();
    TBaseGrid::SetRowCount(savedRowCount + 3);
    SetDisplayRowLimit(RowCount() - 3);
    const int lastCol = ColCount() - 1;
    const int lastWidth = ColWidths(lastCol);
    const int hiddenCols = HiddenColCount();
    TBaseGrid::SetColCount(ColCount() + hiddenCols);
    const int c = Row();
    FSortCurrentRow = c;
    bool failed = false;
    auto restore = [&] {
        // The scratch rows share cell objects with real rows: empty them without freeing.
        FSorting = true;
        for (int r = savedRowCount; r < RowCount(); ++r)
            for (int col = 0; col < ColCount(); ++col) {
                SetObjects(col, r, nullptr);
                SetCells(col, r, "");
            }
        FSorting = false;
        const int target = failed ? c : RowFollowsContent || Navigation.MoveRowOnSort ? FSortCurrentRow : c;
        TBaseGrid::SetColCount(ColCount() - hiddenCols);
        if (lastCol < ColCount()) SetColWidths(lastCol, lastWidth);
        TBaseGrid::SetRowCount(savedRowCount);
        SetDisplayRowLimit(savedLimit);
        if (keepCol0) SetCols(0, col0);
        if (target >= 0 && target < RowCount() && target != Row()) {
            if (failed) MoveColRow(Col(), target, true, false);
            else SetRow(target);
        }
        UnlockRedraw();
    };
    try {
        if (Navigation.MoveRowOnSort) SetRow(RowCount() - 3);
        Sort();
    } catch (...) {
        failed = true;
        try {
            restore();
        } catch (...) {
        }
        throw;
    }
    restore();
}

void TExtStringGrid::SortOnColumn()
{
    if (static_cast<int>(FOriginalRowOrder.size()) != RowCount()) ResetOriginalOrder();
    FSortIndexes.Clear();
    RunSort([this] { QuickSortRows(SortSettings.Column, FixedRows(), RowCount() - FFixedFooters - 4); }, false);
}

void TExtStringGrid::SortOnIndexes()
{
    if (static_cast<int>(FOriginalRowOrder.size()) != RowCount()) ResetOriginalOrder();
    if (FSortIndexes.Count() == 0) throw EExtGridError("No indexes specified for indexed sort");
    RunSort([this] { QuickSortRowsIndexed(0, FixedRows(), RowCount() - FFixedFooters - 4); }, false);
}

void TExtStringGrid::SortNodeGroups()
{
    if (static_cast<int>(FOriginalRowOrder.size()) != RowCount()) ResetOriginalOrder();
    RunSort(
        [this] {
            const int lastNormal = RowCount() - FFixedFooters - 4;
            for (int r = FixedRows(); r <= RowCount() - FFixedFooters - 3; ++r) {
                if (!IsNodeRow(r) || NodeCollapsed(r)) continue;
                const int n = NodeSpanOf(r);
                if (n - 1 > 1) QuickSortRows(SortSettings.Column, r + 1, std::min(r + n - 1, lastNormal));
            }
        },
        true);
}

void TExtStringGrid::RestoreUnsortedOrder()
{
    if (RowCount() < 2) return;
    std::vector<int> work = FOriginalRowOrder;
    work.resize(static_cast<std::size_t>(RowCount()), 0);
    if (static_cast<int>(FOriginalRowOrder.size()) != RowCount())
        for (int i = static_cast<int>(FOriginalRowOrder.size()); i < RowCount(); ++i) work[static_cast<std::size_t>(i)] = i;
    // Rows go back by the place each had: the pivot is a place, not a row.
    constexpr int pivotRow = -1;
    int pivot = 0;
    auto place = [&](int i) { return i == pivotRow ? pivot : work[static_cast<std::size_t>(i)]; };
    QuickSortRange(
        0, RowCount() - 1, pivotRow, false, [&](int mid) { pivot = place(mid); },
        [&](int a, int b) { return place(a) > place(b) ? 1 : place(a) == place(b) ? 0 : -1; },
        [&](int a, int b) {
            SwapRows(a, b);
            std::swap(work[static_cast<std::size_t>(a)], work[static_cast<std::size_t>(b)]);
        });
    ResetOriginalOrder();
    Invalidate();
}

// ---- The header click --------------------------------------------------------------------------------

void TExtStringGrid::HeaderClickSort(int ACol, TShiftState Shift)
{
    const auto started = std::chrono::steady_clock::now();
    HideEditorControl();
    if (static_cast<int>(FOriginalRowOrder.size()) != RowCount()) ResetOriginalOrder();
    if (SortSettings.AutoColumnMerge)
        for (int c = 0; c < ColCount(); ++c) SplitColumnMerges(c);
    const bool keepLeft = Navigation.KeepHorizScroll && Options().Contains(goRowSelect);
    const int left = LeftCol();
    if (keepLeft) LockRedraw();
    try {
        if (SortSettings.IndexShow) {
            const int k = FSortIndexes.FindSortColumn(ACol);
            if (Shift.Contains(ssShift)) {
                if (k < 0) FSortIndexes.AddSortColumn(ACol, true);
                else FSortIndexes.ToggleSortDirection(ACol);
            } else if (FSortIndexes.Count() == 1 && k == 0) FSortIndexes.ToggleSortDirection(ACol);
            else {
                FSortIndexes.Clear();
                FSortIndexes.AddSortColumn(ACol, true);
            }
            SortOnIndexes();
        } else {
            bool undo = false;
            if (ACol == SortSettings.Column) {
                undo = SortSettings.Direction != SortSettings.InitSortDirection && SortSettings.UndoSort;
                SortSettings.Direction = SortSettings.Direction == sdAscending ? sdDescending : sdAscending;
            } else {
                SortSettings.Direction = SortSettings.InitSortDirection;
                SortSettings.Column = ACol;
            }
            if (NodeRowCount() > 0) SortNodeGroups();
            else if (undo) {
                RestoreUnsortedOrder();
                SortSettings.Column = -1;
            } else SortOnColumn();
        }
    } catch (...) {
        if (keepLeft) UnlockRedraw();
        throw;
    }
    if (keepLeft) {
        SetLeftCol(left);
        UnlockRedraw();
    }
    if (SortSettings.AutoColumnMerge)
        for (int i = 0; i < FAutoMergeColumns.Count(); ++i) MergeColumnRuns(FAutoMergeColumns.ValueAt(i), i == 0);
    FSortTime = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count());
    if (OnClickSort) OnClickSort(this, SortSettings.Column);
}
