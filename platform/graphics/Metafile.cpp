// Metafiles: the recording device, playback on an image, and the translation of recorded commands into
// enhanced-metafile records (objects created when they change, state records only on change).
#include "platform/graphics/Metafile.h"

#include "platform/graphics/EmfWriter.h"
#include "platform/graphics/ImageBackend.h"
#include "platform/graphics/Region.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cmath>
#include <variant>

// One recorded call. The clip region the command's state points to is owned by the command.
struct TMetafileCommand {
    struct TPixel {
        int X = 0, Y = 0;
        TColor Color = 0;
    };
    std::variant<TShapeCommand, TTextCommand, TImageCommand, TPixel> Call;
    std::shared_ptr<const TRegion> Clip;
};

namespace {

std::shared_ptr<const TMetafileCommand> Record(auto call, const TRegion* clip)
{
    auto c = std::make_shared<TMetafileCommand>();
    if (clip) c->Clip = std::make_shared<TRegion>(*clip);
    if constexpr (!std::is_same_v<decltype(call), TMetafileCommand::TPixel>) call.State.Clip = c->Clip.get();
    c->Call = std::move(call);
    return c;
}

const TRegion* ClipOf(const TMetafileCommand& c)
{
    return c.Clip.get();
}

// The pixels a drawing touches, inclusive, gathered for the size of a metafile drawn without one; what a
// command's clip hides does not count.
class TDrawnArea {
public:
    void Add(const TDevicePath& path, double grow)
    {
        for (const TDeviceFigure& f : path)
            for (const TPointF& p : f.Points) Add(p, grow);
    }
    void Add(TPointF p, double grow)
    {
        Add({PixelFromReal(std::floor(p.x - grow)), PixelFromReal(std::floor(p.y - grow)),
             PixelFromReal(std::ceil(p.x + grow)), PixelFromReal(std::ceil(p.y + grow))});
    }
    // The area of one command, the part its clip lets through.
    void Add(const TDrawnArea& command, const TRegion* clip)
    {
        if (!command.FAny) return;
        TRect q = command.FArea;
        if (clip) {
            const TRect c = clip->Bounds();
            q = {std::max(q.Left, c.Left), std::max(q.Top, c.Top), std::min(q.Right, c.Right - 1),
                 std::min(q.Bottom, c.Bottom - 1)};
            if (q.Left > q.Right || q.Top > q.Bottom) return;
        }
        Add(q);
    }
    // Right and bottom exclusive, from the origin; empty when nothing was drawn.
    TRect Extent() const { return FAny ? TRect{0, 0, std::max(0, FArea.Right + 1), std::max(0, FArea.Bottom + 1)} : TRect{}; }

private:
    void Add(const TRect& q)
    {
        FArea = FAny ? TRect{std::min(FArea.Left, q.Left), std::min(FArea.Top, q.Top), std::max(FArea.Right, q.Right),
                             std::max(FArea.Bottom, q.Bottom)}
                     : q;
        FAny = true;
    }

    bool FAny = false;
    TRect FArea;
};

} // namespace

// ---- The recording device ----------------------------------------------------------------------------

class TMetafileBackend : public TCanvasBackend {
public:
    TMetafileBackend(TMetafile& metafile, TDeviceCaps caps) : FMetafile(metafile), FCaps(caps) {}

