// Survey preparation: turns the survey as read or made into the source curve, positions on the ground
// profile, sorted rows with their gaps filled, the electrode records and positions, the typical electrode
// spacing and the one data set that the solver takes; with the helpers it uses.
#pragma once

#include "core/SurveyData.h"

#include <string>

struct TPrepareResult {
    bool Accepted = true;
    std::string Message;           // "Error in data file!" when the survey is rejected
    double LabelValueOffset = 0.0; // for the model chart's left axis ("Real topo coordinates")
};

// Prepares the survey in place, in the order: source curve (MakeSourceCurve with `modelBottom`, the depth
// of the model box's lower edge), "Reverse line" (rows, profile, "***" positions and the along-ground
// reference), topography sorted, along-ground profile and positions
// converted, rows sorted by P1 z then P1 x, gaps filled (y, z, dU 0, weight 1), "Extended nodes", electrode
// records, ElectrodePositions, ScaleLength (MissingValue with fewer than two distinct positions), the data
// set (ObservedPresent off where the row had no dU), and the discretisation defaults when
// SetupDefaultsPending is set.
// A profile step higher than its along-ground length, or an along-ground position that walks off the
// extended profile or has no start point on it, rejects the survey; `s` is then partly changed and must
// be thrown away. The caller empties the well-log list of the views when it takes the survey over.
TPrepareResult PrepareSurvey(TSurveyState& s, double modelBottom);

// Fills SourceDepths and SourceValues with 50 points at depths 2 * modelBottom * i / 49, the values by
// SourceType (0: -a d + c; 1: c + a exp(-d / b); 2: a). A hand-edited arbitrary curve (type 2 with its
// 50 values) keeps its values; its depths are only made when they are not 50.
void MakeSourceCurve(TSurveyState& s, double modelBottom);

// Maps along-ground distances to x positions on the profile (ascending in x), walking from the reference
// point (x, distance) over the profile extended flat by 1000 at both ends. Returns false when the
// profile is empty, the reference x lies off the extended profile, or a walk passes one of its ends.
bool ArcLengthToX(const arofcomplexM& profile, const TTopoReference& reference,
                  const arofdoubleM& distances, arofdoubleM& positions);

// Index of the first record whose x and zraw both lie within `tolerance` of (x, depth), or -1.
int FindElectrode(const elecarray& electrodes, double x, double depth, double tolerance);

// Appends `value` unless it is MissingValue or an element lies within `tolerance` of it.
void AddUniqueValue(arofdoubleM& list, double value, double tolerance);

// Ascending stable sort.
void SortDoubles(arofdoubleM& list);
