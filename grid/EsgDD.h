// The drag-and-drop layer under the grid, which knows nothing of grids: the formats it reads and offers
// (plain text, rich text, a column of another grid, dropped files), a drop target with the accept and
// drop protocol and hooks for its owner, a drag source with its hooks, and the two drags it starts.
// Qt-free.
#pragma once

#include "platform/controls/DragDrop.h"

#include <string>
#include <vector>

// The mime types: plain text (the code page's text, offered as the desktop's Unicode text too), rich
// text, and the column of a grid (4 bytes, the column index little-endian).
inline constexpr const char* DragTextFormat = "text/plain";
inline constexpr const char* DragRichTextFormat = "text/rtf";
inline constexpr const char* DragColumnFormat = "application/x-Grid-Column";

// Whether drops take rich text (shared by every grid of the process).
bool RichTextAware();
void SetRichTextAware(bool Aware);

// Ctrl makes a drop a copy; anything else a move.
int DropEffectForKeys(TShiftState Keys);

// What a foreign drag offers, read as the drop target needs it.
std::string ReadPlainText(const TDragData& Data);
std::string ReadRichText(const TDragData& Data);
// The dropped column's index; -1 when the data holds none (or too few bytes).
int ReadColumn(const TDragData& Data);
std::vector<std::string> ReadFileNames(const TDragData& Data);

// The formats a drag lists.
struct TOfferedFormats {
    bool PlainText = false, FileList = false, Column = false, RichText = false;
};

class TESGDropTarget : public TDropTarget {
public:
    bool Accepted = false;
    bool TakesText = true, TakesFiles = true, TakesColumns = false;
    TOfferedFormats OfferedFormats;

    int DragEnter(const TDragData& Data, TShiftState Keys, TPoint Screen, int Effect) override;
    int DragOver(TShiftState Keys, TPoint Screen, int Effect) override;
    void DragLeave() override;
    int Drop(const TDragData& Data, TShiftState Keys, TPoint Screen, int Effect) override;

protected:
    virtual void HandleTextDrop(TPoint, const std::string&) {}
    virtual void HandleColumnDrop(TPoint, int) {}
    virtual void HandleRichTextDrop(TPoint, const std::string&) {}
    virtual void HandleFileDrop(TPoint, const std::vector<std::string>&) {}
    virtual void TrackDragOver(TPoint, bool&, const TOfferedFormats&) {}
    virtual void TrackDragEnter() {}
    virtual void TrackDragLeave() {}
};

class TESGDropSource {
public:
    virtual ~TESGDropSource() = default;
    // The last effect the targets answered was none.
    bool NoTarget = false;
    virtual void EffectChanged(int) {}
    virtual void DragStep() {}
};

enum TDragResult { DRAGDROP_S_DROP = 0x00040100, DRAGDROP_S_CANCEL = 0x00040101 };

// A drag of text (and the rich text of one cell, served while rich text is taken) from the control;
// Effect receives the effect of the drop. DRAGDROP_S_CANCEL when nobody took it.
TDragResult BeginTextDrag(TWinControl& Control, TESGDropSource& Source, const std::string& Text, const std::string& RichText,
                          int AllowedEffects, int& Effect);
// A drag of a grid's column index.
TDragResult BeginColumnDrag(TWinControl& Control, TESGDropSource& Source, int Column, int AllowedEffects, int& Effect);
