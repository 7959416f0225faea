// The primary source: the imposed potential on electronic sub-polygons as a function of the depth below
// the relief, the right-hand side it makes, and its derivatives by the curve parameters.
#pragma once

#include "core/DC2dBEMState.h"

// The largest elevation of a topography (0 when empty): the level that model-frame depths count from.
double TopographyTop(const arofcomplexM& topography);

// Depth of a model-frame point below the relief: z - (top - topography at x) with ReliefPresent,
// otherwise z.
double DepthBelowRelief(const TSolverState& s, double x, double z);

// U at a model-frame point: -a d + c (linear), c + a exp(-d / b) (exponential), or the 50-point curve at d
// (arbitrary, clamped to its ends); d = DepthBelowRelief. Other kinds count as linear.
double SourcePotential(const TSolverState& s, double x, double z);

// One entry per unknown: U at every node of every electronic sub-polygon, 0 elsewhere.
void SourceNodePotentials(const TSolverState& s, arofdoubleM& rhs);

// The derivative of SourcePotential at a model-frame point by parameter 0 (a), 1 (b) or 2 (c); 0 for the
// arbitrary curve and for b of the linear one.
double SourcePotentialDerivative(const TSolverState& s, int parameter, double x, double z);

// The derivative of that right-hand side by parameter 0 (a), 1 (b) or 2 (c); 0 for the arbitrary curve.
void BuildSourceRHS(const TSolverState& s, int parameter, arofdoubleM& rhs);
