// The unit's registries of series, function and tool types, its named colour palettes, and its start-up
// and shut-down.
#include "chart/control/ChartRegistry.h"

#include "chart/base/LumConst.h"
#include "chart/control/ChartControl.h"
#include "chart/control/LumBmpOptions.h"
#include "chart/control/LumEngineStyleStrings.h"
#include "chart/control/LumExport.h"
#include "chart/control/LumLegendScrollBar.h"
#include "chart/control/LumEditPro.h"
#include "chart/control/LumStore.h"
#include "chart/control/LumTools.h"
#include "chart/engine/LumEngineSeries.h"
#include "chart/engine/LumEngineTypes.h"
#include "chart/engine/LumFunci.h"
#include "platform/rtl/StringList.h"

#include <algorithm>
#include <chrono>

namespace {

// The unit's module state: created at start-up (the series registry at the first registration), freed
// at shut-down.
struct TChartModule {
    std::unique_ptr<TLumSeriesTypes> SeriesTypes;
    std::unique_ptr<TLumToolTypes> ToolTypes;
    std::unique_ptr<TStringList> ColorPalettes;
    const TClassInfo* PageNumToolClass = nullptr;
};

TChartModule& ChartModule()
{
    static TChartModule module;
    return module;
}

} // namespace

// ---- Series and function types ---------------------------------------------------------------------------

TLumSeriesType& TLumSeriesTypes::GetSeriesType(int Index) const
{
    if (Index < 0 || Index >= Count()) throw ERangeError();
    return *FItems[static_cast<std::size_t>(Index)];
}

TLumSeriesType* TLumSeriesTypes::FindSeriesType(const TClassInfo& SeriesClass) const
{
    return FindEntry(&SeriesClass, nullptr);
}

TLumSeriesType* TLumSeriesTypes::FindEntry(const TClassInfo* SeriesClass, const TClassInfo* FunctionClass) const
{
    for (const auto& entry : FItems)
        if (entry->SeriesClassRef == SeriesClass && entry->FunctionClassRef == FunctionClass) return entry.get();
    return nullptr;
}

void TLumSeriesTypes::Add(TLumSeriesType Entry) { FItems.push_back(std::make_unique<TLumSeriesType>(std::move(Entry))); }

void TLumSeriesTypes::RemoveClass(bool IsSeries, const TClassInfo& Class)
{
    std::erase_if(FItems, [&](const std::unique_ptr<TLumSeriesType>& entry) {
        return (IsSeries ? entry->SeriesClassRef : entry->FunctionClassRef) == &Class;
    });
}

TLumSeriesTypes* LumSeriesTypes() { return ChartModule().SeriesTypes.get(); }

void RegisterSeriesOrFunction(const TClassInfo* SeriesClass, const TClassInfo* FunctionClass,
                              const std::string& Caption, int GallerySeriesCount, const std::string& Page)
{
    auto& types = ChartModule().SeriesTypes;
    if (!types) types = std::make_unique<TLumSeriesTypes>();
    if (SeriesClass) RegisterClass(*SeriesClass);
    if (FunctionClass) RegisterClass(*FunctionClass);
    if (types->FindEntry(SeriesClass, FunctionClass)) return;
    types->Add({.SeriesClassRef = SeriesClass,
                .FunctionClassRef = FunctionClass,
                .Caption = Caption,
                .Page = Page,
                .GallerySeriesCount = GallerySeriesCount});
}

void RegisterSeries(const TClassInfo& SeriesClass, const std::string& Caption, const std::string& Page,
                    int GallerySeriesCount)
{
    RegisterSeriesOrFunction(&SeriesClass, nullptr, Caption, GallerySeriesCount, Page);
}

void RegisterFunction(const TClassInfo& FunctionClass, const std::string& Caption, const std::string& Page,
                      int GallerySeriesCount)
{
    RegisterSeriesOrFunction(nullptr, &FunctionClass, Caption, GallerySeriesCount, Page);
}

void RegisterStandardSeries(const TClassInfo& SeriesClass, const std::string& Caption)
{
    RegisterSeries(SeriesClass, Caption, LumConst::GalleryStandard, 2);
}

