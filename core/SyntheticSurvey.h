// The synthetic survey of "Create survey": evenly spaced surface measurements, each between two
// neighbouring electrodes, for modelling without measured data.
#pragma once

#include "core/SurveyData.h"

// Replaces SurveyRows by SyntheticCount rows (P1 x = i * SyntheticSpacing, P2 x = (i + 1) *
// SyntheticSpacing, y and z 0, dU and weight MissingValue, sixteen values each) and clears the four
// optional column indexes. The preparation then makes the electrodes and the data set.
void CreateSyntheticSurvey(TSurveyState& s);
