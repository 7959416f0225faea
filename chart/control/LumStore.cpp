// The native chart stream: header, the two forms and their conversion, saving a chart with or without
// its points and loading a stream back into a chart.
#include "chart/control/LumStore.h"

#include "chart/engine/LumEngineSeries.h"
#include "chart/engine/LumEngineSeriesStream.h"
#include "chart/engine/LumEngineTools.h"
#include "platform/graphics/ColorIdents.h"
#include "platform/rtl/Streams.h"

#include <algorithm>
#include <memory>

// ---- Classes ---------------------------------------------------------------------------------------------

const TClassInfo& TChartChart::StaticClassInfo()
{
    static const TClassInfo info(
        {.Name = "TChartChart", .Parent = &TChart::StaticClassInfo(), .Create = &CreateComponentOf<TChartChart>});
    return info;
}

const TClassInfo& TODBCChart::StaticClassInfo()
{
    static const TClassInfo info(
        {.Name = "TODBCChart", .Parent = &TChartChart::StaticClassInfo(), .Create = &CreateComponentOf<TODBCChart>});
    return info;
}

namespace {

// Colours with a name go out as their identifiers, as the class library writes them.
TComponentRecordCodec ChartCodec()
{
    TComponentRecordCodec c;
    c.ColourIdent = [](std::int64_t colour) {
        std::string ident;
        return ColorToIdent(static_cast<TColor>(colour), ident) ? ident : std::string();
    };
    c.IdentColour = [](const std::string& ident, std::int64_t& colour) {
        TColor value = 0;
        if (!IdentToColor(ident, value)) return false;
        colour = value;
        return true;
    };
    return c;
}

constexpr std::uint16_t HeaderMagic = 0x3060;
constexpr std::uint16_t HeaderVersion = 343;

std::string ExtensionMessage(const char* Start, const char* End)
{
    return std::string(Start) + LumNativeExtension + End;
}

[[noreturn]] void WrongFormat() { throw ChartException(ExtensionMessage("Wrong *.", " file format")); }

// The first bytes of the stream without moving it.
std::string Peek(TStream& Stream, int Count)
{
    const std::int64_t at = Stream.Position();
    std::string bytes(static_cast<std::size_t>(Count), '\0');
    const std::int64_t got = Stream.Read(bytes.data(), Count);
    Stream.SetPosition(at);
    bytes.resize(static_cast<std::size_t>(std::max<std::int64_t>(got, 0)));
    return bytes;
}

// What remains of the source from its position.
void CopyRest(TStream& Source, TStream& Destination)
{
    const std::int64_t rest = Source.Size() - Source.Position();
    if (rest > 0) Destination.CopyFrom(Source, rest);
}

// Sets the series' data flags for the time of a write and clears them on every exit.
class TDataFlags {
public:
    TDataFlags(TCustomChart& Chart, bool IncludeData) : FChart(Chart)
    {
        for (int i = 0; i < Chart.CountSeries(); ++i) {
            Chart.SeriesAt(i)->SetForceStoreData(IncludeData);
            Chart.SeriesAt(i)->SetNeverStoreData(!IncludeData);
        }
    }
    ~TDataFlags()
    {
        for (int i = 0; i < FChart.CountSeries(); ++i) {
            FChart.SeriesAt(i)->SetForceStoreData(false);
            FChart.SeriesAt(i)->SetNeverStoreData(false);
        }
    }
    TDataFlags(const TDataFlags&) = delete;
    TDataFlags& operator=(const TDataFlags&) = delete;

private:
    TCustomChart& FChart;
};

// Gives the chart back its name (and its repainting) however the work ends.
class TNameKeeper {
public:
    TNameKeeper(TComponent& Component, bool Clear) : FComponent(Component), FName(Component.Name())
    {
        if (Clear) FComponent.SetName("");
    }
    ~TNameKeeper()
    {
        if (!FName.empty() && FComponent.Name() != FName) {
            try {
                FComponent.SetName(FName);
            } catch (const Exception&) {
                // The name was the component's own a moment ago; nothing else can hold it.
            }
        }
    }
    TNameKeeper(const TNameKeeper&) = delete;
    TNameKeeper& operator=(const TNameKeeper&) = delete;

private:
    TComponent& FComponent;
    std::string FName;
};

} // namespace

TChartReader::TChartReader(TStream& Stream, TProcessChartError OnChartError) : TReader(Stream, ChartCodec())
{
    OnError = [callback = std::move(OnChartError)](const std::string& Message) { return callback ? callback(Message) : true; };
}

// ---- Header and forms ------------------------------------------------------------------------------------

bool IsBinaryChartStream(TStream& Stream)
{
    const std::string head = Peek(Stream, 2);
    return head.size() == 2 && static_cast<unsigned char>(head[0]) == (HeaderMagic & 0xFF) &&
           static_cast<unsigned char>(head[1]) == HeaderMagic >> 8;
}

