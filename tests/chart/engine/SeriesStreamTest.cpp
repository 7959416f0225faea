// The point data block "Data" of a series: the columns its flags announce, the bytes of a small series
// against a fixture written by an independent writer, round trips, the stored rules of the stream
// properties, and blocks that announce more than they hold; the marks' "Items" block likewise.
#include "EngineKit.h"

#include "chart/engine/LumEngineSeriesStream.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

std::string Bytes(TMemoryStream& s)
{
    return std::string(reinterpret_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.Size()));
}

std::string Written(TChartSeries& s)
{
    TMemoryStream m;
    s.WritePointData(m);
    return Bytes(m);
}

TMemoryStream StreamOf(const std::string& bytes)
{
    TMemoryStream m;
    m.WriteBytes(bytes);
    m.SetPosition(0);
    return m;
}

std::string Fixture(const char* name)
{
    std::ifstream f(std::string(VSP_TEST_DATA) + "/seriesdata/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

std::string Le32(std::int32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); }
std::string Le64(double v) { return std::string(reinterpret_cast<const char*>(&v), 8); }

// A series with one extra value list, as series kinds with more columns have.
class TExtraSeries : public TTestSeries {
public:
    TExtraSeries() : Extra(new TChartValueList(this, "Extra")) {}
    TChartValueList* Extra;
    int Add(double x, double y, double extra, const std::string& label = {}, TColor color = clDefault)
    {
        Extra->PendingValue = extra;
        return InsertPoint(x, y, label, color);
    }
};

const TDefinedProperty& DataProperty() { return *TChartSeries::StaticClassInfo().FindDefinedProperty("Data"); }

} // namespace

TEST(SeriesPointData, SmallSeriesMatchesTheFixtureAndReadsBack)
{
    TSeriesChart chart;
    auto& s = chart.Add<TExtraSeries>({});
    s.Add(10, 1.5, 100, "abc");
    s.Add(20, -2, -1, "", 0x123456);
    TSeriesMarkPosition p;
    p.ArrowFrom = {1, 2};
    p.ArrowTo = {3, 4};
    p.Height = 5;
    p.LeftTop = {6, 7};
    p.Width = 8;
    s.Marks().Positions().StoreCustomPosition(0, p);
    EXPECT_EQ(PointDataFlags(s), pdOtherValues | pdColors | pdLabels | pdMarkPositions);
    const std::string fixture = Fixture("small_series.bin");
    ASSERT_EQ(fixture.size(), 134u);
    EXPECT_EQ(Written(s), fixture);

    auto& back = chart.Add<TExtraSeries>({});
    TMemoryStream m = StreamOf(fixture);
    back.LoadPointData(m);
    EXPECT_EQ(PointsOf(back), PointsOf(s));
    EXPECT_EQ(back.Extra->ValueAt(0), 100);
    EXPECT_EQ(back.Extra->ValueAt(1), -1);
    EXPECT_EQ(back.PointLabel(0), "abc");
    EXPECT_EQ(back.StoredPointColor(0), clDefault);
    EXPECT_EQ(back.StoredPointColor(1), TColor(0x123456));
    ASSERT_NE(back.Marks().Positions().PositionAt(0), nullptr);
    EXPECT_TRUE(back.Marks().Positions().PositionAt(0)->Custom);
    EXPECT_EQ(back.Marks().Positions().PositionAt(0)->LeftTop.y, 7);
    EXPECT_TRUE(back.DataLoaded());
    EXPECT_EQ(Written(back), fixture);
}

TEST(SeriesPointData, ColumnsWrittenOnlyWhenNeeded)
{
    TSeriesChart chart;
    auto& plain = chart.Add<TTestSeries>({5, 7, 9});
    EXPECT_EQ(Written(plain), std::string("\0", 1) + Le32(3) + Le64(5) + Le64(7) + Le64(9));
    auto& back = chart.Add<TTestSeries>({});
    TMemoryStream m = StreamOf(Written(plain));
    back.LoadPointData(m);
    EXPECT_EQ(PointsOf(back), (std::vector<std::pair<double, double>>{{0, 5}, {1, 7}, {2, 9}}));

    auto& xs = chart.Add<TTestSeries>({1, 2}, {10, 20});
    EXPECT_EQ(Written(xs), std::string("\x01", 1) + Le32(2) + Le64(10) + Le64(1) + Le64(20) + Le64(2));

    auto& labelled = chart.Add<TTestSeries>({4});
    labelled.SetPointLabel(0, "abc");
    EXPECT_EQ(Written(labelled), std::string("\x04", 1) + Le32(1) + Le64(4) + "\x03" "abc");

    // A point coloured like the series needs no colour column.
    auto& same = chart.Add<TTestSeries>({1});
    same.StorePointColor(0, same.SeriesColor());
    EXPECT_EQ(PointDataFlags(same), 0);
}

TEST(SeriesPointData, HorizontalSeriesWritesYFirstAndReadsBack)
{
    TSeriesChart chart;
    auto& h = chart.Add<TTestSeries>({});
    h.MakeXMandatory();
    h.XValues().SetOrder(loNone);
    h.YValues().SetOrder(loAscending);
    h.InsertPoint(7, 1);
    h.InsertPoint(8, 3);
    EXPECT_EQ(Written(h), std::string("\x01", 1) + Le32(2) + Le64(1) + Le64(7) + Le64(3) + Le64(8));
    auto& back = chart.Add<TTestSeries>({});
    back.MakeXMandatory();
    TMemoryStream m = StreamOf(Written(h));
    back.LoadPointData(m);
    EXPECT_EQ(PointsOf(back), PointsOf(h));
}

