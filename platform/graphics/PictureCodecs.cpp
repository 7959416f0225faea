// PNG pictures through libpng and JPEG pictures through libjpeg. Both libraries report errors by a long
// jump; the code between the jump target and the library calls creates no C++ object that a jump could
// skip, and every failure becomes EInvalidGraphic.

#include "platform/graphics/Bitmap.h"

#include "platform/graphics/Canvas.h"
#include "platform/graphics/Icon.h"

#include <png.h>
#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>

namespace {

constexpr int MaxPictureSide = 1 << 15;
constexpr long long MaxPicturePixels = 1LL << 25;

bool SizeAllowed(long long w, long long h) { return w > 0 && h > 0 && w <= MaxPictureSide && h <= MaxPictureSide && w * h <= MaxPicturePixels; }

}  // namespace

// ---- PNG ----

TPngImage::TPngImage() : FBitmap(std::make_unique<TBitmap>(0, 0, pf32bit))
{
    FBitmap->OnChange = [this](TGraphic*) { Changed(); };
}

TPngImage::~TPngImage() = default;

void TPngImage::CreateBlank(int colorType, int bitDepth, int width, int height)
{
    FColorType = colorType == COLOR_RGBALPHA ? COLOR_RGBALPHA : COLOR_RGB;
    FBitDepth = bitDepth == 16 ? 16 : 8;
    FBitmap->SetPixelFormat(pf32bit);
    FBitmap->SetSize(width, height);
}

int TPngImage::Width() const { return FBitmap->Width(); }
int TPngImage::Height() const { return FBitmap->Height(); }
void TPngImage::SetWidth(int w) { FBitmap->SetWidth(w); }
void TPngImage::SetHeight(int h) { FBitmap->SetHeight(h); }
bool TPngImage::Empty() const { return FBitmap->Empty(); }
TCanvas& TPngImage::Canvas() { return FBitmap->Canvas(); }

void TPngImage::LoadFromBytes(const std::uint8_t* data, std::size_t size)
{
    if (!data || size < 8 || !PngChunksWhole(data, size)) throw EInvalidGraphic("Invalid PNG image");
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) throw EInvalidGraphic("Invalid PNG image");
    if (!SizeAllowed(image.width, image.height)) {
        png_image_free(&image);
        throw EInvalidGraphic("Invalid PNG image");
    }
    const bool alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = PNG_FORMAT_BGRA;
    std::vector<std::uint8_t> buffer(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, buffer.data(), 0, nullptr)) {
        png_image_free(&image);
        throw EInvalidGraphic("Invalid PNG image");
    }
    TPixelBuffer px;
    px.Width = static_cast<int>(image.width);
    px.Height = static_cast<int>(image.height);
    px.Alpha = alpha;
    px.Pixels.resize(static_cast<std::size_t>(px.Width) * px.Height);
    for (std::size_t i = 0; i < px.Pixels.size(); ++i) {
        const std::uint8_t* p = buffer.data() + 4 * i;
        px.Pixels[i] = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(alpha ? p[3] : 0xFF) << 24);
    }
    FColorType = alpha ? COLOR_RGBALPHA : COLOR_RGB;
    FBitDepth = 8;
    FBitmap->FromPixels(px);
}

