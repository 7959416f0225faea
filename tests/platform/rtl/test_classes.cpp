// Object model: property tables (inheritance, changed defaults, access by path, stored rules, a walk
// that writes and reads a compact style string), Assign, ownership, names and free notification.
#include "platform/rtl/Classes.h"
#include "platform/rtl/Sets.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace {

enum TLineEnd { leRound, leSquare, leFlat };
inline const TEnumNames LineEndNames{"leRound", "leSquare", "leFlat"};
enum TLook { lkBold, lkItalic, lkUnderline };
inline const TEnumNames LookNames{"lkBold", "lkItalic", "lkUnderline"};
using TLooks = TSet<TLook>;

// A pen whose Visible is stored only when it differs from the default visibility of its class.
class TTestPen : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    std::int32_t Color() const { return FColor; }
    void SetColor(std::int32_t v) { FColor = v; }
    int Width() const { return FWidth; }
    void SetWidth(int v) { FWidth = v; }
    TLineEnd End() const { return FEnd; }
    void SetEnd(TLineEnd v) { FEnd = v; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool v) { FVisible = v; }
    bool VisibleStored() const { return FVisible != FDefaultVisible; }
    int Handle() const { return 42; }

    void Assign(const TPersistent& Source) override
    {
        if (auto* p = dynamic_cast<const TTestPen*>(&Source)) {
            FColor = p->FColor;
            FWidth = p->FWidth;
            FEnd = p->FEnd;
            FVisible = p->FVisible;
            return;
        }
        TPersistent::Assign(Source);
    }

protected:
    std::int32_t FColor = 0;
    int FWidth = 1;
    TLineEnd FEnd = leRound;
    bool FVisible = true;
    bool FDefaultVisible = true;
};

const TClassInfo& TTestPen::StaticClassInfo()
{
    using P = TProps<TTestPen>;
    static const TClassInfo info({
        .Name = "TTestPen",
        .Parent = &TPersistent::StaticClassInfo(),
        .Properties = {
            P::Colour("Color", &TTestPen::Color, &TTestPen::SetColor).Default(0),
            P::Integer("Width", &TTestPen::Width, &TTestPen::SetWidth).Default(1),
            P::Enumeration("End", LineEndNames, &TTestPen::End, &TTestPen::SetEnd).Default(leRound),
            P::Boolean("Visible", &TTestPen::Visible, &TTestPen::SetVisible).StoredWhen(&TTestPen::VisibleStored),
            P::Integer("Handle", &TTestPen::Handle, nullptr).NotStored(),
        },
    });
    return info;
}

// A descendant that is grey and hidden by default.
class THiddenGreyPen : public TTestPen {
    VSP_PERSISTENT_CLASS
public:
    THiddenGreyPen()
    {
        FColor = 0x808080;
        FVisible = FDefaultVisible = false;
    }
};

const TClassInfo& THiddenGreyPen::StaticClassInfo()
{
    static const TClassInfo info({
        .Name = "THiddenGreyPen",
        .Parent = &TTestPen::StaticClassInfo(),
        .Defaults = {{"Color", 0x808080}},
    });
    return info;
}

// A shape owning a pen, with a real, a text and a set.
class TTestShape : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    TTestPen* Pen() const { return FPen.get(); }
    double Ratio() const { return FRatio; }
    void SetRatio(double v) { FRatio = v; }
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v) { FCaption = v; }
    TLooks Looks() const { return FLooks; }
    void SetLooks(TLooks v) { FLooks = v; }

private:
    std::unique_ptr<TTestPen> FPen = std::make_unique<THiddenGreyPen>();
    double FRatio = 0.5;
    std::string FCaption;
    TLooks FLooks;
};

