#pragma once
// Tag of every item of device data handed from the serial thread to the window. The numbers are fixed.

#include <QMetaType>
#include <QtGlobal>

enum class SerialDataTypeE : quint8 {
    OK = 0,
    INFO = 1,
    MEASUREMENT = 9,
    ERROR = 18,
    TANK_CONFIG = 19,
    TANK_RECORD = 20,
    NO_DATA = 22,
};
Q_DECLARE_METATYPE(SerialDataTypeE)
