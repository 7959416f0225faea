// The triangulated surface: the incremental triangulation (duplicates, closest pair, order, first
// triangle, hull insertion with Lawson exchanges) on sorted and linked structures, and the series that
// draws it in list order or back to front, its border lines, click test, gallery and registration.
#include "chart/series/LumTriSurface.h"

#include "chart/base/LumConst.h"
#include "chart/base/LumProCo.h"
#include "chart/control/ChartRegistry.h"
#include "chart/series/SeriesLine.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <unordered_map>

namespace {

constexpr double Ratio = 1e-6;
constexpr int MaxExchangePasses = 100;

// Builds one triangulation. Work arrays are indexed by point number (1-based).
class TTriangulator {
public:
    TTriangulator(std::span<const double> X, std::span<const double> Z, bool Improve) : FImprove(Improve)
    {
        FN = static_cast<int>(X.size());
        FX.assign(static_cast<std::size_t>(FN) + 1, 0);
        FZ.assign(static_cast<std::size_t>(FN) + 1, 0);
        FPointOf.assign(static_cast<std::size_t>(FN) + 1, 0);
        for (int k = 1; k <= FN; ++k) {
            const int point = k < FN ? k : 0;
            FPointOf[Ix(k)] = point;
            FX[Ix(k)] = X[static_cast<std::size_t>(point)];
            FZ[Ix(k)] = Z[static_cast<std::size_t>(point)];
        }
    }

    TTriangulation Run()
    {
        TTriangulation result;
        DropDuplicates();
        if (FN < 3) return result;
        const auto [a, b, dmin] = ClosestPair();
        std::vector<int> order = OrderFromPair(a, b);
        MoveFirstNonCollinear(order, dmin);
        // From here on points are known by their place in the order: those added one after the other lie
        // side by side in memory.
        std::vector<double> x(Ix(FN) + 1), z(Ix(FN) + 1);
        for (int j = 1; j <= FN; ++j) {
            x[Ix(j)] = FX[Ix(order[Ix(j)])];
            z[Ix(j)] = FZ[Ix(order[Ix(j)])];
        }
        FX.swap(x);
        FZ.swap(z);
        FirstTriangle();
        for (int j = 4; j <= FN; ++j) AddPoint(j);

        result.Triangles.assign(FTri.begin() + 3, FTri.end());
        for (int& v : result.Triangles) v = order[Ix(v)];
        const int start = FLineOne;
        int v = start;
        do {
            result.Borders.insert(result.Borders.end(), {order[Ix(v)], order[Ix(FNext[Ix(v)])], FLineTri[Ix(v)]});
            v = FNext[Ix(v)];
        } while (v != start && result.Borders.size() < 3 * static_cast<std::size_t>(FN) + 3);
        FPointOf.resize(static_cast<std::size_t>(FN) + 1);
        result.PointOf = std::move(FPointOf);
        return result;
    }

private:
    static std::size_t Ix(int k) { return static_cast<std::size_t>(k); }
    double Distance(int a, int b) const
    {
        const double dx = FX[Ix(a)] - FX[Ix(b)], dz = FZ[Ix(a)] - FZ[Ix(b)];
        return dx * dx + dz * dz;
    }
    double Side(int p1, int p2, int p3) const
    {
        return (FZ[Ix(p3)] - FZ[Ix(p1)]) * (FX[Ix(p2)] - FX[Ix(p1)]) - (FX[Ix(p3)] - FX[Ix(p1)]) * (FZ[Ix(p2)] - FZ[Ix(p1)]);
    }

