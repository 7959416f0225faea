// Fonts through Qt: the substitutes of the Windows-era faces, the realisation of a device font, its
// metrics and integer character advances, the glyph painting shared by the Qt-based devices, and the
// application object that Qt's font machinery needs.

#include "platform/graphics/ImageBackend.h"
#include "platform/graphics/QtSupport.h"
#include "platform/graphics/RegionImpl.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QRawFont>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <cstdlib>
#include <map>
#include <mutex>
#include <optional>
#include <tuple>

void KeepLargeBlocksInHeap()
{
#if defined(__GLIBC__)
    static const bool done = [] {
        mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
        mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
        return true;
    }();
    (void)done;
#endif
}

void EnsureGuiApplication()
{
    if (QCoreApplication::instance()) return;
    KeepLargeBlocksInHeap();
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "vornsp2dp";
    static char* argv[] = {name, nullptr};
    // A widget application, so that controls and dialogs made later in the process can live in it.
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

namespace {

std::string Lower(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// What measuring a realised font gives: its metrics and the advances of the first 256 characters
// (-1 until asked), so that text laid out again and again does not realise the font each time.
struct TFontMeasures {
    TDeviceFontMetrics Metrics;
    std::array<int, 256> Advances;
};

// Module state of the font engine: faces found installed, realised fonts by key, and their measures by
// key with underline and strike-out.
// A realised font, and the raw font that paints its glyphs, made when first asked for.
struct TRealisedFont {
    QFont Font;
    std::optional<QRawFont> Raw;
};

struct TFontCache {
    std::map<std::string, std::string> Faces;
    std::map<std::tuple<std::string, int, int, bool, bool>, TRealisedFont> Fonts;
    std::map<std::tuple<std::string, int, int, bool, bool, bool, bool>, TFontMeasures> Measures;
    void Reset() { *this = TFontCache(); }
};
TFontCache& Cache()
{
    static TFontCache c;
    return c;
}

}  // namespace

std::string FaceForFontName(const std::string& name)
{
    static const std::map<std::string, std::string> substitutes = {
        {"arial", "Liberation Sans"},         {"helvetica", "Liberation Sans"},
        {"ms sans serif", "Liberation Sans"}, {"tahoma", "Liberation Sans"},
        {"times new roman", "Liberation Serif"}, {"times", "Liberation Serif"},
        {"courier new", "Liberation Mono"},   {"courier", "Liberation Mono"}};
    const std::string key = Lower(name);
    if (auto it = substitutes.find(key); it != substitutes.end()) return it->second;
    auto& faces = Cache().Faces;
    if (auto it = faces.find(key); it != faces.end()) return it->second;
    EnsureGuiApplication();
    const QString q = QString::fromLatin1(name.c_str());
    std::string face = "Liberation Sans";
    for (const QString& f : QFontDatabase::families())
        if (f.compare(q, Qt::CaseInsensitive) == 0) {
            face = f.toStdString();
            break;
        }
    faces[key] = face;
    return face;
}

namespace {

// The font without underline and strike-out.
TRealisedFont& Realised(const TDeviceFont& font)
{
    EnsureGuiApplication();
    const auto key = std::make_tuple(font.Face.empty() ? FaceForFontName(font.Name) : font.Face,
                                     std::max(1, font.PixelHeight), font.Weight, font.Italic, font.Antialiased);
    auto& fonts = Cache().Fonts;
    auto it = fonts.find(key);
    if (it == fonts.end()) {
        QFont f(QString::fromStdString(std::get<0>(key)));
        f.setPixelSize(std::get<1>(key));
        f.setWeight(static_cast<QFont::Weight>(std::clamp(font.Weight, 1, 1000)));
        f.setItalic(font.Italic);
        f.setKerning(false);
        f.setHintingPreference(QFont::PreferFullHinting);
        f.setStyleStrategy(font.Antialiased ? QFont::PreferAntialias : QFont::NoAntialias);
        if (fonts.size() > 256) fonts.clear();
        it = fonts.emplace(key, TRealisedFont{f, std::nullopt}).first;
    }
    return it->second;
}

}  // namespace

QFont QtFontFor(const TDeviceFont& font)
{
    QFont f = Realised(font).Font;
    f.setUnderline(font.Underline);
    f.setStrikeOut(font.StrikeOut);
    return f;
}

QRawFont QtRawFontFor(const TDeviceFont& font)
{
    TRealisedFont& r = Realised(font);
    if (!r.Raw) r.Raw = QRawFont::fromFont(r.Font);
    return *r.Raw;
}

namespace {

TFontMeasures& MeasuresOf(const TDeviceFont& font)
{
    auto key = std::make_tuple(font.Face.empty() ? FaceForFontName(font.Name) : font.Face, std::max(1, font.PixelHeight),
                               font.Weight, font.Italic, font.Antialiased, font.Underline, font.StrikeOut);
    auto& measures = Cache().Measures;
    auto it = measures.find(key);
    if (it != measures.end()) return it->second;
    const QFontMetrics fm(QtFontFor(font));
    TDeviceFontMetrics m;
    m.Ascent = fm.ascent();
    m.Descent = fm.descent();
    m.Height = m.Ascent + m.Descent;
    m.InternalLeading = std::max(0, m.Height - std::max(1, font.PixelHeight));
    m.ExternalLeading = std::max(0, fm.leading());
    m.AveCharWidth = fm.averageCharWidth();
    m.MaxCharWidth = fm.maxWidth();
    if (measures.size() > 256) measures.clear();
    TFontMeasures fresh{m, {}};
    fresh.Advances.fill(-1);
    return measures.emplace(std::move(key), fresh).first->second;
}

}  // namespace

TDeviceFontMetrics SystemFontMetrics(const TDeviceFont& font) { return MeasuresOf(font).Metrics; }

void SystemCharAdvances(const TDeviceFont& font, const std::u16string& text, std::vector<int>& advances)
{
    TFontMeasures& measures = MeasuresOf(font);
    advances.resize(text.size());
    std::optional<QFontMetrics> fm;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        int* known = c < measures.Advances.size() ? &measures.Advances[c] : nullptr;
        if (known && *known >= 0) {
            advances[i] = *known;
            continue;
        }
        if (!fm) fm.emplace(QtFontFor(font));
        advances[i] = fm->horizontalAdvance(QChar(c));
        if (known) *known = advances[i];
    }
}

QRegion QtRegion(const TRegion* region)
{
    return region ? region->GetImpl()->R : QRegion();
}

QPainterPath QtPath(const TDevicePath& path, bool closeAll)
{
    QPainterPath qp;
    qp.setFillRule(Qt::OddEvenFill);
    for (const TDeviceFigure& f : path) {
        if (f.Points.empty()) continue;
        qp.moveTo(f.Points[0].x + 0.5, f.Points[0].y + 0.5);
        for (std::size_t i = 1; i < f.Points.size(); ++i) qp.lineTo(f.Points[i].x + 0.5, f.Points[i].y + 0.5);
        if (f.Closed || closeAll) qp.closeSubpath();
    }
    return qp;
}

void QtPaintText(QPainter& p, const TTextCommand& cmd)
{
    if (cmd.Opaque) {
        QPolygonF cell;
        for (const TPointF& c : cmd.Cell) cell << QPointF(c.x, c.y);
        p.setPen(Qt::NoPen);
        p.setBrush(QtColor(cmd.State.BkColor));
        p.setRenderHint(QPainter::Antialiasing, false);
        p.drawPolygon(cell);
    }
    if (cmd.Chars.empty()) return;
    const QRawFont raw = QtRawFontFor(cmd.Font);
    const QString s = QString::fromUtf16(cmd.Chars.data(), static_cast<qsizetype>(cmd.Chars.size()));
    QList<quint32> placed = raw.glyphIndexesForString(s);
    const qsizetype count = std::min(placed.size(), static_cast<qsizetype>(cmd.Offsets.size()));
    placed.resize(count);
    QList<QPointF> positions;
    positions.reserve(count);
    for (qsizetype i = 0; i < count; ++i) positions.append(QPointF(cmd.Offsets[i], 0));
    p.save();
    p.translate(cmd.Origin.x, cmd.Origin.y);
    p.rotate(-cmd.Angle);
    p.setRenderHint(QPainter::TextAntialiasing, cmd.Font.Antialiased);
    p.setRenderHint(QPainter::Antialiasing, cmd.Font.Antialiased);
    p.setPen(QtColor(cmd.Color));
    if (!placed.isEmpty()) {
        QGlyphRun run;
        run.setRawFont(raw);
        run.setGlyphIndexes(placed);
        run.setPositions(positions);
        p.drawGlyphRun(QPointF(0, 0), run);
    }
    // Underline and strike-out span the text's advance, one line as thick as the font asks.
    if (cmd.Font.Underline || cmd.Font.StrikeOut) {
        const QFontMetricsF fm(Realised(cmd.Font).Font);
        const double w = std::max(1.0, std::round(fm.lineWidth()));
        p.setPen(Qt::NoPen);
        p.setBrush(QtColor(cmd.Color));
        if (cmd.Font.Underline) p.drawRect(QRectF(0, std::round(fm.underlinePos()), cmd.Width, w));
        if (cmd.Font.StrikeOut) p.drawRect(QRectF(0, -std::round(fm.strikeOutPos()), cmd.Width, w));
    }
    p.restore();
}
