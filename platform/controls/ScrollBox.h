// TScrollingWinControl: a window whose child controls scroll under two scroll bars. A scroll message
// (bar, code, position) moves the children; with AutoScroll the bars' ranges follow the children's extent
// and the window's size. Qt-free.
#pragma once

#include "platform/controls/Controls.h"
#include "platform/controls/Grids.h"   // SB_HORZ, SB_VERT and the scroll codes

#include <memory>

class TScrollingWinControl : public TWinControl {
    VSP_PERSISTENT_CLASS
public:
    explicit TScrollingWinControl(TComponent* AOwner);
    ~TScrollingWinControl() override;

    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool v);
    // Position and range (the children's extent) of a bar, and whether it shows.
    int ScrollPos(int bar) const { return FPos[bar]; }
    int ScrollRange(int bar) const { return FRange[bar]; }
    bool ScrollBarShown(int bar) const;
    // Recomputes the ranges from the children (AutoScroll does it after every resize).
    void UpdateScrollRanges();
    // Delivers a scroll message as a bar sends it.
    void Scroll(int bar, int code, int pos) { WMScroll(bar, code, pos); }

protected:
    // The message: lines of 8 pixels, pages of the client size, thumb positions as given; the children
    // move by the change. Descendants may change Pos before calling it.
    virtual void WMScroll(int Bar, int Code, int& Pos);
    void Resize() override;

private:
    void ScrollTo(int bar, int pos);
    void LayoutBars();

    struct Bars;
    std::unique_ptr<Bars> FBars;
    bool FAutoScroll = true;
    int FPos[2] = {0, 0};
    int FRange[2] = {0, 0};
};
