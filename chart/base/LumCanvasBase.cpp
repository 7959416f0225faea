// What the abstract chart canvas does itself: attaching a device canvas, the reset state, selecting chart
// pens, brushes and fonts, measuring, transparency, the bevel frame, the clip stack, and the 3-D helpers
// that compose the projection.
#include "chart/base/LumCanvasBase.h"

#include "chart/base/LumBrushDlg.h"
#include "chart/base/LumHtml.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Region.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

TLumCanvas::TLumCanvas() = default;
TLumCanvas::~TLumCanvas() = default;

TCanvas& TLumCanvas::Device() const
{
    if (FCanvas) return *FCanvas;
    // Without an attached device, an empty canvas measures with fixed metrics and draws nothing.
    if (!FEmptyCanvas) FEmptyCanvas = std::make_unique<TCanvas>();
    return *FEmptyCanvas;
}

TPen& TLumCanvas::Pen() const { return Device().Pen(); }
TBrush& TLumCanvas::Brush() const { return Device().Brush(); }
TFont& TLumCanvas::Font() const { return Device().Font(); }

TLumFont* TLumCanvas::CurrentFont() const
{
    if (!FCurrentFont || FCurrentFontToken.expired()) return nullptr;
    return FCurrentFont;
}

void TLumCanvas::AttachCanvas(TCanvas* canvas)
{
    FCanvas = canvas;
    FClipStack.clear();
}

void TLumCanvas::ResetState()
{
    TCanvas& d = Device();
    d.Pen().SetColor(clBlack);
    d.Pen().SetWidth(1);
    d.Pen().SetStyle(psSolid);
    d.Brush().SetColor(clWhite);
    d.Brush().SetStyle(bsSolid);
    d.Font().SetColor(clBlack);
    d.Font().SetStyle(TFontStyles{});
    d.Font().SetCharset(1);
    d.Font().SetName(LumCanvasModule().DefaultFontName);
    d.Font().SetSize(LumCanvasModule().DefaultFontSize);
    FTransparency = 0;
    FCurrentFont = nullptr;
    FCurrentFontToken.reset();
    WriteBackColor(clWhite);
    WriteBackMode(TRANSPARENT);
    WriteTextAlign(TA_LEFT);
}

// ---- Pens ----------------------------------------------------------------------------------------------

namespace {

// The device pen of small dots: every other pixel, or one dot every SmallSpace + 1 pixels.
void MakeSmallDotsPen(TPen& device, const TChartPen& pen, TColor color)
{
    device.ResetGeometry();
    device.SetColor(ColorToRGB(color));
    device.SetWidth(1);
    if (pen.SmallSpace() <= 0) {
        device.SetStyle(psAlternate);
    } else {
        device.SetGeometric(true);
        device.SetStyle(psUserStyle);
        device.SetUserStyle({0, static_cast<std::uint32_t>(pen.SmallSpace()) + 1});
        device.SetEndCap(pecRound);
    }
    device.SetMode(pen.Mode());
}

// A wide chart pen as a geometric pen with the caps and joins of its end style.
void MakeGeometricPen(TPen& device, const TChartPen& pen, TColor color)
{
    static constexpr TPenEndCap caps[] = {pecRound, pecSquare, pecFlat};
    static constexpr TPenJoin joins[] = {pjRound, pjBevel, pjMiter};
    device.Assign(pen);
    device.SetColor(color);
    device.SetGeometric(true);
    device.SetEndCap(caps[pen.EndStyle()]);
    device.SetJoin(joins[pen.EndStyle()]);
}

} // namespace

void TLumCanvas::SelectPenColor(const TPen& pen, TColor color)
{
    TPen& device = Device().Pen();
    if (IsMonochrome()) color = clBlack;
    auto* chartPen = dynamic_cast<const TChartPen*>(&pen);
    device.BeginUpdate();
    if (chartPen && !chartPen->Visible()) {
        device.SetStyle(psClear);
    } else if (chartPen && LumCanvasModule().GeometricPens && !HasOwnRenderer()) {
        if (chartPen->SmallDots())
            MakeSmallDotsPen(device, *chartPen, color);
        else if (chartPen->Width() < 2) {
            device.Assign(pen);
            device.SetColor(color);
        } else {
            MakeGeometricPen(device, *chartPen, color);
        }
    } else {
        device.Assign(pen);
        device.SetColor(color);
    }
    device.EndUpdate();
}

// ---- Brushes -------------------------------------------------------------------------------------------

