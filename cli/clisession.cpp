#include "clisession.h"

#include "clioutput.h"
#include "portchoice.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The system's reason when the serial library names none of its own: open the device once more to learn it.
QString systemReason(const QString& portName) {
    const QString path = portName.startsWith(QLatin1Char('/')) ? portName : QStringLiteral("/dev/") + portName;
    if (QFileInfo(path).isDir())
        return QStringLiteral("a directory, not a serial port");
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    ::close(fd);
    return QStringLiteral("the serial port library cannot use it");
}

// Why the port cannot be opened, from the error the port reported before the sensor's first reply.
QString openProblem(QSerialPort::SerialPortError error, const QString& portName) {
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
        return systemReason(portName);
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
    // The connection says the port is open before opening can still fail: the second step sent means a reply came.
    connect(connectionP, &SensorConnection_t::signProgress, this,
            [this](const QString&, int step, int) { portOpened = portOpened || step > 1; });
    connect(connectionP, &SensorConnection_t::signReadingComplete, this, [this] { portOpened = true; });
    connect(connectionP, &SensorConnection_t::signLost, this, &CliSession_t::slotLost);
    connect(connectionP, &SensorConnection_t::signFailed, this, [this](const Failure_t& failure) {
        finish(ExitCodeE::NO_REPLY, QStringLiteral("%1: %2").arg(chosen.shownName, failureLine(failure)));
    });
    whenOutputLost([this] { finish(ExitCodeE::OUTPUT_LOST); });
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
    if (portOpened)
        finish(ExitCodeE::NO_REPLY, QStringLiteral("%1: the line was lost").arg(chosen.shownName));
    else
        finish(ExitCodeE::NO_SENSOR, QStringLiteral("%1: cannot open the port: %2")
                                         .arg(chosen.shownName, openProblem(inError, chosen.port.portName)));
}
