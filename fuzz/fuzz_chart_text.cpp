// Fuzz target of the chart's HTML-tag text: laid out, measured and drawn on the recording canvas in a font
// chosen by the input, where measuring and drawing must agree and the canvas keeps its font; then as the
// title, a point's mark, an axis title and a legend item of a chart of a width chosen by the input, drawn.
// Input: a byte of font size, a byte of font styles and face, a byte of the chart's width, then the text.
#include "chart/base/LumCanvasGdi.h"
#include "chart/base/LumHtml.h"
#include "chart/control/Chart.h"
#include "chart/control/ChartRegistry.h"
#include "chart/series/Series.h"
#include "chart/series/SeriesLibrary.h"
#include "fuzz/fuzz_chart_app.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/RecordingBackend.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace {

const char* const Faces[] = {"Arial", "Courier New", "Times New Roman", ""};

// A chart with one series of three points whose marks and legend show HTML-tag text, made once (a chart
// takes long to make); every input gives it its texts again.
struct TTextChart {
    std::shared_ptr<TRecordingBackend> Recorder = std::make_shared<TRecordingBackend>(600, 400);
    TCanvas Device{Recorder};
    TChart Chart{nullptr};
    TLineSeries* Series = new TLineSeries(&Chart);

    TTextChart()
    {
        Chart.SetView3D(false);
        Chart.SetBufferedDisplay(false);
        Chart.Title().SetTextFormat(ttfHtml);
        Chart.Legend().SetTextFormat(ttfHtml);
        Chart.LeftAxis().Title().SetTextFormat(ttfHtml);
        Series->Marks().SetTextFormat(ttfHtml);
        Series->Marks().SetVisible(true);
        Series->SetParentChart(&Chart);
    }

    void Draw(const std::string& text, int width)
    {
        Chart.Title().SetTextLine(&text);
        Chart.LeftAxis().Title().SetCaption(text);
        Series->ClearPoints();
        for (int i = 0; i < 3; ++i) Series->InsertPoint(i, i * i, text);
        Series->SetTitle(text);
        Chart.SetBounds(0, 0, width, 200);
        Recorder->Clear();
        Chart.DrawOnCanvas(Device, {0, 0, width, 200});
    }
};

TTextChart& Chart()
{
    // Kept for the process's life: at exit the application has gone before static objects would.
    static TTextChart* chart = new TTextChart;
    return *chart;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzapp::StartChartApplication();
    if (size < 3) return 0;
    const int points = 1 + data[0] % 48;
    const unsigned look = data[1];
    const int width = 40 + data[2] * 2;
    const std::string text(reinterpret_cast<const char*>(data) + 3, size - 3);

    // The layout alone, in the chosen font: measured, then laid out without and with drawing at one place.
    auto recorder = std::make_shared<TRecordingBackend>(400, 300);
    TCanvas device(recorder);
    TLumCanvas3D canvas;
    canvas.ChangeBufferedDisplay(false);
    canvas.SetupView(&device, nullptr, clWhite, false, {0, 0, 400, 300});
    TFont& font = canvas.Font();
    font.SetSize(points);
    TFontStyles styles;
    for (TFontStyle s : {fsBold, fsItalic, fsUnderline, fsStrikeOut})
        if (look & (1u << s)) styles.Include(s);
    font.SetStyle(styles);
    font.SetName(Faces[(look >> 4) % 4]);
    const int x = 3 + (look >> 6), y = 7;
    TSize measured, laidOut, drawn;
    MeasureHtmlText(canvas, text, measured);
    HtmlTextLayout(canvas, x, y, laidOut, false, text);
    HtmlTextLayout(canvas, x, y, drawn, true, text);
    Require(laidOut.cx == drawn.cx && laidOut.cy == drawn.cy);
    Require(canvas.Font().Size() == points && canvas.Font().Style() == styles);

    Chart().Draw(text, width);
    return 0;
}
