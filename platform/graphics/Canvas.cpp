// TCanvas: construction, the device-context state and its saving, coordinate spaces (map modes, window
// and viewport, world transform), and the pen, brush and font as the device realises them.

#include "platform/graphics/CanvasImpl.h"

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/RecordingBackend.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cmath>

TColor RgbOf(TColor c) { return ColorToRGB(c) & 0xFFFFFF; }

namespace {

// A canvas without a device measures like the recorder.
std::shared_ptr<TCanvasBackend> NullDevice()
{
    static std::shared_ptr<TCanvasBackend> d = std::make_shared<TRecordingBackend>(0, 0);
    return d;
}

int Rop2FromPenMode(TPenMode m)
{
    static const int table[] = {R2_BLACK, R2_WHITE, R2_NOP, R2_NOT, R2_COPYPEN, R2_NOTCOPYPEN, R2_MERGEPENNOT,
                                R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN, R2_NOTMERGEPEN,
                                R2_MASKPEN, R2_NOTMASKPEN, R2_XORPEN, R2_NOTXORPEN};
    const int i = static_cast<int>(m);
    return i >= 0 && i < 16 ? table[i] : R2_COPYPEN;
}

// Coordinates stay where the rasteriser's integer arithmetic is safe.
constexpr int CoordLimit = 1 << 28;

}  // namespace

// ---- construction ----

TCanvas::TCanvas() : TCanvas(nullptr) {}

TCanvas::TCanvas(std::shared_ptr<TCanvasBackend> backend) : FBackend(std::move(backend)), FImpl(std::make_unique<Impl>(*this))
{
    auto handler = [this](TPersistent* s) { ObjectChanged(s); };
    FPen.OnChange = handler;
    FBrush.OnChange = handler;
    FFont.OnChange = handler;
}

TCanvas::~TCanvas() = default;

void TCanvas::SetBackend(std::shared_ptr<TCanvasBackend> backend)
{
    FBackend = std::move(backend);
    FImpl->Saved.clear();
    FImpl->Path = TPathState();
    TDCState fresh;
    FImpl->St = fresh;
    // The objects stay selected; their side effects apply to the new device.
    ObjectChanged(&FPen);
    ObjectChanged(&FBrush);
    ObjectChanged(&FFont);
}

void TCanvas::ObjectChanged(TPersistent* sender)
{
    if (FImpl->Restoring) return;
    TDCState& st = FImpl->St;
    if (sender == &FPen) {
        st.Rop2 = Rop2FromPenMode(FPen.Mode());
    } else if (sender == &FBrush) {
        if (FBrush.Style() == bsSolid) {
            st.BkColor = RgbOf(FBrush.Color());
            st.BkMode = OPAQUE;
        } else {
            st.BkColor = ~RgbOf(FBrush.Color()) & 0xFFFFFF;
            st.BkMode = TRANSPARENT;
        }
    } else if (sender == &FFont) {
        st.TextColor = RgbOf(FFont.Color());
    }
}

// ---- state ----

int TCanvas::SetROP2(int mode)
{
    const int old = FImpl->St.Rop2;
    if (mode >= R2_BLACK && mode <= R2_WHITE) FImpl->St.Rop2 = mode;
    return old;
}
int TCanvas::GetROP2() const { return FImpl->St.Rop2; }

int TCanvas::SetBkMode(int mode)
{
    const int old = FImpl->St.BkMode;
    if (mode == TRANSPARENT || mode == OPAQUE) FImpl->St.BkMode = mode;
    return old;
}
int TCanvas::GetBkMode() const { return FImpl->St.BkMode; }

TColor TCanvas::SetBkColor(TColor c)
{
    const TColor old = FImpl->St.BkColor;
    FImpl->St.BkColor = RgbOf(c);
    return old;
}
TColor TCanvas::GetBkColor() const { return FImpl->St.BkColor; }

