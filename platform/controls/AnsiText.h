// Conversion between the program's 8-bit Windows-1252 text and Qt's Unicode strings, used wherever a
// control or dialog shows or edits text. Characters that Windows-1252 cannot hold become '?'.
#pragma once

#include <QString>
#include <string>
#include <string_view>

QString AnsiToQString(std::string_view text);
std::string QStringToAnsi(const QString& text);
