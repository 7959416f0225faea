// The date and time picker over Qt's date-time edit. Values are days since 30 December 1899; the display
// format comes from the picker's letters or the locale's formats; the calendar drops down as a user's
// press on the arrow opens it.
#include "platform/controls/DateTimePicker.h"

#include "platform/controls/AnsiText.h"
#include "platform/controls/Application.h"
#include "platform/controls/ControlWidget.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/PainterBackend.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionSpinBox>

#include <cctype>
#include <cmath>

namespace {

const QDate BaseDate(1899, 12, 30);

QDateTime ToQt(TDateTime v)
{
    if (!std::isfinite(v)) v = 0;
    const double day = std::floor(v);
    const auto ms = static_cast<int>(std::llround((v - day) * MSecsPerDay));
    return QDateTime(BaseDate.addDays(static_cast<qint64>(day)), QTime(0, 0).addMSecs(std::min(ms, 86399999)));
}

TDateTime FromQt(const QDateTime& t)
{
    return static_cast<double>(BaseDate.daysTo(t.date())) + t.time().msecsSinceStartOfDay() / MSecsPerDay;
}

// The picker's letters in Qt's: the same except t and tt (AM/PM).
QString QtPickerFormat(const std::string& f)
{
    QString out;
    bool quoted = false;
    for (std::size_t i = 0; i < f.size(); ++i) {
        const char c = f[i];
        if (c == '\'') quoted = !quoted;
        if (!quoted && c == 't') {
            const bool two = i + 1 < f.size() && f[i + 1] == 't';
            out += two ? "AP" : "A";
            if (two) ++i;
            continue;
        }
        out += QChar(static_cast<unsigned char>(c));
    }
    return out;
}

// The locale's class-library formats (letters in any case, "/" and ":" the separators, m minutes after
// an hour, am/pm and ampm) in Qt's letters.
QString QtLocaleFormat(const std::string& f, bool time)
{
    const TFormatSettings& fs = FormatSettings();
    std::string lower;
    for (char c : f) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const bool twelve = lower.find("am/pm") != std::string::npos || lower.find("ampm") != std::string::npos ||
                        lower.find("a/p") != std::string::npos;
    QString out;
    bool afterHour = false;
    for (std::size_t i = 0; i < lower.size(); ++i) {
        const char c = lower[i];
        if (lower.compare(i, 5, "am/pm") == 0 || lower.compare(i, 4, "ampm") == 0 || lower.compare(i, 3, "a/p") == 0) {
            out += "AP";
            i += lower.compare(i, 5, "am/pm") == 0 ? 4 : lower.compare(i, 4, "ampm") == 0 ? 3 : 2;
            continue;
        }
        switch (c) {
        case 'd': out += 'd'; break;
        case 'y': out += 'y'; break;
        case 'h': out += twelve ? 'h' : 'H'; afterHour = true; break;
        case 'n': out += 'm'; break;
        case 'm': out += time || afterHour ? 'm' : 'M'; break;
        case 's': out += 's'; break;
        case 'z': out += 'z'; break;
        case '/': out += QChar(static_cast<unsigned char>(fs.DateSeparator)); break;
        case ':': out += QChar(static_cast<unsigned char>(fs.TimeSeparator)); break;
        default: out += QChar(static_cast<unsigned char>(c)); break;
        }
    }
    return out;
}

} // namespace

struct TDateTimePicker::Native : QDateTimeEdit {
    explicit Native(TDateTimePicker* owner) : Owner(owner)
    {
        QObject::connect(this, &QDateTimeEdit::dateTimeChanged, [this](const QDateTime& t) {
            if (Setting) return;
            // The edit shows only the kind's part: the other part of the value stays.
            const TDateTime shown = FromQt(t);
            Owner->FValue = Owner->FKind == dtkDate ? std::floor(shown) + (Owner->FValue - std::floor(Owner->FValue))
                                                    : std::floor(Owner->FValue) + (shown - std::floor(shown));
            Application->Guarded([this] { Owner->Change(); });
        });
    }
    void paintEvent(QPaintEvent* e) override
    {
        QDateTimeEdit::paintEvent(e);
        QPainter p(this);
        TDeviceCaps caps;
        caps.Width = width();
        caps.Height = height();
        TCanvas canvas(std::make_shared<TPainterBackend>(p, caps));
        Application->Guarded([&] { Owner->PaintWindow(canvas); });
    }
    // The rectangle of the arrow that drops the calendar down.
    QRect ArrowRect()
    {
        QStyleOptionComboBox opt;
        opt.initFrom(this);
        opt.editable = true;
        opt.subControls = QStyle::SC_All;
        return style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxArrow, this);
    }
    TDateTimePicker* Owner;
    QCheckBox* Check = nullptr;
    bool Setting = false;
};

