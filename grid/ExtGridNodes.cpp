// Row nodes: a row whose column-0 cell holds a node graphic heads the group of rows after it (its span,
// or up to the next node), which contracting moves into the hidden-row store and expanding brings back;
// the queries on nodes, the glyph band a press hits, and the role of a row in the tree lines.
#include "grid/ExtGrid.h"

#include <algorithm>

// ---- Queries (display rows) --------------------------------------------------------------------------

bool TExtStringGrid::IsNodeRow(int ARow) { return ARow >= 0 && ARow < RowCount() && CellTypeOf(0, ARow) == ctNode; }

bool TExtStringGrid::IsSummaryRow(int ARow) { return ARow >= 0 && ARow < RowCount() && CellTypeOf(0, ARow) == ctSummary; }

bool TExtStringGrid::NodeCollapsed(int ARow) { return IsNodeRow(ARow) && CellGraphicOf(0, ARow)->CellBoolean; }

int TExtStringGrid::NodeLevelOf(int ARow)
{
    if (!IsNodeRow(ARow)) return -1;
    const TCellProperties* p = FindCellProps(0, ARow);
    return p ? p->NodeLevel : 0;
}

int TExtStringGrid::NodeSpanOf(int ARow) { return IsNodeRow(ARow) ? CellGraphicOf(0, ARow)->CellIndex : -1; }

bool TExtStringGrid::NodeGlyphHit(int ARow, int X)
{
    const int level = NodeLevelOf(ARow);
    return (level - 1) * 16 < X && X < level * 16;
}

int TExtStringGrid::RowNodeRole(int ARow)
{
    if (IsNodeRow(ARow)) return 0;
    if (ARow >= RowCount() - FixedFooters() - 1) return 1;
    const TCellProperties* next = FindCellProps(0, ARow + 1);
    if (!next) return 1;
    const TCellProperties* own = FindCellProps(0, ARow);
    return next->NodeLevel < (own ? own->NodeLevel : 0) ? 1 : 2;
}

// Counted again only when rows came or went or a cell graphic was made or removed: painting asks for
// every cell of column 0.
int TExtStringGrid::NodeRowCount()
{
    if (FNodeCountRows == RowCount() && FNodeCountHidden == HiddenRowCount() && FNodeCountStamp == FGraphicStamp)
        return FNodeRowCount;
    int n = 0;
    for (int r = 0; r < RowCount(); ++r)
        if (CellTypeOf(0, r) == ctNode) ++n;
    FNodeRowCount = n;
    FNodeCountRows = RowCount();
    FNodeCountHidden = HiddenRowCount();
    FNodeCountStamp = FGraphicStamp;
    return n;
}

bool TExtStringGrid::HasNodes() { return NodeRowCount() > 0; }

void TExtStringGrid::AddNode(int ARow, int ASpan, int ALevel)
{
    TCellGraphic& g = CreateCellGraphic(0, ARow);
    g.CellType = ctNode;
    ++FGraphicStamp;
    g.CellIndex = std::max(0, ASpan);
    g.CellBoolean = false;
    CellProps(0, ARow).NodeLevel = ALevel;
    RefreshCell(0, ARow);
}

void TExtStringGrid::RemoveNode(int ARow)
{
    if (!IsNodeRow(ARow)) return;
    if (NodeCollapsed(ARow)) ExpandNode(DisplayToRealRow(ARow));
    RemoveCellGraphic(0, ARow);
    RefreshCell(0, ARow);
}

// ---- Expanding and contracting -------------------------------------------------------------------------

namespace {

// Editor types whose control drops a list or calendar down.
bool IsDropDownType(TEditorType t)
{
    return t == edComboEdit || t == edComboList || t == edUniComboEdit || t == edUniComboList || t == edDateEdit ||
           t == edDateEditUpDown;
}

void MarkNode(TExtStringGrid& g, int ADisplayRow, bool Contracted)
{
    if (TCellGraphic* n = g.CellGraphicOf(0, ADisplayRow)) n->CellBoolean = Contracted;
}

} // namespace

// The first display row after ARow that is a node row, or RowCount.
int TExtStringGrid::NextNodeRow(int ARow)
{
    int e = ARow + 1;
    while (e < RowCount() && !IsNodeRow(e)) ++e;
    return e;
}

// Hides display rows AFrom..ATo, each run of consecutive real rows at once, from the bottom up so that
// the display indexes above stay valid.
void TExtStringGrid::HideDisplayRows(int AFrom, int ATo)
{
    ATo = std::min(ATo, RowCount() - 1);
    AFrom = std::max(AFrom, 0);
    int d = ATo;
    while (d >= AFrom) {
        int start = d;
        while (start > AFrom && DisplayToRealRow(start - 1) == DisplayToRealRow(start) - 1) --start;
        HideRowRange(DisplayToRealRow(start), DisplayToRealRow(d));
        d = start - 1;
    }
}

