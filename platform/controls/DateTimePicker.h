// TDateTimePicker: the class library's date and time picker over a native date-time edit: a date with a
// calendar that drops down (or up-down arrows), or a time; an optional check box that tells whether a
// value is chosen; a display format. Qt-free.
#pragma once

#include "platform/controls/Controls.h"
#include "platform/rtl/DateUtils.h"

#include <string>

enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateMode { dmComboBox, dmUpDown };

class TDateTimePicker : public TWinControl {
    VSP_PERSISTENT_CLASS
public:
    // 186 x 21 pixels, today's date.
    explicit TDateTimePicker(TComponent* AOwner);
    ~TDateTimePicker() override;

    TDateTimeKind Kind() const { return FKind; }
    void SetKind(TDateTimeKind v);
    // dmComboBox drops a calendar down; dmUpDown steps the field at the caret with arrows.
    TDTDateMode DateMode() const { return FDateMode; }
    void SetDateMode(TDTDateMode v);
    TDateTime DateTime() const;
    void SetDateTime(TDateTime v);
    // The date part (the time of day kept) and the time of day (the date kept).
    TDateTime Date() const;
    void SetDate(TDateTime v);
    TDateTime Time() const;
    void SetTime(TDateTime v);
    // With ShowCheckbox a check box in front tells whether a value is chosen; Checked is True without it.
    bool ShowCheckbox() const { return FShowCheckbox; }
    void SetShowCheckbox(bool v);
    bool Checked() const { return FChecked; }
    void SetChecked(bool v);
    // The display format in the picker's letters (d dd ddd dddd, M MM MMM MMMM, yy yyyy, h hh H HH, m mm,
    // s ss, t tt, text in quotes); empty: the locale's short date or long time format.
    const std::string& Format() const { return FFormat; }
    void SetFormat(const std::string& v);
    // The calendar (a date picker of dmComboBox).
    bool DroppedDown() const;
    void SetDroppedDown(bool v);

    TNotifyEvent OnChange, OnDropDown, OnCloseUp;

    struct Native;

protected:
    virtual void Change();
    // Called after the native painting of the frame, with a canvas on the control's pixels.
    virtual void PaintWindow(TCanvas& Canvas);

private:
    void ApplyFormat();
    TDateTimeKind FKind = dtkDate;
    TDTDateMode FDateMode = dmComboBox;
    bool FShowCheckbox = false, FChecked = true;
    std::string FFormat;
    TDateTime FValue = 0;
};
