#include "serialparser.h"

#include "metatypes.h"
#include "serialparserworker.h"

#include <QDebug>
#include <QThread>

SerialParser_t::SerialParser_t(const QString& portName, QObject* parent) : QObject(parent) {
    registerMetaTypes(); // for any front end, not only the window's start-up
    threadP = new QThread(this);
    workerP = new SerialParserWorker_t(portName);
    workerP->moveToThread(threadP);
    threadP->start(QThread::HighPriority);

    connect(this, &SerialParser_t::signToDevice, workerP, &SerialParserWorker_t::slotToDevice);
    connect(workerP, &SerialParserWorker_t::signFromDevice, this, &SerialParser_t::signFromDevice);
    connect(this, &SerialParser_t::signOpen, workerP, [worker = workerP] { worker->openPort(); });
    connect(workerP, &QSerialPort::errorOccurred, this, &SerialParser_t::signError);
    connect(threadP, &QThread::finished, workerP, &QObject::deleteLater);
}

SerialParser_t::~SerialParser_t() {
    threadP->quit();
    // The worker's deferred deletion runs in the serial thread as it finishes, closing the port there.
    threadP->wait();
    qInfo() << "Serial thread end";
}

void SerialParser_t::slotToDevice(const nlohmann::json& inRequest) {
    emit signToDevice(inRequest);
}
