// The inversion's iteration: a solution with sensitivities, the weighted normal equations, the damped
// step and the update of the model, MaxIterations times, then the fitted model's own solution. Every
// value is checked before it is written, so a failing iteration leaves the last good update in place.
#include "core/DC2dBEMInversion.h"

#include "core/Supermath2d.h"

#include <cmath>
#include <utility>

namespace {

bool Present(const osource& set, int j) { return j >= set.ObservedPresent.Length() || set.ObservedPresent[j]; }

bool AllFinite(const arofdoubleM& values)
{
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

bool JacobianFinite(const TSolverState& s)
{
    for (const arofdoubleM& row : s.Jacobian)
        if (!AllFinite(row)) return false;
    return true;
}

bool Acceptable(const arofdoubleM& step)
{
    for (double v : step)
        if (!(std::fabs(v) <= MaxParameterStep)) return false;
    return true;
}

// The solution of (A + lambda I) dx = b.
arofdoubleM SolveDamped(const TDenseMatrix& A, const arofdoubleM& b, double lambda)
{
    TDenseMatrix M = A;
    if (lambda != 0.0)
        for (int i = 0; i < M.Rows(); ++i) M(i, i) += lambda;
    arofdoubleM d, c, x = b;
    QRDecompose(M, d, c);
    QRSolve(M, d, c, x);
    return x;
}

// The values an update would write: one resistivity per parameter (NaN-free, or the update is refused)
// and the source curve.
struct TUpdate {
    arofdoubleM Resistivity;
    arofboolM Moves; // the step of the parameter is not 0
    TSourceCurve Source;
};

bool MakeUpdate(const TSolverState& s, const arofdoubleM& dx, TUpdate& update)
{
    update.Resistivity.SetLength(s.ParamCount);
    update.Moves.SetLength(s.ParamCount);
    for (int p = 0; p < s.ParamCount; ++p) {
        update.Moves[p] = dx[p] != 0.0;
        update.Resistivity[p] = UpdatedResistivity(s.Params[p].Resistivity, dx[p]);
        if (update.Moves[p] && !std::isfinite(update.Resistivity[p])) return false;
    }
    update.Source = s.Source;
    TSourceCurve& c = update.Source;
    for (int i = 0; i < s.SourceParams.Length(); ++i) {
        double& value = s.SourceParams[i] == 0 ? c.SourceA : s.SourceParams[i] == 1 ? c.SourceB : c.SourceC;
        value += dx[s.ParamCount + i];
        if (!std::isfinite(value)) return false;
    }
    return true;
}

void WriteUpdate(TSolverState& s, TSurveyState& survey, TPolygonModel& model, const TUpdate& update)
{
    for (int p = 0; p < s.ParamCount; ++p) {
        if (!update.Moves[p]) continue;
        const TSolverPolygon& sp = s.Params[p];
        const Variant value(update.Resistivity[p]);
        s.SolverBodies[sp.Body][sp.Sub].properties[psResistivity] = value;
        model.Bodies[sp.Body][sp.Sub].properties[psResistivity] = value;
    }
    s.Source = update.Source;
    survey.SourceA = update.Source.SourceA;
    survey.SourceB = update.Source.SourceB;
    survey.SourceC = update.Source.SourceC;
}

// Mutes the progress callbacks of a state for its lifetime.
class TMutedProgress {
public:
    explicit TMutedProgress(TSolverState& s) : FState(s), FStep(std::exchange(s.ProgressStep, {})),
                                               FReset(std::exchange(s.ProgressReset, {})) {}
    ~TMutedProgress()
    {
        FState.ProgressStep = std::move(FStep);
        FState.ProgressReset = std::move(FReset);
    }
    TMutedProgress(const TMutedProgress&) = delete;
    TMutedProgress& operator=(const TMutedProgress&) = delete;

private:
    TSolverState& FState;
    std::function<void()> FStep, FReset;
};

struct TInversionRun {
    TSolverState& State;
    TSurveyState& Survey;
    TPolygonModel& Model;
    const TInversionCallbacks& Callbacks;
    TInversionResult Result;

    void ShowGraphs(int solution)
    {
        Result.Misfit = State.Misfit;
        if (Callbacks.ShowDataGraphs) Callbacks.ShowDataGraphs(solution, State.Misfit);
    }

    // One iteration; false when it stops the inversion.
    bool Iterate(int iteration)
    {
        State.IterationCounter = iteration;
        const bool finite = SolveForward(State, true);
        ShowGraphs(iteration);
        if (!finite || !JacobianFinite(State)) return false;
        TPhaseTimer timer(State, &TSolverTimings::Update);
        arofdoubleM residuals, b;
        CalcResiduals(State, residuals);
        if (!AllFinite(residuals)) return false;
        TDenseMatrix A;
        NormalEquations(State, residuals, A, b);
        const TDampedStep step = DampedStep(A, b);
        TUpdate update;
        if (!step.Found || !MakeUpdate(State, step.Step, update)) return false;
        WriteUpdate(State, Survey, Model, update);
        ++Result.Updates;
        if (Callbacks.RebuildShapes) Callbacks.RebuildShapes(iteration);
        return true;
    }

    // The fitted model's solution, without sensitivities and without progress calls.
    bool FinalSolution()
    {
        TMutedProgress muted(State);
        const bool finite = SolveForward(State, false);
        ShowGraphs(MaxIterations + 1);
        return finite;
    }

    void Run()
    {
        State.IterationCounter = 0;
        bool stopped = false;
        for (int iteration = 1; iteration <= MaxIterations && !stopped; ++iteration) stopped = !Iterate(iteration);
        Survey.ModelReady = true;
        if (stopped) {
            Result.Message = InversionNoFiniteUpdate;
        } else if (!FinalSolution()) {
            Result.Message = ForwardCannotSolve;
        } else {
            Result.Succeeded = true;
            Result.MisfitText = FormatValue(State.Misfit, 1, true);
        }
        if (State.ProgressReset) State.ProgressReset();
    }
};

TInversionResult Refused(const std::string& message)
{
    TInversionResult r;
    r.Message = message;
    r.Misfit = MissingValue;
    return r;
}

void MarkCalculatedMissing(TSurveyState& survey)
{
    for (osource& set : survey.DataSets) {
        set.Calculated.SetLength(set.P1.size());
        for (double& v : set.Calculated) v = MissingValue;
    }
}

} // namespace

TDampedStep DampedStep(const TDenseMatrix& A, const arofdoubleM& b)
{
    TDampedStep result;
    result.Step = SolveDamped(A, b, 0.0);
    if (Acceptable(result.Step)) {
        result.Found = true;
        return result;
    }
    double largest = -123456789.0;
    for (int i = 0; i < A.Rows(); ++i) largest = std::max(largest, A(i, i));
    double lambda = largest / 1000.0;
    if (!(lambda >= MinDamping)) lambda = MinDamping;
    while (result.Doublings < MaxDampingDoublings) {
        lambda *= 2.0;
        ++result.Doublings;
        result.Damping = lambda;
        result.Step = SolveDamped(A, b, lambda);
        if (Acceptable(result.Step)) {
            result.Found = true;
            return result;
        }
    }
    result.Step.SetLength(0);
    return result;
}

double UpdatedResistivity(double rho, double dx)
{
    const double value = std::exp(std::log(rho) + dx);
    if (std::isnan(value)) return value;
    return static_cast<float>(std::min(MaxResistivity, std::max(MinResistivity, value)));
}

void CalcResiduals(const TSolverState& s, arofdoubleM& residuals)
{
    residuals.SetLength(0);
    for (const osource& set : *s.DataSets)
        for (int j = 0; j < set.P1.Length(); ++j)
            residuals.push_back(Present(set, j) ? set.Observed[j] - set.Calculated[j] : 0.0);
}

void NormalEquations(const TSolverState& s, const arofdoubleM& residuals, TDenseMatrix& A, arofdoubleM& b)
{
    std::vector<double> weight;
    for (const osource& set : *s.DataSets)
        for (int j = 0; j < set.P1.Length(); ++j) weight.push_back(Present(set, j) ? 1.0 : 0.0);
    const int P = s.Jacobian.Length();
    const int M = static_cast<int>(weight.size());
    A.SetSize(P, P);
    b.SetLength(0);
    b.SetLength(P);
    for (int i = 0; i < P; ++i) {
        const arofdoubleM& Ji = s.Jacobian[i];
        if (Ji.Length() != M || residuals.Length() != M) throw ERangeError();
        for (int j = i; j < P; ++j) {
            const arofdoubleM& Jj = s.Jacobian[j];
            double sum = 0.0;
            for (int k = 0; k < M; ++k) sum += Ji[k] * weight[k] * Jj[k];
            A(i, j) = A(j, i) = sum;
        }
        double sum = 0.0;
        for (int k = 0; k < M; ++k) sum += Ji[k] * weight[k] * residuals[k];
        b[i] = sum;
    }
}

TInversionResult RunInversionProblem(TSurveyState& survey, TPolygonModel& model, const TInversionCallbacks& callbacks,
                                     TSolverState& state)
{
    if (!HasScaleLength(survey)) return Refused(ForwardTooFewElectrodes);
    if (model.HasRelief != (survey.Topography.Length() > 2)) return Refused(ForwardReliefMismatch);
    if (!survey.DataLoaded) return Refused(InversionNoObservedData);

    AllSpolygon bodies;
    Tnodes nodes;
    try {
        DiscretizeModel(survey, model, bodies, nodes);
    } catch (const Exception& e) {
        return Refused(e.Message());
    }
    if (nodes.Length() > MaxBoundaryNodes) return Refused(ForwardTooManyNodes);

    model.Rho0 = survey.StartResistivity;
    model.SecondModelValue = 0.0;
    if (callbacks.BoundaryNodes) callbacks.BoundaryNodes(nodes);

    TInversionRun run{state, survey, model, callbacks, {}};
    try {
        OrientSolverRings(bodies, nodes);
        HandOverToSolver(state, survey, std::move(bodies), std::move(nodes), callbacks);
        run.Run();
    } catch (const Exception& e) {
        MarkCalculatedMissing(survey);
        if (callbacks.ProgressReset) callbacks.ProgressReset();
        if (callbacks.ShowStatus) callbacks.ShowStatus(std::string());
        TInversionResult failed = Refused(e.Message());
        failed.Updates = run.Result.Updates;
        return failed;
    }
    return run.Result;
}
