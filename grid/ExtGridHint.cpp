// The grid's hint window: mini-markup measured and painted with the same wrapping, links in blue, no
// pictures, blinking text hidden.
#include "grid/ExtGridHint.h"

#include "grid/EsgHTMLE.h"
#include "platform/controls/Screen.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/SystemColors.h"

#include <algorithm>

namespace {

THTMLPaintParams HintParams(bool measure)
{
    THTMLPaintParams p;
    p.MeasureOnly = measure;
    p.WordWrap = true;
    p.URLColor = 0xFF0000;
    return p;
}

} // namespace

const TClassInfo& THTMLHintWindow::StaticClassInfo()
{
    static const TClassInfo info({.Name = "THTMLHintWindow", .Parent = &THintWindow::StaticClassInfo()});
    return info;
}

THTMLHintWindow::THTMLHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}

TRect THTMLHintWindow::CalcHintRect(int MaxWidth, const std::string& AHint)
{
    THTMLResult res;
    PaintHTMLText(Canvas(), AHint, {0, 0, MaxWidth, 0}, HintParams(true), res);
    return {0, 0, res.XSize, res.YSize};
}

void THTMLHintWindow::ActivateHint(TRect Rect, const std::string& AHint)
{
    THTMLResult res;
    PaintHTMLText(Canvas(), AHint, {Rect.Left, Rect.Top, Rect.Left + 1024 - 16, Rect.Top}, HintParams(true), res);
    FTextWidth = res.XSize;
    FTextHeight = res.YSize;
    Rect.Right = Rect.Left + FTextWidth + 16;
    Rect.Bottom = Rect.Top + FTextHeight + 4;
    if (Rect.Right > Screen->Width()) {
        Rect.Left = Screen->Width() - (Rect.Right - Rect.Left) - 2;
        Rect.Right = Rect.Left + FTextWidth + 16;
    }
    if (Rect.Bottom > Screen->Height()) {
        Rect.Bottom = Screen->Height() - 2;
        Rect.Top = Rect.Bottom - FTextHeight - 4;
    }
    THintWindow::ActivateHint(Rect, AHint);
}

// The text keeps the wrapping it was measured with, so a long hint shows all its lines.
void THTMLHintWindow::Paint()
{
    TCanvas& c = Canvas();
    const TRect client{0, 0, Width(), Height()};
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(Color());
    c.FillRect(client);
    c.Pen().SetWidth(1);
    c.Pen().SetColor(cl3DLight);
    const TPoint light[] = {{client.Left, client.Bottom - 2}, {client.Left, client.Top}, {client.Right - 1, client.Top}};
    c.Polyline(light, 3);
    c.Pen().SetColor(cl3DDkShadow);
    const TPoint dark[] = {{client.Left, client.Bottom - 1}, {client.Right - 1, client.Bottom - 1}, {client.Right - 1, client.Top - 1}};
    c.Polyline(dark, 3);
    const int top = client.Top + (client.Height() - FTextHeight) / 2;
    const TRect text{client.Left + 4, top, client.Right - 4, top + FTextHeight + 8};
    c.Brush().SetColor(Color());
    THTMLResult res;
    THTMLPaintParams p = HintParams(false);
    p.BlinkOn = false;
    PaintHTMLText(c, Caption(), text, p, res);
}
