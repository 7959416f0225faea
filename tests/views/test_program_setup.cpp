// The "Program setup" dialog on the main window with the sample open: each field typed as a user types,
// what Apply, Default, Cancel, Escape and the close box leave in the main window, the boundary preview,
// and dragging a point of the source curve.
#include "MainWindowFixture.h"
#include "tests/views/DialogTestSupport.h"

#include "chart/control/ChartControl.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/extras/LumDragPoint.h"
#include "chart/series/SeriesLine.h"
#include "ui/uibtn.h"
#include "views/AppDialogParts.h"
#include "views/PrSetupUn.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

namespace {

// What the dialog may change in the main window.
struct TSetupFields {
    TProgramConfig Settings;
    std::int32_t SourceType;
    double SourceA, SourceB, SourceC;
    bool InvertSource;
    std::vector<double> Depths, Values;
    bool operator==(const TSetupFields&) const = default;
};

TSetupFields FieldsOf(const TSurveyState& s)
{
    return {s.Settings,
            s.SourceType,
            s.SourceA,
            s.SourceB,
            s.SourceC,
            s.InvertSource,
            {s.SourceDepths.begin(), s.SourceDepths.end()},
            {s.SourceValues.begin(), s.SourceValues.end()}};
}

std::vector<std::pair<double, double>> SetupPointsOf(const TChartSeries& s)
{
    std::vector<std::pair<double, double>> points;
    for (int i = 0; i < s.PointCount(); ++i) points.emplace_back(s.XValueAt(i), s.YValueAt(i));
    return points;
}

class ProgramSetup : public MainWindow {
protected:
    // The sample open and computed, the dialog loaded as the main window loads it.
    TSetupForm& Open()
    {
        TProbeMainForm& f = Start();
        OpenSample();
        Dialog = std::make_unique<TSetupForm>(ControlWidget(&f), f);
        Dialog->LoadValues();
        return *Dialog;
    }
    // Shows the dialog modally with the script; returns its result.
    TModalResult Run(const std::function<void(TSetupForm&)>& Step)
    {
        Script->DriveForm([&](TForm& form) { Step(dynamic_cast<TSetupForm&>(form)); });
        return Dialog->ShowModal();
    }
    void TearDown() override
    {
        Dialog.reset();
        MainWindow::TearDown();
    }
    std::unique_ptr<TSetupForm> Dialog;
};

} // namespace

