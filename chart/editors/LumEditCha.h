// The chart editor window (TChartEditForm) as far as the series-only "Graphic editor" uses it: binding a
// chart, the registry options of its place and size, the "Series" page with the series editor host, and
// closing; and ShowGraphicEditor, the one way the program opens it. Form code: Qt Widgets.
#pragma once

#include "platform/controls/Forms.h"

class QPushButton;
class QTabWidget;
class QWidget;
class TChartSeries;
class TCustomAxisPanel;
class TFormLumSeries;

class TChartEditForm : public TForm {
public:
    explicit TChartEditForm(QWidget* Owner);
    ~TChartEditForm() override;

    // The edited chart (none: the pages are disabled); reads the remembered place and size.
    void BindChart(TCustomAxisPanel* Chart);
    TCustomAxisPanel* Chart() const { return FChart; }
    // The series whose editor opens when the window shows.
    TChartSeries* SeriesToEdit = nullptr;
    bool RememberPosition() const { return FRememberPosition; }
    bool RememberSize() const { return FRememberSize; }

    // Creates the series host on the first call (afterwards it only gets the series to edit) and shows
    // the series.
    void ShowSeriesPage();
    TFormLumSeries* SeriesHost() const { return FHost; }
    // What the window's show does: the series to edit opens its editor.
    void PrepareShow();
    // Widens or heightens the window when its pages need more room than it has (never shrinks it).
    void GrowToContents();
    // GrowToContents before the window shows, with every page built: the window opens at the size its
    // largest page needs, and that size counts as the designed one (a size the user keeps is stored
    // only when it differs from it).
    void FitDesignedSizeToContents();

    QTabWidget* MainPage;
    QWidget* TabChart;          // "Chart"
    QWidget* TabSeries;         // "Series"
    QWidget* PanelBottom;
    QPushButton* ButtonHelp;    // "&Help..."
    QPushButton* BClose;        // "Close"

private:
    // The size every page's contents need now.
    QSize NeededSize();
    void ReadPlace();
    void WritePlace();

    TCustomAxisPanel* FChart = nullptr;
    TFormLumSeries* FHost = nullptr;
    bool FRememberPosition = true;
    bool FRememberSize = true;
    int FDesignedWidth = 0;
    int FDesignedHeight = 0;
};

// The "Graphic editor" for one series of a chart: only the series' editor with its "Format" (and the
// pages it adds) and "Marks" tabs, shown modally; returns 0.
int ShowGraphicEditor(TChartSeries& Series);