    // Every later number at the position of an earlier one is dropped, lowest first; the last number
    // moves into its gap (and is dropped in turn when it also sits there).
    void DropDuplicates()
    {
        std::vector<int> byPosition(static_cast<std::size_t>(FN));
        for (int k = 1; k <= FN; ++k) byPosition[Ix(k - 1)] = k;
        std::sort(byPosition.begin(), byPosition.end(), [&](int a, int b) {
            if (FX[Ix(a)] != FX[Ix(b)]) return FX[Ix(a)] < FX[Ix(b)];
            if (FZ[Ix(a)] != FZ[Ix(b)]) return FZ[Ix(a)] < FZ[Ix(b)];
            return a < b;
        });
        // Groups of equal positions, by the point each number holds now.
        std::vector<int> groupOf(static_cast<std::size_t>(FN), -1);
        std::vector<std::vector<int>> groups;
        for (std::size_t i = 0; i < byPosition.size();) {
            std::size_t j = i + 1;
            const int k = byPosition[i];
            while (j < byPosition.size() && FX[Ix(byPosition[j])] == FX[Ix(k)] && FZ[Ix(byPosition[j])] == FZ[Ix(k)]) ++j;
            if (j - i > 1) {
                groups.emplace_back();
                for (std::size_t m = i; m < j; ++m) {
                    groupOf[static_cast<std::size_t>(FPointOf[Ix(byPosition[m])])] = static_cast<int>(groups.size()) - 1;
                    groups.back().push_back(FPointOf[Ix(byPosition[m])]);
                }
            }
            i = j;
        }
        if (groups.empty()) return;
        std::vector<int> numberOf(static_cast<std::size_t>(FN));
        for (int k = 1; k <= FN; ++k) numberOf[static_cast<std::size_t>(FPointOf[Ix(k)])] = k;
        for (int a = 1; a < FN; ++a) {
            const int g = groupOf[static_cast<std::size_t>(FPointOf[Ix(a)])];
            if (g < 0) continue;
            std::set<int> numbers;
            for (int point : groups[static_cast<std::size_t>(g)])
                if (point != FPointOf[Ix(a)]) numbers.insert(numberOf[static_cast<std::size_t>(point)]);
            groupOf[static_cast<std::size_t>(FPointOf[Ix(a)])] = -1;
            while (!numbers.empty()) {
                const int b = *numbers.begin();
                numbers.erase(numbers.begin());
                if (b != FN) {
                    const int moved = FPointOf[Ix(FN)];
                    FPointOf[Ix(b)] = moved;
                    numberOf[static_cast<std::size_t>(moved)] = b;
                    FX[Ix(b)] = FX[Ix(FN)];
                    FZ[Ix(b)] = FZ[Ix(FN)];
                    if (numbers.erase(FN) > 0) numbers.insert(b);
                }
                --FN;
            }
        }
    }

    struct TPair {
        int A, B;
        double D;
    };
    // The closest pair by a sweep along X; among equally close pairs the first in number order.
    TPair ClosestPair() const
    {
        TPair best{1, 2, Distance(1, 2)};
        std::vector<int> byX(static_cast<std::size_t>(FN));
        for (int k = 1; k <= FN; ++k) byX[Ix(k - 1)] = k;
        std::sort(byX.begin(), byX.end(), [&](int a, int b) { return FX[Ix(a)] < FX[Ix(b)]; });
        std::set<std::pair<double, int>> active;
        std::size_t left = 0;
        // A little wider than the distance so that rounding never hides an equally close pair.
        auto reach = [&] { return std::sqrt(best.D) * (1 + 1e-9) + std::numeric_limits<double>::min(); };
        double h = reach();
        for (int i : byX) {
            while (left < byX.size() && FX[Ix(byX[left])] < FX[Ix(i)] - h) {
                active.erase({FZ[Ix(byX[left])], byX[left]});
                ++left;
            }
            for (auto it = active.lower_bound({FZ[Ix(i)] - h, std::numeric_limits<int>::min()});
                 it != active.end() && it->first <= FZ[Ix(i)] + h; ++it) {
                const int a = std::min(i, it->second), b = std::max(i, it->second);
                const double d = Distance(a, b);
                if (d < best.D || (d == best.D && (a < best.A || (a == best.A && b < best.B)))) {
                    best = {a, b, d};
                    h = reach();
                }
            }
            active.insert({FZ[Ix(i)], i});
        }
        return best;
    }

    // Positions 1 and 2 the pair, then the other numbers by distance from the pair's midpoint (number
    // breaking ties).
    std::vector<int> OrderFromPair(int A, int B) const
    {
        std::vector<int> order(Ix(FN) + 1, 0);
        order[1] = A;
        order[2] = B;
        const double mx = (FX[Ix(A)] + FX[Ix(B)]) / 2, mz = (FZ[Ix(A)] + FZ[Ix(B)]) / 2;
        std::vector<std::pair<double, int>> rest;
        rest.reserve(Ix(FN));
        for (int k = 1; k <= FN; ++k)
            if (k != A && k != B) {
                const double dx = FX[Ix(k)] - mx, dz = FZ[Ix(k)] - mz;
                rest.push_back({dx * dx + dz * dz, k});
            }
        std::sort(rest.begin(), rest.end());
        for (std::size_t i = 0; i < rest.size(); ++i) order[i + 3] = rest[i].second;
        return order;
    }

