// Move checks, node collection and shape lists of the polygon model.
#include "core/PolygonsChecks.h"

#include "core/PolygonsGeometry.h"

#include <algorithm>

namespace {

bool Contains(const arofintM& list, int v) { return std::find(list.begin(), list.end(), v) != list.end(); }

bool IsLocked(const TNode& node) { return node.FixedFlag == 1 || node.FrameCode != 0; }

bool RingsKeepOrientation(int body, const AllSpolygon& bodies, const Tnodes& nodes)
{
    for (int s = 0; s < bodies[body].Length(); ++s) {
        if (body == 0 && s == 0) continue;
        if (NodeRingOrientation(bodies[body][s].ring, nodes)) return false;
    }
    return true;
}

bool MovedEdgeCrosses(int a, int b, int body, const AllSpolygon& bodies, int mode, const Tnodes& nodes)
{
    if (mode == mcFull)
        return NodeSegmentCrossesBody(a, b, body, nodes, bodies) ||
               SegmentCrossesOtherBodies(NodePoint(nodes, a), NodePoint(nodes, b), body, nodes, bodies);
    if (mode == mcOtherBodies) {
        if (nodes[a].NodeClass == 2 || nodes[b].NodeClass == 2) return false;
        return SegmentCrossesOtherBodies(NodePoint(nodes, a), NodePoint(nodes, b), body, nodes, bodies);
    }
    return false;
}

bool MovedEdgesCross(const arofintM& moved, int body, const AllSpolygon& bodies, int mode, const Tnodes& nodes)
{
    if (mode != mcFull && mode != mcOtherBodies) return false;
    for (const Polygon& sub : bodies[body]) {
        const arofintM& ring = sub.ring;
        for (int k = 0; k < ring.Length(); ++k) {
            const int a = ring[k], b = ring[(k + 1) % ring.Length()];
            if (!Contains(moved, a) && !Contains(moved, b)) continue;
            if (MovedEdgeCrosses(a, b, body, bodies, mode, nodes)) return true;
        }
    }
    return false;
}

void CollectFromRing(bool skipLocked, const arofintM& ring, arofintM& list, bool& moveFree, const Tnodes& nodes)
{
    for (int v : ring) {
        if (IsLocked(nodes[v])) moveFree = false;
        if (Contains(list, v) || (skipLocked && IsLocked(nodes[v]))) continue;
        list.push_back(v);
    }
}

void AppendShape(const AllSpolygon& bodies, int body, int sub, arofintM& shapes, arofintM& shapeBodies,
                 arofintM& shapeSubs)
{
    shapes.push_back(bodies[body][sub].properties[psShapeIndex].AsInteger());
    shapeBodies.push_back(body);
    shapeSubs.push_back(sub);
}

} // namespace

bool CheckMovedNodes(const arofintM& moved, int body, const AllSpolygon& bodies, int mode, const Tnodes& nodes)
{
    if (!RingsKeepOrientation(body, bodies, nodes)) return false;
    if (MovedEdgesCross(moved, body, bodies, mode, nodes)) return false;
    for (int other = 0; other < bodies.Length(); ++other)
        if (BodiesNested(body, other, bodies, nodes)) return false;
    return true;
}

void CollectBodyNodes(bool skipLocked, int body, const AllSpolygon& bodies, arofintM& list, bool& moveFree,
                      const Tnodes& nodes)
{
    list.clear();
    moveFree = true;
    for (const Polygon& sub : bodies[body]) CollectFromRing(skipLocked, sub.ring, list, moveFree, nodes);
}

void CollectSubPolygonNodes(bool skipLocked, int body, int sub, arofintM& list, bool& moveFree,
                            const Tnodes& nodes, const AllSpolygon& bodies)
{
    list.clear();
    moveFree = true;
    CollectFromRing(skipLocked, bodies[body][sub].ring, list, moveFree, nodes);
}

bool FindBodyOfNode(int node, int& body, const AllSpolygon& bodies)
{
    for (int b = 0; b < bodies.Length(); ++b)
        for (const Polygon& sub : bodies[b])
            if (Contains(sub.ring, node)) {
                body = b;
                return true;
            }
    return false;
}

void CollectShapesOfNodes(const arofintM& list, int body, const AllSpolygon& bodies, arofintM& shapes,
                          arofintM& shapeBodies, arofintM& shapeSubs)
{
    shapes.clear();
    shapeBodies.clear();
    shapeSubs.clear();
    for (int s = 0; s < bodies[body].Length(); ++s) {
        const arofintM& ring = bodies[body][s].ring;
        const bool uses = std::any_of(ring.begin(), ring.end(), [&](int v) { return Contains(list, v); });
        if (!uses || Contains(shapes, bodies[body][s].properties[psShapeIndex].AsInteger())) continue;
        AppendShape(bodies, body, s, shapes, shapeBodies, shapeSubs);
    }
}

void ListBodyShapes(int body, const AllSpolygon& bodies, arofintM& shapes, arofintM& shapeBodies,
                    arofintM& shapeSubs)
{
    shapes.clear();
    shapeBodies.clear();
    shapeSubs.clear();
    for (int s = 0; s < bodies[body].Length(); ++s) AppendShape(bodies, body, s, shapes, shapeBodies, shapeSubs);
}

void ListSubPolygonShape(int body, int sub, const AllSpolygon& bodies, arofintM& shapes, arofintM& shapeBodies,
                         arofintM& shapeSubs)
{
    shapes.clear();
    shapeBodies.clear();
    shapeSubs.clear();
    AppendShape(bodies, body, sub, shapes, shapeBodies, shapeSubs);
}
