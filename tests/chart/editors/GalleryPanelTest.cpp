// The miniature grid: cell layout, focus and looks, clicks, Enter and the arrow keys at the grid's edges
// and before disabled miniatures, the hover frame; pages of registered types, the sub-style pop-up and
// the smoothed picture.
#include "chart/editors/LumGalleryPanel.h"

#include "chart/control/ChartRegistry.h"
#include "chart/series/SeriesLine.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Prompter.h"
#include "platform/controls/Screen.h"
#include "platform/graphics/Canvas.h"
#include "tests/chart/editors/ChartWindowFixture.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace {

// Seven miniatures in a 2 x 4 grid of 200 x 100 pixels (the last cell empty).
struct TGrid {
    TChartGalleryPanel Panel{nullptr};
    int Changes = 0;
    int Selections = 0;
    TGrid()
    {
        Panel.SetNumRows(2);
        Panel.SetNumCols(4);
        Panel.SetBounds(0, 0, 200, 100);
        for (int i = 0; i < 7; ++i) Panel.NewMiniature();
        Panel.OnChangeChart = [this](TPersistent*) { ++Changes; };
        Panel.OnSelectedChart = [this](TPersistent*) { ++Selections; };
    }
    int Focused() const { return Panel.IndexOfMiniature(Panel.FocusedMiniature()); }
};

} // namespace

TEST(GalleryPanel, MiniaturesFillTheirCells)
{
    // Cells share the panel less its bevel and border; each miniature leaves the last pixel of its cell.
    TGrid grid;
    const int b = grid.Panel.BevelWidth() + grid.Panel.BorderWidth();
    EXPECT_EQ(grid.Panel.CellWidth(), (200 - b) / 4);
    EXPECT_EQ(grid.Panel.CellHeight(), (100 - b) / 2);
    const TGalleryChart& sixth = grid.Panel.Miniature(5);
    EXPECT_EQ(sixth.Left(), b + grid.Panel.CellWidth());
    EXPECT_EQ(sixth.Top(), b + grid.Panel.CellHeight());
    EXPECT_EQ(sixth.Width(), grid.Panel.CellWidth() - 1);
    EXPECT_EQ(sixth.Height(), grid.Panel.CellHeight() - 1);
    grid.Panel.SetNumCols(2);
    EXPECT_EQ(grid.Panel.CellWidth(), (200 - b) / 2);
    EXPECT_EQ(grid.Panel.Miniature(5).Left(), b + grid.Panel.CellWidth());
    EXPECT_EQ(grid.Panel.Miniature(5).Top(), b + 2 * grid.Panel.CellHeight())
        << "rows go on past the panel's two rows";

    const TGalleryChart& m = grid.Panel.Miniature(0);
    EXPECT_FALSE(m.Legend().Visible());
    EXPECT_FALSE(m.LeftAxis().Labels());
    EXPECT_EQ(m.Chart3DPercent(), 100);
    EXPECT_EQ(m.LeftWall().Size(), 4);
    EXPECT_EQ(m.BottomWall().Pen().Color(), clGray);
    EXPECT_EQ(m.View3DOptions().Rotation(), 335);
}

TEST(GalleryPanel, FocusShowsOneFocusedLook)
{
    TGrid grid;
    grid.Panel.FocusMiniature(nullptr);
    EXPECT_EQ(grid.Focused(), 0) << "none focused: the first enabled one";
    EXPECT_EQ(grid.Changes, 1);
    grid.Panel.MiniatureClick(&grid.Panel.Miniature(2));
    EXPECT_EQ(grid.Focused(), 2);
    EXPECT_EQ(grid.Changes, 2);
    const TGalleryChart& focused = grid.Panel.Miniature(2);
    EXPECT_TRUE(focused.FocusedLook());
    EXPECT_TRUE(focused.Title().Font().Style().Contains(fsBold));
    EXPECT_EQ(focused.BevelOuter(), bvRaised);
    EXPECT_EQ(focused.View3DOptions().Rotation(), 345);
    const TGalleryChart& former = grid.Panel.Miniature(0);
    EXPECT_FALSE(former.FocusedLook());
    EXPECT_EQ(former.BevelOuter(), bvNone);
    EXPECT_EQ(former.Title().Font().Color(), 0x800000);
    EXPECT_EQ(former.View3DOptions().Rotation(), 335);

    grid.Panel.MiniatureClick(&grid.Panel.Miniature(2));
    EXPECT_EQ(grid.Changes, 2) << "the focused one again changes nothing";
    grid.Panel.MiniatureDblClick(&grid.Panel.Miniature(4));
    EXPECT_EQ(grid.Focused(), 4);
    EXPECT_EQ(grid.Selections, 1);
}

