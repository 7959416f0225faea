// The spin editor: the repeating speed button, the two-part spin button and the spin edit with its
// character filter, value readings and writings within the limits, steps by type and caret field, and
// the layout of its text beside the button.
#include "grid/asgspin.h"

#include "grid/ExtUtil.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/ShellApi.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/NumberText.h"

#include <algorithm>
#include <cmath>

// ---- TExtTimerSpeedButton ----------------------------------------------------------------------------

const TClassInfo& TExtTimerSpeedButton::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TExtTimerSpeedButton", .Parent = &TSpeedButton::StaticClassInfo()});
    return info;
}

TExtTimerSpeedButton::TExtTimerSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) {}

TExtTimerSpeedButton::~TExtTimerSpeedButton() = default;

void TExtTimerSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TSpeedButton::MouseDown(Button, Shift, X, Y);
    if (RepeatAllowed && Button == mbLeft && Enabled()) {
        if (!FRepeatTimer) {
            FRepeatTimer = new TTimer(this);
            FRepeatTimer->OnTimer = [this](TPersistent*) { TimerExpired(); };
        }
        FRepeatTimer->SetEnabled(false);
        FRepeatTimer->SetInterval(400);
        FRepeatTimer->SetEnabled(true);
    }
    if (Parent()) Parent()->Invalidate();
}

void TExtTimerSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TSpeedButton::MouseUp(Button, Shift, X, Y);
    if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
    if (Parent()) Parent()->Invalidate();
}

void TExtTimerSpeedButton::TimerExpired()
{
    FRepeatTimer->SetInterval(100);
    if (!ShownDown()) return;
    try {
        Click();
    } catch (...) {
        FRepeatTimer->SetEnabled(false);
        throw;
    }
}

void TExtTimerSpeedButton::MouseEnter()
{
    TSpeedButton::MouseEnter();
    FHasMouse = true;
    Invalidate();
}

void TExtTimerSpeedButton::MouseLeave()
{
    TSpeedButton::MouseLeave();
    FHasMouse = false;
    Invalidate();
}

void TExtTimerSpeedButton::Paint()
{
    // Parts pointing up or down show their glyph; left and right ones the desktop's scroll arrows.
    if (PartDirection > 1) {
        TSpeedButton::Paint();
        return;
    }
    unsigned state = PartDirection == 0 ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT;
    if (ShownDown()) state |= DFCS_PUSHED;
    if (Flat()) state |= DFCS_FLAT;
    Canvas().DrawFrameControl(ClientRect(), DFC_SCROLL, state);
}

// ---- TEsgSpinButton ----------------------------------------------------------------------------------

const TClassInfo& TEsgSpinButton::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TEsgSpinButton", .Parent = &TWinControl::StaticClassInfo(),
                                  .Create = &CreateComponentOf<TEsgSpinButton>});
    return info;
}

void TEsgSpinButton::DefaultGlyph(TBitmap& B, bool Up)
{
    B.SetSize(9, 6);
    TCanvas& c = B.Canvas();
    c.Brush().SetColor(clOlive);
    c.FillRect({0, 0, 9, 6});
    // Rows 1, 3, 5 and 7 pixels wide, centred.
    for (int k = 0; k < 4; ++k) {
        const int y = Up ? 1 + k : 4 - k;
        for (int x = 4 - k; x <= 4 + k; ++x) c.SetPixel(x, y, clBlack);
    }
}

TExtTimerSpeedButton* TEsgSpinButton::MakePart(bool Up)
{
    auto* p = new TExtTimerSpeedButton(this);
    p->SetParent(this);
    p->RepeatAllowed = true;
    p->PartDirection = Up ? 2 : 3;
    TBitmap g;
    DefaultGlyph(g, Up);
    p->SetGlyph(g);
    p->OnClick = [this, Up](TPersistent*) {
        if (Up && OnUpClick) OnUpClick(this);
        if (!Up && OnDownClick) OnDownClick(this);
    };
    p->OnMouseDown = [this, p](TPersistent*, TMouseButton Button, TShiftState, int, int) { PartMouseDown(p, Button); };
    return p;
}

