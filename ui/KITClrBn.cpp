// The colour button: its owner drawing (frame, focus, swatch or disabled hatch, divider, arrow), the click
// that drops down or cycles the palette, the palette's callbacks and the custom colours in the registry.
#include "ui/KITClrBn.h"

#include "platform/controls/AnsiText.h"
#include "platform/controls/Application.h"
#include "platform/controls/Screen.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/ResourceStore.h"
#include "platform/rtl/Registry.h"

#include <QPushButton>

#include <cstdio>

namespace {

// The drop-down arrow: a triangle 5, 3 and 1 pixels wide on rows 2 to 4 of 7 x 5 pixels, on an olive
// background that the drawing leaves out.
void DrawArrow(TBitmap& into, TColor ink)
{
    into.SetSize(7, 5);
    into.Canvas().Brush().SetColor(clOlive);
    into.Canvas().FillRect({0, 0, 7, 5});
    for (int row = 2; row <= 4; ++row)
        for (int x = row - 1; x <= 7 - row; ++x) into.SetPixelRGB(x, row, ink);
}

void RegisterArrows()
{
    static const bool done = [] {
        RegisterBitmapResource("KIT_ARROW_BMP", [](TBitmap& b) { DrawArrow(b, clBlack); });
        RegisterBitmapResource("KIT_ARROW_DISABLED_BMP", [](TBitmap& b) { DrawArrow(b, 0x808080); });
        return true;
    }();
    (void)done;
}

bool Inside(const TRect& r, TPoint p) { return p.x >= r.Left && p.x < r.Right && p.y >= r.Top && p.y < r.Bottom; }

TColor ParseColourField(const std::string& field)
{
    if (field.empty()) return 0xFFFFFF;
    try {
        const bool hex = field[0] == '$';
        const std::string digits = hex ? field.substr(1) : field;
        std::size_t used = 0;
        const long long v = std::stoll(digits, &used, hex ? 16 : 10);
        if (used != digits.size()) return 0xFFFFFF;
        return static_cast<TColor>(static_cast<std::uint32_t>(v));
    } catch (...) {
        return 0xFFFFFF;
    }
}

} // namespace

const TClassInfo& TkitColorButton::StaticClassInfo()
{
    using P = TProps<TkitColorButton>;
    using B = TkitColorButton;
    static const TClassInfo info({
        .Name = "TkitColorButton",
        .Parent = &TButton::StaticClassInfo(),
        .Properties = {P::Text("Version", &B::Version, &B::SetVersion).NotStored(),
                       P::Boolean("ShowColorHints", &B::ShowColorHints, &B::SetShowColorHints).Default(true),
                       P::Enumeration("Style", ButtonStyleNames, &B::Style, &B::SetStyle).Default(bsAutoDetect),
                       P::Text("OtherBtnCaption", &B::OtherBtnCaption, &B::SetOtherBtnCaption),
                       P::Colour("OtherColor", &B::OtherColor, &B::SetOtherColor).Default(clBtnFace),
                       P::Boolean("CycleColors", &B::CycleColors, &B::SetCycleColors).Default(false),
                       P::Object("PaletteColors", [](const B& b) { return const_cast<TColorArrayClass*>(&b.PaletteColors()); }),
                       P::Object("CustomColors", [](const B& b) { return const_cast<TColorArrayClass*>(&b.CustomColors()); }),
                       P::Colour("Color", &B::Color, &B::SetColor).Default(0),
                       P::Boolean("Flat", &B::Flat, &B::SetFlat).Default(false),
                       P::Text("CustomColorsKey", &B::CustomColorsKey, &B::SetCustomColorsKey).Default("")},
        .Create = &CreateComponentOf<TkitColorButton>,
    });
    return info;
}

TkitColorButton::TkitColorButton(TComponent* AOwner)
    : TButton(AOwner), FPaletteColors(std::make_unique<TColorArrayClass>(4, 5)),
      FCustomColors(std::make_unique<TColorArrayClass>(8, 2))
{
    SetOwnerDraw(true);
    SetCaption("");
    SetBounds(Left(), Top(), 45, 22);
    RegisterArrows();
    LoadBitmapResource("KIT_ARROW_BMP", FArrow);
    LoadBitmapResource("KIT_ARROW_DISABLED_BMP", FArrowDisabled);
    InitDefaultColors();
}

TkitColorButton::~TkitColorButton()
{
    // A palette still open goes with the button's window, its parent.
    if (FPalette) {
        FPalette->OnClosed = nullptr;
        FPalette->OnColorSelected = nullptr;
    }
    if (!FCustomColorsKey.empty()) Application->Guarded([this] { SaveCustomColors(); });
}

void TkitColorButton::InitDefaultColors()
{
    FPaletteColors->Assign(DefaultPaletteColors());
    FCustomColors->SetXSize(8);
    FCustomColors->SetYSize(2);
    for (int x = 1; x <= 8; ++x)
        for (int y = 1; y <= 2; ++y) FCustomColors->SetCell(x, y, 0xFFFFFF);
    FOtherColor = clBtnFace;
}

