// "Create survey" in the main window: a synthetic survey from the dialog's values, the frame model over
// its span from the model constructor, a forward run and the calculated curve on the data view; a
// cancelled dialog leaves the survey alone. VSP_DATA_VIEW_PICTURES may name a folder for pictures of the
// two dialogs and of the data view with the sample survey.
#include "tests/views/MainWindowFixture.h"

#include "core/Supermath2d.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/Menus.h"
#include "platform/graphics/Bitmap.h"
#include "ui/uibtn.h"
#include "views/Dearsetup.h"
#include "views/ModelConstruct.h"

#include <QPixmap>
#include <QWidget>

#include <cstdlib>

namespace {

std::string PictureFolder()
{
    const char* dir = std::getenv("VSP_DATA_VIEW_PICTURES");
    return dir ? dir : "";
}

void SavePicture(QWidget& w, const std::string& name)
{
    if (!PictureFolder().empty()) w.grab().save(QString::fromStdString(PictureFolder() + "/" + name));
}

TEST_F(MainWindow, CreateSurveyBuildsASurveyAndItsFrameModel)
{
    TProbeMainForm& f = Start();
    EXPECT_TRUE(f.Newmodel1->Enabled());
    Script->DriveForm([](TForm& form) {
        auto& d = dynamic_cast<TDefarray&>(form);
        d.SpinEdit3.SetText("12");
        d.Edit1.SetText("2,5");
        SavePicture(d, "create_survey.png");
        d.uiPicBtn1->PerformClick();
    });
    // A new model takes the values shown also when the constructor is closed.
    Script->DriveForm([](TForm& form) {
        SavePicture(form, "model_constructor.png");
        form.done(mrCancel);
    });
    f.Newmodel1Click();

    EXPECT_EQ(f.Survey.SyntheticCount, 12);
    EXPECT_EQ(f.Survey.SyntheticSpacing, 2.5);
    EXPECT_EQ(MeasurementCount(f.Survey), 12);
    EXPECT_FALSE(f.Survey.DataLoaded);
    EXPECT_TRUE(f.Survey.ModelReady);
    EXPECT_TRUE(f.Survey.SurveyReady);
    EXPECT_EQ(f.Survey.StartResistivity, 10);
    ASSERT_TRUE(f.PolygonChart1->ModelPresent());
    const TModelBox box = f.PolygonChart1->Model.ModelBox;
    EXPECT_EQ(box.XMin, 0);
    EXPECT_EQ(box.XMax, 30);
    EXPECT_EQ(box.ZMax, 15);
    EXPECT_EQ(f.PolygonChart1->ElectrodeSeries().PointCount(), 13);
    EXPECT_EQ(f.Runs, 1);
    // No observed curve for a made survey; the calculated one from the run.
    EXPECT_EQ(f.PseudoSection2d1->Series1->PointCount(), 0);
    EXPECT_EQ(f.PseudoSection2d1->Series2->PointCount(), 12);
    EXPECT_EQ(f.PseudoSection2d1->BottomAxis().Minimum(), f.PolygonChart1->BottomAxis().Minimum());
    EXPECT_EQ(f.PseudoSection2d1->BottomAxis().Maximum(), f.PolygonChart1->BottomAxis().Maximum());
    EXPECT_EQ(f.PseudoSection2d1->NodeEnd, 1);
    EXPECT_TRUE(f.ToolBar2->Visible());
}

TEST_F(MainWindow, CreateSurveyCancelledLeavesTheSurvey)
{
    TProbeMainForm& f = Start();
    OpenSample();
    Pump();
    const int measurements = MeasurementCount(f.Survey);
    const TModelBox box = f.PolygonChart1->Model.ModelBox;
    const int runs = f.Runs;
    Script->DriveForm([](TForm& form) { form.done(mrCancel); });
    f.Newmodel1Click();
    EXPECT_EQ(MeasurementCount(f.Survey), measurements);
    EXPECT_TRUE(f.Survey.DataLoaded);
    EXPECT_EQ(f.PolygonChart1->Model.ModelBox.XMax, box.XMax);
    EXPECT_EQ(f.Runs, runs);
    EXPECT_TRUE(f.ToolBar2->Visible());

    // The sample's curves: both, at the model view's x range.
    EXPECT_EQ(f.PseudoSection2d1->Series1->PointCount(), measurements);
    EXPECT_EQ(f.PseudoSection2d1->Series2->PointCount(), measurements);
    if (!PictureFolder().empty())
        f.PseudoSection2d1->RenderToBitmap(clWhite, f.PseudoSection2d1->ChartBounds(), pf24bit)
            ->SaveToFile(PictureFolder() + "/data_view.bmp");
}

} // namespace
