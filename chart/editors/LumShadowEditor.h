// The shadow editor ("Shadow editor"): sizes, colour, transparency and smoothing of a chart shadow, each
// written at once; shown as a small modal dialog or embedded as a page of another editor.
// Form code: Qt Widgets.
#pragma once

#include "chart/base/LumControls.h"
#include "chart/editors/LumEditorForms.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class TLumShadow;
class TWinControl;

class TLumShadowEditor : public TLumEditorForm {
public:
    explicit TLumShadowEditor(QWidget* Owner);
    ~TLumShadowEditor() override;

    // Makes the shadow the edited one (none: the controls edit nothing) and loads the controls.
    void BindShadow(TLumShadow* Shadow);
    TLumShadow* Shadow() const { return FShadow; }

    QLabel* Label1;
    QSpinBox* UDShadowSize;     // "&Horiz. Size:"
    QLabel* Label2;
    QSpinBox* UDShaVert;        // "&Vert. Size:"
    QLabel* LTransp;
    QSpinBox* UDShadowTransp;   // "&Transparency:"
    TButtonColor BShadowColor;  // "&Color..."
    QCheckBox* CBSmooth;        // "&Smooth"
    QPushButton* BOK;

private:
    void FormShow();
    void LoadControls();
    bool CanWrite() const { return !FCreating && !FLoading && FShadow; }

    TLumShadow* FShadow = nullptr;
    bool FCreating = true;
    bool FLoading = false;
};

// The editor as a dialog on the shadow with its OK button; the changes are already applied when it
// returns.
void ShowShadowEditorModal(TWinControl* Owner, TLumShadow& Shadow);
// A new editor owned by the page's form, without OK, filling the page. The caller binds the shadow.
TLumShadowEditor* EmbedShadowEditor(QWidget& Page);
