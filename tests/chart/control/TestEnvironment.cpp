// What the chart control's tests need before the first test: the widget application object (font
// measuring and real controls) and the chart control's start-up (registries, palettes, basic functions).
#include "chart/control/ChartRegistry.h"
#include "platform/controls/QtApplication.h"

#include <gtest/gtest.h>

namespace {
class TChartControlEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        EnsureQtApplication();
        ChartInitialization();
    }
    void TearDown() override { ChartFinalization(); }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new TChartControlEnvironment);
} // namespace
