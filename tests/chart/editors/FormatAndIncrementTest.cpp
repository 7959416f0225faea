// The numeric format editor (taking formats apart and building them back in two locales, custom
// formats, Cancel) and the increment dialog (reading days and times, its error message, standard steps,
// the increment text).
#include "chart/editors/LumAxisIncr.h"
#include "chart/editors/LumFormatting.h"

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "tests/chart/editors/EditorTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The format settings of a test, back to the defaults afterwards.
struct TLocale {
    TLocale(char Thousands, char Decimal)
    {
        FormatSettings().ThousandSeparator = Thousands;
        FormatSettings().DecimalSeparator = Decimal;
    }
    ~TLocale() { ResetFormatSettings(); }
};

struct TSeen {
    bool Number = false, Custom = false, Percent = false, Thousands = false, FixedDecimals = false;
    int Fixed = -1, Decimals = -1;
    std::string CustomText;
    bool CustomListed = false;
};

// Opens the editor on Format, notes what it shows, presses OK (or Cancel) and returns the result.
std::string RunEditor(const std::string &Format, TSeen &Seen, bool Ok = true)
{
    TPromptScript script;
    script.DriveForm([&](TForm &form) {
        auto &e = FormAs<TFormatEditor>(form);
        EXPECT_EQ(e.Caption(), "Numeric Format");
        Seen.Number = e.RBNumber->isChecked();
        Seen.Custom = e.RBCustom->isChecked();
        Seen.Percent = e.CBPercent->isChecked();
        Seen.Thousands = e.CBThousands->isChecked();
        Seen.FixedDecimals = e.CBFixedDecimals->isChecked();
        Seen.Fixed = e.UDFixed->value();
        Seen.Decimals = e.UDDecimals->value();
        Seen.CustomText = e.CBCustom->currentText().toStdString();
        Seen.CustomListed = e.CBCustom->findText(QString::fromStdString(Format)) >= 0;
        (Ok ? e.BOK : e.BCancel)->click();
    });
    const std::string result = ShowFormatEditor(nullptr, Format, true);
    EXPECT_TRUE(script.Failures().empty());
    return result;
}

} // namespace

TEST(FormatEditor, TakesNumberFormatsApartAndBuildsThemBackInBothLocales)
{
    struct Case {
        char Thousands, Decimal;
        std::string Format;
        bool Percent, Grouped, FixedDecimals;
        int Fixed, Decimals;
    };
    const std::vector<Case> cases = {
        {',', '.', "#,##0.00", false, true, true, 1, 2}, {',', '.', "0.0%", true, false, true, 1, 1},
        {',', '.', "#,##0", false, true, false, 1, 0},   {',', '.', "0.###", false, false, false, 1, 3},
        {',', '.', "0,000.0", false, true, true, 4, 1},  {',', '.', "000", false, false, false, 3, 0},
        {'.', ',', "#.##0,00", false, true, true, 1, 2}, {'.', ',', "0,0%", true, false, true, 1, 1},
        {'.', ',', "#.###", false, true, false, 0, 0},
    };
    for (const Case &c : cases) {
        TLocale locale(c.Thousands, c.Decimal);
        TSeen seen;
        EXPECT_EQ(RunEditor(c.Format, seen), c.Format) << c.Format;
        EXPECT_TRUE(seen.Number) << c.Format;
        EXPECT_EQ(seen.Percent, c.Percent) << c.Format;
        EXPECT_EQ(seen.Thousands, c.Grouped) << c.Format;
        EXPECT_EQ(seen.FixedDecimals, c.FixedDecimals) << c.Format;
        EXPECT_EQ(seen.Fixed, c.Fixed) << c.Format;
        EXPECT_EQ(seen.Decimals, c.Decimals) << c.Format;
    }
}

TEST(FormatEditor, OtherFormatsAreCustomAndCancelGivesTheTextBack)
{
    TLocale locale(',', '.');
    TSeen seen;
    EXPECT_EQ(RunEditor("00e-0", seen), "00e-0");
    EXPECT_TRUE(seen.Custom);
    EXPECT_FALSE(seen.Number);
    EXPECT_TRUE(seen.CustomListed) << "the format joins the custom list";

    TSeen cancelled;
    EXPECT_EQ(RunEditor("#,##0.00", cancelled, false), "#,##0.00");
    {
        TPromptScript script;
        script.DriveForm([](TForm &form) {
            auto &e = FormAs<TFormatEditor>(form);
            e.CBThousands->click();
            e.UDDecimals->setValue(4);
            e.BCancel->click();
        });
        EXPECT_EQ(ShowFormatEditor(nullptr, "0.00", true), "0.00");
    }
    {
        // Percent turns the thousands and currency off; building follows the controls.
        TPromptScript edit;
        edit.DriveForm([](TForm &form) {
            auto &e = FormAs<TFormatEditor>(form);
            e.CBThousands->click();
            EXPECT_TRUE(e.CBThousands->isChecked());
            e.CBPercent->click();
            EXPECT_FALSE(e.CBThousands->isChecked());
            EXPECT_FALSE(e.CBThousands->isEnabled());
            e.UDDecimals->setValue(3);
            e.BOK->click();
        });
        EXPECT_EQ(ShowFormatEditor(nullptr, "0.0", true), "0.000%") << "the decimals stay fixed";
    }

    // A date format opens on the date list, which a dialog without date-time hides.
    TPromptScript date;
    date.DriveForm([](TForm &form) {
        auto &e = FormAs<TFormatEditor>(form);
        EXPECT_TRUE(e.RBDate->isChecked());
        EXPECT_TRUE(e.CBDate->isEnabled());
        EXPECT_EQ(e.CBDate->currentText(), "dd-mm-yyyy");
        e.BOK->click();
    });
    EXPECT_EQ(ShowFormatEditor(nullptr, "dd-mm-yyyy", true), "dd-mm-yyyy");
}

