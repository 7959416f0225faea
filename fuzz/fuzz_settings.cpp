// Fuzz target of the settings file: the file as the main window reads it at start-up (section "common",
// the model view's settings line, the two views' axes and kept series as style strings, the recent-files
// list, all through the ini reader), then saved as the window saves it at closing and read a second time
// into views brought back to their first looks: the second reading must give the same values.
// Input: the settings file.
#include "chart/control/ChartRegistry.h"
#include "chart/control/LumEngineStyleStrings.h"
#include "chart/engine/LumEngineTypes.h"
#include "chart/series/Series.h"
#include "chart/series/SeriesLibrary.h"
#include "core/PolyModelBlock.h"
#include "fuzz/fuzz_chart_app.h"
#include "platform/controls/Menus.h"
#include "platform/rtl/ConfigPaths.h"
#include "platform/rtl/IniFiles.h"
#include "ui/FileMO.h"
#include "views/PolygonChart.h"
#include "views/PseudoSection2d.h"
#include "views/ResMainFormSettings.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

const char* const DataAxesName = "ps_axi";
const char* const ModelAxesName = "pc_axi";

struct TKept {
    const char* Name;
    TChart* View;
    TChartSeries* Series;
};

// The two views with the series whose looks the settings file keeps, made once (a view takes long to
// make), and their looks as they were made, to bring them back before every input.
struct TViews {
    TPolygonChart Model{nullptr};
    TPseudoSection2d Data{nullptr};
    std::vector<TKept> Kept;
    std::vector<std::string> FirstAxes, FirstSeries;
    std::string FirstModelSettings;
    PolygonProperties FirstDefaults;

    TViews()
    {
        // Small views: a logarithmic flag read lays the model view's axes out, labels drawn and all, and
        // a view of the program's first size holds many more labels than one this size.
        for (TChart* view : {static_cast<TChart*>(&Model), static_cast<TChart*>(&Data)}) view->SetBounds(0, 0, 240, 160);
        Kept = {{"VornSP2dp_wl1", &Model, &Model.WorkLine1()},
                {"VornSP2dp_wl2", &Model, &Model.WorkLine2()},
                {"VornSP2dp_tmpsr", &Model, &Model.NodeSeries()},
                {"VornSP2dp_stser", &Data, Data.StationSeries},
                {"VornSP2dp_elec", &Data, Data.MarkerSeries},
                {"VornSP2dp_grdser", &Data, Data.GridSeries},
                // Read when the data view is made; never written.
                {"roz2i_ps_grid", &Data, Data.GridSeries},
                {"roz2i_ps_st", &Data, Data.StationSeries}};
        for (TChartAxis* axis : Axes()) FirstAxes.push_back(WriteAxisStyle(*axis));
        for (const TKept& k : Kept) FirstSeries.push_back(SeriesText(*k.Series));
        Model.SettingsToText(FirstModelSettings);
        FirstDefaults = Model.NewPolygonProperties;
    }

    std::vector<TChartAxis*> Axes()
    {
        std::vector<TChartAxis*> axes;
        for (TChart* view : {static_cast<TChart*>(&Model), static_cast<TChart*>(&Data)})
            for (TChartAxis* axis : {&view->LeftAxis(), &view->RightAxis(), &view->TopAxis(), &view->BottomAxis()})
                axes.push_back(axis);
        return axes;
    }

    static std::string SeriesText(TChartSeries& s) { return LumEngineModule().Style.WriteSeriesStyle(s); }

    void BackToFirstLooks()
    {
        const std::vector<TChartAxis*> axes = Axes();
        for (std::size_t i = 0; i < axes.size(); ++i) ReadAxisStyle(*axes[i], FirstAxes[i], true);
        for (std::size_t i = 0; i < Kept.size(); ++i) LumEngineModule().Style.ReadSeriesStyle(*Kept[i].Series, FirstSeries[i]);
        Model.TextToSettings(FirstModelSettings);
        Model.NewPolygonProperties = FirstDefaults;
    }
};

TViews& Views()
{
    // Kept for the process's life: at exit the application has gone before static objects would.
    static TViews* views = new TViews;
    return *views;
}

