// The chart editor's paging page (TFormLumPage): points per page, the last page's scale, the legend of
// the current page, the page-number tool's switch and a page navigator with its "Page n of m" label.
// Form code: Qt Widgets.
#pragma once

#include "chart/editors/LumEditorForms.h"
#include "chart/editors/LumEdiGene.h"

#include <memory>

class QCheckBox;
class QLabel;
class QSpinBox;
class TCustomAxisPanel;

class TFormLumPage : public TLumEditorForm {
public:
    explicit TFormLumPage(QWidget* Owner);
    ~TFormLumPage() override;
    // The page on the chart's navigator.
    static std::unique_ptr<TFormLumPage> CreateForChart(QWidget* Owner, TCustomAxisPanel& Chart);
    TCustomAxisPanel* Chart() const { return ChartPageNavigator1.Chart(); }

    QSpinBox* SEPointsPerPage;     // "P&oints per Page:"
    QCheckBox* CBPageLegend;       // "&Current page Legend"
    QCheckBox* CBScaleLast;        // "&Scale Last Page"
    QCheckBox* CBPageNum;          // "Show &Page Number"
    TChartPageNavigator ChartPageNavigator1;
    QLabel* LabelPages;            // "Page %d of %d"

    // "Page n of m" with the chart's page and page count.
    void RefreshPageLabel();

private:
    void FormShow();
    void PageNumberClick(bool Checked);
};
