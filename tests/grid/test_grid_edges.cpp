// Edge cases of the grid component as tables: the cell checker, loading and writer rules, the active
// cell's headers, read-only cells, fixed footers, the appearance of fixed and selected cells, painting
// (default drawing, float formats, links, line breaks, the flat look, how often a long text is measured),
// the editor's character filters, length limit, completion and caret walks, validation variants, Home and
// the keypad separator, the auxiliary lists, scroll hints, automatic sizing, the prefix search and row
// removal.
#include "GridHosts.h"

#include "grid/ExtObj.h"
#include "platform/controls/ShellApi.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/RecordingBackend.h"
#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

using namespace gridtest;

namespace {

struct Host {
    Host(int cols = 5, int rows = 6, bool fill = true)
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
        Grid->SetDefaultRowHeight(20);
        if (fill)
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < cols; ++c) Grid->SetCells(c, r, std::to_string(c) + ":" + std::to_string(r));
        Window->show();
        Window->activateWindow();
        Application->ProcessMessages();
    }
    TExtStringGrid& G() { return *Grid; }
    QWidget* W() { return Grid->Widget(); }
    TExtInplaceEdit* Editor() { return dynamic_cast<TExtInplaceEdit*>(Grid->InplaceEditor()); }
    void Paint()
    {
        Grid->Invalidate();
        Grid->Update();
    }
    std::vector<TColor> Pixels(const TRect& r)
    {
        std::vector<TColor> v;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) v.push_back(Grid->Canvas().GetPixel(x, y));
        return v;
    }
    std::unique_ptr<QWidget> Window;
    std::unique_ptr<TExtStringGrid> Grid;
};

// A checker that upper-cases every value it corrects.
class TUpperChecker : public TExtStringGridCheck {
public:
    using TExtStringGridCheck::TExtStringGridCheck;
    std::string CorrectText(int, int, const std::string& v) override
    {
        std::string s = v;
        for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return s;
    }
};

} // namespace

TEST(GridEdges, CheckerCorrectsOnlyWithAutoCorrect)
{
    for (bool autoCorrect : {true, false}) {
        Host h;
        TExtStringGrid& g = h.G();
        g.SetOptions(g.Options() + TGridOptions{goEditing});
        TUpperChecker checker(nullptr);
        checker.AutoCorrect = autoCorrect;
        g.SetCellChecker(&checker);
        g.SetFocus();
        g.MoveColRow(1, 1, true, true);
        Type(h.W(), "a");
        Key(h.Editor()->Widget(), Qt::Key_Return, Qt::NoModifier, "\r");
        EXPECT_EQ(g.Cells(1, 1), autoCorrect ? "A" : "a");
        g.SetCellChecker(nullptr);
    }
}

TEST(GridEdges, LoadingAndWriterRules)
{
    Host h;
    TExtStringGrid& g = h.G();
    // A fresh grid: class-library widths and a bold Tahoma fixed font.
    TExtStringGrid fresh(nullptr);
    EXPECT_EQ(fresh.DefaultColWidth(), 64);
    EXPECT_EQ(fresh.FixedFont().Name(), "Tahoma");
    EXPECT_TRUE(fresh.FixedFont().Style().Contains(fsBold));
    // goAlwaysShowEditor streamed in turns into Navigation.AlwaysEdit.
    TExtStringGrid loaded(nullptr);
    loaded.BeginLoading();
    loaded.SetOptions(loaded.Options() + TGridOptions{goAlwaysShowEditor});
    loaded.Loaded();
    EXPECT_FALSE(loaded.Options().Contains(goAlwaysShowEditor));
    EXPECT_TRUE(loaded.Navigation.AlwaysEdit);
    // Writers that change nothing visible do not repaint.
    h.Paint();
    const int stamp = g.PaintStamp();
    g.SetURLShow(false);
    g.SetURLColor(clRed);
    g.SetLook(g.Look());
    g.Update();
    EXPECT_EQ(g.PaintStamp(), stamp);
    // The cell checker going away leaves the reference empty.
    auto* checker = new TExtStringGridCheck(nullptr);
    g.SetCellChecker(checker);
    delete checker;
    EXPECT_EQ(g.CellChecker(), nullptr);
}

TEST(GridEdges, ActiveCellShowPaintsTheHeadersOfTheCurrentCell)
{
    Host h(5, 7);
    TExtStringGrid& g = h.G();
    g.SetLook(glStandard);
    g.SetActiveCellShow(true);
    g.SetActiveCellColor(0x00FF00);
    g.MoveColRow(3, 5, true, true);
    h.Paint();
    auto inside = [&](int c, int r) {
        const TRect cr = g.CellRect(c, r);
        return g.Canvas().GetPixel(cr.Right - 3, cr.Top + 3);
    };
    EXPECT_EQ(inside(0, 5), 0x00FF00u);
    EXPECT_EQ(inside(3, 0), 0x00FF00u);
    EXPECT_NE(inside(0, 4), 0x00FF00u);
    EXPECT_NE(inside(2, 0), 0x00FF00u);
    EXPECT_NE(inside(3, 5), 0x00FF00u);
}

