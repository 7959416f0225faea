// Small helpers of the grid: integer lists (TIntList, with a change event naming the cell it belongs
// to) and sort-index lists whose entries carry the direction in bit 31. The arrow markers and the moving
// caption box of column and row moves come with the drag-and-drop features. Qt-free.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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
