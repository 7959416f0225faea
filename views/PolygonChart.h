// The model view: a chart control that holds the polygon section model (nodes, bodies, box and relief)
// and draws it as labelled shapes, node marks and a white mask above the relief; it keeps a working copy
// and undo snapshots, takes over a model read with a survey and gives its model to the writer and the
// solver; the user edits the model with the mouse in thirteen modes. Qt-free: it draws through its
// canvas. Its topics: PolygonChartModel (frame, box, relief, scales, hand-offs), PolygonChartShapes
// (shapes, labels, mask, node marks), PolygonChartUndo, PolygonChartEdit (the edit modes),
// PolygonChartSettings (its own view settings).
#pragma once

#include "chart/control/Chart.h"
#include "core/Polygons.h"
#include "views/PolygonChartEdit.h"
#include "views/PolygonChartModel.h"
#include "views/PolygonChartSettings.h"
#include "views/PolygonChartShapes.h"
#include "views/PolygonChartUndo.h"

class TAreaSeries;
class TIniFile;
class TLineSeries;
class TLumPolygon;
class TMapSeries;
class TPointSeries;

class TPolygonChart : public TChart {
    VSP_PERSISTENT_CLASS
public:
    // The chart, its six series and their looks, NewPolygonProperties, margins, title and axes, and
    // its handlers: after each paint the node marks, on a resize the pixel scales, after an axis pop-up
    // command the box follows the axes.
    explicit TPolygonChart(TComponent* AOwner);

    // ---- The model ----
    // What the solver, the inversion and the survey writer take as it is.
    TPolygonModel Model;
    // The property row every new sub-polygon copies (the model's owner keeps it, not the core): the look
    // of MakeDefaultPolygonProperties at first, then what the main window's settings file held, and the
    // body dialog's "As default".
    PolygonProperties NewPolygonProperties;
    // A model exists: false until CreateFrameModel or LoadModelBlock, and again after ClearModel.
    bool ModelPresent() const { return FModelPresent; }
    // How far DiscretizeBoundary pushes the frame out for the solver.
    double FrameOffset = 0.0;

    // ---- Settings and view state ----
    int EditMode = -1;        // -1 no edit mode
    bool EditPending = false; // an edit has begun and not ended
    bool EqualScale = false;  // one model unit as long on both axes
    double PixelsPerX = 1.0;  // screen pixels per model unit along x and z
    double PixelsPerZ = 1.0;
    double CursorX = 0.0;     // last mouse position in axis values
    double CursorZ = 0.0;
    int MouseX = 0;           // ... and in pixels
    int MouseY = 0;
    TNotifyEvent StatusCallback;
    TColor ExternalNodeColor = clBlue;  // node marks: class 0 or 1
    TColor FixedNodeColor = clBlack;
    TColor InternalNodeColor = clGreen; // class 2
    TColor BorderNodeColor = clGray;    // frame code 1 or more
    // Fired after each completed model edit (Sender: the chart).
    TNotifyEvent onchangemodel;
    void DoChangeModel();

    // ---- Series ----
    TMapSeries& ShapeSeries() const { return *FShapeSeries; }
    TLineSeries& WorkLine1() const { return *FWorkLine1; }
    TLineSeries& WorkLine2() const { return *FWorkLine2; }
    TAreaSeries& SurfaceMask() const { return *FSurfaceMask; }
    TPointSeries& NodeSeries() const { return *FNodeSeries; }
    TPointSeries& ElectrodeSeries() const { return *FElectrodeSeries; }

