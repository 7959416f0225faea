// The pointer editor: filling from a pointer or a series, the enabling rules, each control's write, the
// owner-drawn style list, and the dialog and page entries.
#include "chart/editors/LumPoEdi.h"

#include "chart/base/LumBrushDlgEditor.h"
#include "chart/base/LumCanvas.h"
#include "chart/base/LumCanvas3D.h"
#include "chart/base/LumPenDlgForm.h"
#include "chart/base/RadErareServices.h"
#include "chart/editors/LumEdiGrad.h"
#include "chart/editors/LumEdiSeri.h"
#include "chart/engine/LumEnginePointer.h"
#include "chart/engine/LumEngineSeries.h"
#include "chart/series/SeriesLine.h"
#include "platform/controls/AnsiText.h"
#include "platform/graphics/Canvas.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const std::vector<std::string> PointerStyleItems = {"Square", "Circle",     "Triangle", "Down Triangle",
                                                     "Cross",  "Diagonal Cross", "Star", "Diamond",
                                                     "Small Dot", "Nothing", "Left Triangle", "Right Triangle"};

bool ThinStyle(int Style) { return Style == psCross || Style == psDiagCross || Style == psStar || Style == psSmallDot; }

} // namespace

TSeriesPointerEditor::TSeriesPointerEditor(QWidget* Owner)
    : TLumEditorForm(Owner), CBDrawPoint(NewCheckBox("&Visible")), CB3dPoint(NewCheckBox("&3D")),
      CBPoDark(NewCheckBox("Dar&k 3D")), CBInflate(NewCheckBox("Inflate &Margins")),
      UDPointHorizSize(NewUpDown(1, 1000)), UDPointVertSize(NewUpDown(1, 1000)), CBStyle(nullptr),
      BPointFillColor(new QPushButton(AnsiToQString("&Pattern..."))), BPoinPenCol(nullptr),
      CBDefBrushColor(NewCheckBox("&Default")), CBColorEach(NewCheckBox("&Color Each ")),
      BGradient(new QPushButton(AnsiToQString("&Gradient..."))), PanelBottom(new QWidget),
      Button1(new QPushButton("Close"))
{
    SetCaption("Pointer");
    LWidth = NewLabel("&Width:", UDPointHorizSize);
    LHeight = NewLabel("&Height:", UDPointVertSize);
    CBStyle.SetStyle(csOwnerDrawFixed);
    CBStyle.SetItems(PointerStyleItems);
    CBStyle.SetWidth(130);
    CBStyle.SetDropDownCount(12);
    CBStyle.SetParentWidget(this);
    CBStyle.OnDrawItem = [this](TPersistent*, int index, TRect rect, TOwnerDrawState state) {
        DrawStyleItem(index, rect, state);
    };
    LStyle = NewLabel("&Style:", CBStyle.Widget());
    BPoinPenCol.SetCaption("B&order...");
    BPoinPenCol.SetParentWidget(this);

    auto* grid = new QGridLayout;
    grid->addWidget(CBDrawPoint, 0, 0);
    grid->addWidget(LStyle, 0, 1);
    grid->addWidget(CBStyle.Widget(), 0, 2);
    grid->addWidget(CB3dPoint, 1, 0);
    grid->addWidget(LWidth, 1, 1);
    grid->addWidget(UDPointHorizSize, 1, 2);
    grid->addWidget(CBPoDark, 2, 0);
    grid->addWidget(LHeight, 2, 1);
    grid->addWidget(UDPointVertSize, 2, 2);
    grid->addWidget(CBInflate, 3, 0);
    grid->addWidget(BPointFillColor, 3, 1, 1, 2);
    grid->addWidget(CBDefBrushColor, 4, 0);
    grid->addWidget(BPoinPenCol.Widget(), 4, 1, 1, 2);
    grid->addWidget(CBColorEach, 5, 0);
    grid->addWidget(BGradient, 5, 1, 1, 2);
    grid->setColumnStretch(3, 1);
    auto* bottom = new QHBoxLayout(PanelBottom);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->addStretch(1);
    bottom->addWidget(Button1);
    PanelBottom->hide();
    auto* form = new QVBoxLayout(this);
    form->addLayout(grid);
    form->addStretch(1);
    form->addWidget(PanelBottom);
    SetButtonModalResult(Button1, mrOk);

    ConnectGuarded(CBDrawPoint, &QCheckBox::clicked, this, [this](bool checked) {
        if (!FPointer) return;
        FPointer->SetVisible(checked);
        ApplyVisibility();
    });
    ConnectGuarded(CB3dPoint, &QCheckBox::clicked, this, [this](bool checked) {
        if (!FPointer) return;
        FPointer->SetDraw3D(checked);
        Enable3D();
    });
    ConnectGuarded(CBPoDark, &QCheckBox::clicked, this, [this](bool checked) {
        if (FPointer) FPointer->SetDark3D(checked);
    });
    ConnectGuarded(CBInflate, &QCheckBox::clicked, this, [this](bool checked) {
        if (FPointer) FPointer->SetInflateMargins(checked);
    });
    ConnectGuarded(UDPointHorizSize, &QSpinBox::valueChanged, this, [this](int v) {
        if (CanWrite() && isVisible()) FPointer->SetHorizSize(v);
    });
    ConnectGuarded(UDPointVertSize, &QSpinBox::valueChanged, this, [this](int v) {
        if (CanWrite() && isVisible()) FPointer->SetVertSize(v);
    });
    CBStyle.OnChange = [this](TPersistent*) {
        if (!FPointer || CBStyle.ItemIndex() < 0) return;
        FPointer->SetStyle(static_cast<TSeriesPointerStyle>(CBStyle.ItemIndex()));
        Enable3D();
    };
    ConnectGuarded(BPointFillColor, &QPushButton::clicked, this, [this](bool) {
        if (!FPointer) return;
        ShowBrushEditorModal(nullptr, FPointer->Brush());
        CheckDefault();
        CBStyle.Invalidate();
    });
    BPoinPenCol.OnClick = [this](TPersistent*) {
        CheckDefault();
        CBStyle.Invalidate();
    };
    ConnectGuarded(CBDefBrushColor, &QCheckBox::clicked, this, [this](bool checked) {
        if (!FPointer) return;
        if (checked) {
            FPointer->SetBrushColor(clDefault);
            FPointer->Pen().SetColor(clDefault);
        } else if (FPointer->Pen().Color() == clDefault) {
            FPointer->Pen().SetColor(clBlack);
        }
        BPoinPenCol.Invalidate();
        CBStyle.Invalidate();
    });
    ConnectGuarded(CBColorEach, &QCheckBox::clicked, this, [this](bool checked) {
        if (auto* series = dynamic_cast<TCustomSeries*>(FSeries)) series->SetColorEachPoint(checked);
    });
    ConnectGuarded(BGradient, &QPushButton::clicked, this, [this](bool) {
        if (FPointer)
            ShowGradientEditorWithOptions(nullptr, FPointer->Gradient(), !FPointer->OwnGradientEnd(), false);
    });
    OnShow = [this](TForm*) { FormShow(); };
}

