// The open pipeline of the main window: the sample shown and computed, a configuration file, a capital
// extension, files that cannot be read, modelling mode, and the survey named on the command line.
#include "MainWindowFixture.h"

#include "chart/control/LumPrevi.h"
#include "chart/control/LumPreviewPanel.h"
#include "core/DC2dBEM.h"
#include "core/SurveyOpen.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Menus.h"
#include "ui/FileMO.h"
#include "ui/uibtn.h"

#include <QPushButton>
#include "views/ModelConstruct.h"
#include "ui/uisplit.h"

namespace {

// The sample opened and computed through the core's entries alone, as the window should do it.
struct THeadless {
    TSurveyState Survey;
    TPolygonModel Model;
    TForwardResult Forward;

    explicit THeadless(const std::string& path)
    {
        TSurveyOpenResult r = OpenSurveyFile(TSurveyState{}, path, [](const std::string&) { return true; }, 100.0);
        Survey = std::move(r.Survey);
        Model = *r.Model;
        TSolverState state;
        Forward = RunForwardProblem(Survey, Model, {}, state);
    }
};

} // namespace

TEST_F(MainWindow, TheSampleOpensShownAndComputed)
{
    TProbeMainForm& f = Start();
    OpenSample();
    ASSERT_EQ(Script->Log().size(), 1u);
    EXPECT_EQ(Script->Log()[0].Text, "Load project configuration");

    EXPECT_EQ(f.Caption(), "VornResP2D [sample.sp2]");
    EXPECT_EQ(Application->Title(), "VornResP2D [sample.sp2]");
    EXPECT_TRUE(f.ToolBar2->Visible());
    EXPECT_TRUE(f.uiBiSplit1->Visible());
    EXPECT_EQ(f.uiBiSplit1->SplitVPercent(), 50);
    EXPECT_TRUE(f.Survey.DataLoaded && f.Survey.SurveyReady && f.Survey.ModelReady);
    EXPECT_EQ(f.Runs, 1);
    EXPECT_EQ(f.GaugePosition(), 0);

    const THeadless headless(Sample);
    ASSERT_TRUE(headless.Forward.Succeeded);
    EXPECT_EQ(f.StatusText(spMisfit), headless.Forward.MisfitText);
    ASSERT_EQ(f.Survey.DataSets.Length(), headless.Survey.DataSets.Length());
    EXPECT_EQ(f.Survey.DataSets[0].Calculated, headless.Survey.DataSets[0].Calculated);
    EXPECT_EQ(f.PolygonChart1->Model.ModelBox, headless.Model.ModelBox);
    EXPECT_EQ(f.PolygonChart1->Model.Nodes.Length(), headless.Model.Nodes.Length());
    // The model view's axes show the box.
    EXPECT_DOUBLE_EQ(f.PolygonChart1->BottomAxis().Minimum(), headless.Model.ModelBox.XMin);
    EXPECT_DOUBLE_EQ(f.PolygonChart1->BottomAxis().Maximum(), headless.Model.ModelBox.XMax);
    EXPECT_DOUBLE_EQ(f.PolygonChart1->LeftAxis().Maximum(), headless.Model.ModelBox.ZMax);
    EXPECT_TRUE(f.PolygonChart1->LeftAxis().Inverted());
}

// The ".cfg" beside a survey is offered with OK and Cancel: OK loads it, Cancel keeps the settings.
TEST_F(MainWindow, TheConfigurationQuestionTakesOkOrCancel)
{
    TProgramConfig config;
    config.numqp = 4;
    ASSERT_TRUE(WriteProgramConfig(Temp.File("sample.cfg"), config));
    const struct {
        TModalResult Answer;
        int Numqp;
    } cases[] = {{mrOk, 4}, {mrCancel, 7}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Answer);
        TProbeMainForm& f = Start();
        Script->AnswerMessage(c.Answer);
        f.OpenData(Sample);
        ASSERT_FALSE(Script->Log().empty());
        EXPECT_EQ(Script->Log().back().Text, "Load project configuration");
        EXPECT_EQ(Script->Log().back().Buttons, (TMsgDlgButtons{mbOK, mbCancel}));
        EXPECT_EQ(f.Survey.Settings.numqp, c.Numqp);
        EXPECT_EQ(f.Caption(), "VornResP2D [sample.sp2]");
    }
}

