// The navigator base: building its buttons and their drawn glyphs, hints, the shared-width layout, the
// focused button and its keys, the repeat timer of a held button, and the chart panel it listens to.
#include "chart/editors/LumNavigator.h"

#include "chart/base/LumConst.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"

#include <algorithm>

namespace {

constexpr int MinButtonWidth = 20;
constexpr int MinButtonHeight = 18;
constexpr int FirstRepeatDelay = 400;
constexpr int RepeatInterval = 100;

const char* const DefaultHints[LumNavButtonCount] = {
    LumConst::NavFirst, LumConst::NavPrior, LumConst::NavNext,  LumConst::NavLast,  LumConst::NavInsert,
    LumConst::NavDelete, LumConst::NavEdit, LumConst::NavPost, LumConst::NavCancel,
};

// The buttons' pictures, 11 x 11 on a transparent olive ground (the speed button takes the bottom-left
// pixel's colour as transparent and draws the disabled look from the same shapes).
std::unique_ptr<TBitmap> NavigatorGlyph(TLumNavigateBtn Index)
{
    auto b = std::make_unique<TBitmap>(11, 11);
    TCanvas& c = b->Canvas();
    c.Brush().SetColor(clOlive);
    c.Brush().SetStyle(bsSolid);
    c.FillRect({0, 0, 11, 11});
    c.Brush().SetColor(clBlack);
    c.Pen().SetColor(clBlack);
    const auto left = [&](int x) { c.Polygon({{x + 4, 1}, {x + 4, 9}, {x, 5}}); };
    const auto right = [&](int x) { c.Polygon({{x, 1}, {x, 9}, {x + 4, 5}}); };
    switch (Index) {
    case nbFirst: c.FillRect({2, 1, 4, 10}); left(5); break;
    case nbPrior: left(3); break;
    case nbNext: right(4); break;
    case nbLast: right(3); c.FillRect({8, 1, 10, 10}); break;
    case nbInsert: c.FillRect({4, 1, 7, 10}); c.FillRect({1, 4, 10, 7}); break;
    case nbDelete: c.FillRect({1, 4, 10, 7}); break;
    case nbEdit: c.Polygon({{2, 8}, {3, 6}, {8, 1}, {10, 3}, {5, 8}}); break;
    case nbPost: c.Polygon({{1, 5}, {3, 5}, {4, 7}, {8, 1}, {10, 1}, {4, 9}}); break;
    case nbCancel:
        c.Pen().SetWidth(2);
        c.MoveTo(2, 2); c.LineTo(9, 9);
        c.MoveTo(9, 2); c.LineTo(2, 9);
        break;
    }
    return b;
}

} // namespace

// ---- TLumNavButton ---------------------------------------------------------------------------------------

const TClassInfo& TLumNavButton::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TLumNavButton", .Parent = &TSpeedButton::StaticClassInfo()});
    return info;
}

TLumNavButton::TLumNavButton(TCustomLumNavigator& Navigator, TLumNavigateBtn Index)
    : TSpeedButton(&Navigator), FNavigator(Navigator), FIndex(Index)
{
}

TLumNavButton::~TLumNavButton() = default;

void TLumNavButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TSpeedButton::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled()) return;
    FNavigator.ButtonPressed(*this);
    if (!FRepeatTimer) {
        FRepeatTimer = new TTimer(this);
        FRepeatTimer->OnTimer = [this](TPersistent*) { RepeatTick(); };
    }
    FRepeatTimer->SetEnabled(false);
    FRepeatTimer->SetInterval(FirstRepeatDelay);
    FRepeatTimer->SetEnabled(true);
}

void TLumNavButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TSpeedButton::MouseUp(Button, Shift, X, Y);
    if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
}

void TLumNavButton::RepeatTick()
{
    FRepeatTimer->SetInterval(RepeatInterval);
    // A held button keeps the mouse: the press is still on and the release has not come.
    if (!ShownDown() || !Pressed()) return;
    try {
        Click();
    } catch (...) {
        FRepeatTimer->SetEnabled(false);
        throw;
    }
}

void TLumNavButton::Paint()
{
    TSpeedButton::Paint();
    if (!FNavigator.Focused() || FNavigator.FocusedButton() != FIndex) return;
    TRect r = ClientRect();
    r = {r.Left + 3, r.Top + 3, r.Right - 3, r.Bottom - 3};
    if (ShownDown()) r = {r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1};
    Canvas().DrawFocusRect(r);
}

// ---- TCustomLumNavigator ---------------------------------------------------------------------------------

const TClassInfo& TCustomLumNavigator::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TCustomLumNavigator", .Parent = &TCustomPanelNoCaption::StaticClassInfo()});
    return info;
}

TCustomLumNavigator::TCustomLumNavigator(TComponent* AOwner) : TCustomPanelNoCaption(AOwner)
{
    SetBevelOuter(bvNone);
    SetBevelInner(bvNone);
    SetTabStop(true);
    BuildButtons();
    ApplyHints();
    SetBounds(0, 0, 241, 25);
    LayoutButtons();
}

