// HTML-tag text layout: tokens, tags with their font and style stacks (kept per layout call), text
// segments with entities, pictures and the broken-image box, and the plain-text fallback.
#include "chart/base/LumHtml.h"

#include "chart/base/LumCanvasBase.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/PixelMath.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>

TLumHtmlModule& LumHtmlModule()
{
    static TLumHtmlModule module;
    return module;
}

void ResetLumHtmlModule() { LumHtmlModule() = TLumHtmlModule{}; }

// ---- Numbers and colours -------------------------------------------------------------------------------

namespace {

[[noreturn]] void InvalidInteger(const std::string& text)
{
    throw EConvertError("'" + text + "' is not a valid integer value");
}

// A decimal integer with an optional sign, or "$" and hexadecimal digits.
int IntegerValue(const std::string& text)
{
    const std::string t = Trim(text);
    std::string_view digits = t;
    int base = 10;
    bool negative = false;
    if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) {
        negative = digits[0] == '-';
        digits.remove_prefix(1);
    }
    if (!digits.empty() && digits[0] == '$') {
        base = 16;
        digits.remove_prefix(1);
    }
    long long v = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v, base);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size()) InvalidInteger(text);
    if (negative) v = -v;
    if (v < INT32_MIN || v > UINT32_MAX) InvalidInteger(text);
    return static_cast<int>(static_cast<std::int64_t>(v));
}

struct TNamedColor {
    const char* Name;
    TColor Value;
};

// The drawing layer's colour names.
constexpr TNamedColor kColorNames[] = {
    {"clBlack", clBlack}, {"clMaroon", clMaroon}, {"clGreen", clGreen}, {"clOlive", clOlive}, {"clNavy", clNavy},
    {"clPurple", clPurple}, {"clTeal", clTeal}, {"clGray", clGray}, {"clSilver", clSilver}, {"clRed", clRed},
    {"clLime", clLime}, {"clYellow", clYellow}, {"clBlue", clBlue}, {"clFuchsia", clFuchsia}, {"clAqua", clAqua},
    {"clLtGray", clLtGray}, {"clDkGray", clDkGray}, {"clWhite", clWhite}, {"clMoneyGreen", clMoneyGreen},
    {"clSkyBlue", clSkyBlue}, {"clCream", clCream}, {"clMedGray", clMedGray}, {"clNone", clNone},
    {"clDefault", clDefault}, {"clScrollBar", clScrollBar}, {"clBackground", clBackground},
    {"clActiveCaption", clActiveCaption}, {"clInactiveCaption", clInactiveCaption}, {"clMenu", clMenu},
    {"clWindow", clWindow}, {"clWindowFrame", clWindowFrame}, {"clMenuText", clMenuText},
    {"clWindowText", clWindowText}, {"clCaptionText", clCaptionText}, {"clActiveBorder", clActiveBorder},
    {"clInactiveBorder", clInactiveBorder}, {"clAppWorkSpace", clAppWorkSpace}, {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText}, {"clBtnFace", clBtnFace}, {"clBtnShadow", clBtnShadow},
    {"clGrayText", clGrayText}, {"clBtnText", clBtnText}, {"clInactiveCaptionText", clInactiveCaptionText},
    {"clBtnHighlight", clBtnHighlight}, {"cl3DDkShadow", cl3DDkShadow}, {"cl3DLight", cl3DLight},
    {"clInfoText", clInfoText}, {"clInfoBk", clInfoBk}, {"clHotLight", clHotLight},
    {"clGradientActiveCaption", clGradientActiveCaption}, {"clGradientInactiveCaption", clGradientInactiveCaption},
    {"clMenuHighlight", clMenuHighlight}, {"clMenuBar", clMenuBar},
};

constexpr TNamedColor kHtmlColors[] = {
    {"BLACK", 0x000000}, {"RED", 0x0000FF}, {"BLUE", 0xFF0000}, {"YELLOW", 0x00FFFF},
    {"WHITE", 0xFFFFFF}, {"GREEN", 0x008000}, {"LIME", 0x00FF00},
};

int HexPair(const std::string& s, std::size_t at)
{
    int v = 0;
    const auto [end, ec] = std::from_chars(s.data() + at, s.data() + at + 2, v, 16);
    if (ec != std::errc() || end != s.data() + at + 2) InvalidInteger("$" + s.substr(at, 2));
    return v;
}

} // namespace

