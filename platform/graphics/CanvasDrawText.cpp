// TCanvas::DrawText and DrawTextW: text laid out in a rectangle (lines, word breaks, tab stops, ellipses,
// alignment, the edit control's line rules, external leading, prefix characters) and drawn with TextOut or
// TextOutW, or only measured. One layout serves 8-bit and 16-bit text.

#include "platform/graphics/CanvasImpl.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace {

TTextRuler RulerOf(const TCanvas& c, const std::string& s) { return c.MeasureText(s); }
TTextRuler RulerOf(const TCanvas& c, const std::u16string& s) { return c.MeasureTextW(s); }
void PieceOut(TCanvas& c, int x, int y, const std::string& s) { c.TextOut(x, y, s); }
void PieceOut(TCanvas& c, int x, int y, const std::u16string& s) { c.TextOutW(x, y, s); }

// A text of the layout (a paragraph or a line) measured once: every width of its parts comes from the
// ruler and the places of its tabs, so a long text lays out in linear time.
template <class S>
struct TMeasuredText {
    S Text;
    TTextRuler Ruler;
    std::vector<std::size_t> Tabs;          // where the text has tabs, when they are expanded
    std::vector<std::size_t> Underlined;    // the characters a prefix underlines (lines only)
};

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

    void Measure(TMeasuredText<S>& m) const
    {
        m.Ruler = RulerOf(FCanvas, m.Text);
        m.Tabs.clear();
        if (FFormat & DT_EXPANDTABS)
            for (std::size_t i = 0; i < m.Text.size(); ++i)
                if (m.Text[i] == Ch('\t')) m.Tabs.push_back(i);
    }

    // Width of the characters [from, to) as drawn from `from`, tabs at their stops. Once the width is
    // known to pass `above` (widths only grow along a text whose characters all advance), any width
    // above it is returned.
    int Width(const TMeasuredText<S>& m, std::size_t from, std::size_t to, int above = std::numeric_limits<int>::max()) const
    {
        int x = 0;
        std::size_t start = from;
        for (auto t = std::lower_bound(m.Tabs.begin(), m.Tabs.end(), from); t != m.Tabs.end() && *t < to; ++t) {
            x = Stop(x + m.Ruler.Width(start, *t));
            start = *t + 1;
            if (x > above && m.Ruler.Monotone()) return x;
        }
        return x + m.Ruler.Width(start, to);
    }

    int Width(const TMeasuredText<S>& m) const { return Width(m, 0, m.Text.size()); }

    void Draw(const TMeasuredText<S>& m, int left, int top) const
    {
        int x = 0;
        std::size_t start = 0;
        auto piece = [&](std::size_t to) {
            if (to > start) PieceOut(FCanvas, left + x, top, m.Text.substr(start, to - start));
        };
        for (const std::size_t t : m.Tabs) {
            piece(t);
            x = Stop(x + m.Ruler.Width(start, t));
            start = t + 1;
        }
        piece(m.Text.size());
    }

    // Calls f(paragraph, from, to) for each line of the text, a part of one paragraph: the paragraphs end
    // at line ends unless single-line, then lines end at word breaks within `width`. The paragraph comes
    // measured when breaking words needed it.
    template <class F>
    void ForEachLine(const S& text, int width, F&& f) const
    {
        const bool breaks = (FFormat & DT_WORDBREAK) && !(FFormat & DT_SINGLELINE);
        auto paragraph = [&](std::size_t from, std::size_t to) {
            TMeasuredText<S> m;
            m.Text = text.substr(from, to - from);
            if (!breaks) {
                f(m, 0, m.Text.size());
                return;
            }
            Measure(m);
            BreakWords(m, width, [&](std::size_t a, std::size_t b) { f(m, a, b); });
        };
        if (FFormat & DT_SINGLELINE) {
            paragraph(0, text.size());
            return;
        }
        std::size_t start = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const Ch c = text[i];
            if (c != '\r' && c != '\n') continue;
            paragraph(start, i);
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
        paragraph(start, text.size());
    }

    // A measured line, shortened with an ellipsis to fit `width` as the format asks.
    void Shorten(TMeasuredText<S>& line, int width) const
    {
        if (!(FFormat & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS)) || Width(line) <= width) return;
        const S& t = line.Text;
        std::size_t sep = S::npos;
        if (FFormat & DT_PATH_ELLIPSIS) sep = t.find_last_of(Of("\\/"));
        // The path keeps its last part whole; the part before it loses characters from its end.
        line.Text = sep == S::npos ? Longest(line, t.size(), S(), width) : Longest(line, sep, t.substr(sep), width);
        Measure(line);
    }

