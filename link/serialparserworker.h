#pragma once
// The serial port of one link, living in the serial thread: requests leave as one frame each, received frames are
// queued and handed on tagged, one every DISPATCH_INTERVAL_MS.

#include "serialdatatype.h"

#include <QByteArray>
#include <QList>
#include <QSerialPort>

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
    void signFromDevice(SerialDataTypeE, QByteArray);

public slots:
    // A JSON request leaves as one frame in one write; anything else is dropped with a warning.
    void slotToDevice(QByteArray inData);
    void slotReadyRead();
    void slotReadString();

private:
    void queueItem(const QByteArray& item);
    void closeAfterError(QSerialPort::SerialPortError inError);

    QTimer* readTimerP;
    QByteArray rxData;
    QList<QByteArray> rxFrames;
    bool lastQueuedIsMeasurement = false;
};
