// The legend on the recording backend's fixed metrics: its effective style, side and top/bottom layouts
// with the rows and columns that fit, the item texts in two columns, the HTML switch, order and paging,
// check boxes in the three check modes, the item under a point, clicks, events and the size hook; and
// the faults it must survive (a freed series, a frame wider than the chart, no rows, no item height).
#include "ChartTestSupport.h"

#include "platform/rtl/PixelMath.h"

#include <optional>

#include <gtest/gtest.h>

namespace {

// A recorded chart with series of the given titles (three points each, values i + 1).
struct TLegendChart : TRecordedChart {
    std::vector<TLineTestSeries*> Series;

    explicit TLegendChart(const std::vector<std::string>& Titles = {"Alpha", "B", "Gamma"})
    {
        for (std::size_t i = 0; i < Titles.size(); ++i)
            Series.push_back(&AddSeries(Chart, {double(i + 1), double(i + 2), double(i + 3)}, Titles[i]));
    }
    TChartLegend& Legend() { return Chart.Legend(); }
    // The texts among the given ones that were written, in drawing order.
    std::vector<std::string> Written(const std::vector<std::string>& Candidates) const
    {
        std::vector<std::string> out;
        for (const TText& t : Texts())
            if (std::find(Candidates.begin(), Candidates.end(), t.Text) != Candidates.end()) out.push_back(t.Text);
        return out;
    }
    // The check boxes drawn, in order: checked or not (a 13 x 13 box or circle; the mark inside it).
    std::vector<bool> CheckStates() const
    {
        std::vector<bool> out;
        TRect box;
        for (const auto& r : Recorder->Records) {
            const bool boxRecord = (r.Kind == "FillRect" || r.Kind == "Ellipse") && r.Args.size() >= 4 &&
                                   r.Args[2] - r.Args[0] == 13 && r.Args[3] - r.Args[1] == 13;
            if (boxRecord) {
                out.push_back(false);
                box = {r.Args[0], r.Args[1], r.Args[2], r.Args[3]};
                continue;
            }
            if (out.empty()) continue;
            const bool markRecord = (r.Kind == "SetPixel" && r.Args.size() >= 2) ||
                                    (r.Kind == "Ellipse" && r.Args.size() >= 4 && r.Args[2] - r.Args[0] == 4);
            if (markRecord && r.Args[0] >= box.Left && r.Args[0] < box.Right && r.Args[1] >= box.Top &&
                r.Args[1] < box.Bottom)
                out.back() = true;
        }
        return out;
    }
};

std::vector<std::string> Names(int Count, const std::string& Base = "S")
{
    std::vector<std::string> out;
    for (int i = 0; i < Count; ++i) out.push_back(Base + std::to_string(i));
    return out;
}

} // namespace

TEST(ChartLegend, EffectiveStyle)
{
    struct Case {
        TLegendStyle Style;
        bool CheckBoxes;
        int Active;
        TLegendStyle Expected;
    };
    const Case cases[] = {
        {lsAuto, false, 1, lsValues},   {lsAuto, false, 2, lsSeries},     {lsAuto, true, 1, lsSeries},
        {lsAuto, false, 0, lsValues},   {lsValues, true, 2, lsValues},    {lsLastValues, false, 1, lsLastValues},
        {lsSeries, false, 1, lsSeries},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(LegendStyleNames.NameOf(c.Style)) + (c.CheckBoxes ? " boxes " : " ") +
                     std::to_string(c.Active));
        TLegendChart lc({"One", "Two"});
        for (int i = 0; i < 2; ++i) lc.Series[i]->SetActive(i < c.Active);
        lc.Legend().SetLegendStyle(c.Style);
        lc.Legend().SetCheckBoxes(c.CheckBoxes);
        EXPECT_EQ(lc.Legend().ComputeEffectiveStyle(), c.Expected);
        EXPECT_EQ(lc.Legend().CheckBoxesShown(), c.CheckBoxes && c.Expected != lsValues);
    }
    // What is listed follows: one series lists its values, two list themselves.
    TLegendChart one({"Only"});
    one.Draw();
    EXPECT_FALSE(one.Has("Only"));
    EXPECT_TRUE(one.Has("1") && one.Has("2") && one.Has("3"));
    EXPECT_EQ(one.Legend().EffectiveStyle(), lsValues);
    TLegendChart two({"One", "Two"});
    two.Draw();
    EXPECT_EQ(two.Written({"One", "Two"}), (std::vector<std::string>{"One", "Two"}));
}

