// Fuzz target of the native chart stream: any bytes loaded into a chart, in the binary or the text form,
// with an error callback that goes on, one that stops, or none, and with or without trailing point data.
// A load either succeeds or raises a read error or the chart's own exception; the chart then repaints,
// and what loaded is saved, loaded again and saved again with the same bytes.
// Input: one byte of options (bits 0-1: the callback, bit 2: trailing point data, bit 3: read as text
// after a conversion to the text form), then the stream.
#include "chart/control/Chart.h"
#include "chart/control/LumStore.h"
#include "fuzz/fuzz_chart_app.h"
#include "platform/rtl/PropertyStream.h"
#include "platform/rtl/Streams.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

std::string Bytes(TMemoryStream& s)
{
    return std::string(reinterpret_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.Size()));
}

TMemoryStream StreamOf(const std::string& bytes)
{
    TMemoryStream m;
    m.WriteBytes(bytes);
    m.SetPosition(0);
    return m;
}

// Loads the bytes into the chart; false when the load was refused.
bool Load(TChart& chart, const std::string& bytes, std::uint8_t options)
{
    TMemoryStream s = StreamOf(bytes);
    TCustomChart* p = &chart;
    TProcessChartError callback;
    if ((options & 3) == 1) callback = [](const std::string&) { return true; };
    if ((options & 3) == 2) callback = [](const std::string&) { return false; };
    try {
        LoadChartStream(p, s, (options & 4) != 0, callback);
    } catch (const EReadError&) {
        return false;
    } catch (const ChartException&) {
        return false;
    }
    Require(p == &chart && chart.AutoRepaint());
    return true;
}

std::string Saved(TChart& chart)
{
    TMemoryStream s;
    SaveChartStream(chart, s, true, false);
    return Bytes(s);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzapp::StartChartApplication();
    if (size < 1) return 0;
    const std::uint8_t options = data[0];
    std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (options & 8) {
        TMemoryStream in = StreamOf(bytes), text;
        try {
            ChartBinaryToText(in, text);
        } catch (const EReadError&) {
            return 0;
        } catch (const ChartException&) {
            return 0;
        }
        bytes = Bytes(text);
    }
    TChart chart(nullptr);
    chart.SetBufferedDisplay(false);
    if (!Load(chart, bytes, options)) return 0;
    const std::string first = Saved(chart);
    TChart again(nullptr);
    again.SetBufferedDisplay(false);
    Require(Load(again, first, 1));
    Require(Saved(again) == first);
    return 0;
}
