// The contour series: cell contouring by triangles, joining segments into polylines, automatic levels,
// the level collection, drawing in 2-D and 3-D, smoothing, legend and the level click test.
#include "chart/series/LumSurfaContour.h"

#include "chart/base/RadErareUtils.h"
#include "chart/series/LumSpline.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cmath>
#include <limits>

// ---- One cell ----------------------------------------------------------------------------------------------

namespace {

int SignOf(double H) { return H > 0 ? 1 : (H < 0 ? -1 : 0); }

// The case of a triangle by 9 (s(A) + 1) + 3 (s(C) + 1) + (s(B) + 1).
constexpr int CaseTable[27] = {0, 0, 8, 0, 2, 5, 7, 6, 9, 0, 3, 4, 1, 3, 1, 4, 3, 0, 9, 6, 7, 5, 2, 0, 8, 0, 0};

// Where the level crosses the edge U-W (the heights have opposite signs).
TContourPoint Section(const TContourPoint& U, double HU, const TContourPoint& W, double HW)
{
    const double d = HW - HU;
    return {(HW * U.X - HU * W.X) / d, (HW * U.Z - HU * W.Z) / d};
}

} // namespace

bool ContourTriangleSegment(const TContourPoint& A, double HA, const TContourPoint& C, double HC, const TContourPoint& B,
                            double HB, TContourPoint& P1, TContourPoint& P2)
{
    switch (CaseTable[9 * (SignOf(HA) + 1) + 3 * (SignOf(HC) + 1) + (SignOf(HB) + 1)]) {
    case 1: P1 = A; P2 = C; return true;
    case 2: P1 = C; P2 = B; return true;
    case 3: P1 = B; P2 = A; return true;
    case 4: P1 = A; P2 = Section(C, HC, B, HB); return true;
    case 5: P1 = C; P2 = Section(B, HB, A, HA); return true;
    case 6: P1 = B; P2 = Section(A, HA, C, HC); return true;
    case 7: P1 = Section(A, HA, C, HC); P2 = Section(C, HC, B, HB); return true;
    case 8: P1 = Section(C, HC, B, HB); P2 = Section(B, HB, A, HA); return true;
    case 9: P1 = Section(B, HB, A, HA); P2 = Section(A, HA, C, HC); return true;
    default: return false;
    }
}

void ContourCell(double XA, double XB, double ZA, double ZB, const double Y[4], double Level,
                 const std::function<void(const TContourPoint&, const TContourPoint&)>& Segment)
{
    const TContourPoint v[5] = {{(XA + XB) * 0.5, (ZA + ZB) * 0.5}, {XA, ZA}, {XB, ZA}, {XB, ZB}, {XA, ZB}};
    const double h[5] = {(Y[0] + Y[1] + Y[2] + Y[3]) * 0.25 - Level, Y[0] - Level, Y[1] - Level, Y[2] - Level,
                         Y[3] - Level};
    for (int m = 1; m <= 4; ++m) {
        const int b = m == 4 ? 1 : m + 1;
        TContourPoint p1, p2;
        if (ContourTriangleSegment(v[m], h[m], v[0], h[0], v[b], h[b], p1, p2)) Segment(p1, p2);
    }
}

// ---- Joining -----------------------------------------------------------------------------------------------

namespace {
double CityBlock(const TContourPoint& A, const TContourPoint& B) { return std::fabs(A.X - B.X) + std::fabs(A.Z - B.Z); }
bool Coincide(const TContourPoint& A, const TContourPoint& B)
{
    return std::fabs(A.X - B.X) <= TContourJoiner::Tolerance && std::fabs(A.Z - B.Z) <= TContourJoiner::Tolerance;
}
} // namespace

long long TContourJoiner::Bucket(double V)
{
    // Far-off coordinates share the outermost buckets: the ends found are still checked exactly.
    const double b = std::floor(V / (2 * Tolerance));
    return static_cast<long long>(std::clamp(b, -1e15, 1e15));
}