void TExtStringGrid::ExpandNode(int ARealRow)
{
    if (CellNode.ExpandOne)
        for (int i = FixedRows(); i < RowCount(); ++i)
            if (IsNodeRow(i) && !NodeCollapsed(i)) ContractNode(DisplayToRealRow(i));
    const int d = RealToDisplayRow(ARealRow);
    if (IsHiddenRow(ARealRow) || !IsNodeRow(d) || !NodeCollapsed(d)) return;
    MarkNode(*this, d, false);
    const int e = NodeSpanOf(d) == 0 ? NextNodeRow(d) : d + 1;
    const int r1 = DisplayToRealRow(d), r2 = DisplayToRealRow(e);
    UnhideRowRange(r1 + 1, r2 - 1);
    RefreshCell(0, d);
}

void TExtStringGrid::ContractNode(int ARealRow)
{
    if (FEditorOpen && IsDropDownType(FEditorType)) HideEditorControl();
    const int b = RealToDisplayRow(ARealRow);
    if (IsHiddenRow(ARealRow) || !IsNodeRow(b) || NodeCollapsed(b)) return;
    MarkNode(*this, b, true);
    const int c = b + 1;
    const int span = NodeSpanOf(b);
    int end = span > 0 ? b + span : NextNodeRow(b);
    // A nested node that is already contracted: its rows are out of the grid, so the group reaches that
    // many rows less far in display rows; it comes back expanded with the outer node.
    for (int i = c; i < std::min(end, RowCount());) {
        if (IsNodeRow(i) && NodeCollapsed(i)) {
            const int nested = NodeSpanOf(i);
            MarkNode(*this, i, false);
            if (TCellProperties* p = FindCellProps(1, i + 1); p && p->Control) p->Control->SetVisible(false);
            HideDisplayRows(c, i);
            end = end - nested - (i - c);
            i = c;
        } else ++i;
    }
    HideDisplayRows(c, std::min(end, RowCount()) - 1);
    RefreshCell(0, b);
}

void TExtStringGrid::ExpandAllNodes()
{
    UnhideAllRows();
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (IsNodeRow(r)) MarkNode(*this, r, false);
    Invalidate();
}

void TExtStringGrid::ContractAllNodes()
{
    LockRedraw();
    try {
        ExpandAllNodes();
        std::vector<int> rows;
        for (int a = FixedRows(); a < RowCount();) {
            if (!IsNodeRow(a)) {
                ++a;
                continue;
            }
            MarkNode(*this, a, true);
            const int span = NodeSpanOf(a);
            if (span > 0) {
                for (int r = a + 1; r <= a + span - 1 && r < RowCount(); ++r) rows.push_back(r);
                a += span;
            } else {
                const int next = NextNodeRow(a);
                for (int r = a + 1; r < next; ++r) rows.push_back(r);
                a = next;
            }
        }
        HideRowList(rows);
    } catch (...) {
        UnlockRedraw();
        throw;
    }
    UnlockRedraw();
}

// ---- The press on a node glyph -----------------------------------------------------------------------

bool TExtStringGrid::PressNode(int ACol, int ARow, int X)
{
    if (ACol != 0 || !IsNodeRow(ARow) || !NodeGlyphHit(ARow, X)) return false;
    if (ARow < FixedRows()) {
        // A header node with NodeAllExpandContract works on every node; processing goes on.
        if (MouseActions.NodeAllExpandContract) {
            const bool contracted = NodeCollapsed(ARow);
            if (contracted) ExpandAllNodes();
            else ContractAllNodes();
            MarkNode(*this, ARow, !contracted);
            RefreshCell(0, ARow);
        }
        return false;
    }
    const int real = DisplayToRealRow(ARow);
    bool allow = true;
    if (NodeCollapsed(ARow)) {
        if (OnBeforeExpandNode) OnBeforeExpandNode(this, ARow, real, allow);
        if (allow) {
            ExpandNode(real);
            if (OnExpandNode) OnExpandNode(this, ARow, real);
        }
    } else {
        if (OnBeforeContractNode) OnBeforeContractNode(this, ARow, real, allow);
        if (allow) {
            ContractNode(real);
            if (OnContractNode) OnContractNode(this, ARow, real);
        }
    }
    if (MouseActions.MoveRowOnNodeClick && ARow < RowCount()) SetRow(ARow);
    return true;
}
