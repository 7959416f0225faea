// The image bar series: bars with a picture painted inside, stretched or tiled; and the extras' built-in
// pictures (the image bar's banknote, the image point's default mark, the delta point's smiles and
// hands), drawn here as 4-bit bitmaps and registered as named resources. Qt-free.
#pragma once

#include "chart/series/SeriesBar.h"
#include "platform/graphics/Bitmap.h"

#include <memory>

class TImageBarSeries : public TBarSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TImageBarSeries(TComponent* AOwner);
    ~TImageBarSeries() override;

    std::string EditorFormName() const override { return "TImageBarSeriesEditor"; }

    TPicture& Image() const { return *FImage; }
    void SetImage(const TPicture& Value) { FImage->Assign(Value); }
    // Tiles of the picture's size along the bar instead of one stretched picture.
    bool ImageTiled() const { return FImageTiled; }
    void SetImageTiled(bool Value) { SetBooleanField(FImageTiled, Value); }

    void PaintBar(int Index, int Upper, int Lower) override;
    void PrepareForGallery(bool Coloured) override;

private:
    // Rows of tiles, each row of tiles side by side, clipped to R; rows from R's top or bottom.
    void Tile(const TRect& R, bool FromTop);

    std::unique_ptr<TPicture> FImage;
    bool FImageTiled = false;
};

// The built-in pictures under their resource names.
void RegisterExtrasPictures();

void ImageBarInitialization();
void ImageBarFinalization();
