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

void TMainForm::LoadViewSettings()
{
    TChartAxis& left = PseudoSection2d1->LeftAxis();
    left.SetAutomatic(true);
    left.SetInverted(false);
    left.SetLogarithmic(false);
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
    try {
        TIniFile ini(SettingsFilePath());
        WriteCommonSettings(ini, Settings, Survey, DefaultPolygonProperties());
    } catch (const Exception&) {
        // A settings file that cannot be written does not keep the window open.
    }
    prepaxises();
}

void TMainForm::About1Click() { ShowSplash(false); }

void TMainForm::AddRecentFile(const std::string& path) { FileMenuOpens1->AddFile(path); }

void TMainForm::ShowSplash(bool) {}
