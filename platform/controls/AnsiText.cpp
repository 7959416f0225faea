// Windows-1252 differs from Latin-1 only in 0x80..0x9F; those bytes map through a table, five of them
// being unassigned and kept as the C1 control of the same value so that a round trip keeps every byte.
#include "platform/controls/AnsiText.h"

#include <QByteArray>
#include <QMimeData>

#include <array>

namespace {

constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char ToAnsiChar(char32_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<char>(u);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == u) return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

QString AnsiToQString(std::string_view text)
{
    QString result;
    result.reserve(static_cast<qsizetype>(text.size()));
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        result.append(QChar(b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : char16_t(b)));
    }
    return result;
}

std::string QStringToAnsi(const QString& text)
{
    std::string result;
    result.reserve(static_cast<std::size_t>(text.size()));
    for (char32_t u : text.toUcs4()) result.push_back(ToAnsiChar(u));
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
