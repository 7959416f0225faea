// The main window's construction: its menus, tool bars, status bar and views, and what runs at creation
// (FormCreate), at resizing, on keys, and the small commands of the File and Help menus.
#include "views/ResMainForm.h"

#include "chart/control/Chart.h"
#include "chart/control/LumPrevi.h"
#include "chart/series/Series.h"
#include "core/Supermath2d.h"
#include "platform/controls/Application.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Menus.h"
#include "platform/controls/ShellApi.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/ResourceStore.h"
#include "platform/rtl/CommandLine.h"
#include "platform/rtl/ConfigPaths.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SystemColors.h"
#include "ui/FileMO.h"
#include "ui/kitStatusBar.h"
#include "ui/SplashArt.h"
#include "ui/uispla.h"
#include "ui/uisplit.h"
#include "views/Dearsetup.h"
#include "views/ModelConstruct.h"
#include "views/PseudoSection2d.h"
#include "views/ResMainFormData.h"
#include "views/ResMainFormGlyphs.h"

#include "views/EditUnit.h"
#include "views/PrSetupUn.h"
#include "views/bsetupun.h"
#include "views/printsettings.h"
#include <algorithm>
#include <filesystem>
#include <ostream>

TMainForm* MainForm = nullptr;

namespace {

struct TToolSpec {
    const char* Name;
    int Mode;
    const char* Hint;
};

// The polygon tools in the order they stand on their tool bar.
const TToolSpec PolygonTools[] = {
    {"SpeedButton9", 0, "Add polygon"},
    {"SpeedButton10", 8, "Delete sub-polygon"},
    {"SpeedButton11", 1, "Add sub-polygon to other"},
    {"SpeedButton12", 9, "Uncouple sub-polygon from polygon"},
    {"SpeedButton13", 2, "Divide polygon"},
    {"SpeedButton14", 11, "Move sub-polygon"},
    {"SpeedButton15", 10, "Move polygon"},
    {"SpeedButton16", 7, "Add node"},
    {"SpeedButton17", 4, "Delete node"},
    {"SpeedButton20", 5, "Move node"},
    {"SpeedButton18", 3, "Uncouple nodes"},
    {"SpeedButton19", 6, "Couple nodes"},
    {"SpeedButton21", 12, "Fix node"},
};

} // namespace

TMainForm::TMainForm(TComponent* AOwner) : TMainFormBase(AOwner), OpenDocument(ShellOpenDocument)
{
    MainForm = this;
    SetName("MainForm");
    SetCaption("VornSP2Dp");
    SetColor(clWhite);
    SetPosition(poDesktopCenter);
    SetHeightConstraints(200, 1000);
    SetKeyPreview(true);
    FStartFolder = std::filesystem::current_path().string();

    OpenDialog1.Filter = OpenDialogFilter;
    SaveDialog1.Filter = SaveDialogFilter;
    SaveDialog1.Options = ofHideReadOnly;

    CreateMenus();
    CreateStatusBar();
    CreateToolBars();
    CreateViews();
    SetClientSize(792, 431);

    Timer1 = new TTimer(this);
    Timer1->SetName("Timer1");
    Timer1->SetEnabled(false);
    Timer1->SetInterval(1000);
    Timer1->OnTimer = [this](TPersistent*) { Timer1Timer(); };

    OnCloseQuery = [this](TPersistent*, bool& CanClose) { FormCloseQuery(CanClose); };
    // A temporary mode ends when the program loses the focus, as at the modifier's release, which
    // another window would hear.
    FActivationHook = Application->HookActivation([this](bool active) {
        if (active || !FModifierHeld) return;
        FModifierHeld = false;
        SetEditMode(SavedEditMode);
    });
    CreateDialogs();
    FormCreate();
    SetMinimumSize();
}

void TMainForm::SetMinimumSize()
{
    // Below this the data plot collapses, labels run together and the polygon tools or the last status
    // panel are cut off. The polygon tool bar counts while hidden: a survey shows it.
    const int width = std::max({StatusBar1->PanelsWidth(), ToolBar1->ItemsWidth(), ToolBar2->ItemsWidth()});
    const int bar = 2 * uiBiSplit1->Thickness() + 2;
    const int height = ToolBar1->Height() + ToolBar2->Height() + StatusBar1->Height() + 2 * MinViewHeight + bar;
    SetMinimumClientSize(width, height);
}

