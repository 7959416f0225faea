// The data view: what construction makes (series, chart, axes, legend, scroll bar, menu, picture, the
// styles read from the settings file), the empty section's operations, the legend beside the plot, and
// the view settings string.
#include "chart/control/LumBmpOptions.h"
#include "chart/control/LumLegendScrollBar.h"
#include "chart/control/LumTools.h"
#include "chart/series/Series.h"
#include "core/Supermath2d.h"
#include "platform/controls/Menus.h"
#include "platform/controls/Prompter.h"
#include "platform/controls/Screen.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Metafile.h"
#include "platform/graphics/RecordingBackend.h"
#include "platform/rtl/ConfigPaths.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/TextFile.h"
#include "tests/platform/rtl/TempFolder.h"
#include "views/PseudoSection2d.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

// Points the settings file at a copy of the fixture for the test's life.
class TFixtureSettings {
public:
    TFixtureSettings()
    {
        FSaved = SettingsFilePath();
        std::filesystem::copy_file(std::string(VSP_TEST_DATA) + "/views/pseudo_section.in", Path);
        SetSettingsFilePath(Path);
    }
    ~TFixtureSettings() { SetSettingsFilePath(FSaved); }
    TTempFolder Temp;
    std::string Path = Temp.File("vornsp2dp.in");

private:
    std::string FSaved;
};

std::string Bytes(const std::string& path)
{
    std::string bytes;
    LoadFileBytes(path, bytes);
    return bytes;
}

TEST(PseudoSection, SeriesAsConstructed)
{
    TPseudoSection2d view(nullptr);
    struct TRow {
        const char* Name;
        TPointSeries* Series;
        bool PointerVisible;
        TSeriesPointerStyle Style;
        int Size;
        bool EachPoint;
        bool InLegend;
        bool Excluded;
    };
    const TRow rows[] = {
        {"FrameSeries", view.FrameSeries, false, psRectangle, 0, false, false, false},
        {"GridSeries", view.GridSeries, true, psCircle, 2, false, false, true},
        {"StationSeries", view.StationSeries, true, psDownTriangle, 3, true, false, true},
        {"MarkSeries", view.MarkerSeries, true, psCircle, 3, true, false, true},
    };
    ASSERT_EQ(view.CountSeries(), 4);
    for (const TRow& r : rows) {
        SCOPED_TRACE(r.Name);
        TPointSeries& s = *r.Series;
        EXPECT_EQ(s.ParentChart(), &view);
        EXPECT_EQ(s.Pointer().Visible(), r.PointerVisible);
        EXPECT_EQ(s.ShowInLegend(), r.InLegend);
        EXPECT_EQ(s.ColorEachPoint(), r.EachPoint);
        EXPECT_EQ(s.ExcludeFromXRange(), r.Excluded);
        EXPECT_EQ(s.ExcludeFromYRange(), r.Excluded);
        if (r.Size) {
            EXPECT_EQ(s.Pointer().Style(), r.Style);
            EXPECT_EQ(s.Pointer().HorizSize(), r.Size);
            EXPECT_EQ(s.Pointer().VertSize(), r.Size);
        }
    }
    for (TPointSeries* s : {view.StationSeries, view.MarkerSeries}) EXPECT_EQ(s->SeriesColor(), clBlack);
    const TSeriesMarks& marks = view.GridSeries->Marks();
    EXPECT_FALSE(marks.Visible());
    EXPECT_EQ(marks.Style(), smsLabel);
    EXPECT_TRUE(marks.Transparent());
    EXPECT_EQ(marks.Font().Size(), 7);
    EXPECT_EQ(marks.Font().Color(), clBlack);

    ASSERT_NE(view.ImageTool, nullptr);
    EXPECT_EQ(view.ImageTool->Series(), view.FrameSeries);
    EXPECT_TRUE(view.ImageTool->FlipY);
}

