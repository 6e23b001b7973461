#pragma once
// The sensor's facts for people: each a label and a text made from the snapshot, in one list that the "Инфо" tab,
// the profile summary, the command line's read and the installation report all show. A value read from the sensor
// is shown everywhere by adding its one row here.

#include "sensorsnapshot.h"

#include <QList>
#include <QString>

// Where a fact belongs: the report's sections; the "Инфо" tab shows the identity.
enum class FactGroupE { IDENTITY, GAS, TANK, CALIBRATION, RS485 };

struct SensorFact_t {
    FactGroupE group;
    QString key;   // locale-neutral, as the profile file names the value, e.g. "TankConfig.Mixture", "Records[2].Wall"
    QString label; // Russian, e.g. "Смесь, % пропана"
    QString text;  // Russian, for people, e.g. "Пропан", "да", "-"
    QString value; // locale-neutral, as the sensor holds it, e.g. "Propane", "true", "0"; "unknown" when not read
};

// Every fact of the snapshot, group by group; the tank records in id order.
QList<SensorFact_t> sensorFacts(const SensorSnapshot_t& sensor);
// Those of one group.
QList<SensorFact_t> sensorFacts(const SensorSnapshot_t& sensor, FactGroupE group);

// A wire name (shape, orientation, liquid, units) as the window shows it; an unknown name stays as sent.
QString wireNameText(const QString& wireName);
