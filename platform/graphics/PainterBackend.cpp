// Painting device commands on a Qt painter (printer pages and PDF files).
#include "platform/graphics/PainterBackend.h"

#include "platform/graphics/ImageBackend.h"
#include "platform/graphics/QtSupport.h"

#include <QPainter>

#include <algorithm>

namespace {

// The colour a pen or brush paints with under a raster operation; false when it paints nothing.
bool PaintedColor(int rop2, TColor color, QColor& out)
{
    switch (rop2) {
    case R2_NOP: return false;
    case R2_BLACK: out = Qt::black; return true;
    case R2_WHITE: out = Qt::white; return true;
    case R2_NOTCOPYPEN: out = QtColor(~color & 0xFFFFFF); return true;
    default: out = QtColor(color); return true;
    }
}

Qt::BrushStyle HatchStyle(int hatch)
{
    switch (hatch) {
    case bsHorizontal: return Qt::HorPattern;
    case bsVertical: return Qt::VerPattern;
    case bsFDiagonal: return Qt::FDiagPattern;
    case bsBDiagonal: return Qt::BDiagPattern;
    case bsCross: return Qt::CrossPattern;
    case bsDiagCross: return Qt::DiagCrossPattern;
    default: return Qt::NoBrush;
    }
}

// A pattern as an image: a monochrome one in the text colour (black pixels) and the background colour
// (white pixels, left out on a transparent background).
QImage PatternImage(const TDeviceBrush& b, const TDeviceState& st)
{
    const TPixelBuffer& px = *b.Pattern;
    QImage image(px.Width, px.Height, QImage::Format_ARGB32);
    for (int y = 0; y < px.Height; ++y)
        for (int x = 0; x < px.Width; ++x) {
            const std::uint32_t p = px.At(x, y) & 0xFFFFFF;
            QColor c(QRgb(0xFF000000u | p));
            if (b.MonochromePattern) {
                if (p == 0)
                    c = QtColor(st.TextColor);
                else
                    c = st.BkMode == TRANSPARENT ? QColor(0, 0, 0, 0) : QtColor(st.BkColor);
            }
            image.setPixelColor(x, y, c);
        }
    return image;
}

QBrush QtBrush(const TDeviceBrush& b, const TDeviceState& st, QColor color)
{
    switch (b.Kind) {
    case TDeviceBrush::TKind::Null: return Qt::NoBrush;
    case TDeviceBrush::TKind::Solid: return QBrush(color);
    case TDeviceBrush::TKind::Hatch: return QBrush(color, HatchStyle(b.Hatch));
    case TDeviceBrush::TKind::Pattern: {
        if (!b.Pattern || b.Pattern->Width <= 0 || b.Pattern->Height <= 0) return Qt::NoBrush;
        QBrush brush(PatternImage(b, st));
        brush.setTransform(QTransform::fromTranslate(b.Origin.x, b.Origin.y));
        return brush;
    }
    }
    return Qt::NoBrush;
}

QPen QtPen(const TDevicePen& p, QColor color)
{
    QPen pen(color);
    pen.setCosmetic(p.Cosmetic);
    pen.setWidthF(p.Cosmetic ? 0.0 : std::max(1.0, p.Width));
    pen.setCapStyle(p.Cap == pecFlat ? Qt::FlatCap : p.Cap == pecSquare ? Qt::SquareCap : Qt::RoundCap);
    pen.setJoinStyle(p.Join == pjBevel ? Qt::BevelJoin : p.Join == pjMiter ? Qt::MiterJoin : Qt::RoundJoin);
    if (!p.Dashes.empty()) {
        // Qt measures dashes in pen widths.
        const double unit = p.Cosmetic ? 1.0 : std::max(1.0, p.Width);
        QList<qreal> dashes;
        for (double d : p.Dashes) dashes << std::max(0.01, d / unit);
        if (dashes.size() % 2 != 0) dashes << dashes.back();
        pen.setDashPattern(dashes);
    }
    return pen;
}

} // namespace

