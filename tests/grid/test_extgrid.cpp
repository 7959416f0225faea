// The grid component's structure and rules: fixed rows and columns that stay, hidden rows with real
// indexes through inserts and removals, row and column insertion and removal with their properties,
// footer sums that never raise, column widths written to an ini file byte for byte and read within
// 0..32767, stretching only while enabled, the appearance resolution order and bands, typed access,
// header texts, paste filters, links, validation that survives a throwing handler, the integral height
// and automatic column sizing.
#include "GridHosts.h"

#include "platform/controls/StdCtrls.h"
#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace gridtest;

namespace {

struct ExtHost {
    ExtHost(int cols = 5, int rows = 8)
    {
        Application->ProcessMessages();
        Window = std::make_unique<QWidget>();
        Window->setGeometry(40, 40, 420, 300);
        Grid = std::make_unique<TExtStringGrid>(nullptr);
        Grid->SetParentWidget(Window.get());
        Grid->SetBounds(0, 0, 420, 300);
        Grid->SetColCount(cols);
        Grid->SetRowCount(rows);
        Grid->SetDefaultColWidth(60);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) Grid->SetCells(c, r, std::to_string(c) + ":" + std::to_string(r));
        Window->show();
        Application->ProcessMessages();
    }
    TExtStringGrid& G() { return *Grid; }
    std::unique_ptr<QWidget> Window;
    std::unique_ptr<TExtStringGrid> Grid;
};

