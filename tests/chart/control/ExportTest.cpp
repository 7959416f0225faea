// The bitmap export format: a chart exported at the panel's size and at a set size in every pixel format,
// each file read back by a BMP reader of the test's own; the missing-panel error; the registry and the
// picture-by-extension hook.
#include "ChartTestSupport.h"

#include "chart/base/LumHtml.h"
#include "chart/control/LumBmpOptions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace {

// A BMP file as this reader understands it: uncompressed 1, 4, 8, 24 and 32 bits, and 16 bits as 5-5-5
// or, with bit fields, 5-6-5; rows bottom-up and padded to four bytes.
struct TBmpFile {
    int Width = 0, Height = 0, Bits = 0;
    bool Fields = false;
    std::vector<TColor> Palette;
    std::vector<TColor> Pixels;  // top row first, 0x00BBGGRR
    TColor At(int x, int y) const { return Pixels[std::size_t(y) * Width + x]; }
};

std::uint32_t U32(const std::vector<std::uint8_t>& d, std::size_t at)
{
    return d[at] | (d[at + 1] << 8) | (d[at + 2] << 16) | (std::uint32_t(d[at + 3]) << 24);
}
std::uint16_t U16(const std::vector<std::uint8_t>& d, std::size_t at) { return std::uint16_t(d[at] | (d[at + 1] << 8)); }

TColor Rgb(unsigned r, unsigned g, unsigned b) { return TColor(r | (g << 8) | (b << 16)); }
unsigned Expand5(unsigned v) { return (v << 3) | (v >> 2); }
unsigned Expand6(unsigned v) { return (v << 2) | (v >> 4); }

TBmpFile ReadBmp(const std::vector<std::uint8_t>& d)
{
    TBmpFile f;
    EXPECT_EQ(d.at(0), 'B');
    EXPECT_EQ(d.at(1), 'M');
    EXPECT_EQ(U32(d, 2), d.size()) << "the file size in the header";
    const std::uint32_t offset = U32(d, 10), infoSize = U32(d, 14);
    f.Width = int(U32(d, 18));
    f.Height = int(U32(d, 22));
    f.Bits = U16(d, 28);
    const std::uint32_t compression = U32(d, 30);
    f.Fields = compression == 3;
    EXPECT_TRUE(compression == 0 || (f.Fields && f.Bits == 16)) << compression;
    std::size_t at = 14 + infoSize + (f.Fields ? 12 : 0);
    if (f.Bits <= 8) {
        const std::uint32_t used = U32(d, 46), n = used ? used : 1u << f.Bits;
        for (std::uint32_t i = 0; i < n; ++i, at += 4) f.Palette.push_back(Rgb(d[at + 2], d[at + 1], d[at]));
    }
    const std::size_t stride = ((std::size_t(f.Width) * f.Bits + 31) / 32) * 4;
    EXPECT_EQ(d.size(), offset + stride * f.Height);
    f.Pixels.resize(std::size_t(f.Width) * f.Height);
    for (int y = 0; y < f.Height; ++y) {
        const std::uint8_t* row = d.data() + offset + (f.Height - 1 - y) * stride;
        for (int x = 0; x < f.Width; ++x) {
            TColor c = 0;
            switch (f.Bits) {
            case 1: c = f.Palette.at((row[x / 8] >> (7 - x % 8)) & 1); break;
            case 4: c = f.Palette.at((row[x / 2] >> (x % 2 ? 0 : 4)) & 15); break;
            case 8: c = f.Palette.at(row[x]); break;
            case 16: {
                const unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
                c = f.Fields ? Rgb(Expand5(v >> 11), Expand6((v >> 5) & 63), Expand5(v & 31))
                             : Rgb(Expand5((v >> 10) & 31), Expand5((v >> 5) & 31), Expand5(v & 31));
                break;
            }
            case 24: c = Rgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]); break;
            case 32: c = Rgb(row[4 * x + 2], row[4 * x + 1], row[4 * x]); break;
            default: ADD_FAILURE() << "bits " << f.Bits; return f;
            }
            f.Pixels[std::size_t(y) * f.Width + x] = c;
        }
    }
    return f;
}

TBmpFile ReadBmpFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return ReadBmp({std::istreambuf_iterator<char>(in), {}});
}

int Channel(TColor c, int i) { return int((c >> (8 * i)) & 0xFF); }
long long Distance(TColor a, TColor b)
{
    long long d = 0;
    for (int i = 0; i < 3; ++i) d += (Channel(a, i) - Channel(b, i)) * (Channel(a, i) - Channel(b, i));
    return d;
}

// A chart with a coloured face, a back wall and a thick red line, so that every format has something to
// keep.
struct TExportChart {
    TChart Chart{nullptr};
    TExportChart()
    {
        Chart.SetBounds(0, 0, 400, 250);
        Chart.SetView3D(false);
        Chart.SetColor(clYellow);
        AddSeries(Chart, {1, 3, 2, 5}).SetSeriesColor(clRed);
    }
};

std::string TempPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("vsp_export_" + name)).string();
}

