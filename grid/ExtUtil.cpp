// The grid's free routines. Every one is stateless and reads the locale only through the run time's
// format settings; the text routines never index outside their text whatever bytes they are given.
#include "grid/ExtUtil.h"

#include "platform/controls/Grids.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/FloodFill.h"
#include "platform/rtl/AnsiText.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/NumberText.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/SystemColors.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A whole 32-bit number: an optional sign and decimal digits, nothing else.
bool ReadWholeNumber(std::string_view s, int& out)
{
    if (s.empty()) return false;
    std::size_t i = 0;
    if (s[0] == '+') i = 1;
    const char* b = s.data() + i;
    const char* e = s.data() + s.size();
    if (b == e) return false;
    int v = 0;
    auto [p, ec] = std::from_chars(b, e, v);
    if (ec != std::errc() || p != e) return false;
    out = v;
    return true;
}

int RoundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

} // namespace

// ---- Search and small numeric helpers -----------------------------------------------------------------

int ClampToLimits(int Value, int Min, int Max)
{
    if (Min == Max) return Value;
    if (Min > 0 && Value < Min) return Min;
    if (Max > 0 && Value > Max) return Max;
    return Value;
}

int MaxOf(int A, int B) { return A > B ? A : B; }
int MinOf(int A, int B) { return A < B ? A : B; }

bool CellInGridRect(const TGridRect& Rect, int Col, int Row)
{
    return Col >= Rect.Left && Col <= Rect.Right && Row >= Rect.Top && Row <= Rect.Bottom;
}

int CharPosition(char Ch, const std::string& Text)
{
    const auto p = Text.find(Ch);
    return p == std::string::npos ? 0 : static_cast<int>(p) + 1;
}

int CharPosNext(char Ch, const std::string& Text, int& Next)
{
    const int p = CharPosition(Ch, Text);
    if (p > 0) Next = p;
    return p;
}

int SubPosVar(const std::string& Sub, const std::string& Text, int& Pos)
{
    const auto p = Text.find(Sub);
    Pos = p == std::string::npos || Sub.empty() ? 0 : static_cast<int>(p) + 1;
    return Pos;
}

int PosInUpperText(const std::string& Sub, const std::string& Text)
{
    int pos = 0;
    return SubPosVar(Sub, UpperCase(Text), pos);
}

char FirstCharInSet(const std::string& Set, const std::string& Text)
{
    for (char c : Text)
        if (Set.find(c) != std::string::npos) return c;
    return 0;
}

// ---- Links and cell references ------------------------------------------------------------------------

bool IsLinkText(const std::string& Text)
{
    return Text.find("://") != std::string::npos || Text.find("mailto:") != std::string::npos;
}

void StripLinkProtocol(std::string& Text)
{
    auto p = Text.find("://");
    if (p != std::string::npos) {
        Text.erase(0, p + 3);
        return;
    }
    p = Text.find("mailto:");
    if (p != std::string::npos) Text.erase(0, p + 7);
}

bool ParseCellReference(const std::string& Text, TPoint& Point)
{
    const std::string t = UpperCase(Text);
    if (t.size() <= 3 || t[0] != 'R') return false;
    const auto c = t.find('C', 1);
    if (c == std::string::npos) return false;
    int row = 0, col = 0;
    if (!ReadWholeNumber(std::string_view(t).substr(1, c - 1), row)) return false;
    if (!ReadWholeNumber(std::string_view(t).substr(c + 1), col)) return false;
    Point = {col, row};
    return true;
}

// ---- Cell text and number text -----------------------------------------------------------------------

int ClassifyCellText(const std::string& Text, bool HTMLEnabled)
{
    if (Text.empty()) return 0;
    if (Text[0] == '=') return 3;
    if (Text.rfind("|\\", 0) == 0) return 5;
    if (Text.rfind("{\\", 0) == 0) return 2;
    if (HTMLEnabled && (Text.find("</") != std::string::npos || Text.find("<B") != std::string::npos ||
                        Text.find("<I") != std::string::npos))
        return 1;
    return 0;
}

