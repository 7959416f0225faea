// Bitmap files: our own reader (core and information headers and their later versions; 1, 4, 8, 16, 24
// and 32 bits; run-length and bit-field compression; bottom-up and top-down rows) and writer (a 14-byte
// file header, the 40-byte information header with the resolution at offsets 38 and 42, the palette of
// indexed formats, rows bottom-up padded to four bytes).

#include "platform/graphics/Bitmap.h"

#include "platform/graphics/Raster.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int MaxSide = 1 << 15;
constexpr long long MaxPixels = 1LL << 25;
constexpr std::uint32_t PixelsPerMeter96Dpi = 3780;

[[noreturn]] void Invalid() { throw EInvalidGraphic("Bitmap image is not valid"); }

struct TReader {
    const std::uint8_t* Data;
    std::size_t Size;
    std::uint32_t U32(std::size_t at) const
    {
        if (at > Size || Size - at < 4) Invalid();
        return Data[at] | (Data[at + 1] << 8) | (Data[at + 2] << 16) | (static_cast<std::uint32_t>(Data[at + 3]) << 24);
    }
    std::uint16_t U16(std::size_t at) const
    {
        if (at > Size || Size - at < 2) Invalid();
        return static_cast<std::uint16_t>(Data[at] | (Data[at + 1] << 8));
    }
};

void Put16(std::vector<std::uint8_t>& o, std::uint16_t v)
{
    o.push_back(v & 0xFF);
    o.push_back(v >> 8);
}
void Put32(std::vector<std::uint8_t>& o, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) o.push_back((v >> (8 * i)) & 0xFF);
}

// A channel of a bit-field pixel scaled to 8 bits.
std::uint32_t Channel(std::uint32_t v, std::uint32_t mask)
{
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const std::uint32_t m = mask >> shift;
    int bits = 0;
    while (bits < 32 && ((m >> bits) & 1)) ++bits;
    const std::uint64_t c = (v & mask) >> shift;
    const std::uint64_t max = (bits >= 32) ? 0xFFFFFFFFull : ((1ull << bits) - 1);
    return static_cast<std::uint32_t>((c * 255 + max / 2) / max);
}

struct THeader {
    int Width = 0, Height = 0;
    bool TopDown = false;
    int Bpp = 0;
    std::uint32_t Compression = 0;
    std::uint32_t Masks[3] = {0, 0, 0};
    std::vector<TColor> Palette;
    std::size_t BitsOffset = 0;
};

THeader ReadHeader(const TReader& r)
{
    if (r.Size < 26 || r.Data[0] != 'B' || r.Data[1] != 'M') Invalid();
    THeader h;
    const std::uint32_t offBits = r.U32(10);
    const std::uint32_t hsize = r.U32(14);
    std::size_t paletteAt = 14 + static_cast<std::size_t>(hsize);
    int paletteEntrySize = 4;
    std::uint32_t clrUsed = 0;
    long long height = 0;
    if (hsize == 12) {
        h.Width = r.U16(18);
        height = static_cast<std::int16_t>(r.U16(20));
        h.Bpp = r.U16(24);
        paletteEntrySize = 3;
    } else if (hsize == 40 || hsize == 52 || hsize == 56 || hsize == 108 || hsize == 124) {
        const auto w = static_cast<std::int32_t>(r.U32(18));
        height = static_cast<std::int32_t>(r.U32(22));
        if (w <= 0) Invalid();
        h.Width = w;
        h.Bpp = r.U16(28);
        h.Compression = r.U32(30);
        clrUsed = r.U32(46);
        if (h.Compression == 3) {
            // Masks follow a 40-byte header, or lie inside a longer one.
            for (int i = 0; i < 3; ++i) h.Masks[i] = r.U32(54 + 4 * i);
            if (hsize == 40) paletteAt += 12;
        }
    } else {
        Invalid();
    }
    if (height == 0 || h.Width <= 0) Invalid();
    h.TopDown = height < 0;
    if (height < 0) height = -height;
    if (h.Width > MaxSide || height > MaxSide || static_cast<long long>(h.Width) * height > MaxPixels) Invalid();
    h.Height = static_cast<int>(height);
    const bool okDepth = h.Bpp == 1 || h.Bpp == 4 || h.Bpp == 8 || h.Bpp == 16 || h.Bpp == 24 || h.Bpp == 32;
    if (!okDepth) Invalid();
    const bool okCompression = h.Compression == 0 || (h.Compression == 1 && h.Bpp == 8) ||
                               (h.Compression == 2 && h.Bpp == 4) ||
                               (h.Compression == 3 && (h.Bpp == 16 || h.Bpp == 32));
    if (!okCompression) Invalid();
    if (h.Bpp <= 8) {
        const std::uint32_t full = 1u << h.Bpp;
        const std::uint32_t n = clrUsed == 0 || clrUsed > full ? full : clrUsed;
        for (std::uint32_t i = 0; i < n; ++i) {
            const std::size_t at = paletteAt + static_cast<std::size_t>(i) * paletteEntrySize;
            if (at + 3 > r.Size) Invalid();
            h.Palette.push_back(RGB(r.Data[at + 2], r.Data[at + 1], r.Data[at]));
        }
        h.Palette.resize(full, clBlack);
    }
    if (h.Compression == 0 && h.Bpp == 16) {
        h.Masks[0] = 0x7C00;
        h.Masks[1] = 0x03E0;
        h.Masks[2] = 0x001F;
    }
    if (h.Compression == 0 && h.Bpp == 32) {
        h.Masks[0] = 0xFF0000;
        h.Masks[1] = 0xFF00;
        h.Masks[2] = 0xFF;
    }
    h.BitsOffset = offBits;
    if (h.BitsOffset >= r.Size) Invalid();
    return h;
}

