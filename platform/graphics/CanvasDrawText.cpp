// TCanvas::DrawText and DrawTextW: text laid out in a rectangle (lines, word breaks, tab stops, ellipses,
// alignment, the edit control's line rules, external leading, prefix characters) and drawn with TextOut or
// TextOutW, or only measured. One layout serves 8-bit and 16-bit text.

#include "platform/graphics/CanvasImpl.h"

#include <algorithm>
#include <vector>

namespace {

int PieceWidth(const TCanvas& c, const std::string& s) { return c.TextWidth(s); }
int PieceWidth(const TCanvas& c, const std::u16string& s) { return c.TextExtentW(s).cx; }
void PieceOut(TCanvas& c, int x, int y, const std::string& s) { c.TextOut(x, y, s); }
void PieceOut(TCanvas& c, int x, int y, const std::u16string& s) { c.TextOutW(x, y, s); }

template <class S>
class TTextBox {
    using Ch = typename S::value_type;

public:
    TTextBox(TCanvas& cv, unsigned format) : FCanvas(cv), FFormat(format)
    {
        TTextMetric tm;
        cv.GetTextMetrics(tm);
        FLineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
        FTabWidth = std::max(1, 8 * tm.tmAveCharWidth);
    }

    int LineHeight() const { return FLineHeight; }

    // Width of a line as drawn, tabs at their stops when they are expanded.
    int Width(const S& line) const
    {
        int x = 0;
        ForEachPiece(line, [&](const S& piece, int at) { x = at + PieceWidth(FCanvas, piece); });
        return x;
    }

    void Draw(const S& line, int left, int top) const
    {
        ForEachPiece(line, [&](const S& piece, int at) {
            if (!piece.empty()) PieceOut(FCanvas, left + at, top, piece);
        });
    }

    // The lines of the text: at line ends unless single-line, then at word breaks within `width`.
    std::vector<S> Lines(const S& text, int width) const
    {
        std::vector<S> paragraphs;
        if (FFormat & DT_SINGLELINE) {
            paragraphs.push_back(text);
        } else {
            S cur;
            for (std::size_t i = 0; i < text.size(); ++i) {
                const Ch c = text[i];
                if (c == '\r' || c == '\n') {
                    paragraphs.push_back(cur);
                    cur.clear();
                    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
                } else {
                    cur += c;
                }
            }
            paragraphs.push_back(cur);
        }
        if (!(FFormat & DT_WORDBREAK) || (FFormat & DT_SINGLELINE)) return paragraphs;
        std::vector<S> lines;
        for (const S& p : paragraphs) BreakWords(p, width, lines);
        return lines;
    }

    // A line shortened with an ellipsis to fit `width`, as the format asks.
    S Shorten(const S& line, int width) const
    {
        if (!(FFormat & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS)) || Width(line) <= width) return line;
        std::size_t sep = S::npos;
        if (FFormat & DT_PATH_ELLIPSIS) sep = line.find_last_of(Of("\\/"));
        if (sep == S::npos) return Longest(line, S(), width);
        // The path keeps its last part whole; the part before it loses characters from its end.
        return Longest(line.substr(0, sep), line.substr(sep), width);
    }

private:
    // head cut to the longest prefix with which prefix + "..." + tail fits (widths grow with length).
    static S Of(const char* ascii)
    {
        S out;
        for (; *ascii; ++ascii) out += static_cast<Ch>(*ascii);
        return out;
    }

    S Longest(const S& head, const S& tail, int width) const
    {
        const S Ellipsis = Of("...");
        std::size_t lo = 0, hi = head.size();
        while (lo < hi) {
            const std::size_t mid = (lo + hi + 1) / 2;
            if (Width(head.substr(0, mid) + Ellipsis + tail) <= width)
                lo = mid;
            else
                hi = mid - 1;
        }
        return head.substr(0, lo) + Ellipsis + tail;
    }

    // Words (with the blanks after them) fill a line while it fits; a word wider than the line
    // stands alone on its own line, or, as an edit control breaks it, is cut at the characters where
    // it reaches the right edge (one character at least per line); blanks at a break are dropped.
    void BreakWords(const S& p, int width, std::vector<S>& out) const
    {
        S line;
        std::size_t i = 0;
        bool any = false;
        while (i < p.size()) {
            std::size_t j = i;
            while (j < p.size() && p[j] != Ch(' ')) ++j;
            S word = p.substr(i, j - i);
            std::size_t k = j;
            while (k < p.size() && p[k] == Ch(' ')) ++k;
            const S blanks = p.substr(j, k - j);
            if (!line.empty() && Width(line + word) > width) {
                out.push_back(TrimRight(line));
                line.clear();
            }
            if ((FFormat & DT_EDITCONTROL) && Width(word) > width) {
                while (word.size() > 1 && Width(word) > width) {
                    std::size_t n = 1;
                    while (n < word.size() && Width(word.substr(0, n + 1)) <= width) ++n;
                    out.push_back(word.substr(0, n));
                    word.erase(0, n);
                }
            }
            line += word + blanks;
            any = true;
            i = k;
        }
        if (!any || !line.empty()) out.push_back(any ? TrimRight(line) : S());
    }

