// The ini file as a list of raw lines (each with its own line end) classified as section headers, keys,
// comments and other text. Reads read the file afresh and parse it when its bytes differ from those last
// parsed; writes edit the lines they concern and save, at once or at the end of a batch.
#include "platform/rtl/IniFiles.h"

#include "platform/rtl/NumberText.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/TextFile.h"

#include <charconv>
#include <cmath>
#include <memory>
#include <mutex>
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
    explicit TIniDocument(std::string bytes);

    // Index of the first header of the section; -1 when absent.
    int FindSection(std::string_view section) const;
    // Index one past the section's last line (the next header or the end).
    int SectionEnd(int header) const;
    int FindKey(std::string_view section, std::string_view ident) const;
    std::optional<std::string> Value(std::string_view section, std::string_view ident) const;

    void SetValue(std::string_view section, std::string_view ident, std::string_view value);
    void EraseSection(std::string_view section);
    void DeleteKey(std::string_view section, std::string_view ident);
    void Apply(const TIniFile::TEdit& edit);
    // Saves the lines when they differ from the bytes read; the document then stands for the file.
    void Save(const std::string& fileName);

    const std::vector<TIniLine>& Lines() const { return FLines; }
    const std::string& Original() const { return FOriginal; }

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

TIniDocument::TIniDocument(std::string bytes) : FOriginal(std::move(bytes))
{
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

void TIniDocument::Apply(const TIniFile::TEdit& edit)
{
    switch (edit.Kind) {
    case TIniFile::TEdit::Set: SetValue(edit.Section, edit.Ident, edit.Value); break;
    case TIniFile::TEdit::DeleteKey: DeleteKey(edit.Section, edit.Ident); break;
    case TIniFile::TEdit::EraseSection: EraseSection(edit.Section); break;
    }
}

// The document last read or saved, shared by every object: a file read again with the same bytes is not
// parsed again.
struct TIniFilesState {
    std::mutex Lock;
    std::string FileName;
    std::shared_ptr<const TIniDocument> Document;
};

TIniFilesState& IniFilesState()
{
    static TIniFilesState state;
    return state;
}

void TIniDocument::Save(const std::string& fileName)
{
    std::size_t size = 0;
    for (const TIniLine& l : FLines) size += l.Text.size() + l.Ending.size();
    std::string bytes;
    bytes.reserve(size);
    for (const TIniLine& l : FLines) bytes.append(l.Text).append(l.Ending);
    if (bytes == FOriginal) return; // unchanged: leave the file alone (a missing one stays missing)
    if (!SaveFileSafely(fileName, bytes)) throw EIniFileException("Unable to write to " + fileName);
    FOriginal = std::move(bytes);
    auto saved = std::make_shared<const TIniDocument>(*this);
    TIniFilesState& state = IniFilesState();
    const std::lock_guard<std::mutex> lock(state.Lock);
    state.FileName = fileName;
    state.Document = std::move(saved);
}

// The file's document as it is now.
std::shared_ptr<const TIniDocument> ReadDocument(const std::string& fileName)
{
    std::string bytes;
    LoadFileBytes(fileName, bytes);
    TIniFilesState& state = IniFilesState();
    const std::lock_guard<std::mutex> lock(state.Lock);
    if (!state.Document || state.FileName != fileName || state.Document->Original() != bytes) {
        state.FileName = fileName;
        state.Document = std::make_shared<const TIniDocument>(std::move(bytes));
    }
    return state.Document;
}

// The file's document with the writes a batch holds.
std::shared_ptr<const TIniDocument> ReadDocument(const std::string& fileName, const std::vector<TIniFile::TEdit>& held)
{
    std::shared_ptr<const TIniDocument> doc = ReadDocument(fileName);
    if (held.empty()) return doc;
    auto edited = std::make_shared<TIniDocument>(*doc);
    for (const TIniFile::TEdit& e : held) edited->Apply(e);
    return edited;
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
    return ReadDocument(FFileName, FHeld)->Value(section, ident).value_or(def);
}

void TIniFile::Edit(TEdit edit)
{
    if (FHolding) {
        FHeld.push_back(std::move(edit));
        return;
    }
    TIniDocument doc(*ReadDocument(FFileName));
    doc.Apply(edit);
    doc.Save(FFileName);
}

void TIniFile::UpdateFile()
{
    FHolding = false;
    if (FHeld.empty()) return;
    const std::vector<TEdit> held = std::move(FHeld);
    FHeld.clear();
    TIniDocument doc(*ReadDocument(FFileName));
    for (const TEdit& e : held) doc.Apply(e);
    doc.Save(FFileName);
}

void TIniFile::WriteString(std::string_view section, std::string_view ident, std::string_view value)
{
    try {
        CheckWritable(FFileName, section, ident, value);
    } catch (const EIniFileException&) {
        // A refused value ends a batch with nothing saved.
        FHolding = false;
        FHeld.clear();
        throw;
    }
    Edit({TEdit::Set, std::string(section), std::string(ident), std::string(value)});
}

std::int32_t TIniFile::ReadInteger(std::string_view section, std::string_view ident, std::int32_t def) const
{
    std::int32_t v = def;
    const auto text = ReadDocument(FFileName, FHeld)->Value(section, ident);
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
    const auto text = ReadDocument(FFileName, FHeld)->Value(section, ident);
    return text && TryParseNumber(*text, v) && std::isfinite(v) ? v : def;
}

void TIniFile::WriteFloat(std::string_view section, std::string_view ident, double value)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    WriteString(section, ident, std::string_view(buf, static_cast<std::size_t>(r.ptr - buf)));
}

bool TIniFile::SectionExists(std::string_view section) const { return ReadDocument(FFileName, FHeld)->FindSection(section) >= 0; }

bool TIniFile::ValueExists(std::string_view section, std::string_view ident) const
{
    return ReadDocument(FFileName, FHeld)->FindKey(section, ident) >= 0;
}

void TIniFile::ReadSection(std::string_view section, TStringList& idents) const
{
    const std::shared_ptr<const TIniDocument> doc = ReadDocument(FFileName, FHeld);
    idents.BeginUpdate();
    idents.Clear();
    if (const int header = doc->FindSection(section); header >= 0)
        for (int i = header + 1, end = doc->SectionEnd(header); i < end; ++i)
            if (doc->Lines()[static_cast<std::size_t>(i)].Kind == TLineKind::Key) idents.Add(doc->Lines()[static_cast<std::size_t>(i)].Name);
    idents.EndUpdate();
}

void TIniFile::ReadSections(TStringList& sections) const
{
    const std::shared_ptr<const TIniDocument> doc = ReadDocument(FFileName, FHeld);
    std::vector<std::string> names;
    for (const TIniLine& l : doc->Lines()) {
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

void TIniFile::EraseSection(std::string_view section) { Edit({TEdit::EraseSection, std::string(section), {}, {}}); }

void TIniFile::DeleteKey(std::string_view section, std::string_view ident)
{
    Edit({TEdit::DeleteKey, std::string(section), std::string(ident), {}});
}
