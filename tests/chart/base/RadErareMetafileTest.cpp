// A chart panel saved as an enhanced metafile (.emf) and read back by a record walker of the tests' own:
// the header (signature, version, size, record count, bounds, device sizes), every record's size and
// place, the end record last, and the primitives the panel drew (filled and outlined figures, lines,
// text).
#include "chart/base/RadErarePanelExt.h"

#include "tests/platform/rtl/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Record types of the enhanced metafile format that the walker looks at.
enum : std::uint32_t {
    EmrHeader = 1, EmrPolygon = 3, EmrPolyline = 4, EmrEof = 14, EmrPolygon16 = 86, EmrPolyline16 = 87,
    EmrRectangle = 43, EmrExtTextOutW = 84
};
constexpr std::uint32_t EmfSignature = 0x464D4520; // " EMF"

struct TEmfRecord {
    std::uint32_t Type = 0;
    std::size_t Offset = 0;
    std::uint32_t Size = 0;
};

struct TEmfRect {
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TEmfRect&) const = default;
};

class TEmfWalker {
public:
    explicit TEmfWalker(std::vector<std::uint8_t> bytes) : FBytes(std::move(bytes)) {}

    // Splits the file into records; a record that does not fit stops the walk with an error.
    std::string Walk()
    {
        std::size_t at = 0;
        while (at < FBytes.size()) {
            if (at + 8 > FBytes.size()) return "truncated record head at " + std::to_string(at);
            const TEmfRecord r{U32(at), at, U32(at + 4)};
            if (r.Size < 8 || r.Size % 4 != 0) return "bad record size " + std::to_string(r.Size);
            if (at + r.Size > FBytes.size()) return "record past the end at " + std::to_string(at);
            Records.push_back(r);
            at += r.Size;
        }
        return {};
    }

    std::uint32_t U32(std::size_t at) const
    {
        std::uint32_t v = 0;
        std::memcpy(&v, &FBytes[at], 4);
        return v;
    }
    std::int32_t I32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
    TEmfRect RectAt(std::size_t at) const { return {I32(at), I32(at + 4), I32(at + 8), I32(at + 12)}; }
    std::size_t FileSize() const { return FBytes.size(); }

    // The points of a polygon or polyline record (32- or 16-bit coordinates).
    std::vector<std::pair<int, int>> Points(const TEmfRecord& r) const
    {
        const std::uint32_t count = U32(r.Offset + 24);
        std::vector<std::pair<int, int>> points;
        const bool small = r.Type == EmrPolygon16 || r.Type == EmrPolyline16;
        for (std::uint32_t i = 0; i < count; ++i) {
            if (small) {
                std::int16_t x = 0, y = 0;
                std::memcpy(&x, &FBytes[r.Offset + 28 + 4 * i], 2);
                std::memcpy(&y, &FBytes[r.Offset + 30 + 4 * i], 2);
                points.emplace_back(x, y);
            } else {
                points.emplace_back(I32(r.Offset + 28 + 8 * i), I32(r.Offset + 32 + 8 * i));
            }
        }
        return points;
    }

    // The UTF-16 text of an ExtTextOutW record, narrowed (the tests write ASCII).
    std::string Text(const TEmfRecord& r) const
    {
        // EMRTEXT follows the bounds (16), graphics mode (4) and scales (8): reference point (8), count
        // (4), offset of the string from the record's start (4).
        const std::size_t text = r.Offset + 36;
        const std::uint32_t chars = U32(text + 8), offset = U32(text + 12);
        std::string s;
        for (std::uint32_t i = 0; i < chars; ++i) s += static_cast<char>(FBytes[r.Offset + offset + 2 * i]);
        return s;
    }

    std::vector<TEmfRecord> Records;

private:
    std::vector<std::uint8_t> FBytes;
};

std::vector<std::uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(LumPanelMetafile, SavedEmfReadsBackRecordByRecord)
{
    TDraw3D panel(nullptr);
    panel.SetBounds(0, 0, 120, 80);
    panel.OnAfterDraw = [&](TPersistent*) {
        TCanvas3D& c = panel.ChartCanvas();
        c.Brush().SetColor(clRed);
        c.DrawRectangleBox(10, 10, 50, 40);
        c.WriteText(20, 50, "Hello");
        c.DrawLineXY(0, 0, 100, 70);
    };
    TTempFolder temp;
    panel.SaveMetafileFile(temp.File("chart.emf"));
    TEmfWalker emf(ReadFile(temp.File("chart.emf")));
    ASSERT_EQ(emf.Walk(), "");
    ASSERT_GE(emf.Records.size(), 3u);

    // Header.
    const TEmfRecord& header = emf.Records.front();
    ASSERT_EQ(header.Type, EmrHeader);
    EXPECT_GE(header.Size, 88u);
    EXPECT_EQ(emf.U32(40), EmfSignature);
    EXPECT_EQ(emf.U32(44), 0x10000u) << "version";
    EXPECT_EQ(emf.U32(48), emf.FileSize()) << "file size in the header";
    EXPECT_EQ(emf.U32(52), emf.Records.size()) << "record count in the header";
    // The bounds hold every point of the figures: the excluded right and bottom edges of filled shapes
    // and the pixel a line leaves out may lie one beyond the picture.
    const TEmfRect bounds = emf.RectAt(8);
    EXPECT_GE(bounds.Left, -1);
    EXPECT_GE(bounds.Top, -1);
    EXPECT_LE(bounds.Right, 120);
    EXPECT_LE(bounds.Bottom, 80);
    EXPECT_GE(bounds.Right, 100) << "the line reaches (100, 70)";
    EXPECT_GE(bounds.Bottom, 70);
    const TEmfRect frame = emf.RectAt(24);
    EXPECT_NEAR(frame.Right - frame.Left, 120 * 2540 / 96, 30) << "the frame in hundredths of a millimetre";
    EXPECT_GT(emf.I32(72), 0) << "reference device width in pixels";
    EXPECT_GT(emf.I32(80), 0) << "reference device width in millimetres";

    // End record last, nothing after it.
    EXPECT_EQ(emf.Records.back().Type, EmrEof);
    for (std::size_t i = 1; i + 1 < emf.Records.size(); ++i) {
        EXPECT_NE(emf.Records[i].Type, EmrHeader) << "one header";
        EXPECT_NE(emf.Records[i].Type, EmrEof) << "one end";
    }

    // The drawn primitives.
    bool box = false, line = false, text = false, face = false;
    for (const TEmfRecord& r : emf.Records) {
        if (r.Type == EmrPolygon || r.Type == EmrPolygon16 || r.Type == EmrRectangle) {
            const TEmfRect b = emf.RectAt(r.Offset + 8);
            box = box || (b.Left == 10 && b.Top == 10 && b.Right >= 48 && b.Right <= 50 && b.Bottom >= 38 && b.Bottom <= 40);
            face = face || (b.Left == 0 && b.Top == 0 && b.Right >= 118 && b.Bottom >= 78);
        }
        if (r.Type == EmrPolyline || r.Type == EmrPolyline16) {
            const auto points = emf.Points(r);
            line = line || (points.size() == 2 && points[0] == std::pair{0, 0} && points[1] == std::pair{100, 70});
        }
        if (r.Type == EmrExtTextOutW) text = text || emf.Text(r) == "Hello";
    }
    EXPECT_TRUE(face) << "the panel's background";
    EXPECT_TRUE(box) << "the red box";
    EXPECT_TRUE(line) << "the line";
    EXPECT_TRUE(text) << "the text";
}
