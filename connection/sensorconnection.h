#pragma once
// One connection to one sensor, from opening its port to its end: the serial link, the runner of the conversation's
// step lists, the reply time limit, the live test and everything read from the sensor. It is created when the user
// connects and destroyed when the connection ends, so nothing of one connection can reach the next. No widgets: the
// window and the command-line tool are front ends over it.
//
// One request is in flight at a time. Opening the port starts the reading; once it is complete the front ends start
// the other sequences with the commands below, one at a time.

#include "sensorsequences.h"

#include <QObject>
#include <QSerialPort>
#include <QVector>
#include <nlohmann/json.hpp>
#include <optional>

class QTimer;
class SerialParser_t;

class SensorConnection_t : public QObject {
    Q_OBJECT

public:
    static constexpr int DEFAULT_REPLY_TIMEOUT_MS = 5000;

    // portName: a name from the port list or a device path. Nothing happens until open().
    explicit SensorConnection_t(const QString& portName, QObject* parent = nullptr);
    ~SensorConnection_t() override;

    // Opens the port in the serial thread; the reading starts once the port reports open.
    void open();
    // Ends the link at once (the serial thread stops, the port closes) and refuses everything from then on. A write
    // it cuts short is reported with signWriteCut first; nothing else is emitted. Safe to call more than once.
    void close();
    // As close(), but a step under way is answered first: no step is cut in the middle, so a write stops with every
    // step sent either acknowledged or refused. At once when nothing awaits the sensor (the live test's stream is
    // left as it is).
    void closeAfterStep();
    // How long each step waits for the sensor's reply before the connection takes the error path.
    void setReplyTimeoutMs(int ms);

    // True while anything awaits the sensor, the reading included, and after the connection has ended.
    bool isBusy() const;
    // True from startTest() until stopTest(), whether the stream's switch has been answered yet or not.
    bool isTestRunning() const { return testRunning; }
    // Complete once signReadingComplete has come.
    const SensorSnapshot_t& sensor() const { return snapshot; }
    // The raw readings of this connection's live test, oldest first, at most TEST_READINGS_KEPT.
    const QVector<qint32>& testReadings() const { return readings; }
    static constexpr int TEST_READINGS_KEPT = 100;

    // Commands. Each returns false, sends nothing and logs a warning unless the reading is complete and nothing else
    // is under way; while the live test runs only stopTest() is taken.
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
    // Also taken while the stream-on awaits its answer: the stream-off follows as soon as it has come.
    bool stopTest();
    // Reads the stored calibration into sensor().calibration, which stays unknown if the sensor refuses.
    bool readCalibration();
    // Writes target's setup as the window would (writtenSetup, see profileSequence) and reads back what the sensor
    // then holds into sensor(). Refused when target holds a value the window would not write (writeIssues).
    bool writeProfile(const SensorSnapshot_t& target);

signals:
    // Toward the link: one request.
    void signToDevice(nlohmann::json);
    void signPortOpened();
    void signReadingComplete();
    // isBusy() changed.
    void signBusyChanged(bool busy);
    void signTestRunningChanged(bool running);
    // A step of a sequence was sent: step (from 1) of count.
    void signProgress(const QString& sequence, int step, int count);
    // A write sequence ended with every step acknowledged.
    void signSaved(SequenceE sequence);
    // The sensor refused the tank record as invalid input; the connection stays.
    void signRefused();
    void signCalibrated(CalibrationPointE point, qint32 value);
    void signMeasurement(Installation_t reading);
    void signCalibrationRead();
    // Writing a profile ended (completely or at a refusal), and what the sensor holds has been read back.
    void signProfileWritten(const SequenceOutcome_t& outcome);
    // A write sequence was cut short by the connection's end (the error path, the line lost, close()); comes before
    // signFailed or signLost.
    void signWriteCut(const SequenceOutcome_t& outcome);
    // The conversation failed (an unexpected reply, a refusal, a bad record, no reply in time): the link is closed.
    void signFailed(const Failure_t& failure);
    // The port reported an error (unplugged, cannot be opened): the link is already closed. Before signPortOpened
    // the port could not be opened, for the reason error gives.
    void signLost(QSerialPort::SerialPortError error);

public slots:
    // Every decoded reply of the sensor.
    void slotFromDevice(const nlohmann::json& inReply);
    void slotSerialError(QSerialPort::SerialPortError inError);

private slots:
    void slotReplyTimeout();

private:
    enum class StateE { OPENING, READING, RUNNING, IDLE, TESTING, ENDED };

    // False, with a warning, unless the command may start now.
    bool mayStart(const char* command, bool stop = false) const;
    void run(Sequence_t sequence);
    void sendStep();
    void acceptReply(const nlohmann::json& reply);
    void refuseStep();
    void finishSequence();
    void measurementArrived(const nlohmann::json& reply);
    void setState(StateE state);
    void setTestRunning(bool running);
    // The error path, for the step under way.
    void fail(FailureE kind, const QString& reply = {});
    // Ends the link; a write under way is reported as cut, with how.
    void end(SequenceEndE how);
    void shutLink();

    SerialParser_t* parserP = nullptr; // null once ended
    QTimer* replyTimerP;
    int replyTimeoutMs = DEFAULT_REPLY_TIMEOUT_MS;
    StateE state = StateE::OPENING;
    bool testRunning = false;
    // Until the first awaited reply has come, anything else on the line is left over from before this connection.
    bool replyAccepted = false;
    bool closeAtStepEnd = false; // closeAfterStep() was called
    SensorSnapshot_t snapshot;
    QVector<qint32> readings;

    // The sequence under way, its next step and how far it got.
    std::optional<Sequence_t> sequence;
    int stepIndex = 0;
    SequenceOutcome_t outcome;
};
