// The boundary-element solver of the self-potential response: its forward entry for the views and tests,
// the topic headers it is built from (state, quadrature, element integrals, geometry, source, QR,
// solution, sensitivities), and at the end the inversion with its entry.
#pragma once

#include "core/BoundaryDiscretize.h"
#include "core/DC2dBEMGeometry.h"
#include "core/DC2dBEMIntegrals.h"
#include "core/DC2dBEMLinalg.h"
#include "core/DC2dBEMQuadrature.h"
#include "core/DC2dBEMSensitivity.h"
#include "core/DC2dBEMSolve.h"
#include "core/DC2dBEMSource.h"
#include "core/DC2dBEMState.h"
#include "core/Polygons.h"
#include "core/SurveyData.h"

#include <functional>
#include <string>

// What a run reports while it works; each callback is called only when set.
struct TSolverCallbacks {
    std::function<void()> ProgressStep;  // twice per forward run: advance the gauge by 100 / 2
    std::function<void()> ProgressReset; // once at the end: gauge back to 0
    // The misfit text for the status panel: FormatValue(misfit, 1, adaptive) ("*" when observed data are
    // loaded but none was measured), or empty when the run failed.
    std::function<void(const std::string&)> ShowStatus;
    // The refined boundary nodes, once before the solution (the model view shows them during the run).
    std::function<void(const Tnodes&)> BoundaryNodes;
};

struct TForwardResult {
    bool Succeeded = false;
    std::string Message;     // the failure, empty on success
    double Misfit = 0.0;     // percent; 0 without observed data; MissingValue when nothing was measured
    std::string MisfitText;  // as given to ShowStatus
};

inline constexpr const char* ForwardTooFewElectrodes = "The survey has too few electrode positions for a forward run.";
inline constexpr const char* ForwardReliefMismatch = "The model's relief does not match the survey's topography.";
inline constexpr const char* ForwardCannotSolve = "The model cannot be solved.";
inline constexpr const char* ForwardTooManyNodes = "The model has too many boundary nodes for a forward run.";

// The progress gauge the callbacks drive (status panel 2): each step adds 100 / n percent, n being
// MaxIterations while the solver computes sensitivities (an inversion) and its ForwardStepCount otherwise;
// the position is the percentage rounded (halves to even) and clamped to 0..100. Reset goes back to 0.
class TProgressGauge {
public:
    int Step(const TSolverState& state);
    void Reset() { FPercent = 0.0; }
    int Position() const;

private:
    double FPercent = 0.0;
};

// Largest number of boundary nodes a forward run takes on (its matrix holds their square in doubles).
inline constexpr int MaxBoundaryNodes = 10000;

// The model's bodies and nodes refined for the solver with the survey's discretisation settings and
// ScaleLength (the copies the forward run solves; also the boundary preview of the setup dialog).
void DiscretizeModel(const TSurveyState& survey, const TPolygonModel& model, AllSpolygon& bodies, Tnodes& nodes);

// Reverses every ring but the host's whose signed area in the (x, z) frame is negative, the orientation
// the element integrals and free terms assume.
void OrientSolverRings(AllSpolygon& bodies, const Tnodes& nodes);

// The solver's inputs from the survey and refined, oriented copies of the model: the survey's own
// electrode records and data sets (Calculated is written into them), the start resistivity, the near-
// singular distance 0.03 ScaleLength, the quadrature order (clamped into 2..8), ReliefPresent (more than
// two topography points), the source curve, the topography, DataLoaded, InvertSource and the callbacks.
// The used-electrode list is rebuilt at the next solution.
void HandOverToSolver(TSolverState& state, TSurveyState& survey, AllSpolygon bodies, Tnodes nodes,
                      const TSolverCallbacks& callbacks);

// The forward problem on a prepared survey and a model: refines copies of the model, solves, and writes
// the calculated dU of every measurement into survey.DataSets (Calculated). The model's bodies and nodes
// stay unchanged; its Rho0 becomes survey.StartResistivity and its SecondModelValue 0; survey.ModelReady
// becomes true once the solver has run. Refused without change: a survey without ScaleLength
// (ForwardTooFewElectrodes), a model whose relief flag differs from "topography of more than two points"
// (ForwardReliefMismatch), a boundary of more than MaxBoundaryNodes nodes (ForwardTooManyNodes). When a
// boundary value or electrode potential is not finite the result is ForwardCannotSolve; on that and any
// other failure every Calculated value is MissingValue and no misfit is shown.
// `state` keeps the solution for later use (the views' inversion and results).
TForwardResult RunForwardProblem(TSurveyState& survey, TPolygonModel& model, const TSolverCallbacks& callbacks = {},
                                 TSolverState& state = SolverState());

// The inversion builds on the declarations above.
#include "core/DC2dBEMInversion.h"
