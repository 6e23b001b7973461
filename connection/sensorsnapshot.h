#pragma once
// What one sensor holds, as read at connection and kept current by every acknowledged write.

#include "devicerecords.h"

#include <optional>
#include <vector>

struct SensorSnapshot_t {
    DeviceInfo_t info;
    TankConfig_t tankConfig;
    // The tank records in the order read, ids strictly rising; record 2 always ends the reading.
    std::vector<TankConfigRecord_t> records;
    OmnicommConfig_t omnicomm;
    // Known only once a calibration has been read back in this connection.
    std::optional<Calibration_t> calibration;

    // The record with this id, or null when the sensor did not send it.
    const TankConfigRecord_t* record(int id) const;
    // Replaces the record with the same id, or adds it in id order.
    void storeRecord(const TankConfigRecord_t& record);
};

// The liquid name written with a mixture: pure propane from PROPANE_MIXTURE_MIN % up, butane below.
constexpr int PROPANE_MIXTURE_MIN = 95;
QString liquidForMixture(int mixture);

// A stored calibration value as shown to the user: the number, or "-" for 0 (not calibrated).
QString calibrationValueText(qint32 value);
