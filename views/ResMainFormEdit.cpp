// The main window's keys, mouse and edit-mode buttons: the polygon tool buttons and their help texts,
// the temporary modes of Shift, Alt and Ctrl, undo and Esc, the forward run on Space, and the measurement
// picked on the data view with its electrode marks.
#include "views/ResMainForm.h"

#include "chart/control/Chart.h"
#include "chart/series/Series.h"
#include "core/Supermath2d.h"
#include "platform/controls/Buttons.h"
#include "views/PseudoSection2d.h"

#include <algorithm>

namespace {

struct TModeHelp {
    const char* Button;
    const char* Text;
};

// Per mode 0 .. 12: its button and the help text of status panel 5.
const TModeHelp ModeHelp[EditModeCount] = {
    {"SpeedButton9", "\"Add polygon\" mode. Use left-click for adding point to polygon, right-click to close polygon"},
    {"SpeedButton11",
     "\"Add sub-polygon to other\" mode. Use left-click for adding point to polygon, right-click to close polygon"},
    {"SpeedButton13", "\"Divide polygon\" mode. Use left-click to select polygons border, right-click to divide polygon"},
    {"SpeedButton18", "\"Uncouple nodes\" mode. Use right-click to uncouple connected nodes of polygon"},
    {"SpeedButton17", "\"Delete node\" mode. Use right-click to remove node of polygon"},
    {"SpeedButton20",
     "\"Move node\" mode. Use left-click dragging for nodes moving, right-click for new position placing"},
    {"SpeedButton19", "\"Couple nodes\" mode. Use left-click to choose first node, right-click to choose second node"},
    {"SpeedButton16", "\"Add node\" mode. Use right-click to add new node to polygon"},
    {"SpeedButton10", "\"Delete sub-polygon\" mode. Use right-click to remove polygon"},
    {"SpeedButton12", "\"Uncouple sub-polygon from polygon\" mode. Use right-click to uncouple polygon"},
    {"SpeedButton15",
     "\"Move polygon\" mode. Use left-click dragging for polygons moving, right-click for new position placing"},
    {"SpeedButton14",
     "\"Move sub-polygon\" mode. Use left-click dragging for polygons moving, right-click for new position placing"},
    {"SpeedButton21", "\"Fix node\" mode. Use right-click to fix node"},
};

int ModeOfButton(const TSpeedButton* button)
{
    for (int mode = 0; mode < EditModeCount; ++mode)
        if (button && button->Name() == ModeHelp[mode].Button) return mode;
    return emNone;
}

// The temporary mode a held modifier key gives, or emNone.
int ModifierMode(std::uint16_t key)
{
    switch (key) {
    case VK_SHIFT: return emMoveNode;
    case VK_MENU: return emAddNode;
    case VK_CONTROL: return emDeleteNode;
    default: return emNone;
    }
}

constexpr std::uint16_t VK_Z = 'Z';

} // namespace

// ---- Modes and buttons ------------------------------------------------------------------------------------

void TMainForm::SetEditMode(int mode)
{
    PolygonChart1->EditMode = mode;
    PolygonChart1->ResetPendingEdit(mode);
    // The refused edit has ended with the mode: the help of the buttons' mode comes back.
    if (FRefusalShown) ShowModeHint(FHintMode);
    // A modifier pressed or released over the model view acts on what lies under the cursor at once.
    PolygonChart1->HoverAtCursor();
}

void TMainForm::PolygonToolClick(TSpeedButton* Sender)
{
    if (FBusy) return;
    PolygonChart1->EditMode = ModeOfButton(Sender);
    SetToolButtons(Sender);
    PolygonChart1->ResetPendingEdit(PolygonChart1->EditMode);
}

void TMainForm::SetToolButtons(TSpeedButton* Sender)
{
    for (TSpeedButton* b : PolygonToolButtons) b->SetDown(false);
    if (Sender) Sender->SetDown(true);
    ShowModeHint(PolygonChart1->EditMode);
}

void TMainForm::ShowModeHint(int mode)
{
    FHintMode = mode;
    FRefusalShown = false;
    // Without a mode the panel carries what the last open had to say.
    SetStatusText(spModeHelp, mode >= 0 && mode < EditModeCount ? ModeHelp[mode].Text : FOpenMessage);
}

