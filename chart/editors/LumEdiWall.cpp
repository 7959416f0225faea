// The walls page: its controls, filling from a wall, each write, and the size of all four walls.
#include "chart/editors/LumEdiWall.h"

#include "chart/base/LumBrushDlgEditor.h"
#include "chart/base/RadErareServices.h"
#include "chart/control/ChartControl.h"
#include "chart/control/ChartWalls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QVBoxLayout>

TFormLumWall::TFormLumWall(QWidget* Owner, TCustomChartWall& Wall)
    : TLumEditorForm(Owner), BWallColor(nullptr), BWallPen(nullptr), BGradient(nullptr), FWall(&Wall)
{
    resize(400, 220);
    SetTag(&Wall);
    TabSubWalls = new QTabBar;
    for (const char* s : {"Left", "Right", "Bottom", "Back"}) TabSubWalls->addTab(s);
    TabSubWalls->setExpanding(false);
    CBView3dWalls = NewCheckBox("&Visible Walls");
    EAllSize = NewUpDown(0, 100);
    BWallColor.SetCaption("&Color...");
    BWallPen.SetCaption("B&order...");
    BGradient.SetCaption("&Gradient...");
    BWallBrush = new QPushButton("&Pattern...");
    SEWallSize = NewUpDown(0, 100);
    CBTransp = NewCheckBox("&Transparent");
    CBDark3D = NewCheckBox("&Dark 3D");
    CBVisible = NewCheckBox("V&isible");
    Edit1 = NewUpDown(0, 100);
    CBAutoHide = NewCheckBox("&Auto Hide");

    auto* form = new QVBoxLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    auto* top = new QHBoxLayout;
    top->addWidget(CBView3dWalls);
    top->addStretch(1);
    top->addWidget(NewLabel("Size:", EAllSize));
    top->addWidget(EAllSize);
    form->addLayout(top);
    form->addWidget(TabSubWalls);
    auto* page = new QWidget;
    form->addWidget(page, 1);
    for (TLumButton* b : std::initializer_list<TLumButton*>{&BWallColor, &BWallPen, &BGradient}) b->SetParentWidget(page);
    auto* grid = new QGridLayout(page);
    grid->addWidget(BWallColor.Widget(), 0, 0);
    grid->addWidget(BWallPen.Widget(), 1, 0);
    grid->addWidget(BWallBrush, 2, 0);
    grid->addWidget(BGradient.Widget(), 3, 0);
    grid->addWidget(CBVisible, 0, 1);
    grid->addWidget(CBTransp, 1, 1);
    grid->addWidget(CBDark3D, 2, 1);
    grid->addWidget(CBAutoHide, 3, 1);
    grid->addWidget(NewLabel("Siz&e:", SEWallSize), 0, 2);
    grid->addWidget(SEWallSize, 0, 3);
    grid->addWidget(NewLabel("T&ransparency:", Edit1), 1, 2);
    grid->addWidget(Edit1, 1, 3);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(4, 1);

    ConnectGuarded(TabSubWalls, &QTabBar::currentChanged, this, [this](int i) { TabSubWallsChange(i); });
    ConnectGuarded(CBView3dWalls, &QCheckBox::clicked, this, [this](bool v) {
        if (TCustomChart* c = Chart()) c->Walls().SetView3D(v);
    });
    ConnectGuarded(EAllSize, &QSpinBox::valueChanged, this, [this](int v) {
        if (FFilling || FAllSizeShown) return;
        if (TCustomChart* c = Chart()) {
            c->Walls().SetSize(v);
            FillControls();
        }
    });
    ConnectGuarded(SEWallSize, &QSpinBox::valueChanged, this, [this](int v) {
        if (FFilling) return;
        FWall->SetSize(v);
        CBDark3D->setEnabled(FWall->Size() > 0);
    });
    ConnectGuarded(CBTransp, &QCheckBox::clicked, this, [this](bool v) { FWall->SetTransparent(v); });
    ConnectGuarded(CBDark3D, &QCheckBox::clicked, this, [this](bool v) { FWall->SetDark3D(v); });
    ConnectGuarded(CBVisible, &QCheckBox::clicked, this, [this](bool v) { FWall->SetVisible(v); });
    ConnectGuarded(CBAutoHide, &QCheckBox::clicked, this, [this](bool v) { FWall->SetAutoHide(v); });
    ConnectGuarded(Edit1, &QSpinBox::valueChanged, this, [this](int v) {
        if (!FFilling) FWall->SetTransparency(v);
    });
    ConnectGuarded(BWallBrush, &QPushButton::clicked, this, [this](bool) { ShowBrushEditorModal(nullptr, FWall->Brush()); });
    // A gradient shown over a transparent wall would not show: the wall becomes opaque.
    BGradient.OnClick = [this](TPersistent*) {
        if (FWall->HasGradient() && FWall->Gradient().Visible()) {
            FWall->SetTransparent(false);
            CBTransp->setChecked(false);
        }
    };
    OnShow = [this](TForm*) { FormShow(); };
}

TFormLumWall::~TFormLumWall() = default;

std::unique_ptr<TFormLumWall> TFormLumWall::CreateForWall(QWidget* Owner, TCustomChartWall& Wall)
{
    return std::make_unique<TFormLumWall>(Owner, Wall);
}

TCustomChart* TFormLumWall::Chart() const { return dynamic_cast<TCustomChart*>(FWall->ParentChart()); }

void TFormLumWall::FormShow()
{
    int tab = 3;
    if (TCustomChart* c = Chart()) {
        if (FWall == &c->LeftWall()) tab = 0;
        else if (FWall == &c->RightWall()) tab = 1;
        else if (FWall == &c->BottomWall()) tab = 2;
    }
    {
        const QSignalBlocker block(TabSubWalls);
        TabSubWalls->setCurrentIndex(tab);
    }
    FillControls();
    TranslateFormControls(this);
}

void TFormLumWall::TabSubWallsChange(int Index)
{
    TCustomChart* c = Chart();
    if (!c || Index < 0 || Index > 3) return;
    TCustomChartWall* walls[] = {&c->LeftWall(), &c->RightWall(), &c->BottomWall(), &c->BackWall()};
    FWall = walls[Index];
    SetTag(FWall);
    FillControls();
}

void TFormLumWall::FillControls()
{
    FFilling = true;
    if (TCustomChart* c = Chart()) CBView3dWalls->setChecked(c->View3DWalls());
    SEWallSize->setValue(FWall->Size());
    CBTransp->setChecked(FWall->Transparent());
    CBDark3D->setChecked(FWall->Dark3D());
    CBDark3D->setEnabled(FWall->Size() > 0);
    CBVisible->setChecked(FWall->Visible());
    CBAutoHide->setChecked(FWall->AutoHide());
    Edit1->setValue(FWall->Transparency());
    FAllSizeShown = true;
    EAllSize->setValue(FWall->Size());
    FAllSizeShown = false;
    BWallPen.LinkPen(&FWall->Pen());
    BGradient.LinkGradient(&FWall->Gradient());
    BWallColor.LinkProperty(FWall, "Color");
    TCustomChart* c = Chart();
    CBAutoHide->setVisible(!c || FWall != &c->BottomWall());
    FFilling = false;
}
