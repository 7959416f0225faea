// The brush editor's pattern bitmaps: the engine's 49 small monochrome patterns, registered as the bitmap
// resources "BBitmap1" .. "BBitmap49", and the routine that loads one. Brush styles of 8 and above draw
// pattern style - 8 (see TLumCanvas::SelectBrushColors).
#pragma once

#include <array>
#include <cstdint>

class TBitmap;

inline constexpr int PatternBitmapCount = 49;
inline constexpr int PatternBitmapSize = 8;

// The rows of pattern n (0-based), top row first; bit 7 is the leftmost pixel and a set bit is a pattern
// (black) pixel.
const std::array<std::uint8_t, PatternBitmapSize>& PatternBits(int n);

// Registers the 49 pattern resources (done by the first LoadPatternBitmap; registering again replaces
// them with the same pictures).
void RegisterPatternBitmaps();

// Loads resource "BBitmap" followed by n + 1 into bitmap (8 x 8, black pattern on white, 1 bit per pixel)
// and fixes white as its transparent colour. False, with the bitmap unchanged, for n outside 0..48.
bool LoadPatternBitmap(int n, TBitmap& bitmap);