    // The first point off the pair's line moves to position 3.
    void MoveFirstNonCollinear(std::vector<int>& Order, double DMin) const
    {
        const int q1 = Order[1];
        const double dx = FX[Ix(Order[2])] - FX[Ix(q1)], dz = FZ[Ix(Order[2])] - FZ[Ix(q1)];
        const double ar = Ratio * DMin;
        int p = 3;
        while (p <= FN) {
            const int q = Order[Ix(p)];
            if (std::abs((FZ[Ix(q)] - FZ[Ix(q1)]) * dx - (FX[Ix(q)] - FX[Ix(q1)]) * dz) > ar) break;
            ++p;
        }
        if (p > FN) p = FN;
        if (p > 3) std::rotate(Order.begin() + 3, Order.begin() + p, Order.begin() + p + 1);
    }

    // Places 1, 2 and 3 of the order.
    void FirstTriangle()
    {
        int a = 1, b = 2;
        const int c = 3;
        if (Side(a, b, c) < 0) std::swap(a, b);
        FTri.assign(3, 0);
        FIncCount.assign(Ix(FN) + 1, 0);
        FIncSlots.assign((Ix(FN) + 1) * Slots, 0);
        FIncMore.clear();
        FTri.reserve(6 * Ix(FN) + 3);
        FNext.assign(Ix(FN) + 1, 0);
        FPrev.assign(Ix(FN) + 1, 0);
        FLineTri.assign(Ix(FN) + 1, 0);
        FAngle.assign(Ix(FN) + 1, 0);
        FInHull.assign(Ix(FN) + 1, 0);
        FInHull[Ix(a)] = FInHull[Ix(b)] = FInHull[Ix(c)] = 1;
        AppendTriangle(a, b, c);
        FNext[Ix(a)] = b;
        FNext[Ix(b)] = c;
        FNext[Ix(c)] = a;
        FPrev[Ix(b)] = a;
        FPrev[Ix(c)] = b;
        FPrev[Ix(a)] = c;
        FLineTri[Ix(a)] = FLineTri[Ix(b)] = FLineTri[Ix(c)] = 1;
        FLineOne = a;
        FBorderCount = 3;
        // An interior point for finding the hull near a new point; a flat first triangle has none, and
        // every hull line is then scanned.
        if (Side(a, b, c) > 0) {
            FWalk = true;
            FCX = (FX[Ix(a)] + FX[Ix(b)] + FX[Ix(c)]) / 3;
            FCZ = (FZ[Ix(a)] + FZ[Ix(b)] + FZ[Ix(c)]) / 3;
            for (int v : {a, b, c}) AddToHullIndex(v);
        }
    }

    // ---- Triangles and their incidence ----
    int AppendTriangle(int a, int b, int c)
    {
        FTri.insert(FTri.end(), {a, b, c});
        const int t = static_cast<int>(FTri.size() / 3) - 1;
        for (int k = 0; k < 3; ++k) Attach(t, Vertex(t, k));
        return t;
    }
    int Vertex(int t, int k) const { return FTri[Ix(3 * t + k)]; }
    bool Holds(int t, int v) const { return Vertex(t, 0) == v || Vertex(t, 1) == v || Vertex(t, 2) == v; }
    // The triangles at vertex v: Slots in place, the rest (rare) in FIncMore.
    template <class F>
    void ForTrianglesAt(int v, F&& Visit) const
    {
        const int* slots = &FIncSlots[Ix(v) * Slots];
        for (int i = 0; i < FIncCount[Ix(v)]; ++i) Visit(slots[i]);
        if (FIncCount[Ix(v)] == Slots)
            if (auto it = FIncMore.find(v); it != FIncMore.end())
                for (int t : it->second) Visit(t);
    }
    std::size_t TrianglesAt(int v) const
    {
        std::size_t n = static_cast<std::size_t>(FIncCount[Ix(v)]);
        if (n == Slots)
            if (auto it = FIncMore.find(v); it != FIncMore.end()) n += it->second.size();
        return n;
    }
    void Attach(int t, int v)
    {
        bool present = false;
        ForTrianglesAt(v, [&](int u) { present = present || u == t; });
        if (present) return;
        int& count = FIncCount[Ix(v)];
        if (count < Slots)
            FIncSlots[Ix(v) * Slots + Ix(count++)] = t;
        else
            FIncMore[v].push_back(t);
    }
    void Detach(int t, int v)
    {
        if (Holds(t, v)) return;
        int* slots = &FIncSlots[Ix(v) * Slots];
        int& count = FIncCount[Ix(v)];
        auto more = count == Slots ? FIncMore.find(v) : FIncMore.end();
        for (int i = 0; i < count; ++i)
            if (slots[i] == t) {
                if (more != FIncMore.end() && !more->second.empty()) {
                    slots[i] = more->second.back();
                    more->second.pop_back();
                    if (more->second.empty()) FIncMore.erase(more);
                } else {
                    slots[i] = slots[--count];
                }
                return;
            }
        if (more == FIncMore.end()) return;
        auto& list = more->second;
        if (auto it = std::find(list.begin(), list.end(), t); it != list.end()) {
            *it = list.back();
            list.pop_back();
            if (list.empty()) FIncMore.erase(more);
        }
    }
    void SetVertex(int t, int k, int v)
    {
        const int old = Vertex(t, k);
        FTri[Ix(3 * t + k)] = v;
        Detach(t, old);
        Attach(t, v);
    }
    void SetTriangle(int t, int a, int b, int c)
    {
        const int old[3] = {Vertex(t, 0), Vertex(t, 1), Vertex(t, 2)};
        FTri[Ix(3 * t)] = a;
        FTri[Ix(3 * t + 1)] = b;
        FTri[Ix(3 * t + 2)] = c;
        for (int v : old) Detach(t, v);
        for (int v : {a, b, c}) Attach(t, v);
    }
    // The first vertex of t that is neither u nor w.
    int ThirdVertex(int t, int u, int w) const
    {
        for (int k = 0; k < 3; ++k)
            if (Vertex(t, k) != u && Vertex(t, k) != w) return Vertex(t, k);
        return Vertex(t, 0);
    }
    bool ExchangeWanted(int p1, int p2, int p3, int p4) const
    {
        const double a[2] = {FX[Ix(p1)], FZ[Ix(p1)]}, b[2] = {FX[Ix(p2)], FZ[Ix(p2)]};
        const double c[2] = {FX[Ix(p3)], FZ[Ix(p3)]}, d[2] = {FX[Ix(p4)], FZ[Ix(p4)]};
        return TriangleExchangeWanted(a, b, c, d);
    }