// Decodes run-length rows straight into the bitmap's index rows (stored bottom-up unless TopDown): a small
// file may declare millions of pixels, which only the runs touch; the rest keep index 0.
void DecodeRle(const TReader& r, const THeader& h, TBitmap& b)
{
    const bool four = h.Bpp == 4;
    std::size_t p = h.BitsOffset;
    long long x = 0, y = 0;
    std::uint8_t* row = nullptr;
    long long rowOf = -1;
    auto put = [&](std::uint8_t v) {
        if (x < h.Width && y < h.Height) {
            if (rowOf != y) {
                row = b.ScanLine(static_cast<int>(h.TopDown ? y : h.Height - 1 - y));
                rowOf = y;
            }
            if (!four) row[x] = v;
            else if (x & 1) row[x / 2] = static_cast<std::uint8_t>((row[x / 2] & 0xF0) | (v & 0xF));
            else row[x / 2] = static_cast<std::uint8_t>((row[x / 2] & 0x0F) | (v << 4));
        }
        ++x;
    };
    while (p + 1 < r.Size && y < h.Height) {
        const std::uint8_t n = r.Data[p], v = r.Data[p + 1];
        p += 2;
        if (n > 0) {
            for (int i = 0; i < n; ++i) put(four ? ((i & 1) ? (v & 0xF) : (v >> 4)) : v);
            continue;
        }
        if (v == 0) {          // end of line
            x = 0;
            ++y;
        } else if (v == 1) {   // end of bitmap
            break;
        } else if (v == 2) {   // delta
            if (p + 1 >= r.Size) break;
            x += r.Data[p];
            y += r.Data[p + 1];
            p += 2;
        } else {               // absolute run of v pixels, padded to a word
            const std::size_t bytes = four ? (v + 1) / 2 : v;
            if (p + bytes > r.Size) Invalid();
            for (int i = 0; i < v; ++i) {
                const std::uint8_t c = r.Data[p + (four ? i / 2 : i)];
                put(four ? ((i & 1) ? (c & 0xF) : (c >> 4)) : c);
            }
            p += (bytes + 1) & ~std::size_t(1);
        }
    }
}

}  // namespace

