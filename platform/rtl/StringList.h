// TStringList: a list of 8-bit strings, optionally sorted, with name=value entries, comma and delimited
// text in the class library's quoting rules, change events, and loading and saving by the text-file rules.
#pragma once

#include "platform/rtl/Classes.h"

#include <string>
#include <string_view>
#include <vector>

class TStream;

VSP_DECLARE_EXCEPTION(EStringListError, EListError);

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    TStringList() = default;
    TStringList(const TStringList&) = delete;
    TStringList& operator=(const TStringList&) = delete;

    int Count() const { return static_cast<int>(FItems.size()); }
    // Raise EStringListError "List index out of bounds (<i>)" for an index outside 0..Count-1.
    const std::string& Strings(int index) const;
    const std::string& operator[](int index) const { return Strings(index); }
    void Put(int index, const std::string& s); // refused on a sorted list
    const std::vector<std::string>& Items() const { return FItems; }

    // Appends, or on a sorted list inserts at the sorted place; the result is the item's index. A
    // sorted list holding the string already keeps one copy (dupIgnore, the index of the existing
    // one), takes another (dupAccept) or raises "String list does not allow duplicates" (dupError).
    int Add(const std::string& s);
    // Raises "Operation not allowed on sorted list" on a sorted list; index 0..Count.
    void Insert(int index, const std::string& s);
    void Delete(int index);
    void Clear();
    void Exchange(int index1, int index2);
    void AddStrings(const TStringList& source);
    // Copies the strings and the text settings of another string list.
    void Assign(const TPersistent& Source) override;

    // The first index of the string (by the list's letter-case rule), -1 when absent.
    int IndexOf(std::string_view s) const;
    // Binary search of a sorted list: true when found; `index` is then its position, else the
    // position it would be inserted at.
    bool Find(std::string_view s, int& index) const;
    void Sort();
    bool Sorted() const { return FSorted; }
    void SetSorted(bool v);
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool v);
    TDuplicates Duplicates = dupIgnore;

    // Every string followed by LF; setting splits at LF and CR LF.
    std::string Text() const;
    void SetText(std::string_view text);

    // "name=value" entries (NameValueSeparator splits at its first occurrence).
    char NameValueSeparator = '=';
    std::string Names(int index) const; // "" for an entry without a separator
    std::string ValueFromIndex(int index) const;
    int IndexOfName(std::string_view name) const;
    std::string Values(std::string_view name) const;
    // Sets the entry's value, appending "name=value" when missing; an empty value deletes the entry.
    void SetValues(std::string_view name, const std::string& value);

    // Delimited text: strings joined by Delimiter, a string quoted with QuoteChar (inner quotes doubled)
    // when it holds a blank or control character, the quote or the delimiter (with StrictDelimiter, only
    // the quote or the delimiter); a lone empty string is written as two quotes. Reading splits at the
    // delimiter and, unless StrictDelimiter, also at blanks and control characters.
    char Delimiter = ',';
    char QuoteChar = '"';
    bool StrictDelimiter = false;
    std::string DelimitedText() const;
    void SetDelimitedText(std::string_view text);
    // DelimitedText with "," and '"'.
    std::string CommaText() const;
    void SetCommaText(std::string_view text);

    // A missing or unreadable file gives an empty list and false.
    bool LoadFromFile(const std::string& path);
    // Saves Text through a temporary file; false when it could not be written (the old file stays).
    bool SaveToFile(const std::string& path) const;
    // The stream from its position to its end; the text written at the stream's position.
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;

    // Every change fires OnChanging before and OnChange after it. Between BeginUpdate and the matching
    // EndUpdate none fires; the outermost BeginUpdate fires OnChanging and its EndUpdate OnChange.
    void BeginUpdate();
    void EndUpdate();
    TNotifyEvent OnChanging;
    TNotifyEvent OnChange;

private:
    int Compare(std::string_view a, std::string_view b) const;
    void CheckIndex(int index) const;
    void CheckUnsorted() const;
    void Changing();
    void Changed();
    void InsertAt(int index, const std::string& s);
    std::string JoinDelimited(char delimiter, char quote) const;
    void SplitDelimited(std::string_view text, char delimiter, char quote);

    std::vector<std::string> FItems;
    bool FSorted = false;
    bool FCaseSensitive = false;
    int FUpdateCount = 0;
};
