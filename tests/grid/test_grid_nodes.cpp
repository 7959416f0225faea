// Row nodes: contracting and expanding groups by span, up to the next node and nested, ExpandOne, the
// glyph band, the tree-line roles, and presses on node glyphs on the real control.
#include "GridHosts.h"

#include <gtest/gtest.h>

using namespace gridtest;

namespace {

// A grid whose column 1 holds each row's real index, so that the display order can be read back.
struct NodeHost {
    explicit NodeHost(int rows = 7)
    {
        Application->ProcessMessages();
        Window = std::make_unique<QWidget>();
        Window->setGeometry(40, 40, 400, 300);
        Grid = std::make_unique<TExtStringGrid>(nullptr);
        Grid->SetParentWidget(Window.get());
        Grid->SetBounds(0, 0, 400, 300);
        Grid->SetColCount(3);
        Grid->SetRowCount(rows);
        Grid->SetDefaultColWidth(60);
        Grid->SetDefaultRowHeight(20);
        for (int r = 0; r < rows; ++r) Grid->SetCells(1, r, std::to_string(r));
    }
    void Show()
    {
        Window->show();
        Window->activateWindow();
        Application->ProcessMessages();
    }
    // The real rows in display order.
    std::vector<int> Shown()
    {
        std::vector<int> v;
        for (int r = 0; r < Grid->RowCount(); ++r) v.push_back(std::stoi(Grid->Cells(1, r)));
        return v;
    }
    TExtStringGrid& G() { return *Grid; }
    std::unique_ptr<QWidget> Window;
    std::unique_ptr<TExtStringGrid> Grid;
};

using Rows = std::vector<int>;

} // namespace