TColor TCanvas::SetTextColor(TColor c)
{
    const TColor old = FImpl->St.TextColor;
    FImpl->St.TextColor = RgbOf(c);
    return old;
}
TColor TCanvas::GetTextColor() const { return FImpl->St.TextColor; }

unsigned TCanvas::SetTextAlign(unsigned flags)
{
    const unsigned old = FImpl->St.TextAlign;
    FImpl->St.TextAlign = flags;
    return old;
}
unsigned TCanvas::GetTextAlign() const { return FImpl->St.TextAlign; }

int TCanvas::SetTextCharacterExtra(int extra)
{
    const int old = FImpl->St.CharExtra;
    FImpl->St.CharExtra = std::clamp(extra, -CoordLimit, CoordLimit);
    return old;
}
int TCanvas::GetTextCharacterExtra() const { return FImpl->St.CharExtra; }

int TCanvas::SetPolyFillMode(int mode)
{
    const int old = FImpl->St.PolyFillMode;
    if (mode == ALTERNATE || mode == WINDING) FImpl->St.PolyFillMode = mode;
    return old;
}
int TCanvas::GetPolyFillMode() const { return FImpl->St.PolyFillMode; }

int TCanvas::SetStretchBltMode(int mode)
{
    const int old = FImpl->St.StretchMode;
    if (mode >= BLACKONWHITE && mode <= HALFTONE) FImpl->St.StretchMode = mode;
    return old;
}
int TCanvas::GetStretchBltMode() const { return FImpl->St.StretchMode; }

int TCanvas::SetArcDirection(int dir)
{
    const int old = FImpl->St.ArcDirection;
    if (dir == AD_COUNTERCLOCKWISE || dir == AD_CLOCKWISE) FImpl->St.ArcDirection = dir;
    return old;
}
int TCanvas::GetArcDirection() const { return FImpl->St.ArcDirection; }

TPoint TCanvas::SetBrushOrg(int x, int y)
{
    const TPoint old = FImpl->St.BrushOrg;
    FImpl->St.BrushOrg = {x, y};
    return old;
}

std::uint32_t TCanvas::CopyMode() const { return FImpl->St.CopyMode; }
void TCanvas::SetCopyMode(std::uint32_t rop3) { FImpl->St.CopyMode = rop3; }

// ---- coordinates ----

bool TAffine::Invert(TAffine& inv) const
{
    const double det = a * d - b * c;
    if (!std::isfinite(det) || std::fabs(det) < 1e-300) return false;
    inv.a = d / det;
    inv.b = -b / det;
    inv.c = -c / det;
    inv.d = a / det;
    inv.e = -(inv.a * e + inv.c * f);
    inv.f = -(inv.b * e + inv.d * f);
    return true;
}

TDeviceCaps TCanvas::Impl::Caps() const
{
    return Owner.FBackend ? Owner.FBackend->Caps() : NullDevice()->Caps();
}

TRect TCanvas::Impl::DeviceRect() const
{
    const TDeviceCaps c = Caps();
    return {0, 0, c.Width, c.Height};
}

