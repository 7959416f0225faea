// A chart with much of what a chart can hold, saved as a native stream, loaded into a fresh chart and
// saved again: the same bytes and the same pixels. A walker of the binary stream, written apart from the
// writer, checks the layout: the root, the series with their functions, the tools and the point blocks.
#include "chart/control/Chart.h"
#include "chart/control/LumStore.h"
#include "chart/control/LumTools.h"
#include "chart/control/LumToolsAnnotation.h"
#include "chart/control/LumToolsAxisLines.h"
#include "chart/control/LumToolsDrawLine.h"
#include "chart/engine/LumEngine.h"
#include "chart/engine/LumEngineSeriesStream.h"
#include "chart/engine/LumFunci.h"
#include "chart/series/ErrorBar.h"
#include "chart/series/LumMapSeries.h"
#include "chart/series/SeriesLine.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/PropertyStream.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace store_rich_chart_test {

std::string Bytes(TMemoryStream& s) { return std::string(reinterpret_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.Size())); }

std::string SeriesFixture()
{
    std::ifstream f(std::string(VSP_TEST_DATA) + "/seriesdata/small_series.bin", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

template <class T>
T& Add(TChart& chart, const std::string& name)
{
    auto* s = new T(&chart);
    s->SetName(name);
    s->SetParentChart(&chart);
    return *s;
}

template <class T>
T& AddTool(TChart& chart, const std::string& name)
{
    auto* t = new T(&chart);
    t->SetName(name);
    chart.Tools().AddTool(t);
    return *t;
}

void BuildRichChart(TChart& chart)
{
    chart.SetBounds(0, 0, 640, 420);
    chart.SetBufferedDisplay(false);
    chart.Title().Text().SetText("Profile A\nself-potential");
    chart.Foot().Text().SetText("line 3");
    chart.Legend().SetColor(TColor(0xE0FFFF));
    chart.BackWall().SetColor(TColor(0xF0F0F0));
    chart.BackWall().Brush().SetStyle(bsSolid);
    chart.LeftWall().SetColor(clSilver);
    TChartAxis& custom = chart.CustomAxes().Add();
    custom.SetPositionPercent(30);
    custom.Title().SetCaption("mV (custom)");

    auto& line = Add<TLineSeries>(chart, "Line1");
    line.SetSeriesColor(clNavy);
    line.InsertPoint(0, 10, "start", clRed);
    line.InsertPoint(1, 12);
    line.AppendNullValue("gap");
    line.InsertPoint(3, 9, "end");
    line.Marks().SetVisible(true);
    line.BindCustomVertAxis(&custom);

    auto& points = Add<TPointSeries>(chart, "Points1");
    points.SetSeriesColor(clGreen);
    for (int i = 0; i < 6; ++i) points.InsertPoint(i * 0.5, 3 + (i % 3), "", i == 2 ? clFuchsia : clDefault);

    auto& area = Add<TAreaSeries>(chart, "Area1");
    area.SetSeriesColor(TColor(0x80C0FF));
    for (int i = 0; i < 5; ++i) area.InsertPoint(i, 1 + i * 0.25);

    auto& average = Add<TLineSeries>(chart, "Average1");
    auto* function = new TAverageLumFunction(&chart);
    function->SetName("Function1");
    average.AttachFunction(function);
    average.SetDataSource(&points);

    auto& errors = Add<TErrorBarSeries>(chart, "Errors1");
    // The points of the series data fixture: x, y, error, label, colour and a placed mark.
    errors.ErrorValues().PendingValue = 100;
    errors.InsertPoint(10, 1.5, "abc");
    errors.ErrorValues().PendingValue = -1;
    errors.InsertPoint(20, -2, "", TColor(0x123456));
    TSeriesMarkPosition p;
    p.ArrowFrom = {1, 2};
    p.ArrowTo = {3, 4};
    p.Height = 5;
    p.LeftTop = {6, 7};
    p.Width = 8;
    errors.Marks().Positions().StoreCustomPosition(0, p);
    errors.SetActive(false);

    auto& map = Add<TMapSeries>(chart, "Map1");
    for (int n = 0; n < 2; ++n) {
        TLumPolygon& polygon = *map.Shapes().AddPolygon();
        for (int v = 0; v < 4; ++v) polygon.AddVertex(n * 2 + (v == 1 || v == 2), 5 + (v >= 2));
        polygon.SetZ(n + 1);
        polygon.SetText("P" + std::to_string(n));
    }

    auto& colourLine = AddTool<TColorLineTool>(chart, "ColorLine1");
    colourLine.SetAxis(&custom);
    colourLine.SetValue(11);
    colourLine.Pen().SetColor(clRed);

    auto& lines = AddTool<TDrawLineTool>(chart, "DrawLine1");
    lines.SetSeries(&line);
    static_cast<TDrawLine*>(lines.Lines().Add())->PlaceSilently(0.5, 9.5, 2.5, 11.5);

    auto& note = AddTool<TAnnotationTool>(chart, "Annotation1");
    note.SetText("Anomaly");
    note.SetPosition(ppRightTop);

    auto& image = AddTool<TChartImageTool>(chart, "Image1");
    TBitmap& bitmap = image.Picture().Bitmap();
    bitmap.SetSize(8, 6);
    bitmap.Canvas().Brush().SetColor(clYellow);
    bitmap.Canvas().FillRect({0, 0, 8, 6});
    bitmap.Canvas().Brush().SetColor(clBlue);
    bitmap.Canvas().FillRect({2, 2, 6, 4});
    image.SetSeries(&area);
}

std::string Saved(TCustomChart& chart)
{
    TMemoryStream s;
    SaveChartStream(chart, s, true, false);
    return Bytes(s);
}

TPixelBuffer Rendered(TCustomChart& chart)
{
    TBitmap bitmap(chart.Width(), chart.Height());
    chart.DrawOnCanvas(bitmap.Canvas(), chart.ChartBounds());
    return bitmap.ToPixels();
}

TEST(StoreRichChart, SavedLoadedAndSavedAgainGivesTheSameBytesAndPixels)
{
    TComponent form(nullptr);
    TChart source(&form);
    BuildRichChart(source);
    const std::string first = Saved(source);
    if (std::getenv("VSP_STORE_SHOT")) {
        TMemoryStream t;
        SaveChartStream(source, t, true, true);
        std::ofstream(std::getenv("VSP_STORE_SHOT"), std::ios::binary) << Bytes(t);
        std::ofstream(std::string(std::getenv("VSP_STORE_SHOT")) + ".lum", std::ios::binary) << first;
        TBitmap shot(source.Width(), source.Height());
        source.DrawOnCanvas(shot.Canvas(), source.ChartBounds());
        shot.SaveToFile(std::string(std::getenv("VSP_STORE_SHOT")) + ".bmp");
    }

    TChart loaded(&form);
    loaded.SetBounds(0, 0, 640, 420);
    loaded.SetBufferedDisplay(false);
    TMemoryStream s;
    s.WriteBytes(first);
    s.SetPosition(0);
    TCustomChart* p = &loaded;
    std::vector<std::string> errors;
    LoadChartStream(p, s, false, [&](const std::string& m) {
        errors.push_back(m);
        return true;
    });
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(loaded.CountSeries(), 6);
    EXPECT_EQ(loaded.Tools().Count(), 4);
    ASSERT_EQ(loaded.CustomAxes().Count(), 1);
    EXPECT_EQ(loaded.SeriesAt(0)->CustomVertAxis(), &loaded.CustomAxes().CustomAxisAt(0));
    EXPECT_EQ(Saved(loaded), first);

    const TPixelBuffer a = Rendered(source), b = Rendered(loaded);
    ASSERT_EQ(a.Pixels.size(), b.Pixels.size());
    std::size_t differ = 0;
    for (std::size_t i = 0; i < a.Pixels.size(); ++i) differ += a.Pixels[i] != b.Pixels[i];
    EXPECT_EQ(differ, 0u);
}

// ---- The walker ----------------------------------------------------------------------------------------

// One component of the stream as the walker found it.
struct TWalked {
    std::string ClassName, Name;
    std::vector<std::string> Properties;
    std::string Data; // the "Data" block, when there is one
    std::vector<TWalked> Children;
};

// Reads the binary layout directly: short texts, tagged values, property lists, children.
class TWalker {
public:
    explicit TWalker(const std::string& Bytes) : FBytes(Bytes) {}

    TWalked Root()
    {
        EXPECT_EQ(FBytes.substr(0, 8), std::string("\x60\x30\x57\x01TPF0", 8));
        FAt = 8;
        TWalked root = Component();
        EXPECT_EQ(FAt, FBytes.size());
        return root;
    }

private:
    std::uint8_t Byte() { return static_cast<std::uint8_t>(FBytes.at(FAt++)); }
    std::string Take(std::size_t n)
    {
        std::string s = FBytes.substr(FAt, n);
        EXPECT_EQ(s.size(), n);
        FAt += n;
        return s;
    }
    std::string Short() { return Take(Byte()); }
    std::int32_t Int32()
    {
        std::int32_t v = 0;
        const std::string b = Take(4);
        std::memcpy(&v, b.data(), 4);
        return v;
    }

    TWalked Component()
    {
        TWalked c;
        c.ClassName = Short();
        c.Name = Short();
        for (std::string name = Short(); !name.empty(); name = Short()) {
            c.Properties.push_back(name);
            std::string value = Value();
            if (name == "Data") c.Data = value;
        }
        while (FBytes.at(FAt) != 0) c.Children.push_back(Component());
        ++FAt;
        return c;
    }

    // Skips a value; a binary value's bytes are returned.
    std::string Value()
    {
        const std::uint8_t tag = Byte();
        switch (tag) {
        case 1: // list
            while (FBytes.at(FAt) != 0) Value();
            ++FAt;
            return {};
        case 2: Take(1); return {};
        case 3: Take(2); return {};
        case 4: Take(4); return {};
        case 5: Take(10); return {};
        case 6: case 7: Short(); return {};
        case 8: case 9: case 13: return {};
        case 10: return Take(static_cast<std::size_t>(Int32()));
        case 11:
            while (!Short().empty()) {}
            return {};
        case 12: case 20: Take(static_cast<std::size_t>(Int32())); return {};
        case 14: // collection
            while (Byte() != 0) {
                for (std::string name = Short(); !name.empty(); name = Short()) Value();
            }
            return {};
        case 19: Take(8); return {};
        default: ADD_FAILURE() << "tag " << int(tag) << " at " << FAt; throw std::runtime_error("walker");
        }
    }

    const std::string& FBytes;
    std::size_t FAt = 0;
};

TEST(StoreRichChart, AWalkerFindsTheRootSeriesFunctionsToolsAndPointBlocks)
{
    TComponent form(nullptr);
    TChart chart(&form);
    chart.SetName("Chart1");
    BuildRichChart(chart);
    const TWalked root = TWalker(Saved(chart)).Root();
    EXPECT_EQ(root.ClassName, "TChart");
    EXPECT_EQ(root.Name, "");
    EXPECT_NE(std::find(root.Properties.begin(), root.Properties.end(), "CustomAxes"), root.Properties.end());
    std::vector<std::string> children;
    for (const TWalked& c : root.Children) {
        children.push_back(c.Name + ":" + c.ClassName);
        for (const TWalked& g : c.Children) children.push_back("  " + g.Name + ":" + g.ClassName);
    }
    EXPECT_EQ(children, (std::vector<std::string>{"Line1:TLineSeries", "Points1:TPointSeries", "Area1:TAreaSeries",
                                                  "Average1:TLineSeries", "  Function1:TAverageLumFunction",
                                                  "Errors1:TErrorBarSeries", "Map1:TMapSeries",
                                                  "ColorLine1:TColorLineTool", "DrawLine1:TDrawLineTool",
                                                  "Annotation1:TAnnotationTool", "Image1:TChartImageTool"}));
    // Every series' block is its point data; the error bars hold the fixture's points.
    for (int i = 0; i < chart.CountSeries(); ++i) {
        SCOPED_TRACE(root.Children[static_cast<std::size_t>(i)].Name);
        TMemoryStream expected;
        if (dynamic_cast<TMapSeries*>(chart.SeriesAt(i))) continue; // its polygons carry the points
        WriteSeriesPointData(*chart.SeriesAt(i), expected);
        EXPECT_EQ(root.Children[static_cast<std::size_t>(i)].Data, Bytes(expected));
    }
    EXPECT_EQ(root.Children[4].Data, SeriesFixture());
    EXPECT_EQ(chart.Name(), "Chart1");
}

} // namespace store_rich_chart_test
