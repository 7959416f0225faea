// Axis scaling: the working range (automatic ends, signed logarithmic mode and its scale constant,
// rounded limits), the value-to-pixel routines with their clamp, pixel to value, the pixel span, the
// range commands and the label increment.
#include "chart/engine/LumEngineAxisScale.h"

#include "chart/base/LumConst.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEngineSeries.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <cmath>
#include <limits>

// ---- Arithmetic ----------------------------------------------------------------------------------------

int SignOfValue(double V) { return V >= 0 ? 1 : -1; }

double SymLogTransform(double C, double V) { return SignOfValue(V) * std::log10(std::fabs(V) / C + 1); }

double SymLogInverse(double C, double U) { return SignOfValue(U) * C * (std::pow(10.0, std::fabs(U)) - 1); }

double SymLogStep(double C, int K, double V)
{
    const double w = SymLogInverse(C, SymLogTransform(C, V) + K);
    if (w == 0 || std::isnan(w)) return 0;
    const double p = SignOfValue(w) * std::pow(10.0, RoundHalfEven(std::log10(std::fabs(w))));
    return 6 * C > std::fabs(p) ? 0 : p;
}

double NiceStep(double X)
{
    if (!std::isfinite(X) || !(X > 0)) return 1;
    // Mantissa and decade from the logarithm, corrected where it lands on a neighbour; a mantissa within
    // a rounding error of 2 or 5 counts as reaching it, so exact steps are not mistaken for the one below.
    int e = static_cast<int>(std::floor(std::log10(X)));
    auto decade = [](int k) { return k >= 0 ? std::pow(10.0, k) : 1.0 / std::pow(10.0, -k); };
    double m = X / decade(e);
    if (m >= 10 - 1e-12) {
        ++e;
        m = X / decade(e);
    } else if (m < 1 - 1e-12) {
        --e;
        m = X / decade(e);
    }
    constexpr double tol = 1e-12;
    const double r = m < 2 - tol ? 2 : (m < 5 - tol ? 5 : 10);
    return e >= 0 ? r * decade(e) : r / decade(-e);
}

double CeilTol(double X)
{
    const double r = RoundHalfEven(X);
    return std::fabs(X - r) <= 1e-10 ? r : std::ceil(X);
}

double FloorTol(double X)
{
    const double r = RoundHalfEven(X);
    return std::fabs(X - r) <= 1e-10 ? r : std::floor(X);
}

namespace {
// The value-to-pixel routines clamp before rounding, and a NaN lands at the lower clamp. The limit is
// an int, so a clamped real lies inside the int range.
inline int ClampPixelWithin(double P, double Limit)
{
    if (!(P >= -Limit)) return static_cast<int>(-Limit);
    if (P > Limit) return static_cast<int>(Limit);
    return RoundHalfEvenInRange(P);
}

int ClampPixel(double P) { return ClampPixelWithin(P, LumEngineModule().AxisPixelClampLimit); }

double PowerOf(double Base, double Exponent) { return std::pow(Base, Exponent); }
} // namespace

// ---- Working range -------------------------------------------------------------------------------------

void TChartAxis::ApplyAutomaticEnds()
{
    const bool autoMax = FAutomatic || FAutomaticMaximum;
    const bool autoMin = FAutomatic || FAutomaticMinimum;
    // Both fixed ends at 0 would collapse the range: they are taken as not set.
    const bool fixed = FixedAutoLimits && !(FixedAutoMinimum == 0 && FixedAutoMaximum == 0);
    if (autoMax) FMaximum = fixed ? FixedAutoMaximum : FChart->SeriesValueLimit(*this, false, FHorizontal);
    if (autoMin) FMinimum = fixed ? FixedAutoMinimum : FChart->SeriesValueLimit(*this, true, FHorizontal);
}

void TChartAxis::ChooseSignedMode()
{
    if (FLogarithmic) SignedLogMode = std::min(FMaximum, FMinimum) <= 0;
}

