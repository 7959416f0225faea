// The image device: shapes and block transfers rasterised with raster operations pixel by pixel, text
// painted through Qt onto the same memory.

#include "platform/graphics/ImageBackend.h"

#include "platform/graphics/QtSupport.h"
#include "platform/graphics/Raster.h"
#include "platform/graphics/RegionImpl.h"
#include "platform/rtl/PixelMath.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <functional>

using namespace raster;

// A painter on an image over the memory it was made for.
struct TImageBackend::TTextPainter {
    explicit TTextPainter(const TImageMemory& m)
        : Memory(m),
          Image(m.Bits, m.Width, m.Height, m.Stride, m.BytesPerPixel == 4 ? QImage::Format_RGB32 : QImage::Format_BGR888),
          Painter(&Image)
    {
    }
    bool Over(const TImageMemory& m) const
    {
        return m.Bits == Memory.Bits && m.Width == Memory.Width && m.Height == Memory.Height &&
               m.Stride == Memory.Stride && m.BytesPerPixel == Memory.BytesPerPixel;
    }
    TImageMemory Memory;
    QImage Image;
    QPainter Painter;
};

TImageBackend::TImageBackend() = default;

TImageBackend::TImageBackend(const TImageMemory& memory, int dpi) : FMemory(memory), FDpi(dpi > 0 ? dpi : 96) {}

TImageBackend::~TImageBackend() = default;

void TImageBackend::SetKeepTextPainter(bool keep)
{
    FKeepTextPainter = keep;
    if (!keep) ReleaseTextPainter();
}

void TImageBackend::ReleaseTextPainter() { FTextPainter.reset(); }

std::shared_ptr<const TClipper> TImageBackend::ClipperFor(const TRegion* clip, const TRect& device)
{
    // Regions share their rectangles when copied, so an unchanged clip compares at once.
    const bool same = FClipper && FClipDevice == device && FClipped == (clip != nullptr) &&
                      (!clip || clip->GetImpl()->R == FClipRegion.GetImpl()->R);
    if (!same) {
        FClipper = std::make_shared<const TClipper>(clip, device);
        FClipDevice = device;
        FClipped = clip != nullptr;
        FClipRegion = clip ? *clip : TRegion();
    }
    return FClipper;
}

TDeviceCaps TImageBackend::Caps() const
{
    const TImageMemory m = Memory();
    TDeviceCaps c;
    c.Width = m.Width;
    c.Height = m.Height;
    c.DpiX = c.DpiY = FDpi;
    c.BitsPerPixel = m.BytesPerPixel * 8;
    c.Technology = DT_RASDISPLAY;
    return c;
}

