// The recent-files menu on a temporary settings file: the "FileOpen" section byte for byte after each
// operation, the menu items' names, captions and places, restarts, other sections left alone, and a
// settings file that cannot be written.
#include "ui/FileMO.h"

#include "UiTestSupport.h"

#include "platform/controls/MenuBinding.h"
#include "platform/controls/Menus.h"
#include "platform/rtl/ConfigPaths.h"
#include "platform/rtl/TextFile.h"

#include <QAction>
#include <QMenu>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

namespace {

class RecentFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vsp-ui-XXXXXX").string();
        ASSERT_TRUE(::mkdtemp(pattern.data()));
        Folder = pattern;
        SetSettingsFilePath(Folder + "/vornsp2dp.in");
    }
    void TearDown() override
    {
        SetSettingsFilePath("");
        std::error_code ec;
        std::filesystem::remove_all(Folder, ec);
    }
    std::string Settings() const
    {
        std::string bytes;
        LoadFileBytes(SettingsFilePath(), bytes);
        return bytes;
    }
    void Write(const std::string& bytes) const { std::ofstream(SettingsFilePath(), std::ios::binary) << bytes; }

    // The component as the main window's form sets it up, in the form's order.
    std::unique_ptr<TFileMenuOpens> Load(TMenuItem* recent)
    {
        auto f = std::make_unique<TFileMenuOpens>(nullptr);
        f->SetOnAction([this](TPersistent* s) { Clicked.push_back(static_cast<TMenuItem*>(s)); });
        f->SetRegPath("\\Software\\VornSP2dp\\Files");
        f->SetNumbers(5);
        f->SetMenus(recent);
        f->SetMenuIndex(0);
        return f;
    }
    static std::vector<std::string> Captions(const TMenuItem& m)
    {
        std::vector<std::string> out;
        for (int i = 0; i < m.Count(); ++i) out.push_back(m.Items(i)->Caption());
        return out;
    }

    std::string Folder;
    std::vector<TMenuItem*> Clicked;
};

} // namespace

TEST_F(RecentFiles, AddFileShiftsTheKeysAndRebuildsTheMenu)
{
    TMenuItem recent(nullptr);
    auto f = Load(&recent);
    EXPECT_EQ(Settings(), "[FileOpen]\n1=\n2=\n3=\n4=\n5=\n") << "the form's settings make every slot";
    EXPECT_EQ(recent.Count(), 0);

    f->AddFile("/data/a.sp2");
    EXPECT_EQ(Settings(), "[FileOpen]\n1=/data/a.sp2\n2=\n3=\n4=\n5=\n");
    ASSERT_EQ(recent.Count(), 1);
    EXPECT_EQ(recent.Items(0)->Name(), "FileOpen1");
    EXPECT_EQ(recent.Items(0)->Caption(), "/data/a.sp2");

    for (const char* p : {"/data/b.sp2", "/data/c.sp2", "/data/d.sp2", "/data/e.sp2"}) f->AddFile(p);
    EXPECT_EQ(Settings(), "[FileOpen]\n1=/data/e.sp2\n2=/data/d.sp2\n3=/data/c.sp2\n4=/data/b.sp2\n5=/data/a.sp2\n");
    f->AddFile("/data/f.sp2");
    EXPECT_EQ(Settings(), "[FileOpen]\n1=/data/f.sp2\n2=/data/e.sp2\n3=/data/d.sp2\n4=/data/c.sp2\n5=/data/b.sp2\n")
        << "the oldest drops out";
    EXPECT_EQ(Captions(recent), (std::vector<std::string>{"/data/f.sp2", "/data/e.sp2", "/data/d.sp2", "/data/c.sp2",
                                                           "/data/b.sp2"}));
    for (int i = 0; i < 5; ++i) EXPECT_EQ(recent.Items(i)->Name(), "FileOpen" + std::to_string(i + 1));

    // A listed path keeps its place, whether newest or oldest; another letter case is another path.
    const std::string before = Settings();
    f->AddFile("/data/b.sp2");
    f->AddFile("/data/f.sp2");
    EXPECT_EQ(Settings(), before);
    f->AddFile("/DATA/B.SP2");
    EXPECT_EQ(Captions(recent)[0], "/DATA/B.SP2");
    EXPECT_EQ(Captions(recent)[4], "/data/c.sp2");

    // A click calls OnAction with its item.
    recent.Items(2)->Click();
    ASSERT_EQ(Clicked.size(), 1u);
    EXPECT_EQ(Clicked[0], recent.Items(2));
    EXPECT_EQ(Clicked[0]->Caption(), "/data/e.sp2");
}

