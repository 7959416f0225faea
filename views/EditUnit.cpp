// The electrode editor's form: its grid with the look and handlers of the editor, filling it from the
// survey, marking the chosen measurement, and taking a corrected dU into the survey.
#include "views/EditUnit.h"

#include "core/Supermath2d.h"
#include "grid/ExtGrid.h"
#include "views/ResMainForm.h"

#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int DUColumn = 3;
constexpr TColor CurrentRowColor = 0x90FFFF;

} // namespace

TEditForm::TEditForm(QWidget* owner, TMainForm& main)
    : TForm(owner), PageControl1(new QTabWidget), TabTable(new QWidget),
      ExtStringGrid1(std::make_unique<TExtStringGrid>(nullptr)), FMain(main)
{
    SetCaption("Electrode editor");
    setWindowFlag(Qt::Tool);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    PageControl1->addTab(TabTable, "Table");
    BuildGrid();
    auto* page = new QVBoxLayout(TabTable);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(ExtStringGrid1->Widget());
    auto* form = new QVBoxLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->addWidget(PageControl1);
    resize(303, 279);
    OnClose = [this](TForm*) { FormClose(); };
}

TEditForm::~TEditForm()
{
    // The grid's widget goes before the page that holds it.
    ExtStringGrid1.reset();
}

void TEditForm::BuildGrid()
{
    TExtStringGrid& g = *ExtStringGrid1;
    g.SetName("ExtStringGrid1");
    g.SetParentWidget(TabTable);
    g.BeginLoading();
    g.SetBorderStyle(bsNone);
    g.SetColCount(4);
    g.SetRowCount(2);
    g.SetDefaultColWidth(50);
    g.SetDefaultRowHeight(21);
    g.SetDefaultDrawing(false);
    g.Font().SetName("Tahoma");
    g.Font().SetHeight(-11);
    g.SetGridLineWidth(1);
    g.SetGridLineColor(clSilver);
    g.SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goEditing});
    g.SetScrollBars(ssVertical);
    g.SetScrollType(ssFlat);
    g.SetScrollWidth(16);
    g.SetScrollProportional(true);
    g.SetVAlignment(vtaCenter);
    g.SetWordWrap(false);
    g.EnableWheel = true;
    g.IntelliPan = ipVertical;
    g.HintColor = clYellow;
    g.SetSelectionColor(CurrentRowColor);
    g.SetSelectionTextColor(clNavy);
    g.SetSelectionRectangle(true);
    g.SelectionRTFKeep = true;
    g.SetLook(glXP);
    g.ControlLook.SetControlStyle(csWinXP);
    g.ControlLook.SetCheckSize(15);
    g.ControlLook.SetRadioSize(10);
    g.EnableHTML = true;
    g.FixedColAlways = true;
    g.FixedFont().SetName("MS Sans Serif");
    g.FixedFont().SetHeight(-11);
    g.FixedFont().SetStyle({});
    g.FloatFormat = "%.2f";
    g.SetColumnHeaders({""});
    g.PrintSettings.Borders = TPrintSettings::pbNoborder;
    g.PrintSettings.Centered = false;
    g.CellNode.SetNodeType(cnFlat);
    // Dropped files and text would change the grid but not the survey: neither is taken.
    g.DragDropSettings.OleAcceptFiles = false;
    g.DragDropSettings.OleAcceptText = false;
    g.SetFixedColWidth(34);
    g.SetFixedRowHeight(21);
    // The fixed column's width is a column width like the others (SetFixedColWidth acts only in design).
    const int widths[] = {34, 50, 50, 50};
    for (int c = 0; c < 4; ++c) g.SetColWidths(c, widths[c]);

    g.OnSelectCell = [this](TPersistent*, int col, int row, bool& can) {
        can = true;
        SelectCell(col, row);
    };
    g.OnRowChanging = [this](TPersistent*, int oldRow, int newRow, bool&) {
        ExtStringGrid1->RefreshRow(oldRow);
        ExtStringGrid1->RefreshRow(newRow);
    };
    // The whole current row in the selection colours, the others white.
    g.OnGetCellColor = [this](TPersistent*, int row, int col, TGridDrawState, TBrush& brush, TFont& font) {
        const TExtStringGrid& grid = *ExtStringGrid1;
        if (row < grid.FixedRows() || col < grid.FixedCols()) return;
        if (row == grid.Row()) {
            brush.SetColor(grid.SelectionColor());
            font.SetColor(grid.SelectionTextColor());
        } else {
            brush.SetColor(clWhite);
        }
    };
    g.OnGetAlignment = [](TPersistent*, int, int, TAlignment& horizontal, TVAlignment& vertical) {
        horizontal = taCenter;
        vertical = vtaCenter;
    };
    g.OnCanEditCell = [this](TPersistent*, int row, int col, bool& can) { can = CanEditCell(col, row); };
    g.OnCellValidate = [this](TPersistent*, int col, int row, std::string& value, bool& valid) {
        valid = ValidateCell(col, row, value);
    };
    g.Loaded();
}