private:
    static S Of(const char* ascii)
    {
        S out;
        for (; *ascii; ++ascii) out += static_cast<Ch>(*ascii);
        return out;
    }

    int Stop(int x) const { return (x / FTabWidth + 1) * FTabWidth; }

    // The first `head` characters of the line cut to the longest prefix with which prefix + "..." + tail
    // fits (widths grow with length), found by bisection; without tabs every trial is measured from the
    // line's ruler.
    S Longest(const TMeasuredText<S>& line, std::size_t head, const S& tail, int width) const
    {
        const S Ellipsis = Of("...");
        const S end = Ellipsis + tail;
        const TTextRuler endRuler = RulerOf(FCanvas, end);
        auto fits = [&](std::size_t n) {
            if (line.Tabs.empty()) return line.Ruler.Width(0, n, endRuler) <= width;
            TMeasuredText<S> trial;
            trial.Text = line.Text.substr(0, n) + end;
            Measure(trial);
            return Width(trial) <= width;
        };
        std::size_t lo = 0, hi = head;
        while (lo < hi) {
            const std::size_t mid = (lo + hi + 1) / 2;
            if (fits(mid))
                lo = mid;
            else
                hi = mid - 1;
        }
        return line.Text.substr(0, lo) + end;
    }

    // Words (with the blanks after them) fill a line while it fits; a word wider than the line
    // stands alone on its own line, or, as an edit control breaks it, is cut at the characters where
    // it reaches the right edge (one character at least per line); blanks at a break are dropped.
    // A line is the paragraph's characters from `start` up to the current word; take(from, to) hears
    // each line.
    template <class E>
    void BreakWords(const TMeasuredText<S>& m, int width, E&& take) const
    {
        const S& p = m.Text;
        auto wider = [&](std::size_t a, std::size_t b) { return Width(m, a, b, width) > width; };
        auto line = [&](std::size_t a, std::size_t b) {
            while (b > a && p[b - 1] == Ch(' ')) --b;
            take(a, b);
        };
        std::size_t start = 0, i = 0;
        bool any = false;
        while (i < p.size()) {
            std::size_t j = i;
            while (j < p.size() && p[j] != Ch(' ')) ++j;
            std::size_t k = j;
            while (k < p.size() && p[k] == Ch(' ')) ++k;
            if (start < i && wider(start, j)) {
                line(start, i);
                start = i;
            }
            if ((FFormat & DT_EDITCONTROL) && wider(i, j)) {
                if (start < i) line(start, i);
                while (j - i > 1 && wider(i, j)) {
                    const std::size_t n = FittingPrefix(m, i, j, width);
                    take(i, i + n);
                    i += n;
                }
                start = i;
            }
            any = true;
            i = k;
        }
        if (!any || start < p.size()) line(start, p.size());
    }

    // The characters of [from, to) before the first prefix wider than `width`, at least one; the
    // prefixes' widths are taken one character further each, in constant time.
    std::size_t FittingPrefix(const TMeasuredText<S>& m, std::size_t from, std::size_t to, int width) const
    {
        int at = 0;                 // where the current piece starts (after the last tab)
        std::size_t piece = from;
        auto widthTo = [&](std::size_t end) {
            if (m.Text[end - 1] == Ch('\t') && !m.Tabs.empty()) {
                at = Stop(at + m.Ruler.Width(piece, end - 1));
                piece = end;
                return at;
            }
            return at + m.Ruler.Width(piece, end);
        };
        widthTo(from + 1);
        std::size_t n = 1;
        while (n < to - from && widthTo(from + n + 1) <= width) ++n;
        return n;
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
void UnderlinePrefixed(TCanvas& canvas, const TMeasuredText<S>& line, int x, int y)
{
    if (line.Underlined.empty()) return;
    TTextMetric tm;
    canvas.GetTextMetrics(tm);
    const TPen saved = canvas.Pen();
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetColor(canvas.Font().Color());
    for (std::size_t at : line.Underlined) {
        if (at >= line.Text.size()) continue;
        const int from = x + line.Ruler.Width(0, at), to = x + line.Ruler.Width(0, at + 1);
        canvas.MoveTo(from, y + tm.tmAscent + 1);
        canvas.LineTo(to, y + tm.tmAscent + 1);
    }
    canvas.SetPen(saved);
}

// A line as it is shown: prefixes processed, measured once, shortened as the format asks.
template <class S>
TMeasuredText<S> ShownLine(const TTextBox<S>& box, S text, int width, unsigned format)
{
    TMeasuredText<S> line;
    line.Text = (format & DT_NOPREFIX) ? std::move(text) : StripPrefixes(text, line.Underlined);
    box.Measure(line);
    box.Shorten(line, width);
    return line;
}

// The width a line shows with: from its paragraph's measure when nothing changes the line (no prefix
// to process, no ellipsis to cut), else from the line measured on its own.
template <class S>
int ShownWidth(const TTextBox<S>& box, const TMeasuredText<S>& para, std::size_t from, std::size_t to, int width, unsigned format)
{
    using Ch = typename S::value_type;
    const bool measured = para.Ruler.Size() == para.Text.size();
    const auto begin = para.Text.begin();
    const bool plain = (format & DT_NOPREFIX) || std::find(begin + static_cast<std::ptrdiff_t>(from), begin + static_cast<std::ptrdiff_t>(to), Ch('&')) == begin + static_cast<std::ptrdiff_t>(to);
    if (measured && plain) {
        const int w = box.Width(para, from, to);
        if (!(format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS)) || w <= width) return w;
    }
    return box.Width(ShownLine(box, para.Text.substr(from, to - from), width, format));
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
    const int width = r.Width(), lineHeight = box.LineHeight();
    const bool calc = format & DT_CALCRECT;
    // An edit control shows no partly visible last line (the first line always shows): the lines after
    // the last one it shows are only counted.
    const bool cut = !calc && (format & DT_EDITCONTROL) && !(format & DT_SINGLELINE) && lineHeight > 0;
    const std::size_t showable = cut ? static_cast<std::size_t>(std::max(1, (r.Bottom - r.Top) / lineHeight)) : std::numeric_limits<std::size_t>::max();
    std::size_t count = 0;
    int widest = 0;
    std::vector<S> lines;
    box.ForEachLine(text, width, [&](const TMeasuredText<S>& para, std::size_t from, std::size_t to) {
        if (calc) widest = std::max(widest, ShownWidth(box, para, from, to, width, format));
        else if (count < showable) lines.push_back(para.Text.substr(from, to - from));
        ++count;
    });
    const int height = lineHeight * static_cast<int>(count);
    if (calc) {
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
    for (S& text : lines) {
        if ((format & DT_EDITCONTROL) && y > top && y + lineHeight > r.Bottom) break;
        const TMeasuredText<S> line = ShownLine(box, std::move(text), width, format);
        const int w = box.Width(line);
        int x = r.Left;
        if (format & DT_CENTER)
            x = r.Left + (r.Width() - w) / 2;
        else if (format & DT_RIGHT)
            x = r.Right - w;
        box.Draw(line, x, y);
        UnderlinePrefixed(canvas, line, x, y);
        y += lineHeight;
    }
    canvas.RestoreDC(level);
    return (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM)) ? top + height - r.Top : height;
}

}  // namespace

int TCanvas::DrawText(const std::string& text, TRect& r, unsigned format) { return LayOutText(*this, text, r, format); }

int TCanvas::DrawTextW(const std::u16string& text, TRect& r, unsigned format) { return LayOutText(*this, text, r, format); }
