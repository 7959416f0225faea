// The main window's data services: the data graphs in both views, the Data menu, electrode marks and
// measurement markers, row lookup and the model constructor's run.
#include "views/ResMainFormData.h"

#include "chart/control/Chart.h"
#include "chart/series/Series.h"
#include "platform/controls/Menus.h"
#include "platform/controls/ComCtrls.h"
#include "core/SurveyPrepare.h"
#include "core/SyntheticSurvey.h"
#include "views/Dearsetup.h"
#include "views/ModelConstruct.h"
#include "views/PolygonChart.h"
#include "views/PseudoSection2d.h"
#include "views/ResMainForm.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr TColor MarkColor = clBlue; // picked electrodes and their markers
constexpr TColor DefaultPointColor = clDefault;

struct TCurveTitles {
    const char* Observed;
    const char* Calculated;
};
const TCurveTitles DuTitles{"<font name=arial>dU<font name=arial size=-2>obs",
                            "<font name=arial>dU<font name=arial size=-2>calc"};
const TCurveTitles PotentialTitles{"<font name=arial>U<font name=arial size=-2>obs",
                                   "<font name=arial>U<font name=arial size=-2>calc"};

bool Usable(double v) { return v != MissingValue && !std::isnan(v); }

bool ObservedGiven(const osource& set, int k)
{
    return k >= set.ObservedPresent.Length() || set.ObservedPresent[k];
}

void PrepareForGraphs(TPseudoSection2d& data, const TChart& modelView)
{
    data.MarkerSeries->ClearPoints();
    data.MarkerSeries->SetActive(true);
    data.StationSeries->SetActive(false);
    data.GridSeries->ClearPoints();
    data.LeftAxis().Title().SetCaption(" ");
    const std::string title = "Self-Potential data";
    data.Title().SetTextLine(&title);
    data.BottomAxis().SetFixedRange(modelView.BottomAxis().Minimum(), modelView.BottomAxis().Maximum());
}

void AddDuCurves(const osource& set, TLineSeries& observed, TLineSeries& calculated)
{
    for (int k = 0; k < set.Observed.Length(); ++k) {
        const double w = set.Weight[k];
        const std::string label = w == 1.0 ? std::string() : FormatValue(w, 0, true);
        const double x = (set.P1x[k] + set.P2x[k]) / 2;
        if (ObservedGiven(set, k)) observed.InsertPoint(x, set.Observed[k], label, DefaultPointColor);
        if (Usable(set.Calculated[k])) calculated.InsertPoint(x, set.Calculated[k], label, DefaultPointColor);
    }
}

struct TPotentialPoint {
    double X, U;
};

// The potential at each electrode of a run from the null point: a run ends at the first measurement it
// cannot add (a dU the survey did not give, a calculated value that is missing).
struct TPotentialRuns {
    std::vector<TPotentialPoint> ObservedForward, ObservedBackward, CalculatedForward, CalculatedBackward;
};

TPotentialRuns PotentialRuns(const osource& set, int i0, bool withObserved)
{
    TPotentialRuns runs;
    const int m = set.Observed.Length();
    double so = 0, sc = 0;
    bool observedOn = withObserved, calculatedOn = true;
    for (int k = i0; k < m; ++k) {
        observedOn = observedOn && ObservedGiven(set, k);
        calculatedOn = calculatedOn && Usable(set.Calculated[k]);
        if (!observedOn && !calculatedOn) break;
        so += set.Observed[k];
        sc += set.Calculated[k];
        if (observedOn) runs.ObservedForward.push_back({set.P2x[k], so});
        if (calculatedOn) runs.CalculatedForward.push_back({set.P2x[k], sc});
    }
    so = sc = 0;
    observedOn = withObserved;
    calculatedOn = true;
    for (int k = i0 - 1; k >= 0; --k) {
        observedOn = observedOn && ObservedGiven(set, k);
        calculatedOn = calculatedOn && Usable(set.Calculated[k]);
        if (!observedOn && !calculatedOn) break;
        so -= set.Observed[k];
        sc -= set.Calculated[k];
        if (observedOn) runs.ObservedBackward.push_back({set.P1x[k], so});
        if (calculatedOn) runs.CalculatedBackward.push_back({set.P1x[k], sc});
    }
    return runs;
}

// The backward run goes in first and last to first, so that points mostly arrive in ascending x and the
// series keeps its order without moving what it holds.
void AddRuns(TLineSeries& series, const std::vector<TPotentialPoint>& forward,
             const std::vector<TPotentialPoint>& backward)
{
    for (auto p = backward.rbegin(); p != backward.rend(); ++p) series.InsertPoint(p->X, p->U, {}, DefaultPointColor);
    for (const TPotentialPoint& p : forward) series.InsertPoint(p.X, p.U, {}, DefaultPointColor);
}

// The null point names a row of the set.
bool NullPointIsRow(const TSurveyState& s, const osource& set)
{
    return s.NullPointIndex >= 0 && s.NullPointIndex < set.P1.Length();
}

} // namespace

