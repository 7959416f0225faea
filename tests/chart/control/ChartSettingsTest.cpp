// The chart's axes in the settings file: the file's text, loading with and without a file, the axes'
// default styles beside a load, damaged values passed over, long values, and a file that refuses writes.
#include "chart/control/Chart.h"
#include "chart/control/LumEngineStyleStrings.h"
#include "chart/engine/LumEngine.h"
#include "platform/rtl/ConfigPaths.h"
#include "platform/rtl/IniFiles.h"
#include "tests/platform/rtl/TempFolder.h"

#include "tests/chart/control/StyleTestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

namespace {

void SetLook(TChartAxis& Axis, int Angle)
{
    Axis.SetLabelsAngle(Angle);
    Axis.SetInverted(true);
    Axis.Grid().SetColor(clRed);
    Axis.LabelsFont().SetName("Courier New");
    Axis.SetFixedRange(-2, 8);
}

struct TSettingsFixture : ::testing::Test {
    TTempFolder Folder;
    std::string Path = Folder.File("vornsp2dp.in");
    TChart Chart{nullptr};

    void SetUp() override { SetSettingsFilePath(Path); }
    void TearDown() override { SetSettingsFilePath(""); }

    std::string AxesText(const TCustomChart& C) const
    {
        return "[ps_axi_axes]\nleft=" + WriteAxisStyle(C.LeftAxis()) + "\nright=" + WriteAxisStyle(C.RightAxis())
            + "\ntop=" + WriteAxisStyle(C.TopAxis()) + "\nbottom=" + WriteAxisStyle(C.BottomAxis()) + "\n";
    }
};

} // namespace

TEST_F(TSettingsFixture, SavedAxesAndTheirLoad)
{
    SetLook(Chart.LeftAxis(), 30);
    SetLook(Chart.BottomAxis(), 60);
    Chart.SaveAxesToIni("ps_axi");
    EXPECT_EQ(FileText(Path), AxesText(Chart));

    TChart other(nullptr);
    other.LeftAxis().SetOtherSide(true);
    other.LoadAxesFromIni("ps_axi");
    EXPECT_EQ(other.LeftAxis().LabelsAngle(), 30);
    EXPECT_EQ(other.BottomAxis().LabelsAngle(), 60);
    EXPECT_EQ(other.BottomAxis().LabelsFont().Name(), "Courier New");
    EXPECT_TRUE(other.LeftAxis().OtherSide()) << "placement is never taken from the file";
    for (TChartAxis* axis : {&other.LeftAxis(), &other.RightAxis(), &other.TopAxis(), &other.BottomAxis()}) {
        EXPECT_TRUE(axis->Automatic());
        EXPECT_TRUE(axis->AutomaticMinimum());
        EXPECT_TRUE(axis->AutomaticMaximum());
    }

    // Saving again replaces the values, with the same layout.
    SetLook(Chart.TopAxis(), 45);
    Chart.SaveAxesToIni("ps_axi");
    EXPECT_EQ(FileText(Path), AxesText(Chart));
}

TEST_F(TSettingsFixture, LoadWithoutAFileOnlySwitchesToAutomatic)
{
    for (TChartAxis* axis : {&Chart.LeftAxis(), &Chart.RightAxis(), &Chart.TopAxis(), &Chart.BottomAxis()})
        SetLook(*axis, 20);
    TChart automatic(nullptr);
    for (TChartAxis* axis : {&automatic.LeftAxis(), &automatic.RightAxis(), &automatic.TopAxis(), &automatic.BottomAxis()}) {
        SetLook(*axis, 20);
        axis->SetAutomatic(true);
    }
    Chart.LoadAxesFromIni("ps_axi");
    EXPECT_EQ(AxesText(Chart), AxesText(automatic));
    EXPECT_FALSE(std::filesystem::exists(Path)) << "a load creates no file";

    // A file without the section does the same.
    TIniFile(Path).WriteString("common", "lastpath", "/data");
    SetLook(Chart.LeftAxis(), 20);
    Chart.LoadAxesFromIni("ps_axi");
    EXPECT_EQ(AxesText(Chart), AxesText(automatic));
}

