// One pass through each write sequence of the window against the emulated sensor, checked in what the sensor
// stored, plus the window's own guards around them: a tank apply that keeps the window's copy of record 2 current,
// an apply without a list entry, and a calibration reset that awaits no answer.

#include "calibrationdialog.h"
#include "modalboxcloser.h"
#include "propertiesdialog.h"
#include "windowharness.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

using nlohmann::json;

namespace {

const QString SAVED = QStringLiteral("Настройки успешно сохранены!");
const QString SAVED_RESTART = QStringLiteral("Настройки успешно сохранены! \nДля применения перезагрузите устройство.");

json record(int id, const char* shape, const char* orientation, int size, int outer, int inner, int wall) {
    return {{"id", id},       {"Shape", shape},         {"Orientation", orientation}, {"Height", size},
            {"Length", size}, {"OuterDiameter", outer}, {"InnerDiameter", inner},     {"Wall", wall}};
}

void chooseTank(WindowHarness_t& h, const QString& text) {
    auto* tanks = h.widget<QComboBox>("cboxTanksP");
    const int index = tanks->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    tanks->setCurrentIndex(index);
}

QSpinBox* wallBox(WindowHarness_t& h) {
    return h.propertiesDialog()->findChild<QSpinBox*>();
}

} // namespace

class WritesTest_t : public QObject {
    Q_OBJECT

private slots:
    void tankApply_standardToroidIsWrittenToRecordTwoAndActivated();
    void propertiesApply_writesMixtureLiquidAndWall();
    void rs485Apply_writesTheTabsSettings();
    void emptyCalibration_isStoredAndAnnounced();
    void tankApplyThenPropertiesApply_keepsTheNewTank();
    void tankApplyWithoutListEntry_sendsNothingAndTellsTheUser();
    void calibrationReset_awaitsNoAnswerAndStartsNoTimeLimit();
};

void WritesTest_t::tankApply_standardToroidIsWrittenToRecordTwoAndActivated() {
    WindowHarness_t h;
    ModalBoxCloser_t closer;
    QVERIFY(h.connectAndRead());
    h.widget<QRadioButton>("rbuttToroidP")->click();
    chooseTank(h, QStringLiteral("630x250 60L"));
    h.widget<QPushButton>("btnApplyP")->click();

    QVERIFY(closer.waitForCount(1));
    QCOMPARE(closer.texts(), QStringList{SAVED});
    const json state = h.emulator().stateJson();
    QCOMPARE(state["Records"][2], record(2, "Toroidal", "Horizontal", 250, 630, 172, 3));
    QCOMPARE(state["TankConfig"]["Active"], json(2));
    QVERIFY(h.widget("btnApplyP")->isEnabled());
}

void WritesTest_t::propertiesApply_writesMixtureLiquidAndWall() {
    WindowHarness_t h;
    ModalBoxCloser_t closer;
    QVERIFY(h.connectAndRead());
    const json before = h.emulator().stateJson();
    h.propertiesDialog()->setMixture(95);
    wallBox(h)->setValue(5);
    h.propertiesDialog()->applyButton()->click();

    QVERIFY(closer.waitForCount(1));
    QCOMPARE(closer.texts(), QStringList{SAVED_RESTART});
    const json state = h.emulator().stateJson();
    QCOMPARE(state["TankConfig"],
             (json{{"Mixture", 95}, {"Liquid", "Propane"}, {"Active", before["TankConfig"]["Active"]}}));
    json expected = before["Records"][2];
    expected["Wall"] = 5;
    QCOMPARE(state["Records"][2], expected);
}

