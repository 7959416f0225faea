// Small polygon models for the tests of the model operations: a frame with or without relief, bodies
// drawn from point lists, and bodies of several sub-polygons laid out by hand.
#pragma once

#include "core/Polygons.h"
#include "core/PolygonsCreate.h"
#include "core/PolygonsFrame.h"
#include "core/PolygonsPick.h"

#include <initializer_list>
#include <vector>

namespace polytest {

struct Model {
    AllSpolygon bodies;
    Tnodes nodes;
    TModelBox box;
};

inline arofcomplexM PointArray(std::initializer_list<complexM> list) { return arofcomplexM(list); }

inline arofintM Ring(std::initializer_list<int> list) { return arofintM(list); }

// The property row of new sub-polygons as the model chart fills it (slot 0 -1, the others marked apart).
inline PolygonProperties DefaultProperties()
{
    PolygonProperties row;
    for (int i = 0; i < PolygonPropertyCount; ++i) row[i] = Variant("*");
    row[psShapeIndex] = Variant(-1);
    row[psFillColor] = Variant(12632256);
    row[psLabelText] = Variant(" ");
    row[psLabelMode] = Variant(0);
    row[psResistivity] = Variant(10.0);
    row[psConductorType] = Variant(0.0);
    return row;
}

// A model holding only the frame of the box (no relief unless given).
inline Model FrameModel(TModelBox box = {0, 100, 0, 50}, const arofcomplexM& relief = {}, bool hasRelief = false)
{
    Model m;
    m.box = box;
    SPolygon host;
    BuildFramePolygon(m.nodes, host, relief, hasRelief, box);
    m.bodies.push_back(host);
    return m;
}

// Appends a body of one sub-polygon drawn through the points; returns its index (-1 when refused).
inline int AddBody(Model& m, const arofcomplexM& points)
{
    if (!AddPolygon(points, m.bodies, m.nodes, DefaultProperties())) return -1;
    return m.bodies.High();
}

// Appends nodes at the points and a body whose rings index them (ring entries count from the first new
// node); classes are computed. Returns the body index.
inline int AddManualBody(Model& m, const arofcomplexM& points, std::initializer_list<arofintM> rings)
{
    const int base = m.nodes.Length();
    for (const complexM& p : points) {
        TNode node;
        node.x = p.x;
        node.z = p.z;
        m.nodes.push_back(node);
    }
    SPolygon body;
    for (const arofintM& r : rings) {
        Polygon sub;
        for (int v : r) sub.ring.push_back(base + v);
        sub.properties = DefaultProperties();
        body.push_back(sub);
    }
    m.bodies.push_back(body);
    ClassifyBodyNodes(m.bodies.High(), m.bodies, m.nodes);
    return m.bodies.High();
}

inline std::vector<int> ToVector(const arofintM& ring) { return std::vector<int>(ring.begin(), ring.end()); }

} // namespace polytest
