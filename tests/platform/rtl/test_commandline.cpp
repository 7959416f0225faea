// The command line as ParamCount and ParamStr give it, and the settings file a test points elsewhere.
#include "platform/rtl/CommandLine.h"
#include "platform/rtl/ConfigPaths.h"
#include "platform/rtl/IniFiles.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

TEST(CommandLine, ParamStrCountsFromTheProgramAndGivesEmptyTextOutside)
{
    SetCommandLine({"/opt/vsp/vornsp2dp", "-ns", "Survey One.sp2"});
    EXPECT_EQ(ParamCount(), 2);
    EXPECT_EQ(ParamStr(0), "/opt/vsp/vornsp2dp");
    EXPECT_EQ(ParamStr(1), "-ns");
    EXPECT_EQ(ParamStr(2), "Survey One.sp2") << "an argument keeps its blanks";
    EXPECT_EQ(ParamStr(3), "");
    EXPECT_EQ(ParamStr(-1), "");

    // A relative or missing program name gives the running executable's full path.
    SetCommandLine({"vornsp2dp"});
    EXPECT_EQ(ParamCount(), 0);
    EXPECT_EQ(ParamStr(0), ExecutablePath());
    SetCommandLine({});
    EXPECT_EQ(ParamCount(), 0);
    EXPECT_EQ(ParamStr(0), ExecutablePath());
    EXPECT_EQ(ParamStr(1), "");
}

TEST(ConfigPaths, SettingsFilePathFollowsTheTestsFileUntilCleared)
{
    const std::string normal = SettingsFilePath();
    TTempFolder tmp;
    SetSettingsFilePath(tmp.File("settings.in"));
    EXPECT_EQ(SettingsFilePath(), tmp.File("settings.in"));
    TIniFile(SettingsFilePath()).WriteString("FileOpen", "1", "/data/a.sp2");
    EXPECT_EQ(TIniFile(tmp.File("settings.in")).ReadString("FileOpen", "1", ""), "/data/a.sp2");
    SetSettingsFilePath("");
    EXPECT_EQ(SettingsFilePath(), normal);
}