int ClassifyNumberText(const std::string& Text)
{
    if (Text.empty()) return 2;
    const char dec = FormatSettings().DecimalSeparator, th = FormatSettings().ThousandSeparator;
    if (std::count(Text.begin(), Text.end(), '-') > 1 || std::count(Text.begin(), Text.end(), dec) > 1) return 2;
    if (std::all_of(Text.begin(), Text.end(), [](char c) { return c == '-' || IsDigit(c); })) return 0;
    int last = 0;
    for (std::size_t i = 0; i < Text.size(); ++i) {
        const char c = Text[i];
        const int pos = static_cast<int>(i) + 1;
        if (c == th) {
            if (last == 0 ? pos == 1 : pos - last < 3) return 2;
            last = pos;
        } else if (!(c == '-' || c == dec || IsDigit(c))) return 2;
    }
    return 1;
}

std::string NormalizeNumberText(const std::string& Text)
{
    std::string s = Trim(Text);
    if (s.empty()) return "";
    const char dec = FormatSettings().DecimalSeparator, th = FormatSettings().ThousandSeparator;
    bool negative = s.front() == '(' && s.back() == ')';
    std::size_t i = 0;
    while (s.size() - i >= 2 && !(IsDigit(s[i]) || s[i] == th || s[i] == dec)) {
        if (s[i] == '-') negative = true;
        ++i;
    }
    std::string out;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c == th) continue;
        if (c == dec) out += '.';
        else if (c == '-' || c == '.' || IsDigit(c)) out += c;
        else break;
    }
    return negative ? "-" + out : out;
}

// ---- Line breaks, quotes and delimited text -----------------------------------------------------------

std::string ExpandLineBreakEscapes(const std::string& Text)
{
    std::string out;
    out.reserve(Text.size());
    for (std::size_t i = 0; i < Text.size(); ++i) {
        if (Text[i] == '\\' && i + 1 < Text.size() && Text[i + 1] == 'n') {
            out += '\r';
            ++i;
        } else out += Text[i];
    }
    return out;
}

void LinefeedsToLineBreaks(std::string& Text)
{
    if (Text.find('\n') == std::string::npos) return;
    std::string out;
    for (char c : Text) {
        if (c == '\n') out += "\r\n";
        else out += c;
    }
    Text = std::move(out);
}

void TildesToLineBreaks(std::string& Text)
{
    std::string out;
    for (char c : Text) {
        if (c == '~') out += "\r\n";
        else out += c;
    }
    Text = std::move(out);
}

std::string RemoveCarriageReturns(const std::string& Text)
{
    std::string out;
    for (char c : Text)
        if (c != '\r') out += c;
    return out;
}

void QuoteMultilineText(std::string& Text)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < Text.size(); ++i) {
        if (Text[i] == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') {
            out += '\n';
            ++i;
        } else out += Text[i];
    }
    Text = out + "\"";
}

void TakeFirstLine(std::string& Text, bool MultiLine, std::string& Line)
{
    const auto cr = Text.find('\r');
    if (cr == std::string::npos) {
        Line = Text;
        Text.clear();
        return;
    }
    Line = Text.substr(0, cr);
    std::size_t rest = cr + 1;
    if (rest < Text.size() && Text[rest] == '\n') ++rest;
    Text = MultiLine ? Text.substr(rest) : std::string();
}

int CountTextLines(const std::string& Text, bool MultiLine)
{
    return MultiLine ? 1 + static_cast<int>(std::count(Text.begin(), Text.end(), '\r')) : 1;
}

std::string UnquoteText(char Quote, const std::string& Text)
{
    if (Text.empty() || Text.find(Quote) == std::string::npos) return Text;
    std::string out;
    for (std::size_t i = 0; i < Text.size(); ++i) {
        if (Text[i] != Quote) out += Text[i];
        else if (i + 1 < Text.size() && Text[i + 1] == Quote) {
            out += Quote;
            ++i;
        }
    }
    return out;
}

