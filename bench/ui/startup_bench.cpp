// Time from construction to the first complete paint of MainWindow_t, against the floor a Qt Widgets program cannot
// beat: a bare QMainWindow holding one QCustomPlot. Prints both medians and their ratio (target: at most 2.0).
#include "mainwindow.h"
#include "portlist.h"
#include "resources.h"

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

// Watches every paint of the application for one reaching the given window or anything inside it.
class PaintWatcher_t : public QObject {
public:
    explicit PaintWatcher_t(const QWidget* window) : window(window) { qApp->installEventFilter(this); }
    bool painted = false;

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (event->type() == QEvent::Paint && receiver->isWidgetType() &&
            static_cast<QWidget*>(receiver)->window() == window)
            painted = true;
        return false;
    }

private:
    const QWidget* window;
};

using Factory_t = std::function<std::unique_ptr<QWidget>()>;

// Milliseconds from construction until the window's first repaint pass is over (the whole window is painted in it).
double constructAndPaintMs(const Factory_t& make) {
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<QWidget> window = make();
    PaintWatcher_t watcher(window.get());
    window->show();
    QElapsedTimer patience;
    patience.start();
    while (!watcher.painted) {
        if (patience.elapsed() > 10000)
            qFatal("the window was not painted within 10 s");
        QCoreApplication::processEvents();
    }
    // The first repaint pass paints the whole window; let it finish.
    QCoreApplication::processEvents();
    const double ms = timer.nsecsElapsed() / 1e6;
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return ms;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void print(const char* what, const std::vector<double>& values) {
    std::printf("%-34s median %7.2f ms  min %7.2f ms  max %7.2f ms  (%d runs)\n", what, median(values),
                *std::min_element(values.begin(), values.end()), *std::max_element(values.begin(), values.end()),
                int(values.size()));
}

QtMessageHandler defaultHandler = nullptr;

// The offscreen platform says this once per window with size limits; it would bury the figures.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!message.contains(QLatin1String("propagateSizeHints")))
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
    constructAndPaintMs(mainWindow);
    constructAndPaintMs(floorWindow);
    std::vector<double> windowMs, floorMs;
    for (int i = 0; i < runs; ++i) {
        windowMs.push_back(constructAndPaintMs(mainWindow));
        floorMs.push_back(constructAndPaintMs(floorWindow));
    }

    // The window lists the serial ports as it starts; how much of its time that scan takes depends on the machine's
    // tty devices, so it is shown apart.
    std::vector<double> scanMs;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        systemPorts();
        scanMs.push_back(timer.nsecsElapsed() / 1e6);
    }

    print("MainWindow_t", windowMs);
    print("QMainWindow + QCustomPlot (floor)", floorMs);
    print("serial port scan (inside the window)", scanMs);
    std::printf("ratio %.2f (target <= 2.0); without the port scan %.2f\n", median(windowMs) / median(floorMs),
                (median(windowMs) - median(scanMs)) / median(floorMs));
    return 0;
}
