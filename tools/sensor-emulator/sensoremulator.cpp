#include "sensoremulator.h"

#include "levelsignal.h"
#include "responses.h"
#include "sensorreply.h"
#include "wireframe.h"

#include <QDebug>
#include <QFile>
#include <QSaveFile>
#include <QSocketNotifier>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <unistd.h>

using nlohmann::json;

namespace {

constexpr double DEFAULT_RATE = 5.0;
constexpr double MIN_RATE = 0.1;
constexpr double MAX_RATE = 100.0;
// A received run without delimiter longer than this is line noise, not a frame.
constexpr int MAX_ITEM_SIZE = 64 * 1024;
// Unread bytes beyond which measurements are skipped: a port nobody reads holds a measurement or two, as a real
// sensor's USB buffer would, instead of an ever longer backlog.
constexpr int STREAM_BACKLOG_LIMIT = 64;
constexpr int READ_CHUNK = 4096;
// A dropping line waits for the client to read what was sent before it, polling, but not for ever.
constexpr int DRAIN_POLL_MS = 20;
constexpr int DRAIN_LIMIT_MS = 1000;

QString compactText(const json& value) {
    return QString::fromStdString(value.dump(-1, ' ', false, json::error_handler_t::replace));
}

void misstateRecordId(json& reply, RecordIdFaultE fault) {
    json& id = reply[1]["id"];
    if (fault == RecordIdFaultE::SHIFTED)
        id = id.get<int>() + 1;
    else if (fault == RecordIdFaultE::OUT_OF_RANGE)
        id = OUT_OF_RANGE_ID;
}

// The "on" value of a stream switch request ["Installation",{"on":n}], or -1 for any other request.
int streamSwitchOf(const json& request) {
    if (responseName(request) != QLatin1String("Installation") || request.size() < 2 || !request[1].is_object())
        return -1;
    const auto on = request[1].find("on");
    return on != request[1].end() && on->is_number_integer() ? on->get<int>() : -1;
}

} // namespace

SensorEmulator_t::SensorEmulator_t(QObject* parent) : QObject(parent), output(this), state(defaultSensorState()) {
    clock.start();
    setStreamRate(DEFAULT_RATE);
    connect(&streamTimer, &QTimer::timeout, this, &SensorEmulator_t::slotStreamTick);
    connect(&output, &FrameOutput_t::signDropDue, this, &SensorEmulator_t::slotDropLine);
}

bool SensorEmulator_t::start(QString& error) {
    if (!pty.open(error))
        return false;
    readableP = new QSocketNotifier(pty.master(), QSocketNotifier::Read, this);
    connect(readableP, &QSocketNotifier::activated, this, &SensorEmulator_t::slotReadable);
    output.attach(pty.master());
    updateStream();
    return true;
}

QString SensorEmulator_t::slavePath() const {
    return pty.slavePath();
}

void SensorEmulator_t::setFaults(const EmulatorFaults_t& newFaults) {
    faults = newFaults;
    output.setFaults(faults);
    if (faults.streamAtStart)
        state.installation = true;
    updateStream();
}

bool SensorEmulator_t::setStreamRate(double perSecond) {
    if (!(perSecond >= MIN_RATE && perSecond <= MAX_RATE))
        return false;
    streamTimer.setInterval(static_cast<int>(std::lround(1000.0 / perSecond)));
    return true;
}

QStringList SensorEmulator_t::requests() const {
    return requestLog;
}

void SensorEmulator_t::forgetLogs() {
    requestLog.clear();
    streamLog.clear();
}

QList<Installation_t> SensorEmulator_t::streamed() const {
    return streamLog;
}

json SensorEmulator_t::stateJson() const {
    return stateToJson(state);
}

bool SensorEmulator_t::loadState(const QString& path, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    const json object = json::parse(file.readAll().toStdString(), nullptr, false);
    if (object.is_discarded()) {
        error = QStringLiteral("not valid JSON");
        return false;
    }
    if (!stateFromJson(object, state, error))
        return false;
    updateStream();
    return true;
}