TEST(GridNodes, SixRowExampleAndExpandOne)
{
    NodeHost h;
    TExtStringGrid& g = h.G();
    g.AddNode(1, 3);
    g.AddNode(4, 2);
    EXPECT_EQ(g.NodeRowCount(), 2);
    EXPECT_TRUE(g.HasNodes());
    g.ContractAllNodes();
    EXPECT_EQ(h.Shown(), (Rows{0, 1, 4, 6}));
    EXPECT_TRUE(g.NodeCollapsed(1));
    EXPECT_TRUE(g.NodeCollapsed(2));   // display row 2 is node 4
    g.ExpandNode(1);
    EXPECT_EQ(h.Shown(), (Rows{0, 1, 2, 3, 4, 6}));
    EXPECT_FALSE(g.NodeCollapsed(1));
    // With ExpandOne, expanding node 4 first contracts node 1.
    g.CellNode.ExpandOne = true;
    g.ExpandNode(4);
    EXPECT_EQ(h.Shown(), (Rows{0, 1, 4, 5, 6}));
    EXPECT_TRUE(g.NodeCollapsed(1));
    EXPECT_FALSE(g.NodeCollapsed(2));
    g.ExpandAllNodes();
    EXPECT_EQ(h.Shown(), (Rows{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_FALSE(g.NodeCollapsed(1));
    EXPECT_FALSE(g.NodeCollapsed(4));
}

TEST(GridNodes, SpanZeroReachesTheNextNode)
{
    NodeHost h;
    TExtStringGrid& g = h.G();
    g.AddNode(1, 0);
    g.AddNode(4, 0);
    g.ContractNode(1);
    EXPECT_EQ(h.Shown(), (Rows{0, 1, 4, 5, 6}));
    g.ContractNode(4);
    EXPECT_EQ(h.Shown(), (Rows{0, 1, 4}));
    g.ExpandNode(1);
    EXPECT_EQ(h.Shown(), (Rows{0, 1, 2, 3, 4}));
    g.ExpandNode(4);
    g.ContractAllNodes();
    EXPECT_EQ(h.Shown(), (Rows{0, 1, 4}));
    g.ExpandNode(4);
    EXPECT_EQ(h.Shown(), (Rows{0, 1, 4, 5, 6}));
}

TEST(GridNodes, RepeatedAndNonNodeOperationsChangeNothing)
{
    NodeHost h;
    TExtStringGrid& g = h.G();
    g.AddNode(1, 3);
    g.ExpandNode(1);   // already expanded
    EXPECT_EQ(h.Shown(), (Rows{0, 1, 2, 3, 4, 5, 6}));
    g.ContractNode(1);
    g.ContractNode(1);   // already contracted
    EXPECT_EQ(h.Shown(), (Rows{0, 1, 4, 5, 6}));
    g.ContractNode(5);   // no node
    g.ExpandNode(5);
    g.ContractNode(2);   // hidden, inside the group
    EXPECT_EQ(h.Shown(), (Rows{0, 1, 4, 5, 6}));
    EXPECT_FALSE(g.NodeCollapsed(3));
    EXPECT_EQ(g.NodeLevelOf(3), -1);
    EXPECT_EQ(g.NodeSpanOf(3), -1);
    EXPECT_EQ(g.NodeSpanOf(1), 3);
}

TEST(GridNodes, ContractedNestedNodeComesBackExpanded)
{
    NodeHost h(8);
    TExtStringGrid& g = h.G();
    g.AddNode(1, 5);       // rows 2..5
    g.AddNode(3, 2, 2);    // row 4
    g.ContractNode(3);
    EXPECT_EQ(h.Shown(), (Rows{0, 1, 2, 3, 5, 6, 7}));
    g.ContractNode(1);
    EXPECT_EQ(h.Shown(), (Rows{0, 1, 6, 7}));
    EXPECT_EQ(g.HiddenRowCount(), 4);
    g.ExpandNode(1);
    EXPECT_EQ(h.Shown(), (Rows{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_FALSE(g.NodeCollapsed(3));
    EXPECT_EQ(g.NodeLevelOf(3), 2);
}

TEST(GridNodes, GlyphBandAndTreeRoles)
{
    NodeHost h;
    TExtStringGrid& g = h.G();
    g.AddNode(2, 3, 2);
    struct Case {
        int X;
        bool Hit;
    };
    for (const Case c : {Case{16, false}, {17, true}, {24, true}, {31, true}, {32, false}, {0, false}})
        EXPECT_EQ(g.NodeGlyphHit(2, c.X), c.Hit) << c.X;
    EXPECT_FALSE(g.NodeGlyphHit(3, 20));   // not a node
    g.AddNode(4, 2, 1);
    g.CellProps(0, 3).NodeLevel = 2;
    g.CellProps(0, 5).NodeLevel = 1;
    EXPECT_EQ(g.RowNodeRole(2), 0);   // node
    EXPECT_EQ(g.RowNodeRole(1), 2);   // the next row's level is higher
    EXPECT_EQ(g.RowNodeRole(3), 1);   // next row (node 4, level 1) is lower
    EXPECT_EQ(g.RowNodeRole(5), 1);   // next row has no properties in column 0
    EXPECT_EQ(g.RowNodeRole(6), 1);   // last row
    g.CellProps(0, 6).NodeLevel = 1;
    EXPECT_EQ(g.RowNodeRole(5), 2);   // same level after it
}

TEST(GridNodes, PressesOnGlyphsExpandAndContract)
{
    NodeHost h;
    TExtStringGrid& g = h.G();
    g.SetColWidths(0, 40);
    g.AddNode(1, 3);
    g.AddNode(4, 2);
    h.Show();
    std::vector<std::string> log;
    bool allow = true;
    g.OnBeforeContractNode = [&](TPersistent*, int r, int real, bool& a) {
        log.push_back("before contract " + std::to_string(r) + "/" + std::to_string(real));
        a = allow;
    };
    g.OnContractNode = [&](TPersistent*, int r, int real) { log.push_back("contract " + std::to_string(r) + "/" + std::to_string(real)); };
    g.OnBeforeExpandNode = [&](TPersistent*, int r, int real, bool&) {
        log.push_back("before expand " + std::to_string(r) + "/" + std::to_string(real));
    };
    g.OnExpandNode = [&](TPersistent*, int r, int real) { log.push_back("expand " + std::to_string(r) + "/" + std::to_string(real)); };
    auto rowY = [&](int r) { return g.CellRect(0, r).Top + 5; };
    // Level 1: the band is 1..15 pixels.
    Click(h.Grid->Widget(), 8, rowY(4));
    EXPECT_EQ(h.Shown(), (Rows{0, 1, 2, 3, 4, 6}));
    Click(h.Grid->Widget(), 8, rowY(1));
    EXPECT_EQ(h.Shown(), (Rows{0, 1, 4, 6}));
    Click(h.Grid->Widget(), 8, rowY(2));   // node 4, shown at row 2
    EXPECT_EQ(h.Shown(), (Rows{0, 1, 4, 5, 6}));
    EXPECT_EQ(log, (std::vector<std::string>{"before contract 4/4", "contract 4/4", "before contract 1/1", "contract 1/1",
                                             "before expand 2/4", "expand 2/4"}));
    // Outside the band nothing happens, and column 0 of a grid with nodes takes no selection.
    const int row = g.Row();
    Click(h.Grid->Widget(), 20, rowY(1));
    EXPECT_EQ(h.Shown(), (Rows{0, 1, 4, 5, 6}));
    Click(h.Grid->Widget(), 30, rowY(3));
    EXPECT_EQ(g.Row(), row);
    EXPECT_NE(g.Col(), 0);
    // A refusal leaves the node as it was; with MoveRowOnNodeClick the row becomes current.
    allow = false;
    Click(h.Grid->Widget(), 8, rowY(2));
    EXPECT_EQ(h.Shown(), (Rows{0, 1, 4, 5, 6}));
    allow = true;
    g.MouseActions.MoveRowOnNodeClick = true;
    Click(h.Grid->Widget(), 8, rowY(2));
    EXPECT_EQ(h.Shown(), (Rows{0, 1, 4, 6}));
    EXPECT_EQ(g.Row(), 2);
}

TEST(GridNodes, HeaderNodeExpandsAndContractsAll)
{
    NodeHost h;
    TExtStringGrid& g = h.G();
    g.AddNode(0, 0);
    g.AddNode(1, 3);
    g.AddNode(4, 2);
    h.Show();
    const int y = g.CellRect(0, 0).Top + 5;
    Click(h.Grid->Widget(), 8, y);   // without NodeAllExpandContract nothing happens
    EXPECT_EQ(h.Shown(), (Rows{0, 1, 2, 3, 4, 5, 6}));
    g.MouseActions.NodeAllExpandContract = true;
    Click(h.Grid->Widget(), 8, y);
    EXPECT_EQ(h.Shown(), (Rows{0, 1, 4, 6}));
    EXPECT_TRUE(g.NodeCollapsed(0));
    Click(h.Grid->Widget(), 8, y);
    EXPECT_EQ(h.Shown(), (Rows{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_FALSE(g.NodeCollapsed(0));
}

TEST(GridNodes, EachNodeTypeDrawsItsStateAndTakesClicks)
{
    // With no indent for node levels the node column lies left of column 0 (NodeIndent pixels from its
    // left edge): the glyphs reaching into the cell show each state; the 3-D box and the soft-edged box
    // of cnGlyph without glyphs lie wholly left of it.
    struct Case {
        TNodeType Type;
        bool Glyphs;
        bool Shows;
    };
    for (const Case k : {Case{cnFlat, false, true}, {cn3D, false, false}, {cnGlyph, false, false}, {cnGlyph, true, true},
                         {cnLeaf, false, true}, {cnXP, false, true}}) {
        NodeHost h;
        TExtStringGrid& g = h.G();
        g.SetColWidths(0, 40);
        g.CellNode.SetNodeType(k.Type);
        if (k.Glyphs) {
            TBitmap open, shut;
            open.SetSize(16, 16);
            open.Canvas().Brush().SetColor(clWhite);
            open.Canvas().FillRect({0, 0, 16, 16});
            open.Canvas().Brush().SetColor(clGreen);
            open.Canvas().FillRect({13, 4, 16, 12});
            shut.Assign(open);
            shut.Canvas().Brush().SetColor(clRed);
            shut.Canvas().FillRect({13, 4, 16, 12});
            g.CellNode.SetExpandGlyph(open);
            g.CellNode.SetContractGlyph(shut);
        }
        g.AddNode(1, 3);
        h.Show();
        const TRect cell = g.CellRect(0, 1);
        auto picture = [&] {
            g.Invalidate();
            g.Update();
            std::vector<TColor> v;
            for (int y = cell.Top; y < cell.Bottom; ++y)
                for (int x = cell.Left; x < cell.Right; ++x) v.push_back(g.Canvas().GetPixel(x, y));
            return v;
        };
        const auto expanded = picture();
        Click(h.Grid->Widget(), 8, cell.Top + 5);
        EXPECT_TRUE(g.NodeCollapsed(1)) << k.Type;
        EXPECT_EQ(h.Shown(), (Rows{0, 1, 4, 5, 6})) << k.Type;
        const auto contracted = picture();
        EXPECT_EQ(contracted != expanded, k.Shows) << k.Type << " " << k.Glyphs;
        if (k.Glyphs) {
            EXPECT_EQ(g.Canvas().GetPixel(cell.Left + 2, cell.Top + 8), clRed);
        }
        Click(h.Grid->Widget(), 8, cell.Top + 5);
        EXPECT_FALSE(g.NodeCollapsed(1)) << k.Type;
        EXPECT_EQ(h.Shown(), (Rows{0, 1, 2, 3, 4, 5, 6})) << k.Type;
        EXPECT_EQ(picture(), expanded) << k.Type;
    }
}

TEST(GridNodes, NodeCountFollowsEveryChange)
{
    NodeHost h;
    TExtStringGrid& g = h.G();
    EXPECT_FALSE(g.HasNodes());
    g.AddNode(1, 2);
    g.AddNode(3, 2);
    EXPECT_EQ(g.NodeRowCount(), 2);
    g.ContractNode(1);   // row 2 leaves the grid, no node with it
    EXPECT_EQ(g.NodeRowCount(), 2);
    g.ExpandAllNodes();
    g.RemoveNode(3);
    EXPECT_EQ(g.NodeRowCount(), 1);
    g.AddNode(4, 0);
    g.ClearRowRange(4, 1);
    EXPECT_EQ(g.NodeRowCount(), 1);
    g.RemoveRows(1, 1);
    EXPECT_FALSE(g.HasNodes());
    g.AddCheckBox(0, 2, true, false);   // another graphic in column 0 is no node
    EXPECT_FALSE(g.HasNodes());
    g.AddNode(2, 1);
    EXPECT_TRUE(g.HasNodes());
}
