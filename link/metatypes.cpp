#include "metatypes.h"

#include <QMetaType>
#include <QSerialPort>
#include <nlohmann/json.hpp>

void registerMetaTypes() {
    qRegisterMetaType<nlohmann::json>("nlohmann::json");
    qRegisterMetaType<QSerialPort::SerialPortError>("QSerialPort::SerialPortError");
}
