// Section "common" of the settings file as the main window reads and writes it, and the file association
// in the registry store.
#include "views/ResMainFormSettings.h"

#include "core/PolyModelBlock.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/TextFile.h"
#include "tests/platform/rtl/TempFolder.h"

#include <gtest/gtest.h>

namespace {

std::string SettingsFileText(const std::string& path)
{
    std::string bytes;
    LoadFileBytes(path, bytes);
    return bytes;
}

PolygonProperties SampleDefaults() { return MakeDefaultPolygonProperties("0#16777215", "0$1$0$0", "0&0&0"); }

struct CommonSettings : ::testing::Test {
    TTempFolder Temp;
    std::string Path = Temp.File("vornsp2dp.in");
    TIniFile Ini{Path};
    TMainWindowSettings Window;
    TSurveyState Survey;
    PolygonProperties Defaults = SampleDefaults();

    void Read() { ReadCommonSettings(Ini, Window, Survey, Defaults); }
};

} // namespace

TEST_F(CommonSettings, MissingFileGivesTheStartValues)
{
    Read();
    EXPECT_EQ(Window.LastPath, "");
    EXPECT_EQ(Window.FilterIndex, 1);
    EXPECT_EQ(Window.AddDataType, 0);
    EXPECT_EQ(Window.DataPlotType, 0);
    EXPECT_EQ(Window.graphicstype, 0);
    EXPECT_EQ(Survey.DataType, 0);
    EXPECT_EQ(Survey.Settings, TProgramConfig{});
    EXPECT_EQ(Survey.Settings.numqp, 7);
    EXPECT_EQ(Survey.Settings.infperc, 10);
    EXPECT_EQ(Survey.Settings.redperc, 100);
    EXPECT_TRUE(Survey.Settings.recetha);
    EXPECT_EQ(Defaults, SampleDefaults());
}

TEST_F(CommonSettings, WritesElevenKeysInTableOrderAndAddDataTypeZero)
{
    Window.LastPath = "/data/line 1.sp2";
    Window.FilterIndex = 2;
    Window.AddDataType = 3;
    Window.DataPlotType = 1;
    Window.graphicstype = 4;
    Survey.DataType = 1;
    Survey.Settings.numqp = 5;
    Survey.Settings.recetha = false;
    WriteCommonSettings(Ini, Window, Survey, Defaults);

    EXPECT_EQ(SettingsFileText(Path), "[common]\n"
                              "LastPath=/data/line 1.sp2\n"
                              "FilterIndex=2\n"
                              "AddDataType=0\n"
                              "DataType=1\n"
                              "DataPlotType=1\n"
                              "graphicstype=4\n"
                              "Defpolparams=" + Trim(PropertiesToText(Defaults)) + "\n"
                              "infperc=10\n"
                              "redperc=100\n"
                              "numqp=5\n"
                              "recetha=0\n");

    // A second start reads every value back, AddDataType as written.
    TMainWindowSettings window;
    window.AddDataType = 9;
    TSurveyState survey;
    PolygonProperties defaults;
    ReadCommonSettings(Ini, window, survey, defaults);
    EXPECT_EQ(window.LastPath, "/data/line 1.sp2");
    EXPECT_EQ(window.FilterIndex, 2);
    EXPECT_EQ(window.AddDataType, 0);
    EXPECT_EQ(window.DataPlotType, 1);
    EXPECT_EQ(window.graphicstype, 4);
    EXPECT_EQ(survey.DataType, 1);
    EXPECT_EQ(survey.Settings.numqp, 5);
    EXPECT_FALSE(survey.Settings.recetha);
    EXPECT_EQ(PropertiesToText(defaults), PropertiesToText(Defaults));
}

TEST_F(CommonSettings, ValuesTheSolverCannotTakeKeepTheirDefaults)
{
    struct Case {
        const char* Key;
        const char* Value;
    };
    const Case cases[] = {
        {"numqp", "1"}, {"numqp", "9"}, {"numqp", "seven"}, {"numqp", "7.5"},
        {"infperc", "x"}, {"redperc", "99999999999"}, {"recetha", "2"}, {"recetha", "yes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Key) + "=" + c.Value);
        Ini.WriteString(CommonSection, c.Key, c.Value);
        TSurveyState survey;
        ReadCommonSettings(Ini, Window, survey, Defaults);
        EXPECT_EQ(survey.Settings, TProgramConfig{});
        Ini.DeleteKey(CommonSection, c.Key);
    }
    Ini.WriteString(CommonSection, "numqp", "2");
    Ini.WriteString(CommonSection, "recetha", "0");
    Read();
    EXPECT_EQ(Survey.Settings.numqp, 2);
    EXPECT_FALSE(Survey.Settings.recetha);
}

TEST_F(CommonSettings, DefaultRowFromTheFileOrKeptWhenRefused)
{
    PolygonProperties edited = Defaults;
    edited[psResistivity] = Variant(250.0);
    edited[psLabelText] = Variant(std::string("ore body"));
    Ini.WriteString(CommonSection, "Defpolparams", PropertiesToText(edited));
    Read();
    EXPECT_DOUBLE_EQ(Defaults[psResistivity].AsDouble(), 250.0);
    EXPECT_EQ(Defaults[psLabelText].AsString(), "ore body");

    // Token 0 is no integer: the whole line is refused and the row stays.
    const PolygonProperties before = Defaults;
    Ini.WriteString(CommonSection, "Defpolparams", "x " + PropertiesToText(edited).substr(3));
    Read();
    EXPECT_EQ(Defaults, before);
}

TEST(FileAssociation, WritesTheThreeKeysAndOverwritesThemAtTheNextStart)
{
    TTempFolder temp;
    const std::string store = RegistryStorePath();
    SetRegistryStorePath(temp.File("registry"));
    RegisterFileType("sp2", "VornSP2dp data", "/old/vornsp2dp,0", "/old/vornsp2dp");
    RegisterFileType("sp2", "VornSP2dp data", "/opt/vornsp2dp,0", "/opt/vornsp2dp");

    TRegistry reg;
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    const struct {
        const char* Key;
        const char* Value;
    } expected[] = {
        {"\\.sp2", "sp2QELFile"},
        {"\\sp2QELFile", "VornSP2dp data"},
        {"\\sp2QELFile\\DefaultIcon", "/opt/vornsp2dp,0"},
        {"\\sp2QELFile\\shell\\open\\command", "/opt/vornsp2dp %1"},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.Key);
        ASSERT_TRUE(reg.OpenKeyReadOnly(e.Key));
        EXPECT_EQ(reg.ReadString(""), e.Value);
        reg.CloseKey();
    }
    SetRegistryStorePath(store);
}

TEST(FileAssociation, AStoreThatCannotBeWrittenIsSkippedSilently)
{
    TTempFolder temp;
    const std::string store = RegistryStorePath();
    SaveFileSafely(temp.File("file"), "x");
    SetRegistryStorePath(temp.File("file/registry"));
    EXPECT_NO_THROW(RegisterFileType("sp2", "VornSP2dp data", "p,0", "p"));
    SetRegistryStorePath(store);
}
