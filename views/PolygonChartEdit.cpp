// The model view's thirteen edit modes: the mouse handlers, the modes' state machine over the core's pick
// and model operations, the work lines and the red highlight, the end of an edit (completed, cancelled or
// refused), undo, and the body dialog on a double-click.
#include "views/PolygonChart.h"

#include "chart/control/LumEngineStyleStrings.h"
#include "chart/series/LumMapSeries.h"
#include "chart/series/Series.h"
#include "platform/controls/Prompter.h"

#include <algorithm>

// ---- Box tests ------------------------------------------------------------------------------------------

bool StrictlyInsideBox(const TModelBox& box, complexM p)
{
    return box.XMin < p.x && p.x < box.XMax && box.ZMin < p.z && p.z < box.ZMax;
}

complexM ClampIntoBox(const TModelBox& box, complexM p)
{
    return {std::clamp(p.x, std::min(box.XMin, box.XMax), std::max(box.XMin, box.XMax)),
            std::clamp(p.z, std::min(box.ZMin, box.ZMax), std::max(box.ZMin, box.ZMax))};
}

bool FreeNodesInsideBox(const arofintM& list, const Tnodes& nodes, const TModelBox& box)
{
    for (int v : list)
        if (nodes[v].FrameCode == fcFree && !StrictlyInsideBox(box, NodePoint(nodes, v))) return false;
    return true;
}

namespace {

void AddPoint(TLineSeries& line, complexM p) { line.InsertPoint(p.x, p.z); }

void SetPoint(TLineSeries& line, int index, complexM p)
{
    if (index >= line.PointCount()) return;
    line.ChangeXValueAt(index, p.x);
    line.ChangeYValueAt(index, p.z);
}

// The point sits on an end node of the edge a pick found.
bool OnEndNode(const EdgePick& edge, int node) { return edge.a >= 0 && edge.onEndNode && node >= 0; }

} // namespace

// ---- Mouse ------------------------------------------------------------------------------------------------

void TPolygonChart::ChartMouseMove(TPersistent*, TShiftState, int X, int Y)
{
    if (!FModelPresent) return;
    MouseX = X;
    MouseY = Y;
    CursorX = FShapeSeries->HorizPixelToValue(X);
    CursorZ = FShapeSeries->VertPixelToValue(Y);
    // After the cursor fields, so that the status shows where the mouse is, not where it was.
    if (StatusCallback) StatusCallback(this);
    if (!ZoomAllowed()) HandleEditMouse(EditMode, true, CursorX, CursorZ, false);
}

void TPolygonChart::HoverAtCursor()
{
    if (!FModelPresent || ZoomAllowed()) return;
    // Only while the mouse still rests where the chart saw it last: a key pressed with the mouse over
    // another control must mark nothing here.
    const TPoint last = ClientToScreen({MouseX, MouseY});
    const TPoint now = LastMousePos();
    if (last.x != now.x || last.y != now.y) return;
    HandleEditMouse(EditMode, true, CursorX, CursorZ, false);
}

void TPolygonChart::ChartMouseDown(TPersistent*, TMouseButton Button, TShiftState, int, int)
{
    if (!FModelPresent || ZoomAllowed()) return;
    if (Button != mbLeft && Button != mbRight) return;
    const bool completed = HandleEditMouse(EditMode, false, CursorX, CursorZ, Button == mbRight);
    if (Button == mbRight && completed) {
        SaveWorkingCopy();
        PushUndo();
        CancelPendingEdit();
        DoChangeModel();
        if (OnEditMessage) OnEditMessage(this, std::string());
    } else if (!FEditRefusal.empty() && OnEditMessage) {
        OnEditMessage(this, FEditRefusal);
    }
}