TEST(GridEdges, ReadOnlyCellsAndTheEditSeed)
{
    Host h;
    TExtStringGrid& g = h.G();
    g.CellProps(1, 1).ReadOnly = true;
    struct Case {
        bool editing, handler, seed, want;
    } cases[] = {{true, false, true, false}, {true, true, true, true}, {false, false, true, true}, {false, false, false, false}};
    for (const Case& c : cases) {
        g.SetOptions(c.editing ? g.Options() + TGridOptions{goEditing} : g.Options() - TGridOptions{goEditing});
        g.OnCanEditCell = nullptr;
        if (c.handler) g.OnCanEditCell = [](TPersistent*, int, int, bool& can) { can = true; };
        bool can = c.seed;
        g.CanEditCell(1, 1, can);
        EXPECT_EQ(can, c.want) << c.editing << c.handler << c.seed;
    }
    // The handler hears the base cell of a merged block.
    g.OnCanEditCell = nullptr;
    g.MergeCellRange(2, 2, 2, 2);
    TPoint asked{-1, -1};
    g.OnCanEditCell = [&](TPersistent*, int r, int c, bool&) { asked = {c, r}; };
    bool can = true;
    g.CanEditCell(3, 3, can);
    EXPECT_EQ(asked, (TPoint{2, 2}));
}

TEST(GridEdges, FootersAndRightColumnsAreFixedWithoutAsking)
{
    Host h(6, 8);
    TExtStringGrid& g = h.G();
    g.SetFixedFooters(1);
    g.SetFixedRightCols(1);
    std::vector<TPoint> asked;
    g.OnIsFixedCell = [&](TPersistent*, int r, int c, bool&) { asked.push_back({c, r}); };
    EXPECT_TRUE(g.IsFixedCell(2, 7));
    EXPECT_TRUE(g.IsFixedCell(5, 3));
    EXPECT_TRUE(asked.empty());
    EXPECT_FALSE(g.IsFixedCell(2, 3));
    EXPECT_EQ(asked.size(), 1u);
    // FixedColAlways with one column: column 0 is fixed.
    Host k(1, 3);
    k.G().FixedColAlways = true;
    bool fixed = false;
    k.G().GetCellFixed(0, 2, fixed);
    EXPECT_TRUE(fixed);
    std::string t, f;
    k.G().GetCheckTrue(0, 0, t);
    k.G().GetCheckFalse(0, 0, f);
    EXPECT_EQ(t + f, "YN");
}

TEST(GridEdges, MappingWithoutHiddenColumnsIsTheIdentity)
{
    Host h;
    for (int c : {0, 3, 511, 512, 4000}) {
        EXPECT_EQ(h.G().DisplayToRealCol(c), c);
        EXPECT_EQ(h.G().RealToDisplayCol(c), c);
        EXPECT_FALSE(h.G().IsHiddenColumn(c));
    }
}

TEST(GridEdges, FixedCellColoursAndAutoNumAlign)
{
    Host h;
    TExtStringGrid& g = h.G();
    TBrush brush;
    TFont font;
    auto resolve = [&](int c, int r) {
        TGridDrawState st;
        TColor to = clNone;
        TAlignment ha;
        TVAlignment va;
        bool wrap = false;
        g.ResolveCellAppearance(c, r, st, false, true, true, brush, to, font, ha, va, wrap);
        return ha;
    };
    g.FixedFont().SetColor(0x0000AA);
    g.CellProps(0, 2).BrushColor = clRed;
    resolve(0, 2);
    EXPECT_EQ(brush.Color(), clRed);
    EXPECT_EQ(font.Color(), 0x0000AAu);
    g.CellProps(0, 2).FontColor = 0x00AA00;
    resolve(0, 2);
    EXPECT_EQ(font.Color(), 0x00AA00u);
    // Numbers right-aligned, in a decimal-comma locale too.
    g.AutoNumAlign = true;
    FormatSettings().DecimalSeparator = ',';
    FormatSettings().ThousandSeparator = '.';
    struct Case {
        const char* text;
        TAlignment want;
    } cases[] = {{"12", taRightJustify}, {"-3", taRightJustify}, {"1,5", taRightJustify}, {"1.234,5", taRightJustify},
                 {"1--2", taLeftJustify}, {"1,2,3", taLeftJustify}, {"abc", taLeftJustify}};
    for (const Case& c : cases) {
        g.SetCells(3, 3, c.text);
        EXPECT_EQ(resolve(3, 3), c.want) << c.text;
    }
    ResetFormatSettings();
    g.SetCells(2, 3, "12");
    g.CellProps(2, 3).FontColor = clRed;   // properties keep their own (left) alignment
    EXPECT_EQ(resolve(2, 3), taLeftJustify);
}

TEST(GridEdges, NoSelectionColourPaintsDisjunctRowsInTheHighlight)
{
    Host h(5, 6);
    TExtStringGrid& g = h.G();
    g.SetLook(glStandard);
    g.SetOptions(g.Options() + TGridOptions{goRowSelect});
    g.MouseActions.DisjunctRowSelect = true;
    g.SetSelectionColor(clNone);
    g.SetRowSelected(3, true);
    h.Paint();
    const TRect r = g.CellRect(2, 3);
    EXPECT_EQ(g.Canvas().GetPixel(r.Right - 3, r.Top + 3), ColorToRGB(clHighlight));
}

TEST(GridEdges, DefaultDrawingChangesNothing)
{
    Host h;
    h.Paint();
    const auto before = h.Pixels({0, 0, 300, 120});
    h.G().SetDefaultDrawing(!h.G().DefaultDrawing());
    h.Paint();
    EXPECT_EQ(h.Pixels({0, 0, 300, 120}), before);
}

TEST(GridEdges, SelectedCellWithoutFocusFollowsShowSelection)
{
    for (bool show : {true, false}) {
        Host h;
        TExtStringGrid& g = h.G();
        g.SetLook(glStandard);
        g.SetOptions(g.Options() + TGridOptions{goRangeSelect});
        g.OnGetCellColor = [](TPersistent*, int, int, TGridDrawState, TBrush& b, TFont&) { b.SetColor(0x00FFFF); };
        g.SetSelectionColor(0xFF0000);
        g.SetShowSelection(show);
        g.SetSelection({1, 1, 3, 3});
        QWidget other(h.Window.get());
        other.setFocusPolicy(Qt::StrongFocus);
        other.show();
        other.setFocus();
        Application->ProcessMessages();
        h.Paint();
        const TRect r = g.CellRect(2, 2);
        EXPECT_EQ(g.Canvas().GetPixel(r.Right - 3, r.Top + 3), show ? 0xFF0000u : 0x00FFFFu) << show;
    }
}

