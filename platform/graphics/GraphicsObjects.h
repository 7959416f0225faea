// Pens, brushes and fonts of the class library: plain value objects with a change event. A canvas owns
// one of each (its selected objects) and applies them to its device state whenever they change. Each
// declares its published properties (TPen: Color, Mode, Style, Width; TBrush: Color, Style; TFont:
// Charset, Color, Height, Name, Pitch, Size, Style). Qt-free.
#pragma once

#include "platform/graphics/GraphicsTypes.h"
#include "platform/rtl/Classes.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TBitmap;

// Names of the enumerations as streams and editors write them.
inline const TEnumNames PenStyleNames{"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear",
                                      "psInsideFrame", "psUserStyle", "psAlternate"};
inline const TEnumNames PenModeNames{"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy",
                                     "pmMergePenNot", "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen",
                                     "pmMerge", "pmNotMerge", "pmMask", "pmNotMask", "pmXor", "pmNotXor"};
inline const TEnumNames BrushStyleNames{"bsSolid", "bsClear", "bsHorizontal", "bsVertical",
                                        "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"};
inline const TEnumNames FontStyleNames{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
inline const TEnumNames FontPitchNames{"fpDefault", "fpVariable", "fpFixed"};

// Base of TPen, TBrush and TFont: the change event (TNotifyEvent, the object as sender), fired after
// every effective change (a setter that stores the value it already holds fires nothing). Copying an
// object copies its values, never its event.
class TGraphicsObject : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    TGraphicsObject() = default;
    TGraphicsObject(const TGraphicsObject& o) : TPersistent(o) {}
    TGraphicsObject& operator=(const TGraphicsObject&) { return *this; }

    TNotifyEvent OnChange;

    // Changes made between BeginUpdate and the matching EndUpdate fire OnChange once, at the end.
    void BeginUpdate() { ++FUpdating; }
    void EndUpdate();

protected:
    // Fires OnChange unless updates are being collected.
    void Changed();

private:
    int FUpdating = 0;
    bool FPending = false;
};

// A pen. Width is in logical units; 0 and 1 draw one device pixel unless the pen is geometric.
// A non-geometric pen wider than one pixel draws solid lines with round caps and joins (the device's
// rule for simple pens); a geometric pen honours its style at any width, scales its dashes with the
// width and uses EndCap and Join. psUserStyle takes its dash lengths (on, off, on, ...) from
// UserStyle, in pixels for a thin pen and logical units for a geometric one; psAlternate sets every
// other pixel.
class TPen : public TGraphicsObject {
    VSP_PERSISTENT_CLASS
public:
    TPen() = default;
    TPen(const TPen& o) : TGraphicsObject(o) { CopyValues(o); }
    TPen& operator=(const TPen& o) { Assign(static_cast<const TPersistent&>(o)); return *this; }

    // From a TPen copies every value (fires OnChange once when anything differed); other sources go to
    // TPersistent::Assign.
    void Assign(const TPersistent& source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    int Width() const { return FWidth; }
    void SetWidth(int v);                // values below 0 are stored as 0
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle v);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode v);

    bool Geometric() const { return FGeometric; }
    void SetGeometric(bool v);
    TPenEndCap EndCap() const { return FEndCap; }
    void SetEndCap(TPenEndCap v);
    TPenJoin Join() const { return FJoin; }
    void SetJoin(TPenJoin v);
    const std::vector<std::uint32_t>& UserStyle() const { return FUserStyle; }
    void SetUserStyle(std::vector<std::uint32_t> dashes);

    // Back to a simple pen: not geometric, round caps and joins, no user style (colour, width, style
    // and mode stay).
    void ResetGeometry();

private:
    void CopyValues(const TPen& o);

    TColor FColor = 0;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
    bool FGeometric = false;
    TPenEndCap FEndCap = pecRound;
    TPenJoin FJoin = pjRound;
    std::vector<std::uint32_t> FUserStyle;
};

// A brush. With a Bitmap (not owned) it is a pattern brush whatever its Style: a monochrome (1-bit)
// bitmap paints its black pixels in the canvas' text colour and its white pixels in the background
// colour (none with a transparent background mode); a colour bitmap paints its own pixels. Hatch styles paint their lines in Color and, with an
// opaque background mode, the gaps in the background colour. A Style outside the eight styles draws
// nothing, like bsClear.
class TBrush : public TGraphicsObject {
    VSP_PERSISTENT_CLASS
public:
    TBrush() = default;
    TBrush(const TBrush& o) : TGraphicsObject(o) { CopyValues(o); }
    TBrush& operator=(const TBrush& o) { Assign(static_cast<const TPersistent&>(o)); return *this; }

    void Assign(const TPersistent& source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle v);
    // The style as a number; pattern code stores numbers beyond the eight styles here.
    void SetStyleNumber(int v) { SetStyle(static_cast<TBrushStyle>(v)); }
    TBitmap* Bitmap() const { return FBitmap; }
    void SetBitmap(TBitmap* v);

private:
    void CopyValues(const TBrush& o);

    TColor FColor = 0xFFFFFF;
    TBrushStyle FStyle = bsSolid;
    TBitmap* FBitmap = nullptr;
};

// A font. Height is in logical units: negative for the character height (em size), positive for the
// cell height (character height plus internal leading); Size is in points at PixelsPerInch
// (Height = -Size * PixelsPerInch / 72), setting one recomputes the other. Orientation is the
// escapement in tenths of a degree, counter-clockwise. Names are 8-bit text; "Arial",
// "Times New Roman" and "Courier New" draw with their metric-compatible Liberation faces.
class TFont : public TGraphicsObject {
    VSP_PERSISTENT_CLASS
public:
    TFont() = default;
    TFont(const TFont& o) : TGraphicsObject(o) { CopyValues(o); }
    TFont& operator=(const TFont& o) { Assign(static_cast<const TPersistent&>(o)); return *this; }

    void Assign(const TPersistent& source) override;

    const std::string& Name() const { return FName; }
    void SetName(const std::string& v);
    int Height() const { return FHeight; }
    void SetHeight(int v);
    int Size() const;
    void SetSize(int points);
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int v);        // stores only; Height stays (the class library's rule)
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles v);
    int Charset() const { return FCharset; }
    void SetCharset(int v);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch v);
    int Orientation() const { return FOrientation; }
    void SetOrientation(int tenthsOfDegree);
    TFontQuality Quality() const { return FQuality; }
    void SetQuality(TFontQuality v);

private:
    void CopyValues(const TFont& o);

    std::string FName = "Arial";
    int FHeight = -11;                   // 8 points at 96 pixels per inch
    int FPixelsPerInch = 96;
    TColor FColor = 0;
    TFontStyles FStyle;
    int FCharset = 1;
    TFontPitch FPitch = fpDefault;
    int FOrientation = 0;
    TFontQuality FQuality = fqDefault;
};
