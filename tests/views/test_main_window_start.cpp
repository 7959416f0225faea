// The main window's start-up and closing: the defaults of a first start, section "common" written in
// table order at closing and read back at the next start, the folder and name of "LastPath", the file
// association, and a settings file that cannot be written.
#include "MainWindowFixture.h"

#include "chart/control/LumEngineStyleStrings.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Registry.h"
#include "ui/kitStatusBar.h"
#include "ui/uispla.h"
#include "ui/uisplit.h"

#include <QWidget>

#include <tuple>

namespace {

const char* const CommonKeys[] = {"LastPath",     "FilterIndex",  "AddDataType", "DataType",
                                  "DataPlotType", "graphicstype", "Defpolparams", "infperc",
                                  "redperc",      "numqp",        "recetha"};

// The keys of section "common" in file order.
std::vector<std::string> CommonKeyOrder(const std::string& text)
{
    std::vector<std::string> keys;
    bool inCommon = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line[0] == '[') {
            inCommon = line == "[common]";
            continue;
        }
        if (inCommon && line.find('=') != std::string::npos) keys.push_back(line.substr(0, line.find('=')));
    }
    return keys;
}

} // namespace

TEST_F(MainWindow, FirstStartHasTheDefaultsAndClosingWritesCommonInTableOrder)
{
    TProbeMainForm& f = Start();
    EXPECT_EQ(f.Caption(), "VornSP2Dp");
    EXPECT_EQ(f.OpenDialog1.FilterIndex, 1);
    EXPECT_EQ(f.OpenDialog1.InitialDir, "");
    EXPECT_EQ(f.OpenDialog1.FileName, "");
    EXPECT_EQ(f.Survey.DataType, 0);
    EXPECT_EQ(f.Settings.DataPlotType, 0);
    // The window's fields as they are at creation.
    const TSurveyState& s = f.Survey;
    const TProgramConfig& c = s.Settings;
    EXPECT_EQ(std::make_tuple(s.SourceA, s.SourceB, s.SourceC, s.SourceType, s.InvertSource),
              std::make_tuple(1.0, 30.0, 0.0, 0, false));
    EXPECT_EQ(std::make_tuple(c.FactorX, c.FactorZ, c.StartX, c.StartZ, c.Exponent),
              std::make_tuple(0.2, 0.2, 2.0, 1.0, false));
    EXPECT_EQ(std::make_tuple(c.infperc, c.redperc, c.numqp, c.recetha, c.SolverOption2, c.SolverOption3),
              std::make_tuple(10, 100, 7, true, true, 8));
    EXPECT_EQ(std::make_tuple(s.NullPointIndex, s.LineShift, s.ReverseLine, s.DataLoaded, s.ModelReady, s.SurveyReady),
              std::make_tuple(0, 0.0, false, false, false, false));
    EXPECT_EQ(std::make_tuple(f.Settings.AddDataType, f.Settings.graphicstype), std::make_tuple(0, 0));
    EXPECT_FALSE(f.ToolBar2->Visible());
    EXPECT_FALSE(f.uiBiSplit1->Visible());
    EXPECT_TRUE(f.Timer1->Enabled());
    EXPECT_TRUE(f.KeyPreview());
    EXPECT_EQ(Settings().find("[common]"), std::string::npos) << "written when the window closes";

    f.Close();
    EXPECT_TRUE(Application->Terminated()) << "closing the window ends the message loop";
    const std::vector<std::string> expected(std::begin(CommonKeys), std::end(CommonKeys));
    EXPECT_EQ(CommonKeyOrder(Settings()), expected);
    EXPECT_NE(Settings().find("\nFilterIndex=1\nAddDataType=0\nDataType=0\nDataPlotType=0\ngraphicstype=0\n"),
              std::string::npos);
    EXPECT_NE(Settings().find("\nnumqp=7\nrecetha=1\n"), std::string::npos);
}

TEST_F(MainWindow, SecondStartReadsWhatClosingWrote)
{
    SaveFileSafely(Temp.File("vornsp2dp.in"), "[common]\n"
                                              "LastPath=/data/north line/line 2.sp2\n"
                                              "FilterIndex=2\n"
                                              "AddDataType=4\n"
                                              "DataType=1\n"
                                              "DataPlotType=3\n"
                                              "graphicstype=2\n"
                                              "numqp=5\n"
                                              "recetha=0\n");
    TProbeMainForm& f = Start();
    EXPECT_EQ(f.OpenDialog1.InitialDir, "/data/north line");
    EXPECT_EQ(f.OpenDialog1.FileName, "/data/north line/line 2.sp2");
    EXPECT_EQ(f.OpenDialog1.FilterIndex, 2);
    EXPECT_EQ(f.Settings.AddDataType, 0) << "reset at start-up";
    EXPECT_EQ(f.Survey.DataType, 1);
    EXPECT_EQ(f.Settings.DataPlotType, 3);
    EXPECT_EQ(f.Settings.graphicstype, 2);
    EXPECT_EQ(f.Survey.Settings.numqp, 5);
    EXPECT_FALSE(f.Survey.Settings.recetha);
    f.Close();
    const std::string text = Settings();
    EXPECT_NE(text.find("LastPath=/data/north line/line 2.sp2\nFilterIndex=2\nAddDataType=0\nDataType=1\n"
                        "DataPlotType=3\ngraphicstype=2\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\nnumqp=5\nrecetha=0\n"), std::string::npos) << text;
}