    TDeviceCaps Caps() const override { return FCaps; }
    void DrawShape(const TShapeCommand& cmd) override
    {
        TDrawnArea drawn;
        drawn.Add(cmd.Fill, 0);
        drawn.Add(cmd.Stroke, cmd.Pen.Width / 2);
        FDrawn.Add(drawn, cmd.State.Clip);
        FMetafile.FCommands.push_back(Record(cmd, cmd.State.Clip));
    }
    void DrawText(const TTextCommand& cmd) override
    {
        TDrawnArea drawn;
        for (const TPointF& corner : cmd.Cell) drawn.Add(corner, 0);
        FDrawn.Add(drawn, cmd.State.Clip);
        FMetafile.FCommands.push_back(Record(cmd, cmd.State.Clip));
    }
    void DrawImage(const TImageCommand& cmd) override
    {
        TDrawnArea drawn;
        drawn.Add({double(cmd.Dest.Left), double(cmd.Dest.Top)}, 0);
        drawn.Add({double(cmd.Dest.Right - 1), double(cmd.Dest.Bottom - 1)}, 0);
        FDrawn.Add(drawn, cmd.State.Clip);
        FMetafile.FCommands.push_back(Record(cmd, cmd.State.Clip));
    }
    // The clip is applied here: the recorded pixel carries none.
    void SetPixel(int x, int y, TColor rgb, const TRegion* clip) override
    {
        if (clip && !clip->Contains(x, y)) return;
        FDrawn.Add({double(x), double(y)}, 0);
        FMetafile.FCommands.push_back(Record(TMetafileCommand::TPixel{x, y, rgb}, nullptr));
    }
    // A metafile cannot be read back while it is recorded.
    TColor GetPixel(int, int) const override { return CLR_INVALID; }
    bool ReadPixels(const TRect&, TPixelBuffer&) const override { return false; }
    TDeviceFontMetrics FontMetrics(const TDeviceFont& font) const override { return SystemFontMetrics(font); }
    void CharAdvances(const TDeviceFont& font, const std::u16string& text, std::vector<int>& advances) const override
    {
        SystemCharAdvances(font, text, advances);
    }

    TRect DrawnArea() const { return FDrawn.Extent(); }

private:
    TMetafile& FMetafile;
    TDeviceCaps FCaps;
    TDrawnArea FDrawn;
};

// ---- TMetafileCanvas ---------------------------------------------------------------------------------

namespace {

// The reference device of the screen: 1920 x 960 pixels at 96 dots per inch.
TDeviceCaps MetafileCaps(const TMetafile& m, const TCanvas* reference)
{
    TDeviceCaps caps;
    caps.DpiX = caps.DpiY = 96;
    caps.Width = 1920;
    caps.Height = 960;
    if (reference) {
        caps.DpiX = reference->GetDeviceCaps(LOGPIXELSX);
        caps.DpiY = reference->GetDeviceCaps(LOGPIXELSY);
        caps.Width = reference->GetDeviceCaps(HORZRES);
        caps.Height = reference->GetDeviceCaps(VERTRES);
    }
    if (m.Width() > 0 && m.Height() > 0) {
        caps.Width = m.Width();
        caps.Height = m.Height();
    }
    caps.Technology = DT_RASDISPLAY;
    return caps;
}

} // namespace

TMetafileCanvas::TMetafileCanvas(TMetafile& metafile, const TCanvas* reference)
    : TCanvas(nullptr), FMetafile(metafile)
{
    const TDeviceCaps caps = MetafileCaps(metafile, reference);
    metafile.FCommands.clear();
    metafile.FDpi = caps.DpiX > 0 ? caps.DpiX : 96;
    SetBackend(std::make_shared<TMetafileBackend>(metafile, caps));
}

TMetafileCanvas::~TMetafileCanvas()
{
    auto* device = static_cast<TMetafileBackend*>(Backend());
    if (FMetafile.FWidth <= 0 || FMetafile.FHeight <= 0) {
        const TRect drawn = device->DrawnArea();
        FMetafile.FWidth = drawn.Right;
        FMetafile.FHeight = drawn.Bottom;
    }
    FMetafile.Changed();
}

// ---- Translation into records ------------------------------------------------------------------------

