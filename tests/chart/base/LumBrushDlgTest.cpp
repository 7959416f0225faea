// The brush dialog driven through the prompter's test script: styles and pattern bitmaps, the picture
// button with a file that loads and one that does not, the colour button's state, Cancel and OK; and the
// style samples of its list.
#include "chart/base/LumBrushDlgEditor.h"

#include "chart/base/LumBrushDlg.h"
#include "chart/base/LumBrushDlgForm.h"
#include "chart/base/LumCanvas.h"
#include "platform/controls/Application.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "tests/platform/rtl/TempFolder.h"

#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

#include <fstream>

namespace {

TBrushDialog& BrushDialogOf(TForm& form)
{
    auto* dialog = dynamic_cast<TBrushDialog*>(&form);
    if (!dialog) throw std::logic_error("not the brush dialog");
    return *dialog;
}

// Clicks an item of the list as the user would.
void ClickItem(TListBox& list, int index)
{
    list.SetItemIndex(index);
    auto* native = static_cast<QListWidget*>(list.Widget());
    emit native->itemClicked(native->item(index));
}

bool SamePixels(const TBitmap& a, const TBitmap& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.PixelRGB(x, y) != b.PixelRGB(x, y)) return false;
    return true;
}

} // namespace

TEST(LumBrushDialog, PatternItemSetsStyleAndPicture)
{
    TChartBrush brush;
    brush.SetStyle(bsCross);
    {
        TPromptScript script;
        script.DriveForm([&](TForm& form) {
            TBrushDialog& d = BrushDialogOf(form);
            EXPECT_EQ(d.Caption(), "Pattern Color Editor");
            EXPECT_EQ(d.LStyle.Count(), 43);
            EXPECT_EQ(d.LStyle.ItemIndex(), bsCross);
            EXPECT_EQ(d.Button1->text().toStdString(), "B&rowse...");
            ClickItem(d.LStyle, 9);
            EXPECT_EQ(d.Button1->text().toStdString(), "Clea&r");
            d.Button2->click();
        });
        EXPECT_TRUE(ShowBrushEditorModal(nullptr, brush));
    }
    EXPECT_EQ(brush.StyleNumber(), 9);
    ASSERT_NE(brush.ImageBitmap(), nullptr);
    TBitmap second;
    LoadPatternBitmap(1, second);
    EXPECT_TRUE(SamePixels(*brush.ImageBitmap(), second)) << "the tenth item is pattern bitmap 2";

    // Reopened, the list selects nothing, as the brush has a picture; choosing "None" drops the picture
    // and disables the colour, and Cancel gives everything back.
    TPromptScript again;
    again.DriveForm([&](TForm& form) {
        TBrushDialog& d = BrushDialogOf(form);
        EXPECT_EQ(d.LStyle.ItemIndex(), -1);
        EXPECT_TRUE(d.BColor.Enabled());
        ClickItem(d.LStyle, 1);
        EXPECT_FALSE(brush.HasImage());
        EXPECT_FALSE(d.BColor.Enabled());
        d.Button3->click();
    });
    EXPECT_FALSE(ShowBrushEditorModal(nullptr, brush));
    EXPECT_EQ(brush.StyleNumber(), 9);
    ASSERT_NE(brush.ImageBitmap(), nullptr);
    EXPECT_TRUE(SamePixels(*brush.ImageBitmap(), second));
}

TEST(LumBrushDialog, PictureButtonLoadsClearsAndKeepsOnError)
{
    TTempFolder temp;
    TBitmap source(3, 2);
    source.SetPixelRGB(0, 0, clRed);
    TPngImage png;
    png.Assign(source);
    png.SaveToFile(temp.File("pic.png"));
    std::ofstream(temp.File("broken.png")) << "not a picture";

    TChartBrush brush;
    std::string error;
    Application->OnException = [&](TApplication&, const std::exception& e) { error = e.what(); };
    {
        TPromptScript script;
        script.DriveForm([&](TForm& form) {
            TBrushDialog& d = BrushDialogOf(form);
            d.Button1->click();
            ASSERT_TRUE(brush.HasImage());
            EXPECT_STREQ(brush.Image().Graphic()->ClassName(), "TBitmap") << "a picture becomes a bitmap";
            EXPECT_EQ(brush.Image().Width(), 3);
            d.Button1->click(); // a picture is there: cleared
            EXPECT_FALSE(brush.HasImage() && brush.Image().HasGraphic());
            d.Button1->click(); // browse again: a file the loader cannot read
            EXPECT_FALSE(brush.HasImage() && brush.Image().HasGraphic());
            EXPECT_EQ(d.Button1->text().toStdString(), "B&rowse...");
            d.Button2->click();
        });
        const auto answerFile = [](std::string file) {
            return [file](TPrompt& p) {
                p.File->FileName = file;
                p.Result = mrOk;
            };
        };
        script.Expect(TPromptKind::OpenDialog, answerFile(temp.File("pic.png")));
        script.Expect(TPromptKind::OpenDialog, answerFile(temp.File("broken.png")));
        EXPECT_TRUE(ShowBrushEditorModal(nullptr, brush));
        EXPECT_TRUE(script.Failures().empty()) << script.Failures().front();
    }
    Application->OnException = nullptr;
    EXPECT_FALSE(error.empty()) << "the loader's error reaches the default handler";
    EXPECT_EQ(brush.ImageBitmap(), nullptr) << "and the brush keeps what it had: no picture";
}

TEST(LumBrushDialog, StyleSamplesInTheList)
{
    TChartBrush brush;
    TBrushDialog dialog(nullptr, brush);
    TBitmap item(120, 16);
    const TRect rect{0, 0, 120, 16};
    dialog.LStyle.PaintItem(item.Canvas(), 0, rect, {});
    EXPECT_EQ(item.PixelRGB(8, 8), clBlack) << "solid sample box";
    EXPECT_EQ(item.PixelRGB(1, 8), ColorToRGB(clWindow));
    EXPECT_EQ(item.PixelRGB(16, 8), ColorToRGB(clWindow)) << "the box ends at left + 16";

    dialog.LStyle.PaintItem(item.Canvas(), 1, rect, {});
    EXPECT_EQ(item.PixelRGB(8, 8), ColorToRGB(clWindow)) << "None has no sample";

    // A pattern item shows its bitmap in black on white.
    dialog.LStyle.PaintItem(item.Canvas(), 8 + 3, rect, {odSelected});
    TBitmap pattern;
    LoadPatternBitmap(3, pattern);
    int black = 0, white = 0;
    for (int y = 2; y < 14; ++y)
        for (int x = 2; x < 16; ++x) (item.PixelRGB(x, y) == clBlack ? black : white) += 1;
    EXPECT_GT(black, 0);
    EXPECT_GT(white, 0);
    EXPECT_EQ(item.PixelRGB(100, 1), ColorToRGB(clHighlight)) << "a selected item on the highlight";
}