bool TPolygonChart::HandleEditMouse(int mode, bool moving, double x, double z, bool right)
{
    if (!FModelPresent) return false;
    if (!moving) FEditRefusal.clear();
    const complexM p{x, z};
    bool result = false;
    switch (mode) {
    case emAddPolygon: result = EditAddPolygon(moving, p, right); break;
    case emAddSubPolygon: result = EditAddSubPolygon(moving, p, right); break;
    case emDividePolygon: result = EditDividePolygon(moving, p, right); break;
    case emUncoupleNodes:
    case emDeleteNode:
    case emFixNode: result = EditHoveredNode(mode, moving, p, right); break;
    case emMoveNode: result = EditMoveNode(moving, p, right); break;
    case emCoupleNodes: result = EditCoupleNodes(moving, p, right); break;
    case emAddNode: result = EditAddNode(moving, p, right); break;
    case emDeleteSubPolygon:
    case emUncoupleSubPolygon: result = EditSubPolygon(mode, moving, p, right); break;
    case emMovePolygon:
    case emMoveSubPolygon: result = EditMoveNodes(mode, moving, p, right); break;
    default: return false;
    }
    // A press may change what the node marks show (a fixed node, a node added).
    if (!moving) Invalidate();
    return result;
}

// ---- Modes 0 to 2: polygons drawn point by point ------------------------------------------------------

bool TPolygonChart::EditAddPolygon(bool moving, complexM p, bool right)
{
    if (moving) {
        if (FWorkLine2->PointCount() >= 2) SetPoint(*FWorkLine2, 1, p);
        return false;
    }
    if (!StrictlyInsideBox(Model.ModelBox, p)) {
        FEditRefusal = RefusedPointOutsideBox;
        return false;
    }
    // The second press of a double click lands where the first did: a point twice would make an edge of
    // no length.
    if (!PickedPoints.empty() && PickedPoints.back() == p) return false;
    bool result = !right; // a left press reports true, which the caller ignores
    PickedPoints.push_back(p);
    if (!CheckNewPolygon(PickedPoints, Model.Bodies, Model.Nodes, false)) {
        // Refused: also a right press closes nothing then.
        PickedPoints.Delete(PickedPoints.High());
        FEditRefusal = RefusedPointCrosses;
        result = false;
    } else {
        EditPending = true;
        AddPoint(*FWorkLine1, p);
        if (PickedPoints.Length() == 1)
            for (int k = 0; k < 3; ++k) AddPoint(*FWorkLine2, p);
        if (right) {
            if (CheckNewPolygon(PickedPoints, Model.Bodies, Model.Nodes, true)) {
                result = ApplyAddPolygon(PickedPoints);
                if (!result) FEditRefusal = RefusedClosingCrosses;
            } else {
                PickedPoints.Delete(PickedPoints.High());
                FWorkLine1->DeletePoint(FWorkLine1->PointCount() - 1);
                FEditRefusal = RefusedClosingCrosses;
                result = false;
            }
        }
    }
    if (!PickedPoints.empty()) {
        SetPoint(*FWorkLine2, 0, PickedPoints[0]);
        SetPoint(*FWorkLine2, 2, PickedPoints.back());
    }
    return result;
}

int TPolygonChart::PickNodeOnEdge(complexM p, bool openEdges, double radius, int body, int& pickedBody)
{
    EdgePick edge;
    const int node = openEdges ? NearestOpenEdge(p, Model.Nodes, Model.Bodies, PixelsPerX, PixelsPerZ, edge)
                               : NearestEdge(p, Model.Nodes, Model.Bodies, PixelsPerX, PixelsPerZ, edge);
    if (edge.a < 0 || (body >= 0 && edge.body != body)) return -1;
    pickedBody = edge.body;
    if (OnEndNode(edge, node)) return node;
    if (!PickedWithin(edge.pixelDistance, radius)) return -1;
    if (!InsertNodeOnEdge(edge.a, edge.b, edge.body, PixelsPerX, PixelsPerZ, Model.Nodes, Model.Bodies, p)) return -1;
    RefreshBodyShapes(edge.body);
    return Model.Nodes.High();
}