bool SensorEmulator_t::saveState(const QString& path, QString& error) const {
    QSaveFile file(path);
    const QByteArray text = QByteArray::fromStdString(stateJson().dump(4)) + '\n';
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

void SensorEmulator_t::slotReadable() {
    char buffer[READ_CHUNK];
    for (;;) {
        const ssize_t n = ::read(pty.master(), buffer, sizeof buffer);
        if (n > 0) {
            received.append(buffer, static_cast<int>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
            // Cannot happen while the slave is held open; stop listening rather than spin.
            qWarning() << "Emulator: read failed" << (n == 0 ? "end of file" : std::strerror(errno));
            readableP->setEnabled(false);
        }
        break;
    }
    for (int end = received.indexOf('\0'); end >= 0; end = received.indexOf('\0')) {
        const QByteArray item = received.left(end + 1);
        received.remove(0, end + 1);
        if (item.size() > 1)
            handleItem(item);
    }
    if (received.size() > MAX_ITEM_SIZE) {
        qWarning() << "Emulator: dropped bytes without delimiter" << received.size();
        received.clear();
    }
}

void SensorEmulator_t::handleItem(const QByteArray& item) {
    const json request = frameToJson(item);
    if (request.is_null()) {
        qWarning() << "Emulator: dropped a bad frame" << item.toHex(' ');
        return;
    }
    const QString text = compactText(request);
    requestLog << text;
    if (!faults.silentCommand.isEmpty() && responseName(request) == faults.silentCommand)
        return;
    const int streamSwitch = streamSwitchOf(request);
    if (faults.ignoreRepeatedStreamOff && streamSwitch == 0 && streamOffAnswered)
        return;
    if (streamSwitch >= 0)
        streamOffAnswered = streamSwitch == 0;
    if (faults.measurementBeforeStreamOk && streamSwitch == 1)
        sendMeasurement();
    const bool overridden = !faults.overridePrefix.isEmpty() && text.startsWith(faults.overridePrefix);
    json reply = overridden ? faults.overrideReply : replyTo(request, currentReading(), state);
    if (isRecordReply(reply))
        misstateRecordId(reply, faults.recordId);
    const bool delayed = faults.delayedPrefix.isEmpty() || text.startsWith(faults.delayedPrefix);
    output.send(jsonToFrame(reply), delayed ? faults.replyDelayMs : 0);
    updateStream();
}

void SensorEmulator_t::updateStream() {
    if (state.installation && readableP) {
        if (!streamTimer.isActive())
            streamTimer.start();
    } else {
        streamTimer.stop();
    }
}

void SensorEmulator_t::slotStreamTick() {
    if (output.pendingBytes() + pty.backlog() > STREAM_BACKLOG_LIMIT)
        return;
    sendMeasurement();
}

void SensorEmulator_t::sendMeasurement() {
    const Installation_t reading = currentReading();
    streamLog << reading;
    output.send(jsonToFrame(json::array({"Installation", installationToJson(reading)})), 0);
}

void SensorEmulator_t::slotDropLine() {
    if (!readableP)
        return;
    output.attach(-1);
    readableP->setEnabled(false);
    readableP->deleteLater(); // may run inside its own signal
    readableP = nullptr;
    received.clear();
    updateStream();
    dropClock.start();
    QTimer::singleShot(DRAIN_POLL_MS, this, &SensorEmulator_t::slotCloseWhenDrained);
}

void SensorEmulator_t::slotCloseWhenDrained() {
    // Closing the master discards what the client has not read yet, and the frames before the drop must arrive.
    if (pty.backlog() > 0 && dropClock.elapsed() < DRAIN_LIMIT_MS) {
        QTimer::singleShot(DRAIN_POLL_MS, this, &SensorEmulator_t::slotCloseWhenDrained);
        return;
    }
    pty.close();
    emit signLineDropped();
}

Installation_t SensorEmulator_t::currentReading() const {
    return simulatedReading(state.records[state.tankConfig.Active], clock.elapsed());
}
