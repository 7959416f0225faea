// Bitmaps and pictures: pixel formats and scan lines, transparency, the BMP layout the views rely on,
// files read back by an independent reader, the codecs' round trips and failures, pictures loading by
// extension with change notification, and block transfers between canvases.

#include "platform/graphics/Graphics.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

std::string TempPath(const std::string& name)
{
    const auto dir = std::filesystem::temp_directory_path() / ("vsp_graphics_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

// Runs a shell command and returns its standard output.
std::string Shell(const std::string& cmd)
{
    std::string out;
    if (FILE* p = ::popen(cmd.c_str(), "r")) {
        char buf[256];
        while (std::fgets(buf, sizeof buf, p)) out += buf;
        ::pclose(p);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

bool HaveImageMagick() { return !Shell("command -v convert").empty(); }

// Four distinct colours in the corners of a 7 x 5 picture (odd width: rows need padding).
void PaintCorners(TBitmap& b)
{
    b.SetSize(7, 5);
    TCanvas& c = b.Canvas();
    c.Brush().SetColor(clWhite);
    c.FillRect({0, 0, 7, 5});
    c.SetPixel(0, 0, clRed);
    c.SetPixel(6, 0, clLime);
    c.SetPixel(0, 4, clBlue);
    c.SetPixel(6, 4, RGB(0x12, 0x34, 0x56));
}

std::uint32_t Le32(const std::vector<std::uint8_t>& d, std::size_t at)
{
    return d[at] | (d[at + 1] << 8) | (d[at + 2] << 16) | (std::uint32_t(d[at + 3]) << 24);
}

}  // namespace

TEST(Bitmap, SavedRowsHaveZeroPaddingWhateverTheMemoryHolds)
{
    // Width 7: 1 used byte of 4 at 1 bit, 21 of 24 at 24 bits; the padding in memory is set to junk.
    struct Case { TPixelFormat Format; std::size_t Used; };
    for (const Case& k : {Case{pf1bit, 1}, Case{pf4bit, 4}, Case{pf24bit, 21}}) {
        TBitmap b(7, 2, k.Format);
        const std::size_t stride = static_cast<std::size_t>(b.BytesPerScanLine());
        for (int y = 0; y < 2; ++y)
            for (std::size_t i = k.Used; i < stride; ++i) b.ScanLine(y)[i] = 0xAB;
        std::vector<std::uint8_t> bytes;
        b.SaveToBytes(bytes);
        const std::size_t offset = Le32(bytes, 10);
        ASSERT_EQ(bytes.size(), offset + 2 * stride) << k.Format;
        for (int r = 0; r < 2; ++r)
            for (std::size_t i = 0; i < stride; ++i)
                EXPECT_EQ(bytes[offset + r * stride + i], i < k.Used ? b.ScanLine(1 - r)[i] : 0) << k.Format << " " << i;
    }
}

TEST(Bitmap, PixelFormatsKeepColoursTheyCanHold)
{
    struct Case { TPixelFormat Format; int RowBytes; };   // for a width of 7
    const Case cases[] = {{pf1bit, 4}, {pf4bit, 4}, {pf8bit, 8}, {pf15bit, 16}, {pf16bit, 16}, {pf24bit, 24}, {pf32bit, 28}};
    for (const Case& k : cases) {
        TBitmap b(7, 3, k.Format);
        EXPECT_EQ(b.BytesPerScanLine(), k.RowBytes) << k.Format;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 7; ++x) EXPECT_EQ(b.PixelRGB(x, y), clWhite) << k.Format << " " << x << "," << y;
        b.Canvas().SetPixel(3, 1, clBlack);
        b.Canvas().SetPixel(4, 1, clRed);
        EXPECT_EQ(b.PixelRGB(3, 1), clBlack) << k.Format;
        if (k.Format != pf1bit) {
            EXPECT_EQ(b.PixelRGB(4, 1), clRed) << k.Format;
        }
        b.SetPixelFormat(pf24bit);
        EXPECT_EQ(b.PixelRGB(3, 1), clBlack) << k.Format;
    }
    TBitmap b(4, 1);
    b.SetPixelRGB(0, 0, RGB(200, 200, 200));
    b.SetPixelRGB(1, 0, RGB(60, 60, 60));
    b.SetMonochrome(true);
    EXPECT_TRUE(b.Monochrome());
    EXPECT_EQ(b.PixelRGB(0, 0), clWhite);
    EXPECT_EQ(b.PixelRGB(1, 0), clBlack);
}

TEST(Bitmap, ScanLinesAreTheRowsInTheFormat)
{
    TBitmap b(3, 2, pf24bit);
    std::uint8_t* row = b.ScanLine(1);
    row[3] = 0x11;   // pixel 1: blue, green, red bytes
    row[4] = 0x22;
    row[5] = 0x33;
    EXPECT_EQ(b.PixelRGB(1, 1), RGB(0x33, 0x22, 0x11));
    EXPECT_THROW(b.ScanLine(2), ERangeError);
    EXPECT_THROW(b.ScanLine(-1), ERangeError);
    TBitmap m(10, 1, pf1bit);
    m.SetPixelRGB(0, 0, clBlack);
    m.SetPixelRGB(9, 0, clBlack);
    EXPECT_EQ(m.ScanLine(0)[0], 0x7F);   // the leftmost pixel is the high bit
    EXPECT_EQ(m.ScanLine(0)[1] & 0xC0, 0x80);   // pixel 8 white, pixel 9 black
}

TEST(Bitmap, ResizingKeepsTheCommonPart)
{
    TBitmap b;
    PaintCorners(b);
    b.SetSize(3, 8);
    EXPECT_EQ(b.PixelRGB(0, 0), clRed);
    EXPECT_EQ(b.PixelRGB(0, 4), clBlue);
    EXPECT_EQ(b.PixelRGB(2, 7), clWhite);
    b.SetSize(-5, 2);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.PixelRGB(0, 0), -1);
}

TEST(Bitmap, AWidthOfNoPixelsKeepsTheHeightAndGrowsBackWhite)
{
    for (TPixelFormat format : {pf32bit, pf24bit, pf8bit, pf1bit}) {
        SCOPED_TRACE(static_cast<int>(format));
        TBitmap b(6, 4, format);
        b.SetPixelRGB(0, 0, clBlack);
        b.SetSize(0, 4);
        EXPECT_TRUE(b.Empty());
        EXPECT_EQ(b.Height(), 4);
        b.SetSize(3, 4);
        EXPECT_EQ(b.PixelRGB(0, 0), clWhite) << "nothing was kept of a row of no pixels";
    }
}

TEST(Bitmap, TransparencyLeavesTheTransparentColourOut)
{
    TBitmap pic;
    PaintCorners(pic);               // bottom-left pixel blue: the automatic transparent colour
    EXPECT_EQ(pic.TransparentColor(), clBlue);
    pic.SetTransparent(true);
    TBitmap dst(10, 10);
    dst.Canvas().Brush().SetColor(clYellow);
    dst.Canvas().FillRect({0, 0, 10, 10});
    dst.Canvas().Draw(1, 1, pic);
    EXPECT_EQ(dst.PixelRGB(1, 1), clRed);
    EXPECT_EQ(dst.PixelRGB(1, 5), clYellow);          // the blue pixel stayed out
    EXPECT_EQ(dst.PixelRGB(3, 3), clWhite);
    pic.SetTransparentColor(clWhite);
    EXPECT_EQ(pic.TransparentMode(), tmFixed);
    dst.Canvas().FillRect({0, 0, 10, 10});
    dst.Canvas().Draw(1, 1, pic);
    EXPECT_EQ(dst.PixelRGB(3, 3), clYellow);
    EXPECT_EQ(dst.PixelRGB(1, 5), clBlue);
}

TEST(Bitmap, BmpFileHasTheLayoutTheViewsRewrite)
{
    TBitmap b;
    PaintCorners(b);
    std::vector<std::uint8_t> d;
    b.SaveToBytes(d);
    const std::uint32_t stride = 24;                      // 7 pixels x 3 bytes, padded to 4
    ASSERT_EQ(d.size(), 14u + 40u + stride * 5);
    EXPECT_EQ(d[0], 'B');
    EXPECT_EQ(d[1], 'M');
    EXPECT_EQ(Le32(d, 2), d.size());
    EXPECT_EQ(Le32(d, 10), 54u);                          // pixels follow the 40-byte header
    EXPECT_EQ(Le32(d, 14), 40u);
    EXPECT_EQ(Le32(d, 18), 7u);
    EXPECT_EQ(Le32(d, 22), 5u);                           // positive height: bottom-up
    EXPECT_EQ(d[28], 24);
    EXPECT_EQ(Le32(d, 30), 0u);                           // no compression
    EXPECT_EQ(Le32(d, 38), 3780u);                        // the resolution the views rewrite
    EXPECT_EQ(Le32(d, 42), 3780u);
    // The first stored row is the bottom one: blue at its left.
    EXPECT_EQ(d[54], 0xFF);
    EXPECT_EQ(d[55], 0);
    EXPECT_EQ(d[56], 0);
    // The views rewrite the resolution in place; the file still reads.
    for (int i = 0; i < 4; ++i) d[38 + i] = d[42 + i] = i == 0 ? 0x10 : 0;
    TBitmap back;
    back.LoadFromBytes(d.data(), d.size());
    EXPECT_EQ(back.PixelRGB(6, 4), RGB(0x12, 0x34, 0x56));
}

TEST(Bitmap, WrittenFilesOpenInAnIndependentReader)
{
    ASSERT_TRUE(HaveImageMagick()) << "ImageMagick (convert, identify) is not installed; scripts/deps.sh installs it";
    TBitmap b;
    PaintCorners(b);
    const std::string bmp = TempPath("corners.bmp"), png = TempPath("corners.png"), jpg = TempPath("corners.jpg");
    b.SaveToFile(bmp);
    TPngImage p;
    p.Assign(b);
    p.SaveToFile(png);
    TJPEGImage j;
    j.Assign(b);
    j.SaveToFile(jpg);
    for (const std::string& f : {bmp, png, jpg}) EXPECT_EQ(Shell("identify -format '%w %h' '" + f + "'"), "7 5") << f;
    // Exact pixels of the lossless files, as the other reader sees them.
    for (const std::string& f : {bmp, png}) {
        EXPECT_EQ(Shell("convert '" + f + "' -format '%[pixel:p{0,0}]' info:"), "srgb(255,0,0)") << f;
        EXPECT_EQ(Shell("convert '" + f + "' -format '%[pixel:p{0,4}]' info:"), "srgb(0,0,255)") << f;
        EXPECT_EQ(Shell("convert '" + f + "' -format '%[pixel:p{6,4}]' info:"), "srgb(18,52,86)") << f;
    }
    // The preview's PNG with 16 bits per sample.
    TPngImage deep;
    deep.CreateBlank(TPngImage::COLOR_RGB, 16, 7, 5);
    deep.Canvas().Draw(0, 0, b);
    const std::string png16 = TempPath("corners16.png");
    deep.SaveToFile(png16);
    EXPECT_EQ(Shell("identify -format '%w %h %z' '" + png16 + "'"), "7 5 16");
    EXPECT_EQ(Shell("convert '" + png16 + "' -depth 8 -format '%[pixel:p{6,0}]' info:"), "srgb(0,255,0)");
}

TEST(Bitmap, FilesFromAnIndependentWriterAreRead)
{
    ASSERT_TRUE(HaveImageMagick()) << "ImageMagick (convert, identify) is not installed; scripts/deps.sh installs it";
    const std::string src = TempPath("im.png");
    Shell("convert -size 6x4 xc:'rgb(10,20,30)' -fill 'rgb(200,100,50)' -draw 'point 5,3' '" + src + "'");
    struct Case { const char* Ext; const char* Options; bool Exact; };
    const Case cases[] = {{"bmp", "-type TrueColor BMP3:", true},  {"bmp", "-type Palette BMP3:", true},
                          {"bmp", "-type TrueColor -define bmp:subtype=RGB565 BMP:", false},
                          {"bmp", "-type TrueColorAlpha BMP:", true}, {"bmp", "-flip -compress RLE -type Palette BMP3:", true},
                          {"png", "PNG24:", true},                     {"png", "PNG8:", true},
                          {"png", "-depth 16 PNG48:", true},           {"jpg", "-quality 100 JPG:", false}};
    int i = 0;
    for (const Case& k : cases) {
        const std::string f = TempPath("im" + std::to_string(i++) + "." + k.Ext);
        std::string opts = k.Options;
        const std::size_t colon = opts.rfind(' ');
        const std::string prefix = colon == std::string::npos ? opts : opts.substr(colon + 1);
        const std::string flags = colon == std::string::npos ? "" : opts.substr(0, colon);
        Shell("convert '" + src + "' " + flags + " " + prefix + "'" + f + "'");
        TPicture pic;
        ASSERT_NO_THROW(pic.LoadFromFile(f)) << k.Options;
        ASSERT_EQ(pic.Width(), 6) << k.Options;
        ASSERT_EQ(pic.Height(), 4) << k.Options;
        const TPixelBuffer px = pic.Graphic()->ToPixels();
        const bool flipped = std::string(k.Options).find("-flip") != std::string::npos;
        const std::uint32_t spot = px.At(5, flipped ? 0 : 3) & 0xFFFFFF, ground = px.At(0, 0) & 0xFFFFFF;
        if (k.Exact) {
            EXPECT_EQ(spot, 0xC86432u) << k.Options;
            EXPECT_EQ(ground, 0x0A141Eu) << k.Options;
        } else {
            EXPECT_NEAR(int(spot >> 16), 200, 8) << k.Options;
            EXPECT_NEAR(int(ground & 0xFF), 30, 8) << k.Options;
        }
    }
}

TEST(Bitmap, CodecsRoundTrip)
{
    TBitmap b;
    PaintCorners(b);
    std::vector<std::uint8_t> bytes;
    TPngImage p;
    p.Assign(b);
    p.SaveToBytes(bytes);
    TPngImage p2;
    p2.LoadFromBytes(bytes.data(), bytes.size());
    EXPECT_EQ(p2.ToPixels().Pixels, p.ToPixels().Pixels);
    // Every pixel format writes and reads back as itself.
    for (TPixelFormat f : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
        TBitmap x;
        PaintCorners(x);
        x.SetPixelFormat(f);
        x.SaveToBytes(bytes);
        TBitmap y;
        y.LoadFromBytes(bytes.data(), bytes.size());
        EXPECT_EQ(y.PixelFormat(), f);
        EXPECT_EQ(y.ToPixels().Pixels, x.ToPixels().Pixels) << f;
    }
}

TEST(Bitmap, RunLengthRowsDecodeToTheirIndexes)
{
    // A 5 x 2 picture (odd width, two 4-bit pixels a byte), rows bottom-up, palette entry i distinct.
    const auto file = [](int bpp, int compression, std::vector<std::uint8_t> bits) {
        std::vector<std::uint8_t> d(14 + 40, 0);
        const auto put32 = [&d](std::size_t at, std::uint32_t v) {
            for (int k = 0; k < 4; ++k) d[at + k] = static_cast<std::uint8_t>(v >> (8 * k));
        };
        const int colours = 1 << bpp;
        d[0] = 'B';
        d[1] = 'M';
        put32(10, 54 + 4 * colours);
        put32(14, 40);
        put32(18, 5);
        put32(22, 2);
        d[26] = 1;
        d[28] = static_cast<std::uint8_t>(bpp);
        put32(30, compression);
        for (int i = 0; i < colours; ++i) d.insert(d.end(), {std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i * 2), 0});
        d.insert(d.end(), bits.begin(), bits.end());
        put32(2, static_cast<std::uint32_t>(d.size()));
        return d;
    };
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        int top[5], bottom[5];
    };
    const Case cases[] = {
        // Bottom: a run of 1 2 1 2 1, end of line; top: 3 4 5 as they stand, a run of 6 6, end of picture.
        {"4 bits", file(4, 2, {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 2, 0x66, 0, 1}), {3, 4, 5, 6, 6}, {1, 2, 1, 2, 1}},
        // Bottom: five 7s; top: 8 9 10 as they stand (padded), a delta over one pixel, 11, end of picture.
        {"8 bits", file(8, 1, {5, 7, 0, 0, 0, 3, 8, 9, 10, 0, 0, 2, 1, 0, 1, 11, 0, 1}), {8, 9, 10, 0, 11}, {7, 7, 7, 7, 7}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TBitmap b;
        ASSERT_NO_THROW(b.LoadFromBytes(k.bytes.data(), k.bytes.size()));
        ASSERT_EQ(b.Width(), 5);
        ASSERT_EQ(b.Height(), 2);
        const TPixelBuffer px = b.ToPixels();
        const auto colour = [](int i) { return static_cast<std::uint32_t>(i * 2 << 16 | (255 - i) << 8 | i); };
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(px.At(x, 0) & 0xFFFFFF, colour(k.top[x])) << x;
            EXPECT_EQ(px.At(x, 1) & 0xFFFFFF, colour(k.bottom[x])) << x;
        }
    }
}

