// The bordered label's painting (border, insets, margins, vertical alignment of the text) and the UI kit's
// bitmap and screen helpers.
#include "ui/uiexctl.h"

#include "platform/controls/Screen.h"
#include "platform/graphics/Bitmap.h"

#include <algorithm>

const TClassInfo& TuiSuperLabel::StaticClassInfo()
{
    using P = TProps<TuiSuperLabel>;
    using L = TuiSuperLabel;
    static const TClassInfo info({
        .Name = "TuiSuperLabel",
        .Parent = &TCustomControl::StaticClassInfo(),
        .Properties = {P::Enumeration("Alignment", AlignmentNames, &L::Alignment, &L::SetAlignment).Default(taLeftJustify),
                       P::Text("Caption", &L::Caption, &L::SetCaption).Default(""),
                       P::Object("Font", [](const L& l) { return const_cast<TFont*>(&l.Font()); }),
                       P::Boolean("ShowAccelChar", &L::ShowAccelChar, &L::SetShowAccelChar).Default(true),
                       P::Boolean("Transparent", &L::Transparent, &L::SetTransparent).Default(false),
                       P::Colour("BorderColor", &L::BorderColor, &L::SetBorderColor).Default(clWindowFrame),
                       P::Enumeration("BorderStyle", BorderStyleNames, &L::BorderStyle, &L::SetBorderStyle).Default(bsNone),
                       P::Boolean("Ctl3D", &L::Ctl3D, &L::SetCtl3D).Default(true),
                       P::Integer("TopMargin", &L::TopMargin, &L::SetTopMargin).Default(0),
                       P::Integer("LeftMargin", &L::LeftMargin, &L::SetLeftMargin).Default(0),
                       P::Integer("RightMargin", &L::RightMargin, &L::SetRightMargin).Default(0),
                       P::Integer("BottomMargin", &L::BottomMargin, &L::SetBottomMargin).Default(0),
                       P::Enumeration("VerticalAlignment", uiVAlignmentNames, &L::VerticalAlignment, &L::SetVerticalAlignment)
                           .Default(vaTop),
                       P::Boolean("WordWrap", &L::WordWrap, &L::SetWordWrap).Default(false)},
        .Defaults = {{"Color", clBtnFace}},
        .Create = &CreateComponentOf<TuiSuperLabel>,
    });
    return info;
}

TuiSuperLabel::TuiSuperLabel(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetColor(clBtnFace);
    SetBounds(0, 0, 100, 25);
    FFont.OnChange = [this](TPersistent*) { Invalidate(); };
}

template <class T>
void TuiSuperLabel::Store(T& field, const T& value)
{
    if (field == value) return;
    field = value;
    Invalidate();
}

void TuiSuperLabel::SetCaption(const std::string& v) { Store(FCaption, v); }
void TuiSuperLabel::SetAlignment(TAlignment v) { Store(FAlignment, v); }
void TuiSuperLabel::SetShowAccelChar(bool v) { Store(FShowAccelChar, v); }
void TuiSuperLabel::SetTransparent(bool v) { Store(FTransparent, v); }
void TuiSuperLabel::SetWordWrap(bool v) { Store(FWordWrap, v); }
void TuiSuperLabel::SetBorderColor(TColor v) { Store(FBorderColor, v); }
void TuiSuperLabel::SetBorderStyle(TBorderStyle v) { Store(FBorderStyle, v); }
void TuiSuperLabel::SetCtl3D(bool v) { Store(FCtl3D, v); }
void TuiSuperLabel::SetVerticalAlignment(TuiVAlignment v) { Store(FVerticalAlignment, v); }

namespace {

int Margin(int v)
{
    if (v < 0 || v > 255) throw ERangeError();
    return v;
}

} // namespace

void TuiSuperLabel::SetTopMargin(int v) { Store(FTopMargin, Margin(v)); }
void TuiSuperLabel::SetLeftMargin(int v) { Store(FLeftMargin, Margin(v)); }
void TuiSuperLabel::SetRightMargin(int v) { Store(FRightMargin, Margin(v)); }
void TuiSuperLabel::SetBottomMargin(int v) { Store(FBottomMargin, Margin(v)); }

TColor TuiSuperLabel::OutsideColour() const { return Parent() ? Parent()->Color() : clBtnFace; }

void TuiSuperLabel::Insets(int& left, int& top, int& right, int& bottom) const
{
    left = top = right = bottom = 0;
    if (FBorderStyle != bsSingle) return;
    if (FCtl3D) {
        left = top = 2;
        right = bottom = 1;
    } else {
        left = top = right = bottom = 1;
    }
}

