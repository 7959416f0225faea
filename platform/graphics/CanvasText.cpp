// TCanvas text: the font realised for the device, measuring from the device's character advances, and
// text output with alignment, background, character extra and rotation (into a path while one is built).

#include "platform/graphics/CanvasImpl.h"

#include "platform/graphics/ImageBackend.h"
#include "platform/graphics/QtSupport.h"
#include "platform/rtl/AnsiText.h"
#include "platform/rtl/PixelMath.h"

#include <QPainterPath>
#include <QRawFont>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr int MaxPixelHeight = 1 << 14;    // beyond this no glyph fits any device

}  // namespace

TDeviceFont TCanvas::Impl::DeviceFont() const
{
    const TFont& f = Owner.FFont;
    TDeviceFont d;
    d.Name = f.Name();
    d.Face = FaceForFontName(f.Name());
    d.Weight = f.Style().Contains(fsBold) ? 700 : 400;
    d.Italic = f.Style().Contains(fsItalic);
    d.Underline = f.Style().Contains(fsUnderline);
    d.StrikeOut = f.Style().Contains(fsStrikeOut);
    d.Antialiased = f.Quality() != fqNonAntialiased && f.Quality() != fqDraft;
    // The height is logical: negative for the character height, positive for the cell height.
    const double h = std::fabs(f.Height() * ScaleY());
    int px = f.Height() == 0 ? 16 : std::clamp(PixelFromReal(h), 1, MaxPixelHeight);
    if (f.Height() > 0) {
        // A cell height: the character height is the part of the cell the font's em takes.
        TDeviceFont probe = d;
        probe.PixelHeight = px;
        const TCanvasBackend* dev = Owner.FBackend.get();
        const TDeviceFontMetrics m = dev ? dev->FontMetrics(probe) : TDeviceFontMetrics{px, px - px / 5, px / 5};
        if (m.Height > 0) px = std::clamp(PixelFromReal(double(px) * px / m.Height), 1, MaxPixelHeight);
    }
    d.PixelHeight = px;
    return d;
}

namespace {

struct TTextLayout {
    TDeviceFont Font;
    TDeviceFontMetrics Metrics;
    std::vector<double> Offsets;
    double Width = 0;
};

// How far each character moves the pen on the device: its advance and the character extra.
std::vector<int> CharSteps(const TCanvas::Impl& dc, const TCanvasBackend* dev, const TDeviceFont& font, const std::u16string& chars)
{
    std::vector<int> adv;
    if (dev) dev->CharAdvances(font, chars, adv);
    else adv.assign(chars.size(), std::max(1, font.PixelHeight / 2));
    adv.resize(chars.size());
    const int extraPx = PixelFromReal(dc.St.CharExtra * dc.ScaleX());
    if (extraPx != 0)
        for (int& a : adv) a += extraPx;
    return adv;
}

TTextLayout Layout(const TCanvas::Impl& dc, const TCanvasBackend* dev, const std::u16string& chars)
{
    TTextLayout l;
    l.Font = dc.DeviceFont();
    if (dev) {
        l.Metrics = dev->FontMetrics(l.Font);
    } else {
        const int h = l.Font.PixelHeight;
        l.Metrics = {h, h - h / 5, h / 5, 0, 0, std::max(1, h / 2), std::max(1, h / 2)};
    }
    double x = 0;
    l.Offsets.reserve(chars.size());
    for (const int step : CharSteps(dc, dev, l.Font, chars)) {
        l.Offsets.push_back(x);
        x += step;
    }
    l.Width = x;
    return l;
}

// The text's rotation on the device: the font's escapement plus a turning world transform.
double TextAngle(const TCanvas::Impl& dc, int orientation)
{
    double a = orientation / 10.0;
    const TAffine t = dc.Transform();
    if (!t.AxisAligned()) a += -std::atan2(t.b, t.a) * 180 / std::numbers::pi;
    return a;
}

}  // namespace

void TCanvas::Impl::EmitText(TTextCommand& cmd)
{
    if (!Owner.FBackend) return;
    cmd.State = DeviceState();
    Owner.FBackend->DrawText(cmd);
}

