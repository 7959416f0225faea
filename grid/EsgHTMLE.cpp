// The tag-stripping of the mini-markup and its one-line layout.
#include "grid/EsgHTMLE.h"

#include "platform/graphics/Canvas.h"
#include "platform/rtl/StrUtils.h"

std::string HTMLToPlainText(const std::string& Text)
{
    std::string s;
    s.reserve(Text.size());
    for (std::size_t i = 0; i < Text.size();) {
        if (Text[i] == '<' && i + 3 < Text.size() && Text[i + 3] == '>') {
            const std::string tag = UpperCase(Text.substr(i + 1, 2));
            if (tag == "BR" || tag == "HR") {
                s += "\r\n";
                i += 4;
                continue;
            }
        }
        s += Text[i++];
    }
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '<') {
            const auto close = s.find('>', i + 1);
            if (close == std::string::npos) {
                out.append(s, i, std::string::npos);
                break;
            }
            i = close;
        } else out += s[i];
    }
    return out;
}

bool PaintHTMLText(TCanvas& Canvas, const std::string& Text, const TRect& R, bool Measure, int, int, TColor,
                   bool, THTMLResult& Result)
{
    std::string plain = HTMLToPlainText(Text);
    for (char& c : plain)
        if (c == '\r' || c == '\n') c = ' ';
    const TSize ext = Canvas.TextExtent(plain);
    Result.XSize = ext.cx;
    Result.YSize = ext.cy;
    if (!Measure) {
        TRect r = R;
        Canvas.DrawText(plain, r, DT_SINGLELINE | DT_NOPREFIX);
    }
    return true;
}
