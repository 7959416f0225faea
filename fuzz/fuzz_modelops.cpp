// Fuzz target of the model operations on a model read from a file: the input is a model block, and the
// bytes after its end line are a script of the edits the model chart makes on a loaded model (box changes
// with frame rebuilds, surface-node drags, picks, moved-node checks, uncoupling, deleting sub-polygons,
// pruning the host ring). An operation may refuse; nothing may raise, and a model it accepts must keep the
// structure the next operation relies on.
#include "core/PolyModelBlock.h"
#include "core/Polygons.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <string_view>

namespace {

constexpr double PixelsX = 4.0; // screen scales of the model chart
constexpr double PixelsZ = 6.0;

// Reads the script bytes in turn; zeros once they run out.
class TScript {
public:
    explicit TScript(std::string_view bytes) : FBytes(bytes) {}
    bool More() const { return FPos < FBytes.size(); }
    unsigned Byte() { return FPos < FBytes.size() ? static_cast<unsigned char>(FBytes[FPos++]) : 0u; }
    int Index(int count) { return count > 0 ? static_cast<int>((Byte() << 8 | Byte()) % static_cast<unsigned>(count)) : 0; }
    // A signed fraction in [-1, 1].
    double Fraction() { return (static_cast<int>(Byte()) - 128) / 128.0; }

private:
    std::string_view FBytes;
    std::size_t FPos = 0;
};

void Fail() { std::abort(); }

// A random node; with `wanted`, one of those for which it holds when there is any.
template <class F>
int SomeNode(TScript& s, const TPolygonModel& m, F wanted)
{
    arofintM list;
    for (int v = 0; v < m.Nodes.Length(); ++v)
        if (wanted(v, m.Nodes[v])) list.push_back(v);
    return list.empty() ? s.Index(m.Nodes.Length()) : list[s.Index(list.Length())];
}

// A point near a node, as the user's cursor would be; the script prefers a frame node or a junction.
complexM NearSomeNode(TScript& s, const TPolygonModel& m)
{
    const unsigned kind = s.Byte() % 3;
    const int v = SomeNode(s, m, [kind](int, const TNode& n) {
        return kind == 0 || (kind == 1 && n.FrameCode != fcFree) || (kind == 2 && n.NodeClass == 1);
    });
    const double span = std::max(1e-6, m.ModelBox.XMax - m.ModelBox.XMin);
    return {m.Nodes[v].x + s.Fraction() * span * 0.02, m.Nodes[v].z + s.Fraction() * span * 0.02};
}

// The inside of a sub-polygon as a cursor finds it: the mean of its first three ring nodes.
complexM InsideSomeSub(TScript& s, const TPolygonModel& m)
{
    const int body = s.Index(m.Bodies.Length());
    const int sub = s.Index(m.Bodies[body].Length());
    const arofintM& ring = m.Bodies[body][sub].ring;
    const int n = std::min(3, ring.Length());
    complexM p{0, 0};
    for (int k = 0; k < n; ++k) {
        p.x += m.Nodes[ring[k]].x / n;
        p.z += m.Nodes[ring[k]].z / n;
    }
    return p;
}

arofintM FrameNodes(const Tnodes& nodes)
{
    arofintM frame;
    for (int v = 0; v < nodes.Length(); ++v)
        if (nodes[v].FrameCode >= fcLeft && nodes[v].FrameCode <= fcRight) frame.push_back(v);
    return frame;
}

// A new box around the old one, never cutting into the free nodes (as the chart bounds it).
bool ChangeBox(TScript& s, TPolygonModel& m)
{
    const NodesExtent free = FreeNodesExtent(m.Nodes);
    const double span = std::max(1.0, m.ModelBox.XMax - m.ModelBox.XMin);
    TModelBox box = m.ModelBox;
    const double xmin = box.XMin + s.Fraction() * span * 0.5, xmax = box.XMax + s.Fraction() * span * 0.5;
    const double zmax = box.ZMax + s.Fraction() * (box.ZMax - box.ZMin) * 0.5;
    if (xmin <= free.minX) box.XMin = xmin;
    if (xmax >= free.maxX) box.XMax = xmax;
    if (zmax >= free.maxZ) box.ZMax = zmax;
    if (!(box.XMin < box.XMax) || !(box.ZMin < box.ZMax)) return false;
    if (s.Byte() & 1) RebuildFrame(m.Relief, m.HasRelief, m.Bodies, m.Nodes, box, m.ModelBox);
    MoveFrameNodes(m.Nodes, box);
    if (!CheckMovedNodes(FrameNodes(m.Nodes), 0, m.Bodies, mcFull, m.Nodes)) return false;
    m.ModelBox = box;
    return true;
}

// A drag of a frame or surface node: constrained onto its side, then the surface run adjusted.
bool DragFrameNode(TScript& s, TPolygonModel& m)
{
    // Nodes added to the frame for layers lie after the ones the frame was built with.
    const arofintM& host = m.Bodies[0][0].ring;
    int built = 0;
    for (int k = host.Length() / 2; k < host.Length(); ++k) built = std::max(built, host[k]);
    const int v = SomeNode(s, m, [built](int v, const TNode& n) { return v > built && n.FrameCode != fcFree; });
    double x = m.Nodes[v].x + s.Fraction() * (m.ModelBox.XMax - m.ModelBox.XMin) * 0.2;
    double z = m.Nodes[v].z + s.Fraction() * (m.ModelBox.ZMax - m.ModelBox.ZMin) * 0.2;
    if (!ConstrainFrameNodeMove(v, m.Relief, m.HasRelief, m.Nodes, m.Bodies, z, x, m.ModelBox)) return false;
    m.Nodes[v].x = x;
    m.Nodes[v].z = z;
    if (m.Nodes[v].FrameCode == fcSurface) AdjustSurfaceNode(v, m.HasRelief, m.Bodies, m.Nodes);
    arofintM moved;
    moved.push_back(v);
    return CheckMovedNodes(moved, 0, m.Bodies, mcFull, m.Nodes);
}

// A drag of a picked body, sub-polygon or node, checked as the chart checks it.
bool DragPicked(TScript& s, TPolygonModel& m)
{
    arofintM list;
    bool moveFree = true;
    int body = 0;
    const unsigned what = s.Byte() % 3;
    if (what == 2) {
        const NodePick near = NearestNode(NearSomeNode(s, m), m.Nodes, PixelsX, PixelsZ);
        if (near.node < 0 || !FindBodyOfNode(near.node, body, m.Bodies)) return false;
        if (m.Nodes[near.node].FixedFlag || m.Nodes[near.node].FrameCode != fcFree) return false;
        list.push_back(near.node);
    } else {
        const SubPolygonPick pick = FindSubPolygonAt(m.Bodies, InsideSomeSub(s, m), m.Nodes);
        if (pick.body < 0) return false;
        body = pick.body;
        if (what == 0)
            CollectBodyNodes(true, body, m.Bodies, list, moveFree, m.Nodes);
        else
            CollectSubPolygonNodes(true, body, pick.sub, list, moveFree, m.Nodes, m.Bodies);
    }
    const double dx = s.Fraction() * 5, dz = s.Fraction() * 5;
    for (int v : list) {
        m.Nodes[v].x += dx;
        m.Nodes[v].z += dz;
    }
    arofintM shapes, shapeBodies, shapeSubs;
    CollectShapesOfNodes(list, body, m.Bodies, shapes, shapeBodies, shapeSubs);
    const int mode = static_cast<int>(s.Byte() % 3);
    return CheckMovedNodes(list, body, m.Bodies, mode, m.Nodes);
}

// The picks of the cursor, which change nothing.
bool Picks(TScript& s, TPolygonModel& m)
{
    const complexM p = NearSomeNode(s, m);
    FindSubPolygonAt(m.Bodies, p, m.Nodes);
    NearestNode(p, m.Nodes, PixelsX, PixelsZ);
    EdgePick edge, open;
    NearestEdge(p, m.Nodes, m.Bodies, PixelsX, PixelsZ, edge);
    NearestOpenEdge(p, m.Nodes, m.Bodies, PixelsX, PixelsZ, open);
    arofintM shapes, shapeBodies, shapeSubs;
    const int body = s.Index(m.Bodies.Length());
    ListBodyShapes(body, m.Bodies, shapes, shapeBodies, shapeSubs);
    ListSubPolygonShape(body, s.Index(m.Bodies[body].Length()), m.Bodies, shapes, shapeBodies, shapeSubs);
    return true;
}

bool UncouplePickedNode(TScript& s, TPolygonModel& m)
{
    const NodePick near = NearestNode(NearSomeNode(s, m), m.Nodes, PixelsX, PixelsZ);
    int body = 0;
    if (near.node < 0 || !FindBodyOfNode(near.node, body, m.Bodies)) return false;
    if (s.Byte() & 1) return UncoupleNode(near.node, body, m.Bodies, m.Nodes);
    const SubPolygonPick pick = FindSubPolygonAt(m.Bodies, InsideSomeSub(s, m), m.Nodes);
    if (pick.body != body) return false;
    return UncoupleNodeFromSubPolygon(near.node, pick.sub, body, m.Nodes, m.Bodies);
}

bool UncouplePickedSub(TScript& s, TPolygonModel& m)
{
    const SubPolygonPick pick = FindSubPolygonAt(m.Bodies, InsideSomeSub(s, m), m.Nodes);
    return pick.body >= 0 && UncoupleSubPolygon(pick.sub, pick.body, m.Bodies, m.Nodes);
}

bool DeletePickedSub(TScript& s, TPolygonModel& m)
{
    const SubPolygonPick pick = FindSubPolygonAt(m.Bodies, InsideSomeSub(s, m), m.Nodes);
    return pick.body >= 0 && DeleteSubPolygon(pick.sub, pick.body, m.Bodies, m.Nodes);
}

bool Prune(TScript&, TPolygonModel& m)
{
    PruneHostRing(m.Bodies, m.Nodes);
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TPolygonModel model;
    if (ReadModelBlock(text, model) != TModelBlockResult::Loaded) return 0;
    // The script: what follows the block's end line (the reader stops before it).
    const std::size_t end = text.rfind(ModelBlockEnd);
    TScript script(end == std::string_view::npos ? std::string_view() : text.substr(end + ModelBlockEnd.size()));

    using TOperation = bool (*)(TScript&, TPolygonModel&);
    static const TOperation operations[] = {ChangeBox,          DragFrameNode,     DragPicked, Picks,
                                            UncouplePickedNode, UncouplePickedSub, DeletePickedSub, Prune};
    constexpr int count = sizeof(operations) / sizeof(operations[0]);
    // Without a script every operation runs once, in order.
    for (int step = 0; step < 64 && (script.More() || step < count); ++step) {
        if (model.Nodes.Length() == 0 || model.Bodies.Length() == 0) Fail();
        const TOperation op = script.More() ? operations[script.Byte() % count] : operations[step];
        const TPolygonModel working = model;
        try {
            if (!op(script, model)) model = working;
        } catch (const std::exception&) {
            Fail();
        }
        if (!ModelStructureFault(model.Bodies, model.Nodes.Length()).empty()) Fail();
    }
    return 0;
}
