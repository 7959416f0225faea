// Collections: items created through the item class, positions and moves, IDs that are never given twice,
// notices and update brackets, assignment, and collections as properties in the binary property list.
#include "platform/rtl/Collections.h"
#include "platform/rtl/PropertyStream.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

class TPanelItem : public TCollectionItem {
    VSP_PERSISTENT_CLASS
public:
    explicit TPanelItem(TCollection* Collection) : TCollectionItem(Collection) {}
    const std::string& Text() const { return FText; }
    void SetText(const std::string& v)
    {
        FText = v;
        Changed(false);
    }
    int Width() const { return FWidth; }
    void SetWidth(int v) { FWidth = v; }
    std::string DisplayName() const override { return FText.empty() ? TCollectionItem::DisplayName() : FText; }

    void Assign(const TPersistent& Source) override
    {
        if (auto* p = dynamic_cast<const TPanelItem*>(&Source)) {
            FText = p->FText;
            FWidth = p->FWidth;
            return;
        }
        TCollectionItem::Assign(Source);
    }

private:
    std::string FText;
    int FWidth = 50;
};

const TClassInfo& TPanelItem::StaticClassInfo()
{
    using P = TProps<TPanelItem>;
    static const TClassInfo info({.Name = "TPanelItem",
                                  .Parent = &TCollectionItem::StaticClassInfo(),
                                  .Properties = {P::Text("Text", &TPanelItem::Text, &TPanelItem::SetText).Default(""),
                                                 P::Integer("Width", &TPanelItem::Width, &TPanelItem::SetWidth).Default(50)}});
    return info;
}

// An item class without an Assign of its own.
class TPlainItem : public TCollectionItem {
    VSP_PERSISTENT_CLASS
public:
    using TCollectionItem::TCollectionItem;
};

const TClassInfo& TPlainItem::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TPlainItem", .Parent = &TCollectionItem::StaticClassInfo()});
    return info;
}

// Records every notice as text: "+ID", "xID" (extracting), "-ID" (deleting), "mID:from>to", "ei<>j",
// "u*" or "uID".
class TLoggedPanels : public TCollection {
public:
    explicit TLoggedPanels(TPersistent* Owner = nullptr)
        : TCollection(Owner, TPanelItem::StaticClassInfo(), &CreateItemOf<TPanelItem>) {}
    TPanelItem* Panel(int i) const { return static_cast<TPanelItem*>(Items(i)); }
    std::vector<std::string> Log;

protected:
    void Notify(TCollectionItem* Item, TCollectionNotification Action) override
    {
        static const char* marks[] = {"+", "x", "-"};
        Log.push_back(marks[Action] + std::to_string(Item->ID()));
    }
    void ItemMoved(TCollectionItem* Item, int From, int To) override
    {
        Log.push_back("m" + std::to_string(Item->ID()) + ":" + std::to_string(From) + ">" + std::to_string(To));
    }
    void ItemsExchanged(int Index1, int Index2) override
    {
        Log.push_back("e" + std::to_string(Index1) + "<>" + std::to_string(Index2));
    }
    void Update(TCollectionItem* Item) override { Log.push_back(Item ? "u" + std::to_string(Item->ID()) : "u*"); }
};

std::vector<int> IDs(const TCollection& c)
{
    std::vector<int> ids;
    for (int i = 0; i < c.Count(); ++i) ids.push_back(c.Items(i)->ID());
    return ids;
}

// The owner of a collection property, as a series owns its polygons.
class TPanelHolder : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    TLoggedPanels* Panels() const { return const_cast<TLoggedPanels*>(&FPanels); }
    int Height() const { return FHeight; }
    void SetHeight(int v) { FHeight = v; }

private:
    TLoggedPanels FPanels{this};
    int FHeight = 20;
};