TMainForm::~TMainForm()
{
    Application->UnhookActivation(FActivationHook);
    if (MainForm == this) MainForm = nullptr;
}

// ---- Construction -------------------------------------------------------------------------------------

void TMainForm::CreateMenus()
{
    auto item = [this](TMenuItem* parent, const char* name, const char* caption,
                       std::function<void()> handler = {}, bool enabled = true) {
        auto* m = new TMenuItem(this);
        m->SetName(name);
        m->SetCaption(caption);
        m->SetEnabled(enabled);
        if (handler) m->OnClick = [handler](TPersistent*) { handler(); };
        if (parent)
            parent->Add(m);
        else
            Menu().Add(m);
        return m;
    };
    // Commands whose dialogs and views come later stand in the menus disabled.
    constexpr bool later = false;

    File1 = item(nullptr, "File1", "File");
    Openfile1 = item(File1, "Openfile1", "Open file", [this] { SpeedButton1Click(); });
    Newmodel1 = item(File1, "Newmodel1", "Create survey", [this] { Newmodel1Click(); });
    Savefile1 = item(File1, "Savefile1", "Save file", [this] { SpeedButton2Click(); });
    Editfile1 = item(File1, "Editfile1", "Edit file", [this] { Editfile1Click(); });
    Printpreview1 = item(File1, "Printpreview1", "Print preview", [this] { Printpreview1Click(); });
    item(File1, "N1", "-");
    Recent1 = item(File1, "Recent1", "Recent");
    FileMenuOpens1 = new TFileMenuOpens(this);
    FileMenuOpens1->SetName("FileMenuOpens1");
    FileMenuOpens1->SetNumbers(5);
    FileMenuOpens1->SetRegPath("\\Software\\VornSP2dp\\Files");
    FileMenuOpens1->SetMenus(Recent1);
    FileMenuOpens1->SetMenuIndex(0);
    FileMenuOpens1->SetOnAction([this](TPersistent* Sender) {
        if (auto* entry = dynamic_cast<TMenuItem*>(Sender)) FileMenuOpens1Action(entry->Caption());
    });
    item(File1, "N2", "-");
    Exit1 = item(File1, "Exit1", "Exit", [this] { Exit1Click(); });

    Options1 = item(nullptr, "Options1", "Options", [this] { Options1Click(); });
    Newmodel2 = item(Options1, "Newmodel2", "Model constructor", [this] { Newmodel2Click(); });
    Programsetup1 = item(Options1, "Programsetup1", "Program setup", [this] { SpeedButton4Click(); });
    Electrodeeditor1 = item(Options1, "Electrodeeditor1", "Electrode editor", [this] { SpeedButton5Click(); });
    item(Options1, "N5", "-");

    // The survey-wide switches stand in sub-menus of Options.
    Data1 = item(Options1, "Data1", "Data", [this] { Data1Click(); });
    Apparentresistivity1 = item(Data1, "Apparentresistivity1", "DU", [this] { Apparentresistivity1Click(); });
    Resistanse1 = item(Data1, "Resistanse1", "Potential", [this] { Resistanse1Click(); });
    item(Data1, "N3", "-");
    Pointindex1 = item(Data1, "Pointindex1", "Point index", [this] { Pointindex1Click(); });

    Advanced1 = item(Options1, "Advanced1", "Advanced", [this] { Advanced1Click(); });
    Realtopocoordinates1 = item(Advanced1, "Realtopocoordinates1", "Real topo coordinates",
                                [this] { Realtopocoordinates1Click(); });
    Reversepseudosection1 = item(Advanced1, "Reversepseudosection1", "Reverse line",
                                 [this] { Reversepseudosection1Click(); });
    Extendednodes1 = item(Advanced1, "Extendednodes1", "Extended nodes", [this] { Extendednodes1Click(); });
    Openinmodelingmode1 = item(Advanced1, "Openinmodelingmode1", "Open in modeling mode",
                               [this] { Openinmodelingmode1Click(); });

    ImportExport1 = item(Options1, "ImportExport1", "Import/Export");
    Carotagedata1 = item(ImportExport1, "Carotagedata1", "Carotage data", {}, later);
    Importdata1 = item(ImportExport1, "Importdata1", "Import section/data", {}, later);
    Removeimport1 = item(ImportExport1, "Removeimport1", "Remove import", {}, later);
    item(ImportExport1, "N8", "-");
    Outputsettings1 = item(ImportExport1, "Outputsettings1", "Output settings", [this] { Outputsettings1Click(); });

    Help1 = item(nullptr, "Help1", "Help");
    About1 = item(Help1, "About1", "About", [this] { About1Click(); });
    Context1 = item(Help1, "Context1", "Context", [this] { Context1Click(); });
}