const TClassInfo& TTestShape::StaticClassInfo()
{
    using P = TProps<TTestShape>;
    static const TClassInfo info({
        .Name = "TTestShape",
        .Parent = &TPersistent::StaticClassInfo(),
        .Properties = {
            P::Object("Pen", &TTestShape::Pen),
            P::Real("Ratio", &TTestShape::Ratio, &TTestShape::SetRatio).Default(0.5),
            P::Text("Caption", &TTestShape::Caption, &TTestShape::SetCaption).Default(""),
            P::Set("Looks", LookNames, &TTestShape::Looks, &TTestShape::SetLooks).Default(TLooks{}),
        },
    });
    return info;
}

// A compact "Name=value;Sub.Name=value" form of the stored properties, the way style strings walk.
void WriteStyle(const TPersistent& obj, const std::string& prefix, std::string& out)
{
    for (const TPropInfo& p : obj.ClassInfo().Properties()) {
        if (!IsStoredProp(obj, p)) continue;
        if (p.Kind == TPropKind::Object) {
            if (const TPersistent* sub = p.GetObject(obj)) WriteStyle(*sub, prefix + p.Name + ".", out);
            continue;
        }
        out += prefix + p.Name + "=" + PropValueToText(p, p.Get(obj)) + ";";
    }
}

void ReadStyle(TPersistent& obj, const std::string& text)
{
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find(';', start);
        const std::string field = text.substr(start, end - start);
        const std::size_t eq = field.find('=');
        SetPropText(obj, field.substr(0, eq), field.substr(eq + 1));
        start = end + 1;
    }
}

} // namespace

TEST(PropertyTable, InheritedPropertiesComeFirstAndDescendantsChangeDefaults)
{
    const auto& props = THiddenGreyPen::StaticClassInfo().Properties();
    ASSERT_EQ(props.size(), 5u);
    EXPECT_EQ(props[0].Name, "Color");
    EXPECT_EQ(std::get<std::int64_t>(*props[0].DefaultValue), 0x808080);
    EXPECT_EQ(std::get<std::int64_t>(*TTestPen::StaticClassInfo().FindProperty("color")->DefaultValue), 0)
        << "the parent's default must stay as declared";
    THiddenGreyPen grey;
    EXPECT_EQ(grey.ClassName(), "THiddenGreyPen");
    EXPECT_TRUE(grey.InheritsFrom("ttestpen"));
    EXPECT_FALSE(grey.InheritsFrom("TTestShape"));
    EXPECT_THROW(TClassInfo({.Name = "TBad", .Parent = &TTestPen::StaticClassInfo(), .Defaults = {{"Colour", 1}}}),
                 EPropertyError);
}

TEST(PropertyTable, StoredFollowsDefaultsAndStoredWhen)
{
    TTestPen pen;
    THiddenGreyPen grey;
    auto stored = [](const TPersistent& o, const char* name) {
        return IsStoredProp(o, *o.ClassInfo().FindProperty(name));
    };
    EXPECT_FALSE(stored(pen, "Color"));
    EXPECT_FALSE(stored(grey, "Color")) << "grey is the grey pen's default";
    EXPECT_FALSE(stored(pen, "Visible"));
    EXPECT_FALSE(stored(grey, "Visible")) << "hidden is the hidden pen's default";
    grey.SetVisible(true);
    pen.SetVisible(false);
    EXPECT_TRUE(stored(grey, "Visible"));
    EXPECT_TRUE(stored(pen, "Visible"));
    EXPECT_FALSE(stored(pen, "Handle"));
    pen.SetColor(0x808080);
    EXPECT_TRUE(stored(pen, "Color"));
}

