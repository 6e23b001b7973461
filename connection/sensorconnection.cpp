// The connection's lifetime, its commands and the pieces the state machine shares: requests, the reply time limit,
// the busy state and the error path.
#include "sensorconnection.h"

#include "requests.h"
#include "serialparser.h"
#include "wireframe.h"

#include <QDebug>
#include <QStringList>
#include <QTimer>

SensorConnection_t::SensorConnection_t(const QString& portName, QObject* parent)
    : QObject(parent), parserP(new SerialParser_t(portName)), replyTimerP(new QTimer(this)) {
    replyTimerP->setSingleShot(true);
    connect(replyTimerP, &QTimer::timeout, this, &SensorConnection_t::slotReplyTimeout);
    connect(parserP, &SerialParser_t::signError, this, &SensorConnection_t::slotSerialError);
    connect(parserP, &SerialParser_t::signFromDevice, this, &SensorConnection_t::slotFromDevice);
    connect(this, &SensorConnection_t::signToDevice, parserP, &SerialParser_t::slotToDevice);
}

SensorConnection_t::~SensorConnection_t() {
    close();
}

void SensorConnection_t::open() {
    if (parserP)
        emit parserP->signOpen();
}

void SensorConnection_t::close() {
    replyTimerP->stop();
    delete parserP; // stops the serial thread and closes the port
    parserP = nullptr;
    portOpen = false;
    testRunning = false;
}

void SensorConnection_t::setReplyTimeoutMs(int ms) {
    replyTimeoutMs = ms;
}

bool SensorConnection_t::isBusy() const {
    return !parserP || fsmState != StateE::IDLE;
}

bool SensorConnection_t::writeTank(const TankConfigRecord_t& record) {
    if (!startSequence(StateE::SET_TANK))
        return false;
    pendingRecord = record;
    pendingRecord->id = WRITABLE_RECORD_ID;
    enterState(StateE::SET_TANK);
    return true;
}

bool SensorConnection_t::activateRecord(int id) {
    if (id < 0 || id >= TANK_RECORD_COUNT) {
        qWarning() << "Command refused: no such record " << id;
        return false;
    }
    if (!startSequence(StateE::SET_TANK))
        return false;
    pendingRecord.reset();
    pendingConfig = snapshot.tankConfig;
    pendingConfig.Active = id;
    enterState(StateE::SET_TANK);
    return true;
}

bool SensorConnection_t::writeProperties(int mixture, int wall) {
    if (!startSequence(StateE::SET_PROPERTIES))
        return false;
    const TankConfigRecord_t* record = snapshot.record(WRITABLE_RECORD_ID); // the reading always ends with it
    pendingConfig = snapshot.tankConfig;
    pendingConfig.Mixture = mixture;
    pendingConfig.Liquid = liquidForMixture(mixture);
    pendingRecord = *record;
    pendingRecord->Wall = wall;
    enterState(StateE::SET_PROPERTIES);
    return true;
}

bool SensorConnection_t::writeOmnicomm(const OmnicommConfig_t& config) {
    if (!startSequence(StateE::SET_OMNICOMM_CONFIG))
        return false;
    pendingOmnicomm = config;
    enterState(StateE::SET_OMNICOMM_CONFIG);
    return true;
}

bool SensorConnection_t::calibrate(CalibrationPointE point) {
    const StateE first = point == CalibrationPointE::EMPTY ? StateE::CALIBRATE_EMPTY : StateE::CALIBRATE_FULL;
    if (!startSequence(first))
        return false;
    enterState(first);
    return true;
}

bool SensorConnection_t::resetCalibration() {
    if (!startSequence(StateE::RESET_CALIBRATION))
        return false;
    enterState(StateE::RESET_CALIBRATION);
    return true;
}

bool SensorConnection_t::startTest() {
    if (!startSequence(StateE::START_TEST))
        return false;
    setTestRunning(true);
    enterState(StateE::START_TEST);
    return true;
}

bool SensorConnection_t::stopTest() {
    if (!startSequence(StateE::STOP_TEST))
        return false;
    setTestRunning(false);
    enterState(StateE::STOP_TEST);
    return true;
}

bool SensorConnection_t::readCalibration() {
    if (!startSequence(StateE::READ_CALIBRATION))
        return false;
    enterState(StateE::READ_CALIBRATION);
    return true;
}

bool SensorConnection_t::writeProfile(const SensorSnapshot_t& target) {
    const int active = target.tankConfig.Active;
    const TankConfigRecord_t* record = target.record(WRITABLE_RECORD_ID);
    if ((active == WRITABLE_RECORD_ID && !record) || !startSequence(StateE::WRITE_PROFILE))
        return false;
    profileSteps.clear();
    profileOutcome = ProfileOutcome_t();
    if (active == WRITABLE_RECORD_ID) {
        const TankConfigRecord_t r = *record;
        profileSteps.append(
            {tr("запись 2"),
             reqWriteTankRecord(r.Shape, r.Orientation, r.Length, r.OuterDiameter, r.InnerDiameter, r.Wall),
             [r](SensorSnapshot_t& s) { s.storeRecord(r); }});
    }
    profileSteps.append({tr("активная запись"), reqActiveRecord(active),
                         [active](SensorSnapshot_t& s) { s.tankConfig.Active = active; }});
    const TankConfig_t config = target.tankConfig;
    profileSteps.append({tr("настройки бака"), reqWriteTankConfig(config.Liquid, config.Mixture, config.Active),
                         [config](SensorSnapshot_t& s) { s.tankConfig = config; }});
    const OmnicommConfig_t omni = target.omnicomm;
    profileSteps.append({tr("RS485"), reqWriteOmnicommConfig(omni.Address, omni.TxMode, omni.Units, omni.TxPeriodSec),
                         [omni](SensorSnapshot_t& s) { s.omnicomm = omni; }});
    enterState(StateE::WRITE_PROFILE);
    return true;
}

