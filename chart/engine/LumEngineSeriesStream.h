// The stream properties of a series beside its published ones: the names of its data sources, the custom
// axes it is bound to, and the binary point data block "Data" (values, colours, labels and user-placed
// mark positions of every point), with the flags byte that says which columns the block carries.
#pragma once

#include "chart/engine/LumEngineTypes.h"
#include "platform/rtl/TypInfo.h"

#include <cstdint>
#include <vector>

class TStream;

// Flags of the point data block.
enum : std::uint8_t {
    pdOtherValues = 1, // the non-mandatory values
    pdColors = 2,      // an explicit colour per point
    pdLabels = 4,      // a label per point
    pdMarkPositions = 8 // a mark position per point
};

// Bytes of one stored mark position: arrow start x, y, keep flag, arrow end x, y, custom flag, height,
// left-top x, y, width.
inline constexpr int MarkPositionRecordSize = 34;
// Longest label a record holds (its length is one byte).
inline constexpr int MaxStoredLabelLength = 255;

// The columns a series' point data needs, tested on the first points: non-mandatory values that are not
// 0, 1, 2, ...; explicit colours other than the series colour; labels; user-placed mark positions.
std::uint8_t PointDataFlags(const TChartSeries& Series);

// The block: the flags byte, the int32 point count, then per point (little-endian) the other value
// (flag 1), the mandatory value, the colour (flag 2), the label as a length byte and its characters
// (flag 4, cut to 255 bytes), one double per extra value list, and the 34-byte mark position (flag 8;
// zeros for a point without a stored position).
void WriteSeriesPointData(const TChartSeries& Series, TStream& Stream);
// Replaces the series' points by those of a block. Every count, label and record is checked against the
// bytes left first: a block that cannot hold what it announces raises ChartException and leaves the
// series without points. Loaded points set the data-loaded flag.
void LoadSeriesPointData(TChartSeries& Series, TStream& Stream);

// "DataSources" (more than one source), "CustomHorizAxis", "CustomVertAxis" and "Data", for the series'
// class description.
std::vector<TDefinedProperty> SeriesDefinedProperties();
