// Smooth resizing of a bitmap into another: two one-dimensional passes (rows, then columns) with
// precomputed lists of weighted source pixels, a Lanczos filter or, in fast mode, a triangle filter.
// Used where a plain stretch would alias: page pictures, grid bitmaps, gallery icons. Qt-free.
#pragma once

class TBitmap;

// SmoothStretchWithQuality with the Lanczos filter.
void SmoothStretch(TBitmap* Source, TBitmap* Destination);
// Resamples Source into Destination's size. Source becomes 24-bit and Destination takes its format.
// Nothing happens when either bitmap is missing. A side below 2 pixels raises Exception
// "SmoothStretch: Source bitmap too small" or "SmoothStretch: Destination bitmap too small", leaving
// Destination unchanged.
void SmoothStretchWithQuality(TBitmap* Source, TBitmap* Destination, bool Fast);