namespace {

int Px(double v) { return PixelFromReal(v); }

std::vector<TPoint> FigurePoints(const TDeviceFigure& f)
{
    std::vector<TPoint> pts;
    pts.reserve(f.Points.size());
    for (const TPointF& p : f.Points) {
        const TPoint q{Px(p.x), Px(p.y)};
        if (pts.empty() || !(pts.back() == q)) pts.push_back(q);
    }
    if (pts.size() == 1 && f.Points.size() > 1) pts.push_back(pts.front());
    return pts;
}

// The figure cut to the box [l, r] x [t, b], one side after the other. A fill keeps its pixels inside
// the box under either fill mode: what a side cuts off is replaced by a stretch along that side.
TDeviceFigure CutToBox(const TDeviceFigure& f, double l, double t, double r, double b)
{
    std::vector<TPointF> pts = f.Points;
    const auto cut = [&pts](auto inside, auto cross) {
        if (pts.empty()) return;
        std::vector<TPointF> out;
        out.reserve(pts.size() + 4);
        TPointF prev = pts.back();
        for (const TPointF& p : pts) {
            if (inside(p)) {
                if (!inside(prev)) out.push_back(cross(prev, p));
                out.push_back(p);
            } else if (inside(prev)) {
                out.push_back(cross(prev, p));
            }
            prev = p;
        }
        pts = std::move(out);
    };
    const auto atX = [](double x) {
        return [x](TPointF a, TPointF c) { return TPointF{x, a.y + (c.y - a.y) * (x - a.x) / (c.x - a.x)}; };
    };
    const auto atY = [](double y) {
        return [y](TPointF a, TPointF c) { return TPointF{a.x + (c.x - a.x) * (y - a.y) / (c.y - a.y), y}; };
    };
    cut([l](TPointF p) { return p.x >= l; }, atX(l));
    cut([r](TPointF p) { return p.x <= r; }, atX(r));
    cut([t](TPointF p) { return p.y >= t; }, atY(t));
    cut([b](TPointF p) { return p.y <= b; }, atY(b));
    return {std::move(pts), true};
}

// The parts of an open path inside the box [l, r] x [t, b], each a path of its own (segments cut where
// they cross the box's sides).
std::vector<std::vector<TPointF>> CutPathToBox(const std::vector<TPointF>& pts, double l, double t, double r, double b)
{
    std::vector<std::vector<TPointF>> runs;
    if (pts.size() == 1) {
        if (pts[0].x >= l && pts[0].x <= r && pts[0].y >= t && pts[0].y <= b) runs.push_back(pts);
        return runs;
    }
    std::vector<TPointF> run;
    for (std::size_t i = 1; i < pts.size(); ++i) {
        const TPointF a = pts[i - 1], c = pts[i];
        const double dx = c.x - a.x, dy = c.y - a.y;
        double t0 = 0, t1 = 1;
        // The segment's parameter range on the inner side of each of the four sides.
        const auto side = [&t0, &t1](double p, double q) {
            if (p == 0) return q >= 0;
            const double u = q / p;
            if (p < 0) t0 = std::max(t0, u);
            else t1 = std::min(t1, u);
            return t0 <= t1;
        };
        const bool inside = side(-dx, a.x - l) && side(dx, r - a.x) && side(-dy, a.y - t) && side(dy, b - a.y);
        if (!inside) {
            if (!run.empty()) runs.push_back(std::move(run));
            run.clear();
            continue;
        }
        if (run.empty()) run.push_back({a.x + t0 * dx, a.y + t0 * dy});
        run.push_back({a.x + t1 * dx, a.y + t1 * dy});
        if (t1 < 1) {
            runs.push_back(std::move(run));
            run.clear();
        }
    }
    if (!run.empty()) runs.push_back(std::move(run));
    return runs;
}

// Whether the points, widened by grow, reach into the area (right and bottom exclusive).
bool Reaches(const std::vector<TPointF>& pts, double grow, const TRect& area)
{
    if (pts.empty()) return false;
    double l = pts.front().x, t = pts.front().y, r = l, b = t;
    for (const TPointF& p : pts) {
        l = std::min(l, p.x);
        t = std::min(t, p.y);
        r = std::max(r, p.x);
        b = std::max(b, p.y);
    }
    return r + grow >= area.Left && l - grow < area.Right && b + grow >= area.Top && t - grow < area.Bottom;
}

bool SamePen(const TDevicePen& a, const TDevicePen& b)
{
    return a.Null == b.Null && a.Color == b.Color && a.Cosmetic == b.Cosmetic && a.Width == b.Width &&
           a.Dashes == b.Dashes && a.Cap == b.Cap && a.Join == b.Join;
}

bool SameBrush(const TDeviceBrush& a, const TDeviceBrush& b)
{
    return a.Kind == b.Kind && a.Color == b.Color && a.Hatch == b.Hatch && a.Pattern == b.Pattern &&
           a.MonochromePattern == b.MonochromePattern;
}

// A fill's raster operation for the ternary operations of pattern fills.
int Rop2OfRop3(std::uint32_t rop3, int fallback)
{
    switch (rop3) {
    case 0: return fallback;
    case PATCOPY: return R2_COPYPEN;
    case PATINVERT: return R2_XORPEN;
    case DSTINVERT: return R2_NOT;
    case BLACKNESS: return R2_BLACK;
    case WHITENESS: return R2_WHITE;
    default: return R2_COPYPEN;
    }
}

// Writes the commands, keeping track of the device state the records have set so far.
class TEmfTranslator {
public:
    TEmfTranslator(TEmfWriter& w) : W(w)
    {
        W.SetTextAlign(TA_BASELINE | TA_LEFT);
    }

