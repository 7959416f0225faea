// The print preview window driven through the prompter's form scripts: proportional margins with a printer,
// the margin fields and their reset, the detail slider, saving the page as BMP and PNG, choosing "PDF file",
// and the two-chart page shown and printed to a PDF file that is rasterised and probed.
#include "ChartTestSupport.h"
#include "PrinterTestSupport.h"

#include "chart/control/LumPrevi.h"
#include "platform/graphics/Printers.h"
#include "platform/rtl/PixelMath.h"

#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

fs::path TempDir()
{
    const fs::path dir = fs::temp_directory_path() / "vsp_print_preview";
    fs::create_directories(dir);
    return dir;
}

// A window picture for a look by eye, when VSP_PREVIEW_SHOTS names a folder.
void Shot(QWidget& window, const char* name)
{
    if (const char* dir = std::getenv("VSP_PREVIEW_SHOTS")) window.grab().save(QString::fromStdString((fs::path(dir) / name).string()));
}

struct TColoredChart {
    TChart Chart{nullptr};
    explicit TColoredChart(TColor Color)
    {
        Chart.SetBounds(0, 0, 400, 250);
        Chart.SetView3D(false);
        AddSeries(Chart, {1, 3, 2, 5, 4}).SetSeriesColor(Color);
    }
};

TChartPreview& Preview(TForm& form) { return dynamic_cast<TChartPreview&>(form); }

// Pixels of a colour inside and outside a rectangle of a canvas.
std::pair<int, int> CountIn(TCanvas& canvas, const TRect& area, TColor color, int width, int height)
{
    int in = 0, out = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (canvas.GetPixel(x, y) != color) continue;
            (x >= area.Left && x < area.Right && y >= area.Top && y < area.Bottom ? in : out) += 1;
        }
    return {in, out};
}

TEST(PrintPreview, ProportionalMarginsFieldsResetAndDetail)
{
    TPrinterScope printers;
    Printer()->SetOutputFileName((TempDir() / "unused.pdf").string());
    TColoredChart t(clRed);
    TPromptScript script;
    script.DriveForm([&](TForm& form) {
        TChartPreview& p = Preview(form);
        EXPECT_EQ(p.Caption(), "Vorn Print Preview");
        EXPECT_EQ(p.CBPrinters->currentText().toStdString(), PdfFileItem);
        EXPECT_EQ(Printer()->Orientation(), poLandscape) << "opening turns the printer to landscape";
        EXPECT_EQ(p.OrientationItems->checkedId(), 1);
        EXPECT_TRUE(p.BPrint->isEnabled());
        // The chart's zero margins became its proportional ones, shown in the fields.
        const TRect proportional = t.Chart.ProportionalMargins();
        EXPECT_EQ(t.Chart.PrintMargins(), proportional);
        EXPECT_NE(proportional, Rect(0, 0, 0, 0));
        EXPECT_TRUE(p.CBProp->isChecked());
        EXPECT_EQ(p.UDLeftMa->value(), proportional.Left);
        EXPECT_EQ(p.UDTopMa->value(), proportional.Top);
        EXPECT_EQ(p.UDRightMa->value(), proportional.Right);
        EXPECT_EQ(p.UDBotMa->value(), proportional.Bottom);
        EXPECT_FALSE(p.BReset->isEnabled());

        // Typing a margin: proportional off, "Reset &Margins" on; the reset returns.
        p.UDTopMa->setValue(proportional.Top + 5);
        EXPECT_EQ(t.Chart.PrintMargins().Top, proportional.Top + 5);
        EXPECT_FALSE(p.CBProp->isChecked());
        EXPECT_FALSE(t.Chart.PrintProportional());
        EXPECT_TRUE(p.BReset->isEnabled());
        p.BReset->click();
        EXPECT_EQ(t.Chart.PrintMargins(), proportional);
        EXPECT_EQ(p.UDTopMa->value(), proportional.Top);
        EXPECT_FALSE(p.BReset->isEnabled());

        // Top 60, then bottom 45: the bottom field goes back, the chart keeps its bottom.
        p.UDTopMa->setValue(60);
        p.UDBotMa->setValue(45);
        EXPECT_EQ(p.UDBotMa->value(), proportional.Bottom);
        EXPECT_EQ(t.Chart.PrintMargins().Top, 60);
        EXPECT_EQ(t.Chart.PrintMargins().Bottom, proportional.Bottom);

        // Proportional again: the proportional margins come back.
        p.CBProp->setChecked(true);
        EXPECT_TRUE(t.Chart.PrintProportional());
        EXPECT_EQ(t.Chart.PrintMargins(), proportional);

        // The slider runs from "More" (-100) to "Normal" (0).
        EXPECT_EQ(p.Resolution->value(), 100);
        p.Resolution->setValue(30);
        EXPECT_EQ(t.Chart.PrintResolution(), -70);
        Shot(p, "preview-one-chart.png");
        p.BClose->click();
    });
    ShowChartPreview(nullptr, &t.Chart);
    EXPECT_TRUE(script.Failures().empty()) << script.Failures().front();
    EXPECT_EQ(t.Chart.PrintResolution(), -70) << "the choices stay in the chart";
}