TColor HtmlColorValue(const std::string& value)
{
    const std::string v = UpperCase(Trim(value));
    for (const TNamedColor& c : kHtmlColors)
        if (v == c.Name) return c.Value;
    if (!v.empty() && v[0] == '#') {
        if (v.size() != 7) InvalidInteger(value);
        return RGB(HexPair(v, 1), HexPair(v, 3), HexPair(v, 5));
    }
    for (const TNamedColor& c : kColorNames)
        if (SameText(v, c.Name)) return c.Value;
    return IntegerValue(v);
}

// ---- Tokens and attributes -----------------------------------------------------------------------------

std::string NextHtmlToken(std::string& text)
{
    const std::size_t lt = text.find('<');
    std::string token;
    if (lt == std::string::npos) {
        token.swap(text);
        return token;
    }
    if (lt > 0) {
        token = text.substr(0, lt);
        text.erase(0, lt);
        return token;
    }
    const std::size_t gt = text.find('>');
    if (gt == std::string::npos) throw HtmlParserException("Missing > at " + text.substr(1));
    token = text.substr(0, gt + 1);
    text.erase(0, gt + 1);
    return token;
}

namespace {

struct TAttribute {
    std::string Name;
    std::string Value;
};

// name=value pairs separated by blanks; a value runs to the last blank before the next "=", so it may
// hold blanks; a value in double quotes loses them.
std::vector<TAttribute> SplitAttributes(const std::string& body)
{
    std::vector<TAttribute> out;
    std::size_t pos = 0;
    while (pos < body.size()) {
        while (pos < body.size() && body[pos] == ' ') ++pos;
        if (pos >= body.size()) break;
        const std::size_t eq = body.find('=', pos);
        TAttribute a;
        if (eq == std::string::npos) {
            a.Name = Trim(body.substr(pos));
            out.push_back(a);
            break;
        }
        a.Name = Trim(body.substr(pos, eq - pos));
        std::size_t valueEnd = body.size();
        const std::size_t nextEq = body.find('=', eq + 1);
        if (nextEq != std::string::npos) {
            const std::size_t blank = body.rfind(' ', nextEq);
            valueEnd = blank == std::string::npos || blank <= eq ? nextEq : blank;
        }
        a.Value = Trim(body.substr(eq + 1, valueEnd - eq - 1));
        if (a.Value.size() >= 2 && a.Value.front() == '"' && a.Value.back() == '"') a.Value = a.Value.substr(1, a.Value.size() - 2);
        out.push_back(a);
        pos = valueEnd;
    }
    return out;
}

// The tag's inside: without its opening word and the final ">".
std::string TagBody(const std::string& tag, std::size_t openingLength)
{
    std::string body = tag.substr(std::min(openingLength, tag.size()));
    if (!body.empty() && body.back() == '>') body.pop_back();
    return body;
}

} // namespace

void ApplyHtmlFontTag(TFont& font, const std::string& tag)
{
    for (const TAttribute& a : SplitAttributes(TagBody(tag, 6))) {
        const std::string name = UpperCase(a.Name);
        if (name == "NAME" || name == "FAMILY") {
            font.SetName(a.Value);
        } else if (name == "SIZE") {
            const int n = IntegerValue(a.Value);
            const bool relative = !a.Value.empty() && (a.Value[0] == '+' || a.Value[0] == '-');
            font.SetSize(relative ? font.Size() + n : n);
        } else if (name == "COLOR") {
            font.SetColor(HtmlColorValue(a.Value));
        } else if (name == "WEIGHT") {
            const std::string w = UpperCase(a.Value);
            if (w == "BOLD") font.SetStyle(TFontStyles{fsBold});
            else if (w == "ITALIC") font.SetStyle(TFontStyles{fsItalic});
            else if (w == "NORMAL") font.SetStyle(TFontStyles{});
            else if (w == "STRIKE") font.SetStyle(TFontStyles{fsStrikeOut});
            else if (w == "UNDERLINE") font.SetStyle(TFontStyles{fsUnderline});
            else throw HtmlParserException("Unknown field in FONT WEIGHT=" + a.Value);
        } else {
            throw HtmlParserException("Unknown field in FONT: " + a.Name);
        }
    }
}

// ---- Layout --------------------------------------------------------------------------------------------

