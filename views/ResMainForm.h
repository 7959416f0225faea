// The main window: menus and tool bars, the status bar, the data view above and the model view below in
// a splitter; start-up and closing with the settings file, the open pipeline and the file commands, and the
// forward run and the inversion with progress. The window owns the survey; the topic files beside this
// one hold its parts (settings, file commands, runs, stand-in views).
#pragma once

#include "core/SurveyData.h"
#include "core/DC2dBEM.h"
#include "platform/controls/MainForm.h"
#include "platform/controls/Prompter.h"
#include "views/PolygonChart.h"
#include "views/PseudoSection2d.h"
#include "views/ResMainFormOpen.h"
#include "views/ResMainFormSave.h"
#include "views/ResMainFormSettings.h"

#include <functional>
#include <string>
#include <vector>

class TBitmap;
class TBsetup;
class TEditForm;
class TSetupForm;
class Tprntset;
class TChart;
class TChartSeries;
class TCustomChart;
class TDefarray;
class TFileMenuOpens;
class TMenuItem;
class TModConstr;
class TPopupMenu;
class TSpeedButton;
class TTimer;
class TToolBar;
class TWinControl;
class TkitStatusBar;
class TuiBiSplit;
class TuiSplash;

// Status panels of StatusBar1.
enum TMainStatusPanel { spFixedGlyph = 0, spCursor = 1, spProgress = 2, spMisfit = 3, spModeGlyph = 4, spModeHelp = 5 };
// The misfit panel's own width; a wider misfit text widens it.
inline constexpr int MisfitPanelWidth = 50;
// The least height of each view: titles, axis labels, the legend and a plot between them drawn whole.
inline constexpr int MinViewHeight = 120;

class TMainForm : public TMainFormBase {
public:
    explicit TMainForm(TComponent* AOwner);
    ~TMainForm() override;

    // ---- Components ----
    TkitStatusBar* StatusBar1 = nullptr;
    TToolBar* ToolBar1 = nullptr;
    TSpeedButton *SpeedButton1 = nullptr, *SpeedButton2 = nullptr, *SpeedButton4 = nullptr,
                 *SpeedButton5 = nullptr, *SpeedButton6 = nullptr, *SpeedButton22 = nullptr,
                 *SpeedButton8 = nullptr;
    TToolBar* ToolBar2 = nullptr;
    // SpeedButton9 .. SpeedButton21, in the order they stand on ToolBar2.
    std::vector<TSpeedButton*> PolygonToolButtons;
    TuiBiSplit* uiBiSplit1 = nullptr;
    TPseudoSection2d* PseudoSection2d1 = nullptr; // the data view
    TPolygonChart* PolygonChart1 = nullptr;       // the model view
    TMenuItem *File1 = nullptr, *Openfile1 = nullptr, *Newmodel1 = nullptr, *Savefile1 = nullptr,
              *Editfile1 = nullptr, *Printpreview1 = nullptr, *Recent1 = nullptr, *Exit1 = nullptr;
    TMenuItem *Options1 = nullptr, *Newmodel2 = nullptr, *Programsetup1 = nullptr, *Electrodeeditor1 = nullptr;
    TMenuItem *Data1 = nullptr, *Apparentresistivity1 = nullptr, *Resistanse1 = nullptr, *Pointindex1 = nullptr;
    TMenuItem *Advanced1 = nullptr, *Realtopocoordinates1 = nullptr, *Reversepseudosection1 = nullptr,
              *Extendednodes1 = nullptr, *Openinmodelingmode1 = nullptr;
    TMenuItem *ImportExport1 = nullptr, *Carotagedata1 = nullptr, *Importdata1 = nullptr,
              *Removeimport1 = nullptr, *Outputsettings1 = nullptr;
    TMenuItem *Help1 = nullptr, *About1 = nullptr, *Context1 = nullptr;
    // The model view's pop-up.
    TPopupMenu* PopupMenu1 = nullptr;
    TMenuItem *Setup1 = nullptr, *Printpreview2 = nullptr, *Savepicture1 = nullptr, *ZoomScroll1 = nullptr,
              *Equalscale1 = nullptr;
    TFileMenuOpens* FileMenuOpens1 = nullptr;
    TuiSplash* uiSplash1 = nullptr;
    TTimer* Timer1 = nullptr;
    TFileDialogData OpenDialog1;
    TFileDialogData SaveDialog1;

