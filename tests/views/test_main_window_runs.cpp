// The forward run and the inversion from the main window: the gauge each step shows, the node marks
// during a run, the window disabled while it works and enabled on every exit, commands posted meanwhile,
// the boundary preview, failures, and the cursor texts of status panel 1.
#include "MainWindowFixture.h"

#include "core/Supermath2d.h"
#include "ui/uisplit.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <stdexcept>

namespace {

std::vector<int> Gauges(const std::vector<TProbeMainForm::TStep>& steps)
{
    std::vector<int> g;
    for (const auto& s : steps) g.push_back(s.Gauge);
    return g;
}

} // namespace

TEST_F(MainWindow, ForwardRunStepsTheGaugeByHalvesAndShowsTheNodesMeanwhile)
{
    TProbeMainForm& f = Start();
    OpenSample();
    ASSERT_EQ(f.Runs, 1);
    EXPECT_EQ(Gauges(f.Steps), (std::vector<int>{50, 100}));
    EXPECT_EQ(f.Resets, (std::vector<int>{0}));
    const int modelNodes = f.PolygonChart1->Model.Nodes.Length();
    for (const auto& s : f.Steps) {
        EXPECT_FALSE(s.Enabled) << "no input during a run";
        EXPECT_TRUE(s.Busy);
        EXPECT_GT(s.Nodes, modelNodes) << "the refined nodes";
        EXPECT_TRUE(s.LabelsAreIndexes) << "labelled by their index";
    }
    EXPECT_EQ(f.PolygonChart1->NodeSeries().PointCount(), 0) << "gone after the run";
    EXPECT_EQ(f.PolygonChart1->Model.Nodes.Length(), modelNodes) << "the run refines copies";
    EXPECT_TRUE(f.Enabled());
    EXPECT_FALSE(f.Busy());

    // Space runs it again.
    f.Steps.clear();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QApplication::sendEvent(f.PolygonChart1->Widget(), &key);
    EXPECT_EQ(f.Runs, 2);
    EXPECT_EQ(Gauges(f.Steps), (std::vector<int>{50, 100}));
}

TEST_F(MainWindow, InversionStepsByFiveWithTheWindowDisabled)
{
    TProbeMainForm& f = Start();
    OpenSample();
    f.Steps.clear();
    f.Resets.clear();
    const AllSpolygon before = f.PolygonChart1->Model.Bodies;
    f.SpeedButton22Click();
    std::vector<int> expected;
    for (int k = 1; k <= 20; ++k) expected.push_back(5 * k);
    EXPECT_EQ(Gauges(f.Steps), expected);
    EXPECT_EQ(f.Resets.back(), 0);
    for (const auto& s : f.Steps) EXPECT_FALSE(s.Enabled);
    EXPECT_TRUE(f.Enabled());
    EXPECT_EQ(f.DisabledCount(), 2) << "once for the forward run of the open, once for the inversion";
    EXPECT_NE(f.PolygonChart1->Model.Bodies, before) << "the resistivities were fitted";
    EXPECT_EQ(f.PolygonChart1->NodeSeries().PointCount(), 0);
    EXPECT_FALSE(f.StatusText(spMisfit).empty());
}

TEST_F(MainWindow, CommandsPostedDuringARunNestNothingAndACloseWaitsForItsEnd)
{
    TProbeMainForm& f = Start();
    OpenSample();
    std::filesystem::copy_file(Sample, Temp.File("other.sp2"));
    const int runs = f.Runs;
    f.Steps.clear();
    f.BeforeStep = [&](int step) {
        if (step != 0) return;
        Application->Post([&] { f.SpeedButton6Click(); });
        Application->Post([&] { f.SpeedButton22Click(); });
        Application->Post([&] { f.OpenData(Temp.File("other.sp2")); });
        Application->Post([&] { f.Close(); });
    };
    f.SpeedButton6Click();
    EXPECT_EQ(f.Runs, runs + 1) << "no run inside the run";
    EXPECT_EQ(f.Caption(), "VornResP2D [sample.sp2]") << "no open inside the run";
    EXPECT_EQ(Gauges(f.Steps), (std::vector<int>{50, 100}));
    EXPECT_TRUE(f.Widget()->isVisible()) << "the close waits";
    EXPECT_FALSE(Application->Terminated());
    f.BeforeStep = nullptr;
    Pump();
    EXPECT_FALSE(f.Widget()->isVisible()) << "and comes after the run";
    EXPECT_TRUE(Application->Terminated());
    EXPECT_NE(Settings().find("[common]"), std::string::npos) << "closing wrote the settings";
}

TEST_F(MainWindow, ARunThatFailsOrRaisesLeavesTheWindowEnabled)
{
    TProbeMainForm& f = Start();
    OpenSample();
    const std::string misfit = f.StatusText(spMisfit);

    // A failure the core reports: shown with the application title; the misfit emptied by the core.
    f.BeforeStep = [](int) { throw Exception("Stopped by the test"); };
    Script->AnswerMessage(mrOk);
    f.SpeedButton6Click();
    EXPECT_EQ(Script->Log().back().Text, "Stopped by the test");
    EXPECT_EQ(Script->Log().back().Caption, "VornResP2D [sample.sp2]");
    EXPECT_TRUE(f.Enabled());
    EXPECT_FALSE(f.Busy());
    EXPECT_EQ(f.StatusText(spMisfit), "");
    EXPECT_EQ(f.GaugePosition(), 0);

    // Anything else passes through the window's run to the default handler, and the window is enabled.
    f.BeforeStep = [](int) { throw std::runtime_error("out of order"); };
    EXPECT_THROW(f.SpeedButton22Click(), std::runtime_error);
    EXPECT_TRUE(f.Enabled());
    EXPECT_FALSE(f.Busy());
    f.BeforeStep = nullptr;
    f.SpeedButton6Click();
    EXPECT_FALSE(f.StatusText(spMisfit).empty()) << misfit;
}