    // ---- The hull ----
    void AddToHullIndex(int v)
    {
        FAngle[Ix(v)] = std::atan2(FZ[Ix(v)] - FCZ, FX[Ix(v)] - FCX);
        FHull.insert({FAngle[Ix(v)], v});
    }
    // Whether hull vertex Q takes the place of the current extreme Cur seen from P: the most clockwise
    // (Min) or counter-clockwise direction wins; among directions equal within the tolerance the nearer
    // point, and the one found first keeps its place on a tie.
    bool TakesPlace(int P, int Q, int Cur, bool Min) const
    {
        const double dxc = FX[Ix(Cur)] - FX[Ix(P)], dzc = FZ[Ix(Cur)] - FZ[Ix(P)], dc = dxc * dxc + dzc * dzc;
        const double dx = FX[Ix(Q)] - FX[Ix(P)], dz = FZ[Ix(Q)] - FZ[Ix(P)], d = dx * dx + dz * dz;
        const double turn = dz * dxc - dx * dzc, ar = Min ? turn : -turn, tol = Ratio * dc;
        return !(ar > tol || (ar >= -tol && d >= dc));
    }

    // The extreme from a start vertex by walking along the hull while a neighbour takes the place, in one
    // direction. From a start among the lines facing the point the min lies ahead and the max behind (at
    // an extreme both neighbours may turn further; the far one is the long way round).
    int WalkToExtreme(int P, int Start, bool Min) const
    {
        int cur = Start;
        const bool ahead = TakesPlace(P, FNext[Ix(cur)], cur, Min), back = TakesPlace(P, FPrev[Ix(cur)], cur, Min);
        if (!ahead && !back) return cur;
        const std::vector<int>& way = (Min ? ahead : !back) ? FNext : FPrev;
        cur = way[Ix(cur)];
        for (int steps = 0; steps < FBorderCount && TakesPlace(P, way[Ix(cur)], cur, Min); ++steps) cur = way[Ix(cur)];
        return cur;
    }

    void VisibleExtremes(int P, int& Min, int& Max) const
    {
        if (FWalk) {
            const double angle = std::atan2(FZ[Ix(P)] - FCZ, FX[Ix(P)] - FCX);
            auto it = FHull.lower_bound({angle, std::numeric_limits<int>::min()});
            if (it == FHull.end()) it = FHull.begin();
            Min = WalkToExtreme(P, it->second, true);
            Max = WalkToExtreme(P, it->second, false);
            return;
        }
        Min = Max = FLineOne;
        for (int v = FNext[Ix(FLineOne)]; v != FLineOne; v = FNext[Ix(v)]) {
            if (TakesPlace(P, v, Min, true)) Min = v;
            if (TakesPlace(P, v, Max, false)) Max = v;
        }
    }

