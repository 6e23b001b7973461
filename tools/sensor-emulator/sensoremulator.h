#pragma once
// An emulated level sensor on a pseudo-terminal. A client opens slavePath() like the sensor's serial port and
// speaks the real wire format; the emulator keeps the sensor's state, answers every request, streams measurements
// in installation mode and misbehaves as its faults say. Lives in one thread, driven by its event loop.

#include "emulatorfaults.h"
#include "frameoutput.h"
#include "pseudoterminal.h"
#include "sensorstate.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <nlohmann/json.hpp>

class QSocketNotifier;

class SensorEmulator_t : public QObject {
    Q_OBJECT

public:
    explicit SensorEmulator_t(QObject* parent = nullptr);

    // Opens the pseudo-terminal and starts serving; false with the system's reason when no pseudo-terminal
    // can be opened.
    bool start(QString& error);
    // The device path a client opens, e.g. "/dev/pts/5"; empty before start and after the line dropped.
    QString slavePath() const;

    // Takes effect at once, also while serving; streamAtStart switches installation mode on.
    void setFaults(const EmulatorFaults_t& faults);
    // Measurements per second in installation mode, 0.1..100 (default 5); false for a rate outside that range.
    bool setStreamRate(double perSecond);

    // Every request received, oldest first, as compact JSON text with object keys sorted,
    // e.g. ["TankConfig",{"id":0}]. Frames that do not decode are not requests.
    QStringList requests() const;
    // Empties the logs of requests and measurements (they grow without end for the tests' sake).
    void forgetLogs();
    // Every measurement the stream has sent, oldest first.
    QList<Installation_t> streamed() const;

    // The whole state: Info, TankConfig, Records, OmnicommConfig, Calibration, Installation.
    nlohmann::json stateJson() const;
    // Sections missing in the file keep their values. False with a reason, state untouched, on a bad file.
    bool loadState(const QString& path, QString& error);
    bool saveState(const QString& path, QString& error) const;

signals:
    // The line dropped (fault dropAfter): nothing is served after the last frame, and both ends are closed once
    // the client has read that frame.
    void signLineDropped();

private slots:
    void slotReadable();
    void slotStreamTick();
    void slotDropLine();
    void slotCloseWhenDrained();

private:
    void handleItem(const QByteArray& item);
    void updateStream();
    void sendMeasurement();
    Installation_t currentReading() const;

    PseudoTerminal_t pty;
    QSocketNotifier* readableP = nullptr; // null while not serving
    FrameOutput_t output;
    EmulatorFaults_t faults;
    SensorState_t state;
    QStringList requestLog;
    QList<Installation_t> streamLog;
    QByteArray received;            // bytes after the last delimiter
    bool streamOffAnswered = false; // since the last stream-on
    QElapsedTimer clock;
    QElapsedTimer dropClock;
    QTimer streamTimer;
};