TEST(PropertyAccess, ByNameAndPath)
{
    TTestShape shape;
    SetPropValue(shape, "Pen.Width", std::int64_t{3});
    EXPECT_EQ(shape.Pen()->Width(), 3);
    SetPropText(shape, "pen.end", "leFlat");
    EXPECT_EQ(shape.Pen()->End(), leFlat);
    SetPropText(shape, "Looks", "[lkBold, lkUnderline]");
    EXPECT_EQ(shape.Looks(), (TLooks{lkBold, lkUnderline}));
    EXPECT_EQ(GetPropText(shape, "Looks"), "[lkBold,lkUnderline]");
    SetPropValue(shape, "Ratio", std::int64_t{2});
    EXPECT_EQ(shape.Ratio(), 2.0);
    EXPECT_EQ(GetPropText(shape, "Pen.Visible"), "False");
    EXPECT_EQ(GetObjectProp(shape, "Pen"), shape.Pen());

    struct Bad {
        const char* path;
        TPropValue value;
    };
    const Bad propertyErrors[] = {
        {"Nothing", std::int64_t{1}},        // unknown name
        {"Ratio.Width", std::int64_t{1}},    // path through a value
        {"Pen", std::int64_t{1}},            // an object has no value
        {"Pen.Handle", std::int64_t{1}},     // read-only
        {"Caption", std::int64_t{1}},        // text expected
        {"Pen.Width", 1.5},                  // integer expected
    };
    for (const Bad& b : propertyErrors) EXPECT_THROW(SetPropValue(shape, b.path, b.value), EPropertyError) << b.path;
    const Bad rangeErrors[] = {
        {"Pen.End", std::int64_t{3}},
        {"Pen.End", std::int64_t{-1}},
        {"Looks", std::int64_t{8}},
        {"Pen.Width", std::int64_t{1} << 40},
    };
    for (const Bad& b : rangeErrors) EXPECT_THROW(SetPropValue(shape, b.path, b.value), ERangeError) << b.path;
    EXPECT_EQ(shape.Pen()->End(), leFlat) << "a refused value leaves the property alone";
}

TEST(PropertyAccess, TextForms)
{
    TTestShape shape;
    const TPropInfo& looks = *shape.ClassInfo().FindProperty("Looks");
    const TPropInfo& ratio = *shape.ClassInfo().FindProperty("Ratio");
    const TPropInfo& end = *shape.Pen()->ClassInfo().FindProperty("End");
    const TPropInfo& visible = *shape.Pen()->ClassInfo().FindProperty("Visible");
    struct Case {
        const TPropInfo* prop;
        const char* text;
        bool ok;
        const char* back; // text written again, when ok
    };
    const Case cases[] = {
        {&looks, "[]", true, "[]"},
        {&looks, "[ lkItalic ]", true, "[lkItalic]"},
        {&looks, "[lkBold,lkNothing]", false, ""},
        {&looks, "lkBold", false, ""},
        {&ratio, "0.1", true, "0.1"},
        {&ratio, "1e-5", true, "1e-05"},
        {&ratio, "0,1", false, ""},
        {&ratio, "inf", false, ""},
        {&end, "1", true, "leSquare"},
        {&end, "LESQUARE", true, "leSquare"},
        {&end, "3", false, ""},
        {&visible, "true", true, "True"},
        {&visible, "yes", false, ""},
    };
    for (const Case& c : cases) {
        TPropValue v;
        EXPECT_EQ(TextToPropValue(*c.prop, c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(PropValueToText(*c.prop, v), c.back) << c.text;
        }
    }
}

TEST(PropertyWalk, StyleStringRoundTrip)
{
    TTestShape a;
    std::string empty;
    WriteStyle(a, "", empty);
    EXPECT_EQ(empty, "") << "a shape at its defaults writes nothing";

    a.SetRatio(0.1 + 0.2);
    a.SetCaption("two words");
    a.SetLooks({lkItalic});
    a.Pen()->SetColor(255);
    a.Pen()->SetVisible(true);
    a.Pen()->SetEnd(leSquare);
    std::string style;
    WriteStyle(a, "", style);
    EXPECT_EQ(style, "Pen.Color=255;Pen.End=leSquare;Pen.Visible=True;Ratio=0.30000000000000004;"
                     "Caption=two words;Looks=[lkItalic];");
    TTestShape b;
    ReadStyle(b, style);
    std::string again;
    WriteStyle(b, "", again);
    EXPECT_EQ(again, style);
    EXPECT_EQ(b.Ratio(), a.Ratio());
}

TEST(Persistent, AssignCopiesKnownSourcesAndRefusesOthers)
{
    TTestPen a, b;
    a.SetWidth(4);
    a.SetEnd(leFlat);
    b.Assign(a);
    EXPECT_EQ(b.Width(), 4);
    EXPECT_EQ(b.End(), leFlat);
    TTestShape shape;
    try {
        b.Assign(shape);
        ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TTestShape to a TTestPen");
    }
}

// ---- components ---------------------------------------------------------------------------------

namespace {

// Records the notifications it hears and, when destroyed, its name in a shared log.
class TProbe : public TComponent {
    VSP_PERSISTENT_CLASS
public:
    TProbe(TComponent* owner, std::string label, std::vector<std::string>* log)
        : TComponent(owner), FLabel(std::move(label)), FLog(log) {}
    explicit TProbe(TComponent* owner) : TComponent(owner) {}
    ~TProbe() override
    {
        if (FLog) FLog->push_back("free " + FLabel);
    }
    TComponent* Watched = nullptr; // cleared when the watched component goes
    std::vector<std::string> Heard;

protected:
    void Notification(TComponent* c, TOperation op) override
    {
        TComponent::Notification(c, op);
        Heard.push_back(std::string(op == opInsert ? "+" : "-") + (c == this ? "self" : "other"));
        if (op == opRemove && c == Watched) Watched = nullptr;
    }

private:
    std::string FLabel;
    std::vector<std::string>* FLog = nullptr;
};

const TClassInfo& TProbe::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TProbe", .Parent = &TComponent::StaticClassInfo(),
                                  .Create = &CreateComponentOf<TProbe>});
    return info;
}

} // namespace

