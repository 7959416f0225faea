// The status bar with typed panels: plain text, a glyph with text, a percent or indeterminate gauge,
// key-lock indicators, date and time, text shortened with an ellipsis, or owner drawing. Each typed panel
// keeps a native panel of the bar at its index and paints its inside off-screen, at once, whenever a
// property changes. Live panels (key locks, clock, animated gauges) follow the key hook and a shared timer.
#pragma once

#include "platform/controls/StatusBar.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/Collections.h"
#include "platform/rtl/DateUtils.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TTimer;
class TkitStatusBar;
class TkitStatusPanel;
class TkitStatusPanels;

enum TkitStatusPanelType {
    sptNormal, sptCapsLock, sptNumLock, sptScrollLock, sptDate, sptTime, sptDateTime, sptTimeDate,
    sptEllipsisText, sptEllipsisPath, sptGlyph, sptGauge, sptOwnerDraw
};
inline const TEnumNames kitStatusPanelTypeNames{
    "sptNormal", "sptCapsLock", "sptNumLock", "sptScrollLock", "sptDate", "sptTime", "sptDateTime",
    "sptTimeDate", "sptEllipsisText", "sptEllipsisPath", "sptGlyph", "sptGauge", "sptOwnerDraw"};
enum TkitGaugeStyle { gsPercent, gsIndeterminate, gsIndeterminate2 };
inline const TEnumNames kitGaugeStyleNames{"gsPercent", "gsIndeterminate", "gsIndeterminate2"};

// 0..100; a write outside raises ERangeError.
using TPercent = int;

using TkitDrawPanelEvent = std::function<void(TkitStatusBar* StatusBar, TkitStatusPanel* Panel, const TRect& Rect)>;
using TkitPanelHintTextEvent = std::function<void(TkitStatusBar* StatusBar, TkitStatusPanel* Panel, std::string& Hint)>;

// The texts of the key-lock panels, blanks included.
extern const std::string kitCapsLockText, kitNumLockText, kitScrollLockText;

// ---- Gauge settings --------------------------------------------------------------------------------

class TkitGaugeAttrs : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    explicit TkitGaugeAttrs(TkitStatusPanel* Panel);

    // Copies Position, then Style (Speed and the colours stay).
    void Assign(const TPersistent& Source) override;

    TkitGaugeStyle Style() const { return FStyle; }
    void SetStyle(TkitGaugeStyle v);
    TPercent Position() const { return FPosition; }
    void SetPosition(TPercent v);
    // Pixels per animation tick.
    int Speed() const { return FSpeed; }
    void SetSpeed(int v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TColor TextColor() const { return FTextColor; }
    void SetTextColor(TColor v);
    TkitStatusPanel* Panel() const { return FPanel; }

private:
    TkitGaugeStyle FStyle = gsPercent;
    TkitStatusPanel* FPanel;
    TPercent FPosition = 0;
    int FSpeed = 4;
    TColor FColor = clHighlight;
    TColor FTextColor = clHighlightText;
};

// ---- Panel -----------------------------------------------------------------------------------------------

class TkitStatusPanel : public TCollectionItem {
    VSP_PERSISTENT_CLASS
public:
    // Raises Exception "TkitStatusPanel owner must be TkitStatusPanesls" for any other collection.
    explicit TkitStatusPanel(TCollection* Collection);
    ~TkitStatusPanel() override;

    // Copies the gauge settings, Alignment, Bevel, BiDiMode, ParentBiDiMode, Glyph, Text, DateFormat,
    // TimeFormat, Enabled, Width, AutoFit, the hint as the source reads it, the events, and last
    // PanelType; not BorderWidth or OnClick.
    void Assign(const TPersistent& Source) override;
    std::string DisplayName() const override;

