// Axis labels: the text of a value, label sizes, and the walks that choose which values get a label and
// a tick (linear, logarithmic and signed logarithmic values, calendar steps, values supplied by the
// chart's event, point labels of the series, series titles along a depth axis, custom items).
#include "chart/engine/LumEngineAxis.h"

#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEngineSeries.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace {
constexpr char LabelLineSeparator = 13;
constexpr int MaxAxisLabels = 10000; // the most labels one walk may draw
} // namespace

// ---- Texts and sizes -----------------------------------------------------------------------------------

std::string TChartAxis::FormatLabelValue(double Value) const
{
    std::string text;
    if (IsDateTime) {
        if (Value >= 0)
            text = FormatDateTime(FDateTimeFormat.empty() ? DateTimeFormatForStep(CurrentRange) : FDateTimeFormat, Value);
    } else {
        text = FormatFloat(FAxisValuesFormat, Value);
    }
    if (FChart->OnGetAxisLabel) FChart->OnGetAxisLabel(const_cast<TChartAxis*>(this), nullptr, -1, text);
    if (FLabelsMultiLine) std::replace(text.begin(), text.end(), ' ', LabelLineSeparator);
    return text;
}

int TChartAxis::LabelSize(bool Horizontal, double Value) const
{
    TCanvas3D& canvas = FChart->ChartCanvas();
    canvas.SelectFont(LabelsFont());
    const std::string text = FormatLabelValue(Value);
    const bool across = Horizontal ? (FLabelsAngle == 90 || FLabelsAngle == 270)
                                   : (FLabelsAngle == 0 || FLabelsAngle == 180);
    int lines = 0;
    const int width = FChart->MeasureMultiLineText(text, lines);
    return across ? canvas.CharHeight() * LineCount(text) : width;
}

int TChartAxis::MaxLabelsWidth() const
{
    TCanvas3D& canvas = FChart->ChartCanvas();
    int lines = 0;
    if (FItems->Count() > 0) {
        int widest = 0;
        for (int i = 0; i < FItems->Count(); ++i) {
            const TAxisItem& item = FItems->Item(i);
            canvas.SelectFont(item.Font());
            const std::string text = item.Text().empty() ? FormatLabelValue(item.Value()) : item.Text();
            widest = std::max(widest, FChart->MeasureMultiLineText(text, lines));
        }
        return widest;
    }
    switch (CalcLabelStyle()) {
    case talValue: {
        double a = CurrentMinimum;
        double b = CurrentMaximum;
        if (FRoundFirstLabel || (ShowsDateTime() && FExactDateTime)) {
            const double step = MinLabelStep();
            if (step > 0 && std::isfinite(step)) {
                a = std::trunc(a / step) * step;
                b = std::trunc(b / step) * step;
            }
        }
        // The chart's label event does not take part in measuring.
        auto saved = std::exchange(FChart->OnGetAxisLabel, nullptr);
        canvas.SelectFont(LabelsFont());
        int w = 0;
        try {
            w = std::max(FChart->MeasureMultiLineText(FormatLabelValue(a), lines),
                         FChart->MeasureMultiLineText(FormatLabelValue(b), lines));
        } catch (...) {
            FChart->OnGetAxisLabel = std::move(saved);
            throw;
        }
        FChart->OnGetAxisLabel = std::move(saved);
        return w + canvas.MeasureTextWidth(" ");
    }
    case talMark:
        return FChart->WidestSeriesMark();
    case talText:
        return FChart->WidestSeriesLabel();
    default:
        return 0;
    }
}

// ---- Walks ---------------------------------------------------------------------------------------------

void TChartAxis::AddTick(int Pixel) { TickPositions.push_back(Pixel); }

int TChartAxis::DateTimeStepIndex() const
{
    if (!(IsDateTime && FExactDateTime && FIncrement != 0)) return dtNoStep;
    int index = FindDateTimeStep(FIncrement);
    if (index == dtNoStep) return index;
    const double step = MinLabelStep();
    while (index < dtOneYear && step > DateTimeStep[index]) ++index;
    return index;
}

