// The registries of series, function and tool types and the colour palettes: entries added once per
// pair, removed wherever they stand, descriptions, the class library's registration, the basic functions
// after start-up, the palettes' colours and their application to a chart.
#include "ChartTestSupport.h"

#include "chart/engine/LumFunci.h"
#include "platform/rtl/StringList.h"

#include <gtest/gtest.h>

namespace {

// Classes of their own, so that the process-wide registries return to what they were.
const TClassInfo& SeriesA()
{
    static const TClassInfo info({.Name = "TRegistrySeriesA", .Parent = &TChartSeries::StaticClassInfo()});
    return info;
}
const TClassInfo& SeriesB()
{
    static const TClassInfo info({.Name = "TRegistrySeriesB", .Parent = &TChartSeries::StaticClassInfo()});
    return info;
}
const TClassInfo& FunctionA()
{
    static const TClassInfo info({.Name = "TRegistryFunctionA", .Parent = &TLumFunction::StaticClassInfo()});
    return info;
}
const TClassInfo& FunctionB()
{
    static const TClassInfo info({.Name = "TRegistryFunctionB", .Parent = &TLumFunction::StaticClassInfo()});
    return info;
}
const TClassInfo& ToolA()
{
    static const TClassInfo info({.Name = "TRegistryToolA", .Parent = &TLumCustomTool::StaticClassInfo()});
    return info;
}
const TClassInfo& ToolB()
{
    static const TClassInfo info({.Name = "TRegistryToolB", .Parent = &TLumCustomTool::StaticClassInfo()});
    return info;
}

// The entries of the registry that name one of the test classes, as (series, function, caption).
std::vector<std::tuple<const TClassInfo*, const TClassInfo*, std::string>> TestEntries()
{
    std::vector<std::tuple<const TClassInfo*, const TClassInfo*, std::string>> out;
    const TLumSeriesTypes* types = LumSeriesTypes();
    for (int i = 0; types && i < types->Count(); ++i) {
        const TLumSeriesType& t = types->GetSeriesType(i);
        for (const TClassInfo* c : {&SeriesA(), &SeriesB(), &FunctionA(), &FunctionB()})
            if (t.SeriesClassRef == c || t.FunctionClassRef == c) {
                out.emplace_back(t.SeriesClassRef, t.FunctionClassRef, t.Caption);
                break;
            }
    }
    return out;
}

struct TRegistryCleanup {
    ~TRegistryCleanup()
    {
        UnregisterSeriesClasses({&SeriesA(), &SeriesB()});
        UnregisterFunctionClasses({&FunctionA(), &FunctionB()});
        UnregisterToolClasses({&ToolA(), &ToolB()});
    }
};

} // namespace

TEST(ChartRegistry, SeriesAndFunctionEntries)
{
    TRegistryCleanup cleanup;
    using E = std::tuple<const TClassInfo*, const TClassInfo*, std::string>;
    RegisterSeries(SeriesA(), "A", "Extended");
    RegisterSeries(SeriesA(), "A again", "Other");
    EXPECT_EQ(TestEntries(), (std::vector<E>{{&SeriesA(), nullptr, "A"}})) << "the same class twice: one entry";

    RegisterSeriesOrFunction(&SeriesB(), &FunctionA(), "B with A", 1, "Standard");
    RegisterSeriesOrFunction(&SeriesB(), &FunctionB(), "B with B", 1, "Standard");
    RegisterFunction(FunctionA(), "Fa", "Stats", 2);
    EXPECT_EQ(TestEntries(), (std::vector<E>{{&SeriesA(), nullptr, "A"},
                                             {&SeriesB(), &FunctionA(), "B with A"},
                                             {&SeriesB(), &FunctionB(), "B with B"},
                                             {nullptr, &FunctionA(), "Fa"}}))
        << "one series class with two function classes: two entries";
    const TLumSeriesType* fa = LumSeriesTypes()->FindEntry(nullptr, &FunctionA());
    ASSERT_NE(fa, nullptr);
    EXPECT_EQ(fa->Page, "Stats");
    EXPECT_EQ(fa->GallerySeriesCount, 2);

    // Registration also registers the classes with the class library.
    EXPECT_EQ(FindClassInfo("TRegistrySeriesB"), &SeriesB());
    EXPECT_EQ(FindClassInfo("tregistryfunctiona"), &FunctionA());

    // Found only as a series type: an entry with a function class does not count.
    EXPECT_EQ(LumSeriesTypes()->FindSeriesType(SeriesA()), LumSeriesTypes()->FindEntry(&SeriesA(), nullptr));
    EXPECT_EQ(LumSeriesTypes()->FindSeriesType(SeriesB()), nullptr);

    // Unregistering a class removes all its entries, wherever they stand.
    RegisterStandardSeries(SeriesB(), "B alone");
    UnregisterSeriesClasses({&SeriesB()});
    EXPECT_EQ(TestEntries(), (std::vector<E>{{&SeriesA(), nullptr, "A"}, {nullptr, &FunctionA(), "Fa"}}));
    UnregisterFunctionClasses({&FunctionA()});
    EXPECT_EQ(TestEntries(), (std::vector<E>{{&SeriesA(), nullptr, "A"}}));
    UnregisterSeriesOrFunction(false, FunctionB());
    EXPECT_EQ(TestEntries().size(), 1u) << "a class with no entry changes nothing";
    EXPECT_THROW(LumSeriesTypes()->GetSeriesType(LumSeriesTypes()->Count()), ERangeError);
}