namespace {

void PaintSpans(TSurface& s, const TClipper& clip, const std::vector<TSpan>& spans, const TPaintSource& src, int rop2)
{
    if (s.PlainFill(src, rop2)) {
        const std::uint32_t pixel = src.Color | 0xFF000000u;
        for (const TSpan& sp : spans) clip.Cut(sp.Y, sp.X0, sp.X1, [&](int y, int x0, int x1) { s.FillSpan(y, x0, x1, pixel); });
        return;
    }
    for (const TSpan& sp : spans)
        clip.Cut(sp.Y, sp.X0, sp.X1, [&](int y, int x0, int x1) { s.PaintSpan(y, x0, x1, src, rop2); });
}

// Fills under a ternary operation without source (PatBlt and the region calls).
void PaintSpansRop3(TSurface& s, const TClipper& clip, const std::vector<TSpan>& spans, const TPaintSource& src,
                    std::uint32_t rop3)
{
    // A plain pattern copy is the pen copy of the brush, whose solid fills take whole rows at once.
    if (rop3 == PATCOPY) {
        PaintSpans(s, clip, spans, src, R2_COPYPEN);
        return;
    }
    for (const TSpan& sp : spans)
        clip.Cut(sp.Y, sp.X0, sp.X1, [&](int y, int x0, int x1) {
            for (int x = x0; x < x1; ++x) {
                std::uint32_t p = 0;
                if (!src.At(x, y, p)) continue;
                s.Set(x, y, Rop3(rop3, p, 0, s.Get(x, y)));
            }
        });
}

// One-pixel lines through spans, for every raster operation, with the gaps of dashes painted when asked.
void StrokeCosmetic(TSurface& s, const TClipper& clip, const TShapeCommand& cmd, const TPaintSource& pen, bool paintGaps)
{
    std::vector<TSpan> spans, gaps;
    double phase = 0;
    // Without gaps the pixels go out as they are found; the gaps are painted after every pixel of
    // the line, so with them the spans are kept to the end.
    const std::function<void(std::vector<TSpan>&)> drain = [&](std::vector<TSpan>& found) {
        const TSpan last = found.back();
        found.pop_back();
        PaintSpans(s, clip, found, pen, cmd.State.Rop2);
        found.assign(1, last);
    };
    for (const TDeviceFigure& f : cmd.Stroke) {
        if (paintGaps)
            ScanCosmetic(f, cmd.Pen.Dashes, phase, clip.Bounds(), spans, &gaps);
        else
            ScanCosmetic(f, cmd.Pen.Dashes, phase, clip.Bounds(), spans, drain);
    }
    PaintSpans(s, clip, spans, pen, cmd.State.Rop2);
    if (!gaps.empty()) {
        TPaintSource back;
        back.Color = PixelFromColor(cmd.State.BkColor);
        PaintSpans(s, clip, gaps, back, cmd.State.Rop2);
    }
}

}  // namespace

void TImageBackend::DrawShape(const TShapeCommand& cmd)
{
    TSurface s(Memory());
    if (!s.Valid()) return;
    const std::shared_ptr<const TClipper> clipper = ClipperFor(cmd.State.Clip, s.Bounds());
    const TClipper& clip = *clipper;
    if (clip.Bounds().IsEmpty()) return;
    std::vector<TSpan> spans;
    if (!cmd.Fill.empty() && cmd.Brush.Kind != TDeviceBrush::TKind::Null) {
        const TPaintSource src = SourceForBrush(cmd.Brush, cmd.State);
        TRect pixels;
        if (!cmd.Rop3 && raster::ScanRectangle(cmd.Fill, clip.Bounds(), pixels)) {
            // A rectangle's rows go straight to the pixels, without a span each (a bar chart fills
            // hundreds of thousands).
            clip.CutRect(pixels, [&](int top, int bottom, int x0, int x1) {
                for (int y = top; y < bottom; ++y) s.PaintSpan(y, x0, x1, src, cmd.State.Rop2);
            });
        } else {
            raster::ScanFill(cmd.Fill, cmd.State.PolyFillMode, clip.Bounds(), spans);
            if (cmd.Rop3) PaintSpansRop3(s, clip, spans, src, cmd.Rop3);
            else PaintSpans(s, clip, spans, src, cmd.State.Rop2);
        }
    }
    if (!cmd.Stroke.empty() && !cmd.Pen.Null) {
        TPaintSource pen;
        pen.Color = PixelFromColor(cmd.Pen.Color);
        spans.clear();
        if (cmd.Pen.Cosmetic) {
            const bool paintGaps = cmd.State.BkMode == OPAQUE && !cmd.Pen.Dashes.empty();
            if (!paintGaps && s.PlainFill(pen, cmd.State.Rop2) && clip.Everything()) {
                // A solid copy without gaps paints the pixels as they are found: no spans to gather.
                double phase = 0;
                for (const TDeviceFigure& f : cmd.Stroke)
                    StrokeCosmeticSolid(f, cmd.Pen.Dashes, phase, clip.Bounds(), s, pen.Color | 0xFF000000u);
            } else {
                StrokeCosmetic(s, clip, cmd, pen, paintGaps);
            }
        } else {
            raster::ScanFill(WidenStroke(cmd.Stroke, cmd.Pen), WINDING, clip.Bounds(), spans);
            PaintSpans(s, clip, spans, pen, cmd.State.Rop2);
        }
    }
    PixelsChanged();
}

