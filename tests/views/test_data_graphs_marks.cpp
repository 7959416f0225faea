// Measurement lookup and electrode marks: running numbers and (data set, row) both ways, the "p1"/"p2"
// markers and the blue electrodes of a pick in both views, null points that name no row, and marks that
// are rebuilt only when the electrodes changed.
#include "chart/series/Series.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/RecordingBackend.h"
#include "tests/views/DataViewFixtures.h"
#include "views/PseudoSection2d.h"
#include "views/ResMainFormData.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

TEST(MeasurementLookup, RunningNumbersAndRows)
{
    const TSurveyState s = MakeSetsSurvey({12, 5});
    const struct {
        int Index, Set, Row;
    } cases[] = {{0, 0, 0}, {11, 0, 11}, {12, 1, 0}, {14, 1, 2}, {16, 1, 4}, {17, -1, -1}, {-1, -1, -1}, {1000, -1, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Index);
        int set = 7, row = 7;
        LocateRow(s, c.Index, set, row);
        EXPECT_EQ(set, c.Set);
        EXPECT_EQ(row, c.Row);
        if (c.Set >= 0) {
            EXPECT_EQ(GlobalRowIndex(s, c.Set, c.Row), c.Index);
        }
    }
    int set = 0, row = 0;
    LocateRow(TSurveyState{}, 0, set, row);
    EXPECT_EQ(set, -1);
    EXPECT_EQ(row, -1);
}

struct TMarksBench {
    TPseudoSection2d Data{nullptr};
    TChart Model{nullptr};
    TPointSeries* Electrodes = new TPointSeries(nullptr);
    TSurveyState Survey = MakeSurvey({{0, 10, 20, 30, 40}, {1, 2, 3, 4}});

    TMarksBench()
    {
        Data.CreateDataGraphs();
        Electrodes->SetParentChart(&Model);
        Electrodes->SetColorEachPoint(true);
        ShowElectrodeMarks(Survey, *Electrodes);
        Data.LeftAxis().SetFixedRange(-5, 17.5);
    }
    std::vector<TColor> Colors() const
    {
        std::vector<TColor> colors;
        for (int i = 0; i < Electrodes->PointCount(); ++i) colors.push_back(Electrodes->StoredPointColor(i));
        return colors;
    }
    struct TMarker {
        double X, Y;
        std::string Label;
        TColor Color;
        bool operator==(const TMarker&) const = default;
    };
    std::vector<TMarker> Markers() const
    {
        std::vector<TMarker> markers;
        const TPointSeries& m = *Data.MarkerSeries;
        for (int i = 0; i < m.PointCount(); ++i)
            markers.push_back({m.XValues().ValueAt(i), m.YValues().ValueAt(i), m.PointLabel(i), m.StoredPointColor(i)});
        return markers;
    }
};

const TColor K = clBlack, Bl = clBlue;