void TMainForm::CreateStatusBar()
{
    StatusBar1 = new TkitStatusBar(this);
    StatusBar1->SetName("StatusBar1");
    StatusBar1->SetParent(this);
    StatusBar1->Font().SetName("Small Fonts");
    StatusBar1->Font().SetHeight(-9);
    const struct {
        TkitStatusPanelType Type;
        int Width;
    } panels[] = {{sptGlyph, 20}, {sptNormal, 180}, {sptGauge, 37}, {sptNormal, MisfitPanelWidth}, {sptGlyph, 18},
                  {sptNormal, 360}};
    for (const auto& p : panels) {
        TkitStatusPanel* panel = StatusBar1->Panels().Add();
        panel->SetPanelType(p.Type);
        panel->SetWidth(p.Width);
    }
    StatusBar1->Panels().Items(spFixedGlyph)->Glyph().SetGraphic(MakeMainGlyph(TMainGlyph::StatusProgram).get());
    StatusBar1->Panels().Items(spModeGlyph)->Glyph().SetGraphic(MakeMainGlyph(TMainGlyph::StatusMode).get());
    SetAlign(StatusBar1, alBottom);
}

void TMainForm::CreateToolBars()
{
    ToolBar1 = new TToolBar(this);
    ToolBar1->SetName("ToolBar1");
    ToolBar1->SetParent(this);
    ToolBar1->SetHeight(29);
    auto button = [this](TToolBar* bar, const char* name, const char* hint, TMainGlyph glyph,
                         std::function<void()> handler, bool enabled = true) {
        auto* b = new TSpeedButton(this);
        b->SetName(name);
        b->SetFlat(true);
        b->SetHint(hint);
        b->SetGlyph(*MakeMainGlyph(glyph));
        b->SetEnabled(enabled);
        if (handler) b->OnClick = [handler](TPersistent*) { handler(); };
        bar->AddButton(b);
        return b;
    };
    SpeedButton1 = button(ToolBar1, "SpeedButton1", "Open data file", TMainGlyph::Open, [this] { SpeedButton1Click(); });
    SpeedButton2 = button(ToolBar1, "SpeedButton2", "Save data file", TMainGlyph::Save, [this] { SpeedButton2Click(); });
    ToolBar1->AddSeparator();
    SpeedButton4 = button(ToolBar1, "SpeedButton4", "Program setup", TMainGlyph::Setup, [this] { SpeedButton4Click(); });
    SpeedButton5 = button(ToolBar1, "SpeedButton5", "Electrode editor", TMainGlyph::Electrodes,
                          [this] { SpeedButton5Click(); });
    ToolBar1->AddSeparator();
    SpeedButton6 = button(ToolBar1, "SpeedButton6", "Forward problem", TMainGlyph::Forward, [this] { SpeedButton6Click(); });
    SpeedButton22 = button(ToolBar1, "SpeedButton22", "Inversion", TMainGlyph::Inversion, [this] { SpeedButton22Click(); });
    ToolBar1->SetButtonWidth(23);
    SpeedButton8 = button(ToolBar1, "SpeedButton8", "UnDo", TMainGlyph::Undo, [this] { SpeedButton8Click(); });
    SpeedButton8->SetLayout(blGlyphRight);
    ToolBar1->AddSeparator();
    SetAlign(ToolBar1, alTop);

    // The polygon tools, each its own group with AllowAllUp, so the window makes them one radio group.
    ToolBar2 = new TToolBar(this);
    ToolBar2->SetName("ToolBar2");
    ToolBar2->SetParent(this);
    ToolBar2->SetHeight(38);
    ToolBar2->SetButtonWidth(33);
    ToolBar2->SetButtonHeight(33);
    int group = 1;
    for (const TToolSpec& t : PolygonTools) {
        auto* b = new TSpeedButton(this);
        b->SetName(t.Name);
        b->SetFlat(true);
        b->SetHint(t.Hint);
        b->SetGlyph(*MakePolygonToolGlyph(t.Mode));
        if (t.Mode != 12) {
            b->SetGroupIndex(group++);
            b->SetAllowAllUp(true);
        }
        b->OnClick = [this, b](TPersistent*) { PolygonToolClick(b); };
        ToolBar2->AddButton(b);
        PolygonToolButtons.push_back(b);
    }
    ToolBar2->Hide();
    SetAlign(ToolBar2, alBottom);
}