bool TPolygonChart::EditAddSubPolygon(bool moving, complexM p, bool right)
{
    if (moving) {
        if (FWorkLine2->PointCount() >= 2) SetPoint(*FWorkLine2, 1, p);
        return false;
    }
    bool result = false;
    if (PickA == -1) {
        // The start: a node of an open edge, or a node put on one.
        int body = -1;
        const int node = PickNodeOnEdge(p, true, FirstPickPixels, -1, body);
        if (node == -1) return false;
        EditPending = true;
        PickBody = body;
        PickA = node;
        PickedPoints.clear();
        PickedPoints.push_back(NodePoint(Model.Nodes, node));
        AddPoint(*FWorkLine1, PickedPoints[0]);
    } else if (!right) {
        // A point of the line between; one outside the box would put a node beyond the frame.
        if (!StrictlyInsideBox(Model.ModelBox, p)) {
            FEditRefusal = RefusedPointOutsideBox;
            return false;
        }
        if (PickedPoints.back() == p) return false;
        PickedPoints.push_back(p);
        if (CheckNewPolygon(PickedPoints, Model.Bodies, Model.Nodes, false)) {
            AddPoint(*FWorkLine1, p);
        } else {
            PickedPoints.Delete(PickedPoints.High());
            FEditRefusal = RefusedPointCrosses;
        }
    } else {
        // The end on the same body's outline; the line to it must cross nothing.
        int body = -1;
        const int node = PickNodeOnEdge(p, true, SecondPickPixels, PickBody, body);
        if (node == -1) {
            FEditRefusal = RefusedLineEnd;
            return false;
        }
        PickB = node;
        PickedPoints.push_back(NodePoint(Model.Nodes, node));
        result = CheckNewPolygon(PickedPoints, Model.Bodies, Model.Nodes, false) &&
                 ApplyAddSubPolygon(PickA, PickB, PickedPoints, PickBody);
        if (!result) {
            AbandonEdit();
            FEditRefusal = RefusedSubPolygon;
            return false;
        }
        AddPoint(*FWorkLine1, PickedPoints.back());
    }
    if (PickedPoints.Length() == 1 && FWorkLine2->PointCount() == 0) {
        AddPoint(*FWorkLine2, PickedPoints[0]);
        AddPoint(*FWorkLine2, PickedPoints[0]);
    } else if (PickedPoints.Length() > 1) {
        SetPoint(*FWorkLine2, 0, PickedPoints.back());
    }
    return result;
}

bool TPolygonChart::EditDividePolygon(bool moving, complexM p, bool right)
{
    if (moving) {
        if (PickA != -1) SetPoint(*FWorkLine2, 1, p);
        EdgePick edge;
        const int node = NearestEdge(p, Model.Nodes, Model.Bodies, PixelsPerX, PixelsPerZ, edge);
        if (OnEndNode(edge, node))
            MarkNode(node, p);
        else if (edge.a >= 0 && PickedWithin(edge.pixelDistance, SecondPickPixels))
            MarkEdge(edge.a, edge.b);
        else
            FWorkLine1->ClearPoints();
        return false;
    }
    if (PickA == -1) {
        int body = -1;
        const int node = PickNodeOnEdge(p, false, SecondPickPixels, -1, body);
        if (node == -1) return false;
        EditPending = true;
        PickBody = body;
        PickA = node;
        const complexM q = NodePoint(Model.Nodes, node);
        AddPoint(*FWorkLine1, q);
        AddPoint(*FWorkLine2, q);
        AddPoint(*FWorkLine2, q);
        return false;
    }
    if (!right) return false;
    int body = -1;
    const int node = PickNodeOnEdge(p, false, SecondPickPixels, PickBody, body);
    bool result = false;
    if (node != -1) {
        PickB = node;
        result = ApplyDividePolygon(PickA, PickB, PickBody);
    }
    if (!result) {
        AbandonEdit();
        FEditRefusal = RefusedDivide;
    }
    return result;
}

// ---- Modes 3, 4 and 12: the node under the cursor -------------------------------------------------------