TEST(GridEdges, FloatFormatOnlyThroughTheEvent)
{
    Host h;
    TExtStringGrid& g = h.G();
    g.SetCells(1, 1, "12.5");
    std::string text;
    g.GetFloatFormattedText(1, 1, text);
    EXPECT_EQ(text, "12.5");
    g.OnGetFloatFormat = [](TPersistent*, int, int, bool&, std::string&) {};
    g.GetFloatFormattedText(1, 1, text);
    EXPECT_EQ(text, "12.50");
    g.OnGetFloatFormat = [](TPersistent*, int, int, bool& isFloat, std::string&) { isFloat = false; };
    g.GetFloatFormattedText(1, 1, text);
    EXPECT_EQ(text, "12.5");
}

TEST(GridEdges, LinksLineBreaksAndTheFlatLook)
{
    // Each text in cell (1, 1) of a wide column: a link shows blue ink as wide as the text it shows;
    // anything else looks like the same text written plainly in cell (1, 2).
    struct Case {
        const char* text;
        bool url, full;
        const char* shown;
        bool link;
    } cases[] = {{"see x.org", true, false, "see x.org", false},
                 {"http://x.org", true, false, "x.org", true},
                 {"http://x.org", true, true, "http://x.org", true},
                 {"one\r\ntwo", false, false, "one", false}};
    for (const Case& c : cases) {
        Host h(3, 4);
        TExtStringGrid& g = h.G();
        g.SetLook(glStandard);
        g.SetColWidths(1, 200);
        g.SetCells(1, 1, c.text);
        g.SetCells(1, 2, c.shown);
        g.MoveColRow(2, 3, true, true);
        g.SetURLShow(c.url);
        g.SetURLFull(c.full);
        g.SetWordWrap(false);
        h.Paint();
        const TRect a = g.CellRect(1, 1), b = g.CellRect(1, 2);
        if (c.link) {
            int left = 9999, right = -1;
            for (int y = a.Top; y < a.Bottom; ++y)
                for (int x = a.Left; x < a.Right; ++x)
                    if (g.Canvas().GetPixel(x, y) == ColorToRGB(clBlue)) left = std::min(left, x), right = std::max(right, x);
            ASSERT_GE(right, 0) << c.text;
            g.Canvas().Font().Assign(g.Font());
            EXPECT_NEAR(right - left + 1, g.Canvas().TextWidth(c.shown), 2) << c.text;
        } else {
            EXPECT_EQ(h.Pixels({a.Left, a.Top, a.Right, a.Bottom}), h.Pixels({b.Left, b.Top, b.Right, b.Bottom})) << c.text;
        }
    }
    // Multi-line cells show both lines.
    Host h(3, 4);
    TExtStringGrid& g = h.G();
    g.SetWordWrap(false);
    g.MoveColRow(2, 3, true, true);
    g.SetRowHeights(1, 40);
    g.SetCells(1, 1, "one\r\ntwo");
    h.Paint();
    const TRect r = g.CellRect(1, 1);
    auto inkBelow = [&] {
        int ink = 0;
        for (int y = r.Top + 20; y < r.Bottom - 3; ++y)
            for (int x = r.Left + 2; x < r.Right - 3; ++x) ink += g.Canvas().GetPixel(x, y) != g.Canvas().GetPixel(r.Right - 4, r.Bottom - 4);
        return ink;
    };
    EXPECT_EQ(inkBelow(), 0);
    g.Multilinecells = true;
    h.Paint();
    EXPECT_GT(inkBelow(), 0);
    // The flat look draws no gradient nor frame lines on fixed cells.
    g.SetLook(glXP);
    g.SetFlat(true);
    h.Paint();
    const TRect f = g.CellRect(1, 0);
    EXPECT_EQ(g.Canvas().GetPixel(f.Left + 5, f.Top + 1), ColorToRGB(g.FixedColor()));
    EXPECT_EQ(g.Canvas().GetPixel(f.Left + 5, f.Bottom - 2), ColorToRGB(g.FixedColor()));
}

TEST(GridEdges, ALongCellTextPaintsWithABoundedNumberOfMeasurementsPerLine)
{
    // One paint of a cell of n characters on the recording canvas (characters 5 pixels wide, 12 to a line of
    // the 64-pixel cell): the device is asked a bounded number of times per line of the cell, for a bounded
    // number of characters per character of the text.
    struct Case {
        const char* Name;
        bool WordWrap, Ellipsis;
        char Every8th;       // a blank between words of 7 characters, or one unbroken word
    } cases[] = {
        {"one word wrapped at the cell's edge", true, false, 'x'},
        {"words wrapped at blanks", true, false, ' '},
        {"one line cut with an ellipsis", false, true, ' '},
        {"one line cut at the edge", false, false, 'x'},
    };
    for (const Case& c : cases)
        for (const std::size_t n : {1000u, 10000u, 100000u}) {
            std::string text(n, 'x');
            for (std::size_t i = 7; i < n; i += 8) text[i] = c.Every8th;
            TExtStringGrid g(nullptr);
            g.SetColCount(3);
            g.SetRowCount(3);
            g.SetWordWrap(c.WordWrap);
            g.EnhTextSize = c.Ellipsis;
            g.SetCells(1, 1, text);
            auto device = std::make_shared<TRecordingBackend>(1000, 1000);
            TCanvas canvas(device);
            canvas.Font().Assign(g.Font());
            g.DrawCellContent(canvas, 1, 1, {0, 0, 64, 200}, {});
            const std::size_t lines = c.WordWrap ? n / 7 + 1 : 1;
            const std::string what = std::string(c.Name) + ", n = " + std::to_string(n);
            EXPECT_FALSE(device->OfKind("TextOut").empty()) << what;
            EXPECT_LE(device->MeasureCalls, 6 * lines + 20) << what;
            EXPECT_LE(device->MeasuredChars, 6 * n + 200) << what;
        }
}

