// The sensor refusing the window's writes: a refused tank record is the user's input error and keeps the connection;
// an error reply anywhere else in a write sequence closes the connection and says so.

#include "calibrationdialog.h"
#include "modalboxcloser.h"
#include "propertiesdialog.h"
#include "writeflow.h"

#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

using nlohmann::json;
using namespace WriteFlow;

namespace {

// The user actions whose error replies are checked.
enum class ActionE { STANDARD_TANK, SENSOR_RECORD_ONE, PROPERTIES, EMPTY_CALIBRATION, FULL_CALIBRATION };

// The tank record writes, whatever their values: their keys sort "Height" first.
const QString RECORD_WRITE_PREFIX = QStringLiteral(R"(["TankConfig",{"Height")");

void refuse(WindowHarness_t& h, const QString& prefix) {
    EmulatorFaults_t faults;
    faults.overridePrefix = prefix;
    h.emulator().setFaults(faults);
}

void start(WindowHarness_t& h, ActionE action) {
    switch (action) {
    case ActionE::STANDARD_TANK:
        showTankKind(h, TankKindE::Toroid, false);
        QVERIFY(chooseTank(h, QStringLiteral("630x250 60L")));
        h.widget<QPushButton>("btnApplyP")->click();
        return;
    case ActionE::SENSOR_RECORD_ONE: // the emulator's record 1 is the toroid 630x250
        showTankKind(h, TankKindE::Toroid, false);
        QVERIFY(chooseTank(h, QStringLiteral("630x250")));
        h.widget<QPushButton>("btnApplyP")->click();
        return;
    case ActionE::PROPERTIES:
        h.propertiesDialog()->applyButton()->click();
        return;
    case ActionE::EMPTY_CALIBRATION:
        h.calibrationDialog()->emptyButton()->click();
        return;
    case ActionE::FULL_CALIBRATION:
        h.calibrationDialog()->fullButton()->click();
        return;
    }
}

// Every action widget of the window's connection, on or off together.
QList<QWidget*> actionWidgets(WindowHarness_t& h) {
    return {h.widget("btnApplyP"),
            h.widget("btnSetDefaultP"),
            h.widget("btnOmniApply"),
            h.propertiesDialog()->applyButton(),
            h.calibrationDialog()->emptyButton(),
            h.calibrationDialog()->fullButton()};
}

} // namespace

Q_DECLARE_METATYPE(ActionE)

class RefusalsTest_t : public QObject {
    Q_OBJECT

private slots:
    void refusedTankRecord_tellsTheUserAndKeepsTheConnection_data();
    void refusedTankRecord_tellsTheUserAndKeepsTheConnection();
    void errorReplyInAWriteSequence_closesTheConnection_data();
    void errorReplyInAWriteSequence_closesTheConnection();
};

void RefusalsTest_t::refusedTankRecord_tellsTheUserAndKeepsTheConnection_data() {
    QTest::addColumn<bool>("custom");
    QTest::newRow("standard tank") << false;
    QTest::newRow("custom tank") << true;
}

void RefusalsTest_t::refusedTankRecord_tellsTheUserAndKeepsTheConnection() {
    QFETCH(bool, custom);
    WindowHarness_t h;
    ModalBoxCloser_t closer;
    Session_t session(h);
    QVERIFY(session.connectAndRead());
    const json before = h.emulator().stateJson();
    refuse(h, RECORD_WRITE_PREFIX);

    showTankKind(h, TankKindE::CylinderV, custom);
    if (!custom)
        QVERIFY(chooseTank(h, QStringLiteral("300x1000 65L")));
    h.widget<QPushButton>("btnApplyP")->click();
    QVERIFY(closer.waitForCount(1));
    QCOMPARE(closer.texts(), QStringList{INPUT_REFUSED});
    QTest::qWait(300); // an activation would have gone out by now
    QCOMPARE(session.requestsSinceReading().size(), 1);
    QVERIFY(session.requestsSinceReading().first().startsWith(RECORD_WRITE_PREFIX));
    QCOMPARE(h.emulator().stateJson(), before);
    for (QWidget* control : actionWidgets(h))
        QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));
    QCOMPARE(h.connectButton()->text(), QStringLiteral("Отключить"));

    // Still connected, and the refused tank is not the window's record 2: a properties apply rewrites the one the
    // sensor holds.
    refuse(h, QString());
    wallBox(h)->setValue(9);
    h.propertiesDialog()->applyButton()->click();
    QVERIFY(closer.waitForCount(2));
    QCOMPARE(closer.texts().last(), SAVED_RESTART);
    json expected = before["Records"][2];
    expected["Wall"] = 9;
    QCOMPARE(h.emulator().stateJson()["Records"][2], expected);
    QCOMPARE(h.emulator().stateJson()["TankConfig"]["Active"], before["TankConfig"]["Active"]);
}

void RefusalsTest_t::errorReplyInAWriteSequence_closesTheConnection_data() {
    QTest::addColumn<ActionE>("action");
    QTest::addColumn<QString>("refused");  // prefix of the request answered with an error
    QTest::addColumn<int>("requestsSent"); // by the sequence, the refused one included

    QTest::newRow("activation after a record write") << ActionE::STANDARD_TANK << activation(2) << 2;
    QTest::newRow("activation of sensor record 1") << ActionE::SENSOR_RECORD_ONE << activation(1) << 1;
    QTest::newRow("mixture write of a properties apply")
        << ActionE::PROPERTIES << QStringLiteral(R"(["TankConfig",{"Active":2,"Liquid")") << 1;
    QTest::newRow("record write of a properties apply") << ActionE::PROPERTIES << RECORD_WRITE_PREFIX << 2;
    QTest::newRow("empty-point calibration")
        << ActionE::EMPTY_CALIBRATION << QStringLiteral(R"(["Calibration",{"Percent":0}])") << 1;
    QTest::newRow("read back after the full-point calibration")
        << ActionE::FULL_CALIBRATION << QStringLiteral(R"(["Calibration"])") << 2;
}

void RefusalsTest_t::errorReplyInAWriteSequence_closesTheConnection() {
    QFETCH(ActionE, action);
    QFETCH(QString, refused);
    QFETCH(int, requestsSent);
    WindowHarness_t h;
    ModalBoxCloser_t closer;
    Session_t session(h);
    QVERIFY(session.connectAndRead());
    refuse(h, refused);

    start(h, action);
    QVERIFY(closer.waitForCount(1));
    QCOMPARE(closer.texts(), QStringList{FSM_FAILED});
    QCOMPARE(session.requestsSinceReading().size(), requestsSent);
    QVERIFY(session.requestsSinceReading().last().startsWith(refused));
    // Back at the port list, the sensor's controls off until the next reading.
    QCOMPARE(h.connectButton()->text(), QStringLiteral("Подключить"));
    QVERIFY(h.widget<QComboBox>("cboxSerialListP")->isEnabled());
    for (QWidget* control : actionWidgets(h))
        QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
    QVERIFY(h.widget("btnCalibration")->isHidden());
    QTest::qWait(300);
    QCOMPARE(closer.texts().size(), 1);
}

QTEST_MAIN(RefusalsTest_t)
#include "test_refusals.moc"
