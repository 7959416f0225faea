// Miniature charts and the grid that holds them: construction settings, focused and plain looks, the
// hover frame, the smoothed picture, pages of registered types, cell layout, focus, clicks and keys, and
// the sub-style pop-up.
#include "chart/editors/LumGalleryPanel.h"

#include "chart/base/LumCanvasEffects.h"
#include "chart/base/LumCanvasHelpers.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEngineSeries.h"
#include "chart/base/LumSmoothStretch.h"
#include "chart/base/RadErareServices.h"
#include "chart/base/RadErareUtils.h"
#include "chart/control/ChartRegistry.h"
#include "chart/engine/LumEngineFunction.h"
#include "chart/series/SeriesLine.h"
#include "platform/controls/ControlWidget.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Screen.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/StrUtils.h"

#include <QKeyEvent>
#include <QVBoxLayout>

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
    OnAfterDraw = [this](TPersistent*) { AfterDraw(); };
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

void TGalleryChart::SetSmooth(bool Value)
{
    FSmooth = Value;
    if (!Value) {
        LeftAxis().SetLabels(false);
        BottomAxis().SetLabels(false);
    }
    Invalidate();
}

void TGalleryChart::ApplyMargins()
{
    const int m = View3D() ? 4 : 5;
    SetMarginTop(m);
    SetMarginBottom(m);
    SetMarginLeft(m);
    SetMarginRight(m);
}

void TGalleryChart::ApplyLabels()
{
    if (!AxisVisible()) return;
    const QWidget* window = Widget()->window();
    const bool maximized = window && window->isMaximized();
    LeftAxis().SetLabels(maximized);
    BottomAxis().SetLabels(maximized);
}

TPoint TGalleryChart::SubStyleMarkerOrigin() const
{
    int a = Border().Visible() ? Border().Width() : 0;
    if (Shadow().VertSize() > 0) a += Shadow().VertSize();
    int x = 4;
    if (Border().Visible()) x += FSmooth ? Border().Width() / 2 : Border().Width();
    return {x, Height() - (FSmooth ? a / 2 : a)};
}

void TGalleryChart::AfterDraw()
{
    if (FSmooth && !FRenderingEnlarged) RenderSmoothed();
    if (!FRenderingEnlarged && FocusedLook() && FPanel && FPanel->DisplaySub()) DrawSubStyleMarker();
}

void TGalleryChart::DrawSubStyleMarker()
{
    TCanvas* c = ChartCanvas().DeviceHandle();
    if (!c) return;
    const TPoint o = SubStyleMarkerOrigin();
    c->Pen().SetMode(pmNotXor);
    c->Pen().SetStyle(psClear);
    c->Brush().SetStyle(bsSolid);
    c->Brush().SetColor(clBlack);
    const TPoint triangle[3] = {{o.x, o.y - 8}, {o.x + 7, o.y - 8}, {o.x + 3, o.y - 4}};
    c->Polygon(triangle, 3);
    c->Pen().SetMode(pmCopy);
    c->Pen().SetStyle(psSolid);
}

void TGalleryChart::RenderSmoothed()
{
    const int w = Width(), h = Height();
    if (w < 4 || h < 4) return;
    TCanvas* target = ChartCanvas().DeviceHandle();
    if (!target) return;
    FRenderingEnlarged = true;
    const int leftSize = LeftAxis().LabelsFont().Size();
    const int bottomSize = BottomAxis().LabelsFont().Size();
    const bool titleVisible = Title().Visible();
    const int marginTop = MarginTop();
    // Whatever happens while drawing large, the miniature gets its own settings back.
    struct TRestore {
        TGalleryChart& M;
        int LeftSize, BottomSize, MarginTop;
        bool TitleVisible;
        ~TRestore()
        {
            M.Title().SetVisible(TitleVisible);
            M.SetMarginTop(MarginTop);
            M.ApplyMargins();
            M.FRenderingEnlarged = false;
            M.LeftAxis().LabelsFont().SetSize(LeftSize);
            M.BottomAxis().LabelsFont().SetSize(BottomSize);
        }
    } restore{*this, leftSize, bottomSize, marginTop, titleVisible};
    LeftAxis().SetLabels(true);
    BottomAxis().SetLabels(true);
    LeftAxis().LabelsFont().SetSize(leftSize * 2);
    BottomAxis().LabelsFont().SetSize(bottomSize * 2);
    Title().SetVisible(false);
    SetMarginTop(30);
    std::unique_ptr<TBitmap> large = RenderToBitmap(Color(), {0, 0, 4 * w, 4 * h}, pf24bit);
    TBitmap small(w, h, pf24bit);
    SmoothStretchWithQuality(large.get(), &small, true);
    target->Draw(0, 0, small);
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
    FSmooth = FSmoothAtStart = ReadEditorOptionBool("SmoothGallery", false);
}

