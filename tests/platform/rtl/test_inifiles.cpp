// Ini files: the layout survives every write, keys and sections ignore letter case, typed reads fall
// back to their defaults, writers on one file do not undo each other, and refused writes change nothing.
// Also the settings file's location.
#include "platform/rtl/ConfigPaths.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/TextFile.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>
#include <filesystem>
#include <fstream>

namespace {

std::string Contents(const std::string& path)
{
    std::string bytes;
    LoadFileBytes(path, bytes);
    return bytes;
}

const char* const Layout =
    "; settings of the program\r\n"
    "orphan=before any section\r\n"
    "[common]\r\n"
    "LastPath = /data/line 1.sp2\r\n"
    "  numqp=7\r\n"
    "# a comment line\r\n"
    "an unknown line\r\n"
    "\r\n"
    "[ps_axi_axes]\r\n"
    "left=1~0&0&0&1&0&4&1\r\n"
    "[FileOpen]\r\n"
    "1=/a.sp2";

} // namespace

TEST(IniFile, WritesChangeOnlyTheirLines)
{
    TTempFolder tmp;
    const std::string path = tmp.File("vornsp2dp.in");
    ASSERT_TRUE(SaveFileSafely(path, Layout));
    TIniFile ini(path);
    ini.WriteString("COMMON", "lastpath", "/data/line 2.sp2");
    ini.WriteInteger("common", "infperc", 10);
    ini.WriteString("FileOpen", "2", "/b.sp2");
    ini.WriteBool("pc_axi_serie", "ser_Line", true);
    EXPECT_EQ(Contents(path),
              "; settings of the program\r\n"
              "orphan=before any section\r\n"
              "[common]\r\n"
              "LastPath = /data/line 2.sp2\r\n"
              "  numqp=7\r\n"
              "# a comment line\r\n"
              "an unknown line\r\n"
              "infperc=10\r\n"
              "\r\n"
              "[ps_axi_axes]\r\n"
              "left=1~0&0&0&1&0&4&1\r\n"
              "[FileOpen]\r\n"
              "1=/a.sp2\r\n"
              "2=/b.sp2\r\n"
              "[pc_axi_serie]\r\n"
              "ser_Line=1\r\n");
    ini.DeleteKey("common", "NUMQP");
    ini.EraseSection("ps_axi_axes");
    EXPECT_EQ(Contents(path),
              "; settings of the program\r\n"
              "orphan=before any section\r\n"
              "[common]\r\n"
              "LastPath = /data/line 2.sp2\r\n"
              "# a comment line\r\n"
              "an unknown line\r\n"
              "infperc=10\r\n"
              "\r\n"
              "[FileOpen]\r\n"
              "1=/a.sp2\r\n"
              "2=/b.sp2\r\n"
              "[pc_axi_serie]\r\n"
              "ser_Line=1\r\n");
}

TEST(IniFile, ReadsKeysAndSections)
{
    TTempFolder tmp;
    const std::string path = tmp.File("s.in");
    ASSERT_TRUE(SaveFileSafely(path, std::string(Layout) + "\n[Common]\nnumqp=3\nextra=1\n"));
    const TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("Common", "LASTPATH", "x"), "/data/line 1.sp2");
    EXPECT_EQ(ini.ReadInteger("common", "numqp", 0), 7) << "the first occurrence of a section is the one read";
    EXPECT_EQ(ini.ReadString("", "orphan", "none"), "none") << "keys before any section belong to none";
    EXPECT_EQ(ini.ReadString("common", "an unknown line", "d"), "d");
    EXPECT_TRUE(ini.SectionExists("FILEOPEN"));
    EXPECT_FALSE(ini.SectionExists("nothing"));
    EXPECT_TRUE(ini.ValueExists("fileopen", "1"));
    EXPECT_FALSE(ini.ValueExists("fileopen", "2"));
    TStringList list;
    ini.ReadSection("common", list);
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"LastPath", "numqp"}));
    ini.ReadSections(list);
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"common", "ps_axi_axes", "FileOpen"}));
    ini.ReadSection("nothing", list);
    EXPECT_EQ(list.Count(), 0);

    TIniFile writer(path);
    writer.EraseSection("COMMON");
    EXPECT_FALSE(writer.SectionExists("common")) << "every occurrence goes";
    EXPECT_EQ(writer.ReadString("FileOpen", "1", ""), "/a.sp2");
}