TEST(Bitmap, BadDataRaisesAndLeavesThePictureAlone)
{
    TBitmap b;
    PaintCorners(b);
    std::vector<std::uint8_t> good;
    b.SaveToBytes(good);
    const std::vector<std::vector<std::uint8_t>> bad = {
        {},
        {'B', 'M'},
        std::vector<std::uint8_t>(good.begin(), good.begin() + 60),           // pixels cut short
        [&] { auto d = good; d[28] = 7; return d; }(),                        // 7 bits per pixel
        [&] { auto d = good; d[18] = d[19] = d[20] = 0; d[21] = 0x40; return d; }(),   // width 2^30
        [&] { auto d = good; d[14] = 99; return d; }(),                       // unknown header size
    };
    for (const auto& d : bad) {
        EXPECT_THROW(b.LoadFromBytes(d.data(), d.size()), EInvalidGraphic);
        EXPECT_EQ(b.Width(), 7);
        EXPECT_EQ(b.PixelRGB(0, 0), clRed);
    }
    TPngImage p;
    EXPECT_THROW(p.LoadFromBytes(good.data(), good.size()), EInvalidGraphic);
    TJPEGImage j;
    EXPECT_THROW(j.LoadFromBytes(good.data(), good.size()), EInvalidGraphic);
    EXPECT_THROW(b.LoadFromFile(TempPath("no such file.bmp")), EFOpenError);
}