TEST(ChartLegend, SideLayout)
{
    for (const TLegendAlignment alignment : {laRight, laLeft}) {
        SCOPED_TRACE(LegendAlignmentNames.NameOf(alignment));
        TLegendChart lc;
        lc.Legend().SetAlignment(alignment);
        lc.Draw();
        const TChartLegend& legend = lc.Legend();
        const TRect b = lc.Chart.Before, r = legend.ShapeRect();
        const TFont& font = legend.Font();
        const int h = lc.CharHeight(font), s = lc.TextWidth(font, " "), f = 1;
        const int t = 2 * s - 1 + std::max({lc.TextWidth(font, "Alpha"), lc.TextWidth(font, "B"), lc.TextWidth(font, "Gamma")});
        const int symbol = PixelFromReal((t + 10) * 20 * 0.01);
        const int w = t + 10 + symbol;
        const int m = PixelFromReal(h * 0.1);
        EXPECT_EQ(legend.Layout().Columns, 1);
        EXPECT_EQ(legend.Layout().Rows, 3);
        EXPECT_EQ(legend.Layout().SymbolWidth, symbol);
        EXPECT_EQ(r.Top, PixelFromReal(10 * 400 * 0.01)) << "TopPos percent of the panel";
        EXPECT_EQ(r.Bottom, r.Top + h * 3 + 2 + 2 * m);
        EXPECT_EQ(r.Right - r.Left, w);
        const int gap = 3 * (b.Right - b.Left) / 100;
        if (alignment == laRight) {
            EXPECT_EQ(r.Right, b.Right - (lc.Legend().Shadow().HorizSize() + f + 1)) << "clear of its shadow and frame";
            EXPECT_EQ(lc.Chart.After.Right, r.Left - gap);
            EXPECT_EQ(lc.Chart.After.Left, b.Left);
        } else {
            EXPECT_EQ(r.Left, b.Left + f + 1);
            EXPECT_EQ(lc.Chart.After.Left, r.Right + gap);
        }
        for (int k = 0; k < 3; ++k) {
            const auto text = lc.Find(std::vector<std::string>{"Alpha", "B", "Gamma"}[k]);
            EXPECT_EQ(text.X, r.Left + 6 + symbol + 4);
            EXPECT_EQ(text.Y, r.Top + m + 1 + h * k);
        }
    }
    // A margin of its own replaces the 3 percent; the symbol on the right swaps the columns.
    TLegendChart lc;
    lc.Legend().SetHorizMargin(11);
    lc.Legend().Symbol().SetPosition(spRight);
    lc.Draw();
    const TRect r = lc.Legend().ShapeRect();
    EXPECT_EQ(lc.Chart.After.Right, r.Left - 11);
    EXPECT_EQ(lc.Find("Alpha").X, r.Left + 6);
    EXPECT_EQ(lc.Legend().Layout().SymbolX, r.Left + 6 + lc.Legend().Layout().TextWidth);
}

TEST(ChartLegend, SideRowsThatFitAndMaxNumRows)
{
    struct Case {
        int Series, TopPos, MaxNumRows;
    };
    const Case cases[] = {{15, 10, 10}, {15, 10, 4}, {15, 80, 10}, {3, 95, 10}, {3, 10, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.Series) + " series, top " + std::to_string(c.TopPos) + ", at most " +
                     std::to_string(c.MaxNumRows));
        TLegendChart lc(Names(c.Series));
        lc.Legend().SetTopPos(c.TopPos);
        lc.Legend().SetMaxNumRows(c.MaxNumRows);
        lc.Draw();
        const int h = lc.CharHeight(lc.Legend().Font());
        const int itemsTop = PixelFromReal(c.TopPos * 400 * 0.01);
        const int bottom = lc.Chart.Before.Bottom;
        int rows = itemsTop >= bottom ? 0 : std::min((bottom - itemsTop - 2) / h, c.Series);
        rows = std::min(rows, c.MaxNumRows);
        const auto all = Names(c.Series);
        EXPECT_EQ(lc.Written(all), std::vector<std::string>(all.begin(), all.begin() + std::max(rows, 0)));
        if (rows <= 0) {
            EXPECT_EQ(lc.Chart.After, lc.Chart.Before) << "nothing drawn takes nothing";
        }
    }
}

TEST(ChartLegend, TopAndBottomLayout)
{
    for (const TLegendAlignment alignment : {laBottom, laTop}) {
        SCOPED_TRACE(LegendAlignmentNames.NameOf(alignment));
        TLegendChart lc(Names(5));
        lc.Legend().SetAlignment(alignment);
        lc.Draw();
        const TChartLegend& legend = lc.Legend();
        const TRect b = lc.Chart.Before, r = legend.ShapeRect();
        const TFont& font = legend.Font();
        const int h = lc.CharHeight(font), s = lc.TextWidth(font, " "), f = 1;
        const int t = 2 * s - 1 + lc.TextWidth(font, "S0");
        const int symbol = PixelFromReal(t * 20 * 0.01);
        const int columns = std::min((b.Right - b.Left - 2 * f - 8) / (symbol + t + 8), 5);
        ASSERT_EQ(columns, 5) << "short texts all fit in one row";
        EXPECT_EQ(legend.Layout().Rows, 1);
        const int m = PixelFromReal(h * 0.1);
        const int w = 5 * (t + symbol) + 12 + 6 * 4 + 4;
        EXPECT_EQ(r.Right - r.Left, 2 * (w / 2));
        EXPECT_EQ(r.Left, (b.Left + b.Right) / 2 - w / 2 + PixelFromReal(10 * (600 - 2 * (w / 2)) * 0.01));
        EXPECT_EQ(r.Bottom - r.Top, h + 2 + 2 * m);
        const int gap = 4 * (b.Bottom - b.Top) / 100;
        const int shadow = lc.Chart.Shadow().VertSize();
        if (alignment == laBottom) {
            EXPECT_EQ(r.Bottom, b.Bottom - (shadow + f + 1)) << "clear of the chart's shadow and its frame";
            EXPECT_EQ(lc.Chart.After.Bottom, r.Top - gap);
        } else {
            EXPECT_EQ(r.Top, b.Top + f + 1);
            EXPECT_EQ(lc.Chart.After.Top, r.Bottom + shadow + gap) << "below the chart's shadow";
        }
        for (int k = 0; k < 5; ++k) {
            const auto text = lc.Find("S" + std::to_string(k));
            EXPECT_EQ(text.X, r.Left + 6 + symbol + 4 + k * (t + symbol + 6));
            EXPECT_EQ(text.Y, r.Top + m + 1);
        }
    }
}