TContourJoiner::TKey TContourJoiner::KeyOf(long long BX, long long BZ)
{
    return static_cast<TKey>(BX) * 0x9E3779B97F4A7C15ULL ^ static_cast<TKey>(BZ);
}

const TContourPoint& TContourJoiner::EndPoint(int Line, TEnd End) const
{
    const TLine& l = FLines[static_cast<std::size_t>(Line)];
    return End == eFirst ? l.Points.front() : l.Points.back();
}

void TContourJoiner::AddEnd(int Line, TEnd End)
{
    const TContourPoint& p = EndPoint(Line, End);
    FEnds[KeyOf(Bucket(p.X), Bucket(p.Z))].push_back({Line, End});
}

void TContourJoiner::RemoveEnd(int Line, TEnd End)
{
    const TContourPoint& p = EndPoint(Line, End);
    auto it = FEnds.find(KeyOf(Bucket(p.X), Bucket(p.Z)));
    if (it == FEnds.end()) return;
    auto& refs = it->second;
    for (std::size_t i = 0; i < refs.size(); ++i)
        if (refs[i].Line == Line && refs[i].End == End) {
            refs.erase(refs.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    if (refs.empty()) FEnds.erase(it);
}

template <class F>
void TContourJoiner::ForEndsNear(const TContourPoint& P, F&& Visit) const
{
    // Buckets are two tolerances wide: the ends within a tolerance (a little more, for rounding) of P lie
    // in one or two of them each way.
    const double reach = Tolerance * 1.001;
    const long long x0 = Bucket(P.X - reach), x1 = Bucket(P.X + reach);
    const long long z0 = Bucket(P.Z - reach), z1 = Bucket(P.Z + reach);
    for (long long bx = x0; bx <= x1; ++bx)
        for (long long bz = z0; bz <= z1; ++bz) {
            auto it = FEnds.find(KeyOf(bx, bz));
            if (it == FEnds.end()) continue;
            for (const TEndRef& r : it->second) Visit(r);
        }
}

void TContourJoiner::AddSegment(const TContourPoint& P1, const TContourPoint& P2)
{
    // The first polyline in list order that has an end within the tolerance of P1 or P2.
    int best = std::numeric_limits<int>::max();
    auto consider = [&](const TEndRef& r) {
        const TContourPoint& e = EndPoint(r.Line, r.End);
        if (r.Line < best && (CityBlock(P1, e) <= Tolerance || CityBlock(P2, e) <= Tolerance)) best = r.Line;
    };
    ForEndsNear(P1, consider);
    ForEndsNear(P2, consider);
    if (best == std::numeric_limits<int>::max()) {
        FLines.push_back({{P1, P2}, true});
        const int line = static_cast<int>(FLines.size()) - 1;
        AddEnd(line, eFirst);
        AddEnd(line, eLast);
        return;
    }
    TLine& l = FLines[static_cast<std::size_t>(best)];
    const double d[4] = {CityBlock(P1, l.Points.front()), CityBlock(P2, l.Points.front()), CityBlock(P1, l.Points.back()),
                         CityBlock(P2, l.Points.back())};
    const double least = *std::min_element(d, d + 4);
    int pair = 0;
    for (int k = 0; k < 4; ++k)
        if (d[k] <= Tolerance && d[k] <= least) pair = k; // the last qualifying pair
    if (pair < 2) {
        RemoveEnd(best, eFirst);
        l.Points.push_front(pair == 0 ? P2 : P1);
        AddEnd(best, eFirst);
        JoinEnds(best, eFirst);
    } else {
        RemoveEnd(best, eLast);
        l.Points.push_back(pair == 2 ? P2 : P1);
        AddEnd(best, eLast);
        JoinEnds(best, eLast);
    }
}

void TContourJoiner::JoinEnds(int Line, TEnd End)
{
    const TContourPoint e = EndPoint(Line, End);
    // The first other polyline in list order with an end on E; its first point before its last.
    int other = std::numeric_limits<int>::max();
    TEnd otherEnd = eFirst;
    ForEndsNear(e, [&](const TEndRef& r) {
        if (r.Line == Line || !Coincide(e, EndPoint(r.Line, r.End))) return;
        if (r.Line < other || (r.Line == other && r.End == eFirst)) {
            other = r.Line;
            otherEnd = r.End;
        }
    });
    if (other == std::numeric_limits<int>::max()) return;
    TLine& i = FLines[static_cast<std::size_t>(Line)];
    TLine& k = FLines[static_cast<std::size_t>(other)];
    RemoveEnd(Line, eFirst);
    RemoveEnd(Line, eLast);
    RemoveEnd(other, eFirst);
    RemoveEnd(other, eLast);
    if (End == eLast && otherEnd == eFirst)
        i.Points.insert(i.Points.end(), k.Points.begin() + 1, k.Points.end());
    else if (End == eFirst && otherEnd == eFirst)
        i.Points.insert(i.Points.begin(), k.Points.rbegin(), k.Points.rend() - 1);
    else if (End == eLast && otherEnd == eLast)
        i.Points.insert(i.Points.end(), k.Points.rbegin() + 1, k.Points.rend());
    else
        i.Points.insert(i.Points.begin(), k.Points.begin(), k.Points.end() - 1);
    k.Points.clear();
    k.Alive = false;
    AddEnd(Line, eFirst);
    AddEnd(Line, eLast);
}

TLevelSegments TContourJoiner::TakeSegments()
{
    TLevelSegments result;
    for (TLine& l : FLines)
        if (l.Alive) result.push_back({std::vector<TContourPoint>(l.Points.begin(), l.Points.end())});
    FLines.clear();
    FEnds.clear();
    return result;
}

// ---- Class descriptions ------------------------------------------------------------------------------------

namespace {

std::vector<TPropInfo> LevelProperties()
{
    using P = TProps<TContourLevel>;
    return {
        P::Colour("Color", &TContourLevel::Color, &TContourLevel::SetColor),
        P::Object("Pen", [](const TContourLevel& l) -> TPersistent* { return &const_cast<TContourLevel&>(l).Pen(); })
            .StoredWhen([](const TContourLevel& l) { return l.HasOwnPen(); }),
        P::Real("UpToValue", &TContourLevel::UpToValue, &TContourLevel::SetUpToValue),
    };
}

std::vector<TPropInfo> SmoothProperties()
{
    using P = TProps<TSmoothPoints>;
    return {P::Boolean("Active", &TSmoothPoints::Active, &TSmoothPoints::SetActive).Default(false),
            P::Boolean("Interpolate", &TSmoothPoints::Interpolate, &TSmoothPoints::SetInterpolate).Default(false)};
}

std::vector<TPropInfo> ContourProperties()
{
    using P = TProps<TContourSeries>;
    std::vector<TPropInfo> own{
        P::Boolean("ColorEachPoint", &TContourSeries::ColorEachPoint, &TContourSeries::SetColorEachPoint).Default(true),
        P::Boolean("AutomaticLevels", &TContourSeries::AutomaticLevels, &TContourSeries::SetAutomaticLevels).Default(true),
        P::Collection("Levels", [](const TContourSeries& s) -> TPersistent* { return &s.Levels(); })
            .StoredWhen([](const TContourSeries& s) { return !s.AutomaticLevels(); }),
        P::Integer("NumLevels", &TContourSeries::NumLevels, &TContourSeries::SetNumLevels).Default(10),
        P::Object("Pen", [](const TContourSeries& s) -> TPersistent* { return &s.Pen(); }),
        P::Object("Smoothing", [](const TContourSeries& s) -> TPersistent* { return &s.Smoothing(); }),
        P::Real("YPosition", &TContourSeries::YPosition, &TContourSeries::SetYPosition).Default(0.0),
        P::Boolean("YPositionLevel", &TContourSeries::YPositionLevel, &TContourSeries::SetYPositionLevel).Default(false),
    };
    return TCustom3DGridSeries::GridKindProperties(std::move(own), false, {"ColorEachPoint"});
}

} // namespace

const TClassInfo& TContourLevel::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TContourLevel",
                                  .Parent = &TCollectionItem::StaticClassInfo(),
                                  .Properties = LevelProperties()});
    return info;
}