namespace {

struct TPngWriteState {
    std::vector<std::uint8_t>* Out;
};

void PngWrite(png_structp png, png_bytep data, png_size_t length)
{
    auto* st = static_cast<TPngWriteState*>(png_get_io_ptr(png));
    st->Out->insert(st->Out->end(), data, data + length);
}
void PngFlush(png_structp) {}

// Writes rows through libpng; false on a library error. Rows are prepared by the caller.
bool WritePng(std::vector<std::uint8_t>& out, int w, int h, int colorType, int depth, std::vector<png_bytep>& rows)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    TPngWriteState st{&out};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &st, PngWrite, PngFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), depth,
                 colorType == TPngImage::COLOR_RGBALPHA ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Without a colour-space chunk, readers take 16-bit samples as linear light and brighten them; ours
    // are the screen's sRGB values.
    if (depth == 16) png_set_sRGB_gAMA_and_cHRM(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

void TPngImage::SaveToBytes(std::vector<std::uint8_t>& out) const
{
    if (Empty()) throw EInvalidGraphicOperation("Cannot save an empty PNG image");
    const int w = Width(), h = Height();
    const bool alpha = FColorType == COLOR_RGBALPHA;
    const int channels = alpha ? 4 : 3, bytes = FBitDepth == 16 ? 2 : 1;
    const std::size_t rowBytes = static_cast<std::size_t>(w) * channels * bytes;
    std::vector<std::uint8_t> pixels(rowBytes * h);
    const TPixelBuffer px = FBitmap->ToPixels();
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* alphaRow = FBitmap->PixelFormat() == pf32bit ? FBitmap->ScanLine(y) : nullptr;
        std::uint8_t* d = pixels.data() + rowBytes * y;
        for (int x = 0; x < w; ++x) {
            const std::uint32_t c = px.At(x, y);
            const std::uint8_t v[4] = {static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                                       static_cast<std::uint8_t>(c), alphaRow ? alphaRow[4 * x + 3] : std::uint8_t(0xFF)};
            for (int k = 0; k < channels; ++k)
                for (int b = 0; b < bytes; ++b) *d++ = v[k];   // 16-bit samples repeat the byte (v * 257)
        }
    }
    std::vector<png_bytep> rows(h);
    for (int y = 0; y < h; ++y) rows[y] = pixels.data() + rowBytes * y;
    out.clear();
    if (!WritePng(out, w, h, FColorType, FBitDepth * 1, rows)) throw EInvalidGraphic("PNG image could not be written");
}

void TPngImage::Assign(const TGraphic& source)
{
    if (&source == this) return;
    if (const auto* p = dynamic_cast<const TPngImage*>(&source)) {
        FColorType = p->FColorType;
        FBitDepth = p->FBitDepth;
        FBitmap->Assign(*p->FBitmap);
        return;
    }
    FBitmap->SetPixelFormat(pf32bit);
    FBitmap->FromPixels(source.ToPixels());
}

std::unique_ptr<TGraphic> TPngImage::Clone() const
{
    auto p = std::make_unique<TPngImage>();
    p->Assign(*this);
    p->SetModified(false);
    return p;
}

TPixelBuffer TPngImage::ToPixels() const
{
    TPixelBuffer px = FBitmap->ToPixels();
    if (FColorType == COLOR_RGBALPHA && FBitmap->PixelFormat() == pf32bit) {
        px.Alpha = true;
        for (int y = 0; y < px.Height; ++y) {
            const std::uint8_t* row = FBitmap->ScanLine(y);
            for (int x = 0; x < px.Width; ++x) px.At(x, y) = (px.At(x, y) & 0xFFFFFF) | (std::uint32_t(row[4 * x + 3]) << 24);
        }
    }
    return px;
}

// ---- JPEG ----

namespace {

struct TJpegError {
    jpeg_error_mgr Mgr;
    std::jmp_buf Jump;
};

void JpegErrorExit(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<TJpegError*>(cinfo->err)->Jump, 1);
}
void JpegSilence(j_common_ptr, int) {}

