// TSpinEdit: the class library's edit for a whole number between a minimum and a maximum, stepped by its
// up and down arrow buttons, the Up and Down keys and the mouse wheel. Text that is no number reads as
// the minimum; the value read is always kept in range, and leaving the edit writes the value back as it
// was read. Qt-free.
#pragma once

#include "platform/controls/Edit.h"

#include <cstdint>

class QWidget;

class TSpinEdit : public TCustomEdit {
    VSP_PERSISTENT_CLASS
public:
    explicit TSpinEdit(TComponent* AOwner);

    // The text read as a number: the minimum for text that is no number, then kept in range.
    std::int32_t Value() const;
    // Writes the value, kept in range, as the text.
    void SetValue(std::int32_t v);
    // With an equal minimum and maximum the range does not limit the value.
    std::int32_t MinValue() const { return FMinValue; }
    void SetMinValue(std::int32_t v);
    std::int32_t MaxValue() const { return FMaxValue; }
    void SetMaxValue(std::int32_t v);
    std::int32_t Increment() const { return FIncrement; }
    void SetIncrement(std::int32_t v) { FIncrement = v; }

    // v limited to the range (unless the range is empty).
    std::int32_t CheckValue(std::int32_t v) const;
    // One increment up (down) from the value read.
    void UpClick();
    void DownClick();

protected:
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void DoExit() override;
    // The arrow buttons stand at the right edge, inside the edit's frame.
    void SizeChanged() override;

private:
    // The up and down buttons, children of the edit's window (which owns them).
    QWidget* FUpButton = nullptr;
    QWidget* FDownButton = nullptr;
    std::int32_t FMinValue = 0;
    std::int32_t FMaxValue = 0;
    std::int32_t FIncrement = 1;
};
