// Reading files into the grid: delimited text (the three passes that find the delimiter, quoted fields,
// a trailing delimiter, a quote broken by a line end, 2500 lines, progress, OEM text, errors that leave
// the grid's state as it was) and spreadsheets through a stand-in automation server (used ranges, column
// letters, a missing sheet, the workbook closed on every way out), and the message when there is none;
// a line of thousands of fields widens the grid once.
#include "GridHosts.h"

#include "platform/controls/Automation.h"
#include "platform/controls/Screen.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>

using namespace gridtest;

namespace {

std::string Data(const char* name) { return std::string(VSP_TEST_DATA) + "/grid/" + name; }

struct ImportHost {
    ImportHost()
    {
        Application->ProcessMessages();
        Grid = std::make_unique<TExtStringGrid>(nullptr);
        Grid->SetColCount(2);
        Grid->SetRowCount(2);
    }
    TExtStringGrid& G() { return *Grid; }
    std::vector<std::string> Row(int r)
    {
        std::vector<std::string> v;
        for (int c = 0; c < Grid->ColCount(); ++c) v.push_back(Grid->Cells(c, r));
        return v;
    }
    std::unique_ptr<TExtStringGrid> Grid;
};

using Row = std::vector<std::string>;

// ---- A stand-in spreadsheet application ----

struct Log {
    std::vector<std::string> Calls;
};

struct FakeObject : TAutomationObject {
    std::map<std::string, std::function<TAutoValue(const TAutoArgs&, const TAutoNamedArgs&)>> Members;
    std::shared_ptr<Log> Calls;
    TAutoValue Invoke(const std::string& Name, const TAutoArgs& Args, const TAutoNamedArgs& Named) override
    {
        std::string call = Name;
        for (const auto& a : Args) call += " " + a.AsText();
        for (const auto& n : Named) call += " " + n.first + "=" + n.second.AsText();
        Calls->Calls.push_back(call);
        const auto it = Members.find(Name);
        if (it == Members.end()) throw EOleSysError("Unknown name " + Name);
        return it->second(Args, Named);
    }
};

struct Sheet {
    std::string Name, UsedAddress;
    std::map<std::string, TAutoValue> Ranges;   // by the address asked for
};

// Registers "excel.application" with a workbook of the given sheets (the first is active).
std::shared_ptr<Log> RegisterSpreadsheet(std::vector<Sheet> sheets)
{
    auto log = std::make_shared<Log>();
    RegisterAutomationServer("Excel.Application", [log, sheets] {
        auto make = [log] {
            auto o = std::make_shared<FakeObject>();
            o->Calls = log;
            return o;
        };
        std::vector<std::shared_ptr<FakeObject>> sheetObjects;
        for (const Sheet& s : sheets) {
            auto so = make();
            auto used = make();
            used->Members["Address"] = [s](auto&, auto&) { return TAutoValue(s.UsedAddress); };
            so->Members["Name"] = [s](auto&, auto&) { return TAutoValue(s.Name); };
            so->Members["UsedRange"] = [used](auto&, auto&) { return TAutoValue(std::static_pointer_cast<TAutomationObject>(used)); };
            so->Members["Range"] = [s, make](const TAutoArgs& a, auto&) {
                auto range = make();
                const auto it = s.Ranges.find(a.at(0).AsText());
                if (it == s.Ranges.end()) throw EOleSysError("Range " + a.at(0).AsText() + " is not valid");
                const TAutoValue v = it->second;
                range->Members["Value"] = [v](auto&, auto&) { return v; };
                return TAutoValue(std::static_pointer_cast<TAutomationObject>(range));
            };
            sheetObjects.push_back(so);
        }
        auto sheetsObject = make();
        sheetsObject->Members["Count"] = [n = sheets.size()](auto&, auto&) { return TAutoValue(static_cast<int>(n)); };
        auto book = make();
        book->Members["ActiveSheet"] = [sheetObjects](auto&, auto&) { return TAutoValue(std::static_pointer_cast<TAutomationObject>(sheetObjects.at(0))); };
        book->Members["Sheets"] = [sheetObjects, sheetsObject](const TAutoArgs& a, auto&) {
            if (a.empty()) return TAutoValue(std::static_pointer_cast<TAutomationObject>(sheetsObject));
            return TAutoValue(std::static_pointer_cast<TAutomationObject>(sheetObjects.at(static_cast<std::size_t>(a[0].AsInteger() - 1))));
        };
        book->Members["Close"] = [](auto&, auto&) { return TAutoValue(); };
        auto books = make();
        books->Members["Open"] = [book](auto&, auto&) { return TAutoValue(std::static_pointer_cast<TAutomationObject>(book)); };
        auto app = make();
        app->Members["WorkBooks"] = [books](auto&, auto&) { return TAutoValue(std::static_pointer_cast<TAutomationObject>(books)); };
        app->Members["Quit"] = [](auto&, auto&) { return TAutoValue(); };
        return std::static_pointer_cast<TAutomationObject>(app);
    });
    return log;
}

TAutoValue Values(std::vector<std::vector<TAutoValue>> rows)
{
    TAutoValue v;
    v.Kind = TAutoValue::TKind::Array;
    v.Rows = std::move(rows);
    return v;
}

bool Called(const Log& log, const std::string& call) { return std::find(log.Calls.begin(), log.Calls.end(), call) != log.Calls.end(); }

} // namespace

