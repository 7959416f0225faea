// The typed status bar: panels linked to the bar's native panels, their off-screen painters (text, key
// locks, glyphs, the two-colour percent gauge, the ball and gradient gauges), automatic widths, hints and
// clicks, and the live machinery of key locks, clock panels and animated gauges.
#include "ui/kitStatusBar.h"

#include "platform/controls/Application.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Keyboard.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Region.h"
#include "platform/rtl/PixelMath.h"
#include "ui/KITKb.h"

#include <algorithm>
#include <cmath>

const std::string kitCapsLockText = " CAPS ", kitNumLockText = " NUM ", kitScrollLockText = " SCROLL ";

// ---- Unit state ------------------------------------------------------------------------------------------

namespace {

struct TKitBarState {
    int KeyHook = 0;                            // 0 while no key hook is installed
    std::vector<TkitStatusPanel*> HookedPanels; // key-lock panels served by the key hook
    bool RefreshAll = false;                    // set on deactivation: the next key event redraws all
    int TimedRegistrations = 0;
    std::function<TDateTime()> Clock;
    std::vector<std::string> Failures;
};

TKitBarState& State()
{
    static TKitBarState s;
    return s;
}

TDateTime Clock() { return State().Clock ? State().Clock() : Now(); }

bool IsKeyLock(TkitStatusPanelType t) { return t == sptCapsLock || t == sptNumLock || t == sptScrollLock; }
bool IsDateTime(TkitStatusPanelType t) { return t >= sptDate && t <= sptTimeDate; }
bool HasTimePart(TkitStatusPanelType t) { return t == sptTime || t == sptDateTime || t == sptTimeDate; }

std::uint16_t KeyOfPanel(TkitStatusPanelType t)
{
    switch (t) {
    case sptNumLock: return VK_NUMLOCK;
    case sptScrollLock: return VK_SCROLL;
    default: return VK_CAPITAL;
    }
}

TkitStatusPanelType PanelTypeOfKey(std::uint16_t key)
{
    switch (key) {
    case VK_NUMLOCK: return sptNumLock;
    case VK_SCROLL: return sptScrollLock;
    default: return sptCapsLock;
    }
}

const std::string& LockText(TkitStatusPanelType t)
{
    switch (t) {
    case sptNumLock: return kitNumLockText;
    case sptScrollLock: return kitScrollLockText;
    default: return kitCapsLockText;
    }
}

// The key hook: a lock key going down (not an auto-repeat) redraws the panels of its kind; after a
// deactivation the next key event of any kind redraws every hooked panel.
void KeyboardHookProc(std::uint16_t key, bool down, bool repeat)
{
    TKitBarState& s = State();
    const std::vector<TkitStatusPanel*> panels = s.HookedPanels;
    if (s.RefreshAll) {
        s.RefreshAll = false;
        for (TkitStatusPanel* p : panels) p->Redraw();
        return;
    }
    if (!(key == VK_CAPITAL || key == VK_NUMLOCK || key == VK_SCROLL) || !down || repeat) return;
    for (TkitStatusPanel* p : panels)
        if (p->PanelType() == PanelTypeOfKey(key)) p->Redraw();
}

void HookKeyLockPanel(TkitStatusPanel* panel)
{
    TKitBarState& s = State();
    if (s.KeyHook == 0) s.KeyHook = InstallKeyHook(KeyboardHookProc);
    s.HookedPanels.push_back(panel);
}

void UnhookKeyLockPanel(TkitStatusPanel* panel)
{
    TKitBarState& s = State();
    const auto it = std::find(s.HookedPanels.begin(), s.HookedPanels.end(), panel);
    if (it != s.HookedPanels.end()) s.HookedPanels.erase(it);
    if (s.HookedPanels.empty() && s.KeyHook != 0) {
        RemoveKeyHook(s.KeyHook);
        s.KeyHook = 0;
    }
}

TRect Shrunk(TRect r, int by) { return {r.Left + by, r.Top + by, r.Right - by, r.Bottom - by}; }

} // namespace

void SetKitStatusBarClock(std::function<TDateTime()> clock) { State().Clock = std::move(clock); }
bool KitKeyboardHookInstalled() { return State().KeyHook != 0; }
int KitHookedKeyLockPanels() { return static_cast<int>(State().HookedPanels.size()); }
int KitTimedRegistrations() { return State().TimedRegistrations; }

std::vector<std::string> KitStatusBarConsistencyFailures()
{
    TKitBarState& s = State();
    std::vector<std::string> out = std::move(s.Failures);
    s.Failures.clear();
    if (s.KeyHook != 0) {
        RemoveKeyHook(s.KeyHook);
        s.KeyHook = 0;
        out.push_back("TkitStatusBar: Keyboard hook still installed");
    }
    if (s.TimedRegistrations != 0) out.push_back("TkitStatusBar: Unbalanced timer registrations");
    s.HookedPanels.clear();
    KbMonUnload();
    return out;
}

// ---- TkitGaugeAttrs --------------------------------------------------------------------------------------

const TClassInfo& TkitGaugeAttrs::StaticClassInfo()
{
    using P = TProps<TkitGaugeAttrs>;
    static const TClassInfo info({
        .Name = "TkitGaugeAttrs",
        .Parent = &TPersistent::StaticClassInfo(),
        .Properties = {P::Enumeration("Style", kitGaugeStyleNames, &TkitGaugeAttrs::Style, &TkitGaugeAttrs::SetStyle)
                           .Default(gsPercent),
                       P::Integer("Position", &TkitGaugeAttrs::Position, &TkitGaugeAttrs::SetPosition).Default(0),
                       P::Integer("Speed", &TkitGaugeAttrs::Speed, &TkitGaugeAttrs::SetSpeed).Default(4),
                       P::Colour("Color", &TkitGaugeAttrs::Color, &TkitGaugeAttrs::SetColor).Default(clHighlight),
                       P::Colour("TextColor", &TkitGaugeAttrs::TextColor, &TkitGaugeAttrs::SetTextColor)
                           .Default(clHighlightText)},
    });
    return info;
}

