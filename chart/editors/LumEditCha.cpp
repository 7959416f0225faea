// The chart editor window: its creation size and remembered place, the pages made at their first
// showing, the series list's buttons and groups, the pages to hide and the page to open, tree mode, the
// series page, and the Graphic editor.
#include "chart/editors/LumEditCha.h"

#include "chart/base/LumConst.h"
#include "chart/base/LumPenDlgForm.h"
#include "chart/base/LumPenDlgHelpers.h"
#include "chart/base/RadErareServices.h"
#include "chart/control/ChartControl.h"
#include "chart/control/ChartRegistry.h"
#include "chart/control/ChartWalls.h"
#include "chart/control/LumPrevi.h"
#include "chart/editors/LumCustEdit.h"
#include "chart/editors/LumEdi3D.h"
#include "chart/editors/LumEdiAxis.h"
#include "chart/editors/LumEdiGene.h"
#include "chart/editors/LumEdiLege.h"
#include "chart/editors/LumEdiPage.h"
#include "chart/editors/LumEdiPane.h"
#include "chart/editors/LumEdiSeri.h"
#include "chart/editors/LumEdiTitl.h"
#include "chart/editors/LumEdiWall.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEngineAxisList.h"
#include "chart/engine/LumEngineLists.h"
#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEngineSeries.h"
#include "chart/engine/LumEngineTools.h"
#include "platform/controls/AnsiText.h"
#include "platform/controls/Prompter.h"
#include "platform/controls/Screen.h"
#include "platform/graphics/Bitmap.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <cstdio>

namespace {

constexpr int DesignedWidth = 414;
constexpr int DesignedHeight = 347;
constexpr int Missing = INT_MIN;
constexpr int DefaultTreeWidth = 160;

// What a tree node stands for (its data under Qt::UserRole), and its object or index (UserRole + 1).
enum TNodeKind { nkNone, nkSeries, nkSubPage, nkAxis, nkTitle, nkMainPage, nkTool };

const char* const SubPageCaptions[] = {"Series", "General", "Axis", "Titles", "Legend", "Panel", "Paging", "Walls", "3D"};

QIcon IconOf(const TBitmap& Bitmap)
{
    QImage image(Bitmap.Width(), Bitmap.Height(), QImage::Format_ARGB32);
    // The bottom-left pixel's colour is transparent, as on the speed buttons.
    const TColor transparent = Bitmap.PixelRGB(0, Bitmap.Height() - 1);
    for (int y = 0; y < Bitmap.Height(); ++y)
        for (int x = 0; x < Bitmap.Width(); ++x) {
            const TColor c = Bitmap.PixelRGB(x, y);
            image.setPixel(x, y, c == transparent ? qRgba(0, 0, 0, 0) : qRgb(GetRValue(c), GetGValue(c), GetBValue(c)));
        }
    return QIcon(QPixmap::fromImage(image));
}

QTreeWidgetItem* NewNode(QTreeWidgetItem* Parent, const std::string& Text, TNodeKind Kind, quintptr Data)
{
    auto* node = new QTreeWidgetItem(Parent, QStringList{AnsiToQString(Text)});
    node->setData(0, Qt::UserRole, static_cast<int>(Kind));
    node->setData(0, Qt::UserRole + 1, QVariant::fromValue<quintptr>(Data));
    return node;
}

TChartAxis& StandardAxis(TCustomAxisPanel& Chart, int Index)
{
    switch (Index) {
    case 0: return Chart.LeftAxis();
    case 1: return Chart.RightAxis();
    case 2: return Chart.TopAxis();
    case 3: return Chart.BottomAxis();
    case 4: return Chart.DepthAxis();
    default: return Chart.DepthTopAxis();
    }
}

} // namespace

TChartEditorModule& ChartEditorModule()
{
    static TChartEditorModule module;
    return module;
}

