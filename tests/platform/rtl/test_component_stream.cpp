// The component stream: a small tree of components against a byte fixture written by a script
// (tests/data/stream/make_component_tree.py), its text form, faults a load passes over or stops at, and
// streams cut anywhere.
#include "platform/rtl/PropertyStream.h"

#include "platform/rtl/Collections.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace component_stream_test {

enum TShade { shLight, shDark };
inline const TEnumNames ShadeNames{"shLight", "shDark"};
using TShades = TSet<TShade>;

class TInnerPart : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    int Size = 1;
    std::string Blob;
};

const TClassInfo& TInnerPart::StaticClassInfo()
{
    using P = TProps<TInnerPart>;
    using I = TInnerPart;
    static const TClassInfo info({
        .Name = "TInnerPart",
        .Parent = &TPersistent::StaticClassInfo(),
        .Properties = {P::Integer("Size", [](const I& i) { return i.Size; }, [](I& i, int v) { i.Size = v; }).Default(1)},
        .Defined = {P::DefinedBinary(
            "Blob", [](I& i, TStream& s) { i.Blob = s.ReadBytes(s.Size()); }, [](const I& i, TStream& s) { s.WriteBytes(i.Blob); },
            [](const I& i) { return !i.Blob.empty(); })},
    });
    return info;
}

class TWeightItem : public TCollectionItem {
    VSP_PERSISTENT_CLASS
public:
    using TCollectionItem::TCollectionItem;
    int Weight = 0;
    std::string Label;
};

const TClassInfo& TWeightItem::StaticClassInfo()
{
    using P = TProps<TWeightItem>;
    using W = TWeightItem;
    static const TClassInfo info({
        .Name = "TWeightItem",
        .Parent = &TCollectionItem::StaticClassInfo(),
        .Properties = {P::Integer("Weight", [](const W& w) { return w.Weight; }, [](W& w, int v) { w.Weight = v; }).Default(0),
                       P::Text("Label", [](const W& w) { return w.Label; }, [](W& w, const std::string& v) { w.Label = v; })},
    });
    return info;
}

class TStreamLeaf;

class TStreamRoot : public TComponent {
    VSP_PERSISTENT_CLASS
public:
    explicit TStreamRoot(TComponent* AOwner = nullptr) : TComponent(AOwner), Items(this, TWeightItem::StaticClassInfo(), &CreateItemOf<TWeightItem>) {}
    ~TStreamRoot() override { DestroyComponents(); }

    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent*) const override
    {
        for (TComponent* c : Leaves) Proc(c);
    }

    std::int64_t Small = 0, Medium = 0, Large = 0, Huge = 0, Guarded = 0;
    double Ratio = 0;
    bool Flag = false, Lit = true;
    TShade Shade = shLight;
    TShades Shades;
    std::string Caption, Story, Accent;
    TComponent* Partner = nullptr;
    TInnerPart Inner;
    TCollection Items;
    std::vector<TComponent*> Leaves;
};

class TStreamLeaf : public TComponent {
    VSP_PERSISTENT_CLASS
public:
    using TComponent::TComponent;
    void SetParentComponent(TComponent* Value) override
    {
        if (auto* root = dynamic_cast<TStreamRoot*>(Value)) root->Leaves.push_back(this);
    }
    void Loaded() override
    {
        TComponent::Loaded();
        ++LoadedCalls;
    }
    int Depth = 0;
    TComponent* Back = nullptr;
    int LoadedCalls = 0;
};