TkitGaugeAttrs::TkitGaugeAttrs(TkitStatusPanel* Panel) : FPanel(Panel) {}

void TkitGaugeAttrs::Assign(const TPersistent& Source)
{
    const auto* g = dynamic_cast<const TkitGaugeAttrs*>(&Source);
    if (!g) {
        TPersistent::Assign(Source);
        return;
    }
    SetPosition(g->FPosition);
    SetStyle(g->FStyle);
}

void TkitGaugeAttrs::SetStyle(TkitGaugeStyle v)
{
    if (FStyle == v) return;
    const bool running = FPanel->PanelType() == sptGauge && FPanel->Enabled();
    if (running && FPanel->IsIndeterminateGauge()) FPanel->Leave();
    FStyle = v;
    FPanel->Redraw();
    if (running && FPanel->IsIndeterminateGauge()) FPanel->Join();
}

void TkitGaugeAttrs::SetPosition(TPercent v)
{
    if (v < 0 || v > 100) throw ERangeError();
    if (FPosition == v) return;
    FPosition = v;
    FPanel->Redraw();
}

// A new speed is taken when it is above 0 and differs; the step keeps its direction.
void TkitGaugeAttrs::SetSpeed(int v)
{
    if (v > 0 && v != FSpeed) FSpeed = v;
    FPanel->FGaugeStep = FPanel->FGaugeStep < 0 ? -FSpeed : FSpeed;
}

void TkitGaugeAttrs::SetColor(TColor v)
{
    if (FColor == v) return;
    FColor = v;
    FPanel->DropGaugeGradient();
    FPanel->Redraw();
}

void TkitGaugeAttrs::SetTextColor(TColor v)
{
    if (FTextColor == v) return;
    FTextColor = v;
    FPanel->Redraw();
}

// ---- TkitStatusPanel ---------------------------------------------------------------------------------------

const TClassInfo& TkitStatusPanel::StaticClassInfo()
{
    using P = TProps<TkitStatusPanel>;
    using S = TkitStatusPanel;
    static const TClassInfo info({
        .Name = "TkitStatusPanel",
        .Parent = &TCollectionItem::StaticClassInfo(),
        .Properties = {P::Object("GaugeAttrs", [](const S& p) { return const_cast<TkitGaugeAttrs*>(&p.GaugeAttrs()); }),
                       P::Enumeration("Alignment", AlignmentNames, &S::Alignment, &S::SetAlignment).Default(taLeftJustify),
                       P::Enumeration("Bevel", StatusPanelBevelNames, &S::Bevel, &S::SetBevel).Default(pbLowered),
                       P::Integer("BorderWidth", &S::BorderWidth, &S::SetBorderWidth).Default(0),
                       P::Enumeration("BiDiMode", BiDiModeNames, &S::BiDiMode, &S::SetBiDiMode)
                           .StoredWhen([](const S& p) { return !p.ParentBiDiMode(); }),
                       P::Boolean("ParentBiDiMode", &S::ParentBiDiMode, &S::SetParentBiDiMode).Default(true),
                       P::Enumeration("PanelType", kitStatusPanelTypeNames, &S::PanelType, &S::SetPanelType)
                           .Default(sptNormal),
                       P::Text("Text", &S::Text, &S::SetText)
                           .Default("")
                           .StoredWhen([](const S& p) { return !IsDateTime(p.PanelType()); }),
                       P::Text("DateFormat", &S::DateFormat, &S::SetDateFormat).Default(""),
                       P::Text("TimeFormat", &S::TimeFormat, &S::SetTimeFormat).Default(""),
                       P::Boolean("Enabled", &S::StoredEnabled, &S::SetEnabled),
                       P::Integer("Width", &S::Width, &S::SetWidth),
                       P::Boolean("AutoFit", &S::AutoFit, &S::SetAutoFit),
                       P::Text("Hint", &S::Hint, &S::SetHint).Default("")},
    });
    return info;
}

TkitStatusPanel::TkitStatusPanel(TCollection* Collection) : TCollectionItem(Collection)
{
    auto* kit = dynamic_cast<TkitStatusPanels*>(Collection);
    if (!kit) throw Exception("TkitStatusPanel owner must be TkitStatusPanesls");
    FGaugeAttrs = std::make_unique<TkitGaugeAttrs>(this);
    FGlyph = std::make_unique<TPicture>();
    FGlyph->OnChange = [this](TPicture*) { GlyphChanged(); };
    FLinked = kit->NativePanels()->Add();
    FLinked->SetStyle(psOwnerDraw);
}

TkitStatusPanel::~TkitStatusPanel()
{
    if (FGlyph) FGlyph->OnChange = nullptr;
    if (FLinked) FLinked->Free();
}

TkitStatusPanels* TkitStatusPanel::KitPanels() const { return static_cast<TkitStatusPanels*>(Collection()); }

TkitStatusBar* TkitStatusPanel::StatusBar() const { return KitPanels() ? KitPanels()->StatusBar() : nullptr; }

