// TCanvas edges and frames: the 3-D edges of controls, the focus rectangle, the push-button frame and the
// class library's 3-D frame, all in the system's 3-D colours.

#include "platform/graphics/CanvasImpl.h"

#include "platform/graphics/Bitmap.h"

#include <memory>

namespace {

// The two colours of one ring of an edge.
struct TRing {
    TColor TopLeft, BottomRight;
};

// One ring (BDR_RAISEDOUTER .. BDR_SUNKENINNER) in the look the flags ask for.
TRing RingColours(unsigned ring, unsigned flags)
{
    const bool outer = ring & BDR_OUTER;
    if (flags & BF_MONO) return outer ? TRing{clWindowFrame, clWindowFrame} : TRing{clWindow, clWindow};
    if (flags & BF_FLAT) return outer ? TRing{clBtnShadow, clBtnShadow} : TRing{clBtnFace, clBtnFace};
    const bool soft = flags & BF_SOFT;
    switch (ring) {
    case BDR_RAISEDOUTER: return {soft ? clBtnHighlight : cl3DLight, cl3DDkShadow};
    case BDR_SUNKENOUTER: return {soft ? cl3DDkShadow : clBtnShadow, clBtnHighlight};
    case BDR_RAISEDINNER: return {soft ? cl3DLight : clBtnHighlight, clBtnShadow};
    default: return {soft ? clBtnShadow : cl3DDkShadow, cl3DLight};   // BDR_SUNKENINNER
    }
}

// The lines of one ring on r's border: left and top first, then right and bottom over the corners.
void DrawRing(TCanvas& cv, const TRect& r, const TRing& ring, unsigned sides)
{
    if (r.IsEmpty()) return;
    TBrush tl, br;
    tl.SetColor(ring.TopLeft);
    br.SetColor(ring.BottomRight);
    if (sides & BF_LEFT) cv.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom}, tl);
    if (sides & BF_TOP) cv.FillRect({r.Left, r.Top, r.Right, r.Top + 1}, tl);
    if (sides & BF_RIGHT) cv.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom}, br);
    if (sides & BF_BOTTOM) cv.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom}, br);
}

void Shrink(TRect& r, unsigned sides)
{
    if (sides & BF_LEFT) ++r.Left;
    if (sides & BF_TOP) ++r.Top;
    if (sides & BF_RIGHT) --r.Right;
    if (sides & BF_BOTTOM) --r.Bottom;
}

}  // namespace

bool TCanvas::DrawEdge(TRect& r, unsigned edge, unsigned flags)
{
    const unsigned sides = flags & BF_RECT;
    TRect inner = r;
    // A ring asked for as both raised and sunken is drawn raised.
    const unsigned outer = (edge & BDR_RAISEDOUTER) ? BDR_RAISEDOUTER : edge & BDR_SUNKENOUTER;
    const unsigned innerRing = (edge & BDR_RAISEDINNER) ? BDR_RAISEDINNER : edge & BDR_SUNKENINNER;
    for (unsigned ring : {outer, innerRing}) {
        if (!ring) continue;
        DrawRing(*this, inner, RingColours(ring, flags), sides);
        Shrink(inner, sides);
    }
    if ((flags & BF_MIDDLE) && !inner.IsEmpty()) {
        TBrush face;
        face.SetColor(flags & BF_MONO ? clWindow : clBtnFace);
        FillRect(inner, face);
    }
    if (flags & BF_ADJUST) r = inner;
    return true;
}

void TCanvas::DrawFocusRect(const TRect& r)
{
    if (r.IsEmpty()) return;
    // A checker of white and black: XOR-ing it inverts every other pixel and leaves the rest.
    static const std::unique_ptr<TBitmap> checker = [] {
        auto b = std::make_unique<TBitmap>(8, 8, pf24bit);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) b->SetPixelRGB(x, y, (x + y) % 2 == 0 ? 0xFFFFFF : 0);
        return b;
    }();
    const int level = SaveDC();
    SetBrushOrg(0, 0);
    Brush().SetBitmap(checker.get());
    const int w = r.Width(), h = r.Height();
    PatBlt(r.Left, r.Top, w, 1, PATINVERT);
    if (h > 1) PatBlt(r.Left, r.Bottom - 1, w, 1, PATINVERT);
    if (h > 2) {
        PatBlt(r.Left, r.Top + 1, 1, h - 2, PATINVERT);
        if (w > 1) PatBlt(r.Right - 1, r.Top + 1, 1, h - 2, PATINVERT);
    }
    Brush().SetBitmap(nullptr);
    RestoreDC(level);
}

// The push-button frame of DrawFrameControl.
bool DrawPushButtonFrame(TCanvas& cv, const TRect& r0, unsigned state)
{
    TRect r = r0;
    unsigned flags = BF_RECT | BF_MIDDLE;
    if (state & DFCS_MONO) flags |= BF_MONO;
    if (state & DFCS_FLAT) flags |= BF_FLAT;
    const bool pushed = state & (DFCS_PUSHED | DFCS_CHECKED);
    if (!pushed) flags |= BF_SOFT;
    return cv.DrawEdge(r, pushed ? EDGE_SUNKEN : EDGE_RAISED, flags);
}

void DrawFrame3D(TCanvas& canvas, TRect& r, TColor topLeft, TColor bottomRight, int width, unsigned sides)
{
    TPen& pen = canvas.Pen();
    pen.SetWidth(1);
    pen.SetStyle(psSolid);
    // Lines run on the last pixel row and column inside the rectangle.
    --r.Right;
    --r.Bottom;
    const auto stroke = [&](bool draw, int x, int y) {
        if (draw)
            canvas.LineTo(x, y);
        else
            canvas.MoveTo(x, y);
    };
    for (; width > 0; --width) {
        canvas.MoveTo(r.Left, r.Bottom);
        pen.SetColor(topLeft);
        stroke(sides & BF_LEFT, r.Left, r.Top);
        stroke(sides & BF_TOP, r.Right, r.Top);
        pen.SetColor(bottomRight);
        stroke(sides & BF_RIGHT, r.Right, r.Bottom);
        stroke(sides & BF_BOTTOM, r.Left - 1, r.Bottom);
        ++r.Left;
        ++r.Top;
        --r.Right;
        --r.Bottom;
    }
    ++r.Right;
    ++r.Bottom;
}

void Frame3D(TCanvas& canvas, TRect& r, TColor topLeft, TColor bottomRight, int width)
{
    DrawFrame3D(canvas, r, topLeft, bottomRight, width, BF_RECT);
}
