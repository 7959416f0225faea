// The grid's clipboard: text copies byte for byte, text pastes with growing and with the field beyond
// the grid, rich text, the private format against a block written by hand from its tables, round trips
// between two grids, whole grids, damaged blocks that change nothing, cuts that free only what they
// emptied, the smart paste's series (and its pattern where whole numbers would pass 64 bits), and the
// selection resizer that leaves the desktop's clipboard alone.
#include "GridHosts.h"

#include "grid/ExtGridClipboard.h"
#include "platform/controls/Clipbrd.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace gridtest;

namespace {

struct ClipHost : EditGridHost {
    explicit ClipHost(int cols = 4, int rows = 4) : EditGridHost(cols, rows) {}
};

std::string Fixture(const char* name)
{
    std::ifstream in(std::string(VSP_TEST_DATA) + "/grid/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string PrivateBytes(TExtStringGrid& g, const TGridRect& r)
{
    TMemoryStream s;
    g.WriteCellsStream(r, s);
    return std::string(reinterpret_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.Size()));
}

// The desktop's clipboard text pasted over a selection with the smart paste on; the selection's cells
// after it, column by column.
std::vector<std::string> SmartPasted(TExtStringGrid& g, const std::string& clip, const TGridRect& selection)
{
    g.Navigation.AllowSmartClipboard = true;
    Clipboard().SetAsText(clip);
    g.SetSelection(selection);
    g.ClipboardPaste();
    std::vector<std::string> got;
    for (int col = selection.Left; col <= selection.Right; ++col)
        for (int row = selection.Top; row <= selection.Bottom; ++row) got.push_back(g.Cells(col, row));
    return got;
}

} // namespace

TEST(GridClipboard, TextCopiesByteForByte)
{
    ClipHost h;
    TExtStringGrid& g = h.G();
    g.SetCells(1, 1, "a");
    g.SetCells(2, 1, "b");
    g.SetCells(1, 2, "c");
    g.SetCells(2, 2, "d");
    EXPECT_EQ(g.CopyRangeAsText({1, 1, 2, 2}, false), "a\tb\r\nc\td\r\n");
    EXPECT_EQ(g.CopyRangeAsText({1, 1, 2, 1}, false), "a\tb");
    EXPECT_EQ(g.CopyOrigin, (TPoint{1, 1}));
    g.SetCells(3, 1, "x\r\ny");
    EXPECT_EQ(g.CopyRangeAsText({3, 1, 3, 1}, false), "\"x\ny\"");
    // Markup kept or stripped, an empty check box as its check text.
    g.SetCells(1, 3, "<b>bold</b>");
    g.AddCheckBox(2, 3, true, false);
    EXPECT_EQ(g.CopyRangeAsText({1, 3, 2, 3}, false), "<b>bold</b>\tY");
    g.Navigation.CopyHTMLTagsToClipboard = false;
    EXPECT_EQ(g.CopyRangeAsText({1, 3, 1, 3}, false), "bold");
    // The copy goes to the desktop's clipboard.
    g.SetSelection({1, 1, 2, 2});
    g.ClipboardCopy();
    EXPECT_EQ(Clipboard().AsText(), "a\tb\r\nc\td\r\n");
    EXPECT_TRUE(g.LastCopyWasCopy);
}

TEST(GridClipboard, TextPastes)
{
    ClipHost h(3, 3);
    TExtStringGrid& g = h.G();
    EXPECT_EQ(g.PasteText(1, 1, "1\t2\r\n3\t4"), 4);
    EXPECT_EQ((std::vector<std::string>{g.Cells(1, 1), g.Cells(2, 1), g.Cells(1, 2), g.Cells(2, 2)}),
              (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ((std::pair{g.ColCount(), g.RowCount()}), (std::pair{3, 3}));
    // At (2, 2) with both grow options the grid grows to 4 by 4.
    ClipHost k(3, 3);
    EXPECT_EQ(k.G().PasteText(2, 2, "1\t2\r\n3\t4"), 4);
    EXPECT_EQ((std::pair{k.G().ColCount(), k.G().RowCount()}), (std::pair{4, 4}));
    EXPECT_EQ(k.G().Cells(3, 3), "4");
    // Without growing, the fields beyond the grid are not written anywhere.
    ClipHost n(3, 3);
    n.G().Navigation.AllowClipboardColGrow = false;
    n.G().Navigation.AllowClipboardRowGrow = false;
    n.G().PasteText(2, 2, "1\t2\r\n3\t4");
    EXPECT_EQ((std::pair{n.G().ColCount(), n.G().RowCount()}), (std::pair{3, 3}));
    EXPECT_EQ(n.G().Cells(2, 2), "1");
    // A multi-line cell comes back whole; a trailing CR LF counts one more field.
    ClipHost m(3, 3);
    EXPECT_EQ(m.G().PasteText(1, 1, "\"x\ny\"\r\n"), 2);
    EXPECT_EQ(m.G().Cells(1, 1), "x\r\ny");
    // Nothing without a way to edit.
    ClipHost r(3, 3);
    r.G().SetOptions(r.G().Options() - TGridOptions{goEditing});
    EXPECT_EQ(r.G().PasteText(1, 1, "1\t2"), 0);
    EXPECT_EQ(r.G().Cells(1, 1), "");
    // The handler can refuse or change a field.
    g.OnClipboardBeforePasteCell = [](TPersistent*, int c, int, std::string& v, bool& allow) {
        allow = c != 2;
        v = "<" + v + ">";
    };
    g.PasteText(1, 1, "a\tb");
    EXPECT_EQ(g.Cells(1, 1), "<a>");
    EXPECT_EQ(g.Cells(2, 1), "2");
}

TEST(GridClipboard, MeasuresTabText)
{
    struct Case {
        const char* text;
        TPoint size;
    } cases[] = {{"a\tb", {2, 1}}, {"a\tb\r\n", {2, 1}}, {"a\r\nb", {1, 2}}, {"", {1, 1}}, {"a\tb\tc\r\nd", {3, 2}}, {"a\nb", {1, 1}}};
    for (const Case& c : cases) EXPECT_EQ(TExtStringGrid::MeasureTabText(c.text), c.size) << c.text;
}

TEST(GridClipboard, PrivateFormatAgainstTheHandWrittenBlock)
{
    ClipHost h(4, 3);
    TExtStringGrid& g = h.G();
    g.SetClipboardID(7);
    g.SetColWidths(1, 64);
    g.SetColWidths(2, 64);
    g.SetRowHeights(1, 24);
    g.SetCells(1, 1, "Cr\xE8me");
    g.CellProps(1, 1).BrushColor = clRed;
    auto* bmp = new TBitmap(2, 2);
    bmp->SetPixelRGB(0, 0, 0x0000FF);
    bmp->SetPixelRGB(1, 0, 0x00FF00);
    bmp->SetPixelRGB(0, 1, 0xFF0000);
    bmp->SetPixelRGB(1, 1, 0xFFFFFF);
    g.AddBitmap(1, 1, bmp, true, haLeft, vaTop);
    g.CellGraphicOf(1, 1)->CellValue = 2.5;
    std::string longText;
    for (int i = 0; i < 300; ++i) longText += static_cast<char>('a' + i % 26);
    g.SetCells(2, 1, longText);
    const std::string fixture = Fixture("cells_block.bin");
    ASSERT_FALSE(fixture.empty());
    EXPECT_EQ(PrivateBytes(g, {1, 1, 2, 1}), fixture);
    // Read back into another grid at (0, 1).
    ClipHost k(4, 4);
    TMemoryStream s;
    s.WriteBytes(fixture);
    s.SetPosition(0);
    k.G().PasteCellsStream({0, 1}, s);
    EXPECT_EQ(k.G().Cells(0, 1), "Cr\xE8me");
    EXPECT_EQ(k.G().Cells(1, 1), longText);
    EXPECT_EQ(k.G().CellProps(0, 1).BrushColor, clRed);
    ASSERT_EQ(k.G().CellTypeOf(0, 1), ctBitmap);
    const TCellGraphic& gr = *k.G().CellGraphicOf(0, 1);
    EXPECT_EQ(gr.CellValue, 2.5);
    EXPECT_TRUE(gr.CellCreated);
    const TBitmap* copy = gr.CellObject.As<TBitmap>();
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, bmp);
    EXPECT_EQ(copy->PixelRGB(1, 0), 0x00FF00u);
    EXPECT_EQ(copy->PixelRGB(0, 1), 0xFF0000u);
}

TEST(GridClipboard, RoundTripsBetweenTwoGrids)
{
    ClipHost a(5, 5), b(5, 5);
    TExtStringGrid& g = a.G();
    g.Navigation.AllowFmtClipboard = true;
    b.G().Navigation.AllowFmtClipboard = true;
    TBitmap mine(3, 3);
    g.AddBitmap(1, 1, new TBitmap(4, 4), true, haLeft, vaTop);
    g.AddBitmap(2, 1, &mine, false, haLeft, vaTop);
    g.AddRadio(3, 1, true, {"one", "two"}, 1);
    g.AddMultiImage(1, 2, {3, 1, 2}, true, haLeft, vaTop);
    g.AddComment(2, 2, "note");
    g.SetCells(3, 2, "plain");
    g.CellProps(3, 2).FontStyle = {fsBold, fsItalic};
    g.CellProps(3, 2).FontName = "Courier New";
    g.SetSelection({1, 1, 3, 2});
    g.ClipboardCopy();
    EXPECT_TRUE(Clipboard().HasFormat(GridCellsFormat));
    EXPECT_EQ(b.G().PasteAt(1, 1), 6);
    TExtStringGrid& t = b.G();
    ASSERT_EQ(t.CellTypeOf(1, 1), ctBitmap);
    EXPECT_EQ(t.CellGraphicOf(1, 1)->CellObject.As<TBitmap>()->Width(), 4);
    // A referenced bitmap comes with the cell's properties but without a graphic.
    EXPECT_TRUE(t.HasCellProps(2, 1));
    EXPECT_EQ(t.CellTypeOf(2, 1), ctEmpty);
    ASSERT_NE(t.RadioItemsOf(3, 1), nullptr);
    EXPECT_EQ(t.RadioItemsOf(3, 1)->Count(), 2);
    int index = -1;
    t.RadioIndexOf(3, 1, index);
    EXPECT_EQ(index, 1);
    ASSERT_NE(t.ImageListOf(1, 2), nullptr);
    EXPECT_EQ(t.ImageListOf(1, 2)->ValuesText(), "3,1,2");
    std::string comment;
    EXPECT_TRUE(t.CommentOf(2, 2, comment));
    EXPECT_EQ(comment, "note");
    EXPECT_EQ(t.Cells(3, 2), "plain");
    EXPECT_EQ(t.CellProps(3, 2).FontStyle, (TFontStyles{fsBold, fsItalic}));
    EXPECT_EQ(t.CellProps(3, 2).FontName, "Courier New");
}

TEST(GridClipboard, AWholeGridTakesItsCountsAndSizes)
{
    ClipHost a(3, 4), b(6, 6);
    TExtStringGrid& g = a.G();
    g.SetColWidths(1, 91);
    g.SetRowHeights(2, 33);
    g.SetCells(2, 3, "last");
    b.G().SetCells(5, 5, "old");
    TMemoryStream s;
    g.WriteCellsStream({0, 0, 2, 3}, s);
    s.SetPosition(0);
    b.G().PasteCellsStream({0, 0}, s);
    EXPECT_EQ((std::pair{b.G().ColCount(), b.G().RowCount()}), (std::pair{3, 4}));
    EXPECT_EQ(b.G().ColWidths(1), 91);
    EXPECT_EQ(b.G().RowHeights(2), 33);
    EXPECT_EQ(b.G().Cells(2, 3), "last");
}

TEST(GridClipboard, ADamagedBlockChangesNothing)
{
    ClipHost a(4, 4);
    a.G().SetCells(1, 1, "x");
    a.G().SetCells(2, 2, "y");
    const std::string good = PrivateBytes(a.G(), {1, 1, 2, 2});
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"cut short", good.substr(0, good.size() - 5)},
        {"not a record", "XXXX" + good.substr(4)},
        {"a cell record first", good.substr(good.find("TPF0", 4))},
        {"widths that do not count", [&] {
             std::string b = good;
             const auto at = b.find("64,64");
             if (at != std::string::npos) b.replace(at, 5, "64x64");
             return b;
         }()},
        // A bitmap that does not decode (found by the cells fuzz target: its own picture error escaped).
        {"a bitmap that is no bitmap", [] {
             std::string b = Fixture("cells_block.bin");
             const auto at = b.find("BM");
             if (at != std::string::npos) b.replace(at, 2, "XX");
             return b;
         }()},
    };
    for (const Case& c : cases) {
        ClipHost b(4, 4);
        b.G().SetCells(1, 1, "keep");
        TMemoryStream s;
        s.WriteBytes(c.bytes);
        s.SetPosition(0);
        EXPECT_THROW(b.G().PasteCellsStream({1, 1}, s), EReadError) << c.name;
        EXPECT_EQ(b.G().Cells(1, 1), "keep") << c.name;
        EXPECT_EQ(b.G().Cells(2, 2), "") << c.name;
    }
}

