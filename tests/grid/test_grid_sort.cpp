// Sorting: detected and given sort styles, numbers with affixes and the locale's separators, empty cells
// at either end, ties decided to the right, index lists, the header click's cycle on the real control
// with its glyph, node groups, the row options, the unsorted order restored, and a handler that raises
// half-way.
#include "GridHosts.h"

#include <gtest/gtest.h>

#include <set>

using namespace gridtest;

namespace {

// A grid of one fixed row and the given columns of normal rows (one string per cell, "|" between columns).
struct SortGrid {
    explicit SortGrid(const std::vector<std::string>& rows, int fixedCols = 0)
    {
        int cols = 1;
        for (const std::string& r : rows) cols = std::max(cols, static_cast<int>(std::count(r.begin(), r.end(), '|')) + 1);
        G.SetColCount(cols);
        G.SetRowCount(static_cast<int>(rows.size()) + 1);
        G.SetFixedCols(fixedCols);
        for (int c = 0; c < cols; ++c) G.SetCells(c, 0, "H" + std::to_string(c));
        for (std::size_t r = 0; r < rows.size(); ++r) {
            std::string line = rows[r];
            for (int c = 0; c < cols; ++c) {
                const auto bar = line.find('|');
                G.SetCells(c, static_cast<int>(r) + 1, line.substr(0, bar));
                line = bar == std::string::npos ? "" : line.substr(bar + 1);
            }
        }
    }
    // The normal rows' texts of a column, top down.
    std::vector<std::string> Column(int c)
    {
        std::vector<std::string> v;
        for (int r = G.FixedRows(); r < G.RowCount(); ++r) v.push_back(G.Cells(c, r));
        return v;
    }
    std::vector<std::string> Sorted(int c, TSortDirection d = sdAscending)
    {
        G.SortSettings.Column = c;
        G.SortSettings.Direction = d;
        G.SortOnColumn();
        return Column(c);
    }
    TExtStringGrid G{nullptr};
};

using Texts = std::vector<std::string>;

struct SortLocaleScope {
    SortLocaleScope(char dec, char th, char dateSep = '/', const char* shortDate = "M/d/yyyy")
    {
        FormatSettings().DecimalSeparator = dec;
        FormatSettings().ThousandSeparator = th;
        FormatSettings().DateSeparator = dateSep;
        FormatSettings().ShortDateFormat = shortDate;
    }
    ~SortLocaleScope() { ResetFormatSettings(); }
};

} // namespace

TEST(GridSort, DetectedStylesAndAutoFormat)
{
    struct Case {
        const char* Name;
        Texts In;
        bool AutoFormat;
        Texts Out;
    };
    const Case cases[] = {
        {"numbers detected", {"10", "9", "100"}, true, {"9", "10", "100"}},
        {"numbers as text without AutoFormat", {"10", "9", "100"}, false, {"10", "100", "9"}},
        {"floats", {"1.5", "-2", "1.25"}, true, {"-2", "1.25", "1.5"}},
        {"a unit makes text", {"5 kg", "40 kg", "12 kg"}, true, {"12 kg", "40 kg", "5 kg"}},
        {"text is byte-wise", {"b", "B", "a", "ab"}, true, {"B", "a", "ab", "b"}},
    };
    for (const Case& c : cases) {
        SortGrid s(c.In);
        s.G.SortSettings.AutoFormat = c.AutoFormat;
        EXPECT_EQ(s.Sorted(0), c.Out) << c.Name;
    }
}