TEST(Component, OwnerFreesOwnedComponentsLastFirst)
{
    std::vector<std::string> log;
    {
        auto form = std::make_unique<TProbe>(nullptr, "form", &log);
        auto* a = new TProbe(form.get(), "a", &log);
        new TProbe(a, "a1", &log);
        new TProbe(form.get(), "b", &log);
        EXPECT_EQ(form->ComponentCount(), 2);
        EXPECT_EQ(a->ComponentIndex(), 0);
        EXPECT_EQ(form->ComponentIndex(), -1);
        EXPECT_THROW(form->Components(2), EListError);
    }
    EXPECT_EQ(log, (std::vector<std::string>{"free form", "free b", "free a", "free a1"}));
}

TEST(Component, FreeLeavesTheOwnerAndTellsSiblings)
{
    std::vector<std::string> log;
    auto form = std::make_unique<TComponent>(nullptr);
    auto* a = new TProbe(form.get(), "a", &log);
    auto* b = new TProbe(form.get(), "b", &log);
    b->Watched = a;
    a->Free();
    EXPECT_EQ(form->ComponentCount(), 1);
    EXPECT_EQ(form->Components(0), b);
    EXPECT_EQ(b->Watched, nullptr) << "a sibling hears of the removal through the owner";
    EXPECT_EQ(log, std::vector<std::string>{"free a"});
}

TEST(Component, FreeNotificationWorksBothWaysAcrossOwners)
{
    auto left = std::make_unique<TProbe>(nullptr);
    auto right = std::make_unique<TProbe>(nullptr);
    auto* chart = new TProbe(left.get());
    auto* source = new TProbe(right.get());
    chart->Watched = source;
    source->Watched = chart;
    chart->FreeNotification(source);
    chart->FreeNotification(source); // idempotent
    source->Free();
    EXPECT_EQ(chart->Watched, nullptr);
    EXPECT_EQ(chart->Heard, std::vector<std::string>{"-other"}) << "told exactly once";

    // After RemoveFreeNotification nothing is heard, and destroying the partner later is safe.
    auto* other = new TProbe(right.get());
    chart->Watched = other;
    chart->FreeNotification(other);
    other->RemoveFreeNotification(chart);
    other->Free();
    EXPECT_EQ(chart->Watched, other);
    left.reset();
    right.reset();
}

