// Small controls of the engine's editor forms: a push button that draws a style sample beside its
// caption, the colour button that edits its own colour or a colour property of another object, and the
// combo box drawn with a flat frame while the mouse is outside and it has no focus. Qt-free.
#pragma once

#include "platform/controls/StdCtrls.h"
#include "platform/rtl/TypInfo.h"

#include <functional>
#include <string>

class TLumCanvas;

// A push button with a sample of a style at its right end.
class TLumButton : public TButton {
    VSP_PERSISTENT_CLASS
public:
    explicit TLumButton(TComponent* AOwner);

    // Where the sample goes: Width - 19, Height - (Height div 4) x 3, Width - 6, Height - Height div 4.
    TRect SymbolRect() const;
    // Links the button to an object and one of its published properties (none for an empty name), and
    // repaints. Without an object nothing else happens.
    void LinkProperty(TPersistent* Object, const std::string& PropertyName);
    TPersistent* LinkedObject() const { return FLinkedObject; }
    // The linked property's description; nullptr when none is linked.
    const TPropInfo* LinkedProperty() const { return FLinkedProperty; }
    const std::string& LinkedPropertyName() const { return FLinkedPropertyName; }

protected:
    // After the native painting: a chart canvas on the same pixels is handed to DrawSymbol.
    void PaintWindow(TCanvas& Canvas) override;
    // Draws the sample; nothing here.
    virtual void DrawSymbol(TLumCanvas& Canvas);
    void EnabledChanged() override { Invalidate(); }
    void TextChanged() override { Invalidate(); }
    // The sample's room from the right edge, kept on both sides of the centred caption.
    int CaptionSideRoom() const override { return 19; }

private:
    TPersistent* FLinkedObject = nullptr;
    const TPropInfo* FLinkedProperty = nullptr;
    std::string FLinkedPropertyName;
};

// A colour button: its sample shows the colour, a click edits it with the colour dialog.
class TButtonColor : public TLumButton {
    VSP_PERSISTENT_CLASS
public:
    explicit TButtonColor(TComponent* AOwner) : TLumButton(AOwner) {}

    // The getter's colour when set; else the linked property's value as RGB; else the own colour.
    TColor GetColor() const;
    // Into the linked property when there is one, else the own colour.
    void SetColor(TColor v);
    TColor OwnColor() const { return FColor; }

    // Overrides every other source of the colour.
    std::function<TColor()> OnGetColor;

protected:
    // Brush in the colour; nothing for clNone; a disabled button draws no outline.
    void DrawSymbol(TLumCanvas& Canvas) override;
    // The colour dialog; on a change the colour is stored, the button repainted and OnClick fired.
    void Click() override;

private:
    TColor FColor = clBlack;
};

// A drop-down list with a flat frame while the mouse is outside and it has no focus.
class TComboFlat : public TComboBox {
    VSP_PERSISTENT_CLASS
public:
    // Height 21, item height 13, a drop-down list.
    explicit TComboFlat(TComponent* AOwner);

    bool MouseInside() const { return FInside; }
    // DropDownWidth is streamed only when it differs from Width.
    bool DropDownWidthStored() const { return DropDownWidth() != Width(); }

protected:
    void PaintWindow(TCanvas& Canvas) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void DoEnter() override;
    void DoExit() override;

private:
    bool FInside = false;
};
