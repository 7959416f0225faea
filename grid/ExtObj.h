// Small helpers of the grid: the arrow-shaped marker windows and the floating caption box of column and
// row moves, integer lists (TIntList, with a change event naming the cell it belongs to), sort-index
// lists whose entries carry the direction in bit 31, and pictures held as a file reference. Qt-free.
#pragma once

#include "platform/controls/Controls.h"

class TCanvas;

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A lime arrow, about 11 x 11 pixels, in a window of its own above the others (its window region is
// the arrow): direction 0 points up, 1 down, 2 right, 3 left. Left and Top are screen coordinates.
class TArrowWindow : public TCustomPanel {
    VSP_PERSISTENT_CLASS
public:
    TArrowWindow(TComponent* AOwner, int ADirection);
    int ArrowDirection() const { return FDirection; }
    // Shows or hides it without taking the activation.
    void ShowAt(int ScreenX, int ScreenY, bool Show);

private:
    int FDirection;
};

// The caption box that follows the mouse while a header is moved: a window of its own above the others
// that never takes the activation, with a raised frame (unless Flat) and a vertical gradient.
class TPopupButton : public TCustomControl {
    VSP_PERSISTENT_CLASS
public:
    explicit TPopupButton(TComponent* AOwner);
    std::string Caption;
    bool Flat = false;
    TColor GradFrom = clNone, GradTo = clNone;
    // Places it in screen coordinates and shows it without taking the activation.
    void ShowAt(const TRect& ScreenRect);

protected:
    void Paint() override;
};

class TIntList {
public:
    TIntList(int ACol, int ARow) : OwnerCol(ACol), OwnerRow(ARow) {}
    virtual ~TIntList() = default;

    int Count() const { return static_cast<int>(FItems.size()); }
    // "List index out of bounds" outside 0..Count-1.
    int ValueAt(int index) const;
    void PutValue(int index, int value);
    void AddValue(int value);
    void DeleteValue(int index);
    void InsertValue(int index, int value);
    void Clear() { FItems.clear(); }
    // The values joined by ","; writing parses comma text and adds each value (EConvertError on a
    // non-number, after the values before it were added).
    std::string ValuesText() const;
    void SetValuesText(const std::string& text);

    std::function<void(TIntList* Sender, int ACol, int ARow)> OnValuesChange;
    int OwnerCol, OwnerRow;

private:
    void Changed();
    std::vector<std::int32_t> FItems;
};

class TSortIndexList : public TIntList {
public:
    TSortIndexList() : TIntList(-1, -1) {}
    void AddSortColumn(int col, bool ascending);
    int FindSortColumn(int col) const;
    void ToggleSortDirection(int col);
};

// A picture held as a file name: writing the name reads the file once to learn the picture's size;
// drawing reads it again and stretches it into the rectangle. A file that cannot be read raises the
// picture error out of the write or the drawing.
class TFilePicture : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    const std::string& Filename() const { return FFilename; }
    void SetFilename(const std::string& Name);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Nothing for an empty name.
    void DrawPicture(TCanvas& Canvas, const TRect& R) const;
    // Name and size of another file picture (no file is read).
    void Assign(const TPersistent& Source) override;

private:
    std::string FFilename;
    int FWidth = 0, FHeight = 0;
};
