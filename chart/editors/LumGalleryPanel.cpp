// Miniature charts and the grid that holds them: construction settings, focused and plain looks, the
// hover frame, cell layout, focus, clicks and keys.
#include "chart/editors/LumGalleryPanel.h"

#include "chart/base/LumCanvasEffects.h"
#include "chart/base/LumCanvasHelpers.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEngineSeries.h"
#include "platform/graphics/Canvas.h"

#include <algorithm>

// ---- TGalleryChart ------------------------------------------------------------------------------------------

const TClassInfo& TGalleryChart::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TGalleryChart", .Parent = &TCustomChart::StaticClassInfo()});
    return info;
}

namespace {

constexpr TColor NavyTitle = 0x800000;
constexpr int PlainRotation = 335;
constexpr int FocusedRotation = 345;

void SetFirstSeriesView3D(TCustomChart& Chart, bool View3D)
{
    if (Chart.CountSeries() > 0) Chart.SeriesAt(0)->SetParentView3D(View3D);
}

} // namespace

TGalleryChart::TGalleryChart(TChartGalleryPanel* Panel) : TCustomChart(nullptr), FPanel(Panel)
{
    Legend().SetVisible(false);
    LeftAxis().SetLabels(false);
    BottomAxis().SetLabels(false);
    Title().Font().SetColor(NavyTitle);
    Zoom().SetAnimated(true);
    View3DOptions().SetOrthogonal(false);
    View3DOptions().SetZoom(90);
    View3DOptions().SetPerspective(55);
    if (FPanel && FPanel->FocusRotation()) {
        View3DOptions().SetRotation(PlainRotation);
        View3DOptions().SetElevation(350);
    }
    SetChart3DPercent(100);
    SetClipPoints(false);
    Frame().SetVisible(false);
    SetBevelWidth(2);
    SetBevelOuter(bvNone);
    for (TChartWall* wall : {&LeftWall(), &BottomWall()}) {
        wall->SetColor(clWhite);
        wall->SetSize(4);
        wall->Pen().SetColor(clGray);
    }
    SetCursor(crHandPoint);
}

void TGalleryChart::Disable()
{
    FDisabled = true;
    SetCursor(crNo);
    OnClick = nullptr;
    OnDblClick = nullptr;
    OnEnter = nullptr;
    Title().Font().SetColor(clGray);
    LeftWall().Pen().SetColor(clGray);
    BottomWall().Pen().SetColor(clGray);
    for (TChartAxis* axis : {&LeftAxis(), &BottomAxis()}) {
        axis->Axis().SetWidth(1);
        axis->Axis().SetColor(clWhite);
    }
}

bool TGalleryChart::FocusedLook() const { return HasGradient() && const_cast<TGalleryChart*>(this)->Gradient().Visible(); }

void TGalleryChart::ShowFocusedLook()
{
    TLumGradient& g = Gradient();
    g.SetVisible(true);
    g.SetDirection(gdFromTopLeft);
    g.SetStartColor(clSilver);
    g.SetEndColor(clWhite);
    if (FPanel && FPanel->FocusRotation()) {
        View3DOptions().SetRotation(FocusedRotation);
        SetFirstSeriesView3D(*this, FPanel->View3D());
    }
    Title().Font().SetStyle(TFontStyles{fsBold});
    Title().Font().SetColor(clBlack);
    Title().Font().SetSize(9);
    SetBevelOuter(bvRaised);
    if (Showing() && CanFocus()) SetFocus();
}

void TGalleryChart::ShowPlainLook()
{
    if (!FocusedLook()) return;
    Gradient().SetVisible(false);
    SetBevelOuter(bvNone);
    Title().Font().SetStyle(TFontStyles{});
    Title().Font().SetColor(NavyTitle);
    Title().Font().SetSize(LumCanvasModule().DefaultFontSize);
    if (FPanel && FPanel->FocusRotation()) {
        View3DOptions().SetRotation(PlainRotation);
        SetFirstSeriesView3D(*this, FPanel->View3D());
    }
}

void TGalleryChart::DrawHoverFrame(TColor Light, TColor Dark)
{
    TRect r = ClientRect();
    Frame3D(Canvas(), r, Light, Dark, 1);
    UpdateWindow();
}

void TGalleryChart::MouseEnter()
{
    TCustomChart::MouseEnter();
    if (!MiniatureEnabled()) return;
    FHover = true;
    DrawHoverFrame(clWhite, clGray);
}

void TGalleryChart::MouseLeave()
{
    TCustomChart::MouseLeave();
    if (!FHover) return;
    FHover = false;
    DrawHoverFrame(Color(), Color());
}

// ---- TChartGalleryPanel -----------------------------------------------------------------------------------

const TClassInfo& TChartGalleryPanel::StaticClassInfo()
{
    static const TClassInfo info({
        .Name = "TChartGalleryPanel",
        .Parent = &TCustomPanelNoCaption::StaticClassInfo(),
        .Create = &CreateComponentOf<TChartGalleryPanel>,
    });
    return info;
}