int ClosingQuotePos(char Quote, std::string_view Text, int& Pos)
{
    int count = 0;
    const int n = static_cast<int>(Text.size());
    Pos = 0;
    for (int i = 1; i <= n; ++i) {
        if (Text[static_cast<std::size_t>(i - 1)] == Quote) {
            ++count;
            if (i == n) {
                Pos = i;
                break;
            }
        } else {
            if (count % 2 == 1) {
                Pos = i - 1;
                break;
            }
            count = 0;
        }
    }
    return Pos;
}

// The text is walked, not cut: each search starts where the last one ended.
int CountClosingQuotes(char Ch, std::string_view Text)
{
    int n = 0, pos = 0;
    while (ClosingQuotePos(Ch, Text, pos) > 0) {
        Text.remove_prefix(static_cast<std::size_t>(pos));
        ++n;
    }
    return n;
}

int CountChar(char Ch, const std::string& Text) { return static_cast<int>(std::count(Text.begin(), Text.end(), Ch)); }

void OemTextToAnsi(std::string& Text)
{
    // Code page 850, bytes 0x80..0xFF, as Unicode.
    static constexpr char16_t Cp850[128] = {
        0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
        0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192,
        0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
        0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510,
        0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4,
        0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,
        0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE, 0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4,
        0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8, 0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0};
    std::u16string wide;
    wide.reserve(Text.size());
    for (unsigned char c : Text) wide += c < 0x80 ? static_cast<char16_t>(c) : Cp850[c - 0x80];
    Text = WideToAnsi(wide);
}

void MaskText(std::string& Text, char Ch) { std::fill(Text.begin(), Text.end(), Ch); }

// ---- Dates, names ------------------------------------------------------------------------------------

bool ParseLocaleDate(const std::string& Text, TDateTime& Date)
{
    const std::string fmt = UpperCase(FormatSettings().ShortDateFormat);
    const auto pd = fmt.find('D'), pm = fmt.find('M'), py = fmt.find('Y');
    if (pd == std::string::npos || pm == std::string::npos || py == std::string::npos) return false;
    const char sep = FormatSettings().DateSeparator;
    const auto s1 = Text.find(sep);
    if (s1 == std::string::npos) return false;
    const auto s2 = Text.find(sep, s1 + 1);
    if (s2 == std::string::npos) return false;
    int f[3];
    if (!ReadWholeNumber(std::string_view(Text).substr(0, s1), f[0]) ||
        !ReadWholeNumber(std::string_view(Text).substr(s1 + 1, s2 - s1 - 1), f[1]) ||
        !ReadWholeNumber(std::string_view(Text).substr(s2 + 1), f[2]))
        return false;
    // The field whose letter comes first in the format is the first field, and so on.
    auto rank = [&](std::size_t p) { return (p > pd) + (p > pm) + (p > py); };
    const int day = f[rank(pd)], month = f[rank(pm)], year = f[rank(py)];
    if (day >= 32 || month > 12) return false;
    return TryEncodeDate(year, month, day, Date);
}

namespace {

TDateTime ParseDateFields(const std::string& Text, bool monthFirst)
{
    const char sep = Text.find('/') != std::string::npos ? '/' : Text.find('.') != std::string::npos ? '.' : '-';
    const auto s1 = Text.find(sep);
    if (s1 == std::string::npos) return 0;
    const auto s2 = Text.find(sep, s1 + 1);
    const std::string_view t(Text);
    const std::string_view second = t.substr(s1 + 1, s2 == std::string::npos ? std::string::npos : s2 - s1 - 1);
    const std::string_view third = s2 == std::string::npos ? std::string_view() : t.substr(s2 + 1);
    int a = 0, b = 0, c = 0;
    if (!ReadWholeNumber(t.substr(0, s1), a) || !ReadWholeNumber(second, b) || !ReadWholeNumber(third, c)) return 0;
    // 16-bit arithmetic, as the stored years of old files were read.
    const auto year = static_cast<std::int16_t>(static_cast<std::uint16_t>(c + (c <= 25 ? 2000 : 1900)));
    return monthFirst ? EncodeDate(year, a, b) : EncodeDate(year, b, a);
}

} // namespace

