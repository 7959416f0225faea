// The model view in the main window: the polygon tool buttons and the keys (modifier modes, 'Z', Esc,
// Space) as tables of sequences, picking a measurement on the data graphs, the Options, Data and Advanced
// items and the model view's pop-up through prompter scripts, and runs, saves and box changes taking the
// model as it was before an edit in progress.
#include "tests/views/MainWindowFixture.h"
#include "tests/views/PolygonChartFixtures.h"

#include "chart/control/Chart.h"
#include "chart/control/LumPrevi.h"
#include "chart/control/LumPreviewPanel.h"
#include "chart/series/LumMapSeries.h"
#include "core/SurveyOpen.h"
#include "core/Supermath2d.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/Menus.h"
#include "platform/controls/PopupMenu.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/RecordingBackend.h"
#include "platform/rtl/TextFile.h"
#include "ui/kitStatusBar.h"
#include "ui/uibtn.h"
#include "views/ModelConstruct.h"
#include "views/PseudoSection2d.h"

#include <QEventLoop>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <cstring>
#include <set>

using pctest::ExpectSameModel;

namespace {

// A window whose runs can be replaced: the model each run was handed, and what a stand-in run does.
class TEditProbeForm : public TProbeMainForm {
public:
    using TProbeMainForm::TProbeMainForm;
    std::vector<TPolygonModel> RunModels;
    std::function<bool(bool invert)> StandIn;
    bool RunSolver(bool invert) override
    {
        RunModels.push_back(PolygonChart1->Model);
        if (StandIn) {
            ++Runs;
            return StandIn(invert);
        }
        return TProbeMainForm::RunSolver(invert);
    }
};

class ModelEditWindow : public MainWindow {
protected:
    TEditProbeForm& StartEdit()
    {
        auto form = std::make_unique<TEditProbeForm>(nullptr);
        TEditProbeForm& f = *form;
        Form = std::move(form);
        f.Show();
        Pump();
        return f;
    }
    TEditProbeForm& F() { return static_cast<TEditProbeForm&>(*Form); }

