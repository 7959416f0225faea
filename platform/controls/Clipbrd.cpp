// The clipboard over Qt's.
#include "platform/controls/Clipbrd.h"

#include "platform/controls/AnsiText.h"
#include "platform/controls/QtApplication.h"
#include "platform/graphics/Bitmap.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

namespace {

QClipboard& QtClipboard()
{
    EnsureQtApplication();
    return *QGuiApplication::clipboard();
}

} // namespace

TClipboard& Clipboard()
{
    static TClipboard clipboard;
    return clipboard;
}

std::string TClipboard::AsText() const { return QStringToAnsi(QtClipboard().text()); }

void TClipboard::SetAsText(const std::string& text) { QtClipboard().setText(AnsiToQString(text)); }

bool TClipboard::HasText() const
{
    const QMimeData* data = QtClipboard().mimeData();
    return data && data->hasText();
}

void TClipboard::Assign(const TGraphic& graphic)
{
    const TPixelBuffer px = graphic.ToPixels();
    QImage image(px.Width, px.Height, px.Alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < px.Height; ++y)
        for (int x = 0; x < px.Width; ++x)
            image.setPixel(x, y, px.Alpha ? px.At(x, y) : (0xFF000000u | px.At(x, y)));
    QtClipboard().setImage(image);
}

bool TClipboard::HasPicture() const
{
    const QMimeData* data = QtClipboard().mimeData();
    return data && data->hasImage();
}

void TClipboard::Clear() { QtClipboard().clear(); }

void TClipboard::SetFormats(const TFormats& formats)
{
    auto* data = new QMimeData;
    for (const auto& [mime, bytes] : formats) {
        if (mime == "text/plain") data->setText(AnsiToQString(bytes));
        else data->setData(QString::fromStdString(mime), QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    }
    QtClipboard().setMimeData(data);
}

bool TClipboard::HasFormat(const std::string& mime) const
{
    const QMimeData* data = QtClipboard().mimeData();
    if (!data) return false;
    return mime == "text/plain" ? data->hasText() : data->hasFormat(QString::fromStdString(mime));
}

std::string TClipboard::Format(const std::string& mime) const
{
    const QMimeData* data = QtClipboard().mimeData();
    if (!data) return {};
    if (mime == "text/plain") return data->hasText() ? QStringToAnsi(data->text()) : std::string();
    const QByteArray bytes = data->data(QString::fromStdString(mime));
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