const TClassInfo& TPanelHolder::StaticClassInfo()
{
    using P = TProps<TPanelHolder>;
    static const TClassInfo info({.Name = "TPanelHolder",
                                  .Parent = &TPersistent::StaticClassInfo(),
                                  .Properties = {P::Collection("Panels", &TPanelHolder::Panels),
                                                 P::Integer("Height", &TPanelHolder::Height, &TPanelHolder::SetHeight)
                                                     .Default(20)}});
    return info;
}

} // namespace

TEST(Collection, AddInsertAndPositions)
{
    TPanelHolder owner;
    TLoggedPanels& c = *owner.Panels();
    EXPECT_EQ(c.Owner(), &owner);
    EXPECT_EQ(&c.ItemClass(), &TPanelItem::StaticClassInfo());
    auto* a = c.Add();
    auto* b = c.Add();
    auto* front = c.Insert(0);
    EXPECT_EQ(front->ClassName(), "TPanelItem");
    EXPECT_EQ(front->Collection(), &c);
    EXPECT_EQ(c.Count(), 3);
    EXPECT_EQ(c.Items(0), front);
    EXPECT_EQ(a->Index(), 1);
    EXPECT_EQ(b->Index(), 2);
    EXPECT_EQ(IDs(c), (std::vector<int>{2, 0, 1}));
    // Insert at the end is allowed; beyond it and reading outside are list errors.
    EXPECT_EQ(c.Insert(3)->Index(), 3);
    EXPECT_THROW(c.Insert(5), EListError);
    EXPECT_THROW(c.Insert(-1), EListError);
    EXPECT_THROW(c.Items(4), EListError);
    EXPECT_THROW(c.Items(-1), EListError);
    try {
        c.Items(7);
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (7)");
    }
    // An item built directly with the collection joins at its end.
    auto* direct = new TPanelItem(&c);
    EXPECT_EQ(direct->Index(), 4);
    EXPECT_EQ(direct->ID(), 4);
}

TEST(Collection, IDsAreUniqueNeverChangedAndNeverReused)
{
    TLoggedPanels c;
    for (int i = 0; i < 4; ++i) c.Add();
    c.Delete(1);
    c.Items(0)->SetIndex(2);
    EXPECT_EQ(IDs(c), (std::vector<int>{2, 3, 0}));
    EXPECT_EQ(c.Add()->ID(), 4);
    c.Clear();
    EXPECT_EQ(c.Count(), 0);
    EXPECT_EQ(c.Add()->ID(), 5);
    EXPECT_EQ(c.FindItemID(5), c.Items(0));
    EXPECT_EQ(c.FindItemID(1), nullptr);
    // Moving to another collection gives an ID there; the first keeps counting on.
    TLoggedPanels other;
    other.Add();
    TCollectionItem* moved = c.Items(0);
    moved->SetCollection(&other);
    EXPECT_EQ(moved->ID(), 1);
    EXPECT_EQ(moved->Index(), 1);
    EXPECT_EQ(c.Count(), 0);
    EXPECT_EQ(c.Add()->ID(), 6);
    moved->SetCollection(nullptr);
    EXPECT_EQ(moved->Index(), -1);
    moved->Free();
    EXPECT_EQ(other.Count(), 1);
}