    QPoint At(complexM p) const
    {
        const TPolygonChart& c = *Form->PolygonChart1;
        return {c.BottomAxis().CalcPosValue(p.x), c.LeftAxis().CalcPosValue(p.z)};
    }
    void Mouse(QWidget* w, QEvent::Type t, QPoint q, Qt::MouseButton b = Qt::NoButton)
    {
        const Qt::MouseButtons held = t == QEvent::MouseButtonPress ? Qt::MouseButtons(b) : Qt::MouseButtons();
        QMouseEvent e(t, QPointF(q), w->mapToGlobal(QPointF(q)), b, held, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
        Pump(1);
    }
    void Move(complexM p) { Mouse(Form->PolygonChart1->Widget(), QEvent::MouseMove, At(p)); }
    void Press(complexM p, Qt::MouseButton b)
    {
        Move(p);
        Mouse(Form->PolygonChart1->Widget(), QEvent::MouseButtonPress, At(p), b);
        Mouse(Form->PolygonChart1->Widget(), QEvent::MouseButtonRelease, At(p), b);
    }
    // A key as the keyboard gives it to a control of the window.
    void Key(QWidget* target, int key, bool down, bool repeat = false)
    {
        Qt::KeyboardModifiers m;
        if (key == Qt::Key_Shift) m = Qt::ShiftModifier;
        if (key == Qt::Key_Control) m = Qt::ControlModifier;
        if (key == Qt::Key_Alt) m = Qt::AltModifier;
        const QString text = key == Qt::Key_Z ? "z" : key == Qt::Key_Space ? " " : key == Qt::Key_Escape ? "\x1b" : "";
        QKeyEvent e(down ? QEvent::KeyPress : QEvent::KeyRelease, key, down ? m : Qt::KeyboardModifiers(), text, repeat);
        QApplication::sendEvent(target, &e);
        Pump(1);
    }
    // The node of the sample model nearest to a point (its body 2's upper-left corner is (146, 16.27)).
    int NodeNear(complexM p) const
    {
        const Tnodes& nodes = Form->PolygonChart1->Model.Nodes;
        return NearestNode(p, nodes, 1, 1).node;
    }
    TSpeedButton* Button(const std::string& name) const
    {
        for (TSpeedButton* b : Form->PolygonToolButtons)
            if (b->Name() == name) return b;
        return nullptr;
    }
    std::set<std::string> ButtonsDown() const
    {
        std::set<std::string> down;
        for (TSpeedButton* b : Form->PolygonToolButtons)
            if (b->Down()) down.insert(b->Name());
        return down;
    }
    // The sample opened and computed, its node (146, 16.27) dragged a little in "Move node".
    void DragANode(complexM from, complexM to)
    {
        Button("SpeedButton20")->Click();
        Move(from);
        Mouse(Form->PolygonChart1->Widget(), QEvent::MouseButtonPress, At(from), Qt::LeftButton);
        Mouse(Form->PolygonChart1->Widget(), QEvent::MouseButtonRelease, At(from), Qt::LeftButton);
        Move(to);
        ASSERT_TRUE(Form->PolygonChart1->EditPending);
    }
};

const complexM BodyCorner{146, 16.2676501718609};

// The numbers the model view's depth axis writes left of its plot, top to bottom.
std::vector<double> DepthLabels(TPolygonChart& c)
{
    auto recorder = std::make_shared<TRecordingBackend>(c.Width(), c.Height());
    TCanvas canvas(recorder);
    c.DrawUnbuffered(canvas, TRect{0, 0, c.Width(), c.Height()});
    std::vector<std::pair<double, double>> labels; // y, value
    for (const auto& r : recorder->Records) {
        if (r.Kind != "TextOut" || r.TextCmd.Origin.x >= c.ChartRect().Left) continue;
        char* end = nullptr;
        const double v = std::strtod(r.Text.c_str(), &end);
        if (!r.Text.empty() && end && *end == 0) labels.emplace_back(r.TextCmd.Origin.y, v);
    }
    std::sort(labels.begin(), labels.end());
    std::vector<double> values;
    for (const auto& l : labels) values.push_back(l.second);
    return values;
}

const char* HelpOf(int mode)
{
    static const char* const texts[] = {
        "\"Add polygon\" mode. Use left-click for adding point to polygon, right-click to close polygon",
        "\"Add sub-polygon to other\" mode. Use left-click for adding point to polygon, right-click to close polygon",
        "\"Divide polygon\" mode. Use left-click to select polygons border, right-click to divide polygon",
        "\"Uncouple nodes\" mode. Use right-click to uncouple connected nodes of polygon",
        "\"Delete node\" mode. Use right-click to remove node of polygon",
        "\"Move node\" mode. Use left-click dragging for nodes moving, right-click for new position placing",
        "\"Couple nodes\" mode. Use left-click to choose first node, right-click to choose second node",
        "\"Add node\" mode. Use right-click to add new node to polygon",
        "\"Delete sub-polygon\" mode. Use right-click to remove polygon",
        "\"Uncouple sub-polygon from polygon\" mode. Use right-click to uncouple polygon",
        "\"Move polygon\" mode. Use left-click dragging for polygons moving, right-click for new position placing",
        "\"Move sub-polygon\" mode. Use left-click dragging for polygons moving, right-click for new position placing",
        "\"Fix node\" mode. Use right-click to fix node",
    };
    return mode >= 0 && mode < 13 ? texts[mode] : "";
}

} // namespace

// ---- Buttons and keys ------------------------------------------------------------------------------------

TEST_F(ModelEditWindow, ToolBarTwoHoldsTheThirteenModesInTheirOrder)
{
    TEditProbeForm& f = StartEdit();
    const char* order[] = {"SpeedButton9",  "SpeedButton10", "SpeedButton11", "SpeedButton12", "SpeedButton13",
                           "SpeedButton14", "SpeedButton15", "SpeedButton16", "SpeedButton17", "SpeedButton20",
                           "SpeedButton18", "SpeedButton19", "SpeedButton21"};
    const int modes[] = {0, 8, 1, 9, 2, 11, 10, 7, 4, 5, 3, 6, 12};
    const char* hints[] = {"Add polygon", "Delete sub-polygon", "Add sub-polygon to other",
                           "Uncouple sub-polygon from polygon", "Divide polygon", "Move sub-polygon", "Move polygon",
                           "Add node", "Delete node", "Move node", "Uncouple nodes", "Couple nodes", "Fix node"};
    ASSERT_EQ(f.PolygonToolButtons.size(), 13u);
    int left = -1;
    for (int k = 0; k < 13; ++k) {
        TSpeedButton* b = f.PolygonToolButtons[k];
        EXPECT_EQ(b->Name(), order[k]);
        EXPECT_EQ(b->Hint(), hints[k]);
        EXPECT_TRUE(b->Enabled()) << order[k];
        EXPECT_GT(b->Left(), left) << order[k];
        left = b->Left();
        b->Click();
        EXPECT_EQ(f.PolygonChart1->EditMode, modes[k]) << order[k];
        EXPECT_EQ(f.StatusText(spModeHelp), HelpOf(modes[k])) << order[k];
    }
    // "Fix node" belongs to no group and cannot stay down.
    EXPECT_TRUE(ButtonsDown().empty());
    EXPECT_TRUE(f.SpeedButton8->Enabled());
}

// Status panel 5, the last, reaches the bar's right edge, and every mode's help fits it in the window's
// size at start.
TEST_F(ModelEditWindow, TheHelpTextsFitTheirPanel)
{
    TEditProbeForm& f = StartEdit();
    const TRect panel = f.StatusBar1->GetPanelRect(spModeHelp);
    EXPECT_EQ(panel.Right, f.StatusBar1->ClientWidth());
    EXPECT_GE(panel.Width(), 360);
    for (int mode = 0; mode < EditModeCount; ++mode)
        EXPECT_LE(f.StatusBar1->TextExtent(HelpOf(mode)).cx, panel.Width() - 8) << HelpOf(mode);
}

TEST_F(ModelEditWindow, KeysAndButtonsSetTheMode)
{
    struct TAction {
        char Kind; // 'b' a button, 'd' / 'u' a key down / up, 'r' a repeated key-down, 'o' the key to the data view
        const char* Button = nullptr;
        int Key = 0;
    };
    const auto Btn = [](const char* name) { return TAction{'b', name}; };
    const auto Down = [](int key) { return TAction{'d', nullptr, key}; };
    const auto Up = [](int key) { return TAction{'u', nullptr, key}; };
    const auto Repeat = [](int key) { return TAction{'r', nullptr, key}; };
    const auto Other = [](int key) { return TAction{'o', nullptr, key}; };
    struct TRow {
        const char* Name;
        std::vector<TAction> Actions;
        int Mode;
        std::set<std::string> Down;
        int Help; // the mode whose help panel 5 shows, -1 none
    };
    const TRow rows[] = {
        {"no mode at start", {}, -1, {}, -1},
        {"a button", {Btn("SpeedButton13")}, 2, {"SpeedButton13"}, 2},
        {"another button raises the first", {Btn("SpeedButton13"), Btn("SpeedButton15")}, 10, {"SpeedButton15"}, 10},
        {"Shift holds Move node; buttons and help stay", {Btn("SpeedButton9"), Down(Qt::Key_Shift)}, 5,
         {"SpeedButton9"}, 0},
        {"its release gives the mode back", {Btn("SpeedButton9"), Down(Qt::Key_Shift), Up(Qt::Key_Shift)}, 0,
         {"SpeedButton9"}, 0},
        {"Alt holds Add node", {Btn("SpeedButton12"), Down(Qt::Key_Alt)}, 7, {"SpeedButton12"}, 9},
        {"Ctrl holds Delete node", {Btn("SpeedButton12"), Down(Qt::Key_Control)}, 4, {"SpeedButton12"}, 9},
        // Shift in Move node saves nothing: its release gives the mode of the last switch, 0 when none.
        {"Shift while in Move node", {Btn("SpeedButton20"), Down(Qt::Key_Shift), Up(Qt::Key_Shift)}, 0,
         {"SpeedButton20"}, 5},
        {"the same after an earlier switch",
         {Btn("SpeedButton11"), Down(Qt::Key_Alt), Up(Qt::Key_Alt), Btn("SpeedButton20"), Down(Qt::Key_Shift),
          Up(Qt::Key_Shift)},
         1, {"SpeedButton20"}, 5},
        // Shift, then Ctrl: Ctrl saves Move node; releasing either key gives Move node.
        {"Shift then Ctrl", {Btn("SpeedButton13"), Down(Qt::Key_Shift), Down(Qt::Key_Control)}, 4,
         {"SpeedButton13"}, 2},
        {"Shift then Ctrl, Ctrl released",
         {Btn("SpeedButton13"), Down(Qt::Key_Shift), Down(Qt::Key_Control), Up(Qt::Key_Control)}, 5,
         {"SpeedButton13"}, 2},
        {"Shift then Ctrl, Shift released",
         {Btn("SpeedButton13"), Down(Qt::Key_Shift), Down(Qt::Key_Control), Up(Qt::Key_Shift)}, 5,
         {"SpeedButton13"}, 2},
        {"a held key repeats and keeps the mode before it",
         {Btn("SpeedButton9"), Down(Qt::Key_Alt), Repeat(Qt::Key_Alt), Repeat(Qt::Key_Alt), Up(Qt::Key_Alt)}, 0,
         {"SpeedButton9"}, 0},
        {"keys while the data view has them", {Btn("SpeedButton9"), Other(Qt::Key_Control)}, 4, {"SpeedButton9"}, 0},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        TEditProbeForm& f = StartEdit();
        QWidget* chart = f.PolygonChart1->Widget();
        for (const TAction& a : row.Actions) {
            switch (a.Kind) {
            case 'b': Button(a.Button)->Click(); break;
            case 'd': Key(chart, a.Key, true); break;
            case 'r': Key(chart, a.Key, true, true); break;
            case 'u': Key(chart, a.Key, false); break;
            case 'o': Key(f.PseudoSection2d1->Widget(), a.Key, true); break;
            }
        }
        EXPECT_EQ(f.PolygonChart1->EditMode, row.Mode);
        EXPECT_EQ(ButtonsDown(), row.Down);
        EXPECT_EQ(f.StatusText(spModeHelp), HelpOf(row.Help));
        Form.reset();
    }
}

TEST_F(ModelEditWindow, ATemporaryModeEndsWhenTheProgramLosesTheFocus)
{
    TEditProbeForm& f = StartEdit();
    Button("SpeedButton13")->Click();
    Key(f.PolygonChart1->Widget(), Qt::Key_Shift, true);
    ASSERT_EQ(f.PolygonChart1->EditMode, 5);
    Application->ActivationChanged(false);
    EXPECT_EQ(f.PolygonChart1->EditMode, 2);
    Application->ActivationChanged(true);
    // The release the other window heard changes nothing more.
    Key(f.PolygonChart1->Widget(), Qt::Key_Shift, false);
    EXPECT_EQ(f.PolygonChart1->EditMode, 2);
}

// A modifier pressed with the mouse resting on a node acts on that node without a move first: Ctrl and a
// right press delete it, Shift and a drag move it.
TEST_F(ModelEditWindow, AModifierActsOnTheNodeUnderTheRestingCursor)
{
    TEditProbeForm& f = StartEdit();
    OpenSample();
    TPolygonChart& m = *f.PolygonChart1;
    QWidget* w = m.Widget();
    const TPolygonModel before = m.Model;
    const int node = NodeNear(BodyCorner);

    Button("SpeedButton9")->Click();
    Move(BodyCorner);
    Key(w, Qt::Key_Control, true);
    ASSERT_EQ(m.EditMode, emDeleteNode);
    Mouse(w, QEvent::MouseButtonPress, At(BodyCorner), Qt::RightButton);
    Mouse(w, QEvent::MouseButtonRelease, At(BodyCorner), Qt::RightButton);
    EXPECT_EQ(m.Model.Nodes.Length(), before.Nodes.Length() - 1) << "Ctrl and a right press delete the node";
    Key(w, Qt::Key_Control, false);
    Key(w, Qt::Key_Escape, true);
    ExpectSameModel(m.Model, before, "the deletion undone");

    Move(BodyCorner);
    Key(w, Qt::Key_Shift, true);
    ASSERT_EQ(m.EditMode, emMoveNode);
    Mouse(w, QEvent::MouseButtonPress, At(BodyCorner), Qt::LeftButton);
    Mouse(w, QEvent::MouseButtonRelease, At(BodyCorner), Qt::LeftButton);
    EXPECT_TRUE(m.EditPending) << "Shift and a press take the node";
    Press({150, 20}, Qt::RightButton);
    Key(w, Qt::Key_Shift, false);
    EXPECT_NEAR(m.Model.Nodes[node].x, 150, 1);
    EXPECT_NEAR(m.Model.Nodes[node].z, 20, 1);

    // A key pressed while the mouse is elsewhere marks nothing under the old cursor position.
    Key(w, Qt::Key_Escape, true);
    Move(BodyCorner);
    Mouse(f.PseudoSection2d1->Widget(), QEvent::MouseMove, QPoint(30, 30));
    Key(w, Qt::Key_Control, true);
    EXPECT_FALSE(m.EditPending);
    EXPECT_EQ(m.PickA, -1);
    Key(w, Qt::Key_Control, false);
}

TEST_F(ModelEditWindow, ZTogglesZoomAndScrollAtEveryKeyDown)
{
    TEditProbeForm& f = StartEdit();
    TPolygonChart& m = *f.PolygonChart1;
    const int counts[] = {1, 2, 3};
    for (int n : counts) {
        for (int k = 0; k < n; ++k) Key(f.PseudoSection2d1->Widget(), Qt::Key_Z, true, k > 0);
        const bool on = n % 2 == 1;
        EXPECT_EQ(m.ZoomAllowed(), on) << n;
        EXPECT_EQ(m.AllowPanning(), on ? pmBoth : pmNone) << n;
        if (on) Key(f.PseudoSection2d1->Widget(), Qt::Key_Z, true);
    }
}

TEST_F(ModelEditWindow, EscAndSpace)
{
    TEditProbeForm& f = StartEdit();
    // Before a model was computed, Esc does nothing, not even to an edit in progress.
    TPolygonChart& m = *f.PolygonChart1;
    m.CreateFrameModel({}, false, 0, 100, 0, 50);
    ASSERT_NE(pctest::AddBody(m, pctest::PointList({{20, 10}, {40, 10}, {40, 30}})), -1);
    m.RebuildShapes();
    m.SaveWorkingCopy();
    m.PushUndo();
    // The views are not shown before a survey: the drag goes to the chart's handler directly.
    Button("SpeedButton20")->Click();
    m.HandleEditMouse(emMoveNode, true, 20, 10, false);
    m.HandleEditMouse(emMoveNode, false, 20, 10, false);
    m.HandleEditMouse(emMoveNode, true, 25, 12, false);
    ASSERT_TRUE(m.EditPending);
    Key(m.Widget(), Qt::Key_Escape, true);
    EXPECT_TRUE(m.EditPending);
    EXPECT_NE(pctest::ToVector(m.Model.Bodies[1][0].ring), std::vector<int>{});

    // Space runs the forward command once, whichever control has the keys.
    OpenSample();
    const int runs = f.Runs;
    Key(f.PseudoSection2d1->Widget(), Qt::Key_Space, true);
    EXPECT_EQ(f.Runs, runs + 1);
    // Once computed, Esc cancels an edit in progress, then undoes the last completed one.
    const TPolygonModel before = m.Model;
    DragANode(BodyCorner, {150, 20});
    Press({150, 20}, Qt::RightButton);
    ASSERT_FALSE(m.EditPending);
    Move({151, 21});
    Key(m.Widget(), Qt::Key_Escape, true);
    ExpectSameModel(m.Model, before, "Esc");
}

// A refused place of "Move node" says why in panel 5 while the node still follows the mouse; a completed
// edit, Esc, a temporary mode and a mode change bring the mode's help back.
TEST_F(ModelEditWindow, ARefusedEditSaysWhyInPanelFive)
{
    TEditProbeForm& f = StartEdit();
    OpenSample();
    TPolygonChart& m = *f.PolygonChart1;
    const complexM outside{m.Model.ModelBox.XMax + 4, 20};
    complexM node = BodyCorner;
    const auto refuse = [&] {
        DragANode(node, outside);
        Press(outside, Qt::RightButton);
        ASSERT_TRUE(m.EditPending);
        EXPECT_EQ(f.StatusText(spModeHelp), RefusedNodeOutsideBox);
    };
    refuse();
    // The node goes on following the mouse; placed inside, the edit completes and the help returns.
    const complexM inside{150, 20};
    Move(inside);
    EXPECT_NEAR(m.Model.Nodes[NodeNear(inside)].x, inside.x, 1);
    Press(inside, Qt::RightButton);
    node = NodePoint(m.Model.Nodes, NodeNear(inside));
    EXPECT_FALSE(m.EditPending);
    EXPECT_EQ(f.StatusText(spModeHelp), HelpOf(emMoveNode));
    struct {
        const char* Name;
        std::function<void()> Then;
        const char* Help;
    } const ends[] = {
        {"Esc", [&] { Key(m.Widget(), Qt::Key_Escape, true); }, HelpOf(emMoveNode)},
        {"Alt held", [&] { Key(m.Widget(), Qt::Key_Alt, true); Key(m.Widget(), Qt::Key_Alt, false); },
         HelpOf(emMoveNode)},
        {"another mode", [&] { Button("SpeedButton16")->Click(); }, HelpOf(emAddNode)},
    };
    for (const auto& e : ends) {
        SCOPED_TRACE(e.Name);
        refuse();
        e.Then();
        EXPECT_FALSE(m.EditPending);
        EXPECT_EQ(f.StatusText(spModeHelp), e.Help);
    }
}

// Every refusal fits panel 5 at the window's size at start, as the help texts do.
TEST_F(ModelEditWindow, TheRefusalsFitTheirPanel)
{
    TEditProbeForm& f = StartEdit();
    const TRect panel = f.StatusBar1->GetPanelRect(spModeHelp);
    for (const char* text : {RefusedPointOutsideBox, RefusedPointCrosses, RefusedClosingCrosses, RefusedLineEnd,
                             RefusedSubPolygon, RefusedDivide, RefusedUncoupleNode, RefusedDeleteNode, RefusedFixedNode,
                             RefusedFrameCorner, RefusedNodeOutsideBox, RefusedNodeCrosses, RefusedCoupleFirst,
                             RefusedCouple, RefusedAddNode, RefusedPolygonOutsideBox, RefusedPolygonCrosses})
        EXPECT_LE(f.StatusBar1->TextExtent(text).cx, panel.Width() - 8) << text;
}

// After a change of the model the last run's misfit and the calculated curve's legend entry are marked
// " (old)" until the next run: an edit, an undo and the model constructor each mark them; nothing is run.
TEST_F(ModelEditWindow, ResultsAreMarkedOldAfterAModelChangeUntilTheNextRun)
{
    TEditProbeForm& f = StartEdit();
    OpenSample();
    TPolygonChart& m = *f.PolygonChart1;
    const std::string title = f.PseudoSection2d1->Series2->Title();
    EXPECT_FALSE(f.ResultsOld());
    const struct {
        const char* Name;
        std::function<void()> Change;
    } changes[] = {
        {"an edit", [&] {
             DragANode(BodyCorner, {150, 20});
             Press({150, 20}, Qt::RightButton);
         }},
        {"an undo", [&] { Key(m.Widget(), Qt::Key_Escape, true); }},
        {"the model constructor", [&] {
             Script->DriveForm([](TForm& form) { dynamic_cast<TModConstr&>(form).uiPicBtn1->PerformClick(); });
             f.Newmodel2->Click();
         }},
    };
    for (const auto& c : changes) {
        SCOPED_TRACE(c.Name);
        const std::string misfit = f.StatusText(spMisfit);
        ASSERT_FALSE(misfit.empty());
        ASSERT_EQ(misfit.find("(old)"), std::string::npos);
        const int runs = f.Runs;
        c.Change();
        EXPECT_TRUE(f.ResultsOld());
        EXPECT_EQ(f.StatusText(spMisfit), misfit + " (old)");
        EXPECT_EQ(f.PseudoSection2d1->Series2->Title(), title + " (old)");
        EXPECT_EQ(f.Runs, runs) << "nothing is run";
        // The legend with the longer entry stands whole in the view.
        f.PseudoSection2d1->RenderToBitmap(clWhite, f.PseudoSection2d1->ChartBounds(), pf24bit);
        EXPECT_LE(f.PseudoSection2d1->Legend().ShapeRect().Right, f.PseudoSection2d1->Width());
        // The data graphs drawn again keep the mark; a run takes it away.
        f.ShowDataGraphs();
        EXPECT_EQ(f.PseudoSection2d1->Series2->Title(), title + " (old)");
        Key(m.Widget(), Qt::Key_Space, true);
        EXPECT_EQ(f.Runs, runs + 1);
        EXPECT_FALSE(f.ResultsOld());
        EXPECT_EQ(f.PseudoSection2d1->Series2->Title(), title);
        EXPECT_EQ(f.StatusText(spMisfit).find("(old)"), std::string::npos);
    }
}

// The misfit panel is as wide as the misfit it shows (with its mark), never narrower than its own 50
// pixels, and the window's least width grows with it.
TEST_F(ModelEditWindow, TheMisfitPanelHoldsTheWholeMisfit)
{
    TEditProbeForm& f = StartEdit();
    TkitStatusPanel& panel = *f.StatusBar1->Panels().Items(spMisfit);
    const int minimum = f.MinimumClientSize().cx;
    struct {
        const char* Text;
        bool Old;
    } const cases[] = {{"3.25", false}, {"0.000000010", false}, {"0.000000010", true}, {"12.50", true}, {"", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Text) + (c.Old ? " old" : ""));
        f.ShowMisfit(c.Text);
        f.MarkResultsOld(c.Old);
        const std::string shown = f.StatusText(spMisfit);
        EXPECT_EQ(shown, *c.Text && c.Old ? std::string(c.Text) + " (old)" : std::string(c.Text));
        const TRect r = f.StatusBar1->GetPanelRect(spMisfit);
        EXPECT_GE(r.Width() - 2 - 2 * panel.BorderWidth(), f.StatusBar1->TextExtent(shown).cx) << "whole";
        EXPECT_GE(panel.Width(), MisfitPanelWidth);
        EXPECT_GE(f.MinimumClientSize().cx, f.StatusBar1->PanelsWidth());
        EXPECT_GE(f.MinimumClientSize().cx, minimum);
    }
}

