// The shape editor: frame, fill pattern, colour, round corners, transparency and bevel of a framed box
// (titles, legend, marks, their symbols), and on further pages its font, gradient and shadow; every
// change is written at once. Other editors embed it whole or move its pages into their own page
// control. Form code: Qt Widgets.
#pragma once

#include "chart/base/LumPenDlg.h"
#include "chart/editors/LumEditorForms.h"

#include <QPointer>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;
class TLumCustomShape;
class TLumFontEditor;
class TLumGradientEditor;
class TLumShadowEditor;

class TFormLumShape : public TLumEditorForm {
public:
    TFormLumShape(QWidget* Owner, TLumCustomShape* Shape);
    ~TFormLumShape() override;

    // Makes the shape the edited one and loads every page.
    void LoadShape(TLumCustomShape* Shape);
    TLumCustomShape* Shape() const { return FShape; }
    // The shape's Visible from a check box another editor put on these pages.
    void CBVisibleChecked(QCheckBox* Sender);

    QTabWidget* PC1;
    QWidget* TabFormat;
    QWidget* TabText;
    QWidget* TabGradient;
    QWidget* TabShadow;
    TButtonColor BBackColor;   // "&Color..."
    TButtonPen Button4;        // "&Frame..."
    QPushButton* Button6;      // "&Pattern..."
    QCheckBox* CBRound;        // "&Round Frame"
    QCheckBox* CBTransparent;  // "&Transparent"
    QLabel* LBevel;
    TComboFlat CBBevel;        // "&Bevel:"
    QLabel* LBevelSize;
    QSpinBox* UDBevW;          // "Siz&e:"
    QLabel* LTransp;
    QSpinBox* UDShadowTransp;  // "&Transparency:"

    TLumGradientEditor* GradientEditor() const;
    TLumFontEditor* FontEditor() const;
    TLumShadowEditor* ShadowEditor() const;

private:
    void FormShow();
    void EnableBevelSize();

    TLumCustomShape* FShape;
    bool FCreating = true;
    QPointer<TLumGradientEditor> FGradientEditor;
    QPointer<TLumFontEditor> FFontEditor;
    QPointer<TLumShadowEditor> FShadowEditor;
};

// A new shape editor for the shape; with a parent it stands borderless on it, filling it, shown.
TFormLumShape* CreateShapeEditor(QWidget* Owner, TLumCustomShape* Shape, QWidget* Parent);
// A new shape editor whose pages move into the page control after the pages already there; the page
// control's first page becomes the active one.
TFormLumShape* EmbedShapeEditorPages(QTabWidget& PageControl, TLumCustomShape* Shape);