const TClassInfo& TContourLevels::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TContourLevels", .Parent = &TCollection::StaticClassInfo()});
    return info;
}

const TClassInfo& TSmoothPoints::StaticClassInfo()
{
    static const TClassInfo info(
        {.Name = "TSmoothPoints", .Parent = &TPersistent::StaticClassInfo(), .Properties = SmoothProperties()});
    return info;
}

const TClassInfo& TContourSeries::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TContourSeries",
                                  .Parent = &TCustom3DGridSeries::StaticClassInfo(),
                                  .Properties = ContourProperties(),
                                  .Create = &CreateComponentOf<TContourSeries>});
    return info;
}

// ---- TContourLevel -----------------------------------------------------------------------------------------

TContourLevel::TContourLevel(TCollection* Collection) : TCollectionItem(Collection)
{
    if (Collection) FSeries = dynamic_cast<TContourSeries*>(Collection->Owner());
    LevelEdited();
}

TContourLevel::~TContourLevel()
{
    LevelEdited();
    if (FSeries && !FSeries->AutomaticLevels() && !FSeries->ClearingLevels()) FSeries->InvalidateChart();
}

void TContourLevel::LevelEdited()
{
    if (FSeries && !FSeries->ClearingLevels()) FSeries->DropAutomaticLevels();
}

