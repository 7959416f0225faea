// The colour button and its palette window: default colours, selection and keys, clicks, Enter and Esc,
// the other colour through the prompter's colour dialog, hints, cycling, the click while the palette is
// open, the swatch and the disabled hatch probed, custom colours in the registry store, and the colour
// grid's stream.
#include "ui/KITClrBn.h"

#include "UiTestSupport.h"

#include "platform/controls/Prompter.h"
#include "platform/rtl/PropertyStream.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/Streams.h"

#include <QPushButton>

#include <filesystem>

#include <gtest/gtest.h>

namespace {

struct TButtonHost {
    THost Host{300, 200};
    TkitColorButton Button{nullptr};
    int Changes = 0;

    TButtonHost()
    {
        Host.Put(Button, 20, 30, 41, 24);
        Button.OnColorChange = [this](TPersistent*) { ++Changes; };
        Host.Show();
    }
    ~TButtonHost()
    {
        if (Button.Palette()) Button.Palette()->close();
        Pump();
    }
    QWidget* W() { return Button.Widget(); }
    void MoveInside() { SendMouse(W(), QEvent::MouseMove, QPoint(10, 10)); }
    // A click on the swatch (left of the arrow zone) or on the arrow.
    void ClickAt(int x)
    {
        SendMouse(W(), QEvent::MouseMove, QPoint(x, 10));
        Click(W(), QPoint(x, 10));
        Pump(1);
    }
    TKITColorButtonPalette* Open()
    {
        ClickAt(35);
        return Button.Palette();
    }
    QImage Shot() { return W()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    static TColor At(const QImage& i, int x, int y)
    {
        const QRgb p = i.pixel(x, y);
        return RGB(qRed(p), qGreen(p), qBlue(p));
    }
};

// Points of the palette's drawing area.
void MoveOnPalette(TKITColorButtonPalette* p, TPaletteCell c)
{
    const TRect r = p->CellRect(c);
    SendMouse(p->Surface->Widget(), QEvent::MouseMove, QPoint(r.Left + 9, r.Top + 9));
}

} // namespace

TEST(kitColorButton, DefaultsAndTheTwentyPaletteColours)
{
    TkitColorButton b(nullptr);
    EXPECT_EQ(b.Width(), 45);
    EXPECT_EQ(b.Height(), 22);
    EXPECT_EQ(b.Caption(), "");
    EXPECT_EQ(b.Color(), 0);
    EXPECT_EQ(b.OtherColor(), clBtnFace);
    EXPECT_EQ(b.OtherBtnCaption(), "&Other");
    EXPECT_EQ(b.Version(), "TkitColorButton v2.61");
    const TColor rows[5][4] = {{0xFFFFFF, 0x000000, 0xBFBFBF, 0x7F7F7F},
                               {RGB(255, 0, 0), RGB(127, 0, 0), RGB(255, 255, 0), RGB(127, 127, 0)},
                               {RGB(0, 255, 0), RGB(0, 127, 0), RGB(0, 255, 255), RGB(0, 127, 127)},
                               {RGB(0, 0, 255), RGB(0, 0, 127), RGB(255, 0, 255), RGB(127, 0, 127)},
                               {RGB(191, 215, 191), RGB(159, 191, 239), RGB(255, 247, 239), RGB(159, 159, 159)}};
    ASSERT_EQ(b.PaletteColors().XSize(), 4);
    ASSERT_EQ(b.PaletteColors().YSize(), 5);
    for (int y = 1; y <= 5; ++y)
        for (int x = 1; x <= 4; ++x) EXPECT_EQ(b.PaletteColors().Cell(x, y), rows[y - 1][x - 1]) << x << "," << y;
    for (int x = 1; x <= 8; ++x)
        for (int y = 1; y <= 2; ++y) EXPECT_EQ(b.CustomColors().Cell(x, y), 0xFFFFFF);
    EXPECT_THROW(b.PaletteColors().Cell(5, 1), EColorArrayIndexError);
    EXPECT_THROW(b.PaletteColors().At(21), EColorArrayIndexError);
}

TEST(kitColorButton, ColorWritesFindThePaletteIndex)
{
    TButtonHost h;
    h.Button.SetColor(RGB(255, 0, 0));
    EXPECT_EQ(h.Button.ColorIndex(), 5) << "row 2, column 1: linear position 5";
    EXPECT_EQ(h.Changes, 1);
    h.Button.SetColor(RGB(255, 0, 0));
    EXPECT_EQ(h.Changes, 1) << "the same colour calls nobody";
    h.Button.SetColor(RGB(1, 2, 3));
    EXPECT_EQ(h.Button.ColorIndex(), 0);
    // An unknown colour: the palette's other cell shows it and no cell is selected; the first key
    // selects (1, 1).
    TKITColorButtonPalette* p = h.Open();
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(h.Button.DroppedDown());
    EXPECT_EQ(p->OtherColor(), RGB(1, 2, 3));
    EXPECT_FALSE(p->Selected().Valid());
    p->FormKeyDown(VK_DOWN);
    EXPECT_EQ(p->Selected(), (TPaletteCell{1, 1}));
    // A known colour selects its cell.
    p->SelectColor(RGB(0, 0, 127));
    EXPECT_EQ(p->Selected(), (TPaletteCell{2, 4}));
}

TEST(kitColorPalette, KeysMoveTheSelection)
{
    Pump(1);
    struct Case {
        TPaletteCell from;
        std::uint16_t key;
        TPaletteCell to;
    };
    const Case cases[] = {
        {{2, 3}, VK_LEFT, {1, 3}},  {{1, 3}, VK_LEFT, {4, 3}},  {{4, 3}, VK_RIGHT, {1, 3}}, {{2, 3}, VK_UP, {2, 2}},
        {{2, 1}, VK_UP, {2, 0}},    {{2, 5}, VK_DOWN, {2, 0}},  {{3, 0}, VK_DOWN, {3, 1}},  {{3, 0}, VK_UP, {3, 5}},
        {{3, 0}, VK_LEFT, {3, 0}},  {{3, 0}, VK_RIGHT, {3, 0}}, {{2, 3}, VK_RETURN, {2, 3}}, {{2, 3}, 'A', {2, 3}},
    };
    for (const Case& c : cases) {
        auto* p = new TKITColorButtonPalette(nullptr);
        // A cell of row 0 is reached from row 1 by Up.
        p->SelectColor(p->ColorGrid().Cell(c.from.X, c.from.Y == 0 ? 1 : c.from.Y));
        if (c.from.Y == 0) p->FormKeyDown(VK_UP);
        ASSERT_EQ(p->Selected(), c.from) << c.from.X << "," << c.from.Y;
        p->FormKeyDown(c.key);
        EXPECT_EQ(p->Selected(), c.to) << c.from.X << "," << c.from.Y << " key " << c.key;
        p->close();
    }
    Pump();
}

TEST(kitColorButton, ACellClickSetsTheColourAndCloses)
{
    TButtonHost h;
    TKITColorButtonPalette* p = h.Open();
    ASSERT_NE(p, nullptr);
    // The palette stands below the button.
    EXPECT_EQ(p->pos(), h.W()->mapToGlobal(QPoint(0, 24)));
    MoveOnPalette(p, {3, 2});
    EXPECT_EQ(p->Selected(), (TPaletteCell{3, 2})) << "hot tracking";
    Click(p->Surface->Widget(), QPoint(2 * 18 + 9, 18 + 9));
    Pump();
    EXPECT_EQ(h.Button.Color(), RGB(255, 255, 0));
    EXPECT_EQ(h.Button.Palette(), nullptr);
    EXPECT_FALSE(h.Button.DroppedDown());
    // The other cell chooses the other colour.
    p = h.Open();
    MoveOnPalette(p, {0, 0});
    const TRect other = p->CellRect({0, 0});
    Click(p->Surface->Widget(), QPoint(other.Left + 5, other.Top + 5));
    Pump();
    EXPECT_EQ(h.Button.Color(), clBtnFace);
    EXPECT_EQ(h.Button.ColorIndex(), 0);
}

TEST(kitColorButton, EnterChoosesEscapeDoesNot)
{
    TButtonHost h;
    h.Button.SetColor(RGB(0, 255, 0));
    TKITColorButtonPalette* p = h.Open();
    SendKey(p, Qt::Key_Right);
    SendKey(p, Qt::Key_Return);
    Pump();
    EXPECT_EQ(h.Button.Color(), RGB(0, 127, 0));
    EXPECT_EQ(h.Button.Palette(), nullptr);
    p = h.Open();
    SendKey(p, Qt::Key_Right);
    SendKey(p, Qt::Key_Escape);
    Pump();
    EXPECT_EQ(h.Button.Color(), RGB(0, 127, 0));
    EXPECT_EQ(h.Button.Palette(), nullptr);
    // Closed by a key, the next click opens it again even with the mouse on the button.
    EXPECT_NE(h.Open(), nullptr);
}

TEST(kitColorButton, OtherColourThroughTheColourDialogKeepsTheCustomColours)
{
    TButtonHost h;
    h.Button.CustomColors().SetCell(2, 1, 0x00112233);
    h.Button.CustomColors().SetCell(8, 2, 0x00ABCDEF);
    TKITColorButtonPalette* p = h.Open();
    std::vector<std::string> offered;
    {
    TPromptScript script;
    script.Expect(TPromptKind::ColorDialog, [&](TPrompt& prompt) {
        offered = prompt.Color->CustomColors;
        EXPECT_TRUE(prompt.Color->FullOpen);
        EXPECT_EQ(prompt.Color->Color, clBtnFace) << "the dialog starts at the other colour";
        EXPECT_TRUE(p->InDialog());
        prompt.Color->Color = RGB(10, 20, 30);
        prompt.Color->CustomColors[0] = "ColorA=00FF0000";
        prompt.Color->CustomColors[9] = "ColorJ=nothex";
        prompt.Result = mrOk;
    });
    MoveOnPalette(p, {1, 1});   // the mouse goes to the palette's button
    p->btnOther->click();
    Pump();
    EXPECT_TRUE(script.Failures().empty());
    ASSERT_EQ(offered.size(), 16u);
    EXPECT_EQ(offered[1], "ColorB=00112233");
    EXPECT_EQ(offered[15], "ColorP=00ABCDEF");
    EXPECT_EQ(offered[8], "ColorI=00FFFFFF");
    EXPECT_EQ(h.Button.Color(), RGB(10, 20, 30));
    EXPECT_EQ(h.Button.OtherColor(), RGB(10, 20, 30));
    EXPECT_EQ(h.Button.Palette(), nullptr);
    EXPECT_EQ(h.Button.CustomColors().Cell(1, 1), 0x00FF0000);
    EXPECT_EQ(h.Button.CustomColors().Cell(2, 1), 0x00112233);
    EXPECT_EQ(h.Button.CustomColors().Cell(2, 2), 0xFFFFFF) << "an unreadable line gives white";
    EXPECT_EQ(h.Button.CustomColors().Cell(8, 2), 0x00ABCDEF);
    }
    // A cancelled dialog changes nothing and leaves the palette open.
    p = h.Open();
    TPromptScript cancel;
    cancel.Expect(TPromptKind::ColorDialog, [](TPrompt& prompt) { prompt.Result = mrCancel; });
    p->btnOther->click();
    EXPECT_EQ(h.Button.Palette(), p);
    EXPECT_FALSE(p->InDialog());
    EXPECT_EQ(h.Button.Color(), RGB(10, 20, 30));
}

TEST(kitColorButton, HintsOfTheCells)
{
    TButtonHost h;
    TKITColorButtonPalette* p = h.Open();
    const TRect red = p->CellRect({1, 2});
    const TPoint at = p->Surface->ClientToScreen({red.Left + 4, red.Top + 4});
    Application->ActivateHint(at);
    THintRecord hint = Application->LastHint();
    EXPECT_TRUE(hint.Shown);
    EXPECT_EQ(hint.Text, "RGB = 255 000 000");
    EXPECT_EQ(hint.CursorRect, red);
    EXPECT_EQ(hint.Pos, p->Surface->ClientToScreen({red.Left, red.Bottom + 8}));
    // The button's handler sees the cell and may empty the text, which keeps the hint away.
    TPersistent* sender = nullptr;
    int column = 0, row = 0;
    p->OnGetColorHintText = [&](TPersistent* s, TColor, int x, int y, std::string& text) {
        sender = s;
        column = x;
        row = y;
        text.clear();
    };
    Application->ActivateHint(at);
    EXPECT_FALSE(Application->LastHint().Shown);
    EXPECT_EQ(sender, &h.Button);
    EXPECT_EQ(column, 1);
    EXPECT_EQ(row, 2);
    // Between the grid and the other cell there is no hint.
    p->OnGetColorHintText = nullptr;
    Application->ActivateHint(p->Surface->ClientToScreen({5, 95}));
    EXPECT_FALSE(Application->LastHint().Shown);
    p->SetShowColorHints(false);
    Application->ActivateHint(at);
    EXPECT_FALSE(Application->LastHint().Shown);
    Application->CancelHint();
}

TEST(kitColorButton, CyclingStepsThroughThePaletteAndTheOtherColour)
{
    TButtonHost h;
    h.Button.SetCycleColors(true);
    std::vector<int> indexes;
    for (int i = 0; i < 22; ++i) {
        h.ClickAt(10);
        indexes.push_back(h.Button.ColorIndex());
    }
    for (int i = 0; i < 20; ++i) EXPECT_EQ(indexes[static_cast<std::size_t>(i)], i + 1);
    EXPECT_EQ(indexes[20], 0);
    EXPECT_EQ(indexes[21], 1);
    EXPECT_EQ(h.Button.Palette(), nullptr) << "left of the arrow zone no palette opens";
    EXPECT_NE(h.Open(), nullptr) << "the arrow zone still opens it";
}

TEST(kitColorButton, AClickWhileOpenClosesWithoutReopening)
{
    TButtonHost h;
    ASSERT_NE(h.Open(), nullptr);
    h.ClickAt(35);
    EXPECT_EQ(h.Button.Palette(), nullptr);
    EXPECT_FALSE(h.Button.DroppedDown());
    EXPECT_NE(h.Open(), nullptr) << "the next click opens it again";
    // Deactivated by the desktop while the mouse is on the button: the click that caused it is swallowed.
    h.MoveInside();
    h.Button.Palette()->FormDeactivate();
    Pump();
    h.ClickAt(35);
    EXPECT_EQ(h.Button.Palette(), nullptr);
}

TEST(kitColorButton, SwatchArrowAndDisabledHatch)
{
    TButtonHost h;
    h.Button.SetColor(RGB(0, 0, 255));
    QImage shot = h.Shot();
    // 41 x 24: focus area (3, 3, 38, 21), swatch (6, 5, 25, 19) outlined, divider at 28 and 29.
    EXPECT_EQ(TButtonHost::At(shot, 15, 12), RGB(0, 0, 255));
    EXPECT_EQ(TButtonHost::At(shot, 6, 12), Rgb(clWindowFrame));
    EXPECT_EQ(TButtonHost::At(shot, 28, 12), Rgb(clBtnShadow));
    EXPECT_EQ(TButtonHost::At(shot, 29, 12), Rgb(clBtnHighlight));
    EXPECT_EQ(TButtonHost::At(shot, 33, 12), clBlack) << "the arrow";
    EXPECT_EQ(TButtonHost::At(shot, 30, 12), Rgb(clBtnFace)) << "its olive background left out";
    EXPECT_EQ(TButtonHost::At(shot, 0, 12), Rgb(clBtnHighlight)) << "the raised push frame";
    EXPECT_EQ(TButtonHost::At(shot, 40, 12), Rgb(cl3DDkShadow));
    // Dropped down: a window-frame outline, then a shadow outline.
    h.Open();
    shot = h.Shot();
    EXPECT_EQ(TButtonHost::At(shot, 0, 12), Rgb(clWindowFrame));
    EXPECT_EQ(TButtonHost::At(shot, 1, 12), Rgb(clBtnShadow));
    EXPECT_EQ(TButtonHost::At(shot, 16, 13), RGB(0, 0, 255)) << "the swatch moves by (1, 1)";
    h.Button.Palette()->close();
    Pump();
    // Disabled: black diagonals every fourth pixel inside the outline, the grey arrow.
    h.Button.SetEnabled(false);
    shot = h.Shot();
    for (int x = 7; x < 24; ++x) {
        const bool set = (x & 7) == 3 || (x & 7) == 7;   // row 8 uses the pattern byte 0x11
        EXPECT_EQ(TButtonHost::At(shot, x, 8), set ? clBlack : Rgb(clBtnFace)) << x;
    }
    EXPECT_EQ(TButtonHost::At(shot, 10, 9), clBlack) << "0x22 on the next row";
    EXPECT_EQ(TButtonHost::At(shot, 11, 9), Rgb(clBtnFace));
    EXPECT_EQ(TButtonHost::At(shot, 33, 12), RGB(128, 128, 128));
}

TEST(kitColorButton, CustomColoursInTheRegistryStore)
{
    const std::string store = (std::filesystem::temp_directory_path() / "vsp-ui-registry-test").string();
    std::filesystem::remove(store);
    SetRegistryStorePath(store);
    TCustomPanel dialog(nullptr);
    dialog.SetName("SetupForm");
    {
        TkitColorButton b(nullptr);
        b.SetName("ColorButton3");
        b.SetParent(&dialog);
        EXPECT_EQ(b.CustomColorsValueName(), "SetupForm.ColorButton3");
        EXPECT_EQ(b.CustomColorsText().size(), 159u);
        EXPECT_EQ(b.CustomColorsText().substr(0, 20), "$00FFFFFF,$00FFFFFF,");
        b.CustomColors().SetCell(1, 2, 0x0000FF00);
        b.SetCustomColorsKey("\\Software\\VornSP2dp\\Colors");
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\Software\\VornSP2dp\\Colors\\Colors"));
    const std::string text = reg.ReadString("SetupForm.ColorButton3");
    EXPECT_EQ(text.size(), 159u);
    EXPECT_EQ(text.substr(0, 20), "$00FFFFFF,$0000FF00,") << "column by column";
    {
        TkitColorButton b(nullptr);
        b.SetName("ColorButton3");
        b.SetParent(&dialog);
        b.SetCustomColorsKey("\\Software\\VornSP2dp\\Colors");
        EXPECT_EQ(b.CustomColors().Cell(1, 2), 0x0000FF00);
        EXPECT_EQ(b.CustomColors().Cell(8, 2), 0xFFFFFF);
        // Short or damaged text: unreadable fields and missing ones are white; no comma reads nothing.
        b.ReadCustomColorsText("$000000AA,xyzxyzxyz,12");
        EXPECT_EQ(b.CustomColors().Cell(1, 1), 0xAA);
        EXPECT_EQ(b.CustomColors().Cell(1, 2), 0xFFFFFF);
        EXPECT_EQ(b.CustomColors().Cell(2, 1), 12);
        EXPECT_EQ(b.CustomColors().Cell(2, 2), 0xFFFFFF);
        b.ReadCustomColorsText("$00000001");
        EXPECT_EQ(b.CustomColors().Cell(1, 1), 0xAA);
        b.SetCustomColorsKey("");
    }
    SetRegistryStorePath("");
    std::filesystem::remove(store);
}

TEST(kitColorGrid, StreamsColumnByColumnAndResizesOnReading)
{
    TColorArrayClass source(8, 2);
    for (int x = 1; x <= 8; ++x)
        for (int y = 1; y <= 2; ++y) source.SetCell(x, y, (x - 1) * 2 + (y - 1));
    TMemoryStream s;
    WritePropertyList(s, source);
    s.SetPosition(0);
    TColorArrayClass target(4, 5);
    ReadPropertyList(s, target);
    EXPECT_EQ(target.XSize(), 8);
    EXPECT_EQ(target.YSize(), 2);
    EXPECT_TRUE(target.IsEqual(&source));
    // The order of the block: (1,1), (1,2), (2,1), (2,2) ...
    TMemoryStream block;
    source.WriteColors(block);
    block.SetPosition(0);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(block.ReadInt32(), i);
    // A block longer than the grid raises the index error.
    TColorArrayClass small(1, 1);
    block.SetPosition(0);
    EXPECT_THROW(small.ReadColors(block), EColorArrayIndexError);
    // Equality.
    TColorArrayClass copy(1, 1);
    copy.Assign(source);
    EXPECT_TRUE(copy.IsEqual(&source));
    copy.SetCell(8, 2, 99);
    EXPECT_FALSE(copy.IsEqual(&source));
    EXPECT_FALSE(copy.IsEqual(nullptr));
    EXPECT_TRUE(copy.IsEqual(&copy));
    copy.SetXSize(3);
    EXPECT_EQ(copy.Cell(3, 2), 0) << "a new size starts with zero cells";
}