TAffine TCanvas::Impl::Transform() const
{
    // Page to device: the map mode's scale between the window and the viewport.
    double sx = 1, sy = 1;
    // Only the metric modes need the device's resolution.
    const bool metric = St.MapMode >= MM_LOMETRIC && St.MapMode <= MM_TWIPS;
    const TDeviceCaps caps = metric ? Caps() : TDeviceCaps{};
    switch (St.MapMode) {
    case MM_LOMETRIC: sx = caps.DpiX / 254.0; sy = -caps.DpiY / 254.0; break;
    case MM_HIMETRIC: sx = caps.DpiX / 2540.0; sy = -caps.DpiY / 2540.0; break;
    case MM_LOENGLISH: sx = caps.DpiX / 100.0; sy = -caps.DpiY / 100.0; break;
    case MM_HIENGLISH: sx = caps.DpiX / 1000.0; sy = -caps.DpiY / 1000.0; break;
    case MM_TWIPS: sx = caps.DpiX / 1440.0; sy = -caps.DpiY / 1440.0; break;
    case MM_ISOTROPIC:
    case MM_ANISOTROPIC:
        sx = static_cast<double>(St.VpExt.cx) / St.WinExt.cx;
        sy = static_cast<double>(St.VpExt.cy) / St.WinExt.cy;
        break;
    default: break;
    }
    TAffine page;
    page.a = sx;
    page.d = sy;
    page.e = St.VpOrg.x - St.WinOrg.x * sx;
    page.f = St.VpOrg.y - St.WinOrg.y * sy;
    if (St.GraphicsMode != GM_ADVANCED) return page;
    // World to page, then page to device.
    const TXForm& w = St.World;
    TAffine t;
    t.a = page.a * w.eM11;
    t.b = page.d * w.eM12;
    t.c = page.a * w.eM21;
    t.d = page.d * w.eM22;
    t.e = page.a * w.eDx + page.e;
    t.f = page.d * w.eDy + page.f;
    return t;
}

TPoint TCanvas::Impl::ToDeviceInt(int x, int y) const { return ToDeviceInt(Transform(), x, y); }

TPoint TCanvas::Impl::ToDeviceInt(const TAffine& t, int x, int y)
{
    const TPointF p = t.Map(x, y);
    return {std::clamp(PixelFromReal(p.x), -CoordLimit, CoordLimit), std::clamp(PixelFromReal(p.y), -CoordLimit, CoordLimit)};
}

TPointF TCanvas::Impl::ToLogical(double x, double y) const
{
    TAffine inv;
    if (!Transform().Invert(inv)) return {0, 0};
    return inv.Map(x, y);
}

double TCanvas::Impl::ScaleX() const
{
    const TAffine t = Transform();
    return std::hypot(t.a, t.b);
}

double TCanvas::Impl::ScaleY() const
{
    const TAffine t = Transform();
    return std::hypot(t.c, t.d);
}

// In MM_ISOTROPIC the viewport extent shrinks so that a logical unit has the same size along both axes.
void TCanvas::Impl::FixIsotropic()
{
    if (St.MapMode != MM_ISOTROPIC) return;
    const TDeviceCaps caps = Caps();
    const double ux = std::fabs(static_cast<double>(St.VpExt.cx) / St.WinExt.cx) / std::max(1, caps.DpiX);
    const double uy = std::fabs(static_cast<double>(St.VpExt.cy) / St.WinExt.cy) / std::max(1, caps.DpiY);
    if (ux > uy) {
        const int v = PixelFromReal(St.VpExt.cx * uy / ux);
        St.VpExt.cx = v ? v : (St.VpExt.cx < 0 ? -1 : 1);
    } else if (uy > ux) {
        const int v = PixelFromReal(St.VpExt.cy * ux / uy);
        St.VpExt.cy = v ? v : (St.VpExt.cy < 0 ? -1 : 1);
    }
}

int TCanvas::SetMapMode(int mode)
{
    TDCState& st = FImpl->St;
    const int old = st.MapMode;
    if (mode < MM_TEXT || mode > MM_ANISOTROPIC) return 0;
    st.MapMode = mode;
    if (mode == MM_ISOTROPIC && old != MM_ISOTROPIC && old != MM_ANISOTROPIC) {
        // Starts from the metric mapping of one logical unit per 0.1 mm, as the device does.
        const TDeviceCaps c = FImpl->Caps();
        st.WinExt = {std::max(1, c.Width * 254 / std::max(1, c.DpiX)), std::max(1, c.Height * 254 / std::max(1, c.DpiY))};
        st.VpExt = {std::max(1, c.Width), -std::max(1, c.Height)};
        FImpl->FixIsotropic();
    } else if (mode != MM_ISOTROPIC && mode != MM_ANISOTROPIC && mode != old) {
        st.WinExt = {1, 1};
        st.VpExt = {1, 1};
    }
    return old;
}
int TCanvas::GetMapMode() const { return FImpl->St.MapMode; }