TEsgSpinButton::TEsgSpinButton(TComponent* AOwner) : TWinControl(AOwner)
{
    FUpPart = MakePart(true);
    FDownPart = MakePart(false);
    FFocusedPart = FUpPart;
    SetBounds(0, 0, 15, 25);
    int w = 15, h = 25;
    ArrangeButtons(w, h);
}

void TEsgSpinButton::ArrangeButtons(int& W, int& H)
{
    if (!FUpPart || !FDownPart) return;
    if (FDirection == spVertical) {
        W = std::max(W, 15);
        FUpPart->SetBounds(0, 0, W, H / 2);
        FDownPart->SetBounds(0, FUpPart->Height() - 1, W, H - FUpPart->Height() + 1);
    } else {
        W = std::max(W, 20);
        FDownPart->SetBounds(0, 0, W / 2, H);
        FUpPart->SetBounds(W / 2 + 1, 0, W / 2, H);
    }
}

void TEsgSpinButton::Resize()
{
    TWinControl::Resize();
    if (FArranging) return;
    FArranging = true;
    int w = Width(), h = Height();
    ArrangeButtons(w, h);
    if (w != Width() || h != Height()) SetBounds(Left(), Top(), w, h);
    FArranging = false;
}

void TEsgSpinButton::SetDirection(TSpinDirection v)
{
    if (v == FDirection) return;
    FDirection = v;
    FUpPart->PartDirection = v == spHorizontal ? 1 : 2;
    FDownPart->PartDirection = v == spHorizontal ? 0 : 3;
    int w = v == spHorizontal ? 20 : 15, h = Height();
    SetBounds(Left(), Top(), w, h);
    ArrangeButtons(w, h);
    FUpPart->Invalidate();
    FDownPart->Invalidate();
}

void TEsgSpinButton::SetFocusControl(TWinControl* v)
{
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = v;
    if (v) v->FreeNotification(this);
}

void TEsgSpinButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

TBitmap& TEsgSpinButton::UpGlyph() { return FUpPart->Glyph(); }

TBitmap& TEsgSpinButton::DownGlyph() { return FDownPart->Glyph(); }

void TEsgSpinButton::SetUpGlyph(const TBitmap* v)
{
    TBitmap g;
    if (v) g.Assign(*v);
    else DefaultGlyph(g, true);
    FUpPart->SetGlyph(g);
    if (!v) FUpPart->NumGlyphs = 1;
}

void TEsgSpinButton::SetDownGlyph(const TBitmap* v)
{
    TBitmap g;
    if (v) g.Assign(*v);
    else DefaultGlyph(g, false);
    FDownPart->SetGlyph(g);
    if (!v) FDownPart->NumGlyphs = 1;
}

void TEsgSpinButton::SetThemedLook(bool v)
{
    FThemedParts = v;
    FUpPart->ThemedParts = v;
    FDownPart->ThemedParts = v;
}

void TEsgSpinButton::PartMouseDown(TExtTimerSpeedButton* Part, TMouseButton Button)
{
    if (Button != mbLeft) return;
    SetFocusedPart(Part);
    if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
        FFocusControl->SetFocus();
    else if (TabStop() && !Focused() && CanFocus()) SetFocus();
}

void TEsgSpinButton::SetFocusedPart(TExtTimerSpeedButton* Part)
{
    if (!TabStop() || !CanFocus() || Part == FFocusedPart) return;
    FFocusedPart->ShowFocusRect = false;
    FFocusedPart = Part;
    if (Focused()) {
        FFocusedPart->ShowFocusRect = true;
        Invalidate();
    }
}

void TEsgSpinButton::WMSetFocus(TWinControl* OldFocus)
{
    TWinControl::WMSetFocus(OldFocus);
    FFocusedPart->ShowFocusRect = true;
    FFocusedPart->Invalidate();
}

void TEsgSpinButton::WMKillFocus(TWinControl* NewFocus)
{
    TWinControl::WMKillFocus(NewFocus);
    FFocusedPart->ShowFocusRect = false;
    FFocusedPart->Invalidate();
}

