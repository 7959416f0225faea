// Opening a survey: read and prepared on a copy, handed back whole or not at all.
#include "core/SurveyOpen.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const std::string Dir = std::string(VSP_TEST_DATA) + "/survey/";

// A survey in use, as a successful open and a forward run leave it.
TSurveyState InUse()
{
    const TSurveyOpenResult r = OpenSurveyFile(TSurveyState(), Dir + "topo.sp2", nullptr, 40);
    EXPECT_EQ(r.Kind, ReadData);
    TSurveyState s = r.Survey;
    s.ModelReady = true;
    s.DataSets[0].Calculated[0] = 7;
    return s;
}

} // namespace

TEST(SurveyOpen, FailedOpensHandNothingBack)
{
    const TSurveyState inUse = InUse();
    struct Case {
        const char* text;
        int questions; // the configuration question comes only after a successful read
        const char* why;
    };
    const Case cases[] = {
        {"P1 P2\n0 1\n", 0, "no dU column"},
        {"P1 P2 dU\n0 1 2\ntopo #\n5000 0\n0 0\n10 0\n", 1, "a reference off the profile"},
        {"P1 P2 dU\n0 1 2\ntopo ^\n0 0\n1 5\n", 1, "a step steeper than its length"},
        {"P1 P2 dU\n0 1 2\nVornPolyModelDescription2.0\n100 0\n", 0, "a malformed model block"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        int asked = 0;
        const TSurveyOpenResult r = OpenSurveyText(inUse, c.text, "new.sp2", std::string("VornSP2dp1.02\n"),
                                                   [&](const std::string&) { return ++asked > 0; }, 40);
        EXPECT_EQ(r.Kind, ReadError);
        EXPECT_EQ(r.Message, "Error in data file!");
        EXPECT_FALSE(r.Model.has_value());
        EXPECT_EQ(asked, c.questions);
    }
}

TEST(SurveyOpen, BrokenModelBlocksAreRefusedWholeFiles)
{
    // Every malformed block fixture is a whole survey file: the open fails as any failed read does, and
    // hands back neither survey nor model for the views to take over.
    const TSurveyState inUse = InUse();
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(VSP_TEST_DATA) + "/modelblock")) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("malformed_", 0) != 0) continue;
        ++count;
        const TSurveyOpenResult r = OpenSurveyFile(inUse, entry.path().string(), nullptr, 40);
        EXPECT_EQ(r.Kind, ReadError) << name;
        EXPECT_EQ(r.Message, "Error in data file!") << name;
        EXPECT_FALSE(r.Model.has_value()) << name;
    }
    EXPECT_GE(count, 25);
    // The same survey with a sound block opens with its model.
    const TSurveyOpenResult fine = OpenSurveyFile(inUse, std::string(VSP_TEST_DATA) + "/modelblock/valid.sp2", nullptr, 40);
    EXPECT_EQ(fine.Kind, ReadDataWithModel);
    EXPECT_TRUE(fine.Model.has_value());
}

TEST(SurveyOpen, SuccessfulOpenPreparesANewSurvey)
{
    TSurveyState inUse = InUse();
    inUse.StarValues = {99};
    inUse.P1zColumn = 2;
    inUse.Topography = {{1, 1}, {2, 2}, {3, 3}};
    inUse.OpenInModelingMode = true;

    const TSurveyOpenResult data = OpenSurveyFile(inUse, Dir + "stars.sp2", nullptr, 40);
    EXPECT_EQ(data.Kind, ReadData);
    EXPECT_TRUE(data.Message.empty());
    EXPECT_EQ(data.Survey.StarValues, (arofdoubleM{12.5, -3})); // the old "***" positions are gone
    EXPECT_EQ(data.Survey.P1zColumn, -1);
    EXPECT_TRUE(data.Survey.Topography.empty());
    EXPECT_FALSE(data.Survey.DataLoaded); // "Open in modeling mode"
    EXPECT_TRUE(data.Survey.SurveyReady);
    EXPECT_EQ(data.Survey.DataSets[0].P1.Length(), 2);
    EXPECT_EQ(data.Survey.SourceDepths[49], 80); // twice the bottom of the model in use
    EXPECT_FALSE(data.Model.has_value());

    inUse.OpenInModelingMode = false;
    const TSurveyOpenResult model = OpenSurveyFile(inUse, Dir + "with_model.sp2", nullptr, 40);
    EXPECT_EQ(model.Kind, ReadDataWithModel);
    ASSERT_TRUE(model.Model.has_value());
    EXPECT_TRUE(model.Survey.DataLoaded);
    EXPECT_EQ(model.Survey.SourceDepths[49], 49); // twice the bottom of the file's model
    EXPECT_EQ(model.Survey.StartResistivity, 250);

    // A model-only file opens too, without a spacing for the forward run.
    const TSurveyOpenResult only = OpenSurveyFile(inUse, Dir + "model_only.sp2", nullptr, 40);
    EXPECT_EQ(only.Kind, ReadDataWithModel);
    EXPECT_EQ(MeasurementCount(only.Survey), 0);
    EXPECT_FALSE(HasScaleLength(only.Survey));
}

TEST(SurveyOpen, RealTopoCoordinatesOffsetComesBack)
{
    TSurveyState inUse;
    inUse.RealTopoCoordinates = true;
    const TSurveyOpenResult r = OpenSurveyFile(inUse, Dir + "topo.sp2", nullptr, 40);
    EXPECT_EQ(r.LabelValueOffset, -101);
}