void TMainForm::CreateViews()
{
    uiBiSplit1 = new TuiBiSplit(this);
    uiBiSplit1->SetName("uiBiSplit1");
    uiBiSplit1->SetParent(this);
    uiBiSplit1->SetLayout(bslHorz);
    uiBiSplit1->SetSplitVPos(158);
    TWinControl* upper = uiBiSplit1->Pane(0);
    TWinControl* lower = uiBiSplit1->Pane(1);
    upper->SetName("uiSplitPane1");
    lower->SetName("uiSplitPane2");

    PseudoSection2d1 = new TPseudoSection2d(this);
    PseudoSection2d1->SetName("PseudoSection2d1");
    PseudoSection2d1->SetParent(upper);
    PseudoSection2d1->CreateDataGraphs();
    PolygonChart1 = new TPolygonChart(this);
    PolygonChart1->SetName("PolygonChart1");
    PolygonChart1->SetParent(lower);
    // Each view fills its pane (named pointers, not a structured binding: the handler captures them).
    for (const auto& view : {std::pair<TWinControl*, TWinControl*>{upper, PseudoSection2d1},
                             std::pair<TWinControl*, TWinControl*>{lower, PolygonChart1}}) {
        TWinControl* pane = view.first;
        TWinControl* chart = view.second;
        pane->OnResize = [pane, chart](TPersistent*) { chart->SetBounds(0, 0, pane->Width(), pane->Height()); };
        chart->SetBounds(0, 0, pane->Width(), pane->Height());
    }
    // The model view's cursor position in status panel 1; a double-click edits a body or opens the pop-up.
    PolygonChart1->StatusCallback = [this](TPersistent*) { ShowModelCursor(); };
    PolygonChart1->OnDblClick = [this](TPersistent*) { PolygonChart1DblClick(); };
    // A refused edit says why in panel 5; a completed one brings the mode's help back and leaves the
    // last run's results behind the model.
    PolygonChart1->OnEditMessage = [this](TPolygonChart*, const std::string& refusal) { ShowEditMessage(refusal); };
    PolygonChart1->onchangemodel = [this](TPersistent*) { MarkResultsOld(true); };
    CreateModelViewMenu();
    uiBiSplit1->OnResize = [this](TPersistent*) { uiBiSplit1->SetSplitVPercent(uiBiSplit1->SplitVPercent()); };
    uiBiSplit1->Hide();
    SetAlign(uiBiSplit1, alClient);

    // The splash: the program's card, shaped by its outline, blended in and out. It shows beside the
    // window at start-up (ShowStartUpSplash), not before it, so that it never holds the window back.
    uiSplash1 = new TuiSplash(this);
    uiSplash1->SetName("uiSplash1");
    uiSplash1->SetAutoShow(false);
    RegisterSplashArt();
    TBitmap art;
    LoadBitmapResource(SplashArtResource, art);
    uiSplash1->Picture().SetGraphic(&art);
    uiSplash1->AnimateShow().SetEffect(aweBlend);
    uiSplash1->AnimateHide().SetEffect(aweBlend);
    uiSplash1->SetBevelWidth(1);
    uiSplash1->SetShapeTolerance(clGreen);
    uiSplash1->SetShapeForm(true);
}

