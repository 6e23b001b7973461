// The conversation's state machine: its entry, the dispatch to the handler of each group of states, the error path,
// the reply time limit, and which user action enters which state.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "calibrationdialog.h"
#include "okmessagebox.h"
#include "propertiesdialog.h"
#include "tofwidget.h"
#include "wireframe.h"

#include <QDebug>
#include <QTimer>
#include <nlohmann/json.hpp>

void MainWindow_t::setUpConversation() {
    replyTimerP = new QTimer(this);
    replyTimerP->setSingleShot(true);
    connect(replyTimerP, &QTimer::timeout, this, &MainWindow_t::slotReplyTimeout);

    connect(ui->btnApplyP, &QPushButton::clicked, this, [this] { enterState(StateE::SET_TANK); });
    connect(propertiesDialogP->applyButton(), &QPushButton::clicked, this,
            [this] { enterState(StateE::SET_PROPERTIES); });
    connect(calibrationDialogP->emptyButton(), &QPushButton::clicked, this,
            [this] { enterState(StateE::CALIBRATE_EMPTY); });
    connect(calibrationDialogP->fullButton(), &QPushButton::clicked, this,
            [this] { enterState(StateE::CALIBRATE_FULL); });
    connect(ui->btnOmniApply, &QPushButton::clicked, this, [this] { enterState(StateE::SET_OMNICOMM_CONFIG); });
    connect(ui->btnSetDefaultP, &QPushButton::clicked, this, &MainWindow_t::slotConfirmCalibrationReset);
    connect(tofWidgetP->startStopButton(), &QPushButton::clicked, this, &MainWindow_t::slotStartStopTest);
    connect(ui->cboxOmniTxMode, &QCheckBox::clicked, this, &MainWindow_t::slotTxModeChange);

    connect(ui->btnPropertiesP, &QPushButton::clicked, propertiesDialogP, &QDialog::show);
    connect(ui->btnCalibration, &QPushButton::clicked, calibrationDialogP, &QDialog::show);
    connect(ui->btnCalibrationHelp, &QPushButton::clicked, this, [this] {
        showMessage(tr("Калибровка предназначена для установки значений пустого и полного бака. Калибровка "
                       "увеличивает точность показаний датчика, так как за нулевое и максимальное значение "
                       "принимаются параметры, рассчитанные исходя из характеристик конкретного бака."));
    });

    // In this order: leaving the test tab clicks stop first, so the second receiver finds the test stopped.
    connect(ui->tabWidgetP, &QTabWidget::currentChanged, this, &MainWindow_t::slotStopTestOnTabLeave);
    connect(ui->tabWidgetP, &QTabWidget::currentChanged, this, &MainWindow_t::slotOnTabChanged);
}

void MainWindow_t::setReplyTimeoutMs(int ms) {
    replyTimeoutMs = ms;
}

void MainWindow_t::slotFromDevice(SerialDataTypeE inType, QByteArray inData) {
    qInfo() << "Data to FSM: " << inData << "; State is: " << static_cast<int>(fsmState);
    stepStateMachine(inType, frameToJson(inData));
}

void MainWindow_t::enterState(StateE state) {
    fsmState = state;
    slotFromDevice(SerialDataTypeE::NO_DATA, QByteArray());
}

void MainWindow_t::stepStateMachine(SerialDataTypeE type, const nlohmann::json& value) {
    switch (fsmState) {
    case StateE::START:
    case StateE::START_ACK:
        stepStart(type);
        break;
    case StateE::GET_DEVICE_INFO:
    case StateE::GET_TANK_CONFIG:
    case StateE::GET_TANK_CONFIG_RECORD:
    case StateE::GET_OMNICOMM_CONFIG:
        stepReading(type, value);
        break;
    case StateE::IDLE:
        stepIdle(type, value);
        break;
    case StateE::SET_OMNICOMM_CONFIG:
    case StateE::SET_OMNICOMM_CONFIG_ACK:
        stepOmnicomm(type);
        break;
    case StateE::SET_TANK:
    case StateE::SET_TANK_RECORD_ACK:
    case StateE::SET_TANK_ACTIVE_ACK:
        stepTank(type);
        break;
    case StateE::SET_PROPERTIES:
    case StateE::SET_PROPERTIES_CONFIG_ACK:
    case StateE::SET_PROPERTIES_RECORD_ACK:
        stepProperties(type);
        break;
    case StateE::START_TEST:
    case StateE::START_TEST_ACK:
    case StateE::STOP_TEST:
    case StateE::STOP_TEST_ACK:
        stepTest(type);
        break;
    case StateE::CALIBRATE_EMPTY:
    case StateE::CALIBRATE_EMPTY_ACK:
    case StateE::GET_CALIBRATION_EMPTY:
    case StateE::CALIBRATE_FULL:
    case StateE::CALIBRATE_FULL_ACK:
    case StateE::GET_CALIBRATION_FULL:
    case StateE::RESET_CALIBRATION:
        stepCalibration(type, value);
        break;
    default:
        qInfo() << "Unknown state";
        break;
    }
}

void MainWindow_t::fsmError() {
    qCritical() << "FSM error! Disconnect!";
    closeConnection();
    showMessage(tr("Произошла ошибка, перезагрузите устройство!"));
}

void MainWindow_t::showMessage(const QString& text) {
    OkMessageBox box(text); // runs modally and returns once the user has closed it
}

QString MainWindow_t::settingsSavedText() {
    static const QString text = tr("Настройки успешно сохранены!");
    return text;
}

void MainWindow_t::sendRequest(const QByteArray& request) {
    emit signToDevice(request);
    replyTimerP->start(replyTimeoutMs);
}

void MainWindow_t::enterIdle() {
    fsmState = StateE::IDLE;
    replyTimerP->stop();
}

void MainWindow_t::finishSequence(const QString& message, ControlGroupE group) {
    enterIdle();
    showMessage(message);
    // The link may have gone while the message was open; its controls must then stay off.
    if (!parserP)
        return;
    if (group == ControlGroupE::ACTIONS)
        setControlsEnabled(true);
    else
        setOmnicommControlsEnabled(true);
}

void MainWindow_t::slotReplyTimeout() {
    qWarning() << "No reply in time; State is: " << static_cast<int>(fsmState);
    fsmError();
}
