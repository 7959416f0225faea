// The spin edit: what its text reads as, stepping within the range, and the text written back on leaving.
#include "platform/controls/Spin.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

struct TSpinCase {
    const char* Text;
    std::int32_t Min, Max;
    std::int32_t Expected;
};

TEST(SpinEdit, TextReadsAsAValueInRange)
{
    const TSpinCase cases[] = {
        {"100", 5, 1000, 100}, {"abc", 5, 1000, 5},  {"", 5, 1000, 5},       {"4", 5, 1000, 5},
        {"1001", 5, 1000, 1000}, {"-7", 5, 1000, 5}, {" 12", 5, 1000, 12},   {"2.5", 5, 1000, 5},
        {"99999999999", 5, 1000, 5}, // beyond 32 bits: no number
        {"-40", 0, 0, -40},          // an empty range limits nothing
    };
    for (const TSpinCase& c : cases) {
        TSpinEdit spin(nullptr);
        spin.SetMinValue(c.Min);
        spin.SetMaxValue(c.Max);
        spin.SetText(c.Text);
        EXPECT_EQ(spin.Value(), c.Expected) << "text '" << c.Text << "'";
    }
}

TEST(SpinEdit, SettingAndSteppingStayInRange)
{
    TSpinEdit spin(nullptr);
    spin.SetMinValue(5);
    spin.SetMaxValue(1000);
    spin.SetValue(2000);
    EXPECT_EQ(spin.Text(), "1000");
    spin.UpClick();
    EXPECT_EQ(spin.Value(), 1000);
    spin.SetText("no");
    spin.UpClick();  // from the minimum that the text reads as
    EXPECT_EQ(spin.Text(), "6");
    spin.SetIncrement(10);
    spin.DownClick();
    EXPECT_EQ(spin.Text(), "5");

    TSpinEdit wide(nullptr);
    wide.SetValue(std::numeric_limits<std::int32_t>::max());
    wide.UpClick();  // no wrap-around past the 32-bit range
    EXPECT_EQ(wide.Value(), std::numeric_limits<std::int32_t>::max());
}

TEST(SpinEdit, ReadOnlyDoesNotStep)
{
    TSpinEdit spin(nullptr);
    spin.SetMinValue(0);
    spin.SetMaxValue(10);
    spin.SetValue(3);
    spin.SetReadOnly(true);
    spin.UpClick();
    spin.DownClick();
    EXPECT_EQ(spin.Value(), 3);
}

} // namespace
