// TGraphic, TBitmap (pixel storage in the pixel formats, conversions, its canvas) and TPicture (one
// owned graphic, load by extension, change notification).

#include "platform/graphics/Bitmap.h"

#include "platform/graphics/Canvas.h"
#include "platform/graphics/ImageBackend.h"
#include "platform/graphics/Metafile.h"
#include "platform/graphics/Raster.h"
#include "platform/rtl/Streams.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>

// ---- TGraphic ----

void TGraphic::SetTransparent(bool v)
{
    if (FTransparent == v) return;
    FTransparent = v;
    Changed();
}

void TGraphic::Changed()
{
    FModified = true;
    if (OnChange) OnChange(this);
}

void TGraphic::LoadFromStream(TStream& s)
{
    const std::int64_t n = s.Size() - s.Position();
    std::string bytes = s.ReadBytes(std::max<std::int64_t>(0, n));
    LoadFromBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

void TGraphic::SaveToStream(TStream& s) const
{
    std::vector<std::uint8_t> bytes;
    SaveToBytes(bytes);
    s.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

void TGraphic::LoadFromFile(const std::string& path)
{
    TMemoryStream m;
    m.LoadFromFile(path);
    LoadFromBytes(m.Memory(), static_cast<std::size_t>(m.Size()));
}

void TGraphic::SaveToFile(const std::string& path) const
{
    TMemoryStream m;
    SaveToStream(m);
    m.SaveToFile(path);
}

// ---- TBitmap storage ----

namespace {

using raster::ColorFromPixel;
using raster::PixelFromColor;

// Pixels beyond this many bytes are refused (no picture of the program comes near it).
constexpr std::size_t MaxBitmapBytes = std::size_t(1) << 30;

int BitsPerPixel(TPixelFormat f)
{
    switch (f) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    default: return 32;
    }
}

std::vector<TColor> DefaultPalette(TPixelFormat f)
{
    switch (f) {
    case pf1bit: return {clBlack, clWhite};
    case pf4bit:
        return {clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clSilver,
                clGray,  clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite};
    case pf8bit: {
        // The colour cube of six levels per channel, then a grey ramp.
        std::vector<TColor> p;
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b) p.push_back(RGB(r * 51, g * 51, b * 51));
        for (int i = 0; p.size() < 256; ++i) p.push_back(RGB(i * 255 / 39, i * 255 / 39, i * 255 / 39));
        return p;
    }
    default: return {};
    }
}

int Nearest(const std::vector<TColor>& palette, std::uint32_t px)
{
    int best = 0;
    long long bestD = -1;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const std::uint32_t q = PixelFromColor(palette[i]);
        long long d = 0;
        for (int sh = 0; sh < 24; sh += 8) {
            const long long e = static_cast<long long>((px >> sh) & 0xFF) - ((q >> sh) & 0xFF);
            d += e * e;
        }
        if (bestD < 0 || d < bestD) {
            bestD = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

// The memory a canvas can draw into directly (24 and 32 bits), or none.
bool Direct(TPixelFormat f) { return BitsPerPixel(f) >= 24; }

}  // namespace

TBitmap::TBitmap() { Allocate(0, 0, pf24bit, {}); }

TBitmap::TBitmap(int width, int height, TPixelFormat format) { Allocate(width, height, format, DefaultPalette(format)); }

TBitmap::~TBitmap() = default;

void TBitmap::Allocate(int w, int h, TPixelFormat f, std::vector<TColor> palette, int fill)
{
    w = std::max(0, w);
    h = std::max(0, h);
    const int bpp = BitsPerPixel(f);
    const std::size_t stride = ((static_cast<std::size_t>(w) * bpp + 31) / 32) * 4;
    if (h > 0 && stride > MaxBitmapBytes / static_cast<std::size_t>(h)) throw EOutOfResources("Out of system resources");
    FWidth = w;
    FHeight = h;
    FFormat = f == pfCustom ? pf32bit : f;
    FStride = static_cast<int>(stride);
    FPalette = palette.empty() ? DefaultPalette(FFormat) : std::move(palette);
    FLastIndex = -1;
    if (fill >= 0 && fill <= 0xFF) {
        FBits.assign(stride * h, static_cast<std::uint8_t>(fill));
        return;
    }
    // New pixels are white: every byte of a row holds the same pattern.
    std::uint8_t white = 0xFF;
    if (bpp == 16) white = 0;
    else if (bpp < 16) {
        const int i = PaletteIndexOf(0xFFFFFF);
        white = static_cast<std::uint8_t>(bpp == 8 ? i : bpp == 4 ? (i << 4) | i : (i ? 0xFF : 0));
    }
    FBits.assign(stride * h, white);
    if (bpp == 16 && w > 0 && h > 0) {
        // White in the format's two bytes, repeated over every pixel (the row padding stays 0).
        WritePixel(0, 0, 0xFFFFFF);
        for (int x = 1; x < w; ++x) std::memcpy(&FBits[2 * static_cast<std::size_t>(x)], &FBits[0], 2);
        for (int y = 1; y < h; ++y) std::memcpy(&FBits[static_cast<std::size_t>(y) * stride], &FBits[0], stride);
    }
}

std::uint32_t TBitmap::ReadPixel(int x, int y) const
{
    const std::uint8_t* row = FBits.data() + static_cast<std::size_t>(y) * FStride;
    auto pal = [this](int i) {
        return i >= 0 && i < static_cast<int>(FPalette.size()) ? PixelFromColor(FPalette[i]) : 0u;
    };
    switch (BitsPerPixel(FFormat)) {
    case 1: return pal((row[x >> 3] >> (7 - (x & 7))) & 1);
    case 4: return pal((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF);
    case 8: return pal(row[x]);
    case 16: {
        const unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
        unsigned r, g, b;
        if (FFormat == pf15bit) {
            r = (v >> 10) & 31; g = (v >> 5) & 31; b = v & 31;
            g = (g << 3) | (g >> 2);
        } else {
            r = (v >> 11) & 31; g = (v >> 5) & 63; b = v & 31;
            g = (g << 2) | (g >> 4);
        }
        r = (r << 3) | (r >> 2);
        b = (b << 3) | (b >> 2);
        return (r << 16) | (g << 8) | b;
    }
    case 24: return row[3 * x] | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16);
    default: return row[4 * x] | (row[4 * x + 1] << 8) | (row[4 * x + 2] << 16);
    }
}

int TBitmap::PaletteIndexOf(std::uint32_t c) const
{
    if (FLastIndex < 0 || FLastColour != c) {
        FLastIndex = Nearest(FPalette, c);
        FLastColour = c;
    }
    return FLastIndex;
}

void TBitmap::WriteIndex(int x, int y, int i)
{
    std::uint8_t* row = FBits.data() + static_cast<std::size_t>(y) * FStride;
    switch (BitsPerPixel(FFormat)) {
    case 1: {
        const std::uint8_t m = static_cast<std::uint8_t>(0x80 >> (x & 7));
        row[x >> 3] = (i & 1) ? (row[x >> 3] | m) : (row[x >> 3] & ~m);
        break;
    }
    case 4: {
        std::uint8_t& b = row[x >> 1];
        b = (x & 1) ? ((b & 0xF0) | (i & 0xF)) : ((b & 0x0F) | ((i & 0xF) << 4));
        break;
    }
    case 8: row[x] = static_cast<std::uint8_t>(i); break;
    default: break;
    }
}

void TBitmap::WritePixel(int x, int y, std::uint32_t c)
{
    std::uint8_t* row = FBits.data() + static_cast<std::size_t>(y) * FStride;
    switch (BitsPerPixel(FFormat)) {
    case 1:
    case 4:
    case 8: WriteIndex(x, y, PaletteIndexOf(c)); break;
    case 16: {
        const unsigned r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
        const unsigned v = FFormat == pf15bit ? ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3)
                                              : ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
        row[2 * x] = static_cast<std::uint8_t>(v);
        row[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
        break;
    }
    case 24:
        row[3 * x] = static_cast<std::uint8_t>(c);
        row[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
        row[3 * x + 2] = static_cast<std::uint8_t>(c >> 16);
        break;
    default:
        row[4 * x] = static_cast<std::uint8_t>(c);
        row[4 * x + 1] = static_cast<std::uint8_t>(c >> 8);
        row[4 * x + 2] = static_cast<std::uint8_t>(c >> 16);
        row[4 * x + 3] = 0xFF;
        break;
    }
}

void TBitmap::SetSize(int w, int h)
{
    w = std::max(0, w);
    h = std::max(0, h);
    if (w == FWidth && h == FHeight) return;
    TBitmap old;
    old.FWidth = FWidth;
    old.FHeight = FHeight;
    old.FFormat = FFormat;
    old.FStride = FStride;
    old.FPalette = FPalette;
    old.FBits.swap(FBits);
    Allocate(w, h, FFormat, FPalette);
    const int bpp = BitsPerPixel(FFormat), cw = std::min(w, old.FWidth);
    for (int y = 0; y < std::min(h, old.FHeight) && cw > 0; ++y) {
        if (bpp >= 8) {
            std::memcpy(FBits.data() + static_cast<std::size_t>(y) * FStride,
                        old.FBits.data() + static_cast<std::size_t>(y) * old.FStride, static_cast<std::size_t>(cw) * bpp / 8);
            continue;
        }
        for (int x = 0; x < cw; ++x) WritePixel(x, y, old.ReadPixel(x, y));
    }
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat f)
{
    if (f == pfCustom) f = pf32bit;
    if (f == FFormat) return;
    const TPixelBuffer px = ToPixels();
    Allocate(FWidth, FHeight, f, {});
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x) WritePixel(x, y, px.At(x, y));
    Changed();
}

void TBitmap::SetMonochrome(bool v)
{
    if (v == Monochrome()) return;
    if (!v) {
        SetPixelFormat(pf24bit);
        return;
    }
    const TPixelBuffer px = ToPixels();
    Allocate(FWidth, FHeight, pf1bit, {});
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x) {
            const std::uint32_t c = px.At(x, y);
            const int lum = (((c >> 16) & 0xFF) * 30 + ((c >> 8) & 0xFF) * 59 + (c & 0xFF) * 11) / 100;
            WritePixel(x, y, lum >= 128 ? 0xFFFFFF : 0);
        }
    Changed();
}

void TBitmap::SetPalette(std::vector<TColor> entries)
{
    const int bpp = BitsPerPixel(FFormat);
    if (bpp > 8) return;
    entries.resize(std::size_t(1) << bpp, clBlack);
    FPalette = std::move(entries);
    FLastIndex = -1;
    Changed();
}

std::uint8_t* TBitmap::ScanLine(int y)
{
    if (y < 0 || y >= FHeight) throw ERangeError();
    return FBits.data() + static_cast<std::size_t>(y) * FStride;
}

const std::uint8_t* TBitmap::ScanLine(int y) const
{
    if (y < 0 || y >= FHeight) throw ERangeError();
    return FBits.data() + static_cast<std::size_t>(y) * FStride;
}

TColor TBitmap::TransparentColor() const
{
    if (FTransparentMode == tmFixed) return FTransparentColor;
    if (Monochrome()) return clWhite;
    if (Empty()) return clWhite;
    return ColorFromPixel(ReadPixel(0, FHeight - 1));
}

void TBitmap::SetTransparentColor(TColor c)
{
    FTransparentColor = ColorToRGB(c) & 0xFFFFFF;
    FTransparentMode = tmFixed;
    Changed();
}

TColor TBitmap::PixelRGB(int x, int y) const
{
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return -1;
    return ColorFromPixel(ReadPixel(x, y));
}

void TBitmap::SetPixelRGB(int x, int y, TColor rgb)
{
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return;
    WritePixel(x, y, PixelFromColor(rgb));
}

TPixelBuffer TBitmap::ToPixels() const
{
    TPixelBuffer px;
    px.Width = FWidth;
    px.Height = FHeight;
    px.Pixels.resize(static_cast<std::size_t>(FWidth) * FHeight);
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x) px.At(x, y) = ReadPixel(x, y);
    return px;
}