TEST(GridClipboard, CutFreesOnlyWhatItEmptied)
{
    ClipHost h(4, 4);
    TExtStringGrid& g = h.G();
    g.Navigation.AllowFmtClipboard = true;
    g.SetCells(1, 1, "a");
    g.SetCells(2, 1, "b");
    g.CellProps(1, 1).BrushColor = clRed;
    g.CellProps(2, 1).BrushColor = clBlue;
    g.CellProps(2, 1).ReadOnly = true;
    g.SetSelection({1, 1, 2, 1});
    g.ClipboardCut();
    EXPECT_FALSE(g.LastCopyWasCopy);
    EXPECT_EQ(g.Cells(1, 1), "");
    EXPECT_FALSE(g.HasCellProps(1, 1));
    EXPECT_EQ(g.Cells(2, 1), "b");
    ASSERT_TRUE(g.HasCellProps(2, 1));
    EXPECT_EQ(g.CellProps(2, 1).BrushColor, clBlue);
    EXPECT_EQ(Clipboard().AsText(), "a\tb");
}

TEST(GridClipboard, RichTextGoesIntoOneCell)
{
    ClipHost a(4, 4), b(4, 4);
    a.G().Navigation.AllowRTFClipboard = true;
    b.G().Navigation.AllowRTFClipboard = true;
    const std::string rtf = "{\\rtf1 {\\b bold}}";
    a.G().SetCells(1, 1, rtf);
    a.G().SetSelection({1, 1, 1, 1});
    a.G().ClipboardCopy();
    EXPECT_EQ(Clipboard().Format(GridRichTextFormat), rtf);
    EXPECT_EQ(Clipboard().AsText(), "bold");
    EXPECT_EQ(b.G().PasteAt(2, 2), 0);
    EXPECT_EQ(b.G().Cells(2, 2), rtf);
}

