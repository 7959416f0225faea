// The missing-value marker.
#include "core/Supermath2d.h"

#include <gtest/gtest.h>

TEST(Supermath2d, MissingValueIsTheProgramsMarker) { EXPECT_EQ(MissingValue, 123456789.0); }