// A survey with a garbled number and a line cut short opens as before, and the message panel names the
// lines until the next survey is opened; an edit mode's help takes the panel while the mode is chosen.
TEST_F(MainWindow, UnreadableLinesAreNamedInTheMessagePanel)
{
    std::string text = FileText(Sample);
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; at < text.size(); at = end + 1) {
        end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(at, end - at));
    }
    // Lines 3 and 5 are measurements of the sample: a digit garbled, a line cut after its first value.
    ASSERT_GT(lines.size(), 5u);
    ASSERT_EQ(lines[2], "5 10 2.24 1");
    lines[2] = "5 10 3.3x9 1";
    lines[4] = "15";
    std::string garbled;
    for (const std::string& l : lines) garbled += l + "\n";
    SaveFileSafely(Temp.File("garbled.sp2"), garbled);

    TProbeMainForm& f = Start();
    f.OpenData(Temp.File("garbled.sp2"));
    EXPECT_EQ(f.Caption(), "VornResP2D [garbled.sp2]");
    EXPECT_TRUE(Script->Log().empty()) << "no message box";
    EXPECT_EQ(f.StatusText(spModeHelp), "2 lines could not be read: 3, 5");
    f.PolygonToolButtons[0]->Click();
    EXPECT_NE(f.StatusText(spModeHelp), "2 lines could not be read: 3, 5");
    f.PolygonToolButtons[0]->Click();
    f.prepaxises();
    EXPECT_EQ(f.StatusText(spModeHelp), "2 lines could not be read: 3, 5");
    OpenSample();
    EXPECT_EQ(f.StatusText(spModeHelp), "");
}

TEST_F(MainWindow, AConfigurationFileChangesOnlyTheSettings)
{
    TProbeMainForm& f = Start();
    OpenSample();
    TProgramConfig config = f.Survey.Settings;
    config.numqp = 4;
    config.StartX = 0.5;
    ASSERT_TRUE(WriteProgramConfig(Temp.File("other.CFG"), config));
    const ararofdoubleM rows = f.Survey.SurveyRows;
    f.OpenData(Temp.File("other.CFG"));
    EXPECT_EQ(f.Survey.Settings, config);
    EXPECT_EQ(f.Survey.SurveyRows, rows);
    EXPECT_EQ(f.Caption(), "VornResP2D [sample.sp2]");
    EXPECT_EQ(f.Runs, 1) << "no run";
}

TEST_F(MainWindow, ACapitalExtensionOpensLikeSp2)
{
    std::filesystem::copy_file(Sample, Temp.File("LINE.SP2"));
    TProbeMainForm& f = Start();
    f.OpenData(Temp.File("LINE.SP2")); // no "LINE.cfg" beside it: no question
    EXPECT_EQ(f.Caption(), "VornResP2D [LINE.SP2]");
    EXPECT_TRUE(f.Survey.DataLoaded);
    EXPECT_EQ(f.Runs, 1);
}

TEST_F(MainWindow, FilesThatCannotBeReadChangeNothing)
{
    SaveFileSafely(Temp.File("bad.sp2"), "this is no survey\n1 2 3\n");
    SaveFileSafely(Temp.File("x.txt"), FileText(Sample));
    TProbeMainForm& f = Start();
    OpenSample();
    const TSurveyState before = f.Survey;
    const TPolygonModel model = f.PolygonChart1->Model;
    struct Case {
        const char* Name;
        std::string Message;
    };
    const Case cases[] = {{"bad.sp2", "Error in data file!"},
                          {"x.txt", "Error in data file!"},
                          {"missing.sp2", "File not found - " + Temp.File("missing.sp2")},
                          {"missing.cfg", "File not found - " + Temp.File("missing.cfg")}};
    for (const auto& [name, message] : cases) {
        SCOPED_TRACE(name);
        Script->AnswerMessage(mrOk);
        f.OpenData(Temp.File(name));
        EXPECT_EQ(Script->Log().back().Text, message);
        EXPECT_EQ(Script->Log().back().Caption, "VornResP2D [sample.sp2]");
        EXPECT_EQ(f.Survey.SurveyRows, before.SurveyRows);
        EXPECT_EQ(f.Survey.CurrentFile, before.CurrentFile);
        EXPECT_EQ(f.PolygonChart1->Model.Nodes.Length(), model.Nodes.Length());
        EXPECT_EQ(f.PolygonChart1->Model.Bodies, model.Bodies);
        EXPECT_EQ(f.Caption(), "VornResP2D [sample.sp2]");
    }
    EXPECT_EQ(f.Runs, 1);
}