TEST(BitmapExport, EveryPixelFormatReadsBackAsTheChart)
{
    TExportChart t;
    // The reference: the chart on a 24-bit bitmap of its size.
    const std::unique_ptr<TBitmap> reference = t.Chart.RenderToBitmap(t.Chart.Color(), t.Chart.ChartBounds(), pf24bit);
    struct TCase {
        int Colors;
        bool Monochrome;
        int Bits;
        bool Fields;
    };
    const TCase cases[] = {{0, false, 32, false}, {1, false, 1, false},  {2, false, 4, false}, {3, false, 8, false},
                           {4, false, 16, false}, {5, false, 16, true},  {6, false, 24, false}, {7, false, 32, false},
                           {6, true, 1, false}};
    const std::string path = TempPath("formats.bmp");
    for (const TCase& c : cases) {
        TBMPExportFormat format;
        format.Panel = &t.Chart;
        format.Colors = c.Colors;
        format.Monochrome = c.Monochrome;
        format.SaveToFile(path);
        EXPECT_EQ(format.Width, 400);  // the panel's size is filled in and stays
        EXPECT_EQ(format.Height, 250);
        const TBmpFile f = ReadBmpFile(path);
        ASSERT_EQ(f.Width, 400) << c.Colors;
        ASSERT_EQ(f.Height, 250);
        EXPECT_EQ(f.Bits, c.Bits) << c.Colors;
        EXPECT_EQ(f.Fields, c.Fields) << c.Colors;
        int wrong = 0;
        std::map<TColor, long long> nearest;  // true colour -> distance of the nearest palette entry
        for (int y = 0; y < f.Height; ++y)
            for (int x = 0; x < f.Width; ++x) {
                const TColor want = reference->PixelRGB(x, y), got = f.At(x, y);
                bool ok = true;
                if (f.Bits >= 24) {
                    ok = got == want;
                } else if (f.Bits == 16) {
                    for (int i = 0; i < 3; ++i) ok = ok && std::abs(Channel(got, i) - Channel(want, i)) <= 8;
                } else {
                    // The palette entry nearest to the true colour.
                    auto [it, fresh] = nearest.try_emplace(want, Distance(f.Palette[0], want));
                    if (fresh)
                        for (TColor p : f.Palette) it->second = std::min(it->second, Distance(p, want));
                    ok = Distance(got, want) == it->second;
                }
                wrong += !ok;
            }
        // With a palette, smoothed text edges blend over the quantised face, so a few edge pixels may
        // take another entry than the true colour's nearest.
        EXPECT_LE(wrong, f.Bits <= 8 ? 100 : 0) << "colours " << c.Colors << " monochrome " << c.Monochrome;
    }
    std::remove(path.c_str());
}

TEST(BitmapExport, AtAGivenSizeTheChartFillsThePicture)
{
    TExportChart t;
    TBMPExportFormat format;
    format.Panel = &t.Chart;
    format.Width = 1600;
    format.Height = 1000;
    format.Colors = 6;
    TMemoryStream stream;
    format.SaveToStream(stream);
    const TBmpFile f = ReadBmp({stream.Memory(), stream.Memory() + stream.Size()});
    ASSERT_EQ(f.Width, 1600);
    ASSERT_EQ(f.Height, 1000);
    // The face at the corners, and the series laid out over the whole width: red pixels in both outer
    // quarters, none outside the plot.
    EXPECT_EQ(f.At(1, 1), clYellow);
    EXPECT_EQ(f.At(1598, 998), clYellow);
    int redLeft = 0, redRight = 0;
    for (int y = 0; y < f.Height; ++y)
        for (int x = 0; x < f.Width; ++x) {
            if (f.At(x, y) != clRed) continue;
            redLeft += x < 400;
            redRight += x >= 1200;
        }
    EXPECT_GT(redLeft, 100);
    EXPECT_GT(redRight, 100);
    EXPECT_EQ(t.Chart.Width(), 400) << "the chart keeps its own size";
}

TEST(BitmapExport, WithoutAPanelNothingIsMadeOrWritten)
{
    TBMPExportFormat format;
    const std::string path = TempPath("nopanel.bmp");
    std::remove(path.c_str());
    for (auto action : {+[](TBMPExportFormat& f, const std::string& p) { f.SaveToFile(p); },
                        +[](TBMPExportFormat& f, const std::string&) { f.Copy(); },
                        +[](TBMPExportFormat& f, const std::string&) { f.Bitmap(); }}) {
        try {
            action(format, path);
            ADD_FAILURE() << "no error";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), "Panel property is not set in Export format");
        }
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(BitmapExport, TextsFilterAndRegistry)
{
    TBMPExportFormat format;
    EXPECT_EQ(format.Description(), "as &Bitmap");
    EXPECT_EQ(format.FileFilter(), "Bitmaps (*.bmp)|*.bmp");
    int counter = 2;  // two entries before it
    format.SetFilterIndex(counter);
    EXPECT_EQ(format.FilterIndex, 3);
    EXPECT_EQ(counter, 3);
    EXPECT_TRUE(format.WantsFilterIndex(3));
    EXPECT_FALSE(format.WantsFilterIndex(2));

    const auto formats = ExportFormats();
    EXPECT_NE(std::find(formats.begin(), formats.end(), &TBMPExportFormat::Create), formats.end());
    // By extension, in any case: a new empty bitmap; none for an extension no format writes.
    for (const char* ext : {".bmp", ".BMP"}) {
        const std::unique_ptr<TGraphic> g = GraphicForExtension(ext);
        ASSERT_NE(g, nullptr) << ext;
        EXPECT_STREQ(g->ClassName(), "TBitmap");
        EXPECT_TRUE(g->Empty());
    }
    EXPECT_EQ(GraphicForExtension(".txt"), nullptr);
    EXPECT_EQ(GraphicForExtension("bmp"), nullptr) << "the dot belongs to the extension";
    // The HTML text drawing asks through its hook.
    ASSERT_TRUE(bool(LumHtmlModule().HtmlGraphicForExtension));
    EXPECT_NE(LumHtmlModule().HtmlGraphicForExtension(".BMP"), nullptr);
}

} // namespace
