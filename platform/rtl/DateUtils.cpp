// TDateTime arithmetic on the proleptic Gregorian calendar, formatting by specifiers and reading of
// dates and times in the order the format settings give.
#include "platform/rtl/DateUtils.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <ctime>

namespace {

constexpr int DateDelta = 693594;     // day number (1 = 1 January 0001) of 30 December 1899, less one
constexpr int MaxDayNumber = 3652059; // 31 December 9999
constexpr std::int64_t MSecs = 86400000;

constexpr const char* TimeAMString = "AM";
constexpr const char* TimePMString = "PM";

// A moment as a day number (1 = 1 January 0001) and milliseconds into the day.
struct TTimeStamp {
    std::int64_t Date = 0;
    std::int64_t Time = 0;
};

bool ToTimeStamp(TDateTime dt, TTimeStamp& ts)
{
    if (!std::isfinite(dt) || std::fabs(dt) > 4.0e6) return false; // beyond every valid year: no overflow
    const auto t = static_cast<std::int64_t>(std::nearbyint(dt * MSecsPerDay));
    ts.Time = (t < 0 ? -t : t) % MSecs;
    ts.Date = DateDelta + t / MSecs; // truncation: the day part counts towards zero
    return ts.Date >= 1 && ts.Date <= MaxDayNumber;
}

void DayNumberToDate(std::int64_t dayNumber, int& year, int& month, int& day)
{
    std::int64_t t = dayNumber - 1;
    constexpr std::int64_t D1 = 365, D4 = D1 * 4 + 1, D100 = D4 * 25 - 1, D400 = D100 * 4 + 1;
    std::int64_t y = 1 + t / D400 * 400;
    t %= D400;
    std::int64_t i = t / D100, d = t % D100;
    if (i == 4) { --i; d += D100; }
    y += i * 100;
    y += d / D4 * 4;
    d %= D4;
    i = d / D1;
    d %= D1;
    if (i == 4) { --i; d += D1; }
    y += i;
    year = static_cast<int>(y);
    month = 1;
    while (d >= DaysInAMonth(year, month)) d -= DaysInAMonth(year, month++);
    day = static_cast<int>(d) + 1;
}

} // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInAMonth(int year, int month)
{
    static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return days[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

int DaysInMonth(TDateTime dt)
{
    int y = 0, m = 0, d = 0;
    DecodeDate(dt, y, m, d);
    return DaysInAMonth(y, m);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& dt)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInAMonth(year, month)) return false;
    for (int m = 1; m < month; ++m) day += DaysInAMonth(year, m);
    const int i = year - 1;
    dt = i * 365 + i / 4 - i / 100 + i / 400 + day - DateDelta;
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime dt = 0;
    if (!TryEncodeDate(year, month, day, dt)) throw EConvertError("Invalid argument to date encode");
    return dt;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& t)
{
    if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 || msec > 999) return false;
    t = (((hour * 60 + min) * 60 + sec) * 1000.0 + msec) / MSecsPerDay;
    return true;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec)
{
    TDateTime t = 0;
    if (!TryEncodeTime(hour, min, sec, msec, t)) throw EConvertError("Invalid argument to time encode");
    return t;
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time)
{
    const double day = std::trunc(date);
    const double t = std::fabs(time - std::trunc(time));
    return day < 0 ? day - t : day + t;
}

void DecodeDate(TDateTime dt, int& year, int& month, int& day)
{
    TTimeStamp ts;
    year = month = day = 0;
    if (ToTimeStamp(dt, ts)) DayNumberToDate(ts.Date, year, month, day);
}

void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec)
{
    TTimeStamp ts;
    hour = min = sec = msec = 0;
    if (!ToTimeStamp(dt, ts)) return;
    msec = static_cast<int>(ts.Time % 1000);
    sec = static_cast<int>(ts.Time / 1000 % 60);
    min = static_cast<int>(ts.Time / 60000 % 60);
    hour = static_cast<int>(ts.Time / 3600000);
}