TEST_F(MainWindow, BoundaryPreviewOnlyAfterAFirstRun)
{
    TProbeMainForm& f = Start();
    f.ShowBoundaryPreview();
    EXPECT_EQ(f.PolygonChart1->NodeSeries().PointCount(), 0);
    EXPECT_TRUE(f.PolygonChart1->Model.Nodes.empty());

    f.Survey.OpenInModelingMode = true;
    OpenSample();
    ASSERT_FALSE(f.Survey.ModelReady);
    f.ShowBoundaryPreview();
    EXPECT_EQ(f.PolygonChart1->NodeSeries().PointCount(), 0) << "ModelReady is still false";

    f.Survey.OpenInModelingMode = false;
    OpenSample();
    ASSERT_TRUE(f.Survey.ModelReady);
    int refined = 0;
    for (const auto& s : f.Steps) refined = s.Nodes;
    f.ShowBoundaryPreview();
    EXPECT_EQ(f.PolygonChart1->NodeSeries().PointCount(), refined);
    EXPECT_EQ(f.PolygonChart1->NodeSeries().Labels().LabelText(0), "");
}

TEST_F(MainWindow, NothingRunsWithoutASurvey)
{
    TProbeMainForm& f = Start();
    f.SpeedButton6Click();
    f.SpeedButton22Click();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QApplication::sendEvent(f.Widget(), &key);
    EXPECT_EQ(f.Runs, 0);
    EXPECT_FALSE(f.uiBiSplit1->Visible());
}

TEST_F(MainWindow, CursorTextsInPanelOne)
{
    TProbeMainForm& f = Start();
    OpenSample();
    Pump();
    // The data view in graph mode writes the values under the mouse, x then y.
    QWidget* data = f.PseudoSection2d1->Widget();
    QMouseEvent overData(QEvent::MouseMove, QPointF(50, 50), data->mapToGlobal(QPointF(50, 50)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
    f.Settings.DataPlotType = 1;
    f.SetPlotMode();
    QApplication::sendEvent(data, &overData);
    EXPECT_EQ(f.StatusText(spCursor), FormatValue(f.PseudoSection2d1->BottomAxis().PixelToValue(50), 0, true) + " " +
                                          FormatValue(f.PseudoSection2d1->LeftAxis().PixelToValue(50), 0, true));
    // Graph mode takes the view's own handlers away.
    TPseudoSection2d& view = *f.PseudoSection2d1;
    EXPECT_FALSE(view.OnDblClick || view.OnAfterDraw || view.OnMouseDown || view.LeftAxis().OnRangeChange ||
                 view.BottomAxis().OnRangeChange || view.OnCursorText);

    // Pseudo-section mode gives them back; the view's cursor read-out goes to panel 1 (the empty section
    // composes none, so it is handed one here).
    f.Settings.DataPlotType = 0;
    view.Legend().SetVisible(false);
    f.SetPlotMode();
    EXPECT_TRUE(view.OnDblClick && view.OnAfterDraw && view.OnMouseDown && view.OnMouseMove &&
                view.LeftAxis().OnRangeChange && view.BottomAxis().OnRangeChange);
    EXPECT_TRUE(view.Legend().Visible());
    f.SetStatusText(spCursor, "before");
    QApplication::sendEvent(data, &overData);
    EXPECT_EQ(f.StatusText(spCursor), "before") << "no read-out over the empty section";
    ASSERT_TRUE(view.OnCursorText);
    view.CursorText = "12.5 3";
    view.OnCursorText(&view);
    EXPECT_EQ(f.StatusText(spCursor), "12.5 3");

    // Over the model view: the position in axis values, x then z.
    TPolygonChart& m = *f.PolygonChart1;
    const double x = 0.5 * (m.Model.ModelBox.XMin + m.Model.ModelBox.XMax);
    const double z = 0.5 * m.Model.ModelBox.ZMax;
    const QPointF p(m.BottomAxis().CalcPosValue(x), m.LeftAxis().CalcPosValue(z));
    QMouseEvent over(QEvent::MouseMove, p, m.Widget()->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(m.Widget(), &over);
    const std::string text = f.StatusText(spCursor);
    const auto blank = text.find(' ');
    ASSERT_NE(blank, std::string::npos) << text;
    const double xPerPixel = (m.Model.ModelBox.XMax - m.Model.ModelBox.XMin) / std::max(1, m.BottomAxis().EndPixel - m.BottomAxis().StartPixel);
    const double zPerPixel = m.Model.ModelBox.ZMax / std::max(1, m.LeftAxis().EndPixel - m.LeftAxis().StartPixel);
    EXPECT_NEAR(StrToValue(text.substr(0, blank)), x, 1.5 * xPerPixel) << text;
    EXPECT_NEAR(StrToValue(text.substr(blank + 1)), z, 1.5 * zPerPixel) << text;
}