TEST(IniFile, TypedReadsFallBackToTheirDefaults)
{
    struct Case {
        const char* text;
        std::int32_t integer; // default -99
        bool boolean;         // default true
        double real;          // default -1
    };
    const Case cases[] = {
        {"12", 12, true, 12},
        {" -7 ", -7, true, -7},
        {"0", 0, false, 0},
        {"$1F", 31, true, -1},
        {"0x1f", 31, true, -1},
        {"$FFFFFFFF", -1, true, -1},
        {"2147483647", 2147483647, true, 2147483647},
        {"-2147483648", -2147483647 - 1, true, -2147483648.0},
        {"2147483648", -99, true, 2147483648.0},
        {"1.5", -99, true, 1.5},
        {"1,5", -99, true, -1},
        {"2.5e-3", -99, true, 2.5e-3},
        {"True", -99, true, -1},
        {"", -99, true, -1},
        {"inf", -99, true, -1},
        {"nan", -99, true, -1},
    };
    TTempFolder tmp;
    const std::string path = tmp.File("t.in");
    std::string text = "[v]\n";
    for (std::size_t i = 0; i < std::size(cases); ++i) text += "k" + std::to_string(i) + "=" + cases[i].text + "\n";
    ASSERT_TRUE(SaveFileSafely(path, text));
    const TIniFile ini(path);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::string key = "k" + std::to_string(i);
        EXPECT_EQ(ini.ReadInteger("v", key, -99), cases[i].integer) << cases[i].text;
        EXPECT_EQ(ini.ReadBool("v", key, true), cases[i].boolean) << cases[i].text;
        EXPECT_EQ(ini.ReadFloat("v", key, -1), cases[i].real) << cases[i].text;
    }
    EXPECT_EQ(ini.ReadInteger("v", "missing", 5), 5);
    EXPECT_EQ(ini.ReadString("v", "k13", "def"), "") << "a present empty value is not the default";
}

TEST(IniFile, WrittenValuesReadBackExactly)
{
    TTempFolder tmp;
    TIniFile ini(tmp.File("w.in"));
    const double reals[] = {0.1 + 0.2, -1e-300, 123456789.0, 5e-324};
    for (double r : reals) {
        ini.WriteFloat("f", "x", r);
        EXPECT_EQ(ini.ReadFloat("f", "x", 0), r);
    }
    ini.WriteBool("b", "recetha", false);
    EXPECT_EQ(ini.ReadString("b", "recetha", ""), "0");
    ini.WriteString("s", "Defpolparams", "-1 * * * 16777215 * * * 0 * 10");
    EXPECT_EQ(ini.ReadString("s", "defpolparams", ""), "-1 * * * 16777215 * * * 0 * 10");
    ini.WriteString("s", "path", "\xc4hnlich=ja");
    EXPECT_EQ(ini.ReadString("s", "path", ""), "\xc4hnlich=ja") << "8-bit bytes and '=' pass through values";
}

TEST(IniFile, SeveralObjectsOnOneFileKeepEachOthersWrites)
{
    TTempFolder tmp;
    const std::string path = tmp.File("shared.in");
    TIniFile recent(path); // kept for a component's whole life
    TIniFile settings(path);
    recent.WriteString("FileOpen", "1", "/x.sp2");
    settings.WriteInteger("common", "numqp", 6);
    recent.WriteString("FileOpen", "2", "/y.sp2");
    const TIniFile fresh(path);
    EXPECT_EQ(fresh.ReadInteger("common", "numqp", 0), 6);
    EXPECT_EQ(fresh.ReadString("FileOpen", "1", ""), "/x.sp2");
    EXPECT_EQ(recent.ReadInteger("common", "numqp", 0), 6) << "reads see other objects' writes";
}

