// The point data block "Data" of a series: its column flags, the writer, and a reader that checks every
// field against the bytes the block holds before it changes the series; the other stream properties of
// a series (source names, custom axes).
#include "chart/engine/LumEngineSeriesStream.h"

#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEngineAxisList.h"
#include "chart/engine/LumEngineMarks.h"
#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEngineSeries.h"
#include "platform/rtl/Streams.h"

#include <algorithm>
#include <string>

// ---- Flags -----------------------------------------------------------------------------------------------

namespace {

// Points 0..Limit (and no further than the last) are looked at.
int TestedCount(int Count, int Limit) { return std::min(Limit, Count - 1) + 1; }

bool NeedsNonMandatoryValues(const TChartSeries& Series)
{
    const int n = Series.PointCount();
    if (!Series.KeepsOwnValues() || n == 0) return false;
    const TChartValueList& other = Series.OtherValues();
    if (other.FirstValue() != 0 || other.LastValue() != n - 1) return true;
    const int tested = TestedCount(n, 10000);
    for (int i = 0; i < tested; ++i)
        if (other.ValueAt(i) != i) return true;
    return false;
}

bool HasOwnPointColors(const TChartSeries& Series)
{
    if (!Series.HasColorList()) return false;
    const int tested = TestedCount(Series.PointCount(), 10000);
    for (int i = 0; i < tested; ++i) {
        const TColor c = Series.StoredPointColor(i);
        if (c != clDefault && c != Series.SeriesColor()) return true;
    }
    return false;
}

bool HasStoredLabels(const TChartSeries& Series)
{
    if (Series.Labels().Count() == 0) return false;
    const int tested = TestedCount(Series.PointCount(), 100);
    for (int i = 0; i < tested; ++i)
        if (!Series.Labels().LabelText(i).empty()) return true;
    return false;
}

} // namespace

std::uint8_t PointDataFlags(const TChartSeries& Series)
{
    std::uint8_t flags = 0;
    if (NeedsNonMandatoryValues(Series)) flags |= pdOtherValues;
    if (HasOwnPointColors(Series)) flags |= pdColors;
    if (HasStoredLabels(Series)) flags |= pdLabels;
    if (Series.Marks().Positions().HasCustomPositions()) flags |= pdMarkPositions;
    return flags;
}

// ---- Writing ---------------------------------------------------------------------------------------------

namespace {

void WriteMarkPosition(TStream& Stream, const TSeriesMarkPosition* P)
{
    if (!P) {
        const std::string zeros(MarkPositionRecordSize, '\0');
        Stream.WriteBytes(zeros);
        return;
    }
    Stream.WriteInt32(P->ArrowFrom.x);
    Stream.WriteInt32(P->ArrowFrom.y);
    Stream.WriteByte(P->ArrowFix ? 1 : 0);
    Stream.WriteInt32(P->ArrowTo.x);
    Stream.WriteInt32(P->ArrowTo.y);
    Stream.WriteByte(P->Custom ? 1 : 0);
    Stream.WriteInt32(P->Height);
    Stream.WriteInt32(P->LeftTop.x);
    Stream.WriteInt32(P->LeftTop.y);
    Stream.WriteInt32(P->Width);
}

} // namespace

void WriteSeriesPointData(const TChartSeries& Series, TStream& Stream)
{
    const std::uint8_t flags = PointDataFlags(Series);
    const int n = Series.PointCount();
    const TChartValueLists& lists = Series.ValueLists();
    Stream.WriteByte(flags);
    Stream.WriteInt32(n);
    for (int i = 0; i < n; ++i) {
        if (flags & pdOtherValues) Stream.WriteDouble(Series.OtherValues().ValueAt(i));
        Stream.WriteDouble(Series.MandatoryValues().ValueAt(i));
        if (flags & pdColors) Stream.WriteInt32(static_cast<std::int32_t>(Series.StoredPointColor(i)));
        if (flags & pdLabels) {
            std::string label = Series.Labels().LabelText(i);
            if (label.size() > MaxStoredLabelLength) label.resize(MaxStoredLabelLength);
            Stream.WriteByte(static_cast<std::uint8_t>(label.size()));
            Stream.WriteBytes(label);
        }
        for (int k = 2; k < lists.Count(); ++k) Stream.WriteDouble(lists.ListAt(k)->ValueAt(i));
        if (flags & pdMarkPositions) WriteMarkPosition(Stream, Series.Marks().Positions().PositionAt(i));
    }
}