void TkitStatusPanel::Assign(const TPersistent& Source)
{
    const auto* p = dynamic_cast<const TkitStatusPanel*>(&Source);
    if (!p) {
        TCollectionItem::Assign(Source);
        return;
    }
    FGaugeAttrs->Assign(*p->FGaugeAttrs);
    SetAlignment(p->Alignment());
    SetBevel(p->Bevel());
    SetBiDiMode(p->BiDiMode());
    SetParentBiDiMode(p->ParentBiDiMode());
    SetGlyph(*p->FGlyph);
    SetText(p->FText);
    SetDateFormat(p->FDateFormat);
    SetTimeFormat(p->FTimeFormat);
    SetEnabled(p->Enabled());
    SetWidth(p->Width());
    SetAutoFit(p->FAutoFit);
    SetHint(p->Hint());
    OnDrawPanel = p->OnDrawPanel;
    OnHintText = p->OnHintText;
    SetPanelType(p->FPanelType);
}

std::string TkitStatusPanel::DisplayName() const
{
    const bool textual = FPanelType == sptNormal || FPanelType == sptEllipsisText || FPanelType == sptEllipsisPath;
    if (!textual) return std::string(kitStatusPanelTypeNames.NameOf(FPanelType));
    return FText.empty() ? TCollectionItem::DisplayName() : FText;
}

// -- properties kept in the native panel

TAlignment TkitStatusPanel::Alignment() const { return FLinked ? FLinked->Alignment() : taLeftJustify; }
TStatusPanelBevel TkitStatusPanel::Bevel() const { return FLinked ? FLinked->Bevel() : pbLowered; }
TBiDiMode TkitStatusPanel::BiDiMode() const { return FLinked ? FLinked->BiDiMode() : bdLeftToRight; }
bool TkitStatusPanel::ParentBiDiMode() const { return FLinked ? FLinked->ParentBiDiMode() : true; }
int TkitStatusPanel::Width() const { return FLinked ? FLinked->Width() : 50; }

void TkitStatusPanel::SetAlignment(TAlignment v)
{
    if (!FLinked || FLinked->Alignment() == v) return;
    FLinked->SetAlignment(v);
    Redraw();
}

void TkitStatusPanel::SetBevel(TStatusPanelBevel v)
{
    if (FLinked) FLinked->SetBevel(v);
}

void TkitStatusPanel::SetBiDiMode(TBiDiMode v)
{
    if (FLinked && FLinked->BiDiMode() != v) FLinked->SetBiDiMode(v);
}

void TkitStatusPanel::SetParentBiDiMode(bool v)
{
    if (FLinked) FLinked->SetParentBiDiMode(v);
}

void TkitStatusPanel::SetWidth(int v)
{
    const TkitStatusBar* bar = StatusBar();
    const bool loading = bar && bar->ComponentState().Contains(csLoading);
    if (FLinked && (!FAutoFit || loading) && FLinked->Width() != v) FLinked->SetWidth(v);
    if (IsIndeterminateGauge()) {
        ResetAnimation();
        Redraw();
    }
}

// -- own properties

void TkitStatusPanel::SetText(const std::string& v)
{
    if (FText == v) return;
    FText = v;
    Redraw();
    UpdateAutoFit();
}

void TkitStatusPanel::SetAutoFit(bool v)
{
    if (FAutoFit == v) return;
    FAutoFit = v;
    UpdateAutoFit();
}

void TkitStatusPanel::SetBorderWidth(int v)
{
    if (v < 0) throw ERangeError();
    if (FBorderWidth == v) return;
    FBorderWidth = v;
    UpdateAutoFit();
    Redraw();
}

void TkitStatusPanel::SetDateFormat(const std::string& v)
{
    if (FDateFormat == v) return;
    FDateFormat = v;
    UpdateDateTime();
}

void TkitStatusPanel::SetTimeFormat(const std::string& v)
{
    if (FTimeFormat == v) return;
    FTimeFormat = v;
    UpdateDateTime();
}

bool TkitStatusPanel::Enabled() const
{
    const TkitStatusBar* bar = StatusBar();
    if (bar && bar->ComponentState().Contains(csWriting)) return FEnabled;
    return FEnabled && (!bar || bar->Enabled());
}

void TkitStatusPanel::SetEnabled(bool v)
{
    if (FEnabled == v) return;
    FEnabled = v;
    EnabledChanged();
}

std::string TkitStatusPanel::Hint() const
{
    const bool ellipsis = FPanelType == sptEllipsisText || FPanelType == sptEllipsisPath;
    return DoHintText(ellipsis && FHint == "..." ? FText : FHint);
}

std::string TkitStatusPanel::DoHintText(const std::string& Hint) const
{
    std::string h = Hint;
    if (OnHintText) OnHintText(StatusBar(), const_cast<TkitStatusPanel*>(this), h);
    return h;
}

void TkitStatusPanel::SetPanelType(TkitStatusPanelType v)
{
    if (FPanelType == v) return;
    if (Enabled()) Leave();
    FPanelType = v;
    switch (v) {
    case sptCapsLock:
    case sptNumLock:
    case sptScrollLock:
        SetText(LockText(v));
        SetAutoFit(true);
        if (Enabled()) Join();
        break;
    case sptDate:
    case sptTime:
    case sptDateTime:
    case sptTimeDate:
        SetAutoFit(false);
        if (Enabled()) Join();
        UpdateDateTime();
        break;
    case sptEllipsisText:
    case sptEllipsisPath:
        SetAutoFit(false);
        if (Hint().empty()) FHint = "...";
        break;
    case sptGlyph: SetAutoFit(true); break;
    case sptGauge:
        SetAutoFit(false);
        SetAlignment(taCenter);
        if (IsIndeterminateGauge()) {
            SetEnabled(false);
            ResetAnimation();
        }
        break;
    case sptNormal:
    case sptOwnerDraw: SetAutoFit(false); break;
    }
    Redraw();
}

