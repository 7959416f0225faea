// The grid in drag and drop: as a drop target at its hooks (what it accepts, the effect by the keys,
// markers and one-row scrolling, the dropped text's cells and range, header cells, inserted rows, rich
// text, columns, dropped files, line ends of every kind as pasted too), as a drag source started by the
// mouse (the offered blocks byte for byte through the test's drag driver, a move emptying or removing
// what was dragged, a column drag with its floating header), and one text drag between two real grids
// under a real X server (xvfb-run).
#include "GridHosts.h"

#include "grid/EsgDD.h"
#include "platform/controls/Automation.h"
#include "platform/controls/Clipbrd.h"
#include "platform/controls/DragDrop.h"

#include <QCursor>
#include <QDropEvent>
#include <QMimeData>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace gridtest;

namespace {

// A foreign drag's data, as the platform hands it to a target.
class TFakeData : public TDragData {
public:
    std::vector<std::pair<std::string, std::string>> Blocks;
    std::vector<std::string> FileList;
    std::vector<std::string> Formats() const override
    {
        std::vector<std::string> f;
        for (const auto& b : Blocks) f.push_back(b.first);
        if (!FileList.empty()) f.push_back(DropFilesFormat);
        return f;
    }
    std::string Data(const std::string& Mime) const override
    {
        for (const auto& b : Blocks)
            if (b.first == Mime) return b.second;
        return {};
    }
    std::vector<std::string> Files() const override { return FileList; }
};

TFakeData Text(const std::string& t)
{
    TFakeData d;
    d.Blocks = {{DragTextFormat, t}};
    return d;
}

TFakeData Column(int c)
{
    TFakeData d;
    d.Blocks = {{DragTextFormat, ""}, {DragColumnFormat, std::string{static_cast<char>(c), 0, 0, 0}}};
    return d;
}

TFakeData Files(std::vector<std::string> names)
{
    TFakeData d;
    d.FileList = std::move(names);
    return d;
}

const TShiftState NoKeys{};
const TShiftState CtrlKey{ssCtrl};

struct DropHost : EditGridHost {
    explicit DropHost(int cols = 5, int rows = 6, int x = 40) : EditGridHost(cols, rows, x, 40, 400, 200) {}
    TESGDropTarget& T() { return *Grid->GridDropTarget(); }
    // The screen point in the middle of a cell.
    TPoint At(int c, int r)
    {
        const TRect rc = Grid->CellRect(c, r);
        return Grid->ClientToScreen({(rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2});
    }
    bool ArrowShown(int d) { return Grid->MoveArrow(d) && Grid->MoveArrow(d)->Visible(); }
    // Enter, one move and the drop at a cell; the effect the drop answered.
    int DropAt(const TDragData& data, int c, int r, TShiftState keys = NoKeys)
    {
        T().DragEnter(data, keys, At(c, r), DROPEFFECT_COPY | DROPEFFECT_MOVE);
        T().DragOver(keys, At(c, r), DROPEFFECT_COPY | DROPEFFECT_MOVE);
        return T().Drop(data, keys, At(c, r), DROPEFFECT_COPY | DROPEFFECT_MOVE);
    }
};

std::vector<std::string> DropRow(TExtStringGrid& g, int r)
{
    std::vector<std::string> out;
    for (int c = 0; c < g.ColCount(); ++c) out.push_back(g.Cells(c, r));
    return out;
}

void Press(QWidget* w, int x, int y) { SendMouse(w, QEvent::MouseButtonPress, x, y, Qt::LeftButton); }
void MoveHeld(QWidget* w, int x, int y) { SendMouse(w, QEvent::MouseMove, x, y, Qt::LeftButton, Qt::NoButton); }
void Release(QWidget* w, int x, int y) { SendMouse(w, QEvent::MouseButtonRelease, x, y, Qt::NoButton); }

// What the last drag offered, and the driver that records it and answers a chosen effect.
struct Driven {
    TDragFormats Offered;
    int Allowed = 0, Calls = 0;
    explicit Driven(int effect, std::function<void(const TDragSourceEvents&)> during = {})
    {
        SetDragDriver([this, effect, during](TWinControl&, const TDragFormats& Data, int AllowedEffects, const TDragSourceEvents& Ev, bool& Cancelled) {
            ++Calls;
            Offered = Data;
            Allowed = AllowedEffects;
            if (during) during(Ev);
            if (Ev.Feedback) Ev.Feedback(effect);
            Cancelled = effect == DROPEFFECT_NONE;
            return effect;
        });
    }
    ~Driven() { SetDragDriver(nullptr); }
};

} // namespace

TEST(GridDrop, RegisteredOnlyWhenOleDropTargetIsSet)
{
    DropHost h;
    TExtStringGrid& g = h.G();
    EXPECT_FALSE(g.Widget()->acceptDrops());
    EXPECT_EQ(g.DropTarget(), nullptr);
    EXPECT_FALSE(g.DropTargetRegistered());
    g.DragDropSettings.SetOleDropTarget(true);
    EXPECT_TRUE(g.DropTargetRegistered());
    EXPECT_TRUE(g.Widget()->acceptDrops());
    ASSERT_NE(g.GridDropTarget(), nullptr);
    EXPECT_EQ(g.DropTarget(), g.GridDropTarget());
    // A grid made in code keeps the target's own take flags; loading copies the settings.
    EXPECT_TRUE(h.T().TakesText);
    EXPECT_TRUE(h.T().TakesFiles);
    EXPECT_FALSE(h.T().TakesColumns);
    g.DragDropSettings.OleAcceptText = false;
    EXPECT_TRUE(h.T().TakesText);
    g.DragDropSettings.OleAcceptFiles = false;
    g.Loaded();
    EXPECT_FALSE(h.T().TakesText);
    EXPECT_FALSE(h.T().TakesFiles);
    g.DragDropSettings.SetOleDropTarget(false);
    EXPECT_FALSE(g.Widget()->acceptDrops());
    EXPECT_EQ(g.DropTarget(), nullptr);
}

TEST(GridDrop, TextLandsAtTheCellWithItsRangeSelected)
{
    DropHost h;
    TExtStringGrid& g = h.G();
    g.DragDropSettings.SetOleDropTarget(true);
    std::vector<TGridRect> dropped;
    g.OnOleDropped = [&](TPersistent*, const TGridRect& r) { dropped.push_back(r); };
    std::vector<std::string> asked;
    g.OnOleDrop = [&](TPersistent*, int r, int c, const std::string& d, bool&) { asked.push_back(std::to_string(c) + "," + std::to_string(r) + " " + d); };
    EXPECT_EQ(h.DropAt(Text("x\ty"), 2, 3), DROPEFFECT_MOVE);
    EXPECT_EQ(g.Cells(2, 3), "x");
    EXPECT_EQ(g.Cells(3, 3), "y");
    EXPECT_EQ(g.Selection(), (TGridRect{2, 3, 3, 3}));
    ASSERT_EQ(dropped.size(), 1u);
    EXPECT_EQ(dropped[0], (TGridRect{2, 3, 3, 3}));
    EXPECT_EQ(asked, (std::vector<std::string>{"2,3 x\ty"}));
    // Ctrl makes it a copy, the effects the source allows are not consulted.
    EXPECT_EQ(h.T().DragEnter(Text("p"), CtrlKey, h.At(1, 1), DROPEFFECT_MOVE), DROPEFFECT_COPY);
    EXPECT_EQ(h.T().DragOver(CtrlKey, h.At(1, 1), DROPEFFECT_MOVE), DROPEFFECT_COPY);
    EXPECT_EQ(h.T().DragOver(NoKeys, h.At(1, 1), DROPEFFECT_COPY), DROPEFFECT_MOVE);
    EXPECT_EQ(h.T().Drop(Text("p"), CtrlKey, h.At(1, 1), DROPEFFECT_MOVE), DROPEFFECT_COPY);
    EXPECT_EQ(g.Cells(1, 1), "p");
    // The same text with a line break after it measures the same; two lines measure 1 x 2.
    h.DropAt(Text("u\tv\r\n"), 1, 4);
    EXPECT_EQ(g.Selection(), (TGridRect{1, 4, 2, 4}));
    h.DropAt(Text("m\r\nn"), 3, 1);
    EXPECT_EQ(g.Cells(3, 1), "m");
    EXPECT_EQ(g.Cells(3, 2), "n");
    EXPECT_EQ(g.Selection(), (TGridRect{3, 1, 3, 2}));
    EXPECT_EQ(TExtStringGrid::MeasureTabText("a\tb\r\n"), (TPoint{2, 1}));
    EXPECT_EQ(TExtStringGrid::MeasureTabText("a\r\nb"), (TPoint{1, 2}));
    EXPECT_EQ(TExtStringGrid::MeasureTabText(""), (TPoint{1, 1}));
    EXPECT_EQ(TExtStringGrid::MeasureTabText("a\nb\tc"), (TPoint{2, 1}));
}

TEST(GridDrop, RefusedDropChangesNoCellButReportsTheSelection)
{
    DropHost h;
    TExtStringGrid& g = h.G();
    g.DragDropSettings.SetOleDropTarget(true);
    g.SetSelection({1, 1, 1, 1});
    std::vector<TGridRect> dropped;
    g.OnOleDropped = [&](TPersistent*, const TGridRect& r) { dropped.push_back(r); };
    g.OnOleDrop = [&](TPersistent*, int, int, const std::string&, bool& allow) { allow = false; };
    h.DropAt(Text("x\ty"), 2, 3);
    EXPECT_EQ(g.Cells(2, 3), "");
    EXPECT_EQ(g.Cells(3, 3), "");
    ASSERT_EQ(dropped.size(), 1u);
    EXPECT_EQ(dropped[0], (TGridRect{1, 1, 1, 1}));
    EXPECT_FALSE(h.ArrowShown(2));
}

TEST(GridDrop, MarkersAndScrollingFollowThePointer)
{
    DropHost h(5, 40);
    TExtStringGrid& g = h.G();
    g.DragDropSettings.SetOleDropTarget(true);
    std::vector<std::string> over;
    g.OnOleDragOver = [&](TPersistent*, int r, int c, bool& allow) { over.push_back(std::to_string(c) + "," + std::to_string(r) + (allow ? " y" : " n")); };
    ASSERT_EQ(h.T().DragEnter(Text("x"), NoKeys, h.At(2, 3), DROPEFFECT_MOVE), DROPEFFECT_MOVE);
    EXPECT_EQ(h.T().DragOver(NoKeys, h.At(2, 3), DROPEFFECT_MOVE), DROPEFFECT_MOVE);
    // The right arrow at 10 pixels left of the cell, at its top, in screen pixels.
    ASSERT_TRUE(h.ArrowShown(2));
    const TRect r = g.CellRect(2, 3);
    const TPoint at = g.ClientToScreen({r.Left - 10, r.Top});
    EXPECT_EQ(g.MoveArrow(2)->Left(), at.x);
    EXPECT_EQ(g.MoveArrow(2)->Top(), at.y);
    // With OleEntireRows the marker stands at the first movable column.
    g.DragDropSettings.OleEntireRows = true;
    h.T().DragOver(NoKeys, h.At(3, 2), DROPEFFECT_MOVE);
    EXPECT_EQ(g.MoveArrow(2)->Left(), g.ClientToScreen({g.CellRect(1, 2).Left - 10, 0}).x);
    g.DragDropSettings.OleEntireRows = false;
    // A header cell takes no text: no effect, no marker.
    EXPECT_EQ(h.T().DragOver(NoKeys, h.At(2, 0), DROPEFFECT_MOVE), DROPEFFECT_NONE);
    EXPECT_FALSE(h.ArrowShown(2));
    EXPECT_EQ(over, (std::vector<std::string>{"2,3 y", "3,2 y", "2,0 n"}));
    // The application may refuse a cell.
    g.OnOleDragOver = [&](TPersistent*, int, int c, bool& allow) { allow = allow && c != 4; };
    EXPECT_EQ(h.T().DragOver(NoKeys, h.At(4, 2), DROPEFFECT_MOVE), DROPEFFECT_NONE);
    EXPECT_FALSE(h.ArrowShown(2));
    g.OnOleDragOver = nullptr;
    // One row of scrolling per move below the last whole row; none above while the top row is first.
    const int top = g.TopRow();
    EXPECT_EQ(top, 1);
    const int below = g.TopRow() + g.VisibleRowCount();
    ASSERT_LT(below, g.RowCount());
    h.T().DragOver(NoKeys, h.At(2, below), DROPEFFECT_MOVE);
    EXPECT_EQ(g.TopRow(), 2);
    h.T().DragOver(NoKeys, h.At(2, g.TopRow() + g.VisibleRowCount()), DROPEFFECT_MOVE);
    EXPECT_EQ(g.TopRow(), 3);
    h.T().DragOver(NoKeys, h.At(2, 0), DROPEFFECT_MOVE);
    EXPECT_EQ(g.TopRow(), 2);
    h.T().DragOver(NoKeys, h.At(2, 0), DROPEFFECT_MOVE);
    h.T().DragOver(NoKeys, h.At(2, 0), DROPEFFECT_MOVE);
    EXPECT_EQ(g.TopRow(), 1);
    // Leaving hides the markers.
    h.T().DragOver(NoKeys, h.At(2, 3), DROPEFFECT_MOVE);
    EXPECT_TRUE(h.ArrowShown(2));
    h.T().DragLeave();
    EXPECT_FALSE(h.ArrowShown(2));
}

TEST(GridDrop, DragNotTakenStillMovesMarkersButDropsNothing)
{
    DropHost h(5, 40);
    TExtStringGrid& g = h.G();
    g.DragDropSettings.SetOleDropTarget(true);
    h.T().TakesFiles = false;
    const TFakeData files = Files({"/tmp/x.csv"});
    EXPECT_EQ(h.T().DragEnter(files, NoKeys, h.At(2, 3), DROPEFFECT_COPY), DROPEFFECT_NONE);
    EXPECT_FALSE(h.T().Accepted);
    EXPECT_TRUE(h.T().OfferedFormats.FileList);
    EXPECT_EQ(h.T().DragOver(NoKeys, h.At(2, 3), DROPEFFECT_COPY), DROPEFFECT_NONE);
    EXPECT_TRUE(h.ArrowShown(2));
    h.T().DragOver(NoKeys, h.At(2, g.TopRow() + g.VisibleRowCount()), DROPEFFECT_COPY);
    EXPECT_EQ(g.TopRow(), 2);
    bool fileAsked = false;
    g.OnOleDropFile = [&](TPersistent*, int, int, const std::string&, bool&) { fileAsked = true; };
    EXPECT_EQ(h.T().Drop(files, NoKeys, h.At(2, 3), DROPEFFECT_COPY), DROPEFFECT_NONE);
    EXPECT_FALSE(fileAsked);
}

TEST(GridDrop, OnlyFixedRowGridTakesTextAtRowOne)
{
    for (const bool insert : {false, true}) {
        DropHost h(4, 1);
        TExtStringGrid& g = h.G();
        g.FixedRowAlways = true;
        g.DragDropSettings.SetOleDropTarget(true);
        g.DragDropSettings.OleInsertRows = insert;
        ASSERT_EQ(g.RowCount(), 1);
        std::vector<TGridRect> dropped;
        g.OnOleDropped = [&](TPersistent*, const TGridRect& r) { dropped.push_back(r); };
        h.T().DragEnter(Text("a\tb"), NoKeys, h.At(1, 0), DROPEFFECT_MOVE);
        EXPECT_EQ(h.T().DragOver(NoKeys, h.At(1, 0), DROPEFFECT_MOVE), DROPEFFECT_MOVE);
        EXPECT_TRUE(h.ArrowShown(2));
        EXPECT_EQ(h.T().Drop(Text("a\tb"), NoKeys, h.At(1, 0), DROPEFFECT_MOVE), DROPEFFECT_MOVE);
        ASSERT_EQ(dropped.size(), 1u);
        EXPECT_EQ(dropped[0], (TGridRect{1, 1, 2, 1}));
        EXPECT_EQ(g.Cells(1, 0), "");
        if (insert) {
            // Inserted rows make row 1, which takes the text.
            ASSERT_EQ(g.RowCount(), 2);
            EXPECT_EQ(g.Cells(1, 1), "a");
            EXPECT_EQ(g.Cells(2, 1), "b");
        } else {
            // Without them row 1 is beyond the grid: as for any paste there, nothing is stored (the
            // clipboard's mend).
            EXPECT_EQ(g.RowCount(), 1);
        }
    }
}

TEST(GridDrop, InsertRowsMakesRoomAboveTheDropRow)
{
    DropHost h(3, 5);
    TExtStringGrid& g = h.G();
    g.DragDropSettings.SetOleDropTarget(true);
    g.DragDropSettings.OleInsertRows = true;
    for (int r = 1; r < 5; ++r) g.SetCells(1, r, "r" + std::to_string(r));
    h.DropAt(Text("n1\r\nn2"), 1, 2);
    EXPECT_EQ(g.RowCount(), 7);
    std::vector<std::string> col;
    for (int r = 1; r < g.RowCount(); ++r) col.push_back(g.Cells(1, r));
    EXPECT_EQ(col, (std::vector<std::string>{"r1", "n1", "n2", "r2", "r3", "r4"}));
    EXPECT_EQ(g.Selection(), (TGridRect{1, 2, 1, 3}));
}

TEST(GridDrop, RowSelectDropsAtTheFirstColumn)
{
    DropHost h(4, 5);
    TExtStringGrid& g = h.G();
    g.SetOptions(g.Options() + TGridOptions{goRowSelect});
    g.DragDropSettings.SetOleDropTarget(true);
    h.DropAt(Text("a\tb"), 3, 2);
    EXPECT_EQ(DropRow(g, 2), (std::vector<std::string>{"", "a", "b", ""}));
    // The range's right end counts from the fixed columns.
    EXPECT_EQ(g.Selection().Left, 1);
    EXPECT_EQ(g.Selection().Top, 2);
    EXPECT_EQ(g.Selection().Bottom, 2);
}

TEST(GridDrop, RichTextGoesIntoOneCellOnlyWhileRichTextAware)
{
    DropHost h;
    TExtStringGrid& g = h.G();
    g.DragDropSettings.SetOleDropTarget(true);
    TFakeData both;
    const std::string rtf = "{\\rtf1\\ansi {\\b bold}\\tab x}";
    both.Blocks = {{DragTextFormat, "plain\ttext"}, {DragRichTextFormat, rtf + std::string(1, '\0') + "junk"}};
    ASSERT_FALSE(RichTextAware());
    h.DropAt(both, 1, 1);
    EXPECT_EQ(g.Cells(1, 1), "plain");
    EXPECT_EQ(g.Cells(2, 1), "text");
    // Any grid's OleDropRTF switches it for all of them.
    DropHost other(3, 3, 480);
    other.G().DragDropSettings.SetOleDropRTF(true);
    EXPECT_TRUE(RichTextAware());
    h.DropAt(both, 1, 3);
    EXPECT_EQ(g.Cells(1, 3), rtf);  // up to the first zero byte, unchanged
    EXPECT_EQ(g.Cells(2, 3), "");
    // Rich text alone is taken only while aware.
    TFakeData rich;
    rich.Blocks = {{DragRichTextFormat, rtf}};
    EXPECT_EQ(h.T().DragEnter(rich, NoKeys, h.At(1, 4), DROPEFFECT_MOVE), DROPEFFECT_MOVE);
    other.G().DragDropSettings.SetOleDropRTF(false);
    EXPECT_EQ(h.T().DragEnter(rich, NoKeys, h.At(1, 4), DROPEFFECT_MOVE), DROPEFFECT_NONE);
}

TEST(GridDrop, ColumnDropsOnlyOnMovableHeadersAndChangesNothing)
{
    DropHost h;
    TExtStringGrid& g = h.G();
    g.DragDropSettings.SetOleDropTarget(true);
    g.SetCells(2, 0, "head");
    g.SetCells(2, 1, "v");
    std::vector<std::string> cols;
    g.OnOleDropCol = [&](TPersistent*, int r, int c, int dropCol) { cols.push_back(std::to_string(c) + "," + std::to_string(r) + " " + std::to_string(dropCol)); };
    // The grid takes the column through the text the list names.
    const TFakeData d = Column(3);
    EXPECT_EQ(h.T().DragEnter(d, NoKeys, h.At(2, 1), DROPEFFECT_MOVE), DROPEFFECT_MOVE);
    EXPECT_TRUE(h.T().OfferedFormats.Column);
    EXPECT_EQ(h.T().DragOver(NoKeys, h.At(2, 1), DROPEFFECT_MOVE), DROPEFFECT_NONE);  // not a header
    EXPECT_FALSE(h.ArrowShown(0) || h.ArrowShown(1));
    EXPECT_EQ(h.T().DragOver(NoKeys, h.At(0, 0), DROPEFFECT_MOVE), DROPEFFECT_NONE);  // a fixed column's header
    EXPECT_EQ(h.T().DragOver(NoKeys, h.At(2, 0), DROPEFFECT_MOVE), DROPEFFECT_MOVE);
    ASSERT_TRUE(h.ArrowShown(0) && h.ArrowShown(1));
    const TRect r = g.CellRect(2, 0);
    EXPECT_EQ(g.MoveArrow(1)->Left(), g.ClientToScreen({r.Left, 0}).x);
    EXPECT_EQ(g.MoveArrow(1)->Top(), g.ClientToScreen({0, r.Top - 8}).y);
    EXPECT_EQ(g.MoveArrow(0)->Top(), g.ClientToScreen({0, r.Bottom}).y);
    // No scrolling for a column drag.
    EXPECT_EQ(h.T().Drop(d, NoKeys, h.At(2, 0), DROPEFFECT_MOVE), DROPEFFECT_MOVE);
    EXPECT_EQ(cols, (std::vector<std::string>{"2,0 3"}));
    EXPECT_FALSE(h.ArrowShown(0) || h.ArrowShown(1));
    EXPECT_EQ(g.Cells(2, 0), "head");
    EXPECT_EQ(g.Cells(2, 1), "v");
    // A block too short reads as no column (-1).
    TFakeData shortBlock;
    shortBlock.Blocks = {{DragTextFormat, ""}, {DragColumnFormat, std::string("\x03\x00", 2)}};
    EXPECT_EQ(ReadColumn(shortBlock), -1);
    EXPECT_EQ(ReadColumn(Text("x")), -1);
    EXPECT_EQ(ReadColumn(Column(7)), 7);
}

TEST(GridDrop, OneDroppedFileLoadsOnceByItsExtension)
{
    DropHost h;
    TExtStringGrid& g = h.G();
    g.DragDropSettings.SetOleDropTarget(true);
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "vsp_grid_drop";
    std::filesystem::create_directories(dir);
    const std::string csv = (dir / "Data.CSV").string();
    std::filesystem::copy_file(std::string(VSP_TEST_DATA) + "/grid/two_rows.csv", csv, std::filesystem::copy_options::overwrite_existing);
    std::vector<std::string> log;
    g.OnOleDropFile = [&](TPersistent*, int r, int c, const std::string& name, bool&) {
        log.push_back("file " + std::to_string(c) + "," + std::to_string(r) + " " + std::filesystem::path(name).filename().string());
    };
    g.OnOleDrop = [&](TPersistent*, int r, int c, const std::string& name, bool&) {
        log.push_back("drop " + std::to_string(c) + "," + std::to_string(r) + " " + std::filesystem::path(name).filename().string());
    };
    EXPECT_EQ(h.DropAt(Files({csv}), 2, 2, CtrlKey), DROPEFFECT_COPY);
    EXPECT_EQ(log, (std::vector<std::string>{"file 2,2 Data.CSV", "drop -1,-1 Data.CSV"}));
    bool found = false;
    for (int r = 0; r < g.RowCount(); ++r)
        for (int c = 0; c < g.ColCount(); ++c) found = found || g.Cells(c, r) == "b";
    EXPECT_TRUE(found);
    EXPECT_FALSE(h.ArrowShown(2));

    // A spreadsheet, ".xlsx" in any case, goes to the spreadsheet reader, which finds no server here;
    // "data.csv.xls" is a spreadsheet only (the mend), "notes.txt" and two files load nothing.
    log.clear();
    g.SetColCount(5);
    g.SetRowCount(6);
    EXPECT_THROW(h.DropAt(Files({"/tmp/book.XlsX"}), 2, 2), EExtGridError);
    EXPECT_EQ(log, (std::vector<std::string>{"file 2,2 book.XlsX", "drop -1,-1 book.XlsX"}));
    log.clear();
    g.OnOleDrop = [&](TPersistent*, int, int, const std::string& name, bool& allow) {
        log.push_back("drop " + std::filesystem::path(name).filename().string());
        allow = false;
    };
    h.DropAt(Files({"/tmp/data.csv.xls"}), 2, 2);
    h.DropAt(Files({"/tmp/notes.txt"}), 2, 2);
    h.DropAt(Files({csv, "/tmp/b.csv"}), 2, 2);
    EXPECT_EQ(log, (std::vector<std::string>{"file 2,2 data.csv.xls", "drop data.csv.xls", "file 2,2 notes.txt"}));
    // The file handler may refuse.
    log.clear();
    g.OnOleDropFile = [&](TPersistent*, int, int, const std::string&, bool& allow) { allow = false; };
    h.DropAt(Files({csv}), 2, 2);
    EXPECT_TRUE(log.empty());
    std::filesystem::remove_all(dir);
}

TEST(GridDrop, MouseStartsTextDragOfferingTheSelection)
{
    DropHost h;
    TExtStringGrid& g = h.G();
    g.SetOptions(g.Options() - TGridOptions{goEditing});
    g.DragDropSettings.OleDropSource = true;
    g.SetCells(1, 1, "a");
    g.SetCells(2, 1, "Z\xFC");
    g.SetCells(1, 2, "c");
    g.SetCells(2, 2, "");
    g.SetSelection({1, 1, 2, 2});
    std::vector<std::string> log;
    g.OnOleDrag = [&](TPersistent*, int r, int c, const std::string& d, bool&) { log.push_back("drag " + std::to_string(c) + "," + std::to_string(r) + " " + d); };
    g.OnOleDragStart = [&](TPersistent*, int r, int c) { log.push_back("start " + std::to_string(c) + "," + std::to_string(r)); };
    g.OnOleDragStop = [&](TPersistent*, int e) { log.push_back("stop " + std::to_string(e)); };
    Driven drive(DROPEFFECT_COPY);
    const TRect cell = g.CellRect(2, 1);
    const int x = (cell.Left + cell.Right) / 2, y = (cell.Top + cell.Bottom) / 2;
    Press(g.Widget(), x, y);
    EXPECT_TRUE(g.OleDragPending());
    MoveHeld(g.Widget(), x + 2, y + 3);  // within 3 pixels: nothing yet
    EXPECT_EQ(drive.Calls, 0);
    MoveHeld(g.Widget(), x + 4, y);
    EXPECT_EQ(drive.Calls, 1);
    EXPECT_FALSE(g.OleDragPending());
    Release(g.Widget(), x + 4, y);
    // The offered blocks: the selection's text (8-bit, no closing zero byte), no rich text while not aware.
    ASSERT_EQ(drive.Offered.Formats.size(), 1u);
    EXPECT_EQ(drive.Offered.Formats[0], (std::pair<std::string, std::string>{"text/plain", "a\tZ\xFC\r\nc\t"}));
    EXPECT_TRUE(drive.Offered.Files.empty());
    EXPECT_EQ(drive.Allowed, DROPEFFECT_COPY | DROPEFFECT_MOVE);
    EXPECT_EQ(log, (std::vector<std::string>{"drag 2,1 Z\xFC", "start 2,1", "stop 1"}));
    EXPECT_EQ(g.DragOrigin(), (TGridRect{1, 1, 2, 2}));
    // A copy leaves the cells.
    EXPECT_EQ(g.Cells(2, 1), "Z\xFC");
    EXPECT_EQ(g.Selection(), (TGridRect{1, 1, 2, 2}));
}

TEST(GridDrop, RichTextAwareDragServesTheStartCellEvenEmpty)
{
    DropHost h;
    TExtStringGrid& g = h.G();
    g.SetOptions(g.Options() - TGridOptions{goEditing});
    g.DragDropSettings.OleDropSource = true;
    g.DragDropSettings.SetOleDropRTF(true);
    g.SetCells(1, 1, "{\\rtf1 x}");
    g.SetSelection({1, 1, 2, 1});
    Driven drive(DROPEFFECT_COPY);
    for (int c : {1, 2}) {
        const TRect cell = g.CellRect(c, 1);
        Press(g.Widget(), cell.Left + 10, cell.Top + 5);
        MoveHeld(g.Widget(), cell.Left + 20, cell.Top + 5);
        Release(g.Widget(), cell.Left + 20, cell.Top + 5);
        ASSERT_EQ(drive.Offered.Formats.size(), 2u);
        EXPECT_EQ(drive.Offered.Formats[0], (std::pair<std::string, std::string>{"text/plain", "x\t"}));
        EXPECT_EQ(drive.Offered.Formats[1], (std::pair<std::string, std::string>{"text/rtf", c == 1 ? "{\\rtf1 x}" : ""}));
    }
    g.DragDropSettings.SetOleDropRTF(false);
}

TEST(GridDrop, MoveEmptiesOrKeepsTheDraggedCells)
{
    for (const bool copyAlways : {false, true}) {
        DropHost h;
        TExtStringGrid& g = h.G();
        g.SetOptions(g.Options() - TGridOptions{goEditing});
        g.DragDropSettings.OleDropSource = true;
        g.DragDropSettings.OleCopyAlways = copyAlways;
        g.SetCells(1, 1, "a");
        g.SetCells(2, 1, "b");
        g.SetCells(3, 1, "keep");
        g.SetSelection({1, 1, 2, 1});
        int stops = 0;
        g.OnOleDragStop = [&](TPersistent*, int e) {
            EXPECT_EQ(e, DROPEFFECT_MOVE);
            ++stops;
        };
        Driven drive(DROPEFFECT_MOVE);
        const TRect cell = g.CellRect(1, 1);
        Press(g.Widget(), cell.Left + 10, cell.Top + 5);
        MoveHeld(g.Widget(), cell.Left + 20, cell.Top + 5);
        EXPECT_EQ(DropRow(g, 1), (std::vector<std::string>{"", copyAlways ? "a" : "", copyAlways ? "b" : "", "keep", ""})) << copyAlways;
        EXPECT_EQ(stops, 1);
    }
}

TEST(GridDrop, CancelledOrRefusedDragChangesNothing)
{
    DropHost h;
    TExtStringGrid& g = h.G();
    g.SetOptions(g.Options() - TGridOptions{goEditing});
    g.DragDropSettings.OleDropSource = true;
    g.SetCells(1, 1, "a");
    g.SetSelection({1, 1, 1, 1});
    int stops = 0;
    g.OnOleDragStop = [&](TPersistent*, int) { ++stops; };
    {
        Driven drive(DROPEFFECT_NONE);
        const TRect cell = g.CellRect(1, 1);
        Press(g.Widget(), cell.Left + 10, cell.Top + 5);
        MoveHeld(g.Widget(), cell.Left + 20, cell.Top + 5);
        EXPECT_EQ(drive.Calls, 1);
        EXPECT_EQ(stops, 0);
        EXPECT_EQ(g.Cells(1, 1), "a");
    }
    {
        // A drag whose last feedback had no target is cancelled even when the driver answers an effect.
        SetDragDriver([](TWinControl&, const TDragFormats&, int, const TDragSourceEvents& Ev, bool& Cancelled) {
            Ev.Feedback(DROPEFFECT_NONE);
            Cancelled = false;
            return DROPEFFECT_MOVE;
        });
        const TRect cell = g.CellRect(1, 1);
        Press(g.Widget(), cell.Left + 10, cell.Top + 5);
        MoveHeld(g.Widget(), cell.Left + 20, cell.Top + 5);
        EXPECT_EQ(stops, 0);
        EXPECT_EQ(g.Cells(1, 1), "a");
        SetDragDriver(nullptr);
    }
    {
        // Refused by OnOleDrag: no drag, the press goes on selecting.
        Driven drive(DROPEFFECT_MOVE);
        g.OnOleDrag = [&](TPersistent*, int, int, const std::string&, bool& allow) { allow = false; };
        const TRect cell = g.CellRect(1, 1);
        Press(g.Widget(), cell.Left + 10, cell.Top + 5);
        MoveHeld(g.Widget(), cell.Left + 20, cell.Top + 5);
        EXPECT_EQ(drive.Calls, 0);
        EXPECT_EQ(g.GridState(), gsSelecting);
        Release(g.Widget(), cell.Left + 20, cell.Top + 5);
        EXPECT_EQ(g.Cells(1, 1), "a");
    }
    {
        // A press that never drags selects the released cell; without OleDropSource nothing is armed.
        g.OnOleDrag = nullptr;
        Driven drive(DROPEFFECT_MOVE);
        g.SetSelection({1, 1, 2, 2});
        const TRect cell = g.CellRect(2, 2);
        Press(g.Widget(), cell.Left + 10, cell.Top + 5);
        Release(g.Widget(), cell.Left + 10, cell.Top + 5);
        EXPECT_EQ(g.Selection(), (TGridRect{2, 2, 2, 2}));
        g.DragDropSettings.OleDropSource = false;
        Press(g.Widget(), cell.Left + 10, cell.Top + 5);
        EXPECT_FALSE(g.OleDragPending());
        MoveHeld(g.Widget(), cell.Left + 30, cell.Top + 5);
        Release(g.Widget(), cell.Left + 30, cell.Top + 5);
        EXPECT_EQ(drive.Calls, 0);
    }
}

TEST(GridDrop, MovedRowsDroppedAboveInTheSameGridLandAndLeave)
{
    DropHost h(3, 7);
    TExtStringGrid& g = h.G();
    g.SetOptions(g.Options() - TGridOptions{goEditing} + TGridOptions{goRowSelect});
    g.DragDropSettings.SetOleDropTarget(true);
    g.DragDropSettings.OleDropSource = true;
    g.DragDropSettings.OleRemoveRows = true;
    g.DragDropSettings.OleInsertRows = true;
    for (int r = 1; r < 7; ++r) {
        g.SetCells(1, r, "r" + std::to_string(r));
        g.SetCells(2, r, "s" + std::to_string(r));
    }
    g.Navigation.AllowClipboardAlways = true;  // the cells take pasted text without goEditing
    g.SetSelection({1, 3, 2, 4});
    // The drag runs over the grid itself and drops on row 1.
    Driven drive(DROPEFFECT_MOVE, [&](const TDragSourceEvents&) {
        TFakeData d;
        d.Blocks = {{DragTextFormat, drive.Offered.Formats[0].second}};
        EXPECT_EQ(h.DropAt(d, 1, 1), DROPEFFECT_MOVE);
    });
    const TRect cell = g.CellRect(1, 3);
    Press(g.Widget(), cell.Left + 10, cell.Top + 5);
    MoveHeld(g.Widget(), cell.Left + 20, cell.Top + 5);
    ASSERT_EQ(drive.Calls, 1);
    EXPECT_EQ(drive.Offered.Formats[0].second, "r3\ts3\r\nr4\ts4");
    std::vector<std::string> col;
    for (int r = 1; r < g.RowCount(); ++r) col.push_back(g.Cells(1, r));
    EXPECT_EQ(col, (std::vector<std::string>{"r3", "r4", "r1", "r2", "r5", "r6"}));
    EXPECT_EQ(g.RowCount(), 7);
}

TEST(GridDrop, ColumnDragCarriesTheRealColumnWithAFloatingHeader)
{
    DropHost h;
    TExtStringGrid& g = h.G();
    g.SetOptions(g.Options() - TGridOptions{goEditing});
    g.DragDropSettings.OleDropSource = true;
    g.DragDropSettings.OleColumnDragDrop = true;
    g.EnhRowColMove = false;
    g.SetCells(3, 0, "Depth");
    g.SetLook(glXP);
    std::vector<std::string> log;
    g.OnOleDragStart = [&](TPersistent*, int r, int c) { log.push_back("start " + std::to_string(c) + "," + std::to_string(r)); };
    g.OnOleDragStop = [&](TPersistent*, int e) { log.push_back("stop " + std::to_string(e)); };
    bool shownDuring = false;
    std::string caption;
    TRect during{};
    TColor from = clNone, to = clNone;
    Driven drive(DROPEFFECT_COPY, [&](const TDragSourceEvents& ev) {
        TPopupButton* b = g.MoveButton();
        shownDuring = b && b->Visible();
        if (!b) return;
        caption = b->Caption;
        from = b->GradFrom;
        to = b->GradTo;
        QCursor::setPos(300, 250);
        ev.Step();
        during = {b->Left(), b->Top(), b->Width(), b->Height()};
    });
    const TRect cell = g.CellRect(3, 0);
    Press(g.Widget(), cell.Left + 10, cell.Top + 5);
    MoveHeld(g.Widget(), cell.Left + 20, cell.Top + 5);
    ASSERT_EQ(drive.Calls, 1);
    // Text listed (empty) and the column index, 4 bytes little-endian.
    ASSERT_EQ(drive.Offered.Formats.size(), 2u);
    EXPECT_EQ(drive.Offered.Formats[0], (std::pair<std::string, std::string>{"text/plain", ""}));
    EXPECT_EQ(drive.Offered.Formats[1], (std::pair<std::string, std::string>{"application/x-Grid-Column", std::string("\x03\x00\x00\x00", 4)}));
    EXPECT_TRUE(shownDuring);
    EXPECT_EQ(caption, "Depth");
    EXPECT_EQ(from, clWhite);
    EXPECT_EQ(to, ColorToRGB(clBtnFace));
    // The floating header's left edge at the cursor, its bottom edge at the cursor.
    EXPECT_EQ(during.Left, 300);
    EXPECT_EQ(during.Top + during.Bottom, 250);  // top + height
    EXPECT_EQ(during.Right, g.ColWidths(3));
    EXPECT_FALSE(g.MoveButton()->Visible());
    EXPECT_EQ(log, (std::vector<std::string>{"start 3,0", "stop 1"}));
}

// One text drag between two real grids through the desktop's drag: under a real X server (xvfb-run with
// the xcb platform) the test runs itself again; that run drives the pointer with posted mouse events.
TEST(GridDrop, TextDragBetweenTwoRealGrids)
{
    if (!std::getenv("VSP_GRID_XDRAG")) {
        ASSERT_EQ(QProcess::execute("sh", {"-c", "command -v xvfb-run >/dev/null"}), 0) << "xvfb-run (package xvfb) is missing";
        QProcess child;
        QStringList env = QProcess::systemEnvironment();
        env.removeIf([](const QString& s) { return s.startsWith("QT_QPA_PLATFORM=") || s.startsWith("DISPLAY="); });
        env << "QT_QPA_PLATFORM=xcb" << "VSP_GRID_XDRAG=1";
        child.setEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start("xvfb-run", {"-a", "-s", "-screen 0 1024x768x24", QString::fromStdString(std::filesystem::read_symlink("/proc/self/exe").string()),
                                 "--gtest_filter=GridDrop.TextDragBetweenTwoRealGrids"});
        ASSERT_TRUE(child.waitForFinished(60000));
        const QByteArray out = child.readAll();
        EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
        EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.toStdString();
        return;
    }
    DropHost source(4, 4, 40), target(4, 4, 500);
    ASSERT_EQ(QApplication::platformName(), "xcb");
    TExtStringGrid& s = source.G();
    TExtStringGrid& t = target.G();
    s.SetOptions(s.Options() - TGridOptions{goEditing});
    s.DragDropSettings.OleDropSource = true;
    t.DragDropSettings.SetOleDropTarget(true);
    s.SetCells(1, 1, "Z\xFC");
    s.SetCells(2, 1, "2");
    s.SetSelection({1, 1, 2, 1});
    for (int i = 0; i < 20; ++i) {
        Application->ProcessMessages();
        QThread::msleep(10);
    }
    // What reaches the target window from the desktop, byte for byte.
    struct Spy : QObject {
        QByteArray Text;
        QStringList Formats;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Drop) {
                const QMimeData* m = static_cast<QDropEvent*>(e)->mimeData();
                Text = m->data("text/plain");
                Formats = m->formats();
            }
            return false;
        }
    } spy;
    t.Widget()->installEventFilter(&spy);
    int stopEffect = -1;
    s.OnOleDragStop = [&](TPersistent*, int e) { stopEffect = e; };

    const TPoint to = target.At(2, 2);
    QWidget* sw = s.Widget();
    const auto post = [](QWidget* w, QEvent::Type type, QPoint global, Qt::MouseButton b, Qt::MouseButtons held) {
        const QPointF local = w->mapFromGlobal(QPointF(global));
        QMouseEvent e(type, local, QPointF(global), b, held, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    };
    // During the drag's own loop: the pointer crosses to the target cell, rests, and the button comes up.
    int step = 0;
    QTimer timer;
    timer.setInterval(40);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++step;
        const QPoint from = sw->mapToGlobal(QPoint(0, 0));
        if (step <= 6) {
            const QPoint p(from.x() + (to.x - from.x()) * step / 6, from.y() + (to.y - from.y()) * step / 6 + 30);
            QCursor::setPos(p);
            post(sw, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
        } else if (step <= 9) {
            QCursor::setPos(to.x, to.y);
            post(sw, QEvent::MouseMove, QPoint(to.x, to.y), Qt::NoButton, Qt::LeftButton);
        } else if (step == 10) {
            post(sw, QEvent::MouseButtonRelease, QPoint(to.x, to.y), Qt::LeftButton, Qt::NoButton);
        } else if (step > 60) {
            timer.stop();
        }
    });
    const TRect cell = s.CellRect(1, 1);
    const QPoint press = sw->mapToGlobal(QPoint(cell.Left + 10, cell.Top + 5));
    QCursor::setPos(press);
    post(sw, QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
    timer.start();
    // The move past 3 pixels starts the drag, whose loop returns after the release.
    post(sw, QEvent::MouseMove, press + QPoint(8, 0), Qt::NoButton, Qt::LeftButton);
    timer.stop();
    for (int i = 0; i < 5; ++i) Application->ProcessMessages();

    EXPECT_EQ(t.Cells(2, 2), "Z\xFC");
    EXPECT_EQ(t.Cells(3, 2), "2");
    EXPECT_EQ(t.Selection(), (TGridRect{2, 2, 3, 2}));
    // Offered as the desktop's text: UTF-8, no closing zero byte.
    EXPECT_EQ(spy.Text, QByteArray("Z\xC3\xBC\t2"));
    EXPECT_TRUE(spy.Formats.contains("text/plain"));
    // A move: the source's cells are emptied.
    EXPECT_EQ(stopEffect, DROPEFFECT_MOVE);
    EXPECT_EQ(s.Cells(1, 1), "");
    EXPECT_EQ(s.Cells(2, 1), "");
}

