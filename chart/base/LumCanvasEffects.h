// The chart engine's remaining style objects: the offset shadow of boxes and ellipses, the gradient
// family (two or three colours in ten directions with a balance curve), the chart font with spacing,
// outline, shadow and gradient fill, and the blend that makes any drawing translucent by capturing the
// pixels underneath first and mixing them back afterwards.
#pragma once

#include "chart/base/LumCanvasStyles.h"
#include "platform/graphics/GraphicsObjects.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>

class TBitmap;
class TLumCanvas;
class TCanvas3D;

// A transparency percent, 0 (opaque) to 100.
using TLumTransparency = std::uint8_t;

// ---- Shadow --------------------------------------------------------------------------------------------

// The offset shadow of a box or an ellipse: a smooth fade of lines or a solid band, optionally
// translucent. Owners that want other defaults change the default colour and size the stored tests use.
class TLumShadow : public TGraphicsObject {
    VSP_PERSISTENT_CLASS
public:
    explicit TLumShadow(TNotifyEvent onChange = nullptr);
    ~TLumShadow() override;
    TLumShadow(const TLumShadow&) = delete;
    TLumShadow& operator=(const TLumShadow&) = delete;

    // From a shadow: Color, HorizSize, Smooth, Transparency, VertSize, without change event.
    void Assign(const TPersistent& Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    int HorizSize() const { return FHorizSize; }
    void SetHorizSize(int v);
    int VertSize() const { return FVertSize; }
    void SetVertSize(int v);
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool v);
    TLumTransparency Transparency() const { return FTransparency; }
    void SetTransparency(TLumTransparency v);

    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor v) { FDefaultColor = v; }
    int DefaultSize() const { return FDefaultSize; }
    void SetDefaultSize(int v) { FDefaultSize = v; }

    // The larger of the two sizes; both sizes at once.
    int MaxOffset() const;
    void SetUniformSize(int n);

    // Draws the shadow of rect (at depth z), or of the ellipse inscribed in rect.
    void DrawRect(TCanvas3D& canvas, const TRect& rect) { DrawRectAtZ(canvas, rect, 0); }
    void DrawRectAtZ(TCanvas3D& canvas, const TRect& rect, int z);
    void DrawEllipseShadow(TCanvas3D& canvas, const TRect& rect, int z);

private:
    // The sizes drawn for rect: a smooth fade within the box, a solid band within the pixels.
    void EffectiveSizes(const TRect& rect, bool smooth, int& h, int& v) const;
    bool Prepare(TCanvas3D& canvas, const TRect& rect, int z);
    void Finish(TCanvas3D& canvas);
    void DrawSmoothFade(TCanvas3D& canvas, const TRect& rect, int z);
    void DrawFlatBands(TCanvas3D& canvas, const TRect& rect);

    TColor FColor = clSilver;
    int FHorizSize = 0;
    int FVertSize = 0;
    bool FSmooth = true;
    TLumTransparency FTransparency = 0;
    TColor FDefaultColor = clSilver;
    int FDefaultSize = 0;
    std::unique_ptr<class TLumBlend> FBlend;
};

// ---- Gradients -----------------------------------------------------------------------------------------

enum TGradientDirection {
    gdTopBottom, gdBottomTop, gdLeftRight, gdRightLeft, gdFromCenter, gdFromTopLeft, gdFromBottomLeft, gdRadial,
    gdDiagonalUp, gdDiagonalDown
};
inline const TEnumNames GradientDirectionNames{"gdTopBottom", "gdBottomTop", "gdLeftRight", "gdRightLeft",
                                               "gdFromCenter", "gdFromTopLeft", "gdFromBottomLeft", "gdRadial",
                                               "gdDiagonalUp", "gdDiagonalDown"};

// A gradient fill; TLumGradient publishes its settings.
class TCustomLumGradient : public TGraphicsObject {
    VSP_PERSISTENT_CLASS
public:
    explicit TCustomLumGradient(TNotifyEvent onChange = nullptr);
    TCustomLumGradient(const TCustomLumGradient&) = delete;
    TCustomLumGradient& operator=(const TCustomLumGradient&) = delete;

    // From a gradient: every setting and the mid-colour flag, without change event.
    void Assign(const TPersistent& Source) override;

    int Balance() const { return FBalance; }
    void SetBalance(int v);
    TGradientDirection Direction() const { return FDirection; }
    void SetDirection(TGradientDirection v);
    TColor EndColor() const { return FEndColor; }
    void SetEndColor(TColor v);
    TColor StartColor() const { return FStartColor; }
    void SetStartColor(TColor v);
    // clNone while no mid colour is set. Writing clNone switches the mid colour off.
    TColor MidColor() const { return FHasMidColor ? FMidColor : clNone; }
    void SetMidColor(TColor v);
    bool HasMidColor() const { return FHasMidColor; }
    void TurnOnMidColor();
    int RadialX() const { return FRadialX; }
    void SetRadialX(int v);
    int RadialY() const { return FRadialY; }
    void SetRadialY(int v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);