TEST_F(MainWindow, ModellingModeLeavesTheObservedDataOutAndTheInversionDoesNothing)
{
    TProbeMainForm& f = Start();
    f.Survey.OpenInModelingMode = true;
    OpenSample();
    EXPECT_FALSE(f.Survey.DataLoaded);
    EXPECT_TRUE(f.Survey.SurveyReady);
    EXPECT_EQ(f.Runs, 0) << "nothing observed and nothing computed yet: the forward command does nothing";
    const AllSpolygon bodies = f.PolygonChart1->Model.Bodies;
    f.SpeedButton22Click();
    EXPECT_EQ(f.Runs, 0);
    EXPECT_EQ(f.PolygonChart1->Model.Bodies, bodies);
    EXPECT_TRUE(f.Enabled());
    EXPECT_FALSE(f.Busy());
}

TEST_F(MainWindow, CommandLines)
{
    std::filesystem::copy_file(Sample, Temp.File("line one.sp2"));
    std::filesystem::copy_file(Sample, Temp.File("f.sp2"));
    const std::filesystem::path start = std::filesystem::current_path();
    struct Case {
        std::vector<std::string> Args;
        const char* Caption; // nullptr: nothing opened
    };
    const Case cases[] = {
        {{}, nullptr},
        {{"-ns", "f.sp2"}, "VornResP2D [f.sp2]"},
        {{"f.sp2", "-ns"}, "VornResP2D [f.sp2]"},
        {{Temp.File("line one.sp2")}, "VornResP2D [line one.sp2]"},
        {{"x.txt"}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Args.empty() ? std::string("none") : c.Args[0]);
        std::vector<std::string> line{"vornsp2dp"};
        line.insert(line.end(), c.Args.begin(), c.Args.end());
        SetCommandLine(line);
        std::filesystem::current_path(Temp.Path()); // relative paths are read from the start folder
        TProbeMainForm& f = Start();
        std::filesystem::current_path(start);
        f.Timer1Timer();
        EXPECT_FALSE(f.Timer1->Enabled()) << "the timer fires once";
        EXPECT_EQ(f.Caption(), c.Caption ? c.Caption : "VornSP2Dp");
        EXPECT_EQ(f.Runs, c.Caption ? 1 : 0);
        Form.reset();
    }
}

TEST_F(MainWindow, TheOpenDialogAddsEvenAFailedPathToTheRecentFiles)
{
    SaveFileSafely(Temp.File("bad.sp2"), "no survey\n");
    TProbeMainForm& f = Start();
    Script->Expect(TPromptKind::OpenDialog, [&](TPrompt& p) {
        EXPECT_EQ(p.File->Filter, "Vorn data file [*.sp2]|*.sp2|Program configuration [*.cfg]|*.cfg");
        p.File->FileName = Temp.File("bad.sp2");
        p.Result = mrOk;
    });
    Script->AnswerMessage(mrOk);
    f.SpeedButton1Click();
    EXPECT_EQ(Script->Log().back().Text, "Error in data file!");
    EXPECT_EQ(f.Caption(), "VornSP2Dp");
    ASSERT_EQ(f.Recent1->Count(), 1);
    EXPECT_EQ(f.Recent1->Items(0)->Caption(), Temp.File("bad.sp2"));
    EXPECT_EQ(f.OpenDialog1.FileName, Temp.File("bad.sp2"));
    EXPECT_EQ(f.OpenDialog1.InitialDir, Temp.Path());

    // A cancelled dialog adds nothing, nor does a name of no file.
    Script->Expect(TPromptKind::OpenDialog, [](TPrompt& p) { p.Result = mrCancel; });
    f.SpeedButton1Click();
    EXPECT_EQ(f.Recent1->Count(), 1);
    Script->Expect(TPromptKind::OpenDialog, [&](TPrompt& p) {
        p.File->FileName = Temp.File("gone.sp2");
        p.Result = mrOk;
    });
    Script->AnswerMessage(mrOk);
    f.SpeedButton1Click();
    EXPECT_EQ(Script->Log().back().Text, "File not found - " + Temp.File("gone.sp2"));
    EXPECT_EQ(f.Recent1->Count(), 1);
}

