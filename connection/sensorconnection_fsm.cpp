// The conversation's state machine as a table: one case per state, what it accepts and what it does next.
#include "sensorconnection.h"

#include "requests.h"
#include "responses.h"

#include <QDebug>
#include <nlohmann/json.hpp>

namespace {

constexpr int EMPTY_PERCENT = 0;
constexpr int FULL_PERCENT = 100;

} // namespace

void SensorConnection_t::stepStateMachine(SerialDataTypeE type, const nlohmann::json& value) {
    switch (fsmState) {
    case StateE::START:
        stepStart(type);
        return;
    case StateE::START_ACK:
        if (awaited(type, SerialDataTypeE::OK)) {
            sendRequest(Cmd::INFO);
            setState(StateE::GET_DEVICE_INFO);
        }
        return;
    // The reading's replies are told by their content, not their tag: only the parser decides.
    case StateE::GET_DEVICE_INFO:
        if (!skippedMeasurement(type))
            readDeviceInfo(value);
        return;
    case StateE::GET_TANK_CONFIG:
        if (!skippedMeasurement(type))
            readTankConfig(value);
        return;
    case StateE::GET_TANK_CONFIG_RECORD:
        if (!skippedMeasurement(type))
            readTankRecord(value);
        return;
    case StateE::GET_OMNICOMM_CONFIG:
        if (!skippedMeasurement(type))
            readOmnicommConfig(value);
        return;
    case StateE::IDLE:
        if (type == SerialDataTypeE::MEASUREMENT)
            emitMeasurement(value);
        qInfo() << "IDLE";
        return;
    case StateE::SET_OMNICOMM_CONFIG:
        if (awaited(type, SerialDataTypeE::NO_DATA)) {
            sendRequest(reqWriteOmnicommConfig(pendingOmnicomm.Address, pendingOmnicomm.TxMode, pendingOmnicomm.Units,
                                               pendingOmnicomm.TxPeriodSec));
            setState(StateE::SET_OMNICOMM_CONFIG_ACK);
        }
        return;
    case StateE::SET_OMNICOMM_CONFIG_ACK:
        if (awaited(type, SerialDataTypeE::OK)) {
            snapshot.omnicomm = pendingOmnicomm;
            finishSequence();
            emit signSaved(SequenceE::OMNICOMM);
        }
        return;
    case StateE::SET_TANK:
        if (!awaited(type, SerialDataTypeE::NO_DATA))
            return;
        qDebug() << "Set tank to GAS-2";
        if (pendingRecord) {
            sendRecordWrite(*pendingRecord);
            setState(StateE::SET_TANK_RECORD_ACK);
        } else {
            sendRequest(reqActiveRecord(pendingConfig.Active));
            setState(StateE::SET_TANK_ACTIVE_ACK);
        }
        return;
    case StateE::SET_TANK_RECORD_ACK:
        if (type == SerialDataTypeE::ERROR) {
            finishSequence();
            emit signRefused();
        } else if (awaited(type, SerialDataTypeE::OK)) {
            // The sensor holds the new record now; a later properties write takes it as the base.
            snapshot.storeRecord(*pendingRecord);
            pendingConfig = snapshot.tankConfig;
            pendingConfig.Active = WRITABLE_RECORD_ID;
            sendRequest(reqActiveRecord(WRITABLE_RECORD_ID));
            setState(StateE::SET_TANK_ACTIVE_ACK);
        }
        return;
    case StateE::SET_TANK_ACTIVE_ACK:
        if (awaited(type, SerialDataTypeE::OK)) {
            snapshot.tankConfig.Active = pendingConfig.Active;
            finishSequence();
            emit signSaved(SequenceE::TANK);
        }
        return;
    case StateE::SET_PROPERTIES:
        if (awaited(type, SerialDataTypeE::NO_DATA)) {
            sendRequest(reqWriteTankConfig(pendingConfig.Liquid, pendingConfig.Mixture, pendingConfig.Active));
            setState(StateE::SET_PROPERTIES_CONFIG_ACK);
        }
        return;
    case StateE::SET_PROPERTIES_CONFIG_ACK:
        if (awaited(type, SerialDataTypeE::OK)) {
            snapshot.tankConfig = pendingConfig;
            sendRecordWrite(*pendingRecord);
            setState(StateE::SET_PROPERTIES_RECORD_ACK);
        }
        return;
    case StateE::SET_PROPERTIES_RECORD_ACK:
        if (awaited(type, SerialDataTypeE::OK)) {
            snapshot.storeRecord(*pendingRecord);
            finishSequence();
            emit signSaved(SequenceE::PROPERTIES);
        }
        return;
    case StateE::START_TEST:
        if (awaited(type, SerialDataTypeE::NO_DATA)) {
            sendRequest(reqInstallation(1));
            setState(StateE::START_TEST_ACK);
        }
        return;
    case StateE::STOP_TEST:
        if (awaited(type, SerialDataTypeE::NO_DATA)) {
            sendRequest(reqInstallation(0));
            setState(StateE::STOP_TEST_ACK);
        }
        return;
    case StateE::STOP_TEST_ACK:
        if (awaited(type, SerialDataTypeE::OK))
            finishSequence();
        return;
    case StateE::START_TEST_ACK:
        // A sensor may start streaming before its "ok" comes: those are the test's first readings.
        if (type == SerialDataTypeE::MEASUREMENT)
            emitMeasurement(value);
        else if (awaited(type, SerialDataTypeE::OK))
            finishSequence();
        return;
    case StateE::CALIBRATE_EMPTY:
    case StateE::CALIBRATE_FULL:
        if (awaited(type, SerialDataTypeE::NO_DATA)) {
            const bool empty = fsmState == StateE::CALIBRATE_EMPTY;
            sendRequest(reqCalibrate(empty ? EMPTY_PERCENT : FULL_PERCENT));
            setState(empty ? StateE::CALIBRATE_EMPTY_ACK : StateE::CALIBRATE_FULL_ACK);
        }
        return;
    case StateE::CALIBRATE_EMPTY_ACK:
    case StateE::CALIBRATE_FULL_ACK:
        if (awaited(type, SerialDataTypeE::OK)) {
            sendRequest(reqCalibrationRead());
            setState(fsmState == StateE::CALIBRATE_EMPTY_ACK ? StateE::GET_CALIBRATION_EMPTY
                                                             : StateE::GET_CALIBRATION_FULL);
        }
        return;
    case StateE::GET_CALIBRATION_EMPTY:
        readCalibration(type, value, CalibrationPointE::EMPTY);
        return;
    case StateE::GET_CALIBRATION_FULL:
        readCalibration(type, value, CalibrationPointE::FULL);
        return;
    case StateE::RESET_CALIBRATION:
        if (awaited(type, SerialDataTypeE::NO_DATA)) {
            sendRequest(reqCalibrationReset());
            setState(StateE::RESET_CALIBRATION_ACK);
        }
        return;
    case StateE::READ_CALIBRATION:
        if (awaited(type, SerialDataTypeE::NO_DATA)) {
            sendRequest(reqCalibrationRead());
            setState(StateE::GET_CALIBRATION);
        }
        return;
    case StateE::GET_CALIBRATION:
        if (!skippedMeasurement(type))
            readStoredCalibration(value);
        return;
    case StateE::WRITE_PROFILE:
        if (awaited(type, SerialDataTypeE::NO_DATA))
            sendProfileStep();
        return;
    case StateE::WRITE_PROFILE_ACK:
        ackProfileStep(type);
        return;
    case StateE::RESET_CALIBRATION_ACK:
        if (awaited(type, SerialDataTypeE::OK)) {
            snapshot.calibration.reset();
            finishSequence();
            emit signSaved(SequenceE::CALIBRATION_RESET);
        }
        return;
    }
    qInfo() << "Unknown state";
}