const TClassInfo& TStreamRoot::StaticClassInfo()
{
    using P = TProps<TStreamRoot>;
    using R = TStreamRoot;
    static const TClassInfo info({
        .Name = "TStreamRoot",
        .Parent = &TComponent::StaticClassInfo(),
        .Properties =
            {
                P::Integer("Small", [](const R& r) { return r.Small; }, [](R& r, std::int64_t v) { r.Small = v; }).Default(0),
                P::Integer("Medium", [](const R& r) { return r.Medium; }, [](R& r, std::int64_t v) { r.Medium = v; }).Default(0),
                P::Integer("Large", [](const R& r) { return r.Large; }, [](R& r, std::int64_t v) { r.Large = v; }).Default(0),
                P::Integer("Huge", [](const R& r) { return r.Huge; }, [](R& r, std::int64_t v) { r.Huge = v; }).Default(0),
                // A setter that refuses values with an exception of its own.
                P::Integer("Guarded", [](const R& r) { return r.Guarded; },
                           [](R& r, std::int64_t v) {
                               if (v < 0) throw Exception("Guarded must be >= 0");
                               r.Guarded = v;
                           })
                    .Default(0),
                P::Real("Ratio", [](const R& r) { return r.Ratio; }, [](R& r, double v) { r.Ratio = v; }).Default(0.0),
                P::Boolean("Flag", [](const R& r) { return r.Flag; }, [](R& r, bool v) { r.Flag = v; }).Default(false),
                P::Boolean("Lit", [](const R& r) { return r.Lit; }, [](R& r, bool v) { r.Lit = v; }).Default(true),
                P::Enumeration("Shade", ShadeNames, [](const R& r) { return r.Shade; }, [](R& r, TShade v) { r.Shade = v; })
                    .Default(shLight),
                P::Set("Shades", ShadeNames, [](const R& r) { return r.Shades; }, [](R& r, TShades v) { r.Shades = v; }),
                P::Text("Caption", [](const R& r) { return r.Caption; }, [](R& r, const std::string& v) { r.Caption = v; }),
                P::Text("Story", [](const R& r) { return r.Story; }, [](R& r, const std::string& v) { r.Story = v; }),
                P::Text("Accent", [](const R& r) { return r.Accent; }, [](R& r, const std::string& v) { r.Accent = v; }),
                P::Reference("Partner", [](const R& r) -> TPersistent* { return r.Partner; },
                             [](R& r, TStreamLeaf* v) { r.Partner = v; }),
                P::Object("Inner", [](const R& r) -> TPersistent* { return const_cast<TInnerPart*>(&r.Inner); }),
                P::Collection("Items", [](const R& r) -> TPersistent* { return const_cast<TCollection*>(&r.Items); }),
            },
        .Create = &CreateComponentOf<TStreamRoot>,
    });
    return info;
}

const TClassInfo& TStreamLeaf::StaticClassInfo()
{
    using P = TProps<TStreamLeaf>;
    using L = TStreamLeaf;
    static const TClassInfo info({
        .Name = "TStreamLeaf",
        .Parent = &TComponent::StaticClassInfo(),
        .Properties = {P::Integer("Depth", [](const L& l) { return l.Depth; }, [](L& l, int v) { l.Depth = v; }).Default(0),
                       P::Reference("Back", [](const L& l) -> TPersistent* { return l.Back; },
                                    [](L& l, TComponent* v) { l.Back = v; })},
        .Create = &CreateComponentOf<TStreamLeaf>,
    });
    return info;
}

std::string Bytes(TMemoryStream& s) { return std::string(reinterpret_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.Size())); }

TMemoryStream StreamOf(const std::string& bytes)
{
    TMemoryStream s;
    s.WriteBytes(bytes);
    s.SetPosition(0);
    return s;
}

std::string Fixture()
{
    std::ifstream f(std::string(VSP_TEST_DATA) + "/stream/component_tree.bin", std::ios::binary);
    EXPECT_TRUE(f.good()) << "fixture missing";
    return std::string(std::istreambuf_iterator<char>(f), {});
}

// The tree the fixture script describes.
void Fill(TStreamRoot& root)
{
    root.SetName("Root");
    root.Small = -5;
    root.Medium = 1000;
    root.Large = 100000;
    root.Huge = -5000000000LL;
    root.Ratio = 2.5;
    root.Flag = true;
    root.Lit = false;
    root.Shade = shDark;
    root.Shades = TShades{shLight, shDark};
    root.Caption = "Tea & 'biscuits'";
    for (int i = 0; i < 30; ++i) root.Story += "0123456789";
    root.Accent = "Caf\xe9 \x80";
    root.Inner.Size = 7;
    for (int i = 0; i < 40; ++i) root.Inner.Blob += static_cast<char>(i);
    auto& first = static_cast<TWeightItem&>(*root.Items.Add());
    first.Weight = 1;
    first.Label = "first";
    auto& second = static_cast<TWeightItem&>(*root.Items.Add());
    second.Weight = -300;
    second.Label = "second";
    auto* leaf = new TStreamLeaf(&root);
    leaf->SetName("Leaf1");
    leaf->Depth = 3;
    leaf->Back = &root;
    root.Leaves.push_back(leaf);
    root.Partner = leaf;
}

class ComponentStream : public ::testing::Test {
protected:
    void SetUp() override { RegisterClass(TStreamLeaf::StaticClassInfo()); }
    void TearDown() override { UnRegisterClass(TStreamLeaf::StaticClassInfo()); }

    // Reads bytes into a fresh root; the messages passed over are collected, and the callback answers GoOn.
    std::string Load(const std::string& bytes, TStreamRoot& root, std::vector<std::string>* messages = nullptr, bool goOn = true)
    {
        TMemoryStream s = StreamOf(bytes);
        TReader reader(s);
        if (messages)
            reader.OnError = [messages, goOn](const std::string& m) {
                messages->push_back(m);
                return goOn;
            };
        return reader.ReadRootComponent(root);
    }