    void Shape(const TShapeCommand& c)
    {
        Clip(c.State.Clip);
        Rop2(Rop2OfRop3(c.Rop3, c.State.Rop2));
        Background(c.State.BkMode, c.State.BkColor);
        TextColor(c.State.TextColor);
        if (FPolyFill != c.State.PolyFillMode) W.SetPolyFillMode(FPolyFill = c.State.PolyFillMode);
        // Drawing is written cut to what can be seen, with some slack on every side (the clip does the
        // rest), so that a reader that places the picture by its points finds it where it is. Dashed
        // outlines keep their points, as cutting them would move their dashes.
        const TRect area = W.VisibleArea();
        if (!c.Fill.empty() && c.Brush.Kind != TDeviceBrush::TKind::Null) {
            std::vector<std::vector<TPoint>> polys;
            for (const TDeviceFigure& f : c.Fill) {
                const TDeviceFigure cut = CutToBox(f, area.Left - 1.0, area.Top - 1.0, area.Right + 1.0, area.Bottom + 1.0);
                std::vector<TPoint> pts = FigurePoints(cut);
                if (pts.size() >= 2 && Reaches(cut.Points, 0, area)) polys.push_back(std::move(pts));
            }
            if (!polys.empty()) {
                SelectPen(NullPen());
                SelectBrush(c.Brush);
            }
            if (polys.size() == 1)
                W.Polygon(polys.front());
            else if (!polys.empty())
                W.PolyPolygon(polys);
        }
        if (!c.Stroke.empty() && !c.Pen.Null) {
            Rop2(c.State.Rop2);
            SelectPen(c.Pen);
            SelectBrush(NullBrush());
            const double grow = std::max(1.0, c.Pen.Width) / 2 + 2;
            for (const TDeviceFigure& f : c.Stroke) {
                if (!Reaches(f.Points, grow, area)) continue;
                for (const TDeviceFigure& part : VisibleParts(f, c.Pen, area, grow)) {
                    const std::vector<TPoint> pts = FigurePoints(part);
                    if (pts.empty()) continue;
                    if (part.Closed && pts.size() >= 3)
                        W.Polygon(pts);
                    else
                        W.Polyline(pts.size() == 1 ? std::vector<TPoint>{pts[0], {pts[0].x + 1, pts[0].y}} : pts);
                }
            }
        }
    }