    // ---- Frame, box, relief and scales (PolygonChartModel.cpp) ----
    // Relief := ReliefDepths(points).
    void SetRelief(const arofcomplexM& points);
    // A new model of the host frame alone over the relief in the box (xmin, xmax, top, zmax), whatever
    // the model it replaces held; working copy and undo history restart with one snapshot.
    void CreateFrameModel(const arofcomplexM& relief, bool reliefPresent, double xmin, double xmax, double zmin,
                          double zmax);
    // Applies a new box (BoundedModelBox, then ApplyModelBox; zmin is not used): the axes are fixed to the
    // box, the pixel scales follow and the shapes are drawn anew. A change the frame check refuses leaves
    // model and box as they were and puts the axes back on the box.
    void SetModelBox(bool keepFrame, double xmin, double xmax, double zmin, double zmax);
    // The pixels per model unit from a layout of the chart at its size (nothing is drawn on screen and no
    // message is processed). With EqualScale (and no zoom) the left axis' maximum is first set so that a
    // unit is as long on both axes, unless the chart has no room inside its margins (an axis of less
    // than two pixels).
    void UpdatePixelScales();
    // After an axis pop-up command: the box follows the axes, the frame rebuilt.
    void FollowAxes();
    // The plot's left edge at least as far from the chart's left edge as the depth labels (written left
    // of the axis, into the margin) and the flat "z" title left of them need: a deep model's labels are
    // wider than the margin. The margin setting stays as it is.
    void FitChartRectTo3D() override;
    // The room the depth labels and the title need left of the plot in the drawing being made, and the
    // left edge they give the plot.
    int DepthLabelsRoom();

    // ---- Hand-offs (PolygonChartModel.cpp) ----
    // Takes over a model read with a survey: ModelPresent, working copy and undo history emptied, one
    // snapshot. Shapes and axes wait for the caller's SetModelBox (keep frame) on the model's box.
    void LoadModelBlock(const TPolygonModel& model);
    // No model, for a survey opened without one until a new model is made: the model emptied but for its
    // box, ModelPresent false, working copy, undo history, shapes and mask emptied. A survey must never
    // be solved on the model of another.
    void ClearModel();
    // The solver's boundary (core DiscretizeBoundary on this chart's model) into `bodies` and `nodes`,
    // which must be copies of Model.Bodies and Model.Nodes; sets FrameOffset. The model stays as it is.
    void DiscretizeBoundary(bool Exponent, AllSpolygon& bodies, double H, double FactorX, double StartStepX,
                            double FactorZ, double StartStepZ, Tnodes& nodes);

    // ---- Shapes and node marks (PolygonChartShapes.cpp) ----
    // Every shape anew, one per sub-polygon but the host's (whose ShapeIndex becomes -1), each
    // sub-polygon's ShapeIndex its shape's identifier; then the surface mask.
    void RebuildShapes();
    // Appends the shape of one sub-polygon.
    void AddShape(int body, int sub);
    // Copies the sub-polygon's properties onto the shape at `position` (ApplyPropertiesToShape).
    void ApplyShapeStyle(int body, int sub, int position);
    // Copies the look of the shape at `position` back into the sub-polygon's properties.
    void StoreShapeStyle(int body, int sub, int position);
    // The position of the shape whose identifier is the sub-polygon's ShapeIndex; -1 when none.
    int ShapeOfSubPolygon(int body, int sub) const;
    // The positions of the shapes of the identifiers, in list order; an identifier of -1 or of no shape is
    // dropped from all three lists.
    void ResolveShapeIds(arofintM& ids, arofintM& bodies, arofintM& subs, arofintM& positions) const;
    // For every position other than -1: the shape's vertices anew from the ring, its look, and its
    // identifier into the sub-polygon's ShapeIndex.
    void RefreshShapes(const arofintM& bodies, const arofintM& subs, const arofintM& positions);
    // Moves the listed shapes, in list order, to positions 0, 1, 2, ... (each exchanged with its lower
    // neighbour until it is there); `positions` then holds their new positions.
    void MoveShapesToStart(arofintM& positions);
    // After each paint, once a model exists: a 3 x 3 block in the node's colour at every node from index
    // 4 on (the frame corners have none).
    void DrawNodeMarks();
    // The colour of a node's mark: BorderNodeColor for frame code 1 or more, else FixedNodeColor when
    // fixed, else ExternalNodeColor for class 0 or 1 and InternalNodeColor for class 2.
    TColor NodeMarkColor(const TNode& node) const;

