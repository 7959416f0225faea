// The main window's runs: the forward problem and the inversion handed to the solver, the progress gauge
// and misfit they drive, the boundary nodes shown meanwhile, and the busy state that keeps every run from
// nesting in another.
#include "views/ResMainForm.h"

#include "chart/series/Series.h"
#include "core/DC2dBEMInversion.h"
#include "platform/controls/Application.h"
#include "platform/controls/Screen.h"
#include "ui/kitStatusBar.h"
#include "ui/uisplit.h"

// While a run works the window takes no input and shows the wait cursor; every exit ends that, an
// exception included.
class TMainBusyScope {
public:
    explicit TMainBusyScope(TMainForm& form) : FForm(form), FCursor(Screen->Cursor())
    {
        FForm.FBusy = true;
        FForm.SetEnabled(false);
        Screen->SetCursor(crHourGlass);
    }
    ~TMainBusyScope()
    {
        Screen->SetCursor(FCursor);
        FForm.SetEnabled(true);
        FForm.FBusy = false;
        FForm.RunEnded();
    }
    TMainBusyScope(const TMainBusyScope&) = delete;
    TMainBusyScope& operator=(const TMainBusyScope&) = delete;

private:
    TMainForm& FForm;
    TCursor FCursor;
};

void TMainForm::RunEnded()
{
    if (!FCloseAfterRun) return;
    FCloseAfterRun = false;
    Application->Post([this] { Close(); });
}

void TMainForm::SpeedButton6Click()
{
    if (FBusy || (!Survey.DataLoaded && !Survey.ModelReady)) return;
    uiBiSplit1->Show();
    Realign();
    uiBiSplit1->SetSplitVPercent(50);
    // Until a model exists (the model constructor makes one) there is nothing to solve.
    if (!PolygonChart1->ModelPresent()) return;
    // The run takes the model as it was before an edit in progress.
    PolygonChart1->ResetPendingEdit(PolygonChart1->EditMode);
    {
        TMainBusyScope busy(*this);
        RunSolver(false);
    }
    ShowDataGraphs();
}

void TMainForm::SpeedButton22Click()
{
    if (FBusy) return;
    TMainBusyScope busy(*this);
    if (!Survey.DataLoaded || !PolygonChart1->ModelPresent()) return;
    PolygonChart1->ResetPendingEdit(PolygonChart1->EditMode);
    // The inversion is one step of the undo list: Esc gives back the model it began from, and undoing a
    // later edit keeps the resistivities it found.
    PolygonChart1->PushUndoIfChanged();
    RunSolver(true);
    PolygonChart1->PushUndoIfChanged();
    // The resistivities found are the model the next edit begins from.
    PolygonChart1->SaveWorkingCopy();
}

bool TMainForm::RunSolver(bool invert)
{
    TPointSeries& nodes = PolygonChart1->NodeSeries();
    TInversionCallbacks callbacks;
    callbacks.ProgressStep = [this] { StepProgress(); };
    callbacks.ProgressReset = [this] { ResetProgress(); };
    callbacks.ShowStatus = [this](const std::string& text) { ShowMisfit(text); };
    // The refined nodes, labelled by their numbers in the solver, stay visible while the run pumps.
    callbacks.BoundaryNodes = [&nodes](const Tnodes& refined) {
        nodes.ClearPoints();
        for (int i = 0; i < refined.Length(); ++i)
            nodes.InsertPoint(refined[i].x, refined[i].z, std::to_string(i), clDefault);
    };
    callbacks.ShowDataGraphs = [this](int, double) { ShowDataGraphs(); };
    callbacks.RebuildShapes = [this](int) { PolygonChart1->RebuildShapes(); };

    // What the run reports is of this model; a failed run leaves the results as old as they were.
    const bool wereOld = FResultsOld;
    FResultsOld = false;
    bool succeeded = false;
    std::string message;
    if (invert) {
        const TInversionResult r = RunInversionProblem(Survey, PolygonChart1->Model, callbacks);
        succeeded = r.Succeeded;
        message = r.Message;
    } else {
        const TForwardResult r = RunForwardProblem(Survey, PolygonChart1->Model, callbacks);
        succeeded = r.Succeeded;
        message = r.Message;
    }
    nodes.ClearPoints();
    MarkResultsOld(wereOld && !succeeded);
    if (!succeeded) ShowRunFailure(message);
    return succeeded;
}

void TMainForm::ShowRunFailure(const std::string& message)
{
    Application->MessageBox(message, Application->Title(), MB_OK | MB_ICONSTOP);
}

void TMainForm::StepProgress()
{
    Application->ProcessMessages();
    StatusBar1->Panels().Items(spProgress)->GaugeAttrs().SetPosition(Progress.Step(SolverState()));
}

void TMainForm::ResetProgress()
{
    Progress.Reset();
    StatusBar1->Panels().Items(spProgress)->GaugeAttrs().SetPosition(0);
}

void TMainForm::ShowBoundaryPreview()
{
    if (!Survey.ModelReady || !PolygonChart1->ModelPresent() || !HasScaleLength(Survey)) return;
    AllSpolygon bodies;
    Tnodes refined;
    DiscretizeModel(Survey, PolygonChart1->Model, bodies, refined);
    TPointSeries& nodes = PolygonChart1->NodeSeries();
    nodes.ClearPoints();
    for (const TNode& n : refined) nodes.InsertPoint(n.x, n.z, std::string(), clDefault);
}