TEST(PseudoSection, TheMainWindowsCurves)
{
    TPseudoSection2d view(nullptr);
    view.RightAxis().Grid().SetVisible(true);
    view.CreateDataGraphs();
    ASSERT_EQ(view.CountSeries(), 6);
    EXPECT_EQ(view.SeriesAt(4), view.Series1);
    EXPECT_EQ(view.SeriesAt(5), view.Series2);
    // Observed: circles of 2 x 2 on its line; calculated: a red dotted line without pointers.
    const TLineSeries& observed = *view.Series1;
    EXPECT_TRUE(observed.Pointer().Visible());
    EXPECT_EQ(observed.Pointer().Style(), psCircle);
    EXPECT_EQ(observed.Pointer().HorizSize(), 2);
    EXPECT_EQ(observed.Pointer().VertSize(), 2);
    const TLineSeries& calculated = *view.Series2;
    EXPECT_FALSE(calculated.Pointer().Visible());
    EXPECT_EQ(calculated.SeriesColor(), clRed);
    EXPECT_EQ(calculated.LinePen().Style(), psDot);
    for (const TLineSeries* s : {&observed, &calculated}) {
        EXPECT_EQ(s->XValues().Order(), loAscending);
        EXPECT_TRUE(s->ShowInLegend());
        EXPECT_FALSE(s->ExcludeFromXRange() || s->ExcludeFromYRange());
    }
    EXPECT_FALSE(view.RightAxis().Grid().Visible());
    EXPECT_FALSE(view.View3D());
    EXPECT_EQ(view.Title().Text().Count(), 0);
}

TEST(PseudoSection, ChartAxesLegendAndMenu)
{
    TPseudoSection2d view(nullptr);
    EXPECT_EQ(view.MarginUnits(), muPixels);
    EXPECT_EQ(view.MarginLeft(), 25);
    EXPECT_EQ(view.MarginRight(), 70);
    EXPECT_EQ(view.MarginTop(), 1);
    EXPECT_EQ(view.MarginBottom(), 20);
    EXPECT_TRUE(view.Zoom().Allow());
    EXPECT_FALSE(view.View3D());
    EXPECT_EQ(view.Color(), clWhite);
    EXPECT_EQ(view.BackWall().Brush().Style(), bsClear);
    EXPECT_EQ(view.Title().Text().Count(), 0);
    EXPECT_EQ(view.Title().Font().Size(), 7);

    for (TChartAxis* axis : {&view.LeftAxis(), &view.BottomAxis()}) {
        EXPECT_TRUE(axis->Automatic());
        EXPECT_FALSE(axis->Grid().Visible());
        EXPECT_EQ(axis->LabelsSize(), 1);
        EXPECT_EQ(axis->MinorTickCount(), 1);
        EXPECT_TRUE(axis->AutoLogFormat);
        EXPECT_EQ(axis->DecShift, 1);
        EXPECT_FALSE(axis->Axis().Visible());
        EXPECT_EQ(axis->LabelStyle(), talValue);
    }
    EXPECT_TRUE(view.LeftAxis().Inverted());
    EXPECT_EQ(view.LeftAxis().StartPosition(), 5);
    EXPECT_FALSE(view.LeftAxis().Logarithmic());
    EXPECT_TRUE(view.LeftAxis().TitleFlat);
    EXPECT_EQ(view.RightAxis().LabelsSize(), 1);
    EXPECT_EQ(view.RightAxis().Axis().Width(), 0);

    EXPECT_TRUE(view.Legend().Visible());
    EXPECT_TRUE(view.Legend().CustomPosition());
    EXPECT_TRUE(view.Legend().CheckBoxes());
    EXPECT_FALSE(view.Legend().ResizeChart());
    EXPECT_EQ(view.Legend().PositionUnits(), muPixels);
    EXPECT_EQ(view.Legend().Font().Size(), 7);

    ASSERT_NE(view.LegendScrollBar, nullptr);
    TLegendScrollBar& bar = *view.LegendScrollBar;
    EXPECT_EQ(bar.ParentChart(), &view);
    EXPECT_TRUE(bar.Active());
    EXPECT_EQ(bar.DrawStyle, dsWhenNeeded);
    EXPECT_EQ(bar.Size(), 7);
    EXPECT_EQ(bar.Pen().Color(), clWindowFrame);
    EXPECT_EQ(bar.ThumbBrush().Color(), clSilver);

    const char* captions[] = {"Log data scale", "Display grid point", "Display ColorBar", "Setup",
                              "Print preview",  "Save picture",       "Save XYZ file",    "Default"};
    ASSERT_EQ(view.ViewMenu().Items().Count(), 8);
    EXPECT_EQ(view.ViewMenu().AutoHotkeys(), maManual);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(view.ViewMenu().Items().Items(i)->Caption(), captions[i]);

    EXPECT_EQ(view.NodeEnd, 1);
    EXPECT_EQ(view.FTriangleCount, 0);
    EXPECT_EQ(view.FNodes.Length(), 8001);
    EXPECT_EQ(view.FLevelCount, 15);
    EXPECT_EQ(view.FUserMin, MissingValue);
    EXPECT_EQ(view.FUserMax, MissingValue);
    EXPECT_EQ(view.FPictureWidth, 5 * Screen->Width());
    EXPECT_EQ(view.FPictureHeight, 5 * Screen->Height());
    EXPECT_EQ(view.Picture().Width(), view.FPictureWidth);
    EXPECT_EQ(view.Picture().Height(), view.FPictureHeight);
}

