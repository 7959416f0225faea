// Inside of TCanvas (internal): the device-context state, the saved states, the path being built, and
// the helpers the topic files share (coordinate transforms, realised pen, brush and font, command
// set-up).
#pragma once

#include "platform/graphics/Canvas.h"

#include <memory>
#include <optional>
#include <vector>

// Everything SaveDC keeps besides the selected objects.
struct TDCState {
    int Rop2 = R2_COPYPEN;
    int BkMode = OPAQUE;
    TColor BkColor = 0xFFFFFF;
    TColor TextColor = 0;
    unsigned TextAlign = 0;
    int CharExtra = 0;
    int PolyFillMode = ALTERNATE;
    int StretchMode = BLACKONWHITE;
    int ArcDirection = AD_COUNTERCLOCKWISE;
    TPoint BrushOrg;
    std::uint32_t CopyMode = SRCCOPY;
    int MapMode = MM_TEXT;
    TPoint WinOrg, VpOrg;
    TSize WinExt{1, 1}, VpExt{1, 1};
    int GraphicsMode = GM_COMPATIBLE;
    TXForm World;
    TPoint Pos;
    bool HasClip = false;
    TRegion Clip;                          // device pixels
};

struct TSavedDC {
    TDCState St;
    TPen Pen;
    TBrush Brush;
    TFont Font;
};

// A path between BeginPath and EndPath (Building), then held until used (Ready).
struct TPathState {
    enum { None, Building, Ready } Stage = None;
    TDevicePath Figures;                   // device coordinates
    bool FigureOpen = false;               // the last figure takes further lines
};

// An affine map x' = a x + c y + e, y' = b x + d y + f.
struct TAffine {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
    TPointF Map(double x, double y) const { return {a * x + c * y + e, b * x + d * y + f}; }
    bool AxisAligned() const { return b == 0 && c == 0; }
    bool Invert(TAffine& inv) const;
};

struct TCanvas::Impl {
    explicit Impl(TCanvas& owner) : Owner(owner) {}

    TCanvas& Owner;
    TDCState St;
    std::vector<TSavedDC> Saved;
    TPathState Path;
    bool Restoring = false;                // RestoreDC is putting objects back: no side effects
    // The pixels last read out of this canvas by a block transfer, kept for the next one of a like size
    // when nothing else holds them (a recording device may keep them).
    mutable std::shared_ptr<TPixelBuffer> TransferBuffer;

    // --- coordinates ---
    TAffine Transform() const;             // logical -> device
    TPointF ToDevice(double x, double y) const { return Transform().Map(x, y); }
    TPoint ToDeviceInt(int x, int y) const;
    // The same through a transform already made, for many points at once.
    static TPoint ToDeviceInt(const TAffine& t, int x, int y);
    TPointF ToLogical(double x, double y) const;
    double ScaleX() const;                 // device length of one logical unit along x
    double ScaleY() const;
    TDeviceCaps Caps() const;
    TRect DeviceRect() const;
    void FixIsotropic();

    // --- realised objects ---
    TDevicePen DevicePen() const;
    TDeviceBrush DeviceBrush(const TBrush& brush) const;
    TDeviceFont DeviceFont() const;
    TDeviceState DeviceState() const;      // Clip points into St.Clip
    const TRegion* ClipPtr() const { return St.HasClip ? &St.Clip : nullptr; }

    // --- commands ---
    // Sends a shape, or adds its outline to the path being built.
    void Emit(TShapeCommand& cmd, bool closedOutline);
    void EmitText(TTextCommand& cmd);

    // --- paths ---
    void PathMoveTo(TPointF p);
    void PathLineTo(TPointF p);
    void PathAddFigure(const std::vector<TPointF>& pts, bool closed);
    void ClipCombine(const TRegion& rgn, int mode);
};

// A resolved colour (system colours through the fixed table) as plain RGB.
TColor RgbOf(TColor c);
