// DrawFrameControl's scroll-bar buttons: the push-button frame with a filled arrow up, down, left or
// right, and the combo box's drop-down button (an arrow down).
#include "platform/graphics/CanvasImpl.h"

#include <algorithm>

bool DrawPushButtonFrame(TCanvas& cv, const TRect& r, unsigned state);   // CanvasEdges.cpp

bool DrawScrollFrame(TCanvas& cv, const TRect& r, unsigned state)
{
    const unsigned kind = state & 0xFF;
    if (r.IsEmpty() || (kind > DFCS_SCROLLRIGHT && kind != DFCS_SCROLLCOMBOBOX)) return false;
    const int level = cv.SaveDC();
    DrawPushButtonFrame(cv, r, state & (DFCS_PUSHED | DFCS_FLAT | DFCS_MONO));
    // The arrow: a triangle whose half base is a quarter of the button's shorter side, moved a pixel
    // down and right while the button is pushed.
    const int k = std::max(2, std::min(r.Width(), r.Height()) / 4);
    const int shift = (state & DFCS_PUSHED) ? 1 : 0;
    const int cx = r.Left + r.Width() / 2 + shift, cy = r.Top + r.Height() / 2 + shift;
    const int back = k / 2, tip = k - back;
    TPoint p[3];
    switch (kind == DFCS_SCROLLCOMBOBOX ? unsigned(DFCS_SCROLLDOWN) : kind) {
    case DFCS_SCROLLUP: p[0] = {cx - k, cy + back}; p[1] = {cx + k, cy + back}; p[2] = {cx, cy - tip}; break;
    case DFCS_SCROLLDOWN: p[0] = {cx - k, cy - back}; p[1] = {cx + k, cy - back}; p[2] = {cx, cy + tip}; break;
    case DFCS_SCROLLLEFT: p[0] = {cx + back, cy - k}; p[1] = {cx + back, cy + k}; p[2] = {cx - tip, cy}; break;
    default: p[0] = {cx - back, cy - k}; p[1] = {cx - back, cy + k}; p[2] = {cx + tip, cy}; break;
    }
    const TColor mark = (state & DFCS_INACTIVE) ? clGrayText : clBtnText;
    cv.Pen().SetWidth(1);
    cv.Pen().SetStyle(psSolid);
    cv.Pen().SetMode(pmCopy);
    cv.Pen().SetColor(mark);
    cv.Brush().SetStyle(bsSolid);
    cv.Brush().SetColor(mark);
    cv.Polygon(p, 3);
    cv.RestoreDC(level);
    return true;
}
