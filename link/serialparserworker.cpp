#include "serialparserworker.h"

#include "responses.h"
#include "wireframe.h"

#include <QDebug>
#include <QTimer>

SerialParserWorker_t::SerialParserWorker_t(const QString& portName, QObject* parent)
    : QSerialPort(parent), readTimerP(new QTimer(this)) {
    setPortName(portName);
    connect(this, &QSerialPort::readyRead, this, &SerialParserWorker_t::slotReadyRead);
    connect(readTimerP, &QTimer::timeout, this, &SerialParserWorker_t::slotReadString);
    readTimerP->setSingleShot(true);
    readTimerP->setInterval(DISPATCH_INTERVAL_MS);
    // A precise timer never fires early, so items never follow each other faster than the interval.
    readTimerP->setTimerType(Qt::PreciseTimer);
    // Queued: the error is forwarded before the port closes, and close() never runs inside the port's own emission.
    connect(this, &QSerialPort::errorOccurred, this, &SerialParserWorker_t::closeAfterError, Qt::QueuedConnection);
}

void SerialParserWorker_t::openPort() {
    if (!open(QIODevice::ReadWrite))
        qWarning() << "Port open failed:" << portName() << errorString();
}

void SerialParserWorker_t::slotToDevice(nlohmann::json inRequest) {
    const QByteArray frame = jsonToFrame(inRequest);
    if (frame.isEmpty())
        return; // jsonToFrame has logged why
    write(frame);
}

void SerialParserWorker_t::slotReadyRead() {
    rxData.append(readAll());
    qInfo() << "fromSerial: " << rxData;
    // Every zero byte ends one item, so frames that arrive together are never merged.
    int start = 0;
    for (int end = rxData.indexOf('\0'); end >= 0; end = rxData.indexOf('\0', start)) {
        queueItem(rxData.mid(start, end + 1 - start));
        start = end + 1;
    }
    rxData.remove(0, start);
    if (rxData.size() > RX_DATA_LIMIT) {
        qWarning() << "No frame end in" << rxData.size() << "bytes, dropped";
        rxData.clear();
    }
}

void SerialParserWorker_t::slotReadString() {
    if (rxReplies.isEmpty())
        return;
    emit signFromDevice(rxReplies.takeFirst());
    if (!rxReplies.isEmpty())
        readTimerP->start();
}

void SerialParserWorker_t::queueItem(const QByteArray& item) {
    // Decoded here, once: a frame that does not decode or names nothing the sensor sends goes no further.
    const nlohmann::json value = frameToJson(item);
    if (const std::optional<ReplyKindE> kind = replyKind(value))
        queueValue(value, *kind == ReplyKindE::MEASUREMENT);
}

void SerialParserWorker_t::queueValue(const nlohmann::json& value, bool measurement) {
    // A sensor streaming faster than the dispatch pace would bury its replies behind a growing backlog of
    // measurements: a measurement still waiting gives way to the newer one, so none piles up behind another.
    if (measurement && lastQueuedIsMeasurement && !rxReplies.isEmpty()) {
        rxReplies.last() = value;
        return;
    }
    lastQueuedIsMeasurement = measurement;
    if (rxReplies.size() >= RX_FRAMES_LIMIT) {
        rxReplies.removeFirst();
        qWarning() << "Receive queue full, dropped the oldest reply";
    }
    rxReplies.append(value);
    // Started, not restarted: a sensor that streams faster than the interval must not hold back every dispatch.
    if (!readTimerP->isActive())
        readTimerP->start();
}

void SerialParserWorker_t::closeAfterError(QSerialPort::SerialPortError inError) {
    // Qt 5.15 reports a hung-up tty again on every event loop pass while the port stays open; closing ends that.
    if (inError != QSerialPort::NoError && isOpen())
        close();
}
