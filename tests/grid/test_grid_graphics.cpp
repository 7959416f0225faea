// Cell graphics on the real control, probed at pixels: check boxes in every control style, radio groups
// both ways, the progress bar, buttons and the comment triangle; the placement rules (check boxes by
// the text's alignment, the picture modes, images side by side); the control state operations; Space,
// clicks, CheckAllCheck and the precise check-box square through the grid's own key and mouse steps.
#include "GridHosts.h"

#include "grid/GridResources.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/ImageList.h"
#include "platform/rtl/StringList.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace gridtest;

namespace {

struct GraphicsHost {
    GraphicsHost(int cols = 5, int rows = 6)
    {
        Application->ProcessMessages();
        Window = std::make_unique<QWidget>();
        Window->setGeometry(40, 40, 520, 360);
        Grid = std::make_unique<TExtStringGrid>(nullptr);
        TExtStringGrid& g = *Grid;
        g.SetParentWidget(Window.get());
        g.SetBounds(0, 0, 520, 360);
        g.SetColCount(cols);
        g.SetRowCount(rows);
        g.SetDefaultColWidth(90);
        g.SetDefaultRowHeight(40);
        g.SetLook(glStandard);
        g.SetGridLineWidth(1);
        g.SetOptions(g.Options() + TGridOptions{goEditing});
        Window->show();
        Application->ProcessMessages();
        // The current cell lies away from the probed cells.
        g.MoveColRow(cols - 1, rows - 1, true, true);
    }
    TExtStringGrid& G() { return *Grid; }
    QWidget* W() { return Grid->Widget(); }
    void Paint()
    {
        Grid->Invalidate();
        Grid->Update();
    }
    TColor Px(int x, int y) { return Grid->Canvas().GetPixel(x, y); }
    // The box of the pixels in the cell (inside its grid lines) that differ from the cell's background.
    TRect Ink(int c, int r)
    {
        const TRect cell = Grid->CellRect(c, r);
        const TColor back = Px(cell.Right - 3, cell.Bottom - 3);
        TRect box{9999, 9999, -1, -1};
        for (int y = cell.Top + 1; y < cell.Bottom - 1; ++y)
            for (int x = cell.Left + 1; x < cell.Right - 1; ++x)
                if (Px(x, y) != back) {
                    box.Left = std::min(box.Left, x);
                    box.Top = std::min(box.Top, y);
                    box.Right = std::max(box.Right, x + 1);
                    box.Bottom = std::max(box.Bottom, y + 1);
                }
        return box;
    }
    std::unique_ptr<QWidget> Window;
    std::unique_ptr<TExtStringGrid> Grid;
};

// The box of a bitmap's pixels that are not its transparent (bottom-left) colour.
TRect OwnInk(const char* resource)
{
    TBitmap b;
    EXPECT_TRUE(LoadGridBitmap(resource, b)) << resource;
    const TColor key = b.PixelRGB(0, b.Height() - 1);
    TRect box{9999, 9999, -1, -1};
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.PixelRGB(x, y) != key) {
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
    return box;
}

} // namespace

