// The clipboard over Qt's, and the line ends of text that other programs of the desktop hand over.
#include "platform/controls/Clipbrd.h"

#include "platform/controls/AnsiText.h"
#include "platform/controls/QtApplication.h"
#include "platform/graphics/Bitmap.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <algorithm>
#include <vector>

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

namespace {

bool EndsField(const std::string& Text, std::size_t At) { return At == Text.size() || Text[At] == '\t' || Text[At] == '\n'; }

// For each position, the last quote of the first run of quotes at or after it that closes a quoted
// field: a run of odd length (the others pair up as doubled quotes) followed by a TAB, an LF or the end.
// One pass from the end, so finding every field's end stays linear in the text.
std::vector<std::size_t> QuoteClosers(const std::string& Text)
{
    const std::size_t n = Text.size();
    std::vector<std::size_t> closers(n + 1, std::string::npos);
    for (std::size_t i = n; i-- > 0;) {
        closers[i] = closers[i + 1];
        if (Text[i] != '"' || (i > 0 && Text[i - 1] == '"')) continue;
        std::size_t e = i;
        while (e + 1 < n && Text[e + 1] == '"') ++e;
        if ((e - i) % 2 == 0 && EndsField(Text, e + 1)) closers[i] = e;
    }
    return closers;
}

} // namespace

std::string DesktopTextLineBreaks(const std::string& Text)
{
    if (Text.find('\r') != std::string::npos || Text.find('\n') == std::string::npos) return Text;
    const std::vector<std::size_t> closers = QuoteClosers(Text);
    const std::size_t n = Text.size();
    std::string out;
    out.reserve(n + static_cast<std::size_t>(std::count(Text.begin(), Text.end(), '\n')));
    bool fieldStart = true;
    for (std::size_t i = 0; i < n;) {
        if (fieldStart && Text[i] == '"') {
            // The quotes after the opening one: an odd number of them closes at once (an empty field
            // of doubled quotes); otherwise the first closing run after them.
            std::size_t e = i;
            while (e + 1 < n && Text[e + 1] == '"') ++e;
            const std::size_t close = e > i && (e - i) % 2 == 1 && EndsField(Text, e + 1) ? e : closers[e + 1];
            if (close != std::string::npos) {
                out.append(Text, i, close + 1 - i);
                i = close + 1;
                fieldStart = false;
                continue;
            }
        }
        const char c = Text[i++];
        if (c == '\n') out += "\r\n";
        else out += c;
        fieldStart = c == '\n' || c == '\t';
    }
    return out;
}
