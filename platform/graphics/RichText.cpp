// The rich-text subset: a tokenizer over control words, groups and text, with a state stack for the
// character look; font and colour tables; the writer; the line layout on a canvas.
#include "platform/graphics/RichText.h"

#include "platform/graphics/Canvas.h"
#include "platform/rtl/AnsiText.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>

namespace {

struct TCharState {
    TFontStyles Style;
    int FontIndex = -1;
    int HalfPoints = 0;
    int ColorIndex = 0;
    int UnicodeSkip = 1;
    // What the group does with its text: keep it, skip it, or read it as a table.
    enum { Body, Skip, FontTable, ColorTable } Destination = Body;
};

// Groups whose text is no document text.
bool SkippedDestination(const std::string& word)
{
    static const char* const names[] = {"stylesheet", "info", "pict", "object", "header", "headerl", "headerr", "headerf",
                                        "footer", "footerl", "footerr", "footerf", "footnote", "fldinst", "listtable",
                                        "listoverridetable", "rsidtbl", "generator", "xmlnstbl", "themedata",
                                        "colorschememapping", "datastore", "latentstyles", "filetbl", "revtbl",
                                        "bkmkstart", "bkmkend", "field", "template", "author", "operator", "title",
                                        "subject", "keywords", "comment", "doccomm", "company", "nonshppict", "shp"};
    return std::any_of(std::begin(names), std::end(names), [&](const char* n) { return word == n; });
}

class TRtfReader {
public:
    explicit TRtfReader(const std::string& s) : S(s) {}

    TRichDocument Read()
    {
        Doc.Paragraphs.emplace_back();
        Stack.push_back({});
        while (I < S.size()) {
            const char c = S[I];
            if (c == '{') {
                ++I;
                if (Stack.size() < 256) Stack.push_back(Stack.back());
                else ++Overflow;
                continue;
            }
            if (c == '}') {
                ++I;
                if (Overflow > 0) --Overflow;
                else if (Stack.size() > 1) {
                    EndTableEntry();
                    Stack.pop_back();
                }
                continue;
            }
            if (c == '\\') {
                ControlWord();
                continue;
            }
            ++I;
            if (c == '\r' || c == '\n') continue;
            Char(c);
        }
        // A last empty paragraph left by a closing \par is no paragraph of its own.
        if (Doc.Paragraphs.size() > 1 && Doc.Paragraphs.back().Runs.empty()) Doc.Paragraphs.pop_back();
        return Doc;
    }

private:
    TCharState& St() { return Stack.back(); }

    void ControlWord()
    {
        ++I;   // the backslash
        if (I >= S.size()) return;
        const char c = S[I];
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            ++I;
            switch (c) {
            case '\\':
            case '{':
            case '}': Char(c); break;
            case '~': Char(static_cast<char>(0xA0)); break;
            case '_': Char('-'); break;
            case '*': St().Destination = TCharState::Skip; break;
            case '\'': {
                if (I + 2 <= S.size() && std::isxdigit(static_cast<unsigned char>(S[I])) && std::isxdigit(static_cast<unsigned char>(S[I + 1]))) {
                    Char(static_cast<char>(std::strtol(S.substr(I, 2).c_str(), nullptr, 16)));
                    I += 2;
                }
                break;
            }
            case '\r':
            case '\n': Paragraph(); break;
            default: break;
            }
            return;
        }
        std::string word;
        while (I < S.size() && std::isalpha(static_cast<unsigned char>(S[I])) && word.size() < 32) word += S[I++];
        while (I < S.size() && std::isalpha(static_cast<unsigned char>(S[I]))) ++I;
        bool hasArg = false;
        long arg = 0;
        const std::size_t argStart = I;
        if (I < S.size() && (S[I] == '-' || std::isdigit(static_cast<unsigned char>(S[I])))) {
            std::size_t j = I + (S[I] == '-' ? 1 : 0);
            while (j < S.size() && std::isdigit(static_cast<unsigned char>(S[j])) && j - argStart < 10) ++j;
            hasArg = j > argStart + (S[I] == '-' ? 1 : 0);
            if (hasArg) arg = std::strtol(S.substr(argStart, j - argStart).c_str(), nullptr, 10);
            while (j < S.size() && std::isdigit(static_cast<unsigned char>(S[j]))) ++j;
            I = j;
        }
        if (I < S.size() && S[I] == ' ') ++I;
        Word(word, hasArg, arg);
    }