TEST(Picture, LoadsByExtensionAndReportsChanges)
{
    TBitmap b;
    PaintCorners(b);
    const std::string upper = TempPath("PIC.BMP");
    b.SaveToFile(upper);
    TPicture pic;
    int changes = 0;
    pic.OnChange = [&](TPicture* sender) {
        EXPECT_EQ(sender, &pic);
        ++changes;
    };
    pic.LoadFromFile(upper);
    EXPECT_EQ(changes, 1);
    EXPECT_STREQ(pic.Graphic()->ClassName(), "TBitmap");
    pic.Bitmap().Canvas().SetPixel(1, 1, clBlack);        // drawing on its graphic notifies too
    EXPECT_EQ(changes, 2);
    TPngImage png;
    png.Assign(b);
    const std::string pngPath = TempPath("pic.png");
    png.SaveToFile(pngPath);
    pic.LoadFromFile(pngPath);
    EXPECT_STREQ(pic.Graphic()->ClassName(), "TPngImage");
    EXPECT_EQ(changes, 3);
    try {
        pic.LoadFromFile(TempPath("pic.xyz"));
        ADD_FAILURE() << "no exception";
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), "Unknown picture file extension (.xyz)");
    }
    EXPECT_STREQ(pic.Graphic()->ClassName(), "TPngImage");   // kept
    TPicture copy;
    copy.Assign(pic);
    EXPECT_NE(copy.Graphic(), pic.Graphic());
    EXPECT_EQ(copy.Width(), 7);
    copy.Clear();
    EXPECT_FALSE(copy.HasGraphic());
    TPicture::RegisterFileFormat(".dib", "Device-independent bitmaps", [] { return std::make_unique<TBitmap>(); });
    EXPECT_NE(TPicture::GraphicForExtension("DIB"), nullptr);
}

