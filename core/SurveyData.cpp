// The survey state's small services: the resets of the open pipeline and the questions the forward run
// and the views ask of a prepared survey.
#include "core/SurveyData.h"

#include <cmath>

void ResetForOpen(TSurveyState& s)
{
    s.SlopeTopography = false;
    s.P1yColumn = s.P2yColumn = s.P1zColumn = s.P2zColumn = -1;
    s.TopoReference.x = MissingValue;
    s.SetupDefaultsPending = true;
    s.StarValues.clear();
}

bool HasScaleLength(const TSurveyState& s)
{
    return s.ScaleLength != MissingValue && std::isfinite(s.ScaleLength) && s.ScaleLength > 0.0;
}

int MeasurementCount(const TSurveyState& s)
{
    int n = 0;
    for (const osource& set : s.DataSets) n += set.P1.Length();
    return n;
}

std::string ConfigFileBeside(const std::string& surveyPath)
{
    const std::size_t slash = surveyPath.find_last_of('/');
    const std::size_t dot = surveyPath.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? surveyPath.substr(0, dot) : surveyPath) + ".cfg";
}
