// The auxiliary editors on the real grid: an application's editor link in the cell and in a pop-up
// (kept and leaving keys, Escape, the pop-up's width and its deactivation), a rich text cell edited and
// saved as rich text, the mini-markup EDIT and COMBO controls, and the routing of the leaving keys for
// each text-bearing control type.
#include "GridHosts.h"
#include "platform/controls/PopupForm.h"
#include "platform/rtl/AnsiText.h"
#include "platform/rtl/StringList.h"

#include <gtest/gtest.h>

using namespace gridtest;

namespace {

// An application's editor: a plain edit that hands its keys to the link.
class TTestLink : public TEditLink {
public:
    using TEditLink::TEditLink;
    TCustomEdit* Edit = nullptr;
    int Looks = 0, Readies = 0;
    TWinControl* EditorControl() override { return Edit; }
    void BuildEditor(TWinControl* AParent) override
    {
        if (!Edit) {
            Edit = new TCustomEdit(this);
            Edit->OnKeyDown = [this](TPersistent* s, std::uint16_t& k, TShiftState sh) { HandleEditKey(s, k, sh); };
        }
        Edit->SetParent(AParent);
    }
    void SetEditorLook(TColor, const TFont&) override { ++Looks; }
    void EditorReady() override { ++Readies; }
    std::string EditorValue() override { return Edit ? Edit->Text() : ""; }
    void LoadEditorValue(const std::string& v) override { Edit->SetText(v); }
};

} // namespace