TEST(PseudoSection, StylesReadFromTheSettingsFileWhichStaysUnchanged)
{
    TFixtureSettings settings;
    const std::string before = Bytes(settings.Path);
    {
        TPseudoSection2d view(nullptr);
        // The fixture gives the grid points green squares of 4 and the stations red circles of 5.
        EXPECT_EQ(view.GridSeries->Pointer().Style(), psRectangle);
        EXPECT_EQ(view.GridSeries->Pointer().HorizSize(), 4);
        EXPECT_EQ(view.StationSeries->Pointer().Style(), psCircle);
        EXPECT_EQ(view.StationSeries->Pointer().HorizSize(), 5);
        // The marker series reads nothing.
        EXPECT_EQ(view.MarkerSeries->Pointer().Style(), psCircle);
        EXPECT_EQ(view.MarkerSeries->Pointer().HorizSize(), 3);
    }
    EXPECT_EQ(Bytes(settings.Path), before);
}

TEST(PseudoSection, EmptySectionDoesNothingOnTheMouseOrAfterDrawing)
{
    TPseudoSection2d view(nullptr);
    view.SetBounds(0, 0, 790, 339);
    int cursorEvents = 0;
    view.OnCursorText = [&](TPersistent*) { ++cursorEvents; };
    TPromptScript script; // a menu that opened would be a prompt nobody answers
    view.OnDblClick(&view);
    view.OnMouseMove(&view, {}, 300, 100);
    EXPECT_TRUE(view.CursorText.empty());
    EXPECT_EQ(cursorEvents, 0);
    EXPECT_TRUE(script.Log().empty());

    auto recorder = std::make_shared<TRecordingBackend>(790, 339);
    TCanvas canvas(recorder);
    view.DrawUnbuffered(canvas, TRect{0, 0, 790, 339});
    const int plotRight = view.ChartRect().Right;
    // Right of the plot stand only the legend and its scroll bar: no colour bar's bands or labels.
    const int legendLeft = view.Legend().Left();
    for (const auto& r : recorder->Records) {
        if (r.Kind != "Rectangle" && r.Kind != "FillRect" && r.Kind != "TextOut") continue;
        if (r.Args.size() < 2 || r.Args[0] <= plotRight + 1) continue;
        EXPECT_GE(r.Args[0], legendLeft) << r.Kind << " at " << r.Args[0] << " " << r.Text;
    }
}

TEST(PseudoSection, CreateSurveySequenceOnTheEmptySection)
{
    TPseudoSection2d view(nullptr);
    view.SetBounds(0, 0, 790, 339);
    view.GridSeries->InsertPoint(1, 2, "old");
    view.GridSeries->Pointer().SetVisible(false);
    view.FTriangleCount = 7;
    const int framePoints = view.FrameSeries->PointCount();

    view.NodeEnd = 1;
    view.RebuildSection(true);
    view.RefreshImage();
    view.PlaceLegend();

    EXPECT_EQ(view.GridSeries->PointCount(), 0);
    EXPECT_TRUE(view.GridSeries->Pointer().Visible());
    EXPECT_EQ(view.FTriangleCount, 7);
    EXPECT_EQ(view.FrameSeries->PointCount(), framePoints);
    EXPECT_FALSE(view.ImageTool->Picture().Graphic());
}

