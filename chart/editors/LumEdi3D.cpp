// The 3-D page: filling and writing its controls, what the canvas and a pie allow, the track bars'
// ranges, and the six preset views.
#include "chart/editors/LumEdi3D.h"

#include "chart/base/LumCanvasBase.h"
#include "chart/control/ChartControl.h"
#include "chart/control/ChartRegistry.h"
#include "chart/control/ChartWalls.h"
#include "chart/editors/LumGalleryPanel.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEngineSeries.h"
#include "chart/series/SeriesPie.h"
#include "platform/controls/AnsiText.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cmath>
#include <cstdlib>
#include <functional>

namespace {

QSlider* NewTrackBar()
{
    auto* s = new QSlider(Qt::Horizontal);
    s->setTickPosition(QSlider::TicksBelow);
    return s;
}

// The range of an offset track bar: -1500..1500, widened to hold the chart's offset.
int OffsetLimit(int Offset)
{
    return std::abs(Offset) > 1500 ? static_cast<int>(std::lround(1.5 * std::abs(Offset))) : 1500;
}

struct TPresetView {
    const char* Name;
    bool ThreeD;
    std::function<void(TCustomChart&)> Apply;
};

void AllSeriesOn(TCustomChart& Chart, TVertAxis Axis)
{
    for (int i = 0; i < Chart.CountSeries(); ++i) Chart.SeriesAt(i)->SetVertAxis(Axis);
}

const std::array<TPresetView, 6>& PresetViews()
{
    static const std::array<TPresetView, 6> views{{
        {"2D", false, [](TCustomChart& c) { c.SetView3D(false); }},
        {"Ortho Right", false, [](TCustomChart& c) { c.View3DOptions().SetOrthogonal(true); }},
        {"Ortho Left", false,
         [](TCustomChart& c) {
             c.View3DOptions().SetOrthogonal(true);
             c.LeftWall().SetVisible(false);
             c.RightWall().SetVisible(true);
             AllSeriesOn(c, aRightAxis);
             c.RightAxis().SetZPosition(0);
             c.View3DOptions().SetOrthoAngle(135);
         }},
        {"3D Front", true,
         [](TCustomChart& c) {
             c.LeftWall().SetVisible(true);
             c.RightWall().SetVisible(true);
             c.RightAxis().SetZPosition(0);
             c.View3DOptions().SetRotation(360);
         }},
        {"3D Right", true,
         [](TCustomChart& c) {
             c.LeftWall().SetVisible(true);
             c.RightWall().SetVisible(false);
             c.RightAxis().SetZPosition(100);
             c.View3DOptions().SetRotation(300);
         }},
        {"3D Left", true,
         [](TCustomChart& c) {
             c.LeftWall().SetVisible(false);
             c.RightWall().SetVisible(true);
             c.RightAxis().SetZPosition(0);
             c.LeftAxis().SetZPosition(100);
             c.View3DOptions().SetRotation(45);
         }},
    }};
    return views;
}

bool SameView(const TCustomAxisPanel& A, const TCustomAxisPanel& B)
{
    const TView3DOptions& a = A.View3DOptions();
    const TView3DOptions& b = B.View3DOptions();
    return A.View3D() == B.View3D() && a.Orthogonal() == b.Orthogonal() && a.OrthoAngle() == b.OrthoAngle() &&
           a.Rotation() == b.Rotation() && a.Elevation() == b.Elevation();
}

} // namespace

