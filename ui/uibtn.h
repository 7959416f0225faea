// The picture button (TuiPicBtn): an owner-drawn push button with 19 frame styles, an optional glyph of up
// to five state images with its layouts, raised or lowered text, hover highlighting, a flat "popup" look
// and sounds. The glyph (TuiButtonGlyph) keeps its state images in the shared glyph lists of its size.
#pragma once

#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/GraphicsObjects.h"
#include "ui/uiwav.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

enum TuiButtonStyle {
    absAutoDetect, absNew, absWin31, absThin, absThinBlack, absThinGray, absThinHighlight, absMidHighlight,
    absThickHighlight, absFramed, absFramedBlack, absFramedRaised, absFramedHighlight, absFramedBlackHighlight,
    absRecessed, absRecessedBlack, absRecessedRaised, absRecessedHighlight, absRecessedBlackHighlight
};
inline const TEnumNames uiButtonStyleNames{
    "absAutoDetect", "absNew", "absWin31", "absThin", "absThinBlack", "absThinGray", "absThinHighlight",
    "absMidHighlight", "absThickHighlight", "absFramed", "absFramedBlack", "absFramedRaised", "absFramedHighlight",
    "absFramedBlackHighlight", "absRecessed", "absRecessedBlack", "absRecessedRaised", "absRecessedHighlight",
    "absRecessedBlackHighlight"};
enum TuiButtonLayout { ablGlyphLeft, ablGlyphRight, ablGlyphTop, ablGlyphBottom, ablGlyphCenter, ablGlyphTiled };
inline const TEnumNames uiButtonLayoutNames{"ablGlyphLeft", "ablGlyphRight", "ablGlyphTop", "ablGlyphBottom",
                                            "ablGlyphCenter", "ablGlyphTiled"};
enum TuiGlyphHighlight { aghNormal, aghGray, aghFade, aghDarken };
inline const TEnumNames uiGlyphHighlightNames{"aghNormal", "aghGray", "aghFade", "aghDarken"};
enum TuiTextStyle { tsNormal, tsRaised, tsLowered };
inline const TEnumNames uiTextStyleNames{"tsNormal", "tsRaised", "tsLowered"};

// Glyph states, the numbers of their sub-images.
enum TuiGlyphState { gsUp = 0, gsDisabled = 1, gsDown = 2, gsExclusive = 3, gsHot = 4 };

// Draws a button's face: a solid fill when asked, then the style's frame for the state; the rectangle
// shrinks by the frame. With Popup nothing follows the fill unless the button is down, hot or active.
void DrawButtonFace(TCanvas& Canvas, TRect& Rect, TuiButtonStyle Style, bool Fill, TColor Color, bool Active,
                    bool Down, bool Hot, bool Popup);
// Whether the style changes its frame when the mouse is over the button.
bool IsHighlightStyle(TuiButtonStyle Style);

// Where glyph and text go in a client rectangle: the glyph's top-left and the text's rectangle.
struct TuiGlyphLayout {
    TPoint GlyphPos;
    TRect TextRect;
};
// Margin -1: centred; Spacing -1: spread evenly; no glyph or no text: no spacing. Right and bottom
// layouts put the glyph at the far side with the text before it.
TuiGlyphLayout CalcGlyphLayout(const TRect& Client, TSize Glyph, TSize Text, TuiButtonLayout Layout, int Margin,
                               int Spacing);

// ---- Glyph lists ------------------------------------------------------------------------------------------

// Images of one size in numbered slots; a freed slot is handed out again before the list grows.
class TuiGlyphList {
public:
    TuiGlyphList(int width, int height) : FWidth(width), FHeight(height) {}
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // The lowest free slot, holding a copy of the image.
    int Add(const TBitmap& image);
    // Replaces a slot's image; EInvalidOperation "Invalid image size" for an image smaller than the
    // list's size, "Unable to Replace Image" for a slot that holds none.
    void Replace(int slot, const TBitmap& image);
    void Delete(int slot);
    const TBitmap* Image(int slot) const;
    int Used() const;

private:
    int FWidth, FHeight;
    std::vector<std::unique_ptr<TBitmap>> FSlots;
};

// One glyph list per size, shared by every glyph; a list that empties is dropped.
class TGlyphCache {
public:
    // The list of a size (made on demand; the newest first when looked up).
    TuiGlyphList& List(int width, int height);
    void Release(TuiGlyphList& list);
    int ListCount() const { return static_cast<int>(FLists.size()); }

private:
    std::vector<std::unique_ptr<TuiGlyphList>> FLists;
};
// The cache of the process (glyphs register and unregister; it empties when the last glyph goes).
TGlyphCache& GlyphCache();