void TkitColorButton::Loaded()
{
    TButton::Loaded();
    LoadCustomColors();
}

// -- properties

void TkitColorButton::SetStyle(TButtonStyle v)
{
    FStyle = v;
    Invalidate();
}

void TkitColorButton::SetFlat(bool v)
{
    FFlat = v;
    Invalidate();
}

void TkitColorButton::SetCustomColorsKey(const std::string& v)
{
    FCustomColorsKey = v;
    // Made in code, the button reads its custom colours when it gets its key, as its window would.
    if (!ComponentState().Contains(csLoading) && !FCustomColorsLoaded) LoadCustomColors();
}

void TkitColorButton::SetColor(TColor v)
{
    if (v == FColor) return;
    FColor = v;
    FColorIndex = 0;
    for (int i = 1; i <= FPaletteColors->Count(); ++i)
        if (FPaletteColors->At(i) == v) {
            FColorIndex = i;
            break;
        }
    Repaint();
    ColorChanged();
}

void TkitColorButton::SetColorIndex(int i)
{
    if (i == FColorIndex || i < 0 || i > FPaletteColors->Count()) return;
    FColorIndex = i;
    FColor = i == 0 ? FOtherColor : FPaletteColors->At(i);
    Repaint();
    ColorChanged();
}

void TkitColorButton::ColorChanged()
{
    if (OnColorChange) OnColorChange(this);
}

// -- the click

void TkitColorButton::Click()
{
    // A click that arrives while the palette is open closes it; the palette's closing then tells this
    // click apart from one that should open it again.
    if (FPalette) FPalette->close();
    if (FSuppressNextClick) {
        FSuppressNextClick = false;
        return;
    }
    const TPoint cursor = ScreenToClient(LastMousePos());
    if (FCycleColors && cursor.x <= Width() - 13) {
        const int next = FColorIndex + 1 > FPaletteColors->Count() ? 0 : FColorIndex + 1;
        SetColorIndex(next);
        return;
    }
    auto* palette = new TKITColorButtonPalette(Widget());
    const TRect work = Screen->WorkAreaRect();
    TPoint at = ClientToScreen({0, Height()});
    if (at.y + palette->height() > work.Bottom) at = ClientToScreen({0, -121});
    if (at.x < work.Left)
        at.x = work.Left;
    else if (at.x + palette->width() > work.Right)
        at.x = work.Right - 78;
    palette->move(at.x, at.y);
    palette->SetShowColorHints(FShowColorHints);
    palette->btnOther->setText(AnsiToQString(FOtherBtnCaption));
    palette->SetColorGrid(*FPaletteColors);
    palette->SetCustomColors(*FCustomColors);
    palette->SetOtherColor(FOtherColor);
    palette->SelectColor(FColor);
    palette->OnColorSelected = [this](TKITColorButtonPalette* p, bool other, TColor c) { PaletteColorSelected(p, other, c); };
    palette->OnClosed = [this](TKITColorButtonPalette* p) { PaletteClosed(p); };
    palette->OnGetColorHintText = OnGetColorHintText;
    palette->HintSender = this;
    FPalette = palette;
    FDroppedDown = true;
    Repaint();
    palette->show();
}

void TkitColorButton::PaletteColorSelected(TKITColorButtonPalette*, bool IsOther, TColor Color)
{
    SetColor(Color);
    if (IsOther) FOtherColor = Color;
}

void TkitColorButton::PaletteClosed(TKITColorButtonPalette* Palette)
{
    if (!Palette->ClosedByKey() && MouseInside()) FSuppressNextClick = true;
    FCustomColors->Assign(Palette->CustomColors());
    FDroppedDown = false;
    FPalette = nullptr;
    Repaint();
}

bool TkitColorButton::MouseInside() const
{
    const TPoint p = ScreenToClient(LastMousePos());
    return Inside(ClientRect(), p);
}

void TkitColorButton::MouseEnter()
{
    TButton::MouseEnter();
    if (FFlat && !FMouseInside) {
        FMouseInside = true;
        Repaint();
    }
    FMouseInside = true;
}

void TkitColorButton::MouseLeave()
{
    TButton::MouseLeave();
    if (FFlat && FMouseInside) {
        FMouseInside = false;
        Repaint();
    }
    FMouseInside = false;
}

void TkitColorButton::EnabledChanged()
{
    TButton::EnabledChanged();
    Repaint();
}

// -- drawing