std::string CalculatedCurveTitle(int dataType, bool old)
{
    const TCurveTitles& titles = dataType == 1 ? PotentialTitles : DuTitles;
    // The mark in the subscript's small font: the legend has little room beside the plot.
    return std::string(titles.Calculated) + (old ? OldResultsMark : "");
}

void ShowDataGraphs(const TSurveyState& s, TPseudoSection2d& data, const TChart& modelView, bool calculatedOld)
{
    TLineSeries& observed = *data.Series1;
    TLineSeries& calculated = *data.Series2;
    const TCurveTitles& titles = s.DataType == 1 ? PotentialTitles : DuTitles;
    observed.SetTitle(titles.Observed);
    calculated.SetTitle(CalculatedCurveTitle(s.DataType, calculatedOld));
    PrepareForGraphs(data, modelView);
    observed.ClearPoints();
    calculated.ClearPoints();
    if (s.DataSets.Length() == 0) return;
    const osource& set = s.DataSets[0];
    if (s.DataType != 1) {
        AddDuCurves(set, observed, calculated);
        return;
    }
    // A null point beyond the set (M, the end, is one) draws what lies on its side.
    if (s.NullPointIndex < 0 || s.NullPointIndex > set.Observed.Length()) return;
    const TPotentialRuns runs = PotentialRuns(set, s.NullPointIndex, s.DataLoaded);
    AddRuns(observed, runs.ObservedForward, runs.ObservedBackward);
    AddRuns(calculated, runs.CalculatedForward, runs.CalculatedBackward);
}

void UpdateDataMenu(const TSurveyState& s, TMenuItem& du, TMenuItem& potential, TMenuItem& pointIndex)
{
    du.SetChecked(s.DataType == 0);
    potential.SetChecked(s.DataType == 1);
    pointIndex.SetCaption("Point index " + std::to_string(s.NullPointIndex));
}

void ShowElectrodeMarks(const TSurveyState& s, TPointSeries& electrodes)
{
    if (!s.SurveyReady) return;
    electrodes.Pointer().SetVisible(true);
    const int n = s.Electrodes.Length();
    bool same = electrodes.PointCount() == n;
    for (int i = 0; same && i < n; ++i)
        same = electrodes.XValues().ValueAt(i) == s.Electrodes[i].x && electrodes.YValues().ValueAt(i) == s.Electrodes[i].z;
    if (same) return;
    electrodes.SetActive(true);
    electrodes.ClearPoints();
    for (const TElectrode& e : s.Electrodes) electrodes.InsertPoint(e.x, e.z, {}, clBlack);
}

void HighlightElectrodes(const TSurveyState& s, TPointSeries& electrodes, int set, int row)
{
    for (int i = 0; i < electrodes.PointCount(); ++i) electrodes.StorePointColor(i, clBlack);
    const osource& data = s.DataSets[set];
    int p1 = NoElectrode;
    if (s.DataType != 1)
        p1 = data.P1[row];
    else if (NullPointIsRow(s, data))
        p1 = data.P1[s.NullPointIndex];
    if (p1 != NoElectrode) electrodes.StorePointColor(p1, MarkColor);
    const int p2 = data.P2[row];
    if (p2 != NoElectrode) electrodes.StorePointColor(p2, MarkColor);
}

void MarkMeasurementElectrodes(const TSurveyState& s, TPseudoSection2d& data, TPointSeries& electrodes, int set,
                               int row)
{
    TPointSeries& markers = *data.MarkerSeries;
    const double y = data.LeftAxis().Maximum();
    markers.ClearPoints();
    if (set == -1 && row == -1) {
        for (int i = 0; i < electrodes.PointCount(); ++i) electrodes.StorePointColor(i, clBlack);
        return;
    }
    const osource& d = s.DataSets[set];
    double x1 = MissingValue;
    if (s.DataType != 1)
        x1 = d.P1x[row];
    else if (NullPointIsRow(s, d))
        x1 = d.P1x[s.NullPointIndex];
    if (x1 != MissingValue) markers.InsertPoint(x1, y, "p1", MarkColor);
    const double x2 = d.P2x[row];
    if (x2 != MissingValue) markers.InsertPoint(x2, y, "p2", MarkColor);
    HighlightElectrodes(s, electrodes, set, row);
}

int GlobalRowIndex(const TSurveyState& s, int set, int row)
{
    int index = row;
    for (int i = 0; i < set; ++i) index += s.DataSets[i].Observed.Length();
    return index;
}

void LocateRow(const TSurveyState& s, int index, int& set, int& row)
{
    set = -1;
    row = -1;
    if (index < 0) return;
    for (int i = 0; i < s.DataSets.Length(); ++i) {
        const int rows = s.DataSets[i].Observed.Length();
        if (index < rows) {
            set = i;
            row = index;
            return;
        }
        index -= rows;
    }
}

