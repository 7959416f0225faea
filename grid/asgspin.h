// The spin editor of the grid: TEsgSpinEdit holds an integer, a real, a date or a time in its text,
// filters typed characters by that type, steps the value (dates and times by the field at the caret) with
// its buttons, the arrow keys and auto-repeat, and keeps the value within its limits; TEsgSpinButton is
// its two-part button, each part a TExtTimerSpeedButton that repeats its click while held. Qt-free.
#pragma once

#include "platform/controls/Buttons.h"
#include "platform/controls/Edit.h"
#include "platform/rtl/DateUtils.h"

#include <cstdint>
#include <memory>

class TTimer;
class TBitmap;

enum TSpinDirection { spVertical, spHorizontal };
enum TEsgSpinType { sptNormal, sptFloat, sptDate, sptTime };

// A speed button that repeats its click while held: 400 ms after the press, then every 100 ms.
class TExtTimerSpeedButton : public TSpeedButton {
    VSP_PERSISTENT_CLASS
public:
    explicit TExtTimerSpeedButton(TComponent* AOwner);
    ~TExtTimerSpeedButton() override;

    // 0 left, 1 right, 2 up, 3 down.
    int PartDirection = 2;
    bool RepeatAllowed = false;
    bool ShowFocusRect = false;
    bool ThemedParts = false;
    bool Transparent = false;
    int NumGlyphs = 1;
    bool HasMouse() const { return FHasMouse; }
    // Made at the first press that may repeat; nullptr before.
    TTimer* RepeatTimer() const { return FRepeatTimer; }

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void Paint() override;

private:
    void TimerExpired();
    TTimer* FRepeatTimer = nullptr;
    bool FHasMouse = false;
};

// Up and down (or right and left) parts; a click of either fires its event.
class TEsgSpinButton : public TWinControl {
    VSP_PERSISTENT_CLASS
public:
    // 15 x 25 pixels, vertical.
    explicit TEsgSpinButton(TComponent* AOwner);

    TExtTimerSpeedButton* UpPart() const { return FUpPart; }
    TExtTimerSpeedButton* DownPart() const { return FDownPart; }
    TExtTimerSpeedButton* FocusedPart() const { return FFocusedPart; }
    TSpinDirection Direction() const { return FDirection; }
    // Horizontal: 20 wide, the up part points right and the down part left; vertical: 15 wide.
    void SetDirection(TSpinDirection v);
    // The control a press on a part focuses (cleared when it goes).
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* v);
    TBitmap& UpGlyph();
    TBitmap& DownGlyph();
    // nullptr loads the default arrow.
    void SetUpGlyph(const TBitmap* v);
    void SetDownGlyph(const TBitmap* v);
    void SetThemedLook(bool v);
    bool ThemedParts() const { return FThemedParts; }
    TNotifyEvent OnUpClick, OnDownClick;

    // The parts laid out in W x H; the width is widened to the direction's least (15 or 20).
    void ArrangeButtons(int& W, int& H);
    // The default arrow glyphs: 9 x 6, a black triangle on olive.
    static void DefaultGlyph(TBitmap& B, bool Up);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Resize() override;
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void WMSetFocus(TWinControl* OldFocus) override;
    void WMKillFocus(TWinControl* NewFocus) override;

private:
    TExtTimerSpeedButton* MakePart(bool Up);
    void PartMouseDown(TExtTimerSpeedButton* Part, TMouseButton Button);
    void SetFocusedPart(TExtTimerSpeedButton* Part);
    TExtTimerSpeedButton* FUpPart = nullptr;
    TExtTimerSpeedButton* FDownPart = nullptr;
    TExtTimerSpeedButton* FFocusedPart = nullptr;
    TWinControl* FFocusControl = nullptr;
    TSpinDirection FDirection = spVertical;
    bool FThemedParts = false;
    bool FArranging = false;
};

class TEsgSpinEdit : public TCustomEdit {
    VSP_PERSISTENT_CLASS
public:
    explicit TEsgSpinEdit(TComponent* AOwner);

    TEsgSpinButton* SpinButton() const { return FButton; }
    TEsgSpinType SpinType() const { return FSpinType; }
    // Reads the value of the new type and writes it back, which reformats the text.
    void SetSpinType(TEsgSpinType v);

    // Reading never raises: text that does not read gives MinValue (also for FloatValue), MinDateValue,
    // or 0 for a time; an empty or "0" date text gives now.
    std::int32_t Value() const;
    void SetValue(std::int32_t v);
    double FloatValue() const;
    void SetFloatValue(double v);
    TDateTime DateValue() const;
    void SetDateValue(TDateTime v);
    TDateTime TimeValue() const;
    void SetTimeValue(TDateTime v);
    std::int32_t MinValue = 0, MaxValue = 100;
    double MinFloatValue = 0, MaxFloatValue = 100;
    TDateTime MinDateValue = 0, MaxDateValue = 0;
    std::int32_t Increment = 1;
    double IncrementFloat = 0;
    int Precision() const { return FPrecision; }
    void SetPrecision(int v);
    TSpinDirection Direction() const { return FButton->Direction(); }
    void SetDirection(TSpinDirection v);
    // Off: typing, Backspace, Delete, cut and paste do nothing (the buttons still step).
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool v) { FEditorEnabled = v; }
    // Enter moves the focus on as Tab does.
    bool ReturnIsTab = false;
    bool AutoSelect = true;
    bool SpinFlat() const { return FButton->UpPart()->Flat(); }
    void SetSpinFlat(bool v);
    bool SpinTransparent() const { return FButton->UpPart()->Transparent; }
    void SetSpinTransparent(bool v);
    // The values last written through DateValue and TimeValue.
    TDateTime DateField() const { return FDateField; }
    TDateTime TimeField() const { return FTimeField; }
    void SetThemedLook(bool v) { FButton->SetThemedLook(v); }

    // Limits: equal limits leave every value as it is.
    std::int32_t ClampValue(std::int32_t v) const;
    double ClampFloat(double v) const;
    TDateTime ClampDate(TDateTime v) const;

    // Whether the typed character is taken (it may change: a thousand separator becomes the decimal one).
    virtual bool AcceptsKey(char& Key);
    virtual void StepUp();
    virtual void StepDown();
    // The text rectangle and the button's place for the edit's size.
    void FitTextRect();
    int MinimumHeight() const;
    void Loaded() override;

protected:
    void KeyPress(char& Key) override;
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void WMKeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void DoEnter() override;
    void DoExit() override;
    void Resize() override;

private:
    void Step(int Sign);
    void SetTextKeepCaret(const std::string& Text);
    TEsgSpinButton* FButton;
    TEsgSpinType FSpinType = sptNormal;
    int FPrecision = 0;
    bool FEditorEnabled = true;
    TDateTime FDateField = 0, FTimeField = 0;
    bool FFitting = false;
};
