// The polygon model's default property row and deep copies.
#include "core/Polygons.h"

PolygonProperties MakeDefaultPolygonProperties(const std::string& brushText, const std::string& penText,
                                               const std::string& gradientText)
{
    PolygonProperties row;
    for (int i = 0; i < PolygonPropertyCount; ++i) row[i] = Variant("*");
    row[psShapeIndex] = Variant(std::int32_t(-1));
    row[psBrushText] = Variant(brushText);
    row[psPenText] = Variant(penText);
    row[psGradientText] = Variant(gradientText);
    row[psFillColor] = Variant(std::int32_t(12632256));
    row[psLabelText] = Variant(" ");
    row[psLabelMode] = Variant(std::int32_t(0));
    row[psResistivity] = Variant(10.0);
    row[psConductorType] = Variant(0.0);
    row[12] = Variant(1.0);
    row[13] = Variant(1.0);
    return row;
}

void CopyNodeFields(const TNode& source, TNode& dest)
{
    dest.x = source.x;
    dest.z = source.z;
    dest.FixedFlag = source.FixedFlag;
    dest.NodeClass = source.NodeClass;
    dest.FrameCode = source.FrameCode;
}

void CopyNodes(const Tnodes& source, Tnodes& dest)
{
    dest.SetLength(source.size());
    for (int i = 0; i < source.Length(); ++i) CopyNodeFields(source[i], dest[i]);
}

void CopyPolygon(const Polygon& source, Polygon& dest) { dest = source; }

void CopySPolygon(const SPolygon& source, SPolygon& dest) { dest = source; }

void CopyAllSpolygon(const AllSpolygon& source, AllSpolygon& dest) { dest = source; }
