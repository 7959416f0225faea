// The picture button: its frames per style and state, the glyph's layout and state images, the caption's
// text styles, hover tracking and sounds; and the shared glyph lists.
#include "ui/uibtn.h"

#include "platform/controls/Application.h"
#include "platform/graphics/Canvas.h"
#include "ui/uiexctl.h"

#include <algorithm>

namespace {

constexpr TColor LightGrey = 0xDEDEDE;

// One edge ring on the sides named, shrinking the rectangle by it.
void Edge(TCanvas& c, TRect& r, unsigned ring, unsigned extra = 0, unsigned sides = BF_RECT)
{
    c.DrawEdge(r, ring, sides | extra | BF_ADJUST);
}

void Frame(TCanvas& c, TRect& r, TColor topLeft, TColor bottomRight) { Frame3D(c, r, topLeft, bottomRight, 1); }

// The black rectangle of the old-style button, its corners in the face colour.
void BlackRectangle(TCanvas& c, TRect& r, TColor face)
{
    const TRect outer = r;
    Edge(c, r, BDR_RAISEDOUTER, BF_MONO | BF_FLAT);
    c.SetPixel(outer.Left, outer.Top, face);
    c.SetPixel(outer.Right - 1, outer.Top, face);
    c.SetPixel(outer.Left, outer.Bottom - 1, face);
    c.SetPixel(outer.Right - 1, outer.Bottom - 1, face);
}

void BottomLine(TCanvas& c, TRect& r)
{
    c.Pen().SetColor(clBtnShadow);
    c.Pen().SetWidth(1);
    c.MoveTo(r.Left, r.Bottom - 1);
    c.LineTo(r.Right, r.Bottom - 1);
    --r.Bottom;
}

bool IsRecessed(TuiButtonStyle s) { return s >= absRecessed; }

// The framed and recessed twins share one table row.
TuiButtonStyle Twin(TuiButtonStyle s)
{
    switch (s) {
    case absRecessed: return absFramed;
    case absRecessedBlack: return absFramedBlack;
    case absRecessedRaised: return absFramedRaised;
    case absRecessedHighlight: return absFramedHighlight;
    case absRecessedBlackHighlight: return absFramedBlackHighlight;
    default: return s;
    }
}

} // namespace

bool IsHighlightStyle(TuiButtonStyle s)
{
    switch (s) {
    case absThinHighlight:
    case absMidHighlight:
    case absThickHighlight:
    case absFramedHighlight:
    case absFramedBlackHighlight:
    case absRecessedHighlight:
    case absRecessedBlackHighlight: return true;
    default: return false;
    }
}