TEST(GridEditLink, InPlaceLinkKeepsOrLeavesTheArrowsAndEscapeRestores)
{
    EditorGridHost h(edCustom);
    TExtStringGrid& g = h.G();
    TTestLink link(nullptr);
    g.SetCustomEditLink(&link);
    std::vector<TPoint> props;
    g.OnGetEditorProp = [&](TPersistent*, int c, int r, TEditLink* l) {
        EXPECT_EQ(l, &link);
        props.push_back({c, r});
    };
    g.MoveColRow(1, 2, true, true);
    h.Open();
    ASSERT_NE(link.Edit, nullptr);
    EXPECT_EQ(link.Grid, &g);
    EXPECT_EQ(link.EditCell, (TPoint{1, 2}));
    EXPECT_EQ(props, (std::vector<TPoint>{{1, 2}}));
    EXPECT_EQ(link.Looks, 1);
    EXPECT_EQ(link.Readies, 1);
    EXPECT_TRUE(link.Hooked());
    EXPECT_TRUE(link.Edit->Visible());
    EXPECT_EQ(link.Edit->Text(), "1:2");
    const TRect cell = g.CellRect(1, 2);
    EXPECT_EQ(link.Edit->Left(), cell.Left);
    EXPECT_EQ(link.Edit->Width(), cell.Width() - g.GridLineWidth());
    // Wanted: Up stays with the control.
    link.WantKeyUpDown = true;
    Key(link.Edit->Widget(), Qt::Key_Up);
    EXPECT_TRUE(link.Edit->Visible());
    EXPECT_EQ(h.Pos(), (std::pair{1, 2}));
    // Not wanted: Up stores the value and moves the current cell.
    link.WantKeyUpDown = false;
    link.Edit->SetText("new");
    Key(link.Edit->Widget(), Qt::Key_Up);
    EXPECT_FALSE(link.Edit->Visible());
    EXPECT_FALSE(link.Hooked());
    EXPECT_EQ(g.Cells(1, 2), "new");
    EXPECT_EQ(h.Pos(), (std::pair{1, 1}));
    // Escape gives the cell the text it had when the editor opened.
    h.Open();
    link.Edit->SetText("typed");
    Key(link.Edit->Widget(), Qt::Key_Escape);
    EXPECT_EQ(g.Cells(1, 1), "1:1");
    EXPECT_FALSE(link.Edit->Visible());
    // Enter stores; the link forgets the grid when it goes.
    h.Open();
    link.Edit->SetText("entered");
    Key(link.Edit->Widget(), Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(g.Cells(1, 1), "entered");
    g.SetCustomEditLink(nullptr);
}

TEST(GridEditLink, PopupLinkTakesTheCellWidthAndStoresWhenDeactivated)
{
    EditorGridHost h(edCustom);
    TExtStringGrid& g = h.G();
    TTestLink link(nullptr);
    link.EditStyle = esPopup;
    link.AutoPopupWidth = true;
    link.PopupHeight = 80;
    g.SetCustomEditLink(&link);
    g.MoveColRow(1, 3, true, true);
    h.Open();
    ASSERT_NE(link.PopupForm, nullptr);
    const TRect cell = g.CellRect(1, 3);
    EXPECT_EQ(link.PopupWidth, cell.Width());
    EXPECT_EQ(link.PopupForm->Width(), cell.Width());
    EXPECT_EQ(link.PopupForm->Height(), 80);
    EXPECT_TRUE(link.PopupForm->IsShown());
    const TPoint at = g.ClientToScreen({cell.Left, cell.Top});
    EXPECT_EQ(link.PopupForm->Left(), at.x);
    EXPECT_EQ(link.Edit->Parent(), link.PopupForm);
    EXPECT_EQ(link.Edit->Width(), cell.Width() - g.GridLineWidth());
    link.Edit->SetText("picked");
    // The pop-up loses the activation (a click elsewhere): the value is stored and the pop-up goes.
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(link.PopupForm->Widget(), &deactivate);
    EXPECT_EQ(link.PopupForm, nullptr);
    Application->ProcessMessages();
    EXPECT_EQ(g.Cells(1, 3), "picked");
    EXPECT_FALSE(g.EditorOpen());
    EXPECT_EQ(link.Edit->Parent(), nullptr);
    g.SetCustomEditLink(nullptr);
}

TEST(GridEditLink, RichTextCellEditedSavedAndLeftUpwards)
{
    EditorGridHost h(edRichEdit);
    TExtStringGrid& g = h.G();
    g.SetWordWrap(false);
    TRichDocument doc;
    TRichParagraph p;
    p.Runs.push_back({"Bold", "", 0, {fsBold}, clNone});
    p.Runs.push_back({" and plain", "", 0, {}, clNone});
    doc.Paragraphs = {p};
    g.SetCells(1, 2, WriteRichText(doc));
    g.MoveColRow(1, 2, true, true);
    h.Open();
    TExtRichEdit& r = *g.RichEditEditor();
    EXPECT_TRUE(r.Visible());
    EXPECT_EQ(r.Document(), doc);
    EXPECT_EQ(r.SelLength(), static_cast<int>(std::string("Bold and plain").size()));
    // Typing replaces the selection in the look of its start; Up leaves the editor for the row above.
    r.SetSelStart(14);
    Key(r.Widget(), Qt::Key_Exclam, Qt::NoModifier, "!");
    EXPECT_EQ(r.Text(), "Bold and plain!");
    Key(r.Widget(), Qt::Key_Up);
    EXPECT_FALSE(r.Visible());
    EXPECT_EQ(h.Pos(), (std::pair{1, 1}));
    const TRichDocument saved = ParseRichText(g.Cells(1, 2));
    TRichDocument expected = doc;
    expected.Paragraphs[0].Runs[1].Text += "!";
    EXPECT_EQ(saved, expected);
    // The converter turns a cell's rich text into the editor and back.
    TExtRichEdit& conv = *g.RichTextConverter();
    g.CellToRichEdit(1, 2, conv);
    std::string back;
    g.RichEditToText(conv, back);
    EXPECT_EQ(ParseRichText(back), expected);
    g.SetCells(1, 3, "");
    g.CellToRichEdit(1, 3, conv);
    g.RichEditToText(conv, back);
    EXPECT_EQ(back, "");
}

TEST(GridEditLink, MarkupEditAndComboEndWithEnter)
{
    EditorGridHost h(edNormal);
    TExtStringGrid& g = h.G();
    g.SetColWidths(1, 200);
    // A closing tag makes the text mini-markup.
    g.SetCells(1, 1, "<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"abc\" WIDTH=\"80\"><B></B>");
    g.SetCells(1, 2, "<CONTROL TYPE=\"COMBO\" ID=\"c1\" VALUE=\"two\" WIDTH=\"80\"><B></B>");
    std::vector<std::string> done;
    g.OnControlEditDone = [&](TPersistent*, int r, int c, const std::string& id, const std::string& type, const std::string& v) {
        done.push_back(std::to_string(r) + "," + std::to_string(c) + " " + id + " " + type + " " + v);
    };
    g.OnControlComboList = [](TPersistent*, int, int, const std::string& id, const std::string&, const std::string&, TStringList& values,
                              bool& edit, int& drop) {
        EXPECT_EQ(id, "c1");
        values.Clear();
        for (const char* v : {"one", "two", "three"}) values.Add(v);
        edit = false;
        drop = 5;
    };
    Application->ProcessMessages();
    const TRect c1 = g.CellRect(1, 1);
    Click(g.Widget(), c1.Left + 12, c1.Top + 10);
    ASSERT_TRUE(g.ControlEditing());
    TWinControl* edit = nullptr;
    for (int i = 0; i < g.ControlCount(); ++i)
        if (dynamic_cast<TControlEdit*>(g.Controls(i))) edit = g.Controls(i);
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->Visible());
    EXPECT_EQ(edit->Text(), "abc");
    static_cast<TCustomEdit*>(edit)->SetSelStart(3);
    Key(edit->Widget(), Qt::Key_D, Qt::NoModifier, "d");
    Key(edit->Widget(), Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_FALSE(g.ControlEditing());
    EXPECT_FALSE(edit->Visible());
    EXPECT_NE(g.Cells(1, 1).find("VALUE=\"abcd\""), std::string::npos);
    const TRect c2 = g.CellRect(1, 2);
    Click(g.Widget(), c2.Left + 12, c2.Top + 10);
    ASSERT_TRUE(g.ControlEditing());
    TControlCombo* combo = nullptr;
    for (int i = 0; i < g.ControlCount(); ++i)
        if (auto* c = dynamic_cast<TControlCombo*>(g.Controls(i))) combo = c;
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->Style(), csDropDownList);
    EXPECT_EQ(combo->ItemCount(), 3);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->DropDownCount(), 5);
    combo->SetDroppedDown(false);
    combo->SetItemIndex(2);
    Key(combo->Widget(), Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_FALSE(g.ControlEditing());
    EXPECT_NE(g.Cells(1, 2).find("VALUE=\"three\""), std::string::npos);
    EXPECT_EQ(done, (std::vector<std::string>{"1,1 e1 EDIT abcd", "2,1 c1 COMBO three"}));
}

