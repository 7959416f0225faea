// The mini-markup engine. Each line is interpreted twice: a first pass measures how much text the line
// takes and its height, a second pass draws it (or measures and hit-tests) in the placed line. The font
// of the first pass runs on from line to line on its own; everything else of both passes runs on from
// the second pass, so every tag counts once. Tags do not nest: closing tags restore from the base font.
#include "grid/EsgHTMLE.h"

#include "grid/PictureContainer.h"
#include "platform/controls/ShellApi.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Icon.h"
#include "platform/graphics/ImageList.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace {

std::string Upper(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string Lower(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Replaces every occurrence of From (any letter case) by To; true when something was replaced.
bool ReplaceAllNoCase(std::string& s, const std::string& From, const std::string& To)
{
    const std::string up = Upper(From);
    bool any = false;
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        if (s.size() - i >= From.size() && std::equal(up.begin(), up.end(), s.begin() + static_cast<std::ptrdiff_t>(i), [](char a, char b) {
                return a == std::toupper(static_cast<unsigned char>(b));
            })) {
            out += To;
            i += From.size();
            any = true;
        } else out += s[i++];
    }
    if (any) s = std::move(out);
    return any;
}

// Where an attribute's name stands in an upper-cased tag: not inside a longer word ("ID" is not found in
// "WIDTH", "COLOR" not in "BGCOLOR"), with "=" after it. npos when absent.
std::size_t FindAttribute(const std::string& Up, const std::string& Name)
{
    for (std::size_t at = Up.find(Name); at != std::string::npos; at = Up.find(Name, at + 1)) {
        if (at > 0 && std::isalpha(static_cast<unsigned char>(Up[at - 1]))) continue;
        std::size_t e = at + Name.size();
        while (e < Up.size() && Up[e] == ' ') ++e;
        if (e < Up.size() && Up[e] == '=') return at;
    }
    return std::string::npos;
}

// The text between the first two double quotes after the attribute Name of Tag (found in the
// upper-cased tag); empty when absent.
std::string Attribute(const std::string& Tag, const std::string& Name)
{
    const auto at = FindAttribute(Upper(Tag), Name);
    if (at == std::string::npos) return "";
    const auto q1 = Tag.find('"', at + Name.size());
    if (q1 == std::string::npos) return "";
    const auto q2 = Tag.find('"', q1 + 1);
    if (q2 == std::string::npos) return "";
    return Tag.substr(q1 + 1, q2 - q1 - 1);
}

// The leading digits of a text as a number (0 when none).
int LeadingNumber(const std::string& s, std::size_t from = 0)
{
    long v = 0;
    for (std::size_t i = from; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && v < 100000; ++i) v = v * 10 + (s[i] - '0');
    return static_cast<int>(v);
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

struct TNamedColour {
    const char* Name;
    TColor Value;
};

const TNamedColour ColourNames[] = {
    {"clred", 0x0000FF},      {"clblack", 0x000000},   {"clblue", 0xFF0000},   {"clgreen", 0x008000},   {"claqua", 0xFFFF00},
    {"clyellow", 0x00FFFF},   {"clfuchsia", 0xFF00FF}, {"clwhite", 0xFFFFFF},  {"cllime", 0x00FF00},    {"clsilver", 0xC0C0C0},
    {"clgray", 0x808080},     {"clolive", 0x008080},   {"clnavy", 0x800000},   {"clpurple", 0x800080},  {"clteal", 0x808000},
    {"clmaroon", 0x000080},   {"clbackground", -16777215}, {"clactivecaption", -16777214}, {"clinactivecaption", -16777213},
    {"clmenu", -16777212},    {"clwindow", -16777211}, {"clwindowframe", -16777210}, {"clmenutext", -16777209},
    {"clwindowtext", -16777208}, {"clcaptiontext", -16777207}, {"clactiveborder", -16777206}, {"clinactiveborder", -16777205},
    {"clappworkspace", -16777204}, {"clhighlight", -16777203}, {"clhighlighttext", -16777202}, {"clbtnface", -16777201},
    {"clbtnshadow", -16777200}, {"clgraytext", -16777199}, {"clbtntext", -16777198}, {"clinactivecaptiontext", -16777197},
    {"clbtnhighlight", -16777196}, {"cl3ddkshadow", -16777195}, {"cl3dlight", -16777194}, {"clinfotext", -16777193},
    {"clinfobk", -16777192},
};

TColor SystemColour(int n) { return static_cast<TColor>(0xFF000000u + static_cast<unsigned>(n)); }

// The next "<" of a text read from its front: searched once per tag rather than once per run, so a long
// text of many runs lays out in linear time. Serves the suffixes of one text only.
class TTagFinder {
public:
    std::size_t Next(std::string_view Text)
    {
        const char* end = Text.data() + Text.size();
        if (!FAt || FAt < Text.data()) {
            const auto at = Text.find('<');
            FAt = at == std::string_view::npos ? end : Text.data() + at;
        }
        return static_cast<std::size_t>(FAt - Text.data());
    }

private:
    const char* FAt = nullptr;
};

// What an embedded control of a CONTROL tag is.
struct TControlTag {
    std::string Type, Width, ID, Value;
};

} // namespace

TColor HTMLColor(const std::string& Value)
{
    if (!Value.empty() && Value[0] == '#') {
        const std::string v = Upper(Value) + "000000";
        const int r = HexDigit(v[1]) * 16 + HexDigit(v[2]), g = HexDigit(v[3]) * 16 + HexDigit(v[4]), b = HexDigit(v[5]) * 16 + HexDigit(v[6]);
        return static_cast<TColor>(r | g << 8 | b << 16);
    }
    const std::string name = Lower(Value);
    for (const TNamedColour& c : ColourNames)
        if (name == c.Name) return c.Value;
    return 0;
}

void ParseControlTag(const std::string& Tag, std::string& Type, std::string& Width, std::string& ID, std::string& Value)
{
    const std::string up = Upper(Tag);
    // The value of an attribute: its name found in the upper-cased tag, the text taken from the tag.
    (void)up;
    auto attr = [&](const std::string& name) { return Attribute(Tag, name); };
    Type = Upper(attr("TYPE"));
    Width = attr("WIDTH");
    ID = attr("ID");
    Value = attr("VALUE");
    ReplaceAllNoCase(Value, "&lt;", "<");
    ReplaceAllNoCase(Value, "&gt;", ">");
}

bool SetHTMLControlValue(std::string& Text, const std::string& ID, const std::string& Value)
{
    std::size_t from = 0;
    for (;;) {
        const auto open = Text.find('<', from);
        if (open == std::string::npos) return false;
        const auto close = Text.find('>', open);
        if (close == std::string::npos) return false;
        from = close;
        if (open + 1 >= Text.size() || std::toupper(static_cast<unsigned char>(Text[open + 1])) != 'C') continue;
        const std::string tag = Text.substr(open, close - open);
        TControlTag c;
        ParseControlTag(tag.size() > 8 ? tag.substr(8) : std::string(), c.Type, c.Width, c.ID, c.Value);
        if (c.ID != ID) continue;
        std::string v = Value;
        std::string escaped;
        for (char ch : v) escaped += ch == '<' ? std::string("&lt;") : ch == '>' ? std::string("&gt;") : std::string(1, ch);
        const std::string rewritten = "<CONTROL ID=\"" + c.ID + "\" VALUE=\"" + escaped + "\" WIDTH=\"" + c.Width + "\" TYPE=\"" + c.Type + "\">";
        Text = Text.substr(0, open) + rewritten + Text.substr(close + 1);
        return true;
    }
}

std::string HTMLToPlainText(const std::string& Text)
{
    std::string s;
    s.reserve(Text.size());
    for (std::size_t i = 0; i < Text.size();) {
        if (Text[i] == '<' && i + 3 < Text.size() && Text[i + 3] == '>') {
            const std::string tag = Upper(Text.substr(i + 1, 2));
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

namespace {

// The state of one call, shared by both passes of every line.
struct TFlow {
    TFont Font;                       // this pass's current font
    bool InAnchor = false, Sub = false, Sup = false, Shadow = false, ErrorMark = false, Hidden = false;
    int ListLevel = 0;
    std::string AnchorRef;
    int AnchorCount = 0, ImageCount = 0;
    bool AnchorMarked = false;
    TColor Background = clNone;       // the text background in force (clNone: transparent)
    TColor SavedFontBg = clNone, SavedParaBg = clNone, SavedHiFont = clNone, SavedHiBg = clNone;
    int Align = 0, Indent = 0;        // paragraph: 0 left, 1 right, 2 centre
    bool ParaBack = false;
    TColor ParaColor = clNone;
    int Rotation = 0;                 // tenths of a degree
    int ObjectWidth = 0, ObjectHeight = 0;
};

// What the interpretation of one line gives back.
struct TLine {
    std::string Source;
    bool EndsInBlank = false;         // the line's visible text so far (tags aside) ends in a blank
    int Width = 0, Height = 0, SubDepth = 0, SupLift = 0, BaseLift = 0;
    bool AnchorHit = false, ControlHit = false;
};

class TMarkup {
public:
    TMarkup(TCanvas& c, const TRect& r, const THTMLPaintParams& p, THTMLResult& res) : C(c), R(r), P(p), Res(res) {}

    bool Run(std::string text)
    {
        Base = C.Font();
        EntryBrush = C.Brush().Color();
        const int oldMode = C.SetBkMode(TRANSPARENT);
        const TBrushStyle oldStyle = C.Brush().Style();
        Prepare(text);
        TFlow flow2;
        flow2.Font.Assign(Base);
        TFont font1 = Base;
        int top = R.Top;
        bool result = false, anyLine = false;
        std::string_view rest = text;
        TTagFinder tags;
        // Guards against a line that takes nothing (a malformed tag cannot stop the loop).
        int guard = 0;
        while (!rest.empty() && guard++ < 100000) {
            anyLine = true;
            C.Font().Assign(font1);
            const int ghStart = C.TextHeight("gh");
            // Pass 1: what the line takes and how big it is.
            TFlow flow1 = flow2;
            flow1.Font.Assign(font1);
            TLine line;
            line.Height = C.TextHeight("gh");
            const std::size_t before = rest.size();
            Interpret(rest, tags, flow1, {R.Left + 1, top, R.Right, R.Bottom}, true, false, line);
            font1 = flow1.Font;
            if (rest.size() == before && line.Source.empty()) {
                // Nothing taken: drop one character so the text shrinks.
                rest.remove_prefix(1);
            }
            // Placement.
            int left = R.Left + 1;
            if (flow1.Align == 1 && R.Right - line.Width > left) left = R.Right - line.Width;
            else if (flow1.Align == 2 && (R.Right - left - line.Width) / 2 > 0) left += (R.Right - left - line.Width) / 2;
            left += flow1.Indent;
            const int bottom = top + line.Height + line.SubDepth + line.SupLift;
            const int baseline = top + line.Height + line.SupLift;
            if (!P.MeasureOnly) {
                TLine drawn;
                drawn.Height = line.Height;
                drawn.SubDepth = line.SubDepth;
                drawn.SupLift = line.SupLift;
                drawn.BaseLift = line.BaseLift;
                std::string_view source = line.Source;
                TTagFinder sourceTags;
                C.Font().Assign(flow2.Font);
                Interpret(source, sourceTags, flow2, {left, top, R.Right, bottom}, P.HitTestOnly, true, drawn, baseline);
                C.Font().Assign(flow2.Font);
                const int gh = C.TextHeight("gh");
                if ((drawn.AnchorHit && P.YPos > baseline - drawn.BaseLift - gh && P.YPos < baseline - drawn.BaseLift) || drawn.ControlHit)
                    result = true;
            } else flow2 = flow1;
            const int advance = line.Height + line.SubDepth + line.SupLift;
            top += advance;
            Res.YSize += advance;
            if (!P.MeasureOnly && top + ghStart > R.Bottom) break;
        }
        C.Font().Assign(Base);
        if (!anyLine) Res.YSize = C.TextHeight("gh");
        C.Brush().SetStyle(oldStyle);
        C.Brush().SetColor(EntryBrush);
        C.SetBkMode(oldMode);
        return P.MeasureOnly ? false : result;
    }

private:
    void Prepare(std::string& text)
    {
        if (text.find('&') != std::string::npos) {
            static const std::pair<const char*, const char*> entities[] = {
                {"&amp;", "&&"},     {"&quot;", "\""},    {"&sect;", "\xA7"}, {"&permil;", "\x89"}, {"&reg;", "\xAE"},
                {"&copy;", "\xA9"},  {"&para;", "\xB6"},  {"&trade;", "\x99"}, {"&euro;", "\x80"},
            };
            for (bool changed = true; changed;) {
                changed = false;
                for (const auto& e : entities) changed |= ReplaceAllNoCase(text, e.first, e.second);
            }
        }
        if (const auto at = text.find("<#"); at != std::string::npos) {
            const auto close = text.find('>', at);
            if (close != std::string::npos) text = text.substr(0, at) + text.substr(at + 2, close - at - 2) + text.substr(close + 1);
        }
        std::string out;
        out.reserve(text.size());
        for (char c : text) {
            if (c == '\r') out += "<BR>";
            else if (c != '\n') out += c;
        }
        text = std::move(out);
    }

    unsigned RunFormat() const { return DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING | (P.WordWrap ? 0u : unsigned(DT_END_ELLIPSIS)); }

    int Scale(int v, bool x) const { return v * C.GetDeviceCaps(x ? LOGPIXELSX : LOGPIXELSY) / 96; }

    // Interprets one line from the front of Text (consuming it); Measure adds run widths, Draw paints.
    void Interpret(std::string_view& Text, TTagFinder& Tags, TFlow& F, const TRect& L, bool Measure, bool SecondPass, TLine& Line,
                   int Baseline = 0)
    {
        const bool drawing = SecondPass && !Measure;
        F.Sub = F.Sup = false;
        C.Font().Assign(F.Font);
        int cx = L.Left;
        int width = 0, trailing = 0;
        bool lineEnd = false, lineFull = false, hasItem = false, firstRun = true;
        if (drawing && F.ParaBack) FillBand(L.Top, L.Top + Line.Height, F.ParaColor);
        const int bottomLine = SecondPass ? Baseline : L.Top + Line.Height;
        while (!Text.empty() && !lineEnd && !lineFull) {
            if (Text[0] != '<') {
                // A text run: up to the next tag, or through the next blank when wrapping.
                std::size_t end = Tags.Next(Text);
                if (P.WordWrap) {
                    const auto blank = Text.substr(0, end).find(' ');
                    if (blank != std::string_view::npos) end = blank + 1;
                }
                const std::string_view source = Text.substr(0, end);
                std::string run(source);
                ReplaceAllNoCase(run, "&nbsp;", " ");
                ReplaceAllNoCase(run, "&lt;", "<");
                ReplaceAllNoCase(run, "&gt;", ">");
                // A run's height is its font's, whatever its characters: the run is measured once, below.
                const int h = run.empty() ? 0 : C.TextHeight(" ");
                Line.Height = std::max(Line.Height, h);
                if (F.Sub) Line.SubDepth = std::max(Line.SubDepth, h / 4);
                if (F.Sup) Line.SupLift = std::max(Line.SupLift, h / 4);
                if (F.Hidden) {
                    Text.remove_prefix(end);
                    Line.Source += source;
                    continue;
                }
                TRect ext{cx, L.Top, cx + 1, L.Top + 1};
                C.DrawText(run, ext, (RunFormat() | DT_CALCRECT) & ~DT_END_ELLIPSIS);
                const int w = ext.Right - ext.Left;
                const int before = width;
                if (Measure) {
                    width += w;
                    const int dx = P.XPos - L.Left;
                    // Anchors are hit-tested where the line is placed: in a measuring second pass.
                    if (SecondPass && F.InAnchor && dx >= before && dx <= width) {
                        Line.AnchorHit = true;
                        if (P.YPos > L.Top) {
                            Res.AnchorVal = F.AnchorRef;
                            F.AnchorMarked = true;
                        }
                    }
                }
                if (drawing) DrawRun(run, F, cx, L, bottomLine - (F.Sup ? Line.SupLift : 0) + (F.Sub ? Line.SubDepth : 0) - Line.BaseLift, w);
                // A word is never split between runs: a run after a line whose visible text ends in no
                // blank stays (tags between the runs do not count).
                const bool fits = width < L.Width() || w >= L.Width() || (!Line.Source.empty() && !Line.EndsInBlank);
                if (fits || !P.WordWrap || SecondPass) {
                    Text.remove_prefix(end);
                    Line.Source += source;
                    if (!source.empty()) Line.EndsInBlank = source.back() == ' ';
                    trailing = !run.empty() && run.back() == ' ' ? C.TextWidth(" ") : 0;
                    cx += w;
                    // Without wrapping, a run past the right edge ends the text (its ellipsis marks the cut).
                    const bool overflows = !(width < L.Width() || w >= L.Width());
                    if (!P.WordWrap && overflows && !firstRun && !SecondPass) {
                        Text.remove_prefix(Text.size());
                        break;
                    }
                } else {
                    width = before;
                    lineEnd = true;
                }
                firstRun = false;
                continue;
            }
            // A tag.
            if (Text.size() < 3) {
                Text.remove_prefix(Text.size());
                break;
            }
            const auto close = Text.find('>');
            if (close == std::string_view::npos) {
                Text.remove_prefix(Text.size());
                break;
            }
            const std::string tag(Text.substr(0, close + 1));
            const TTagEffect e = Tag(tag, F, L, Line, cx, width, hasItem, drawing, SecondPass, bottomLine);
            if (e == TTagEffect::Full) {
                lineFull = true;
                break;
            }
            Text.remove_prefix(close + 1);
            Line.Source += tag;
            if (e == TTagEffect::End) lineEnd = true;
        }
        width -= trailing;
        if (!SecondPass || Measure) Line.Width = width;
        Res.XSize = std::max(Res.XSize, width);
        F.Font.Assign(C.Font());
    }

    void FillBand(int top, int bottom, TColor colour)
    {
        const TPen pen = C.Pen();
        C.Brush().SetStyle(bsSolid);
        C.Brush().SetColor(colour);
        C.Pen().SetColor(colour);
        C.Rectangle(R.Left, top, R.Right, bottom);
        C.SetPen(pen);
    }

    void DrawRun(const std::string& run, const TFlow& F, int cx, const TRect& L, int bottom, int w)
    {
        TRect r{cx, L.Top, L.Right, bottom};
        if (F.Shadow) {
            const TColor colour = C.Font().Color();
            C.Font().SetColor(0x808080);
            TRect s{r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1};
            C.DrawText(run, s, RunFormat());
            C.Font().SetColor(colour);
        }
        if (F.Background != clNone) {
            C.SetBkMode(OPAQUE);
            C.SetBkColor(ColorToRGB(F.Background));
        } else C.SetBkMode(TRANSPARENT);
        C.DrawText(run, r, RunFormat());
        C.SetBkMode(TRANSPARENT);
        if (F.ErrorMark) {
            const TPen pen = C.Pen();
            C.Pen().SetColor(0x0000FF);
            C.Pen().SetWidth(1);
            int x = cx & ~1;
            const int right = cx + w;
            bool low = x % 4 == 0;
            C.MoveTo(x, bottom + (low ? 1 : -1));
            while (x < right) {
                x += 2;
                low = !low;
                C.LineTo(x, bottom + (low ? 1 : -1));
            }
            C.SetPen(pen);
        }
    }

    enum class TTagEffect { None, End, Full };

    TTagEffect Tag(const std::string& tag, TFlow& F, const TRect& L, TLine& Line, int& cx, int& width, bool& hasItem, bool drawing,
                   bool second, int bottom)
    {
        const std::string up = Upper(tag);
        const bool closing = up.size() > 1 && up[1] == '/';
        const std::string name = up.substr(closing ? 2 : 1);
        auto starts = [&](const char* p) { return name.rfind(p, 0) == 0; };
        auto style = [&](TFontStyle s, bool on) {
            TFontStyles st = C.Font().Style();
            if (on) st.Include(s);
            else st.Exclude(s);
            C.Font().SetStyle(st);
        };
        if (closing) {
            if (starts("A")) {
                if (drawing) style(fsUnderline, false);
                C.Font().SetColor(Base.Color());
                F.InAnchor = false;
                if (F.AnchorMarked) {
                    Res.MouseLink = F.AnchorCount;
                    F.AnchorMarked = false;
                }
            } else if (starts("B>")) style(fsBold, false);
            else if (starts("B")) C.Font().SetColor(Base.Color());
            else if (starts("E")) {
                if (drawing) F.ErrorMark = false;
            } else if (starts("F")) {
                C.Font().SetName(Base.Name());
                C.Font().SetSize(Base.Size());
                if (drawing) {
                    C.Font().SetColor(Base.Color());
                    F.Background = F.SavedFontBg;
                }
            } else if (starts("H")) {
                if (drawing) {
                    if (F.SavedHiFont != clNone) C.Font().SetColor(F.SavedHiFont);
                    F.Background = F.SavedHiBg;
                }
            } else if (starts("I")) style(fsItalic, false);
            else if (starts("L")) return TTagEffect::End;
            else if (starts("P")) {
                if (drawing) {
                    F.Background = F.SavedParaBg;
                    F.ParaBack = false;
                }
                return TTagEffect::End;
            } else if (starts("R")) C.Font().SetOrientation(0);
            else if (starts("S>")) style(fsStrikeOut, false);
            else if (starts("SH")) F.Shadow = false;
            else if (starts("SU")) F.Sub = F.Sup = false;
            else if (starts("U>")) style(fsUnderline, false);
            else if (starts("UL")) {
                if (F.ListLevel > 0) --F.ListLevel;
                else style(fsUnderline, false);
            } else if (starts("Z")) F.Hidden = false;
            return TTagEffect::None;
        }
        if (starts("A")) {
            if (second) ++F.AnchorCount;
            if (drawing) style(fsUnderline, true);
            C.Font().SetColor(P.URLColor);
            const auto q1 = tag.find('"');
            const auto q2 = q1 == std::string::npos ? q1 : tag.find('"', q1 + 1);
            F.AnchorRef = q2 == std::string::npos ? std::string() : tag.substr(q1 + 1, q2 - q1 - 1);
            F.InAnchor = true;
        } else if (starts("B>")) style(fsBold, true);
        else if (starts("BR")) return TTagEffect::End;
        else if (starts("BL")) {
            if (!P.BlinkOn) C.Font().SetColor(EntryBrush);
        } else if (starts("BO")) Body(up, F, drawing);
        else if (starts("C")) return Control(tag, F, L, Line, cx, width, drawing, bottom);
        else if (starts("E")) {
            if (drawing) F.ErrorMark = true;
        } else if (starts("F")) Font(up, F, drawing);
        else if (starts("HI")) {
            if (drawing) {
                F.SavedHiFont = C.Font().Color();
                F.SavedHiBg = F.Background;
                F.Background = SystemColour(13);
                C.Font().SetColor(SystemColour(14));
            }
        } else if (starts("HR")) {
            if (drawing) {
                const TPen pen = C.Pen();
                C.Pen().SetColor(clBlack);
                C.MoveTo(L.Left, bottom + 1);
                C.LineTo(L.Right, bottom + 1);
                C.SetPen(pen);
            }
            return TTagEffect::End;
        } else if (starts("I>")) style(fsItalic, true);
        else if (starts("IN")) {
            const int x = LeadingNumber(Attribute(tag, "X"));
            if (width < x) {
                width = x;
                cx = R.Left + x;
            }
        } else if (starts("IM")) return Image(tag, F, L, Line, cx, width, drawing);
        else if (starts("L")) {
            width += 12 * F.ListLevel;
            if (hasItem) return TTagEffect::Full;
            hasItem = true;
            cx += 12 * std::max(0, F.ListLevel - 1);
            if (drawing) {
                const std::string name0 = C.Font().Name();
                C.Font().SetName("Symbol");
                const std::string bullet = F.ListLevel % 2 == 1 ? std::string(1, static_cast<char>(183)) : std::string("o");
                TRect r{cx, L.Top, cx + 12, bottom};
                C.DrawText(bullet, r, DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
                C.Font().SetName(name0);
            }
            cx += 12;
        } else if (starts("P")) Paragraph(up, F, L, Line, drawing);
        else if (starts("R")) {
            // The angle is the number after the first letter "a".
            const auto a = Lower(tag).find('a', 2);
            int angle = 0;
            if (a != std::string::npos) {
                std::size_t i = a + 1;
                while (i < tag.size() && tag[i] != '-' && !std::isdigit(static_cast<unsigned char>(tag[i])) && tag[i] != '>') ++i;
                const bool negative = i < tag.size() && tag[i] == '-';
                angle = LeadingNumber(tag, i + (negative ? 1 : 0)) * (negative ? -1 : 1);
            }
            C.Font().SetOrientation(angle * 10);
        } else if (starts("S>")) style(fsStrikeOut, true);
        else if (starts("SH")) F.Shadow = true;
        else if (starts("SUB")) F.Sub = true;
        else if (starts("SUP")) F.Sup = true;
        else if (starts("U>")) style(fsUnderline, true);
        else if (starts("UL")) {
            ++F.ListLevel;
            return TTagEffect::End;
        } else if (starts("Z")) F.Hidden = true;
        return TTagEffect::None;
    }

    void Body(const std::string& up, TFlow& F, bool drawing)
    {
        if (!drawing) return;
        const std::string back = Attribute(up, "BACKGROUND");
        if (!back.empty()) {
            if (THTMLPicture* pic = PictureFor(back); pic && !pic->Empty() && pic->Width() > 0 && pic->Height() > 0) {
                const int level = C.SaveDC();
                C.IntersectClipRect(R.Left, R.Top, R.Right, R.Bottom);
                for (int j = 0; j * pic->Height() < R.Height(); ++j)
                    for (int i = 0; i * pic->Width() < R.Width(); ++i)
                        pic->DrawInto(C, {R.Left + i * pic->Width(), R.Top + j * pic->Height(), R.Right, R.Bottom});
                C.RestoreDC(level);
            }
        }
        const std::string bg = Attribute(up, "BGCOLOR");
        if (bg.find("CL") != std::string::npos || bg.find('#') != std::string::npos) {
            const TColor c = HTMLColor(bg);
            F.Background = c;
            FillRect(R, c);
            F.SavedFontBg = c;
        }
    }

    void FillRect(const TRect& r, TColor c)
    {
        const TPen pen = C.Pen();
        C.Brush().SetStyle(bsSolid);
        C.Brush().SetColor(c);
        C.Pen().SetColor(c);
        C.Rectangle(r);
        C.SetPen(pen);
    }

    void Font(const std::string& up, TFlow& F, bool drawing)
    {
        const std::string face = Attribute(up, "FACE");
        if (!face.empty()) C.Font().SetName(face);
        const std::string colour = Attribute(up, "COLOR");
        if (!colour.empty()) C.Font().SetColor(HTMLColor(colour));
        if (drawing) {
            const std::string bg = Attribute(up, "BGCOLOR");
            if (!bg.empty()) {
                F.SavedFontBg = F.Background;
                F.Background = HTMLColor(bg);
            }
        }
        if (const auto at = FindAttribute(up, "SIZE"); at != std::string::npos) {
            const auto eq = up.find('=', at);
            if (eq != std::string::npos) {
                std::size_t i = eq + 1;
                if (i < up.size() && up[i] == '"') ++i;
                if (i < up.size() && (up[i] == '+' || up[i] == '-')) ++i;
                if (i < up.size() && std::isdigit(static_cast<unsigned char>(up[i]))) {
                    static const int sizes[] = {0, 8, 10, 12, 14, 16};
                    const int n = LeadingNumber(up, i);
                    C.Font().SetSize(n >= 1 && n <= 5 ? sizes[n] : std::clamp(n, 1, 400));
                }
            }
        }
    }

    void Paragraph(const std::string& up, TFlow& F, const TRect& L, TLine& Line, bool drawing)
    {
        const std::string align = Attribute(up, "ALIGN");
        if (align.find("RIGHT") != std::string::npos) F.Align = 1;
        if (align.find("LEFT") != std::string::npos) F.Align = 0;
        if (align.find("CENTER") != std::string::npos) F.Align = 2;
        if (FindAttribute(up, "INDENT") != std::string::npos) F.Indent = LeadingNumber(Attribute(up, "INDENT"));
        if (FindAttribute(up, "BGCOLOR") != std::string::npos) {
            const std::string bg = Attribute(up, "BGCOLOR");
            F.ParaColor = bg.empty() ? clNone : HTMLColor(bg);
            if (drawing && F.ParaColor != clNone) {
                F.ParaBack = true;
                F.SavedParaBg = F.Background;
                F.Background = F.ParaColor;
                FillBand(L.Top, L.Top + Line.Height, F.ParaColor);
            }
        }
    }

    // A picture named by an IMG or BODY source: the container's by name, the cache's by address.
    THTMLPicture* PictureFor(const std::string& src)
    {
        THTMLPicture* pic = nullptr;
        if (src.find(':') == std::string::npos && P.PictureContainer) pic = P.PictureContainer->PictureByName(Upper(src));
        if (src.find("://") != std::string::npos && P.PictureCache) {
            const std::string key = Upper(src);
            pic = P.PictureCache->LookupPicture(key);
            if (!pic) {
                pic = P.PictureCache->NewPicture();
                pic->Asynch = false;
                pic->LoadFromAddress(src);
            }
        }
        return pic;
    }

    // Fits an object of the object size into the line; Full when it must wait for the next line.
    TTagEffect Place(TFlow& F, const TRect& L, TLine& Line, int& cx, int& width)
    {
        if (width + F.ObjectWidth > L.Width() && F.ObjectWidth < L.Width() && width > 0) return TTagEffect::Full;
        width += F.ObjectWidth;
        cx += F.ObjectWidth;
        Line.Height = std::max(Line.Height, F.ObjectHeight);
        return TTagEffect::None;
    }

    TTagEffect Image(const std::string& tag, TFlow& F, const TRect& L, TLine& Line, int& cx, int& width, bool drawing)
    {
        ++F.ImageCount;
        const std::string up = Upper(tag);
        // Attributes are found in the upper-cased tag; sources keep their letters for loading files.
        auto attr = [&](const std::string& name) { return Attribute(tag, name); };
        std::string src = attr("SRC");
        if (FindAttribute(up, "ALT") != std::string::npos && HoveredImage == F.ImageCount) src = attr("ALT");
        const std::string usrc = Upper(src);
        const int w = LeadingNumber(attr("WIDTH")), h = LeadingNumber(attr("HEIGHT"));
        F.ObjectWidth = F.ObjectHeight = 0;
        const int lineTop = L.Top;
        if (usrc.rfind("IDX:", 0) == 0) {
            const int n = LeadingNumber(usrc, 4);
            if (P.Images && n < P.Images->Count()) {
                F.ObjectWidth = Scale(P.Images->Width(), true);
                F.ObjectHeight = Scale(P.Images->Height(), false);
                if (drawing) P.Images->Draw(C, cx, lineTop, n, true);
            }
        }
        if (usrc.rfind("SSYS:", 0) == 0 || usrc.rfind("LSYS:", 0) == 0) {
            TIcon icon;
            DesktopFileIcon(src.substr(5), usrc[0] == 'L', icon);
            F.ObjectWidth = Scale(icon.Width(), true);
            F.ObjectHeight = Scale(icon.Height(), false);
            if (drawing) C.Draw(cx, lineTop, icon);
        }
        if (THTMLPicture* pic = PictureFor(src); pic && !pic->Empty()) {
            if (w >= 1 && h >= 1) {
                F.ObjectWidth = Scale(w, true);
                F.ObjectHeight = Scale(h, false);
            } else {
                F.ObjectWidth = Scale(pic->FullWidth(), true);
                F.ObjectHeight = Scale(pic->FullHeight(), false);
            }
            if (drawing) {
                if (w >= 1 && h >= 1) {
                    const bool stretch = pic->Stretch;
                    pic->Stretch = true;
                    pic->DrawInto(C, {cx, lineTop, cx + w, lineTop + h});
                    pic->Stretch = stretch;
                } else {
                    if (pic->CountFrames() > 1) FillRect({cx, lineTop, cx + pic->FullWidth(), lineTop + pic->FullHeight()}, EntryBrush);
                    pic->DrawInto(C, {cx + pic->FrameLeft(), lineTop + pic->FrameTop(), cx + pic->FrameLeft() + pic->Width(),
                                      lineTop + pic->FrameTop() + pic->Height()});
                }
            }
        }
        const int dx = P.XPos - L.Left;
        if (F.InAnchor && dx > width && dx < width + F.ObjectWidth && P.YPos > lineTop && P.YPos < lineTop + F.ObjectHeight) {
            Line.ControlHit = true;
            Res.AnchorVal = F.AnchorRef;
            HoveredImage = F.ImageCount;
        }
        const TTagEffect e = Place(F, L, Line, cx, width);
        const int gh = C.TextHeight("gh");
        if (up.find("\"TOP") != std::string::npos) Line.BaseLift = Line.Height - gh;
        else if (up.find("\"MIDDLE") != std::string::npos) Line.BaseLift = (Line.Height - gh) / 2;
        return e;
    }

    TTagEffect Control(const std::string& tag, TFlow& F, const TRect& L, TLine& Line, int& cx, int& width, bool drawing, int bottom)
    {
        TControlTag c;
        ParseControlTag(tag.size() > 8 ? tag.substr(8) : std::string(), c.Type, c.Width, c.ID, c.Value);
        bool numeric = !c.Width.empty();
        for (char ch : c.Width) numeric = numeric && std::isdigit(static_cast<unsigned char>(ch));
        if (numeric) {
            F.ObjectWidth = std::min(LeadingNumber(c.Width), 32767);
            F.ObjectHeight = C.TextHeight("gh") + 6;
        }
        if (c.Type == "COMBO") F.ObjectHeight = 25;
        else if (c.Type == "CHECK" || c.Type == "RADIO") F.ObjectWidth = F.ObjectHeight = 16;
        else if (c.Type == "BUTTON") F.ObjectHeight = 24;
        const int left = cx, W = F.ObjectWidth, H = Line.Height;
        if (drawing) {
            const TPen pen = C.Pen();
            const TBrushStyle brush = C.Brush().Style();
            C.Pen().SetColor(0x808080);
            C.Brush().SetStyle(bsClear);
            const bool hot = P.XPos > left - 2 && P.XPos < left + W - 2 && P.YPos < bottom - 2 && P.YPos > bottom - F.ObjectHeight - 2;
            const bool checked = Upper(c.Value) == "TRUE";
            if (c.Type == "EDIT") {
                C.Rectangle(left, bottom - H + 3, left + W, bottom + 1);
                TRect t{left + 2, bottom - H + 4, left + W, bottom};
                C.DrawText(c.Value, t, 0);
            } else if (c.Type == "COMBO") {
                C.Rectangle(left, bottom - H + 3, left + W, bottom + 1);
                TRect t{left + 2, bottom - H + 6, left + W - 17, bottom};
                C.DrawText(c.Value, t, 0);
                C.DrawFrameControl({left + W - 19, bottom - H + 6, left + W - 3, bottom - 2}, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
            } else if (c.Type == "CHECK") {
                C.DrawFrameControl({left + 2, bottom - 15, left + 15, bottom}, DFC_BUTTON,
                                   DFCS_BUTTONCHECK | DFCS_FLAT | (checked ? unsigned(DFCS_CHECKED) : 0u));
            } else if (c.Type == "RADIO") {
                C.DrawFrameControl({left + 2, bottom - 14, left + 14, bottom}, DFC_BUTTON,
                                   DFCS_BUTTONRADIO | DFCS_FLAT | (checked ? unsigned(DFCS_CHECKED) : 0u));
            } else if (c.Type == "BUTTON") {
                const TRect face{left + 2, bottom - 20, left + W - 2, bottom};
                C.DrawFrameControl(face, DFC_BUTTON, DFCS_BUTTONPUSH | (hot && P.ControlDown ? unsigned(DFCS_PUSHED) : 0u));
                TRect t{face.Left + 2, face.Top + 2, face.Right - 2, face.Bottom - 2};
                C.DrawText(c.Value, t, DT_CENTER);
            }
            C.SetPen(pen);
            C.Brush().SetStyle(brush);
        }
        const int dx = P.XPos - L.Left;
        if (dx > width && dx < width + F.ObjectWidth && P.YPos > L.Top && P.YPos < L.Top + F.ObjectHeight) {
            Line.ControlHit = true;
            Res.AnchorVal = "ctrl";
            Res.ControlRect = {L.Left + width, L.Top, L.Left + width + F.ObjectWidth, L.Top + F.ObjectHeight};
            Res.ControlValue = c.Value;
            Res.ControlID = c.ID;
            Res.ControlType = c.Type;
        }
        return Place(F, L, Line, cx, width);
    }

    TCanvas& C;
    const TRect R;
    const THTMLPaintParams& P;
    THTMLResult& Res;
    TFont Base;
    TColor EntryBrush = clWhite;
    int HoveredImage = -1;
};

} // namespace

bool PaintHTMLText(TCanvas& Canvas, const std::string& Text, const TRect& R, const THTMLPaintParams& Params, THTMLResult& Result)
{
    Result = THTMLResult{};
    TMarkup markup(Canvas, R, Params, Result);
    return markup.Run(Text);
}
