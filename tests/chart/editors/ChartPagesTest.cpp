// The panel, titles and walls pages of the chart editor on a live chart, driven through the prompter:
// each control set as a user does and read back on the chart; the back image's controls, the "Default"
// colour box, a title's position kept without CustomPosition, and the size of all four walls.
#include "chart/editors/LumEdi3D.h"
#include "chart/editors/LumEdiGene.h"
#include "chart/editors/LumEdiPage.h"
#include "chart/editors/LumEdiPane.h"
#include "chart/editors/LumEdiTitl.h"
#include "chart/editors/LumEdiWall.h"

#include "chart/base/RadErareZoom.h"
#include "chart/control/ChartControl.h"
#include "chart/control/ChartRegistry.h"
#include "chart/control/ChartWalls.h"
#include "chart/control/LumPrevi.h"
#include "chart/editors/LumGalleryPanel.h"
#include "chart/engine/LumEngineTools.h"
#include "chart/series/SeriesLine.h"
#include "chart/series/SeriesPie.h"
#include "platform/controls/Prompter.h"
#include "platform/graphics/Bitmap.h"
#include "tests/chart/editors/ChartWindowFixture.h"
#include "tests/chart/editors/EditorTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>

#include <gtest/gtest.h>

#include <algorithm>
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

// ---- General, paging and 3-D pages -----------------------------------------------------------------------

TEST(GeneralPage, MarginsSnapBackInPercentAndTakeAnyPixelValue)
{
    struct TCase {
        TLumUnits Units;
        int Right;     // the opposite margin
        int Typed;     // into the left margin
        int Expected;  // the chart's left margin afterwards
    };
    const TCase cases[] = {
        {muPercent, 50, 45, 45},   {muPercent, 50, 50, 10},  // 100 together: snaps back
        {muPercent, 50, 60, 10},   {muPercent, 0, 99, 99},
        {muPixels, 50, 1990, 1990}, {muPixels, 50, -2000, -2000},
    };
    for (const TCase& t : cases) {
        TChartWindow c;
        c.Chart.SetMarginLeft(10);
        c.Chart.SetMarginRight(t.Right);
        auto page = TFormLumGeneral::CreateForChart(nullptr, c.Chart);
        Drive(*page, [&] {
            TFormLumGeneral& p = *page;
            if (t.Units == muPixels) {
                Pick(*p.CBMarUnits, 1);
                EXPECT_EQ(p.SELeftMa->minimum(), -2000);
                EXPECT_EQ(p.SELeftMa->maximum(), 2000);
            } else {
                EXPECT_EQ(p.SELeftMa->maximum(), 100);
            }
            EXPECT_EQ(p.SELeftMa->singleStep(), 5);
            p.SELeftMa->setValue(t.Typed);
            EXPECT_EQ(p.SELeftMa->value(), t.Expected);
        });
        EXPECT_EQ(c.Chart.MarginUnits(), t.Units);
        EXPECT_EQ(c.Chart.MarginLeft(), t.Expected) << t.Typed << " against " << t.Right;
    }
}

