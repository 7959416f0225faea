// The native chart stream: its header, both forms, file names, the refusals that leave a chart alone,
// trailing point data, names and repainting around a load, and the faults a load passes over.
#include "ChartTestSupport.h"

#include "chart/control/LumStore.h"
#include "chart/engine/LumEngineSeriesStream.h"
#include "platform/rtl/Streams.h"

#include "tests/platform/rtl/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

std::string Bytes(TMemoryStream& s) { return std::string(reinterpret_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.Size())); }

TMemoryStream StreamOf(const std::string& bytes)
{
    TMemoryStream s;
    s.WriteBytes(bytes);
    s.SetPosition(0);
    return s;
}

std::string FileBytes(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

class TRepaintCountingChart : public TChart {
public:
    explicit TRepaintCountingChart(TComponent* AOwner = nullptr) : TChart(AOwner) {}
    void Invalidate() override
    {
        if (AutoRepaint()) ++Repaints;
        TChart::Invalidate();
    }
    int Repaints = 0;
};

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterClass(TLineTestSeries::StaticClassInfo()); }
    void TearDown() override { UnRegisterClass(TLineTestSeries::StaticClassInfo()); }

    // A chart with a title and two series of points.
    static void Fill(TCustomChart& chart)
    {
        chart.Title().Text().SetText("Profile A");
        AddSeries(chart, {1, 2, 3}, "SP");
        AddSeries(chart, {5, 4}, "Fit");
    }

    static std::string Saved(TCustomChart& chart, bool data = true, bool text = false)
    {
        TMemoryStream s;
        SaveChartStream(chart, s, data, text);
        return Bytes(s);
    }

    static void Load(TCustomChart& chart, const std::string& bytes, bool data = false, const TProcessChartError& onError = {})
    {
        TMemoryStream s = StreamOf(bytes);
        TCustomChart* p = &chart;
        LoadChartStream(p, s, data, onError);
        EXPECT_EQ(p, &chart);
    }
};

TEST_F(StoreTest, BinaryFormStartsWithTheHeaderAndTheSignature)
{
    TChart chart(nullptr);
    Fill(chart);
    EXPECT_EQ(Saved(chart).substr(0, 8), std::string("\x60\x30\x57\x01TPF0", 8));
    TMemoryStream s = StreamOf(Saved(chart));
    EXPECT_TRUE(IsChartStream(s));
    EXPECT_TRUE(IsBinaryChartStream(s));
    EXPECT_EQ(s.Position(), 0);
    const std::string text = Saved(chart, true, true);
    EXPECT_EQ(text.substr(0, 13), "object TChart");
    TMemoryStream t = StreamOf(text);
    EXPECT_TRUE(IsChartStream(t));
    EXPECT_FALSE(IsBinaryChartStream(t));
}

TEST_F(StoreTest, WithAndWithoutPointsAndInBothForms)
{
    TChart source(nullptr);
    Fill(source);
    for (bool text : {false, true}) {
        for (bool data : {false, true}) {
            SCOPED_TRACE(std::string(text ? "text" : "binary") + (data ? " with data" : " without data"));
            TChart back(nullptr);
            Load(back, Saved(source, data, text));
            ASSERT_EQ(back.CountSeries(), 2);
            EXPECT_EQ(back.Title().Text().Text(), source.Title().Text().Text());
            EXPECT_EQ(back.SeriesAt(1)->Title(), "Fit");
            EXPECT_EQ(back.SeriesAt(0)->PointCount(), data ? 3 : 0);
            if (data) EXPECT_EQ(back.SeriesAt(1)->YValues().ValueAt(1), 4);
            // The flags the writer set are gone again.
            EXPECT_FALSE(source.SeriesAt(0)->ForceStoreData());
            EXPECT_FALSE(source.SeriesAt(0)->NeverStoreData());
        }
    }
    // Both forms convert into each other.
    TMemoryStream binary = StreamOf(Saved(source)), text, again;
    ChartBinaryToText(binary, text);
    EXPECT_EQ(Bytes(text), Saved(source, true, true));
    text.SetPosition(0);
    ChartTextToBinary(text, again);
    EXPECT_EQ(Bytes(again), Saved(source));
}

TEST_F(StoreTest, FileNamesGetTheNativeExtensionOnlyWithoutOne)
{
    TTempFolder folder;
    TChart chart(nullptr);
    Fill(chart);
    EXPECT_EQ(AddChartFileExt("a/b.c/chart"), "a/b.c/chart.lum");
    EXPECT_EQ(AddChartFileExt("chart.dat"), "chart.dat");
    SaveChartFile(chart, folder.Path() + "/plain");
    EXPECT_EQ(FileBytes(folder.Path() + "/plain.lum"), Saved(chart));
    SaveChartFile(chart, folder.Path() + "/other.txt", false, true);
    EXPECT_EQ(FileBytes(folder.Path() + "/other.txt"), Saved(chart, false, true));
}