    // The cell of opaque text is a filled polygon; the glyphs then go on a transparent background.
    void Text(const TTextCommand& c)
    {
        Clip(c.State.Clip);
        if (!Reaches({c.Cell[0], c.Cell[1], c.Cell[2], c.Cell[3]}, 1, W.VisibleArea())) return;
        Rop2(c.State.Rop2);
        if (c.Opaque) {
            TDeviceBrush cell;
            cell.Kind = TDeviceBrush::TKind::Solid;
            cell.Color = c.State.BkColor;
            SelectPen(NullPen());
            SelectBrush(cell);
            W.Polygon({{Px(c.Cell[0].x), Px(c.Cell[0].y)}, {Px(c.Cell[1].x), Px(c.Cell[1].y)},
                       {Px(c.Cell[2].x), Px(c.Cell[2].y)}, {Px(c.Cell[3].x), Px(c.Cell[3].y)}});
        }
        Background(TRANSPARENT, FBkColor);
        TextColor(c.Color);
        SelectFont(c.Font, c.Angle);
        std::vector<int> advances(c.Chars.size());
        for (std::size_t i = 0; i < c.Chars.size(); ++i) {
            const double from = i < c.Offsets.size() ? c.Offsets[i] : 0;
            const double to = i + 1 < c.Offsets.size() ? c.Offsets[i + 1] : c.Width;
            advances[i] = Px(to) - Px(from);
        }
        TRect bounds{Px(c.Cell[0].x), Px(c.Cell[0].y), Px(c.Cell[0].x), Px(c.Cell[0].y)};
        for (const TPointF& p : c.Cell)
            bounds = {std::min(bounds.Left, Px(p.x)), std::min(bounds.Top, Px(p.y)),
                      std::max(bounds.Right, Px(p.x)), std::max(bounds.Bottom, Px(p.y))};
        W.ExtTextOut({Px(c.Origin.x), Px(c.Origin.y)}, c.Chars, advances, bounds);
    }

    void Image(const TImageCommand& c)
    {
        if (!c.Source || c.Source->Width <= 0 || c.Source->Height <= 0) return;
        Clip(c.State.Clip);
        const TRect& d = c.Dest;
        if (!Reaches({{double(d.Left), double(d.Top)}, {d.Right - 1.0, d.Bottom - 1.0}}, 0, W.VisibleArea())) return;
        const std::vector<std::uint32_t> pixels = SourcePixels(c);
        const TEmfPixels px{c.Source->Width, c.Source->Height, pixels.data()};
        if (c.Transparent)
            W.TransparentBlt(c.Dest, px, c.TransparentColor & 0xFFFFFF);
        else
            W.StretchDIBits(c.Dest, px, c.Rop3);
    }

    void Pixel(const TMetafileCommand::TPixel& p, const TRegion* clip)
    {
        Clip(clip);
        if (!Reaches({{double(p.X), double(p.Y)}}, 0, W.VisibleArea())) return;
        W.SetPixel({p.X, p.Y}, p.Color);
    }

    // A solid outline cut to the area widened by grow, where its caps and the joins made at the cuts
    // cannot be seen: an outline that leaves the box becomes open paths from one side of it to another,
    // starting outside so that every join within sight stays a join.
    static std::vector<TDeviceFigure> VisibleParts(const TDeviceFigure& f, const TDevicePen& pen, const TRect& area,
                                                   double grow)
    {
        const double l = area.Left - grow, t = area.Top - grow, r = area.Right + grow, b = area.Bottom + grow;
        const auto in = [&](const TPointF& p) { return p.x >= l && p.x <= r && p.y >= t && p.y <= b; };
        const auto out = std::find_if_not(f.Points.begin(), f.Points.end(), in);
        if (!pen.Dashes.empty() || out == f.Points.end()) return {f};
        std::vector<TPointF> path(f.Points.begin(), f.Points.end());
        if (f.Closed && f.Points.size() >= 3) {
            std::rotate(path.begin(), path.begin() + (out - f.Points.begin()), path.end());
            path.push_back(path.front());
        }
        std::vector<TDeviceFigure> parts;
        for (std::vector<TPointF>& run : CutPathToBox(path, l, t, r, b)) parts.push_back({std::move(run), false});
        return parts;
    }

