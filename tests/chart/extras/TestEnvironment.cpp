// What the extras' tests need before the first test: the widget application, the chart control's and the
// series library's start-up, then the extras' own registrations, as the program runs them.
#include "chart/control/ChartRegistry.h"
#include "chart/extras/ChartExtras.h"
#include "chart/series/SeriesLibrary.h"
#include "platform/controls/QtApplication.h"

#include <gtest/gtest.h>

namespace {
class TExtrasEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        EnsureQtApplication();
        ChartInitialization();
        SeriesLibraryInitialization();
        ChartExtrasInitialization();
    }
    void TearDown() override
    {
        ChartExtrasFinalization();
        SeriesLibraryFinalization();
        ChartFinalization();
    }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new TExtrasEnvironment);
} // namespace