TEST(GridEditLink, LeavingKeysRouteForEveryTextControl)
{
    FormatSettings().DateSeparator = '.';
    FormatSettings().ShortDateFormat = "dd.mm.yyyy";
    struct Case {
        TEditorType Type;
        const char* Cell;
    };
    const Case cases[] = {{edSpinEdit, "5"}, {edComboEdit, "x"},      {edEditBtn, "x"},          {edUnitEditBtn, "3 m"},
                          {edUniEdit, "x"},  {edUniComboEdit, "x"},   {edDateEdit, "01.02.2004"}, {edNumericEditBtn, "7"}};
    for (const Case& c : cases) {
        EditorGridHost h(c.Type);
        TExtStringGrid& g = h.G();
        g.SetCells(1, 2, c.Cell);
        auto control = [&]() -> TWinControl* {
            for (int i = 0; i < g.ControlCount(); ++i)
                if (g.Controls(i)->Visible() && g.Controls(i)->Enabled() && g.Controls(i) != g.InplaceEditor()) return g.Controls(i);
            return nullptr;
        };
        // Tab (goTabs): on to the next cell; Shift+Tab back.
        g.MoveColRow(1, 2, true, true);
        h.Open();
        TWinControl* ctl = control();
        ASSERT_NE(ctl, nullptr) << c.Type;
        Key(ctl->Widget(), Qt::Key_Tab);
        EXPECT_EQ(h.Pos(), (std::pair{2, 2})) << c.Type;
        EXPECT_FALSE(ctl->Visible()) << c.Type;
        EXPECT_EQ(g.ReadWideCell(1, 2), AnsiToWide(c.Cell)) << c.Type;
        // Enter: stays (no AdvanceOnEnter), then advances with it.
        g.MoveColRow(1, 2, true, true);
        h.Open();
        ctl = control();
        ASSERT_NE(ctl, nullptr) << c.Type;
        Key(ctl->Widget(), Qt::Key_Return, Qt::NoModifier, "\r");
        EXPECT_EQ(h.Pos(), (std::pair{1, 2})) << c.Type;
        g.Navigation.AdvanceOnEnter = true;
        h.Open();
        ctl = control();
        ASSERT_NE(ctl, nullptr) << c.Type;
        Key(ctl->Widget(), Qt::Key_Return, Qt::NoModifier, "\r");
        EXPECT_EQ(h.Pos(), (std::pair{2, 2})) << c.Type;
        g.Navigation.AdvanceOnEnter = false;
        // The advance opened the next cell's editor: close it.
        g.HideEditorControl();
        g.HideEditor();
        g.SetFocus();
        // Escape: closed, the cell as it was.
        g.MoveColRow(1, 2, true, true);
        h.Open();
        ctl = control();
        ASSERT_NE(ctl, nullptr) << c.Type;
        Key(ctl->Widget(), Qt::Key_Escape);
        EXPECT_FALSE(ctl->Visible()) << c.Type;
        EXPECT_EQ(g.ReadWideCell(1, 2), AnsiToWide(c.Cell)) << c.Type;
        EXPECT_EQ(h.Pos(), (std::pair{1, 2})) << c.Type;
    }
    ResetFormatSettings();
}
