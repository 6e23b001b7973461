// What only the window does with a connection, against the emulated sensor: the tabs after the reading, which
// controls a busy connection leaves usable, the boxes and their texts, and the state a disconnect leaves behind.

#include "calibrationdialog.h"
#include "modalboxcloser.h"
#include "propertiesdialog.h"
#include "tofwidget.h"
#include "windowharness.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

using nlohmann::json;

namespace {

const QString SAVED = QStringLiteral("Настройки успешно сохранены!");
const QString FAILED = QStringLiteral("Произошла ошибка, перезагрузите устройство!");

// Every control a disconnect must leave as at start-up: enabled state, check state and text.
QStringList controlStates(WindowHarness_t& h) {
    QStringList states;
    for (const char* name : {"btnApplyP", "btnSetDefaultP", "btnOmniApply", "spboxOmniAddr", "cboxOmniUnits",
                             "cboxOmniTxMode", "spboxOmniTxPeriod", "btnCalibration", "btnCalibrationHelp",
                             "cboxSerialListP", "btnSerialPortP", "lblDeviceP"}) {
        QWidget* w = h.widget(name);
        states << QStringLiteral("%1 enabled=%2 hidden=%3").arg(name).arg(w->isEnabled()).arg(w->isHidden());
    }
    for (QPushButton* b : {h.testPage()->startStopButton(), h.propertiesDialog()->applyButton(),
                           h.calibrationDialog()->emptyButton(), h.calibrationDialog()->fullButton()})
        states << QStringLiteral("%1 enabled=%2").arg(b->text()).arg(b->isEnabled());
    return states;
}

bool actionsEnabled(WindowHarness_t& h) {
    return h.widget("btnApplyP")->isEnabled() && h.widget("btnOmniApply")->isEnabled() &&
           h.calibrationDialog()->emptyButton()->isEnabled();
}

} // namespace

class WindowConnectionTest_t : public QObject {
    Q_OBJECT

private slots:
    void reading_fillsEveryTab();
    void actions_disableWhileBusyAndTellTheOutcome_data();
    void actions_disableWhileBusyAndTellTheOutcome();
    void disconnectDuringTheTest_leavesTheStartUpStateAndTabChangesSendNothing();
    void tabChangesWhileReading_doNotInterruptIt();
    void calibrationReset_onlyWhenConfirmed_data();
    void calibrationReset_onlyWhenConfirmed();
};

void WindowConnectionTest_t::reading_fillsEveryTab() {
    WindowHarness_t h;
    QVERIFY(h.loadState(
        0, {{"Info", {{"Name", "Velmaro LS-1"}, {"HWVer", "HW-42"}, {"FWVer", "2.0.4"}}},
            {"TankConfig", {{"Mixture", 64}, {"Liquid", "Mix"}, {"Active", 1}}},
            {"OmnicommConfig", {{"Address", 17}, {"TxMode", true}, {"Units", "litres"}, {"TxPeriodSec", 12}}}}));
    ModalBoxCloser_t closer;
    QVERIFY(h.connectAndRead());

    QCOMPARE(h.widget<QLabel>("lblDeviceP")->text(), QStringLiteral("Velmaro LS-1"));
    QCOMPARE(h.widget<QLabel>("lblDeviceIdP")->text(), QStringLiteral("HW-42"));
    QCOMPARE(h.widget<QLabel>("lblFwVersionP")->text(), QStringLiteral("2.0.4"));
    QCOMPARE(h.propertiesDialog()->mixture(), 64);
    // Record 1, the toroid 630x250, is active: it heads the toroid list, current, before the catalogue.
    auto* tanks = h.widget<QComboBox>("cboxTanksP");
    QCOMPARE(tanks->count(), 1 + 13);
    QCOMPARE(tanks->currentText(), QStringLiteral("630x250"));
    QCOMPARE(tanks->itemText(1), QStringLiteral("600x200 42L"));
    QCOMPARE(h.widget<QSpinBox>("spboxOmniAddr")->value(), 17);
    QCOMPARE(h.widget<QComboBox>("cboxOmniUnits")->currentIndex(), 1);
    QCOMPARE(h.widget<QSpinBox>("spboxOmniTxPeriod")->value(), 12);
    QVERIFY(h.widget("spboxOmniTxPeriod")->isEnabled());
    QVERIFY(h.widget("btnCalibration")->isVisible());
    QVERIFY(actionsEnabled(h));
    QVERIFY(closer.texts().isEmpty());
}

void WindowConnectionTest_t::actions_disableWhileBusyAndTellTheOutcome_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("refusedPrefix"); // requests the emulator refuses; empty: none
    QTest::addColumn<QString>("box");           // the text the box begins with
    QTest::addColumn<bool>("connected");        // afterwards

    QTest::newRow("tank") << "btnApplyP" << QString() << SAVED << true;
    QTest::newRow("tank refused") << "btnApplyP"
                                  << R"(["TankConfig",{"Height")" << QStringLiteral("Данные введены неверно!") << true;
    QTest::newRow("properties") << "properties" << QString()
                                << SAVED + QStringLiteral(" \nДля применения перезагрузите устройство.") << true;
    QTest::newRow("rs485") << "btnOmniApply" << QString() << SAVED << true;
    QTest::newRow("empty point") << "empty" << QString() << QStringLiteral("Зачение \"пустой\": ") << true;
    QTest::newRow("full point") << "full" << QString() << QStringLiteral("Зачение \"полный\": ") << true;
    QTest::newRow("rs485 refused: the error path") << "btnOmniApply"
                                                   << R"(["OmnicommConfig",)" << FAILED << false;
}

