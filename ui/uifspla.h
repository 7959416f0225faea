// The splash window (TuisfSplash): a borderless stay-on-top window centred on the screen that shows a
// picture in a bevelled panel, or cut to the picture's outline by a shape control; it closes by its timer
// or, when allowed, on a click, can be dragged by any point, and frees itself when closed. Form code.
#pragma once

#include "platform/controls/Controls.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "ui/uiforms.h"

#include <functional>
#include <memory>

class TTimer;
class TuiShapeForm;

// The picture of the splash, drawn at the top-left of its control.
class TuiSplashImage : public TCustomControl {
public:
    TuiSplashImage() : TCustomControl(nullptr) { FPicture.OnChange = [this](TPicture*) { Invalidate(); }; }
    TPicture& Picture() { return FPicture; }

protected:
    void Paint() override
    {
        TCustomControl::Paint();
        if (const TGraphic* g = FPicture.Graphic(); g && !g->Empty()) Canvas().Draw(0, 0, *g);
    }

private:
    TPicture FPicture;
};

class TuisfSplash : public TuiForm {
public:
    static constexpr const char* FormClassName = "TuisfSplash";
    explicit TuisfSplash(QWidget* owner = nullptr);
    ~TuisfSplash() override;

    // The components.
    std::unique_ptr<TuiShapeForm> uiShapeForm1;
    std::unique_ptr<TCustomPanel> pnlSplash;
    std::unique_ptr<TuiSplashImage> imgSplash;
    std::unique_ptr<TTimer> tmrClose;
    // Whether a click closes the window.
    bool CloseOnClick = true;

    TPicture& ImagePicture();
    // Sets the panel's bevel width (0 raises a range error).
    void SetBevelWidth(int width);
    int BevelWidth() const;

    // Told when the window is about to close (before it hides and frees itself).
    std::function<void(TuisfSplash* Sender)> OnClosing;

    // The handlers.
    void FormActivate();
    void imgSplashClick();
    void uiShapeForm1Click();
    void tmrCloseTimer();

protected:
    void showEvent(QShowEvent* event) override;
    // The panel fills the window and the picture fills the panel inside its bevel.
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    int FCaptionHook = 0;
};

// Registers the splash window with the form factory unless a replacement is registered already.
void RegisterSplashForm();