TChartEditForm::TChartEditForm(QWidget* Owner)
    : TForm(Owner), MainPage(new QTabWidget), TabChart(new QWidget), TabSeries(new QWidget), TabData(new QWidget),
      TabTools(new QWidget), TabExport(new QWidget), TabPrint(new QWidget), SubPage(new QTabWidget), LBSeries(nullptr),
      PanelBottom(new QWidget), ButtonHelp(new QPushButton(AnsiToQString("&Help..."))), BClose(new QPushButton("Close"))
{
    const int ppi = Screen->PixelsPerInch();
    resize(DesignedWidth * ppi / 96, DesignedHeight * ppi / 96);
    FDesignedWidth = DesignedWidth;
    FDesignedHeight = DesignedHeight;
    setSizeGripEnabled(false);
    FPages.assign(9, nullptr);

    MainPage->addTab(TabChart, "Chart");
    MainPage->addTab(TabSeries, "Series");
    MainPage->addTab(TabData, "Data");
    MainPage->addTab(TabTools, "Tools");
    MainPage->addTab(TabExport, "Export");
    MainPage->addTab(TabPrint, "Print");
    ShowTabsWhole(*MainPage);
    ShowTabsWhole(*SubPage);
    for (const char* caption : SubPageCaptions) {
        auto* tab = new QWidget;
        SubTabs.push_back(tab);
        SubPage->addTab(tab, caption);
    }
    auto* chartLayout = new QVBoxLayout(TabChart);
    chartLayout->setContentsMargins(2, 2, 2, 2);
    chartLayout->addWidget(SubPage);

    // The series list page: groups on the left, the list with the group buttons above it, the series
    // buttons on the right.
    QWidget* listTab = SubTabs[cetSeriesList];
    PanelGroups = new QWidget;
    Groups = new QListWidget;
    auto* groupsLayout = new QVBoxLayout(PanelGroups);
    groupsLayout->setContentsMargins(0, 0, 0, 0);
    groupsLayout->addWidget(Groups);
    PanelGroups->setFixedWidth(110);
    BAddGroup = new QPushButton("+");
    BDeleteGroup = new QPushButton("-");
    BRenameGroup = new QPushButton("...");
    for (QPushButton* b : {BAddGroup, BDeleteGroup, BRenameGroup}) b->setFixedWidth(28);
    CBNames = NewCheckBox("&View Series Names");
    CBNames->hide();
    LBSeries.SetParentWidget(listTab);
    BMoveUP = new QPushButton;
    BMoveDown = new QPushButton;
    BAddSeries = new QPushButton(AnsiToQString("&Add..."));
    BDeleteSeries = new QPushButton(AnsiToQString("&Delete"));
    BRenameSeries = new QPushButton(AnsiToQString("&Title..."));
    BCloneSeries = new QPushButton(AnsiToQString("C&lone"));
    BChangeTypeSeries = new QPushButton(AnsiToQString("&Change..."));
    auto* groupButtons = new QHBoxLayout;
    groupButtons->addWidget(BAddGroup);
    groupButtons->addWidget(BDeleteGroup);
    groupButtons->addWidget(BRenameGroup);
    groupButtons->addWidget(CBNames);
    groupButtons->addStretch(1);
    auto* moves = new QHBoxLayout;
    moves->addWidget(BMoveUP);
    moves->addWidget(BMoveDown);
    moves->addStretch(1);
    auto* buttons = new QVBoxLayout;
    buttons->addLayout(moves);
    for (QPushButton* b : {BAddSeries, BDeleteSeries, BRenameSeries, BCloneSeries, BChangeTypeSeries}) buttons->addWidget(b);
    buttons->addStretch(1);
    auto* listLayout = new QGridLayout(listTab);
    listLayout->addWidget(PanelGroups, 0, 0, 2, 1);
    listLayout->addLayout(groupButtons, 0, 1);
    listLayout->addWidget(LBSeries.Widget(), 1, 1);
    listLayout->addLayout(buttons, 0, 2, 2, 1);
    listLayout->setColumnStretch(1, 1);
    listLayout->setRowStretch(1, 1);
    PanelGroups->hide();
    for (QPushButton* b : {BAddGroup, BDeleteGroup, BRenameGroup}) b->hide();

    auto* bottom = new QHBoxLayout(PanelBottom);
    bottom->setContentsMargins(4, 0, 4, 4);
    bottom->addWidget(ButtonHelp);
    bottom->addStretch(1);
    bottom->addWidget(BClose);
    ButtonHelp->hide();  // there is no help file

    Tree = new QTreeWidget;
    Tree->setHeaderHidden(true);
    Tree->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    TreeSplitter = new QSplitter(Qt::Horizontal);
    TreeSplitter->addWidget(Tree);
    TreeSplitter->addWidget(MainPage);
    TreeSplitter->setStretchFactor(1, 1);
    TreeSplitter->setChildrenCollapsible(false);
    Tree->hide();
    Body = TreeSplitter;

    auto* form = new QVBoxLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    // The window keeps the size it is given; the pages fit themselves into it.
    form->setSizeConstraint(QLayout::SetNoConstraint);
    form->addWidget(Body, 1);
    form->addWidget(PanelBottom);
    SetButtonModalResult(BClose, mrCancel);
    BindChart(nullptr);
    SetCaption("");
    FRememberPosition = ReadEditorOptionBool("RememberPosition", true);
    FRememberSize = ReadEditorOptionBool("RememberSize", true);
    FTreeMode = ReadEditorOptionBool("TreeMode", false);

    // The series list and its buttons.
    LBSeries.OnRefresh = [this](TPersistent*) { LBSeriesRefreshButtons(); };
    LBSeries.OnOtherItemsChange = [this](TPersistent*) { LBSeriesRefreshButtons(); };
    LBSeries.OnClick = [this](TPersistent*) { LBSeriesRefreshButtons(); };
    LBSeries.OnChangeActive = [this](TPersistent*, TChartSeries*) { FillGroups(); };
    LBSeries.OnDblClickSeries = [this](TPersistent*, int Index) { EditSeries(LBSeries.SeriesOfItem(Index)); };
    LBSeries.OnDropOutside = [this](TPersistent*, TPoint ScreenPos) {
        if (!PanelGroups->isVisible()) return;
        const QPoint p = Groups->viewport()->mapFromGlobal(QPoint(ScreenPos.x, ScreenPos.y));
        if (QListWidgetItem* item = Groups->itemAt(p)) DropSeriesOnGroup(LBSeries.FocusedSeries(), Groups->row(item));
    };
    ConnectGuarded(BAddSeries, &QPushButton::clicked, this, [this](bool) {
        TChartSeries* s = LBSeries.AddSeriesByGallery();
        if (!s || !s->ParentChart()) return;
        if (FTreeMode) BuildTree();
        EditSeries(s);
        if (FHost && FHost->PageSeries->isTabVisible(FHost->PageSeries->indexOf(FHost->TabDataSource)))
            FHost->PageSeries->setCurrentWidget(FHost->TabDataSource);
    });
    ConnectGuarded(BDeleteSeries, &QPushButton::clicked, this, [this](bool) {
        if (!LBSeries.DeleteSelectedSeries()) return;
        if (FHost) {
            FHost->EditedSeries = nullptr;
            FHost->ShowCurrentSeries();
        }
        if (FTreeMode) BuildTree();
    });
    ConnectGuarded(BRenameSeries, &QPushButton::clicked, this, [this](bool) {
        if (LBSeries.RenameSelected() && FTreeMode) BuildTree();
    });
    ConnectGuarded(BCloneSeries, &QPushButton::clicked, this, [this](bool) {
        LBSeries.CloneSelectedSeries();
        if (FTreeMode) BuildTree();
    });
    ConnectGuarded(BChangeTypeSeries, &QPushButton::clicked, this, [this](bool) {
        LBSeries.ChangeTypeByGallery();
        if (FTreeMode) BuildTree();
        if (FHost) {
            FHost->EditedSeries = LBSeries.FocusedSeries();
            FHost->ShowCurrentSeries();
        }
    });
    ConnectGuarded(BMoveUP, &QPushButton::clicked, this, [this](bool) { LBSeries.MoveSelectedUp(); });
    ConnectGuarded(BMoveDown, &QPushButton::clicked, this, [this](bool) { LBSeries.MoveSelectedDown(); });
    ConnectGuarded(CBNames, &QCheckBox::clicked, this, [this](bool v) {
        LBSeries.SetListsNames(v);
        BRenameSeries->setText(AnsiToQString(v ? "&Name..." : "&Title..."));
    });

    // Groups.
    ConnectGuarded(Groups, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) { GroupItemChanged(item); });
    ConnectGuarded(Groups, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!FFillingGroups && row >= 0) LBSeries.SetShownGroup(GroupOfItem(row));
    });
    ConnectGuarded(BAddGroup, &QPushButton::clicked, this, [this](bool) { AddGroup(); });
    ConnectGuarded(BDeleteGroup, &QPushButton::clicked, this, [this](bool) { DeleteGroup(); });
    ConnectGuarded(BRenameGroup, &QPushButton::clicked, this, [this](bool) { RenameGroup(); });

    // Pages.
    ConnectGuarded(MainPage, &QTabWidget::currentChanged, this, [this](int) {
        MainPageChange();
        GrowLater();
    });
    ConnectGuarded(SubPage, &QTabWidget::currentChanged, this, [this](int) {
        SubPageChange();
        GrowLater();
    });

    // The tree.
    ConnectGuarded(Tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* node, QTreeWidgetItem*) {
        if (!FFillingTree) TreeNodeSelected(node);
    });
    ConnectGuarded(Tree, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* node, int) {
        if (FFillingTree || node->data(0, Qt::UserRole).toInt() != nkSeries) return;
        TChartSeries* s = SeriesOfNode(node);
        if (!s) return;
        const std::string text = QStringToAnsi(node->text(0));
        if (!text.empty()) s->SetTitle(text == s->Name() ? std::string() : text);
    });
    OnShow = [this](TForm*) { FormShow(); };
}