TEST(Component, PartnerDestroyedFirstDoesNotLeaveADanglingLink)
{
    std::vector<std::string> log;
    auto a = std::make_unique<TProbe>(nullptr, "a", &log);
    auto b = std::make_unique<TProbe>(nullptr, "b", &log);
    b->Watched = a.get();
    a->FreeNotification(b.get());
    a.reset();
    EXPECT_EQ(b->Heard, std::vector<std::string>{"-other"}) << "b hears of a's going once";
    EXPECT_EQ(b->Watched, nullptr);
    // b forgets a: its own going tells nobody (a touch of the freed a is what the sanitizer build reports).
    b.reset();
    EXPECT_EQ(log, (std::vector<std::string>{"free a", "free b"}));
}

TEST(Component, NamesAreIdentifiersUniqueUnderOneOwner)
{
    auto form = std::make_unique<TComponent>(nullptr);
    auto* a = new TComponent(form.get());
    auto* b = new TComponent(form.get());
    a->SetName("Series1");
    EXPECT_EQ(form->FindComponent("SERIES1"), a);
    EXPECT_EQ(form->FindComponent(""), nullptr);
    try {
        b->SetName("series1");
        ADD_FAILURE();
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), "A component named series1 already exists");
    }
    for (const char* bad : {"1abc", "a b", "a-b", "é"}) EXPECT_THROW(b->SetName(bad), EComponentError) << bad;
    b->SetName("_Series_2");
    a->SetName("SERIES1"); // its own name in another case
    EXPECT_EQ(a->Name(), "SERIES1");
    a->SetName("");
    b->SetName("");        // several unnamed components may coexist
    EXPECT_EQ(b->Name(), "");
}

TEST(Component, InsertComponentMovesBetweenOwners)
{
    auto one = std::make_unique<TProbe>(nullptr);
    auto two = std::make_unique<TProbe>(nullptr);
    auto* c = new TComponent(one.get());
    c->SetName("Tool1");
    auto* clash = new TComponent(two.get());
    clash->SetName("tool1");
    EXPECT_THROW(two->InsertComponent(c), EComponentError);
    EXPECT_EQ(c->Owner(), one.get());
    clash->SetName("Tool2");
    two->InsertComponent(c);
    EXPECT_EQ(c->Owner(), two.get());
    EXPECT_EQ(one->ComponentCount(), 0);
    EXPECT_EQ(one->Heard, (std::vector<std::string>{"+other", "-other"}));
    one->InsertComponent(nullptr);
    two->RemoveComponent(c);
    EXPECT_EQ(c->Owner(), nullptr);
    std::unique_ptr<TComponent> loose(c); // no owner now: ours to free
}

TEST(Component, DescendantTablesAndFactories)
{
    ResetClassRegistry();
    RegisterClass(TProbe::StaticClassInfo());
    const TClassInfo* info = FindClassInfo("tprobe");
    ASSERT_NE(info, nullptr);
    auto owner = std::make_unique<TComponent>(nullptr);
    TComponent* made = info->CreateComponent(owner.get());
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->ClassName(), "TProbe");
    EXPECT_EQ(made->Owner(), owner.get());
    SetPropText(*made, "Name", "Probe1");
    SetPropText(*made, "Tag", "7");
    EXPECT_EQ(made->Name(), "Probe1");
    EXPECT_EQ(made->Tag(), 7);
    EXPECT_FALSE(IsStoredProp(*made, *info->FindProperty("Name")));
    UnRegisterClass(TProbe::StaticClassInfo());
    EXPECT_EQ(FindClassInfo("TProbe"), nullptr);
    EXPECT_TRUE(made->ComponentState().Empty());
    made->BeginLoading();
    EXPECT_TRUE(made->ComponentState().Contains(csLoading));
    made->Loaded();
    EXPECT_FALSE(made->ComponentState().Contains(csLoading));
}

