// The brush dialog: choosing a style or a pattern bitmap, the colour, an optional picture with its
// preview, giving the brush back when the dialog closes without OK, and drawing the style samples.
#include "chart/base/LumBrushDlgForm.h"

#include "chart/base/LumBrushDlg.h"
#include "chart/base/LumBrushDlgEditor.h"
#include "chart/base/LumCanvas.h"
#include "chart/base/LumConst.h"
#include "chart/base/LumPenDlgForm.h"
#include "chart/base/RadErareServices.h"
#include "platform/controls/AnsiText.h"
#include "platform/controls/Application.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int NoneItem = 1;

std::vector<std::string> StyleItems()
{
    std::vector<std::string> items = {"Solid", "None", "Horizontal", "Vertical", "Diagonal", "Back Diagonal", "Cross",
                                      "Diagonal Cross"};
    items.resize(BrushStyleItemCount); // the pattern bitmaps have no names
    return items;
}

QImage ImageOfGraphic(const TGraphic& graphic)
{
    const TPixelBuffer px = graphic.ToPixels();
    QImage image(px.Width, px.Height, QImage::Format_RGB32);
    for (int y = 0; y < px.Height; ++y)
        for (int x = 0; x < px.Width; ++x) image.setPixel(x, y, 0xFF000000u | px.At(x, y));
    return image;
}

} // namespace