bool TPolygonChart::EditHoveredNode(int mode, bool moving, complexM p, bool right)
{
    if (moving) {
        const NodePick near = NearestNode(p, Model.Nodes, PixelsPerX, PixelsPerZ);
        const bool taken = near.node >= 0 && HoveredNode(near.pixelDistance) &&
                           (mode != emFixNode || Model.Nodes[near.node].FrameCode == fcFree);
        if (taken) {
            EditPending = true;
            PickA = near.node;
            MarkNode(PickA, p);
        } else {
            EditPending = false;
            PickA = -1;
            FWorkLine1->ClearPoints();
        }
        return false;
    }
    if (!right || PickA == -1) return false;
    if (mode == emFixNode) {
        TNode& node = Model.Nodes[PickA];
        node.FixedFlag = node.FixedFlag ? 0 : 1;
        return true;
    }
    int body = -1;
    if (!FindBodyOfNode(PickA, body, Model.Bodies)) return false;
    const bool done = mode == emUncoupleNodes ? ApplyUncoupleNode(PickA, body) : ApplyDeleteNode(PickA, body);
    if (!done) FEditRefusal = mode == emUncoupleNodes ? RefusedUncoupleNode : RefusedDeleteNode;
    return done;
}

// ---- Mode 5: a node dragged and placed ------------------------------------------------------------------

bool TPolygonChart::EditMoveNode(bool moving, complexM p, bool right)
{
    if (moving) {
        if (!EditPending) {
            const NodePick near = NearestNode(p, Model.Nodes, PixelsPerX, PixelsPerZ);
            if (near.node >= 0 && HoveredNode(near.pixelDistance)) {
                PickA = near.node;
                MarkNode(PickA, p);
            } else {
                PickA = -1;
                FWorkLine1->ClearPoints();
            }
        } else {
            FWorkLine1->ClearPoints();
        }
        if (PickA == -1) return false;
        complexM q = p;
        if (FrameDrag)
            ConstrainFrameNodeMove(PickA, Model.Relief, Model.HasRelief, Model.Nodes, Model.Bodies, q.z, q.x,
                                   Model.ModelBox);
        if (EditPending) {
            Model.Nodes[PickA].x = q.x;
            Model.Nodes[PickA].z = q.z;
            RefreshAffectedShapes();
            if (Model.Nodes[PickA].FrameCode != fcFree) FillSurfaceMask();
        }
        return false;
    }
    if (PickA == -1) return false;
    if (!right) {
        if (EditPending) return false;
        const TNode& node = Model.Nodes[PickA];
        if (node.FixedFlag) {
            FEditRefusal = RefusedFixedNode;
            return false;
        }
        FrameDrag = false;
        if (node.FrameCode != fcFree) {
            // Frame nodes slide along their side; the bottom corners and the frame's own nodes stay.
            double x = p.x, z = p.z;
            if (!ConstrainFrameNodeMove(PickA, Model.Relief, Model.HasRelief, Model.Nodes, Model.Bodies, z, x,
                                        Model.ModelBox)) {
                FEditRefusal = RefusedFrameCorner;
                return false;
            }
            FrameDrag = true;
        }
        int body = -1;
        if (!FindBodyOfNode(PickA, body, Model.Bodies)) return false;
        EditPending = true;
        PickBody = body;
        CollectAffectedShapes(arofintM{PickA}, body);
        return true;
    }
    if (!EditPending) return false;
    const bool surface = Model.Nodes[PickA].FrameCode == fcSurface;
    if (surface) AdjustSurfaceNode(PickA, Model.HasRelief, Model.Bodies, Model.Nodes);
    // A refused place leaves the edit pending: the node follows the mouse again to another place.
    const bool done = ApplyMoveNodes(arofintM{PickA}, PickBody, false);
    if (done && surface) {
        // The layers that follow the surface changed their rings.
        RebuildShapes();
    } else {
        RefreshAffectedShapes();
        if (Model.Nodes[PickA].FrameCode != fcFree) FillSurfaceMask();
    }
    return done;
}

// ---- Mode 6: a node merged into another -----------------------------------------------------------------