TEST(GalleryPanel, ArrowKeysStopAtEdgesEmptyCellsAndDisabledMiniatures)
{
    struct Case {
        int From;
        std::uint16_t Key;
        int To;
    };
    // Cells: 0 1 2 3 / 4 5 6 (empty); miniature 5 is disabled.
    const std::vector<Case> cases = {
        {0, VK_RIGHT, 1}, {3, VK_RIGHT, 3}, {1, VK_LEFT, 0}, {0, VK_LEFT, 0}, {0, VK_DOWN, 4},
        {4, VK_DOWN, 4},  {4, VK_UP, 0},    {2, VK_UP, 2},   {4, VK_RIGHT, 4}, {1, VK_DOWN, 1},
        {6, VK_RIGHT, 6}, {3, VK_DOWN, 3},  {6, VK_LEFT, 6}, {2, VK_DOWN, 6},
    };
    TGrid grid;
    grid.Panel.Miniature(5).Disable();
    EXPECT_FALSE(grid.Panel.Miniature(5).MiniatureEnabled());
    for (const Case& c : cases) {
        grid.Panel.FocusMiniature(&grid.Panel.Miniature(c.From));
        std::uint16_t key = c.Key;
        grid.Panel.KeyDown(key, {});
        EXPECT_EQ(grid.Focused(), c.To) << "from " << c.From << " key " << c.Key;
    }
    grid.Selections = 0;
    std::uint16_t enter = VK_RETURN;
    grid.Panel.KeyDown(enter, {});
    EXPECT_EQ(grid.Selections, 1);

    // A miniature hands its keys to the panel.
    grid.Panel.FocusMiniature(&grid.Panel.Miniature(0));
    std::uint16_t right = VK_RIGHT;
    grid.Panel.Miniature(0).OnKeyDown(&grid.Panel.Miniature(0), right, {});
    EXPECT_EQ(grid.Focused(), 1);
}

TEST(GalleryPanel, HoverFrameOnEnabledMiniaturesOnly)
{
    TGrid grid;
    TGalleryChart& m = grid.Panel.Miniature(0);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(m.Widget(), &enter);
    EXPECT_TRUE(m.HoverFrameShown());
    EXPECT_EQ(m.Canvas().GetPixel(0, 0), clWhite);
    EXPECT_EQ(m.Canvas().GetPixel(m.Width() - 1, m.Height() - 1), clGray);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(m.Widget(), &leave);
    EXPECT_FALSE(m.HoverFrameShown());
    EXPECT_EQ(m.Canvas().GetPixel(0, 0), ColorToRGB(m.Color()));

    TGalleryChart& off = grid.Panel.Miniature(1);
    off.Disable();
    QApplication::sendEvent(off.Widget(), &enter);
    EXPECT_FALSE(off.HoverFrameShown());
}

// ---- Pages of registered types ------------------------------------------------------------------------------

namespace {

// Replaces the type registry's entries for a test and puts the real ones back afterwards.
struct TRegistryPages {
    std::vector<TLumSeriesType> Saved;
    TRegistryPages()
    {
        TLumSeriesTypes& types = *LumSeriesTypes();
        for (int i = 0; i < types.Count(); ++i) Saved.push_back(types.GetSeriesType(i));
        types.Clear();
    }
    ~TRegistryPages()
    {
        TLumSeriesTypes& types = *LumSeriesTypes();
        types.Clear();
        for (const TLumSeriesType& e : Saved) types.Add(e);
    }
    static void Add(const TClassInfo& Class, const std::string& Page, int Count = 1)
    {
        for (int i = 0; i < Count; ++i) LumSeriesTypes()->Add({&Class, nullptr, "Kind\r" + std::to_string(i), Page, 1});
    }
};

struct TShownPanel {
    QWidget Window;
    TChartGalleryPanel Panel{nullptr};
    TShownPanel()
    {
        Window.setGeometry(40, 40, 420, 320);
        Panel.SetParentWidget(&Window);
        Panel.SetBounds(0, 0, 400, 300);
    }
};

} // namespace