TEST_F(ProgramSetup, TypedValuesAreTakenWithinTheirRangesAndTheBoundaryPreviewFollows)
{
    Open();
    TSurveyState& s = Form->Survey;
    const TSetupFields before = FieldsOf(s);
    TPointSeries& preview = Form->PolygonChart1->NodeSeries();
    struct Case {
        const char* Field;
        QLineEdit* Edit;
        const char* Typed;
        double* Value;
        double Expected; // MissingValue: the value before stays
    };
    Run([&](TSetupForm& f) {
        EXPECT_EQ(f.Caption(), "Program setup");
        EXPECT_EQ(f.Notebook->currentWidget(), f.PageSources) << "the Sources page first";
        const std::vector<std::pair<double, double>> shown = SetupPointsOf(preview);
        EXPECT_GT(shown.size(), 0u) << "the boundary preview shows when the dialog opens";
        TypeInto(*f.Edit2, "0,5");
        EXPECT_EQ(s.Settings.StartZ, 0.5);
        EXPECT_NE(SetupPointsOf(preview), shown) << "smaller start elements, new boundary nodes";

        // Each text arrives whole (as pasted), so that no shorter text on the way is taken meanwhile.
        const Case cases[] = {
            {"StartZ", f.Edit2, "0.0009", &s.Settings.StartZ, MissingValue},
            {"StartZ", f.Edit2, "10.0001", &s.Settings.StartZ, MissingValue},
            {"StartZ", f.Edit2, "10", &s.Settings.StartZ, 10},
            {"StartX", f.Edit4, "0.0009", &s.Settings.StartX, MissingValue},
            {"StartX", f.Edit4, "2,5", &s.Settings.StartX, 2.5},
            {"StartX", f.Edit4, "10.0001", &s.Settings.StartX, MissingValue},
            {"FactorZ", f.Edit1, "5", &s.Settings.FactorZ, 5},
            {"FactorZ", f.Edit1, "5.1", &s.Settings.FactorZ, MissingValue},
            {"FactorX", f.Edit3, "5,1", &s.Settings.FactorX, MissingValue},
            {"FactorX", f.Edit3, "abc", &s.Settings.FactorX, MissingValue},
            {"FactorX", f.Edit3, "0,25", &s.Settings.FactorX, 0.25},
            {"A", f.Edit5, "-1000", &s.SourceA, -1000},
            {"B", f.Edit6, "1000", &s.SourceB, 1000},
            {"C", f.Edit7, "1000.1", &s.SourceC, MissingValue},
            {"C", f.Edit7, "-3,5", &s.SourceC, -3.5},
        };
        for (const Case& c : cases) {
            const double was = *c.Value;
            PasteInto(*c.Edit, c.Typed);
            EXPECT_EQ(*c.Value, c.Expected == MissingValue ? was : c.Expected) << c.Field << " typed " << c.Typed;
        }
        // The source curve follows the factors: linear, -a d + c.
        ASSERT_EQ(f.Series1->PointCount(), SourceCurvePoints);
        EXPECT_EQ(f.Series1->XValueAt(1), 1000 * s.SourceDepths[1] - 3.5);
        f.uiPicBtn2->PerformClick();
    });
    EXPECT_TRUE(FieldsOf(s) == before) << "Cancel gives every value back";
    EXPECT_EQ(preview.PointCount(), 0) << "the preview goes with the dialog";
}

TEST_F(ProgramSetup, ArbitraryUnchecksInvertAndKeepsItUnchecked)
{
    Open();
    TSurveyState& s = Form->Survey;
    Run([&](TSetupForm& f) {
        f.CheckBox1->click();
        EXPECT_TRUE(f.CheckBox1->isChecked()) << "a linear source may be inverted";
        f.RadioButton3->click();
        EXPECT_EQ(s.SourceType, 2);
        EXPECT_FALSE(f.CheckBox1->isChecked());
        f.CheckBox1->click();
        EXPECT_FALSE(f.CheckBox1->isChecked()) << "the arbitrary curve has no factors to invert";
        f.RadioButton2->click();
        EXPECT_EQ(s.SourceType, 1);
        f.uiPicBtn1->PerformClick();
    });
    EXPECT_EQ(s.SourceType, 1);
    EXPECT_FALSE(s.InvertSource);
}

TEST_F(ProgramSetup, ApplyStoresOnlyWhatWasTypedAndValid)
{
    TSetupForm& d = Open();
    TSurveyState& s = Form->Survey;
    // Values whose text the edits round: an untouched edit must not change them.
    s.Settings.StartZ = 0.123456789;
    s.Settings.FactorX = 0.1111111;
    s.Settings.StartX = 3.14159265;
    d.LoadValues();
    const TSetupFields before = FieldsOf(s);
    EXPECT_EQ(Run([](TSetupForm& f) { f.uiPicBtn1->PerformClick(); }), mrOk);
    EXPECT_TRUE(FieldsOf(s) == before) << "Apply without edits changes no value";

    // An emptied StartX keeps the stored value, which the edit shows again; a typed valid value is taken.
    Run([&](TSetupForm& f) {
        TypeInto(*f.Edit4, "");
        TypeInto(*f.Edit1, "0.4");
        f.SpinEdit9->setValue(3);
        f.CheckBox2->click();
        f.uiPicBtn1->PerformClick();
        EXPECT_EQ(EditText(*f.Edit4), FormatValue(3.14159265, 3));
    });
    EXPECT_EQ(s.Settings.StartX, 3.14159265);
    EXPECT_EQ(s.Settings.FactorZ, 0.4);
    EXPECT_EQ(s.Settings.numqp, 3);
    EXPECT_EQ(s.Settings.Exponent, !before.Settings.Exponent);
    EXPECT_EQ(s.Settings.StartZ, 0.123456789);
}

