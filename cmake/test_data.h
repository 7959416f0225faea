// Included in every test unit by the build: declares the function that VSP_TEST_DATA expands to, which
// returns the folder of the test fixtures.
#pragma once

const char* VspTestDataDir();