void TPainterBackend::SetClip(const TRegion* clip)
{
    if (clip)
        FPainter.setClipRegion(QtRegion(clip));
    else
        FPainter.setClipping(false);
}

void TPainterBackend::DrawShape(const TShapeCommand& cmd)
{
    FPainter.save();
    SetClip(cmd.State.Clip);
    const int fillRop = cmd.Rop3 == 0 ? cmd.State.Rop2
                        : cmd.Rop3 == BLACKNESS ? R2_BLACK
                        : cmd.Rop3 == WHITENESS ? R2_WHITE
                        : cmd.Rop3 == DSTINVERT ? R2_NOP  // the destination cannot be read here
                                                : R2_COPYPEN;
    QColor color;
    if (!cmd.Fill.empty() && cmd.Brush.Kind != TDeviceBrush::TKind::Null && PaintedColor(fillRop, cmd.Brush.Color, color)) {
        QPainterPath path = QtPath(cmd.Fill, true);
        path.setFillRule(cmd.State.PolyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
        if (cmd.Brush.Kind == TDeviceBrush::TKind::Hatch && cmd.State.BkMode == OPAQUE)
            FPainter.fillPath(path, QtColor(cmd.State.BkColor));
        FPainter.fillPath(path, QtBrush(cmd.Brush, cmd.State, color));
    }
    if (!cmd.Stroke.empty() && !cmd.Pen.Null && PaintedColor(cmd.State.Rop2, cmd.Pen.Color, color)) {
        FPainter.setPen(QtPen(cmd.Pen, color));
        FPainter.setBrush(Qt::NoBrush);
        FPainter.drawPath(QtPath(cmd.Stroke, false));
    }
    FPainter.restore();
}

void TPainterBackend::DrawText(const TTextCommand& cmd)
{
    FPainter.save();
    SetClip(cmd.State.Clip);
    QtPaintText(FPainter, cmd);
    FPainter.restore();
}

void TPainterBackend::DrawImage(const TImageCommand& cmd)
{
    if (!cmd.Source || cmd.Source->Width <= 0 || cmd.Source->Height <= 0 || cmd.Dest.IsEmpty()) return;
    const TPixelBuffer& s = *cmd.Source;
    QImage image(s.Width, s.Height, QImage::Format_ARGB32);
    for (int y = 0; y < s.Height; ++y)
        for (int x = 0; x < s.Width; ++x) {
            std::uint32_t p = s.At(x, y) & 0xFFFFFF;
            const bool hidden = cmd.Transparent && p == (((cmd.TransparentColor & 0xFF) << 16) |
                                                         (cmd.TransparentColor & 0xFF00) |
                                                         ((cmd.TransparentColor >> 16) & 0xFF));
            if (cmd.MonochromeSource) p = QtColor(p == 0 ? cmd.State.TextColor : cmd.State.BkColor).rgb() & 0xFFFFFF;
            image.setPixel(x, y, hidden ? 0u : (0xFF000000u | p));
        }
    image = image.mirrored(cmd.MirrorX, cmd.MirrorY);
    FPainter.save();
    SetClip(cmd.State.Clip);
    FPainter.drawImage(QRectF(cmd.Dest.Left, cmd.Dest.Top, cmd.Dest.Width(), cmd.Dest.Height()), image);
    FPainter.restore();
}

void TPainterBackend::SetPixel(int x, int y, TColor rgb, const TRegion* clip)
{
    if (clip && !clip->Contains(x, y)) return;
    FPainter.fillRect(QRectF(x, y, 1, 1), QtColor(rgb));
}

TDeviceFontMetrics TPainterBackend::FontMetrics(const TDeviceFont& font) const { return SystemFontMetrics(font); }

void TPainterBackend::CharAdvances(const TDeviceFont& font, const std::u16string& text, std::vector<int>& advances) const
{
    SystemCharAdvances(font, text, advances);
}
