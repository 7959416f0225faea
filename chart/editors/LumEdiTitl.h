// The chart editor's titles page (TFormLumTitle): which of the chart's four titles is edited, its text,
// alignment and visibility, its custom position, and its frame, fill, shadow and font through the shape
// editor's pages; every control writes into the title at once. Form code: Qt Widgets.
#pragma once

#include "chart/editors/LumEditorForms.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class QSpinBox;
class QTabWidget;
class TChartTitle;
class TCustomChart;
class TFormLumShape;

class TFormLumTitle : public TLumEditorForm {
public:
    TFormLumTitle(QWidget* Owner, TCustomChart& Chart, TChartTitle* Title);
    ~TFormLumTitle() override;

    static std::unique_ptr<TFormLumTitle> CreateForTitle(QWidget* Owner, TCustomChart& Chart, TChartTitle* Title);
    TChartTitle* Title() const { return FTitle; }

    QComboBox* CBTitles;          // "Title", "SubTitle", "SubFoot", "Foot"
    QTabWidget* PageControlTitle;
    QWidget* TabStyle;
    QWidget* TabPosition;
    QCheckBox* CBVisible;         // "&Visible"
    QCheckBox* CBAdjust;          // "&Adjust Frame"
    QComboBox* CBAlign;           // "Alig&nment:"
    QPlainTextEdit* MText;        // "&Text:"
    QCheckBox* CBCustPos;         // "&Custom:"
    QSpinBox* ECustLeft;          // "L&eft:"
    QSpinBox* ECustTop;           // "T&op:"

    // The title of item 0..3 of CBTitles becomes the edited one and the page is filled again.
    void CBTitlesChange(int Index);

private:
    void FormShow();
    void FillControls();
    void EnablePosition();

    TCustomChart& FChart;
    TChartTitle* FTitle;
    TFormLumShape* FShape = nullptr;
    bool FCreating = true;
    bool FAssigningText = false;
};