std::string ReadFile(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

TEST(ExtGrid, FixedRowAndColumnStayWhenTheGridShrinks)
{
    ExtHost h;
    TExtStringGrid& g = h.G();
    g.FixedRowAlways = true;
    g.SetDesignFixedRows(1);
    g.SetRowCount(1);
    EXPECT_EQ(g.TBaseGrid::FixedRows(), 0);
    EXPECT_EQ(g.FixedRows(), 1);
    g.SetRowCount(5);
    EXPECT_EQ(g.TBaseGrid::FixedRows(), 1);
    g.FixedColAlways = true;
    g.SetFixedCols(0);
    g.SetColCount(4);
    EXPECT_EQ(g.TBaseGrid::FixedCols(), 1);
    // Writing FixedColWidth at run time changes nothing.
    g.SetFixedColWidth(10);
    EXPECT_EQ(g.ColWidths(0), 60);
}

TEST(ExtGrid, HiddenRowsMapAndComeBack)
{
    ExtHost h(3, 8);
    TExtStringGrid& g = h.G();
    g.SetRowHeights(4, 40);
    g.HideRowRange(3, 5);
    EXPECT_EQ(g.RowCount(), 5);
    EXPECT_EQ(g.RealToDisplayRow(7), 4);
    EXPECT_EQ(g.DisplayToRealRow(3), 6);
    EXPECT_EQ(g.DisplayToRealRow(2), 2);
    EXPECT_EQ(g.Cells(1, 3), "1:6");
    g.HideRowRange(3, 5);   // already hidden: nothing
    EXPECT_EQ(g.RowCount(), 5);
    g.UnhideRowRange(2, 5);   // row 2 is not stored: nothing
    EXPECT_EQ(g.RowCount(), 5);
    g.UnhideRowRange(4, 5);
    EXPECT_EQ(g.Cells(1, 3), "1:4");
    EXPECT_EQ(g.Cells(1, 4), "1:5");
    EXPECT_EQ(g.RowHeights(3), 40);
    EXPECT_TRUE(g.IsHiddenRow(3));
    g.UnhideRowRange(3, 3);
    for (int r = 0; r < 8; ++r) EXPECT_EQ(g.Cells(1, r), "1:" + std::to_string(r));
}

TEST(ExtGrid, HiddenRowsKeepRealIndexesThroughInsertsAndRemovals)
{
    ExtHost h(3, 8);
    TExtStringGrid& g = h.G();
    g.HideRowRange(5, 5);
    g.InsertRows(2, 2);   // two rows before the hidden one: it is now real row 7
    g.RemoveRows(1, 1);   // one row before it goes: real row 6
    g.UnhideAllRows();
    EXPECT_EQ(g.Cells(1, 6), "1:5");
    // HideRowList stores real rows even while other rows are hidden, so unhiding keeps the order.
    ExtHost k(3, 8);
    TExtStringGrid& t = k.G();
    t.HideRowRange(2, 2);
    t.HideRowList({3, 4});   // display rows 3 and 4 are real rows 4 and 5
    EXPECT_EQ(t.RowCount(), 5);
    t.UnhideAllRows();
    for (int r = 0; r < 8; ++r) EXPECT_EQ(t.Cells(1, r), "1:" + std::to_string(r)) << r;
}

TEST(ExtGrid, HideRowListAndUnhideAllRestoreOrderAndHeights)
{
    ExtHost h(3, 6);
    TExtStringGrid& g = h.G();
    for (int r = 0; r < 6; ++r) g.SetRowHeights(r, 20 + r);
    g.HideRowList({1, 4});
    EXPECT_EQ(g.RowCount(), 4);
    EXPECT_EQ(g.Cells(1, 1), "1:2");
    g.UnhideAllRows();
    for (int r = 0; r < 6; ++r) {
        EXPECT_EQ(g.Cells(1, r), "1:" + std::to_string(r));
        EXPECT_EQ(g.RowHeights(r), 20 + r);
    }
}

TEST(ExtGrid, InsertAndRemoveRowsAndColumnsCarryTheirProperties)
{
    ExtHost h(4, 5);
    TExtStringGrid& g = h.G();
    g.CellProps(1, 2).BrushColor = 0x123456;
    g.SetRowHeights(2, 33);
    g.InsertRows(2, 1);
    EXPECT_EQ(g.RowCount(), 6);
    EXPECT_EQ(g.Cells(1, 2), "");
    EXPECT_FALSE(g.HasCellProps(1, 2));
    EXPECT_EQ(g.RowHeights(2), g.DefaultRowHeight());
    EXPECT_EQ(g.Cells(1, 3), "1:2");
    ASSERT_TRUE(g.HasCellProps(1, 3));
    EXPECT_EQ(g.CellProps(1, 3).BrushColor, 0x123456);
    EXPECT_EQ(g.RowHeights(3), 33);
    g.RemoveRows(3, 1);
    EXPECT_EQ(g.Cells(1, 3), "1:3");
    EXPECT_FALSE(g.HasCellProps(1, 3));
    const int widths[] = {30, 40, 50, 60};
    for (int c = 0; c < 4; ++c) g.SetColWidths(c, widths[c]);
    g.RemoveCols(1, 1);
    EXPECT_EQ(g.ColCount(), 3);
    EXPECT_EQ((std::vector<int>{g.ColWidths(0), g.ColWidths(1), g.ColWidths(2)}), (std::vector<int>{30, 50, 60}));
    EXPECT_EQ(g.Cells(1, 1), "2:1");
}

TEST(ExtGrid, DeletingTheOnlyNormalRowEmptiesIt)
{
    ExtHost h(3, 2);
    TExtStringGrid& g = h.G();
    g.CellProps(1, 1).BrushColor = clRed;
    g.AutoDeleteRow(1);
    EXPECT_EQ(g.RowCount(), 2);
    EXPECT_EQ(g.Cells(1, 1), "");
    EXPECT_FALSE(g.HasCellProps(1, 1));
    g.SetRowCount(3);
    g.AutoDeleteRow(1);
    EXPECT_EQ(g.RowCount(), 2);
}

// Footer sums never raise into the edit that triggers them.
TEST(ExtGrid, FooterCalculationsKeepTextOnNonNumbersAndEmptyOverNoRows)
{
    ExtHost h(3, 6);
    TExtStringGrid& g = h.G();
    g.FloatingFooter.SetVisible(true);
    const int last = g.RowCount() - 1;
    g.CellProps(1, last).FooterCalc = 1;
    g.CellProps(2, last).FooterCalc = 3;
    for (int r = 1; r < last; ++r) g.SetCells(1, r, std::to_string(r));
    g.RecalcFooter(-1);
    EXPECT_EQ(g.Cells(1, last), "10.00");
    EXPECT_EQ(g.Cells(2, last), "4.00");
    g.SetCells(1, 2, "abc");
    g.SetCells(1, last, "kept");
    EXPECT_NO_THROW(g.RecalcFooter(-1));
    EXPECT_EQ(g.Cells(1, last), "kept");
    // Average over no row: empty.
    ExtHost k(2, 2);
    TExtStringGrid& t = k.G();
    t.FloatingFooter.SetVisible(true);
    t.CellProps(1, 1).FooterCalc = 2;
    t.SetCells(1, 1, "x");
    t.RecalcFooter(1);
    EXPECT_EQ(t.Cells(1, 1), "");
    // Hidden footer: nothing changes.
    t.FloatingFooter.SetVisible(false);
    t.SetCells(1, 1, "y");
    t.RecalcFooter(-1);
    EXPECT_EQ(t.Cells(1, 1), "y");
}

TEST(ExtGrid, ColumnWidthsInAnIniFile)
{
    const auto dir = std::filesystem::temp_directory_path() / "vsp_grid_widths";
    std::filesystem::create_directories(dir);
    const auto file = dir / "widths.ini";
    std::filesystem::remove(file);
    {
        ExtHost h(4, 3);
        TExtStringGrid& g = h.G();
        const int widths[] = {34, 50, 51, 52};
        for (int c = 0; c < 4; ++c) g.SetColWidths(c, widths[c]);
        g.ColumnSize.Save = true;
        g.ColumnSize.Location = clIniFile;
        g.ColumnSize.Key = file.string();
        g.ColumnSize.Section = "Grid";
    }
    EXPECT_EQ(ReadFile(file), "[Grid]\nCol0=34\nCol1=50\nCol2=51\nCol3=52\n");
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << "[Grid]\nCol0=40\nCol1=40000\nCol2=-3\nCol3=abc\n";
    }
    ExtHost h(6, 3);
    TExtStringGrid& g = h.G();
    for (int c = 0; c < 6; ++c) g.SetColWidths(c, 77);
    g.ColumnSize.Location = clIniFile;
    g.ColumnSize.Key = file.string();
    g.ColumnSize.Section = "Grid";
    g.LoadColumnWidths();
    // 40 taken; out of 0..32767 kept; not a number and missing entries read as DefaultColWidth.
    EXPECT_EQ((std::vector<int>{g.ColWidths(0), g.ColWidths(1), g.ColWidths(2), g.ColWidths(3), g.ColWidths(4)}),
              (std::vector<int>{40, 77, 77, 60, 60}));
    std::filesystem::remove_all(dir);
}

