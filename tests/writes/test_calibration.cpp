// Calibration against the emulated sensor: each point stored by the sensor and read back into the dialog's label and
// the message, both calibration buttons off while an exchange runs, and the confirmed reset that awaits no answer.

#include "calibrationdialog.h"
#include "logcapture.h"
#include "modalboxcloser.h"
#include "writeflow.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

using nlohmann::json;
using namespace WriteFlow;

namespace {

const QString CONFIRM_RESET = QStringLiteral("Сбросить калибровку?\nВсе данные калибровки будут удалены!");
const QString RESET_REQUEST = QStringLiteral(R"(["Calibration",{"Reset":true}])");
const QString READ_REQUEST = QStringLiteral(R"(["Calibration"])");

QString calibrateRequest(int percent) {
    return requestText(json::array({"Calibration", {{"Percent", percent}}}));
}

QString emptyLabel(WindowHarness_t& h) {
    return h.calibrationDialog()->findChild<QLabel*>(QStringLiteral("lblEmptyValueP"))->text();
}

QString fullLabel(WindowHarness_t& h) {
    return h.calibrationDialog()->findChild<QLabel*>(QStringLiteral("lblFullValueP"))->text();
}

} // namespace

class CalibrationTest_t : public QObject {
    Q_OBJECT

private slots:
    void emptyThenFull_eachStoredAndShownWithTheSensorsValue();
    void sensorReportsValue_labelAndMessageShowIt_data();
    void sensorReportsValue_labelAndMessageShowIt();
    void calibrationRunning_bothButtonsOffAndSecondPressSendsNothing_data();
    void calibrationRunning_bothButtonsOffAndSecondPressSendsNothing();
    void resetCancelled_sendsNothing_data();
    void resetCancelled_sendsNothing();
    void resetConfirmed_sendsResetAndTheLateOkIsOnlyLogged();
};

void CalibrationTest_t::emptyThenFull_eachStoredAndShownWithTheSensorsValue() {
    WindowHarness_t h;
    ModalBoxCloser_t closer;
    Session_t session(h);
    QVERIFY(session.connectAndRead());
    QCOMPARE(h.emulator().stateJson()["Calibration"], (json{{"Empty", 0}, {"Full", 0}}));

    h.calibrationDialog()->emptyButton()->click();
    QVERIFY(closer.waitForCount(1));
    const int empty = h.emulator().stateJson()["Calibration"]["Empty"].get<int>();
    QVERIFY(empty != 0);
    QCOMPARE(closer.texts(), QStringList{QStringLiteral("Зачение \"пустой\": %1").arg(empty)});
    QCOMPARE(emptyLabel(h), QStringLiteral("Значение \"Пустой\": %1").arg(empty));
    QCOMPARE(fullLabel(h), QString());
    QCOMPARE(session.requestsSinceReading(), (QStringList{calibrateRequest(0), READ_REQUEST}));

    h.calibrationDialog()->fullButton()->click();
    QVERIFY(closer.waitForCount(2));
    const json stored = h.emulator().stateJson()["Calibration"];
    const int full = stored["Full"].get<int>();
    QVERIFY(full != 0);
    QCOMPARE(stored["Empty"], json(empty));
    QCOMPARE(closer.texts().last(), QStringLiteral("Зачение \"полный\": %1").arg(full));
    QCOMPARE(fullLabel(h), QStringLiteral("Значение \"Полный\": %1").arg(full));
    QCOMPARE(emptyLabel(h), QStringLiteral("Значение \"Пустой\": %1").arg(empty));
    QCOMPARE(session.requestsSinceReading().mid(2), (QStringList{calibrateRequest(100), READ_REQUEST}));
    QVERIFY(h.calibrationDialog()->emptyButton()->isEnabled());
    QVERIFY(h.widget("btnOmniApply")->isEnabled());
}

void CalibrationTest_t::sensorReportsValue_labelAndMessageShowIt_data() {
    QTest::addColumn<bool>("emptyPoint");
    QTest::addColumn<json>("reply"); // the sensor's answer to the read-back
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("message");

    QTest::newRow("empty point at 0") << true << json::array({"Calibration", {{"Empty", 0}, {"Full", 350}}})
                                      << "Значение \"Пустой\": -"
                                      << "Зачение \"пустой\": -";
    QTest::newRow("full point at 0") << false << json::array({"Calibration", {{"Empty", 120}, {"Full", 0}}})
                                     << "Значение \"Полный\": -"
                                     << "Зачение \"полный\": -";
    QTest::newRow("full point negative") << false << json::array({"Calibration", {{"Empty", 120}, {"Full", -12}}})
                                         << "Значение \"Полный\": -12"
                                         << "Зачение \"полный\": -12";
    QTest::newRow("reply without values")
        << true << json::array({"Calibration", json::object()}) << "Значение \"Пустой\": -"
        << "Зачение \"пустой\": -";
}

void CalibrationTest_t::sensorReportsValue_labelAndMessageShowIt() {
    QFETCH(bool, emptyPoint);
    QFETCH(json, reply);
    QFETCH(QString, label);
    QFETCH(QString, message);
    WindowHarness_t h;
    EmulatorFaults_t faults;
    faults.overridePrefix = READ_REQUEST;
    faults.overrideReply = reply;
    h.emulator().setFaults(faults);
    ModalBoxCloser_t closer;
    QVERIFY(h.connectAndRead());

    (emptyPoint ? h.calibrationDialog()->emptyButton() : h.calibrationDialog()->fullButton())->click();
    QVERIFY(closer.waitForCount(1));
    QCOMPARE(closer.texts(), QStringList{message});
    QCOMPARE(emptyPoint ? emptyLabel(h) : fullLabel(h), label);
    QCOMPARE(emptyPoint ? fullLabel(h) : emptyLabel(h), QString());
    QCOMPARE(h.connectButton()->text(), QStringLiteral("Отключить"));
}

