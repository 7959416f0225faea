// The screen: its size and resolution, the application-wide cursor, and the cursor table that maps
// cursor numbers to shapes (the class library's standard cursors, plus cursors a program registers
// under numbers of its own, such as the chart engine's hand cursor 2020). Qt-free.
#pragma once

#include "platform/controls/Controls.h"

#include <string>
#include <vector>

// A cursor drawn by the program: rows of characters, 'X' black, '.' white, anything else transparent.
struct TCursorImage {
    std::vector<std::string> Rows;
    int HotSpotX = 0, HotSpotY = 0;
};

// A cursor image kept under a resource name; nullptr for an unknown name. "LUM_CURSOR_HAND" is the
// pointing hand of the chart engine.
const TCursorImage* FindCursorResource(const std::string& name);

class TScreen {
public:
    // The cursor shown over every window while not crDefault (crHourGlass during long work).
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor cursor);

    // The cursor table. Standard cursors (crDefault .. crSizeAll) are always known; SetCursorImage
    // registers or replaces a cursor under a number of the program's, RemoveCursor forgets it.
    void SetCursorImage(TCursor index, const TCursorImage& image);
    void RemoveCursor(TCursor index);
    bool HasCursor(TCursor index) const;
    const TCursorImage* CursorImage(TCursor index) const;

    // Where the mouse cursor is, in screen pixels.
    TPoint CursorPos() const;

    // Size of the primary screen in pixels, and its resolution.
    int Width() const;
    int Height() const;
    int PixelsPerInch() const;
    // Colour depth of the primary screen, and its work area (the screen without the desktop's panels),
    // in screen pixels.
    int BitsPerPixel() const;
    TRect WorkAreaRect() const;

    // Back to the start-up state (tests).
    void Reset();

private:
    struct TEntry {
        TCursor Index;
        TCursorImage Image;
    };
    TCursor FCursor = crDefault;
    std::vector<TEntry> FCursors;
};

extern TScreen* const Screen;

// The class library's cursor identifiers ("crDefault" .. "crSizeAll") with their numbers, in its order.
struct TCursorIdent {
    TCursor Cursor;
    const char* Name;
};
const std::vector<TCursorIdent>& CursorIdents();
