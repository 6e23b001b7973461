// What writing a profile sends, and what in it cannot be written as it stands: a saved profile holds whatever the
// sensor held, but writing sends only what the window would send.
#include "sensorfacts.h"
#include "sensorprofile.h"
#include "tankkind.h"

#include <QHash>

namespace {

// A value and the range the window offers for it.
struct Offered_t {
    QString key;
    qint32 value;
    int low;
    int high;
};

} // namespace

SensorSnapshot_t writtenSetup(const SensorSnapshot_t& setup) {
    SensorSnapshot_t written = setup;
    written.tankConfig.Liquid = liquidForMixture(setup.tankConfig.Mixture);
    if (!setup.omnicomm.TxMode)
        written.omnicomm.TxPeriodSec = 0;
    written.omnicomm.Units = unitsName(unitsIndex(setup.omnicomm.Units));
    const TankConfigRecord_t* r = setup.record(WRITABLE_RECORD_ID);
    if (r && setup.tankConfig.Active == WRITABLE_RECORD_ID)
        written.storeRecord(
            makeTankRecord(WRITABLE_RECORD_ID, tankKindOf(*r), r->OuterDiameter, r->Length, r->InnerDiameter, r->Wall));
    return written;
}

QList<WriteIssue_t> writeIssues(const SensorSnapshot_t& setup) {
    const TankConfigRecord_t* record2 = setup.record(WRITABLE_RECORD_ID);
    QList<Offered_t> offered{
        {QStringLiteral("TankConfig.Mixture"), setup.tankConfig.Mixture, MIN_MIXTURE_PERCENT, MAX_MIXTURE_PERCENT},
        {QStringLiteral("OmnicommConfig.Address"), setup.omnicomm.Address, 0, MAX_WRITTEN_ADDRESS}};
    if (setup.omnicomm.TxMode)
        offered << Offered_t{QStringLiteral("OmnicommConfig.TxPeriodSec"), setup.omnicomm.TxPeriodSec, 0,
                             MAX_WRITTEN_TX_PERIOD_SEC};
    if (record2 && setup.tankConfig.Active == WRITABLE_RECORD_ID)
        offered << Offered_t{QStringLiteral("Records[2].Wall"), record2->Wall, MIN_WALL_MM, MAX_WALL_MM};
    QHash<QString, QString> refused; // key to range
    for (const Offered_t& o : offered) {
        if (o.value < o.low || o.value > o.high)
            refused.insert(o.key, QStringLiteral("%1..%2").arg(o.low).arg(o.high));
    }
    // The written setup as the profile, the setup as the sensor: what differs is sent otherwise.
    const SensorProfile_t written{{}, {}, {}, writtenSetup(setup)};
    QList<WriteIssue_t> issues;
    for (const ProfileField_t& f : profileFields(written, setup)) {
        if (refused.contains(f.key))
            issues.append({f.key, f.label, f.inSensor, QString(), refused.value(f.key)});
        else if (f.written && f.differs())
            issues.append({f.key, f.label, f.inSensor, f.inProfile, QString()});
    }
    return issues;
}

QList<WriteIssue_t> refusedValues(const QList<WriteIssue_t>& issues) {
    QList<WriteIssue_t> refused;
    for (const WriteIssue_t& issue : issues) {
        if (issue.sent.isEmpty())
            refused << issue;
    }
    return refused;
}
