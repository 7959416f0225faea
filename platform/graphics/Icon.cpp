// Icon files and the platform's picture reader: reading goes through Qt's image reader; the icon file
// is written by our own code (one 32-bit image, its AND mask from the alpha).
#include "platform/graphics/Icon.h"

#include "platform/graphics/QtSupport.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <algorithm>

namespace {

constexpr int MaxIconSide = 1 << 14;

TPixelBuffer FromImage(const QImage& source)
{
    TPixelBuffer px;
    if (source.isNull() || source.width() > MaxIconSide || source.height() > MaxIconSide) return px;
    const QImage img = source.convertToFormat(QImage::Format_ARGB32);
    px.Width = img.width();
    px.Height = img.height();
    px.Alpha = img.hasAlphaChannel();
    // Written through a pointer into rows sized at once: a picture of millions of pixels pushed one by one
    // costs a growth check each.
    px.Pixels.resize(static_cast<std::size_t>(px.Width) * px.Height);
    std::uint32_t* out = px.Pixels.data();
    for (int y = 0; y < px.Height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (const QRgb* c = line; c != line + px.Width; ++c)
            *out++ = static_cast<std::uint32_t>(qRed(*c)) | static_cast<std::uint32_t>(qGreen(*c)) << 8 |
                     static_cast<std::uint32_t>(qBlue(*c)) << 16 | static_cast<std::uint32_t>(qAlpha(*c)) << 24;
    }
    return px;
}

void PutIcon16(std::vector<std::uint8_t>& o, unsigned v)
{
    o.push_back(v & 0xFF);
    o.push_back((v >> 8) & 0xFF);
}
void PutIcon32(std::vector<std::uint8_t>& o, std::uint32_t v)
{
    PutIcon16(o, v & 0xFFFF);
    PutIcon16(o, v >> 16);
}

unsigned U16(const std::uint8_t* b, std::size_t at) { return b[at] | b[at + 1] << 8u; }

std::uint32_t U32BigEndian(const std::uint8_t* b) { return std::uint32_t{b[0]} << 24 | b[1] << 16 | b[2] << 8 | b[3]; }

bool SizeAllowed(long long w, long long h) { return w <= MaxIconSide && h <= MaxIconSide && w * h <= (1LL << 25); }

} // namespace

bool PngChunksWhole(const std::uint8_t* data, std::size_t size)
{
    static const std::uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < 8 || !std::equal(std::begin(signature), std::end(signature), data)) return true;
    for (std::size_t at = 8; at + 8 <= size;) {
        const std::uint64_t length = U32BigEndian(data + at);
        if (length + 12 > size - at) return false;
        if (std::equal(data + at + 4, data + at + 8, "IEND")) break;
        at += static_cast<std::size_t>(length) + 12;
    }
    return true;
}

bool JpegSizeBacked(const std::uint8_t* data, std::size_t size)
{
    if (!data || size < 4 || data[0] != 0xFF || data[1] != 0xD8) return true;
    const auto u16 = [&](std::size_t at) { return unsigned{data[at]} << 8 | data[at + 1]; };
    long long width = 0, height = 0;
    bool huffman = false;
    for (std::size_t at = 2; at < size;) {
        // Anything but a marker here is the reader's to judge.
        if (data[at] != 0xFF) return true;
        while (at < size && data[at] == 0xFF) ++at;
        if (at >= size) return true;
        const std::uint8_t marker = data[at++];
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue; // no length
        if (at + 2 > size) return true;
        const std::size_t length = u16(at);
        if (length < 2) return true;
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame && at + 7 <= size) {
            height = u16(at + 3);
            width = u16(at + 5);
            huffman = marker <= 0xC3; // 0xC9 and up are arithmetic-coded, whose blocks may take less than a bit
        }
        if (marker == 0xDA) {
            if (!huffman || width == 0 || height == 0) return true;
            const long long blocks = ((width + 7) / 8) * ((height + 7) / 8);
            const long long coded = at + length < size ? static_cast<long long>(size - at - length) : 0;
            return coded * 8 >= blocks;
        }
        if (marker == 0xD9) return true;
        at += length;
    }
    return true;
}

bool ReadGifLayout(const std::uint8_t* data, std::size_t size, TGifLayout& out)
{
    out = {};
    if (!data || size < 13 || !std::equal(data, data + 4, "GIF8")) return false;
    out.ScreenWidth = static_cast<int>(U16(data, 6));
    out.ScreenHeight = static_cast<int>(U16(data, 8));
    const std::uint8_t flags = data[10];
    out.HeaderEnd = 13 + ((flags & 0x80) ? 3u << ((flags & 7) + 1) : 0u);
    if (out.HeaderEnd > size) return false;
    // Extensions (0x21, a label, then sub-blocks up to an empty one) stand before the first image.
    std::size_t at = out.HeaderEnd;
    while (at < size && data[at] == 0x21) {
        at += 2;
        while (at < size && data[at] != 0) at += std::size_t{data[at]} + 1;
        ++at;
    }
    if (at < size && data[at] == 0x2C) out.FirstImage = at;
    return true;
}

