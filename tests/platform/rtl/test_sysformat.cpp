// Format for a float format's directives: widths, precisions, the types f, n, e, g and m with the
// settings' separators, "%%", text around the directive, and the refusal of what takes no real.
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysFormat.h"

#include <gtest/gtest.h>

TEST(SysFormat, FloatDirectives)
{
    struct Case {
        const char* format;
        double value;
        const char* want;
    } cases[] = {{"%.2f", 12.5, "12.50"},     {"%.0f", 2.5, "2"},          {"%8.3f", -1.25, "  -1.250"},
                 {"%-6.1f|", 1.0, "1.0   |"}, {"%n", 1234567.891, "1,234,567.89"}, {"%.1n", -1234.5, "-1,234.5"},
                 {"%.3e", 12345.678, "1.23E+004"}, {"%e", 0.0, "0.00000000000000E+000"}, {"%g", 0.5, "0.5"},
                 {"%.3g", 1234567.0, "1.23E6"}, {"x=%.1f%%", 3.14, "x=3.1%"}, {"%f", 1.0 / 3, "0.33"}};
    for (const Case& c : cases) EXPECT_EQ(FormatFloatDirective(c.format, c.value), c.want) << c.format;
    FormatSettings().DecimalSeparator = ',';
    FormatSettings().ThousandSeparator = '.';
    EXPECT_EQ(FormatFloatDirective("%.2f", 2.5), "2,50");
    EXPECT_EQ(FormatFloatDirective("%.2n", 1234.5), "1.234,50");
    ResetFormatSettings();
    for (const char* bad : {"%d", "%s", "%.2f %.2f", "%", "%.2"}) EXPECT_THROW(FormatFloatDirective(bad, 1), EConvertError) << bad;
}
