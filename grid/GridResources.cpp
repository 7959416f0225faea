// The pixels of the grid's bitmap resources, drawn by code: a key colour fills each bitmap first, so
// the automatic transparent colour (the bottom-left pixel) leaves only the control.
#include "grid/GridResources.h"

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/ResourceStore.h"

#include <mutex>

namespace {

constexpr TColor Key = 0xFF00FF;

TCanvas& Blank(TBitmap& b, int w, int h)
{
    b.SetPixelFormat(pf24bit);
    b.SetSize(w, h);
    TCanvas& c = b.Canvas();
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(Key);
    c.FillRect({0, 0, w, h});
    c.Pen().SetWidth(1);
    c.Pen().SetStyle(psSolid);
    b.SetTransparent(true);
    b.SetTransparentMode(tmAuto);
    return c;
}

// A tick three pixels thick through three points.
void Tick(TCanvas& c, TColor colour, int x0, int y0, int x1, int y1, int x2, int y2)
{
    c.Pen().SetColor(colour);
    for (int d = 0; d < 3; ++d) {
        const TPoint p[] = {{x0, y0 + d}, {x1, y1 + d}, {x2 + 1, y2 + d - 1}};
        c.Polyline(p, 3);
    }
}

// A check box: side `size`, box inset by `inset`, the border, face and tick colours.
void CheckBox(TBitmap& b, int size, int inset, bool checked, TColor border, TColor face, TColor tick)
{
    TCanvas& c = Blank(b, size, size);
    c.Pen().SetColor(border);
    c.Brush().SetColor(face);
    c.Rectangle(inset, inset, size - inset - 1, size - inset - 1);
    if (checked) {
        const int s = size - 2 * inset - 1;
        Tick(c, tick, inset + s / 4, inset + s / 2 - 1, inset + s / 2 - 1, inset + 3 * s / 4 - 2, inset + 3 * s / 4 + 1, inset + s / 4);
    }
}

void Radio(TBitmap& b, bool selected, TColor border, TColor face, TColor dot)
{
    TCanvas& c = Blank(b, 16, 16);
    c.Pen().SetColor(border);
    c.Brush().SetColor(face);
    c.Ellipse(1, 1, 14, 14);
    if (selected) {
        c.Pen().SetColor(dot);
        c.Brush().SetColor(dot);
        c.Ellipse(4, 4, 11, 11);
    }
}

// A square node box with a minus sign, and the vertical stroke of a plus when contracted.
void NodeBox(TBitmap& b, int size, int box, int top, bool contracted, TColor border, TColor face, TColor sign)
{
    TCanvas& c = Blank(b, size, size);
    const int left = (size - box) / 2;
    c.Pen().SetColor(border);
    c.Brush().SetColor(face);
    c.Rectangle(left, top, left + box, top + box);
    const int mid = box / 2;
    c.Pen().SetColor(sign);
    c.MoveTo(left + 2, top + mid);
    c.LineTo(left + box - 2, top + mid);
    if (contracted) {
        c.MoveTo(left + mid, top + 2);
        c.LineTo(left + mid, top + box - 2);
    }
}

void Filter(TBitmap& b)
{
    TCanvas& c = Blank(b, 16, 16);
    c.Pen().SetColor(0x404040);
    c.Brush().SetColor(0xE0E0E0);
    const TPoint funnel[] = {{2, 3}, {13, 3}, {9, 8}, {9, 13}, {6, 14}, {6, 8}};
    c.Polygon(funnel, 6);
}

struct TResource {
    const char* Name;
    void (*Draw)(TBitmap&);
};

const TResource Resources[] = {
    // Quarn check boxes, 20 x 20: checked, unchecked, checked disabled, unchecked disabled.
    {"ESGCHK01", [](TBitmap& b) { CheckBox(b, 20, 2, true, 0x404040, 0xF4F4F4, 0x800000); }},
    {"ESGCHK02", [](TBitmap& b) { CheckBox(b, 20, 2, false, 0x404040, 0xF4F4F4, 0x800000); }},
    {"ESGCHK03", [](TBitmap& b) { CheckBox(b, 20, 2, true, 0xA0A0A0, 0xE8E8E8, 0xA0A0A0); }},
    {"ESGCHK04", [](TBitmap& b) { CheckBox(b, 20, 2, false, 0xA0A0A0, 0xE8E8E8, 0xA0A0A0); }},
    // XP check boxes, 16 x 16, in the same order.
    {"ESGCHK05", [](TBitmap& b) { CheckBox(b, 16, 1, true, 0x80511C, 0xF4F4F4, 0x21A121); }},
    {"ESGCHK06", [](TBitmap& b) { CheckBox(b, 16, 1, false, 0x80511C, 0xF4F4F4, 0x21A121); }},
    {"ESGCHK07", [](TBitmap& b) { CheckBox(b, 16, 1, true, 0xC6C3B5, 0xFFFFFF, 0xCDCBC2); }},
    {"ESGCHK08", [](TBitmap& b) { CheckBox(b, 16, 1, false, 0xC6C3B5, 0xFFFFFF, 0xCDCBC2); }},
    // Quarn radio buttons, 16 x 16: selected, not selected, selected disabled, not selected disabled.
    {"ESGRAD01", [](TBitmap& b) { Radio(b, true, 0x404040, 0xF4F4F4, 0x800000); }},
    {"ESGRAD02", [](TBitmap& b) { Radio(b, false, 0x404040, 0xF4F4F4, 0x800000); }},
    {"ESGRAD03", [](TBitmap& b) { Radio(b, true, 0xA0A0A0, 0xE8E8E8, 0xA0A0A0); }},
    {"ESGRAD04", [](TBitmap& b) { Radio(b, false, 0xA0A0A0, 0xE8E8E8, 0xA0A0A0); }},
    // XP radio buttons, 16 x 16, in the same order.
    {"ESGRAD05", [](TBitmap& b) { Radio(b, true, 0x80511C, 0xF4F4F4, 0x21A121); }},
    {"ESGRAD06", [](TBitmap& b) { Radio(b, false, 0x80511C, 0xF4F4F4, 0x21A121); }},
    {"ESGRAD07", [](TBitmap& b) { Radio(b, true, 0xC6C3B5, 0xFFFFFF, 0xCDCBC2); }},
    {"ESGRAD08", [](TBitmap& b) { Radio(b, false, 0xC6C3B5, 0xFFFFFF, 0xCDCBC2); }},
    // Node glyphs: leaves 16 x 16, XP boxes 9 x 9.
    {"ESGLEAFCLOSE", [](TBitmap& b) { NodeBox(b, 16, 11, 2, true, 0x2E7D32, 0xE8F5E9, 0x1B5E20); }},
    {"ESGLEAFOPEN", [](TBitmap& b) { NodeBox(b, 16, 11, 2, false, 0x2E7D32, 0xE8F5E9, 0x1B5E20); }},
    {"XPNODEC", [](TBitmap& b) { NodeBox(b, 9, 8, 0, true, 0x998877, 0xF7F4F0, 0x000000); }},
    {"XPNODEO", [](TBitmap& b) { NodeBox(b, 9, 8, 0, false, 0x998877, 0xF7F4F0, 0x000000); }},
    {"ESGFILT", &Filter},
};

} // namespace

void RegisterGridResources()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (const TResource& r : Resources) RegisterBitmapResource(r.Name, r.Draw);
    });
}

bool LoadGridBitmap(const std::string& Name, TBitmap& Into)
{
    RegisterGridResources();
    return LoadBitmapResource(Name, Into);
}
