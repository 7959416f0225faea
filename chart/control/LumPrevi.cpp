// The print preview window: its layout, the printer list with "PDF file", orientation, margin fields and
// their guards, the proportional switch, detail, smoothing, printing and saving the page; and the one-chart
// and two-chart entry points.
#include "chart/control/LumPrevi.h"

#include "chart/base/RadErareServices.h"
#include "chart/control/pngun.h"
#include "platform/controls/AnsiText.h"
#include "platform/controls/Application.h"
#include "platform/controls/Screen.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Printers.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include <filesystem>

namespace {

QString Text(const char* s) { return AnsiToQString(s); }

// Sets a flag for a scope and clears it on every exit.
class TFlagScope {
public:
    explicit TFlagScope(bool& Flag) : FFlag(Flag) { FFlag = true; }
    ~TFlagScope() { FFlag = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& FFlag;
};

QSpinBox* MarginField()
{
    auto* field = new QSpinBox;
    field->setRange(0, 100);
    field->setSingleStep(5);
    return field;
}

std::string WithExtension(const std::string& Name, const char* Extension)
{
    return std::filesystem::path(Name).replace_extension(Extension).string();
}

} // namespace

TChartPreview::TChartPreview(QWidget* Owner)
    : TForm(Owner), Panel1(new QWidget), Label1(new QLabel(Text("P&rinter:"))), CBPrinters(new QComboBox),
      PanelClose(new QWidget), BClose(new QPushButton("Close")), Panel3(new QWidget),
      BSetupPrinter(new QPushButton(Text("&Setup..."))), BPrint(new QPushButton(Text("&Print"))),
      Button1(new QPushButton("Save")), Panel2(new QWidget), Orientation(new QGroupBox(Text("Orien&tation:"))),
      OrientationItems(new QButtonGroup(this)), GBMargins(new QGroupBox("Margins (%)")), UDTopMa(MarginField()),
      UDLeftMa(MarginField()), UDBotMa(MarginField()), UDRightMa(MarginField()), PanelMargins(new QWidget),
      BReset(new QPushButton(Text("Reset &Margins"))), ShowMargins(new QCheckBox(Text("&View Margins"))),
      ChangeDetailGroup(new QGroupBox("Detail:")), Resolution(new QSlider(Qt::Horizontal)), Panel4(new QWidget),
      CBProp(new QCheckBox(Text("Proport&ional"))), CheckBox1(new QCheckBox(Text("S&mooth"))),
      LumPreviewPanel1(std::make_unique<TLumPreviewPanel>(nullptr))
{
    SetCaption("Vorn Print Preview");
    resize(617, 392);
    Label1->setBuddy(CBPrinters);

    // The printer row: label and list, then the commands, then Close.
    auto* commands = new QHBoxLayout(Panel3);
    commands->setContentsMargins(0, 0, 0, 0);
    for (QPushButton* b : {BSetupPrinter, BPrint, Button1}) commands->addWidget(b);
    auto* closeRow = new QHBoxLayout(PanelClose);
    closeRow->setContentsMargins(0, 0, 0, 0);
    closeRow->addWidget(BClose);
    BClose->setDefault(true);
    auto* row = new QHBoxLayout(Panel1);
    row->setContentsMargins(4, 4, 4, 4);
    row->addWidget(Label1);
    row->addWidget(CBPrinters, 1);
    row->addWidget(Panel3);
    row->addWidget(PanelClose);
    Panel1->setFixedHeight(38);

    // The option column.
    auto* portrait = new QRadioButton(Text("P&ortrait"));
    auto* landscape = new QRadioButton(Text("&Landscape"));
    OrientationItems->addButton(portrait, 0);
    OrientationItems->addButton(landscape, 1);
    auto* orientation = new QVBoxLayout(Orientation);
    orientation->addWidget(portrait);
    orientation->addWidget(landscape);
    auto* margins = new QGridLayout(GBMargins);
    margins->addWidget(UDTopMa, 0, 0, 1, 2, Qt::AlignHCenter);
    margins->addWidget(UDLeftMa, 1, 0);
    margins->addWidget(UDRightMa, 1, 1);
    margins->addWidget(UDBotMa, 2, 0, 1, 2, Qt::AlignHCenter);
    auto* marginButtons = new QVBoxLayout(PanelMargins);
    marginButtons->setContentsMargins(0, 0, 0, 0);
    marginButtons->addWidget(BReset);
    marginButtons->addWidget(ShowMargins);
    BReset->setEnabled(false);
    ShowMargins->setChecked(true);
    Resolution->setRange(0, 100);
    Resolution->setSingleStep(2);
    Resolution->setTickInterval(10);
    Resolution->setTickPosition(QSlider::TicksBelow);
    auto* detail = new QGridLayout(ChangeDetailGroup);
    detail->addWidget(Resolution, 0, 0, 1, 2);
    detail->addWidget(new QLabel("More"), 1, 0, Qt::AlignLeft);
    detail->addWidget(new QLabel("Normal"), 1, 1, Qt::AlignRight);
    auto* switches = new QVBoxLayout(Panel4);
    switches->setContentsMargins(0, 0, 0, 0);
    switches->addWidget(CBProp);
    switches->addWidget(CheckBox1);
    CBProp->setChecked(true);
    auto* column = new QVBoxLayout(Panel2);
    column->setContentsMargins(4, 0, 4, 4);
    for (QWidget* w : {static_cast<QWidget*>(Orientation), static_cast<QWidget*>(GBMargins), PanelMargins,
                       static_cast<QWidget*>(ChangeDetailGroup), Panel4})
        column->addWidget(w);
    column->addStretch(1);
    Panel2->setMinimumWidth(112);

    // The paper: grey shadow, a background fading from the top-left corner to grey.
    TLumPreviewPanel& preview = *LumPreviewPanel1;
    preview.SetParentWidget(this);
    preview.Shadow().SetColor(clGray);
    preview.Shadow().SetUniformSize(4);
    preview.Gradient().SetDirection(gdFromTopLeft);
    preview.Gradient().SetEndColor(clGray);
    preview.Gradient().SetVisible(true);
    preview.OnChangeMargins = [this](TPersistent*, bool disable, const TRect& m) {
        LumPreviewPanel1ChangeMargins(disable, m);
    };

    auto* body = new QHBoxLayout;
    body->addWidget(Panel2);
    body->addWidget(preview.Widget(), 1);
    auto* form = new QVBoxLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->addWidget(Panel1);
    form->addLayout(body, 1);

    ConnectGuarded(CBPrinters, &QComboBox::activated, this, [this](int) { CBPrintersChange(); });
    ConnectGuarded(BSetupPrinter, &QPushButton::clicked, this, [this](bool) { BSetupPrinterClick(); });
    ConnectGuarded(BPrint, &QPushButton::clicked, this, [this](bool) { BPrintClick(); });
    ConnectGuarded(Button1, &QPushButton::clicked, this, [this](bool) { Button1Click(); });
    ConnectGuarded(OrientationItems, &QButtonGroup::idClicked, this, [this](int) { OrientationClick(); });
    for (QSpinBox* field : {UDTopMa, UDLeftMa, UDBotMa, UDRightMa})
        ConnectGuarded(field, &QSpinBox::valueChanged, this, [this, field](int) { MarginChange(field); });
    ConnectGuarded(BReset, &QPushButton::clicked, this, [this](bool) { BResetClick(); });
    ConnectGuarded(ShowMargins, &QCheckBox::toggled, this, [this](bool) { ShowMarginsClick(); });
    ConnectGuarded(Resolution, &QSlider::valueChanged, this, [this](int) { TrackBar1Change(); });
    ConnectGuarded(CBProp, &QCheckBox::toggled, this, [this](bool) { CBPropClick(); });
    ConnectGuarded(CheckBox1, &QCheckBox::toggled, this, [this](bool) { CheckBox1Click(); });
    SetButtonModalResult(BClose, mrOk);

    OnShow = [this](TForm*) { FormShow(); };
}

// The preview panel goes before the window that holds its widget.
TChartPreview::~TChartPreview() { LumPreviewPanel1.reset(); }

void TChartPreview::HideClosePanel() { PanelClose->hide(); }

// ---- Printers ------------------------------------------------------------------------------------------------

void TChartPreview::FillPrinters()
{
    const QSignalBlocker block(CBPrinters);
    CBPrinters->clear();
    const std::vector<std::string> printers = Printer()->Printers();
    for (const std::string& name : printers) CBPrinters->addItem(AnsiToQString(name));
    // For users without a set-up printer.
    CBPrinters->addItem(Text(PdfFileItem));
    int current = -1;
    if (Printer()->FileOutput())
        current = static_cast<int>(printers.size());
    else if (!printers.empty())
        current = Printer()->PrinterIndex() < 0 ? 0 : Printer()->PrinterIndex();
    CBPrinters->setCurrentIndex(current);
    FPrinterItem = current;
}

void TChartPreview::EnablePrinting(bool HasPrinter)
{
    BPrint->setEnabled(HasPrinter && Chart());
    BSetupPrinter->setEnabled(HasPrinter);
    Orientation->setEnabled(HasPrinter);
}

void TChartPreview::ShowPrinterOrientation()
{
    if (QAbstractButton* b = OrientationItems->button(Printer()->Orientation() == poLandscape ? 1 : 0)) b->setChecked(true);
}

bool TChartPreview::AskPdfFileName()
{
    TFileDialogData data;
    data.Filter = "PDF files|*.pdf";
    data.DefaultExt = "pdf";
    data.FileName = Printer()->OutputFileName();
    data.Options = ofOverwritePrompt;
    if (!ExecuteSaveDialog(nullptr, data)) return false;
    Printer()->SetOutputFileName(data.FileName);
    return true;
}

void TChartPreview::CBPrintersChange()
{
    const int index = CBPrinters->currentIndex();
    if (index < 0) return;
    if (index == CBPrinters->count() - 1) {
        if (!AskPdfFileName()) {
            // The former choice stands.
            const QSignalBlocker block(CBPrinters);
            CBPrinters->setCurrentIndex(FPrinterItem);
            return;
        }
    } else {
        Printer()->SetOutputFileName("");
        Printer()->SetPrinterIndex(index);
    }
    FPrinterItem = index;
    EnablePrinting(true);
    // A printer chosen starts in landscape, as one found at showing does.
    Printer()->SetOrientation(poLandscape);
    ShowPrinterOrientation();
    OrientationClick();
}

void TChartPreview::BSetupPrinterClick()
{
    ExecutePrinterSetupDialog(nullptr);
    FillPrinters();
    ShowPrinterOrientation();
    LumPreviewPanel1->Invalidate();
}

void TChartPreview::OrientationClick()
{
    if (Printer()->HasPrinter()) Printer()->SetOrientation(OrientationItems->checkedId() == 1 ? poLandscape : poPortrait);
    RefreshMargins();
    LumPreviewPanel1->Invalidate();
}

// ---- Showing -------------------------------------------------------------------------------------------------

void TChartPreview::FormShow()
{
    if (PageNavigatorClass && !FPageNavigator) {
        FPageNavigator = PageNavigatorClass();
        Panel2->layout()->addWidget(FPageNavigator->Widget());
        FPageNavigator->OnButtonClick = [this] { LumPreviewPanel1->Invalidate(); };
    }
    Screen->SetCursor(crDefault);
    if (TagChart) LumPreviewPanel1->SetPanel(TagChart);
    // Without a printer the PDF file is the printer: the page is laid out as its page, and printing
    // asks for the file's name.
    if (!Printer()->HasPrinter()) Printer()->SelectFileOutput();
    FillPrinters();
    const bool hasPrinter = Printer()->HasPrinter();
    if (hasPrinter) {
        Printer()->SetOrientation(poLandscape);
        ShowPrinterOrientation();
    }
    EnablePrinting(hasPrinter);
    if (TCustomLumPanel* chart = Chart()) {
        {
            const QSignalBlocker block(CBProp);
            CBProp->setChecked(chart->PrintProportional());
        }
        {
            const QSignalBlocker block(Resolution);
            Resolution->setValue(chart->PrintResolution() + 100);
        }
        FOldMargins = chart->PrintMargins();
        RefreshMargins();
        if (FPageNavigator) FPageNavigator->SetChart(chart);
    } else {
        for (QWidget* w : {static_cast<QWidget*>(CBProp), static_cast<QWidget*>(Resolution),
                           static_cast<QWidget*>(GBMargins), static_cast<QWidget*>(BPrint)})
            w->setEnabled(false);
    }
    {
        const QSignalBlocker block(CheckBox1);
        CheckBox1->setChecked(LumPreviewPanel1->AsBitmap());
    }
    TranslateFormControls(this);
}

void TChartPreview::RefreshMargins()
{
    TCustomLumPanel* chart = Chart();
    if (!chart) return;
    if (chart->PrintProportional() && Printer()->HasPrinter()) {
        FOldMargins = chart->ProportionalMargins();
        chart->SetPrintMargins(FOldMargins);
    }
    LumPreviewPanel1ChangeMargins(false, chart->PrintMargins());
    LumPreviewPanel1->Invalidate();
}

// ---- Margins -------------------------------------------------------------------------------------------------

void TChartPreview::SetMarginFields(const TRect& Margins)
{
    UDLeftMa->setValue(Margins.Left);
    UDRightMa->setValue(Margins.Right);
    UDTopMa->setValue(Margins.Top);
    UDBotMa->setValue(Margins.Bottom);
}

void TChartPreview::LumPreviewPanel1ChangeMargins(bool DisableProportional, const TRect& NewMargins)
{
    {
        TFlagScope updating(FUpdating);
        SetMarginFields(NewMargins);
    }
    if (DisableProportional) {
        if (TCustomLumPanel* chart = Chart()) chart->SetPrintProportional(false);
        TFlagScope suppress(FSuppressProp);
        CBProp->setChecked(false);
    }
}

void TChartPreview::MarginChange(QSpinBox* Field)
{
    TCustomLumPanel* chart = Chart();
    if (!isVisible() || !chart) return;
    TRect m = chart->PrintMargins();
    int* own = Field == UDTopMa ? &m.Top : Field == UDBotMa ? &m.Bottom : Field == UDLeftMa ? &m.Left : &m.Right;
    const int opposite = Field == UDTopMa ? m.Bottom : Field == UDBotMa ? m.Top : Field == UDLeftMa ? m.Right : m.Left;
    const int p = Field->value();
    if (opposite + p >= 100) {
        // Opposite margins that meet or cross leave no chart: the field goes back.
        const QSignalBlocker block(Field);
        Field->setValue(*own);
        return;
    }
    *own = p;
    chart->SetPrintMargins(m);
    if (FUpdating) return;
    LumPreviewPanel1->Invalidate();
    BReset->setEnabled(chart->PrintMargins() != FOldMargins);
    CBProp->setChecked(false);
}

void TChartPreview::BResetClick()
{
    if (TCustomLumPanel* chart = Chart()) {
        chart->SetPrintMargins(FOldMargins);
        LumPreviewPanel1ChangeMargins(false, FOldMargins);
    }
    LumPreviewPanel1->Invalidate();
    BReset->setEnabled(false);
}

void TChartPreview::CBPropClick()
{
    if (FSuppressProp) return;
    if (TCustomLumPanel* chart = Chart()) chart->SetPrintProportional(CBProp->isChecked());
    RefreshMargins();
}

void TChartPreview::ShowMarginsClick() { LumPreviewPanel1->Margins().SetVisible(ShowMargins->isChecked()); }

void TChartPreview::TrackBar1Change()
{
    if (TCustomLumPanel* chart = Chart()) chart->SetPrintResolution(Resolution->value() - 100);
    LumPreviewPanel1->Invalidate();
}

void TChartPreview::CheckBox1Click() { LumPreviewPanel1->SetAsBitmap(CheckBox1->isChecked()); }

// ---- Commands ------------------------------------------------------------------------------------------------

void TChartPreview::BPrintClick()
{
    if (Printer()->FileOutput() && Printer()->OutputFileName().empty() && !AskPdfFileName()) return;
    Screen->SetCursor(crHourGlass);
    struct TRestore {
        ~TRestore() { Screen->SetCursor(crDefault); }
    } restore;
    if (FPageNavigator && FPageNavigator->PageCount() > 1)
        FPageNavigator->PrintPages();
    else
        LumPreviewPanel1->Print();
}

void TChartPreview::Button1Click()
{
    TFileDialogData data;
    data.Filter = "Bitmap files|*.bmp|PNG files|*.png";
    if (!ExecuteSaveDialog(nullptr, data)) return;
    const bool png = data.FilterIndex == 2;
    const std::string name = WithExtension(data.FileName, png ? ".png" : ".bmp");
    Application->ProcessMessages();
    // The page as shown: the paper rectangle of the preview's back buffer, drawn afresh first.
    TLumPreviewPanel& preview = *LumPreviewPanel1;
    preview.DrawClientArea();
    const TRect paper = preview.PaperRect();
    TBitmap page(paper.Width(), paper.Height());
    page.Canvas().CopyRect({0, 0, paper.Width(), paper.Height()}, preview.Canvas(), paper);
    if (png)
        SaveBitmapAsPng(page, name);
    else
        page.SaveToFile(name);
}

// ---- Entry points --------------------------------------------------------------------------------------------

void ShowChartPreview(QWidget* Owner, TCustomLumPanel* Chart)
{
    auto form = std::make_unique<TChartPreview>(Owner);
    TLumPreviewPanel& preview = *form->LumPreviewPanel1;
    preview.Panels().Clear();
    Chart->SetPrintMargins({0, 0, 0, 0});
    Chart->SetPrintProportional(true);
    preview.SetPanel(Chart);
    form->ShowModal();
    form.reset();
    Chart->Invalidate();
}

void ShowTwoChartPreview(QWidget* MainWindow, TCustomLumPanel* First, TCustomLumPanel* Second)
{
    First->SetPrintProportional(false);
    Second->SetPrintProportional(false);
    auto form = std::make_unique<TChartPreview>(MainWindow);
    form->SetCaption("Print preview");
    form->Panel2->hide();
    TLumPreviewPanel& preview = *form->LumPreviewPanel1;
    preview.Margins().SetVisible(false);
    preview.SetAsBitmap(false);
    preview.SetSmoothBitmap(false);
    First->SetPrintMargins({10, 5, 10, 60});
    preview.Panels().Add(First);
    Second->SetPrintMargins({10, 60, 10, 5});
    preview.Panels().Add(Second);
    First->Repaint();
    Second->Repaint();
    // Shown once without the modal loop, so that both charts have laid themselves out before the page
    // is drawn.
    form->show();
    First->Repaint();
    First->Repaint();
    Second->Repaint();
    Application->ProcessMessages();
    form->hide();
    form->ShowModal();
}
