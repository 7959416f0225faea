// Sensitivities of a boundary-element solution: the derivatives of the boundary values by every
// parameter (sub-polygon conductivities, source-curve parameters), the derivatives of the electrode
// potentials made from them, and the Jacobian of the calculated dU that the inversion fits with.
#pragma once

#include "core/DC2dBEMState.h"

// The source-curve parameters that get Jacobian rows, by BuildSourceRHS number: with InvertSource 0 (a)
// and 2 (c) for the linear curve (and kinds out of range, which count as linear), 0, 1 (b) and 2 for the
// exponential one; none for the arbitrary curve or without InvertSource.
arofintM InvertedSourceParams(const TSolverState& s);

// SolutionDerivatives from the decomposed SystemMatrix, the boundary values (Solution) and the NodeTable
// of a sensitivity solution. The matrix depends on sigma_p = 1/rho_p through the contrast 1 - rho0 sigma_p
// of p's elements and through p's share rho0 sigma_p theta / 2pi of the free terms (theta as the free
// term counts it, doubled on the flat ground), so column p solves M du = -(dM/dsigma_p) u; column
// ParamCount + i solves M u_i = BuildSourceRHS(SourceParams[i]). All columns go through the stored
// reflections in one pass.
void CalcSolutionDerivatives(TSolverState& s);

// Sensitivities and SourceParamPotentials at every used electrode from SolutionDerivatives. Off a
// ground node an electrode's potential is (imposed potential + sum of contrast x integrals x u - ground
// integrals x u) / factor; its conductivity derivative adds -rho0 x the integrals over p's own elements
// and, when the factor is p's (factor proportional to sigma_p), subtracts potential x factor x rho_p
// before the division. Its source derivative takes the derivative of the imposed potential. On a ground
// node the derivative is the node's. Sensitivities carry the factor 2/pi; source potentials do not.
void CalcElectrodeDerivatives(TSolverState& s);

// MeasurementCount and Jacobian: per resistivity parameter p, -(S_p[P1] - S_p[P2]) / rho_p (the derivative
// by ln rho); per source parameter (V[P1] - V[P2]) x 2/pi. A missing electrode (NoElectrode) adds 0.
void AssembleJacobian(TSolverState& s);

// SourceParams, then the three steps above (SolveForward calls it for a solution with sensitivities).
void CalcSensitivities(TSolverState& s);