TEST(Collection, MovesByIndexAndExchange)
{
    struct Case {
        int from, to;
        std::vector<int> ids;
    };
    const Case cases[] = {
        {0, 3, {1, 2, 3, 0}}, {3, 0, {3, 0, 1, 2}}, {1, 2, {0, 2, 1, 3}}, {2, 2, {0, 1, 2, 3}},
    };
    for (const Case& k : cases) {
        TLoggedPanels c;
        for (int i = 0; i < 4; ++i) c.Add();
        c.Log.clear();
        c.Items(k.from)->SetIndex(k.to);
        EXPECT_EQ(IDs(c), k.ids) << k.from << ">" << k.to;
        if (k.from != k.to)
            EXPECT_EQ(c.Log, (std::vector<std::string>{"m" + std::to_string(k.from) + ":" + std::to_string(k.from) + ">" +
                                                           std::to_string(k.to),
                                                       "u*"}));
        else
            EXPECT_TRUE(c.Log.empty());
    }
    TLoggedPanels c;
    for (int i = 0; i < 4; ++i) c.Add();
    EXPECT_THROW(c.Items(0)->SetIndex(4), EListError);
    EXPECT_THROW(c.Items(0)->SetIndex(-1), EListError);
    EXPECT_EQ(IDs(c), (std::vector<int>{0, 1, 2, 3}));
    c.Log.clear();
    c.Exchange(0, 3);
    EXPECT_EQ(IDs(c), (std::vector<int>{3, 1, 2, 0}));
    EXPECT_EQ(c.Log, (std::vector<std::string>{"e0<>3", "u*"}));
    EXPECT_THROW(c.Exchange(0, 4), EListError);
}

TEST(Collection, NoticesAndUpdateBrackets)
{
    TLoggedPanels c;
    c.Add();
    c.Add();
    EXPECT_EQ(c.Log, (std::vector<std::string>{"+0", "u*", "+1", "u*"}));
    c.Log.clear();
    static_cast<TPanelItem*>(c.Items(1))->SetText("Status");
    EXPECT_EQ(c.Log, (std::vector<std::string>{"u1"}));
    c.Log.clear();
    c.Delete(0);
    EXPECT_EQ(c.Log, (std::vector<std::string>{"-0", "x0", "u*"}));
    c.Log.clear();
    c.Items(0)->Free();
    EXPECT_EQ(c.Log, (std::vector<std::string>{"x1", "u*"}));

    // Inside brackets item and collection notices wait; the outermost end sends one.
    c.Add();
    c.Add();
    c.Log.clear();
    c.BeginUpdate();
    c.BeginUpdate();
    static_cast<TPanelItem*>(c.Items(0))->SetText("a");
    c.Add();
    c.EndUpdate();
    EXPECT_EQ(c.Log, (std::vector<std::string>{"+4"}));
    c.EndUpdate();
    EXPECT_EQ(c.Log, (std::vector<std::string>{"+4", "u*"}));
    EXPECT_EQ(c.UpdateCount(), 0);
    c.EndUpdate(); // an unmatched end is ignored
    EXPECT_EQ(c.UpdateCount(), 0);
    c.Log.clear();
    c.Clear();
    EXPECT_EQ(c.Log, (std::vector<std::string>{"x4", "x3", "x2", "u*"}));
}

TEST(Collection, AssignCopiesItemsAndRefusesItemsWithoutACopy)
{
    TLoggedPanels source;
    static_cast<TPanelItem*>(source.Add())->SetText("one");
    auto* two = static_cast<TPanelItem*>(source.Add());
    two->SetText("two");
    two->SetWidth(80);
    TLoggedPanels target;
    target.Add();
    target.Add();
    target.Add();
    target.Log.clear();
    target.Assign(source);
    ASSERT_EQ(target.Count(), 2);
    EXPECT_EQ(target.Panel(0)->Text(), "one");
    EXPECT_EQ(target.Panel(1)->Width(), 80);
    EXPECT_EQ(target.Panel(1)->DisplayName(), "two");
    EXPECT_EQ(IDs(target), (std::vector<int>{3, 4}));
    EXPECT_EQ(std::count(target.Log.begin(), target.Log.end(), "u*"), 1) << "one notice for the whole assignment";
    target.Assign(target);
    EXPECT_EQ(target.Count(), 2);
    // SetItems copies into the item at the position.
    target.SetItems(0, *source.Items(1));
    EXPECT_EQ(target.Panel(0)->Text(), "two");

    TCollection plain(nullptr, TPlainItem::StaticClassInfo(), &CreateItemOf<TPlainItem>);
    plain.Add();
    TCollection copy(nullptr, TPlainItem::StaticClassInfo(), &CreateItemOf<TPlainItem>);
    EXPECT_THROW(copy.Assign(plain), EConvertError);
    EXPECT_EQ(copy.UpdateCount(), 0);
    EXPECT_EQ(plain.Items(0)->DisplayName(), "TPlainItem");
    TPanelHolder holder;
    EXPECT_THROW(copy.Assign(holder), EConvertError);
    // An item of another class cannot join.
    EXPECT_THROW(plain.Items(0)->SetCollection(&source), EListError);
    EXPECT_EQ(plain.Count(), 1);
}

