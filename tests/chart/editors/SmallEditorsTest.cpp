// The shadow, font and shape editors: each control writes its property, loading writes nothing, the
// shadow sizes' range, an editor without a shadow, the bevel size enabling, and the shape editor's
// pages moved into another page control.
#include "chart/editors/LumCustomShapeEditor.h"
#include "chart/editors/LumEdiFont.h"
#include "chart/editors/LumEdiGrad.h"
#include "chart/editors/LumShadowEditor.h"

#include "chart/base/LumBrushDlgForm.h"
#include "chart/base/LumPenDlgForm.h"
#include "chart/base/RadErareShapes.h"
#include "tests/chart/editors/EditorTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QFrame>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace {

void AnswerColour(TPromptScript& Script, TColor Color)
{
    Script.Expect(TPromptKind::ColorDialog, [Color](TPrompt& p) {
        p.Color->Color = Color;
        p.Result = mrOk;
    });
}

void ExpectNoFailures(const TPromptScript& Script)
{
    EXPECT_TRUE(Script.Failures().empty()) << Script.Failures().front();
    EXPECT_EQ(Script.Pending(), 0u);
}

} // namespace

TEST(ShadowEditor, EachControlWritesItsProperty)
{
    TLumShadow shadow;
    shadow.SetHorizSize(3);
    shadow.SetVertSize(4);
    TPromptScript script;
    script.DriveForm([&](TForm& form) {
        auto& e = FormAs<TLumShadowEditor>(form);
        EXPECT_EQ(e.Caption(), "Shadow editor");
        EXPECT_TRUE(e.BOK->isVisible());
        EXPECT_EQ(e.UDShadowSize->value(), 3);
        EXPECT_EQ(e.UDShaVert->value(), 4);
        e.UDShadowSize->setValue(-1000);
        EXPECT_EQ(shadow.HorizSize(), -1000);
        e.UDShaVert->setValue(-1001);
        EXPECT_EQ(shadow.VertSize(), -1000) << "sizes stop at -1000";
        e.UDShadowTransp->setValue(40);
        EXPECT_EQ(shadow.Transparency(), 40);
        e.CBSmooth->click();
        EXPECT_FALSE(shadow.Smooth());
        e.BShadowColor.PerformClick();
        EXPECT_EQ(shadow.Color(), clNavy);
        e.BOK->click();
    });
    AnswerColour(script, clNavy);
    ShowShadowEditorModal(nullptr, shadow);
    ExpectNoFailures(script);
}

TEST(ShadowEditor, LoadingWritesNothingAndNoShadowIsNoHarm)
{
    TLumShadow shadow;
    shadow.SetHorizSize(7);
    shadow.SetTransparency(25);
    shadow.SetSmooth(false);
    int notices = 0;
    shadow.OnChange = [&](TPersistent*) { ++notices; };
    {
        TPromptScript script;
        script.DriveForm([](TForm& form) { FormAs<TLumShadowEditor>(form).BOK->click(); });
        ShowShadowEditorModal(nullptr, shadow);
        ExpectNoFailures(script);
    }
    EXPECT_EQ(notices, 0);

    TLumShadowEditor editor(nullptr);
    editor.show();
    editor.UDShadowSize->setValue(12);
    editor.UDShadowTransp->setValue(50);
    editor.CBSmooth->click();
    EXPECT_EQ(editor.Shadow(), nullptr);
    editor.BindShadow(&shadow);
    EXPECT_EQ(editor.UDShadowSize->value(), 7);
    EXPECT_EQ(shadow.HorizSize(), 7) << "binding writes nothing";
    EXPECT_EQ(notices, 0);
    editor.UDShadowSize->setValue(9);
    EXPECT_EQ(shadow.HorizSize(), 9);
}

TEST(FontEditor, BindingWritesNothingAndSpacingOnlyWhileShowing)
{
    TLumFont font;
    font.SetInterCharSize(150); // beyond the edit's range: a write-back would clip it
    font.SetColor(clMaroon);
    int notices = 0;
    font.OnChange = [&](TPersistent*) { ++notices; };
    TLumFontEditor editor(nullptr);
    editor.BindFont(&font);
    EXPECT_EQ(editor.UDInter->value(), 100);
    editor.UDInter->setValue(5);
    EXPECT_EQ(font.InterCharSize(), 150) << "not showing: the edit does not write";
    editor.show();
    EXPECT_EQ(font.InterCharSize(), 150) << "showing binds again and still writes nothing";
    EXPECT_EQ(editor.SHText->palette().color(QPalette::Window), QColor(0x80, 0, 0));
    editor.UDInter->setValue(-3);
    EXPECT_EQ(font.InterCharSize(), -3);
    EXPECT_EQ(notices, 1);
}

TEST(FontEditor, EachControlWritesItsProperty)
{
    TLumFont font;
    TPromptScript script;
    script.DriveForm([&](TForm& form) {
        auto& e = FormAs<TLumFontEditor>(form);
        EXPECT_EQ(e.Caption(), "LumFont Editor");
        e.Button3->click();
        EXPECT_EQ(font.Size(), 14);
        EXPECT_EQ(font.Name(), "Courier New");
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(e.SHText, &release);
        EXPECT_EQ(font.Color(), clGreen);
        e.CBOutGrad->click();
        EXPECT_TRUE(font.Gradient().Outline());
        e.BOutline.PerformClick();
        EXPECT_EQ(font.OutLine().Width(), 3);
        e.BShadow->click();
        EXPECT_EQ(font.Shadow().HorizSize(), 6);
        e.BGradient.PerformClick();
        EXPECT_TRUE(font.Gradient().Visible());
        form.done(mrCancel);
    });
    script.Expect(TPromptKind::FontDialog, [](TPrompt& p) {
        p.Font->Name = "Courier New";
        p.Font->Size = 14;
        p.Result = mrOk;
    });
    AnswerColour(script, clGreen);
    script.DriveForm([](TForm& form) {
        auto& pen = FormAs<TPenDialog>(form);
        pen.SEWidth->setValue(3);
        pen.BOk->click();
    });
    script.DriveForm([](TForm& form) {
        auto& shadow = FormAs<TLumShadowEditor>(form);
        shadow.UDShadowSize->setValue(6);
        shadow.BOK->click();
    });
    script.DriveForm([](TForm& form) {
        auto& gradient = FormAs<TLumGradientEditor>(form);
        gradient.CBVisible->click();
        gradient.BOk->click();
    });
    ShowFontEditorModal(nullptr, font);
    ExpectNoFailures(script);
}

