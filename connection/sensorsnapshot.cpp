#include "sensorsnapshot.h"

#include <algorithm>

const TankConfigRecord_t* SensorSnapshot_t::record(int id) const {
    const auto found =
        std::find_if(records.begin(), records.end(), [id](const TankConfigRecord_t& r) { return r.id == id; });
    return found == records.end() ? nullptr : &*found;
}

void SensorSnapshot_t::storeRecord(const TankConfigRecord_t& newRecord) {
    const auto place = std::lower_bound(records.begin(), records.end(), newRecord.id,
                                        [](const TankConfigRecord_t& r, int id) { return r.id < id; });
    if (place != records.end() && place->id == newRecord.id)
        *place = newRecord;
    else
        records.insert(place, newRecord);
}

QString liquidForMixture(int mixture) {
    return QString::fromLatin1(mixture >= PROPANE_MIXTURE_MIN ? WireNames::LIQUID_PROPANE : WireNames::LIQUID_BUTANE);
}

QString calibrationValueText(qint32 value) {
    return value == 0 ? QStringLiteral("-") : QString::number(value);
}