TEST(Bitmap, PlainCopiesLandAsTransfersThroughPixelsDo)
{
    // A same-size SRCCOPY between two pixel memories goes from memory to memory; the raster operation
    // 0x00CC0000 (the same function of the source, another code) takes the way through a pixel buffer.
    // Both must leave the same pixels for every format, clip, origin and source rectangle.
    constexpr std::uint32_t SourceOnly = 0x00CC0000;
    struct Case {
        const char* name;
        TPixelFormat from, to;
        TRect clip;          // empty: none
        bool ellipse;        // clip to an ellipse instead
        TPoint origin;       // the destination's viewport origin
        int x, y, w, h, sx, sy;
    };
    const Case cases[] = {
        {"32 to 32 bits, whole", pf32bit, pf32bit, {}, false, {0, 0}, 0, 0, 40, 30, 0, 0},
        {"24 to 32 bits, offset", pf24bit, pf32bit, {}, false, {0, 0}, 5, 7, 20, 11, 9, 3},
        {"32 to 24 bits", pf32bit, pf24bit, {}, false, {0, 0}, 3, 2, 30, 20, 4, 5},
        {"clipped to a rectangle", pf32bit, pf32bit, {6, 4, 25, 18}, false, {0, 0}, 0, 0, 40, 30, 0, 0},
        {"clipped to an ellipse", pf32bit, pf32bit, {2, 2, 36, 26}, true, {0, 0}, 0, 0, 40, 30, 0, 0},
        {"moved viewport origin", pf32bit, pf32bit, {}, false, {-6, 4}, 10, 3, 25, 20, 2, 1},
        {"partly off the destination", pf32bit, pf32bit, {}, false, {0, 0}, 30, 22, 20, 15, 0, 0},
        {"partly outside the source", pf32bit, pf32bit, {}, false, {0, 0}, 0, 0, 30, 20, 25, 18},
        {"into an 8-bit bitmap", pf32bit, pf8bit, {}, false, {0, 0}, 1, 1, 30, 20, 0, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TBitmap src(40, 30, k.from);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) src.SetPixelRGB(x, y, RGB(x * 6, y * 8, (x * y) % 256));
        TBitmap direct(40, 30, k.to), through(40, 30, k.to);
        for (TBitmap* b : {&direct, &through}) {
            b->Canvas().Brush().SetColor(clYellow);
            b->Canvas().FillRect({0, 0, 40, 30});
            b->Canvas().SetViewportOrgEx(k.origin.x, k.origin.y);
            if (k.ellipse) {
                const TRegion r = TRegion::FromEllipse(k.clip.Left, k.clip.Top, k.clip.Right, k.clip.Bottom);
                b->Canvas().SelectClipRgn(&r);
            } else if (!k.clip.IsEmpty()) {
                b->Canvas().IntersectClipRect(k.clip.Left, k.clip.Top, k.clip.Right, k.clip.Bottom);
            }
        }
        EXPECT_TRUE(direct.Canvas().BitBlt(k.x, k.y, k.w, k.h, src.Canvas(), k.sx, k.sy, SRCCOPY));
        EXPECT_TRUE(through.Canvas().BitBlt(k.x, k.y, k.w, k.h, src.Canvas(), k.sx, k.sy, SourceOnly));
        int differing = 0, landed = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) {
                differing += direct.PixelRGB(x, y) != through.PixelRGB(x, y);
                landed += direct.PixelRGB(x, y) != clYellow;
            }
        EXPECT_EQ(differing, 0);
        EXPECT_GT(landed, 0);
    }
    // A copy within one bitmap whose rectangles overlap moves the pixels as a copy through a buffer does.
    TBitmap one(30, 20, pf32bit), two(30, 20, pf32bit);
    for (TBitmap* b : {&one, &two})
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 30; ++x) b->SetPixelRGB(x, y, RGB(x * 8, y * 12, 7));
    one.Canvas().BitBlt(3, 2, 20, 15, one.Canvas(), 0, 0, SRCCOPY);
    two.Canvas().BitBlt(3, 2, 20, 15, two.Canvas(), 0, 0, SourceOnly);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) ASSERT_EQ(one.PixelRGB(x, y), two.PixelRGB(x, y)) << x << "," << y;
}

