// The chart's look kept from one run to the next: the four standard axes and single series as style
// strings in the program's settings file, and the axes' default styles for the axis pop-up.
#include "chart/control/ChartControl.h"

#include "chart/control/ChartRegistry.h"
#include "chart/control/LumEngineStyleStrings.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEngineSeries.h"
#include "platform/rtl/ConfigPaths.h"
#include "platform/rtl/IniFiles.h"

#include <array>
#include <utility>

namespace {

// The standard axes with their keys, in the order they are saved and loaded.
std::array<std::pair<const char*, TChartAxis*>, 4> KeyedAxes(const TCustomChart& Chart)
{
    return {{{"left", &Chart.LeftAxis()},
             {"right", &Chart.RightAxis()},
             {"top", &Chart.TopAxis()},
             {"bottom", &Chart.BottomAxis()}}};
}

std::string AxesSection(const std::string& SettingsName) { return SettingsName + "_axes"; }
std::string SeriesSection(const std::string& SettingsName) { return SettingsName + "_serie"; }
// A description with a line break ("Horizontal" and "Line") keeps to one line of the file.
std::string SeriesKey(const TChartSeries& Series) { return "ser_" + StyleLineText(SeriesTypeDescription(Series)); }

} // namespace

void TCustomChart::StoreAxesDefaults()
{
    for (const auto& [key, axis] : KeyedAxes(*this)) axis->StoreDefaultStyle();
}

void TCustomChart::SaveAxesToIni(const std::string& SettingsName)
{
    TIniFile ini(SettingsFilePath());
    ini.BeginUpdate();
    for (const auto& [key, axis] : KeyedAxes(*this)) ini.WriteString(AxesSection(SettingsName), key, WriteAxisStyle(*axis));
    ini.UpdateFile();
}

void TCustomChart::LoadAxesFromIni(const std::string& SettingsName)
{
    const TIniFile ini(SettingsFilePath());
    for (const auto& [key, axis] : KeyedAxes(*this)) {
        // One damaged value must not stop the start-up that loads the rest.
        try {
            ReadAxisStyle(*axis, ini.ReadString(AxesSection(SettingsName), key, ""), false);
        } catch (const Exception&) {
        }
        axis->SetAutomatic(true);
    }
}

void TCustomChart::SaveSeriesToIni(const std::string& SettingsName, TChartSeries* Series)
{
    const auto& write = LumEngineModule().Style.WriteSeriesStyle;
    if (!Series || !write) return;
    TIniFile(SettingsFilePath()).WriteString(SeriesSection(SettingsName), SeriesKey(*Series), write(*Series));
}

void TCustomChart::LoadSeriesFromIni(const std::string& SettingsName, TChartSeries* Series)
{
    const auto& read = LumEngineModule().Style.ReadSeriesStyle;
    if (!Series || !read) return;
    const std::string text = TIniFile(SettingsFilePath()).ReadString(SeriesSection(SettingsName), SeriesKey(*Series), "");
    try {
        read(*Series, text);
    } catch (const Exception&) {
    }
}
