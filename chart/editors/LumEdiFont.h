// The font editor ("LumFont Editor"): the standard font dialog on a chart font, its colour, inter-
// character spacing, outline pen, shadow and text gradient, each applied at once. It is embedded as the
// text page of other editors or shown as a dialog that simply closes. Form code: Qt Widgets.
#pragma once

#include "chart/base/LumPenDlg.h"
#include "chart/editors/LumEdiGrad.h"
#include "chart/editors/LumEditorForms.h"

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QSpinBox;
class TLumFont;

class TLumFontEditor : public TLumEditorForm {
public:
    explicit TLumFontEditor(QWidget* Owner);
    ~TLumFontEditor() override;

    // Keeps the font and shows it in the controls (writing nothing back).
    void BindFont(TLumFont* Font);
    TLumFont* Font() const { return FFont; }

    // The handlers as the controls call them.
    void BFontClick();
    void SHTextMouseUp();

    QPushButton* Button3;       // "&Font..."
    QFrame* SHText;             // the colour swatch; a click edits the font colour
    QLabel* Label1;             // "&Inter-char spacing:"
    QSpinBox* UDInter;
    TButtonPen BOutline;        // "&Outline..."
    QPushButton* BShadow;       // "&Shadow..."
    QCheckBox* CBOutGrad;       // "O&utline gradient"
    TButtonGradient BGradient;  // "&Gradient..."

private:
    void FormShow();
    void ShowSwatchColor(TColor Color);

    TLumFont* FFont = nullptr;
    bool FLoading = false;
};

// A new font editor owned by the page's form, filling the page; the caller binds the font.
TLumFontEditor* EmbedFontEditor(QWidget& Page);
// The editor as a dialog on the font; every change is already applied when it returns.
void ShowFontEditorModal(TWinControl* Owner, TLumFont& Font);