TEST_F(ProgramSetup, DefaultKeepsTheSourceAndEveryOtherExitGivesAllBack)
{
    Open();
    TSurveyState& s = Form->Survey;
    s.SourceType = 1;
    s.SourceA = 3;
    s.SourceB = 40;
    s.Settings.redperc = 55;
    s.Settings.FactorX = 0.3;
    s.Settings.numqp = 4;
    Dialog->LoadValues();
    const TSetupFields before = FieldsOf(s);
    struct Exit {
        const char* Name;
        std::function<void(TSetupForm&)> Leave;
    };
    const Exit exits[] = {{"Cancel", [](TSetupForm& f) { f.uiPicBtn2->PerformClick(); }},
                          {"Escape", [](TSetupForm& f) { PressEscape(f); }},
                          {"close box", [](TSetupForm& f) { f.close(); }}};
    for (const Exit& e : exits) {
        const TModalResult result = Run([&](TSetupForm& f) {
            TypeInto(*f.Edit3, "0.5");
            TypeInto(*f.Edit6, "12");
            f.uiPicBtn3->PerformClick();
            EXPECT_EQ(s.Settings.FactorX, 0.1) << "Default";
            EXPECT_EQ(s.Settings.numqp, 7);
            EXPECT_EQ(s.SourceType, 1) << "Default keeps the source kind";
            EXPECT_EQ(s.SourceA, 3);
            EXPECT_EQ(s.SourceB, 12) << "and the factors as typed";
            EXPECT_EQ(s.Settings.redperc, 55);
            EXPECT_EQ(f.SpinEdit9->value(), 7) << "the dialog shows the defaults";
            EXPECT_TRUE(f.isVisible()) << "and stays open";
            f.RadioButton3->click();
            e.Leave(f);
        });
        EXPECT_EQ(result, mrCancel) << e.Name;
        EXPECT_TRUE(FieldsOf(s) == before) << e.Name << " gives back what the dialog changed, Default included";
        EXPECT_EQ(Form->PolygonChart1->NodeSeries().PointCount(), 0) << e.Name;
    }
}

TEST_F(ProgramSetup, DraggingASourcePointStoresItsValue)
{
    Open();
    TSurveyState& s = Form->Survey;
    s.SourceType = 2;
    const std::vector<double> depths(s.SourceDepths.begin(), s.SourceDepths.end());
    Run([&](TSetupForm& f) {
        f.Notebook->setCurrentWidget(f.PageSources);
        PumpEvents();
        TChart& c = *f.Chart1;
        c.Repaint();
        PumpEvents();
        ASSERT_EQ(f.Series1->PointCount(), SourceCurvePoints) << "the curve after the forward run";
        QWidget& w = *c.Widget();
        const int i = 20;
        const QPoint p(f.Series1->ScreenXOf(i), f.Series1->ScreenYOf(i));
        const QPoint to(p.x() + 15, p.y() + 7);
        const double before = f.Series1->XValueAt(i);
        SendMouse(w, QEvent::MouseMove, p);
        SendMouse(w, QEvent::MouseButtonPress, p);
        EXPECT_EQ(f.ChartTool1->DraggedIndex(), i);
        SendMouse(w, QEvent::MouseMove, to);
        SendMouse(w, QEvent::MouseButtonRelease, to);
        EXPECT_NE(f.Series1->XValueAt(i), before) << "moved";
        EXPECT_EQ(f.Series1->XValueAt(i), c.BottomAxis().PixelToValue(to.x()));
        for (int k = 0; k < SourceCurvePoints; ++k) {
            EXPECT_EQ(s.SourceValues[k], f.Series1->XValueAt(k)) << k;
            EXPECT_EQ(f.Series1->YValueAt(k), depths[static_cast<std::size_t>(k)]) << "depths stay";
        }
        f.uiPicBtn1->PerformClick();
    });
    EXPECT_EQ(std::vector<double>(s.SourceDepths.begin(), s.SourceDepths.end()), depths);
}
