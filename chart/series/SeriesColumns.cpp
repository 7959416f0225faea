// The column thinning of pixel polylines.
#include "chart/series/SeriesColumns.h"

#include <cstddef>

namespace {

// Appends p unless it repeats the last point (a segment from a point to itself draws nothing).
void Put(std::vector<TPoint>& Run, std::size_t& Out, TPoint p)
{
    if (Out > 0 && Run[Out - 1] == p) return;
    Run[Out++] = p;
}

} // namespace

TSeriesColumnsSettings& SeriesColumnsSettings()
{
    static TSeriesColumnsSettings settings;
    return settings;
}

void ReduceRunByColumns(std::vector<TPoint>& Run)
{
    const std::size_t n = Run.size();
    if (n < 5 || !SeriesColumnsSettings().Thinning) return;
    // The written part never overtakes the part still to be read: a column of k points writes at most
    // min(k, 4) of them.
    std::size_t out = 0, i = 0;
    while (i < n) {
        const int x = Run[i].x;
        std::size_t j = i + 1;
        std::size_t low = i, high = i;
        while (j < n && Run[j].x == x) {
            if (Run[j].y < Run[low].y) low = j;
            if (Run[j].y > Run[high].y) high = j;
            ++j;
        }
        // The run's last column stays whole: its end point is left out of the line, and whether that
        // pixel shows depends on how the points before it came back to it. Short columns have nothing
        // to gain.
        if (j - i <= 4 || j == n) {
            while (i < j) Run[out++] = Run[i++];
            continue;
        }
        const TPoint first = Run[i], last = Run[j - 1], lowest = Run[low], highest = Run[high];
        Put(Run, out, first);
        if (low < high) {
            Put(Run, out, lowest);
            Put(Run, out, highest);
        } else {
            Put(Run, out, highest);
            Put(Run, out, lowest);
        }
        Put(Run, out, last);
        i = j;
    }
    Run.resize(out);
}
