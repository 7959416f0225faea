// The legend symbol editor ("Legend Symbol Editor"): width and its units, position, continuous,
// squared, visible, default border, border and gradient of a legend's symbol, each written at once.
// Form code: Qt Widgets.
#pragma once

#include "chart/base/LumPenDlg.h"
#include "chart/editors/LumEdiGrad.h"
#include "chart/editors/LumEditorForms.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;
class TLegendSymbol;

class TSymbolEditor : public TLumEditorForm {
public:
    explicit TSymbolEditor(QWidget* Owner);
    ~TSymbolEditor() override;

    void LoadSymbol(TLegendSymbol* Symbol);
    TLegendSymbol* Symbol() const { return FSymbol; }

    QLabel* LWidth;
    QSpinBox* SEColWi;            // "&Width:"
    QComboBox* CBColWUnits;       // "Width &Units:"
    QComboBox* CBSymbolPos;       // "&Position:"
    QCheckBox* CBContinuous;      // "&Continuous"
    QCheckBox* CBVisible;         // "&Visible"
    QCheckBox* CBSquared;         // "&Squared"
    QCheckBox* CBSymPen;          // "&Default border"
    TButtonPen BSymPen;           // "&Border..."
    TButtonGradient BSymGradient; // "&Gradient..."

private:
    void FormShow();

    TLegendSymbol* FSymbol = nullptr;
    bool FFilling = true;
};