void TChartAxis::RoundLimits(double& lo, double& hi) const
{
    if (!FLogarithmic) {
        if (FIncrement > 0) {
            hi = CeilTol(hi / FIncrement) * FIncrement;
            lo = FloorTol(lo / FIncrement) * FIncrement;
        }
        return;
    }
    if (!SignedLogMode) {
        // Outward: below a base of 1 the exponent falls as the value grows, so the floor gives the top.
        const double base = FLogarithmicBase;
        const bool falling = base < 1;
        const double lb = std::log(base);
        const double hiExponent = std::log(std::fabs(hi)) / lb;
        const double loExponent = std::log(std::fabs(lo)) / lb;
        hi = PowerOf(base, falling ? FloorTol(hiExponent) : CeilTol(hiExponent));
        lo = PowerOf(base, falling ? CeilTol(loExponent) : FloorTol(loExponent));
        if (hi == lo) {
            hi = falling ? hi / base : hi * base;
            lo = falling ? lo * base : lo / base;
        }
        return;
    }
    if (hi > 0)
        hi = PowerOf(10, CeilTol(std::log10(hi)));
    else if (hi < 0)
        hi = -PowerOf(10, FloorTol(std::log10(-hi)));
    if (lo > 0)
        lo = PowerOf(10, FloorTol(std::log10(lo)));
    else if (lo < 0)
        lo = -PowerOf(10, CeilTol(std::log10(-lo)));
}

void TChartAxis::ChooseSignedScale()
{
    const double m = std::max(std::fabs(CurrentMinimum), std::fabs(CurrentMaximum));
    if (m == 0) {
        SignedLogScale = 1;
        return;
    }
    double p;
    if (MinDecOn) {
        if (!(MinDec > 0)) MinDec = m / 100;
        // Also for a MinDec above the largest magnitude: the power of ten nearest to it.
        p = PowerOf(10, RoundHalfEven(std::log10(MinDec)));
    } else if (CurrentMaximum >= 0) {
        p = PowerOf(10, RoundHalfEven(std::log10(m)) - DecShift);
    } else {
        p = PowerOf(10, RoundHalfEven(std::log10(std::fabs(CurrentMaximum) * 1e-5)));
    }
    SignedLogScale = p / 9;
}

void TChartAxis::ComputeAutoRange()
{
    if (RangeFrozen) return;
    const double oldMin = CurrentMinimum;
    const double oldMax = CurrentMaximum;
    if (FChart->IsZoomed()) {
        CurrentMinimum = FMinimum;
        CurrentMaximum = FMaximum;
    } else {
        ApplyAutomaticEnds();
        ChooseSignedMode();
        double lo = FMinimum;
        double hi = FMaximum;
        if (RoundedLimits) RoundLimits(lo, hi);
        CurrentMinimum = FMinimum = lo;
        CurrentMaximum = FMaximum = hi;
        if (FLogarithmic && SignedLogMode) ChooseSignedScale();
    }
    RangeChanged = oldMin != CurrentMinimum || oldMax != CurrentMaximum;
    PreviousMaximum = CurrentMaximum;
    PreviousMinimum = CurrentMinimum;
    RecalcScales();
}

void TChartAxis::RecalcScales()
{
    CurrentRange = CurrentMaximum - CurrentMinimum;
    RangeIsZero = std::fabs(CurrentRange) < 1e-100;
    PixelsPerUnit = RangeIsZero ? 0 : PixelSize / CurrentRange;
    if (FLogarithmic) {
        if (SignedLogMode) {
            LogMinimum = SymLogTransform(SignedLogScale, CurrentMinimum);
            LogMaximum = SymLogTransform(SignedLogScale, CurrentMaximum);
        } else {
            LogMinimum = CurrentMinimum > 0 ? std::log(CurrentMinimum) : 0;
            LogMaximum = CurrentMaximum > 0 ? std::log(CurrentMaximum) : 0;
        }
        LogRange = LogMaximum - LogMinimum;
        PixelsPerLogUnit = LogRange == 0 ? 0 : PixelSize / LogRange;
    }
    const double depth = FIsDepthAxis ? FChart->ChartHeight() : FChart->Width3D();
    DepthPixel = PixelFromReal(FZPosition * depth / 100);
}

// ---- Value to pixel ------------------------------------------------------------------------------------

