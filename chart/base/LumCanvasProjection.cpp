// The projection of the 3-D canvas and its approximate inverse.
#include "chart/base/LumCanvas3D.h"

#include "platform/rtl/PixelMath.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr long double DegToRad = 0.017453292519943295L;

// A projected offset rounded to its pixel, then moved to the origin (in that order, as every pixel of
// the projection is), brought into the int range when an offset or zoom of a stored view is absurd.
int Shifted(double Offset, int Origin) { return ClampedPixel(std::int64_t(PixelFromReal(Offset)) + Origin); }
} // namespace

void TLumProjection::Setup(const TView3DOptions* options, bool view3D)
{
    View3D = view3D;
    Orthogonal = false;
    Zoom = 1.0;
    if (view3D && options) {
        Orthogonal = options->Orthogonal();
        if (Orthogonal) {
            double a = options->OrthoAngle();
            if (a > 90) {
                KX = -1;
                a = 180 - a;
            } else {
                KX = 1;
            }
            const double rad = a * static_cast<double>(DegToRad);
            // Near 90 degrees the tangent explodes; the depth then runs straight up.
            KY = std::cos(rad) < 0.01 ? 1.0 : std::tan(rad);
        }
        Zoom = options->Zoom() * 0.01;
        ZoomText = options->ZoomText();
    }
    if (view3D) {
        if (!Orthogonal) ComputeRotationTerms(options);
        PerspectiveOn = false;
        PerspectiveFactor = 0;
    }
}

void TLumProjection::ComputeRotationTerms(const TView3DOptions* options)
{
    const long double e = options ? -static_cast<long double>(options->Elevation()) * DegToRad : 0.0L;
    const long double r = options ? -static_cast<long double>(options->Rotation()) * DegToRad : 0.0L;
    const long double t = options ? options->Tilt() * DegToRad : 0.0L;
    SinE = std::sin(e);
    CosE = std::cos(e);
    SinR = std::sin(r);
    CosR = std::cos(r);
    SinT = std::sin(t);
    CosT = std::cos(t);
    Tilted = options && options->Tilt() != 0;
    A1 = static_cast<double>(CosR * SinT);
    A2 = std::max(static_cast<double>(CosR * CosT), 1e-5);
    A3 = std::max(static_cast<double>(SinE * SinR * SinT + CosE * CosT), 1e-5);
    A4 = static_cast<double>(CosT * SinE * SinR - CosE * SinT);
    A5 = static_cast<double>(CosE * SinR * SinT - CosT * SinE);
    A6 = static_cast<double>(CosE * CosT * SinR + SinE * SinT);
}

void TLumProjection::SetCentre(int depth, const TRect& chartRect, const TView3DOptions* options)
{
    // Halves truncated toward zero, as for any rectangle's midpoint.
    CX = static_cast<int>((static_cast<long long>(chartRect.Left) + chartRect.Right) / 2);
    CY = static_cast<int>((static_cast<long long>(chartRect.Top) + chartRect.Bottom) / 2);
    CZ = PixelFromReal(depth * 0.5);
    OX = CX;
    OY = CY;
    if (options) {
        OX = ClampedPixel(std::int64_t(OX) + options->HorizOffset());
        OY = ClampedPixel(std::int64_t(OY) + options->VertOffset());
        ComputePerspectiveFactor(options, chartRect);
    }
}

void TLumProjection::ComputePerspectiveFactor(const TView3DOptions* options, const TRect& chartRect)
{
    if (!options) return;
    PerspectiveOn = options->Perspective() > 0;
    PerspectiveFactor = options->Perspective() * Zoom / 150.0 / std::max(chartRect.Right - chartRect.Left, 1);
}

TPoint TLumProjection::Project(int x, int y, int z) const
{
    if (!View3D) return {x, y};
    if (Orthogonal)
        return {Shifted((double(x) - CX + z * KX) * Zoom, OX), Shifted((double(y) - CY - z * KY) * Zoom, OY)};
    return ProjectReal(x, y, z);
}

TPoint TLumProjection::ProjectReal(double x, double y, int z) const
{
    if (!View3D) return {PixelFromReal(x), PixelFromReal(y)};
    if (Orthogonal)
        return {Shifted((x - CX + z * KX) * Zoom, OX), Shifted((y - CY - z * KY) * Zoom, OY)};
    const long double xr = x - CX;
    const long double yr = y - CY;
    const long double zr = static_cast<long double>(z) - CZ;
    const long double t = zr * CosR - xr * SinR;
    long double g = Zoom;
    if (PerspectiveOn) g = Zoom / ((CosE * t + yr * SinE) * PerspectiveFactor + 1);
    const long double u = xr * CosR + zr * SinR;
    const long double v = yr * CosE - SinE * t;
    // With no tilt CosT is 1 and SinT 0, so the tilted form gives the plain one.
    return {Shifted(static_cast<double>((CosT * u - SinT * v) * g), OX),
            Shifted(static_cast<double>((CosT * v + SinT * u) * g), OY)};
}

void TLumProjection::Unproject(int& x, int& y, int z) const
{
    if (!View3D || Zoom == 0) return;
    const double k = 1.0 / Zoom;
    const double sx = x, sy = y;
    if (Orthogonal) {
        x = Shifted(k * (sx - OX) - z * KX, CX);
        y = Shifted(k * (sy - OY) + z * KY, CY);
        return;
    }
    const double dz = double(z) - CZ;
    x = Shifted((k * (sx - OX) - dz * A5 - (sy - CY) * A1) / A3, CX);
    y = Shifted((k * (sy - OY) - dz * A6 - (sx - CX) * A4) / A2, CY);
}
