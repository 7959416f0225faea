// The graphic a cell may carry besides its text: its type, the objects it shows (a bitmap, an icon, the
// captions of a radio group, image indexes, a picture, a file picture, or the colours of a progress bar),
// its alignments and state. The grid owns it through the cell's properties. Qt-free.
#pragma once

#include "grid/GridTypes.h"

#include <string>
#include <variant>

class TBitmap;
class TIcon;
class TStringList;
class TIntList;
class TPicture;
class TFilePicture;

// One object slot of a cell graphic: empty, an object of one of the kinds the cell types use, or a
// colour (progress bars keep their colours in the slots). Who frees the object is the graphic's rule.
class TCellSlot {
public:
    using TValue = std::variant<std::monostate, TBitmap*, TIcon*, TStringList*, TIntList*, TPicture*, TFilePicture*, TColor>;
    TCellSlot() = default;
    TCellSlot(std::nullptr_t) {}
    TCellSlot(TBitmap* p) : FValue(p) {}
    TCellSlot(TIcon* p) : FValue(p) {}
    TCellSlot(TStringList* p) : FValue(p) {}
    TCellSlot(TIntList* p) : FValue(p) {}
    TCellSlot(TPicture* p) : FValue(p) {}
    TCellSlot(TFilePicture* p) : FValue(p) {}
    static TCellSlot Colour(TColor c)
    {
        TCellSlot s;
        s.FValue = c;
        return s;
    }

    // The object held when it is of that kind, else nullptr.
    template <class T> T* As() const
    {
        const auto* p = std::get_if<T*>(&FValue);
        return p ? *p : nullptr;
    }
    // The colour held, or Default when the slot holds none.
    TColor Color(TColor Default = clNone) const
    {
        const auto* c = std::get_if<TColor>(&FValue);
        return c ? *c : Default;
    }
    bool Empty() const { return std::holds_alternative<std::monostate>(FValue); }
    // The identity of the object held (nullptr for nothing or a colour).
    const void* Identity() const;
    // Deletes the object held (a colour or nothing: nothing) and empties the slot.
    void Free();
    const TValue& Value() const { return FValue; }

private:
    TValue FValue;
};

class TCellGraphic : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    TCellGraphic() = default;
    ~TCellGraphic() override;
    TCellGraphic(const TCellGraphic&) = delete;
    TCellGraphic& operator=(const TCellGraphic&) = delete;

    // Copies the published fields (not the objects).
    void Assign(const TPersistent& Source) override;

    TCellType CellType = ctNone;
    // The type's main object and the icon slot; freed by the graphic as its type says (see the
    // destructor).
    TCellSlot CellObject;
    TCellSlot CellIcon;
    TCellVAlign CellVAlign = vaTop;
    TCellHAlign CellHAlign = haLeft;
    int CellIndex = 0;
    bool CellTransparent = false, CellCreated = false, CellBoolean = false;
    int CellAngle = 0;
    double CellValue = 0;
    short CellErrFrom = 0, CellErrLen = 0;
    std::string CellText;
};
