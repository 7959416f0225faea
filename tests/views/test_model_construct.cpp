// The model constructor: the values the dialog is given (the model's box, or the electrode span widened
// by a relief of more than two points), what OK and Cancel apply for a new and for an existing model,
// entries that keep the dialog open, one dialog kept across calls, and the data view's x range.
#include "chart/series/Series.h"
#include "core/Supermath2d.h"
#include "platform/controls/Prompter.h"
#include "tests/views/DataViewFixtures.h"
#include "ui/uibtn.h"
#include "views/ModelConstruct.h"
#include "views/PseudoSection2d.h"
#include "views/ResMainFormData.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// A model view that records what it is told; its bottom axis follows the box, as the real one's does.
struct TFakeModelView {
    TChart Chart{nullptr};
    TPointSeries* Electrodes = new TPointSeries(nullptr);
    TModelBox Box{0, 1000, 0, 100};
    double Rho0 = -1;
    int Reliefs = 0;
    std::vector<bool> SetBoxKeepFrame;
    struct TFrame {
        bool Relief;
        double XMin, XMax, ZMin, ZMax;
    };
    std::vector<TFrame> Frames;

    TFakeModelView()
    {
        Electrodes->SetParentChart(&Chart);
        Chart.BottomAxis().SetFixedRange(Box.XMin, Box.XMax);
    }
    TModelViewLink Link()
    {
        TModelViewLink link;
        link.Chart = &Chart;
        link.Electrodes = Electrodes;
        link.Box = [this] { return Box; };
        link.SetRho0 = [this](double r) { Rho0 = r; };
        link.SetRelief = [this](const arofcomplexM&) { ++Reliefs; };
        link.SetModelBox = [this](bool keep, double a, double b, double, double d) {
            SetBoxKeepFrame.push_back(keep);
            Box = {a, b, 0, d};
            Chart.BottomAxis().SetFixedRange(a, b);
        };
        link.CreateFrameModel = [this](const arofcomplexM&, bool relief, double a, double b, double c, double d) {
            Frames.push_back({relief, a, b, c, d});
        };
        return link;
    }
};

struct TShown {
    std::string Rho, Left, Right, Depth;
};

TShown ShownIn(const TModConstr& d) { return {d.Edit6.Text(), d.Edit1.Text(), d.Edit2.Text(), d.Edit4.Text()}; }

void Type(TModConstr& d, const char* rho, const char* left, const char* right, const char* depth)
{
    d.Edit6.SetText(rho);
    d.Edit1.SetText(left);
    d.Edit2.SetText(right);
    d.Edit4.SetText(depth);
}

struct TConstructorBench {
    TSurveyState Survey = MakeSurvey({{0, 10, 20, 30, 40}, {1, 2, 3, 4}});
    TPseudoSection2d Data{nullptr};
    TFakeModelView Model;
    std::unique_ptr<TModConstr> Dialog;
    TShown Shown;

    TConstructorBench() { Survey.StartResistivity = 10; }
    // Runs the constructor; the script sees the dialog as shown (its texts kept in Shown) and answers.
    TModalResult Run(bool newModel, const std::function<void(TModConstr&)>& answer)
    {
        TPromptScript script;
        script.DriveForm([&](TForm& form) {
            auto& d = dynamic_cast<TModConstr&>(form);
            Shown = ShownIn(d);
            answer(d);
        });
        const TModalResult result = RunModelConstructor(Survey, Dialog, Data, Model.Link(), newModel);
        EXPECT_TRUE(script.Failures().empty()) << script.Failures().front();
        return result;
    }
};

void PressOk(TModConstr& d) { d.uiPicBtn1->PerformClick(); }
void Close(TModConstr& d) { d.done(mrCancel); }

void ExpectBox(const TModelBox& box, double left, double right, double bottom)
{
    EXPECT_EQ(box.XMin, left);
    EXPECT_EQ(box.XMax, right);
    EXPECT_EQ(box.ZMax, bottom);
}

TEST(ModelConstructor, NewModelOkAppliesTheValuesTyped)
{
    TConstructorBench b;
    EXPECT_EQ(b.Run(true, [](TModConstr& d) {
        Type(d, "20", "-5", "50,5", "30");
        PressOk(d);
    }), mrOk);
    EXPECT_EQ(b.Survey.StartResistivity, 20);
    EXPECT_EQ(b.Model.Rho0, 20);
    EXPECT_EQ(b.Model.Reliefs, 1);
    ExpectBox(b.Model.Box, -5, 50.5, 30);
    EXPECT_EQ(b.Model.SetBoxKeepFrame, std::vector<bool>{false});
    ASSERT_EQ(b.Model.Frames.size(), 1u);
    EXPECT_FALSE(b.Model.Frames[0].Relief);
    EXPECT_EQ(b.Model.Frames[0].XMin, -5);
    EXPECT_EQ(b.Model.Frames[0].XMax, 50.5);
    EXPECT_EQ(b.Model.Frames[0].ZMin, 0);
    EXPECT_EQ(b.Model.Frames[0].ZMax, 30);
    EXPECT_EQ(b.Data.BottomAxis().Minimum(), -5);
    EXPECT_EQ(b.Data.BottomAxis().Maximum(), 50.5);
}

