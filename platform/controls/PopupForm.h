// TPopupForm: a borderless window of its own, placed in screen pixels above the other windows, that
// holds controls and tells when it stops being the active window (an editor dropped below a cell, for
// one). Qt-free.
#pragma once

#include "platform/controls/Controls.h"

class TPopupForm : public TWinControl {
    VSP_PERSISTENT_CLASS
public:
    // Hidden until ShowPopup; its bounds are screen pixels.
    explicit TPopupForm(TComponent* AOwner);
    ~TPopupForm() override;

    // Shows the window and makes it the active one.
    void ShowPopup();
    bool IsShown() const;
    // Hides the window now and frees it from the message loop (it may be running one of its handlers).
    void Release();

    // The window lost the activation to another window (or to none).
    TNotifyEvent OnDeactivate;

    struct Native;

protected:
    virtual void Deactivate();

private:
    bool FReleased = false;
};