TEST(GridClipboard, SmartPasteSeries)
{
    struct Case {
        const char* name;
        std::string clip;
        TGridRect selection;
        std::vector<std::string> want;   // the selection's cells, column by column
    } cases[] = {
        {"numbers down a column", "1\r\n3\r\n", {1, 1, 1, 6}, {"1", "3", "5", "7", "9", "11"}},
        {"numbers along a row", "2\t4", {1, 1, 4, 1}, {"2", "4", "6", "8"}},
        {"decimals", "0.5\r\n1\r\n", {1, 1, 1, 4}, {"0.50", "1.00", "1.50", "2.00"}},
        {"a pattern of text", "a\r\nb\r\n", {1, 1, 1, 5}, {"a", "b", "a", "b", "a"}},
        {"one value everywhere", "v", {1, 1, 3, 2}, {"v", "v", "v", "v", "v", "v"}},
    };
    for (const Case& c : cases) {
        ClipHost h(6, 8);
        int before = 0;
        h.G().OnClipboardBeforePasteCell = [&](TPersistent*, int, int, std::string&, bool&) { ++before; };
        EXPECT_EQ(SmartPasted(h.G(), c.clip, c.selection), c.want) << c.name;
        if (std::string(c.name) == "one value everywhere") {
            EXPECT_EQ(before, 1 + 5);
        }
    }
    // Dates in a day-first locale step by months.
    FormatSettings().DateSeparator = '/';
    FormatSettings().ShortDateFormat = "dd/mm/yyyy";
    ClipHost h(4, 8);
    h.G().Navigation.AllowSmartClipboard = true;
    Clipboard().SetAsText("01/01/2005\r\n01/02/2005\r\n");
    h.G().SetSelection({1, 1, 1, 4});
    h.G().ClipboardPaste();
    EXPECT_EQ((std::vector<std::string>{h.G().Cells(1, 1), h.G().Cells(1, 2), h.G().Cells(1, 3), h.G().Cells(1, 4)}),
              (std::vector<std::string>{"01/01/2005", "01/02/2005", "01/03/2005", "01/04/2005"}));
    ResetFormatSettings();
}