void TEsgSpinButton::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    TWinControl::KeyDown(Key, Shift);
    if (Key == VK_SPACE) FFocusedPart->Click();
    else if (Key == VK_UP) {
        SetFocusedPart(FUpPart);
        FUpPart->Click();
    } else if (Key == VK_DOWN) {
        SetFocusedPart(FDownPart);
        FDownPart->Click();
    }
}

// ---- TEsgSpinEdit ------------------------------------------------------------------------------------

namespace {

bool ReadsAsFloat(const std::string& text, double& v) { return TryStrToFloat(text, v, FormatSettings()); }

// 1-based position of the n-th occurrence of c in s; 0 when there is none.
int NthPos(const std::string& s, char c, int n)
{
    int seen = 0;
    for (std::size_t i = 0; i < s.size(); ++i)
        if (s[i] == c && ++seen == n) return static_cast<int>(i) + 1;
    return 0;
}

} // namespace

const TClassInfo& TEsgSpinEdit::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TEsgSpinEdit", .Parent = &TCustomEdit::StaticClassInfo(),
                                  .Create = &CreateComponentOf<TEsgSpinEdit>});
    return info;
}

TEsgSpinEdit::TEsgSpinEdit(TComponent* AOwner) : TCustomEdit(AOwner), FButton(new TEsgSpinButton(this))
{
    FButton->SetParent(this);
    FButton->SetBounds(0, 0, 15, 17);
    FButton->SetFocusControl(this);
    FButton->OnUpClick = [this](TPersistent*) { StepUp(); };
    FButton->OnDownClick = [this](TPersistent*) { StepDown(); };
    SetText("0");
    FitTextRect();
}

std::int32_t TEsgSpinEdit::ClampValue(std::int32_t v) const
{
    if (MinValue == MaxValue) return v;
    return std::clamp(v, std::min(MinValue, MaxValue), std::max(MinValue, MaxValue));
}

double TEsgSpinEdit::ClampFloat(double v) const
{
    if (MinFloatValue == MaxFloatValue) return v;
    return v < MinFloatValue ? MinFloatValue : v > MaxFloatValue ? MaxFloatValue : v;
}

TDateTime TEsgSpinEdit::ClampDate(TDateTime v) const
{
    if (MinDateValue == MaxDateValue) return v;
    return v < MinDateValue ? MinDateValue : v > MaxDateValue ? MaxDateValue : v;
}

std::int32_t TEsgSpinEdit::Value() const
{
    std::int32_t v = 0;
    return TryStrToInt(Text(), v) ? v : MinValue;
}

void TEsgSpinEdit::SetValue(std::int32_t v)
{
    SetText(std::to_string(ClampValue(v)));
    if (!FEditorEnabled) SelectAll();
}

double TEsgSpinEdit::FloatValue() const
{
    double v = 0;
    return ReadsAsFloat(Text(), v) ? v : static_cast<double>(MinValue);
}

void TEsgSpinEdit::SetFloatValue(double v)
{
    const double c = ClampFloat(v);
    if (FPrecision != 0) {
        std::string t = FormatFixed(c, std::clamp(FPrecision, 0, 15));
        if (const auto p = t.find('.'); p != std::string::npos) t[p] = FormatSettings().DecimalSeparator;
        SetText(t);
    } else SetText(FloatToStr(c));
}

TDateTime TEsgSpinEdit::DateValue() const
{
    const std::string t = Text();
    if (t.empty() || t == "0") return Now();
    TDateTime d = 0;
    return TryStrToDate(t, d, FormatSettings()) ? d : MinDateValue;
}

void TEsgSpinEdit::SetTextKeepCaret(const std::string& Text)
{
    const int caret = SelStart();
    SetText(Text);
    SetSelStart(caret);
}

void TEsgSpinEdit::SetDateValue(TDateTime v)
{
    FDateField = v;
    if (ComponentState().Contains(csLoading)) return;
    FDateField = ClampDate(v);
    SetTextKeepCaret(DateToStr(FDateField));
}