void TChartAxis::DrawLabels()
{
    TickPositions.clear();
    FLabelsDrawnAlternate = !FHorizontal;
    if (FItems->Count() > 0) {
        CustomItemsWalk();
        return;
    }
    const TAxisLabelStyle style = CalcLabelStyle();
    if (style == talNone) return;
    FChart->ChartCanvas().SelectFont(LabelsFont());
    const double step = MinLabelStep();
    const int stepIndex = DateTimeStepIndex();
    const bool calendarStep = stepIndex >= dtHalfMonth && stepIndex <= dtOneYear;
    if (!((step > 0 || calendarStep) && CurrentMaximum >= CurrentMinimum)) return;
    switch (style) {
    case talValue:
        if (FChart->OnGetNextAxisLabel && EventValueWalk()) return;
        if (!FLogarithmic || FIncrement != 0)
            LinearValueWalk(step, stepIndex);
        else
            LogValueWalk();
        break;
    case talMark:
    case talText:
        if (FIsDepthAxis && style == talText)
            DepthTitleWalk();
        else
            SeriesTextWalk(style);
        break;
    default:
        break;
    }
}

void TChartAxis::LinearValueWalk(double step, int stepIndex)
{
    const double scale = LabelValueScale == 0 ? 1.0 : std::fabs(LabelValueScale);
    const double lo = FLogarithmic ? CurrentMinimum : scale * (CurrentMinimum + LabelValueOffset);
    const double hi = FLogarithmic ? CurrentMaximum : scale * (CurrentMaximum + LabelValueOffset);
    const double s = scale * step;
    if (std::fabs(CurrentRange / step) >= MaxAxisLabels) return;
    const bool exactDateTime = IsDateTime && FExactDateTime;
    const bool calendar = exactDateTime && stepIndex >= dtHalfMonth;
    auto stepDown = [&](double& v) { AdvanceByDateStep(calendar, false, v, s, stepIndex); };

    double v;
    if (exactDateTime && stepIndex >= 16 && stepIndex <= dtOneYear)
        v = RoundDateToStep(stepIndex, hi);
    else if (FloatToStr(lo) == FloatToStr(hi))
        v = hi;
    else if (FRoundFirstLabel)
        v = std::trunc(hi / s) * s;
    else
        v = hi;
    while (v > hi) stepDown(v);

    if (RangeIsZero || std::fabs(hi - lo) < 1e-10 || FloatToStr(v) == FloatToStr(v - s)) {
        DrawValueLabel(v);
        return;
    }
    const double m = CurrentMinimum >= 0 ? (lo - 1e-12) / (1 + 1e-12) : lo;
    while (v >= m) {
        DrawValueLabel(v);
        const double before = v;
        stepDown(v);
        if (v <= m + 1e-8 || !(v < before)) break;
    }
}

void TChartAxis::LogValueWalk()
{
    if (CurrentMinimum == CurrentMaximum) return;
    if (!SignedLogMode && CurrentMinimum <= 0) {
        CurrentMinimum = CurrentMinimum == 0 ? 0.1 : LogStep(1e-10);
        PreviousMaximum = CurrentMaximum;
        PreviousMinimum = CurrentMinimum;
    }
    const double w = LogStep(CurrentMinimum);
    auto nextDecade = [this](double v) {
        return SignedLogMode ? SymLogStep(SignedLogScale, 1, v) : v * FLogarithmicBase;
    };
    if (FMinorGrid->Visible()) {
        const double below = SignedLogMode ? SymLogStep(SignedLogScale, -1, CurrentMinimum)
                                           : CurrentMinimum / FLogarithmicBase;
        AddTick(CalcPosValue(below));
    }
    if (CurrentMaximum <= 1e300 && FLogarithmicBase > 1) {
        // A base just above 1 would take millions of steps: the walk ends where the linear walk gives up,
        // and where a step no longer moves the label (every further one would land on it too).
        double v = w;
        for (int count = 0; v <= CurrentMaximum && count < MaxAxisLabels; ++count) {
            if (v >= CurrentMinimum) DrawValueLabel(v);
            const double next = nextDecade(v);
            if (!(next > v) || CalcPosValue(next) == CalcPosValue(v)) break;
            v = next;
        }
    }
    if (FMinorGrid->Visible() && w > CurrentMaximum) AddTick(CalcPosValue(w));
}

bool TChartAxis::EventValueWalk()
{
    double value = CurrentMinimum;
    for (int index = 0; index <= 2000; ++index) {
        bool stop = true;
        FChart->OnGetNextAxisLabel(this, index, value, stop);
        if (stop) return index != 0;
        if (value < CurrentMinimum - 1e-7 || value > CurrentMaximum + 1e-7) return true;
        DrawValueLabel(value);
    }
    return true;
}

