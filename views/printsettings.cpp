// The picture settings form and the scaled picture: fonts enlarged for the picture and given back on every
// way out, the picture's size from the scales and the plot's screen size, the size limits, and the print
// resolution written into the bitmap header.
#include "views/printsettings.h"

#include "chart/control/ChartControl.h"
#include "chart/control/ChartLegend.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEngineMarks.h"
#include "chart/engine/LumEngineSeries.h"
#include "core/Supermath2d.h"
#include "platform/controls/AnsiText.h"
#include "platform/controls/Application.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/ConfigPaths.h"
#include "platform/rtl/TextFile.h"
#include "views/AppDialogParts.h"
#include "views/PseudoSection2d.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <vector>

namespace {

const char* const ScaleFault = "The scale must be a number greater than 0.";
const char* const ResolutionFault = "The print resolution must be a number greater than 0.";

// Fonts enlarged for a picture; every one gets its exact former size back when this goes, whatever
// way the save ends.
class TEnlargedFonts {
public:
    explicit TEnlargedFonts(int increment) : FIncrement(increment) {}
    ~TEnlargedFonts()
    {
        for (auto it = FFonts.rbegin(); it != FFonts.rend(); ++it) it->first->SetSize(it->second);
    }
    TEnlargedFonts(const TEnlargedFonts&) = delete;
    TEnlargedFonts& operator=(const TEnlargedFonts&) = delete;

    void Enlarge(TLumFont& font)
    {
        FFonts.emplace_back(&font, font.Size());
        font.SetSize(std::max(1, font.Size() + FIncrement));
    }

private:
    int FIncrement;
    std::vector<std::pair<TLumFont*, int>> FFonts;
};

// The plot's length on screen along an axis, in pixels.
double PlotLength(const TChartAxis& axis)
{
    return std::fabs(double(axis.CalcPosValue(axis.Maximum())) - axis.CalcPosValue(axis.Minimum()));
}

void PutInt32(std::string& bytes, std::size_t at, std::int32_t v)
{
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
}

std::int32_t GetInt32(const std::string& bytes, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return static_cast<std::int32_t>(v);
}

} // namespace

Tprntset::Tprntset(QWidget* owner)
    : TForm(owner), Label1(new QLabel(AnsiToQString("Vertical scale           1:"))), Edit1(new QLineEdit("20")),
      Label2(new QLabel(AnsiToQString("Horizontal scale       1:"))), Edit2(new QLineEdit("50")),
      Label3(new QLabel("Print resolution")), Edit3(new QLineEdit("100")),
      Label4(new QLabel(AnsiToQString("Font size                  +"))), SpinEdit1(nullptr),
      CheckBox1(new QCheckBox("Automatic")), BitBtn1(new QPushButton("Ok"))
{
    SetCaption("Picture settings");
    setWindowFlag(Qt::Tool);
    SpinEdit1.SetName("SpinEdit1");
    SpinEdit1.SetValue(0);
    SpinEdit1.SetParentWidget(this);
    CheckBox1->setChecked(true);
    auto* grid = new QGridLayout(this);
    const std::pair<QLabel*, QWidget*> rows[] = {
        {Label1, Edit1}, {Label2, Edit2}, {Label3, Edit3}, {Label4, SpinEdit1.Widget()}};
    int row = 0;
    for (const auto& [label, field] : rows) {
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row++, 1);
    }
    grid->addWidget(CheckBox1, row++, 0, 1, 2);
    grid->setRowStretch(row++, 1);
    grid->addWidget(BitBtn1, row, 0, 1, 2, Qt::AlignHCenter);
    BitBtn1->setDefault(true);
    // Tab goes down the fields in their order (the spin edit, made first, would otherwise lead).
    QWidget* order[] = {Edit1, Edit2, Edit3, SpinEdit1.Widget(), CheckBox1, BitBtn1};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
    resize(258, 232);
    ConnectGuarded(BitBtn1, &QPushButton::clicked, this, [this](bool) { BitBtn1Click(); });
    OnShow = [this](TForm*) { FormShow(); };
    OnClose = [this](TForm*) { FormClose(); };
}

Tprntset::~Tprntset() = default;

// ---- The dialog ------------------------------------------------------------------------------------------

std::string Tprntset::SettingsFault() const
{
    for (const QLineEdit* scale : {Edit1, Edit2}) {
        const double v = StrToValue(EditText(*scale));
        if (v == MissingValue || !(v > 0) || !std::isfinite(v)) return ScaleFault;
    }
    const double r = StrToValue(EditText(*Edit3));
    if (r == MissingValue || !(r > 0) || !std::isfinite(r)) return ResolutionFault;
    return {};
}

void Tprntset::BitBtn1Click()
{
    const std::string fault = SettingsFault();
    if (!fault.empty()) {
        ShowMessage(fault);
        return;
    }
    SetModalResult(mrOk);
}

