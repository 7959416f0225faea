// Enhanced-metafile records: each is its type, its size in bytes (a multiple of four) and its fields,
// little-endian. The header's totals (bytes, records, handles, bounds) are filled in by Finish.
#include "platform/graphics/EmfWriter.h"

#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr std::uint32_t kSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kHeaderFixedSize = 108;    // with both header extensions
constexpr std::uint32_t DIB_RGB_COLORS = 0, DIB_PAL_MONO = 2;
constexpr std::uint32_t GM_COMPATIBLE_MODE = 1;
// The reference device: a screen of 1920 x 960 pixels at 96 dots per inch is 508 x 254 mm.
constexpr int kRefWidth = 1920, kRefHeight = 960;

const char16_t kDescription[] = u"VornSP2Dp\0Picture\0";  // two strings, each ended by a zero

} // namespace

TEmfWriter::TEmfWriter(int width, int height, int dpi)
    : FWidth(std::max(0, width)), FHeight(std::max(0, height)), FDpi(dpi > 0 ? dpi : 96)
{
    const std::size_t start = BeginRecord(EMR_HEADER);
    PutRect({0, 0, -1, -1});                                    // bounds: filled in by Finish
    // The frame in hundredths of a millimetre, inclusive.
    const auto hundredthMM = [this](int px) { return static_cast<int>(std::lround(px * 2540.0 / FDpi)) - 1; };
    PutRect({0, 0, std::max(0, hundredthMM(FWidth)), std::max(0, hundredthMM(FHeight))});
    PutU32(kSignature);
    PutU32(0x10000);                                            // version
    PutU32(0);                                                  // bytes: Finish
    PutU32(0);                                                  // records: Finish
    PutU16(0);                                                  // handles: Finish
    PutU16(0);
    const std::uint32_t descriptionChars = sizeof(kDescription) / sizeof(char16_t);
    PutU32(descriptionChars);
    PutU32(kHeaderFixedSize);
    PutU32(0);                                                  // palette entries
    PutI32(kRefWidth * FDpi / 96);
    PutI32(kRefHeight * FDpi / 96);
    PutI32(508);
    PutI32(254);
    PutU32(0);                                                  // pixel format: none
    PutU32(0);
    PutU32(0);                                                  // no OpenGL records
    PutI32(508000);
    PutI32(254000);
    for (std::uint32_t i = 0; i < descriptionChars; ++i) PutU16(kDescription[i]);
    EndRecord(start);
}

// ---- Record framing ----------------------------------------------------------------------------------

std::size_t TEmfWriter::BeginRecord(std::uint32_t type)
{
    if (FRecords < 0) throw EInvalidOperation("Metafile writer already finished");
    const std::size_t start = FData.size();
    PutU32(type);
    PutU32(0);
    ++FRecords;
    return start;
}

void TEmfWriter::EndRecord(std::size_t start)
{
    while (FData.size() % 4 != 0) FData.push_back(0);
    PatchU32(start + 4, static_cast<std::uint32_t>(FData.size() - start));
}

void TEmfWriter::PutU32(std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) FData.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void TEmfWriter::PutU16(std::uint16_t v)
{
    FData.push_back(static_cast<std::uint8_t>(v));
    FData.push_back(static_cast<std::uint8_t>(v >> 8));
}

void TEmfWriter::PutF32(float v)
{
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    PutU32(bits);
}

void TEmfWriter::PutRect(const TRect& r)
{
    PutI32(r.Left);
    PutI32(r.Top);
    PutI32(r.Right);
    PutI32(r.Bottom);
}

void TEmfWriter::PutPoints(const std::vector<TPoint>& points)
{
    for (const TPoint& p : points) {
        PutI32(p.x);
        PutI32(p.y);
    }
}

