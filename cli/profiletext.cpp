#include "profiletext.h"

#include "sensorfacts.h"

#include <QStringList>

QString profileText(const SensorProfile_t& profile) {
    QStringList lines{QStringLiteral("Port: %1").arg(profile.portName)};
    for (const SensorFact_t& fact : sensorFacts(profile.sensor))
        lines << QStringLiteral("%1: %2").arg(fact.key, fact.value);
    return lines.join(QLatin1Char('\n'));
}
