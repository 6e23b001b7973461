// The initial reading of a sensor through the real window and link against the emulated sensor: what is asked in
// which order, what the tabs show afterwards, and every way the reading can go wrong.

#include "logcapture.h"
#include "modalboxcloser.h"
#include "propertiesdialog.h"
#include "tofwidget.h"
#include "windowharness.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

using nlohmann::json;

namespace {

const QString ERROR_MESSAGE = QStringLiteral("Произошла ошибка, перезагрузите устройство!");
const QString STREAM_OFF = QStringLiteral(R"(["Installation",{"on":0}])");

// The requests of one complete reading of a sensor that is not streaming.
const QStringList FULL_READING = {
    STREAM_OFF,
    QStringLiteral(R"(["Info"])"),
    QStringLiteral(R"(["TankConfig"])"),
    QStringLiteral(R"(["TankConfig",{"id":0}])"),
    QStringLiteral(R"(["TankConfig",{"id":1}])"),
    QStringLiteral(R"(["TankConfig",{"id":2}])"),
    QStringLiteral(R"(["OmnicommConfig"])"),
};

QStringList comboItems(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

// The error path's outcome: the one message, the link gone and the port offered again.
void verifyErrorPath(const WindowHarness_t& h, const ModalBoxCloser_t& closer) {
    QCOMPARE(closer.texts(), QStringList{ERROR_MESSAGE});
    QCOMPARE(h.connectButton()->text(), QStringLiteral("Подключить"));
    QVERIFY(h.connectButton()->isEnabled());
    QVERIFY(h.widget("cboxSerialListP")->isEnabled());
    QVERIFY(!h.widget("btnApplyP")->isEnabled());
    QVERIFY(h.widget("btnCalibration")->isHidden());
}

// Connects to a sensor with the given faults and expects the reading to end on the error path.
void readIntoErrorPath(WindowHarness_t& h, const EmulatorFaults_t& faults) {
    h.emulator().setFaults(faults);
    ModalBoxCloser_t closer;
    h.connectButton()->click();
    QVERIFY(closer.waitForCount(1, 10000));
    verifyErrorPath(h, closer);
}

} // namespace

class ReadingTest_t : public QObject {
    Q_OBJECT

private slots:
    void fullReading_asksInOrderAndFillsEveryTab();
    void streamingSensor_stopIsRepeatedUntilOkAndLeftoverOksAreSkipped();
    void okInStart_takesTheErrorPath();
    void refusalInAReadingState_takesTheErrorPath();
    void duringTheReading_actionWidgetsStayDisabled();
    void shiftedRecordIds_nextRequestFollowsTheReplysId();
    void recordTwoAnsweringTheFirstRequest_endsTheRecordReading();
    void recordIdOutOfRange_takesTheErrorPath();
    void silentSensor_hitsTheReplyTimeLimit();
};

void ReadingTest_t::fullReading_asksInOrderAndFillsEveryTab() {
    WindowHarness_t h;
    QVERIFY(h.loadState(
        0, {{"Info", {{"Name", "Velmaro LS-1"}, {"HWVer", "HW-42"}, {"FWVer", "2.0.4"}}},
            {"TankConfig", {{"Mixture", 64}, {"Liquid", "Mix"}, {"Active", 1}}},
            {"OmnicommConfig", {{"Address", 17}, {"TxMode", true}, {"Units", "litres"}, {"TxPeriodSec", 12}}}}));
    ModalBoxCloser_t closer;
    QVERIFY(h.connectAndRead());

    QCOMPARE(h.emulator().requests(), FULL_READING);
    QCOMPARE(h.widget<QLabel>("lblDeviceP")->text(), QStringLiteral("Velmaro LS-1"));
    QCOMPARE(h.widget<QLabel>("lblDeviceIdP")->text(), QStringLiteral("HW-42"));
    QCOMPARE(h.widget<QLabel>("lblFwVersionP")->text(), QStringLiteral("2.0.4"));
    QCOMPARE(h.propertiesDialog()->mixture(), 64);

    // Record 1, a standard-sized toroid, is active: the toroid list shows it first and current, then the catalogue.
    QVERIFY(h.widget<QRadioButton>("rbuttToroidP")->isChecked());
    QVERIFY(!h.widget<QCheckBox>("cboxIsCustomP")->isChecked());
    auto* tanks = h.widget<QComboBox>("cboxTanksP");
    const QStringList toroids = comboItems(tanks);
    QCOMPARE(toroids.size(), 1 + 13);
    QCOMPARE(toroids.first(), QStringLiteral("630x250"));
    QCOMPARE(toroids.at(1), QStringLiteral("600x200 42L"));
    QCOMPARE(tanks->currentText(), QStringLiteral("630x250"));
    // Record 0, a horizontal cylinder, heads its own kind's list.
    h.widget<QRadioButton>("rbuttCylinderHV_P")->click();
    h.widget<QRadioButton>("rbuttCylinderH_P")->click();
    QCOMPARE(comboItems(tanks).size(), 1 + 8);
    QCOMPARE(comboItems(tanks).first(), QStringLiteral("300x640"));

    QCOMPARE(h.widget<QSpinBox>("spboxOmniAddr")->value(), 17);
    QCOMPARE(h.widget<QComboBox>("cboxOmniUnits")->currentIndex(), 1);
    QVERIFY(h.widget<QCheckBox>("cboxOmniTxMode")->isChecked());
    QCOMPARE(h.widget<QSpinBox>("spboxOmniTxPeriod")->value(), 12);
    QVERIFY(h.widget("spboxOmniTxPeriod")->isEnabled());

    QVERIFY(h.connectButton()->isEnabled());
    QVERIFY(!h.widget("cboxSerialListP")->isEnabled());
    QVERIFY(h.widget("btnCalibration")->isVisible());
    QVERIFY(h.widget("btnCalibrationHelp")->isVisible());
    QVERIFY(h.widget("btnApplyP")->isEnabled());
    QVERIFY(h.widget("btnOmniApply")->isEnabled());
    QVERIFY(closer.texts().isEmpty());
}

void ReadingTest_t::streamingSensor_stopIsRepeatedUntilOkAndLeftoverOksAreSkipped() {
    WindowHarness_t h;
    QVERIFY(h.emulator().setStreamRate(50));
    EmulatorFaults_t faults;
    faults.streamAtStart = true;
    h.emulator().setFaults(faults);
    QTest::qWait(300); // measurements pile up on the line before the port opens
    LogCapture_t log;
    ModalBoxCloser_t closer;
    QVERIFY(h.connectAndRead());

    const QStringList requests = h.emulator().requests();
    const int stops = requests.count(STREAM_OFF);
    QVERIFY2(stops >= 2, qPrintable(requests.join(' ')));
    // Only the repeated stops come before the normal reading, and each of their "ok"s but the first was skipped.
    QCOMPARE(requests.mid(stops), FULL_READING.mid(1));
    QCOMPARE(log.textsStartingWith(QStringLiteral("Leftover of the stream-off skipped")).size(), stops - 1);
    QVERIFY(closer.texts().isEmpty());
    QVERIFY(h.widget("btnCalibration")->isVisible());
}

void ReadingTest_t::okInStart_takesTheErrorPath() {
    WindowHarness_t h;
    ModalBoxCloser_t closer;
    h.connectButton()->click();
    // Before the port has reported open: nothing has been asked, so an acknowledgement is out of place.
    h.window().slotFromDevice(SerialDataTypeE::OK, frameOf(R"(["ok"])"));

    verifyErrorPath(h, closer);
    QTest::qWait(300);
    QVERIFY(h.emulator().requests().isEmpty());
}

void ReadingTest_t::refusalInAReadingState_takesTheErrorPath() {
    WindowHarness_t h;
    EmulatorFaults_t faults;
    faults.silentCommand = QStringLiteral("Info");
    h.emulator().setFaults(faults);
    ModalBoxCloser_t closer;
    h.connectButton()->click();
    QVERIFY(h.waitForRequest(QStringLiteral(R"(["Info"])")));

    h.window().slotFromDevice(SerialDataTypeE::ERROR, frameOf(R"(["error"])"));
    verifyErrorPath(h, closer);
    QVERIFY(h.widget<QLabel>("lblDeviceP")->text().isEmpty());
}

void ReadingTest_t::duringTheReading_actionWidgetsStayDisabled() {
    WindowHarness_t h;
    EmulatorFaults_t faults;
    faults.silentCommand = QStringLiteral("TankConfig");
    h.emulator().setFaults(faults);
    h.connectButton()->click();
    QVERIFY(h.waitForRequest(QStringLiteral(R"(["TankConfig"])")));

    // An action started now would replace the reading's state and leave the connect button disabled for good.
    QCOMPARE(h.connectButton()->text(), QStringLiteral("Чтение данных..."));
    for (QWidget* action : {h.widget("btnApplyP"), h.widget("btnSetDefaultP"), h.widget("btnOmniApply"),
                            static_cast<QWidget*>(h.propertiesDialog()->applyButton()),
                            static_cast<QWidget*>(h.testPage()->startStopButton())})
        QVERIFY2(!action->isEnabled(), qPrintable(action->objectName()));
}

void ReadingTest_t::shiftedRecordIds_nextRequestFollowsTheReplysId() {
    WindowHarness_t h;
    EmulatorFaults_t faults;
    faults.recordId = RecordIdFaultE::SHIFTED; // record 0 comes back as id 1, record 2 as id 3
    readIntoErrorPath(h, faults);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(h.emulator().requests(), (QStringList{FULL_READING.mid(0, 4) << FULL_READING.at(5)}));
}

void ReadingTest_t::recordTwoAnsweringTheFirstRequest_endsTheRecordReading() {
    WindowHarness_t h;
    ModalBoxCloser_t closer;
    h.connectButton()->click();
    QVERIFY(h.waitForRequest(QStringLiteral(R"(["TankConfig"])")));
    // From here on the emulator keeps quiet on TankConfig, and the test answers the record request itself.
    EmulatorFaults_t faults;
    faults.silentCommand = QStringLiteral("TankConfig");
    h.emulator().setFaults(faults);
    QVERIFY(h.waitForRequest(FULL_READING.at(3)));
    h.window().slotFromDevice(SerialDataTypeE::TANK_RECORD,
                              frameOf(R"(["TankConfig",{"id":2,"Shape":"Toroidal","Orientation":"Horizontal",
                                      "Height":240,"Length":240,"OuterDiameter":700,"InnerDiameter":150,"Wall":5}])"));
    QVERIFY(h.waitForButtonText(QStringLiteral("Отключить")));