void TChartAxis::BindPositionCalculators()
{
    if (FIsDepthAxis) {
        FCalcXPos = FCalcYPos = FCalcPos = &TChartAxis::CalcDepthPos;
        return;
    }
    FCalcXPos = FLogarithmic ? &TChartAxis::CalcLogXPos : &TChartAxis::CalcLinearXPos;
    FCalcYPos = FLogarithmic ? &TChartAxis::CalcLogYPos : &TChartAxis::CalcLinearYPos;
    FCalcPos = FHorizontal ? FCalcXPos : FCalcYPos;
}

int TChartAxis::CalcDepthPos(double Value) const
{
    if (RangeIsZero) return CenterPixel;
    return ClampPixel(FInverted ? PixelsPerUnit * (CurrentMaximum - Value) : (Value - CurrentMinimum) * PixelsPerUnit);
}

int TChartAxis::CalcLinearXPos(double Value) const
{
    if (RangeIsZero) return CenterPixel;
    const double p = (Value - CurrentMinimum) * PixelsPerUnit;
    return ClampPixel(FInverted ? EndPixel - p : StartPixel + p);
}

int TChartAxis::CalcLinearYPos(double Value) const
{
    if (RangeIsZero) return CenterPixel;
    const double p = (Value - CurrentMinimum) * PixelsPerUnit;
    return ClampPixel(FInverted ? StartPixel + p : EndPixel - p);
}

double TChartAxis::LogTransform(double Value) const
{
    return SignedLogMode ? SymLogTransform(SignedLogScale, Value) : std::log(Value);
}

double TChartAxis::LogInverse(double Value) const
{
    return SignedLogMode ? SymLogInverse(SignedLogScale, Value) : std::exp(Value);
}

// A vanishing log range maps every value to the centre; a very narrow one still maps (the clamp keeps
// far values in bounds).
int TChartAxis::CalcLogXPos(double Value) const
{
    if (std::isnan(Value)) return ClampPixel(Value);
    if (LogRange == 0) return CenterPixel;
    if (!SignedLogMode && Value <= 0) return FInverted ? EndPixel : StartPixel;
    const double t = LogTransform(Value);
    const double offset = FInverted ? PixelsPerLogUnit * (LogMaximum - t) : (t - LogMinimum) * PixelsPerLogUnit;
    return ClampPixel(RoundHalfEven(offset) + StartPixel);
}

int TChartAxis::CalcLogYPos(double Value) const
{
    if (std::isnan(Value)) return ClampPixel(Value);
    if (LogRange == 0) return CenterPixel;
    if (!SignedLogMode && Value <= 0) return FInverted ? StartPixel : EndPixel;
    const double t = LogTransform(Value);
    const double offset = FInverted ? PixelsPerLogUnit * (LogMaximum - t) : (t - LogMinimum) * PixelsPerLogUnit;
    return ClampPixel(EndPixel - RoundHalfEven(offset));
}

