// Automation servers by programmatic identifier: a registered server makes objects that answer calls by
// name; an identifier without a server is refused; values convert to text as variants do.
#include "platform/controls/Automation.h"

#include <gtest/gtest.h>

namespace {

struct Echo : TAutomationObject {
    TAutoValue Invoke(const std::string& Name, const TAutoArgs& Args, const TAutoNamedArgs&) override
    {
        if (Name == "Self") return TAutoValue(std::make_shared<Echo>());
        return TAutoValue(Name + ":" + (Args.empty() ? std::string() : Args[0].AsText()));
    }
};

} // namespace

TEST(Automation, ServersByProgrammaticIdentifier)
{
    EXPECT_THROW(CreateOleObject("demo.server"), EOleSysError);
    RegisterAutomationServer("Demo.Server", [] { return std::make_shared<Echo>(); });
    auto o = CreateOleObject("demo.server");
    EXPECT_EQ(o->Invoke("Call", {TAutoValue(7)}).AsText(), "Call:7");
    EXPECT_NE(o->Get("Self"), nullptr);
    EXPECT_THROW(o->Get("Call"), EOleSysError);   // returns no object
    UnregisterAutomationServer("DEMO.SERVER");
    EXPECT_THROW(CreateOleObject("demo.server"), EOleSysError);
    struct Case {
        TAutoValue v;
        const char* text;
    } cases[] = {{TAutoValue(2.5), "2.5"}, {TAutoValue(3.0), "3"}, {TAutoValue(true), "True"}, {TAutoValue(), ""}, {TAutoValue("x"), "x"}};
    for (const Case& c : cases) EXPECT_EQ(c.v.AsText(), c.text);
}