    TkitGaugeAttrs& GaugeAttrs() { return *FGaugeAttrs; }
    const TkitGaugeAttrs& GaugeAttrs() const { return *FGaugeAttrs; }
    void SetGaugeAttrs(const TkitGaugeAttrs& v) { FGaugeAttrs->Assign(v); }
    TAlignment Alignment() const;
    void SetAlignment(TAlignment v);
    TStatusPanelBevel Bevel() const;
    void SetBevel(TStatusPanelBevel v);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int v);
    TBiDiMode BiDiMode() const;
    void SetBiDiMode(TBiDiMode v);
    bool ParentBiDiMode() const;
    void SetParentBiDiMode(bool v);
    TkitStatusPanelType PanelType() const { return FPanelType; }
    void SetPanelType(TkitStatusPanelType v);
    TPicture& Glyph() { return *FGlyph; }
    const TPicture& Glyph() const { return *FGlyph; }
    void SetGlyph(const TPicture& v) { FGlyph->Assign(v); }
    const std::string& Text() const { return FText; }
    void SetText(const std::string& v);
    const std::string& DateFormat() const { return FDateFormat; }
    void SetDateFormat(const std::string& v);
    const std::string& TimeFormat() const { return FTimeFormat; }
    void SetTimeFormat(const std::string& v);
    // True only while the stored flag and the bar are enabled.
    bool Enabled() const;
    bool StoredEnabled() const { return FEnabled; }
    void SetEnabled(bool v);
    int Width() const;
    void SetWidth(int v);
    bool AutoFit() const { return FAutoFit; }
    void SetAutoFit(bool v);
    // The stored hint, or, for an ellipsis panel whose hint is "...", its Text; then OnHintText.
    std::string Hint() const;
    void SetHint(const std::string& v) { FHint = v; }
    const std::string& StoredHint() const { return FHint; }

    TkitDrawPanelEvent OnDrawPanel;
    TkitPanelHintTextEvent OnHintText;
    TNotifyEvent OnClick;

    // The native panel at the same index of the bar.
    TStatusPanel* LinkedPanel() const { return FLinked; }
    TkitStatusBar* StatusBar() const;
    // Paints the panel now, on the bar, in its rectangle.
    void Redraw();
    // Composes the panel off-screen and copies it to the canvas at the rectangle shrunk by its bevel.
    virtual void Paint(TCanvas& Canvas, const TRect& Rect);
    // The draw-item request: the owner's event for an owner-drawn panel, otherwise Paint in the
    // panel's rectangle.
    virtual void DrawPanel(const TRect& Rect);
    // Fits the width to the content (AutoFit), then redraws.
    virtual void UpdateAutoFit();
    virtual void UpdateDateTime();
    // Joins or leaves the live machinery as Enabled now reads, then redraws.
    virtual void EnabledChanged();
    virtual void UpdateKeyMonitoring();
    // A tick of the shared timer: the clock's text, or one animation step of an indeterminate gauge.
    void TimerRefresh();
    // The key-lock state reported by the keyboard monitor.
    bool KeyLockState() const { return FKeyLockState; }
    void SetKeyLockState(bool v) { FKeyLockState = v; }

    // Animation of an indeterminate gauge (pixels): offset and signed step.
    int GaugeOffset() const { return FGaugeOffset; }
    int GaugeStep() const { return FGaugeStep; }
    void ResetAnimation();
    // The gradient of an indeterminate gradient gauge (built at the first paint, dropped when the
    // gauge's colour changes); nullptr while none is cached.
    const TBitmap* GaugeGradientCache() const { return FGradient.get(); }
    void DropGaugeGradient() { FGradient.reset(); }

    virtual void DoClick();

protected:
    virtual void GlyphChanged();
    virtual std::string DoHintText(const std::string& Hint) const;
    virtual void DrawKeyLock(TCanvas& Canvas, const TRect& C);
    virtual void DrawText(TCanvas& Canvas, TRect C);
    virtual void DrawGlyph(TCanvas& Canvas, const TRect& C);
    virtual void DrawGaugePercent(TCanvas& Canvas, const TRect& C);
    virtual void DrawGaugeIndeterminate(TCanvas& Canvas, const TRect& C);
    virtual void CreateGaugeGradient();

private:
    friend class TkitGaugeAttrs;
    friend class TkitStatusBar;
    friend class TkitStatusPanels;
    bool IsIndeterminateGauge() const;
    bool KeyLockOn() const;
    void Join();
    void Leave();
    TkitStatusPanels* KitPanels() const;

    bool FKeyLockState = false;
    TkitStatusPanelType FPanelType = sptNormal;
    bool FAutoFit = false;
    bool FEnabled = true;
    std::string FTimeFormat;
    std::string FDateFormat;
    std::string FText;
    std::unique_ptr<TPicture> FGlyph;
    int FGaugeOffset = 0;
    int FGaugeStep = 1;
    std::string FHint;
    std::unique_ptr<TkitGaugeAttrs> FGaugeAttrs;
    std::unique_ptr<TBitmap> FGradient;
    int FBorderWidth = 0;
    TStatusPanel* FLinked = nullptr;
};

// ---- Panel collection ---------------------------------------------------------------------------------

class TkitStatusPanels : public TCollection {
    VSP_PERSISTENT_CLASS
public:
    TkitStatusPanels(TkitStatusBar* StatusBar, TStatusPanels* NativePanels);
    ~TkitStatusPanels() override;

    TkitStatusPanel* Items(int Index) const { return static_cast<TkitStatusPanel*>(TCollection::Items(Index)); }
    TkitStatusPanel* Add() { return static_cast<TkitStatusPanel*>(TCollection::Add()); }
    TkitStatusBar* StatusBar() const { return FStatusBar; }
    TStatusPanels* NativePanels() const { return FNativePanels; }

