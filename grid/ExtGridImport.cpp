// Reading files into the grid: delimited text (the delimiter found from the first two lines, quoted
// fields, OEM text, progress, rows added a thousand at a time) and spreadsheets through an automation
// server (the used range of a sheet). Both put the grid's state back on every exit, errors included.
#include "grid/ExtGrid.h"

#include "platform/controls/Automation.h"
#include "platform/controls/Screen.h"

#include <cctype>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string_view>

namespace {

// The lines of a text file: a line ends at LF or CR LF; a CR without LF is dropped from the line.
std::vector<std::string> ReadLines(const std::string& Bytes)
{
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < Bytes.size(); ++i) {
        const char c = Bytes[i];
        if (c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
        } else if (c != '\r') line += c;
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

// The delimiter of two lines by the three passes: equal closing-quote counts, equal plain counts, then
// the most occurrences in either line; '\0' when no candidate occurs.
char DetectDelimiter(const std::string& L1, const std::string& L2)
{
    static constexpr char Candidates[] = {',', ';', '#', '\t', '|'};
    // The candidate counted equally often, and most often, in both lines.
    const auto equalInBoth = [&](auto Count) {
        char found = 0;
        int best = 0;
        for (char c : Candidates) {
            const int c1 = Count(c, L1), c2 = Count(c, L2);
            if (c1 == c2 && c1 > best) {
                found = c;
                best = c1;
            }
        }
        return found;
    };
    if (const char c = equalInBoth([](char d, const std::string& l) { return CountClosingQuotes(d, l); })) return c;
    if (const char c = equalInBoth([](char d, const std::string& l) { return CountChar(d, l); })) return c;
    char found = 0;
    int best = 0;
    for (char c : Candidates) {
        const int c1 = CountChar(c, L1), c2 = CountChar(c, L2);
        if (c1 > best || c2 > best) {
            found = c;
            best = std::max(c1, c2);
        }
    }
    return found;
}

// Calls Field with each field of a delimited line, left to right, as it stands in the line (its
// doubled quotes not yet undone). A field opening with a quote runs to its closing quote, and what
// follows that up to the next delimiter is dropped; without a delimiter the line is one field.
template <class F>
void WalkFields(std::string_view Rest, char Delimiter, F&& Field)
{
    std::size_t p;
    while (Delimiter != 0 && (p = Rest.find(Delimiter)) != std::string_view::npos) {
        if (!Rest.empty() && Rest[0] == '"') {
            Rest.remove_prefix(1);
            int q = 0;
            ClosingQuotePos('"', Rest, q);
            std::string_view field;
            if (q > 0) {
                field = Rest.substr(0, static_cast<std::size_t>(q - 1));
                Rest.remove_prefix(static_cast<std::size_t>(q));
            }
            Field(field);
            p = Rest.find(Delimiter);
            if (p == std::string_view::npos) return;
        } else Field(Rest.substr(0, p));
        Rest.remove_prefix(p + 1);
    }
    if (!Rest.empty()) {
        if (Rest[0] == '"') Rest.remove_prefix(1);
        if (!Rest.empty() && Rest.back() == '"') Rest.remove_suffix(1);
        Field(Rest);
    }
}

} // namespace

void TExtStringGrid::SetCellFromFile(int ACol, int ARow, const std::string& Text) { SetRawCellText(ACol, ARow, Text); }

void TExtStringGrid::LoadDelimitedFile(const std::string& FileName) { ReadDelimitedFile(FileName, false); }

void TExtStringGrid::ReadDelimitedFile(const std::string& FileName, bool Append)
{
    std::ifstream in(FileName, std::ios::binary);
    if (!in) throw EExtGridError("Cannot open file " + FileName);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw EInOutError("I/O error reading " + FileName);
    std::vector<std::string> lines = ReadLines(bytes);
    const char savedDelimiter = FieldDelimiter;
    const bool footerRow = FloatingFooter.Visible() && FloatingFooter.FooterStyle() == fsFixedLastRow;
    int r = 0;
    TGridCells footer;
    bool setAside = false;
    if (Append) {
        r = RowCount();
        if (footerRow) {
            footer = Rows(RowCount() - 1);
            ClearRowCells(RowCount() - 1);
            setAside = true;
            r = RowCount() - 1;
        }
    }
    // Whatever happens, the delimiter, the set-aside footer row and the row count come back.
    auto finish = [&] {
        SetRowCount(std::max(1, r + FFixedFooters));
        if (setAside) SetRows(RowCount() - 1, footer);
        FieldDelimiter = savedDelimiter;
    };
    try {
        char delimiter = FieldDelimiter;
        if (delimiter == 0 && !lines.empty()) delimiter = DetectDelimiter(lines[0], lines.size() > 1 ? lines[1] : std::string());
        const int n = static_cast<int>(lines.size());
        if (OnFileProgress) SetRowCount(Append ? RowCount() + n : n + FFixedFooters);
        int lastProgress = -1;
        for (int k = 0; k < n; ++k) {
            std::string& text = lines[static_cast<std::size_t>(k)];
            if (OemConvert) OemTextToAnsi(text);
            if (r >= RowCount() - FFixedFooters) SetRowCount(r + 1000);
            // The fields are counted first so that the grid widens once per line: widening column by
            // column would move the row's cells again and again (a line of 100,000 fields).
            int fields = 0;
            WalkFields(text, delimiter, [&](std::string_view) { ++fields; });
            if (fields > ColCount()) SetColCount(fields);
            int c = 0;
            WalkFields(text, delimiter, [&](std::string_view field) { SetCellFromFile(c++, r, UnquoteText('"', std::string(field))); });
            ++r;
            if (OnFileProgress) {
                const int progress = static_cast<int>(std::nearbyint(100.0 * (k + 1) / n));
                if (progress != lastProgress) {
                    lastProgress = progress;
                    OnFileProgress(this, static_cast<short>(progress));
                }
            }
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
    CellsChanged({0, 0, ColCount(), RowCount()});
    FileLoaded();
}

void TExtStringGrid::LoadSpreadsheetFile(const std::string& FileName) { ReadSpreadsheetFile(FileName, ""); }

namespace {

// Column letters of a spreadsheet: A..Z, then AA, AB, ...
std::string ColumnLetters(int Column)
{
    std::string s;
    for (int n = Column; n > 0; n = (n - 1) / 26) s.insert(s.begin(), static_cast<char>('A' + (n - 1) % 26));
    return s;
}

// "$C$5" as column 3, row 5; -1 for a part that does not read. A part without a column is whole rows.
void ParseCellAddress(std::string Part, int& Column, int& Row, bool& WholeRows)
{
    if (!Part.empty() && Part[0] == '$') Part.erase(0, 1);
    const auto dollar = Part.find('$');
    const std::string letters = dollar == std::string::npos ? std::string() : Part.substr(0, dollar);
    const std::string digits = dollar == std::string::npos ? Part : Part.substr(dollar + 1);
    WholeRows = dollar == std::string::npos;
    Row = -1;
    if (!digits.empty() && digits.size() < 10 && std::all_of(digits.begin(), digits.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
        Row = std::stoi(digits);
    Column = -1;
    if (letters.size() == 1 && std::isalpha(static_cast<unsigned char>(letters[0]))) Column = std::toupper(letters[0]) - 'A' + 1;
    else if (letters.size() == 2 && std::isalpha(static_cast<unsigned char>(letters[0])) && std::isalpha(static_cast<unsigned char>(letters[1])))
        Column = 26 * (std::toupper(letters[0]) - 'A' + 1) + std::toupper(letters[1]) - 'A' + 1;
}

} // namespace

void TExtStringGrid::ReadSpreadsheetFile(const std::string& FileName, const std::string& SheetName)
{
    const TCursor savedCursor = Screen->Cursor();
    Screen->SetCursor(crHourGlass);
    std::shared_ptr<TAutomationObject> app;
    try {
        app = CreateOleObject("excel.application");
    } catch (const EOleSysError&) {
        Screen->SetCursor(crDefault);
        throw EExtGridError("Excel OLE server not found");
    }
    std::shared_ptr<TAutomationObject> book;
    // After the workbook opened, every way out closes it, quits the server and gives the cursor back.
    auto finish = [&] {
        try {
            if (book) book->Invoke("Close", {}, {{"SaveChanges", TAutoValue(false)}});
        } catch (const std::exception&) {
        }
        try {
            app->Invoke("Quit");
        } catch (const std::exception&) {
        }
        app.reset();
        Screen->SetCursor(savedCursor);
    };
    try {
        book = app->Get("WorkBooks")->Get("Open", {TAutoValue(FileName)});
        std::shared_ptr<TAutomationObject> sheet;
        if (SheetName.empty()) sheet = book->Get("ActiveSheet");
        else {
            const std::int64_t count = book->Get("Sheets")->Invoke("Count").AsInteger();
            for (std::int64_t i = 1; i <= count; ++i) {
                auto candidate = book->Get("Sheets", {TAutoValue(i)});
                if (candidate->Invoke("Name").AsText() == SheetName) sheet = candidate;
            }
            if (!sheet) throw EExtGridError("Excel worksheet " + SheetName + " not found");
        }
        const std::string address = sheet->Get("UsedRange")->Invoke("Address").AsText();
        int c1 = 1, r1 = 1, c2 = 1, r2 = 1;
        bool whole1 = false, whole2 = false;
        const auto colon = address.find(':');
        if (colon == std::string::npos) {
            // A single cell: that cell (the first cell would be a different one).
            ParseCellAddress(address, c1, r1, whole1);
            c2 = c1;
            r2 = r1;
            if (whole1) c1 = c2 = 1;
        } else {
            ParseCellAddress(address.substr(0, colon), c1, r1, whole1);
            ParseCellAddress(address.substr(colon + 1, 255), c2, r2, whole2);
            if (whole1) {
                c1 = 1;
                c2 = 256;
            }
        }
        const int fixedCols = FixedCols(), fixedRows = FixedRows();
        if (c1 > 0 && r1 > 0 && c2 >= c1 && r2 >= r1) {
            SetColCount(c2 - c1 + 1);
            SetRowCount(r2 - r1 + 1);
        }
        const std::string range = ColumnLetters(c1) + std::to_string(r1) + ":" + ColumnLetters(c2) + std::to_string(r2);
        const TAutoValue values = sheet->Get("Range", {TAutoValue(range)})->Invoke("Value");
        if (fixedCols < ColCount()) SetFixedCols(fixedCols);
        if (fixedRows < RowCount()) SetFixedRows(fixedRows);
        for (int i = 1; i <= RowCount(); ++i)
            for (int j = 1; j <= ColCount(); ++j) {
                const TAutoValue* v = nullptr;
                if (values.Kind == TAutoValue::TKind::Array) {
                    if (i - 1 < static_cast<int>(values.Rows.size()) && j - 1 < static_cast<int>(values.Rows[static_cast<std::size_t>(i - 1)].size()))
                        v = &values.Rows[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j - 1)];
                } else if (i == 1 && j == 1) v = &values;
                if (!v || v->Kind == TAutoValue::TKind::Empty || v->Kind == TAutoValue::TKind::Object || v->Kind == TAutoValue::TKind::Error)
                    continue;
                SetCellFromFile(j - 1, i - 1, v->AsText());
            }
    } catch (...) {
        finish();
        throw;
    }
    finish();
    CellsChanged({0, 0, ColCount(), RowCount()});
    FileLoaded();
}
