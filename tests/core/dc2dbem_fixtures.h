// Small models and surveys for the solver's tests, built directly in the model's and survey's types:
// a frame with or without a flat or shaped relief, free bodies, frame-attached top layers, and lines of
// electrodes with measurements between neighbours or against no electrode.
#pragma once

#include "core/DC2dBEM.h"
#include "core/Supermath2d.h"

#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace fixtures {

inline TNode Node(double x, double z, int frameCode = 0)
{
    TNode n;
    n.x = x;
    n.z = z;
    n.FrameCode = frameCode;
    return n;
}

inline PolygonProperties Properties(double rho, bool electronic)
{
    PolygonProperties p;
    p[psShapeIndex] = Variant(std::int32_t{-1});
    p[psResistivity] = Variant(rho);
    p[psConductorType] = Variant(electronic ? 0.0 : 10000.0);
    return p;
}

// The frame of the box [xmin, xmax] x [0, zmax]; with `relief` (x, depth) points strictly inside the
// box, the top follows them (corners at the interpolated depth) and HasRelief is set.
inline TPolygonModel FrameModel(double xmin, double xmax, double zmax, double rho0,
                                const std::vector<complexM>& relief = {})
{
    TPolygonModel m;
    m.Rho0 = rho0;
    m.ModelBox = {xmin, xmax, 0.0, zmax};
    m.HasRelief = !relief.empty();
    for (const complexM& p : relief) m.Relief.push_back(p);
    auto top = [&](double x) { return m.HasRelief ? InterpolateProfile(m.Relief, x) : 0.0; };
    m.Nodes = {Node(xmin, top(xmin), 1), Node(xmin, zmax, 2), Node(xmax, zmax, 4), Node(xmax, top(xmax), 5)};
    arofintM ring{0, 1, 2, 3};
    for (auto it = relief.rbegin(); it != relief.rend(); ++it) {
        if (it->x <= xmin || it->x >= xmax) continue;
        m.Nodes.push_back(Node(it->x, it->z, 6));
        ring.push_back(m.Nodes.High());
    }
    const int n = ring.Length();
    ring.push_back(0);
    for (int k = n - 1; k >= 1; --k) {
        const int node = ring[k]; // push_back of an own element would read it after a reallocation
        ring.push_back(node);
    }
    Polygon host;
    host.ring = ring;
    host.properties[psShapeIndex] = Variant(std::int32_t{-1});
    m.Bodies = {SPolygon{host}};
    return m;
}

// A new body with one sub-polygon through the given points (free nodes).
inline void AddBody(TPolygonModel& m, const std::vector<complexM>& points, double rho, bool electronic)
{
    Polygon p;
    for (const complexM& pt : points) {
        m.Nodes.push_back(Node(pt.x, pt.z));
        p.ring.push_back(m.Nodes.High());
    }
    p.properties = Properties(rho, electronic);
    m.Bodies.push_back(SPolygon{p});
}

inline std::vector<complexM> RegularPolygon(double x0, double z0, double R, int sides)
{
    std::vector<complexM> pts;
    for (int k = 0; k < sides; ++k) {
        const double a = 2.0 * std::numbers::pi * k / sides;
        pts.push_back({x0 + R * std::cos(a), z0 + R * std::sin(a)});
    }
    return pts;
}

inline std::vector<complexM> Rectangle(double x1, double z1, double x2, double z2)
{
    return {{x1, z1}, {x2, z1}, {x2, z2}, {x1, z2}};
}

// The host ring from its forward half (the outline from node 0): the half, node 0 again, the half
// backwards down to its second entry.
inline void SetHostOutline(TPolygonModel& m, const std::vector<int>& forward)
{
    arofintM ring;
    for (int node : forward) ring.push_back(node);
    ring.push_back(forward[0]);
    for (std::size_t k = forward.size() - 1; k >= 1; --k) ring.push_back(forward[k]);
    m.Bodies[0][0].ring = ring;
}

// A layer of body 0 in the top-left corner down to depth h and right to x = xRight: a node on the left
// side, a free corner node, and a surface node inserted into the ground run of the host outline.
inline void AddTopLeftLayer(TPolygonModel& m, double xRight, double h, double rho, bool electronic)
{
    const double top = m.HasRelief ? InterpolateProfile(m.Relief, xRight) : 0.0;
    m.Nodes.push_back(Node(m.ModelBox.XMin, h, 1));
    const int left = m.Nodes.High();
    m.Nodes.push_back(Node(xRight, top + h));
    const int corner = m.Nodes.High();
    m.Nodes.push_back(Node(xRight, top, 6));
    const int surface = m.Nodes.High();
    // Forward half: 0, left, 1, 2, 3, then the ground run by falling x with the new surface node.
    const arofintM& ring = m.Bodies[0][0].ring;
    std::vector<int> forward = {0, left, 1, 2, 3};
    int k = 4;
    while (ring[k] != 0 && m.Nodes[ring[k]].x > xRight) forward.push_back(ring[k++]);
    forward.push_back(surface);
    while (ring[k] != 0) forward.push_back(ring[k++]);
    SetHostOutline(m, forward);
    Polygon layer;
    layer.ring = {0, left, corner, surface};
    for (std::size_t j = std::find(forward.begin(), forward.end(), surface) - forward.begin() + 1; j < forward.size(); ++j)
        layer.ring.push_back(forward[j]);
    layer.properties = Properties(rho, electronic);
    m.Bodies[0].push_back(layer);
}

