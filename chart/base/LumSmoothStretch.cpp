// Smooth bitmap stretch: contributor lists per destination column and row, integer weights scaled by
// 1024, a horizontal pass into a work bitmap and a vertical pass into the destination.
#include "chart/base/LumSmoothStretch.h"

#include "platform/graphics/Bitmap.h"
#include "platform/rtl/PixelMath.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace {

struct TContributor {
    int Pixel = 0;   // source index
    int Weight = 0;  // scaled by 1024
};
using TContributorList = std::vector<TContributor>;

using TFilter = float (*)(float);

float LanczosFilter(float x)
{
    constexpr float Support = 3.0f;
    if (x == 0) return 1.0f;
    if (std::fabs(x) >= Support) return 0.0f;
    const float px = std::numbers::pi_v<float> * x;
    const float sinc = std::sin(px) / px;
    const float sinc3 = std::sin(px / Support) / (px / Support);
    return sinc * sinc3;
}

float TriangleFilter(float x)
{
    x = std::fabs(x);
    return x < 1.0f ? 1.0f - x : 0.0f;
}

// Mirrors an index at the edges until it lies inside 0..n-1 (a filter wider than a small source
// reaches past the mirrored edge too).
int ReflectIndex(int j, int n)
{
    for (;;) {
        if (j < 0)
            j = -j;
        else if (j >= n)
            j = 2 * n - j - 1;
        else
            return j;
    }
}

// The contributors of every destination index of a pass of `count` indexes over `sourceSize` pixels.
std::vector<TContributorList> BuildContributors(int count, int sourceSize, float scale, TFilter filter, float support)
{
    std::vector<TContributorList> lists(static_cast<std::size_t>(count));
    const bool enlarging = scale >= 1.0f;
    const float width = enlarging ? support : support / scale;
    for (int i = 0; i < count; ++i) {
        TContributorList& list = lists[static_cast<std::size_t>(i)];
        const float centre = static_cast<float>(i) / scale;
        const int first = static_cast<int>(std::floor(centre - width));
        const int last = static_cast<int>(std::ceil(centre + width));
        list.reserve(static_cast<std::size_t>(2.0f * width + 1.0f));
        for (int j = first; j <= last; ++j) {
            const float offset = centre - static_cast<float>(j);
            const float weight = enlarging ? filter(offset) : scale * filter(scale * offset);
            if (weight == 0.0f) continue;
            list.push_back({ReflectIndex(j, sourceSize), static_cast<int>(RoundHalfEven(weight * 1024.0f))});
        }
    }
    return lists;
}

std::uint8_t ClampChannel(int sum)
{
    if (sum >= 256 * 1024) return 255;
    if (sum < 0) return 0;
    return static_cast<std::uint8_t>(sum >> 10);
}

// One destination pixel of 24-bit rows: `pixel(index)` gives the source pixel's three bytes.
template <class PixelAt>
void Resample(const TContributorList& list, PixelAt pixel, std::uint8_t* out)
{
    int blue = 0, green = 0, red = 0;
    for (const TContributor& c : list) {
        const std::uint8_t* p = pixel(c.Pixel);
        blue += c.Weight * p[0];
        green += c.Weight * p[1];
        red += c.Weight * p[2];
    }
    out[0] = ClampChannel(blue);
    out[1] = ClampChannel(green);
    out[2] = ClampChannel(red);
}

void HorizontalPass(const TBitmap& source, TBitmap& work, const std::vector<TContributorList>& columns)
{
    for (int y = 0; y < source.Height(); ++y) {
        const std::uint8_t* in = source.ScanLine(y);
        std::uint8_t* out = work.ScanLine(y);
        for (int x = 0; x < work.Width(); ++x)
            Resample(columns[static_cast<std::size_t>(x)], [in](int i) { return in + 3 * i; }, out + 3 * x);
    }
}

void VerticalPass(const TBitmap& work, TBitmap& destination, const std::vector<TContributorList>& rows)
{
    for (int x = 0; x < destination.Width(); ++x) {
        for (int y = 0; y < destination.Height(); ++y) {
            Resample(rows[static_cast<std::size_t>(y)], [&work, x](int i) { return work.ScanLine(i) + 3 * x; },
                     destination.ScanLine(y) + 3 * x);
        }
    }
}

} // namespace

void SmoothStretch(TBitmap* Source, TBitmap* Destination) { SmoothStretchWithQuality(Source, Destination, false); }

void SmoothStretchWithQuality(TBitmap* Source, TBitmap* Destination, bool Fast)
{
    if (!Source || !Destination) return;
    if (Source->Width() < 2 || Source->Height() < 2) throw Exception("SmoothStretch: Source bitmap too small");
    if (Destination->Width() < 2 || Destination->Height() < 2)
        throw Exception("SmoothStretch: Destination bitmap too small");

    const TFilter filter = Fast ? TriangleFilter : LanczosFilter;
    const float support = Fast ? 1.0f : 3.0f;
    Source->SetPixelFormat(pf24bit);
    Destination->SetPixelFormat(Source->PixelFormat());
    TBitmap work(Destination->Width(), Source->Height(), pf24bit);

    const float scaleX = static_cast<float>(Destination->Width() - 1) / static_cast<float>(Source->Width() - 1);
    const float scaleY = static_cast<float>(Destination->Height() - 1) / static_cast<float>(Source->Height() - 1);
    HorizontalPass(*Source, work, BuildContributors(work.Width(), Source->Width(), scaleX, filter, support));
    VerticalPass(work, *Destination, BuildContributors(Destination->Height(), Source->Height(), scaleY, filter, support));
    Destination->NotifyChanged();
}