    // ---- State ----
    TSurveyState Survey;
    TMainWindowSettings Settings;
    // The progress the solver's step callback drives (status panel 2).
    TProgressGauge Progress;
    // The desktop's open of a file; tests replace it.
    std::function<bool(const std::string& path)> OpenDocument;
    // The edit mode a released modifier key returns to, and the measurement last picked on the data view.
    int SavedEditMode = 0;
    bool PointPicked = false;
    int SelectedSet = 0;
    int SelectedRow = 0;
    // The electrode editor, once it exists: whether it shows, and its grid's current row (1 the first
    // measurement). Unset, it never shows.
    std::function<bool()> ElectrodeEditorVisible;
    std::function<void(int row)> SelectElectrodeEditorRow;

    // ---- Start-up and closing (ResMainForm.cpp, ResMainFormSetup.cpp) ----
    void FormCreate();
    void FormCloseQuery(bool& CanClose);
    void FormResize();
    // The view styles from the settings file (start-up only).
    void LoadViewSettings();
    void SetPlotMode();
    // The reset before a new survey and before the view styles are saved.
    void prepaxises();
    // The splash beside the window just shown, unless the command line says "-ns". It waits for the
    // window's first paint, so that it never holds the window back; a command-line open begun meanwhile
    // keeps it away.
    void ShowStartUpSplash();
    void Exit1Click();
    // The splash as the about window, for 20 seconds.
    void About1Click();
    void Context1Click();
    void Editfile1Click();
    // Both views on one page of the print preview, once a model has been computed.
    void Printpreview1Click();

    // ---- File commands (ResMainFormFile.cpp) ----
    // Opens a ".sp2" survey or a ".cfg" configuration and shows it; "Error in data file!" for anything else.
    void OpenData(const std::string& path);
    void SpeedButton1Click();
    void FileMenuOpens1Action(const std::string& path);
    void Timer1Timer();
    void Newmodel1Click();
    void SpeedButton2Click();
    // The worksheet (both views stacked) or, with modelOnly, the model view alone, as a ".bmp" file;
    // false when it could not be written.
    bool SaveBitmap(const std::string& path, bool modelOnly);
    // The two views as one picture, data view on top, each at its size on screen.
    std::unique_ptr<TBitmap> WorksheetPicture();

    // ---- The application dialogs (ResMainFormDialogs.cpp) ----
    // The program setup, the electrode editor and the picture settings, made with the window and kept;
    // the body parameters dialog, made on first use and kept.
    std::unique_ptr<TSetupForm> SetupForm;
    std::unique_ptr<TEditForm> EditForm;
    std::unique_ptr<Tprntset> prntset;
    std::unique_ptr<TBsetup> Bsetup;
    // "Program setup": the dialog loaded from the window's fields and shown modally.
    void SpeedButton4Click();
    // "Electrode editor": filled from the survey and shown beside the window, once a survey is there.
    void SpeedButton5Click();
    // "Output settings": the picture settings.
    void Outputsettings1Click();
    // The model view's pop-up "Setup": a section setup dialog for the model view, made per use.
    void Setup1Click();
    // A survey opened or made while the electrode editor is shown fills it anew.
    void RefillElectrodeEditor();

    // ---- Runs (ResMainFormRun.cpp) ----
    void SpeedButton6Click();
    void SpeedButton22Click();
    // Hands the survey and the model to the solver and runs the forward problem or the inversion; a
    // failure the run reports is shown with the application's title. Returns whether it succeeded.
    virtual bool RunSolver(bool invert);
    // The solver's two callbacks: a step pumps the pending messages, then advances the gauge.
    virtual void StepProgress();
    virtual void ResetProgress();
    void ShowBoundaryPreview();
    // A forward run or an inversion is working (the window is disabled meanwhile).
    bool Busy() const { return FBusy; }

    // ---- The data view's services (ResMainFormData.cpp; the topic's functions on this window) ----
    void ShowDataGraphs(bool flag = false);
    void UpdateDataMenu();
    void ShowElectrodeMarks();
    void HighlightElectrodes(int set, int row);
    void MarkMeasurementElectrodes(int set, int row);
    int GlobalRowIndex(int set, int row) const;
    void LocateRow(int index, int& set, int& row) const;
    TModalResult RunModelConstructor(bool newModel);
    // The two dialogs, made on first use and kept.
    std::unique_ptr<TDefarray> Defarray;
    std::unique_ptr<TModConstr> ModConstr;

