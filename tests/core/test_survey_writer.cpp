// The ".sp2" writer: the four variants byte for byte, reading back what was written, the dU column's
// decimal separator, and saves that fail without harming the file in place.
#include "core/SurveyOpen.h"
#include "core/SurveyWriter.h"

#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const double M = MissingValue;

std::string Fixture(const std::string& name)
{
    return ReadTextFileIfAny(std::string(VSP_TEST_DATA) + "/survey/" + name).value_or("<missing fixture>");
}

// A frame over a two-point relief with one body of one sub-polygon.
TPolygonModel TestModel()
{
    TPolygonModel m;
    m.Rho0 = 250;
    m.ModelBox = TModelBox{-10, 20, 0, 24.5};
    m.HasRelief = true;
    m.Relief = arofcomplexM{{0, 0}, {7, 0.75}};
    const double xz[7][2] = {{-10, 0}, {-10, 24.5}, {20, 24.5}, {20, 0.75}, {2, 5}, {5, 5}, {3, 8}};
    const int frame[7] = {1, 2, 4, 5, 0, 0, 0};
    m.Nodes.SetLength(7);
    for (int i = 0; i < 7; ++i) {
        m.Nodes[i].x = xz[i][0];
        m.Nodes[i].z = xz[i][1];
        m.Nodes[i].FrameCode = frame[i];
    }
    m.Bodies.SetLength(2);
    m.Bodies[0].SetLength(1);
    m.Bodies[0][0].ring = arofintM{0, 1, 2, 3, 0, 3, 2, 1};
    m.Bodies[0][0].properties[psShapeIndex] = Variant(std::int8_t(-1));
    m.Bodies[1].SetLength(1);
    m.Bodies[1][0].ring = arofintM{4, 5, 6};
    m.Bodies[1][0].properties[psShapeIndex] = Variant(std::int32_t(0));
    m.Bodies[1][0].properties[psResistivity] = Variant(12.5);
    m.Bodies[1][0].properties[psConductorType] = Variant(0.0);
    return m;
}

TMeasurementRow Row(double p1, double p2, double z2, double du, double w)
{
    return {p1, p2, M, M, 0, z2, du, w, M};
}

// A prepared survey with z columns, topography, a "***" position, a missing dU, a missing position,
// positions and values of several magnitudes, and calculated values.
TSurveyState TestSurvey()
{
    TSurveyState s;
    s.P1zColumn = 4;
    s.P2zColumn = 5;
    s.SurveyRows = {Row(0, 2.5, 0, 0.25, M), Row(2.5, 5, 1.5, -1.5e-6, 0.5), Row(0.05, 5, 0, M, 2),
                    Row(M, 7, 0, 12345.678, 1)};
    s.StarValues = {-1.25};
    s.Topography = {{7, 99.25}, {0, 100}};
    s.SourceType = 2;
    s.SourceA = 2;
    EXPECT_TRUE(PrepareSurvey(s, 24.5).Accepted);
    s.DataSets[0].Calculated = {1.2345e-6, 1e-5, 0.25, -3};
    return s;
}

TSurveyState Reopen(const std::string& text)
{
    const TSurveyOpenResult r = OpenSurveyText(TSurveyState(), text, "back.sp2", std::nullopt, nullptr, 100);
    EXPECT_NE(r.Kind, ReadError);
    return r.Survey;
}

std::string Slurp(const fs::path& p) { return ReadTextFileIfAny(p.string()).value_or("<none>"); }

class SurveyWriterFiles : public testing::Test {
protected:
    void SetUp() override
    {
        FDir = fs::temp_directory_path() / ("survey_writer_" + std::to_string(::getpid()) + "_" +
                                            testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(FDir);
        fs::create_directories(FDir);
    }
    void TearDown() override { fs::remove_all(FDir); }
    fs::path FDir;
};

struct TDecimalComma {
    TDecimalComma() { FormatSettings().DecimalSeparator = ','; }
    ~TDecimalComma() { ResetFormatSettings(); }
};

} // namespace

TEST(SurveyWriter, FourVariantsByteForByte)
{
    const TSurveyState s = TestSurvey();
    const TPolygonModel model = TestModel();
    EXPECT_EQ(FormatSurveyText(s, true, nullptr), Fixture("expected_observed.sp2"));
    EXPECT_EQ(FormatSurveyText(s, false, nullptr), Fixture("expected_calculated.sp2"));
    EXPECT_EQ(FormatSurveyText(s, true, &model), Fixture("expected_project.sp2"));
    EXPECT_EQ(FormatSurveyText(s, false, &model), Fixture("expected_model_calculated.sp2"));
}