TRect TuiSuperLabel::TextRectangle() const
{
    TRect r = ClientRect();
    // A 3-D border leaves a rectangle one pixel smaller on the right and bottom before the insets.
    if (FBorderStyle == bsSingle && FCtl3D) {
        --r.Right;
        --r.Bottom;
    }
    int l, t, rt, b;
    Insets(l, t, rt, b);
    r.Top += FTopMargin + t;
    r.Left += FLeftMargin + l;
    r.Right -= FRightMargin + rt;
    r.Bottom -= FBottomMargin + b;
    if (r.Left >= r.Right) r.Right = r.Left;
    if (r.Top >= r.Bottom) r.Bottom = r.Top;
    return r;
}

void TuiSuperLabel::Paint() { PaintTo(Canvas()); }

void TuiSuperLabel::PaintTo(TCanvas& c)
{
    const int w = Width(), h = Height();
    const TColor outside = OutsideColour();
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(FTransparent ? outside : Color());
    c.FillRect({0, 0, w, h});
    if (FBorderStyle == bsSingle && FCtl3D) {
        TBrush light, dark;
        light.SetColor(clBtnHighlight);
        dark.SetColor(clBtnShadow);
        c.FrameRect({1, 1, w, h}, light);
        c.FrameRect({0, 0, w - 1, h - 1}, dark);
        // The sunken frame's corners blend into the surroundings.
        c.SetPixel(w - 1, 0, outside);
        c.SetPixel(0, h - 1, outside);
    } else if (FBorderStyle == bsSingle) {
        TBrush frame;
        frame.SetColor(FBorderColor);
        c.FrameRect({0, 0, w, h}, frame);
    }
    TRect text = TextRectangle();
    const int level = c.SaveDC();
    c.IntersectClipRect(text.Left, text.Top, text.Right, text.Bottom);
    c.SetFont(FFont);
    c.SetTextColor(ColorToRGB(Enabled() ? FFont.Color() : clGrayText));
    c.Brush().SetStyle(bsClear);
    unsigned format = DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0u) | (FShowAccelChar ? 0u : DT_NOPREFIX);
    if (FVerticalAlignment != vaTop) {
        // An empty caption, or a lone accelerator mark, is measured as one blank so it keeps a line.
        const std::string measured = FCaption.empty() || (FCaption == "&" && FShowAccelChar) ? " " : FCaption;
        TRect m = text;
        c.DrawText(measured, m, format | DT_CALCRECT);
        const int height = m.Bottom - m.Top + 1;
        const int newBottom = text.Top + height - 1;
        const int dy = FVerticalAlignment == vaCenter ? (text.Bottom - newBottom) / 2 : text.Bottom - newBottom;
        text.Top += dy;
        text.Bottom += dy;
    }
    if (FAlignment == taCenter) format |= DT_CENTER;
    if (FAlignment == taRightJustify) format |= DT_RIGHT;
    c.DrawText(FCaption, text, format);
    c.RestoreDC(level);
}

// ---- Helpers -----------------------------------------------------------------------------------------

int ScreenBitsPerPixel() { return Screen->BitsPerPixel(); }

bool IsLowColorDisplay() { return ScreenBitsPerPixel() < 9; }

void MakeGrayscale(TBitmap& Bitmap)
{
    for (int x = 0; x < Bitmap.Width(); ++x)
        for (int y = 0; y < Bitmap.Height(); ++y) Bitmap.SetPixelRGB(x, y, GetRValue(Bitmap.PixelRGB(x, y)) * 0x010101);
}

void MakeMaskBitmap(TBitmap& Target, const TBitmap& Source, const TRect& SourceRect, int LastIndex,
                    const TColor* Colors, TSize Size)
{
    TBitmap mask(Size.cx, Size.cy, pf1bit);
    for (int y = 0; y < Size.cy; ++y)
        for (int x = 0; x < Size.cx; ++x) {
            const TColor p = Source.PixelRGB(SourceRect.Left + x, SourceRect.Top + y);
            bool hit = false;
            for (int i = 0; i <= LastIndex && !hit; ++i) hit = p == (ColorToRGB(Colors[i]) & 0xFFFFFF);
            mask.SetPixelRGB(x, y, hit ? clWhite : clBlack);
        }
    Target.Assign(mask);
}

void NotifyDesignerModified(TWinControl*) {}