void TChartAxis::CalcPosValues(bool Horizontal, const double* Values, int Count, int* Pixels) const
{
    const TCalculator calc = Horizontal ? FCalcXPos : FCalcYPos;
    const bool linear = calc == &TChartAxis::CalcLinearXPos || calc == &TChartAxis::CalcLinearYPos;
    if (!linear) {
        for (int i = 0; i < Count; ++i) Pixels[i] = (this->*calc)(Values[i]);
        return;
    }
    if (RangeIsZero) {
        std::fill(Pixels, Pixels + Count, CenterPixel);
        return;
    }
    // The linear routines' arithmetic, term for term: the pixel runs from one end of the span, forward
    // or backward (subtracting is adding the negated term, exactly).
    const bool fromStart = (calc == &TChartAxis::CalcLinearXPos) != FInverted;
    const double base = fromStart ? StartPixel : EndPixel;
    const double sign = fromStart ? 1.0 : -1.0;
    const double minimum = CurrentMinimum, scale = PixelsPerUnit;
    const double limit = LumEngineModule().AxisPixelClampLimit;
    int i = 0;
#if defined(__SSE2__)
    // Two values at a time, step for step as ClampPixelWithin does one: the clamp (a NaN takes the lower
    // bound), the truncated integer, and the remainder deciding the rounding, halves to the even side.
    const __m128d vMinimum = _mm_set1_pd(minimum), vScale = _mm_set1_pd(scale), vBase = _mm_set1_pd(base),
                  vSign = _mm_set1_pd(sign), vLow = _mm_set1_pd(-limit), vHigh = _mm_set1_pd(limit),
                  vHalf = _mm_set1_pd(0.5), vMinusHalf = _mm_set1_pd(-0.5), vOne = _mm_set1_pd(1.0);
    const __m128i iOne = _mm_set1_epi32(1);
    for (; i + 2 <= Count; i += 2) {
        const __m128d v = _mm_loadu_pd(Values + i);
        __m128d r = _mm_add_pd(vBase, _mm_mul_pd(vSign, _mm_mul_pd(_mm_sub_pd(v, vMinimum), vScale)));
        r = _mm_min_pd(_mm_max_pd(r, vLow), vHigh);
        const __m128i t = _mm_cvttpd_epi32(r);
        const __m128d whole = _mm_cvtepi32_pd(t);
        const __m128d d = _mm_sub_pd(r, whole);
        const __m128d odd = _mm_cmpeq_pd(_mm_cvtepi32_pd(_mm_and_si128(t, iOne)), vOne);
        const __m128d up = _mm_or_pd(_mm_cmpgt_pd(d, vHalf), _mm_and_pd(_mm_cmpeq_pd(d, vHalf), odd));
        const __m128d down = _mm_or_pd(_mm_cmplt_pd(d, vMinusHalf), _mm_and_pd(_mm_cmpeq_pd(d, vMinusHalf), odd));
        const __m128d step = _mm_sub_pd(_mm_and_pd(up, vOne), _mm_and_pd(down, vOne));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(Pixels + i), _mm_cvttpd_epi32(_mm_add_pd(whole, step)));
    }
#endif
    for (; i < Count; ++i) Pixels[i] = ClampPixelWithin(base + sign * ((Values[i] - minimum) * scale), limit);
}

// ---- Pixel to value ------------------------------------------------------------------------------------

double TChartAxis::PixelToValueFloat(double Pixel) const
{
    const double d = FInverted ? EndPixel - Pixel : Pixel - StartPixel;
    if (!FLogarithmic) {
        if (PixelSize < 1) return 0;
        const double c = d * CurrentRange / PixelSize;
        return FHorizontal ? CurrentMinimum + c : CurrentMaximum - c;
    }
    const bool lowAtStart = FHorizontal != FInverted;
    if (Pixel == StartPixel) return lowAtStart ? CurrentMinimum : CurrentMaximum;
    if (Pixel == EndPixel) return lowAtStart ? CurrentMaximum : CurrentMinimum;
    if (LogRange == 0 || PixelSize == 0) return CurrentMinimum;
    const double f = d * LogRange / PixelSize;
    return LogInverse(FHorizontal ? LogMinimum + f : LogMaximum - f);
}

int TChartAxis::SpanToPixels(double Span) const
{
    if (!(Span > 0)) return 0;
    if (!FLogarithmic) return RangeIsZero ? 0 : ClampPixel(Span * PixelsPerUnit);
    if (LogRange == 0) return 0;
    return ClampPixel(LogTransform(Span) * PixelsPerLogUnit);
}

// ---- Pixel span ----------------------------------------------------------------------------------------

void TChartAxis::CalcPixelRange()
{
    const TRect& r = FChart->ChartRect();
    if (FIsDepthAxis) {
        const double d = FChart->Width3D();
        StartPixel = PixelFromReal(d * FStartPosition / 100);
        EndPixel = PixelFromReal(d * FEndPosition / 100);
    } else if (FHorizontal) {
        const double w = FChart->ChartWidth();
        StartPixel = ClampedPixel(r.Left + std::int64_t(PixelFromReal(w * FStartPosition / 100)));
        EndPixel = ClampedPixel(r.Left + std::int64_t(PixelFromReal(w * FEndPosition / 100)));
    } else {
        const double h = FChart->ChartHeight();
        StartPixel = ClampedPixel(r.Top + std::int64_t(PixelFromReal(h * FStartPosition / 100)));
        EndPixel = ClampedPixel(r.Top + std::int64_t(PixelFromReal(h * FEndPosition / 100)));
    }
    SetPixelRange();
}