// ---- Runs, saves and box changes during an edit -----------------------------------------------------------

TEST_F(ModelEditWindow, RunsAndSavesTakeTheModelAsItWasBeforeTheEditInProgress)
{
    TEditProbeForm& f = StartEdit();
    OpenSample();
    TPolygonChart& m = *f.PolygonChart1;
    const TPolygonModel before = m.Model;

    // Space during a drag: the run gets the model without the drag, and the drag has ended.
    DragANode(BodyCorner, {150, 20});
    f.StandIn = [](bool) { return true; };
    Key(m.Widget(), Qt::Key_Space, true);
    ASSERT_EQ(f.RunModels.size(), 1u + 1u);
    ExpectSameModel(f.RunModels.back(), before, "the forward run's model");
    EXPECT_FALSE(m.EditPending);

    // An inversion writes resistivities; a drag cancelled afterwards gives back the model it left.
    f.StandIn = [&](bool invert) {
        EXPECT_TRUE(invert);
        m.Model.Bodies[2][0].properties[psResistivity] = Variant(777.0);
        return true;
    };
    DragANode(BodyCorner, {150, 20});
    f.SpeedButton22Click();
    ExpectSameModel(f.RunModels.back(), before, "the inversion's start model");
    const TPolygonModel inverted = m.Model;
    EXPECT_EQ(inverted.Bodies[2][0].properties[psResistivity].AsDouble(), 777.0);
    DragANode(BodyCorner, {150, 20});
    Key(m.Widget(), Qt::Key_Escape, true);
    ExpectSameModel(m.Model, inverted, "cancelled after the inversion");

    // A save during a drag writes the model without the drag.
    DragANode(BodyCorner, {150, 20});
    const std::string saved = Temp.File("saved.sp2");
    Script->Expect(TPromptKind::SaveDialog, [&](TPrompt& p) {
        p.File->FileName = saved;
        p.File->FilterIndex = 1;
        p.Result = mrOk;
    });
    f.SpeedButton2Click();
    const TSurveyOpenResult read = OpenSurveyFile(TSurveyState(), saved, nullptr, 100);
    ASSERT_EQ(read.Kind, ReadDataWithModel);
    ExpectSameModel(*read.Model, inverted, "the saved model");
}