TChartGalleryPanel::TChartGalleryPanel(TComponent* AOwner) : TCustomPanelNoCaption(AOwner)
{
    SetBevelOuter(bvNone);
    SetTabStop(true);
}

TChartGalleryPanel::~TChartGalleryPanel()
{
    FFocused = nullptr;
    FMiniatures.clear();
}

void TChartGalleryPanel::SetNumRows(int Value)
{
    FNumRows = Value;
    LayoutMiniatures();
}

void TChartGalleryPanel::SetNumCols(int Value)
{
    FNumCols = Value;
    LayoutMiniatures();
}

TGalleryChart& TChartGalleryPanel::NewMiniature()
{
    auto chart = std::make_unique<TGalleryChart>(this);
    TGalleryChart& m = *chart;
    m.SetColor(Color());
    FMiniatures.push_back(std::move(chart));
    m.SetParent(this);
    m.SetView3D(FView3D);
    m.OnClick = [this](TPersistent* Sender) { MiniatureClick(Sender); };
    m.OnEnter = [this](TPersistent* Sender) { MiniatureClick(Sender); };
    m.OnDblClick = [this](TPersistent* Sender) { MiniatureDblClick(Sender); };
    m.OnKeyDown = [this](TPersistent*, std::uint16_t& Key, TShiftState Shift) { KeyDown(Key, Shift); };
    LayoutMiniatures();
    return m;
}

int TChartGalleryPanel::IndexOfMiniature(const TGalleryChart* Miniature) const
{
    for (std::size_t i = 0; i < FMiniatures.size(); ++i)
        if (FMiniatures[i].get() == Miniature) return static_cast<int>(i);
    return -1;
}

void TChartGalleryPanel::ClearMiniatures()
{
    FFocused = nullptr;
    FMiniatures.clear();
}

void TChartGalleryPanel::MiniatureClick(TPersistent* Sender)
{
    if (auto* m = dynamic_cast<TGalleryChart*>(Sender)) FocusMiniature(m);
}

void TChartGalleryPanel::MiniatureDblClick(TPersistent* Sender)
{
    if (auto* m = dynamic_cast<TGalleryChart*>(Sender)) FFocused = m;
    if (OnSelectedChart) OnSelectedChart(this);
}

void TChartGalleryPanel::FocusMiniature(TGalleryChart* Miniature)
{
    if (Miniature == FFocused && Miniature) return;
    FFocused = Miniature;
    ShowFocus();
}

void TChartGalleryPanel::ShowFocus()
{
    if (!FFocused) {
        for (auto& m : FMiniatures)
            if (m->MiniatureEnabled()) {
                FFocused = m.get();
                break;
            }
    }
    for (auto& m : FMiniatures)
        if (m.get() != FFocused) m->ShowPlainLook();
    if (FFocused) {
        FFocused->ShowFocusedLook();
        if (OnChangeChart) OnChangeChart(this);
    }
}

void TChartGalleryPanel::LayoutMiniatures()
{
    const int b = BevelWidth() + BorderWidth();
    if (FNumRows > 0 && FNumCols > 0) {
        FCellHeight = (Height() - b) / FNumRows;
        FCellWidth = (Width() - b) / FNumCols;
    } else {
        FCellWidth = FCellHeight = 0;
        return;
    }
    const int w = std::min(FCellWidth, Width() - b);
    const int h = std::min(FCellHeight, Height() - b);
    for (std::size_t i = 0; i < FMiniatures.size(); ++i) {
        const int column = static_cast<int>(i) % FNumCols;
        const int row = static_cast<int>(i) / FNumCols;
        // Right and bottom stand one pixel inside the next cell's edge.
        FMiniatures[i]->SetBounds(b + column * FCellWidth, b + row * FCellHeight, std::max(0, w - 1), std::max(0, h - 1));
    }
}

void TChartGalleryPanel::Resize()
{
    TCustomPanelNoCaption::Resize();
    LayoutMiniatures();
}

void TChartGalleryPanel::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    TCustomPanelNoCaption::KeyDown(Key, Shift);
    const int index = IndexOfMiniature(FFocused);
    if (index < 0 || FNumCols <= 0) return;
    int column = index % FNumCols;
    int row = index / FNumCols;
    switch (Key) {
    case VK_RETURN:
        if (OnSelectedChart) OnSelectedChart(this);
        return;
    case VK_UP:
        if (row > 0) --row;
        break;
    case VK_LEFT:
        if (column > 0) --column;
        break;
    case VK_RIGHT:
        if (column < FNumCols) ++column;
        break;
    case VK_DOWN:
        if (row < FNumRows) ++row;
        break;
    default:
        return;
    }
    // A step past the last column or row finds no cell, and the focus stays.
    if (column >= FNumCols) return;
    const int target = row * FNumCols + column;
    if (target < 0 || target >= MiniatureCount()) return;
    TGalleryChart& m = Miniature(target);
    if (m.MiniatureEnabled()) FocusMiniature(&m);
}