    // ---- Own view settings (PolygonChartSettings.cpp) ----
    // Appends the nine fields, each after a blank: the external, fixed, internal and border node colours,
    // the margins left, right, top and bottom, and the shapes' label font as a style text.
    void SettingsToText(std::string& text) const;
    // Applies a settings text; one without nine sound fields (eight integers and a font) changes nothing
    // and gives false.
    bool TextToSettings(const std::string& text);
    // The settings as the construction left them.
    std::string DefaultSettingsText;
    void RestoreDefaultSettings();
    // Section "paramspolychart", key "common"; loading keeps the current settings when the key is absent.
    void SaveSettings(TIniFile& ini) const;
    void LoadSettings(const TIniFile& ini);

    // ---- Working copy and undo (PolygonChartUndo.cpp) ----
    // The model as it was when the current edit began.
    AllSpolygon WorkingBodies;
    Tnodes WorkingNodes;
    void SaveWorkingCopy();
    // Puts the working copy back into the model; nothing while the working copy holds no node.
    void RestoreWorkingCopy();
    // Records the model as the newest snapshot.
    void PushUndo();
    // Records the model when it differs from the newest snapshot: a change made without an edit (an
    // inversion's resistivities, a new box) becomes a step of its own, so that undoing a later edit keeps
    // it. True when it recorded one.
    bool PushUndoIfChanged();
    // Back one completed edit (TPolygonUndoStack::Pop); then the shapes anew, no edit pending and the
    // working copy the model undone to. A box given back is applied to the axes; otherwise they keep
    // their ranges. False when there was nothing to go back to.
    bool PopUndo();
    const TPolygonUndoStack& UndoStack() const { return FUndo; }

    // ---- Editing (PolygonChartEdit.cpp) ----
    // The edit in progress: points picked (modes 0 and 1), the picked nodes (an edge's two in mode 7),
    // the body and sub-polygon picked or under the cursor, the shapes a drag redraws, the nodes modes 10
    // and 11 drag with their last drag position, whether the whole body moves free of fixed and frame
    // nodes (mode 10) and whether a dragged frame node is held to the frame (mode 5).
    arofcomplexM PickedPoints;
    int PickA = -1;
    int PickB = -1;
    int PickBody = -1;
    int PickSub = -1;
    arofintM AffectedShapes, AffectedBodies, AffectedSubs;
    arofintM MovedNodes;
    double DragAnchorX = 0.0;
    double DragAnchorZ = 0.0;
    bool MoveAllowed = false;
    bool FrameDrag = false;
    // The identifier of the shape drawn with a red pen under the cursor (modes 8 to 11), -1 none, and its
    // own pen colour, which it gets back.
    int HighlightShape = -1;
    TColor HighlightPen = clBlack;
    // The "Body parameters" dialog of a sub-polygon (its shape position, body and sub-polygon); without
    // it a double-click changes nothing.
    std::function<void(int shape, int body, int sub)> ShowBodyDialog;