TEST(GridEdges, EditorLengthLimit)
{
    Host h;
    TExtStringGrid& g = h.G();
    g.SetOptions(g.Options() + TGridOptions{goEditing});
    g.SetMaxEditLength(5);
    g.SetFocus();
    g.MoveColRow(1, 1, true, true);
    const int beeps = MessageBeepCount();
    Type(h.W(), "1");
    QWidget* e = h.Editor()->Widget();
    Type(e, "23456");
    EXPECT_EQ(h.Editor()->Text(), "12345");
    EXPECT_EQ(MessageBeepCount(), beeps);
    Key(e, Qt::Key_Backspace, Qt::NoModifier, "\b");
    EXPECT_EQ(h.Editor()->Text(), "1234");
    // Typing over a selection at the limit is allowed.
    Type(e, "5");
    h.Editor()->SetSelStart(0);
    h.Editor()->SetSelLength(1);
    Type(e, "9");
    EXPECT_EQ(h.Editor()->Text(), "92345");
    Key(e, Qt::Key_Escape, Qt::NoModifier, "\x1b");
    EXPECT_EQ(g.Cells(1, 1), "1:1");
    // Without a limit anything goes.
    g.SetMaxEditLength(0);
    g.MoveColRow(2, 2, true, true);
    Type(h.W(), "1");
    Type(h.Editor()->Widget(), "2345678");
    EXPECT_EQ(h.Editor()->Text(), "12345678");
}

TEST(GridEdges, CharacterFiltersOfNumericAndFloatCells)
{
    Host h;
    TExtStringGrid& g = h.G();
    g.SetOptions(g.Options() + TGridOptions{goEditing});
    TEditorType type = edNumeric;
    g.OnGetEditorType = [&](TPersistent*, int, int, TEditorType& t) { t = type; };
    struct Case {
        TEditorType type;
        const char* start;   // the editor's text, caret at the end
        char typed;
        const char* want;
        bool beep;
    } cases[] = {
        {edNumeric, "12", '-', "12", true},  {edNumeric, "", '-', "-", false},   {edNumeric, "-", '-', "-", true},
        {edFloat, "1.5", '.', "1.5", false}, {edFloat, "1", ',', "1", false},     {edFloat, "1", 'a', "1", false},
        {edFloat, "1", '.', "1.", false},    {edNumeric, "1", '7', "17", false},
    };
    g.SetFocus();
    for (const Case& c : cases) {
        type = c.type;
        g.HideEditor();
        g.MoveColRow(2, 2, true, true);
        g.MoveColRow(1, 1, true, true);
        g.ShowEditor();
        ASSERT_NE(h.Editor(), nullptr);
        h.Editor()->SetText(c.start);
        h.Editor()->SetSelStart(static_cast<int>(std::string(c.start).size()));
        const int beeps = MessageBeepCount();
        Type(h.Editor()->Widget(), std::string(1, c.typed));
        EXPECT_EQ(h.Editor()->Text(), c.want) << c.type << " '" << c.start << "' + " << c.typed;
        EXPECT_EQ(MessageBeepCount() - beeps, c.beep ? 1 : 0) << c.type << " '" << c.start << "' + " << c.typed;
    }
    // A second point replaces a selected first one.
    type = edFloat;
    g.HideEditor();
    g.MoveColRow(2, 2, true, true);
    g.MoveColRow(1, 1, true, true);
    g.ShowEditor();
    ASSERT_EQ(g.EditorType(), edFloat);
    h.Editor()->SetText("1.5");
    h.Editor()->SetSelStart(1);
    h.Editor()->SetSelLength(1);
    Type(h.Editor()->Widget(), ".");
    EXPECT_EQ(h.Editor()->Text(), "1.5");
    EXPECT_EQ(h.Editor()->SelStart(), 2);
}

TEST(GridEdges, LookupCompletion)
{
    Host h;
    TExtStringGrid& g = h.G();
    g.SetOptions(g.Options() + TGridOptions{goEditing});
    g.Lookup = true;
    g.LookupItems = {"alpha", "Bravo"};
    g.SetFocus();
    g.MoveColRow(1, 1, true, true);
    // The key goes down on the grid, which opens the editor; it comes up in the editor.
    auto typeOnGrid = [&](const char* ch) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, ch);
        QApplication::sendEvent(h.W(), &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_B, Qt::NoModifier, ch);
        QApplication::sendEvent(h.Editor()->Widget(), &release);
    };
    typeOnGrid("b");
    TExtInplaceEdit* e = h.Editor();
    EXPECT_EQ(e->Text(), "bravo");
    EXPECT_EQ(e->SelStart(), 1);
    EXPECT_EQ(e->SelLength(), 4);
    Type(e->Widget(), "r");   // replaces the selection, completes again
    EXPECT_EQ(e->Text(), "bravo");
    EXPECT_EQ(e->SelStart(), 2);
    Key(e->Widget(), Qt::Key_Backspace, Qt::NoModifier, "\b");
    EXPECT_EQ(e->Text(), "br");
    // Case-sensitive lookup finds nothing for "b".
    Key(e->Widget(), Qt::Key_Escape, Qt::NoModifier, "\x1b");
    g.LookupCaseSensitive = true;
    g.HideEditor();
    g.MoveColRow(2, 1, true, true);
    typeOnGrid("b");
    EXPECT_EQ(h.Editor()->Text(), "b");
}

