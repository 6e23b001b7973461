#pragma once
// The serial port of one link, living in the serial thread: requests leave as one frame each, received frames are
// decoded once, queued and handed on as JSON values, one every DISPATCH_INTERVAL_MS.

#include "metatypes.h"
#include <QByteArray>
#include <QList>
#include <QSerialPort>

#include <nlohmann/json.hpp>

class QTimer;

class SerialParserWorker_t : public QSerialPort {
    Q_OBJECT

public:
    // Bytes kept while waiting for a frame delimiter; far above the largest frame.
    static constexpr int RX_DATA_LIMIT = 64 * 1024;
    // Received items waiting for dispatch; the oldest is dropped beyond this.
    static constexpr int RX_FRAMES_LIMIT = 256;
    static constexpr int DISPATCH_INTERVAL_MS = 100;

    // Only the port name is set; the port stays closed and keeps the library's line settings.
    explicit SerialParserWorker_t(const QString& portName, QObject* parent = nullptr);

    // Opens the port for reading and writing; a failure is logged with the port and the reason (for support, who
    // read the log file: a missing permission shows here and nowhere else) and reported through errorOccurred.
    void openPort();

signals:
    void signFromDevice(nlohmann::json);

public slots:
    // The request leaves as one frame in one write; one that does not fit a frame is dropped with a warning.
    void slotToDevice(nlohmann::json inRequest);
    void slotReadyRead();
    void slotReadString();

private:
    void queueItem(const QByteArray& item);
    void queueValue(const nlohmann::json& value, bool measurement);
    void closeAfterError(QSerialPort::SerialPortError inError);

    QTimer* readTimerP;
    QByteArray rxData;
    QList<nlohmann::json> rxReplies;
    bool lastQueuedIsMeasurement = false;
};