void TImageBackend::DrawText(const TTextCommand& cmd)
{
    const TImageMemory m = Memory();
    if (!m.Bits || m.Width <= 0 || m.Height <= 0) return;
    EnsureGuiApplication();
    const auto paint = [&](QPainter& p) {
        if (cmd.State.Clip) p.setClipRegion(QtRegion(cmd.State.Clip));
        else p.setClipping(false);
        QtPaintText(p, cmd);
    };
    if (FKeepTextPainter) {
        if (FTextPainter && !FTextPainter->Over(m)) FTextPainter.reset();
        if (!FTextPainter) FTextPainter = std::make_unique<TTextPainter>(m);
        paint(FTextPainter->Painter);
    } else {
        TTextPainter once(m);
        paint(once.Painter);
    }
    PixelsChanged();
}

namespace {

// Source pixel for destination pixel (x, y) of a transfer, or false outside the source.
struct TSampler {
    const TImageCommand& Cmd;
    const TPixelBuffer& Src;
    // Affine inverse from continuous device coordinates to source coordinates.
    double A = 1, B = 0, C = 0, D = 0, E = 1, F = 0;

    TSampler(const TImageCommand& cmd, const TPixelBuffer& src) : Cmd(cmd), Src(src)
    {
        const TRect& r = cmd.Dest;
        const double sx = r.Width() ? static_cast<double>(src.Width) / r.Width() : 0;
        const double sy = r.Height() ? static_cast<double>(src.Height) / r.Height() : 0;
        A = sx;
        C = -r.Left * sx;
        E = sy;
        F = -r.Top * sy;
        if (cmd.MirrorX) {
            A = -sx;
            C = src.Width + r.Left * sx;
        }
        if (cmd.MirrorY) {
            E = -sy;
            F = src.Height + r.Top * sy;
        }
        if (cmd.Affine) {
            // Device p = C0 + u * (C1 - C0) / W + v * (C2 - C0) / H, inverted.
            const TPointF c0 = cmd.Corners[0];
            const double ax = (cmd.Corners[1].x - c0.x) / std::max(1, src.Width);
            const double ay = (cmd.Corners[1].y - c0.y) / std::max(1, src.Width);
            const double bx = (cmd.Corners[2].x - c0.x) / std::max(1, src.Height);
            const double by = (cmd.Corners[2].y - c0.y) / std::max(1, src.Height);
            const double det = ax * by - ay * bx;
            if (std::fabs(det) < 1e-12) {
                A = B = D = E = 0;
                C = F = -1;  // nothing lands
                return;
            }
            A = by / det;
            B = -bx / det;
            D = -ay / det;
            E = ax / det;
            C = -(A * c0.x + B * c0.y);
            F = -(D * c0.x + E * c0.y);
        }
    }
    bool At(int x, int y, std::uint32_t& c) const
    {
        const double px = x + 0.5, py = y + 0.5;
        const double u = A * px + B * py + C, v = D * px + E * py + F;
        if (!(u >= 0 && v >= 0)) return false;
        const int iu = static_cast<int>(u), iv = static_cast<int>(v);
        if (iu >= Src.Width || iv >= Src.Height) return false;
        c = Src.At(iu, iv);
        return true;
    }
};

// Averages the source pixels under a destination pixel (the halftone stretch mode when shrinking).
std::uint32_t Average(const TPixelBuffer& src, double u0, double v0, double u1, double v1)
{
    const int x0 = std::max(0, static_cast<int>(std::floor(std::min(u0, u1))));
    const int x1 = std::min(src.Width, std::max(x0 + 1, static_cast<int>(std::ceil(std::max(u0, u1)))));
    const int y0 = std::max(0, static_cast<int>(std::floor(std::min(v0, v1))));
    const int y1 = std::min(src.Height, std::max(y0 + 1, static_cast<int>(std::ceil(std::max(v0, v1)))));
    unsigned long long r = 0, g = 0, b = 0, a = 0, n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const std::uint32_t p = src.At(x, y);
            r += (p >> 16) & 0xFF;
            g += (p >> 8) & 0xFF;
            b += p & 0xFF;
            a += p >> 24;
            ++n;
        }
    if (!n) return 0;
    return static_cast<std::uint32_t>(((a / n) << 24) | ((r / n) << 16) | ((g / n) << 8) | (b / n));
}

}  // namespace

