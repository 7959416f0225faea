// Style-sample buttons, the colour button and the flat combo box.
#include "chart/base/LumControls.h"

#include "chart/base/LumCanvas.h"
#include "platform/graphics/Canvas.h"

// ---- TLumButton ---------------------------------------------------------------------------------------------

const TClassInfo& TLumButton::StaticClassInfo()
{
    static const TClassInfo info({
        .Name = "TLumButton",
        .Parent = &TButton::StaticClassInfo(),
        .Defaults = {{"Width", 75}, {"Height", 25}},
        .Create = &CreateComponentOf<TLumButton>,
    });
    return info;
}

TLumButton::TLumButton(TComponent* AOwner) : TButton(AOwner) {}

TRect TLumButton::SymbolRect() const
{
    const int w = Width(), h = Height();
    return {w - 19, h - (h / 4) * 3, w - 6, h - h / 4};
}

void TLumButton::LinkProperty(TPersistent* Object, const std::string& PropertyName)
{
    FLinkedObject = Object;
    if (!Object) return;
    FLinkedPropertyName = PropertyName;
    FLinkedProperty = PropertyName.empty() ? nullptr : FindPropInfo(*Object, PropertyName);
    Invalidate();
}

void TLumButton::PaintWindow(TCanvas& Canvas)
{
    TLumCanvas3D sample;
    sample.AttachCanvas(&Canvas);
    DrawSymbol(sample);
}

void TLumButton::DrawSymbol(TLumCanvas&) {}

// ---- TButtonColor -------------------------------------------------------------------------------------------

const TClassInfo& TButtonColor::StaticClassInfo()
{
    static const TClassInfo info({
        .Name = "TButtonColor",
        .Parent = &TLumButton::StaticClassInfo(),
        .Create = &CreateComponentOf<TButtonColor>,
    });
    return info;
}

TColor TButtonColor::GetColor() const
{
    if (OnGetColor) return OnGetColor();
    if (LinkedObject() && LinkedProperty()) {
        const TPropValue v = GetPropValue(*LinkedObject(), LinkedPropertyName());
        if (auto* ordinal = std::get_if<std::int64_t>(&v)) return ColorToRGB(static_cast<TColor>(*ordinal));
    }
    return FColor;
}

void TButtonColor::SetColor(TColor v)
{
    if (LinkedObject() && LinkedProperty())
        SetPropValue(*LinkedObject(), LinkedPropertyName(), static_cast<std::int64_t>(v));
    else
        FColor = v;
}

void TButtonColor::DrawSymbol(TLumCanvas& Canvas)
{
    const TColor color = GetColor();
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(color);
    if (color == clNone) return;
    if (!Enabled()) Canvas.Pen().SetStyle(psClear);
    Canvas.DrawRect(SymbolRect());
}

void TButtonColor::Click()
{
    TColor c = GetColor();
    if (!EditColorWithDialog(this, c)) return;
    SetColor(c);
    Invalidate();
    TLumButton::Click();
}

// ---- TComboFlat ---------------------------------------------------------------------------------------------

const TClassInfo& TComboFlat::StaticClassInfo()
{
    using P = TProps<TComboFlat>;
    static const TClassInfo info({
        .Name = "TComboFlat",
        .Parent = &TComboBox::StaticClassInfo(),
        .Properties = {P::Integer("DropDownWidth", &TComboFlat::DropDownWidth, &TComboFlat::SetDropDownWidth)
                           .StoredWhen(&TComboFlat::DropDownWidthStored)},
        .Defaults = {{"Height", 21}, {"Style", csDropDownList}, {"ItemHeight", 13}, {"ItemIndex", -1}},
        .Create = &CreateComponentOf<TComboFlat>,
    });
    return info;
}

TComboFlat::TComboFlat(TComponent* AOwner) : TComboBox(AOwner)
{
    SetHeight(21);
    SetItemHeight(13);
    SetStyle(csDropDownList);
}

void TComboFlat::PaintWindow(TCanvas& Canvas)
{
    if (FInside || Focused()) return; // the native 3-D frame stays
    Canvas.Pen().SetStyle(psSolid);
    Canvas.Pen().SetWidth(1);
    Canvas.Pen().SetColor(clBtnFace);
    Canvas.Brush().SetStyle(bsClear);
    TRect r = ClientRect();
    Canvas.Rectangle(r);
    r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    Canvas.Rectangle(r);
    const TRect button{r.Right - GetSystemMetrics(SM_CXSIZE) - 2, r.Top + 1, r.Right, r.Bottom - 1};
    Canvas.Pen().SetColor(clWindow);
    Canvas.Rectangle(button);
    Canvas.MoveTo(button.Right - 2, button.Top);
    Canvas.LineTo(button.Right - 2, button.Bottom);
}

void TComboFlat::MouseEnter()
{
    FInside = true;
    Invalidate();
    TComboBox::MouseEnter();
}

void TComboFlat::MouseLeave()
{
    FInside = false;
    Invalidate();
    TComboBox::MouseLeave();
}

void TComboFlat::DoEnter()
{
    TComboBox::DoEnter();
    FInside = false;
    Invalidate();
}

void TComboFlat::DoExit()
{
    TComboBox::DoExit();
    FInside = false;
    Invalidate();
}