void TContourLevel::Assign(const TPersistent& Source)
{
    if (const auto* l = dynamic_cast<const TContourLevel*>(&Source)) {
        SetColor(l->FColor);
        SetUpToValue(l->FUpToValue);
        SetPen(l->FPen.get());
        return;
    }
    TCollectionItem::Assign(Source);
}

void TContourLevel::SetColor(TColor Value)
{
    if (Value == FColor) return;
    LevelEdited();
    FColor = Value;
    if (FPen) FPen->SetColor(Value);
    if (FSeries) FSeries->InvalidateChart();
}

void TContourLevel::SetUpToValue(double Value)
{
    if (Value == FUpToValue) return;
    LevelEdited();
    FUpToValue = Value;
    if (FSeries) FSeries->InvalidateChart();
}

TChartPen& TContourLevel::Pen()
{
    if (!FPen) {
        FPen = FSeries ? FSeries->CreateChartPen() : std::make_unique<TChartPen>();
        FPen->SetColor(FColor);
    }
    return *FPen;
}

void TContourLevel::SetPen(const TChartPen* Value)
{
    if (Value) {
        Pen().Assign(*Value);
        return;
    }
    FPen.reset();
    if (FSeries) FSeries->InvalidateChart();
}

const TChartPen& TContourLevel::DrawPen() const { return FPen ? *FPen : FSeries->Pen(); }

// ---- TContourLevels ----------------------------------------------------------------------------------------

TContourLevels::TContourLevels(TContourSeries* Owner)
    : TCollection(Owner, TContourLevel::StaticClassInfo(), &CreateItemOf<TContourLevel>), FSeries(Owner)
{
}

int TContourLevels::Clicked(int X, int Y) const
{
    const TCustomAxisPanel* chart = FSeries->ParentChart();
    if (!chart) return -1;
    const bool in3D = chart->View3D();
    TCanvas3D& canvas = chart->ChartCanvas();
    int px = X, py = Y;
    if (!in3D) canvas.UnprojectPoint(px, py, FSeries->StartZ());
    const TPoint p{px, py};
    const TChartAxis* v = FSeries->GetVertAxis();
    for (int i = 0; i < Count(); ++i) {
        const TContourLevel& level = GetLevel(i);
        // In 3-D the lines are tested where they are drawn: at their height, projected at their depth.
        const int yp = in3D && v ? v->CalcYPosValue(FSeries->YPositionLevel() ? level.UpToValue() : FSeries->YPosition()) : 0;
        for (const TLevelSegment& s : level.Segments()) {
            std::vector<TPoint> pts = FSeries->ScreenPolyline(s);
            if (in3D)
                for (std::size_t k = 0; k < pts.size(); ++k)
                    pts[k] = canvas.ProjectXYZ(pts[k].x, yp, FSeries->ZPixel(s.Points[k].Z));
            for (std::size_t k = 1; k < pts.size(); ++k)
                if (IsPointNearLinePts(p, pts[k - 1], pts[k], 0)) return i;
        }
    }
    return -1;
}

