// Value lists: ordered insertion, cached statistics, growth, searching, copying, sorting and the refusals
// of bad indexes and counts (raised before anything changes).
#include "chart/engine/LumEngine.h"
#include "platform/controls/Prompter.h"

#include <gtest/gtest.h>

#include <cmath>

#include <memory>
#include <vector>

namespace {
std::vector<double> ValuesOf(const TChartValueList& list)
{
    std::vector<double> out;
    for (int i = 0; i < list.ValueCount(); ++i) out.push_back(list.ValueAt(i));
    return out;
}

std::unique_ptr<TChartValueList> ListOf(std::initializer_list<double> values, TChartListOrder order = loNone)
{
    auto list = std::make_unique<TChartValueList>(nullptr, "V");
    list->SetOrder(order);
    for (double v : values) list->AddInOrder(v);
    return list;
}
} // namespace

TEST(ValueList, OrderedInsertionPlacesAfterEqualValues)
{
    struct Case {
        TChartListOrder order;
        std::vector<double> adds;
        std::vector<int> indexes;
        std::vector<double> result;
    };
    const Case cases[] = {
        {loAscending, {3, 1, 2, 2}, {0, 0, 1, 2}, {1, 2, 2, 3}},
        {loAscending, {1, 2, 2, 5}, {0, 1, 2, 3}, {1, 2, 2, 5}},   // in order: appends
        {loDescending, {1, 3, 2, 2}, {0, 0, 1, 2}, {3, 2, 2, 1}},
        {loNone, {3, 1, 2}, {0, 1, 2}, {3, 1, 2}},
    };
    for (const Case& c : cases) {
        TChartValueList list(nullptr, "X");
        list.SetOrder(c.order);
        std::vector<int> indexes;
        for (double v : c.adds) {
            indexes.push_back(list.AddInOrder(v));
            EXPECT_EQ(list.PendingValue, v);
        }
        EXPECT_EQ(indexes, c.indexes) << ChartListOrderNames.NameOf(c.order);
        EXPECT_EQ(ValuesOf(list), c.result) << ChartListOrderNames.NameOf(c.order);
    }
}

TEST(ValueList, StatisticsAreCachedAndRecomputedAfterChanges)
{
    struct Case {
        std::vector<double> values;
        double max, min, total, absTotal, range;
    };
    const Case cases[] = {
        {{}, 0, 0, 0, 0, 0},
        {{-2, 3}, 3, -2, 1, 5, 5},
        {{5}, 5, 5, 5, 5, 0},
        {{4, -1, 7, -9}, 7, -9, 1, 21, 16},
    };
    for (const Case& c : cases) {
        TChartValueList list(nullptr, "Y");
        for (double v : c.values) list.AddInOrder(v);
        EXPECT_EQ(list.HighestValue(), c.max);
        EXPECT_EQ(list.LowestValue(), c.min);
        EXPECT_EQ(list.SumOfValues(), c.total);
        EXPECT_EQ(list.SumOfAbsValues(), c.absTotal);
        EXPECT_EQ(list.ValueRange(), c.range);
        EXPECT_FALSE(list.Modified());
    }

    auto list = ListOf({1, 2, 3});
    EXPECT_EQ(list->HighestValue(), 3);
    list->SetValueAt(0, 10);
    EXPECT_TRUE(list->Modified());
    EXPECT_EQ(list->HighestValue(), 10);
    EXPECT_EQ(list->SumOfValues(), 15);
    list->SetSumOfAbsValues(100);            // a caller's override lasts until the next change
    EXPECT_EQ(list->SumOfAbsValues(), 100);
    list->DeleteValueAt(0);
    EXPECT_EQ(list->SumOfAbsValues(), 5);
}

