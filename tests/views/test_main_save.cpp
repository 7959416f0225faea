// The Save command's seven kinds against the survey's flags, the names they write under, their messages,
// and the worksheet picture of two views stacked.
#include "views/ResMainFormSave.h"

#include "core/SurveyOpen.h"
#include "core/SurveyWriter.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/TextFile.h"
#include "tests/platform/rtl/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

namespace {

const std::string SamplePath = std::string(VSP_TEST_DATA) + "/../../examples/sample.sp2";

std::string SavedFileText(const std::string& path)
{
    std::string bytes;
    LoadFileBytes(path, bytes);
    return bytes;
}

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

// The sample survey with its model, calculated values set apart from the observed ones.
struct SampleSurvey {
    TSurveyState Survey;
    TPolygonModel Model;

    SampleSurvey()
    {
        TSurveyOpenResult r = OpenSurveyFile(TSurveyState{}, SamplePath, {}, 100.0);
        Survey = std::move(r.Survey);
        Model = *r.Model;
        for (osource& set : Survey.DataSets) {
            set.Calculated.SetLength(set.Observed.Length());
            for (int k = 0; k < set.Observed.Length(); ++k) set.Calculated[k] = 2.0 * set.Observed[k] + 1.0;
        }
    }
};

} // namespace

TEST(SaveCommand, SevenKindsAgainstTheFlags)
{
    const SampleSurvey sample;
    struct Case {
        int Kind;
        bool DataLoaded, SurveyReady, ModelReady;
        const char* Message;  // nullptr: saved
        bool Observed, WithModel;
    };
    const Case cases[] = {
        {skProjectData, true, true, false, nullptr, true, true},
        {skProjectData, true, false, true, NothingSavedNoObservedData, false, false},
        {skProjectData, false, true, true, NothingSavedNoObservedData, false, false},
        {skCalculatedData, false, false, true, nullptr, false, false},
        {skCalculatedData, true, true, false, NothingSavedNoCalculatedData, false, false},
        {skObservedData, true, false, false, nullptr, true, false},
        {skObservedData, false, true, true, NothingSavedNoObservedData, false, false},
        {skModelWithCalculated, false, true, true, nullptr, false, true},
        {skModelWithCalculated, true, true, false, NothingSavedNoCalculatedData, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("kind " + std::to_string(c.Kind) + " loaded " + std::to_string(c.DataLoaded) + " ready " +
                     std::to_string(c.SurveyReady) + " model " + std::to_string(c.ModelReady));
        TTempFolder temp;
        TSurveyState survey = sample.Survey;
        survey.DataLoaded = c.DataLoaded;
        survey.SurveyReady = c.SurveyReady;
        survey.ModelReady = c.ModelReady;
        const std::string message = SaveSurveyAs(c.Kind, temp.File("out.txt"), survey, &sample.Model, {});
        if (c.Message) {
            EXPECT_EQ(message, c.Message);
            EXPECT_TRUE(std::filesystem::is_empty(temp.Path())) << "nothing is written";
            continue;
        }
        EXPECT_EQ(message, "");
        EXPECT_EQ(SavedFileText(temp.File("out.sp2")),
                  FormatSurveyText(survey, c.Observed, c.WithModel ? &sample.Model : nullptr));
        EXPECT_EQ(SavedFileText(temp.File("out.cfg")), ProgramConfigText(survey.Settings)) << "a .cfg beside every .sp2";
        EXPECT_FALSE(Exists(temp.File("out.txt")));
    }
}

TEST(SaveCommand, PicturesAndConfigurationGetTheirExtension)
{
    const SampleSurvey sample;
    TTempFolder temp;
    std::vector<std::pair<std::string, bool>> pictures;
    const TPictureWriter writer = [&](const std::string& path, bool modelOnly) {
        pictures.emplace_back(path, modelOnly);
        return true;
    };
    EXPECT_EQ(SaveSurveyAs(skWorksheet, temp.File("sheet.sp2"), sample.Survey, nullptr, writer), "");
    EXPECT_EQ(SaveSurveyAs(skModelPicture, temp.File("model"), sample.Survey, nullptr, writer), "");
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_EQ(pictures[0], std::make_pair(temp.File("sheet.bmp"), false));
    EXPECT_EQ(pictures[1], std::make_pair(temp.File("model.bmp"), true));

    EXPECT_EQ(SaveSurveyAs(skProgramConfig, temp.File("settings.sp2"), sample.Survey, nullptr, writer), "");
    EXPECT_EQ(SavedFileText(temp.File("settings.cfg")), ProgramConfigText(sample.Survey.Settings));
    EXPECT_FALSE(Exists(temp.File("settings.sp2")));
}

TEST(SaveCommand, AFailedWriteNamesTheFile)
{
    SampleSurvey sample;
    sample.Survey.ModelReady = true;
    TTempFolder temp;
    const std::string missing = temp.File("no such folder/out");
    const TPictureWriter refuse = [](const std::string&, bool) { return false; };
    struct Case {
        int Kind;
        const char* Extension;
    };
    for (const Case c : {Case{skProjectData, ".sp2"}, Case{skCalculatedData, ".sp2"}, Case{skWorksheet, ".bmp"},
                         Case{skModelPicture, ".bmp"}, Case{skProgramConfig, ".cfg"}}) {
        SCOPED_TRACE(c.Kind);
        EXPECT_EQ(SaveSurveyAs(c.Kind, missing, sample.Survey, &sample.Model, refuse),
                  "Cannot write file " + missing + c.Extension);
    }
    // A file already there stays whole when its replacement fails.
    SaveFileSafely(temp.File("keep.cfg"), "old");
    std::filesystem::permissions(temp.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    if (::geteuid() != 0) {
        EXPECT_EQ(SaveSurveyAs(skProgramConfig, temp.File("keep"), sample.Survey, nullptr, refuse),
                  "Cannot write file " + temp.File("keep.cfg"));
        EXPECT_EQ(SavedFileText(temp.File("keep.cfg")), "old");
    }
}

TEST(SaveCommand, FileNamesOfTheKinds)
{
    struct Case {
        int Kind;
        const char* Chosen;
        const char* Name;
    };
    const Case cases[] = {
        {skProjectData, "/d/a.sp2", "/d/a.sp2"},       {skObservedData, "/d/a.SP2", "/d/a.sp2"},
        {skCalculatedData, "/d/a.bmp", "/d/a.sp2"},    {skModelWithCalculated, "/d/a", "/d/a.sp2"},
        {skWorksheet, "/d/a.sp2", "/d/a.bmp"},         {skModelPicture, "/d.x/a", "/d.x/a.bmp"},
        {skProgramConfig, "/d/a.b.sp2", "/d/a.b.cfg"},
    };
    for (const Case& c : cases) EXPECT_EQ(SaveKindFileName(c.Kind, c.Chosen), c.Name) << c.Chosen;
}

TEST(Worksheet, TwoViewsStackedDataViewOnTop)
{
    TBitmap upper(790, 155), lower(790, 184);
    upper.Canvas().Brush().SetColor(clRed);
    upper.Canvas().FillRect({0, 0, 790, 155});
    lower.Canvas().Brush().SetColor(clBlue);
    lower.Canvas().FillRect({0, 0, 790, 184});
    const auto sheet = StackPictures({&upper, &lower});
    ASSERT_EQ(sheet->Width(), 790);
    ASSERT_EQ(sheet->Height(), 339);
    const struct {
        int X, Y;
        TColor Color;
    } probes[] = {{0, 0, clRed}, {789, 154, clRed}, {0, 155, clBlue}, {789, 338, clBlue}, {400, 200, clBlue}};
    for (const auto& p : probes) EXPECT_EQ(sheet->Canvas().Pixels(p.X, p.Y), p.Color) << p.X << "," << p.Y;
}
