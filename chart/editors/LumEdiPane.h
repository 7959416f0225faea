// The chart editor's panel page (TFormLumPanel): the panel's colour and back image, its borders and
// bevels, and its gradient and shadow through embedded editors; every control writes into the panel at
// once. Form code: Qt Widgets.
#pragma once

#include "chart/base/LumControls.h"
#include "chart/base/LumPenDlg.h"
#include "chart/editors/LumEditorForms.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class TCustomLumPanelExtended;
class TLumGradientEditor;
class TLumShadowEditor;

class TFormLumPanel : public TLumEditorForm {
public:
    TFormLumPanel(QWidget* Owner, TCustomLumPanelExtended& Panel);
    ~TFormLumPanel() override;

    static std::unique_ptr<TFormLumPanel> CreateForPanel(QWidget* Owner, TCustomLumPanelExtended& Panel);
    TCustomLumPanelExtended& Panel() const { return FPanel; }

    QTabWidget* PageControl1;
    QWidget* TabBack;
    QWidget* TabBorders;
    QWidget* TabGradient;
    QWidget* TabShadow;
    TButtonColor BPanelColor;       // "&Color..."
    QCheckBox* CBColorDef;          // "&Default"
    QGroupBox* RGBitmap;            // "St&yle": Stretch, Tile, Center, Custom
    std::vector<QRadioButton*> ImageModes;
    QPushButton* BBrowseImage;      // "B&rowse..." / "Clea&r"
    QCheckBox* CBImageInside;       // "I&nside"
    QCheckBox* CBTransp;            // "&Transparent"
    QSpinBox* ELeft;                // "&Left:"
    QSpinBox* ETop;                 // "T&op:"
    QSpinBox* SEPanelBor;           // "&Separation:"
    QSpinBox* SEPanelWi;            // "Widt&h:"
    QSpinBox* ERound;               // "&Round border:"
    QComboBox* CBInner;             // "Bevel &inner:"
    QComboBox* CBOuter;             // "Bevel &outer:"
    TButtonPen BBorder;             // "&Border..."
    TLumGradientEditor* GradientEditor() const { return FGradientEditor.get(); }
    TLumShadowEditor* ShadowEditor() const { return FShadowEditor; }

private:
    void FormShow();
    // "&Default" checked and disabled exactly when the colour is the button face.
    void CheckColorDefault();
    // The image controls follow whether a back image is loaded, and the custom place its mode.
    void EnableImageControls();

    TCustomLumPanelExtended& FPanel;
    std::unique_ptr<TLumGradientEditor> FGradientEditor;
    TLumShadowEditor* FShadowEditor = nullptr;
    bool FChanging = false;
};