TEST(ExtGrid, StretchColumnOnlyWhileStretching)
{
    ExtHost h(3, 3);
    TExtStringGrid& g = h.G();
    g.ColumnSize.StretchColumn = 7;   // out of range, but stretching is off
    EXPECT_NO_THROW(g.SetColWidths(0, 70));
    g.ColumnSize.StretchColumn = -1;
    g.ColumnSize.SetStretch(true);
    EXPECT_EQ(g.ColWidths(2), g.ClientWidth() - g.ColWidths(0) - g.ColWidths(1) - 1);
    g.ColumnSize.StretchColumn = 7;
    EXPECT_THROW(g.SetColWidths(0, 80), Exception);
    g.ColumnSize.StretchColumn = 1;
    g.SetColWidths(0, 500);
    EXPECT_EQ(g.ColWidths(1), g.DefaultColWidth());   // the others are wider than the client area
}

TEST(ExtGrid, AppearanceResolutionOrder)
{
    ExtHost h(4, 8);
    TExtStringGrid& g = h.G();
    TBrush brush;
    TFont font;
    auto resolve = [&](int c, int r, TGridDrawState st = {}) {
        TColor to = clNone;
        TAlignment ha;
        TVAlignment va;
        bool wrap = false;
        g.ResolveCellAppearance(c, r, st, false, true, true, brush, to, font, ha, va, wrap);
        return std::pair{brush.Color(), ha};
    };
    g.MoveColRow(3, 7, true, true);
    g.Bands.SetPrimaryLength(2);
    g.Bands.SetPrimaryColor(0x0000AA);
    g.Bands.SetSecondaryColor(0x00AA00);
    g.Bands.SetActive(true);
    const TColor expect[] = {0x0000AA, 0x0000AA, 0x00AA00, 0x0000AA};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(resolve(1, 1 + i).first, expect[i]) << i;
    g.CellProps(1, 2).BrushColor = 0x112233;   // own colour beats the band
    EXPECT_EQ(resolve(1, 2).first, 0x112233u);
    g.CellProps(0, 3).BrushColor = clRed;   // and beats the fixed colour
    EXPECT_EQ(resolve(0, 3).first, ColorToRGB(clRed) == clRed ? clRed : clRed);
    EXPECT_EQ(resolve(0, 4).first, g.FixedColor());
    g.OnGetCellColor = [](TPersistent*, int r, int, TGridDrawState, TBrush& b, TFont&) {
        if (r == 5) b.SetColor(0x445566);
    };
    EXPECT_EQ(resolve(2, 5).first, 0x445566u);
    // A band total below 1 colours nothing.
    g.Bands.SetPrimaryLength(0);
    g.Bands.SetSecondaryLength(0);
    EXPECT_EQ(resolve(1, 1).first, g.Color());
    // Alignment: numbers right with AutoNumAlign unless the cell's properties say otherwise, the handler last.
    g.AutoNumAlign = true;
    g.SetCells(2, 6, "12");
    EXPECT_EQ(resolve(2, 6).second, taRightJustify);
    g.SetCells(2, 6, "1--2");
    EXPECT_EQ(resolve(2, 6).second, taLeftJustify);
    g.SetCells(1, 2, "12");
    EXPECT_EQ(resolve(1, 2).second, taLeftJustify);
    g.OnGetAlignment = [](TPersistent*, int, int, TAlignment& a, TVAlignment&) { a = taCenter; };
    EXPECT_EQ(resolve(1, 2).second, taCenter);
    // The selected cell takes the selection colour.
    g.OnGetCellColor = nullptr;
    g.SetSelectionColor(0x0F0F0F);
    EXPECT_EQ(resolve(3, 7).first, 0x0F0F0Fu);
}