TDateTime IncMonth(TDateTime dt, int months)
{
    int y = 0, m = 0, d = 0;
    DecodeDate(dt, y, m, d);
    if (y == 0) throw EConvertError("Invalid argument to date encode");
    const std::int64_t total = std::int64_t{y} * 12 + (m - 1) + months;
    const std::int64_t ny = total >= 0 ? total / 12 : (total - 11) / 12;
    if (ny < 1 || ny > 9999) throw EConvertError("Invalid argument to date encode");
    const int year = static_cast<int>(ny), month = static_cast<int>(total - ny * 12) + 1;
    const int day = std::min(d, DaysInAMonth(year, month));
    return ComposeDateTime(EncodeDate(year, month, day), dt);
}

int DayOfWeek(TDateTime dt)
{
    TTimeStamp ts;
    return ToTimeStamp(dt, ts) ? static_cast<int>(ts.Date % 7) + 1 : 0;
}

TDateTime Now()
{
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    tm local {};
    ::localtime_r(&now.tv_sec, &local);
    return ComposeDateTime(EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
                           EncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59),
                                      static_cast<int>(now.tv_nsec / 1000000)));
}

// ---- formatting -----------------------------------------------------------------------------------

namespace {

struct TDateParts {
    int Year = 0, Month = 0, Day = 0, Hour = 0, Min = 0, Sec = 0, MSec = 0, WeekDay = 0;
};

bool StartsWithText(std::string_view s, std::string_view prefix)
{
    return s.size() >= prefix.size() && SameText(s.substr(0, prefix.size()), prefix);
}

// Whether an am/pm, a/p or ampm specifier follows (outside quotes): the hours then count to 12.
bool HasAmPmAhead(std::string_view rest)
{
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const char c = rest[i];
        if (c == '\'' || c == '"') {
            const std::size_t close = rest.find(c, i + 1);
            if (close == std::string_view::npos) return false;
            i = close;
        } else if ((c == 'a' || c == 'A') &&
                   (StartsWithText(rest.substr(i), "am/pm") || StartsWithText(rest.substr(i), "a/p") ||
                    StartsWithText(rest.substr(i), "ampm"))) {
            return true;
        }
    }
    return false;
}

std::string Padded(int v, int width)
{
    std::string s = std::to_string(v);
    return s.size() < static_cast<std::size_t>(width) ? std::string(static_cast<std::size_t>(width) - s.size(), '0') + s : s;
}

class TDateFormatter {
public:
    TDateFormatter(const TFormatSettings& fs, const TDateParts& parts) : FS(fs), P(parts) {}
    std::string Result() const { return FOut; }

    // A format may name one more (ddddd, t, c); deeper nesting, as in a short date format that names
    // itself, stops there.
    void Append(std::string_view fmt, int level = 0)
    {
        if (level >= 2) return;
        char lastToken = ' ';
        bool twelveHour = false;
        for (std::size_t i = 0; i < fmt.size();) {
            const char c = fmt[i];
            std::size_t count = 1;
            while (i + count < fmt.size() && fmt[i + count] == c) ++count;
            char token = UpCaseChar(c);
            if (token >= 'A' && token <= 'Z') {
                if (token == 'M' && lastToken == 'H') token = 'N';
                lastToken = token;
            }
            if (token == 'H') twelveHour = HasAmPmAhead(fmt.substr(i + count));
            const std::size_t used = Token(fmt, i, token, count, twelveHour, level);
            i += used;
        }
    }

private:
    // Appends the specifier at `i`; returns the number of format characters it took.
    std::size_t Token(std::string_view fmt, std::size_t i, char token, std::size_t count, bool twelveHour, int level)
    {
        const int n = static_cast<int>(count);
        switch (token) {
        case 'Y': FOut += n <= 2 ? Padded(P.Year % 100, 2) : Padded(P.Year, 4); return count;
        case 'M':
            if (n <= 2) FOut += Padded(P.Month, n);
            else FOut += (n == 3 ? FS.ShortMonthNames : FS.LongMonthNames)[static_cast<std::size_t>(P.Month - 1)];
            return count;
        case 'D':
            if (n <= 2) FOut += Padded(P.Day, n);
            else if (n <= 4) FOut += (n == 3 ? FS.ShortDayNames : FS.LongDayNames)[static_cast<std::size_t>(P.WeekDay - 1)];
            else Append(n == 5 ? FS.ShortDateFormat : FS.LongDateFormat, level + 1);
            return count;
        case 'H': {
            int h = P.Hour;
            if (twelveHour) h = h % 12 == 0 ? 12 : h % 12;
            FOut += Padded(h, std::min(n, 2));
            return count;
        }
        case 'N': FOut += Padded(P.Min, std::min(n, 2)); return count;
        case 'S': FOut += Padded(P.Sec, std::min(n, 2)); return count;
        case 'Z': FOut += n == 1 ? std::to_string(P.MSec) : Padded(P.MSec, 3); return count;
        case 'T': Append(n == 1 ? FS.ShortTimeFormat : FS.LongTimeFormat, level + 1); return count;
        case 'C':
            Append(FS.ShortDateFormat, level + 1);
            if (P.Hour || P.Min || P.Sec || P.MSec) {
                FOut += ' ';
                Append(FS.LongTimeFormat, level + 1);
            }
            return count;
        case 'A': return AmPm(fmt.substr(i));
        case '/': FOut += FS.DateSeparator; return 1;
        case ':': FOut += FS.TimeSeparator; return 1;
        case '\'':
        case '"': {
            const std::size_t close = fmt.find(fmt[i], i + 1);
            const std::size_t end = close == std::string_view::npos ? fmt.size() : close;
            FOut += fmt.substr(i + 1, end - i - 1);
            return end + (close == std::string_view::npos ? 0 : 1) - i;
        }
        default: FOut += fmt[i]; return 1;
        }
    }