bool IsChartStream(TStream& Stream)
{
    if (IsBinaryChartStream(Stream)) return true;
    const std::string head = Peek(Stream, 1);
    return head == "O" || head == "o";
}

void WriteChartStreamHeader(TStream& Stream)
{
    Stream.WriteWord(HeaderMagic);
    Stream.WriteWord(HeaderVersion);
}

void ChartTextToBinary(TStream& Source, TStream& Destination)
{
    if (!IsChartStream(Source)) WrongFormat();
    if (IsBinaryChartStream(Source)) {
        CopyRest(Source, Destination);
        return;
    }
    WriteChartStreamHeader(Destination);
    ObjectTextToBinary(Source, Destination);
}

void ChartBinaryToText(TStream& Source, TStream& Destination)
{
    if (!IsChartStream(Source)) WrongFormat();
    if (!IsBinaryChartStream(Source)) {
        CopyRest(Source, Destination);
        return;
    }
    Source.Seek(4, soCurrent);
    ObjectBinaryToText(Source, Destination);
}

// ---- Saving ----------------------------------------------------------------------------------------------

void SaveChartStream(TCustomChart& Chart, TStream& Stream, bool IncludeData, bool TextForm)
{
    TMemoryStream binary;
    TStream& target = TextForm ? binary : Stream;
    WriteChartStreamHeader(target);
    {
        const TNameKeeper name(Chart, !Chart.ComponentState().Contains(csDesigning));
        const TDataFlags flags(Chart, IncludeData);
        TWriter(target, ChartCodec()).WriteRootComponent(Chart);
    }
    if (TextForm) {
        binary.SetPosition(0);
        ChartBinaryToText(binary, Stream);
    }
}

std::string AddChartFileExt(const std::string& FileName)
{
    const std::size_t slash = FileName.find_last_of('/');
    const std::size_t dot = FileName.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return hasExtension ? FileName : FileName + "." + LumNativeExtension;
}

void SaveChartFile(TCustomChart& Chart, const std::string& FileName, bool IncludeData, bool TextForm)
{
    TMemoryStream stream;
    SaveChartStream(Chart, stream, IncludeData, TextForm);
    stream.SaveToFile(AddChartFileExt(FileName));
}

// ---- Loading ---------------------------------------------------------------------------------------------

void ReadAllSeriesData(TStream& Stream, TCustomChart& Chart)
{
    for (int i = 0; i < Chart.CountSeries(); ++i) LoadSeriesPointData(*Chart.SeriesAt(i), Stream);
}

namespace {

// Repainting off for the time of a load; on again, and a repaint asked, on every exit.
class TLoadRepaint {
public:
    explicit TLoadRepaint(TCustomChart& Chart) : FChart(Chart) { FChart.SetAutoRepaint(false); }
    ~TLoadRepaint()
    {
        FChart.SetAutoRepaint(true);
        FChart.Invalidate();
    }
    TLoadRepaint(const TLoadRepaint&) = delete;
    TLoadRepaint& operator=(const TLoadRepaint&) = delete;

private:
    TCustomChart& FChart;
};

} // namespace

void LoadChartStream(TCustomChart*& Chart, TStream& Stream, bool ReadData, const TProcessChartError& OnError)
{
    if (Stream.Size() - Stream.Position() <= 0) throw ChartException(ExtensionMessage("Empty *.", " file"));
    if (!IsChartStream(Stream)) WrongFormat();
    if (!Chart) throw ChartException(ExtensionMessage("Invalid Chart in *.", " file"));
    TCustomChart& chart = *Chart;
    const TLoadRepaint repaint(chart);
    while (chart.CountSeries() > 0) chart.SeriesAt(chart.CountSeries() - 1)->Free();
    chart.Tools().Clear();

    std::unique_ptr<TMemoryStream> binary;
    TStream* source = &Stream;
    if (!IsBinaryChartStream(Stream)) {
        binary = std::make_unique<TMemoryStream>();
        ChartTextToBinary(Stream, *binary);
        binary->SetPosition(0);
        source = binary.get();
    }
    source->Seek(4, soCurrent);
    {
        const TNameKeeper name(chart, false);
        TChartReader reader(*source, OnError);
        reader.ReadRootComponent(chart);
    }
    if (ReadData && source->Position() < source->Size()) ReadAllSeriesData(*source, chart);
}

void LoadChartStreamWithData(TCustomChart*& Chart, TStream& Stream) { LoadChartStream(Chart, Stream, true, {}); }

// ---- Start-up --------------------------------------------------------------------------------------------

void LumStoreInitialization()
{
    RegisterClass(TChartChart::StaticClassInfo());
    RegisterClass(TODBCChart::StaticClassInfo());
}

void LumStoreFinalization()
{
    UnRegisterClass(TODBCChart::StaticClassInfo());
    UnRegisterClass(TChartChart::StaticClassInfo());
}