// ---- Reading ---------------------------------------------------------------------------------------------

namespace {

// One point as the block holds it, X and Y already in place.
struct TStoredPoint {
    double X = 0;
    double Y = 0;
    TColor Color = clDefault;
    std::string Label;
    std::vector<double> Extras;
    bool HasPosition = false;
    TSeriesMarkPosition Position;
};

// Reads from the block with every read checked against the bytes left, so that a block cut short or
// announcing more than it holds is refused before anything is stored.
class TBlockReader {
public:
    explicit TBlockReader(TStream& Stream) : FStream(Stream) {}

    std::int64_t BytesLeft() { return std::max<std::int64_t>(0, FStream.Size() - FStream.Position()); }
    void Need(std::int64_t Bytes, const char* What)
    {
        if (Bytes > BytesLeft())
            throw ChartException(std::string("Series data block is too short: ") + What + " runs past its end");
    }
    std::uint8_t Byte(const char* What)
    {
        Need(1, What);
        return FStream.ReadByte();
    }
    std::int32_t Int32(const char* What)
    {
        Need(4, What);
        return FStream.ReadInt32();
    }
    double Double(const char* What)
    {
        Need(8, What);
        return FStream.ReadDouble();
    }
    std::string Bytes(int Count, const char* What)
    {
        Need(Count, What);
        return FStream.ReadBytes(Count);
    }

private:
    TStream& FStream;
};

TSeriesMarkPosition ReadMarkPosition(TBlockReader& R)
{
    R.Need(MarkPositionRecordSize, "a mark position");
    TSeriesMarkPosition p;
    p.ArrowFrom.x = R.Int32("a mark position");
    p.ArrowFrom.y = R.Int32("a mark position");
    p.ArrowFix = R.Byte("a mark position") != 0;
    p.ArrowTo.x = R.Int32("a mark position");
    p.ArrowTo.y = R.Int32("a mark position");
    p.Custom = R.Byte("a mark position") != 0;
    p.Height = R.Int32("a mark position");
    p.LeftTop.x = R.Int32("a mark position");
    p.LeftTop.y = R.Int32("a mark position");
    p.Width = R.Int32("a mark position");
    return p;
}

// The smallest record a point of these flags takes (labels at their shortest, one length byte).
std::int64_t SmallestRecord(std::uint8_t Flags, int ExtraLists)
{
    std::int64_t size = 8 + 8LL * ExtraLists;
    if (Flags & pdOtherValues) size += 8;
    if (Flags & pdColors) size += 4;
    if (Flags & pdLabels) size += 1;
    if (Flags & pdMarkPositions) size += MarkPositionRecordSize;
    return size;
}

std::vector<TStoredPoint> ReadStoredPoints(TBlockReader& R, bool XMandatory, int ExtraLists)
{
    const std::uint8_t flags = R.Byte("the flags");
    const std::int32_t count = R.Int32("the point count");
    if (count < 0) throw ChartException("Series data block has a negative point count (" + std::to_string(count) + ")");
    if (count * SmallestRecord(flags, ExtraLists) > R.BytesLeft())
        throw ChartException("Series data block is too short for its " + std::to_string(count) + " points");
    std::vector<TStoredPoint> points(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        TStoredPoint& p = points[static_cast<std::size_t>(i)];
        double a = (flags & pdOtherValues) ? R.Double("a value") : i;
        double b = R.Double("a value");
        if (XMandatory) std::swap(a, b);
        p.X = a;
        p.Y = b;
        if (flags & pdColors) p.Color = static_cast<TColor>(R.Int32("a colour"));
        if (flags & pdLabels) p.Label = R.Bytes(R.Byte("a label"), "a label");
        p.Extras.resize(static_cast<std::size_t>(ExtraLists));
        for (double& e : p.Extras) e = R.Double("a value");
        if (flags & pdMarkPositions) {
            p.Position = ReadMarkPosition(R);
            p.HasPosition = true;
        }
    }
    return points;
}

void InsertStoredPoints(TChartSeries& Series, const std::vector<TStoredPoint>& Points)
{
    const TChartValueLists& lists = Series.ValueLists();
    for (const TStoredPoint& p : Points) {
        for (int k = 2; k < lists.Count(); ++k) lists.ListAt(k)->PendingValue = p.Extras[static_cast<std::size_t>(k - 2)];
        Series.InsertPoint(p.X, p.Y, p.Label, p.Color);
        if (!p.HasPosition) continue;
        TSeriesMarksPositions& positions = Series.Marks().Positions();
        positions.Ensure(positions.Count()) = p.Position;
    }
}

} // namespace