TEST(ExtGrid, TypedAccessAndHeaders)
{
    ExtHost h(4, 4);
    TExtStringGrid& g = h.G();
    g.SetCells(1, 1, "(12)");
    EXPECT_EQ(g.CellAsFloat(1, 1), -12);
    g.SetCells(1, 1, "");
    EXPECT_EQ(g.CellAsFloat(1, 1), 0);
    EXPECT_EQ(g.CellAsInteger(1, 1), 0);
    g.SetCells(1, 1, "abc");
    try {
        (void)g.CellAsFloat(1, 1);
        ADD_FAILURE();
    } catch (const EExtGridError& e) {
        EXPECT_EQ(e.Message(), "Cell does not contain a float value");
    }
    EXPECT_THROW((void)g.CellAsInteger(1, 1), EExtGridError);
    g.SetCellAsFloat(1, 1, 2.5);
    EXPECT_EQ(g.Cells(1, 1), "2.50");
    FormatSettings().DecimalSeparator = ',';
    FormatSettings().ThousandSeparator = '.';
    g.SetCells(2, 1, "1.234,50");
    EXPECT_EQ(g.CellAsFloat(2, 1), 1234.5);
    g.SetCellAsFloat(2, 1, 2.5);
    EXPECT_EQ(g.Cells(2, 1), "2,50");
    ResetFormatSettings();
    g.SetColumnHeaders({"a\\nb", "c"});
    EXPECT_EQ(g.Cells(0, 0), "a\rb");
    EXPECT_EQ(g.Cells(1, 0), "c");
    EXPECT_EQ(g.Cells(2, 0), "");
    EXPECT_EQ(TExtStringGrid::VersionText(), "2.5.0.2 June, 2003");
}

