// The axis dialog: opened by the axis pop-up, its caption and hidden controls, the logarithmic base, the
// signed-logarithm options, the end dialog with a label offset, positions that snap back, the engine's
// messages, and the increment and end dialogs' Cancel and refusals.
#include "chart/editors/LumAxMaxMin.h"
#include "chart/editors/LumAxisIncr.h"
#include "chart/editors/LumEdiAxis.h"

#include "chart/control/ChartControl.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/series/SeriesLine.h"
#include "platform/controls/Menus.h"
#include "tests/chart/editors/ChartWindowFixture.h"
#include "tests/chart/editors/EditorTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct TAxisChart : TChartWindow {
    TLineSeries* Line = nullptr;
    TAxisChart()
    {
        Line = &AddSeries<TLineSeries>("Measured", [](int i) { return double(i); });
        Show();
    }
};

// Runs the dialog for the axis with the script's form step.
void RunDialog(TAxisChart& C, TChartAxis& Axis, std::function<void(TFormLumAxis&)> Step,
               std::vector<std::string>* Messages = nullptr)
{
    TPromptScript script;
    script.DriveForm([&](TForm& form) {
        Step(FormAs<TFormLumAxis>(form));
        form.done(mrCancel);
    });
    if (Messages)
        for (int i = 0; i < 4; ++i)
            script.Expect(TPromptKind::MessageBox, [Messages](TPrompt& p) {
                Messages->push_back(p.Text);
                p.Result = mrOk;
            });
    ShowAxisDialog(C.Chart, Axis);
    if (!Messages) {
        EXPECT_TRUE(script.Failures().empty()) << script.Failures().front();
    }
}

} // namespace

TEST(AxisDialog, OpensFromTheAxisPopupForItsAxisOnly)
{
    TAxisChart c;
    TChart other(nullptr);
    {
        TPromptScript script;
        ShowAxisDialog(c.Chart, other.LeftAxis());
        EXPECT_TRUE(script.Log().empty()) << "an axis of another chart opens nothing";
    }
    TPromptScript script;
    script.Expect(TPromptKind::PopupMenu, [](TPrompt& p) {
        EXPECT_TRUE(p.Menu->Items(0)->Enabled());
        p.MenuIndex = 0;
        p.Result = mrOk;
    });
    bool driven = false;
    script.DriveForm([&](TForm& form) {
        driven = true;
        auto& e = FormAs<TFormLumAxis>(form);
        EXPECT_EQ(e.Caption(), "Bottom axis edit");
        EXPECT_EQ(e.Axis(), &c.Chart.BottomAxis());
        EXPECT_TRUE(e.isSizeGripEnabled());
        for (QWidget* hidden : std::initializer_list<QWidget*>{e.PanelLeft, e.LGridZ, e.Edit2, e.LZPos, e.Edit1,
                                                              e.CBLabelStyle, e.LLabelStyle})
            EXPECT_TRUE(hidden->isHidden());
        EXPECT_EQ(e.PageAxis->currentWidget(), e.TabScales);
        form.done(mrCancel);
    });
    c.RightClick({250, c.Chart.ChartRect().Bottom + 2}, Qt::ShiftModifier);
    EXPECT_TRUE(driven);
    EXPECT_TRUE(script.Failures().empty());
}