    void Finish()
    {
        Select(FPenSlot, STOCK_NULL_PEN);
        Select(FBrushSlot, STOCK_NULL_BRUSH);
        // Objects still selected could not be deleted.
        if (FFontHandle) W.SelectObject(STOCK_SYSTEM_FONT);
        for (std::uint32_t h : {FPenSlot.Created, FBrushSlot.Created, FFontHandle})
            if (h) W.DeleteObject(h);
    }

private:
    static TDevicePen NullPen()
    {
        TDevicePen p;
        p.Null = true;
        return p;
    }
    static TDeviceBrush NullBrush()
    {
        TDeviceBrush b;
        b.Kind = TDeviceBrush::TKind::Null;
        return b;
    }

    void Clip(const TRegion* clip)
    {
        if (!FClipKnown || (clip == nullptr) != (FClip == nullptr) || (clip && !(*clip == *FClip))) {
            if (clip)
                W.SelectClip(clip->Rects());
            else if (FClipKnown)
                W.RemoveClip();
            FClip = clip ? std::make_unique<TRegion>(*clip) : nullptr;
            FClipKnown = true;
        }
    }

    void Rop2(int mode)
    {
        if (mode != FRop2) W.SetRop2(FRop2 = mode);
    }

    void Background(int mode, TColor color)
    {
        if (mode != FBkMode) W.SetBkMode(FBkMode = mode);
        if (color != FBkColor) W.SetBkColor(FBkColor = color);
    }

    void TextColor(TColor c)
    {
        if (c != FTextColor) W.SetTextColor(FTextColor = c);
    }

    // A created pen or brush stays while stock objects are selected in between, so that drawing with
    // the same pen again only selects it again.
    void SelectPen(const TDevicePen& pen)
    {
        if (pen.Null) {
            Select(FPenSlot, STOCK_NULL_PEN);
        } else if (!FPenSlot.Created || !SamePen(pen, FPen)) {
            Replace(FPenSlot, CreatePen(pen));
            FPen = pen;
        } else {
            Select(FPenSlot, FPenSlot.Created);
        }
    }

    struct TSlot {
        std::uint32_t Created = 0;   // the object made last (0: none)
        std::uint32_t Selected = 0;  // what the device has selected (0: not known)
    };

    void Select(TSlot& slot, std::uint32_t handle)
    {
        if (slot.Selected == handle) return;
        W.SelectObject(handle);
        slot.Selected = handle;
    }

    void Replace(TSlot& slot, std::uint32_t created)
    {
        const std::uint32_t old = slot.Created;
        slot.Created = created;
        Select(slot, created);
        if (old) W.DeleteObject(old);
    }

    std::uint32_t CreatePen(const TDevicePen& pen)
    {
        std::vector<std::uint32_t> dashes;
        for (double d : pen.Dashes) dashes.push_back(static_cast<std::uint32_t>(std::max(1, Px(d))));
        if (pen.Cosmetic)
            return dashes.empty() ? W.CreatePen(PS_SOLID, 1, pen.Color)
                                  : W.ExtCreatePen(PS_COSMETIC | PS_USERSTYLE, 1, pen.Color, dashes);
        static constexpr std::uint32_t kCaps[] = {PS_ENDCAP_ROUND, PS_ENDCAP_SQUARE, PS_ENDCAP_FLAT};
        static constexpr std::uint32_t kJoins[] = {PS_JOIN_ROUND, PS_JOIN_BEVEL, PS_JOIN_MITER};
        const std::uint32_t style = PS_GEOMETRIC | kCaps[pen.Cap] | kJoins[pen.Join] | (dashes.empty() ? PS_SOLID : PS_USERSTYLE);
        return W.ExtCreatePen(style, std::max(1, Px(pen.Width)), pen.Color, dashes);
    }