    // Fills rect with the gradient, inside a rounded rectangle of that corner size when above 0.
    void DrawRect(TLumCanvas& canvas, const TRect& rect, int cornerSize = 0);
    // The radial fill of rect: rings from EndColor at the edge to StartColor at the centre.
    void DrawRadial(TLumCanvas& canvas, const TRect& rect);
    // Fills a polygon: clipped to it (projected at depth z when project is set), the fill covering its
    // bounding rectangle.
    void FillPolygon(TCanvas3D& canvas, std::span<const TPoint> points, bool project, int z);
    // Fills the quad of four screen points, or of four points projected at depth z.
    void FillQuad(TLumCanvas& canvas, const std::array<TPoint, 4>& points);
    void FillQuadAtZ(TCanvas3D& canvas, const std::array<TPoint, 4>& points, int z);

private:
    template <class T>
    void Store(T& field, T v);

    int FBalance = 50;
    TGradientDirection FDirection = gdTopBottom;
    TColor FEndColor = clYellow;
    TColor FMidColor = clNone;
    TColor FStartColor = clWhite;
    int FRadialX = 0;
    int FRadialY = 0;
    bool FVisible = false;
    bool FHasMidColor = false;
};

class TLumGradient : public TCustomLumGradient {
    VSP_PERSISTENT_CLASS
public:
    using TCustomLumGradient::TCustomLumGradient;
};

// The gradient of a chart font; Outline fills only the widened outline of the text.
class TLumFontGradient : public TLumGradient {
    VSP_PERSISTENT_CLASS
public:
    using TLumGradient::TLumGradient;

    void Assign(const TPersistent& Source) override;
    bool Outline() const { return FOutline; }
    void SetOutline(bool v);

private:
    bool FOutline = false;
};

// ---- Chart font ----------------------------------------------------------------------------------------

// A font with inter-character spacing, an outline pen, a shadow and a gradient fill (each created on
// first read and reporting through the font's change event). Its name and size start from the default
// chart font.
class TLumFont : public TFont {
    VSP_PERSISTENT_CLASS
public:
    explicit TLumFont(TNotifyEvent onChange = nullptr);
    ~TLumFont() override;
    TLumFont(const TLumFont&) = delete;
    TLumFont& operator=(const TLumFont&) = delete;

    // From a chart font: gradient, InterCharSize, outline and shadow (a source without one frees this
    // font's), then the font itself. Other sources go to the inherited Assign.
    void Assign(const TPersistent& Source) override;

    TLumFontGradient& Gradient();
    bool HasGradient() const { return FGradient != nullptr; }
    TChartHiddenPen& OutLine();
    bool HasOutLine() const { return FOutLine != nullptr; }
    TLumShadow& Shadow();
    bool HasShadow() const { return FShadow != nullptr; }
    // The sub-objects when they exist, without creating them.
    const TLumFontGradient* GradientIfAny() const { return FGradient.get(); }
    const TChartHiddenPen* OutLineIfAny() const { return FOutLine.get(); }
    const TLumShadow* ShadowIfAny() const { return FShadow.get(); }
    int InterCharSize() const { return FInterCharSize; }
    void SetInterCharSize(int v);

    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor v) { FDefaultColor = v; }
    TFontStyles DefaultStyle() const { return FDefaultStyle; }
    void SetDefaultStyle(TFontStyles v) { FDefaultStyle = v; }

    // The canvas the font was last selected into (for identity only; it may be gone).
    const TLumCanvas* LastCanvas() const { return FLastCanvas; }
    void SetLastCanvas(const TLumCanvas* canvas) { FLastCanvas = canvas; }
    // Expires when the font is destroyed, so a canvas never uses a font that is gone.
    std::weak_ptr<const void> LifeToken() const { return FLifeToken; }

private:
    TNotifyEvent SubObjectHandler();

    std::unique_ptr<TLumFontGradient> FGradient;
    std::unique_ptr<TChartHiddenPen> FOutLine;
    std::unique_ptr<TLumShadow> FShadow;
    int FInterCharSize = 0;
    TColor FDefaultColor = clBlack;
    TFontStyles FDefaultStyle;
    const TLumCanvas* FLastCanvas = nullptr;
    std::shared_ptr<const void> FLifeToken;
};

// ---- Blend ---------------------------------------------------------------------------------------------

// Makes a drawing translucent: captures the pixels of a rectangle before the drawing and mixes them back
// over it afterwards. TLumCanvas::BeginTransparency and EndTransparency wrap it; each blend keeps its own
// percent, so nested blends do not disturb each other.
class TLumBlend {
public:
    TLumBlend(TLumCanvas& canvas, const TRect& rect, int percent = 0);
    ~TLumBlend();
    TLumBlend(const TLumBlend&) = delete;
    TLumBlend& operator=(const TLumBlend&) = delete;

    // Retargets the blend to rect (sorted, clamped to the canvas bounds) and copies its pixels.
    void CaptureBackground(const TRect& rect);
    // Mixes the captured pixels back: percent 0 keeps the new drawing, 100 restores the background.
    void BlendOver(int percent);

    int Percent() const { return FPercent; }
    const TRect& BlendRect() const { return FRect; }
    bool Valid() const { return FValid; }

private:
    TLumCanvas& FCanvas;
    TRect FRect;
    std::unique_ptr<TBitmap> FBitmap;
    bool FValid = false;
    int FPercent;
};

// Mixes source over destination at position: each destination pixel becomes
// d + a (s - d) / 255 with a = 255 - round(weight × 2.55), so weight 100 keeps the destination and 0
// copies the source. Both bitmaps become 24-bit; negative positions count as 0.
void MixBitmapOver(TBitmap& source, TBitmap& destination, TPoint position, double weight);