void Tprntset::FormShow()
{
    // Every opening starts in the first field, its text selected for typing over.
    Edit1->setFocus(Qt::TabFocusReason);
    Edit1->selectAll();
    FShownTexts[0] = EditText(*Edit1);
    FShownTexts[1] = EditText(*Edit2);
    FShownTexts[2] = EditText(*Edit3);
    FShownTexts[3] = SpinEdit1.Text();
    FShownAutomatic = CheckBox1->isChecked();
}

void Tprntset::FormClose()
{
    if (ModalResult() == mrOk) return;
    SetEditText(*Edit1, FShownTexts[0]);
    SetEditText(*Edit2, FShownTexts[1]);
    SetEditText(*Edit3, FShownTexts[2]);
    SpinEdit1.SetText(FShownTexts[3]);
    CheckBox1->setChecked(FShownAutomatic);
}

// ---- The picture -----------------------------------------------------------------------------------------

bool Tprntset::SaveModelPicture(const std::string& file, TCustomChart& chart)
{
    const std::string path = ChangeFileExt(file, ".bmp");
    if (CheckBox1->isChecked()) {
        try {
            chart.SaveBitmapFile(path);
        } catch (const Exception&) {
            return false;
        }
        return true;
    }
    if (const std::string fault = SettingsFault(); !fault.empty()) {
        ShowMessage(fault);
        return true;
    }
    const double verticalScale = StrToValue(EditText(*Edit1));
    const double horizontalScale = StrToValue(EditText(*Edit2));
    const double perCentimetre = StrToValue(EditText(*Edit3)) / 2.54;

    TEnlargedFonts fonts(SpinEdit1.Value());
    TChartAxis* axes[] = {&chart.LeftAxis(), &chart.TopAxis(), &chart.BottomAxis(), &chart.RightAxis()};
    for (TChartAxis* axis : axes) fonts.Enlarge(axis->LabelsFont());
    for (TChartAxis* axis : axes) fonts.Enlarge(axis->Title().Font());
    fonts.Enlarge(chart.Title().Font());
    fonts.Enlarge(chart.Legend().Font());
    Application->ProcessMessages();
    chart.Repaint();
    for (int i = 0; i < chart.CountSeries(); ++i) fonts.Enlarge(chart.SeriesAt(i)->Marks().Font());
    if (auto* section = dynamic_cast<TPseudoSection2d*>(&chart)) fonts.Enlarge(section->BarFont());

    const TChartAxis& bottom = chart.BottomAxis();
    const TChartAxis& left = chart.LeftAxis();
    const double w = (bottom.Maximum() - bottom.Minimum()) / horizontalScale * perCentimetre +
                     (chart.Width() - PlotLength(bottom));
    const double h = (left.Maximum() - left.Minimum()) / verticalScale * perCentimetre + (chart.Height() - PlotLength(left));
    const double width = std::max(1.0, std::nearbyint(w)), height = std::max(1.0, std::nearbyint(h));
    if (!(width <= MaxPictureSide) || !(height <= MaxPictureSide) || width * height > double(MaxPicturePixels)) {
        ShowMessage("The picture would be too large (" + FormatValue(std::nearbyint(w), 0, false) + " x " +
                    FormatValue(std::nearbyint(h), 0, false) + " pixels).");
        return true;
    }
    Application->ProcessMessages();
    try {
        const std::unique_ptr<TBitmap> picture =
            chart.RenderToBitmap(clWhite, {0, 0, static_cast<int>(width), static_cast<int>(height)}, pfDevice);
        std::vector<std::uint8_t> out;
        picture->SaveToBytes(out);
        std::string bytes(out.begin(), out.end());
        PatchResolution(bytes);
        return SaveFileSafely(path, bytes);
    } catch (const Exception&) {
        return false;
    }
}

void Tprntset::PatchResolution(std::string& bytes) const
{
    // File header (14 bytes), then the information header's size; 40 bytes: width, height, planes, bit
    // count, compression and image size come before the two resolutions.
    if (bytes.size() < 46 || GetInt32(bytes, 14) != 40) return;
    const double dpi = StrToValue(EditText(*Edit3));
    if (dpi == MissingValue || !(dpi > 0) || !(dpi * 39.37007874 < 2147483647.0)) return;
    const std::int32_t ppm = static_cast<std::int32_t>(std::nearbyint(dpi * 39.37007874));
    PutInt32(bytes, 38, ppm);
    PutInt32(bytes, 42, ppm);
}

bool Tprntset::SetBitmapResolution(const std::string& file)
{
    std::string bytes;
    if (!LoadFileBytes(file, bytes)) return false;
    PatchResolution(bytes);
    return SaveFileSafely(file, bytes);
}
