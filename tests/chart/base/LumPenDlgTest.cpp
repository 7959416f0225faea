// The pen dialog and the pen button driven through the prompter's test script: what the dialog shows for
// chart and plain pens, changes applied at once, Cancel giving the pen back with one notification, OK
// keeping the changes; the pen button's sample and click.
#include "chart/base/LumPenDlg.h"

#include "chart/base/LumCanvas.h"
#include "chart/base/LumConst.h"
#include "chart/base/LumPenDlgForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace {

// Chooses an item of a combo box as the user would (the program hears only user choices).
void Choose(TComboBox& combo, int index)
{
    auto* native = static_cast<QComboBox*>(combo.Widget());
    native->setCurrentIndex(index);
    emit native->activated(index);
}

TPenDialog& PenDialogOf(TForm& form)
{
    auto* dialog = dynamic_cast<TPenDialog*>(&form);
    if (!dialog) throw std::logic_error("not the pen dialog");
    return *dialog;
}

} // namespace

TEST(LumPenDialog, ShowsAChartPen)
{
    TChartPen pen;
    pen.SetWidth(2);
    pen.SetStyle(psDash);
    pen.SetEndStyle(esSquare);
    pen.SetVisible(false);
    TPromptScript script;
    script.DriveForm([&](TForm& form) {
        TPenDialog& d = PenDialogOf(form);
        EXPECT_EQ(d.Caption(), "Border Editor");
        EXPECT_TRUE(d.CBVisible->isVisible());
        EXPECT_FALSE(d.CBVisible->isChecked());
        ASSERT_EQ(d.CBStyle.ItemCount(), 6);
        EXPECT_EQ(d.CBStyle.Item(5), LumConst::SmallDots);
        EXPECT_EQ(d.CBStyle.ItemIndex(), 1);
        EXPECT_TRUE(d.CBStyle.Enabled()) << "a wide geometric pen keeps every style";
        EXPECT_EQ(d.SEWidth->value(), 2);
        EXPECT_EQ(d.CBEndStyle.ItemIndex(), 1);
        EXPECT_TRUE(d.CBEndStyle.Visible());
        EXPECT_EQ(d.BColor.LinkedObject(), &pen);
        d.BOk->click();
    });
    EXPECT_TRUE(ShowPenEditorModal(nullptr, pen, false));
    EXPECT_TRUE(script.Failures().empty()) << script.Failures().front();
}

TEST(LumPenDialog, PlainPenHasNoVisibilityNorEndStyle)
{
    TPen pen;
    pen.SetStyle(psDot);
    TPromptScript script;
    script.DriveForm([&](TForm& form) {
        TPenDialog& d = PenDialogOf(form);
        EXPECT_FALSE(d.CBVisible->isVisible());
        EXPECT_FALSE(d.CBEndStyle.Visible()) << "choosing an end style would write beyond a plain pen";
        EXPECT_EQ(d.CBStyle.ItemCount(), 5);
        EXPECT_EQ(d.CBStyle.ItemIndex(), 2);
        Choose(d.CBStyle, 3);
        d.SEWidth->setValue(4);
        d.BOk->click();
    });
    EXPECT_TRUE(ShowPenEditorModal(nullptr, pen, true));
    EXPECT_EQ(pen.Style(), psDashDot);
    EXPECT_EQ(pen.Width(), 4);
}

