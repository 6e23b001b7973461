// The connection's lifetime, its commands and the one runner every sequence goes through: a step is sent, its reply
// awaited under the time limit, checked and stored, and the next step follows.
#include "sensorconnection.h"

#include "requests.h"
#include "responses.h"
#include "sensorprofile.h"
#include "serialparser.h"

#include <QDebug>
#include <QTimer>
#include <algorithm>

SensorConnection_t::SensorConnection_t(const QString& portName, QObject* parent)
    : QObject(parent), parserP(new SerialParser_t(portName)), replyTimerP(new QTimer(this)) {
    replyTimerP->setSingleShot(true);
    connect(replyTimerP, &QTimer::timeout, this, &SensorConnection_t::slotReplyTimeout);
    connect(parserP, &SerialParser_t::signError, this, &SensorConnection_t::slotSerialError);
    connect(parserP, &SerialParser_t::signFromDevice, this, &SensorConnection_t::slotFromDevice);
    connect(this, &SensorConnection_t::signToDevice, parserP, &SerialParser_t::slotToDevice);
}

SensorConnection_t::~SensorConnection_t() {
    shutLink(); // quietly: nobody may be listening any more
}

void SensorConnection_t::open() {
    if (parserP)
        emit parserP->signOpen();
}

void SensorConnection_t::close() {
    if (state != StateE::ENDED)
        end(SequenceEndE::CLOSED);
}

void SensorConnection_t::closeAfterStep() {
    if (sequence)
        closeAtStepEnd = true;
    else
        close();
}

void SensorConnection_t::setReplyTimeoutMs(int ms) {
    replyTimeoutMs = ms;
}

bool SensorConnection_t::isBusy() const {
    return state != StateE::IDLE && state != StateE::TESTING;
}

bool SensorConnection_t::writeTank(const TankConfigRecord_t& record) {
    if (!mayStart("tank"))
        return false;
    run(tankSequence(record));
    return true;
}

bool SensorConnection_t::activateRecord(int id) {
    if (id < 0 || id >= TANK_RECORD_COUNT) {
        qWarning() << "Command refused: no such record " << id;
        return false;
    }
    if (!mayStart("activation"))
        return false;
    run(activationSequence(id));
    return true;
}

bool SensorConnection_t::writeProperties(int mixture, int wall) {
    const TankConfigRecord_t* record = snapshot.record(WRITABLE_RECORD_ID); // the reading always ends with it
    if (!mayStart("properties") || !record)
        return false;
    TankConfig_t config = snapshot.tankConfig;
    config.Mixture = mixture;
    config.Liquid = liquidForMixture(mixture);
    TankConfigRecord_t walled = *record;
    walled.Wall = wall;
    run(propertiesSequence(config, walled));
    return true;
}

bool SensorConnection_t::writeOmnicomm(const OmnicommConfig_t& config) {
    if (!mayStart("rs485"))
        return false;
    run(omnicommSequence(config));
    return true;
}

bool SensorConnection_t::calibrate(CalibrationPointE point) {
    if (!mayStart("calibration"))
        return false;
    run(calibrationSequence(point));
    return true;
}

bool SensorConnection_t::resetCalibration() {
    if (!mayStart("calibration reset"))
        return false;
    run(calibrationResetSequence());
    return true;
}

bool SensorConnection_t::readCalibration() {
    if (!mayStart("calibration read"))
        return false;
    snapshot.calibration.reset(); // known again only from this reply
    run(calibrationReadSequence());
    return true;
}

bool SensorConnection_t::writeProfile(const SensorSnapshot_t& target) {
    const bool activatesRecord2 = target.tankConfig.Active == WRITABLE_RECORD_ID;
    if (!refusedValues(writeIssues(target)).isEmpty()) {
        qWarning() << "Command refused: the profile holds values the window would not write";
        return false;
    }
    if ((activatesRecord2 && !target.record(WRITABLE_RECORD_ID)) || !mayStart("profile"))
        return false;
    run(profileSequence(writtenSetup(target)));
    return true;
}

bool SensorConnection_t::startTest() {
    if (!mayStart("test start"))
        return false;
    setTestRunning(true);
    run(streamSequence(true));
    return true;
}

bool SensorConnection_t::stopTest() {
    if (!mayStart("test stop", true))
        return false;
    setTestRunning(false);
    if (state == StateE::TESTING)
        run(streamSequence(false));
    else
        qInfo() << "Test stop follows the stream-on's answer";
    return true;
}

