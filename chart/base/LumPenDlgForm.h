// The pen dialog ("Border Editor") and the routines the engine's editor forms share to make, place and
// embed forms. Form code: Qt Widgets.
#pragma once

#include "chart/base/LumControls.h"
#include "chart/base/LumPenDlgHelpers.h"
#include "platform/controls/Forms.h"

#include <initializer_list>
#include <memory>
#include <string>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class TChartPen;
class TPen;

// ---- Making and embedding editor forms --------------------------------------------------------------------

// The form a control stands on, or the control's own window when it stands on none.
QWidget* EditorParentForm(TWinControl* Control);
// Gives a form a dialog's border: a caption with the close box alone (no minimise, maximise or help
// buttons, whatever the window manager offers by default).
void SetDialogBorder(QWidget& Form);
// A new form of class T owned by the control's EditorParentForm, centred on it (on the screen without
// one), with a dialog's fixed border.
template <class T, class... Args>
std::unique_ptr<T> CreateEditorDialog(TWinControl* Component, Args&&... args)
{
    auto form = std::make_unique<T>(EditorParentForm(Component), std::forward<Args>(args)...);
    form->setSizeGripEnabled(false);
    SetDialogBorder(*form);
    return form;
}
// Shows or hides every widget given (nullptr entries skipped).
void SetControlsVisibility(bool Visible, std::initializer_list<QWidget*> Controls);
// Makes the form a borderless child of the parent (its background and colour, no border icons, the tag
// object kept with the form) at left 4 and top min(4, |difference of the client heights|), and shows it.
void EmbedForm(TForm& Form, QWidget& Parent, TPersistent* Tag);
void EmbedFormInParent(TForm& Form, QWidget& Parent);
void EmbedFormWithTag(TForm& Form, QWidget& Parent, TPersistent* Tag);
// The tag object given to EmbedForm; nullptr when none.
TPersistent* EmbeddedFormTag(const TForm& Form);

// ---- The pen dialog -----------------------------------------------------------------------------------------

class TPenDialog : public TForm {
public:
    // Edits Pen (not owned), a chart pen or a plain one.
    TPenDialog(QWidget* Owner, TPen& Pen);
    ~TPenDialog() override;

    TPen& Pen() const { return FPen; }
    bool Modified() const { return FModified; }

    // The form's components.
    QCheckBox* CBVisible;
    QLabel* LStyle;
    TComboFlat CBStyle;
    QLabel* LWidth;
    // The width edit with its up-down buttons (minimum 1).
    QSpinBox* SEWidth;
    TButtonColor BColor;
    TComboFlat CBEndStyle;
    QPushButton* BOk;
    QPushButton* BCancel;

private:
    void FormShow();
    void FormClose();
    void WidthChanged(int width);
    void StyleChosen();
    void EndStyleChosen();
    void VisibleChanged(bool visible);
    void ColorClicked();
    void EnableStyleByWidth();
    void EnableWidthControls(bool enabled);
    void DrawStyleItem(int Index, TRect Rect, TOwnerDrawState State);
    void Restore();

    TPen& FPen;
    TChartPen* FChartPen;
    std::unique_ptr<TChartPen> FBackup;
    bool FModified = false;
    bool FShowing = false;
};
