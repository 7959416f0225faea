// Helpers of the UI kit's tests: a shown host window, synthetic mouse and key input, and pixel probes of
// a control's back buffer.
#pragma once

#include "platform/controls/Application.h"
#include "platform/controls/Controls.h"
#include "platform/graphics/Canvas.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QWidget>

#include <functional>
#include <memory>

inline void Pump(int turns = 3)
{
    for (int i = 0; i < turns; ++i) Application->ProcessMessages();
}

// A top-level window of form code on the offscreen screen that hosts controls.
struct THost {
    THost(int width = 640, int height = 240)
    {
        Pump(1);
        Window = std::make_unique<QWidget>();
        Window->setGeometry(40, 40, width, height);
    }
    void Put(TWinControl& c, int left, int top, int width, int height)
    {
        c.SetParentWidget(Window.get());
        c.SetBounds(left, top, width, height);
    }
    void Show()
    {
        Window->show();
        Pump(5);
    }
    // What the screen shows of the window.
    QImage Shot() const { return Window->screen()->grabWindow(Window->winId()).toImage().convertToFormat(QImage::Format_RGB32); }
    std::unique_ptr<QWidget> Window;
};

inline void SendMouse(QWidget* w, QEvent::Type t, QPoint p, Qt::MouseButton b = Qt::LeftButton,
                      Qt::KeyboardModifiers m = {})
{
    const bool release = t == QEvent::MouseButtonRelease;
    const bool move = t == QEvent::MouseMove;
    QMouseEvent e(t, p, w->mapToGlobal(p), move ? Qt::NoButton : b, release || move ? Qt::MouseButtons() : Qt::MouseButtons(b), m);
    QApplication::sendEvent(w, &e);
}

// A press and release at the point (a click on controls that click on release).
inline void Click(QWidget* w, QPoint p)
{
    SendMouse(w, QEvent::MouseButtonPress, p);
    SendMouse(w, QEvent::MouseButtonRelease, p);
}

inline void SendKey(QWidget* w, int key, Qt::KeyboardModifiers m = {}, bool repeat = false, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, m, text, repeat);
    QApplication::sendEvent(w, &press);
}

inline TColor Rgb(TColor c) { return ColorToRGB(c) & 0xFFFFFF; }

// Calls f(x, y, rgb) for every pixel of the rectangle of a canvas.
inline void ForEachPixel(const TCanvas& c, const TRect& r, const std::function<void(int, int, TColor)>& f)
{
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) f(x, y, c.GetPixel(x, y));
}

inline int CountPixels(const TCanvas& c, const TRect& r, TColor rgb)
{
    int n = 0;
    ForEachPixel(c, r, [&](int, int, TColor p) { n += p == rgb; });
    return n;
}
