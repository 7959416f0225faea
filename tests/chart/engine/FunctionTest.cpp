// Functions computing a series from its sources: the basic functions over periods and across sources as
// tables, the period walks (groups of points, ranges of x, moving windows, the whole source), y = f(x),
// the settings' refusals and refreshes, and the link between a function and its series.
#include "EngineKit.h"

#include "chart/engine/LumFunci.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using TPoints = std::vector<std::pair<double, double>>;
using TMaker = std::function<TLumFunction*()>;

template <class T>
TMaker Make()
{
    return [] { return new T(nullptr); };
}

// A parent series computed by a function from one source of the given values (x = 0, 1, 2, ...).
struct TFunctionCase {
    TSeriesChart Chart;
    TPointerSeries* Source = nullptr;
    TPointerSeries* Parent = nullptr;
    TLumFunction* Function = nullptr;

    TFunctionCase(TLumFunction* F, const std::vector<double>& Ys, bool SinglePoint = true,
                  const std::vector<double>& Xs = {})
    {
        Source = &Chart.Add(Ys, Xs);
        Parent = &Chart.Add({});
        Parent->SetSinglePointResults(SinglePoint);
        Function = F;
        Parent->AttachFunction(F);
        Parent->SetDataSource(Source);
    }
};

} // namespace

