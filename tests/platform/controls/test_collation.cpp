// Locale collation: the user's locale decides the order, with or without letter case, for Unicode and
// for 8-bit text.
#include "platform/controls/Collation.h"

#include <gtest/gtest.h>

#include <QLocale>

namespace {

struct LocaleScope {
    explicit LocaleScope(const QLocale& l) { QLocale::setDefault(l); }
    ~LocaleScope() { QLocale::setDefault(Saved); }
    QLocale Saved;
};

} // namespace

TEST(Collation, UserLocaleOrdersWithAndWithoutCase)
{
    LocaleScope scope(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(UserDefaultLocale(), "en_US");
    struct Case {
        std::u16string A, B;
        bool IgnoreCase;
        int Result;
    };
    const Case cases[] = {
        {u"abc", u"ABC", true, 0},
        {u"abc", u"ABC", false, -1},        // lower case first in the root collation
        {u"\u00e9b", u"ec", true, -1},       // an accent is a secondary difference: "eb" before "ec"
        {u"\u00e9b", u"EA", true, 1},
        {u"", u"a", true, -1},
        {u"same", u"same", false, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(LocaleCompare(c.A, c.B, c.IgnoreCase), c.Result);
    // 8-bit text through Windows-1252: 0xE9 is "é".
    EXPECT_EQ(AnsiCompareText("\xE9" "b", "EC"), -1);
    EXPECT_EQ(AnsiCompareText("abc", "ABC"), 0);
    EXPECT_NE(AnsiCompareStr("abc", "ABC"), 0);
    // A locale named explicitly wins over the user's: Swedish sorts "ä" after "z".
    EXPECT_EQ(LocaleCompare(u"\u00e4", u"z", true, "sv_SE"), 1);
    EXPECT_EQ(LocaleCompare(u"\u00e4", u"z", true, "de_DE"), -1);
}
