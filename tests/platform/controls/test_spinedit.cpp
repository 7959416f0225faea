// The spin edit: what its text reads as, stepping within the range, the text written back on leaving,
// and its arrow buttons pressed with the mouse.
#include "platform/controls/QtApplication.h"
#include "platform/controls/Spin.h"

#include "tests/platform/controls/ClickSupport.h"

#include <QWidget>

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

TEST(SpinEdit, ArrowButtonsAtTheRightEdgeStepTheValue)
{
    struct TArrowCase {
        const char* Where;
        int Width, Height;     // the edit's size
        int X;                 // the click's distance from the right edge
        bool Upper;            // in the upper quarter, else in the lower one
        std::int32_t Min, Max, Start, Expected;
    };
    const TArrowCase cases[] = {
        {"upper arrow", 121, 21, 5, true, 0, 100, 25, 26},
        {"lower arrow", 121, 21, 5, false, 0, 100, 25, 24},
        {"upper arrow, tall edit", 60, 40, 8, true, 0, 100, 25, 26},
        {"lower arrow, narrow edit", 40, 21, 10, false, 0, 100, 25, 24},
        {"upper arrow at the maximum", 121, 21, 5, true, 0, 100, 100, 100},
        {"lower arrow at the minimum", 121, 21, 5, false, 5, 1000, 5, 5},
        {"upper arrow over text that is no number", 121, 21, 5, true, 5, 1000, -1, 6},
    };
    EnsureQtApplication();
    for (const TArrowCase& c : cases) {
        SCOPED_TRACE(c.Where);
        QWidget window;
        TSpinEdit spin(nullptr);
        spin.SetParentWidget(&window);
        spin.SetBounds(0, 0, c.Width, c.Height);
        spin.SetMinValue(c.Min);
        spin.SetMaxValue(c.Max);
        if (c.Start < 0)
            spin.SetText("x");
        else
            spin.SetValue(c.Start);
        window.show();
        QWidget& edit = *spin.Widget();
        const int y = c.Upper ? c.Height / 4 : c.Height - c.Height / 4 - 1;
        ClickAtPoint(edit, {c.Width - c.X, y});
        EXPECT_EQ(spin.Value(), c.Expected);
        // A click on the text steps nothing.
        ClickAtPoint(edit, {c.Width / 3, y});
        EXPECT_EQ(spin.Value(), c.Expected);
    }
    // A read-only edit's arrows step nothing.
    QWidget window;
    TSpinEdit spin(nullptr);
    spin.SetParentWidget(&window);
    spin.SetMaxValue(10);
    spin.SetValue(3);
    spin.SetReadOnly(true);
    window.show();
    ClickAtPoint(*spin.Widget(), {spin.Width() - 5, spin.Height() / 4});
    EXPECT_EQ(spin.Value(), 3);
}

} // namespace