    void AddPoint(int P)
    {
        int mn, mx;
        VisibleExtremes(P, mn, mx);
        FLineOne = mn;
        // The lines from the max vertex counter-clockwise to the min vertex face the point.
        std::vector<int>& chain = FChain;
        chain.clear();
        int v = mx;
        do {
            chain.push_back(v);
            v = FNext[Ix(v)];
        } while (v != mn && chain.size() <= static_cast<std::size_t>(FBorderCount));
        std::vector<std::pair<int, int>>& flags = FFlags;
        flags.clear();
        for (std::size_t s = 0; s < chain.size(); ++s) {
            const int l1 = chain[s], l2 = FNext[Ix(l1)], t = FLineTri[Ix(l1)];
            const int tn = AppendTriangle(l2, l1, P);
            const bool first = s == 0, last = s + 1 == chain.size();
            if (first) FLineTri[Ix(l1)] = tn;
            if (last) FLineTri[Ix(P)] = tn;
            const int w = ThirdVertex(t, l1, l2);
            if (ExchangeWanted(P, w, l1, l2)) {
                SetTriangle(t, w, l1, P);
                SetVertex(tn, 1, w);
                if (first) FLineTri[Ix(l1)] = t;
                if (last && FLineTri[Ix(mn)] == t) FLineTri[Ix(mn)] = tn;
                flags.push_back({l1, w});
                flags.push_back({w, l2});
            }
        }
        // The point joins the hull between the two extremes.
        for (std::size_t s = 1; s < chain.size(); ++s) {
            if (FWalk) FHull.erase({FAngle[Ix(chain[s])], chain[s]});
            FInHull[Ix(chain[s])] = 0;
            --FBorderCount;
        }
        FInHull[Ix(P)] = 1;
        FNext[Ix(mx)] = P;
        FPrev[Ix(P)] = mx;
        FNext[Ix(P)] = mn;
        FPrev[Ix(mn)] = P;
        ++FBorderCount;
        if (FWalk) AddToHullIndex(P);
        if (FImprove) ExchangePasses();
    }

    void ExchangePasses()
    {
        std::vector<std::pair<int, int>> next;
        std::vector<int> found;
        for (int pass = 0; pass < MaxExchangePasses && !FFlags.empty(); ++pass) {
            next.clear();
            for (const auto& flag : FFlags) {
                const int u = flag.first, w = flag.second;
                found.clear();
                ForTrianglesAt(TrianglesAt(u) <= TrianglesAt(w) ? u : w, [&](int t) {
                    if (Holds(t, u) && Holds(t, w)) found.push_back(t);
                });
                if (found.size() < 2) continue;
                std::partial_sort(found.begin(), found.begin() + 2, found.end(), std::greater<int>());
                const int t1 = found[0], t2 = found[1];
                const int o1 = ThirdVertex(t1, u, w), o2 = ThirdVertex(t2, u, w);
                if (!ExchangeWanted(o1, o2, u, w)) continue;
                SetTriangle(t1, o1, o2, u);
                SetTriangle(t2, o2, o1, w);
                next.insert(next.end(), {{u, o1}, {o1, w}, {w, o2}, {o2, u}});
                RetakeBorderLine(u, o2, t1);
                RetakeBorderLine(w, o1, t2);
            }
            FFlags.swap(next);
        }
    }
    // A hull line between a and b, either way, belongs to triangle t.
    void RetakeBorderLine(int a, int b, int t)
    {
        if (IsHullLine(a, b)) FLineTri[Ix(a)] = t;
        if (IsHullLine(b, a)) FLineTri[Ix(b)] = t;
    }
    bool IsHullLine(int a, int b) const { return FInHull[Ix(a)] && FNext[Ix(a)] == b; }

    bool FImprove;
    int FN = 0;
    std::vector<double> FX, FZ;
    std::vector<int> FPointOf;
    // Triangle t (1-based) at 3t .. 3t + 2; entries 0..2 unused.
    std::vector<int> FTri;
    static constexpr int Slots = 10;
    std::vector<int> FIncCount;
    std::vector<int> FIncSlots;
    std::unordered_map<int, std::vector<int>> FIncMore;
    // The hull as a ring of vertices: the line from v to FNext[v] belongs to triangle FLineTri[v].
    std::vector<int> FNext, FPrev, FLineTri;
    int FLineOne = 0;
    int FBorderCount = 0;
    bool FWalk = false;
    double FCX = 0, FCZ = 0;
    std::vector<double> FAngle;
    std::vector<char> FInHull;
    std::set<std::pair<double, int>> FHull;
    std::vector<int> FChain;
    std::vector<std::pair<int, int>> FFlags;
};

} // namespace

