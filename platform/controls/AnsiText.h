// Conversion between the program's 8-bit Windows-1252 text and Qt's Unicode strings, used wherever a
// control or dialog shows or edits text. Characters that Windows-1252 cannot hold become '?'. Also the
// formats the clipboard and drags carry, with "text/plain" as 8-bit text.
#pragma once

#include <QString>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QMimeData;

QString AnsiToQString(std::string_view text);
std::string QStringToAnsi(const QString& text);

// New mime data holding the formats, each a mime type and its bytes; the bytes of "text/plain" are 8-bit
// text, put as the desktop's Unicode text.
QMimeData* NewMimeData(const std::vector<std::pair<std::string, std::string>>& formats);
// Whether the data holds a format ("text/plain": any text).
bool HasMimeFormat(const QMimeData* data, const std::string& mime);
// A format's bytes ("text/plain" as 8-bit text); empty when there is no data or it lacks the format.
std::string MimeFormat(const QMimeData* data, const std::string& mime);