bool TEditForm::LocateGridRow(int Row, int& Set, int& Index) const
{
    FMain.LocateRow(Row - 1, Set, Index);
    return Set >= 0 && Index >= 0;
}

void TEditForm::FillGrid()
{
    TExtStringGrid& g = *ExtStringGrid1;
    const TSurveyState& s = FMain.Survey;
    // Numbered as LocateRow and GlobalRowIndex number them: every observed entry of every set in order.
    int count = 0;
    for (const osource& d : s.DataSets) count += d.Observed.Length();
    g.SetRow(1);
    g.SetRowCount(std::max(2, count + 1));
    g.SetColCount(4);
    const char* headers[] = {"ID", "P1", "P2", "dU"};
    for (int c = 0; c < 4; ++c) g.SetCellValue(c, 0, headers[c]);
    if (count == 0)
        for (int c = 0; c < 4; ++c) g.SetCellValue(c, 1, "");
    int k = 0;
    for (const osource& d : s.DataSets)
        for (int r = 0; r < d.Observed.Length(); ++r, ++k) {
            const auto at = [](const arofdoubleM& a, int i) { return i < a.Length() ? a[i] : MissingValue; };
            const bool present = r < d.ObservedPresent.Length() ? bool(d.ObservedPresent[r]) : true;
            g.SetCellValue(0, k + 1, std::to_string(k + 1));
            g.SetCellValue(1, k + 1, FormatValue(at(d.P1x, r)));
            g.SetCellValue(2, k + 1, FormatValue(at(d.P2x, r)));
            g.SetCellValue(DUColumn, k + 1, present ? FormatValue(d.Observed[r], 4) : "*");
        }
}

void TEditForm::SelectRow(int Row)
{
    TExtStringGrid& g = *ExtStringGrid1;
    if (Row < 1 || Row >= g.RowCount()) return;
    g.SetRow(Row);
    // The row a pick chose is marked whether the grid asked its selection or not.
    SelectCell(g.Col(), Row);
}

void TEditForm::SelectCell(int, int Row)
{
    int set = -1, index = -1;
    // A row without a measurement marks nothing.
    if (!LocateGridRow(Row, set, index)) return;
    FMain.MarkMeasurementElectrodes(set, index);
}

bool TEditForm::CanEditCell(int Col, int Row) const
{
    int set = -1, index = -1;
    return FMain.Survey.DataLoaded && Col >= DUColumn && !FMain.Busy() && LocateGridRow(Row, set, index);
}

bool TEditForm::ValidateCell(int Col, int Row, const std::string& Value)
{
    TSurveyState& s = FMain.Survey;
    // A run works on the survey meanwhile: no value changes under it.
    if (!s.DataLoaded || FMain.Busy()) return false;
    int set = -1, index = -1;
    if (!LocateGridRow(Row, set, index)) return false;
    if (Col == DUColumn) {
        const double v = StrToValue(Value, true, -100000, 100000);
        if (v == MissingValue) return false;
        osource& d = s.DataSets[set];
        d.Observed[index] = v;
        // A value typed where the survey had none is an observed value from now on.
        if (index < d.ObservedPresent.Length()) d.ObservedPresent[index] = true;
    }
    FMain.ShowDataGraphs();
    FMain.ShowDataGraphs();
    FMain.MarkMeasurementElectrodes(set, index);
    return true;
}

void TEditForm::FormClose()
{
    // The marks of the chosen measurement go with the editor, on both views.
    FMain.MarkMeasurementElectrodes(-1, -1);
}
