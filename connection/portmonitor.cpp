#include "portmonitor.h"

#include "portlist.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <libudev.h>
#include <unistd.h>

namespace {

// The udev daemon's control socket: without the daemon no event reaches a monitor.
const char UDEV_CONTROL_SOCKET[] = "/run/udev/control";

bool hasId(udev_device* device, const char* property, quint16 id) {
    bool ok = false;
    const quint16 value = QByteArray(udev_device_get_property_value(device, property)).toUShort(&ok, 16);
    return ok && value == id;
}

// udev copies the USB ids into the tty's properties; a remove event still carries them.
bool isSensor(udev_device* device) {
    return hasId(device, "ID_VENDOR_ID", SENSOR_VENDOR_ID) && hasId(device, "ID_MODEL_ID", SENSOR_PRODUCT_ID);
}

bool canReadAndWrite(const QString& devnode) {
    return ::access(QFile::encodeName(devnode).constData(), R_OK | W_OK) == 0;
}

} // namespace

PortMonitor_t::PortMonitor_t(QObject* parent, AccessCheckF canOpen)
    : QObject(parent), canOpen(canOpen ? std::move(canOpen) : AccessCheckF(canReadAndWrite)),
      retryTimerP(new QTimer(this)) {
    retryTimerP->setInterval(ACCESS_RETRY_MS);
    connect(retryTimerP, &QTimer::timeout, this, &PortMonitor_t::slotRetryAccess);
}

PortMonitor_t::~PortMonitor_t() {
    udev_monitor_unref(monitorP);
    udev_unref(udevP);
}

bool PortMonitor_t::start() {
    udevP = udev_new();
    monitorP = udevP ? udev_monitor_new_from_netlink(udevP, "udev") : nullptr;
    if (!monitorP || udev_monitor_filter_add_match_subsystem_devtype(monitorP, "tty", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitorP) < 0) {
        qWarning() << "Port monitor unavailable, polling the ports";
        return false;
    }
    notifierP = new QSocketNotifier(udev_monitor_get_fd(monitorP), QSocketNotifier::Read, this);
    connect(notifierP, &QSocketNotifier::activated, this, &PortMonitor_t::slotUdevReadable);
    return QFileInfo::exists(QLatin1String(UDEV_CONTROL_SOCKET));
}

void PortMonitor_t::slotUdevReadable() {
    // Every event waiting is taken now: the notifier fires again only for new ones.
    while (udev_device* device = udev_monitor_receive_device(monitorP)) {
        const QByteArray action = udev_device_get_action(device);
        const QString devnode = QString::fromLocal8Bit(udev_device_get_devnode(device));
        if (isSensor(device) && !devnode.isEmpty()) {
            qInfo() << "Sensor port" << action << devnode;
            if (action == "add")
                handleAdded(devnode);
            else if (action == "remove")
                handleRemoved(devnode);
        }
        udev_device_unref(device);
    }
}

void PortMonitor_t::handleAdded(const QString& devnode) {
    if (canOpen(devnode)) {
        emit signSensorPortsChanged();
        return;
    }
    if (!waitingNodes.contains(devnode))
        waitingNodes.append(devnode);
    retriesLeft = ACCESS_PATIENCE_MS / ACCESS_RETRY_MS;
    retryTimerP->start();
}

void PortMonitor_t::handleRemoved(const QString& devnode) {
    waitingNodes.removeAll(devnode);
    if (waitingNodes.isEmpty())
        retryTimerP->stop();
    emit signSensorPortsChanged();
}

void PortMonitor_t::slotRetryAccess() {
    const int waiting = waitingNodes.size();
    waitingNodes.erase(std::remove_if(waitingNodes.begin(), waitingNodes.end(), canOpen), waitingNodes.end());
    if (--retriesLeft <= 0) {
        // Listed all the same: connecting then tells the user what is wrong.
        qWarning() << "Sensor port still not accessible" << waitingNodes;
        waitingNodes.clear();
    }
    if (waitingNodes.isEmpty())
        retryTimerP->stop();
    if (waitingNodes.size() != waiting)
        emit signSensorPortsChanged();
}