TEST(GridEdges, CaretWalksAndTheEditorOfAMergedBlock)
{
    Host h;
    TExtStringGrid& g = h.G();
    g.SetOptions(g.Options() + TGridOptions{goEditing});
    g.Navigation.CursorWalkEditor = true;
    g.SetFocus();
    g.MoveColRow(1, 1, true, true);
    g.ShowEditor();
    TExtInplaceEdit* e = h.Editor();
    e->SetSelStart(static_cast<int>(e->Text().size()));
    Key(e->Widget(), Qt::Key_Right);
    EXPECT_EQ((std::pair{g.Col(), g.Row()}), (std::pair{2, 1}));
    EXPECT_TRUE(g.EditorMode());
    h.Editor()->SetSelStart(0);
    Key(h.Editor()->Widget(), Qt::Key_Left);
    EXPECT_EQ((std::pair{g.Col(), g.Row()}), (std::pair{1, 1}));
    EXPECT_TRUE(g.EditorMode());
    // A merged block is edited over its whole area.
    g.HideEditor();
    g.MergeCellRange(2, 2, 2, 2);
    g.MoveColRow(2, 2, true, true);
    g.ShowEditor();
    const TRect block = g.CellSpanRect(2, 2);
    EXPECT_GE(h.Editor()->Width(), block.Right - block.Left - 4);
    EXPECT_GE(h.Editor()->Height(), block.Bottom - block.Top - 4);
}

TEST(GridEdges, EditorAlignmentFollowsOnlyRightJustifiedCells)
{
    Host h;
    TExtStringGrid& g = h.G();
    g.SetOptions(g.Options() + TGridOptions{goEditing});
    TAlignment align = taRightJustify;
    g.OnGetAlignment = [&](TPersistent*, int, int, TAlignment& a, TVAlignment&) { a = align; };
    g.SetFocus();
    for (TAlignment a : {taRightJustify, taCenter, taLeftJustify}) {
        align = a;
        g.HideEditor();
        g.MoveColRow(1 + static_cast<int>(a), 1, true, true);
        g.ShowEditor();
        EXPECT_EQ(h.Editor()->VAlign(), a == taRightJustify) << a;
    }
}

