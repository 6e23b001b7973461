#pragma once
// A fake udev world for libudev clients in this process (umockdev): USB serial devices plugged in and unplugged with
// their add and remove events, seen by udev monitors, udev enumeration and the serial port list. The process must run
// with umockdev's preload library (umockdev-wrapper); the constructor stops the program when it does not.

#include <QString>

struct _UMockdevTestbed;

class UdevTestbed_t {
public:
    UdevTestbed_t();
    ~UdevTestbed_t();
    UdevTestbed_t(const UdevTestbed_t&) = delete;
    UdevTestbed_t& operator=(const UdevTestbed_t&) = delete;

    // Plugs in a USB virtual serial port /dev/<name> with the given ids and serial number (an add event for the
    // tty); returns the tty's sysfs path.
    QString plugIn(const QString& name, quint16 vendorId, quint16 productId, const QString& serialNumber);
    // The remove event for the tty, then the device is gone.
    void unplug(const QString& ttyPath);

private:
    _UMockdevTestbed* testbedP;
    int plugged = 0; // numbers the USB devices
};