    void Word(const std::string& w, bool hasArg, long arg)
    {
        TCharState& st = St();
        const bool on = !hasArg || arg != 0;
        auto style = [&](TFontStyle f) {
            if (on) st.Style.Include(f);
            else st.Style.Exclude(f);
        };
        if (w == "fonttbl") st.Destination = TCharState::FontTable;
        else if (w == "colortbl") {
            st.Destination = TCharState::ColorTable;
            Colors.clear();
            Pending = {};
        } else if (SkippedDestination(w)) st.Destination = TCharState::Skip;
        else if (w == "par" || w == "line") Paragraph();
        else if (w == "pard") Doc.Paragraphs.back().Alignment = raLeft;
        else if (w == "ql") Doc.Paragraphs.back().Alignment = raLeft;
        else if (w == "qr") Doc.Paragraphs.back().Alignment = raRight;
        else if (w == "qc") Doc.Paragraphs.back().Alignment = raCenter;
        else if (w == "tab") Char('\t');
        else if (w == "b") style(fsBold);
        else if (w == "i") style(fsItalic);
        else if (w == "ul") style(fsUnderline);
        else if (w == "ulnone") st.Style.Exclude(fsUnderline);
        else if (w == "strike") style(fsStrikeOut);
        else if (w == "plain") {
            st.Style = {};
            st.HalfPoints = 0;
            st.ColorIndex = 0;
            st.FontIndex = -1;
        } else if (w == "fs" && hasArg) st.HalfPoints = static_cast<int>(std::clamp(arg, 0L, 3276L));
        else if (w == "cf" && hasArg) st.ColorIndex = static_cast<int>(std::clamp(arg, 0L, 65535L));
        else if (w == "f" && hasArg) {
            st.FontIndex = static_cast<int>(std::clamp(arg, 0L, 65535L));
            if (st.Destination == TCharState::FontTable) {
                FontEntry = st.FontIndex;
                FontName.clear();
            }
        } else if (w == "uc" && hasArg) st.UnicodeSkip = static_cast<int>(std::clamp(arg, 0L, 16L));
        else if (w == "u" && hasArg) {
            const char16_t u = static_cast<char16_t>(static_cast<std::int16_t>(arg));
            Char(WideToAnsi(std::u16string(1, u))[0]);
            SkipFallback(st.UnicodeSkip);
        } else if (w == "red" && hasArg) Pending.r = static_cast<int>(arg & 0xFF), Pending.set = true;
        else if (w == "green" && hasArg) Pending.g = static_cast<int>(arg & 0xFF), Pending.set = true;
        else if (w == "blue" && hasArg) Pending.b = static_cast<int>(arg & 0xFF), Pending.set = true;
        else if (w == "emdash") Char(static_cast<char>(0x97));
        else if (w == "endash") Char(static_cast<char>(0x96));
        else if (w == "bullet") Char(static_cast<char>(0x95));
        else if (w == "lquote") Char(static_cast<char>(0x91));
        else if (w == "rquote") Char(static_cast<char>(0x92));
        else if (w == "ldblquote") Char(static_cast<char>(0x93));
        else if (w == "rdblquote") Char(static_cast<char>(0x94));
    }

    // The characters standing in for a \u character (escapes and single characters; groups end it).
    void SkipFallback(int n)
    {
        while (n > 0 && I < S.size()) {
            if (S[I] == '{' || S[I] == '}') return;
            if (S[I] == '\\') {
                if (I + 1 < S.size() && S[I + 1] == '\'') I += std::min<std::size_t>(4, S.size() - I);
                else {
                    ++I;
                    while (I < S.size() && std::isalpha(static_cast<unsigned char>(S[I]))) ++I;
                    while (I < S.size() && (S[I] == '-' || std::isdigit(static_cast<unsigned char>(S[I])))) ++I;
                    if (I < S.size() && S[I] == ' ') ++I;
                }
            } else ++I;
            --n;
        }
    }

