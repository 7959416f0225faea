// The chart editor window (TChartEditForm): the "Chart" tab with the series list (its buttons and the
// series groups) and the chart-wide pages, the "Series" tab with the series editor host, the "Print" tab
// with the print preview, the pages other units make (Data, Tools, Export), the tree that may replace
// the tabs, the pages to hide, the remembered place and size; and ShowGraphicEditor, the one way the
// program opens it. Form code: Qt Widgets.
#pragma once

#include "chart/editors/LumLisB.h"
#include "platform/controls/Forms.h"

#include <bitset>
#include <cstdint>
#include <functional>
#include <vector>

class QCheckBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QSplitter;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class TChartAxis;
class TChartEditForm;
class TChartPreview;
class TChartSeries;
class TChartTitle;
class TCustomAxisPanel;
class TCustomChartWall;
class TFormLumSeries;
class TLumCustomTool;

// The pages of the window, as HiddenTabs and the active page index number them.
enum TChartEditorTab {
    cetSeriesList, cetGeneral, cetAxis, cetTitles, cetLegend, cetPanel, cetPaging, cetWalls, cet3D,
    cetSeriesGeneral, cetSeriesMarks, cetSeries, cetData, cetExport, cetExportNative, cetTools, cetPrint,
};
using TChartEditorHiddenTabs = std::bitset<17>;

// The bits of EditorOptions.
enum TChartEditorOption : std::uint16_t {
    ceoAdd = 1, ceoDelete = 2, ceoChange = 4, ceoClone = 8, ceoDataSource = 16, ceoTitle = 32,
    ceoGroups = 128, ceoGroupAll = 256, ceoOrderSeries = 512,
};
inline constexpr std::uint16_t DefaultChartEditorOptions = 895;

// What other units add to the window: the forms of the Data, Tools and Export pages (a page whose maker
// is not installed stays hidden; the maker embeds its form in the tab it gets, which it is handed once),
// and extension procedures, called at each show with no page and at each change of the main page with
// that page.
using TChartEditorPageMaker = std::function<void(TChartEditForm& Form, QWidget& Tab)>;
using TChartEditorExtension = std::function<void(TChartEditForm& Form, QWidget* Page)>;
struct TChartEditorModule {
    TChartEditorPageMaker DataPage;
    TChartEditorPageMaker ToolsPage;
    TChartEditorPageMaker ExportPage;
    std::vector<TChartEditorExtension> Extensions;
};
TChartEditorModule& ChartEditorModule();

class TChartEditForm : public TForm {
public:
    explicit TChartEditForm(QWidget* Owner);
    ~TChartEditForm() override;

    // The edited chart (none: the pages are disabled); reads the remembered place and size.
    void BindChart(TCustomAxisPanel* Chart);
    TCustomAxisPanel* Chart() const { return FChart; }

    // Set before showing.
    std::uint16_t EditorOptions = DefaultChartEditorOptions;
    TChartEditorHiddenTabs HiddenTabs;
    // The chart page to open first (-1: none); 12, 13, 15 and 16 open Data, Export, Tools and Print.
    int ActivePageIndex = -1;
    // The series whose editor opens when the window shows.
    TChartSeries* SeriesToEdit = nullptr;
    // Given to the Axis, Titles and Walls pages; none: the left axis, the title, the left wall.
    TChartAxis* AxisToEdit = nullptr;
    TChartTitle* TitleToEdit = nullptr;
    TCustomChartWall* WallToEdit = nullptr;
    bool RememberPosition() const { return FRememberPosition; }
    bool RememberSize() const { return FRememberSize; }
    bool TreeMode() const { return FTreeMode; }

    // What the window's show does: hidden pages, the tree, the first page, the groups, the series to edit.
    void FormShow();
    void PrepareShow() { FormShow(); }
    // Creates the series host on the first call (afterwards it only gets the series to edit) and shows
    // the series.
    void ShowSeriesPage();
    TFormLumSeries* SeriesHost() const { return FHost; }
    // The form of a chart page (cetGeneral .. cet3D) once its page was shown; none before.
    TForm* PageForm(int Index) const;
    TChartPreview* PrintPreview() const { return FPreview; }
    // Widens or heightens the window when its pages need more room than it has (never shrinks it).
    void GrowToContents();
    // GrowToContents before the window shows, with every page built: the window opens at the size its
    // largest page needs, and that size counts as the designed one.
    void FitDesignedSizeToContents();