// Every value the start-up reads from the file, as text ("AddDataType" left out: it is always saved as 0).
struct TRead {
    TMainWindowSettings Window;
    TSurveyState Survey;
    std::vector<std::string> Values;
};

std::string WindowText(const TMainWindowSettings& w, const TSurveyState& s)
{
    const TProgramConfig& c = s.Settings;
    return w.LastPath + "|" + std::to_string(w.FilterIndex) + "|" +
           std::to_string(s.DataType) + "|" + std::to_string(w.DataPlotType) + "|" + std::to_string(w.graphicstype) +
           "|" + std::to_string(c.infperc) + "|" + std::to_string(c.redperc) + "|" + std::to_string(c.numqp) + "|" +
           std::to_string(c.recetha);
}

// The main window's start-up reads, in its order, into the views brought back to their first looks.
std::vector<std::string> ReadAtStartUp(TViews& v)
{
    TMenuItem recent(nullptr);
    v.BackToFirstLooks();
    TMainWindowSettings window;
    TSurveyState survey;
    const TIniFile ini(SettingsFilePath());
    ReadCommonSettings(ini, window, survey, v.Model.NewPolygonProperties);
    v.Data.StoreAxesDefaults();
    v.Data.LoadAxesFromIni(DataAxesName);
    v.Model.LoadAxesFromIni(ModelAxesName);
    for (const TKept& k : v.Kept) k.View->LoadSeriesFromIni(k.Name, k.Series);
    v.Model.LoadSettings(ini);
    // An automatic axis works its range out from the series when its view is drawn, and some settings
    // (the logarithmic flag) make it do so at once: bring every range up to date as drawing would, so
    // that the ranges compared are those a user sees.
    for (TChartAxis* axis : v.Axes()) axis->ComputeAutoRange();
    // The recent-files list as the main window makes it, on a menu of its own.
    auto files = std::make_unique<TFileMenuOpens>(nullptr);
    files->SetNumbers(5);
    files->SetRegPath("\\Software\\VornSP2dp\\Files");
    files->SetMenus(&recent);

    std::vector<std::string> values{WindowText(window, survey), PropertiesToText(v.Model.NewPolygonProperties)};
    for (TChartAxis* axis : v.Axes()) values.push_back(WriteAxisStyle(*axis));
    for (const TKept& k : v.Kept) values.push_back(TViews::SeriesText(*k.Series));
    std::string settings;
    v.Model.SettingsToText(settings);
    values.push_back(settings);
    for (int i = 0; i < recent.Count(); ++i) values.push_back(recent.Items(i)->Caption());
    // The main window's closing writes, in its order.
    try {
        TIniFile out(SettingsFilePath());
        WriteCommonSettings(out, window, survey, v.Model.NewPolygonProperties);
        v.Data.SaveAxesToIni(DataAxesName);
        v.Model.SaveAxesToIni(ModelAxesName);
        for (const TKept& k : v.Kept)
            if (k.Name[0] == 'V') k.View->SaveSeriesToIni(k.Name, k.Series);
        v.Model.SaveSettings(out);
    } catch (const EIniFileException&) {
        values.clear(); // a value the file cannot hold: nothing to compare
    }
    files.reset();
    return values;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool started = [] {
        fuzzapp::StartChartApplication();
        SetSettingsFilePath(fuzzapp::TempPath("settings.in"));
        return true;
    }();
    (void)started;
    fuzzapp::WriteTempFile(std::string(reinterpret_cast<const char*>(data), size), "settings.in");
    TViews& v = Views();
    const std::vector<std::string> first = ReadAtStartUp(v);
    if (!first.empty()) {
        const std::vector<std::string> second = ReadAtStartUp(v);
        Require(second.size() == first.size());
        for (std::size_t i = 0; i < first.size(); ++i)
            if (second[i] != first[i]) {
                std::fprintf(stderr, "value %zu read first as\n%s\nthen as\n%s\n", i, first[i].c_str(), second[i].c_str());
                Require(second[i] == first[i]);
            }
    }
    Application->ProcessMessages();
    return 0;
}
