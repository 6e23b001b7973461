#pragma once
// The GUI-thread face of one serial link. It runs a SerialParserWorker_t in a thread of its own and relays requests,
// decoded replies and port errors as queued signals. Deleting it stops the thread and closes the port there.

#include "metatypes.h"
#include <QObject>
#include <QSerialPort>

#include <nlohmann/json.hpp>

class QThread;
class SerialParserWorker_t;

class SerialParser_t : public QObject {
    Q_OBJECT

public:
    // portName: a name from the port list or a full device path such as /dev/pts/5. The port opens on signOpen.
    explicit SerialParser_t(const QString& portName, QObject* parent = nullptr);
    ~SerialParser_t() override;

signals:
    void signToDevice(nlohmann::json);
    void signFromDevice(nlohmann::json);
    void signError(QSerialPort::SerialPortError);
    void signOpen();

public slots:
    void slotToDevice(const nlohmann::json& inRequest);

private:
    SerialParserWorker_t* workerP;
    QThread* threadP;
};