TEST_F(MainWindow, ARecentEntryOpensWithoutReordering)
{
    std::filesystem::copy_file(Sample, Temp.File("second.sp2"));
    TProbeMainForm& f = Start();
    f.FileMenuOpens1->AddFile(Sample);
    f.FileMenuOpens1->AddFile(Temp.File("second.sp2"));
    ASSERT_EQ(f.Recent1->Count(), 2);
    const std::string before = FileText(Temp.File("vornsp2dp.in"));
    TMenuItem* older = f.Recent1->Items(1);
    ASSERT_EQ(older->Caption(), Sample);
    Script->AnswerMessage(mrCancel); // its configuration is not loaded
    older->Click();
    EXPECT_EQ(f.Caption(), "VornResP2D [sample.sp2]");
    EXPECT_EQ(f.Runs, 1);
    EXPECT_EQ(FileText(Temp.File("vornsp2dp.in")), before) << "the list keeps its order";
    EXPECT_EQ(f.Recent1->Items(0)->Caption(), Temp.File("second.sp2"));
}

TEST_F(MainWindow, TheCommandLineSurveyJoinsTheRecentFilesAsAFullPath)
{
    std::filesystem::copy_file(Sample, Temp.File("f.sp2"));
    SetCommandLine({"vornsp2dp", "-ns", "f.sp2"});
    const std::filesystem::path start = std::filesystem::current_path();
    std::filesystem::current_path(Temp.Path());
    TProbeMainForm& f = Start();
    std::filesystem::current_path(start);
    f.Timer1Timer();
    ASSERT_EQ(f.Recent1->Count(), 1);
    EXPECT_EQ(f.Recent1->Items(0)->Caption(), Temp.File("f.sp2"));
}

TEST_F(MainWindow, AMissingCommandLineSurveyIsNotFoundAndNotRecent)
{
    SetCommandLine({"vornsp2dp", "-ns", Temp.File("nothing here.sp2")});
    TProbeMainForm& f = Start();
    Script->AnswerMessage(mrOk);
    f.Timer1Timer();
    ASSERT_FALSE(Script->Log().empty());
    EXPECT_EQ(Script->Log().back().Text, "File not found - " + Temp.File("nothing here.sp2"));
    EXPECT_EQ(f.Recent1->Count(), 0);
    EXPECT_EQ(f.Caption(), "VornSP2Dp");
    EXPECT_EQ(f.Runs, 0);
}

TEST_F(MainWindow, EditFileAndTheManualGoThroughTheDesktopsOpen)
{
    TProbeMainForm& f = Start();
    std::vector<std::string> opened;
    bool handled = true;
    f.OpenDocument = [&](const std::string& path) {
        opened.push_back(path);
        return handled;
    };
    f.Editfile1Click();
    EXPECT_TRUE(opened.empty()) << "no survey loaded: nothing";

    OpenSample();
    f.Editfile1Click();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], Sample);
    handled = false;
    Script->AnswerMessage(mrOk);
    f.Editfile1Click();
    EXPECT_EQ(Script->Log().back().Text, "Cannot open " + Sample + " in a text editor.");

    // The manual: the current folder first; a missing manual or one nobody opens is "not found".
    const std::filesystem::path start = std::filesystem::current_path();
    std::filesystem::current_path(Temp.Path());
    opened.clear();
    Script->AnswerMessage(mrOk);
    f.Context1Click();
    EXPECT_EQ(Script->Log().back().Text, "File not found - VornSP2dp.pdf");
    SaveFileSafely(Temp.File("VornSP2dp.pdf"), "%PDF-1.4\n");
    handled = true;
    f.Context1Click();
    std::filesystem::current_path(start);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], Temp.File("VornSP2dp.pdf"));
}