bool SensorConnection_t::mayStart(const char* command, bool stop) const {
    const bool streamOnUnderWay = sequence && sequence->kind == SequenceE::STREAM_ON;
    const char* refusal = nullptr;
    if (stop)
        refusal = !testRunning                                   ? "Command refused: no test running; Command: "
                  : state == StateE::TESTING || streamOnUnderWay ? nullptr
                                                                 : "Command refused: busy; Command: ";
    else if (testRunning)
        refusal = "Command refused: the test is running; Command: ";
    else if (isBusy())
        refusal = "Command refused: busy; Command: ";
    if (refusal)
        qWarning() << refusal << command;
    return !refusal;
}

void SensorConnection_t::run(Sequence_t next) {
    outcome = {next.kind, SequenceEndE::COMPLETE, {}};
    for (const Step_t& step : next.steps)
        outcome.steps.append({step.name, step.label, step.writes, StepResultE::NOT_SENT});
    sequence = std::move(next);
    stepIndex = 0;
    setState(sequence->kind == SequenceE::READING ? StateE::READING : StateE::RUNNING);
    sendStep();
}

void SensorConnection_t::sendStep() {
    const QList<Step_t>& steps = sequence->steps;
    // After a refusal that ends the writing, only the steps that read are still sent.
    while (stepIndex < steps.size() && outcome.end == SequenceEndE::REFUSED && steps[stepIndex].writes)
        ++stepIndex;
    if (stepIndex == steps.size()) {
        finishSequence();
        return;
    }
    if (closeAtStepEnd) {
        end(SequenceEndE::CLOSED);
        return;
    }
    const Step_t& step = steps[stepIndex];
    qInfo() << "Step: " << sequence->label << stepIndex + 1 << "/" << steps.size() << step.name;
    outcome.steps[stepIndex].result = StepResultE::UNANSWERED;
    emit signProgress(sequence->label, stepIndex + 1, steps.size());
    emit signToDevice(step.request);
    replyTimerP->start(replyTimeoutMs);
}

void SensorConnection_t::slotFromDevice(const nlohmann::json& inReply) {
    if (state == StateE::ENDED)
        return; // a reply queued before the end has nobody to answer
    const QString name = responseName(inReply);
    if (name == QLatin1String(CmdName::INSTALLATION)) {
        measurementArrived(inReply);
        return;
    }
    if (!sequence) {
        qInfo() << "Reply without a request dropped: " << name;
        return;
    }
    const Step_t& step = sequence->steps[stepIndex];
    if (name == QLatin1String(step.reply)) {
        acceptReply(inReply);
    } else if (!replyAccepted || name == QLatin1String(WireNames::REPLY_OK)) {
        // The answer to a request of an earlier connection, or an "ok" where none is awaited: nothing of ours.
        qInfo() << "Leftover reply skipped: " << name << "; awaiting: " << step.reply;
    } else if (name == QLatin1String(WireNames::REPLY_ERROR)) {
        refuseStep();
    } else {
        qWarning() << "Unexpected reply: " << name << "; Step: " << step.name;
        fail(FailureE::UNEXPECTED_REPLY, name);
    }
}

void SensorConnection_t::acceptReply(const nlohmann::json& reply) {
    const Step_t& step = sequence->steps[stepIndex];
    if (step.store && !step.store(reply, snapshot)) {
        qWarning() << "Reply not what was asked for; Step: " << step.name;
        fail(FailureE::UNREADABLE_REPLY);
        return;
    }
    replyAccepted = true;
    outcome.steps[stepIndex].result = StepResultE::DONE;
    ++stepIndex;
    sendStep();
}

void SensorConnection_t::refuseStep() {
    const Step_t& step = sequence->steps[stepIndex];
    qWarning() << "Request refused; Step: " << step.name;
    outcome.steps[stepIndex].result = StepResultE::REFUSED;
    switch (step.refusal) {
    case RefusalE::FAIL:
        fail(FailureE::REFUSED);
        return;
    case RefusalE::REFUSED:
        outcome.end = SequenceEndE::REFUSED;
        break;
    case RefusalE::UNKNOWN:
        break;
    }
    ++stepIndex;
    sendStep();
}

