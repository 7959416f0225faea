// Metafiles written by the program, read back by a record walker written here apart from the writer:
// the header and its totals, every record's size and bounds, the end record, object handles, and the
// primitives drawn; playback of the recording, and of the records by a small player, against the same
// drawing on a bitmap.
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Metafile.h"
#include "platform/graphics/Region.h"
#include "tests/platform/graphics/EmfReader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

namespace {

// Plays the drawing records back on a canvas, enough for pictures of lines and fills: pens (width and
// colour), solid brushes, the stock null pen and brush, the clip, polygons, polylines, poly-polygons and
// pixels (raster operations and fill modes are taken as their defaults).
void Play(const Emf& emf, TCanvas& c)
{
    const std::vector<std::uint8_t>& b = emf.Bytes;
    struct Object {
        bool Pen;
        int Width;
        TColor Color;
        bool Null;
    };
    std::map<std::uint32_t, Object> objects;
    const auto points = [&b](std::size_t at, std::uint32_t n) {
        std::vector<TPoint> pts;
        for (std::uint32_t i = 0; i < n; ++i) pts.push_back({I32(b, at + 8 * i), I32(b, at + 8 * i + 4)});
        return pts;
    };
    for (const EmfRecord& r : emf.Records) {
        const std::size_t o = r.Offset;
        switch (r.Type) {
        case kCreatePen: objects[U32(b, o + 8)] = {true, I32(b, o + 16), static_cast<TColor>(U32(b, o + 24)), U32(b, o + 12) == 5}; break;
        case kExtCreatePen: objects[U32(b, o + 8)] = {true, I32(b, o + 32), static_cast<TColor>(U32(b, o + 40)), false}; break;
        case kCreateBrush: objects[U32(b, o + 8)] = {false, 0, static_cast<TColor>(U32(b, o + 16)), U32(b, o + 12) == 1}; break;
        case kSelectObject: {
            const std::uint32_t h = U32(b, o + 8);
            if (h == 0x80000008u) c.Pen().SetStyle(psClear);
            if (h == 0x80000005u) c.Brush().SetStyle(bsClear);
            if (!objects.count(h)) break;
            const Object& x = objects[h];
            if (x.Pen) {
                c.Pen().SetStyle(x.Null ? psClear : psSolid);
                c.Pen().SetWidth(x.Width);
                c.Pen().SetColor(x.Color);
            } else {
                c.Brush().SetStyle(x.Null ? bsClear : bsSolid);
                c.Brush().SetColor(x.Color);
            }
            break;
        }
        case kClip: {
            if (U32(b, o + 8) == 0) {
                c.SelectClipRgn(nullptr);
                break;
            }
            std::vector<TRect> rects;
            for (std::uint32_t i = 0; i < U32(b, o + 24); ++i)
                rects.push_back({I32(b, o + 48 + 16 * i), I32(b, o + 52 + 16 * i), I32(b, o + 56 + 16 * i), I32(b, o + 60 + 16 * i)});
            const TRegion region = TRegion::FromRects(rects);
            c.SelectClipRgn(&region);
            break;
        }
        case kPolygon: c.Polygon(points(o + 28, U32(b, o + 24))); break;
        case kPolyline: c.Polyline(points(o + 28, U32(b, o + 24))); break;
        case kPolyPolygon: {
            const std::uint32_t n = U32(b, o + 24), total = U32(b, o + 28);
            std::vector<int> counts;
            for (std::uint32_t i = 0; i < n; ++i) counts.push_back(static_cast<int>(U32(b, o + 32 + 4 * i)));
            const std::vector<TPoint> pts = points(o + 32 + 4 * n, total);
            c.PolyPolygon(pts.data(), counts.data(), static_cast<int>(n));
            break;
        }
        case 15: c.SetPixel(I32(b, o + 8), I32(b, o + 12), static_cast<TColor>(U32(b, o + 16))); break;
        default: break;
        }
    }
}

// Header, totals, end record, and a handle table that is used consistently.
void CheckStructure(const Emf& emf, int width, int height)
{
    ASSERT_TRUE(emf.Faults.empty()) << emf.Faults.front();
    ASSERT_GE(emf.Records.size(), 2u);
    const EmfRecord& header = emf.Records.front();
    const std::vector<std::uint8_t>& b = emf.Bytes;
    EXPECT_EQ(header.Type, kHeader);
    EXPECT_GE(header.Size, 88u);
    EXPECT_EQ(U32(b, 40), 0x464D4520u);                       // " EMF"
    EXPECT_EQ(U32(b, 44), 0x10000u);
    EXPECT_EQ(U32(b, 48), b.size());                           // total bytes
    EXPECT_EQ(U32(b, 52), emf.Records.size());                 // total records
    const std::uint32_t descChars = U32(b, 60), descOff = U32(b, 64);
    EXPECT_LE(descOff + 2 * descChars, header.Size);           // description inside the header
    // The frame, in hundredths of a millimetre, is the picture's size at 96 dots per inch.
    EXPECT_NEAR(I32(b, 32), width * 2540.0 / 96, 1.5);
    EXPECT_NEAR(I32(b, 36), height * 2540.0 / 96, 1.5);
    EXPECT_GT(I32(b, 72), 0);                                  // reference device pixels and millimetres
    EXPECT_GT(I32(b, 80), 0);
    EXPECT_EQ(emf.Records.back().Type, kEof);
    EXPECT_EQ(emf.Records.back().Size, 20u);
    EXPECT_EQ(U32(b, emf.Records.back().Offset + 16), 20u);

    // Objects: created into free slots below the header's handle count, selected while they live.
    const std::uint16_t handles = U16(b, 56);
    std::set<std::uint32_t> live;
    for (const EmfRecord& r : emf.Records) {
        const std::uint32_t h = r.Size >= 12 ? U32(b, r.Offset + 8) : 0;
        if (r.Type == kCreatePen || r.Type == kCreateBrush || r.Type == kFont || r.Type == kExtCreatePen ||
            r.Type == 93 || r.Type == 94) {
            EXPECT_GT(h, 0u);
            EXPECT_LT(h, handles);
            EXPECT_TRUE(live.insert(h).second) << "handle " << h << " created twice";
        } else if (r.Type == kSelectObject) {
            EXPECT_TRUE((h & 0x80000000u) || live.count(h)) << "selects dead handle " << h;
        } else if (r.Type == kDeleteObject) {
            EXPECT_EQ(live.erase(h), 1u) << "deletes dead handle " << h;
        }
    }
    // The header's bounds hold every drawing record's bounds.
    const Box all{I32(b, 8), I32(b, 12), I32(b, 16), I32(b, 20)};
    for (std::uint32_t t : {kPolygon, kPolyline, kPolyPolygon, kTextW, kStretchDib})
        for (const EmfRecord& r : emf.OfType(t)) {
            const Box box = emf.BoundsOf(r);
            EXPECT_LE(all.l, box.l);
            EXPECT_LE(all.t, box.t);
            EXPECT_GE(all.r, box.r);
            EXPECT_GE(all.b, box.b);
        }
}

// The last value a record of `type` (with one value) set before record index `before`.
std::int64_t LastValueBefore(const Emf& emf, std::uint32_t type, std::size_t before)
{
    std::int64_t v = -1;
    for (std::size_t i = 0; i < before; ++i)
        if (emf.Records[i].Type == type) v = U32(emf.Bytes, emf.Records[i].Offset + 8);
    return v;
}

std::size_t IndexOf(const Emf& emf, const EmfRecord& r)
{
    for (std::size_t i = 0; i < emf.Records.size(); ++i)
        if (emf.Records[i].Offset == r.Offset) return i;
    return emf.Records.size();
}

// The colour of the pen or brush object selected last before record `before` (created by kind).
std::int64_t SelectedColor(const Emf& emf, std::uint32_t createType, std::size_t before)
{
    std::map<std::uint32_t, std::uint32_t> colourOf;  // handle -> colour
    std::int64_t selected = -1;
    for (std::size_t i = 0; i < before; ++i) {
        const EmfRecord& r = emf.Records[i];
        if (r.Type == createType) colourOf[U32(emf.Bytes, r.Offset + 8)] = U32(emf.Bytes, r.Offset + (createType == kCreatePen ? 24 : 16));
        if (r.Type == kSelectObject) {
            const std::uint32_t h = U32(emf.Bytes, r.Offset + 8);
            if (colourOf.count(h)) selected = colourOf[h];
            else if (h == 0x80000008u && createType == kCreatePen) selected = -2;  // null pen
            else if (h == 0x80000005u && createType == kCreateBrush) selected = -2;
        }
    }
    return selected;
}

std::vector<std::uint8_t> Bytes(const TMetafile& m)
{
    std::vector<std::uint8_t> b;
    m.SaveToBytes(b);
    return b;
}

TEST(Metafile, RectangleLineAndTextBecomeTheirRecords)
{
    TMetafile m;
    m.SetWidth(120);
    m.SetHeight(80);
    std::string text = "Hi there";
    int measured = 0;
    {
        TMetafileCanvas c(m, nullptr);
        c.Pen().SetColor(0xFF0000);   // blue
        c.Brush().SetColor(0x0000FF); // red
        c.Rectangle(10, 10, 50, 30);
        c.Pen().SetColor(0x00FF00);
        c.MoveTo(5, 60);
        c.LineTo(80, 60);
        c.Font().SetName("Arial");
        c.Font().SetHeight(-14);
        c.Brush().SetStyle(bsClear);
        c.TextOut(20, 40, text);
        measured = c.TextWidth(text);
    }
    const Emf emf(Bytes(m));
    CheckStructure(emf, 120, 80);

    // The filled rectangle: a fill polygon in red with no pen, then its outline in blue with no brush.
    const std::vector<EmfRecord> polygons = emf.OfType(kPolygon);
    ASSERT_EQ(polygons.size(), 2u);
    const std::size_t fill = IndexOf(emf, polygons[0]), outline = IndexOf(emf, polygons[1]);
    EXPECT_EQ(SelectedColor(emf, kCreateBrush, fill), 0x0000FF);
    EXPECT_EQ(SelectedColor(emf, kCreatePen, fill), -2);
    EXPECT_EQ(SelectedColor(emf, kCreatePen, outline), 0xFF0000);
    EXPECT_EQ(SelectedColor(emf, kCreateBrush, outline), -2);
    for (const EmfRecord& r : polygons) {
        const Box box = emf.BoundsOf(r);
        EXPECT_GE(box.l, 10);
        EXPECT_GE(box.t, 10);
        EXPECT_LE(box.r, 50);
        EXPECT_LE(box.b, 30);
        EXPECT_GE(box.r, 48);
        EXPECT_GE(box.b, 28);
    }
    // The line: one polyline from its start to its end, in green.
    const std::vector<EmfRecord> lines = emf.OfType(kPolyline);
    ASSERT_EQ(lines.size(), 1u);
    const auto pts = emf.Points(lines[0]);
    ASSERT_GE(pts.size(), 2u);
    EXPECT_EQ(pts.front(), std::make_pair(5, 60));
    EXPECT_EQ(pts.back().second, 60);
    EXPECT_GE(pts.back().first, 79);
    EXPECT_EQ(SelectedColor(emf, kCreatePen, IndexOf(emf, lines[0])), 0x00FF00);
    // The text: its characters, with advances that add up to the width measured on the canvas.
    const std::vector<EmfRecord> texts = emf.OfType(kTextW);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(emf.TextOf(texts[0]), u"Hi there");
    int sum = 0;
    for (int dx : emf.AdvancesOf(texts[0])) sum += dx;
    EXPECT_NEAR(sum, measured, 1);
    ASSERT_EQ(emf.OfType(kFont).size(), 1u);
    const EmfRecord font = emf.OfType(kFont)[0];
    EXPECT_EQ(I32(emf.Bytes, font.Offset + 12), -14);
    EXPECT_EQ(U16(emf.Bytes, font.Offset + 12 + 28), u'A');   // face name "Arial"
}

TEST(Metafile, TextIsMeasuredAsOnTheImageCanvas)
{
    TBitmap bmp(50, 50);
    TMetafile m;
    TMetafileCanvas c(m, nullptr);
    for (TCanvas* canvas : {&bmp.Canvas(), static_cast<TCanvas*>(&c)}) {
        canvas->Font().SetName("Times New Roman");
        canvas->Font().SetHeight(-17);
    }
    for (const char* s : {"Resistivity", "W", "1.25E+0003"})
        EXPECT_EQ(c.TextExtent(s), bmp.Canvas().TextExtent(s)) << s;
}

TEST(Metafile, RasterOperationClipAndPictureRecords)
{
    TBitmap picture(4, 3, pf24bit);
    picture.Canvas().Brush().SetColor(0x00FFFF);
    picture.Canvas().FillRect({0, 0, 4, 3});
    TMetafile m;
    m.SetWidth(100);
    m.SetHeight(100);
    {
        TMetafileCanvas c(m, nullptr);
        c.Brush().SetStyle(bsClear);
        c.Pen().SetMode(pmNotXor);
        c.Rectangle(20, 20, 60, 60);
        c.Pen().SetMode(pmCopy);
        c.IntersectClipRect(0, 0, 40, 50);
        c.StretchDraw({10, 10, 18, 16}, picture);
    }
    const Emf emf(Bytes(m));
    CheckStructure(emf, 100, 100);
    const std::vector<EmfRecord> polygons = emf.OfType(kPolygon);
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_EQ(LastValueBefore(emf, kSetRop2, IndexOf(emf, polygons[0])), 10);  // not-XOR
    const std::vector<EmfRecord> clips = emf.OfType(kClip);
    ASSERT_EQ(clips.size(), 1u);
    // One rectangle of region data: (0, 0) - (40, 50).
    EXPECT_EQ(U32(emf.Bytes, clips[0].Offset + 8), 48u);
    EXPECT_EQ(I32(emf.Bytes, clips[0].Offset + 48), 0);
    EXPECT_EQ(I32(emf.Bytes, clips[0].Offset + 56), 40);
    EXPECT_EQ(I32(emf.Bytes, clips[0].Offset + 60), 50);
    const std::vector<EmfRecord> pictures = emf.OfType(kStretchDib);
    ASSERT_EQ(pictures.size(), 1u);
    const EmfRecord& p = pictures[0];
    EXPECT_LT(IndexOf(emf, clips[0]), IndexOf(emf, p));
    EXPECT_EQ(I32(emf.Bytes, p.Offset + 24), 10);          // destination x, y, width, height
    EXPECT_EQ(I32(emf.Bytes, p.Offset + 28), 10);
    EXPECT_EQ(I32(emf.Bytes, p.Offset + 72), 8);
    EXPECT_EQ(I32(emf.Bytes, p.Offset + 76), 6);
    const std::uint32_t offBmi = U32(emf.Bytes, p.Offset + 48), offBits = U32(emf.Bytes, p.Offset + 56);
    EXPECT_EQ(U32(emf.Bytes, p.Offset + offBmi), 40u);      // information header
    EXPECT_EQ(I32(emf.Bytes, p.Offset + offBmi + 4), 4);
    EXPECT_EQ(I32(emf.Bytes, p.Offset + offBmi + 8), 3);
    EXPECT_EQ(U32(emf.Bytes, p.Offset + offBits) & 0xFFFFFF, 0xFFFF00u);  // yellow as blue, green, red bytes
    EXPECT_LE(offBits + U32(emf.Bytes, p.Offset + 60), p.Size);
}

// What lies outside the clip or the picture is not part of it: a fill reaching far above a clipped plot
// (a mask with a distant origin), a line along the picture's edge one pixel outside it, a line and a thick
// outline leaving the clip, text and pixels wholly outside. The header bounds what can be seen, fills and
// solid outlines are written cut near the clip, and the records still show the picture as drawn.
TEST(Metafile, BoundsAndFillsAreThoseOfWhatIsVisible)
{
    const auto draw = [](TCanvas& c) {
        c.Pen().SetColor(0x000000);
        c.Brush().SetStyle(bsClear);
        c.Rectangle(-1, 0, 101, 60);                  // its left side one pixel outside the picture
        c.IntersectClipRect(10, 8, 90, 50);
        c.Pen().SetStyle(psClear);
        c.Brush().SetStyle(bsSolid);
        c.Brush().SetColor(0x00FF00);
        c.Polygon({{20, -11000}, {40, -11000}, {40, 20}, {30, 30}, {20, 20}});
        c.Brush().SetColor(0x0000FF);
        c.Polygon({{-5000, 40}, {5000, 40}, {5000, 45000}, {-5000, 45000}});
        c.Pen().SetStyle(psSolid);
        c.MoveTo(50, -9000);                          // a line through the top of the clip
        c.LineTo(60, 30);
        c.Pen().SetWidth(3);                          // a thick outline leaving the clip and coming back
        c.Brush().SetStyle(bsClear);
        c.Polygon({{60, 20}, {70, -7000}, {85, 30}, {95, 30000}, {80, 45}});
        c.Pen().SetWidth(1);
        c.TextOut(200, 20, "away");                   // wholly outside the clip
        c.SetPixel(5, 5, 0x0000FF);
        c.SelectClipRgn(nullptr);
        c.SetPixel(150, 5, 0x0000FF);                 // outside the picture
    };
    TMetafile m;
    m.SetWidth(100);
    m.SetHeight(60);
    {
        TMetafileCanvas c(m, nullptr);
        draw(c);
    }
    const Emf emf(Bytes(m));
    CheckStructure(emf, 100, 60);
    const Box all{I32(emf.Bytes, 8), I32(emf.Bytes, 12), I32(emf.Bytes, 16), I32(emf.Bytes, 20)};
    EXPECT_EQ(all.l, 0);
    EXPECT_EQ(all.t, 0);
    EXPECT_EQ(all.r, 99);
    EXPECT_EQ(all.b, 59);
    // The two fills, cut to the clip (a pixel of slack at its edges), keep their visible outline.
    const std::vector<EmfRecord> polygons = emf.OfType(kPolygon);
    int fills = 0;
    for (const EmfRecord& r : polygons) {
        const Box b = emf.BoundsOf(r);
        if (b.t >= 0 && b.b < 60 && b.l >= 0 && b.r < 100) {
            if (b.l >= 9 && b.r <= 91 && b.t >= 7 && b.b <= 51) ++fills;
            continue;
        }
        ADD_FAILURE() << "a polygon from " << b.l << "," << b.t << " to " << b.r << "," << b.b;
    }
    EXPECT_EQ(fills, 2);
    EXPECT_TRUE(emf.OfType(kTextW).empty()) << "text nobody can see";
    // Outlines too are written within a few pixels of what can be seen.
    for (std::uint32_t type : {kPolygon, kPolyline})
        for (const EmfRecord& r : emf.OfType(type))
            for (const auto& [x, y] : emf.Points(r))
                EXPECT_TRUE(x >= -4 && x <= 104 && y >= -4 && y <= 64) << "a point at " << x << "," << y;

    // The records as written show the drawing: the same pixels but where a cut edge, its ends rounded
    // to whole pixels, runs a pixel aside.
    const auto blank = [](TBitmap& bmp) {
        bmp.Canvas().Brush().SetColor(0xFFFFFF);
        bmp.Canvas().FillRect({0, 0, 100, 60});
    };
    TBitmap drawn(100, 60, pf32bit), played(100, 60, pf32bit);
    blank(drawn);
    draw(drawn.Canvas());
    blank(played);
    Play(emf, played.Canvas());
    const TPixelBuffer a = drawn.ToPixels(), p = played.ToPixels();
    const auto near = [](const TPixelBuffer& in, int x, int y, std::uint32_t colour) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (x + dx >= 0 && x + dx < in.Width && y + dy >= 0 && y + dy < in.Height &&
                    (in.At(x + dx, y + dy) & 0xFFFFFF) == colour)
                    return true;
        return false;
    };
    int same = 0, aside = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; ++x) {
            const std::uint32_t want = a.At(x, y) & 0xFFFFFF, got = p.At(x, y) & 0xFFFFFF;
            if (want == got) ++same;
            else if (near(a, x, y, got) && near(p, x, y, want)) ++aside;
            else ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << got << " where " << want << " was drawn";
        }
    EXPECT_LT(aside, 12);
    EXPECT_GT(same, 5900);
    EXPECT_EQ(p.At(30, 15) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(p.At(30, 8) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(p.At(30, 7) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(p.At(89, 49) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(p.At(60, 8) & 0xFFFFFF, 0u) << "the line enters at the clip's top";

    // A metafile without a size takes the size of what can be seen.
    TMetafile sized;
    {
        TMetafileCanvas c(sized, nullptr);
        c.IntersectClipRect(0, 0, 40, 30);
        c.Brush().SetColor(0);
        c.Pen().SetStyle(psClear);
        c.Rectangle(10, -5000, 5000, 20);
    }
    EXPECT_EQ(sized.Width(), 40);
    EXPECT_NEAR(sized.Height(), 20, 1);
}

TEST(Metafile, EmptyAndNonEnhancedMetafilesAreStillEnhancedFiles)
{
    TMetafile m;
    m.SetEnhanced(false);
    m.SetWidth(1);
    m.SetHeight(1);
    { TMetafileCanvas c(m, nullptr); }
    const Emf emf(Bytes(m));
    CheckStructure(emf, 1, 1);
    EXPECT_EQ(I32(emf.Bytes, 16), -1);  // nothing drawn: empty bounds
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "vsp_metafile_test.emf";
    m.SaveToFile(path.string());
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> onDisk((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(onDisk, emf.Bytes);
    std::filesystem::remove(path);
    EXPECT_THROW(m.LoadFromBytes(emf.Bytes.data(), emf.Bytes.size()), EInvalidGraphic);
}

// Drawing on a metafile and playing it back gives the pixels of the same drawing on a bitmap.
TEST(Metafile, PlaybackMatchesDrawingOnABitmap)
{
    const auto draw = [](TCanvas& c) {
        c.Brush().SetColor(0x3366CC);
        c.Pen().SetColor(0x000000);
        c.Ellipse(5, 5, 45, 35);
        c.Brush().SetStyle(bsDiagCross);
        c.Brush().SetColor(0x008000);
        c.Rectangle(30, 20, 70, 55);
        c.Pen().SetMode(pmXor);
        c.Pen().SetColor(0xFFFFFF);
        c.MoveTo(0, 50);
        c.LineTo(79, 10);
        c.Pen().SetMode(pmCopy);
        c.SetPixel(2, 58, 0x0000FF);
    };
    TBitmap bmp(80, 60, pf32bit);
    bmp.Canvas().Brush().SetColor(0xFFFFFF);
    bmp.Canvas().FillRect({0, 0, 80, 60});
    draw(bmp.Canvas());
    TMetafile m;
    m.SetWidth(80);
    m.SetHeight(60);
    {
        TMetafileCanvas c(m, nullptr);
        draw(c);
    }
    const TPixelBuffer played = m.ToPixels();
    const TPixelBuffer expected = bmp.ToPixels();
    ASSERT_EQ(played.Width, 80);
    ASSERT_EQ(played.Height, 60);
    int differing = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x) differing += (played.At(x, y) & 0xFFFFFF) != (expected.At(x, y) & 0xFFFFFF);
    EXPECT_EQ(differing, 0);
    // A copy holds the same picture.
    auto copy = m.Clone();
    EXPECT_EQ(copy->ToPixels().Pixels, played.Pixels);
}

TEST(Metafile, WithoutSizeTakesTheDrawnArea)
{
    TMetafile m;
    {
        TMetafileCanvas c(m, nullptr);
        c.Brush().SetColor(0);
        c.Pen().SetStyle(psClear);
        c.Rectangle(0, 0, 30, 20);
    }
    EXPECT_GE(m.Width(), 29);
    EXPECT_LE(m.Width(), 31);
    EXPECT_GE(m.Height(), 19);
    EXPECT_LE(m.Height(), 21);
}

} // namespace
