// The typed status bar on the offscreen platform.
#include "ui/kitStatusBar.h"

#include <gtest/gtest.h>

TEST(kitStatusBar, PanelsLinkToNativePanels)
{
    TkitStatusBar bar(nullptr);
    bar.Panels().Add();
    bar.Panels().Add();
    EXPECT_EQ(bar.TStatusBar::Panels().Count(), 2);
    EXPECT_EQ(bar.FindLinkedPanel(bar.TStatusBar::Panels().Items(1)), 1);
}
