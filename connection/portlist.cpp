#include "portlist.h"

#include <QSerialPortInfo>

namespace {

bool isSensorPort(const PortDescriptor_t& port) {
    return !port.portName.startsWith(QLatin1String("tty.")) && port.hasIds && port.vendorId == SENSOR_VENDOR_ID &&
           port.productId == SENSOR_PRODUCT_ID;
}

QString shownName(const PortDescriptor_t& port) {
    const int colon = port.serialNumber.indexOf(QLatin1Char(':'));
    const QString suffix = port.serialNumber.mid(colon + 1);
    if (suffix.compare(QLatin1String("Velmaro1"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Velmaro#") + port.serialNumber.left(colon);
    return port.portName;
}

} // namespace

QList<ShownPort_t> sensorPorts(const QList<PortDescriptor_t>& available) {
    QList<ShownPort_t> shown;
    for (const PortDescriptor_t& port : available) {
        if (isSensorPort(port))
            shown.append({port, shownName(port)});
    }
    return shown;
}

QList<PortDescriptor_t> systemPorts() {
    QList<PortDescriptor_t> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const bool hasIds = info.hasVendorIdentifier() && info.hasProductIdentifier();
        ports.append({info.portName(), hasIds, info.vendorIdentifier(), info.productIdentifier(), info.serialNumber()});
    }
    return ports;
}
