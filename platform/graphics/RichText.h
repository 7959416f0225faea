// Rich text (RTF) in the small subset the grid's cells use: a reader giving paragraphs of styled runs
// (groups, paragraphs, tabs, bold, italic, underline, strike-out, sizes, the font and colour tables, hex
// and Unicode escapes; other destinations skipped), a writer for the same subset, their plain text, and
// the layout of a document on a canvas. Qt-free.
#pragma once

#include "platform/graphics/GraphicsTypes.h"
#include "platform/graphics/GraphicsObjects.h"

#include <string>
#include <vector>

class TCanvas;

struct TRichRun {
    std::string Text;          // Windows-1252
    std::string FontName;      // empty: the default font
    int Size = 0;              // points; 0: the default size
    TFontStyles Style;
    TColor Color = clNone;     // clNone: the default colour
    bool operator==(const TRichRun&) const = default;
};

enum TRichAlignment { raLeft, raRight, raCenter };

struct TRichParagraph {
    std::vector<TRichRun> Runs;
    TRichAlignment Alignment = raLeft;
    bool operator==(const TRichParagraph&) const = default;
};

struct TRichDocument {
    std::vector<TRichParagraph> Paragraphs;
    // The text of the paragraphs joined by CR LF.
    std::string PlainText() const;
    bool operator==(const TRichDocument&) const = default;
};

// True when the text starts as rich text does ("{\").
bool IsRichText(const std::string& Text);
// Reads any bytes; what is not rich text is taken as far as it reads (never raises). Adjacent runs of
// the same look are joined.
TRichDocument ParseRichText(const std::string& Rtf);
// Writes the document as rich text that ParseRichText reads back to the same document.
std::string WriteRichText(const TRichDocument& Document);
// A document of one paragraph per line of plain text in the default look.
TRichDocument RichTextFromPlain(const std::string& Text);

// Lays the document out in R from its top-left, runs in their fonts (the canvas font for what they
// leave open), wrapping at blanks when WordWrap; draws unless MeasureOnly, in TextColor instead of the
// runs' colours when that is not clNone. Returns the width of the widest line and the total height.
TSize DrawRichText(TCanvas& Canvas, const TRichDocument& Document, const TRect& R, bool WordWrap, bool MeasureOnly,
                   TColor TextColor = clNone);