TEST(GridGraphics, CheckBoxesInEveryControlStyle)
{
    // A check box without text, left-aligned, centred vertically: its square starts at R.Left + 1.
    GraphicsHost h;
    TExtStringGrid& g = h.G();
    g.SetColor(0x00FFFF);   // no part of a control is the cell's colour
    g.ControlLook.SetCheckSize(15);
    g.AddCheckBox(1, 1, true, false);
    const TRect cell = g.CellRect(1, 1);
    const int px = cell.Left + 1, py = cell.Top + (cell.Height() - 15) / 2;
    struct Case {
        TControlStyle style;
        const char* resource;   // drawn at its own size at the placement's top-left
    } cases[] = {{csWinXP, "ESGCHK05"}, {csQuarn, "ESGCHK01"}};
    for (const Case& c : cases) {
        g.ControlLook.SetControlStyle(c.style);
        h.Paint();
        const TRect own = OwnInk(c.resource);
        EXPECT_EQ(h.Ink(1, 1), (TRect{px + own.Left, py + own.Top, px + own.Right, py + own.Bottom})) << c.style;
    }
    // Frame controls fill the CheckSize square exactly, whatever its size.
    for (int size : {13, 15, 19}) {
        for (TControlStyle style : {csClassic, csFlat}) {
            g.ControlLook.SetCheckSize(size);
            g.ControlLook.SetControlStyle(style);
            h.Paint();
            const int top = cell.Top + (cell.Height() - size) / 2;
            EXPECT_EQ(h.Ink(1, 1), (TRect{px, top, px + size, top + size})) << style << " " << size;
        }
    }
    // Glyphs: nothing while empty; the checked glyph with its own transparent colour.
    g.ControlLook.SetCheckSize(15);
    g.ControlLook.SetControlStyle(csGlyph);
    h.Paint();
    EXPECT_EQ(h.Ink(1, 1).Right, -1);
    TBitmap glyph(6, 4);
    glyph.Canvas().Brush().SetColor(0x00FF00);
    glyph.Canvas().FillRect({0, 0, 6, 4});
    glyph.Canvas().SetPixels(0, 3, 0x0000FF);   // the transparent colour is the bottom-left one
    g.ControlLook.SetCheckedGlyph(glyph);
    h.Paint();
    EXPECT_EQ(h.Px(px + 3, py + 1), 0x00FF00u);
    EXPECT_NE(h.Px(px, py + 3), 0x0000FFu);
    // No visual styles here: the themed style draws nothing.
    g.ControlLook.SetControlStyle(csTheme);
    h.Paint();
    EXPECT_EQ(h.Ink(1, 1).Right, -1);
}

TEST(GridGraphics, KestromCheckBoxIsDrawnWithLines)
{
    TBitmap bmp(40, 40);
    bmp.Canvas().Brush().SetColor(clWhite);
    bmp.Canvas().FillRect({0, 0, 40, 40});
    TExtStringGrid g(nullptr);
    g.ControlLook.SetCheckSize(15);
    g.ControlLook.SetColor(0x0000AA);
    const TRect r{10, 10, 25, 25};
    g.DrawCheckBox(bmp.Canvas(), r, true, true, csKestrom);
    TCanvas& c = bmp.Canvas();
    EXPECT_EQ(c.GetPixel(10, 20), ColorToRGB(clBtnHighlight));   // left edge
    EXPECT_EQ(c.GetPixel(18, 10), ColorToRGB(clBtnHighlight));   // top edge
    EXPECT_EQ(c.GetPixel(25, 15), ColorToRGB(clBtnShadow));      // right edge
    EXPECT_EQ(c.GetPixel(18, 25), ColorToRGB(clBtnShadow));      // bottom edge
    EXPECT_EQ(c.GetPixel(12, 20), 0x0000AAu);                    // the mark's left stroke
    EXPECT_EQ(c.GetPixel(13, 18), 0x0000AAu);
    EXPECT_EQ(c.GetPixel(15, 15), ColorToRGB(clBtnFace));        // face inside, off the mark
    // Disabled: a shadow face and a grey mark.
    g.DrawCheckBox(c, r, true, false, csKestrom);
    EXPECT_EQ(c.GetPixel(12, 20), 0x808080u);
}