TChartEditForm::~TChartEditForm()
{
    try {
        if (FTreeMode && !Tree->isHidden() && FChart && FRememberSize) WriteEditorOptionInteger("TreeWidth", Tree->width());
        if (FTreeMode && FWidthBeforeTree > 0) resize(FWidthBeforeTree, height());
        WritePlace();
    } catch (...) {
        // A registry that cannot be written loses the place, never the window's close.
    }
    // The series list leaves the chart before the pages go.
    LBSeries.SetChart(nullptr);
}

void TChartEditForm::BindChart(TCustomAxisPanel* Chart)
{
    FChart = Chart;
    LBSeries.SetChart(Chart);
    MainPage->setEnabled(Chart != nullptr);
    SubPage->setEnabled(Chart != nullptr);
    if (Chart && (FRememberPosition || FRememberSize)) ReadPlace();
}

void TChartEditForm::ReadPlace()
{
    int left = x();
    int top = y();
    int width = this->width();
    int height = this->height();
    bool moved = false;
    if (FRememberPosition) {
        const int storedLeft = ReadEditorOptionInteger("Left", Missing);
        if (storedLeft != Missing) {
            left = std::max(0, storedLeft);
            top = std::max(0, ReadEditorOptionInteger("Top", 0));
            moved = true;
        }
    }
    if (FRememberSize) {
        const int w = ReadEditorOptionInteger("Width", Missing);
        const int h = ReadEditorOptionInteger("Height", Missing);
        if (w != Missing) width = std::max(100, w);
        if (h != Missing) height = std::max(100, h);
        resize(width, height);
        const int tree = ReadEditorOptionInteger("TreeWidth", Missing);
        if (tree != Missing) Tree->resize(std::max(10, tree), Tree->height());
    }
    if (moved) {
        if (left > Screen->Width()) left = Screen->Width() - width;
        if (top > Screen->Height()) top = Screen->Height() - height;
        move(left, top);
    }
}

