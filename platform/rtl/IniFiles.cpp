// The ini file as a list of raw lines (each with its own line end) classified as section headers, keys,
// comments and other text. Reads parse the file afresh; writes edit the lines they concern and save.
#include "platform/rtl/IniFiles.h"

#include "platform/rtl/NumberText.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/TextFile.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <vector>

namespace {

enum class TLineKind { Other, Section, Key };

struct TIniLine {
    std::string Text;   // without its end
    std::string Ending; // "\n", "\r\n" or "" for a last line without an end
    TLineKind Kind = TLineKind::Other;
    std::string Name;   // section name or key, trimmed
};

class TIniDocument {
public:
    explicit TIniDocument(const std::string& fileName);

    // Index of the first header of the section; -1 when absent.
    int FindSection(std::string_view section) const;
    // Index one past the section's last line (the next header or the end).
    int SectionEnd(int header) const;
    int FindKey(std::string_view section, std::string_view ident) const;
    std::optional<std::string> Value(std::string_view section, std::string_view ident) const;

    void SetValue(std::string_view section, std::string_view ident, std::string_view value);
    void EraseSection(std::string_view section);
    void DeleteKey(std::string_view section, std::string_view ident);
    void Save(const std::string& fileName) const;

    const std::vector<TIniLine>& Lines() const { return FLines; }

private:
    void Insert(int at, std::string text);
    std::string NewLineEnding() const;