bool TriangleExchangeWanted(const double P1[2], const double P2[2], const double P3[2], const double P4[2])
{
    const double x1 = P1[0], z1 = P1[1], x2 = P2[0], z2 = P2[1], x3 = P3[0], z3 = P3[1], x4 = P4[0], z4 = P4[1];
    const double u3 = (z2 - z3) * (x1 - x3) - (x2 - x3) * (z1 - z3);
    const double u4 = (z1 - z4) * (x2 - x4) - (x1 - x4) * (z2 - z4);
    if (u3 * u4 <= 0) return false;
    const double u1 = (z3 - z1) * (x4 - x1) - (x3 - x1) * (z4 - z1);
    const double u2 = (z4 - z2) * (x3 - x2) - (x4 - x2) * (z3 - z2);
    auto sq = [](double dx, double dz) { return dx * dx + dz * dz; };
    const double a1 = sq(x1 - x3, z1 - z3), b1 = sq(x4 - x1, z4 - z1), c1 = sq(x3 - x4, z3 - z4);
    const double a2 = sq(x2 - x4, z2 - z4), b2 = sq(x3 - x2, z3 - z2), c3 = sq(x2 - x1, z2 - z1);
    const double s1 = u1 * u1 / (c1 * std::max(a1, b1)), s2 = u2 * u2 / (c1 * std::max(a2, b2));
    const double s3 = u3 * u3 / (c3 * std::max(b2, a1)), s4 = u4 * u4 / (c3 * std::max(b1, a2));
    return std::min(s3, s4) > std::min(s1, s2);
}

TTriangulation TriangulatePoints(std::span<const double> X, std::span<const double> Z, bool Improve)
{
    if (X.size() < 3 || Z.size() != X.size()) return {};
    return TTriangulator(X, Z, Improve).Run();
}

// ---- The series ----------------------------------------------------------------------------------------------

namespace {

std::vector<TPropInfo> TriSurfaceProperties()
{
    using P = TProps<TCustomTriSurfaceSeries>;
    using T = TCustomTriSurfaceSeries;
    std::vector<TPropInfo> own{
        P::Object("Border", [](const T& s) -> TPersistent* { return &s.Border(); }),
        P::Object("Brush", [](const T& s) -> TPersistent* { return &s.Brush(); }),
        P::Boolean("FastBrush", &T::FastBrush, &T::SetFastBrush).Default(false),
        P::Boolean("HideTriangles", &T::HideTriangles, &T::SetHideTriangles).Default(true),
        P::Object("Pen", [](const T& s) -> TPersistent* { return &s.Pen(); }),
        P::Integer("Transparency", &T::Transparency, &T::SetTransparency).Default(0),
    };
    for (TPropInfo& p : TCustom3DPaletteSeries::PaletteProperties(true))
        if (p.Name != "ZValues") own.push_back(std::move(p));
    std::vector<TPropInfo> props = SeriesKindProperties(std::move(own));
    props.push_back(P::Object("ZValues", [](const T& s) -> TPersistent* { return &s.ZValues(); }));
    return props;
}

} // namespace

const TClassInfo& TCustomTriSurfaceSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TCustomTriSurfaceSeries", .Parent = &TCustom3DPaletteSeries::StaticClassInfo()});
    return info;
}

const TClassInfo& TTriSurfaceSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TTriSurfaceSeries",
                                  .Parent = &TCustomTriSurfaceSeries::StaticClassInfo(),
                                  .Properties = TriSurfaceProperties(),
                                  .Create = &CreateComponentOf<TTriSurfaceSeries>});
    return info;
}

TCustomTriSurfaceSeries::TCustomTriSurfaceSeries(TComponent* AOwner)
    : TCustom3DPaletteSeries(AOwner), FBorder(std::make_unique<TChartHiddenPen>([this](TPersistent* p) { StyleChanged(p); }))
{
    FBorder->SetColor(clWhite);
}

TCustomTriSurfaceSeries::~TCustomTriSurfaceSeries() = default;

void TCustomTriSurfaceSeries::Assign(const TPersistent& Source)
{
    if (const auto* s = dynamic_cast<const TCustomTriSurfaceSeries*>(&Source); s && s != this) {
        FBorder->Assign(*s->FBorder);
        FImproveTriangles = s->FImproveTriangles;
        FHideTriangles = s->FHideTriangles;
        FTransparency = s->FTransparency;
    }
    TCustom3DPaletteSeries::Assign(Source);
}

void TCustomTriSurfaceSeries::Triangulate()
{
    const int n = PointCount();
    std::vector<double> xs(static_cast<std::size_t>(n)), zs(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        xs[static_cast<std::size_t>(i)] = XValues().ValueAt(i);
        zs[static_cast<std::size_t>(i)] = ZValues().ValueAt(i);
    }
    // The same positions triangulate the same way: a repaint of unchanged points keeps the last result.
    if (FValid && FTriangulatedImproved == FImproveTriangles && xs == FTriangulatedX && zs == FTriangulatedZ) return;
    FTriangulation = TriangulatePoints(xs, zs, FImproveTriangles);
    FTriangulatedX = std::move(xs);
    FTriangulatedZ = std::move(zs);
    FTriangulatedImproved = FImproveTriangles;
    FValid = true;
}

