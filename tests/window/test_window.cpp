// What only the window does with sensors, through the real window against emulated ones: the port box and the
// connect button, which controls the link and a busy connection leave usable, the boxes that tell the outcome, and
// the profile flow. The conversation itself is proven by the connection's own tests.

#include "calibrationdialog.h"
#include "diagnosticdialog.h"
#include "logcapture.h"
#include "modalboxcloser.h"
#include "pdftext.h"
#include "propertiesdialog.h"
#include "reportdialog.h"
#include "windowharness.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <qcustomplot.h>

using nlohmann::json;

namespace {

// The controls that need an idle link, the test page's and the dialogs' included: how many there are, and how many
// of them are enabled.
constexpr int LINK_CONTROLS = 10;

int enabledLinkControls(WindowHarness_t& h) {
    QList<QWidget*> controls = {h.testPage()->startStopButton(), h.dialog<PropertiesDialog_t>()->applyButton(),
                                h.dialog<CalibrationDialog_t>()->emptyButton()};
    for (const char* name : {"btnApplyP", "btnSetDefaultP", "btnSaveProfileP", "btnOmniApply", "spboxOmniAddr",
                             "cboxOmniUnits", "cboxOmniTxMode"})
        controls << h.widget(name);
    return static_cast<int>(std::count_if(controls.begin(), controls.end(), [](QWidget* w) { return w->isEnabled(); }));
}

} // namespace

class WindowTest_t : public QObject {
    Q_OBJECT

private slots:
    void connectDisconnectReconnectUnplug_controlsFollowTheLink();
    void actions_disableTheControlsWhileBusyAndTellTheOutcome();
    void profile_savedFromOneSensorIsWrittenIntoAnother();
    void liveTest_stopsWhenItsTabIsLeftWhileTheStreamOnAwaitsItsAnswer();
};

void WindowTest_t::connectDisconnectReconnectUnplug_controlsFollowTheLink() {
    WindowHarness_t h;
    ModalBoxCloser_t closer;
    QCOMPARE(enabledLinkControls(h), 0);
    LogCapture_t log;
    // While the port opens and while the reading runs, the button is disabled and the slot refuses as well.
    h.connectButton()->click();
    QCOMPARE(h.connectButton()->text(), QStringLiteral("Подключение..."));
    h.window().slotBtnSerialPort_clicked();
    QVERIFY(h.waitForButtonText(QStringLiteral("Чтение данных...")));
    QVERIFY(!h.connectButton()->isEnabled());
    h.window().slotBtnSerialPort_clicked();
    QVERIFY(h.waitForButtonText(QStringLiteral("Отключить")));
    QCOMPARE(enabledLinkControls(h), LINK_CONTROLS);
    QVERIFY(h.widget("btnCalibration")->isVisible() && !h.widget("cboxSerialListP")->isEnabled());
    const QStringList reading = h.emulator().requests();
    const int tanks = h.widget<QComboBox>("cboxTanksP")->count();

    // Disconnected during the test: every control as at start-up, and changing tabs sends nothing.
    h.widget<QTabWidget>("tabWidgetP")->setCurrentWidget(h.testPage());
    h.testPage()->startStopButton()->click();
    QTRY_VERIFY(h.testPage()->startStopButton()->isEnabled());
    QCOMPARE(h.testPage()->startStopButton()->text(), QStringLiteral("Завершить тест"));
    h.connectButton()->click();
    QCOMPARE(h.connectButton()->text(), QStringLiteral("Подключить"));
    QCOMPARE(enabledLinkControls(h), 0);
    QCOMPARE(h.testPage()->startStopButton()->text(), QStringLiteral("Начать тест"));
    const int asked = h.emulator().requests().size();
    for (int tab : {0, 1, 2, 1})
        h.widget<QTabWidget>("tabWidgetP")->setCurrentIndex(tab);
    QTest::qWait(300);
    QCOMPARE(h.emulator().requests().size(), asked);

    // Connected again: everything is read anew, and the tank list is rebuilt, not added to.
    QVERIFY(h.connectAndRead());
    QCOMPARE(h.emulator().requests().mid(asked), reading);
    QCOMPARE(h.widget<QComboBox>("cboxTanksP")->count(), tanks);
    QCOMPARE(enabledLinkControls(h), LINK_CONTROLS);
    QCOMPARE(log.texts(QtCriticalMsg), (QStringList{"Can't press!", "Can't press!"}));

    // Unplugged during the test, after its "ok" and two measurements: the port leaves the list after a few reports.
    EmulatorFaults_t faults;
    faults.dropAfter = h.emulator().requests().size() + h.emulator().streamed().size() + 3;
    h.emulator().setFaults(faults);
    log.clear();
    h.testPage()->startStopButton()->click();
    QVERIFY(h.waitForButtonText(QStringLiteral("Диагностика")));
    QCOMPARE(h.widget<QComboBox>("cboxSerialListP")->count(), 0);
    QCOMPARE(enabledLinkControls(h), 0);
    QTest::qWait(500);
    const QStringList errorReports = log.textsStartingWith(QStringLiteral("QSerialPort::"));
    QVERIFY2(!errorReports.isEmpty() && errorReports.size() <= 3, qPrintable(errorReports.join(' ')));
    QVERIFY(closer.texts().isEmpty());
    // With no sensor left, the button offers the connection help.
    h.connectButton()->click();
    QVERIFY(h.dialog<DiagnosticDialog_t>()->isVisible());
    h.dialog<DiagnosticDialog_t>()->hide();
}