TChartGalleryPanel::~TChartGalleryPanel()
{
    if (FSmooth != FSmoothAtStart) WriteEditorOptionBool("SmoothGallery", FSmooth);
    FFocused = nullptr;
    FMiniatures.clear();
}

void TChartGalleryPanel::SetView3D(bool Value)
{
    if (Value == FView3D) return;
    FView3D = Value;
    for (auto& m : FMiniatures) {
        m->SetView3D(Value);
        SetFirstSeriesView3D(*m, Value);
        m->ApplyMargins();
    }
}

void TChartGalleryPanel::SetSmooth(bool Value)
{
    if (Value == FSmooth) return;
    FSmooth = Value;
    for (auto& m : FMiniatures) m->SetSmooth(Value);
}

namespace {

// An entry belongs to a page of series types when it has no function class, of function types when
// it has one.
bool OnPage(const TLumSeriesType& Entry, const std::string& Page, bool Functions)
{
    return Entry.Page == Page && (Entry.FunctionClassRef != nullptr) == Functions;
}

} // namespace

TGalleryChart& TChartGalleryPanel::AddMiniature(const TLumSeriesType& Entry)
{
    const TClassInfo& seriesClass = Entry.SeriesClassRef ? *Entry.SeriesClassRef : TLineSeries::StaticClassInfo();
    TGalleryChart& m = NewMiniature();
    const TRepaintPause pause(&m);
    m.Title().Text().Clear();
    for (std::size_t from = 0;;) {
        const std::size_t cr = Entry.Caption.find('\r', from);
        m.Title().Text().Add(Entry.Caption.substr(from, cr == std::string::npos ? std::string::npos : cr - from));
        if (cr == std::string::npos) break;
        from = cr + 1;
    }
    m.SetName(UniqueComponentName(Owner(), "LumGalleryChart"));
    const int count = std::max(1, Entry.GallerySeriesCount);
    for (int i = 0; i < count; ++i) NewSeriesOfClass(nullptr, &m, seriesClass, Entry.FunctionClassRef);
    TChartSeries* first = m.CountSeries() > 0 ? m.SeriesAt(0) : nullptr;
    if (DisableRefused && ReferenceSeries && first && !first->AcceptsSource(ReferenceSeries)) m.Disable();
    if (IsSubStylesPanel) m.OnKeyDown = nullptr;
    if (first) first->SetParentView3D(FView3D);
    if (Entry.FunctionClassRef) {
        std::unique_ptr<TComponent> f(Entry.FunctionClassRef->CreateComponent(nullptr));
        if (auto* function = dynamic_cast<TLumFunction*>(f.get())) function->PrepareGalleryChart(m);
    } else {
        for (int i = 0; i < m.CountSeries(); ++i) m.SeriesAt(i)->PrepareForGallery(m.MiniatureEnabled());
    }
    m.ApplyMargins();
    m.ApplyLabels();
    m.SetSmooth(FSmooth);
    return m;
}