    // The series list's buttons follow the selection, EditorOptions and the series' editor flags.
    void LBSeriesRefreshButtons();
    // The groups' check list from the chart's groups.
    void FillGroups();
    // The series joins the group of the check-list item (leaving the group shown unless that is "(all)").
    void DropSeriesOnGroup(TChartSeries* Series, int GroupItem);
    // The tree of tree mode, built again.
    void BuildTree();
    // What selecting a tree node does.
    void TreeNodeSelected(QTreeWidgetItem* Node);

    QWidget* Body;              // the tree, its splitter and the pages: hidden by the Graphic editor
    QTabWidget* MainPage;
    QWidget* TabChart;          // "Chart"
    QWidget* TabSeries;         // "Series"
    QWidget* TabData;           // "Data"
    QWidget* TabTools;          // "Tools"
    QWidget* TabExport;         // "Export"
    QWidget* TabPrint;          // "Print"
    QTabWidget* SubPage;
    std::vector<QWidget*> SubTabs;  // the nine chart pages, cetSeriesList .. cet3D
    TChartListBox LBSeries;
    QPushButton* BMoveUP;
    QPushButton* BMoveDown;
    QPushButton* BAddSeries;        // "&Add..."
    QPushButton* BDeleteSeries;     // "&Delete"
    QPushButton* BRenameSeries;     // "&Title..."
    QPushButton* BCloneSeries;      // "C&lone"
    QPushButton* BChangeTypeSeries; // "&Change..."
    QPushButton* BAddGroup;         // "+"
    QPushButton* BDeleteGroup;      // "-"
    QPushButton* BRenameGroup;      // "..."
    QCheckBox* CBNames;             // "&View Series Names" (design environments only: never shown)
    QWidget* PanelGroups;
    QListWidget* Groups;            // "(all)" and the chart's groups, three-state checks
    QSplitter* TreeSplitter;
    QTreeWidget* Tree;
    QWidget* PanelBottom;
    QPushButton* ButtonHelp;        // "&Help..."
    QPushButton* BClose;            // "Close"

private:
    friend int ShowGraphicEditor(TChartSeries& Series);
    QSize NeededSize();
    void GrowLater();
    void ReadPlace();
    void WritePlace();
    void SubPageChange();
    void MainPageChange();
    void HideTabs();
    void SelectActivePage();
    bool SubTabVisible(int Index) const;
    bool MainTabVisible(QWidget* Tab) const;
    void ShowTreeMode();
    // The series of a series node while it is still in the chart; none after it went.
    TChartSeries* SeriesOfNode(QTreeWidgetItem* Node) const;
    // The group of a check-list item; none for "(all)".
    TSeriesGroup* GroupOfItem(int Item) const;
    void GroupItemChanged(QListWidgetItem* Item);
    void AddGroup();
    void DeleteGroup();
    void RenameGroup();
    void EditSeries(TChartSeries* Series);
    void RunExtensions(QWidget* Page);

    TCustomAxisPanel* FChart = nullptr;
    TFormLumSeries* FHost = nullptr;
    std::vector<TForm*> FPages;
    TChartPreview* FPreview = nullptr;
    bool FDataMade = false, FToolsMade = false, FExportMade = false;
    bool FRememberPosition = true;
    bool FRememberSize = true;
    bool FTreeMode = false;
    bool FFillingGroups = false;
    bool FFillingTree = false;
    int FWidthBeforeTree = 0;
    int FDesignedWidth = 0;
    int FDesignedHeight = 0;
};

// The "Graphic editor" for one series of a chart: only the series' editor with its "Format" (and the
// pages it adds) and "Marks" tabs, shown modally; returns 0.
int ShowGraphicEditor(TChartSeries& Series);