bool TkitStatusPanel::IsIndeterminateGauge() const
{
    return FPanelType == sptGauge && FGaugeAttrs && FGaugeAttrs->Style() != gsPercent;
}

void TkitStatusPanel::ResetAnimation()
{
    FGaugeOffset = 0;
    FGaugeStep = FGaugeAttrs ? FGaugeAttrs->Speed() : 4;
}

// -- live machinery

void TkitStatusPanel::Join()
{
    TkitStatusBar* bar = StatusBar();
    if (!bar) return;
    if (IsKeyLock(FPanelType)) {
        if (bar->UseMonitorDLL()) {
            bar->MonitorAcquire();
            FKeyLockState = KeyToggled(KeyOfPanel(FPanelType));
        } else {
            HookKeyLockPanel(this);
            bar->HookMainWindowFor(this);
        }
    } else if (IsDateTime(FPanelType) || IsIndeterminateGauge()) {
        KitPanels()->RegisterTimedPanel(this);
    }
}

void TkitStatusPanel::Leave()
{
    TkitStatusBar* bar = StatusBar();
    if (!bar) return;
    if (IsKeyLock(FPanelType)) {
        if (bar->UseMonitorDLL()) {
            bar->MonitorRelease();
        } else {
            UnhookKeyLockPanel(this);
            bar->UnhookMainWindowFor(this);
        }
    } else if (IsDateTime(FPanelType) || IsIndeterminateGauge()) {
        KitPanels()->UnregisterTimedPanel(this);
    }
}

void TkitStatusPanel::EnabledChanged()
{
    if (Enabled())
        Join();
    else
        Leave();
    Redraw();
    if (!Enabled()) ResetAnimation();
}

void TkitStatusPanel::UpdateKeyMonitoring()
{
    TkitStatusBar* bar = StatusBar();
    if (!bar || !IsKeyLock(FPanelType) || !Enabled()) return;
    if (bar->UseMonitorDLL()) {
        UnhookKeyLockPanel(this);
        bar->UnhookMainWindowFor(this);
        bar->MonitorAcquire();
        FKeyLockState = KeyToggled(KeyOfPanel(FPanelType));
    } else {
        bar->MonitorRelease();
        HookKeyLockPanel(this);
        bar->HookMainWindowFor(this);
    }
}

void TkitStatusPanel::UpdateDateTime()
{
    if (!IsDateTime(FPanelType)) return;
    const TFormatSettings& fs = FormatSettings();
    const std::string date = FDateFormat.empty() ? fs.ShortDateFormat : FDateFormat;
    const std::string time = FTimeFormat.empty() ? fs.LongTimeFormat : FTimeFormat;
    std::string format;
    switch (FPanelType) {
    case sptDate: format = date; break;
    case sptTime: format = time; break;
    case sptDateTime: format = date + " " + time; break;
    default: format = time + " " + date; break;
    }
    const std::string s = FormatDateTime(format, Clock());
    if (s == FText) return;
    SetText(s);
    Redraw();
}

void TkitStatusPanel::TimerRefresh()
{
    if (IsDateTime(FPanelType))
        UpdateDateTime();
    else if (IsIndeterminateGauge())
        Redraw();
}

// -- painting

void TkitStatusPanel::Redraw()
{
    if (TkitStatusBar* bar = StatusBar()) bar->InvalidatePanel(Index());
}

void TkitStatusPanel::DrawPanel(const TRect& Rect)
{
    TkitStatusBar* bar = StatusBar();
    if (!bar) return;
    if (OnDrawPanel && FPanelType == sptOwnerDraw) {
        OnDrawPanel(bar, this, Rect);
        return;
    }
    Paint(bar->Canvas(), bar->GetPanelRect(Index()));
}

void TkitStatusPanel::Paint(TCanvas& Canvas, const TRect& Rect)
{
    TkitStatusBar* bar = StatusBar();
    if (!bar || Rect.IsEmpty()) return;
    const TRect r = Shrunk(Rect, 1);
    if (r.IsEmpty()) return;
    TBitmap bitmap(r.Width(), r.Height(), pf24bit);
    TCanvas& c = bitmap.Canvas();
    c.SetFont(Canvas.Font());
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(bar->Color());
    c.FillRect({0, 0, r.Width(), r.Height()});
    TRect content{0, 0, r.Width(), r.Height()};
    if (FBorderWidth > 0) content = Shrunk(content, FBorderWidth);
    if (Enabled()) {
        switch (FPanelType) {
        case sptCapsLock:
        case sptNumLock:
        case sptScrollLock: DrawKeyLock(c, content); break;
        case sptGlyph: DrawGlyph(c, content); break;
        case sptGauge:
            if (FGaugeAttrs->Style() == gsPercent)
                DrawGaugePercent(c, content);
            else
                DrawGaugeIndeterminate(c, content);
            break;
        case sptOwnerDraw: return;   // the owner's event draws the panel
        default: DrawText(c, content); break;
        }
    }
    Canvas.Draw(r.Left, r.Top, bitmap);
}

void TkitStatusPanel::DrawText(TCanvas& Canvas, TRect C)
{
    unsigned format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    if (FAutoFit) {
        format |= DT_CENTER;
    } else if (Alignment() == taRightJustify) {
        format |= DT_RIGHT;
        --C.Right;
    } else if (Alignment() == taCenter) {
        format |= DT_CENTER;
    }
    if (FPanelType == sptEllipsisText) format |= DT_END_ELLIPSIS;
    if (FPanelType == sptEllipsisPath) format |= DT_PATH_ELLIPSIS;
    Canvas.Brush().SetStyle(bsClear);
    Canvas.SetTextColor(ColorToRGB(StatusBar()->Font().Color()));
    Canvas.DrawText(FPanelType == sptOwnerDraw ? " *OD* " : FText, C, format);
}

