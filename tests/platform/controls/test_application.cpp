// The application's default exception handler and its exception barrier around event handlers.
#include "platform/controls/Application.h"
#include "platform/controls/Prompter.h"

#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct ApplicationTest : ::testing::Test {
    void SetUp() override
    {
        Application->Reset();
        Application->SetTitle("VornSP2Dp");
    }
    void TearDown() override { Application->Reset(); }
};

TEST(DefaultHandlerText, FullStopOnlyAfterCharactersSortingAfterIt)
{
    struct Case {
        const char* message;
        const char* shown;
    };
    const Case cases[] = {
        {"Range check error", "Range check error."},
        {"Error in data file!", "Error in data file!"},  // '!' sorts before '.'
        {"Done.", "Done."},
        {"", ""},
        {"f(x)", "f(x)"},                                // ')' sorts before '.'
        {"a/b/", "a/b/."},                               // '/' directly after '.'
        {"Value 1", "Value 1."},
        {"caf\xE9", "caf\xE9."},                         // 8-bit characters compare unsigned
    };
    for (const Case& c : cases) EXPECT_EQ(DefaultHandlerText(c.message), c.shown) << c.message;
}

TEST_F(ApplicationTest, UnhandledExceptionShowsTitleMessageAndOk)
{
    TPromptScript script;
    script.AnswerMessage(mrOk);
    Application->HandleException(ERangeError());
    ASSERT_EQ(script.Log().size(), 1u);
    const TPrompt& box = script.Log()[0];
    EXPECT_EQ(box.Kind, TPromptKind::MessageBox);
    EXPECT_EQ(box.Caption, "VornSP2Dp");
    EXPECT_EQ(box.Text, "Range check error.");
    EXPECT_EQ(box.DlgType, mtError);
    EXPECT_EQ(box.Buttons, (TMsgDlgButtons{mbOK}));
    EXPECT_TRUE(script.Failures().empty());
}

TEST_F(ApplicationTest, AbortIsSilentAndOnExceptionReplacesTheBox)
{
    TPromptScript script;
    Application->HandleException(EAbort("Operation aborted"));
    std::string seen;
    Application->OnException = [&](TApplication&, const std::exception& e) { seen = e.what(); };
    Application->HandleException(EConvertError("bad number"));
    EXPECT_EQ(seen, "bad number");
    EXPECT_TRUE(script.Log().empty());
    EXPECT_TRUE(script.Failures().empty());
}

TEST_F(ApplicationTest, ExceptionLeavingAnEventHandlerReachesTheDefaultHandler)
{
    TPromptScript script;
    script.AnswerMessage(mrOk);
    Application->ProcessMessages();
    QTimer::singleShot(0, [] { throw Exception("Error in data file!"); });
    Application->ProcessMessages();
    ASSERT_EQ(script.Log().size(), 1u);
    EXPECT_EQ(script.Log()[0].Text, "Error in data file!");
    // A foreign exception shows its own text, and nothing escapes Guarded.
    script.AnswerMessage(mrOk);
    Application->Guarded([] { throw std::runtime_error("disk full"); });
    ASSERT_EQ(script.Log().size(), 2u);
    EXPECT_EQ(script.Log()[1].Text, "disk full.");
}

} // namespace
