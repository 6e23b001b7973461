// Cost of one sample of the live test on the GUI thread: TofWidget_t::addSample with a full 100-sample window,
// which drops the oldest sample and replots, and apart from it the widget's repaint that the replot queues. Prints
// the median, 90th percentile and worst of 1,000 samples (target: addSample median under 2 ms, so that a stream of
// 10 samples per second costs the GUI thread under 2 %).
#include "tofwidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int WINDOW = 100;
constexpr int WARM_UP = 200;
constexpr int SAMPLES = 1000;
constexpr double TARGET_MS = 2.0;
constexpr double STREAM_PER_S = 10.0;

// Counts the paints of one widget.
class PaintCounter_t : public QObject {
public:
    explicit PaintCounter_t(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// A level-like raw reading inside the plot's range.
quint32 reading(int i) {
    return static_cast<quint32>(std::lround(95.0 + 40.0 * std::sin(i / 15.0) + 3.0 * std::sin(i * 1.7)));
}

double percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(share * (values.size() - 1))];
}

void print(const char* what, const std::vector<double>& ms) {
    std::printf("%-40s median %6.3f ms  p90 %6.3f ms  max %6.3f ms  (%zu samples)\n", what, percentile(ms, 0.5),
                percentile(ms, 0.9), *std::max_element(ms.begin(), ms.end()), ms.size());
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    TofWidget_t page;
    page.resize(800, 520); // about the size of the main window's tab page
    page.show();
    PaintCounter_t counter(page.plot());
    QCoreApplication::processEvents();

    int n = 0;
    for (; n < WINDOW + WARM_UP; ++n) {
        page.addSample(reading(n));
        QCoreApplication::processEvents();
    }

    std::vector<double> addMs;
    std::vector<double> paintMs;
    std::vector<double> totalMs;
    QElapsedTimer timer;
    const int paintsBefore = counter.paints;
    for (int i = 0; i < SAMPLES; ++i, ++n) {
        timer.start();
        page.addSample(reading(n));
        const qint64 added = timer.nsecsElapsed();
        QCoreApplication::processEvents(); // the queued repaint
        const qint64 painted = timer.nsecsElapsed();
        addMs.push_back(added / 1e6);
        paintMs.push_back((painted - added) / 1e6);
        totalMs.push_back(painted / 1e6);
    }

    std::printf("platform %s, plot %dx%d, graph holds %d points\n", qPrintable(QGuiApplication::platformName()),
                page.plot()->width(), page.plot()->height(), page.plot()->graph(0)->dataCount());
    print("addSample (drop, append, replot)", addMs);
    print("queued repaint of the plot", paintMs);
    print("addSample + repaint", totalMs);
    std::printf("repaints during the measured samples: %d\n", counter.paints - paintsBefore);
    const double median = percentile(addMs, 0.5);
    std::printf("GUI thread share at %.0f samples/s: %.2f %% (addSample), %.2f %% (with repaint)\n", STREAM_PER_S,
                median * STREAM_PER_S / 10.0, percentile(totalMs, 0.5) * STREAM_PER_S / 10.0);
    std::printf("target: addSample median under %.1f ms: %s\n", TARGET_MS, median < TARGET_MS ? "met" : "NOT met");
    return 0;
}