TEST(ElectrodeMarks, PicksInBothViews)
{
    const struct {
        const char* Name;
        int DataType, NullPoint, Row;
        std::vector<TMarksBench::TMarker> Markers;
        std::vector<TColor> Colors;
    } cases[] = {
        {"DU: the row's electrodes", 0, 3, 1, {{10, 17.5, "p1", Bl}, {20, 17.5, "p2", Bl}}, {K, Bl, Bl, K, K}},
        {"Potential: the null point's P1, the row's P2", 1, 1, 3, {{10, 17.5, "p1", Bl}, {40, 17.5, "p2", Bl}},
         {K, Bl, K, K, Bl}},
        {"Potential: null point M names no row", 1, 4, 2, {{30, 17.5, "p2", Bl}}, {K, K, K, Bl, K}},
        {"Potential: a typed null point", 1, -9, 0, {{10, 17.5, "p2", Bl}}, {K, Bl, K, K, K}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TMarksBench b;
        b.Survey.DataType = c.DataType;
        b.Survey.NullPointIndex = c.NullPoint;
        // An earlier pick's colours go.
        MarkMeasurementElectrodes(b.Survey, b.Data, *b.Electrodes, 0, 0);
        MarkMeasurementElectrodes(b.Survey, b.Data, *b.Electrodes, 0, c.Row);
        EXPECT_EQ(b.Markers(), c.Markers);
        EXPECT_EQ(b.Colors(), c.Colors);
    }
}

// The picked measurement's markers carry their names on the view: "p1" and "p2" in blue over their points.
TEST(ElectrodeMarks, TheMarkersAreWrittenOnTheView)
{
    TMarksBench b;
    b.Data.SetBounds(0, 0, 790, 339);
    b.Data.BottomAxis().SetFixedRange(0, 50);
    MarkMeasurementElectrodes(b.Survey, b.Data, *b.Electrodes, 0, 1);
    auto recorder = std::make_shared<TRecordingBackend>(790, 339);
    TCanvas canvas(recorder);
    b.Data.DrawUnbuffered(canvas, TRect{0, 0, 790, 339});
    for (const auto& [name, x] : {std::pair<std::string, double>{"p1", 10}, {"p2", 20}}) {
        SCOPED_TRACE(name);
        const TRecordingBackend::TRecord* written = nullptr;
        for (const auto& r : recorder->Records)
            if (r.Kind == "TextOut" && r.Text == name) written = &r;
        ASSERT_NE(written, nullptr) << "no text " << name;
        EXPECT_EQ(written->TextCmd.Color, clBlue);
        // Centred over the marker's point, above it.
        const int px = b.Data.BottomAxis().CalcPosValue(x);
        EXPECT_NEAR(written->TextCmd.Origin.x + written->TextCmd.Width / 2, px, 2);
        EXPECT_LT(written->TextCmd.Origin.y, b.Data.LeftAxis().CalcPosValue(17.5));
    }
}

TEST(ElectrodeMarks, NoRowClearsTheMarkers)
{
    TMarksBench b;
    MarkMeasurementElectrodes(b.Survey, b.Data, *b.Electrodes, 0, 2);
    ASSERT_EQ(b.Markers().size(), 2u);
    MarkMeasurementElectrodes(b.Survey, b.Data, *b.Electrodes, -1, -1);
    EXPECT_TRUE(b.Markers().empty());
    EXPECT_EQ(b.Colors(), std::vector<TColor>(5, K));
}

TEST(ElectrodeMarks, MissingPositionsAndElectrodesAreSkipped)
{
    TMarksBench b;
    b.Survey.DataSets[0].P1x[2] = MissingValue;
    b.Survey.DataSets[0].P1[2] = NoElectrode;
    MarkMeasurementElectrodes(b.Survey, b.Data, *b.Electrodes, 0, 2);
    EXPECT_EQ(b.Markers(), (std::vector<TMarksBench::TMarker>{{30, 17.5, "p2", Bl}}));
    EXPECT_EQ(b.Colors(), (std::vector<TColor>{K, K, K, Bl, K}));
}

TEST(ElectrodeMarks, RebuiltOnlyWhenTheElectrodesChanged)
{
    TMarksBench b;
    ASSERT_EQ(b.Electrodes->PointCount(), 5);
    EXPECT_EQ(b.Electrodes->XValues().ValueAt(3), 30);
    EXPECT_EQ(b.Electrodes->YValues().ValueAt(3), 0.5);
    HighlightElectrodes(b.Survey, *b.Electrodes, 0, 1);
    ShowElectrodeMarks(b.Survey, *b.Electrodes);
    EXPECT_EQ(b.Electrodes->PointCount(), 5);
    EXPECT_EQ(b.Colors(), (std::vector<TColor>{K, Bl, Bl, K, K}));

    // Another survey with as many electrodes elsewhere gets its own marks.
    TSurveyState other = MakeSurvey({{0, 5, 20, 30, 40}, {1, 2, 3, 4}});
    ShowElectrodeMarks(other, *b.Electrodes);
    EXPECT_EQ(b.Electrodes->PointCount(), 5);
    EXPECT_EQ(b.Electrodes->XValues().ValueAt(1), 5);
    EXPECT_EQ(b.Colors(), std::vector<TColor>(5, K));

    // Before a survey exists nothing happens.
    other.SurveyReady = false;
    other.Electrodes.SetLength(2);
    ShowElectrodeMarks(other, *b.Electrodes);
    EXPECT_EQ(b.Electrodes->PointCount(), 5);
}

} // namespace