TEST(GeneralPage, ZoomAndScrollControlsWriteAndEnable)
{
    TChartWindow c;
    c.Chart.SetAllowPanning(pmBoth);
    auto page = TFormLumGeneral::CreateForChart(nullptr, c.Chart);
    Drive(*page, [&] {
        TFormLumGeneral& p = *page;
        EXPECT_EQ(p.PageControl1->currentWidget(), p.TabZoom);
        EXPECT_TRUE(p.CBScrollMouse->isEnabled());
        p.PanningModes[pmNone]->click();
        EXPECT_EQ(c.Chart.AllowPanning(), pmNone);
        EXPECT_FALSE(p.CBScrollMouse->isEnabled());
        p.PanningModes[pmVertical]->click();
        EXPECT_TRUE(p.CBScrollMouse->isEnabled());
        Pick(*p.CBScrollMouse, 2);
        EXPECT_EQ(c.Chart.ScrollMouseButton(), mbMiddle);

        const bool allowed = c.Chart.Zoom().Allow();
        EXPECT_EQ(p.CBDir->isEnabled(), allowed);
        p.CBAllowZoom->click();
        EXPECT_EQ(c.Chart.Zoom().Allow(), !allowed);
        EXPECT_EQ(p.CBDir->isEnabled(), !allowed);
        EXPECT_EQ(p.EMinPix->isEnabled(), !allowed);
        if (!c.Chart.Zoom().Allow()) p.CBAllowZoom->click();
        Pick(*p.CBDir, 1);
        EXPECT_EQ(c.Chart.Zoom().Direction(), tzdVertical);
        p.EMinPix->setValue(30);
        EXPECT_EQ(c.Chart.Zoom().MinimumPixels(), 30);
        p.SEAniZoomSteps->setValue(12);
        EXPECT_EQ(c.Chart.Zoom().AnimatedSteps(), 12);
        Pick(*p.CBZoomMouse, 1);
        EXPECT_EQ(c.Chart.Zoom().MouseButton(), mbRight);
        p.CBUpLeft->click();
        EXPECT_EQ(c.Chart.Zoom().UpLeftZooms(), p.CBUpLeft->isChecked());
        const auto& items = p.CBCursor.Items();
        const int hand = static_cast<int>(std::find(items.begin(), items.end(), "HandPoint") - items.begin());
        ASSERT_LT(hand, static_cast<int>(items.size()));
        Choose(p.CBCursor, hand);
        EXPECT_EQ(c.Chart.Cursor(), crHandPoint);
        EXPECT_EQ(c.Chart.SavedCursor(), crHandPoint);
        p.BPrint->click();
    }, [&](TPromptScript& script) {
        script.DriveForm([&](TForm& Form) {
            auto& preview = FormAs<TChartPreview>(Form);
            ASSERT_NE(preview.PageNavigator(), nullptr) << "the preview shows the page navigator";
            EXPECT_EQ(preview.LumPreviewPanel1->Panel(), &c.Chart);
            Form.done(mrCancel);
        });
    });
}

namespace {

// A page-number tool class for the paging page (the real one registers itself with its own unit).
class TTestPageNumTool : public TLumCustomTool {
    VSP_PERSISTENT_CLASS
public:
    explicit TTestPageNumTool(TComponent* AOwner) : TLumCustomTool(AOwner) {}
};

} // namespace

const TClassInfo& TTestPageNumTool::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TTestPageNumTool", .Parent = &TLumCustomTool::StaticClassInfo(),
                                  .Create = &CreateComponentOf<TTestPageNumTool>});
    return info;
}

