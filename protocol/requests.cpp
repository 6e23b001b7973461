#include "requests.h"

#include "devicerecords.h"

namespace {
// The name array left open for a data object: drop the closing bracket, add a comma and a blank.
QByteArray prefixOf(const QByteArray& bareRequest) {
    return bareRequest.chopped(1) + ", ";
}

// Template filled in one pass (a text value containing "%2" stays as it is), then appended to the prefix.
template <typename... Values>
QByteArray request(const QByteArray& prefix, const QString& format, const Values&... values) {
    return prefix + format.arg(values...).toLocal8Bit();
}
} // namespace

namespace Cmd {
const QByteArray INFO = QByteArrayLiteral("[\"Info\"]");
const QByteArray TANK_CONFIG = QByteArrayLiteral("[\"TankConfig\"]");
const QByteArray INSTALLATION = QByteArrayLiteral("[\"Installation\"]");
const QByteArray OMNICOMM_CONFIG = QByteArrayLiteral("[\"OmnicommConfig\"]");
const QByteArray CALIBRATION = QByteArrayLiteral("[\"Calibration\"]");
const QByteArray TANK_CONFIG_PREFIX = prefixOf(TANK_CONFIG);
const QByteArray INSTALLATION_PREFIX = prefixOf(INSTALLATION);
const QByteArray OMNICOMM_CONFIG_PREFIX = prefixOf(OMNICOMM_CONFIG);
const QByteArray CALIBRATION_PREFIX = prefixOf(CALIBRATION);
} // namespace Cmd

QString responseNameOf(const QByteArray& bareRequest) {
    return QString::fromUtf8(QByteArray(bareRequest).replace("[\"", "").replace("\"]", ""));
}

QByteArray reqTankRecord(int id) {
    return request(Cmd::TANK_CONFIG_PREFIX, QStringLiteral("{\"id\":%1}]"), QString::number(id));
}

QByteArray reqActiveRecord(int active) {
    return request(Cmd::TANK_CONFIG_PREFIX, QStringLiteral("{\"Active\":%1}]"), QString::number(active));
}

QByteArray reqWriteTankConfig(const QString& liquid, int mixture, int active) {
    return request(Cmd::TANK_CONFIG_PREFIX,
                   QStringLiteral("{\"Qty\":%1,\"Mixture\":%2,\"Liquid\":\"%3\",\"Active\":%4}]"),
                   QString::number(TANK_RECORD_COUNT), QString::number(mixture), liquid, QString::number(active));
}

QByteArray reqWriteTankRecord(const QString& shape, const QString& orientation, int size, int outer, int inner,
                              int wall) {
    // The tool writes the writable record only; Height and Length both take the size.
    return request(Cmd::TANK_CONFIG_PREFIX,
                   QStringLiteral("{\"id\":%1,\"Shape\":\"%2\",\"Orientation\":\"%3\",\"Height\":%4,\"Length\":%4,"
                                  "\"OuterDiameter\":%5,\"InnerDiameter\":%6,\"Wall\":%7}]"),
                   QString::number(WRITABLE_RECORD_ID), shape, orientation, QString::number(size),
                   QString::number(outer), QString::number(inner), QString::number(wall));
}

QByteArray reqInstallation(int on) {
    return request(Cmd::INSTALLATION_PREFIX, QStringLiteral("{\"on\":%1}]"), QString::number(on));
}

QByteArray reqWriteOmnicommConfig(int address, bool txMode, const QString& units, int periodSec) {
    return request(Cmd::OMNICOMM_CONFIG_PREFIX,
                   QStringLiteral("{\"Address\":%1, \"TxMode\":%2, \"TxPeriodSec\":%3, \"Units\":\"%4\"}]"),
                   QString::number(address), txMode ? QStringLiteral("true") : QStringLiteral("false"),
                   QString::number(periodSec), units);
}

QByteArray reqCalibrate(int percent) {
    return request(Cmd::CALIBRATION_PREFIX, QStringLiteral("{\"Percent\":%1}]"), QString::number(percent));
}

QByteArray reqCalibrationRead() {
    return Cmd::CALIBRATION;
}

QByteArray reqCalibrationReset() {
    return Cmd::CALIBRATION_PREFIX + QByteArrayLiteral("{\"Reset\": true}]");
}