TRect GifFrameRect(const std::uint8_t* data, std::size_t size, std::size_t at)
{
    if (!data || at + 9 > size) return {};
    return Bounds(static_cast<int>(U16(data, at + 1)), static_cast<int>(U16(data, at + 3)),
                  static_cast<int>(U16(data, at + 5)), static_cast<int>(U16(data, at + 7)));
}

bool DecodePictureBytes(const std::uint8_t* data, std::size_t size, TPixelBuffer& out)
{
    if (!data || size == 0 || size > (1u << 28)) return false;
    if (!PngChunksWhole(data, size) || !JpegSizeBacked(data, size)) return false;
    // The reader decodes a GIF onto its logical screen, leaving out what of a frame lies beyond it, but
    // grows a side of 0 to the frame's extent, and claims a size of its own that may be neither: the
    // screen is what is checked, and it must be whole.
    TGifLayout gif;
    const bool isGif = ReadGifLayout(data, size, gif);
    if (isGif && (gif.ScreenWidth == 0 || gif.ScreenHeight == 0)) return false;
    EnsureGuiApplication();
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize s = isGif ? QSize(gif.ScreenWidth, gif.ScreenHeight) : reader.size();
    if (s.isValid() && !SizeAllowed(s.width(), s.height())) return false;
    QImage img;
    if (!reader.read(&img)) return false;
    // What was decoded is never larger than what was checked.
    if (s.isValid() && (img.width() > s.width() || img.height() > s.height())) return false;
    out = FromImage(img);
    return out.Width > 0 && out.Height > 0;
}

TIcon::TIcon() = default;
TIcon::~TIcon() = default;

int TIcon::Width() const { return FPixels.Width; }
int TIcon::Height() const { return FPixels.Height; }
bool TIcon::Empty() const { return FPixels.Width == 0 || FPixels.Height == 0; }

void TIcon::LoadFromBytes(const std::uint8_t* data, std::size_t size)
{
    // The icon directory: reserved 0, type 1, at least one entry.
    if (!data || size < 6 || data[0] || data[1] || data[2] != 1 || data[3] || (data[4] | data[5] << 8) == 0)
        throw EInvalidGraphic("Invalid icon");
    EnsureGuiApplication();
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    QImage best;
    for (int i = 0; i < std::max(1, reader.imageCount()); ++i) {
        if (i > 0 && !reader.jumpToImage(i)) break;
        QImage img;
        if (!reader.read(&img)) continue;
        if (best.isNull() || img.width() * img.height() > best.width() * best.height()) best = img;
    }
    TPixelBuffer px = FromImage(best);
    if (px.Width == 0 || px.Height == 0) throw EInvalidGraphic("Invalid icon");
    px.Alpha = true;
    FPixels = std::move(px);
    Changed();
}

void TIcon::SaveToBytes(std::vector<std::uint8_t>& out) const
{
    out.clear();
    const int w = FPixels.Width, h = FPixels.Height;
    const int maskStride = ((w + 31) / 32) * 4;
    const std::uint32_t imageSize = 40 + static_cast<std::uint32_t>(w) * h * 4 + static_cast<std::uint32_t>(maskStride) * h;
    // Directory with one entry.
    PutIcon16(out, 0);
    PutIcon16(out, 1);
    PutIcon16(out, Empty() ? 0 : 1);
    if (Empty()) return;
    out.push_back(w >= 256 ? 0 : static_cast<std::uint8_t>(w));
    out.push_back(h >= 256 ? 0 : static_cast<std::uint8_t>(h));
    out.push_back(0);
    out.push_back(0);
    PutIcon16(out, 1);
    PutIcon16(out, 32);
    PutIcon32(out, imageSize);
    PutIcon32(out, 22);
    // The image: a bitmap header of twice the height (colour and mask), bottom-up BGRA rows, the mask.
    PutIcon32(out, 40);
    PutIcon32(out, static_cast<std::uint32_t>(w));
    PutIcon32(out, static_cast<std::uint32_t>(2 * h));
    PutIcon16(out, 1);
    PutIcon16(out, 32);
    for (int i = 0; i < 6; ++i) PutIcon32(out, 0);
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            const std::uint32_t c = FPixels.At(x, y);
            const std::uint32_t a = FPixels.Alpha ? c >> 24 : 0xFF;
            out.push_back((c >> 16) & 0xFF);
            out.push_back((c >> 8) & 0xFF);
            out.push_back(c & 0xFF);
            out.push_back(static_cast<std::uint8_t>(a));
        }
    for (int y = h - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(static_cast<std::size_t>(maskStride), 0);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t a = FPixels.Alpha ? FPixels.At(x, y) >> 24 : 0xFF;
            if (a == 0) row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
}

void TIcon::Assign(const TGraphic& source)
{
    if (&source == this) return;
    if (const auto* i = dynamic_cast<const TIcon*>(&source)) FPixels = i->FPixels;
    else FPixels = source.ToPixels();
    Changed();
}

std::unique_ptr<TGraphic> TIcon::Clone() const
{
    auto i = std::make_unique<TIcon>();
    i->FPixels = FPixels;
    return i;
}

TPixelBuffer TIcon::ToPixels() const { return FPixels; }

void TIcon::SetPixels(const TPixelBuffer& px)
{
    FPixels = px;
    Changed();
}
