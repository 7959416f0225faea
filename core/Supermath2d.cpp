// Program-wide arrays, the missing-value marker, number text and numeric helpers.
#include "core/Supermath2d.h"