TPoint TCanvas::SetWindowOrgEx(int x, int y)
{
    const TPoint old = FImpl->St.WinOrg;
    FImpl->St.WinOrg = {x, y};
    return old;
}

TPoint TCanvas::SetViewportOrgEx(int x, int y)
{
    const TPoint old = FImpl->St.VpOrg;
    FImpl->St.VpOrg = {x, y};
    return old;
}

TSize TCanvas::SetWindowExtEx(int cx, int cy)
{
    TDCState& st = FImpl->St;
    const TSize old = st.WinExt;
    if ((st.MapMode == MM_ISOTROPIC || st.MapMode == MM_ANISOTROPIC) && cx != 0 && cy != 0) {
        st.WinExt = {cx, cy};
        FImpl->FixIsotropic();
    }
    return old;
}

TSize TCanvas::SetViewportExtEx(int cx, int cy)
{
    TDCState& st = FImpl->St;
    const TSize old = st.VpExt;
    if ((st.MapMode == MM_ISOTROPIC || st.MapMode == MM_ANISOTROPIC) && cx != 0 && cy != 0) {
        st.VpExt = {cx, cy};
        FImpl->FixIsotropic();
    }
    return old;
}

TPoint TCanvas::GetWindowOrgEx() const { return FImpl->St.WinOrg; }
TPoint TCanvas::GetViewportOrgEx() const { return FImpl->St.VpOrg; }
TSize TCanvas::GetWindowExtEx() const { return FImpl->St.WinExt; }
TSize TCanvas::GetViewportExtEx() const { return FImpl->St.VpExt; }

TPoint TCanvas::OffsetViewportOrgEx(int dx, int dy)
{
    const TPoint old = FImpl->St.VpOrg;
    FImpl->St.VpOrg = {old.x + dx, old.y + dy};
    return old;
}

TPoint TCanvas::OffsetWindowOrgEx(int dx, int dy)
{
    const TPoint old = FImpl->St.WinOrg;
    FImpl->St.WinOrg = {old.x + dx, old.y + dy};
    return old;
}

int TCanvas::SetGraphicsMode(int mode)
{
    const int old = FImpl->St.GraphicsMode;
    if (mode != GM_COMPATIBLE && mode != GM_ADVANCED) return 0;
    // Back to the compatible mode only with an identity world transform, as the device demands.
    if (mode == GM_COMPATIBLE && !(FImpl->St.World == TXForm())) return 0;
    FImpl->St.GraphicsMode = mode;
    return old;
}
int TCanvas::GetGraphicsMode() const { return FImpl->St.GraphicsMode; }

bool TCanvas::SetWorldTransform(const TXForm& x)
{
    if (FImpl->St.GraphicsMode != GM_ADVANCED) return false;
    for (double v : {x.eM11, x.eM12, x.eM21, x.eM22, x.eDx, x.eDy})
        if (!std::isfinite(v)) return false;
    if (x.eM11 * x.eM22 - x.eM12 * x.eM21 == 0) return false;
    FImpl->St.World = x;
    return true;
}

bool TCanvas::ModifyWorldTransform(const TXForm& x, int mode)
{
    if (FImpl->St.GraphicsMode != GM_ADVANCED) return false;
    const TXForm w = FImpl->St.World;
    // Product of transforms p * q (p applied first).
    auto mul = [](const TXForm& p, const TXForm& q) {
        TXForm r;
        r.eM11 = p.eM11 * q.eM11 + p.eM12 * q.eM21;
        r.eM12 = p.eM11 * q.eM12 + p.eM12 * q.eM22;
        r.eM21 = p.eM21 * q.eM11 + p.eM22 * q.eM21;
        r.eM22 = p.eM21 * q.eM12 + p.eM22 * q.eM22;
        r.eDx = p.eDx * q.eM11 + p.eDy * q.eM21 + q.eDx;
        r.eDy = p.eDx * q.eM12 + p.eDy * q.eM22 + q.eDy;
        return r;
    };
    switch (mode) {
    case MWT_IDENTITY: FImpl->St.World = TXForm(); return true;
    case MWT_LEFTMULTIPLY: return SetWorldTransform(mul(x, w));
    case MWT_RIGHTMULTIPLY: return SetWorldTransform(mul(w, x));
    default: return false;
    }
}