TDateTime TEsgSpinEdit::TimeValue() const
{
    TDateTime t = 0;
    return TryStrToTime(Text(), t, FormatSettings()) ? t : 0;
}

void TEsgSpinEdit::SetTimeValue(TDateTime v)
{
    FTimeField = v;
    if (ComponentState().Contains(csLoading)) return;
    SetTextKeepCaret(TimeToStr(v));
}

void TEsgSpinEdit::SetSpinType(TEsgSpinType v)
{
    FSpinType = v;
    switch (v) {
    case sptNormal: SetValue(Value()); break;
    case sptFloat: SetFloatValue(FloatValue()); break;
    case sptDate: SetDateValue(DateValue()); break;
    case sptTime: SetTimeValue(TimeValue()); break;
    }
}

void TEsgSpinEdit::SetPrecision(int v)
{
    FPrecision = v;
    if (FSpinType == sptFloat) SetFloatValue(FloatValue());
}

void TEsgSpinEdit::SetDirection(TSpinDirection v)
{
    if (v == FButton->Direction()) return;
    FButton->SetDirection(v);
    SetWidth(Width() + 1);
    SetWidth(Width() - 1);
}

void TEsgSpinEdit::SetSpinFlat(bool v)
{
    FButton->UpPart()->SetFlat(v);
    FButton->DownPart()->SetFlat(v);
}

void TEsgSpinEdit::SetSpinTransparent(bool v)
{
    FButton->UpPart()->Transparent = v;
    FButton->DownPart()->Transparent = v;
    SetWidth(Width() + 1);
    SetWidth(Width() - 1);
}

bool TEsgSpinEdit::AcceptsKey(char& Key)
{
    const TFormatSettings& fs = FormatSettings();
    const char dec = fs.DecimalSeparator, th = fs.ThousandSeparator, ts = fs.TimeSeparator, ds = fs.DateSeparator;
    const auto c = static_cast<unsigned char>(Key);
    bool accepted = Key == '+' || Key == '-' || (Key >= '0' && Key <= '9') || Key == dec || Key == th || Key == ts ||
                    Key == ds || (c < 32 && Key != 13);
    const bool floatSep = FSpinType == sptFloat;
    if (Key == ts && FSpinType != sptTime && !(floatSep && (ts == dec || ts == th))) accepted = false;
    if (Key == ds && FSpinType != sptDate && !(floatSep && (ds == dec || ds == th))) accepted = false;
    const std::string text = Text();
    if (FSpinType == sptFloat && Key != 8 && Key != 13 && Key != 27) {
        if (Key == th) Key = dec;
        if (Key == dec && text.find(dec) != std::string::npos) accepted = false;
        if (FPrecision >= 1) {
            const auto p = text.find(dec);
            if (p != std::string::npos) {
                const int pos = static_cast<int>(p) + 1;
                if (SelStart() >= pos && SelLength() == 0 && static_cast<int>(text.size()) >= pos + FPrecision) accepted = false;
            }
        }
    }
    if (FSpinType == sptTime && Key == ts && CountChar(ts, text) >= 2) accepted = false;
    if (!FEditorEnabled && (c >= 32 || Key == 8)) accepted = false;
    return accepted;
}

void TEsgSpinEdit::KeyPress(char& Key)
{
    if (!AcceptsKey(Key)) {
        Key = 0;
        MessageBeep(0);
    }
    if (Key != 0) TCustomEdit::KeyPress(Key);
}

void TEsgSpinEdit::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    if (Key == VK_RETURN && ReturnIsTab) {
        Key = VK_TAB;
        SelectNext(!Shift.Contains(ssShift));
        Key = 0;
        return;
    }
    // Without the editor, Delete, cut and paste do nothing.
    const bool clip = (Shift.Contains(ssCtrl) && (Key == 'V' || Key == 'X')) ||
                      (Shift.Contains(ssShift) && (Key == VK_INSERT || Key == VK_DELETE));
    if ((!FEditorEnabled || ReadOnly()) && clip) {
        Key = 0;
        return;
    }
    if (Key == VK_DELETE && !FEditorEnabled) {
        Key = 0;
        return;
    }
    TCustomEdit::KeyDown(Key, Shift);
}