void TChartEditForm::WritePlace()
{
    if (!FChart) return;
    if (FRememberPosition) {
        WriteEditorOptionInteger("Left", x());
        WriteEditorOptionInteger("Top", y());
    }
    if (FRememberSize) {
        if (width() != FDesignedWidth) WriteEditorOptionInteger("Width", width());
        if (height() != FDesignedHeight) WriteEditorOptionInteger("Height", height());
    }
}

QSize TChartEditForm::NeededSize()
{
    // The layouts' cached hints learn of deeper changes (tabs joining an inner page control) only over
    // several event-loop turns; renewing every widget's hints gives the size they need now.
    for (QWidget* w : findChildren<QWidget*>()) w->updateGeometry();
    return minimumSizeHint();
}

void TChartEditForm::GrowToContents()
{
    const QSize needed = NeededSize();
    if (needed.width() > width() || needed.height() > height())
        resize(std::max(width(), needed.width()), std::max(height(), needed.height()));
}

void TChartEditForm::GrowLater()
{
    // A page just built settles its size hints over the next turn of the event loop.
    if (isVisible() && Body->isVisible()) QTimer::singleShot(0, this, [this] { GrowToContents(); });
}

void TChartEditForm::FitDesignedSizeToContents()
{
    const QSize needed = NeededSize();
    FDesignedWidth = std::max(FDesignedWidth, needed.width());
    FDesignedHeight = std::max(FDesignedHeight, needed.height());
    GrowToContents();
}

// ---- Pages -------------------------------------------------------------------------------------------------

TForm* TChartEditForm::PageForm(int Index) const
{
    return Index >= 0 && Index < static_cast<int>(FPages.size()) ? FPages[static_cast<std::size_t>(Index)] : nullptr;
}

void TChartEditForm::SubPageChange()
{
    const int index = SubPage->currentIndex();
    if (!FChart || index <= cetSeriesList) return;
    auto* chart = dynamic_cast<TCustomChart*>(FChart);
    TForm*& page = FPages[static_cast<std::size_t>(index)];
    if (!page && chart) {
        switch (index) {
        case cetGeneral: page = TFormLumGeneral::CreateForChart(this, *chart).release(); break;
        case cetAxis: {
            auto* axis = new TFormLumAxis(this, AxisToEdit ? AxisToEdit : &chart->LeftAxis());
            axis->OnAxisOrientation = [this](TChartAxis*) {
                if (FHost) FHost->ShowCurrentSeries();
            };
            page = axis;
            break;
        }
        case cetTitles: page = TFormLumTitle::CreateForTitle(this, *chart, TitleToEdit ? TitleToEdit : &chart->Title()).release(); break;
        case cetLegend: page = TFormLumLegend::CreateForLegend(this, chart->Legend()).release(); break;
        case cetPanel: page = TFormLumPanel::CreateForPanel(this, *chart).release(); break;
        case cetPaging: page = TFormLumPage::CreateForChart(this, *chart).release(); break;
        case cetWalls: page = TFormLumWall::CreateForWall(this, WallToEdit ? *WallToEdit : chart->LeftWall()).release(); break;
        default: page = TFormLum3D::CreateForChart(this, *chart).release(); break;
        }
        EmbedFormFilling(*page, *SubTabs[static_cast<std::size_t>(index)]);
        TranslateFormControls(page);
    }
    if (auto* threeD = dynamic_cast<TFormLum3D*>(page)) threeD->RefreshControls();
}

void TChartEditForm::MainPageChange()
{
    QWidget* tab = MainPage->currentWidget();
    TChartEditorModule& module = ChartEditorModule();
    if (tab == TabSeries) {
        ShowSeriesPage();
    } else if (tab == TabData && module.DataPage) {
        if (!FDataMade) module.DataPage(*this, *TabData);
        FDataMade = true;
    } else if (tab == TabTools && module.ToolsPage) {
        if (!FToolsMade) module.ToolsPage(*this, *TabTools);
        FToolsMade = true;
    } else if (tab == TabExport && module.ExportPage) {
        if (!FExportMade) module.ExportPage(*this, *TabExport);
        FExportMade = true;
    } else if (tab == TabPrint) {
        if (!FPreview && FChart) {
            const TCursor old = Screen->Cursor();
            Screen->SetCursor(crHourGlass);
            FPreview = new TChartPreview(this);
            FPreview->PageNavigatorClass = ChartPageNavigatorClass();
            FPreview->TagChart = FChart;
            FPreview->Panel2->hide();
            FPreview->HideClosePanel();
            EmbedFormFilling(*FPreview, *TabPrint);
            Screen->SetCursor(old);
        }
    } else if (tab != TabChart) {
        RunExtensions(tab);
    }
}

