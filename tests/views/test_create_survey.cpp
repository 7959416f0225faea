// The "Create survey" dialog through prompter scripts: the separation's inclusive range, a comma as the
// point, a point number that is no number, and Cancel, which stores nothing.
#include "core/SurveyData.h"
#include "platform/controls/Prompter.h"
#include "ui/uibtn.h"
#include "views/Dearsetup.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TCreateCase {
    const char* Points;
    const char* Separation;
    bool Closes;
    int Count;       // stored point number (0: none stored)
    double Spacing;  // stored separation (0: none stored)
};

TEST(CreateSurvey, ApplyClosesOnlyWithValuesInRange)
{
    const TCreateCase cases[] = {
        {"100", "0.4", false, 100, 0},  {"100", "301", false, 100, 0}, {"100", "0.5", true, 100, 0.5},
        {"100", "300", true, 100, 300}, {"12", "2,5", true, 12, 2.5},  {"many", "1", true, 5, 1},
        {"2000", "1", true, 1000, 1},   {"100", "", false, 100, 0},    {"100", "1 m", false, 100, 0},
    };
    for (const TCreateCase& c : cases) {
        SCOPED_TRACE(std::string(c.Points) + " / " + c.Separation);
        TSurveyState s;
        TDefarray dialog(nullptr, s);
        TPromptScript script;
        bool openAfterApply = false;
        script.DriveForm([&](TForm& form) {
            auto& d = dynamic_cast<TDefarray&>(form);
            d.SpinEdit3.SetText(c.Points);
            d.Edit1.SetText(c.Separation);
            d.uiPicBtn1->PerformClick();
            openAfterApply = form.isVisible();
            if (openAfterApply) form.done(mrCancel);  // the close box
        });
        const TModalResult result = dialog.ShowModal();
        EXPECT_TRUE(script.Failures().empty());
        EXPECT_EQ(openAfterApply, !c.Closes);
        EXPECT_EQ(result, c.Closes ? mrOk : mrCancel);
        EXPECT_EQ(s.SyntheticCount, c.Count);
        EXPECT_EQ(s.SyntheticSpacing, c.Spacing);
    }
}

TEST(CreateSurvey, CancelStoresNothingAndTheDefaultsStand)
{
    TSurveyState s;
    s.SyntheticCount = 33;
    s.SyntheticSpacing = 7;
    TDefarray dialog(nullptr, s);
    EXPECT_EQ(dialog.Caption(), "Create survey");
    EXPECT_EQ(dialog.SpinEdit3.Value(), 100);
    EXPECT_EQ(dialog.SpinEdit3.MinValue(), 5);
    EXPECT_EQ(dialog.SpinEdit3.MaxValue(), 1000);
    EXPECT_EQ(dialog.Edit1.Text(), "1");
    EXPECT_EQ(dialog.uiPicBtn1->Caption(), "Apply");
    {
        TPromptScript script;
        script.DriveForm([](TForm& form) {
            auto& d = dynamic_cast<TDefarray&>(form);
            d.SpinEdit3.SetText("50");
            d.Edit1.SetText("2");
            form.done(mrCancel);
        });
        EXPECT_EQ(dialog.ShowModal(), mrCancel);
    }
    EXPECT_EQ(s.SyntheticCount, 33);
    EXPECT_EQ(s.SyntheticSpacing, 7);

    // The defaults of a kept dialog on a second run: the values left in it.
    TPromptScript again;
    again.DriveForm([](TForm& form) { dynamic_cast<TDefarray&>(form).uiPicBtn1->PerformClick(); });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_EQ(s.SyntheticCount, 50);
    EXPECT_EQ(s.SyntheticSpacing, 2);
}

} // namespace
