// The column thinning of pixel polylines, and the thinned drawing of a long line straight from its value
// arrays.
#include "chart/series/SeriesColumns.h"

#include "chart/base/LumCanvasBase.h"
#include "chart/base/LumCanvasStyles.h"
#include "chart/engine/LumEngineAxis.h"
#include "platform/graphics/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <limits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

TSeriesColumnsSettings& SeriesColumnsSettings()
{
    static TSeriesColumnsSettings settings;
    return settings;
}

// ---- TColumnThinner --------------------------------------------------------------------------------------

void TColumnThinner::Open(TPoint P)
{
    Close();
    if (P.x == FFinalX) {
        // Kept whole: straight out, the column never opens.
        FOut.push_back(P);
        return;
    }
    FX = P.x;
    FCount = 1;
    FFirst[0] = FLow = FHigh = FLast = P;
    FLowAt = FHighAt = 0;
}

// Appends P unless it repeats the last point (a segment from a point to itself draws nothing).
void TColumnThinner::Put(TPoint P)
{
    if (FOut.empty() || FOut.back() != P) FOut.push_back(P);
}

void TColumnThinner::Close()
{
    const long long n = FCount;
    FCount = 0;
    if (n == 0) return;
    // Short columns have nothing to gain.
    if (n <= 4) {
        FOut.insert(FOut.end(), FFirst, FFirst + n);
        return;
    }
    Put(FFirst[0]);
    if (FLowAt < FHighAt) {
        Put(FLow);
        Put(FHigh);
    } else {
        Put(FHigh);
        Put(FLow);
    }
    Put(FLast);
}

void ReduceRunByColumns(std::vector<TPoint>& Run)
{
    if (Run.size() < 5 || !SeriesColumnsSettings().Thinning) return;
    std::vector<TPoint> thin;
    thin.reserve(std::min<std::size_t>(Run.size(), 4096));
    TColumnThinner thinner(thin, Run.back().x);
    for (const TPoint p : Run) thinner.Add(p);
    thinner.Finish();
    Run.swap(thin);
}

bool PenAllowsThinning(const TChartPen& Pen)
{
    return Pen.Visible() && Pen.Width() <= 1 && Pen.Style() == psSolid && !Pen.SmallDots() && Pen.Mode() == pmCopy;
}

bool CanvasAllowsThinning(const TLumCanvas& Canvas)
{
    const TCanvas* device = Canvas.AttachedCanvas();
    return !Canvas.MetafileMode() && device && device->GetMapMode() == MM_TEXT && device->GetWorldTransform() == TXForm{};
}

// ---- Drawing from the value arrays -----------------------------------------------------------------------

namespace {

// The pixels are worked out a block at a time in tight loops; the kept points go out in pieces of about
// this many, each piece starting at the end of the one before.
constexpr int Block = 2048;
constexpr std::size_t Piece = 16384;

// The lowest and highest of Ys[A..B] and whether a NaN is among them (NaNs take no part in the extremes).
void ValueExtremes(const double* Ys, int A, int B, double& Low, double& High, bool& HasNaN)
{
    double low = std::numeric_limits<double>::infinity(), high = -low;
    bool nan = false;
    int i = A;
#if defined(__SSE2__)
    // minpd and maxpd answer their second operand when the first is a NaN, so NaNs leave the extremes be.
    __m128d vLow = _mm_set1_pd(low), vHigh = _mm_set1_pd(high), vNaN = _mm_setzero_pd();
    for (; i + 2 <= B + 1; i += 2) {
        const __m128d v = _mm_loadu_pd(Ys + i);
        vLow = _mm_min_pd(v, vLow);
        vHigh = _mm_max_pd(v, vHigh);
        vNaN = _mm_or_pd(vNaN, _mm_cmpunord_pd(v, v));
    }
    double l[2], h[2];
    _mm_storeu_pd(l, vLow);
    _mm_storeu_pd(h, vHigh);
    low = std::min(l[0], l[1]);
    high = std::max(h[0], h[1]);
    nan = _mm_movemask_pd(vNaN) != 0;
#endif
    for (; i <= B; ++i) {
        const double v = Ys[i];
        if (v < low) low = v;
        if (v > high) high = v;
        nan = nan || std::isnan(v);
    }
    Low = low;
    High = high;
    HasNaN = nan;
}

// The walk over the points with the thinner behind it.
class TThinnedWalk {
public:
    TThinnedWalk(const TChartAxis& HorizAxis, const TChartAxis& VertAxis, const double* Xs, const double* Ys,
                 std::vector<TPoint>& Buffer, const std::function<void(std::span<const TPoint>)>& Draw, int FinalX)
        : FH(HorizAxis), FV(VertAxis), FXs(Xs), FYs(Ys), FBuffer(Buffer), FDraw(Draw), FThinner(Buffer, FinalX)
    {
    }