TEST(Sets, Operations)
{
    enum TShift { ssShift, ssAlt, ssCtrl, ssLeft };
    using TShiftState = TSet<TShift>;
    const TShiftState a{ssShift, ssCtrl};
    const TShiftState b{ssCtrl, ssLeft};
    EXPECT_EQ(a + b, (TShiftState{ssShift, ssCtrl, ssLeft}));
    EXPECT_EQ(a - b, TShiftState{ssShift});
    EXPECT_EQ(a * b, TShiftState{ssCtrl});
    EXPECT_TRUE(TShiftState{ssCtrl} <= a);
    EXPECT_FALSE(a <= b);
    EXPECT_TRUE(a >= TShiftState{});
    EXPECT_TRUE(InSet(ssShift, a));
    EXPECT_FALSE(a.Contains(ssAlt));
    EXPECT_EQ(a.Count(), 2);
    EXPECT_EQ(a.Bits(), 0b101u);
    TShiftState c = a;
    c.Include(ssAlt).Exclude(ssShift);
    EXPECT_EQ(c, (TShiftState{ssAlt, ssCtrl}));
    enum TWide { wZero = 0, wFar = 64 };
    EXPECT_THROW(TSet<TWide>{wFar}, ERangeError) << "an ordinal past 63 would alias another member";
}

namespace {

// A series-like class with point data written as a binary block, a title written through code of its
// own, and an older name of that title that is still read.
class TTestSeries : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    std::vector<double> Points;
    std::string Title;
};

const TClassInfo& TTestSeries::StaticClassInfo()
{
    using P = TProps<TTestSeries>;
    static const TClassInfo info({
        .Name = "TTestSeries",
        .Parent = &TPersistent::StaticClassInfo(),
        .Defined = {
            P::DefinedBinary(
                "Data",
                [](TTestSeries& s, TStream& in) {
                    s.Points.resize(static_cast<std::size_t>(in.ReadInt32()));
                    for (double& p : s.Points) p = in.ReadDouble();
                },
                [](const TTestSeries& s, TStream& out) {
                    out.WriteInt32(static_cast<std::int32_t>(s.Points.size()));
                    for (double p : s.Points) out.WriteDouble(p);
                },
                [](const TTestSeries& s) { return !s.Points.empty(); }),
            P::DefinedValue(
                "SeriesTitle", TPropKind::Text,
                [](TTestSeries& s, const TPropValue& v) { s.Title = std::get<std::string>(v); },
                [](const TTestSeries& s) { return TPropValue(s.Title); },
                [](const TTestSeries& s) { return !s.Title.empty(); }),
            P::OldName("Caption", TPropKind::Text,
                       [](TTestSeries& s, const TPropValue& v) { s.Title = std::get<std::string>(v); }),
        },
    });
    return info;
}

} // namespace

TEST(DefinedProperties, BlocksValuesAndOldNames)
{
    TTestSeries a;
    a.Points = {1.5, -2};
    a.Title = "dU";
    const TClassInfo& info = a.ClassInfo();
    // What a stream writer does: every defined property that has data, in declaration order.
    TMemoryStream stream;
    std::vector<std::string> written;
    for (const TDefinedProperty& d : info.DefinedProperties()) {
        if (!d.IsWritten(a)) continue;
        written.push_back(d.Name);
        if (d.Binary)
            d.WriteData(a, stream);
        else
            stream.WriteBytes(std::get<std::string>(d.WriteValue(a)));
    }
    EXPECT_EQ(written, (std::vector<std::string>{"Data", "SeriesTitle"})) << "an old name is never written";

    TTestSeries b;
    stream.SetPosition(0);
    info.FindDefinedProperty("data")->ReadData(b, stream);
    EXPECT_EQ(b.Points, a.Points);
    info.FindDefinedProperty("Caption")->ReadValue(b, std::string("old title"));
    EXPECT_EQ(b.Title, "old title") << "streams of older versions still load";
    EXPECT_EQ(info.FindDefinedProperty("Nothing"), nullptr);
    EXPECT_FALSE(info.FindDefinedProperty("Data")->IsWritten(TTestSeries()));
}