TBrushDialog::TBrushDialog(QWidget* Owner, TChartBrush& Brush)
    : TForm(Owner), LStyle(nullptr), BColor(nullptr), Button2(new QPushButton("OK")), Button3(new QPushButton("Cancel")),
      GroupImage(new QGroupBox("Image:")), Button1(new QPushButton(AnsiToQString("&Image..."))), Image1(new QLabel),
      FBrush(Brush)
{
    SetCaption("Pattern Color Editor");
    LStyle.SetStyle(lbOwnerDrawFixed);
    LStyle.SetItemHeight(16);
    LStyle.SetItems(StyleItems());
    LStyle.SetBounds(0, 0, 160, 200);
    LStyle.SetParentWidget(this);
    LStyle.OnDrawItem = [this](TPersistent*, int index, TRect rect, TOwnerDrawState state) {
        DrawStyleItem(index, rect, state);
    };
    LStyle.OnClick = [this](TPersistent*) { StyleClicked(); };
    BColor.SetCaption("&Color...");
    BColor.SetParentWidget(this);
    Image1->setScaledContents(true); // stretched
    Image1->setFixedSize(64, 64);
    QObject::connect(Button1, &QPushButton::clicked, this, [this] { Application->Guarded([this] { ImageClicked(); }); });
    Button2->setDefault(true);
    SetButtonModalResult(Button2, mrOk);
    SetButtonModalResult(Button3, mrCancel);

    auto* imageLayout = new QVBoxLayout(GroupImage);
    imageLayout->addWidget(Button1);
    imageLayout->addWidget(Image1);
    auto* grid = new QGridLayout(this);
    grid->addWidget(LStyle.Widget(), 0, 0, 4, 1);
    grid->addWidget(BColor.Widget(), 0, 1);
    grid->addWidget(GroupImage, 1, 1);
    grid->addWidget(Button2, 2, 1);
    grid->addWidget(Button3, 3, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    OnShow = [this](TForm*) { FormShow(); };
    OnClose = [this](TForm*) { FormClose(); };
}

TBrushDialog::~TBrushDialog() = default;

bool TBrushDialog::HasPicture() const { return FBrush.HasImage() && FBrush.Image().HasGraphic(); }

void TBrushDialog::FormShow()
{
    FBackup = std::make_unique<TChartBrush>();
    FBackup->Assign(FBrush);
    const int style = FBrush.StyleNumber();
    LStyle.SetItemIndex(HasPicture() || style < 0 || style >= BrushStyleItemCount ? -1 : style);
    BColor.LinkProperty(&FBrush, "Color");
    ShowBrushImage();
    EnableColorButton();
}

void TBrushDialog::FormClose()
{
    if (ModalResult() != mrOk && FBackup) FBrush.Assign(*FBackup);
    FBackup.reset();
}

void TBrushDialog::StyleClicked()
{
    const int index = LStyle.ItemIndex();
    if (index < 0) return;
    FBrush.SetStyleNumber(index);
    if (index < FirstPatternBrushStyle) {
        FBrush.SetImage(nullptr);
    } else {
        TBitmap pattern;
        LoadPatternBitmap(index - FirstPatternBrushStyle, pattern);
        FBrush.Image().SetGraphic(&pattern);
    }
    ShowBrushImage();
    EnableColorButton();
}

void TBrushDialog::ImageClicked()
{
    const int style = FBrush.StyleNumber();
    LStyle.SetItemIndex(style < BrushStyleItemCount ? style : -1);
    if (HasPicture()) {
        FBrush.SetImage(nullptr);
    } else {
        const std::string file = AskPictureFileName(nullptr);
        if (!file.empty()) {
            TPicture loaded;
            loaded.LoadFromFile(file); // an unreadable file raises here; the brush keeps its picture
            if (!dynamic_cast<TBitmap*>(loaded.Graphic())) {
                TBitmap bitmap(loaded.Width(), loaded.Height());
                bitmap.Canvas().Draw(0, 0, *loaded.Graphic());
                loaded.SetGraphic(&bitmap);
            }
            FBrush.SetImage(&loaded);
        }
    }
    ShowBrushImage();
}

void TBrushDialog::ShowBrushImage()
{
    if (HasPicture()) {
        Button1->setText(AnsiToQString(LumConst::ClearImage));
        Image1->setPixmap(QPixmap::fromImage(ImageOfGraphic(*FBrush.Image().Graphic())));
    } else {
        Button1->setText(AnsiToQString(LumConst::BrowseImage));
        Image1->clear();
    }
}

void TBrushDialog::EnableColorButton() { BColor.SetEnabled(FBrush.StyleNumber() != NoneItem); }

void TBrushDialog::DrawStyleItem(int Index, TRect Rect, TOwnerDrawState State)
{
    TCanvas& c = LStyle.Canvas();
    const bool selected = State.Contains(odSelected);
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(selected ? clHighlight : LStyle.Color());
    c.FillRect(Rect);
    int textLeft = Rect.Left + 20;
    if (Index != NoneItem) {
        // The sample: the style in black on white, a pattern bitmap for the patterns.
        const TRect box{Rect.Left + 2, Rect.Top + 2, Rect.Left + 16, Rect.Bottom - 2};
        textLeft = box.Left + 20;
        TBitmap pattern;
        if (Index >= FirstPatternBrushStyle) {
            LoadPatternBitmap(Index - FirstPatternBrushStyle, pattern);
            c.Brush().SetBitmap(&pattern);
        } else {
            c.Brush().SetColor(clBlack);
            c.Brush().SetStyle(static_cast<TBrushStyle>(Index));
        }
        // After the brush, which sets the background by its own rule.
        const TColor savedText = c.GetTextColor();
        c.SetTextColor(clBlack);
        c.SetBkColor(clWhite);
        c.SetBkMode(OPAQUE);
        c.FillRect(box);
        c.Brush().SetBitmap(nullptr);
        c.SetTextColor(savedText);
    }
    if (Index < 0 || Index >= LStyle.Count()) return;
    c.Brush().SetStyle(bsClear);
    c.Font().SetColor(selected ? clHighlightText : clWindowText);
    c.TextOut(textLeft, Rect.Top + 1, LStyle.Item(Index));
}

bool ShowBrushEditorModal(TWinControl* Control, TChartBrush& Brush)
{
    std::unique_ptr<TBrushDialog> dialog = CreateEditorDialog<TBrushDialog>(Control, Brush);
    TranslateFormControls(dialog.get());
    return dialog->ShowModal() == mrOk;
}
