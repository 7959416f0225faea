// TStringList: storage, sorting, name=value entries, delimited text and files.
#include "platform/rtl/StringList.h"

#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/TextFile.h"

#include <algorithm>

namespace {

void WriteStrings(const TStringList& list, TStream& s)
{
    s.WriteInt32(list.Count());
    for (const std::string& item : list.Items()) {
        s.WriteInt32(static_cast<std::int32_t>(item.size()));
        s.WriteBytes(item);
    }
}

void ReadStrings(TStringList& list, TStream& s)
{
    const std::int32_t count = s.ReadInt32();
    if (count < 0) throw EReadError("Stream read error");
    list.BeginUpdate();
    list.Clear();
    for (std::int32_t i = 0; i < count; ++i) {
        const std::int32_t length = s.ReadInt32();
        if (length < 0) throw EReadError("Stream read error");
        list.Add(s.ReadBytes(length));
    }
    list.EndUpdate();
}

} // namespace

const TClassInfo& TStringList::StaticClassInfo()
{
    using P = TProps<TStringList>;
    static const TClassInfo info({
        .Name = "TStringList",
        .Parent = &TPersistent::StaticClassInfo(),
        // The strings stream as one block: a count, then each string's length and bytes.
        .Defined = {P::DefinedBinary("Strings", &ReadStrings, &WriteStrings,
                                     [](const TStringList& l) { return l.Count() > 0; })},
    });
    return info;
}

// ---- items ------------------------------------------------------------------------------------------

void TStringList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

void TStringList::CheckUnsorted() const
{
    if (FSorted) throw EStringListError("Operation not allowed on sorted list");
}

const std::string& TStringList::Strings(int index) const
{
    CheckIndex(index);
    return FItems[static_cast<std::size_t>(index)];
}

void TStringList::Put(int index, const std::string& s)
{
    CheckUnsorted();
    CheckIndex(index);
    Changing();
    FItems[static_cast<std::size_t>(index)] = s;
    Changed();
}

void TStringList::InsertAt(int index, const std::string& s)
{
    Changing();
    FItems.insert(FItems.begin() + index, s);
    Changed();
}

int TStringList::Add(const std::string& s)
{
    int index = Count();
    if (FSorted && Find(s, index)) {
        if (Duplicates == dupIgnore) return index;
        if (Duplicates == dupError) throw EStringListError("String list does not allow duplicates");
    }
    InsertAt(index, s);
    return index;
}

void TStringList::Insert(int index, const std::string& s)
{
    CheckUnsorted();
    if (index < 0 || index > Count()) throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
    InsertAt(index, s);
}

void TStringList::Delete(int index)
{
    CheckIndex(index);
    Changing();
    FItems.erase(FItems.begin() + index);
    Changed();
}

void TStringList::Clear()
{
    if (FItems.empty()) return;
    Changing();
    FItems.clear();
    Changed();
}

void TStringList::Exchange(int index1, int index2)
{
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    std::swap(FItems[static_cast<std::size_t>(index1)], FItems[static_cast<std::size_t>(index2)]);
    Changed();
}

void TStringList::AddStrings(const TStringList& source)
{
    const std::vector<std::string> items = source.FItems; // the source may be this list
    BeginUpdate();
    for (const std::string& s : items) Add(s);
    EndUpdate();
}

void TStringList::Assign(const TPersistent& Source)
{
    auto* other = dynamic_cast<const TStringList*>(&Source);
    if (!other) return TPersistent::Assign(Source);
    if (other == this) return;
    BeginUpdate();
    Clear();
    NameValueSeparator = other->NameValueSeparator;
    QuoteChar = other->QuoteChar;
    Delimiter = other->Delimiter;
    StrictDelimiter = other->StrictDelimiter;
    AddStrings(*other);
    EndUpdate();
}

// ---- searching and sorting ----------------------------------------------------------------------------

int TStringList::Compare(std::string_view a, std::string_view b) const
{
    return FCaseSensitive ? CompareStr(a, b) : CompareText(a, b);
}

bool TStringList::Find(std::string_view s, int& index) const
{
    const auto it = std::lower_bound(FItems.begin(), FItems.end(), s,
                                     [this](const std::string& item, std::string_view v) { return Compare(item, v) < 0; });
    index = static_cast<int>(it - FItems.begin());
    return it != FItems.end() && Compare(*it, s) == 0;
}

int TStringList::IndexOf(std::string_view s) const
{
    if (FSorted) {
        int index = 0;
        return Find(s, index) ? index : -1;
    }
    for (int i = 0; i < Count(); ++i)
        if (Compare(FItems[static_cast<std::size_t>(i)], s) == 0) return i;
    return -1;
}

void TStringList::Sort()
{
    if (Count() < 2) return;
    Changing();
    std::stable_sort(FItems.begin(), FItems.end(),
                     [this](const std::string& a, const std::string& b) { return Compare(a, b) < 0; });
    Changed();
}

void TStringList::SetSorted(bool v)
{
    if (v == FSorted) return;
    if (v) Sort();
    FSorted = v;
}

void TStringList::SetCaseSensitive(bool v)
{
    if (v == FCaseSensitive) return;
    FCaseSensitive = v;
    if (FSorted) Sort();
}

// ---- text forms -----------------------------------------------------------------------------------

std::string TStringList::Text() const
{
    std::string text;
    for (const std::string& s : FItems) {
        text += s;
        text += '\n';
    }
    return text;
}

