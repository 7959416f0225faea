// The series data exporters against fixtures written from the export templates by
// tests/data/export/make_exports.py (and read by independent readers in read_exports.py), and the edge
// cases: one series alone, the first text lines, colours, escaped type descriptions, the spreadsheet's
// records and its row limit, a separator that is the decimal separator.
#include "ChartTestSupport.h"

#include "chart/control/ChartRegistry.h"
#include "chart/control/LumStoreData.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace data_export_test {

std::string Fixture(const std::string& name)
{
    std::ifstream f(std::string(VSP_TEST_DATA) + "/export/" + name, std::ios::binary);
    EXPECT_TRUE(f.good()) << name;
    return std::string(std::istreambuf_iterator<char>(f), {});
}

std::string Saved(TLumExportData& e)
{
    TMemoryStream s;
    e.SaveToStream(s);
    return std::string(reinterpret_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.Size()));
}

// The fixture script's two series.
struct TTwoSeries {
    TChart Chart{nullptr};
    TLineTestSeries* SP = new TLineTestSeries(&Chart);
    TLineTestSeries* Fit = new TLineTestSeries(&Chart);

    TTwoSeries()
    {
        SP->SetTitle("SP");
        SP->SetSeriesColor(clNavy);
        SP->InsertPoint(0.5, 10, "a<b", clRed);
        SP->InsertPoint(1.5, -2.25, "R&D \"x\"", clNone);
        SP->InsertPoint(2.5, 7, "Caf\xe9");
        SP->SetParentChart(&Chart);
        Fit->SetTitle("Fit");
        Fit->SetSeriesColor(clGreen);
        Fit->YValues().SetDateTime(true);
        for (int i = 0; i < 5; ++i) Fit->InsertPoint(i, 46000 + i);
        Fit->SetParentChart(&Chart);
    }
};

template <class E>
void SwitchAllOn(E& e)
{
    e.WithIndex = true;
    e.WithHeader = true;
    e.WithColors = true;
}

class DataExport : public ::testing::Test {
protected:
    void SetUp() override { ResetFormatSettings(); }
    void TearDown() override { ResetFormatSettings(); }
};

TEST_F(DataExport, TwoSeriesUnderTheDefaultsAndEverySwitchMatchTheFixtures)
{
    TTwoSeries t;
    {
        TSeriesDataText e(&t.Chart);
        EXPECT_EQ(e.AsString(), Fixture("text_default.txt"));
        EXPECT_EQ(Saved(e), Fixture("text_default.txt"));
        SwitchAllOn(e);
        e.Separator = ',';
        e.QuoteText = "\"";
        EXPECT_EQ(e.AsString(), Fixture("text_all_comma.csv"));
    }
    {
        TSeriesDataXML e(&t.Chart);
        EXPECT_EQ(e.AsString(), Fixture("xml_default.xml"));
        SwitchAllOn(e);
        EXPECT_EQ(e.AsString(), Fixture("xml_all.xml"));
    }
    {
        TSeriesDataHTML e(&t.Chart);
        EXPECT_EQ(e.AsString(), Fixture("html_default.htm"));
        SwitchAllOn(e);
        EXPECT_EQ(e.AsString(), Fixture("html_all.htm"));
    }
    {
        TSeriesDataXLS e(&t.Chart);
        EXPECT_EQ(Saved(e), Fixture("xls_default.xls"));
        EXPECT_EQ(e.AsString(), std::string(10, ' ').replace(0, 10, "\r\n\r\n\r\n\r\n\r\n"));
        SwitchAllOn(e);
        EXPECT_EQ(Saved(e), Fixture("xls_all.xls"));
    }
}

