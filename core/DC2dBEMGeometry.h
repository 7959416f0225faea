// Before a solution: the resistivity parameters, the ground line with a relief, the numbering of the
// unknowns, the used electrodes, where each electrode sits and the factor its potential is divided by.
#pragma once

#include "core/DC2dBEMState.h"

// Params and ParamCount from SolverBodies: every sub-polygon but the host, body by body. A Resistivity
// or ConductorType slot that does not read as a number raises EConvertError.
void CollectSolverPolygons(TSolverState& s);

// With a relief: SurfaceNodeList := the host ring (the ground line) sorted by ascending x, equal x in
// reverse ring order; OnSurface flags its nodes. Without a relief nothing changes.
void CollectSurfaceNodes(TSolverState& s);

// NodeNumber for every node of SolverNodes: frame corners (0..3 without relief, the bottom corners 1 and
// 2 with one) have none unless a frame-attached sub-polygon uses them; every other node, used or not,
// gets the next number. Returns UnknownCount.
int NumberBoundaryNodes(TSolverState& s);

// UsedElectrodes: one row, the distinct electrode indexes of all measurements (-1 skipped), ascending.
void CollectUsedElectrodes(TSolverState& s);

// ElectrodeOffNode, ElectrodeNodes and ElectrodePoint for every electrode record. A surface electrode
// that coincides in x with a ground node carrying an unknown (within 1e-4 NearSingularDistance) sits on
// that node (the ground line with a relief; without one, the host ring's nodes at z <= 0); otherwise it
// lies on the ground edge spanning it, if any, and is evaluated at its own place however near a node it
// is. A surface electrode is evaluated on the ground itself: at z = 0 without a relief, on the ground
// line with one (its record's z, made from the survey's topography, may miss the model's ground line by
// the rounding of a stored profile, and a point just off a boundary element is integrated wrongly); a
// buried electrode at its record's (x, z) with a relief and at (x, zraw) without one.
void LocateSurfaceElectrodes(TSolverState& s);

// ElectrodeFactor, ElectrodeSourcePotential and ElectrodeParam for every electrode record:
// - buried (surface flag off), with or without relief: 1 in the host, or rho0/rho_S of the last
//   sub-polygon in parameter order whose ring contains it, whose imposed potential it takes when that
//   sub-polygon is electronic;
// - on the ground off a node: rho0/rho_S of the first frame-attached sub-polygon with a ground edge over
//   it (1 when none), halved with a relief; the imposed potential as above;
// - on a ground node: 0 (its potential is the node's solved value).
void ElectrodeFactors(TSolverState& s);

// Crossing-number test of P against the ring's node positions: odd crossings of the ray towards +x.
bool PointInSubPolygon(const complexM& P, const arofintM& ring, const Tnodes& nodes);
