// What writing a profile would set, beside what a sensor holds, as text for the user.
#include "sensorfacts.h"
#include "sensorprofile.h"

#include <QHash>

namespace {

QHash<QString, SensorFact_t> factsByKey(const SensorSnapshot_t& sensor) {
    QHash<QString, SensorFact_t> facts;
    for (const SensorFact_t& f : sensorFacts(sensor))
        facts.insert(f.key, f);
    return facts;
}

} // namespace

QList<ProfileField_t> profileFields(const SensorProfile_t& profile, const SensorSnapshot_t& sensor) {
    const int active = profile.sensor.tankConfig.Active;
    const QHash<QString, SensorFact_t> held = factsByKey(sensor);
    const QString activeRecord = QStringLiteral("Records[%1].").arg(active);
    QList<ProfileField_t> fields;
    // The active record first, then the tank configuration and the RS485 settings, as the facts list orders them.
    for (const bool recordPass : {true, false}) {
        for (const SensorFact_t& f : sensorFacts(profile.sensor)) {
            const bool ofActiveRecord = f.key.startsWith(activeRecord);
            const bool written = f.group == FactGroupE::GAS || f.group == FactGroupE::RS485 ||
                                 f.key == QLatin1String("TankConfig.Active");
            if (recordPass ? !ofActiveRecord : !written)
                continue;
            // In one list with the others, the RS485 settings say what they belong to.
            const QString label = f.group == FactGroupE::RS485 ? QStringLiteral("RS485: ") + f.label : f.label;
            fields.append(
                {f.key, label, f.text, held.value(f.key).text, !ofActiveRecord || active == WRITABLE_RECORD_ID});
        }
    }
    return fields;
}
