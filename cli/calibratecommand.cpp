// calibrate and reset-calibration: the command is the confirmation, so nothing is asked.
#include "clicommands.h"
#include "clioutput.h"
#include "clisession.h"

namespace {

// Said before the failure's own line, which ends the command.
void reportCut(CliSession_t& session) {
    QObject::connect(&session.connection(), &SensorConnection_t::signWriteCut, &session,
                     [](const SequenceOutcome_t& outcome) { printMessage(writeOutcomeLine(outcome)); });
}

} // namespace

int runCalibrate(const CliOptions_t& options) {
    const bool empty = options.arguments.first() == QLatin1String("empty");
    CliSession_t session(options);
    reportCut(session);
    session.whenReady(
        [&] { session.connection().calibrate(empty ? CalibrationPointE::EMPTY : CalibrationPointE::FULL); });
    QObject::connect(&session.connection(), &SensorConnection_t::signCalibrated, &session,
                     [&](CalibrationPointE, qint32 value) {
                         printData(QString::number(value));
                         session.finish(ExitCodeE::OK);
                     });
    return session.run();
}

int runResetCalibration(const CliOptions_t& options) {
    CliSession_t session(options);
    reportCut(session);
    session.whenReady([&] { session.connection().resetCalibration(); });
    QObject::connect(&session.connection(), &SensorConnection_t::signSaved, &session, [&](SequenceE) {
        printMessage(QStringLiteral("calibration reset"));
        session.finish(ExitCodeE::OK);
    });
    return session.run();
}
