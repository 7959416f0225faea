// The splash component (TuiSplash): shows a picture in a borderless, centred, stay-on-top window for a
// while, as a splash while its owner's form is loaded (AutoShow) and on demand (the about box). The window
// may fade in and out, take the picture's outline, close on a click and be dragged.
#pragma once

#include "platform/graphics/Bitmap.h"
#include "platform/rtl/Classes.h"
#include "ui/uiwanim.h"

#include <memory>

class TuisfSplash;

class TuiSplash : public TComponent {
    VSP_PERSISTENT_CLASS
public:
    explicit TuiSplash(TComponent* AOwner);
    // With AutoShowOnDestroy (and a Duration, and no "-ns" switch) the splash shows once more and the
    // destructor waits, pumping messages, until it has closed.
    ~TuiSplash() override;

    // Shows the window (nothing while one is shown); Exception "Picture required" without a picture.
    virtual void Show();
    // Closes the window when one is shown.
    virtual void Hide();

    bool AllowLocalBmp() const { return FAllowLocalBmp; }
    void SetAllowLocalBmp(bool v) { FAllowLocalBmp = v; }
    TuiAnimateWin& AnimateShow() { return *FAnimateShow; }
    void SetAnimateShow(const TuiAnimateWin& v) { FAnimateShow->Assign(v); }
    TuiAnimateWin& AnimateHide() { return *FAnimateHide; }
    void SetAnimateHide(const TuiAnimateWin& v) { FAnimateHide->Assign(v); }
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int v);        // 0..65535; 0 fails when the window is built
    int Duration() const { return FDuration; }
    void SetDuration(int v);          // milliseconds, 0..65535; 0 keeps the window open
    bool HideOnClick() const { return FHideOnClick; }
    void SetHideOnClick(bool v) { FHideOnClick = v; }
    TPicture& Picture() { return *FPicture; }
    void SetPicture(const TPicture& v);
    TPicture& PictureVGA() { return *FPictureVGA; }
    void SetPictureVGA(const TPicture& v);
    bool ShapeForm() const { return FShapeForm; }
    // On: a roll, slide or centre effect becomes a blend (the shaped window shows only blended).
    void SetShapeForm(bool v);
    TColor ShapeTolerance() const { return FShapeTolerance; }
    void SetShapeTolerance(TColor v) { FShapeTolerance = v; }
    bool ShowModal() const { return FShowModal; }
    void SetShowModal(bool v) { FShowModal = v; }
    bool StayOnTop() const { return FStayOnTop; }
    void SetStayOnTop(bool v) { FStayOnTop = v; }
    bool AutoShow() const { return FAutoShow; }
    // Read from a form (loading) and on, the splash shows at once, unless the command line says "-ns".
    void SetAutoShow(bool v);
    bool AutoShowOnDestroy() const { return FAutoShowOnDestroy; }
    void SetAutoShowOnDestroy(bool v) { FAutoShowOnDestroy = v; }

    // The window shown now (nullptr while none).
    TuisfSplash* Window() const { return FWindow; }

    // Copies everything but AllowLocalBmp.
    void Assign(const TPersistent& Source) override;

    TNotifyEvent OnShow, OnHide;

    // Whether a command-line parameter is "-ns" or "/ns" in any letter case.
    static bool HasNoSplashSwitch();
    // The window's place: centred on the screen, the picture plus the bevel on every side.
    static TRect WindowBounds(int pictureWidth, int pictureHeight, int bevel, int screenWidth, int screenHeight);

private:
    void AnimationChanged();
    void FormShown();
    void FormHidden();

    bool FAllowLocalBmp = true;
    bool FAutoShow = true;
    int FBevelWidth = 5;
    int FDuration = 5000;
    bool FHideOnClick = true;
    std::unique_ptr<TPicture> FPicture, FPictureVGA;
    bool FShapeForm = false;
    TColor FShapeTolerance = 0x101010;
    bool FShowModal = false;
    TuisfSplash* FWindow = nullptr;
    bool FStayOnTop = true;
    bool FAutoShowOnDestroy = false;
    std::unique_ptr<TuiAnimateWin> FAnimateHide, FAnimateShow;
    // Expires with the component, so a window that outlives it does not call back.
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};