// ---- The glyph --------------------------------------------------------------------------------------------

class TuiButtonGlyph {
public:
    TuiButtonGlyph();
    ~TuiButtonGlyph();

    TPicture& Picture() { return *FPicture; }
    const TPicture& Picture() const { return *FPicture; }
    // Copies the picture; NumGlyphs becomes width div height when the width is a multiple of the height
    // and the quotient below 6, else 1.
    void SetPicture(const TPicture& v);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int v);       // 1..5; above 5 gives 5
    // The colour left out: the picture's own transparent colour (0xFF00FF for others) until set.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor v);
    bool TransparentColorSet() const { return FTransparentSet; }
    TuiGlyphHighlight Highlight() const { return FHighlight; }
    void SetHighlight(TuiGlyphHighlight v);
    TColor FaceColor() const { return FFace; }
    void SetFaceColor(TColor v);
    bool Empty() const { return !FPicture->HasGraphic() || FPicture->Width() == 0 || FPicture->Height() == 0; }
    // One sub-image's size.
    TSize GlyphSize() const;

    // The state's image composed on the face, built once and kept until something changes.
    const TBitmap& StateImage(TuiGlyphState state);
    // Drops every built image.
    void Invalidate();

private:
    std::unique_ptr<TBitmap> SubImage(int index) const;
    std::unique_ptr<TBitmap> BuildImage(TuiGlyphState state);

    std::unique_ptr<TPicture> FPicture;
    int FNumGlyphs = 1;
    TColor FTransparent = 0xFF00FF;
    bool FTransparentSet = false;
    TuiGlyphHighlight FHighlight = aghNormal;
    TColor FFace = clBtnFace;
    std::array<int, 5> FSlots;
    TuiGlyphList* FList = nullptr;
};

// ---- The button -------------------------------------------------------------------------------------------

class TuiPicBtn : public TButton {
    VSP_PERSISTENT_CLASS
public:
    explicit TuiPicBtn(TComponent* AOwner);
    ~TuiPicBtn() override;

    TuiTextStyle TextStyle() const { return FTextStyle; }
    void SetTextStyle(TuiTextStyle v);
    TPicture& Picture() { return FGlyph.Picture(); }
    void SetPicture(const TPicture& v);
    TuiGlyphHighlight PictureHighlight() const { return FGlyph.Highlight(); }
    void SetPictureHighlight(TuiGlyphHighlight v);
    bool Popup() const { return FPopup; }
    void SetPopup(bool v);
    TColor TransparentColor() const { return FGlyph.TransparentColor(); }
    void SetTransparentColor(TColor v);
    TColor Color() const { return TButton::Color(); }
    void SetColor(TColor v);
    bool DisabledShadow() const { return FDisabledShadow; }
    void SetDisabledShadow(bool v);
    TuiButtonLayout Layout() const { return FLayout; }
    void SetLayout(TuiButtonLayout v);
    int Margin() const { return FMargin; }
    void SetMargin(int v);          // values below -1 are ignored
    int NumGlyphs() const { return FGlyph.NumGlyphs(); }
    void SetNumGlyphs(int v);
    TuiCustomWaveList* SoundList() const { return FSoundList; }
    void SetSoundList(TuiCustomWaveList* v);
    int SoundDown() const { return FSoundDown; }
    void SetSoundDown(int v) { FSoundDown = v; }
    int SoundOver() const { return FSoundOver; }
    void SetSoundOver(int v) { FSoundOver = v; }
    TuiButtonStyle Style() const { return FStyle; }
    void SetStyle(TuiButtonStyle v);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int v);
    TuiButtonGlyph& Glyph() { return FGlyph; }
    // The caption's font.
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    bool MouseInside() const { return FMouseInside; }
    // The style tracks the mouse: Popup, a highlight of the glyph, or a highlight style.
    bool IsHotTrackStyle() const;

    TNotifyEvent OnMouseEnter, OnMouseLeave;

protected:
    void DrawItem(TCanvas& Canvas, const TRect& Rect, TOwnerDrawState State) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void EnabledChanged() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void DrawCaption(TCanvas& Canvas, const TRect& TextRect, bool Enabled);

    bool FDisabledShadow = false;
    TuiButtonGlyph FGlyph;
    TFont FFont;
    TuiButtonLayout FLayout = ablGlyphLeft;
    int FMargin = -1;
    bool FMouseInside = false;
    bool FPopup = false;
    int FSpacing = 4;
    TuiButtonStyle FStyle = absAutoDetect;
    TuiTextStyle FTextStyle = tsNormal;
    TuiCustomWaveList* FSoundList = nullptr;
    int FSoundDown = -1, FSoundOver = -1;
};
