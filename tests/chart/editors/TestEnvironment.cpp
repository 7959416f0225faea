// What the editor tests need before the first test: the widget application, the chart control's and the
// series library's start-up, then the editors' own (their form classes and the chart's dialog hooks),
// as the program runs them; the editor options go to a registry file of the test run.
#include "chart/control/ChartRegistry.h"
#include "chart/editors/ChartEditors.h"
#include "chart/series/SeriesLibrary.h"
#include "platform/controls/QtApplication.h"
#include "platform/rtl/Registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {
class TEditorsEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        EnsureQtApplication();
        ChartInitialization();
        SeriesLibraryInitialization();
        ChartEditorsInitialization();
        FRegistry = std::filesystem::temp_directory_path() / ("vsp-editors-" + std::to_string(getpid()));
        SetRegistryStorePath(FRegistry.string());
    }
    void TearDown() override
    {
        SetRegistryStorePath("");
        std::error_code ignored;
        std::filesystem::remove(FRegistry, ignored);
        ChartEditorsFinalization();
        SeriesLibraryFinalization();
        ChartFinalization();
    }

private:
    std::filesystem::path FRegistry;
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new TEditorsEnvironment);
} // namespace
