// The table of colour identifiers and the conversions between colours and their text.
#include "platform/graphics/ColorIdents.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"

#include <charconv>
#include <cstdint>

namespace {

struct TColorIdent {
    TColor Color;
    const char* Name;
};

// In the class library's order: the standard colours, the extended ones, the special values, then the
// system colours.
constexpr TColorIdent kColorIdents[] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"}, {clNavy, "clNavy"},
    {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"}, {clSilver, "clSilver"}, {clRed, "clRed"},
    {clLime, "clLime"}, {clYellow, "clYellow"}, {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"},
    {clWhite, "clWhite"}, {clMoneyGreen, "clMoneyGreen"}, {clSkyBlue, "clSkyBlue"}, {clCream, "clCream"},
    {clMedGray, "clMedGray"}, {clNone, "clNone"}, {clDefault, "clDefault"},
    {clActiveBorder, "clActiveBorder"}, {clActiveCaption, "clActiveCaption"}, {clAppWorkSpace, "clAppWorkSpace"},
    {clBackground, "clBackground"}, {clBtnFace, "clBtnFace"}, {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"}, {clBtnText, "clBtnText"}, {clCaptionText, "clCaptionText"},
    {clGradientActiveCaption, "clGradientActiveCaption"}, {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clGrayText, "clGrayText"}, {clHighlight, "clHighlight"}, {clHighlightText, "clHighlightText"},
    {clHotLight, "clHotLight"}, {clInactiveBorder, "clInactiveBorder"}, {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"}, {clInfoBk, "clInfoBk"}, {clInfoText, "clInfoText"},
    {clMenu, "clMenu"}, {clMenuBar, "clMenuBar"}, {clMenuHighlight, "clMenuHighlight"}, {clMenuText, "clMenuText"},
    {clScrollBar, "clScrollBar"}, {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"}, {clWindowFrame, "clWindowFrame"}, {clWindowText, "clWindowText"},
};

// Older names of the same colours, read but never written.
constexpr TColorIdent kAliases[] = {{clLtGray, "clLtGray"}, {clDkGray, "clDkGray"}};

} // namespace

bool IdentToColor(std::string_view ident, TColor& color)
{
    for (const auto* table : {std::begin(kColorIdents), std::begin(kAliases)}) {
        const TColorIdent* end = table == std::begin(kColorIdents) ? std::end(kColorIdents) : std::end(kAliases);
        for (const TColorIdent* c = table; c != end; ++c) {
            if (SameText(ident, c->Name)) {
                color = c->Color;
                return true;
            }
        }
    }
    return false;
}

bool ColorToIdent(TColor color, std::string& ident)
{
    for (const TColorIdent& c : kColorIdents) {
        if (c.Color == color) {
            ident = c.Name;
            return true;
        }
    }
    return false;
}

TColor StringToColor(std::string_view text)
{
    TColor color = 0;
    if (IdentToColor(text, color)) return color;
    const std::string_view t = TrimView(text);
    const bool hex = !t.empty() && t[0] == '$';
    const std::string_view digits = hex ? t.substr(1) : t;
    std::int64_t v = 0;
    const char* first = digits.data();
    const char* last = digits.data() + digits.size();
    const auto [end, ec] = std::from_chars(first, last, v, hex ? 16 : 10);
    // Colours are 32-bit patterns: values up to 0xFFFFFFFF wrap into the signed range.
    if (digits.empty() || ec != std::errc() || end != last || v < INT32_MIN || v > UINT32_MAX)
        throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
    return static_cast<TColor>(static_cast<std::uint32_t>(v));
}

std::string ColorToString(TColor color)
{
    std::string ident;
    if (ColorToIdent(color, ident)) return ident;
    return std::to_string(color);
}
