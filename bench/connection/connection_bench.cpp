// The conversation with a sensor, timed: the real window and link against the emulated sensor, which runs in a thread
// of its own as a real sensor would run outside the program. Prints
// - the time from the connect click to the end of the reading (median of 20 connects, no reply delay), beside the
//   floor that the link's 100 ms dispatch pacing sets (8 x 100 ms; target: median <= 1.1 x floor);
// - the worst lateness of a 10 ms heartbeat timer on the GUI thread during a connect, while the sensor streams and
//   during an unplug (target: <= 50 ms each), and the time from the unplug to the port list;
// - the process's resident memory over 1,000 connect cycles, every other one ended by the sensor's refusal (the
//   error path and its box) and the rest by a disconnect (target: at most 100 kB of growth after the first 50).
// With --soak SECONDS it runs a live test instead, the sensor streaming 50 measurements a second, and prints the
// resident memory's growth after the first minute (target < 1 MB), the worst heartbeat lateness (target <= 50 ms)
// and the program's CPU share of one core, the emulator's own thread left out (target < 10 %).
// Run offscreen: QT_QPA_PLATFORM=offscreen bench/connection/bench_connection [--soak 600]
#include "mainwindow.h"
#include "metatypes.h"
#include "portlist.h"
#include "sensoremulator.h"
#include "sensorsequences.h"
#include "serialparserworker.h"
#include "tofwidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <malloc.h>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int CONNECTS = 20;
constexpr int CYCLES = 1000;
constexpr int SETTLING_CYCLES = 50;
constexpr int HEARTBEAT_MS = 10;
constexpr int STREAM_RATE_PER_S = 50;
constexpr int STREAM_WATCH_MS = 3000;
constexpr int READING_FRAMES = 7; // replies of one reading
constexpr int MEASUREMENTS_BEFORE_UNPLUG = 5;
constexpr int BOX_WATCH_MS = 100;
const QString CONNECTED = QStringLiteral("Отключить");
const QString FAILED = QStringLiteral("Произошла ошибка, перезагрузите устройство!");

// Figures go to the standard output the program was started with; the framing module's diagnostics, which it prints
// there too, go nowhere while the bench runs.
FILE* results = nullptr;

void divertStandardOutput() {
    std::fflush(stdout);
    results = fdopen(dup(STDOUT_FILENO), "w");
    if (!std::freopen("/dev/null", "w", stdout))
        results = stderr;
}

// Worst lateness of a repeating timer on the GUI thread while it runs.
class Heartbeat_t {
public:
    Heartbeat_t() {
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(HEARTBEAT_MS);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            worstLateMs = std::max(worstLateMs, since.nsecsElapsed() / 1e6 - HEARTBEAT_MS);
            since.start();
        });
        since.start();
        timer.start();
    }
    double worstLateMs = 0;

private:
    QTimer timer;
    QElapsedTimer since;
};

// The emulated sensor in its own thread, offered to the window while its line is up.
class Sensor_t {
public:
    Sensor_t() {
        context.moveToThread(&thread);
        thread.start();
        // Built in its thread: the emulator's timers and notifiers belong to the thread that creates them.
        inThread([this] {
            emulatorP = new SensorEmulator_t;
            QString error;
            if (!emulatorP->start(error))
                qFatal("emulator does not start: %s", qPrintable(error));
            emulatorP->setStreamRate(STREAM_RATE_PER_S);
            path = emulatorP->slavePath();
            // Direct: the line is marked down in the sensor's thread, before the link can see the hang-up.
            QObject::connect(
                emulatorP, &SensorEmulator_t::signLineDropped, emulatorP,
                [this] {
                    droppedAt = std::chrono::steady_clock::now();
                    lineUp = false;
                },
                Qt::DirectConnection);
        });
    }
    ~Sensor_t() {
        inThread([this] { delete emulatorP; });
        thread.quit();
        thread.wait();
    }

    // Milliseconds since the line dropped; meaningful once it has.
    double msSinceDrop() const {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - droppedAt.load()).count();
    }
    // CPU seconds the emulator's thread has used.
    double cpuSeconds() {
        double seconds = 0;
        inThread([&seconds] { seconds = threadCpuSeconds(); });
        return seconds;
    }
    static double threadCpuSeconds() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return t.tv_sec + t.tv_nsec / 1e9;
    }
    int requestCount() {
        int count = 0;
        inThread([this, &count] { count = emulatorP->requests().size(); });
        return count;
    }
    void setFaults(const EmulatorFaults_t& faults) {
        inThread([this, faults] { emulatorP->setFaults(faults); });
    }
    // The emulator logs every request and measurement for its tests; a long bench would count those logs as the
    // program's growth.
    void forgetLogs() {
        inThread([this] { emulatorP->forgetLogs(); });
    }
    PortSource_t portSource() {
        return [this] {
            QList<PortDescriptor_t> ports;
            if (lineUp)
                ports.append({path, true, SENSOR_VENDOR_ID, SENSOR_PRODUCT_ID, QStringLiteral("BENCH:Velmaro1")});
            return ports;
        };
    }

