// The main window's Options, Data and Advanced menus and the model view's pop-up: the data graph kind and
// its null point, the switches the next open applies (reversed line and its shift, real topographic
// elevations, extended nodes, modelling mode), the model constructor, and the model view's print preview,
// metafile picture, zoom and scroll, and equal scale.
#include "views/ResMainForm.h"

#include "chart/control/Chart.h"
#include "chart/control/LumPrevi.h"
#include "core/Supermath2d.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Menus.h"
#include "platform/controls/PopupMenu.h"
#include "platform/controls/Screen.h"
#include "platform/rtl/ConfigPaths.h"
#include "platform/rtl/PixelMath.h"
#include "views/PseudoSection2d.h"

#include <algorithm>
#include <limits>

// ---- Options and Data -------------------------------------------------------------------------------------

void TMainForm::Options1Click() { UpdateDataMenu(); }

void TMainForm::Data1Click() { UpdateDataMenu(); }

void TMainForm::Newmodel2Click()
{
    if (FBusy || !Survey.ModelReady) return;
    // The constructor's box change ends an edit in progress first.
    PolygonChart1->ResetPendingEdit(PolygonChart1->EditMode);
    const bool applied = RunModelConstructor(false) == mrOk;
    // The new box is a step of the undo list: undoing a later edit keeps it.
    const bool changed = PolygonChart1->PushUndoIfChanged();
    // Its start resistivity or box make the results those of another model.
    if (applied || changed) MarkResultsOld(true);
}

namespace {

// The data graphs drawn twice, as the menu's switch of the graph kind does.
void RedrawDataGraphs(TMainForm& form)
{
    form.ShowDataGraphs();
    form.ShowDataGraphs();
}

} // namespace

void TMainForm::Apparentresistivity1Click()
{
    if (Survey.DataType == 0) return;
    Survey.DataType = 0;
    SetPlotMode();
    RedrawDataGraphs(*this);
}

void TMainForm::Resistanse1Click()
{
    if (Survey.DataType == 1) return;
    Survey.DataType = 1;
    SetPlotMode();
    RedrawDataGraphs(*this);
}

void TMainForm::Pointindex1Click()
{
    // Cancel gives the text shown back, so the index stays; text that is no number gives the missing
    // value's 123456789.
    const std::string answer = InputBox("Enter null point", "", std::to_string(Survey.NullPointIndex));
    const double rounded = RoundHalfEven(StrToValue(answer));
    constexpr double lo = std::numeric_limits<std::int32_t>::min(), hi = std::numeric_limits<std::int32_t>::max();
    Survey.NullPointIndex = static_cast<std::int32_t>(std::clamp(rounded, lo, hi));
}

// ---- Advanced ---------------------------------------------------------------------------------------------

void TMainForm::Advanced1Click()
{
    Reversepseudosection1->SetCaption("Reverse line   " + FormatValue(Survey.LineShift));
}

void TMainForm::Reversepseudosection1Click()
{
    Reversepseudosection1->SetChecked(!Reversepseudosection1->Checked());
    Survey.ReverseLine = Reversepseudosection1->Checked();
    if (!Survey.ReverseLine) return;
    // Text that is no number keeps the shift: the missing value would move every x of the next open.
    const double shift = StrToValue(InputBox("Line shift", "", FormatValue(Survey.LineShift)));
    if (shift != MissingValue) Survey.LineShift = shift;
}

void TMainForm::Realtopocoordinates1Click()
{
    Realtopocoordinates1->SetChecked(!Realtopocoordinates1->Checked());
    Survey.RealTopoCoordinates = Realtopocoordinates1->Checked();
    if (!Survey.RealTopoCoordinates) {
        ShowDepthLabels(false, 0);
        return;
    }
    // The highest point of the topography, and at least the offset in use: a topography below 0 gives 0.
    double top = PolygonChart1->LeftAxis().LabelValueOffset;
    for (const complexM& p : Survey.Topography) top = std::max(top, p.z);
    ShowDepthLabels(true, -top);
}