TEST(LumFunction, BasicFunctionsOverPeriodsOfOneSource)
{
    struct Case {
        const char* Name;
        TMaker Maker;
        double Period;
        TFunctionPeriodAlign Align;
        std::vector<double> Ys;
        TPoints Expected;
    };
    const Case cases[] = {
        {"add whole", Make<TAddLumFunction>(), 0, paCenter, {1, 2, 3, 4}, {{1.5, 10}}},
        {"add pairs, tail dropped", Make<TAddLumFunction>(), 2, paCenter, {1, 2, 3, 4, 5}, {{0.5, 3}, {2.5, 7}}},
        {"high in threes", Make<THighLumFunction>(), 3, paCenter, {1, 5, 2, 7, 3, 4, 9}, {{1, 5}, {4, 7}}},
        {"low in threes, first x", Make<TLowLumFunction>(), 3, paFirst, {1, 5, 2, 7, 3, 4, 9}, {{0, 1}, {3, 3}}},
        {"average in pairs, last x", Make<TAverageLumFunction>(), 2, paLast, {1, 2, 3, 4}, {{1, 1.5}, {3, 3.5}}},
        {"average whole", Make<TAverageLumFunction>(), 0, paCenter, {2, 4, 9}, {{1, 5}}},
        {"median odd", Make<TMedianLumFunction>(), 0, paCenter, {3, 1, 2}, {{1, 2}}},
        {"median even", Make<TMedianLumFunction>(), 0, paCenter, {4, 1, 3, 2}, {{1.5, 2.5}}},
        {"median of one", Make<TMedianLumFunction>(), 1, paCenter, {7, 8}, {{0, 7}, {1, 8}}},
        {"median in fours", Make<TMedianLumFunction>(), 4, paFirst, {1, 2, 3, 4, 9, 9, 1, 1}, {{0, 2.5}, {4, 5}}},
        {"mode", Make<TModeLumFunction>(), 0, paCenter, {3, 2, 1, 2, 3}, {{2, 2}}},
        {"mode of one", Make<TModeLumFunction>(), 0, paCenter, {5}, {{0, 5}}},
        {"many-series base over a range", Make<TSubtractLumFunction>(), 2, paCenter, {5, 1}, {{0.5, 0}}},
        {"period below one point counts one", Make<TAddLumFunction>(), 0.4, paCenter, {1, 2}, {{0, 1}, {1, 2}}},
        {"period rounded half to even", Make<TAddLumFunction>(), 2.5, paFirst, {1, 2, 3, 4}, {{0, 3}, {2, 7}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TLumFunction* f = c.Maker();
        f->InitPeriod(c.Period);
        f->SetPeriodAlign(c.Align);
        TFunctionCase fc(f, c.Ys);
        EXPECT_EQ(PointsOf(*fc.Parent), c.Expected);
        EXPECT_EQ(f->Period(), c.Period); // the setting keeps what the user gave
    }
}

TEST(LumFunction, BasicFunctionsAcrossSources)
{
    struct Case {
        const char* Name;
        TMaker Maker;
        std::vector<std::vector<double>> Sources;
        std::vector<double> Expected; // one y per point of the longest source
    };
    const Case cases[] = {
        {"add", Make<TAddLumFunction>(), {{1, 2}, {10, 20, 30}}, {11, 22, 30}},
        {"subtract", Make<TSubtractLumFunction>(), {{10, 20}, {1, 2}, {3, 4}}, {6, 14}},
        {"multiply", Make<TMultiplyLumFunction>(), {{2, 3}, {4, 5}}, {8, 15}},
        {"divide skips a zero divisor", Make<TDivideLumFunction>(), {{12}, {0}, {3}}, {4}},
        {"high: a short first source starts at 0", Make<THighLumFunction>(), {{5}, {-3, -2}}, {5, 0}},
        {"low", Make<TLowLumFunction>(), {{5, 1}, {2, 8}}, {2, 1}},
        {"average", Make<TAverageLumFunction>(), {{1, 2}, {3}}, {2, 2}},
        {"median", Make<TMedianLumFunction>(), {{1}, {3}, {2}, {10}}, {2.5}},
        {"mode", Make<TModeLumFunction>(), {{4}, {1}, {4}}, {4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TSeriesChart chart;
        std::vector<TPointerSeries*> sources;
        for (const auto& ys : c.Sources) sources.push_back(&chart.Add(ys));
        TPointerSeries& parent = chart.Add({});
        parent.AttachFunction(c.Maker());
        parent.SetDataSource(sources[0]);
        for (std::size_t k = 1; k < sources.size(); ++k) parent.AddDataSource(sources[k], false);
        std::vector<double> ys;
        for (int i = 0; i < parent.PointCount(); ++i) ys.push_back(parent.YValues().ValueAt(i));
        EXPECT_EQ(ys, c.Expected);
    }
}

TEST(LumFunction, AcrossSourcesTheLongestGivesXAndLabels)
{
    TSeriesChart chart;
    TPointerSeries& a = chart.Add({1, 1, 1, 1, 1});
    TPointerSeries& b = chart.Add({2, 2, 2, 2, 2, 2, 2}, {10, 11, 12, 13, 14, 15, 16});
    b.SetPointLabel(6, "last");
    TPointerSeries& parent = chart.Add({});
    parent.AttachFunction(new TAddLumFunction(nullptr));
    parent.SetDataSource(&a);
    parent.AddDataSource(&b, false);
    ASSERT_EQ(parent.PointCount(), 7);
    EXPECT_EQ(parent.XValues().ValueAt(0), 10);
    EXPECT_EQ(parent.YValues().ValueAt(4), 3);
    EXPECT_EQ(parent.YValues().ValueAt(5), 2);
    EXPECT_EQ(parent.PointLabel(6), "last");
}

TEST(LumFunction, NullPointsCountOnlyWithIncludeNulls)
{
    for (bool include : {true, false}) {
        SCOPED_TRACE(include);
        auto* avg = new TAverageLumFunction(nullptr);
        avg->SetIncludeNulls(include);
        TFunctionCase fc(avg, {});
        fc.Source->BeginDataUpdate();
        fc.Source->InsertPoint(0, 1);
        fc.Source->InsertPoint(1, 2);
        fc.Source->InsertNullPoint(2, 100);
        fc.Source->InsertPoint(3, 3);
        fc.Source->EndDataUpdate();
        EXPECT_EQ(fc.Parent->YValues().ValueAt(0), include ? 106.0 / 4 : 2.0);
        auto* median = new TMedianLumFunction(nullptr);
        median->SetIncludeNulls(include);
        fc.Parent->AttachFunction(median);
        EXPECT_EQ(fc.Parent->YValues().ValueAt(0), include ? 2.5 : 2.0);
    }
}

TEST(LumFunction, WholeSourceGivesOnePointOrALevelLine)
{
    TFunctionCase single(new TAverageLumFunction(nullptr), {2, 4, 6}, true, {10, 20, 40});
    EXPECT_EQ(PointsOf(*single.Parent), (TPoints{{25, 4}}));
    TFunctionCase line(new TAverageLumFunction(nullptr), {2, 4, 6}, false, {10, 20, 40});
    EXPECT_EQ(PointsOf(*line.Parent), (TPoints{{10, 4}, {40, 4}}));
}

TEST(LumFunction, RangePeriodsOfXUnits)
{
    auto* f = new TAddLumFunction(nullptr);
    f->InitPeriod(10);
    f->SetPeriodStyle(psRange);
    TFunctionCase fc(f, {1, 2, 4}, true, {0, 1, 25});
    // Periods from 0, 10 and 20, each at the mean of its start and its end less 0.01; the middle one is empty.
    const TPoints expected{{4.995, 3}, {14.995, 0}, {24.995, 4}};
    const TPoints got = PointsOf(*fc.Parent);
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_NEAR(got[i].first, expected[i].first, 1e-12);
        EXPECT_EQ(got[i].second, expected[i].second);
    }

    // A period too small for the magnitude of x ends the walk instead of running for ever.
    TFunctionCase tiny(new TAddLumFunction(nullptr), {1, 2}, true, {1e20, 1e20 + 1e6});
    tiny.Function->SetPeriodStyle(psRange);
    tiny.Function->SetPeriod(1e-3);
    EXPECT_EQ(tiny.Parent->PointCount(), 0);
}

TEST(LumFunction, MovingWindow)
{
    struct Case {
        double Period;
        std::vector<double> Ys;
        TPoints Expected;
    };
    const Case cases[] = {
        {1, {4, 5, 6}, {{0, 4}, {1, 5}, {2, 6}}},
        {3, {1, 2, 3, 4}, {{2, 6}, {3, 9}}},
        {5, {1, 2, 3}, {}},
        {0, {7, 8}, {{0, 7}, {1, 8}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Period);
        // A moving sum: the add function's range value over a moving window.
        class TMovingSum : public TLumMovingFunction {
        public:
            using TLumMovingFunction::TLumMovingFunction;
            double ValueOfRange(TChartSeries& S, int First, int Last) override
            {
                double sum = 0;
                for (int i = First; i <= Last; ++i) sum += PickSourceValues(S).ValueAt(i);
                return sum;
            }
        };
        auto* f = new TMovingSum(nullptr);
        EXPECT_EQ(f->Period(), 1);
        EXPECT_TRUE(f->SingleSource());
        f->InitPeriod(c.Period);
        TFunctionCase fc(f, c.Ys);
        EXPECT_EQ(PointsOf(*fc.Parent), c.Expected);
    }
}

TEST(LumFunction, CustomFunctionAsksForEveryX)
{
    TSeriesChart chart;
    TPointerSeries& parent = chart.Add({});
    auto* f = new TCustomLumFunction(nullptr);
    EXPECT_TRUE(f->NoSourceNeeded());
    EXPECT_EQ(f->Period(), 1);
    EXPECT_EQ(f->NumPoints(), 100);
    std::vector<double> asked;
    f->OnCalculate = [&](TCustomLumFunction* sender, double x, double& y) {
        EXPECT_EQ(sender->CalculatingX(), x);
        asked.push_back(x);
        y = x * x;
    };
    f->InitPeriod(0.5);
    f->SetStartX(1);
    f->SetNumPoints(3);
    asked.clear();
    parent.AttachFunction(f);
    EXPECT_EQ(asked, (std::vector<double>{1, 1.5, 2}));
    EXPECT_EQ(PointsOf(parent), (TPoints{{1, 1}, {1.5, 2.25}, {2, 4}}));

    f->SetNumPoints(0);
    EXPECT_EQ(parent.PointCount(), 0);
    f->OnCalculate = nullptr;
    f->SetNumPoints(2); // without a handler nothing is computed
    EXPECT_EQ(parent.PointCount(), 0);
}

TEST(LumFunction, SettingsRefreshTheParentAndRefuseNegativePeriods)
{
    TFunctionCase fc(new TAddLumFunction(nullptr), {1, 2, 3, 4});
    ASSERT_EQ(fc.Parent->PointCount(), 1);
    fc.Function->SetPeriod(2);
    EXPECT_EQ(fc.Parent->PointCount(), 2);
    try {
        fc.Function->SetPeriod(-1);
        ADD_FAILURE();
    } catch (const ChartException& e) {
        EXPECT_EQ(e.Message(), "Function Period should be >= 0");
    }
    EXPECT_EQ(fc.Function->Period(), 2);

    fc.Function->SuspendRecalc();
    fc.Function->SetPeriod(1);
    EXPECT_EQ(fc.Parent->PointCount(), 2);
    fc.Function->ResumeRecalc();
    EXPECT_EQ(fc.Parent->PointCount(), 4);

    // A source's data update reaches the parent through the function.
    fc.Source->BeginDataUpdate();
    fc.Source->InsertPoint(4, 10);
    fc.Source->EndDataUpdate();
    EXPECT_EQ(fc.Parent->PointCount(), 5);
    EXPECT_EQ(fc.Parent->YValues().ValueAt(4), 10);
}

TEST(LumFunction, PickedValuesFollowTheParentsValueSource)
{
    TSeriesChart chart;
    TPointerSeries& source = chart.Add({});
    TChartValueList* extra = new TChartValueList(&source, "Extra"); // owned by the source's lists
    const double ys[] = {1, 5, 2}, extras[] = {10, 30, 20};
    for (int i = 0; i < 3; ++i) {
        extra->PendingValue = extras[i];
        source.InsertPoint(i, ys[i]);
    }
    TPointerSeries& parent = chart.Add({});
    parent.AttachFunction(new THighLumFunction(nullptr));
    parent.SetDataSource(&source);
    EXPECT_EQ(parent.YValues().ValueAt(0), 5);
    parent.YValues().SetValueSource("extra");
    EXPECT_EQ(parent.YValues().ValueAt(0), 30);
}

TEST(LumFunction, AttachingMovesAndFreesFunctions)
{
    TSeriesChart chart;
    TPointerSeries& source = chart.Add({1, 2});
    TPointerSeries& a = chart.Add({});
    TPointerSeries& b = chart.Add({});
    a.SetDataSource(&source);
    b.SetDataSource(&source);
    auto* f = new TAddLumFunction(nullptr);
    f->AttachToSeries(&a);
    EXPECT_EQ(a.AttachedFunction(), f);
    EXPECT_EQ(f->ParentSeries(), &a);
    EXPECT_EQ(f->GetParentComponent(), &a);
    EXPECT_EQ(PointsOf(a), (TPoints{{0.5, 3}}));

    f->SetParentComponent(&b); // streaming finds the series this way
    EXPECT_EQ(a.AttachedFunction(), nullptr);
    EXPECT_EQ(b.AttachedFunction(), f);

    // A function freed elsewhere is forgotten; a replaced one is freed by its series.
    TComponent owner(nullptr);
    auto* owned = new TLowLumFunction(&owner);
    a.AttachFunction(owned);
    owned->Free();
    EXPECT_EQ(a.AttachedFunction(), nullptr);
    b.AttachFunction(new THighLumFunction(nullptr));
    EXPECT_EQ(b.PointCount(), 1);
    EXPECT_EQ(b.YValues().ValueAt(0), 2);
}

TEST(LumFunction, RegistrationOnTheStandardPage)
{
    ResetLumFunciModule();
    std::vector<std::string> registered;
    LumFunciInitialization(); // no gallery yet: nothing happens
    LumEngineModule().Control.RegisterStandardFunction = [&](const TClassInfo& c, const std::string& name) {
        registered.push_back(c.Name() + "=" + name);
        std::unique_ptr<TComponent> made(c.CreateComponent(nullptr));
        EXPECT_TRUE(dynamic_cast<TLumFunction*>(made.get()));
    };
    LumFunciInitialization();
    LumFunciInitialization();
    EXPECT_EQ(registered, (std::vector<std::string>{
                              "TAddLumFunction=Add", "TSubtractLumFunction=Subtract", "TMultiplyLumFunction=Multiply",
                              "TDivideLumFunction=Divide", "THighLumFunction=High", "TLowLumFunction=Low",
                              "TAverageLumFunction=Average", "TCustomLumFunction=y = f(x)",
                              "TMedianLumFunction=Median", "TModeLumFunction=Mode"}));
    ResetLumFunciModule();
    LumEngineModule().Control.RegisterStandardFunction = nullptr;

    TAverageLumFunction avg(nullptr);
    TCustomLumFunction custom(nullptr);
    TModeLumFunction mode(nullptr);
    EXPECT_EQ(avg.EditorFormName(), "TAverageFuncEditor");
    EXPECT_EQ(custom.EditorFormName(), "TCustomFunctionEditor");
    EXPECT_EQ(mode.EditorFormName(), "TLumFunctionEditor");
}