TEST(GridImport, DelimitersFoundByThreePasses)
{
    struct Case {
        const char* file;
        Row first, second;
    } cases[] = {{"two_rows.csv", {"a", "b", "c"}, {"1", "2", "3"}},
                 {"tie.csv", {"a;b", "c"}, {"1;2", "3"}},
                 {"most.csv", {"a", "b", "c"}, {"1,2", "", ""}}};
    for (const Case& c : cases) {
        ImportHost h;
        h.G().SetColCount(1);
        h.G().LoadDelimitedFile(Data(c.file));
        EXPECT_EQ(h.Row(0), c.first) << c.file;
        EXPECT_EQ(h.Row(1), c.second) << c.file;
        EXPECT_EQ(h.G().RowCount(), 2) << c.file;
        EXPECT_EQ(h.G().FieldDelimiter, '\0');
    }
}

TEST(GridImport, QuotesAndLineEnds)
{
    ImportHost h;
    h.G().LoadDelimitedFile(Data("quoted.csv"));
    EXPECT_EQ(h.Row(0), (Row{"x, y", "z"}));
    EXPECT_EQ(h.Row(1), (Row{"say \"hi\"", "w"}));
    // A line ending in the delimiter leaves the third cell as it was.
    ImportHost t;
    t.G().SetColCount(3);
    t.G().SetCells(2, 0, "kept");
    t.G().LoadDelimitedFile(Data("trailing.csv"));
    EXPECT_EQ(t.Row(0), (Row{"a", "b", "kept"}));
    // A quote cannot hold a line end: the row ends there.
    ImportHost b;
    b.G().LoadDelimitedFile(Data("broken_quote.csv"));
    EXPECT_EQ(b.G().RowCount(), 2);
    EXPECT_EQ(b.G().Cells(0, 0), "a");
    EXPECT_EQ(b.Row(1), (Row{"b", "c"}));   // the lone quote dropped
}

TEST(GridImport, ManyLinesProgressAndOemText)
{
    ImportHost h;
    h.G().LoadDelimitedFile(Data("lines_2500.csv"));
    EXPECT_EQ(h.G().RowCount(), 2500);
    EXPECT_EQ(h.G().Cells(0, 2499), "x");
    // Progress of a three-line file: 33, 67, 100.
    ImportHost p;
    std::vector<int> progress;
    p.G().OnFileProgress = [&](TPersistent*, short v) { progress.push_back(v); };
    p.G().LoadDelimitedFile(Data("three_lines.txt"));
    EXPECT_EQ(progress, (std::vector<int>{33, 67, 100}));
    EXPECT_EQ(p.G().RowCount(), 3);
    EXPECT_EQ(p.G().Cells(0, 2), "three");
    // OEM text comes in the program's code page.
    ImportHost o;
    o.G().OemConvert = true;
    o.G().LoadDelimitedFile(Data("oem.csv"));
    EXPECT_EQ(o.Row(0), (Row{"caf\xE9", "\xA3" "5"}));
}

