// Series marks at work: the text of a mark, measuring and placing the marks of the visible points,
// drawing one mark (connector, box, symbol, text), hit tests, overlap avoidance, the callout and symbol
// of the marks, and the "Items" stream of per-point mark shapes.
#include "chart/engine/LumEngineMarks.h"

#include "chart/base/LumConst.h"
#include "chart/base/LumHtml.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEngineSeries.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/PixelMath.h"
#include "platform/rtl/PropertyStream.h"
#include "platform/rtl/Streams.h"

#include <algorithm>
#include <cmath>

namespace {

// The lines of a multi-line text (split at character 13).
std::vector<std::string> SplitMarkLines(const std::string& Text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = Text.find('\r', start);
        lines.push_back(Text.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

// Marks every n-th point; a DrawEvery below 1 marks every point.
int EveryNth(int DrawEvery) { return std::max(1, DrawEvery); }

bool RectsMeet(const TRect& A, const TRect& B)
{
    return std::max(A.Left, B.Left) < std::min(A.Right, B.Right) && std::max(A.Top, B.Top) < std::min(A.Bottom, B.Bottom);
}

} // namespace

// ---- Mark text -------------------------------------------------------------------------------------------

std::string TChartSeries::PercentText(int Index, bool WithTotal) const
{
    const double total = MandatoryValues().SumOfAbsValues();
    const double share = total == 0 ? 100.0 : std::fabs(MandatoryValueAt(Index)) * 100 / total;
    const std::string percent = FormatFloat(PercentFormat(), share);
    if (!WithTotal) return percent;
    std::string text = Marks().MultiLine() ? "%s\rof %s" : "%s of %s";
    const std::string totalText = FormatFloat(ValueFormat(), total);
    text.replace(text.find("%s"), 2, percent);
    text.replace(text.find("%s"), 2, totalText);
    return text;
}

namespace {

// The item's own lines joined by CR LF, one trailing CR LF left out.
bool ItemText(TSeriesMarks& Marks, int Index, std::string& Text)
{
    if (Index < 0 || Index >= Marks.Items().Count()) return false;
    TMarksItem& item = Marks.Items().ItemAt(Index);
    if (!item.HasText()) return false;
    Text.clear();
    const TStringList& lines = item.Text();
    for (int i = 0; i < lines.Count(); ++i) Text += lines.Strings(i) + "\r\n";
    if (Text.size() >= 2) Text.resize(Text.size() - 2);
    return true;
}

} // namespace

std::string TChartSeries::ComposeMarkText(int Index) const
{
    TSeriesMarks& marks = Marks();
    std::string text;
    if (!ItemText(marks, Index, text)) {
        const std::string sep = marks.MultiLine() ? "\r" : " ";
        auto value = [&] { return FormatFloat(ValueFormat(), DisplayValueAt(Index)); };
        auto label = [&] { return PointLabel(Index); };
        auto xText = [&] {
            const double x = OtherValues().ValueAt(Index);
            return GetHorizAxis() ? GetHorizAxis()->FormatLabelValue(x) : FormatFloat(ValueFormat(), x);
        };
        switch (marks.Style()) {
        case smsValue: text = value(); break;
        case smsPercent: text = PercentText(Index, false); break;
        case smsLabel: text = label(); break;
        case smsLabelPercent: text = label() + sep + PercentText(Index, false); break;
        case smsLabelValue: text = label() + sep + value(); break;
        case smsLegend:
            if (ParentChart()) ParentChart()->LegendItemText(const_cast<TChartSeries*>(this), Index, text);
            if (!marks.MultiLine()) std::replace(text.begin(), text.end(), '\x06', ' ');
            break;
        case smsPercentTotal: text = PercentText(Index, true); break;
        case smsLabelPercentTotal: text = label() + sep + PercentText(Index, true); break;
        case smsXValue: text = xText(); break;
        case smsXY: text = xText() + sep + value(); break;
        }
    }
    if (text == " ") text.clear();
    if (OnGetMarkText) OnGetMarkText(const_cast<TChartSeries*>(this), Index, text);
    return text;
}

// ---- Measuring and placing -------------------------------------------------------------------------------

namespace {

// The chart's font zoom for marks in a 3-D view drawn through the device canvas.
void ApplyTextZoom(TCustomAxisPanel& Chart, TCanvas3D& Canvas)
{
    const TView3DOptions& view = Chart.View3DOptions();
    if (!Chart.View3D() || Canvas.SupportsTextAtDepth() || !view.ZoomText() || view.Zoom() == 100) return;
    TFont& font = Canvas.Font();
    font.SetSize(std::max(1, PixelFromReal(font.Size() * (view.Zoom() / 100.0))));
}

// The box a mark text needs on the canvas with the shape's font and frame pen.
TSize MarkBoxSize(TCustomAxisPanel& Chart, TLumCustomShape& Shape, TSeriesMarksSymbol* Symbol, const std::string& Text)
{
    TCanvas3D& canvas = Chart.ChartCanvas();
    TSize size;
    if (Shape.TextFormat() == ttfHtml) {
        MeasureHtmlText(canvas, Text, size);
    } else {
        int lines = 0;
        size.cx = Chart.MeasureMultiLineText(Text, lines);
        size.cy = lines * canvas.CharHeight();
    }
    std::int64_t cx = std::int64_t(size.cx) + canvas.MeasureTextWidth("W");
    if (Symbol && Symbol->IsShown()) cx += canvas.CharHeight() - 4;
    canvas.SelectPen(Shape.Pen());
    const std::int64_t frame = Shape.Pen().Visible() ? 2 * std::int64_t(Shape.Pen().Width()) : 1;
    return {WithinReach(cx + frame), WithinReach(std::int64_t(size.cy) + frame)};
}

} // namespace

void TChartSeries::PaintMarks()
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    TSeriesMarks& marks = Marks();
    TCanvas3D& canvas = chart->ChartCanvas();
    const int every = EveryNth(marks.DrawEvery());
    TSeriesMarkPosition position;
    for (int i = std::max(0, FirstVisible()); i <= LastVisible(); ++i) {
        if (i % every != 0) continue;
        if (OnBeforeMark) OnBeforeMark(this, i);
        const std::string text = ComposeMarkText(i);
        TLumCustomShape& shape = marks.ShapeForPoint(i);
        if (text.empty() || !shape.Visible()) continue;
        canvas.SelectFont(shape.Font());
        ApplyTextZoom(*chart, canvas);
        const TSize size = MarkBoxSize(*chart, shape, marks.SymbolIfAny(), text);
        position = TSeriesMarkPosition{};
        position.ArrowTo = {WithinReach(ScreenXOf(i)), WithinReach(ScreenYOf(i))};
        position.ArrowFrom = position.ArrowTo;
        position.Width = size.cx;
        position.Height = size.cy;
        position.LeftTop = {position.ArrowTo.x - size.cx / 2, position.ArrowTo.y - size.cy + 1};
        if (TSeriesMarksSymbol* symbol = marks.SymbolIfAny()) {
            const int h = canvas.CharHeight();
            const TPoint lt = position.LeftTop;
            symbol->SetShapeRect({lt.x + 2, lt.y + 2, lt.x + 2 + h, lt.y + 2 + h});
        }
        PaintMark(i, text, position);
    }
}

void TChartSeries::PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position)
{
    Marks().PaintMarkAt(Index, PointColor(Index), Position, Text);
}