TEST(PseudoSection, PlaceLegendBesideThePlot)
{
    TPseudoSection2d view(nullptr);
    // Margins in pixels end the plot at x 720 on a view 790 wide (790 - 70), its top at 1.
    view.SetBounds(0, 0, 790, 339);
    view.PlaceLegend();
    ASSERT_EQ(view.ChartRect().Right, 720);
    ASSERT_EQ(view.ChartRect().Top, 1);
    EXPECT_EQ(view.Legend().Left(), 725);
    EXPECT_EQ(view.Legend().Top(), 1);
    // A resize places it again.
    view.SetBounds(0, 0, 600, 300);
    EXPECT_EQ(view.Legend().Left(), 600 - 70 + 5);
}

// The main window's two curves under either data type's titles: the legend shows both items, so it has
// no scroll bar, and it fits between the plot and the view's right edge.
TEST(PseudoSection, LegendOfTwoCurvesFitsBesideThePlotWithoutAScrollBar)
{
    const char* titles[][2] = {
        {"<font name=arial>dU<font name=arial size=-2>obs", "<font name=arial>dU<font name=arial size=-2>calc"},
        {"<font name=arial>U<font name=arial size=-2>obs", "<font name=arial>U<font name=arial size=-2>calc"},
        // The calculated curve of a run older than the model: the wider legend stays whole in the view.
        {"<font name=arial>dU<font name=arial size=-2>obs", "<font name=arial>dU<font name=arial size=-2>calc (old)"},
    };
    for (const auto& pair : titles) {
        SCOPED_TRACE(pair[0]);
        TPseudoSection2d view(nullptr);
        view.SetBounds(0, 0, 790, 169);
        view.CreateDataGraphs();
        view.Series1->SetTitle(pair[0]);
        view.Series2->SetTitle(pair[1]);
        for (int i = 0; i < 5; ++i) {
            view.Series1->InsertPoint(10.0 * i, i);
            view.Series2->InsertPoint(10.0 * i, 2.0 * i);
        }
        view.PlaceLegend();
        const auto picture = view.RenderToBitmap(clWhite, view.ChartBounds(), pf24bit);
        ASSERT_EQ(view.Legend().Layout().LastValue, 1);
        TRect bar;
        EXPECT_FALSE(view.LegendScrollBar->GetHostRect(bar));
        const TRect legend = view.Legend().ShapeRect();
        // Beside the plot where it has the room, else as far right as it stands whole.
        EXPECT_EQ(legend.Left, std::min(725, view.Width() - legend.Width()));
        EXPECT_LE(legend.Right, view.Width());
        for (int y = legend.Top; y < legend.Bottom; ++y)
            for (int x = legend.Left; x < legend.Right; ++x)
                ASSERT_NE(picture->Canvas().GetPixel(x, y), clSilver) << "a thumb at " << x << "," << y;
    }
}

// A page band or a picture of another size than the view: the legend stands 5 pixels right of that
// drawing's plot, level with its top, whole inside it (on a narrow portrait band it fell off the picture,
// on a wide landscape band it covered the plot); the screen's drawing finds it back at its own place.
TEST(PseudoSection, LegendStandsBesideThePlotOfEveryDrawing)
{
    TPseudoSection2d view(nullptr);
    view.SetBounds(0, 0, 790, 169);
    view.CreateDataGraphs();
    view.Series1->SetTitle("<font name=arial>dU<font name=arial size=-2>obs");
    view.Series2->SetTitle("<font name=arial>dU<font name=arial size=-2>calc");
    for (int i = 0; i < 5; ++i) {
        view.Series1->InsertPoint(10.0 * i, i);
        view.Series2->InsertPoint(10.0 * i, 2.0 * i);
    }
    view.PlaceLegend();
    const struct {
        int Width, Height;
    } drawings[] = {{317, 150}, {1120, 300}, {790, 169}, {2000, 700}};
    for (const auto& d : drawings) {
        SCOPED_TRACE(std::to_string(d.Width) + " x " + std::to_string(d.Height));
        TBMPExportFormat format;
        format.Panel = &view;
        format.Width = d.Width;
        format.Height = d.Height;
        const auto picture = format.Bitmap();
        const TRect plot = view.ChartRect();
        const TRect legend = view.Legend().ShapeRect();
        EXPECT_EQ(legend.Left, plot.Right + 5);
        EXPECT_EQ(legend.Top, plot.Top);
        EXPECT_LE(legend.Right, d.Width);
        // Drawn there: its frame and items darken pixels inside its box.
        int dark = 0;
        for (int y = legend.Top; y < legend.Bottom; ++y)
            for (int x = legend.Left; x < legend.Right; ++x) dark += picture->Canvas().GetPixel(x, y) != clWhite;
        EXPECT_GT(dark, 20);
    }
    view.RenderToBitmap(clWhite, view.ChartBounds(), pf24bit);
    EXPECT_EQ(view.Legend().Left(), 725);
}

