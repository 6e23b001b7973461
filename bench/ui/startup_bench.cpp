// In process: the main window's construction, and its construction to the end of its first paint, against the floor
// a Qt Widgets program cannot beat: a bare QMainWindow holding one QCustomPlot. Prints the medians and their ratios
// (target: to the first paint, at most 3 times the floor's; the bare window builds most of itself when shown, so its
// construction alone is no floor). What the window defers until after its first paint (the port
// scan, the pictures) is left out, as the user does not wait for it.
#include "firstpaint.h"
#include "mainwindow.h"
#include "resources.h"

#include "timingfigures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <qcustomplot.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int runs = 25;

using Factory_t = std::function<std::unique_ptr<QWidget>()>;

struct Timing_t {
    double constructMs = 0;
    double paintedMs = 0; // construction to the end of the first paint
};

Timing_t constructAndPaint(const Factory_t& make) {
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<QWidget> window = make();
    Timing_t timing;
    timing.constructMs = timer.nsecsElapsed() / 1e6;
    // Watched after the window's own watch, so called first: before the window's deferred work.
    runAfterFirstPaint(window.get(), [&] { timing.paintedMs = timer.nsecsElapsed() / 1e6; });
    window->show();
    QElapsedTimer patience;
    patience.start();
    while (timing.paintedMs == 0) {
        if (patience.elapsed() > 10000)
            qFatal("the window was not painted within 10 s");
        QCoreApplication::processEvents();
    }
    // The deferred work runs before the next window, outside the figures.
    QCoreApplication::processEvents();
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return timing;
}

QtMessageHandler defaultHandler = nullptr;

// The window's info lines and the offscreen platform's note on every window with size limits would bury the figures.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtInfoMsg && !message.contains(QLatin1String("propagateSizeHints")))
        defaultHandler(type, context, message);
}

} // namespace

int main(int argc, char* argv[]) {
    defaultHandler = qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    initResources();

    const Factory_t mainWindow = [] { return std::make_unique<MainWindow_t>(); };
    const Factory_t floorWindow = [] {
        auto window = std::make_unique<QMainWindow>();
        window->setCentralWidget(new QCustomPlot);
        window->resize(550, 606);
        return window;
    };

    // Warm up fonts, styles and plugins, then alternate so that both see the same machine state.
    constructAndPaint(mainWindow);
    constructAndPaint(floorWindow);
    std::vector<double> windowBuild, floorBuild, windowPainted, floorPainted;
    for (int i = 0; i < runs; ++i) {
        const Timing_t window = constructAndPaint(mainWindow);
        const Timing_t floor = constructAndPaint(floorWindow);
        windowBuild.push_back(window.constructMs);
        floorBuild.push_back(floor.constructMs);
        windowPainted.push_back(window.paintedMs);
        floorPainted.push_back(floor.paintedMs);
    }

    printTimings("MainWindow_t construction", windowBuild);
    printTimings("floor construction", floorBuild);
    printTimings("MainWindow_t to first paint", windowPainted);
    printTimings("floor to first paint", floorPainted);
    std::printf("to first paint ratio %.2f (target <= 3.0); construction alone %.2f\n",
                median(windowPainted) / median(floorPainted), median(windowBuild) / median(floorBuild));
    return 0;
}