TEST(GridSort, DatesBySlashPosition)
{
    SortLocaleScope locale('.', ',', '/', "dd/MM/yyyy");
    SortGrid s({"12/05/2004", "01/06/2003", "15/01/2004"});
    // A slash at position 3 between digits: the locale's date order, not the text's.
    EXPECT_EQ(s.Sorted(0), (Texts{"01/06/2003", "15/01/2004", "12/05/2004"}));
    EXPECT_EQ(s.Sorted(0, sdDescending), (Texts{"12/05/2004", "15/01/2004", "01/06/2003"}));
    // A slash at position 5 compares as text: as dates both would fail and be equal.
    SortGrid t({"2004/05/12", "2003/06/01"});
    EXPECT_EQ(t.G.CompareCells(0, 1, 2), 1);
    EXPECT_EQ(t.G.CompareCells(0, 2, 1), -1);
    // The detection looks at the first row alone.
    SortGrid u({"12/05/2004", "zz"});
    EXPECT_EQ(u.G.CompareCells(0, 1, 2), 1);    // date against 0
    EXPECT_EQ(u.G.CompareCells(0, 2, 1), 1);    // text: "z" after "1"
}

TEST(GridSort, NumbersWithAffixesAndSeparators)
{
    SortGrid s({"5 kg", "40 kg", "12 kg"});
    s.G.OnGetFormat = [](TPersistent*, int, TSortStyle& style, std::string&, std::string& suffix) {
        style = ssNumeric;
        suffix = " kg";
    };
    EXPECT_EQ(s.Sorted(0), (Texts{"5 kg", "12 kg", "40 kg"}));
    {
        SortLocaleScope locale(',', '.');
        SortGrid d({"10", "2,5", "3"});
        EXPECT_EQ(d.Sorted(0), (Texts{"2,5", "3", "10"}));
    }
    // The number rule on its own: empty counts 0, a text without digits is 0 and failed, two failed texts
    // are equal, and a failure keeps the digits read before it.
    struct Case {
        const char* A;
        const char* B;
        int Result;
    };
    const Case cases[] = {{"", "3", -1}, {"abc", "3", -1}, {"abc", "xyz", 0}, {"3", "", 1},
                          {"1.2.3", "13", -1}, {"1.2.3", "11", 1}, {"-5", "2", -1}, {"1e2", "99", 1}};
    for (const Case& c : cases) {
        SortGrid n({c.A, c.B});
        n.G.OnGetFormat = [](TPersistent*, int, TSortStyle& style, std::string&, std::string&) { style = ssNumeric; };
        EXPECT_EQ(n.G.CompareCells(0, 1, 2), c.Result) << c.A << " vs " << c.B;
    }
    // Financial: thousand separators and a prefix go.
    SortGrid f({"$1,200", "$950", "$12,000"});
    f.G.OnGetFormat = [](TPersistent*, int, TSortStyle& style, std::string& prefix, std::string&) {
        style = ssFinancial;
        prefix = "$";
    };
    EXPECT_EQ(f.Sorted(0), (Texts{"$950", "$1,200", "$12,000"}));
}

TEST(GridSort, BlanksAtEitherEndInBothDirections)
{
    struct Case {
        TSortBlankPosition Pos;
        TSortDirection Dir;
        Texts Out;
    };
    const Case cases[] = {{blFirst, sdAscending, {"", "", "a", "b", "c"}},
                          {blLast, sdAscending, {"a", "b", "c", "", ""}},
                          {blFirst, sdDescending, {"", "", "c", "b", "a"}},
                          {blLast, sdDescending, {"c", "b", "a", "", ""}}};
    for (const Case& c : cases) {
        SortGrid s({"b", "", "a", "", "c"});
        s.G.SortSettings.IgnoreBlanks = true;
        s.G.SortSettings.BlankPos = c.Pos;
        EXPECT_EQ(s.Sorted(0, c.Dir), c.Out) << c.Pos << " " << c.Dir;
    }
}

