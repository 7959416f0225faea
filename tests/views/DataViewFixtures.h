// Small surveys for the data view's tests: electrodes along a line and one measurement between each pair
// of neighbours, with observed and calculated dU given per measurement.
#pragma once

#include "core/SurveyData.h"

#include <utility>
#include <vector>

struct TSmallSurvey {
    TSmallSurvey(std::vector<double> positions, std::vector<double> observed, std::vector<double> calculated = {},
                 std::vector<double> weights = {}, std::vector<bool> given = {})
        : Positions(std::move(positions)), Observed(std::move(observed)), Calculated(std::move(calculated)),
          Weights(std::move(weights)), Given(std::move(given))
    {
    }
    std::vector<double> Positions;   // electrode x, ascending
    std::vector<double> Observed;    // one per measurement k between electrodes k and k + 1
    std::vector<double> Calculated;  // empty: all 0
    std::vector<double> Weights;     // empty: all 1
    std::vector<bool> Given;         // empty: all given
};

inline TSurveyState MakeSurvey(const TSmallSurvey& def)
{
    TSurveyState s;
    s.SurveyReady = true;
    s.DataLoaded = true;
    for (double x : def.Positions) {
        TElectrode e;
        e.x = x;
        e.z = 0.5;
        s.Electrodes.push_back(e);
        s.ElectrodePositions.push_back(x);
    }
    osource set;
    for (std::size_t k = 0; k < def.Observed.size(); ++k) {
        set.P1.push_back(static_cast<std::int32_t>(k));
        set.P2.push_back(static_cast<std::int32_t>(k + 1));
        set.P1x.push_back(def.Positions[k]);
        set.P2x.push_back(def.Positions[k + 1]);
        for (arofdoubleM* a : {&set.P1y, &set.P2y, &set.P1z, &set.P2z}) a->push_back(0.0);
        set.Observed.push_back(def.Observed[k]);
        set.Calculated.push_back(def.Calculated.empty() ? 0.0 : def.Calculated[k]);
        set.Weight.push_back(def.Weights.empty() ? 1.0 : def.Weights[k]);
        set.ObservedPresent.push_back(def.Given.empty() ? true : static_cast<bool>(def.Given[k]));
    }
    s.DataSets.push_back(set);
    return s;
}

// A survey of `sets` data sets with the given row counts (positions 0, 1, 2, ... in each).
inline TSurveyState MakeSetsSurvey(const std::vector<int>& rows)
{
    TSurveyState s;
    for (int n : rows) {
        TSmallSurvey def({}, std::vector<double>(static_cast<std::size_t>(n), 1.0));
        for (int i = 0; i <= n; ++i) def.Positions.push_back(i);
        s.DataSets.push_back(MakeSurvey(def).DataSets[0]);
    }
    return s;
}