TEST(PrintPreview, SaveWritesThePageAsBmpAndAsPng)
{
    TPrinterScope printers;
    Printer()->SetOutputFileName((TempDir() / "unused.pdf").string());
    TColoredChart t(clRed);
    const fs::path bmp = TempDir() / "page.bmp", png = TempDir() / "page.png";
    fs::remove(bmp);
    fs::remove(png);
    TBitmap shown;
    TRect paper;
    TPromptScript script;
    script.DriveForm([&](TForm& form) {
        TChartPreview& p = Preview(form);
        p.Button1->click();  // BMP, under a name ending in ".png"
        paper = p.LumPreviewPanel1->PaperRect();
        shown.SetSize(paper.Width(), paper.Height());
        shown.Canvas().CopyRect({0, 0, paper.Width(), paper.Height()}, p.LumPreviewPanel1->Canvas(), paper);
        EXPECT_TRUE(fs::exists(bmp));
        fs::remove(png);
        p.Button1->click();  // PNG, under a name ending in ".bmp"
        p.BClose->click();
    });
    script.Expect(TPromptKind::SaveDialog, [&](TPrompt& q) {
        EXPECT_EQ(q.File->Filter, "Bitmap files|*.bmp|PNG files|*.png");
        q.File->FileName = png.string();
        q.File->FilterIndex = 1;
        q.Result = mrOk;
    });
    script.Expect(TPromptKind::SaveDialog, [&](TPrompt& q) {
        q.File->FileName = (TempDir() / "page2.bmp").string();
        q.File->FilterIndex = 2;
        q.Result = mrOk;
    });
    ShowChartPreview(nullptr, &t.Chart);
    ASSERT_TRUE(script.Failures().empty()) << script.Failures().front();

    // The BMP: the paper's size and the pixels shown, with the chart's red line on it.
    TBitmap saved;
    saved.LoadFromFile(bmp.string());
    ASSERT_EQ(saved.Width(), paper.Width());
    ASSERT_EQ(saved.Height(), paper.Height());
    int differ = 0, red = 0;
    for (int y = 0; y < saved.Height(); ++y)
        for (int x = 0; x < saved.Width(); ++x) {
            differ += saved.PixelRGB(x, y) != shown.PixelRGB(x, y);
            red += saved.PixelRGB(x, y) == clRed;
        }
    EXPECT_EQ(differ, 0);
    EXPECT_GT(red, 20);
    EXPECT_EQ(saved.PixelRGB(0, 0), clBlack) << "the paper's border";

    // The PNG: only the ".png" name, RGB at 16 bits per sample, the same pixels.
    const fs::path png2 = TempDir() / "page2.png";
    EXPECT_FALSE(fs::exists(TempDir() / "page2.bmp"));
    std::ifstream in(png2, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GT(bytes.size(), 26u);
    EXPECT_EQ(bytes[24], 16);
    EXPECT_EQ(bytes[25], 2);
    TPngImage image;
    image.LoadFromFile(png2.string());
    ASSERT_EQ(image.Width(), paper.Width());
    ASSERT_EQ(image.Height(), paper.Height());
    differ = 0;
    for (int y = 0; y < saved.Height(); ++y)
        for (int x = 0; x < saved.Width(); ++x) differ += image.Bitmap().PixelRGB(x, y) != saved.PixelRGB(x, y);
    EXPECT_EQ(differ, 0);
}

// A PPM picture (P6, 8 bits) as pdftoppm writes it.
struct TPpm {
    int Width = 0, Height = 0;
    std::vector<std::uint8_t> Rgb;
    TColor At(int x, int y) const
    {
        const std::size_t i = (std::size_t(y) * Width + x) * 3;
        return TColor(Rgb[i] | (Rgb[i + 1] << 8) | (Rgb[i + 2] << 16));
    }
};

TPpm ReadPpm(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    TPpm p;
    in >> magic >> p.Width >> p.Height >> maxValue;
    in.get();
    EXPECT_EQ(magic, "P6");
    p.Rgb.resize(std::size_t(p.Width) * p.Height * 3);
    in.read(reinterpret_cast<char*>(p.Rgb.data()), std::streamsize(p.Rgb.size()));
    return p;
}

bool Reddish(TColor c) { return (c & 0xFF) > 180 && ((c >> 8) & 0xFF) < 90 && ((c >> 16) & 0xFF) < 90; }
bool Bluish(TColor c) { return ((c >> 16) & 0xFF) > 180 && (c & 0xFF) < 90 && ((c >> 8) & 0xFF) < 90; }

// Without a printer the PDF file is the printer from the start: chosen, landscape, Print enabled; Print
// asks for the file's name once, and choosing "PDF file" again turns the page back to landscape.
TEST(PrintPreview, WithoutPrintersThePdfFileIsThePrinter)
{
    TPrinterScope printers;
    TColoredChart t(clRed);
    const fs::path pdf = TempDir() / "chosen.pdf";
    fs::remove(pdf);
    TPromptScript script;
    script.DriveForm([&](TForm& form) {
        TChartPreview& p = Preview(form);
        ASSERT_EQ(p.CBPrinters->count(), 1);
        EXPECT_EQ(p.CBPrinters->currentIndex(), 0);
        EXPECT_TRUE(p.BPrint->isEnabled());
        EXPECT_TRUE(p.BSetupPrinter->isEnabled());
        EXPECT_TRUE(p.Orientation->isEnabled());
        EXPECT_EQ(Printer()->Orientation(), poLandscape);
        EXPECT_EQ(p.OrientationItems->checkedId(), 1);
        p.LumPreviewPanel1->DrawClientArea();
        const TRect paper = p.LumPreviewPanel1->PaperRect();
        EXPECT_GT(paper.Width(), paper.Height()) << "the page of the PDF file, in landscape";
        EXPECT_NE(t.Chart.PrintMargins(), Rect(0, 0, 0, 0)) << "proportional margins on the file's page";

        // Portrait chosen; Print asks for the file, and a cancelled dialog prints nothing.
        p.OrientationItems->button(0)->click();
        EXPECT_EQ(Printer()->Orientation(), poPortrait);
        p.BPrint->click();
        EXPECT_FALSE(fs::exists(pdf));
        // "PDF file" chosen in the box: cancelled, nothing changes; confirmed, landscape again.
        for (int attempt = 0; attempt < 2; ++attempt) {
            p.CBPrinters->setCurrentIndex(0);
            p.CBPrintersChange();
        }
        EXPECT_EQ(Printer()->OutputFileName(), pdf.string());
        EXPECT_EQ(Printer()->Orientation(), poLandscape);
        EXPECT_EQ(p.OrientationItems->checkedId(), 1);
        // Named once, the file is printed without another question.
        p.BPrint->click();
        p.BClose->click();
    });
    script.Expect(TPromptKind::SaveDialog, [&](TPrompt& q) {
        EXPECT_EQ(q.File->Filter, "PDF files|*.pdf");
        q.Result = mrCancel;
    });
    script.Expect(TPromptKind::SaveDialog, [&](TPrompt& q) { q.Result = mrCancel; });
    script.Expect(TPromptKind::SaveDialog, [&](TPrompt& q) {
        q.File->FileName = pdf.string();
        q.Result = mrOk;
    });
    ShowChartPreview(nullptr, &t.Chart);
    ASSERT_TRUE(script.Failures().empty()) << script.Failures().front();
    ASSERT_TRUE(fs::exists(pdf));
    // One page, wider than high.
    const fs::path out = TempDir() / "chosen";
    fs::remove(TempDir() / "chosen-1.ppm");
    const std::string command = "pdftoppm -r 20 '" + pdf.string() + "' '" + out.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const TPpm page = ReadPpm(TempDir() / "chosen-1.ppm");
    EXPECT_GT(page.Width, page.Height);
}

TEST(PrintPreview, TwoChartsShownAndPrintedInTheirBands)
{
    TPrinterScope printers;
    const fs::path pdf = TempDir() / "both.pdf";
    fs::remove(pdf);
    Printer()->SetOutputFileName(pdf.string());
    TColoredChart first(clRed), second(clBlue);
    first.Chart.SetPrintProportional(true);
    TPromptScript script;
    script.DriveForm([&](TForm& form) {
        TChartPreview& p = Preview(form);
        EXPECT_EQ(p.Caption(), "Print preview");
        EXPECT_TRUE(p.Panel2->isHidden());
        EXPECT_FALSE(p.LumPreviewPanel1->Margins().Visible());
        EXPECT_EQ(p.LumPreviewPanel1->Panel(), &first.Chart);
        TLumPreviewPanel& preview = *p.LumPreviewPanel1;
        preview.DrawClientArea();
        const int w = preview.Width(), h = preview.Height();
        // Bands of the paper: 5 % to 40 % and 60 % to 95 % of its height.
        const TRect paper = preview.PaperRect();
        EXPECT_EQ(first.Chart.PreviewRect().Top, paper.Top + MulDiv(5, paper.Height(), 100));
        EXPECT_EQ(second.Chart.PreviewRect().Bottom, paper.Bottom - MulDiv(5, paper.Height(), 100));
        const auto [redIn, redOut] = CountIn(preview.Canvas(), first.Chart.PreviewRect(), clRed, w, h);
        const auto [blueIn, blueOut] = CountIn(preview.Canvas(), second.Chart.PreviewRect(), clBlue, w, h);
        EXPECT_GT(redIn, 20);
        EXPECT_EQ(redOut, 0);
        EXPECT_GT(blueIn, 20);
        EXPECT_EQ(blueOut, 0);
        Shot(p, "preview-two-charts.png");
        p.BPrint->click();
        p.BClose->click();
    });
    ShowTwoChartPreview(nullptr, &first.Chart, &second.Chart);
    ASSERT_TRUE(script.Failures().empty()) << script.Failures().front();
    EXPECT_FALSE(first.Chart.PrintProportional());
    ASSERT_TRUE(fs::exists(pdf));

    // One landscape A4 page, rasterised at 40 dpi.
    const fs::path out = TempDir() / "both";
    for (const char* page : {"both-1.ppm", "both-2.ppm"}) fs::remove(TempDir() / page);
    const std::string command = "pdftoppm -r 40 '" + pdf.string() + "' '" + out.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_FALSE(fs::exists(TempDir() / "both-2.ppm")) << "one page";
    const TPpm page = ReadPpm(TempDir() / "both-1.ppm");
    EXPECT_NEAR(page.Width, 297 * 40 / 25.4, 2);
    EXPECT_NEAR(page.Height, 210 * 40 / 25.4, 2);
    int redTop = 0, redBottom = 0, blueTop = 0, blueBottom = 0;
    for (int y = 0; y < page.Height; ++y)
        for (int x = 0; x < page.Width; ++x) {
            const TColor c = page.At(x, y);
            const bool top = y < page.Height / 2;
            redTop += top && Reddish(c);
            redBottom += !top && Reddish(c);
            blueTop += top && Bluish(c);
            blueBottom += !top && Bluish(c);
        }
    EXPECT_GT(redTop, 10);
    EXPECT_EQ(redBottom, 0);
    EXPECT_GT(blueBottom, 10);
    EXPECT_EQ(blueTop, 0);
}

} // namespace
