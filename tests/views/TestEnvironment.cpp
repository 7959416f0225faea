// What the views' tests need before the first test: the widget application, the chart control's and the
// series library's start-up, and a settings file and registry store of their own in a temporary folder.
#include "chart/control/ChartRegistry.h"
#include "chart/series/SeriesLibrary.h"
#include "platform/controls/QtApplication.h"
#include "platform/rtl/ConfigPaths.h"
#include "platform/rtl/Registry.h"
#include "tests/platform/rtl/TempFolder.h"

#include <gtest/gtest.h>

namespace {
class TViewsEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        EnsureQtApplication();
        ChartInitialization();
        SeriesLibraryInitialization();
        SetSettingsFilePath(FTemp.File("vornsp2dp.in"));
        SetRegistryStorePath(FTemp.File("registry"));
    }
    void TearDown() override
    {
        SetSettingsFilePath("");
        SetRegistryStorePath("");
        SeriesLibraryFinalization();
        ChartFinalization();
    }

private:
    TTempFolder FTemp;
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new TViewsEnvironment);
} // namespace