    void Add(TPoint P) { FThinner.Add(P); }
    // Points From..To, or To down to From, each mapped.
    void AddEach(int From, int To, bool Backward)
    {
        int xs[Block], ys[Block];
        const int count = To - From + 1;
        for (int done = 0; done < count; done += Block) {
            const int n = std::min(Block, count - done);
            const int first = Backward ? To - done - n + 1 : From + done;
            FH.CalcPosValues(true, FXs + first, n, xs);
            FV.CalcPosValues(false, FYs + first, n, ys);
            if (Backward) {
                for (int i = n - 1; i >= 0; --i) FThinner.Add({xs[i], ys[i]});
            } else {
                for (int i = 0; i < n; ++i) FThinner.Add({xs[i], ys[i]});
            }
            Flush();
        }
    }
    // The walk from Start to End (either way round) column by column: the x of the points along it never
    // goes back, so each column is a run of indexes, found by galloping and halving.
    void AddByColumns(int Start, int End, int FinalX)
    {
        const int dir = End >= Start ? 1 : -1;
        auto inWalk = [&](int k) { return dir > 0 ? k <= End : k >= End; };
        auto x = [&](int k) { return FH.CalcXPosValue(FXs[k]); };
        int i = Start;
        while (inWalk(i)) {
            const int c = x(i);
            if (c == FinalX) {
                // The final column keeps all its points.
                AddEach(std::min(i, End), std::max(i, End), dir < 0);
                return;
            }
            int same = i, step = 1;
            while (inWalk(i + dir * step) && x(i + dir * step) == c) {
                same = i + dir * step;
                step *= 2;
            }
            int other = inWalk(i + dir * step) ? i + dir * step : End + dir;
            while (std::abs(other - same) > 1) {
                const int mid = same + (other - same) / 2;
                (x(mid) == c ? same : other) = mid;
            }
            const int a = std::min(i, same), b = std::max(i, same);
            if (b - a + 1 <= 4) {
                AddEach(a, b, dir < 0);
            } else {
                double low = 0, high = 0;
                bool nan = false;
                ValueExtremes(FYs, a, b, low, high, nan);
                int top = std::numeric_limits<int>::max(), bottom = std::numeric_limits<int>::min();
                auto take = [&](double v) {
                    const int y = FV.CalcYPosValue(v);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                };
                if (low <= high) {
                    take(low);
                    take(high);
                }
                if (nan) take(std::numeric_limits<double>::quiet_NaN());
                // The column's first and last points, and its whole height between them.
                FThinner.Add({c, FV.CalcYPosValue(FYs[i])});
                FThinner.Add({c, top});
                FThinner.Add({c, bottom});
                FThinner.Add({c, FV.CalcYPosValue(FYs[same])});
            }
            Flush();
            i = same + dir;
        }
    }
    void Finish()
    {
        FThinner.Finish();
        if (FBuffer.size() >= 2) FDraw(FBuffer);
    }

private:
    void Flush()
    {
        if (FBuffer.size() < Piece) return;
        FDraw(FBuffer);
        const TPoint tail = FBuffer.back();
        FBuffer.assign(1, tail);
    }

    const TChartAxis& FH;
    const TChartAxis& FV;
    const double* FXs;
    const double* FYs;
    std::vector<TPoint>& FBuffer;
    const std::function<void(std::span<const TPoint>)>& FDraw;
    TColumnThinner FThinner;
};

} // namespace

TPoint DrawThinnedLine(const TChartAxis& HorizAxis, const TChartAxis& VertAxis, const double* Xs, const double* Ys,
                       bool XAscending, int From, int To, bool Backward, const TPoint* Lead,
                       std::vector<TPoint>& Buffer, const std::function<void(std::span<const TPoint>)>& Draw)
{
    Buffer.clear();
    const int final = Backward ? From : To, start = Backward ? To : From;
    const TPoint last{HorizAxis.CalcXPosValue(Xs[final]), VertAxis.CalcYPosValue(Ys[final])};
    TThinnedWalk walk(HorizAxis, VertAxis, Xs, Ys, Buffer, Draw, last.x);
    if (Lead) walk.Add(*Lead);
    // Reading whole columns pays where they are crowded; it needs x to follow the index and y the value.
    const long long columns = std::llabs(static_cast<long long>(last.x) - HorizAxis.CalcXPosValue(Xs[start])) + 1;
    if (XAscending && HorizAxis.MapsLinearly(true) && VertAxis.MapsLinearly(false) && To - From + 1 >= 8 * columns)
        walk.AddByColumns(start, final, last.x);
    else
        walk.AddEach(From, To, Backward);
    walk.Finish();
    return last;
}