namespace {

struct TFontState {
    int Size;
    std::string Name;
    TColor Color;
    TFontStyles Style;
};

// One layout call: position, line, extent, the tag stacks of this call and the flags the tags share.
class THtmlLayout {
public:
    THtmlLayout(TLumCanvas& canvas, int x, int y, bool draw)
        : FCanvas(canvas), FLeft(x), FX(x), FY(y), FDraw(draw), FLineHeight(canvas.CharHeight())
    {
    }

    void RunTags(std::string text)
    {
        while (!text.empty()) ProcessToken(NextHtmlToken(text));
    }

    void RunPlain(const std::string& text)
    {
        std::size_t pos = 0;
        for (bool first = true;; first = false) {
            const std::size_t crlf = text.find("\r\n", pos);
            if (!first) LineBreak();
            DrawSegment(text.substr(pos, crlf == std::string::npos ? std::string::npos : crlf - pos), false);
            if (crlf == std::string::npos) break;
            pos = crlf + 2;
        }
    }

    TSize Extent() const { return FExtent; }

private:
    TFont& Font() { return FCanvas.Font(); }
    int CharHeight() { return FCanvas.CharHeight(); }
    // The pen moves in 64 bits and stops at the int bounds: a tag's font or picture size may be absurd.
    void MoveX(std::int64_t By) { FX = ClampedPixel(FX + By); }
    void MoveY(std::int64_t By) { FY = ClampedPixel(FY + By); }

    void LineBreak()
    {
        MoveY(CharHeight());
        FX = FLeft;
        FLineHeight = 0;
    }

    void SaveFont()
    {
        FFontStack.push_back({Font().Size(), Font().Name(), Font().Color(), Font().Style()});
        FTokenSavedFont = true;
    }

    void RestoreFont()
    {
        if (FFontStack.empty()) return;
        const TFontState s = FFontStack.back();
        FFontStack.pop_back();
        Font().BeginUpdate();
        Font().SetSize(s.Size);
        Font().SetName(s.Name);
        Font().SetColor(s.Color);
        Font().SetStyle(s.Style);
        Font().EndUpdate();
    }

    void AddStyle(TFontStyle style, const std::string& tag)
    {
        TFontStyles s = Font().Style();
        s.Include(style);
        Font().SetStyle(s);
        FStyleTags.push_back(tag);
    }

    void RemoveStyle(TFontStyle style)
    {
        TFontStyles s = Font().Style();
        s.Exclude(style);
        Font().SetStyle(s);
    }

    void ProcessToken(std::string token)
    {
        FTokenSavedFont = false;
        if (token.compare(0, 2, "\r\n") == 0) {
            LineBreak();
            token.erase(0, 2);
            if (token.empty()) return;
        }
        if (ProcessTag(token))
            FLastTagSavedFont = FTokenSavedFont;
        else
            DrawSegment(token, true);
    }

    // Handles a tag of the table; false for plain text and unknown tags.
    bool ProcessTag(const std::string& token)
    {
        static constexpr struct {
            const char* Tag;
            int Size;
        } kHeadings[] = {{"<H1>", 48}, {"<H2>", 36}, {"<H3>", 24}, {"<H4>", 18}, {"<H5>", 12}, {"<H6>", 8}};
        static constexpr struct {
            const char* Open;
            const char* Close;
            TFontStyle Style;
        } kStyles[] = {{"<B>", "</B>", fsBold},           {"<BOLD>", "</BOLD>", fsBold},
                       {"<STRONG>", "</STRONG>", fsBold}, {"<I>", "</I>", fsItalic},
                       {"<U>", "</U>", fsUnderline},       {"<STRIKE>", "</STRIKE>", fsStrikeOut}};

        const std::string t = UpperCase(token);
        if (t == "<BR>" || t == "<P>") {
            FX = FLeft;
            FLineHeight = 0;
            MoveY(CharHeight());
        } else if (t == "<BIG>" || t == "<SMALL>") {
            SaveFont();
            Font().SetSize(ClampedPixel(Font().Size() + std::int64_t(t == "<BIG>" ? 2 : -2)));
        } else if (t == "<SUB>") {
            SaveFont();
            Font().SetSize(Font().Size() / 2);
            MoveY(CharHeight());
        } else if (t == "</SUB>") {
            RestoreFont();
            MoveY(-std::int64_t(CharHeight()));
        } else if (t == "<SUPER>") {
            MoveY(-std::int64_t(CharHeight()));
            SaveFont();
        } else if (t == "</SUPER>") {
            RestoreFont();
            MoveY(CharHeight() / 2);
        } else if (t == "<PRE>") {
            SaveFont();
            ApplyHtmlFontTag(Font(), "<FONT NAME=\"COURIER NEW\">");
        } else if (t == "</PRE>" || t.compare(0, 6, "</FONT") == 0) {
            RestoreFont();
        } else if (t == "<CENTER>" || t == "</CENTER>") {
            FCentring = t == "<CENTER>";
        } else if (t.compare(0, 5, "<IMG ") == 0) {
            DrawImage(token);
        } else if (t.compare(0, 6, "<FONT ") == 0) {
            SaveFont();
            ApplyHtmlFontTag(Font(), t);
        } else if (t == "</>") {
            CloseLast();
        } else if (t == "<HR>") {
            Rule();
        } else {
            for (const auto& h : kHeadings)
                if (t == h.Tag) {
                    SaveFont();
                    Font().SetSize(h.Size);
                    return true;
                }
            for (const auto& s : kStyles) {
                if (t == s.Open) {
                    AddStyle(s.Style, t);
                    return true;
                }
                if (t == s.Close) {
                    RemoveStyle(s.Style);
                    return true;
                }
            }
            return false;
        }
        return true;
    }

