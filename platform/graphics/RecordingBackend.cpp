// The recording device: every command kept with its call's name and arguments; fixed font metrics.

#include "platform/graphics/RecordingBackend.h"

#include "platform/graphics/Region.h"

#include <algorithm>

const char* CanvasOpName(TCanvasOp op)
{
    static const char* const names[] = {
        "SetPixel", "LineTo", "Polyline", "Polygon", "PolyPolygon", "Rectangle", "RoundRect", "Ellipse", "Arc",
        "ArcTo", "Pie", "Chord", "PolyBezier", "PolyBezierTo", "FillRect", "FrameRect", "FillRgn", "FrameRgn",
        "InvertRect", "PatBlt", "StrokePath", "FillPath", "StrokeAndFillPath", "TextOut", "BitBlt",
        "StretchBlt", "Draw", "StretchDraw", "DrawFrameControl"};
    const auto i = static_cast<std::size_t>(op);
    return i < sizeof(names) / sizeof(names[0]) ? names[i] : "?";
}

TRecordingBackend::TRecordingBackend(int width, int height, int dpi)
{
    FCaps.Width = width;
    FCaps.Height = height;
    FCaps.DpiX = FCaps.DpiY = dpi;
}

TRecordingBackend::TRecord& TRecordingBackend::Add(const std::string& kind, const TDeviceState& st)
{
    TRecord& r = Records.emplace_back();
    r.Kind = kind;
    r.HasClip = st.Clip != nullptr;
    if (st.Clip) r.ClipBox = st.Clip->Bounds();
    return r;
}

std::vector<const TRecordingBackend::TRecord*> TRecordingBackend::OfKind(const std::string& kind) const
{
    std::vector<const TRecord*> out;
    for (const TRecord& r : Records)
        if (r.Kind == kind) out.push_back(&r);
    return out;
}

void TRecordingBackend::DrawShape(const TShapeCommand& cmd)
{
    TRecord& r = Add(CanvasOpName(cmd.Op), cmd.State);
    r.Op = cmd.Op;
    r.Args = cmd.Args;
    r.Points = cmd.Points;
    r.Shape = cmd;
    r.Shape.State.Clip = nullptr;  // the region lives only during the call
}

void TRecordingBackend::DrawText(const TTextCommand& cmd)
{
    TRecord& r = Add(CanvasOpName(cmd.Op), cmd.State);
    r.Op = cmd.Op;
    r.Args = cmd.Args;
    r.Text = cmd.Text;
    r.Chars = cmd.Chars;
    r.TextCmd = cmd;
    r.TextCmd.State.Clip = nullptr;
}

void TRecordingBackend::DrawImage(const TImageCommand& cmd)
{
    TRecord& r = Add(CanvasOpName(cmd.Op), cmd.State);
    r.Op = cmd.Op;
    r.Args = cmd.Args;
    r.Image = cmd;
    r.Image.State.Clip = nullptr;
}

void TRecordingBackend::SetPixel(int x, int y, TColor rgb, const TRegion* clip)
{
    TDeviceState st;
    st.Clip = clip;
    TRecord& r = Add("SetPixel", st);
    r.Op = TCanvasOp::Pixel;
    r.Args = {x, y, rgb};
}

// The recorder reads as a white page.
TColor TRecordingBackend::GetPixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= FCaps.Width || y >= FCaps.Height) return CLR_INVALID;
    return 0xFFFFFF;
}

bool TRecordingBackend::ReadPixels(const TRect& rect, TPixelBuffer& out) const
{
    out.Width = std::max(0, rect.Width());
    out.Height = std::max(0, rect.Height());
    out.Alpha = false;
    out.Pixels.assign(static_cast<std::size_t>(out.Width) * out.Height, 0xFFFFFF);
    return true;
}

TDeviceFontMetrics TRecordingBackend::FontMetrics(const TDeviceFont& font) const
{
    const int h = std::max(1, font.PixelHeight);
    TDeviceFontMetrics m;
    m.Descent = h / 5;
    m.Ascent = h - m.Descent;
    m.Height = h;
    m.AveCharWidth = m.MaxCharWidth = std::max(1, h / 2);
    return m;
}

void TRecordingBackend::CharAdvances(const TDeviceFont& font, const std::u16string& text, std::vector<int>& advances) const
{
    ++MeasureCalls;
    MeasuredChars += text.size();
    advances.assign(text.size(), std::max(1, std::max(1, font.PixelHeight) / 2));
}
