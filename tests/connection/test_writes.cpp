// The calibration reset is the one request that awaits no answer: it must start no reply time limit, so the late
// (or missing) "ok" never closes a healthy connection. The write sequences themselves are proven in tests/writes.

#include "modalboxcloser.h"
#include "windowharness.h"

#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

using nlohmann::json;

class WritesTest_t : public QObject {
    Q_OBJECT

private slots:
    void calibrationReset_awaitsNoAnswerAndStartsNoTimeLimit();
};

void WritesTest_t::calibrationReset_awaitsNoAnswerAndStartsNoTimeLimit() {
    WindowHarness_t h;
    QVERIFY(h.loadState(0, {{"Calibration", {{"Empty", 120}, {"Full", 80}}}}));
    h.window().setReplyTimeoutMs(200);
    ModalBoxCloser_t closer;
    QVERIFY(h.connectAndRead());
    closer.answerNextWith(QMessageBox::Ok);
    h.widget<QPushButton>("btnSetDefaultP")->click();
    QVERIFY(h.waitForRequest(QStringLiteral(R"(["Calibration",{"Reset":true}])")));

    QTest::qWait(600); // well past the time limit
    QCOMPARE(closer.texts(), QStringList{QStringLiteral("Сбросить калибровку?\nВсе данные калибровки будут удалены!")});
    QCOMPARE(h.emulator().stateJson()["Calibration"], (json{{"Empty", 0}, {"Full", 0}}));
    QCOMPARE(h.connectButton()->text(), QStringLiteral("Отключить"));
    QVERIFY(h.widget("btnApplyP")->isEnabled());
}

QTEST_MAIN(WritesTest_t)
#include "test_writes.moc"