    void Char(char c)
    {
        TCharState& st = St();
        switch (st.Destination) {
        case TCharState::Skip: return;
        case TCharState::FontTable:
            if (c == ';') {
                if (FontEntry >= 0) Fonts[FontEntry] = FontName;
                FontName.clear();
            } else if (FontName.size() < 64) FontName += c;
            return;
        case TCharState::ColorTable:
            if (c == ';') {
                Colors.push_back(Pending.set ? static_cast<TColor>(Pending.r | Pending.g << 8 | Pending.b << 16) : clNone);
                Pending = {};
            }
            return;
        case TCharState::Body: break;
        }
        TRichRun run;
        run.Style = st.Style;
        run.Size = st.HalfPoints / 2;
        if (const auto f = Fonts.find(st.FontIndex); f != Fonts.end()) run.FontName = f->second;
        if (st.ColorIndex > 0 && st.ColorIndex < static_cast<int>(Colors.size())) run.Color = Colors[static_cast<std::size_t>(st.ColorIndex)];
        auto& runs = Doc.Paragraphs.back().Runs;
        if (!runs.empty() && runs.back().Style == run.Style && runs.back().Size == run.Size && runs.back().FontName == run.FontName &&
            runs.back().Color == run.Color)
            runs.back().Text += c;
        else {
            run.Text.assign(1, c);
            runs.push_back(std::move(run));
        }
    }

    void Paragraph()
    {
        if (St().Destination != TCharState::Body) return;
        const TRichAlignment a = Doc.Paragraphs.back().Alignment;
        Doc.Paragraphs.emplace_back();
        Doc.Paragraphs.back().Alignment = a;
    }

    // A font entry ended by its group rather than a ";".
    void EndTableEntry()
    {
        if (St().Destination == TCharState::FontTable && FontEntry >= 0 && !FontName.empty()) {
            Fonts[FontEntry] = FontName;
            FontName.clear();
        }
    }

    const std::string& S;
    std::size_t I = 0;
    int Overflow = 0;
    std::vector<TCharState> Stack;
    TRichDocument Doc;
    std::map<int, std::string> Fonts;
    int FontEntry = -1;
    std::string FontName;
    std::vector<TColor> Colors;
    struct {
        int r = 0, g = 0, b = 0;
        bool set = false;
    } Pending;
};

std::string Escaped(const std::string& text)
{
    static const char* hex = "0123456789abcdef";
    std::string out;
    for (unsigned char c : text) {
        if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\t') out += "\\tab ";
        else if (c >= 0x80 || c < 0x20) {
            out += "\\'";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else out += static_cast<char>(c);
    }
    return out;
}

} // namespace

std::string TRichDocument::PlainText() const
{
    std::string out;
    for (std::size_t p = 0; p < Paragraphs.size(); ++p) {
        if (p > 0) out += "\r\n";
        for (const TRichRun& r : Paragraphs[p].Runs) out += r.Text;
    }
    return out;
}

bool IsRichText(const std::string& Text) { return Text.size() >= 2 && Text[0] == '{' && Text[1] == '\\'; }

TRichDocument ParseRichText(const std::string& Rtf) { return TRtfReader(Rtf).Read(); }

std::string WriteRichText(const TRichDocument& Document)
{
    std::vector<std::string> fonts;
    std::vector<TColor> colors;
    auto fontIndex = [&](const std::string& name) {
        auto it = std::find(fonts.begin(), fonts.end(), name);
        if (it != fonts.end()) return static_cast<int>(it - fonts.begin());
        fonts.push_back(name);
        return static_cast<int>(fonts.size()) - 1;
    };
    auto colorIndex = [&](TColor c) {
        auto it = std::find(colors.begin(), colors.end(), c);
        if (it != colors.end()) return static_cast<int>(it - colors.begin()) + 1;
        colors.push_back(c);
        return static_cast<int>(colors.size());
    };
    std::string body;
    for (std::size_t p = 0; p < Document.Paragraphs.size(); ++p) {
        const TRichParagraph& para = Document.Paragraphs[p];
        body += "\\pard";
        body += para.Alignment == raRight ? "\\qr" : para.Alignment == raCenter ? "\\qc" : "";
        for (const TRichRun& r : para.Runs) {
            body += "{\\plain";
            if (!r.FontName.empty()) body += "\\f" + std::to_string(fontIndex(r.FontName));
            if (r.Size > 0) body += "\\fs" + std::to_string(2 * r.Size);
            if (r.Color != clNone) body += "\\cf" + std::to_string(colorIndex(r.Color));
            if (r.Style.Contains(fsBold)) body += "\\b";
            if (r.Style.Contains(fsItalic)) body += "\\i";
            if (r.Style.Contains(fsUnderline)) body += "\\ul";
            if (r.Style.Contains(fsStrikeOut)) body += "\\strike";
            body += " " + Escaped(r.Text) + "}";
        }
        // The reader drops an empty paragraph after the last break: a last paragraph that is empty ends
        // with a break of its own, so that it reads back.
        if (p + 1 < Document.Paragraphs.size() || (p > 0 && para.Runs.empty())) body += "\\par\r\n";
    }
    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0";
    if (!fonts.empty()) {
        out += "{\\fonttbl";
        for (std::size_t i = 0; i < fonts.size(); ++i) out += "{\\f" + std::to_string(i) + " " + Escaped(fonts[i]) + ";}";
        out += "}";
    }
    if (!colors.empty()) {
        out += "{\\colortbl ;";
        for (TColor c : colors)
            out += "\\red" + std::to_string(c & 0xFF) + "\\green" + std::to_string((c >> 8) & 0xFF) + "\\blue" + std::to_string((c >> 16) & 0xFF) + ";";
        out += "}";
    }
    out += "\r\n" + body + "}";
    return out;
}

