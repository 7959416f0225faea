// The desktop's open through Qt's desktop services (which start the desktop's handler with the target as
// one argument), and the warning sound through the application.
#include "platform/controls/ShellApi.h"

#include "platform/controls/AnsiText.h"
#include "platform/controls/ControlWidget.h"

#include <QApplication>
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