// A top layer of body 0 over the whole width down to depth h, on a frame without relief: nodes on the
// left and right sides are added to the host ring and the layer uses the top corners.
inline void AddTopLayer(TPolygonModel& m, double h, double rho, bool electronic)
{
    m.Nodes.push_back(Node(m.ModelBox.XMin, h, 1));
    const int left = m.Nodes.High();
    m.Nodes.push_back(Node(m.ModelBox.XMax, h, 5));
    const int right = m.Nodes.High();
    // Forward half 0, L, 1, 2, R, 3 and back.
    m.Bodies[0][0].ring = {0, left, 1, 2, right, 3, 0, 3, right, 2, 1, left};
    Polygon layer;
    layer.ring = {0, left, right, 3};
    layer.properties = Properties(rho, electronic);
    m.Bodies[0].push_back(layer);
}

// A survey of electrodes at the given x and depth below the ground (zraw), with the topography
// (x, elevation); measurement i runs from electrode i to i + 1, or to no electrode when `single`.
inline TSurveyState Survey(const std::vector<double>& xs, double rho0, const std::vector<double>& depths = {},
                           const std::vector<complexM>& topography = {}, bool single = false)
{
    TSurveyState s;
    s.StartResistivity = rho0;
    for (const complexM& p : topography) s.Topography.push_back(p);
    const double top = TopographyTop(s.Topography);
    for (std::size_t i = 0; i < xs.size(); ++i) {
        TElectrode e;
        e.x = xs[i];
        e.zraw = depths.empty() ? 0.0 : depths[i];
        const double g = s.Topography.empty() ? e.zraw : InterpolateProfile(s.Topography, e.x);
        e.z = s.Topography.empty() ? e.zraw : e.zraw + top - g;
        e.surface = !(e.zraw > 0.0);
        s.Electrodes.push_back(e);
    }
    arofdoubleM gaps;
    std::vector<double> sorted = xs;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    for (std::size_t i = 0; i + 1 < sorted.size(); ++i) gaps.push_back(sorted[i + 1] - sorted[i]);
    for (double x : sorted) s.ElectrodePositions.push_back(x);
    s.ScaleLength = sorted.size() > 1 ? RobustMean(gaps) : MissingValue;
    osource set;
    const int count = single ? static_cast<int>(xs.size()) : static_cast<int>(xs.size()) - 1;
    for (int i = 0; i < count; ++i) {
        set.P1.push_back(i);
        set.P2.push_back(single ? NoElectrode : i + 1);
        set.Observed.push_back(0.0);
        set.Calculated.push_back(0.0);
        set.Weight.push_back(1.0);
        set.ObservedPresent.push_back(false);
    }
    s.DataSets = {set};
    return s;
}

inline std::vector<double> Line(double x0, double step, int count)
{
    std::vector<double> xs;
    for (int i = 0; i < count; ++i) xs.push_back(x0 + step * i);
    return xs;
}

// The refined and oriented model handed over to a state of its own, as the entries do.
inline void HandOver(TSolverState& s, TSurveyState& survey, const TPolygonModel& model)
{
    AllSpolygon bodies;
    Tnodes nodes;
    DiscretizeModel(survey, model, bodies, nodes);
    OrientSolverRings(bodies, nodes);
    HandOverToSolver(s, survey, std::move(bodies), std::move(nodes), {});
}

// The inversion's model: an electronic body and an ionic body beside it under a line of surface
// electrodes (no relief).
struct TTwoBodies {
    TPolygonModel Model = FrameModel(-100, 100, 80, 100.0);
    TSurveyState Survey = fixtures::Survey(Line(-60, 5, 25), 100.0);

    TTwoBodies(double electronicRho, double ionicRho)
    {
        AddBody(Model, RegularPolygon(-8.0, 14.0, 6.0, 16), electronicRho, true);
        AddBody(Model, Rectangle(2.0, 6.0, 12.0, 30.0), ionicRho, false);
        Survey.Settings.numqp = 7;
        Survey.SourceA = 2.0;
        Survey.DataLoaded = true;
    }
};

inline const arofdoubleM& Calculated(const TSurveyState& s) { return s.DataSets[0].Calculated; }

inline double MaxAbs(const arofdoubleM& v)
{
    double m = 0.0;
    for (double x : v) m = std::max(m, std::fabs(x));
    return m;
}

} // namespace fixtures