void TBitmap::FromPixels(const TPixelBuffer& px)
{
    const TPixelFormat f = px.Alpha ? pf32bit : (FFormat == pf32bit ? pf32bit : pf24bit);
    Allocate(px.Width, px.Height, f, {});
    // Straight into the rows (blue, green, red and with 32 bits alpha, opaque unless the buffer has it):
    // a decoded picture may hold millions of pixels.
    const int bytes = f == pf32bit ? 4 : 3;
    for (int y = 0; y < FHeight; ++y) {
        std::uint8_t* row = FBits.data() + static_cast<std::size_t>(y) * FStride;
        const std::uint32_t* src = px.Pixels.data() + static_cast<std::size_t>(y) * px.Width;
        for (int x = 0; x < FWidth; ++x, row += bytes) {
            const std::uint32_t c = src[x];
            row[0] = static_cast<std::uint8_t>(c);
            row[1] = static_cast<std::uint8_t>(c >> 8);
            row[2] = static_cast<std::uint8_t>(c >> 16);
            if (bytes == 4) row[3] = px.Alpha ? static_cast<std::uint8_t>(c >> 24) : 0xFF;
        }
    }
    Changed();
}

void TBitmap::Assign(const TGraphic& source)
{
    if (&source == this) return;
    if (const auto* b = dynamic_cast<const TBitmap*>(&source)) {
        FWidth = b->FWidth;
        FHeight = b->FHeight;
        FFormat = b->FFormat;
        FStride = b->FStride;
        FBits = b->FBits;
        FPalette = b->FPalette;
        FLastIndex = -1;
        FIgnorePalette = b->FIgnorePalette;
        FTransparentColor = b->FTransparentColor;
        FTransparentMode = b->FTransparentMode;
        TGraphic::SetTransparent(b->Transparent());
        Changed();
        return;
    }
    // Any other graphic: its pixels, drawn as it would draw them.
    FromPixels(source.ToPixels());
    TGraphic::SetTransparent(source.Transparent());
}