TEST(ExtGrid, PasteFiltersByEditorType)
{
    ExtHost h(4, 4);
    TExtStringGrid& g = h.G();
    g.SetOptions(g.Options() + TGridOptions{goEditing});
    TEditorType type = edNormal;
    g.OnGetEditorType = [&](TPersistent*, int, int, TEditorType& t) { t = type; };
    struct Case {
        TEditorType type;
        const char* clip;
        const char* want;
    } cases[] = {{edNumeric, "-12", "-12"}, {edNumeric, "ab", ""}, {edPositiveNumeric, "12", "12"},
                 {edPositiveNumeric, "-12", ""}, {edFloat, "1.5", "1.5"}, {edUpperCase, "ab", "AB"},
                 {edCapital, "ab", "ab"}, {edMixedCase, "mcdonald", "McDonald"}};
    g.SetFocus();
    for (const Case& c : cases) {
        type = c.type;
        g.SetCells(1, 1, "");
        g.HideEditor();
        g.MoveColRow(2, 2, true, true);
        g.MoveColRow(1, 1, true, true);
        g.ShowEditor();
        auto* e = dynamic_cast<TExtInplaceEdit*>(g.InplaceEditor());
        ASSERT_NE(e, nullptr);
        e->SetText("");
        e->PasteText(c.clip);
        EXPECT_EQ(e->Text(), c.want) << c.type << " " << c.clip;
    }
}

TEST(ExtGrid, AThrowingValidationHandlerLeavesTheEditPending)
{
    ExtHost h(4, 4);
    TExtStringGrid& g = h.G();
    g.SetOptions(g.Options() + TGridOptions{goEditing});
    bool throwNow = true;
    g.OnCellValidate = [&](TPersistent*, int, int, std::string&, bool&) {
        if (throwNow) throw Exception("refused loudly");
    };
    g.SetFocus();
    g.MoveColRow(1, 1, true, true);
    Type(g.Widget(), "5");
    ASSERT_TRUE(g.EditPending());
    EXPECT_THROW(g.ValidateEditText("5"), Exception);
    EXPECT_TRUE(g.EditPending());
    throwNow = false;
    EXPECT_TRUE(g.ValidateEditText("5"));   // not stuck in validation
    EXPECT_FALSE(g.EditPending());
}

TEST(ExtGrid, OnlyWebAndMailLinksLeaveTheGrid)
{
    struct Case {
        const char* link;
        const char* target;
    } cases[] = {{"see http://x.org/a", "http://x.org/a"}, {"HTTPS://X.ORG", "HTTPS://X.ORG"}, {"ftp://f.org/p", "ftp://f.org/p"},
                 {"mailto:a@b.org", "mailto:a@b.org"}, {"file:///etc/passwd", ""}, {"smb://host/share", ""},
                 {"javascript://x", ""}, {"xhttp://evil", ""}, {"CELL://R4C3", ""}, {"cell://r1c1 http://x", ""}};
    for (const Case& c : cases) EXPECT_EQ(TExtStringGrid::DesktopLinkTarget(c.link), c.target) << c.link;

    ExtHost h(4, 6);
    TExtStringGrid& g = h.G();
    g.SetURLShow(true);
    std::vector<std::string> anchors;
    g.OnAnchorClick = [&](TPersistent*, int, int, const std::string& a, bool& autoHandle) {
        anchors.push_back(a);
        autoHandle = a.find("CELL://") != std::string::npos;   // only the jump is handled by the grid here
    };
    g.SetCells(1, 1, "file://etc/passwd");
    g.SetCells(2, 1, "CELL://R4C3");
    Click(g.Widget(), 60 + 10, 24 + 5);
    EXPECT_EQ(anchors.size(), 1u);
    Click(g.Widget(), 120 + 10, 24 + 5);
    EXPECT_EQ((std::pair{g.Col(), g.Row()}), (std::pair{3, 4}));
}

