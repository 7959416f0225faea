// The grid's filter: a collection of conditions, each on one column's text (less a prefix and a
// suffix), joined in order by how each result combines; and the event that reports a filter's progress.
// Qt-free.
#pragma once

#include "platform/rtl/Classes.h"
#include "platform/rtl/Collections.h"

#include <functional>
#include <string>

class TExtStringGrid;

using TGridProgressEvent = std::function<void(TPersistent* Sender, short Progress)>;

enum TFilterOperation { foNONE, foAND, foXOR, foOR };

class TFilterData : public TCollectionItem {
    VSP_PERSISTENT_CLASS
public:
    explicit TFilterData(TCollection* Collection) : TCollectionItem(Collection) {}
    void Assign(const TPersistent& Source) override;

    short Column() const { return FColumn; }
    void SetColumn(short v) { FColumn = v; }
    const std::string& Condition() const { return FCondition; }
    void SetCondition(const std::string& v) { FCondition = v; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool v) { FCaseSensitive = v; }
    // Removed from the cell text when it begins the text.
    const std::string& Prefix() const { return FPrefix; }
    void SetPrefix(const std::string& v) { FPrefix = v; }
    // Removed from the cell text when its first occurrence ends the text.
    const std::string& Suffix() const { return FSuffix; }
    void SetSuffix(const std::string& v) { FSuffix = v; }
    // How this item's result joins the result so far; foNONE ends the test on a failure.
    TFilterOperation Operation() const { return FOperation; }
    void SetOperation(TFilterOperation v) { FOperation = v; }

private:
    short FColumn = 0;
    std::string FCondition;
    bool FCaseSensitive = true;
    std::string FPrefix, FSuffix;
    TFilterOperation FOperation = foNONE;
};

// The grid's filter conditions; the grid is their owner.
class TFilter : public TCollection {
    VSP_PERSISTENT_CLASS
public:
    explicit TFilter(TExtStringGrid* AGrid);
    TExtStringGrid* Grid() const { return FGrid; }
    TFilterData& Items(int Index) const { return static_cast<TFilterData&>(*TCollection::Items(Index)); }
    TFilterData& Add() { return static_cast<TFilterData&>(*TCollection::Add()); }

private:
    TExtStringGrid* FGrid;
};