namespace {
// The pattern in its two colours, so the gaps are painted whatever the background mode (the mode then
// stays transparent for the text drawn afterwards).
TBitmap* ColouredPattern(const TBitmap& pattern, TColor fillColor, TColor backColor)
{
    TLumCanvasModule& m = LumCanvasModule();
    if (!m.PatternColorBitmap) m.PatternColorBitmap = std::make_unique<TBitmap>();
    TBitmap& out = *m.PatternColorBitmap;
    out.SetPixelFormat(pf24bit);
    out.SetSize(pattern.Width(), pattern.Height());
    const TColor fill = ColorToRGB(fillColor), back = ColorToRGB(backColor);
    for (int y = 0; y < pattern.Height(); ++y)
        for (int x = 0; x < pattern.Width(); ++x) out.SetPixelRGB(x, y, pattern.PixelRGB(x, y) == clWhite ? back : fill);
    out.NotifyChanged();
    return &out;
}
} // namespace

void TLumCanvas::SelectBrushColors(TChartBrush& brush, TColor fillColor, TColor backColor)
{
    TCanvas& d = Device();
    TBrush& device = d.Brush();
    if (IsMonochrome()) fillColor = clWhite;
    const int style = brush.EffectiveStyle();

    if (style >= FirstPatternBrushStyle) {
        const int pattern = style - FirstPatternBrushStyle;
        device.BeginUpdate();
        device.SetBitmap(nullptr);
        device.SetStyle(bsClear);
        if (pattern >= PatternBitmapCount) {
            // Styles beyond the pattern bitmaps arrive from stored files: they draw as a clear brush.
            device.EndUpdate();
            return;
        }
        TLumCanvasModule& m = LumCanvasModule();
        if (!m.PatternBitmap) m.PatternBitmap = std::make_unique<TBitmap>();
        LoadPatternBitmap(pattern, *m.PatternBitmap);
        m.PatternBitmap->SetMonochrome(true);
        m.PatternBitmap->SetTransparent(true);
        m.PatternBitmap->SetTransparentColor(clWhite);
        const bool transparent = backColor == TransparentBackColor;
        device.SetBitmap(transparent ? m.PatternBitmap.get() : ColouredPattern(*m.PatternBitmap, fillColor, backColor));
        device.EndUpdate();
        d.SetBkMode(TRANSPARENT);
        if (transparent) {
            // The pattern's gaps are white and the mask keeps what lies beneath them.
            d.SetBkColor(clWhite);
            d.SetROP2(R2_MASKPEN);
        } else {
            d.SetBkColor(ColorToRGB(backColor));
        }
        d.SetTextColor(ColorToRGB(fillColor));
        return;
    }

    if (TBitmap* image = brush.ImageBitmap()) {
        device.BeginUpdate();
        device.SetStyle(bsClear);
        device.SetBitmap(image);
        device.EndUpdate();
        d.SetTextColor(ColorToRGB(fillColor));
        d.SetBkMode(OPAQUE);
        d.SetBkColor(ColorToRGB(backColor));
        return;
    }

    device.BeginUpdate();
    device.SetBitmap(nullptr);
    device.SetColor(fillColor);
    device.SetStyle(static_cast<TBrushStyle>(style));
    device.EndUpdate();
    if (backColor == TransparentBackColor) {
        d.SetBkMode(TRANSPARENT);
    } else {
        d.SetBkMode(OPAQUE);
        d.SetBkColor(ColorToRGB(backColor));
    }
}

void TLumCanvas::SetDarkerBrush(TColor color, int amount)
{
    const TColor darker = DarkenColorBy(color, amount);
    if (Brush().Style() != bsSolid)
        WriteBackColor(darker);
    else
        Brush().SetColor(darker);
}

// ---- Fonts and text ------------------------------------------------------------------------------------

void TLumCanvas::SelectFont(TLumFont& font)
{
    TCanvas& d = Device();
    font.SetPixelsPerInch(d.Font().PixelsPerInch());
    d.Font().BeginUpdate();
    d.Font().Assign(font);
    if (FFontZoom != 100) d.Font().SetSize(PixelFromReal(font.Size() * FFontZoom / 100));
    if (IsMonochrome()) d.Font().SetColor(clBlack);
    d.Font().EndUpdate();
    if (d.GetTextCharacterExtra() != font.InterCharSize()) d.SetTextCharacterExtra(font.InterCharSize());
    FCurrentFont = &font;
    FCurrentFontToken = font.LifeToken();
    font.SetLastCanvas(this);
}

