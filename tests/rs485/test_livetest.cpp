// The live test through the real window against the emulated sensor: switching the measurement stream on and off,
// plotting what the sensor streams, clearing the plot, and the stop when the user leaves the test tab.

#include "logcapture.h"
#include "modalboxcloser.h"
#include "statee.h"
#include "tofwidget.h"
#include "windowharness.h"

#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>
#include <qcustomplot.h>

#include <algorithm>

using nlohmann::json;

namespace {

const QString STREAM_OFF = QStringLiteral(R"(["Installation",{"on":0}])");
const QString START = QStringLiteral("Начать тест");
const QString STOP = QStringLiteral("Завершить тест");
constexpr int READING_REQUESTS = 7;

QVector<QPointF> plotted(const TofWidget_t* page) {
    QVector<QPointF> points;
    const QSharedPointer<QCPGraphDataContainer> data = page->plot()->graph(0)->data();
    for (auto it = data->constBegin(); it != data->constEnd(); ++it)
        points << QPointF(it->key, it->value);
    return points;
}

// What the machine took, from its "Data to FSM" log lines: the state it was in, and whether the event was a
// measurement.
struct Event_t {
    int state;
    bool measurement;
};

QList<Event_t> events(const LogCapture_t& log) {
    static const QRegularExpression stateAtEnd(QStringLiteral("State is:\\s+(\\d+)$"));
    QList<Event_t> taken;
    for (const QString& line : log.textsStartingWith(QStringLiteral("Data to FSM")))
        taken.append({stateAtEnd.match(line).captured(1).toInt(), line.contains(QLatin1String("Installation"))});
    return taken;
}

int count(const QList<Event_t>& taken, StateE state, bool measurement) {
    return static_cast<int>(std::count_if(taken.begin(), taken.end(), [&](const Event_t& e) {
        return e.state == static_cast<int>(state) && e.measurement == measurement;
    }));
}

// Waits until the window has taken no event for quietMs: the link's queue has drained.
bool waitUntilQuiet(const LogCapture_t& log, int quietMs = 600, int timeoutMs = 20000) {
    QElapsedTimer total;
    total.start();
    int seen = -1;
    QElapsedTimer sinceChange;
    while (total.elapsed() < timeoutMs) {
        const int now = events(log).size();
        if (now != seen) {
            seen = now;
            sinceChange.start();
        } else if (sinceChange.elapsed() >= quietMs) {
            return true;
        }
        QTest::qWait(50);
    }
    return false;
}

bool isStreamOff(const QList<QVariant>& emitted) {
    return json::parse(emitted.at(0).toByteArray().toStdString(), nullptr, false) ==
           json::parse(STREAM_OFF.toStdString());
}

// A connected window showing its test tab, with the tab's controls at hand.
class LiveTestWindow_t {
public:
    explicit LiveTestWindow_t(double streamRate = 5) {
        if (!h.emulator().setStreamRate(streamRate))
            qFatal("bad stream rate");
    }