void WindowTest_t::actions_disableTheControlsWhileBusyAndTellTheOutcome() {
    WindowHarness_t h;
    const json omnicomm = {{"Address", 17}, {"TxMode", true}, {"Units", "litres"}, {"TxPeriodSec", 12}};
    QVERIFY(h.loadState(
        0, {{"TankConfig", {{"Mixture", 64}, {"Liquid", "Mix"}, {"Active", 1}}}, {"OmnicommConfig", omnicomm}}));
    QVERIFY(h.connectAndRead());
    const std::string name = h.emulator().stateJson()["Info"]["Name"];
    QCOMPARE(h.widget<QLabel>("lblDeviceP")->text(), QString::fromStdString(name));
    QCOMPARE(h.dialog<PropertiesDialog_t>()->mixture(), 64);
    // Record 1, the toroid 630x250, is the active one: applied as it is, it is activated again.
    QCOMPARE(h.widget<QComboBox>("cboxTanksP")->currentText(), QStringLiteral("630x250"));

    ModalBoxCloser_t closer;
    const QString saved = QStringLiteral("Настройки успешно сохранены!");
    const std::vector<std::pair<QPushButton*, QString>> actions = {
        {h.widget<QPushButton>("btnApplyP"), saved},
        {h.dialog<PropertiesDialog_t>()->applyButton(), saved + " \nДля применения перезагрузите устройство."},
        {h.widget<QPushButton>("btnOmniApply"), saved},
        {h.dialog<CalibrationDialog_t>()->fullButton(), QStringLiteral("Значение \"полный\": ")},
        {h.dialog<CalibrationDialog_t>()->emptyButton(), QStringLiteral("Значение \"пустой\": ")}};
    for (const auto& [button, box] : actions) {
        const int boxes = closer.texts().size();
        button->click();
        QCOMPARE(enabledLinkControls(h), 0);
        QVERIFY(closer.waitForCount(boxes + 1));
        QVERIFY2(closer.texts().last().startsWith(box), qPrintable(closer.texts().last()));
        QCOMPARE(enabledLinkControls(h), LINK_CONTROLS);
    }
    // The RS485 tab wrote back what it was filled with; the calibration box ends in the value the sensor stored.
    const json stored = h.emulator().stateJson();
    QCOMPARE(stored["OmnicommConfig"], omnicomm);
    QVERIFY(closer.texts().last().endsWith(QString::number(stored["Calibration"]["Empty"].get<int>())));
    QVERIFY(h.dialog<CalibrationDialog_t>()
                ->findChild<QLabel*>("lblEmptyValueP")
                ->text()
                .endsWith(QString::number(stored["Calibration"]["Empty"].get<int>())));

    // A calibration reset is sent only when the user confirms it.
    const int asked = h.emulator().requests().size();
    for (QMessageBox::StandardButton answer : {QMessageBox::Cancel, QMessageBox::Ok}) {
        closer.answerNextWith(answer);
        h.widget<QPushButton>("btnSetDefaultP")->click();
        QTRY_VERIFY(closer.texts().last().startsWith(QStringLiteral("Сбросить калибровку?")));
        QTest::qWait(300);
    }
    QCOMPARE(h.emulator().requests().size(), asked + 1);
    QCOMPARE(enabledLinkControls(h), LINK_CONTROLS);

    // "Отключить" while a write awaits its answer asks first; going on with the write, the user sees it end.
    EmulatorFaults_t slow;
    slow.replyDelayMs = 600;
    h.emulator().setFaults(slow);
    h.widget<QPushButton>("btnOmniApply")->click();
    h.connectButton()->click();
    QVERIFY(closer.waitForCount(actions.size() + 4));
    QVERIFY(closer.texts()[actions.size() + 2].startsWith(QStringLiteral("Датчик ещё выполняет команду")));
    QCOMPARE(closer.texts().last(), saved);
    QCOMPARE(h.connectButton()->text(), QStringLiteral("Отключить"));

    // A refused RS485 write is the error path: the link closes and the user is told, with what was written.
    EmulatorFaults_t refusing;
    refusing.overridePrefix = R"(["OmnicommConfig",)";
    h.emulator().setFaults(refusing);
    h.widget<QPushButton>("btnOmniApply")->click();
    QVERIFY(closer.waitForCount(actions.size() + 5)); // after the two confirmations and the question
    QCOMPARE(
        closer.texts().last(),
        QStringLiteral("Произошла ошибка, перезагрузите устройство!\n\nДатчик отказался выполнить запрос «RS485».\n"
                       "Отключите датчик от USB на несколько секунд, подключите его снова и нажмите «Подключить»."
                       "\n\nЗапись прервана. Записано: ничего.\nДатчик отказался принять: RS485."));
    QCOMPARE(h.connectButton()->text(), QStringLiteral("Подключить"));
    QCOMPARE(enabledLinkControls(h), 0);
}

