// Filtering: a row passes when its cells meet the filter's conditions, joined in order; switching the
// filter on moves every normal row that fails into the hidden-row store (leaving one empty row when none
// passes), and switching it off brings every hidden row back.
#include "grid/ExtGrid.h"

namespace {

const TEnumNames FilterOperationNames{"foNONE", "foAND", "foXOR", "foOR"};

// round(100 * Done / Total), a half going to the even neighbour.
short Percent(int Done, int Total)
{
    const long long q = 100LL * Done, n = q / Total, rem = q % Total;
    const bool up = 2 * rem > Total || (2 * rem == Total && (n & 1));
    return static_cast<short>(n + (up ? 1 : 0));
}

} // namespace

const TClassInfo& TFilterData::StaticClassInfo()
{
    using P = TProps<TFilterData>;
    static const TClassInfo info({
        .Name = "TFilterData",
        .Parent = &TCollectionItem::StaticClassInfo(),
        .Properties = {P::Integer("Column", &TFilterData::Column, &TFilterData::SetColumn).Default(0),
                       P::Text("Condition", &TFilterData::Condition, &TFilterData::SetCondition).Default(""),
                       P::Boolean("CaseSensitive", &TFilterData::CaseSensitive, &TFilterData::SetCaseSensitive).Default(true),
                       P::Text("Prefix", &TFilterData::Prefix, &TFilterData::SetPrefix).Default(""),
                       P::Text("Suffix", &TFilterData::Suffix, &TFilterData::SetSuffix).Default(""),
                       P::Enumeration("Operation", FilterOperationNames, &TFilterData::Operation, &TFilterData::SetOperation)
                           .Default(static_cast<int>(foNONE))},
    });
    return info;
}

void TFilterData::Assign(const TPersistent& Source)
{
    if (const auto* f = dynamic_cast<const TFilterData*>(&Source)) {
        FColumn = f->FColumn;
        FCondition = f->FCondition;
        FCaseSensitive = f->FCaseSensitive;
        FPrefix = f->FPrefix;
        FSuffix = f->FSuffix;
        FOperation = f->FOperation;
        return;
    }
    TCollectionItem::Assign(Source);
}

const TClassInfo& TFilter::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TFilter", .Parent = &TCollection::StaticClassInfo()});
    return info;
}

TFilter::TFilter(TExtStringGrid* AGrid) : TCollection(AGrid, TFilterData::StaticClassInfo(), &CreateItemOf<TFilterData>), FGrid(AGrid) {}

bool TExtStringGrid::MatchFilter(int ARow)
{
    bool result = true;
    for (int k = 0; k < FFilter.Count(); ++k) {
        const TFilterData& f = FFilter.Items(k);
        std::string t = GetCellValue(f.Column(), ARow);
        if (!f.Prefix().empty() && t.rfind(f.Prefix(), 0) == 0) t.erase(0, f.Prefix().size());
        // The suffix goes only when its first occurrence is the one that ends the text.
        if (!f.Suffix().empty() && t.size() >= f.Suffix().size() && t.find(f.Suffix()) == t.size() - f.Suffix().size())
            t.erase(t.size() - f.Suffix().size());
        const bool m = MatchFilterCondition(f.Condition(), t, f.CaseSensitive());
        switch (f.Operation()) {
        case foNONE:
            result = m;
            if (!m) return false;
            break;
        case foAND: result = result && m; break;
        case foXOR: result = result != m; break;
        case foOR: result = result || m; break;
        }
    }
    return result;
}

void TExtStringGrid::ApplyFilter()
{
    const int total = RowCount() - FFixedFooters - FixedRows();
    std::vector<int> failed;
    int i = 0;
    for (int r = FixedRows(); r <= RowCount() - FFixedFooters - 1; ++r) {
        if (!MatchFilter(r)) failed.push_back(r);
        ++i;
        if (OnFilterProgress) OnFilterProgress(this, Percent(i, total));
    }
    HideRowList(failed);
    // Without a normal row there is no share to report.
    if (OnFilterProgress && total > 0) OnFilterProgress(this, Percent(i, total));
}

void TExtStringGrid::SetFilterActive(bool v)
{
    if (v != FFilterActive) {
        FFilterActive = v;
        if (v) {
            FFilterRowMark = FixedRows();
            LockRedraw();
            try {
                ApplyFilter();
            } catch (...) {
                FFilterActive = false;
                UnlockRedraw();
                throw;
            }
            UnlockRedraw();
            FSelectionHidden = false;
            if (RowCount() == FFixedFooters + FFilterRowMark && !FixedRowAlways) {
                // No row passed: one empty normal row stands in while the filter is on.
                SetRowCount(FFixedFooters + FFilterRowMark + 1);
                TBaseGrid::SetFixedRows(FFilterRowMark);
            } else FFilterRowMark = 0;
        } else {
            if (RowCount() == FixedRows() + FFixedFooters + 1 && FFilterRowMark > 0) {
                FFilterRowMark = FixedRows();
                SetRowCount(RowCount() - 1);
            } else FFilterRowMark = FixedRows();
            UnhideAllRows();
            if (FFilterRowMark < RowCount()) TBaseGrid::SetFixedRows(FFilterRowMark);
            RestoreSelection();
        }
    }
    RecalcFooter(-1);
}
