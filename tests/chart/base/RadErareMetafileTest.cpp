// A chart panel saved as an enhanced metafile (.emf) and read back by a record walker of the tests' own:
// the header (signature, version, size, record count, bounds, device sizes), every record's size and
// place, the end record last, and the primitives the panel drew (filled and outlined figures, lines,
// text).
#include "chart/base/RadErarePanelExt.h"

#include "tests/platform/graphics/EmfReader.h"
#include "tests/platform/rtl/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

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
    const Emf emf = Emf::FromFile(temp.File("chart.emf"));
    ASSERT_TRUE(emf.Faults.empty());
    ASSERT_GE(emf.Records.size(), 3u);

    // Header.
    const EmfRecord& header = emf.Records.front();
    ASSERT_EQ(header.Type, kHeader);
    EXPECT_GE(header.Size, 88u);
    EXPECT_EQ(U32(emf.Bytes, 40), EmfSignature);
    EXPECT_EQ(U32(emf.Bytes, 44), 0x10000u) << "version";
    EXPECT_EQ(U32(emf.Bytes, 48), emf.Bytes.size()) << "file size in the header";
    EXPECT_EQ(U32(emf.Bytes, 52), emf.Records.size()) << "record count in the header";
    // The bounds hold every point of the figures: the excluded right and bottom edges of filled shapes
    // and the pixel a line leaves out may lie one beyond the picture.
    const Box bounds = emf.BoxAt(8);
    EXPECT_GE(bounds.l, -1);
    EXPECT_GE(bounds.t, -1);
    EXPECT_LE(bounds.r, 120);
    EXPECT_LE(bounds.b, 80);
    EXPECT_GE(bounds.r, 100) << "the line reaches (100, 70)";
    EXPECT_GE(bounds.b, 70);
    const Box frame = emf.BoxAt(24);
    EXPECT_NEAR(frame.r - frame.l, 120 * 2540 / 96, 30) << "the frame in hundredths of a millimetre";
    EXPECT_GT(I32(emf.Bytes, 72), 0) << "reference device width in pixels";
    EXPECT_GT(I32(emf.Bytes, 80), 0) << "reference device width in millimetres";

    // End record last, nothing after it.
    EXPECT_EQ(emf.Records.back().Type, kEof);
    for (std::size_t i = 1; i + 1 < emf.Records.size(); ++i) {
        EXPECT_NE(emf.Records[i].Type, kHeader) << "one header";
        EXPECT_NE(emf.Records[i].Type, kEof) << "one end";
    }

    // The drawn primitives.
    bool box = false, line = false, text = false, face = false;
    for (const EmfRecord& r : emf.Records) {
        if (r.Type == kPolygon || r.Type == kPolygon16 || r.Type == kRectangle) {
            const Box b = emf.BoxAt(r.Offset + 8);
            box = box || (b.l == 10 && b.t == 10 && b.r >= 48 && b.r <= 50 && b.b >= 38 && b.b <= 40);
            face = face || (b.l == 0 && b.t == 0 && b.r >= 118 && b.b >= 78);
        }
        if (r.Type == kPolyline || r.Type == kPolyline16) {
            const auto points = emf.Points(r);
            line = line || (points.size() == 2 && points[0] == std::pair{0, 0} && points[1] == std::pair{100, 70});
        }
        if (r.Type == kTextW) text = text || emf.Text(r) == "Hello";
    }
    EXPECT_TRUE(face) << "the panel's background";
    EXPECT_TRUE(box) << "the red box";
    EXPECT_TRUE(line) << "the line";
    EXPECT_TRUE(text) << "the text";
}