void TChartEditForm::RunExtensions(QWidget* Page)
{
    // A copy: a procedure may register or remove others.
    const std::vector<TChartEditorExtension> procedures = ChartEditorModule().Extensions;
    for (const TChartEditorExtension& p : procedures)
        if (p) p(*this, Page);
}

bool TChartEditForm::SubTabVisible(int Index) const { return SubPage->isTabVisible(Index); }

bool TChartEditForm::MainTabVisible(QWidget* Tab) const { return MainPage->isTabVisible(MainPage->indexOf(Tab)); }

void TChartEditForm::HideTabs()
{
    bool anyChartPage = false;
    for (int i = cetSeriesList; i <= cet3D; ++i) {
        SubPage->setTabVisible(i, !HiddenTabs[static_cast<std::size_t>(i)]);
        anyChartPage = anyChartPage || !HiddenTabs[static_cast<std::size_t>(i)];
    }
    const TChartEditorModule& module = ChartEditorModule();
    const TLumToolTypes* tools = LumToolTypes();
    MainPage->setTabVisible(MainPage->indexOf(TabChart), anyChartPage);
    MainPage->setTabVisible(MainPage->indexOf(TabSeries), !HiddenTabs[cetSeries]);
    MainPage->setTabVisible(MainPage->indexOf(TabData), !HiddenTabs[cetData] && module.DataPage);
    MainPage->setTabVisible(MainPage->indexOf(TabTools),
                            !HiddenTabs[cetTools] && module.ToolsPage && tools && tools->Count() > 0);
    MainPage->setTabVisible(MainPage->indexOf(TabExport), !HiddenTabs[cetExport] && module.ExportPage);
    MainPage->setTabVisible(MainPage->indexOf(TabPrint), !HiddenTabs[cetPrint]);
}

void TChartEditForm::SelectActivePage()
{
    const auto firstOther = [this]() -> QWidget* {
        for (QWidget* t : {TabData, TabTools, TabExport, TabPrint})
            if (MainTabVisible(t)) return t;
        return nullptr;
    };
    QWidget* main = nullptr;
    int sub = -1;
    switch (ActivePageIndex) {
    case cetData: main = TabData; break;
    case cetExport: main = TabExport; break;
    case cetTools: main = TabTools; break;
    case cetPrint: main = TabPrint; break;
    default:
        if (ActivePageIndex >= cetSeriesList && ActivePageIndex <= cet3D) {
            for (int i = ActivePageIndex; i <= cet3D && sub < 0; ++i)
                if (SubTabVisible(i)) sub = i;
            for (int i = ActivePageIndex - 1; i >= cetSeriesList && sub < 0; --i)
                if (SubTabVisible(i)) sub = i;
        }
        break;
    }
    if (sub >= 0 && MainTabVisible(TabChart)) {
        MainPage->setCurrentWidget(TabChart);
        SubPage->setCurrentIndex(sub);
        return;
    }
    if (!main || !MainTabVisible(main)) main = firstOther();
    if (main) MainPage->setCurrentWidget(main);
}

void TChartEditForm::FormShow()
{
    if (!FChart) return;
    CBNames->hide();
    TBitmap up, down;
    LoadArrowBitmaps(up, down);
    BMoveUP->setIcon(IconOf(up));
    BMoveDown->setIcon(IconOf(down));
    LBSeries.SetChart(FChart);
    if (Caption().empty()) {
        char caption[256];
        std::snprintf(caption, sizeof caption, LumConst::EditingTitle, FChart->Name().c_str());
        SetCaption(caption);
    }
    HideTabs();
    RunExtensions(nullptr);
    // The window opens at the size its tabs and list page need; pages built later widen it when they
    // need more.
    FitDesignedSizeToContents();
    if (FTreeMode) ShowTreeMode();
    if (ActivePageIndex != -1) SelectActivePage();
    const bool groups = (EditorOptions & ceoGroups) != 0;
    for (QWidget* w : {static_cast<QWidget*>(BAddGroup), static_cast<QWidget*>(BDeleteGroup),
                       static_cast<QWidget*>(BRenameGroup), PanelGroups})
        w->setVisible(groups);
    if (groups) FillGroups();
    if (SeriesToEdit) {
        LBSeries.SelectSeries(SeriesToEdit);
        EditSeries(SeriesToEdit);
    } else if (ActivePageIndex == -1 && LBSeries.Count() > 0) {
        LBSeries.SelectItem(0);
        if (LBSeries.CanFocus()) LBSeries.SetFocus();
    }
    LBSeriesRefreshButtons();
}