void DrawButtonFace(TCanvas& c, TRect& r, TuiButtonStyle style, bool fill, TColor color, bool active, bool down,
                    bool hot, bool popup)
{
    if (fill) {
        c.Brush().SetStyle(bsSolid);
        c.Brush().SetColor(color);
        c.FillRect(r);
    }
    if (popup && !down && !hot && !active) return;
    hot = hot && IsHighlightStyle(style) && !down;
    // The recessed styles leave a one-pixel gap of face colour after their first sunken edge.
    const auto gap = [&] {
        if (IsRecessed(style) && !down) r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    };
    switch (Twin(style)) {
    case absAutoDetect:
    case absNew:
        if (down) {
            if (active) {
                Edge(c, r, BDR_RAISEDOUTER, BF_MONO);
                Edge(c, r, BDR_RAISEDOUTER, BF_FLAT);
            } else {
                Edge(c, r, BDR_SUNKENOUTER);
                Edge(c, r, BDR_SUNKENINNER, BF_SOFT);
            }
        } else {
            if (active) Edge(c, r, BDR_RAISEDOUTER, BF_MONO);
            Edge(c, r, BDR_RAISEDOUTER, BF_SOFT);
            Edge(c, r, BDR_RAISEDINNER, BF_SOFT, BF_RIGHT | BF_BOTTOM);
        }
        break;
    case absWin31:
        BlackRectangle(c, r, color);
        if (active) BlackRectangle(c, r, color);
        if (down) {
            Edge(c, r, BDR_SUNKENINNER, BF_SOFT, BF_LEFT | BF_TOP);
        } else {
            Edge(c, r, BDR_RAISEDINNER);
            Edge(c, r, BDR_RAISEDINNER);
        }
        break;
    case absThin: Edge(c, r, down ? BDR_SUNKENOUTER : BDR_RAISEDINNER); break;
    case absThinBlack: Edge(c, r, down ? BDR_SUNKENOUTER : BDR_RAISEDOUTER, BF_SOFT); break;
    case absThinGray:
        if (down)
            Frame(c, r, clBtnShadow, LightGrey);
        else
            Frame(c, r, LightGrey, clBtnShadow);
        break;
    case absThinHighlight:
        if (down)
            Edge(c, r, BDR_SUNKENOUTER, BF_SOFT);
        else if (hot)
            Edge(c, r, BDR_RAISEDOUTER, BF_SOFT);
        else
            Edge(c, r, BDR_RAISEDINNER);
        break;
    case absMidHighlight:
    case absThickHighlight:
        if (down) {
            Edge(c, r, BDR_SUNKENOUTER, BF_SOFT);
            Frame(c, r, clBtnShadow, LightGrey);
        } else if (hot) {
            if (style == absThickHighlight) BottomLine(c, r);
            Edge(c, r, BDR_RAISEDOUTER, BF_SOFT);
            Frame(c, r, LightGrey, clBtnShadow);
        } else {
            Edge(c, r, BDR_RAISEDINNER);
            if (style == absThickHighlight) BottomLine(c, r);
        }
        break;
    case absFramed:
        Edge(c, r, BDR_SUNKENOUTER);
        gap();
        Edge(c, r, down ? BDR_SUNKENOUTER : BDR_RAISEDINNER);
        break;
    case absFramedBlack:
        Edge(c, r, BDR_SUNKENOUTER, BF_SOFT);
        gap();
        Edge(c, r, down ? BDR_SUNKENOUTER : BDR_RAISEDOUTER, BF_SOFT);
        break;
    case absFramedRaised:
        if (down) {
            Edge(c, r, BDR_SUNKENOUTER);
            Edge(c, r, BDR_SUNKENOUTER);
        } else {
            Edge(c, r, BDR_SUNKENOUTER, BF_SOFT);
            gap();
            Edge(c, r, BDR_RAISEDOUTER, BF_SOFT);
            Frame(c, r, LightGrey, clBtnShadow);
        }
        break;
    case absFramedHighlight:
        Edge(c, r, BDR_SUNKENOUTER);
        gap();
        if (down) {
            Edge(c, r, BDR_SUNKENOUTER);
        } else {
            Edge(c, r, BDR_RAISEDINNER);
            if (hot) Frame(c, r, LightGrey, clBtnShadow);
        }
        break;
    case absFramedBlackHighlight:
        Edge(c, r, BDR_SUNKENOUTER, BF_SOFT);
        gap();
        if (down) {
            Edge(c, r, BDR_SUNKENOUTER, BF_SOFT);
        } else {
            Edge(c, r, BDR_RAISEDOUTER, BF_SOFT);
            if (hot) Frame(c, r, LightGrey, clBtnShadow);
        }
        break;
    default: break;
    }
}