TFormLum3D::TFormLum3D(QWidget* Owner, TCustomChart& Chart) : TLumEditorForm(Owner), FChart(Chart)
{
    resize(430, 260);
    SetTag(&Chart);
    PageControl1 = new QTabWidget;
    ShowTabsWhole(*PageControl1);
    TabOptions = new QWidget;
    TabViews = new QWidget;
    PageControl1->addTab(TabOptions, "Options");
    PageControl1->addTab(TabViews, "Views");
    auto* form = new QVBoxLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->addWidget(PageControl1);

    CBView3d = NewCheckBox("&3 Dimensions");
    SE3d = NewUpDown(1, 100, 5);
    CBOrthogonal = NewCheckBox("&Orthogonal");
    EOrthoAngle = NewUpDown(0, 180, 5);
    CBZoomText = NewCheckBox("Zoom &Text");
    CBClipPoints = NewCheckBox("&Clip Points");
    ETextSize = NewUpDown(1, 2000, 5);
    ETextSize->setSuffix("%");
    SBZoom = NewTrackBar();
    SBRotation = NewTrackBar();
    SBElevation = NewTrackBar();
    SBHOffset = NewTrackBar();
    SBVOffset = NewTrackBar();
    SBPerspec = NewTrackBar();
    LZoom = new QLabel;
    LRotation = new QLabel;
    LElevation = new QLabel;
    LHOffset = new QLabel;
    LVOffset = new QLabel;
    LPerspec = new QLabel;
    SBZoom->setRange(1, 500);
    SBZoom->setPageStep(5);
    SBZoom->setTickInterval(20);
    SBPerspec->setRange(0, 200);
    SBPerspec->setTickInterval(10);
    for (QSlider* s : {SBHOffset, SBVOffset}) {
        s->setSingleStep(10);
        s->setTickInterval(250);
    }
    SBRotation->setPageStep(10);
    SBElevation->setPageStep(10);

    auto* grid = new QGridLayout(TabOptions);
    grid->addWidget(CBView3d, 0, 0, 1, 2);
    grid->addWidget(NewLabel("3&D %:", SE3d), 1, 0);
    grid->addWidget(SE3d, 1, 1);
    grid->addWidget(CBOrthogonal, 2, 0, 1, 2);
    grid->addWidget(NewLabel("&Angle:", EOrthoAngle), 3, 0);
    grid->addWidget(EOrthoAngle, 3, 1);
    grid->addWidget(CBZoomText, 4, 0, 1, 2);
    grid->addWidget(ETextSize, 5, 1);
    grid->addWidget(CBClipPoints, 6, 0, 1, 2);
    int row = 0;
    for (auto [caption, bar, label] : {std::tuple{"&Zoom:", SBZoom, LZoom}, std::tuple{"&Rotation:", SBRotation, LRotation},
                                        std::tuple{"E&levation:", SBElevation, LElevation},
                                        std::tuple{"&Horiz. Offset:", SBHOffset, LHOffset},
                                        std::tuple{"&Vert. Offset:", SBVOffset, LVOffset},
                                        std::tuple{"&Perspective:", SBPerspec, LPerspec}}) {
        grid->addWidget(NewLabel(caption, bar), row, 2);
        grid->addWidget(bar, row, 3);
        label->setMinimumWidth(36);
        grid->addWidget(label, row, 4);
        ++row;
    }
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(7, 1);

    TView3DOptions& o = FChart.View3DOptions();
    ConnectGuarded(CBView3d, &QCheckBox::clicked, this, [this](bool v) {
        if (FChanging) return;
        FChart.SetView3D(v);
        EnableControls();
    });
    ConnectGuarded(SE3d, &QSpinBox::valueChanged, this, [this](int v) {
        if (isVisible() && !FChanging) FChart.SetChart3DPercent(v);
    });
    ConnectGuarded(CBOrthogonal, &QCheckBox::clicked, this, [this, &o](bool v) {
        if (FChanging) return;
        o.SetOrthogonal(v);
        EnableControls();
    });
    const auto track = [this](QSlider* bar, QLabel* label, const char* suffix, std::function<void(int)> write) {
        ConnectGuarded(bar, &QSlider::valueChanged, this, [this, label, suffix, write](int v) {
            label->setText(QString::number(v) + suffix);
            if (!FChanging) write(v);
        });
    };
    track(SBZoom, LZoom, "%", [&o](int v) { o.SetZoom(v); });
    track(SBRotation, LRotation, "", [&o](int v) { o.SetRotation(v); });
    track(SBElevation, LElevation, "", [&o](int v) { o.SetElevation(v); });
    track(SBHOffset, LHOffset, "", [&o](int v) { o.SetHorizOffset(v); });
    track(SBVOffset, LVOffset, "", [&o](int v) { o.SetVertOffset(v); });
    track(SBPerspec, LPerspec, "", [&o](int v) { o.SetPerspective(v); });
    ConnectGuarded(CBZoomText, &QCheckBox::clicked, this, [this, &o](bool v) {
        if (!FChanging) o.SetZoomText(v);
    });
    ConnectGuarded(EOrthoAngle, &QSpinBox::valueChanged, this, [this, &o](int v) {
        if (isVisible() && !FChanging) o.SetOrthoAngle(v);
    });
    ConnectGuarded(CBClipPoints, &QCheckBox::clicked, this, [this](bool v) {
        if (!FChanging) FChart.SetClipPoints(v);
    });
    ConnectGuarded(ETextSize, &QSpinBox::valueChanged, this, [this, &o](int v) {
        if (isVisible() && !FChanging) o.SetFontZoom(v);
    });
    ConnectGuarded(PageControl1, &QTabWidget::currentChanged, this, [this](int) {
        if (PageControl1->currentWidget() == TabViews) ShowViews();
        else RefreshControls();
    });
    OnShow = [this](TForm*) { RefreshControls(); };
}

TFormLum3D::~TFormLum3D()
{
    // The miniatures go before the widgets they stand on.
    FViews.reset();
}

std::unique_ptr<TFormLum3D> TFormLum3D::CreateForChart(QWidget* Owner, TCustomChart& Chart)
{
    return std::make_unique<TFormLum3D>(Owner, Chart);
}