void LoadSeriesPointData(TChartSeries& Series, TStream& Stream)
{
    Series.ClearPoints();
    TBlockReader reader(Stream);
    const bool xMandatory = !Series.YMandatory();
    const int extraLists = std::max(0, Series.ValueLists().Count() - 2);
    const std::vector<TStoredPoint> points = ReadStoredPoints(reader, xMandatory, extraLists);
    Series.BeginDataUpdate();
    try {
        InsertStoredPoints(Series, points);
    } catch (...) {
        Series.ResetPointStorage();
        Series.EndDataUpdate();
        throw;
    }
    Series.EndDataUpdate();
    Series.SetDataLoaded(true);
}

// ---- Stream properties -----------------------------------------------------------------------------------

namespace {

std::string JoinLines(const std::vector<std::string>& Names)
{
    std::string text;
    for (const std::string& n : Names) {
        if (!text.empty()) text += '\n';
        text += n;
    }
    return text;
}

std::vector<std::string> SplitNameLines(const std::string& Text)
{
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= Text.size()) {
        const std::size_t end = std::min(Text.find('\n', start), Text.size());
        if (end > start) names.push_back(Text.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

std::string DataSourceNames(const TChartSeries& Series)
{
    std::vector<std::string> names;
    for (int i = 0; i < Series.DataSources().Count(); ++i) names.push_back(Series.DataSources().Items(i)->Name());
    return JoinLines(names);
}

int CustomAxisIndex(const TChartSeries& Series, const TChartAxis* Axis)
{
    if (!Axis || !Series.ParentChart()) return -1;
    return Series.ParentChart()->CustomAxes().IndexOf(Axis);
}

TChartAxis* CustomAxisOf(const TChartSeries& Series, std::int64_t Index)
{
    if (!Series.ParentChart() || Index < 0 || Index >= Series.ParentChart()->CustomAxes().Count()) return nullptr;
    return &Series.ParentChart()->CustomAxes().CustomAxisAt(static_cast<int>(Index));
}

} // namespace

std::vector<TDefinedProperty> SeriesDefinedProperties()
{
    using P = TProps<TChartSeries>;
    return {
        P::DefinedValue(
            "DataSources", TPropKind::Text,
            [](TChartSeries& s, const TPropValue& v) { s.ReadDataSourceNames(SplitNameLines(std::get<std::string>(v))); },
            [](const TChartSeries& s) -> TPropValue { return DataSourceNames(s); },
            [](const TChartSeries& s) { return s.DataSources().Count() > 1; }),
        P::DefinedValue(
            "CustomHorizAxis", TPropKind::Integer,
            [](TChartSeries& s, const TPropValue& v) { s.BindCustomHorizAxis(CustomAxisOf(s, std::get<std::int64_t>(v))); },
            [](const TChartSeries& s) -> TPropValue { return std::int64_t{CustomAxisIndex(s, s.CustomHorizAxis())}; },
            [](const TChartSeries& s) { return CustomAxisIndex(s, s.CustomHorizAxis()) >= 0; }),
        P::DefinedValue(
            "CustomVertAxis", TPropKind::Integer,
            [](TChartSeries& s, const TPropValue& v) { s.BindCustomVertAxis(CustomAxisOf(s, std::get<std::int64_t>(v))); },
            [](const TChartSeries& s) -> TPropValue { return std::int64_t{CustomAxisIndex(s, s.CustomVertAxis())}; },
            [](const TChartSeries& s) { return CustomAxisIndex(s, s.CustomVertAxis()) >= 0; }),
        P::DefinedBinary(
            "Data", [](TChartSeries& s, TStream& stream) { s.LoadPointData(stream); },
            [](const TChartSeries& s, TStream& stream) { const_cast<TChartSeries&>(s).WritePointData(stream); },
            [](const TChartSeries& s) { return s.ForceStoreData() || (s.DataLoaded() && !s.NeverStoreData()); }),
    };
}
