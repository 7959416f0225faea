// Dates: the day count and its calendar, times of day before 1900, month steps, formatting by
// specifiers and reading in the order of the format settings.
#include "platform/rtl/DateUtils.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <ctime>

TEST(DateUtils, EncodeAndDecodeDates)
{
    struct Case {
        int y, m, d;
        double serial;
        int weekDay;
    };
    const Case cases[] = {
        {1899, 12, 30, 0, 7},  {1900, 1, 1, 2, 2},        {2004, 2, 29, 38046, 1}, {2004, 5, 5, 38112, 4},
        {1, 1, 1, -693593, 2}, {9999, 12, 31, 2958465, 6}, {1600, 3, 1, -109511, 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.serial) << c.y << "-" << c.m << "-" << c.d;
        int y = 0, m = 0, d = 0;
        DecodeDate(ComposeDateTime(c.serial, 0.75), y, m, d);
        EXPECT_EQ((std::array<int, 3>{y, m, d}), (std::array<int, 3>{c.y, c.m, c.d})) << c.serial;
        EXPECT_EQ(DayOfWeek(c.serial), c.weekDay) << c.serial;
    }
    // Every day number of a few centuries decodes to a date that encodes back to it.
    for (int n = -700000; n <= 2958465; n += 997) {
        int y = 0, m = 0, d = 0;
        DecodeDate(n, y, m, d);
        if (n < -693593) {
            EXPECT_EQ(y, 0) << n;
            continue;
        }
        ASSERT_EQ(EncodeDate(y, m, d), n) << y << "-" << m << "-" << d;
    }
}

TEST(DateUtils, CalendarRulesAndInvalidArguments)
{
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_TRUE(IsLeapYear(2004));
    EXPECT_FALSE(IsLeapYear(2100));
    EXPECT_EQ(DaysInAMonth(2004, 2), 29);
    EXPECT_EQ(DaysInAMonth(2003, 2), 28);
    EXPECT_EQ(DaysInAMonth(2003, 13), 0);
    EXPECT_EQ(DaysInMonth(EncodeDate(2003, 4, 10)), 30);
    const int badDates[][3] = {{2003, 2, 29}, {0, 1, 1}, {10000, 1, 1}, {2004, 13, 1}, {2004, 0, 1}, {2004, 1, 0}, {2004, 4, 31}};
    for (const auto& b : badDates) {
        try {
            EncodeDate(b[0], b[1], b[2]);
            ADD_FAILURE() << b[0] << "-" << b[1] << "-" << b[2];
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "Invalid argument to date encode");
        }
    }
    const int badTimes[][4] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}, {-1, 0, 0, 0}};
    for (const auto& b : badTimes) EXPECT_THROW(EncodeTime(b[0], b[1], b[2], b[3]), EConvertError);
}

TEST(DateUtils, TimesOfDayAlsoBefore1900)
{
    const TDateTime t = EncodeTime(6, 0, 0, 0);
    EXPECT_EQ(t, 0.25);
    const TDateTime before = ComposeDateTime(EncodeDate(1899, 12, 29), t);
    EXPECT_EQ(before, -1.25) << "the whole part counts back, the fraction forward";
    int y = 0, m = 0, d = 0, h = 0, n = 0, s = 0, ms = 0;
    DecodeDate(before, y, m, d);
    DecodeTime(before, h, n, s, ms);
    EXPECT_EQ((std::array<int, 7>{y, m, d, h, n, s, ms}), (std::array<int, 7>{1899, 12, 29, 6, 0, 0, 0}));

    DecodeTime(EncodeDate(2004, 5, 5) + EncodeTime(23, 59, 59, 999), h, n, s, ms);
    EXPECT_EQ((std::array<int, 4>{h, n, s, ms}), (std::array<int, 4>{23, 59, 59, 999}));
    DecodeDate(38112.9999999999, y, m, d);
    EXPECT_EQ(d, 6) << "decoding rounds to the millisecond, into the next day";

    for (double bad : {std::nan(""), HUGE_VAL, -1e300, 3e6}) {
        DecodeDate(bad, y, m, d);
        DecodeTime(bad, h, n, s, ms);
        EXPECT_EQ(y + m + d + h + n + s + ms, 0) << bad;
        EXPECT_EQ(DayOfWeek(bad), 0);
        EXPECT_EQ(FormatDateTime("yyyy", bad), "");
    }
}

