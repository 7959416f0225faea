// The navigator base of the chart editors: a row of flat buttons (TLumNavButton) that repeat while held,
// laid out to share the control's width, with a focused button moved by the arrow keys, and an optional
// chart panel whose events descendants hear. The paging navigator and the data grid's derive from it.
#pragma once

#include "chart/base/RadErareEvents.h"
#include "chart/base/RadErarePanel.h"
#include "platform/controls/Buttons.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TCustomLumNavigator;
class TTimer;

enum TLumNavigateBtn { nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel };
inline constexpr int LumNavButtonCount = 9;

using TNotifyButtonClickedEvent = std::function<void(TPersistent* Sender, TLumNavigateBtn Button)>;

class TLumNavButton : public TSpeedButton {
    VSP_PERSISTENT_CLASS
public:
    TLumNavButton(TCustomLumNavigator& Navigator, TLumNavigateBtn Index);
    ~TLumNavButton() override;

    TLumNavigateBtn Index() const { return FIndex; }
    // Made at the first press; 400 ms to the first repeat, then 100 ms.
    TTimer* RepeatTimer() const { return FRepeatTimer; }
    // One tick of the repeat timer: clicks while the button is still held (an exception from the click
    // stops the timer and passes on).
    void RepeatTick();

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Paint() override;

private:
    TCustomLumNavigator& FNavigator;
    TLumNavigateBtn FIndex;
    TTimer* FRepeatTimer = nullptr;
};

class TCustomLumNavigator : public TCustomPanelNoCaption, public IChartEventListener {
    VSP_PERSISTENT_CLASS
public:
    // 241 x 25, no bevels, the nine buttons with the four moving ones shown, the first one focused.
    explicit TCustomLumNavigator(TComponent* AOwner);
    ~TCustomLumNavigator() override;

    TLumNavButton& Button(TLumNavigateBtn Index) const { return *FButtons[Index]; }
    int FocusedButton() const { return FFocusedButton; }
    // Line i, when not empty, replaces button i's hint.
    const std::vector<std::string>& CustomHints() const { return FCustomHints; }
    void SetCustomHints(const std::vector<std::string>& Value);

    // Aligned to its parent: the given width stays and its leftover pixels widen some buttons; otherwise
    // the width shrinks to a multiple of the visible buttons.
    bool Aligned() const { return FAligned; }
    void SetAligned(bool Value);
    // Lays the visible buttons out over the control's size (the hidden ones parked past its right edge).
    void LayoutButtons();

    // The chart panel whose events reach ReceiveChartEvent.
    TCustomLumPanel* Panel() const { return FPanel; }

    // Fired after every button click with the button's index.
    std::function<void(TPersistent* Sender, int Index)> OnNavigate;

    // What a click on a button does (the buttons call it): the descendant's operation, then OnNavigate.
    virtual void BtnClick(TLumNavigateBtn Index);
    // Recomputes the buttons' enabled states; nothing in the base.
    virtual void UpdateButtons() {}

    void HandleChartEvent(TLumEvent& Event) override { ReceiveChartEvent(Event); }
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;

protected:
    virtual void BuildButtons();
    virtual void ReceiveChartEvent(TLumEvent& Event) { (void)Event; }
    // Listens to Value instead of the panel before (none: to no panel), then UpdateButtons.
    virtual void AttachPanel(TCustomLumPanel* Value);

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Resize() override;
    void EnabledChanged() override;
    void DoEnter() override;
    void DoExit() override;

private:
    friend class TLumNavButton;
    void ApplyHints();
    // A press on a button: it becomes the focused one.
    void ButtonPressed(TLumNavButton& Button);
    void SetFocusedButton(int Index);

    std::array<TLumNavButton*, LumNavButtonCount> FButtons{};
    std::vector<std::string> FCustomHints;
    TCustomLumPanel* FPanel = nullptr;
    int FFocusedButton = 0;
    bool FAligned = false;
    bool FLayingOut = false;
};
