// The model view as constructed: its series in order with their looks, the default property row of new
// polygons, margins, title and axes, and its state before a model exists.
#include "tests/views/PolygonChartFixtures.h"

#include "chart/control/LumEngineStyleStrings.h"
#include "core/PolyModelBlock.h"
#include "core/Supermath2d.h"
#include "platform/graphics/RecordingBackend.h"

using namespace pctest;

namespace {

struct TSeriesRow {
    const char* Name;
    const TClassInfo& Class;
    bool EditLocked;
    bool OutOfRanges; // left out of both axes' automatic ranges
    bool DefaultStored;
};

} // namespace

TEST(PolygonChartConstruct, SeriesInOrderWithTheirLooks)
{
    auto chart = NewChart();
    const TSeriesRow rows[] = {
        {"ShapeSeries", TMapSeries::StaticClassInfo(), true, false, false},
        {"WorkLine1", TLineSeries::StaticClassInfo(), true, true, true},
        {"WorkLine2", TLineSeries::StaticClassInfo(), true, true, true},
        {"SurfaceMask", TAreaSeries::StaticClassInfo(), true, true, false},
        {"NodeSeries", TPointSeries::StaticClassInfo(), true, true, true},
        {"ElectrodeSeries", TPointSeries::StaticClassInfo(), false, false, false},
    };
    ASSERT_EQ(chart->CountSeries(), 6);
    for (int i = 0; i < 6; ++i) {
        const TSeriesRow& row = rows[i];
        TChartSeries& s = *chart->SeriesAt(i);
        EXPECT_EQ(s.Name(), row.Name);
        EXPECT_EQ(&s.ClassInfo(), &row.Class) << row.Name;
        EXPECT_EQ(s.EditLocked(), row.EditLocked) << row.Name;
        EXPECT_EQ(s.ExcludeFromXRange(), row.OutOfRanges) << row.Name;
        EXPECT_EQ(s.ExcludeFromYRange(), row.OutOfRanges) << row.Name;
        EXPECT_EQ(!s.DefaultStyle().empty(), row.DefaultStored) << row.Name;
        EXPECT_EQ(s.XValues().Order(), loNone) << row.Name;
        EXPECT_EQ(s.YValues().Order(), loNone) << row.Name;
        EXPECT_EQ(s.GetHorizAxis(), &chart->BottomAxis()) << row.Name;
        EXPECT_EQ(s.GetVertAxis(), &chart->LeftAxis()) << row.Name;
        EXPECT_EQ(s.Marks().Visible(), i == 0) << row.Name;
    }
    EXPECT_EQ(&chart->ShapeSeries(), chart->SeriesAt(0));
    EXPECT_EQ(&chart->ElectrodeSeries(), chart->SeriesAt(5));

    // Shape labels: transparent, unframed, without connector, in small fonts.
    TSeriesMarks& marks = chart->ShapeSeries().Marks();
    EXPECT_FALSE(marks.Arrow().Visible());
    EXPECT_EQ(marks.ArrowLength(), 0);
    EXPECT_EQ(marks.Callout().Brush().Color(), clBlack);
    EXPECT_EQ(marks.Callout().ArrowHeadSize(), 0);
    EXPECT_EQ(marks.Brush().Color(), clWhite);
    EXPECT_EQ(marks.Brush().Style(), bsClear);
    EXPECT_FALSE(marks.Pen().Visible());
    EXPECT_EQ(marks.Shadow().HorizSize(), 0);
    EXPECT_EQ(marks.Shadow().VertSize(), 0);
    EXPECT_TRUE(marks.Transparent());
    EXPECT_EQ(marks.Font().Name(), "Small Fonts");
    EXPECT_EQ(marks.Font().Size(), 7);

    for (TLineSeries* line : {&chart->WorkLine1(), &chart->WorkLine2()}) {
        EXPECT_EQ(line->SeriesColor(), clRed);
        EXPECT_EQ(line->Pointer().Style(), psCircle);
        EXPECT_EQ(line->Pointer().HorizSize(), 3);
        EXPECT_EQ(line->Pointer().VertSize(), 3);
        EXPECT_EQ(line->Pointer().Pen().Color(), clRed);
    }
    EXPECT_EQ(chart->WorkLine1().Pointer().Brush().Style(), bsClear);
    EXPECT_TRUE(chart->WorkLine2().LinePen().SmallDots());

    TAreaSeries& mask = chart->SurfaceMask();
    EXPECT_TRUE(mask.UseYOrigin());
    EXPECT_EQ(mask.YOrigin(), -10000);
    EXPECT_EQ(mask.AreaBrush(), bsSolid);
    EXPECT_EQ(mask.SeriesColor(), clWhite);
    EXPECT_EQ(mask.AreaColor(), clWhite);
    EXPECT_FALSE(mask.AreaLinesPen().Visible());

    TPointSeries& nodes = chart->NodeSeries();
    EXPECT_EQ(nodes.SeriesColor(), clLime);
    EXPECT_EQ(nodes.Pointer().Style(), psCircle);
    EXPECT_EQ(nodes.Pointer().HorizSize(), 2);
    EXPECT_EQ(nodes.Pointer().Brush().Color(), clLime);
    EXPECT_EQ(nodes.Pointer().Pen().Color(), clBlack);

    TPointSeries& electrodes = chart->ElectrodeSeries();
    EXPECT_EQ(electrodes.Pointer().Style(), psRectangle);
    EXPECT_EQ(electrodes.Pointer().HorizSize(), 1);
    EXPECT_EQ(electrodes.Pointer().VertSize(), 3);
    EXPECT_EQ(electrodes.Pointer().Brush().Color(), clRed);
    EXPECT_EQ(electrodes.Pointer().Pen().Color(), clGray);
    EXPECT_TRUE(electrodes.ColorEachPoint());
}

