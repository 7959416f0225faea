// The model view's edit modes driven by Qt mouse events at the pixels of model points: one table of scripted
// sequences per mode with what each leaves (completed edits, the model's counts, the pending flag, the undo
// depth, the work lines, the highlight), the pixel radii at their bounds, and each completed edit undone by
// Esc to the model before it.
#include "tests/views/PolygonChartFixtures.h"

#include "chart/control/LumEngineStyleStrings.h"
#include "platform/controls/Prompter.h"

#include <functional>

using namespace pctest;

namespace {

// The scenes: the frame (0, 100) x (0, 50) with a square body 1 (20, 10) .. (40, 30) (nodes 4 to 7) and a
// body 2 of four quarters (60, 10) .. (80, 30) round its centre (70, 20) (nodes 8 to 16, the centre 12);
// or the frame with a layer of the host from (0, 40) through (50, 42) to (100, 40).
enum class TScene { Bodies, Layer };

void Build(TEditView& v, TScene scene)
{
    if (scene == TScene::Bodies) {
        ASSERT_EQ(AddBody(v.C(), PointList({{20, 10}, {40, 10}, {40, 30}, {20, 30}})), 1);
        ASSERT_EQ(AddQuarteredBody(v.C(), 60, 10, 10).body, 2);
    } else {
        ASSERT_NE(AddHostLayer(v.C(), 40, 50, 42, 40, true).left, -1);
    }
    v.Start();
}

// A step of a script: a move, a left or a right press (after a move there), or a change of the mode.
struct TStep {
    char Kind; // 'm', 'l', 'r', 'M'
    double X = 0, Z = 0;
};
TStep Mv(double x, double z) { return {'m', x, z}; }
TStep L(double x, double z) { return {'l', x, z}; }
TStep R(double x, double z) { return {'r', x, z}; }
TStep ModeTo(int mode) { return {'M', double(mode), 0}; }

int SubCount(const TPolygonModel& m)
{
    int n = 0;
    for (const SPolygon& b : m.Bodies) n += b.Length();
    return n;
}

int NodeAt(const TPolygonModel& m, complexM p)
{
    for (int v = 0; v < m.Nodes.Length(); ++v)
        if (NodePoint(m.Nodes, v) == p) return v;
    return -1;
}

struct TRow {
    const char* Name;
    int Mode;
    TScene Scene;
    std::vector<TStep> Steps;
    int Completed;          // edits completed
    int Nodes, Bodies, Subs; // the model's change in counts
    bool Pending;
    int Undo;               // snapshots held
    int Line1, Line2;       // points of the two work lines
    bool Highlight;
    std::function<void(const TPolygonModel&)> Check = {};
};

void RunRow(const TRow& row)
{
    SCOPED_TRACE(row.Name);
    TEditView v;
    Build(v, row.Scene);
    v.Mode(row.Mode);
    const TPolygonModel start = v.M();
    TPolygonModel beforeLastEdit = start;
    for (const TStep& s : row.Steps) {
        const complexM p{s.X, s.Z};
        switch (s.Kind) {
        case 'm': v.Move(p); break;
        case 'l': v.Left(p); break;
        case 'M': v.Mode(int(s.X)); break;
        case 'r': {
            // The model as the edit began: the working copy.
            TPolygonModel before = v.M();
            before.Bodies = v.C().WorkingBodies;
            before.Nodes = v.C().WorkingNodes;
            const int changes = v.Changes;
            v.Right(p);
            if (v.Changes > changes) beforeLastEdit = before;
            break;
        }
        }
    }
    const TPolygonChart& c = v.C();
    EXPECT_EQ(v.Changes, row.Completed);
    EXPECT_EQ(v.M().Nodes.Length() - start.Nodes.Length(), row.Nodes);
    EXPECT_EQ(v.M().Bodies.Length() - start.Bodies.Length(), row.Bodies);
    EXPECT_EQ(SubCount(v.M()) - SubCount(start), row.Subs);
    EXPECT_EQ(c.EditPending, row.Pending);
    EXPECT_EQ(c.UndoStack().SnapshotCount(), row.Undo);
    EXPECT_EQ(c.WorkLine1().PointCount(), row.Line1);
    EXPECT_EQ(c.WorkLine2().PointCount(), row.Line2);
    EXPECT_EQ(c.HighlightShape != -1, row.Highlight);
    if (row.Check) row.Check(v.M());
    // The last completed edit goes back with one Esc, once no edit is pending.
    if (row.Completed > 0) {
        if (c.EditPending) v.Esc();
        v.Esc();
        ExpectSameModel(v.M(), beforeLastEdit, "Esc after the last edit");
    }
    for (const std::string& f : v.Faults) ADD_FAILURE() << f;
}

void RunRows(const std::vector<TRow>& rows)
{
    for (const TRow& row : rows) RunRow(row);
}

constexpr TScene B = TScene::Bodies;

} // namespace