std::unique_ptr<TGraphic> TBitmap::Clone() const
{
    auto b = std::make_unique<TBitmap>();
    b->Assign(*this);
    b->SetModified(false);
    return b;
}

// ---- the bitmap's canvas ----

// Draws into the bitmap: directly into 24- and 32-bit rows; other formats are converted to 32 bits
// around each command.
class TBitmapBackend : public TImageBackend {
public:
    explicit TBitmapBackend(TBitmap& b) : FBitmap(b) {}

    TDeviceCaps Caps() const override
    {
        TDeviceCaps c = TImageBackend::Caps();
        c.Width = FBitmap.Width();
        c.Height = FBitmap.Height();
        c.BitsPerPixel = BitsPerPixel(FBitmap.PixelFormat());
        return c;
    }
    void DrawShape(const TShapeCommand& cmd) override { Around([&] { TImageBackend::DrawShape(cmd); }); }
    void DrawText(const TTextCommand& cmd) override { Around([&] { TImageBackend::DrawText(cmd); }); }
    void DrawImage(const TImageCommand& cmd) override { Around([&] { TImageBackend::DrawImage(cmd); }); }
    bool CopyFrom(const TImageBackend& source, TPoint from, const TImageCommand& cmd) override
    {
        if (!MemoryHoldsPixels()) return false;
        bool done = false;
        Around([&] { done = TImageBackend::CopyFrom(source, from, cmd); });
        return done;
    }
    void SetPixel(int x, int y, TColor rgb, const TRegion* clip) override
    {
        if (x < 0 || y < 0 || x >= FBitmap.Width() || y >= FBitmap.Height()) return;
        if (clip && !clip->Contains(x, y)) return;
        FBitmap.WritePixel(x, y, PixelFromColor(rgb));
        FBitmap.Changed();
    }
    TColor GetPixel(int x, int y) const override { return FBitmap.PixelRGB(x, y); }
    bool ReadPixels(const TRect& r, TPixelBuffer& out) const override
    {
        // 24- and 32-bit bitmaps are the image memory itself.
        if (!FBitmap.Empty() && Direct(FBitmap.PixelFormat())) return TImageBackend::ReadPixels(r, out);
        out.Width = std::max(0, r.Width());
        out.Height = std::max(0, r.Height());
        out.Alpha = false;
        out.Pixels.assign(static_cast<std::size_t>(out.Width) * out.Height, 0xFFFFFF);
        for (int y = std::max(0, r.Top); y < std::min(r.Bottom, FBitmap.Height()); ++y)
            for (int x = std::max(0, r.Left); x < std::min(r.Right, FBitmap.Width()); ++x)
                out.At(x - r.Left, y - r.Top) = FBitmap.ReadPixel(x, y);
        return true;
    }

protected:
    TImageMemory Memory() const override
    {
        TImageMemory m;
        if (FBitmap.Empty()) return m;
        if (Direct(FBitmap.PixelFormat())) {
            m.Bits = FBitmap.FBits.data();
            m.BytesPerPixel = BitsPerPixel(FBitmap.PixelFormat()) / 8;
            m.Stride = FBitmap.FStride;
        } else {
            m.Bits = FWork.data();
            m.BytesPerPixel = 4;
            m.Stride = FBitmap.Width() * 4;
        }
        m.Width = FBitmap.Width();
        m.Height = FBitmap.Height();
        return m;
    }
    void PixelsChanged() override { FChanged = true; }
    bool MemoryHoldsPixels() const override { return !FBitmap.Empty() && Direct(FBitmap.PixelFormat()); }

private:
    template <class F>
    void Around(F&& draw)
    {
        FChanged = false;
        const bool convert = !FBitmap.Empty() && !Direct(FBitmap.PixelFormat());
        if (convert) {
            FWork.resize(static_cast<std::size_t>(FBitmap.Width()) * FBitmap.Height() * 4);
            for (int y = 0; y < FBitmap.Height(); ++y)
                for (int x = 0; x < FBitmap.Width(); ++x) {
                    const std::uint32_t c = FBitmap.ReadPixel(x, y);
                    std::uint8_t* p = FWork.data() + (static_cast<std::size_t>(y) * FBitmap.Width() + x) * 4;
                    p[0] = c & 0xFF; p[1] = (c >> 8) & 0xFF; p[2] = (c >> 16) & 0xFF; p[3] = 0xFF;
                }
        }
        draw();
        if (convert && FChanged)
            for (int y = 0; y < FBitmap.Height(); ++y)
                for (int x = 0; x < FBitmap.Width(); ++x) {
                    const std::uint8_t* p = FWork.data() + (static_cast<std::size_t>(y) * FBitmap.Width() + x) * 4;
                    FBitmap.WritePixel(x, y, p[0] | (p[1] << 8) | (p[2] << 16));
                }
        if (FChanged) FBitmap.Changed();
    }

