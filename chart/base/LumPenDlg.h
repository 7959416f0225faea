// The pen editor of the chart engine as its callers see it (no window code): the pen dialog made for a
// pen, run modally, and the pen button that shows a sample of a linked pen and opens the dialog.
// Qt-free; the form itself is in LumPenDlgForm.h.
#pragma once

#include "chart/base/LumControls.h"
#include "chart/base/LumPenDlgHelpers.h"

#include <memory>

class TPen;
class TPenDialog;

// A new pen dialog on Pen (a chart pen or a plain one), owned by the control's form; the colour button
// is hidden when HideColor.
std::unique_ptr<TPenDialog> CreatePenDialog(TWinControl* Control, TPen& Pen, bool HideColor);
// Runs the pen dialog modally; true when it was closed with OK (Cancel gives the pen back as it was).
bool ShowPenEditorModal(TWinControl* Control, TPen& Pen, bool HideColor);

// A button with a sample line of its pen; a click edits the pen.
class TButtonPen : public TLumButton {
    VSP_PERSISTENT_CLASS
public:
    explicit TButtonPen(TComponent* AOwner);
    ~TButtonPen() override;

    // Links the button to a pen (not owned) and repaints it.
    void LinkPen(TPen* Pen);
    TPen* LinkedPen() const;
    // Asks the dialog to hide its colour button.
    bool HideColor() const { return FHideColor; }
    void SetHideColor(bool v) { FHideColor = v; }
    // The dialog of the current click; none between clicks.
    TPenDialog* Dialog() const { return FDialog; }

protected:
    // With a linked pen: the pen dialog, then on OK a repaint and OnClick; without: OnClick only.
    void Click() override;
    // A line in the pen, its width limited to 6 (the pen itself is left alone); only when enabled and
    // linked.
    void DrawSymbol(TLumCanvas& Canvas) override;

private:
    TPenDialog& GetDialog();

    bool FHideColor = false;
    TPenDialog* FDialog = nullptr;
};