TuiGlyphLayout CalcGlyphLayout(const TRect& client, TSize glyph, TSize text, TuiButtonLayout layout, int margin,
                               int spacing)
{
    const int cw = client.Width(), ch = client.Height();
    const bool both = glyph.cx > 0 && text.cx > 0;
    TuiGlyphLayout out;
    const auto centre = [](int room, int size) { return (room - size + 1) / 2; };
    if (layout == ablGlyphCenter || layout == ablGlyphTiled) {
        out.GlyphPos = layout == ablGlyphTiled ? client.TopLeft()
                                               : TPoint{client.Left + centre(cw, glyph.cx), client.Top + centre(ch, glyph.cy)};
        const int tx = client.Left + centre(cw, text.cx), ty = client.Top + centre(ch, text.cy);
        out.TextRect = {tx, ty, tx + text.cx, ty + text.cy};
        return out;
    }
    const bool horizontal = layout == ablGlyphLeft || layout == ablGlyphRight;
    const int room = horizontal ? cw : ch;
    const int g = horizontal ? glyph.cx : glyph.cy, t = horizontal ? text.cx : text.cy;
    int m = margin, s = both ? spacing : 0;
    if (margin == -1 && spacing == -1) {
        m = (room - g - t) / 3;
        s = both ? m : 0;
    } else if (margin == -1) {
        m = (room - (g + s + t) + 1) / 2;
    } else if (spacing == -1) {
        s = both ? (room - m - g - t) / 2 : 0;
    }
    const bool far = layout == ablGlyphRight || layout == ablGlyphBottom;
    const int glyphAt = far ? room - m - g : m;
    const int textAt = far ? glyphAt - s - t : glyphAt + g + s;
    if (horizontal) {
        out.GlyphPos = {client.Left + glyphAt, client.Top + centre(ch, glyph.cy)};
        const int ty = client.Top + centre(ch, text.cy);
        out.TextRect = {client.Left + textAt, ty, client.Left + textAt + text.cx, ty + text.cy};
    } else {
        out.GlyphPos = {client.Left + centre(cw, glyph.cx), client.Top + glyphAt};
        const int tx = client.Left + centre(cw, text.cx);
        out.TextRect = {tx, client.Top + textAt, tx + text.cx, client.Top + textAt + text.cy};
    }
    return out;
}

// ---- Glyph lists -------------------------------------------------------------------------------------

int TuiGlyphList::Add(const TBitmap& image)
{
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(image);
    for (std::size_t i = 0; i < FSlots.size(); ++i)
        if (!FSlots[i]) {
            FSlots[i] = std::move(copy);
            return static_cast<int>(i);
        }
    FSlots.push_back(std::move(copy));
    return static_cast<int>(FSlots.size() - 1);
}

void TuiGlyphList::Replace(int slot, const TBitmap& image)
{
    if (image.Width() < FWidth || image.Height() < FHeight) throw EInvalidOperation("Invalid image size");
    if (slot < 0 || slot >= static_cast<int>(FSlots.size()) || !FSlots[static_cast<std::size_t>(slot)])
        throw EInvalidOperation("Unable to Replace Image");
    FSlots[static_cast<std::size_t>(slot)]->Assign(image);
}

void TuiGlyphList::Delete(int slot)
{
    if (slot >= 0 && slot < static_cast<int>(FSlots.size())) FSlots[static_cast<std::size_t>(slot)].reset();
}

const TBitmap* TuiGlyphList::Image(int slot) const
{
    return slot >= 0 && slot < static_cast<int>(FSlots.size()) ? FSlots[static_cast<std::size_t>(slot)].get() : nullptr;
}

int TuiGlyphList::Used() const
{
    return static_cast<int>(std::count_if(FSlots.begin(), FSlots.end(), [](const auto& s) { return s != nullptr; }));
}

TuiGlyphList& TGlyphCache::List(int width, int height)
{
    for (auto it = FLists.rbegin(); it != FLists.rend(); ++it)
        if ((*it)->Width() == width && (*it)->Height() == height) return **it;
    FLists.push_back(std::make_unique<TuiGlyphList>(width, height));
    return *FLists.back();
}

void TGlyphCache::Release(TuiGlyphList& list)
{
    if (list.Used() > 0) return;
    std::erase_if(FLists, [&](const auto& l) { return l.get() == &list; });
}

TGlyphCache& GlyphCache()
{
    static TGlyphCache cache;
    return cache;
}

// ---- TuiButtonGlyph ------------------------------------------------------------------------------------

