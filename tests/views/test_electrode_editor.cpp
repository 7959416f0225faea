// The electrode editor on the main window: its rows through several data sets, the chosen measurement's
// marks on both views and their removal at closing, the current row's colour, a pick on the data graphs,
// a new survey while it is shown, and dU corrections typed into the grid (refused out of range, as text,
// in modelling mode and during a run).
#include "MainWindowFixture.h"
#include "tests/grid/GridHosts.h"
#include "tests/views/DialogTestSupport.h"

#include "chart/series/SeriesLine.h"
#include "grid/ExtGrid.h"
#include "views/EditUnit.h"
#include "views/PseudoSection2d.h"

#include <algorithm>

namespace {

class ElectrodeEditor : public MainWindow {
protected:
    TEditForm& Editor() { return *Form->EditForm; }
    TExtStringGrid& Grid() { return *Form->EditForm->ExtStringGrid1; }
    int Markers() { return Form->PseudoSection2d1->MarkerSeries->PointCount(); }
    // The model view's electrode marks drawn blue.
    int BlueElectrodes()
    {
        const TPointSeries& e = Form->PolygonChart1->ElectrodeSeries();
        int blue = 0;
        for (int i = 0; i < e.PointCount(); ++i) blue += e.PointColor(i) == clBlue;
        return blue;
    }
    // Types into the current cell of the grid and presses Enter.
    void TypeCell(int row, const std::string& text)
    {
        TExtStringGrid& g = Grid();
        g.SetRow(row);
        g.SetCol(3);
        g.SetFocus();
        gridtest::Type(g.Widget(), text.substr(0, 1));
        if (!g.EditorMode() || !g.InplaceEditor()) return;
        QWidget* e = g.InplaceEditor()->Widget();
        gridtest::Type(e, text.substr(1));
        gridtest::Key(e, Qt::Key_Return, Qt::NoModifier, "\r");
        // A refused text leaves the editor open on the cell's former text.
        if (g.EditorMode() && g.InplaceEditor())
            gridtest::Key(g.InplaceEditor()->Widget(), Qt::Key_Escape, Qt::NoModifier, "\x1b");
    }
};

osource DataSet(int count, double first)
{
    osource d;
    for (int i = 0; i < count; ++i) {
        d.P1x.push_back(first + 10 * i);
        d.P2x.push_back(first + 10 * i + 5);
        d.Observed.push_back(i + 0.125);
        d.ObservedPresent.push_back(i != 1);
    }
    return d;
}

} // namespace

TEST_F(ElectrodeEditor, RowsRunThroughTheDataSetsInOrder)
{
    Start();
    TSurveyState& s = Form->Survey;
    s.DataSets = Asource{DataSet(4, 0), DataSet(2, 100), DataSet(5, 200)};
    s.DataLoaded = true;
    Form->SpeedButton5Click();
    TExtStringGrid& g = Grid();
    EXPECT_TRUE(Editor().isVisible());
    EXPECT_EQ(Editor().Caption(), "Electrode editor");
    ASSERT_EQ(g.RowCount(), 12);
    EXPECT_EQ(g.ColCount(), 4);
    EXPECT_EQ(g.Row(), 1);
    const std::vector<std::string> headers = {"ID", "P1", "P2", "dU"};
    for (int c = 0; c < 4; ++c) EXPECT_EQ(g.Cells(c, 0), headers[c]);
    for (int k = 1; k <= 11; ++k) EXPECT_EQ(g.Cells(0, k), std::to_string(k));
    EXPECT_EQ(g.Cells(1, 5), "100") << "row 5 is the second set's first";
    EXPECT_EQ(g.Cells(2, 7), "205");
    EXPECT_EQ(g.Cells(3, 4), FormatValue(3.125, 4)) << "dU with two more decimals";
    EXPECT_EQ(g.Cells(3, 4), "3.12500");
    EXPECT_EQ(g.Cells(3, 6), "*") << "a measurement without dU";
}

TEST_F(ElectrodeEditor, AChosenRowMarksBothViewsUntilTheEditorCloses)
{
    Start();
    OpenSample();
    Form->SpeedButton5Click();
    TExtStringGrid& g = Grid();
    EXPECT_EQ(g.RowCount(), MeasurementCount(Form->Survey) + 1);
    g.SetRow(5);
    EXPECT_EQ(Markers(), 2) << "p1 and p2 on the data view";
    EXPECT_EQ(BlueElectrodes(), 2) << "the two electrodes blue on the model view";
    const osource& d = Form->Survey.DataSets[0];
    EXPECT_EQ(Form->PseudoSection2d1->MarkerSeries->XValueAt(0), d.P1x[4]);

    // The current row in its colour, every normal cell of it.
    PumpEvents();
    g.Invalidate();
    g.Update();
    const int y = g.CellRect(1, 5).Top + 3;
    for (int c = 1; c < 4; ++c) EXPECT_EQ(g.Canvas().GetPixel(g.CellRect(c, 5).Left + 3, y), 0x90FFFFu) << c;
    EXPECT_EQ(g.Canvas().GetPixel(g.CellRect(1, 6).Left + 3, g.CellRect(1, 6).Top + 3), 0xFFFFFFu);

    Editor().close();
    EXPECT_EQ(Markers(), 0);
    EXPECT_EQ(BlueElectrodes(), 0);
}

