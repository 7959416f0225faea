// The editor controls on the real grid, chosen by OnGetEditorType and driven by synthetic keys: each
// opens over its cell with the cell's text, takes a typed character, routes Tab, Enter, Escape and the
// arrows back to the grid, keeps itself open when OnCellValidate refuses, and stores its value (or, for
// the check box and the button, nothing).
#include "GridHosts.h"

#include <gtest/gtest.h>

using namespace gridtest;

namespace {

// The shared editor grid with its values validated, and where the editor controls lie.
struct EditorHost : EditorGridHost {
    explicit EditorHost(TEditorType type) : EditorGridHost(type) { RecordValidation(); }
    QWidget* W() { return G().Widget(); }
    void At(int c, int r) { G().MoveColRow(c, r, true, true); }
    // The control lies over the cell.
    bool OverCell(TWinControl& c, int col, int row)
    {
        const TRect r = G().CellRect(col, row);
        return c.Visible() && c.Left() == r.Left && c.Top() == r.Top && std::abs(c.Width() - (r.Width() - 1)) <= 1;
    }
};

} // namespace

TEST(GridEditors, SpinOpensOverItsCellTakesTypingAndRoutesKeys)
{
    EditorHost h(edSpinEdit);
    TExtStringGrid& g = h.G();
    TGridSpin& spin = *g.SpinEditor();
    EXPECT_FALSE(spin.Visible());
    EXPECT_FALSE(spin.Enabled());
    g.SetCells(1, 1, "5");
    h.At(1, 1);
    h.Open();
    EXPECT_TRUE(h.OverCell(spin, 1, 1));
    EXPECT_EQ(spin.Text(), "5");
    EXPECT_TRUE(spin.Focused());
    Type(spin.Widget(), "42");
    Key(spin.Widget(), Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(g.Cells(1, 1), "42");
    EXPECT_FALSE(spin.Visible());
    EXPECT_EQ(h.Pos(), (std::pair{1, 1}));
    EXPECT_EQ(h.Validated, (std::vector<std::string>{"1,1=42"}));
    // A character typed on the grid opens the spin holding it.
    g.SetFocus();
    Key(h.W(), Qt::Key_7, Qt::NoModifier, "7");
    Application->ProcessMessages();
    EXPECT_TRUE(spin.Visible());
    EXPECT_EQ(spin.Text(), "7");
    // Down validates, stores and moves down; Up the same way up.
    Key(spin.Widget(), Qt::Key_Down);
    EXPECT_EQ(g.Cells(1, 1), "7");
    EXPECT_EQ(h.Pos(), (std::pair{1, 2}));
    EXPECT_FALSE(spin.Visible());
    // Tab with goTabs moves on by the grid's Tab rules; Escape keeps the cell's text.
    g.SetCells(1, 2, "3");
    h.Open();
    Type(spin.Widget(), "9");
    Key(spin.Widget(), Qt::Key_Escape);
    EXPECT_EQ(g.Cells(1, 2), "3");
    EXPECT_FALSE(spin.Visible());
    h.Open();
    Key(spin.Widget(), Qt::Key_Tab);
    EXPECT_EQ(h.Pos(), (std::pair{2, 2}));
}

TEST(GridEditors, SpinRefusalKeepsItOpenAndPageKeysStep)
{
    EditorHost h(edSpinEdit);
    TExtStringGrid& g = h.G();
    TGridSpin& spin = *g.SpinEditor();
    g.SetCells(1, 1, "5");
    h.Refuse = "60";
    h.At(1, 1);
    h.Open();
    Type(spin.Widget(), "60");
    Key(spin.Widget(), Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_TRUE(spin.Visible());
    EXPECT_EQ(spin.Text(), "5");
    EXPECT_EQ(g.Cells(1, 1), "5");
    EXPECT_EQ(h.Pos(), (std::pair{1, 1}));
    // PgUp and PgDn step within the limits, Home and End go to them; each reports a spin click.
    std::vector<std::string> clicks;
    g.OnSpinClick = [&](TPersistent*, int c, int r, int v, bool up) {
        clicks.push_back(std::to_string(c) + "," + std::to_string(r) + ":" + std::to_string(v) + (up ? "+" : "-"));
    };
    spin.Increment = 10;
    Key(spin.Widget(), Qt::Key_PageUp);
    EXPECT_EQ(spin.Value(), 15);
    Key(spin.Widget(), Qt::Key_Home);
    EXPECT_EQ(spin.Value(), 100);
    Key(spin.Widget(), Qt::Key_PageUp);   // 110 would pass MaxValue: unchanged
    EXPECT_EQ(spin.Value(), 100);
    Key(spin.Widget(), Qt::Key_End);
    EXPECT_EQ(spin.Value(), 0);
    Key(spin.Widget(), Qt::Key_PageDown);
    EXPECT_EQ(spin.Value(), 0);
    EXPECT_EQ(clicks, (std::vector<std::string>{"1,1:15+", "1,1:100+", "1,1:100+", "1,1:0-", "1,1:0-"}));
    // The spin button's steps report too.
    spin.StepUp();
    EXPECT_EQ(clicks.back(), "1,1:10+");
}

TEST(GridEditors, SpinTypesCommitTheirValues)
{
    FormatSettings().DateSeparator = '.';
    FormatSettings().ShortDateFormat = "dd.mm.yyyy";
    struct Case {
        TEditorType Type;
        const char* Cell;
        const char* Shown;
        const char* Stored;
    };
    const Case cases[] = {{edSpinEdit, "12x", "12", "12"},
                          {edFloatSpinEdit, "1,234.5", "1234.5", "1234.50"},
                          {edTimeSpinEdit, "10:20:30", "10:20:30", "10:20:30"},
                          {edDateSpinEdit, "31.01.2004", "31.01.2004", "31.01.2004"}};
    for (const Case& c : cases) {
        EditorHost h(c.Type);
        TExtStringGrid& g = h.G();
        g.SpinEditor()->MaxFloatValue = 1e9;
        g.SetCells(1, 1, c.Cell);
        h.At(1, 1);
        h.Open();
        EXPECT_EQ(g.SpinEditor()->Text(), c.Shown) << c.Cell;
        g.HideEditorControl();
        EXPECT_EQ(g.Cells(1, 1), c.Stored) << c.Cell;
    }
    ResetFormatSettings();
}

TEST(GridEditors, ComboCompletesWheelsDropsAndRestores)
{
    EditorHost h(edComboEdit);
    TExtStringGrid& g = h.G();
    TGridCombo& combo = *g.ComboEditor();
    combo.SetItems({"apple", "banana", "cherry"});
    g.Lookup = true;
    g.LookupItems = {"zeta"};
    g.SetCells(1, 1, "banana");
    h.At(1, 1);
    h.Open();
    EXPECT_TRUE(h.OverCell(combo, 1, 1));
    EXPECT_EQ(combo.Text(), "banana");
    EXPECT_TRUE(combo.Flat());   // the XP look
    // Completion from the items, then from the lookup list.
    combo.SetText("");
    Type(combo.Widget(), "ch");
    EXPECT_EQ(combo.Text(), "cherry");
    EXPECT_EQ(combo.ItemIndex(), 2);
    EXPECT_EQ(combo.EditSelLength(), 4);
    combo.SetText("");
    Key(combo.Widget(), Qt::Key_Z, Qt::NoModifier, "z");
    EXPECT_EQ(combo.Text(), "zeta");
    // Alt+Down opens the list instead of leaving; the wheel stays at the last item.
    Key(combo.Widget(), Qt::Key_Down, Qt::AltModifier);
    EXPECT_TRUE(combo.DroppedDown());
    EXPECT_TRUE(combo.Visible());
    combo.SetDroppedDown(false);
    std::vector<std::string> changes;
    g.OnComboChange = [&](TPersistent*, int, int, int i, const std::string& s) { changes.push_back(std::to_string(i) + s); };
    combo.SetItemIndex(1);
    Wheel(combo.Widget(), 5, 5, -120);
    Wheel(combo.Widget(), 5, 5, -120);
    EXPECT_EQ(combo.ItemIndex(), 2);
    EXPECT_EQ(changes, (std::vector<std::string>{"2cherry", "2cherry"}));
    // Escape restores the cell's text, which is then committed.
    Key(combo.Widget(), Qt::Key_Escape);
    EXPECT_FALSE(combo.Visible());
    EXPECT_EQ(g.Cells(1, 1), "banana");
    // Enter stores the typed text; Right in an edit-style combo stays in the control.
    h.Open();
    combo.SetText("new");
    Key(combo.Widget(), Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(g.Cells(1, 1), "new");
    EXPECT_EQ(h.Pos(), (std::pair{1, 1}));
}

TEST(GridEditors, ComboListShowsTheFirstItemForAnUnknownText)
{
    EditorHost h(edComboList);
    TExtStringGrid& g = h.G();
    TGridCombo& combo = *g.ComboEditor();
    combo.SetStyle(csDropDown);
    combo.SetItems({"red", "green"});
    g.SetCells(1, 1, "blue");
    h.At(1, 1);
    h.Open();
    // The edit part an edit-style combo had goes with the switch, not later from the message loop.
    for (int i = 0; i < 3; ++i) Application->ProcessMessages();
    EXPECT_TRUE(combo.Visible());
    EXPECT_TRUE(combo.Focused());
    EXPECT_EQ(combo.Style(), csDropDownList);
    EXPECT_EQ(combo.ItemIndex(), 0);
    EXPECT_EQ(combo.Text(), "red");
    // In a list, Right leaves and moves the current cell.
    Key(combo.Widget(), Qt::Key_Right);
    EXPECT_FALSE(combo.Visible());
    EXPECT_EQ(h.Pos(), (std::pair{2, 1}));
    EXPECT_EQ(g.Cells(1, 1), "red");
}

TEST(GridEditors, UnitEditSplitsNumberAndUnit)
{
    EditorHost h(edUnitEditBtn);
    TExtStringGrid& g = h.G();
    TGridUnitEditBtn& u = *g.UnitEditBtnEditor();
    g.SetCells(1, 1, "12.5 kg");
    h.At(1, 1);
    h.Open();
    EXPECT_TRUE(h.OverCell(u, 1, 1));
    EXPECT_EQ(u.Text(), "12.5");
    EXPECT_EQ(u.UnitID(), " kg");
    Key(u.Widget(), Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(g.Cells(1, 1), "12.5 kg");
    EXPECT_TRUE(h.Validated.empty());   // the same text: nothing to validate
    h.Open();
    u.SetText("7");
    Key(u.Widget(), Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(g.Cells(1, 1), "7 kg");
    EXPECT_FALSE(u.Visible());
}

TEST(GridEditors, EditButtonAsksTheApplicationAndFiltersNumbers)
{
    EditorHost h(edNumericEditBtn);
    TExtStringGrid& g = h.G();
    TGridEditBtn& b = *g.EditBtnEditor();
    g.OnEllipsClick = [](TPersistent*, int c, int r, std::string& s) { s = s + "!" + std::to_string(c) + std::to_string(r); };
    g.SetCells(1, 1, "4");
    h.At(1, 1);
    h.Open();
    EXPECT_EQ(b.Text(), "4");
    Key(b.Widget(), Qt::Key_F4);
    EXPECT_EQ(b.Text(), "4!11");
    b.SetText("");
    Type(b.Widget(), "1a2");
    EXPECT_EQ(b.Text(), "12");
    Key(b.Widget(), Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(g.Cells(1, 1), "12");
}

TEST(GridEditors, CheckBoxAndButtonStoreNothing)
{
    EditorHost h(edCheckBox);
    TExtStringGrid& g = h.G();
    TGridCheckBox& c = *g.CheckBoxEditor();
    g.SetCells(1, 1, "agree");
    h.At(1, 1);
    h.Open();
    EXPECT_TRUE(h.OverCell(c, 1, 1));
    EXPECT_EQ(c.Caption(), "agree");
    EXPECT_FALSE(c.Checked());
    Key(c.Widget(), Qt::Key_Space, Qt::NoModifier, " ");
    EXPECT_TRUE(c.Checked());
    c.SetCaption("changed");
    Key(c.Widget(), Qt::Key_Escape);
    EXPECT_EQ(c.Caption(), "agree");
    EXPECT_FALSE(c.Visible());
    EXPECT_EQ(g.Cells(1, 1), "agree");
    // Down leaves and moves down.
    h.Open();
    Key(c.Widget(), Qt::Key_Down);
    EXPECT_EQ(h.Pos(), (std::pair{1, 2}));
    EXPECT_EQ(g.Cells(1, 1), "agree");

    EditorHost b(edButton);
    TGridButton& button = *b.G().ButtonEditor();
    b.G().OnEllipsClick = [](TPersistent*, int, int, std::string& s) { s = "[" + s + "]"; };
    b.At(1, 1);
    b.Open();
    EXPECT_EQ(button.Caption(), "1:1");
    const TRect cell = b.G().CellRect(1, 1);
    EXPECT_EQ(button.Left(), cell.Left - 1);
    Click(button.Widget(), 5, 5);
    EXPECT_EQ(button.Caption(), "[1:1]");
    Key(button.Widget(), Qt::Key_Escape);
    EXPECT_FALSE(button.Visible());
    EXPECT_EQ(b.G().Cells(1, 1), "1:1");
}

TEST(GridEditors, DatePickerTakesAndStoresTheDate)
{
    FormatSettings().DateSeparator = '.';
    FormatSettings().ShortDateFormat = "dd.mm.yyyy";
    EditorHost h(edDateEdit);
    TExtStringGrid& g = h.G();
    TGridDatePicker& d = *g.DatePickerEditor();
    g.SetCells(1, 1, "29.02.2004");
    h.At(1, 1);
    h.Open();
    EXPECT_TRUE(d.Visible());
    EXPECT_DOUBLE_EQ(d.Date(), EncodeDate(2004, 2, 29));
    EXPECT_EQ(d.Kind(), dtkDate);
    d.SetDate(EncodeDate(2004, 3, 1));
    Key(d.Widget(), Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(g.Cells(1, 1), "01.03.2004");
    // Escape puts the cell's date back; a cell that is no date opens on today.
    g.SetCells(1, 2, "no date");
    h.At(1, 2);
    h.Open();
    EXPECT_NEAR(d.Date(), std::floor(Now()), 1);
    ResetFormatSettings();
}

TEST(GridEditors, UnicodeEditAndCombo)
{
    EditorHost h(edUniEdit);
    TExtStringGrid& g = h.G();
    TGridUniEdit& e = *g.UniEditEditor();
    g.WriteWideCell(1, 1, u"\u0416uk");
    h.At(1, 1);
    h.Open();
    EXPECT_EQ(e.WideText(), u"\u0416uk");
    EXPECT_EQ(e.Left(), g.CellRect(1, 1).Left + g.XMargin + 2);
    e.SetSelStart(4);
    Key(e.Widget(), 0, Qt::NoModifier, QString(QChar(0x0431)));
    Key(e.Widget(), Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(g.ReadWideCell(1, 1), u"\u0416uk\u0431");

    EditorHost c(edUniComboList);
    TGridUniCombo& combo = *c.G().UniComboEditor();
    combo.WideItems().Add(u"\u03b1");
    combo.WideItems().Add(u"\u03b2");
    c.G().WriteWideCell(1, 1, u"\u03b2");
    c.At(1, 1);
    c.Open();
    EXPECT_EQ(combo.ItemIndex(), 1);
    EXPECT_EQ(combo.TextWide(), u"\u03b2");
    combo.SetItemIndex(0);
    Key(combo.Widget(), Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(c.G().ReadWideCell(1, 1), u"\u03b1");
}
