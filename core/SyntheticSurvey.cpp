// The synthetic survey of "Create survey".
#include "core/SyntheticSurvey.h"

void CreateSyntheticSurvey(TSurveyState& s)
{
    s.P1yColumn = s.P2yColumn = s.P1zColumn = s.P2zColumn = -1;
    s.SurveyRows.clear();
    for (int i = 0; i < s.SyntheticCount; ++i) {
        TMeasurementRow row(SyntheticRowLength);
        FillDoubles(row, MissingValue);
        row[mcP1x] = i * s.SyntheticSpacing;
        row[mcP2x] = (i + 1.0) * s.SyntheticSpacing;
        for (int c : {mcP1y, mcP2y, mcP1z, mcP2z}) row[c] = 0.0;
        s.SurveyRows.push_back(std::move(row));
    }
}