TEST(GridGraphics, RadioGroupsBothWays)
{
    GraphicsHost h;
    TExtStringGrid& g = h.G();
    g.ControlLook.SetControlStyle(csClassic);
    g.ControlLook.SetRadioSize(10);
    g.SetRowHeights(1, 60);
    g.AddRadio(1, 1, false, {"A", "B", "C"}, 1);
    h.Paint();
    g.Canvas().Font().Assign(g.Font());
    const int line = g.Canvas().TextHeight("gh");
    const TRect cell = g.CellRect(1, 1);
    // The buttons lie one line apart; only the second shows the dot.
    auto dot = [&](int x, int y) { return h.Px(x + 5, y + 5) != 0xFFFFFFu; };
    for (int i = 0; i < 3; ++i) EXPECT_EQ(dot(cell.Left + 2, cell.Top + i * line + 2), i == 1) << i;
    // Horizontal, the item chosen by the cell text: buttons after the captions drawn so far.
    g.AddRadio(2, 1, true, {"x", "yy"}, -1);
    g.SetCells(2, 1, "yy");
    h.Paint();
    const TRect c2 = g.CellRect(2, 1);
    const int y = c2.Top + (c2.Height() - 10) / 2;
    const int x1 = c2.Left + 2, x2 = c2.Left + g.Canvas().TextWidth("x") + 10 + 2;
    EXPECT_FALSE(dot(x1, y));
    EXPECT_TRUE(dot(x2, y));
    // A text that is no caption selects none.
    g.SetCells(2, 1, "z");
    h.Paint();
    EXPECT_FALSE(dot(x1, y));
    EXPECT_FALSE(dot(x2, y));
}

TEST(GridGraphics, ProgressTextChangesColourAtTheBarsEnd)
{
    GraphicsHost h;
    TExtStringGrid& g = h.G();
    g.SetColWidths(1, 200);
    g.AddProgress(1, 1, 0xFF0000, 0xFFFFFF);
    g.SetCells(1, 1, "50");
    h.Paint();
    const TRect cell = g.CellRect(1, 1);
    const int m = g.ControlLook.ProgressMarginX();
    const int left = cell.Left + m, right = cell.Right - m, end = left + (right - left) / 2;
    int barInk = 0, backInk = 0;
    for (int y = cell.Top + 3; y < cell.Bottom - 3; ++y) {
        for (int x = left + 1; x < end - 1; ++x) {
            EXPECT_TRUE(h.Px(x, y) == 0xFF0000u || h.Px(x, y) != 0xFFFFFFu);
            barInk += h.Px(x, y) != 0xFF0000u;   // text in the bar's inverted colour
        }
        for (int x = end + 1; x < right - 1; ++x) backInk += h.Px(x, y) != 0xFFFFFFu;
    }
    EXPECT_GT(barInk, 0);
    EXPECT_GT(backInk, 0);
    EXPECT_EQ(h.Px(left + 2, cell.Top + m + 1), 0xFF0000u);
    EXPECT_EQ(h.Px(right - 3, cell.Top + m + 1), 0xFFFFFFu);
    // A text that is no integer paints as 0 %: nothing raises.
    g.SetCells(1, 1, "abc");
    EXPECT_NO_THROW(h.Paint());
    EXPECT_EQ(h.Px(left + 2, cell.Top + m + 1), 0xFFFFFFu);
}