void TChartEditForm::EditSeries(TChartSeries* Series)
{
    if (!Series) return;
    if (FTreeMode) {
        for (QTreeWidgetItemIterator it(Tree); *it; ++it)
            if ((*it)->data(0, Qt::UserRole).toInt() == nkSeries &&
                (*it)->data(0, Qt::UserRole + 1).value<quintptr>() == reinterpret_cast<quintptr>(Series)) {
                Tree->setCurrentItem(*it);
                return;
            }
    }
    LBSeries.SelectSeries(Series);
    SeriesToEdit = Series;
    if (MainPage->currentWidget() == TabSeries) ShowSeriesPage();
    else MainPage->setCurrentWidget(TabSeries);
}

void TChartEditForm::ShowSeriesPage()
{
    TChartSeries* series = LBSeries.FocusedSeries() ? LBSeries.FocusedSeries() : SeriesToEdit;
    std::vector<TChartSeries*> choices;
    if (FChart)
        for (int i = 0; i < FChart->CountSeries(); ++i) choices.push_back(FChart->SeriesAt(i));
    if (!FHost) {
        FHost = new TFormLumSeries(this);
        FHost->ShowDataSourcePage = (EditorOptions & ceoDataSource) != 0;
        FHost->ShowGeneralPage = !HiddenTabs[cetSeriesGeneral];
        FHost->ShowMarksPage = !HiddenTabs[cetSeriesMarks];
        FHost->EditedSeries = series;
        FHost->SetSeriesChoices(choices);
        EmbedFormFilling(*FHost, *TabSeries);
        TranslateFormControls(FHost);
    } else {
        FHost->SetSeriesChoices(choices);
        FHost->EditedSeries = series;
    }
    FHost->ShowCurrentSeries();
}

// ---- The series list's buttons ---------------------------------------------------------------------------

void TChartEditForm::LBSeriesRefreshButtons()
{
    BAddSeries->setEnabled((EditorOptions & ceoAdd) != 0);
    int selected = 0;
    for (int i = 0; i < LBSeries.Count(); ++i) selected += LBSeries.Selected(i) ? 1 : 0;
    const bool usable = FChart && FChart->CountSeries() > 0 && LBSeries.Enabled() && LBSeries.ItemIndex() >= 0;
    TChartSeries* s = usable ? LBSeries.FocusedSeries() : nullptr;
    const std::uint8_t flags = s ? s->EditorFlags() : 0;
    const bool single = usable && selected <= 1;
    BDeleteSeries->setEnabled(s && (EditorOptions & ceoDelete) && !(flags & (1 | 4)));
    BRenameSeries->setEnabled(s && (EditorOptions & ceoTitle) && selected <= 1);
    BChangeTypeSeries->setEnabled(s && (EditorOptions & ceoChange) && !(flags & 2));
    BCloneSeries->setEnabled(s && single && (EditorOptions & ceoClone) && !(flags & (1 | 8)));
    const int index = LBSeries.ItemIndex();
    BMoveDown->setEnabled(s && single && index < LBSeries.Count() - 1);
    BMoveUP->setEnabled(s && single && index > 0);
    const bool order = (EditorOptions & ceoOrderSeries) != 0;
    BMoveUP->setVisible(order);
    BMoveDown->setVisible(order);
    // The list's own keys and icon follow the buttons.
    LBSeries.AllowAddSeries = BAddSeries->isEnabled();
    LBSeries.AllowDeleteSeries = BDeleteSeries->isEnabled();
    LBSeries.EnableChangeType = BChangeTypeSeries->isEnabled();
}

// ---- Groups ------------------------------------------------------------------------------------------------

TSeriesGroup* TChartEditForm::GroupOfItem(int Item) const
{
    if (!FChart) return nullptr;
    const int group = Item - ((EditorOptions & ceoGroupAll) ? 1 : 0);
    TSeriesGroups& groups = FChart->SeriesList().Groups();
    return group >= 0 && group < groups.Count() ? &groups.GroupAt(group) : nullptr;
}

void TChartEditForm::FillGroups()
{
    if (!FChart) return;
    FFillingGroups = true;
    const int row = Groups->currentRow();
    Groups->clear();
    const auto add = [this](const std::string& Text, Qt::CheckState State) {
        auto* item = new QListWidgetItem(AnsiToQString(Text), Groups);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(State);
    };
    if (EditorOptions & ceoGroupAll) {
        bool all = true;
        for (int i = 0; i < FChart->CountSeries(); ++i) all = all && FChart->SeriesAt(i)->Active();
        add(LumConst::AllItem, all ? Qt::Checked : Qt::Unchecked);
    }
    TSeriesGroups& groups = FChart->SeriesList().Groups();
    for (int i = 0; i < groups.Count(); ++i) {
        const TSeriesGroupActive a = groups.GroupAt(i).Active();
        add(groups.GroupAt(i).Name(), a == gaYes ? Qt::Checked : a == gaNo ? Qt::Unchecked : Qt::PartiallyChecked);
    }
    if (row >= 0 && row < Groups->count()) Groups->setCurrentRow(row);
    FFillingGroups = false;
}

