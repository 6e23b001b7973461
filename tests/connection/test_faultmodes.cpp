// One whole connect against each misbehaviour the emulated sensor can show, and what the user is left with:
// a read sensor, the error message with the port list back, or the connection help once the sensor is gone.

#include "modalboxcloser.h"
#include "windowharness.h"

#include <QPushButton>
#include <QtTest>

namespace {

enum class OutcomeE { READ, ERROR_MESSAGE, GONE };

} // namespace

Q_DECLARE_METATYPE(EmulatorFaults_t)
Q_DECLARE_METATYPE(OutcomeE)

class FaultModesTest_t : public QObject {
    Q_OBJECT

private slots:
    void wholeConnect_data();
    void wholeConnect();
};

void FaultModesTest_t::wholeConnect_data() {
    QTest::addColumn<EmulatorFaults_t>("faults");
    QTest::addColumn<OutcomeE>("outcome");
    const EmulatorFaults_t none;
    EmulatorFaults_t f;

    f = none;
    f.streamAtStart = true;
    QTest::newRow("stream running at start") << f << OutcomeE::READ;
    f = none;
    f.corruptEveryNth = 3; // the TankConfig reply is dropped by the link
    QTest::newRow("every 3rd checksum broken") << f << OutcomeE::ERROR_MESSAGE;
    f = none;
    f.splitPieces = 4;
    QTest::newRow("replies split into 4 writes") << f << OutcomeE::READ;
    f = none;
    f.coalesce = true;
    QTest::newRow("replies coalesced in pairs") << f << OutcomeE::READ;
    f = none;
    f.silentCommand = QStringLiteral("OmnicommConfig");
    QTest::newRow("silent on OmnicommConfig") << f << OutcomeE::ERROR_MESSAGE;
    f = none;
    f.recordId = RecordIdFaultE::SHIFTED;
    QTest::newRow("record ids shifted") << f << OutcomeE::ERROR_MESSAGE;
    f = none;
    f.recordId = RecordIdFaultE::OUT_OF_RANGE;
    QTest::newRow("record ids out of range") << f << OutcomeE::ERROR_MESSAGE;
    f = none;
    f.garbage = QByteArray::fromHex("55aa00"); // ends in a delimiter: an item of its own, dropped by the link
    QTest::newRow("delimited garbage before replies") << f << OutcomeE::READ;
    f = none;
    f.garbage = QByteArray::fromHex("55aa"); // glued to each frame, which no longer decodes
    QTest::newRow("undelimited garbage before replies") << f << OutcomeE::ERROR_MESSAGE;
    f = none;
    f.dropAfter = 3;
    QTest::newRow("line drops during the reading") << f << OutcomeE::GONE;
    f = none;
    f.replyDelayMs = 300;
    QTest::newRow("replies delayed 300 ms") << f << OutcomeE::READ;
}

void FaultModesTest_t::wholeConnect() {
    QFETCH(EmulatorFaults_t, faults);
    QFETCH(OutcomeE, outcome);
    WindowHarness_t h;
    h.window().setReplyTimeoutMs(1500);
    h.emulator().setFaults(faults);
    ModalBoxCloser_t closer;
    h.connectButton()->click();

    switch (outcome) {
    case OutcomeE::READ:
        QVERIFY(h.waitForButtonText(QStringLiteral("Отключить")));
        QVERIFY(closer.texts().isEmpty());
        QVERIFY(h.widget("btnCalibration")->isVisible());
        break;
    case OutcomeE::ERROR_MESSAGE:
        QVERIFY(closer.waitForCount(1, 10000));
        QCOMPARE(closer.texts(), QStringList{QStringLiteral("Произошла ошибка, перезагрузите устройство!")});
        QCOMPARE(h.connectButton()->text(), QStringLiteral("Подключить"));
        break;
    case OutcomeE::GONE:
        QVERIFY(h.waitForButtonText(QStringLiteral("Диагностика")));
        QVERIFY(closer.texts().isEmpty());
        break;
    }
}

QTEST_MAIN(FaultModesTest_t)
#include "test_faultmodes.moc"
