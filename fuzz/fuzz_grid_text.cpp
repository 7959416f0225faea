// Fuzz target over the grid's routines that read cell texts from files and the clipboard (numbers,
// dates, quotes and delimiters, filter conditions, cell references, wide text, markup) and the reading of
// stored column widths from any ini text: no crash, no hang, and only the date error where a date is
// impossible.
#include "grid/EsgHTMLE.h"
#include "grid/ExtGridComponent.h"
#include "grid/ExtUtil.h"
#include "platform/rtl/IniFiles.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

void Require(bool condition)
{
    if (!condition) std::abort();
}

void Texts(const std::string& t)
{
    (void)ClassifyCellText(t, true);
    (void)ClassifyNumberText(t);
    Require(NormalizeNumberText(t).size() <= t.size() + 1);
    for (char q : {'"', '\'', ';', ','}) {
        Require(UnquoteText(q, t).size() <= t.size());
        int pos = 0;
        Require(ClosingQuotePos(q, t, pos) <= static_cast<int>(t.size()));
        Require(CountClosingQuotes(q, t) <= static_cast<int>(t.size()));
    }
    std::string rest = t, line;
    TakeFirstLine(rest, true, line);
    Require(line.size() + rest.size() <= t.size());
    (void)CountTextLines(t, true);
    TPoint p{0, 0};
    (void)ParseCellReference(t, p);
    TDateTime d = 0;
    (void)ParseLocaleDate(t, d);
    for (auto parse : {&ParseDateMDY, &ParseDateDMY}) {
        try {
            (void)parse(t);
        } catch (const EConvertError&) {
        }
    }
    Require(CapitalizeName(t).size() == t.size());
    std::string oem = t;
    OemTextToAnsi(oem);
    Require(oem.size() == t.size());
    Require(HTMLToPlainText(t).size() <= 2 * t.size());
    (void)ExpandLineBreakEscapes(t);
    std::string lf = t;
    LinefeedsToLineBreaks(lf);
    std::string quoted = t;
    QuoteMultilineText(quoted);
    const std::u16string wide = WideFromCellText(t);
    if (t.rfind("|\\", 0) == 0 && t.size() % 2 == 0) Require(CellTextFromWide(wide) == t);
    Require(WideFromCellText(CellTextFromWide(wide)) == wide);
}

void Filter(const std::string& t)
{
    const auto nl = t.find('\n');
    const std::string cond = t.substr(0, nl), text = nl == std::string::npos ? std::string() : t.substr(nl + 1);
    (void)MatchFilterCondition(cond, text, false);
    (void)MatchFilterCondition(cond, text, true);
}

void Dates(const uint8_t* data, size_t size)
{
    if (size < 8) return;
    const int years = static_cast<int8_t>(data[0]), months = static_cast<int16_t>(data[1] | data[2] << 8);
    const int days = static_cast<int8_t>(data[3]);
    const double start = 1 + (data[4] | data[5] << 8 | (data[6] & 0x3F) << 16);
    try {
        (void)AdvanceDate(years, months, days, data[7], start);
    } catch (const EConvertError&) {
    }
}

void Widths(const std::string& t)
{
    static const std::string path = [] {
        char name[] = "/tmp/fuzz_grid_widths_XXXXXX";
        const int fd = mkstemp(name);
        if (fd >= 0) close(fd);
        return std::string(name);
    }();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << t;
    }
    const std::vector<int> w = ReadStoredColumnWidths(TIniFile(path), "Grid", 8, 64);
    Require(w.size() == 8);
    for (int v : w) Require(v >= -1 && v <= 32767);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    Texts(text);
    Filter(text);
    Dates(data, size);
    Widths(text);
    return 0;
}
