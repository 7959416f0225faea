// The extras' series kinds in the chart's registry after start-up: each with its gallery caption, page and
// count, in the order of the start-up, and creatable by name from streams.
#include "ExtrasTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(ExtrasRegistry, EveryKindWithCaptionPageAndCount)
{
    const std::vector<TSeriesEntry> expected{
        {"TChartShape", "Shape", "Standard", 2},
        {"TArrowSeries", "Arrow", "Extended", 2},
        {"TBubbleSeries", "Bubble", "Standard", 1},
    };
    const std::vector<TSeriesEntry> all = RegisteredSeries();
    const auto first = std::find_if(all.begin(), all.end(), [](const TSeriesEntry& e) { return e.ClassName == "TChartShape"; });
    ASSERT_NE(first, all.end());
    EXPECT_EQ(std::vector<TSeriesEntry>(first, all.end()), expected);
    for (const TSeriesEntry& e : expected) EXPECT_NE(FindClassInfo(e.ClassName), nullptr) << e.ClassName;
}