void TkitColorButton::DrawItem(TCanvas& c, const TRect& client, TOwnerDrawState State)
{
    const bool down = State.Contains(odSelected) || FDroppedDown;
    const bool focused = State.Contains(odFocused);
    const bool disabled = State.Contains(odDisabled) || !Enabled();
    FMouseInside = MouseInside();
    TRect r = client;
    TBrush face;
    face.SetColor(clBtnFace);
    if (down) {
        TBrush outline;
        outline.SetColor(clWindowFrame);
        c.FrameRect(r, outline);
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
        outline.SetColor(clBtnShadow);
        c.FrameRect(r, outline);
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
        c.FillRect(r, face);
    } else if (FFlat && (FMouseInside || focused)) {
        Frame3D(c, r, clBtnHighlight, clBtnShadow, 1);
        c.FillRect(r, face);
    } else {
        const bool flatLook = FFlat && !FMouseInside && !focused;
        unsigned state = DFCS_BUTTONPUSH;
        if (disabled) state |= DFCS_INACTIVE;
        if (flatLook) state |= DFCS_FLAT;
        c.DrawFrameControl(r, DFC_BUTTON, state);
        if (flatLook) {
            TBrush ring;
            ring.SetColor(clBtnFace);
            c.FrameRect(r, ring);
        }
    }
    // The focus rectangle.
    TRect f = client;
    if (down) f = {f.Left + 1, f.Top + 1, f.Right + 1, f.Bottom + 1};
    f = {f.Left + 3, f.Top + 3, f.Right - 3, f.Bottom - 3};
    if (ActiveStyle() && focused) c.DrawFocusRect(f);
    // The swatch.
    TRect s = {f.Left + 1 + 2, f.Top + 1 + 1, f.Right - 1 - 2 - 10, f.Bottom - 1 - 1};
    if (disabled) {
        TBrush outline;
        outline.SetColor(clWindowFrame);
        c.FrameRect(s, outline);
        static const unsigned char hatch[8] = {0x11, 0x22, 0x44, 0x88, 0x11, 0x22, 0x44, 0x88};
        for (int y = s.Top + 1; y < s.Bottom - 1; ++y)
            for (int x = s.Left + 1; x < s.Right - 1; ++x)
                if ((hatch[y & 7] >> (7 - (x & 7))) & 1) c.SetPixel(x, y, clBlack);
    } else {
        c.Pen().SetColor(clWindowFrame);
        c.Pen().SetWidth(1);
        c.Pen().SetStyle(psSolid);
        c.Brush().SetStyle(bsSolid);
        c.Brush().SetColor(FColor);
        c.Rectangle(s);
    }
    // The divider and the arrow.
    const int x = s.Right + 3;
    c.Pen().SetColor(clBtnShadow);
    c.MoveTo(x, s.Top);
    c.LineTo(x, s.Bottom);
    c.Pen().SetColor(clBtnHighlight);
    c.MoveTo(x + 1, s.Top);
    c.LineTo(x + 1, s.Bottom);
    const TBitmap& arrow = disabled ? FArrowDisabled : FArrow;
    const int ax = x + 2, ay = s.Top + (s.Height() / 2 - arrow.Height() / 2);
    c.BrushCopy({ax, ay, ax + arrow.Width() - 1, ay + arrow.Height() - 1}, arrow,
                {0, 0, arrow.Width() - 1, arrow.Height() - 1}, arrow.PixelRGB(0, arrow.Height() - 1));
}

// -- custom colours in the registry

std::string TkitColorButton::CustomColorsValueName() const
{
    return Parent() && !Parent()->Name().empty() ? Parent()->Name() + "." + Name() : Name();
}

std::string TkitColorButton::CustomColorsText() const
{
    std::string text;
    for (int x = 1; x <= 8; ++x)
        for (int y = 1; y <= 2; ++y) {
            char field[16];
            std::snprintf(field, sizeof field, "$%08X", static_cast<unsigned>(FCustomColors->Cell(x, y)));
            if (!text.empty()) text += ",";
            text += field;
        }
    return text;
}

// Fields have the width up to the first comma; once the text is used up the rest read as white.
void TkitColorButton::ReadCustomColorsText(const std::string& value)
{
    std::string text = value;
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos) return;
    const std::size_t p = comma + 1;
    int read = 0;
    for (int x = 1; x <= 8 && read < 16; ++x)
        for (int y = 1; y <= 2 && read < 16; ++y, ++read) {
            const std::string field = text.substr(0, p - 1);
            text.erase(0, std::min(p, text.size()));
            FCustomColors->SetCell(x, y, ParseColourField(field));
        }
}

void TkitColorButton::LoadCustomColors()
{
    FCustomColorsLoaded = true;
    if (FCustomColorsKey.empty()) return;
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (!reg.OpenKeyReadOnly(FCustomColorsKey + "\\Colors")) return;
    const std::string name = CustomColorsValueName();
    if (!reg.ValueExists(name)) return;
    ReadCustomColorsText(reg.ReadString(name));
}

void TkitColorButton::SaveCustomColors()
{
    if (FCustomColorsKey.empty()) return;
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (!reg.OpenKey(FCustomColorsKey + "\\Colors", true)) return;
    reg.WriteString(CustomColorsValueName(), CustomColorsText());
}