TEST(GridSort, TiesGoRightAndIndexesCarryTheirDirections)
{
    // Column 0 would order the x rows the other way: columns left of the sort column never decide.
    SortGrid s({"1|x|2", "3|x|1", "2|y|0", "4|w|5"});
    s.Sorted(1);
    EXPECT_EQ(s.Column(0), (Texts{"4", "3", "1", "2"}));
    EXPECT_EQ(s.Column(2), (Texts{"5", "1", "2", "0"}));
    SortGrid i({"1|a|2", "2|b|1", "3|c|2", "4|d|1"});
    i.G.SortIndexes().AddSortColumn(2, true);
    i.G.SortIndexes().AddSortColumn(0, false);
    i.G.SortOnIndexes();
    EXPECT_EQ(i.Column(0), (Texts{"4", "2", "3", "1"}));
    EXPECT_TRUE(i.G.SortIndexes().Count() == 2);
    SortGrid e({"1", "2"});
    try {
        e.G.SortOnIndexes();
        FAIL() << "no error";
    } catch (const EExtGridError& x) {
        EXPECT_EQ(x.Message(), "No indexes specified for indexed sort");
    }
    EXPECT_EQ(e.G.RowCount(), 3);
}

TEST(GridSort, RowOptions)
{
    // NormalCellsOnly: the fixed column's numbers stay in order.
    SortGrid n({"1|c", "2|a", "3|b"}, 1);
    n.G.SortSettings.NormalCellsOnly = true;
    n.Sorted(1);
    EXPECT_EQ(n.Column(0), (Texts{"1", "2", "3"}));
    EXPECT_EQ(n.Column(1), (Texts{"a", "b", "c"}));
    // SingleColumn: only the sort column's cells move.
    SortGrid one({"1|c", "2|a", "3|b"});
    one.G.SortSettings.SingleColumn = true;
    one.Sorted(1);
    EXPECT_EQ(one.Column(0), (Texts{"1", "2", "3"}));
    EXPECT_EQ(one.Column(1), (Texts{"a", "b", "c"}));
    // The current row stays where it is, or with MoveRowOnSort follows its content.
    SortGrid m({"c", "a", "b"});
    m.G.SetRow(1);
    m.Sorted(0);
    EXPECT_EQ(m.G.Row(), 1);
    EXPECT_EQ(m.G.Cells(0, 1), "a");
    m.G.Navigation.MoveRowOnSort = true;
    m.G.SetRow(1);   // "a"
    m.Sorted(0, sdDescending);
    EXPECT_EQ(m.G.Cells(0, m.G.Row()), "a");
    EXPECT_EQ(m.G.Row(), 3);
    // The sort row can be no lower than the fixed rows.
    try {
        m.G.SortSettings.Row = 2;
        FAIL() << "no error";
    } catch (const Exception& x) {
        EXPECT_EQ(x.Message(), "Sort row should be smaller than number of fixed rows");
    }
    EXPECT_EQ(m.G.SortSettings.Row, 0);
    m.G.SortSettings.Row = 1;
    EXPECT_EQ(m.G.SortSettings.Row, 1);
}

