// Precompiled header of the tests.
#pragma once
#include <gtest/gtest.h>

// The folder of the test fixtures (VSP_TEST_DATA expands to a call of it).
const char* VspTestDataDir();

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>
