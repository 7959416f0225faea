// Fuzz target of the style strings. Input: one byte choosing the reader (its value modulo 8: brush,
// gradient, pen, shadow, font, axis without and axis with placement, series of a line or, with bit 3
// set, a point series), then the text. Object readers must never raise, and an object read from its own
// writing must write the same text again; axis and series readers may raise only the run time's
// exceptions, and the axis or series must write its string afterwards.
#include "chart/control/Chart.h"
#include "chart/control/LumEngineStyleStrings.h"
#include "chart/series/Series.h"
#include "chart/series/SeriesStyle.h"
#include "platform/controls/QtApplication.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

void Check(bool ok)
{
    if (!ok) std::abort();
}

// Reads, writes, reads the writing and writes again: the two writings agree once normalised by one
// round trip (a font's height follows its size only at 96 pixels per inch).
template <class Read, class Write>
void CheckObject(const std::string& text, Read&& read, Write&& write)
{
    try {
        const std::string first = write(*read(text));
        const std::string second = write(*read(first));
        Check(write(*read(second)) == second);
    } catch (...) {
        std::abort();
    }
}

bool FontAtNinetySix(const std::string& text) { return ReadFontStyle(text)->PixelsPerInch() == 96; }

// Making a chart costs far more than reading a style string into it: two charts are made once, and the
// working chart's axis is brought back to the untouched chart's after every input (checked through its
// style string, so that no input sees what an earlier one left); series are made per input.
struct TCharts {
    TChart Work{nullptr};
    TChart Untouched{nullptr};
    std::string UntouchedLeft = WriteAxisStyle(Untouched.LeftAxis());
};

TCharts& Charts()
{
    // Kept for the process's life: at exit the application has gone before static objects would.
    static TCharts* charts = new TCharts;
    return *charts;
}

void ReadAxis(const std::string& text, bool placement)
{
    TCharts& c = Charts();
    TChartAxis& axis = c.Work.LeftAxis();
    try {
        ReadAxisStyle(axis, text, placement);
    } catch (const Exception&) {
    }
    WriteAxisStyle(axis);
    // Assign leaves the program's own additions to the axis (decimals, rounding) to the style string.
    axis.Assign(c.Untouched.LeftAxis());
    ReadAxisStyle(axis, c.UntouchedLeft, true);
    Check(WriteAxisStyle(axis) == c.UntouchedLeft);
}

template <class T>
void ReadSeries(const std::string& text)
{
    T series(nullptr);
    series.SetParentChart(&Charts().Work);
    try {
        ReadSeriesStyle(&series, text);
    } catch (const Exception&) {
    }
    WriteSeriesStyle(&series);
    series.SetParentChart(nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool started = [] {
        // Fuzzing by hand runs without a display; the chart needs an application object all the same.
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        EnsureQtApplication();
        ChartInitialization();
        SeriesLibraryInitialization();
        return true;
    }();
    (void)started;
    if (size == 0) return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 8) {
    case 0: CheckObject(text, ReadBrushStyle, [](const TChartBrush& b) { return WriteBrushStyle(b); }); break;
    case 1: CheckObject(text, ReadGradientStyle, [](const TLumGradient& g) { return WriteGradientStyle(g); }); break;
    case 2: CheckObject(text, ReadPenStyle, [](const TChartPen& p) { return WritePenStyle(p); }); break;
    case 3: CheckObject(text, ReadShadowStyle, [](const TLumShadow& s) { return WriteShadowStyle(s); }); break;
    case 4:
        if (FontAtNinetySix(text))
            CheckObject(text, ReadFontStyle, [](const TLumFont& f) { return WriteFontStyle(f); });
        else
            WriteFontStyle(*ReadFontStyle(text));
        break;
    case 5: ReadAxis(text, false); break;
    case 6: ReadAxis(text, true); break;
    default:
        if (data[0] & 8)
            ReadSeries<TPointSeries>(text);
        else
            ReadSeries<TLineSeries>(text);
        break;
    }
    return 0;
}