TEST(PolygonChartConstruct, DefaultPropertiesOfNewPolygons)
{
    auto chart = NewChart();
    const PolygonProperties& row = chart->NewPolygonProperties;
    struct TSlot {
        int Slot;
        Variant Value;
    };
    const TSlot expected[] = {
        {0, Variant(-1)},    {4, Variant(12632256)}, {5, Variant("*")},   {6, Variant("*")},   {7, Variant(" ")},
        {8, Variant(0)},     {9, Variant("*")},      {10, Variant(10.0)}, {11, Variant(0.0)},  {12, Variant(1.0)},
        {13, Variant(1.0)},  {14, Variant("*")},     {15, Variant("*")},  {16, Variant("*")},  {17, Variant("*")},
        {18, Variant("*")},  {19, Variant("*")},
    };
    for (const TSlot& s : expected) EXPECT_EQ(row[s.Slot], s.Value) << "slot " << s.Slot;

    // Slots 1 to 3 are style texts that read back as a clear brush, a grey pen and a hidden gradient
    // from red through yellow to blue.
    for (int slot : {1, 2, 3}) ASSERT_EQ(row[slot].GetKind(), Variant::Kind::Text) << slot;
    EXPECT_EQ(ReadBrushStyle(row[1].AsString())->Style(), bsClear);
    EXPECT_EQ(ReadPenStyle(row[2].AsString())->Color(), clGray);
    const auto gradient = ReadGradientStyle(row[3].AsString());
    EXPECT_EQ(gradient->StartColor(), clRed);
    EXPECT_EQ(gradient->MidColor(), clYellow);
    EXPECT_EQ(gradient->EndColor(), clBlue);
    EXPECT_FALSE(gradient->Visible());
    // The row is a properties line of twenty fields.
    EXPECT_EQ(SplitToStrings(PropertiesToText(row)).Length(), 20);
}

TEST(PolygonChartConstruct, MarginsTitleAndAxes)
{
    auto chart = NewChart();
    EXPECT_EQ(chart->MarginUnits(), muPixels);
    EXPECT_EQ(chart->MarginLeft(), 25);
    EXPECT_EQ(chart->MarginRight(), 70);
    EXPECT_EQ(chart->MarginTop(), 1);
    EXPECT_EQ(chart->MarginBottom(), 10);
    EXPECT_EQ(chart->AllowPanning(), pmNone);
    EXPECT_FALSE(chart->Legend().Visible());
    EXPECT_FALSE(chart->View3D());
    EXPECT_FALSE(chart->ZoomAllowed());
    EXPECT_EQ(chart->Zoom().Pen().Color(), clBlack);
    EXPECT_EQ(chart->Color(), clWhite);
    EXPECT_TRUE(chart->Title().Visible());
    ASSERT_EQ(chart->Title().Text().Count(), 1);
    EXPECT_EQ(chart->Title().Text()[0], "Cross-section");
    EXPECT_EQ(chart->Title().Font().Name(), "Small Fonts");
    EXPECT_EQ(chart->Title().Font().Size(), 7);

    struct TAxisRow {
        const char* Name;
        TChartAxis& Axis;
        int PenWidth;
        bool Inverted;
        double Maximum;
        double StartPosition;
        int LabelsSize;
        const char* Caption;
        int DecShift;
        bool TitleFlat;
    };
    const TAxisRow axes[] = {
        {"bottom", chart->BottomAxis(), 0, false, 1000, 0, 0, "", 3, false},
        {"left", chart->LeftAxis(), 1, true, 100, 5, 1, "z", 1, true},
    };
    for (const TAxisRow& a : axes) {
        EXPECT_FALSE(a.Axis.Automatic()) << a.Name;
        EXPECT_FALSE(a.Axis.AutomaticMinimum()) << a.Name;
        EXPECT_FALSE(a.Axis.AutomaticMaximum()) << a.Name;
        EXPECT_EQ(a.Axis.Axis().Width(), a.PenWidth) << a.Name;
        EXPECT_FALSE(a.Axis.Grid().Visible()) << a.Name;
        EXPECT_EQ(a.Axis.LabelStyle(), talValue) << a.Name;
        EXPECT_EQ(a.Axis.Inverted(), a.Inverted) << a.Name;
        EXPECT_EQ(a.Axis.Minimum(), 0) << a.Name;
        EXPECT_EQ(a.Axis.Maximum(), a.Maximum) << a.Name;
        EXPECT_EQ(a.Axis.StartPosition(), a.StartPosition) << a.Name;
        EXPECT_EQ(a.Axis.LabelsSize(), a.LabelsSize) << a.Name;
        EXPECT_EQ(a.Axis.Title().Caption(), a.Caption) << a.Name;
        EXPECT_EQ(a.Axis.MinorTickCount(), 4) << a.Name;
        EXPECT_EQ(a.Axis.TickLength(), 3) << a.Name;
        EXPECT_EQ(a.Axis.Ticks().Color(), clBlack) << a.Name;
        EXPECT_EQ(a.Axis.MinorTicks().Color(), clBlack) << a.Name;
        EXPECT_FALSE(a.Axis.TicksInner().Visible()) << a.Name;
        EXPECT_FALSE(a.Axis.Logarithmic()) << a.Name;
        EXPECT_TRUE(a.Axis.AutoLogFormat) << a.Name;
        EXPECT_EQ(a.Axis.DecShift, a.DecShift) << a.Name;
        EXPECT_EQ(a.Axis.TitleFlat, a.TitleFlat) << a.Name;
        // The axis pop-up's "Default" has these looks to go back to.
        EXPECT_FALSE(a.Axis.DefaultStyle.empty()) << a.Name;
    }
    EXPECT_FALSE(chart->RightAxis().Visible());
    EXPECT_FALSE(chart->TopAxis().Visible());
}