void SensorConnection_t::emitMeasurement(const nlohmann::json& value) {
    int status = -1; // not looked at: a measurement without its values plots the parser's zeros
    emit signMeasurement(parseInstallation(value, status));
}

void SensorConnection_t::stepStart(SerialDataTypeE type) {
    // A sensor still streaming from an earlier session sends measurements before anything was asked.
    if (type != SerialDataTypeE::NO_DATA && type != SerialDataTypeE::MEASUREMENT) {
        fsmError();
        return;
    }
    sendRequest(reqInstallation(0));
    setState(StateE::START_ACK);
}

void SensorConnection_t::readDeviceInfo(const nlohmann::json& value) {
    qDebug() << "StateE::GET_DEVICE_INFO";
    int status = -1;
    snapshot.info = parseInfo(value, status);
    if (status == -1) {
        fsmError();
        return;
    }
    sendRequest(Cmd::TANK_CONFIG);
    setState(StateE::GET_TANK_CONFIG);
}

void SensorConnection_t::readTankConfig(const nlohmann::json& value) {
    qDebug() << "StateE::GET_TANK_CONFIG";
    int status = -1;
    snapshot.tankConfig = parseTankConfig(value, status);
    if (status == -1) {
        fsmError();
        return;
    }
    requestedRecordId = 0;
    sendRequest(reqTankRecord(requestedRecordId));
    setState(StateE::GET_TANK_CONFIG_RECORD);
}