TSeriesPointerEditor::~TSeriesPointerEditor() = default;

void TSeriesPointerEditor::FormShow()
{
    TPersistent* tag = Tag();
    if (!tag) return;
    FFilling = true;
    if (auto* pointer = dynamic_cast<TSeriesPointer*>(tag)) {
        FPointer = pointer;
        FSeries = nullptr;
        CBColorEach->setEnabled(false);
        CBColorEach->hide();
    } else if (auto* series = dynamic_cast<TCustomSeries*>(tag)) {
        FSeries = series;
        FPointer = &series->Pointer();
        CBColorEach->show();
        CBColorEach->setChecked(series->ColorEachPoint());
    } else {
        FFilling = false;
        return;
    }
    ApplyVisibility();
    CBDrawPoint->setChecked(FPointer->Visible());
    CB3dPoint->setChecked(FPointer->Draw3D());
    Enable3D();
    UDPointHorizSize->setValue(FPointer->HorizSize());
    UDPointVertSize->setValue(FPointer->VertSize());
    CBStyle.SetItemIndex(FPointer->Style());
    CBInflate->setChecked(FPointer->InflateMargins());
    CBPoDark->setChecked(FPointer->Dark3D());
    CheckDefault();
    BPoinPenCol.LinkPen(&FPointer->Pen());
    if (!FPointer->SizeEditable()) HideSizeControls();
    FFilling = false;
}