TEST(ChartLegend, ColumnsRowsAndMaxNumRowsOfABottomLegend)
{
    const std::string wide(33, 'w');
    struct Case {
        int Series, MaxNumRows, Columns, Rows;
    };
    // Texts of 34 characters leave room for two columns in the recorder's chart.
    const Case cases[] = {{5, 10, 2, 3}, {5, 2, 2, 2}, {5, 1, 5, 1}, {2, 10, 2, 1}, {5, 0, 0, 0}, {5, -3, 0, 0}};
    {
        TLegendChart lc(Names(1, wide));
        lc.Legend().SetAlignment(laBottom);
        lc.Draw();
        const TFont& font = lc.Legend().Font();
        const int t = 2 * lc.TextWidth(font, " ") - 1 + lc.TextWidth(font, wide + "0");
        const int c = PixelFromReal(t * 0.2) + t + 8;
        ASSERT_EQ((lc.Chart.Before.Right - lc.Chart.Before.Left - 2 - 8) / c, 2) << "the texts' width fits two columns";
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.Series) + " series, at most " + std::to_string(c.MaxNumRows) + " rows");
        TLegendChart lc(Names(c.Series, wide));
        lc.Legend().SetAlignment(laBottom);
        lc.Legend().SetMaxNumRows(c.MaxNumRows);
        lc.Legend().SetVertMargin(9);
        lc.Draw();
        EXPECT_EQ(lc.Legend().Layout().Columns, c.Columns);
        EXPECT_EQ(lc.Legend().Layout().Rows, c.Rows);
        const int shown = std::min(c.Series, c.Columns * c.Rows);
        const auto all = Names(c.Series, wide);
        EXPECT_EQ(lc.Written(all), std::vector<std::string>(all.begin(), all.begin() + shown));
        if (shown > 0) {
            EXPECT_EQ(lc.Chart.After.Bottom, lc.Legend().ShapeRect().Top - 9) << "its own margin";
        } else {
            EXPECT_EQ(lc.Chart.After, lc.Chart.Before);
        }
    }
}

TEST(ChartLegend, ItemTextsSplitIntoTwoColumns)
{
    TLegendChart lc({"Only"});
    lc.Legend().SetTextStyle(ltsPlain);
    lc.Chart.OnGetLegendText = [](TCustomAxisPanel*, TLegendStyle Style, int Index, std::string& Text) {
        EXPECT_EQ(Style, lsValues);
        Text = Index == 0 ? "a\x06" "bb\x06" "c" : "x";
    };
    lc.Draw();
    EXPECT_TRUE(lc.Has("a"));
    EXPECT_TRUE(lc.Has("bb"));
    EXPECT_FALSE(lc.Has("c")) << "a third column is dropped";
    const TFont& font = lc.Legend().Font();
    const auto& layout = lc.Legend().Layout();
    EXPECT_EQ(layout.ColumnWidths[0], lc.TextWidth(font, "a"));
    EXPECT_EQ(layout.ColumnWidths[1], lc.TextWidth(font, "bb"));
    // ltsPlain writes both columns left-aligned, one blank apart.
    EXPECT_EQ(lc.Find("bb").X, lc.Find("a").X + layout.ColumnWidths[0] + layout.SpaceWidth);
}

TEST(ChartLegend, ValueColumnsAlignByTextStyle)
{
    TLegendChart lc({"Only"});
    lc.Series[0]->SetPointLabel(0, "first");
    lc.Legend().SetTextStyle(ltsLeftValue);
    lc.Draw();
    // The value column is right-aligned: its x is the column's right edge.
    const auto value = lc.Find("1");
    const auto label = lc.Find("first");
    const auto& layout = lc.Legend().Layout();
    EXPECT_EQ(value.X, layout.TextX + layout.ColumnWidths[0]);
    EXPECT_EQ(label.X, value.X + layout.SpaceWidth);
}