// ---- TSmoothPoints -----------------------------------------------------------------------------------------

void TSmoothPoints::Assign(const TPersistent& Source)
{
    if (const auto* s = dynamic_cast<const TSmoothPoints*>(&Source)) {
        FActive = s->FActive;
        return;
    }
    TPersistent::Assign(Source);
}

void TSmoothPoints::SetActive(bool Value)
{
    if (Value == FActive) return;
    FActive = Value;
    if (FSeries) FSeries->InvalidateChart();
}

void TSmoothPoints::SetInterpolate(bool Value)
{
    if (Value == FInterpolate) return;
    FInterpolate = Value;
    if (FSeries) FSeries->InvalidateChart();
}

std::vector<TPoint> TSmoothPoints::SmoothPoints(const std::vector<TPoint>& Points) const
{
    TBSpline spline;
    for (std::size_t i = 0; i < Points.size(); ++i) {
        spline.AddPoint(Points[i].x, Points[i].y);
        spline.SetKnuckle(static_cast<int>(i), false);
    }
    spline.SetInterpolated(FInterpolate);
    spline.SetFragments(static_cast<int>(std::min<std::size_t>(Points.size() * static_cast<std::size_t>(FFactor), 600)));
    const int fragments = std::max(spline.Fragments(), 0);
    std::vector<TPoint> result(static_cast<std::size_t>(fragments) + 1);
    for (int k = 0; k <= fragments; ++k) {
        const T2DPoint p = spline.EvaluateAt(fragments > 0 ? static_cast<double>(k) / fragments : 0.0);
        result[static_cast<std::size_t>(k)] = {PixelFromReal(p.X), PixelFromReal(p.Y)};
    }
    return result;
}

// ---- TContourSeries ----------------------------------------------------------------------------------------

TContourSeries::TContourSeries(TComponent* AOwner)
    : TCustom3DGridSeries(AOwner), FLevels(std::make_unique<TContourLevels>(this)),
      FSmoothing(std::make_unique<TSmoothPoints>(this))
{
    SetColorEachPoint(true);
}

TContourSeries::~TContourSeries()
{
    FSmoothing.reset();
    FClearingLevels = true;
    FLevels.reset();
}

void TContourSeries::Assign(const TPersistent& Source)
{
    if (const auto* s = dynamic_cast<const TContourSeries*>(&Source); s && s != this) {
        FAutomaticLevels = s->FAutomaticLevels;
        FLevels->Assign(*s->FLevels);
        FAutomaticLevels = s->FAutomaticLevels;
        FNumLevels = s->FNumLevels;
        FYPosition = s->FYPosition;
        FYPositionLevel = s->FYPositionLevel;
    }
    TCustom3DGridSeries::Assign(Source);
}

void TContourSeries::SetAutomaticLevels(bool Value)
{
    SetBooleanField(FAutomaticLevels, Value);
    if (Value) ClearLevels();
}

int TContourSeries::NumLevels() const { return FAutomaticLevels ? FNumLevels : FLevels->Count(); }

void TContourSeries::SetNumLevels(int Value)
{
    SetIntegerField(FNumLevels, Value);
    if (FAutomaticLevels) ClearLevels();
}

void TContourSeries::ClearLevels()
{
    const bool was = FClearingLevels;
    FClearingLevels = true;
    try {
        FLevels->Clear();
    } catch (...) {
        FClearingLevels = was;
        throw;
    }
    FClearingLevels = was;
}