void TMainForm::ShowEditMessage(const std::string& refusal)
{
    if (refusal.empty()) {
        ShowModeHint(FHintMode);
        return;
    }
    SetStatusText(spModeHelp, refusal);
    FRefusalShown = true;
}

void TMainForm::SpeedButton8Click()
{
    if (FBusy || !Survey.ModelReady) return;
    if (PolygonChart1->UndoEdit()) MarkResultsOld(true);
    if (FRefusalShown) ShowModeHint(FHintMode);
}

// ---- Keys -------------------------------------------------------------------------------------------------

void TMainForm::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    TMainFormBase::KeyDown(Key, Shift);
    FormKeyDown(Key, Shift);
}

void TMainForm::KeyUp(std::uint16_t& Key, TShiftState Shift)
{
    TMainFormBase::KeyUp(Key, Shift);
    FormKeyUp(Key, Shift);
}

void TMainForm::FormKeyDown(std::uint16_t& Key, TShiftState)
{
    if (Key == VK_Z) ZoomScroll1Click();
    const int temporary = ModifierMode(Key);
    if (temporary != emNone) {
        FModifierHeld = true;
        // A repeat of the held key finds its mode set: the mode from before the key stays saved.
        if (PolygonChart1->EditMode != temporary) {
            SavedEditMode = PolygonChart1->EditMode;
            SetEditMode(temporary);
        }
    }
    if (Key == VK_SPACE) SpeedButton6Click();
    if (Key == VK_ESCAPE) SpeedButton8Click();
}

void TMainForm::FormKeyUp(std::uint16_t& Key, TShiftState)
{
    if (ModifierMode(Key) == emNone) return;
    FModifierHeld = false;
    SetEditMode(SavedEditMode);
}

// ---- Picking on the data view ------------------------------------------------------------------------

void TMainForm::Chart1ClickSeries(TCustomChart*, TChartSeries* Series, int ValueIndex, TMouseButton Button,
                                  TShiftState, int, int)
{
    if (!Series || ValueIndex < 0 || ValueIndex >= Series->PointCount()) return;
    const double v = Series->XValueAt(ValueIndex);
    bool matched = false;
    for (int s = 0; s < Survey.DataSets.Length(); ++s) {
        const osource& set = Survey.DataSets[s];
        for (int r = 0; r < set.P1x.Length() && r < set.P2x.Length(); ++r) {
            const bool match = Survey.DataType == 0
                                   ? v == (set.P1x[r] + set.P2x[r]) / 2
                                   : Survey.DataType == 1 && ((v == set.P2x[r] && ValueIndex >= Survey.NullPointIndex) ||
                                                              (v == set.P1x[r] && ValueIndex < Survey.NullPointIndex));
            if (!match) continue;
            // The first row of each set; the last set with a match wins.
            SelectedSet = s;
            SelectedRow = r;
            matched = true;
            break;
        }
    }
    // No match uses the previous selection again, while it still names a row of this survey.
    if (!matched) {
        const bool current = SelectedSet >= 0 && SelectedSet < Survey.DataSets.Length() && SelectedRow >= 0 &&
                             SelectedRow < Survey.DataSets[SelectedSet].P1x.Length();
        if (!current) return;
    }
    if (ElectrodeEditorVisible && ElectrodeEditorVisible() && SelectElectrodeEditorRow)
        SelectElectrodeEditorRow(GlobalRowIndex(SelectedSet, SelectedRow) + 1);
    if (Button == mbLeft) {
        PointPicked = true;
        MarkMeasurementElectrodes(SelectedSet, SelectedRow);
    }
}

void TMainForm::Chart1MouseUp()
{
    if (!PointPicked) return;
    PointPicked = false;
    if (!(ElectrodeEditorVisible && ElectrodeEditorVisible())) PseudoSection2d1->MarkerSeries->ClearPoints();
}

void TMainForm::ShowModelCursor()
{
    SetStatusText(spCursor,
                  FormatValue(PolygonChart1->CursorX, 0, true) + " " + FormatValue(PolygonChart1->CursorZ, 0, true));
}