    TBitmap& FBitmap;
    mutable std::vector<std::uint8_t> FWork;
    bool FChanged = false;
};

TCanvas& TBitmap::Canvas()
{
    if (!FCanvas) FCanvas = std::make_unique<TCanvas>(std::make_shared<TBitmapBackend>(*this));
    return *FCanvas;
}

// ---- TPicture ----

namespace {

struct TFormatEntry {
    std::string Description;
    TPicture::TGraphicFactory Factory;
};

// Module state of the picture unit: the file formats by lower-case extension.
struct TPictureFormats {
    std::map<std::string, TFormatEntry> ByExtension;
    TPictureFormats()
    {
        ByExtension["bmp"] = {"Bitmaps", [] { return std::make_unique<TBitmap>(); }};
        ByExtension["png"] = {"Portable Network Graphics", [] { return std::make_unique<TPngImage>(); }};
        ByExtension["jpg"] = {"JPEG Image File", [] { return std::make_unique<TJPEGImage>(); }};
        ByExtension["jpeg"] = ByExtension["jpg"];
    }
};
TPictureFormats& Formats()
{
    static TPictureFormats f;
    return f;
}

std::string ExtensionKey(std::string ext)
{
    if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

std::string FileExtension(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    return path.substr(dot + 1);
}

}  // namespace

void TPicture::RegisterFileFormat(const std::string& extension, const std::string& description, TGraphicFactory factory)
{
    Formats().ByExtension[ExtensionKey(extension)] = {description, std::move(factory)};
}

void TPicture::UnregisterFileFormat(const std::string& extension) { Formats().ByExtension.erase(ExtensionKey(extension)); }

std::unique_ptr<TGraphic> TPicture::GraphicForExtension(const std::string& extension)
{
    auto& m = Formats().ByExtension;
    auto it = m.find(ExtensionKey(extension));
    return it == m.end() || !it->second.Factory ? nullptr : it->second.Factory();
}

std::unique_ptr<TGraphic> TPicture::GraphicForClassName(const std::string& className)
{
    if (className == "TMetafile") return std::make_unique<TMetafile>();
    for (const auto& [extension, entry] : Formats().ByExtension) {
        if (!entry.Factory) continue;
        std::unique_ptr<TGraphic> g = entry.Factory();
        if (g && g->ClassName() == className) return g;
    }
    return nullptr;
}

const TClassInfo& TPicture::StaticClassInfo()
{
    using P = TProps<TPicture>;
    static const TClassInfo info({
        .Name = "TPicture",
        .Parent = &TPersistent::StaticClassInfo(),
        .Defined = {P::DefinedBinary("Data", &TPicture::ReadData, &TPicture::WriteData,
                                     [](const TPicture& p) { return p.Graphic() && !p.Graphic()->Empty(); })},
    });
    return info;
}

void TPicture::WriteData(TStream& Stream) const
{
    if (!FGraphic) return;
    const std::string className = FGraphic->ClassName();
    Stream.WriteByte(static_cast<std::uint8_t>(className.size()));
    Stream.WriteBytes(className);
    FGraphic->SaveToStream(Stream);
}

void TPicture::ReadData(TStream& Stream)
{
    const std::string className = Stream.ReadBytes(Stream.ReadByte());
    std::unique_ptr<TGraphic> g = GraphicForClassName(className);
    if (!g) throw EInvalidGraphic("Unknown picture format " + className);
    try {
        g->LoadFromStream(Stream);
    } catch (const EInvalidGraphic&) {
        if (!dynamic_cast<TMetafile*>(g.get())) throw;
        g = std::make_unique<TMetafile>();
    }
    g->SetModified(false);
    Take(std::move(g));
}

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Take(std::unique_ptr<TGraphic> g)
{
    FGraphic = std::move(g);
    if (FGraphic) FGraphic->OnChange = [this](TGraphic*) { GraphicChanged(); };
    GraphicChanged();
}

void TPicture::GraphicChanged()
{
    if (OnChange) OnChange(this);
}

void TPicture::SetGraphic(const TGraphic* g)
{
    Take(g ? g->Clone() : nullptr);
}

TBitmap& TPicture::Bitmap()
{
    if (auto* b = dynamic_cast<TBitmap*>(FGraphic.get())) return *b;
    Take(std::make_unique<TBitmap>());
    return static_cast<TBitmap&>(*FGraphic);
}

int TPicture::Width() const { return FGraphic ? FGraphic->Width() : 0; }
int TPicture::Height() const { return FGraphic ? FGraphic->Height() : 0; }

void TPicture::Assign(const TPicture& source)
{
    if (&source == this) return;
    SetGraphic(source.Graphic());
}

void TPicture::LoadFromFile(const std::string& path)
{
    const std::string ext = FileExtension(path);
    std::unique_ptr<TGraphic> g = GraphicForExtension(ext);
    if (!g) throw EInvalidGraphic("Unknown picture file extension (." + ext + ")");
    g->LoadFromFile(path);
    g->SetModified(false);
    Take(std::move(g));
}

void TPicture::SaveToFile(const std::string& path) const
{
    if (FGraphic) FGraphic->SaveToFile(path);
}
