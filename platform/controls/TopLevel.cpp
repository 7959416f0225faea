// Top-level window services over Qt: masks as window regions, window flags, a caption drag driven by hit
// tests, and opacity fades.
#include "platform/controls/TopLevel.h"

#include "platform/controls/Application.h"
#include "platform/controls/Forms.h"
#include "platform/controls/QtApplication.h"
#include "platform/graphics/Region.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QMouseEvent>
#include <QPointer>
#include <QRegion>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <map>

QWidget* FormWindow(TForm* form) { return form; }

TSize WindowClientSize(const QWidget* w) { return w ? TSize{w->width(), w->height()} : TSize{}; }

void SetWindowClientSize(QWidget* w, int width, int height)
{
    if (w) w->resize(std::max(0, width), std::max(0, height));
}

// ---- Regions -----------------------------------------------------------------------------------------

void SetWindowRegion(QWidget* w, const TRegion* region)
{
    if (!w) return;
    w->setProperty("vspRegion", region != nullptr);
    if (!region) {
        w->clearMask();
        return;
    }
    QRegion mask;
    for (const TRect& r : region->Rects()) mask += QRect(r.Left, r.Top, r.Width(), r.Height());
    // An empty mask means "no mask" to Qt; a window region of no pixels hides the whole window.
    w->setMask(mask.isEmpty() ? QRegion(0, 0, 0, 0) + QRegion(-1, -1, 1, 1) : mask);
}

bool WindowHasRegion(const QWidget* w) { return w && w->property("vspRegion").toBool(); }

std::vector<TRect> WindowRegionRects(const QWidget* w)
{
    std::vector<TRect> out;
    if (!WindowHasRegion(w)) return out;
    for (const QRect& r : w->mask()) out.push_back({r.left(), r.top(), r.left() + r.width(), r.top() + r.height()});
    return out;
}

// ---- Window kinds --------------------------------------------------------------------------------------

void SetWindowFrameless(QWidget* w, bool on)
{
    if (!w || w->windowFlags().testFlag(Qt::FramelessWindowHint) == on) return;
    const bool visible = w->isVisible();
    w->setWindowFlag(Qt::FramelessWindowHint, on);   // re-creates a shown window, which hides it
    if (visible) w->show();
}

void SetWindowStayOnTop(QWidget* w, bool on)
{
    if (!w || w->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on) return;
    const bool visible = w->isVisible();
    w->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (visible) w->show();
}

void ShowWindowNoActivate(QWidget* w)
{
    if (!w) return;
    w->setAttribute(Qt::WA_ShowWithoutActivating);
    w->show();
}

// ---- Caption hit tests ----------------------------------------------------------------------------------

namespace {

struct THook {
    int Id;
    TCaptionHitTest Test;
    std::function<void()> OnPress;
};

class TCaptionDragger : public QObject {
public:
    std::map<QWidget*, std::vector<THook>> Hooks;
    int NextId = 1;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: return Press(watched, static_cast<QMouseEvent&>(*event));
        case QEvent::MouseMove:
            if (!FDragging) return false;
            if (FWindow) FWindow->move(static_cast<QMouseEvent&>(*event).globalPosition().toPoint() - FOffset);
            return true;
        case QEvent::MouseButtonRelease:
            if (!FDragging) return false;
            FDragging = false;
            FWindow = nullptr;
            return true;
        default: return false;
        }
    }

private:
    bool Press(QObject* watched, QMouseEvent& e)
    {
        if (e.button() != Qt::LeftButton || !watched->isWidgetType()) return false;
        QWidget* window = static_cast<QWidget*>(watched)->window();
        const auto it = Hooks.find(window);
        if (it == Hooks.end()) return false;
        const QPoint g = e.globalPosition().toPoint();
        const TPoint point{g.x(), g.y()};
        const std::vector<THook> hooks = it->second;
        for (const THook& h : hooks) {
            bool caption = false;
            Application->Guarded([&] { caption = h.Test(point); });
            if (!caption) continue;
            QPointer<QWidget> guard(window);
            if (h.OnPress) Application->Guarded(h.OnPress);
            if (guard && guard->isVisible()) {
                FDragging = true;
                FWindow = guard;
                FOffset = g - guard->pos();
            }
            return true;
        }
        return false;
    }

    bool FDragging = false;
    QPointer<QWidget> FWindow;
    QPoint FOffset;
};

TCaptionDragger& Dragger()
{
    static TCaptionDragger* dragger = [] {
        QApplication& app = EnsureQtApplication();
        auto* d = new TCaptionDragger;
        d->setParent(&app);
        app.installEventFilter(d);
        return d;
    }();
    return *dragger;
}

} // namespace

int HookCaptionHitTest(QWidget* window, TCaptionHitTest test, std::function<void()> OnCaptionPress)
{
    TCaptionDragger& d = Dragger();
    if (d.Hooks.find(window) == d.Hooks.end())
        QObject::connect(window, &QObject::destroyed, &d, [window] { Dragger().Hooks.erase(window); });
    const int id = d.NextId++;
    d.Hooks[window].push_back({id, std::move(test), std::move(OnCaptionPress)});
    return id;
}

void UnhookCaptionHitTest(QWidget* window, int id)
{
    TCaptionDragger& d = Dragger();
    const auto it = d.Hooks.find(window);
    if (it == d.Hooks.end()) return;
    std::erase_if(it->second, [id](const THook& h) { return h.Id == id; });
    if (it->second.empty()) d.Hooks.erase(it);
}

// ---- Pixels ---------------------------------------------------------------------------------------------

bool GrabWindowPixels(QWidget* window, TPixelBuffer& out)
{
    if (!window || window->width() <= 0 || window->height() <= 0) return false;
    const QImage image = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    out.Width = image.width();
    out.Height = image.height();
    out.Alpha = false;
    out.Pixels.resize(static_cast<std::size_t>(out.Width) * out.Height);
    for (int y = 0; y < out.Height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < out.Width; ++x) out.At(x, y) = row[x] & 0xFFFFFF;
    }
    return true;
}

// ---- Opacity --------------------------------------------------------------------------------------------

void SetWindowOpacity(QWidget* w, double opacity)
{
    if (w) w->setWindowOpacity(std::clamp(opacity, 0.0, 1.0));
}

double WindowOpacity(const QWidget* w) { return w ? w->windowOpacity() : 1.0; }

bool FadeWindow(QWidget* w, int durationMs, bool in)
{
    if (!w) return false;
    QPointer<QWidget> guard(w);
    if (in) {
        w->setWindowOpacity(0.0);
        w->show();
    }
    QElapsedTimer clock;
    clock.start();
    while (guard && clock.elapsed() < durationMs) {
        const double t = static_cast<double>(clock.elapsed()) / durationMs;
        guard->setWindowOpacity(in ? t : 1.0 - t);
        Application->ProcessMessages();
        QThread::msleep(5);
    }
    if (!guard) return false;
    guard->setWindowOpacity(1.0);
    if (!in) guard->hide();
    return true;
}
