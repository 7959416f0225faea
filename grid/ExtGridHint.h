// THTMLHintWindow: the grid's hint window, whose text is mini-markup. It measures the markup (wrapped at
// 1008 pixels), keeps itself on the screen, and paints a flat 3-D frame around the text. Qt-free.
#pragma once

#include "platform/controls/HintWindow.h"

class THTMLHintWindow : public THintWindow {
    VSP_PERSISTENT_CLASS
public:
    explicit THTMLHintWindow(TComponent* AOwner);
    // The markup measured with wrapping in MaxWidth: (0, 0, width, height).
    TRect CalcHintRect(int MaxWidth, const std::string& AHint) override;
    // Shows the hint at Rect's top-left, sized to the measured markup plus 16 by 4 pixels, moved back
    // onto the screen where it would pass its right or bottom edge.
    void ActivateHint(TRect Rect, const std::string& AHint) override;
    int TextWidthMeasured() const { return FTextWidth; }
    int TextHeightMeasured() const { return FTextHeight; }

protected:
    void Paint() override;

private:
    int FTextWidth = 0, FTextHeight = 0;
};
