#pragma once
// Notices a sensor being plugged in or unplugged as it happens: a udev monitor on the tty subsystem, read through a
// socket notifier. Where udev does not run, or its monitor cannot be set up, the caller polls the port list instead.

#include <QObject>
#include <QStringList>
#include <functional>

class QSocketNotifier;
class QTimer;
struct udev;
struct udev_monitor;

class PortMonitor_t : public QObject {
    Q_OBJECT

public:
    // Whether the process may open a device node for reading and writing.
    using AccessCheckF = std::function<bool(const QString& devnode)>;

    // A plugged-in sensor whose node may not be opened yet (udev rules and the login seat set its permissions just
    // after it appears) is tried this often, for this long, before it is announced all the same.
    static constexpr int ACCESS_RETRY_MS = 100;
    static constexpr int ACCESS_PATIENCE_MS = 2000;

    // canOpen: empty for the process's own read and write access.
    explicit PortMonitor_t(QObject* parent = nullptr, AccessCheckF canOpen = {});
    ~PortMonitor_t() override;

    // Starts listening. True when udev announces every plug-in from now on (its daemon runs and the monitor is
    // set up); false when the caller must poll, though events that still arrive are announced.
    bool start();

signals:
    // A sensor port came, and may be opened, or went: the port list is worth refreshing.
    void signSensorPortsChanged();

private slots:
    void slotUdevReadable();
    void slotRetryAccess();

private:
    void handleAdded(const QString& devnode);
    void handleRemoved(const QString& devnode);

    const AccessCheckF canOpen;
    udev* udevP = nullptr;
    udev_monitor* monitorP = nullptr;
    QSocketNotifier* notifierP = nullptr;
    QTimer* retryTimerP = nullptr;
    QStringList waitingNodes; // plugged-in sensors that may not be opened yet, oldest first
    int retriesLeft = 0;
};