void TMainForm::ShowDepthLabels(bool elevations, double offset)
{
    // A label shows scale x (depth + offset): with the offset minus the highest point and the scale -1 it
    // is that point's elevation less the depth, the height above the survey's datum.
    TChartAxis& left = PolygonChart1->LeftAxis();
    left.LabelValueOffset = offset;
    left.LabelValueScale = elevations ? -1.0 : 1.0;
    PolygonChart1->Invalidate();
}

void TMainForm::Extendednodes1Click()
{
    Extendednodes1->SetChecked(!Extendednodes1->Checked());
    Survey.ExtendedNodes = Extendednodes1->Checked();
}

void TMainForm::Openinmodelingmode1Click()
{
    Openinmodelingmode1->SetChecked(!Openinmodelingmode1->Checked());
    Survey.OpenInModelingMode = Openinmodelingmode1->Checked();
}

// ---- The model view's pop-up ------------------------------------------------------------------------------

void TMainForm::CreateModelViewMenu()
{
    PopupMenu1 = new TPopupMenu(this);
    PopupMenu1->SetName("PopupMenu1");
    auto item = [this](const char* name, const char* caption, std::function<void()> handler, bool enabled = true) {
        auto* m = new TMenuItem(this);
        m->SetName(name);
        m->SetCaption(caption);
        m->SetEnabled(enabled);
        if (handler) m->OnClick = [handler](TPersistent*) { handler(); };
        PopupMenu1->Items().Add(m);
        return m;
    };
    Setup1 = item("Setup1", "Setup", [this] { Setup1Click(); });
    Printpreview2 = item("Printpreview2", "Print preview", [this] { Printpreview2Click(); });
    Savepicture1 = item("Savepicture1", "Save picture", [this] { Savepicture1Click(); });
    ZoomScroll1 = item("ZoomScroll1", "Zoom&&Scroll Z", [this] { ZoomScroll1Click(); });
    Equalscale1 = item("Equalscale1", "Equal scale", [this] { Equalscale1Click(); });
    SavePictureDialog.Filter = "Meta files [*.emf]|*.emf";
}

void TMainForm::PolygonChart1DblClick()
{
    TPolygonChart& view = *PolygonChart1;
    const TRect& plot = view.ChartRect();
    const bool inside = view.MouseX >= plot.Left && view.MouseX <= plot.Right && view.MouseY >= plot.Top &&
                        view.MouseY <= plot.Bottom;
    if (inside) {
        if (!FBusy) view.EditBodyAt();
        return;
    }
    ZoomScroll1->SetChecked(view.ZoomAllowed());
    Equalscale1->SetChecked(view.EqualScale);
    const TPoint at = Screen->CursorPos();
    PopupMenu1->Popup(at.x, at.y);
}

void TMainForm::Printpreview2Click() { ShowChartPreview(ControlWidget(this), PolygonChart1); }

void TMainForm::Savepicture1Click()
{
    if (!ExecuteSaveDialog(this, SavePictureDialog)) return;
    const std::string path = ChangeFileExt(SavePictureDialog.FileName, ".emf");
    try {
        PolygonChart1->SaveMetafileFile(path);
    } catch (const Exception&) {
        ShowMessage("Cannot write file " + path);
    }
}

void TMainForm::ZoomScroll1Click()
{
    TPolygonChart& view = *PolygonChart1;
    view.SetCancelMouse(true);
    view.SetZoomAllowed(!view.ZoomAllowed());
    view.SetAllowPanning(view.ZoomAllowed() ? pmBoth : pmNone);
}

void TMainForm::Equalscale1Click()
{
    TPolygonChart& view = *PolygonChart1;
    view.EqualScale = !view.EqualScale;
    if (!view.EqualScale) view.LeftAxis().SetMaximum(view.Model.ModelBox.ZMax);
    view.UpdatePixelScales();
    view.Invalidate();
}
