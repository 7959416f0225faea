// Precompiled header of the tests of Qt-using folders.
#pragma once
#include "test_pch.h"
#include "qt_pch.h"
