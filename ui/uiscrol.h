// The scroll box base of the UI kit (TuiCustomScrollBox): a scrolling window with a border style whose
// scroll messages first go to OnScrollH and OnScrollV, which may change the position.
#pragma once

#include "platform/controls/ScrollBox.h"

#include <functional>

// Sender, scroll code (SB_LINEUP ...), and the position, which the handler may change.
using TuiScrollEvent = std::function<void(TPersistent* Sender, int ScrollCode, int& ScrollPos)>;

class TuiCustomScrollBox : public TScrollingWinControl {
    VSP_PERSISTENT_CLASS
public:
    // 185 x 41, bsSingle.
    explicit TuiCustomScrollBox(TComponent* AOwner);

    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v) { FBorderStyle = v; }
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool v) { FCtl3D = v; }

    TuiScrollEvent OnScrollH, OnScrollV;

protected:
    // The event first; its position goes on as a 16-bit signed value, as a scroll message carries it.
    void WMScroll(int Bar, int Code, int& Pos) override;

private:
    TBorderStyle FBorderStyle = bsSingle;
    bool FCtl3D = true;
};
