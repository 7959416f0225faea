// The 3-D projection of the device canvas: every point (x, y, z) in chart pixels and depth is projected
// to an integer screen point, obliquely (Orthogonal) or by rotation with optional tilt and perspective,
// with an approximate inverse. Kept apart from the canvas so its numbers can be checked on their own.
#pragma once

#include "chart/base/LumCanvasStyles.h"
#include "platform/graphics/GraphicsTypes.h"

struct TLumProjection {
    bool View3D = false;
    bool Orthogonal = false;
    int CX = 0, CY = 0, CZ = 0;          // rotation centre
    int OX = 0, OY = 0;                  // screen position of the centre
    double Zoom = 1.0;
    bool ZoomText = true;
    double KX = 0, KY = 0;               // oblique factors
    long double SinE = 0, CosE = 1;      // of -Elevation
    long double SinR = 0, CosR = 1;      // of -Rotation
    long double SinT = 0, CosT = 1;      // of +Tilt
    bool Tilted = false;
    bool PerspectiveOn = false;
    double PerspectiveFactor = 0;
    double A1 = 0, A2 = 1, A3 = 1, A4 = 0, A5 = 0, A6 = 0;   // inverse terms

    // The projection part of starting a drawing: View3D, the oblique factors and zoom, the rotation terms
    // unless oblique; the perspective waits for the centre.
    void Setup(const TView3DOptions* options, bool view3D);
    void ComputeRotationTerms(const TView3DOptions* options);
    // The centre from ChartRect and the depth, the screen offsets, and the perspective.
    void SetCentre(int depth, const TRect& chartRect, const TView3DOptions* options);
    void ComputePerspectiveFactor(const TView3DOptions* options, const TRect& chartRect);

    TPoint Project(int x, int y, int z) const;
    // The same with real x and y (the tilt terms always applied).
    TPoint ProjectReal(double x, double y, int z) const;
    // Screen point back to x, y at depth z (perspective is not inverted); nothing when zoom is 0.
    void Unproject(int& x, int& y, int z) const;
};