TEST_F(MainWindow, StartRegistersTheFileTypeAndAFailedSettingsWriteStillCloses)
{
    TProbeMainForm& f = Start();
    TRegistry reg;
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\.sp2"));
    EXPECT_EQ(reg.ReadString(""), "sp2QELFile");
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\sp2QELFile\\shell\\open\\command"));
    EXPECT_EQ(reg.ReadString(""), ExecutablePath() + " %1");

    // The settings file's folder is a file: nothing can be written, the window closes all the same.
    SaveFileSafely(Temp.File("blocked"), "x");
    SetSettingsFilePath(Temp.File("blocked/vornsp2dp.in"));
    f.Close();
    EXPECT_FALSE(f.Widget()->isVisible());
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(MainWindow, TheViewsLooksAreKeptFromOneRunToTheNext)
{
    TProbeMainForm& f = Start();
    // The data view shows no grids of its own.
    f.PseudoSection2d1->BottomAxis().Grid().SetVisible(true);
    // Each series whose look is kept gets a pointer size of its own.
    const auto keptSeries = [](TProbeMainForm& form) {
        TPolygonChart& m = *form.PolygonChart1;
        TPseudoSection2d& d = *form.PseudoSection2d1;
        return std::vector<std::pair<std::string, TCustomSeries*>>{
            {"VornSP2dp_wl1", &m.WorkLine1()},  {"VornSP2dp_wl2", &m.WorkLine2()},
            {"VornSP2dp_tmpsr", &m.NodeSeries()}, {"VornSP2dp_stser", d.StationSeries},
            {"VornSP2dp_elec", d.MarkerSeries},   {"VornSP2dp_grdser", d.GridSeries}};
    };
    int size = 4;
    for (const auto& [name, series] : keptSeries(f)) series->Pointer().SetHorizSize(size++);
    f.Close();
    const std::string text = Settings();
    std::vector<std::string> sections = {"[ps_axi_axes]", "[pc_axi_axes]"};
    for (const auto& [name, series] : keptSeries(f)) sections.push_back("[" + name + "_serie]");
    for (const std::string& section : sections) EXPECT_NE(text.find(section), std::string::npos) << section << "\n" << text;
    for (const char* key : {"\nleft=", "\nright=", "\ntop=", "\nbottom="})
        EXPECT_NE(text.find(key), std::string::npos) << key;
    Form.reset();
    Application->Reset();

    TProbeMainForm& again = Start();
    EXPECT_TRUE(again.PseudoSection2d1->BottomAxis().Grid().Visible());
    EXPECT_FALSE(again.PseudoSection2d1->LeftAxis().Grid().Visible());
    size = 4;
    for (const auto& [name, series] : keptSeries(again)) EXPECT_EQ(series->Pointer().HorizSize(), size++) << name;
}

TEST_F(MainWindow, ClosingAZoomedModelViewKeepsItsUnzoomedRanges)
{
    TProbeMainForm& f = Start();
    OpenSample();
    Pump();
    TPolygonChart& m = *f.PolygonChart1;
    const TModelBox box = m.Model.ModelBox;
    const TRect plot = m.ChartRect();
    m.Zoom().X0 = plot.Left + plot.Width() / 4;
    m.Zoom().Y0 = plot.Top + plot.Height() / 4;
    m.Zoom().X1 = plot.Left + plot.Width() / 2;
    m.Zoom().Y1 = plot.Top + plot.Height() / 2;
    m.ApplyZoomRect();
    ASSERT_TRUE(m.IsZoomed());
    ASSERT_GT(m.BottomAxis().Minimum(), box.XMin + 1);
    f.Close();

    // The saved axes, read into a chart of their own, span the model's box.
    const TIniFile ini(Temp.File("vornsp2dp.in"));
    TChart saved(nullptr);
    ReadAxisStyle(saved.BottomAxis(), ini.ReadString("pc_axi_axes", "bottom", ""), false);
    ReadAxisStyle(saved.LeftAxis(), ini.ReadString("pc_axi_axes", "left", ""), false);
    EXPECT_DOUBLE_EQ(saved.BottomAxis().Minimum(), box.XMin);
    EXPECT_DOUBLE_EQ(saved.BottomAxis().Maximum(), box.XMax);
    EXPECT_DOUBLE_EQ(saved.LeftAxis().Minimum(), box.ZMin);
    EXPECT_DOUBLE_EQ(saved.LeftAxis().Maximum(), box.ZMax);
}

TEST_F(MainWindow, TheStartUpSplashFollowsTheWindowsFirstPaint)
{
    const auto painted = [this] {
        for (int i = 0; i < 100 && !Form->FirstPainted(); ++i) Pump(1);
        return Form->FirstPainted();
    };
    // Asked for before the window has painted, the splash comes right after its first paint.
    Form = std::make_unique<TProbeMainForm>(nullptr);
    Form->ShowStartUpSplash();
    EXPECT_EQ(Form->uiSplash1->Window(), nullptr) << "never before the window";
    Form->Show();
    ASSERT_TRUE(painted());
    EXPECT_NE(Form->uiSplash1->Window(), nullptr);
    Form->uiSplash1->Hide();
    Pump();
    Form.reset();

    // A command-line survey opened before the first paint keeps it away: the splash stays on top and
    // would stand over the open's questions.
    std::filesystem::copy_file(Sample, Temp.File("f.sp2"));
    SetCommandLine({"vornsp2dp", Temp.File("f.sp2")});
    Form = std::make_unique<TProbeMainForm>(nullptr);
    Form->ShowStartUpSplash();
    Form->Timer1Timer();
    EXPECT_EQ(Form->Caption(), "VornResP2D [f.sp2]");
    Form->Show();
    ASSERT_TRUE(painted());
    Pump();
    EXPECT_EQ(Form->uiSplash1->Window(), nullptr);
}

TEST_F(MainWindow, SplashAtStartUnlessSwitchedOffAndAsTheAboutWindow)
{
    for (bool noSplash : {false, true}) {
        SCOPED_TRACE(noSplash ? "-ns" : "no switch");
        SetCommandLine(noSplash ? std::vector<std::string>{"vornsp2dp", "-NS"} : std::vector<std::string>{"vornsp2dp"});
        TProbeMainForm& f = Start();
        for (int i = 0; i < 100 && !f.FirstPainted(); ++i) Pump(1);
        f.ShowStartUpSplash();
        EXPECT_EQ(f.uiSplash1->Window() != nullptr, !noSplash);
        EXPECT_EQ(f.uiSplash1->Duration(), 5000);
        f.uiSplash1->Hide();
        Pump();
        f.About1Click(); // the switch keeps only the start-up splash away
        EXPECT_NE(f.uiSplash1->Window(), nullptr);
        EXPECT_EQ(f.uiSplash1->Duration(), 20000);
        f.uiSplash1->Hide();
        Pump();
        Form.reset();
    }
}

// Asked for 320 x 200 the window keeps its least size, at which everything stands whole: every status
// panel at its width, both tool bars' buttons, and two views tall enough for their titles, axis labels,
// legend and a plot.
TEST_F(MainWindow, TheWindowsLeastSizeShowsEverythingWhole)
{
    TProbeMainForm& f = Start();
    OpenSample();
    f.SetClientSize(320, 200);
    Pump();
    const TRect client = f.ClientArea();
    EXPECT_GT(client.Width(), 320);
    EXPECT_GT(client.Height(), 200);
    EXPECT_GE(f.StatusBar1->ClientWidth(), f.StatusBar1->PanelsWidth());
    EXPECT_GE(f.StatusBar1->GetPanelRect(spModeHelp).Width(), 360);
    for (TToolBar* bar : {f.ToolBar1, f.ToolBar2}) EXPECT_GE(bar->ClientWidth(), bar->ItemsWidth()) << bar->Name();
    for (TCustomChart* view : {static_cast<TCustomChart*>(f.PseudoSection2d1), static_cast<TCustomChart*>(f.PolygonChart1)}) {
        SCOPED_TRACE(view->Name());
        EXPECT_GE(view->Height(), MinViewHeight);
        view->RenderToBitmap(clWhite, view->ChartBounds(), pf24bit);
        EXPECT_GE(view->ChartRect().Height(), 40) << "a plot between the titles and the labels";
    }
    // The data view's legend of two curves stands whole beside its plot.
    const TRect legend = f.PseudoSection2d1->Legend().ShapeRect();
    EXPECT_LE(legend.Bottom, f.PseudoSection2d1->Height());
    EXPECT_LE(legend.Right, f.PseudoSection2d1->Width());
}