void SensorConnection_t::readTankRecord(const nlohmann::json& value) {
    qDebug() << "StateE::GET_TANK_CONFIG_RECORD";
    int status = -1;
    const TankConfigRecord_t record = parseTankConfigRecord(value, status);
    // The ids in the replies drive the reading (record 2 ends it, whichever was asked for), so an id outside 0..2
    // or below the one asked for would loop or overrun: neither is a reply to our request.
    if (status == -1 || record.id < requestedRecordId || record.id >= TANK_RECORD_COUNT) {
        qWarning() << "Tank record id unexpected: " << record.id << "; asked for: " << requestedRecordId;
        fsmError();
        return;
    }
    snapshot.storeRecord(record);
    if (record.id < TANK_RECORD_COUNT - 1) {
        requestedRecordId = record.id + 1;
        sendRequest(reqTankRecord(requestedRecordId));
    } else {
        sendRequest(Cmd::OMNICOMM_CONFIG);
        setState(StateE::GET_OMNICOMM_CONFIG);
    }
}

void SensorConnection_t::readOmnicommConfig(const nlohmann::json& value) {
    int status = -1;
    snapshot.omnicomm = parseOmnicommConfig(value, status);
    if (status == -1) {
        fsmError();
        return;
    }
    setState(StateE::IDLE);
    if (!verifyingProfile) {
        emit signReadingComplete();
        return;
    }
    verifyingProfile = false;
    emit signProfileWritten(profileOutcome);
}

void SensorConnection_t::readCalibration(SerialDataTypeE type, const nlohmann::json& value, CalibrationPointE point) {
    if (!awaited(type, SerialDataTypeE::OK))
        return;
    int status = -1; // not looked at: a reply without the values gives the parser's zeros
    const Calibration_t calibration = parseCalibration(value, status);
    snapshot.calibration = calibration;
    finishSequence();
    emit signCalibrated(point, point == CalibrationPointE::EMPTY ? calibration.Empty : calibration.Full);
}

void SensorConnection_t::readStoredCalibration(const nlohmann::json& value) {
    int status = -1;
    const Calibration_t calibration = parseCalibration(value, status);
    // Unlike after a calibration, these values are kept for the record: a reply without them is no reading.
    if (status == -1) {
        fsmError();
        return;
    }
    snapshot.calibration = calibration;
    finishSequence();
    emit signCalibrationRead();
}