void TEsgSpinEdit::WMKeyDown(std::uint16_t& Key, TShiftState Shift)
{
    if (Key == VK_UP) {
        StepUp();
        Key = 0;
        return;
    }
    if (Key == VK_DOWN) {
        StepDown();
        Key = 0;
        return;
    }
    TCustomEdit::WMKeyDown(Key, Shift);
}

void TEsgSpinEdit::StepUp() { Step(1); }

void TEsgSpinEdit::StepDown() { Step(-1); }

void TEsgSpinEdit::Step(int Sign)
{
    if (ReadOnly()) {
        MessageBeep(0);
        return;
    }
    switch (FSpinType) {
    case sptNormal: SetValue(Value() + Sign * Increment); break;
    case sptFloat: SetFloatValue(FloatValue() + Sign * IncrementFloat); break;
    case sptDate: {
        // The field at the caret, by the date separators: days, months, otherwise years.
        const std::string t = Text();
        const char ds = FormatSettings().DateSeparator;
        const int caret = SelStart();
        const int first = NthPos(t, ds, 1), second = NthPos(t, ds, 2);
        const TDateTime d = DateValue();
        if (first > 0 && caret < first) SetDateValue(d + Sign);
        else if (second > 0 && caret < second) SetDateValue(IncMonth(d, Sign));
        else SetDateValue(IncMonth(d, 12 * Sign));   // 29 February goes to the 28th
        break;
    }
    case sptTime: {
        const std::string t = Text();
        const char ts = FormatSettings().TimeSeparator;
        const int caret = SelStart();
        const int first = NthPos(t, ts, 1), second = NthPos(t, ts, 2);
        const TDateTime step = first > 0 && caret < first ? EncodeTime(1, 0, 0, 0)
                               : second > 0 && caret < second ? EncodeTime(0, 1, 0, 0)
                                                              : EncodeTime(0, 0, 1, 0);
        if (Sign > 0) SetTimeValue(TimeValue() + step);
        else {
            TDateTime v = TimeValue() + 1.0 - step;
            if (v > 1.0) v -= 1.0;
            SetTimeValue(v);
        }
        break;
    }
    }
}

void TEsgSpinEdit::DoEnter()
{
    if (AutoSelect) SelectAll();
    TCustomEdit::DoEnter();
}

void TEsgSpinEdit::DoExit()
{
    TCustomEdit::DoExit();
    switch (FSpinType) {
    case sptNormal:
        if (ClampValue(Value()) != Value()) SetValue(Value());
        break;
    case sptFloat:
        if (ClampFloat(FloatValue()) != FloatValue()) SetFloatValue(FloatValue());
        break;
    case sptDate:
        if (ClampDate(DateValue()) != DateValue()) SetDateValue(DateValue());
        break;
    case sptTime:
        if (ClampDate(TimeValue()) != TimeValue()) SetTimeValue(TimeValue());
        break;
    }
}

void TEsgSpinEdit::Loaded()
{
    TCustomEdit::Loaded();
    if (FSpinType == sptDate) SetText(DateToStr(FDateField));
    if (FSpinType == sptTime) SetText(TimeToStr(FTimeField));
    SetSpinType(FSpinType);
}

int TEsgSpinEdit::MinimumHeight() const
{
    TBitmap probe;
    probe.SetSize(1, 1);
    const int f = probe.Canvas().TextExtent("Wg").cy;
    return f + std::min(f, f) / 4 + 2 + (BorderVisible() ? 4 * GetSystemMetrics(SM_CYBORDER) : 0);
}

void TEsgSpinEdit::FitTextRect()
{
    const int b = BorderVisible() ? 0 : 1;
    SetTextMargins(b, FButton->Width() + b + 2);
}

void TEsgSpinEdit::Resize()
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