void WindowTest_t::profile_savedFromOneSensorIsWrittenIntoAnother() {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("profile.json"));
    WindowHarness_t h(2);
    QVERIFY(h.loadState(
        0, {{"TankConfig", {{"Mixture", 80}, {"Liquid", "Butane"}, {"Active", 2}}},
            {"OmnicommConfig", {{"Address", 33}, {"TxMode", false}, {"Units", "percent"}, {"TxPeriodSec", 0}}}}));
    ModalBoxCloser_t closer(ModalBoxCloser_t::Targets::AllDialogs);
    bool write = false; // whether the user accepts the summary
    bool reportSaved = false;
    closer.answerDialogsWith([&path, &write, &reportSaved](QDialog* dialog) {
        // The report is saved once, from the event loop rather than from inside this answer; saving closes it.
        if (auto* report = qobject_cast<ReportDialog_t*>(dialog)) {
            if (!std::exchange(reportSaved, true))
                QTimer::singleShot(0, report, &ReportDialog_t::signSavePdf);
            return;
        }
        auto* files = qobject_cast<QFileDialog*>(dialog);
        // Typed into the name box, as a user would; selectFile() would keep a suggested name.
        if (files)
            files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
        if (files || write)
            dialog->accept();
        else
            dialog->reject();
    });
    QVERIFY(h.connectAndRead());
    h.widget<QPushButton>("btnSaveProfileP")->click();
    QVERIFY(closer.waitForCount(2)); // the file dialog, then the box
    QVERIFY2(closer.texts().last().startsWith("Профиль сохранён"), qPrintable(closer.texts().join('|')));
    // The installation report of this sensor, saved where the user says.
    path = dir.filePath(QStringLiteral("report.pdf"));
    h.widget<QPushButton>("btnReportP")->click();
    QTRY_VERIFY(reportSaved && !h.dialog<ReportDialog_t>()->isVisible());
    QVERIFY(pdfText(path).contains(QString::fromStdString(h.emulator().stateJson()["Info"]["Name"])));
    path = dir.filePath(QStringLiteral("profile.json"));
    h.connectButton()->click();
    // The port list refreshes without losing the choice.
    h.widget<QComboBox>("cboxSerialListP")->setCurrentIndex(1);
    h.window().slotRefreshSerialList();
    QVERIFY(h.connectAndRead());

    // The summary cancelled: nothing is sent.
    const int asked = h.emulator(1).requests().size();
    h.widget<QPushButton>("btnLoadProfileP")->click();
    QTest::qWait(300);
    QCOMPARE(h.emulator(1).requests().size(), asked);
    // Accepted, and the sensor refuses the tank configuration: what was written, what was not, and what differs.
    write = true;
    EmulatorFaults_t faults;
    faults.overridePrefix = R"(["TankConfig",{"Active":2,"Liquid")";
    h.emulator(1).setFaults(faults);
    h.widget<QPushButton>("btnLoadProfileP")->click();
    QTRY_VERIFY2(closer.texts().last().startsWith("Записано: запись 2, активная запись.\nДатчик отказался принять: "
                                                  "настройки бака.\nНе записано: RS485.\nДатчик "
                                                  "хранит не то, что в профиле:"),
                 qPrintable(closer.texts().join('|')));
    // Written again, now accepted: the second sensor holds the first one's setup.
    h.emulator(1).setFaults(EmulatorFaults_t());
    h.widget<QPushButton>("btnLoadProfileP")->click();
    QTRY_COMPARE(closer.texts().last(), QStringLiteral("Профиль записан в датчик и проверен."));
    for (const char* section : {"TankConfig", "Records", "OmnicommConfig"})
        QCOMPARE(h.emulator(1).stateJson()[section], h.emulator(0).stateJson()[section]);
}

void WindowTest_t::liveTest_stopsWhenItsTabIsLeftWhileTheStreamOnAwaitsItsAnswer() {
    WindowHarness_t h;
    ModalBoxCloser_t closer;
    QVERIFY(h.connectAndRead());
    auto* tabs = h.widget<QTabWidget>("tabWidgetP");
    QPushButton* startStop = h.testPage()->startStopButton();
    EmulatorFaults_t slowStart;
    slowStart.replyDelayMs = 600;
    slowStart.delayedPrefix = R"(["Installation",{"on":1})";
    h.emulator().setFaults(slowStart);
    tabs->setCurrentWidget(h.testPage());
    startStop->click();
    tabs->setCurrentIndex(0);
    QCOMPARE(startStop->text(), QStringLiteral("Начать тест"));
    QTRY_COMPARE(enabledLinkControls(h), LINK_CONTROLS);
    QCOMPARE(h.emulator().stateJson()["Installation"], json(false));
    QVERIFY(closer.texts().isEmpty());
}

QTEST_MAIN(WindowTest_t)
#include "test_window.moc"