TEST_F(MainWindow, ASurveyWithoutAModelGetsTheConstructorsFrameModel)
{
    // The sample without its model block; no configuration beside it.
    const std::string text = FileText(Sample);
    const std::string path = Temp.File("nomodel.sp2");
    SaveFileSafely(path, text.substr(0, text.find("VornPolyModelDescription")));
    struct Case {
        const char* Name;
        std::function<void(TModConstr&)> Answer;
        double Rho, Left, Right, Bottom;
    };
    const Case cases[] = {
        // Cancel still builds the model shown: the electrodes' span widened to the relief, half as deep.
        {"Cancel", [](TModConstr& d) { d.done(mrCancel); }, 100, -20, 220, 120},
        {"Ok", [](TModConstr& d) {
             d.Edit6.SetText("50");
             d.Edit1.SetText("-10");
             d.Edit2.SetText("210");
             d.Edit4.SetText("80");
             d.uiPicBtn1->PerformClick();
         }, 50, -10, 210, 80},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TProbeMainForm& f = Start();
        std::string shown;
        Script->DriveForm([&](TForm& form) {
            auto& d = dynamic_cast<TModConstr&>(form);
            shown = d.Edit6.Text() + " " + d.Edit1.Text() + " " + d.Edit2.Text() + " " + d.Edit4.Text();
            c.Answer(d);
        });
        f.OpenData(path);
        EXPECT_EQ(shown, "100 -20 220 120");
        EXPECT_EQ(f.Caption(), "VornResP2D [nomodel.sp2]");
        ASSERT_TRUE(f.PolygonChart1->ModelPresent());
        const TPolygonModel& model = f.PolygonChart1->Model;
        EXPECT_EQ(model.ModelBox.XMin, c.Left);
        EXPECT_EQ(model.ModelBox.XMax, c.Right);
        EXPECT_EQ(model.ModelBox.ZMax, c.Bottom);
        EXPECT_EQ(model.Bodies.Length(), 1) << "the frame alone";
        EXPECT_EQ(f.Survey.StartResistivity, c.Rho);
        EXPECT_EQ(f.Runs, 1);
        EXPECT_TRUE(f.Survey.ModelReady);
        EXPECT_TRUE(f.ToolBar2->Visible());
        // The data view: both curves over the model view's x range.
        const int measurements = f.Survey.DataSets[0].Observed.Length();
        EXPECT_EQ(f.PseudoSection2d1->Series1->PointCount(), measurements);
        EXPECT_EQ(f.PseudoSection2d1->Series2->PointCount(), measurements);
        EXPECT_EQ(f.PseudoSection2d1->BottomAxis().Minimum(), f.PolygonChart1->BottomAxis().Minimum());
        EXPECT_EQ(f.PseudoSection2d1->BottomAxis().Maximum(), f.PolygonChart1->BottomAxis().Maximum());
        EXPECT_EQ(f.PolygonChart1->BottomAxis().Minimum(), c.Left);
        Form.reset();
    }
}

TEST_F(MainWindow, PrintPreviewShowsBothViewsOnceAModelIsComputed)
{
    TProbeMainForm& f = Start();
    f.Printpreview1->Click();
    EXPECT_TRUE(Script->Log().empty()) << "nothing computed yet: no preview";

    OpenSample();
    std::vector<TCustomLumPanel*> shown;
    Script->DriveForm([&](TForm& form) {
        auto& preview = dynamic_cast<TChartPreview&>(form);
        EXPECT_EQ(preview.Caption(), "Print preview");
        for (int i = 0; i < preview.LumPreviewPanel1->Panels().Count(); ++i)
            shown.push_back(preview.LumPreviewPanel1->Panels().Items(i));
        preview.BClose->click();
    });
    f.Printpreview1->Click();
    EXPECT_EQ(shown, (std::vector<TCustomLumPanel*>{f.PseudoSection2d1, f.PolygonChart1})) << "data view above";
}
