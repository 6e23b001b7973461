#include "profiletext.h"

#include <QStringList>

namespace {

QString recordText(const TankConfigRecord_t& record, int active) {
    return QStringLiteral("Record %1: %2 %3, Height %4, Length %5, OuterDiameter %6, InnerDiameter %7, Wall %8%9")
        .arg(record.id)
        .arg(record.Shape, record.Orientation)
        .arg(record.Height)
        .arg(record.Length)
        .arg(record.OuterDiameter)
        .arg(record.InnerDiameter)
        .arg(record.Wall)
        .arg(record.id == active ? QStringLiteral(" (active)") : QString());
}

} // namespace

QString profileText(const SensorProfile_t& profile) {
    const SensorSnapshot_t& sensor = profile.sensor;
    QStringList lines = {
        QStringLiteral("Port: %1").arg(profile.portName),
        QStringLiteral("Name: %1").arg(sensor.info.Name),
        QStringLiteral("HWVer: %1").arg(sensor.info.HWVer),
        QStringLiteral("FWVer: %1").arg(sensor.info.FWVer),
        QStringLiteral("Mixture: %1").arg(sensor.tankConfig.Mixture),
        QStringLiteral("Liquid: %1").arg(sensor.tankConfig.Liquid),
        QStringLiteral("Active: %1").arg(sensor.tankConfig.Active),
    };
    for (const TankConfigRecord_t& record : sensor.records)
        lines << recordText(record, sensor.tankConfig.Active);
    const OmnicommConfig_t& omnicomm = sensor.omnicomm;
    lines << QStringLiteral("Address: %1").arg(omnicomm.Address)
          << QStringLiteral("TxMode: %1").arg(omnicomm.TxMode ? QStringLiteral("true") : QStringLiteral("false"))
          << QStringLiteral("Units: %1").arg(omnicomm.Units)
          << QStringLiteral("TxPeriodSec: %1").arg(omnicomm.TxPeriodSec);
    if (sensor.calibration) {
        lines << QStringLiteral("Calibration Empty: %1").arg(sensor.calibration->Empty)
              << QStringLiteral("Calibration Full: %1").arg(sensor.calibration->Full);
    }
    return lines.join(QLatin1Char('\n'));
}