TEST(SurveyWriter, SurveyReadFromAFileWithTheDefaultColumns)
{
    const TSurveyState s = Reopen("P1 P2 dU\n0 1 0.25\n1 2 -0.5\n");
    EXPECT_EQ(FormatSurveyText(s, true, nullptr), "P1  P2 du weight \n0 1 0.25 1\n1 2 -0.5 1\n");
}

TEST(SurveyWriter, ObservedVariantsReadBackToTheWrittenPrecision)
{
    // Positions and values over several magnitudes; positions to FormatValue's decimals, dU to five
    // significant digits, "***" positions to fifteen.
    TSurveyState s;
    s.P1yColumn = 2;
    const double values[] = {0.0123456, 1.23456, 123.456, -0.000987654, 98765.4321, 3.3333333};
    for (int i = 0; i < 6; ++i)
        s.SurveyRows.push_back({values[i] * (i + 1), values[5 - i] + 200, values[i], M, 0, 0, values[5 - i],
                                std::abs(values[i]), M});
    s.StarValues = {1.0 / 3, -123456.789012345};
    s.SourceA = 0.123456789012345;
    ASSERT_TRUE(PrepareSurvey(s, 50).Accepted);
    const TPolygonModel model = TestModel();
    const auto decimals = [](double v) { return 1 + (std::abs(v) >= 1 ? 1 : std::ceil(-std::log10(std::abs(v)))); };
    for (const TPolygonModel* withModel : {static_cast<const TPolygonModel*>(nullptr), &model}) {
        const TSurveyOpenResult back = OpenSurveyText(TSurveyState(), FormatSurveyText(s, true, withModel), "b.sp2",
                                                      std::nullopt, nullptr, 50);
        ASSERT_NE(back.Kind, ReadError);
        const osource &a = s.DataSets[0], &b = back.Survey.DataSets[0];
        ASSERT_EQ(b.P1x.Length(), a.P1x.Length());
        for (int k = 0; k < a.P1x.Length(); ++k) {
            EXPECT_NEAR(b.P1x[k], a.P1x[k], 0.5 * std::pow(10, -decimals(a.P1x[k])) * 1.0001);
            EXPECT_NEAR(b.P2x[k], a.P2x[k], 0.5 * std::pow(10, -decimals(a.P2x[k])) * 1.0001);
            EXPECT_NEAR(b.P1y[k], a.P1y[k], 0.5 * std::pow(10, -decimals(a.P1y[k])) * 1.0001);
            EXPECT_NEAR(b.Observed[k], a.Observed[k], 5e-5 * std::abs(a.Observed[k]));
            EXPECT_NEAR(b.Weight[k], a.Weight[k], 0.5 * std::pow(10, 1 - decimals(a.Weight[k])) * 1.0001);
            EXPECT_EQ(b.P1[k], a.P1[k]);
            EXPECT_EQ(b.P2[k], a.P2[k]);
        }
        ASSERT_EQ(back.Survey.StarValues.Length(), 2);
        for (int i = 0; i < 2; ++i)
            EXPECT_NEAR(back.Survey.StarValues[i], s.StarValues[i], 1e-14 * std::abs(s.StarValues[i]));
        EXPECT_EQ(back.Survey.P1yColumn >= 0, true);
        EXPECT_EQ(back.Kind == ReadDataWithModel, withModel != nullptr);
        if (withModel) {
            EXPECT_NEAR(back.Survey.SourceA, s.SourceA, 1e-15);
            EXPECT_EQ(back.Survey.SourceValues.Length(), 50);
            EXPECT_EQ(back.Model->Nodes.Length(), model.Nodes.Length());
            EXPECT_EQ(back.Survey.StartResistivity, model.Rho0);
        }
    }
}

TEST(SurveyWriter, SurveyWithTopographyAndMissingValuesReadsBackUnchanged)
{
    // Everything of TestSurvey is written at its own precision, so one more round changes nothing.
    const TSurveyState s = TestSurvey();
    const std::string first = FormatSurveyText(s, true, nullptr);
    const TSurveyState back = Reopen(first);
    EXPECT_EQ(FormatSurveyText(back, true, nullptr), first);
    EXPECT_EQ(back.DataSets[0].P1[3], NoElectrode);
    EXPECT_FALSE(back.DataSets[0].ObservedPresent[1]);
    EXPECT_EQ(back.Topography, s.Topography);
}

