// The native chart stream (".lum"): a whole chart, its series, tools and, when asked, their points, as a
// component stream behind a 4-byte header of its own, in a binary or a text form, and loading such a
// stream back into a chart; the series data exporters are in LumStoreData.h. Qt-free.
#pragma once

#include "chart/control/ChartControl.h"
#include "chart/control/LumStoreData.h"
#include "platform/rtl/PropertyStream.h"

#include <functional>
#include <string>

class TStream;

// Stream classes that older files name: charts that add nothing.
class TChartChart : public TChart {
    VSP_PERSISTENT_CLASS
public:
    explicit TChartChart(TComponent* AOwner) : TChart(AOwner) {}
};

class TODBCChart : public TChartChart {
    VSP_PERSISTENT_CLASS
public:
    explicit TODBCChart(TComponent* AOwner) : TChartChart(AOwner) {}
};

// Asked about each reading error a load can pass over: true goes on reading.
using TProcessChartError = std::function<bool(const std::string& Message)>;

// The component reader of chart streams: without a callback every error it may pass over is passed over.
class TChartReader : public TReader {
public:
    TChartReader(TStream& Stream, TProcessChartError OnChartError);
};

// The extension of native chart files, without the point.
inline constexpr const char* LumNativeExtension = "lum";

// True for a binary stream (first word 0x3060) or a text stream (first byte "O" or "o"); the position is
// kept.
bool IsChartStream(TStream& Stream);
bool IsBinaryChartStream(TStream& Stream);
// The bytes 60 30 57 01.
void WriteChartStreamHeader(TStream& Stream);
// Either form into the other; a stream that is already in the asked form is copied from its position.
// ChartException (the wrong-format message) for a stream that is no chart stream.
void ChartTextToBinary(TStream& Source, TStream& Destination);
void ChartBinaryToText(TStream& Source, TStream& Destination);

// Writes the chart with an empty name; IncludeData writes every series' points ("Data"), else none.
void SaveChartStream(TCustomChart& Chart, TStream& Stream, bool IncludeData = true, bool TextForm = false);
// The same into a file (AddChartFileExt), replaced only once the whole stream is written.
void SaveChartFile(TCustomChart& Chart, const std::string& FileName, bool IncludeData = true, bool TextForm = false);
// The name with ".lum" appended when it has no extension.
std::string AddChartFileExt(const std::string& FileName);

// Loads the stream into the chart: its series and tools are replaced by the stream's; the chart keeps its
// own name when it has one. ChartException with "Empty *.lum file", "Wrong *.lum file format" or
// "Invalid Chart in *.lum file" leaves the chart untouched. ReadData reads point blocks that follow the
// component stream, one per series. Automatic repainting comes back on every exit, and the chart repaints.
void LoadChartStream(TCustomChart*& Chart, TStream& Stream, bool ReadData = false, const TProcessChartError& OnError = {});
void LoadChartStreamWithData(TCustomChart*& Chart, TStream& Stream);
// One point block per series of the chart, in series order.
void ReadAllSeriesData(TStream& Stream, TCustomChart& Chart);

// Registers TChartChart and TODBCChart as stream classes, and unregisters them.
void LumStoreInitialization();
void LumStoreFinalization();