int TChartSeries::WidestMarkText()
{
    int widest = 0;
    for (int i = 0; i < PointCount(); ++i)
        if (Marks().ShapeForPoint(i).Visible()) widest = std::max(widest, Marks().MarkTextWidth(i));
    return widest;
}

// ---- Callout and symbol ----------------------------------------------------------------------------------

TMarksCallout& TSeriesMarks::Callout()
{
    if (!FCallout) {
        FCallout = std::make_unique<TMarksCallout>(FSeries);
        FCallout->SetParentPanel(ParentChart());
    }
    return *FCallout;
}

void TSeriesMarks::SetCallout(const TMarksCallout* Value)
{
    if (!Value)
        FCallout.reset();
    else
        Callout().Assign(*Value);
    RepaintParent();
}

TSeriesMarksSymbol& TSeriesMarks::Symbol()
{
    if (!FSymbol) FSymbol = std::make_unique<TSeriesMarksSymbol>(ParentChart());
    return *FSymbol;
}

void TSeriesMarks::SetSymbol(const TSeriesMarksSymbol* Value)
{
    if (!Value)
        FSymbol.reset();
    else
        Symbol().Assign(*Value);
    RepaintParent();
}

void TSeriesMarks::SetParentPanel(TCustomLumPanel* Panel)
{
    TLumCustomShape::SetParentPanel(Panel);
    if (FCallout) FCallout->SetParentPanel(Panel);
    if (FSymbol) FSymbol->SetParentPanel(Panel);
}