    bool connectAndShowTestTab() {
        if (!h.connectAndRead())
            return false;
        clickTab(tabs()->indexOf(page()));
        return tabs()->currentWidget() == page();
    }
    // Presses start or stop and waits until the sensor's acknowledgement has enabled the button again.
    bool pressStartStop() {
        button()->click();
        return QTest::qWaitFor([this] { return button()->isEnabled(); }, 10000);
    }
    // Clicks a tab's title as a user does.
    void clickTab(int index) {
        QTabBar* bar = tabs()->findChild<QTabBar*>();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
    bool waitForSamples(int count) {
        return QTest::qWaitFor([&] { return plotted(page()).size() >= count; }, 15000);
    }
    int streamOffRequests() { return h.emulator().requests().count(STREAM_OFF); }
    bool streamOn() { return h.emulator().stateJson()["Installation"].get<bool>(); }

    TofWidget_t* page() const { return h.testPage(); }
    QPushButton* button() const { return page()->startStopButton(); }
    QTabWidget* tabs() const { return h.widget<QTabWidget>("tabWidgetP"); }

    WindowHarness_t h;
};

} // namespace

class LiveTestTest_t : public QObject {
    Q_OBJECT

private slots:
    void runningTest_plotsTheStreamedRawTofValues();
    void stopWhileMeasurementsArrive_resendsTheStopUntilOk();
    void clearWhileRunning_emptiesThePlotAndTheTestGoesOn();
    void leavingTheTabWhileRunning_stopsTheTestOnce_data();
    void leavingTheTabWhileRunning_stopsTheTestOnce();
    void switchingTabsWithoutATest_startsNothing();
    void leavingForRs485WhileMeasurementsArrive_applyWaitsForTheStop();
    void writeRightAfterAStop_isAnsweredByItsOwnReply_data();
    void writeRightAfterAStop_isAnsweredByItsOwnReply();
};

void LiveTestTest_t::runningTest_plotsTheStreamedRawTofValues() {
    LiveTestWindow_t w;
    ModalBoxCloser_t closer;
    QVERIFY(w.connectAndShowTestTab());
    QCOMPARE(w.button()->text(), START);

    w.button()->click();
    QCOMPARE(w.button()->text(), STOP);
    QVERIFY(!w.button()->isEnabled()); // until the sensor has acknowledged
    QVERIFY(QTest::qWaitFor([&] { return w.button()->isEnabled(); }));
    QVERIFY(w.streamOn());
    QVERIFY(w.waitForSamples(8));

    const QVector<QPointF> points = plotted(w.page());
    const QList<Installation_t> sent = w.h.emulator().streamed();
    QVERIFY(sent.size() >= points.size());
    QVector<QPointF> rawTofs;
    QVector<QPointF> levels;
    for (int i = 0; i < points.size(); ++i) {
        rawTofs << QPointF(i, sent[i].RawTOF);
        levels << QPointF(i, sent[i].mm);
    }
    QVERIFY2(rawTofs != levels, "the readings must tell the raw value from the level");
    QCOMPARE(points, rawTofs);

    // The next press stops the test: the window knows it is running.
    QVERIFY(w.pressStartStop());
    QCOMPARE(w.button()->text(), START);
    QVERIFY(!w.streamOn());
    QVERIFY(closer.texts().isEmpty());
}

void LiveTestTest_t::stopWhileMeasurementsArrive_resendsTheStopUntilOk() {
    // The link hands the window one item per 100 ms, so at 25 per second measurements queue up behind the
    // sensor's "ok" to the stop.
    LiveTestWindow_t w(25);
    ModalBoxCloser_t closer;
    QVERIFY(w.connectAndShowTestTab());
    QVERIFY(w.pressStartStop());
    QVERIFY(QTest::qWaitFor([&] { return w.h.emulator().streamed().size() >= 25; }));
    const int stopsBefore = w.streamOffRequests();

    LogCapture_t log;
    w.button()->click();
    QCOMPARE(w.button()->text(), START);
    QVERIFY(!w.button()->isEnabled());
    QVERIFY(waitUntilQuiet(log));

    const QList<Event_t> taken = events(log);
    const int stops = w.streamOffRequests() - stopsBefore;
    // One stop from the press and one more for each measurement taken while waiting; every stop's "ok" is taken
    // while waiting, and only then is the machine idle.
    const int measurementsWhileWaiting = count(taken, StateE::STOP_TEST_ACK, true);
    QVERIFY2(measurementsWhileWaiting >= 1, "measurements must still arrive after the stop");
    QCOMPARE(stops, 1 + measurementsWhileWaiting);
    QCOMPARE(count(taken, StateE::STOP_TEST_ACK, false), stops);
    // An empty event shows the state the machine rests in.
    w.h.window().slotFromDevice();
    QCOMPARE(events(log).last().state, static_cast<int>(StateE::IDLE));
    QVERIFY(log.texts(QtCriticalMsg).isEmpty());
    QVERIFY(closer.texts().isEmpty());
    QVERIFY(w.button()->isEnabled());
    QCOMPARE(w.button()->text(), START);
    QCOMPARE(w.h.connectButton()->text(), QStringLiteral("Отключить"));
    QVERIFY(!w.streamOn());
}

void LiveTestTest_t::clearWhileRunning_emptiesThePlotAndTheTestGoesOn() {
    LiveTestWindow_t w;
    QVERIFY(w.connectAndShowTestTab());
    QVERIFY(w.pressStartStop());
    QVERIFY(w.waitForSamples(3));

    const int stops = w.streamOffRequests();
    const int takenBeforeClear = plotted(w.page()).size(); // every measurement so far, fewer than 100
    w.page()->findChild<QPushButton*>(QStringLiteral("btnClearP"))->click();
    QVERIFY(plotted(w.page()).isEmpty());

    QVERIFY(w.waitForSamples(1));
    QCOMPARE(plotted(w.page()).first(), QPointF(0, w.h.emulator().streamed().at(takenBeforeClear).RawTOF));
    QCOMPARE(w.button()->text(), STOP);
    QCOMPARE(w.streamOffRequests(), stops);
    QVERIFY(w.streamOn());
}

void LiveTestTest_t::leavingTheTabWhileRunning_stopsTheTestOnce_data() {
    QTest::addColumn<int>("target");
    QTest::newRow("to Параметры") << 0;
    QTest::newRow("to RS485") << 2;
    QTest::newRow("to Инфо") << 3;
}

void LiveTestTest_t::leavingTheTabWhileRunning_stopsTheTestOnce() {
    QFETCH(int, target);
    LiveTestWindow_t w;
    ModalBoxCloser_t closer;
    QVERIFY(w.connectAndShowTestTab());
    QVERIFY(w.pressStartStop());
    QVERIFY(w.waitForSamples(2));

    QSignalSpy sent(&w.h.window(), &MainWindow_t::signToDevice);
    w.clickTab(target);
    QCOMPARE(w.tabs()->currentIndex(), target);
    QCOMPARE(sent.size(), 1);
    QVERIFY(isStreamOff(sent.first()));
    QCOMPARE(w.button()->text(), START);

    QVERIFY(QTest::qWaitFor([&] { return w.button()->isEnabled(); }));
    QVERIFY(!w.streamOn());
    QVERIFY(closer.texts().isEmpty());
    // Back on the test tab nothing starts by itself.
    sent.clear();
    w.clickTab(w.tabs()->indexOf(w.page()));
    QVERIFY(sent.isEmpty());
}

void LiveTestTest_t::switchingTabsWithoutATest_startsNothing() {
    LiveTestWindow_t w;
    QVERIFY(w.h.connectAndRead());
    QSignalSpy sent(&w.h.window(), &MainWindow_t::signToDevice);
    for (int index : {1, 2, 1, 3, 0, 1})
        w.clickTab(index);
    QCOMPARE(w.tabs()->currentWidget(), static_cast<QWidget*>(w.page()));

    QVERIFY(sent.isEmpty());
    QCOMPARE(w.button()->text(), START);
    QTest::qWait(500);
    QCOMPARE(w.h.emulator().requests().size(), READING_REQUESTS);
    QVERIFY(w.h.emulator().streamed().isEmpty());
}

void LiveTestTest_t::leavingForRs485WhileMeasurementsArrive_applyWaitsForTheStop() {
    LiveTestWindow_t w(25);
    ModalBoxCloser_t closer;
    QVERIFY(w.connectAndShowTestTab());
    QVERIFY(w.pressStartStop());
    QVERIFY(QTest::qWaitFor([&] { return w.h.emulator().streamed().size() >= 15; }));

    auto* apply = w.h.widget<QPushButton>("btnOmniApply");
    w.clickTab(w.tabs()->indexOf(w.h.widget("tabOmni")));
    // A write sent now would meet the measurements still on their way, which no write awaits.
    QVERIFY(!apply->isEnabled());
    QVERIFY(QTest::qWaitFor([&] { return apply->isEnabled(); }, 15000));
    w.h.widget<QSpinBox>("spboxOmniAddr")->setValue(77);
    apply->click();

    QVERIFY(closer.waitForCount(1, 10000));
    QCOMPARE(closer.texts(), QStringList{QStringLiteral("Настройки успешно сохранены!")});
    QCOMPARE(w.h.emulator().stateJson()["OmnicommConfig"]["Address"], json(77));
    QCOMPARE(w.h.connectButton()->text(), QStringLiteral("Отключить"));
}

void LiveTestTest_t::writeRightAfterAStop_isAnsweredByItsOwnReply_data() {
    QTest::addColumn<double>("streamRate");
    QTest::addColumn<bool>("stopAtOnce");
    QTest::newRow("stopped while measurements queue up") << 25.0 << false;
    QTest::newRow("tab left right after the start") << 5.0 << true;
}

void LiveTestTest_t::writeRightAfterAStop_isAnsweredByItsOwnReply() {
    QFETCH(double, streamRate);
    QFETCH(bool, stopAtOnce);
    LiveTestWindow_t w(streamRate);
    ModalBoxCloser_t closer;
    QVERIFY(w.connectAndShowTestTab());
    // The sensor refuses the write; the user must not be told it was saved.
    EmulatorFaults_t faults;
    faults.overridePrefix = QStringLiteral(R"(["OmnicommConfig",{)");
    w.h.emulator().setFaults(faults);

    w.button()->click();
    if (!stopAtOnce) {
        QVERIFY(QTest::qWaitFor([&] { return w.button()->isEnabled(); }));
        QVERIFY(QTest::qWaitFor([&] { return w.h.emulator().streamed().size() >= 15; }));
    }
    w.clickTab(w.tabs()->indexOf(w.h.widget("tabOmni")));
    auto* apply = w.h.widget<QPushButton>("btnOmniApply");
    QVERIFY(QTest::qWaitFor([&] { return apply->isEnabled(); }, 15000));
    apply->click();

    QVERIFY(closer.waitForCount(1, 10000));
    QCOMPARE(closer.texts(), QStringList{QStringLiteral("Произошла ошибка, перезагрузите устройство!")});
}

QTEST_MAIN(LiveTestTest_t)
#include "test_livetest.moc"