// Decodes into pixels (0x00RRGGBB); false on any error or a size beyond the limits.
bool DecodeJpeg(const std::uint8_t* data, std::size_t size, std::vector<std::uint32_t>& pixels, int& w, int& h)
{
    if (!JpegSizeBacked(data, size)) return false;
    jpeg_decompress_struct cinfo;
    TJpegError err;
    std::vector<std::uint8_t> row;   // constructed before the jump target
    cinfo.err = jpeg_std_error(&err.Mgr);
    err.Mgr.error_exit = JpegErrorExit;
    err.Mgr.emit_message = JpegSilence;
    if (setjmp(err.Jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    if (!SizeAllowed(cinfo.image_width, cinfo.image_height)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    w = static_cast<int>(cinfo.output_width);
    h = static_cast<int>(cinfo.output_height);
    if (cinfo.output_components != 3 || !SizeAllowed(w, h)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    row.resize(static_cast<std::size_t>(w) * 3);
    pixels.assign(static_cast<std::size_t>(w) * h, 0);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW r = row.data();
        const int y = static_cast<int>(cinfo.output_scanline);
        jpeg_read_scanlines(&cinfo, &r, 1);
        for (int x = 0; x < w; ++x)
            pixels[static_cast<std::size_t>(y) * w + x] = (row[3 * x] << 16) | (row[3 * x + 1] << 8) | row[3 * x + 2];
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

bool EncodeJpeg(const TPixelBuffer& px, int quality, bool gray, std::vector<std::uint8_t>& out)
{
    jpeg_compress_struct cinfo;
    TJpegError err;
    std::vector<std::uint8_t> row(static_cast<std::size_t>(px.Width) * 3);
    unsigned char* mem = nullptr;
    unsigned long memSize = 0;
    cinfo.err = jpeg_std_error(&err.Mgr);
    err.Mgr.error_exit = JpegErrorExit;
    err.Mgr.emit_message = JpegSilence;
    if (setjmp(err.Jump)) {
        jpeg_destroy_compress(&cinfo);
        std::free(mem);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &mem, &memSize);
    cinfo.image_width = static_cast<JDIMENSION>(px.Width);
    cinfo.image_height = static_cast<JDIMENSION>(px.Height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    if (gray) jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < px.Width; ++x) {
            const std::uint32_t c = px.At(x, y);
            row[3 * x] = static_cast<std::uint8_t>(c >> 16);
            row[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
            row[3 * x + 2] = static_cast<std::uint8_t>(c);
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&cinfo, &r, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    out.assign(mem, mem + memSize);
    std::free(mem);
    return true;
}

}  // namespace

TJPEGImage::TJPEGImage() : FBitmap(std::make_unique<TBitmap>(0, 0, pf24bit))
{
    FBitmap->OnChange = [this](TGraphic*) { Changed(); };
}

TJPEGImage::~TJPEGImage() = default;

int TJPEGImage::Width() const { return FBitmap->Width(); }
int TJPEGImage::Height() const { return FBitmap->Height(); }
void TJPEGImage::SetWidth(int w) { FBitmap->SetWidth(w); }
void TJPEGImage::SetHeight(int h) { FBitmap->SetHeight(h); }
bool TJPEGImage::Empty() const { return FBitmap->Empty(); }

void TJPEGImage::LoadFromBytes(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::uint32_t> pixels;
    int w = 0, h = 0;
    if (!data || size < 4 || !DecodeJpeg(data, size, pixels, w, h)) throw EInvalidGraphic("JPEG image is not valid");
    TPixelBuffer px;
    px.Width = w;
    px.Height = h;
    px.Pixels = std::move(pixels);
    FBitmap->FromPixels(px);
}

void TJPEGImage::SaveToBytes(std::vector<std::uint8_t>& out) const
{
    if (Empty()) throw EInvalidGraphicOperation("Cannot save an empty JPEG image");
    if (!EncodeJpeg(FBitmap->ToPixels(), FQuality, FGrayscale, out)) throw EInvalidGraphic("JPEG image could not be written");
}

void TJPEGImage::Assign(const TGraphic& source)
{
    if (&source == this) return;
    if (const auto* j = dynamic_cast<const TJPEGImage*>(&source)) {
        FQuality = j->FQuality;
        FGrayscale = j->FGrayscale;
        FBitmap->Assign(*j->FBitmap);
        return;
    }
    FBitmap->SetPixelFormat(pf24bit);
    FBitmap->FromPixels(source.ToPixels());
}

std::unique_ptr<TGraphic> TJPEGImage::Clone() const
{
    auto j = std::make_unique<TJPEGImage>();
    j->Assign(*this);
    j->SetModified(false);
    return j;
}

TPixelBuffer TJPEGImage::ToPixels() const { return FBitmap->ToPixels(); }
