// Program-wide arrays, the missing-value marker, number text and numeric helpers.
#pragma once

#include "platform/rtl/DynArray.h"

// Marks an absent or invalid number everywhere; compared by exact equality.
inline constexpr double MissingValue = 123456789.0;