TEST(Collection, AsPropertyInTheBinaryPropertyList)
{
    const TPropInfo* p = TPanelHolder::StaticClassInfo().FindProperty("Panels");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Kind, TPropKind::Collection);
    EXPECT_FALSE(p->IsReadOnly());
    TPanelHolder holder;
    EXPECT_EQ(GetObjectProp(holder, "Panels"), holder.Panels());
    EXPECT_THROW(GetPropValue(holder, "Panels"), EPropertyError);

    static_cast<TPanelItem*>(holder.Panels()->Add())->SetText("Ready");
    auto* second = static_cast<TPanelItem*>(holder.Panels()->Add());
    second->SetWidth(120);
    holder.SetHeight(30);
    TMemoryStream stream;
    WritePropertyList(stream, holder);

    // The bytes: list, "Panels", collection of two item lists, "Height", end.
    TMemoryStream expected;
    auto name = [&](const std::string& n) {
        expected.WriteByte(static_cast<std::uint8_t>(n.size()));
        expected.WriteBytes(n);
    };
    expected.WriteByte(vaList);
    name("Panels");
    expected.WriteByte(vaCollection);
    expected.WriteByte(vaList);
    name("Text");
    expected.WriteByte(vaString);
    name("Ready");
    expected.WriteByte(vaNull);
    expected.WriteByte(vaList);
    name("Width");
    expected.WriteByte(vaInt8);
    expected.WriteByte(120);
    expected.WriteByte(vaNull);
    expected.WriteByte(vaNull);
    name("Height");
    expected.WriteByte(vaInt8);
    expected.WriteByte(30);
    expected.WriteByte(vaNull);
    ASSERT_EQ(stream.Size(), expected.Size());
    EXPECT_EQ(std::memcmp(stream.Memory(), expected.Memory(), static_cast<std::size_t>(stream.Size())), 0);

    // Reading replaces what the collection held.
    TPanelHolder back;
    back.Panels()->Add();
    back.Panels()->Add();
    back.Panels()->Add();
    stream.SetPosition(0);
    ReadPropertyList(stream, back);
    ASSERT_EQ(back.Panels()->Count(), 2);
    EXPECT_EQ(back.Panels()->Panel(0)->Text(), "Ready");
    EXPECT_EQ(back.Panels()->Panel(1)->Width(), 120);
    EXPECT_EQ(back.Height(), 30);

    // An order number before an item is accepted; a collection that ends early is a read error.
    TMemoryStream numbered;
    numbered.WriteByte(vaList);
    numbered.WriteByte(6);
    numbered.WriteBytes("Panels");
    numbered.WriteByte(vaCollection);
    numbered.WriteByte(vaInt8);
    numbered.WriteByte(0);
    numbered.WriteByte(vaList);
    numbered.WriteByte(vaNull);
    numbered.WriteByte(vaNull);
    numbered.WriteByte(vaNull);
    numbered.SetPosition(0);
    ReadPropertyList(numbered, back);
    EXPECT_EQ(back.Panels()->Count(), 1);
    TMemoryStream truncated;
    truncated.WriteBytes(std::string_view(reinterpret_cast<const char*>(stream.Memory()), 16));
    truncated.SetPosition(0);
    EXPECT_THROW(ReadPropertyList(truncated, back), EReadError);
    EXPECT_EQ(back.Panels()->UpdateCount(), 0);
}