TEST_F(ModelEditWindow, TheModelConstructorEndsAnEditFirst)
{
    TEditProbeForm& f = StartEdit();
    OpenSample();
    TPolygonChart& m = *f.PolygonChart1;
    const TPolygonModel before = m.Model;
    DragANode(BodyCorner, {150, 20});
    Script->DriveForm([](TForm& form) {
        auto& d = dynamic_cast<TModConstr&>(form);
        d.Edit1.SetText("-10");
        d.Edit2.SetText("230");
        d.Edit4.SetText("100");
        d.uiPicBtn1->PerformClick();
    });
    f.Newmodel2->Click();
    EXPECT_FALSE(m.EditPending);
    EXPECT_EQ(m.Model.ModelBox.XMax, 230);
    TPolygonModel expected = before;
    expected.ModelBox.XMax = 230;
    for (TNode& n : expected.Nodes)
        if (n.FrameCode == fcRight || n.FrameCode == fcBottomRight) n.x = 230;
    // The right corners moved; the dragged node is where it was.
    EXPECT_EQ(m.Model.Nodes[NodeNear(BodyCorner)].x, BodyCorner.x);
    ExpectSameModel(m.Model, expected, "the new box on the model before the drag");
}

// The inversion is one step of the undo list: Esc right after it gives back the model it began from, and
// Esc after a later edit keeps the resistivities it found.
TEST_F(ModelEditWindow, TheInversionIsOneStepOfTheUndoList)
{
    TEditProbeForm& f = StartEdit();
    OpenSample();
    TPolygonChart& m = *f.PolygonChart1;
    const TPolygonModel before = m.Model;
    f.StandIn = [&](bool invert) {
        if (invert) m.Model.Bodies[2][0].properties[psResistivity] = Variant(777.0);
        return true;
    };
    f.SpeedButton22Click();
    const TPolygonModel inverted = m.Model;
    ASSERT_EQ(inverted.Bodies[2][0].properties[psResistivity].AsDouble(), 777.0);
    Key(m.Widget(), Qt::Key_Escape, true);
    ExpectSameModel(m.Model, before, "Esc after the inversion");

    f.SpeedButton22Click();
    ExpectSameModel(m.Model, inverted, "the inversion again");
    Button("SpeedButton9")->Click();
    Press({100, 40}, Qt::LeftButton);
    Press({120, 40}, Qt::LeftButton);
    Press({110, 60}, Qt::RightButton);
    ASSERT_EQ(m.Model.Bodies.Length(), inverted.Bodies.Length() + 1) << "a polygon added";
    Key(m.Widget(), Qt::Key_Escape, true);
    ExpectSameModel(m.Model, inverted, "Esc after a polygon added to the inverted model");
    Key(m.Widget(), Qt::Key_Escape, true);
    ExpectSameModel(m.Model, before, "the second Esc");
}

