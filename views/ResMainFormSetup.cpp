// The main window's settings and views around a survey: the view styles read at start-up and written at
// closing with section "common", the reset before a new survey, the plot mode's handlers and the cursor
// texts of status panel 1, the recent files and the splash.
#include "views/ResMainForm.h"

#include "chart/control/Chart.h"
#include "chart/series/Series.h"
#include "core/Supermath2d.h"
#include "platform/controls/Application.h"
#include "platform/controls/Buttons.h"
#include "platform/rtl/ConfigPaths.h"
#include "platform/rtl/IniFiles.h"
#include "ui/FileMO.h"
#include "ui/uispla.h"

#include <array>

// Sections of the settings file that keep the views' looks.
namespace {
const char* const DataAxesName = "ps_axi";
const char* const ModelAxesName = "pc_axi";

struct TKeptSeries {
    const char* Name;
    TChartSeries* Series;
};

// The model view's work lines and boundary-node marks.
std::array<TKeptSeries, 3> ModelViewSeries(const TPolygonChart& view)
{
    return {{{"VornSP2dp_wl1", &view.WorkLine1()},
             {"VornSP2dp_wl2", &view.WorkLine2()},
             {"VornSP2dp_tmpsr", &view.NodeSeries()}}};
}

// The data view's station marks, "p1"/"p2" markers and grid points.
std::array<TKeptSeries, 3> DataViewSeries(const TPseudoSection2d& view)
{
    return {{{"VornSP2dp_stser", view.StationSeries},
             {"VornSP2dp_elec", view.MarkerSeries},
             {"VornSP2dp_grdser", view.GridSeries}}};
}
} // namespace

void TMainForm::LoadViewSettings()
{
    TChartAxis& left = PseudoSection2d1->LeftAxis();
    left.SetAutomatic(true);
    left.SetInverted(false);
    left.RoundedLimits = true;
    left.SetLogarithmic(false);
    PseudoSection2d1->StoreAxesDefaults();
    PseudoSection2d1->LoadAxesFromIni(DataAxesName);
    PolygonChart1->LoadAxesFromIni(ModelAxesName);
    for (const TKeptSeries& k : ModelViewSeries(*PolygonChart1)) PolygonChart1->LoadSeriesFromIni(k.Name, k.Series);
    for (const TKeptSeries& k : DataViewSeries(*PseudoSection2d1)) PseudoSection2d1->LoadSeriesFromIni(k.Name, k.Series);
    PolygonChart1->LoadSettings(TIniFile(SettingsFilePath()));
    prepaxises();
    for (TChartAxis* axis : {&PseudoSection2d1->LeftAxis(), &PseudoSection2d1->BottomAxis()}) {
        axis->SetAutomatic(true);
        axis->SetAutomaticMinimum(true);
        axis->SetAutomaticMaximum(true);
    }
    PseudoSection2d1->RightAxis().SetAutomatic(true);
}

void TMainForm::SetPlotMode()
{
    TPseudoSection2d& view = *PseudoSection2d1;
    // Both modes pick a measurement with a click on a graph's point.
    view.OnClickSeries = [this](TCustomChart* Sender, TChartSeries* Series, int ValueIndex, TMouseButton Button,
                                TShiftState Shift, int X, int Y) {
        Chart1ClickSeries(Sender, Series, ValueIndex, Button, Shift, X, Y);
    };
    const auto mouseUp = [this](TPersistent*, TMouseButton, TShiftState, int, int) { Chart1MouseUp(); };
    // Pseudo-section mode hands the data view's mouse to the view itself, whose cursor read-out shows in
    // panel 1; graph mode shows the values under the mouse.
    if (Settings.DataPlotType == 0) {
        view.InstallHandlers();
        view.OnCursorText = [this](TPersistent*) { SetStatusText(spCursor, PseudoSection2d1->CursorText); };
        view.Legend().SetVisible(true);
        view.OnMouseUp = mouseUp;
        return;
    }
    view.RemoveHandlers();
    view.OnMouseUp = mouseUp;
    view.OnCursorText = nullptr;
    view.OnMouseMove = [this](TPersistent*, TShiftState, int X, int Y) {
        if (PseudoSection2d1->CountSeries() == 0) return;
        const TChartSeries* s = PseudoSection2d1->SeriesAt(0);
        SetStatusText(spCursor, FormatValue(s->HorizPixelToValue(X), 0, true) + " " +
                                    FormatValue(s->VertPixelToValue(Y), 0, true));
    };
}

void TMainForm::prepaxises()
{
    PseudoSection2d1->UndoZoom();
    PolygonChart1->UndoZoom();
    // No edit mode, every tool button up, no help text; an edit in progress ends.
    PolygonChart1->EditMode = emNone;
    SetToolButtons(nullptr);
    PolygonChart1->ResetPendingEdit(emNone);
    PolygonChart1->NewPolygonProperties[psLabelMode] = Variant(std::int32_t(1));
}

void TMainForm::FormCloseQuery(bool& CanClose)
{
    // A close asked for during a run is made when the run has ended.
    if (FBusy) {
        CanClose = false;
        FCloseAfterRun = true;
        return;
    }
    Settings.LastPath = OpenDialog1.FileName;
    Settings.FilterIndex = OpenDialog1.FilterIndex;
    // A settings file that cannot be written does not keep the window open.
    try {
        TIniFile ini(SettingsFilePath());
        WriteCommonSettings(ini, Settings, Survey, PolygonChart1->NewPolygonProperties);
    } catch (const Exception&) {
    }
    // The zoom is undone first, so that the unzoomed ranges are kept.
    prepaxises();
    try {
        PseudoSection2d1->SaveAxesToIni(DataAxesName);
        PolygonChart1->SaveAxesToIni(ModelAxesName);
        for (const TKeptSeries& k : ModelViewSeries(*PolygonChart1)) PolygonChart1->SaveSeriesToIni(k.Name, k.Series);
        TIniFile ini(SettingsFilePath());
        PolygonChart1->SaveSettings(ini);
        for (const TKeptSeries& k : DataViewSeries(*PseudoSection2d1))
            PseudoSection2d1->SaveSeriesToIni(k.Name, k.Series);
    } catch (const Exception&) {
    }
}

void TMainForm::About1Click() { ShowSplash(false); }

void TMainForm::AddRecentFile(const std::string& path) { FileMenuOpens1->AddFile(path); }

void TMainForm::ShowStartUpSplash()
{
    if (TuiSplash::HasNoSplashSwitch()) return;
    if (FirstPainted())
        ShowSplash(true);
    else
        FSplashAfterFirstPaint = true;
}

void TMainForm::DoFirstPaint()
{
    TMainFormBase::DoFirstPaint();
    if (!FSplashAfterFirstPaint) return;
    FSplashAfterFirstPaint = false;
    ShowSplash(true);
}

void TMainForm::ShowSplash(bool atStartUp)
{
    if (!atStartUp) uiSplash1->SetDuration(20000);
    uiSplash1->Show();
}
