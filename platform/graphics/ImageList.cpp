// Image lists: pictures cut to the list's size and kept as pixels with alpha; greyed drawing for
// disabled images.
#include "platform/graphics/ImageList.h"

#include "platform/graphics/Canvas.h"
#include "platform/graphics/Icon.h"

const TClassInfo& TCustomImageList::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TCustomImageList", .Parent = &TComponent::StaticClassInfo(),
                                  .Create = &CreateComponentOf<TCustomImageList>});
    return info;
}

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

void TCustomImageList::SetSize(int AWidth, int AHeight)
{
    FWidth = std::max(1, AWidth);
    FHeight = std::max(1, AHeight);
    FImages.clear();
}

void TCustomImageList::Append(const TPixelBuffer& px, TColor transparent)
{
    if (px.Width <= 0 || px.Height <= 0) return;
    if (FImages.empty() && FWidth <= 0) FWidth = FHeight = px.Height;
    for (int left = 0; left + FWidth <= std::max(px.Width, FWidth); left += FWidth) {
        TPixelBuffer img;
        img.Width = FWidth;
        img.Height = FHeight;
        img.Alpha = true;
        img.Pixels.assign(static_cast<std::size_t>(FWidth) * FHeight, 0);
        for (int y = 0; y < FHeight && y < px.Height; ++y)
            for (int x = 0; x < FWidth && left + x < px.Width; ++x) {
                const std::uint32_t c = px.At(left + x, y);
                const std::uint32_t a = px.Alpha ? c >> 24 : 0xFF;
                img.At(x, y) = transparent != -1 && (c & 0xFFFFFF) == static_cast<std::uint32_t>(transparent) ? 0 : ((c & 0xFFFFFF) | a << 24);
            }
        FImages.push_back(std::move(img));
        if (left + FWidth >= px.Width) break;
    }
}

int TCustomImageList::Add(const TGraphic& Image)
{
    const int first = Count();
    Append(Image.ToPixels(), Image.TransparentRGB());
    return first;
}

int TCustomImageList::AddMasked(const TBitmap& Image, TColor MaskColor)
{
    const int first = Count();
    Append(Image.ToPixels(), ColorToRGB(MaskColor));
    return first;
}

void TCustomImageList::Delete(int Index)
{
    if (Index >= 0 && Index < Count()) FImages.erase(FImages.begin() + Index);
}

void TCustomImageList::Clear() { FImages.clear(); }

TPixelBuffer TCustomImageList::Image(int Index) const { return Index >= 0 && Index < Count() ? FImages[static_cast<std::size_t>(Index)] : TPixelBuffer{}; }

void TCustomImageList::Draw(TCanvas& Canvas, int X, int Y, int Index, bool Enabled) const
{
    if (Index < 0 || Index >= Count()) return;
    TPixelBuffer px = FImages[static_cast<std::size_t>(Index)];
    if (!Enabled)
        for (auto& c : px.Pixels) {
            // Grey by brightness, lifted towards white, as the desktop shows a disabled image.
            const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
            const int v = 128 + (r * 30 + g * 59 + b * 11) / 200;
            c = (c & 0xFF000000u) | static_cast<std::uint32_t>(v | v << 8 | v << 16);
        }
    // An icon carries the alpha that a bitmap's pixels leave out.
    TIcon icon;
    icon.SetPixels(px);
    Canvas.Draw(X, Y, icon);
}