void SensorConnection_t::sendProfileStep() {
    if (!profileSteps.isEmpty()) {
        sendRequest(profileSteps.first().request);
        setState(StateE::WRITE_PROFILE_ACK);
        return;
    }
    // Read back what the sensor now holds: that, not what was sent, is what the user is shown.
    verifyingProfile = true;
    sendRequest(Cmd::TANK_CONFIG);
    setState(StateE::GET_TANK_CONFIG);
}

void SensorConnection_t::ackProfileStep(SerialDataTypeE type) {
    if (type == SerialDataTypeE::ERROR) {
        qWarning() << "Profile step refused: " << profileSteps.first().name;
        profileOutcome.refused = true;
        for (const ProfileStep_t& step : profileSteps)
            profileOutcome.notWritten << step.name;
        profileSteps.clear();
    } else if (awaited(type, SerialDataTypeE::OK)) {
        const ProfileStep_t step = profileSteps.takeFirst();
        step.store(snapshot);
        profileOutcome.written << step.name;
    } else {
        return;
    }
    sendProfileStep();
}

bool SensorConnection_t::startSequence(StateE first) {
    const char* refusal = nullptr;
    if (isBusy())
        refusal = "Command refused: busy; State is: ";
    else if (testRunning != (first == StateE::STOP_TEST))
        refusal = testRunning ? "Command refused: the test is running; State is: "
                              : "Command refused: no test running; State is: ";
    if (!refusal)
        return true;
    qWarning() << refusal << static_cast<int>(fsmState) << "; Command: " << static_cast<int>(first);
    return false;
}

void SensorConnection_t::enterState(StateE state) {
    setState(state);
    slotFromDevice(SerialDataTypeE::NO_DATA, QByteArray());
}

void SensorConnection_t::setState(StateE state) {
    const bool wasBusy = isBusy();
    fsmState = state;
    if (state == StateE::IDLE)
        replyTimerP->stop();
    if (isBusy() != wasBusy)
        emit signBusyChanged(!wasBusy);
}

void SensorConnection_t::setTestRunning(bool running) {
    testRunning = running;
    emit signTestRunningChanged(running);
}

void SensorConnection_t::slotFromDevice(SerialDataTypeE inType, QByteArray inData) {
    if (!parserP)
        return; // ended: a reply queued before the end has nobody to answer
    qInfo() << "Data to FSM: " << inData << "; State is: " << static_cast<int>(fsmState);
    stepStateMachine(inType, frameToJson(inData));
}

void SensorConnection_t::slotSerialError(QSerialPort::SerialPortError inError) {
    qInfo() << inError;
    if (inError == QSerialPort::NoError) {
        if (portOpen) {
            qWarning() << "Can't be serial no error when not pending";
            return;
        }
        portOpen = true;
        emit signPortOpened();
        slotFromDevice(SerialDataTypeE::NO_DATA, QByteArray());
        return;
    }
    if (inError < QSerialPort::DeviceNotFoundError || inError > QSerialPort::NotOpenError)
        return;
    close();
    emit signLost(inError);
}

void SensorConnection_t::slotReplyTimeout() {
    qWarning() << "No reply in time; State is: " << static_cast<int>(fsmState);
    fsmError();
}

bool SensorConnection_t::skippedMeasurement(SerialDataTypeE type) {
    if (type != SerialDataTypeE::MEASUREMENT)
        return false;
    // Measurements sent before the sensor saw a stream-off are still on the line; they answer nothing.
    qInfo() << "Measurement skipped; State is: " << static_cast<int>(fsmState);
    return true;
}

bool SensorConnection_t::awaited(SerialDataTypeE type, SerialDataTypeE wanted) {
    if (type == wanted)
        return true;
    if (!skippedMeasurement(type))
        fsmError();
    return false;
}

void SensorConnection_t::fsmError() {
    qCritical() << "FSM error! Disconnect!";
    close();
    setState(StateE::IDLE);
    emit signFailed();
}

void SensorConnection_t::sendRequest(const QByteArray& request) {
    // Only an open link can carry the request, and only a request sent can be answered.
    if (!parserP || !portOpen) {
        qWarning() << "Request without an open link dropped: " << request;
        return;
    }
    emit signToDevice(request);
    replyTimerP->start(replyTimeoutMs);
}

void SensorConnection_t::sendRecordWrite(const TankConfigRecord_t& record) {
    // Height and Length always go out equal: the request has one value for both.
    sendRequest(reqWriteTankRecord(record.Shape, record.Orientation, record.Length, record.OuterDiameter,
                                   record.InnerDiameter, record.Wall));
}

void SensorConnection_t::finishSequence() {
    pendingRecord.reset();
    setState(StateE::IDLE);
}