    std::size_t AmPm(std::string_view at)
    {
        const bool pm = P.Hour >= 12;
        if (StartsWithText(at, "am/pm")) {
            FOut += at.substr(pm ? 3 : 0, 2);
            return 5;
        }
        if (StartsWithText(at, "a/p")) {
            FOut += at.substr(pm ? 2 : 0, 1);
            return 3;
        }
        if (StartsWithText(at, "ampm")) {
            FOut += pm ? TimePMString : TimeAMString;
            return 4;
        }
        FOut += at.front();
        return 1;
    }

    const TFormatSettings& FS;
    const TDateParts& P;
    std::string FOut;
};

} // namespace

std::string FormatDateTime(std::string_view format, TDateTime dt, const TFormatSettings& fs)
{
    TDateParts p;
    DecodeDate(dt, p.Year, p.Month, p.Day);
    DecodeTime(dt, p.Hour, p.Min, p.Sec, p.MSec);
    if (p.Year == 0) return {}; // no date can be shown for it
    p.WeekDay = DayOfWeek(dt);
    TDateFormatter f(fs, p);
    f.Append(format);
    return f.Result();
}

std::string FormatDateTime(std::string_view format, TDateTime dt) { return FormatDateTime(format, dt, FormatSettings()); }
std::string DateToStr(TDateTime dt) { return FormatDateTime("ddddd", dt); }
std::string TimeToStr(TDateTime dt) { return FormatDateTime("tt", dt); }
std::string DateTimeToStr(TDateTime dt) { return FormatDateTime("c", dt); }

// ---- reading ------------------------------------------------------------------------------------------

namespace {

class TDateScanner {
public:
    TDateScanner(std::string_view text, const TFormatSettings& fs) : FText(text), FS(fs) {}

    bool AtEnd()
    {
        SkipBlanks();
        return FPos == FText.size();
    }
    std::size_t Pos() const { return FPos; }
    void SetPos(std::size_t p) { FPos = p; }

    bool Date(TDateTime& dt)
    {
        int n[3] = {0, 0, 0}, digits[3] = {0, 0, 0};
        int count = 0;
        if (!Number(n[0], digits[0])) return false;
        count = 1;
        while (count < 3 && Char(FS.DateSeparator)) {
            if (!Number(n[count], digits[count])) return false;
            ++count;
        }
        if (count < 2) return false;
        int y = 0, m = 0, d = 0, yearDigits = 0;
        const char order = DateOrder();
        if (count == 2) {
            y = CurrentYear();
            yearDigits = 4;
            if (order == 'D') { d = n[0]; m = n[1]; } else { m = n[0]; d = n[1]; }
        } else if (order == 'D') {
            d = n[0]; m = n[1]; y = n[2]; yearDigits = digits[2];
        } else if (order == 'Y') {
            y = n[0]; m = n[1]; d = n[2]; yearDigits = digits[0];
        } else {
            m = n[0]; d = n[1]; y = n[2]; yearDigits = digits[2];
        }
        if (y <= 99 && yearDigits <= 2) y = WindowYear(y);
        return TryEncodeDate(y, m, d, dt);
    }