TEST_F(DataExport, ThePartsSmallCases)
{
    TChart chart(nullptr);
    auto& s = AddSeries(chart, {4, 5, 6}, "Profile");
    TSeriesDataText text(&chart, &s);
    EXPECT_EQ(text.AsString(), "4\r\n5\r\n6\r\n\r\n");
    text.WithIndex = true;
    text.WithHeader = true;
    EXPECT_EQ(text.AsString(), "Index\tProfile\r\n0\t4\r\n1\t5\r\n2\t6\r\n\r\n");

    s.SetSeriesColor(clNavy);
    s.StorePointColor(0, clRed);
    TSeriesDataHTML html(&chart, &s);
    html.WithColors = true;
    EXPECT_NE(html.AsString().find("<td>#FF0000</td>"), std::string::npos);

    TSeriesDataXLS xls(&chart, &s);
    xls.WithHeader = true;
    s.DeletePoint(2);
    const std::string bytes = Saved(xls);
    std::string expected = std::string("\x09\x08\x08\x00\x00\x00\x10\x00\x00\x00\x00\x00", 12) +
                           std::string("\x00\x02\x0A\x00\x00\x00\x03\x00\x00\x00\x01\x00\x00\x00", 14);
    expected += std::string("\x04\x00\x09\x00\x00\x00\x00\x00\x00\x00\x00\x01Y", 13);
    for (int row = 1; row <= 2; ++row) {
        expected += std::string("\x03\x00\x0F\x00", 4) + char(row) + std::string("\x00\x00\x00\x00\x00\x00", 6);
        const double v = row == 1 ? 4 : 5;
        expected += std::string(reinterpret_cast<const char*>(&v), 8);
    }
    expected += std::string("\x0A\x00\x00\x00", 4);
    EXPECT_EQ(bytes, expected);
}

TEST_F(DataExport, MarkupIsEscapedEverywhere)
{
    TChart chart(nullptr);
    auto& s = AddSeries<TOtherTestSeries>(chart, {1}, "Gain <&> \"loss\"");
    RegisterSeries(TOtherTestSeries::StaticClassInfo(), "Up & down & back", "Standard");
    TSeriesDataXML xml(&chart, &s);
    const std::string text = xml.AsString();
    UnregisterSeriesOrFunction(true, TOtherTestSeries::StaticClassInfo());
    EXPECT_NE(text.find("title=\"Gain &lt;&amp;&gt; &quot;loss&quot;\""), std::string::npos) << text;
    EXPECT_NE(text.find("type=\"Up &amp; down &amp; back\""), std::string::npos) << text;
    TSeriesDataHTML html(&chart, &s);
    html.WithHeader = true;
    EXPECT_NE(html.AsString().find("<td>Gain &lt;&amp;&gt; &quot;loss&quot;</td>"), std::string::npos);
}

TEST_F(DataExport, SpreadsheetRowsStopAtTheWordLimit)
{
    TChart chart(nullptr);
    auto& s = AddSeries(chart, {});
    for (int i = 0; i < 65534; ++i) s.InsertPoint(i, i);
    TSeriesDataXLS xls(&chart, &s);
    xls.WithHeader = true;
    EXPECT_NO_THROW(Saved(xls)); // 65,535 rows with the header
    s.InsertPoint(65534, 1);
    std::string written;
    try {
        written = Saved(xls);
        ADD_FAILURE() << "written";
    } catch (const ChartException& e) {
        EXPECT_EQ(e.Message(), "Too many rows for a spreadsheet file");
    }
    EXPECT_TRUE(written.empty());
    TChart empty(nullptr);
    TSeriesDataXLS none(&empty);
    EXPECT_EQ(Saved(none).substr(16, 4), std::string("\x00\x00\x00\x00", 4)) << "no series: 0 rows";
}

TEST_F(DataExport, ACommaSeparatorUnderACommaLocaleKeepsThePoint)
{
    FormatSettings().DecimalSeparator = ',';
    TChart chart(nullptr);
    auto& s = AddSeries(chart, {1.5, 2.25});
    TSeriesDataText text(&chart, &s);
    text.Separator = ',';
    text.WithIndex = true;
    EXPECT_EQ(text.AsString(), "0,1.5\r\n1,2.25\r\n\r\n");
    text.Separator = ';';
    EXPECT_EQ(text.AsString(), "0;1,5\r\n1;2,25\r\n\r\n");
}

} // namespace data_export_test
