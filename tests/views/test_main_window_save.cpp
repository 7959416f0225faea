// The Save command of the main window through its dialog: nothing without a survey, the kinds written under
// their extensions with the ".cfg" beside, the messages when nothing could be saved, and the worksheet
// picture of the two views.
#include "MainWindowFixture.h"

#include "core/SurveyWriter.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"

namespace {

// Answers the save dialog with a name and a filter index.
void AnswerSave(TPromptScript& script, const std::string& name, int kind)
{
    script.Expect(TPromptKind::SaveDialog, [name, kind](TPrompt& p) {
        EXPECT_EQ(p.File->Filter, SaveDialogFilter);
        p.File->FileName = name;
        p.File->FilterIndex = kind;
        p.Result = mrOk;
    });
}

} // namespace

TEST_F(MainWindow, SaveDoesNothingWithoutASurvey)
{
    TProbeMainForm& f = Start();
    f.SpeedButton2Click();
    EXPECT_TRUE(Script->Log().empty()) << "no dialog";
}

TEST_F(MainWindow, SaveWritesEachKindUnderItsExtension)
{
    TProbeMainForm& f = Start();
    OpenSample();
    struct Case {
        int Kind;
        const char* Chosen;
        const char* Written;
    };
    for (const Case& c : {Case{skProjectData, "project.txt", "project.sp2"}, Case{skCalculatedData, "calc", "calc.sp2"},
                          Case{skObservedData, "obs.SP2", "obs.sp2"}, Case{skModelWithCalculated, "mc.sp2", "mc.sp2"},
                          Case{skWorksheet, "sheet.sp2", "sheet.bmp"}, Case{skModelPicture, "model", "model.bmp"},
                          Case{skProgramConfig, "settings.sp2", "settings.cfg"}}) {
        SCOPED_TRACE(c.Kind);
        AnswerSave(*Script, Temp.File(c.Chosen), c.Kind);
        f.SpeedButton2Click();
        EXPECT_TRUE(std::filesystem::exists(Temp.File(c.Written)));
        if (c.Kind <= skModelWithCalculated) {
            const bool observed = c.Kind == skProjectData || c.Kind == skObservedData;
            const bool withModel = c.Kind == skProjectData || c.Kind == skModelWithCalculated;
            EXPECT_EQ(FileText(Temp.File(c.Written)),
                      FormatSurveyText(f.Survey, observed, withModel ? &f.PolygonChart1->Model : nullptr));
            const std::string cfg = std::filesystem::path(Temp.File(c.Written)).replace_extension(".cfg").string();
            EXPECT_EQ(FileText(cfg), ProgramConfigText(f.Survey.Settings));
        }
    }
    TBitmap sheet;
    sheet.LoadFromFile(Temp.File("sheet.bmp"));
    EXPECT_EQ(sheet.Width(), f.PseudoSection2d1->Width());
    EXPECT_EQ(sheet.Height(), f.PseudoSection2d1->Height() + f.PolygonChart1->Height());
    TBitmap model;
    model.LoadFromFile(Temp.File("model.bmp"));
    EXPECT_EQ(model.Width(), f.PolygonChart1->Width());
    EXPECT_EQ(model.Height(), f.PolygonChart1->Height());
}

TEST_F(MainWindow, SaveSaysWhenNothingWasSavedOrAWriteFailed)
{
    TProbeMainForm& f = Start();
    f.Survey.OpenInModelingMode = true;
    OpenSample();
    f.Survey.ModelReady = true; // as after "Create survey": computed, nothing observed
    AnswerSave(*Script, Temp.File("p.sp2"), skProjectData);
    Script->AnswerMessage(mrOk);
    f.SpeedButton2Click();
    EXPECT_EQ(Script->Log().back().Text, "Nothing was saved: there are no observed data.");
    AnswerSave(*Script, Temp.File("o.sp2"), skObservedData);
    Script->AnswerMessage(mrOk);
    f.SpeedButton2Click();
    EXPECT_EQ(Script->Log().back().Text, "Nothing was saved: there are no observed data.");
    EXPECT_FALSE(std::filesystem::exists(Temp.File("p.sp2")));

    f.Survey.ModelReady = false;
    f.Survey.DataLoaded = true;
    for (int kind : {skCalculatedData, skModelWithCalculated}) {
        AnswerSave(*Script, Temp.File("c.sp2"), kind);
        Script->AnswerMessage(mrOk);
        f.SpeedButton2Click();
        EXPECT_EQ(Script->Log().back().Text, "Nothing was saved: run the forward problem first.");
    }

    const std::string missing = Temp.File("no folder/w");
    for (int kind : {skObservedData, skWorksheet, skProgramConfig}) {
        AnswerSave(*Script, missing, kind);
        Script->AnswerMessage(mrOk);
        f.SpeedButton2Click();
        EXPECT_EQ(Script->Log().back().Text, "Cannot write file " + SaveKindFileName(kind, missing));
    }
}

TEST_F(MainWindow, TheWorksheetStacksTheViewsDataViewOnTop)
{
    TProbeMainForm& f = Start();
    OpenSample();
    f.PseudoSection2d1->SetColor(clYellow);
    f.PseudoSection2d1->SetBounds(0, 0, 790, 155);
    f.PolygonChart1->SetBounds(0, 0, 790, 184);
    const auto sheet = f.WorksheetPicture();
    ASSERT_EQ(sheet->Width(), 790);
    ASSERT_EQ(sheet->Height(), 339);
    auto pixel = [&](int x, int y) { return sheet->PixelRGB(x, y); };
    EXPECT_EQ(pixel(1, 1), ColorToRGB(clYellow));
    EXPECT_EQ(pixel(788, 153), ColorToRGB(clYellow));
    EXPECT_EQ(pixel(1, 156), ColorToRGB(clWhite));
    EXPECT_EQ(pixel(788, 337), ColorToRGB(clWhite));
}