void TContourSeries::CreateAutoLevels()
{
    if (!FAutomaticLevels || NumLevels() <= 0) return;
    const bool was = FClearingLevels;
    FClearingLevels = true;
    const TRepaintPause pause(ParentChart());
    try {
        const int n = NumLevels();
        const double lo = YValues().LowestValue();
        const double step = (YValues().HighestValue() - lo) / n;
        FLevels->Clear();
        for (int b = 0; b < n; ++b) {
            TContourLevel& level = FLevels->AddLevel();
            double value = lo + b * step;
            TColor colour;
            if (ColorEachPoint())
                colour = b < PointCount() && StoredPointColor(b) != clDefault ? PointColor(b) : clDefault;
            else
                colour = ValueColor(value);
            if (OnGetLevel) OnGetLevel(this, b, value, colour);
            level.SetUpToValue(value);
            level.SetColor(colour);
        }
    } catch (...) {
        FClearingLevels = was;
        throw;
    }
    FClearingLevels = was;
}

void TContourSeries::PrepareForDraw()
{
    TCustom3DGridSeries::PrepareForDraw();
    if (!FClearingLevels && FAutomaticLevels && NumLevels() > 0) CreateAutoLevels();
}

void TContourSeries::ContourLevels()
{
    const int count = FLevels->Count();
    if (PointCount() == 0 || count == 0) return;
    std::vector<double> values(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        values[static_cast<std::size_t>(i)] = FLevels->GetLevel(i).UpToValue();
        FLevels->GetLevel(i).Segments().clear();
    }
    // Hand-made levels may come in any order: the cells are pre-tested against the extreme values.
    const auto [lowest, highest] = std::minmax_element(values.begin(), values.end());
    const double minLevel = *lowest, maxLevel = *highest;
    std::vector<TContourJoiner> joiners(static_cast<std::size_t>(count));
    SetCellSteps(1, 1);
    const TChartValueList& xs = XValues();
    const TChartValueList& ys = YValues();
    const TChartValueList& zs = ZValues();
    for (int z = 1; z <= NumZValues() - 1; ++z)
        for (int x = 1; x <= NumXValues() - 1; ++x) {
            if (!GridCellCorners(x, z)) continue;
            const double y[4] = {ys.ValueAt(Corner0()), ys.ValueAt(Corner1()), ys.ValueAt(Corner2()), ys.ValueAt(Corner3())};
            const double lo = std::min({y[0], y[1], y[2], y[3]}), hi = std::max({y[0], y[1], y[2], y[3]});
            if (lo > maxLevel || hi < minLevel) continue;
            const double xA = xs.ValueAt(Corner0()), xB = xs.ValueAt(Corner1());
            const double zA = zs.ValueAt(Corner0()), zB = zs.ValueAt(Corner3());
            for (int i = 0; i < count; ++i) {
                const double v = values[static_cast<std::size_t>(i)];
                if (v < lo || v > hi) continue;
                TContourJoiner& joiner = joiners[static_cast<std::size_t>(i)];
                ContourCell(xA, xB, zA, zB, y, v,
                            [&](const TContourPoint& p1, const TContourPoint& p2) { joiner.AddSegment(p1, p2); });
            }
        }
    for (int i = 0; i < count; ++i) FLevels->GetLevel(i).Segments() = joiners[static_cast<std::size_t>(i)].TakeSegments();
}

int TContourSeries::ZPixel(double Z) const
{
    const TCustomAxisPanel* chart = ParentChart();
    if (!chart) return 0;
    if (chart->View3D()) return chart->DepthAxis().CalcPosValue(Z);
    return GetVertAxis() ? GetVertAxis()->CalcYPosValue(Z) : 0;
}

std::vector<TPoint> TContourSeries::ScreenPolyline(const TLevelSegment& Segment) const
{
    std::vector<TPoint> pts;
    const TChartAxis* h = GetHorizAxis();
    const TChartAxis* v = GetVertAxis();
    if (!h || !v) return pts;
    pts.reserve(Segment.Points.size());
    for (const TContourPoint& p : Segment.Points) pts.push_back({h->CalcXPosValue(p.X), v->CalcYPosValue(p.Z)});
    return pts;
}