TXForm TCanvas::GetWorldTransform() const { return FImpl->St.World; }

void TCanvas::LPtoDP(TPoint* pts, int count) const
{
    for (int i = 0; pts && i < count; ++i) pts[i] = FImpl->ToDeviceInt(pts[i].x, pts[i].y);
}

void TCanvas::DPtoLP(TPoint* pts, int count) const
{
    for (int i = 0; pts && i < count; ++i) {
        const TPointF p = FImpl->ToLogical(pts[i].x, pts[i].y);
        pts[i] = {PixelFromReal(p.x), PixelFromReal(p.y)};
    }
}

// ---- saving ----

int TCanvas::SaveDC()
{
    FImpl->Saved.push_back({FImpl->St, FPen, FBrush, FFont});
    return static_cast<int>(FImpl->Saved.size());
}

bool TCanvas::RestoreDC(int level)
{
    const int n = static_cast<int>(FImpl->Saved.size());
    const int target = level < 0 ? n + level + 1 : level;   // the level to return to
    if (target < 1 || target > n) return false;
    TSavedDC saved = FImpl->Saved[target - 1];
    FImpl->Saved.resize(target - 1);
    FImpl->Restoring = true;
    FPen.Assign(saved.Pen);
    FBrush.Assign(saved.Brush);
    FFont.Assign(saved.Font);
    FImpl->Restoring = false;
    FImpl->St = saved.St;
    return true;
}

// ---- realised objects ----

namespace {

const std::vector<double>& CosmeticDashes(TPenStyle s)
{
    static const std::vector<double> none, dash{18, 6}, dot{3, 3}, dashDot{9, 6, 3, 6},
        dashDotDot{9, 3, 3, 3, 3, 3}, alternate{1, 1};
    switch (s) {
    case psDash: return dash;
    case psDot: return dot;
    case psDashDot: return dashDot;
    case psDashDotDot: return dashDotDot;
    case psAlternate: return alternate;
    default: return none;
    }
}

// Geometric dashes in pen widths.
const std::vector<double>& GeometricDashes(TPenStyle s)
{
    static const std::vector<double> none, dash{3, 1}, dot{1, 1}, dashDot{3, 1, 1, 1}, dashDotDot{3, 1, 1, 1, 1, 1};
    switch (s) {
    case psDash: return dash;
    case psDot: return dot;
    case psDashDot: return dashDot;
    case psDashDotDot: return dashDotDot;
    default: return none;
    }
}

}  // namespace

