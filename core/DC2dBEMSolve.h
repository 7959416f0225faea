// One boundary-element solution: free terms, element integrals and their caches, the system matrix,
// its solution, the potentials at the electrodes, the calculated dU and the misfit.
#pragma once

#include "core/DC2dBEMState.h"

// The settings ElementKernel reads, from the state.
TKernelSettings KernelSettings(const TSolverState& s);

// The preparation every solution starts with: the used electrodes when stale, the potential rows sized to
// the electrode records, the parameters, the ground line, the numbering, the elements, the free terms,
// the electrodes' places and factors.
void PrepareSolution(TSolverState& s);

// The unknowns of every element's two nodes, in element order.
struct TElementUnknowns {
    std::vector<int> a, b;
    explicit TElementUnknowns(const TSolverState& s);
};

// Elements and GroupStart from the ground line (relief) and the rings of Params. Every element node
// must carry an unknown (ERangeError otherwise).
void BuildSolverElements(TSolverState& s);

// The angle a sub-polygon's ring subtends at its position k, as the free term of that node counts it:
// doubled without a relief at a node on the flat ground (z <= 0), whose mirror image adds it again.
double RingAngle(const TSolverState& s, const arofintM& ring, int k);

// FreeTerms: per unknown, the share of the full angle (of the ground angle on the ground line) that the
// host occupies at the node plus every sub-polygon's share weighted by rho0/rho_S; without a relief the
// angles of nodes at z <= 0 count twice (the mirror image of the ground).
void FreeTermCoefficients(TSolverState& s);

// Fills the caches that are due: NodeTable in the first iteration of a sensitivity run, ElectrodeTable
// (entries for the used electrodes off the ground nodes) in every forward run and that first iteration.
void TabulateElementIntegrals(TSolverState& s);

// SystemMatrix := the element integrals: row r holds, for the node of unknown r, minus each sub-polygon's
// contrast times its element pairs, plus (relief) the ground-line pairs. The free terms are added by the
// caller (AddToDiagonal). Sub-polygons at the host resistivity contribute nothing.
void AssembleMatrix(TSolverState& s);

// One potential per entry of `list` (electrode indexes): the solved value of its ground node, or
// (imposed potential + the integrals over the sub-polygons, by contrast, minus those over the ground
// line, with the solution u) divided by the electrode's factor.
void ElectrodePotentials(const TSolverState& s, const arofintM& list, const arofdoubleM& u, arofdoubleM& potentials);

// Calculated of every measurement := row[P1] - row[P2], the potential of a missing electrode being 0.
void CalcDifferences(TSolverState& s, const arofdoubleM& row);

// The mean of |Observed - Calculated| / max(|Observed|, |Calculated|, 1e-8) in percent over the
// measurements whose dU the survey gave; 0 without DataLoaded; MissingValue when DataLoaded but no such
// measurement exists.
double CalcMisfit(const TSolverState& s);

// One complete solution. With sensitivities (the inversion's) it also computes SolutionDerivatives,
// Sensitivities, SourceParamPotentials and the Jacobian (CalcSensitivities), reading the integral caches
// that the first iteration (IterationCounter 1) tabulates. Returns false when a boundary value or an
// electrode potential is not finite; Calculated is then MissingValue everywhere, no misfit is shown, and
// a sensitivity solution leaves the Jacobian empty.
// Progress: without sensitivities ProgressStep after the assembly and after the potentials, ProgressReset
// after the calculated dU; with them one ProgressStep at the end. ShowStatus gets the misfit text.
bool SolveForward(TSolverState& s, bool WithSensitivities);

// The forward run on the inputs already in the state: SolveForward without sensitivities.
bool RunForward(TSolverState& s);