// A box the model constructor changed is a step of the undo list too: Esc gives back the old box on the
// axes as well, and an edit made after it is undone without it.
TEST_F(ModelEditWindow, UndoingABoxChangeBringsBackTheAxes)
{
    TEditProbeForm& f = StartEdit();
    OpenSample();
    TPolygonChart& m = *f.PolygonChart1;
    const TPolygonModel before = m.Model;
    const TModelBox box = before.ModelBox;
    const auto newBox = [&] {
        Script->DriveForm([](TForm& form) {
            auto& d = dynamic_cast<TModConstr&>(form);
            d.Edit2.SetText("260");
            d.Edit4.SetText("150");
            d.uiPicBtn1->PerformClick();
        });
        f.Newmodel2->Click();
        ASSERT_EQ(m.Model.ModelBox.XMax, 260);
        ASSERT_EQ(m.BottomAxis().Maximum(), 260);
    };
    const auto expectAxesOn = [&](const TModelBox& b, const char* what) {
        EXPECT_EQ(m.BottomAxis().Minimum(), b.XMin) << what;
        EXPECT_EQ(m.BottomAxis().Maximum(), b.XMax) << what;
        EXPECT_EQ(m.LeftAxis().Minimum(), b.ZMin) << what;
        EXPECT_EQ(m.LeftAxis().Maximum(), b.ZMax) << what;
    };
    newBox();
    Key(m.Widget(), Qt::Key_Escape, true);
    ExpectSameModel(m.Model, before, "Esc after the box change");
    expectAxesOn(box, "the old box back");
    // The surface layer reaches the old sides again: its shape spans the box.
    const TMapSeries& shapes = m.ShapeSeries();
    double left = 1e300, right = -1e300;
    for (int i = 0; i < shapes.Shapes().Count(); ++i) {
        const TPolygonSeries& vertices = shapes.Shapes().GetPolygon(i)->VertexSeries();
        for (int k = 0; k < vertices.PointCount(); ++k) {
            left = std::min(left, vertices.XValueAt(k));
            right = std::max(right, vertices.XValueAt(k));
        }
    }
    EXPECT_EQ(left, box.XMin);
    EXPECT_EQ(right, box.XMax);

    newBox();
    const TPolygonModel wider = m.Model;
    Button("SpeedButton21")->Click();
    Press(BodyCorner, Qt::RightButton);
    ASSERT_TRUE(m.Model.Nodes[NodeNear(BodyCorner)].FixedFlag) << "a node fixed";
    Key(m.Widget(), Qt::Key_Escape, true);
    ExpectSameModel(m.Model, wider, "Esc after an edit keeps the new box");
    expectAxesOn(wider.ModelBox, "the new box stays on the axes");
}

