// Files the program writes, read by small readers written here apart from the writers: a PNG reader on
// zlib (chunks, check sums, the five row filters) and a BMP reader of the stored rows.

#include "platform/graphics/Graphics.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct TRgbImage {
    int Width = 0, Height = 0, Depth = 0, ColourType = 0;
    std::vector<std::uint32_t> Rgb;   // 0xRRGGBB, row by row (the high byte of 16-bit samples)
    std::uint32_t At(int x, int y) const { return Rgb[static_cast<std::size_t>(y) * Width + x]; }
};

std::uint32_t Be32(const std::uint8_t* p) { return (std::uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3]; }

// Reads an RGB or RGBA PNG of 8 or 16 bits per sample, not interlaced; fails the test otherwise.
TRgbImage ReadPng(const std::vector<std::uint8_t>& f)
{
    TRgbImage img;
    static const std::uint8_t sig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    EXPECT_TRUE(f.size() > 8 && std::equal(sig, sig + 8, f.begin()));
    std::vector<std::uint8_t> idat;
    bool ended = false;
    for (std::size_t p = 8; p + 12 <= f.size();) {
        const std::uint32_t len = Be32(&f[p]);
        const std::string type(f.begin() + p + 4, f.begin() + p + 8);
        const std::uint8_t* data = &f[p + 8];
        EXPECT_EQ(crc32(crc32(0, &f[p + 4], 4), data, len), Be32(data + len)) << type;
        if (type == "IHDR") {
            img.Width = static_cast<int>(Be32(data));
            img.Height = static_cast<int>(Be32(data + 4));
            img.Depth = data[8];
            img.ColourType = data[9];
            EXPECT_EQ(data[12], 0);   // not interlaced
        } else if (type == "IDAT") {
            idat.insert(idat.end(), data, data + len);
        } else if (type == "IEND") {
            ended = true;
        }
        p += 12 + len;
    }
    EXPECT_TRUE(ended);
    const int channels = img.ColourType == 6 ? 4 : 3, bytesPerSample = img.Depth / 8;
    const int bpp = channels * bytesPerSample;
    const std::size_t rowBytes = static_cast<std::size_t>(img.Width) * bpp;
    std::vector<std::uint8_t> raw((rowBytes + 1) * img.Height);
    uLongf rawLen = raw.size();
    EXPECT_EQ(uncompress(raw.data(), &rawLen, idat.data(), idat.size()), Z_OK);
    EXPECT_EQ(rawLen, raw.size());
    std::vector<std::uint8_t> prev(rowBytes, 0), row(rowBytes);
    img.Rgb.resize(static_cast<std::size_t>(img.Width) * img.Height);
    for (int y = 0; y < img.Height; ++y) {
        const std::uint8_t filter = raw[y * (rowBytes + 1)];
        const std::uint8_t* in = &raw[y * (rowBytes + 1) + 1];
        for (std::size_t i = 0; i < rowBytes; ++i) {
            const int a = i >= std::size_t(bpp) ? row[i - bpp] : 0, b = prev[i], c = i >= std::size_t(bpp) ? prev[i - bpp] : 0;
            int pred = 0;
            switch (filter) {
            case 1: pred = a; break;
            case 2: pred = b; break;
            case 3: pred = (a + b) / 2; break;
            case 4: {
                const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
                pred = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
                break;
            }
            default: break;
            }
            row[i] = static_cast<std::uint8_t>(in[i] + pred);
        }
        for (int x = 0; x < img.Width; ++x) {
            const std::uint8_t* px = &row[static_cast<std::size_t>(x) * bpp];
            img.Rgb[static_cast<std::size_t>(y) * img.Width + x] =
                (px[0] << 16) | (px[bytesPerSample] << 8) | px[2 * bytesPerSample];
        }
        prev = row;
    }
    return img;
}

// Reads an uncompressed 24-bit bottom-up BMP with a 40-byte header.
TRgbImage ReadBmp24(const std::vector<std::uint8_t>& f)
{
    auto le32 = [&](std::size_t at) { return f[at] | (f[at + 1] << 8) | (f[at + 2] << 16) | (std::uint32_t(f[at + 3]) << 24); };
    TRgbImage img;
    img.Width = static_cast<int>(le32(18));
    img.Height = static_cast<int>(le32(22));
    const std::size_t stride = (static_cast<std::size_t>(img.Width) * 3 + 3) / 4 * 4, bits = le32(10);
    EXPECT_EQ(f.size(), bits + stride * img.Height);
    img.Rgb.resize(static_cast<std::size_t>(img.Width) * img.Height);
    for (int y = 0; y < img.Height; ++y)
        for (int x = 0; x < img.Width; ++x) {
            const std::uint8_t* p = &f[bits + stride * (img.Height - 1 - y) + 3 * x];
            img.Rgb[static_cast<std::size_t>(y) * img.Width + x] = (p[2] << 16) | (p[1] << 8) | p[0];
        }
    return img;
}

// A picture with a different colour in each pixel, so any displacement shows.
void PaintRamp(TBitmap& b, int w, int h)
{
    b.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.Canvas().SetPixel(x, y, RGB(x * 20, y * 30, 255 - x * 10 - y));
}

std::uint32_t Expected(int x, int y) { return ((x * 20 & 0xFF) << 16) | ((y * 30 & 0xFF) << 8) | ((255 - x * 10 - y) & 0xFF); }

}  // namespace

TEST(IndependentReaders, PngWrittenByTheProgram)
{
    TBitmap b;
    PaintRamp(b, 11, 7);
    for (int depth : {8, 16}) {
        TPngImage png;
        png.CreateBlank(TPngImage::COLOR_RGB, depth, 11, 7);
        png.Canvas().Draw(0, 0, b);
        std::vector<std::uint8_t> bytes;
        png.SaveToBytes(bytes);
        const TRgbImage img = ReadPng(bytes);
        EXPECT_EQ(img.Width, 11);
        EXPECT_EQ(img.Height, 7);
        EXPECT_EQ(img.Depth, depth);
        EXPECT_EQ(img.ColourType, 2);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 11; ++x) EXPECT_EQ(img.At(x, y), Expected(x, y)) << depth << ": " << x << "," << y;
    }
}

TEST(IndependentReaders, BmpWrittenByTheProgram)
{
    TBitmap b;
    PaintRamp(b, 11, 7);
    std::vector<std::uint8_t> bytes;
    b.SaveToBytes(bytes);
    const TRgbImage img = ReadBmp24(bytes);
    EXPECT_EQ(img.Width, 11);
    EXPECT_EQ(img.Height, 7);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 11; ++x) EXPECT_EQ(img.At(x, y), Expected(x, y)) << x << "," << y;
}