TEST(ChartRegistry, SeriesTypeDescription)
{
    TRegistryCleanup cleanup;
    TChart chart(nullptr);
    auto& s = AddSeries(chart, {1});
    EXPECT_EQ(SeriesTypeDescription(s), "TLineTestSeries") << "unregistered: the class name";
    RegisterSeriesOrFunction(&TLineTestSeries::StaticClassInfo(), &FunctionA(), "With function", 1, "Standard");
    EXPECT_EQ(SeriesTypeDescription(s), "TLineTestSeries") << "registered only with a function: the class name";
    RegisterStandardSeries(TLineTestSeries::StaticClassInfo(), "Test line");
    EXPECT_EQ(SeriesTypeDescription(s), "Test line");
    const TLumSeriesType* entry = LumSeriesTypes()->FindSeriesType(TLineTestSeries::StaticClassInfo());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Page, "Standard");
    EXPECT_EQ(entry->GallerySeriesCount, 2);
    UnregisterSeriesClasses({&TLineTestSeries::StaticClassInfo()});
    EXPECT_EQ(SeriesTypeDescription(s), "TLineTestSeries");
}

TEST(ChartRegistry, BasicFunctionsAfterStartUp)
{
    const auto& functions = StandardFunctions();
    ASSERT_EQ(functions.size(), 10u);
    for (const TStandardFunctionEntry& f : functions) {
        SCOPED_TRACE(f.Class->Name());
        const TLumSeriesType* entry = LumSeriesTypes()->FindEntry(nullptr, f.Class);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->Caption, f.GalleryName);
        EXPECT_EQ(entry->Page, "Standard");
        EXPECT_EQ(entry->GallerySeriesCount, 2);
        EXPECT_EQ(FindClassInfo(f.Class->Name()), f.Class) << "found by class name";
    }
    EXPECT_NE(LumEngineModule().Control.RegisterStandardFunction, nullptr) << "the engine's hook is installed";
}

TEST(ChartRegistry, ShutDownAndStartUpAgain)
{
    ChartFinalization();
    EXPECT_EQ(LumSeriesTypes(), nullptr);
    EXPECT_EQ(LumToolTypes(), nullptr);
    EXPECT_EQ(ColorPalettes(), nullptr);
    ChartInitialization();
    ASSERT_NE(LumToolTypes(), nullptr);
    ASSERT_NE(ColorPalettes(), nullptr);
    ASSERT_NE(LumSeriesTypes(), nullptr);
    EXPECT_NE(LumSeriesTypes()->FindEntry(nullptr, &TAddLumFunction::StaticClassInfo()), nullptr)
        << "the basic functions register again";
}

TEST(ChartRegistry, ToolTypes)
{
    TRegistryCleanup cleanup;
    TLumToolTypes& tools = *LumToolTypes();
    const int before = tools.Count();
    RegisterToolClasses({&ToolA(), &ToolB(), &ToolA()});
    RegisterToolClasses({&ToolB()});
    ASSERT_EQ(tools.Count(), before + 2) << "each class once, in registration order";
    EXPECT_EQ(tools.GetToolClass(before), &ToolA());
    EXPECT_EQ(tools.GetToolClass(before + 1), &ToolB());
    EXPECT_EQ(FindClassInfo("TRegistryToolB"), &ToolB());
    UnregisterToolClasses({&ToolA()});
    EXPECT_EQ(tools.Count(), before + 1);
    EXPECT_EQ(tools.GetToolClass(before), &ToolB());
    EXPECT_THROW(tools.GetToolClass(before + 1), ERangeError);
    EXPECT_THROW(tools.GetToolClass(-1), ERangeError);
}

