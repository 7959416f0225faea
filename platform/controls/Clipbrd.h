// The clipboard: text (8-bit Windows-1252, converted to and from the desktop's Unicode) and pictures.
// Qt-free.
#pragma once

#include <string>

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
};

// The process's clipboard.
TClipboard& Clipboard();
