// TSpeedButton: state, group behaviour and drawing through the canvas.
#include "platform/controls/Buttons.h"

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/SystemColors.h"

#include <algorithm>

const TClassInfo& TSpeedButton::StaticClassInfo()
{
    using P = TProps<TSpeedButton>;
    static const TClassInfo info({
        .Name = "TSpeedButton",
        .Parent = &TCustomControl::StaticClassInfo(),
        .Properties = {P::Text("Caption", &TSpeedButton::Caption, &TSpeedButton::SetCaption).Default(""),
                       P::Boolean("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat).Default(false),
                       P::Integer("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex).Default(0),
                       P::Boolean("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp).Default(false),
                       P::Boolean("Down", &TSpeedButton::Down, &TSpeedButton::SetDown).Default(false),
                       P::Enumeration("Layout", ButtonLayoutNames, &TSpeedButton::Layout, &TSpeedButton::SetLayout)
                           .Default(blGlyphLeft)},
        .Create = &CreateComponentOf<TSpeedButton>,
    });
    return info;
}

TSpeedButton::TSpeedButton(TComponent* AOwner) : TCustomControl(AOwner), FGlyph(std::make_unique<TBitmap>())
{
    SetColor(clBtnFace);
    SetBounds(0, 0, 23, 22);
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetCaption(const std::string& v)
{
    if (FCaption == v) return;
    FCaption = v;
    Invalidate();
}

TBitmap& TSpeedButton::Glyph() { return *FGlyph; }

void TSpeedButton::SetGlyph(const TBitmap& v)
{
    FGlyph->Assign(v);
    Invalidate();
}

bool TSpeedButton::HasGlyph() const { return !FGlyph->Empty(); }

void TSpeedButton::SetLayout(TButtonLayout v)
{
    if (FLayout == v) return;
    FLayout = v;
    Invalidate();
}

void TSpeedButton::SetFlat(bool v)
{
    if (FFlat == v) return;
    FFlat = v;
    Invalidate();
}

void TSpeedButton::SetGroupIndex(int v)
{
    if (FGroupIndex == v) return;
    FGroupIndex = v;
    if (FGroupIndex == 0) SetDown(false);
    if (FDown) RaiseGroupSiblings();
}

void TSpeedButton::SetAllowAllUp(bool v) { FAllowAllUp = v; }

void TSpeedButton::SetDown(bool v)
{
    if (FGroupIndex == 0) v = false;
    if (v == FDown) return;
    if (FDown && !FAllowAllUp) return;
    FDown = v;
    if (FDown) RaiseGroupSiblings();
    Invalidate();
}

void TSpeedButton::RaiseGroupSiblings()
{
    if (FGroupIndex == 0 || !Parent()) return;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
        if (!other || other == this || other->FGroupIndex != FGroupIndex || !other->FDown) continue;
        other->FDown = false; // the group's rule, not the button's own AllowAllUp
        other->Invalidate();
    }
}

void TSpeedButton::Click() { TCustomControl::Click(); }

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled()) return;
    FPressed = true;
    Invalidate();
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || !FPressed) return;
    FPressed = false;
    const bool inside = X >= 0 && X < Width() && Y >= 0 && Y < Height();
    if (inside && FGroupIndex != 0) SetDown(!FDown);
    Invalidate();
    if (inside) Click();
}

void TSpeedButton::MouseEnter()
{
    TCustomControl::MouseEnter();
    if (!Enabled()) return;
    FMouseInControl = true;
    Invalidate();
}

void TSpeedButton::MouseLeave()
{
    TCustomControl::MouseLeave();
    FMouseInControl = false;
    Invalidate();
}

void TSpeedButton::EnabledChanged()
{
    if (!Enabled()) {
        FMouseInControl = false;
        FPressed = false;
    }
    Invalidate();
}

void TSpeedButton::Paint()
{
    TCanvas& c = Canvas();
    TRect r = ClientRect();
    const bool sunken = FDown || (FPressed && FMouseInControl);
    c.Brush().SetColor(Color());
    c.Brush().SetStyle(bsSolid);
    c.FillRect(r);
    if (sunken) {
        // A button held down shows a lighter face inside its sunken frame.
        if (FDown && !FPressed) {
            c.Brush().SetColor(clBtnHighlight);
            c.FillRect(r);
        }
        c.DrawEdge(r, FFlat ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
    } else if (!FFlat || (FMouseInControl && Enabled())) {
        c.DrawEdge(r, FFlat ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
    }

    // Glyph and caption centred together by the layout; shifted by a pixel while sunken.
    const int shift = sunken ? 1 : 0;
    c.Font().SetColor(Enabled() ? clBtnText : clGrayText);
    c.Brush().SetStyle(bsClear);
    const TSize text = FCaption.empty() ? TSize{0, 0} : c.TextExtent(FCaption);
    const int gw = HasGlyph() ? FGlyph->Width() : 0, gh = HasGlyph() ? FGlyph->Height() : 0;
    const int spacing = (gw > 0 && text.cx > 0) ? 4 : 0;
    const bool horizontal = FLayout == blGlyphLeft || FLayout == blGlyphRight;
    const int totalW = horizontal ? gw + spacing + text.cx : std::max(gw, text.cx);
    const int totalH = horizontal ? std::max(gh, text.cy) : gh + spacing + text.cy;
    const int left = (Width() - totalW) / 2 + shift, top = (Height() - totalH) / 2 + shift;
    int gx = left, gy = top + (totalH - gh) / 2, tx = left + gw + spacing, ty = top + (totalH - text.cy) / 2;
    switch (FLayout) {
    case blGlyphLeft: break;
    case blGlyphRight: tx = left; gx = left + text.cx + spacing; break;
    case blGlyphTop:
        gx = left + (totalW - gw) / 2; gy = top;
        tx = left + (totalW - text.cx) / 2; ty = top + gh + spacing;
        break;
    case blGlyphBottom:
        tx = left + (totalW - text.cx) / 2; ty = top;
        gx = left + (totalW - gw) / 2; gy = top + text.cy + spacing;
        break;
    }
    if (HasGlyph()) DrawGlyph(gx, gy);
    if (!FCaption.empty()) c.TextOut(tx, ty, FCaption);
}

// Enabled: the glyph without its transparent colour. Disabled: its shape embossed in the highlight and
// shadow colours.
void TSpeedButton::DrawGlyph(int x, int y)
{
    TCanvas& c = Canvas();
    const TBitmap& g = *FGlyph;
    const TColor transparent = g.PixelRGB(0, g.Height() - 1);
    if (Enabled()) {
        c.BrushCopy({x, y, x + g.Width(), y + g.Height()}, g, {0, 0, g.Width(), g.Height()}, transparent);
        return;
    }
    for (const auto& [dx, colour] : {std::pair{1, clBtnHighlight}, std::pair{0, clBtnShadow}})
        for (int j = 0; j < g.Height(); ++j)
            for (int i = 0; i < g.Width(); ++i)
                if (g.PixelRGB(i, j) != transparent) c.SetPixel(x + i + dx, y + j + dx, colour);
}