bool TkitStatusPanel::KeyLockOn() const
{
    const TkitStatusBar* bar = StatusBar();
    if (bar && bar->UseMonitorDLL()) return FKeyLockState;
    return KeyToggled(KeyOfPanel(FPanelType));
}

void TkitStatusPanel::DrawKeyLock(TCanvas& Canvas, const TRect& C)
{
    unsigned format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    if (FAutoFit || Alignment() == taCenter)
        format |= DT_CENTER;
    else if (Alignment() == taRightJustify)
        format |= DT_RIGHT;
    const TColor previous = Canvas.GetTextColor();
    Canvas.SetTextColor(ColorToRGB(KeyLockOn() ? StatusBar()->Font().Color() : clGrayText));
    Canvas.Brush().SetStyle(bsClear);
    TRect r = C;
    Canvas.DrawText(FText, r, format);
    Canvas.SetTextColor(previous);
}

void TkitStatusPanel::DrawGlyph(TCanvas& Canvas, const TRect& C)
{
    const TGraphic* g = FGlyph->Graphic();
    const int gw = FGlyph->Width(), gh = FGlyph->Height();
    const int tw = FText.empty() ? 0 : Canvas.TextWidth(FText) + 2;
    int left = C.Left;
    if (Alignment() == taCenter || FAutoFit)
        left = C.Left + (C.Width() - gw - tw) / 2;
    else if (Alignment() == taRightJustify)
        left = C.Right - gw;
    const int top = C.Top + (C.Height() - gh) / 2;
    if (const auto* bmp = dynamic_cast<const TBitmap*>(g); bmp && !bmp->Empty())
        Canvas.BrushCopy({left, top, left + gw, top + gh}, *bmp, {0, 0, gw, gh}, bmp->PixelRGB(0, gh - 1));
    else if (g && !g->Empty())
        Canvas.Draw(left, top, *g);
    if (FText.empty()) return;
    const int x = Alignment() == taRightJustify ? left - tw - 2 : left + gw + 2;
    TRect r{x, C.Top, C.Right, C.Bottom};
    Canvas.Brush().SetStyle(bsClear);
    Canvas.SetTextColor(ColorToRGB(StatusBar()->Font().Color()));
    Canvas.DrawText(FText, r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
}

void TkitStatusPanel::DrawGaugePercent(TCanvas& Canvas, const TRect& C)
{
    const TkitStatusBar* bar = StatusBar();
    TRect filled = C;
    filled.Right = C.Left + MulDiv(C.Right - C.Left, FGaugeAttrs->Position(), 100);
    TRect rest = C;
    rest.Left = filled.Right;
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(FGaugeAttrs->Color());
    Canvas.FillRect(filled);
    Canvas.Brush().SetColor(bar->Color());
    Canvas.FillRect(rest);
    const std::string s = FText.empty() ? std::to_string(FGaugeAttrs->Position()) + "%" : FText;

    Canvas.Brush().SetStyle(bsClear);
    const TColor previous = Canvas.GetTextColor();
    TRegion saved;
    const bool hadClip = Canvas.GetClipRgn(saved) == 1;
    unsigned format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    if (Alignment() == taRightJustify) format |= DT_RIGHT;
    if (Alignment() == taCenter) format |= DT_CENTER;
    // The text is laid out once over the whole gauge and drawn twice, each time clipped to one part, so
    // its colour changes exactly at the fill edge.
    const struct {
        TRect Part;
        TColor Colour;
    } parts[] = {{filled, FGaugeAttrs->TextColor()}, {rest, bar->Font().Color()}};
    for (const auto& part : parts) {
        if (part.Part.IsEmpty()) continue;
        const TRegion clip = TRegion::FromRect(part.Part);
        Canvas.SelectClipRgn(&clip);
        Canvas.SetTextColor(ColorToRGB(part.Colour));
        TRect r = C;
        Canvas.DrawText(s, r, format);
        Canvas.SelectClipRgn(hadClip ? &saved : nullptr);
    }
    Canvas.SetTextColor(previous);
}

void TkitStatusPanel::DrawGaugeIndeterminate(TCanvas& Canvas, const TRect& C)
{
    FGaugeOffset += FGaugeStep;
    const int speed = FGaugeAttrs->Speed();
    if (FGaugeAttrs->Style() == gsIndeterminate) {
        Canvas.Pen().SetColor(FGaugeAttrs->Color());
        Canvas.Brush().SetStyle(bsSolid);
        Canvas.Brush().SetColor(FGaugeAttrs->Color());
        TRect d = C;
        d.Top += C.Height() / 3;
        d.Bottom -= C.Height() / 3;
        const int diameter = d.Height();
        if (FGaugeStep > 0 && FGaugeOffset + diameter + 1 >= C.Width())
            FGaugeStep = -speed;
        else if (FGaugeStep < 0 && FGaugeOffset <= 1)
            FGaugeStep = speed;
        d.Left = C.Left + FGaugeOffset;
        d.Right = d.Left + diameter;
        Canvas.Ellipse(d.Left - 1, d.Top - 1, d.Right + 1, d.Bottom + 1);
        return;
    }
    if (!FGradient) CreateGaugeGradient();
    const TBitmap& g = *FGradient;
    if (FGaugeStep > 0 && FGaugeOffset + 1 >= C.Width())
        FGaugeStep = -speed;
    else if (FGaugeStep < 0 && FGaugeOffset <= -g.Width())
        FGaugeStep = speed;
    TRect d = C;
    d.Left = C.Left + FGaugeOffset;
    TRect s{0, 0, g.Width(), g.Height()};
    if (g.Width() < d.Width()) {
        d.Right = d.Left + g.Width();
    } else if (g.Width() > d.Width()) {
        if (FGaugeStep > 0)
            s.Right = d.Width();
        else
            s.Left = s.Right - d.Width();
    }
    const TPixelBuffer px = g.ToPixels();
    if (FGaugeStep > 0)
        Canvas.StretchPixels(d.Left, d.Top, d.Width(), d.Height(), px, s.Left, s.Top, s.Width(), s.Height(), SRCCOPY);
    else   // mirrored, so the gauge colour leads in both directions
        Canvas.StretchPixels(d.Left, d.Top, d.Width(), d.Height(), px, s.Right, s.Bottom, -s.Width(), -s.Height(), SRCCOPY);
}

void TkitStatusPanel::CreateGaugeGradient()
{
    const TkitStatusBar* bar = StatusBar();
    const int height = std::max(1, bar ? bar->Height() : 1);
    FGradient = std::make_unique<TBitmap>(100, height, pf24bit);
    TCanvas& c = FGradient->Canvas();
    c.Brush().SetColor(clRed);
    c.FillRect({0, 0, 100, height});
    const TColor b = ColorToRGB(bar ? bar->Color() : clBtnFace), g = ColorToRGB(FGaugeAttrs->Color());
    const auto channel = [](int from, int to, int x) { return static_cast<int>(std::trunc(from + (to - from) * x / 99.0)); };
    for (int x = 0; x < 100; ++x) {
        c.Pen().SetColor(RGB(channel(GetRValue(b), GetRValue(g), x), channel(GetGValue(b), GetGValue(g), x),
                             channel(GetBValue(b), GetBValue(g), x)));
        c.MoveTo(x, 0);
        c.LineTo(x, height);
    }
}

void TkitStatusPanel::UpdateAutoFit()
{
    TkitStatusBar* bar = StatusBar();
    if (FAutoFit && bar && FLinked && !bar->ComponentState().Contains(csLoading)) {
        const int e = bar->TextExtent(FText).cx;
        const int gw = FGlyph->Width();
        int width;
        if (FPanelType == sptGlyph)
            width = FText.empty() ? gw + FBorderWidth + 4 : e + 2 + 2 * FBorderWidth + gw + 4;
        else
            width = e + 6 + FBorderWidth;
        FLinked->SetWidth(width);
    }
    Redraw();
}

void TkitStatusPanel::GlyphChanged()
{
    if (FPanelType != sptGlyph) return;
    Redraw();
    UpdateAutoFit();
}

void TkitStatusPanel::DoClick()
{
    if (OnClick) OnClick(this);
}

// ---- TkitStatusPanels ----------------------------------------------------------------------------------------

const TClassInfo& TkitStatusPanels::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TkitStatusPanels", .Parent = &TCollection::StaticClassInfo()});
    return info;
}

