// Text files as the program's files hold them: 8-bit text whose bytes pass through unchanged, lines ending
// at LF or CR LF, written with LF; numbers read with "." after blanks, tabs and line ends; a missing file
// reads as empty. Saving goes through a temporary file so a failed save leaves the old file whole.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The whole file; false, with `bytes` empty, when it is missing or cannot be read.
bool LoadFileBytes(const std::string& path, std::string& bytes);

// The lines of a text: each ends at LF or CR LF (a lone CR is an ordinary byte); a last line without
// an end counts; an empty text has no lines.
std::vector<std::string> SplitTextLines(std::string_view text);

// One line of SplitTextLines as a view into the text: the line from `pos` without its end, `pos` then
// past the end. False at the end of the text. A reader walks a long text by it without copying lines.
inline bool NextTextLine(std::string_view text, std::size_t& pos, std::string_view& line)
{
    if (pos >= text.size()) return false;
    std::size_t end = text.find('\n', pos);
    const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
    if (end == std::string_view::npos) end = text.size();
    else if (end > pos && text[end - 1] == '\r') --end;
    line = text.substr(pos, end - pos);
    pos = next;
    return true;
}

// Writes `bytes` to a new file beside `path`, flushes it to the disk and only then renames it over
// `path` (a symbolic link is followed; an existing file's permissions are kept). False when any step
// fails: the old file is then unchanged, no temporary file is left, and errno tells why.
bool SaveFileSafely(const std::string& path, std::string_view bytes);

// Reads a text file line by line and number by number.
class TTextReader {
public:
    // A missing or unreadable file gives a reader at its end (Opened is false).
    explicit TTextReader(const std::string& path);
    // A reader over text held in memory.
    static TTextReader FromText(std::string text);

    bool Opened() const { return FOpened; }
    // True when no byte is left.
    bool Eof() const { return FPos >= FText.size(); }

    // The rest of the current line, without its end; false (and an empty line) at the end of the file.
    bool ReadLn(std::string& line);
    // Skips the rest of the current line.
    void SkipLn();
    // The next number after blanks, tabs and line ends: the run of other bytes that follows, with "."
    // as the point. False, with `value` unchanged, for text that is no number or at the end of the
    // file; the run is consumed either way. ReadInteger takes decimal 32-bit integers only.
    bool ReadReal(double& value);
    bool ReadInteger(std::int32_t& value);

private:
    TTextReader(std::string text, bool opened) : FText(std::move(text)), FOpened(opened) {}
    std::string_view NextToken();

    std::string FText;
    std::size_t FPos = 0;
    bool FOpened = false;
};

// Collects a text file's lines, each ended by LF, and saves them with SaveFileSafely.
class TTextWriter {
public:
    void Write(std::string_view text) { FText += text; }
    void WriteLn(std::string_view text = {})
    {
        FText += text;
        FText += '\n';
    }
    const std::string& Text() const { return FText; }
    bool SaveToFile(const std::string& path) const { return SaveFileSafely(path, FText); }

private:
    std::string FText;
};