TEST(SurveyWriter, CalculatedValuesBecomeTheObservedOnesOfTheFileWritten)
{
    const TSurveyState s = TestSurvey();
    const TSurveyState back = Reopen(FormatSurveyText(s, false, nullptr));
    const osource& b = back.DataSets[0];
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(b.Observed[k], s.DataSets[0].Calculated[k], 5e-5 * std::abs(s.DataSets[0].Calculated[k]));
        EXPECT_TRUE(b.ObservedPresent[k]);
    }
}

TEST(SurveyWriter, DuColumnUsesTheDecimalSeparatorOfTheFormatSettings)
{
    const TSurveyState s = Reopen("P1 P2 dU\n0.5 1 0.25\n1 2 -1.5e-6\n");
    std::string text;
    {
        TDecimalComma comma;
        text = FormatSurveyText(s, true, nullptr);
    }
    EXPECT_EQ(text, "P1  P2 du weight \n0.50 1 0,25 1\n1 2 -1,5E-6 1\n");
    const TSurveyState back = Reopen(text);
    EXPECT_EQ(back.DataSets[0].Observed[0], 0.25);
    EXPECT_EQ(back.DataSets[0].Observed[1], -1.5e-6);
}

TEST_F(SurveyWriterFiles, WritesTheSurveyAndTheConfigurationBesideIt)
{
    TSurveyState s = TestSurvey();
    s.Settings.numqp = 4;
    const TPolygonModel model = TestModel();
    const fs::path target = FDir / "line.sp2";
    std::ofstream(target) << "old survey\n";
    EXPECT_EQ(WriteDataFile(s, target.string(), true, &model), "");
    EXPECT_EQ(Slurp(target), FormatSurveyText(s, true, &model));
    EXPECT_EQ(Slurp(FDir / "line.cfg"), ProgramConfigText(s.Settings));
    EXPECT_EQ(std::distance(fs::directory_iterator(FDir), fs::directory_iterator()), 2) << "no temporary left";

    // And the file opens again with its model and its configuration.
    const TSurveyOpenResult r = OpenSurveyFile(TSurveyState(), target.string(), [](const std::string&) { return true; }, 100);
    EXPECT_EQ(r.Kind, ReadDataWithModel);
    EXPECT_EQ(r.Survey.Settings.numqp, 4);
}

TEST_F(SurveyWriterFiles, FailedSavesLeaveTheOldFilesWhole)
{
    const TSurveyState s = TestSurvey();
    const fs::path regular = FDir / "regular";
    std::ofstream(regular) << "x";
    struct Case {
        fs::path target;
        std::string failing;
    };
    const Case cases[] = {
        {FDir / "missing" / "a.sp2", (FDir / "missing" / "a.sp2").string()},
        {regular / "a.sp2", (regular / "a.sp2").string()},
    };
    for (const Case& c : cases) EXPECT_EQ(WriteDataFile(s, c.target.string(), true, nullptr), "Cannot write file " + c.failing);

    // The survey is saved but its ".cfg" cannot replace a folder of that name: the old folder stays.
    const fs::path target = FDir / "b.sp2";
    fs::create_directory(FDir / "b.cfg");
    EXPECT_EQ(WriteDataFile(s, target.string(), true, nullptr),
              target.string() + " was saved; cannot write file " + (FDir / "b.cfg").string());
    EXPECT_TRUE(fs::is_directory(FDir / "b.cfg"));
    EXPECT_EQ(Slurp(target), FormatSurveyText(s, true, nullptr));
}

TEST_F(SurveyWriterFiles, DiskFullHalfWayLeavesTheOldFileWhole)
{
    // A child process may write only a few hundred bytes per file: the write fails half-way, like a full disk.
    TSurveyState s = TestSurvey();
    const TMeasurementRow first = s.SurveyRows[0];
    for (int i = 0; i < 6; ++i) s.SurveyRows.push_back(first);
    ASSERT_TRUE(PrepareSurvey(s, 24.5).Accepted);
    const TPolygonModel model = TestModel();
    ASSERT_GT(FormatSurveyText(s, true, &model).size(), 600u);
    const fs::path target = FDir / "full.sp2";
    const std::string old = "P1 P2 dU\n0 1 2\n";
    std::ofstream(target) << old;

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{600, 600};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const std::string message = WriteDataFile(s, target.string(), true, &model);
        ::_exit(message == "Cannot write file " + target.string() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save reports its failure";
    EXPECT_EQ(Slurp(target), old);
    EXPECT_FALSE(fs::exists(FDir / "full.cfg")) << "the configuration is written only after the survey";
    EXPECT_EQ(std::distance(fs::directory_iterator(FDir), fs::directory_iterator()), 1) << "no temporary left";
}