// Text from other programs of this desktop ends its lines in LF alone; pasted from the clipboard or
// dropped, every kind of line end fills rows and columns, and cells of several lines in quotes stay whole.
TEST(GridDrop, EveryKindOfLineEndFillsRowsThroughPasteAndDrop)
{
    using Rows = std::vector<std::vector<std::string>>;
    struct Case {
        const char* Name;
        std::string Text;
        Rows Cells;   // the 2 x 3 block from (1, 1)
    } cases[] = {
        {"LF", "a\tb\nc\td\n", {{"a", "b"}, {"c", "d"}, {"", ""}}},
        {"CR LF", "a\tb\r\nc\td\r\n", {{"a", "b"}, {"c", "d"}, {"", ""}}},
        {"CR", "a\tb\rc\td\r", {{"a", "b"}, {"c", "d"}, {"", ""}}},
        {"LF without a last line end", "a\tb\nc\td\ne", {{"a", "b"}, {"c", "d"}, {"e", ""}}},
        // A text holding a CR is read as it stands: its lone LF is a line inside a cell.
        {"CR LF and LF mixed", "a\tb\r\nc\nd\te", {{"a", "b"}, {"c\r\nd", "e"}, {"", ""}}},
        {"LF with a cell of two lines in quotes", "\"x\ny\"\tz\nw\n", {{"x\r\ny", "z"}, {"w", ""}, {"", ""}}},
        {"the grid's own copy of one row", "\"x\ny\"\t\"p\nq\"", {{"x\r\ny", "p\r\nq"}, {"", ""}, {"", ""}}},
        {"LF after a quote that closes nothing", "\"a\tb\nc\td\n", {{"\"a", "b"}, {"c", "d"}, {"", ""}}},
    };
    auto block = [](TExtStringGrid& g) {
        Rows out;
        for (int r = 1; r <= 3; ++r) out.push_back({g.Cells(1, r), g.Cells(2, r)});
        return out;
    };
    for (const Case& k : cases) {
        EditGridHost pasted(4, 5);
        Clipboard().SetAsText(k.Text);
        pasted.G().PasteAt(1, 1);
        EXPECT_EQ(block(pasted.G()), k.Cells) << "pasted, " << k.Name;
        DropHost dropped(4, 5);
        dropped.G().DragDropSettings.SetOleDropTarget(true);
        dropped.DropAt(Text(k.Text), 1, 1);
        EXPECT_EQ(block(dropped.G()), k.Cells) << "dropped, " << k.Name;
    }
}

// A grid that sets only the accept flags (as a streamed form may) is neither a drop target nor a drag source.
TEST(GridDrop, AcceptFlagsAloneMakeNoDropTarget)
{
    EditGridHost h(4, 4);
    TExtStringGrid& g = h.G();
    g.DragDropSettings.OleAcceptFiles = true;
    g.DragDropSettings.OleAcceptText = true;
    Application->ProcessMessages();
    EXPECT_FALSE(g.DropTargetRegistered());
    EXPECT_FALSE(g.Widget()->acceptDrops());
    EXPECT_EQ(g.DropTarget(), nullptr);
    EXPECT_FALSE(g.DragDropSettings.OleDropSource);
}
