// Plain types and constants of the drawing layer: points, rectangles, sizes, colours as 0x00BBGGRR
// values, and the device constants (raster operations, text alignment, map modes, region modes, ...)
// with the values the program's code was written against. Qt-free.
#pragma once

#include "platform/rtl/Sets.h"
#include "platform/rtl/SystemColors.h"

#include <cstdint>
#include <vector>

// Colours (TColor, RGB, the cl... names and ColorToRGB) come from platform/rtl/SystemColors.h: 0x00BBGGRR,
// a top byte 0xFF marking a system colour index of the one fixed table.

struct TPoint {
    int x = 0;
    int y = 0;
    bool operator==(const TPoint&) const = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    bool operator==(const TSize&) const = default;
};

// A rectangle; whether Right and Bottom are inclusive depends on the call (GDI shapes exclude them).
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }
    bool operator==(const TRect&) const = default;
};

inline TPoint Point(int x, int y) { return {x, y}; }
inline TRect Rect(int l, int t, int r, int b) { return {l, t, r, b}; }
inline TRect Bounds(int l, int t, int w, int h) { return {l, t, l + w, t + h}; }

// Pen, brush and font enumerations of the class library, in their declared order.
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame, psUserStyle, psAlternate };
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen,
    pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
// End caps and joins of geometric pens.
enum TPenEndCap { pecRound, pecSquare, pecFlat };
enum TPenJoin { pjRound, pjBevel, pjMiter };
// Values above bsDiagCross select pattern bitmaps, so the type holds any int.
enum TBrushStyle : int { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
enum TFontQuality { fqDefault = 0, fqDraft = 1, fqProof = 2, fqNonAntialiased = 3, fqAntialiased = 4, fqClearType = 5 };

// Raster operations of pens and fills (SetROP2).
enum {
    R2_BLACK = 1, R2_NOTMERGEPEN, R2_MASKNOTPEN, R2_NOTCOPYPEN, R2_MASKPENNOT, R2_NOT, R2_XORPEN,
    R2_NOTMASKPEN, R2_MASKPEN, R2_NOTXORPEN, R2_NOP, R2_MERGENOTPEN, R2_COPYPEN, R2_MERGEPENNOT,
    R2_MERGEPEN, R2_WHITE
};

// Ternary raster operations of block transfers (BitBlt, StretchBlt, PatBlt).
constexpr std::uint32_t SRCCOPY = 0x00CC0020, SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6,
                        SRCINVERT = 0x00660046, SRCERASE = 0x00440328, NOTSRCCOPY = 0x00330008,
                        NOTSRCERASE = 0x001100A6, MERGECOPY = 0x00C000CA, MERGEPAINT = 0x00BB0226,
                        PATCOPY = 0x00F00021, PATPAINT = 0x00FB0A09, PATINVERT = 0x005A0049,
                        DSTINVERT = 0x00550009, BLACKNESS = 0x00000042, WHITENESS = 0x00FF0062;

// Background modes.
enum { TRANSPARENT = 1, OPAQUE = 2 };

// Text alignment flags.
enum {
    TA_NOUPDATECP = 0, TA_UPDATECP = 1, TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6,
    TA_TOP = 0, TA_BOTTOM = 8, TA_BASELINE = 24
};

// Map modes.
enum { MM_TEXT = 1, MM_LOMETRIC, MM_HIMETRIC, MM_LOENGLISH, MM_HIENGLISH, MM_TWIPS, MM_ISOTROPIC, MM_ANISOTROPIC };

// Graphics modes and world transform operations.
enum { GM_COMPATIBLE = 1, GM_ADVANCED = 2 };
enum { MWT_IDENTITY = 1, MWT_LEFTMULTIPLY = 2, MWT_RIGHTMULTIPLY = 3 };

// A world transform: x' = x*eM11 + y*eM21 + eDx, y' = x*eM12 + y*eM22 + eDy.
struct TXForm {
    double eM11 = 1, eM12 = 0, eM21 = 0, eM22 = 1, eDx = 0, eDy = 0;
    bool operator==(const TXForm&) const = default;
};

// Region combination modes and results.
enum { RGN_AND = 1, RGN_OR, RGN_XOR, RGN_DIFF, RGN_COPY };
enum { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };

// Polygon fill modes.
enum { ALTERNATE = 1, WINDING = 2 };

// Arc directions.
enum { AD_COUNTERCLOCKWISE = 1, AD_CLOCKWISE = 2 };

// Stretch modes of StretchBlt.
enum { BLACKONWHITE = 1, WHITEONBLACK = 2, COLORONCOLOR = 3, HALFTONE = 4 };

// Device capability indexes (GetDeviceCaps).
enum {
    TECHNOLOGY = 2, HORZSIZE = 4, VERTSIZE = 6, HORZRES = 8, VERTRES = 10, BITSPIXEL = 12, PLANES = 14,
    NUMCOLORS = 24, RASTERCAPS = 38, LOGPIXELSX = 88, LOGPIXELSY = 90, PHYSICALWIDTH = 110,
    PHYSICALHEIGHT = 111, PHYSICALOFFSETX = 112, PHYSICALOFFSETY = 113
};
// Device technologies.
enum { DT_PLOTTER = 0, DT_RASDISPLAY = 1, DT_RASPRINTER = 2, DT_METAFILE = 5 };

// Frame controls (DrawFrameControl).
enum { DFC_SCROLL = 3, DFC_BUTTON = 4 };
enum { DFCS_SCROLLUP = 0, DFCS_SCROLLDOWN = 1, DFCS_SCROLLLEFT = 2, DFCS_SCROLLRIGHT = 3, DFCS_SCROLLCOMBOBOX = 5 };
enum {
    DFCS_BUTTONCHECK = 0x0000, DFCS_BUTTONRADIO = 0x0004, DFCS_BUTTONPUSH = 0x0010, DFCS_INACTIVE = 0x0100,
    DFCS_PUSHED = 0x0200, DFCS_CHECKED = 0x0400, DFCS_ADJUSTRECT = 0x2000, DFCS_FLAT = 0x4000, DFCS_MONO = 0x8000
};

// Text in a rectangle (TCanvas::DrawText).
enum : unsigned {
    DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_TABSTOP = 0x80, DT_NOCLIP = 0x100,
    DT_EXTERNALLEADING = 0x200, DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800, DT_INTERNAL = 0x1000,
    DT_EDITCONTROL = 0x2000, DT_PATH_ELLIPSIS = 0x4000, DT_END_ELLIPSIS = 0x8000, DT_MODIFYSTRING = 0x10000,
    DT_RTLREADING = 0x20000, DT_WORD_ELLIPSIS = 0x40000
};

// Edges (TCanvas::DrawEdge): which rings, and which sides with what look.
enum : unsigned {
    BDR_RAISEDOUTER = 0x1, BDR_SUNKENOUTER = 0x2, BDR_RAISEDINNER = 0x4, BDR_SUNKENINNER = 0x8,
    BDR_OUTER = 0x3, BDR_INNER = 0xC,
    EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER, EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
    EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER, EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER
};
enum : unsigned {
    BF_LEFT = 0x1, BF_TOP = 0x2, BF_RIGHT = 0x4, BF_BOTTOM = 0x8, BF_TOPLEFT = BF_TOP | BF_LEFT,
    BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT, BF_RECT = 0xF, BF_MIDDLE = 0x800, BF_SOFT = 0x1000,
    BF_ADJUST = 0x2000, BF_FLAT = 0x4000, BF_MONO = 0x8000
};

// Pixel formats of bitmaps, in the class library's order.
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };

using TPointArray = std::vector<TPoint>;