bool TPolygonChart::EditCoupleNodes(bool moving, complexM p, bool right)
{
    if (moving) {
        if (PickA != -1) {
            EdgePick edge;
            const int node = NearestEdge(p, Model.Nodes, Model.Bodies, PixelsPerX, PixelsPerZ, edge);
            if (OnEndNode(edge, node))
                MarkNode(node, p);
            else if (edge.a >= 0 && PickedWithin(edge.pixelDistance, HoverNodePixels))
                MarkEdge(edge.a, edge.b);
            else
                FWorkLine1->ClearPoints();
            SetPoint(*FWorkLine2, 1, p);
        } else {
            const NodePick near = NearestNode(p, Model.Nodes, PixelsPerX, PixelsPerZ);
            if (near.node >= 0 && PickedWithin(near.pixelDistance, HoverNodePixels))
                MarkNode(near.node, p);
            else
                FWorkLine1->ClearPoints();
        }
        return false;
    }
    const NodePick near = NearestNode(p, Model.Nodes, PixelsPerX, PixelsPerZ);
    if (PickA == -1) {
        if (near.node < 0 || !PickedWithin(near.pixelDistance, FirstPickPixels)) return false;
        const TNode& node = Model.Nodes[near.node];
        if (node.FixedFlag || node.FrameCode != fcFree) {
            FEditRefusal = RefusedCoupleFirst;
            return false;
        }
        EditPending = true;
        PickA = near.node;
        const complexM q = NodePoint(Model.Nodes, PickA);
        AddPoint(*FWorkLine2, q);
        AddPoint(*FWorkLine1, q);
        AddPoint(*FWorkLine2, q);
        return false;
    }
    if (!right) return false;
    PickB = near.node >= 0 && PickedWithin(near.pixelDistance, SecondPickPixels) ? near.node : -1;
    const bool done = ApplyCoupleNodes(PickA, PickB, p.x, p.z);
    if (!done) {
        AbandonEdit();
        FEditRefusal = RefusedCouple;
    }
    return done;
}

// ---- Mode 7: a node put on an edge ----------------------------------------------------------------------

bool TPolygonChart::EditAddNode(bool moving, complexM p, bool right)
{
    EdgePick edge;
    if (moving) {
        EditPending = true;
        NearestEdge(p, Model.Nodes, Model.Bodies, PixelsPerX, PixelsPerZ, edge);
        if (edge.a >= 0 && !edge.onEndNode && PickedWithin(edge.pixelDistance, AddNodeEdgePixels)) {
            MarkEdge(edge.a, edge.b);
            PickA = edge.a;
            PickB = edge.b;
            PickBody = edge.body;
        } else {
            FWorkLine1->ClearPoints();
            PickA = -1;
            PickB = -1;
        }
        return false;
    }
    if (!right || PickA == -1) return false;
    NearestEdge(p, Model.Nodes, Model.Bodies, PixelsPerX, PixelsPerZ, edge);
    if (edge.a < 0) return false;
    PickA = edge.a;
    PickB = edge.b;
    PickBody = edge.body;
    if (!ApplyAddNode(PickA, PickB, p, PickBody)) {
        FEditRefusal = RefusedAddNode;
        return false;
    }
    const int last = Model.Nodes.High();
    Model.Nodes[last].FrameCode = FrameSideCode(last, Model.Bodies, Model.Nodes, Model.ModelBox);
    return true;
}

// ---- Modes 8 to 11: the sub-polygon under the cursor ----------------------------------------------------

bool TPolygonChart::EditSubPolygon(int mode, bool moving, complexM p, bool right)
{
    if (moving) {
        HighlightSubPolygonAt(p);
        return false;
    }
    if (!right || PickBody == -1) return false;
    return mode == emDeleteSubPolygon ? ApplyDeleteSubPolygon(PickSub, PickBody)
                                      : ApplyUncoupleSubPolygon(PickSub, PickBody);
}