    // "</>": undoes the last font change when the last tag saved one, else closes the last style tag.
    void CloseLast()
    {
        if (FLastTagSavedFont) {
            RestoreFont();
            return;
        }
        std::string closing = "</";
        if (!FStyleTags.empty()) {
            closing += FStyleTags.back().substr(1);
            FStyleTags.pop_back();
        }
        ProcessToken(closing);
    }

    void Rule()
    {
        FX = FLeft;
        if (FDraw) {
            TPen& pen = FCanvas.Pen();
            pen.SetStyle(psSolid);
            pen.SetWidth(1);
            pen.SetColor(0x808080);
            FCanvas.DrawHorizLine(FX, ClampedPixel(FX + std::int64_t(100)), FY);
        }
        MoveY(CharHeight());
    }

    void DrawSegment(std::string text, bool entities)
    {
        if (entities) {
            static constexpr std::pair<const char*, const char*> kEntities[] = {
                {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}, {"&quot;", "\""}};
            for (const auto& [from, to] : kEntities) text = ReplaceAll(text, from, to);
        }
        const bool lineEnd = text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0;
        if (lineEnd) text.erase(text.size() - 2);
        if (!text.empty()) {
            const int w = FCanvas.MeasureTextWidth(text);
            const TRect bounds = FCanvas.Bounds();
            if (FCentring) FX = ClampedPixel((std::int64_t(bounds.Left) + bounds.Right) / 2 - w / 2);
            const int h = FCanvas.MeasureTextHeight(text);
            if (FLineHeight == 0) {
                FLineHeight = CharHeight();
                MoveY(FLineHeight);
            } else if (FLineHeight > h) {
                MoveY(std::int64_t(FLineHeight) - h - 1);
            }
            if (FDraw) FCanvas.WriteText(FX, FY, text);
            MoveX(w);
            FExtent.cx = std::max(FExtent.cx, FX);
            FLineHeight = std::max(FLineHeight, h);
            FExtent.cy = std::max(FExtent.cy, FLineHeight);
        }
        if (lineEnd) {
            FLineHeight = 0;
            FX = FLeft;
        }
    }

    static std::string ReplaceAll(const std::string& s, const std::string& from, const std::string& to)
    {
        std::string out;
        std::size_t pos = 0;
        for (std::size_t hit; (hit = s.find(from, pos)) != std::string::npos; pos = hit + from.size()) {
            out.append(s, pos, hit - pos);
            out += to;
        }
        out.append(s, pos);
        return out;
    }

    void DrawImage(const std::string& token)
    {
        std::string body = TagBody(token, 5);
        if (body.compare(0, 2, "\r\n") == 0) body.erase(0, 2);
        int width = 0, height = 0;
        std::string source;
        for (const TAttribute& a : SplitAttributes(body)) {
            const std::string name = UpperCase(a.Name);
            if (name == "WIDTH") width = IntegerValue(a.Value);
            else if (name == "HEIGHT") height = IntegerValue(a.Value);
            else if (name == "SRC") source = a.Value;
        }
        if (source.empty()) return;
        if (source.front() == '"') source.erase(0, 1);
        if (!source.empty() && source.back() == '"') source.pop_back();
        if (!DrawPicture(source, width, height) && FDraw) DrawBrokenImage(FX, FY, width, height);
    }