    // The chart's mouse-move handler: once a model exists, the cursor fields follow the mouse, the status
    // callback hears of it, and unless zooming is allowed the edit mode handles the move.
    void ChartMouseMove(TPersistent* Sender, TShiftState Shift, int X, int Y);
    // A mode set while the mouse rests on the chart (a modifier key held down): the mode's move step at
    // the last mouse position, so that a press without a move finds the node or body under the cursor.
    void HoverAtCursor();
    // The chart's mouse-down handler (not while zooming is allowed): the press acts at the last move's
    // position; a right press that completes an edit takes a snapshot and ends the edit.
    void ChartMouseDown(TPersistent* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    // The modes' state machine: a move (moving), or a left or right press, at (x, z). True when a right
    // press completed an edit. A refused press leaves its reason in EditRefusal.
    bool HandleEditMouse(int mode, bool moving, double x, double z, bool right);
    // Why the last press was refused, with what to do (one of the Refused... texts); empty when it was
    // not (a press on nothing refuses nothing).
    const std::string& EditRefusal() const { return FEditRefusal; }
    // After a press on the chart: the refusal's text, or "" when the press completed an edit.
    std::function<void(TPolygonChart* Sender, const std::string& Refusal)> OnEditMessage;
    // After every change of the mode: the pixel scales anew, a pending edit's model put back, picks,
    // work lines and highlight cleared, and the working copy taken.
    void ResetPendingEdit(int mode);
    // Picks, work lines and highlight cleared; the model stays as it is.
    void CancelPendingEdit();
    // UnDo: a pending edit is given up (the model as it began, the snapshots untouched); otherwise back
    // one completed edit. True when the model went back a completed edit.
    bool UndoEdit();
    // The body under the cursor in the body dialog; a pending edit ends first. Then a snapshot, whatever
    // the dialog changed.
    void EditBodyAt();

    // The model operations of the modes: each returns the core operation's success, puts the working
    // copy back where it failed, and renews the shapes it changed.
    bool ApplyAddPolygon(const arofcomplexM& points);
    bool ApplyAddSubPolygon(int a, int b, const arofcomplexM& points, int body);
    bool ApplyDividePolygon(int a, int b, int body);
    bool ApplyUncoupleNode(int node, int body);
    bool ApplyDeleteNode(int node, int body);
    bool ApplyMoveNodes(const arofintM& nodes, int body, bool movable);
    bool ApplyCoupleNodes(int a, int b, double x, double z);
    bool ApplyAddNode(int a, int b, complexM point, int body);
    bool ApplyDeleteSubPolygon(int sub, int body);
    bool ApplyUncoupleSubPolygon(int sub, int body);

private:
    // The modes' moves and presses.
    bool EditAddPolygon(bool moving, complexM p, bool right);
    bool EditAddSubPolygon(bool moving, complexM p, bool right);
    bool EditDividePolygon(bool moving, complexM p, bool right);
    bool EditHoveredNode(int mode, bool moving, complexM p, bool right);
    bool EditMoveNode(bool moving, complexM p, bool right);
    bool EditCoupleNodes(bool moving, complexM p, bool right);
    bool EditAddNode(bool moving, complexM p, bool right);
    bool EditSubPolygon(int mode, bool moving, complexM p, bool right);
    bool EditMoveNodes(int mode, bool moving, complexM p, bool right);
    // A node on an edge at P as the start or end of a pick: the end node the point sits on, else a node
    // inserted on the edge within `radius` pixels (of `body` unless -1); -1 when neither.
    int PickNodeOnEdge(complexM p, bool openEdges, double radius, int body, int& pickedBody);
    // Work-line marks: a node with a line to the cursor, an edge, nothing.
    void MarkNode(int node, complexM cursor);
    void MarkEdge(int a, int b);
    void ClearWorkLines();
    // The sub-polygon under P picked and drawn with a red pen; the shape drawn so before gets its pen back.
    void HighlightSubPolygonAt(complexM p);
    void RestoreHighlight();
    // The shapes of the body drawn anew from their rings.
    void RefreshBodyShapes(int body);
    // The shapes a drag of these nodes of the body redraws, moved to the front of the shape list.
    void CollectAffectedShapes(const arofintM& nodes, int body);
    void RefreshAffectedShapes();
    // A refused edit: the model as the edit began, its shapes, and no edit pending.
    void AbandonEdit();
    // A pending edit's model put back (with its shapes), then picks, work lines and highlight cleared.
    void EndPendingEdit();

    void CreateSeries();
    void SetUpChart();
    void SetUpAxes();
    // Lays the chart out at its size on a scratch canvas, so that the axes hold their pixel spans.
    void LayOutAxes();
    void ApplyEqualScale();
    void ComputePixelScales();
    void FixAxesToBox();
    void FillSurfaceMask();

    bool FModelPresent = false;
    std::string FEditRefusal;
    TPolygonUndoStack FUndo;
    TMapSeries* FShapeSeries = nullptr;
    TLineSeries* FWorkLine1 = nullptr;
    TLineSeries* FWorkLine2 = nullptr;
    TAreaSeries* FSurfaceMask = nullptr;
    TPointSeries* FNodeSeries = nullptr;
    TPointSeries* FElectrodeSeries = nullptr;
};