TEST(ChartLegend, TagsSwitchToHtmlForGood)
{
    TLegendChart lc({"<b>One</b>", "Two"});
    EXPECT_EQ(lc.Legend().TextFormat(), ttfNormal);
    lc.Draw();
    EXPECT_EQ(lc.Legend().TextFormat(), ttfHtml);
    EXPECT_TRUE(lc.Has("One"));
    EXPECT_FALSE(lc.Has("<b>One</b>"));
    lc.Series[0]->SetTitle("plain");
    lc.Draw();
    EXPECT_EQ(lc.Legend().TextFormat(), ttfHtml) << "it stays";
}

TEST(ChartLegend, OrderFirstValueAndPages)
{
    struct Case {
        bool Inverted;
        int FirstValue, PerPage, Page;
        bool CurrentPage;
        std::vector<std::string> Shown;
    };
    const Case cases[] = {
        {false, 0, 0, 1, true, {"10", "11", "12", "13", "14"}},
        {true, 0, 0, 1, true, {"14", "13", "12", "11", "10"}},
        {false, 2, 0, 1, true, {"12", "13", "14"}},
        {true, 3, 0, 1, true, {"14", "13"}},
        {false, 0, 2, 2, true, {"12", "13"}},
        {false, 0, 2, 3, true, {"14"}},
        {false, 1, 2, 3, false, {"11", "12"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("first " + std::to_string(c.FirstValue) + " page " + std::to_string(c.Page));
        TRecordedChart rc;
        AddSeries(rc.Chart, {10, 11, 12, 13, 14});
        rc.Chart.Legend().SetTextStyle(ltsValue);
        rc.Chart.Legend().SetInverted(c.Inverted);
        rc.Chart.Legend().SetFirstValue(c.FirstValue);
        rc.Chart.Legend().SetCurrentPage(c.CurrentPage);
        rc.Chart.SetMaxPointsPerPage(c.PerPage);
        rc.Chart.SetPage(c.Page);
        rc.Draw();
        std::vector<std::string> shown;
        for (const auto& t : rc.Texts())
            if (t.X > rc.Chart.Legend().ShapeRect().Left && t.X < rc.Chart.Legend().ShapeRect().Right) shown.push_back(t.Text);
        EXPECT_EQ(shown, c.Shown);
    }
}

TEST(ChartLegend, FirstValueRefusesNegatives)
{
    TChart chart(nullptr);
    chart.Legend().SetFirstValue(3);
    try {
        chart.Legend().SetFirstValue(-1);
        FAIL() << "no exception";
    } catch (const LegendException& e) {
        EXPECT_EQ(e.Message(), "First Legend Value must be > 0");
    }
    EXPECT_EQ(chart.Legend().FirstValue(), 3) << "the value stays";
    chart.Legend().SetFirstValue(0);
    EXPECT_EQ(chart.Legend().FirstValue(), 0) << "0 is taken despite the message";
}

TEST(ChartLegend, CheckBoxesInTheThreeCheckModes)
{
    struct Case {
        int Mode;
        TCheckBoxesStyle Style;
        std::vector<bool> Checked;
    };
    // Series 0 is inactive, series 1 is left out of the X range, series 2 out of the Y range.
    const Case cases[] = {
        {0, cbsCheck, {false, true, true}},
        {1, cbsCheck, {true, false, true}},
        {2, cbsCheck, {true, true, false}},
        {0, cbsRadio, {false, true, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.Mode) + " " + std::string(CheckBoxesStyleNames.NameOf(c.Style)));
        TLegendChart lc;
        lc.Series[0]->SetActive(false);
        lc.Series[1]->SetExcludeFromXRange(true);
        lc.Series[2]->SetExcludeFromYRange(true);
        lc.Chart.SetLegendCheckMode(c.Mode);
        lc.Legend().SetCheckBoxes(true);
        lc.Legend().SetCheckBoxesStyle(c.Style);
        if (c.Style == cbsRadio) lc.Series[2]->SetActive(true);
        lc.Draw();
        EXPECT_EQ(lc.CheckStates(), c.Checked);
        EXPECT_EQ(lc.Written({"Alpha", "B", "Gamma"}), (std::vector<std::string>{"Alpha", "B", "Gamma"}))
            << "the inactive series is listed with check boxes";
        EXPECT_EQ(lc.Legend().Layout().ItemHeight, std::max(17, lc.CharHeight(lc.Legend().Font())));
    }
    // Without check boxes an inactive series is not listed.
    TLegendChart lc;
    lc.Series[0]->SetActive(false);
    lc.Draw();
    EXPECT_EQ(lc.Written({"Alpha", "B", "Gamma"}), (std::vector<std::string>{"B", "Gamma"}));
    EXPECT_TRUE(lc.CheckStates().empty());
}

TEST(ChartLegend, RadioStyleKeepsTheFirstActiveSeries)
{
    TLegendChart lc;
    lc.Legend().SetCheckBoxesStyle(cbsRadio);
    EXPECT_TRUE(lc.Series[0]->Active());
    EXPECT_FALSE(lc.Series[1]->Active());
    EXPECT_FALSE(lc.Series[2]->Active());
}

TEST(ChartLegend, ClickedByStyleAndCheckMode)
{
    struct Case {
        TCheckBoxesStyle Style;
        int Mode;
        int Item;
    };
    for (const Case& c : {Case{cbsCheck, 0, 1}, Case{cbsCheck, 1, 2}, Case{cbsCheck, 2, 0}, Case{cbsRadio, 1, 2}}) {
        SCOPED_TRACE(std::string(CheckBoxesStyleNames.NameOf(c.Style)) + " mode " + std::to_string(c.Mode));
        TLegendChart lc;
        lc.Chart.SetLegendCheckMode(c.Mode);
        EXPECT_FALSE(lc.Legend().Clicked(0, 0, c.Item)) << "no check boxes: nothing changes hands";
        lc.Legend().SetCheckBoxes(true);
        if (c.Style == cbsRadio) lc.Legend().SetCheckBoxesStyle(cbsRadio);
        EXPECT_FALSE(lc.Legend().Clicked(0, 0, -1));
        EXPECT_TRUE(lc.Legend().Clicked(0, 0, c.Item));
        TLineTestSeries& s = *lc.Series[c.Item];
        if (c.Style == cbsRadio) {
            for (int i = 0; i < 3; ++i) EXPECT_EQ(lc.Series[i]->Active(), i == c.Item) << i;
            continue;
        }
        EXPECT_EQ(s.Active(), c.Mode != 0);
        EXPECT_EQ(s.ExcludeFromXRange(), c.Mode == 1);
        EXPECT_EQ(s.ExcludeFromYRange(), c.Mode == 2);
        lc.Legend().Clicked(0, 0, c.Item);
        EXPECT_TRUE(s.Active() && !s.ExcludeFromXRange() && !s.ExcludeFromYRange()) << "a second click undoes it";
    }
    TLegendChart lc;
    lc.Legend().SetCheckBoxes(true);
    EXPECT_FALSE(lc.Legend().Clicked(0, 0, 7)) << "an item without series";
}

TEST(ChartLegend, ItemAtPoint)
{
    // A side legend: rows from the items' top, counted from the bottom when inverted.
    for (const bool inverted : {false, true}) {
        TLegendChart lc;
        lc.Legend().SetInverted(inverted);
        lc.Legend().Title().Text().Add("Title");
        lc.Draw();
        const auto& layout = lc.Legend().Layout();
        const TRect r = lc.Legend().ShapeRect();
        const int h = layout.ItemHeight, x = (r.Left + r.Right) / 2;
        for (int row = 0; row < 3; ++row)
            EXPECT_EQ(lc.Legend().ItemAtPoint(x, layout.ItemsTop + row * h + 1 + h / 2), inverted ? 2 - row : row);
        EXPECT_EQ(lc.Legend().ItemAtPoint(x, r.Top + 3), -1) << "on the title";
        EXPECT_EQ(lc.Legend().ItemAtPoint(r.Right + 1, layout.ItemsTop + 2), -1) << "outside";
        EXPECT_GT(layout.ItemsTop, r.Top) << "the title pushes the items down";
    }
    // Two columns of a bottom legend.
    for (const bool inverted : {false, true}) {
        TLegendChart lc(Names(4, std::string(33, 'w')));
        lc.Legend().SetAlignment(laBottom);
        lc.Legend().SetInverted(inverted);
        lc.Draw();
        const auto& layout = lc.Legend().Layout();
        ASSERT_EQ(layout.Columns, 2);
        const TRect r = lc.Legend().ShapeRect();
        const int h = layout.ItemHeight, width = (r.Right - r.Left) / 2;
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 2; ++column) {
                const int y = layout.ItemsTop + row * h + 1 + h / 2;
                const int x = r.Left + column * width + width / 2;
                const int expectedRow = inverted ? 1 - row : row;
                const int expectedColumn = inverted ? 1 - column : column;
                EXPECT_EQ(lc.Legend().ItemAtPoint(x, y), expectedRow * 2 + expectedColumn) << row << "," << column;
            }
    }
}

TEST(ChartLegend, APressOnATopOrBottomLegendHitsTheItemDrawnUnderIt)
{
    // Items stand one column step apart while the box is wider than the columns' steps: the left of a
    // check box, the symbol and both ends of the text, in every column, belong to the item drawn there.
    struct Case {
        TLegendAlignment Alignment;
        int Items;
        bool CheckBoxes;
        TCheckBoxesStyle Style;
        int FontSize;
    };
    const Case cases[] = {
        {laBottom, 3, false, cbsCheck, 8},  {laBottom, 8, false, cbsCheck, 8}, {laBottom, 12, true, cbsCheck, 8},
        {laTop, 12, true, cbsRadio, 8},     {laTop, 30, true, cbsCheck, 8},    {laBottom, 30, false, cbsCheck, 8},
        {laBottom, 7, true, cbsCheck, 14},  {laTop, 9, true, cbsRadio, 5},     {laTop, 2, true, cbsCheck, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(LegendAlignmentNames.NameOf(c.Alignment)) + ", " + std::to_string(c.Items) + " items" +
                     (c.CheckBoxes ? (c.Style == cbsCheck ? ", check boxes" : ", radio buttons") : "") + ", font " +
                     std::to_string(c.FontSize));
        TLegendChart lc(Names(c.Items, "Series "));
        TChartLegend& legend = lc.Legend();
        legend.SetAlignment(c.Alignment);
        legend.SetCheckBoxes(c.CheckBoxes);
        legend.SetCheckBoxesStyle(c.Style);
        legend.Font().SetSize(c.FontSize);
        lc.Draw();
        const auto& layout = legend.Layout();
        ASSERT_GE(layout.Columns, 1);
        // The check boxes (13 x 13 boxes or circles) in drawing order, one per drawn item.
        std::vector<TRect> boxes;
        for (const auto& r : lc.Recorder->Records)
            if ((r.Kind == "FillRect" || r.Kind == "Ellipse") && r.Args.size() >= 4 && r.Args[2] - r.Args[0] == 13 &&
                r.Args[3] - r.Args[1] == 13)
                boxes.push_back({r.Args[0], r.Args[1], r.Args[2], r.Args[3]});
        int drawn = 0;
        for (int k = 0; k < c.Items; ++k) {
            const std::string name = "Series " + std::to_string(k);
            const auto text = lc.Find(name);
            if (text.Y == -1) continue;
            std::vector<int> xs = {text.X - layout.SymbolWidth - 4, text.X,
                                   text.X + lc.TextWidth(legend.Font(), name) - 1};
            if (c.CheckBoxes) {
                ASSERT_LT(static_cast<std::size_t>(drawn), boxes.size());
                xs.push_back(boxes[static_cast<std::size_t>(drawn)].Left);
                xs.push_back(boxes[static_cast<std::size_t>(drawn)].Left + 6);
            }
            ++drawn;
            for (int x : xs) EXPECT_EQ(legend.ItemAtPoint(x, text.Y + 1), k) << name << " at x " << x;
        }
        EXPECT_GE(drawn, std::min(c.Items, layout.Columns)) << "every item of the first row is drawn";
    }
}

TEST(ChartLegend, EventsChangeWhatIsDrawn)
{
    TLegendChart lc;
    lc.Chart.OnGetLegendText = [](TCustomAxisPanel*, TLegendStyle, int Index, std::string& Text) {
        if (Index == 1) Text = "Renamed";
    };
    lc.Chart.OnGetLegendPos = [](TCustomChart*, int Index, int& X, int& Y, int&) {
        if (Index == 2) {
            X = 7;
            Y = 9;
        }
    };
    lc.Chart.OnGetLegendRect = [](TCustomChart*, TRect& R) { R = {300, 100, 420, 200}; };
    lc.Draw();
    EXPECT_TRUE(lc.Has("Renamed"));
    EXPECT_FALSE(lc.Has("B"));
    EXPECT_EQ(lc.Find("Gamma").X, 7);
    EXPECT_EQ(lc.Find("Gamma").Y, 9);
    EXPECT_EQ(lc.Legend().ShapeRect(), (TRect{300, 100, 420, 200}));
    EXPECT_EQ(lc.Chart.After.Right, 300 - 3 * (lc.Chart.Before.Right - lc.Chart.Before.Left) / 100)
        << "the chart gives up the moved rectangle's space";
}

TEST(ChartLegend, SizeHookWidensTheLegend)
{
    TLegendChart plain;
    plain.Draw();
    TLegendChart hooked;
    hooked.Legend().SizeHook = [](TPersistent*, int& Size) { Size += 25; };
    hooked.Draw();
    const TRect a = plain.Legend().ShapeRect(), b = hooked.Legend().ShapeRect();
    EXPECT_EQ(b.Right - b.Left, a.Right - a.Left + 25);
    // The hooked room is not an item.
    const int y = hooked.Legend().Layout().ItemsTop + 3;
    EXPECT_EQ(hooked.Legend().ItemAtPoint(b.Right - 10, y), -1);
    EXPECT_EQ(hooked.Legend().ItemAtPoint(b.Right - 30, y), 0);
}

TEST(ChartLegend, CustomPositionIsDrawnInTheSecondPassAndTakesNothing)
{
    TLegendChart lc;
    const std::string title = "Title";
    lc.Chart.Title().SetTextLine(&title);
    lc.Legend().SetLeft(20);
    lc.Legend().SetTop(30);
    lc.Draw();
    const int h = lc.CharHeight(lc.Chart.Title().Font());
    EXPECT_EQ(lc.Chart.After.Top, lc.Chart.Before.Top + h + 3 + 5) << "only the title's band is taken";
    EXPECT_EQ(lc.Chart.After.Right, lc.Chart.Before.Right);
    const auto texts = lc.Texts();
    const auto at = [&](const std::string& text) {
        return std::find_if(texts.begin(), texts.end(), [&](const auto& t) { return t.Text == text; }) - texts.begin();
    };
    EXPECT_GT(at("Alpha"), at("Title")) << "a side legend would come first; a custom one comes in the second pass";
    EXPECT_EQ(lc.Legend().ShapeRect().Left, 20);
    EXPECT_EQ(lc.Legend().ShapeRect().Top, 30);
    EXPECT_TRUE(lc.Has("Alpha"));
    // In percent of the control.
    lc.Legend().SetPositionUnits(muPercent);
    lc.Legend().SetLeftPercent(50);
    lc.Legend().SetTopPercent(25);
    lc.Draw();
    EXPECT_EQ(lc.Legend().ShapeRect().Left, 300);
    EXPECT_EQ(lc.Legend().ShapeRect().Top, 100);
}

TEST(ChartLegend, OrderOfTheFirstPassByAlignment)
{
    // A side legend is drawn before the titles and takes the plot's full height; a top or bottom legend
    // comes after them and lies inside their bands.
    for (const TLegendAlignment alignment : {laLeft, laRight, laTop, laBottom}) {
        SCOPED_TRACE(LegendAlignmentNames.NameOf(alignment));
        TLegendChart lc;
        const std::string top = "Top", foot = "Foot";
        lc.Chart.Title().SetTextLine(&top);
        lc.Chart.Foot().SetTextLine(&foot);
        lc.Legend().SetAlignment(alignment);
        lc.Draw();
        const TRect r = lc.Legend().ShapeRect();
        const TRect titleRect = lc.Chart.Title().GetTitleRect(), footRect = lc.Chart.Foot().GetTitleRect();
        const auto texts = lc.Texts();
        auto index = [&](const std::string& text) {
            for (std::size_t i = 0; i < texts.size(); ++i)
                if (texts[i].Text == text) return int(i);
            return -1;
        };
        if (alignment == laLeft || alignment == laRight) {
            EXPECT_LT(index("Alpha"), index("Top"));
            // The titles then centre over what the legend left.
            if (alignment == laRight) {
                EXPECT_LT(titleRect.Right, r.Left);
            }
            if (alignment == laLeft) {
                EXPECT_GT(titleRect.Left, r.Right);
            }
        } else {
            EXPECT_GT(index("Alpha"), index("Foot"));
            if (alignment == laTop) {
                EXPECT_GT(r.Top, titleRect.Bottom);
            }
            if (alignment == laBottom) {
                EXPECT_LT(r.Bottom, footRect.Top);
            }
        }
    }
}

TEST(ChartLegend, SurvivesDegenerateLayouts)
{
    // A frame wider than the chart, no rows allowed, an item height of 0 or below: each draws without
    // fault; the first two draw nothing and take nothing.
    struct Case {
        const char* Name;
        TLegendAlignment Alignment;
        int FrameWidth, MaxNumRows;
        // Spacing added to minus the character height: 0 gives items of height 0.
        std::optional<int> Spacing;
    };
    const Case cases[] = {
        {"wide frame, bottom", laBottom, 2000, 10, {}}, {"wide frame, top", laTop, 700, 10, {}},
        {"wide frame, side", laRight, 2000, 10, {}},    {"no rows, bottom", laBottom, 1, 0, {}},
        {"no rows, side", laLeft, 1, 0, {}},            {"height 0, side", laRight, 1, 10, 0},
        {"height 0, bottom", laBottom, 1, 10, 0},       {"height -3, side", laLeft, 1, 10, -3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TLegendChart lc;
        lc.Legend().SetAlignment(c.Alignment);
        lc.Legend().Pen().SetWidth(c.FrameWidth);
        lc.Legend().SetMaxNumRows(c.MaxNumRows);
        if (c.Spacing) lc.Legend().SetVertSpacing(*c.Spacing - lc.CharHeight(lc.Legend().Font()));
        EXPECT_NO_THROW(lc.Draw());
        if (!c.Spacing) {
            EXPECT_EQ(lc.Chart.After, lc.Chart.Before);
            EXPECT_TRUE(lc.Written({"Alpha", "B", "Gamma"}).empty());
        } else {
            EXPECT_EQ(lc.Legend().Layout().ItemHeight, *c.Spacing);
        }
        EXPECT_NO_THROW(lc.Legend().ItemAtPoint(lc.Legend().ShapeRect().Left + 5, lc.Legend().ShapeRect().Top + 5));
    }
}

TEST(ChartLegend, ValuesLegendForgetsAFreedSeries)
{
    TLegendChart lc({"One", "Two"});
    TLineTestSeries* second = lc.Series[1];
    second->SetPointLabel(0, "second's");
    lc.Legend().SetLegendStyle(lsValues);
    lc.Legend().SetTextStyle(ltsPlain);
    lc.Legend().AssignSeries(second);
    lc.Draw();
    EXPECT_TRUE(lc.Has("second's"));
    second->Free();
    EXPECT_EQ(lc.Legend().Series(), nullptr);
    lc.Series[0]->SetPointLabel(0, "first's");
    EXPECT_NO_THROW(lc.Draw());
    EXPECT_TRUE(lc.Has("first's")) << "back to the first active series";

    // A series that only leaves the chart is let go as well.
    TLineTestSeries* first = lc.Series[0];
    lc.Legend().AssignSeries(first);
    first->SetParentChart(nullptr);
    EXPECT_EQ(lc.Legend().Series(), nullptr);
    first->Free();
}

TEST(ChartLegend, SymbolWidths)
{
    struct Case {
        bool Visible, Squared;
        TLegendSymbolSize Units;
        int Width, Base, Expected;
    };
    TChart chart(nullptr);
    TChartLegend& legend = chart.Legend();
    const int h = legend.ItemHeight();
    const Case cases[] = {
        {true, false, lcsPercent, 20, 100, 20}, {true, false, lcsPercent, 25, 10, 2},
        {true, false, lcsPixels, 33, 100, 33},  {true, true, lcsPixels, 33, 100, h - 5},
        {false, true, lcsPercent, 20, 100, 0},
    };
    for (const Case& c : cases) {
        legend.Symbol().SetVisible(c.Visible);
        legend.Symbol().SetSquared(c.Squared);
        legend.Symbol().SetWidthUnits(c.Units);
        legend.Symbol().SetWidth(c.Width);
        EXPECT_EQ(legend.Symbol().CalcWidth(c.Base), c.Expected) << c.Width << " of " << c.Base;
    }
    EXPECT_EQ(legend.ColorWidth(), legend.Symbol().Width());
}

namespace {

// An axis panel that is no chart control.
class TPlainAxisPanel : public TCustomAxisPanel {
public:
    TPlainAxisPanel() : TCustomAxisPanel(nullptr) {}
    void FitChartRectTo3D() override {}
    int WallSizeForAxis(const TChartAxis&) const override { return 0; }
    void PaintLegendAndTitles(bool) override {}
    void PaintWalls() override {}
    bool IsColorFree(TColor, bool, const TChartSeries*) const override { return true; }
};

} // namespace

TEST(ChartLegend, ParentMustBeAChartForItemTexts)
{
    TPlainAxisPanel panel;
    TCustomChartLegend legend(&panel);
    EXPECT_THROW(legend.DrawLegend(), EInvalidCast);
}

TEST(ChartLegend, TitleLinesByAlignmentPlainAndHtml)
{
    struct Case {
        TTextFormat Format;
        TAlignment Alignment;
    };
    for (const Case c : {Case{ttfNormal, taLeftJustify}, Case{ttfNormal, taCenter}, Case{ttfNormal, taRightJustify},
                         Case{ttfHtml, taLeftJustify}, Case{ttfHtml, taCenter}, Case{ttfHtml, taRightJustify}}) {
        SCOPED_TRACE(std::string(TextFormatNames.NameOf(c.Format)) + " " + std::string(AlignmentNames.NameOf(c.Alignment)));
        TLegendChart lc;
        TLegendTitle& title = lc.Legend().Title();
        title.Text().Add(c.Format == ttfHtml ? "<b>Head</b>" : "Head");
        title.Text().Add(c.Format == ttfHtml ? "<i>Second line</i>" : "Second line");
        title.SetTextFormat(c.Format);
        title.SetTextAlignment(c.Alignment);
        lc.Draw();
        const TRect r = lc.Legend().ShapeRect();
        const TRect box{r.Left + 2, r.Top + 2, r.Right - 2, 0};
        const TFont& font = title.Font();
        const int w = lc.TextWidth(font, "W"), h = lc.CharHeight(font);
        // Plain lines are placed by their own widths; an HTML title as one block by its widest line.
        auto x = [&](int width) {
            switch (c.Alignment) {
            case taRightJustify: return box.Right - width - w / 2;
            case taCenter: return (box.Left + box.Right) / 2 - width / 2;
            default: return box.Left + w / 2;
            }
        };
        const int widest = lc.TextWidth(font, "Second line");
        EXPECT_EQ(lc.Find("Head").X, x(c.Format == ttfHtml ? widest : lc.TextWidth(font, "Head")));
        EXPECT_EQ(lc.Find("Head").Y, box.Top + 1);
        if (c.Format == ttfNormal) {
            EXPECT_EQ(lc.Find("Second line").Y, box.Top + 1 + h);
        } else {
            EXPECT_GT(lc.Find("Second line").Y, box.Top + 1) << "the HTML writer spaces its own lines";
        }
        EXPECT_EQ(lc.Legend().Layout().ItemsTop, r.Top + 2 * h + 2) << "the items start below the title";
        EXPECT_GE(r.Right - r.Left, widest + w) << "the legend is at least as wide as its title";
    }
}