TuiButtonGlyph::TuiButtonGlyph() : FPicture(std::make_unique<TPicture>()) { FSlots.fill(-1); }

TuiButtonGlyph::~TuiButtonGlyph() { Invalidate(); }

void TuiButtonGlyph::SetPicture(const TPicture& v)
{
    FPicture->Assign(v);
    const int w = FPicture->Width(), h = FPicture->Height();
    FNumGlyphs = h > 0 && w % h == 0 && w / h < 6 && w / h > 0 ? w / h : 1;
    Invalidate();
}

void TuiButtonGlyph::SetNumGlyphs(int v)
{
    v = std::clamp(v, 1, 5);
    if (v == FNumGlyphs) return;
    FNumGlyphs = v;
    Invalidate();
}

TColor TuiButtonGlyph::TransparentColor() const
{
    if (FTransparentSet) return FTransparent;
    if (const auto* b = dynamic_cast<const TBitmap*>(FPicture->Graphic()); b && !b->Empty()) return b->TransparentColor();
    return 0xFF00FF;
}

void TuiButtonGlyph::SetTransparentColor(TColor v)
{
    FTransparent = v;
    FTransparentSet = true;
    Invalidate();
}

void TuiButtonGlyph::SetHighlight(TuiGlyphHighlight v)
{
    if (v == FHighlight) return;
    FHighlight = v;
    Invalidate();
}

void TuiButtonGlyph::SetFaceColor(TColor v)
{
    if (v == FFace) return;
    FFace = v;
    Invalidate();
}

TSize TuiButtonGlyph::GlyphSize() const
{
    if (Empty()) return {0, 0};
    return {FPicture->Width() / FNumGlyphs, FPicture->Height()};
}

void TuiButtonGlyph::Invalidate()
{
    if (!FList) return;
    for (int& slot : FSlots) {
        FList->Delete(slot);
        slot = -1;
    }
    GlyphCache().Release(*FList);
    FList = nullptr;
}

std::unique_ptr<TBitmap> TuiButtonGlyph::SubImage(int index) const
{
    const TSize g = GlyphSize();
    auto out = std::make_unique<TBitmap>(g.cx, g.cy);
    TBitmap whole;
    whole.Assign(*FPicture->Graphic());
    for (int y = 0; y < g.cy; ++y)
        for (int x = 0; x < g.cx; ++x) out->SetPixelRGB(x, y, whole.PixelRGB(index * g.cx + x, y));
    return out;
}

const TBitmap& TuiButtonGlyph::StateImage(TuiGlyphState state)
{
    const TSize g = GlyphSize();
    if (!FList) FList = &GlyphCache().List(g.cx, g.cy);
    int& slot = FSlots[state];
    if (slot < 0) slot = FList->Add(*BuildImage(state));
    return *FList->Image(slot);
}

