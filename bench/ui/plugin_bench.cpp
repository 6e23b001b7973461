// A sensor plugged in and unplugged under umockdev's fake udev: milliseconds from the udev event to the real window's
// port box listing the sensor, and to dropping it. Prints the medians of 20 of each (target: at most 200 ms). Runs
// under umockdev-wrapper, offscreen:
//   QT_QPA_PLATFORM=offscreen umockdev-wrapper bench/ui/bench_ui_plugin
#include "mainwindow.h"
#include "udevtestbed.h"
#include "widgetlookup.h"

#include "timingfigures.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QSocketNotifier>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int runs = 20;

// Milliseconds until done() holds, handling events meanwhile.
double msUntil(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > 10000)
            qFatal("the port box did not follow within 10 s");
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return timer.nsecsElapsed() / 1e6;
}

void quietHandler(QtMsgType, const QMessageLogContext&, const QString&) {}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    UdevTestbed_t testbed;
    qInstallMessageHandler(quietHandler); // the window's message log would bury the figures
    MainWindow_t window;
    window.show();
    msUntil([&] { return window.findChild<QSocketNotifier*>() != nullptr; }); // listening after the first paint
    auto* ports = child<QComboBox>(window, "cboxSerialListP");

    std::vector<double> plugMs, unplugMs;
    for (int i = 0; i < runs; ++i) {
        // A new name each time: the test bed cannot give a removed device's node name to a new device.
        const QString tty =
            testbed.plugIn(QStringLiteral("ttyACM%1").arg(i), 0x0483, 0x5740, QStringLiteral("%1:Velmaro1").arg(i));
        plugMs.push_back(msUntil([&] { return ports->count() == 1; }));
        testbed.unplug(tty);
        unplugMs.push_back(msUntil([&] { return ports->count() == 0; }));
    }
    printTimings("plug-in to listed", plugMs, "; target <= 200 ms");
    printTimings("unplug to dropped", unplugMs, "; target <= 200 ms");
    return 0;
}
