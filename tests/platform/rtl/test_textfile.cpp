// Text files: line ends, bytes passing through, number reading, missing files, and the safe save.
#include "platform/rtl/TextFile.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(TextFile, LinesEndAtLfOrCrLf)
{
    using Lines = std::vector<std::string>;
    struct Case {
        std::string text;
        Lines lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"\n\n", {"", ""}},
        {"a\rb\n", {"a\rb"}},          // a lone CR is part of the line
        {"a\r\r\n", {"a\r"}},
        {"\r\n", {""}},
        {std::string("x\0\x80\xff\n", 5), {std::string("x\0\x80\xff", 4)}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitTextLines(c.text), c.lines) << c.text;
}

TEST(TextFile, ReaderTakesLinesAndNumbersAcrossLineEnds)
{
    TTextReader r = TTextReader::FromText("head line\r\n  3\t rest of line\n\n\t 2.5E-0003\r\n-7 x\n12 1.5\n");
    std::string line;
    ASSERT_TRUE(r.ReadLn(line));
    EXPECT_EQ(line, "head line");
    std::int32_t i = 0;
    ASSERT_TRUE(r.ReadInteger(i));
    EXPECT_EQ(i, 3);
    r.SkipLn();
    double d = 0;
    ASSERT_TRUE(r.ReadReal(d)) << "blank lines, tabs and CR LF are skipped";
    EXPECT_DOUBLE_EQ(d, 2.5e-3);
    ASSERT_TRUE(r.ReadReal(d));
    EXPECT_EQ(d, -7.0);
    EXPECT_FALSE(r.ReadReal(d)) << "x is no number";
    EXPECT_EQ(d, -7.0) << "a failed read leaves the variable alone";
    ASSERT_TRUE(r.ReadInteger(i)) << "the bad token was consumed";
    EXPECT_EQ(i, 12);
    EXPECT_FALSE(r.ReadInteger(i)) << "1.5 is no integer";
    EXPECT_FALSE(r.ReadReal(d)) << "end of the text";
    EXPECT_FALSE(r.ReadLn(line));
    EXPECT_TRUE(r.Eof());
}

TEST(TextFile, NumberTokens)
{
    struct Case {
        const char* token;
        bool isInteger;
        bool isReal;
    };
    const Case cases[] = {
        {"42", true, true},     {"+42", true, true},    {"-0", true, true},
        {"+-5", false, false},  {"2147483648", false, true}, {"1,5", false, false},
        {"0x10", false, false}, {"inf", false, false},  {"1e999", false, false},
        {".5", false, true},    {"5.", false, true},    {"1e5", false, true},
    };
    for (const Case& c : cases) {
        std::int32_t i = 0;
        double d = 0;
        EXPECT_EQ(TTextReader::FromText(c.token).ReadInteger(i), c.isInteger) << c.token;
        EXPECT_EQ(TTextReader::FromText(c.token).ReadReal(d), c.isReal) << c.token;
    }
}

TEST(TextFile, MissingFileReadsAsEmpty)
{
    TTempFolder tmp;
    TTextReader r(tmp.File("none.cfg"));
    EXPECT_FALSE(r.Opened());
    EXPECT_TRUE(r.Eof());
    std::string line = "old";
    EXPECT_FALSE(r.ReadLn(line));
    EXPECT_EQ(line, "");
    std::string bytes = "old";
    EXPECT_FALSE(LoadFileBytes(tmp.Path(), bytes)) << "a folder is no file";
    EXPECT_EQ(bytes, "");
}

TEST(SafeSave, WritesAndReplacesKeepingPermissions)
{
    TTempFolder tmp;
    const std::string path = tmp.File("data.sp2");
    TTextWriter w;
    w.WriteLn("P1 P2 dU");
    w.Write("0 1 \xe9");
    w.WriteLn();
    ASSERT_TRUE(w.SaveToFile(path));
    std::string bytes;
    ASSERT_TRUE(LoadFileBytes(path, bytes));
    EXPECT_EQ(bytes, "P1 P2 dU\n0 1 \xe9\n");

    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(SaveFileSafely(path, "new"));
    ASSERT_TRUE(LoadFileBytes(path, bytes));
    EXPECT_EQ(bytes, "new");
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp.Path()), fs::directory_iterator()), 1) << "no temporary left";
}

TEST(SafeSave, FollowsASymbolicLink)
{
    TTempFolder tmp;
    fs::create_directory(tmp.File("real"));
    const std::string target = tmp.File("real/settings.in");
    ASSERT_TRUE(SaveFileSafely(target, "old"));
    fs::create_symlink(target, tmp.File("link.in"));
    ASSERT_TRUE(SaveFileSafely(tmp.File("link.in"), "new"));
    EXPECT_TRUE(fs::is_symlink(tmp.File("link.in")));
    std::string bytes;
    LoadFileBytes(target, bytes);
    EXPECT_EQ(bytes, "new");
}

TEST(SafeSave, FailureLeavesTheOldFileWhole)
{
    TTempFolder tmp;
    EXPECT_FALSE(SaveFileSafely(tmp.File("no/such/folder.txt"), "x"));
    EXPECT_FALSE(SaveFileSafely("", "x"));
    fs::create_directory(tmp.File("dir"));
    EXPECT_FALSE(SaveFileSafely(tmp.File("dir"), "x")) << "a folder is not replaced by a file";
    EXPECT_TRUE(fs::is_directory(tmp.File("dir")));

    // A write that the system cuts short (here by a file-size limit that binds every user).
    const std::string path = tmp.File("old.txt");
    ASSERT_TRUE(SaveFileSafely(path, "precious"));
    rlimit saved {};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool saved_ok = SaveFileSafely(path, "replacement");
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved_ok);
    std::string bytes;
    ASSERT_TRUE(LoadFileBytes(path, bytes));
    EXPECT_EQ(bytes, "precious");
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp.Path()), fs::directory_iterator()), 2) << "no temporary left";
}
