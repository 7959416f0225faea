// The spin edit: reading the text as a value in range, stepping it, and its arrow buttons over Qt's
// tool buttons inside the line edit.
#include "platform/controls/Spin.h"

#include "platform/controls/Application.h"
#include "platform/rtl/NumberText.h"

#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

#include <algorithm>
#include <functional>
#include <limits>
#include <string>

const TClassInfo& TSpinEdit::StaticClassInfo()
{
    using P = TProps<TSpinEdit>;
    static const TClassInfo info({
        .Name = "TSpinEdit",
        .Parent = &TCustomEdit::StaticClassInfo(),
        .Properties = {P::Integer("MaxValue", &TSpinEdit::MaxValue, &TSpinEdit::SetMaxValue).Default(0),
                       P::Integer("MinValue", &TSpinEdit::MinValue, &TSpinEdit::SetMinValue).Default(0),
                       P::Integer("Increment", &TSpinEdit::Increment, &TSpinEdit::SetIncrement).Default(1)},
    });
    return info;
}

namespace {

// The width of the arrow buttons, pixels.
constexpr int ArrowButtonWidth = 16;

// An arrow button that repeats while held and leaves the focus in the edit.
QToolButton* NewArrowButton(QWidget& Edit, Qt::ArrowType Arrow, std::function<void()> Step)
{
    auto* button = new QToolButton(&Edit);
    button->setArrowType(Arrow);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRepeat(true);
    button->setCursor(Qt::ArrowCursor);
    button->setIconSize(QSize(7, 7));
    QObject::connect(button, &QToolButton::pressed, &Edit, [&Edit] { Edit.setFocus(Qt::MouseFocusReason); });
    QObject::connect(button, &QToolButton::clicked, &Edit, [Step = std::move(Step)] { Application->Guarded(Step); });
    return button;
}

} // namespace

TSpinEdit::TSpinEdit(TComponent* AOwner) : TCustomEdit(AOwner)
{
    QWidget& edit = *Widget();
    FUpButton = NewArrowButton(edit, Qt::UpArrow, [this] { UpClick(); });
    FDownButton = NewArrowButton(edit, Qt::DownArrow, [this] { DownClick(); });
    SetTextMargins(0, ArrowButtonWidth);
    SetText("0");
    SizeChanged();
}

void TSpinEdit::SizeChanged()
{
    TCustomEdit::SizeChanged();
    if (!FUpButton || !FDownButton) return;
    // Inside the frame, the upper half steps up and the lower half down.
    const QWidget& edit = *Widget();
    const int frame = edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &edit);
    const int inner = std::max(2, edit.height() - 2 * frame);
    const int left = edit.width() - frame - ArrowButtonWidth;
    const int upper = inner / 2;
    FUpButton->setGeometry(left, frame, ArrowButtonWidth, upper);
    FDownButton->setGeometry(left, frame + upper, ArrowButtonWidth, inner - upper);
}

std::int32_t TSpinEdit::CheckValue(std::int32_t v) const
{
    if (FMaxValue == FMinValue) return v;
    return std::clamp(v, std::min(FMinValue, FMaxValue), std::max(FMinValue, FMaxValue));
}

std::int32_t TSpinEdit::Value() const
{
    std::int32_t v = 0;
    if (!TryStrToInt(Text(), v)) v = FMinValue;
    return CheckValue(v);
}

void TSpinEdit::SetValue(std::int32_t v) { SetText(std::to_string(CheckValue(v))); }

void TSpinEdit::SetMinValue(std::int32_t v) { FMinValue = v; }

void TSpinEdit::SetMaxValue(std::int32_t v) { FMaxValue = v; }

namespace {

// value + step without leaving the 32-bit range.
std::int32_t Stepped(std::int32_t value, std::int32_t step)
{
    const long long sum = static_cast<long long>(value) + step;
    return static_cast<std::int32_t>(std::clamp<long long>(sum, std::numeric_limits<std::int32_t>::min(),
                                                           std::numeric_limits<std::int32_t>::max()));
}

} // namespace

void TSpinEdit::UpClick()
{
    if (!ReadOnly()) SetValue(Stepped(Value(), FIncrement));
}

void TSpinEdit::DownClick()
{
    if (!ReadOnly()) SetValue(Stepped(Value(), -FIncrement));
}

void TSpinEdit::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    if (Key == VK_UP) {
        UpClick();
        Key = 0;
    } else if (Key == VK_DOWN) {
        DownClick();
        Key = 0;
    }
    TCustomEdit::KeyDown(Key, Shift);
}

bool TSpinEdit::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    if (TCustomEdit::DoMouseWheelDown(Shift, MousePos)) return true;
    DownClick();
    return true;
}

bool TSpinEdit::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    if (TCustomEdit::DoMouseWheelUp(Shift, MousePos)) return true;
    UpClick();
    return true;
}

void TSpinEdit::DoExit()
{
    // The text shows what the value reads, so a number out of range or a typo does not stay in view.
    const std::string shown = std::to_string(Value());
    if (Text() != shown) SetText(shown);
    TCustomEdit::DoExit();
}