    QCOMPARE(h.emulator().requests(), (QStringList{FULL_READING.mid(0, 4) << FULL_READING.last()}));
    // The one record read is the sensor's active custom tank; the toroid list holds the catalogue alone.
    QVERIFY(h.widget<QCheckBox>("cboxIsCustomP")->isChecked());
    QCOMPARE(h.widget<QSpinBox>("spboxCustomOutDiaP")->value(), 700);
    QCOMPARE(h.widget<QSpinBox>("spboxCustomHeigthP")->value(), 240);
    QCOMPARE(h.widget<QComboBox>("cboxTanksP")->count(), 13);
    QVERIFY(closer.texts().isEmpty());
}

void ReadingTest_t::recordIdOutOfRange_takesTheErrorPath() {
    WindowHarness_t h;
    EmulatorFaults_t faults;
    faults.recordId = RecordIdFaultE::OUT_OF_RANGE;
    LogCapture_t log;
    readIntoErrorPath(h, faults);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(h.emulator().requests(), FULL_READING.mid(0, 4));
    QCOMPARE(log.textsStartingWith(QStringLiteral("Tank record id out of range")).size(), 1);
}

void ReadingTest_t::silentSensor_hitsTheReplyTimeLimit() {
    WindowHarness_t h;
    h.window().setReplyTimeoutMs(300);
    EmulatorFaults_t faults;
    faults.silentCommand = QStringLiteral("Info");
    LogCapture_t log;
    readIntoErrorPath(h, faults);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(h.emulator().requests(), FULL_READING.mid(0, 2));
    const QStringList warnings = log.texts(QtWarningMsg);
    QVERIFY2(warnings.filter(QStringLiteral("No reply in time")).size() == 1, qPrintable(warnings.join('\n')));
}

QTEST_MAIN(ReadingTest_t)
#include "test_reading.moc"
