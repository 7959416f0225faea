// The main window's file commands: the open pipeline and the ways a path reaches it (dialog, recent files,
// command line), "Create survey", and the Save command with the worksheet picture.
#include "views/ResMainForm.h"

#include "chart/control/Chart.h"
#include "core/ProgramConfig.h"
#include "core/SurveyOpen.h"
#include "platform/controls/Application.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/CommandLine.h"
#include "ui/uispla.h"
#include "views/printsettings.h"

#include <filesystem>

namespace {

bool FileExists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace

void TMainForm::OpenData(const std::string& path)
{
    if (FBusy) return;
    const TOpenKind kind = OpenKindOf(path);
    if (kind != TOpenKind::Unknown && !FileExists(path)) {
        ShowMessage(FileNotFound(path));
        return;
    }
    if (kind == TOpenKind::ProgramConfig) {
        ReadProgramConfig(path, Survey.Settings);
        return;
    }
    if (kind == TOpenKind::Unknown) {
        ShowMessage(ErrorInDataFile);
        return;
    }
    const TConfirm confirm = [](const std::string& question) {
        return MessageDlg(question, mtConfirmation, {mbOK, mbCancel}) == mrOk;
    };
    TSurveyOpenResult opened = OpenSurveyFile(Survey, path, confirm, PolygonChart1->Model.ModelBox.ZMax);
    if (opened.Kind == ReadError) {
        ShowMessage(opened.Message.empty() ? std::string(ErrorInDataFile) : opened.Message);
        return;
    }
    Survey = std::move(opened.Survey);
    // Shown in the message panel while no edit mode's help is (prepaxises below shows it), until the
    // next survey.
    FOpenMessage = UnreadableLinesMessage(Survey.UnreadableLines);
    SetPlotMode();
    prepaxises();
    // Real topographic elevations on the depth axis, as the preparation found them.
    ShowDepthLabels(Survey.RealTopoCoordinates, Survey.RealTopoCoordinates ? opened.LabelValueOffset : 0.0);
    ShowElectrodeMarks();
    if (opened.Kind == ReadDataWithModel) {
        // The model read with the survey keeps the relief it was built on: the "topo" lines hold the
        // profile rounded, and the model's surface nodes lie on the unrounded one.
        PolygonChart1->LoadModelBlock(*opened.Model);
        const TModelBox box = PolygonChart1->Model.ModelBox;
        PolygonChart1->SetModelBox(true, box.XMin, box.XMax, box.ZMin, box.ZMax);
        ShowElectrodeMarks();
    } else {
        // The model constructor builds the frame model over the survey's profile; until it exists the
        // survey stands without a model.
        PolygonChart1->ClearModel();
        PolygonChart1->SetRelief({});
        PolygonChart1->SetRelief(Survey.Topography);
        RunModelConstructor(true);
    }
    const std::string caption = SurveyCaption(path);
    SetCaption(caption);
    Application->SetTitle(caption);
    Survey.SurveyReady = true;
    ShowDataGraphs();
    ShowElectrodeMarks();
    ToolBar2->Show();
    Realign();
    SpeedButton6Click();
    RefillElectrodeEditor();
}

void TMainForm::SpeedButton1Click()
{
    if (FBusy) return;
    if (!ExecuteOpenDialog(this, OpenDialog1)) return;
    const std::string path = OpenDialog1.FileName;
    OpenDialog1.InitialDir = std::filesystem::path(path).parent_path().string();
    OpenData(path);
    FormResize();
    // Even a file that failed to read joins the recent files; a name of no file does not.
    if (FileExists(path)) AddRecentFile(path);
}

void TMainForm::FileMenuOpens1Action(const std::string& path)
{
    OpenData(path);
    FormResize();
}

void TMainForm::Timer1Timer()
{
    // The open waits for a run to end: the timer fires again.
    if (FBusy) return;
    Timer1->SetEnabled(false);
    std::vector<std::string> args;
    for (int i = 1; i <= ParamCount(); ++i) args.push_back(ParamStr(i));
    const std::string path = CommandLineSurveyFile(args, FStartFolder);
    if (path.empty()) return;
    // The open may ask a question: the splash, which stays on top, must not cover it.
    FSplashAfterFirstPaint = false;
    uiSplash1->Hide();
    OpenData(path);
    if (FileExists(path)) AddRecentFile(path);
}

void TMainForm::SpeedButton2Click()
{
    if (!Survey.DataLoaded && !Survey.ModelReady) return;
    if (!ExecuteSaveDialog(this, SaveDialog1)) return;
    // The file takes the model as it was before an edit in progress.
    PolygonChart1->ResetPendingEdit(PolygonChart1->EditMode);
    const TPolygonModel* model = PolygonChart1->ModelPresent() ? &PolygonChart1->Model : nullptr;
    const std::string message = SaveSurveyAs(SaveDialog1.FilterIndex, SaveDialog1.FileName, Survey, model,
                                             [this](const std::string& p, bool modelOnly) { return SaveBitmap(p, modelOnly); });
    if (!message.empty()) ShowMessage(message);
}

std::unique_ptr<TBitmap> TMainForm::WorksheetPicture()
{
    Application->ProcessMessages();
    const auto upper = PseudoSection2d1->RenderToBitmap(clWhite, PseudoSection2d1->ChartBounds(), pf24bit);
    const auto lower = PolygonChart1->RenderToBitmap(clWhite, PolygonChart1->ChartBounds(), pf24bit);
    return StackPictures({upper.get(), lower.get()});
}

bool TMainForm::SaveBitmap(const std::string& path, bool modelOnly)
{
    try {
        if (modelOnly)
            return prntset->SaveModelPicture(path, *PolygonChart1);
        else
            WorksheetPicture()->SaveToFile(path);
    } catch (const Exception&) {
        return false;
    }
    return true;
}
