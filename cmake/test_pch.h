// Precompiled header of the tests.
#pragma once
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>