    std::string FOriginal;
    std::vector<TIniLine> FLines;
};

void Classify(TIniLine& line)
{
    const std::string_view t = TrimView(line.Text);
    if (t.empty() || t.front() == ';' || t.front() == '#') return;
    if (t.front() == '[') {
        const std::size_t close = t.find(']');
        line.Kind = TLineKind::Section;
        line.Name = Trim(t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
        return;
    }
    const std::size_t eq = t.find('=');
    if (eq == std::string_view::npos) return;
    line.Kind = TLineKind::Key;
    line.Name = Trim(t.substr(0, eq));
}

std::string ValueOf(const TIniLine& line)
{
    const std::size_t eq = line.Text.find('=');
    return Trim(std::string_view(line.Text).substr(eq + 1));
}

TIniDocument::TIniDocument(const std::string& fileName)
{
    LoadFileBytes(fileName, FOriginal);
    std::size_t start = 0;
    while (start < FOriginal.size()) {
        TIniLine line;
        std::size_t end = FOriginal.find('\n', start);
        if (end == std::string::npos) {
            line.Text = FOriginal.substr(start);
            start = FOriginal.size();
        } else {
            const bool crlf = end > start && FOriginal[end - 1] == '\r';
            line.Text = FOriginal.substr(start, end - start - (crlf ? 1 : 0));
            line.Ending = crlf ? "\r\n" : "\n";
            start = end + 1;
        }
        Classify(line);
        FLines.push_back(std::move(line));
    }
}

int TIniDocument::FindSection(std::string_view section) const
{
    const std::string_view wanted = TrimView(section);
    for (std::size_t i = 0; i < FLines.size(); ++i)
        if (FLines[i].Kind == TLineKind::Section && SameText(FLines[i].Name, wanted)) return static_cast<int>(i);
    return -1;
}

int TIniDocument::SectionEnd(int header) const
{
    int i = header + 1;
    while (i < static_cast<int>(FLines.size()) && FLines[static_cast<std::size_t>(i)].Kind != TLineKind::Section) ++i;
    return i;
}

int TIniDocument::FindKey(std::string_view section, std::string_view ident) const
{
    const int header = FindSection(section);
    if (header < 0) return -1;
    const std::string_view wanted = TrimView(ident);
    for (int i = header + 1, end = SectionEnd(header); i < end; ++i) {
        const TIniLine& l = FLines[static_cast<std::size_t>(i)];
        if (l.Kind == TLineKind::Key && SameText(l.Name, wanted)) return i;
    }
    return -1;
}

std::optional<std::string> TIniDocument::Value(std::string_view section, std::string_view ident) const
{
    const int i = FindKey(section, ident);
    if (i < 0) return std::nullopt;
    return ValueOf(FLines[static_cast<std::size_t>(i)]);
}

std::string TIniDocument::NewLineEnding() const
{
    for (const TIniLine& l : FLines)
        if (!l.Ending.empty()) return l.Ending;
    return "\n";
}

void TIniDocument::Insert(int at, std::string text)
{
    TIniLine line;
    line.Text = std::move(text);
    line.Ending = NewLineEnding();
    Classify(line);
    if (at > 0 && FLines[static_cast<std::size_t>(at - 1)].Ending.empty())
        FLines[static_cast<std::size_t>(at - 1)].Ending = line.Ending; // a last line without an end gets one
    FLines.insert(FLines.begin() + at, std::move(line));
}

void TIniDocument::SetValue(std::string_view section, std::string_view ident, std::string_view value)
{
    const std::string v(TrimView(value));
    if (const int i = FindKey(section, ident); i >= 0) {
        // Keep the key as written, with the "=" and the blanks after it.
        TIniLine& l = FLines[static_cast<std::size_t>(i)];
        std::size_t valueStart = l.Text.find('=') + 1;
        while (valueStart < l.Text.size() && (l.Text[valueStart] == ' ' || l.Text[valueStart] == '\t')) ++valueStart;
        l.Text = l.Text.substr(0, valueStart) + v;
        return;
    }
    const std::string entry = std::string(TrimView(ident)) + "=" + v;
    const int header = FindSection(section);
    if (header < 0) {
        const int end = static_cast<int>(FLines.size());
        Insert(end, "[" + std::string(TrimView(section)) + "]");
        Insert(end + 1, entry);
        return;
    }
    // After the section's last line that is not blank, so blank lines between sections stay there.
    int at = SectionEnd(header);
    while (at > header + 1 && TrimView(FLines[static_cast<std::size_t>(at - 1)].Text).empty()) --at;
    Insert(at, entry);
}

void TIniDocument::EraseSection(std::string_view section)
{
    for (int header = FindSection(section); header >= 0; header = FindSection(section))
        FLines.erase(FLines.begin() + header, FLines.begin() + SectionEnd(header));
}

void TIniDocument::DeleteKey(std::string_view section, std::string_view ident)
{
    const int i = FindKey(section, ident);
    if (i >= 0) FLines.erase(FLines.begin() + i);
}

void TIniDocument::Save(const std::string& fileName) const
{
    std::string bytes;
    for (const TIniLine& l : FLines) bytes += l.Text + l.Ending;
    if (bytes == FOriginal) return; // unchanged: leave the file alone (a missing one stays missing)
    if (!SaveFileSafely(fileName, bytes)) throw EIniFileException("Unable to write to " + fileName);
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// Names and values that would read back as something else, or break the file's lines, are refused.
void CheckWritable(const std::string& fileName, std::string_view section, std::string_view ident, std::string_view value)
{
    const std::string_view key = TrimView(ident);
    const bool bad = HasLineBreak(section) || HasLineBreak(ident) || HasLineBreak(value) ||
                     section.find(']') != std::string_view::npos || TrimView(section).empty() || key.empty() ||
                     key.find('=') != std::string_view::npos || key.front() == '[' || key.front() == ';' ||
                     key.front() == '#';
    if (bad) throw EIniFileException("Unable to write to " + fileName);
}

} // namespace

std::string TIniFile::ReadString(std::string_view section, std::string_view ident, const std::string& def) const
{
    return TIniDocument(FFileName).Value(section, ident).value_or(def);
}

void TIniFile::WriteString(std::string_view section, std::string_view ident, std::string_view value)
{
    CheckWritable(FFileName, section, ident, value);
    TIniDocument doc(FFileName);
    doc.SetValue(section, ident, value);
    doc.Save(FFileName);
}

std::int32_t TIniFile::ReadInteger(std::string_view section, std::string_view ident, std::int32_t def) const
{
    std::int32_t v = def;
    const auto text = TIniDocument(FFileName).Value(section, ident);
    return text && TryStrToInt(TrimView(*text), v) ? v : def;
}

void TIniFile::WriteInteger(std::string_view section, std::string_view ident, std::int32_t value)
{
    WriteString(section, ident, std::to_string(value));
}

bool TIniFile::ReadBool(std::string_view section, std::string_view ident, bool def) const
{
    return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TIniFile::WriteBool(std::string_view section, std::string_view ident, bool value)
{
    WriteString(section, ident, value ? "1" : "0");
}

double TIniFile::ReadFloat(std::string_view section, std::string_view ident, double def) const
{
    double v = 0;
    const auto text = TIniDocument(FFileName).Value(section, ident);
    return text && TryParseNumber(*text, v) && std::isfinite(v) ? v : def;
}

void TIniFile::WriteFloat(std::string_view section, std::string_view ident, double value)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    WriteString(section, ident, std::string_view(buf, static_cast<std::size_t>(r.ptr - buf)));
}

bool TIniFile::SectionExists(std::string_view section) const { return TIniDocument(FFileName).FindSection(section) >= 0; }

bool TIniFile::ValueExists(std::string_view section, std::string_view ident) const
{
    return TIniDocument(FFileName).FindKey(section, ident) >= 0;
}

void TIniFile::ReadSection(std::string_view section, TStringList& idents) const
{
    const TIniDocument doc(FFileName);
    idents.BeginUpdate();
    idents.Clear();
    if (const int header = doc.FindSection(section); header >= 0)
        for (int i = header + 1, end = doc.SectionEnd(header); i < end; ++i)
            if (doc.Lines()[static_cast<std::size_t>(i)].Kind == TLineKind::Key) idents.Add(doc.Lines()[static_cast<std::size_t>(i)].Name);
    idents.EndUpdate();
}

void TIniFile::ReadSections(TStringList& sections) const
{
    const TIniDocument doc(FFileName);
    std::vector<std::string> names;
    for (const TIniLine& l : doc.Lines()) {
        if (l.Kind != TLineKind::Section) continue;
        bool seen = false;
        for (const std::string& n : names) seen = seen || SameText(n, l.Name);
        if (!seen) names.push_back(l.Name);
    }
    sections.BeginUpdate();
    sections.Clear();
    for (const std::string& n : names) sections.Add(n);
    sections.EndUpdate();
}

void TIniFile::EraseSection(std::string_view section)
{
    TIniDocument doc(FFileName);
    doc.EraseSection(section);
    doc.Save(FFileName);
}

void TIniFile::DeleteKey(std::string_view section, std::string_view ident)
{
    TIniDocument doc(FFileName);
    doc.DeleteKey(section, ident);
    doc.Save(FFileName);
}