void WritesTest_t::rs485Apply_writesTheTabsSettings() {
    WindowHarness_t h;
    ModalBoxCloser_t closer;
    QVERIFY(h.connectAndRead());
    h.widget<QSpinBox>("spboxOmniAddr")->setValue(42);
    h.widget<QComboBox>("cboxOmniUnits")->setCurrentIndex(2);
    auto* txMode = h.widget<QCheckBox>("cboxOmniTxMode");
    QVERIFY(!txMode->isChecked());
    txMode->click();
    QVERIFY(h.widget("spboxOmniTxPeriod")->isEnabled());
    h.widget<QSpinBox>("spboxOmniTxPeriod")->setValue(12);
    h.widget<QPushButton>("btnOmniApply")->click();
    QVERIFY(!h.widget("btnOmniApply")->isEnabled());

    QVERIFY(closer.waitForCount(1));
    QCOMPARE(closer.texts(), QStringList{SAVED});
    QCOMPARE(h.emulator().stateJson()["OmnicommConfig"],
             (json{{"Address", 42}, {"TxMode", true}, {"Units", "percent"}, {"TxPeriodSec", 12}}));
    QVERIFY(h.widget("btnOmniApply")->isEnabled());
}

void WritesTest_t::emptyCalibration_isStoredAndAnnounced() {
    WindowHarness_t h;
    ModalBoxCloser_t closer;
    QVERIFY(h.connectAndRead());
    h.calibrationDialog()->emptyButton()->click();
    QVERIFY(!h.calibrationDialog()->fullButton()->isEnabled());

    QVERIFY(closer.waitForCount(1));
    const int stored = h.emulator().stateJson()["Calibration"]["Empty"].get<int>();
    QCOMPARE(closer.texts(), QStringList{QStringLiteral("Зачение \"пустой\": ") + calibrationValueText(stored)});
    QCOMPARE(h.emulator().requests().mid(7),
             (QStringList{QStringLiteral(R"(["Calibration",{"Percent":0}])"), QStringLiteral(R"(["Calibration"])")}));
    QVERIFY(h.calibrationDialog()->fullButton()->isEnabled());
}

void WritesTest_t::tankApplyThenPropertiesApply_keepsTheNewTank() {
    WindowHarness_t h;
    QVERIFY(h.loadState(0, {{"TankConfig", {{"Mixture", 70}, {"Liquid", "Mix"}, {"Active", 0}}}}));
    ModalBoxCloser_t closer;
    QVERIFY(h.connectAndRead());
    h.widget<QRadioButton>("rbuttToroidP")->click();
    chooseTank(h, QStringLiteral("720x240 83L"));
    h.widget<QPushButton>("btnApplyP")->click();
    QVERIFY(closer.waitForCount(1));

    wallBox(h)->setValue(7);
    h.propertiesDialog()->applyButton()->click();
    QVERIFY(closer.waitForCount(2));
    QCOMPARE(closer.texts(), (QStringList{SAVED, SAVED_RESTART}));
    const json state = h.emulator().stateJson();
    // The properties write names the record the tank apply activated, and rewrites that tank with the new wall.
    QCOMPARE(state["TankConfig"]["Active"], json(2));
    QCOMPARE(state["Records"][2], record(2, "Toroidal", "Horizontal", 240, 720, 172, 7));
}

void WritesTest_t::tankApplyWithoutListEntry_sendsNothingAndTellsTheUser() {
    WindowHarness_t h;
    ModalBoxCloser_t closer;
    QVERIFY(h.connectAndRead());
    h.widget<QComboBox>("cboxTanksP")->clear();
    h.widget<QPushButton>("btnApplyP")->click();

    QCOMPARE(closer.texts(), QStringList{QStringLiteral("Выберите бак из списка.")});
    QTest::qWait(300);
    QCOMPARE(h.emulator().requests().size(), 7);
    QVERIFY(h.widget("btnApplyP")->isEnabled());
    QCOMPARE(h.connectButton()->text(), QStringLiteral("Отключить"));

    // The window is idle again: the next apply goes through.
    h.widget<QRadioButton>("rbuttToroidP")->click();
    chooseTank(h, QStringLiteral("630x250 60L"));
    h.widget<QPushButton>("btnApplyP")->click();
    QVERIFY(closer.waitForCount(2));
    QCOMPARE(closer.texts().last(), SAVED);
}

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