TRichDocument RichTextFromPlain(const std::string& Text)
{
    TRichDocument d;
    d.Paragraphs.emplace_back();
    for (std::size_t i = 0; i < Text.size(); ++i) {
        const char c = Text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') ++i;
            d.Paragraphs.emplace_back();
            continue;
        }
        auto& runs = d.Paragraphs.back().Runs;
        if (runs.empty()) runs.emplace_back();
        runs.back().Text += c;
    }
    return d;
}

TSize DrawRichText(TCanvas& Canvas, const TRichDocument& Document, const TRect& R, bool WordWrap, bool MeasureOnly, TColor TextColor)
{
    const TFont base = Canvas.Font();
    const int oldMode = Canvas.SetBkMode(TRANSPARENT);
    auto apply = [&](const TRichRun& r) {
        Canvas.Font().Assign(base);
        if (!r.FontName.empty()) Canvas.Font().SetName(r.FontName);
        if (r.Size > 0) Canvas.Font().SetSize(r.Size);
        Canvas.Font().SetStyle(r.Style);
        if (TextColor != clNone) Canvas.Font().SetColor(TextColor);
        else if (r.Color != clNone) Canvas.Font().SetColor(r.Color);
    };
    // A laid-out piece: its text in one run's look, its width, and its line.
    struct TPiece {
        const TRichRun* Run;
        std::string Text;
        int Width;
    };
    int y = R.Top, widest = 0;
    const int width = std::max(1, R.Width());
    for (const TRichParagraph& para : Document.Paragraphs) {
        std::vector<std::vector<TPiece>> lines(1);
        int x = 0;
        for (const TRichRun& run : para.Runs) {
            apply(run);
            // Words keep their trailing blanks; without wrapping the run is one piece.
            std::size_t i = 0;
            while (i < run.Text.size()) {
                std::size_t j = i;
                if (WordWrap) {
                    while (j < run.Text.size() && run.Text[j] != ' ') ++j;
                    while (j < run.Text.size() && run.Text[j] == ' ') ++j;
                } else j = run.Text.size();
                std::string piece = run.Text.substr(i, j - i);
                std::string shown;
                for (char c : piece) shown += c == '\t' ? std::string(4, ' ') : std::string(1, c);
                const int w = Canvas.TextWidth(shown);
                if (WordWrap && x > 0 && x + w > width) {
                    lines.emplace_back();
                    x = 0;
                }
                lines.back().push_back({&run, shown, w});
                x += w;
                i = j;
            }
        }
        for (const auto& line : lines) {
            int lw = 0, lh = 0;
            for (const TPiece& p : line) {
                apply(*p.Run);
                lw += p.Width;
                lh = std::max(lh, Canvas.TextHeight("gh"));
            }
            if (line.empty()) {
                Canvas.Font().Assign(base);
                lh = Canvas.TextHeight("gh");
            }
            widest = std::max(widest, lw);
            if (!MeasureOnly) {
                // The pieces share the rectangle: none may fill it over the others.
                const TBrushStyle brush = Canvas.Brush().Style();
                Canvas.Brush().SetStyle(bsClear);
                int px = R.Left;
                if (para.Alignment == raRight) px = R.Right - lw;
                else if (para.Alignment == raCenter) px = R.Left + (R.Width() - lw) / 2;
                for (const TPiece& p : line) {
                    apply(*p.Run);
                    const int ph = Canvas.TextHeight("gh");
                    Canvas.TextRect(R, px, y + lh - ph, p.Text);
                    px += p.Width;
                }
                Canvas.Brush().SetStyle(brush);
            }
            y += lh;
        }
    }
    Canvas.Font().Assign(base);
    Canvas.SetBkMode(oldMode);
    return {widest, y - R.Top};
}