bool TPolygonChart::EditMoveNodes(int mode, bool moving, complexM p, bool right)
{
    if (moving) {
        if (!EditPending) {
            HighlightSubPolygonAt(p);
            return false;
        }
        const double dx = p.x - DragAnchorX, dz = p.z - DragAnchorZ;
        for (int v : MovedNodes) {
            Model.Nodes[v].x += dx;
            Model.Nodes[v].z += dz;
        }
        RefreshAffectedShapes();
        DragAnchorX = p.x;
        DragAnchorZ = p.z;
        return false;
    }
    if (PickBody == -1) return false;
    if (!right) {
        EditPending = true;
        bool free = false;
        if (mode == emMovePolygon)
            CollectBodyNodes(true, PickBody, Model.Bodies, MovedNodes, free, Model.Nodes);
        else
            CollectSubPolygonNodes(true, PickBody, PickSub, MovedNodes, free, Model.Nodes, Model.Bodies);
        MoveAllowed = free;
        CollectAffectedShapes(MovedNodes, PickBody);
        DragAnchorX = p.x;
        DragAnchorZ = p.z;
        return true;
    }
    if (!EditPending) return false;
    const bool done = ApplyMoveNodes(MovedNodes, PickBody, mode == emMovePolygon && MoveAllowed);
    if (!done) {
        RefreshAffectedShapes();
        // The polygon went back where it was: the move has ended.
        FEditRefusal = FEditRefusal == RefusedNodeOutsideBox ? RefusedPolygonOutsideBox : RefusedPolygonCrosses;
    }
    EditPending = false;
    return done;
}

// ---- Marks, highlight, shapes -----------------------------------------------------------------------------

void TPolygonChart::MarkNode(int node, complexM cursor)
{
    FWorkLine1->ClearPoints();
    AddPoint(*FWorkLine1, NodePoint(Model.Nodes, node));
    AddPoint(*FWorkLine1, cursor);
}

void TPolygonChart::MarkEdge(int a, int b)
{
    FWorkLine1->ClearPoints();
    AddPoint(*FWorkLine1, NodePoint(Model.Nodes, a));
    AddPoint(*FWorkLine1, NodePoint(Model.Nodes, b));
}

void TPolygonChart::ClearWorkLines()
{
    FWorkLine1->ClearPoints();
    FWorkLine2->ClearPoints();
}

void TPolygonChart::HighlightSubPolygonAt(complexM p)
{
    const SubPolygonPick at = FindSubPolygonAt(Model.Bodies, p, Model.Nodes);
    PickBody = at.body;
    PickSub = at.sub;
    const int position = at.body >= 0 ? ShapeOfSubPolygon(at.body, at.sub) : -1;
    TLumPolygon* shape = position >= 0 ? FShapeSeries->Shapes().GetPolygon(position) : nullptr;
    if (shape && shape->ID() == HighlightShape) return;
    RestoreHighlight();
    if (!shape) return;
    HighlightPen = shape->Pen().Color();
    HighlightShape = shape->ID();
    shape->Pen().SetColor(clRed);
    Invalidate();
}

void TPolygonChart::RestoreHighlight()
{
    if (HighlightShape == -1) return;
    // Found by its identifier: the shapes may have moved since, and a shape of the user's own red pen
    // elsewhere keeps it.
    if (auto* shape = dynamic_cast<TLumPolygon*>(FShapeSeries->Shapes().FindItemID(HighlightShape)))
        if (shape->Pen().Color() == clRed) shape->Pen().SetColor(HighlightPen);
    HighlightShape = -1;
    Invalidate();
}

void TPolygonChart::RefreshBodyShapes(int body)
{
    arofintM ids, bodies, subs, positions;
    ListBodyShapes(body, Model.Bodies, ids, bodies, subs);
    ResolveShapeIds(ids, bodies, subs, positions);
    RefreshShapes(bodies, subs, positions);
}

void TPolygonChart::CollectAffectedShapes(const arofintM& nodes, int body)
{
    arofintM ids;
    CollectShapesOfNodes(nodes, body, Model.Bodies, ids, AffectedBodies, AffectedSubs);
    ResolveShapeIds(ids, AffectedBodies, AffectedSubs, AffectedShapes);
    MoveShapesToStart(AffectedShapes);
}

void TPolygonChart::RefreshAffectedShapes() { RefreshShapes(AffectedBodies, AffectedSubs, AffectedShapes); }

// ---- End of an edit ---------------------------------------------------------------------------------------