void RegisterStandardFunction(const TClassInfo& FunctionClass, const std::string& Caption)
{
    RegisterFunction(FunctionClass, Caption, LumConst::GalleryStandard, 2);
}

void UnregisterSeriesOrFunction(bool IsSeries, const TClassInfo& Class)
{
    if (TLumSeriesTypes* types = LumSeriesTypes()) types->RemoveClass(IsSeries, Class);
}

void UnregisterSeriesClasses(std::initializer_list<const TClassInfo*> Classes)
{
    for (const TClassInfo* c : Classes)
        if (c) UnregisterSeriesOrFunction(true, *c);
}

void UnregisterFunctionClasses(std::initializer_list<const TClassInfo*> Classes)
{
    for (const TClassInfo* c : Classes)
        if (c) UnregisterSeriesOrFunction(false, *c);
}

std::string SeriesTypeDescription(const TPersistent& Element)
{
    if (const TLumSeriesTypes* types = LumSeriesTypes())
        if (const TLumSeriesType* entry = types->FindSeriesType(Element.ClassInfo())) return entry->Caption;
    return Element.ClassName();
}

// ---- Tool types ------------------------------------------------------------------------------------------

const TClassInfo* TLumToolTypes::GetToolClass(int Index) const
{
    if (Index < 0 || Index >= Count()) throw ERangeError();
    return FItems[static_cast<std::size_t>(Index)];
}