// A batch saves once: its object reads its writes back, other objects see them at UpdateFile, merged
// onto what they wrote meanwhile; a batch refused, or never ended, leaves the file as it was.
TEST(IniFile, ABatchReachesTheFileWholeOrNotAtAll)
{
    TTempFolder tmp;
    const std::string path = tmp.File("batch.in");
    TIniFile(path).WriteString("common", "numqp", "5");
    TIniFile batch(path), other(path);
    batch.BeginUpdate();
    batch.WriteString("common", "numqp", "6");
    batch.WriteString("FileOpen", "1", "/a.sp2");
    batch.DeleteKey("common", "gone");
    EXPECT_EQ(batch.ReadInteger("common", "numqp", 0), 6) << "the batch reads its own writes";
    EXPECT_TRUE(batch.SectionExists("FileOpen"));
    EXPECT_EQ(other.ReadInteger("common", "numqp", 0), 5) << "nothing saved yet";
    other.WriteString("common", "redperc", "3");
    batch.UpdateFile();
    EXPECT_EQ(Contents(path), "[common]\nnumqp=6\nredperc=3\n[FileOpen]\n1=/a.sp2\n");
    batch.WriteString("common", "numqp", "7");
    EXPECT_EQ(other.ReadInteger("common", "numqp", 0), 7) << "after UpdateFile, writes reach the file at once";

    // A value the file cannot hold ends the batch with nothing saved; so does an object gone before
    // UpdateFile.
    const std::string before = Contents(path);
    batch.BeginUpdate();
    batch.WriteString("common", "numqp", "8");
    EXPECT_THROW(batch.WriteString("common", "a=b", "1"), EIniFileException);
    batch.UpdateFile();
    {
        TIniFile dropped(path);
        dropped.BeginUpdate();
        dropped.WriteString("common", "numqp", "9");
    }
    EXPECT_EQ(Contents(path), before);

    // A folder that cannot hold the file refuses the batch when it is saved.
    TIniFile nowhere(tmp.File("no/folder/x.in"));
    nowhere.BeginUpdate();
    nowhere.WriteInteger("common", "numqp", 7);
    EXPECT_THROW(nowhere.UpdateFile(), EIniFileException);
    EXPECT_FALSE(std::filesystem::exists(tmp.File("no/folder/x.in")));
    nowhere.UpdateFile();
}

// Reads follow the file's bytes, even when another program rewrites it in place with the same size.
TEST(IniFile, ReadsFollowAFileRewrittenInPlace)
{
    TTempFolder tmp;
    const std::string path = tmp.File("same.in");
    TIniFile ini(path);
    for (const char* value : {"1", "2", "3"}) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << "[common]\nnumqp=" << value << "\n";
        EXPECT_EQ(ini.ReadString("common", "numqp", ""), value);
    }
}

TEST(IniFile, MissingFilesAndRefusedWrites)
{
    TTempFolder tmp;
    const std::string path = tmp.File("none.in");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("common", "LastPath", "d"), "d");
    ini.EraseSection("common");
    ini.DeleteKey("common", "x");
    ini.UpdateFile();
    EXPECT_FALSE(std::filesystem::exists(path)) << "reading and deleting create no file";

    ini.WriteString("common", "numqp", "7");
    const std::string before = Contents(path);
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } refused[] = {
        {"common", "a\nb", "1"}, {"common", "numqp", "7\n[x]\ny=1"}, {"com]mon", "k", "1"},
        {"common", "a=b", "1"},  {"common", "", "1"},                 {"", "k", "1"},
        {"common", "[k", "1"},   {"common", ";k", "1"},               {"common", "k", "1\r"},
    };
    for (const auto& r : refused) {
        try {
            ini.WriteString(r.section, r.key, r.value);
            ADD_FAILURE() << r.section << "/" << r.key;
        } catch (const EIniFileException& e) {
            EXPECT_EQ(e.Message(), "Unable to write to " + path);
        }
    }
    EXPECT_EQ(Contents(path), before);
    TIniFile nowhere(tmp.File("no/folder/x.in"));
    EXPECT_THROW(nowhere.WriteInteger("common", "numqp", 7), EIniFileException);
}

