// TIcon: a picture read from and written as an icon file (.ico), kept as 32-bit pixels with alpha, and
// TAnimatedImage's frame helpers for GIF pictures. Both decode through the platform's image reader.
// Qt-free.
#pragma once

#include "platform/graphics/Bitmap.h"

class TIcon : public TGraphic {
public:
    TIcon();
    ~TIcon() override;
    const char* ClassName() const override { return "TIcon"; }
    int Width() const override;
    int Height() const override;
    // An icon keeps its size; the writers change nothing.
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    bool Empty() const override;

    // Reads the largest image of an icon file; EInvalidGraphic for anything else.
    void LoadFromBytes(const std::uint8_t* data, std::size_t size) override;
    // One 32-bit image with its mask, as an icon file.
    void SaveToBytes(std::vector<std::uint8_t>& out) const override;
    // Takes another icon's picture, or any graphic's pixels.
    void Assign(const TGraphic& source) override;
    std::unique_ptr<TGraphic> Clone() const override;
    TPixelBuffer ToPixels() const override;
    // Replaces the picture by pixels (alpha kept when they carry it).
    void SetPixels(const TPixelBuffer& px);

private:
    TPixelBuffer FPixels;
};

// Decodes the first image of picture bytes of any format the platform's reader knows (GIF, ICO, BMP,
// PNG, JPEG); false when it cannot. A GIF decodes to its logical screen (what of its first frame lies
// beyond is left out), only when no side of the screen is 0, so that the picture is never larger than the
// size checked; a PNG only when no chunk claims more bytes than follow it; a JPEG only when its bytes can
// hold the size it claims.
bool DecodePictureBytes(const std::uint8_t* data, std::size_t size, TPixelBuffer& out);

// False for a PNG with a chunk that claims more bytes than follow it (true for anything else). Readers skip
// such a chunk by its stated length even when the file ends first, at a cost that grows with that length
// (seconds and gigabytes for a few hundred bytes); such a file never decodes anyway.
bool PngChunksWhole(const std::uint8_t* data, std::size_t size);

// False for a Huffman-coded JPEG whose claimed size needs more coded data than follows its first scan's
// header (at least one bit for every 8 x 8 block of the sharpest component); true for anything else.
// Readers decode such a file to its full claimed size, filling what is missing (seconds and hundreds of
// megabytes for a few hundred bytes).
bool JpegSizeBacked(const std::uint8_t* data, std::size_t size);

// A GIF file as far as its first image: the logical screen, where the header with its global colour
// table ends, and the first image descriptor (a 0x2C byte; 0 when the blocks end or break before one).
struct TGifLayout {
    int ScreenWidth = 0;
    int ScreenHeight = 0;
    std::size_t HeaderEnd = 0;
    std::size_t FirstImage = 0;
};
// False when the bytes are no GIF or end inside the header.
bool ReadGifLayout(const std::uint8_t* data, std::size_t size, TGifLayout& out);
// The rectangle of the image descriptor at byte `at` on the logical screen; empty when it is cut off.
TRect GifFrameRect(const std::uint8_t* data, std::size_t size, std::size_t at);