    // ---- Edit modes, keys, undo and picking (ResMainFormEdit.cpp) ----
    // SpeedButton9 .. SpeedButton21: the model view's mode becomes the button's.
    void PolygonToolClick(TSpeedButton* Sender);
    // Every polygon tool button up, the sender (a button) down, and the current mode's help in panel 5.
    void SetToolButtons(TSpeedButton* Sender);
    // Panel 5: the mode's help text; without a mode (-1) the message of the last open, such as the lines
    // of its file that could not be read.
    void ShowModeHint(int mode);
    // UnDo (and Esc), once a model was computed: a pending edit given up, else back one completed edit.
    void SpeedButton8Click();
    // The window sees every key first: 'Z' zoom and scroll, Shift, Alt and Ctrl a mode while held, Space
    // the forward run, Esc undo.
    void FormKeyDown(std::uint16_t& Key, TShiftState Shift);
    void FormKeyUp(std::uint16_t& Key, TShiftState Shift);
    // Picking on the data view: a click on a graph's point selects its measurement (and marks its
    // electrodes when the left button), the release takes the marks away.
    void Chart1ClickSeries(TCustomChart* Sender, TChartSeries* Series, int ValueIndex, TMouseButton Button,
                           TShiftState Shift, int X, int Y);
    void Chart1MouseUp();
    // The model view's cursor position in panel 1.
    void ShowModelCursor();

    // ---- Options, Data and Advanced menus, the model view's pop-up (ResMainFormOptions.cpp) ----
    void Options1Click();
    void Data1Click();
    void Newmodel2Click();
    void Apparentresistivity1Click();
    void Resistanse1Click();
    void Pointindex1Click();
    void Advanced1Click();
    void Reversepseudosection1Click();
    void Realtopocoordinates1Click();
    // The model view's depth axis labelled with depths, or with elevations: the highest point of the
    // topography, at -offset, less the depth.
    void ShowDepthLabels(bool elevations, double offset);
    void Extendednodes1Click();
    void Openinmodelingmode1Click();
    // A double-click in the model view: the body under the cursor inside the plot, else the pop-up.
    void PolygonChart1DblClick();
    void Printpreview2Click();
    void Savepicture1Click();
    void ZoomScroll1Click();
    void Equalscale1Click();
    TFileDialogData SavePictureDialog;

    void SetStatusText(int panel, const std::string& text);
    std::string StatusText(int panel) const;
    int GaugePosition() const;

    // ---- Results and messages ----
    // The misfit of the last solve in panel 3, with OldResultsMark while the results are old.
    void ShowMisfit(const std::string& text);
    // The last run's results stand for an earlier model (an edit, an undo, a body dialog, the model
    // constructor since), or again for this one (a run): the misfit and the calculated curve's legend
    // entry carry the mark while they are old. Nothing is run.
    void MarkResultsOld(bool old);
    bool ResultsOld() const { return FResultsOld; }
    // Panel 5 after a press on the model view: a refused edit's reason; "" (an edit completed) brings the
    // mode's help back, as a mode change and UnDo do.
    void ShowEditMessage(const std::string& refusal);
    // The least window size at which menus, tool bars, both views and every status panel are drawn
    // whole; again whenever a panel widens.
    void SetMinimumSize();

protected:
    void AddToLayoutReport(std::ostream& out) const override;
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void KeyUp(std::uint16_t& Key, TShiftState Shift) override;
    void DoFirstPaint() override;

private:
    // The dialogs made with the window, and the views' hooks into them.
    void CreateDialogs();
    friend class TMainBusyScope;
    void CreateMenus();
    void CreateToolBars();
    void CreateViews();
    void CreateModelViewMenu();
    // A new mode of the model view, the edit in progress ended.
    void SetEditMode(int mode);
    void CreateStatusBar();
    // After a run: a close asked for meanwhile is made now.
    void RunEnded();
    void AddRecentFile(const std::string& path);
    void ShowSplash(bool atStartUp);
    void ShowRunFailure(const std::string& message);

    bool FBusy = false;
    bool FCloseAfterRun = false;
    // What the last open had to say about its file ("N lines could not be read: ..."), or empty.
    std::string FOpenMessage;
    // The mode whose help panel 5 shows, and whether a refusal covers it now.
    int FHintMode = -1;
    bool FRefusalShown = false;
    // The misfit text of the last solve, and whether the model has changed since.
    std::string FMisfitText;
    bool FResultsOld = false;
    std::string FStartFolder;
    bool FSplashAfterFirstPaint = false;
    // A modifier key is held (its temporary mode ends also when the program loses the focus).
    bool FModifierHeld = false;
    int FActivationHook = 0;
};

// The window the main block creates.
extern TMainForm* MainForm;
