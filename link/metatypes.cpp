#include "metatypes.h"

#include "serialdatatype.h"

#include <QMetaType>
#include <QSerialPort>

void registerMetaTypes() {
    qRegisterMetaType<SerialDataTypeE>("SerialDataTypeE");
    qRegisterMetaType<QSerialPort::SerialPortError>("QSerialPort::SerialPortError");
}
