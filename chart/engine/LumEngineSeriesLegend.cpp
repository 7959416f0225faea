// What a series shows in the legend (entry texts and symbols) and how it follows the mouse over its
// points.
#include "chart/engine/LumEngineSeries.h"

#include "chart/base/RadErareServices.h"
#include "chart/base/RadErareUtils.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEnginePanel.h"
#include "platform/rtl/DateUtils.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/FloatFormat.h"

#include <cmath>
#include <memory>
#include <optional>

// ---- Legend texts ----------------------------------------------------------------------------------------

namespace {

// The column break of legend texts.
constexpr char ColumnSeparator = '\x06';

// The label, then the separator, when there is a label.
std::string LabelColumn(const std::string& Label) { return Label.empty() ? std::string() : Label + ColumnSeparator; }
// The separator, then the label, when there is a label.
std::string ColumnLabel(const std::string& Label) { return Label.empty() ? std::string() : ColumnSeparator + Label; }

} // namespace

std::string TChartSeries::LegendTextOf(int LegendIndex, TLegendTextStyle Style) const
{
    const int i = LabelIndexOf(LegendIndex);
    const std::string label = PointLabel(i);
    if (Style == ltsPlain) return label;
    const double v = MandatoryValueAt(i);
    auto valueText = [&] {
        if (MandatoryValues().DateTime()) return FormatDateTime(DateTimeFormatForStep(v), v);
        return FormatFloat(ValueFormat(), v);
    };
    auto percentText = [&] {
        const double total = MandatoryValues().SumOfAbsValues();
        return FormatFloat(PercentFormat(), total == 0 ? 100.0 : v * 100 / total);
    };
    auto xText = [&] {
        const double x = XValues().ValueAt(i);
        return GetHorizAxis() ? GetHorizAxis()->FormatLabelValue(x) : FormatFloat(ValueFormat(), x);
    };
    switch (Style) {
    case ltsLeftValue: return valueText() + ColumnLabel(label);
    case ltsRightValue: return LabelColumn(label) + valueText();
    case ltsLeftPercent: return percentText() + ColumnLabel(label);
    case ltsRightPercent: return LabelColumn(label) + percentText();
    case ltsXValue: return xText();
    case ltsValue: return valueText();
    case ltsPercent: return percentText();
    case ltsXAndValue: return xText() + ColumnSeparator + valueText();
    case ltsXAndPercent: return xText() + ColumnSeparator + percentText();
    default: return label;
    }
}

// ---- Legend symbol ---------------------------------------------------------------------------------------

namespace {

// The series brush draws the symbol in another style for a while (not a brush with a picture).
class TBrushStyleSwap {
public:
    TBrushStyleSwap(TChartBrush& Brush, TBrushStyle Style) : FBrush(Brush), FOld(Brush.Style())
    {
        FSwapped = Style != FOld && !Brush.ImageBitmap();
        if (FSwapped) FBrush.SetStyle(Style);
    }
    ~TBrushStyleSwap()
    {
        if (FSwapped) FBrush.SetStyle(FOld);
    }
    TBrushStyleSwap(const TBrushStyleSwap&) = delete;
    TBrushStyleSwap& operator=(const TBrushStyleSwap&) = delete;

private:
    TChartBrush& FBrush;
    TBrushStyle FOld;
    bool FSwapped = false;
};

} // namespace

void TChartSeries::PaintLegendSymbol(int Index, const TRect& Rect)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || (Index == -1 && ColorEachPoint())) return;
    TRepaintPause pause(*chart);
    TCanvas3D& canvas = chart->ChartCanvas();
    const TColor color = Index == -1 ? SeriesColor() : LegendColorOf(Index);
    canvas.Brush().SetColor(color);
    if (color == clNone) return;
    TColor back = chart->LegendBackColor();
    TBrushStyle style = Brush().Style();
    canvas.SelectPen(Pen());
    LegendSymbolStyle(Index, back, style);
    if (const TChartPen* symbolPen = chart->LegendSymbolPen()) canvas.SelectPen(*symbolPen);
    if (back == clDefault) back = chart->LegendBackColor();
    if (back == clDefault) back = chart->Color();
    TBrushStyleSwap swap(Brush(), style);
    chart->SelectBrushContrast(canvas.Brush().Color(), Brush(), back);
    PaintLegendShape(Index, Rect);
}

// ---- Hover -----------------------------------------------------------------------------------------------

bool TChartSeries::TrackMouseHover(int X, int Y)
{
    if (Cursor() == 0 && !OnMouseEnter && !OnMouseLeave) return false;
    if (PointAtPixel(X, Y) == -1) {
        if (FHovered) {
            FHovered = false;
            if (OnMouseLeave) OnMouseLeave(this);
        }
        return false;
    }
    if (Cursor() != 0 && ParentChart()) ParentChart()->SetCursor(static_cast<TCursor>(Cursor()));
    if (!FHovered) {
        FHovered = true;
        if (OnMouseEnter) OnMouseEnter(this);
    }
    return true;
}

// ---- Gallery icon ----------------------------------------------------------------------------------------

void DrawSeriesIcon(TCanvas& Canvas, const TChartSeries& Series, int X, int Y)
{
    const auto icon = std::make_unique<TBitmap>();
    if (LoadSeriesIcon(Series, *icon)) Canvas.Draw(X, Y, *icon);
}