namespace {

struct TIncrementRun {
    double Value = 0;
    bool Exact = false;
    int Step = dtNoStep;
    TModalResult Result = mrNone;
    std::vector<std::string> Messages;
};

// The increment dialog on a date-time axis: types Text, presses OK (once more with "1" after a refusal).
TIncrementRun TypeIncrement(const std::string &Text, bool DateTime = true)
{
    TIncrementRun run;
    TPromptScript script;
    script.DriveForm([&](TForm &form) {
        auto &e = FormAs<TAxisIncrement>(form);
        if (e.RBStandard->isChecked()) e.RBCustom->click();
        e.ECustom->setText(QString::fromStdString(Text));
        e.BOk->click();
        if (e.isVisible()) {
            e.ECustom->setText("1");
            e.BOk->click();
        }
    });
    for (int i = 0; i < 2; ++i)
        script.Expect(TPromptKind::MessageBox, [&](TPrompt &p) {
            run.Messages.push_back(p.Text);
            p.Result = mrOk;
        });
    TAxisIncrement dialog(nullptr);
    dialog.DateTimeAxis = DateTime;
    dialog.IncrementValue = 0.25;
    run.Result = dialog.ShowModal();
    run.Value = dialog.IncrementValue;
    run.Exact = dialog.ExactSteps;
    return run;
}

} // namespace

TEST(IncrementDialog, ReadsDaysAndTimesAndRefusesOtherText)
{
    struct Case {
        std::string Text;
        double Days;
        bool DateTime;
    };
    const std::vector<Case> cases = {
        {"2 12:00:00", 2.5, true}, {"1.5", 1.5, true}, {"12:30:00", 12.5 / 24, true}, {"3", 3, true},
        {"0.125", 0.125, false},
    };
    for (const Case &c : cases) {
        const TIncrementRun run = TypeIncrement(c.Text, c.DateTime);
        EXPECT_EQ(run.Result, mrOk) << c.Text;
        EXPECT_NEAR(run.Value, c.Days, 1e-9) << c.Text;
        EXPECT_TRUE(run.Messages.empty()) << c.Text;
    }
    for (const std::string bad : {"abc", "2 xx"}) {
        const TIncrementRun run = TypeIncrement(bad);
        ASSERT_EQ(run.Messages.size(), 1u) << bad;
        EXPECT_EQ(run.Messages[0].rfind("Incorrect value. Reason: ", 0), 0u) << run.Messages[0];
        EXPECT_GT(run.Messages[0].size(), std::string("Incorrect value. Reason: ").size());
        EXPECT_EQ(run.Result, mrOk) << "the dialog stayed open for the second try";
        EXPECT_EQ(run.Value, 1);
    }
}

TEST(IncrementDialog, StandardStepsAndTheIncrementText)
{
    {
        // An exact one-day increment opens on the step "One Day"; Cancel leaves the fields.
        TPromptScript script;
        script.DriveForm([](TForm &form) {
            auto &e = FormAs<TAxisIncrement>(form);
            EXPECT_TRUE(e.RBStandard->isChecked());
            EXPECT_EQ(e.CBSteps->currentText(), "One Day");
            EXPECT_FALSE(e.ECustom->isEnabled());
            EXPECT_TRUE(e.CBExact->isVisible());
            e.CBSteps->setCurrentIndex(19);
            emit e.CBSteps->activated(19);
            e.BCancel->click();
        });
        TAxisIncrement dialog(nullptr);
        dialog.DateTimeAxis = true;
        dialog.ExactSteps = true;
        dialog.IncrementValue = 1;
        dialog.StepIndex = FindDateTimeStep(1);
        EXPECT_EQ(dialog.ShowModal(), mrCancel);
        EXPECT_EQ(dialog.IncrementValue, 1);
    }
    {
        // Choosing the standard step "One Week" and OK.
        TPromptScript week;
        week.DriveForm([](TForm &form) {
            auto &e = FormAs<TAxisIncrement>(form);
            EXPECT_TRUE(e.RBCustom->isChecked());
            EXPECT_FALSE(e.CBExact->isEnabled());
            EXPECT_EQ(e.ECustom->text().toStdString(), TimeToStr(1.0 / 86400)) << "zero shows one second";
            e.RBStandard->click();
            EXPECT_TRUE(e.CBExact->isChecked());
            e.CBSteps->setCurrentIndex(19);
            emit e.CBSteps->activated(19);
            e.BOk->click();
        });
        TAxisIncrement zero(nullptr);
        zero.DateTimeAxis = true;
        ASSERT_EQ(zero.ShowModal(), mrOk);
        EXPECT_EQ(zero.IncrementValue, 7);
        EXPECT_TRUE(zero.ExactSteps);
    }

    EXPECT_EQ(AxisIncrementText(true, true, "", 1), "One Day");
    EXPECT_EQ(AxisIncrementText(true, false, "", 1), "1");
    EXPECT_EQ(AxisIncrementText(true, false, "", 2.5), "2 " + TimeToStr(0.5));
    EXPECT_EQ(AxisIncrementText(true, true, "", 0), TimeToStr(1.0 / 86400));
    EXPECT_EQ(AxisIncrementText(false, false, "#,##0.###", 2.5), "2.5");
    EXPECT_EQ(AxisIncrementText(false, false, "0.0", 0.125), "0.125") << "a format that loses the value";
}