TEST_F(TSettingsFixture, DefaultStylesKeepTheLookFromBeforeTheLoad)
{
    SetLook(Chart.RightAxis(), 15);
    const std::string built = AxesText(Chart);
    Chart.StoreAxesDefaults();
    EXPECT_EQ(Chart.RightAxis().DefaultStyle, WriteAxisStyle(Chart.RightAxis()));
    EXPECT_FALSE(std::filesystem::exists(Path)) << "the snapshot does not touch the file";

    TChart saved(nullptr);
    for (TChartAxis* axis : {&saved.LeftAxis(), &saved.RightAxis(), &saved.TopAxis(), &saved.BottomAxis()})
        SetLook(*axis, 75);
    saved.SaveAxesToIni("ps_axi");

    Chart.LoadAxesFromIni("ps_axi");
    EXPECT_EQ(Chart.LeftAxis().LabelsAngle(), 75);
    for (TChartAxis* axis : {&Chart.LeftAxis(), &Chart.RightAxis(), &Chart.TopAxis(), &Chart.BottomAxis()})
        ReadAxisStyle(*axis, axis->DefaultStyle, true);
    EXPECT_EQ(AxesText(Chart), built);
}

TEST_F(TSettingsFixture, DamagedAndLongValues)
{
    TChart source(nullptr);
    SetLook(source.RightAxis(), 33);
    source.LeftAxis().LabelsFont().SetName(std::string(2100, 'x'));
    source.SaveAxesToIni("ps_axi");

    // The top axis' string breaks off at a field that is no integer; the bottom one holds no field.
    TIniFile ini(Path);
    ini.WriteString("ps_axi_axes", "top", "1~0&0&0&1&0&4&1~x");
    ini.WriteString("ps_axi_axes", "bottom", "~~~");

    Chart.TopAxis().SetLabelsAngle(5);
    EXPECT_NO_THROW(Chart.LoadAxesFromIni("ps_axi"));
    EXPECT_EQ(Chart.LeftAxis().LabelsFont().Name().size(), 2100u) << "values are not cut";
    EXPECT_EQ(Chart.RightAxis().LabelsAngle(), 33) << "the axis after the damaged one still loads";
    EXPECT_TRUE(Chart.RightAxis().Inverted());
    EXPECT_EQ(Chart.TopAxis().LabelsAngle(), 5);
    EXPECT_EQ(WritePenStyle(Chart.TopAxis().Axis()), "0&0&0&1&0&4&1") << "applied before the damage";
    EXPECT_TRUE(Chart.TopAxis().Automatic());
    EXPECT_TRUE(Chart.BottomAxis().Automatic());
}

TEST_F(TSettingsFixture, AFileThatRefusesWritesKeepsWhatItHeld)
{
    Chart.SaveAxesToIni("ps_axi");
    TIniFile(Path).WriteString("common", "lastpath", "/data");
    const std::string held = FileText(Path);

    // A place that cannot hold the file.
    const std::string nowhere = Folder.File("missing/vornsp2dp.in");
    SetSettingsFilePath(nowhere);
    try {
        Chart.SaveAxesToIni("ps_axi");
        ADD_FAILURE() << "no error";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + nowhere);
    }
    SetSettingsFilePath(Path);

    // A file system that would take two keys more and refuses the third: the axes are saved as one batch,
    // so none of them is, and the file keeps what it held.
    SetLook(Chart.LeftAxis(), 10);
    SetLook(Chart.RightAxis(), 11);
    SetLook(Chart.TopAxis(), 12);
    const std::string reference = Folder.File("reference.in");
    std::filesystem::copy_file(Path, reference);
    TIniFile(reference).WriteString("ps_axi_axes", "left", WriteAxisStyle(Chart.LeftAxis()));
    TIniFile(reference).WriteString("ps_axi_axes", "right", WriteAxisStyle(Chart.RightAxis()));
    const std::string twoKeys = FileText(reference);
    ASSERT_GT(WriteAxisStyle(Chart.TopAxis()).size(), WriteAxisStyle(TChart(nullptr).TopAxis()).size());

    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = twoKeys.size();
    ::setrlimit(RLIMIT_FSIZE, &small);
    std::string message;
    try {
        Chart.SaveAxesToIni("ps_axi");
    } catch (const EIniFileException& e) {
        message = e.Message();
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(message, "Unable to write to " + Path);
    const TIniFile after(Path);
    EXPECT_NE(after.ReadString("ps_axi_axes", "left", ""), WriteAxisStyle(Chart.LeftAxis()));
    EXPECT_EQ(FileText(Path), held);
}