TEST(ValueList, StorageGrowsByTheStepAndIsReleasedByClear)
{
    TChartValueList list(nullptr, "X");
    EXPECT_EQ(list.StorageLength(), 0);
    list.AddInOrder(1);
    EXPECT_EQ(list.StorageLength(), 1000);
    for (int i = 1; i < 1000; ++i) list.AddInOrder(i);
    EXPECT_EQ(list.StorageLength(), 1000);
    list.AddInOrder(5);
    EXPECT_EQ(list.StorageLength(), 2000);
    list.ClearValues();
    EXPECT_EQ(list.ValueCount(), 0);
    EXPECT_EQ(list.StorageLength(), 0);

    LumEngineModule().ValueListGrowthStep = 3;
    for (int i = 0; i < 4; ++i) list.AddInOrder(i);
    EXPECT_EQ(list.StorageLength(), 6);
    ResetLumEngineModule();

    // Past twice the step the storage grows by half of itself, so a long record appends in constant time
    // a value and never holds more than half as much again as it uses.
    list.ClearValues();
    std::vector<int> lengths;
    for (int i = 0; i < 200000; ++i) {
        list.AddInOrder(i);
        if (lengths.empty() || lengths.back() != list.StorageLength()) lengths.push_back(list.StorageLength());
    }
    EXPECT_EQ((std::vector<int>(lengths.begin(), lengths.begin() + 5)), (std::vector<int>{1000, 2000, 3000, 4500, 6750}));
    EXPECT_LT(lengths.size(), 20u);
    EXPECT_LE(list.StorageLength(), 200000 * 3 / 2);
}

TEST(ValueList, AppendingArraysInOneMove)
{
    TChartValueList list(nullptr, "X");
    std::vector<double> values{1, 2, 3};
    const double* storage = values.data();
    list.AppendValues(std::move(values));
    EXPECT_EQ(list.Values(), storage);                    // an empty list takes the array over
    EXPECT_EQ(list.StorageLength(), 3);
    list.AppendValues({4, 5});
    EXPECT_EQ(ValuesOf(list), (std::vector<double>{1, 2, 3, 4, 5}));
    EXPECT_EQ(list.HighestValue(), 5);                    // the statistics follow

    struct Case { TChartListOrder order; std::vector<double> values; bool appends; };
    const Case cases[] = {
        {loAscending, {5, 5, 6}, true}, {loAscending, {6, 4}, false}, {loAscending, {4}, false},
        {loDescending, {5, 1}, true},   {loDescending, {6}, false},   {loNone, {-1, 9, 0}, true},
        {loAscending, {std::nan(""), 1}, true},                       // AddInOrder never moves a NaN
    };
    for (const Case& c : cases) {
        list.SetOrder(c.order);
        EXPECT_EQ(list.AppendsInOrder(c.values), c.appends) << ChartListOrderNames.NameOf(c.order) << " " << c.values[0];
    }
}

TEST(ValueList, FindRotateAndAssign)
{
    auto list = ListOf({4, 7, 4, 9});
    EXPECT_EQ(list->FindValue(4), 0);
    EXPECT_EQ(list->FindValue(5), -1);
    EXPECT_EQ(list->FindValueInRange(1, 3, 4), 2);
    EXPECT_EQ(list->FindValueInRange(3, 1, 9), -1);    // last before first

    EXPECT_EQ(list->HighestValue(), 9);
    list->RotateLeft();
    EXPECT_EQ(ValuesOf(*list), (std::vector<double>{7, 4, 9, 4}));
    EXPECT_FALSE(list->Modified());

    TChartValueList target(nullptr, "Target");
    target.AddInOrder(42);
    list->SetOrder(loDescending);
    list->InitDateTime(true);
    list->SetValueSource("Close");
    target.Assign(*list);
    EXPECT_EQ(target.Name(), "Target");
    EXPECT_EQ(ValuesOf(target), std::vector<double>{42});
    EXPECT_EQ(target.Order(), loDescending);
    EXPECT_TRUE(target.DateTime());
    EXPECT_EQ(target.ValueSource(), "Close");
}