TEST(ExtGrid, TheRecorderKeepsRefusedEditsToo)
{
    EditGridHost h(4, 11);
    TExtStringGrid& g = h.G();
    g.SetCells(3, 1, "0.25");
    // The application refuses numbers beyond 100000.
    g.OnCellValidate = [](TPersistent*, int, int, std::string& value, bool& valid) {
        char* end = nullptr;
        const double v = std::strtod(value.c_str(), &end);
        valid = !value.empty() && *end == 0 && v <= 100000;
    };
    h.Window->activateWindow();
    Application->ProcessMessages();
    TExtGridUndoRedo rec(nullptr);
    g.SetUndoRedo(&rec);
    g.SetCol(3);
    g.SetFocus();
    Type(g.Widget(), "9");
    Key(g.InplaceEditor()->Widget(), Qt::Key_Return, Qt::NoModifier, "\r");
    Type(g.Widget(), "1");
    Type(g.InplaceEditor()->Widget(), "e9");
    Key(g.InplaceEditor()->Widget(), Qt::Key_Return, Qt::NoModifier, "\r");
    ASSERT_EQ(rec.Depth(), 2);
    EXPECT_EQ(rec.Changes()[0].OrigValue, "0.25");
    EXPECT_EQ(rec.Changes()[0].Value, "9");
    EXPECT_EQ(rec.Changes()[1].OrigValue, "9");
    EXPECT_EQ(rec.Changes()[1].Value, "1e9");   // refused by the editor's handler, recorded all the same
    EXPECT_EQ(g.Cells(3, 1), "9");
    g.SetUndoRedo(nullptr);
}

TEST(ExtGrid, TheRedrawLockPaintsOnceAtTheEnd)
{
    ExtHost h(4, 40);
    TExtStringGrid& g = h.G();
    g.Invalidate();
    g.Update();
    const int stamp = g.PaintStamp();
    g.LockRedraw();
    g.LockRedraw();
    for (int r = 1; r < 40; ++r) g.SetCells(1, r, "x");
    g.Update();
    EXPECT_EQ(g.PaintStamp(), stamp);
    g.UnlockRedraw();
    g.Update();
    EXPECT_EQ(g.PaintStamp(), stamp);
    g.UnlockRedraw();
    g.Update();
    EXPECT_EQ(g.PaintStamp(), stamp + 1);
    g.UnlockRedraw();   // without a matching lock: stays at 0 and repaints
    EXPECT_EQ(g.RedrawLockCount(), 0);
}

TEST(ExtGrid, SizeWithFormFollowsTheFormsSize)
{
    ExtHost h(4, 4);
    TExtStringGrid& g = h.G();
    g.SetBounds(10, 10, 200, 150);
    g.SetSizeWithForm(true);
    h.Window->resize(h.Window->width() + 30, h.Window->height() - 20);
    Application->ProcessMessages();
    EXPECT_EQ(g.Width(), 230);
    EXPECT_EQ(g.Height(), 130);
    g.SetSizeWithForm(false);
    h.Window->resize(h.Window->width() + 30, h.Window->height());
    Application->ProcessMessages();
    EXPECT_EQ(g.Width(), 230);
}

TEST(ExtGrid, IntegralHeightKeepsWholeRowsAndNeverCreeps)
{
    struct Case {
        int Cols, Requested, Expected;
    };
    // Rows of 21 pixels; five columns fit the width, twelve need a horizontal bar.
    const int bar = GetSystemMetrics(SM_CYHSCROLL);
    const Case cases[] = {
        {5, 300, 300 + 21 - 300 % 21 - bar - 1}, {5, 315 - bar - 1, 315 - bar - 1}, {5, 250, 250 + 21 - 250 % 21 - bar - 1},
        {12, 300, 293}, {12, 293, 293}, {12, 314, 314}, {12, 315, 314},
    };
    for (const Case& k : cases) {
        ExtHost h(k.Cols, 40);
        TExtStringGrid& g = h.G();
        g.SetBounds(0, 0, 420, k.Requested);
        EXPECT_EQ(g.Height(), k.Requested);
        g.SetIntegralHeight(true);
        EXPECT_EQ(g.Height(), k.Expected) << k.Cols << " " << k.Requested;
        // A resize applies the rule again; so does every column-count change, which leaves a fitting
        // height as it is.
        g.SetBounds(0, 0, 420, k.Requested);
        EXPECT_EQ(g.Height(), k.Expected) << k.Cols << " " << k.Requested;
        g.SetColCount(k.Cols);
        g.SetColCount(k.Cols);
        EXPECT_EQ(g.Height(), k.Expected) << k.Cols << " " << k.Requested;
    }
    // Off, or under the redraw lock, the height is left alone.
    ExtHost h(12, 40);
    h.G().SetBounds(0, 0, 420, 300);
    h.G().LockRedraw();
    h.G().SetIntegralHeight(true);
    EXPECT_EQ(h.G().Height(), 300);
    h.G().UnlockRedraw();
    h.G().SetIntegralHeight(false);
    h.G().SetBounds(0, 0, 420, 300);
    EXPECT_EQ(h.G().Height(), 300);
}

