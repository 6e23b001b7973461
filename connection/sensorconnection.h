#pragma once
// One connection to one sensor, from opening its port to its end: the serial link, the conversation's state machine,
// the reply time limit, the live test and everything read from the sensor. It is created when the user connects and
// destroyed when the connection ends, so nothing of one connection can reach the next. No widgets: the window and
// the command-line tool are front ends over it.
//
// One request is in flight at a time. Opening the port starts the reading (stream off, identity, tank configuration,
// the tank records, RS485 settings); once it is complete the front ends start write sequences with the commands
// below, one at a time.

#include "sensorsnapshot.h"
#include "serialdatatype.h"
#include "statee.h"

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QStringList>
#include <functional>
#include <nlohmann/json_fwd.hpp>
#include <optional>

class QTimer;
class SerialParser_t;

// What a successful write sequence wrote.
enum class SequenceE { TANK, PROPERTIES, OMNICOMM, CALIBRATION_RESET };
enum class CalibrationPointE { EMPTY, FULL };

// How far writing a profile got: the steps the sensor acknowledged and those it never received, in order.
struct ProfileOutcome_t {
    QStringList written;
    QStringList notWritten;
    bool refused = false; // the sensor refused the first of notWritten
};

class SensorConnection_t : public QObject {
    Q_OBJECT

public:
    static constexpr int DEFAULT_REPLY_TIMEOUT_MS = 5000;

    // portName: a name from the port list or a device path. Nothing happens until open().
    explicit SensorConnection_t(const QString& portName, QObject* parent = nullptr);
    ~SensorConnection_t() override;

    // Opens the port in the serial thread; the reading starts once the port reports open.
    void open();
    // Ends the link at once (the serial thread stops, the port closes) and refuses everything from then on.
    // Emits nothing; safe to call more than once.
    void close();
    // How long a waiting state waits for the sensor's reply before it takes the error path.
    void setReplyTimeoutMs(int ms);

    // True while anything awaits the sensor, the reading included, and after the connection has ended.
    bool isBusy() const;
    bool isTestRunning() const { return testRunning; }
    // Complete once signReadingComplete has come.
    const SensorSnapshot_t& sensor() const { return snapshot; }

    // Write sequences. Each returns false, sends nothing and logs a warning unless the reading is complete and
    // nothing else is under way; while the live test runs only stopTest() is taken.
    // Record 2 := record (its id is ignored), then its activation.
    bool writeTank(const TankConfigRecord_t& record);
    // Activation of a record the sensor holds, 0..2.
    bool activateRecord(int id);
    // Mixture and liquid into the tank configuration (the active record unchanged), then record 2 with this wall.
    bool writeProperties(int mixture, int wall);
    bool writeOmnicomm(const OmnicommConfig_t& config);
    // Stores the sensor's present reading as the empty or full point and reads the calibration back.
    bool calibrate(CalibrationPointE point);
    bool resetCalibration();
    bool startTest();
    bool stopTest();
    // Reads the stored calibration into sensor().calibration.
    bool readCalibration();
    // Writes target's setup: record 2 (when target's active record is 2) and the activation, the tank configuration
    // (mixture, liquid, active) and the RS485 settings; then reads the tank configuration, the records and the RS485
    // settings back into sensor(). A refusal ends the writing at that step; the reading back still runs.
    bool writeProfile(const SensorSnapshot_t& target);

signals:
    // Toward the link: one request text.
    void signToDevice(QByteArray);
    void signPortOpened();
    void signReadingComplete();
    // isBusy() changed.
    void signBusyChanged(bool busy);
    void signTestRunningChanged(bool running);
    void signSaved(SequenceE sequence);
    // The sensor refused the tank record as invalid input; the connection stays.
    void signRefused();
    void signCalibrated(CalibrationPointE point, qint32 value);
    void signMeasurement(Installation_t reading);
    void signCalibrationRead();
    // Writing a profile ended, and what the sensor holds has been read back.
    void signProfileWritten(ProfileOutcome_t outcome);
    // The conversation failed (an unexpected reply, a bad record, no reply in time): the link is already closed.
    void signFailed();
    // The port reported an error (unplugged, cannot be opened): the link is already closed. Before signPortOpened
    // the port could not be opened, for the reason error gives.
    void signLost(QSerialPort::SerialPortError error);

public slots:
    // The state machine's only entry: a device reply, or NO_DATA with no data to start the reading or a sequence.
    void slotFromDevice(SerialDataTypeE inType = SerialDataTypeE::NO_DATA, QByteArray inData = QByteArray());
    void slotSerialError(QSerialPort::SerialPortError inError);

private slots:
    void slotReplyTimeout();

private:
    bool startSequence(StateE first);
    void enterState(StateE state);
    void setState(StateE state);
    void setTestRunning(bool running);
    void stepStateMachine(SerialDataTypeE type, const nlohmann::json& value);
    // True when type is the reply the state awaits. A measurement is skipped (false); anything else takes the error
    // path (false).
    bool awaited(SerialDataTypeE type, SerialDataTypeE wanted);
    // True, with a log line, for a measurement: it answers no request.
    bool skippedMeasurement(SerialDataTypeE type);
    void fsmError();
    void sendRequest(const QByteArray& request);
    void sendRecordWrite(const TankConfigRecord_t& record);
    void finishSequence();

    void emitMeasurement(const nlohmann::json& value);
    void stepStart(SerialDataTypeE type);
    void readDeviceInfo(const nlohmann::json& value);
    void readTankConfig(const nlohmann::json& value);
    void readTankRecord(const nlohmann::json& value);
    void readOmnicommConfig(const nlohmann::json& value);
    void readCalibration(SerialDataTypeE type, const nlohmann::json& value, CalibrationPointE point);
    void readStoredCalibration(const nlohmann::json& value);
    void sendProfileStep();
    void ackProfileStep(SerialDataTypeE type);

    SerialParser_t* parserP = nullptr; // null once closed
    QTimer* replyTimerP;
    int replyTimeoutMs = DEFAULT_REPLY_TIMEOUT_MS;
    bool portOpen = false;

    StateE fsmState = StateE::START;
    bool testRunning = false;
    SensorSnapshot_t snapshot;
    // The record the reading asked for last.
    int requestedRecordId = 0;
    // What the sequence under way writes, taken into the snapshot once acknowledged.
    std::optional<TankConfigRecord_t> pendingRecord;
    TankConfig_t pendingConfig;
    OmnicommConfig_t pendingOmnicomm;
    // A profile's requests not yet acknowledged, each with what it changes in the snapshot once it is.
    struct ProfileStep_t {
        QString name;
        QByteArray request;
        std::function<void(SensorSnapshot_t&)> store;
    };
    QList<ProfileStep_t> profileSteps;
    ProfileOutcome_t profileOutcome;
    bool verifyingProfile = false; // the reading under way reads a written profile back
};
