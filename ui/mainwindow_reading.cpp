// The initial reading of a freshly connected sensor (stream off, device information, tank configuration, the three
// tank records, RS485 settings) and the idle state that plots the measurements of a running test.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "propertiesdialog.h"
#include "requests.h"
#include "responses.h"
#include "tofwidget.h"

#include <QDebug>
#include <nlohmann/json.hpp>

namespace {

// A sensor that was streaming answers every repeated stream-off with its own "ok", and measurements sent before
// it stopped are still on their way: neither is the reply a reading state awaits.
bool isLeftoverOfStreamOff(SerialDataTypeE type, const nlohmann::json& value) {
    return type == SerialDataTypeE::MEASUREMENT || responseName(value) == QLatin1String(WireNames::REPLY_OK);
}

} // namespace

void MainWindow_t::stepStart(SerialDataTypeE type) {
    if (fsmState == StateE::START) {
        if (type != SerialDataTypeE::MEASUREMENT && type != SerialDataTypeE::NO_DATA) {
            fsmError();
            return;
        }
        setControlsEnabled(false);
        setOmnicommControlsEnabled(false);
        sendRequest(reqInstallation(0));
        fsmState = StateE::START_ACK;
        return;
    }
    if (type == SerialDataTypeE::MEASUREMENT) {
        sendRequest(reqInstallation(0));
        return;
    }
    if (type != SerialDataTypeE::OK) {
        fsmError();
        return;
    }
    testRunning = false;
    tofWidgetP->startStopButton()->setText(tr("Начать тест"));
    // The action widgets stay off until the reading is complete: an action started now would take over the
    // reading's state and leave the connect button disabled for good.
    if (!tankList.empty())
        clearTankList();
    sendRequest(Cmd::INFO);
    fsmState = StateE::GET_DEVICE_INFO;
}

void MainWindow_t::stepReading(SerialDataTypeE type, const nlohmann::json& value) {
    if (isLeftoverOfStreamOff(type, value)) {
        qInfo() << "Leftover of the stream-off skipped; State is: " << static_cast<int>(fsmState);
        return;
    }
    int status = -1;
    switch (fsmState) {
    case StateE::GET_DEVICE_INFO: {
        qDebug() << "StateE::GET_DEVICE_INFO";
        const DeviceInfo_t info = parseInfo(value, status);
        ui->lblDeviceP->setText(info.Name);
        ui->lblDeviceIdP->setText(info.HWVer);
        ui->lblFwVersionP->setText(info.FWVer);
        sendRequest(Cmd::TANK_CONFIG);
        fsmState = StateE::GET_TANK_CONFIG;
        break;
    }
    case StateE::GET_TANK_CONFIG: {
        qDebug() << "StateE::GET_TANK_CONFIG";
        const TankConfig_t config = parseTankConfig(value, status);
        tankMixture = config.Mixture;
        tankLiquid = config.Liquid;
        activeRecord = config.Active;
        propertiesDialogP->setMixture(tankMixture);
        sendRequest(reqTankRecord(0));
        fsmState = StateE::GET_TANK_CONFIG_RECORD;
        break;
    }
    case StateE::GET_TANK_CONFIG_RECORD:
        readTankRecord(value);
        return;
    default: { // GET_OMNICOMM_CONFIG
        enterIdle();
        const OmnicommConfig_t config = parseOmnicommConfig(value, status);
        fillOmnicommTab(config);
        ui->btnCalibration->show();
        ui->btnCalibrationHelp->show();
        setConnected();
        break;
    }
    }
    if (status == -1)
        fsmError();
}

void MainWindow_t::readTankRecord(const nlohmann::json& value) {
    qDebug() << "StateE::GET_TANK_CONFIG_RECORD";
    int status = -1;
    const TankConfigRecord_t record = parseTankConfigRecord(value, status);
    if (record.id < 0 || record.id >= TANK_RECORD_COUNT) {
        // The window keeps exactly records 0..2; a reply naming another one is not a reply to our request.
        qWarning() << "Tank record id out of range: " << record.id;
        fsmError();
        return;
    }
    tankRecords[record.id] = record;
    addDeviceRecord(record, record.id == activeRecord);
    // The ids in the replies drive the reading: record 2 ends it, whichever was asked for.
    if (record.id < TANK_RECORD_COUNT - 1) {
        sendRequest(reqTankRecord(record.id + 1));
    } else {
        fillStandardTanks();
        sendRequest(Cmd::OMNICOMM_CONFIG);
        fsmState = StateE::GET_OMNICOMM_CONFIG;
    }
    if (status == -1)
        fsmError();
}

void MainWindow_t::stepIdle(SerialDataTypeE type, const nlohmann::json& value) {
    if (type == SerialDataTypeE::MEASUREMENT) {
        int status = -1;
        const Installation_t reading = parseInstallation(value, status);
        tofWidgetP->addSample(static_cast<quint32>(reading.RawTOF));
    }
    qInfo() << "IDLE";
}