TEST(GridClipboard, SmartPasteOfWholeNumbersBeyond64BitsRepeatsThePattern)
{
    // When the step or a value to write passes the 64-bit range the values make no series.
    struct Case {
        const char* name;
        std::string clip;
        TGridRect selection;
        std::vector<std::string> want;
    } cases[] = {
        {"a step beyond the range", "-9000000000000000000\r\n9000000000000000000\r\n", {1, 1, 1, 5},
         {"-9000000000000000000", "9000000000000000000", "-9000000000000000000", "9000000000000000000", "-9000000000000000000"}},
        {"a value beyond the range", "9223372036854775800\t9223372036854775805", {1, 1, 4, 1},
         {"9223372036854775800", "9223372036854775805", "9223372036854775800", "9223372036854775805"}},
        {"downwards beyond the range", "-9223372036854775800\r\n-9223372036854775805\r\n", {1, 1, 1, 3},
         {"-9223372036854775800", "-9223372036854775805", "-9223372036854775800"}},
        {"the last value on the limit is a series", "9223372036854775797\t9223372036854775802", {1, 1, 3, 1},
         {"9223372036854775797", "9223372036854775802", "9223372036854775807"}},
    };
    for (const Case& c : cases) {
        ClipHost h(6, 8);
        EXPECT_EQ(SmartPasted(h.G(), c.clip, c.selection), c.want) << c.name;
    }
}