    void SelectBrush(const TDeviceBrush& brush)
    {
        const bool pattern = brush.Kind == TDeviceBrush::TKind::Pattern && brush.Pattern && brush.Pattern->Width > 0 &&
                             brush.Pattern->Height > 0;
        if (brush.Kind == TDeviceBrush::TKind::Null || (brush.Kind == TDeviceBrush::TKind::Pattern && !pattern)) {
            Select(FBrushSlot, STOCK_NULL_BRUSH);
            return;
        }
        if (pattern && !(brush.Origin == FBrushOrigin)) W.SetBrushOrg(FBrushOrigin = brush.Origin);
        if (FBrushSlot.Created && SameBrush(brush, FBrush)) {
            Select(FBrushSlot, FBrushSlot.Created);
            return;
        }
        std::uint32_t created = 0;
        if (brush.Kind == TDeviceBrush::TKind::Solid) {
            created = W.CreateBrush(BS_SOLID, brush.Color, 0);
        } else if (brush.Kind == TDeviceBrush::TKind::Hatch) {
            created = W.CreateBrush(BS_HATCHED, brush.Color, static_cast<std::uint32_t>(std::clamp(brush.Hatch - bsHorizontal, 0, 5)));
        } else {
            const TEmfPixels px{brush.Pattern->Width, brush.Pattern->Height, brush.Pattern->Pixels.data()};
            created = W.CreatePatternBrush(px, brush.MonochromePattern);
        }
        Replace(FBrushSlot, created);
        FBrush = brush;
    }

    void SelectFont(const TDeviceFont& font, double angle)
    {
        const int escapement = Px(angle * 10);
        if (FFontHandle && font == FFont && escapement == FEscapement) return;
        TEmfFont f;
        f.Height = -std::max(1, font.PixelHeight);
        f.Escapement = escapement;
        f.Weight = font.Weight;
        f.Italic = font.Italic;
        f.Underline = font.Underline;
        f.StrikeOut = font.StrikeOut;
        f.Quality = font.Antialiased ? 4 : 3;
        for (char c : font.Name) f.FaceName.push_back(static_cast<unsigned char>(c));
        const std::uint32_t old = FFontHandle;
        FFontHandle = W.CreateFont(f);
        W.SelectObject(FFontHandle);
        if (old) W.DeleteObject(old);
        FFont = font;
        FEscapement = escapement;
    }

    // The source as it lands: mirrored as asked, a monochrome source in the text and background colours.
    static std::vector<std::uint32_t> SourcePixels(const TImageCommand& c)
    {
        const TPixelBuffer& s = *c.Source;
        std::vector<std::uint32_t> out(static_cast<std::size_t>(s.Width) * static_cast<std::size_t>(s.Height));
        const auto swapRB = [](TColor rgb) {
            return static_cast<std::uint32_t>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
        };
        for (int y = 0; y < s.Height; ++y)
            for (int x = 0; x < s.Width; ++x) {
                std::uint32_t p = s.At(c.MirrorX ? s.Width - 1 - x : x, c.MirrorY ? s.Height - 1 - y : y) & 0xFFFFFF;
                if (c.MonochromeSource) p = p == 0 ? swapRB(c.State.TextColor) : swapRB(c.State.BkColor);
                out[static_cast<std::size_t>(y) * static_cast<std::size_t>(s.Width) + static_cast<std::size_t>(x)] = p;
            }
        return out;
    }

    TEmfWriter& W;
    bool FClipKnown = false;
    std::unique_ptr<TRegion> FClip;
    int FRop2 = R2_COPYPEN, FBkMode = OPAQUE, FPolyFill = ALTERNATE;
    TColor FBkColor = 0xFFFFFF, FTextColor = 0;
    TSlot FPenSlot, FBrushSlot;
    TDevicePen FPen;
    TDeviceBrush FBrush;
    TPoint FBrushOrigin;
    std::uint32_t FFontHandle = 0;
    TDeviceFont FFont;
    int FEscapement = 0;
};

} // namespace