void TSeriesMarks::DrawMarkCallout(TSeriesMarkPosition& Position) const
{
    if (FCallout) FCallout->ApplyToPosition(Position);
}

// ---- One mark --------------------------------------------------------------------------------------------

void TSeriesMarks::ApplyStoredPosition(int Index, TSeriesMarkPosition& Position)
{
    TSeriesMarkPosition& stored = FPositions.Ensure(Index);
    if (!stored.Custom) {
        stored.CopyFrom(Position);
        return;
    }
    const TPoint computedStart = Position.ArrowFrom;
    Position.CopyFrom(stored);
    if (Position.ArrowFix) Position.ArrowFrom = computedStart;
}

TPoint TSeriesMarks::ProjectLeftTop(TPoint ArrowTo, TPoint LeftTop) const
{
    TCustomLumPanel* chart = ParentChart();
    if (!chart || !chart->View3D() || chart->ChartCanvas().HasOwnRenderer()) return LeftTop;
    const TPoint p = chart->ChartCanvas().ProjectXYZ(ArrowTo.x, ArrowTo.y, FZPosition);
    using L = std::int64_t;
    return {WithinReach(L(LeftTop.x) + p.x - ArrowTo.x), WithinReach(L(LeftTop.y) + p.y - ArrowTo.y)};
}

void TSeriesMarks::PaintMarkAt(int Index, TColor Color, TSeriesMarkPosition& Position, const std::string& Text)
{
    TCustomLumPanel* chart = ParentChart();
    if (!chart) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    ApplyStoredPosition(Index, Position);
    TLumCustomShape& shape = ShapeForPoint(Index);
    if (FCallout && (FCallout->Visible() || FCallout->Arrow().Visible()))
        FCallout->PaintConnector(Color, Position.ArrowFrom, FZPosition, Position.ArrowTo);
    if (shape.Transparent()) {
        canvas.Brush().SetStyle(bsClear);
        canvas.WriteBackMode(TRANSPARENT);
    } else {
        canvas.SelectBrush(shape.Brush(), shape.Color());
    }
    canvas.SelectPen(shape.Pen());
    const TPoint lt = ProjectLeftTop(Position.ArrowTo, Position.LeftTop);
    const TRect box{lt.x, lt.y, lt.x + Position.Width, lt.y + Position.Height};
    shape.DrawShapeRect(box, FAngle % 360, FZPosition + 1);
    int textShift = 2;
    if (FSymbol && FSymbol->IsShown()) {
        const int h = canvas.CharHeight();
        FSymbol->SetColor(FSeries ? FSeries->PointColor(Index) : Color);
        FSymbol->SetTransparent(false);
        const TRect bounds{box.Left + 4, box.Top + 3, box.Left + h - 1, box.Top + h - 2};
        FSymbol->SetShapeRect(bounds);
        FSymbol->DrawShapeRect(bounds, FAngle % 360, FZPosition + 1);
        textShift += FSymbol->BoundsWidth() + 4;
    }
    canvas.Brush().SetStyle(bsClear);
    canvas.WriteBackMode(TRANSPARENT);
    canvas.WriteTextAlign(TA_CENTER);
    DrawMarkText({box.Left + textShift, box.Top, box.Right + textShift, box.Bottom}, Text);
}

void TSeriesMarks::DrawMarkText(const TRect& Rect, const std::string& Text)
{
    TCustomLumPanel* chart = ParentChart();
    if (!chart) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    const int cx = static_cast<int>((std::int64_t(Rect.Left) + Rect.Right) / 2);
    const int cy = static_cast<int>((std::int64_t(Rect.Top) + Rect.Bottom) / 2);
    if (TextFormat() == ttfHtml) {
        canvas.WriteTextOrHtml(cx, Rect.Top, Text, true);
        return;
    }
    const bool atDepth = canvas.SupportsTextAtDepth();
    const int h = canvas.CharHeight();
    const std::vector<std::string> lines = SplitMarkLines(Text);
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const int offset = static_cast<int>(k) * h;
        int x = cx;
        int y = Rect.Top + offset;
        if (FAngle == 0) {
            if (Pen().Visible()) y += std::clamp(Pen().Width(), 0, DrawingReach);
            if (atDepth)
                canvas.WriteTextAtZ(x, y, FZPosition, lines[k]);
            else
                canvas.WriteText(x, y, lines[k]);
            continue;
        }
        const double a = FAngle * M_PI / 180;
        const double c = offset + cy - Rect.Bottom;
        x = cx + static_cast<int>(std::nearbyint(std::sin(a) * c)) + (FAngle == 90 ? 1 : 0);
        y = cy + static_cast<int>(std::nearbyint(std::cos(a) * c));
        if (atDepth)
            canvas.WriteRotatedTextAtZ(x, y, FZPosition, lines[k], FAngle);
        else
            canvas.WriteRotatedText(x, y, lines[k], FAngle);
    }
}