void TChartAxis::SetPixelRange()
{
    // The span every value-to-pixel mapping divides by: "Integer overflow" when stored offsets stretch it
    // beyond the int range.
    PixelSize = CheckedPixel(std::int64_t(EndPixel) - StartPixel);
    CenterPixel = static_cast<int>((std::int64_t(StartPixel) + EndPixel) / 2);
    RecalcScales();
}

// ---- Range commands ------------------------------------------------------------------------------------

void TChartAxis::SetFixedRange(double AMinimum, double AMaximum)
{
    FAutomatic = FAutomaticMinimum = FAutomaticMaximum = false;
    if (AMinimum > AMaximum) std::swap(AMinimum, AMaximum);
    StoreMinimum(AMinimum);
    StoreMaximum(AMaximum);
    if (FMaximum - FMinimum < LeastAxisSpan) StoreMaximum(FMinimum + LeastAxisSpan);
}

void TChartAxis::ScrollBy(bool CheckLimits, double Offset)
{
    if (CheckLimits) {
        if (Offset == 0) return;
        if (Offset > 0 && !(FChart->SeriesValueLimit(*this, false, FHorizontal) > FMaximum)) return;
        if (Offset < 0 && !(FChart->SeriesValueLimit(*this, true, FHorizontal) < FMinimum)) return;
    }
    FAutomatic = FAutomaticMinimum = FAutomaticMaximum = false;
    FMaximum += Offset;
    FMinimum += Offset;
    FChart->Invalidate();
}

void TChartAxis::ApplyRangeChange()
{
    ComputeAutoRange();
    BindPositionCalculators();
    FChart->Invalidate();
    if (OnRangeChange) OnRangeChange(this);
}

void TChartAxis::SetRangeFromPixels(const TRect& Margins)
{
    const int atStart = FHorizontal ? Margins.Left : Margins.Top;
    const int atEnd = FHorizontal ? Margins.Right : Margins.Bottom;
    CalcPixelRange();
    if (atStart == 0 && atEnd == 0) return;
    const int fullStart = StartPixel;
    const int fullEnd = EndPixel;
    if (std::int64_t(fullEnd) - atEnd - (std::int64_t(fullStart) + atStart) < 1) return;
    // Lay the working range onto the narrowed span and read the values at the full span's ends.
    StartPixel = ClampedPixel(std::int64_t(fullStart) + atStart);
    EndPixel = ClampedPixel(std::int64_t(fullEnd) - atEnd);
    SetPixelRange();
    const double a = PixelToValueFloat(fullStart);
    const double b = PixelToValueFloat(fullEnd);
    StartPixel = fullStart;
    EndPixel = fullEnd;
    CurrentMinimum = std::min(a, b);
    CurrentMaximum = std::max(a, b);
    PreviousMinimum = CurrentMinimum;
    PreviousMaximum = CurrentMaximum;
    SetPixelRange();
}

void TChartAxis::SetLogarithmic(bool Value)
{
    const bool changed = FLogarithmic != Value;
    // The same flag again leaves an unzoomed chart as it is (a settings file read at start-up sets every
    // axis's flag, and undoing a zoom lays the chart out afresh).
    if (changed || FChart->IsZoomed()) FChart->UndoZoom();
    if (Value && ShowsDateTime()) throw AxisException(LumConst::DateTimeAxisLogarithmic);
    ChangeBoolean(FLogarithmic, Value);
    if (AutoLogFormat) {
        if (Value) {
            SetLabelsExponent(true);
            SetAxisValuesFormat("0\"0\"e-0");
            SetMinorTickCount(8);
            SetIncrement(0);
        } else {
            SetLabelsExponent(false);
            SetAxisValuesFormat("##0.###");
            SetMinorTickCount(1);
        }
    }
    if (Value) ComputeAutoRange();
    BindPositionCalculators();
    if (changed && OnRangeChange) OnRangeChange(this);
}

// ---- Label increment -----------------------------------------------------------------------------------