void TImageBackend::DrawImage(const TImageCommand& cmd)
{
    TSurface s(Memory());
    if (!s.Valid()) return;
    const std::shared_ptr<const TClipper> clipper = ClipperFor(cmd.State.Clip, s.Bounds());
    const TClipper& clip = *clipper;
    const bool usesSource = Rop3UsesSource(cmd.Rop3);
    if (usesSource && (!cmd.Source || cmd.Source->Width <= 0 || cmd.Source->Height <= 0)) return;
    const TRect& d = cmd.Dest;
    if (d.IsEmpty()) return;
    // A plain copy of the same size (the back buffer shown on a control) moves whole rows.
    if (cmd.Rop3 == SRCCOPY && !cmd.Affine && !cmd.MirrorX && !cmd.MirrorY && !cmd.Transparent &&
        !cmd.MonochromeSource && !cmd.Source->Alpha && d.Width() == cmd.Source->Width &&
        d.Height() == cmd.Source->Height) {
        const TPixelBuffer& src = *cmd.Source;
        for (int y = std::max(d.Top, 0); y < std::min(d.Bottom, s.Bounds().Bottom); ++y)
            clip.Cut(y, d.Left, d.Right, [&](int yy, int x0, int x1) {
                const std::uint32_t* row = src.Pixels.data() + static_cast<std::size_t>(yy - d.Top) * src.Width;
                s.WriteRow(yy, x0, x1, row + (x0 - d.Left));
            });
        PixelsChanged();
        return;
    }
    const TPaintSource pattern = SourceForBrush(cmd.Brush, cmd.State);
    const std::uint32_t text = PixelFromColor(cmd.State.TextColor), back = PixelFromColor(cmd.State.BkColor);
    const std::uint32_t transparent = PixelFromColor(cmd.TransparentColor);
    const TPixelBuffer empty;
    const TSampler sampler(cmd, usesSource ? *cmd.Source : empty);
    const bool halftone = usesSource && cmd.State.StretchMode == HALFTONE &&
                          (d.Width() < cmd.Source->Width || d.Height() < cmd.Source->Height);
    for (int y = std::max(d.Top, 0); y < std::min(d.Bottom, s.Bounds().Bottom); ++y)
        clip.Cut(y, d.Left, d.Right, [&](int yy, int x0, int x1) {
            for (int x = x0; x < x1; ++x) {
                std::uint32_t src = 0;
                if (usesSource) {
                    if (!sampler.At(x, yy, src)) continue;
                    if (halftone)
                        src = Average(*cmd.Source, sampler.A * x + sampler.C, sampler.E * yy + sampler.F,
                                      sampler.A * (x + 1) + sampler.C, sampler.E * (yy + 1) + sampler.F);
                    if (cmd.Transparent && (src & 0xFFFFFF) == transparent) continue;
                    if (cmd.MonochromeSource) src = (src & 0xFFFFFF) == 0xFFFFFF ? back : text;
                }
                std::uint32_t pat = 0;
                if (Rop3UsesPattern(cmd.Rop3) && !pattern.At(x, yy, pat)) pat = s.Get(x, yy);
                const std::uint32_t dst = s.Get(x, yy);
                if (cmd.Source && cmd.Source->Alpha && cmd.Rop3 == SRCCOPY) {
                    const int a = static_cast<int>(src >> 24);
                    s.Blend(x, yy, src & 0xFFFFFF, a);
                    continue;
                }
                s.Set(x, yy, cmd.Rop3 == SRCCOPY ? (src & 0xFFFFFF) : Rop3(cmd.Rop3, pat, src & 0xFFFFFF, dst));
            }
        });
    PixelsChanged();
}

