// The printer: the "no printer" report, and printing to a PDF file whose pages and page sizes are read
// back from the file.
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Printers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include <unistd.h>

namespace {

struct PdfPages {
    int Count = 0;
    std::vector<std::pair<double, double>> Sizes;  // media box width and height in points, per page
};

// Reads the page objects of a PDF file: "/Type /Page" (not "/Pages") and their media boxes.
PdfPages ReadPdfPages(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string pdf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    PdfPages pages;
    EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u) << "not a PDF file";
    const std::regex page(R"(/Type\s*/Page[^s])");
    pages.Count = static_cast<int>(std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()));
    const std::regex box(R"(/MediaBox\s*\[\s*([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s*\])");
    for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), box); it != std::sregex_iterator(); ++it)
        pages.Sizes.emplace_back(std::stod((*it)[3]) - std::stod((*it)[1]), std::stod((*it)[4]) - std::stod((*it)[2]));
    return pages;
}

struct PrinterTest : ::testing::Test {
    void SetUp() override
    {
        TPrinter::SetPlatformPrintersHidden(true);
        Printer()->Reset();
        File = std::filesystem::temp_directory_path() / ("vsp_printer_" + std::to_string(::getpid()) + ".pdf");
    }
    void TearDown() override
    {
        Printer()->Reset();
        TPrinter::SetPlatformPrintersHidden(false);
        std::filesystem::remove(File);
    }
    std::filesystem::path File;
};

TEST_F(PrinterTest, WithoutPrinterEveryPageQuestionRaisesTheNoPrinterError)
{
    TPrinter& p = *Printer();
    EXPECT_FALSE(p.HasPrinter());
    EXPECT_TRUE(p.Printers().empty());
    const auto expectNoPrinter = [](auto&& call) {
        try {
            call();
            ADD_FAILURE() << "no exception";
        } catch (const EPrinter& e) {
            EXPECT_EQ(e.Message(), "There is no default printer currently selected");
        }
    };
    expectNoPrinter([&] { (void)p.PageWidth(); });
    expectNoPrinter([&] { (void)p.PageHeight(); });
    expectNoPrinter([&] { (void)p.DpiX(); });
    expectNoPrinter([&] { p.BeginDoc(); });
    expectNoPrinter([&] { (void)p.Canvas(); });
    EXPECT_FALSE(p.Printing());
    EXPECT_THROW(p.SetPrinterIndex(0), EPrinter);
}

TEST_F(PrinterTest, PrintsPagesToAPdfFile)
{
    TPrinter& p = *Printer();
    p.SetOutputFileName(File.string());
    p.SetTitle("Chart");
    ASSERT_TRUE(p.HasPrinter());
    const int w = p.PageWidth(), h = p.PageHeight(), dpi = p.DpiX();
    // A4 less the margins, at the file's resolution: about 8.3 x 11.7 inches.
    EXPECT_GT(w, 7 * dpi);
    EXPECT_LT(w, 8.3 * dpi);
    EXPECT_GT(h, 10 * dpi);
    EXPECT_LT(h, 11.7 * dpi);
    EXPECT_THROW(p.NewPage(), EPrinter);
    p.BeginDoc();
    EXPECT_TRUE(p.Printing());
    TCanvas& c = p.Canvas();
    EXPECT_EQ(c.GetDeviceCaps(HORZRES), w);
    EXPECT_EQ(c.GetDeviceCaps(LOGPIXELSX), dpi);
    EXPECT_EQ(c.GetDeviceCaps(TECHNOLOGY), DT_RASPRINTER);
    c.Brush().SetColor(0x0000FF);
    c.Rectangle(100, 100, w / 2, h / 3);
    c.Font().SetHeight(-dpi / 4);
    c.TextOut(100, h / 2, "Page one");
    p.NewPage();
    EXPECT_EQ(p.PageNumber(), 2);
    p.Canvas().MoveTo(0, 0);
    p.Canvas().LineTo(w, h);
    p.EndDoc();
    EXPECT_FALSE(p.Printing());
    EXPECT_THROW(p.Canvas(), EPrinter);

    const PdfPages pages = ReadPdfPages(File);
    EXPECT_EQ(pages.Count, 2);
    ASSERT_EQ(pages.Sizes.size(), 2u);
    for (const auto& [pw, ph] : pages.Sizes) {
        EXPECT_NEAR(pw, 595.3, 1.0);  // A4 portrait in points
        EXPECT_NEAR(ph, 841.9, 1.0);
    }
}

TEST_F(PrinterTest, LandscapeSwapsThePageAndAbortLeavesNoFile)
{
    TPrinter& p = *Printer();
    p.SetOutputFileName(File.string());
    p.SetOrientation(poLandscape);
    EXPECT_GT(p.PageWidth(), p.PageHeight());
    p.BeginDoc();
    p.Canvas().Rectangle(10, 10, 200, 200);
    p.EndDoc();
    const PdfPages pages = ReadPdfPages(File);
    EXPECT_EQ(pages.Count, 1);
    ASSERT_EQ(pages.Sizes.size(), 1u);
    EXPECT_NEAR(pages.Sizes[0].first, 841.9, 1.0);
    EXPECT_NEAR(pages.Sizes[0].second, 595.3, 1.0);

    std::filesystem::remove(File);
    p.BeginDoc();
    p.Canvas().Rectangle(10, 10, 200, 200);
    p.Abort();
    EXPECT_TRUE(p.Aborted());
    EXPECT_FALSE(p.Printing());
    EXPECT_FALSE(std::filesystem::exists(File));
}

// File output chosen before its name: the page is laid out as the file's (landscape too), a document
// cannot begin until the name is given, and an empty name goes back to "no printer".
TEST_F(PrinterTest, FileOutputLaysThePageOutBeforeTheFileIsNamed)
{
    TPrinter& p = *Printer();
    p.SelectFileOutput();
    ASSERT_TRUE(p.HasPrinter());
    EXPECT_TRUE(p.OutputFileName().empty());
    p.SetOrientation(poLandscape);
    EXPECT_GT(p.PageWidth(), p.PageHeight());
    EXPECT_THROW(p.BeginDoc(), EPrinter);
    EXPECT_FALSE(p.Printing());
    p.SetOutputFileName(File.string());
    EXPECT_TRUE(p.FileOutput());
    p.BeginDoc();
    p.Canvas().Rectangle(10, 10, 200, 200);
    p.EndDoc();
    const PdfPages pages = ReadPdfPages(File);
    ASSERT_EQ(pages.Sizes.size(), 1u);
    EXPECT_NEAR(pages.Sizes[0].first, 841.9, 1.0);
    p.SetOutputFileName("");
    EXPECT_FALSE(p.FileOutput());
    EXPECT_FALSE(p.HasPrinter());
}

} // namespace