void SensorConnection_t::finishSequence() {
    replyTimerP->stop();
    const SequenceE kind = sequence->kind;
    const bool refused = outcome.end == SequenceEndE::REFUSED;
    sequence.reset();
    setState(testRunning && kind == SequenceE::STREAM_ON ? StateE::TESTING : StateE::IDLE);
    switch (kind) {
    case SequenceE::READING:
        emit signReadingComplete();
        return;
    case SequenceE::TANK:
    case SequenceE::ACTIVATION:
        if (refused)
            emit signRefused();
        else
            emit signSaved(kind);
        return;
    case SequenceE::PROPERTIES:
    case SequenceE::OMNICOMM:
    case SequenceE::CALIBRATION_RESET:
        emit signSaved(kind);
        return;
    case SequenceE::CALIBRATION_EMPTY:
        emit signCalibrated(CalibrationPointE::EMPTY, snapshot.calibration->Empty);
        return;
    case SequenceE::CALIBRATION_FULL:
        emit signCalibrated(CalibrationPointE::FULL, snapshot.calibration->Full);
        return;
    case SequenceE::CALIBRATION_READ:
        emit signCalibrationRead();
        return;
    case SequenceE::PROFILE:
        emit signProfileWritten(outcome);
        return;
    case SequenceE::STREAM_ON:
        // The user stopped the test while the stream-on awaited its answer.
        if (!testRunning)
            run(streamSequence(false));
        return;
    case SequenceE::STREAM_OFF:
        return;
    }
}

void SensorConnection_t::measurementArrived(const nlohmann::json& reply) {
    // The stream runs in the live test, and a sensor may start it before its "ok" (unless the user has stopped the
    // test meanwhile); measurements at any other time were sent before the sensor saw a stream-off.
    const bool plotted = state == StateE::IDLE || state == StateE::TESTING ||
                         (testRunning && sequence && sequence->kind == SequenceE::STREAM_ON);
    if (!plotted) {
        qInfo() << "Measurement skipped; Step: " << sequence->steps[stepIndex].name;
        return;
    }
    int status = -1; // not looked at: a measurement without its values plots the parser's zeros
    const Installation_t reading = parseInstallation(reply, status);
    if (readings.size() == TEST_READINGS_KEPT)
        readings.removeFirst();
    readings.append(reading.RawTOF);
    emit signMeasurement(reading);
}

void SensorConnection_t::setState(StateE next) {
    const bool wasBusy = isBusy();
    state = next;
    if (isBusy() != wasBusy)
        emit signBusyChanged(!wasBusy);
}

void SensorConnection_t::setTestRunning(bool running) {
    testRunning = running;
    emit signTestRunningChanged(running);
}

void SensorConnection_t::slotSerialError(QSerialPort::SerialPortError inError) {
    qInfo() << inError;
    if (state == StateE::ENDED)
        return;
    if (inError == QSerialPort::NoError) {
        if (state != StateE::OPENING) {
            qWarning() << "Can't be serial no error when not pending";
            return;
        }
        emit signPortOpened();
        run(readingSequence());
        return;
    }
    if (inError < QSerialPort::DeviceNotFoundError || inError > QSerialPort::NotOpenError)
        return;
    end(SequenceEndE::LOST);
    emit signLost(inError);
}

void SensorConnection_t::slotReplyTimeout() {
    qWarning() << "No reply in time; Step: " << sequence->steps[stepIndex].name << "; after ms: " << replyTimeoutMs;
    fail(FailureE::NO_REPLY);
}

void SensorConnection_t::fail(FailureE kind, const QString& reply) {
    qCritical() << "FSM error! Disconnect!";
    const Step_t& step = sequence->steps[stepIndex];
    const Failure_t failure{kind, step.name, step.label, reply, replyTimeoutMs};
    end(SequenceEndE::FAILED);
    emit signFailed(failure);
}

void SensorConnection_t::end(SequenceEndE how) {
    shutLink();
    const bool cutWrite = sequence && std::any_of(outcome.steps.begin(), outcome.steps.end(),
                                                  [](const StepOutcome_t& step) { return step.writes; });
    sequence.reset();
    testRunning = false;
    setState(StateE::ENDED);
    if (cutWrite) {
        outcome.end = how;
        emit signWriteCut(outcome);
    }
}

void SensorConnection_t::shutLink() {
    replyTimerP->stop();
    delete parserP; // stops the serial thread and closes the port
    parserP = nullptr;
}
