// TCustomImageList: a list of pictures of one size that a control draws by index, enabled or greyed
// out (disabled), with a transparent colour or each picture's own alpha. Qt-free.
#pragma once

#include "platform/graphics/Bitmap.h"
#include "platform/rtl/Classes.h"

#include <vector>

class TCanvas;

class TCustomImageList : public TComponent {
    VSP_PERSISTENT_CLASS
public:
    explicit TCustomImageList(TComponent* AOwner);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Changing the size empties the list.
    void SetSize(int AWidth, int AHeight);
    int Count() const { return static_cast<int>(FImages.size()); }
    // Cuts the picture into images of the list's size, left to right; returns the index of the first.
    // A list without a size takes the picture's height as both sides.
    int Add(const TGraphic& Image);
    // As Add, with MaskColor transparent.
    int AddMasked(const TBitmap& Image, TColor MaskColor);
    void Delete(int Index);
    void Clear();
    // Draws image Index with its top-left at (X, Y); a disabled image shows in soft greys. Nothing for
    // an index outside the list.
    void Draw(TCanvas& Canvas, int X, int Y, int Index, bool Enabled = true) const;
    // The image's pixels (alpha 0 where transparent); empty outside the list.
    TPixelBuffer Image(int Index) const;

private:
    void Append(const TPixelBuffer& px, TColor transparent);
    int FWidth = 16, FHeight = 16;
    std::vector<TPixelBuffer> FImages;
};