TEST(ValueList, SortingAndComparingFollowTheOrder)
{
    TChartValueList list(nullptr, "X");
    for (double v : {3.0, 1.0, 2.0, 1.0}) list.InsertValueAt(list.ValueCount(), v);
    list.SetOrder(loDescending);
    EXPECT_EQ(list.CompareValues(1, 0), 1);     // 1 < 3, reversed
    list.SortByOrder();
    EXPECT_EQ(ValuesOf(list), (std::vector<double>{3, 2, 1, 1}));
    list.SetOrder(loNone);
    list.FillWithIndices();
    EXPECT_EQ(ValuesOf(list), (std::vector<double>{0, 1, 2, 3}));
}

// Bad indexes and counts raise before anything changes.
TEST(ValueList, RefusesIndexesOutsideTheCount)
{
    auto list = ListOf({1, 2, 3});
    ASSERT_GT(list->StorageLength(), list->ValueCount());
    EXPECT_THROW(list->ValueAt(3), ERangeError);          // inside the storage, past the count
    EXPECT_THROW(list->ValueAt(-1), ERangeError);
    EXPECT_THROW(list->SetValueAt(3, 0), ERangeError);
    EXPECT_THROW(list->DeleteValueAt(3), ERangeError);
    EXPECT_THROW(list->DeleteValueAt(-1), ERangeError);
    EXPECT_THROW(list->SwapValues(0, 5), ERangeError);
    EXPECT_THROW(list->InsertValueAt(4, 0), ERangeError);
    list->InsertValueAt(3, 4);                            // the count itself is a valid place
    EXPECT_EQ(ValuesOf(*list), (std::vector<double>{1, 2, 3, 4}));

    TChartValueList empty(nullptr, "E");
    EXPECT_THROW(empty.FirstValue(), ERangeError);
    EXPECT_THROW(empty.LastValue(), ERangeError);
}

TEST(ValueList, RangeDeletionAndCountChecksCarryTheirTexts)
{
    auto list = ListOf({1, 2, 3, 4});
    try {
        list->DeleteValueRange(2, 3);
        FAIL();
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.Message(), "Quantity of data to delete must be less than Count.");
    }
    EXPECT_THROW(list->DeleteValueRange(-1, 1), ERangeError);
    EXPECT_EQ(ValuesOf(*list), (std::vector<double>{1, 2, 3, 4}));
    list->DeleteValueRange(1, 2);
    EXPECT_EQ(ValuesOf(*list), (std::vector<double>{1, 4}));

    try {
        list->SetValueCount(-1);
        FAIL();
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.Message(), "ValueList Count must be greater than zero.");
    }
    try {
        list->SetValueCount(1001);
        FAIL();
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.Message(), "ValueList Count (1001) greater than array length (1000).");
    }
    EXPECT_EQ(list->ValueCount(), 2);
    list->SetValueCount(1);
    EXPECT_EQ(ValuesOf(*list), std::vector<double>{1});
}

TEST(ValueList, ObsoleteMultiplierIsReadAndReported)
{
    TChartValueList list(nullptr, "Y");
    const TDefinedProperty* multiplier = list.ClassInfo().FindDefinedProperty("Multiplier");
    ASSERT_NE(multiplier, nullptr);
    EXPECT_FALSE(multiplier->IsWritten(list));

    TPromptScript script;
    std::string shown;
    script.Expect(TPromptKind::MessageBox, [&](TPrompt& p) {
        shown = p.Text;
        p.Result = mrOk;
    });
    multiplier->ReadValue(list, TPropValue(1.0));   // 1 is what the list does anyway: nothing shown
    multiplier->ReadValue(list, TPropValue(2.0));
    EXPECT_EQ(shown, "Error: Multiplier property is obsolete.\rModify DuvOdad (enable Multiplier) and recompile.");
    EXPECT_TRUE(script.Failures().empty());
}