private:
    void inThread(const std::function<void()>& work) {
        QMetaObject::invokeMethod(&context, work, Qt::BlockingQueuedConnection);
    }

    QThread thread;
    QObject context; // lives in the thread: where the work for the emulator runs
    SensorEmulator_t* emulatorP = nullptr;
    QString path;
    std::atomic<bool> lineUp{true};
    std::atomic<std::chrono::steady_clock::time_point> droppedAt{};
};

// Runs the event loop until the predicate holds, waking on every event; milliseconds taken, or -1 on timeout.
double runUntil(const std::function<bool()>& done, int timeoutMs = 20000) {
    QElapsedTimer clock;
    clock.start();
    QTimer wake; // bounds each wait, so a timeout is noticed without any other event
    wake.start(HEARTBEAT_MS);
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return -1;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        // Without a running event loop nothing else deletes what deleteLater left, e.g. each ended connection.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return clock.nsecsElapsed() / 1e6;
}

QPushButton* connectButton(MainWindow_t& window) {
    return window.findChild<QPushButton*>(QStringLiteral("btnSerialPortP"));
}

// The window scans its ports once it has been painted first.
void showAndList(MainWindow_t& window) {
    window.show();
    QPushButton* button = connectButton(window);
    runUntil([button] { return button->text() == QStringLiteral("Подключить"); });
}

double connectAndRead(MainWindow_t& window) {
    QPushButton* button = connectButton(window);
    button->click();
    return runUntil([button] { return button->text() == CONNECTED; });
}

void disconnect(MainWindow_t& window) {
    connectButton(window)->click();
}

// Error boxes closed by the box watch, as a user would close them, while a bench expects them.
int closedFailureBoxes = 0;

// A connect that the sensor ends in the error path; true once its box has been closed.
bool connectAndFail(MainWindow_t& window) {
    const int before = closedFailureBoxes;
    QPushButton* button = connectButton(window);
    button->click();
    return runUntil([before, button] {
               return closedFailureBoxes > before && button->text() == QStringLiteral("Подключить");
           }) >= 0;
}

// Resident set now and its peak so far, in kB, from /proc/self/status.
std::pair<long, long> residentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    long rss = -1;
    long peak = -1;
    if (!status.open(QIODevice::ReadOnly))
        return {rss, peak};
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            rss = line.mid(6).trimmed().split(' ').first().toLong();
        else if (line.startsWith("VmHWM:"))
            peak = line.mid(6).trimmed().split(' ').first().toLong();
    }
    return {rss, peak};
}

void benchConnectTime(MainWindow_t& window) {
    std::vector<double> times;
    for (int i = 0; i < CONNECTS; ++i) {
        times.push_back(connectAndRead(window));
        disconnect(window);
    }
    std::sort(times.begin(), times.end());
    const double median = (times[CONNECTS / 2 - 1] + times[CONNECTS / 2]) / 2;
    // Each reply of the reading waits out the link's dispatch interval.
    const int pacedReplies = static_cast<int>(readingSequence().steps.size());
    constexpr int interval = SerialParserWorker_t::DISPATCH_INTERVAL_MS;
    const double floor = pacedReplies * interval;
    std::fprintf(results,
                 "connect click to IDLE, median of %d: %.1f ms (min %.1f, max %.1f); floor %d x %d ms = %.0f ms;"
                 " ratio %.3f\n",
                 CONNECTS, median, times.front(), times.back(), pacedReplies, interval, floor, median / floor);
}

void benchResponsiveness(MainWindow_t& window) {
    {
        Heartbeat_t heartbeat;
        connectAndRead(window);
        std::fprintf(results, "heartbeat worst lateness during a connect: %.1f ms\n", heartbeat.worstLateMs);
    }
    QPushButton* startStop = window.findChild<TofWidget_t*>()->startStopButton();
    startStop->click();
    {
        Heartbeat_t heartbeat;
        runUntil([] { return false; }, STREAM_WATCH_MS);
        std::fprintf(results, "heartbeat worst lateness while the sensor streams (%d/s for %d ms): %.1f ms\n",
                     STREAM_RATE_PER_S, STREAM_WATCH_MS, heartbeat.worstLateMs);
    }
    startStop->click();
    runUntil([startStop] { return startStop->isEnabled(); });
    disconnect(window);
}

// Needs a sensor that has sent nothing yet: the line drops after a count of frames since its start.
void benchUnplug(MainWindow_t& window, Sensor_t& sensor) {
    EmulatorFaults_t faults;
    faults.dropAfter = READING_FRAMES + 1 + MEASUREMENTS_BEFORE_UNPLUG; // the reading, the test's "ok", measurements
    sensor.setFaults(faults);
    connectAndRead(window);
    Heartbeat_t heartbeat;
    QPushButton* button = connectButton(window);
    window.findChild<TofWidget_t*>()->startStopButton()->click();
    runUntil([button] { return button->text() != CONNECTED; });
    const double closedMs = sensor.msSinceDrop();
    runUntil([] { return false; }, 200);
    std::fprintf(results,
                 "heartbeat worst lateness during an unplug: %.1f ms; line drop to port list (\"%s\"): %.1f ms\n",
                 heartbeat.worstLateMs, qPrintable(button->text()), closedMs);
}