// The settings always live in the user's configuration folder, even beside a writable program; a settings
// file beside the program is the start once, when the folder has none.
TEST(ConfigPaths, SettingsLiveInTheConfigurationFolderStartedFromBesideTheProgram)
{
    TTempFolder tmp;
    const std::string program = tmp.File("build/vornsp2dp"), beside = tmp.File("build/vornsp2dp.in");
    std::filesystem::create_directories(tmp.File("build"));
    const std::string folder = tmp.File("config/VornSP2Dp"), settings = folder + "/vornsp2dp.in";
    const auto text = [](const std::string& path) {
        std::string bytes;
        LoadFileBytes(path, bytes);
        return bytes;
    };
    // Nothing beside the program: no file is made.
    EXPECT_EQ(SettingsFilePathFor(program, folder), settings);
    EXPECT_FALSE(std::filesystem::exists(settings));
    // A file beside it is the start: copied, left where it is.
    SaveFileSafely(beside, "[common]\nDataType=1\n");
    EXPECT_EQ(SettingsFilePathFor(program, folder), settings);
    EXPECT_EQ(text(settings), "[common]\nDataType=1\n");
    EXPECT_EQ(text(beside), "[common]\nDataType=1\n");
    // Once the folder has its file, the one beside the program is read no more.
    SaveFileSafely(settings, "[common]\nDataType=0\n");
    SaveFileSafely(beside, "[common]\nDataType=5\n");
    EXPECT_EQ(SettingsFilePathFor(program, folder), settings);
    EXPECT_EQ(text(settings), "[common]\nDataType=0\n");
}

TEST(ConfigPaths, SettingsFileNamesAndTheUsersFolder)
{
    struct Case {
        const char* path;
        const char* ext;
        const char* result;
    };
    const Case names[] = {
        {"/opt/vsp/vornsp2dp", ".in", "/opt/vsp/vornsp2dp.in"},
        {"/opt/vsp/vornsp2dp.exe", ".in", "/opt/vsp/vornsp2dp.in"},
        {"/opt/v.sp/prog", ".in", "/opt/v.sp/prog.in"},
        {"data.tar.gz", ".cfg", "data.tar.cfg"},
    };
    for (const Case& c : names) EXPECT_EQ(ChangeFileExt(c.path, c.ext), c.result) << c.path;

    TTempFolder tmp;
    const std::string folder = tmp.File("home/.config/VornSP2Dp");
    EXPECT_EQ(SettingsFilePathFor("/no/such/folder/vornsp2dp", folder), folder + "/vornsp2dp.in");
    EXPECT_TRUE(std::filesystem::is_directory(folder)) << "the configuration folder is made for the file";
    EXPECT_FALSE(std::filesystem::exists(folder + "/vornsp2dp.in"));

    // The variables are put back so that later tests in this process see the real ones.
    const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
    const char* oldHome = std::getenv("HOME");
    const std::string savedXdg = oldXdg ? oldXdg : "", savedHome = oldHome ? oldHome : "";
    ::setenv("XDG_CONFIG_HOME", tmp.Path().c_str(), 1);
    EXPECT_EQ(UserConfigFolder(), tmp.Path() + "/VornSP2Dp");
    ::setenv("XDG_CONFIG_HOME", "relative/path", 1);
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(UserConfigFolder(), "/home/someone/.config/VornSP2Dp") << "a relative XDG_CONFIG_HOME is ignored";
    if (oldXdg) ::setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1); else ::unsetenv("XDG_CONFIG_HOME");
    if (oldHome) ::setenv("HOME", savedHome.c_str(), 1); else ::unsetenv("HOME");
    EXPECT_FALSE(ExecutablePath().empty());
}

TEST(IniFile, AWriteToAnyFileChangesOnlyItsOwnValue)
{
    // Files made of the characters that matter to the layout, in random order.
    const std::string alphabet = "[]=;# \t\r\nabAB";
    std::mt19937 random(12345);
    TTempFolder tmp;
    const std::string path = tmp.File("random.in");
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 120);
        for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
        ASSERT_TRUE(SaveFileSafely(path, text));

        TIniFile ini(path);
        std::map<std::pair<std::string, std::string>, std::string> before;
        TStringList sections, keys;
        ini.ReadSections(sections);
        for (const std::string& s : sections.Items()) {
            ini.ReadSection(s, keys);
            for (const std::string& k : keys.Items()) before[{s, k}] = ini.ReadString(s, k, "");
        }
        const std::string section = random() % 2 ? "a" : "New";
        ini.WriteString(section, "b", "value");
        EXPECT_EQ(ini.ReadString(section, "B", ""), "value") << text;
        for (const auto& [where, value] : before) {
            if (SameText(where.first, section) && SameText(where.second, "b")) continue;
            EXPECT_EQ(ini.ReadString(where.first, where.second, "<gone>"), value) << text;
        }
    }
}
