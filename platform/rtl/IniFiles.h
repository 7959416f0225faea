// TIniFile: our own reader and writer of ini files that keeps a file's layout (order, comments, unknown
// lines, spacing and line ends) and changes only the lines it writes. Every call reads the file afresh
// (its parsed lines are reused while its bytes stay the same) and every write reaches the file at once,
// or at the end of a batch (through a temporary file), so several objects on one file never undo each
// other's writes.
#pragma once

#include "platform/rtl/Exceptions.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TStringList;

// "Unable to write to <file>": the file system refused a write, or a section, key or value cannot
// stand in an ini file (line breaks, a "]" in a section name, a "=" in a key, an empty key).
VSP_DECLARE_EXCEPTION(EIniFileException, Exception);

class TIniFile {
public:
    explicit TIniFile(std::string fileName) : FFileName(std::move(fileName)) {}
    // The writes of a batch that was not ended by UpdateFile are dropped: the file stays as it was.
    ~TIniFile() = default;
    const std::string& FileName() const { return FFileName; }

    // Sections and keys match with letter case ignored; values are read without surrounding blanks.
    // Where a section occurs more than once, its first occurrence is read and written.
    std::string ReadString(std::string_view section, std::string_view ident, const std::string& def) const;
    void WriteString(std::string_view section, std::string_view ident, std::string_view value);
    // Decimal, "$" or "0x" hexadecimal; Default for a missing key or text that is no 32-bit integer.
    std::int32_t ReadInteger(std::string_view section, std::string_view ident, std::int32_t def) const;
    void WriteInteger(std::string_view section, std::string_view ident, std::int32_t value);
    // An integer other than 0 is true ("1" and "0" are written); other text gives Default.
    bool ReadBool(std::string_view section, std::string_view ident, bool def) const;
    void WriteBool(std::string_view section, std::string_view ident, bool value);
    // "." is the point, whatever the locale; written in the shortest form that reads back exactly.
    double ReadFloat(std::string_view section, std::string_view ident, double def) const;
    void WriteFloat(std::string_view section, std::string_view ident, double value);

    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view ident) const;
    // The key names of a section, in file order (the list is cleared first).
    void ReadSection(std::string_view section, TStringList& idents) const;
    // The section names, in file order, each once.
    void ReadSections(TStringList& sections) const;
    // Removes every occurrence of the section with all its lines.
    void EraseSection(std::string_view section);
    void DeleteKey(std::string_view section, std::string_view ident);
    // A batch: the writes that follow are held (and read back by this object) until UpdateFile saves
    // them all at once, so that many values cost one save and a refused save leaves the file as it was.
    void BeginUpdate() { FHolding = true; }
    // Saves the held writes onto the file as it is now and ends the batch; EIniFileException when the
    // file system refuses (the held writes are dropped, the file stays as it was). Outside a batch,
    // writes have already reached the file: nothing is left to do.
    void UpdateFile();

    // A write as held by a batch.
    struct TEdit {
        enum TKind { Set, DeleteKey, EraseSection } Kind;
        std::string Section, Ident, Value;
    };

private:
    void Edit(TEdit edit);

    std::string FFileName;
    bool FHolding = false;
    std::vector<TEdit> FHeld;
};