TEST(GalleryPanelPages, RowsFollowThePageSizeAndGoBack)
{
    TRegistryPages pages;
    TRegistryPages::Add(TLineSeries::StaticClassInfo(), "Eight", 8);
    TRegistryPages::Add(TLineSeries::StaticClassInfo(), "Nine", 9);
    TRegistryPages::Add(TLineSeries::StaticClassInfo(), "Twelve", 12);
    TRegistryPages::Add(TLineSeries::StaticClassInfo(), "Thirteen", 13);
    TShownPanel shown;
    struct Case {
        const char* Page;
        int Rows;
        int Miniatures;
    };
    for (const Case& c : {Case{"Eight", 3, 8}, Case{"Nine", 3, 9}, Case{"Twelve", 3, 12}, Case{"Thirteen", 4, 13},
                          Case{"Eight", 3, 8}}) {
        shown.Panel.FillPage(c.Page);
        EXPECT_EQ(shown.Panel.NumRows(), c.Rows) << c.Page;
        EXPECT_EQ(shown.Panel.MiniatureCount(), c.Miniatures) << c.Page;
    }
    EXPECT_EQ(shown.Panel.Miniature(0).Title().Text().Count(), 2) << "a carriage return breaks the caption";
    EXPECT_EQ(shown.Panel.Miniature(0).Title().Text()[1], "0");

    // No columns: the rows stay and nothing is placed, without a fault.
    shown.Panel.SetNumCols(0);
    shown.Panel.FillPage("Thirteen");
    EXPECT_EQ(shown.Panel.NumRows(), 3);
    EXPECT_EQ(shown.Panel.MiniatureCount(), 13);
    EXPECT_EQ(shown.Panel.CellWidth(), 0);
}

TEST(GalleryPanelPages, ReferenceKindFocusedAndRefusingKindsDisabled)
{
    TShownPanel shown;
    TChartWindow window;
    TLineSeries& line = window.AddSeries<TLineSeries>("line", [](int i) { return double(i); });
    shown.Panel.ReferenceSeries = &line;
    shown.Panel.FillPage("Standard");
    ASSERT_NE(shown.Panel.FocusedMiniature(), nullptr);
    EXPECT_EQ(&shown.Panel.FocusedMiniature()->SeriesAt(0)->ClassInfo(), &TLineSeries::StaticClassInfo());

    // The map refuses a line series as its source: grey, "no" cursor, deaf to clicks and keys.
    shown.Panel.DisableRefused = true;
    shown.Panel.FillPage("Extended");
    ASSERT_EQ(shown.Panel.MiniatureCount(), 1);
    TGalleryChart& map = shown.Panel.Miniature(0);
    EXPECT_FALSE(map.MiniatureEnabled());
    EXPECT_EQ(map.Cursor(), crNo);
    EXPECT_EQ(map.Title().Font().Color(), clGray);
    EXPECT_FALSE(map.OnClick);
    EXPECT_EQ(shown.Panel.FocusedMiniature(), nullptr) << "no enabled miniature to focus";
    const TClassInfo* seriesClass = nullptr;
    const TClassInfo* functionClass = nullptr;
    int style = -1;
    EXPECT_FALSE(shown.Panel.ChosenType(seriesClass, functionClass, style));

    shown.Panel.DisableRefused = false;
    shown.Panel.FillPage("Extended");
    EXPECT_TRUE(shown.Panel.Miniature(0).MiniatureEnabled());
    ASSERT_TRUE(shown.Panel.ChosenType(seriesClass, functionClass, style));
    EXPECT_EQ(style, 0);
    EXPECT_EQ(functionClass, nullptr);
}

TEST(GalleryPanelPages, FunctionPagesCarryTheirFunctionOnLineSeries)
{
    TShownPanel shown;
    shown.Panel.ShowsFunctions = true;
    shown.Panel.FillPage("Standard");
    ASSERT_GT(shown.Panel.MiniatureCount(), 0);
    const TClassInfo* seriesClass = nullptr;
    const TClassInfo* functionClass = nullptr;
    int style = -1;
    ASSERT_TRUE(shown.Panel.ChosenType(seriesClass, functionClass, style));
    EXPECT_NE(functionClass, nullptr);
    EXPECT_TRUE(seriesClass->InheritsFrom(TLineSeries::StaticClassInfo()));
}