TEST(ExtGrid, AutoSizeFitsNormalColumnsTenPixelsWider)
{
    ExtHost h(4, 4);
    TExtStringGrid& g = h.G();
    g.SetCells(2, 2, "a rather longer text than the others");
    g.SetCells(0, 1, "a long text in the fixed column");
    std::vector<int> fit;
    for (int c = 1; c < 4; ++c) {
        g.AutoSizeCol(c);
        fit.push_back(g.ColWidths(c));
        g.SetColWidths(c, 60);
    }
    g.SetAutoSize(true);
    EXPECT_TRUE(g.AutoSize());
    EXPECT_EQ(g.ColWidths(0), 60);
    for (int c = 1; c < 4; ++c) EXPECT_EQ(g.ColWidths(c), fit[static_cast<std::size_t>(c - 1)] + 10) << c;
    EXPECT_GT(g.ColWidths(2), g.ColWidths(1));
    // With an upper limit the added pixels stay within it.
    g.MaxColWidth = 50;
    g.SetAutoSize(true);
    EXPECT_EQ(g.ColWidths(2), 50);
}

TEST(ExtGrid, HiddenRowStoreIsACollectionOfRowsInRealOrder)
{
    ExtHost h(3, 10);
    TExtStringGrid& g = h.G();
    g.SetRowHeights(5, 33);
    g.CellProps(1, 5).BrushColor = 0x123456;
    g.HideRowRange(5, 6);
    g.HideRowRange(2, 2);
    const TCollection& store = g.HiddenRowStore();
    EXPECT_EQ(store.ItemClass().Name(), "TGridItem");
    ASSERT_EQ(store.Count(), 3);
    const int idx[] = {2, 5, 6};
    for (int i = 0; i < 3; ++i) {
        const TGridItem& item = g.HiddenItem(i);
        EXPECT_EQ(item.Idx, idx[i]);
        ASSERT_EQ(item.Items.size(), 3u);
        EXPECT_EQ(item.Items[0].Text, "0:" + std::to_string(idx[i]));
    }
    EXPECT_EQ(g.HiddenItem(1).Height, 33);
    // The cell's properties travel with the row and come back with it.
    ASSERT_NE(g.HiddenItem(1).Items[1].Object, nullptr);
    EXPECT_EQ(g.RowCount(), 7);
    g.UnhideRowRange(5, 6);
    EXPECT_EQ(store.Count(), 1);
    EXPECT_EQ(g.HiddenItem(0).Idx, 2);
    EXPECT_EQ(g.Cells(0, g.RealToDisplayRow(5)), "0:5");
    EXPECT_EQ(g.RowHeights(g.RealToDisplayRow(5)), 33);
    EXPECT_EQ(g.CellProps(1, g.RealToDisplayRow(5)).BrushColor, 0x123456);
    g.UnhideAllRows();
    EXPECT_EQ(store.Count(), 0);
    EXPECT_EQ(g.RowCount(), 10);
    for (int r = 0; r < 10; ++r) EXPECT_EQ(g.Cells(0, r), "0:" + std::to_string(r));
}
