// The locale's collation through Qt's collator; one collator per locale and case rule is kept, as
// building one costs far more than a comparison.
#include "platform/controls/Collation.h"

#include "platform/rtl/AnsiText.h"

#include <QCollator>
#include <QLocale>

#include <map>
#include <utility>

// The application's locale: the desktop's unless the program chose another.
std::string UserDefaultLocale() { return QLocale().name().toStdString(); }

namespace {

QCollator& CollatorFor(const std::string& name, bool ignoreCase)
{
    thread_local std::map<std::pair<std::string, bool>, QCollator> collators;
    const std::string locale = name.empty() ? UserDefaultLocale() : name;
    auto it = collators.find({locale, ignoreCase});
    if (it == collators.end()) {
        QCollator c{QLocale(QString::fromStdString(locale))};
        c.setCaseSensitivity(ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive);
        it = collators.emplace(std::pair{locale, ignoreCase}, std::move(c)).first;
    }
    return it->second;
}

int Sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

} // namespace


int LocaleCompare(const std::u16string& A, const std::u16string& B, bool IgnoreCase, const std::string& Locale)
{
    const QString a = QString::fromUtf16(A.data(), static_cast<qsizetype>(A.size()));
    const QString b = QString::fromUtf16(B.data(), static_cast<qsizetype>(B.size()));
    return Sign(CollatorFor(Locale, IgnoreCase).compare(a, b));
}

int AnsiCompareStr(const std::string& A, const std::string& B) { return LocaleCompare(AnsiToWide(A), AnsiToWide(B), false); }

int AnsiCompareText(const std::string& A, const std::string& B) { return LocaleCompare(AnsiToWide(A), AnsiToWide(B), true); }