    std::string Written(const TStreamRoot& root)
    {
        TMemoryStream s;
        TWriter(s).WriteRootComponent(root);
        return Bytes(s);
    }

    std::string ToText(const std::string& binary)
    {
        TMemoryStream in = StreamOf(binary), out;
        ObjectBinaryToText(in, out);
        return Bytes(out);
    }

    std::string ToBinary(const std::string& text)
    {
        TMemoryStream in = StreamOf(text), out;
        ObjectTextToBinary(in, out);
        return Bytes(out);
    }
};

TEST_F(ComponentStream, TheTreeIsWrittenAsTheFixtureSays)
{
    TStreamRoot root;
    Fill(root);
    EXPECT_EQ(Written(root), Fixture());
}

TEST_F(ComponentStream, TheFixtureReadsBackEqual)
{
    TStreamRoot back;
    EXPECT_EQ(Load(Fixture(), back), "TStreamRoot");
    TStreamRoot expected;
    Fill(expected);
    EXPECT_EQ(back.Name(), "Root");
    EXPECT_EQ(back.Small, expected.Small);
    EXPECT_EQ(back.Medium, expected.Medium);
    EXPECT_EQ(back.Large, expected.Large);
    EXPECT_EQ(back.Huge, expected.Huge);
    EXPECT_EQ(back.Ratio, expected.Ratio);
    EXPECT_EQ(back.Flag, expected.Flag);
    EXPECT_EQ(back.Lit, expected.Lit);
    EXPECT_EQ(back.Shade, expected.Shade);
    EXPECT_EQ(back.Shades, expected.Shades);
    EXPECT_EQ(back.Caption, expected.Caption);
    EXPECT_EQ(back.Story, expected.Story);
    EXPECT_EQ(back.Accent, expected.Accent);
    EXPECT_EQ(back.Inner.Size, 7);
    EXPECT_EQ(back.Inner.Blob, expected.Inner.Blob);
    ASSERT_EQ(back.Items.Count(), 2);
    EXPECT_EQ(static_cast<TWeightItem*>(back.Items.Items(1))->Weight, -300);
    EXPECT_EQ(static_cast<TWeightItem*>(back.Items.Items(1))->Label, "second");
    // The child is created by its registered class, owned by the root, joined to it, named, loaded, and
    // both references (the root's to the child it read later, the child's to the root) are resolved.
    ASSERT_EQ(back.Leaves.size(), 1u);
    auto* leaf = dynamic_cast<TStreamLeaf*>(back.Leaves[0]);
    ASSERT_NE(leaf, nullptr);
    EXPECT_EQ(leaf->Owner(), &back);
    EXPECT_EQ(leaf->Name(), "Leaf1");
    EXPECT_EQ(leaf->Depth, 3);
    EXPECT_EQ(leaf->LoadedCalls, 1);
    EXPECT_FALSE(leaf->ComponentState().Contains(csLoading));
    EXPECT_FALSE(back.ComponentState().Contains(csLoading));
    EXPECT_EQ(back.Partner, leaf);
    EXPECT_EQ(leaf->Back, &back);
    EXPECT_EQ(Written(back), Fixture());
}

