#include "clisession.h"

#include "clioutput.h"
#include "portchoice.h"

#include <QCoreApplication>
#include <QDateTime>

namespace {

// Why the port cannot be opened, for the errors only opening reports; empty for a later error (the line lost).
QString openProblem(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::PermissionError:
        return QStringLiteral("permission denied, or open in another program (is the udev rule installed?)");
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("no such device");
    case QSerialPort::OpenError:
        return QStringLiteral("already open");
    case QSerialPort::UnsupportedOperationError:
        return QStringLiteral("not a serial port");
    default:
        return {};
    }
}

} // namespace

CliSession_t::CliSession_t(const CliOptions_t& options, QObject* parent) : QObject(parent) {
    choiceCode = choosePort(options.port, sensorPorts(systemPorts()), chosen, choiceProblem);
    connectionP = new SensorConnection_t(chosen.port.portName, this);
    if (options.timeoutMs > 0)
        connectionP->setReplyTimeoutMs(options.timeoutMs);
    connect(connectionP, &SensorConnection_t::signReadingComplete, this, [this] {
        if (onReady)
            onReady();
    });
    connect(connectionP, &SensorConnection_t::signLost, this, &CliSession_t::slotLost);
    // Said before the failure's own line, which ends the command.
    connect(connectionP, &SensorConnection_t::signWriteCut, this,
            [](const SequenceOutcome_t& outcome) { printMessage(writeOutcomeLine(outcome)); });
    connect(connectionP, &SensorConnection_t::signFailed, this, [this] {
        finish(ExitCodeE::NO_REPLY,
               QStringLiteral("%1: no reply in time, or an unexpected reply").arg(chosen.shownName));
    });
    connect(connectionP, &SensorConnection_t::signRefused, this,
            [this] { finish(ExitCodeE::REFUSED, QStringLiteral("the sensor refused the write")); });
}

void CliSession_t::whenReady(std::function<void()> ready) {
    onReady = std::move(ready);
}

int CliSession_t::run() {
    if (choiceCode != ExitCodeE::OK) {
        printMessage(choiceProblem);
        return static_cast<int>(choiceCode);
    }
    connectionP->open(); // everything it reports comes through the event loop
    return QCoreApplication::exec();
}

void CliSession_t::finish(ExitCodeE code, const QString& message) {
    if (finished)
        return;
    finished = true;
    if (!message.isEmpty())
        printMessage(message);
    // The connection closes with the session, after exec(): this may run inside one of its signals.
    QCoreApplication::exit(static_cast<int>(code));
}

void CliSession_t::readProfile(std::function<void(const SensorProfile_t&)> done) {
    connect(connectionP, &SensorConnection_t::signCalibrationRead, this, [this, done = std::move(done)] {
        SensorProfile_t profile;
        profile.saved = QDateTime::currentDateTime();
        profile.programVersion = QCoreApplication::applicationVersion();
        profile.portName = chosen.shownName;
        profile.sensor = connectionP->sensor();
        done(profile);
    });
    connectionP->readCalibration();
}

void CliSession_t::slotLost(QSerialPort::SerialPortError inError) {
    const QString problem = openProblem(inError);
    if (problem.isEmpty())
        finish(ExitCodeE::NO_REPLY, QStringLiteral("%1: the line was lost").arg(chosen.shownName));
    else
        finish(ExitCodeE::NO_SENSOR, QStringLiteral("%1: cannot open the port: %2").arg(chosen.shownName, problem));
}
