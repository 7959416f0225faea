// Edits with a button: the flat or push-button speed button, its host window, the edit that keeps its
// text clear of the button and fires OnClickBtn on F4 or a click, and the unit edit with its unit shown
// beside the button and chosen from a pop-up menu.
#include "grid/ESGEdit.h"

#include "platform/controls/Menus.h"
#include "platform/controls/PopupMenu.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"

#include <algorithm>

// ---- TExtSpeedButton ---------------------------------------------------------------------------------

const TClassInfo& TExtSpeedButton::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TExtSpeedButton", .Parent = &TSpeedButton::StaticClassInfo()});
    return info;
}

void TExtSpeedButton::Paint()
{
    TCanvas& c = Canvas();
    TRect r = ClientRect();
    const bool pressed = ShownDown();
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(clBtnFace);
    if (Flat()) {
        c.DrawEdge(r, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    } else {
        c.DrawFrameControl(r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pressed ? DFCS_PUSHED : 0));
    }
    const int shift = pressed ? 1 : 0;
    if (HasGlyph()) {
        const TBitmap& g = Glyph();
        const int x = g.Width() < Width() ? (Width() - g.Width()) / 2 : 0;
        const int y = g.Height() < Height() ? (Height() - g.Height()) / 2 : 0;
        TBitmap copy;
        copy.Assign(g);
        copy.SetTransparent(true);
        c.Draw(x + shift, y + shift, copy);
    }
    if (!Caption().empty()) {
        const int mode = c.SetBkMode(TRANSPARENT);
        c.Font().SetColor(Enabled() ? clBtnText : clGrayText);
        c.TextOut(2 + shift, 2 + shift, Caption());
        c.SetBkMode(mode);
    }
}

// ---- TEsgEditButton ----------------------------------------------------------------------------------

const TClassInfo& TEsgEditButton::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TEsgEditButton", .Parent = &TWinControl::StaticClassInfo()});
    return info;
}

TEsgEditButton::TEsgEditButton(TComponent* AOwner) : TWinControl(AOwner), FButton(new TExtSpeedButton(this))
{
    FButton->SetParent(this);
    FButton->OnClick = [this](TPersistent*) { ButtonReleased(); };
    SetBounds(0, 0, 20, 25);
    FButton->SetBounds(0, 0, 20, 25);
}

void TEsgEditButton::SetFocusControl(TWinControl* v)
{
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = v;
    if (v) v->FreeNotification(this);
}

void TEsgEditButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TEsgEditButton::Resize()
{
    TWinControl::Resize();
    FButton->SetBounds(0, 0, Width(), std::max(15, Height()));
}

void TEsgEditButton::ButtonReleased()
{
    if (OnClick) OnClick(this);
    if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
        FFocusControl->SetFocus();
    else if (TabStop() && CanFocus()) SetFocus();
}

// ---- TEsgEditBtn -------------------------------------------------------------------------------------

// The unit beside the button, drawn in the edit's colour.
class TUnitLabel : public TCustomControl {
public:
    explicit TUnitLabel(TComponent* AOwner) : TCustomControl(AOwner) {}
    std::string Text;
    TColor Back = clWindow;

protected:
    void Paint() override
    {
        TCanvas& c = Canvas();
        c.Brush().SetColor(Back);
        c.FillRect(ClientRect());
        TRect r = ClientRect();
        c.Font().SetColor(clWindowText);
        c.DrawText(Text, r, DT_EDITCONTROL | DT_SINGLELINE | DT_NOPREFIX);
    }
};

const TClassInfo& TEsgEditBtn::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TEsgEditBtn", .Parent = &TCustomEdit::StaticClassInfo(),
                                  .Create = &CreateComponentOf<TEsgEditBtn>});
    return info;
}

TEsgEditBtn::TEsgEditBtn(TComponent* AOwner) : TCustomEdit(AOwner), FButton(new TEsgEditButton(this))
{
    FButton->SetParent(this);
    FButton->SetBounds(0, 0, 18, 18);
    FButton->SetFocusControl(this);
    FButton->OnClick = [this](TPersistent* Sender) { DoClickBtn(Sender); };
    SetText("0");
    FitTextRect();
}

TEsgEditBtn::~TEsgEditBtn() = default;

void TEsgEditBtn::SetRightAlign(bool v)
{
    if (v == FRightAlign) return;
    FRightAlign = v;
    SetAlignment(v ? taRightJustify : taLeftJustify);
}

