// The image point series: a picture at each point instead of the pointer symbol; and the delta point
// series, which picks one of three pictures per point by comparing its value with the previous one's.
// Qt-free.
#pragma once

#include "chart/series/SeriesLine.h"
#include "platform/graphics/Bitmap.h"

#include <functional>
#include <memory>

class TCustomImagePointSeries;
using TGetImageEvent = std::function<void(TCustomImagePointSeries* Sender, int ValueIndex, TPicture& Picture)>;

class TCustomImagePointSeries : public TPointSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TCustomImagePointSeries(TComponent* AOwner);
    ~TCustomImagePointSeries() override;

    TPicture& ImagePoint() const { return *FImagePoint; }
    virtual void SetImagePoint(const TPicture& Value);
    bool ImageTransparent() const { return FImageTransparent; }
    void SetImageTransparent(bool Value) { SetBooleanField(FImageTransparent, Value); }

    // Lets the owner change the picture before each point is drawn.
    TGetImageEvent OnGetImage;

    void PaintPoint(int Index) override;
    void PrepareForGallery(bool Coloured) override;

protected:
    // The pointer's sizes become the picture's (when above 0), without repaint.
    void FollowPictureSize(const TPicture& Picture);

    std::unique_ptr<TPicture> FImagePoint;
    bool FImageTransparent = false;
};

class TImagePointSeries : public TCustomImagePointSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TImagePointSeries(TComponent* AOwner);
    TImagePointSeries(TComponent* AOwner, const TPicture& Picture);
    // Copies the picture; its width and height (when above 0) become the pointer's sizes.
    void SetImagePoint(const TPicture& Value) override;
};

enum TDeltaImageStyle { disSmiles, disHands };
inline const TEnumNames DeltaImageStyleNames{"disSmiles", "disHands"};

class TDeltaPointSeries : public TCustomImagePointSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TDeltaPointSeries(TComponent* AOwner);

    TPicture& EqualImage() const { return *FEqual; }
    void SetEqualImage(const TPicture& Value) { FEqual->Assign(Value); }
    TPicture& GreaterImage() const { return *FGreater; }
    void SetGreaterImage(const TPicture& Value) { FGreater->Assign(Value); }
    TPicture& LowerImage() const { return *FLower; }
    void SetLowerImage(const TPicture& Value) { FLower->Assign(Value); }
    TDeltaImageStyle ImageStyle() const { return FImageStyle; }
    // Loads the style's three built-in pictures, replacing any others.
    void SetImageStyle(TDeltaImageStyle Value);

    // The picture for point Index: equal for the first, else by its value against the previous one.
    TPicture& PictureFor(int Index) const;
    void PaintPoint(int Index) override;

private:
    std::unique_ptr<TPicture> FEqual;
    std::unique_ptr<TPicture> FGreater;
    std::unique_ptr<TPicture> FLower;
    TDeltaImageStyle FImageStyle = disSmiles;
};

void ImaPointInitialization();
void ImaPointFinalization();
