// Filtering: conditions joined by their operations (foNONE ending the test on a failure), prefixes and
// suffixes, the empty row that stands in when no row passes, the progress reported, and the rows back
// when the filter goes off.
#include "GridHosts.h"

#include <gtest/gtest.h>

using namespace gridtest;

namespace {

struct FilterGrid {
    explicit FilterGrid(const std::vector<std::pair<std::string, std::string>>& rows)
    {
        G.SetColCount(3);
        G.SetRowCount(static_cast<int>(rows.size()) + 1);
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const int row = static_cast<int>(r) + 1;
            G.SetCells(0, row, std::to_string(row));
            G.SetCells(1, row, rows[r].first);
            G.SetCells(2, row, rows[r].second);
        }
    }
    void Add(int col, const std::string& cond, TFilterOperation op, const std::string& prefix = "", const std::string& suffix = "")
    {
        TFilterData& f = G.Filter().Add();
        f.SetColumn(static_cast<short>(col));
        f.SetCondition(cond);
        f.SetOperation(op);
        f.SetPrefix(prefix);
        f.SetSuffix(suffix);
    }
    // The row numbers shown (column 0).
    std::vector<std::string> Shown()
    {
        std::vector<std::string> v;
        for (int r = G.FixedRows(); r < G.RowCount(); ++r) v.push_back(G.Cells(0, r));
        return v;
    }
    TExtStringGrid G{nullptr};
};

using Texts = std::vector<std::string>;

} // namespace

TEST(GridFilter, OperationsCombineInOrder)
{
    const std::vector<std::pair<std::string, std::string>> rows = {{"Apple", "Banana"}, {"Apple", "Cherry"}, {"Pear", "Berry"},
                                                                   {"Plum", "Cherry"}};
    struct Case {
        const char* Name;
        std::vector<std::tuple<int, std::string, TFilterOperation>> Items;
        Texts Shown;
    };
    const Case cases[] = {
        // foNONE ends the test on a failure: row 3 has a B but fails at once.
        {"none then or", {{1, "A*", foNONE}, {2, "B*", foOR}}, {"1", "2"}},
        {"first and is its own result", {{2, "C*", foAND}}, {"2", "4"}},
        {"first or always passes", {{2, "X*", foOR}}, {"1", "2", "3", "4"}},
        {"xor", {{1, "P*", foNONE}, {2, "C*", foXOR}}, {"3"}},
        {"and", {{1, "P*", foNONE}, {2, "C*", foAND}}, {"4"}},
        {"empty filter", {}, {"1", "2", "3", "4"}},
    };
    for (const Case& c : cases) {
        FilterGrid f(rows);
        for (const auto& [col, cond, op] : c.Items) f.Add(col, cond, op);
        f.G.SetFilterActive(true);
        EXPECT_EQ(f.Shown(), c.Shown) << c.Name;
        f.G.SetFilterActive(false);
        EXPECT_EQ(f.Shown(), (Texts{"1", "2", "3", "4"})) << c.Name;
    }
}

TEST(GridFilter, PrefixSuffixAndBounds)
{
    FilterGrid f({{"12 kg", ""}, {"12 kg kg", ""}, {"#9", ""}, {"10", ""}, {"9", ""}});
    f.Add(1, "12", foNONE, "", " kg");
    f.G.SetFilterActive(true);
    // The suffix goes only where its first occurrence ends the text.
    EXPECT_EQ(f.Shown(), (Texts{"1"}));
    f.G.SetFilterActive(false);
    f.G.Filter().Clear();
    f.Add(1, "9", foNONE, "#");
    f.G.SetFilterActive(true);
    EXPECT_EQ(f.Shown(), (Texts{"3", "5"}));
    // The bound itself passes.
    FilterGrid b({{"9", ""}, {"10", ""}, {"11", ""}});
    b.Add(1, ">=10", foNONE);
    b.G.SetFilterActive(true);
    EXPECT_EQ(b.Shown(), (Texts{"2", "3"}));
    EXPECT_EQ(b.G.HiddenRowCount(), 1);
}

TEST(GridFilter, NoRowLeftAddsAnEmptyRowUntilTheFilterGoes)
{
    FilterGrid f({{"a", ""}, {"b", ""}, {"c", ""}});
    f.Add(1, "z*", foNONE);
    f.G.SetFilterActive(true);
    EXPECT_EQ(f.G.RowCount(), 2);
    EXPECT_EQ(f.G.FixedRows(), 1);
    EXPECT_EQ(f.Shown(), (Texts{""}));
    EXPECT_EQ(f.G.FilterRowMark(), 1);
    f.G.SetFilterActive(false);
    EXPECT_EQ(f.G.RowCount(), 4);
    EXPECT_EQ(f.G.FixedRows(), 1);
    EXPECT_EQ(f.Shown(), (Texts{"1", "2", "3"}));
    EXPECT_EQ(f.G.Cells(1, 3), "c");
    // With FixedRowAlways no row is added.
    f.G.FixedRowAlways = true;
    f.G.SetFilterActive(true);
    EXPECT_EQ(f.G.HiddenRowCount(), 3);
    f.G.SetFilterActive(false);
    EXPECT_EQ(f.Shown(), (Texts{"1", "2", "3"}));
}

TEST(GridFilter, ProgressAndFooter)
{
    FilterGrid f({{"a", ""}, {"b", ""}, {"c", ""}, {"d", ""}});
    std::vector<int> progress;
    f.G.OnFilterProgress = [&](TPersistent*, short p) { progress.push_back(p); };
    f.Add(1, "*", foNONE);
    f.G.SetFilterActive(true);
    EXPECT_EQ(progress, (std::vector<int>{25, 50, 75, 100, 100}));
    f.G.SetFilterActive(false);
    // Eight rows give 12.5 and 37.5 %: halves go to the even neighbour.
    FilterGrid e({{"a", ""}, {"b", ""}, {"c", ""}, {"d", ""}, {"e", ""}, {"f", ""}, {"g", ""}, {"h", ""}});
    progress.clear();
    e.G.OnFilterProgress = [&](TPersistent*, short p) { progress.push_back(p); };
    e.G.SetFilterActive(true);
    EXPECT_EQ(progress, (std::vector<int>{12, 25, 38, 50, 62, 75, 88, 100, 100}));
    // Without a normal row (a fixed row and a footer) nothing is reported.
    FilterGrid n(std::vector<std::pair<std::string, std::string>>{{"a", ""}});
    progress.clear();
    n.G.SetFixedFooters(1);
    n.G.OnFilterProgress = [&](TPersistent*, short p) { progress.push_back(p); };
    n.G.ApplyFilter();
    EXPECT_TRUE(progress.empty());
}