TEST(AxisDialog, LogarithmicBaseAndTheSignedLogarithmOptions)
{
    TAxisChart c;
    TChartAxis& axis = c.Chart.LeftAxis();
    int rangeChanges = 0;
    axis.OnRangeChange = [&](TChartAxis*) { ++rangeChanges; };
    RunDialog(c, axis, [&](TFormLumAxis& e) {
        EXPECT_EQ(e.Caption(), "Left axis edit");
        EXPECT_FALSE(e.GroupLinLog->isEnabled()) << "a linear axis";
        EXPECT_FALSE(e.ELogBase->isEnabled());
        for (const char* refused : {"1", "0", "abc"}) {
            e.ELogBase->setText(refused);
            EXPECT_EQ(axis.LogarithmicBase(), 10) << refused;
        }
        e.ELogBase->setText("2");
        EXPECT_EQ(axis.LogarithmicBase(), 2);

        // "Dec shift" on a linear axis is stored without recomputing the range.
        e.SpinEdit1->setValue(5);
        EXPECT_EQ(axis.DecShift, 5);
        EXPECT_EQ(rangeChanges, 0);

        e.CBLogarithmic->click();
        EXPECT_TRUE(axis.Logarithmic());
        EXPECT_TRUE(e.GroupLinLog->isEnabled());
        EXPECT_TRUE(e.LogE->isEnabled());
        e.LogE->click();
        EXPECT_NEAR(axis.LogarithmicBase(), 2.718281828459045, 1e-12);
        EXPECT_TRUE(e.LogE->isChecked());
        EXPECT_FALSE(e.LogE->isEnabled());

        const int before = rangeChanges;
        e.SpinEdit1->setValue(4);
        EXPECT_EQ(axis.DecShift, 4);
        EXPECT_GT(rangeChanges, before) << "on a logarithmic axis the range follows";

        // "Min dec" and "Dec shift" enable each other's opposite.
        EXPECT_FALSE(e.Edit3->isEnabled());
        e.CheckBox1->click();
        EXPECT_TRUE(axis.MinDecOn);
        EXPECT_TRUE(e.Edit3->isEnabled());
        EXPECT_FALSE(e.SpinEdit1->isEnabled());
        const double limit = std::max(std::abs(axis.Minimum()), std::abs(axis.Maximum()));
        for (const double typed : {limit, limit + 1, 0.0, -0.5}) {
            e.Edit3->setText(QString::number(typed));
            emit e.Edit3->textEdited(e.Edit3->text());
            EXPECT_EQ(axis.MinDec, 0.01) << typed;
        }
        e.Edit3->setText("0.5");
        emit e.Edit3->textEdited("0.5");
        EXPECT_EQ(axis.MinDec, 0.5);
        e.CheckBox1->click();
        EXPECT_TRUE(e.SpinEdit1->isEnabled());
        EXPECT_FALSE(e.Edit3->isEnabled());
        e.CheckBox2->click();
        EXPECT_TRUE(axis.RoundedLimits);
    });
}

TEST(AxisDialog, EndsThroughTheLabelOffsetAndPositionsThatSnapBack)
{
    TAxisChart c;
    TChartAxis& axis = c.Chart.LeftAxis();
    axis.SetAutomatic(false);
    axis.SetMinimum(-200);
    axis.SetMaximum(40);
    axis.LabelValueOffset = -100;
    TPromptScript script;
    script.DriveForm([&](TForm& form) {
        auto& e = FormAs<TFormLumAxis>(form);
        EXPECT_EQ(e.LAxisMax->text(), "-60");
        e.BAxisMax->click();
        EXPECT_EQ(axis.Maximum(), 50);
        EXPECT_EQ(e.LAxisMax->text(), "-50");
        // The end dialog refuses text that is not a number and stays open; its Cancel changes nothing.
        e.BAxisMin->click();
        EXPECT_EQ(axis.Minimum(), -200);
        // Positions: a start at or above the end, an end at or below the start, snap back.
        e.PageAxis->setCurrentWidget(e.TabPosition);
        e.EStart->setValue(100);
        EXPECT_EQ(e.EStart->value(), 0);
        EXPECT_EQ(axis.StartPosition(), 0);
        e.EStart->setValue(20);
        EXPECT_EQ(axis.StartPosition(), 20);
        e.EEnd->setValue(20);
        EXPECT_EQ(e.EEnd->value(), 100);
        e.EEnd->setValue(80);
        EXPECT_EQ(axis.EndPosition(), 80);
        e.EPos->setValue(-100);
        EXPECT_EQ(axis.PositionPercent(), -100);
        e.CBOtherSide->click();
        EXPECT_TRUE(axis.OtherSide());
        form.done(mrCancel);
    });
    script.DriveForm([](TForm& form) {
        auto& d = FormAs<TAxisMaxMin>(form);
        EXPECT_EQ(d.Caption(), "Maximum Left Axis");
        EXPECT_EQ(d.Label1->text(), "Value:");
        EXPECT_EQ(d.EMaximum->text(), "-60");
        EXPECT_TRUE(d.EMinimum->isHidden());
        d.EMaximum->setText("-50");
        d.BitBtn1->click();
    });
    script.DriveForm([](TForm& form) {
        auto& d = FormAs<TAxisMaxMin>(form);
        d.EMaximum->setText("ten");
        d.BitBtn1->click();
        EXPECT_TRUE(d.isVisible()) << "a conversion error keeps the dialog open";
        d.BitBtn2->click();
    });
    script.Expect(TPromptKind::MessageBox, [](TPrompt& p) {
        EXPECT_EQ(p.Text.rfind("Incorrect value. Reason: ", 0), 0u) << p.Text;
        p.Result = mrOk;
    });
    ShowAxisDialog(c.Chart, axis);
    EXPECT_TRUE(script.Failures().empty()) << script.Failures().front();
}