TEST(GridEdges, ValidationVariants)
{
    Host h;
    TExtStringGrid& g = h.G();
    g.SetOptions(g.Options() + TGridOptions{goEditing});
    int validations = 0, changes = 0;
    std::function<void(std::string&, bool&)> rule = [](std::string&, bool&) {};
    g.OnCellValidate = [&](TPersistent*, int, int, std::string& v, bool& ok) {
        ++validations;
        rule(v, ok);
    };
    g.OnCellsChanged = [&](TPersistent*, const TRect&) { ++changes; };
    g.SetFocus();
    auto edit = [&](const std::string& text) {
        g.MoveColRow(1, 1, true, true);
        if (!g.EditorMode()) g.ShowEditor();
        h.Editor()->SetText(text);
        Key(h.Editor()->Widget(), Qt::Key_Return, Qt::NoModifier, "\r");
    };
    // The start text committed again: nothing fires.
    edit("1:1");
    EXPECT_EQ(validations + changes, 0);
    // Refused without a change: the old text and the editor back.
    rule = [](std::string&, bool& ok) { ok = false; };
    edit("bad");
    EXPECT_EQ(g.Cells(1, 1), "1:1");
    EXPECT_TRUE(g.EditorMode());
    // Refused with a correction: the corrected text stays, and leaving with it validates no more.
    rule = [](std::string& v, bool& ok) {
        v = "fixed";
        ok = false;
    };
    validations = 0;
    edit("bad");
    EXPECT_EQ(g.Cells(1, 1), "fixed");
    EXPECT_TRUE(g.EditorMode());
    EXPECT_EQ(h.Editor()->Text(), "fixed");
    Key(h.Editor()->Widget(), Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(validations, 1);
    // Accepted with a change: the changed value is stored.
    rule = [](std::string& v, bool&) { v += "!"; };
    g.HideEditor();
    edit("ok");
    EXPECT_EQ(g.Cells(1, 1), "ok!");
    // Validation from inside the handler passes without effect.
    bool inner = false;
    rule = [&](std::string&, bool&) { inner = g.ValidateEditText("x"); };
    g.HideEditor();
    edit("again");
    EXPECT_TRUE(inner);
    EXPECT_EQ(g.Cells(1, 1), "again");
}

TEST(GridEdges, ValidationHearsTheRealColumn)
{
    Host h(6, 4);
    TExtStringGrid& g = h.G();
    g.SetOptions(g.Options() + TGridOptions{goEditing});
    int heard = -1;
    g.OnCellValidate = [&](TPersistent*, int c, int, std::string&, bool&) { heard = c; };
    g.SetFocus();
    g.MoveColRow(3, 1, true, true);
    Type(h.W(), "7");
    Key(h.Editor()->Widget(), Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(heard, g.DisplayToRealCol(3));
}

TEST(GridEdges, HomeByRowAndTheKeypadSeparator)
{
    Host h(5, 8);
    TExtStringGrid& g = h.G();
    g.Navigation.HomeEndKey = heFirstLastRow;
    g.SetFocus();
    for (Qt::KeyboardModifiers m : {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ControlModifier)}) {
        g.MoveColRow(3, 6, true, true);
        Key(h.W(), Qt::Key_Home, m);
        EXPECT_EQ((std::pair{g.Col(), g.Row()}), (std::pair{3, 1}));
    }
    // The keypad's "." types the locale's separator with ExcelStyleDecimalSeparator; the main key stays.
    g.SetOptions(g.Options() + TGridOptions{goEditing});
    g.ExcelStyleDecimalSeparator = true;
    FormatSettings().DecimalSeparator = ',';
    g.MoveColRow(1, 1, true, true);
    Type(h.W(), "1");
    QWidget* e = h.Editor()->Widget();
    Key(e, Qt::Key_Period, Qt::KeypadModifier, ".");
    Key(e, Qt::Key_Period, Qt::NoModifier, ".");
    EXPECT_EQ(h.Editor()->Text(), "1,.");
    ResetFormatSettings();
}

TEST(GridEdges, CellJumpsAndDisjunctRowClicks)
{
    Host h(5, 8);
    TExtStringGrid& g = h.G();
    g.SetURLShow(true);
    g.SetCells(1, 1, "CELL://r3c2");
    g.SetCells(2, 1, "CELL://3,2");
    auto click = [&](int c, int r, Qt::KeyboardModifiers m = Qt::NoModifier) {
        const TRect cr = g.CellRect(c, r);
        const QPointF p(cr.Left + 8, cr.Top + 5);
        QMouseEvent down(QEvent::MouseButtonPress, p, h.W()->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, m);
        QApplication::sendEvent(h.W(), &down);
        QMouseEvent up(QEvent::MouseButtonRelease, p, h.W()->mapToGlobal(p), Qt::LeftButton, Qt::NoButton, m);
        QApplication::sendEvent(h.W(), &up);
    };
    click(1, 1);
    EXPECT_EQ((std::pair{g.Col(), g.Row()}), (std::pair{2, 3}));
    click(2, 1);
    EXPECT_EQ((std::pair{g.Col(), g.Row()}), (std::pair{2, 3}));
    // Disjunct rows: a plain click flags only the clicked row; Ctrl+click on a flagged row unflags it.
    g.SetURLShow(false);
    g.SetOptions(g.Options() + TGridOptions{goRowSelect});
    g.MouseActions.DisjunctRowSelect = true;
    click(1, 2);
    click(1, 4, Qt::ControlModifier);
    EXPECT_TRUE(g.IsRowSelected(2));
    EXPECT_TRUE(g.IsRowSelected(4));
    click(1, 2, Qt::ControlModifier);
    EXPECT_FALSE(g.IsRowSelected(2));
    EXPECT_TRUE(g.IsRowSelected(4));
    click(1, 5);
    EXPECT_FALSE(g.IsRowSelected(4));
    EXPECT_TRUE(g.IsRowSelected(5));
}

TEST(GridEdges, SortAndIntegerLists)
{
    TSortIndexList s;
    int changes = 0;
    s.OnValuesChange = [&](TIntList*, int, int) { ++changes; };
    s.AddSortColumn(3, true);
    s.AddSortColumn(5, false);
    EXPECT_EQ(s.ValueAt(0), 3);
    EXPECT_EQ(static_cast<std::uint32_t>(s.ValueAt(1)), 5u + 0x80000000u);
    EXPECT_EQ(s.FindSortColumn(5), 1);
    EXPECT_EQ(s.FindSortColumn(4), -1);
    changes = 0;
    s.ToggleSortDirection(3);
    EXPECT_EQ(static_cast<std::uint32_t>(s.ValueAt(0)), 3u + 0x80000000u);
    EXPECT_EQ(changes, 1);
    s.ToggleSortDirection(9);
    EXPECT_EQ(changes, 1);
    TIntList l(2, 7);
    std::vector<TPoint> cells;
    l.OnValuesChange = [&](TIntList*, int c, int r) { cells.push_back({c, r}); };
    for (int v : {1, 20, 300}) l.AddValue(v);
    EXPECT_EQ(l.ValuesText(), "1,20,300");
    cells.clear();
    l.SetValuesText(l.ValuesText());
    EXPECT_EQ(l.ValuesText(), "1,20,300");
    EXPECT_EQ(cells, (std::vector<TPoint>(3, TPoint{2, 7})));
    EXPECT_THROW(l.SetValuesText("4,x,5"), EConvertError);
    EXPECT_EQ(l.ValuesText(), "4");
    l.InsertValue(0, 9);
    EXPECT_EQ(cells.size(), 4u);   // inserting fires nothing
}

TEST(GridEdges, ScrollHintNamesTheLastLeftColumn)
{
    Host h(20, 6);
    TExtStringGrid& g = h.G();
    g.ScrollHints = shBoth;
    std::string seen;
    g.OnScrollHint = [&](TPersistent*, int, std::string& hint) { seen = hint; };
    g.Scroll(SB_HORZ, SB_THUMBTRACK, 127);
    EXPECT_EQ(seen, "Col : " + std::to_string(g.ColCount() - g.VisibleColCount()));
    g.Scroll(SB_HORZ, SB_ENDSCROLL, 0);
}

TEST(GridEdges, GotoCellOnAVisibleCellChangesNothing)
{
    Host h(5, 40);
    TExtStringGrid& g = h.G();
    g.MoveColRow(2, 3, true, true);
    const int top = g.TopRow();
    g.GotoCell(3, 4);
    EXPECT_EQ((std::pair{g.Col(), g.Row()}), (std::pair{2, 3}));
    EXPECT_EQ(g.TopRow(), top);
}

TEST(GridEdges, AutomaticSizingRules)
{
    Host h(4, 4, false);
    TExtStringGrid& g = h.G();
    g.SetCells(1, 1, "wwww");
    const int text = g.Canvas().TextWidth("wwww");
    g.Canvas().Font().Assign(g.Font());
    const int measured = [&] {
        g.Canvas().Font().Assign(g.Font());
        return g.Canvas().TextWidth("wwww");
    }();
    (void)text;
    g.MinColWidth = 0;
    g.AutoSizeColumn(1, false);
    EXPECT_EQ(g.ColWidths(1), (measured + 2 * g.XMargin) + 2 + 2 + 2);   // the text's extent + 2 + 2 + 2
    g.MinColWidth = 10;
    g.AutoSizeColumn(2, false);
    EXPECT_EQ(g.ColWidths(2), 10);
    g.SetColWidths(1, 80);
    g.AutoSizeColumn(1, true);
    EXPECT_EQ(g.ColWidths(1), 80);
    g.OnUpdateColumnSize = [](TPersistent*, int, int& w) { w = 120; };
    g.AutoSizeColumn(1, false);
    EXPECT_EQ(g.ColWidths(1), 120);
    // Rows: text height + 2 + 2; the most lines of a row.
    g.OnUpdateColumnSize = nullptr;
    g.MinRowHeight = 0;
    g.AutoSizeRowEx(1, false);
    g.Canvas().Font().Assign(g.Font());
    EXPECT_EQ(g.RowHeights(1), (g.Canvas().TextHeight("gh") + 2 * g.YMargin) + 2 + 2);
    g.SetCells(1, 2, "a");
    g.SetCells(2, 2, "b");
    g.SetCells(3, 2, "c\rd");
    g.Multilinecells = true;
    EXPECT_EQ(g.MaxLineCount(2), 2);
    g.Multilinecells = false;
    EXPECT_EQ(g.MaxLineCount(2), 1);
}

TEST(GridEdges, RotatedTextStartsBelowAtNinetyDegrees)
{
    Host h;
    TExtStringGrid& g = h.G();
    g.Canvas().Font().Assign(g.Font());
    const int cx = g.Canvas().TextWidth("rotated");
    TRect r{0, 0, 100, 30};
    g.RotatedTextOrigin(r, 90, 0, 0, "rotated");
    EXPECT_EQ(r.Left, 2);
    EXPECT_EQ(r.Top, 2 + cx);
}

TEST(GridEdges, PrefixSearchIgnoresCaseAndMarkup)
{
    Host h(3, 6);
    TExtStringGrid& g = h.G();
    const char* texts[] = {"", "xy", "<b>aB</b>c", "AB", "ab", "q"};
    for (int r = 1; r < 6; ++r) g.SetCells(1, r, texts[r]);
    EXPECT_EQ(g.FindRowByPrefix("AB"), 2);
    EXPECT_EQ(g.FindRowByPrefix("ZZ"), -1);
    g.SortSettings.Show = true;
    g.SortSettings.Column = 2;
    g.SetCells(2, 4, "abc");
    EXPECT_EQ(g.FindRowByPrefix("AB"), 4);
    g.SetRowCount(1);
    EXPECT_EQ(g.FindRowByPrefix(""), -1);
}

TEST(GridEdges, RowRemovalKeepsHeightsAndTheCurrentRow)
{
    Host h(3, 10);
    TExtStringGrid& g = h.G();
    g.SetRowHeights(7, 40);
    g.DetachRowRange(3, 2);
    EXPECT_EQ(g.RowHeights(5), 40);
    EXPECT_EQ(g.RowCount(), 8);
    // Removing the current row keeps its index while it is a normal row.
    g.MoveColRow(1, 4, true, true);
    g.RemoveRows(4, 1);
    EXPECT_EQ(g.Row(), 4);
    g.MoveColRow(1, 6, true, true);
    g.RemoveRows(5, 2);
    EXPECT_EQ(g.Row(), g.RowCount() - 1);
    // Two flagged rows are both removed.
    Host k(3, 8);
    TExtStringGrid& t = k.G();
    t.SetOptions(t.Options() + TGridOptions{goRowSelect});
    t.MouseActions.DisjunctRowSelect = true;
    t.SetRowSelected(2, true);
    t.SetRowSelected(3, true);
    t.DeleteSelectedRows();
    EXPECT_EQ(t.RowCount(), 6);
    EXPECT_EQ(t.Cells(1, 2), "1:4");
}

TEST(GridEdges, AppendRowGoesAboveAVisibleFooter)
{
    Host h(3, 5);
    TExtStringGrid& g = h.G();
    g.FloatingFooter.SetVisible(true);
    g.SetCells(1, 4, "footer");
    g.AppendRow();
    EXPECT_EQ(g.RowCount(), 6);
    EXPECT_EQ(g.Cells(1, 5), "footer");
    EXPECT_EQ(g.Cells(1, 4), "");
}

TEST(GridEdges, ClearingFreesGraphicsButNotAVirtualCheckBoxObject)
{
    Host h;
    TExtStringGrid& g = h.G();
    TCellGraphic& bmp = g.CreateCellGraphic(1, 1);
    bmp.CellType = ctBitmap;
    bmp.CellCreated = true;
    bmp.CellObject = new TBitmap;
    TCellGraphic& virt = g.CreateCellGraphic(2, 1);
    virt.CellType = ctVirtCheckBox;
    g.ClearCellRange(1, 1, 2, 1);
    EXPECT_FALSE(g.HasCellProps(1, 1));
    EXPECT_EQ(g.CellTypeOf(1, 1), ctEmpty);
    EXPECT_EQ(g.Cells(1, 1), "");
    EXPECT_FALSE(g.HasCellProps(2, 1));
}

TEST(GridEdges, ColumnRunsMerge)
{
    Host h(3, 7, false);
    TExtStringGrid& g = h.G();
    const char* texts[] = {"A", "A", "B", "B", "B"};
    for (int r = 1; r <= 5; ++r) g.SetCells(1, r, texts[r - 1]);
    g.MergeColumnRuns(1, true);
    EXPECT_EQ(g.BaseSpans(1, 2), (TPoint{0, 1}));
    EXPECT_EQ(g.BaseCellOf(1, 2), (TPoint{1, 1}));
    EXPECT_EQ(g.BaseCellOf(1, 5), (TPoint{1, 3}));
    EXPECT_EQ(g.BaseSpans(1, 5), (TPoint{0, 2}));
    g.SplitColumnMerges(1);
    for (int r = 1; r <= 5; ++r) EXPECT_FALSE(g.InMergedBlock(1, r)) << r;
    // Without First and no other merged column nothing spans rows.
    g.MergeColumnRuns(1, false);
    for (int r = 1; r <= 5; ++r) {
        EXPECT_FALSE(g.InMergedBlock(1, r)) << r;
        EXPECT_EQ(g.BaseCellOf(1, r), (TPoint{1, r}));
    }
    // A second column merges only inside the groups of the first.
    g.SplitColumnMerges(1);
    const char* second[] = {"x", "x", "x", "y", "y"};
    for (int r = 1; r <= 5; ++r) g.SetCells(2, r, second[r - 1]);
    g.AutoMergeColumns().AddValue(1);
    g.AutoMergeColumns().AddValue(2);
    EXPECT_EQ(g.BaseCellOf(2, 2), (TPoint{2, 1}));
    EXPECT_EQ(g.BaseCellOf(2, 3), (TPoint{2, 3}));
    EXPECT_EQ(g.BaseCellOf(2, 5), (TPoint{2, 4}));
}

TEST(GridEdges, ACellThatMayNotBeEditedSwitchesEditingOffAndBack)
{
    Host h;
    TExtStringGrid& g = h.G();
    g.SetOptions(g.Options() + TGridOptions{goEditing});
    g.OnCanEditCell = [](TPersistent*, int, int c, bool& can) { can = c != 2; };
    g.SetFocus();
    h.Paint();
    const int stamp = g.PaintStamp();
    g.MoveColRow(2, 1, true, true);
    EXPECT_FALSE(g.Options().Contains(goEditing));
    Type(h.W(), "x");
    EXPECT_FALSE(g.EditorMode());
    g.MoveColRow(3, 1, true, true);
    EXPECT_TRUE(g.Options().Contains(goEditing));
    // Neither switch repaints the whole grid: only the two cells' rows changed.
    g.Update();
    EXPECT_LE(g.PaintStamp() - stamp, 2);
    EXPECT_LT(g.CellsPaintedLastTime(), g.ColCount() * g.RowCount());
}

TEST(GridEdges, AnAutoSizingDoubleClickSuppressesTheSortClick)
{
    Host h(5, 6);
    TExtStringGrid& g = h.G();
    g.SetOptions(g.Options() + TGridOptions{goColSizing});
    g.SortSettings.Show = true;
    int sorts = 0;
    g.OnClickSort = [&](TPersistent*, int) { ++sorts; };
    const TRect head = g.CellRect(1, 0);
    const QPointF p(head.Left + 1, head.Top + 5);
    QWidget* w = h.W();
    auto send = [&](QEvent::Type t, Qt::MouseButtons held) {
        QMouseEvent e(t, p, w->mapToGlobal(p), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    };
    const int before = g.ColWidths(0);
    send(QEvent::MouseButtonDblClick, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    EXPECT_EQ(g.ColWidths(0), before);   // the column left of it is fixed: nothing is sized
    EXPECT_EQ(sorts, 0);
    // A plain click in the middle of the header sorts.
    Click(w, head.Left + 25, head.Top + 5);
    EXPECT_EQ(sorts, 1);
    // With two rows nothing sorts.
    g.SetRowCount(2);
    Click(w, head.Left + 25, head.Top + 5);
    EXPECT_EQ(sorts, 1);
}

TEST(GridEdges, TheFixedColumnIsSizedByItsEdge)
{
    Host h(5, 6);
    TExtStringGrid& g = h.G();
    g.MouseActions.SizeFixedCol = true;
    QWidget* w = h.W();
    auto send = [&](QEvent::Type t, int x, int y, Qt::MouseButton b, Qt::MouseButtons held) {
        const QPointF p(x, y);
        QMouseEvent e(t, p, w->mapToGlobal(p), b, held, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    };
    const int edge = g.ColWidths(0);
    send(QEvent::MouseMove, edge - 5, 30, Qt::NoButton, Qt::NoButton);
    EXPECT_NE(g.Cursor(), crHSplit);
    send(QEvent::MouseMove, edge - 2, 30, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(g.Cursor(), crHSplit);
    send(QEvent::MouseButtonPress, edge - 2, 30, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, 100, 30, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, 100, 30, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(g.ColWidths(0), 100);
}

TEST(GridEdges, AOneRowGridStartsNoSelectionDrag)
{
    Host h(5, 1);
    TExtStringGrid& g = h.G();
    QWidget* w = h.W();
    const QPointF a(70, 10), b(200, 10);
    QMouseEvent down(QEvent::MouseButtonPress, a, w->mapToGlobal(a), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &down);
    QMouseEvent move(QEvent::MouseMove, b, w->mapToGlobal(b), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
    EXPECT_NE(g.GridState(), gsSelecting);
    QMouseEvent up(QEvent::MouseButtonRelease, b, w->mapToGlobal(b), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &up);
}
