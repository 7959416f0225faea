// How paths reach the open pipeline: file kinds by extension, the command line's survey and the caption.
#include "views/ResMainFormOpen.h"

#include <gtest/gtest.h>

TEST(OpenPaths, KindByExtensionInAnyCase)
{
    const struct {
        const char* Path;
        TOpenKind Kind;
    } cases[] = {
        {"/d/a.sp2", TOpenKind::Survey},      {"/d/a.SP2", TOpenKind::Survey},
        {"a.Sp2", TOpenKind::Survey},         {"/d/a.cfg", TOpenKind::ProgramConfig},
        {"/d/a.CFG", TOpenKind::ProgramConfig}, {"/d/x.txt", TOpenKind::Unknown},
        {"/d/sp2", TOpenKind::Unknown},       {"/d.sp2/a", TOpenKind::Unknown},
        {"/d/a.sp2.bak", TOpenKind::Unknown}, {"", TOpenKind::Unknown},
    };
    for (const auto& c : cases) EXPECT_EQ(OpenKindOf(c.Path), c.Kind) << c.Path;
}

TEST(OpenPaths, CommandLineSurvey)
{
    const struct {
        std::vector<std::string> Args;
        const char* File;
    } cases[] = {
        {{}, ""},
        {{"-ns", "f.sp2"}, "/start/f.sp2"},
        {{"f.sp2", "-ns"}, "/start/f.sp2"},
        {{"/NS", "/data/F.SP2"}, "/data/F.SP2"},
        {{"/data/line one.sp2"}, "/data/line one.sp2"},
        {{"../up/f.sp2"}, "/up/f.sp2"},
        {{"x.txt"}, ""},
        {{"-ns"}, ""},
        {{"x.txt", "g.sp2"}, "/start/g.sp2"},
        {{"-NS.sp2"}, "/start/-NS.sp2"},
    };
    for (const auto& c : cases) {
        std::string joined;
        for (const auto& a : c.Args) joined += "[" + a + "]";
        EXPECT_EQ(CommandLineSurveyFile(c.Args, "/start"), c.File) << joined;
    }
}

TEST(OpenPaths, SplashSwitchAndCaption)
{
    for (const char* s : {"-ns", "/ns", "-NS", "/Ns"}) EXPECT_TRUE(IsSplashSwitch(s)) << s;
    for (const char* s : {"ns", "--ns", "-nsx", ""}) EXPECT_FALSE(IsSplashSwitch(s)) << s;
    EXPECT_EQ(SurveyCaption("/home/u/data/sample.sp2"), "VornResP2D [sample.sp2]");
    EXPECT_EQ(SurveyCaption("line one.SP2"), "VornResP2D [line one.SP2]");
}