TEST(GridGraphics, ButtonsCommentsAndTheirClicks)
{
    GraphicsHost h;
    TExtStringGrid& g = h.G();
    g.AddButton(1, 1, 60, 24, "Go", haCenter, vaCenter);
    g.AddComment(2, 1, "note");
    h.Paint();
    const TRect cell = g.CellRect(1, 1);
    TRect button{0, 0, 0, 0};
    g.ButtonRect(1, 1, button);
    EXPECT_EQ(button.Width(), 60);
    EXPECT_EQ(button.Height(), 24);
    EXPECT_EQ(button.Left, cell.Left + (cell.Width() - 60) / 2);
    EXPECT_EQ(button.Top, cell.Top + (cell.Height() - 24) / 2);
    EXPECT_EQ(h.Px(button.Left + 3, button.Top + 3), ColorToRGB(clBtnFace));
    // The comment triangle in the top-right corner.
    const TRect c2 = g.CellRect(2, 1);
    EXPECT_EQ(h.Px(c2.Right - 3, c2.Top + 2), 0x0000FFu);
    EXPECT_NE(h.Px(c2.Right - 6, c2.Top + 5), 0x0000FFu);
    std::string comment;
    EXPECT_TRUE(g.CommentOf(2, 1, comment));
    EXPECT_EQ(comment, "note");
    // A press on the button pushes it; the release reports the click.
    int clicks = 0;
    g.OnButtonClick = [&](TPersistent*, int c, int r) { clicks += c == 1 && r == 1; };
    const std::vector<TColor> up = [&] {
        std::vector<TColor> v;
        for (int x = button.Left; x < button.Right; ++x) v.push_back(h.Px(x, button.Top));
        return v;
    }();
    SendMouse(h.W(), QEvent::MouseButtonPress, button.Left + 10, button.Top + 10, Qt::LeftButton);
    EXPECT_EQ(g.PressedButton(), (TPoint{1, 1}));
    g.Update();
    std::vector<TColor> down;
    for (int x = button.Left; x < button.Right; ++x) down.push_back(h.Px(x, button.Top));
    EXPECT_NE(down, up);
    SendMouse(h.W(), QEvent::MouseButtonRelease, button.Left + 10, button.Top + 10, Qt::NoButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(g.PressedButton(), (TPoint{-1, -1}));
    EXPECT_FALSE(g.CellGraphicOf(1, 1)->CellBoolean);
}

TEST(GridGraphics, CheckBoxesFollowTheTextAlignment)
{
    GraphicsHost h;
    TExtStringGrid& g = h.G();
    g.ControlLook.SetControlStyle(csClassic);
    g.ControlLook.SetCheckSize(15);
    g.SetColor(0x00FFFF);
    const TRect cell = g.CellRect(1, 1);
    const int E = 2;   // the extent of an empty text
    struct Case {
        TAlignment align;
        TCellType type;
        int wantLeft;
    } cases[] = {
        {taLeftJustify, ctDataCheckBox, cell.Left + 1},
        {taRightJustify, ctDataCheckBox, cell.Right - 15 - 1},
        {taCenter, ctDataCheckBox, cell.Left + (cell.Width() - 15) / 2},
        {taRightJustify, ctCheckBox, cell.Right - E - 15 - 1},
    };
    for (const Case& c : cases) {
        g.OnGetAlignment = [&](TPersistent*, int, int, TAlignment& a, TVAlignment&) { a = c.align; };
        if (c.type == ctCheckBox) g.AddCheckBox(1, 1, true, false);
        else g.AddDataCheckBox(1, 1, false);
        g.SetCells(1, 1, c.type == ctCheckBox ? "" : "Y");
        h.Paint();
        EXPECT_EQ(h.Ink(1, 1).Left, c.wantLeft) << c.align << " " << c.type;
    }
    // A check box with right-justified text stands left of the text; a data check box draws no text.
    g.OnGetAlignment = [](TPersistent*, int, int, TAlignment& a, TVAlignment&) { a = taRightJustify; };
    g.AddCheckBox(1, 1, true, false);
    g.SetCells(1, 1, "abc");
    h.Paint();
    g.Canvas().Font().Assign(g.Font());
    const int text = g.Canvas().TextWidth("abc") + 2;
    EXPECT_EQ(h.Ink(1, 1).Left, cell.Right - (text + 2) - 15 - 1);
    g.AddDataCheckBox(1, 1, false);
    g.SetCells(1, 1, "Y");
    g.OnGetAlignment = [](TPersistent*, int, int, TAlignment& a, TVAlignment&) { a = taCenter; };
    h.Paint();
    const TRect ink = h.Ink(1, 1);
    EXPECT_EQ(ink.Width(), 15);   // the box and no "Y"
}

TEST(GridGraphics, PictureModesAndImagesSideBySide)
{
    GraphicsHost h;
    TExtStringGrid& g = h.G();
    const TRect cell = g.CellRect(1, 1);   // 90 x 40
    const int bw = cell.Width(), bh = cell.Height();
    struct Case {
        int pw, ph, mode;
        int w, hgt;
    } cases[] = {
        {30, 20, 0, 30, 20},  {30, 20, 1, bw, bh},   {45, 10, 2, bw, static_cast<int>(std::nearbyint(10.0 * bw / 45))},
        {30, 20, 3, 30, 20},  {180, 20, 3, bw, bh}, {30, 20, 4, 30, 20},
        {180, 20, 4, bw, static_cast<int>(std::nearbyint(20.0 * bw / 180))},
    };
    for (const Case& c : cases) {
        auto* pic = new TPicture;
        TBitmap b(c.pw, c.ph);
        pic->SetGraphic(&b);
        g.AddPicture(1, 1, pic, true, c.mode, 0, haLeft, vaTop);
        const TExtStringGrid::TGraphicLayout l = g.CellGraphicLayout(1, 1, cell);
        EXPECT_EQ((std::pair{l.Width, l.Height}), (std::pair{c.w, c.hgt})) << c.pw << "x" << c.ph << " mode " << c.mode;
    }
    // Three list images side by side need three widths by one height.
    TCustomImageList images(nullptr);
    images.SetSize(16, 16);
    TBitmap strip(48, 16);
    for (int i = 0; i < 3; ++i) {
        strip.Canvas().Brush().SetColor(i == 0 ? 0x0000FF : i == 1 ? 0x00FF00 : 0xFF0000);
        strip.Canvas().FillRect({16 * i, 0, 16 * i + 16, 16});
    }
    images.Add(strip);
    g.SetGridImages(&images);
    g.AddMultiImage(2, 1, {0, 1, 2}, true, haLeft, vaTop);
    const TExtStringGrid::TGraphicLayout l = g.CellGraphicLayout(2, 1, cell);
    EXPECT_EQ((std::pair{l.Width, l.Height}), (std::pair{48, 16}));
    h.Paint();
    const TRect c2 = g.CellRect(2, 1);
    EXPECT_EQ(h.Px(c2.Left + 1 + 8, c2.Top + 1 + 8), 0x0000FFu);
    EXPECT_EQ(h.Px(c2.Left + 1 + 24, c2.Top + 1 + 8), 0x00FF00u);
    EXPECT_EQ(h.Px(c2.Left + 1 + 40, c2.Top + 1 + 8), 0xFF0000u);
    TPoint need{0, 0};
    g.GetCellGraphicSize(2, 1, need);
    EXPECT_EQ(need, (TPoint{48, 16}));
    g.SetGridImages(nullptr);
}

TEST(GridGraphics, GraphicTypesAndTheirObjects)
{
    GraphicsHost h;
    TExtStringGrid& g = h.G();
    EXPECT_EQ(g.CellTypeOf(1, 1), ctEmpty);
    TCellGraphic& fresh = g.CreateCellGraphic(1, 1);
    EXPECT_EQ(fresh.CellType, ctNone);
    EXPECT_EQ(g.CellGraphicLayout(1, 1, g.CellRect(1, 1)).Width, 0);
    // A referenced bitmap stays the caller's; a created one goes with the cell.
    TBitmap mine(4, 4);
    g.AddBitmap(1, 1, &mine, false, haLeft, vaTop);
    EXPECT_EQ(g.CellImageKey(1, 1), reinterpret_cast<std::intptr_t>(&mine));
    g.RemoveCellGraphic(1, 1);
    EXPECT_EQ(mine.Width(), 4);
    g.AddImageIdx(1, 1, 7, haLeft, vaTop);
    EXPECT_EQ(g.CellImageKey(1, 1), 7);
    int angle = 0;
    g.AddRotated(2, 2, 90, "up");
    EXPECT_TRUE(g.IsRotatedCell(2, 2, angle));
    EXPECT_EQ(angle, 90);
    EXPECT_EQ(g.Cells(2, 2), "up");
    g.AddRadio(3, 2, true, {"a", "b"});
    g.MergeCellRange(3, 2, 1, 2);
    ASSERT_NE(g.RadioItemsOf(3, 3), nullptr);
    EXPECT_EQ(g.RadioItemsOf(3, 3)->Count(), 2);
    EXPECT_EQ(g.ImageListOf(3, 2), nullptr);
    int from = -1, len = -1;
    g.ErrorRangeOf(1, 4, from, len);
    EXPECT_EQ(from + len, 0);
    g.SetErrorRange(1, 4, 2, 3);
    g.ErrorRangeOf(1, 4, from, len);
    EXPECT_EQ((std::pair{from, len}), (std::pair{2, 3}));
}

TEST(GridGraphics, CheckBoxAndRadioState)
{
    GraphicsHost h;
    TExtStringGrid& g = h.G();
    // Data check boxes toggle between the check texts.
    g.AddDataCheckBox(1, 1, false);
    struct Case {
        const char* before;
        const char* after;
    } cases[] = {{"Y", "N"}, {"N", "Y"}, {"", "Y"}, {"x", "Y"}};
    for (const Case& c : cases) {
        g.SetCells(1, 1, c.before);
        EXPECT_TRUE(g.ToggleCellCheck(1, 1, false));
        EXPECT_EQ(g.Cells(1, 1), c.after) << c.before;
    }
    g.OnGetCheckTrue = [](TPersistent*, int, int, std::string& v) { v = "1"; };
    g.SetCells(1, 1, "1");
    g.ToggleCellCheck(1, 1, false);
    EXPECT_EQ(g.Cells(1, 1), "N");
    g.ToggleCellCheck(1, 1, false);
    EXPECT_EQ(g.Cells(1, 1), "1");
    g.OnGetCheckTrue = nullptr;
    // A read-only cell refuses when rights are checked.
    g.AddCheckBox(2, 1, false, false);
    g.CellProps(2, 1).ReadOnly = true;
    EXPECT_FALSE(g.ToggleCellCheck(2, 1, true));
    bool state = true;
    EXPECT_TRUE(g.GetCheckBoxState(2, 1, state));
    EXPECT_FALSE(state);
    EXPECT_TRUE(g.ToggleCellCheck(2, 1, false));
    g.GetCheckBoxState(2, 1, state);
    EXPECT_TRUE(state);
    EXPECT_FALSE(g.ToggleCellCheck(3, 3, false));
    // Radio groups step through their captions.
    g.AddRadio(3, 1, false, {"A", "B", "C"}, -1);
    for (auto [text, want] : {std::pair{"C", "A"}, {"X", "A"}, {"A", "B"}}) {
        g.SetCells(3, 1, text);
        g.StepRadio(3, 1, false);
        EXPECT_EQ(g.Cells(3, 1), want) << text;
    }
    g.AddRadio(3, 2, false, {"A", "B", "C"}, 1);
    g.StepRadio(3, 2, false);
    int index = -1;
    EXPECT_TRUE(g.RadioIndexOf(3, 2, index));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(g.Cells(3, 2), "C");
    g.StepRadio(3, 2, false);
    g.RadioIndexOf(3, 2, index);
    EXPECT_EQ(index, 0);
}

TEST(GridGraphics, PreciseCheckBoxSquare)
{
    GraphicsHost h;
    TExtStringGrid& g = h.G();
    g.SetColWidths(1, 50);
    g.SetRowHeights(1, 21);
    g.ControlLook.SetCheckSize(15);
    g.AddCheckBox(1, 1, false, false);
    g.CellProps(1, 1).Alignment = taCenter;
    const TRect a = g.CellRect(1, 1);
    EXPECT_TRUE(g.CheckBoxHit(1, 1, a.Left, a.Top));   // without precision the whole cell
    g.MouseActions.PreciseCheckBoxCheck = true;
    for (int y = a.Top; y < a.Bottom; ++y)
        for (int x = a.Left; x < a.Right; ++x) {
            const bool inside = x - a.Left >= 17 && x - a.Left <= 31 && y - a.Top >= 3 && y - a.Top <= 17;
            EXPECT_EQ(g.CheckBoxHit(1, 1, x, y), inside) << x - a.Left << "," << y - a.Top;
        }
}

TEST(GridGraphics, SpaceClicksAndCheckAllCheck)
{
    GraphicsHost h(4, 6);
    TExtStringGrid& g = h.G();
    std::vector<std::string> log;
    g.OnCheckBoxClick = [&](TPersistent*, int c, int r, bool s) { log.push_back(std::to_string(c) + "," + std::to_string(r) + (s ? "+" : "-")); };
    g.OnRadioClick = [&](TPersistent*, int c, int r, int i) { log.push_back("radio " + std::to_string(c) + "," + std::to_string(r) + ":" + std::to_string(i)); };
    for (int r = 0; r < 6; ++r) g.AddCheckBox(1, r, false, false);
    g.AddRadio(2, 2, true, {"a", "b", "c"}, 0);
    g.SetFocus();
    // Space toggles the current check box and steps the radio group.
    g.MoveColRow(1, 2, true, true);
    Key(h.W(), Qt::Key_Space, Qt::NoModifier, " ");
    bool state = false;
    g.GetCheckBoxState(1, 2, state);
    EXPECT_TRUE(state);
    g.MoveColRow(2, 2, true, true);
    Key(h.W(), Qt::Key_Space, Qt::NoModifier, " ");
    EXPECT_EQ(g.Cells(2, 2), "b");
    EXPECT_FALSE(g.EditorMode());
    // Without editing rights Space changes nothing, unless OnCanEditCell allows it.
    g.SetOptions(g.Options() - TGridOptions{goEditing});
    g.MoveColRow(1, 3, true, true);
    Key(h.W(), Qt::Key_Space, Qt::NoModifier, " ");
    g.GetCheckBoxState(1, 3, state);
    EXPECT_FALSE(state);
    g.OnCanEditCell = [](TPersistent*, int, int, bool& can) { can = true; };
    Key(h.W(), Qt::Key_Space, Qt::NoModifier, " ");
    g.GetCheckBoxState(1, 3, state);
    EXPECT_TRUE(state);
    g.OnCanEditCell = nullptr;
    g.SetOptions(g.Options() + TGridOptions{goEditing});
    // A click toggles and moves there; with PreciseCheckBoxCheck a click beside the square only selects.
    log.clear();
    const TRect c4 = g.CellRect(1, 4);
    Click(h.W(), c4.Left + 50, c4.Top + 20);
    g.GetCheckBoxState(1, 4, state);
    EXPECT_TRUE(state);
    EXPECT_EQ((std::pair{g.Col(), g.Row()}), (std::pair{1, 4}));
    EXPECT_EQ(log, (std::vector<std::string>{"1,4+"}));
    g.MouseActions.PreciseCheckBoxCheck = true;
    const TRect c5 = g.CellRect(1, 5);
    Click(h.W(), c5.Left + 60, c5.Top + 20);
    g.GetCheckBoxState(1, 5, state);
    EXPECT_FALSE(state);
    EXPECT_EQ((std::pair{g.Col(), g.Row()}), (std::pair{1, 5}));
    Click(h.W(), c5.Left + 8, c5.Top + 20);
    g.GetCheckBoxState(1, 5, state);
    EXPECT_TRUE(state);
    // The header check box with CheckAllCheck sets the whole column.
    g.MouseActions.PreciseCheckBoxCheck = false;
    g.MouseActions.CheckAllCheck = true;
    const TRect head = g.CellRect(1, 0);
    Click(h.W(), head.Left + 8, head.Top + 20);
    for (int r = 1; r < 6; ++r) {
        g.GetCheckBoxState(1, r, state);
        EXPECT_TRUE(state) << r;
    }
    Click(h.W(), head.Left + 8, head.Top + 20);
    for (int r = 1; r < 6; ++r) {
        g.GetCheckBoxState(1, r, state);
        EXPECT_FALSE(state) << r;
    }
    // A click on a radio button chooses it.
    const TRect rc = g.CellRect(2, 2);
    g.Canvas().Font().Assign(g.Font());
    const int firstSpan = g.Canvas().TextWidth("a") + 16;
    log.clear();
    Click(h.W(), rc.Left + firstSpan + 5, rc.Top + 20);
    EXPECT_EQ(g.Cells(2, 2), "b");
    int index = -1;
    g.RadioIndexOf(2, 2, index);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"radio 2,2:1"}));
}

