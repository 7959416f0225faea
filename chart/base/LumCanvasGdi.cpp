// The device canvas's state, buffered display, 2-D primitives, text with shadow, outline and gradient,
// the gradient fill of rectangles, and rectangle clipping.
#include "chart/base/LumCanvasGdi.h"

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Region.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cmath>

TLumCanvas3D::TLumCanvas3D() = default;

TLumCanvas3D::~TLumCanvas3D() { FreeBuffer(); }

// ---- Device state --------------------------------------------------------------------------------------

TColor TLumCanvas3D::ReadBackColor() const { return Device().GetBkColor(); }
int TLumCanvas3D::ReadBackMode() const { return Device().GetBkMode(); }
TColor TLumCanvas3D::ReadPixel(int x, int y) const { return Device().GetPixel(x, y); }
unsigned TLumCanvas3D::ReadTextAlign() const { return Device().GetTextAlign(); }
void TLumCanvas3D::WriteBackColor(TColor color) { Device().SetBkColor(ColorToRGB(color)); }
void TLumCanvas3D::WriteBackMode(int mode) { Device().SetBkMode(mode); }
void TLumCanvas3D::WritePixel(int x, int y, TColor color) { Device().SetPixel(x, y, ColorToRGB(color)); }
void TLumCanvas3D::WriteTextAlign(unsigned flags) { Device().SetTextAlign(flags); }

void TLumCanvas3D::ChangeMonochrome(bool value)
{
    if (FMonochrome == value) return;
    FMonochrome = value;
    FNeedsRedraw = true;
    if (View3DOptions() && View3DOptions()->Parent()) View3DOptions()->Parent()->RepaintPanel();
}

void TLumCanvas3D::ChangeBufferedDisplay(bool value)
{
    if (FBufferedDisplay == value) return;
    FBufferedDisplay = value;
    if (!value) {
        if (FBuffer && !FKeepBitmap) {
            FreeBuffer();
            FNeedsRedraw = true;
        }
    } else if (FBuffer) {
        AttachCanvas(&FBuffer->Canvas());
    }
}

void TLumCanvas3D::FreeBuffer()
{
    if (!FBuffer) return;
    // Never left drawing on a bitmap that is gone.
    if (AttachedCanvas() == &FBuffer->Canvas()) AttachCanvas(nullptr);
    FBuffer.reset();
}

void TLumCanvas3D::BlitBuffer(int x, int y, TCanvas& dest)
{
    if (!FBuffer) return;
    dest.BitBlt(x, y, FBuffer->Width(), FBuffer->Height(), FBuffer->Canvas(), 0, 0, SRCCOPY);
}

// ---- Buffered display ----------------------------------------------------------------------------------

TRect TLumCanvas3D::SetupView(TCanvas* target, TView3DOptions* options, TColor, bool view3D, const TRect& drawRect)
{
    SetBounds(drawRect);
    FView3DOptions = options;
    if (options) SetFontZoom(options->FontZoom());
    FProjection.Setup(options, view3D);
    FOrthogonal = FProjection.Orthogonal;

    // The off-screen bitmap is there to keep the picture between paints; a target that keeps it itself
    // is drawn on straight, which spares a copy of every pixel.
    FDrawnOnTarget = FBufferedDisplay && target && target == FKeepingTarget.Canvas;
    if (!FBufferedDisplay || FDrawnOnTarget) {
        if (FDrawnOnTarget && !FKeepBitmap) FreeBuffer();
        AttachCanvas(target);
        return drawRect;
    }
    const int width = std::max(drawRect.Right - drawRect.Left, 0);
    const int height = std::max(drawRect.Bottom - drawRect.Top, 0);
    if (!FBuffer) FBuffer = std::make_unique<TBitmap>(width, height, pf32bit);
    if (FBuffer->Width() != width || FBuffer->Height() != height) FBuffer->SetSize(width, height);
    AttachCanvas(&FBuffer->Canvas());
    return {0, 0, width, height};
}

void TLumCanvas3D::FinishDrawing(TCanvas* dest, TCanvas* restore, TPoint origin)
{
    if (FDrawnOnTarget) {
        FNeedsRedraw = false;
        FTargetChangesDrawn = FKeepingTarget.Changes ? FKeepingTarget.Changes() : 0;
    } else if (FBufferedDisplay && FBuffer) {
        if (dest) BlitBuffer(origin.x, origin.y, *dest);
        FNeedsRedraw = false;
    }
    AttachCanvas(restore);
}