void TChartEditForm::GroupItemChanged(QListWidgetItem* Item)
{
    if (FFillingGroups || !FChart) return;
    const bool checked = Item->checkState() == Qt::Checked;
    if (TSeriesGroup* g = GroupOfItem(Groups->row(Item)))
        g->SetActive(checked ? gaYes : gaNo);
    else
        for (int i = 0; i < FChart->CountSeries(); ++i) FChart->SeriesAt(i)->SetActive(checked);
    // The other items follow (a group's series may be in others too).
    QTimer::singleShot(0, this, [this] { FillGroups(); });
}

void TChartEditForm::AddGroup()
{
    if (!FChart) return;
    std::string name;
    if (!InputQuery("Series Groups", "Group name:", name) || name.empty()) return;
    FChart->SeriesList().Groups().Add().SetName(name);
    FillGroups();
    Groups->setCurrentRow(Groups->count() - 1);
}

void TChartEditForm::RenameGroup()
{
    TSeriesGroup* g = GroupOfItem(Groups->currentRow());
    if (!g) return;
    std::string name = g->Name();
    if (!InputQuery("Series Groups", "Group name:", name) || name.empty()) return;
    g->SetName(name);
    FillGroups();
}

void TChartEditForm::DeleteGroup()
{
    const int row = Groups->currentRow();
    TSeriesGroup* g = GroupOfItem(row);
    if (!g || !AskDeleteConfirmation(g->Name(), nullptr)) return;
    if (LBSeries.ShownGroup() == g) LBSeries.SetShownGroup(nullptr);
    FChart->SeriesList().Groups().Delete(row - ((EditorOptions & ceoGroupAll) ? 1 : 0));
    FillGroups();
}

void TChartEditForm::DropSeriesOnGroup(TChartSeries* Series, int GroupItem)
{
    TSeriesGroup* target = GroupOfItem(GroupItem);
    if (!Series || !target) return;
    TSeriesGroup* shown = LBSeries.ShownGroup();
    if (shown == target) return;
    if (shown) shown->Series().Remove(Series);
    if (!target->Series().Contains(Series)) target->Series().Add(Series);
    LBSeries.SetShownGroup(nullptr);
    LBSeries.SetShownGroup(shown);
    FillGroups();
}

// ---- Tree mode ---------------------------------------------------------------------------------------------

void TChartEditForm::ShowTreeMode()
{
    if (!Tree->isVisible()) {
        FWidthBeforeTree = width();
        const int tree = std::max(DefaultTreeWidth, Tree->width() > 100 ? Tree->width() : DefaultTreeWidth);
        Tree->show();
        resize(width() + tree + TreeSplitter->handleWidth(), height());
        TreeSplitter->setSizes({tree, width() - tree});
        // The tree chooses the page: the tab rows are not shown.
        MainPage->tabBar()->hide();
        SubPage->tabBar()->hide();
    }
    BuildTree();
}

void TChartEditForm::BuildTree()
{
    if (!FChart) return;
    FFillingTree = true;
    Tree->clear();
    auto* series = new QTreeWidgetItem(Tree, QStringList{"Series"});
    series->setData(0, Qt::UserRole, static_cast<int>(nkSubPage));
    series->setData(0, Qt::UserRole + 1, QVariant::fromValue<quintptr>(cetSeriesList));
    for (int i = 0; i < FChart->CountSeries(); ++i) {
        TChartSeries* s = FChart->SeriesAt(i);
        QTreeWidgetItem* node = NewNode(series, SeriesCaption(*s), nkSeries, reinterpret_cast<quintptr>(s));
        node->setFlags(node->flags() | Qt::ItemIsEditable);
    }
    if (MainTabVisible(TabChart)) {
        auto* chart = new QTreeWidgetItem(Tree, QStringList{"Chart"});
        chart->setData(0, Qt::UserRole, static_cast<int>(nkNone));
        for (int i = cetGeneral; i <= cet3D; ++i) {
            if (!SubTabVisible(i)) continue;
            QTreeWidgetItem* page = NewNode(chart, SubPageCaptions[i], nkSubPage, static_cast<quintptr>(i));
            if (i == cetAxis) {
                const char* names[] = {"Left Axis", "Right Axis", "Top Axis", "Bottom Axis", "Depth Right", "Depth Top"};
                for (int a = 0; a < 6; ++a) NewNode(page, names[a], nkAxis, static_cast<quintptr>(a));
                for (int c = 0; c < FChart->CustomAxes().Count(); ++c)
                    NewNode(page, LumConst::CustomPrefix + std::to_string(c), nkAxis, static_cast<quintptr>(6 + c));
            } else if (i == cetTitles) {
                // The titles page lists Title, SubTitle, SubFoot, Foot.
                NewNode(page, "Title", nkTitle, 0);
                NewNode(page, "SubTitle", nkTitle, 1);
                NewNode(page, "Footer", nkTitle, 3);
                NewNode(page, "SubFoot", nkTitle, 2);
            }
        }
    }
    for (QWidget* tab : {TabData, TabTools, TabExport, TabPrint}) {
        if (!MainTabVisible(tab)) continue;
        const int index = MainPage->indexOf(tab);
        QTreeWidgetItem* node = NewNode(Tree->invisibleRootItem(), QStringToAnsi(MainPage->tabText(index)), nkMainPage,
                                        static_cast<quintptr>(index));
        if (tab == TabTools)
            for (int t = 0; t < FChart->Tools().Count(); ++t)
                if (TLumCustomTool* tool = FChart->Tools().GetTool(t); tool->Active())
                    NewNode(node, tool->DescriptionText(), nkTool, reinterpret_cast<quintptr>(tool));
    }
    Tree->expandAll();
    FFillingTree = false;
}

