// The port box and the connect button through the real window against emulated sensors: choosing among devices,
// refused clicks, disconnecting and reconnecting, an unplugged sensor and the connection help without one.

#include "diagnosticdialog.h"
#include "logcapture.h"
#include "modalboxcloser.h"
#include "tofwidget.h"
#include "windowharness.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

QStringList comboItems(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

} // namespace

class PortsTest_t : public QObject {
    Q_OBJECT

private slots:
    void noSensor_buttonOffersTheConnectionHelp();
    void twoSensors_refreshKeepsTheSelectionAndConnectUsesIt();
    void clickWhileOpeningOrReading_isRefused_data();
    void clickWhileOpeningOrReading_isRefused();
    void disconnectThenReconnect_readsEverythingAgainWithoutDuplicates();
    void unplugWhileConnected_returnsToNoPortsAfterAFewErrorReports();
};

void PortsTest_t::noSensor_buttonOffersTheConnectionHelp() {
    WindowHarness_t h(0);
    QCOMPARE(h.connectButton()->text(), QStringLiteral("Диагностика"));
    QVERIFY(h.connectButton()->isEnabled());
    QVERIFY(!h.widget("cboxSerialListP")->isEnabled());

    h.connectButton()->click();
    QVERIFY(h.diagnosticDialog()->isVisible());
    h.diagnosticDialog()->hide();
}

void PortsTest_t::twoSensors_refreshKeepsTheSelectionAndConnectUsesIt() {
    WindowHarness_t h(2);
    auto* ports = h.widget<QComboBox>("cboxSerialListP");
    QCOMPARE(comboItems(ports), (QStringList{QStringLiteral("Velmaro#EMU0"), QStringLiteral("Velmaro#EMU1")}));
    ports->setCurrentIndex(1);
    h.window().slotRefreshSerialList();
    QCOMPARE(ports->currentIndex(), 1);

    QVERIFY(h.connectAndRead());
    QVERIFY(h.emulator(0).requests().isEmpty());
    QCOMPARE(h.emulator(1).requests().size(), 7);
}

void PortsTest_t::clickWhileOpeningOrReading_isRefused_data() {
    QTest::addColumn<QString>("buttonText");
    QTest::newRow("connecting") << QStringLiteral("Подключение...");
    QTest::newRow("reading") << QStringLiteral("Чтение данных...");
}

void PortsTest_t::clickWhileOpeningOrReading_isRefused() {
    QFETCH(QString, buttonText);
    WindowHarness_t h;
    LogCapture_t log;
    h.connectButton()->click();
    QVERIFY(h.waitForButtonText(buttonText));

    // The button is disabled then; the slot itself must refuse as well.
    QVERIFY(!h.connectButton()->isEnabled());
    h.window().slotBtnSerialPort_clicked();
    QCOMPARE(log.texts(QtCriticalMsg), QStringList{QStringLiteral("Can't press!")});
    QCOMPARE(h.connectButton()->text(), buttonText);

    QVERIFY(h.waitForButtonText(QStringLiteral("Отключить")));
    QCOMPARE(h.emulator().requests().size(), 7);
}

void PortsTest_t::disconnectThenReconnect_readsEverythingAgainWithoutDuplicates() {
    WindowHarness_t h;
    ModalBoxCloser_t closer;
    QVERIFY(h.connectAndRead());
    auto* tanks = h.widget<QComboBox>("cboxTanksP");
    const QStringList firstList = comboItems(tanks);
    const QString firstCurrent = tanks->currentText();
    const QStringList firstRequests = h.emulator().requests();

    h.connectButton()->click();
    QCOMPARE(h.connectButton()->text(), QStringLiteral("Подключить"));
    QVERIFY(h.widget("cboxSerialListP")->isEnabled());
    QVERIFY(h.widget("btnCalibration")->isHidden());
    QVERIFY(h.widget<QLabel>("lblDeviceP")->text().isEmpty());
    QVERIFY(!h.widget("btnApplyP")->isEnabled());
    QVERIFY(!h.testPage()->startStopButton()->isEnabled());
    // Without a link the RS485 apply could only wait for an answer that cannot come.
    for (const char* name : {"spboxOmniAddr", "cboxOmniUnits", "cboxOmniTxMode", "spboxOmniTxPeriod", "btnOmniApply"})
        QVERIFY2(!h.widget(name)->isEnabled(), name);

    QVERIFY(h.connectAndRead());
    QCOMPARE(h.emulator().requests(), firstRequests + firstRequests);
    QCOMPARE(comboItems(tanks), firstList);
    QCOMPARE(tanks->currentText(), firstCurrent);
    QVERIFY(h.widget("btnOmniApply")->isEnabled());
    QVERIFY(closer.texts().isEmpty());
}

void PortsTest_t::unplugWhileConnected_returnsToNoPortsAfterAFewErrorReports() {
    WindowHarness_t h;
    ModalBoxCloser_t closer;
    QVERIFY(h.connectAndRead());
    LogCapture_t log;
    // The reading took 7 frames; the test's "ok" and two measurements follow, then the cable is pulled.
    EmulatorFaults_t faults;
    faults.dropAfter = 10;
    h.emulator().setFaults(faults);
    QSignalSpy dropped(&h.emulator(), &SensorEmulator_t::signLineDropped);
    h.testPage()->startStopButton()->click();

    QVERIFY(dropped.wait(10000));
    QVERIFY(h.waitForButtonText(QStringLiteral("Диагностика")));
    QVERIFY(!h.widget("cboxSerialListP")->isEnabled());
    QVERIFY(h.widget<QComboBox>("cboxSerialListP")->count() == 0);
    QVERIFY(h.widget("btnCalibration")->isHidden());
    QTest::qWait(500);
    const QStringList errorReports = log.textsStartingWith(QStringLiteral("QSerialPort::"));
    QVERIFY2(!errorReports.isEmpty() && errorReports.size() <= 3, qPrintable(errorReports.join(' ')));
    QVERIFY(closer.texts().isEmpty());
}

QTEST_MAIN(PortsTest_t)
#include "test_ports.moc"