void TBitmap::LoadFromBytes(const std::uint8_t* data, std::size_t size)
{
    if (!data) Invalid();
    const TReader r{data, size};
    const THeader h = ReadHeader(r);
    TPixelFormat f = pf24bit;
    switch (h.Bpp) {
    case 1: f = pf1bit; break;
    case 4: f = pf4bit; break;
    case 8: f = pf8bit; break;
    case 16: f = (h.Masks[1] == 0x07E0) ? pf16bit : pf15bit; break;
    case 24: f = pf24bit; break;
    default: f = pf32bit; break;
    }
    // Rows stored whole must all be in the file; a cut-off file is refused before its picture is made.
    const std::size_t stride = ((static_cast<std::size_t>(h.Width) * h.Bpp + 31) / 32) * 4;
    const bool rle = h.Compression == 1 || h.Compression == 2;
    if (!rle && (h.BitsOffset > size || (size - h.BitsOffset) / stride < static_cast<std::size_t>(h.Height))) Invalid();
    // Decode into a new bitmap first, so a failure leaves this one as it was.
    TBitmap b;
    b.Allocate(h.Width, h.Height, f, h.Palette, rle ? 0 : -1);
    if (rle) {
        DecodeRle(r, h, b);
    } else {
        const bool plain = (h.Bpp <= 8 || h.Bpp == 24 || (h.Bpp == 32 && h.Compression == 0)) ||
                           (h.Bpp == 16 && b.FFormat == pf15bit && h.Masks[0] == 0x7C00 && h.Masks[2] == 0x1F) ||
                           (h.Bpp == 16 && h.Masks[0] == 0xF800 && h.Masks[1] == 0x07E0 && h.Masks[2] == 0x1F);
        for (int y = 0; y < h.Height; ++y) {
            const std::uint8_t* src = data + h.BitsOffset + stride * (h.TopDown ? y : h.Height - 1 - y);
            std::uint8_t* dst = b.ScanLine(y);
            if (plain) {
                std::memcpy(dst, src, std::min<std::size_t>(stride, b.FStride));
                continue;
            }
            for (int x = 0; x < h.Width; ++x) {
                const std::uint32_t v = h.Bpp == 16 ? (src[2 * x] | (src[2 * x + 1] << 8))
                                                    : (src[4 * x] | (src[4 * x + 1] << 8) | (src[4 * x + 2] << 16) |
                                                       (static_cast<std::uint32_t>(src[4 * x + 3]) << 24));
                b.WritePixel(x, y, (Channel(v, h.Masks[0]) << 16) | (Channel(v, h.Masks[1]) << 8) | Channel(v, h.Masks[2]));
            }
        }
    }
    FWidth = b.FWidth;
    FHeight = b.FHeight;
    FFormat = b.FFormat;
    FStride = b.FStride;
    FBits.swap(b.FBits);
    FPalette.swap(b.FPalette);
    FLastIndex = -1;
    Changed();
}

void TBitmap::SaveToBytes(std::vector<std::uint8_t>& out) const
{
    const int bpp = FFormat == pf1bit ? 1 : FFormat == pf4bit ? 4 : FFormat == pf8bit ? 8
                    : (FFormat == pf15bit || FFormat == pf16bit) ? 16 : FFormat == pf24bit ? 24 : 32;
    const bool fields = FFormat == pf16bit;   // 5-6-5 needs its masks
    const std::uint32_t paletteBytes = bpp <= 8 ? (1u << bpp) * 4 : 0;
    const std::uint32_t headerEnd = 14 + 40 + (fields ? 12 : 0) + paletteBytes;
    const std::uint32_t stride = static_cast<std::uint32_t>(FStride);
    const std::uint32_t imageBytes = stride * static_cast<std::uint32_t>(FHeight);
    out.clear();
    out.reserve(headerEnd + imageBytes);
    // File header.
    out.push_back('B');
    out.push_back('M');
    Put32(out, headerEnd + imageBytes);
    Put32(out, 0);
    Put32(out, headerEnd);
    // Information header (40 bytes): resolution at file offsets 38 and 42.
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(FWidth));
    Put32(out, static_cast<std::uint32_t>(FHeight));   // positive: bottom-up
    Put16(out, 1);
    Put16(out, static_cast<std::uint16_t>(bpp));
    Put32(out, fields ? 3 : 0);
    Put32(out, imageBytes);
    Put32(out, PixelsPerMeter96Dpi);
    Put32(out, PixelsPerMeter96Dpi);
    Put32(out, bpp <= 8 ? (1u << bpp) : 0);
    Put32(out, 0);
    if (fields) {
        Put32(out, 0xF800);
        Put32(out, 0x07E0);
        Put32(out, 0x001F);
    }
    for (std::uint32_t i = 0; i < paletteBytes / 4; ++i) {
        const TColor c = i < FPalette.size() ? FPalette[i] : clBlack;
        out.push_back(static_cast<std::uint8_t>(GetBValue(c)));
        out.push_back(static_cast<std::uint8_t>(GetGValue(c)));
        out.push_back(static_cast<std::uint8_t>(GetRValue(c)));
        out.push_back(0);
    }
    // The rows' padding is written as zeros whatever the bitmap holds there, so equal pictures give equal
    // files.
    const std::uint32_t used = (static_cast<std::uint32_t>(FWidth) * bpp + 7) / 8;
    for (int y = FHeight - 1; y >= 0; --y) {
        const std::uint8_t* row = FBits.data() + static_cast<std::size_t>(y) * FStride;
        out.insert(out.end(), row, row + used);
        out.insert(out.end(), stride - used, 0);
    }
}
