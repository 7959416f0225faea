// HTML-tag text: lays out and draws short texts carrying a small set of HTML-style tags (fonts, styles,
// sizes, line breaks, centring, a rule, pictures) on a chart canvas. Axis labels, marks and the legend
// measure such texts with MeasureHtmlText. A text with a malformed tag is laid out as plain text, tags
// shown as written, so measuring and drawing always agree.
#pragma once

#include "platform/graphics/GraphicsTypes.h"
#include "platform/rtl/Exceptions.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TLumCanvas;
class TFont;
class TGraphic;

// A malformed tag.
VSP_DECLARE_EXCEPTION(HtmlParserException, Exception);

// A new picture able to load files of an extension (upper case, with its dot), or none.
using THtmlGraphicForExtension = std::function<std::unique_ptr<TGraphic>(const std::string& extension)>;
// Fills stream with the picture named by source; 0 on success, any other value on failure.
using THtmlImageLoader = std::function<int(const std::string& source, std::vector<std::uint8_t>& stream)>;

// The unit's hooks: the picture factory (installed by the picture-export registry) and the image loader
// (nothing installs one: every picture then draws as a broken-image box).
struct TLumHtmlModule {
    THtmlGraphicForExtension HtmlGraphicForExtension;
    THtmlImageLoader HtmlImageLoader;
};
TLumHtmlModule& LumHtmlModule();
void ResetLumHtmlModule();

// Lays text out from (x, y), drawing it when draw is set; extent receives the largest right edge reached
// (absolute x) and the largest line height met. The canvas font is the same afterwards.
void HtmlTextLayout(TLumCanvas& canvas, int x, int y, TSize& extent, bool draw, const std::string& text);
// HtmlTextLayout at (0, 0) without drawing.
void MeasureHtmlText(TLumCanvas& canvas, const std::string& text, TSize& extent);
// HtmlTextLayout with drawing; the extent is discarded.
void DrawHtmlText(TLumCanvas& canvas, int x, int y, const std::string& text);

// ---- Parsing pieces (the layout uses them; tests pin their messages) ----

// Splits the next token off text: the text before the first "<", or the tag up to its ">", or the whole
// rest. A "<" without ">" raises HtmlParserException "Missing > at " followed by the rest after "<".
std::string NextHtmlToken(std::string& text);
// Applies the attributes of an upper-cased FONT tag to font: NAME or FAMILY, SIZE (+n and -n relative),
// COLOR, WEIGHT. Unknown names and weights raise HtmlParserException; bad numbers EConvertError.
void ApplyHtmlFontTag(TFont& font, const std::string& tag);
// A colour value: BLACK, RED, BLUE, YELLOW, WHITE, GREEN, LIME, "#RRGGBB", or a colour name or integer
// of the drawing layer (clRed, decimal, $hex); anything else raises EConvertError.
TColor HtmlColorValue(const std::string& value);