TEST(GridClipboard, TheResizerRepeatsTheSelectionAndLeavesTheClipboardAlone)
{
    ClipHost h(4, 8);
    TExtStringGrid& g = h.G();
    g.SetSelectionRectangle(true);
    g.SetSelectionResizer(true);
    g.Navigation.AllowSmartClipboard = true;
    g.SetCells(1, 1, "1");
    g.SetCells(1, 2, "2");
    g.SetSelection({1, 1, 1, 2});
    Clipboard().SetAsText("the user's");
    TGridRect origin{}, resized{};
    g.OnSelectionResize = [&](TPersistent*, const TGridRect& a, const TGridRect& b) {
        origin = a;
        resized = b;
    };
    const TRect corner = g.CellRect(1, 2);
    QWidget* w = g.Widget();
    auto send = [&](QEvent::Type t, int x, int y, Qt::MouseButtons held) { SendMouse(w, t, x, y, held); };
    send(QEvent::MouseMove, corner.Right - 2, corner.Bottom - 2, Qt::NoButton);
    send(QEvent::MouseButtonPress, corner.Right - 2, corner.Bottom - 2, Qt::LeftButton);
    const TRect target = g.CellRect(1, 5);
    send(QEvent::MouseMove, target.Left + 5, target.Top + 5, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, target.Left + 5, target.Top + 5, Qt::NoButton);
    EXPECT_EQ(origin, (TGridRect{1, 1, 1, 2}));
    EXPECT_EQ(resized, (TGridRect{1, 1, 1, 5}));
    EXPECT_EQ((std::vector<std::string>{g.Cells(1, 3), g.Cells(1, 4), g.Cells(1, 5)}), (std::vector<std::string>{"3", "4", "5"}));
    EXPECT_EQ(Clipboard().AsText(), "the user's");
}