TEST(ModelConstructor, NewModelCancelAppliesTheValuesShown)
{
    const struct {
        const char* Name;
        std::vector<complexM> Relief;
        double Left, Right, Bottom;
        bool ReliefFlag;
    } cases[] = {
        {"electrode span", {}, 0, 40, 20, false},
        {"a relief of 3 points widens", {{-10, 1}, {5, 2}, {60, 1}}, -10, 60, 35, true},
        {"a relief of 2 points does not", {{-10, 1}, {60, 1}}, 0, 40, 20, false},
        {"a relief inside the span", {{5, 1}, {6, 2}, {7, 1}}, 0, 40, 20, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TConstructorBench b;
        for (const complexM& p : c.Relief) b.Survey.Topography.push_back(p);
        EXPECT_EQ(b.Run(true, Close), mrCancel);
        EXPECT_EQ(b.Shown.Rho, "10");
        EXPECT_EQ(b.Shown.Left, FormatValue(c.Left, 0, true));
        EXPECT_EQ(b.Shown.Right, FormatValue(c.Right, 0, true));
        EXPECT_EQ(b.Shown.Depth, FormatValue(c.Bottom, 0, true));
        ExpectBox(b.Model.Box, c.Left, c.Right, c.Bottom);
        ASSERT_EQ(b.Model.Frames.size(), 1u);
        EXPECT_EQ(b.Model.Frames[0].Relief, c.ReliefFlag);
        EXPECT_EQ(b.Model.Frames[0].XMin, c.Left);
        EXPECT_EQ(b.Model.Frames[0].ZMax, c.Bottom);
        EXPECT_EQ(b.Model.Rho0, 10);
        EXPECT_EQ(b.Data.BottomAxis().Minimum(), c.Left);
        EXPECT_EQ(b.Data.BottomAxis().Maximum(), c.Right);
    }
}

TEST(ModelConstructor, InvalidEntriesKeepTheDialogOpen)
{
    const struct {
        const char *Rho, *Left, *Right, *Depth;
    } bad[] = {{"10", "", "40", "20"},  {"10", "x", "40", "20"}, {"10", "40", "40", "20"}, {"10", "50", "40", "20"},
               {"10", "0", "40", "0"},  {"10", "0", "40", "-3"}, {"0", "0", "40", "20"},   {"-1", "0", "40", "20"},
               {"abc", "0", "40", "20"}};
    for (const auto& e : bad) {
        SCOPED_TRACE(std::string(e.Rho) + " " + e.Left + " " + e.Right + " " + e.Depth);
        TConstructorBench b;
        bool open = false;
        double readLeft = 0;
        // A refused "Ok", then the close box: the new model still gets the values first shown.
        EXPECT_EQ(b.Run(true, [&](TModConstr& d) {
            Type(d, e.Rho, e.Left, e.Right, e.Depth);
            PressOk(d);
            open = d.isVisible();
            readLeft = d.LeftEdge;
            Close(d);
        }), mrCancel);
        EXPECT_TRUE(open);
        EXPECT_EQ(readLeft, StrToValue(e.Left));
        ExpectBox(b.Model.Box, 0, 40, 20);
        EXPECT_EQ(b.Survey.StartResistivity, 10);
    }
}

TEST(ModelConstructor, ExistingModelAndTheKeptDialog)
{
    TConstructorBench b;
    // A first call for the existing model proposes the span.
    EXPECT_EQ(b.Run(false, Close), mrCancel);
    EXPECT_EQ(b.Shown.Left, "0");
    EXPECT_EQ(b.Shown.Right, "40");
    // Cancel leaves the model as it was; the data view still takes the model view's range.
    ExpectBox(b.Model.Box, 0, 1000, 100);
    EXPECT_TRUE(b.Model.SetBoxKeepFrame.empty());
    EXPECT_EQ(b.Model.Rho0, -1);
    EXPECT_EQ(b.Data.BottomAxis().Maximum(), 1000);
    TModConstr* first = b.Dialog.get();
    ASSERT_NE(first, nullptr);

    // Later calls start from the model's box and keep the frame.
    b.Model.Box = {-3, 77, 0, 12};
    b.Survey.StartResistivity = 25;
    EXPECT_EQ(b.Run(false, [](TModConstr& d) {
        d.Edit2.SetText("80");
        PressOk(d);
    }), mrOk);
    EXPECT_EQ(b.Dialog.get(), first);
    EXPECT_EQ(b.Shown.Rho, "25");
    EXPECT_EQ(b.Shown.Left, "-3");
    EXPECT_EQ(b.Shown.Right, "77");
    EXPECT_EQ(b.Shown.Depth, "12");
    ExpectBox(b.Model.Box, -3, 80, 12);
    EXPECT_EQ(b.Model.SetBoxKeepFrame, std::vector<bool>{true});
    EXPECT_TRUE(b.Model.Frames.empty());
    EXPECT_EQ(b.Data.BottomAxis().Maximum(), 80);
}

TEST(ModelConstructor, FormShowsAndReadsItsValues)
{
    TModConstr d;
    EXPECT_EQ(d.Caption(), "Model constructor");
    EXPECT_EQ(d.uiPicBtn1->Caption(), "Ok");
    d.StartResistivity = 0.25;
    d.LeftEdge = MissingValue;
    d.RightEdge = 1500;
    d.Bottom = 12.5;
    d.ShowValues();
    EXPECT_EQ(ShownIn(d).Rho, FormatValue(0.25, 0, true));
    EXPECT_EQ(ShownIn(d).Left, "*");
    EXPECT_EQ(ShownIn(d).Right, "1500");
    EXPECT_EQ(ShownIn(d).Depth, FormatValue(12.5, 0, true));
    Type(d, "7", "", "2,5", "1e2");
    d.ReadValues();
    EXPECT_EQ(d.StartResistivity, 7);
    EXPECT_EQ(d.LeftEdge, MissingValue);
    EXPECT_EQ(d.RightEdge, 2.5);
    EXPECT_EQ(d.Bottom, 100);
}

} // namespace