TDateTime ParseDateMDY(const std::string& Text) { return ParseDateFields(Text, true); }
TDateTime ParseDateDMY(const std::string& Text) { return ParseDateFields(Text, false); }

TDateTime AdvanceDate(int Years, int Months, int Days, double Delta, TDateTime Date)
{
    if (Days != 0 && Years == 0 && Months == 0) return Date + Days;
    if ((Years != 0) != (Months != 0) && Days == 0) {
        int y = 0, m = 0, d = 0;
        DecodeDate(Date, y, m, d);
        const double time = Date - std::floor(Date);
        long long total = static_cast<long long>(y) * 12 + (m - 1) + static_cast<long long>(Years) * 12 + Months;
        if (total < 12 || total > 9999LL * 12 + 11) throw EConvertError("Invalid argument to date encode");
        const int ny = static_cast<int>(total / 12), nm = static_cast<int>(total % 12) + 1;
        const int nd = std::min(d, DaysInAMonth(ny, nm));
        return EncodeDate(ny, nm, nd) + time;
    }
    return Date + Delta;
}

std::string CapitalizeName(const std::string& Text)
{
    std::string s = Text;
    bool capNext = true;
    // Only the first " Mc" of the name capitalizes the letter after it. The characters before i no longer
    // change, so the first " Mc" is the first one that ends at a character just done: one look per
    // character, not a search of the whole name.
    bool mcSeen = false;
    const int n = static_cast<int>(s.size());
    for (int i = 0; i < n; ++i) {
        char& c = s[static_cast<std::size_t>(i)];
        if (c == ' ' || c == '\'' || c == ',' || c == '-' || c == '.') capNext = true;
        else if (capNext) {
            c = UpCaseChar(c);
            capNext = false;
        } else c = LoCaseChar(c);
        const int pos = i + 1;
        if (pos == 2 && s.compare(0, 2, "Mc") == 0) capNext = true;
        if (!mcSeen && i >= 2 && s.compare(static_cast<std::size_t>(i - 2), 3, " Mc") == 0) {
            mcSeen = true;
            capNext = true;
        }
        if (pos >= n - 2) {
            if (i >= 1 && s.compare(static_cast<std::size_t>(i - 1), 2, " I") == 0) capNext = true;
            if (i >= 2 && s.compare(static_cast<std::size_t>(i - 2), 3, " II") == 0) capNext = true;
        }
    }
    return s;
}

// ---- Filter conditions -------------------------------------------------------------------------------