TEST(PolygonChartEdit, AddPolygon)
{
    RunRows({
        {"a triangle closed by the right press", emAddPolygon, B, {L(5, 35), L(15, 35), R(10, 45)},
         1, 3, 1, 1, false, 2, 0, 0, false,
         [](const TPolygonModel& m) {
             for (complexM p : {complexM{5, 35}, complexM{15, 35}, complexM{10, 45}}) EXPECT_NE(NodeAt(m, p), -1);
         }},
        {"a press on the box's edge is ignored", emAddPolygon, B, {L(0, 40), Mv(10, 40)},
         0, 0, 0, 0, false, 1, 0, 0, false},
        {"a point inside a body is refused", emAddPolygon, B, {L(30, 20), Mv(31, 20)},
         0, 0, 0, 0, false, 1, 0, 0, false},
        // The right press's point would make the outline cross itself: it is refused and closes nothing.
        {"a refused right press closes nothing", emAddPolygon, B, {L(5, 35), L(15, 45), L(15, 35), R(5, 45)},
         0, 0, 0, 0, true, 1, 3, 3, false},
        {"and the polygon closes later", emAddPolygon, B,
         {L(5, 35), L(15, 45), L(15, 35), R(5, 45), R(10, 33)},
         1, 4, 1, 1, false, 2, 0, 0, false},
        // The closing edge would cross the square: the right press's point goes again, the others stay.
        {"a closing edge across a body drops the last point", emAddPolygon, B, {L(10, 20), L(10, 35), R(45, 35)},
         0, 0, 0, 0, true, 1, 2, 3, false},
        {"and the outline closes elsewhere", emAddPolygon, B, {L(10, 20), L(10, 35), R(45, 35), R(15, 40)},
         1, 3, 1, 1, false, 2, 0, 0, false,
         [](const TPolygonModel& m) { EXPECT_EQ(NodeAt(m, {45, 35}), -1); }},
        {"the rubber band follows the cursor", emAddPolygon, B, {L(5, 35), L(15, 35), Mv(12, 44)},
         0, 0, 0, 0, true, 1, 2, 3, false},
    });
}

TEST(PolygonChartEdit, AddSubPolygonToABody)
{
    RunRows({
        // The start is put on the square's bottom edge, the end is its corner (40, 30).
        {"a sub-polygon below the square", emAddSubPolygon, B, {L(30, 30), L(30, 40), R(40, 30)},
         1, 2, 0, 1, false, 2, 0, 0, false,
         [](const TPolygonModel& m) {
             EXPECT_EQ(m.Bodies[1].Length(), 2);
             EXPECT_NE(NodeAt(m, {30, 30}), -1);
         }},
        {"the start on a node within 5 pixels of its edge", emAddSubPolygon, B, {L(21, 20)},
         0, 1, 0, 0, true, 1, 1, 2, false},
        {"an edge 5 pixels away gives no start", emAddSubPolygon, B, {L(18.75, 20)},
         0, 0, 0, 0, false, 1, 0, 0, false},
        // 4 pixels beyond the end of the quarters' top edge, a tenth of its length: the core puts no node
        // there, and nothing is picked.
        {"no start where the core puts no node", emAddSubPolygon, B, {L(59, 10)},
         0, 0, 0, 0, false, 1, 0, 0, false},
        {"a point outside the box is ignored", emAddSubPolygon, B, {L(30, 30), L(30, 52)},
         0, 1, 0, 0, true, 1, 1, 2, false},
        {"an end near nothing keeps the edit", emAddSubPolygon, B, {L(30, 30), L(30, 40), R(50, 45)},
         0, 1, 0, 0, true, 1, 2, 2, false},
        // The end on the other body: the start's body is wanted.
        {"an end on another body keeps the edit", emAddSubPolygon, B, {L(30, 30), L(50, 40), R(60, 30)},
         0, 1, 0, 0, true, 1, 2, 2, false},
    });
}

TEST(PolygonChartEdit, DividePolygon)
{
    RunRows({
        {"the square divided across", emDividePolygon, B, {L(20, 20), R(40, 20)},
         1, 2, 0, 1, false, 2, 0, 0, false,
         [](const TPolygonModel& m) { EXPECT_EQ(m.Bodies[1].Length(), 2); }},
        {"a first pick 2 pixels off the edge puts its node on it", emDividePolygon, B, {L(20.5, 20)},
         0, 1, 0, 0, true, 1, 3, 2, false,
         [](const TPolygonModel& m) { EXPECT_NE(NodeAt(m, {20, 20}), -1); }},
        {"3 pixels off the edge is too far", emDividePolygon, B, {L(20.75, 20)},
         0, 0, 0, 0, false, 1, 0, 0, false},
        {"no first node where the core puts none", emDividePolygon, B, {L(59.5, 10)},
         0, 0, 0, 0, false, 1, 2, 0, false},
        {"two neighbours do not divide: the edit is given up", emDividePolygon, B, {L(20, 10), R(40, 10)},
         0, 0, 0, 0, false, 1, 0, 0, false},
        {"a right press near no edge gives the edit up", emDividePolygon, B, {L(20, 20), R(30, 20)},
         0, 0, 0, 0, false, 1, 0, 0, false},
        {"the hover marks the edge and the band follows", emDividePolygon, B, {L(20, 20), Mv(39.5, 25)},
         0, 1, 0, 0, true, 1, 2, 2, false},
    });
}

