// The desktop's open through Qt's desktop services (which start the desktop's handler with the target as
// one argument), and the warning sound through the application.
#include "platform/controls/ShellApi.h"

#include "platform/graphics/Icon.h"

#include "platform/controls/AnsiText.h"
#include "platform/controls/ControlWidget.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QDesktopServices>
#include <QUrl>

namespace {
int BeepCount = 0;

bool HasScheme(const std::string& t)
{
    const auto colon = t.find(':');
    if (colon == std::string::npos || colon < 2) return false;   // "C:\..." is a path
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = t[i];
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
        if (!ok) return false;
    }
    return true;
}
} // namespace

bool ShellOpenDocument(const std::string& target)
{
    if (target.empty()) return false;
    EnsureQtApplication();
    const QString text = AnsiToQString(target);
    const QUrl url = HasScheme(target) ? QUrl(text, QUrl::StrictMode) : QUrl::fromLocalFile(text);
    if (!url.isValid()) return false;
    return QDesktopServices::openUrl(url);
}

void MessageBeep(unsigned)
{
    ++BeepCount;
    if (QApplication::instance()) QApplication::beep();
}

int MessageBeepCount() { return BeepCount; }

namespace {

// A folded page drawn by hand where the desktop offers no icon.
QImage PlainPage(int side)
{
    QImage img(side, side, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    const int m = side / 8, fold = side / 4;
    const QPoint outline[] = {{m + 1, m}, {side - m - fold, m}, {side - m - 1, m + fold}, {side - m - 1, side - m - 1}, {m + 1, side - m - 1}};
    p.setPen(QColor(96, 96, 96));
    p.setBrush(Qt::white);
    p.drawPolygon(outline, 5);
    p.drawLine(side - m - fold, m, side - m - fold, m + fold);
    p.drawLine(side - m - fold, m + fold, side - m - 1, m + fold);
    return img;
}

} // namespace

void DesktopFileIcon(const std::string& Name, bool Large, TIcon& Into)
{
    const int side = Large ? 32 : 16;
    QIcon icon;
    bool number = !Name.empty();
    for (char c : Name) number = number && c >= '0' && c <= '9';
    QFileIconProvider provider;
    if (number) icon = provider.icon(Name == "1" ? QAbstractFileIconProvider::Folder : QAbstractFileIconProvider::File);
    else icon = provider.icon(QFileInfo(AnsiToQString(Name)));
    QImage img = icon.isNull() ? QImage() : icon.pixmap(side, side).toImage();
    if (img.isNull()) img = PlainPage(side);
    img = img.scaled(side, side).convertToFormat(QImage::Format_ARGB32);
    TPixelBuffer px;
    px.Width = px.Height = side;
    px.Alpha = true;
    px.Pixels.resize(static_cast<std::size_t>(side) * side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const QRgb c = img.pixel(x, y);
            px.At(x, y) = static_cast<std::uint32_t>(qRed(c)) | static_cast<std::uint32_t>(qGreen(c)) << 8 |
                          static_cast<std::uint32_t>(qBlue(c)) << 16 | static_cast<std::uint32_t>(qAlpha(c)) << 24;
        }
    Into.SetPixels(px);
}
