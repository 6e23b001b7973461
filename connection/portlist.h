#pragma once
// Which serial ports belong to the sensor, and the names the window and the command-line tool show for them.

#include <QList>
#include <QString>
#include <functional>

// What the front ends need to know of one serial port; built from QSerialPortInfo or given directly
// (a device path with the sensor's identifiers, as the demo does for its emulator).
struct PortDescriptor_t {
    QString portName; // name as the port list gives it (ttyACM0, COM5) or a full device path
    bool hasIds = false;
    quint16 vendorId = 0;
    quint16 productId = 0;
    QString serialNumber;
};

struct ShownPort_t {
    PortDescriptor_t port;
    QString shownName;
};

using PortSource_t = std::function<QList<PortDescriptor_t>()>;

// USB identifiers of the sensor's virtual serial port (STMicroelectronics' virtual COM port).
constexpr quint16 SENSOR_VENDOR_ID = 0x0483;
constexpr quint16 SENSOR_PRODUCT_ID = 0x5740;

// The sensor's ports among the available ones, in their order, each with its shown name:
// "Velmaro#" and the text before the first colon when the serial number ends in ":Velmaro1" (any case),
// otherwise the port name. Ports whose name begins with "tty." are never offered.
QList<ShownPort_t> sensorPorts(const QList<PortDescriptor_t>& available);

// Every port the system lists now.
QList<PortDescriptor_t> systemPorts();