// Every state image is composed on the face colour, the transparent colour left out.
std::unique_ptr<TBitmap> TuiButtonGlyph::BuildImage(TuiGlyphState state)
{
    const TSize g = GlyphSize();
    const TColor face = ColorToRGB(FFace) & 0xFFFFFF, key = ColorToRGB(TransparentColor()) & 0xFFFFFF;
    const int index = static_cast<int>(state) < FNumGlyphs ? static_cast<int>(state) : 0;
    const int hotIndex = FNumGlyphs > 4 ? 4 : 0;
    auto out = std::make_unique<TBitmap>(g.cx, g.cy);
    const auto compose = [&](const TBitmap& src) {
        for (int y = 0; y < g.cy; ++y)
            for (int x = 0; x < g.cx; ++x) {
                const TColor p = src.PixelRGB(x, y);
                out->SetPixelRGB(x, y, p == key ? face : p);
            }
    };
    switch (state) {
    case gsDisabled:
        if (FNumGlyphs < 2) {
            // Embossed: the pixels that are not transparent, white or silver, in highlight shifted by
            // (1, 1) and in shadow in place.
            const auto src = SubImage(0);
            const TColor colours[] = {key, clWhite, clSilver};
            TBitmap mask;
            MakeMaskBitmap(mask, *src, {0, 0, g.cx, g.cy}, 2, colours, g);
            out->Canvas().Brush().SetColor(face);
            out->Canvas().FillRect({0, 0, g.cx, g.cy});
            for (int y = 0; y + 1 < g.cy; ++y)
                for (int x = 0; x + 1 < g.cx; ++x)
                    if (mask.PixelRGB(x, y) == clBlack) out->SetPixelRGB(x + 1, y + 1, ColorToRGB(clBtnHighlight));
            for (int y = 0; y < g.cy; ++y)
                for (int x = 0; x < g.cx; ++x)
                    if (mask.PixelRGB(x, y) == clBlack) out->SetPixelRGB(x, y, ColorToRGB(clBtnShadow));
        } else {
            const auto src = SubImage(1);
            for (int y = 0; y < g.cy; ++y)
                for (int x = 0; x < g.cx; ++x) {
                    TColor p = src->PixelRGB(x, y);
                    if (p == key)
                        p = face;
                    else if (p == clWhite)
                        p = ColorToRGB(clBtnHighlight);
                    else if (p == 0x808080)
                        p = ColorToRGB(clBtnShadow);
                    out->SetPixelRGB(x, y, p);
                }
        }
        return out;
    case gsDown: compose(*SubImage(FNumGlyphs < 3 ? hotIndex : 2)); return out;
    case gsUp:
        compose(*SubImage(0));
        if (FHighlight == aghGray) MakeGrayscale(*out);
        if (FHighlight == aghFade || FHighlight == aghDarken) {
            const auto hot = SubImage(hotIndex);
            for (int y = 0; y < g.cy; ++y)
                for (int x = 0; x < g.cx; ++x) {
                    TColor p = hot->PixelRGB(x, y);
                    if (p == key) p = face;
                    if (FHighlight == aghFade)
                        p = RGB((GetRValue(p) + 3 * GetRValue(face)) / 4, (GetGValue(p) + 3 * GetGValue(face)) / 4,
                                (GetBValue(p) + 3 * GetBValue(face)) / 4);
                    else
                        p = p & face;
                    out->SetPixelRGB(x, y, p);
                }
        }
        return out;
    default: compose(*SubImage(index)); return out;
    }
}

// ---- TuiPicBtn -------------------------------------------------------------------------------------------

const TClassInfo& TuiPicBtn::StaticClassInfo()
{
    using P = TProps<TuiPicBtn>;
    using B = TuiPicBtn;
    static const TClassInfo info({
        .Name = "TuiPicBtn",
        .Parent = &TButton::StaticClassInfo(),
        .Properties = {P::Enumeration("TextStyle", uiTextStyleNames, &B::TextStyle, &B::SetTextStyle).Default(tsNormal),
                       P::Enumeration("PictureHighlight", uiGlyphHighlightNames, &B::PictureHighlight, &B::SetPictureHighlight)
                           .Default(aghNormal),
                       P::Boolean("Popup", &B::Popup, &B::SetPopup).Default(false),
                       P::Colour("TransparentColor", &B::TransparentColor, &B::SetTransparentColor)
                           .StoredWhen([](const B& b) { return b.FGlyph.TransparentColorSet(); }),
                       P::Colour("Color", &B::Color, &B::SetColor).Default(clBtnFace),
                       P::Boolean("DisabledShadow", &B::DisabledShadow, &B::SetDisabledShadow).Default(false),
                       P::Enumeration("Layout", uiButtonLayoutNames, &B::Layout, &B::SetLayout).Default(ablGlyphLeft),
                       P::Integer("Margin", &B::Margin, &B::SetMargin).Default(-1),
                       P::Integer("NumGlyphs", &B::NumGlyphs, &B::SetNumGlyphs).Default(1),
                       P::Integer("SoundDown", &B::SoundDown, &B::SetSoundDown).Default(-1),
                       P::Integer("SoundOver", &B::SoundOver, &B::SetSoundOver).Default(-1),
                       P::Enumeration("Style", uiButtonStyleNames, &B::Style, &B::SetStyle).Default(absAutoDetect),
                       P::Integer("Spacing", &B::Spacing, &B::SetSpacing).Default(4),
                       P::Object("Font", [](const B& b) { return const_cast<TFont*>(&b.Font()); })},
        .Create = &CreateComponentOf<TuiPicBtn>,
    });
    return info;
}

