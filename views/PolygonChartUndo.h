// The undo snapshots of the model view: up to UndoLimit copies of the model (bodies, nodes and box) in
// slots stamped with a running number, the newest one being the model after the last completed edit.
// An undo step goes back one completed edit, also after a change that took no snapshot.
#pragma once

#include "core/Polygons.h"

#include <vector>

struct TModelSnapshot {
    AllSpolygon Bodies;
    Tnodes Nodes;
    TModelBox Box;
};

// Whether the model equals the snapshot in what undo restores: the bodies with every property slot but
// slot 0 (the shape identifiers, which each redraw of the shapes renews), the nodes without their work
// fields, and the box.
bool SameModel(const AllSpolygon& bodies, const Tnodes& nodes, const TModelBox& box, const TModelSnapshot& snapshot);

class TPolygonUndoStack {
public:
    // The most slots kept (at least 1 is used).
    int UndoLimit = 25;
    // One snapshot per slot, and per slot its stamp: -1 for a free slot, else a running number; the
    // largest stamp marks the newest snapshot.
    std::vector<TModelSnapshot> UndoSlots;
    std::vector<int> UndoStamps;
    // False after every push; set during a step back.
    bool UndoStepPending = false;

    // No slot.
    void Clear();
    // Records the model as the newest snapshot: in a new slot while fewer than UndoLimit exist, else in
    // the slot of the smallest stamp (a free one first; the first among equals).
    void Push(const AllSpolygon& bodies, const Tnodes& nodes, const TModelBox& box);
    // Steps the model back. When it differs from the newest snapshot (a change that pushed none), that
    // snapshot is put back and stays the newest. Otherwise the newest is dropped and the one before it is
    // put back and pushed again; the last snapshot is never dropped, so with one left every step gives
    // it. False, with nothing changed, when no slot holds a snapshot.
    bool Pop(AllSpolygon& bodies, Tnodes& nodes, TModelBox& box);
    // Whether the model equals the newest snapshot (false when there is none).
    bool NewestIs(const AllSpolygon& bodies, const Tnodes& nodes, const TModelBox& box) const;

    // The number of slots holding a snapshot, and the slot of the newest one (-1 when none).
    int SnapshotCount() const;
    int NewestSlot() const;

private:
    void Restore(int slot, AllSpolygon& bodies, Tnodes& nodes, TModelBox& box) const;
};
