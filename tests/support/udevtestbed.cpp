#include "udevtestbed.h"

#include <umockdev.h>

#include <QtGlobal>

UdevTestbed_t::UdevTestbed_t() : testbedP(umockdev_testbed_new()) {
    if (!umockdev_in_mock_environment())
        qFatal("run under umockdev-wrapper: libudev clients would see the real devices");
}

UdevTestbed_t::~UdevTestbed_t() {
    g_object_unref(testbedP);
}

QString UdevTestbed_t::plugIn(const QString& name, quint16 vendorId, quint16 productId, const QString& serialNumber) {
    ++plugged;
    const QString usb = QStringLiteral("/devices/pci0000:00/usb1/1-%1").arg(plugged);
    const auto hex = [](quint16 id) { return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0')); };
    // As udev describes a CDC ACM port: the USB device, its interface, and the tty with the ids copied in by rules.
    const QString description =
        QStringLiteral("P: %1\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nA: idVendor=%2\nA: idProduct=%3\n"
                       "A: serial=%4\n\n"
                       "P: %1/%5:1.0\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\nE: DRIVER=cdc_acm\n\n"
                       "P: %1/%5:1.0/tty/%6\nN: %6\nE: SUBSYSTEM=tty\nE: DEVNAME=/dev/%6\nE: ID_VENDOR_ID=%2\n"
                       "E: ID_MODEL_ID=%3\nE: ID_SERIAL_SHORT=%4\nE: ID_BUS=usb\nA: dev=166:%7\n")
            .arg(usb, hex(vendorId), hex(productId), serialNumber, usb.section('/', -1), name,
                 QString::number(plugged));
    GError* error = nullptr;
    if (!umockdev_testbed_add_from_string(testbedP, description.toUtf8().constData(), &error))
        qFatal("test bed refused the device: %s", error->message);
    return QStringLiteral("/sys%1/%2:1.0/tty/%3").arg(usb, usb.section('/', -1), name);
}

void UdevTestbed_t::unplug(const QString& ttyPath) {
    const QByteArray path = ttyPath.toUtf8();
    umockdev_testbed_uevent(testbedP, path.constData(), "remove");
    umockdev_testbed_remove_device(testbedP, path.constData());
}