namespace {

bool IsJoin(char c) { return c == '&' || c == ';' || c == '^' || c == '|'; }

bool ReadPlainNumber(const std::string& s, double& v)
{
    if (s.empty() || s[0] == ' ') return false;
    return TryParseNumber(s, v);
}

// The operand after the first `op`: blanks skipped, up to a blank, "&", "|" or the end, without a
// leading and a trailing double quote. `inclusive` tells a "=" right after the operator.
std::string Operand(const std::string& cond, char op, bool& inclusive)
{
    std::size_t i = cond.find(op) + 1;
    inclusive = i < cond.size() && cond[i] == '=';
    if (inclusive) ++i;
    while (i < cond.size() && cond[i] == ' ') ++i;
    std::size_t e = i;
    while (e < cond.size() && cond[e] != ' ' && cond[e] != '&' && cond[e] != '|') ++e;
    std::string v = cond.substr(i, e - i);
    if (!v.empty() && v.front() == '"') v.erase(0, 1);
    if (!v.empty() && v.back() == '"') v.pop_back();
    return v;
}

// <0, 0, >0: numbers, then dates, then the first 255 bytes.
int Compare(const std::string& text, const std::string& operand)
{
    double a = 0, b = 0;
    if (ReadPlainNumber(text, a) && ReadPlainNumber(operand, b)) return a < b ? -1 : a > b ? 1 : 0;
    TDateTime da = 0, db = 0;
    if (ParseLocaleDate(text, da) && ParseLocaleDate(operand, db)) return da < db ? -1 : da > db ? 1 : 0;
    const std::string x = text.substr(0, 255), y = operand.substr(0, 255);
    const int r = std::string_view(x).compare(y);
    // Byte-wise: compare as unsigned bytes.
    for (std::size_t i = 0; i < std::min(x.size(), y.size()); ++i)
        if (x[i] != y[i]) return static_cast<unsigned char>(x[i]) < static_cast<unsigned char>(y[i]) ? -1 : 1;
    return r < 0 ? -1 : r > 0 ? 1 : 0;
}

// Whether Segment ("?" matching any character) stands in Text at At.
bool SegmentAt(std::string_view Segment, std::string_view Text, std::size_t At, std::size_t& Steps)
{
    Steps += Segment.size();
    for (std::size_t j = 0; j < Segment.size(); ++j)
        if (Segment[j] != '?' && Segment[j] != Text[At + j]) return false;
    return true;
}

// The leftmost place at or after From where Segment stands wholly in Text; npos when none. Each text
// character is looked at once: a segment without "?" by its failure table, one with "?" by bit masks
// (a bit per segment character, so a step costs a word per 64 characters of the segment).
std::size_t FindSegment(std::string_view Segment, std::string_view Text, std::size_t From, std::size_t& Steps)
{
    const std::size_t m = Segment.size();
    if (Segment.find('?') == std::string_view::npos) {
        std::vector<std::size_t> fail(m, 0);
        for (std::size_t i = 1, k = 0; i < m; ++i) {
            while (k > 0 && Segment[i] != Segment[k]) k = fail[k - 1];
            if (Segment[i] == Segment[k]) ++k;
            fail[i] = k;
        }
        Steps += m;
        for (std::size_t i = From, k = 0; i < Text.size(); ++i) {
            ++Steps;
            while (k > 0 && Text[i] != Segment[k]) k = fail[k - 1];
            if (Text[i] == Segment[k]) ++k;
            if (k == m) return i + 1 - m;
        }
        return std::string_view::npos;
    }
    const std::size_t words = (m + 63) / 64;
    // One mask per character of the segment and one shared by all others (only the "?" bits).
    std::vector<int> slot(256, 0);
    std::vector<std::uint64_t> masks(words);
    for (std::size_t j = 0; j < m; ++j)
        if (Segment[j] != '?' && slot[static_cast<unsigned char>(Segment[j])] == 0) {
            slot[static_cast<unsigned char>(Segment[j])] = static_cast<int>(masks.size() / words);
            masks.resize(masks.size() + words);
        }
    for (std::size_t j = 0; j < m; ++j) {
        const std::uint64_t bit = std::uint64_t{1} << (j % 64);
        if (Segment[j] == '?')
            for (std::size_t s = 0; s < masks.size(); s += words) masks[s + j / 64] |= bit;
        else masks[static_cast<std::size_t>(slot[static_cast<unsigned char>(Segment[j])]) * words + j / 64] |= bit;
    }
    Steps += masks.size();
    const std::uint64_t last = std::uint64_t{1} << ((m - 1) % 64);
    std::vector<std::uint64_t> state(words, 0);
    for (std::size_t i = From; i < Text.size(); ++i) {
        Steps += words;
        const std::uint64_t* mask = &masks[static_cast<std::size_t>(slot[static_cast<unsigned char>(Text[i])]) * words];
        std::uint64_t carry = 1;
        for (std::size_t w = 0; w < words; ++w) {
            const std::uint64_t next = state[w] >> 63;
            state[w] = ((state[w] << 1) | carry) & mask[w];
            carry = next;
        }
        if (state[words - 1] & last) return i + 1 - m;
    }
    return std::string_view::npos;
}

// A pattern of "*" and "?" against the whole text. The pieces between stars are placed left to right,
// each at its leftmost place after the one before (a later place never helps the pieces after it), the
// first at the start and the last at the end, so the text is walked once.
bool WholeMatch(std::string_view Pattern, std::string_view Text, std::size_t& Steps)
{
    const std::size_t firstStar = Pattern.find('*');
    if (firstStar == std::string_view::npos) return Pattern.size() == Text.size() && SegmentAt(Pattern, Text, 0, Steps);
    const std::size_t lastStar = Pattern.rfind('*');
    const std::string_view head = Pattern.substr(0, firstStar), tail = Pattern.substr(lastStar + 1);
    if (head.size() + tail.size() > Text.size()) return false;
    if (!SegmentAt(head, Text, 0, Steps) || !SegmentAt(tail, Text, Text.size() - tail.size(), Steps)) return false;
    const std::string_view middle = Text.substr(0, Text.size() - tail.size());
    std::size_t at = head.size();
    for (std::size_t b = firstStar; b < lastStar;) {
        const std::size_t e = Pattern.find('*', b + 1);
        const std::string_view piece = Pattern.substr(b + 1, e - b - 1);
        b = e;
        if (piece.empty()) continue;
        const std::size_t found = FindSegment(piece, middle, at, Steps);
        if (found == std::string_view::npos) return false;
        at = found + piece.size();
    }
    return true;
}

} // namespace

