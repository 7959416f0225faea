// Shaped forms: BitmapToRegion turns a picture into a window region of its opaque pixels (row runs merged in
// batches), and TuiShapeForm, put on a form, paints the picture, sizes the form to it, cuts the form's
// window to its outline and lets the user drag the form by the picture.
#pragma once

#include "platform/controls/Controls.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Region.h"

#include <memory>
#include <vector>

class TForm;

// The region of the bitmap's opaque pixels, moved by Offset. For each channel, with T that of the bitmap's
// transparent colour (its bottom-left pixel; white for a monochrome bitmap) and t that of Tolerance, the
// window is low = clamp(T - t) to clamp(low + 2t) (clamp to 0..255); a pixel is transparent when every
// channel lies in its window. Row runs are merged in batches of 2000 rectangles (Batches, when given, gets
// each batch's size). nullptr for a missing or empty bitmap, or one without opaque pixels.
std::unique_ptr<TRegion> BitmapToRegion(const TBitmap* Bitmap, TColor Tolerance, TPoint Offset,
                                        std::vector<int>* Batches = nullptr);

class TuiShapeForm : public TCustomControl {
    VSP_PERSISTENT_CLASS
public:
    // Stands on the form and fills it; raises EComponentError "This component must be owned by a TForm"
    // without one.
    explicit TuiShapeForm(TForm* Form);
    ~TuiShapeForm() override;

    // Hooks the form's caption hit test and, when enabled, cuts the form (not while loading).
    void Loaded() override;

    TPicture& Picture() { return *FPicture; }
    void SetPicture(const TPicture& v) { FPicture->Assign(v); }
    TColor Tolerance() const { return FTolerance; }
    void SetTolerance(TColor v) { FTolerance = v; }
    // The whole form drags like a caption.
    bool DragAnywhere() const { return FDragAnywhere; }
    void SetDragAnywhere(bool v) { FDragAnywhere = v; }
    // The form drags over this control; setting one turns DragAnywhere off.
    TWinControl* DragControl() const { return FDragControl; }
    void SetDragControl(TWinControl* v);
    TForm* OwnerForm() const { return FForm; }
    const TBitmap& ShapeBitmap() const { return FShape; }
    bool Hooked() const { return FHook != 0; }

    void Assign(const TPersistent& Source) override;

    // The region of the picture's outline, applied to the form (on) or taken away (off).
    std::unique_ptr<TRegion> BuildRegion() const;
    void ApplyRegion(bool on);
    void FitFormToPicture();

protected:
    void Paint() override;
    void EnabledChanged() override;

private:
    void PictureChanged();
    void HookForm();
    bool IsCaption(TPoint screenPoint) const;

    TBitmap FShape;
    TForm* FForm;
    int FHook = 0;
    bool FDragAnywhere = false;
    TColor FTolerance = 0x101010;
    TWinControl* FDragControl = nullptr;
    std::unique_ptr<TPicture> FPicture;
    bool FPainting = false;
    bool FDestroying = false;
};