TEST_F(ComponentStream, TextFormReadsAndGoesBackToTheSameBytes)
{
    const std::string text = ToText(Fixture());
    for (const char* part : {"object Root: TStreamRoot\r\n", "  Small = -5\r\n", "  Ratio = 2.5\r\n", "  Lit = False\r\n",
                             "  Shades = [shLight, shDark]\r\n", "  Caption = 'Tea & ''biscuits'''\r\n",
                             "  Accent = 'Caf'#233' '#8364\r\n", "  Partner = Leaf1\r\n", "  Inner.Blob = {\r\n    000102",
                             "  Items = <\r\n    item\r\n      Weight = 1\r\n      Label = 'first'\r\n    end\r\n",
                             "  object Leaf1: TStreamLeaf\r\n    Depth = 3\r\n    Back = Root\r\n  end\r\nend\r\n"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    EXPECT_EQ(ToBinary(text), Fixture());
    // Written by hand: pieces joined by "+", lower-case words, no name, a control character and an 8-bit byte.
    const std::string hand = "OBJECT TStreamRoot\n Caption = 'a'#9 +\n   'b\xe9'\n Ratio = 1e3\n Items = <>\nEND";
    TStreamRoot root;
    Load(ToBinary(hand), root);
    EXPECT_EQ(root.Caption, "a\tb\xe9");
    EXPECT_EQ(root.Ratio, 1000.0);
    EXPECT_EQ(root.Name(), "");
}

TEST_F(ComponentStream, DamagedTextIsARefusalWithItsLine)
{
    const char* cases[] = {
        "thing TStreamRoot\nend",      "object TStreamRoot\n Small 5\nend", "object TStreamRoot\n Caption = 'open\nend",
        "object TStreamRoot\n Inner.Blob = {0G}\nend", "object TStreamRoot\n Inner.Blob = {012}\nend",
        "object TStreamRoot\n Small = 99999999999999999999\nend", "object TStreamRoot\n Items = < thing >\nend",
        "object TStreamRoot\n Caption = #1114112\nend", "object TStreamRoot\n Small = 5",
    };
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        EXPECT_THROW(ToBinary(text), EReadError);
    }
    std::string deep = "object TStreamRoot\n Caption = ";
    for (int i = 0; i < 200; ++i) deep += "(";
    EXPECT_THROW(ToBinary(deep), EReadError);
}

// The fixture with bytes spliced in after the root's "Accent" property.
std::string Spliced(const std::string& extra)
{
    std::string bytes = Fixture();
    const std::size_t at = bytes.find("\x07Partner");
    return bytes.insert(at, extra);
}

TEST_F(ComponentStream, FaultsThatCanBePassedOverAskTheCallback)
{
    // An unregistered child class: its record is skipped whole, with its own property and grandchild.
    std::string unknownChild = Fixture();
    unknownChild.insert(unknownChild.size() - 1, std::string("\x06TGhost\x06Ghost1\x04Size\x02\x05\x00\x0bTStreamLeaf\x02L2\x00\x00\x00", 40));
    struct Case {
        const char* what;
        std::string bytes;
        const char* message;
    };
    const Case cases[] = {
        {"unknown property", Spliced(std::string("\x05" "Bogus\x01\x02\x01\x06\x01x\x00", 13)), "Bogus: property does not exist"},
        {"refused value", Spliced(std::string("\x05" "Shade\x07\x03" "shX", 11)), "Shade: invalid identifier shX"},
        {"value the setter refuses", Spliced(std::string("\x07" "Guarded\x02\xff", 10)), "Guarded: Guarded must be >= 0"},
        {"unknown class", unknownChild, "Class TGhost not found"},
        {"unresolved reference", Spliced(std::string("\x07" "Partner\x07\x06" "Nobody", 16)), "unresolved reference to Nobody"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        {
            TStreamRoot root;
            std::vector<std::string> messages;
            ASSERT_NO_THROW(Load(c.bytes, root, &messages, true));
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_NE(messages[0].find(c.message), std::string::npos) << messages[0];
            // Everything else is read.
            EXPECT_EQ(root.Items.Count(), 2);
            ASSERT_EQ(root.Leaves.size(), 1u);
            EXPECT_EQ(root.Partner, root.Leaves[0]);
            EXPECT_EQ(root.ComponentCount(), 1);
        }
        for (bool withCallback : {true, false}) {
            TStreamRoot root;
            std::vector<std::string> messages;
            try {
                Load(c.bytes, root, withCallback ? &messages : nullptr, false);
                ADD_FAILURE() << "read";
            } catch (const EReadError& e) {
                EXPECT_NE(e.Message().find(c.message), std::string::npos) << e.Message();
            }
            EXPECT_FALSE(root.ComponentState().Contains(csLoading));
        }
    }
}

TEST_F(ComponentStream, StructuralFaultsStopEvenWhenTheCallbackGoesOn)
{
    std::string longLength = Fixture();
    const std::size_t story = longLength.find("\x05Story") + 7;
    longLength.replace(story, 4, std::string("\xff\xff\xff\x7f", 4));
    const std::string cases[] = {
        Spliced(std::string("\x05" "Bogus\x63", 7)), // unknown tag
        longLength,                                  // a length past the end
        "TPF1",                                      // no signature
    };
    for (const std::string& bytes : cases) {
        TStreamRoot root;
        std::vector<std::string> messages;
        EXPECT_THROW(Load(bytes, root, &messages, true), EReadError);
        EXPECT_TRUE(messages.empty());
    }
}

TEST_F(ComponentStream, AStreamCutAnywhereIsAReadError)
{
    const std::string whole = Fixture();
    const std::string text = ToText(whole);
    for (std::size_t n = 0; n < whole.size(); ++n) {
        const std::string cut = whole.substr(0, n);
        TStreamRoot root;
        std::vector<std::string> messages;
        EXPECT_THROW(Load(cut, root, &messages, true), EReadError) << n;
        // A child cut short is freed; references are not resolved into freed components.
        EXPECT_LE(root.ComponentCount(), 1) << n;
        EXPECT_THROW(ToText(cut), EReadError) << n;
    }
    // The text form is whole once its last "end" is there.
    const std::size_t lastEnd = text.rfind("end");
    for (std::size_t n = 0; n < lastEnd + 3; ++n) EXPECT_THROW(ToBinary(text.substr(0, n)), EReadError) << n;
}

} // namespace component_stream_test
