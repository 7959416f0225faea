// Pictures: TGraphic (any picture that a canvas can draw), TBitmap (pixels in one of the class library's
// pixel formats, scan lines, its own canvas, transparency), TPngImage and TJPEGImage (the PNG and JPEG
// codecs), and TPicture (holds one graphic, loads by file extension, reports changes). Qt-free.
#pragma once

#include "platform/graphics/CanvasBackend.h"
#include "platform/graphics/GraphicsTypes.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

class TCanvas;
class TStream;

// A picture that cannot be read, or an operation a picture cannot do.
VSP_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
VSP_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);

// A bitmap's row bytes. A block made with a size comes zeroed from the system, so a large picture that
// starts at 0 costs no pass over its memory; assign fills with any other byte.
class TPixelRows {
public:
    TPixelRows() = default;
    explicit TPixelRows(std::size_t size) : FData(Zeroed(size)), FSize(size) {}
    TPixelRows(const TPixelRows& other) : TPixelRows(other.FSize)
    {
        if (FSize) std::memcpy(FData.get(), other.FData.get(), FSize);
    }
    TPixelRows& operator=(const TPixelRows& other)
    {
        if (this != &other) TPixelRows(other).swap(*this);
        return *this;
    }
    TPixelRows(TPixelRows&&) noexcept = default;
    TPixelRows& operator=(TPixelRows&&) noexcept = default;

    void assign(std::size_t size, std::uint8_t value)
    {
        TPixelRows(size).swap(*this);
        if (value && FSize) std::memset(FData.get(), value, FSize);
    }
    std::uint8_t* data() { return FData.get(); }
    const std::uint8_t* data() const { return FData.get(); }
    std::size_t size() const { return FSize; }
    std::uint8_t& operator[](std::size_t i) { return FData[i]; }
    const std::uint8_t& operator[](std::size_t i) const { return FData[i]; }
    void swap(TPixelRows& other) noexcept
    {
        FData.swap(other.FData);
        std::swap(FSize, other.FSize);
    }

private:
    struct TFree {
        void operator()(std::uint8_t* p) const noexcept { std::free(p); }
    };
    static std::uint8_t* Zeroed(std::size_t size)
    {
        if (size == 0) return nullptr;
        if (void* p = std::calloc(size, 1)) return static_cast<std::uint8_t*>(p);
        throw std::bad_alloc();
    }
    std::unique_ptr<std::uint8_t[], TFree> FData;
    std::size_t FSize = 0;
};

class TGraphic {
public:
    TGraphic() = default;
    TGraphic(const TGraphic&) = delete;
    TGraphic& operator=(const TGraphic&) = delete;
    virtual ~TGraphic() = default;

    virtual const char* ClassName() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int w) = 0;
    virtual void SetHeight(int h) = 0;
    virtual bool Empty() const = 0;
    bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool v);

    // Reading raises EInvalidGraphic for data the format cannot read; the graphic is then unchanged.
    virtual void LoadFromBytes(const std::uint8_t* data, std::size_t size) = 0;
    virtual void SaveToBytes(std::vector<std::uint8_t>& out) const = 0;
    // Streams: from the position to the end, and written at the position.
    void LoadFromStream(TStream& s);
    void SaveToStream(TStream& s) const;
    // Files hold exactly the bytes above; a file that cannot be opened raises EFOpenError, one that
    // cannot be written EFCreateError (an existing file then stays whole).
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;

    // Copies another graphic's picture (a bitmap takes any graphic's pixels); raises
    // EInvalidGraphicOperation when it cannot.
    virtual void Assign(const TGraphic& source) = 0;
    // A new graphic of the same class with the same picture.
    virtual std::unique_ptr<TGraphic> Clone() const = 0;
    // The picture as pixels (transparent pixels keep their colour); empty for an empty graphic.
    virtual TPixelBuffer ToPixels() const = 0;
    // The colour that a transparent graphic leaves out; -1 when none.
    virtual TColor TransparentRGB() const { return -1; }

    std::function<void(TGraphic* Sender)> OnChange;
    bool Modified() const { return FModified; }
    void SetModified(bool v) { FModified = v; }

protected:
    void Changed();                      // sets Modified and fires OnChange

private:
    bool FTransparent = false;
    bool FModified = false;
};