void TCustomTriSurfaceSeries::FireBeforeDrawValues()
{
    TCustom3DPaletteSeries::FireBeforeDrawValues();
    if (PointCount() < 3) {
        FTriangulation = {};
        FValid = false;
    } else {
        Triangulate();
    }
}

void TCustomTriSurfaceSeries::ClearPoints()
{
    TCustom3DPaletteSeries::ClearPoints();
    FValid = false;
    FTriangulation = {};
    FSorted.clear();
    FDrawnOrder.clear();
}

TPoint3D TCustomTriSurfaceSeries::VertexOf(int Triangle, int K) const
{
    const int point = FTriangulation.TrianglePoint(Triangle, K);
    return {ScreenXOf(point), ScreenYOf(point), ZScreenPosition(point)};
}

bool TCustomTriSurfaceSeries::FarToNear() const
{
    const TCustomAxisPanel* chart = ParentChart();
    bool far = !chart->DepthAxis().Inverted();
    const TView3DOptions& view = chart->View3DOptions();
    if (chart->View3D() && !view.Orthogonal() && view.Rotation() > 90 && view.Rotation() < 270) far = !far;
    return far;
}

void TCustomTriSurfaceSeries::PaintAllPoints()
{
    FSorted.clear();
    FDrawnOrder.clear();
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || !GetHorizAxis() || !GetVertAxis() || TriangleCount() == 0) return;
    TCanvas3D& canvas = chart->ChartCanvas();
    if (Pen().Visible() || Brush().Style() != bsClear) {
        canvas.SelectBrush(Brush(), Brush().Color());
        canvas.SelectPen(Pen());
        if (!FHideTriangles || canvas.HasOwnRenderer() || canvas.Brush().Style() != bsSolid)
            PaintInListOrder();
        else
            PaintSorted();
    }
    if (FBorder->Visible()) PaintBorder();
}

void TCustomTriSurfaceSeries::PaintInListOrder()
{
    TCanvas3D& canvas = ParentChart()->ChartCanvas();
    std::unique_ptr<TLumBlend> blend;
    if (FTransparency > 0) blend = canvas.BeginTransparency(TRect{}, FTransparency);
    const bool ownRenderer = canvas.HasOwnRenderer();
    for (int t = 1; t <= TriangleCount(); ++t) {
        const TPoint3D p[3] = {VertexOf(t, 0), VertexOf(t, 1), VertexOf(t, 2)};
        const TColor c0 = PointColor(FTriangulation.TrianglePoint(t, 0));
        const TColor c1 = ownRenderer ? PointColor(FTriangulation.TrianglePoint(t, 1)) : c0;
        const TColor c2 = ownRenderer ? PointColor(FTriangulation.TrianglePoint(t, 2)) : c0;
        if (blend) {
            const std::array<TPoint, 3> projected{canvas.ProjectPoint3D(p[0]), canvas.ProjectPoint3D(p[1]), canvas.ProjectPoint3D(p[2])};
            blend->CaptureBackground(PointsEnclosingRect(projected, 3));
        }
        canvas.DrawTriangle3D(p[0], p[1], p[2], c0, c1, c2);
        if (blend) blend->BlendOver(FTransparency);
    }
}

void TCustomTriSurfaceSeries::PaintSorted()
{
    TCanvas3D& canvas = ParentChart()->ChartCanvas();
    struct TKeyed {
        double Key;
        TDrawnTriangle Triangle;
    };
    std::vector<TKeyed> keyed;
    keyed.reserve(static_cast<std::size_t>(TriangleCount()));
    for (int t = 1; t <= TriangleCount(); ++t) {
        TKeyed k;
        k.Key = -std::numeric_limits<double>::infinity();
        k.Triangle.Number = t;
        k.Triangle.Color = PointColor(FTriangulation.TrianglePoint(t, 0));
        for (int v = 0; v < 3; ++v) {
            k.Key = std::max(k.Key, ZValues().ValueAt(FTriangulation.TrianglePoint(t, v)));
            k.Triangle.Points[v] = canvas.ProjectPoint3D(VertexOf(t, v));
        }
        keyed.push_back(k);
    }
    // Equal keys keep the triangles' order.
    if (FarToNear())
        std::stable_sort(keyed.begin(), keyed.end(), [](const TKeyed& a, const TKeyed& b) { return a.Key > b.Key; });
    else
        std::stable_sort(keyed.begin(), keyed.end(), [](const TKeyed& a, const TKeyed& b) { return a.Key < b.Key; });
    std::unique_ptr<TLumBlend> blend;
    if (FTransparency > 0) blend = canvas.BeginTransparency(TRect{}, FTransparency);
    FSorted.reserve(keyed.size());
    FDrawnOrder.reserve(keyed.size());
    for (const TKeyed& k : keyed) {
        canvas.Brush().SetColor(k.Triangle.Color);
        if (blend) blend->CaptureBackground(PointsEnclosingRect(k.Triangle.Points, 3));
        canvas.DrawPolygonPoints(k.Triangle.Points);
        if (blend) blend->BlendOver(FTransparency);
        FSorted.push_back(k.Triangle);
        FDrawnOrder.push_back(k.Triangle.Number);
    }
}

