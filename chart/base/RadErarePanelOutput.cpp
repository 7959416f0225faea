// The chart panel's pictures and printouts: buffered and unbuffered drawing, bitmaps, metafiles, and
// printing into a rectangle of a page with its margins.
#include "chart/base/RadErarePanel.h"

#include "platform/controls/Screen.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Metafile.h"
#include "platform/graphics/Printers.h"
#include "platform/rtl/PixelMath.h"
#include "platform/rtl/Streams.h"

#include <algorithm>
#include <cmath>

namespace {

// Restores a flag (or runs any undo step) when the scope ends, also on an exception.
template <class F>
class TScopeExit {
public:
    explicit TScopeExit(F f) : FUndo(std::move(f)) {}
    ~TScopeExit() { FUndo(); }
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;

private:
    F FUndo;
};

TRect SortedRect(const TRect& r)
{
    return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right), std::max(r.Top, r.Bottom)};
}

} // namespace

// ---- Buffered and unbuffered drawing --------------------------------------------------------------------------

namespace {

// Draws the panel on a canvas with the chart canvas's buffering set for the call, keeping its bitmap,
// and restores both afterwards.
void DrawWithBuffering(TCustomLumPanel& panel, TCanvas& Canvas, const TRect& Rect, bool buffered)
{
    TCanvas3D& canvas = panel.ChartCanvas();
    auto* device = dynamic_cast<TLumCanvas3D*>(&canvas);
    const bool wasBuffered = canvas.IsBufferedDisplay();
    if (device) device->SetKeepBitmap(true);
    TScopeExit restore([&] {
        canvas.ChangeBufferedDisplay(wasBuffered);
        if (device) device->SetKeepBitmap(false);
        panel.Invalidate();
    });
    canvas.ChangeBufferedDisplay(buffered);
    panel.DrawOnCanvas(Canvas, Rect);
}

} // namespace

void TCustomLumPanel::DrawBuffered(TCanvas& Canvas, const TRect& Rect) { DrawWithBuffering(*this, Canvas, Rect, true); }

void TCustomLumPanel::DrawUnbuffered(TCanvas& Canvas, const TRect& Rect)
{
    DrawWithBuffering(*this, Canvas, Rect, false);
}

void TCustomLumPanel::DrawForMetafile(TCanvas& Canvas, const TRect& Rect)
{
    ChartCanvas().SetMetafileMode(true);
    TScopeExit restore([this] { ChartCanvas().SetMetafileMode(false); });
    DrawUnbuffered(Canvas, Rect);
}

bool TCustomLumPanel::ClippingAllowed() const
{
    if (ChartCanvas().HasOwnRenderer()) return false;
    const bool metafiling = ChartCanvas().MetafileMode();
    if (!FPrinting && !metafiling) return true;
    return (FPrinting && ClipWhenPrinting) || (metafiling && ClipWhenMetafiling);
}

void TCustomLumPanel::SelectBrushContrast(TColor Color, TChartBrush& Brush, TColor BackColor)
{
    if (Brush.Style() != bsSolid && Color == BackColor) Color = BackColor == clBlack ? clWhite : clBlack;
    ChartCanvas().SelectBrushColors(Brush, Color, BackColor);
}

// ---- Bitmaps --------------------------------------------------------------------------------------------------

std::unique_ptr<TBitmap> TCustomLumPanel::RenderToBitmap(TColor BackColor, const TRect& Rect, TPixelFormat PixelFormat)
{
    auto bitmap = std::make_unique<TBitmap>();
    if (PixelFormat == pf24bit) bitmap->SetIgnorePalette(true);
    bitmap->SetPixelFormat(ChartCanvas().HasOwnRenderer() ? pf24bit : PixelFormat);
    bitmap->SetSize(Rect.Width(), Rect.Height());
    if (BackColor != clWhite) {
        TCanvas& c = bitmap->Canvas();
        c.Brush().SetStyle(bsSolid);
        c.Brush().SetColor(BackColor);
        c.FillRect({0, 0, bitmap->Width(), bitmap->Height()});
    }
    DrawBuffered(bitmap->Canvas(), Rect);
    return bitmap;
}

std::unique_ptr<TBitmap> TCustomLumPanel::RenderBitmap() { return RenderToBitmap(Color(), ChartBounds(), pfDevice); }

void TCustomLumPanel::SaveBitmapFile(const std::string& FileName) { SaveBitmapFileRect(FileName, ChartBounds()); }

void TCustomLumPanel::SaveBitmapFileRect(const std::string& FileName, const TRect& Rect)
{
    RenderToBitmap(clWhite, Rect, pfDevice)->SaveToFile(FileName);
}

void TCustomLumPanel::AssignTo(TPicture& Dest)
{
    const std::unique_ptr<TBitmap> bitmap = RenderBitmap();
    Dest.SetGraphic(bitmap.get());
}

void TCustomLumPanel::AssignTo(TGraphic& Dest)
{
    const std::unique_ptr<TBitmap> bitmap = RenderBitmap();
    Dest.Assign(*bitmap);
}

// ---- Metafiles -------------------------------------------------------------------------------------------------