TEST_F(ElectrodeEditor, APickOnTheDataGraphsMovesTheRowAndTheMarksStay)
{
    Start();
    OpenSample();
    Form->SpeedButton5Click();
    TPseudoSection2d& view = *Form->PseudoSection2d1;
    TChartSeries* observed = nullptr;
    for (int i = 0; i < view.CountSeries() && !observed; ++i)
        if (view.SeriesAt(i)->PointCount() == MeasurementCount(Form->Survey) && view.SeriesAt(i)->ShowInLegend())
            observed = view.SeriesAt(i);
    ASSERT_NE(observed, nullptr);
    Form->Chart1ClickSeries(&view, observed, 7, mbLeft, {}, 0, 0);
    Form->Chart1MouseUp();
    EXPECT_EQ(Grid().Row(), Form->GlobalRowIndex(Form->SelectedSet, Form->SelectedRow) + 1);
    EXPECT_GT(Grid().Row(), 1);
    EXPECT_EQ(Markers(), 2) << "the marks stay after the release while the editor is shown";
    Editor().close();
    Form->Chart1ClickSeries(&view, observed, 7, mbLeft, {}, 0, 0);
    Form->Chart1MouseUp();
    EXPECT_EQ(Markers(), 0) << "without the editor the release takes them away";
}

TEST_F(ElectrodeEditor, ANewSurveyRefillsTheShownEditor)
{
    Start();
    OpenSample();
    Form->SpeedButton5Click();
    Grid().SetCellValue(3, 2, "stale");
    Grid().SetRow(4);
    OpenSample();
    EXPECT_EQ(Grid().Cells(3, 2), FormatValue(Form->Survey.DataSets[0].Observed[1], 4));
    EXPECT_EQ(Grid().Row(), 1);
}

TEST_F(ElectrodeEditor, DUCorrectionsAsTyped)
{
    Start();
    OpenSample();
    Form->SpeedButton5Click();
    Editor().activateWindow();
    PumpEvents();
    osource& d = Form->Survey.DataSets[0];
    const TChartSeries* observed = nullptr;
    TPseudoSection2d& view = *Form->PseudoSection2d1;
    for (int i = 0; i < view.CountSeries() && !observed; ++i)
        if (view.SeriesAt(i)->PointCount() == d.Observed.Length() && view.SeriesAt(i)->ShowInLegend())
            observed = view.SeriesAt(i);
    ASSERT_NE(observed, nullptr);

    TypeCell(3, "1,5");
    EXPECT_EQ(d.Observed[2], 1.5);
    EXPECT_EQ(Grid().Cells(3, 3), "1,5");
    EXPECT_EQ(observed->YValueAt(2), 1.5) << "the graphs drawn anew";
    EXPECT_EQ(Markers(), 2);
    for (const char* refused : {"100001", "x"}) {
        TypeCell(3, refused);
        EXPECT_EQ(d.Observed[2], 1.5) << refused;
        EXPECT_EQ(Grid().Cells(3, 3), "1,5") << refused << ": the cell keeps its text";
    }
    // Only the dU column takes edits (row 3, column 2 here).
    bool can = true;
    Grid().OnCanEditCell(nullptr, 3, 2, can);
    EXPECT_FALSE(can);

    // During a run no value changes.
    std::string value = "7";
    bool valid = true;
    Form->BeforeStep = [&](int) {
        if (!valid) return;
        Grid().OnCellValidate(nullptr, 3, 3, value, valid);
    };
    Form->SpeedButton6Click();
    EXPECT_FALSE(valid);
    EXPECT_EQ(d.Observed[2], 1.5);
}

TEST_F(ElectrodeEditor, InModellingModeTheDUColumnIsNotEditable)
{
    Start();
    OpenSample();
    // Opened again in modelling mode: no observed data, the model computed.
    Form->Openinmodelingmode1Click();
    OpenSample();
    ASSERT_FALSE(Form->Survey.DataLoaded);
    ASSERT_TRUE(Form->Survey.ModelReady);
    Form->SpeedButton5Click();
    Editor().activateWindow();
    PumpEvents();
    EXPECT_TRUE(Editor().isVisible()) << "the editor opens after the forward run";
    const double before = Form->Survey.DataSets[0].Observed[0];
    bool can = true;
    Grid().OnCanEditCell(nullptr, 1, 3, can);
    EXPECT_FALSE(can);
    TypeCell(1, "5");
    EXPECT_FALSE(Grid().EditorMode());
    EXPECT_EQ(Form->Survey.DataSets[0].Observed[0], before);
}