void TPolygonChart::CancelPendingEdit()
{
    EditPending = false;
    ClearWorkLines();
    PickedPoints.clear();
    PickA = -1;
    PickB = -1;
    PickBody = -1;
    PickSub = -1;
    AffectedShapes.clear();
    AffectedBodies.clear();
    AffectedSubs.clear();
    MovedNodes.clear();
    FrameDrag = false;
    RestoreHighlight();
}

void TPolygonChart::EndPendingEdit()
{
    if (EditPending) {
        RestoreWorkingCopy();
        RebuildShapes();
    }
    CancelPendingEdit();
}

void TPolygonChart::ResetPendingEdit(int)
{
    UpdatePixelScales();
    EndPendingEdit();
    SaveWorkingCopy();
}

void TPolygonChart::AbandonEdit()
{
    RestoreWorkingCopy();
    RebuildShapes();
    CancelPendingEdit();
    // The shapes' new identifiers: a later restore must find them.
    SaveWorkingCopy();
}

bool TPolygonChart::UndoEdit()
{
    if (!EditPending) return PopUndo();
    AbandonEdit();
    return false;
}

void TPolygonChart::EditBodyAt()
{
    if (!ShowBodyDialog || !FModelPresent) return;
    // A body of the model as it is without the edit in progress, which ends first (and the highlight
    // goes), so that the dialog sees the model and the pens as they are. A double-click beside every body
    // leaves the edit alone.
    const bool pending = EditPending && !WorkingNodes.empty();
    if (FindSubPolygonAt(pending ? WorkingBodies : Model.Bodies, {CursorX, CursorZ}, pending ? WorkingNodes : Model.Nodes)
            .body < 0)
        return;
    ResetPendingEdit(EditMode);
    const SubPolygonPick at = FindSubPolygonAt(Model.Bodies, {CursorX, CursorZ}, Model.Nodes);
    if (at.body < 0) return;
    ShowBodyDialog(ShapeOfSubPolygon(at.body, at.sub), at.body, at.sub);
    PushUndo();
    DoChangeModel();
    EditPending = false;
    SaveWorkingCopy();
    ResetPendingEdit(EditMode);
    // The double click that called this goes no further.
    SetCancelMouse(true);
}

// ---- The model operations ---------------------------------------------------------------------------------

bool TPolygonChart::ApplyAddPolygon(const arofcomplexM& points)
{
    if (!AddPolygon(points, Model.Bodies, Model.Nodes, NewPolygonProperties)) return false;
    AddShape(Model.Bodies.High(), Model.Bodies.back().High());
    return true;
}

bool TPolygonChart::ApplyAddSubPolygon(int a, int b, const arofcomplexM& points, int body)
{
    bool result = false;
    if (body == 0) {
        // On the host the ring can close on either side of the line: the first one is shown and offered.
        const AllSpolygon bodies = Model.Bodies;
        const Tnodes nodes = Model.Nodes;
        if (AddSubPolygonInFrame(a, b, 0, false, Model.Nodes, Model.Bodies, points, Model.ModelBox, NewPolygonProperties)) {
            Polygon& added = Model.Bodies[0].back();
            const Variant brushText = added.properties[psBrushText];
            TChartBrush preview;
            preview.SetColor(clWhite);
            preview.SetStyleNumber(5);
            added.properties[psBrushText] = Variant(WriteBrushStyle(preview));
            RebuildShapes();
            Model.Bodies[0].back().properties[psBrushText] = brushText;
            result = MessageDlg("Correct polygon?", mtConfirmation, {mbYes, mbNo}) != mrNo;
            RebuildShapes();
        }
        if (!result) {
            Model.Bodies = bodies;
            Model.Nodes = nodes;
            result = AddSubPolygonInFrame(a, b, 0, true, Model.Nodes, Model.Bodies, points, Model.ModelBox, NewPolygonProperties);
        }
    } else {
        result = AddSubPolygon(a, b, body, false, Model.Nodes, Model.Bodies, points, NewPolygonProperties);
    }
    if (!result) RestoreWorkingCopy();
    RebuildShapes();
    return result;
}