TChartSeries* TChartEditForm::SeriesOfNode(QTreeWidgetItem* Node) const
{
    // Compared by address only: a node may outlive its series (replaced by a change of type).
    const auto data = Node->data(0, Qt::UserRole + 1).value<quintptr>();
    for (int i = 0; FChart && i < FChart->CountSeries(); ++i)
        if (reinterpret_cast<quintptr>(FChart->SeriesAt(i)) == data) return FChart->SeriesAt(i);
    return nullptr;
}

void TChartEditForm::TreeNodeSelected(QTreeWidgetItem* Node)
{
    if (!Node || !FChart) return;
    const auto kind = static_cast<TNodeKind>(Node->data(0, Qt::UserRole).toInt());
    const auto data = Node->data(0, Qt::UserRole + 1).value<quintptr>();
    const auto showSub = [this](int Index) {
        MainPage->setCurrentWidget(TabChart);
        SubPage->setCurrentIndex(Index);
    };
    switch (kind) {
    case nkSeries: {
        TChartSeries* s = SeriesOfNode(Node);
        if (!s) {
            // The series went since the tree was built; the tree is built again once this selection
            // has finished.
            QTimer::singleShot(0, this, [this] { BuildTree(); });
            break;
        }
        LBSeries.SelectSeries(s);
        SeriesToEdit = s;
        if (MainPage->currentWidget() == TabSeries) ShowSeriesPage();
        else MainPage->setCurrentWidget(TabSeries);
        break;
    }
    case nkSubPage: showSub(static_cast<int>(data)); break;
    case nkAxis:
        showSub(cetAxis);
        if (auto* axis = dynamic_cast<TFormLumAxis*>(PageForm(cetAxis))) axis->LBAxes->setCurrentRow(static_cast<int>(data));
        break;
    case nkTitle:
        showSub(cetTitles);
        if (auto* titles = dynamic_cast<TFormLumTitle*>(PageForm(cetTitles))) {
            titles->CBTitles->setCurrentIndex(static_cast<int>(data));
            titles->CBTitlesChange(static_cast<int>(data));
        }
        break;
    case nkMainPage: MainPage->setCurrentIndex(static_cast<int>(data)); break;
    case nkTool: MainPage->setCurrentWidget(TabTools); break;
    case nkNone: break;
    }
}

// ---- The Graphic editor ------------------------------------------------------------------------------------

int ShowGraphicEditor(TChartSeries& Series)
{
    TChartEditForm form(nullptr);
    form.FTreeMode = false;  // only the series editor shows
    form.ButtonHelp->hide();
    form.BindChart(Series.ParentChart());
    form.SeriesToEdit = &Series;
    TranslateFormControls(&form);
    form.PrepareShow();
    form.ShowSeriesPage();

    TFormLumSeries& host = *form.SeriesHost();
    // Only the series editor fills the window.
    static_cast<QVBoxLayout*>(form.layout())->insertWidget(0, &host, 1);
    form.Body->hide();
    host.Panel1->hide();
    host.Panel3->hide();
    host.PageSeries->setTabVisible(host.PageSeries->indexOf(host.TabDataSource), false);
    host.PageSeries->setTabVisible(host.PageSeries->indexOf(host.TabGeneral), false);
    host.ShowDataSourcePage = false;
    host.ShowGeneralPage = false;
    if (auto* editor = dynamic_cast<TCustomSeriesEditor*>(host.TypeEditor()))
        SetControlsVisibility(false, {editor->CBStack.Widget(), editor->Label1, editor->CBDark3D, editor->CBColorEach,
                                      editor->CBClick, editor->CheckBox1, editor->LHeight, editor->UDHeight});
    // The window takes the size its largest page needs before it shows, so it keeps one size on every
    // page and nothing is ever cut off; a page that still grows later widens it.
    host.PrepareMarksPages();
    form.FitDesignedSizeToContents();
    QObject::connect(host.PageSeries, &QTabWidget::currentChanged, &form,
                     [&form](int) { QTimer::singleShot(0, &form, [&form] { form.GrowToContents(); }); });
    form.SetCaption("Graphic editor");
    form.ShowModal();
    return 0;
}
