// The polygon model's default property row and deep copies.
#include "core/Polygons.h"

PolygonProperties& DefaultPolygonProperties()
{
    static PolygonProperties row;
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