    bool Time(TDateTime& t)
    {
        int h = 0, m = 0, s = 0, ms = 0, digits = 0;
        if (!Number(h, digits)) return false;
        bool separated = false;
        if (Char(FS.TimeSeparator)) {
            separated = true;
            if (!Number(m, digits)) return false;
            if (Char(FS.TimeSeparator)) {
                if (!Number(s, digits)) return false;
                if (Char('.') && !Number(ms, digits)) return false;
            }
        }
        const int half = AmPm();
        if (!separated && half < 0) return false; // a bare number is no time
        if (half >= 0) {
            if (h < 1 || h > 12) return false;
            h = h % 12 + half * 12;
        }
        return TryEncodeTime(h, m, s, ms, t);
    }

private:
    void SkipBlanks()
    {
        while (FPos < FText.size() && (FText[FPos] == ' ' || FText[FPos] == '\t')) ++FPos;
    }
    bool Char(char c)
    {
        SkipBlanks();
        if (FPos < FText.size() && FText[FPos] == c) {
            ++FPos;
            return true;
        }
        return false;
    }
    bool Number(int& value, int& digits)
    {
        SkipBlanks();
        value = digits = 0;
        while (FPos < FText.size() && FText[FPos] >= '0' && FText[FPos] <= '9') {
            if (++digits > 9) return false;
            value = value * 10 + (FText[FPos++] - '0');
        }
        return digits > 0;
    }
    // 0 for AM, 1 for PM, -1 for neither.
    int AmPm()
    {
        SkipBlanks();
        const std::string_view rest = FText.substr(FPos);
        for (int half = 0; half < 2; ++half) {
            const std::string_view word = half ? TimePMString : TimeAMString;
            if (StartsWithText(rest, word)) {
                FPos += word.size();
                return half;
            }
        }
        return -1;
    }
    char DateOrder() const
    {
        for (char c : FS.ShortDateFormat) {
            const char u = UpCaseChar(c);
            if (u == 'D' || u == 'M' || u == 'Y') return u == 'D' ? 'D' : u == 'Y' ? 'Y' : 'M';
        }
        return 'M';
    }
    static int CurrentYear()
    {
        int y = 0, m = 0, d = 0;
        DecodeDate(Now(), y, m, d);
        return y;
    }
    static int WindowYear(int twoDigits)
    {
        const int base = CurrentYear() - 50;
        int y = base / 100 * 100 + twoDigits;
        if (y < base) y += 100;
        return y;
    }

    std::string_view FText;
    const TFormatSettings& FS;
    std::size_t FPos = 0;
};

[[noreturn]] void NotValid(std::string_view text, const char* what)
{
    throw EConvertError("'" + std::string(text) + "' is not a valid " + what);
}

} // namespace

bool TryStrToDate(std::string_view text, TDateTime& dt, const TFormatSettings& fs)
{
    TDateScanner s(text, fs);
    TDateTime v = 0;
    if (!s.Date(v) || !s.AtEnd()) return false;
    dt = v;
    return true;
}

bool TryStrToTime(std::string_view text, TDateTime& dt, const TFormatSettings& fs)
{
    TDateScanner s(text, fs);
    TDateTime v = 0;
    if (!s.Time(v) || !s.AtEnd()) return false;
    dt = v;
    return true;
}

bool TryStrToDateTime(std::string_view text, TDateTime& dt, const TFormatSettings& fs)
{
    TDateScanner s(text, fs);
    TDateTime date = 0, time = 0;
    if (s.Date(date)) {
        if (s.AtEnd()) {
            dt = date;
            return true;
        }
        if (!s.Time(time) || !s.AtEnd()) return false;
        dt = ComposeDateTime(date, time);
        return true;
    }
    return TryStrToTime(text, dt, fs);
}

TDateTime StrToDate(std::string_view text)
{
    TDateTime dt = 0;
    if (!TryStrToDate(text, dt, FormatSettings())) NotValid(text, "date");
    return dt;
}

TDateTime StrToTime(std::string_view text)
{
    TDateTime dt = 0;
    if (!TryStrToTime(text, dt, FormatSettings())) NotValid(text, "time");
    return dt;
}

TDateTime StrToDateTime(std::string_view text)
{
    TDateTime dt = 0;
    if (!TryStrToDateTime(text, dt, FormatSettings())) NotValid(text, "date and time");
    return dt;
}