TCustomLumNavigator::~TCustomLumNavigator()
{
    if (FPanel) {
        FPanel->Listeners().Remove(this);
        FPanel->RemoveFreeNotification(this);
        FPanel = nullptr;
    }
    // The buttons call back into the navigator while they go.
    DestroyComponents();
}

void TCustomLumNavigator::BuildButtons()
{
    int x = 0;
    for (int i = 0; i < LumNavButtonCount; ++i) {
        const auto index = static_cast<TLumNavigateBtn>(i);
        auto* b = new TLumNavButton(*this, index);
        b->SetFlat(true);
        b->SetEnabled(false);
        b->SetParent(this);
        b->SetBounds(x, 0, MinButtonWidth, MinButtonHeight);
        x += MinButtonWidth;
        b->SetGlyph(*NavigatorGlyph(index));
        b->OnClick = [this, index](TPersistent*) { BtnClick(index); };
        b->SetVisible(index <= nbLast);
        FButtons[i] = b;
    }
}

void TCustomLumNavigator::SetCustomHints(const std::vector<std::string>& Value)
{
    FCustomHints = Value;
    ApplyHints();
}

void TCustomLumNavigator::ApplyHints()
{
    for (int i = 0; i < LumNavButtonCount; ++i) {
        const bool custom = i < static_cast<int>(FCustomHints.size()) && !FCustomHints[i].empty();
        FButtons[i]->SetHint(custom ? FCustomHints[i] : DefaultHints[i]);
    }
}

void TCustomLumNavigator::SetAligned(bool Value)
{
    FAligned = Value;
    LayoutButtons();
}

void TCustomLumNavigator::LayoutButtons()
{
    if (FLayingOut) return;
    FLayingOut = true;
    const int n = std::max<int>(1, std::count_if(FButtons.begin(), FButtons.end(), [](auto* b) { return b->Visible(); }));
    int width = std::max(Width(), MinButtonWidth * n);
    const int height = std::max(Height(), MinButtonHeight);
    const int w = width / n;
    if (!FAligned) width = n * w;
    int leftover = width - n * w;
    int t = n / 2;
    int x = 0;
    for (TLumNavButton* b : FButtons) {
        if (!b->Visible()) {
            b->SetBounds(width + 1, 0, w, height);
            continue;
        }
        int bw = w;
        if (leftover != 0) {
            t -= leftover;
            if (t < 0) {
                t += n;
                ++bw;
            }
        }
        b->SetBounds(x, 0, bw, height);
        x += bw;
    }
    if (width != Width() || height != Height()) SetBounds(Left(), Top(), width, height);
    FLayingOut = false;
}

void TCustomLumNavigator::Resize()
{
    TCustomPanelNoCaption::Resize();
    LayoutButtons();
}

void TCustomLumNavigator::EnabledChanged()
{
    TCustomPanelNoCaption::EnabledChanged();
    UpdateButtons();
}

void TCustomLumNavigator::BtnClick(TLumNavigateBtn Index)
{
    if (OnNavigate) OnNavigate(this, Index);
}

void TCustomLumNavigator::SetFocusedButton(int Index)
{
    const int old = FFocusedButton;
    FFocusedButton = Index;
    FButtons[old]->Invalidate();
    FButtons[Index]->Invalidate();
}

void TCustomLumNavigator::ButtonPressed(TLumNavButton& Button)
{
    SetFocusedButton(Button.Index());
    if (TabStop() && CanFocus()) SetFocus();
}

void TCustomLumNavigator::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    TCustomPanelNoCaption::KeyDown(Key, Shift);
    switch (Key) {
    case VK_SPACE:
        if (FButtons[FFocusedButton]->Enabled()) FButtons[FFocusedButton]->Click();
        break;
    case VK_LEFT:
        for (int i = FFocusedButton - 1; i >= 0; --i)
            if (FButtons[i]->Visible()) {
                SetFocusedButton(i);
                break;
            }
        break;
    case VK_RIGHT:
        for (int i = FFocusedButton + 1; i < LumNavButtonCount; ++i)
            if (FButtons[i]->Visible()) {
                SetFocusedButton(i);
                break;
            }
        break;
    default: break;
    }
}

void TCustomLumNavigator::DoEnter()
{
    TCustomPanelNoCaption::DoEnter();
    FButtons[FFocusedButton]->Invalidate();
}

void TCustomLumNavigator::DoExit()
{
    TCustomPanelNoCaption::DoExit();
    FButtons[FFocusedButton]->Invalidate();
}

void TCustomLumNavigator::AttachPanel(TCustomLumPanel* Value)
{
    if (Value != FPanel) {
        if (FPanel) {
            FPanel->Listeners().Remove(this);
            FPanel->RemoveFreeNotification(this);
        }
        FPanel = Value;
        if (FPanel) {
            FPanel->FreeNotification(this);
            ListAddOnce(FPanel->Listeners(), this);
        }
    }
    UpdateButtons();
}

void TCustomLumNavigator::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomPanelNoCaption::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPanel) FPanel = nullptr;
}
