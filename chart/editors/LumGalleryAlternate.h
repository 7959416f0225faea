// The list-style series gallery ("Lumigram Pro Gallery"): a page combo, the alphabetical list of the
// page's series types, and the chosen type's sub-styles as miniatures. Form code: Qt Widgets.
#pragma once

#include "platform/controls/Forms.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QPushButton;
class TChart;
class TChartGalleryPanel;
class TChartListBox;
struct TClassInfo;

class TLumGalleryForm : public TForm {
public:
    explicit TLumGalleryForm(QWidget* Owner);
    ~TLumGalleryForm() override;

    QComboBox* CBPage;        // "(all)", then the pages in alphabetical order
    QCheckBox* CB3D;          // "&3D"
    QCheckBox* CBSmooth;      // "&Smooth"
    TChartListBox* ChartListBox1;
    TChartGalleryPanel* ChartGalleryPanel1;
    QPushButton* BOK;
    QPushButton* BCancel;

    // The chart whose series stand for the listed types.
    TChart& HiddenChart() const { return *FHiddenChart; }

    void CBPageChange();
    void ChartListBox1Click();

private:
    std::unique_ptr<TChart> FHiddenChart;
    std::unique_ptr<TChartGalleryPanel> FPanel;
    std::unique_ptr<TChartListBox> FList;
    const TClassInfo* FShownClass = nullptr;
};
