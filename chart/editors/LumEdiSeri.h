// The editor of one series (TFormLumSeries): a chooser strip and the tabs "Format" (the series type's own
// editor form, found by its class name, and any tabs it adds), "General" and "Marks"; and the lookup that
// finds an element's editor form by the name its class gives. Form code: Qt Widgets.
#pragma once

#include "chart/base/LumPenDlg.h"
#include "chart/base/RadErareEvents.h"
#include "chart/editors/LumEditorForms.h"

#include <QPointer>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class TChartSeries;
class TCustomAxisPanel;
class TCustomChartElement;
class TFormLumShape;
class TSeriesColorBox;

// The factory of the element's editor form; empty when its class names none or the name is not
// registered.
TFormFactory FindEditorClass(const TCustomChartElement& Element);

class TFormLumSeries : public TForm, public IChartEventListener {
public:
    explicit TFormLumSeries(QWidget* Owner);
    ~TFormLumSeries() override;

    // Makes the form fill the page as a borderless child editing Object, translated and shown.
    static TForm& EmbedEditorPage(TForm& Form, QWidget& Page, TPersistent* Object);
    // A new page at PageIndex (clamped to the tabs there are) holding Form, which edits Object.
    void InsertPage(TForm& Form, int PageIndex, const std::string& Caption, TPersistent* Object);

    // Set by the owner before ShowCurrentSeries.
    TChartSeries* EditedSeries = nullptr;
    bool ShowPersistentBox = false;
    bool ShowDataSourcePage = true;
    bool ShowGeneralPage = true;
    bool ShowMarksPage = true;

    // The chooser's series (captions), kept as the owner's list of series.
    void SetSeriesChoices(const std::vector<TChartSeries*>& Series);
    // Selects EditedSeries in the chooser and shows it (no series: the pages hide).
    void ShowCurrentSeries();
    TChartSeries* PreviousSeries() const { return FPreviousSeries; }
    TForm* TypeEditor() const { return FTypeEditor; }
    void CreateTypeEditor();
    void RemoveTypeEditorPages();

    void HandleChartEvent(TLumEvent& Event) override;

    // Chooser strip.
    QWidget* Panel1;
    QLabel* ImageSeries;
    TSeriesColorBox* PaintBox1;  // the series' colour; a click edits it
    QLabel* LabelSeriesClass;
    QComboBox* CBSeries;
    QWidget* Panel3;
    QCheckBox* CBPersistent;     // "Persistent"
    QTabWidget* PageSeries;
    QWidget* TheTabSheet;        // "Format"
    QWidget* TabGeneral;         // "General"
    QWidget* TabMarks;           // "Marks"
    QWidget* TabDataSource;      // "Data Source"

    // "General".
    QCheckBox* CBShowInLegend;   // "&Show In Legend"
    QLabel* LCursor;
    TComboFlat CBCursor;         // "&Cursor:"
    QLabel* LDepth;
    QSpinBox* UDDepth;           // "&Depth:"
    QCheckBox* CBDepth;          // "Auto"
    QLabel* LFormat;
    QComboBox* CBFormat;         // "&Values:"
    QPushButton* BFormat;        // "..."
    QLabel* LPercentFormat;
    QComboBox* EPercentFormat;   // "&Percents:"
    QPushButton* BPercentFormat; // "..."
    QGroupBox* GBHorizAxis;      // "Horizontal Axis:"
    QComboBox* CBHorizAxis;
    QCheckBox* CBXDateTime;      // "Dat&eTime"
    QGroupBox* GBVertAxis;       // "Vertical Axis:"
    QComboBox* CBVertAxis;
    QCheckBox* CBYDateTime;      // "D&ateTime"
    QCheckBox* CBZDateTime;      // "&Z DateTime"
    QLabel* LSort;
    QComboBox* CBSort;           // "S&ort:"

    // "Marks".
    QTabWidget* PageControlMarks;
    QWidget* TabStyle;           // "Style"
    QWidget* TabArrows;          // "Arrows"
    QWidget* TabSymbol;          // "Symbol"
    QCheckBox* CBMarksVisible;   // "&Visible"
    QCheckBox* CBAllVisible;     // "All Series Visi&ble"
    QGroupBox* RGMarkStyle;      // "&Style:"
    std::vector<QRadioButton*> MarkStyleButtons;
    QCheckBox* CBMultiLine;      // "&Multi line"
    QSpinBox* UDEvery;           // "Draw &every:"
    QCheckBox* CBMarkClip;       // "Cl&ipped"
    QSpinBox* UDMarksAngle;      // "&Angle:"
    TButtonPen BMarkLinCol;      // "&Border..."
    QSpinBox* UDArrowsLength;    // "&Length:"
    QSpinBox* UDArrowDist;       // "&Distance:"
    QPushButton* BCalloutPointer; // "&Pointer..."
    QComboBox* CBHead;           // "&Arrow head:"
    QSpinBox* UDHeadSize;        // "&Size:"
    // Builds the marks' format and symbol pages now instead of at the first visit of "Marks", so that a
    // window can be sized for every page before it shows.
    void PrepareMarksPages();
    TFormLumShape* MarksFormatEditor() const { return FMarksFormat; }
    TFormLumShape* MarksSymbolEditor() const { return FMarksSymbol; }
    QCheckBox* SymbolVisible() const { return FSymbolVisible; }

private:
    void BuildChooser();
    void BuildGeneral();
    void BuildMarks();
    void FormShow();
    void SeriesChosen();
    void ShowSeries(const std::string& Caption);
    void PageChanged();
    void FillGeneral();
    void FillAxisCombo(QComboBox& Combo, bool Horizontal);
    void FillMarks();
    void WriteAxisChoice(QComboBox& Combo, bool Horizontal);
    void WriteFormat(QComboBox& Combo, bool Percent);
    void FormatButton(QComboBox& Combo, bool Percent);
    void SortChosen();
    void PaintColorBox();
    void EditSeriesColor();
    void RefreshAllVisible();
    void EnableMultiLine();
    bool Guarded() const { return !FFilling && !FPageChanging && EditedSeries; }
    bool Fillable() const { return EditedSeries && !FFilling; }

    TChartSeries* FPreviousSeries = nullptr;
    TCustomAxisPanel* FListenedChart = nullptr;
    QPointer<TForm> FTypeEditor;
    std::vector<QPointer<QWidget>> FAddedPages;
    TFormLumShape* FMarksFormat = nullptr;
    TFormLumShape* FMarksSymbol = nullptr;
    QCheckBox* FSymbolVisible = nullptr;
    bool FFilling = true;
    bool FPageChanging = false;
    bool FDestroying = false;
};

// The host the control stands in (itself or through its parents); nullptr when none.
TFormLumSeries* SeriesHostOf(QWidget* Control);

// The way a type editor adds a tab: in the host the control stands in, a new page at PageIndex with a
// new form of class T editing Object; elsewhere a free-standing form (captioned, tagged, not shown).
template <class T>
T* InsertEditorPage(QWidget* Control, int PageIndex, const std::string& Caption, TPersistent* Object)
{
    if (TFormLumSeries* host = SeriesHostOf(Control)) {
        auto* form = new T(host);
        host->InsertPage(*form, PageIndex, Caption, Object);
        return form;
    }
    auto* form = new T(Control ? Control->window() : nullptr);
    form->SetCaption(Caption);
    form->SetTag(Object);
    return form;
}
