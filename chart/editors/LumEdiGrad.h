// The gradient editor ("Gradient Editor"): visibility, direction, the three colours, balance, radial
// offsets, 17 named presets and a gallery of the ten directions, applied to the gradient at once; as a
// dialog it gives the gradient back as it was on any close but OK. Also the preview panel and the style
// button whose face shows a gradient and whose click opens the editor. Form code: Qt Widgets.
#pragma once

#include "chart/base/LumCanvasEffects.h"
#include "chart/base/LumControls.h"
#include "chart/base/RadErarePanelExt.h"
#include "chart/editors/LumEditorForms.h"
#include "chart/editors/LumGalleryPanel.h"

#include <array>
#include <memory>
#include <string>

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QScrollBar;
class QSlider;
class QTabWidget;
class QWidget;

// One of the editor's named gradients.
struct TGradientPreset {
    const char* Name;
    TColor Start;
    TColor Mid;
    TColor End;
    TGradientDirection Direction;
    int Balance;
};
inline constexpr int GradientPresetCount = 17;
const std::array<TGradientPreset, GradientPresetCount>& GradientPresets();
// Start, middle (none makes a two-colour gradient), end, then direction and balance.
void ApplyGradientPreset(TCustomLumGradient& Gradient, int Index);

// A panel that paints only its face: the editor's preview of a gradient.
class TPreviewGradient : public TCustomLumPanelExtended {
    VSP_PERSISTENT_CLASS
public:
    explicit TPreviewGradient(TComponent* AOwner);

protected:
    void DrawChartContent(const TRect& Rect) override;
};

class TLumGradientEditor : public TLumEditorForm {
public:
    explicit TLumGradientEditor(QWidget* Owner);
    // The embedded form: edits Gradient, without the OK and Cancel panel.
    TLumGradientEditor(QWidget* Owner, TCustomLumGradient* Gradient);
    ~TLumGradientEditor() override;

    // Makes the gradient the edited one, keeps a copy of it for Cancel and loads every control.
    virtual void BindGradient(TCustomLumGradient* Gradient);
    virtual void LoadControls();
    virtual void RefreshPreview();

    TCustomLumGradient* Gradient() const { return FGradient; }
    bool Modified() const { return FModified; }
    bool HideEndColor() const { return FHideEndColor; }
    void SetHideEndColor(bool Value);
    void SetHideVisible(bool Value);

    QWidget* Panel2;
    QCheckBox* CBVisible;          // "&Visible"
    QLabel* LDirection;
    TComboFlat CBDirection;        // "&Direction:"
    QTabWidget* PageControl1;
    QWidget* TabDefault;
    QWidget* TabColors;
    QWidget* TabOptions;
    QWidget* TabDirections;
    QListWidget* Gallery;          // the preset names, sorted; item data: the preset's index
    TPreviewGradient Preview;
    TButtonColor BStart;           // "&Start..."
    TButtonColor BMid;             // "&Middle..."
    TButtonColor BEnd;             // "&End..."
    QPushButton* BSwap;            // "S&wap"
    QCheckBox* CBMid;              // "&No Middle"
    QLabel* Label1;                // "&Balance:"
    QScrollBar* SBBalance;
    QLabel* LabelBalance;
    QGroupBox* GroupRadial;        // "Radial offset:"
    QLabel* Label2;                // "&Horiz:"
    QSlider* TrackBar1;
    QLabel* LRadialX;
    QLabel* Label3;                // "&Vert:"
    QSlider* TrackBar2;
    QLabel* LRadialY;
    TChartGalleryPanel Directions;
    QWidget* Panel1;
    QPushButton* BOk;
    QPushButton* BCancel;

private:
    void BuildForm();
    void BuildDirections();
    void FormShow();
    void FormClose();
    void EnableColorControls();
    void EnableDirectionControls();
    void RecolorMiniatures();
    void DirectionChosen();
    void ColorButtonClicked();
    void MidButtonClicked();
    void SwapClicked();
    void NoMiddleClicked(bool Checked);
    void BalanceChanged(int Position);
    void PresetChosen();
    void DirectionsChangeChart();
    // Back to the gradient as it was bound, when it differs (one change event).
    void RestoreBackup();

    TCustomLumGradient* FGradient = nullptr;
    std::unique_ptr<TLumGradient> FBackup;
    bool FModified = false;
    bool FLoading = false;
    bool FHideEndColor = false;
};

// Runs the editor as a dialog on the gradient; true when it was closed with OK.
bool ShowGradientEditorModal(TWinControl* Owner, TCustomLumGradient& Gradient);
bool ShowGradientEditorWithOptions(TWinControl* Owner, TCustomLumGradient& Gradient, bool HideEndColor,
                                   bool HideVisible);
// A new editor dialog on the gradient, owned by the owner's form: without "End..." and "Swap" when
// HideEndColor, without "Visible" when HideVisible.
std::unique_ptr<TLumGradientEditor> CreateGradientEditor(TWinControl* Owner, TCustomLumGradient& Gradient,
                                                         bool HideEndColor, bool HideVisible);

// A button whose sample is its gradient: a click opens the editor on it, and OnClick fires only when the
// editor was closed with OK.
class TButtonGradient : public TLumButton {
    VSP_PERSISTENT_CLASS
public:
    explicit TButtonGradient(TComponent* AOwner);

    void LinkGradient(TCustomLumGradient* Gradient);
    TCustomLumGradient* LinkedGradient() const { return dynamic_cast<TCustomLumGradient*>(LinkedObject()); }
    // Passed to the editor: no end colour to edit (the legend symbol and pie editors).
    bool HideEndColor() const { return FHideEndColor; }
    void SetHideEndColor(bool Value) { FHideEndColor = Value; }
    // The editor while a click has it open.
    TLumGradientEditor* Editor() const { return FEditor; }

protected:
    void Click() override;
    // The gradient in the sample rectangle framed black, or grey for an invisible gradient; only when
    // enabled and linked.
    void DrawSymbol(TLumCanvas& Canvas) override;

private:
    bool FHideEndColor = false;
    TLumGradientEditor* FEditor = nullptr;
};
