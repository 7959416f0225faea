// Text comparison by the user's locale: its collation order, with or without letter case, for Unicode
// and for the program's 8-bit text (the class library's AnsiCompareStr and AnsiCompareText). A locale
// is named as the desktop names it ("de_DE"); an empty name is the user's own.
#pragma once

#include <string>

// The user's locale, as the desktop names it.
std::string UserDefaultLocale();
// -1, 0 or 1 as A sorts before, with or after B in the locale's collation.
int LocaleCompare(const std::u16string& A, const std::u16string& B, bool IgnoreCase, const std::string& Locale = {});
int AnsiCompareStr(const std::string& A, const std::string& B);
int AnsiCompareText(const std::string& A, const std::string& B);