    // The shared timer of the clock panels and animated gauges (nullptr while no panel is registered).
    TTimer* Timer() const { return FTimer; }
    const std::vector<TkitStatusPanel*>& TimedPanels() const { return FTimedPanels; }
    void RegisterTimedPanel(TkitStatusPanel* Panel);
    void UnregisterTimedPanel(TkitStatusPanel* Panel);
    void TimerTick();

protected:
    void Update(TCollectionItem* Item) override;
    // A panel on its way out leaves the live machinery while the collection still holds it.
    void Notify(TCollectionItem* Item, TCollectionNotification Action) override;
    void ItemMoved(TCollectionItem* Item, int FromIndex, int ToIndex) override;
    void ItemsExchanged(int Index1, int Index2) override;

private:
    TTimer* FTimer = nullptr;
    std::vector<TkitStatusPanel*> FTimedPanels;
    TDateTime FLastDate = 0;
    TkitStatusBar* FStatusBar;
    TStatusPanels* FNativePanels;
};

// ---- The bar ---------------------------------------------------------------------------------------------

class TkitStatusBar : public TStatusBar {
    VSP_PERSISTENT_CLASS
public:
    explicit TkitStatusBar(TComponent* AOwner);
    ~TkitStatusBar() override;

    void Loaded() override;

    TkitStatusPanels& Panels() { return *FKitPanels; }
    const TkitStatusPanels& Panels() const { return *FKitPanels; }
    void SetPanels(const TkitStatusPanels& v) { FKitPanels->Assign(v); }
    bool UseMonitorDLL() const { return FUseMonitorDLL; }
    void SetUseMonitorDLL(bool v);
    std::string Version() const { return "TkitStatusBar v1.24"; }
    void SetVersion(const std::string&) {}

    // Paints the panel at once (no deferred invalidation); nothing for an index without a panel or an
    // empty rectangle.
    void InvalidatePanel(int Index);
    TRect GetPanelRect(int Index) const { return PanelRect(Index); }
    // The text's extent in the bar's font; (-1, -1) when it cannot be measured.
    TSize TextExtent(const std::string& Text) const;
    void UpdateMeasureFont();
    // The typed panel linked to a native panel; -1 when none.
    int FindLinkedPanel(const TStatusPanel* Native) const;
    // The last panel whose left edge lies left of x, and the first whose right edge lies right of it.
    TkitStatusPanel* PanelLeftOf(int X) const;
    TkitStatusPanel* PanelRightOf(int X) const;

    // Key-lock panels hooked on the application's activation changes.
    void HookMainWindowFor(TkitStatusPanel* Panel);
    void UnhookMainWindowFor(TkitStatusPanel* Panel);
    int MainWindowHookCount() const { return static_cast<int>(FHookedPanels.size()); }
    // Repaints every key-lock panel in one update bracket.
    void RefreshLockPanels();
    void MonitorAcquire();
    void MonitorRelease();
    int MonitorCount() const { return FMonitorCount; }

    TkitDrawPanelEvent OnDrawPanel;

protected:
    void DrawPanel(TStatusPanel* Panel, const TRect& Rect) override;
    void Paint() override;
    void FontChanged() override;
    void EnabledChanged() override;
    void HintShow(THintInfo& Info, bool& CanShow) override;
    void Click() override;
    // Repaints the grip corner in the bar's colours when its colour is not clBtnFace.
    void DrawSizeGrip();

private:
    void AppWindowHook(bool active);

    std::unique_ptr<TkitStatusPanels> FKitPanels;
    std::vector<TkitStatusPanel*> FHookedPanels;
    int FActivationHook = 0;
    TBitmap FMeasure{1, 1};
    bool FUseMonitorDLL = false;
    int FMonitorCount = 0;
    std::uint32_t FMonitorMessage = 0;
    // Expires with the bar, so posted work finds out that the bar has gone.
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

// ---- Unit state (tests) ------------------------------------------------------------------------------------

// The clock the date and time panels read (Now unless a test sets another; nullptr restores Now).
void SetKitStatusBarClock(std::function<TDateTime()> clock);
// Whether the key hook of the key-lock panels is installed, and how many panels it serves.
bool KitKeyboardHookInstalled();
int KitHookedKeyLockPanels();
// Timed-panel registrations over all bars.
int KitTimedRegistrations();
// The checks of process end, made now: removes a key hook still installed and returns the texts of
// the failed checks ("TkitStatusBar: Keyboard hook still installed", "TkitStatusBar: Unbalanced timer
// registrations"); a bar destroyed with panels still hooked added "Unbalanced MainWinHook
// registrations" before. The list is cleared after it is read.
std::vector<std::string> KitStatusBarConsistencyFailures();