// The depth labels are written left of the axis and the flat "z" title left of them: on a deep model, or
// with long elevations, the plot moves right so that every label stands whole and clear of the title; a
// shallow model keeps the margin's plot.
TEST(PolygonChartConstruct, DepthLabelsAndTheirTitleStandWholeLeftOfThePlot)
{
    const struct {
        const char* Name;
        double Depth;
        double Offset, Scale; // labels show Scale x (depth + Offset)
        bool Grows;
    } cases[] = {
        {"shallow", 100, 0, 1, false},
        {"deep", 25000, 0, 1, true},
        {"elevations", 25000, -1200, -1, true},
    };
    int shallowLeft = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        auto chart = NewChart(790, 184);
        chart->CreateFrameModel({}, false, 0, 1000, 0, c.Depth);
        chart->LeftAxis().LabelValueOffset = c.Offset;
        chart->LeftAxis().LabelValueScale = c.Scale;
        auto recorder = std::make_shared<TRecordingBackend>(790, 184);
        TCanvas canvas(recorder);
        chart->DrawUnbuffered(canvas, {0, 0, 790, 184});
        const TRect plot = chart->ChartRect();
        double titleRight = -1;
        std::vector<std::pair<double, std::string>> labels; // left edges
        for (const auto& r : recorder->Records) {
            if (r.Kind != "TextOut") continue;
            const double left = r.TextCmd.Origin.x, right = left + r.TextCmd.Width;
            if (r.Text == "z") titleRight = right;
            else if (right <= plot.Left && r.Text != "Cross-section") labels.emplace_back(left, r.Text);
        }
        ASSERT_GE(titleRight, 0) << "the title is drawn";
        ASSERT_GE(labels.size(), 2u);
        for (const auto& [left, text] : labels) {
            EXPECT_GE(left, 0) << text << " is cut";
            EXPECT_GT(left, titleRight) << text << " runs into the title";
        }
        if (!c.Grows) {
            shallowLeft = plot.Left;
            EXPECT_LE(plot.Left, chart->MarginLeft() + 10) << "the margin's plot";
        } else {
            EXPECT_GT(plot.Left, shallowLeft);
        }
        EXPECT_EQ(chart->MarginLeft(), 25) << "the setting stays";
    }
}

TEST(PolygonChartConstruct, StateBeforeAModel)
{
    auto chart = std::make_unique<TPolygonChart>(nullptr);
    EXPECT_FALSE(chart->ModelPresent());
    EXPECT_EQ(chart->EditMode, -1);
    EXPECT_FALSE(chart->EditPending);
    EXPECT_FALSE(chart->EqualScale);
    EXPECT_EQ(chart->PixelsPerX, 1.0);
    EXPECT_EQ(chart->PixelsPerZ, 1.0);
    EXPECT_EQ(chart->Model.ModelBox, (TModelBox{0, 1000, 0, 100}));
    EXPECT_EQ(chart->ExternalNodeColor, clBlue);
    EXPECT_EQ(chart->FixedNodeColor, clBlack);
    EXPECT_EQ(chart->InternalNodeColor, clGreen);
    EXPECT_EQ(chart->BorderNodeColor, clGray);
    EXPECT_EQ(chart->UndoStack().UndoLimit, 25);
    EXPECT_EQ(chart->UndoStack().SnapshotCount(), 0);
    // Nothing to take back yet.
    chart->PopUndo();
    EXPECT_TRUE(chart->Model.Bodies.empty());

    int changes = 0;
    chart->onchangemodel = [&](TPersistent* sender) {
        EXPECT_EQ(sender, chart.get());
        ++changes;
    };
    chart->DoChangeModel();
    EXPECT_EQ(changes, 1);
}
