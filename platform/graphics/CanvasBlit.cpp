// TCanvas block transfers (from another canvas, from pixels, from pictures) and frame controls.

#include "platform/graphics/CanvasImpl.h"

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/ImageBackend.h"
#include "platform/graphics/Raster.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cmath>

namespace {

// Cuts the part of a pixel buffer that a source rectangle names (outside pixels read as white).
std::shared_ptr<TPixelBuffer> Cut(const TPixelBuffer& src, int sx, int sy, int sw, int sh)
{
    auto out = std::make_shared<TPixelBuffer>();
    out->Width = sw;
    out->Height = sh;
    out->Alpha = src.Alpha;
    out->Pixels.assign(static_cast<std::size_t>(sw) * sh, 0xFFFFFF);
    for (int y = 0; y < sh; ++y) {
        const int yy = sy + y;
        if (yy < 0 || yy >= src.Height) continue;
        for (int x = 0; x < sw; ++x) {
            const int xx = sx + x;
            if (xx >= 0 && xx < src.Width) out->At(x, y) = src.At(xx, yy);
        }
    }
    return out;
}

constexpr int MaxTransfer = 1 << 15;   // a transfer larger than any device is cut to this

}  // namespace

// Fills in where a transfer to the logical destination rectangle x, y, w, h lands (negative sizes
// mirror) and the device state it lands under; false when it lands nowhere.
static bool PlaceImage(TCanvas& cv, TCanvas::Impl& dc, TImageCommand& c, int x, int y, int w, int h)
{
    c.Brush = dc.DeviceBrush(cv.Brush());
    const TAffine t = dc.Transform();
    const TPointF p0 = t.Map(x, y), p1 = t.Map(double(x) + w, y), p2 = t.Map(x, double(y) + h);
    if (t.AxisAligned()) {
        const TPoint a = dc.ToDeviceInt(x, y);
        const TPoint b = dc.ToDeviceInt(static_cast<int>(std::clamp<long long>(static_cast<long long>(x) + w, INT32_MIN, INT32_MAX)),
                                        static_cast<int>(std::clamp<long long>(static_cast<long long>(y) + h, INT32_MIN, INT32_MAX)));
        c.Dest = {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
        c.MirrorX = b.x < a.x;
        c.MirrorY = b.y < a.y;
    } else {
        c.Affine = true;
        c.Corners[0] = p0;
        c.Corners[1] = p1;
        c.Corners[2] = p2;
        const TPointF p3{p1.x + p2.x - p0.x, p1.y + p2.y - p0.y};
        const double l = std::min({p0.x, p1.x, p2.x, p3.x}), r = std::max({p0.x, p1.x, p2.x, p3.x});
        const double tp = std::min({p0.y, p1.y, p2.y, p3.y}), b = std::max({p0.y, p1.y, p2.y, p3.y});
        c.Dest = {PixelFromReal(std::floor(l)), PixelFromReal(std::floor(tp)), PixelFromReal(std::ceil(r)),
                  PixelFromReal(std::ceil(b))};
    }
    if (c.Dest.IsEmpty() || !cv.Backend()) return false;
    c.State = dc.DeviceState();
    return true;
}

// Sends a transfer of src (the source rectangle already cut out) to the logical destination
// rectangle x, y, w, h; negative sizes mirror.
static bool SendImage(TCanvas& cv, TCanvas::Impl& dc, TCanvasOp op, std::vector<int> args, int x, int y, int w, int h,
                      std::shared_ptr<const TPixelBuffer> src, std::uint32_t rop3, bool monochrome, TColor transparent)
{
    TImageCommand c;
    c.Op = op;
    c.Args = std::move(args);
    c.Source = std::move(src);
    c.Rop3 = rop3;
    c.MonochromeSource = monochrome;
    c.Transparent = transparent != -1;
    c.TransparentColor = transparent != -1 ? transparent : 0;
    if (!PlaceImage(cv, dc, c, x, y, w, h)) return false;
    cv.Backend()->DrawImage(c);
    return true;
}

bool TCanvas::BitBlt(int x, int y, int w, int h, const TCanvas& src, int sx, int sy, std::uint32_t rop3)
{
    return StretchBlt(x, y, w, h, src, sx, sy, w, h, rop3);
}

bool TCanvas::StretchBlt(int x, int y, int w, int h, const TCanvas& src, int sx, int sy, int sw, int sh,
                         std::uint32_t rop3)
{
    if (!FBackend) return false;
    std::shared_ptr<TPixelBuffer> pixels;
    bool mono = false;
    if (raster::Rop3UsesSource(rop3)) {
        if (!src.FBackend) return false;
        // The source rectangle in the source's device pixels.
        const TPoint a = src.FImpl->ToDeviceInt(sx, sy);
        const TPoint b = src.FImpl->ToDeviceInt(sx + sw, sy + sh);
        TRect r{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
        if (r.Width() > MaxTransfer || r.Height() > MaxTransfer || r.IsEmpty()) return false;
        // A plain copy of the same size between two pixel memories (a chart's buffer shown on its control)
        // goes from memory to memory with no pixel buffer between.
        auto* to = dynamic_cast<TImageBackend*>(FBackend.get());
        const auto* from = dynamic_cast<const TImageBackend*>(src.FBackend.get());
        if (to && from && rop3 == SRCCOPY && w == sw && h == sh && a.x < b.x && a.y < b.y) {
            TImageCommand c;
            c.Args = {x, y, w, h, sx, sy, sw, sh, static_cast<int>(rop3)};
            if (!PlaceImage(*this, *FImpl, c, x, y, w, h)) return false;
            if (!c.Affine && !c.MirrorX && !c.MirrorY && c.Dest.Width() == r.Width() && c.Dest.Height() == r.Height() &&
                to->CopyFrom(*from, r.TopLeft(), c))
                return true;
        }
        // Repeated transfers out of one canvas (a back buffer shown on its control) reuse its buffer.
        constexpr long long KeptPixels = 8LL << 20;
        std::shared_ptr<TPixelBuffer>& kept = src.FImpl->TransferBuffer;
        if (kept && kept.use_count() == 1 && static_cast<long long>(r.Width()) * r.Height() <= KeptPixels)
            pixels = kept;
        else
            pixels = std::make_shared<TPixelBuffer>();
        if (static_cast<long long>(r.Width()) * r.Height() <= KeptPixels) kept = pixels;
        if (!src.FBackend->ReadPixels(r, *pixels)) return false;
        // A mirrored source rectangle: mirror the pixels, so the destination's mirroring alone remains.
        if (b.x < a.x) {
            for (int yy = 0; yy < pixels->Height; ++yy)
                std::reverse(pixels->Pixels.begin() + static_cast<std::ptrdiff_t>(yy) * pixels->Width,
                             pixels->Pixels.begin() + static_cast<std::ptrdiff_t>(yy + 1) * pixels->Width);
        }
        if (b.y < a.y) {
            for (int yy = 0; yy < pixels->Height / 2; ++yy)
                std::swap_ranges(pixels->Pixels.begin() + static_cast<std::ptrdiff_t>(yy) * pixels->Width,
                                 pixels->Pixels.begin() + static_cast<std::ptrdiff_t>(yy + 1) * pixels->Width,
                                 pixels->Pixels.begin() + static_cast<std::ptrdiff_t>(pixels->Height - 1 - yy) * pixels->Width);
        }
        mono = src.FBackend->Caps().BitsPerPixel == 1;
    }
    return SendImage(*this, *FImpl, w == sw && h == sh ? TCanvasOp::BitBlt : TCanvasOp::StretchBlt,
                     {x, y, w, h, sx, sy, sw, sh, static_cast<int>(rop3)}, x, y, w, h, pixels, rop3, mono, -1);
}

bool TCanvas::StretchPixels(int x, int y, int w, int h, const TPixelBuffer& src, int sx, int sy, int sw, int sh,
                            std::uint32_t rop3)
{
    if (!FBackend || sw == 0 || sh == 0) return false;
    if (std::abs(sw) > MaxTransfer || std::abs(sh) > MaxTransfer) return false;
    // A negative source size mirrors too: cut the positive rectangle and flip the destination.
    int cx = sx, cy = sy, cw = sw, ch = sh;
    if (cw < 0) { cx += cw; cw = -cw; }
    if (ch < 0) { cy += ch; ch = -ch; }
    std::shared_ptr<TPixelBuffer> part = Cut(src, cx, cy, cw, ch);
    int dx = x, dy = y, dw = w, dh = h;
    if (sw < 0) { dx = x + w; dw = -w; }
    if (sh < 0) { dy = y + h; dh = -h; }
    return SendImage(*this, *FImpl, TCanvasOp::StretchBlt, {x, y, w, h, sx, sy, sw, sh, static_cast<int>(rop3)}, dx, dy,
                     dw, dh, part, rop3, false, -1);
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& src, const TRect& source)
{
    StretchBlt(dest.Left, dest.Top, dest.Width(), dest.Height(), src, source.Left, source.Top, source.Width(),
               source.Height(), FImpl->St.CopyMode);
}

void TCanvas::Draw(int x, int y, const TGraphic& g)
{
    if (g.Empty()) return;
    StretchDraw({x, y, x + g.Width(), y + g.Height()}, g);
}

void TCanvas::StretchDraw(const TRect& r, const TGraphic& g)
{
    if (g.Empty() || !FBackend) return;
    if (g.Width() > MaxTransfer || g.Height() > MaxTransfer) return;
    auto px = std::make_shared<TPixelBuffer>(g.ToPixels());
    const auto* bmp = dynamic_cast<const TBitmap*>(&g);
    const bool mono = bmp && bmp->Monochrome();
    const TColor transparent = g.TransparentRGB();
    SendImage(*this, *FImpl, r.Width() == g.Width() && r.Height() == g.Height() ? TCanvasOp::Draw : TCanvasOp::StretchDraw,
              {r.Left, r.Top, r.Right, r.Bottom}, r.Left, r.Top, r.Width(), r.Height(), px,
              transparent != -1 ? SRCCOPY : FImpl->St.CopyMode, mono, transparent);
}

void TCanvas::BrushCopy(const TRect& dest, const TBitmap& bitmap, const TRect& source, TColor color)
{
    if (bitmap.Empty() || !FBackend || source.IsEmpty()) return;
    if (source.Width() > MaxTransfer || source.Height() > MaxTransfer) return;
    const TPixelBuffer px = bitmap.ToPixels();
    SendImage(*this, *FImpl, TCanvasOp::StretchBlt,
              {dest.Left, dest.Top, dest.Right, dest.Bottom, source.Left, source.Top, source.Right, source.Bottom},
              dest.Left, dest.Top, dest.Width(), dest.Height(),
              Cut(px, source.Left, source.Top, source.Width(), source.Height()), SRCCOPY, false, RgbOf(color));
}

// ---- frame controls ----

namespace {

// A check mark of seven columns in a box of the given side, as the classic controls draw it.
void DrawCheckMark(TCanvas& cv, int l, int t, int side, TColor color)
{
    const int ox = l + (side - 7) / 2, oy = t + (side - 7) / 2;
    // Column offsets of the mark's top row; each column is three pixels tall.
    static const int rows[7] = {2, 3, 4, 3, 2, 1, 0};
    for (int i = 0; i < 7; ++i)
        for (int k = 0; k < 3; ++k) cv.SetPixel(ox + i, oy + rows[i] + k, color);
}

}  // namespace

bool DrawPushButtonFrame(TCanvas& cv, const TRect& r, unsigned state);   // CanvasEdges.cpp
bool DrawScrollFrame(TCanvas& cv, const TRect& r, unsigned state);       // CanvasScrollFrame.cpp

bool TCanvas::DrawFrameControl(const TRect& r0, unsigned type, unsigned state)
{
    if (type == DFC_SCROLL) return DrawScrollFrame(*this, r0, state);
    if (type != DFC_BUTTON) return false;
    if ((state & 0xFF) == DFCS_BUTTONPUSH) return DrawPushButtonFrame(*this, r0, state);
    TRect r = r0;
    if (r.IsEmpty()) return false;
    const int level = SaveDC();
    const bool inactive = state & DFCS_INACTIVE, pushed = state & DFCS_PUSHED, checked = state & DFCS_CHECKED;
    const bool flat = state & (DFCS_FLAT | DFCS_MONO);
    // The box fills the square of the rectangle's smaller side, as the desktop's frame controls do.
    const int side = std::min(r.Width(), r.Height());
    const int l = r.Left + (r.Width() - side) / 2, t = r.Top + (r.Height() - side) / 2;
    const TColor face = inactive || pushed ? clBtnFace : clWindow;
    const TColor mark = inactive ? clGrayText : clWindowText;
    TBrush b;
    TPen& pen = Pen();
    pen.SetWidth(1);
    pen.SetStyle(psSolid);
    pen.SetMode(pmCopy);
    if ((state & 0xFF) == DFCS_BUTTONRADIO) {
        Brush().SetStyle(bsSolid);
        Brush().SetColor(face);
        pen.SetColor(flat ? clBtnShadow : clBtnShadow);
        Ellipse(l, t, l + side, t + side);
        if (checked) {
            Brush().SetColor(mark);
            pen.SetColor(mark);
            const int c = side / 2;
            Ellipse(l + c - 2, t + c - 2, l + c + 2, t + c + 2);
        }
    } else {
        b.SetColor(face);
        FillRect({l, t, l + side, t + side}, b);
        if (flat) {
            b.SetColor(clBtnShadow);
            FrameRect({l, t, l + side, t + side}, b);
        } else {
            // A sunken edge: shadow and dark shadow above and left, highlight and light below and right.
            const struct { TColor TopLeft, BottomRight; } rings[2] = {{clBtnShadow, clBtnHighlight}, {cl3DDkShadow, cl3DLight}};
            for (int i = 0; i < 2; ++i) {
                const int a = l + i, bt = t + i, c = l + side - 1 - i, d = t + side - 1 - i;
                pen.SetColor(rings[i].TopLeft);
                MoveTo(a, d - 1);
                LineTo(a, bt);
                LineTo(c, bt);
                pen.SetColor(rings[i].BottomRight);
                MoveTo(a, d);
                LineTo(c, d);
                LineTo(c, bt - 1);
            }
        }
        if (checked) DrawCheckMark(*this, l, t, side, mark);
    }
    RestoreDC(level);
    return true;
}