TkitStatusPanels::TkitStatusPanels(TkitStatusBar* StatusBar, TStatusPanels* NativePanels)
    : TCollection(StatusBar, TkitStatusPanel::StaticClassInfo(), &CreateItemOf<TkitStatusPanel>),
      FStatusBar(StatusBar), FNativePanels(NativePanels)
{
}

// The items go while the collection is whole, so each leaves the live machinery and frees its native
// panel; then the timer goes.
TkitStatusPanels::~TkitStatusPanels()
{
    while (Count() > 0) Items(Count() - 1)->Free();
    if (FTimer) FTimer->Free();
}

void TkitStatusPanels::Update(TCollectionItem* Item)
{
    if (Item)
        static_cast<TkitStatusPanel*>(Item)->Redraw();
    else if (FStatusBar)
        FStatusBar->Invalidate();
}

void TkitStatusPanels::Notify(TCollectionItem* Item, TCollectionNotification Action)
{
    TCollection::Notify(Item, Action);
    // A panel being added is not built yet; only one on its way out is looked at.
    if (Action != cnExtracting) return;
    auto* p = static_cast<TkitStatusPanel*>(Item);
    if (p->Enabled()) p->Leave();
}

void TkitStatusPanels::ItemMoved(TCollectionItem* Item, int, int ToIndex)
{
    if (TStatusPanel* native = static_cast<TkitStatusPanel*>(Item)->LinkedPanel()) native->SetIndex(ToIndex);
}

void TkitStatusPanels::ItemsExchanged(int Index1, int Index2) { FNativePanels->Exchange(Index1, Index2); }

void TkitStatusPanels::RegisterTimedPanel(TkitStatusPanel* Panel)
{
    if (!FTimer) {
        FTimer = new TTimer(FStatusBar);
        FTimer->SetEnabled(false);
        FLastDate = std::floor(Clock());
        FTimer->OnTimer = [this](TPersistent*) { TimerTick(); };
    }
    if (std::find(FTimedPanels.begin(), FTimedPanels.end(), Panel) != FTimedPanels.end()) return;
    FTimedPanels.push_back(Panel);
    ++State().TimedRegistrations;
    const TkitStatusPanelType t = Panel->PanelType();
    if (t == sptDate) {
        if (FTimedPanels.size() == 1) FTimer->SetInterval(60000);
    } else if (HasTimePart(t)) {
        if (FTimedPanels.size() == 1 || FTimer->Interval() > 1000) FTimer->SetInterval(1000);
    } else if (Panel->IsIndeterminateGauge()) {
        FTimer->SetInterval(50);
    }
    FTimer->SetEnabled(true);
}

