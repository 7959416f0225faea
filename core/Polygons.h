// The polygon section model: nodes, sub-polygons and bodies, their property slots, the default property
// row of a model's owner and the deep copies. Geometry and topology operations on it live in the Polygon* units beside it.
#pragma once

#include "platform/rtl/DynArray.h"
#include "platform/rtl/Variant.h"

#include <cstdint>
#include <string>

// One node of the model. z is depth, positive downward.
struct TNode {
    double x = 0.0;
    double z = 0.0;
    std::uint8_t FixedFlag = 0;  // 1: fixed, moves of bodies leave it and it cannot be dragged
    std::int32_t NodeClass = 0;  // 0 outline once, 1 outline junction, 2 inner (see ClassifyNode)
    std::int32_t FrameCode = 0;  // 0 free, 1 left, 2 bottom-left, 3 bottom, 4 bottom-right, 5 right, 6 surface
    // Work fields of the boundary discretisation (position before the frame push); never copied or stored.
    double WorkX = 0.0;
    double WorkZ = 0.0;
};

using Tnodes = DynArray<TNode>;

// Slots of PolygonProperties.
enum PolygonSlot : int {
    psShapeIndex = 0,
    psBrushText = 1,
    psPenText = 2,
    psGradientText = 3,
    psFillColor = 4,
    psLabelText = 7,
    psLabelMode = 8,
    psResistivity = 10,
    psConductorType = 11,
};
inline constexpr int PolygonPropertyCount = 20;

// The 20 variant slots of a sub-polygon; indexing outside 0..19 raises ERangeError.
class PolygonProperties {
public:
    Variant& operator[](int i) { Check(i); return FSlots[i]; }
    const Variant& operator[](int i) const { Check(i); return FSlots[i]; }
    bool operator==(const PolygonProperties&) const = default;

private:
    static void Check(int i)
    {
        if (i < 0 || i >= PolygonPropertyCount) throw ERangeError();
    }
    Variant FSlots[PolygonPropertyCount];
};

// One sub-polygon: a closed ring of node indices and its properties.
struct Polygon {
    arofintM ring;
    PolygonProperties properties;
    bool operator==(const Polygon&) const = default;
};

using SPolygon = DynArray<Polygon>;     // the sub-polygons of one body
using AllSpolygon = DynArray<SPolygon>; // all bodies; body 0 sub-polygon 0 is the host (model frame)

// The row a model's owner hands to the creating calls for new sub-polygons, as it sets it at creation
// (the owner keeps it and may change it later): slot 0 = -1, slots 1-3 the given brush, pen
// and gradient style strings, 4 = 12632256 (silver), 7 = " ", 8 = 0 (integers); 10 = 10.0, 11 = 0.0,
// 12 and 13 = 1.0 (reals); slots 5, 6, 9 and 14-19 = "*".
PolygonProperties MakeDefaultPolygonProperties(const std::string& brushText, const std::string& penText,
                                               const std::string& gradientText);

// The model box: x from XMin to XMax, depth from ZMin (the top, 0) to ZMax (the bottom).
struct TModelBox {
    double XMin = 0.0;
    double XMax = 1000.0;
    double ZMin = 0.0;
    double ZMax = 100.0;
    bool operator==(const TModelBox&) const = default;
};

// The whole polygon model as its owner holds it and the model block of a survey file carries it.
struct TPolygonModel {
    AllSpolygon Bodies;
    Tnodes Nodes;
    double Rho0 = 0.0;             // host resistivity, ohm m
    double SecondModelValue = 0.0; // carried along; set to 0 before each forward run, read by nothing
    TModelBox ModelBox;
    bool HasRelief = false;        // the frame's top follows the relief
    arofcomplexM Relief;           // (x, depth below the highest relief point)
};

// Deep copies. Arrays are value types, so these equal plain assignment, except that CopyNodes and
// CopyNodeFields leave the work fields alone.
void CopyNodeFields(const TNode& source, TNode& dest);
void CopyNodes(const Tnodes& source, Tnodes& dest);
void CopyPolygon(const Polygon& source, Polygon& dest);
void CopySPolygon(const SPolygon& source, SPolygon& dest);
void CopyAllSpolygon(const AllSpolygon& source, AllSpolygon& dest);

// The operations on the model, by topic.
#include "core/PolygonsChecks.h"
#include "core/PolygonsCreate.h"
#include "core/PolygonsFrame.h"
#include "core/PolygonsGeometry.h"
#include "core/PolygonsInvariants.h"
#include "core/PolygonsPick.h"
#include "core/PolygonsTopology.h"