TEST(FontEditor, AsADialogItHasACaptionWithTheCloseBoxAlone)
{
    // No OK or Cancel: the close box (or Escape) closes it, every change already made.
    for (const bool escape : {false, true}) {
        TLumFont font;
        TPromptScript script;
        script.DriveForm([&](TForm& form) {
            const Qt::WindowFlags flags = form.windowFlags();
            EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
            EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
            EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
            EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
            EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
            EXPECT_FALSE(flags.testFlag(Qt::WindowContextHelpButtonHint));
            EXPECT_EQ(form.windowType(), Qt::Dialog);
            FormAs<TLumFontEditor>(form).CBOutGrad->click();
            if (escape) {
                QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(&form, &key);
            } else {
                form.close();
            }
        });
        ShowFontEditorModal(nullptr, font);
        ExpectNoFailures(script);
        EXPECT_TRUE(font.Gradient().Outline()) << (escape ? "Escape" : "close box") << " keeps the change";
    }
}

TEST(ShapeEditor, EachControlWritesItsProperty)
{
    TLumShape shape(nullptr);
    TPromptScript script;
    script.DriveForm([&](TForm& form) {
        auto& e = FormAs<TFormLumShape>(form);
        EXPECT_EQ(e.PC1->currentWidget(), e.TabFormat);
        EXPECT_EQ(e.CBBevel.ItemIndex(), 0);
        EXPECT_FALSE(e.UDBevW->isEnabled()) << "no bevel, no bevel size";
        Choose(e.CBBevel, 2);
        EXPECT_EQ(shape.Bevel(), bvRaised);
        EXPECT_TRUE(e.UDBevW->isEnabled());
        e.UDBevW->setValue(5);
        EXPECT_EQ(shape.BevelWidth(), 5);
        Choose(e.CBBevel, 0);
        EXPECT_FALSE(e.UDBevW->isEnabled());
        e.CBRound->click();
        EXPECT_EQ(shape.ShapeStyle(), fosRoundRectangle);
        e.CBTransparent->click();
        EXPECT_TRUE(shape.Transparent());
        e.UDShadowTransp->setValue(60);
        EXPECT_EQ(shape.Transparency(), 60);
        e.BBackColor.PerformClick();
        EXPECT_EQ(shape.Color(), clYellow);
        e.Button4.PerformClick();
        EXPECT_EQ(shape.Pen().Width(), 2);
        e.Button6->click();
        EXPECT_EQ(shape.Brush().Style(), bsClear);
        // The pages of the font, gradient and shadow editors edit the shape's own, once shown.
        e.PC1->setCurrentWidget(e.TabShadow);
        e.ShadowEditor()->UDShadowSize->setValue(8);
        EXPECT_EQ(shape.Shadow().HorizSize(), 8);
        e.GradientEditor()->TrackBar2->setValue(44);
        EXPECT_EQ(shape.Gradient().RadialY(), 44);
        EXPECT_EQ(e.FontEditor()->Font(), &shape.Font());
        form.done(mrCancel);
    });
    AnswerColour(script, clYellow);
    script.DriveForm([](TForm& form) {
        auto& pen = FormAs<TPenDialog>(form);
        pen.SEWidth->setValue(2);
        pen.BOk->click();
    });
    script.DriveForm([](TForm& form) {
        auto& brush = FormAs<TBrushDialog>(form);
        brush.LStyle.SetItemIndex(1);
        auto* native = static_cast<QListWidget*>(brush.LStyle.Widget());
        emit native->itemClicked(native->item(1));
        brush.Button2->click();
    });
    TFormLumShape editor(nullptr, &shape);
    editor.ShowModal();
    ExpectNoFailures(script);
}

TEST(ShapeEditor, PagesMoveBehindTheTabsAlreadyThere)
{
    TLumShape shape(nullptr);
    shape.SetBevel(bvLowered);
    QTabWidget pages;
    pages.addTab(new QWidget, "Style");
    pages.addTab(new QWidget, "Position");
    pages.setCurrentIndex(1);
    TFormLumShape* editor = EmbedShapeEditorPages(pages, &shape);
    ASSERT_EQ(pages.count(), 6);
    EXPECT_EQ(pages.tabText(0), "Style");
    EXPECT_EQ(pages.tabText(1), "Position");
    EXPECT_EQ(pages.tabText(2), "Format");
    EXPECT_EQ(pages.tabText(5), "Shadow");
    EXPECT_EQ(pages.currentIndex(), 0);
    EXPECT_FALSE(editor->isVisible());
    editor->LoadShape(&shape);
    EXPECT_EQ(editor->CBBevel.ItemIndex(), 1);
    EXPECT_TRUE(editor->UDBevW->isEnabled());
    editor->CBTransparent->click();
    EXPECT_TRUE(shape.Transparent()) << "moved pages still write the shape";
    QCheckBox visible("Visible");
    visible.setChecked(false);
    editor->CBVisibleChecked(&visible);
    EXPECT_FALSE(shape.Visible());
}
