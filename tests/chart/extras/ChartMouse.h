// A real chart control in a shown window, driven by Qt mouse events sent to its widget with event-loop
// turns after a repaint: what the extras' mouse tests share.
#pragma once

#include "chart/control/ChartControl.h"
#include "platform/controls/Application.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <cstdlib>
#include <memory>
#include <string>

struct TMouseChart {
    std::unique_ptr<QWidget> Window = std::make_unique<QWidget>();
    TChart Chart{nullptr};

    // A 2-D chart of Width x Height pixels without legend; Show() puts it on the screen.
    TMouseChart(int Width = 500, int Height = 360)
    {
        Window->setGeometry(50, 50, Width + 20, Height + 20);
        Chart.SetParentWidget(Window.get());
        Chart.SetBounds(0, 0, Width, Height);
        Chart.SetView3D(false);
        Chart.Legend().SetVisible(false);
    }
    // On a real display the window is laid out and exposed some event-loop turns after show(): the axes
    // the tests aim at are those of a paint after that.
    void Show()
    {
        Window->show();
        for (int i = 0; i < 10; ++i) Application->ProcessMessages();
        Paint();
    }
    void Paint()
    {
        Chart.Invalidate();
        Chart.Repaint();
        for (int i = 0; i < 3; ++i) Application->ProcessMessages();
    }
    void Send(QEvent::Type t, QPoint p, Qt::MouseButton b, Qt::MouseButtons held)
    {
        QWidget* w = Chart.Widget();
        QMouseEvent e(t, p, w->mapToGlobal(p), t == QEvent::MouseMove ? Qt::NoButton : b, held, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    void Press(QPoint p, Qt::MouseButton b = Qt::LeftButton) { Send(QEvent::MouseButtonPress, p, b, b); }
    void Move(QPoint p, Qt::MouseButtons held = Qt::LeftButton) { Send(QEvent::MouseMove, p, Qt::NoButton, held); }
    void Release(QPoint p, Qt::MouseButton b = Qt::LeftButton) { Send(QEvent::MouseButtonRelease, p, b, {}); }
    // Keeps the window as <name>.png in the folder VSP_EXTRAS_SHOTS names, for looking at; nothing without it.
    void KeepShot(const std::string& Name)
    {
        if (const char* dir = std::getenv("VSP_EXTRAS_SHOTS")) Window->grab().save(QString::fromStdString(std::string(dir) + "/" + Name + ".png"));
    }
    QPoint At(double x, double y) const { return {Chart.BottomAxis().CalcXPosValue(x), Chart.LeftAxis().CalcYPosValue(y)}; }
};