TuiPicBtn::TuiPicBtn(TComponent* AOwner) : TButton(AOwner)
{
    SetOwnerDraw(true);
    FFont.OnChange = [this](TPersistent*) { Repaint(); };
}

TuiPicBtn::~TuiPicBtn()
{
    FFont.OnChange = nullptr;
    if (FSoundList) FSoundList->RemoveFreeNotification(this);
}

void TuiPicBtn::SetTextStyle(TuiTextStyle v)
{
    FTextStyle = v;
    Invalidate();
}

void TuiPicBtn::SetPicture(const TPicture& v)
{
    FGlyph.SetPicture(v);
    Invalidate();
}

void TuiPicBtn::SetPictureHighlight(TuiGlyphHighlight v)
{
    FGlyph.SetHighlight(v);
    Repaint();
}

void TuiPicBtn::SetPopup(bool v)
{
    FPopup = v;
    Invalidate();
}

void TuiPicBtn::SetTransparentColor(TColor v)
{
    FGlyph.SetTransparentColor(v);
    Invalidate();
}

// A new face colour drops the glyph's images: they are composed on it.
void TuiPicBtn::SetColor(TColor v)
{
    TButton::SetColor(v);
    FGlyph.SetFaceColor(v);
    Invalidate();
}

void TuiPicBtn::SetDisabledShadow(bool v)
{
    FDisabledShadow = v;
    if (!Enabled()) Invalidate();
}

void TuiPicBtn::SetLayout(TuiButtonLayout v)
{
    FLayout = v;
    Invalidate();
}

void TuiPicBtn::SetMargin(int v)
{
    if (v < -1) return;
    FMargin = v;
    Invalidate();
}

void TuiPicBtn::SetNumGlyphs(int v)
{
    FGlyph.SetNumGlyphs(v);
    Invalidate();
}

void TuiPicBtn::SetSoundList(TuiCustomWaveList* v)
{
    if (FSoundList) FSoundList->RemoveFreeNotification(this);
    FSoundList = v;
    if (FSoundList) FSoundList->FreeNotification(this);
}

void TuiPicBtn::Notification(TComponent* AComponent, TOperation Operation)
{
    TButton::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSoundList) FSoundList = nullptr;
}

void TuiPicBtn::SetStyle(TuiButtonStyle v)
{
    FStyle = v;
    Invalidate();
}

void TuiPicBtn::SetSpacing(int v)
{
    FSpacing = v;
    Invalidate();
}

bool TuiPicBtn::IsHotTrackStyle() const { return FPopup || FGlyph.Highlight() != aghNormal || IsHighlightStyle(FStyle); }

// -- hover and sounds

void TuiPicBtn::MouseEnter()
{
    TButton::MouseEnter();
    if (!Application->Active() || FMouseInside || !Enabled()) return;
    FMouseInside = true;
    if (IsHotTrackStyle()) Repaint();
    if (FSoundOver >= 0 && FSoundList) FSoundList->PlayIndex(FSoundOver);
    if (OnMouseEnter) OnMouseEnter(this);
}

void TuiPicBtn::MouseLeave()
{
    TButton::MouseLeave();
    FMouseInside = false;
    if (!Enabled()) return;
    if (IsHotTrackStyle()) Repaint();
    if (OnMouseLeave) OnMouseLeave(this);
}

void TuiPicBtn::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TButton::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft && Enabled() && FSoundDown >= 0 && FSoundList) FSoundList->PlayIndex(FSoundDown);
}

