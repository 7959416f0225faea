// Fuzz target of a series' stored blocks: the point data block "Data" and the marks' "Items" block.
// Input: one byte of options (bit 0: the Items block, else Data; bit 1: a horizontal series; bit 2: a
// series with an extra value list), then the block. What loads is written, loaded again and written
// again, and the two writings must agree; a refused block must leave the series without points.
#include "chart/engine/LumEngine.h"
#include "chart/engine/LumEngineSeriesStream.h"
#include "platform/rtl/Streams.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

class TFuzzSeries : public TChartSeries {
public:
    TFuzzSeries(bool horizontal, bool extra) : TChartSeries(nullptr)
    {
        if (horizontal) MakeXMandatory();
        if (extra) new TChartValueList(this, "Extra");
    }
};

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

void Check(bool ok)
{
    if (!ok) std::abort();
}

std::string LoadAndWriteData(TChartSeries& s, const std::string& block, bool& refused)
{
    TMemoryStream in = StreamOf(block);
    refused = false;
    try {
        s.LoadPointData(in);
    } catch (const ChartException&) {
        refused = true;
        Check(s.PointCount() == 0 && !s.InDataUpdate());
        return {};
    }
    TMemoryStream out;
    s.WritePointData(out);
    return Bytes(out);
}

std::string LoadAndWriteItems(TSeriesMarks& marks, const std::string& block, bool& refused)
{
    TMemoryStream in = StreamOf(block);
    refused = false;
    try {
        marks.ReadItems(in);
    } catch (const ChartException&) {
        refused = true;
        Check(marks.Items().Count() == 0);
        return {};
    }
    TMemoryStream out;
    marks.WriteItems(out);
    return Bytes(out);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const unsigned options = data[0];
    const std::string block(reinterpret_cast<const char*>(data + 1), size - 1);
    const bool horizontal = options & 2, extra = options & 4;
    TFuzzSeries first(horizontal, extra), second(horizontal, extra);
    bool refused = false;
    if (options & 1) {
        const std::string written = LoadAndWriteItems(first.Marks(), block, refused);
        if (refused) return 0;
        Check(LoadAndWriteItems(second.Marks(), written, refused) == written && !refused);
    } else {
        const std::string written = LoadAndWriteData(first, block, refused);
        if (refused) return 0;
        Check(LoadAndWriteData(second, written, refused) == written && !refused);
    }
    return 0;
}