// A line of many fields widens the grid once, not column by column (each widening moves the row's cells:
// 100,000 fields took a tenth of a second); ragged lines still widen it to the longest.
TEST(GridImport, ALongLineWidensTheGridOnce)
{
    struct Counting : TExtStringGrid {
        using TExtStringGrid::TExtStringGrid;
        int Widenings = 0;
        void SizeChanged(int OldColCount, int OldRowCount) override
        {
            if (ColCount() > OldColCount) ++Widenings;
            TExtStringGrid::SizeChanged(OldColCount, OldRowCount);
        }
    } g(nullptr);
    g.SetColCount(2);
    std::string text;
    for (int c = 0; c < 5000; ++c) text += (c ? "," : "") + std::to_string(c);
    text += "\r\n\"a\",b,c\r\n";
    for (int c = 0; c < 6000; ++c) text += (c ? ",\"" : "\"") + std::to_string(c) + "\"";
    text += "\r\n";
    const std::string path = testing::TempDir() + "grid_long_line.csv";
    {
        std::ofstream out(path, std::ios::binary);
        out << text;
    }
    g.LoadDelimitedFile(path);
    std::remove(path.c_str());
    EXPECT_LE(g.Widenings, 2);
    EXPECT_EQ(g.ColCount(), 6000);
    EXPECT_EQ(g.RowCount(), 3);
    EXPECT_EQ(g.Cells(4999, 0), "4999");
    EXPECT_EQ(g.Cells(5000, 0), "");
    EXPECT_EQ(g.Cells(0, 1), "a");
    EXPECT_EQ(g.Cells(2, 1), "c");
    EXPECT_EQ(g.Cells(5999, 2), "5999");
}

TEST(GridImport, AppendAndTheFooterRow)
{
    ImportHost h;
    TExtStringGrid& g = h.G();
    g.SetRowCount(3);
    g.FloatingFooter.SetVisible(true);
    g.SetCells(0, 2, "total");
    g.ReadDelimitedFile(Data("two_rows.csv"), true);
    // The lines go where the footer was; the footer row stays the last row.
    EXPECT_EQ(g.Cells(0, 2), "a");
    EXPECT_EQ(g.Cells(0, 3), "1");
    EXPECT_EQ(g.Cells(0, g.RowCount() - 1), "total");
}

TEST(GridImport, FailuresLeaveTheGridsStateAsItWas)
{
    ImportHost h;
    TExtStringGrid& g = h.G();
    g.SetCells(0, 0, "old");
    g.FieldDelimiter = ';';
    try {
        g.LoadDelimitedFile(Data("none.csv"));
        ADD_FAILURE();
    } catch (const EExtGridError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file " + Data("none.csv"));
    }
    EXPECT_EQ(g.Cells(0, 0), "old");
    EXPECT_EQ(g.RowCount(), 2);
    EXPECT_EQ(g.FieldDelimiter, ';');
    // A cell writer that raises half-way: the delimiter, the footer row and the row count come back.
    struct Failing : TExtStringGrid {
        using TExtStringGrid::TExtStringGrid;
        int Writes = 0;
        void SetCellFromFile(int c, int r, const std::string& t) override
        {
            if (++Writes == 4) throw EInOutError("I/O error 5");
            TExtStringGrid::SetCellFromFile(c, r, t);
        }
    } f(nullptr);
    f.SetRowCount(3);
    f.FloatingFooter.SetVisible(true);
    f.SetCells(0, 2, "total");
    EXPECT_THROW(f.ReadDelimitedFile(Data("two_rows.csv"), true), EInOutError);
    EXPECT_EQ(f.FieldDelimiter, '\0');
    // The one line read, then the footer row again.
    EXPECT_EQ(f.RowCount(), 4);
    EXPECT_EQ(f.Cells(0, 2), "a");
    EXPECT_EQ(f.Cells(0, 3), "total");
}