void TStringList::SetText(std::string_view text)
{
    BeginUpdate();
    Clear();
    for (const std::string& line : SplitTextLines(text)) Add(line);
    EndUpdate();
}

std::string TStringList::Names(int index) const
{
    const std::string& s = Strings(index);
    const std::size_t p = s.find(NameValueSeparator);
    return p == std::string::npos ? std::string() : s.substr(0, p);
}

std::string TStringList::ValueFromIndex(int index) const
{
    const std::string& s = Strings(index);
    const std::size_t p = s.find(NameValueSeparator);
    return p == std::string::npos ? std::string() : s.substr(p + 1);
}

int TStringList::IndexOfName(std::string_view name) const
{
    for (int i = 0; i < Count(); ++i) {
        const std::string& s = FItems[static_cast<std::size_t>(i)];
        const std::size_t p = s.find(NameValueSeparator);
        if (p != std::string::npos && Compare(std::string_view(s).substr(0, p), name) == 0) return i;
    }
    return -1;
}

std::string TStringList::Values(std::string_view name) const
{
    const int i = IndexOfName(name);
    return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStringList::SetValues(std::string_view name, const std::string& value)
{
    const int i = IndexOfName(name);
    const std::string entry = std::string(name) + NameValueSeparator + value;
    if (value.empty()) {
        if (i >= 0) Delete(i);
    } else if (i < 0) {
        Add(entry);
    } else if (FSorted) { // the entry may move: take it out and add it again
        BeginUpdate();
        Delete(i);
        Add(entry);
        EndUpdate();
    } else {
        Put(i, entry);
    }
}

namespace {

// Blanks and control characters (NUL included) separate items of non-strict delimited text.
bool IsSpace(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string Quoted(std::string_view s, char quote)
{
    std::string r(1, quote);
    for (char c : s) {
        r += c;
        if (c == quote) r += quote;
    }
    return r + quote;
}

// The quoted string at `p` (which holds the opening quote); doubled quotes give one. Without a
// closing quote the rest of the text is taken. Advances `p` past the closing quote.
std::string ExtractQuoted(std::string_view text, std::size_t& p, char quote)
{
    std::string r;
    ++p;
    while (p < text.size()) {
        if (text[p] == quote) {
            if (p + 1 < text.size() && text[p + 1] == quote) {
                r += quote;
                p += 2;
                continue;
            }
            ++p;
            break;
        }
        r += text[p++];
    }
    return r;
}

} // namespace

std::string TStringList::DelimitedText() const { return JoinDelimited(Delimiter, QuoteChar); }

void TStringList::SetDelimitedText(std::string_view text) { SplitDelimited(text, Delimiter, QuoteChar); }

std::string TStringList::CommaText() const { return JoinDelimited(',', '"'); }

void TStringList::SetCommaText(std::string_view text) { SplitDelimited(text, ',', '"'); }

std::string TStringList::JoinDelimited(char delimiter, char quote) const
{
    if (Count() == 1 && FItems[0].empty()) return std::string(2, quote);
    std::string text;
    for (std::size_t i = 0; i < FItems.size(); ++i) {
        const std::string& s = FItems[i];
        const bool quoted = std::any_of(s.begin(), s.end(), [&](char c) {
            return c == quote || c == delimiter || (!StrictDelimiter && IsSpace(c));
        });
        if (i > 0) text += delimiter;
        text += quoted ? Quoted(s, quote) : s;
    }
    return text;
}

void TStringList::SplitDelimited(std::string_view text, char delimiter, char quote)
{
    auto skipSpaces = [&](std::size_t& p) {
        if (!StrictDelimiter)
            while (p < text.size() && IsSpace(text[p])) ++p;
    };
    BeginUpdate();
    Clear();
    std::size_t p = 0;
    skipSpaces(p);
    while (p < text.size()) {
        if (text[p] == quote) {
            Add(ExtractQuoted(text, p, quote));
        } else {
            const std::size_t start = p;
            while (p < text.size() && text[p] != delimiter && (StrictDelimiter || !IsSpace(text[p]))) ++p;
            Add(std::string(text.substr(start, p - start)));
        }
        skipSpaces(p);
        if (p < text.size() && text[p] == delimiter) {
            if (p + 1 == text.size()) Add(std::string()); // a delimiter at the very end ends an empty item
            ++p;
            skipSpaces(p);
        }
    }
    EndUpdate();
}

// ---- files and streams ----------------------------------------------------------------------------

bool TStringList::LoadFromFile(const std::string& path)
{
    std::string bytes;
    const bool ok = LoadFileBytes(path, bytes);
    SetText(bytes);
    return ok;
}

bool TStringList::SaveToFile(const std::string& path) const { return SaveFileSafely(path, Text()); }

void TStringList::LoadFromStream(TStream& stream)
{
    SetText(stream.ReadBytes(stream.Size() - stream.Position()));
}

void TStringList::SaveToStream(TStream& stream) const { stream.WriteBytes(Text()); }

// ---- change events ----------------------------------------------------------------------------------

void TStringList::BeginUpdate()
{
    if (FUpdateCount++ == 0 && OnChanging) OnChanging(this);
}

void TStringList::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0 && OnChange) OnChange(this);
}

void TStringList::Changing()
{
    if (FUpdateCount == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed()
{
    if (FUpdateCount == 0 && OnChange) OnChange(this);
}