void TuiPicBtn::EnabledChanged()
{
    TButton::EnabledChanged();
    Repaint();
}

// -- drawing

void TuiPicBtn::DrawCaption(TCanvas& c, const TRect& tr, bool enabled)
{
    const std::string text = Caption();
    if (text.empty()) return;
    c.Brush().SetStyle(bsClear);
    const unsigned centred = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
    const auto at = [&](int dx, int dy, TColor colour, unsigned format) {
        TRect r{tr.Left + dx, tr.Top + dy, tr.Right + dx, tr.Bottom + dy};
        c.SetTextColor(ColorToRGB(colour));
        c.DrawText(text, r, format);
    };
    if (!enabled) {
        if (FDisabledShadow) {
            at(1, 1, clWhite, centred);
            at(0, 0, 0x808080, centred);
        } else {
            at(0, 0, clBtnShadow, DT_NOCLIP);
        }
        return;
    }
    if (FTextStyle == tsRaised || FTextStyle == tsLowered) {
        const bool raised = FTextStyle == tsRaised;
        at(1, 1, raised ? clBtnShadow : clBtnHighlight, centred);
        at(-1, -1, raised ? clBtnHighlight : clBtnShadow, centred);
    }
    at(0, 0, FFont.Color(), centred);
}

void TuiPicBtn::DrawItem(TCanvas& c, const TRect& client, TOwnerDrawState State)
{
    const bool enabled = Enabled() && !State.Contains(odDisabled);
    const bool hot = enabled && FMouseInside;
    const bool down = State.Contains(odSelected);
    const bool focused = State.Contains(odFocused);
    const bool active = focused || ActiveStyle();
    const TuiGlyphState glyphState = !enabled ? gsDisabled : down ? gsDown : (hot || focused || ActiveStyle()) ? gsHot : gsUp;
    const bool hasGlyph = !FGlyph.Empty();
    const bool fill = !(FLayout == ablGlyphTiled && hasGlyph && FGlyph.TransparentColor() == Color());
    TRect face = client;
    DrawButtonFace(c, face, FStyle, fill, Color(), active, down, hot, FPopup);

    c.SetFont(FFont);
    TRect area{client.Left + 1, client.Top + 1, client.Right - 1, client.Bottom - 1};
    if (down) area = {area.Left + 1, area.Top + 1, area.Right + 1, area.Bottom + 1};
    TSize textSize;
    if (!Caption().empty()) {
        TRect m{0, 0, area.Width(), 0};
        c.DrawText(Caption(), m, DT_SINGLELINE | DT_CALCRECT);
        textSize = {m.Width(), m.Height()};
    }
    const TuiGlyphLayout place = CalcGlyphLayout(area, FGlyph.GlyphSize(), textSize, FLayout, FMargin, FSpacing);
    if (hasGlyph) {
        FGlyph.SetFaceColor(Color());
        const TBitmap& image = FGlyph.StateImage(glyphState);
        if (FLayout == ablGlyphTiled) {
            const TRect tile = down ? TRect{client.Left + 1, client.Top + 1, client.Right + 1, client.Bottom + 1} : client;
            for (int y = tile.Top; y < tile.Bottom; y += image.Height())
                for (int x = tile.Left; x < tile.Right; x += image.Width()) c.Draw(x, y, image);
        } else {
            c.Draw(place.GlyphPos.x, place.GlyphPos.y, image);
        }
    }
    DrawCaption(c, place.TextRect, enabled);
    TRect again = client;
    DrawButtonFace(c, again, FStyle, false, Color(), active, down, hot, FPopup);
    if (focused) {
        if (FStyle == absWin31)
            c.DrawFocusRect({place.TextRect.Left - 2, place.TextRect.Top - 1, place.TextRect.Right + 2, place.TextRect.Bottom + 1});
        else
            c.DrawFocusRect({client.Left + 4, client.Top + 4, client.Right - 4, client.Bottom - 4});
    }
}