void TkitStatusPanels::UnregisterTimedPanel(TkitStatusPanel* Panel)
{
    const auto it = std::find(FTimedPanels.begin(), FTimedPanels.end(), Panel);
    if (it != FTimedPanels.end()) {
        FTimedPanels.erase(it);
        --State().TimedRegistrations;
    }
    if (!FTimer) return;
    if (FTimedPanels.empty()) {
        FTimer->Free();
        FTimer = nullptr;
        return;
    }
    int interval = 60000;
    for (const TkitStatusPanel* p : FTimedPanels) {
        if (p->IsIndeterminateGauge()) {
            interval = 50;
            break;
        }
        if (HasTimePart(p->PanelType())) interval = 1000;
    }
    FTimer->SetInterval(interval);
}

void TkitStatusPanels::TimerTick()
{
    const TDateTime today = std::floor(Clock());
    const bool dayChanged = today != FLastDate;
    if (dayChanged) FLastDate = today;
    const std::vector<TkitStatusPanel*> panels = FTimedPanels;
    for (TkitStatusPanel* p : panels) {
        const TkitStatusPanelType t = p->PanelType();
        if (HasTimePart(t) || (t == sptDate && dayChanged) || p->IsIndeterminateGauge()) p->TimerRefresh();
    }
}

// ---- TkitStatusBar ----------------------------------------------------------------------------------------------

const TClassInfo& TkitStatusBar::StaticClassInfo()
{
    using P = TProps<TkitStatusBar>;
    static const TClassInfo info({
        .Name = "TkitStatusBar",
        .Parent = &TStatusBar::StaticClassInfo(),
        .Properties = {P::Boolean("UseMonitorDLL", &TkitStatusBar::UseMonitorDLL, &TkitStatusBar::SetUseMonitorDLL)
                           .Default(false),
                       P::Collection("Panels", [](const TkitStatusBar& b) { return const_cast<TkitStatusPanels*>(&b.Panels()); }),
                       P::Text("Version", &TkitStatusBar::Version, &TkitStatusBar::SetVersion).NotStored()},
        .Create = &CreateComponentOf<TkitStatusBar>,
    });
    return info;
}

TkitStatusBar::TkitStatusBar(TComponent* AOwner) : TStatusBar(AOwner)
{
    FKitPanels = std::make_unique<TkitStatusPanels>(this, &TStatusBar::Panels());
    UpdateMeasureFont();
}

TkitStatusBar::~TkitStatusBar()
{
    FAlive.reset();
    FKitPanels.reset();
    if (!FHookedPanels.empty()) State().Failures.push_back("Unbalanced MainWinHook registrations");
    if (FActivationHook) Application->UnhookActivation(FActivationHook);
}

void TkitStatusBar::Loaded()
{
    TStatusBar::Loaded();
    UpdateMeasureFont();
    for (int i = 0; i < FKitPanels->Count(); ++i)
        if (FKitPanels->Items(i)->AutoFit()) FKitPanels->Items(i)->UpdateAutoFit();
}

void TkitStatusBar::SetUseMonitorDLL(bool v)
{
    if (FUseMonitorDLL == v) return;
    FUseMonitorDLL = v;
    for (int i = 0; i < FKitPanels->Count(); ++i) FKitPanels->Items(i)->UpdateKeyMonitoring();
    if (v && !KbMonAvailable()) SetUseMonitorDLL(false);
}

void TkitStatusBar::InvalidatePanel(int Index)
{
    if (!FKitPanels || Index < 0 || Index >= FKitPanels->Count()) return;
    const TRect r = GetPanelRect(Index);
    if (r.IsEmpty()) return;
    PrepareItemCanvas();
    FKitPanels->Items(Index)->Paint(Canvas(), r);
    // The window shows the buffer now, not at the next turn of the message loop.
    Update();
}

TSize TkitStatusBar::TextExtent(const std::string& Text) const
{
    const TSize s = const_cast<TBitmap&>(FMeasure).Canvas().TextExtent(Text);
    if (s.cx < 0 || s.cy < 0) return {-1, -1};
    return s;
}

void TkitStatusBar::UpdateMeasureFont() { FMeasure.Canvas().SetFont(Font()); }

int TkitStatusBar::FindLinkedPanel(const TStatusPanel* Native) const
{
    for (int i = 0; i < FKitPanels->Count(); ++i)
        if (FKitPanels->Items(i)->LinkedPanel() == Native) return i;
    return -1;
}

TkitStatusPanel* TkitStatusBar::PanelLeftOf(int X) const
{
    TkitStatusPanel* found = nullptr;
    for (int i = 0; i < FKitPanels->Count(); ++i)
        if (GetPanelRect(i).Left < X) found = FKitPanels->Items(i);
    return found;
}

TkitStatusPanel* TkitStatusBar::PanelRightOf(int X) const
{
    for (int i = 0; i < FKitPanels->Count(); ++i)
        if (GetPanelRect(i).Right > X) return FKitPanels->Items(i);
    return nullptr;
}

void TkitStatusBar::Paint()
{
    TStatusBar::Paint();
    if (ColorToRGB(Color()) != ColorToRGB(clBtnFace)) DrawSizeGrip();
}

void TkitStatusBar::DrawPanel(TStatusPanel* Panel, const TRect& Rect)
{
    const int i = FindLinkedPanel(Panel);
    if (i < 0) throw EAssertionFailed("Panel links corrupted");
    TkitStatusPanel* p = FKitPanels->Items(i);
    if (OnDrawPanel) OnDrawPanel(this, p, Rect);
    p->DrawPanel(Rect);
}