TDevicePen TCanvas::Impl::DevicePen() const
{
    const TPen& pen = Owner.FPen;
    TDevicePen d;
    d.Color = RgbOf(pen.Color());
    d.Null = pen.Style() == psClear;
    if (d.Null) return d;
    const double scale = ScaleX();
    const double w = pen.Width() * scale;
    d.InsideFrame = pen.Style() == psInsideFrame;
    if (pen.Geometric()) {
        d.Width = std::max(1.0, std::min(w, double(CoordLimit)));
        d.Cap = pen.EndCap();
        d.Join = pen.Join();
        if (pen.Style() == psUserStyle) {
            for (std::uint32_t v : pen.UserStyle()) d.Dashes.push_back(std::min(double(v) * scale, double(CoordLimit)));
        } else {
            for (double v : GeometricDashes(pen.Style())) d.Dashes.push_back(v * d.Width);
        }
        if (d.Width < 1.5) {
            // A one-pixel geometric pen: drawn pixel by pixel; caps make a dash one pixel longer.
            d.Cosmetic = true;
            d.Width = 1;
            if (d.Cap != pecFlat)
                for (std::size_t i = 0; i < d.Dashes.size(); ++i)
                    d.Dashes[i] = i % 2 == 0 ? std::max(1.0, d.Dashes[i] + 1) : std::max(0.0, d.Dashes[i] - 1);
        } else {
            d.Cosmetic = false;
        }
        return d;
    }
    if (pen.Width() <= 1 || w < 1.5) {
        d.Cosmetic = true;
        d.Width = 1;
        if (pen.Style() == psUserStyle) {
            for (std::uint32_t v : pen.UserStyle()) d.Dashes.push_back(v);
        } else {
            d.Dashes = CosmeticDashes(pen.Style());
        }
        return d;
    }
    // A simple wide pen: solid, round caps and joins.
    d.Cosmetic = false;
    d.Width = std::min(w, double(CoordLimit));
    d.Cap = pecRound;
    d.Join = pjRound;
    return d;
}

TDeviceBrush TCanvas::Impl::DeviceBrush(const TBrush& brush) const
{
    TDeviceBrush d;
    d.Color = RgbOf(brush.Color());
    d.Origin = St.BrushOrg;
    if (const TBitmap* bmp = brush.Bitmap(); bmp && !bmp->Empty()) {
        d.Kind = TDeviceBrush::TKind::Pattern;
        d.Pattern = std::make_shared<const TPixelBuffer>(bmp->ToPixels());
        d.MonochromePattern = bmp->Monochrome();
        return d;
    }
    const int s = static_cast<int>(brush.Style());
    if (s == bsSolid) d.Kind = TDeviceBrush::TKind::Solid;
    else if (s >= bsHorizontal && s <= bsDiagCross) {
        d.Kind = TDeviceBrush::TKind::Hatch;
        d.Hatch = s;
    } else d.Kind = TDeviceBrush::TKind::Null;
    return d;
}

TDeviceState TCanvas::Impl::DeviceState() const
{
    TDeviceState s;
    s.Rop2 = St.Rop2;
    s.BkMode = St.BkMode;
    s.BkColor = St.BkColor;
    s.TextColor = St.TextColor;
    s.PolyFillMode = St.PolyFillMode;
    s.StretchMode = St.StretchMode;
    s.Clip = ClipPtr();
    return s;
}

// ---- device ----

int TCanvas::GetDeviceCaps(int index) const
{
    const TDeviceCaps c = FImpl->Caps();
    const auto mm = [](int pixels, int dpi) { return dpi > 0 ? PixelFromReal(pixels * 25.4 / dpi) : 0; };
    switch (index) {
    case TECHNOLOGY: return c.Technology;
    case HORZSIZE: return c.WidthMM ? c.WidthMM : mm(c.Width, c.DpiX);
    case VERTSIZE: return c.HeightMM ? c.HeightMM : mm(c.Height, c.DpiY);
    case HORZRES: return c.Width;
    case VERTRES: return c.Height;
    case BITSPIXEL: return c.BitsPerPixel;
    case PLANES: return 1;
    case NUMCOLORS: return c.BitsPerPixel <= 8 ? 1 << c.BitsPerPixel : -1;
    case RASTERCAPS: return 0x7E99;   // block transfers, stretching, device bitmaps, regions
    case LOGPIXELSX: return c.DpiX;
    case LOGPIXELSY: return c.DpiY;
    case PHYSICALWIDTH: return c.PhysicalWidth ? c.PhysicalWidth : c.Width;
    case PHYSICALHEIGHT: return c.PhysicalHeight ? c.PhysicalHeight : c.Height;
    case PHYSICALOFFSETX: return c.PhysicalOffsetX;
    case PHYSICALOFFSETY: return c.PhysicalOffsetY;
    default: return 0;
    }
}