// ---- Start-up ---------------------------------------------------------------------------------------------

void TMainForm::FormCreate()
{
    const std::string exe = ExecutablePath();
    RegisterFileType("sp2", "VornSP2dp data", exe + ",0", exe);
    const TIniFile ini(SettingsFilePath());
    ReadCommonSettings(ini, Settings, Survey, PolygonChart1->NewPolygonProperties);
    OpenDialog1.FileName = Settings.LastPath;
    OpenDialog1.InitialDir =
        Settings.LastPath.empty() ? std::string() : std::filesystem::path(Settings.LastPath).parent_path().string();
    OpenDialog1.FilterIndex = Settings.FilterIndex;
    Settings.AddDataType = 0;
    FormResize();
    Timer1->SetEnabled(true);
    LoadViewSettings();
    SetPlotMode();
}

void TMainForm::FormResize() { Application->ProcessMessages(); }

// ---- Small commands ---------------------------------------------------------------------------------------

void TMainForm::Exit1Click() { Close(); }

void TMainForm::Editfile1Click()
{
    const std::string& file = Survey.CurrentFile;
    if (!Survey.DataLoaded || file.empty() || !std::filesystem::exists(file)) return;
    // The desktop's open takes a survey file, which is plain text, to its text editor.
    if (!OpenDocument(file)) ShowMessage("Cannot open " + file + " in a text editor.");
}

void TMainForm::Printpreview1Click()
{
    if (FBusy || !Survey.ModelReady) return;
    ShowTwoChartPreview(ControlWidget(this), PseudoSection2d1, PolygonChart1);
}

void TMainForm::Context1Click()
{
    namespace fs = std::filesystem;
    const fs::path here = fs::current_path() / "VornSP2dp.pdf";
    const fs::path beside = fs::path(ExecutablePath()).parent_path() / "VornSP2dp.pdf";
    for (const fs::path& p : {here, beside})
        if (fs::exists(p) && OpenDocument(p.string())) return;
    ShowMessage("File not found - VornSP2dp.pdf");
}

// ---- Status bar ---------------------------------------------------------------------------------------

void TMainForm::SetStatusText(int panel, const std::string& text)
{
    StatusBar1->Panels().Items(panel)->SetText(text);
    WriteLayoutReport();
}

void TMainForm::AddToLayoutReport(std::ostream& out) const
{
    for (int i = 0; i < StatusBar1->Panels().Count(); ++i)
        if (StatusBar1->Panels().Items(i)->PanelType() == sptNormal) out << "status " << i << " " << StatusText(i) << "\n";
}

void TMainForm::ShowMisfit(const std::string& text)
{
    FMisfitText = text;
    const std::string shown = text.empty() || !FResultsOld ? text : text + OldResultsMark;
    SetStatusText(spMisfit, shown);
    // Every misfit whole: the panel is as wide as its text needs, never narrower than its own width.
    TkitStatusPanel& panel = *StatusBar1->Panels().Items(spMisfit);
    const int width = std::max(MisfitPanelWidth, StatusBar1->TextExtent(shown).cx + 6 + panel.BorderWidth());
    if (panel.Width() != width) {
        panel.SetWidth(width);
        SetMinimumSize();
    }
}

void TMainForm::MarkResultsOld(bool old)
{
    FResultsOld = old;
    ShowMisfit(FMisfitText);
    PseudoSection2d1->Series2->SetTitle(CalculatedCurveTitle(Survey.DataType, FResultsOld));
    // The legend's width has changed with the entry.
    PseudoSection2d1->PlaceLegend();
}

std::string TMainForm::StatusText(int panel) const { return StatusBar1->Panels().Items(panel)->Text(); }

int TMainForm::GaugePosition() const { return StatusBar1->Panels().Items(spProgress)->GaugeAttrs().Position(); }