void TChartGalleryPanel::FillPage(const std::string& Page)
{
    TLumSeriesTypes* types = LumSeriesTypes();
    std::vector<const TLumSeriesType*> entries;
    for (int i = 0; types && i < types->Count(); ++i)
        if (OnPage(types->GetSeriesType(i), Page, ShowsFunctions)) entries.push_back(&types->GetSeriesType(i));
    const int n = static_cast<int>(entries.size());
    // Without columns there is no grid to grow: the rows stay as they are.
    if (FNumCols >= 1) FNumRows = (FNumRows - 1) * FNumCols < n ? (n - 1) / FNumCols + 1 : 3;
    ClearMiniatures();
    LayoutMiniatures();
    for (const TLumSeriesType* e : entries) AddMiniature(*e);
    FFocused = nullptr;
    if (ReferenceSeries)
        for (auto& m : FMiniatures)
            if (m->CountSeries() > 0 && &m->SeriesAt(0)->ClassInfo() == &ReferenceSeries->ClassInfo() &&
                !m->SeriesAt(0)->AttachedFunction()) {
                FFocused = m.get();
                break;
            }
    ShowFocus();
}

bool TChartGalleryPanel::ChosenType(const TClassInfo*& SeriesClass, const TClassInfo*& FunctionClass, int& Style) const
{
    if (!FFocused || FFocused->CountSeries() == 0) return false;
    TChartSeries* first = FFocused->SeriesAt(0);
    SeriesClass = &first->ClassInfo();
    FunctionClass = first->AttachedFunction() ? &first->AttachedFunction()->ClassInfo() : nullptr;
    Style = FFocused->Tag();
    return true;
}

void TChartGalleryPanel::FillSubStyles(TChartGalleryPanel& Target, const TClassInfo& SeriesClass)
{
    std::unique_ptr<TComponent> made(SeriesClass.CreateComponent(nullptr));
    auto* prototype = dynamic_cast<TChartSeries*>(made.get());
    if (!prototype) return;
    prototype->ListGalleryStyles([&](const std::string& Name) {
        const int k = Target.MiniatureCount();
        TGalleryChart& m = Target.AddMiniature({&SeriesClass, nullptr, Name, "", 1});
        if (m.CountSeries() > 0) prototype->ApplyGalleryStyle(m.SeriesAt(0), k);
        m.SetTag(k);
    });
}

namespace {

// The pop-up's top strip: a small triangle pointing up; a click on it closes the pop-up with OK.
class TSubStylesStrip : public TCustomControl {
public:
    TSubStylesStrip(TForm& Form) : TCustomControl(nullptr), FForm(Form) { SetColor(clBtnFace); }

protected:
    void Paint() override
    {
        TCustomControl::Paint();
        TCanvas& c = Canvas();
        c.Pen().SetStyle(psClear);
        c.Brush().SetStyle(bsSolid);
        c.Brush().SetColor(clBlack);
        const TPoint triangle[3] = {{4, 10}, {8, 2}, {13, 10}};
        c.Polygon(triangle, 3);
    }
    void Click() override { FForm.SetModalResult(mrOk); }

private:
    TForm& FForm;
};

// The borderless pop-up: Esc cancels, every other key moves the focus on its panel.
class TSubStylesForm : public TForm {
public:
    explicit TSubStylesForm(QWidget* Owner) : TForm(Owner)
    {
        setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
        SetCaption("Sub-styles");
    }
    TChartGalleryPanel* Panel = nullptr;

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        if (e->key() == Qt::Key_Escape) {
            SetModalResult(mrCancel);
            return;
        }
        std::uint16_t key = VirtualKeyOf(*e);
        if (Panel && key != 0)
            Application->Guarded([&] { Panel->KeyDown(key, ShiftStateOf(e->modifiers(), {})); });
    }
};

} // namespace