const TClassInfo& TDateTimePicker::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TDateTimePicker", .Parent = &TWinControl::StaticClassInfo(),
                                  .Defaults = {{"TabStop", true}}, .Create = &CreateComponentOf<TDateTimePicker>});
    return info;
}

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TWinControl(AOwner, NewControlWidget<Native>(this))
{
    auto* n = static_cast<Native*>(Widget());
    n->setCalendarPopup(true);
    n->setDateTimeRange(QDateTime(QDate(100, 1, 1), QTime(0, 0)), QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59, 999)));
    SetTabStop(true);
    SetBounds(0, 0, 186, 21);
    SetDateTime(Now());
    ApplyFormat();
}

TDateTimePicker::~TDateTimePicker() = default;

void TDateTimePicker::ApplyFormat()
{
    auto* n = static_cast<Native*>(Widget());
    const QString f = !FFormat.empty() ? QtPickerFormat(FFormat)
                      : FKind == dtkDate ? QtLocaleFormat(FormatSettings().ShortDateFormat, false)
                                         : QtLocaleFormat(FormatSettings().LongTimeFormat, true);
    n->Setting = true;
    n->setDisplayFormat(f);
    n->setCalendarPopup(FKind == dtkDate && FDateMode == dmComboBox);
    n->setDateTime(ToQt(FValue));
    n->Setting = false;
}

void TDateTimePicker::SetKind(TDateTimeKind v)
{
    FKind = v;
    ApplyFormat();
}

void TDateTimePicker::SetDateMode(TDTDateMode v)
{
    FDateMode = v;
    ApplyFormat();
}

void TDateTimePicker::SetFormat(const std::string& v)
{
    FFormat = v;
    ApplyFormat();
}

TDateTime TDateTimePicker::DateTime() const { return FValue; }

void TDateTimePicker::SetDateTime(TDateTime v)
{
    auto* n = static_cast<Native*>(Widget());
    FValue = std::isfinite(v) ? v : 0;
    n->Setting = true;
    n->setDateTime(ToQt(v));
    n->Setting = false;
}

TDateTime TDateTimePicker::Date() const { return std::floor(DateTime()); }

void TDateTimePicker::SetDate(TDateTime v) { SetDateTime(std::floor(v) + Time()); }

TDateTime TDateTimePicker::Time() const
{
    const TDateTime t = DateTime();
    return t - std::floor(t);
}

void TDateTimePicker::SetTime(TDateTime v) { SetDateTime(Date() + (v - std::floor(v))); }

void TDateTimePicker::SetShowCheckbox(bool v)
{
    FShowCheckbox = v;
    auto* n = static_cast<Native*>(Widget());
    if (v && !n->Check) {
        n->Check = new QCheckBox(n);
        n->Check->setGeometry(3, (n->height() - 13) / 2, 13, 13);
        n->Check->setChecked(FChecked);
        QObject::connect(n->Check, &QCheckBox::toggled, [this](bool on) {
            FChecked = on;
            Application->Guarded([this] { Change(); });
        });
    }
    if (n->Check) n->Check->setVisible(v);
    if (!v) FChecked = true;
}

void TDateTimePicker::SetChecked(bool v)
{
    auto* n = static_cast<Native*>(Widget());
    if (!FShowCheckbox) return;
    FChecked = v;
    const QSignalBlocker block(n->Check);
    n->Check->setChecked(v);
}

bool TDateTimePicker::DroppedDown() const
{
    auto* n = static_cast<Native*>(Widget());
    const QCalendarWidget* c = n->calendarPopup() ? n->calendarWidget() : nullptr;
    return c && c->window() != n->window() && c->window()->isVisible();
}

void TDateTimePicker::SetDroppedDown(bool v)
{
    auto* n = static_cast<Native*>(Widget());
    if (v == DroppedDown() || !n->calendarPopup()) return;
    if (v) {
        if (OnDropDown) OnDropDown(this);
        // As a user's press on the arrow opens it.
        const QPointF p = n->ArrowRect().center();
        QMouseEvent press(QEvent::MouseButtonPress, p, n->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(n, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, p, n->mapToGlobal(p), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(n, &release);
    } else {
        n->calendarWidget()->window()->hide();
        if (OnCloseUp) OnCloseUp(this);
    }
}

void TDateTimePicker::Change()
{
    if (OnChange) OnChange(this);
}

void TDateTimePicker::PaintWindow(TCanvas&) {}