void TEsgEditBtn::SetButtonWidth(int v)
{
    FButton->SetWidth(v);
    FitTextRect();
    Resize();
}

void TEsgEditBtn::DoClickBtn(TPersistent* Sender)
{
    if (OnClickBtn) OnClickBtn(Sender);
}

int TEsgEditBtn::MinimumHeight() const
{
    TBitmap probe;
    probe.SetSize(1, 1);
    const int f = probe.Canvas().TextExtent("Wg").cy;
    return f + std::min(f, f) / 4;
}

void TEsgEditBtn::FitTextRect()
{
    const int left = BorderVisible() ? 1 : 2;
    SetTextMargins(left, FButton->Width() + 3 + FUnitWidth);
}

void TEsgEditBtn::Resize()
{
    TCustomEdit::Resize();
    if (FFitting) return;
    FFitting = true;
    if (Height() < MinimumHeight()) SetHeight(MinimumHeight());
    else if (BorderVisible()) FButton->SetBounds(Width() - FButton->Width() - 3, 2, FButton->Width(), Height() - 5);
    else FButton->SetBounds(Width() - FButton->Width() - 1, 0, FButton->Width(), Height() - 1);
    FitTextRect();
    FFitting = false;
}

void TEsgEditBtn::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    const bool clip = (Shift.Contains(ssCtrl) && (Key == 'V' || Key == 'X')) ||
                      (Shift.Contains(ssShift) && (Key == VK_INSERT || Key == VK_DELETE));
    if (clip && (!FEditorEnabled || ReadOnly())) {
        Key = 0;
        return;
    }
    const std::uint16_t key = Key;
    TCustomEdit::KeyDown(Key, Shift);
    if (key == VK_F1 + 3) DoClickBtn(this);
}

void TEsgEditBtn::WMChar(char& Key)
{
    if (!FEditorEnabled) {
        Key = 0;
        return;
    }
    TCustomEdit::WMChar(Key);
}

void TEsgEditBtn::DoEnter()
{
    if (AutoSelect) SelectAll();
    TCustomEdit::DoEnter();
}

// ---- TEsgUnitEditBtn ---------------------------------------------------------------------------------

const TClassInfo& TEsgUnitEditBtn::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TEsgUnitEditBtn", .Parent = &TEsgEditBtn::StaticClassInfo(),
                                  .Create = &CreateComponentOf<TEsgUnitEditBtn>});
    return info;
}

TEsgUnitEditBtn::TEsgUnitEditBtn(TComponent* AOwner) : TEsgEditBtn(AOwner), FLabel(new TUnitLabel(this))
{
    FLabel->SetParent(this);
    FUnitWidth = 20;
    SetRightAlign(true);
    PlaceUnit();
}

TEsgUnitEditBtn::~TEsgUnitEditBtn() = default;

void TEsgUnitEditBtn::SetUnits(const TStringList* v)
{
    if (v) FUnits.Assign(*v);
}

void TEsgUnitEditBtn::SetUnitID(const std::string& v)
{
    FUnitID = v;
    FLabel->Text = v;
    FLabel->Invalidate();
}

void TEsgUnitEditBtn::SetUnitSpace(int v)
{
    FUnitWidth = v;
    FitTextRect();
    PlaceUnit();
}

void TEsgUnitEditBtn::PlaceUnit()
{
    const int right = Width() - ButtonHost()->Width() - 3;
    FLabel->SetBounds(right - FUnitWidth, 2, std::max(0, FUnitWidth), std::max(0, Height() - 4));
    FLabel->Back = Color();
    FLabel->Invalidate();
}

void TEsgUnitEditBtn::Resize()
{
    TEsgEditBtn::Resize();
    PlaceUnit();
}

void TEsgUnitEditBtn::DoClickBtn(TPersistent*)
{
    TComponent owner(nullptr);
    TPopupMenu menu(&owner);
    for (int i = 0; i < FUnits.Count(); ++i) {
        auto* item = new TMenuItem(&owner);
        item->SetCaption(FUnits[i]);
        const std::string unit = FUnits[i];
        item->OnClick = [this, unit](TPersistent*) { SetUnitID(unit); };
        menu.Items().Add(item);
    }
    const TPoint at = ClientToScreen({ClientWidth() - 15, ClientHeight()});
    menu.Popup(at.x, at.y);
}