void TContourSeries::PaintAllPoints()
{
    if (PointCount() == 0 || FLevels->Count() == 0 || !ParentChart()) return;
    ContourLevels();
    DrawLevels();
}

void TContourSeries::DrawLevels()
{
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& canvas = chart->ChartCanvas();
    const TChartAxis* h = GetHorizAxis();
    const TChartAxis* v = GetVertAxis();
    if (!h || !v) return;
    int yp = v->CalcYPosValue(FYPosition);
    canvas.WriteBackMode(TRANSPARENT);
    for (int i = 0; i < FLevels->Count(); ++i) {
        TContourLevel& level = FLevels->GetLevel(i);
        const TColor colour = level.Color() == clDefault ? chart->PaletteColorAt(i) : level.Color();
        canvas.SelectPenColor(level.DrawPen(), colour);
        if (FYPositionLevel) yp = v->CalcYPosValue(level.UpToValue());
        if (OnBeforeDrawLevel) OnBeforeDrawLevel(this, i);
        for (const TLevelSegment& s : level.Segments()) {
            if (s.Points.empty()) continue;
            if (chart->View3D()) {
                canvas.MoveToAtZ(h->CalcXPosValue(s.Points[0].X), yp, ZPixel(s.Points[0].Z));
                for (std::size_t k = 1; k < s.Points.size(); ++k)
                    canvas.LineToAtZ(h->CalcXPosValue(s.Points[k].X), yp, ZPixel(s.Points[k].Z));
            } else {
                std::vector<TPoint> pts = ScreenPolyline(s);
                if (FSmoothing->Active()) pts = FSmoothing->SmoothPoints(pts);
                canvas.DrawPolylinePoints(pts);
            }
        }
    }
}

void TContourSeries::AddRandomSampleValues(int Count, bool AsValues)
{
    TCustom3DGridSeries::AddRandomSampleValues(Count, AsValues);
    SetYPosition((YValues().HighestValue() + YValues().LowestValue()) * 0.5);
}

void TContourSeries::PrepareForGallery(bool Coloured)
{
    TCustom3DGridSeries::PrepareForGallery(Coloured);
    if (!Coloured) SetSeriesColor(0x808080);
}

void TContourSeries::ListGalleryStyles(const TGalleryStyleCallback& Callback) const
{
    TCustom3DGridSeries::ListGalleryStyles(Callback);
    Callback("Colors");
    Callback("Positions");
}

void TContourSeries::ApplyGalleryStyle(TChartSeries* Series, int Index)
{
    auto* contour = dynamic_cast<TContourSeries*>(Series);
    if (contour && Index == 2)
        contour->SetColorEachPoint(true);
    else if (contour && Index == 3)
        contour->SetYPositionLevel(true);
    else
        TCustom3DGridSeries::ApplyGalleryStyle(Series, Index);
}

int TContourSeries::LegendEntryCount() const { return FLevels->Count(); }

TColor TContourSeries::LegendColorOf(int Index) const
{
    const int k = LegendLevel(Index);
    if (k < 0 || k >= FLevels->Count()) return SeriesColor();
    const TColor c = FLevels->GetLevel(k).Color();
    if (c != clDefault) return c;
    return k < PointCount() ? PointColor(k) : SeriesColor();
}

std::string TContourSeries::LegendTextOf(int LegendIndex, TLegendTextStyle) const
{
    const int k = LegendLevel(LegendIndex);
    if (k < 0 || k >= FLevels->Count()) return {};
    return FormatFloat(ValueFormat(), FLevels->GetLevel(k).UpToValue());
}

double TContourSeries::HighestY()
{
    if (ParentChart() && ParentChart()->View3D()) return TCustom3DGridSeries::HighestY();
    return ZValues().HighestValue();
}

double TContourSeries::LowestY()
{
    if (ParentChart() && ParentChart()->View3D()) return TCustom3DGridSeries::LowestY();
    return ZValues().LowestValue();
}

int TContourSeries::PointAtPixel(int X, int Y) const { return FLevels->Clicked(X, Y); }
