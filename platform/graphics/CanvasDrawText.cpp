// TCanvas::DrawText: text laid out in a rectangle (lines, word breaks, tab stops, ellipses, alignment) and
// drawn with TextOut, or only measured.

#include "platform/graphics/CanvasImpl.h"

#include <algorithm>
#include <vector>

namespace {

const std::string Ellipsis = "...";

class TTextBox {
public:
    TTextBox(TCanvas& cv, unsigned format) : FCanvas(cv), FFormat(format)
    {
        TTextMetric tm;
        cv.GetTextMetrics(tm);
        FLineHeight = tm.tmHeight;
        FTabWidth = std::max(1, 8 * tm.tmAveCharWidth);
    }

    int LineHeight() const { return FLineHeight; }

    // Width of a line as drawn, tabs at their stops when they are expanded.
    int Width(const std::string& line) const
    {
        int x = 0;
        ForEachPiece(line, [&](const std::string& piece, int at) { x = at + FCanvas.TextWidth(piece); });
        return x;
    }

    void Draw(const std::string& line, int left, int top) const
    {
        ForEachPiece(line, [&](const std::string& piece, int at) {
            if (!piece.empty()) FCanvas.TextOut(left + at, top, piece);
        });
    }

    // The lines of the text: at line ends unless single-line, then at word breaks within `width`.
    std::vector<std::string> Lines(const std::string& text, int width) const
    {
        std::vector<std::string> paragraphs;
        if (FFormat & DT_SINGLELINE) {
            paragraphs.push_back(text);
        } else {
            std::string cur;
            for (std::size_t i = 0; i < text.size(); ++i) {
                const char c = text[i];
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
        std::vector<std::string> lines;
        for (const std::string& p : paragraphs) BreakWords(p, width, lines);
        return lines;
    }

    // A line shortened with an ellipsis to fit `width`, as the format asks.
    std::string Shorten(const std::string& line, int width) const
    {
        if (!(FFormat & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS)) || Width(line) <= width) return line;
        std::size_t sep = std::string::npos;
        if (FFormat & DT_PATH_ELLIPSIS) sep = line.find_last_of("\\/");
        if (sep == std::string::npos) return Longest(line, "", width);
        // The path keeps its last part whole; the part before it loses characters from its end.
        return Longest(line.substr(0, sep), line.substr(sep), width);
    }

private:
    // head cut to the longest prefix with which prefix + "..." + tail fits (widths grow with length).
    std::string Longest(const std::string& head, const std::string& tail, int width) const
    {
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
    // stands alone on its own line; blanks at a break are dropped.
    void BreakWords(const std::string& p, int width, std::vector<std::string>& out) const
    {
        std::string line;
        std::size_t i = 0;
        bool any = false;
        while (i < p.size()) {
            std::size_t j = i;
            while (j < p.size() && p[j] != ' ') ++j;
            const std::string word = p.substr(i, j - i);
            std::size_t k = j;
            while (k < p.size() && p[k] == ' ') ++k;
            const std::string blanks = p.substr(j, k - j);
            if (!line.empty() && Width(line + word) > width) {
                out.push_back(TrimRight(line));
                line.clear();
            }
            line += word + blanks;
            any = true;
            i = k;
        }
        if (!any || !line.empty()) out.push_back(any ? TrimRight(line) : std::string());
    }

    static std::string TrimRight(std::string s)
    {
        while (!s.empty() && s.back() == ' ') s.pop_back();
        return s;
    }

    // Calls f(piece, x) for the pieces between tabs with each piece's start; without tab expansion
    // the whole line is one piece.
    template <class F>
    void ForEachPiece(const std::string& line, F&& f) const
    {
        if (!(FFormat & DT_EXPANDTABS)) {
            f(line, 0);
            return;
        }
        int x = 0;
        std::size_t start = 0;
        for (;;) {
            const std::size_t tab = line.find('\t', start);
            const std::string piece = line.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
            f(piece, x);
            if (tab == std::string::npos) return;
            x += FCanvas.TextWidth(piece);
            x = (x / FTabWidth + 1) * FTabWidth;
            start = tab + 1;
        }
    }

    TCanvas& FCanvas;
    unsigned FFormat;
    int FLineHeight = 0;
    int FTabWidth = 8;
};

}  // namespace

int TCanvas::DrawText(const std::string& text, TRect& r, unsigned format)
{
    if (text.empty()) {
        if (format & DT_CALCRECT) {
            r.Right = r.Left;
            r.Bottom = r.Top;
        }
        return 0;
    }
    const TTextBox box(*this, format);
    std::vector<std::string> lines = box.Lines(text, r.Width());
    int widest = 0;
    for (std::string& line : lines) {
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
    const int level = SaveDC();
    SetTextAlign(TA_LEFT | TA_TOP | TA_NOUPDATECP);
    if (!(format & DT_NOCLIP)) IntersectClipRect(r.Left, r.Top, r.Right, r.Bottom);
    int y = top;
    for (const std::string& line : lines) {
        const int w = box.Width(line);
        int x = r.Left;
        if (format & DT_CENTER)
            x = r.Left + (r.Width() - w) / 2;
        else if (format & DT_RIGHT)
            x = r.Right - w;
        box.Draw(line, x, y);
        y += box.LineHeight();
    }
    RestoreDC(level);
    return (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM)) ? top + height - r.Top : height;
}