// ---- Picking -------------------------------------------------------------------------------------------------

TEST_F(ModelEditWindow, PickingAMeasurementOnTheDataGraphs)
{
    TEditProbeForm& f = StartEdit();
    OpenSample();
    TSurveyState& s = f.Survey;
    TPseudoSection2d& data = *f.PseudoSection2d1;
    // A second data set, the same rows: the last set with a match wins.
    s.DataSets.push_back(s.DataSets[0]);
    TLineSeries& observed = *data.Series1;
    TLineSeries stray(nullptr);
    stray.InsertPoint(1234.5, 0);
    int editorRow = -1;
    bool editorShown = false;
    f.ElectrodeEditorVisible = [&] { return editorShown; };
    f.SelectElectrodeEditorRow = [&](int row) { editorRow = row; };

    struct TRow {
        const char* Name;
        int DataType, NullPoint;
        TLineSeries* Series;
        int Index;
        TMouseButton Button;
        bool Editor;
        int Set, Row;     // the selection after the click, -1 when the previous one was no row
        bool Marked;      // "p1" and "p2" shown
        int EditorRow;    // the editor's row, -1 untouched
    };
    const int rows = s.DataSets[0].P1.Length();
    const TRow table[] = {
        // "DU": the point at x 12.5 is the midpoint of row 2.
        {"DU, left button", 0, 0, &observed, 2, mbLeft, false, 1, 2, true, -1},
        {"DU, with the editor open", 0, 0, &observed, 5, mbLeft, true, 1, 5, true, rows + 5 + 1},
        {"a right click selects without marks", 0, 0, &observed, 7, mbRight, true, 1, 7, false, rows + 7 + 1},
        {"no match marks the previous selection", 0, 0, &stray, 0, mbLeft, false, 1, 7, true, -1},
        // "Potential" with the null point at 10: points below index 10 stand at P1, the others at P2.
        {"Potential before the null point", 1, 10, &observed, 3, mbLeft, false, 1, 3, true, -1},
        {"Potential after the null point", 1, 10, &observed, 12, mbLeft, false, 1, 12, true, -1},
    };
    for (const TRow& r : table) {
        SCOPED_TRACE(r.Name);
        if (s.DataType != r.DataType || s.NullPointIndex != r.NullPoint) {
            s.DataType = r.DataType;
            s.NullPointIndex = r.NullPoint;
            f.ShowDataGraphs();
        }
        editorShown = r.Editor;
        editorRow = -1;
        f.PointPicked = false;
        data.MarkerSeries->ClearPoints();
        f.Chart1ClickSeries(&data, r.Series, r.Index, r.Button, {}, 0, 0);
        EXPECT_EQ(f.SelectedSet, r.Set);
        EXPECT_EQ(f.SelectedRow, r.Row);
        EXPECT_EQ(f.PointPicked, r.Marked);
        EXPECT_EQ(data.MarkerSeries->PointCount(), r.Marked ? 2 : 0);
        if (r.Marked) {
            const std::set<std::string> labels{data.MarkerSeries->Labels().LabelText(0),
                                               data.MarkerSeries->Labels().LabelText(1)};
            EXPECT_EQ(labels, (std::set<std::string>{"p1", "p2"}));
        }
        EXPECT_EQ(editorRow, r.EditorRow);
        // The release takes the marks away (not while the editor shows).
        f.Chart1MouseUp();
        EXPECT_FALSE(f.PointPicked);
        EXPECT_EQ(data.MarkerSeries->PointCount(), r.Marked && r.Editor ? 2 : 0);
    }

    // A previous selection that names no row of a new survey marks nothing and moves no editor row.
    f.SelectedSet = 3;
    f.SelectedRow = 0;
    editorShown = true;
    editorRow = -1;
    data.MarkerSeries->ClearPoints();
    f.Chart1ClickSeries(&data, &stray, 0, mbLeft, {}, 0, 0);
    EXPECT_FALSE(f.PointPicked);
    EXPECT_EQ(data.MarkerSeries->PointCount(), 0);
    EXPECT_EQ(editorRow, -1);
}

TEST_F(ModelEditWindow, AClickOnAGraphPointPicksAndTheReleaseUnmarks)
{
    TEditProbeForm& f = StartEdit();
    OpenSample();
    f.Settings.DataPlotType = 1;
    f.SetPlotMode();
    f.ShowDataGraphs();
    TPseudoSection2d& data = *f.PseudoSection2d1;
    data.Repaint();
    Pump();
    const TLineSeries& observed = *data.Series1;
    const QPoint p(observed.ScreenXOf(4), observed.ScreenYOf(4));
    QWidget* w = data.Widget();
    Mouse(w, QEvent::MouseMove, p);
    Mouse(w, QEvent::MouseButtonPress, p, Qt::LeftButton);
    EXPECT_EQ(f.SelectedRow, 4);
    EXPECT_EQ(data.MarkerSeries->PointCount(), 2);
    Mouse(w, QEvent::MouseButtonRelease, p, Qt::LeftButton);
    EXPECT_EQ(data.MarkerSeries->PointCount(), 0);
}

// ---- Options, Data and Advanced ------------------------------------------------------------------------

TEST_F(ModelEditWindow, TheDataMenu)
{
    TEditProbeForm& f = StartEdit();
    OpenSample();
    f.Data1->Click();
    EXPECT_TRUE(f.Apparentresistivity1->Checked());
    EXPECT_FALSE(f.Resistanse1->Checked());
    EXPECT_EQ(f.Pointindex1->Caption(), "Point index 0");

    // "DU" while the graphs are "DU" draws nothing: a point put in the graph stays.
    TLineSeries& observed = *f.PseudoSection2d1->Series1;
    observed.InsertPoint(1000, 1000);
    const int points = observed.PointCount();
    f.Apparentresistivity1->Click();
    EXPECT_EQ(observed.PointCount(), points);
    f.Resistanse1->Click();
    EXPECT_EQ(f.Survey.DataType, 1);
    EXPECT_EQ(observed.PointCount(), points - 1) << "the potential graph drawn anew";

    struct TAnswer {
        const char* Typed; // nullptr: Cancel
        int Index;
    };
    const TAnswer answers[] = {{"12,6", 13}, {"2.5", 2}, {nullptr, 2}, {"x", 123456789}, {"-3", -3}};
    for (const TAnswer& a : answers) {
        const std::string shown = std::to_string(f.Survey.NullPointIndex);
        Script->Expect(TPromptKind::InputBox, [&](TPrompt& p) {
            EXPECT_EQ(p.Caption, "Enter null point");
            EXPECT_EQ(p.Text, "");
            EXPECT_EQ(p.Value, shown);
            if (a.Typed) p.Value = a.Typed;
            p.Result = a.Typed ? mrOk : mrCancel;
        });
        f.Pointindex1->Click();
        EXPECT_EQ(f.Survey.NullPointIndex, a.Index) << (a.Typed ? a.Typed : "Cancel");
    }
    EXPECT_EQ(f.Pointindex1->Caption(), "Point index 0") << "the caption follows at the menu's next opening";
    f.Options1->Click();
    EXPECT_EQ(f.Pointindex1->Caption(), "Point index -3");
    EXPECT_FALSE(f.Apparentresistivity1->Checked());
    EXPECT_TRUE(f.Resistanse1->Checked());
}

