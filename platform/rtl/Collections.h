// Collections of persistent items (TCollection, TCollectionItem): an owner, an item class whose factory
// the collection calls to add items, items that keep an ID unique in their collection for its whole life,
// moves by writing an item's Index, update brackets and notices of added, removed and changed items.
#pragma once

#include "platform/rtl/Classes.h"

#include <string>
#include <vector>

class TCollection;

// One item of a collection. Its constructor joins the collection given (at its end); Free leaves the
// collection and destroys the item. The collection owns its items and frees them with itself.
class TCollectionItem : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    explicit TCollectionItem(TCollection* Collection);
    // Leaves the collection when it is still in one (prefer Free, which tells the collection while the
    // item is whole).
    ~TCollectionItem() override;
    TCollectionItem(const TCollectionItem&) = delete;
    TCollectionItem& operator=(const TCollectionItem&) = delete;

    // Takes the item out of its collection (with the collection's notices) and destroys it.
    void Free();

    TCollection* Collection() const { return FCollection; }
    // Moves the item to the end of another collection (nullptr: to none); it takes a new ID there.
    // Raises EListError when the item's class is not the other collection's item class.
    void SetCollection(TCollection* Value);
    // Position in the collection; -1 without one.
    int Index() const;
    // Moves the item to another position, shifting the items between; EListError for a position
    // outside 0..Count-1.
    void SetIndex(int Value);
    // Given when the item joins a collection: one more than the last ID given there, never reused.
    int ID() const { return FID; }

    // The text editors list for the item; the class name unless a descendant names it.
    virtual std::string DisplayName() const;

protected:
    // Tells the collection that this item (or, with AllItems, every item) changed, unless the
    // collection is inside an update bracket.
    void Changed(bool AllItems);

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    int FID = 0;
};

// The factory of a collection's item class: `&CreateItemOf<TStatusPanel>`.
using TCollectionItemFactory = TCollectionItem* (*)(TCollection* Collection);
template <class T>
TCollectionItem* CreateItemOf(TCollection* Collection) { return new T(Collection); }

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollection : public TPersistent, public TStreamedItems {
    VSP_PERSISTENT_CLASS
public:
    // Owner (may be nullptr) is the object whose property the collection is.
    TCollection(TPersistent* Owner, const TClassInfo& ItemClass, TCollectionItemFactory CreateItem);
    // Frees the items, the last first.
    ~TCollection() override;
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;

    TPersistent* Owner() const { return FOwner; }
    const TClassInfo& ItemClass() const { return *FItemClass; }

    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EListError "List index out of bounds (i)" for an index outside 0..Count-1.
    TCollectionItem* Items(int Index) const;
    // Copies Value into the item at Index (the item's Assign).
    void SetItems(int Index, const TCollectionItem& Value);

    // A new item of the item class at the end (or at Index, 0..Count); returns it.
    TCollectionItem* Add();
    TCollectionItem* Insert(int Index);
    // Frees the item at Index (cnDeleting before it goes); EListError for a bad index.
    void Delete(int Index);
    // Frees every item, the last first, inside one update bracket. IDs are not given again.
    void Clear();
    // Exchanges two items' positions; EListError for a bad index.
    void Exchange(int Index1, int Index2);
    // The item with that ID, nullptr when none.
    TCollectionItem* FindItemID(int ID) const;

    // Update brackets: notices of changed items wait until the outermost EndUpdate, which sends one.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    int StreamedCount() const override { return Count(); }
    const TPersistent& StreamedItem(int Index) const override { return *Items(Index); }
    void BeginStreamedRead() override { BeginUpdate(); }
    void EndStreamedRead() override { EndUpdate(); }
    void ClearStreamedItems() override { Clear(); }
    TPersistent& AddStreamedItem() override { return *Add(); }

    // From another collection: Clear, then one Add per source item that Assigns the source item (an item
    // class without its own Assign raises EConvertError there). Other sources go to the base rules.
    void Assign(const TPersistent& Source) override;

protected:
    // An item joined (cnAdded; from the item's constructor the descendant part of the item is not yet
    // built, so use its position only), is about to be freed (cnDeleting), or is leaving (cnExtracting;
    // it is still in the list). The base does nothing.
    virtual void Notify(TCollectionItem* Item, TCollectionNotification Action);
    // An item moved from one position to another, shifting the items between (SetIndex, Insert); the
    // base does nothing.
    virtual void ItemMoved(TCollectionItem* Item, int FromIndex, int ToIndex);
    // The items at two positions changed places (Exchange); the base does nothing.
    virtual void ItemsExchanged(int Index1, int Index2);
    // The item notice: Item changed, or (nullptr) the collection as a whole. The base does nothing.
    virtual void Update(TCollectionItem* Item);
    // Sends Update(nullptr) unless inside an update bracket.
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* Item);
    void RemoveItem(TCollectionItem* Item);
    void Unlink(TCollectionItem* Item);
    void CheckIndex(int Index) const;

    TPersistent* FOwner;
    const TClassInfo* FItemClass;
    TCollectionItemFactory FCreateItem;
    std::vector<TCollectionItem*> FItems;
    int FNextID = 0;
    int FUpdateCount = 0;
};
