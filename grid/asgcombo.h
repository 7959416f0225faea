// The flat combo box: a combo box that paints itself flat, a thin frame in its parent's colour that
// turns into a sunken frame while the mouse is over it or it is the active control, its own drop-down
// button (raised or etched), a button width kept within 14..32, and the parent's colour while disabled.
// TFlatComboLook adds that look to a combo box class; the 8-bit and the Unicode combo share it. Qt-free.
#pragma once

#include "platform/controls/Screen.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Canvas.h"

#include <algorithm>

template <class Base>
class TFlatComboLook : public Base {
public:
    explicit TFlatComboLook(TComponent* AOwner) : Base(AOwner)
    {
        FOldColor = Base::Color();
        Base::SetShowsColor(true);
    }

    // Takes the focus when the mouse enters.
    bool AutoFocus() const { return FAutoFocus; }
    void SetAutoFocus(bool v) { FAutoFocus = v; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool v)
    {
        if (v == FFlat) return;
        FFlat = v;
        Base::Invalidate();
    }
    bool Etched() const { return FEtched; }
    void SetEtched(bool v)
    {
        if (v == FEtched) return;
        FEtched = v;
        Base::Invalidate();
    }
    // Values outside 14..32 are ignored.
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int v)
    {
        if (v < 14 || v > 32) return;
        FButtonWidth = v;
        Base::Invalidate();
    }
    // The sunken frame shows while the mouse is over the combo or it is the active control.
    bool FocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool v)
    {
        FFocusBorder = v;
        Base::Invalidate();
    }
    int DropWidth() const { return FDropWidth; }
    void SetDropWidth(int v)
    {
        FDropWidth = v;
        if (v > 0) Base::SetDropDownWidth(v);
    }
    // The colour follows the parent's (set while a flat combo is disabled).
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool v)
    {
        FParentColor = v;
        if (v) Base::SetColor(ParentBrushColor());
    }
    // Themed drawing is never taken on this desktop; the grid sets the flag it knows.
    bool ThemedLook() const { return false; }
    bool MouseInControl() const { return FMouseInControl; }

protected:
    // The sunken frame's condition.
    bool ShowsFocusBorder() const { return FFocusBorder && (FMouseInControl || Base::Focused()); }
    // Whether the drop-down button shows raised; the 8-bit combo's always is.
    virtual bool ButtonIsRaised() const { return true; }

    TColor ParentBrushColor() const { return Base::Parent() ? Base::Parent()->Color() : clBtnFace; }

    void PaintWindow(TCanvas& C) override
    {
        Base::PaintWindow(C);
        if (!FFlat) return;
        const int w = Base::Width(), h = Base::Height();
        if (Base::Style() != csSimple) {
            TRect b{w - FButtonWidth, 0, w, h};
            b = {b.Left - 2, b.Top + 1 + 1, b.Right - 2, b.Bottom - 1 + 1};
            C.DrawFrameControl(b, DFC_SCROLL, unsigned(DFCS_SCROLLCOMBOBOX) | unsigned(DFCS_FLAT));
        }
        PaintFlatBorder(C);
        if (Base::Style() != csSimple) PaintFlatButton(C);
    }

    void PaintFlatBorder(TCanvas& C)
    {
        const bool hot = ShowsFocusBorder();
        const TColor outer = hot ? clBtnFace : ParentBrushColor();
        TRect r{0, 0, Base::Width(), Base::Height()};
        C.Brush().SetStyle(bsSolid);
        if (hot) {
            C.DrawEdge(r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
            C.Brush().SetColor(outer);
            C.FrameRect(r);
        } else {
            C.Brush().SetColor(outer);
            C.FrameRect(r);
            r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
            C.FrameRect(r);
        }
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
        C.Brush().SetColor(Base::Color());
        C.FrameRect(r);
    }

    void PaintFlatButton(TCanvas& C)
    {
        TRect r{Base::Width() - FButtonWidth - 4 + 2, 2, Base::Width() - 2 + 1, Base::Height() - 2 + 2};
        r.Bottom = std::min(r.Bottom, Base::Height() - 2);
        if (ButtonIsRaised()) {
            unsigned flags = BF_RECT;
            if (Base::DroppedDown()) flags |= BF_FLAT;
            C.DrawEdge(r, FEtched ? EDGE_ETCHED : EDGE_RAISED, flags);
        } else {
            C.Brush().SetColor(clBtnFace);
            C.FillRect({r.Left, r.Top + 1, r.Right - 1, r.Bottom - 1});
        }
    }

    void DoEnter() override
    {
        Base::DoEnter();
        Base::Invalidate();
    }
    void DoExit() override
    {
        Base::DoExit();
        Base::Invalidate();
    }
    void MouseEnter() override
    {
        Base::MouseEnter();
        if (!FMouseInControl && Base::Enabled()) {
            FMouseInControl = true;
            Base::Invalidate();
        }
        if (FAutoFocus && Base::CanFocus()) Base::SetFocus();
    }
    void MouseLeave() override
    {
        Base::MouseLeave();
        if (FMouseInControl && Base::Enabled()) {
            FMouseInControl = false;
            Base::Invalidate();
        }
    }
    // A flat combo takes its parent's colour while disabled and gets its own back when enabled.
    void EnabledChanged() override
    {
        if (FFlat) {
            if (Base::Enabled()) {
                FParentColor = FOldParentColor;
                Base::SetColor(FOldColor);
            } else {
                FOldParentColor = FParentColor;
                FOldColor = Base::Color();
                SetParentColor(true);
            }
        }
        Base::EnabledChanged();
        Base::Invalidate();
    }

private:
    bool FAutoFocus = false, FFlat = true, FEtched = false, FFocusBorder = false;
    int FButtonWidth = GetSystemMetrics(SM_CXVSCROLL) + 4;
    int FDropWidth = 0;
    bool FParentColor = false, FOldParentColor = false;
    TColor FOldColor;
    bool FMouseInControl = false;
};

class TESGCustomCombo : public TFlatComboLook<TComboBox> {
    VSP_PERSISTENT_CLASS
public:
    explicit TESGCustomCombo(TComponent* AOwner) : TFlatComboLook<TComboBox>(AOwner) {}
};

class TESGComboBox : public TESGCustomCombo {
    VSP_PERSISTENT_CLASS
public:
    using TESGCustomCombo::TESGCustomCombo;
};
