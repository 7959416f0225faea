// The registry store: opening and creating keys, typed values and their errors, both root keys in one
// file, names and values that need escaping, deletion, and stores that cannot be written.
#include "platform/rtl/Registry.h"

#include "platform/rtl/TextFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace {

class RegistryStore : public ::testing::Test {
protected:
    void SetUp() override { SetRegistryStorePath(FTemp.File("registry")); }
    void TearDown() override { SetRegistryStorePath(""); }
    std::string StoreText() const
    {
        std::string bytes;
        LoadFileBytes(FTemp.File("registry"), bytes);
        return bytes;
    }
    TTempFolder FTemp;
};

const char* const EditorKey = "SOFTWARE\\Darnix Software\\Lumigram Pro\\Editor";

} // namespace

TEST_F(RegistryStore, EditorOptionsReadDefaultsUntilWritten)
{
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKeyReadOnly(EditorKey)) << "a missing key is not created by reading";
    EXPECT_EQ(StoreText(), "");

    ASSERT_TRUE(reg.OpenKey(EditorKey, true));
    reg.WriteBool("SmoothGallery", false);
    reg.WriteInteger("GalleryMode", 2);
    reg.CloseKey();

    TRegistry again;
    ASSERT_TRUE(again.OpenKeyReadOnly("\\software\\darnix software\\LUMIGRAM PRO\\editor\\"));
    EXPECT_EQ(again.CurrentPath(), "software\\darnix software\\LUMIGRAM PRO\\editor");
    EXPECT_TRUE(again.ValueExists("smoothgallery"));
    EXPECT_FALSE(again.ValueExists("TreeMode"));
    EXPECT_FALSE(again.ReadBool("SmoothGallery"));
    EXPECT_EQ(again.ReadInteger("GalleryMode"), 2);
    EXPECT_THROW(again.WriteBool("TreeMode", true), ERegistryException) << "opened read-only";
    EXPECT_TRUE(again.KeyExists("\\SOFTWARE\\Darnix Software")) << "parents exist with their children";
}

TEST_F(RegistryStore, FileAssociationUnderClassesRoot)
{
    const std::string exe = "/opt/vsp/vornsp2dp";
    for (int run = 0; run < 2; ++run) { // every start writes it again
        TRegistry reg;
        reg.SetRootKey(HKEY_CLASSES_ROOT);
        ASSERT_TRUE(reg.OpenKey(".sp2", true));
        reg.WriteString("", "sp2QELFile");
        reg.CloseKey();
        ASSERT_TRUE(reg.OpenKey("sp2QELFile", true));
        reg.WriteString("", "VornSP2dp data");
        ASSERT_TRUE(reg.OpenKey("DefaultIcon", true)) << "relative to the open key";
        EXPECT_EQ(reg.CurrentPath(), "sp2QELFile\\DefaultIcon");
        reg.WriteString("", exe + ",0");
        reg.CloseKey();
        ASSERT_TRUE(reg.OpenKey("sp2QELFile\\shell\\open\\command", true));
        reg.WriteString("", exe + " %1");
    }
    TRegistry user; // the same name under the other root is another key
    EXPECT_FALSE(user.KeyExists(".sp2"));
    EXPECT_EQ(StoreText(), "[HKEY_CLASSES_ROOT]\n"
                           "[HKEY_CLASSES_ROOT\\.sp2]\n"
                           "s:=sp2QELFile\n"
                           "[HKEY_CLASSES_ROOT\\sp2QELFile]\n"
                           "s:=VornSP2dp data\n"
                           "[HKEY_CLASSES_ROOT\\sp2QELFile\\DefaultIcon]\n"
                           "s:=/opt/vsp/vornsp2dp,0\n"
                           "[HKEY_CLASSES_ROOT\\sp2QELFile\\shell]\n"
                           "[HKEY_CLASSES_ROOT\\sp2QELFile\\shell\\open]\n"
                           "[HKEY_CLASSES_ROOT\\sp2QELFile\\shell\\open\\command]\n"
                           "s:=/opt/vsp/vornsp2dp %1\n");
}

TEST_F(RegistryStore, TypedReadsAndTheirErrors)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Test", true));
    reg.WriteString("Text", "abc");
    reg.WriteInteger("Number", -5);
    struct Case {
        const char* name;
        bool asInteger;
        const char* error; // "" when the read succeeds
    };
    const Case cases[] = {
        {"Text", false, ""},
        {"Number", true, ""},
        {"Missing", false, ""},
        {"Missing", true, "Failed to get data for 'Missing'"},
        {"Text", true, "Invalid data type for 'Text'"},
        {"Number", false, "Invalid data type for 'Number'"},
    };
    for (const Case& c : cases) {
        try {
            if (c.asInteger)
                (void)reg.ReadInteger(c.name);
            else
                (void)reg.ReadString(c.name);
            EXPECT_STREQ(c.error, "") << c.name;
        } catch (const ERegistryException& e) {
            EXPECT_EQ(e.Message(), c.error) << c.name;
        }
    }
    EXPECT_EQ(reg.ReadString("missing"), "");
    EXPECT_EQ(reg.ReadInteger("NUMBER"), -5);
    reg.WriteString("number", "now text"); // a value may change its type; its name keeps its spelling
    EXPECT_EQ(reg.ReadString("Number"), "now text");
    EXPECT_NE(StoreText().find("s:Number=now text"), std::string::npos);
}

