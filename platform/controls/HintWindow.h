// THintWindow: the class library's hint window, a frameless window that stays on top of the program's
// windows without taking the activation, sized to its text and shown at a screen position. Qt-free.
#pragma once

#include "platform/controls/Controls.h"

#include <string>

class THintWindow : public TCustomControl {
    VSP_PERSISTENT_CLASS
public:
    explicit THintWindow(TComponent* AOwner);

    // The rectangle (at the origin) that shows the text within MaxWidth pixels, lines broken at blanks.
    virtual TRect CalcHintRect(int MaxWidth, const std::string& AHint);
    // Shows the text in the screen rectangle.
    virtual void ActivateHint(TRect Rect, const std::string& AHint);
    // Hides the window.
    void ReleaseHandle();
    bool IsShowing() const;
    const std::string& Caption() const { return FCaption; }
    // The screen rectangle it was last shown in.
    const TRect& HintRect() const { return FRect; }

protected:
    void Paint() override;

private:
    std::string FCaption;
    TRect FRect{0, 0, 0, 0};
};
