// The panel, titles and walls pages of the chart editor on a live chart, driven through the prompter:
// each control set as a user does and read back on the chart; the back image's controls, the "Default"
// colour box, a title's position kept without CustomPosition, and the size of all four walls.
#include "chart/editors/LumEdiPane.h"
#include "chart/editors/LumEdiTitl.h"
#include "chart/editors/LumEdiWall.h"

#include "chart/base/RadErareZoom.h"
#include "chart/control/ChartControl.h"
#include "chart/control/ChartWalls.h"
#include "platform/controls/Prompter.h"
#include "platform/graphics/Bitmap.h"
#include "tests/chart/editors/ChartWindowFixture.h"
#include "tests/chart/editors/EditorTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <unistd.h>

namespace {

// Shows the page modally and runs the script on it; More adds the answers to the prompts the script
// brings up.
void Drive(TForm& Page, const std::function<void()>& Script, const std::function<void(TPromptScript&)>& More = nullptr)
{
    TPromptScript script;
    script.DriveForm([&](TForm& Form) {
        Script();
        Form.done(mrOk);
    });
    if (More) More(script);
    Page.ShowModal();
    EXPECT_TRUE(script.Failures().empty()) << (script.Failures().empty() ? "" : script.Failures().front());
}

void Pick(QComboBox& Combo, int Index)
{
    Combo.setCurrentIndex(Index);
    emit Combo.activated(Index);
}

// A left click on a custom-drawn control, as the user makes it.
void ClickControl(TWinControl& Control)
{
    QWidget* w = Control.Widget();
    const QPointF p(w->width() / 2, w->height() / 2);
    QMouseEvent press(QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

} // namespace

TEST(PanelPage, BackImageControlsFollowTheLoadedPicture)
{
    TChartWindow c;
    const std::string file =
        (std::filesystem::temp_directory_path() / ("vsp-back-" + std::to_string(getpid()) + ".bmp")).string();
    TBitmap(8, 8).SaveToFile(file);
    auto page = TFormLumPanel::CreateForPanel(nullptr, c.Chart);
    Drive(*page, [&] {
        TFormLumPanel& p = *page;
        EXPECT_EQ(p.BBrowseImage->text(), "B&rowse...");
        EXPECT_FALSE(p.RGBitmap->isEnabled());
        EXPECT_FALSE(p.CBImageInside->isEnabled());
        EXPECT_FALSE(p.CBTransp->isEnabled());
        EXPECT_FALSE(p.ELeft->isEnabled());
        p.BBrowseImage->click();
        EXPECT_TRUE(c.Chart.HasBackImage());
        EXPECT_EQ(p.BBrowseImage->text(), "Clea&r");
        EXPECT_TRUE(p.RGBitmap->isEnabled());
        EXPECT_TRUE(p.CBImageInside->isEnabled());
        p.ImageModes[3]->click();
        EXPECT_EQ(c.Chart.BackImageMode(), pbmCustom);
        EXPECT_TRUE(p.ELeft->isEnabled());
        p.ELeft->setValue(12);
        EXPECT_EQ(c.Chart.BackImage().Left(), 12);
        p.CBImageInside->click();
        EXPECT_TRUE(c.Chart.BackImageInside());
        p.BBrowseImage->click();
        EXPECT_FALSE(c.Chart.HasBackImage());
        EXPECT_EQ(p.BBrowseImage->text(), "B&rowse...");
        EXPECT_FALSE(p.ELeft->isEnabled());
    }, [&](TPromptScript& script) {
        script.Expect(TPromptKind::OpenDialog, [&](TPrompt& prompt) {
            prompt.File->FileName = file;
            prompt.Result = mrOk;
        });
    });
    std::filesystem::remove(file);
}

TEST(PanelPage, ButtonFaceByAnyMeansChecksAndDisablesDefault)
{
    TChartWindow c;
    c.Chart.SetColor(clWhite);
    auto page = TFormLumPanel::CreateForPanel(nullptr, c.Chart);
    Drive(*page, [&] {
        TFormLumPanel& p = *page;
        EXPECT_FALSE(p.CBColorDef->isChecked());
        EXPECT_TRUE(p.CBColorDef->isEnabled());
        p.CBColorDef->click();
        EXPECT_EQ(c.Chart.Color(), clBtnFace);
        EXPECT_TRUE(p.CBColorDef->isChecked());
        EXPECT_FALSE(p.CBColorDef->isEnabled());
    });
    c.Chart.SetColor(clWhite);
    auto again = TFormLumPanel::CreateForPanel(nullptr, c.Chart);
    Drive(*again, [&] {
        TFormLumPanel& p = *again;
        ClickControl(p.BPanelColor);
        EXPECT_EQ(ColorToRGB(c.Chart.Color()), ColorToRGB(clBtnFace));
        EXPECT_TRUE(p.CBColorDef->isChecked());
        EXPECT_FALSE(p.CBColorDef->isEnabled());
    }, [](TPromptScript& script) {
        script.Expect(TPromptKind::ColorDialog, [](TPrompt& prompt) {
            prompt.Color->Color = ColorToRGB(clBtnFace);
            prompt.Result = mrOk;
        });
    });
}

TEST(PanelPage, BordersWriteAtOnce)
{
    TChartWindow c;
    auto page = TFormLumPanel::CreateForPanel(nullptr, c.Chart);
    Drive(*page, [&] {
        TFormLumPanel& p = *page;
        EXPECT_EQ(p.SEPanelWi->minimum(), 1);
        EXPECT_EQ(p.ERound->maximum(), 10000);
        p.SEPanelBor->setValue(7);
        p.SEPanelWi->setValue(3);
        p.ERound->setValue(20);
        Pick(*p.CBInner, 2);
        Pick(*p.CBOuter, 1);
    });
    EXPECT_EQ(c.Chart.BorderWidth(), 7);
    EXPECT_EQ(c.Chart.BevelWidth(), 3);
    EXPECT_EQ(c.Chart.BorderRound(), 20);
    EXPECT_EQ(c.Chart.BevelInner(), bvRaised);
    EXPECT_EQ(c.Chart.BevelOuter(), bvLowered);
}

TEST(TitlePage, PositionIgnoredWithoutCustomPosition)
{
    TChartWindow c;
    c.Show();
    TChartTitle& title = c.Chart.Title();
    title.Text().SetText("Profile A");
    auto page = TFormLumTitle::CreateForTitle(nullptr, c.Chart, &title);
    Drive(*page, [&] {
        TFormLumTitle& p = *page;
        EXPECT_EQ(p.CBTitles->currentIndex(), 0);
        EXPECT_FALSE(p.ECustLeft->isEnabled());
        const int left = title.Left();
        p.ECustLeft->setValue(left + 40);
        EXPECT_FALSE(title.CustomPosition());
        EXPECT_EQ(title.Left(), left) << "no custom position: the edit writes nothing";
        p.CBCustPos->click();
        EXPECT_TRUE(title.CustomPosition());
        EXPECT_TRUE(p.ECustLeft->isEnabled());
        p.ECustLeft->setValue(55);
        EXPECT_EQ(title.Left(), 55);
        EXPECT_EQ(p.ECustTop->singleStep(), 5);

        p.MText->setPlainText("First\nSecond");
        EXPECT_EQ(title.Text().Count(), 2);
        EXPECT_EQ(title.Text()[1], "Second");
        Pick(*p.CBAlign, 0);
        EXPECT_EQ(title.Alignment(), taLeftJustify);
        p.CBVisible->click();
        EXPECT_FALSE(title.Visible());

        Pick(*p.CBTitles, 3);
        EXPECT_EQ(p.Title(), &c.Chart.Foot());
        p.CBAdjust->click();
        EXPECT_EQ(c.Chart.Foot().AdjustFrame(), !c.Chart.Title().AdjustFrame());
    });
}

TEST(WallPage, AllWallsSizeWritesFourAndTheTabsSwitchTheWall)
{
    TChartWindow c;
    auto page = TFormLumWall::CreateForWall(nullptr, c.Chart.BottomWall());
    Drive(*page, [&] {
        TFormLumWall& p = *page;
        EXPECT_EQ(p.TabSubWalls->currentIndex(), 2);
        EXPECT_FALSE(p.CBAutoHide->isVisible()) << "the bottom wall has no auto hide";
        p.EAllSize->setValue(9);
        for (TCustomChartWall* w : {static_cast<TCustomChartWall*>(&c.Chart.LeftWall()),
                                    static_cast<TCustomChartWall*>(&c.Chart.RightWall()),
                                    static_cast<TCustomChartWall*>(&c.Chart.BottomWall()),
                                    static_cast<TCustomChartWall*>(&c.Chart.BackWall())})
            EXPECT_EQ(w->Size(), 9);
        EXPECT_EQ(p.SEWallSize->value(), 9) << "the page is filled again";
        EXPECT_TRUE(p.CBDark3D->isEnabled());

        p.TabSubWalls->setCurrentIndex(0);
        EXPECT_EQ(&p.Wall(), &c.Chart.LeftWall());
        EXPECT_TRUE(p.CBAutoHide->isVisible());
        p.SEWallSize->setValue(0);
        EXPECT_EQ(c.Chart.LeftWall().Size(), 0);
        EXPECT_EQ(c.Chart.RightWall().Size(), 9) << "the single size writes one wall";
        EXPECT_FALSE(p.CBDark3D->isEnabled());
        p.Edit1->setValue(40);
        EXPECT_EQ(c.Chart.LeftWall().Transparency(), 40);
        p.CBVisible->click();
        EXPECT_EQ(c.Chart.LeftWall().Visible(), p.CBVisible->isChecked());
        p.CBView3dWalls->click();
        EXPECT_EQ(c.Chart.View3DWalls(), p.CBView3dWalls->isChecked());
    });
}