void WindowConnectionTest_t::actions_disableWhileBusyAndTellTheOutcome() {
    QFETCH(QString, button);
    QFETCH(QString, refusedPrefix);
    QFETCH(QString, box);
    QFETCH(bool, connected);

    WindowHarness_t h;
    EmulatorFaults_t faults;
    faults.overridePrefix = refusedPrefix;
    faults.replyDelayMs = 100; // long enough to look at the controls while the sequence runs
    h.emulator().setFaults(faults);
    QVERIFY(h.connectAndRead());
    ModalBoxCloser_t closer;
    QPushButton* control = button == "properties" ? h.propertiesDialog()->applyButton()
                           : button == "empty"    ? h.calibrationDialog()->emptyButton()
                           : button == "full"     ? h.calibrationDialog()->fullButton()
                                                  : h.widget<QPushButton>(button.toLatin1().constData());
    control->click();
    QVERIFY(!h.widget("btnApplyP")->isEnabled());
    QVERIFY(!h.widget("btnOmniApply")->isEnabled());

    QVERIFY(closer.waitForCount(1));
    QVERIFY2(closer.texts().first().startsWith(box), qPrintable(closer.texts().first()));
    QCOMPARE(actionsEnabled(h), connected);
    QCOMPARE(h.connectButton()->text(), connected ? QStringLiteral("Отключить") : QStringLiteral("Подключить"));
    // A calibration box ends in the value the sensor stored.
    const json stored = h.emulator().stateJson()["Calibration"];
    if (button == "empty" || button == "full")
        QVERIFY(
            closer.texts().first().endsWith(QString::number(stored[button == "empty" ? "Empty" : "Full"].get<int>())));
}

void WindowConnectionTest_t::disconnectDuringTheTest_leavesTheStartUpStateAndTabChangesSendNothing() {
    WindowHarness_t h;
    const QStringList startUp = controlStates(h);
    QVERIFY(h.connectAndRead());
    h.widget<QTabWidget>("tabWidgetP")->setCurrentWidget(h.testPage());
    h.testPage()->startStopButton()->click();
    QVERIFY(h.waitForRequest(R"(["Installation",{"on":1}])"));
    QTRY_VERIFY(h.testPage()->startStopButton()->isEnabled());
    QCOMPARE(h.testPage()->startStopButton()->text(), QStringLiteral("Завершить тест"));

    h.connectButton()->click(); // "Отключить"
    QCOMPARE(controlStates(h), startUp);
    const int asked = h.emulator().requests().size();
    ModalBoxCloser_t closer;
    for (int tab : {0, 1, 2, 1})
        h.widget<QTabWidget>("tabWidgetP")->setCurrentIndex(tab);
    QTest::qWait(300);
    QCOMPARE(h.emulator().requests().size(), asked);
    QVERIFY(closer.texts().isEmpty());
}

void WindowConnectionTest_t::tabChangesWhileReading_doNotInterruptIt() {
    WindowHarness_t h;
    EmulatorFaults_t faults;
    faults.replyDelayMs = 50;
    h.emulator().setFaults(faults);
    ModalBoxCloser_t closer;
    h.connectButton()->click();
    for (int tab : {1, 0, 1, 2, 3, 1}) {
        QTest::qWait(60);
        h.widget<QTabWidget>("tabWidgetP")->setCurrentIndex(tab);
    }
    QVERIFY(h.waitForButtonText(QStringLiteral("Отключить")));
    QCOMPARE(h.emulator().requests().size(), 7);
    QVERIFY(closer.texts().isEmpty());
}

void WindowConnectionTest_t::calibrationReset_onlyWhenConfirmed_data() {
    QTest::addColumn<bool>("confirm");
    QTest::newRow("cancel") << false;
    QTest::newRow("ok") << true;
}

void WindowConnectionTest_t::calibrationReset_onlyWhenConfirmed() {
    QFETCH(bool, confirm);
    WindowHarness_t h;
    QVERIFY(h.connectAndRead());
    ModalBoxCloser_t closer;
    closer.answerNextWith(confirm ? QMessageBox::Ok : QMessageBox::Cancel);
    h.widget<QPushButton>("btnSetDefaultP")->click();
    QTest::qWait(300);
    QCOMPARE(closer.texts(), QStringList{QStringLiteral("Сбросить калибровку?\nВсе данные калибровки будут удалены!")});
    QCOMPARE(h.emulator().requests().size(), confirm ? 8 : 7);
    QTRY_VERIFY(actionsEnabled(h));
}

QTEST_MAIN(WindowConnectionTest_t)
#include "test_connection.moc"