TEST(GalleryPanelPages, SubStyleChoiceAppliesTheStyleAndZeroRemakesTheSeries)
{
    TShownPanel shown;
    shown.Window.show();
    shown.Panel.FillPage("Standard");
    TGalleryChart* line = nullptr;
    for (int i = 0; i < shown.Panel.MiniatureCount(); ++i)
        if (&shown.Panel.Miniature(i).SeriesAt(0)->ClassInfo() == &TLineSeries::StaticClassInfo()) line = &shown.Panel.Miniature(i);
    ASSERT_NE(line, nullptr);
    shown.Panel.FocusMiniature(line);
    const int count = line->CountSeries();
    int subSelected = 0;
    shown.Panel.OnSubSelected = [&](TPersistent*) { ++subSelected; };

    // Style 1 of a line series is "Stairs".
    {
        TPromptScript script;
        script.DriveForm([&](TForm& Form) {
            TChartGalleryPanel& popup = *shown.Panel.SubStylesPanel();
            EXPECT_EQ(&Form, shown.Panel.SubStylesForm());
            EXPECT_FALSE(popup.DisplaySub());
            EXPECT_GT(popup.MiniatureCount(), 1);
            EXPECT_EQ(popup.Miniature(1).Tag(), 1);
            popup.MiniatureDblClick(&popup.Miniature(1));
        });
        shown.Panel.PopupSubStyles();
        EXPECT_TRUE(script.Failures().empty());
    }
    EXPECT_EQ(subSelected, 1);
    EXPECT_EQ(line->Tag(), 1);
    ASSERT_EQ(line->CountSeries(), count);
    for (int i = 0; i < count; ++i) EXPECT_TRUE(dynamic_cast<TLineSeries*>(line->SeriesAt(i))->Stairs());

    {
        TPromptScript script;
        script.DriveForm([&](TForm&) {
            TChartGalleryPanel& popup = *shown.Panel.SubStylesPanel();
            popup.MiniatureDblClick(&popup.Miniature(0));
        });
        shown.Panel.PopupSubStyles();
    }
    EXPECT_EQ(line->Tag(), 0);
    ASSERT_EQ(line->CountSeries(), count);
    for (int i = 0; i < count; ++i) EXPECT_FALSE(dynamic_cast<TLineSeries*>(line->SeriesAt(i))->Stairs()) << "made anew";

    // Esc: nothing chosen.
    {
        TPromptScript script;
        script.DriveForm([&](TForm& Form) { Form.SetModalResult(mrCancel); });
        shown.Panel.PopupSubStyles();
    }
    EXPECT_EQ(subSelected, 2);
    EXPECT_EQ(shown.Panel.SubStylesForm(), nullptr);

    // Alt+Down opens it from the keyboard.
    TPromptScript script;
    script.DriveForm([](TForm& Form) { Form.SetModalResult(mrCancel); });
    std::uint16_t down = VK_DOWN;
    shown.Panel.KeyDown(down, TShiftState{ssAlt});
    EXPECT_TRUE(script.Failures().empty()) << "the pop-up came";
    EXPECT_EQ(script.Pending(), 0u);
}

TEST(GalleryPanelPages, PopupStaysTwoPixelsInsideTheWorkArea)
{
    const TRect work = Screen->WorkAreaRect();
    TShownPanel shown;
    // The panel's window at the bottom-right corner of the work area.
    shown.Window.setGeometry(work.Right - 300, work.Bottom - 200, 300, 200);
    shown.Panel.SetBounds(0, 0, 300, 200);
    shown.Window.show();
    QCoreApplication::processEvents();
    shown.Panel.FillPage("Standard");
    // The right-most miniature of the lowest row that reaches that column.
    int corner = 0;
    for (int i = 1; i < shown.Panel.MiniatureCount(); ++i) {
        const auto& m = shown.Panel.Miniature(i);
        const auto& c = shown.Panel.Miniature(corner);
        if (m.Left() > c.Left() || (m.Left() == c.Left() && m.Top() > c.Top())) corner = i;
    }
    shown.Panel.FocusMiniature(&shown.Panel.Miniature(corner));
    TPromptScript script;
    script.DriveForm([&](TForm& Form) {
        const QRect g = Form.geometry();
        EXPECT_EQ(g.left() + g.width(), work.Right - 2);
        EXPECT_EQ(g.top() + g.height(), work.Bottom - 2);
        Form.SetModalResult(mrCancel);
    });
    shown.Panel.PopupSubStyles();
    EXPECT_TRUE(script.Failures().empty());
}

TEST(GalleryPanelPages, SmoothedMiniatureKeepsItsLabelFontSizes)
{
    TShownPanel shown;
    shown.Window.show();
    shown.Panel.SetSmooth(true);
    shown.Panel.FillPage("Standard");
    TGalleryChart& m = shown.Panel.Miniature(0);
    EXPECT_TRUE(m.Smooth());
    const int left = m.LeftAxis().LabelsFont().Size();
    const int bottom = m.BottomAxis().LabelsFont().Size();
    for (int i = 0; i < 3; ++i) {
        m.Invalidate();
        m.Repaint();
    }
    EXPECT_EQ(m.LeftAxis().LabelsFont().Size(), left);
    EXPECT_EQ(m.BottomAxis().LabelsFont().Size(), bottom);
    EXPECT_FALSE(m.RenderingEnlarged());
    EXPECT_EQ(m.MarginTop(), 4);
    EXPECT_TRUE(m.Title().Visible());
    shown.Panel.SetSmooth(false);
    EXPECT_FALSE(m.Smooth());
}