// Double quotes are skipped. A "!" inverts the answer when the pattern before it matches the start of
// the text (the pattern before the first "!" then decides it: a shorter one matches whenever a longer one
// does); the answer itself is the whole pattern, without its "!", against the whole text.
bool MatchWildcard(const std::string& Pattern, const std::string& Text, std::size_t* Steps)
{
    std::string pattern;
    std::size_t bang = std::string::npos;
    for (char p : Pattern) {
        if (p == '"') continue;
        if (p == '!') {
            if (bang == std::string::npos) bang = pattern.size();
            continue;
        }
        pattern += p;
    }
    std::size_t steps = pattern.size() + Text.size();
    const bool negate = bang != std::string::npos && WholeMatch(pattern.substr(0, bang) + '*', Text, steps);
    const bool match = WholeMatch(pattern, Text, steps);
    if (Steps) *Steps = steps;
    return match != negate;
}

bool MatchSingleCondition(const std::string& Condition, const std::string& Text, bool CaseSensitive)
{
    const std::string cond = CaseSensitive ? Condition : UpperCase(Condition);
    const std::string text = CaseSensitive ? Text : UpperCase(Text);
    bool inclusive = false;
    if (cond.find('>') != std::string::npos) {
        const int c = Compare(text, Operand(cond, '>', inclusive));
        if (c > 0 || (inclusive && c == 0)) return true;
    }
    if (cond.find('<') != std::string::npos) {
        const int c = Compare(text, Operand(cond, '<', inclusive));
        if (c < 0 || (inclusive && c == 0)) return true;
    }
    if (cond.find('>') != std::string::npos || cond.find('<') != std::string::npos) return false;
    return MatchWildcard(cond, text);
}

bool MatchFilterCondition(const std::string& Condition, const std::string& Text, bool CaseSensitive)
{
    std::string c = Trim(Condition);
    // Blanks around the operators go.
    std::string squeezed;
    for (std::size_t i = 0; i < c.size(); ++i) {
        if (c[i] == ' ') {
            std::size_t j = i;
            while (j < c.size() && c[j] == ' ') ++j;
            const bool before = j < c.size() && (IsJoin(c[j]) || c[j] == '=');
            const bool after = !squeezed.empty() && (IsJoin(squeezed.back()) || squeezed.back() == '=');
            if (!before && !after) squeezed.append(c, i, j - i);
            i = j - 1;
        } else squeezed += c[i];
    }
    // "=x" means "x"; only ">=" and "<=" keep theirs, which includes the bound.
    std::string cond;
    for (std::size_t i = 0; i < squeezed.size(); ++i)
        if (squeezed[i] != '=' || (i > 0 && (squeezed[i - 1] == '>' || squeezed[i - 1] == '<'))) cond += squeezed[i];
    bool result = false;
    char op = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= cond.size(); ++i) {
        if (i < cond.size() && !IsJoin(cond[i])) continue;
        const bool m = MatchSingleCondition(cond.substr(start, i - start), Text, CaseSensitive);
        if (op == 0) result = m;
        else if (op == '&') result = result && m;
        else result = result || m;
        if (i < cond.size()) op = cond[i];
        start = i + 1;
    }
    return result;
}