void TkitStatusBar::FontChanged()
{
    TStatusBar::FontChanged();
    UpdateMeasureFont();
    if (!FKitPanels) return;
    FKitPanels->BeginUpdate();
    for (int i = 0; i < FKitPanels->Count(); ++i)
        if (FKitPanels->Items(i)->AutoFit()) FKitPanels->Items(i)->UpdateAutoFit();
    FKitPanels->EndUpdate();
}

void TkitStatusBar::EnabledChanged()
{
    TStatusBar::EnabledChanged();
    Invalidate();
    for (int i = 0; i < FKitPanels->Count(); ++i) FKitPanels->Items(i)->EnabledChanged();
}

void TkitStatusBar::HintShow(THintInfo& Info, bool& CanShow)
{
    TStatusBar::HintShow(Info, CanShow);
    for (int i = 0; i < FKitPanels->Count(); ++i) {
        const TRect r = GetPanelRect(i);
        if (!(Info.CursorPos.x >= r.Left && Info.CursorPos.x < r.Right && Info.CursorPos.y >= r.Top &&
              Info.CursorPos.y < r.Bottom))
            continue;
        const std::string hint = FKitPanels->Items(i)->Hint();
        if (!hint.empty()) {
            Info.HintStr = hint;
            Info.CursorRect = r;
            return;
        }
        break;
    }
    // Between hinted panels the bar's own hint covers only the gap, so that moving into a hinted
    // panel leaves the rectangle and brings up that panel's hint.
    TRect gap = Info.CursorRect;
    for (TkitStatusPanel* p = PanelLeftOf(Info.CursorPos.x); p;) {
        const TRect r = GetPanelRect(p->Index());
        if (!p->Hint().empty()) {
            gap.Left = r.Right;
            break;
        }
        p = PanelLeftOf(r.Left);
    }
    for (TkitStatusPanel* p = PanelRightOf(Info.CursorPos.x); p;) {
        const TRect r = GetPanelRect(p->Index());
        if (!p->Hint().empty()) {
            gap.Right = r.Left;
            break;
        }
        p = PanelRightOf(r.Right);
    }
    Info.CursorRect = gap;
}

void TkitStatusBar::Click()
{
    const TPoint p = ScreenToClient(LastMousePos());
    for (int i = 0; i < FKitPanels->Count(); ++i) {
        const TRect r = GetPanelRect(i);
        if (p.x >= r.Left && p.x < r.Right && p.y >= r.Top && p.y < r.Bottom) {
            FKitPanels->Items(i)->DoClick();
            break;
        }
    }
    TStatusBar::Click();
}

void TkitStatusBar::DrawSizeGrip()
{
    TCanvas& c = Canvas();
    TRect g = ClientRect();
    g.Left = g.Right - 15;
    g.Top += 3;
    g.Bottom -= 1;
    g = {g.Left - 1, g.Top - 1, g.Right - 1, g.Bottom - 1};
    c.Pen().SetWidth(1);
    c.Pen().SetStyle(psSolid);
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(Color());
    c.FillRect(g);
    const auto line = [&](int d) {
        c.MoveTo(g.Right - d, g.Bottom);
        c.LineTo(g.Right, g.Bottom - d);
    };
    c.Pen().SetColor(clBtnHighlight);
    for (int d : {2, 13, 9, 5}) line(d);
    c.MoveTo(g.Right - 1, g.Bottom);
    c.LineTo(g.Right, g.Bottom);
    c.Pen().SetColor(clBtnShadow);
    for (int d : {11, 7, 3}) line(d);
    c.Brush().SetColor(clBtnFace);
    c.MoveTo(g.Left, g.Top);
    c.LineTo(g.Right, g.Top);
}

// ---- Activation and key locks -------------------------------------------------------------------------------------

void TkitStatusBar::HookMainWindowFor(TkitStatusPanel* Panel)
{
    FHookedPanels.push_back(Panel);
    if (FHookedPanels.size() == 1) FActivationHook = Application->HookActivation([this](bool active) { AppWindowHook(active); });
}

void TkitStatusBar::UnhookMainWindowFor(TkitStatusPanel* Panel)
{
    const auto it = std::find(FHookedPanels.begin(), FHookedPanels.end(), Panel);
    if (it != FHookedPanels.end()) FHookedPanels.erase(it);
    if (FHookedPanels.empty() && FActivationHook) {
        Application->UnhookActivation(FActivationHook);
        FActivationHook = 0;
    }
}

void TkitStatusBar::AppWindowHook(bool active)
{
    if (FUseMonitorDLL) return;
    if (!active) State().RefreshAll = true;
    // Posted, so the refresh runs after the activation change has been handled; a bar destroyed
    // meanwhile is not called.
    std::weak_ptr<bool> alive = FAlive;
    Application->Post([this, alive] {
        if (!alive.expired()) RefreshLockPanels();
    });
}

void TkitStatusBar::RefreshLockPanels()
{
    FKitPanels->BeginUpdate();
    for (int i = 0; i < FKitPanels->Count(); ++i)
        if (IsKeyLock(FKitPanels->Items(i)->PanelType())) InvalidatePanel(i);
    FKitPanels->EndUpdate();
}

void TkitStatusBar::MonitorAcquire()
{
    if (FMonitorCount++ != 0) return;
    if (!KbMonAvailable()) KbMonStart();
    if (KbMonAvailable()) FMonitorMessage = KbMonRegister(reinterpret_cast<std::uintptr_t>(this));
}

void TkitStatusBar::MonitorRelease()
{
    if (--FMonitorCount > 0) return;
    if (KbMonAvailable()) KbMonUnregister(reinterpret_cast<std::uintptr_t>(this));
    FMonitorCount = 0;
    if (KbMonAvailable()) KbMonStop();
}