void TSeriesPointerEditor::HideSizeControls()
{
    SetControlsVisibility(false, {LWidth, UDPointHorizSize, LHeight, UDPointVertSize});
}

void TSeriesPointerEditor::ApplyVisibility()
{
    const bool on = FPointer && FPointer->Visible();
    for (QWidget* w : std::initializer_list<QWidget*>{CBInflate, UDPointHorizSize, UDPointVertSize, LWidth, LHeight,
                                                     BPointFillColor, CBDefBrushColor})
        w->setEnabled(on);
    CBStyle.SetEnabled(on);
    LStyle->setEnabled(on);
    BPoinPenCol.SetEnabled(on);
    if (on) {
        Enable3D();
    } else {
        CB3dPoint->setEnabled(false);
        CBPoDark->setEnabled(false);
    }
}

void TSeriesPointerEditor::Enable3D()
{
    bool on = false;
    if (FPointer && FPointer->Visible()) {
        TCustomLumPanel* chart = FPointer->ParentChart();
        const TSeriesPointerStyle style = FPointer->Style();
        on = chart && chart->View3D() &&
             (style == psRectangle || style == psTriangle || style == psDownTriangle ||
              (style == psCircle && chart->ChartCanvas().HasOwnRenderer()));
    }
    CB3dPoint->setEnabled(on);
    CBPoDark->setEnabled(on && CB3dPoint->isChecked());
}

void TSeriesPointerEditor::CheckDefault()
{
    if (!FPointer) return;
    CBDefBrushColor->setChecked(FPointer->GetBrushColor() == clDefault && FPointer->Pen().Color() == clDefault);
}

void TSeriesPointerEditor::DrawStyleItem(int Index, TRect Rect, TOwnerDrawState State)
{
    TCanvas& c = CBStyle.Canvas();
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(State.Contains(odSelected) ? clHighlight : CBStyle.Color());
    c.FillRect(Rect);
    if (Index < 0 || Index >= CBStyle.ItemCount()) return;
    if (FPointer) {
        TColor color = FPointer->GetBrushColor();
        if (color == clDefault && FPointer->OwnerSeries()) color = FPointer->OwnerSeries()->SeriesColor();
        TLumCanvas3D canvas;
        canvas.AttachCanvas(&c);
        FPointer->PrepareCanvas(canvas, color);
        if (ThinStyle(Index) && !FPointer->Pen().Visible()) {
            canvas.Pen().SetStyle(psSolid);
            canvas.Pen().SetWidth(1);
            canvas.Pen().SetColor(color);
        }
        FPointer->PaintSymbol(canvas, false, Rect.Left + 6, Rect.Top + 8, 4, 4, color,
                              static_cast<TSeriesPointerStyle>(Index));
    }
    c.Brush().SetStyle(bsClear);
    c.Font().SetColor(State.Contains(odSelected) ? clHighlightText : clWindowText);
    c.TextOut(Rect.Left + 14, Rect.Top + 2, CBStyle.Item(Index));
}

void ShowPointerEditorModal(QWidget* Owner, TSeriesPointer& Pointer)
{
    TSeriesPointerEditor editor(Owner ? Owner->window() : nullptr);
    editor.setSizeGripEnabled(false);
    editor.SetCaption("Pointer");
    editor.SetTag(&Pointer);
    editor.CBInflate->hide();
    editor.CBColorEach->hide();
    editor.PanelBottom->show();
    TranslateFormControls(&editor);
    editor.ShowModal();
}

TSeriesPointerEditor* AddPointerEditorPage(QWidget* Control, TSeriesPointer& Pointer, const std::string& Caption)
{
    return InsertEditorPage<TSeriesPointerEditor>(Control, 1, Caption, &Pointer);
}