void TCustomTriSurfaceSeries::PaintBorder()
{
    TCanvas3D& canvas = ParentChart()->ChartCanvas();
    canvas.SelectPen(*FBorder);
    const std::vector<int>& b = FTriangulation.Borders;
    for (std::size_t s = 0; s + 2 < b.size(); s += 3) {
        const int p0 = FTriangulation.PointOf[static_cast<std::size_t>(b[s])];
        const int p1 = FTriangulation.PointOf[static_cast<std::size_t>(b[s + 1])];
        canvas.MoveToPoint3D({ScreenXOf(p0), ScreenYOf(p0), ZScreenPosition(p0)});
        canvas.LineToPoint3D({ScreenXOf(p1), ScreenYOf(p1), ZScreenPosition(p1)});
    }
}

void TCustomTriSurfaceSeries::PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position)
{
    Marks().SetZPosition(ZScreenPosition(Index));
    Marks().DrawMarkCallout(Position);
    TCustom3DPaletteSeries::PaintMark(Index, Text, Position);
}

int TCustomTriSurfaceSeries::PointAtPixel(int X, int Y) const
{
    for (auto it = FSorted.rbegin(); it != FSorted.rend(); ++it)
        if (PolygonContainsPoint({X, Y}, it->Points, 2)) return it->Number;
    TCustomAxisPanel* chart = ParentChart();
    if (!FSorted.empty() || !chart || !GetHorizAxis() || !GetVertAxis()) return -1;
    TCanvas3D& canvas = chart->ChartCanvas();
    for (int t = 1; t <= TriangleCount(); ++t) {
        const TPoint p[3] = {canvas.ProjectPoint3D(VertexOf(t, 0)), canvas.ProjectPoint3D(VertexOf(t, 1)),
                             canvas.ProjectPoint3D(VertexOf(t, 2))};
        if (PolygonContainsPoint({X, Y}, p, 2)) return t;
    }
    return -1;
}

void TCustomTriSurfaceSeries::ListGalleryStyles(const TGalleryStyleCallback& Callback) const
{
    TCustom3DPaletteSeries::ListGalleryStyles(Callback);
    Callback(LumProCo::Wireframe);
    Callback(LumProCo::NoLine);
    Callback(LumProCo::Border);
}

void TCustomTriSurfaceSeries::ApplyGalleryStyle(TChartSeries* Series, int Index)
{
    auto* s = dynamic_cast<TCustomTriSurfaceSeries*>(Series);
    if (s && Index == 2)
        s->Brush().SetStyle(bsClear);
    else if (s && Index == 3)
        s->Pen().SetVisible(false);
    else if (s && Index == 4)
        s->Border().SetVisible(true);
    else
        TCustom3DPaletteSeries::ApplyGalleryStyle(Series, Index);
}

void TCustomTriSurfaceSeries::AddRandomSampleValues(int Count, bool)
{
    for (int i = 0; i < std::max(Count, 3); ++i) {
        const double x = RandomBelow(1000) * 0.001;
        const double z = RandomBelow(1000) * 0.001;
        const double e = std::exp(z);
        AppendXYZ(x, e * e * std::cos(x * z), z);
    }
}

void TCustomTriSurfaceSeries::PrepareForGallery(bool Coloured)
{
    TCustom3DPaletteSeries::PrepareForGallery(Coloured);
    FillSampleValues(0);
}

void LumTriSurfaceInitialization()
{
    RegisterSeries(TTriSurfaceSeries::StaticClassInfo(), LumProCo::TriangleSurface, LumProCo::Gallery3D, 1);
}

void LumTriSurfaceFinalization() { UnregisterSeriesClasses({&TTriSurfaceSeries::StaticClassInfo()}); }
