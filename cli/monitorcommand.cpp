// monitor: the live stream as CSV. Every way of ending it first stops the stream, so the sensor is never left
// streaming: a termination signal, --seconds, or standard output lost (a reader such
// as head gone), which ends it with OUTPUT_LOST.
#include "clicommands.h"
#include "clioutput.h"
#include "clisession.h"
#include "terminationsignals.h"

#include <QElapsedTimer>
#include <QTimer>

namespace {

// Stops the stream once nothing awaits the sensor, and ends the session once it is stopped.
class StreamStop_t {
public:
    explicit StreamStop_t(CliSession_t& session) : session(session) {}

    // The first request's code counts.
    void request(ExitCodeE code = ExitCodeE::OK) {
        if (!requested)
            endCode = code;
        requested = true;
        step();
    }

    bool wasRequested() const { return requested; }

    // Whenever the connection is no longer busy.
    void step() {
        SensorConnection_t& connection = session.connection();
        if (!requested || connection.isBusy())
            return;
        if (connection.isTestRunning())
            connection.stopTest();
        else
            session.finish(endCode);
    }

private:
    CliSession_t& session;
    bool requested = false;
    ExitCodeE endCode = ExitCodeE::OK;
};

} // namespace

int runMonitor(const CliOptions_t& options) {
    CliSession_t session(options);
    SensorConnection_t& connection = session.connection();
    StreamStop_t stop(session);
    if (!onTerminationSignals(*QCoreApplication::instance(), [&] { stop.request(); })) {
        printMessage(QStringLiteral("cannot handle termination signals"));
        return static_cast<int>(ExitCodeE::USAGE);
    }
    whenOutputLost([&] { stop.request(ExitCodeE::OUTPUT_LOST); });
    QElapsedTimer clock;
    session.whenReady([&] {
        if (stop.wasRequested()) { // during the reading, which switched the stream off
            stop.step();
            return;
        }
        printData(QStringLiteral("seconds,RawTOF,mm"));
        if (isOutputLost())
            return; // the stop is on its way
        clock.start();
        if (options.seconds > 0)
            QTimer::singleShot(options.seconds * 1000, &session, [&] { stop.request(); });
        connection.startTest();
    });
    QObject::connect(&connection, &SensorConnection_t::signMeasurement, &session, [&](const Installation_t& reading) {
        printData(QStringLiteral("%1,%2,%3")
                      .arg(static_cast<double>(clock.elapsed()) / 1000.0, 0, 'f', 3)
                      .arg(reading.RawTOF)
                      .arg(reading.mm));
    });
    QObject::connect(&connection, &SensorConnection_t::signBusyChanged, &session, [&](bool busy) {
        if (!busy)
            stop.step();
    });
    return session.run();
}
