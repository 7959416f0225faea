// The electrode editor's grid on the real control: its look probed at pixels, the road of one edit by
// synthetic mouse and keys, the wheel and panning, and the proportional thumb.
#include "ElectrodeGrid.h"

#include "platform/rtl/SystemColors.h"

#include <QPixmap>

#include <cstdlib>

#include <gtest/gtest.h>

using namespace gridtest;

TEST(ElectrodeGrid, LooksAsTheEditorDrawsIt)
{
    ElectrodeHost h;
    h.Show();
    h.Grid->SetFocus();
    Application->ProcessMessages();
    h.Paint();
    const TColor face = ColorToRGB(clBtnFace);
    // Header cell (1, 0) at x 34..84, y 0..21: white top and left lines, a dark bottom line, and a 10-band
    // gradient from white to the face colour between them.
    EXPECT_EQ(h.Pixel(60, 0), 0xFFFFFFu);
    EXPECT_EQ(h.Pixel(34, 10), 0xFFFFFFu);
    EXPECT_EQ(h.Pixel(60, 20), DarkenedColor(face));
    EXPECT_EQ(h.Pixel(40, 2), 0xFFFFFFu);
    const TColor low = h.Pixel(40, 18);
    EXPECT_LT(Channel(low, 0), 0xFF);
    EXPECT_GE(Channel(low, 0), Channel(face, 0));
    // A silver vertical line at the right edge of a normal cell, none between normal rows.
    EXPECT_EQ(h.Pixel(83, 50), ColorToRGB(clSilver));
    EXPECT_EQ(h.Pixel(60, 62), 0xFFFFFFu);
    EXPECT_EQ(h.Pixel(60, 63), 0xFFFFFFu);
    // The current row (1) in $0090FFFF behind navy text, also in the cells beside the current one.
    EXPECT_EQ(h.Pixel(120, 25), 0x90FFFFu);
    EXPECT_EQ(h.Pixel(170, 25), 0x90FFFFu);
    // The text "10" of cell (2, 1) is centred and navy.
    // Text is smoothed: its ink is the dark blue pixels.
    auto navyInk = [](TColor c) { return Channel(c, 16) >= 0x60 && Channel(c, 0) < 0x70 && Channel(c, 8) < 0x70; };
    int minX = 999, maxX = -1, minY = 999, maxY = -1;
    for (int y = 22; y < 41; ++y)
        for (int x = 86; x < 132; ++x)
            if (navyInk(h.Pixel(x, y))) {
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
    ASSERT_GE(maxX, 0) << "no navy text";
    EXPECT_NEAR((minX + maxX) / 2.0, (84 + 134) / 2.0, 2.0);
    EXPECT_NEAR((minY + maxY) / 2.0, (21 + 42) / 2.0, 2.5);
    // The current cell (1, 1) has a 2-pixel black frame inside its grid lines (x 34..35 and 81..82, y 21..22
    // and 39..40), and the focus rectangle's dots on the cell's edge invert every other pixel of it.
    for (int y = 23; y < 39; ++y) {
        EXPECT_EQ(h.Pixel(35, y), 0u) << y;
        EXPECT_EQ(h.Pixel(81, y), 0u) << y;
    }
    for (int x = 36; x < 81; ++x) {
        EXPECT_EQ(h.Pixel(x, 22), 0u) << x;
        EXPECT_EQ(h.Pixel(x, 39), 0u) << x;
    }
    EXPECT_EQ(h.Pixel(60, 25), 0x90FFFFu);
    int dots = 0;
    for (int x = 36; x < 80; ++x) dots += h.Pixel(x, 21) != h.Pixel(x + 1, 21);
    EXPECT_GT(dots, 30);   // alternating along the focus rectangle's top edge
}

TEST(ElectrodeGrid, FocusRectangleShowsOnlyWhileFocused)
{
    ElectrodeHost h;
    h.Show();
    h.Grid->SetFocus();
    Application->ProcessMessages();
    h.Paint();
    std::vector<TColor> focused;
    for (int x = 34; x < 84; ++x) focused.push_back(h.Pixel(x, 21));
    QWidget other(h.Window.get());
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    other.setFocus();
    Application->ProcessMessages();
    h.Paint();
    std::vector<TColor> unfocused;
    for (int x = 34; x < 84; ++x) unfocused.push_back(h.Pixel(x, 21));
    EXPECT_NE(focused, unfocused);
}

TEST(ElectrodeGrid, RoadOfOneEdit)
{
    ElectrodeHost h;
    h.Show();
    TExtStringGrid& g = *h.Grid;
    QWidget* w = g.Widget();
    // A click on cell (3, 2): the row changes, the cell is selected, the click reported.
    Click(w, 34 + 100 + 10, 42 + 10);
    EXPECT_EQ((std::pair{g.Col(), g.Row()}), (std::pair{3, 2}));
    ASSERT_GE(h.Log.size(), 3u);
    EXPECT_EQ(h.Log[0], "RowChanging 1->2");
    EXPECT_EQ(h.Log[1], "SelectCell 3,2");
    EXPECT_EQ(h.Log.back(), "ClickCell 2,3");
    // A click on the fixed column keeps the selection.
    h.Log.clear();
    Click(w, 10, 73);
    EXPECT_EQ((std::pair{g.Col(), g.Row()}), (std::pair{3, 2}));
    EXPECT_EQ(h.Log, (std::vector<std::string>{"ClickCell 3,0"}));
    // Enter opens the editor without moving.
    g.SetFocus();
    Key(w, Qt::Key_Return, Qt::NoModifier, "\r");
    ASSERT_NE(g.InplaceEditor(), nullptr);
    EXPECT_TRUE(g.EditorMode());
    EXPECT_EQ((std::pair{g.Col(), g.Row()}), (std::pair{3, 2}));
    EXPECT_EQ(g.InplaceEditor()->Text(), "1.25");
    QWidget* e = g.InplaceEditor()->Widget();
    Key(e, Qt::Key_Escape, Qt::NoModifier, "\x1b");
    EXPECT_EQ(g.Cells(3, 2), "1.25");
    Key(e, Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_FALSE(g.EditorMode());
    // "1" opens the editor holding "1"; "1,5" is stored through OnCellValidate.
    g.SetFocus();
    Type(w, "1");
    EXPECT_TRUE(g.EditorMode());
    EXPECT_EQ(g.InplaceEditor()->Text(), "1");
    Type(e, ",5");
    h.Log.clear();
    Key(e, Qt::Key_Return, Qt::NoModifier, "\r");
    ASSERT_FALSE(h.Log.empty());
    EXPECT_EQ(h.Log[0], "Validate 3,2 1,5");
    EXPECT_EQ(std::count_if(h.Log.begin(), h.Log.end(), [](const std::string& s) { return s.rfind("Validate", 0) == 0; }), 1);
    EXPECT_EQ(g.Cells(3, 2), "1,5");
    EXPECT_EQ(h.Stored, (std::vector<double>{1.5}));
    EXPECT_FALSE(g.EditorMode());
    // "100001" is refused: the old text returns and the editor reopens on the cell.
    Type(w, "1");
    Type(e, "00001");
    h.Log.clear();
    Key(e, Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(g.Cells(3, 2), "1,5");
    EXPECT_TRUE(g.EditorMode());
    EXPECT_TRUE(g.InplaceEditor()->Visible());
    EXPECT_EQ(g.InplaceEditor()->Text(), "1,5");
    EXPECT_EQ((std::pair{g.Col(), g.Row()}), (std::pair{3, 2}));
    // Escape restores the text the cell had when editing began, even after several changes.
    Type(e, "77");
    Type(e, "8");
    Key(e, Qt::Key_Escape, Qt::NoModifier, "\x1b");
    EXPECT_EQ(g.Cells(3, 2), "1,5");
    EXPECT_EQ(g.InplaceEditor()->Text(), "1,5");
}

TEST(ElectrodeGrid, FocusToAnotherWindowValidatesBackToTheGridDoesNot)
{
    ElectrodeHost h;
    h.Show();
    TExtStringGrid& g = *h.Grid;
    g.SetCol(3);
    g.SetFocus();
    Type(g.Widget(), "7");
    ASSERT_TRUE(g.EditorMode());
    // Back to the grid (Enter closes the editor by the class library's key): no validation by the move.
    g.SetFocus();
    Application->ProcessMessages();
    EXPECT_TRUE(std::none_of(h.Log.begin(), h.Log.end(), [](const std::string& s) { return s.rfind("Validate", 0) == 0; }));
    // Reopen and move the focus to another window.
    Type(g.Widget(), "8");
    ASSERT_TRUE(g.EditorMode());
    QWidget other;
    other.setGeometry(500, 60, 100, 100);
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    other.activateWindow();
    other.setFocus();
    Application->ProcessMessages();
    EXPECT_TRUE(std::any_of(h.Log.begin(), h.Log.end(), [](const std::string& s) { return s == "Validate 3,1 8"; }));
    EXPECT_EQ(g.Cells(3, 1), "8");
}

TEST(ElectrodeGrid, WritingRowSelectsAndRefreshRowRepaintsThatRowOnly)
{
    ElectrodeHost h;
    h.Show();
    TExtStringGrid& g = *h.Grid;
    g.SetRow(4);
    EXPECT_NE(std::find(h.Log.begin(), h.Log.end(), "SelectCell 1,4"), h.Log.end());
    h.Paint();
    g.RefreshRow(3);
    g.Update();
    const TRect r = g.CellRect(1, 3);
    EXPECT_EQ(g.UpdateRect().Top, r.Top);
    EXPECT_EQ(g.UpdateRect().Bottom, r.Bottom);
    EXPECT_EQ(g.CellsPaintedLastTime(), 4);
}

TEST(ElectrodeGrid, WheelMovesThreeRowsAndOneMoreOverTheFocusedGrid)
{
    ElectrodeHost h(30);
    h.Show();
    TExtStringGrid& g = *h.Grid;
    g.SetFocus();
    Wheel(g.Widget(), 100, 100, -120);
    EXPECT_EQ(g.Row(), 1 + 3 + 1);
    Wheel(g.Widget(), 100, 100, 120);
    EXPECT_EQ(g.Row(), 1);
    // Outside the grid nothing happens.
    Wheel(g.Widget(), 400, 400, -120);
    EXPECT_EQ(g.Row(), 1);
    // With the editor open and focused one notch moves one row.
    g.SetCol(3);
    g.SetFocus();
    Type(g.Widget(), "5");
    ASSERT_TRUE(g.EditorMode());
    Wheel(g.InplaceEditor()->Widget(), 10, 10, -120);
    EXPECT_EQ(g.Row(), 2);
}

TEST(ElectrodeGrid, CtrlWheelZoomsAndRefusesPastTen)
{
    ElectrodeHost h;
    h.Show();
    TExtStringGrid& g = *h.Grid;
    const int w1 = g.ColWidths(1), h1 = g.RowHeights(1);
    Wheel(g.Widget(), 100, 100, -120, Qt::ControlModifier);
    EXPECT_EQ(g.ZoomOffset(), 3);
    EXPECT_EQ(g.ColWidths(1), w1 + 3);
    EXPECT_EQ(g.RowHeights(1), h1 + 3);
    Wheel(g.Widget(), 100, 100, -120, Qt::ControlModifier);
    Wheel(g.Widget(), 100, 100, -120, Qt::ControlModifier);
    EXPECT_EQ(g.ZoomOffset(), 9);
    Wheel(g.Widget(), 100, 100, -120, Qt::ControlModifier);
    EXPECT_EQ(g.ZoomOffset(), 9);
    EXPECT_EQ(g.ColWidths(1), w1 + 9);
}

TEST(ElectrodeGrid, PanningMovesOneCellPerTickPastFivePixels)
{
    ElectrodeHost h(30);
    h.Show();
    TExtStringGrid& g = *h.Grid;
    QWidget* w = g.Widget();
    const QPointF origin(100, 100);
    QMouseEvent press(QEvent::MouseButtonPress, origin, w->mapToGlobal(origin), Qt::MiddleButton, Qt::MiddleButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    ASSERT_TRUE(g.Panning());
    auto moveTo = [&](int x, int y) {
        const QPointF p(x, y);
        QMouseEvent m(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, Qt::MiddleButton, Qt::NoModifier);
        QApplication::sendEvent(w, &m);
    };
    moveTo(100, 105);
    g.PanStep();
    EXPECT_EQ(g.Row(), 1);
    moveTo(130, 106);   // vertical panning only: the column stays
    g.PanStep();
    g.PanStep();
    EXPECT_EQ(g.Row(), 3);
    EXPECT_EQ(g.Col(), 1);
    moveTo(100, 90);
    g.PanStep();
    EXPECT_EQ(g.Row(), 2);
    // Any press ends panning.
    Click(w, 100, 100);
    EXPECT_FALSE(g.Panning());
}

TEST(ElectrodeGrid, PanningNeedsANormalRow)
{
    ElectrodeHost h(0);
    h.Grid->FixedRowAlways = true;
    h.Show();
    TExtStringGrid& g = *h.Grid;
    EXPECT_EQ(g.RowCount(), 1);
    EXPECT_EQ(g.FixedRows(), 1);
    Click(g.Widget(), 60, 10, Qt::MiddleButton);
    EXPECT_FALSE(g.Panning());
}

TEST(ElectrodeGrid, ProportionalThumbOfAHundredRowsInTwoHundredTenPixels)
{
    ElectrodeHost h(99);
    h.Grid->SetBounds(0, 0, 303, 210);
    h.Show();
    TExtStringGrid& g = *h.Grid;
    g.UpdateProportionalThumb(true);
    TScrollInfo info = g.GetScrollInfo(SB_VERT);
    // FW = 1 + 22, TW = 1 + 99 x 22, r = 187 / 2179; the page is about a tenth and positions run 0..127.
    EXPECT_EQ(info.Max, 139);
    EXPECT_EQ(info.Page, 13);
    EXPECT_EQ(info.Max - info.Page + 1, 127);
    EXPECT_EQ(info.Pos, 0);
    g.SetRow(99);
    info = g.GetScrollInfo(SB_VERT);
    EXPECT_EQ(info.Pos, 127);   // the raw rule would give 128
    // A control smaller than its fixed area still gets a page of at least 1.
    g.SetBounds(0, 0, 303, 15);
    g.UpdateProportionalThumb(true);
    EXPECT_GE(g.GetScrollInfo(SB_VERT).Page, 1);
}

// Under a real display (xvfb-run with QT_QPA_PLATFORM=xcb), VSP_GRID_SCREENSHOT=<file.png> saves what the
// screen shows of the electrode editor's grid with an edit open; without it the test is skipped.
TEST(ElectrodeGrid, ScreenshotOnRequest)
{
    const char* file = std::getenv("VSP_GRID_SCREENSHOT");
    if (!file) GTEST_SKIP() << "VSP_GRID_SCREENSHOT not set";
    ElectrodeHost h(30);
    h.Window->setWindowTitle("Electrode editor");
    h.Show();
    TExtStringGrid& g = *h.Grid;
    g.SetRow(3);
    g.SetCol(3);
    g.SetFocus();
    Type(g.Widget(), "1");
    Type(g.InplaceEditor()->Widget(), ",5");
    for (int i = 0; i < 20; ++i) Application->ProcessMessages();
    const QImage shot = h.Window->grab().toImage();
    ASSERT_TRUE(shot.save(file));
}