    static S TrimRight(S s)
    {
        while (!s.empty() && s.back() == Ch(' ')) s.pop_back();
        return s;
    }

    // Calls f(piece, x) for the pieces between tabs with each piece's start; without tab expansion
    // the whole line is one piece.
    template <class F>
    void ForEachPiece(const S& line, F&& f) const
    {
        if (!(FFormat & DT_EXPANDTABS)) {
            f(line, 0);
            return;
        }
        int x = 0;
        std::size_t start = 0;
        for (;;) {
            const std::size_t tab = line.find(Ch('\t'), start);
            const S piece = line.substr(start, tab == S::npos ? S::npos : tab - start);
            f(piece, x);
            if (tab == S::npos) return;
            x += PieceWidth(FCanvas, piece);
            x = (x / FTabWidth + 1) * FTabWidth;
            start = tab + 1;
        }
    }

    TCanvas& FCanvas;
    unsigned FFormat;
    int FLineHeight = 0;
    int FTabWidth = 8;
};

// Prefix processing: "&&" shows one "&", a single "&" is dropped and underlines the character after it.
// Returns the line as shown and the positions of the underlined characters.
template <class S>
S StripPrefixes(const S& line, std::vector<std::size_t>& underlined)
{
    using Ch = typename S::value_type;
    S out;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != Ch('&')) {
            out += line[i];
            continue;
        }
        if (i + 1 < line.size() && line[i + 1] == Ch('&')) {
            out += Ch('&');
            ++i;
        } else if (i + 1 < line.size()) underlined.push_back(out.size());
    }
    return out;
}

template <class S>
void UnderlinePrefixed(TCanvas& canvas, const S& line, const std::vector<std::size_t>& underlined, int x, int y)
{
    if (underlined.empty()) return;
    TTextMetric tm;
    canvas.GetTextMetrics(tm);
    const TPen saved = canvas.Pen();
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetColor(canvas.Font().Color());
    for (std::size_t at : underlined) {
        if (at >= line.size()) continue;
        const int from = x + PieceWidth(canvas, line.substr(0, at)), to = x + PieceWidth(canvas, line.substr(0, at + 1));
        canvas.MoveTo(from, y + tm.tmAscent + 1);
        canvas.LineTo(to, y + tm.tmAscent + 1);
    }
    canvas.SetPen(saved);
}

template <class S>
int LayOutText(TCanvas& canvas, const S& text, TRect& r, unsigned format)
{
    if (text.empty()) {
        if (format & DT_CALCRECT) {
            r.Right = r.Left;
            r.Bottom = r.Top;
        }
        return 0;
    }
    const TTextBox<S> box(canvas, format);
    std::vector<S> lines = box.Lines(text, r.Width());
    std::vector<std::vector<std::size_t>> underlined(lines.size());
    int widest = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        S& line = lines[i];
        if (!(format & DT_NOPREFIX)) line = StripPrefixes(line, underlined[i]);
        line = box.Shorten(line, r.Width());
        widest = std::max(widest, box.Width(line));
    }
    const int height = box.LineHeight() * static_cast<int>(lines.size());
    if (format & DT_CALCRECT) {
        r.Right = r.Left + widest;
        r.Bottom = r.Top + height;
        return height;
    }
    int top = r.Top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            top = r.Top + (r.Height() - height) / 2;
        else if (format & DT_BOTTOM)
            top = r.Bottom - height;
    }
    const int level = canvas.SaveDC();
    canvas.SetTextAlign(TA_LEFT | TA_TOP | TA_NOUPDATECP);
    if (!(format & DT_NOCLIP)) canvas.IntersectClipRect(r.Left, r.Top, r.Right, r.Bottom);
    int y = top;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const S& line = lines[i];
        // An edit control shows no partly visible last line (the first line always shows).
        if ((format & DT_EDITCONTROL) && y > top && y + box.LineHeight() > r.Bottom) break;
        const int w = box.Width(line);
        int x = r.Left;
        if (format & DT_CENTER)
            x = r.Left + (r.Width() - w) / 2;
        else if (format & DT_RIGHT)
            x = r.Right - w;
        box.Draw(line, x, y);
        UnderlinePrefixed(canvas, line, underlined[i], x, y);
        y += box.LineHeight();
    }
    canvas.RestoreDC(level);
    return (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM)) ? top + height - r.Top : height;
}

}  // namespace

int TCanvas::DrawText(const std::string& text, TRect& r, unsigned format) { return LayOutText(*this, text, r, format); }

int TCanvas::DrawTextW(const std::u16string& text, TRect& r, unsigned format) { return LayOutText(*this, text, r, format); }