std::string Settings18(const std::string& item16, const std::string& item17, const std::string& item6 = "9")
{
    // Colours 1..6, then levels, margins 30 40 2 10, flags 1 0 1 0 0, the limits.
    return "1 2 3 4 5 6 " + item6 + " 30 40 2 10 1 0 1 0 0 " + item16 + " " + item17;
}

TEST(PseudoSection, ApplyViewSettings)
{
    TPseudoSection2d view(nullptr);
    const std::string missing = FormatValue(MissingValue, 0, false);

    view.ApplyViewSettings("1 2 3 4 5 6 9 30 40 2 10 1 0 1 0 0 5");  // 17 numbers
    EXPECT_EQ(view.FLevelCount, 15);
    EXPECT_EQ(view.MarginLeft(), 25);
    EXPECT_EQ(view.FMinBandColor, clRed);

    view.ApplyViewSettings(Settings18("5", "123456789"));
    EXPECT_EQ(view.FUserMax, MissingValue);
    EXPECT_EQ(view.FUserMin, MissingValue);
    EXPECT_EQ(view.FMinBandColor, TColor(1));
    EXPECT_EQ(view.FMaxBandColor, TColor(2));
    EXPECT_EQ(view.FMinLineColor, TColor(3));
    EXPECT_EQ(view.FMaxLineColor, TColor(4));
    EXPECT_EQ(view.FMidBandColors[0], TColor(5));
    EXPECT_EQ(view.FMidBandColors[1], TColor(6));
    EXPECT_EQ(view.FLevelCount, 9);
    EXPECT_EQ(view.MarginLeft(), 30);
    EXPECT_EQ(view.MarginRight(), 40);
    EXPECT_EQ(view.MarginTop(), 2);
    EXPECT_EQ(view.MarginBottom(), 10);
    EXPECT_TRUE(view.FUseUserLimits);
    EXPECT_FALSE(view.FShowIsolines);
    EXPECT_TRUE(view.FLogScale);
    EXPECT_FALSE(view.FShowColorBar);
    EXPECT_FALSE(view.GridSeries->Active());

    view.ApplyViewSettings(Settings18("8", "-2"));
    EXPECT_EQ(view.FUserMax, 8);
    EXPECT_EQ(view.FUserMin, -2);

    // A flag is the low byte: 256 is off.
    view.ApplyViewSettings("1 2 3 4 5 6 9 30 40 2 10 256 1 1 1 1 8 -2");
    EXPECT_FALSE(view.FUseUserLimits);
    EXPECT_TRUE(view.GridSeries->Active());
}

TEST(PseudoSection, ApplyViewSettingsOutOfRangeChangesNothing)
{
    TPseudoSection2d view(nullptr);
    for (const std::string& bad : {Settings18("5", "1", "3000000000"), Settings18("5", "1", "-2147483649"),
                                   std::string("1 2 3 4 5 6 9 30 40 2 10 1 0 1 0 1e12 5 1")}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(view.ApplyViewSettings(bad), ERangeError);
        EXPECT_EQ(view.FMinBandColor, clRed);
        EXPECT_EQ(view.FLevelCount, 15);
        EXPECT_EQ(view.MarginLeft(), 25);
        EXPECT_EQ(view.FUserMax, MissingValue);
        EXPECT_TRUE(view.GridSeries->Active());
    }
}

} // namespace
