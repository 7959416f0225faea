// A window of eight charts, one for each series of the "3D" gallery page and the smoothing function, on
// sample data, for looking at them in a real X server. Not part of the program.
// Usage: show_grid_series [seconds to stay open, default 10]
#include "chart/control/Chart.h"
#include "chart/series/LumSpline.h"
#include "chart/series/LumSurfaColorGrid.h"
#include "chart/series/LumSurfaContour.h"
#include "chart/series/LumSurfaSurface.h"
#include "chart/series/LumSurfaTower.h"
#include "chart/series/LumTriSurface.h"
#include "chart/series/Series.h"
#include "platform/controls/QtApplication.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    QApplication& app = EnsureQtApplication();
    QWidget window;
    window.setWindowTitle("Grid and surface series");
    window.setGeometry(0, 0, 1600, 1000);

    struct TKind {
        const char* Title;
        bool View3D;
        std::function<TChartSeries*(TChart&)> Make;
    };
    auto grid = [](auto* s, int n) {
        s->SetSampleMode(true);
        s->GenerateGrid(n, n);
        return s;
    };
    const TKind kinds[] = {
        {"Surface", true, [&](TChart& c) { return grid(new TSurfaceSeries(&c), 20); }},
        {"Contour", false,
         [&](TChart& c) {
             auto* s = new TContourSeries(&c);
             s->AddRandomSampleValues(30, false);
             return s;
         }},
        {"Water Fall", true, [&](TChart& c) { return grid(new TWaterFallSeries(&c), 15); }},
        {"Color Grid", false, [&](TChart& c) { return grid(new TColorGridSeries(&c), 25); }},
        {"Vector 3D", true,
         [&](TChart& c) {
             auto* s = new TVector3DSeries(&c);
             s->AddRandomSampleValues(40, false);
             return s;
         }},
        {"Tower", true, [&](TChart& c) { return grid(new TTowerSeries(&c), 6); }},
        {"Triangle Surf.", true,
         [&](TChart& c) {
             auto* s = new TTriSurfaceSeries(&c);
             s->AddRandomSampleValues(300, false);
             s->Border().SetVisible(true);
             return s;
         }},
        {"Smoothing", false,
         [&](TChart& c) {
             auto* points = new TPointSeries(&c);
             for (int i = 0; i < 12; ++i) points->InsertPoint(i, (i * 37) % 11);
             points->SetParentChart(&c);
             auto* line = new TLineSeries(&c);
             line->SetSeriesColor(clRed);
             line->SetDataSource(points);
             line->AttachFunction(new TSmoothingFunction(&c));
             return line;
         }},
    };
    std::vector<std::unique_ptr<TChart>> charts;
    int k = 0;
    for (const TKind& kind : kinds) {
        auto chart = std::make_unique<TChart>(nullptr);
        chart->SetParentWidget(&window);
        chart->SetBounds((k % 4) * 400, (k / 4) * 500, 400, 500);
        chart->SetView3D(kind.View3D);
        chart->Legend().SetVisible(false);
        const std::string title = kind.Title;
        chart->Title().SetTextLine(&title);
        TChartSeries* s = kind.Make(*chart);
        s->SetParentChart(chart.get());
        charts.push_back(std::move(chart));
        ++k;
    }
    QTimer::singleShot(seconds * 1000, &app, [&] { app.quit(); });
    window.show();
    app.exec();
    charts.clear();
    return 0;
}
