// A 2-D chart in a shown window, with series added by the tests, and right-clicks on it as the user
// makes them (so the chart's pop-ups and the legend open the editors as in the program).
#pragma once

#include "chart/control/ChartControl.h"
#include "chart/control/ChartLegend.h"
#include "chart/engine/LumEngineAxis.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

struct TChartWindow {
    std::unique_ptr<QWidget> Window = std::make_unique<QWidget>();
    TChart Chart{nullptr};

    TChartWindow()
    {
        Window->setGeometry(50, 50, 520, 380);
        Chart.SetParentWidget(Window.get());
        Chart.SetBounds(0, 0, 500, 360);
        Chart.SetView3D(false);
        Chart.Legend().SetVisible(false);
    }
    // A series of class T with the points (i, Y(i)) for i = 0..10, in the chart.
    template <class T>
    T& AddSeries(const std::string& Title, const std::function<double(int)>& Y)
    {
        auto* s = new T(&Chart);
        s->SetTitle(Title);
        for (int i = 0; i <= 10; ++i) s->InsertPoint(i, Y(i));
        s->SetParentChart(&Chart);
        return *s;
    }
    void ShowLegend()
    {
        Chart.Legend().SetVisible(true);
        Chart.Legend().SetLegendStyle(lsSeries);
    }
    void Show()
    {
        Window->show();
        Paint();
    }
    void Paint()
    {
        Chart.Invalidate();
        Chart.Repaint();
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }
    void RightClick(QPoint P, Qt::KeyboardModifiers Modifiers)
    {
        QWidget* w = Chart.Widget();
        QMouseEvent press(QEvent::MouseButtonPress, P, w->mapToGlobal(P), Qt::RightButton, Qt::RightButton, Modifiers);
        QApplication::sendEvent(w, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, P, w->mapToGlobal(P), Qt::RightButton, Qt::NoButton, Modifiers);
        QApplication::sendEvent(w, &release);
        QCoreApplication::processEvents();
    }
    // The pixel of a value on the bottom and left axes, and of a legend item.
    QPoint At(double X, double Y) const { return {Chart.BottomAxis().CalcXPosValue(X), Chart.LeftAxis().CalcYPosValue(Y)}; }
    QPoint LegendItem(int Index) const
    {
        const TChartLegend& l = Chart.Legend();
        return {l.ShapeRect().Left + 30, l.Layout().ItemsTop + Index * l.Layout().ItemHeight + 4};
    }
};