TEST(GridSort, RestoreUnsortedOrderAfterSeveralSorts)
{
    SortGrid s({"3|b|x", "1|c|y", "2|a|y", "5|b|z", "4|a|x"});
    const Texts before = s.Column(0);
    s.Sorted(1);
    s.Sorted(2, sdDescending);
    s.Sorted(0);
    EXPECT_NE(s.Column(0), before);
    s.G.RestoreUnsortedOrder();
    EXPECT_EQ(s.Column(0), before);
    EXPECT_EQ(s.Column(1), (Texts{"b", "c", "a", "b", "a"}));
    EXPECT_EQ(s.G.OriginalRowOrder(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    // Without fixed rows the first row comes back too.
    SortGrid z({"c", "a", "b"});
    z.G.SetFixedRows(0);
    z.G.SetCells(0, 0, "d");
    z.Sorted(0);
    EXPECT_EQ(z.Column(0), (Texts{"a", "b", "c", "d"}));
    z.G.RestoreUnsortedOrder();
    EXPECT_EQ(z.Column(0), (Texts{"d", "c", "a", "b"}));
}

TEST(GridSort, StylesOfTheirOwn)
{
    SortGrid s({"<b>b</b>", "a", "<i>c</i>"});
    s.G.OnGetFormat = [](TPersistent*, int, TSortStyle& style, std::string&, std::string&) { style = ssHTML; };
    EXPECT_EQ(s.Sorted(0), (Texts{"a", "<b>b</b>", "<i>c</i>"}));
    // ssCustom: the handler's answer, here by length.
    SortGrid c({"ccc", "a", "bb"});
    c.G.OnGetFormat = [](TPersistent*, int, TSortStyle& style, std::string&, std::string&) { style = ssCustom; };
    c.G.OnCustomCompare = [](TPersistent*, const std::string& a, const std::string& b, int& res) {
        res = a.size() < b.size() ? -1 : a.size() > b.size();
    };
    EXPECT_EQ(c.Sorted(0), (Texts{"a", "bb", "ccc"}));
    // ssRaw: rows by a key the application keeps (column 1 here), the pivot's scratch row included.
    SortGrid r({"x|3", "y|1", "z|2"});
    r.G.OnGetFormat = [](TPersistent*, int, TSortStyle& style, std::string&, std::string&) { style = ssRaw; };
    std::set<int> rowsSeen;
    r.G.OnRawCompare = [&](TPersistent*, int, int r1, int r2, int& res) {
        rowsSeen.insert(r1);
        rowsSeen.insert(r2);
        res = r.G.Cells(1, r1).compare(r.G.Cells(1, r2));
        res = res < 0 ? -1 : res > 0;
    };
    EXPECT_EQ(r.Sorted(0), (Texts{"y", "z", "x"}));
    EXPECT_TRUE(rowsSeen.count(5)) << "the pivot row RowCount - 2 during the sort";
    // ssCheckBox, detected: checked after unchecked.
    SortGrid k({"", "", ""});
    k.G.AddCheckBox(0, 1, true, false);
    k.G.AddCheckBox(0, 2, false, false);
    k.G.AddCheckBox(0, 3, true, false);
    k.G.SetCells(0, 2, "unchecked");
    k.Sorted(0);
    EXPECT_EQ(k.G.Cells(0, 1), "unchecked");
    // ssUnicode: wide cells by the user's locale, without letter case.
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    SortGrid u({"", "", ""});
    u.G.WriteWideCell(0, 1, u"\u00e9b");
    u.G.WriteWideCell(0, 2, u"EA");
    u.G.WriteWideCell(0, 3, u"ec");
    u.G.OnGetFormat = [](TPersistent*, int, TSortStyle& style, std::string&, std::string&) { style = ssUnicode; };
    u.Sorted(0);
    EXPECT_EQ(u.G.ReadWideCell(0, 1), u"EA");
    EXPECT_EQ(u.G.ReadWideCell(0, 2), u"\u00e9b");
    EXPECT_EQ(u.G.ReadWideCell(0, 3), u"ec");
    QLocale::setDefault(saved);
}

TEST(GridSort, DisplayTextsCompareAndTheRowsStayWhole)
{
    // The display hook decides, also for the pivot's copy; cell objects travel with their rows.
    SortGrid s({"1|one", "2|two", "3|three"});
    s.G.OnGetDisplText = [](TPersistent*, int c, int, std::string& v) {
        if (c == 0) v = std::to_string(10 - std::stoi(v));
    };
    s.G.CellProps(1, 1).BrushColor = clRed;
    s.Sorted(0);
    EXPECT_EQ(s.Column(1), (Texts{"three", "two", "one"}));
    EXPECT_EQ(s.G.CellProps(1, 3).BrushColor, clRed);
    EXPECT_FALSE(s.G.HasCellProps(1, 1));
    EXPECT_EQ(s.G.RowCount(), 4);
    EXPECT_EQ(s.G.DisplayRowLimit(), 4);
}

TEST(GridSort, HandlerRaisingHalfWayPutsTheGridBack)
{
    SortGrid s({"1|e|x", "2|d|x", "3|c|x", "4|b|x", "5|a|x"}, 1);
    s.G.SortSettings.NormalCellsOnly = true;
    s.G.Navigation.MoveRowOnSort = true;
    s.G.SetColWidths(2, 77);
    for (int r = 1; r <= 5; ++r) s.G.CellProps(1, r).BrushColor = static_cast<TColor>(r);
    s.G.SetRow(2);
    s.G.SetDisplayRowLimit(3);
    int calls = 0;
    s.G.OnGetFormat = [&](TPersistent*, int, TSortStyle&, std::string&, std::string&) {
        if (++calls == 6) throw Exception("format failed");
    };
    EXPECT_THROW(s.Sorted(1), Exception);
    EXPECT_GE(calls, 6);
    EXPECT_EQ(s.G.RowCount(), 6);
    EXPECT_EQ(s.G.ColCount(), 3);
    EXPECT_EQ(s.G.ColWidths(2), 77);
    EXPECT_EQ(s.G.Row(), 2);
    EXPECT_EQ(s.G.DisplayRowLimit(), 3);
    EXPECT_EQ(s.Column(0), (Texts{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(s.G.RedrawLockCount(), 0);
    // Every cell object is in exactly one real row; a clear frees each once (the sanitizer build checks).
    std::set<TColor> colours;
    for (int r = 1; r <= 5; ++r) colours.insert(s.G.CellProps(1, r).BrushColor);
    EXPECT_EQ(colours.size(), 5u);
    s.G.ClearAllCells();
    s.G.OnGetFormat = nullptr;
    EXPECT_NO_THROW(s.Sorted(1));
}

namespace {

struct HeaderHost {
    HeaderHost()
    {
        Application->ProcessMessages();
        Window = std::make_unique<QWidget>();
        Window->setGeometry(40, 40, 400, 260);
        Grid = std::make_unique<TExtStringGrid>(nullptr);
        TExtStringGrid& g = *Grid;
        g.SetParentWidget(Window.get());
        g.SetBounds(0, 0, 400, 260);
        g.SetColCount(3);
        g.SetRowCount(6);
        g.SetDefaultColWidth(90);
        g.SetDefaultRowHeight(20);
        const char* names[] = {"d", "b", "e", "a", "c"};
        for (int r = 1; r < 6; ++r) {
            g.SetCells(0, r, std::to_string(r));
            g.SetCells(1, r, names[r - 1]);
        }
        g.SetCells(1, 0, "Name");
        g.SortSettings.Show = true;
        Window->show();
        Application->ProcessMessages();
    }
    Texts Names()
    {
        Texts v;
        for (int r = 1; r < Grid->RowCount(); ++r) v.push_back(Grid->Cells(1, r));
        return v;
    }
    // The pixels of the header cell of column 1.
    std::vector<TColor> Header()
    {
        Grid->Invalidate();
        Grid->Update();
        const TRect r = Grid->CellRect(1, 0);
        std::vector<TColor> v;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) v.push_back(Grid->Canvas().GetPixel(x, y));
        return v;
    }
    void ClickHeader(Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        const TRect r = Grid->CellRect(1, 0);
        const QPointF p(r.Left + 20, r.Top + 8);
        QWidget* w = Grid->Widget();
        QMouseEvent press(QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, mods);
        QApplication::sendEvent(w, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton, Qt::NoButton, mods);
        QApplication::sendEvent(w, &release);
    }
    std::unique_ptr<QWidget> Window;
    std::unique_ptr<TExtStringGrid> Grid;
};

// The mean row of the pixels that differ between two pictures of the header cell; -1 when none differ.
double MeanChangedRow(const std::vector<TColor>& a, const std::vector<TColor>& b, int width)
{
    double sum = 0;
    int n = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) {
            sum += static_cast<double>(i / static_cast<std::size_t>(width));
            ++n;
        }
    return n ? sum / n : -1;
}

} // namespace

TEST(GridSort, HeaderClicksCycleOnTheRealControlAndDrawTheGlyph)
{
    HeaderHost h;
    TExtStringGrid& g = *h.Grid;
    g.SortSettings.UndoSort = true;
    g.SortSettings.Column = -1;
    std::vector<int> clicks;
    g.OnClickSort = [&](TPersistent*, int c) { clicks.push_back(c); };
    bool allow = true;
    g.OnCanSort = [&](TPersistent*, int, bool& doSort) { doSort = allow; };
    const int width = g.CellRect(1, 0).Width();
    const auto plain = h.Header();
    h.ClickHeader();
    EXPECT_EQ(h.Names(), (Texts{"a", "b", "c", "d", "e"}));
    const auto up = h.Header();
    h.ClickHeader();
    EXPECT_EQ(h.Names(), (Texts{"e", "d", "c", "b", "a"}));
    const auto down = h.Header();
    h.ClickHeader();
    EXPECT_EQ(h.Names(), (Texts{"d", "b", "e", "a", "c"}));
    EXPECT_EQ(g.SortSettings.Column, -1);
    const auto back = h.Header();
    h.ClickHeader();
    EXPECT_EQ(h.Names(), (Texts{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(clicks, (std::vector<int>{1, 1, -1, 1}));
    // The glyph: drawn after a sort, gone with the unsorted order; the descending one has its grey edge
    // at the top, the ascending one its white base at the bottom.
    const double upRow = MeanChangedRow(plain, up, width), downRow = MeanChangedRow(plain, down, width);
    EXPECT_GT(upRow, 0);
    EXPECT_GT(downRow, 0);
    EXPECT_LT(downRow, upRow);
    EXPECT_NE(up, down);
    EXPECT_EQ(back, plain);
    // A refused sort changes nothing and reports nothing.
    allow = false;
    h.ClickHeader();
    EXPECT_EQ(h.Names(), (Texts{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(clicks.size(), 4u);
}

TEST(GridSort, HeaderClickSortsInsideExpandedNodeGroups)
{
    HeaderHost h;
    TExtStringGrid& g = *h.Grid;
    g.SetRowCount(9);
    const char* names[] = {"g1", "c", "a", "b", "g2", "z", "y", "x"};
    for (int r = 1; r < 9; ++r) g.SetCells(1, r, names[r - 1]);
    g.AddNode(1, 4);
    g.AddNode(5, 4);
    g.ContractNode(5);
    g.SortSettings.Column = -1;
    h.ClickHeader();
    // The first group is sorted; the contracted one keeps its order (and stays contracted).
    EXPECT_EQ(h.Names(), (Texts{"g1", "a", "b", "c", "g2"}));
    g.ExpandNode(g.DisplayToRealRow(5));
    EXPECT_EQ(h.Names(), (Texts{"g1", "a", "b", "c", "g2", "z", "y", "x"}));
    h.ClickHeader();   // descending now, both groups
    EXPECT_EQ(h.Names(), (Texts{"g1", "c", "b", "a", "g2", "z", "y", "x"}));
    h.ClickHeader();
    EXPECT_EQ(h.Names(), (Texts{"g1", "a", "b", "c", "g2", "x", "y", "z"}));
}

TEST(GridSort, ShiftClicksBuildTheIndexList)
{
    HeaderHost h;
    TExtStringGrid& g = *h.Grid;
    g.SortSettings.IndexShow = true;
    const char* groups[] = {"1", "2", "1", "2", "1"};
    for (int r = 1; r < 6; ++r) g.SetCells(2, r, groups[r - 1]);
    h.ClickHeader();
    EXPECT_EQ(g.SortIndexes().Count(), 1);
    EXPECT_EQ(h.Names(), (Texts{"a", "b", "c", "d", "e"}));
    h.ClickHeader();   // the only entry: its direction turns
    EXPECT_EQ(h.Names(), (Texts{"e", "d", "c", "b", "a"}));
    EXPECT_EQ(static_cast<std::uint32_t>(g.SortIndexes().ValueAt(0)), 0x80000001u);
    g.SortIndexes().Clear();
    g.SortIndexes().AddSortColumn(2, true);
    h.ClickHeader(Qt::ShiftModifier);   // appended ascending after column 2
    EXPECT_EQ(g.SortIndexes().Count(), 2);
    EXPECT_EQ(h.Names(), (Texts{"c", "d", "e", "a", "b"}));
}
