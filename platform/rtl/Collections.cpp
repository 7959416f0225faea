// TCollection and TCollectionItem: the item list with its IDs, moves, update brackets and notices.
#include "platform/rtl/Collections.h"

#include <algorithm>
#include <memory>

// ---- TCollectionItem --------------------------------------------------------------------------------

const TClassInfo& TCollectionItem::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TCollectionItem", .Parent = &TPersistent::StaticClassInfo()});
    return info;
}

TCollectionItem::TCollectionItem(TCollection* Collection)
{
    if (Collection) Collection->InsertItem(this);
}

TCollectionItem::~TCollectionItem()
{
    if (FCollection) FCollection->RemoveItem(this);
}

void TCollectionItem::Free()
{
    TCollection* collection = FCollection;
    if (collection) collection->Notify(this, cnExtracting);
    // From here on the item goes, also when the collection's change notice raises.
    std::unique_ptr<TCollectionItem> self(this);
    if (collection) {
        collection->Unlink(this);
        collection->Changed();
    }
}

void TCollectionItem::SetCollection(TCollection* Value)
{
    if (Value == FCollection) return;
    if (Value && !ClassInfo().InheritsFrom(Value->ItemClass()))
        throw EListError("A " + ClassName() + " cannot join a collection of " + Value->ItemClass().Name());
    if (FCollection) FCollection->RemoveItem(this);
    if (Value) Value->InsertItem(this);
}

int TCollectionItem::Index() const
{
    if (!FCollection) return -1;
    const auto& items = FCollection->FItems;
    return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int Value)
{
    const int current = Index();
    if (current < 0 || current == Value) return;
    FCollection->CheckIndex(Value);
    auto& items = FCollection->FItems;
    items.erase(items.begin() + current);
    items.insert(items.begin() + Value, this);
    FCollection->ItemMoved(this, current, Value);
    Changed(true);
}

std::string TCollectionItem::DisplayName() const { return ClassName(); }

void TCollectionItem::Changed(bool AllItems)
{
    if (!FCollection || FCollection->FUpdateCount > 0) return;
    FCollection->Update(AllItems ? nullptr : this);
}

// ---- TCollection ------------------------------------------------------------------------------------

const TClassInfo& TCollection::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TCollection", .Parent = &TPersistent::StaticClassInfo()});
    return info;
}

TCollection::TCollection(TPersistent* Owner, const TClassInfo& ItemClass, TCollectionItemFactory CreateItem)
    : FOwner(Owner), FItemClass(&ItemClass), FCreateItem(CreateItem)
{
}

TCollection::~TCollection()
{
    // Descendants are gone by now: free the items without notices.
    while (!FItems.empty()) {
        std::unique_ptr<TCollectionItem> victim(FItems.back());
        FItems.pop_back();
        victim->FCollection = nullptr;
    }
}

void TCollection::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

TCollectionItem* TCollection::Items(int Index) const
{
    CheckIndex(Index);
    return FItems[static_cast<std::size_t>(Index)];
}

void TCollection::SetItems(int Index, const TCollectionItem& Value) { Items(Index)->Assign(Value); }

TCollectionItem* TCollection::Add()
{
    TCollectionItem* item = FCreateItem(this);
    if (item->FCollection != this) item->SetCollection(this);
    return item;
}

TCollectionItem* TCollection::Insert(int Index)
{
    if (Index < 0 || Index > Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    TCollectionItem* item = Add();
    item->SetIndex(Index);
    return item;
}

void TCollection::Delete(int Index)
{
    TCollectionItem* item = Items(Index);
    Notify(item, cnDeleting);
    // A notice may have freed it already.
    if (item->FCollection == this && Index < Count() && FItems[static_cast<std::size_t>(Index)] == item) item->Free();
}

void TCollection::Clear()
{
    if (FItems.empty()) return;
    BeginUpdate();
    try {
        while (!FItems.empty()) FItems.back()->Free();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::Exchange(int Index1, int Index2)
{
    CheckIndex(Index1);
    CheckIndex(Index2);
    if (Index1 == Index2) return;
    std::swap(FItems[static_cast<std::size_t>(Index1)], FItems[static_cast<std::size_t>(Index2)]);
    ItemsExchanged(Index1, Index2);
    Changed();
}

TCollectionItem* TCollection::FindItemID(int ID) const
{
    for (TCollectionItem* item : FItems)
        if (item->FID == ID) return item;
    return nullptr;
}

void TCollection::EndUpdate()
{
    if (FUpdateCount <= 0) return;
    if (--FUpdateCount == 0) Changed();
}

void TCollection::Assign(const TPersistent& Source)
{
    const auto* source = dynamic_cast<const TCollection*>(&Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    if (source == this) return;
    BeginUpdate();
    try {
        Clear();
        for (int i = 0; i < source->Count(); ++i) Add()->Assign(*source->Items(i));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::ItemMoved(TCollectionItem*, int, int) {}

void TCollection::ItemsExchanged(int, int) {}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Changed()
{
    if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* Item)
{
    FItems.push_back(Item);
    Item->FCollection = this;
    Item->FID = FNextID++;
    Notify(Item, cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item)
{
    Notify(Item, cnExtracting);
    Unlink(Item);
    Changed();
}

void TCollection::Unlink(TCollectionItem* Item)
{
    std::erase(FItems, Item);
    Item->FCollection = nullptr;
}
