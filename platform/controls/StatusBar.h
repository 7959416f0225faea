// TStatusBar: the class library's status bar, drawn by the program. Panels stand left to right by their
// widths; each panel's rectangle includes its one-pixel bevel; a size grip sits in the bottom-right
// corner; an owner-drawn panel's inside is asked of DrawPanel, and PanelRect answers the rectangle query.
// Every paint goes into the back buffer. Qt-free.
#pragma once

#include "platform/controls/Controls.h"
#include "platform/controls/Edit.h"   // TAlignment
#include "platform/graphics/GraphicsObjects.h"
#include "platform/rtl/Collections.h"

#include <functional>
#include <memory>
#include <string>

enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
inline const TEnumNames StatusPanelBevelNames{"pbNone", "pbLowered", "pbRaised"};
enum TStatusPanelStyle { psText, psOwnerDraw };
inline const TEnumNames StatusPanelStyleNames{"psText", "psOwnerDraw"};
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
inline const TEnumNames BiDiModeNames{"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign",
                                      "bdRightToLeftReadingOnly"};

class TStatusBar;

class TStatusPanel : public TCollectionItem {
    VSP_PERSISTENT_CLASS
public:
    explicit TStatusPanel(TCollection* Collection);

    void Assign(const TPersistent& Source) override;
    std::string DisplayName() const override;

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    TStatusPanelBevel Bevel() const { return FBevel; }
    void SetBevel(TStatusPanelBevel v);
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode v);
    bool ParentBiDiMode() const { return FParentBiDiMode; }
    void SetParentBiDiMode(bool v);
    TStatusPanelStyle Style() const { return FStyle; }
    void SetStyle(TStatusPanelStyle v);
    const std::string& Text() const { return FText; }
    void SetText(const std::string& v);
    // Pixels, 50 for a new panel; a width below 0 reaches the bar's right edge.
    int Width() const { return FWidth; }
    void SetWidth(int v);

private:
    TAlignment FAlignment = taLeftJustify;
    TStatusPanelBevel FBevel = pbLowered;
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FParentBiDiMode = true;
    TStatusPanelStyle FStyle = psText;
    std::string FText;
    int FWidth = 50;
};

class TStatusPanels : public TCollection {
    VSP_PERSISTENT_CLASS
public:
    explicit TStatusPanels(TStatusBar* StatusBar);
    TStatusPanel* Items(int Index) const { return static_cast<TStatusPanel*>(TCollection::Items(Index)); }
    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
    TStatusBar* StatusBar() const { return FStatusBar; }

protected:
    // Any change of a panel or of the list repaints the bar.
    void Update(TCollectionItem* Item) override;

private:
    TStatusBar* FStatusBar;
};

class TStatusBar : public TCustomControl {
    VSP_PERSISTENT_CLASS
public:
    // 19 pixels high, colour clBtnFace, with a size grip.
    explicit TStatusBar(TComponent* AOwner);
    ~TStatusBar() override;

    TStatusPanels& Panels() { return *FPanels; }
    const TStatusPanels& Panels() const { return *FPanels; }
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& v) { FFont.Assign(v); }
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool v);
    // When on, the bar takes the platform's default font.
    bool UseSystemFont() const { return FUseSystemFont; }
    void SetUseSystemFont(bool v);

    // The panel's rectangle, bevel included, in client pixels (panels 2 pixels apart, from y 2 to the
    // bottom; the last one, whatever its width, to the right edge); empty for an index without a panel
    // or a panel beyond the right edge.
    TRect PanelRect(int Index) const;
    // The width the panels take at their own widths (the last one's too), with the gaps between them:
    // the least client width that shows them all whole.
    int PanelsWidth() const;

    // The draw-item request of an owner-drawn panel, when a descendant does not take it.
    std::function<void(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect)> OnDrawPanel;

protected:
    // Fills the bar, draws the bevels and each panel's inside (text, or DrawPanel for owner-drawn
    // panels) and the size grip.
    void Paint() override;
    // The draw-item request of one owner-drawn panel: the canvas holds the bar's font and a solid
    // clBtnFace brush. The base fires OnDrawPanel.
    virtual void DrawPanel(TStatusPanel* Panel, const TRect& Rect);
    // The font changed (after the change); the base repaints.
    virtual void FontChanged();
    // The canvas made ready for a draw-item request (font and brush as the platform gives them).
    void PrepareItemCanvas();

private:
    void PaintSizeGrip();

    std::unique_ptr<TStatusPanels> FPanels;
    TFont FFont;
    bool FSizeGrip = true;
    bool FUseSystemFont = true;
};