TEST(ChartRegistry, PaletteNamesAndColours)
{
    // Names in index order, each with its colours in order.
    struct Case {
        const char* Name;
        std::vector<std::uint32_t> Colors;
    };
    const Case cases[] = {
        {"Lumigram", {}},
        {"Excel", {0xFF9999, 0x663399, 0xCCFFFF, 0xFFFFCC, 0x660066, 0x8080FF, 0xCC6600, 0xFFCCCC,
                   0x800000, 0xFF00FF, 0x00FFFF, 0xFFFF00, 0x800080, 0x000080, 0x808000, 0xFF0000,
                   0xFFCC00, 0xFFFFCC, 0xCCFFCC, 0x00FFFF, 0xFFCC99, 0xCC99FF}},
        {"Victorian", {0xA1A55D, 0x3153C4, 0x0996E7, 0x4AE8F6, 0xA7A2B1, 0x84A7C9, 0x51798C, 0xB7CDD8,
                       0x536508, 0x7BD8F7, 0x846401}},
        {"Pastels", {0xFFFFCC, 0xCCFFFF, 0xFFCCCC, 0xCCCC00, 0xCCCCCC, 0x999900, 0x999999, 0xCCCCFF,
                     0x66CCFF, 0xFFCCCC, 0x9999FF, 0x99FFFF, 0xFFCC99, 0xCCFFCC}},
        {"Solid", {0xFF0000, 0x0000FF, 0x00FF00, 0x00CCFF, 0x404040, 0x00FFFF, 0xC000FF, 0xFFFFFF}},
        {"Classic", {0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0x800000, 0x008000,
                     0x808000, 0x000080, 0x800080, 0x008080}},
        {"Web", {0x00A5FF, 0xCE0000, 0x00CE00, 0x40FFFF, 0xFFFF40, 0xFF40FF, 0x0040FF, 0xA58080, 0x408080}},
        {"Modern", {0x6699FF, 0x6666FF, 0xFFCC99, 0x669966, 0x99CCCC, 0xCC6699, 0x6666CC, 0x99CCFF,
                    0xFF6699, 0xCCCCCC, 0xCCFF66, 0xFF9966, 0x996699, 0xFFCCCC}},
        {"Rainbow", {0x000099, 0x0000C3, 0x0000EE, 0x001AFF, 0x0046FF, 0x0073FF, 0x009FFF, 0x00CBFF,
                     0x00F7FF, 0x08F4E3, 0x11E7C3, 0x1BDAA3, 0x25CD83, 0x2EC063, 0x38B342, 0x42A622,
                     0x4B9A02, 0x6A870C, 0x8A751A, 0xAA6328, 0xCB5036, 0xEB3E44, 0xFF2A61, 0xFF1596,
                     0xFF00CC}},
        {"Win. XP", {0xFE9B82, 0x24D1FC, 0x0DBC7C, 0x2F85FD, 0xFCFEFD, 0x214EE2, 0xD63829, 0x0094B7,
                     0x00865A, 0x0046D2, 0xFAE5D3, 0xD8D8D8, 0x7B715F}},
    };
    const TStringList& names = *ColorPalettes();
    ASSERT_EQ(names.Count(), 10);
    for (int i = 0; i < 10; ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(names[i], c.Name);
        std::vector<std::uint32_t> colors;
        for (const TColor color : ColorPaletteColors(i)) colors.push_back(static_cast<std::uint32_t>(color));
        EXPECT_EQ(colors, c.Colors);
    }
    EXPECT_TRUE(ColorPaletteColors(10).empty());
    EXPECT_TRUE(ColorPaletteColors(-1).empty());
}

TEST(ChartRegistry, ApplyingPalettes)
{
    TChart chart(nullptr);
    auto& own = AddSeries(chart, {1});
    auto& free = AddSeries(chart, {1});
    auto& taken = AddSeries(chart, {1});
    own.SetSeriesColor(clRed);
    chart.SetColor(clBlue); // Solid's second colour is the panel's: not free for a series.

    ApplyColorPalette(chart, 4);
    EXPECT_EQ(chart.ColorPaletteIndex(), 4);
    EXPECT_EQ(chart.ChartPalette(), ColorPaletteColors(4));
    EXPECT_EQ(own.SeriesColor(), clRed) << "an explicit colour stays";
    // The default series take free colours of the palette, never the panel's colour nor another
    // series'.
    const auto& solid = ColorPaletteColors(4);
    const auto at = [&](TColor c) { return std::find(solid.begin(), solid.end(), c) - solid.begin(); };
    ASSERT_LT(at(free.SeriesColor()), 8);
    ASSERT_LT(at(taken.SeriesColor()), 8);
    EXPECT_NE(free.SeriesColor(), taken.SeriesColor());
    for (const TColor c : {free.SeriesColor(), taken.SeriesColor()}) {
        EXPECT_NE(c, clRed);
        EXPECT_NE(c, clBlue);
    }

    for (const int index : {0, 10}) {
        SCOPED_TRACE(index);
        ApplyColorPalette(chart, index);
        EXPECT_TRUE(chart.ChartPalette().empty()) << "the engine's default palette applies";
        EXPECT_EQ(chart.ColorPaletteIndex(), index);
        EXPECT_EQ(own.SeriesColor(), clRed);
    }
}