void TEmfWriter::PatchU32(std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) FData[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

void TEmfWriter::Value(std::uint32_t type, std::uint32_t value)
{
    const std::size_t start = BeginRecord(type);
    PutU32(value);
    EndRecord(start);
}

TRect TEmfWriter::VisibleArea() const
{
    constexpr int kFar = 1 << 30;
    TRect a = FWidth > 0 && FHeight > 0 ? TRect{0, 0, FWidth, FHeight} : TRect{-kFar, -kFar, kFar, kFar};
    if (FClipped)
        a = {std::max(a.Left, FClipBounds.Left), std::max(a.Top, FClipBounds.Top), std::min(a.Right, FClipBounds.Right),
             std::min(a.Bottom, FClipBounds.Bottom)};
    return a;
}

TRect TEmfWriter::Include(const TRect& bounds)
{
    const TRect a = VisibleArea();
    const TRect r{std::max(bounds.Left, a.Left), std::max(bounds.Top, a.Top), std::min(bounds.Right, a.Right - 1),
                  std::min(bounds.Bottom, a.Bottom - 1)};
    if (r.Left > r.Right || r.Top > r.Bottom) return {0, 0, -1, -1};
    if (!FHasBounds) {
        FBounds = r;
        FHasBounds = true;
        return r;
    }
    FBounds.Left = std::min(FBounds.Left, r.Left);
    FBounds.Top = std::min(FBounds.Top, r.Top);
    FBounds.Right = std::max(FBounds.Right, r.Right);
    FBounds.Bottom = std::max(FBounds.Bottom, r.Bottom);
    return r;
}

TRect TEmfWriter::PointBounds(const std::vector<TPoint>& points)
{
    TRect r{points.front().x, points.front().y, points.front().x, points.front().y};
    for (const TPoint& p : points) {
        r.Left = std::min(r.Left, p.x);
        r.Top = std::min(r.Top, p.y);
        r.Right = std::max(r.Right, p.x);
        r.Bottom = std::max(r.Bottom, p.y);
    }
    return r;
}

// ---- State -------------------------------------------------------------------------------------------

void TEmfWriter::SetBrushOrg(TPoint p)
{
    const std::size_t start = BeginRecord(EMR_SETBRUSHORGEX);
    PutI32(p.x);
    PutI32(p.y);
    EndRecord(start);
}

void TEmfWriter::SelectClip(const std::vector<TRect>& rects)
{
    if (rects.empty()) {
        // A clip of no pixels: one empty rectangle (no data would mean "no clip").
        SelectClip({TRect{0, 0, 0, 0}});
        return;
    }
    TRect bound = rects.front();
    for (const TRect& r : rects) {
        bound.Left = std::min(bound.Left, r.Left);
        bound.Top = std::min(bound.Top, r.Top);
        bound.Right = std::max(bound.Right, r.Right);
        bound.Bottom = std::max(bound.Bottom, r.Bottom);
    }
    FClipped = true;
    FClipBounds = bound;
    const std::size_t start = BeginRecord(EMR_EXTSELECTCLIPRGN);
    PutU32(static_cast<std::uint32_t>(32 + 16 * rects.size()));  // region data bytes
    PutU32(5);                                                  // RGN_COPY
    PutU32(32);                                                 // region header size
    PutU32(1);                                                  // rectangles
    PutU32(static_cast<std::uint32_t>(rects.size()));
    PutU32(static_cast<std::uint32_t>(16 * rects.size()));
    PutRect(bound);
    for (const TRect& r : rects) PutRect(r);
    EndRecord(start);
}

void TEmfWriter::RemoveClip()
{
    FClipped = false;
    const std::size_t start = BeginRecord(EMR_EXTSELECTCLIPRGN);
    PutU32(0);
    PutU32(5);  // RGN_COPY of no region: the default clip
    EndRecord(start);
}

// ---- Objects -----------------------------------------------------------------------------------------

std::uint32_t TEmfWriter::NewHandle()
{
    for (std::size_t i = 1; i < FHandles.size(); ++i)
        if (!FHandles[i]) {
            FHandles[i] = true;
            return static_cast<std::uint32_t>(i);
        }
    FHandles.push_back(true);
    return static_cast<std::uint32_t>(FHandles.size() - 1);
}

void TEmfWriter::DeleteObject(std::uint32_t handle)
{
    if (handle == 0 || handle >= FHandles.size() || !FHandles[handle]) return;
    FHandles[handle] = false;
    Value(EMR_DELETEOBJECT, handle);
}

std::uint32_t TEmfWriter::CreatePen(std::uint32_t style, int width, TColor color)
{
    const std::uint32_t h = NewHandle();
    const std::size_t start = BeginRecord(EMR_CREATEPEN);
    PutU32(h);
    PutU32(style);
    PutI32(width);
    PutI32(0);
    PutU32(static_cast<std::uint32_t>(color));
    EndRecord(start);
    return h;
}

std::uint32_t TEmfWriter::ExtCreatePen(std::uint32_t style, int width, TColor color,
                                       const std::vector<std::uint32_t>& dashes)
{
    const std::uint32_t h = NewHandle();
    const std::size_t start = BeginRecord(EMR_EXTCREATEPEN);
    PutU32(h);
    for (int i = 0; i < 4; ++i) PutU32(0);                      // no brush bitmap
    PutU32(style);
    PutI32(width);
    PutU32(BS_SOLID);
    PutU32(static_cast<std::uint32_t>(color));
    PutU32(0);                                                  // hatch
    PutU32(static_cast<std::uint32_t>(dashes.size()));
    for (std::uint32_t d : dashes) PutU32(d);
    EndRecord(start);
    return h;
}

std::uint32_t TEmfWriter::CreateBrush(std::uint32_t style, TColor color, std::uint32_t hatch)
{
    const std::uint32_t h = NewHandle();
    const std::size_t start = BeginRecord(EMR_CREATEBRUSHINDIRECT);
    PutU32(h);
    PutU32(style);
    PutU32(static_cast<std::uint32_t>(color));
    PutU32(hatch);
    EndRecord(start);
    return h;
}

// A device-independent bitmap at the end of the record: the information header (with a black and
// white palette for one bit per pixel), then the rows bottom-up, each padded to four bytes. The four
// offset and size fields at offsetsAt are filled in.
void TEmfWriter::PutDib(std::size_t recordStart, std::size_t offsetsAt, const TEmfPixels& px, int bitsPerPixel)
{
    const std::size_t bmiStart = FData.size();
    const std::uint32_t stride = static_cast<std::uint32_t>(((px.Width * bitsPerPixel + 31) / 32) * 4);
    PutU32(40);
    PutI32(px.Width);
    PutI32(px.Height);
    PutU16(1);
    PutU16(static_cast<std::uint16_t>(bitsPerPixel));
    PutU32(0);                                                  // BI_RGB
    PutU32(stride * static_cast<std::uint32_t>(px.Height));
    PutI32(static_cast<std::int32_t>(std::lround(FDpi / 0.0254)));
    PutI32(static_cast<std::int32_t>(std::lround(FDpi / 0.0254)));
    PutU32(bitsPerPixel == 1 ? 2 : 0);
    PutU32(0);
    if (bitsPerPixel == 1) {
        PutU32(0x00000000);
        PutU32(0x00FFFFFF);
    }
    const std::size_t bitsStart = FData.size();
    for (int y = px.Height - 1; y >= 0; --y) {
        const std::uint32_t* row = px.Pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(px.Width);
        const std::size_t rowStart = FData.size();
        if (bitsPerPixel == 32) {
            for (int x = 0; x < px.Width; ++x) PutU32(row[x] & 0x00FFFFFF);
        } else {
            FData.resize(rowStart + stride, 0);
            for (int x = 0; x < px.Width; ++x)
                if ((row[x] & 0x00FFFFFF) != 0)  // black is bit 0, every other colour bit 1
                    FData[rowStart + static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        FData.resize(rowStart + stride, 0);
    }
    PatchU32(offsetsAt, static_cast<std::uint32_t>(bmiStart - recordStart));
    PatchU32(offsetsAt + 4, static_cast<std::uint32_t>(bitsStart - bmiStart));
    PatchU32(offsetsAt + 8, static_cast<std::uint32_t>(bitsStart - recordStart));
    PatchU32(offsetsAt + 12, static_cast<std::uint32_t>(FData.size() - bitsStart));
}

std::uint32_t TEmfWriter::CreatePatternBrush(const TEmfPixels& pattern, bool monochrome)
{
    const std::uint32_t h = NewHandle();
    const std::size_t start = BeginRecord(monochrome ? EMR_CREATEMONOBRUSH : EMR_CREATEDIBPATTERNBRUSHPT);
    PutU32(h);
    PutU32(monochrome ? DIB_PAL_MONO : DIB_RGB_COLORS);
    const std::size_t offsets = FData.size();
    for (int i = 0; i < 4; ++i) PutU32(0);
    PutDib(start, offsets, pattern, monochrome ? 1 : 32);
    EndRecord(start);
    return h;
}

std::uint32_t TEmfWriter::CreateFont(const TEmfFont& font)
{
    const std::uint32_t h = NewHandle();
    const std::size_t start = BeginRecord(EMR_EXTCREATEFONTINDIRECTW);
    PutU32(h);
    PutI32(font.Height);
    PutI32(0);                                                  // width: by the aspect of the face
    PutI32(font.Escapement);
    PutI32(font.Escapement);                                    // orientation follows the escapement
    PutI32(font.Weight);
    FData.push_back(font.Italic ? 1 : 0);
    FData.push_back(font.Underline ? 1 : 0);
    FData.push_back(font.StrikeOut ? 1 : 0);
    FData.push_back(1);                                         // DEFAULT_CHARSET
    FData.push_back(0);                                         // OUT_DEFAULT_PRECIS
    FData.push_back(0);                                         // CLIP_DEFAULT_PRECIS
    FData.push_back(static_cast<std::uint8_t>(font.Quality));
    FData.push_back(0);                                         // DEFAULT_PITCH | FF_DONTCARE
    for (std::size_t i = 0; i < 32; ++i) PutU16(i < 31 && i < font.FaceName.size() ? font.FaceName[i] : 0);
    EndRecord(start);
    return h;
}

// ---- Drawing -----------------------------------------------------------------------------------------

void TEmfWriter::PolyRecord(std::uint32_t type, const std::vector<TPoint>& points)
{
    if (points.empty()) return;
    const TRect b = Include(PointBounds(points));
    const std::size_t start = BeginRecord(type);
    PutRect(b);
    PutU32(static_cast<std::uint32_t>(points.size()));
    PutPoints(points);
    EndRecord(start);
}

void TEmfWriter::Polygon(const std::vector<TPoint>& points) { PolyRecord(EMR_POLYGON, points); }

void TEmfWriter::Polyline(const std::vector<TPoint>& points) { PolyRecord(EMR_POLYLINE, points); }

void TEmfWriter::PolyPolygon(const std::vector<std::vector<TPoint>>& polygons)
{
    std::vector<TPoint> all;
    for (const auto& poly : polygons) all.insert(all.end(), poly.begin(), poly.end());
    if (all.empty()) return;
    const TRect b = Include(PointBounds(all));
    const std::size_t start = BeginRecord(EMR_POLYPOLYGON);
    PutRect(b);
    PutU32(static_cast<std::uint32_t>(polygons.size()));
    PutU32(static_cast<std::uint32_t>(all.size()));
    for (const auto& poly : polygons) PutU32(static_cast<std::uint32_t>(poly.size()));
    PutPoints(all);
    EndRecord(start);
}

void TEmfWriter::SetPixel(TPoint p, TColor c)
{
    Include({p.x, p.y, p.x, p.y});
    const std::size_t start = BeginRecord(EMR_SETPIXELV);
    PutI32(p.x);
    PutI32(p.y);
    PutU32(static_cast<std::uint32_t>(c));
    EndRecord(start);
}

void TEmfWriter::ExtTextOut(TPoint reference, const std::u16string& text, const std::vector<int>& advances,
                            const TRect& bounds)
{
    if (text.empty()) return;
    const TRect b = Include(bounds);
    const std::size_t start = BeginRecord(EMR_EXTTEXTOUTW);
    PutRect(b);
    PutU32(GM_COMPATIBLE_MODE);
    PutF32(static_cast<float>(2540.0 / FDpi));                  // page units to hundredths of a mm
    PutF32(static_cast<float>(2540.0 / FDpi));
    PutI32(reference.x);
    PutI32(reference.y);
    PutU32(static_cast<std::uint32_t>(text.size()));
    const std::size_t offString = FData.size();
    PutU32(0);
    PutU32(0);                                                  // options: none
    PutRect({0, 0, -1, -1});                                    // no clipping or opaquing rectangle
    const std::size_t offDx = FData.size();
    PutU32(0);
    PatchU32(offString, static_cast<std::uint32_t>(FData.size() - start));
    for (char16_t c : text) PutU16(c);
    while (FData.size() % 4 != 0) FData.push_back(0);
    PatchU32(offDx, static_cast<std::uint32_t>(FData.size() - start));
    for (std::size_t i = 0; i < text.size(); ++i) PutI32(i < advances.size() ? advances[i] : 0);
    EndRecord(start);
}

void TEmfWriter::StretchDIBits(const TRect& dest, const TEmfPixels& px, std::uint32_t rop3)
{
    if (px.Width <= 0 || px.Height <= 0) return;
    const TRect b = Include({dest.Left, dest.Top, dest.Right - 1, dest.Bottom - 1});
    const std::size_t start = BeginRecord(EMR_STRETCHDIBITS);
    PutRect(b);
    PutI32(dest.Left);
    PutI32(dest.Top);
    PutI32(0);                                                  // source x, y
    PutI32(0);
    PutI32(px.Width);
    PutI32(px.Height);
    const std::size_t offsets = FData.size();
    for (int i = 0; i < 4; ++i) PutU32(0);
    PutU32(DIB_RGB_COLORS);
    PutU32(rop3);
    PutI32(dest.Width());
    PutI32(dest.Height());
    PutDib(start, offsets, px, 32);
    EndRecord(start);
}

void TEmfWriter::TransparentBlt(const TRect& dest, const TEmfPixels& px, TColor transparent)
{
    if (px.Width <= 0 || px.Height <= 0) return;
    const TRect b = Include({dest.Left, dest.Top, dest.Right - 1, dest.Bottom - 1});
    const std::size_t start = BeginRecord(EMR_TRANSPARENTBLT);
    PutRect(b);
    PutI32(dest.Left);
    PutI32(dest.Top);
    PutI32(dest.Width());
    PutI32(dest.Height());
    PutU32(static_cast<std::uint32_t>(transparent));            // the transparent colour
    PutI32(0);                                                  // source x, y
    PutI32(0);
    for (float f : {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f}) PutF32(f);  // source transform: identity
    PutU32(0);                                                  // source background colour
    PutU32(DIB_RGB_COLORS);
    const std::size_t offsets = FData.size();
    for (int i = 0; i < 4; ++i) PutU32(0);
    PutI32(px.Width);
    PutI32(px.Height);
    PutDib(start, offsets, px, 32);
    EndRecord(start);
}

// ---- End ---------------------------------------------------------------------------------------------

std::vector<std::uint8_t> TEmfWriter::Finish()
{
    const std::size_t start = BeginRecord(EMR_EOF);
    PutU32(0);   // palette entries
    PutU32(16);  // offset of the (absent) palette
    PutU32(20);  // size of this record, repeated last
    EndRecord(start);
    const TRect bounds = FHasBounds ? FBounds : TRect{0, 0, -1, -1};
    PatchU32(8, static_cast<std::uint32_t>(bounds.Left));
    PatchU32(12, static_cast<std::uint32_t>(bounds.Top));
    PatchU32(16, static_cast<std::uint32_t>(bounds.Right));
    PatchU32(20, static_cast<std::uint32_t>(bounds.Bottom));
    PatchU32(48, static_cast<std::uint32_t>(FData.size()));
    PatchU32(52, static_cast<std::uint32_t>(FRecords));
    const auto handles = static_cast<std::uint16_t>(FHandles.size());
    FData[56] = static_cast<std::uint8_t>(handles);
    FData[57] = static_cast<std::uint8_t>(handles >> 8);
    FRecords = -1;
    return std::move(FData);
}
