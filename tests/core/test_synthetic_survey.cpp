// The synthetic survey of "Create survey", prepared like a survey read from a file.
#include "core/SurveyPrepare.h"
#include "core/SyntheticSurvey.h"

#include <gtest/gtest.h>

TEST(SyntheticSurvey, EvenlySpacedNeighbourPairs)
{
    struct Case {
        int count;
        double spacing;
    };
    const Case cases[] = {{5, 2}, {1000, 0.5}, {7, 300}, {1, 1}, {0, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " x " << c.spacing);
        TSurveyState s;
        s.SyntheticCount = c.count;
        s.SyntheticSpacing = c.spacing;
        s.P1zColumn = 3;
        s.SurveyRows = {arofdoubleM{9, 9, 9}};
        CreateSyntheticSurvey(s);
        EXPECT_EQ(s.P1zColumn, -1);
        ASSERT_EQ(s.SurveyRows.Length(), c.count);
        for (int i = 0; i < c.count; ++i) {
            const TMeasurementRow& row = s.SurveyRows[i];
            ASSERT_EQ(row.Length(), SyntheticRowLength);
            EXPECT_EQ(row[mcP1x], i * c.spacing);
            EXPECT_EQ(row[mcP2x], (i + 1) * c.spacing);
            for (int col : {mcP1y, mcP2y, mcP1z, mcP2z}) EXPECT_EQ(row[col], 0);
            for (int col = mcDU; col < SyntheticRowLength; ++col) EXPECT_EQ(row[col], MissingValue);
        }

        ASSERT_TRUE(PrepareSurvey(s, 100).Accepted);
        const osource& d = s.DataSets[0];
        EXPECT_EQ(s.Electrodes.Length(), c.count > 0 ? c.count + 1 : 0);
        EXPECT_EQ(s.ScaleLength, c.count > 0 ? c.spacing : MissingValue);
        ASSERT_EQ(d.P1.Length(), c.count);
        for (int k = 0; k < c.count; ++k) {
            EXPECT_EQ(d.P1[k], k);
            EXPECT_EQ(d.P2[k], k + 1);
            EXPECT_EQ(d.Observed[k], 0);
            EXPECT_FALSE(d.ObservedPresent[k]);
            EXPECT_EQ(d.Weight[k], 1);
        }
    }
}