int TLumToolTypes::IndexOf(const TClassInfo* Class) const
{
    const auto it = std::find(FItems.begin(), FItems.end(), Class);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TLumToolTypes::Remove(const TClassInfo* Class) { std::erase(FItems, Class); }

TLumToolTypes* LumToolTypes() { return ChartModule().ToolTypes.get(); }

void RegisterToolClasses(std::initializer_list<const TClassInfo*> Classes)
{
    auto& tools = ChartModule().ToolTypes;
    if (!tools) tools = std::make_unique<TLumToolTypes>();
    for (const TClassInfo* c : Classes) {
        if (!c || tools->IndexOf(c) >= 0) continue;
        RegisterClass(*c);
        tools->Add(c);
    }
}

void UnregisterToolClasses(std::initializer_list<const TClassInfo*> Classes)
{
    if (TLumToolTypes* tools = LumToolTypes())
        for (const TClassInfo* c : Classes) tools->Remove(c);
}

const TClassInfo* PageNumToolClass() { return ChartModule().PageNumToolClass; }
void SetPageNumToolClass(const TClassInfo* Class) { ChartModule().PageNumToolClass = Class; }

// ---- Colour palettes -------------------------------------------------------------------------------------

namespace {

const char* const PaletteNames[] = {"Lumigram", "Excel",   "Victorian", "Pastels", "Solid",
                                    "Classic",  "Web",     "Modern",    "Rainbow", "Win. XP"};

std::vector<TColor> Colors(std::initializer_list<std::uint32_t> Values)
{
    std::vector<TColor> out;
    for (std::uint32_t v : Values) out.push_back(static_cast<TColor>(v));
    return out;
}

const std::vector<std::vector<TColor>>& PaletteTable()
{
    static const std::vector<std::vector<TColor>> table{
        {},
        Colors({0xFF9999, 0x663399, 0xCCFFFF, 0xFFFFCC, 0x660066, 0x8080FF, 0xCC6600, 0xFFCCCC, 0x800000, 0xFF00FF,
                0x00FFFF, 0xFFFF00, 0x800080, 0x000080, 0x808000, 0xFF0000, 0xFFCC00, 0xFFFFCC, 0xCCFFCC, 0x00FFFF,
                0xFFCC99, 0xCC99FF}),
        Colors({0xA1A55D, 0x3153C4, 0x0996E7, 0x4AE8F6, 0xA7A2B1, 0x84A7C9, 0x51798C, 0xB7CDD8, 0x536508, 0x7BD8F7,
                0x846401}),
        Colors({0xFFFFCC, 0xCCFFFF, 0xFFCCCC, 0xCCCC00, 0xCCCCCC, 0x999900, 0x999999, 0xCCCCFF, 0x66CCFF, 0xFFCCCC,
                0x9999FF, 0x99FFFF, 0xFFCC99, 0xCCFFCC}),
        Colors({0xFF0000, 0x0000FF, 0x00FF00, 0x00CCFF, 0x404040, 0x00FFFF, 0xC000FF, 0xFFFFFF}),
        Colors({0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0x800000, 0x008000, 0x808000, 0x000080,
                0x800080, 0x008080}),
        Colors({0x00A5FF, 0xCE0000, 0x00CE00, 0x40FFFF, 0xFFFF40, 0xFF40FF, 0x0040FF, 0xA58080, 0x408080}),
        Colors({0x6699FF, 0x6666FF, 0xFFCC99, 0x669966, 0x99CCCC, 0xCC6699, 0x6666CC, 0x99CCFF, 0xFF6699, 0xCCCCCC,
                0xCCFF66, 0xFF9966, 0x996699, 0xFFCCCC}),
        Colors({0x000099, 0x0000C3, 0x0000EE, 0x001AFF, 0x0046FF, 0x0073FF, 0x009FFF, 0x00CBFF, 0x00F7FF,
                0x08F4E3, 0x11E7C3, 0x1BDAA3, 0x25CD83, 0x2EC063, 0x38B342, 0x42A622, 0x4B9A02, 0x6A870C,
                0x8A751A, 0xAA6328, 0xCB5036, 0xEB3E44, 0xFF2A61, 0xFF1596, 0xFF00CC}),
        Colors({0xFE9B82, 0x24D1FC, 0x0DBC7C, 0x2F85FD, 0xFCFEFD, 0x214EE2, 0xD63829, 0x0094B7, 0x00865A, 0x0046D2,
                0xFAE5D3, 0xD8D8D8, 0x7B715F}),
    };
    return table;
}

} // namespace

const TStringList* ColorPalettes() { return ChartModule().ColorPalettes.get(); }

const std::vector<TColor>& ColorPaletteColors(int Index)
{
    const auto& table = PaletteTable();
    if (Index < 0 || Index >= static_cast<int>(table.size())) return table[0];
    return table[static_cast<std::size_t>(Index)];
}

void ApplyColorPalette(TCustomChart& Chart, int Index)
{
    Chart.SetChartPalette(ColorPaletteColors(Index));
    Chart.FillDefaultSeriesColors();
    Chart.SetColorPaletteIndex(Index);
    Chart.Invalidate();
}

// ---- Start-up and shut-down ------------------------------------------------------------------------------

void ChartInitialization()
{
    TChartModule& module = ChartModule();
    RandomizeSeed(static_cast<unsigned>(std::chrono::system_clock::now().time_since_epoch().count()));
    if (!module.ToolTypes) module.ToolTypes = std::make_unique<TLumToolTypes>();
    if (!module.ColorPalettes) {
        module.ColorPalettes = std::make_unique<TStringList>();
        for (const char* name : PaletteNames) module.ColorPalettes->Add(name);
    }
    LumEngineModule().Control.RegisterStandardFunction = [](const TClassInfo& FunctionClass,
                                                            const std::string& GalleryName) {
        RegisterStandardFunction(FunctionClass, GalleryName);
    };
    LumFunciInitialization();
    InstallAxisStyleHooks();
    LumToolsInitialization();
    LumLegendScrollBarInitialization();
    LumExportInitialization();
    LumStoreInitialization();
    LumEditProInitialization();
    LumBmpOptionsInitialization();
}

void ChartFinalization()
{
    LumBmpOptionsFinalization();
    LumEditProFinalization();
    LumStoreFinalization();
    LumExportFinalization();
    LumLegendScrollBarFinalization();
    LumToolsFinalization();
    TChartModule& module = ChartModule();
    module.ColorPalettes.reset();
    module.SeriesTypes.reset();
    module.ToolTypes.reset();
    module.PageNumToolClass = nullptr;
    LumEngineModule().Control.RegisterStandardFunction = nullptr;
    RemoveAxisStyleHooks();
    // The basic functions register again at the next start-up.
    ResetLumFunciModule();
}
