// Undo on the model view with exact models: edits made with the core's operations and completed as the
// chart completes them (working copy, snapshot), stepped back one by one; changes that took no snapshot
// (a box through the axes, resistivities of an inversion) taken back by one step too.
#include "tests/views/PolygonChartFixtures.h"

#include <algorithm>
#include <vector>

using namespace pctest;

namespace {

// A model with one body to edit; edits move its nodes, fix one, add small bodies and set resistivities,
// each giving a model no other edit gives.
struct TEditor {
    std::unique_ptr<TPolygonChart> Chart = FrameChart();
    int Body = -1;

    TEditor()
    {
        Body = AddBody(*Chart, PointList({{100, 20}, {300, 20}, {300, 60}, {100, 60}}));
        Chart->RebuildShapes();
        Chart->SaveWorkingCopy();
        Chart->PushUndo();
    }

    void Edit(int k)
    {
        TPolygonModel& m = Chart->Model;
        switch (k % 4) {
        case 0: // a body of its own, as the add-polygon mode leaves it
            ASSERT_NE(AddBody(*Chart, PointList({{400.0 + 10 * k, 70}, {405.0 + 10 * k, 70}, {405.0 + 10 * k, 75}})), -1) << k;
            Chart->AddShape(m.Bodies.High(), 0);
            break;
        case 1: // a node moved
            m.Nodes[m.Bodies[Body][0].ring[k % 3]].x += 1;
            Chart->RebuildShapes();
            break;
        case 2: // a node fixed or freed
            m.Nodes[m.Bodies[Body][0].ring[3]].FixedFlag ^= 1;
            break;
        default: // the body dialog's resistivity
            m.Bodies[Body][0].properties[psResistivity] = Variant(10.0 + k);
            Chart->RebuildShapes();
        }
        // What the chart does after a successful edit.
        Chart->SaveWorkingCopy();
        Chart->PushUndo();
    }
};

} // namespace

TEST(PolygonChartUndo, TwentyFourStepsBackFromThirtyEditsReachTheSixth)
{
    TEditor e;
    std::vector<TPolygonModel> after{e.Chart->Model}; // after[k]: the model after edit k
    for (int k = 1; k <= 30; ++k) {
        e.Edit(k);
        after.push_back(e.Chart->Model);
    }
    EXPECT_EQ(e.Chart->UndoStack().SnapshotCount(), 25);
    for (int step = 1; step <= 24; ++step) {
        e.Chart->PopUndo();
        ExpectSameModel(e.Chart->Model, after[30 - step], "undo " + std::to_string(step));
        // Two dropped, one pushed again; the last one left is never dropped and comes back as a copy.
        EXPECT_EQ(e.Chart->UndoStack().SnapshotCount(), std::max(2, 25 - step));
    }
    // The oldest snapshot kept is the model after edit 6; further steps stay there.
    for (int step = 0; step < 3; ++step) {
        e.Chart->PopUndo();
        ExpectSameModel(e.Chart->Model, after[6], "further undo " + std::to_string(step));
    }
    // The shapes follow the model.
    EXPECT_EQ(e.Chart->ShapeSeries().Shapes().Count(), e.Chart->Model.Bodies.Length() - 1);
    EXPECT_FALSE(e.Chart->EditPending);
}

TEST(PolygonChartUndo, AnUndoRightAfterANewOrTakenOverModelChangesNothing)
{
    {
        auto chart = FrameChart(SlopeRelief());
        const TPolygonModel created = chart->Model;
        chart->PopUndo();
        ExpectSameModel(chart->Model, created, "after creating");
        chart->PopUndo();
        ExpectSameModel(chart->Model, created, "twice");
        EXPECT_EQ(chart->ShapeSeries().Shapes().Count(), 0);
    }
    {
        TEditor source;
        source.Edit(4);
        auto chart = NewChart();
        chart->LoadModelBlock(source.Chart->Model);
        const TModelBox box = chart->Model.ModelBox;
        chart->SetModelBox(true, box.XMin, box.XMax, box.ZMin, box.ZMax);
        const TPolygonModel taken = chart->Model;
        chart->PopUndo();
        ExpectSameModel(chart->Model, taken, "after taking over");
        EXPECT_EQ(chart->ShapeSeries().Shapes().Count(), 2);
    }
}

TEST(PolygonChartUndo, ABoxChangeThroughTheAxesIsOneStep)
{
    TEditor e;
    const TPolygonModel original = e.Chart->Model;
    e.Edit(1);
    const TPolygonModel edited = e.Chart->Model;
    // An axis pop-up command widened both ranges; the box followed without a snapshot.
    e.Chart->BottomAxis().SetFixedRange(-200, 1300);
    e.Chart->LeftAxis().SetFixedRange(0, 150);
    e.Chart->OnAxisMenuClick(e.Chart.get());
    ASSERT_EQ(e.Chart->Model.ModelBox, (TModelBox{-200, 1300, 0, 150}));

    e.Chart->PopUndo();
    ExpectSameModel(e.Chart->Model, edited, "the box change taken back");
    // The edit before it stays, and is the one the next step takes back.
    e.Chart->PopUndo();
    ExpectSameModel(e.Chart->Model, original, "then the edit");
}

TEST(PolygonChartUndo, ResistivitiesWrittenIntoTheBodiesAreOneStep)
{
    TEditor e;
    e.Edit(1);
    const TPolygonModel first = e.Chart->Model;
    e.Edit(2);
    const TPolygonModel edited = e.Chart->Model;
    // An inversion writes its resistivities and has the shapes rebuilt.
    for (int i = 1; i < e.Chart->Model.Bodies.Length(); ++i)
        for (int j = 0; j < e.Chart->Model.Bodies[i].Length(); ++j)
            e.Chart->Model.Bodies[i][j].properties[psResistivity] = Variant(123.0);
    e.Chart->RebuildShapes();

    e.Chart->PopUndo();
    ExpectSameModel(e.Chart->Model, edited, "the resistivities taken back");
    EXPECT_EQ(e.Chart->UndoStack().SnapshotCount(), 4) << "frame, body, two edits: none dropped";
    e.Chart->PopUndo();
    ExpectSameModel(e.Chart->Model, first, "then edit 2");
}

TEST(PolygonChartUndo, WorkingCopyIsTheModelWhenTheEditBegan)
{
    TEditor e;
    const TPolygonModel begun = e.Chart->Model;
    e.Chart->Model.Nodes[5].x = 150;
    e.Chart->Model.Bodies[1][0].properties[psResistivity] = Variant(1.0);
    e.Chart->RestoreWorkingCopy();
    ExpectSameModel(e.Chart->Model, begun, "restored");
}
