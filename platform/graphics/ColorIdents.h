// Colour identifiers of the class library ("clRed", "clBtnFace", ...) and the text form of colours that
// streams and style strings use: an identifier where the colour has one, else a decimal integer. Qt-free.
#pragma once

#include "platform/rtl/SystemColors.h"

#include <string>
#include <string_view>

// The colour of an identifier (letter case ignored); false when the text names none.
bool IdentToColor(std::string_view ident, TColor& color);
// The identifier of a colour; false when it has none.
bool ColorToIdent(TColor color, std::string& ident);
// An identifier, a decimal integer or a "$" hexadecimal integer; EConvertError
// "'<text>' is not a valid integer value" for anything else.
TColor StringToColor(std::string_view text);
// The identifier, or the decimal integer.
std::string ColorToString(TColor color);
