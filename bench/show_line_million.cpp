// A window holding a chart of 1,000,000 points (x ascending, y a seeded random walk), for looking at it and
// dragging it with the mouse (the right button pans) in a real X server. Prints how many times the chart was
// drawn in each second, so a scripted drag (bench/pan_window.sh) shows how smoothly it pans. Not part of the
// program. With --shots it saves the window instead (whole, zoomed to the middle 1 % of x, and scrolled by a
// tenth of that) as PNGs in the folder given, to compare pictures before and after a change, and quits.
// Usage: show_line_million [--fast] [--shots folder] [seconds to stay open, default 20]
#include "chart/control/Chart.h"
#include "chart/series/Series.h"
#include "platform/controls/QtApplication.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    bool fast = false;
    int seconds = 20;
    std::string shots;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--fast") == 0)
            fast = true;
        else if (std::strcmp(argv[i], "--shots") == 0 && i + 1 < argc)
            shots = argv[++i];
        else
            seconds = std::max(1, std::atoi(argv[i]));
    }
    QApplication& app = EnsureQtApplication();

    constexpr int Points = 1000000;
    std::vector<double> x(Points), y(Points);
    std::mt19937 random(20260610);
    std::normal_distribution<double> step(0.0, 1.0);
    double walk = 0;
    for (int i = 0; i < Points; ++i) {
        x[std::size_t(i)] = i;
        y[std::size_t(i)] = walk += step(random);
    }

    QWidget window;
    window.setWindowTitle(fast ? "A million points, fast line" : "A million points, line");
    window.setGeometry(0, 0, 1600, 1000);
    TChart chart(nullptr);
    chart.SetParentWidget(&window);
    chart.SetBounds(0, 0, 1600, 1000);
    chart.SetView3D(false);
    std::unique_ptr<TChartSeries> series;
    if (fast)
        series = std::make_unique<TFastLineSeries>(nullptr);
    else
        series = std::make_unique<TLineSeries>(nullptr);
    series->SetSeriesColor(clRed);
    series->SetParentChart(&chart);
    series->AddArrays(std::move(x), std::move(y));

    if (!shots.empty()) {
        window.show();
        const std::string kind = fast ? "fast" : "line";
        const auto save = [&](const char* view) {
            const std::string file = shots + "/" + kind + "-" + view + ".png";
            if (!chart.Widget()->grab().save(QString::fromStdString(file))) {
                std::fprintf(stderr, "cannot write %s\n", file.c_str());
                std::exit(1);
            }
        };
        save("whole");
        chart.BottomAxis().SetFixedRange(Points * 0.495, Points * 0.505);
        save("zoomed");
        chart.BottomAxis().ScrollBy(false, Points * 0.001);
        save("scrolled");
        series.reset();
        return 0;
    }

    // Mouse moves that reached the chart and draws of the chart, counted per second of the clock.
    int draws = 0, moves = 0, second = 0;
    const auto start = std::chrono::steady_clock::now();
    chart.OnAfterDraw = [&](TPersistent*) { ++draws; };
    chart.OnMouseMove = [&](TPersistent*, TShiftState, int, int) { ++moves; };
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        ++second;
        std::printf("second %d: %d mouse moves, %d draws\n", second, moves, draws);
        std::fflush(stdout);
        draws = moves = 0;
        if (second >= seconds) app.quit();
    });
    tick.start(1000);
    window.show();
    app.exec();
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("closed after %.1f s\n", elapsed);
    chart.OnAfterDraw = nullptr;
    chart.OnMouseMove = nullptr;
    series.reset();
    return 0;
}
