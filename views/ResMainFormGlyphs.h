// The main window's pictures: tool-bar glyphs, the status bar's two fixed glyphs and the thirteen polygon
// tool glyphs, drawn by the program itself. The bottom-left pixel of each is its transparent colour.
#pragma once

#include <memory>

class TBitmap;

enum class TMainGlyph {
    Open, Save, Setup, Electrodes, Forward, Inversion, Undo, // tool bar 1
    StatusProgram, StatusMode,                              // status panels 0 and 4
};

std::unique_ptr<TBitmap> MakeMainGlyph(TMainGlyph glyph);

// The glyph of the polygon tool of edit mode 0..12.
std::unique_ptr<TBitmap> MakePolygonToolGlyph(int mode);