TEST_F(RegistryStore, AwkwardNamesAndValuesSurvive)
{
    const std::string key = "Odd]Key\\x=y";
    const std::string name = "a=b%20";
    const std::string value = "line1\nline2\r\t100% \xe9\x01";
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(key, true));
    reg.WriteString(name, value);
    reg.WriteString("[not a key]", "]");
    TRegistry other;
    ASSERT_TRUE(other.OpenKeyReadOnly(key));
    EXPECT_EQ(other.ReadString(name), value);
    EXPECT_EQ(other.ReadString("[not a key]"), "]");
    for (char c : StoreText()) EXPECT_FALSE(c == '\r' || c == '\t' || c == '\x01') << "one line per entry";
}

TEST_F(RegistryStore, DeleteKeyTakesItsSubKeys)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("A\\B\\C", true));
    reg.WriteInteger("v", 1);
    reg.CloseKey();
    ASSERT_TRUE(reg.OpenKey("A2", true));
    reg.CloseKey();
    EXPECT_TRUE(reg.DeleteKey("a\\b"));
    EXPECT_FALSE(reg.KeyExists("A\\B\\C"));
    EXPECT_TRUE(reg.KeyExists("A"));
    EXPECT_TRUE(reg.KeyExists("A2")) << "a key whose name merely starts alike stays";
    EXPECT_FALSE(reg.DeleteKey("A\\B"));
    EXPECT_TRUE(reg.OpenKey("", false)) << "the root always exists";
}

TEST_F(RegistryStore, DamagedStoreReadsWhatItCan)
{
    ASSERT_TRUE(SaveFileSafely(FTemp.File("registry"),
                               "garbage\ns:before=any key\n[HKEY_CURRENT_USER\\K]\ni:n=notanumber\n"
                               "x:odd=1\ns:good=%4\ns:ok=%41%zz\n[HKEY_CURRENT_USER\\L"));
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("K", false));
    EXPECT_FALSE(reg.ValueExists("n"));
    EXPECT_FALSE(reg.ValueExists("odd"));
    EXPECT_EQ(reg.ReadString("good"), "%4");
    EXPECT_EQ(reg.ReadString("ok"), "A%zz");
    EXPECT_FALSE(reg.KeyExists("\\L"));
}

TEST(RegistryStoreFailure, UnwritableStore)
{
    TTempFolder tmp;
    ASSERT_TRUE(SaveFileSafely(tmp.File("file"), "x"));
    SetRegistryStorePath(tmp.File("file/registry")); // its folder is a file
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("Key", true));
    try {
        reg.WriteInteger("Left", 10);
        ADD_FAILURE();
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), "Failed to set data for 'Left'");
    }
    SetRegistryStorePath("");
    EXPECT_NE(RegistryStorePath().find("/VornSP2Dp/registry"), std::string::npos);
}

// The store is parsed once for as long as its bytes stay the same: a file rewritten in place with the
// same size reads as rewritten, keys written in any letter case are one key, and a store of many keys
// with deep paths reads every key.
TEST_F(RegistryStore, ReadsFollowTheFileAndFindEveryKey)
{
    for (const char* value : {"1", "2"}) {
        ASSERT_TRUE(SaveFileSafely(FTemp.File("registry"), std::string("[HKEY_CURRENT_USER\\K]\ni:n=") + value + "\n"));
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKeyReadOnly("K"));
        EXPECT_EQ(reg.ReadInteger("n"), value[0] - '0');
    }
    std::string text;
    for (int i = 0; i < 2000; ++i) text += "[HKEY_CURRENT_USER\\A\\b" + std::to_string(i % 7) + "\\C" + std::to_string(i) + "]\ni:n=" + std::to_string(i) + "\n";
    ASSERT_TRUE(SaveFileSafely(FTemp.File("registry"), text));
    TRegistry reg;
    for (int i : {0, 999, 1999}) {
        ASSERT_TRUE(reg.OpenKeyReadOnly("\\a\\B" + std::to_string(i % 7) + "\\c" + std::to_string(i)));
        EXPECT_EQ(reg.ReadInteger("n"), i);
    }
    ASSERT_TRUE(reg.OpenKey("\\A\\B3\\New", true));
    reg.WriteInteger("n", -1);
    EXPECT_TRUE(reg.KeyExists("\\a\\b3\\new"));
    EXPECT_TRUE(reg.DeleteKey("\\A\\B3"));
    EXPECT_FALSE(reg.KeyExists("\\A\\B3\\C3"));
    EXPECT_TRUE(reg.KeyExists("\\A\\B4\\C4"));
    EXPECT_EQ(StoreText().find("\\b3\\"), std::string::npos);
    EXPECT_NE(StoreText().find("\\b4\\"), std::string::npos);
}