TEST(PolygonChartEdit, UncoupleDeleteAndFixNodes)
{
    RunRows({
        {"a shared node uncoupled", emUncoupleNodes, B, {Mv(70, 10), R(70, 10)},
         1, 1, 0, 0, false, 2, 0, 0, false},
        {"exactly 7 pixels away is taken", emUncoupleNodes, B, {Mv(71.75, 10), R(71.75, 10)},
         1, 1, 0, 0, false, 2, 0, 0, false},
        {"8 pixels away: nothing", emUncoupleNodes, B, {Mv(72, 10), R(72, 10)},
         0, 0, 0, 0, false, 1, 0, 0, false},
        {"the hovered node marked", emUncoupleNodes, B, {Mv(71, 10)}, 0, 0, 0, 0, true, 1, 2, 0, false},
        {"a corner of the square deleted", emDeleteNode, B, {Mv(21.75, 10), R(21.75, 10)},
         1, -1, 0, 0, false, 2, 0, 0, false,
         [](const TPolygonModel& m) { EXPECT_EQ(m.Bodies[1][0].ring.Length(), 3); }},
        {"a frame corner stays", emDeleteNode, B, {Mv(0, 0), R(0, 0)}, 0, 0, 0, 0, true, 1, 2, 0, false},
        {"a node fixed", emFixNode, B, {Mv(21.75, 10), R(21.75, 10)}, 1, 0, 0, 0, false, 2, 0, 0, false,
         [](const TPolygonModel& m) { EXPECT_EQ(m.Nodes[NodeAt(m, {20, 10})].FixedFlag, 1); }},
        {"and loosened again", emFixNode, B, {Mv(20, 10), R(20, 10), Mv(20, 10), R(20, 10)},
         2, 0, 0, 0, false, 3, 0, 0, false,
         [](const TPolygonModel& m) { EXPECT_EQ(m.Nodes[NodeAt(m, {20, 10})].FixedFlag, 0); }},
        {"a frame node within 7 pixels cannot be fixed", emFixNode, B, {Mv(1, 0), R(1, 0)},
         0, 0, 0, 0, false, 1, 0, 0, false},
    });
}

TEST(PolygonChartEdit, MoveNode)
{
    RunRows({
        {"a node dragged and placed", emMoveNode, B, {Mv(20, 10), L(20, 10), Mv(19, 9), Mv(18, 8), R(18, 8)},
         1, 0, 0, 0, false, 2, 0, 0, false,
         [](const TPolygonModel& m) { EXPECT_NE(NodeAt(m, {18, 8}), -1); }},
        {"picked exactly 7 pixels away", emMoveNode, B, {Mv(21.75, 10), L(21.75, 10), Mv(18, 8), R(18, 8)},
         1, 0, 0, 0, false, 2, 0, 0, false,
         [](const TPolygonModel& m) { EXPECT_EQ(NodeAt(m, {20, 10}), -1); }},
        {"during the drag", emMoveNode, B, {Mv(20, 10), L(20, 10), Mv(18, 8)}, 0, 0, 0, 0, true, 1, 0, 0, false,
         [](const TPolygonModel& m) { EXPECT_NE(NodeAt(m, {18, 8}), -1); }},
        {"a place outside the box is refused and the drag goes on", emMoveNode, B,
         {Mv(20, 10), L(20, 10), Mv(-2, 10), R(-2, 10)}, 0, 0, 0, 0, true, 1, 0, 0, false,
         [](const TPolygonModel& m) { EXPECT_NE(NodeAt(m, {20, 10}), -1); }},
        {"and placed inside afterwards", emMoveNode, B,
         {Mv(20, 10), L(20, 10), Mv(-2, 10), R(-2, 10), Mv(17, 9), R(17, 9)}, 1, 0, 0, 0, false, 2, 0, 0, false,
         [](const TPolygonModel& m) { EXPECT_NE(NodeAt(m, {17, 9}), -1); }},
        {"a place that folds the square is refused", emMoveNode, B, {Mv(20, 10), L(20, 10), Mv(45, 20), R(45, 20)},
         0, 0, 0, 0, true, 1, 0, 0, false},
        {"a bottom corner of the frame cannot be dragged", emMoveNode, B, {Mv(0, 50), L(0, 50), Mv(5, 45)},
         0, 0, 0, 0, false, 1, 0, 0, false},
        {"a fixed node cannot be dragged", emFixNode, B,
         {Mv(20, 10), R(20, 10), ModeTo(emMoveNode), Mv(20, 10), L(20, 10), Mv(18, 8), R(18, 8)},
         1, 0, 0, 0, false, 2, 0, 0, false,
         [](const TPolygonModel& m) { EXPECT_NE(NodeAt(m, {20, 10}), -1); }},
        {"a left-side frame node keeps its x", emMoveNode, TScene::Layer, {Mv(0, 40), L(0, 40), Mv(5, 38), R(5, 38)},
         1, 0, 0, 0, false, 2, 0, 0, false,
         [](const TPolygonModel& m) {
             EXPECT_NE(NodeAt(m, {0, 38}), -1);
             EXPECT_EQ(NodeAt(m, {0, 40}), -1);
         }},
    });
}