bool TImageBackend::CopyFrom(const TImageBackend& source, TPoint from, const TImageCommand& cmd)
{
    if (!MemoryHoldsPixels() || !source.MemoryHoldsPixels()) return false;
    const TImageMemory dm = Memory(), sm = source.Memory();
    TSurface s(dm);
    const TSurface src(sm);
    const TRect& d = cmd.Dest;
    if (!s.Valid() || !src.Valid() || dm.Bits == sm.Bits || d.IsEmpty()) return false;
    if (from.x < 0 || from.y < 0 || from.x + d.Width() > sm.Width || from.y + d.Height() > sm.Height) return false;
    const std::shared_ptr<const TClipper> clipper = ClipperFor(cmd.State.Clip, s.Bounds());
    const TClipper& clip = *clipper;
    std::vector<std::uint32_t> row;
    for (int y = std::max(d.Top, 0); y < std::min(d.Bottom, s.Bounds().Bottom); ++y)
        clip.Cut(y, d.Left, d.Right, [&](int yy, int x0, int x1) {
            const int sx = from.x + (x0 - d.Left), sy = from.y + (yy - d.Top);
            if (dm.BytesPerPixel == 4 && sm.BytesPerPixel == 4) {
                const auto* in = reinterpret_cast<const std::uint32_t*>(sm.Bits + static_cast<std::ptrdiff_t>(sy) * sm.Stride) + sx;
                auto* out = reinterpret_cast<std::uint32_t*>(dm.Bits + static_cast<std::ptrdiff_t>(yy) * dm.Stride) + x0;
                for (int i = 0; i < x1 - x0; ++i) out[i] = in[i] | 0xFF000000u;
                return;
            }
            row.resize(static_cast<std::size_t>(x1 - x0));
            src.ReadRow(sy, sx, sx + (x1 - x0), row.data());
            s.WriteRow(yy, x0, x1, row.data());
        });
    PixelsChanged();
    return true;
}

void TImageBackend::SetPixel(int x, int y, TColor rgb, const TRegion* clip)
{
    TSurface s(Memory());
    if (!s.Valid() || x < 0 || y < 0 || x >= s.Bounds().Right || y >= s.Bounds().Bottom) return;
    if (clip && !clip->Contains(x, y)) return;
    s.Set(x, y, PixelFromColor(rgb));
    PixelsChanged();
}

TColor TImageBackend::GetPixel(int x, int y) const
{
    TSurface s(Memory());
    if (!s.Valid() || x < 0 || y < 0 || x >= s.Bounds().Right || y >= s.Bounds().Bottom) return CLR_INVALID;
    return ColorFromPixel(s.Get(x, y));
}

bool TImageBackend::ReadPixels(const TRect& rect, TPixelBuffer& out) const
{
    TSurface s(Memory());
    out.Width = std::max(0, rect.Width());
    out.Height = std::max(0, rect.Height());
    out.Alpha = false;
    const std::size_t size = static_cast<std::size_t>(out.Width) * out.Height;
    const TRect b = s.Valid() ? s.Bounds() : TRect{};
    // Pixels outside the memory read white; a rectangle inside it is read row by row.
    const bool inside = s.Valid() && rect.Left >= b.Left && rect.Top >= b.Top && rect.Right <= b.Right && rect.Bottom <= b.Bottom;
    if (inside)
        out.Pixels.resize(size);
    else
        out.Pixels.assign(size, 0xFFFFFF);
    if (!s.Valid()) return true;
    const int x0 = std::max(rect.Left, b.Left), x1 = std::min(rect.Right, b.Right);
    if (x0 >= x1) return true;
    for (int y = std::max(rect.Top, b.Top); y < std::min(rect.Bottom, b.Bottom); ++y)
        s.ReadRow(y, x0, x1, &out.At(x0 - rect.Left, y - rect.Top));
    return true;
}

TDeviceFontMetrics TImageBackend::FontMetrics(const TDeviceFont& font) const { return SystemFontMetrics(font); }

void TImageBackend::CharAdvances(const TDeviceFont& font, const std::u16string& text, std::vector<int>& advances) const
{
    SystemCharAdvances(font, text, advances);
}
