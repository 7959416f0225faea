// The grid's mini-markup: HTMLToPlainText strips the tags of a cell, hint or footer text, and
// PaintHTMLText lays a marked-up text out in a rectangle. Until the markup engine is built, the layout is
// the tag-stripped text on one line. Qt-free.
#pragma once

#include "platform/graphics/GraphicsTypes.h"

#include <string>

class TCanvas;

// "<BR>" and "<HR>" (any case) become line breaks, every "<...>" goes, an unterminated "<" stays;
// entities are kept.
std::string HTMLToPlainText(const std::string& Text);

struct THTMLResult {
    std::string Anchor;     // the anchor under the hit point
    int XSize = 0, YSize = 0;
    int HyperLinks = 0, MouseLink = -1;
    TRect FocusRect{0, 0, 0, 0};
};

// Draws (or only measures when Measure is set) Text in R and answers the size and the anchor under
// (HitX, HitY).
bool PaintHTMLText(TCanvas& Canvas, const std::string& Text, const TRect& R, bool Measure, int HitX, int HitY,
                   TColor URLColor, bool WordWrap, THTMLResult& Result);
