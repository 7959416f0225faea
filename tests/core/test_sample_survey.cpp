// The sample survey in examples/: made by sample_survey.h with the model operations and written by the
// survey writer (run with VSP_WRITE_EXAMPLES=1 to write it again); it opens as data with a model and the
// forward entry solves it.
#include "sample_survey.h"

#include "core/SurveyOpen.h"
#include "core/SurveyWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const std::string SamplePath = std::string(VSP_TEST_DATA) + "/../../examples/sample.sp2";

} // namespace

TEST(SampleSurvey, OpensWithItsModelAndSolves)
{
    if (std::getenv("VSP_WRITE_EXAMPLES")) {
        TSurveyState survey;
        TPolygonModel model;
        sample::MakeSample(sample::TSpec{}, survey, model);
        ASSERT_EQ(WriteDataFile(survey, SamplePath, true, &model), "");
    }
    const TSurveyOpenResult opened =
        OpenSurveyFile(TSurveyState{}, SamplePath, [](const std::string&) { return true; }, 100.0);
    ASSERT_EQ(opened.Kind, ReadDataWithModel) << opened.Message;
    TSurveyState survey = opened.Survey;
    TPolygonModel model = *opened.Model;
    EXPECT_TRUE(survey.DataLoaded);
    EXPECT_GT(survey.Topography.Length(), 2);
    EXPECT_TRUE(model.HasRelief);
    EXPECT_GE(model.Bodies.Length(), 3);   // host with the layer, lens, dyke
    EXPECT_EQ(model.Bodies[0].Length(), 2);

    std::vector<std::string> status;
    TSolverCallbacks callbacks;
    callbacks.ShowStatus = [&](const std::string& text) { status.push_back(text); };
    const TForwardResult r = RunForwardProblem(survey, model, callbacks);
    ASSERT_TRUE(r.Succeeded) << r.Message;
    // The model handed to the user has the lens too resistive: a clear but finite misfit.
    EXPECT_GT(r.Misfit, 5.0);
    EXPECT_LT(r.Misfit, 100.0);
    ASSERT_EQ(status.size(), 1u);
    EXPECT_EQ(status[0], r.MisfitText);
    for (double v : survey.DataSets[0].Calculated) EXPECT_TRUE(std::isfinite(v) && v != MissingValue);

    // With the lens at its true resistivity the response fits the observed values to their noise.
    for (SPolygon& body : model.Bodies)
        for (Polygon& p : body)
            if (p.properties[psConductorType].AsDouble() == 0.0) p.properties[psResistivity] = Variant(5.0);
    const TForwardResult truth = RunForwardProblem(survey, model);
    ASSERT_TRUE(truth.Succeeded);
    EXPECT_LT(truth.Misfit, 5.0);
}
