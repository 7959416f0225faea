// What the series tests need before the first test: the widget application object (font measuring and
// real windows), then the chart control's start-up and the series library's, as the program runs them.
#include "chart/control/ChartRegistry.h"
#include "chart/series/SeriesLibrary.h"
#include "platform/controls/QtApplication.h"

#include <gtest/gtest.h>

namespace {
class TSeriesEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        EnsureQtApplication();
        ChartInitialization();
        SeriesLibraryInitialization();
    }
    void TearDown() override
    {
        SeriesLibraryFinalization();
        ChartFinalization();
    }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new TSeriesEnvironment);
} // namespace