namespace {

// Where a text lands on the device: its baseline origin, direction and cell.
struct TTextPlacement {
    TPointF Ref;                 // the reference point (device)
    double Angle = 0;            // degrees, counter-clockwise
    double Ux = 1, Uy = 0;       // along the baseline
    double Vx = 0, Vy = 1;       // down the glyphs
    TPointF Origin;              // left end of the baseline
    TPointF Cell[4];
};

TTextPlacement Place(const TCanvas::Impl& dc, TPoint refL, int orientation, const TTextLayout& l)
{
    TTextPlacement p;
    p.Ref = dc.ToDevice(refL.x, refL.y);
    p.Angle = TextAngle(dc, orientation);
    const double rad = p.Angle * std::numbers::pi / 180;
    p.Ux = std::cos(rad);
    p.Uy = -std::sin(rad);
    p.Vx = std::sin(rad);
    p.Vy = std::cos(rad);
    // Horizontal alignment moves the start along the baseline; vertical alignment moves the baseline.
    const unsigned align = dc.St.TextAlign;
    double along = 0;
    switch (align & TA_CENTER) {
    case TA_RIGHT: along = -l.Width; break;
    case TA_CENTER: along = -std::trunc(l.Width / 2); break;
    default: break;
    }
    double down = l.Metrics.Ascent;
    switch (align & TA_BASELINE) {
    case TA_BASELINE: down = 0; break;
    case TA_BOTTOM: down = -l.Metrics.Descent; break;
    default: break;
    }
    p.Origin = {p.Ref.x + along * p.Ux + down * p.Vx, p.Ref.y + along * p.Uy + down * p.Vy};
    const TPointF top{p.Origin.x - l.Metrics.Ascent * p.Vx, p.Origin.y - l.Metrics.Ascent * p.Vy};
    p.Cell[0] = top;
    p.Cell[1] = {top.x + l.Width * p.Ux, top.y + l.Width * p.Uy};
    p.Cell[2] = {p.Cell[1].x + l.Metrics.Height * p.Vx, p.Cell[1].y + l.Metrics.Height * p.Vy};
    p.Cell[3] = {top.x + l.Metrics.Height * p.Vx, top.y + l.Metrics.Height * p.Vy};
    return p;
}

// With TA_UPDATECP the current position moves to the end of the text in its direction.
void MoveAlongText(TCanvas::Impl& dc, const TTextPlacement& p, const TTextLayout& l)
{
    double move = l.Width;
    switch (dc.St.TextAlign & TA_CENTER) {
    case TA_RIGHT: move = -l.Width; break;
    case TA_CENTER: move = 0; break;
    default: break;
    }
    const TPointF end = dc.ToLogical(p.Ref.x + move * p.Ux, p.Ref.y + move * p.Uy);
    dc.St.Pos = {PixelFromReal(end.x), PixelFromReal(end.y)};
}

// The glyph outlines join the path being built (pixel-centre coordinates).
void AddGlyphOutlines(TCanvas::Impl& dc, const TTextPlacement& p, const TTextLayout& l, const std::u16string& chars)
{
    EnsureGuiApplication();
    const QRawFont raw = QtRawFontFor(l.Font);
    const QString s = QString::fromUtf16(chars.data(), static_cast<qsizetype>(chars.size()));
    const QList<quint32> glyphs = raw.glyphIndexesForString(s);
    for (qsizetype i = 0; i < glyphs.size() && i < static_cast<qsizetype>(l.Offsets.size()); ++i)
        for (const QPolygonF& poly : raw.pathForGlyph(glyphs[i]).toSubpathPolygons()) {
            std::vector<TPointF> pts;
            for (const QPointF& q : poly) {
                const double gx = l.Offsets[i] + q.x(), gy = q.y();
                pts.push_back({p.Origin.x + gx * p.Ux + gy * p.Vx - 0.5, p.Origin.y + gx * p.Uy + gy * p.Vy - 0.5});
            }
            dc.PathAddFigure(pts, true);
        }
}

void WriteText(TCanvas& cv, TCanvas::Impl& dc, TCanvasBackend* dev, int x, int y, const std::string* ansi,
               const std::u16string& chars)
{
    const TTextLayout l = Layout(dc, dev, chars);
    const bool updateCp = dc.St.TextAlign & TA_UPDATECP;
    const TTextPlacement p = Place(dc, updateCp ? dc.St.Pos : TPoint{x, y}, cv.Font().Orientation(), l);
    if (updateCp) MoveAlongText(dc, p, l);
    if (dc.Path.Stage == TPathState::Building) {
        AddGlyphOutlines(dc, p, l, chars);
        return;
    }
    TTextCommand c;
    c.Op = TCanvasOp::TextOut;
    c.Args = {x, y};
    if (ansi) c.Text = *ansi;
    c.Chars = chars;
    c.Font = l.Font;
    c.Origin = p.Origin;
    c.Angle = p.Angle;
    c.Offsets = l.Offsets;
    c.Width = l.Width;
    c.Color = dc.St.TextColor;
    c.Opaque = dc.St.BkMode == OPAQUE;
    std::copy(std::begin(p.Cell), std::end(p.Cell), std::begin(c.Cell));
    dc.EmitText(c);
}

}  // namespace