// VSP_GRID_GRAPHICS_SCREENSHOT=<file.png> saves the cell graphics in each control style, one band per
// style (classic, flat, XP, Kestrom, quarn): check boxes, radio groups both ways, progress bars and a
// pie, a pressed and a plain button, a comment, list images, rotated text and a markup cell.
TEST(GridGraphics, ScreenshotOnRequest)
{
    const char* file = std::getenv("VSP_GRID_GRAPHICS_SCREENSHOT");
    if (!file) GTEST_SKIP() << "VSP_GRID_GRAPHICS_SCREENSHOT not set";
    TCustomImageList images(nullptr);
    images.SetSize(16, 16);
    TBitmap strip(48, 16);
    for (int i = 0; i < 3; ++i) {
        strip.Canvas().Brush().SetColor(i == 0 ? 0x0000FF : i == 1 ? 0x00FF00 : 0xFF0000);
        strip.Canvas().FillRect({16 * i + 2, 2, 16 * i + 14, 14});
    }
    images.Add(strip);
    std::vector<QImage> bands;
    for (TControlStyle style : {csClassic, csFlat, csWinXP, csKestrom, csQuarn}) {
        GraphicsHost h(6, 4);
        TExtStringGrid& g = h.G();
        g.SetDefaultColWidth(84);   // all six columns in the window
        g.SetLeftCol(1);
        g.SetGridImages(&images);
        g.ControlLook.SetControlStyle(style);
        g.SetCells(0, 1, "style " + std::to_string(style));
        g.AddCheckBox(1, 1, true, false);
        g.SetCells(1, 1, "checked");
        g.AddCheckBox(2, 1, false, false);
        g.SetCells(2, 1, "clear");
        g.AddRadio(3, 1, true, {"a", "b"}, 1);
        g.AddRadio(4, 1, false, {"x", "y"}, 0);
        g.AddProgress(1, 2, 0xFF0000, 0xFFFFFF);
        g.SetCells(1, 2, "35");
        g.AddProgress(2, 2, 0x008000, 0xFFFFFF);
        g.SetCells(2, 2, "80");
        g.AddProgressPie(3, 2, 0x0000FF, 60);
        g.AddButton(4, 2, 70, 24, "Press", haCenter, vaCenter);
        g.AddButton(5, 2, 70, 24, "Plain", haCenter, vaCenter);
        g.SetCells(1, 3, "note");
        g.AddComment(1, 3, "a comment");
        g.AddMultiImage(2, 3, {0, 1, 2}, true, haLeft, vaTop);
        g.AddRotated(3, 3, 45, "turned");
        g.SetCells(4, 3, "<b>bold</b> <a href=\"x\">link</a>");
        h.Paint();
        const TRect b = g.CellRect(4, 2);
        const QPoint at((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);
        SendMouse(h.W(), QEvent::MouseButtonPress, at.x(), at.y(), Qt::LeftButton);
        Application->ProcessMessages();
        bands.push_back(h.Window->grab(QRect(0, 0, 520, 165)).toImage());
        SendMouse(h.W(), QEvent::MouseButtonRelease, at.x(), at.y(), Qt::NoButton);
        g.SetGridImages(nullptr);
    }
    QImage all(520, 165 * static_cast<int>(bands.size()), QImage::Format_RGB32);
    QPainter p(&all);
    for (std::size_t i = 0; i < bands.size(); ++i) p.drawImage(0, 165 * static_cast<int>(i), bands[i]);
    p.end();
    ASSERT_TRUE(all.save(file));
}