TEST(PolygonChartEdit, CoupleNodes)
{
    RunRows({
        // The square's corner (40, 10) (node 5) into the quarters' corner (60, 10) (node 8): one body.
        {"a corner merged into another body's", emCoupleNodes, B, {Mv(40, 10), L(40, 10), Mv(60, 10), R(60, 10)},
         1, -1, -1, 0, false, 2, 0, 0, false,
         [](const TPolygonModel& m) {
             // The first node had the lower index, so the merged node is one down.
             EXPECT_EQ(NodeAt(m, {60, 10}), 7);
             EXPECT_EQ(NodeAt(m, {40, 10}), -1);
         }},
        // The quarters' corner (60, 30) onto the square's corner (40, 30), 2 pixels above it.
        {"the second node taken 2 pixels away", emCoupleNodes, B,
         {Mv(60, 30), L(60, 30), Mv(40, 30 - 1.0 / 3), R(40, 30 - 1.0 / 3)}, 1, -1, -1, 0, false, 2, 0, 0, false,
         [](const TPolygonModel& m) {
             EXPECT_NE(NodeAt(m, {40, 30}), -1);
             EXPECT_EQ(NodeAt(m, {60, 30}), -1);
         }},
        // 3 pixels above it: a node is put on the square's side there instead.
        {"3 pixels away it is a node on the edge", emCoupleNodes, B,
         {Mv(60, 30), L(60, 30), Mv(40, 29.5), R(40, 29.5)}, 1, 0, -1, 0, false, 2, 0, 0, false,
         [](const TPolygonModel& m) {
             EXPECT_NE(NodeAt(m, {40, 29.5}), -1);
             EXPECT_NE(NodeAt(m, {40, 30}), -1);
             EXPECT_EQ(NodeAt(m, {60, 30}), -1);
         }},
        {"a frame node is marked but refused as the first", emCoupleNodes, B, {Mv(0, 0), L(0, 0)},
         0, 0, 0, 0, false, 1, 2, 0, false},
        {"the hover takes no node exactly 7 pixels away", emCoupleNodes, B, {Mv(41.75, 10)},
         0, 0, 0, 0, false, 1, 0, 0, false},
        {"5 pixels from a node: no first pick", emCoupleNodes, B, {Mv(41.25, 10), L(41.25, 10)},
         0, 0, 0, 0, false, 1, 2, 0, false},
        {"the first node picked", emCoupleNodes, B, {Mv(41, 10), L(41, 10), Mv(50, 40)},
         0, 0, 0, 0, true, 1, 0, 2, false},
        {"a target near nothing gives the edit up", emCoupleNodes, B, {Mv(40, 10), L(40, 10), Mv(50, 40), R(50, 40)},
         0, 0, 0, 0, false, 1, 0, 0, false},
        // A node put on the quarters' top edge, then the fold of the square across them is refused.
        {"a target on an edge that folds the square is given up", emCoupleNodes, B,
         {Mv(40, 10), L(40, 10), Mv(65, 10), R(65, 10)}, 0, 0, 0, 0, false, 1, 0, 0, false},
    });
}

TEST(PolygonChartEdit, AddNode)
{
    RunRows({
        {"a node put on the square's top edge", emAddNode, B, {Mv(30, 10.5), R(30, 10.5)},
         1, 1, 0, 0, false, 2, 0, 0, false,
         [](const TPolygonModel& m) { EXPECT_EQ(m.Bodies[1][0].ring.Length(), 5); }},
        {"an edge 3 pixels away is marked", emAddNode, B, {Mv(20.75, 20)}, 0, 0, 0, 0, true, 1, 2, 0, false},
        {"4 pixels away it is not", emAddNode, B, {Mv(21, 20), R(21, 20)}, 0, 0, 0, 0, true, 1, 0, 0, false},
        {"any move leaves the edit pending", emAddNode, B, {Mv(50, 45)}, 0, 0, 0, 0, true, 1, 0, 0, false},
        {"a node on the frame's side gets its frame code", emAddNode, B, {Mv(0.5, 25), R(0.5, 25)},
         1, 1, 0, 0, false, 2, 0, 0, false,
         [](const TPolygonModel& m) { EXPECT_EQ(m.Nodes.back().FrameCode, fcLeft); }},
    });
}