void benchMemory(MainWindow_t& window, Sensor_t& sensor) {
    const std::vector<int> checkpoints = {1, 10, SETTLING_CYCLES, 100, 250, 500, 750, CYCLES};
    EmulatorFaults_t refusing; // the identity refused: the reading's error path
    refusing.overridePrefix = QStringLiteral(R"(["Info"])");
    long settledKb = 0;
    int failures = 0;
    for (int cycle = 1; cycle <= CYCLES; ++cycle) {
        const bool failing = cycle % 2 == 0;
        sensor.setFaults(failing ? refusing : EmulatorFaults_t());
        if (failing) {
            failures += connectAndFail(window) ? 1 : 0;
        } else {
            connectAndRead(window);
            disconnect(window);
        }
        sensor.forgetLogs();
        if (std::find(checkpoints.begin(), checkpoints.end(), cycle) == checkpoints.end())
            continue;
        const auto [rss, peak] = residentKb();
        if (cycle == SETTLING_CYCLES)
            settledKb = rss;
        std::fprintf(results,
                     "after %4d connect cycles (%d failed): resident %ld kB, peak %ld kB, heap in use %zu kB\n", cycle,
                     failures, rss, peak, mallinfo2().uordblks / 1024);
        std::fflush(results);
    }
    std::fprintf(results, "resident growth from cycle %d to %d: %ld kB\n", SETTLING_CYCLES, CYCLES,
                 residentKb().first - settledKb);
}

double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void benchSoak(MainWindow_t& window, Sensor_t& sensor, int seconds) {
    constexpr int SETTLE_S = 60;
    connectAndRead(window);
    window.findChild<TofWidget_t*>()->startStopButton()->click();
    Heartbeat_t heartbeat;
    runUntil([] { return false; }, SETTLE_S * 1000);
    sensor.forgetLogs();
    const long settledKb = residentKb().first;
    const double cpuAtSettle = processCpuSeconds() - sensor.cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    for (int minute = SETTLE_S; minute < seconds; minute += SETTLE_S) {
        runUntil([] { return false; }, std::min(SETTLE_S, seconds - minute) * 1000);
        sensor.forgetLogs();
        std::fprintf(results, "soak %4d s: resident %ld kB\n", minute + SETTLE_S, residentKb().first);
        std::fflush(results);
    }
    const double programCpu = processCpuSeconds() - sensor.cpuSeconds() - cpuAtSettle;
    std::fprintf(results,
                 "soak of %d s at %d measurements/s: resident growth after the first minute %ld kB; worst heartbeat "
                 "lateness %.1f ms; program CPU %.1f %% of one core\n",
                 seconds, STREAM_RATE_PER_S, residentKb().first - settledKb, heartbeat.worstLateMs,
                 100.0 * programCpu / (clock.nsecsElapsed() / 1e9));
}

} // namespace

int main(int argc, char* argv[]) {
    divertStandardOutput();
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false\ndefault.info=false"));
    registerMetaTypes();
    QApplication app(argc, argv);

    // A message box here means a failed exchange: report it instead of waiting for a user.
    QTimer boxWatch;
    QObject::connect(&boxWatch, &QTimer::timeout, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        // The box runs its own event loop: only this watch can close it.
        if (box && box->text() == FAILED) {
            ++closedFailureBoxes;
            box->accept();
        } else if (box) {
            std::fprintf(results, "UNEXPECTED MESSAGE: %s\n", qPrintable(box->text()));
            box->accept();
        }
    });
    boxWatch.start(BOX_WATCH_MS);

    const QStringList arguments = app.arguments();
    const int soakAt = arguments.indexOf(QStringLiteral("--soak"));
    if (soakAt > 0) {
        Sensor_t sensor;
        MainWindow_t window(nullptr, QDate::currentDate(), sensor.portSource());
        showAndList(window);
        benchSoak(window, sensor, std::max(60, arguments.value(soakAt + 1).toInt()));
        std::fclose(results);
        return 0;
    }

    std::fprintf(results, "connections (%d frames per reading)\n", READING_FRAMES);
    {
        Sensor_t sensor;
        MainWindow_t window(nullptr, QDate::currentDate(), sensor.portSource());
        showAndList(window);
        benchConnectTime(window);
        std::fflush(results);
    }
    {
        Sensor_t sensor;
        MainWindow_t window(nullptr, QDate::currentDate(), sensor.portSource());
        showAndList(window);
        benchResponsiveness(window);
    }
    {
        Sensor_t sensor;
        MainWindow_t window(nullptr, QDate::currentDate(), sensor.portSource());
        showAndList(window);
        benchUnplug(window, sensor);
        std::fflush(results);
    }
    {
        Sensor_t sensor;
        MainWindow_t window(nullptr, QDate::currentDate(), sensor.portSource());
        showAndList(window);
        benchMemory(window, sensor);
    }
    std::fclose(results);
    return 0;
}
