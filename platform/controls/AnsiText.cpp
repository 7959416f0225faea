// Conversions through the run time's one Windows-1252 table; Qt's strings are UTF-16 and the rest of the
// mime data bytes.
#include "platform/controls/AnsiText.h"

#include "platform/rtl/AnsiText.h"

#include <QByteArray>
#include <QMimeData>

QString AnsiToQString(std::string_view text)
{
    QString result;
    result.reserve(static_cast<qsizetype>(text.size()));
    for (char c : text) result.append(QChar(AnsiCharToWide(static_cast<unsigned char>(c))));
    return result;
}

std::string QStringToAnsi(const QString& text)
{
    std::string result;
    result.reserve(static_cast<std::size_t>(text.size()));
    for (char32_t u : text.toUcs4()) result.push_back(WideCharToAnsi(u));
    return result;
}

QMimeData* NewMimeData(const std::vector<std::pair<std::string, std::string>>& formats)
{
    auto* data = new QMimeData;
    for (const auto& [mime, bytes] : formats) {
        if (mime == "text/plain") data->setText(AnsiToQString(bytes));
        else data->setData(QString::fromStdString(mime), QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    }
    return data;
}

bool HasMimeFormat(const QMimeData* data, const std::string& mime)
{
    if (!data) return false;
    return mime == "text/plain" ? data->hasText() : data->hasFormat(QString::fromStdString(mime));
}

std::string MimeFormat(const QMimeData* data, const std::string& mime)
{
    if (!data) return {};
    if (mime == "text/plain") return data->hasText() ? QStringToAnsi(data->text()) : std::string();
    const QByteArray bytes = data->data(QString::fromStdString(mime));
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