namespace {
int ShadowWidth(const TLumFont* f) { return f && f->ShadowIfAny() ? std::abs(f->ShadowIfAny()->HorizSize()) : 0; }
int ShadowHeight(const TLumFont* f) { return f && f->ShadowIfAny() ? std::abs(f->ShadowIfAny()->VertSize()) : 0; }
} // namespace

int TLumCanvas::MeasureTextWidth(const std::string& text) { return Device().TextExtent(text).cx + ShadowWidth(CurrentFont()); }
int TLumCanvas::MeasureTextHeight(const std::string& text) { return Device().TextExtent(text).cy + ShadowHeight(CurrentFont()); }
int TLumCanvas::MeasureWideTextWidth(const std::u16string& text) { return Device().TextExtentW(text).cx + ShadowWidth(CurrentFont()); }
int TLumCanvas::MeasureWideTextHeight(const std::u16string& text) { return Device().TextExtentW(text).cy + ShadowHeight(CurrentFont()); }

void TLumCanvas::WriteTextOrHtml(int x, int y, const std::string& text, bool html)
{
    if (html)
        DrawHtmlText(*this, x, y, text);
    else
        WriteText(x, y, text);
}

// ---- Transparency and frames ---------------------------------------------------------------------------

std::unique_ptr<TLumBlend> TLumCanvas::BeginTransparency(const TRect& rect, int percent)
{
    FTransparency = percent & 0x7F;
    return std::make_unique<TLumBlend>(*this, rect, FTransparency);
}

void TLumCanvas::EndTransparency(std::unique_ptr<TLumBlend> blend)
{
    if (blend) blend->BlendOver(blend->Percent());
}

void TLumCanvas::DrawBevelFrame(TRect& rect, TColor topColor, TColor bottomColor, int width)
{
    TPen& pen = Pen();
    pen.SetWidth(1);
    pen.SetStyle(psSolid);
    --rect.Right;
    --rect.Bottom;
    // Beyond half the box's smaller side every further ring would only turn the box inside out.
    const std::int64_t side = std::min(std::int64_t(rect.Right) - rect.Left, std::int64_t(rect.Bottom) - rect.Top);
    width = static_cast<int>(std::clamp<std::int64_t>(width, 0, std::max<std::int64_t>(0, side / 2 + 1)));
    for (int i = 0; i < width; ++i) {
        pen.SetColor(topColor);
        const TPoint top[3] = {{rect.Left, rect.Bottom}, {rect.Left, rect.Top}, {rect.Right, rect.Top}};
        DrawPolylinePoints(top);
        pen.SetColor(bottomColor);
        const TPoint bottom[3] = {{rect.Right, rect.Top}, {rect.Right, rect.Bottom}, {rect.Left - 1, rect.Bottom}};
        DrawPolylinePoints(bottom);
        ++rect.Left;
        ++rect.Top;
        --rect.Right;
        --rect.Bottom;
    }
    ++rect.Right;
    ++rect.Bottom;
}

// ---- Clip stack ----------------------------------------------------------------------------------------

void TLumCanvas::PushClip()
{
    TSavedClip saved;
    saved.Had = Device().GetClipRgn(saved.Region) == 1;
    FClipStack.push_back(std::move(saved));
}

namespace {
// The clip in force, or the whole device when there is none.
TRegion ClipOrDevice(const TCanvas& d)
{
    TRegion clip;
    if (d.GetClipRgn(clip) == 1) return clip;
    const TDeviceCaps caps = d.Backend() ? d.Backend()->Caps() : TDeviceCaps{};
    return TRegion::FromRect(0, 0, caps.Width, caps.Height);
}

// The rectangle's corners in device pixels.
TRect DeviceRect(const TCanvas& d, const TRect& r)
{
    const TPoint a = d.LPtoDP(TPoint{r.Left, r.Top});
    const TPoint b = d.LPtoDP(TPoint{r.Right, r.Bottom});
    return {a.x, a.y, b.x, b.y};
}
} // namespace

void TLumCanvas::IntersectClip(const TRegion& region)
{
    TCanvas& d = Device();
    TSavedClip saved;
    saved.Had = d.GetClipRgn(saved.Region) == 1;
    TRegion combined;
    if (saved.Had)
        TRegion::Combine(combined, saved.Region, region, RGN_AND);
    else
        combined = region;
    FClipStack.push_back(std::move(saved));
    d.SelectClipRgn(&combined);
}