std::unique_ptr<TMetafile> TCustomLumPanel::RenderToMetafile(bool Enhanced, const TRect& Rect)
{
    auto metafile = std::make_unique<TMetafile>();
    metafile->SetWidth(std::max(1, Rect.Width()));
    metafile->SetHeight(std::max(1, Rect.Height()));
    metafile->SetEnhanced(Enhanced);
    {
        TMetafileCanvas canvas(*metafile, nullptr);
        DrawForMetafile(canvas, Rect);
    } // the recording closes here
    return metafile;
}

void TCustomLumPanel::SaveMetafileFile(const std::string& FileName)
{
    SaveMetafileFileRect(false, FileName, ChartBounds());
}

void TCustomLumPanel::SaveMetafileFileRect(bool Enhanced, const std::string& FileName, const TRect& Rect)
{
    const std::unique_ptr<TMetafile> metafile = RenderToMetafile(Enhanced, Rect);
    TFileStream stream(FileName, fmCreate);
    metafile->SaveToStream(stream);
}

// ---- Printing --------------------------------------------------------------------------------------------------

void TCustomLumPanel::PrintInRect(const TRect& Rect) { PrintOnCanvas(Printer()->Canvas(), Rect); }

TRect TCustomLumPanel::ScaleForPrintResolution(const TRect& Rect, int& LogicalX, int& LogicalY) const
{
    const TRect b = ChartBounds();
    const int rw = Rect.Width(), rh = Rect.Height();
    LogicalX = b.Width() - MulDiv(b.Width(), FPrintResolution, 100);
    LogicalY = b.Height() - MulDiv(b.Height(), FPrintResolution, 100);
    return {MulDiv(Rect.Left, LogicalX, rw), MulDiv(Rect.Top, LogicalY, rh), MulDiv(Rect.Right, LogicalX, rw),
            MulDiv(Rect.Bottom, LogicalY, rh)};
}

void TCustomLumPanel::PrintOnCanvas(TCanvas& Canvas, const TRect& Rect)
{
    const TRect device = SortedRect(Rect);
    if (device.IsEmpty()) return; // nothing to map a chart onto
    int logicalX = 0, logicalY = 0;
    TRect r = ScaleForPrintResolution(device, logicalX, logicalY);
    if (logicalX <= 0 || logicalY <= 0) return;

    // The chart is drawn in a logical space the size of the screen chart, stretched onto the rectangle.
    const int savedMapMode = Canvas.GetMapMode();
    Canvas.SetMapMode(MM_ANISOTROPIC);
    Canvas.SetWindowOrgEx(0, 0);
    Canvas.SetWindowExtEx(logicalX, logicalY);
    Canvas.SetViewportExtEx(device.Width(), device.Height());
    Canvas.SetViewportOrgEx(0, 0);
    bool clipped = false;
    TScopeExit restore([&] {
        FPrinting = false;
        if (clipped) Canvas.SelectClipRgn(nullptr);
        Canvas.SetMapMode(savedMapMode);
    });

    FPrinting = true;
    if (ClippingAllowed()) {
        Canvas.IntersectClipRect(r.Left, r.Top, r.Right, r.Bottom);
        clipped = true;
    }
    if (OnBeforePrint) OnBeforePrint(this, Canvas, r);
    DrawForMetafile(Canvas, r);
}

TRect ProportionalPrintMargins(int ChartWidth, int ChartHeight, double PageWidth, double PageHeight, double DpiRatio)
{
    const double w = ChartWidth, h = ChartHeight;
    // 0.7 is the share of the page that two margins of 15 percent leave.
    const auto margin = [](double page, double chartOnPage) {
        if (!(page > 0)) return 0;
        const int m = TruncFromReal(RoundHalfEven((page - chartOnPage) * 100 / page) / 2);
        return std::max(0, m);
    };
    if (w > h) {
        const int m = margin(PageHeight, 0.7 * PageWidth * (h / w) * DpiRatio);
        return {15, m, 15, m};
    }
    const int m = margin(PageWidth, 0.7 * PageHeight * (w / h) * DpiRatio);
    return {m, 15, m, 15};
}

TRect TCustomLumPanel::ProportionalMargins() const
{
    const TRect b = ChartBounds();
    try {
        const double ratio = static_cast<double>(Printer()->DpiX()) / Printer()->DpiY();
        return ProportionalPrintMargins(b.Width(), b.Height(), Printer()->PageWidth(), Printer()->PageHeight(), ratio);
    } catch (const EPrinter&) {
        return ProportionalPrintMargins(b.Width(), b.Height(), Screen->Width(), Screen->Height(), 1);
    }
}

TRect TCustomLumPanel::PrinterPageRect()
{
    if (FPrintProportional) FPrintMargins = ProportionalMargins();
    const double pw = Printer()->PageWidth(), ph = Printer()->PageHeight();
    const double dx = Printer()->DpiX(), dy = Printer()->DpiY();
    const auto part = [](int percent, double page, double dpi) {
        return PixelFromReal(percent * page * 0.01 / dpi * dpi);
    };
    return {part(FPrintMargins.Left, pw, dx), part(FPrintMargins.Top, ph, dy),
            static_cast<int>(pw) - part(FPrintMargins.Right, pw, dx),
            static_cast<int>(ph) - part(FPrintMargins.Bottom, ph, dy)};
}
