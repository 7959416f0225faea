// The widget application object made before any test runs: font measuring would otherwise make a
// plain GUI application first, and the colour dialog's prompter needs the widget kind.
#include "platform/controls/QtApplication.h"

#include <gtest/gtest.h>

namespace {
class TWidgetApplication : public ::testing::Environment {
public:
    void SetUp() override { EnsureQtApplication(); }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new TWidgetApplication);
} // namespace