// ---- TMetafile ---------------------------------------------------------------------------------------

TMetafile::TMetafile() = default;
TMetafile::~TMetafile() = default;

void TMetafile::SetWidth(int w)
{
    w = std::max(0, w);
    if (w == FWidth) return;
    FWidth = w;
    Changed();
}

void TMetafile::SetHeight(int h)
{
    h = std::max(0, h);
    if (h == FHeight) return;
    FHeight = h;
    Changed();
}

int TMetafile::MMWidth() const { return MulDiv(FWidth, 2540, FDpi); }
int TMetafile::MMHeight() const { return MulDiv(FHeight, 2540, FDpi); }

void TMetafile::Clear()
{
    FCommands.clear();
    FWidth = FHeight = 0;
    Changed();
}

void TMetafile::LoadFromBytes(const std::uint8_t*, std::size_t)
{
    throw EInvalidGraphic("Metafiles cannot be read, only written");
}

void TMetafile::SaveToBytes(std::vector<std::uint8_t>& out) const
{
    TEmfWriter writer(FWidth, FHeight, FDpi);
    TEmfTranslator t(writer);
    for (const auto& cmd : FCommands) {
        std::visit(
            [&](const auto& call) {
                using C = std::decay_t<decltype(call)>;
                if constexpr (std::is_same_v<C, TShapeCommand>) t.Shape(call);
                else if constexpr (std::is_same_v<C, TTextCommand>) t.Text(call);
                else if constexpr (std::is_same_v<C, TImageCommand>) t.Image(call);
                else t.Pixel(call, ClipOf(*cmd));
            },
            cmd->Call);
    }
    t.Finish();
    out = writer.Finish();
}

void TMetafile::Assign(const TGraphic& source)
{
    const auto* m = dynamic_cast<const TMetafile*>(&source);
    if (!m) throw EInvalidGraphicOperation(std::string("Cannot assign a ") + source.ClassName() + " to a TMetafile");
    if (m == this) return;
    FWidth = m->FWidth;
    FHeight = m->FHeight;
    FDpi = m->FDpi;
    FEnhanced = m->FEnhanced;
    FCommands = m->FCommands;  // recorded commands never change: sharing them is copying them
    SetTransparent(m->Transparent());
    Changed();
}

std::unique_ptr<TGraphic> TMetafile::Clone() const
{
    auto m = std::make_unique<TMetafile>();
    m->Assign(*this);
    m->SetModified(false);
    return m;
}

TPixelBuffer TMetafile::ToPixels() const
{
    TPixelBuffer px;
    if (FWidth <= 0 || FHeight <= 0) return px;
    px.Width = FWidth;
    px.Height = FHeight;
    px.Pixels.assign(static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(FHeight), 0xFFFFFF);
    TImageMemory memory;
    memory.Bits = reinterpret_cast<std::uint8_t*>(px.Pixels.data());
    memory.Width = FWidth;
    memory.Height = FHeight;
    memory.Stride = FWidth * 4;
    memory.BytesPerPixel = 4;
    TImageBackend device(memory, FDpi);
    for (const auto& cmd : FCommands) {
        std::visit(
            [&](const auto& call) {
                using C = std::decay_t<decltype(call)>;
                if constexpr (std::is_same_v<C, TShapeCommand>) device.DrawShape(call);
                else if constexpr (std::is_same_v<C, TTextCommand>) device.DrawText(call);
                else if constexpr (std::is_same_v<C, TImageCommand>) device.DrawImage(call);
                else device.SetPixel(call.X, call.Y, call.Color, ClipOf(*cmd));
            },
            cmd->Call);
    }
    for (std::uint32_t& p : px.Pixels) p &= 0xFFFFFF;
    return px;
}
