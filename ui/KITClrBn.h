// The colour button (TkitColorButton): an owner-drawn push button showing a colour swatch and a drop-down
// arrow; a click drops down the palette window, or with CycleColors steps through the palette. Its
// palette and custom colours are colour grids that stream with the form; the custom colours may also live
// in the registry store.
#pragma once

#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Bitmap.h"
#include "ui/CBtnForm.h"

#include <functional>
#include <memory>
#include <string>

enum TButtonStyle { bsAutoDetect, bsWin31, bsNew };
inline const TEnumNames ButtonStyleNames{"bsAutoDetect", "bsWin31", "bsNew"};

class TkitColorButton : public TButton {
    VSP_PERSISTENT_CLASS
public:
    // 45 x 22, no caption, black, the default palette and white custom colours.
    explicit TkitColorButton(TComponent* AOwner);
    // Saves the custom colours to the registry store when CustomColorsKey is set.
    ~TkitColorButton() override;

    void Loaded() override;

    std::string Version() const { return "TkitColorButton v2.61"; }
    void SetVersion(const std::string&) {}
    bool ShowColorHints() const { return FShowColorHints; }
    void SetShowColorHints(bool v) { FShowColorHints = v; }
    TButtonStyle Style() const { return FStyle; }
    void SetStyle(TButtonStyle v);
    const std::string& OtherBtnCaption() const { return FOtherBtnCaption; }
    void SetOtherBtnCaption(const std::string& v) { FOtherBtnCaption = v; }
    TColor OtherColor() const { return FOtherColor; }
    void SetOtherColor(TColor v) { FOtherColor = v; }
    bool CycleColors() const { return FCycleColors; }
    void SetCycleColors(bool v) { FCycleColors = v; }
    TColorArrayClass& PaletteColors() { return *FPaletteColors; }
    const TColorArrayClass& PaletteColors() const { return *FPaletteColors; }
    void SetPaletteColors(const TColorArrayClass& v) { FPaletteColors->Assign(v); }
    TColorArrayClass& CustomColors() { return *FCustomColors; }
    const TColorArrayClass& CustomColors() const { return *FCustomColors; }
    void SetCustomColors(const TColorArrayClass& v) { FCustomColors->Assign(v); }
    // The colour shown; a write finds its palette index (0: the other colour) and calls OnColorChange.
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    const std::string& CustomColorsKey() const { return FCustomColorsKey; }
    void SetCustomColorsKey(const std::string& v);
    // 0: the other colour; 1..count: a palette entry.
    int ColorIndex() const { return FColorIndex; }
    void SetColorIndex(int i);
    // The open palette (nullptr while none is dropped down).
    TKITColorButtonPalette* Palette() const { return FPalette; }
    bool DroppedDown() const { return FDroppedDown; }

    // The registry value of the custom colours: the parent's name, ".", the button's name.
    std::string CustomColorsValueName() const;
    void LoadCustomColors();
    void SaveCustomColors();
    // The custom colours as the registry holds them: 16 "$" + 8 hexadecimal digits, comma-separated.
    std::string CustomColorsText() const;
    void ReadCustomColorsText(const std::string& text);

    TNotifyEvent OnColorChange;
    TKITColorButtonPalette::TGetColorHintText OnGetColorHintText;

    // The palette's callbacks.
    void PaletteColorSelected(TKITColorButtonPalette* Palette, bool IsOther, TColor Color);
    void PaletteClosed(TKITColorButtonPalette* Palette);

protected:
    virtual void InitDefaultColors();
    virtual void ColorChanged();
    void Click() override;
    void DrawItem(TCanvas& Canvas, const TRect& Rect, TOwnerDrawState State) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void EnabledChanged() override;

private:
    bool MouseInside() const;

    bool FShowColorHints = true;
    int FColorIndex = 0;
    TKITColorButtonPalette* FPalette = nullptr;
    std::string FOtherBtnCaption = "&Other";
    bool FCustomColorsLoaded = false;
    TButtonStyle FStyle = bsAutoDetect;
    TColor FColor = 0;
    bool FDroppedDown = false;
    bool FCycleColors = false;
    std::unique_ptr<TColorArrayClass> FPaletteColors;
    TColor FOtherColor = clBtnFace;
    std::unique_ptr<TColorArrayClass> FCustomColors;
    bool FFlat = false;
    std::string FCustomColorsKey;
    TBitmap FArrow, FArrowDisabled;
    bool FMouseInside = false;
    bool FSuppressNextClick = false;
};
