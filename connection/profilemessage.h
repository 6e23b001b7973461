#pragma once
// Texts of profile files for the user, in Russian, under one translation context.

#include <QCoreApplication>

inline QString profileMessage(const char* text) {
    return QCoreApplication::translate("SensorProfile", text);
}