void TCanvas::TextOut(int x, int y, const std::string& text)
{
    WriteText(*this, *FImpl, FBackend.get(), x, y, &text, AnsiToWide(text));
}

void TCanvas::TextOutW(int x, int y, const std::u16string& text)
{
    WriteText(*this, *FImpl, FBackend.get(), x, y, nullptr, text);
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text)
{
    const int level = SaveDC();
    IntersectClipRect(r.Left, r.Top, r.Right, r.Bottom);
    if (FBrush.Style() != bsClear) {
        // The rectangle is first filled in the background colour.
        TBrush back;
        back.SetColor(FImpl->St.BkColor);
        FillRect(r, back);
    }
    TextOut(x, y, text);
    RestoreDC(level);
}

TSize TCanvas::TextExtent(const std::string& text) const { return TextExtentW(AnsiToWide(text)); }

TSize TCanvas::TextExtentW(const std::u16string& text) const
{
    const TTextLayout l = Layout(*FImpl, FBackend.get(), text);
    const double sx = FImpl->ScaleX(), sy = FImpl->ScaleY();
    return {sx > 0 ? PixelFromReal(l.Width / sx) : 0, sy > 0 ? PixelFromReal(l.Metrics.Height / sy) : 0};
}

TTextRuler TCanvas::MeasureText(const std::string& text) const { return MeasureTextW(AnsiToWide(text)); }

// Each character's step becomes its end where it stands: a long text is measured in one array.
TTextRuler TCanvas::MeasureTextW(const std::u16string& text) const
{
    TTextRuler r;
    r.FScaleX = FImpl->ScaleX();
    r.FEnds = CharSteps(*FImpl, FBackend.get(), FImpl->DeviceFont(), text);
    long long x = 0;
    for (std::size_t i = 0; i < r.FEnds.size(); ++i) {
        const int step = r.FEnds[i];
        r.FMonotone = r.FMonotone && step >= 0;
        x += step;
        if (r.FWideEnds.empty() && x >= std::numeric_limits<int>::min() && x <= std::numeric_limits<int>::max()) {
            r.FEnds[i] = static_cast<int>(x);
            continue;
        }
        if (r.FWideEnds.empty()) r.FWideEnds.assign(r.FEnds.begin(), r.FEnds.begin() + static_cast<std::ptrdiff_t>(i));
        r.FWideEnds.push_back(static_cast<double>(x));
    }
    if (!r.FWideEnds.empty()) r.FEnds = {};
    return r;
}

// The device sums are whole pixels, so a difference of two is exactly the sum TextExtentW makes of the
// run alone, and the rounding to logical units is the same.
int TTextRuler::Width(std::size_t From, std::size_t To) const
{
    return FScaleX > 0 ? PixelFromReal((End(To) - End(From)) / FScaleX) : 0;
}

int TTextRuler::Width(std::size_t From, std::size_t To, const TTextRuler& After) const
{
    return FScaleX > 0 ? PixelFromReal((End(To) - End(From) + After.End(After.Size())) / FScaleX) : 0;
}

bool TCanvas::GetTextMetrics(TTextMetric& tm) const
{
    const TTextLayout l = Layout(*FImpl, FBackend.get(), u"");
    const double sx = FImpl->ScaleX(), sy = FImpl->ScaleY();
    if (!(sx > 0 && sy > 0)) return false;
    const auto Y = [sy](int v) { return PixelFromReal(v / sy); };
    const auto X = [sx](int v) { return PixelFromReal(v / sx); };
    tm.tmHeight = Y(l.Metrics.Height);
    tm.tmAscent = Y(l.Metrics.Ascent);
    tm.tmDescent = Y(l.Metrics.Descent);
    tm.tmInternalLeading = Y(l.Metrics.InternalLeading);
    tm.tmExternalLeading = Y(l.Metrics.ExternalLeading);
    tm.tmAveCharWidth = X(l.Metrics.AveCharWidth);
    tm.tmMaxCharWidth = X(l.Metrics.MaxCharWidth);
    return true;
}