TEST(Bitmap, BlockTransfersBetweenCanvases)
{
    TBitmap src;
    PaintCorners(src);
    TBitmap dst(20, 20);
    TCanvas& c = dst.Canvas();
    ASSERT_TRUE(c.BitBlt(2, 3, 7, 5, src.Canvas(), 0, 0, SRCCOPY));
    EXPECT_EQ(dst.PixelRGB(2, 3), clRed);
    EXPECT_EQ(dst.PixelRGB(8, 7), RGB(0x12, 0x34, 0x56));
    // Inverting twice restores; a stretch doubles every pixel; a negative width mirrors.
    c.BitBlt(2, 3, 7, 5, src.Canvas(), 0, 0, SRCINVERT);
    EXPECT_EQ(dst.PixelRGB(2, 3), clBlack);
    c.BitBlt(2, 3, 7, 5, src.Canvas(), 0, 0, SRCINVERT);
    EXPECT_EQ(dst.PixelRGB(2, 3), clRed);
    c.StretchBlt(0, 0, 14, 10, src.Canvas(), 0, 0, 7, 5, SRCCOPY);
    EXPECT_EQ(dst.PixelRGB(1, 1), clRed);
    EXPECT_EQ(dst.PixelRGB(13, 9), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(dst.PixelRGB(2, 2), clWhite);
    c.StretchBlt(6, 0, -7, 5, src.Canvas(), 0, 0, 7, 5, SRCCOPY);
    EXPECT_EQ(dst.PixelRGB(5, 0), clRed);      // the left edge lands on the right
    // A monochrome source takes the text colour for black and the background colour for white.
    TBitmap mask(2, 1, pf1bit);
    mask.SetPixelRGB(0, 0, clBlack);
    c.SetTextColor(clRed);
    c.SetBkColor(clLime);
    c.BitBlt(0, 19, 2, 1, mask.Canvas(), 0, 0, SRCCOPY);
    EXPECT_EQ(dst.PixelRGB(0, 19), clRed);
    EXPECT_EQ(dst.PixelRGB(1, 19), clLime);
    // A picture drawn on a clipped canvas stays inside the clip.
    c.IntersectClipRect(0, 0, 3, 3);
    c.StretchDraw({0, 0, 20, 20}, src);
    EXPECT_EQ(dst.PixelRGB(1, 1), clRed);
    EXPECT_EQ(dst.PixelRGB(13, 9), RGB(0x12, 0x34, 0x56));   // outside the clip: unchanged
}

TEST(Bitmap, CanvasOfALowColourBitmapDrawsThroughConversion)
{
    TBitmap b(16, 16, pf8bit);
    b.Canvas().Brush().SetColor(clRed);
    b.Canvas().Rectangle(2, 2, 10, 10);
    EXPECT_EQ(b.PixelFormat(), pf8bit);
    EXPECT_EQ(b.PixelRGB(5, 5), clRed);
    EXPECT_EQ(b.PixelRGB(2, 2), clBlack);
    EXPECT_EQ(b.PixelRGB(12, 12), clWhite);
}