void CalibrationTest_t::calibrationRunning_bothButtonsOffAndSecondPressSendsNothing_data() {
    QTest::addColumn<bool>("emptyPoint");
    QTest::newRow("empty point") << true;
    QTest::newRow("full point") << false;
}

void CalibrationTest_t::calibrationRunning_bothButtonsOffAndSecondPressSendsNothing() {
    QFETCH(bool, emptyPoint);
    WindowHarness_t h;
    ModalBoxCloser_t closer;
    Session_t session(h);
    QVERIFY(session.connectAndRead());
    EmulatorFaults_t faults;
    faults.replyDelayMs = 400; // the calibrate request waits for its answer long enough to look
    h.emulator().setFaults(faults);
    QPushButton* pressed = emptyPoint ? h.calibrationDialog()->emptyButton() : h.calibrationDialog()->fullButton();
    QPushButton* other = emptyPoint ? h.calibrationDialog()->fullButton() : h.calibrationDialog()->emptyButton();

    pressed->click();
    QVERIFY(h.waitForRequest(calibrateRequest(emptyPoint ? 0 : 100)));
    QVERIFY(!pressed->isEnabled());
    QVERIFY(!other->isEnabled());
    QVERIFY(!h.widget("btnApplyP")->isEnabled());
    QVERIFY(!h.widget("btnOmniApply")->isEnabled());
    other->click();
    pressed->click();

    QVERIFY(closer.waitForCount(1));
    QCOMPARE(session.requestsSinceReading(), (QStringList{calibrateRequest(emptyPoint ? 0 : 100), READ_REQUEST}));
    QVERIFY(pressed->isEnabled());
    QVERIFY(other->isEnabled());
    QVERIFY(h.widget("btnOmniApply")->isEnabled());
}

void CalibrationTest_t::resetCancelled_sendsNothing_data() {
    QTest::addColumn<bool>("enter");
    QTest::newRow("Cancel clicked") << false;
    QTest::newRow("Enter pressed: Cancel is the default") << true;
}

void CalibrationTest_t::resetCancelled_sendsNothing() {
    QFETCH(bool, enter);
    WindowHarness_t h;
    QVERIFY(h.loadState(0, {{"Calibration", {{"Empty", 120}, {"Full", 80}}}}));
    ModalBoxCloser_t closer;
    Session_t session(h);
    QVERIFY(session.connectAndRead());
    bool okAndCancel = false;
    bool cancelIsDefault = false;
    closer.inspectEachBox([&](QWidget* widget) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        okAndCancel = box->standardButtons() == (QMessageBox::Ok | QMessageBox::Cancel);
        cancelIsDefault = box->defaultButton() == box->button(QMessageBox::Cancel);
    });
    if (enter)
        closer.pressEnterOnNext();
    else
        closer.answerNextWith(QMessageBox::Cancel);

    h.widget<QPushButton>("btnSetDefaultP")->click();
    QCOMPARE(closer.texts(), QStringList{CONFIRM_RESET});
    QVERIFY(okAndCancel);
    QVERIFY(cancelIsDefault);
    QTest::qWait(300);
    QCOMPARE(session.requestsSinceReading(), QStringList());
    QCOMPARE(h.emulator().stateJson()["Calibration"], (json{{"Empty", 120}, {"Full", 80}}));
}

void CalibrationTest_t::resetConfirmed_sendsResetAndTheLateOkIsOnlyLogged() {
    WindowHarness_t h;
    QVERIFY(h.loadState(0, {{"Calibration", {{"Empty", 120}, {"Full", 80}}}}));
    ModalBoxCloser_t closer;
    Session_t session(h);
    QVERIFY(session.connectAndRead());
    h.calibrationDialog()->setEmptyValue(120);
    LogCapture_t log;
    closer.answerNextWith(QMessageBox::Ok);

    h.widget<QPushButton>("btnSetDefaultP")->click();
    // Nothing waits for the answer: the controls stay on while it is under way.
    QVERIFY(h.widget("btnApplyP")->isEnabled());
    QVERIFY(h.calibrationDialog()->emptyButton()->isEnabled());
    QVERIFY(h.waitForRequest(RESET_REQUEST));
    QVERIFY(QTest::qWaitFor([&] { return log.textsStartingWith(QStringLiteral("IDLE")).size() == 1; }, 5000));
    QTest::qWait(300);

    QCOMPARE(h.emulator().stateJson()["Calibration"], (json{{"Empty", 0}, {"Full", 0}}));
    QCOMPARE(closer.texts(), QStringList{CONFIRM_RESET});
    const QStringList events = log.textsStartingWith(QStringLiteral("Data to FSM"));
    // The reset's own start in RESET_CALIBRATION (36), then the sensor's "ok" in IDLE (37), which only logs.
    QCOMPARE(events.size(), 2);
    QVERIFY2(events[0].endsWith(QStringLiteral(" 36")), qPrintable(events[0]));
    QVERIFY2(events[1].endsWith(QStringLiteral(" 37")), qPrintable(events[1]));
    QCOMPARE(log.textsStartingWith(QStringLiteral("IDLE")).size(), 1);
    QCOMPARE(log.texts(QtCriticalMsg), QStringList());
    QCOMPARE(emptyLabel(h), QStringLiteral("Значение \"Пустой\": 120"));
    QCOMPARE(h.connectButton()->text(), QStringLiteral("Отключить"));
    QCOMPARE(session.requestsSinceReading(), QStringList{RESET_REQUEST});
}

QTEST_MAIN(CalibrationTest_t)
#include "test_calibration.moc"