// The survey-wide switches stand in sub-menus of Options. Choosing "Reverse line" from its Qt menu, with the
// "Line shift" box answered only after the message loop has turned (as a real box does), leaves every
// menu alive and the check shown.
TEST_F(ModelEditWindow, TheSurveySwitchesStandInTheOptionsMenu)
{
    TEditProbeForm& f = StartEdit();
    const auto names = [](const TMenuItem& parent) {
        std::vector<std::string> list;
        for (int i = 0; i < parent.Count(); ++i) list.push_back(parent.Items(i)->Name());
        return list;
    };
    EXPECT_EQ(names(f.Menu()), (std::vector<std::string>{"File1", "Options1", "Help1"}));
    EXPECT_EQ(names(*f.Options1), (std::vector<std::string>{"Newmodel2", "Programsetup1", "Electrodeeditor1", "N5",
                                                             "Data1", "Advanced1", "ImportExport1"}));

    auto* bar = f.Widget()->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->actions().size(), 3);
    QPointer<QMenu> options = bar->actions()[1]->menu();
    ASSERT_TRUE(options);
    ASSERT_EQ(options->actions().size(), 7);
    QPointer<QMenu> advanced = options->actions()[5]->menu();
    ASSERT_TRUE(advanced);
    EXPECT_EQ(advanced->title(), "Advanced");
    // Opening the menus runs their items' clicks: the captions of the Data and Advanced items.
    emit options->aboutToShow();
    EXPECT_EQ(f.Pointindex1->Caption(), "Point index 0");
    f.Survey.LineShift = 12.5;
    emit advanced->aboutToShow();
    QPointer<QAction> reverse = advanced->actions()[1];
    ASSERT_TRUE(reverse);
    EXPECT_EQ(reverse->text().toStdString(), "Reverse line   " + FormatValue(12.5));

    bool alive = false;
    Script->Expect(TPromptKind::InputBox, [&](TPrompt& p) {
        EXPECT_EQ(p.Caption, "Line shift");
        QEventLoop loop;
        QTimer::singleShot(30, &loop, &QEventLoop::quit);
        loop.exec();
        alive = options && advanced && reverse;
        p.Value = "40";
        p.Result = mrOk;
    });
    reverse->trigger();
    EXPECT_TRUE(alive) << "a menu was deleted while its entry's handler ran";
    EXPECT_TRUE(f.Survey.ReverseLine);
    EXPECT_EQ(f.Survey.LineShift, 40);
    ASSERT_TRUE(reverse);
    EXPECT_TRUE(reverse->isChecked());
    Pump();
    // The next command still finds its menus.
    ASSERT_EQ(bar->actions().size(), 3);
    Script->Expect(TPromptKind::OpenDialog, [](TPrompt& p) { p.Result = mrCancel; });
    bar->actions()[0]->menu()->actions()[0]->trigger();
}

TEST_F(ModelEditWindow, TheAdvancedSwitchesApplyToTheNextOpen)
{
    TEditProbeForm& f = StartEdit();
    // "Reverse line": the shift asked only when switched on; text that is no number keeps it.
    Script->AnswerInput("250");
    f.Reversepseudosection1->Click();
    EXPECT_TRUE(f.Survey.ReverseLine);
    EXPECT_EQ(f.Survey.LineShift, 250);
    f.Reversepseudosection1->Click();
    EXPECT_FALSE(f.Survey.ReverseLine);
    Script->Expect(TPromptKind::InputBox, [](TPrompt& p) {
        EXPECT_EQ(p.Caption, "Line shift");
        EXPECT_EQ(p.Value, "250");
        p.Value = "x";
        p.Result = mrOk;
    });
    f.Reversepseudosection1->Click();
    EXPECT_EQ(f.Survey.LineShift, 250);
    f.Advanced1->Click();
    EXPECT_EQ(f.Reversepseudosection1->Caption(), "Reverse line   250");
    for (TMenuItem* item : {f.Extendednodes1, f.Openinmodelingmode1}) {
        item->Click();
        EXPECT_TRUE(item->Checked());
        item->Click();
        EXPECT_FALSE(item->Checked());
    }
    f.Extendednodes1->Click();
    EXPECT_TRUE(f.Survey.ExtendedNodes);

    // "Real topo coordinates" with the sample's topography (highest 129.9), the next open applying it too.
    f.Realtopocoordinates1->Click();
    EXPECT_TRUE(f.Survey.RealTopoCoordinates);
    OpenSample();
    TChartAxis& left = f.PolygonChart1->LeftAxis();
    EXPECT_DOUBLE_EQ(left.LabelValueOffset, -129.90);
    // The depth axis shows elevations: the highest point's 129.9 less the depth, falling downwards.
    const std::vector<double> elevations = DepthLabels(*f.PolygonChart1);
    ASSERT_GE(elevations.size(), 3u);
    EXPECT_GT(elevations.front(), 100);
    EXPECT_LE(elevations.front(), 129.9);
    EXPECT_TRUE(std::is_sorted(elevations.rbegin(), elevations.rend()));
    // The positions of the open are those of the core's preparation with the same switches.
    TSurveyState reversed;
    reversed.ReverseLine = true;
    reversed.LineShift = 250;
    reversed.ExtendedNodes = true;
    reversed.RealTopoCoordinates = true;
    const TSurveyOpenResult core = OpenSurveyFile(reversed, Sample, [](const std::string&) { return true; }, 100);
    ASSERT_EQ(core.Kind, ReadDataWithModel);
    ASSERT_EQ(f.Survey.ElectrodePositions.Length(), core.Survey.ElectrodePositions.Length());
    for (int k = 0; k < core.Survey.ElectrodePositions.Length(); ++k)
        EXPECT_EQ(f.Survey.ElectrodePositions[k], core.Survey.ElectrodePositions[k]);
    EXPECT_EQ(core.LabelValueOffset, -129.90);
    Pump();
    ASSERT_FALSE(f.PolygonChart1->PaintPending());
    f.Realtopocoordinates1->Click();
    EXPECT_EQ(left.LabelValueOffset, 0);
    EXPECT_TRUE(f.PolygonChart1->PaintPending()) << "the labels change at once";
    const std::vector<double> depths = DepthLabels(*f.PolygonChart1);
    ASSERT_GE(depths.size(), 3u);
    EXPECT_GE(depths.front(), 0);
    EXPECT_TRUE(std::is_sorted(depths.begin(), depths.end()));
    // A topography below 0: the running maximum starts from the offset in use, 0.
    f.Survey.Topography = pctest::PointList({{0, -12}, {10, -3}, {20, -7}});
    f.Realtopocoordinates1->Click();
    EXPECT_EQ(left.LabelValueOffset, 0);
}