namespace {

// The electrode span, widened to a relief of more than two points; half as deep as it is wide.
void ProposeBox(const TSurveyState& s, TModConstr& d)
{
    if (s.ElectrodePositions.Length() == 0) return;
    double left = s.ElectrodePositions[0];
    double right = s.ElectrodePositions[s.ElectrodePositions.Length() - 1];
    const arofcomplexM& topo = s.Topography;
    if (topo.Length() > 2) {
        left = std::min(left, topo[0].x);
        right = std::max(right, topo[topo.Length() - 1].x);
    }
    d.LeftEdge = left;
    d.RightEdge = right;
    d.Bottom = std::fabs(right - left) / 2;
}

} // namespace

TModalResult RunModelConstructor(TSurveyState& s, std::unique_ptr<TModConstr>& dialog, TPseudoSection2d& data,
                                 const TModelViewLink& model, bool newModel)
{
    if (dialog && !newModel) {
        const TModelBox box = model.Box();
        dialog->LeftEdge = box.XMin;
        dialog->RightEdge = box.XMax;
        dialog->Bottom = box.ZMax;
    } else {
        if (!dialog) dialog = std::make_unique<TModConstr>();
        ProposeBox(s, *dialog);
    }
    dialog->StartResistivity = s.StartResistivity;
    dialog->Unused = 0;
    TModConstr& d = *dialog;
    // A refused "Ok" has read its edits already: Cancel goes back to what the dialog was given.
    const double prepared[] = {d.StartResistivity, d.LeftEdge, d.RightEdge, d.Bottom};
    d.ShowValues();
    d.hide();
    const TModalResult result = d.ShowModal();
    if (result != mrOk) {
        d.StartResistivity = prepared[0];
        d.LeftEdge = prepared[1];
        d.RightEdge = prepared[2];
        d.Bottom = prepared[3];
    }
    if (result == mrOk || newModel) {
        s.StartResistivity = d.StartResistivity;
        model.SetRho0(d.StartResistivity);
        model.SetRelief(s.Topography);
        model.SetModelBox(!newModel, d.LeftEdge, d.RightEdge, 0.0, d.Bottom);
        if (newModel)
            model.CreateFrameModel(s.Topography, s.Topography.Length() > 2, d.LeftEdge, d.RightEdge, 0.0, d.Bottom);
    }
    const TChartAxis& bottom = model.Chart->BottomAxis();
    data.BottomAxis().SetFixedRange(bottom.Minimum(), bottom.Maximum());
    return result;
}

// ---- The main window's methods over the services ----------------------------------------------------

void TMainForm::ShowDataGraphs(bool) { ::ShowDataGraphs(Survey, *PseudoSection2d1, *PolygonChart1, FResultsOld); }

void TMainForm::UpdateDataMenu() { ::UpdateDataMenu(Survey, *Apparentresistivity1, *Resistanse1, *Pointindex1); }

void TMainForm::ShowElectrodeMarks() { ::ShowElectrodeMarks(Survey, PolygonChart1->ElectrodeSeries()); }

void TMainForm::HighlightElectrodes(int set, int row)
{
    ::HighlightElectrodes(Survey, PolygonChart1->ElectrodeSeries(), set, row);
}

void TMainForm::MarkMeasurementElectrodes(int set, int row)
{
    ::MarkMeasurementElectrodes(Survey, *PseudoSection2d1, PolygonChart1->ElectrodeSeries(), set, row);
}

int TMainForm::GlobalRowIndex(int set, int row) const { return ::GlobalRowIndex(Survey, set, row); }

void TMainForm::LocateRow(int index, int& set, int& row) const { ::LocateRow(Survey, index, set, row); }

TModalResult TMainForm::RunModelConstructor(bool newModel)
{
    return ::RunModelConstructor(Survey, ModConstr, *PseudoSection2d1, LinkModelView(*PolygonChart1), newModel);
}

void TMainForm::Newmodel1Click()
{
    if (FBusy) return;
    if (!Defarray) Defarray = std::make_unique<TDefarray>(ControlWidget(this), Survey);
    if (Defarray->ShowModal() == mrOk) {
        // A made survey has no file whose lines could have failed.
        FOpenMessage.clear();
        Survey.Topography = arofcomplexM{};
        Survey.SlopeTopography = false;
        Survey.TopoReference.x = MissingValue;
        CreateSyntheticSurvey(Survey);
        Survey.DataLoaded = false;
        Survey.ModelReady = true;
        PrepareSurvey(Survey, PolygonChart1->Model.ModelBox.ZMax);
        Survey.DataLoaded = false;
        SetPlotMode();
        prepaxises();
        Survey.StartResistivity = 10.0;
        // The data view becomes an empty section with its legend beside the plot.
        PseudoSection2d1->ClearSection();
        PseudoSection2d1->RebuildSection(true);
        PseudoSection2d1->RefreshImage();
        PseudoSection2d1->PlaceLegend();
        PseudoSection2d1->Title().ClearText();
        Survey.Topography = arofcomplexM{};
        PolygonChart1->SetRelief({});
        RunModelConstructor(true);
        Survey.SurveyReady = true;
        ShowElectrodeMarks();
        Settings.AddDataType = 0;
        FormResize();
        SpeedButton6Click();
        RefillElectrodeEditor();
    }
    ToolBar2->Show();
    Realign();
}