TEST(PagingPage, PointsPerPageLabelNavigatorAndPageNumberTool)
{
    TChartWindow c;
    c.AddSeries<TLineSeries>("A", [](int i) { return i; });
    ASSERT_EQ(PageNumToolClass(), nullptr);
    auto page = TFormLumPage::CreateForChart(nullptr, c.Chart);
    Drive(*page, [&] {
        TFormLumPage& p = *page;
        EXPECT_FALSE(p.CBPageNum->isVisible()) << "no page-number tool class registered";
        EXPECT_EQ(WidgetText(*p.LabelPages), "Page 1 of 1");
        p.SEPointsPerPage->setValue(4);
        EXPECT_EQ(c.Chart.MaxPointsPerPage(), 4);
        EXPECT_EQ(WidgetText(*p.LabelPages), "Page 1 of 3");
        p.ChartPageNavigator1.Button(nbNext).Click();
        EXPECT_EQ(c.Chart.Page(), 2);
        EXPECT_EQ(WidgetText(*p.LabelPages), "Page 2 of 3");
        p.SEPointsPerPage->selectAll();  // the user empties the text: no paging
        QKeyEvent del(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QApplication::sendEvent(p.SEPointsPerPage, &del);
        ASSERT_TRUE(p.SEPointsPerPage->text().isEmpty());
        EXPECT_EQ(c.Chart.MaxPointsPerPage(), 0);
        p.CBScaleLast->click();
        EXPECT_EQ(c.Chart.ScaleLastPage(), p.CBScaleLast->isChecked());
        p.CBPageLegend->click();
        EXPECT_EQ(c.Chart.Legend().CurrentPage(), p.CBPageLegend->isChecked());
    });

    SetPageNumToolClass(&TTestPageNumTool::StaticClassInfo());
    QWidget owner;  // the chart has no owner: the tool belongs to the chart
    auto again = TFormLumPage::CreateForChart(nullptr, c.Chart);
    Drive(*again, [&] {
        TFormLumPage& p = *again;
        EXPECT_TRUE(p.CBPageNum->isVisible());
        EXPECT_FALSE(p.CBPageNum->isChecked());
        p.CBPageNum->click();
        ASSERT_EQ(c.Chart.Tools().Count(), 1);
        TLumCustomTool* tool = c.Chart.Tools().GetTool(0);
        EXPECT_EQ(tool->Name(), "ChartTool1");
        EXPECT_EQ(tool->Owner(), &c.Chart);
        EXPECT_TRUE(tool->Active());
        p.CBPageNum->click();
        EXPECT_EQ(c.Chart.Tools().Count(), 1) << "the tool is found again, not made twice";
        EXPECT_FALSE(tool->Active());
    });
    SetPageNumToolClass(nullptr);
}

TEST(ThreeDPage, OffsetsWidenTheTrackBarsAndAPieOnTheDeviceCanvasLocksRotation)
{
    TChartWindow c;
    c.Chart.SetView3D(true);
    c.Chart.View3DOptions().SetOrthogonal(false);
    c.Chart.View3DOptions().SetHorizOffset(3000);
    auto page = TFormLum3D::CreateForChart(nullptr, c.Chart);
    Drive(*page, [&] {
        TFormLum3D& p = *page;
        ASSERT_FALSE(c.Chart.ChartCanvas().HasOwnRenderer());
        EXPECT_EQ(p.SBHOffset->minimum(), -4500);
        EXPECT_EQ(p.SBHOffset->maximum(), 4500);
        EXPECT_EQ(p.SBVOffset->maximum(), 1500);
        EXPECT_EQ(p.SBElevation->minimum(), 270);
        EXPECT_TRUE(p.CBOrthogonal->isEnabled());
        EXPECT_TRUE(p.SBRotation->isEnabled());
        EXPECT_TRUE(p.SBElevation->isEnabled());
        p.CBOrthogonal->click();
        EXPECT_TRUE(c.Chart.View3DOptions().Orthogonal());
        EXPECT_FALSE(p.SBElevation->isEnabled()) << "orthogonal: no elevation";
        EXPECT_FALSE(p.SBRotation->isEnabled());
        EXPECT_TRUE(p.EOrthoAngle->isEnabled());
        p.EOrthoAngle->setValue(60);
        EXPECT_EQ(c.Chart.View3DOptions().OrthoAngle(), 60);
        p.SBZoom->setValue(150);
        EXPECT_EQ(c.Chart.View3DOptions().Zoom(), 150);
        EXPECT_EQ(WidgetText(*p.LZoom), "150%");
        p.SE3d->setValue(40);
        EXPECT_EQ(c.Chart.Chart3DPercent(), 40);
        p.CBView3d->click();
        EXPECT_FALSE(c.Chart.View3D());
        EXPECT_FALSE(p.CBOrthogonal->isEnabled());
    });

    TChartWindow pie;
    pie.Chart.SetView3D(true);
    pie.Chart.View3DOptions().SetOrthogonal(false);
    pie.AddSeries<TPieSeries>("P", [](int i) { return i + 1; });
    auto pies = TFormLum3D::CreateForChart(nullptr, pie.Chart);
    Drive(*pies, [&] {
        TFormLum3D& p = *pies;
        EXPECT_FALSE(p.RotationAllowed());
        EXPECT_FALSE(p.CBOrthogonal->isEnabled());
        EXPECT_FALSE(p.SBRotation->isEnabled());
        EXPECT_TRUE(p.SBElevation->isEnabled());
    });
}

TEST(ThreeDPage, ViewsSelectTheMatchingPresetAndCopyTheChoice)
{
    TChartWindow c;
    c.Chart.SetView3D(true);
    c.Chart.View3DOptions().SetRotation(123);  // no preset has it
    auto page = TFormLum3D::CreateForChart(nullptr, c.Chart);
    Drive(*page, [&] {
        TFormLum3D& p = *page;
        p.PageControl1->setCurrentWidget(p.TabViews);
        TChartGalleryPanel* views = p.ChartGalleryPanel1();
        ASSERT_NE(views, nullptr);
        ASSERT_EQ(views->MiniatureCount(), 6);
        EXPECT_EQ(views->FocusedMiniature(), nullptr) << "no preset matches";
        EXPECT_EQ(views->Miniature(4).Title().Text()[0], "3D Right");
        views->MiniatureClick(&views->Miniature(4));
        const TView3DOptions& chosen = views->Miniature(4).View3DOptions();
        EXPECT_TRUE(c.Chart.View3D());
        EXPECT_FALSE(c.Chart.View3DOptions().Orthogonal());
        EXPECT_EQ(c.Chart.View3DOptions().Rotation(), 300);
        EXPECT_EQ(c.Chart.View3DOptions().Elevation(), chosen.Elevation());
        EXPECT_EQ(c.Chart.View3DOptions().OrthoAngle(), chosen.OrthoAngle());

        p.PageControl1->setCurrentWidget(p.TabOptions);
        EXPECT_EQ(p.SBRotation->value(), 300) << "the options are filled again";
        p.PageControl1->setCurrentWidget(p.TabViews);
        EXPECT_EQ(views->FocusedMiniature(), &views->Miniature(4)) << "the matching preset is selected";
        views->MiniatureClick(&views->Miniature(0));
        EXPECT_FALSE(c.Chart.View3D()) << "\"2D\"";
    });
}

TEST(ChartPages, FillingWritesNothing)
{
    // Values the controls cannot show (beyond their ranges) would come back clamped if filling wrote.
    TChartWindow c;
    c.Chart.Zoom().SetAnimatedSteps(150);
    c.Chart.Zoom().SetMinimumPixels(500);
    c.Chart.SetMaxPointsPerPage(40000);
    c.Chart.SetView3D(true);
    TView3DOptions& o = c.Chart.View3DOptions();
    o.SetPerspective(250);
    o.SetZoom(900);
    o.SetFontZoom(3000);
    o.SetElevation(200);  // below the device canvas' 270
    auto general = TFormLumGeneral::CreateForChart(nullptr, c.Chart);
    Drive(*general, [] {});
    auto paging = TFormLumPage::CreateForChart(nullptr, c.Chart);
    Drive(*paging, [] {});
    auto threeD = TFormLum3D::CreateForChart(nullptr, c.Chart);
    Drive(*threeD, [&] { threeD->PageControl1->setCurrentWidget(threeD->TabViews); });
    EXPECT_EQ(c.Chart.Zoom().AnimatedSteps(), 150);
    EXPECT_EQ(c.Chart.Zoom().MinimumPixels(), 500);
    EXPECT_EQ(c.Chart.MaxPointsPerPage(), 40000);
    EXPECT_EQ(o.Perspective(), 250);
    EXPECT_EQ(o.Zoom(), 900);
    EXPECT_EQ(o.FontZoom(), 3000);
    EXPECT_EQ(o.Elevation(), 200);
    EXPECT_TRUE(c.Chart.View3D());
}