bool TLumCanvas3D::RepaintFromBuffer()
{
    if (FNeedsRedraw || !AttachedCanvas()) return false;
    // Drawn straight, the picture is still on the target unless something was drawn there since.
    if (FDrawnOnTarget)
        return AttachedCanvas() == FKeepingTarget.Canvas && FKeepingTarget.Changes
               && FKeepingTarget.Changes() == FTargetChangesDrawn;
    if (!FBuffer) return false;
    BlitBuffer(0, 0, *AttachedCanvas());
    return true;
}

void TLumCanvas3D::SetKeepingTarget(TKeepingTarget Target)
{
    FKeepingTarget = std::move(Target);
    FDrawnOnTarget = false;
    FNeedsRedraw = true;
}

// ---- 2-D primitives ------------------------------------------------------------------------------------

void TLumCanvas3D::DrawArcCurve(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    Device().Arc(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TLumCanvas3D::DrawPieWedge(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    Device().Pie(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TLumCanvas3D::DrawEllipseBox(int x1, int y1, int x2, int y2) { Device().Ellipse(x1, y1, x2, y2); }
void TLumCanvas3D::DrawRectangleBox(int x0, int y0, int x1, int y1) { Device().Rectangle(x0, y0, x1, y1); }

void TLumCanvas3D::DrawRoundedBox(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight)
{
    Device().RoundRect(x1, y1, x2, y2, cornerWidth, cornerHeight);
}

void TLumCanvas3D::FillRectWithBrush(const TRect& rect) { Device().FillRect(rect); }
void TLumCanvas3D::MoveToXY(int x, int y) { Device().MoveTo(x, y); }
void TLumCanvas3D::LineToXY(int x, int y) { Device().LineTo(x, y); }

void TLumCanvas3D::DrawLineXY(int x0, int y0, int x1, int y1)
{
    Device().MoveTo(x0, y0);
    Device().LineTo(x1, y1);
}

void TLumCanvas3D::DrawHorizLine(int x0, int x1, int y) { DrawLineXY(x0, y, x1, y); }
void TLumCanvas3D::DrawVertLine(int x, int y0, int y1) { DrawLineXY(x, y0, x, y1); }

void TLumCanvas3D::DrawPolylinePoints(std::span<const TPoint> points)
{
    Device().Polyline(points.data(), static_cast<int>(points.size()));
}

void TLumCanvas3D::DrawPolygonPoints(std::span<const TPoint> points)
{
    Device().Polygon(points.data(), static_cast<int>(points.size()));
}

void TLumCanvas3D::StretchGraphic(const TRect& rect, const TGraphic* graphic)
{
    if (graphic) Device().StretchDraw(rect, *graphic);
}

void TLumCanvas3D::DrawGraphicAt(int x, int y, const TGraphic* graphic)
{
    if (graphic && !graphic->Empty()) Device().Draw(x, y, *graphic);
}

void TLumCanvas3D::DrawRingSegment(int xc, int yc, int xr, int yr, double start, double end, double donut)
{
    const double ixr = donut * xr / 100, iyr = donut * yr / 100;
    auto at = [xc, yc](double rx, double ry, double a) {
        return TPoint{xc + PixelFromReal(rx * std::cos(a)), yc - PixelFromReal(ry * std::sin(a))};
    };
    const TPoint outerStart = at(xr, yr, start), outerEnd = at(xr, yr, end);
    const TPoint innerStart = at(ixr, iyr, start), innerEnd = at(ixr, iyr, end);
    TCanvas& d = Device();
    d.BeginPath();
    d.MoveTo(outerStart.x, outerStart.y);
    d.ArcTo(xc - xr, yc - yr, xc + xr, yc + yr, outerStart.x, outerStart.y, outerEnd.x, outerEnd.y);
    d.LineTo(innerEnd.x, innerEnd.y);
    if (innerEnd != innerStart) {
        const int rx = PixelFromReal(ixr), ry = PixelFromReal(iyr);
        d.SetArcDirection(AD_CLOCKWISE);
        d.ArcTo(xc - rx, yc - ry, xc + rx, yc + ry, innerEnd.x, innerEnd.y, innerStart.x, innerStart.y);
        d.SetArcDirection(AD_COUNTERCLOCKWISE);
    }
    d.LineTo(outerStart.x, outerStart.y);
    d.EndPath();
    d.StrokeAndFillPath();
}

void TLumCanvas3D::ClipToRect(const TRect& rect)
{
    const TPoint a = Device().LPtoDP(TPoint{rect.Left, rect.Top});
    const TPoint b = Device().LPtoDP(TPoint{rect.Right, rect.Bottom});
    IntersectClip(TRegion::FromRect(a.x, a.y, b.x, b.y));
}

// ---- Text ----------------------------------------------------------------------------------------------

TRect TLumCanvas3D::TextRectAt(int x, int y, const std::string& text)
{
    const int w = MeasureTextWidth(text), h = MeasureTextHeight(text);
    unsigned align = ReadTextAlign();
    if (align > 7) align -= 8;
    TRect r{x, y, x + w, y + h};
    if (align == TA_RIGHT) {
        r.Left = x - w;
        r.Right = x;
    } else if (align == TA_CENTER) {
        r.Left = x - w / 2;
        r.Right = x + w / 2;
    }
    return r;
}

void TLumCanvas3D::WriteTextShadow(int& x, int& y, const std::string& text, TLumFont& font)
{
    const TLumShadow* shadow = font.ShadowIfAny();
    if (!shadow || (shadow->HorizSize() == 0 && shadow->VertSize() == 0)) return;
    const int h = shadow->HorizSize(), v = shadow->VertSize();
    const int sx = h >= 0 ? x + h : x, sy = v >= 0 ? y + v : y;
    if (h < 0) x -= h;
    if (v < 0) y -= v;
    std::unique_ptr<TLumBlend> blend;
    if (shadow->Transparency() > 0) blend = BeginTransparency(TextRectAt(sx, sy, text), shadow->Transparency());
    Device().SetTextColor(ColorToRGB(shadow->Color()));
    Device().TextOut(sx, sy, text);
    if (blend) EndTransparency(std::move(blend));
}

void TLumCanvas3D::WriteTextThroughPath(int x, int y, const std::string& text, TLumFont& font)
{
    TCanvas& d = Device();
    const TChartHiddenPen* outline = font.OutLineIfAny();
    const bool hasOutline = outline && outline->Visible();
    const TLumFontGradient* gradient = font.GradientIfAny();
    const bool hasGradient = gradient && gradient->Visible();

    auto buildPath = [&] {
        d.BeginPath();
        d.TextOut(x, y, text);
        d.EndPath();
    };
    if (hasOutline)
        SelectPen(*outline);
    else
        d.Pen().SetStyle(psClear);
    d.Brush().SetColor(d.Font().Color());
    d.Brush().SetStyle(bsSolid);
    d.SetBkMode(TRANSPARENT);
    buildPath();

    if (hasGradient) {
        if (gradient->Outline()) d.WidenPath();
        // The text clip goes on the clip stack, so removing it returns to the caller's clip.
        PushClip();
        d.SelectClipPath(RGN_AND);
        font.Gradient().DrawRect(*this, TextRectAt(x, y, text), 0);
        RemoveClip();
        if (gradient->Outline() || !hasOutline) return;
        buildPath();
        d.Brush().SetStyle(bsClear);
    }
    if (!hasOutline) {
        d.AbortPath();
        return;
    }
    if (font.Color() == clNone)
        d.StrokePath();
    else
        d.StrokeAndFillPath();
}

void TLumCanvas3D::WriteText(int x, int y, const std::string& text)
{
    TLumFont* font = CurrentFont();
    if (font) WriteTextShadow(x, y, text, *font);
    TCanvas& d = Device();
    d.SetTextColor(ColorToRGB(d.Font().Color()));
    const bool fancy = font
        && ((font->OutLineIfAny() && font->OutLineIfAny()->Visible()) || (font->GradientIfAny() && font->GradientIfAny()->Visible()));
    if (fancy)
        WriteTextThroughPath(x, y, text, *font);
    else
        d.TextOut(x, y, text);
}

void TLumCanvas3D::WriteRotatedText(int x, int y, const std::string& text, double angle)
{
    if (!std::isfinite(angle)) angle = 0;
    if (angle > 360) angle -= 360 * (std::ceil(angle / 360) - 1);
    TCanvas& d = Device();
    d.Brush().SetStyle(bsClear);
    const TFont previous = d.Font();
    TFont rotated = d.Font();
    rotated.SetOrientation(PixelFromReal(angle * 10));
    rotated.SetQuality(fqAntialiased);
    const double zoom = FProjection.Zoom;
    if (FProjection.ZoomText && zoom != 1)
        rotated.SetHeight(-MulDiv(std::max(1, PixelFromReal(rotated.Size() * zoom)), rotated.PixelsPerInch(), 72));
    d.Font().Assign(rotated);
    WriteText(x, y, text);
    d.Font().Assign(previous);
}

// ---- Gradient fill -------------------------------------------------------------------------------------

namespace {

// The colour of band i of n (0..n) between two RGB colours, with the balance curve.
class TBandColors {
public:
    TBandColors(TColor first, TColor second, int n, int balance) : FN(n), FBalance(balance)
    {
        FR = first & 0xFF;
        FG = (first >> 8) & 0xFF;
        FB = (first >> 16) & 0xFF;
        FDR = (second & 0xFF) - FR;
        FDG = ((second >> 8) & 0xFF) - FG;
        FDB = ((second >> 16) & 0xFF) - FB;
        FExponent = balance * 0.015 + 0.5;
    }
    TColor At(int i) const
    {
        if (FBalance == 50) return RGB(FR + FDR * i / FN, FG + FDG * i / FN, FB + FDB * i / FN);
        const double t = std::pow((i + 1.0) / (FN + 1.0), FExponent);
        return RGB(FR + PixelFromReal(FDR * t), FG + PixelFromReal(FDG * t), FB + PixelFromReal(FDB * t));
    }

private:
    int FN, FBalance;
    int FR, FG, FB, FDR, FDG, FDB;
    double FExponent;
};

// Paints the bands with the brush, changing the brush colour only when a band's colour differs.
class TBandPainter {
public:
    TBandPainter(TCanvas& canvas, const TBandColors& colors) : FCanvas(canvas), FColors(colors)
    {
        FCanvas.Brush().SetBitmap(nullptr);
        FCanvas.Brush().SetStyle(bsSolid);
    }
    void Select(int index)
    {
        const TColor c = FColors.At(index);
        if (c == FLast) return;
        FLast = c;
        FCanvas.Brush().SetColor(c);
    }
    void Fill(int x, int y, int w, int h)
    {
        if (w > 0 && h > 0) FCanvas.PatBlt(x, y, w, h, PATCOPY);
    }

private:
    TCanvas& FCanvas;
    const TBandColors& FColors;
    TColor FLast = -1;
};

void FillLinearBands(TBandPainter& paint, const TRect& r, bool vertical)
{
    const int size = vertical ? r.Bottom - r.Top : r.Right - r.Left;
    const int steps = std::min(size, 256);
    // Band 0 lies at the bottom (vertical) or the right edge.
    for (int i = 0; i < steps; ++i) {
        const int b0 = static_cast<int>(static_cast<long long>(i) * size / steps);
        const int b1 = static_cast<int>(static_cast<long long>(i + 1) * size / steps);
        paint.Select(i);
        if (vertical)
            paint.Fill(r.Left, r.Bottom - b1, r.Right - r.Left, b1 - b0);
        else
            paint.Fill(r.Right - b1, r.Top, b1 - b0, r.Bottom - r.Top);
    }
}

void FillFromCentre(TBandPainter& paint, const TRect& r)
{
    const int w = r.Right - r.Left, h = r.Bottom - r.Top, s = GradientCentreStep;
    int dx = 0, dy = 0;
    // Index 0 is the outer ring; each ring is four strips.
    while (dx < w / 2 || dy < h / 2) {
        paint.Select(dx + dy);
        paint.Fill(r.Left + dx, r.Top + dy, s, h - 2 * dy);
        paint.Fill(r.Right - dx - 1, r.Top + dy, s, h - 2 * dy);
        paint.Fill(r.Left + dx, r.Top + dy, w - 2 * dx, s);
        paint.Fill(r.Left + dx, r.Bottom - dy - s, w - 2 * dx, s);
        if (dy < h / 2) dy += s;
        if (dx < w / 2) dx += s;
    }
    // With both sides odd the rings stop one short of the centre pixel, which takes the last band.
    if (w % 2 != 0 && h % 2 != 0) {
        paint.Select(dx + dy);
        paint.Fill(r.Left + dx, r.Top + dy, 1, 1);
    }
}

void FillFromCorner(TBandPainter& paint, const TRect& r, bool fromTop)
{
    const int w = r.Right - r.Left, h = r.Bottom - r.Top;
    int i = 0, j = 0;
    // j rows done; each step paints the next column down to (or up from) the base row and the next row.
    while (j < h || i < w) {
        paint.Select(i + j);
        if (i < w) {
            if (fromTop)
                paint.Fill(r.Left + i, r.Top, 1, j);
            else
                paint.Fill(r.Left + i, r.Bottom - j, 1, j);
        }
        if (j < h) {
            const int width = std::min(i + 1, w);
            if (fromTop)
                paint.Fill(r.Left, r.Top + j, width, 1);
            else
                paint.Fill(r.Left, r.Bottom - j - 1, width, 1);
            ++j;
        }
        if (i < w) ++i;
    }
}

void FillDiagonal(TCanvas& d, const TBandColors& colors, const TRect& r, bool up, int n)
{
    const int w = r.Right - r.Left, h = r.Bottom - r.Top, total = w + h;
    TPen& pen = d.Pen();
    const TPen saved = pen;
    pen.ResetGeometry();
    pen.SetWidth(1);
    pen.SetStyle(psSolid);
    pen.SetMode(pmCopy);
    // Diagonal s holds the pixels at distance s (in x plus y steps) from the starting corner.
    for (int s = 0; s < total; ++s) {
        const int xFirst = std::max(0, s - (h - 1)), xLast = std::min(w - 1, s);
        if (xFirst > xLast) continue;
        pen.SetColor(colors.At(static_cast<int>(static_cast<long long>(n) * s / total)));
        const int row0 = s - xFirst, row1 = s - xLast;  // distance from the starting edge
        const int y0 = up ? r.Bottom - 1 - row0 : r.Top + row0;
        const int y1 = up ? r.Bottom - 1 - row1 : r.Top + row1;
        d.MoveTo(r.Left + xFirst, y0);
        d.LineTo(r.Left + xLast + 1, up ? y1 + 1 : y1 - 1);  // one past the last pixel
    }
    pen.Assign(saved);
}

} // namespace

void TLumCanvas3D::FillGradientRect(const TRect& rect, TColor startColor, TColor endColor,
                                    TGradientDirection direction, int balance)
{
    const TRect r = SortRectCorners(rect);
    if (direction == gdRadial) {
        TCustomLumGradient radial;
        radial.SetDirection(gdRadial);
        radial.SetStartColor(startColor);
        radial.SetEndColor(endColor);
        radial.DrawRect(*this, r, 0);
        return;
    }
    const int w = r.Right - r.Left, h = r.Bottom - r.Top;
    if (w <= 0 || h <= 0) return;

    const bool keepOrder =
        direction == gdTopBottom || direction == gdLeftRight || direction == gdDiagonalUp || direction == gdDiagonalDown;
    TColor first = ColorToRGB(keepOrder ? startColor : endColor);
    TColor second = ColorToRGB(keepOrder ? endColor : startColor);

    int n = 0;
    switch (direction) {
    case gdTopBottom:
    case gdBottomTop: n = std::min(h, 256) - 1; break;
    case gdLeftRight:
    case gdRightLeft: n = std::min(w, 256) - 1; break;
    case gdFromCenter: n = std::max(1, w / 2 + h / 2); break;
    case gdFromTopLeft:
    case gdFromBottomLeft: n = std::max(1, w + h); break;
    default: n = std::max(1, std::min(255, w + h - 1)); break;
    }
    if (n <= 0) return;

    TCanvas& d = Device();
    const TBrush savedBrush = d.Brush();
    const TBandColors colors(first, second, n, balance);
    TBandPainter paint(d, colors);
    switch (direction) {
    case gdTopBottom:
    case gdBottomTop: FillLinearBands(paint, r, true); break;
    case gdLeftRight:
    case gdRightLeft: FillLinearBands(paint, r, false); break;
    case gdFromCenter: FillFromCentre(paint, r); break;
    case gdFromTopLeft: FillFromCorner(paint, r, true); break;
    case gdFromBottomLeft: FillFromCorner(paint, r, false); break;
    case gdDiagonalUp: FillDiagonal(d, colors, r, true, n); break;
    case gdDiagonalDown: FillDiagonal(d, colors, r, false, n); break;
    default: break;
    }
    d.Brush().Assign(savedBrush);
}
