// Making and running the pen dialog, and the pen button that opens it.
#include "chart/base/LumPenDlg.h"

#include "chart/base/LumCanvas.h"
#include "chart/base/LumPenDlgForm.h"

#include <algorithm>

std::unique_ptr<TPenDialog> CreatePenDialog(TWinControl* Control, TPen& Pen, bool HideColor)
{
    std::unique_ptr<TPenDialog> dialog = CreateEditorDialog<TPenDialog>(Control, Pen);
    if (HideColor) dialog->BColor.SetVisible(false);
    return dialog;
}

bool ShowPenEditorModal(TWinControl* Control, TPen& Pen, bool HideColor)
{
    return CreatePenDialog(Control, Pen, HideColor)->ShowModal() == mrOk;
}

// ---- TButtonPen ---------------------------------------------------------------------------------------------

const TClassInfo& TButtonPen::StaticClassInfo()
{
    static const TClassInfo info({
        .Name = "TButtonPen",
        .Parent = &TLumButton::StaticClassInfo(),
        .Create = &CreateComponentOf<TButtonPen>,
    });
    return info;
}

TButtonPen::TButtonPen(TComponent* AOwner) : TLumButton(AOwner) {}

TButtonPen::~TButtonPen() = default;

void TButtonPen::LinkPen(TPen* Pen)
{
    LinkProperty(Pen, "");
    Invalidate();
}

TPen* TButtonPen::LinkedPen() const { return dynamic_cast<TPen*>(LinkedObject()); }

TPenDialog& TButtonPen::GetDialog()
{
    // The caller owns the dialog; the button only follows it until it goes.
    return *FDialog;
}

void TButtonPen::Click()
{
    TPen* pen = LinkedPen();
    if (!pen) {
        TLumButton::Click();
        return;
    }
    std::unique_ptr<TPenDialog> dialog = CreatePenDialog(this, *pen, FHideColor);
    FDialog = dialog.get();
    auto ownHandler = dialog->OnDestroy;
    dialog->OnDestroy = [this, ownHandler](TForm* sender) {
        if (ownHandler) ownHandler(sender);
        FDialog = nullptr;
    };
    const bool ok = GetDialog().ShowModal() == mrOk;
    dialog.reset();
    if (!ok) return;
    Invalidate();
    TLumButton::Click();
}

void TButtonPen::DrawSymbol(TLumCanvas& Canvas)
{
    TPen* pen = LinkedPen();
    if (!Enabled() || !pen) return;
    Canvas.Brush().SetStyle(bsClear);
    TChartPen sample;
    sample.Assign(*pen);
    sample.SetWidth(std::min(pen->Width(), 6));
    Canvas.SelectPen(sample);
    Canvas.DrawLineXY(Width() - 17, Height() / 2, Width() - 6, Height() / 2);
}
