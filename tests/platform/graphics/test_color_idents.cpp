// Colour identifiers: both directions, letter case, aliases read but not written, integers in decimal and
// "$" hexadecimal, and the error for anything else.
#include "platform/graphics/ColorIdents.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

TEST(ColorIdents, IdentifiersBothWays)
{
    struct Case {
        const char* text;
        TColor color;
        const char* written;
    } const cases[] = {
        {"clRed", clRed, "clRed"},           {"CLRED", clRed, "clRed"},
        {"clBtnFace", clBtnFace, "clBtnFace"}, {"clNone", clNone, "clNone"},
        {"clLtGray", clSilver, "clSilver"},  {"255", clRed, "clRed"},
        {"$00FF00", clLime, "clLime"},       {"123", 123, "123"},
        {"-16777201", -16777201, "clBtnFace"}, {"4278190095", clBtnFace, "clBtnFace"},
        {" 42 ", 42, "42"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StringToColor(c.text), c.color) << c.text;
        EXPECT_EQ(ColorToString(StringToColor(c.text)), c.written) << c.text;
    }
    for (const char* bad : {"", "clReddish", "12x", "$", "4294967296", "$GG"})
        EXPECT_THROW(StringToColor(bad), EConvertError) << bad;
    std::string ident;
    EXPECT_FALSE(ColorToIdent(0x123456, ident));
    TColor c = 0;
    EXPECT_FALSE(IdentToColor("red", c));
}