bool TPolygonChart::ApplyDividePolygon(int a, int b, int body)
{
    int shapeId = -1;
    if (!DividePolygon(a, b, body, shapeId, Model.Nodes, Model.Bodies)) {
        RestoreWorkingCopy();
        return false;
    }
    if (TCollectionItem* old = FShapeSeries->Shapes().FindItemID(shapeId))
        FShapeSeries->DeletePoint(old->Index());
    for (int v : {a, b}) Model.Nodes[v].FrameCode = FrameSideCode(v, Model.Bodies, Model.Nodes, Model.ModelBox);
    RebuildShapes();
    return true;
}

bool TPolygonChart::ApplyUncoupleNode(int node, int body) { return UncoupleNode(node, body, Model.Bodies, Model.Nodes); }

bool TPolygonChart::ApplyDeleteNode(int node, int body)
{
    if (!DeleteNode(node, body, Model.Bodies, Model.Nodes)) {
        RestoreWorkingCopy();
        return false;
    }
    RebuildShapes();
    return true;
}

bool TPolygonChart::ApplyMoveNodes(const arofintM& nodes, int body, bool movable)
{
    // A free node dragged beyond the box would leave its body outside the host.
    const bool inside = FreeNodesInsideBox(nodes, Model.Nodes, Model.ModelBox);
    const bool done =
        inside && CheckMovedNodes(nodes, body, Model.Bodies, movable ? mcOtherBodies : mcFull, Model.Nodes);
    if (!done) {
        FEditRefusal = inside ? RefusedNodeCrosses : RefusedNodeOutsideBox;
        RestoreWorkingCopy();
        RefreshBodyShapes(body);
    }
    return done;
}

bool TPolygonChart::ApplyCoupleNodes(int a, int b, double x, double z)
{
    if (b == -1) {
        // No node at the target: one is put on the edge there, unless the point sits on a node.
        const complexM p = ClampIntoBox(Model.ModelBox, {x, z});
        EdgePick edge;
        const int node = NearestEdge(p, Model.Nodes, Model.Bodies, PixelsPerX, PixelsPerZ, edge);
        if (edge.a < 0 || node >= 0 || edge.onEndNode || !PickedWithin(edge.pixelDistance, CoupleTargetPixels))
            return false;
        if (!InsertNodeOnEdge(edge.a, edge.b, edge.body, PixelsPerX, PixelsPerZ, Model.Nodes, Model.Bodies, p))
            return false;
        b = Model.Nodes.High();
        RefreshBodyShapes(edge.body);
    }
    int bodyA = -1, bodyB = -1;
    if (!FindBodyOfNode(a, bodyA, Model.Bodies) || !FindBodyOfNode(b, bodyB, Model.Bodies)) return false;
    const TNode saved = Model.Nodes[a];
    Model.Nodes[a].x = Model.Nodes[b].x;
    Model.Nodes[a].z = Model.Nodes[b].z;
    if (!CheckMovedNodes(arofintM{a}, bodyA, Model.Bodies, mcFull, Model.Nodes) ||
        !CoupleNodes(a, b, bodyA, bodyB, Model.Bodies, Model.Nodes)) {
        Model.Nodes[a].x = saved.x;
        Model.Nodes[a].z = saved.z;
        return false;
    }
    if (a < b) --b; // a's removal moved the later nodes down
    Model.Nodes[b].FrameCode = FrameSideCode(b, Model.Bodies, Model.Nodes, Model.ModelBox);
    RebuildShapes();
    return true;
}

bool TPolygonChart::ApplyAddNode(int a, int b, complexM point, int body)
{
    if (!InsertNodeOnEdge(a, b, body, PixelsPerX, PixelsPerZ, Model.Nodes, Model.Bodies, point)) return false;
    RefreshBodyShapes(body);
    return true;
}

bool TPolygonChart::ApplyDeleteSubPolygon(int sub, int body)
{
    if (!DeleteSubPolygon(sub, body, Model.Bodies, Model.Nodes)) {
        RestoreWorkingCopy();
        return false;
    }
    RebuildShapes();
    return true;
}

bool TPolygonChart::ApplyUncoupleSubPolygon(int sub, int body)
{
    return UncoupleSubPolygon(sub, body, Model.Bodies, Model.Nodes);
}
