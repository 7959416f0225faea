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

void TClipboard::SetFormats(const TFormats& formats) { QtClipboard().setMimeData(NewMimeData(formats)); }

bool TClipboard::HasFormat(const std::string& mime) const { return HasMimeFormat(QtClipboard().mimeData(), mime); }

std::string TClipboard::Format(const std::string& mime) const { return MimeFormat(QtClipboard().mimeData(), mime); }
