// The clipboard: text (8-bit Windows-1252, converted to and from the desktop's Unicode), pictures, and
// several formats at once by mime type. Qt-free.
#pragma once

#include <string>
#include <utility>
#include <vector>

class TGraphic;

class TClipboard {
public:
    // The clipboard's text; empty when it holds none.
    std::string AsText() const;
    void SetAsText(const std::string& text);
    bool HasText() const;
    // Puts a picture (its pixels) on the clipboard.
    void Assign(const TGraphic& graphic);
    bool HasPicture() const;
    void Clear();

    // Several formats at once, each a mime type and its bytes; the clipboard's content is replaced by
    // them. The bytes of "text/plain" are 8-bit text, put on the desktop as its Unicode text.
    using TFormats = std::vector<std::pair<std::string, std::string>>;
    void SetFormats(const TFormats& formats);
    bool HasFormat(const std::string& mime) const;
    // A format's bytes ("text/plain" as 8-bit text); empty when the clipboard lacks it.
    std::string Format(const std::string& mime) const;
};

// The process's clipboard.
TClipboard& Clipboard();

// Text that came from the desktop (its clipboard or a drop) with the line ends the program's readers
// take: a text whose lines end in LF alone, as other programs here write them, gets CR LF instead; an
// LF inside a field in double quotes (a cell of several lines, quotes in it doubled) stays as it is. A
// text holding any CR is left alone.
std::string DesktopTextLineBreaks(const std::string& Text);