// A bitmap: rows of pixels in one of the pixel formats (pfDevice is 32-bit), each row padded to four
// bytes as in a device-independent bitmap, scan line 0 at the top. 1-, 4- and 8-bit bitmaps have a
// palette (1-bit: black and white); 15- and 16-bit pixels are 5-5-5 and 5-6-5; 24-bit pixels are blue,
// green, red bytes; 32-bit pixels are blue, green, red and a fourth byte. A bitmap draws on itself
// through Canvas(), which lives as long as the bitmap.
class TBitmap : public TGraphic {
public:
    TBitmap();
    TBitmap(int width, int height, TPixelFormat format = pf24bit);
    ~TBitmap() override;

    const char* ClassName() const override { return "TBitmap"; }
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    void SetWidth(int w) override { SetSize(w, FHeight); }
    void SetHeight(int h) override { SetSize(FWidth, h); }
    // Keeps the pixels of the common part; new pixels are white. Negative sizes count as 0.
    void SetSize(int w, int h);
    bool Empty() const override { return FWidth == 0 || FHeight == 0; }

    TPixelFormat PixelFormat() const { return FFormat; }
    // Converts the pixels to the new format (colours to the nearest palette entry when it has one).
    void SetPixelFormat(TPixelFormat f);
    bool Monochrome() const { return FFormat == pf1bit; }
    // On: 1-bit (pixels lighter than mid-grey become white, the others black). Off: back to 24-bit.
    void SetMonochrome(bool v);
    const std::vector<TColor>& Palette() const { return FPalette; }
    void SetPalette(std::vector<TColor> entries);       // for 1-, 4- and 8-bit bitmaps
    bool IgnorePalette() const { return FIgnorePalette; }
    void SetIgnorePalette(bool v) { FIgnorePalette = v; }

    // Row y (0 = top) in the pixel format; raises ERangeError outside 0..Height-1. Writing through it
    // changes the picture (call Changed() yourself when someone must hear of it).
    std::uint8_t* ScanLine(int y);
    const std::uint8_t* ScanLine(int y) const;
    int BytesPerScanLine() const { return FStride; }

    TCanvas& Canvas();

    // The transparent colour: in tmAuto the bottom-left pixel's colour (white for a 1-bit bitmap), in
    // tmFixed the colour set.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor c);              // switches to tmFixed
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode m) { FTransparentMode = m; }
    TColor TransparentRGB() const override { return Transparent() ? TransparentColor() : -1; }

    // One pixel as RGB (0x00BBGGRR); outside the bitmap -1 / nothing.
    TColor PixelRGB(int x, int y) const;
    void SetPixelRGB(int x, int y, TColor rgb);

    void LoadFromBytes(const std::uint8_t* data, std::size_t size) override;     // BMP
    void SaveToBytes(std::vector<std::uint8_t>& out) const override;             // BMP
    void Assign(const TGraphic& source) override;
    std::unique_ptr<TGraphic> Clone() const override;
    TPixelBuffer ToPixels() const override;
    // Replaces the picture by pixels (format 32-bit when they carry alpha, else keeps a 24- or 32-bit
    // format and goes to 24-bit from any other).
    void FromPixels(const TPixelBuffer& px);
    // Tells OnChange listeners that the pixels changed (drawing on the canvas does so too).
    void NotifyChanged() { Changed(); }

private:
    friend class TBitmapBackend;
    // New pixels are white, or every byte of the rows is `fill` when it is 0..255.
    void Allocate(int w, int h, TPixelFormat f, std::vector<TColor> palette, int fill = -1);
    std::uint32_t ReadPixel(int x, int y) const;
    void WritePixel(int x, int y, std::uint32_t rgb);
    void WriteIndex(int x, int y, int index);           // 1-, 4- and 8-bit bitmaps
    int PaletteIndexOf(std::uint32_t rgb) const;        // the nearest entry, remembered for runs

    int FWidth = 0, FHeight = 0;
    TPixelFormat FFormat = pf24bit;
    int FStride = 0;
    TPixelRows FBits;
    std::vector<TColor> FPalette;
    mutable std::uint32_t FLastColour = 0xFFFFFFFF;     // the last colour matched to the palette
    mutable int FLastIndex = -1;
    bool FIgnorePalette = false;
    TColor FTransparentColor = 0;
    TTransparentMode FTransparentMode = tmAuto;
    std::unique_ptr<TCanvas> FCanvas;
};

// A PNG picture: a 32-bit bitmap with alpha, read and written through libpng. The colour type and bit
// depth chosen by CreateBlank (or read from a file) are kept for writing.
class TPngImage : public TGraphic {
public:
    enum { COLOR_GRAYSCALE = 0, COLOR_RGB = 2, COLOR_PALETTE = 3, COLOR_GRAYSCALEALPHA = 4, COLOR_RGBALPHA = 6 };
    TPngImage();
    ~TPngImage() override;
    // A white picture of the size; colorType COLOR_RGB or COLOR_RGBALPHA (others write as RGB),
    // bitDepth 8 or 16.
    void CreateBlank(int colorType, int bitDepth, int width, int height);