// ---- Wide text ---------------------------------------------------------------------------------------

std::u16string WideFromCellText(const std::string& Text)
{
    if (Text.rfind("|\\", 0) != 0) return AnsiToWide(Text);
    std::u16string out;
    for (std::size_t i = 2; i + 1 < Text.size(); i += 2)
        out += static_cast<char16_t>(static_cast<unsigned char>(Text[i]) * 256 + static_cast<unsigned char>(Text[i + 1]));
    return out;
}

std::string CellTextFromWide(const std::u16string& WideText)
{
    std::string out = "|\\";
    for (char16_t u : WideText) {
        out += static_cast<char>(u >> 8);
        out += static_cast<char>(u & 0xFF);
    }
    return out;
}

// ---- Drawing ------------------------------------------------------------------------------------------

TColor DarkenedColor(TColor Color)
{
    const TColor rgb = ColorToRGB(Color);
    const int r = (rgb & 0xFF) >> 1, g = ((rgb >> 8) & 0xFF) >> 1, b = ((rgb >> 16) & 0xFF) >> 1;
    return static_cast<TColor>(r | (g << 8) | (b << 16));
}

void DrawTransparentBitmap(TCanvas& Canvas, const TBitmap& Bitmap, TColor BackColor, const TRect& Rect)
{
    if (Bitmap.Empty()) return;
    auto& bmp = const_cast<TBitmap&>(Bitmap);
    TCanvas& src = bmp.Canvas();
    const TColor key = src.GetPixel(0, 0);
    for (int y = 0; y < Bitmap.Height(); ++y)
        for (int x = 0; x < Bitmap.Width(); ++x) {
            const TColor c = src.GetPixel(x, y);
            Canvas.SetPixel(Rect.Left + x, Rect.Top + y, c == key ? ColorToRGB(BackColor) : c);
        }
}

void DrawErrorMark(TCanvas& Canvas, const std::string& Text, int Count, int Start, int LineOffset, const TRect& Rect)
{
    const int len = static_cast<int>(Text.size());
    auto xOf = [&](int index) { return Canvas.TextWidth(Text.substr(0, static_cast<std::size_t>(std::clamp(index, 0, len)))); };
    const int sx = Start >= 0 && Start < len ? xOf(Start) : xOf(len) + 4;
    const int last = Start + Count - 1;
    const int ex = Start + Count >= 0 && Start + Count < len && last >= 0 ? xOf(last) : xOf(len - 1) + 4;
    Canvas.Pen().SetColor(0x0000FF);
    Canvas.Pen().SetWidth(2);
    int x = Rect.Left + sx;
    const int base = Rect.Top + LineOffset;
    Canvas.MoveTo(x, base + 3);
    bool up = true;
    // Bounded by the text's own width, whatever Start and Count say.
    const int endX = Rect.Left + ex;
    for (int guard = 0; guard < 10000; ++guard) {
        x += 3;
        Canvas.LineTo(x, base + (up ? 0 : 3));
        up = !up;
        if (x > endX) break;
    }
    Canvas.Pen().SetWidth(1);
}