TEST(SeriesPointData, LongLabelsAreCutAndWrittenOnlyWhenAsked)
{
    TSeriesChart chart;
    auto& s = chart.Add<TTestSeries>({1});
    s.SetPointLabel(0, std::string(300, 'q'));
    const std::string bytes = Written(s);
    ASSERT_EQ(bytes.size(), 1 + 4 + 8 + 1 + 255u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[13]), 255);
    auto& back = chart.Add<TTestSeries>({});
    TMemoryStream m = StreamOf(bytes);
    back.LoadPointData(m);
    EXPECT_EQ(back.PointLabel(0), std::string(255, 'q'));

    // "Data" goes into a stream for loaded data (unless suppressed) or when forced.
    const TDefinedProperty& data = DataProperty();
    ASSERT_EQ(data.Name, "Data");
    EXPECT_FALSE(data.IsWritten(s));
    s.SetForceStoreData(true);
    EXPECT_TRUE(data.IsWritten(s));
    EXPECT_TRUE(data.IsWritten(back));
    back.SetNeverStoreData(true);
    EXPECT_FALSE(data.IsWritten(back));
}

TEST(SeriesPointData, BlocksThatAnnounceMoreThanTheyHoldAreRefused)
{
    const std::string point = Le64(1);
    struct Case {
        const char* Name;
        std::string Bytes;
        const char* Message;
    };
    const Case cases[] = {
        {"empty", "", "Series data block is too short: the flags runs past its end"},
        {"no count", std::string("\0\x01", 2), "Series data block is too short: the point count runs past its end"},
        {"negative count", std::string("\0", 1) + Le32(-1), "Series data block has a negative point count (-1)"},
        {"count beyond the bytes", std::string("\0", 1) + Le32(1000000000) + point,
         "Series data block is too short for its 1000000000 points"},
        {"second point cut", std::string("\0", 1) + Le32(2) + point + "\x01\x02", "Series data block is too short for its 2 points"},
        {"label past the end", std::string("\x04", 1) + Le32(1) + point + "\x09" "ab",
         "Series data block is too short: a label runs past its end"},
        {"mark position cut", std::string("\x08", 1) + Le32(1) + point + std::string(20, '\0'),
         "Series data block is too short for its 1 points"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TSeriesChart chart;
        auto& s = chart.Add<TTestSeries>({3, 4});
        auto& dependent = chart.Add<TTestSeries>({});
        dependent.SetDataSource(&s);
        TMemoryStream m = StreamOf(c.Bytes);
        try {
            s.LoadPointData(m);
            ADD_FAILURE();
        } catch (const ChartException& e) {
            EXPECT_EQ(e.Message(), c.Message);
        }
        EXPECT_EQ(s.PointCount(), 0);
        EXPECT_FALSE(s.InDataUpdate());
        EXPECT_FALSE(s.DataLoaded());
        EXPECT_EQ(dependent.PointCount(), 0);
    }
}

TEST(SeriesPointData, MarksItemsBlockRoundTripsAndRefusesBadCounts)
{
    TSeriesChart chart;
    auto& s = chart.Add<TTestSeries>({1, 2, 3});
    TMarksItem& item = s.Marks().Items().ItemAt(2);
    item.Text().Add("first");
    item.Text().Add("second");
    item.SetColor(clRed);
    TMemoryStream m;
    s.Marks().WriteItems(m);
    m.SetPosition(0);
    EXPECT_EQ(m.ReadInt32(), 3); // the empty entries too
    m.SetPosition(0);

    auto& back = chart.Add<TTestSeries>({1, 2, 3});
    back.Marks().ReadItems(m);
    EXPECT_EQ(m.Position(), m.Size());
    ASSERT_EQ(back.Marks().Items().Count(), 3);
    EXPECT_EQ(back.Marks().Items().ItemAt(2).Text().Count(), 2);
    EXPECT_EQ(back.Marks().Items().ItemAt(2).Color(), clRed);
    EXPECT_EQ(back.ComposeMarkText(2), "first\r\nsecond");
    // Items read from a stream stay when the points are cleared and added again.
    back.ClearPoints();
    EXPECT_EQ(back.Marks().Items().Count(), 3);

    const struct {
        const char* Name;
        std::string Bytes;
        const char* Message;
    } bad[] = {
        {"no count", "\x01", "Marks items block is too short for its count"},
        {"negative", Le32(-2), "Marks items block has a negative count (-2)"},
        {"too many", Le32(5) + std::string("\x01\x00", 2), "Marks items block is too short for its 5 items"},
        {"damaged list", Le32(1) + std::string("\x01\x04" "Nope\x02\x01\x00", 9),
         "Marks items block: Error reading Nope: property does not exist"},
    };
    for (const auto& c : bad) {
        SCOPED_TRACE(c.Name);
        auto& t = chart.Add<TTestSeries>({1});
        TMemoryStream b = StreamOf(c.Bytes);
        try {
            t.Marks().ReadItems(b);
            ADD_FAILURE();
        } catch (const ChartException& e) {
            EXPECT_EQ(e.Message(), c.Message);
        }
        EXPECT_EQ(t.Marks().Items().Count(), 0);
    }
}
