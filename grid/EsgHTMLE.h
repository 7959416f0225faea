// The grid's mini-markup: PaintHTMLText lays a text of HTML-like tags and entities out in a rectangle
// line by line and draws it, measures it, or tests which anchor or embedded control lies under a point;
// HTMLToPlainText strips the tags; SetHTMLControlValue writes a new value into a CONTROL tag. Pictures
// come from an image list, the desktop's icons, a picture container or a cache loaded by address.
// Qt-free.
#pragma once

#include "platform/graphics/GraphicsTypes.h"

#include <string>

class TCanvas;
class TCustomImageList;
class THTMLPictureCache;
class TPictureContainer;

// "<BR>" and "<HR>" (any case) become line breaks, every "<...>" goes, an unterminated "<" stays;
// entities are kept.
std::string HTMLToPlainText(const std::string& Text);

struct THTMLPaintParams {
    TCustomImageList* Images = nullptr;
    int XPos = 0, YPos = 0;          // the point hit-tested (canvas coordinates)
    bool HitTestOnly = false;        // the second pass of each line measures and hit-tests
    bool MeasureOnly = false;        // only the first pass: nothing drawn, no cut at the bottom
    bool BlinkOn = false;
    bool WordWrap = true;
    bool ControlDown = false;        // the mouse button is held on an embedded control
    TColor URLColor = clBlue;
    THTMLPictureCache* PictureCache = nullptr;
    TPictureContainer* PictureContainer = nullptr;
};

struct THTMLResult {
    std::string AnchorVal;            // the anchor under the point, or "ctrl" over a control
    int XSize = 0, YSize = 0;
    int MouseLink = -1;               // 1-based ordinal of the anchor under the point
    TRect ControlRect{0, 0, 0, 0};
    std::string ControlID, ControlValue, ControlType;
};

// Lays Text out in R (text starts one pixel right of R.Left). True when the point lies over anchor text
// (found only with HitTestOnly), over an embedded control or over an anchored picture.
bool PaintHTMLText(TCanvas& Canvas, const std::string& Text, const TRect& R, const THTMLPaintParams& Params, THTMLResult& Result);

// The attributes of a CONTROL tag (the text after "<CONTROL"): TYPE upper-cased, WIDTH, ID, VALUE with
// "&lt;" and "&gt;" decoded; each empty when absent.
void ParseControlTag(const std::string& Tag, std::string& Type, std::string& Width, std::string& ID, std::string& Value);
// Sets VALUE of the first CONTROL tag whose ID is ID (case counts), rewriting the tag as
// CONTROL ID, VALUE, WIDTH, TYPE; false (text unchanged) when there is none.
bool SetHTMLControlValue(std::string& Text, const std::string& ID, const std::string& Value);
// A markup colour value: "#RRGGBB" or a colour name ("clred", any case); unknown names are black.
TColor HTMLColor(const std::string& Value);
