// What the tools' tests share: a chart in a shown window driven by synthetic Qt mouse events with turns of
// the event loop, and the pictures to compare: the control's back buffer (where the tools draw between
// paints) and a fresh render of the chart in its present state.
#pragma once

#include "ChartTestSupport.h"

#include "chart/control/LumTools.h"
#include "platform/controls/Application.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <cstdlib>
#include <memory>
#include <string>

inline void PumpMessages(int Turns = 3)
{
    for (int i = 0; i < Turns; ++i) Application->ProcessMessages();
}

// A picture as 0x00RRGGBB-ish words (whatever the bitmap holds; only compared with its like).
using TPicturePixels = TPixelBuffer;

// The number of pixels in which two pictures of one size differ (every pixel when the sizes differ).
inline long CountDifferences(const TPicturePixels& A, const TPicturePixels& B)
{
    if (A.Width != B.Width || A.Height != B.Height) return long(A.Width) * A.Height + 1;
    long n = 0;
    for (std::size_t i = 0; i < A.Pixels.size(); ++i) n += (A.Pixels[i] & 0xFFFFFF) != (B.Pixels[i] & 0xFFFFFF);
    return n;
}

// A line series whose points answer clicks within 3 pixels.
class TClickTestSeries : public TLineTestSeries {
public:
    explicit TClickTestSeries(TComponent* AOwner = nullptr) : TLineTestSeries(AOwner) {}
    int PointAtPixel(int X, int Y) const override
    {
        for (int i = 0; i < PointCount(); ++i)
            if (std::abs(ScreenXOf(i) - X) <= 3 && std::abs(ScreenYOf(i) - Y) <= 3) return i;
        return -1;
    }
};

// A 2-D chart of 500 x 360 pixels in a shown window with the series (i, i), i = 0..10, on fixed axes
// 0..10, without legend; its points answer clicks.
struct TToolChart {
    std::unique_ptr<QWidget> Window = std::make_unique<QWidget>();
    TChart Chart{nullptr};
    TClickTestSeries* Series = nullptr;
    // A turn of the event loop after each event (off: a repaint the event asked for is still pending).
    bool PumpAfterEvents = true;

    TToolChart()
    {
        PumpMessages(1);
        Window->setGeometry(50, 50, 520, 380);
        Chart.SetParentWidget(Window.get());
        Chart.SetBounds(0, 0, 500, 360);
        Chart.SetView3D(false);
        Chart.Legend().SetVisible(false);
        Chart.BottomAxis().SetFixedRange(0, 10);
        Chart.LeftAxis().SetFixedRange(0, 10);
        Series = &AddSeries<TClickTestSeries>(Chart, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
        Window->show();
        Paint();
    }
    // A tool of the chart, owned by it.
    template <class T>
    T* AddTool()
    {
        auto* t = new T(&Chart);
        t->SetParentChart(&Chart);
        return t;
    }
    void Paint()
    {
        Chart.Invalidate();
        Chart.Repaint();
        PumpMessages();
    }
    // Runs a pending paint (as the window would at its next turn).
    void Settle()
    {
        Chart.Repaint();
        PumpMessages();
    }
    QWidget* W() const { return Chart.Widget(); }
    void Send(QEvent::Type t, QPoint p, Qt::MouseButton b, Qt::KeyboardModifiers m = {})
    {
        const Qt::MouseButtons held = t == QEvent::MouseButtonRelease ? Qt::MouseButtons() : Qt::MouseButtons(b);
        QMouseEvent e(t, p, W()->mapToGlobal(p), t == QEvent::MouseMove ? Qt::NoButton : b, held, m);
        QApplication::sendEvent(W(), &e);
        if (PumpAfterEvents) PumpMessages(1);
    }
    void Press(QPoint p, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = {}) { Send(QEvent::MouseButtonPress, p, b, m); }
    // A move with the button held (dragging) or without (hovering).
    void Move(QPoint p, Qt::MouseButton b = Qt::NoButton) { Send(QEvent::MouseMove, p, b); }
    void Release(QPoint p, Qt::MouseButton b = Qt::LeftButton) { Send(QEvent::MouseButtonRelease, p, b); }
    void Leave()
    {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(W(), &leave);
        if (PumpAfterEvents) PumpMessages(1);
    }
    // The pixel of a value on the bottom and left axes.
    QPoint At(double x, double y) const { return {Chart.BottomAxis().CalcXPosValue(x), Chart.LeftAxis().CalcYPosValue(y)}; }

    // The control's back buffer as it stands.
    TPicturePixels Buffer()
    {
        TBitmap copy(Chart.Width(), Chart.Height());
        copy.Canvas().BitBlt(0, 0, Chart.Width(), Chart.Height(), Chart.Canvas(), 0, 0, SRCCOPY);
        return copy.ToPixels();
    }
    // The chart drawn afresh, in its present state, on a bitmap of its size.
    TPicturePixels Fresh() { return RenderChart(Chart)->ToPixels(); }
    TColor BufferPixel(int X, int Y) { return Chart.Canvas().Pixels(X, Y); }
};