TEST(LumPenDialog, CancelGivesThePenBackWithOneNotification)
{
    TChartPen pen;
    int notices = 0;
    pen.OnChange = [&](TPersistent*) { ++notices; };
    int atCancel = -1;
    {
        TPromptScript script;
        script.DriveForm([&](TForm& form) {
            TPenDialog& d = PenDialogOf(form);
            d.SEWidth->setValue(5);
            EXPECT_EQ(pen.Width(), 5) << "changes apply at once";
            Choose(d.CBStyle, 5);
            EXPECT_TRUE(pen.SmallDots());
            EXPECT_FALSE(d.SEWidth->isEnabled()) << "small dots take no width";
            d.CBVisible->setChecked(false);
            EXPECT_FALSE(pen.Visible());
            Choose(d.CBEndStyle, 2);
            EXPECT_EQ(pen.EndStyle(), esFlat);
            atCancel = notices;
            d.BCancel->click();
        });
        EXPECT_FALSE(ShowPenEditorModal(nullptr, pen, false));
        EXPECT_EQ(pen.Width(), 1);
        EXPECT_FALSE(pen.SmallDots());
        EXPECT_TRUE(pen.Visible());
        EXPECT_EQ(pen.EndStyle(), esRound);
        EXPECT_EQ(notices, atCancel + 1);
    }

    // Cancel without a change notifies nobody; closing the window is a Cancel too.
    notices = 0;
    TPromptScript quiet;
    quiet.DriveForm([](TForm& form) { form.done(mrCancel); });
    EXPECT_FALSE(ShowPenEditorModal(nullptr, pen, false));
    EXPECT_EQ(notices, 0);
}

TEST(LumPenDialog, OkKeepsTheColourChosenThroughTheColourButton)
{
    TChartPen pen;
    {
        TPromptScript script;
        script.DriveForm([&](TForm& form) {
            TPenDialog& d = PenDialogOf(form);
            d.BColor.PerformClick();
            Choose(d.CBStyle, 0);
            d.BOk->click();
        });
        script.Expect(TPromptKind::ColorDialog, [](TPrompt& p) {
            p.Color->Color = clRed;
            p.Result = mrOk;
        });
        EXPECT_TRUE(ShowPenEditorModal(nullptr, pen, false));
        EXPECT_EQ(pen.Color(), clRed);
        EXPECT_TRUE(script.Failures().empty());
    }

    // A colour chosen and then cancelled is taken back too.
    TPromptScript cancel;
    cancel.DriveForm([&](TForm& form) {
        PenDialogOf(form).BColor.PerformClick();
        PenDialogOf(form).BCancel->click();
    });
    cancel.Expect(TPromptKind::ColorDialog, [](TPrompt& p) {
        p.Color->Color = clBlue;
        p.Result = mrOk;
    });
    EXPECT_FALSE(ShowPenEditorModal(nullptr, pen, false));
    EXPECT_EQ(pen.Color(), clRed);

    std::unique_ptr<TPenDialog> hidden = CreatePenDialog(nullptr, pen, true);
    EXPECT_FALSE(hidden->BColor.Visible());
}

TEST(LumPenButton, SampleLimitsTheWidthAndClickEditsThePen)
{
    TButtonPen button(nullptr);
    TChartPen pen;
    pen.SetWidth(8);
    pen.SetColor(clRed);
    button.LinkPen(&pen);
    EXPECT_EQ(button.LinkedPen(), &pen);
    QImage image(button.Widget()->size(), QImage::Format_RGB32);
    button.Widget()->render(&image);
    int thickness = 0;
    for (int y = 0; y < image.height(); ++y) thickness += QColor(image.pixel(63, y)) == QColor(Qt::red);
    EXPECT_EQ(thickness, 6) << "drawn 6 wide";
    EXPECT_EQ(pen.Width(), 8) << "the pen itself stays";

    int clicks = 0;
    button.OnClick = [&](TPersistent*) { ++clicks; };
    TPromptScript script;
    script.DriveForm([&](TForm& form) {
        EXPECT_EQ(button.Dialog(), &form);
        PenDialogOf(form).SEWidth->setValue(3);
        PenDialogOf(form).BOk->click();
    });
    script.DriveForm([&](TForm& form) { PenDialogOf(form).BCancel->click(); });
    button.PerformClick();
    EXPECT_EQ(pen.Width(), 3);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button.Dialog(), nullptr) << "the dialog goes after the click";
    button.PerformClick();
    EXPECT_EQ(clicks, 1) << "a cancelled edit fires no click";

    TButtonPen unlinked(nullptr);
    int plain = 0;
    unlinked.OnClick = [&](TPersistent*) { ++plain; };
    unlinked.PerformClick();
    EXPECT_EQ(plain, 1) << "without a pen only the click";
    EXPECT_TRUE(script.Failures().empty());
}