void TLumCanvas::ClipToRoundRect(const TRect& rect, int size)
{
    const TRect r = DeviceRect(Device(), rect);
    IntersectClip(TRegion::FromRoundRect(r.Left, r.Top, r.Right, r.Bottom, size, size));
}

void TLumCanvas::ClipToEllipse(const TRect& rect, bool inverted)
{
    TCanvas& d = Device();
    const TRect r = DeviceRect(d, rect);
    const TRegion ellipse = TRegion::FromEllipse(r.Left, r.Top, r.Right, r.Bottom);
    if (!inverted) {
        IntersectClip(ellipse);
        return;
    }
    // Cut out: the ellipse leaves the clip in force (the whole device when there is none).
    TRegion cut;
    TRegion::Combine(cut, ClipOrDevice(d), ellipse, RGN_XOR);
    PushClip();
    d.SelectClipRgn(&cut);
}

void TLumCanvas::ClipToPolygon(std::span<const TPoint> points)
{
    TCanvas& d = Device();
    // A copy in device pixels: the caller's points stay as they are.
    TPointArray device(points.begin(), points.end());
    if (!device.empty()) d.LPtoDP(device.data(), static_cast<int>(device.size()));
    IntersectClip(TRegion::FromPolygon(device, ALTERNATE));
}

void TLumCanvas::RemoveClip()
{
    TCanvas& d = Device();
    if (FClipStack.empty()) {
        d.SelectClipRgn(nullptr);
        return;
    }
    TSavedClip saved = std::move(FClipStack.back());
    FClipStack.pop_back();
    d.SelectClipRgn(saved.Had ? &saved.Region : nullptr);
}

// ---- TCanvas3D -----------------------------------------------------------------------------------------

TCanvas3D::TCanvas3D() = default;
TCanvas3D::~TCanvas3D() = default;

void TCanvas3D::SuspendRotation()
{
    if (FSuspended++ == 0) FlattenBegin();
}

void TCanvas3D::ResumeRotation()
{
    if (FSuspended == 0) return;
    if (--FSuspended == 0) FlattenEnd();
}

void TCanvas3D::DrawCircleAtZ(int x, int y, int z, double radius)
{
    const int r = PixelFromReal(radius);
    DrawEllipseAtZ(x - r, y - r, x + r, y + r, z);
}

TRect TCanvas3D::ProjectRect(const TRect& r, int z)
{
    const TPoint a = ProjectXYZ(r.Left, r.Top, z);
    const TPoint b = ProjectXYZ(r.Right, r.Bottom, z);
    return {a.x, a.y, b.x, b.y};
}

TFourPoints TCanvas3D::ProjectRectCorners(const TRect& r, int z)
{
    return {ProjectXYZ(r.Left, r.Top, z), ProjectXYZ(r.Right, r.Top, z), ProjectXYZ(r.Right, r.Bottom, z),
            ProjectXYZ(r.Left, r.Bottom, z)};
}

TRect TCanvas3D::ProjectedRectBounds(const TRect& r, int z)
{
    const TFourPoints corners = ProjectRectCorners(r, z);
    return PointsEnclosingRect(corners, 4);
}

void TCanvas3D::DrawPictureAtZ(const TRect& rect, const TGraphic* graphic, int z)
{
    if (!graphic || graphic->Empty()) return;
    const TPixelBuffer pixels = graphic->ToPixels();
    if (pixels.Width <= 0 || pixels.Height <= 0) return;
    Pen().SetStyle(psClear);
    TBrush& brush = Brush();
    const TColor oldColor = brush.Color();
    const TBrushStyle oldStyle = brush.Style();
    brush.SetStyle(bsSolid);
    const double sx = double(rect.Right - rect.Left) / pixels.Width;
    const double sy = double(rect.Bottom - rect.Top) / pixels.Height;
    for (int r = 0; r < pixels.Height; ++r) {
        const int y0 = rect.Top + PixelFromReal(r * sy), y1 = rect.Top + PixelFromReal((r + 1) * sy);
        for (int k = 0; k < pixels.Width; ++k) {
            const int x0 = rect.Left + PixelFromReal(k * sx), x1 = rect.Left + PixelFromReal((k + 1) * sx);
            const std::uint32_t p = pixels.At(k, r);  // 0x00RRGGBB
            brush.SetColor(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
            DrawQuadAtZ({x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, z);
        }
    }
    brush.SetColor(oldColor);
    brush.SetStyle(oldStyle);
}
