// The editors' shared routines: confirmations placed at a control, value formats, arrows, moving list
// items, cursor identifiers and the cursor list, the picture routines through the prompter, and embedding
// a form with its tag.
#include "chart/base/LumPenDlgHelpers.h"

#include "chart/base/LumPenDlgForm.h"
#include "chart/base/RadErareServices.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Screen.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/GraphicsObjects.h"
#include "platform/rtl/StringList.h"
#include "tests/platform/rtl/TempFolder.h"

#include <QWidget>

#include <gtest/gtest.h>

TEST(LumEditorHelpers, ConfirmationsAtAControl)
{
    TButton anchor(nullptr);
    TPromptScript script;
    script.Expect(TPromptKind::MessageBox, [](TPrompt& p) { p.Result = mrYes; });
    script.Expect(TPromptKind::MessageBox, [](TPrompt& p) { p.Result = mrNo; });
    Screen->SetCursor(crHourGlass);
    EXPECT_TRUE(AskDeleteConfirmation("Series1", &anchor));
    EXPECT_EQ(Screen->Cursor(), crDefault) << "the cursor is reset for the question";
    EXPECT_FALSE(ConfirmAt("Apply Changes ?", nullptr));
    ASSERT_EQ(script.Log().size(), 2u);
    const TPrompt& first = script.Log()[0];
    EXPECT_EQ(first.Text, "Delete Series1 ?");
    EXPECT_EQ(first.DlgType, mtConfirmation);
    EXPECT_EQ(first.Buttons, (TMsgDlgButtons{mbYes, mbNo}));
    ASSERT_TRUE(first.Positioned);
    const TPoint origin = anchor.ClientToScreen({0, 0});
    EXPECT_EQ(first.Position, (TPoint{origin.x + 20, origin.y + 30}));
    EXPECT_FALSE(script.Log()[1].Positioned) << "centred without a control";
}

TEST(LumEditorHelpers, FormatsArrowsAndMovedItems)
{
    TStringList formats;
    formats.Add("keep");
    FillValueFormatList(formats);
    ASSERT_EQ(formats.Count(), 10);
    EXPECT_EQ(formats[1], "#,##0.###");
    EXPECT_EQ(formats[8], "#.0 \"x10\" E+0");
    EXPECT_EQ(formats[9], "#.# x10E-#");

    TBitmap up, down;
    LoadArrowBitmaps(up, down);
    ASSERT_FALSE(up.Empty());
    EXPECT_EQ(up.PixelRGB(3, 0), clBlack) << "the up arrow's tip at the top";
    EXPECT_EQ(up.PixelRGB(0, 0), clWhite);
    EXPECT_EQ(down.PixelRGB(3, down.Height() - 1), clBlack);

    TListBox a(nullptr), b(nullptr);
    TComponent one(nullptr), three(nullptr);
    a.SetMultiSelect(true);
    a.AddItem("one", &one);
    a.AddItem("two");
    a.AddItem("three", &three);
    b.AddItem("zero");
    a.SetSelected(0, true);
    a.SetSelected(2, true);
    MoveSelectedItems(a, b);
    ASSERT_EQ(b.Count(), 3);
    EXPECT_EQ(b.Item(1), "one");
    EXPECT_EQ(b.ItemObject(1), &one);
    EXPECT_EQ(b.ItemObject(2), &three);
    ASSERT_EQ(a.Count(), 1);
    EXPECT_EQ(a.Item(0), "two");

    TStringList from, to;
    from.Add("x");
    from.Add("y");
    MoveAllStrings(from, to);
    EXPECT_EQ(to.Count(), 2);
    EXPECT_EQ(from.Count(), 0);
}

TEST(LumEditorHelpers, CursorIdentifiersAndList)
{
    TCursor c = 0;
    EXPECT_TRUE(CursorFromIdent("crVizIdur", c));
    EXPECT_EQ(c, 2020);
    EXPECT_TRUE(CursorFromIdent("crHandPoint", c));
    EXPECT_EQ(c, crHandPoint);
    EXPECT_FALSE(CursorFromIdent("crNothing", c));
    std::string ident;
    EXPECT_TRUE(CursorIdentOf(2020, ident));
    EXPECT_EQ(ident, "crVizIdur");
    EXPECT_FALSE(CursorIdentOf(4711, ident));
    EXPECT_EQ(LookupCursorByName(crArrow, "Cross"), crCross);
    EXPECT_EQ(LookupCursorByName(crArrow, "Nothing"), crArrow);

    TComboBox combo(nullptr);
    FillCursorCombo(combo, 2020);
    EXPECT_EQ(combo.Item(combo.ItemIndex()), "VizIdur");
    EXPECT_EQ(combo.ItemCount(), static_cast<int>(CursorIdents().size()) + 1);
    EXPECT_EQ(combo.Item(0), "Default");
    FillCursorCombo(combo, 4711);
    EXPECT_EQ(combo.ItemIndex(), -1);
}

TEST(LumEditorHelpers, PicturesAndFonts)
{
    TTempFolder temp;
    TBitmap saved(2, 2);
    saved.SaveToFile(temp.File("p.bmp"));
    TPicture picture;
    TPromptScript script;
    script.Expect(TPromptKind::OpenDialog, [&](TPrompt& p) {
        EXPECT_NE(p.File->Filter.find("*.png"), std::string::npos);
        p.File->FileName = temp.File("p.bmp");
        p.Result = mrOk;
    });
    script.Expect(TPromptKind::OpenDialog, [](TPrompt& p) { p.Result = mrCancel; });
    script.Expect(TPromptKind::FontDialog, [](TPrompt& p) {
        p.Font->Name = "Courier New";
        p.Font->Size = 12;
        p.Result = mrOk;
    });
    LoadOrClearPicture(nullptr, picture);
    EXPECT_TRUE(picture.HasGraphic());
    LoadOrClearPicture(nullptr, picture);
    EXPECT_FALSE(picture.HasGraphic()) << "a picture that holds a graphic is cleared";
    EXPECT_EQ(AskPictureFileName(nullptr), "") << "cancelled";
    TFont font;
    font.SetColor(clRed);
    EXPECT_TRUE(RunFontDialog(nullptr, font));
    EXPECT_EQ(font.Name(), "Courier New");
    EXPECT_EQ(font.Size(), 12);
    EXPECT_EQ(font.Color(), clRed);
    EXPECT_TRUE(script.Failures().empty());
}

TEST(LumEditorHelpers, EmbeddedFormAndParentForm)
{
    QWidget page;
    page.resize(300, 202);
    TForm form;
    form.resize(200, 200);
    TComponent tag(nullptr);
    EmbedFormWithTag(form, page, &tag);
    EXPECT_EQ(form.parentWidget(), &page);
    EXPECT_EQ(form.pos(), QPoint(4, 2)) << "top: the smaller of 4 and the height difference";
    EXPECT_EQ(EmbeddedFormTag(form), &tag);
    EXPECT_FALSE(form.windowFlags() & Qt::Window);

    TButton onForm(nullptr), alone(nullptr);
    onForm.SetParentWidget(&form);
    EXPECT_EQ(EditorParentForm(&onForm), &form);
    EXPECT_EQ(EditorParentForm(&alone), alone.Widget());
    EXPECT_EQ(EditorParentForm(nullptr), nullptr);
    SetControlsVisibility(false, {&onForm, nullptr});
    EXPECT_FALSE(onForm.Visible());
    onForm.SetParentWidget(nullptr);
}