TEST(PolygonChartEdit, SubPolygonModes)
{
    RunRows({
        {"the hovered square drawn red", emDeleteSubPolygon, B, {Mv(30, 20)}, 0, 0, 0, 0, false, 1, 0, 0, true},
        {"the square deleted", emDeleteSubPolygon, B, {Mv(30, 20), R(30, 20)}, 1, -4, -1, -1, false, 2, 0, 0, false},
        {"nothing under the cursor", emDeleteSubPolygon, B, {Mv(50, 45), R(50, 45)}, 0, 0, 0, 0, false, 1, 0, 0, false},
        // The quarter's three shared nodes get copies of their own.
        {"a quarter uncoupled", emUncoupleSubPolygon, B, {Mv(65, 15), R(65, 15)}, 1, 3, 1, 0, false, 2, 0, 0, false},
        {"the square moved", emMovePolygon, B, {Mv(30, 20), L(30, 20), Mv(33, 21), Mv(35, 22), R(35, 22)},
         1, 0, 0, 0, false, 2, 0, 0, false,
         [](const TPolygonModel& m) {
             for (complexM p : {complexM{25, 12}, complexM{45, 12}, complexM{45, 32}, complexM{25, 32}})
                 EXPECT_NE(NodeAt(m, p), -1);
         }},
        {"during the drag", emMovePolygon, B, {Mv(30, 20), L(30, 20), Mv(35, 22)}, 0, 0, 0, 0, true, 1, 0, 0, true},
        {"onto the quarters it is refused", emMovePolygon, B, {Mv(30, 20), L(30, 20), Mv(55, 20), R(55, 20)},
         0, 0, 0, 0, false, 1, 0, 0, true,
         [](const TPolygonModel& m) { EXPECT_NE(NodeAt(m, {20, 10}), -1); }},
        {"beyond the box it is refused", emMovePolygon, B, {Mv(30, 20), L(30, 20), Mv(5, 20), R(5, 20)},
         0, 0, 0, 0, false, 1, 0, 0, true,
         [](const TPolygonModel& m) { EXPECT_NE(NodeAt(m, {20, 10}), -1); }},
        {"a sub-polygon beyond the box is refused", emMoveSubPolygon, B, {Mv(30, 20), L(30, 20), Mv(5, 20), R(5, 20)},
         0, 0, 0, 0, false, 1, 0, 0, true,
         [](const TPolygonModel& m) { EXPECT_NE(NodeAt(m, {20, 10}), -1); }},
        {"a quarter moved a little", emMoveSubPolygon, B, {Mv(65, 15), L(65, 15), Mv(65.5, 15), R(65.5, 15)},
         1, 0, 0, 0, false, 2, 0, 0, false,
         [](const TPolygonModel& m) { EXPECT_NE(NodeAt(m, {60.5, 10}), -1); }},
    });
}