double TChartAxis::LogStep(double Value) const
{
    if (SignedLogMode) return SymLogStep(SignedLogScale, 0, Value);
    return SignOfValue(Value)
           * PowerOf(FLogarithmicBase, RoundHalfEven(std::log(std::fabs(Value)) / std::log(FLogarithmicBase)));
}

double TChartAxis::CalcIncrement(int LabelCount) const
{
    if (LabelCount < 1) return IsDateTime ? DateTimeStep[0] : LeastAxisIncrement;
    return IsDateTime ? DateTimeIncrement(LabelCount) : NumericIncrement(LabelCount);
}

double TChartAxis::NumericIncrement(int n) const
{
    if (!std::isfinite(CurrentRange)) return LeastAxisIncrement;
    double s;
    if (FIncrement > 0) {
        s = FIncrement;
    } else if (CurrentRange == 0) {
        s = 1;
    } else {
        s = std::fabs(CurrentRange) / (n + 1);
        if (FLogarithmic) s = LogStep(s);
        if (CurrentRange >= 1) {
            // A series whose points run along this axis and all fit gets whole-number steps.
            for (int i = 0; i < FChart->CountSeries(); ++i) {
                const TChartSeries* series = FChart->SeriesAt(i);
                const bool runsAlong = FHorizontal ? series->YMandatory() : !series->YMandatory();
                if (series->Active() && runsAlong && series->UsesAxis(this) && series->PointCount() <= n) {
                    s = std::max(s, 1.0);
                    break;
                }
            }
        }
    }
    if (FLabelsSeparation > 0) {
        do {
            if (s == 0) s = 100000;
            const double ratio = CurrentRange / s;
            const bool tooMany = std::fabs(ratio) >= 2147483647.0 || RoundHalfEven(ratio) > n;
            if (!tooMany) break;
            double next;
            if (!FLogarithmic)
                next = NiceStep(s);
            else if (!SignedLogMode)
                next = s * FLogarithmicBase;
            else
                next = SymLogStep(SignedLogScale, 1, s);
            // A growth that does not enlarge the step (a base below 1) would never end.
            if (!(next > s)) break;
            s = next;
        } while (s <= CurrentRange && !std::isinf(s));
    }
    if (std::isinf(s)) return CurrentRange;
    return std::max(s, LeastAxisIncrement);
}

double TChartAxis::DateTimeIncrement(int n) const
{
    double s = std::max(DateTimeStep[0], FIncrement);
    if (s > 0 && n > 0) {
        if (CurrentRange / s > 1e6) s = CurrentRange / 1e6;
        while (RoundHalfEven(CurrentRange / s) > n) {
            if (s >= DateTimeStep[dtOneYear])
                s *= 2;
            else if (s >= DateTimeStep[2])
                s = NextLargerDateTimeStep(s);
            else
                s = NiceStep(s);
        }
    }
    return std::max(DateTimeStep[0], s);
}

double TChartAxis::IncrementForLabelSize(int Size) const
{
    int n = 1;
    if (Size > 0) {
        if (FLabelsSeparation > 0) Size += PixelFromReal(FLabelsSeparation * 0.01 * Size);
        n = PixelFromReal(static_cast<double>(PixelSize) / Size);
    }
    return CalcIncrement(n);
}

double TChartAxis::MinLabelStep() const
{
    double a = CurrentMinimum;
    double b = CurrentMaximum;
    if (!FLogarithmic) {
        const double scale = std::fabs(LabelValueScale);
        a = scale * (CurrentMinimum + LabelValueOffset);
        b = scale * (CurrentMaximum + LabelValueOffset);
    }
    int w = std::max(LabelSize(FHorizontal, b), LabelSize(FHorizontal, a));
    if (FIncrement != 0) {
        w = std::max({w, LabelSize(FHorizontal, a + FIncrement), LabelSize(FHorizontal, b - FIncrement)});
    } else {
        w = std::max(w, LabelSize(FHorizontal, (a + b) / 2));
    }
    double step = IncrementForLabelSize(w);
    if (FLabelsAlternate) {
        if (!FLogarithmic)
            step /= 2;
        else if (!SignedLogMode)
            step /= FLogarithmicBase;
        else
            step = SymLogStep(SignedLogScale, -1, step);
    }
    return step;
}