void TChartGalleryPanel::PopupSubStyles()
{
    TGalleryChart* f = FFocused;
    if (!f || f->CountSeries() == 0) return;
    f->ShowPlainLook();
    const TClassInfo& seriesClass = f->SeriesAt(0)->ClassInfo();

    TSubStylesForm form(Widget() ? Widget()->window() : nullptr);
    form.resize(std::max(4 * f->Width(), 200), std::max(3 * f->Height(), 150));
    auto* layout = new QVBoxLayout(&form);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    TSubStylesStrip strip(form);
    strip.SetParentWidget(&form);
    strip.Widget()->setFixedHeight(12);
    layout->addWidget(strip.Widget());
    TChartGalleryPanel panel(nullptr);
    panel.SetView3D(FView3D);
    panel.SetSmooth(FSmooth);
    panel.SetDisplaySub(false);
    panel.IsSubStylesPanel = true;
    panel.SetParentWidget(&form);
    layout->addWidget(panel.Widget());
    panel.SetBounds(0, 12, form.width(), form.height() - 12);
    form.Panel = &panel;
    panel.OnSelectedChart = [this, &form](TPersistent*) {
        SubStyleChosen();
        form.SetModalResult(mrOk);
    };
    FSubStylesForm = &form;
    FSubStylesPanel = &panel;
    struct TForget {
        TChartGalleryPanel& P;
        ~TForget() { P.FSubStylesForm = nullptr; P.FSubStylesPanel = nullptr; }
    } forget{*this};

    FillSubStyles(panel, seriesClass);
    panel.LayoutMiniatures();
    const int rows = panel.NumCols() > 0 ? (panel.MiniatureCount() + panel.NumCols() - 1) / panel.NumCols() : 1;
    const int height = rows * panel.CellHeight() + 8;
    TPoint at = f->ClientToScreen({0, f->Height()});
    const TRect work = Screen->WorkAreaRect();
    if (at.x + form.width() > work.Right) at.x = work.Right - form.width() - 2;
    if (at.y + height > work.Bottom) at.y = work.Bottom - height - 2;
    form.setGeometry(at.x, at.y, form.width(), height);
    panel.SetBounds(0, 12, form.width(), height - 12);
    panel.SetNumRows(rows);
    panel.ShowFocus();
    if (form.ShowModal() == mrOk && OnSubSelected) OnSubSelected(this);
    ShowFocus();
}

void TChartGalleryPanel::SubStyleChosen()
{
    TGalleryChart* f = FFocused;
    if (!f || !FSubStylesPanel || f->CountSeries() == 0) return;
    const int k = FSubStylesPanel->IndexOfMiniature(FSubStylesPanel->FocusedMiniature());
    if (k < 0) return;
    f->SetTag(k);
    if (k != 0) {
        for (int i = 0; i < f->CountSeries(); ++i) f->SeriesAt(i)->ApplyGalleryStyle(f->SeriesAt(i), k);
        return;
    }
    // The plain style: the kind's series made anew.
    const TClassInfo& seriesClass = f->SeriesAt(0)->ClassInfo();
    const int count = f->CountSeries();
    f->FreeSeriesOfClass("");
    for (int i = 0; i < count; ++i) NewSeriesOfClass(nullptr, f, seriesClass, nullptr);
    if (f->CountSeries() > 0) f->SeriesAt(0)->SetParentView3D(FView3D);
    for (int i = 0; i < f->CountSeries(); ++i) f->SeriesAt(i)->PrepareForGallery(true);
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
    m.SetSmooth(FSmooth);
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
    if (Miniature != FFocused || !Miniature) {
        FFocused = Miniature;
        ShowFocus();
    }
    // A click on the focused miniature's marker opens its sub-styles.
    if (!FDisplaySub || !Miniature || Miniature != FFocused) return;
    const TPoint p = Miniature->ScreenToClient(LastMousePos());
    const TPoint o = Miniature->SubStyleMarkerOrigin();
    if (p.x >= o.x && p.x < o.x + 12 && p.y >= o.y - 12 && p.y < o.y) PopupSubStyles();
}

void TChartGalleryPanel::ClearFocus()
{
    FFocused = nullptr;
    for (auto& m : FMiniatures) m->ShowPlainLook();
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
        FMiniatures[i]->ApplyLabels();
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
        if (Shift.Contains(ssAlt)) {
            if (FDisplaySub) PopupSubStyles();
            return;
        }
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