void DrawProgressBar(TCanvas& Canvas, TRect Rect, TColor DoneColor, int MarginY, int MarginX, int Percent,
                     TColor RestFontColor, TColor RestColor, TColor DoneFontColor)
{
    const TColor outer = Canvas.Brush().Color();
    Rect.Left += MarginX;
    Rect.Right -= MarginX;
    Rect.Top += MarginY;
    Rect.Bottom -= MarginY;
    const int w = Rect.Right - Rect.Left, h = Rect.Bottom - Rect.Top;
    const int done = Rect.Left + RoundHalfEven(Percent * static_cast<double>(w) / 100.0);
    const std::string text = std::to_string(Percent) + "%";
    const TSize ext = Canvas.TextExtent(text);
    const int tx = Rect.Left + (w - ext.cx) / 2, ty = Rect.Top + (h - ext.cy) / 2;
    Canvas.Brush().SetStyle(bsSolid);
    auto part = [&](TRect r, TColor fill, TColor font) {
        if (r.Right <= r.Left) return;
        Canvas.Brush().SetColor(fill);
        Canvas.Pen().SetColor(fill);
        Canvas.Rectangle(r);
        Canvas.Font().SetColor(font);
        Canvas.TextRect(r, tx, ty, text);
    };
    part({Rect.Left, Rect.Top, done, Rect.Bottom}, DoneColor, DoneFontColor);
    part({done, Rect.Top, Rect.Right, Rect.Bottom}, RestColor, RestFontColor);
    Canvas.Brush().SetStyle(bsClear);
    Canvas.Pen().SetColor(clBlack);
    Canvas.Rectangle(Rect.Left - 1, Rect.Top - 1, Rect.Right + 1, Rect.Bottom + 1);
    Canvas.Pen().SetColor(outer);
    Canvas.Rectangle(Rect.Left - 2, Rect.Top - 2, Rect.Right + 2, Rect.Bottom + 2);
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(outer);
}

void DrawProgressPie(TCanvas& Canvas, const TRect& Rect, TColor FillColor, int Percent)
{
    Canvas.Pen().SetColor(0x808080);
    Canvas.Pen().SetWidth(1);
    Canvas.Brush().SetStyle(bsClear);
    Canvas.Ellipse(Rect);
    const int cx = Rect.Left + (Rect.Right - Rect.Left) / 2, cy = Rect.Top + (Rect.Bottom - Rect.Top) / 2;
    const double a = Percent / 100.0 * 2 * M_PI;
    Canvas.MoveTo(cx, Rect.Top);
    Canvas.LineTo(cx, cy);
    Canvas.LineTo(cx + RoundHalfEven(std::sin(a) * (Rect.Right - Rect.Left + 1) / 2),
                  cy - RoundHalfEven(std::cos(a) * (Rect.Bottom - Rect.Top + 1) / 2));
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(FillColor);
    ExtFloodFill(Canvas, cx + 1, Rect.Top + 1, 0x808080, fsBorder);
}

void DrawGradientBands(TCanvas& Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect& Rect, int Count)
{
    if (Count <= 0) Count = 1;
    const TColor f = ColorToRGB(FromColor), t = ColorToRGB(ToColor);
    const int fr = f & 0xFF, fg = (f >> 8) & 0xFF, fb = (f >> 16) & 0xFF;
    const int tr = t & 0xFF, tg = (t >> 8) & 0xFF, tb = (t >> 16) & 0xFF;
    const int span = Horizontal ? Rect.Right - Rect.Left : Rect.Bottom - Rect.Top;
    const int size = RoundHalfEven(static_cast<double>(span) / Count) + 1;
    Canvas.Pen().SetWidth(1);
    Canvas.Pen().SetStyle(psSolid);
    Canvas.Brush().SetStyle(bsSolid);
    for (int i = 0; i < Count; ++i) {
        const int r = fr + RoundHalfEven(static_cast<double>(i) * (tr - fr) / Count);
        const int g = fg + RoundHalfEven(static_cast<double>(i) * (tg - fg) / Count);
        const int b = fb + RoundHalfEven(static_cast<double>(i) * (tb - fb) / Count);
        const TColor c = static_cast<TColor>(r | (g << 8) | (b << 16));
        Canvas.Pen().SetColor(c);
        Canvas.Brush().SetColor(c);
        const int start = RoundHalfEven(static_cast<double>(i) * span / Count);
        if (Horizontal) Canvas.Rectangle(Rect.Left + start, Rect.Top, Rect.Left + start + size, Rect.Bottom);
        else Canvas.Rectangle(Rect.Left, Rect.Top + start, Rect.Right, Rect.Top + start + size);
    }
}

void DrawComboButton(TCanvas& Canvas, const TRect& Rect)
{
    Canvas.DrawFrameControl({Rect.Right - 18, Rect.Top + 1, Rect.Right - 2, Rect.Bottom - 1}, DFC_SCROLL, unsigned(DFCS_SCROLLCOMBOBOX) | unsigned(DFCS_FLAT));
}