TEST(GridImport, SpreadsheetsThroughTheAutomationServer)
{
    // Used range B2:C3 fills a 2 x 2 grid from (0, 0).
    auto log = RegisterSpreadsheet({{"Data", "$B$2:$C$3", {{"B2:C3", Values({{TAutoValue("b2"), TAutoValue(2.5)}, {TAutoValue(), TAutoValue(7)}})}}}});
    ImportHost h;
    TExtStringGrid& g = h.G();
    g.SetCells(0, 1, "kept");
    g.LoadSpreadsheetFile("book.xls");
    EXPECT_EQ((std::pair{g.ColCount(), g.RowCount()}), (std::pair{2, 2}));
    EXPECT_EQ(h.Row(0), (Row{"b2", "2.5"}));
    EXPECT_EQ(h.Row(1), (Row{"kept", "7"}));
    EXPECT_TRUE(Called(*log, "Open book.xls"));
    EXPECT_TRUE(Called(*log, "Close SaveChanges=False"));
    EXPECT_TRUE(Called(*log, "Quit"));
    // A range ending in column AZ is addressed as AZ; a single cell reads that cell.
    log = RegisterSpreadsheet({{"Wide", "$AY$1:$AZ$1", {{"AY1:AZ1", Values({{TAutoValue("ay"), TAutoValue("az")}})}}},
                               {"One", "$C$5", {{"C5:C5", TAutoValue("c5")}}}});
    ImportHost w;
    w.G().LoadSpreadsheetFile("wide.xls");
    EXPECT_EQ(w.Row(0), (Row{"ay", "az"}));
    ImportHost one;
    one.G().ReadSpreadsheetFile("wide.xls", "One");
    EXPECT_EQ((std::pair{one.G().ColCount(), one.G().RowCount()}), (std::pair{1, 1}));
    EXPECT_EQ(one.G().Cells(0, 0), "c5");
    // A missing sheet: the message, and the workbook closed all the same, the cursor back.
    log = RegisterSpreadsheet({{"Data", "$A$1", {}}});
    Screen->SetCursor(crCross);
    ImportHost m;
    try {
        m.G().ReadSpreadsheetFile("book.xls", "Nope");
        ADD_FAILURE();
    } catch (const EExtGridError& e) {
        EXPECT_EQ(e.Message(), "Excel worksheet Nope not found");
    }
    EXPECT_TRUE(Called(*log, "Close SaveChanges=False"));
    EXPECT_TRUE(Called(*log, "Quit"));
    EXPECT_EQ(Screen->Cursor(), crCross);
    // A range the server refuses: its error passes, the workbook is closed.
    log = RegisterSpreadsheet({{"Data", "$A$1:$B$2", {}}});
    EXPECT_THROW(m.G().LoadSpreadsheetFile("book.xls"), EOleSysError);
    EXPECT_TRUE(Called(*log, "Quit"));
    Screen->SetCursor(crDefault);
    UnregisterAutomationServer("excel.application");
}

TEST(GridImport, NoSpreadsheetServerOnThisDesktop)
{
    UnregisterAutomationServer("excel.application");
    ImportHost h;
    Screen->SetCursor(crCross);
    try {
        h.G().LoadSpreadsheetFile("book.xls");
        ADD_FAILURE();
    } catch (const EExtGridError& e) {
        EXPECT_EQ(e.Message(), "Excel OLE server not found");
    }
    EXPECT_EQ(Screen->Cursor(), crDefault);
}
