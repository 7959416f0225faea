// The status bar: panel layout, bevels, panel text, owner-drawn panels and the size grip, all drawn
// through the bar's canvas.
#include "platform/controls/StatusBar.h"

#include "platform/graphics/Canvas.h"

#include <algorithm>

// ---- TStatusPanel ------------------------------------------------------------------------------------

const TClassInfo& TStatusPanel::StaticClassInfo()
{
    using P = TProps<TStatusPanel>;
    static const TClassInfo info({
        .Name = "TStatusPanel",
        .Parent = &TCollectionItem::StaticClassInfo(),
        .Properties = {P::Enumeration("Alignment", AlignmentNames, &TStatusPanel::Alignment, &TStatusPanel::SetAlignment)
                           .Default(taLeftJustify),
                       P::Enumeration("Bevel", StatusPanelBevelNames, &TStatusPanel::Bevel, &TStatusPanel::SetBevel)
                           .Default(pbLowered),
                       P::Enumeration("BiDiMode", BiDiModeNames, &TStatusPanel::BiDiMode, &TStatusPanel::SetBiDiMode)
                           .StoredWhen([](const TStatusPanel& p) { return !p.ParentBiDiMode(); }),
                       P::Boolean("ParentBiDiMode", &TStatusPanel::ParentBiDiMode, &TStatusPanel::SetParentBiDiMode)
                           .Default(true),
                       P::Enumeration("Style", StatusPanelStyleNames, &TStatusPanel::Style, &TStatusPanel::SetStyle)
                           .Default(psText),
                       P::Text("Text", &TStatusPanel::Text, &TStatusPanel::SetText).Default(""),
                       P::Integer("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth)},
    });
    return info;
}

TStatusPanel::TStatusPanel(TCollection* Collection) : TCollectionItem(Collection) {}

void TStatusPanel::Assign(const TPersistent& Source)
{
    const auto* p = dynamic_cast<const TStatusPanel*>(&Source);
    if (!p) {
        TCollectionItem::Assign(Source);
        return;
    }
    FAlignment = p->FAlignment;
    FBevel = p->FBevel;
    FBiDiMode = p->FBiDiMode;
    FParentBiDiMode = p->FParentBiDiMode;
    FStyle = p->FStyle;
    FText = p->FText;
    FWidth = p->FWidth;
    Changed(true);
}

std::string TStatusPanel::DisplayName() const { return FText.empty() ? TCollectionItem::DisplayName() : FText; }

namespace {

template <class T>
bool Store(T& field, const T& value)
{
    if (field == value) return false;
    field = value;
    return true;
}

} // namespace

void TStatusPanel::SetAlignment(TAlignment v) { if (Store(FAlignment, v)) Changed(false); }
void TStatusPanel::SetBevel(TStatusPanelBevel v) { if (Store(FBevel, v)) Changed(false); }
void TStatusPanel::SetBiDiMode(TBiDiMode v)
{
    if (!Store(FBiDiMode, v)) return;
    FParentBiDiMode = false;
    Changed(false);
}
void TStatusPanel::SetParentBiDiMode(bool v) { if (Store(FParentBiDiMode, v)) Changed(false); }
void TStatusPanel::SetStyle(TStatusPanelStyle v) { if (Store(FStyle, v)) Changed(false); }
void TStatusPanel::SetText(const std::string& v) { if (Store(FText, v)) Changed(false); }
// The width moves every panel to its right.
void TStatusPanel::SetWidth(int v) { if (Store(FWidth, v)) Changed(true); }

// ---- TStatusPanels -----------------------------------------------------------------------------------

const TClassInfo& TStatusPanels::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TStatusPanels", .Parent = &TCollection::StaticClassInfo()});
    return info;
}

TStatusPanels::TStatusPanels(TStatusBar* StatusBar)
    : TCollection(StatusBar, TStatusPanel::StaticClassInfo(), &CreateItemOf<TStatusPanel>), FStatusBar(StatusBar)
{
}

void TStatusPanels::Update(TCollectionItem*)
{
    if (FStatusBar) FStatusBar->Invalidate();
}

// ---- TStatusBar --------------------------------------------------------------------------------------

namespace {

constexpr int PanelGap = 2;     // between two panels
constexpr int TopBorder = 2;    // above the panels

} // namespace

const TClassInfo& TStatusBar::StaticClassInfo()
{
    using P = TProps<TStatusBar>;
    static const TClassInfo info({
        .Name = "TStatusBar",
        .Parent = &TCustomControl::StaticClassInfo(),
        .Properties = {P::Collection("Panels", [](const TStatusBar& b) { return const_cast<TStatusPanels*>(&b.Panels()); }),
                       P::Object("Font", [](const TStatusBar& b) { return const_cast<TFont*>(&b.Font()); }),
                       P::Boolean("SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip).Default(true),
                       P::Boolean("UseSystemFont", &TStatusBar::UseSystemFont, &TStatusBar::SetUseSystemFont)
                           .Default(true)},
        .Defaults = {{"Color", clBtnFace}, {"Height", 19}},
        .Create = &CreateComponentOf<TStatusBar>,
    });
    return info;
}

TStatusBar::TStatusBar(TComponent* AOwner) : TCustomControl(AOwner), FPanels(std::make_unique<TStatusPanels>(this))
{
    SetColor(clBtnFace);
    SetBounds(0, 0, 200, 19);
    FFont.OnChange = [this](TPersistent*) { FontChanged(); };
}

TStatusBar::~TStatusBar()
{
    FFont.OnChange = nullptr;
    FPanels.reset();
}

void TStatusBar::SetSizeGrip(bool v)
{
    if (FSizeGrip == v) return;
    FSizeGrip = v;
    Invalidate();
}

void TStatusBar::SetUseSystemFont(bool v)
{
    if (FUseSystemFont == v) return;
    FUseSystemFont = v;
    if (v) FFont.Assign(TFont());
}

TRect TStatusBar::PanelRect(int Index) const
{
    if (!FPanels || Index < 0 || Index >= FPanels->Count()) return {};
    int left = 0;
    for (int i = 0; i < Index; ++i) left += FPanels->Items(i)->Width() + PanelGap;
    const int width = FPanels->Items(Index)->Width();
    // The last panel reaches the right edge, as the class library's status bar lays it out.
    const bool last = Index == FPanels->Count() - 1;
    const int right = width < 0 || last ? ClientWidth() : left + width;
    const TRect r{left, TopBorder, right, ClientHeight()};
    if (r.IsEmpty() || r.Left >= ClientWidth()) return {};
    return r;
}

int TStatusBar::PanelsWidth() const
{
    if (!FPanels || FPanels->Count() == 0) return 0;
    int width = PanelGap * (FPanels->Count() - 1);
    for (int i = 0; i < FPanels->Count(); ++i) width += std::max(0, FPanels->Items(i)->Width());
    return width;
}

void TStatusBar::PrepareItemCanvas()
{
    TCanvas& c = Canvas();
    c.SetFont(FFont);
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(clBtnFace);
}

void TStatusBar::Paint()
{
    TCanvas& c = Canvas();
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(Color());
    c.FillRect(ClientRect());
    for (int i = 0; i < FPanels->Count(); ++i) {
        TStatusPanel* p = FPanels->Items(i);
        const TRect r = PanelRect(i);
        if (r.IsEmpty()) continue;
        TRect frame = r;
        if (p->Bevel() == pbLowered) Frame3D(c, frame, clBtnShadow, clBtnHighlight, 1);
        if (p->Bevel() == pbRaised) Frame3D(c, frame, clBtnHighlight, clBtnShadow, 1);
        PrepareItemCanvas();
        if (p->Style() == psOwnerDraw) {
            DrawPanel(p, r);
            continue;
        }
        TRect text{r.Left + 3, r.Top + 1, r.Right - 3, r.Bottom - 1};
        unsigned format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
        if (p->Alignment() == taCenter) format |= DT_CENTER;
        if (p->Alignment() == taRightJustify) format |= DT_RIGHT;
        c.Brush().SetStyle(bsClear);
        c.SetTextColor(ColorToRGB(FFont.Color()));
        c.DrawText(p->Text(), text, format);
    }
    if (FSizeGrip) PaintSizeGrip();
}

// Three pairs of diagonal lines in the corner, light above dark.
void TStatusBar::PaintSizeGrip()
{
    TCanvas& c = Canvas();
    const int r = ClientWidth() - 1, b = ClientHeight() - 1;
    c.Pen().SetWidth(1);
    c.Pen().SetStyle(psSolid);
    const auto line = [&](TColor colour, int d) {
        c.Pen().SetColor(colour);
        c.MoveTo(r - d, b);
        c.LineTo(r + 1, b - d - 1);
    };
    for (int d : {12, 8, 4}) {
        line(clBtnHighlight, d);
        line(clBtnShadow, d - 1);
        line(clBtnShadow, d - 2);
    }
}

void TStatusBar::DrawPanel(TStatusPanel* Panel, const TRect& Rect)
{
    if (OnDrawPanel) OnDrawPanel(this, Panel, Rect);
}

void TStatusBar::FontChanged() { Invalidate(); }
