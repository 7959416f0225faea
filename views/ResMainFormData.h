// The main window's services that tie the survey to its two views: the data graphs and the Data menu,
// the electrode marks and the picked measurement's markers, the lookup between a running measurement
// number and (data set, row), and the model constructor. They take the survey and the views as arguments,
// so that the window's methods and the tests call the same entries.
#pragma once

#include "core/Polygons.h"
#include "core/SurveyData.h"
#include "platform/controls/Prompter.h"

#include <functional>
#include <memory>
#include <string>

class TChart;
class TMenuItem;
class TModConstr;
class TPointSeries;
class TPseudoSection2d;

// The model view as these services use it; LinkModelView makes one from the view.
struct TModelViewLink {
    TChart* Chart = nullptr;             // its bottom axis gives the data view its x range
    TPointSeries* Electrodes = nullptr;  // one point per electrode, in index order
    std::function<TModelBox()> Box;
    std::function<void(double)> SetRho0;
    std::function<void(const arofcomplexM&)> SetRelief;
    std::function<void(bool keepFrame, double xmin, double xmax, double zmin, double zmax)> SetModelBox;
    std::function<void(const arofcomplexM& relief, bool reliefPresent, double xmin, double xmax, double zmin,
                       double zmax)>
        CreateFrameModel;
};

template <class TModelView>
TModelViewLink LinkModelView(TModelView& view)
{
    TModelViewLink link;
    link.Chart = &view;
    link.Electrodes = &view.ElectrodeSeries();
    link.Box = [&view] { return view.Model.ModelBox; };
    link.SetRho0 = [&view](double rho) { view.Model.Rho0 = rho; };
    link.SetRelief = [&view](const arofcomplexM& r) { view.SetRelief(r); };
    link.SetModelBox = [&view](bool keep, double a, double b, double c, double d) { view.SetModelBox(keep, a, b, c, d); };
    link.CreateFrameModel = [&view](const arofcomplexM& r, bool p, double a, double b, double c, double d) {
        view.CreateFrameModel(r, p, a, b, c, d);
    };
    return link;
}

// After the misfit, and after the calculated curve's legend entry, while the model has changed since the
// run that computed them.
inline constexpr const char* OldResultsMark = " (old)";

// The observed and calculated curves of the first data set in the survey's view ("DU" or "Potential"),
// the data view set up for plain graphs, its x range that of the model view's bottom axis; with
// `calculatedOld` the calculated curve's title carries OldResultsMark.
void ShowDataGraphs(const TSurveyState& s, TPseudoSection2d& data, const TChart& modelView,
                    bool calculatedOld = false);
// The calculated curve's title of the data type (1 "Potential", else "DU"), marked when old.
std::string CalculatedCurveTitle(int dataType, bool old);

// "DU" and "Potential" checked by the view, "Point index N" by the null point.
void UpdateDataMenu(const TSurveyState& s, TMenuItem& du, TMenuItem& potential, TMenuItem& pointIndex);

// One black mark per electrode at (x, z); marks that already stand where the electrodes are stay, with
// their colours. Nothing before a survey exists.
void ShowElectrodeMarks(const TSurveyState& s, TPointSeries& electrodes);
// Every mark black, then the measurement's two electrodes blue (P1 of the null point in the "Potential"
// view, none when the null point names no row).
void HighlightElectrodes(const TSurveyState& s, TPointSeries& electrodes, int set, int row);
// "p1" and "p2" in blue at the data view's left-axis maximum over the measurement's electrodes, and
// HighlightElectrodes. (-1, -1) clears the markers and turns every electrode black.
void MarkMeasurementElectrodes(const TSurveyState& s, TPseudoSection2d& data, TPointSeries& electrodes, int set,
                               int row);

// The running number of a row over all data sets, and back; (-1, -1) for a number of no row.
int GlobalRowIndex(const TSurveyState& s, int set, int row);
void LocateRow(const TSurveyState& s, int index, int& set, int& row);

// Fills the dialog (made on first use and kept in `dialog`) with the start resistivity and a box (the
// model's, or for a new model the electrode span widened by a relief of more than two points, half as
// deep as wide), shows it, and applies its values on OK, and for a new model also on Cancel (then the
// values it was filled with): start resistivity, relief, box and for a new model the frame model. The
// data view's bottom axis then takes the model view's range. Returns the dialog's result.
TModalResult RunModelConstructor(TSurveyState& s, std::unique_ptr<TModConstr>& dialog, TPseudoSection2d& data,
                                 const TModelViewLink& model, bool newModel);