// ---- Hit tests and overlap -------------------------------------------------------------------------------

int TSeriesMarks::MarkAtPoint(int X, int Y) const
{
    const int every = EveryNth(FDrawEvery);
    for (int i = FPositions.Count() - 1; i >= 0; --i) {
        const TSeriesMarkPosition* p = FPositions.PositionAt(i);
        if (i % every != 0 || !p) continue;
        const TPoint lt = ProjectLeftTop(p->ArrowTo, p->LeftTop);
        if (RectContainsXY({lt.x, lt.y, lt.x + p->Width, lt.y + p->Height}, X, Y)) return i;
    }
    return -1;
}

int TSeriesMarks::MarkTextWidth(int Index) const
{
    TCustomLumPanel* chart = ParentChart();
    if (!chart || !FSeries) return 0;
    int widest = 0;
    for (const std::string& line : SplitMarkLines(FSeries->ComposeMarkText(Index)))
        widest = std::max(widest, chart->ChartCanvas().MeasureTextWidth(line));
    return widest;
}

TRect TSeriesMarks::MarkBoundsWithShadow(int Index, const TSeriesMarkPosition& Position)
{
    TRect r = Position.GetBoundsRect();
    TLumCustomShape& shape = ShapeForPoint(Index);
    // Pen and shadow sizes bounded to the drawing reach, as the mark's own box is.
    if (shape.Pen().Visible()) {
        const int w = WithinReach(shape.Pen().Width());
        r.Right += w;
        r.Bottom += w;
    }
    if (const TLumShadow* shadow = shape.ShadowIfAny()) {
        const int h = WithinReach(shadow->HorizSize()), v = WithinReach(shadow->VertSize());
        if (h > 0)
            r.Right += h;
        else
            r.Left += h;
        if (v > 0)
            r.Bottom += v;
        else
            r.Top += v;
    }
    const TPoint lt = ProjectLeftTop(Position.ArrowTo, Position.LeftTop);
    const int dx = lt.x - Position.LeftTop.x, dy = lt.y - Position.LeftTop.y;
    return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

void TSeriesMarks::ShiftToAvoidOverlap(int First, int Index, TSeriesMarkPosition& Position)
{
    const TRect r = MarkBoundsWithShadow(Index, Position);
    for (int j = std::max(0, First); j < Index; ++j) {
        const TSeriesMarkPosition* other = FPositions.PositionAt(j);
        if (!other) continue;
        const TRect rj = MarkBoundsWithShadow(j, *other);
        if (!RectsMeet(r, rj)) continue;
        using L = std::int64_t;
        const int d = WithinReach(r.Top < rj.Top ? L(r.Bottom) - rj.Top : L(r.Top) - rj.Bottom);
        Position.LeftTop.y = WithinReach(L(Position.LeftTop.y) - d);
        Position.ArrowTo.y = WithinReach(L(Position.ArrowTo.y) - d);
    }
}

// ---- Items stream ----------------------------------------------------------------------------------------

void TSeriesMarks::WriteItems(TStream& Stream)
{
    const int count = FItems.Count();
    Stream.WriteInt32(count);
    for (int i = 0; i < count; ++i) WritePropertyList(Stream, FItems.ItemAt(i));
}

// The smallest property list: the list marker and the end marker.
static constexpr int SmallestPropertyList = 2;

void TSeriesMarks::ReadItems(TStream& Stream)
{
    const std::int64_t left = Stream.Size() - Stream.Position();
    if (left < 4) throw ChartException("Marks items block is too short for its count");
    const std::int32_t count = Stream.ReadInt32();
    if (count < 0) throw ChartException("Marks items block has a negative count (" + std::to_string(count) + ")");
    if (static_cast<std::int64_t>(count) * SmallestPropertyList > left - 4)
        throw ChartException("Marks items block is too short for its " + std::to_string(count) + " items");
    FItems.ClearItems();
    FItems.Loading = count > 0;
    try {
        for (int i = 0; i < count; ++i) ReadPropertyList(Stream, FItems.ItemAt(i));
    } catch (const Exception& e) {
        FItems.ClearItems();
        FItems.Loading = false;
        throw ChartException("Marks items block: " + e.Message());
    }
}