TEST_F(StoreTest, TheThreeRefusalsLeaveTheChartUntouched)
{
    struct Case {
        std::string bytes;
        bool withChart;
        const char* message;
    };
    const Case cases[] = {
        {"", true, "Empty *.lum file"},
        {"PK\x03\x04", true, "Wrong *.lum file format"},
        {std::string("\x60\x30\x57\x01", 4), false, "Invalid Chart in *.lum file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        TRepaintCountingChart chart(nullptr);
        Fill(chart);
        const std::string before = Saved(chart);
        TMemoryStream s = StreamOf(c.bytes);
        TCustomChart* p = c.withChart ? &chart : nullptr;
        try {
            LoadChartStream(p, s, true);
            ADD_FAILURE() << "loaded";
        } catch (const ChartException& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
        EXPECT_EQ(Saved(chart), before);
        EXPECT_TRUE(chart.AutoRepaint());
    }
}

TEST_F(StoreTest, TheChartKeepsItsOwnNameAndTheStreamHasNone)
{
    TComponent form(nullptr);
    TChart source(&form);
    source.SetName("Source");
    Fill(source);
    const std::string bytes = Saved(source);
    EXPECT_EQ(bytes.substr(8, 8), std::string("\x06TChart\x00", 8));
    EXPECT_EQ(source.Name(), "Source");
    TChart target(&form);
    target.SetName("Target");
    Load(target, bytes);
    EXPECT_EQ(target.Name(), "Target");
    // A stream that names its chart gives that name to a chart without one.
    TChart unnamed(nullptr);
    std::string named = bytes;
    named.replace(15, 1, std::string("\x05" "Named", 6));
    Load(unnamed, named);
    EXPECT_EQ(unnamed.Name(), "Named");
}

TEST_F(StoreTest, TrailingPointDataIsReadWhenAsked)
{
    TChart source(nullptr);
    Fill(source);
    TMemoryStream s;
    SaveChartStream(source, s, false);
    for (int i = 0; i < source.CountSeries(); ++i) WriteSeriesPointData(*source.SeriesAt(i), s);
    for (bool data : {false, true}) {
        TChart back(nullptr);
        Load(back, Bytes(s), data);
        ASSERT_EQ(back.CountSeries(), 2);
        EXPECT_EQ(back.SeriesAt(0)->PointCount(), data ? 3 : 0);
        EXPECT_EQ(back.SeriesAt(1)->PointCount(), data ? 2 : 0);
    }
}

TEST_F(StoreTest, ALoadReplacesSeriesAndToolsAndRepaintsAlsoAfterAFailure)
{
    TChart source(nullptr);
    Fill(source);
    const std::string whole = Saved(source);
    TRepaintCountingChart chart(nullptr);
    AddSeries(chart, {9, 9, 9, 9});
    Load(chart, whole);
    EXPECT_EQ(chart.CountSeries(), 2);
    EXPECT_TRUE(chart.AutoRepaint());
    EXPECT_GT(chart.Repaints, 0);
    // A stream cut short: a read error, repainting on again and a repaint asked.
    for (std::size_t n : {std::size_t{9}, whole.size() / 2, whole.size() - 1}) {
        SCOPED_TRACE(n);
        chart.Repaints = 0;
        TMemoryStream s = StreamOf(whole.substr(0, n));
        TCustomChart* p = &chart;
        EXPECT_THROW(LoadChartStream(p, s), EReadError);
        EXPECT_TRUE(chart.AutoRepaint());
        EXPECT_EQ(chart.Repaints, 1);
    }
}

TEST_F(StoreTest, ReadingErrorsGoToTheCallbackOrArePassedOver)
{
    TChart source(nullptr);
    Fill(source);
    std::string text = Saved(source, true, true);
    text.insert(text.find("\r\n  object ") + 2, "  object Ghost: TNoSuchSeries\r\n    Size = 1\r\n  end\r\n");
    text.insert(text.find("\r\n") + 2, "  Bogus = 5\r\n");
    // Without a callback every such error is passed over.
    TChart quiet(nullptr);
    Load(quiet, text);
    EXPECT_EQ(quiet.CountSeries(), 2);
    std::vector<std::string> messages;
    TChart asked(nullptr);
    Load(asked, text, false, [&](const std::string& m) {
        messages.push_back(m);
        return true;
    });
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[0].find("Bogus"), std::string::npos);
    EXPECT_NE(messages[1].find("TNoSuchSeries"), std::string::npos);
    TChart stopped(nullptr);
    EXPECT_THROW(Load(stopped, text, false, [](const std::string&) { return false; }), EReadError);
    EXPECT_TRUE(stopped.AutoRepaint());
}

} // namespace