TEST_F(RecentFiles, ItemsStandAtTheirKeysPlaceAmongOtherItems)
{
    Write("[FileOpen]\n1=/one\n2=\n3=/three\n");
    TMenuItem recent(nullptr);
    auto* other = new TMenuItem(&recent);
    other->SetCaption("Clear list");
    recent.Add(other);
    auto f = std::make_unique<TFileMenuOpens>(nullptr);
    f->SetMenus(&recent);
    EXPECT_EQ(Captions(recent), (std::vector<std::string>{"/one", "Clear list", "/three"}));
    // Key 3 belongs at index 2, which does not exist with no other item: it is left out.
    recent.Remove(other);
    f->SetMenuIndex(0);
    EXPECT_EQ(Captions(recent), std::vector<std::string>{"/one"});
    f->SetMenuIndex(1);
    EXPECT_TRUE(Captions(recent).empty()) << "key 1 would stand at index 1 of an empty menu";

    // The Qt menu of the File menu follows.
    f->SetMenuIndex(0);
    Pump(1);
    QMenu menu;
    BindMenu(recent, menu);
    ASSERT_EQ(menu.actions().size(), 1);
    EXPECT_EQ(menu.actions()[0]->text(), QString("/one"));
    f->AddFile("/two");
    ASSERT_EQ(menu.actions().size(), 2);
    EXPECT_EQ(menu.actions()[0]->text(), QString("/two"));
}

TEST_F(RecentFiles, NumbersShrinkAndGrowTheSection)
{
    TMenuItem recent(nullptr);
    auto f = Load(&recent);
    for (const char* p : {"/a", "/b", "/c", "/d", "/e"}) f->AddFile(p);
    f->SetNumbers(3);
    EXPECT_EQ(Settings(), "[FileOpen]\n1=/e\n2=/d\n3=/c\n");
    EXPECT_EQ(recent.Count(), 3);
    f->SetNumbers(5);
    EXPECT_EQ(Settings(), "[FileOpen]\n1=/e\n2=/d\n3=/c\n4=\n5=\n");
    f->SetNumbers(0);
    EXPECT_EQ(Settings(), "[FileOpen]\n");
    EXPECT_EQ(recent.Count(), 0);
    f->AddFile("/z");
    EXPECT_EQ(Settings(), "[FileOpen]\n1=/z\n") << "key 1 is written even without slots";
    EXPECT_EQ(recent.Count(), 0);
}

TEST_F(RecentFiles, ARestartKeepsAllFiveAndOtherSectionsStayAsTheyWere)
{
    Write("; settings of the program\r\n[common]\r\nScale=1.5\r\n\r\n[FileOpen]\r\n1=/old\r\n\r\n[Chart]\r\nAxis=x\r\n");
    {
        TMenuItem recent(nullptr);
        auto f = Load(&recent);
        for (const char* p : {"/a", "/b", "/c", "/d"}) f->AddFile(p);
    }
    const std::string expected = "; settings of the program\r\n[common]\r\nScale=1.5\r\n\r\n"
                                 "[FileOpen]\r\n1=/d\r\n2=/c\r\n3=/b\r\n4=/a\r\n5=/old\r\n\r\n[Chart]\r\nAxis=x\r\n";
    EXPECT_EQ(Settings(), expected);
    // The next start: the constructor's 4 slots, then the form's 5 keep key "5".
    TMenuItem recent(nullptr);
    auto f = Load(&recent);
    EXPECT_EQ(Settings(), expected);
    EXPECT_EQ(Captions(recent), (std::vector<std::string>{"/d", "/c", "/b", "/a", "/old"}));
    // The same RegPath again changes nothing.
    f->SetRegPath("\\Software\\VornSP2dp\\Files");
    EXPECT_EQ(Settings(), expected);
}

TEST_F(RecentFiles, ASettingsFileThatCannotBeWrittenStopsWithItsPath)
{
    // A settings path under a regular file cannot be written, whoever runs the test.
    Write("");
    std::ofstream(Folder + "/plain") << "x";
    const std::string blocked = Folder + "/plain/vornsp2dp.in";
    SetSettingsFilePath(blocked);
    TMenuItem recent(nullptr);
    auto* keep = new TMenuItem(&recent);
    keep->SetCaption("kept");
    recent.Add(keep);
    auto f = std::make_unique<TFileMenuOpens>(nullptr);
    f->SetMenus(&recent);
    try {
        f->AddFile("/a.sp2");
        FAIL() << "the write was refused";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + blocked);
    }
    EXPECT_EQ(Captions(recent), std::vector<std::string>{"kept"});
    EXPECT_FALSE(std::filesystem::exists(blocked));

    // A read-only settings file is replaced as a whole, so the write goes through.
    SetSettingsFilePath(Folder + "/vornsp2dp.in");
    Write("[FileOpen]\n1=/x\n");
    std::filesystem::permissions(SettingsFilePath(), std::filesystem::perms::owner_read);
    auto g = std::make_unique<TFileMenuOpens>(nullptr);
    g->SetMenus(&recent);
    g->AddFile("/y");
    EXPECT_EQ(Settings(), "[FileOpen]\n1=/y\n4=\n3=\n2=/x\n") << "new keys join the section at its end";
}