TEST(DateUtils, IncMonthClampsTheDayAndKeepsTheTime)
{
    struct Case {
        int y, m, d, months, ey, em, ed;
    };
    const Case cases[] = {
        {2004, 1, 31, 1, 2004, 2, 29},  {2003, 1, 31, 1, 2003, 2, 28},  {2004, 3, 31, -1, 2004, 2, 29},
        {2004, 12, 15, 1, 2005, 1, 15}, {2004, 1, 15, -1, 2003, 12, 15}, {2004, 5, 5, 12, 2005, 5, 5},
        {2004, 5, 5, -13, 2003, 4, 5},  {2004, 5, 5, 0, 2004, 5, 5},     {2004, 2, 29, -48, 2000, 2, 29},
    };
    const TDateTime tenAm = EncodeTime(10, 0, 0, 0);
    for (const Case& c : cases) {
        const TDateTime r = IncMonth(EncodeDate(c.y, c.m, c.d) + tenAm, c.months);
        EXPECT_EQ(r, EncodeDate(c.ey, c.em, c.ed) + tenAm) << c.y << "-" << c.m << "-" << c.d << " " << c.months;
    }
    EXPECT_EQ(IncMonth(-1.25, 1), ComposeDateTime(EncodeDate(1900, 1, 29), 0.25));
    EXPECT_THROW(IncMonth(EncodeDate(9999, 12, 1), 1), EConvertError);
    EXPECT_THROW(IncMonth(EncodeDate(1, 1, 1), -1), EConvertError);
}

TEST(DateUtils, NowIsTheLocalClock)
{
    const std::time_t before = std::time(nullptr);
    const TDateTime now = Now();
    tm local {};
    ::localtime_r(&before, &local);
    int y = 0, m = 0, d = 0;
    DecodeDate(now, y, m, d);
    EXPECT_EQ(y, local.tm_year + 1900);
    EXPECT_NEAR(now, EncodeDate(y, local.tm_mon + 1, local.tm_mday) +
                         EncodeTime(local.tm_hour, local.tm_min, local.tm_sec, 0), 5.0 / SecsPerDay);
}

