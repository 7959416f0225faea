// Fuzz target over the contoured section: scattered nodes or a grid made from the bytes go through the
// feeders' checks, the mesh, the value range, the levels and the rendering of bands and isolines. Bad
// input may be refused with an Exception; nothing else may go wrong, and every picture point that is
// drawn must come from a triangle of the section.
#include "core/SectionContour.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

struct TBytes {
    const std::uint8_t* Data;
    std::size_t Size, At = 0;
    std::uint8_t Byte() { return At < Size ? Data[At++] : 0; }
    // A number from two bytes; a few byte pairs stand for the values that test the edges.
    double Number()
    {
        const int v = Byte() | Byte() << 8;
        switch (v) {
        case 0xFFFF: return MissingValue;
        case 0xFFFE: return std::nan("");
        case 0xFFFD: return INFINITY;
        case 0xFFFC: return 1e300;
        case 0xFFFB: return -1e-300;
        default: return (v - 0x8000) / 64.0;
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TBytes in{data, size};
    TSectionData s;
    s.FPictureWidth = 2000;
    s.FPictureHeight = 1000;
    const std::uint8_t mode = in.Byte();
    s.FLevelCount = in.Byte() - 8;      // -8 ... 247: outside 1 ... 100 too
    s.FLogScale = (mode & 2) != 0;
    s.FShowIsolines = (mode & 4) == 0;
    s.FUseUserLimits = (mode & 8) != 0;
    s.FUserMin = in.Number();
    s.FUserMax = in.Number();
    try {
        if (mode & 1) {
            const int nx = 1 + in.Byte() % 24, nz = 1 + in.Byte() % 16;
            arofdoubleM x(nx), d(nz), relief((mode & 16) ? nx : 0);
            double at = in.Number();
            for (int j = 0; j < nx; ++j) x[j] = at += std::fabs(in.Number()) + (mode & 32 ? 0 : 0.5);
            at = in.Number();
            for (int k = 0; k < nz; ++k) d[k] = at += std::fabs(in.Number()) + (mode & 64 ? 0 : 0.5);
            for (int j = 0; j < relief.Length(); ++j) relief[j] = in.Number();
            ararofdoubleM v(nx);
            for (int j = 0; j < nx; ++j) {
                v[j].SetLength(nz);
                for (int k = 0; k < nz; ++k) v[j][k] = in.Number();
            }
            SetSectionGrid(s, x, d, v, relief, in.Byte() / 64.0);
        } else {
            const int n = in.Byte() + ((mode & 16) ? 256 : 0);
            arofdoubleM x(n), y(n), z(n);
            arofintM border(n);
            for (int i = 0; i < n; ++i) {
                x[i] = in.Number();
                y[i] = in.Number();
                z[i] = in.Number();
                border[i] = in.Byte() & 1;
            }
            SetSectionNodes(s, x, y, z, border);
        }
        RebuildSectionMesh(s, true);
    } catch (const Exception&) {
        return 0;
    }
    // The links must be mutual where they name a triangle that names one back.
    for (int t = 1; t <= s.FTriangleCount; ++t)
        for (int e = 0; e < 3; ++e)
            if (s.FTriangles[t].BorderEdge[e] != (s.FTriangles[t].Neighbour[e] == 0 ? 1 : 0)) std::abort();
    UpdateLevels(s);
    RenderSection(s);
    // A rebuild without mesh and the levels again, as the setup dialog's "Apply" does.
    RebuildSectionMesh(s, false);
    UpdateLevels(s);
    const TSectionPicture picture = RenderSection(s);
    for (const TSectionShape& shape : picture)
        if (shape.Points.empty()) std::abort();
    return 0;
}