// A refused press says why and what to do (what the main window writes into status panel 5), a press on
// nothing and a completed edit say nothing; the refused move of a node stays pending, following the mouse.
TEST(PolygonChartEdit, ARefusedPressSaysWhy)
{
    struct TCase {
        const char* Name;
        int Mode;
        TScene Scene;
        std::vector<TStep> Steps;
        const char* Refusal; // of the last press; "" none
        bool Pending;
    };
    const TCase cases[] = {
        {"add polygon: a point outside the box", emAddPolygon, B, {L(5, 35), L(-5, 35)}, RefusedPointOutsideBox, true},
        {"add polygon: a point inside a body", emAddPolygon, B, {L(30, 20)}, RefusedPointCrosses, false},
        {"add polygon: a right press whose point crosses the outline", emAddPolygon, B,
         {L(5, 35), L(15, 45), L(15, 35), R(5, 45)}, RefusedPointCrosses, true},
        {"add polygon: a closing edge across a body", emAddPolygon, B, {L(10, 20), L(10, 35), R(45, 35)},
         RefusedClosingCrosses, true},
        {"add polygon: closed", emAddPolygon, B, {L(5, 35), L(15, 35), R(10, 45)}, "", false},
        {"add sub-polygon: an end near nothing", emAddSubPolygon, B, {L(30, 30), L(30, 40), R(50, 45)}, RefusedLineEnd,
         true},
        {"add sub-polygon: a start near nothing says nothing", emAddSubPolygon, B, {L(50, 45)}, "", false},
        {"divide: two neighbours", emDividePolygon, B, {L(20, 10), R(40, 10)}, RefusedDivide, false},
        {"uncouple: a node of one polygon", emUncoupleNodes, B, {Mv(20, 10), R(20, 10)}, RefusedUncoupleNode, true},
        {"delete node: a corner of the frame", emDeleteNode, B, {Mv(0, 0), R(0, 0)}, RefusedDeleteNode, true},
        {"move node: outside the box", emMoveNode, B, {Mv(20, 10), L(20, 10), Mv(-2, 10), R(-2, 10)},
         RefusedNodeOutsideBox, true},
        {"move node: folding the square", emMoveNode, B, {Mv(20, 10), L(20, 10), Mv(45, 20), R(45, 20)},
         RefusedNodeCrosses, true},
        {"move node: a bottom corner of the frame", emMoveNode, B, {Mv(0, 50), L(0, 50)}, RefusedFrameCorner, false},
        {"move node: a fixed node", emFixNode, B, {Mv(20, 10), R(20, 10), ModeTo(emMoveNode), Mv(20, 10), L(20, 10)},
         RefusedFixedNode, false},
        {"couple: a frame node first", emCoupleNodes, B, {Mv(0, 0), L(0, 0)}, RefusedCoupleFirst, false},
        {"couple: a target near nothing", emCoupleNodes, B, {Mv(40, 10), L(40, 10), Mv(50, 40), R(50, 40)},
         RefusedCouple, false},
        {"move polygon: out of the box", emMovePolygon, B, {Mv(30, 20), L(30, 20), Mv(-30, 20), R(-30, 20)},
         RefusedPolygonOutsideBox, false},
        {"move polygon: onto the other body", emMovePolygon, B, {Mv(30, 20), L(30, 20), Mv(65, 20), R(65, 20)},
         RefusedPolygonCrosses, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TEditView v;
        Build(v, c.Scene);
        std::vector<std::string> heard;
        v.C().OnEditMessage = [&](TPolygonChart*, const std::string& text) { heard.push_back(text); };
        v.Mode(c.Mode);
        for (const TStep& s : c.Steps) {
            const complexM p{s.X, s.Z};
            switch (s.Kind) {
            case 'm': v.Move(p); break;
            case 'l': v.Left(p); break;
            case 'r': v.Right(p); break;
            case 'M': v.Mode(int(s.X)); break;
            }
        }
        EXPECT_EQ(v.C().EditRefusal(), c.Refusal);
        EXPECT_EQ(v.C().EditPending, c.Pending);
        // The window hears the refusal, or of the completed edit with "".
        if (*c.Refusal) {
            ASSERT_FALSE(heard.empty());
            EXPECT_EQ(heard.back(), c.Refusal);
        } else if (v.Changes > 0) {
            ASSERT_FALSE(heard.empty());
            EXPECT_EQ(heard.back(), "");
        }
        for (const std::string& f : v.Faults) ADD_FAILURE() << f;
    }
}

TEST(PolygonChartEdit, NoModeAndNoModelEditNothing)
{
    TEditView v;
    Build(v, B);
    const TPolygonModel start = v.M();
    v.Mode(emNone);
    v.Left(complexM{5, 35});
    v.Right(complexM{15, 35});
    v.Mode(13);
    v.Right(complexM{30, 20});
    ExpectSameModel(v.M(), start, "no mode");
    EXPECT_FALSE(v.C().EditPending);

    // Without a model the handlers do nothing, not even the cursor fields.
    TPolygonChart empty(nullptr);
    empty.SetBounds(0, 0, 400, 300);
    empty.EditMode = emAddPolygon;
    empty.ChartMouseMove(&empty, {}, 100, 100);
    empty.ChartMouseDown(&empty, mbRight, {}, 100, 100);
    EXPECT_EQ(empty.MouseX, 0);
    EXPECT_FALSE(empty.EditPending);
}

TEST(PolygonChartEdit, WithZoomAllowedPressesEditNothingButTheCursorFollows)
{
    TEditView v;
    Build(v, B);
    v.Mode(emAddPolygon);
    v.C().SetZoomAllowed(true);
    v.Left(complexM{5, 35});
    v.Right(complexM{15, 35});
    EXPECT_EQ(v.C().CursorX, 15);
    EXPECT_EQ(v.C().CursorZ, 35);
    EXPECT_TRUE(v.C().PickedPoints.empty());
    EXPECT_FALSE(v.C().EditPending);
    EXPECT_EQ(v.Changes, 0);
}

// ---- Cancel and undo --------------------------------------------------------------------------------------

TEST(PolygonChartEdit, EscOrAModeChangeDuringAnEditGivesBackTheModelAsItBegan)
{
    struct TCase {
        const char* Name;
        int Mode;
        std::vector<TStep> Steps;
    };
    const TCase cases[] = {
        {"a sub-polygon begun on a node put on an edge", emAddSubPolygon, {L(30, 30), L(30, 40)}},
        {"a division begun on a node put on an edge", emDividePolygon, {L(20, 20)}},
        {"a node dragged", emMoveNode, {Mv(20, 10), L(20, 10), Mv(18, 8)}},
        {"a body dragged", emMovePolygon, {Mv(30, 20), L(30, 20), Mv(35, 22)}},
        {"a sub-polygon dragged", emMoveSubPolygon, {Mv(65, 15), L(65, 15), Mv(65.5, 16)}},
    };
    for (const TCase& c : cases)
        for (const bool esc : {true, false}) {
            SCOPED_TRACE(std::string(c.Name) + (esc ? ", Esc" : ", mode change"));
            TEditView v;
            Build(v, B);
            // One completed edit first, so that the stack holds two snapshots.
            v.Mode(emFixNode);
            v.Right(complexM{40, 30});
            v.Mode(c.Mode);
            const TPolygonModel before = v.M();
            for (const TStep& s : c.Steps) s.Kind == 'm' ? v.Move({s.X, s.Z}) : v.Left({s.X, s.Z});
            ASSERT_TRUE(v.C().EditPending);
            if (esc)
                v.Esc();
            else
                v.Mode(emAddPolygon);
            ExpectSameModel(v.M(), before, "after the cancel");
            EXPECT_FALSE(v.C().EditPending);
            EXPECT_EQ(v.C().UndoStack().SnapshotCount(), 2) << "the stack is untouched";
            EXPECT_EQ(v.C().WorkLine1().PointCount() + v.C().WorkLine2().PointCount(), 0);
            EXPECT_EQ(v.C().HighlightShape, -1);
            // The next Esc undoes the completed edit.
            v.Esc();
            EXPECT_EQ(v.M().Nodes[NodeAt(v.M(), {40, 30})].FixedFlag, 0);
            for (const std::string& f : v.Faults) ADD_FAILURE() << f;
        }
}

TEST(PolygonChartEdit, AfterAnUndoOrABoxChangeACancelledOrRefusedEditGivesBackTheModelTheyLeft)
{
    TEditView v;
    Build(v, B);
    v.Mode(emMoveNode);
    for (complexM p : {complexM{20, 10}, complexM{18, 8}}) p == complexM{20, 10} ? v.Left(p) : v.Right(p);
    v.Esc(); // the drag undone
    const TPolygonModel undone = v.M();
    ASSERT_NE(NodeAt(undone, {20, 10}), -1);
    // A drag cancelled, then a body's move refused.
    v.Left(complexM{40, 30});
    v.Move(complexM{38, 28});
    v.Esc();
    ExpectSameModel(v.M(), undone, "cancelled after the undo");
    v.Mode(emMovePolygon);
    v.Move(complexM{30, 20});
    v.Left(complexM{30, 20});
    v.Right(complexM{55, 20});
    ExpectSameModel(v.M(), undone, "refused after the undo");

    // A box change through the axis pop-up during a drag: the drag ends first, the box applies to the model
    // before it, and a later cancelled drag gives back the model in the new box.
    v.Mode(emMoveNode);
    v.Left(complexM{40, 30});
    v.Move(complexM{38, 28});
    v.C().BottomAxis().SetFixedRange(-10, 110);
    v.C().LeftAxis().SetFixedRange(0, 60);
    v.C().OnAxisMenuClick(&v.C());
    EXPECT_FALSE(v.C().EditPending);
    EXPECT_EQ(v.M().ModelBox, (TModelBox{-10, 110, 0, 60}));
    EXPECT_NE(NodeAt(v.M(), {40, 30}), -1) << "the drag was given up before the box changed";
    const TPolygonModel boxed = v.M();
    v.Left(complexM{40, 30});
    v.Move(complexM{38, 28});
    v.Esc();
    ExpectSameModel(v.M(), boxed, "cancelled after the box change");
    for (const std::string& f : v.Faults) ADD_FAILURE() << f;
}

// ---- "Correct polygon?" -----------------------------------------------------------------------------------

TEST(PolygonChartEdit, ALayerOfTheHostIsOfferedAndTheAnswerChoosesItsSide)
{
    for (const bool yes : {true, false}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        TEditView v;
        v.Start();
        v.Mode(emAddSubPolygon);
        // The core's result for the same picks: nodes on the two sides, the line between, the variant.
        TPolygonModel expected = v.M();
        for (double x : {0.0, 100.0}) {
            EdgePick edge;
            NearestOpenEdge({x, 40}, expected.Nodes, expected.Bodies, EditPixelsX, EditPixelsZ, edge);
            ASSERT_TRUE(InsertNodeOnEdge(edge.a, edge.b, edge.body, EditPixelsX, EditPixelsZ, expected.Nodes,
                                         expected.Bodies, {x, 40}));
        }
        const int a = expected.Nodes.High() - 1, b = expected.Nodes.High();
        ASSERT_TRUE(AddSubPolygonInFrame(a, b, 0, !yes, expected.Nodes, expected.Bodies,
                                         PointList({{0, 40}, {50, 42}, {100, 40}}), expected.ModelBox, v.C().NewPolygonProperties));

        TPromptScript script;
        script.Expect(TPromptKind::MessageBox, [&](TPrompt& p) {
            EXPECT_EQ(p.Text, "Correct polygon?");
            EXPECT_EQ(p.DlgType, mtConfirmation);
            EXPECT_EQ(p.Buttons, (TMsgDlgButtons{mbYes, mbNo}));
            // The first side shows hatched in white while the question is asked.
            const TLumPolygon& shown = *v.C().ShapeSeries().Shapes().GetPolygon(0);
            EXPECT_EQ(shown.Brush().Color(), clWhite);
            EXPECT_EQ(shown.Brush().StyleNumber(), 5);
            p.Result = yes ? mrYes : mrNo;
        });
        v.Left(complexM{0, 40});
        v.Left(complexM{50, 42});
        v.Right(complexM{100, 40});
        EXPECT_TRUE(script.Failures().empty());
        EXPECT_EQ(script.Pending(), 0u);
        EXPECT_EQ(v.Changes, 1);
        ExpectSameModel(v.M(), expected, "the core's layer");
        // The layer keeps the default look, not the preview's.
        EXPECT_EQ(v.M().Bodies[0][1].properties[psBrushText], v.C().NewPolygonProperties[psBrushText]);
        for (const std::string& f : v.Faults) ADD_FAILURE() << f;
    }
}

// ---- The body dialog ---------------------------------------------------------------------------------------

TEST(PolygonChartEdit, TheBodyDialogTakesOneSnapshotWhateverItChanged)
{
    struct TCase {
        const char* Name;
        int Mode;
        std::vector<TStep> Before; // what goes on when the double-click comes
        bool Change;
    };
    const TCase cases[] = {
        {"a changed resistivity", emAddPolygon, {Mv(30, 20)}, true},
        {"nothing changed", emAddPolygon, {Mv(30, 20)}, false},
        {"during a drag", emMoveNode, {Mv(20, 10), L(20, 10), Mv(25, 15), Mv(30, 20)}, true},
        {"on the highlighted shape", emDeleteSubPolygon, {Mv(30, 20)}, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TEditView v;
        Build(v, B);
        v.Mode(c.Mode);
        const TPolygonModel before = v.M();
        const std::string pen = before.Bodies[1][0].properties[psPenText].AsString();
        int calls = 0;
        v.C().ShowBodyDialog = [&](int shape, int body, int sub) {
            ++calls;
            EXPECT_EQ(body, 1);
            EXPECT_EQ(sub, 0);
            EXPECT_FALSE(v.C().EditPending) << "the edit in progress has ended";
            ExpectSameModel(v.M(), before, "the dialog sees the model before the drag");
            // The dialog stores the shape's look as it applies.
            v.C().StoreShapeStyle(body, sub, shape);
            if (c.Change) v.M().Bodies[body][sub].properties[psResistivity] = Variant(250.0);
        };
        for (const TStep& s : c.Before) s.Kind == 'm' ? v.Move({s.X, s.Z}) : v.Left({s.X, s.Z});
        const QPoint at = v.At({30, 20});
        QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(at), v.C().Widget()->mapToGlobal(QPointF(at)),
                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(v.C().Widget(), &dbl);
        Application->ProcessMessages();
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(v.C().UndoStack().SnapshotCount(), 2);
        EXPECT_EQ(v.Changes, 1);
        EXPECT_EQ(v.M().Bodies[1][0].properties[psPenText].AsString(), pen) << "no red pen stored";
        EXPECT_EQ(v.M().Bodies[1][0].properties[psResistivity].AsDouble(), c.Change ? 250.0 : 10.0);
        v.Esc();
        ExpectSameModel(v.M(), before, "one Esc");
        for (const std::string& f : v.Faults) ADD_FAILURE() << f;
    }

    // Without the dialog a double-click changes nothing.
    TEditView v;
    Build(v, B);
    v.Move(complexM{30, 20});
    v.C().EditBodyAt();
    EXPECT_EQ(v.C().UndoStack().SnapshotCount(), 1);
}

// ---- What the modes share -----------------------------------------------------------------------------------

TEST(PolygonChartEdit, PointsBetweenTheReliefAndTheBoxTopAreTaken)
{
    // The relief falls from depth 0 at x 0 to depth 20 at x 100: above it at x 80 lies the box, not the
    // ground.
    arofcomplexM relief;
    for (int k = 0; k <= 10; ++k) relief.push_back({10.0 * k, 100.0 - 2.0 * k});
    TEditView v(relief);
    v.Start();
    v.Mode(emAddPolygon);
    for (complexM p : {complexM{75, 5}, complexM{85, 5}}) v.Left(p);
    v.Right(complexM{80, 10});
    EXPECT_EQ(v.Changes, 1);
    EXPECT_EQ(v.M().Bodies.Length(), 2);
    for (const std::string& f : v.Faults) ADD_FAILURE() << f;
}

TEST(PolygonChartEdit, OnlyTheHighlightedShapeGetsItsPenBack)
{
    TEditView v;
    Build(v, B);
    // The quarters' first shape has a red pen of the user's own.
    TChartPen red;
    red.SetColor(clRed);
    v.M().Bodies[2][0].properties[psPenText] = Variant(WritePenStyle(red));
    v.C().RebuildShapes();
    v.C().SaveWorkingCopy();
    v.Mode(emDeleteSubPolygon);
    v.Move(complexM{30, 20});
    const TLumPolygon& square = *v.C().ShapeSeries().Shapes().GetPolygon(v.C().ShapeOfSubPolygon(1, 0));
    EXPECT_EQ(square.Pen().Color(), clRed);
    v.Move(complexM{50, 45});
    EXPECT_NE(square.Pen().Color(), clRed);
    const TLumPolygon& quarter = *v.C().ShapeSeries().Shapes().GetPolygon(v.C().ShapeOfSubPolygon(2, 0));
    EXPECT_EQ(quarter.Pen().Color(), clRed) << "the user's red pen stays";
}

TEST(PolygonChartEdit, TheScalesFollowAZoomAndItsUndo)
{
    TEditView v;
    Build(v, B);
    v.C().SetZoomAllowed(true);
    // A zoom rectangle over (25, 10) .. (75, 40): half the width and the height.
    QWidget* w = v.C().Widget();
    const QPoint from = v.At({25, 10}), to = v.At({75, 40});
    for (auto [type, at] : {std::pair{QEvent::MouseButtonPress, from}, std::pair{QEvent::MouseMove, to},
                            std::pair{QEvent::MouseButtonRelease, to}}) {
        QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
        Application->ProcessMessages();
    }
    EXPECT_NEAR(v.C().PixelsPerX, 2 * EditPixelsX, 0.01);
    EXPECT_NEAR(v.C().PixelsPerZ, 10.0, 0.01);
    v.C().UndoZoom();
    EXPECT_DOUBLE_EQ(v.C().PixelsPerX, EditPixelsX);
    EXPECT_DOUBLE_EQ(v.C().PixelsPerZ, EditPixelsZ);
}
