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

// Sections of the settings file that keep the views' looks.
namespace {
const char* const DataAxesName = "ps_axi";
const char* const ModelAxesName = "pc_axi";
const char* const NodeSeriesName = "VornSP2dp_tmpsr";
} // namespace

void TMainForm::LoadViewSettings()
{
    TChartAxis& left = PseudoSection2d1->LeftAxis();
    left.SetAutomatic(true);
    left.SetInverted(false);
    left.SetLogarithmic(false);
    PseudoSection2d1->StoreAxesDefaults();
    PseudoSection2d1->LoadAxesFromIni(DataAxesName);
    PolygonChart1->LoadAxesFromIni(ModelAxesName);
    PolygonChart1->LoadSeriesFromIni(NodeSeriesName, &PolygonChart1->NodeSeries());
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
    // Pseudo-section mode hands the data view's mouse to the view itself; graph mode shows the values
    // under the mouse.
    if (Settings.DataPlotType == 0) {
        PseudoSection2d1->OnMouseMove = nullptr;
        return;
    }
    PseudoSection2d1->OnMouseMove = [this](TPersistent*, TShiftState, int X, int Y) {
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
    for (TSpeedButton* b : PolygonToolButtons) b->SetDown(false);
    SetStatusText(spModeHelp, "");
    DefaultPolygonProperties()[psLabelMode] = Variant(std::int32_t(1));
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
        WriteCommonSettings(ini, Settings, Survey, DefaultPolygonProperties());
    } catch (const Exception&) {
    }
    // The zoom is undone first, so that the unzoomed ranges are kept.
    prepaxises();
    try {
        PseudoSection2d1->SaveAxesToIni(DataAxesName);
        PolygonChart1->SaveAxesToIni(ModelAxesName);
        PolygonChart1->SaveSeriesToIni(NodeSeriesName, &PolygonChart1->NodeSeries());
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
