// The tabbed series gallery dialog ("Lumigram Gallery": series or function types by page, 3-D and
// smooth switches), the choice between it and the list-style dialog, and the two gallery operations the
// series list box calls: a new series chosen in the gallery, and a series changed to a chosen type.
// Form code: Qt Widgets.
#pragma once

#include "platform/controls/Forms.h"

#include <memory>

class QCheckBox;
class QPushButton;
class QTabBar;
class TChartGalleryPanel;
class TChartSeries;
class TCustomAxisPanel;
class TWinControl;
struct TClassInfo;

class TLumGallery : public TForm {
public:
    explicit TLumGallery(QWidget* Owner);
    ~TLumGallery() override;

    QTabBar* TabTypes;       // "Series", "Functions"
    QTabBar* TabPages;       // the gallery pages of the chosen kind
    TChartGalleryPanel* ChartGalleryPanel1;
    QCheckBox* CB3D;         // "&3D"
    QCheckBox* CBSmooth;     // "&Smooth"
    QPushButton* BOk;
    QPushButton* BCancel;

    // Before showing: the series focused by its kind, whether function types are offered, and whether
    // kinds that refuse the reference series are greyed.
    void Prepare(TChartSeries* ReferenceSeries, bool Adding, bool DisableRefused, bool View3D);

    void TabTypesChange();
    void TabPagesChange();

private:
    void FormShow();
    std::unique_ptr<TChartGalleryPanel> FPanel;
};

// The gallery the editor option "GalleryMode" chooses (0: the tabbed one, else the list-style one),
// shown modally; true when a type was chosen with OK. View3D goes in as the chart's and comes back
// on only when "3D" stayed checked and the chosen kind's miniature is 3-D.
bool RunGalleryDialog(QWidget* Owner, TChartSeries* ReferenceSeries, bool Adding, bool DisableRefused, bool& View3D,
                      const TClassInfo*& SeriesClass, const TClassInfo*& FunctionClass, int& Style);
// A new series of the type chosen in the gallery, in the chart (owned as the given series, else as the
// chart), with the chosen sub-style; none on Cancel.
TChartSeries* CreateSeriesFromGallery(QWidget* Owner, TChartSeries* Series, TCustomAxisPanel* Chart, bool Adding,
                                      bool DisableRefused, int& Style);
// The series list box's hooks: a new series for the chart (none without a chart), and the series
// replaced by one of the chosen type (left as it is on Cancel), answering its class.
TChartSeries* GalleryAddSeries(TWinControl* Owner, TCustomAxisPanel* Chart, TChartSeries* Selected);
const TClassInfo* GalleryChangeSeriesType(TWinControl* Owner, TChartSeries*& Series);

// Start-up: the standard series types are registered and the list box's hooks installed; shut-down
// takes the hooks away.
void GalleryInitialization();
void GalleryFinalization();