void TFormLum3D::RefreshControls()
{
    FChanging = true;
    const TView3DOptions& o = FChart.View3DOptions();
    const bool own = FChart.ChartCanvas().HasOwnRenderer();
    CBView3d->setChecked(FChart.View3D());
    SE3d->setValue(FChart.Chart3DPercent());
    CBOrthogonal->setChecked(o.Orthogonal());
    SBZoom->setValue(o.Zoom());
    SBRotation->setRange(0, 360);
    SBRotation->setTickInterval(own ? 20 : 45);
    SBRotation->setValue(o.Rotation());
    SBElevation->setRange(own ? 0 : 270, 360);
    SBElevation->setTickInterval(own ? 20 : 10);
    SBElevation->setValue(o.Elevation());
    for (auto [bar, offset] : {std::pair{SBHOffset, o.HorizOffset()}, std::pair{SBVOffset, o.VertOffset()}}) {
        const int limit = OffsetLimit(offset);
        bar->setRange(-limit, limit);
        bar->setValue(offset);
    }
    SBPerspec->setValue(o.Perspective());
    CBZoomText->setChecked(o.ZoomText());
    EOrthoAngle->setValue(o.OrthoAngle());
    CBClipPoints->setChecked(FChart.ClipPoints());
    ETextSize->setValue(o.FontZoom());
    for (auto [bar, label, suffix] : {std::tuple{SBZoom, LZoom, "%"}, std::tuple{SBRotation, LRotation, ""},
                                      std::tuple{SBElevation, LElevation, ""}, std::tuple{SBHOffset, LHOffset, ""},
                                      std::tuple{SBVOffset, LVOffset, ""}, std::tuple{SBPerspec, LPerspec, ""}})
        label->setText(QString::number(bar->value()) + suffix);
    EnableControls();
    FChanging = false;
}

void TFormLum3D::EnableControls()
{
    const bool own = FChart.ChartCanvas().HasOwnRenderer();
    TChartSeries* first = FirstActiveSeries(FChart);
    FRotationAllowed = own || !dynamic_cast<TPieSeries*>(first);
    if (FActivateOptions && PageControl1->currentWidget() != TabOptions) {
        const bool was = FChanging;
        FChanging = true;
        PageControl1->setCurrentWidget(TabOptions);
        FChanging = was;
    }
    const bool view3D = FChart.View3D();
    CBOrthogonal->setEnabled(view3D && FRotationAllowed);
    const bool elevation = view3D && (own || !FChart.View3DOptions().Orthogonal());
    SBElevation->setEnabled(elevation);
    SBRotation->setEnabled(elevation && CBOrthogonal->isEnabled());
    const bool angle = CBOrthogonal->isEnabled() && CBOrthogonal->isChecked();
    EOrthoAngle->setEnabled(angle);
}

void TFormLum3D::BuildViews()
{
    FViews = std::make_unique<TChartGalleryPanel>(nullptr);
    TChartGalleryPanel& panel = *FViews;
    panel.SetSmooth(false);
    panel.SetDisplaySub(false);
    panel.SetFocusRotation(false);
    panel.SetNumCols(3);
    panel.SetNumRows(2);
    panel.SetParentWidget(TabViews);
    auto* layout = new QVBoxLayout(TabViews);
    layout->setContentsMargins(0, 0, 0, 0);
    panel.Widget()->setMinimumSize(240, 150);
    layout->addWidget(panel.Widget());
    TLumSeriesTypes* types = LumSeriesTypes();
    for (const TPresetView& view : PresetViews()) {
        TGalleryChart& m = types && types->Count() > 0 ? panel.AddMiniature(types->GetSeriesType(0)) : panel.NewMiniature();
        m.BackWall().SetTransparent(false);
        for (TCustomChartWall* w : {static_cast<TCustomChartWall*>(&m.LeftWall()), static_cast<TCustomChartWall*>(&m.RightWall()),
                                    static_cast<TCustomChartWall*>(&m.BottomWall()), static_cast<TCustomChartWall*>(&m.BackWall())})
            w->SetSize(5);
        for (int i = 0; i < m.CountSeries(); ++i) m.SeriesAt(i)->ClearPoints();
        m.Title().Text().Clear();
        m.Title().Text().Add(view.Name);
        if (view.ThreeD) {
            m.SetView3D(true);
            m.View3DOptions().SetOrthogonal(false);
            AllSeriesOn(m, aBothVertAxis);
            m.View3DOptions().SetElevation(360);
        }
        m.LeftAxis().SetLabels(true);
        view.Apply(m);
    }
    panel.OnChangeChart = [this](TPersistent*) {
        if (!FChanging) ViewChosen();
    };
    panel.LayoutMiniatures();
}

void TFormLum3D::ShowViews()
{
    if (!FViews) BuildViews();
    FChanging = true;
    TGalleryChart* match = nullptr;
    for (int i = 0; i < FViews->MiniatureCount() && !match; ++i)
        if (SameView(FViews->Miniature(i), FChart)) match = &FViews->Miniature(i);
    if (match) FViews->FocusMiniature(match);
    else FViews->ClearFocus();
    FChanging = false;
}

void TFormLum3D::ViewChosen()
{
    TGalleryChart* m = FViews->FocusedMiniature();
    if (!m) return;
    const TView3DOptions& from = m->View3DOptions();
    TView3DOptions& to = FChart.View3DOptions();
    FChart.SetView3D(m->View3D());
    to.SetOrthogonal(from.Orthogonal());
    to.SetOrthoAngle(from.OrthoAngle());
    to.SetRotation(from.Rotation());
    to.SetElevation(from.Elevation());
}