    // Loads and draws the picture; false when it cannot be found, loaded or drawn.
    bool DrawPicture(const std::string& source, int width, int height)
    {
        const TLumHtmlModule& m = LumHtmlModule();
        if (!m.HtmlGraphicForExtension || !m.HtmlImageLoader) return false;
        const std::size_t dot = source.rfind('.');
        const std::string extension = dot == std::string::npos ? std::string() : UpperCase(source.substr(dot));
        try {
            std::unique_ptr<TGraphic> graphic = m.HtmlGraphicForExtension(extension);
            std::vector<std::uint8_t> stream;
            if (!graphic || m.HtmlImageLoader(source, stream) != 0 || stream.empty()) return false;
            graphic->LoadFromBytes(stream.data(), stream.size());
            if (width == 0) width = graphic->Width();
            if (height == 0) height = graphic->Height();
            if (FDraw) {
                if (graphic->Width() == width && graphic->Height() == height)
                    FCanvas.DrawGraphicAt(FX, FY, graphic.get());
                else
                    FCanvas.StretchGraphic({FX, FY, ClampedPixel(std::int64_t(FX) + width),
                                            ClampedPixel(std::int64_t(FY) + height)},
                                           graphic.get());
            }
        } catch (const Exception&) {
            return false;
        }
        MoveX(width);
        MoveY(height);
        return true;
    }

    void DrawBrokenImage(int x, int y, int w, int h)
    {
        if (w == 0) w = 40;
        if (h == 0) h = 40;
        TPen& pen = FCanvas.Pen();
        pen.SetStyle(psSolid);
        pen.SetColor(0x0000FF);
        pen.SetWidth(1);
        FCanvas.Brush().SetStyle(bsSolid);
        FCanvas.Brush().SetColor(clWhite);
        using L = std::int64_t;
        const int right = ClampedPixel(L(x) + w), bottom = ClampedPixel(L(y) + h);
        const int lastX = ClampedPixel(L(x) + w - 1), lastY = ClampedPixel(L(y) + h - 1);
        FCanvas.DrawRectangleBox(x, y, right, bottom);
        FCanvas.DrawLineXY(x, y, lastX, lastY);
        FCanvas.DrawLineXY(x, lastY, lastX, y);
    }

    TLumCanvas& FCanvas;
    int FLeft, FX, FY;
    bool FDraw;
    int FLineHeight;
    TSize FExtent;
    bool FCentring = false;
    bool FTokenSavedFont = false;
    bool FLastTagSavedFont = false;
    std::vector<std::string> FStyleTags;
    std::vector<TFontState> FFontStack;
};

TSize RunTagged(TLumCanvas& canvas, int x, int y, bool draw, const std::string& text)
{
    THtmlLayout layout(canvas, x, y, draw);
    layout.RunTags(text);
    return layout.Extent();
}

} // namespace

void HtmlTextLayout(TLumCanvas& canvas, int x, int y, TSize& extent, bool draw, const std::string& text)
{
    const TFont saved = canvas.Font();
    auto restore = [&] { canvas.Font().Assign(saved); };
    try {
        // Drawing waits for a measuring pass that proves the tags well formed, so a malformed tag never
        // leaves half a text drawn.
        extent = RunTagged(canvas, x, y, false, text);
        restore();
        if (draw) {
            extent = RunTagged(canvas, x, y, true, text);
            restore();
        }
        return;
    } catch (const HtmlParserException&) {
    } catch (const EConvertError&) {
    }
    restore();
    THtmlLayout plain(canvas, x, y, draw);
    plain.RunPlain(text);
    extent = plain.Extent();
    restore();
}

void MeasureHtmlText(TLumCanvas& canvas, const std::string& text, TSize& extent)
{
    HtmlTextLayout(canvas, 0, 0, extent, false, text);
}

void DrawHtmlText(TLumCanvas& canvas, int x, int y, const std::string& text)
{
    TSize extent;
    HtmlTextLayout(canvas, x, y, extent, true, text);
}