void TChartAxis::DrawValueLabel(double LabelValue)
{
    const double scale = LabelValueScale == 0 ? 1.0 : std::fabs(LabelValueScale);
    const int pixel = FLogarithmic ? CalcPosValue(LabelValue) : CalcPosValue(LabelValue / scale - LabelValueOffset);
    if (!(FLabelsOnAxis || (pixel > StartPixel && pixel < EndPixel))) return;
    if (!FTickOnLabelsOnly) AddTick(pixel);
    std::string text;
    if (FLogarithmic)
        text = FormatLabelValue(LabelValueScale * LabelValue);
    else
        text = FormatLabelValue(LabelValueScale < 0 ? -LabelValue : LabelValue);
    if (Labels()) DrawLabelAt(pixel, text, nullptr);
}

void TChartAxis::SeriesTextWalk(TAxisLabelStyle style)
{
    AxisSeries.Clear();
    int first = -1;
    int last = -1;
    for (int i = 0; i < FChart->CountSeries(); ++i) {
        TChartSeries* s = FChart->SeriesAt(i);
        if (!s->Active() || !s->UsesAxis(this)) continue;
        AxisSeries.Add(s);
        s->ComputeVisibleIndexRange();
        if (s->FirstVisible() < 0) continue;
        first = first < 0 ? s->FirstVisible() : std::min(first, s->FirstVisible());
        last = std::max(last, s->LastVisible());
    }
    TCanvas3D& canvas = FChart->ChartCanvas();
    bool havePrevious = false;
    int previousPixel = 0;
    int previousHalf = 0;
    for (int index = std::max(first, 0); first >= 0 && index <= last; ++index) {
        std::string text;
        TChartSeries* owner = nullptr;
        for (TChartSeries* s : AxisSeries.Items()) {
            if (index < s->FirstVisible() || index > s->LastVisible()) continue;
            text = style == talText ? s->Labels().LabelText(index) : s->ComposeMarkText(index);
            if (FChart->OnGetAxisLabel) FChart->OnGetAxisLabel(this, s, index, text);
            if (!text.empty()) {
                owner = s;
                break;
            }
        }
        if (!owner) continue;
        const double value = FHorizontal ? owner->XValues().ValueAt(index) : owner->YValues().ValueAt(index);
        if (value < CurrentMinimum || value > CurrentMaximum) continue;
        const int pixel = CalcPosValue(value);
        if (!FTickOnLabelsOnly) AddTick(pixel);
        if (!Labels()) continue;
        canvas.SelectFont(LabelsFont());
        const bool across = FHorizontal ? (FLabelsAngle == 90 || FLabelsAngle == 270)
                                        : !(FLabelsAngle == 90 || FLabelsAngle == 270);
        int lines = 0;
        int size = across ? canvas.CharHeight() * LineCount(text) : FChart->MeasureMultiLineText(text, lines);
        if (FLabelsSeparation != 0 && havePrevious) {
            size = (size + static_cast<int>(std::trunc(size * 0.02 * FLabelsSeparation))) / 2;
            const bool clear = pixel > previousPixel ? pixel - size > previousPixel + previousHalf
                                                     : pixel + size < previousPixel - previousHalf;
            if (!clear) continue;
            previousHalf = size;
        } else {
            previousHalf = size / 2;
        }
        DrawLabelAt(pixel, text, nullptr);
        havePrevious = true;
        previousPixel = pixel;
    }
    AxisSeries.Clear();
}

void TChartAxis::DepthTitleWalk()
{
    if (FChart->ActiveSeriesCount() == 0) return;
    const int from = TruncFromReal(CurrentMinimum);
    const int to = TruncFromReal(CurrentMaximum);
    // A stored range of millions of depth slots gives no titles, as too many value labels give none.
    if (static_cast<std::int64_t>(to) - from >= MaxAxisLabels) return;
    for (int i = from; i <= to; ++i) {
        const int pixel = CalcPosValue(CurrentMaximum - i - 0.5);
        if (!FTickOnLabelsOnly) AddTick(pixel);
        if (!Labels()) continue;
        std::string text;
        FChart->LegendItemSeriesTitle(i, true, text);
        if (FChart->OnGetAxisLabel) FChart->OnGetAxisLabel(this, nullptr, i, text);
        DrawLabelAt(pixel, text, nullptr);
    }
}

void TChartAxis::CustomItemsWalk()
{
    for (int i = 0; i < FItems->Count(); ++i) {
        TAxisItem& item = FItems->Item(i);
        if (item.Value() < FMinimum || item.Value() > FMaximum) continue;
        const int pixel = CalcPosValue(item.Value());
        if (!FTickOnLabelsOnly) AddTick(pixel);
        if (!item.Visible()) continue;
        DrawLabelAt(pixel, item.Text().empty() ? FormatLabelValue(item.Value()) : item.Text(), &item);
    }
}
