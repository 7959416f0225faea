// The hand-off from the survey and the model to the solver: checks, the refined copies of the model, the
// solver's inputs, the run, and its result.
#include "core/DC2dBEM.h"

#include "core/Supermath2d.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

double SignedArea(const arofintM& ring, const Tnodes& nodes)
{
    double twice = 0.0;
    for (int i = 0; i < ring.Length(); ++i) {
        const TNode& a = nodes[ring[i]];
        const TNode& b = nodes[ring[i + 1 < ring.Length() ? i + 1 : 0]];
        twice += a.x * b.z - b.x * a.z;
    }
    return twice / 2.0;
}

void MarkSurveyCalculatedMissing(TSurveyState& survey)
{
    for (osource& set : survey.DataSets) {
        set.Calculated.SetLength(set.P1.size());
        for (double& v : set.Calculated) v = MissingValue;
    }
}

bool ReliefPresent(const TSurveyState& survey) { return survey.Topography.Length() > 2; }

TForwardResult Failure(const std::string& message) { return {false, message, MissingValue, std::string()}; }

} // namespace

void HandOverToSolver(TSolverState& s, TSurveyState& survey, AllSpolygon bodies, Tnodes nodes,
                      const TSolverCallbacks& callbacks)
{
    s.Electrodes = &survey.Electrodes;
    s.DataSets = &survey.DataSets;
    s.SolverBodies = std::move(bodies);
    s.SolverNodes = std::move(nodes);
    s.StartResistivity = survey.StartResistivity;
    s.NearSingularDistance = 0.03 * survey.ScaleLength;
    s.QuadratureOrder = ClampQuadratureOrder(survey.Settings.numqp);
    s.ReliefPresent = ReliefPresent(survey);
    s.Source = {survey.SourceType, survey.SourceA, survey.SourceB, survey.SourceC, survey.SourceDepths,
                survey.SourceValues};
    s.Topography = survey.Topography;
    s.DataLoaded = survey.DataLoaded;
    s.InvertSource = survey.InvertSource;
    s.ProgressStep = callbacks.ProgressStep;
    s.ProgressReset = callbacks.ProgressReset;
    s.ShowStatus = callbacks.ShowStatus;
    s.ElectrodeListStale = true;
}

void DiscretizeModel(const TSurveyState& survey, const TPolygonModel& model, AllSpolygon& bodies, Tnodes& nodes)
{
    CopyAllSpolygon(model.Bodies, bodies);
    CopyNodes(model.Nodes, nodes);
    const TProgramConfig& c = survey.Settings;
    const double L = survey.ScaleLength;
    DiscretizeBoundary(model, c.Exponent, bodies, L / 2.0, c.FactorX, c.StartX * L / 3.0, c.FactorZ,
                       c.StartZ * L / 10.0, nodes);
}

void OrientSolverRings(AllSpolygon& bodies, const Tnodes& nodes)
{
    for (int b = 0; b < bodies.Length(); ++b)
        for (int k = 0; k < bodies[b].Length(); ++k) {
            if (b == 0 && k == 0) continue;
            arofintM& ring = bodies[b][k].ring;
            if (SignedArea(ring, nodes) < 0.0) std::reverse(ring.begin(), ring.end());
        }
}

TForwardResult RunForwardProblem(TSurveyState& survey, TPolygonModel& model, const TSolverCallbacks& callbacks,
                                 TSolverState& state)
{
    if (!HasScaleLength(survey)) return Failure(ForwardTooFewElectrodes);
    if (model.HasRelief != ReliefPresent(survey)) return Failure(ForwardReliefMismatch);

    AllSpolygon bodies;
    Tnodes nodes;
    try {
        DiscretizeModel(survey, model, bodies, nodes);
    } catch (const Exception& e) {
        return Failure(e.Message());
    }
    if (nodes.Length() > MaxBoundaryNodes) return Failure(ForwardTooManyNodes);

    model.Rho0 = survey.StartResistivity;
    model.SecondModelValue = 0.0;
    if (callbacks.BoundaryNodes) callbacks.BoundaryNodes(nodes);

    TForwardResult result;
    try {
        OrientSolverRings(bodies, nodes);
        HandOverToSolver(state, survey, std::move(bodies), std::move(nodes), callbacks);
        const bool finite = RunForward(state);
        survey.ModelReady = true;
        if (!finite) return Failure(ForwardCannotSolve);
        result.Succeeded = true;
        result.Misfit = state.Misfit;
        result.MisfitText = FormatValue(state.Misfit, 1, true);
    } catch (const Exception& e) {
        MarkSurveyCalculatedMissing(survey);
        if (callbacks.ProgressReset) callbacks.ProgressReset();
        if (callbacks.ShowStatus) callbacks.ShowStatus(std::string());
        return Failure(e.Message());
    }
    return result;
}

int TProgressGauge::Step(const TSolverState& state)
{
    const int n = state.SensitivityMode ? MaxIterations : state.ForwardStepCount;
    if (n > 0) FPercent += 100.0 / n;
    return Position();
}

int TProgressGauge::Position() const
{
    return static_cast<int>(std::clamp(std::nearbyint(FPercent), 0.0, 100.0));
}
