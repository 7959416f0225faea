// The bordered label (TuiSuperLabel): a label with a single or 3-D border, text margins and vertical as well
// as horizontal alignment, and the drawing and environment helpers of the UI kit (the 3-D frame itself is
// the canvas' DrawFrame3D).
#pragma once

#include "platform/controls/Controls.h"
#include "platform/controls/Edit.h"   // TAlignment
#include "platform/graphics/Canvas.h"
#include "platform/graphics/GraphicsObjects.h"

#include <cstdint>
#include <string>

class TBitmap;

enum TuiVAlignment { vaTop, vaBottom, vaCenter };
inline const TEnumNames uiVAlignmentNames{"vaTop", "vaBottom", "vaCenter"};

// A label drawn in a small window of its own: the two pixels of its corners that lie outside a 3-D border
// take the parent's colour.
class TuiSuperLabel : public TCustomControl {
    VSP_PERSISTENT_CLASS
public:
    // 100 x 25, no automatic size, TopMargin 2.
    explicit TuiSuperLabel(TComponent* AOwner);

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool v);
    int TopMargin() const { return FTopMargin; }
    void SetTopMargin(int v);
    int LeftMargin() const { return FLeftMargin; }
    void SetLeftMargin(int v);
    int RightMargin() const { return FRightMargin; }
    void SetRightMargin(int v);
    int BottomMargin() const { return FBottomMargin; }
    void SetBottomMargin(int v);
    TuiVAlignment VerticalAlignment() const { return FVerticalAlignment; }
    void SetVerticalAlignment(TuiVAlignment v);

    // The rectangle the text is drawn in, before vertical alignment: the client area without the
    // border's insets and the margins, collapsed to zero width or height when they overlap.
    TRect TextRectangle() const;
    // Draws the label on a canvas of its size (Paint draws it on its own).
    void PaintTo(TCanvas& Canvas);

protected:
    void Paint() override;

private:
    // The colour beside the label (its parent's), for the corners outside a 3-D border.
    TColor OutsideColour() const;
    void Insets(int& left, int& top, int& right, int& bottom) const;
    template <class T>
    void Store(T& field, const T& value);

    std::string FCaption;
    TAlignment FAlignment = taLeftJustify;
    TFont FFont;
    bool FShowAccelChar = true;
    bool FTransparent = false;
    bool FWordWrap = false;
    TColor FBorderColor = clWindowFrame;
    TBorderStyle FBorderStyle = bsNone;
    bool FCtl3D = true;
    int FTopMargin = 2, FLeftMargin = 0, FRightMargin = 0, FBottomMargin = 0;
    TuiVAlignment FVerticalAlignment = vaTop;
};

// The screen's colour depth, and whether it has fewer than 9 bits per pixel.
int ScreenBitsPerPixel();
bool IsLowColorDisplay();
// Every pixel takes its red component in all three channels.
void MakeGrayscale(TBitmap& Bitmap);
// A monochrome mask of the given size: white where a pixel of the source rectangle has one of the
// colours 0..LastIndex (system colours resolved), black elsewhere; it replaces Target's picture.
void MakeMaskBitmap(TBitmap& Target, const TBitmap& Source, const TRect& SourceRect, int LastIndex,
                    const TColor* Colors, TSize Size);
// Tells the form designer that the control's form changed; there is no designer at run time.
void NotifyDesignerModified(TWinControl* Control);