TEST(DateUtils, FormatDateTimeSpecifiers)
{
    TFormatSettings fs; // English defaults: M/d/yyyy, h:mm AMPM, h:mm:ss AMPM
    const TDateTime dt = EncodeDate(2004, 5, 5) + EncodeTime(14, 7, 9, 45);
    struct Case {
        const char* format;
        const char* text;
    };
    const Case cases[] = {
        {"yyyy-mm-dd hh:nn:ss.zzz", "2004-05-05 14:07:09.045"},
        {"d/m/yy", "5/5/04"},
        {"dddd, mmmm d, yyyy", "Wednesday, May 5, 2004"},
        {"ddd mmm", "Wed May"},
        {"H:MM", "14:07"},
        {"hh:m", "14:7"},
        {"h:mm AMPM", "2:07 PM"},
        {"hh:mm am/pm", "02:07 pm"},
        {"h A/P", "2 P"},
        {"ddddd", "5/5/2004"},
        {"dddddd", "Wednesday, May 5, 2004"},
        {"c", "5/5/2004 2:07:09 PM"},
        {"t", "2:07 PM"},
        {"tt", "2:07:09 PM"},
        {"'yyyy' \"mm\" yyyy", "yyyy mm 2004"},
        {"z s n", "45 9 7"},
        {"m", "5"},
        {"x@#", "x@#"},
        {"'open", "open"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatDateTime(c.format, dt, fs), c.text) << c.format;

    EXPECT_EQ(FormatDateTime("c", EncodeDate(2004, 5, 5), fs), "5/5/2004") << "no time at midnight";
    EXPECT_EQ(FormatDateTime("h:nn am/pm", EncodeTime(0, 30, 0, 0), fs), "12:30 am");
    fs.DateSeparator = '.';
    fs.ShortDateFormat = "dd/MM/yyyy ddddd";
    EXPECT_EQ(FormatDateTime("ddddd", dt, fs), "05.05.2004 ") << "a format naming itself stops";
}

TEST(DateUtils, ReadingDatesAndTimes)
{
    TFormatSettings us;
    TFormatSettings de;
    de.DateSeparator = '.';
    de.ShortDateFormat = "dd.MM.yyyy";
    TFormatSettings iso;
    iso.DateSeparator = '-';
    iso.ShortDateFormat = "yyyy-MM-dd";
    int thisYear = 0, m = 0, d = 0;
    DecodeDate(Now(), thisYear, m, d);
    struct Case {
        const TFormatSettings* fs;
        const char* text;
        bool ok;
        TDateTime value;
    };
    const TDateTime may6 = EncodeDate(2004, 5, 6);
    const Case cases[] = {
        {&us, "5/6/2004", true, may6},
        {&us, "  5 / 6 / 2004  ", true, may6},
        {&de, "6.5.2004", true, may6},
        {&iso, "2004-5-6", true, may6},
        {&us, "5/6/04", true, may6},
        {&us, "5/6", true, EncodeDate(thisYear, 5, 6)},
        {&us, "2/30/2004", false, 0},
        {&us, "5/6/2004/7", false, 0},
        {&us, "5-6-2004", false, 0},
        {&us, "5/6/2004 10:30", true, may6 + EncodeTime(10, 30, 0, 0)},
        {&us, "5/6/2004 10:30:15.250 PM", true, may6 + EncodeTime(22, 30, 15, 250)},
        {&us, "5/6/2004 x", false, 0},
        {&us, "10:30", true, EncodeTime(10, 30, 0, 0)},
        {&us, "12 AM", true, 0},
        {&us, "12:05 pm", true, EncodeTime(12, 5, 0, 0)},
        {&us, "13:00 PM", false, 0},
        {&us, "10", false, 0},
        {&us, "25:00", false, 0},
        {&us, "", false, 0},
        {&us, "99999999999/1/1", false, 0},
    };
    for (const Case& c : cases) {
        TDateTime v = -1;
        EXPECT_EQ(TryStrToDateTime(c.text, v, *c.fs), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
    TDateTime v = 0;
    EXPECT_FALSE(TryStrToDate("10:30", v, us));
    EXPECT_FALSE(TryStrToTime("5/6/2004", v, us));
    try {
        StrToDate("abc");
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'abc' is not a valid date");
    }
    EXPECT_THROW(StrToTime("5/6"), EConvertError);
    EXPECT_THROW(StrToDateTime("x"), EConvertError);
}

TEST(DateUtils, TextRoundTripsUnderTheCurrentSettings)
{
    const TFormatSettings saved = FormatSettings();
    for (int variant = 0; variant < 2; ++variant) {
        if (variant == 1) {
            FormatSettings().DateSeparator = '.';
            FormatSettings().ShortDateFormat = "dd.MM.yyyy";
            FormatSettings().LongTimeFormat = "HH:mm:ss";
        }
        for (TDateTime dt : {EncodeDate(1999, 12, 31) + EncodeTime(23, 59, 58, 0), EncodeDate(2024, 2, 29),
                             EncodeDate(2004, 7, 1) + EncodeTime(0, 0, 1, 0), EncodeDate(2004, 7, 1) + EncodeTime(12, 0, 0, 0)}) {
            EXPECT_EQ(StrToDateTime(DateTimeToStr(dt)), dt) << DateTimeToStr(dt);
            EXPECT_EQ(StrToDate(DateToStr(dt)), std::trunc(dt));
        }
    }
    FormatSettings() = saved;
}

TEST(DateUtils, NamesComeFromTheSettings)
{
    TFormatSettings fs;
    EXPECT_EQ(fs.FirstDayOfWeek, 0) << "Monday first";
    const TDateTime d = EncodeDate(2024, 2, 4); // a Sunday
    EXPECT_EQ(FormatDateTime("ddd dddd mmm mmmm", d, fs), "Sun Sunday Feb February");
    fs.ShortDayNames[0] = "So";
    fs.LongDayNames[0] = "Sonntag";
    fs.ShortMonthNames[1] = "Feb.";
    fs.LongMonthNames[1] = "Februar";
    EXPECT_EQ(FormatDateTime("ddd dddd mmm mmmm", d, fs), "So Sonntag Feb. Februar");
    EXPECT_EQ(FormatDateTime("dddd", d, TFormatSettings{}), "Sunday");
}
