// The damped least-squares inversion: fits the logarithms of the sub-polygons' resistivities, and with
// InvertSource the source-curve parameters, to the observed dU. Its rules (residuals, normal equations,
// damping, clamping) and the entry that the views and tests call.
#pragma once

#include "core/DC2dBEM.h"

#include <functional>
#include <string>

// What an inversion reports besides the forward run's callbacks. ProgressStep comes once per iteration
// (the gauge divides by MaxIterations), ProgressReset once at the end; ShowStatus gets every solution's
// misfit text.
struct TInversionCallbacks : TSolverCallbacks {
    // After every solution, numbered from 1, with its misfit in percent: solutions 1..MaxIterations start
    // the iterations (the model before that iteration's update), solution MaxIterations + 1 is the
    // fitted model's.
    std::function<void(int solution, double misfit)> ShowDataGraphs;
    // After every update, once the new resistivities are in the model (and the curve in the survey).
    std::function<void(int iteration)> RebuildShapes;
};

struct TInversionResult {
    bool Succeeded = false;
    std::string Message;    // the failure, empty on success
    int Updates = 0;        // iterations whose update reached the model
    double Misfit = 0.0;    // percent, of the last solution; MissingValue when none was finite
    std::string MisfitText; // as given to ShowStatus
};

inline constexpr const char* InversionNoFiniteUpdate = "The inversion stopped: no finite update could be found.";
inline constexpr const char* InversionNoObservedData = "There are no observed data to fit.";

// Damping and clamping rules.
inline constexpr double MaxParameterStep = 2.0;          // bound on every |dx| of an accepted step
inline constexpr int MaxDampingDoublings = 100;          // damped attempts before giving up
inline constexpr double MinDamping = 1e-30;              // floor of the first damping
inline constexpr double MinResistivity = float(0.01);    // single-precision 0.01, ohm m
inline constexpr double MaxResistivity = 1000000.0;      // ohm m

// A step of the normal equations.
struct TDampedStep {
    bool Found = false;   // a finite step within the bound was found
    arofdoubleM Step;     // dx, one entry per parameter
    double Damping = 0.0; // lambda added to the diagonal; 0 for the undamped step
    int Doublings = 0;    // damped attempts made
};

// Solves A dx = b (A symmetric, from NormalEquations). The undamped step is taken when it is finite and
// every |dx_i| <= MaxParameterStep. Otherwise lambda starts at the largest diagonal element / 1000 (at
// least MinDamping) and is doubled before every attempt with A + lambda I, at most MaxDampingDoublings
// times; a step that is not finite counts as too large. A system of order 0 gives an empty step.
TDampedStep DampedStep(const TDenseMatrix& A, const arofdoubleM& b);

// rho exp(dx) clamped into MinResistivity .. MaxResistivity and rounded to single precision; NaN when
// rho exp(dx) is NaN (a resistivity that is not positive), so that it is never written.
double UpdatedResistivity(double rho, double dx);

// Per measurement of all data sets in order: Observed - Calculated, or 0 where the survey gave no dU.
void CalcResiduals(const TSolverState& s, arofdoubleM& residuals);

// A = J W J^T and b = J W r from the state's Jacobian (rows = parameters) and the residuals, the weight
// W being 1 for a measurement whose dU the survey gave and 0 otherwise (Weight is not used).
void NormalEquations(const TSolverState& s, const arofdoubleM& residuals, TDenseMatrix& A, arofdoubleM& b);

// The inversion on a prepared survey and a model: refines copies of the model and runs MaxIterations
// iterations, each a solution with sensitivities (ShowDataGraphs after it) and a damped update of
// ln rho of every sub-polygon but the host (and, with InvertSource, of a and c, or a, b and c, of the
// linear or exponential curve, added without clamping), written into the model's bodies and the
// survey's SourceA..SourceC (RebuildShapes after it). A step of exactly 0 leaves its resistivity slot
// untouched. After the last update one more solution without sensitivities (and without progress
// calls) gives Calculated, the misfit and the last ShowDataGraphs for the fitted model. Refused without
// change as the forward run refuses (ForwardTooFewElectrodes, ForwardReliefMismatch,
// ForwardTooManyNodes) and without DataLoaded (InversionNoObservedData). When a solution, its residuals or
// its Jacobian are not finite, or no finite step within the bound exists, the inversion stops with
// InversionNoFiniteUpdate: the model keeps the last update written (nothing non-finite is ever written)
// and Calculated the last solution's values (MissingValue when it was not finite). Sets the model's Rho0
// and SecondModelValue and survey.ModelReady as the forward run does. `state` keeps the last solution.
TInversionResult RunInversionProblem(TSurveyState& survey, TPolygonModel& model,
                                     const TInversionCallbacks& callbacks = {}, TSolverState& state = SolverState());
