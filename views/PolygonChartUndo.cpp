// The model view's working copy and undo snapshots.
#include "views/PolygonChart.h"

#include <algorithm>

// ---- Snapshots -----------------------------------------------------------------------------------------

namespace {

bool SameNode(const TNode& a, const TNode& b)
{
    return a.x == b.x && a.z == b.z && a.FixedFlag == b.FixedFlag && a.NodeClass == b.NodeClass &&
           a.FrameCode == b.FrameCode;
}

bool SameSubPolygon(const Polygon& a, const Polygon& b)
{
    if (!(a.ring == b.ring)) return false;
    for (int slot = 1; slot < PolygonPropertyCount; ++slot)
        if (!(a.properties[slot] == b.properties[slot])) return false;
    return true;
}

} // namespace

bool SameModel(const AllSpolygon& bodies, const Tnodes& nodes, const TModelBox& box, const TModelSnapshot& snapshot)
{
    if (!(box == snapshot.Box) || nodes.Length() != snapshot.Nodes.Length() ||
        bodies.Length() != snapshot.Bodies.Length())
        return false;
    for (int v = 0; v < nodes.Length(); ++v)
        if (!SameNode(nodes[v], snapshot.Nodes[v])) return false;
    for (int i = 0; i < bodies.Length(); ++i) {
        if (bodies[i].Length() != snapshot.Bodies[i].Length()) return false;
        for (int j = 0; j < bodies[i].Length(); ++j)
            if (!SameSubPolygon(bodies[i][j], snapshot.Bodies[i][j])) return false;
    }
    return true;
}

void TPolygonUndoStack::Clear()
{
    UndoSlots.clear();
    UndoStamps.clear();
    UndoStepPending = false;
}

int TPolygonUndoStack::SnapshotCount() const
{
    return static_cast<int>(std::count_if(UndoStamps.begin(), UndoStamps.end(), [](int s) { return s != -1; }));
}

int TPolygonUndoStack::NewestSlot() const
{
    int newest = -1;
    for (int k = 0; k < static_cast<int>(UndoStamps.size()); ++k)
        if (UndoStamps[k] != -1 && (newest == -1 || UndoStamps[k] > UndoStamps[newest])) newest = k;
    return newest;
}

void TPolygonUndoStack::Push(const AllSpolygon& bodies, const Tnodes& nodes, const TModelBox& box)
{
    const int largest = UndoStamps.empty() ? -1 : *std::max_element(UndoStamps.begin(), UndoStamps.end());
    int slot;
    if (static_cast<int>(UndoSlots.size()) < std::max(1, UndoLimit)) {
        UndoSlots.emplace_back();
        UndoStamps.push_back(-1);
        slot = static_cast<int>(UndoSlots.size()) - 1;
    } else {
        // The oldest slot, a free one (stamp -1) before any other.
        slot = static_cast<int>(std::min_element(UndoStamps.begin(), UndoStamps.end()) - UndoStamps.begin());
    }
    UndoStamps[slot] = largest + 1;
    UndoSlots[slot] = {bodies, nodes, box};
    UndoStepPending = false;
}

bool TPolygonUndoStack::NewestIs(const AllSpolygon& bodies, const Tnodes& nodes, const TModelBox& box) const
{
    const int slot = NewestSlot();
    return slot != -1 && SameModel(bodies, nodes, box, UndoSlots[slot]);
}

void TPolygonUndoStack::Restore(int slot, AllSpolygon& bodies, Tnodes& nodes, TModelBox& box) const
{
    const TModelSnapshot& s = UndoSlots[slot];
    bodies = s.Bodies;
    nodes = s.Nodes;
    box = s.Box;
}

bool TPolygonUndoStack::Pop(AllSpolygon& bodies, Tnodes& nodes, TModelBox& box)
{
    int slot = NewestSlot();
    if (slot == -1) return false;
    // A change that pushed nothing (a box through the axes, resistivities of an inversion) is the step
    // to take back: the model returns to the newest snapshot, which stays.
    if (!SameModel(bodies, nodes, box, UndoSlots[slot])) {
        Restore(slot, bodies, nodes, box);
        return true;
    }
    // The newest snapshot is the model itself: drop it, then put back (and drop) the one before, which
    // becomes the newest again by the push.
    for (;;) {
        slot = NewestSlot();
        Restore(slot, bodies, nodes, box);
        if (SnapshotCount() > 1) UndoStamps[slot] = -1;
        if (UndoStepPending) break;
        UndoStepPending = true;
    }
    Push(bodies, nodes, box);
    return true;
}

// ---- The chart's copies ---------------------------------------------------------------------------------

void TPolygonChart::SaveWorkingCopy()
{
    WorkingBodies = Model.Bodies;
    WorkingNodes = Model.Nodes;
}

void TPolygonChart::RestoreWorkingCopy()
{
    // An empty working copy (none taken since the model came) would wipe the model.
    if (WorkingNodes.empty()) return;
    Model.Bodies = WorkingBodies;
    Model.Nodes = WorkingNodes;
}

void TPolygonChart::PushUndo() { FUndo.Push(Model.Bodies, Model.Nodes, Model.ModelBox); }

bool TPolygonChart::PushUndoIfChanged()
{
    if (!FModelPresent || FUndo.NewestIs(Model.Bodies, Model.Nodes, Model.ModelBox)) return false;
    PushUndo();
    return true;
}

bool TPolygonChart::PopUndo()
{
    const TModelBox before = Model.ModelBox;
    if (!FUndo.Pop(Model.Bodies, Model.Nodes, Model.ModelBox)) return false;
    // Picks of the model undone name nodes and bodies that may be gone.
    CancelPendingEdit();
    // A box given back shows as the box: the frame on the axes' ends, the layers reaching the sides.
    if (!(Model.ModelBox == before)) {
        FixAxesToBox();
        UpdatePixelScales();
    }
    RebuildShapes();
    SaveWorkingCopy();
    return true;
}
