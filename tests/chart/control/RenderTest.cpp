// Whole charts rendered to bitmaps: two series with four titles, a side legend with check boxes or a
// bottom legend, in 2-D and 3-D; the legend symbols and the plot carry the series' colours. With
// VSP_CHART_RENDER_DIR set, the renders are also saved there as PNG files for a person to look at.
#include "ChartTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct TRenderCase {
    const char* Name;
    bool View3D;
    TLegendAlignment Alignment;
    bool CheckBoxes;
};

void BuildChart(TChart& Chart, const TRenderCase& Case)
{
    Chart.SetBounds(0, 0, 560, 380);
    Chart.SetView3D(Case.View3D);
    Chart.SetChart3DPercent(25);
    const std::string title = "Self-Potential data", sub = "Profile 1", foot = "Distance, m", subFoot = "Model 3";
    Chart.Title().SetTextLine(&title);
    Chart.SubTitle().SetTextLine(&sub);
    Chart.Foot().SetTextLine(&foot);
    Chart.SubFoot().SetTextLine(&subFoot);
    Chart.BackWall().SetTransparent(false);
    Chart.BackWall().SetColor(static_cast<TColor>(0xF0F0F0));
    Chart.Legend().SetAlignment(Case.Alignment);
    Chart.Legend().SetCheckBoxes(Case.CheckBoxes);
    auto& observed = AddSeries(Chart, {-12, -30, -55, -41, -20, -8, -3}, "Observed");
    auto& calculated = AddSeries(Chart, {-10, -28, -50, -45, -22, -10, -2}, "Calculated");
    observed.SetSeriesColor(clRed);
    calculated.SetSeriesColor(clBlue);
}

} // namespace

TEST(ChartRender, TwoSeriesFourTitlesAndALegend)
{
    const TRenderCase cases[] = {
        {"side-checkboxes-2d", false, laRight, true},
        {"side-checkboxes-3d", true, laRight, true},
        {"bottom-2d", false, laBottom, false},
        {"bottom-3d", true, laBottom, false},
    };
    const char* dir = std::getenv("VSP_CHART_RENDER_DIR");
    for (const TRenderCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TChart chart(nullptr);
        BuildChart(chart, c);
        const auto bitmap = RenderChart(chart);
        if (dir) {
            TPngImage png;
            png.Assign(*bitmap);
            png.SaveToFile(std::string(dir) + "/chart-" + c.Name + ".png");
        }

        // Each legend item's symbol is filled with its series' colour.
        const TChartLegend& legend = chart.Legend();
        const auto& layout = legend.Layout();
        ASSERT_EQ(layout.LastValue, 1) << "both series listed";
        for (int k = 0; k < 2; ++k) {
            const bool side = legend.IsSideAligned();
            const int row = side ? k : k / layout.Columns;
            const int offset = side ? 0 : (k % layout.Columns) * (layout.TextWidth + layout.SymbolWidth + 6);
            const int top = layout.ItemsTop + layout.Margin + 1 + layout.ItemHeight * row + 2;
            const int bottom = layout.ItemsTop + layout.Margin + 1 + layout.ItemHeight * (row + 1) + 1 - 3;
            const TPoint centre{layout.SymbolX + offset + layout.SymbolWidth / 2, (top + bottom) / 2};
            EXPECT_EQ(bitmap->PixelRGB(centre.x, centre.y), chart.SeriesAt(k)->SeriesColor()) << "item " << k;
        }
        // The series' lines are drawn in the plot in their colours.
        for (int k = 0; k < 2; ++k) {
            TChartSeries& s = *chart.SeriesAt(k);
            const TPoint p = chart.View3D() ? chart.ChartCanvas().ProjectXYZ(s.ScreenXOf(3), s.ScreenYOf(3), s.MiddleZ())
                                            : TPoint{s.ScreenXOf(3), s.ScreenYOf(3)};
            EXPECT_EQ(bitmap->PixelRGB(p.x, p.y), s.SeriesColor()) << "series " << k;
        }
        // The titles' bands lie outside the plot.
        EXPECT_LT(chart.SubTitle().GetTitleRect().Bottom, chart.ChartRect().Top);
        EXPECT_GT(chart.SubFoot().GetTitleRect().Top, chart.ChartRect().Bottom);
    }
}