// ---- The model view's double-click and pop-up ---------------------------------------------------------

TEST_F(ModelEditWindow, ADoubleClickEditsTheBodyInsideThePlotAndOpensThePopUpOutside)
{
    TEditProbeForm& f = StartEdit();
    OpenSample();
    TPolygonChart& m = *f.PolygonChart1;
    int dialogs = 0;
    m.ShowBodyDialog = [&](int, int body, int) {
        ++dialogs;
        EXPECT_EQ(body, 1);
    };
    const auto doubleClick = [&](QPoint p) {
        Mouse(m.Widget(), QEvent::MouseMove, p);
        Mouse(m.Widget(), QEvent::MouseButtonPress, p, Qt::LeftButton);
        Mouse(m.Widget(), QEvent::MouseButtonRelease, p, Qt::LeftButton);
        Mouse(m.Widget(), QEvent::MouseButtonDblClick, p, Qt::LeftButton);
        Mouse(m.Widget(), QEvent::MouseButtonRelease, p, Qt::LeftButton);
    };
    doubleClick(At({70, 17}));
    EXPECT_EQ(dialogs, 1);

    // On the title: the pop-up with the current checks.
    f.ZoomScroll1Click();
    for (const bool equal : {false, true}) {
        m.EqualScale = equal;
        Script->Expect(TPromptKind::PopupMenu, [&](TPrompt& p) {
            ASSERT_EQ(p.Menu->Count(), 5);
            const char* captions[] = {"Setup", "Print preview", "Save picture", "Zoom&&Scroll Z", "Equal scale"};
            for (int k = 0; k < 5; ++k) EXPECT_EQ(p.Menu->Items(k)->Caption(), captions[k]);
            EXPECT_TRUE(p.Menu->Items(3)->Checked());
            EXPECT_EQ(p.Menu->Items(4)->Checked(), equal);
            p.Result = mrCancel;
        });
        doubleClick(QPoint(m.Width() / 2, 3));
    }
    EXPECT_EQ(dialogs, 1);
}

TEST_F(ModelEditWindow, ThePopUpsPrintPreviewShowsTheModelViewAlone)
{
    TEditProbeForm& f = StartEdit();
    OpenSample();
    std::vector<TCustomLumPanel*> shown;
    Script->DriveForm([&](TForm& form) {
        auto& preview = dynamic_cast<TChartPreview&>(form);
        for (int i = 0; i < preview.LumPreviewPanel1->Panels().Count(); ++i)
            shown.push_back(preview.LumPreviewPanel1->Panels().Items(i));
        preview.BClose->click();
    });
    f.Printpreview2->Click();
    EXPECT_EQ(shown, (std::vector<TCustomLumPanel*>{f.PolygonChart1}));
}

TEST_F(ModelEditWindow, EqualScaleOnAndOff)
{
    TEditProbeForm& f = StartEdit();
    OpenSample();
    TPolygonChart& m = *f.PolygonChart1;
    const double bottom = m.Model.ModelBox.ZMax;
    ASSERT_GT(std::abs(m.PixelsPerX - m.PixelsPerZ), 0.1);
    f.Equalscale1->Click();
    EXPECT_TRUE(m.EqualScale);
    EXPECT_NEAR(m.PixelsPerX, m.PixelsPerZ, 1e-9 * m.PixelsPerX);
    EXPECT_NE(m.LeftAxis().Maximum(), bottom);
    f.Equalscale1->Click();
    EXPECT_FALSE(m.EqualScale);
    EXPECT_EQ(m.LeftAxis().Maximum(), bottom);
    EXPECT_GT(std::abs(m.PixelsPerX - m.PixelsPerZ), 0.1);
}

TEST_F(ModelEditWindow, WithZoomAndScrollPressesEditNothingWhileTheCursorFollows)
{
    TEditProbeForm& f = StartEdit();
    OpenSample();
    TPolygonChart& m = *f.PolygonChart1;
    Button("SpeedButton9")->Click();
    f.ZoomScroll1->Click();
    ASSERT_TRUE(m.ZoomAllowed());
    const TPolygonModel before = m.Model;
    for (complexM p : {complexM{20, 60}, complexM{40, 60}, complexM{30, 80}}) Press(p, Qt::RightButton);
    Move({33, 70});
    EXPECT_NEAR(m.CursorX, 33, 0.5);
    EXPECT_NEAR(m.CursorZ, 70, 0.5);
    EXPECT_FALSE(m.EditPending);
    ExpectSameModel(m.Model, before, "nothing edited");
    EXPECT_EQ(f.StatusText(spCursor), FormatValue(m.CursorX, 0, true) + " " + FormatValue(m.CursorZ, 0, true));
}

TEST_F(ModelEditWindow, SavePictureWritesAnEnhancedMetafile)
{
    TEditProbeForm& f = StartEdit();
    OpenSample();
    const std::string asked = Temp.File("x.bmp");
    Script->Expect(TPromptKind::SaveDialog, [&](TPrompt& p) {
        EXPECT_EQ(p.File->Filter, "Meta files [*.emf]|*.emf");
        p.File->FileName = asked;
        p.Result = mrOk;
    });
    f.Savepicture1->Click();
    EXPECT_FALSE(std::filesystem::exists(asked));
    std::string bytes;
    ASSERT_TRUE(LoadFileBytes(Temp.File("x.emf"), bytes));
    // The records, walked by their sizes: a header with the signature first, the end record last.
    const auto u32 = [&](std::size_t at) {
        std::uint32_t v = 0;
        std::memcpy(&v, bytes.data() + at, 4);
        return v;
    };
    ASSERT_GE(bytes.size(), 88u);
    EXPECT_EQ(u32(0), 1u);
    EXPECT_EQ(u32(40), 0x464D4520u);
    std::size_t at = 0;
    std::uint32_t last = 0;
    int records = 0;
    while (at + 8 <= bytes.size()) {
        const std::uint32_t size = u32(at + 4);
        ASSERT_TRUE(size >= 8 && size % 4 == 0 && at + size <= bytes.size()) << "record at " << at;
        last = u32(at);
        at += size;
        ++records;
    }
    EXPECT_EQ(at, bytes.size());
    EXPECT_EQ(last, 14u);
    EXPECT_EQ(u32(52), static_cast<std::uint32_t>(records)) << "the header's record count";
    EXPECT_GT(records, 50) << "the model's shapes, axes and texts";
}
