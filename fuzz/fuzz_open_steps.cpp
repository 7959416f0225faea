// Fuzz target of a survey's open after its text is read: the main window's steps on the two views, offscreen.
// With the file's model, the model view takes the model's block and fits its box to it; without one, the
// view takes the file's relief and the model constructor (left with Cancel, which for a new model keeps
// the box it proposed) builds the frame over it. Then the electrode marks and the data graphs, and both
// views drawn on the recording canvas, the model's shapes from the style texts of its property rows.
// Input: one byte of options (as fuzz_survey), the survey text, then (after a NUL byte) the ".cfg" text.
#include "chart/control/ChartRegistry.h"
#include "chart/series/Series.h"
#include "chart/series/SeriesLibrary.h"
#include "core/SurveyOpen.h"
#include "fuzz/fuzz_chart_app.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Prompter.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/RecordingBackend.h"
#include "views/ModelConstruct.h"
#include "views/PolygonChart.h"
#include "views/PseudoSection2d.h"
#include "views/ResMainFormData.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace {

// The two views and the model constructor, made once as the main window makes them once.
struct TWindow {
    TPolygonChart Model{nullptr};
    TPseudoSection2d Data{nullptr};
    std::unique_ptr<TModConstr> Constructor;
    std::shared_ptr<TRecordingBackend> Recorder = std::make_shared<TRecordingBackend>(200, 150);
    TCanvas Device{Recorder};

    TWindow()
    {
        Data.CreateDataGraphs();
        for (TChart* view : {static_cast<TChart*>(&Model), static_cast<TChart*>(&Data)}) view->SetBounds(0, 0, 200, 150);
    }

    void Draw(TChart& view)
    {
        Recorder->Clear();
        view.DrawOnCanvas(Device, {0, 0, 200, 150});
    }
};

TWindow& Window()
{
    // Kept for the process's life: at exit the application has gone before static objects would.
    static TWindow* window = new TWindow;
    return *window;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzapp::StartChartApplication();
    if (size == 0) return 0;
    const unsigned options = data[0];
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t cut = rest.find('\0');
    std::optional<std::string> cfg;
    if (cut != std::string_view::npos) cfg = std::string(rest.substr(cut + 1));

    TWindow& w = Window();
    TSurveyState inUse;
    inUse.ExtendedNodes = options & 1;
    inUse.RealTopoCoordinates = options & 2;
    inUse.ReverseLine = options & 4;
    inUse.OpenInModelingMode = options & 8;
    const bool answer = options & 16;
    const TConfirm confirm = [answer](const std::string&) { return answer; };
    TSurveyOpenResult opened = OpenSurveyText(inUse, rest.substr(0, cut), "fuzz.sp2", cfg, confirm, 100);
    if (opened.Kind == ReadError) return 0;

    TSurveyState survey = std::move(opened.Survey);
    ShowElectrodeMarks(survey, w.Model.ElectrodeSeries());
    if (opened.Kind == ReadDataWithModel) {
        w.Model.LoadModelBlock(*opened.Model);
        const TModelBox box = w.Model.Model.ModelBox;
        w.Model.SetModelBox(true, box.XMin, box.XMax, box.ZMin, box.ZMax);
        ShowElectrodeMarks(survey, w.Model.ElectrodeSeries());
    } else {
        w.Model.ClearModel();
        w.Model.SetRelief({});
        w.Model.SetRelief(survey.Topography);
        TPromptScript script;
        script.DriveForm([](TForm& form) { form.done(mrCancel); });
        RunModelConstructor(survey, w.Constructor, w.Data, LinkModelView(w.Model), true);
        Require(script.Failures().empty());
    }
    survey.SurveyReady = true;
    ShowDataGraphs(survey, w.Data, w.Model);
    ShowElectrodeMarks(survey, w.Model.ElectrodeSeries());
    w.Draw(w.Model);
    w.Draw(w.Data);
    Application->ProcessMessages();
    return 0;
}