TEST(AxisDialog, TheEnginesMessagesReachTheUser)
{
    TAxisChart c;
    TChartAxis& axis = c.Chart.BottomAxis();
    c.Line->XValues().SetDateTime(true);
    axis.SetAutomatic(false);
    axis.SetMinimum(0);
    axis.SetMaximum(10);
    std::vector<std::string> messages;
    TPromptScript script;
    script.DriveForm([&](TForm& form) {
        auto& e = FormAs<TFormLumAxis>(form);
        e.CBLogarithmic->click();
        EXPECT_FALSE(axis.Logarithmic()) << "a date-time axis is never logarithmic";
        EXPECT_FALSE(e.CBLogarithmic->isChecked());
        c.Line->XValues().SetDateTime(false);
        e.BAxisMax->click();
        EXPECT_EQ(axis.Maximum(), 10) << "a maximum below the minimum is refused";
        // The increment dialog's Cancel leaves the axis as it was.
        e.BIncre->click();
        EXPECT_EQ(axis.Increment(), 0);
        e.BIncre->click();
        EXPECT_EQ(axis.Increment(), 2.5);
        EXPECT_EQ(e.LAxisIncre->text(), "2.5");
        form.done(mrCancel);
    });
    script.Expect(TPromptKind::MessageBox, [&](TPrompt& p) {
        messages.push_back(p.Text);
        p.Result = mrOk;
    });
    script.DriveForm([](TForm& form) {
        auto& d = FormAs<TAxisMaxMin>(form);
        d.EMaximum->setText("-5");
        d.BitBtn1->click();
    });
    script.Expect(TPromptKind::MessageBox, [&](TPrompt& p) {
        messages.push_back(p.Text);
        p.Result = mrOk;
    });
    script.DriveForm([](TForm& form) {
        auto& d = FormAs<TAxisIncrement>(form);
        EXPECT_EQ(d.Caption(), "Desired Bottom Axis Increment");
        EXPECT_TRUE(d.RGIncrement->isHidden()) << "a value axis";
        d.ECustom->setText("7");
        d.BCancel->click();
    });
    script.DriveForm([](TForm& form) {
        auto& d = FormAs<TAxisIncrement>(form);
        d.ECustom->setText("2.5");
        d.BOk->click();
    });
    ShowAxisDialog(c.Chart, axis);
    EXPECT_TRUE(script.Failures().empty()) << script.Failures().front();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[0].find("ogarithmic"), std::string::npos) << messages[0];
    EXPECT_NE(messages[1].find("Maximum"), std::string::npos) << messages[1];
}

TEST(AxisDialog, PageControlsWriteTheirProperties)
{
    TAxisChart c;
    TChartAxis& axis = c.Chart.LeftAxis();
    RunDialog(c, axis, [&](TFormLumAxis& e) {
        e.PageAxis->setCurrentWidget(e.TabTitle);
        e.ETitle->setText("Potential");
        EXPECT_EQ(axis.Title().Caption(), "Potential");
        e.SETitleAngle->setValue(180);
        EXPECT_EQ(axis.Title().Angle(), 180);
        e.SETitleSize->setValue(30);
        EXPECT_EQ(axis.TitleSize(), 30);
        e.PageAxis->setCurrentWidget(e.TabLabels);
        e.SELabelsAngle->setValue(90);
        EXPECT_EQ(axis.LabelsAngle(), 90);
        e.SESepar->setValue(20);
        EXPECT_EQ(axis.LabelsSeparation(), 20);
        e.CBMultiline->click();
        EXPECT_TRUE(axis.LabelsMultiLine());
        e.CBFormat->setCurrentText("0.00");
        EXPECT_EQ(axis.AxisValuesFormat(), "0.00");
        EXPECT_TRUE(e.CBLabelAlign->isEnabled()) << "a vertical axis";
        e.CBLabelAlign->click();
        EXPECT_EQ(axis.LabelsAlign(), alOpposite);
        e.PageAxis->setCurrentWidget(e.TabTicks);
        e.SEAxisTickLength->setValue(9);
        EXPECT_EQ(axis.TickLength(), 9);
        e.CBTickOnLabels->click();
        EXPECT_EQ(axis.TickOnLabelsOnly(), e.CBTickOnLabels->isChecked());
        e.PageAxis->setCurrentWidget(e.TabMinor);
        e.SEMinorCount->setValue(4);
        EXPECT_EQ(axis.MinorTickCount(), 4);
        e.PageAxis->setCurrentWidget(e.TabScales);
        e.CBInverted->click();
        EXPECT_TRUE(axis.Inverted());
        e.CBAutomatic->click();
        EXPECT_FALSE(axis.Automatic());
        e.EMinOff->setValue(-3);
        EXPECT_EQ(axis.MinimumOffset(), -3);
    });
}