    const char* ClassName() const override { return "TPngImage"; }
    int Width() const override;
    int Height() const override;
    void SetWidth(int w) override;
    void SetHeight(int h) override;
    bool Empty() const override;
    TCanvas& Canvas();
    TBitmap& Bitmap() { return *FBitmap; }
    int ColorType() const { return FColorType; }
    int BitDepth() const { return FBitDepth; }

    void LoadFromBytes(const std::uint8_t* data, std::size_t size) override;
    void SaveToBytes(std::vector<std::uint8_t>& out) const override;
    void Assign(const TGraphic& source) override;
    std::unique_ptr<TGraphic> Clone() const override;
    TPixelBuffer ToPixels() const override;

private:
    std::unique_ptr<TBitmap> FBitmap;
    int FColorType = COLOR_RGB;
    int FBitDepth = 8;
};

// A JPEG picture: a 24-bit bitmap read and written through libjpeg.
class TJPEGImage : public TGraphic {
public:
    TJPEGImage();
    ~TJPEGImage() override;
    const char* ClassName() const override { return "TJPEGImage"; }
    int Width() const override;
    int Height() const override;
    void SetWidth(int w) override;
    void SetHeight(int h) override;
    bool Empty() const override;
    int CompressionQuality() const { return FQuality; }
    void SetCompressionQuality(int q) { FQuality = q < 1 ? 1 : (q > 100 ? 100 : q); }
    bool Grayscale() const { return FGrayscale; }
    void SetGrayscale(bool v) { FGrayscale = v; }
    TBitmap& Bitmap() { return *FBitmap; }

    void LoadFromBytes(const std::uint8_t* data, std::size_t size) override;
    void SaveToBytes(std::vector<std::uint8_t>& out) const override;
    void Assign(const TGraphic& source) override;
    std::unique_ptr<TGraphic> Clone() const override;
    TPixelBuffer ToPixels() const override;

private:
    std::unique_ptr<TBitmap> FBitmap;
    int FQuality = 90;
    bool FGrayscale = false;
};

// Holds at most one graphic (owned). Every change of the picture or of its graphic fires OnChange.
// A holder of any graphic. Streams keep it as the binary property "Data": the graphic's class name (a
// length byte and the text), then the graphic's bytes.
class TPicture : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    TPicture();
    ~TPicture();
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;
    using TPersistent::Assign;

    TGraphic* Graphic() const { return FGraphic.get(); }
    // A copy of g (none: the picture becomes empty).
    void SetGraphic(const TGraphic* g);
    // The graphic as a bitmap: when it holds another kind (or nothing) it is replaced by an empty bitmap.
    TBitmap& Bitmap();
    bool HasGraphic() const { return FGraphic != nullptr; }
    int Width() const;
    int Height() const;

    void Assign(const TPicture& source);
    void Clear() { SetGraphic(nullptr); }

    // Loads by the file's extension (case-insensitive: bmp, png, jpg, jpeg and what is registered);
    // raises EInvalidGraphic "Unknown picture file extension (.ext)" for others. The picture keeps its
    // graphic when loading fails.
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;

    std::function<void(TPicture* Sender)> OnChange;

    // The graphic class that reads a file extension (without the dot).
    using TGraphicFactory = std::function<std::unique_ptr<TGraphic>()>;
    static void RegisterFileFormat(const std::string& extension, const std::string& description,
                                   TGraphicFactory factory);
    static void UnregisterFileFormat(const std::string& extension);
    // A new graphic for the extension (with or without the dot), or none.
    static std::unique_ptr<TGraphic> GraphicForExtension(const std::string& extension);
    // A new graphic of a class that a registered format (or the metafile) makes, or none.
    static std::unique_ptr<TGraphic> GraphicForClassName(const std::string& className);

    // The "Data" block, and back. Reading raises EInvalidGraphic for a class no format makes and for
    // bytes the class cannot read, leaving the picture as it was; a metafile's damaged bytes leave the
    // picture empty instead, so that what holds it still loads.
    void WriteData(TStream& Stream) const;
    void ReadData(TStream& Stream);

private:
    void Take(std::unique_ptr<TGraphic> g);
    void GraphicChanged();

    std::unique_ptr<TGraphic> FGraphic;
};
